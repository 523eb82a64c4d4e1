// The command-bars options: the stored bytes of every schema, named stores, keyboard cues, and the manager's hidden
// and used commands. Memory archives and objects only, no windows.
#include "CommandBarsTestSupport.h"
#include "PropExchangeTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlPopup.h"

using namespace commandbars_test;
using namespace prop_exchange_test;

namespace {

// What the system answers about keyboard cues, for the options' query.
BOOL g_queryAnswers = TRUE;
BOOL g_systemUnderlines = TRUE;

BOOL FakeQueryKeyboardCues(BOOL* underlined)
{
    *underlined = g_systemUnderlines;
    return g_queryAnswers;
}

class OptionsTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        g_queryAnswers = TRUE;
        g_systemUnderlines = TRUE;
    }

    static Bytes Store(COSMCommandBarsOptions* options)
    {
        StoreToMemory store;
        options->Serialize(store.ar);
        return store.Take();
    }

    // Loads the bytes and says whether every one of them was read.
    static bool LoadAll(COSMCommandBarsOptions* options, const Bytes& bytes)
    {
        LoadFromMemory load(bytes);
        options->Serialize(load.ar);
        BYTE extra = 0;
        return load.ar.Read(&extra, 1) == 0;
    }

    static std::vector<UINT> Ids(const COSMCommandBarsOptions::CCommandIdMap& map)
    {
        std::vector<UINT> ids;
        for (POSITION pos = map.GetStartPosition(); pos;)
        {
            UINT id = 0;
            UINT value = 0;
            map.GetNextAssoc(pos, id, value);
            ids.push_back(id);
        }
        return ids;
    }

private:
    ScopedSetting<COSMCommandBarsOptions::QueryKeyboardCuesFn> m_query{COSMCommandBarsOptions::s_pfnQueryKeyboardCues,
                                                                       &FakeQueryKeyboardCues};
};

TEST_F(OptionsTest, DefaultsUnderAManagerStoreTheseBytes)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
    ASSERT_NE(nullptr, options);
    EXPECT_EQ(commandBars.Get(), options->GetCommandBars());

    Bytes expected;
    AppendDWord(expected, 34);  // Schema
    for (DWORD value : {1, 1, 1, 0, 0})
        AppendDWord(expected, value);     // full menus, after delay, screen tips, shortcut tips, large icons
    AppendBytes(expected, {0x00, 0x00});  // UsedCommands: no ids
    AppendDWord(expected, 0);             // Animation
    AppendDWord(expected, 1);             // SyncFloatingBars
    AppendDWord(expected, 1);             // ShowExpandButtonAlways
    for (int i = 0; i < 4; ++i)
        AppendDWord(expected, 0);         // IconsSize, LargeIconsSize
    AppendBytes(expected, {0x00, 0x00});  // HiddenCommands: no ids
    for (int i = 0; i < 3; ++i)
        AppendDWord(expected, 0);  // a fresh paint manager's icon switches
    for (DWORD value : {1, 1, 0, 0, 1, 1})
        AppendDWord(expected, value);  // the two again, double click, text below, Alt drag, hide unused popups
    AppendDWord(expected, 0);          // PopupIconsSize
    AppendDWord(expected, 0);
    AppendDWord(expected, 1);  // KeyboardCuesUse
    AppendDWord(expected, 2);  // KeyboardCuesShow: the manager follows the system
    ASSERT_EQ(108u, expected.size());

    EXPECT_EQ(expected, Store(options));
}

TEST_F(OptionsTest, EveryStoredValueComesBack)
{
    RefPtr<COSMCommandBars> source = AdoptRef(new COSMCommandBars);
    COSMCommandBarsOptions* options = source->GetCommandBarsOptions();
    options->m_alwaysShowFullMenus = FALSE;
    options->m_showFullAfterDelay = FALSE;
    options->m_toolBarScreenTips = FALSE;
    options->m_toolBarAccelTips = TRUE;
    options->m_largeIcons = TRUE;
    options->m_usedCommands.SetAt(0x1234, 1);
    options->m_usedCommands.SetAt(7, 1);
    options->m_animation = 3;
    options->m_syncFloatingBars = FALSE;
    options->m_showExpandButtonAlways = FALSE;
    options->m_iconsSize = CSize(20, 21);
    options->m_largeIconsSize = CSize(40, 41);
    options->m_hiddenCommands.SetAt(0xE100, 1);
    options->m_dblClickFloat = TRUE;
    options->m_showTextBelowIcons = TRUE;
    options->m_altDragCustomization = FALSE;
    options->m_autoHideUnusedPopups = FALSE;
    options->m_popupIconsSize = CSize(24, 25);
    options->m_keyboardCuesUse = 5;
    options->m_keyboardCuesShow = COSMCommandBarsOptions::kCuesNever;
    COSMPaintManagerIconsInfo* icons = source->GetPaintManager()->GetIconsInfo();
    icons->iconsWithShadow = 1;
    icons->useDisabledIcons = 1;
    icons->useFadedIcons = 0;
    const Bytes bytes = Store(options);

    // Another paint manager for the loading manager: the icon switches must arrive in it.
    RefPtr<COSMPaintManager> paintManager = AdoptRef(COSMTestPaintManager::Create());
    RefPtr<COSMCommandBars> target = AdoptRef(new COSMCommandBars);
    target->SetPaintManager(paintManager.Get());
    COSMCommandBarsOptions* loaded = target->GetCommandBarsOptions();
    loaded->m_usedCommands.SetAt(99, 1);  // replaced, not added to
    ASSERT_TRUE(LoadAll(loaded, bytes));

    EXPECT_FALSE(loaded->m_alwaysShowFullMenus);
    EXPECT_FALSE(loaded->m_showFullAfterDelay);
    EXPECT_FALSE(loaded->m_toolBarScreenTips);
    EXPECT_TRUE(loaded->m_toolBarAccelTips);
    EXPECT_TRUE(loaded->m_largeIcons);
    EXPECT_EQ(Ids(options->m_usedCommands), Ids(loaded->m_usedCommands));
    EXPECT_EQ(3, loaded->m_animation);
    EXPECT_FALSE(loaded->m_syncFloatingBars);
    EXPECT_FALSE(loaded->m_showExpandButtonAlways);
    EXPECT_EQ(CSize(20, 21), loaded->m_iconsSize);
    EXPECT_EQ(CSize(40, 41), loaded->m_largeIconsSize);
    EXPECT_EQ(std::vector<UINT>{0xE100}, Ids(loaded->m_hiddenCommands));
    EXPECT_TRUE(loaded->m_dblClickFloat);
    EXPECT_TRUE(loaded->m_showTextBelowIcons);
    EXPECT_FALSE(loaded->m_altDragCustomization);
    EXPECT_FALSE(loaded->m_autoHideUnusedPopups);
    EXPECT_EQ(CSize(24, 25), loaded->m_popupIconsSize);
    EXPECT_EQ(5u, loaded->m_keyboardCuesUse);
    EXPECT_EQ(COSMCommandBarsOptions::kCuesNever, loaded->m_keyboardCuesShow);
    const COSMPaintManagerIconsInfo* loadedIcons = paintManager->GetIconsInfo();
    EXPECT_EQ(1u, loadedIcons->iconsWithShadow);
    EXPECT_EQ(1u, loadedIcons->useDisabledIcons);
    EXPECT_EQ(0u, loadedIcons->useFadedIcons);
    // Stored again, the loaded options give the same bytes.
    EXPECT_EQ(bytes, Store(loaded));
}

TEST_F(OptionsTest, OptionsWithoutAManagerKeepTheIconSwitchesInPlace)
{
    COSMCommandBarsOptions options;
    const Bytes bytes = Store(&options);
    ASSERT_EQ(108u, bytes.size());
    // The three switches stand at bytes 56 to 67 with their own defaults: no shadow, disabled and faded icons.
    EXPECT_EQ(Bytes({0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}), Bytes(bytes.begin() + 56, bytes.begin() + 68));
    // Free-standing options keep the cue mode they were made with.
    EXPECT_EQ(0, bytes[104]);
    COSMCommandBarsOptions loaded;
    EXPECT_TRUE(LoadAll(&loaded, bytes));
}

// A stream of an older schema, as such a writer stored it: the keys of later schemas are missing.
Bytes OldStream(DWORD schema)
{
    Bytes bytes;
    AppendDWord(bytes, schema);
    for (DWORD value : {0, 0, 0, 1, 1})
        AppendDWord(bytes, value);
    if (schema > 7)
    {
        AppendBytes(bytes, {0x01, 0x00});
        AppendDWord(bytes, 0x1234);  // used id
        AppendDWord(bytes, 1);
        AppendDWord(bytes, 3);  // Animation
    }
    AppendDWord(bytes, 0);  // SyncFloatingBars
    AppendDWord(bytes, 0);  // ShowExpandButtonAlways
    for (DWORD value : {20, 20, 40, 40})
        AppendDWord(bytes, value);
    AppendBytes(bytes, {0x01, 0x00});
    AppendDWord(bytes, 0x2000);  // hidden id
    AppendDWord(bytes, 1);
    for (DWORD value : {1, 0, 0})
        AppendDWord(bytes, value);  // shadow, disabled, faded
    if (schema > 7)
    {
        for (DWORD value : {0, 0, 1, 1, 0, 0})
            AppendDWord(bytes, value);
        AppendDWord(bytes, 24);
        AppendDWord(bytes, 24);
    }
    if (schema > 8)
    {
        AppendDWord(bytes, 5);
        AppendDWord(bytes, 1);
    }
    return bytes;
}

TEST_F(OptionsTest, OlderSchemasLeaveTheKeysTheyLackAlone)
{
    const struct
    {
        DWORD schema;
        bool usageLoaded;  // used commands, animation and the second block
    } cases[] = {{7, false}, {8, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.schema);
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
        options->m_usedCommands.SetAt(0x777, 1);
        options->m_animation = 9;
        options->m_popupIconsSize = CSize(7, 7);
        options->m_keyboardCuesUse = 4;
        ASSERT_TRUE(LoadAll(options, OldStream(c.schema)));

        // Every schema holds these.
        EXPECT_FALSE(options->m_alwaysShowFullMenus);
        EXPECT_TRUE(options->m_largeIcons);
        EXPECT_FALSE(options->m_syncFloatingBars);
        EXPECT_FALSE(options->m_showExpandButtonAlways);
        EXPECT_EQ(CSize(40, 40), options->m_largeIconsSize);
        EXPECT_EQ(std::vector<UINT>{0x2000}, Ids(options->m_hiddenCommands));
        EXPECT_EQ(1u, commandBars->GetPaintManager()->GetIconsInfo()->iconsWithShadow);

        EXPECT_EQ(c.usageLoaded ? std::vector<UINT>{0x1234} : std::vector<UINT>{0x777}, Ids(options->m_usedCommands));
        EXPECT_EQ(c.usageLoaded ? 3 : 9, options->m_animation);
        EXPECT_EQ(c.usageLoaded ? TRUE : FALSE, options->m_dblClickFloat);
        EXPECT_EQ(c.usageLoaded ? TRUE : FALSE, options->m_showTextBelowIcons);
        EXPECT_EQ(c.usageLoaded ? FALSE : TRUE, options->m_altDragCustomization);
        EXPECT_EQ(c.usageLoaded ? FALSE : TRUE, options->m_autoHideUnusedPopups);
        EXPECT_EQ(c.usageLoaded ? CSize(24, 24) : CSize(7, 7), options->m_popupIconsSize);
        // Keyboard cues arrived with schema 9.
        EXPECT_EQ(4u, options->m_keyboardCuesUse);
        EXPECT_EQ(COSMCommandBarsOptions::kCuesFollowSystem, options->m_keyboardCuesShow);
    }
}

TEST_F(OptionsTest, LoadingNeverUnderlinedHidesTheCuesAtOnce)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    ASSERT_TRUE(commandBars->IsKeyboardCuesShown());
    // Schema 9 stores "KeyboardCuesShow" 1, never underline.
    ASSERT_TRUE(LoadAll(commandBars->GetCommandBarsOptions(), OldStream(9)));
    EXPECT_EQ(COSMCommandBarsOptions::kCuesNever, commandBars->GetCommandBarsOptions()->m_keyboardCuesShow);
    EXPECT_FALSE(commandBars->IsKeyboardCuesShown());
    EXPECT_FALSE(commandBars->IsKeyboardCuesInUse());
}

TEST_F(OptionsTest, KeyboardCueModes)
{
    const struct
    {
        long mode;
        BOOL systemAnswers;
        BOOL systemUnderlines;
        BOOL inUse;
        BOOL shown;
    } cases[] = {
        {COSMCommandBarsOptions::kCuesAlways, TRUE, FALSE, FALSE, TRUE},
        {COSMCommandBarsOptions::kCuesNever, TRUE, FALSE, FALSE, FALSE},
        {COSMCommandBarsOptions::kCuesFollowSystem, TRUE, FALSE, TRUE, FALSE},  // hidden until the keyboard is used
        {COSMCommandBarsOptions::kCuesFollowSystem, TRUE, TRUE, FALSE, TRUE},
        {COSMCommandBarsOptions::kCuesFollowSystem, FALSE, FALSE, FALSE, TRUE},  // no answer: always underline
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.mode * 100 + c.systemAnswers * 10 + c.systemUnderlines);
        g_queryAnswers = c.systemAnswers;
        g_systemUnderlines = c.systemUnderlines;
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        commandBars->SetKeyboardCuesInUse(!c.inUse);
        commandBars->SetKeyboardCuesShown(!c.shown);
        commandBars->GetCommandBarsOptions()->ShowKeyboardCues(c.mode);
        EXPECT_EQ(c.mode, commandBars->GetCommandBarsOptions()->m_keyboardCuesShow);
        EXPECT_EQ(c.inUse, commandBars->IsKeyboardCuesInUse());
        EXPECT_EQ(c.shown, commandBars->IsKeyboardCuesShown());
    }
}

TEST_F(OptionsTest, TheManagerFollowsTheSystemFromTheStart)
{
    g_systemUnderlines = FALSE;
    RefPtr<COSMCommandBars> hiding = AdoptRef(new COSMCommandBars);
    EXPECT_TRUE(hiding->IsKeyboardCuesInUse());
    EXPECT_FALSE(hiding->IsKeyboardCuesShown());
    g_systemUnderlines = TRUE;
    RefPtr<COSMCommandBars> showing = AdoptRef(new COSMCommandBars);
    EXPECT_FALSE(showing->IsKeyboardCuesInUse());
    EXPECT_TRUE(showing->IsKeyboardCuesShown());
}

TEST_F(OptionsTest, NamedStoresLeaveOutEmptyCommandListsAndNumberTheirItems)
{
    auto values = NewValues();
    {
        COSMCommandBarsOptions options;
        options.m_hiddenCommands.SetAt(0x20, 1);
        options.m_hiddenCommands.SetAt(5, 1);
        NamedTestStore store(values, false);
        options.DoPropExchange(&store);
        EXPECT_FALSE(store.m_bUseDefaultOnLoad);
        EXPECT_FALSE(store.m_bUseDefaultOnSave);
    }
    EXPECT_EQ("34", (*values)["Schema"]);
    EXPECT_EQ(0u, values->count("UsedCommands\\Count"));
    EXPECT_EQ("2", (*values)["HiddenCommands\\Count"]);
    // The map's walking order: bucket of 5 (0) before the bucket of 0x20 (2).
    EXPECT_EQ("5", (*values)["HiddenCommands\\Item0"]);
    EXPECT_EQ("32", (*values)["HiddenCommands\\Item1"]);
    EXPECT_EQ("1", (*values)["SyncFloatingBars"]);

    COSMCommandBarsOptions loaded;
    loaded.m_usedCommands.SetAt(9, 1);
    NamedTestStore load(values, true);
    loaded.DoPropExchange(&load);
    EXPECT_TRUE(loaded.m_usedCommands.IsEmpty());
    EXPECT_EQ((std::vector<UINT>{5, 0x20}), Ids(loaded.m_hiddenCommands));
}

TEST_F(OptionsTest, ANamedListWithADamagedCountKeepsTheCommandsThere)
{
    auto values = NewValues();
    (*values)["HiddenCommands\\Count"] = "4294967295";
    (*values)["HiddenCommands\\Item0"] = "7";
    COSMCommandBarsOptions loaded;
    loaded.m_hiddenCommands.SetAt(12, 1);
    NamedTestStore load(values, true);
    loaded.DoPropExchange(&load);
    EXPECT_EQ((std::vector<UINT>{12}), Ids(loaded.m_hiddenCommands));

    // A count within reason replaces the list.
    (*values)["HiddenCommands\\Count"] = "1";
    NamedTestStore reload(values, true);
    loaded.DoPropExchange(&reload);
    EXPECT_EQ((std::vector<UINT>{7}), Ids(loaded.m_hiddenCommands));
}

TEST_F(OptionsTest, ADamagedNamedListLeavesNoSectionBehind)
{
    auto values = NewValues();
    (*values)["HiddenCommands\\Count"] = "3";
    (*values)["HiddenCommands\\Item0"] = "7";
    (*values)["HiddenCommands\\Item1"] = NamedTestStore::kDamagedValue;
    (*values)["HiddenCommands\\Item2"] = "9";
    COSMCommandBarsOptions loaded;
    const int liveBefore = NamedTestStore::LiveStores();
    {
        NamedTestStore load(values, true);
        EXPECT_EQ(CArchiveException::badIndex, ArchiveFailure([&] { loaded.DoPropExchange(&load); }));
    }
    EXPECT_EQ(liveBefore, NamedTestStore::LiveStores()) << "the list's section was not released";
}

// ---- The manager's hidden and used commands -----------------------------------------------------------------------

TEST_F(OptionsTest, HiddenCommandsAndTheirFirstUse)
{
    const struct
    {
        bool hidden;
        bool used;
        BOOL isHidden;  // and, run once, becomes used
    } cases[] = {{false, false, FALSE}, {true, false, TRUE}, {false, true, FALSE}, {true, true, FALSE}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.hidden * 10 + c.used);
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
        if (c.hidden)
            options->m_hiddenCommands.SetAt(100, 1);
        if (c.used)
            options->m_usedCommands.SetAt(100, 1);
        EXPECT_EQ(c.isHidden, commandBars->IsCommandHidden(100));
        EXPECT_FALSE(commandBars->IsCommandHidden(101));

        // Only a hidden command not yet used becomes used, and only then do the options change.
        const INT_PTR usedBefore = options->m_usedCommands.GetCount();
        commandBars->SetCommandUsed(100);
        EXPECT_EQ(c.isHidden, options->m_modified);
        EXPECT_EQ(usedBefore + (c.isHidden ? 1 : 0), options->m_usedCommands.GetCount());
        EXPECT_FALSE(commandBars->IsCommandHidden(100));
    }
}

// A popup control of the Type that opens the bar (null: none).
COSMControl* AddPopup(COSMCommandBar* bar, UINT id, COSMCommandBar* opens, int type = 2)
{
    COSMControlPopup* popup = COSMControlPopup::CreateControlPopup(type);
    popup->SetCommandBar(opens);
    return bar->GetControls()->AddControl(popup, static_cast<int>(id));
}

TEST_F(OptionsTest, ControlsAreHiddenByTheirCommandOrTheirWholePopup)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
    options->m_hiddenCommands.SetAt(10, 1);
    options->m_hiddenCommands.SetAt(11, 1);
    options->m_hiddenCommands.SetAt(12, 1);
    options->m_usedCommands.SetAt(12, 1);

    COSMCommandBar top;
    top.SetCommandBars(commandBars.Get());
    RefPtr<COSMPopupBar> allHidden = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    allHidden->GetControls()->Add(1, 10);
    allHidden->GetControls()->Add(1, 11);
    RefPtr<COSMPopupBar> oneShown = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    oneShown->GetControls()->Add(1, 10);
    oneShown->GetControls()->Add(1, 13);
    RefPtr<COSMPopupBar> empty = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    RefPtr<COSMPopupBar> nested = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    AddPopup(nested.Get(), 50, allHidden.Get());

    const struct
    {
        const char* what;
        COSMControl* control;
        BOOL autoHide;
        BOOL hidden;
    } cases[] = {
        {"hidden button", top.GetControls()->Add(1, 10), TRUE, TRUE},
        {"hidden and used button", top.GetControls()->Add(1, 12), TRUE, FALSE},
        {"plain button", top.GetControls()->Add(1, 13), TRUE, FALSE},
        {"popup of hidden commands", AddPopup(&top, 40, allHidden.Get()), TRUE, TRUE},
        {"button popup of hidden commands", AddPopup(&top, 41, allHidden.Get(), 3), TRUE, TRUE},
        {"split popup of hidden commands", AddPopup(&top, 42, allHidden.Get(), 4), TRUE, TRUE},
        {"popup of hidden commands, auto-hide off", AddPopup(&top, 43, allHidden.Get()), FALSE, FALSE},
        {"popup with a shown command", AddPopup(&top, 44, oneShown.Get()), TRUE, FALSE},
        {"empty popup", AddPopup(&top, 45, empty.Get()), TRUE, FALSE},
        {"popup without a bar", AddPopup(&top, 46, nullptr), TRUE, FALSE},
        {"popup of a popup of hidden commands", AddPopup(&top, 47, nested.Get()), TRUE, TRUE},
        {"hidden popup command", AddPopup(&top, 11, oneShown.Get()), FALSE, TRUE},
    };
    for (const auto& c : cases)
    {
        options->m_autoHideUnusedPopups = c.autoHide;
        EXPECT_EQ(c.hidden, commandBars->IsControlHidden(c.control)) << c.what;
    }
}

TEST_F(OptionsTest, APopupChainThatLoopsEnds)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->GetCommandBarsOptions()->m_hiddenCommands.SetAt(10, 1);
    RefPtr<COSMPopupBar> first = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    RefPtr<COSMPopupBar> second = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    first->GetControls()->Add(1, 10);
    AddPopup(first.Get(), 20, second.Get());
    second->GetControls()->Add(1, 10);
    auto* back = static_cast<COSMControlPopup*>(AddPopup(second.Get(), 21, first.Get()));

    COSMCommandBar top;
    top.SetCommandBars(commandBars.Get());
    COSMControl* entry = AddPopup(&top, 30, first.Get());
    // The popup that leads back counts as shown, so nothing on the loop is hidden.
    EXPECT_FALSE(commandBars->IsControlHidden(entry));
    EXPECT_FALSE(commandBars->IsControlHidden(back));
    // Asked again, the answer is the same: the walk left nothing behind.
    EXPECT_FALSE(commandBars->IsControlHidden(entry));
    // Without the popup that leads back, every command on the way is hidden.
    second->GetControls()->Remove(back);
    EXPECT_TRUE(commandBars->IsControlHidden(entry));
}

TEST_F(OptionsTest, CustomizeModeMarksTheOptionsChanged)
{
    for (BOOL on : {TRUE, FALSE})
    {
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        ASSERT_FALSE(commandBars->GetCommandBarsOptions()->m_modified);
        commandBars->SetCustomizeMode(on);
        EXPECT_TRUE(commandBars->GetCommandBarsOptions()->m_modified) << on;
    }
}

}  // namespace
