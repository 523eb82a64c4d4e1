// The ribbon bar's controls and its quick-access list.
#include "framework/ribbon/RibbonControls.h"

#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonTab.h"

#include <algorithm>

IMPLEMENT_SERIAL(COSMRibbonControls, COSMControls, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonQuickAccessControls, COSMControls, VERSIONABLE_SCHEMA | 0x23)

// ---- COSMRibbonControls ----

COSMRibbonBar* COSMRibbonControls::GetRibbonBar() const
{
    return dynamic_cast<COSMRibbonBar*>(m_parent);
}

void COSMRibbonControls::Copy(const COSMControls* source, BOOL recursive)
{
    RemoveAll();
    for (int i = 0; i < source->GetCount(); ++i)
    {
        const COSMControl* control = source->GetAt(i);
        if (source->ShouldSerializeControl(control))
            AddClone(control, -1, recursive);
    }
}

BOOL COSMRibbonControls::ShouldSerializeControl(const COSMControl* control) const
{
    if (control->IsTemporary() || control->GetRibbonGroup())
        return FALSE;
    const COSMRibbonBar* bar = GetRibbonBar();
    if (!bar)
        return TRUE;
    const COSMRibbonGroupsScroller* scroller = bar->GetGroupsScroller();
    return control != bar->GetSystemButton() && !bar->IsQuickAccessControl(control) &&
           control != bar->GetControlTab() && control != scroller->GetLeftButton() &&
           control != scroller->GetRightButton();
}

void COSMRibbonControls::OnControlRemoved(COSMControl* control)
{
    control->SetRibbonGroup(nullptr);
    if (COSMRibbonBar* bar = GetRibbonBar())
    {
        if (control == bar->GetSystemButton())
            bar->ForgetSystemButton();
        else if (bar->IsQuickAccessControl(control) && control != bar->GetQuickAccessPopup() &&
                 control != bar->GetQuickAccessMore())
            bar->GetQuickAccessControls()->Remove(control);
    }
    COSMControls::OnControlRemoved(control);
}

BOOL COSMRibbonControls::IsFixedControl(const COSMControl* control) const
{
    const COSMRibbonBar* bar = GetRibbonBar();
    if (!bar)
        return FALSE;
    const COSMRibbonGroupsScroller* scroller = bar->GetGroupsScroller();
    return control == bar->GetControlTab() || control == bar->GetQuickAccessPopup() ||
           control == bar->GetQuickAccessMore() || control == scroller->GetLeftButton() ||
           control == scroller->GetRightButton();
}

// ---- COSMRibbonQuickAccessControls ----

COSMRibbonBar* COSMRibbonQuickAccessControls::GetRibbonBar() const
{
    return dynamic_cast<COSMRibbonBar*>(m_parent);
}

void COSMRibbonQuickAccessControls::Remove(COSMControl* control)
{
    auto found = std::find(m_controls.begin(), m_controls.end(), control);
    if (!control || found == m_controls.end())
        return;
    // The list's reference, given up once the ribbon's controls have let the control go too.
    const RefPtr<COSMControl> removed = RefPtr<COSMControl>::Adopt(control);
    m_controls.erase(found);
    OnControlRemoved(control);
}

void COSMRibbonQuickAccessControls::OnControlAdded(COSMControl* control)
{
    RefreshIndexes();
    COSMRibbonBar* bar = GetRibbonBar();
    if (!bar)
        return;
    const auto found = std::find(m_controls.rbegin(), m_controls.rend(), control);
    int index = static_cast<int>(m_controls.rend() - found) - 1;
    if (bar->GetSystemButton())
        ++index;
    // The ribbon's controls hold a reference of their own.
    bar->GetControls()->InsertAt(RefPtr<COSMControl>::Retain(control).Detach(), index);
}

void COSMRibbonQuickAccessControls::OnControlRemoved(COSMControl* control)
{
    if (COSMRibbonBar* bar = GetRibbonBar())
        bar->GetControls()->Remove(control);
}

void COSMRibbonQuickAccessControls::RefreshIndexes()
{
    for (COSMControl* control : m_controls)
        control->SetParent(m_parent);
}

COSMControl* COSMRibbonQuickAccessControls::FindDuplicate(const COSMControl* control) const
{
    for (COSMControl* candidate : m_controls)
        if (candidate->GetID() == control->GetID() && candidate->IsVisible(COSMControl::kHideWrap) &&
            candidate->GetType() == control->GetType() && candidate->GetRuntimeClass() == control->GetRuntimeClass())
            return candidate;
    return nullptr;
}
