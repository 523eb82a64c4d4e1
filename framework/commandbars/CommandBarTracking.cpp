// How a bar follows the mouse: the tracking mode, the hot and the popped-up control, the mouse handlers and the bar's
// timers. The keys are the keyboard navigator's (CommandBarKeyboardNavigator.cpp).
#include "classlib/FrameWnd.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBar.h"

#include "framework/commandbars/CommandBarAnimation.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/KeyboardManager.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/foundation/WindowFunctions.h"

#include <algorithm>

// ---- Helpers ----

COSMMouseManager* COSMCommandBar::GetMouseManager() const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    return commandBars ? commandBars->GetMouseManager() : CreateMouseManager();
}

void COSMCommandBar::ForgetInMouseManager()
{
    // A bar going away at the end of its thread must not bring the thread's manager back.
    COSMMouseManager* mouse = GetThreadMouseManager();
    if (const COSMCommandBars* commandBars = GetCommandBars())
        mouse = commandBars->GetMouseManager();
    if (mouse && mouse->GetSelectedBar() == this)
        mouse->SetSelectedBar(nullptr);
}

BOOL COSMCommandBar::IsHelpMode() const
{
    const CFrameWnd* frame = GetFrameSite();
    return frame && frame->m_bHelpMode;
}

BOOL COSMCommandBar::IsHorizontalBar() const
{
    return m_position == 0 || m_position == 1 || m_position == kPositionFloating ||
           (m_position == kPositionPopup && m_type == 1);
}

BOOL COSMCommandBar::IsUnderMouseLock() const
{
    return !m_lockExempt && GetMouseManager()->IsLocked();
}

int COSMCommandBar::GetKeyboardTipsLevel() const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    return commandBars && commandBars->GetKeyboardTipsBar() == this ? commandBars->GetKeyboardTipsLevel() : 0;
}

// ---- Tracking, selection and popups ----

BOOL COSMCommandBar::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    const int previous = m_trackingMode;
    // Stored even when refused: a popup's parent bar goes from tracking 2 to 1 this way.
    m_trackingMode = mode;
    if ((previous != 0 && mode != 0) || mode == previous)
        return FALSE;

    COSMMouseManager* mouse = GetMouseManager();
    if (mode == 0)
    {
        m_enteredByMouse = FALSE;
        m_selectedByKeyboard = FALSE;
        mouse->RemoveTrack(this);
        CreateKeyboardManager()->UnhookKeyboard(this);
        SetPopuped(-1, FALSE);
        if (selectFirst)
            SetSelected(-1, kSelectMouse);
        if (m_caretWindow && m_hideCaretWhileTracking)
        {
            ::ShowCaret(m_caretWindow);
            m_caretWindow = nullptr;
        }
        Redraw(nullptr, TRUE);
        if (mouse->GetTrackedCount() == 0)
            mouse->SetMenusExpanded(0);
        if (GetSafeHwnd() && ::GetFocus() == m_hWnd)
        {
            if (const HWND parent = ::GetParent(m_hWnd))
            {
                if (const HWND next = ::GetNextDlgTabItem(parent, m_hWnd, FALSE))
                    ::SetFocus(next);
            }
        }
        m_trackLockCount = 0;
    }
    else
    {
        if (m_type == kTypeMenuBar)
        {
            CWnd* site = GetSite();
            if (site && ::IsWindow(site->GetSafeHwnd()))
                site->SendMessage(kMessageMenuBarTracking, reinterpret_cast<WPARAM>(this), 0);
        }
        m_enteredByMouse = !selectFirst && !keyboard;
        m_selectedByKeyboard = keyboard;
        if (m_hideCaretWhileTracking && !m_caretWindow)
        {
            HWND caretWindow = ::GetFocus();
            if (!caretWindow)
            {
                CWnd* site = GetSite();
                caretWindow = site ? site->GetSafeHwnd() : nullptr;
            }
            m_caretWindow = caretWindow;
            if (m_caretWindow)
                ::HideCaret(m_caretWindow);
        }
        mouse->SetTrack(this);
        CreateKeyboardManager()->HookKeyboard(this);
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        if (selectFirst)
            SetSelected(m_controls->GetNext(-1, 1), kSelectForward);
    }
    if (COSMCommandBars* commandBars = GetCommandBars())
        commandBars->ResetKeyboardState(this, mode);
    return TRUE;
}

BOOL COSMCommandBar::SetSelected(int index, int how)
{
    if (index == m_selectedIndex)
        return FALSE;
    m_selectedByKeyboard = how;
    if (!GetSafeHwnd())
        return FALSE;
    COSMControl* control = index == -1 ? nullptr : GetControl(index);
    // A selection of a control that is not there would leave an index nothing answers to.
    if (index != -1 && !control)
        return FALSE;

    if (COSMControl* old = GetControl(m_selectedIndex))
    {
        old->OnMouseMove(CPoint(-1, -1));
        old->SetSelected(0);
    }
    m_selectedIndex = index;
    if (index == -1)
    {
        KillTimer(kTimerHover);
        return TRUE;
    }
    if (how != kSelectMouse)
        EnsureVisible(control);
    control->SetSelected(how == kSelectMouse ? 1 : std::max(how, kSelectForward));
    if (m_trackingMode != 0)
        AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_MENU, index + 1);
    GetMouseManager()->SetSelectedBar(this);
    if (how == kSelectMouse && m_hoverSelect)
        SetTimer(kTimerHover, kHoverDelay, nullptr);
    return TRUE;
}

BOOL COSMCommandBar::SetPopuped(int index, BOOL keyboard)
{
    if (index == m_popupedIndex)
        return FALSE;
    if (COSMControl* old = GetControl(m_popupedIndex))
    {
        m_popupedIndex = -1;
        old->OnSetPopup(FALSE);
    }
    m_popupedIndex = -1;
    if (index == -1)
        return TRUE;
    COSMControl* control = GetControl(index);
    if (!control || control->GetEnabled() == 0)
        return FALSE;
    m_popupedIndex = index;
    SetTrackingMode(2, FALSE, keyboard);
    SetSelected(index, keyboard);
    if (!control->OnSetPopup(TRUE))
    {
        m_popupedIndex = -1;
        return FALSE;
    }
    const COSMCommandBars* commandBars = GetCommandBars();
    if (commandBars && commandBars->GetCommandBarsOptions()->m_showFullAfterDelay && GetSafeHwnd())
        SetTimer(kTimerExpand, kExpandDelay, nullptr);
    return TRUE;
}

// ---- Mouse ----

void COSMCommandBar::OnMouseMove(UINT flags, CPoint point)
{
    if (!GetSafeHwnd())
        return;
    if (m_trackingMode == 0 && m_position != kPositionPopup && !IsTopParentActive(m_hWnd))
        return;
    COSMMouseManager* mouse = GetMouseManager();
    if (mouse->IsTrackActive(this) || IsUnderMouseLock())
        return;
    if (COSMCommandBars* commandBars = GetCommandBars(); commandBars && commandBars->IsCustomizeMode())
    {
        if (COSMControl* selection = commandBars->GetCustomizeSelection())
            selection->OnCustomizeMouseMove(point);
        return;
    }
    const BOOL popupOpen = m_popupedIndex != -1;
    if (popupOpen && !m_hoverSelect)
        return;

    int candidate = m_trackingMode != 0 && (m_position != kPositionPopup || popupOpen || m_selectedByKeyboard)
                        ? m_selectedIndex
                        : -1;
    mouse->TrackMouseLeave(m_hWnd);
    if (COSMControl* control = m_controls->HitTest(point))
    {
        candidate = control->GetIndex();
        control->OnMouseMove(point);
    }
    SetSelected(candidate, kSelectMouse);
}

void COSMCommandBar::OnMouseLeave()
{
    if (IsUnderMouseLock())
        return;
    if (m_trackingMode != 0 && (m_position != kPositionPopup || m_popupedIndex != -1))
        return;
    if (m_trackLockCount == 0)
        SetSelected(-1, kSelectMouse);
}

void COSMCommandBar::OnNcMouseMove(UINT hitTest, CPoint point)
{
    OnMouseLeave();
    Default();
}

void COSMCommandBar::OnLButtonDown(UINT flags, CPoint point)
{
    COSMControl* control = m_controls->HitTest(point);
    if (m_position == kPositionPopup && m_type == 1 && m_popupedIndex != -1)
    {
        COSMControl* popuped = GetControl(m_popupedIndex);
        if (control != popuped)
        {
            if (m_selectedIndex == m_popupedIndex)
                SetSelected(-1, kSelectMouse);
            SetPopuped(-1, FALSE);
        }
    }
    if (!control)
    {
        Default();
        return;
    }
    COSMCommandBars* commandBars = GetCommandBars();
    if (commandBars && !commandBars->IsCustomizeMode() && IsToolBar() && ::GetKeyState(VK_MENU) < 0 &&
        commandBars->GetCommandBarsOptions()->m_altDragCustomization && control->IsCustomizeClickAllowed())
    {
        // Alt held: the control is dragged to another place or bar as in customize mode, for this one drag.
        const RefPtr<COSMCommandBar> keepThis = RefPtr<COSMCommandBar>::Retain(this);
        commandBars->SetCustomizeMode(TRUE);
        SetPopuped(-1, FALSE);
        SetSelected(-1, kSelectMouse);
        control->OnCustomizeLButtonDown(point);
        commandBars->SetCustomizeMode(FALSE);
        commandBars->RecalcFrameLayout(FALSE);
        commandBars->ClosePopups();
        return;
    }
    control->OnLButtonDown(point);
}

void COSMCommandBar::OnLButtonUp(UINT flags, CPoint point)
{
    if (IsCustomizeMode())
        return;
    if (COSMControl* control = m_controls->HitTest(point))
        control->OnLButtonUp(point);
    else
        Default();
}

void COSMCommandBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (IsCustomizeMode())
        return;
    if (COSMControl* control = m_controls->HitTest(point))
        control->OnLButtonDblClk(point);
}

void COSMCommandBar::OnRButtonDown(UINT flags, CPoint point)
{
    COSMControl* control = m_controls->HitTest(point);
    if (control && control->OnRButtonDown(point))
        return;
    COSMCommandBars* commandBars = GetCommandBars();
    if (control && commandBars && IsCustomizable() && commandBars->IsCustomizeMode() && control->IsVisible(0) &&
        control->IsCustomizeClickAllowed())
    {
        SetPopuped(-1, FALSE);
        SetSelected(-1, kSelectMouse);
        commandBars->SetCustomizeSelection(control);
        COSMCustomizeDropSource* dropSource = commandBars->GetDropSource();
        if (dropSource->GetSheet() && COSMCustomizeDropSource::s_pfnTrackSheetContextMenu)
        {
            ClientToScreen(&point);
            COSMCustomizeDropSource::s_pfnTrackSheetContextMenu(dropSource->GetSheet(), point.x, point.y);
        }
        return;
    }
    Default();
}

void COSMCommandBar::OnRButtonUp(UINT flags, CPoint point)
{
    if (IsCustomizeMode())
        return;
    if (COSMControl* control = m_controls->HitTest(point))
    {
        CWnd* site = GetSite();
        if (site && ::IsWindow(site->GetSafeHwnd()) &&
            site->SendMessage(kMessageControlRButtonUp, reinterpret_cast<WPARAM>(&point),
                              reinterpret_cast<LPARAM>(control)) == 1)
            return;
        // In a popup tracked for the right button, the right button chooses.
        if (GetRootParent()->m_rightButtonTracking)
        {
            control->OnLButtonUp(point);
            return;
        }
        if (control->OnRButtonUp(point))
            return;
    }
    COSMCommandBar* root = GetRootParent();
    if (root != this)
        root->OnChildBarRButtonUp(this, point.x, point.y);
    else
        Default();
}

LRESULT COSMCommandBar::OnNcHitTest(CPoint point)
{
    if (!IsHelpMode())
        return CWnd::OnNcHitTest(point);
    CPoint client = point;
    ScreenToClient(&client);
    const COSMControl* control = m_controls->HitTest(client);
    if (control && control->GetType() >= 2 && control->GetType() <= 4 && static_cast<int>(control->GetID()) < 1)
        return HTMENU;
    return HTCLIENT;
}

void COSMCommandBar::OnNcLButtonDown(UINT hitTest, CPoint point)
{
    if (!IsHelpMode())
    {
        Default();
        return;
    }
    CPoint client = point;
    ScreenToClient(&client);
    OnLButtonDown(0, client);
}

// ---- Timers ----

void COSMCommandBar::OnTimer(UINT_PTR id)
{
    Default();
    switch (id)
    {
    case kTimerKeyboardTips:
        if (GetMouseManager()->GetTopTrackedBar() == this && GetKeyboardTipsLevel() == 0)
        {
            if (COSMCommandBars* commandBars = GetCommandBars())
                commandBars->ShowKeyboardTips(this, 1);
        }
        break;
    case COSMCommandBarAnimation::kTimerId:
        m_animation->OnAnimationTimer();
        break;
    case kTimerHover:
        if (m_trackLockCount != 0)
            break;
        KillTimer(kTimerHover);
        if (COSMControl* control = GetControl(m_selectedIndex))
            control->OnMouseHover();
        break;
    case kTimerExpand:
        if (m_trackLockCount != 0)
            break;
        KillTimer(kTimerExpand);
        if (m_popupedIndex != -1 && m_popupedIndex == m_selectedIndex)
        {
            COSMControl* control = GetControl(m_popupedIndex);
            if (control && control->IsKindOf(RUNTIME_CLASS(COSMControlPopup)) && control->IsCursorOver())
                static_cast<COSMControlPopup*>(control)->ExpandPopupBar();
        }
        break;
    default:
        break;
    }
}
