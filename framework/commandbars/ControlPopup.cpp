#include "framework/commandbars/ControlPopup.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/foundation/ShadowManager.h"

#include <set>
#include <vector>

IMPLEMENT_SERIAL(COSMControlPopup, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

namespace {

// The split button's values of the enabled state (only the command part, only the drop-down part) and of the
// selection (the mouse over the command part, over the drop-down part).
constexpr int kEnabledCommandPartOnly = 4;
constexpr int kEnabledDropDownPartOnly = 5;
constexpr int kSelectedCommandPart = 4;
constexpr int kSelectedDropDownPart = 5;
constexpr int kSplitButtonType = 4;

BOOL IsKeyboardSelection(int selected)
{
    return selected == 2 || selected == 3;
}

}  // namespace

COSMControlPopup::COSMControlPopup()
{
    m_type = 2;
}

COSMControlPopup::~COSMControlPopup()
{
    SetCommandBar(nullptr);
}

COSMControlPopup* COSMControlPopup::CreateControlPopup(int type)
{
    auto* popup = static_cast<COSMControlPopup*>(CreateObject());
    popup->m_type = type;
    return popup;
}

void COSMControlPopup::SetCommandBar(COSMCommandBar* bar)
{
    m_commandBar = RefPtr<COSMCommandBar>::Retain(bar);
}

void COSMControlPopup::Copy(const COSMControl* source, BOOL recursive)
{
    COSMControlButton::Copy(source, recursive);
    if (!source->IsKindOf(RUNTIME_CLASS(COSMControlPopup)))
        return;
    COSMCommandBar* sourceBar = static_cast<const COSMControlPopup*>(source)->m_commandBar.Get();
    if (recursive && sourceBar)
    {
        const RefPtr<COSMCommandBar> clone = RefPtr<COSMCommandBar>::Adopt(sourceBar->Clone(recursive));
        SetCommandBar(clone.Get());
    }
    else
    {
        SetCommandBar(sourceBar);
    }
}

COSMControl* COSMControlPopup::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlPopup*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}

BOOL COSMControlPopup::Compare(const COSMControl* other) const
{
    if (!COSMControl::Compare(other) || !other->IsKindOf(RUNTIME_CLASS(COSMControlPopup)))
        return FALSE;
    const COSMCommandBar* otherBar = static_cast<const COSMControlPopup*>(other)->m_commandBar.Get();
    if (!m_commandBar || !otherBar)
        return TRUE;
    return m_commandBar->GetControls()->Compare(otherBar->GetControls());
}

// ---- Opening and closing ----

BOOL COSMControlPopup::OnSetPopup(BOOL popup)
{
    auto* bar = dynamic_cast<COSMPopupBar*>(m_commandBar.Get());
    if (!popup)
    {
        // An open popup always closes, whatever changed meanwhile.
        m_popped = FALSE;
        if (bar && bar->GetTrackingMode() != 0)
            bar->SetTrackingMode(0, TRUE, FALSE);
        RedrawParent(TRUE);
        return TRUE;
    }
    // Only a popup bar can pop up; a split button whose drop-down part is disabled never opens.
    if (!bar || !IsDropDownEnabled() || !m_parent || !m_parent->GetSafeHwnd())
        return FALSE;

    // The flag is up while the popup comes up, so that the control draws pressed under it.
    m_popped = TRUE;
    RedrawParent(FALSE);
    if (CWnd* site = m_parent->GetSite(); site && ::IsWindow(site->GetSafeHwnd()))
        site->UpdateWindow();
    m_parent->UpdateWindow();
    // A bar shared with another control that is open already is not popped up a second time.
    if (bar->GetTrackingMode() == 0 && !bar->Popup(this, IsKeyboardSelection(m_selected)))
    {
        // The popup did not come up, or a command-UI handler closed it at once: the control must not stay pressed.
        m_popped = FALSE;
        RedrawParent(TRUE);
        return FALSE;
    }
    SetControlShadow();
    return TRUE;
}

void COSMControlPopup::AdjustExcludeRect(CRect& rect, BOOL vertical)
{
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->AdjustControlRect(rect, this, vertical);
}

void COSMControlPopup::SetControlShadow()
{
    if (!m_commandBar || !m_parent || m_type < 2 || m_type > 4)
        return;
    const int position = m_parent->GetPosition();
    // A popup bar's items and a floating popup's are covered by their own bar's shadow.
    if (position == COSMCommandBar::kPositionPopup ||
        (position == COSMCommandBar::kPositionFloating && m_parent->GetType() == COSMCommandBar::kTypePopup))
        return;
    COSMPaintManager* paintManager = GetPaintManager();
    auto* bar = dynamic_cast<COSMPopupBar*>(m_commandBar.Get());
    if (!paintManager || !bar || !bar->GetShowShadow() || !m_controlShadow || !paintManager->m_shadowsEnabled ||
        !paintManager->GetShadowManager() || m_parent->IsCustomizeMode())
        return;
    CRect rect = m_rect;
    if (m_parent->GetSafeHwnd())
        m_parent->ClientToScreen(&rect);
    paintManager->GetShadowManager()->SetControlShadow(rect, bar);
}

void COSMControlPopup::ExpandPopupBar()
{
    if (!m_popped || m_type != 2)
        return;
    if (auto* popup = dynamic_cast<COSMPopupBar*>(m_commandBar.Get()))
        popup->ExpandBar();
}

// ---- Mouse and keys ----

void COSMControlPopup::OnClick(BOOL keyboard, CPoint point)
{
    if (GetEnabled() == 0)
        return;
    const BOOL customize = IsCustomizeMode();
    if (!customize && !CanOpen())
    {
        COSMControlButton::OnClick(keyboard, point);
        return;
    }
    if (!m_parent)
        return;
    if (customize)
    {
        COSMCommandBars* commandBars = GetCommandBars();
        if (!commandBars)
            return;
        commandBars->SetCustomizeSelection(this);
    }
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    if (m_popped && m_parent->GetPosition() != COSMCommandBar::kPositionPopup)
    {
        m_parent->SetTrackingMode(0, FALSE, FALSE);
    }
    else if (!customize && m_type == kSplitButtonType)
    {
        const int enabled = GetEnabled();
        if (keyboard)
        {
            if (enabled == kEnabledDropDownPartOnly)
                m_parent->SetPopuped(m_index, TRUE);
            else
                OnExecute();
            return;
        }
        COSMPaintManager* paintManager = GetPaintManager();
        const CRect command = paintManager ? paintManager->GetSplitButtonCommandRect(this) : m_rect;
        if (command.PtInRect(point))
        {
            // In a popup bar the release runs the command; the hover must not open the popup meanwhile.
            if (m_parent->GetType() == COSMCommandBar::kTypePopup)
                m_parent->KillTimer(COSMCommandBar::kTimerHover);
            else if (enabled != kEnabledDropDownPartOnly)
                TrackButtonPress(command);
            return;
        }
        if (enabled == kEnabledCommandPartOnly)
            return;
        m_parent->SetPopuped(m_index, FALSE);
    }
    else if (!customize || (m_commandBar && m_commandBar->IsCustomizable()))
    {
        m_parent->SetPopuped(m_index, keyboard);
    }
    if (customize && m_parent)
        OnCustomizeLButtonDown(point);
}

void COSMControlPopup::OnLButtonUp(CPoint point)
{
    if (!CanOpen())
    {
        COSMControlButton::OnLButtonUp(point);
        return;
    }
    if (m_type != kSplitButtonType || !m_parent || m_parent->GetType() != COSMCommandBar::kTypePopup)
        return;
    const int enabled = GetEnabled();
    if (enabled == 0 || enabled == kEnabledDropDownPartOnly)
        return;
    COSMPaintManager* paintManager = GetPaintManager();
    const int dropDownWidth = paintManager ? paintManager->m_popupSplitWidth : 0;
    if (m_rect.right > point.x + dropDownWidth)
        OnExecute();
}

void COSMControlPopup::OnMouseMove(CPoint point)
{
    if (m_type != kSplitButtonType || !m_commandBar || GetEnabled() == 0 || m_selected == 0)
        return;
    COSMPaintManager* paintManager = GetPaintManager();
    const CRect command = paintManager ? paintManager->GetSplitButtonCommandRect(this) : m_rect;
    const int part = command.PtInRect(point) ? kSelectedCommandPart : kSelectedDropDownPart;
    if (part == m_selected)
        return;
    m_selected = part;
    RedrawParent(FALSE);
}

void COSMControlPopup::OnMouseHover()
{
    if (m_commandBar && m_parent && GetEnabled() != 0 &&
        (m_parent->GetTrackingMode() == 2 || m_parent->GetPosition() == COSMCommandBar::kPositionPopup))
    {
        m_parent->SetPopuped(GetIndex(), FALSE);
        return;
    }
    COSMControl::OnMouseHover();
}

BOOL COSMControlPopup::SetSelected(int selected)
{
    if (!COSMControl::SetSelected(selected))
        return FALSE;
    if (!m_commandBar || !m_parent)
        return TRUE;
    const BOOL tracking = m_parent->GetTrackingMode() == 2;
    const BOOL inPopup = m_parent->GetPosition() == COSMCommandBar::kPositionPopup;
    if ((m_type == 3 || m_type == kSplitButtonType) && m_parent->GetType() != COSMCommandBar::kTypePopup)
    {
        if (GetEnabled() != 0 && IsKeyboardSelection(selected) && tracking)
            m_parent->SetPopuped(m_index, TRUE);
    }
    else if (selected != 0 && tracking && !inPopup)
    {
        m_parent->SetPopuped(m_index, FALSE);
    }
    else if (selected == 0 && m_popped && !inPopup)
    {
        m_parent->SetPopuped(-1, FALSE);
    }
    return TRUE;
}

void COSMControlPopup::OnMnemonicActivate()
{
    if (CanOpen() && m_parent)
        m_parent->SetPopuped(m_index, TRUE);
    else
        COSMControlButton::OnMnemonicActivate();
}

BOOL COSMControlPopup::OnLButtonDblClk(CPoint point)
{
    auto* bar = dynamic_cast<COSMPopupBar*>(m_commandBar.Get());
    if (!bar || (m_type != 2 && m_type != 3))
        return COSMControlButton::OnLButtonDblClk(point);
    if (!m_popped)
    {
        if (m_parent)
            m_parent->OnLButtonDown(0, point);
        return TRUE;
    }
    if (COSMControl* item = bar->GetControl(bar->GetDefaultItem(TRUE)))
    {
        item->OnExecute();
        return TRUE;
    }
    if (bar->IsCollapsed())
    {
        bar->ExpandBar();
        return TRUE;
    }
    // Nothing to run or show: the second press is the click it would have been, which closes the open popup.
    OnClick(FALSE, point);
    return FALSE;
}

// ---- Customize drags ----

BOOL COSMControlPopup::LeadsToBar(COSMCommandBar* bar, const COSMCommandBar* target)
{
    std::set<const COSMCommandBar*> visited;
    std::vector<COSMCommandBar*> pending{bar};
    while (!pending.empty())
    {
        COSMCommandBar* current = pending.back();
        pending.pop_back();
        if (current == target)
            return TRUE;
        if (!current || !visited.insert(current).second)
            continue;
        for (int i = 0; i < current->GetControlCount(); ++i)
        {
            if (COSMCommandBar* opened = current->GetControl(i)->GetCommandBar())
                pending.push_back(opened);
        }
    }
    return FALSE;
}

BOOL COSMControlPopup::ContainsPopup(const COSMControlPopup* other) const
{
    if (!other || !m_commandBar || !other->m_commandBar)
        return FALSE;
    return LeadsToBar(m_commandBar.Get(), other->m_commandBar.Get());
}

BOOL COSMControlPopup::IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const
{
    if (!m_commandBar)
        return TRUE;
    // Up from the target bar through the controls that open it; a chain that loops back ends at a bar seen before.
    std::set<const COSMCommandBar*> visited;
    for (const COSMCommandBar* current = bar; current && visited.insert(current).second;
         current = current->GetParentCommandBar())
    {
        if (current == m_commandBar.Get())
            return FALSE;
    }
    return TRUE;
}

void COSMControlPopup::OnCustomizeDragOver(COSMControl* dragged, CPoint point, int& effect)
{
    if (!m_commandBar || !m_commandBar->IsCustomizable())
    {
        COSMControlButton::OnCustomizeDragOver(dragged, point, effect);
        return;
    }
    if (!m_parent)
        return;
    auto* draggedPopup = dynamic_cast<COSMControlPopup*>(dragged);
    if (draggedPopup && draggedPopup->ContainsPopup(this))
    {
        m_parent->SetPopuped(-1, FALSE);
        m_parent->SetSelected(-1, COSMCommandBar::kSelectMouse);
        return;
    }
    m_parent->SetPopuped(m_index, FALSE);
}
