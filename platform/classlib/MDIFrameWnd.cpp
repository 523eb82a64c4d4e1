#include "classlib/MDIFrameWnd.h"

#include "classlib/DocTemplate.h"
#include "classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// The id the client gives its first child; the children's entries in the window menu count up from it.
const UINT kFirstChildId = 0xFF00;

}  // namespace

int CMDIFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_hWndMDIClient && !CreateClient(lpCreateStruct, nullptr))
        return -1;
    return 0;
}

void CMDIFrameWnd::OnDestroy()
{
    // The active child's template menu is the template's: the window must not take it along.
    HMENU hMenu = ::GetMenu(m_hWnd);
    if (CWinApp* pApp = hMenu ? AfxGetApp() : nullptr)
    {
        for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos;)
        {
            if (pApp->GetNextDocTemplate(pos)->m_hMenuShared == hMenu)
            {
                ::SetMenu(m_hWnd, nullptr);
                break;
            }
        }
    }
    CFrameWnd::OnDestroy();
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT /*lpCreateStruct*/, HMENU hWindowMenu)
{
    ASSERT(m_hWnd != nullptr && m_hWndMDIClient == nullptr);
    CLIENTCREATESTRUCT client{};
    client.hWindowMenu = hWindowMenu;
    client.idFirstChild = kFirstChildId;
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0,
                                        m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                        AfxGetInstanceHandle(), &client);
    if (!m_hWndMDIClient)
    {
        TRACE("CMDIFrameWnd: the MDI client was not created (error %lu)\n", ::GetLastError());
        return FALSE;
    }
    return TRUE;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The system's frame procedure would stretch the client over the bars on every size; RecalcLayout places it.
    if (message == WM_SIZE)
        return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    // The active document window knows its commands best.
    if (m_hWndMDIClient)
    {
        auto hWndActive = reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
        CWnd* pActive = FromHandlePermanent(hWndActive);
        if (pActive && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    if (pbMaximized)
        *pbMaximized = FALSE;
    if (!m_hWndMDIClient)
        return nullptr;
    auto hWndActive = reinterpret_cast<HWND>(
        ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
    return FromHandle(hWndActive);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    auto* pActive = dynamic_cast<CFrameWnd*>(MDIGetActive());
    return pActive ? pActive : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CFrameWnd* pActive = GetActiveFrame();
    return pActive != this ? pActive->GetActiveDocument() : nullptr;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDINext()
{
    ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}
