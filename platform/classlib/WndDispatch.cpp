// How a CWnd handles a message: the message map, commands and notifications, reflection to child controls, the
// default handlers, and the PreTranslateMessage walk.
#include "classlib/Wnd.h"

#include "classlib/CallbackGuard.h"
#include "classlib/DC.h"
#include "classlib/Menu.h"
#include "classlib/ThreadState.h"

using osm_classlib_detail::GetThreadState;

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

bool IsCtlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

}  // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = GetThreadState().lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    MSG& msg = GetThreadState().lastSentMsg;
    const DWORD pos = ::GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(pos));
    msg.pt.y = static_cast<short>(HIWORD(pos));
    msg.time = static_cast<DWORD>(::GetMessageTime());
    return &msg;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message)
    {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
        {
            *pResult = 0;
            return TRUE;
        }
        break;
    case WM_NOTIFY:
        if (lParam)
        {
            LRESULT lResult = 0;
            if (OnNotify(wParam, lParam, &lResult))
            {
                *pResult = lResult;
                return TRUE;
            }
        }
        break;
    case WM_SETCURSOR:
        // While the program is busy every window of it shows the hourglass.
        if (GetThreadState().waitCursorCount > 0)
        {
            AfxDoWaitCursor(0);
            *pResult = TRUE;
            return TRUE;
        }
        break;
    default:
        if (ReflectFirst(message, wParam, lParam, pResult))
            return TRUE;
        break;
    }

    if (OnWindowMessage(message, wParam, lParam, pResult))
        return TRUE;

    // Scroll messages from scroll-bar controls go back to them when the parent has no handler.
    if ((message == WM_HSCROLL || message == WM_VSCROLL) && lParam)
        return ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, pResult);
    return FALSE;
}

BOOL CWnd::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), AfxEntryKind::Message, message, 0, 0);
    if (!entry)
        return FALSE;
    AFX_MSGCALL call{message, wParam, lParam, 0, 0, 0};
    if (!DispatchEntry(entry, call))
        return FALSE;
    *pResult = call.result;
    return TRUE;
}

BOOL CWnd::ReflectFirst(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Messages about how a control looks: the control's own reflection handler goes before the parent's map.
    if (IsCtlColorMessage(message))
        return ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, pResult);

    switch (message)
    {
    case WM_DRAWITEM:
    {
        auto* pDraw = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (!pDraw)
            return FALSE;
        if (pDraw->CtlType == ODT_MENU)
        {
            CMenu* pMenu = GetThreadState().menus.LookupPermanent(reinterpret_cast<HMENU>(pDraw->hwndItem));
            if (!pMenu)
                return FALSE;
            pMenu->DrawItem(pDraw);
            *pResult = TRUE;
            return TRUE;
        }
        return ReflectToChild(pDraw->hwndItem, message, wParam, lParam, pResult);
    }
    case WM_MEASUREITEM:
    {
        auto* pMeasure = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        if (!pMeasure || pMeasure->CtlType == ODT_MENU)
            return FALSE;
        return ReflectToChild(::GetDlgItem(m_hWnd, static_cast<int>(pMeasure->CtlID)), message, wParam, lParam,
                              pResult);
    }
    case WM_COMPAREITEM:
    {
        auto* pCompare = reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam);
        return pCompare && ReflectToChild(pCompare->hwndItem, message, wParam, lParam, pResult);
    }
    case WM_DELETEITEM:
    {
        auto* pDelete = reinterpret_cast<LPDELETEITEMSTRUCT>(lParam);
        return pDelete && ReflectToChild(pDelete->hwndItem, message, wParam, lParam, pResult);
    }
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, pResult);
    default:
        return FALSE;
    }
}

BOOL CWnd::ReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!hWndChild || hWndChild == m_hWnd)
        return FALSE;
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (!pChild)
        return FALSE;
    LRESULT lResult = 0;
    if (!pChild->OnChildNotify(message, wParam, lParam, &lResult))
        return FALSE;
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    AFX_MSGCALL call{message, wParam, lParam, 0, 0, 0};
    const AFX_MSGMAP_ENTRY* entry = nullptr;
    if (message == WM_COMMAND)
    {
        call.nID = LOWORD(wParam);
        call.nCode = HIWORD(wParam);
        entry = FindMessageEntry(GetMessageMap(), AfxEntryKind::ReflectCommand, message, call.nCode, 0);
    }
    else if (message == WM_NOTIFY)
    {
        auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        call.nID = static_cast<UINT>(pNMHDR->idFrom);
        call.nCode = pNMHDR->code;
        entry = FindMessageEntry(GetMessageMap(), AfxEntryKind::ReflectNotify, message, call.nCode, 0);
    }
    else if (IsCtlColorMessage(message))
    {
        entry = FindMessageEntry(GetMessageMap(), AfxEntryKind::ReflectCtlColor, message, 0, 0);
    }
    else
    {
        entry = FindMessageEntry(GetMessageMap(), AfxEntryKind::ReflectMessage, message, 0, 0);
    }
    if (!entry || !DispatchEntry(entry, call))
        return FALSE;
    if (pResult)
        *pResult = call.result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (!hWndCtrl)
        return OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr);  // menu item or accelerator

    // UpdateData's own SetWindowText calls must not look like the user typing.
    if (GetThreadState().hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    if (OnCmdMsg(nID, HIWORD(wParam), nullptr, nullptr))
        return TRUE;
    return ReflectToChild(hWndCtrl, WM_COMMAND, wParam, lParam, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (GetThreadState().hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    AFX_NOTIFY notify{pResult, pNMHDR};
    if (OnCmdMsg(static_cast<UINT>(pNMHDR->idFrom), MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, nullptr))
        return TRUE;
    return ReflectToChild(pNMHDR->hwndFrom, WM_NOTIFY, wParam, lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd;)
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        // GetParent of a top-level window is its owner, which is not part of this window's tree.
        if (hWnd == hWndStop || !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
        hWnd = ::GetParent(hWnd);
    }
    return FALSE;
}

BOOL osm_classlib_detail::PumpPreTranslate(MSG* pMsg)
{
    auto& state = GetThreadState();
    // No handler deeper than this loop is running any more: wrappers they made can go.
    state.DeleteTemporaries(state.dispatchDepth);
    if (!pMsg->hwnd)
        return FALSE;
    ++state.dispatchDepth;  // wrappers made by PreTranslateMessage go at the next message
    // Dialogs reach this from the system's message-filter hook: nothing may unwind out of it.
    BOOL eaten = osm_classlib_detail::GuardCallback("PreTranslateMessage", BOOL{FALSE},
                                                    [pMsg] { return CWnd::WalkPreTranslateTree(nullptr, pMsg); });
    --state.dispatchDepth;
    return eaten;
}

// Default handlers: the window's own behaviour.
int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}
BOOL CWnd::OnNcCreate(LPCREATESTRUCT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnNcDestroy()
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(Default());
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT)
{
    return reinterpret_cast<HBRUSH>(Default());
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseHover(UINT, CPoint)
{
    Default();
}
void CWnd::OnMouseLeave()
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnMove(int, int)
{
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}
void CWnd::OnWindowPosChanging(WINDOWPOS*)
{
    Default();
}
void CWnd::OnWindowPosChanged(WINDOWPOS*)
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}
void CWnd::OnEnable(BOOL)
{
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnActivateApp(BOOL, DWORD)
{
    Default();
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT)
{
    Default();
}
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT)
{
    Default();
}
LRESULT CWnd::OnNcHitTest(CPoint)
{
    return Default();
}
void CWnd::OnNcLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnNcMouseMove(UINT, CPoint)
{
    Default();
}
UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
}
void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}
void CWnd::OnDropFiles(HDROP)
{
    Default();
}
BOOL CWnd::OnHelpInfo(HELPINFO*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnCaptureChanged(CWnd*)
{
    Default();
}
void CWnd::OnCancelMode()
{
    Default();
}
BOOL CWnd::OnDeviceChange(UINT, DWORD_PTR)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnSysColorChange()
{
    Default();
}
void CWnd::OnSettingChange(UINT, LPCSTR)
{
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL)
{
    Default();
}
void CWnd::OnTimeChange()
{
    Default();
}
