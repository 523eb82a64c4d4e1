// What the bar's window does beside painting: the tooltip context hears every message first, the status line and
// the manager's help id follow the control under the cursor, context help asks for help ids, and screen readers ask
// for the IAccessible of the bar or of a control.
#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/foundation/ToolTipContext.h"

namespace {

// What WM_HELPHITTEST answers: a control's help id or the window's dialog id, offset by the kind of help.
const LRESULT kHelpOffsetCommand = 0x10000;
const LRESULT kHelpOffsetWindow = 0x50000;
// Object ids of WM_GETOBJECT that name a control by its command id.
const LONG kFirstControlObjectId = 1;
const LONG kLastControlObjectId = 0xFFFFFE;

// The help id of a control: its own, else its action's help id, else the action's id, else the control id.
UINT GetHelpIdOf(const COSMControl* control)
{
    if (control->GetHelpId() >= 1)
        return control->GetHelpId();
    if (const COSMControlAction* action = control->GetAction())
        return action->GetHelpId() > 0 ? action->GetHelpId() : action->GetID();
    return control->GetID();
}

}  // namespace

BOOL COSMCommandBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (m_toolTipContext)
        m_toolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void COSMCommandBar::RelayToolTipEvent(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_toolTipContext)
        m_toolTipContext->FilterToolTipMessage(this, message, wParam, lParam);
}

void COSMCommandBar::HideKeyboardTips()
{
    if (COSMCommandBars* commandBars = GetCommandBars())
        commandBars->HideKeyboardTips();
}

void COSMCommandBar::RedrawParents()
{
    for (COSMCommandBar* bar = this; bar; bar = bar->GetParentCommandBar())
        bar->Redraw(nullptr, TRUE);
}

void COSMCommandBar::UpdateStatusText(BOOL show, COSMControl* control)
{
    if (!control)
        return;
    CWnd* site = GetSite();
    if (site && ::IsWindow(site->GetSafeHwnd()))
        site->SendMessage(kMessageStatusText, show ? reinterpret_cast<WPARAM>(control) : 0, 0);

    COSMCommandBars* commandBars = GetCommandBars();
    if (commandBars)
        commandBars->SetHelpId(show ? GetHelpIdOf(control) : 0);

    // The control whose press is tracked keeps its text while the mouse wanders.
    if (control->GetIndex() == m_statusTextIndex)
    {
        if (!show)
            m_statusTextIndex = -1;
        return;
    }
    m_statusTextIndex = -1;
    if (commandBars && !commandBars->GetCommandBarsOptions()->m_showStatusTexts)
        return;
    if (!site || !::IsWindow(site->GetSafeHwnd()))
        return;
    const CString text = show ? control->GetDescription() : CString();
    if (!text.IsEmpty())
        site->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text)));
    else
        site->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
}

LRESULT COSMCommandBar::OnHelpHitTest(WPARAM wParam, LPARAM lParam)
{
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    if (const COSMControl* control = m_controls->HitTest(point))
        return kHelpOffsetCommand + GetHelpIdOf(control);
    const int id = GetDlgCtrlID();
    return id != 0 ? kHelpOffsetWindow + id : 0;
}

LRESULT COSMCommandBar::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    const LONG objectId = static_cast<LONG>(static_cast<DWORD>(lParam));
    if (objectId >= kFirstControlObjectId && objectId <= kLastControlObjectId)
    {
        COSMControl* control = m_controls->FindControlById(objectId);
        IUnknown* accessible = control ? control->GetInterface(IID_IAccessible) : nullptr;
        if (!accessible)
            return E_FAIL;
        return LresultFromObject(IID_IAccessible, wParam, accessible);
    }
    if (objectId == OBJID_CLIENT || objectId == OBJID_MENU)
    {
        IUnknown* accessible = GetInterface(IID_IAccessible);
        if (!accessible)
            return E_FAIL;
        return LresultFromObject(IID_IAccessible, wParam, accessible);
    }
    return Default();
}
