#include "wizard/controls/HyperlinkStatic.h"

#include "wizard/controls/LinkOpener.h"
#include "wizard/controls/StaticTextPainter.h"
#include "wizard/controls/StaticWindow.h"

#include "classlib/ScopedHandle.h"

IMPLEMENT_DYNAMIC(CHyperlinkStatic, CStatic)

BEGIN_MESSAGE_MAP(CHyperlinkStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

namespace {

HCURSOR HandCursor()
{
    return ::LoadCursor(nullptr, IDC_HAND);
}

}  // namespace

void CHyperlinkStatic::OpenUrl()
{
    if (!m_url.IsEmpty())
        OpenLink(m_url);
}

void CHyperlinkStatic::OnClickReleased() {}

void CHyperlinkStatic::PreSubclassWindow()
{
    EnsureNotifyStyle(m_hWnd);
    CStatic::PreSubclassWindow();
}

LRESULT CHyperlinkStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    EnsureNotifyStyle(m_hWnd);
    if (IsTextStatic(m_hWnd) && PaintWith(m_hWnd, message, wParam, [this](HDC hDC) { PaintText(hDC); }))
        return 0;
    switch (message)
    {
    case WM_SETCURSOR:
        ::SetCursor(HandCursor());
        return TRUE;
    case WM_TIMER:
        if (wParam == kLeaveTimerId)
        {
            OnLeaveTimer();
            return 0;
        }
        break;
    case WM_SETFONT:
        // The underline font follows the window's font; it is made again at the next colouring.
        m_underlineFont.DeleteObject();
        break;
    default:
        if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK)
            OnMouseOver(message);
        break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

void CHyperlinkStatic::OnMouseOver(UINT message)
{
    ::SetCursor(HandCursor());
    if (!m_hovering)
    {
        m_hovering = true;
        Invalidate(TRUE);
    }
    SetTimer(kLeaveTimerId, 10);
    if (message == WM_LBUTTONDOWN)
        OpenUrl();
    else if (message == WM_LBUTTONUP)
        OnClickReleased();
}

void CHyperlinkStatic::OnLeaveTimer()
{
    if (IsCursorInside())
        return;
    KillTimer(kLeaveTimerId);
    m_hovering = false;
    InvalidateInParent(m_hWnd);
}

HBRUSH CHyperlinkStatic::CtlColor(CDC* pDC, UINT /*nCtlColor*/)
{
    if (!IsTextStatic(m_hWnd))
        return nullptr;
    HFONT hFont = GetStaticFont(m_hWnd);
    if (!m_underlineFont.GetSafeHandle())
    {
        LOGFONTA logFont{};
        if (::GetObjectA(hFont, sizeof logFont, &logFont))
        {
            logFont.lfUnderline = TRUE;
            m_underlineFont.CreateFontIndirect(&logFont);
        }
    }
    if (IsCursorInside() && m_underlineFont.GetSafeHandle())
    {
        pDC->SelectObject(static_cast<HFONT>(m_underlineFont));
        pDC->SetTextColor(m_hoverColor);
    }
    else
    {
        pDC->SelectObject(hFont);
        pDC->SetTextColor(m_linkColor);
    }
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CHyperlinkStatic::PaintText(HDC hDC)
{
    const ScopedSavedDC saved = SaveScoped(hDC);
    CDC* pDC = CDC::FromHandle(hDC);
    CRect client;
    GetClientRect(&client);
    if (HBRUSH hBrush = CtlColor(pDC, CTLCOLOR_STATIC))
        ::FillRect(hDC, &client, hBrush);
    DrawStaticText(m_hWnd, hDC, client);
}
