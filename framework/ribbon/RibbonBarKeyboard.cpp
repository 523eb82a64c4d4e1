// The ribbon bar and the keyboard: Alt, the quick-access digits and the tabs' access keys, arrows that move by
// position among the ribbon's controls, and the keyboard tips of the two levels (quick access, tabs and the system
// button; then the selected tab's group controls).
#include "framework/ribbon/RibbonBar.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlFactory.h"
#include "framework/commandbars/KeyboardTipLayout.h"
#include "framework/commandbars/MnemonicKeys.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonKeyboardLayout.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/ribbon/RibbonPaintManager.h"

#include <cstdlib>

namespace {

// Control types and styles the tip placement tells apart.
constexpr int kRibbonTipStyleLargeImage = 4;
constexpr int kRibbonTipTypeCombo = 5;
constexpr int kRibbonTipTypeEdit = 6;
constexpr int kRibbonTipTypeCheckBox = 9;
constexpr int kRibbonTipTypeRadio = 11;
// The quick-access digits reach the first 9 controls, the tips the first 18.
constexpr int kRibbonLastQuickAccessTip = 18;

// Ranges [a0, a1] and [b0, b1] that overlap or touch.
bool RibbonRangesTouch(int a0, int a1, int b0, int b1)
{
    return a0 <= b1 && b0 <= a1;
}

}  // namespace

// ---- The pure rules ----

int OsmRibbonFindNavigationTarget(const CRect& current, const std::vector<CRect>& candidates, UINT key)
{
    const bool horizontal = key == VK_LEFT || key == VK_RIGHT;
    if (!horizontal && key != VK_UP && key != VK_DOWN)
        return -1;
    const CPoint centre = current.CenterPoint();
    // The distance across the direction of travel breaks ties.
    auto across = [&](const CRect& rect) {
        const CPoint other = rect.CenterPoint();
        return horizontal ? std::abs(other.y - centre.y) : std::abs(other.x - centre.x);
    };
    auto overlaps = [&](const CRect& rect) {
        return horizontal ? RibbonRangesTouch(rect.top, rect.bottom, current.top, current.bottom)
                          : RibbonRangesTouch(rect.left, rect.right, current.left, current.right);
    };
    // The edge each direction compares: smaller wins for Right and Down, larger for Left and Up.
    auto edge = [&](const CRect& rect) {
        switch (key)
        {
        case VK_RIGHT:
            return rect.left;
        case VK_LEFT:
            return rect.right;
        case VK_DOWN:
            return rect.top;
        default:
            return rect.bottom;
        }
    };
    const bool smallerWins = key == VK_RIGHT || key == VK_DOWN;
    auto ahead = [&](const CRect& rect) {
        switch (key)
        {
        case VK_RIGHT:
            return rect.left >= current.right;
        case VK_LEFT:
            return rect.right <= current.left;
        case VK_DOWN:
            return rect.top >= current.bottom;
        default:
            return rect.bottom <= current.top;
        }
    };

    auto pick = [&](bool onlyAhead, bool laterOnTie) {
        int best = -1;
        for (int i = 0; i < static_cast<int>(candidates.size()); ++i)
        {
            const CRect& rect = candidates[static_cast<size_t>(i)];
            if (!overlaps(rect) || (onlyAhead && !ahead(rect)))
                continue;
            if (best == -1)
            {
                best = i;
                continue;
            }
            const CRect& held = candidates[static_cast<size_t>(best)];
            const int e = edge(rect), heldEdge = edge(held);
            if (e != heldEdge)
            {
                if (smallerWins ? e < heldEdge : e > heldEdge)
                    best = i;
                continue;
            }
            const int distance = across(rect), heldDistance = across(held);
            if (distance < heldDistance || (laterOnTie && distance == heldDistance))
                best = i;
        }
        return best;
    };

    const int target = pick(true, false);
    if (target != -1 || !horizontal)
        return target;
    return pick(false, key == VK_LEFT);
}

CString OsmRibbonQuickAccessTipText(int number)
{
    CString text;
    if (number >= 1 && number <= 9)
        text.Format("%i", number);
    else if (number >= 10 && number <= kRibbonLastQuickAccessTip)
        text.Format("0%i", number - 9);
    return text;
}

COSMRibbonTipPlacement OsmRibbonPlaceControlTip(const CRect& control, const CRect& group, int captionHeight,
                                                int clientBottom, int type, int style)
{
    COSMRibbonTipPlacement placement;
    // c: two pixels into the group's caption strip.
    const int c = group.bottom - captionHeight + 2;
    const CPoint centre = control.CenterPoint();
    if (CRect(group.left, c, group.right, group.bottom).PtInRect(centre))
    {
        placement.point = CPoint(centre.x, clientBottom - 6);
        placement.alignment = kKeyboardTipCenterHorz;
        return placement;
    }
    if (style == kRibbonTipStyleLargeImage && control.Height() > (c - group.top) / 2)
    {
        placement.point = CPoint(centre.x, c - 2);
        placement.alignment = kKeyboardTipCenterHorz | kKeyboardTipCenterVert;
        return placement;
    }
    if (type == COSMControlFactory::kTypeGallery)
    {
        placement.point = CPoint(control.right, c - 2);
        placement.alignment = kKeyboardTipCenterHorz | kKeyboardTipCenterVert;
        return placement;
    }
    // The three rows of small controls.
    int y = (group.top + c) / 2 - 1;
    if (centre.y < group.top + (c - group.top) / 3)
        y = group.top + 2;
    else if (centre.y > group.top + 2 * (c - group.top) / 3)
        y = c - 2;
    placement.point = CPoint(control.left + 11, y);
    placement.alignment = kKeyboardTipCenterVert;
    if (type == kRibbonTipTypeCheckBox || type == kRibbonTipTypeRadio)
        placement.point.x = control.left + 6;
    if ((type == kRibbonTipTypeCombo || type == kRibbonTipTypeEdit) && style == 0)
    {
        placement.point.x = centre.x;
        placement.alignment |= kKeyboardTipCenterHorz;
    }
    return placement;
}

// ---- Keys ----

BOOL COSMRibbonBar::IsKeyboardCuesVisible() const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return TRUE;
    if (commandBars->GetCommandBarsOptions()->m_keyboardCuesShow == COSMCommandBarsOptions::kCuesNever)
        return FALSE;
    return commandBars->IsKeyboardCuesShown();
}

BOOL COSMRibbonBar::ProcessFrameKey(UINT key)
{
    // Alt with Ctrl, or on a ribbon without tabs, does nothing: answering TRUE keeps the menu bar's own Alt
    // handling (which would track the bar) out of it.
    if (::GetKeyState(VK_CONTROL) & 0x8000)
        return key == VK_MENU;
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars || !m_controlTab)
        return FALSE;

    if (key == VK_MENU)
    {
        if (GetTabCount() == 0)
            return TRUE;
        commandBars->ClosePopups();
        commandBars->ShowKeyboardCues(TRUE);
        if (!m_minimized)
        {
            SetTrackingMode(TRUE, FALSE, TRUE);
            SetSelected(m_tabsVisible ? m_controlTab->GetIndex() : 0, kSelectKeyboard);
            m_controlTab->SetFocused(TRUE);
        }
        else
        {
            SetTrackingMode(TRUE, TRUE, TRUE);
        }
        commandBars->ShowKeyboardTips(this, 1);
        return TRUE;
    }

    if (key >= '1' && key <= '9')
    {
        COSMControl* control = m_quickAccessControls->GetVisibleAt(static_cast<int>(key - '1'));
        if (!control || !control->GetEnabled())
            return FALSE;
        commandBars->ClosePopups();
        commandBars->ShowKeyboardCues(TRUE);
        SetTrackingMode(TRUE, FALSE, TRUE);
        SetSelected(control->GetIndex(), kSelectKeyboard);
        control->OnMnemonicActivate();
        return TRUE;
    }

    for (int i = 0; i < GetTabCount(); ++i)
    {
        COSMRibbonTab* tab = GetTab(i);
        const CString caption = tab->GetCaption();
        if (caption.IsEmpty() || !tab->IsEnabled() || !tab->IsVisible())
            continue;
        const int pos = FindMnemonicPos(caption);
        if (pos < 0 || pos + 1 >= caption.GetLength() || !CompareMnemonicKey(static_cast<BYTE>(caption[pos + 1]), key))
            continue;
        if (m_trackingMode == 0)
            commandBars->ClosePopups();
        commandBars->ShowKeyboardCues(TRUE);
        m_enteredFromKeyboard = TRUE;
        SetCurSel(i);
        SetTrackingMode(TRUE, FALSE, TRUE);
        SetSelected(m_controlTab->GetIndex(), kSelectKeyboard);
        m_controlTab->SetFocused(TRUE);
        if (!m_minimized)
            commandBars->ShowKeyboardTips(this, 2);
        m_controlTab->SelectTab(TRUE);
        // A minimized ribbon's tab opens its popup instead, which shows the tips of its groups once it is up.
        COSMCommandBar* popup = m_minimized ? m_controlTab->GetCommandBar() : nullptr;
        if (popup && popup->GetSafeHwnd() && popup->GetTrackingMode() != 0)
            popup->PostMessage(WM_TIMER, kTimerKeyboardTips, 0);
        return TRUE;
    }
    return FALSE;
}

BOOL COSMRibbonBar::LeavesKeysToPopupAbove(const COSMCommandBar* bar)
{
    COSMMouseManager* mouse = bar ? bar->GetMouseManager() : nullptr;
    COSMCommandBar* top = mouse ? mouse->GetTopTrackedBar() : nullptr;
    if (!top || top == bar || !top->IsPopupBar() || top->GetTrackingMode() == 0 || !mouse->IsTracked(bar))
        return FALSE;
    // An edit or combo box of the bar that has the focus types into its own window while its list shows.
    const HWND focus = ::GetFocus();
    return !(focus && bar->GetSafeHwnd() && ::IsChild(bar->GetSafeHwnd(), focus));
}

int COSMRibbonBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (LeavesKeysToPopupAbove(this))
        return 0;
    // The context-menu keys reach the window: its default handling asks for a context menu from the keyboard
    // (WM_CONTEXTMENU), which the hook on the frame answers with the selected control's menu.
    if (key == VK_APPS || (key == VK_F10 && ::GetKeyState(VK_SHIFT) < 0))
        return kStop;
    return COSMMenuBar::OnHookKeyDown(key, lParam);
}

BOOL COSMRibbonBar::ProcessSpecialKey(int kind)
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (kind != kKeyEscape && commandBars)
        commandBars->HideKeyboardTips();
    if (ProcessSpatialKey(kind))
        return TRUE;
    return COSMMenuBar::ProcessSpecialKey(kind);
}

CRect COSMRibbonBar::GetNavigationRect(const COSMControl* control, const COSMControl* current, UINT key,
                                       const COSMCommandBar* bar) const
{
    CRect rect = control->GetRect();
    // The option button sits in the corner of its group's caption strip; arrows treat it as the whole strip.
    if (const auto* option = dynamic_cast<const COSMRibbonGroupOption*>(control))
    {
        if (const COSMRibbonGroup* group = option->GetRibbonGroup())
        {
            rect = group->GetCaptionRect();
            rect.DeflateRect(4, 0);
            return rect;
        }
    }
    // The customize button and the tab strip are the ribbon's own; its popups have neither.
    if (bar && bar != this)
        return rect;
    if (control != current && control == m_quickAccessPopup && !control->GetRibbonGroup() &&
        (key == VK_UP || key == VK_DOWN))
    {
        CRect client;
        GetClientRect(&client);
        rect.right = client.right;
        return rect;
    }
    if (control == current && control == m_controlTab && key == VK_UP)
    {
        if (const COSMRibbonTab* tab = GetSelectedTab())
            rect = tab->GetRect();
    }
    return rect;
}

BOOL COSMRibbonBar::ProcessSpatialKey(int kind, COSMCommandBar* bar)
{
    if (!bar)
        bar = this;
    COSMControl* current = bar->GetControl(bar->GetSelectedIndex());
    if (!current)
        return FALSE;
    if (kind == kKeyReturn || kind == kKeySpace)
    {
        if (!current->IsFocused())
        {
            current->OnMnemonicActivate();
            return TRUE;
        }
        current->OnClick(TRUE, CPoint(0, 0));
        return TRUE;
    }

    UINT key = 0;
    switch (kind)
    {
    case kKeyNextInRow:
        key = VK_RIGHT;
        break;
    case kKeyPreviousInRow:
        key = VK_LEFT;
        break;
    case kKeyExpand:
        key = VK_DOWN;
        break;
    case kKeyCollapse:
        key = VK_UP;
        break;
    default:
        return FALSE;
    }

    const CRect from = GetNavigationRect(current, current, key, bar);
    std::vector<CRect> rects;
    std::vector<int> indexes;
    for (int i = 0; i < bar->GetControlCount(); ++i)
    {
        const COSMControl* control = bar->GetControl(i);
        // Controls scrolled out of the groups (hide flag 8) still take part.
        if (control == current || !control->IsVisible(COSMControl::kHideScroll) ||
            (control->GetFlags() & COSMControl::kFlagSkipFocus))
            continue;
        rects.push_back(GetNavigationRect(control, current, key, bar));
        indexes.push_back(i);
    }
    const int target = OsmRibbonFindNavigationTarget(from, rects, key);
    if (target != -1)
        bar->SetSelected(indexes[static_cast<size_t>(target)],
                         key == VK_RIGHT || key == VK_DOWN ? kSelectForward : kSelectBackward);
    // Arrows stay the ribbon's even when nothing lies that way.
    return TRUE;
}

// ---- Keyboard tips ----

void COSMRibbonBar::CreateKeyboardTips()
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return;
    if (commandBars->GetKeyboardTipsLevel() == 2)
    {
        if (COSMRibbonTab* tab = GetSelectedTab())
            CreateGroupKeyboardTips(tab);
        return;
    }

    int number = 0;
    for (int i = 0; i < m_quickAccessControls->GetCount(); ++i)
    {
        COSMControl* control = m_quickAccessControls->GetAt(i);
        if (!control->IsVisible())
            continue;
        const CString text = OsmRibbonQuickAccessTipText(++number);
        if (text.IsEmpty())
            break;
        const CRect rect = control->GetRect();
        auto* tip = new COSMCommandBarKeyboardTip(commandBars, control, control->GetCaption(), rect.CenterPoint().x,
                                                  rect.bottom - 11, kKeyboardTipCenterHorz, control->GetEnabled() != 0);
        tip->SetText(text);
        commandBars->AddKeyboardTip(tip);
    }

    if (m_tabsVisible && m_controlTab)
    {
        for (int i = 0; i < GetTabCount(); ++i)
        {
            COSMRibbonTab* tab = GetTab(i);
            const CString caption = tab->GetCaption();
            if (caption.IsEmpty() || !tab->IsEnabled() || !tab->IsVisible())
                continue;
            const CRect rect = tab->GetRect();
            auto* tip = new COSMCommandBarKeyboardTip(commandBars, tab, caption, rect.CenterPoint().x, rect.bottom - 9,
                                                      kKeyboardTipCenterHorz, TRUE);
            if (tab->GetKeyboardTip() != caption)
                tip->SetExplicitTip(tab->GetKeyboardTip());
            commandBars->AddKeyboardTip(tip);
        }
    }

    if (m_systemButton && m_systemButton->IsVisible())
    {
        const CRect rect = m_systemButton->GetRect();
        commandBars->AddKeyboardTip(new COSMCommandBarKeyboardTip(
            commandBars, m_systemButton, m_systemButton->GetCaption(), rect.CenterPoint().x, rect.CenterPoint().y,
            kKeyboardTipCenterHorz | kKeyboardTipCenterVert, TRUE));
    }
}

void COSMRibbonBar::CreateGroupKeyboardTips(COSMRibbonTab* tab, COSMCommandBar* bar, const COSMRibbonGroup* shown,
                                            COSMRibbonGroup* copy)
{
    COSMRibbonGroups* groups = tab->GetGroups();
    for (int g = 0; g < groups->GetCount(); ++g)
    {
        COSMRibbonGroup* group = groups->GetAt(g);
        BOOL visible = group->IsVisible();
        if (shown)
        {
            visible = visible && group == shown;
            if (group == shown && copy)
                group = copy;
        }
        for (int i = 0; i < group->GetCount(); ++i)
            CreateControlKeyboardTip(group->GetAt(i), "", visible, bar);
        COSMRibbonGroupOption* option = group->GetOptionButton();
        if (!(option->GetHideFlags() & COSMRibbonGroup::kHideOption))
            CreateControlKeyboardTip(option, "", visible, bar);
        // The button a reduced group shrinks to: "Z" keeps its letters apart from those of the controls.
        CreateControlKeyboardTip(group->GetPopupButton(), "Z", visible, bar);
    }
}

void COSMRibbonBar::CreateControlKeyboardTip(COSMControl* control, LPCSTR prefix, BOOL groupVisible,
                                             COSMCommandBar* bar)
{
    if (!bar)
        bar = this;
    COSMCommandBars* commandBars = GetCommandBars();
    COSMRibbonGroup* group = control ? control->GetRibbonGroup() : nullptr;
    if (!commandBars || !group || (control->GetFlags() & COSMControl::kFlagSkipFocus))
        return;
    const CString caption = control->GetCaption();
    CString explicitTip = control->GetKeyboardTip();
    if (caption.IsEmpty() && explicitTip.IsEmpty())
        return;
    CRect client;
    if (bar->GetSafeHwnd())
        bar->GetClientRect(&client);
    COSMRibbonPaintManager* painter = GetRibbonPaintManager();
    const COSMRibbonTipPlacement placement =
        OsmRibbonPlaceControlTip(control->GetRect(), group->GetRect(), painter ? painter->GetGroupCaptionHeight() : 0,
                                 client.bottom, control->GetType(), control->GetStyle());
    // A prefix (the group popups' "Z") goes in front of the control's own letters.
    if (prefix && *prefix)
    {
        if (explicitTip.IsEmpty())
        {
            const int pos = FindMnemonicPos(caption);
            explicitTip = pos >= 0 ? caption.Mid(pos + 1, 1) : caption.Left(1);
            explicitTip.MakeUpper();
        }
        explicitTip = CString(prefix) + explicitTip;
    }
    auto* tip = new COSMCommandBarKeyboardTip(commandBars, control, caption, placement.point.x, placement.point.y,
                                              placement.alignment, control->GetEnabled() != 0);
    tip->SetExplicitTip(explicitTip);
    CRect inside;
    inside.IntersectRect(client, control->GetRect());
    tip->SetTipVisible(groupVisible && control->IsVisible() && inside == control->GetRect());
    commandBars->AddKeyboardTip(tip);
}

void COSMRibbonBar::RunControlTip(COSMControl* control, BOOL tipVisible, COSMCommandBar* bar)
{
    if (!bar)
        bar = this;
    if (!control || control->GetParent() != bar)
        return;
    COSMRibbonGroup* group = control->GetRibbonGroup();
    if (!tipVisible && group && group->GetParentBar() == bar && group->ActivateThroughPopup(control))
        return;
    if (control->IsVisible())
        control->OnMnemonicActivate();
}

void COSMRibbonBar::OnKeyboardTip(COSMCommandBarKeyboardTip* tip)
{
    COSMCommandBars* commandBars = GetCommandBars();
    CCmdTarget* owner = tip->GetOwner();
    if (!owner || !commandBars)
        return;
    if (owner->IsKindOf(RUNTIME_CLASS(COSMControl)))
    {
        RunControlTip(static_cast<COSMControl*>(owner), tip->IsTipVisible(), this);
        return;
    }
    if (owner->IsKindOf(RUNTIME_CLASS(COSMRibbonTab)) && m_controlTab)
    {
        auto* tab = static_cast<COSMRibbonTab*>(owner);
        SetCurSel(tab->GetIndex());
        SetTrackingMode(TRUE, FALSE, TRUE);
        SetSelected(m_controlTab->GetIndex(), kSelectKeyboard);
        m_controlTab->SetFocused(TRUE);
        m_controlTab->SelectTab(TRUE);
        if (!m_minimized)
            commandBars->ShowKeyboardTips(this, 2);
        return;
    }
    COSMMenuBar::OnKeyboardTip(tip);
}
