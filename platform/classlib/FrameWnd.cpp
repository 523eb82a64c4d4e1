#include "classlib/FrameWnd.h"

#include "classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_SIZE()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
END_MESSAGE_MAP()

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCSTR lpszMenuName, DWORD dwExStyle)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName)
    {
        hMenu = ::LoadMenuA(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
        if (!hMenu)
        {
            TRACE("CFrameWnd: no menu resource for the frame \"%s\"\n", lpszWindowName ? lpszWindowName : "");
            return FALSE;
        }
    }
    // rectDefault's width would be 0 - CW_USEDEFAULT: the system's choice is passed on as such instead.
    const bool systemPlaces = rect.left == CW_USEDEFAULT;
    const int x = systemPlaces ? CW_USEDEFAULT : rect.left;
    const int y = systemPlaces ? CW_USEDEFAULT : rect.top;
    const int cx = systemPlaces ? CW_USEDEFAULT : rect.right - rect.left;
    const int cy = systemPlaces ? CW_USEDEFAULT : rect.bottom - rect.top;
    if (lpszWindowName)
        m_strTitle = lpszWindowName;
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(), hMenu))
    {
        if (hMenu)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

void CFrameWnd::RecalcLayout(BOOL /*bNotify*/)
{
    // A bar that asks for a layout while it is being placed gets the one already running.
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify)
{
    m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return nullptr;
}

CWnd* CFrameWnd::GetMessageBar() const
{
    return GetDlgItem(AFX_IDW_STATUS_BAR);
}

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    m_lastStatusText = lpszText ? lpszText : "";
    if (CWnd* pMessageBar = GetMessageBar())
    {
        pMessageBar->SetWindowText(m_lastStatusText);
        pMessageBar->UpdateWindow();  // menus are tracked in a loop of their own: the text must show now
    }
}

void CFrameWnd::SetMessageText(UINT nID)
{
    CString text;
    if (nID != 0 && !text.LoadString(nID))
        text.Empty();
    SetMessageText(text);
    m_nIDLastMessage = nID;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName)
{
    ASSERT(m_hAccelTable == nullptr);  // one table per frame
    m_hAccelTable = ::LoadAcceleratorsA(AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR), lpszResourceName);
    return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_hAccelTable && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Program-wide commands (About, Exit) live in the application object. A frame inside another one (an MDI child)
    // leaves that to the outer frame, which asks the application once.
    CWinApp* pApp = AfxGetApp();
    if (!pApp || (GetStyle() & WS_CHILD))
        return FALSE;
    return pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_nIdleFlags & idleLayout)
    {
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
        UpdateWindow();
    }
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    return 0;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    const UINT previous = m_nIDLastMessage;
    const UINT nID = static_cast<UINT>(wParam);
    m_nIDTracking = nID;
    if (lParam)
    {
        SetMessageText(reinterpret_cast<LPCSTR>(lParam));
        m_nIDLastMessage = nID;
    }
    else
    {
        SetMessageText(nID);
    }
    return static_cast<LRESULT>(previous);
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = wParam ? static_cast<UINT>(wParam) : AFX_IDS_IDLEMESSAGE;
    return OnSetMessageString(nID, lParam);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    // GetParent of a popup is its owner: a floating bar finds the frame that owns it.
    for (HWND hWnd = ::GetParent(GetSafeHwnd()); hWnd; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(pWnd);
    }
    return nullptr;
}
