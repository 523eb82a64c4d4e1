#include "framework/tabs/TabWorkspaceStripWnd.h"

#include "framework/foundation/BufferDC.h"
#include "framework/tabs/TabClientWnd.h"

COSMTabWorkspaceStripWnd::~COSMTabWorkspaceStripWnd()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL COSMTabWorkspaceStripWnd::Create(COSMTabClientWnd* pClient, HWND hWndFrame)
{
    m_pClient = pClient;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr);
    if (!CreateEx(0, lpszClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                  hWndFrame, nullptr))
        return FALSE;
    // Below the client, so that the client's rectangle is clipped out of the strip's painting.
    ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_workspace.SetWindow(m_hWnd);
    return TRUE;
}

void COSMTabWorkspaceStripWnd::Draw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    if (COSMTabPaintManager* pPaintManager = m_workspace.GetPaintManager())
        pPaintManager->DrawTabControl(&m_workspace, pDC, rc);
    else
        pDC->FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
}

LRESULT COSMTabWorkspaceStripWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
    {
        CPaintDC dc(this);
        // The client lies over the strip's client area: what it covers is not painted twice.
        if (m_pClient && m_pClient->GetSafeHwnd() && ::IsWindowVisible(m_pClient->GetSafeHwnd()))
        {
            CRect rcClient;
            ::GetWindowRect(m_pClient->GetSafeHwnd(), &rcClient);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rcClient), 2);
            dc.ExcludeClipRect(rcClient);
        }
        COSMBufferDC buffer(dc);
        Draw(&buffer);
        return 0;
    }
    case WM_PRINTCLIENT:
    {
        CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        Draw(pDC);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_pClient)
            m_pClient->SetMouseFlags();
        m_workspace.OnMouseDown(m_hWnd, CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))),
                                FALSE);
        return 0;
    case WM_MOUSEMOVE:
        m_workspace.OnMouseMove(m_hWnd, CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        return 0;
    case WM_MOUSELEAVE:
        m_workspace.OnMouseMove(m_hWnd, CPoint(-1, -1));
        return 0;
    case WM_RBUTTONDOWN:
        return 0;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}
