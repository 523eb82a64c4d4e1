#include "framework/markup/MarkupDrawingContext.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupThickness.h"

COSMMarkupDrawingContext::COSMMarkupDrawingContext(HDC dc, HDC attribDC)
    : m_hDC(dc), m_hAttribDC(attribDC ? attribDC : dc)
{
    Initialize(new COSMMarkupDeviceContext(m_hDC, m_hAttribDC));
}

COSMMarkupDrawingContext::COSMMarkupDrawingContext(MeasuringContextTag)
    : m_hDC(::CreateCompatibleDC(nullptr)), m_hAttribDC(m_hDC), m_bOwnDC(TRUE)
{
    Initialize(new COSMMarkupDeviceContext(m_hDC, m_hAttribDC));
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
    COSMMarkupPtr brush(new COSMMarkupSolidColorBrush(color & 0xFFFFFF));
    m_pRenderer->FillRectangle(rect, static_cast<COSMMarkupBrush*>(brush.Get()));
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
    COSMMarkupPtr thickness(new COSMMarkupThickness(1));
    DrawFrame(rect, brush, static_cast<COSMMarkupThickness*>(thickness.Get()), nullptr);
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

HDC COSMMarkupDrawingContext::GetDC()
{
    return m_pRenderer->GetDC();
}

void COSMMarkupDrawingContext::ReleaseDC(HDC dc)
{
    m_pRenderer->ReleaseDC(dc);
}
