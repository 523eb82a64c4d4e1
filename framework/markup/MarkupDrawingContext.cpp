#include "framework/markup/MarkupDrawingContext.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupGdiPlus.h"
#include "framework/markup/MarkupGdiPlusDeviceContext.h"
#include "framework/markup/MarkupThickness.h"

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
    if (radii)
        m_pRenderer->FillRoundedRectangle(rect, brush, radii);
    else
        m_pRenderer->FillRectangle(rect, brush);
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
    if (radii)
        m_pRenderer->DrawRoundedFrame(rect, brush, thickness, radii);
    else
        m_pRenderer->DrawFrame(rect, brush, thickness);
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
    if (points && count >= 1)
        m_pRenderer->DrawPolygon(points, count, thickness, stroke, fill);
}

void COSMMarkupDrawingContext::DrawPolyline(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke)
{
    if (points && count >= 2)
        m_pRenderer->DrawPolyline(points, count, thickness, stroke);
}

void COSMMarkupDrawingContext::DrawEllipse(RECT rect, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill)
{
    m_pRenderer->DrawEllipse(rect, thickness, stroke, fill);
}

void COSMMarkupDrawingContext::DrawPath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke,
                                        COSMMarkupBrush* fill)
{
    m_pRenderer->DrawPath(path, thickness, stroke, fill);
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
