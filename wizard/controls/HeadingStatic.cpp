#include "wizard/controls/HeadingStatic.h"

#include "wizard/controls/StaticWindow.h"

#include "wizard/controls/StaticTextPainter.h"

#include "classlib/ScopedHandle.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CHeadingStatic, CStatic)

BEGIN_MESSAGE_MAP(CHeadingStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

void CHeadingStatic::SetTextColor(COLORREF color, BOOL bRedraw)
{
    m_textColor = color;
    if (bRedraw && m_hWnd)
        Invalidate();
}

BOOL CHeadingStatic::SetTextLogFont(const LOGFONTA* pLogFont)
{
    m_font.DeleteObject();
    if (!pLogFont)
        return TRUE;
    const BOOL created = m_font.CreateFontIndirect(pLogFont);
    if (created)
    {
        // A font the caller gave counts as the heading's own: the window's font must not replace it later.
        m_fontInitialized = TRUE;
        if (m_sizeToText)
            SizeToText();
        if (m_hWnd)
            Invalidate();
    }
    return created;
}

void CHeadingStatic::SetSizeToText(BOOL bSizeToText)
{
    m_sizeToText = bSizeToText;
    SizeToText();
}

void CHeadingStatic::ActivateToolTip(BOOL bActivate)
{
    m_toolTipActive = bActivate;
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.Activate(bActivate);
    UpdateToolTipText();
}

CRect CHeadingStatic::WindowRectInParent() const
{
    CRect rect;
    GetWindowRect(&rect);
    if (HWND hWndParent = ::GetParent(m_hWnd))
        ::MapWindowPoints(HWND_DESKTOP, hWndParent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CHeadingStatic::SetToolRect(int width, int height)
{
    if (!m_toolTip.GetSafeHwnd())
        return;
    CRect rect(0, 0, width, height);
    m_toolTip.SetToolRect(this, kToolId, &rect);
}

void CHeadingStatic::PreSubclassWindow()
{
    InitializeToolTip();
    if (!m_fontInitialized && InitializeFont())
        m_fontInitialized = TRUE;
    EnsureNotifyStyle(m_hWnd);
    CStatic::PreSubclassWindow();
}

BOOL CHeadingStatic::InitializeToolTip()
{
    m_rememberedRect = WindowRectInParent();
    if (!m_toolTip.GetSafeHwnd())
    {
        m_toolTip.Create(this);
        CRect client;
        GetClientRect(&client);
        m_toolTip.AddTool(this, m_toolTipText, &client, kToolId);
        m_toolTip.Activate(m_toolTipActive);
    }
    UpdateToolTipText();
    return TRUE;
}

BOOL CHeadingStatic::InitializeFont()
{
    if (!IsTextStatic(m_hWnd))
        return TRUE;
    HFONT hWindowFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!hWindowFont)
        return FALSE;
    LOGFONTA logFont{};
    if (!::GetObjectA(hWindowFont, sizeof logFont, &logFont))
        return FALSE;
    m_font.DeleteObject();
    const BOOL created = m_font.CreateFontIndirect(&logFont);
    if (created && m_sizeToText)
        SizeToText();
    return created;
}

void CHeadingStatic::UpdateToolTipText()
{
    if (!m_toolTipActive || !m_hWnd)
        return;
    if (IsTextStatic(m_hWnd))
        GetWindowText(m_toolTipText);
    else
        m_toolTipText.Empty();
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.UpdateTipText(m_toolTipText, this, kToolId);
}

HBRUSH CHeadingStatic::CtlColor(CDC* pDC, UINT /*nCtlColor*/)
{
    EnsureNotifyStyle(m_hWnd);
    if (!IsTextStatic(m_hWnd))
        return nullptr;
    if (!m_fontInitialized && InitializeFont())
        m_fontInitialized = TRUE;
    if (m_font.GetSafeHandle())
        pDC->SelectObject(&m_font);
    CRect client;
    GetClientRect(&client);
    ::FillRect(*pDC, &client, ::GetSysColorBrush(COLOR_3DFACE));
    pDC->SetTextColor(m_textColor);
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHeadingStatic::PreTranslateMessage(MSG* pMsg)
{
    if (m_toolTip.GetSafeHwnd())
    {
        m_toolTip.Activate(m_toolTipActive);
        m_toolTip.RelayEvent(pMsg);
    }
    return CStatic::PreTranslateMessage(pMsg);
}

CRect CHeadingStatic::FitRectToText(const CRect& current, CSize text, CSize parentClient, DWORD style)
{
    const int textWidth = std::min<int>(text.cx, parentClient.cx);
    const int textHeight = std::min<int>(text.cy, parentClient.cy);
    CRect rect = current;
    if (style & SS_CENTERIMAGE)
    {
        const int shrink = (rect.Height() - textHeight) / 2;
        rect.top += shrink;
        rect.bottom -= shrink;
    }
    else
    {
        rect.bottom = rect.top + textHeight;
    }
    switch (style & SS_TYPEMASK)
    {
    case SS_CENTER:
    {
        const int shrink = (rect.Width() - textWidth) / 2;
        rect.left += shrink;
        rect.right -= shrink;
        break;
    }
    case SS_RIGHT:
        rect.left = rect.right - textWidth;
        break;
    default:
        rect.right = rect.left + textWidth;
        break;
    }
    return rect;
}

void CHeadingStatic::SizeToText()
{
    if (!m_hWnd || !IsTextStatic(m_hWnd))
        return;
    HWND hWndParent = ::GetParent(m_hWnd);
    if (!hWndParent)
        return;
    CRect target;
    if (!m_sizeToText)
    {
        target = m_rememberedRect;
    }
    else
    {
        CString text;
        GetWindowText(text);
        CSize extent(0, 0);
        {
            CClientDC dc(this);
            CFont* pFont = m_font.GetSafeHandle() ? &m_font : CFont::FromHandle(GetStaticFont(m_hWnd));
            const ScopedSelection select = SelectScoped(dc, pFont->GetSafeHandle());
            extent = dc.GetTextExtent(text);
        }
        CRect parentClient;
        ::GetClientRect(hWndParent, &parentClient);
        target = FitRectToText(WindowRectInParent(), extent, parentClient.Size(), GetStyle());
    }
    SetToolRect(target.Width(), target.Height());
    SetWindowPos(nullptr, target.left, target.top, target.Width(), target.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CHeadingStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsTextStatic(m_hWnd) && PaintWith(m_hWnd, message, wParam, [this](HDC hDC) { PaintText(hDC); }))
        return 0;
    switch (message)
    {
    case WM_SETTEXT:
    {
        const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
        UpdateToolTipText();
        if (m_sizeToText)
            SizeToText();
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return result;
    }
    case WM_SIZE:
    {
        const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
        if (!m_sizeToText)
        {
            m_rememberedRect = WindowRectInParent();
            SetToolRect(m_rememberedRect.Width(), m_rememberedRect.Height());
        }
        else
        {
            SizeToText();
        }
        return result;
    }
    case WM_MOVE:
    {
        // A move alone sends no WM_SIZE, yet it changes the rectangle to come back to.
        const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
        if (!m_sizeToText)
            m_rememberedRect = WindowRectInParent();
        return result;
    }
    case WM_DESTROY:
        if (m_toolTip.GetSafeHwnd())
        {
            m_toolTip.DelTool(this, kToolId);
            m_toolTip.DestroyWindow();
        }
        break;
    default:
        break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

void CHeadingStatic::PaintText(HDC hDC)
{
    const ScopedSavedDC saved = SaveScoped(hDC);
    ::SelectObject(hDC, GetStaticFont(m_hWnd));
    CRect client;
    GetClientRect(&client);
    if (HBRUSH hBrush = CtlColor(CDC::FromHandle(hDC), CTLCOLOR_STATIC))
        ::FillRect(hDC, &client, hBrush);
    DrawStaticText(m_hWnd, hDC, client);
}
