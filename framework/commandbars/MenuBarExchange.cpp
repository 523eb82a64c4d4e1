// The menu bar's side of saving and loading: its menu resource id, the controls of each document template's menu
// that the user changed, and the popups those controls lead to.
#include "classlib/CString.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/MenuBar.h"
#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/foundation/PropExchange.h"

#include <algorithm>

namespace {

// Stores without per-template records came before this schema.
constexpr long kFirstSchemaWithTemplateMenus = 5;

RefPtr<COSMPropExchange> TemplateMenuSection(COSMPropExchange* px, DWORD index)
{
    CString name;
    name.Format("MDIMenu%i", static_cast<int>(index));
    return RefPtr<COSMPropExchange>::Adopt(px->GetSection(name));
}

}  // namespace

void COSMMenuBar::DoPropExchange(COSMPropExchange* px)
{
    // What is stored as the bar's controls must be those of its own menu, and each record must know whether the
    // user changed it.
    if (!px->IsLoading())
        PrepareForSaving();
    COSMToolBar::DoPropExchange(px);
    long resourceId = static_cast<long>(m_resourceId);
    PropExchangeLong(px, "ResourceId", &resourceId, 0);
    if (!px->IsLoading())
    {
        // Records are stored in the map's walking order.
        const auto records = m_mdiMenus->GetRecords();
        const auto changed = std::count_if(records.begin(), records.end(),
                                           [](const auto& entry) { return entry.second->m_changed != FALSE; });
        px->WriteCount(static_cast<DWORD>(changed));
        DWORD index = 0;
        for (const auto& [id, record] : records)
        {
            if (!record->m_changed)
                continue;
            const RefPtr<COSMPropExchange> section = TemplateMenuSection(px, index++);
            long menuId = static_cast<long>(record->m_menuId);
            PropExchangeLong(section.Get(), "Id", &menuId, 0);
            record->m_controls->DoPropExchange(section.Get());
        }
        return;
    }

    m_resourceId = static_cast<UINT>(resourceId);
    // The stored controls are those of the bar's own menu.
    m_currentMenuId = m_resourceId;
    if (px->m_nSchema < kFirstSchemaWithTemplateMenus)
        return;
    const DWORD count = px->ReadCount();
    for (DWORD index = 0; index < count; ++index)
    {
        const RefPtr<COSMPropExchange> section = TemplateMenuSection(px, index);
        long menuId = 0;
        PropExchangeLong(section.Get(), "Id", &menuId, 0);
        const UINT id = static_cast<UINT>(menuId);
        COSMMenuBarMDIMenuInfo* record = m_mdiMenus->GetRecord(id);
        if (!record)
        {
            record = new COSMMenuBarMDIMenuInfo(m_commandBars, id);
            m_mdiMenus->SetRecord(id, record);
        }
        record->m_controls->DoPropExchange(section.Get());
        record->m_controls->RefreshIndexes();
        record->m_changed = TRUE;
    }
}

void COSMMenuBar::GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list, COSMCommandBarsPersistParams* params)
{
    if (!list || list->Contains(this))
        return;
    COSMToolBar::GenerateCommandBarList(nextId, list, params);
    for (const auto& [id, record] : m_mdiMenus->GetRecords())
        record->m_controls->GenerateCommandBarList(nextId, list, params);
}

void COSMMenuBar::RestoreCommandBarList(COSMCommandBarList* list)
{
    COSMToolBar::RestoreCommandBarList(list);
    for (const auto& [id, record] : m_mdiMenus->GetRecords())
        record->m_controls->RestoreCommandBarList(list);
}
