// How a bar follows the mouse and the keyboard: the tracking mode, the hot and the popped-up control, the mouse
// handlers, keyboard navigation with access keys, and the bar's timers.
#include "framework/commandbars/CommandBar.h"

#include "framework/commandbars/CommandBarAnimation.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/HeldReference.h"
#include "framework/commandbars/KeyboardManager.h"
#include "framework/commandbars/MnemonicKeys.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/foundation/WindowFunctions.h"

#include <algorithm>

BOOL(WINAPI* COSMCommandBar::s_pfnMessageBeep)(UINT type) = &::MessageBeep;

namespace {

const int kMenuBarType = 0;
const int kPopupBarType = 2;

// WM_SYSCOMMAND's lParam for a menu opened from the keyboard with Space.
const LPARAM kKeyMenuSpace = 0x20;
// MapVirtualKey's translation to the character a key types.
const UINT kMapToChar = 2;

BOOL IsKeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

BOOL IsEnabledPopupControl(const COSMControl* control)
{
    return control && control->IsKindOf(RUNTIME_CLASS(COSMControlPopup)) && control->GetEnabled() != 0;
}

// The navigation kind of an arrow, Home or End key (after right-to-left swapping); -1 for other keys.
int NavigationKind(UINT key, BOOL horizontal)
{
    switch (key)
    {
    case VK_END:
        return COSMCommandBar::kKeyLast;
    case VK_HOME:
        return COSMCommandBar::kKeyFirst;
    case VK_LEFT:
        return horizontal ? COSMCommandBar::kKeyPreviousInRow : COSMCommandBar::kKeyCollapse;
    case VK_UP:
        return horizontal ? COSMCommandBar::kKeyCollapse : COSMCommandBar::kKeyPrevious;
    case VK_RIGHT:
        return horizontal ? COSMCommandBar::kKeyNextInRow : COSMCommandBar::kKeyExpand;
    case VK_DOWN:
        return horizontal ? COSMCommandBar::kKeyExpand : COSMCommandBar::kKeyNext;
    default:
        return -1;
    }
}

}  // namespace

void KeyToLayout(const COSMCommandBar* bar, UINT& key)
{
    if (!bar || !bar->IsLayoutRTL())
        return;
    if (key == VK_LEFT)
        key = VK_RIGHT;
    else if (key == VK_RIGHT)
        key = VK_LEFT;
}

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
        if (m_type == kMenuBarType)
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
        ScopedReference<COSMCommandBar> keepThis(this);
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
        // The customize dialog's context menu for the control comes with the customize dialog.
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

// ---- Keys ----

int COSMCommandBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (m_trackingMode == 0)
        return kNotHandled;
    if (nMessage == WM_KEYDOWN)
        return OnHookKeyDown(static_cast<UINT>(wParam), lParam);
    if (nMessage == WM_MOUSEWHEEL)
    {
        COSMControl* control = GetControl(m_selectedIndex);
        if (control && control->IsFocused())
            control->OnHookMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), CPoint(lParam));
        return kHandled;
    }
    return kNotHandled;
}

int COSMCommandBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (IsCustomizeMode() || IsHelpMode())
        return 2;
    if (m_trackLockCount > 0)
        return 1;

    // The site may end this bar while it looks at the key: the reference keeps the object until we return, and the
    // window handle tells whether the bar is still there.
    ScopedReference<COSMCommandBar> keepAlive(this);
    const HWND window = m_hWnd;
    if (CWnd* site = GetSite(); site && ::IsWindow(site->GetSafeHwnd()))
    {
        site->SendMessage(kMessageTrackingKey, reinterpret_cast<WPARAM>(&key), reinterpret_cast<LPARAM>(this));
        if (window && (!::IsWindow(window) || m_hWnd != window))
            return 1;
    }

    if (COSMControl* selected = GetControl(m_selectedIndex); selected && selected->IsFocused())
    {
        const int answer = selected->OnHookKeyDown(key);
        if (answer == 1 || answer == 2)
            return answer;
    }
    if (!GetSafeHwnd())
        return 1;

    switch (key)
    {
    case VK_TAB:
        // Tab walks the bar's controls like the arrow keys (Shift+Tab backwards); a focusable control takes the focus.
        ProcessSpecialKey(IsKeyDown(VK_SHIFT) ? kKeyPrevious : kKeyNext);
        if (COSMControl* selected = GetControl(m_selectedIndex); selected && selected->IsFocusable())
            selected->SetFocused(TRUE);
        return 1;
    case VK_RETURN:
        ProcessSpecialKey(kKeyReturn);
        return 1;
    case VK_ESCAPE:
        ProcessSpecialKey(kKeyEscape);
        return 1;
    case VK_SPACE:
        if (ProcessSpecialKey(kKeySpace))
            return 1;
        break;
    default:
        break;
    }

    const HWND focus = ::GetFocus();
    if (focus && ::IsChild(m_hWnd, focus))
        return 2;
    UINT layoutKey = key;
    KeyToLayout(this, layoutKey);
    const int kind = NavigationKind(layoutKey, IsHorizontalBar());
    if (kind != -1)
    {
        ProcessSpecialKey(kind);
        return 1;
    }

    if (::MapVirtualKeyA(key, kMapToChar) == 0)
        return 0;
    const BOOL ctrl = IsKeyDown(VK_CONTROL);
    if (!ctrl && GetKeyboardTipsLevel() > 0)
    {
        OnKeyboardTipChar(key);
        return 1;
    }
    // Frame access keys of toolbars come with the toolbars.
    if (!ctrl)
    {
        BOOL ambiguous = FALSE;
        const int index = FindAccel(key, ambiguous);
        if (index != -1)
        {
            SetSelected(index, kSelectForward);
            if (!ambiguous)
            {
                if (COSMControl* control = GetControl(index))
                    control->OnMnemonicActivate();
            }
            return 1;
        }
    }
    if (key != VK_SHIFT && key != VK_CONTROL)
        s_pfnMessageBeep(0);
    return 1;
}

BOOL COSMCommandBar::ProcessSpecialKey(int kind)
{
    if (kind == kKeySpace)
    {
        if (m_type != kMenuBarType)
            return FALSE;
        if (COSMCommandBars* commandBars = GetCommandBars())
            commandBars->ClosePopups();
        else
            GetMouseManager()->SendTrackLost();
        CWnd* site = GetSite();
        if (site && ::IsWindow(site->GetSafeHwnd()))
            site->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, kKeyMenuSpace);
        return TRUE;
    }
    if (kind == kKeyPreviousInRow)
        kind = kKeyPrevious;
    else if (kind == kKeyNextInRow)
        kind = kKeyNext;
    const BOOL popupToolBar = m_position == kPositionPopup && m_type == 1;
    if (kind == kKeyNext || kind == kKeyPrevious)
        HideKeyboardTips();

    const BOOL popupOpen = m_popupedIndex != -1;
    if (m_selectedIndex != -1 && m_selectedIndex == m_popupedIndex && popupToolBar)
    {
        if (kind == kKeyNext)
            return FALSE;
        if (kind == kKeyPrevious)
            kind = kKeyCollapse;
    }
    else if (kind == kKeyCollapse && !popupOpen && m_selectedIndex != -1 && (popupToolBar || !GetParentCommandBar()) &&
             IsEnabledPopupControl(GetControl(m_selectedIndex)))
    {
        kind = kKeyExpand;
    }

    if ((kind == kKeyCollapse || kind == kKeyExpand) && !popupOpen && (popupToolBar || m_position == kPositionFloating))
    {
        const int direction = kind == kKeyExpand ? 1 : -1;
        if (m_selectedIndex == -1)
        {
            SetSelected(m_controls->GetNext(-1, direction), kSelectForward);
            return TRUE;
        }
        if (!IsEnabledPopupControl(GetControl(m_selectedIndex)))
            return MoveToOtherRow(kind);
    }

    switch (kind)
    {
    case kKeyNext:
        SetSelected(m_controls->GetNext(m_selectedIndex, 1), kSelectForward);
        return TRUE;
    case kKeyPrevious:
        SetSelected(m_controls->GetNext(m_selectedIndex, -1), kSelectBackward);
        return TRUE;
    case kKeyCollapse:
        if (!popupOpen)
            return FALSE;
        SetPopuped(-1, FALSE);
        SetTrackingMode(1, FALSE, FALSE);
        return TRUE;
    case kKeyExpand:
    {
        COSMControl* control = GetControl(m_selectedIndex);
        if (!control || m_selectedIndex == m_popupedIndex)
            return FALSE;
        control->SetSelected(kSelectForward);
        return SetPopuped(m_selectedIndex, FALSE);
    }
    case kKeyEscape:
    {
        const int level = GetKeyboardTipsLevel();
        if (level >= 2)
        {
            GetCommandBars()->ShowKeyboardTips(this, level - 1);
            return TRUE;
        }
        if (COSMCommandBar* parent = GetParentCommandBar())
            parent->SetTrackingMode(1, FALSE, FALSE);
        SetTrackingMode(0, TRUE, FALSE);
        return TRUE;
    }
    case kKeyReturn:
        if (COSMControl* control = GetControl(m_selectedIndex))
        {
            control->SetSelected(kSelectForward);
            control->OnClick(TRUE, control->GetRect().TopLeft());
        }
        return TRUE;
    case kKeyFirst:
        SetSelected(m_controls->GetNext(-1, 1), kSelectForward);
        return TRUE;
    case kKeyLast:
        SetSelected(m_controls->GetNext(GetControlCount(), -1), kSelectBackward);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL COSMCommandBar::MoveToOtherRow(int kind)
{
    const int direction = kind == kKeyExpand ? 1 : -1;
    const COSMControl* selected = GetControl(m_selectedIndex);
    const CRect selectedRow = selected->GetRowRect();
    const int selectedLeft = selected->GetRect().left;
    int candidate = -1;
    for (int index = m_controls->GetNext(m_selectedIndex, direction); index != -1 && index != m_selectedIndex;
         index = m_controls->GetNext(index, direction))
    {
        const COSMControl* control = GetControl(index);
        const CRect row = control->GetRowRect();
        if (candidate == -1)
        {
            if (row.top != selectedRow.top && !row.IsRectEmpty())
                candidate = index;
            continue;
        }
        // Along the candidate's row, towards the column of the selection.
        const COSMControl* best = GetControl(candidate);
        const int left = control->GetRect().left;
        const int bestLeft = best->GetRect().left;
        const int low = std::min(bestLeft, selectedLeft);
        const int high = std::max(bestLeft, selectedLeft);
        if (row.top != best->GetRowRect().top || left < low || left > high)
            break;
        candidate = index;
    }
    if (candidate != -1)
        SetSelected(candidate, kind == kKeyExpand ? kSelectForward : kSelectBackward);
    return TRUE;
}

int COSMCommandBar::FindAccel(UINT key, BOOL& ambiguous) const
{
    ambiguous = FALSE;
    const int start = m_controls->GetNext(m_selectedIndex, 1);
    if (start == -1)
        return -1;
    int mnemonicMatch = -1;
    int letterMatch = -1;
    BOOL lettersAmbiguous = FALSE;
    int index = start;
    do
    {
        const COSMControl* control = GetControl(index);
        const CString caption = control->GetCaption();
        if (!caption.IsEmpty() && control->GetEnabled() != 0)
        {
            const int position = FindMnemonicPos(caption);
            const BOOL marked = position >= 0;
            const UINT character = static_cast<BYTE>(marked ? caption[position + 1] : caption[0]);
            if (CompareMnemonicKey(character, key))
            {
                if (marked)
                {
                    if (mnemonicMatch != -1)
                    {
                        ambiguous = TRUE;
                        return mnemonicMatch;
                    }
                    mnemonicMatch = index;
                }
                else if (letterMatch == -1)
                {
                    letterMatch = index;
                }
                else
                {
                    lettersAmbiguous = TRUE;
                }
            }
        }
        index = m_controls->GetNext(index, 1);
    } while (index != -1 && index != start);

    if (mnemonicMatch != -1)
        return mnemonicMatch;
    // Captions that only share a first letter make it ambiguous when no caption marks the key.
    ambiguous = lettersAmbiguous;
    return letterMatch;
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
