// How a control runs its command: notifications to the notification site, execution, the held press with its
// auto-repeat, and the selection and hover steps around them.
#include "framework/commandbars/Control.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/SoundManager.h"

#include "classlib/Geometry.h"
#include "classlib/ModalLoop.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"

namespace {

const int kSoundMenuCommand = 1;

// The popups around an executed command close: only the root popup when it tracks inside another popup's
// tracking (the outer menu stays), else every popup of the manager, else every popup the thread tracks.
void CloseTrackedPopups(const COSMControl* control)
{
    COSMCommandBar* parent = control->GetParent();
    COSMCommandBar* root = parent ? parent->GetRootParent() : nullptr;
    if (root && root->IsRecursiveTracking())
        root->StopTracking();
    else if (COSMCommandBars* commandBars = control->GetCommandBars())
        commandBars->ClosePopups();
    else
        CreateMouseManager()->SendTrackLost();
}

// Notification 100, then WM_COMMAND to the notification site when nobody answered it.
void SendCommand(COSMControl* control)
{
    if (control->NotifySite(COSMControl::kNotifyExecute))
        return;
    COSMCommandBar* parent = control->GetParent();
    CWnd* site = parent ? parent->GetNotifySite() : nullptr;
    if (site && ::IsWindow(site->GetSafeHwnd()))
        site->SendMessage(WM_COMMAND, control->GetID(), 0);
}

BOOL IsInPopupPosition(const COSMCommandBar* bar)
{
    return bar && bar->GetPosition() == COSMCommandBar::kPositionPopup;
}

}  // namespace

// ---- Notifications ----

LRESULT COSMControl::SendNotify(CWnd* site, UINT code, NMOSMCONTROL* block)
{
    if (!site && m_parent)
        site = m_parent->GetNotifySite();
    if (!site || !::IsWindow(site->GetSafeHwnd()))
        return 0;
    NMOSMCONTROL local{};
    if (!block)
        block = &local;
    block->hdr.hwndFrom = nullptr;
    block->hdr.idFrom = m_id;
    block->hdr.code = code;
    block->pControl = this;
    if (const LRESULT answer = site->SendMessage(kMessageControlNotify, m_id, reinterpret_cast<LPARAM>(block)))
        return answer;
    if (!m_parent)
        return 0;
    // Frames that handle control notifications in ON_NOTIFY entries get them through their command routing.
    LRESULT result = 0;
    AFX_NOTIFY notify{&result, &block->hdr};
    if (site->OnCmdMsg(m_id, static_cast<int>(MAKELONG(code, WM_NOTIFY)), &notify, nullptr))
        return result;
    return 0;
}

LRESULT COSMControl::NotifySite(UINT code)
{
    return NotifySiteEx(code, nullptr);
}

LRESULT COSMControl::NotifySiteEx(UINT code, NMOSMCONTROL* block)
{
    return m_parent ? SendNotify(nullptr, code, block) : 0;
}

// ---- Execution ----

void COSMControl::OnExecute()
{
    // The command may make the bar let go of this control.
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    GetSoundManager()->PlaySystemSound(kSoundMenuCommand);
    m_pressed = IsInPopupPosition(m_parent) ? 0 : 2;

    if (COSMCommandBars* commandBars = m_parent ? m_parent->GetCommandBars() : nullptr)
    {
        if (m_id != 0)
            commandBars->SetCommandUsed(m_id);
        if (m_parent->IsKindOf(RUNTIME_CLASS(COSMPopupBar)))
        {
            const COSMControl* opener = static_cast<COSMPopupBar*>(m_parent)->GetControlPopup();
            if (opener && opener->GetID() != 0)
                commandBars->SetCommandUsed(opener->GetID());
        }
    }

    // A popup tracked to return the chosen command gets the id instead of a command.
    if (int* target = m_parent ? m_parent->GetRootParent()->GetPopupResult() : nullptr)
    {
        CloseTrackedPopups(this);
        *target = static_cast<int>(m_id);
        return;
    }

    if (m_closeSubMenuOnClick)
        CloseTrackedPopups(this);
    if (m_id == 0)
    {
        // Nothing runs, and nothing would take the pressed look off a toolbar button again.
        if (m_pressed != 0)
        {
            m_pressed = 0;
            RedrawParent(TRUE);
        }
        return;
    }
    SendCommand(this);

    if (m_closeSubMenuOnClick && m_pressed == 0)
        return;
    if (m_parent)
    {
        m_pressed = 0;
        m_parent->OnIdleUpdateCmdUI(0, 0);
        RedrawParent(TRUE);
    }
}

void COSMControl::OnMnemonicActivate()
{
    OnExecute();
}

void COSMControl::TrackButtonPress(CRect rect)
{
    COSMCommandBar* bar = m_parent;
    if (!bar || !bar->GetSafeHwnd())
        return;
    if (rect.IsRectEmpty())
        rect = m_rect;
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    bar->SetPopuped(-1, FALSE);
    bar->SetSelected(m_index, FALSE);
    m_pressed = 1;
    RedrawParent(FALSE);

    const BOOL repeat = m_executeOnPressInterval > 0;
    const HWND window = bar->GetSafeHwnd();
    ::SetCapture(window);
    if (repeat)
    {
        ::SetTimer(window, kTimerPressRepeat, static_cast<UINT>(m_executeOnPressInterval), nullptr);
        SendCommand(this);
    }

    BOOL click = FALSE;
    // A real move to the client point (0,0) is a move like any other.
    BOOL moved = FALSE;
    CPoint last(0, 0);
    // The press ends when the button goes up, the capture goes, or the control leaves the bar (a dispatched
    // message or a repeated command may take it out); a quit is posted again for the application's loop.
    CModalLoop loop;
    loop.EndOnCaptureLoss(window);
    loop.Run([&] { return m_parent != bar; },
             [&](MSG& msg) {
                 if (msg.message == WM_LBUTTONUP)
                 {
                     click = GetSelected() != 0 && (!moved || rect.PtInRect(last));
                     return CModalLoop::Stop;
                 }
                 if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == kTimerPressRepeat)
                 {
                     if (GetSelected() != 0)
                         SendCommand(this);
                     return CModalLoop::Handled;
                 }
                 if (msg.message == WM_MOUSEMOVE)
                 {
                     last = CPoint(msg.lParam);
                     moved = TRUE;
                     if (SetSelected(rect.PtInRect(last) ? 1 : 0))
                         RedrawParent(TRUE);
                     return CModalLoop::Handled;
                 }
                 return CModalLoop::Dispatch;
             });

    if (repeat && ::IsWindow(window))
        ::KillTimer(window, kTimerPressRepeat);
    m_pressed = click && !repeat && m_parent && !IsInPopupPosition(m_parent) ? 2 : 0;
    if (::GetCapture() == window)
        ::ReleaseCapture();

    if (GetSelected() != 0 && m_parent)
    {
        m_parent->SetSelected(-1, FALSE);
        m_selected = 0;
        m_parent->SetStatusTextIndex(m_index);
    }
    if (click && !repeat)
    {
        OnExecute();
        if (m_pressed != 0)
        {
            m_pressed = 0;
            RedrawParent(TRUE);
        }
    }
    else
    {
        RedrawParent(TRUE);
    }
}

// ---- Selection and hover ----

void COSMControl::OnMouseHover()
{
    if (!m_parent)
        return;
    const BOOL closed = m_parent->SetPopuped(-1, FALSE);
    if (closed && m_parent->GetTrackingMode() == 2 && !IsInPopupPosition(m_parent))
        m_parent->SetTrackingMode(0, TRUE, FALSE);
}

void COSMControl::OnCustomizeDragOver(COSMControl* dragged, CPoint point, int& effect)
{
    if (!m_parent)
        return;
    m_parent->SetPopuped(-1, FALSE);
    m_parent->SetSelected(-1, FALSE);
}
