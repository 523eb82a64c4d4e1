#include "classlib/MDIChildWnd.h"

#include "classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
END_MESSAGE_MAP()

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd)
{
    if (!pParentWnd)
    {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd && pMainWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
            pParentWnd = static_cast<CMDIFrameWnd*>(pMainWnd);
    }
    if (!pParentWnd || !pParentWnd->m_hWndMDIClient)
        return FALSE;

    CREATESTRUCTA cs{};
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.hwndParent = pParentWnd->m_hWndMDIClient;
    if (!PreCreateWindow(cs))
        return FALSE;

    MDICREATESTRUCTA mdi{};
    mdi.szClass = cs.lpszClass;
    mdi.szTitle = cs.lpszName;
    mdi.hOwner = AfxGetInstanceHandle();
    mdi.style = cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);  // shown (and maximized) below, once the object has it
    const bool systemPlaces = rect.left == CW_USEDEFAULT;
    mdi.x = systemPlaces ? CW_USEDEFAULT : rect.left;
    mdi.y = systemPlaces ? CW_USEDEFAULT : rect.top;
    mdi.cx = systemPlaces ? CW_USEDEFAULT : rect.right - rect.left;
    mdi.cy = systemPlaces ? CW_USEDEFAULT : rect.bottom - rect.top;

    osm_classlib_detail::HookWindowCreate(this);
    auto hWnd = reinterpret_cast<HWND>(
        ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mdi)));
    const bool bound = osm_classlib_detail::UnhookWindowCreate();
    if (!hWnd)
        return FALSE;
    if (!bound)
        SubclassWindow(hWnd);
    if (m_hWnd != hWnd)
        return FALSE;
    if (cs.style & WS_VISIBLE)
    {
        ::ShowWindow(hWnd, (cs.style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        MDIActivate();
    }
    return TRUE;
}

BOOL CMDIChildWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    HWND hWndClient = ::GetParent(hWnd);
    if (!hWnd || !hWndClient)
        return CFrameWnd::DestroyWindow();
    // The client must hear of it, or it keeps the child in its window menu and as its active window.
    ::SendMessageA(hWndClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hWnd), 0);
    return !::IsWindow(hWnd);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND hWndClient = ::GetParent(GetSafeHwnd());
    CWnd* pFrame = FromHandlePermanent(hWndClient ? ::GetParent(hWndClient) : nullptr);
    return pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pFrame) : nullptr;
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CMDIChildWnd::OnMDIActivate(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default();
    HWND hWndClient = ::GetParent(m_hWnd);
    const auto hWndActivated = reinterpret_cast<HWND>(lParam);
    if (hWndActivated == m_hWnd && m_hMenuShared)
        ::SendMessageA(hWndClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(m_hMenuShared), 0);
    else if (reinterpret_cast<HWND>(wParam) == m_hWnd && !hWndActivated)
        ::SendMessageA(hWndClient, WM_MDISETMENU, 0, 0);
    if (hWndActivated == m_hWnd || !hWndActivated)
        ::DrawMenuBar(::GetParent(hWndClient));
    return result;
}
