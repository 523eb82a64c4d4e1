// The ribbon bar saved and loaded, copied and cloned: its own keys (the quick access below, minimized,
// customizable), and for a customizable ribbon the menu bar's keys, its system button and its tabs; the quick-access
// controls always. A loaded ribbon updates the frame's ribbon through MergeLoadedControls.
#include "framework/ribbon/RibbonBar.h"

#include "classlib/Exception.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/foundation/PropExchange.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonTab.h"

namespace {

// The bar flags every ribbon keeps, whatever a copy or a store brings.
constexpr DWORD kRibbonPersistedBarFlags = 0x440;
// A ribbon is always its frame's menu bar, which is how a loaded one finds the frame's.
constexpr UINT kRibbonMenuBarId = 1;
// The first schemas that store "Minimized" and "Customizable".
constexpr long kSchemaMinimized = 19;
constexpr long kSchemaCustomizable = 24;

}  // namespace

void COSMRibbonBar::DoPropExchange(COSMPropExchange* px)
{
    if (px->IsLoading())
    {
        if (COSMCommandBarsPersistParams* params = GetPersistParams(px))
            m_commandBars = params->commandBars;
        m_barId = kRibbonMenuBarId;
    }
    PropExchangeBool(px, "ShowQuickAccessBelow", &m_quickAccessBelow, FALSE);
    if (px->m_nSchema >= kSchemaMinimized)
        PropExchangeBool(px, "Minimized", &m_minimized, FALSE);
    if (px->m_nSchema >= kSchemaCustomizable)
        PropExchangeBool(px, "Customizable", &m_customizable, FALSE);

    if (m_customizable)
    {
        COSMMenuBar::DoPropExchange(px);
        m_flags = kRibbonPersistedBarFlags;
        ExchangeSystemButton(px);
        const RefPtr<COSMPropExchange> tabs = RefPtr<COSMPropExchange>::Adopt(px->GetSection("Tabs"));
        if (m_controlTab)
        {
            tabs->m_pOwner = m_controlTab;
            m_controlTab->DoPropExchange(tabs.Get());
        }
    }
    const RefPtr<COSMPropExchange> quickAccess = RefPtr<COSMPropExchange>::Adopt(px->GetSection("QuickAccessControls"));
    m_quickAccessControls->DoPropExchange(quickAccess.Get());
}

void COSMRibbonBar::ExchangeSystemButton(COSMPropExchange* px)
{
    const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("SystemButton"));
    BOOL present = m_systemButton != nullptr;
    PropExchangeBool(section.Get(), "SystemButton", &present, TRUE);
    if (px->IsStoring())
    {
        if (!present)
            return;
        CObject* button = m_systemButton;
        section->ExchangeObjectInstance(&button, RUNTIME_CLASS(COSMRibbonControlSystemButton));
        m_systemButton->DoPropExchange(section.Get());
        return;
    }
    // What was saved replaces the button the application made, none included.
    SetSystemButton(nullptr);
    if (!present)
        return;
    CObject* object = nullptr;
    section->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMRibbonControlSystemButton));
    auto* button = dynamic_cast<COSMRibbonControlSystemButton*>(object);
    if (!button)
    {
        delete object;
        AfxThrowArchiveException(CArchiveException::badClass, nullptr);
    }
    button->DoPropExchange(section.Get());
    SetSystemButton(button);
}

void COSMRibbonBar::Copy(const COSMCommandBar* source, BOOL recursive)
{
    // The menu bar's part copies the saved controls; the ribbon's own controls stay.
    COSMMenuBar::Copy(source, recursive);
    const auto* ribbon = dynamic_cast<const COSMRibbonBar*>(source);
    if (!ribbon || ribbon == this)
        return;
    m_flags = kRibbonPersistedBarFlags;
    if (m_controlTab && ribbon->m_controlTab)
        m_controlTab->Copy(ribbon->m_controlTab, recursive);
    SetSystemButton(nullptr);
    if (ribbon->m_systemButton)
    {
        if (auto* button = dynamic_cast<COSMRibbonControlSystemButton*>(ribbon->m_systemButton->Clone(recursive)))
        {
            button->SetTemporary(TRUE);
            SetSystemButton(button);
        }
    }
    CopyQuickAccess(ribbon, recursive);
    m_allowMinimize = ribbon->m_allowMinimize;
    OnTabChanged(GetSelectedTab());
}

void COSMRibbonBar::CopyQuickAccess(const COSMRibbonBar* source, BOOL recursive)
{
    m_quickAccessBelow = source->m_quickAccessBelow;
    m_minimized = source->m_minimized;
    m_quickAccessControls->RemoveAll();
    for (int i = 0; i < source->m_quickAccessControls->GetCount(); ++i)
        m_quickAccessControls->AddClone(source->m_quickAccessControls->GetAt(i), -1, recursive);
}

void COSMRibbonBar::MergeLoadedControls(COSMToolBar* loaded, BOOL silent)
{
    auto* ribbon = dynamic_cast<COSMRibbonBar*>(loaded);
    if (!ribbon)
    {
        COSMMenuBar::MergeLoadedControls(loaded, silent);
        return;
    }
    // The frame's ribbon stays with its manager and its place.
    COSMCommandBars* commandBars = m_commandBars;
    const int position = m_position;
    if (ribbon->IsCustomizableField())
    {
        Copy(ribbon, FALSE);
    }
    else
    {
        // A ribbon that was not customizable brought only its quick access and state: the application's tabs
        // and system button stay.
        CopyQuickAccess(ribbon, FALSE);
        OnTabChanged(GetSelectedTab());
    }
    m_commandBars = commandBars;
    m_position = position;
    OnRecalcLayout();
}

void COSMRibbonBar::GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list,
                                           COSMCommandBarsPersistParams* params)
{
    if (m_customizable)
    {
        COSMMenuBar::GenerateCommandBarList(nextId, list, params);
        return;
    }
    if (!list || list->Contains(this))
        return;
    // The list holds a reference of its own.
    list->Add(RefPtr<COSMCommandBar>::Retain(this).Detach());
    m_quickAccessControls->GenerateCommandBarList(nextId, list, params);
}

void COSMRibbonBar::RestoreCommandBarList(COSMCommandBarList* list)
{
    if (m_customizable)
        COSMMenuBar::RestoreCommandBarList(list);
    else
        m_quickAccessControls->RestoreCommandBarList(list);
}

// ---- Customize drops ----

int COSMRibbonBar::FindDropIndex(COSMControl* control, CPoint point, CRect* marker, int* index, BOOL* after)
{
    int found = COSMMenuBar::FindDropIndex(control, point, marker, index, after);
    // The system button and the quick-access controls take no drops beside them: no marker shows there.
    const COSMControl* target = GetControl(found);
    if (marker && target && (target == m_systemButton || IsQuickAccessControl(target)))
        marker->SetRectEmpty();
    // Free space in a group of the selected tab: the drop joins the group at its end, before its option button.
    COSMRibbonTab* tab = GetSelectedTab();
    COSMRibbonGroup* group = IsCustomizable() && tab && !m_controls->HitTest(point) && !m_minimized
                                 ? tab->GetGroups()->HitTest(point)
                                 : nullptr;
    if (!group || group->GetParentBar() != this)
        return found;
    const CRect rect = group->GetRect();
    if (marker)
        marker->SetRect(rect.left + 2, rect.top + 2, rect.left + 8, rect.top + 22);
    found = group->GetOptionButton()->GetIndex();
    if (index)
        *index = found;
    if (after)
        *after = FALSE;
    return found;
}

void COSMRibbonBar::OnCustomizeDrop(COSMControl* control, int& effect, CPoint point, CPoint start)
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (commandBars && control && DropIntoGroup(control, point))
        return;
    COSMMenuBar::OnCustomizeDrop(control, effect, point, start);
    // A copy dropped right after the tab strip belongs to the controls at the right of the tab row.
    COSMControl* copy = commandBars ? commandBars->GetCustomizeSelection() : nullptr;
    if (!copy || copy == control || copy->GetParent() != this || !m_controlTab)
        return;
    // The groups' scroll buttons follow the strip in the controls but are not part of the row.
    int before = copy->GetIndex() - 1;
    while (before > m_controlTab->GetIndex() && dynamic_cast<COSMRibbonGroupsScrollButton*>(GetControl(before)))
        --before;
    if (before == m_controlTab->GetIndex())
    {
        copy->SetFlags(copy->GetFlags() | COSMControl::kFlagRightAlign);
        OnRecalcLayout();
    }
}

BOOL COSMRibbonBar::DropIntoGroup(COSMControl* control, CPoint point)
{
    int index = -1;
    BOOL after = FALSE;
    FindDropIndex(control, point, nullptr, &index, &after);
    COSMControl* target = GetControl(index);
    COSMRibbonGroup* group = target && target != control ? target->GetRibbonGroup() : nullptr;
    if (!group || group->GetParentBar() != this)
        return FALSE;
    // The group's own buttons stand for its end; a member for its place in the group.
    const BOOL member = target != group->GetOptionButton() && target != group->GetPopupButton();
    const int position = member ? group->IndexOf(target) + (after ? 1 : 0) : group->GetCount();
    SetPopuped(-1, FALSE);
    SetSelected(-1, kSelectMouse);
    BOOL beginGroup = FALSE;
    if (member && !after)
    {
        beginGroup = target->GetBeginGroup();
        target->SetBeginGroup(FALSE);
    }
    if (COSMControl* copy = group->AddClone(control, position, TRUE))
    {
        copy->SetBeginGroup(beginGroup);
        GetCommandBars()->SetCustomizeSelection(copy);
    }
    OnRecalcLayout();
    m_dropMarkerRect.SetRectEmpty();
    Redraw(nullptr, TRUE);
    return TRUE;
}
