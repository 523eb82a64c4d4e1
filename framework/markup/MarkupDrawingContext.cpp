#include "framework/markup/MarkupDrawingContext.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupGdiPlus.h"
#include "framework/markup/MarkupGdiPlusDeviceContext.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupVisibleFigures.h"

#include <algorithm>

namespace {

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
        m_pRenderer->DrawFrame(rect, brush, thickness);
        return;
    }
    const int width = thickness->GetLeft();
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
    m_pRenderer->DrawTextLine(text, count, point);
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

void COSMMarkupDrawingContext::SetTextColor(COSMMarkupBrush* brush)
{
    m_pRenderer->SetTextColor(brush);
}

void COSMMarkupDrawingContext::DrawLine(int x1, int y1, int x2, int y2, int thickness, COSMMarkupBrush* brush)
{
    if (brush && thickness > 0)
        m_pRenderer->DrawLine(x1, y1, x2, y2, thickness, brush);
}

void COSMMarkupDrawingContext::DrawPolygon(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke,
                                           COSMMarkupBrush* fill)
{
    // Without points the bounds stay inverted at the 32-bit limits, and their width would overflow.
    if (!points || count < 1)
        return;
    const RECT bounds = BoundsOfMarkupPoints(points, count);
    if (!MarkupFigureNeedsCutting(bounds, count, m_rcClipBox, stroke ? thickness : 0))
    {
        m_pRenderer->DrawPolygon(points, count, thickness, stroke, fill);
        return;
    }
    COSMMarkupVisibleFigures figures(m_rcClipBox, stroke ? thickness : 0);
    figures.AddPolygon(points, count, TRUE);
    DrawVisibleFigures(figures, bounds, 0, thickness, stroke, fill);
}

void COSMMarkupDrawingContext::DrawPolyline(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke)
{
    if (!points || count < 2)
        return;
    const RECT bounds = BoundsOfMarkupPoints(points, count);
    if (!MarkupFigureNeedsCutting(bounds, count, m_rcClipBox, thickness))
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
    if (!path || path->GetPointCount() == 0 ||
        !MarkupFigureNeedsCutting(path->GetBounds(), path->GetPointCount(), m_rcClipBox, stroke ? thickness : 0))
    {
        m_pRenderer->DrawPath(path, thickness, stroke, fill);
        return;
    }
    DrawVisiblePath(path, thickness, stroke, fill);
}

void COSMMarkupDrawingContext::DrawVisiblePath(const COSMMarkupPathGeometry* path, int thickness,
                                               COSMMarkupBrush* stroke, COSMMarkupBrush* fill)
{
    COSMMarkupVisibleFigures figures(m_rcClipBox, stroke ? thickness : 0);
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
