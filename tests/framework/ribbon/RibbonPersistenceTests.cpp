// The ribbon saved with the manager's bar state and loaded into a fresh frame that has its own ribbon (as a program
// that starts again): whole when customizable, only its quick access and state otherwise; hand-made stores of old
// schemas; a stored system button of a foreign class; copies and clones.
#include "PersistenceTestSupport.h"
#include "RibbonTestSupport.h"

#include "framework/commandbars/CommandBarParams.h"
#include "framework/ribbon/RibbonGroup.h"

using namespace ribbon_test;
using prop_exchange_test::ArchiveFailure;
using prop_exchange_test::NamedTestStore;
using prop_exchange_test::NewValues;

namespace {

class RibbonPersistenceTest : public RibbonTest
{
protected:
    // The saved ribbon: tabs Home, Insert (Insert selected), quick access 201 and 202, a system button, the quick
    // access below.
    void Furnish()
    {
        AddTabs({"&Home", "&Insert"});
        ribbon->SetCurSel(1);
        ribbon->GetQuickAccessControls()->Add(1, 201)->SetCaption("Save");
        ribbon->GetQuickAccessControls()->Add(1, 202)->SetCaption("Undo");
        auto* system = new COSMRibbonControlSystemButton;
        system->SetCaption("&File");
        ribbon->SetSystemButton(system);
        ribbon->ShowQuickAccessBelow(TRUE);
        Relayout();
    }

    // A fresh frame whose application makes its ribbon with one tab and a quick-access control of its own.
    static COSMRibbonBar* MakeFreshRibbon(FreshSite& fresh)
    {
        auto* made = dynamic_cast<COSMRibbonBar*>(fresh.commandBars->AddRibbonBar("Ribbon"));
        if (made)
        {
            made->AddTab("&Start");
            made->SetCurSel(0);
            made->GetQuickAccessControls()->Add(1, 999);
        }
        return made;
    }

    static std::vector<std::string> Captions(const COSMRibbonBar* bar)
    {
        std::vector<std::string> captions;
        for (int i = 0; i < bar->GetTabCount(); ++i)
            captions.emplace_back(static_cast<LPCSTR>(bar->GetTab(i)->GetCaption()));
        return captions;
    }
};

TEST_F(RibbonPersistenceTest, ACustomizableRibbonComesBackWhole)
{
    Furnish();
    ribbon->SetCustomizable(TRUE);
    ribbon->SetRibbonMinimized(TRUE);
    const commandbars_test::Bytes saved = commandbars_test::SaveBars(commandBars.Get());

    FreshSite fresh;
    ASSERT_TRUE(fresh.created);
    COSMRibbonBar* loaded = MakeFreshRibbon(fresh);
    ASSERT_NE(nullptr, loaded);
    prop_exchange_test::LoadFromMemory load(saved);
    ASSERT_TRUE(fresh.commandBars->LoadBarState(&load.px, TRUE));

    EXPECT_EQ(loaded, fresh.commandBars->GetMenuBar()) << "the frame's ribbon took the saved one in";
    EXPECT_EQ((std::vector<std::string>{"&Home", "&Insert"}), Captions(loaded));
    EXPECT_EQ((std::vector<UINT>{201, 202}), Ids(loaded->GetQuickAccessControls()));
    EXPECT_STREQ("Undo", loaded->GetQuickAccessControls()->GetAt(1)->GetCaption());
    ASSERT_NE(nullptr, loaded->GetSystemButton());
    EXPECT_STREQ("&File", loaded->GetSystemButton()->GetCaption());
    EXPECT_EQ(loaded->GetSystemButton(), loaded->GetControl(0));
    EXPECT_TRUE(loaded->IsQuickAccessBelow());
    EXPECT_TRUE(loaded->IsRibbonMinimized());
    EXPECT_TRUE(loaded->IsCustomizable());
    EXPECT_EQ(fresh.commandBars.Get(), loaded->GetCommandBars());
}

TEST_F(RibbonPersistenceTest, ARibbonThatIsNotCustomizableKeepsOnlyItsQuickAccessAndState)
{
    Furnish();
    ribbon->SetRibbonMinimized(TRUE);
    const commandbars_test::Bytes saved = commandbars_test::SaveBars(commandBars.Get());

    FreshSite fresh;
    ASSERT_TRUE(fresh.created);
    COSMRibbonBar* loaded = MakeFreshRibbon(fresh);
    ASSERT_NE(nullptr, loaded);
    prop_exchange_test::LoadFromMemory load(saved);
    ASSERT_TRUE(fresh.commandBars->LoadBarState(&load.px, TRUE));

    EXPECT_EQ((std::vector<std::string>{"&Start"}), Captions(loaded));
    EXPECT_EQ(nullptr, loaded->GetSystemButton());
    EXPECT_EQ((std::vector<UINT>{201, 202}), Ids(loaded->GetQuickAccessControls()));
    EXPECT_TRUE(loaded->IsQuickAccessBelow());
    EXPECT_TRUE(loaded->IsRibbonMinimized());
    EXPECT_FALSE(loaded->IsCustomizable());
    // Nothing else joined the frame: the loaded ribbon went into the frame's own.
    EXPECT_EQ(loaded, fresh.commandBars->GetMenuBar());
}

TEST_F(RibbonPersistenceTest, OldSchemasLeaveMinimizedAndCustomizableAlone)
{
    const struct
    {
        long schema;
        BOOL minimized;
        BOOL customizable;
    } cases[] = {{18, FALSE, FALSE}, {19, TRUE, FALSE}, {23, TRUE, FALSE}, {24, TRUE, TRUE}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.schema);
        auto values = NewValues();
        (*values)["ShowQuickAccessBelow"] = "1";
        (*values)["Minimized"] = "1";
        (*values)["Customizable"] = "1";
        (*values)["SystemButton\\SystemButton"] = "0";
        NamedTestStore store(values, true);
        store.m_nSchema = c.schema;
        RefPtr<COSMRibbonBar> bar = AdoptRef(new COSMRibbonBar);
        bar->DoPropExchange(&store);
        EXPECT_TRUE(bar->IsQuickAccessBelow());
        EXPECT_EQ(c.minimized, bar->IsRibbonMinimized());
        EXPECT_EQ(c.customizable, bar->IsCustomizable());
    }
}

TEST_F(RibbonPersistenceTest, AStoredSystemButtonOfAnotherClassIsABadClass)
{
    for (const char* stored : {"COSMRibbonTab", "NoSuchClass"})
    {
        SCOPED_TRACE(stored);
        auto values = NewValues();
        (*values)["Customizable"] = "1";
        (*values)["SystemButton\\SystemButton"] = "1";
        (*values)["SystemButton\\Class"] = stored;
        NamedTestStore store(values, true);
        RefPtr<COSMRibbonBar> bar = AdoptRef(new COSMRibbonBar);
        EXPECT_EQ(CArchiveException::badClass, ArchiveFailure([&] { bar->DoPropExchange(&store); }));
        EXPECT_EQ(nullptr, bar->GetSystemButton());
    }
}

TEST_F(RibbonPersistenceTest, CopiesAndClonesReproduceTabsQuickAccessAndSystemButton)
{
    Furnish();
    RefPtr<COSMCommandBar> clone = AdoptRef(ribbon->Clone(TRUE));
    auto* copy = dynamic_cast<COSMRibbonBar*>(clone.Get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ((std::vector<std::string>{"&Home", "&Insert"}), Captions(copy));
    EXPECT_EQ(copy->GetTab(1), copy->GetSelectedTab());
    EXPECT_EQ((std::vector<UINT>{201, 202}), Ids(copy->GetQuickAccessControls()));
    EXPECT_NE(ribbon->GetQuickAccessControls()->GetAt(0), copy->GetQuickAccessControls()->GetAt(0));
    ASSERT_NE(nullptr, copy->GetSystemButton());
    EXPECT_NE(ribbon->GetSystemButton(), copy->GetSystemButton());
    EXPECT_STREQ("&File", copy->GetSystemButton()->GetCaption());
    EXPECT_TRUE(copy->GetSystemButton()->IsTemporary());
    EXPECT_EQ(copy->GetSystemButton(), copy->GetControl(0));
    EXPECT_TRUE(copy->IsQuickAccessBelow());
    EXPECT_TRUE(copy->IsCustomized());

    // A copy from a ribbon without a system button loses its own.
    ribbon->SetSystemButton(nullptr);
    copy->Copy(ribbon, TRUE);
    EXPECT_EQ(nullptr, copy->GetSystemButton());
}

}  // namespace

namespace {

TEST_F(RibbonPersistenceTest, DropsBesideTheQuickAccessShowNoMarkerAndAfterTheTabsGoRight)
{
    AddTabs({"&Home"});
    COSMControl* quick = ribbon->GetQuickAccessControls()->Add(1, 201);
    // A control at the right of the tab row, right after the strip.
    COSMControl* right = ribbon->GetControls()->Add(1, 302);
    right->SetCaption("About");
    right->SetFlags(right->GetFlags() | COSMControl::kFlagRightAlign);
    Relayout();
    ribbon->SetCustomizable(TRUE);
    commandBars->SetCustomizeMode(TRUE);
    CRect marker(1, 1, 2, 2);
    int index = -1;
    BOOL after = FALSE;
    const int found = ribbon->FindDropIndex(quick, quick->GetRect().CenterPoint(), &marker, &index, &after);
    EXPECT_EQ(quick->GetIndex(), found);
    EXPECT_TRUE(marker.IsRectEmpty());

    // A control dragged from elsewhere and dropped before the right-hand control lands right after the strip, and
    // on the right too.
    RefPtr<COSMControls> elsewhere = AdoptRef(new COSMControls);
    COSMControl* dragged = elsewhere->Add(1, 301);
    dragged->SetCaption("Help");
    // Only the groups' two scroll buttons lie between the strip and the right-hand control.
    COSMControl* strip = ribbon->GetControlTab();
    ASSERT_EQ(strip->GetIndex() + 3, right->GetIndex());
    for (int i = strip->GetIndex() + 1; i < right->GetIndex(); ++i)
        EXPECT_NE(nullptr, dynamic_cast<COSMRibbonGroupsScrollButton*>(ribbon->GetControl(i)));
    const CPoint drop(right->GetRect().left + 1, right->GetRect().CenterPoint().y);
    int effect = 1;
    ribbon->OnCustomizeDrop(dragged, effect, drop, drop);
    COSMControl* copy = ribbon->GetControl(right->GetIndex() - 1);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(301, copy->GetID());
    EXPECT_NE(dragged, copy);
    EXPECT_TRUE(copy->GetFlags() & COSMControl::kFlagRightAlign);
    EXPECT_EQ(copy, commandBars->GetCustomizeSelection());
    commandBars->SetCustomizeMode(FALSE);
}

}  // namespace
