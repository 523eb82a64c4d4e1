#include "framework/markup/MarkupGdiPlusDeviceContext.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupGdiPlus.h"
#include "framework/markup/MarkupGradientTable.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupThickness.h"

#include "classlib/ScopedHandle.h"

#include <algorithm>
#include <vector>

namespace {

using Gdi = COSMMarkupGdiPlus;
using Status = int;
using Object = void*;

// The flat functions' shapes (GDI+ objects as opaque pointers, REAL as float, ARGB as UINT).
using CreateFromHDCFunction = Status(WINAPI*)(HDC, Object*);
using CreateFromHDC2Function = Status(WINAPI*)(HDC, HANDLE, Object*);
using SetModeFunction = Status(WINAPI*)(Object, int);
using DeleteFunction = Status(WINAPI*)(Object);
using CreateSolidFillFunction = Status(WINAPI*)(UINT, Object*);
using CreateLineBrushFunction = Status(WINAPI*)(const COSMMarkupPointF*, const COSMMarkupPointF*, UINT, UINT, int,
                                                Object*);
using SetLinePresetBlendFunction = Status(WINAPI*)(Object, const UINT*, const float*, int);
using CreatePen1Function = Status(WINAPI*)(UINT, float, int, Object*);
using CreatePen2Function = Status(WINAPI*)(Object, float, int, Object*);
using CreatePath2Function = Status(WINAPI*)(const COSMMarkupPointF*, const BYTE*, int, int, Object*);
using FillRectangleIFunction = Status(WINAPI*)(Object, Object, int, int, int, int);
using EllipseFunction = Status(WINAPI*)(Object, Object, float, float, float, float);
using DrawLineIFunction = Status(WINAPI*)(Object, Object, int, int, int, int);
using DrawLinesIFunction = Status(WINAPI*)(Object, Object, const POINT*, int);
using FillPolygonIFunction = Status(WINAPI*)(Object, Object, const POINT*, int, int);
using PathFunction = Status(WINAPI*)(Object, Object, Object);

Gdi* Library()
{
    return GetMarkupGdiPlus();
}

int Width(const RECT& rect)
{
    return SubtractMarkupLengths(rect.right, rect.left);
}

int Height(const RECT& rect)
{
    return SubtractMarkupLengths(rect.bottom, rect.top);
}

// Fills the part of (x, y, width, height) that shows in dc: GDI+ gets no rectangle larger than the clip box and a
// pixel, whatever size the markup gave.
void FillVisibleRectangle(HDC dc, Object graphics, Object brush, int x, int y, int width, int height)
{
    auto draw = Library()->Get<FillRectangleIFunction>(Gdi::GdipFillRectangleI);
    RECT clip = {};
    if (!draw || width <= 0 || height <= 0 || ::GetClipBox(dc, &clip) == ERROR)
        return;
    const RECT rect = {x, y, AddMarkupLengths(x, width), AddMarkupLengths(y, height)};
    const CRect cut = CutMarkupRectToClip(rect, clip, 1);
    if (!cut.IsRectEmpty())
        draw(graphics, brush, cut.left, cut.top, cut.Width(), cut.Height());
}

// One graphics object for one drawing call, given back to the renderer that made it.
struct GraphicsTraits
{
    using Handle = Object;
    COSMMarkupGdiPlusDeviceContext* renderer = nullptr;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle; }
    void Close(Handle handle) const { renderer->DeleteGraphics(handle); }
};
using ScopedGraphics = ScopedHandle<GraphicsTraits>;

ScopedGraphics MakeGraphics(COSMMarkupGdiPlusDeviceContext* renderer)
{
    return ScopedGraphics(renderer->GetGraphics(), GraphicsTraits{renderer});
}

// A brush, pen or path for one drawing call, deleted by its GDI+ delete function.
struct GdiPlusObjectTraits
{
    using Handle = Object;
    Gdi::Function deleter = Gdi::GdipDeleteBrush;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle; }
    void Close(Handle handle) const
    {
        if (DeleteFunction remove = Library()->Get<DeleteFunction>(deleter))
            remove(handle);
    }
};
using ScopedGdiPlusObject = ScopedHandle<GdiPlusObjectTraits>;

}  // namespace

COSMMarkupGdiPlusDeviceContext::COSMMarkupGdiPlusDeviceContext(HDC dc, HDC attribDC)
    : COSMMarkupDeviceContext(dc, attribDC)
{}

BOOL COSMMarkupGdiPlusDeviceContext::IsOpaqueSolid(COSMMarkupBrush* brush)
{
    if (!brush)
        return TRUE;
    const COSMMarkupSolidColorBrush* solid = MarkupDynamicCast<COSMMarkupSolidColorBrush>(brush);
    if (!solid)
        return FALSE;
    const COSMMarkupColor* color = solid->GetColor();
    return !color || (color->GetValue() >> 24) == 0xFF;
}

UINT COSMMarkupGdiPlusDeviceContext::ToArgb(UINT color)
{
    return (color & 0xFF00FF00) | ((color & 0xFF) << 16) | ((color >> 16) & 0xFF);
}

RECT COSMMarkupGdiPlusDeviceContext::BoundsOf(const POINT* points, int count)
{
    RECT bounds = {2147483647, 2147483647, -2147483647, -2147483647};
    for (int i = 0; points && i < count; ++i)
    {
        bounds.left = std::min<LONG>(bounds.left, std::max<LONG>(points[i].x, -2147483647));
        bounds.top = std::min<LONG>(bounds.top, std::max<LONG>(points[i].y, -2147483647));
        bounds.right = std::max<LONG>(bounds.right, points[i].x);
        bounds.bottom = std::max<LONG>(bounds.bottom, points[i].y);
    }
    return bounds;
}

int COSMMarkupGdiPlusDeviceContext::PixelOffsetForThickness(int thickness)
{
    return thickness % 2 != 0 ? PixelOffsetDefault : PixelOffsetHalf;
}

void* COSMMarkupGdiPlusDeviceContext::GetGraphics()
{
    if (!Library()->IsStarted())
        return nullptr;
    Object graphics = nullptr;
    Status status = -1;
    if (m_hDC == m_hAttribDC)
    {
        if (auto create = Library()->Get<CreateFromHDCFunction>(Gdi::GdipCreateFromHDC))
            status = create(m_hDC, &graphics);
    }
    else if (auto create = Library()->Get<CreateFromHDC2Function>(Gdi::GdipCreateFromHDC2))
    {
        status = create(m_hDC, m_hAttribDC, &graphics);
    }
    if (status != 0 || !graphics)
        return nullptr;
    if (auto setUnit = Library()->Get<SetModeFunction>(Gdi::GdipSetPageUnit))
        setUnit(graphics, UnitPixel);
    SetSmoothing(graphics, SmoothingHighQuality);
    SetPixelOffset(graphics, PixelOffsetHalf);
    return graphics;
}

void COSMMarkupGdiPlusDeviceContext::DeleteGraphics(void* graphics)
{
    if (auto remove = Library()->Get<DeleteFunction>(Gdi::GdipDeleteGraphics))
        remove(graphics);
}

void COSMMarkupGdiPlusDeviceContext::SetSmoothing(void* graphics, int mode)
{
    if (auto set = Library()->Get<SetModeFunction>(Gdi::GdipSetSmoothingMode))
        set(graphics, mode);
}

void COSMMarkupGdiPlusDeviceContext::SetPixelOffset(void* graphics, int mode)
{
    if (auto set = Library()->Get<SetModeFunction>(Gdi::GdipSetPixelOffsetMode))
        set(graphics, mode);
}

void COSMMarkupGdiPlusDeviceContext::DeleteBrush(void* brush)
{
    if (auto remove = Library()->Get<DeleteFunction>(Gdi::GdipDeleteBrush))
        remove(brush);
}

void COSMMarkupGdiPlusDeviceContext::DeletePen(void* pen)
{
    if (auto remove = Library()->Get<DeleteFunction>(Gdi::GdipDeletePen))
        remove(pen);
}

void* COSMMarkupGdiPlusDeviceContext::CreateBrush(COSMMarkupBrush* brush, const RECT& bounds)
{
    if (const COSMMarkupSolidColorBrush* solid = MarkupDynamicCast<COSMMarkupSolidColorBrush>(brush))
    {
        const COSMMarkupColor* color = solid->GetColor();
        auto create = Library()->Get<CreateSolidFillFunction>(Gdi::GdipCreateSolidFill);
        Object made = nullptr;
        if (!color || !create || create(ToArgb(color->GetValue()), &made) != 0)
            return nullptr;
        return made;
    }
    const COSMMarkupLinearGradientBrush* gradient = MarkupDynamicCast<COSMMarkupLinearGradientBrush>(brush);
    if (!gradient)
        return nullptr;
    const COSMMarkupGradientTable table(gradient);
    if (table.IsEmpty())
        return nullptr;
    const float width = static_cast<float>(static_cast<double>(bounds.right) - bounds.left);
    const float height = static_cast<float>(static_cast<double>(bounds.bottom) - bounds.top);
    const COSMMarkupPointF start = {bounds.left + width * static_cast<float>(table.GetStartX()),
                                    bounds.top + height * static_cast<float>(table.GetStartY())};
    const COSMMarkupPointF end = {bounds.left + width * static_cast<float>(table.GetEndX()),
                                  bounds.top + height * static_cast<float>(table.GetEndY())};
    const auto& entries = table.GetEntries();
    auto create = Library()->Get<CreateLineBrushFunction>(Gdi::GdipCreateLineBrush);
    Object made = nullptr;
    if (!create ||
        create(&start, &end, ToArgb(entries.front().color), ToArgb(entries.back().color), WrapTileFlipXY, &made) != 0)
        return nullptr;

    // The blend runs from 0 to 1 with the colours GDI shows there; stops outside [0, 1] would leave the positions
    // unordered, which GDI+ refuses, so they only shape the colours at the ends.
    std::vector<UINT> colors(1, ToArgb(table.ColorAt(0.0)));
    std::vector<float> positions(1, 0.0f);
    for (const auto& entry : entries)
    {
        if (entry.offset < 0.0 || entry.offset > 1.0)
            continue;
        colors.push_back(ToArgb(entry.color));
        positions.push_back(static_cast<float>(entry.offset));
    }
    colors.push_back(ToArgb(table.ColorAt(1.0)));
    positions.push_back(1.0f);
    if (auto blend = Library()->Get<SetLinePresetBlendFunction>(Gdi::GdipSetLinePresetBlend))
        blend(made, colors.data(), positions.data(), static_cast<int>(colors.size()));
    return made;
}

void* COSMMarkupGdiPlusDeviceContext::CreatePen(int width, COSMMarkupBrush* brush, const RECT& bounds)
{
    Object made = nullptr;
    if (const COSMMarkupSolidColorBrush* solid = MarkupDynamicCast<COSMMarkupSolidColorBrush>(brush))
    {
        const COSMMarkupColor* color = solid->GetColor();
        auto create = Library()->Get<CreatePen1Function>(Gdi::GdipCreatePen1);
        if (!color || !create || create(ToArgb(color->GetValue()), static_cast<float>(width), UnitWorld, &made) != 0)
            return nullptr;
        return made;
    }
    const ScopedGdiPlusObject fill(CreateBrush(brush, bounds), GdiPlusObjectTraits{Gdi::GdipDeleteBrush});
    auto create = Library()->Get<CreatePen2Function>(Gdi::GdipCreatePen2);
    // The pen keeps its own copy of the brush.
    if (!fill || !create || create(fill.Get(), static_cast<float>(width), UnitWorld, &made) != 0)
        return nullptr;
    return made;
}

void COSMMarkupGdiPlusDeviceContext::DrawEllipse(RECT rect, int thickness, COSMMarkupBrush* stroke,
                                                 COSMMarkupBrush* fill)
{
    const ScopedGraphics graphics = MakeGraphics(this);
    if (!graphics)
    {
        COSMMarkupDeviceContext::DrawEllipse(rect, thickness, stroke, fill);
        return;
    }
    if (!stroke)
        thickness = 0;
    SetSmoothing(graphics.Get(), SmoothingHighQuality);
    SetPixelOffset(graphics.Get(), PixelOffsetHalf);
    // The outline's middle runs half its width inside the rectangle, so all of it stays inside.
    const float half = thickness / 2.0f;
    const float x = rect.left + half, y = rect.top + half;
    const float w = static_cast<float>(Width(rect)) - thickness, h = static_cast<float>(Height(rect)) - thickness;
    if (fill)
    {
        const ScopedGdiPlusObject brush(CreateBrush(fill, rect), GdiPlusObjectTraits{Gdi::GdipDeleteBrush});
        if (auto draw = Library()->Get<EllipseFunction>(Gdi::GdipFillEllipse))
            draw(graphics.Get(), brush.Get(), x, y, w, h);
    }
    if (thickness > 0)
    {
        const ScopedGdiPlusObject pen(CreatePen(thickness, stroke, rect), GdiPlusObjectTraits{Gdi::GdipDeletePen});
        if (auto draw = Library()->Get<EllipseFunction>(Gdi::GdipDrawEllipse))
            draw(graphics.Get(), pen.Get(), x, y, w, h);
    }
}

void COSMMarkupGdiPlusDeviceContext::DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness)
{
    if (!thickness)
        return;
    if (IsOpaqueSolid(brush))
    {
        COSMMarkupDeviceContext::DrawFrame(rect, brush, thickness);
        return;
    }
    const ScopedGraphics graphics = MakeGraphics(this);
    if (!graphics)
    {
        COSMMarkupDeviceContext::DrawFrame(rect, brush, thickness);
        return;
    }
    SetSmoothing(graphics.Get(), SmoothingHighSpeed);
    const ScopedGdiPlusObject fill(CreateBrush(brush, rect), GdiPlusObjectTraits{Gdi::GdipDeleteBrush});
    if (!fill)
        return;
    // Translucent bands must not overlap: a corner painted twice would show darker.
    const int left = thickness->GetLeft(), top = thickness->GetTop();
    const int right = thickness->GetRight(), bottom = thickness->GetBottom();
    const int innerWidth = SubtractMarkupLengths(Width(rect), left, right);
    Object g = graphics.Get();
    Object b = fill.Get();
    if (left > 0)
        FillVisibleRectangle(m_hDC, g, b, rect.left, rect.top, left, Height(rect));
    if (right > 0)
        FillVisibleRectangle(m_hDC, g, b, SubtractMarkupLengths(rect.right, right), rect.top, right, Height(rect));
    if (top > 0)
        FillVisibleRectangle(m_hDC, g, b, AddMarkupLengths(rect.left, left), rect.top, innerWidth, top);
    if (bottom > 0)
        FillVisibleRectangle(m_hDC, g, b, AddMarkupLengths(rect.left, left), SubtractMarkupLengths(rect.bottom, bottom),
                             innerWidth, bottom);
}

void COSMMarkupGdiPlusDeviceContext::FillRectangle(RECT rect, COSMMarkupBrush* brush)
{
    if (IsOpaqueSolid(brush))
    {
        COSMMarkupDeviceContext::FillRectangle(rect, brush);
        return;
    }
    const ScopedGraphics graphics = MakeGraphics(this);
    if (!graphics)
    {
        COSMMarkupDeviceContext::FillRectangle(rect, brush);
        return;
    }
    const ScopedGdiPlusObject fill(CreateBrush(brush, rect), GdiPlusObjectTraits{Gdi::GdipDeleteBrush});
    if (!fill)
        return;
    SetSmoothing(graphics.Get(), SmoothingHighSpeed);
    SetPixelOffset(graphics.Get(), PixelOffsetHalf);
    FillVisibleRectangle(m_hDC, graphics.Get(), fill.Get(), rect.left, rect.top, Width(rect), Height(rect));
}

void COSMMarkupGdiPlusDeviceContext::DrawLine(int x1, int y1, int x2, int y2, int thickness, COSMMarkupBrush* brush)
{
    const ScopedGraphics graphics = MakeGraphics(this);
    if (!graphics)
    {
        COSMMarkupDeviceContext::DrawLine(x1, y1, x2, y2, thickness, brush);
        return;
    }
    SetSmoothing(graphics.Get(), x1 == x2 || y1 == y2 ? SmoothingHighSpeed : SmoothingHighQuality);
    SetPixelOffset(graphics.Get(), PixelOffsetForThickness(thickness));
    const RECT bounds = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    const ScopedGdiPlusObject pen(CreatePen(thickness, brush, bounds), GdiPlusObjectTraits{Gdi::GdipDeletePen});
    if (auto draw = Library()->Get<DrawLineIFunction>(Gdi::GdipDrawLineI))
        draw(graphics.Get(), pen.Get(), x1, y1, x2, y2);
}

void COSMMarkupGdiPlusDeviceContext::DrawPolyline(const POINT* points, int count, int thickness,
                                                  COSMMarkupBrush* stroke)
{
    if (!points || count < 2)
        return;
    const ScopedGraphics graphics = MakeGraphics(this);
    if (!graphics)
    {
        COSMMarkupDeviceContext::DrawPolyline(points, count, thickness, stroke);
        return;
    }
    SetSmoothing(graphics.Get(), SmoothingHighQuality);
    SetPixelOffset(graphics.Get(), PixelOffsetForThickness(thickness));
    const ScopedGdiPlusObject pen(CreatePen(thickness, stroke, BoundsOf(points, count)),
                                  GdiPlusObjectTraits{Gdi::GdipDeletePen});
    if (!pen)
        return;
    if (auto draw = Library()->Get<DrawLinesIFunction>(Gdi::GdipDrawLinesI))
        draw(graphics.Get(), pen.Get(), points, count);
}

void COSMMarkupGdiPlusDeviceContext::DrawPolygon(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke,
                                                 COSMMarkupBrush* fill)
{
    if (!points || count < 1)
        return;
    const ScopedGraphics graphics = MakeGraphics(this);
    if (!graphics)
    {
        COSMMarkupDeviceContext::DrawPolygon(points, count, thickness, stroke, fill);
        return;
    }
    if (!stroke)
        thickness = 0;
    SetSmoothing(graphics.Get(), SmoothingHighQuality);
    const RECT bounds = BoundsOf(points, count);
    if (fill)
    {
        const ScopedGdiPlusObject brush(CreateBrush(fill, bounds), GdiPlusObjectTraits{Gdi::GdipDeleteBrush});
        if (brush)
        {
            SetPixelOffset(graphics.Get(), PixelOffsetHalf);
            if (auto draw = Library()->Get<FillPolygonIFunction>(Gdi::GdipFillPolygonI))
                draw(graphics.Get(), brush.Get(), points, count, FillModeAlternate);
        }
    }
    if (thickness > 0)
    {
        const ScopedGdiPlusObject pen(CreatePen(thickness, stroke, bounds), GdiPlusObjectTraits{Gdi::GdipDeletePen});
        if (pen)
        {
            SetPixelOffset(graphics.Get(), PixelOffsetForThickness(thickness));
            if (auto draw = Library()->Get<DrawLinesIFunction>(Gdi::GdipDrawPolygonI))
                draw(graphics.Get(), pen.Get(), points, count);
        }
    }
}

void COSMMarkupGdiPlusDeviceContext::DrawPath(const COSMMarkupPathGeometry* path, int thickness,
                                              COSMMarkupBrush* stroke, COSMMarkupBrush* fill)
{
    const ScopedGraphics graphics = MakeGraphics(this);
    if (!graphics)
    {
        COSMMarkupDeviceContext::DrawPath(path, thickness, stroke, fill);
        return;
    }
    SetSmoothing(graphics.Get(), SmoothingHighQuality);
    if (!path || path->GetPointCount() == 0)
        return;
    auto create = Library()->Get<CreatePath2Function>(Gdi::GdipCreatePath2);
    Object made = nullptr;
    if (!create ||
        create(path->GetPoints(), path->GetTypes(), path->GetPointCount(),
               path->GetFillRule() == COSMMarkupPathGeometry::FillWinding ? FillModeWinding : FillModeAlternate,
               &made) != 0)
        made = nullptr;
    const ScopedGdiPlusObject figures(made, GdiPlusObjectTraits{Gdi::GdipDeletePath});
    if (!figures)
        return;
    const RECT& bounds = path->GetPaintBounds();
    if (fill)
    {
        SetPixelOffset(graphics.Get(), PixelOffsetHalf);
        const ScopedGdiPlusObject brush(CreateBrush(fill, bounds), GdiPlusObjectTraits{Gdi::GdipDeleteBrush});
        if (auto draw = Library()->Get<PathFunction>(Gdi::GdipFillPath))
            draw(graphics.Get(), brush.Get(), figures.Get());
    }
    if (thickness > 0 && stroke)
    {
        const int offset = path->GetPixelOffsetMode();
        SetPixelOffset(graphics.Get(), offset != 0 ? offset : PixelOffsetHalf);
        const ScopedGdiPlusObject pen(CreatePen(thickness, stroke, bounds), GdiPlusObjectTraits{Gdi::GdipDeletePen});
        if (auto draw = Library()->Get<PathFunction>(Gdi::GdipDrawPath))
            draw(graphics.Get(), pen.Get(), figures.Get());
    }
}
