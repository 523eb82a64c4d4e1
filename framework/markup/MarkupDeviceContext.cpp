#include "framework/markup/MarkupDeviceContext.h"

#include "framework/foundation/ImageFunctions.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupGradientTable.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupPathGeometryBuilder.h"
#include "framework/markup/MarkupThickness.h"

#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "classlib/ScopedHandle.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

SIZE WindowExtentOf(HDC dc)
{
    SIZE extent = {1, 1};
    if (dc)
        ::GetWindowExtEx(dc, &extent);
    return extent;
}

SIZE ViewportExtentOf(HDC dc)
{
    SIZE extent = {1, 1};
    if (dc)
        ::GetViewportExtEx(dc, &extent);
    return extent;
}

// n × numerator / denominator, truncated toward zero like 32-bit arithmetic would, without its overflow.
int ScaleToDevice(int n, int numerator, int denominator)
{
    return SaturateMarkupLength(static_cast<long long>(n) * numerator / denominator);
}

// A float coordinate truncated to a GDI one, stopping at the 32-bit limits.
int TruncateCoordinate(float value)
{
    if (!(value > -2147483647.0f))
        return -2147483647;
    if (!(value < 2147483647.0f))
        return 2147483647;
    return static_cast<int>(value);
}

// A GDI object made for one call, selected into the DC while the scope lasts. Members go in reverse order: the old
// object is selected back before the made one is deleted. A stock object stands in when none could be made.
struct SelectedGdiObject
{
    SelectedGdiObject(HDC dc, HGDIOBJ made, int stockFallback)
        : object(made), selection(SelectScoped(dc, made ? made : ::GetStockObject(stockFallback)))
    {}

    ScopedGdiObject<> object;
    ScopedSelection selection;
};

HPEN CreateStrokePen(int thickness, COSMMarkupBrush* stroke)
{
    return stroke && thickness >= 1 ? ::CreatePen(PS_SOLID, thickness, stroke->GetRepresentativeColor()) : nullptr;
}

HBRUSH CreateFillBrush(COSMMarkupBrush* fill)
{
    return fill ? ::CreateSolidBrush(fill->GetRepresentativeColor()) : nullptr;
}

// The markup colour as the bytes of a DIB pixel: blue, green, red, then 0.
DWORD DibPixelOf(UINT color)
{
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

}  // namespace

COSMMarkupDeviceContext::COSMMarkupDeviceContext(HDC dc, HDC attribDC)
    : COSMMarkupDeviceContext(dc, attribDC, WindowExtentOf(dc), ViewportExtentOf(dc))
{}

COSMMarkupDeviceContext::COSMMarkupDeviceContext(HDC dc, HDC attribDC, SIZE windowExt, SIZE viewportExt)
    : m_hDC(dc), m_hAttribDC(attribDC ? attribDC : dc), m_szWindowExt(windowExt), m_szViewportExt(viewportExt)
{
    if (m_szWindowExt.cx == 0 || m_szWindowExt.cy == 0)
        m_szWindowExt = m_szViewportExt = SIZE{1, 1};
    m_szWindowExt = SIZE{std::abs(m_szWindowExt.cx), std::abs(m_szWindowExt.cy)};
    m_szViewportExt = SIZE{std::abs(m_szViewportExt.cx), std::abs(m_szViewportExt.cy)};
}

COSMMarkupDeviceContext::~COSMMarkupDeviceContext() = default;

void COSMMarkupDeviceContext::OffsetViewport(POINT point)
{
    ::OffsetViewportOrgEx(m_hDC, ScaleToDevice(point.x, m_szViewportExt.cx, m_szWindowExt.cx),
                          ScaleToDevice(point.y, m_szViewportExt.cy, m_szWindowExt.cy), nullptr);
}

void COSMMarkupDeviceContext::DrawEllipse(RECT rect, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill)
{
    SelectedGdiObject pen(m_hDC, CreateStrokePen(thickness, stroke), NULL_PEN);
    SelectedGdiObject brush(m_hDC, CreateFillBrush(fill), NULL_BRUSH);
    ::Ellipse(m_hDC, rect.left, rect.top, rect.right, rect.bottom);
}

void COSMMarkupDeviceContext::DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness)
{
    if (!thickness)
        return;
    const int left = thickness->GetLeft();
    const int top = thickness->GetTop();
    const int right = thickness->GetRight();
    const int bottom = thickness->GetBottom();
    if (left > 0)
        FillRectangle(RECT{rect.left, rect.top, AddMarkupLengths(rect.left, left), rect.bottom}, brush);
    if (right > 0)
        FillRectangle(RECT{SubtractMarkupLengths(rect.right, right), rect.top, rect.right, rect.bottom}, brush);
    if (top > 0)
        FillRectangle(RECT{rect.left, rect.top, rect.right, AddMarkupLengths(rect.top, top)}, brush);
    if (bottom > 0)
        FillRectangle(RECT{rect.left, SubtractMarkupLengths(rect.bottom, bottom), rect.right, rect.bottom}, brush);
}

void COSMMarkupDeviceContext::FillRectangle(RECT rect, COSMMarkupBrush* brush)
{
    if (const COSMMarkupLinearGradientBrush* gradient = MarkupDynamicCast<COSMMarkupLinearGradientBrush>(brush))
    {
        FillGradient(rect, gradient);
        return;
    }
    const COSMMarkupSolidColorBrush* solid = MarkupDynamicCast<COSMMarkupSolidColorBrush>(brush);
    const COSMMarkupColor* color = solid ? solid->GetColor() : nullptr;
    if (!color)
        return;
    // An opaque text-out of nothing fills the rectangle with the background colour, without a brush to make; GDI
    // gets the part of the rectangle that shows.
    RECT clip = {};
    ::GetClipBox(m_hDC, &clip);
    const CRect cut = CutMarkupRectToClip(rect, clip, 1);
    if (cut.IsRectEmpty())
        return;
    const COLORREF oldColor = ::SetBkColor(m_hDC, color->GetValue() & 0xFFFFFF);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &cut, "", 0, nullptr);
    ::SetBkColor(m_hDC, oldColor);
}

void COSMMarkupDeviceContext::FillGradient(RECT rect, const COSMMarkupLinearGradientBrush* brush)
{
    const COSMMarkupGradientTable table(brush);
    const int w = SubtractMarkupLengths(rect.right, rect.left);
    const int h = SubtractMarkupLengths(rect.bottom, rect.top);
    if (table.IsEmpty() || w <= 0 || h <= 0)
        return;
    if (table.GetEntries().size() == 1)
    {
        const auto solid = AdoptRef(new COSMMarkupSolidColorBrush(table.GetEntries()[0].color & 0xFFFFFF));
        COSMMarkupDeviceContext::FillRectangle(rect, solid.Get());
        return;
    }
    const double sx = table.GetStartX() * w, sy = table.GetStartY() * h;
    const double ex = table.GetEndX() * w, ey = table.GetEndY() * h;
    if (sx == ex && sy == ey)
        return;

    // Only the part the clip lets show is computed and copied: a huge element under a small clip costs the clip.
    RECT clip = {};
    ::GetClipBox(m_hDC, &clip);
    const CRect visible = OffsetMarkupRect(clip, -rect.left, -rect.top);
    CRect part;
    if (!part.IntersectRect(visible, CRect(0, 0, w, h)))
        return;
    const int pw = part.Width();
    const int ph = part.Height();
    void* bits = nullptr;
    const ScopedGdiObject<HBITMAP> dib(CreateAlphaDIBSection(nullptr, pw, ph, &bits));
    if (!dib)
        return;

    const double dx = ex - sx, dy = ey - sy;
    const double length = dx * dx + dy * dy;
    // Element coordinates: columns from 0, rows from the top plus 1.
    auto parameterAt = [&](int x, int y) { return ((x - sx) * dx + (y - sy) * dy) / length; };
    // Row r of the part (from its top) lies at memory row ph - 1 - r: the DIB is bottom-up.
    DWORD* pixels = static_cast<DWORD*>(bits);
    auto row = [&](int r) { return pixels + static_cast<size_t>(ph - 1 - r) * pw; };
    if (dx == 0.0)
    {
        for (int r = 0; r < ph; ++r)
        {
            const DWORD pixel = DibPixelOf(table.ColorAt(parameterAt(0, part.top + r + 1)));
            std::fill(row(r), row(r) + pw, pixel);
        }
    }
    else if (dy == 0.0)
    {
        for (int c = 0; c < pw; ++c)
            row(0)[c] = DibPixelOf(table.ColorAt(parameterAt(part.left + c, part.top + 1)));
        for (int r = 1; r < ph; ++r)
            std::copy(row(0), row(0) + pw, row(r));
    }
    else
    {
        for (int r = 0; r < ph; ++r)
        {
            DWORD* line = row(r);
            for (int c = 0; c < pw; ++c)
                line[c] = DibPixelOf(table.ColorAt(parameterAt(part.left + c, part.top + r + 1)));
        }
    }

    const ScopedCreatedDC memory(::CreateCompatibleDC(m_hDC));
    if (memory)
    {
        const ScopedSelection selected = SelectScoped(memory.Get(), dib.Get());
        ::BitBlt(m_hDC, AddMarkupLengths(rect.left, part.left), AddMarkupLengths(rect.top, part.top), pw, ph,
                 memory.Get(), 0, 0, SRCCOPY);
    }
}

void COSMMarkupDeviceContext::DrawLine(int x1, int y1, int x2, int y2, int thickness, COSMMarkupBrush* brush)
{
    HPEN made = brush ? ::CreatePen(PS_SOLID, thickness, brush->GetRepresentativeColor()) : nullptr;
    SelectedGdiObject pen(m_hDC, made, NULL_PEN);
    ::MoveToEx(m_hDC, x1, y1, nullptr);
    ::LineTo(m_hDC, x2, y2);
}

void COSMMarkupDeviceContext::DrawPolyline(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke)
{
    if (thickness <= 0 || !stroke || !points || count < 1)
        return;
    SelectedGdiObject pen(m_hDC, CreateStrokePen(thickness, stroke), NULL_PEN);
    ::Polyline(m_hDC, points, count);
}

void COSMMarkupDeviceContext::DrawPolygon(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke,
                                          COSMMarkupBrush* fill)
{
    if (!points || count < 1)
        return;
    SelectedGdiObject pen(m_hDC, CreateStrokePen(thickness, stroke), NULL_PEN);
    SelectedGdiObject brush(m_hDC, CreateFillBrush(fill), NULL_BRUSH);
    ::Polygon(m_hDC, points, count);
}

void COSMMarkupDeviceContext::DrawPath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke,
                                       COSMMarkupBrush* fill)
{
    const int count = path ? path->GetPointCount() : 0;
    if (count == 0)
        return;
    const COSMMarkupPointF* points = path->GetPoints();
    const BYTE* types = path->GetTypes();
    ::BeginPath(m_hDC);
    for (int i = 0; i < count; ++i)
    {
        const BYTE type = types[i];
        const int x = TruncateCoordinate(points[i].x);
        const int y = TruncateCoordinate(points[i].y);
        BYTE last = type;
        switch (type & COSMMarkupPathGeometry::PointTypeMask)
        {
        case COSMMarkupPathGeometry::PointStart:
            ::MoveToEx(m_hDC, x, y, nullptr);
            break;
        case COSMMarkupPathGeometry::PointLine:
            ::LineTo(m_hDC, x, y);
            break;
        case COSMMarkupPathGeometry::PointBezier:
        {
            // A segment needs three points: a cut-off one ends the figure instead of reading past the arrays.
            if (count - i < 3)
            {
                i = count;
                continue;
            }
            const POINT bezier[3] = {{x, y},
                                     {TruncateCoordinate(points[i + 1].x), TruncateCoordinate(points[i + 1].y)},
                                     {TruncateCoordinate(points[i + 2].x), TruncateCoordinate(points[i + 2].y)}};
            ::PolyBezierTo(m_hDC, bezier, 3);
            i += 2;
            last = types[i];
            break;
        }
        default:
            break;
        }
        if (last & COSMMarkupPathGeometry::PointCloseFigure)
            ::CloseFigure(m_hDC);
    }
    ::EndPath(m_hDC);

    HBRUSH fillBrush = CreateFillBrush(fill);
    HPEN pen = CreateStrokePen(thickness, stroke);
    SelectedGdiObject selectedPen(m_hDC, pen, NULL_PEN);
    SelectedGdiObject selectedBrush(m_hDC, fillBrush, NULL_BRUSH);
    const int oldFillMode =
        ::SetPolyFillMode(m_hDC, path->GetFillRule() == COSMMarkupPathGeometry::FillWinding ? WINDING : ALTERNATE);
    if (fillBrush && pen)
        ::StrokeAndFillPath(m_hDC);
    else if (fillBrush)
        ::FillPath(m_hDC);
    else if (pen)
        ::StrokePath(m_hDC);
    else
        ::AbortPath(m_hDC);
    if (oldFillMode)
        ::SetPolyFillMode(m_hDC, oldFillMode);
}

COSMMarkupPathGeometry* COSMMarkupDeviceContext::CreateRoundedOutline(double left, double top, double right,
                                                                      double bottom, const double* radii)
{
    const float l = static_cast<float>(left), t = static_cast<float>(top);
    const float r = static_cast<float>(right), b = static_cast<float>(bottom);
    float radius[8];
    for (int i = 0; i < 8; ++i)
        radius[i] = static_cast<float>(radii[i]);
    COSMMarkupPathGeometryBuilder outline;
    outline.BeginFigure(l, t + radius[0]);
    outline.AddQuadraticAsBezier(l, t, l + radius[1], t);
    outline.AddLine(r - radius[2], t);
    outline.AddQuadraticAsBezier(r, t, r, t + radius[3]);
    outline.AddLine(r, b - radius[4]);
    outline.AddQuadraticAsBezier(r, b, r - radius[5], b);
    outline.AddLine(l + radius[6], b);
    outline.AddQuadraticAsBezier(l, b, l, b - radius[7]);
    outline.CloseFigure();
    COSMMarkupPathGeometry* geometry = outline.CreateGeometry();
    geometry->SetPixelOffsetMode(4);
    return geometry;
}

void COSMMarkupDeviceContext::FillRoundedRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii)
{
    if (!radii)
    {
        FillRectangle(rect, brush);
        return;
    }
    const auto outline = AdoptRef(CreateRoundedOutline(rect.left, rect.top, rect.right, rect.bottom, radii));
    DrawPath(outline.Get(), 0, nullptr, brush);
}

void COSMMarkupDeviceContext::DrawRoundedFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness,
                                               const double* radii)
{
    if (!radii)
    {
        DrawFrame(rect, brush, thickness);
        return;
    }
    const int width = thickness ? thickness->GetLeft() : 0;
    const double inset = width / 2.0;
    const auto outline = AdoptRef(
        CreateRoundedOutline(rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset, radii));
    DrawPath(outline.Get(), width, brush, nullptr);
}

void COSMMarkupDeviceContext::DrawTextLine(LPCWSTR text, int count, const POINT* point)
{
    if (!text || count <= 0 || !point)
        return;
    if (m_hAttribDC == m_hDC)
    {
        ::ExtTextOutW(m_hDC, point->x, point->y, 0, nullptr, text, count, nullptr);
        return;
    }
    // Characters advance by the attribute DC's widths; half of each character's difference on the output DC goes
    // to the gap before it, so glyphs stay centred on where the measure put them.
    TEXTMETRICW attribMetrics = {}, outputMetrics = {};
    ::GetTextMetricsW(m_hAttribDC, &attribMetrics);
    ::GetTextMetricsW(m_hDC, &outputMetrics);
    std::vector<INT> advances(count);
    for (int i = 0; i < count; ++i)
    {
        INT attribWidth = 0, outputWidth = 0;
        const UINT ch = text[i];
        if (::GetCharWidth32W(m_hAttribDC, ch, ch, &attribWidth))
            attribWidth -= attribMetrics.tmOverhang;
        else
            attribWidth = attribMetrics.tmAveCharWidth;
        if (::GetCharWidth32W(m_hDC, ch, ch, &outputWidth))
            outputWidth -= outputMetrics.tmOverhang;
        else
            outputWidth = attribWidth;
        advances[i] = attribWidth;
        if (i > 0)
        {
            const int half = (attribWidth - outputWidth) / 2;
            advances[i] -= half;
            advances[i - 1] += half;
        }
    }
    int x = point->x;
    if (::GetTextAlign(m_hAttribDC) & TA_UPDATECP)
    {
        POINT current = {};
        ::GetCurrentPositionEx(m_hDC, &current);
        x = current.x;
    }
    ::ExtTextOutW(m_hDC, x, point->y, 0, nullptr, text, count, advances.data());
}

SIZE COSMMarkupDeviceContext::GetTextExtent(LPCWSTR text, int count)
{
    SIZE size = {0, 0};
    if (text && count > 0)
        ::GetTextExtentPoint32W(m_hAttribDC, text, count, &size);
    return size;
}

int COSMMarkupDeviceContext::GetTextFit(LPCWSTR text, int count, int maxWidth)
{
    if (!text || count <= 0 || maxWidth < 0)
        return 0;
    // The system measures every character it is given: the text is offered in chunks that double until one does
    // not fit whole. The first is about what a room of maxWidth holds (a character is rarely narrower than four
    // pixels): text wrapped into a narrow room costs the characters of its lines, not 64 for each line.
    constexpr int kFirstChunk = 64;
    const int firstChunk = std::max(1, std::min(kFirstChunk, maxWidth / 4 + 1));
    for (int chunk = std::min(count, firstChunk);; chunk = chunk > count / 2 ? count : chunk * 2)
    {
        INT fit = 0;
        SIZE size = {0, 0};
        if (!::GetTextExtentExPointW(m_hAttribDC, text, chunk, maxWidth, &fit, nullptr, &size))
            return 0;
        if (fit < chunk || chunk == count)
            return std::max(0, std::min<int>(fit, chunk));
    }
}

void COSMMarkupDeviceContext::SetTextColor(COSMMarkupBrush* brush)
{
    ::SetTextColor(m_hDC, brush ? brush->GetRepresentativeColor() : 0);
}

BOOL COSMMarkupDeviceContext::GetTextExtents(LPCWSTR text, int count, int* extents, SIZE* size)
{
    if (!text || count <= 0 || !extents || !size)
        return FALSE;
    return ::GetTextExtentExPointW(m_hAttribDC, text, count, 0, nullptr, extents, size);
}

BOOL COSMMarkupDeviceContext::AreTextExtentsAdditive()
{
    if (!m_hAttribDC || ::GetMapMode(m_hAttribDC) != MM_TEXT)
        return FALSE;
    if (::GetGraphicsMode(m_hAttribDC) == GM_ADVANCED)
    {
        XFORM transform = {};
        if (!::GetWorldTransform(m_hAttribDC, &transform) || transform.eM11 != 1.0f || transform.eM12 != 0.0f ||
            transform.eM21 != 0.0f || transform.eM22 != 1.0f)
            return FALSE;
    }
    TEXTMETRICW metrics = {};
    return GetTextMetrics(&metrics) && metrics.tmOverhang == 0;
}

BOOL COSMMarkupDeviceContext::IsPlainTextMapping() const
{
    return m_hAttribDC && ::GetMapMode(m_hAttribDC) == MM_TEXT && ::GetGraphicsMode(m_hAttribDC) == GM_COMPATIBLE;
}

BOOL COSMMarkupDeviceContext::GetTextMetrics(TEXTMETRICW* metrics)
{
    if (!metrics || !m_hAttribDC)
        return FALSE;
    // Metrics in logical units depend on the mapping: they are kept only for a DC that maps nothing.
    const BOOL keep = m_pSelectedFont && IsPlainTextMapping();
    if (keep)
    {
        for (const FontMetrics& kept : m_fontMetrics)
        {
            if (kept.font == m_pSelectedFont)
            {
                *metrics = kept.metrics;
                return TRUE;
            }
        }
    }
    if (!::GetTextMetricsW(m_hAttribDC, metrics))
        return FALSE;
    if (keep)
    {
        FontMetrics& slot = m_fontMetrics[m_nNextFontMetrics];
        m_nNextFontMetrics = (m_nNextFontMetrics + 1) % kKeptFontMetrics;
        slot.font = RefPtr<COSMMarkupFont>::Retain(m_pSelectedFont);
        slot.metrics = *metrics;
    }
    return TRUE;
}

HFONT COSMMarkupDeviceContext::SetFont(COSMMarkupFont* font)
{
    m_pSelectedFont = font;
    HFONT select = nullptr;
    if (font)
    {
        select = font->GetSafeHandle();
    }
    else
    {
        if (!m_hOldFont)
            return nullptr;
        select = m_hOldFont;
    }
    // Text is measured piece by piece, each piece selecting its font: one already selected is left as it is, since
    // selecting a font again costs the system as much as measuring a short word.
    if (font && m_hOldFont && m_hAttribDC && ::GetCurrentObject(m_hAttribDC, OBJ_FONT) == select &&
        (!m_hDC || m_hDC == m_hAttribDC || ::GetCurrentObject(m_hDC, OBJ_FONT) == select))
        return select;
    HGDIOBJ previous = nullptr;
    if (m_hDC && m_hDC != m_hAttribDC)
        previous = ::SelectObject(m_hDC, select);
    if (m_hAttribDC)
        previous = ::SelectObject(m_hAttribDC, select);
    if (!font)
        m_hOldFont = nullptr;
    else if (!m_hOldFont)
        m_hOldFont = static_cast<HFONT>(previous);
    return static_cast<HFONT>(previous);
}

void COSMMarkupDeviceContext::IntersectClipRect(const RECT* rect)
{
    if (rect)
        ::IntersectClipRect(m_hDC, rect->left, rect->top, rect->right, rect->bottom);
}

void COSMMarkupDeviceContext::GetClipBox(RECT* rect)
{
    if (rect)
        ::GetClipBox(m_hDC, rect);
}

HRGN COSMMarkupDeviceContext::SaveClipRegion()
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (!region)
        return nullptr;
    if (::GetClipRgn(m_hDC, region) == 1)
        return region;
    ::DeleteObject(region);
    return MarkupNoClipRegion();
}

void COSMMarkupDeviceContext::RestoreClipRegion(HRGN saved)
{
    if (!saved)
        return;
    if (saved == MarkupNoClipRegion())
    {
        ::ExtSelectClipRgn(m_hDC, nullptr, RGN_COPY);
        return;
    }
    ::ExtSelectClipRgn(m_hDC, saved, RGN_COPY);
    ::DeleteObject(saved);
}

HDC COSMMarkupDeviceContext::GetDC()
{
    return m_hDC;
}

void COSMMarkupDeviceContext::ReleaseDC(HDC dc) {}
