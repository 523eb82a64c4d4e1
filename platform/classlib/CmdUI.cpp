#include "classlib/CmdUI.h"

namespace {

// The code a control's own map sees for an update about itself: the update, reflected.
constexpr int kReflectedUpdateCode =
    static_cast<int>(MAKELONG(static_cast<WORD>(CN_UPDATE_COMMAND_UI), WM_REFLECT_BASE + WM_COMMAND));

bool IsButton(HWND hWnd)
{
    return (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0;
}

// Buttons that only change their own state (check boxes, radio buttons, group boxes) have no command to miss.
bool RunsACommand(HWND hWnd)
{
    if (!IsButton(hWnd))
        return false;
    switch (::GetWindowLongA(hWnd, GWL_STYLE) & BS_TYPEMASK)
    {
    case BS_AUTOCHECKBOX:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
    case BS_GROUPBOX:
        return false;
    default:
        return true;
    }
}

}  // namespace

void CCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    HWND hWnd = m_pOther->GetSafeHwnd();
    if (!hWnd)
        return;
    // A control that goes grey must not keep the keyboard focus: it moves to the next control of the dialog.
    if (!bOn && ::GetFocus() == hWnd)
    {
        HWND hWndParent = ::GetParent(hWnd);
        if (HWND hWndNext = ::GetNextDlgTabItem(hWndParent, hWnd, FALSE); hWndNext && hWndNext != hWnd)
            ::SetFocus(hWndNext);
    }
    ::EnableWindow(hWnd, bOn);
}

void CCmdUI::SetCheck(int nCheck)
{
    HWND hWnd = m_pOther->GetSafeHwnd();
    if (hWnd && IsButton(hWnd))
        ::SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
}

void CCmdUI::SetText(LPCSTR lpszText)
{
    if (!m_pOther->GetSafeHwnd())
        return;
    // Only a real change: setting the same text again still repaints the control, which flickers at idle time.
    CString current;
    m_pOther->GetWindowText(current);
    if (current != (lpszText ? lpszText : ""))
        m_pOther->SetWindowText(lpszText);
}

void CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (!pTarget || m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return;
    m_bEnableChanged = FALSE;
    if (pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr))
        return;  // the update handler decided
    if (!bDisableIfNoHndler)
        return;
    AFX_CMDHANDLERINFO info{};
    Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
    {
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
        state.m_pOther = CWnd::FromHandle(hWndChild);
        // A control that updates itself answers first; the target is not asked about it then.
        if (CWnd* pControl = CWnd::FromHandlePermanent(hWndChild);
            pControl && pControl->OnCmdMsg(0, kReflectedUpdateCode, &state, nullptr))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler && RunsACommand(hWndChild));
    }
}
