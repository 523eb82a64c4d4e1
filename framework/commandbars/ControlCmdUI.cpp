// The command-UI object of a control, and the bar's update of its controls through it.
#include "framework/commandbars/ControlCmdUI.h"

#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlAction.h"

namespace {

// The update a bar's own map gets about any of its controls (ON_UPDATE_COMMAND_UI_REFLECT): the update, reflected.
const int kReflectedUpdateCode =
    static_cast<int>(MAKELONG(static_cast<WORD>(CN_UPDATE_COMMAND_UI), WM_REFLECT_BASE + WM_COMMAND));
// Hide flags the update looks past: hidden, scrolled out and hidden for lack of use still get their states.
const DWORD kUpdateSkipHideFlags = COSMControl::kHideHidden | COSMControl::kHideScroll | COSMControl::kHideUsage;
// An action's enabled state that Enable(TRUE) stores.
const BOOL kActionEnabled = -1;

}  // namespace

COSMControlCmdUI::COSMControlCmdUI(COSMControl* control) : m_control(control)
{
    m_nID = control->GetID();
    m_nIndex = static_cast<UINT>(control->GetIndex());
}

void COSMControlCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    if (COSMControlAction* action = m_control->GetAction())
    {
        const BOOL enabled = bOn ? kActionEnabled : FALSE;
        if (action->GetEnabledField() == enabled)
            return;
        action->SetEnabled(enabled);
        // Every control that shows the action looks different now.
        for (int i = 0; i < action->GetCount(); ++i)
            action->GetAt(i)->RedrawParent(FALSE);
        return;
    }
    m_control->SetEnabled(bOn ? TRUE : FALSE);
    if (!bOn)
        m_control->SetChecked(0);
}

void COSMControlCmdUI::SetCheck(int nCheck)
{
    m_checkChanged = TRUE;
    m_control->SetChecked(nCheck);
}

void COSMControlCmdUI::SetText(LPCSTR lpszText)
{
    m_control->SetCaption(lpszText ? lpszText : "");
}

void COSMCommandBar::OnUpdateCmdUI()
{
    CWnd* target = GetOwnerSite();
    if (!GetSafeHwnd() || !target)
        return;
    const COSMCommandBars* commandBars = GetCommandBars();
    const BOOL disableIfNoHandler =
        commandBars ? commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler : FALSE;
    const BOOL noNotify = GetRootParent()->m_noNotify;
    const BOOL customizing = IsCustomizeMode();

    // Handlers may change the controls: each is held while it is updated and the count is read again each time.
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (!control->IsVisible(kUpdateSkipHideFlags))
            continue;
        control->OnIdleUpdate();
        if (noNotify || (control->GetFlags() & COSMControl::kFlagManualUpdate))
            continue;
        control->InternalAddRef();
        COSMControlCmdUI state(control);
        if (!OnCmdMsg(0, kReflectedUpdateCode, &state, nullptr) &&
            !OnCmdMsg(control->GetID(), CN_UPDATE_COMMAND_UI, &state, nullptr))
        {
            // While customizing every control can be picked up, except those that follow their action.
            if (customizing)
            {
                if (control->GetEnabledField() != -1)
                    control->SetEnabled(TRUE);
            }
            else
            {
                state.DoUpdate(target, disableIfNoHandler);
            }
        }
        control->InternalRelease();
    }
    UpdateDialogControls(target, disableIfNoHandler);
}
