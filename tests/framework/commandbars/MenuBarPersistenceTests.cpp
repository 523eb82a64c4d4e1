// The menu bar saved and loaded through the archive exchange: its bytes beside a popup and a custom toolbar, its
// keys at old schemas, its per-template records, and a loaded menu bar merged into a fresh frame's.
#include "MenuBarTestSupport.h"
#include "PersistenceTestSupport.h"

#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/ControlPopup.h"

using namespace commandbars_test;
using namespace prop_exchange_test;

namespace {

// Loads the bars of the store into a list of their own, popups re-attached, nothing merged.
BOOL LoadList(COSMCommandBars* commandBars, const Bytes& bytes, COSMCommandBarList* list)
{
    LoadFromMemory load(bytes);
    if (!commandBars->LoadCommandBarList(&load.px, list))
        return FALSE;
    for (int i = 0; i < list->GetCount(); ++i)
        list->GetAt(i)->RestoreCommandBarList(list);
    return TRUE;
}

// A fresh site with the application's menu bar made again.
struct FreshMenuSite : FreshSite
{
    FreshMenuSite()
    {
        menuBar = static_cast<COSMMenuBar*>(commandBars->AddMenuBar("Menu Bar", IDR_TEST_EDIT_MENU));
        created = created && menuBar;
    }

    COSMMenuBar* menuBar = nullptr;
};

using MenuBarPersistenceTest = DockSiteTest;

}  // namespace

TEST_F(MenuBarPersistenceTest, MenuBarSavesTheBytesOfTheStoredFormsAndLoadsEqual)
{
    auto* menuBar = static_cast<COSMMenuBar*>(commandBars->AddMenuBar("Menu Bar", IDR_TEST_EDIT_MENU));
    ASSERT_NE(nullptr, menuBar);
    // One popup of two items in place of the resource's.
    menuBar->GetControls()->RemoveAll();
    auto* edit = static_cast<COSMControlPopup*>(menuBar->GetControls()->Append(new COSMControlPopup));
    edit->SetType(2);
    edit->SetID(7);
    edit->SetCaption("&Edit");
    RefPtr<COSMPopupBar> popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    popup->GetControls()->Add(1, 30101)->SetCaption("&Open");
    popup->GetControls()->Add(1, 30102)->SetCaption("&Save");
    edit->SetCommandBar(popup.Get());
    auto* custom = static_cast<COSMToolBar*>(commandBars->AddToolBar("Custom 1", 59392));
    ASSERT_NE(nullptr, custom);
    custom->GetControls()->Add(1, 30103)->SetCaption("&Close");

    // Objects in the archive: 1 menu bar class, 2 menu bar, 3 popup control class, 4 popup control, 5 popup bar
    // class, 6 popup bar, 7 button class, 8 and 9 buttons, 10 toolbar class, 11 toolbar, 12 button.
    StreamWriter w;
    w.Long(3).NewClass("COSMMenuBar", kToolBarSchema);
    w.BarKeys(kSchema, 0, 1, menuBar->GetBarStyle(), "Menu Bar", 0, menuBar->GetMRUWidth(), menuBar->GetFlags());
    w.Long(1).NewClass("COSMControlPopup").ControlKeys(2, 7, "&Edit").Long(0x1000000).EndControls();
    w.ToolBarKeys(kToolBarSchema, menuBar->IsBuiltIn(), menuBar->IsCloseable())
        .MenuBarKeys(kSchema, IDR_TEST_EDIT_MENU);
    w.NewClass("COSMPopupBar");
    w.BarKeys(kSchema, 2, 0x1000000, popup->GetBarStyle(), "", popup->GetPosition(), popup->GetMRUWidth(),
              popup->GetFlags());
    w.Long(2).NewClass("COSMControlButton").ControlKeys(1, 30101, "&Open");
    w.ClassRef(7).ControlKeys(1, 30102, "&Save").EndControls().PopupKeys();
    w.NewClass("COSMToolBar", kToolBarSchema);
    w.BarKeys(kSchema, 1, 59392, COSMCommandBar::kStyleGripper, "Custom 1", 0, custom->GetMRUWidth(),
              custom->GetFlags());
    w.Long(1).ClassRef(7).ControlKeys(1, 30103, "&Close").EndControls().ToolBarKeys(kToolBarSchema, FALSE);
    const Bytes bytes = SaveBars(commandBars.Get());
    EXPECT_EQ(w.bytes, bytes) << FirstDifference(w.bytes, bytes);

    FreshMenuSite fresh;
    ASSERT_TRUE(fresh.created);
    const int ownedBefore = fresh.commandBars->GetOwnedPopups()->GetCount();
    LoadFromMemory load(bytes);
    ASSERT_TRUE(fresh.commandBars->LoadBarState(&load.px, TRUE));
    // The loaded menu bar went into the application's; the custom toolbar joined it.
    EXPECT_EQ(2, fresh.commandBars->GetCount());
    // The menu's popup bar is no context menu: it stays with its control and joins no owned list.
    EXPECT_EQ(ownedBefore, fresh.commandBars->GetOwnedPopups()->GetCount());
    EXPECT_EQ(fresh.menuBar, fresh.commandBars->GetMenuBar());
    EXPECT_TRUE(fresh.menuBar->GetControls()->Compare(menuBar->GetControls()));
    EXPECT_EQ(UINT(IDR_TEST_EDIT_MENU), fresh.menuBar->GetResourceId());
    EXPECT_EQ(UINT(IDR_TEST_EDIT_MENU), fresh.menuBar->GetCurrentMenuId());
    auto* loadedEdit = dynamic_cast<COSMControlPopup*>(fresh.menuBar->GetControl(0));
    ASSERT_NE(nullptr, loadedEdit);
    ASSERT_NE(nullptr, loadedEdit->GetCommandBar());
    EXPECT_NE(popup.Get(), loadedEdit->GetCommandBar());
    EXPECT_EQ(0, loadedEdit->GetCommandBarId());
    EXPECT_TRUE(loadedEdit->GetCommandBar()->GetControls()->Compare(popup->GetControls()));
    auto* loadedCustom = dynamic_cast<COSMToolBar*>(fresh.commandBars->FindCommandBar(59392));
    ASSERT_NE(nullptr, loadedCustom);
    EXPECT_TRUE(loadedCustom->GetControls()->Compare(custom->GetControls()));
}

// Hand-made menu bars at old schemas: no template sections before 5, never closeable before 17; the bar after each
// shows that the stream stayed in step.
TEST_F(MenuBarPersistenceTest, MenuBarKeysFollowTheirSchemas)
{
    struct Row
    {
        WORD schema;
        BOOL closeable;
        std::vector<UINT> templateMenus;
    };
    const Row rows[] = {
        {4, FALSE, {}},         {5, FALSE, {300, 200}}, {16, FALSE, {200}},
        {17, TRUE, {300, 200}}, {kSchema, TRUE, {}},    {kToolBarSchema, TRUE, {200}},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "schema " << row.schema);
        StreamWriter w;
        w.Long(2).NewClass("COSMMenuBar", row.schema).BarKeys(row.schema, 0, 1, 0, "Menu Bar");
        w.Long(0).EndControls().ToolBarKeys(row.schema, TRUE, TRUE);
        w.MenuBarKeys(row.schema, 100, static_cast<WORD>(row.templateMenus.size()));
        for (UINT id : row.templateMenus)
            w.Long(static_cast<long>(id)).Long(0).EndControls();
        w.NewClass("COSMToolBar", row.schema).BarKeys(row.schema, 1, 0x2001, 0, "Next").Long(0).EndControls();
        w.ToolBarKeys(row.schema, TRUE);

        COSMCommandBarList list;
        ASSERT_TRUE(LoadList(commandBars.Get(), w.bytes, &list));
        ASSERT_EQ(2, list.GetCount());
        auto* bar = dynamic_cast<COSMMenuBar*>(list.GetAt(0));
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(row.closeable, bar->IsCloseable());
        EXPECT_EQ(100u, bar->GetResourceId());
        EXPECT_EQ(100u, bar->GetCurrentMenuId());
        EXPECT_EQ(static_cast<INT_PTR>(row.templateMenus.size()), bar->GetMDIMenus()->GetCount());
        for (UINT id : row.templateMenus)
            EXPECT_NE(nullptr, bar->GetMDIMenus()->GetRecord(id)) << id;
        EXPECT_EQ(CString("Next"), list.GetAt(1)->GetTitle());
    }
}

using MenuBarRecordsPersistenceTest = MenuBarMdiTest;

// A template's changed menu is stored, switched back to the bar's own menu first; an unchanged one is not; the
// stored record comes back with its popups re-attached and merges into the application's menu bar.
TEST_F(MenuBarRecordsPersistenceTest, ChangedTemplateMenusSurviveASaveAndLoad)
{
    COSMMenuBar* bar = AddBarWithTemplateRecords();
    ASSERT_NE(nullptr, bar);
    COSMMenuBarMDIMenuInfo* text = bar->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE);
    ASSERT_NE(nullptr, text);
    ASSERT_GT(text->m_controls->GetCount(), 1);
    text->m_controls->Remove(text->m_controls->GetAt(0));

    const Bytes bytes = SaveBars(commandBars.Get());
    EXPECT_EQ(UINT(IDR_TEST_FRAME_MENU), bar->GetCurrentMenuId());

    COSMCommandBarList list;
    ASSERT_TRUE(LoadList(commandBars.Get(), bytes, &list));
    ASSERT_GE(list.GetCount(), 1);
    auto* loaded = dynamic_cast<COSMMenuBar*>(list.GetAt(0));
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ(UINT(IDR_TEST_FRAME_MENU), loaded->GetResourceId());
    EXPECT_TRUE(loaded->GetControls()->Compare(bar->GetControls()));
    EXPECT_EQ(nullptr, loaded->GetMDIMenus()->GetRecord(IDR_TEST_IMAGE_TYPE));
    COSMMenuBarMDIMenuInfo* loadedText = loaded->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE);
    ASSERT_NE(nullptr, loadedText);
    EXPECT_TRUE(loadedText->m_controls->Compare(text->m_controls.Get()));
    // The popups of the record's controls found their bars in the list.
    int popups = 0;
    for (int i = 0; i < loadedText->m_controls->GetCount(); ++i)
        if (auto* control = dynamic_cast<COSMControlPopup*>(loadedText->m_controls->GetAt(i)))
        {
            ++popups;
            EXPECT_NE(nullptr, control->GetCommandBar()) << i;
            EXPECT_EQ(0, control->GetCommandBarId()) << i;
        }
    EXPECT_GT(popups, 0);

    // Merged into a menu bar that forgot the template (its record released): the record comes with the loaded
    // controls, as a copy of its own.
    bar->GetMDIMenus()->RemoveAllRecords();
    text = nullptr;
    bar->MergeLoadedControls(loaded, TRUE);
    COSMMenuBarMDIMenuInfo* merged = bar->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE);
    ASSERT_NE(nullptr, merged);
    EXPECT_NE(loadedText->m_controls, merged->m_controls);
    EXPECT_TRUE(merged->m_controls->Compare(loadedText->m_controls.Get()));
}

// Only records whose controls changed are stored, counted first, in the map's walking order (300 lies in an earlier
// bucket than 200, and 400 between them has its snapshot).
TEST_F(MenuBarPersistenceTest, ChangedRecordsAreStoredInMapOrder)
{
    RefPtr<COSMMenuBar> bar = AdoptRef(new COSMMenuBar);
    bar->SetCommandBars(commandBars.Get());
    bar->SetTitle("Menu Bar");
    struct Record
    {
        UINT menuId;
        UINT controlId;
        const char* caption;
        BOOL changed;
    };
    const Record records[] = {{200, 30200, "&Wrap", TRUE}, {300, 30300, "&Zoom", TRUE}, {400, 30400, "&Tile", FALSE}};
    for (const Record& record : records)
    {
        auto* info = new COSMMenuBarMDIMenuInfo(commandBars.Get(), record.menuId);
        info->m_controls->Add(1, static_cast<int>(record.controlId))->SetCaption(record.caption);
        if (!record.changed)
            info->m_controls->CreateOriginalControls();
        bar->GetMDIMenus()->SetRecord(record.menuId, info);
    }

    // 1 menu bar class, 2 menu bar, 3 button class, 4 and 5 buttons.
    StreamWriter w;
    w.Long(1).NewClass("COSMMenuBar", kToolBarSchema);
    w.BarKeys(kSchema, 0, 1, bar->GetBarStyle(), "Menu Bar", bar->GetPosition(), bar->GetMRUWidth(), bar->GetFlags());
    w.Long(0)
        .EndControls()
        .ToolBarKeys(kToolBarSchema, bar->IsBuiltIn(), bar->IsCloseable())
        .MenuBarKeys(kSchema, 0, 2);
    w.Long(300).Long(1).NewClass("COSMControlButton").ControlKeys(1, 30300, "&Zoom").EndControls();
    w.Long(200).Long(1).ClassRef(3).ControlKeys(1, 30200, "&Wrap").EndControls();

    COSMCommandBarList list;
    COSMCommandBarsPersistParams params;
    DWORD nextId = 0x1000000;
    bar->GenerateCommandBarList(nextId, &list, &params);
    ASSERT_EQ(1, list.GetCount());
    StoreToMemory store;
    ASSERT_TRUE(commandBars->SaveCommandBarList(&store.px, &list));
    const Bytes bytes = store.Take();
    EXPECT_EQ(w.bytes, bytes) << FirstDifference(w.bytes, bytes);
    EXPECT_FALSE(bar->GetMDIMenus()->GetRecord(400)->m_changed);
}
