// One set of controls per document template's menu: the records and their map, switching between them as the MDI
// framework changes the frame menu, reset, the customized state and copying.
#include "classlib/DocTemplate.h"
#include "classlib/Menu.h"
#include "classlib/RefPtr.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/MenuBar.h"

#include "framework/commandbars/CommandBars.h"

IMPLEMENT_DYNAMIC(COSMMenuBarMDIMenuInfo, CCmdTarget)

// ---- Records and their map ----

COSMMenuBarMDIMenuInfo::COSMMenuBarMDIMenuInfo(COSMCommandBars* commandBars, UINT menuId)
    : m_controls(RefPtr<COSMControls>::Adopt(new COSMControls)), m_menuId(menuId)
{
    m_controls->SetCommandBars(commandBars);
    m_icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(menuId));
    if (CWinApp* app = AfxGetApp())
    {
        for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;)
        {
            CDocTemplate* docTemplate = app->GetNextDocTemplate(pos);
            if (docTemplate->GetResourceID() != menuId)
                continue;
            docTemplate->GetDocString(m_docName, CDocTemplate::docName);
            docTemplate->GetDocString(m_fileTypeName, CDocTemplate::regFileTypeName);
            break;
        }
    }
}

COSMMenuBarMDIMenuInfo::~COSMMenuBarMDIMenuInfo() = default;

void COSMMenuBarMDIMenuInfo::SetControls(COSMControls* controls)
{
    m_controls = RefPtr<COSMControls>::Adopt(controls);
}

void COSMMenuBarMDIMenus::SetRecord(UINT menuId, COSMMenuBarMDIMenuInfo* record)
{
    COSMMenuBarMDIMenuInfo* old = nullptr;
    if (Lookup(menuId, old) && old && old != record)
        old->InternalRelease();
    SetAt(menuId, record);
}

COSMMenuBarMDIMenuInfo* COSMMenuBarMDIMenus::GetRecord(UINT menuId) const
{
    COSMMenuBarMDIMenuInfo* record = nullptr;
    return Lookup(menuId, record) ? record : nullptr;
}

void COSMMenuBarMDIMenus::RemoveRecord(UINT menuId)
{
    COSMMenuBarMDIMenuInfo* record = nullptr;
    if (!Lookup(menuId, record))
        return;
    RemoveKey(menuId);
    if (record)
        record->InternalRelease();
}

void COSMMenuBarMDIMenus::RemoveAllRecords()
{
    for (const auto& [id, record] : GetRecords())
        if (record)
            record->InternalRelease();
    RemoveAll();
}

std::vector<std::pair<UINT, COSMMenuBarMDIMenuInfo*>> COSMMenuBarMDIMenus::GetRecords() const
{
    std::vector<std::pair<UINT, COSMMenuBarMDIMenuInfo*>> records;
    records.reserve(static_cast<size_t>(GetCount()));
    for (POSITION pos = GetStartPosition(); pos;)
    {
        UINT id = 0;
        COSMMenuBarMDIMenuInfo* record = nullptr;
        GetNextAssoc(pos, id, record);
        records.emplace_back(id, record);
    }
    return records;
}

// ---- Switching ----

void COSMMenuBar::OnMDISetMenu(HMENU menu)
{
    COSMCommandBars* commandBars = GetCommandBars();
    const UINT id = menu == m_savedFrameMenu ? m_resourceId : (commandBars ? commandBars->GetActiveDocTemplateId() : 0);
    if (id == 0 || m_currentMenuId == 0 || id == m_currentMenuId || ::GetMenuItemCount(menu) <= 0)
        return;
    CMenu wrapper;
    wrapper.Attach(menu);
    SwitchMDIMenu(id, &wrapper);
    wrapper.Detach();
}

void COSMMenuBar::AdoptControls(COSMControls* controls)
{
    if (!controls || controls == m_controls)
        return;
    // The MDI controls belong to the bar, not to a template's set.
    for (UINT id : {kSystemPopupId, kMinimizeButtonId, kRestoreButtonId, kCloseButtonId})
        if (COSMControl* control = m_controls->FindControlById(static_cast<int>(id)))
            m_controls->Remove(control);
    controls->InternalAddRef();
    SetControls(controls);
}

namespace {

// A snapshot of the menu's controls, as loading the menu into a bar makes them; the caller's reference.
COSMOriginalControls* SnapshotOfMenu(COSMCommandBars* commandBars, CMenu* menu)
{
    auto scratch = RefPtr<COSMCommandBar>::Adopt(new COSMCommandBar);
    scratch->SetCommandBars(commandBars);
    if (!scratch->LoadMenu(menu, TRUE))
        return nullptr;
    scratch->GetControls()->CreateOriginalControls();
    COSMOriginalControls* original = scratch->GetControls()->GetOriginalControls();
    original->InternalAddRef();
    return original;
}

}  // namespace

void COSMMenuBar::SwitchMDIMenu(UINT menuId, CMenu* menu)
{
    if (menuId == 0 || m_currentMenuId == 0 || menuId == m_currentMenuId)
        return;
    COSMCommandBars* commandBars = GetCommandBars();
    COSMMenuBarMDIMenuInfo* record = m_mdiMenus->GetRecord(menuId);
    if ((!commandBars || !commandBars->GetCustomizeDialog()) && !record)
    {
        // Nobody customizes: the controls simply follow the menu.
        if (menu)
            LoadMenu(menu, TRUE);
    }
    else
    {
        if (!menu && !record)
            return;
        if (!m_mdiMenus->GetRecord(m_currentMenuId))
        {
            auto* current = new COSMMenuBarMDIMenuInfo(commandBars, m_currentMenuId);
            current->m_controls = m_controls;
            m_mdiMenus->SetRecord(m_currentMenuId, current);
        }
        if (record)
        {
            COSMControls* controls = record->m_controls.Get();
            AdoptControls(controls);
            if (!controls->GetOriginalControls() && menu)
                controls->SetOriginalControls(SnapshotOfMenu(commandBars, menu));
            // The bar's own menu lives in the bar, not in the map.
            if (menuId == m_resourceId)
                m_mdiMenus->RemoveRecord(menuId);
        }
        else
        {
            auto* created = new COSMMenuBarMDIMenuInfo(commandBars, menuId);
            AdoptControls(created->m_controls.Get());
            if (menu)
            {
                LoadMenu(menu, TRUE);
                m_controls->CreateOriginalControls();
            }
            m_mdiMenus->SetRecord(menuId, created);
        }
    }
    OnRecalcLayout();
    m_currentMenuId = menuId;
}

// ---- Reset, customized state, copies ----

void COSMMenuBar::Reset(BOOL ask)
{
    if (m_controls->GetOriginalControls())
    {
        COSMToolBar::Reset(ask);
        RefreshMdiState();
        return;
    }
    if (m_currentMenuId == 0)
        return;
    if (ask && !ConfirmReset())
        return;
    CMenu menu;
    if (menu.LoadMenu(m_currentMenuId))
    {
        LoadMenu(&menu, TRUE);
        HWND frame = GetSiteHwnd();
        if (::IsWindow(frame))
            ::SendMessageA(frame, kMessageReset, 0, reinterpret_cast<LPARAM>(this));
    }
    RefreshMdiState();
    OnIdleUpdateCmdUI(0, 0);
    OnRecalcLayout();
}

void COSMMenuBar::PrepareForSaving()
{
    if (m_mdiMenus->GetCount() > 0)
    {
        SwitchMDIMenu(m_resourceId, nullptr);
        m_switchedForSaving = TRUE;
    }
    for (const auto& [id, record] : m_mdiMenus->GetRecords())
        record->m_changed = record->m_controls->IsChanged();
}

BOOL COSMMenuBar::IsCustomized() const
{
    if (!IsCustomizable())
        return FALSE;
    for (const auto& [id, record] : m_mdiMenus->GetRecords())
        if (record->m_controls->IsChanged())
            return TRUE;
    return COSMToolBar::IsCustomized();
}

void COSMMenuBar::Copy(const COSMCommandBar* source, BOOL recursive)
{
    COSMToolBar::Copy(source, recursive);
    const auto* menuBar = dynamic_cast<const COSMMenuBar*>(source);
    if (!menuBar || menuBar == this)
        return;
    m_resourceId = menuBar->m_resourceId;
    // The copied controls are those of the source's current menu.
    m_currentMenuId = menuBar->m_currentMenuId;
    // Every record gets controls of its own: a shared collection would follow whichever bar switched last.
    for (const auto& [id, sourceRecord] : menuBar->m_mdiMenus->GetRecords())
    {
        COSMControls* duplicate = sourceRecord->m_controls->Duplicate(TRUE);
        if (!duplicate)
            continue;
        duplicate->SetCommandBars(m_commandBars);
        if (COSMMenuBarMDIMenuInfo* own = m_mdiMenus->GetRecord(id))
        {
            own->SetControls(duplicate);
            continue;
        }
        auto* record = new COSMMenuBarMDIMenuInfo(m_commandBars, id);
        record->SetControls(duplicate);
        m_mdiMenus->SetRecord(id, record);
    }
}
