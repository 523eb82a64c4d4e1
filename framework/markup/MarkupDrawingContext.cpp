#include "framework/markup/MarkupDrawingContext.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupGdiPlus.h"
#include "framework/markup/MarkupGdiPlusDeviceContext.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupPathGeometryBuilder.h"
#include "framework/markup/MarkupStrokeCoverage.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupVisibleFigures.h"
#include "framework/markup/MarkupVisibleText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWidestSystemPen = COSMMarkupStrokeCoverage::kWidestSystemPen;
// Text of a font up to this height is always rasterised by the system, whatever the clip: a small repaint draws
// ordinary text exactly as a whole one does.
constexpr int kLargestAlwaysRasterisedFont = 256;

// A band of a frame no wider than its rectangle: the band of a wider pen would paint outside the figure.
int BandWithin(int band, int extent)
{
    return band > 0 ? std::min(band, std::max(extent, 0)) : band;
}

double WidthOf(const RECT& rect)
{
    return static_cast<double>(rect.right) - rect.left;
}

double HeightOf(const RECT& rect)
{
    return static_cast<double>(rect.bottom) - rect.top;
}

RECT BoundsOfMarkupPoints(const POINT* points, int count)
{
    RECT bounds = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i)
    {
        bounds.left = std::min(bounds.left, points[i].x);
        bounds.top = std::min(bounds.top, points[i].y);
        bounds.right = std::max(bounds.right, points[i].x);
        bounds.bottom = std::max(bounds.bottom, points[i].y);
    }
    return bounds;
}

}  // namespace

COSMMarkupDrawingContext::COSMMarkupDrawingContext(HDC dc, HDC attribDC)
    : m_hDC(dc), m_hAttribDC(attribDC ? attribDC : dc)
{
    Initialize(new COSMMarkupGdiPlusDeviceContext(m_hDC, m_hAttribDC));
}

COSMMarkupDrawingContext::COSMMarkupDrawingContext(MeasuringContextTag)
    : m_hDC(::CreateCompatibleDC(nullptr)), m_hAttribDC(m_hDC), m_bOwnDC(TRUE)
{
    Initialize(new COSMMarkupGdiPlusDeviceContext(m_hDC, m_hAttribDC));
}

COSMMarkupDrawingContext::COSMMarkupDrawingContext(MeasuringContextTag, COSMMarkupContext* context)
    : m_hDC(context ? context->GetMeasuringDC() : ::CreateCompatibleDC(nullptr)), m_hAttribDC(m_hDC), m_bOwnDC(!context)
{
    Initialize(new COSMMarkupGdiPlusDeviceContext(m_hDC, m_hAttribDC));
}

COSMMarkupDrawingContext::COSMMarkupDrawingContext(HDC dc, COSMMarkupDeviceContext* renderer)
    : m_hDC(dc), m_hAttribDC(dc)
{
    Initialize(renderer);
}

void COSMMarkupDrawingContext::Initialize(COSMMarkupDeviceContext* renderer)
{
    m_pRenderer.reset(renderer);
    m_rcClipBox.SetRectEmpty();
    RefreshClipBox();
    // Text draws without filling its cells: elements paint their own backgrounds.
    if (m_hDC)
        ::SetBkMode(m_hDC, TRANSPARENT);
}

COSMMarkupDrawingContext::~COSMMarkupDrawingContext()
{
    // The caller's DC gets its own font back, and the markup font is let go.
    SetFont(nullptr);
    m_pRenderer.reset();
    if (m_bOwnDC && m_hDC)
        ::DeleteDC(m_hDC);
}

BOOL COSMMarkupDrawingContext::BypassLayoutCache()
{
    return FALSE;
}

void COSMMarkupDrawingContext::RefreshClipBox()
{
    m_pRenderer->GetClipBox(&m_rcClipBox);
}

void COSMMarkupDrawingContext::OffsetViewport(POINT point)
{
    m_pRenderer->OffsetViewport(point);
    RefreshClipBox();
}

void COSMMarkupDrawingContext::IntersectClipRect(const RECT* rect)
{
    m_pRenderer->IntersectClipRect(rect);
    RefreshClipBox();
}

HRGN COSMMarkupDrawingContext::SaveClipRegion()
{
    return m_pRenderer->SaveClipRegion();
}

void COSMMarkupDrawingContext::RestoreClipRegion(HRGN saved)
{
    if (!saved)
        return;
    m_pRenderer->RestoreClipRegion(saved);
    RefreshClipBox();
}

void COSMMarkupDrawingContext::FillSolidRect(RECT rect, COLORREF color)
{
    const auto brush = AdoptRef(new COSMMarkupSolidColorBrush(color & 0xFFFFFF));
    m_pRenderer->FillRectangle(rect, brush.Get());
}

void COSMMarkupDrawingContext::FillRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii)
{
    if (!radii)
    {
        m_pRenderer->FillRectangle(rect, brush);
        return;
    }
    if (!MarkupFigureNeedsCutting(rect, 0, m_rcClipBox, 0))
    {
        m_pRenderer->FillRoundedRectangle(rect, brush, radii);
        return;
    }
    const auto outline =
        AdoptRef(COSMMarkupDeviceContext::CreateRoundedOutline(rect.left, rect.top, rect.right, rect.bottom, radii));
    DrawVisiblePath(outline.Get(), 0, nullptr, brush);
}

void COSMMarkupDrawingContext::DrawRectangle(RECT rect, COSMMarkupBrush* brush)
{
    const auto thickness = AdoptRef(new COSMMarkupThickness(1));
    DrawFrame(rect, brush, thickness.Get(), nullptr);
}

void COSMMarkupDrawingContext::DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness,
                                         const double* radii)
{
    if (!brush || !thickness)
        return;
    if (!radii)
    {
        const int w = SubtractMarkupLengths(rect.right, rect.left), h = SubtractMarkupLengths(rect.bottom, rect.top);
        const int left = BandWithin(thickness->GetLeft(), w), right = BandWithin(thickness->GetRight(), w);
        const int top = BandWithin(thickness->GetTop(), h), bottom = BandWithin(thickness->GetBottom(), h);
        if (left == thickness->GetLeft() && right == thickness->GetRight() && top == thickness->GetTop() &&
            bottom == thickness->GetBottom())
        {
            m_pRenderer->DrawFrame(rect, brush, thickness);
            return;
        }
        const auto within = AdoptRef(new COSMMarkupThickness(left, top, right, bottom));
        m_pRenderer->DrawFrame(rect, brush, within.Get());
        return;
    }
    const int width = thickness->GetLeft();
    if (width > kWidestSystemPen)
    {
        // A pen as wide as the frame's smaller side covers all of it; otherwise its area along the inset outline.
        if (width >= std::min(WidthOf(rect), HeightOf(rect)))
        {
            FillRectangle(rect, brush, radii);
            return;
        }
        const double inset = width / 2.0;
        const auto outline = AdoptRef(COSMMarkupDeviceContext::CreateRoundedOutline(
            rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset, radii));
        COSMMarkupStrokeCoverage coverage(m_rcClipBox, width);
        coverage.AddPath(outline.Get());
        DrawCoverage(coverage, rect, brush);
        return;
    }
    if (!MarkupFigureNeedsCutting(rect, 0, m_rcClipBox, width))
    {
        m_pRenderer->DrawRoundedFrame(rect, brush, thickness, radii);
        return;
    }
    // The renderer's own rounded frame, with its outline cut first.
    const double inset = width / 2.0;
    const auto outline = AdoptRef(COSMMarkupDeviceContext::CreateRoundedOutline(
        rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset, radii));
    DrawVisiblePath(outline.Get(), width, brush, nullptr);
}

void COSMMarkupDrawingContext::DrawTextLine(LPCWSTR text, int count, const POINT* point)
{
    TEXTMETRICW metrics = {};
    // Text drawn against another DC's widths, or aligned other than from its top left, goes whole.
    if (!text || count <= 0 || !point || !m_hDC || m_hAttribDC != m_hDC || ::GetTextAlign(m_hDC) != 0 ||
        !::GetTextMetricsW(m_hDC, &metrics))
    {
        m_pRenderer->DrawTextLine(text, count, point);
        return;
    }
    // A glyph's ink may reach past its cell by its overhangs, never by more than the font's size.
    const int margin = std::max<int>(metrics.tmHeight, metrics.tmMaxCharWidth) + metrics.tmOverhang;
    const long long top = point->y, bottom = top + metrics.tmHeight;
    if (bottom + margin <= m_rcClipBox.top || top - margin >= m_rcClipBox.bottom)
        return;
    // A glyph larger than the area costs the system its whole size to rasterise: its outline is cut to what shows
    // and filled in the text colour instead.
    const int largestSide = std::max(m_rcClipBox.Width(), m_rcClipBox.Height());
    const bool outlined =
        metrics.tmHeight > std::max(kLargestAlwaysRasterisedFont, largestSide) && ::GetMapMode(m_hDC) == MM_TEXT;
    // A line within reach as a whole goes whole: the usual case, told from the font's widest character or the
    // advances of plain text, costs no measuring by the system.
    if (!outlined && point->x >= m_rcClipBox.left - margin)
    {
        long long width = static_cast<long long>(count) * metrics.tmMaxCharWidth;
        if (point->x + width > m_rcClipBox.right + margin)
        {
            const long long plain = m_plainTextWidths.Measure(m_hDC, metrics, text, count);
            width = plain >= 0 ? plain : width;
        }
        if (point->x + width <= m_rcClipBox.right + margin)
        {
            m_pRenderer->DrawTextLine(text, count, point);
            return;
        }
    }
    MarkupVisibleCharacters visible;
    if (!FindMarkupVisibleCharacters(m_hDC, text, count, *point, m_rcClipBox, margin, &visible))
        return;
    const POINT start = {visible.x, point->y};
    if (outlined)
    {
        COSMMarkupPathGeometryBuilder outlines;
        if (AddMarkupGlyphOutlines(m_hDC, text + visible.first, visible.count, start, m_rcClipBox, &outlines))
        {
            const auto glyphs = AdoptRef(outlines.CreateGeometry());
            if (glyphs->GetPointCount() == 0)
                return;
            COSMMarkupVisibleFigures figures(m_rcClipBox, 0);
            figures.AddPath(glyphs.Get());
            const auto color = AdoptRef(new COSMMarkupSolidColorBrush(::GetTextColor(m_hDC) & 0xFFFFFF));
            const auto geometry = AdoptRef(figures.CreateGeometry());
            if (!geometry)
                return;
            geometry->SetFillRule(COSMMarkupPathGeometry::FillWinding);
            m_pRenderer->DrawPath(geometry.Get(), 0, nullptr, color.Get());
            return;
        }
    }
    if (visible.first == 0 && visible.count == count)
        m_pRenderer->DrawTextLine(text, count, point);
    else
        m_pRenderer->DrawTextLine(text + visible.first, visible.count, &start);
}

void COSMMarkupDrawingContext::SetFont(COSMMarkupFont* font)
{
    if (!m_hDC || font == m_pFont)
        return;
    m_pRenderer->SetFont(font);
    if (m_pFont)
        m_pFont->Release();
    m_pFont = font;
    if (m_pFont)
        m_pFont->AddRef();
}

SIZE COSMMarkupDrawingContext::GetTextExtent(LPCWSTR text, int count)
{
    return m_pRenderer->GetTextExtent(text, count);
}

int COSMMarkupDrawingContext::GetTextFit(LPCWSTR text, int count, int maxWidth)
{
    return m_pRenderer->GetTextFit(text, count, maxWidth);
}

BOOL COSMMarkupDrawingContext::GetTextExtents(LPCWSTR text, int count, int* extents, SIZE* size)
{
    return m_pRenderer->GetTextExtents(text, count, extents, size);
}

BOOL COSMMarkupDrawingContext::AreTextExtentsAdditive()
{
    return m_pRenderer->AreTextExtentsAdditive();
}

BOOL COSMMarkupDrawingContext::GetTextMetrics(TEXTMETRICW* metrics)
{
    return m_pRenderer->GetTextMetrics(metrics);
}

void COSMMarkupDrawingContext::SetTextColor(COSMMarkupBrush* brush)
{
    m_pRenderer->SetTextColor(brush);
}

template <class Work>
BOOL COSMMarkupDrawingContext::IsTooComplex(const RECT& bounds, int count, int pen, BOOL filled, Work work) const
{
    // The system's fill keeps the edges crossing each row sorted; a pen wider than a pixel is filled along both
    // sides of every edge. A pen of one pixel is drawn line by line and costs only its points.
    const double weight = (filled ? 1.0 : 0.0) + (pen > 1 ? 4.0 : 0.0);
    if (weight == 0 || count < 2)
        return FALSE;
    const double rows = std::max(1.0, HeightOf(bounds));
    if (weight * rows * count * count <= COSMMarkupVisibleFigures::kMaxFillWork)
        return FALSE;
    return weight * work() > COSMMarkupVisibleFigures::kMaxFillWork;
}

void COSMMarkupDrawingContext::DrawCoverage(const COSMMarkupStrokeCoverage& coverage, const RECT& paintBounds,
                                            COSMMarkupBrush* stroke)
{
    const auto area = AdoptRef(coverage.CreateGeometry());
    if (!area)
        return;
    // The pen's brush keeps the geometry of the whole figure.
    area->SetPaintBounds(paintBounds);
    m_pRenderer->DrawPath(area.Get(), 0, nullptr, stroke);
}

void COSMMarkupDrawingContext::DrawLine(int x1, int y1, int x2, int y2, int thickness, COSMMarkupBrush* brush)
{
    if (!brush || thickness <= 0)
        return;
    const RECT bounds = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    const POINT ends[2] = {{x1, y1}, {x2, y2}};
    if (thickness > kWidestSystemPen)
    {
        COSMMarkupStrokeCoverage coverage(m_rcClipBox, thickness);
        coverage.GetOutline().AddPolygon(ends, 2, FALSE);
        DrawCoverage(coverage, bounds, brush);
        return;
    }
    if (!MarkupFigureNeedsCutting(bounds, 2, m_rcClipBox, thickness))
    {
        m_pRenderer->DrawLine(x1, y1, x2, y2, thickness, brush);
        return;
    }
    // A line along an axis keeps whole coordinates when cut: its visible stretch is drawn as the line it was.
    const int margin = thickness / 2 + 1 + COSMMarkupVisibleFigures::kCutMargin;
    const long long low = static_cast<long long>(m_rcClipBox.top) - margin, high = m_rcClipBox.bottom + margin;
    const long long lowX = static_cast<long long>(m_rcClipBox.left) - margin, highX = m_rcClipBox.right + margin;
    auto cut = [](int value, long long from, long long to) {
        return static_cast<int>(std::min<long long>(std::max<long long>(value, from), to));
    };
    if (x1 == x2)
    {
        if (x1 >= lowX && x1 <= highX && std::max(y1, y2) >= low && std::min(y1, y2) <= high)
            m_pRenderer->DrawLine(x1, cut(y1, low, high), x2, cut(y2, low, high), thickness, brush);
        return;
    }
    if (y1 == y2)
    {
        if (y1 >= low && y1 <= high && std::max(x1, x2) >= lowX && std::min(x1, x2) <= highX)
            m_pRenderer->DrawLine(cut(x1, lowX, highX), y1, cut(x2, lowX, highX), y2, thickness, brush);
        return;
    }
    // Any other keeps its end points unless they lie far out: then the stretch within that reach is drawn, from
    // the points on it nearest to where the reach cuts it (Liang and Barsky).
    const double reach = kDiagonalLineReach + thickness / 2.0;
    const double box[4] = {m_rcClipBox.left - reach, m_rcClipBox.right + reach, m_rcClipBox.top - reach,
                           m_rcClipBox.bottom + reach};
    if (x1 >= box[0] && x1 <= box[1] && x2 >= box[0] && x2 <= box[1] && y1 >= box[2] && y1 <= box[3] && y2 >= box[2] &&
        y2 <= box[3])
    {
        m_pRenderer->DrawLine(x1, y1, x2, y2, thickness, brush);
        return;
    }
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    double from = 0, to = 1;
    const double steps[4] = {-dx, dx, -dy, dy};
    const double room[4] = {x1 - box[0], box[1] - x1, y1 - box[2], box[3] - y1};
    for (int side = 0; side < 4; ++side)
    {
        const double t = room[side] / steps[side];
        if (steps[side] < 0)
            from = std::max(from, t);
        else
            to = std::min(to, t);
    }
    if (from >= to)
        return;
    m_pRenderer->DrawLine(static_cast<int>(std::lround(x1 + from * dx)), static_cast<int>(std::lround(y1 + from * dy)),
                          static_cast<int>(std::lround(x1 + to * dx)), static_cast<int>(std::lround(y1 + to * dy)),
                          thickness, brush);
}

void COSMMarkupDrawingContext::DrawPolygon(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke,
                                           COSMMarkupBrush* fill)
{
    // Without points the bounds stay inverted at the 32-bit limits, and their width would overflow.
    if (!points || count < 1)
        return;
    const RECT bounds = BoundsOfMarkupPoints(points, count);
    const int pen = stroke ? thickness : 0;
    if (pen > kWidestSystemPen)
    {
        if (fill)
            DrawPolygon(points, count, 0, nullptr, fill);
        COSMMarkupStrokeCoverage coverage(m_rcClipBox, pen);
        coverage.GetOutline().AddPolygon(points, count, TRUE);
        DrawCoverage(coverage, bounds, stroke);
        return;
    }
    if (!MarkupFigureNeedsCutting(bounds, count, m_rcClipBox, pen) &&
        !IsTooComplex(bounds, count, pen, fill != nullptr, [&] { return MarkupFigureFillWork(points, count); }))
    {
        m_pRenderer->DrawPolygon(points, count, thickness, stroke, fill);
        return;
    }
    COSMMarkupVisibleFigures figures(m_rcClipBox, pen);
    figures.AddPolygon(points, count, TRUE);
    DrawVisibleFigures(figures, bounds, 0, thickness, stroke, fill);
}

void COSMMarkupDrawingContext::DrawPolyline(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke)
{
    if (!points || count < 2)
        return;
    const RECT bounds = BoundsOfMarkupPoints(points, count);
    if (stroke && thickness > kWidestSystemPen)
    {
        COSMMarkupStrokeCoverage coverage(m_rcClipBox, thickness);
        coverage.GetOutline().AddPolygon(points, count, FALSE);
        DrawCoverage(coverage, bounds, stroke);
        return;
    }
    if (!MarkupFigureNeedsCutting(bounds, count, m_rcClipBox, thickness) &&
        !IsTooComplex(bounds, count, stroke ? thickness : 0, FALSE,
                      [&] { return MarkupFigureFillWork(points, count); }))
    {
        m_pRenderer->DrawPolyline(points, count, thickness, stroke);
        return;
    }
    COSMMarkupVisibleFigures figures(m_rcClipBox, thickness);
    figures.AddPolygon(points, count, FALSE);
    DrawVisibleFigures(figures, bounds, 0, thickness, stroke, nullptr);
}

void COSMMarkupDrawingContext::DrawEllipse(RECT rect, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill)
{
    const int pen = stroke ? thickness : 0;
    if (pen > kWidestSystemPen)
    {
        // The pen's middle runs half its width inside the rectangle, as the renderers draw it: the fill lies
        // inside that middle line, and a pen as wide as the smaller side covers the whole ellipse.
        const double half = pen / 2.0;
        if (fill)
        {
            COSMMarkupVisibleFigures inside(m_rcClipBox, 0);
            inside.AddEllipse(rect.left + half, rect.top + half, rect.right - half, rect.bottom - half);
            DrawVisibleFigures(inside, rect, 0, 0, nullptr, fill);
        }
        if (pen >= std::min(WidthOf(rect), HeightOf(rect)))
        {
            DrawEllipse(rect, 0, nullptr, stroke);
            return;
        }
        COSMMarkupStrokeCoverage coverage(m_rcClipBox, pen);
        coverage.GetOutline().AddEllipse(rect.left + half, rect.top + half, rect.right - half, rect.bottom - half);
        DrawCoverage(coverage, rect, stroke);
        return;
    }
    if (!MarkupFigureNeedsCutting(rect, 0, m_rcClipBox, pen))
    {
        m_pRenderer->DrawEllipse(rect, thickness, stroke, fill);
        return;
    }
    // As the renderers draw it: the outline's middle runs half its width inside the rectangle.
    const double half = pen / 2.0;
    COSMMarkupVisibleFigures figures(m_rcClipBox, pen);
    figures.AddEllipse(rect.left + half, rect.top + half, rect.right - half, rect.bottom - half);
    DrawVisibleFigures(figures, rect, 0, thickness, stroke, fill);
}

void COSMMarkupDrawingContext::DrawPath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke,
                                        COSMMarkupBrush* fill)
{
    const int pen = stroke ? thickness : 0;
    if (path && path->GetPointCount() > 0 && pen > kWidestSystemPen)
    {
        if (fill)
            DrawPath(path, 0, nullptr, fill);
        COSMMarkupStrokeCoverage coverage(m_rcClipBox, pen);
        coverage.AddPath(path);
        DrawCoverage(coverage, path->GetPaintBounds(), stroke);
        return;
    }
    if (!path || path->GetPointCount() == 0 ||
        (!MarkupFigureNeedsCutting(path->GetBounds(), path->GetPointCount(), m_rcClipBox, pen) &&
         !IsTooComplex(path->GetBounds(), path->GetPointCount(), pen, fill != nullptr,
                       [&] { return MarkupFigureFillWork(path); }) &&
         !MarkupPathHasVanishingCurve(path)))
    {
        m_pRenderer->DrawPath(path, thickness, stroke, fill);
        return;
    }
    DrawVisiblePath(path, thickness, stroke, fill);
}

void COSMMarkupDrawingContext::DrawVisiblePath(const COSMMarkupPathGeometry* path, int thickness,
                                               COSMMarkupBrush* stroke, COSMMarkupBrush* fill)
{
    const int pen = stroke ? thickness : 0;
    // The system fills a figure as if closed: an open one is cut as closed for its fill, or its cut ends would be
    // joined across what shows. Its outline stays open, so a figure with both goes as two.
    const int count = path->GetPointCount();
    const BYTE* types = path->GetTypes();
    bool open = false;
    for (int i = 1; i <= count && !open; ++i)
    {
        const bool figureEnds =
            i == count || (types[i] & COSMMarkupPathGeometry::PointTypeMask) == COSMMarkupPathGeometry::PointStart;
        open = figureEnds && !(types[i - 1] & COSMMarkupPathGeometry::PointCloseFigure);
    }
    if (fill && open)
    {
        COSMMarkupVisibleFigures filled(m_rcClipBox, 0);
        filled.SetClosesEveryFigure(TRUE);
        filled.AddPath(path);
        DrawVisibleFigures(filled, path->GetPaintBounds(), path->GetPixelOffsetMode(), 0, nullptr, fill);
        if (pen <= 0)
            return;
        fill = nullptr;
    }
    COSMMarkupVisibleFigures figures(m_rcClipBox, pen);
    figures.AddPath(path);
    DrawVisibleFigures(figures, path->GetPaintBounds(), path->GetPixelOffsetMode(), thickness, stroke, fill);
}

void COSMMarkupDrawingContext::DrawVisibleFigures(const COSMMarkupVisibleFigures& figures, const RECT& paintBounds,
                                                  int pixelOffsetMode, int thickness, COSMMarkupBrush* stroke,
                                                  COSMMarkupBrush* fill)
{
    const auto geometry = AdoptRef(figures.CreateGeometry());
    if (!geometry)
        return;
    // Brushes keep the geometry of the whole figure, not of the part that shows.
    geometry->SetPaintBounds(paintBounds);
    geometry->SetPixelOffsetMode(pixelOffsetMode);
    m_pRenderer->DrawPath(geometry.Get(), thickness, stroke, fill);
}

HDC COSMMarkupDrawingContext::GetDC()
{
    return m_pRenderer->GetDC();
}

void COSMMarkupDrawingContext::ReleaseDC(HDC dc)
{
    m_pRenderer->ReleaseDC(dc);
}

void RegisterGdiPlusForMarkup(BOOL start)
{
    RegisterMarkupGdiPlus(start);
}
