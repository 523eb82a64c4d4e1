// The groups as a model: membership of controls, the two buttons, copying, saving and drawing. The layout pass is in
// RibbonGroupLayout.cpp.
#include "framework/ribbon/RibbonGroup.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/PropExchange.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonGroupLayout.h"
#include "framework/ribbon/RibbonGroupsScroller.h"
#include "framework/ribbon/RibbonLayoutDC.h"
#include "framework/ribbon/RibbonPopupToolBars.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/ribbon/RibbonPaintManager.h"

#include <algorithm>

IMPLEMENT_SERIAL(COSMRibbonGroup, CCmdTarget, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonGroupOption, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonGroupControlPopup, COSMControlPopup, VERSIONABLE_SCHEMA | 0x23)

namespace {

constexpr DWORD kOptionButtonFlags = 16;
constexpr DWORD kGroupPopupFlags = 24;
constexpr int kGroupPopupType = 3;
constexpr int kLargeStyle = 4;
// The redraw event a group routes to its ribbon.
constexpr UINT kRedrawEventId = 1;
constexpr int kRedrawEventCode = -2;

void SetHideFlag(COSMControl* control, DWORD flag, BOOL set)
{
    control->SetHideFlags(set ? control->GetHideFlags() | flag : control->GetHideFlags() & ~flag);
}

}  // namespace

// ---- The option button ----

COSMRibbonGroupOption::COSMRibbonGroupOption()
{
    m_flags = kOptionButtonFlags;
}

void COSMRibbonGroupOption::Draw(CDC* dc)
{
    COSMRibbonBar* ribbon = GetRibbonGroup() ? COSMRibbonGroupControlPopup::GetRibbonBarOf(GetParent()) : nullptr;
    if (COSMRibbonPaintManager* painter = ribbon ? ribbon->GetRibbonPaintManager() : nullptr)
        painter->DrawControlGroupOption(dc, this, TRUE);
    else
        COSMControlButton::Draw(dc);
}

COSMControl* COSMRibbonGroupOption::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonGroupOption;
    clone->Copy(this, recursive);
    return clone;
}

// ---- The popup button ----

COSMRibbonGroupControlPopup::COSMRibbonGroupControlPopup()
{
    m_flags = kGroupPopupFlags;
    m_type = kGroupPopupType;
    if (const RefPtr<COSMPopupBar> bar = RefPtr<COSMPopupBar>::Adopt(COSMPopupBar::CreatePopupBar(nullptr)))
        SetCommandBar(bar.Get());
}

COSMRibbonGroupControlPopup::COSMRibbonGroupControlPopup(COSMRibbonGroup* group) : COSMRibbonGroupControlPopup()
{
    SetGroup(group);
}

COSMRibbonGroupControlPopup::~COSMRibbonGroupControlPopup()
{
    ReferTo(nullptr);
}

void COSMRibbonGroupControlPopup::SetGroup(COSMRibbonGroup* group)
{
    ReferTo(group);
    SetRibbonGroup(group);
}

void COSMRibbonGroupControlPopup::ReferTo(COSMRibbonGroup* group)
{
    if (group == m_group)
        return;
    if (m_group)
    {
        auto& standIns = m_group->m_standIns;
        standIns.erase(std::remove(standIns.begin(), standIns.end(), this), standIns.end());
    }
    m_group = group;
    if (m_group)
        m_group->m_standIns.push_back(this);
}

BOOL COSMRibbonGroupControlPopup::IsVisible(DWORD skip) const
{
    return COSMControlPopup::IsVisible(skip) && (!m_group || m_group->IsVisible());
}

COSMRibbonPaintManager* COSMRibbonGroupControlPopup::GetRibbonPainter() const
{
    COSMRibbonBar* ribbon = GetRibbonBarOf(GetParent());
    if (!ribbon && m_group)
        ribbon = m_group->GetRibbonBar();
    return ribbon ? ribbon->GetRibbonPaintManager() : nullptr;
}

CSize COSMRibbonGroupControlPopup::GetSize(CDC* dc)
{
    COSMRibbonPaintManager* painter = GetRibbonPainter();
    if (!painter)
        return COSMControlPopup::GetSize(dc);
    if (dc || !m_parent)
        return painter->DrawControlGroupPopup(dc, this, FALSE);
    // Asked without a DC: measured as the bar lays it out.
    COSMRibbonLayoutDC layout(m_parent);
    return painter->DrawControlGroupPopup(&layout, this, FALSE);
}

void COSMRibbonGroupControlPopup::Draw(CDC* dc)
{
    if (COSMRibbonPaintManager* painter = GetRibbonPainter())
        painter->DrawControlGroupPopup(dc, this, TRUE);
    else
        COSMControlPopup::Draw(dc);
}

COSMRibbonBar* COSMRibbonGroupControlPopup::GetRibbonBarOf(const COSMCommandBar* bar)
{
    if (!bar)
        return nullptr;
    if (auto* ribbon = dynamic_cast<const COSMRibbonBar*>(bar))
        return const_cast<COSMRibbonBar*>(ribbon);
    if (auto* groupPopup = dynamic_cast<const COSMRibbonGroupPopupToolBar*>(bar))
        return groupPopup->GetRibbonBar();
    if (auto* tabPopup = dynamic_cast<const COSMRibbonTabPopupToolBar*>(bar))
        return tabPopup->GetRibbonBar();
    if (auto* more = dynamic_cast<const COSMRibbonBarMorePopupToolBar*>(bar))
        return more->GetRibbonBar();
    return nullptr;
}

void COSMRibbonGroupControlPopup::Copy(const COSMControl* source, BOOL recursive)
{
    // The popup bar is made anew at every opening: the source's (perhaps the open popup of the group this copy
    // shows) is neither shared nor cloned.
    COSMControlButton::Copy(source, recursive);
    const auto* popup = dynamic_cast<const COSMRibbonGroupControlPopup*>(source);
    if (!popup)
        return;
    COSMRibbonGroup* group = popup->m_group;
    COSMRibbonBar* target = GetRibbonBarOf(GetParent());
    COSMRibbonBar* from = GetRibbonBarOf(source->GetParent());
    // A copy on another ribbon (a copied ribbon, its quick-access row) stands for that ribbon's own group. So does a
    // copy on the ribbon itself made from a popup's copy of a group: that copy goes shortly after its popup closes.
    const BOOL fromPopupCopy = group && GetParent() == target && group->GetParentBar() != target;
    if (target && from && (target != from || fromPopupCopy))
        group = target->FindGroup(static_cast<int>(GetID()));
    ReferTo(group);
}

BOOL COSMRibbonGroupControlPopup::OnSetPopup(BOOL popup)
{
    if (!popup)
        return COSMControlPopup::OnSetPopup(FALSE);
    // Every opening shows a fresh copy of the group as it is now.
    const RefPtr<COSMPopupToolBar> bar = RefPtr<COSMPopupToolBar>::Adopt(
        m_group ? new COSMRibbonGroupPopupToolBar(m_group) : COSMPopupToolBar::CreatePopupToolBar(nullptr));
    if (!bar)
        return FALSE;
    if (COSMCommandBar* parent = GetParent())
        bar->SetCommandBars(parent->GetCommandBars());
    if (m_group)
        bar->SetCustomizable(FALSE);
    SetCommandBar(bar.Get());
    return COSMControlPopup::OnSetPopup(TRUE);
}

COSMControl* COSMRibbonGroupControlPopup::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonGroupControlPopup;
    clone->Copy(this, recursive);
    return clone;
}

// ---- The group ----

COSMRibbonGroup::COSMRibbonGroup()
    : m_optionButton(RefPtr<COSMRibbonGroupOption>::Adopt(new COSMRibbonGroupOption)),
      m_popupButton(RefPtr<COSMRibbonGroupControlPopup>::Adopt(new COSMRibbonGroupControlPopup(this)))
{
    m_optionButton->SetRibbonGroup(this);
    m_popupButton->SetFallbackStyle(kLargeStyle);
}

COSMRibbonGroup::~COSMRibbonGroup()
{
    RemoveAll();
    m_optionButton->SetRibbonGroup(nullptr);
    m_popupButton->SetGroup(nullptr);
    // Copies of the popup button that outlive the group (in the quick access) stand for no group from now on.
    const std::vector<COSMRibbonGroupControlPopup*> standIns = m_standIns;
    for (COSMRibbonGroupControlPopup* button : standIns)
    {
        if (button->GetRibbonGroup() == this)
            button->SetRibbonGroup(nullptr);
        button->ReferTo(nullptr);
    }
}

COSMRibbonTab* COSMRibbonGroup::GetRibbonTab() const
{
    return m_groups ? m_groups->GetParentTab() : nullptr;
}

COSMRibbonBar* COSMRibbonGroup::GetRibbonBar() const
{
    COSMRibbonTab* tab = GetRibbonTab();
    return tab && tab->GetRibbonBar() ? tab->GetRibbonBar() : m_ribbonBar;
}

BOOL COSMRibbonGroup::IsGroupVisible() const
{
    if (m_parentBar != m_ribbonBar)
        return m_visible;
    return m_visible && m_ribbonBar && GetRibbonTab() && m_ribbonBar->GetSelectedTab() == GetRibbonTab();
}

BOOL COSMRibbonGroup::IsHotGroup() const
{
    COSMRibbonGroupsScroller* scroller = COSMRibbonGroupsScroller::GetGroupsScroller(m_parentBar);
    return scroller && scroller->GetHotGroup() == this;
}

CRect COSMRibbonGroup::GetCaptionRect() const
{
    return CRect(m_rect.left, m_rect.bottom - GetGroupCaptionHeight(), m_rect.right, m_rect.bottom);
}

COSMControls* COSMRibbonGroup::GetParentControls() const
{
    return m_parentBar ? m_parentBar->GetControls() : nullptr;
}

COSMControl* COSMRibbonGroup::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_controls[static_cast<size_t>(index)].Get() : nullptr;
}

int COSMRibbonGroup::IndexOf(const COSMControl* control) const
{
    if (!control || control->GetRibbonGroup() != this)
        return -1;
    return control->GetIndex() + GetCount() - m_optionButton->GetIndex();
}

COSMControl* COSMRibbonGroup::InsertControl(COSMControl* control, int index)
{
    COSMControls* controls = GetParentControls();
    if (!control || !controls)
        return nullptr;
    if (index < 0 || index >= GetCount())
        index = GetCount();
    controls->InsertAt(control, m_optionButton->GetIndex() - GetCount() + index);
    m_controls.insert(m_controls.begin() + index, RefPtr<COSMControl>::Retain(control));
    control->SetRibbonGroup(this);
    SetHideFlag(control, COSMRibbonBar::kHideGroup, !IsGroupVisible());
    return control;
}

COSMControl* COSMRibbonGroup::Add(int type, int id, LPCSTR parameter, int index)
{
    COSMControls* controls = GetParentControls();
    if (!controls)
        return nullptr;
    if (index < 0 || index >= GetCount())
        index = GetCount();
    COSMControl* control = controls->Add(type, id, parameter, m_optionButton->GetIndex() - GetCount() + index, FALSE);
    if (!control)
        return nullptr;
    m_controls.insert(m_controls.begin() + index, RefPtr<COSMControl>::Retain(control));
    control->SetRibbonGroup(this);
    SetHideFlag(control, COSMRibbonBar::kHideGroup, !IsGroupVisible());
    return control;
}

COSMControl* COSMRibbonGroup::AddClone(const COSMControl* control, int index, BOOL recursive)
{
    if (!control || !GetParentControls())
        return nullptr;
    CObject* object = control->GetRuntimeClass()->CreateObject();
    auto* clone = dynamic_cast<COSMControl*>(object);
    if (!clone)
    {
        delete object;
        return nullptr;
    }
    InsertControl(clone, index);
    clone->Copy(control, recursive);
    clone->SetRibbonGroup(this);
    SetHideFlag(clone, COSMRibbonBar::kHideGroup, !IsGroupVisible());
    return clone;
}

void COSMRibbonGroup::RemoveAt(int index)
{
    if (!GetAt(index))
        return;
    // The group's reference, given up once the bar's controls have let the control go too.
    const RefPtr<COSMControl> control = std::move(m_controls[static_cast<size_t>(index)]);
    control->SetRibbonGroup(nullptr);
    m_controls.erase(m_controls.begin() + index);
    if (COSMControls* controls = control->GetControls())
        controls->Remove(control.Get());
}

void COSMRibbonGroup::Remove(COSMControl* control)
{
    const auto found = std::find(m_controls.begin(), m_controls.end(), control);
    if (found != m_controls.end())
        RemoveAt(static_cast<int>(found - m_controls.begin()));
}

void COSMRibbonGroup::RemoveAll()
{
    for (int i = GetCount() - 1; i >= 0; --i)
        RemoveAt(i);
}

void COSMRibbonGroup::SetRect(const CRect& rect)
{
    m_rect = rect;
    if (m_reduced)
    {
        SetHideFlag(m_popupButton.Get(), kHideReduced, FALSE);
        m_popupButton->SetRect(rect);
        m_popupButton->SetWrap(TRUE);
    }
    else
    {
        SetHideFlag(m_popupButton.Get(), kHideReduced, TRUE);
    }
    if (!m_showOptionButton)
    {
        SetHideFlag(m_optionButton.Get(), kHideOption, TRUE);
    }
    else if (m_reduced)
    {
        SetHideFlag(m_optionButton.Get(), kHideReduced, TRUE);
    }
    else
    {
        const int h = GetGroupCaptionHeight();
        m_optionButton->SetWrap(TRUE);
        SetHideFlag(m_optionButton.Get(), kHideOption | kHideReduced, FALSE);
        m_optionButton->SetRect(CRect(rect.right - h - 1, rect.bottom - h, rect.right - 3, rect.bottom - 3));
    }
}

void COSMRibbonGroup::Copy(const COSMRibbonGroup* source)
{
    if (!source)
        return;
    m_id = source->m_id;
    m_iconId = source->m_iconId;
    m_showOptionButton = source->m_showOptionButton;
    m_caption = source->m_caption;
    m_groups = source->m_groups;
    m_controlsGrouping = source->m_controlsGrouping;
    m_controlsCentering = source->m_controlsCentering;
    m_visible = source->m_visible;
    // A copy gives way as its source does.
    m_reduceLimit = source->m_reduceLimit;
    COSMControls* controls = GetParentControls();
    if (!controls)
        return;
    for (int i = 0; i < source->GetCount(); ++i)
    {
        // Each clone goes just before the option button, after the ones before it.
        COSMControl* clone = controls->AddClone(source->GetAt(i), m_optionButton->GetIndex(), TRUE);
        if (!clone)
            continue;
        clone->SetRibbonGroup(this);
        SetHideFlag(clone, COSMRibbonBar::kHideGroup, FALSE);
        m_controls.push_back(RefPtr<COSMControl>::Retain(clone));
    }
    m_optionButton->Copy(source->m_optionButton.Get(), TRUE);
    m_popupButton->Copy(source->m_popupButton.Get(), TRUE);
    m_optionButton->SetRibbonGroup(this);
    m_popupButton->SetGroup(this);
    SetHideFlag(m_optionButton.Get(), COSMRibbonBar::kHideGroup, FALSE);
    SetHideFlag(m_popupButton.Get(), COSMRibbonBar::kHideGroup, FALSE);
}

void COSMRibbonGroup::Draw(CDC* dc, CRect clip)
{
    COSMRibbonBar* ribbon = GetRibbonBar();
    if (COSMRibbonPaintManager* painter = ribbon ? ribbon->GetRibbonPaintManager() : nullptr)
        painter->DrawGroup(dc, this);
    COSMPaintManager* paintManager = m_parentBar ? m_parentBar->GetPaintManager() : nullptr;
    BOOL first = TRUE;
    CRect part;
    for (const RefPtr<COSMControl>& control : m_controls)
    {
        if (!control->IsVisible(0))
            continue;
        if (!m_controlsGrouping && control->GetBeginGroup() && !first && paintManager)
            paintManager->DrawCommandBarSeparator(dc, m_parentBar, control.Get(), TRUE);
        first = FALSE;
        if (part.IntersectRect(control->GetRect(), clip))
            control->Draw(dc);
    }
    if (m_popupButton->IsVisible(0))
        m_popupButton->Draw(dc);
    if (m_optionButton->IsVisible(0))
        m_optionButton->Draw(dc);
}

void COSMRibbonGroup::ArrangeInRow(CDC* dc)
{
    CPoint at(m_rect.left + 4, m_rect.top + GetGroupCaptionHeight());
    for (const RefPtr<COSMControl>& control : m_controls)
    {
        if (!control->IsVisible(0))
            continue;
        const CSize size = control->GetSize(dc);
        control->SetRect(CRect(at, size));
        at.x += size.cx;
    }
}

void COSMRibbonGroup::OnGroupAdded()
{
    COSMControls* controls = GetParentControls();
    if (!controls)
        return;
    for (COSMControl* button :
         {static_cast<COSMControl*>(m_optionButton.Get()), static_cast<COSMControl*>(m_popupButton.Get())})
    {
        // The bar's controls take a reference of their own; the group keeps its.
        controls->InsertAt(RefPtr<COSMControl>::Retain(button).Detach(), -1);
        SetHideFlag(button, COSMRibbonBar::kHideGroup, !IsGroupVisible());
    }
    // Both buttons carry the group's id: a copy of the popup button on another ribbon finds its group by it.
    m_optionButton->SetID(static_cast<UINT>(m_id));
    m_popupButton->SetID(static_cast<UINT>(m_id));
    m_popupButton->SetCaption(m_caption);
    m_popupButton->SetDescription("");
    COSMCommandBars* commandBars = m_parentBar->GetCommandBars();
    if (commandBars && commandBars->IsActionsEnabled() && commandBars->GetActions())
    {
        COSMControlAction* action = commandBars->GetActions()->Add(static_cast<UINT>(m_id));
        if (action)
        {
            if (action->GetCaptionText().IsEmpty())
                action->SetCaption(m_caption);
            m_optionButton->SetAction(action);
            m_popupButton->SetAction(action);
        }
    }
}

void COSMRibbonGroup::OnGroupRemoved()
{
    RemoveAll();
    COSMRibbonBar* ribbon = GetRibbonBar();
    // A selection that names the group would outlive the bar it redraws.
    COSMCommandBars* commandBars = ribbon ? ribbon->GetCommandBars() : nullptr;
    if (commandBars && commandBars->GetCustomizeSelectionTarget() == this)
        commandBars->SetCustomizeSelection(nullptr);
    if (ribbon && m_parentBar == ribbon)
    {
        COSMRibbonGroupsScroller* scroller = ribbon->GetGroupsScroller();
        if (scroller && scroller->GetHotGroup() == this)
            scroller->SetHotGroup(nullptr);
    }
    for (COSMControl* button :
         {static_cast<COSMControl*>(m_popupButton.Get()), static_cast<COSMControl*>(m_optionButton.Get())})
    {
        // The bar's controls give up the reference they took; the group keeps its own.
        if (COSMControls* controls = button->GetControls())
            controls->Remove(button);
    }
    m_optionButton->SetRibbonGroup(this);
    m_popupButton->SetGroup(this);
}

int COSMRibbonGroup::GetMinimumWidth(CDC* dc)
{
    COSMRibbonBar* ribbon = GetRibbonBar();
    COSMRibbonPaintManager* painter = ribbon ? ribbon->GetRibbonPaintManager() : nullptr;
    int width = 0;
    if (dc && !m_caption.IsEmpty())
    {
        COSMFontDC font(dc, painter ? painter->GetFont() : nullptr);
        width = dc->GetTextExtent(m_caption).cx;
    }
    if (m_showOptionButton)
        width += GetGroupCaptionHeight();
    return width;
}

BOOL COSMRibbonGroup::ActivateThroughPopup(COSMControl* control)
{
    if (!control || control->GetRibbonGroup() != this || control->GetHideFlags() != kHideReduced || !m_parentBar ||
        m_popupButton->GetParent() != m_parentBar)
        return FALSE;
    m_parentBar->EnsureVisible(m_popupButton.Get());
    m_popupButton->OnMnemonicActivate();
    const int index = IndexOf(control);
    auto* popup = dynamic_cast<COSMRibbonGroupPopupToolBar*>(m_popupButton->GetCommandBar());
    if (popup && popup->GetTrackingMode() != 0 && popup->GetGroupCopy() && index >= 0 &&
        index < popup->GetGroupCopy()->GetCount())
    {
        // The popup's tips come up before the control runs, as when the popup is opened by its own tip: a control
        // that keeps the popup open (a menu, an edit) leaves the user among the popup's letters.
        if (COSMCommandBars* commandBars = popup->GetCommandBars())
            commandBars->ShowKeyboardTips(popup, 1);
        popup->GetGroupCopy()->GetAt(index)->OnMnemonicActivate();
    }
    return TRUE;
}

BOOL COSMRibbonGroup::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (nID == kRedrawEventId && nCode == kRedrawEventCode)
    {
        if (COSMRibbonBar* ribbon = GetRibbonBar())
            ribbon->Redraw(nullptr, TRUE);
        return TRUE;
    }
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- Saving and loading ----

void COSMRibbonGroup::DoPropExchange(COSMPropExchange* px)
{
    long id = m_id;
    long iconId = m_iconId;
    PropExchangeLong(px, "Id", &id, 0);
    PropExchangeLong(px, "IconId", &iconId, 0);
    PropExchangeBool(px, "ShowOptionButton", &m_showOptionButton, FALSE);
    PropExchangeString(px, "Caption", &m_caption, "");
    PropExchangeBool(px, "ControlsGrouping", &m_controlsGrouping, FALSE);
    PropExchangeBool(px, "ControlsCentering", &m_controlsCentering, FALSE);
    PropExchangeBool(px, "Visible", &m_visible, TRUE);
    m_id = static_cast<int>(id);
    m_iconId = static_cast<int>(iconId);

    {
        const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("Controls"));
        std::unique_ptr<COSMPropExchangeEnumerator> items(section->GetEnumerator("Control"));
        if (px->IsStoring())
        {
            std::vector<COSMControl*> saved;
            for (const RefPtr<COSMControl>& control : m_controls)
                if (!control->IsTemporary())
                    saved.push_back(control.Get());
            POSITION pos = items->GetPosition(static_cast<DWORD>(saved.size()));
            for (size_t i = 0; pos && i < saved.size(); ++i)
            {
                const auto item = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
                CObject* object = saved[i];
                item->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMControl));
                saved[i]->DoPropExchange(item.Get());
            }
        }
        else
        {
            m_groups = static_cast<COSMRibbonGroups*>(px->m_pOwner);
            m_ribbonBar = GetRibbonBar();
            m_parentBar = m_ribbonBar;
            OnGroupAdded();
            RemoveAll();
            POSITION pos = items->GetPosition();
            while (pos)
            {
                const auto item = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
                CObject* object = nullptr;
                if (!item->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMControl)) || !object)
                    AfxThrowArchiveException(CArchiveException::badClass);
                // Held until it joins the bar: a stream that ends inside its keys must not leak it.
                auto control = RefPtr<COSMControl>::Adopt(static_cast<COSMControl*>(object));
                control->DoPropExchange(item.Get());
                control->SetRibbonGroup(this);
                InsertControl(control.Detach(), -1);
            }
        }
    }
    {
        const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("ControlGroupOption"));
        m_optionButton->DoPropExchange(section.Get());
    }
    {
        const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("ControlGroupPopup"));
        m_popupButton->DoPropExchange(section.Get());
    }
}

// ---- The groups of a tab ----

void COSMRibbonGroups::RenumberGroups()
{
    for (int i = 0; i < GetCount(); ++i)
        m_groups[static_cast<size_t>(i)]->SetIndex(i);
}

COSMRibbonGroup* COSMRibbonGroups::InsertAt(int index, COSMRibbonGroup* group)
{
    if (!group)
        return nullptr;
    group->m_groups = this;
    group->m_ribbonBar = m_tab ? m_tab->GetRibbonBar() : nullptr;
    group->m_parentBar = m_tab ? m_tab->GetParentCommandBar() : nullptr;
    // The collection takes over the caller's reference.
    if (index < 0 || index >= GetCount())
        m_groups.push_back(RefPtr<COSMRibbonGroup>::Adopt(group));
    else
        m_groups.insert(m_groups.begin() + index, RefPtr<COSMRibbonGroup>::Adopt(group));
    RenumberGroups();
    group->OnGroupAdded();
    return group;
}

COSMRibbonGroup* COSMRibbonGroups::Add(LPCSTR caption, int id)
{
    RefPtr<COSMRibbonGroup> group = RefPtr<COSMRibbonGroup>::Adopt(new COSMRibbonGroup);
    group->SetCaption(caption);
    group->SetID(id);
    return InsertAt(-1, group.Detach());
}

void COSMRibbonGroups::RemoveAll()
{
    // Each group goes as its reference leaves the local list, after it has left the bar.
    std::vector<RefPtr<COSMRibbonGroup>> groups;
    groups.swap(m_groups);
    for (RefPtr<COSMRibbonGroup>& group : groups)
    {
        group->OnGroupRemoved();
        group->m_groups = nullptr;
        group.Reset();
    }
}

void COSMRibbonGroups::Copy(const COSMRibbonGroups* source)
{
    RemoveAll();
    if (!source)
        return;
    for (int i = 0; i < source->GetCount(); ++i)
    {
        const COSMRibbonGroup* from = source->GetAt(i);
        auto* group = dynamic_cast<COSMRibbonGroup*>(from->GetRuntimeClass()->CreateObject());
        if (!group)
            continue;
        InsertAt(i, group);
        group->Copy(from);
        // The copy belongs to this collection, whatever its source's was.
        group->m_groups = this;
    }
}

COSMRibbonGroup* COSMRibbonGroups::HitTest(CPoint point) const
{
    for (const RefPtr<COSMRibbonGroup>& group : m_groups)
        if (group->IsVisible() && group->GetRect().PtInRect(point))
            return group.Get();
    return nullptr;
}

void COSMRibbonGroups::DoPropExchange(COSMPropExchange* px)
{
    if (!px)
        return;
    std::unique_ptr<COSMPropExchangeEnumerator> items(px->GetEnumerator("Group"));
    if (px->IsStoring())
    {
        POSITION pos = items->GetPosition(static_cast<DWORD>(m_groups.size()));
        for (size_t i = 0; pos && i < m_groups.size(); ++i)
        {
            const auto item = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
            CObject* object = m_groups[i].Get();
            item->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMRibbonGroup));
            m_groups[i]->DoPropExchange(item.Get());
        }
        return;
    }
    RemoveAll();
    POSITION pos = items->GetPosition();
    while (pos)
    {
        const auto item = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
        item->m_pOwner = this;
        CObject* object = nullptr;
        if (!item->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMRibbonGroup)) || !object)
            AfxThrowArchiveException(CArchiveException::badClass);
        auto* group = static_cast<COSMRibbonGroup*>(object);
        m_groups.push_back(RefPtr<COSMRibbonGroup>::Adopt(group));
        RenumberGroups();
        group->DoPropExchange(item.Get());
    }
}
