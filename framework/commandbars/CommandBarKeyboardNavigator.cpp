// The keys of a tracking bar: the hook messages the keyboard manager hands the bar, and the navigator that walks the
// controls with arrows, Home, End and Tab, moves between the manager's bars with Ctrl+Tab, offers typed characters as
// frame access keys and access keys, and runs Return, Escape and Space.
#include "framework/commandbars/CommandBarKeyboardNavigator.h"

#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MnemonicKeys.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ControlPopup.h"

#include <algorithm>

BOOL(WINAPI* COSMCommandBar::s_pfnMessageBeep)(UINT type) = &::MessageBeep;

namespace {

// WM_SYSCOMMAND's lParam for a menu opened from the keyboard with Space.
const LPARAM kKeyMenuSpace = 0x20;

BOOL IsKeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

BOOL IsEnabledPopupControl(const COSMControl* control)
{
    return control && control->IsKindOf(RUNTIME_CLASS(COSMControlPopup)) && control->GetEnabled() != 0;
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

// ---- The bar's key operations ----

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
    return m_keyboardNavigator->OnHookKeyDown(key, lParam);
}

BOOL COSMCommandBar::ProcessSpecialKey(int kind)
{
    return m_keyboardNavigator->ProcessSpecialKey(kind);
}

int COSMCommandBar::FindAccel(UINT key, BOOL& ambiguous) const
{
    return m_keyboardNavigator->FindAccel(key, ambiguous);
}

// ---- The navigator ----

COSMCommandBarKeyboardNavigator::COSMCommandBarKeyboardNavigator(COSMCommandBar& bar) : m_bar(bar) {}

int COSMCommandBarKeyboardNavigator::NavigationKind(UINT key, BOOL horizontal)
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

int COSMCommandBarKeyboardNavigator::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (m_bar.IsCustomizeMode() || m_bar.IsHelpMode())
        return 2;
    if (m_bar.m_trackLockCount > 0)
        return 1;

    // The site may end this bar while it looks at the key: the reference keeps the object until we return, and the
    // window handle tells whether the bar is still there.
    const RefPtr<COSMCommandBar> keepAlive = RefPtr<COSMCommandBar>::Retain(&m_bar);
    const HWND window = m_bar.m_hWnd;
    if (CWnd* site = m_bar.GetSite(); site && ::IsWindow(site->GetSafeHwnd()))
    {
        site->SendMessage(COSMCommandBar::kMessageTrackingKey, reinterpret_cast<WPARAM>(&key),
                          reinterpret_cast<LPARAM>(&m_bar));
        if (window && (!::IsWindow(window) || m_bar.m_hWnd != window))
            return 1;
    }

    if (COSMControl* selected = m_bar.GetControl(m_bar.m_selectedIndex); selected && selected->IsFocused())
    {
        const int answer = selected->OnHookKeyDown(key, lParam);
        if (answer == 1 || answer == 2)
            return answer;
    }
    if (!m_bar.GetSafeHwnd())
        return 1;

    switch (key)
    {
    case VK_TAB:
        if (IsKeyDown(VK_CONTROL) && SwitchBar(IsKeyDown(VK_SHIFT)))
            return 1;
        // Tab walks the bar's controls like the arrow keys (Shift+Tab backwards); a focusable control takes the focus.
        m_bar.ProcessSpecialKey(IsKeyDown(VK_SHIFT) ? COSMCommandBar::kKeyPrevious : COSMCommandBar::kKeyNext);
        if (COSMControl* selected = m_bar.GetControl(m_bar.m_selectedIndex); selected && selected->IsFocusable())
            selected->SetFocused(TRUE);
        return 1;
    case VK_RETURN:
        m_bar.ProcessSpecialKey(COSMCommandBar::kKeyReturn);
        return 1;
    case VK_ESCAPE:
        m_bar.ProcessSpecialKey(COSMCommandBar::kKeyEscape);
        return 1;
    case VK_SPACE:
        if (m_bar.ProcessSpecialKey(COSMCommandBar::kKeySpace))
            return 1;
        break;
    default:
        break;
    }

    const HWND focus = ::GetFocus();
    if (focus && ::IsChild(m_bar.m_hWnd, focus))
        return 2;
    UINT layoutKey = key;
    KeyToLayout(&m_bar, layoutKey);
    const int kind = NavigationKind(layoutKey, m_bar.IsHorizontalBar());
    if (kind != -1)
    {
        // A move this bar cannot make goes on to the bar it was opened from: Left and Right past a menu's items
        // move along the menu bar.
        return m_bar.ProcessSpecialKey(kind) ? 1 : 0;
    }
    if (::MapVirtualKeyA(key, MAPVK_VK_TO_CHAR) == 0)
        return 0;
    return OnCharacterKey(key);
}

BOOL COSMCommandBarKeyboardNavigator::SwitchBar(BOOL backward)
{
    COSMCommandBars* commandBars = m_bar.GetCommandBars();
    COSMCommandBar* root = m_bar.GetRootParent();
    if (!commandBars || !root || !root->IsToolBar())
        return FALSE;
    // Handled even when there is no other bar to go to: Ctrl+Tab never walks the controls.
    commandBars->ActivateCommandBar(root, backward ? -1 : 1);
    return TRUE;
}

int COSMCommandBarKeyboardNavigator::OnCharacterKey(UINT key)
{
    const BOOL ctrl = IsKeyDown(VK_CONTROL);
    if (!ctrl && m_bar.GetKeyboardTipsLevel() > 0)
    {
        m_bar.OnKeyboardTipChar(key);
        return 1;
    }
    // A toolbar (the menu bar among them) lets the key reach the other bars' access keys first, so that a button of
    // another toolbar answers while the menu bar tracks.
    if (m_bar.IsToolBar())
    {
        if (COSMCommandBars* commandBars = m_bar.GetCommandBars(); commandBars && commandBars->OnFrameAccel(key))
            return 1;
    }
    if (!ctrl)
    {
        BOOL ambiguous = FALSE;
        const int index = m_bar.FindAccel(key, ambiguous);
        if (index != -1)
        {
            m_bar.SetSelected(index, COSMCommandBar::kSelectForward);
            if (!ambiguous)
            {
                if (COSMControl* control = m_bar.GetControl(index))
                    control->OnMnemonicActivate();
            }
            return 1;
        }
    }
    if (key != VK_SHIFT && key != VK_CONTROL)
        COSMCommandBar::s_pfnMessageBeep(0);
    return 1;
}

BOOL COSMCommandBarKeyboardNavigator::ProcessSpecialKey(int kind)
{
    COSMCommandBar& bar = m_bar;
    if (kind == COSMCommandBar::kKeySpace)
    {
        if (bar.m_type != COSMCommandBar::kTypeMenuBar)
            return FALSE;
        if (COSMCommandBars* commandBars = bar.GetCommandBars())
            commandBars->ClosePopups();
        else
            bar.GetMouseManager()->SendTrackLost();
        CWnd* site = bar.GetSite();
        if (site && ::IsWindow(site->GetSafeHwnd()))
            site->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, kKeyMenuSpace);
        return TRUE;
    }
    if (kind == COSMCommandBar::kKeyPreviousInRow)
        kind = COSMCommandBar::kKeyPrevious;
    else if (kind == COSMCommandBar::kKeyNextInRow)
        kind = COSMCommandBar::kKeyNext;
    const BOOL popupToolBar = bar.m_position == COSMCommandBar::kPositionPopup && bar.m_type == 1;
    if (kind == COSMCommandBar::kKeyNext || kind == COSMCommandBar::kKeyPrevious)
        bar.HideKeyboardTips();

    const int selectedIndex = bar.m_selectedIndex;
    const BOOL popupOpen = bar.m_popupedIndex != -1;
    if (selectedIndex != -1 && selectedIndex == bar.m_popupedIndex && popupToolBar)
    {
        if (kind == COSMCommandBar::kKeyNext)
            return FALSE;
        if (kind == COSMCommandBar::kKeyPrevious)
            kind = COSMCommandBar::kKeyCollapse;
    }
    else if (kind == COSMCommandBar::kKeyCollapse && !popupOpen && selectedIndex != -1 &&
             (popupToolBar || !bar.GetParentCommandBar()) && IsEnabledPopupControl(bar.GetControl(selectedIndex)))
    {
        kind = COSMCommandBar::kKeyExpand;
    }

    if ((kind == COSMCommandBar::kKeyCollapse || kind == COSMCommandBar::kKeyExpand) && !popupOpen &&
        (popupToolBar || bar.m_position == COSMCommandBar::kPositionFloating))
    {
        const int direction = kind == COSMCommandBar::kKeyExpand ? 1 : -1;
        if (selectedIndex == -1)
        {
            bar.SetSelected(bar.m_controls->GetNext(-1, direction), COSMCommandBar::kSelectForward);
            return TRUE;
        }
        if (!IsEnabledPopupControl(bar.GetControl(selectedIndex)))
            return MoveToOtherRow(kind);
    }

    switch (kind)
    {
    case COSMCommandBar::kKeyNext:
        bar.SetSelected(bar.m_controls->GetNext(selectedIndex, 1), COSMCommandBar::kSelectForward);
        return TRUE;
    case COSMCommandBar::kKeyPrevious:
        bar.SetSelected(bar.m_controls->GetNext(selectedIndex, -1), COSMCommandBar::kSelectBackward);
        return TRUE;
    case COSMCommandBar::kKeyCollapse:
        if (!popupOpen)
            return FALSE;
        bar.SetPopuped(-1, FALSE);
        bar.SetTrackingMode(1, FALSE, FALSE);
        return TRUE;
    case COSMCommandBar::kKeyExpand:
    {
        COSMControl* control = bar.GetControl(selectedIndex);
        if (!control || selectedIndex == bar.m_popupedIndex)
            return FALSE;
        control->SetSelected(COSMCommandBar::kSelectForward);
        return bar.SetPopuped(selectedIndex, FALSE);
    }
    case COSMCommandBar::kKeyEscape:
    {
        const int level = bar.GetKeyboardTipsLevel();
        if (level >= 2)
        {
            bar.GetCommandBars()->ShowKeyboardTips(&bar, level - 1);
            return TRUE;
        }
        if (COSMCommandBar* parent = bar.GetParentCommandBar())
            parent->SetTrackingMode(1, FALSE, FALSE);
        bar.SetTrackingMode(0, TRUE, FALSE);
        return TRUE;
    }
    case COSMCommandBar::kKeyReturn:
        if (COSMControl* control = bar.GetControl(selectedIndex))
        {
            control->SetSelected(COSMCommandBar::kSelectForward);
            control->OnClick(TRUE, control->GetRect().TopLeft());
        }
        return TRUE;
    case COSMCommandBar::kKeyFirst:
        bar.SetSelected(bar.m_controls->GetNext(-1, 1), COSMCommandBar::kSelectForward);
        return TRUE;
    case COSMCommandBar::kKeyLast:
        bar.SetSelected(bar.m_controls->GetNext(bar.GetControlCount(), -1), COSMCommandBar::kSelectBackward);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL COSMCommandBarKeyboardNavigator::MoveToOtherRow(int kind)
{
    const int direction = kind == COSMCommandBar::kKeyExpand ? 1 : -1;
    const int selectedIndex = m_bar.m_selectedIndex;
    const COSMControl* selected = m_bar.GetControl(selectedIndex);
    const CRect selectedRow = selected->GetRowRect();
    const int selectedLeft = selected->GetRect().left;
    COSMControls* controls = m_bar.m_controls.Get();
    int candidate = -1;
    for (int index = controls->GetNext(selectedIndex, direction); index != -1 && index != selectedIndex;
         index = controls->GetNext(index, direction))
    {
        const COSMControl* control = m_bar.GetControl(index);
        const CRect row = control->GetRowRect();
        if (candidate == -1)
        {
            if (row.top != selectedRow.top && !row.IsRectEmpty())
                candidate = index;
            continue;
        }
        // Along the candidate's row, towards the column of the selection.
        const COSMControl* best = m_bar.GetControl(candidate);
        const int left = control->GetRect().left;
        const int bestLeft = best->GetRect().left;
        const int low = std::min(bestLeft, selectedLeft);
        const int high = std::max(bestLeft, selectedLeft);
        if (row.top != best->GetRowRect().top || left < low || left > high)
            break;
        candidate = index;
    }
    if (candidate != -1)
    {
        m_bar.SetSelected(candidate, kind == COSMCommandBar::kKeyExpand ? COSMCommandBar::kSelectForward
                                                                        : COSMCommandBar::kSelectBackward);
    }
    return TRUE;
}

int COSMCommandBarKeyboardNavigator::FindAccel(UINT key, BOOL& ambiguous) const
{
    ambiguous = FALSE;
    COSMControls* controls = m_bar.m_controls.Get();
    const int start = controls->GetNext(m_bar.m_selectedIndex, 1);
    if (start == -1)
        return -1;
    int mnemonicMatch = -1;
    int letterMatch = -1;
    BOOL lettersAmbiguous = FALSE;
    int index = start;
    do
    {
        const COSMControl* control = m_bar.GetControl(index);
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
        index = controls->GetNext(index, 1);
    } while (index != -1 && index != start);

    if (mnemonicMatch != -1)
        return mnemonicMatch;
    // Captions that only share a first letter make it ambiguous when no caption marks the key.
    ambiguous = lettersAmbiguous;
    return letterMatch;
}
