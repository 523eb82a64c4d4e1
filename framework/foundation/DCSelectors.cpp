#include "framework/foundation/DCSelectors.h"

// The selectors call ::SelectObject on the raw handles: CDC::SelectObject would leave a temporary wrapper for
// every old object behind, once per paint.

COSMFontDC::COSMFontDC(CDC* pDC, CFont* pFont) : m_pDC(pDC)
{
    SetFont(pFont);
}

COSMFontDC::COSMFontDC(CDC* pDC, CFont* pFont, COLORREF clrTextColor) : m_pDC(pDC)
{
    SetFont(pFont);
    SetColor(clrTextColor);
}

COSMFontDC::~COSMFontDC()
{
    ReleaseFont();
    ReleaseColor();
}

void COSMFontDC::SetFont(CFont* pFont)
{
    HDC hDC = m_pDC ? m_pDC->GetSafeHdc() : nullptr;
    if (!hDC || !pFont || !pFont->m_hObject)
        return;
    // Selecting a font realizes it again even when the DC holds it already, which costs microseconds a time, and
    // bars select their one font once per control they measure or draw: the font the DC holds is left in place.
    if (::GetCurrentObject(hDC, OBJ_FONT) == pFont->m_hObject)
        return;
    HGDIOBJ hOld = ::SelectObject(hDC, pFont->m_hObject);
    if (!m_hOldFont && hOld && hOld != HGDI_ERROR)
        m_hOldFont = static_cast<HFONT>(hOld);
}

void COSMFontDC::SetColor(COLORREF clrTextColor)
{
    HDC hDC = m_pDC ? m_pDC->GetSafeHdc() : nullptr;
    if (!hDC)
        return;
    const COLORREF clrOld = ::SetTextColor(hDC, clrTextColor);
    if (m_clrOldTextColor == kNoColor && clrOld != CLR_INVALID)
        m_clrOldTextColor = clrOld;
}

void COSMFontDC::ReleaseFont()
{
    if (m_hOldFont && m_pDC && m_pDC->GetSafeHdc() && ::GetCurrentObject(m_pDC->GetSafeHdc(), OBJ_FONT) != m_hOldFont)
        ::SelectObject(m_pDC->GetSafeHdc(), m_hOldFont);
    m_hOldFont = nullptr;
}

void COSMFontDC::ReleaseColor()
{
    if (m_clrOldTextColor != kNoColor && m_pDC && m_pDC->GetSafeHdc())
        ::SetTextColor(m_pDC->GetSafeHdc(), m_clrOldTextColor);
    m_clrOldTextColor = kNoColor;
}

COSMPenDC::COSMPenDC(HDC hDC, COLORREF clrColor) : m_hDC(hDC)
{
    Color(clrColor);
}

COSMPenDC::COSMPenDC(CDC* pDC, CPen* pPen) : m_hDC(pDC ? pDC->GetSafeHdc() : nullptr)
{
    if (m_hDC && pPen && pPen->m_hObject)
        m_hOldPen = ::SelectObject(m_hDC, pPen->m_hObject);
}

COSMPenDC::~COSMPenDC()
{
    // The pen must be out of the DC before m_pen deletes it.
    if (m_hDC && m_hOldPen)
        ::SelectObject(m_hDC, m_hOldPen);
}

void COSMPenDC::Color(COLORREF clrColor)
{
    if (!m_hDC)
        return;
    if (m_hOldPen)
        ::SelectObject(m_hDC, m_hOldPen);
    m_pen.DeleteObject();
    // -1 is "no colour": the null pen draws nothing where GDI would take 0xFFFFFFFF for some colour.
    if (clrColor == static_cast<COLORREF>(-1))
    {
        HGDIOBJ hOld = ::SelectObject(m_hDC, ::GetStockObject(NULL_PEN));
        if (!m_hOldPen)
            m_hOldPen = hOld;
        return;
    }
    if (!m_pen.CreatePen(PS_SOLID, 1, clrColor))
        return;
    HGDIOBJ hOld = ::SelectObject(m_hDC, m_pen.m_hObject);
    if (!m_hOldPen)
        m_hOldPen = hOld;
}

COSMBrushDC::COSMBrushDC(HDC hDC, COLORREF clrColor) : m_hDC(hDC)
{
    Color(clrColor);
}

COSMBrushDC::COSMBrushDC(CDC* pDC, CBrush* pBrush) : m_hDC(pDC ? pDC->GetSafeHdc() : nullptr)
{
    if (m_hDC && pBrush && pBrush->m_hObject)
        m_hOldBrush = ::SelectObject(m_hDC, pBrush->m_hObject);
}

COSMBrushDC::~COSMBrushDC()
{
    if (m_hDC && m_hOldBrush)
        ::SelectObject(m_hDC, m_hOldBrush);
}

void COSMBrushDC::Color(COLORREF clrColor)
{
    if (!m_hDC)
        return;
    if (m_hOldBrush)
        ::SelectObject(m_hDC, m_hOldBrush);
    m_brush.DeleteObject();
    if (!m_brush.CreateSolidBrush(clrColor))
        return;
    HGDIOBJ hOld = ::SelectObject(m_hDC, m_brush.m_hObject);
    if (!m_hOldBrush)
        m_hOldBrush = hOld;
}

COSMCompatibleDC::COSMCompatibleDC(CDC* pDC, CBitmap* pBitmap)
    : COSMCompatibleDC(pDC, pBitmap ? static_cast<HBITMAP>(pBitmap->m_hObject) : nullptr)
{}

COSMCompatibleDC::COSMCompatibleDC(CDC* pDC, HBITMAP hBitmap)
{
    if (CreateCompatibleDC(pDC) && hBitmap)
        m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
}

COSMCompatibleDC::~COSMCompatibleDC()
{
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
}
