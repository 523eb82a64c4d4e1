// The ribbon's tabs and its tab strip: selection with the site's consent, the group controls that follow the
// selected tab, hiding tabs, the strip's keys and accessibility, and the tabs saved and loaded through the archive.
#include "RibbonTestSupport.h"

#include "PropExchangeTestSupport.h"

#include "classlib/Archive.h"
#include "framework/ribbon/RibbonGroup.h"

#include <cstring>

using namespace ribbon_test;
using namespace prop_exchange_test;

namespace {

// A tab class of the application's own, saved and made again by its name.
class CTestRibbonTab : public COSMRibbonTab
{
    DECLARE_SERIAL(CTestRibbonTab)
};
IMPLEMENT_SERIAL(CTestRibbonTab, COSMRibbonTab, VERSIONABLE_SCHEMA | 0x23)

class RibbonTabTest : public RibbonTest
{
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        RecordedWinEvents().clear();
        ribbon->GetControlTab()->m_pNotifyWinEvent = &RecordWinEvent;
    }

    // The notification codes the site gets, in order (read while each block lives).
    std::vector<int> codes;
};

VARIANT Child(long id)
{
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

}  // namespace

TEST_F(RibbonTabTest, TheSiteMayRefuseATabChangeAndHearsOfEveryChangeItAllowed)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert", "&View"});
    ASSERT_EQ(tabs[0], ribbon->GetSelectedTab());
    frame.ClearRecords();
    COSMRibbonTab* asked = nullptr;
    bool refuse = true;
    frame.OnMessage = [&](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        const auto* block = reinterpret_cast<const NMOSMCONTROL*>(lParam);
        if (message != CCommandBarsTestFrame::kControlNotify)
            return std::nullopt;
        codes.push_back(static_cast<int>(block->hdr.code));
        if (static_cast<int>(block->hdr.code) != -552)
            return std::nullopt;
        // The block names the bar and the tab after the control's part.
        struct TabBlock
        {
            NMOSMCONTROL control;
            COSMRibbonBar* bar;
            COSMRibbonTab* tab;
        };
        const auto* tabBlock = reinterpret_cast<const TabBlock*>(block);
        EXPECT_EQ(ribbon, tabBlock->bar);
        EXPECT_EQ(ribbon->GetControlTab(), block->pControl);
        asked = tabBlock->tab;
        return refuse ? 1 : 0;
    };

    // The mouse rests on the strip first: the strip as the bar's hot control reports the current tab already.
    MoveMouseTo(TabCentre(tabs[1]));
    RecordedWinEvents().clear();
    codes.clear();
    ClickAt(TabCentre(tabs[1]));
    EXPECT_EQ(tabs[1], asked);
    EXPECT_EQ(tabs[0], ribbon->GetSelectedTab()) << "refused";
    EXPECT_EQ((std::vector<int>{-552}), codes);
    EXPECT_TRUE(RecordedWinEvents().empty());

    refuse = false;
    MoveMouseTo(TabCentre(tabs[2]));
    RecordedWinEvents().clear();
    codes.clear();
    ClickAt(TabCentre(tabs[2]));
    EXPECT_EQ(tabs[2], ribbon->GetSelectedTab());
    EXPECT_EQ((std::vector<int>{-552, -551, 100}), codes);
    const WinEvent focus{EVENT_OBJECT_FOCUS, ribbon->GetSafeHwnd(), 9604, 3};
    EXPECT_EQ((std::vector<WinEvent>{focus}), RecordedWinEvents());
}

TEST_F(RibbonTabTest, GroupControlsShowOnlyWhileTheirTabIsSelected)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert"});
    COSMRibbonGroup* clipboard = tabs[0]->GetGroups()->Add("Clipboard", 10);
    COSMRibbonGroup* tables = tabs[1]->GetGroups()->Add("Tables", 20);
    COSMControl* paste = ribbon->GetControls()->Add(1, 401);
    COSMControl* table = ribbon->GetControls()->Add(1, 402);
    paste->SetRibbonGroup(clipboard);
    table->SetRibbonGroup(tables);
    EXPECT_EQ(tables, ribbon->FindGroup(20));

    ribbon->OnTabChanged(ribbon->GetSelectedTab());
    EXPECT_EQ(0u, paste->GetHideFlags());
    EXPECT_EQ(COSMRibbonBar::kHideGroup, table->GetHideFlags());

    ClickAt(TabCentre(tabs[1]));
    ASSERT_EQ(tabs[1], ribbon->GetSelectedTab());
    EXPECT_EQ(COSMRibbonBar::kHideGroup, paste->GetHideFlags());
    EXPECT_EQ(0u, table->GetHideFlags());

    // A hidden group hides its controls too; so does a minimized ribbon.
    tables->SetVisible(FALSE);
    ribbon->OnTabChanged(tabs[1]);
    EXPECT_EQ(COSMRibbonBar::kHideGroup, table->GetHideFlags());
    tables->SetVisible(TRUE);
    ribbon->SetRibbonMinimized(TRUE);
    EXPECT_EQ(COSMRibbonBar::kHideGroup, table->GetHideFlags());
    EXPECT_FALSE(ribbon->IsGroupsVisible());
}

TEST_F(RibbonTabTest, HidingTheSelectedTabSelectsTheFirstVisibleEnabledOne)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert", "&View"});
    tabs[0]->SetEnabled(FALSE);
    ribbon->SetCurSel(2);
    tabs[2]->SetVisible(FALSE);
    EXPECT_EQ(tabs[1], ribbon->GetSelectedTab());
    tabs[0]->SetVisible(FALSE);
    tabs[1]->SetVisible(FALSE);
    EXPECT_EQ(nullptr, ribbon->GetSelectedTab()) << "no tab is left";
    EXPECT_FALSE(ribbon->IsGroupsVisible());
}

TEST_F(RibbonTabTest, TheStripsKeysMoveBetweenTabsAndOpenThePopupOnlyWhileMinimized)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert"});
    COSMControl* free = ribbon->GetControls()->Add(1, 301);
    free->SetCaption("Help");
    Relayout();
    COSMRibbonControlTab* strip = ribbon->GetControlTab();
    EXPECT_EQ(0, strip->OnHookKeyDown(VK_RIGHT, 0)) << "only while focused";
    strip->SetFocused(TRUE);

    struct Case
    {
        int selected;
        UINT key;
        int answer;
        int selectedAfter;
    };
    const Case cases[] = {
        {0, VK_LEFT, 0, 0}, {1, VK_RIGHT, 0, 1}, {0, VK_RIGHT, 1, 1},  {1, VK_LEFT, 1, 0},
        {0, VK_UP, 0, 0},   {0, VK_SPACE, 0, 0}, {0, VK_RETURN, 1, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.selected << " key " << c.key);
        ribbon->SetCurSel(c.selected);
        EXPECT_EQ(c.answer, strip->OnHookKeyDown(c.key, 0));
        EXPECT_EQ(tabs[static_cast<size_t>(c.selectedAfter)], ribbon->GetSelectedTab());
        EXPECT_FALSE(strip->IsPopupOpen());
    }
    EXPECT_EQ(1, strip->OnHookKeyDown(VK_DOWN, 0));
    EXPECT_EQ(free->GetIndex(), ribbon->GetSelectedIndex()) << "Down goes to the next control of the bar";

    // The strip cannot be disabled.
    strip->SetEnabled(0);
    EXPECT_EQ(1, strip->GetEnabled());

    // Minimized, Space opens the selected tab's popup.
    ribbon->SetRibbonMinimized(TRUE);
    strip->SetFocused(TRUE);
    EXPECT_EQ(1, strip->OnHookKeyDown(VK_SPACE, 0));
    EXPECT_TRUE(strip->IsPopupOpen());
    ASSERT_NE(nullptr, strip->GetCommandBar());
    EXPECT_TRUE(strip->GetCommandBar()->IsKindOf(RUNTIME_CLASS(COSMRibbonTabPopupToolBar)));
    commandBars->ClosePopups();
    PumpMessages();
    EXPECT_FALSE(strip->IsPopupOpen());
}

TEST_F(RibbonTabTest, TheStripAnswersScreenReadersForItselfAndItsTabs)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "In&sert", "&View"});
    tabs[2]->SetVisible(FALSE);
    Relayout();
    COSMRibbonControlTab* strip = ribbon->GetControlTab();

    long count = 0;
    EXPECT_EQ(S_OK, strip->GetAccessibleChildCount(&count));
    EXPECT_EQ(3, count);
    BSTR name = nullptr;
    ASSERT_EQ(S_OK, strip->GetAccessibleName(Child(2), &name));
    EXPECT_STREQ(L"Insert", name);
    ::SysFreeString(name);

    VARIANT value;
    ASSERT_EQ(S_OK, strip->GetAccessibleRole(Child(0), &value));
    EXPECT_EQ(60, value.lVal);
    ASSERT_EQ(S_OK, strip->GetAccessibleRole(Child(1), &value));
    EXPECT_EQ(37, value.lVal);
    ASSERT_EQ(S_OK, strip->GetAccessibleState(Child(1), &value));
    EXPECT_EQ(0x300006, value.lVal) << "the selected tab";
    ASSERT_EQ(S_OK, strip->GetAccessibleState(Child(2), &value));
    EXPECT_EQ(0x300000, value.lVal);
    ASSERT_EQ(S_OK, strip->GetAccessibleState(Child(3), &value));
    EXPECT_EQ(0x308000, value.lVal) << "a hidden tab";
    ASSERT_EQ(S_OK, strip->GetAccessibleState(Child(0), &value));
    EXPECT_EQ(0x100000, value.lVal);

    BSTR action = nullptr;
    ASSERT_EQ(S_OK, strip->GetAccessibleDefaultAction(Child(2), &action));
    EXPECT_STREQ(L"Switch", action);
    ::SysFreeString(action);
    EXPECT_EQ(S_OK, strip->AccessibleDoDefaultAction(Child(2)));
    EXPECT_EQ(tabs[1], ribbon->GetSelectedTab());

    long x = 0, y = 0, cx = 0, cy = 0;
    ASSERT_EQ(S_OK, strip->AccessibleLocation(&x, &y, &cx, &cy, Child(1)));
    const CPoint topLeft = ScreenPoint(*ribbon, tabs[0]->GetRect().TopLeft());
    EXPECT_EQ(topLeft.x, x);
    EXPECT_EQ(topLeft.y, y);
    EXPECT_EQ(tabs[0]->GetRect().Width(), cx);

    VARIANT hit;
    const CPoint inside = TabCentre(tabs[1]);
    ASSERT_EQ(S_OK, strip->AccessibleHitTest(inside.x, inside.y, &hit));
    EXPECT_EQ(VT_I4, hit.vt);
    EXPECT_EQ(2, hit.lVal);
    const CPoint outside = ScreenPoint(*ribbon, CPoint(2, 1));
    EXPECT_EQ(S_FALSE, strip->AccessibleHitTest(outside.x, outside.y, &hit));
    EXPECT_EQ(S_FALSE, strip->AccessibleHitTest(-5000, -5000, &hit));

    for (const long bad : {4L, 9L})
    {
        SCOPED_TRACE(bad);
        EXPECT_EQ(E_INVALIDARG, strip->GetAccessibleName(Child(bad), &name));
        EXPECT_EQ(E_INVALIDARG, strip->GetAccessibleRole(Child(bad), &value));
        EXPECT_EQ(E_INVALIDARG, strip->GetAccessibleState(Child(bad), &value));
        EXPECT_EQ(E_INVALIDARG, strip->AccessibleDoDefaultAction(Child(bad)));
        EXPECT_EQ(E_INVALIDARG, strip->AccessibleLocation(&x, &y, &cx, &cy, Child(bad)));
    }
}

TEST_F(RibbonTabTest, SavedTabsComeBackEqualSelectedAndHiddenAsSaved)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert", "&View"});
    auto* own = static_cast<CTestRibbonTab*>(ribbon->AddTab("&Picture", RUNTIME_CLASS(CTestRibbonTab)));
    tabs[1]->SetTooltip("Insert things");
    own->SetContextColor(3, "Picture Tools");
    own->SetID(7);
    tabs[2]->SetVisible(FALSE);
    ribbon->SetCurSel(3);

    StoreToMemory store;
    ASSERT_EQ(-1, ArchiveFailure([&] { ribbon->GetControlTab()->DoPropExchange(&store.px); }));
    const Bytes bytes = store.Take();

    // Into the strip of a fresh ribbon, and into a strip made by class name.
    RefPtr<COSMRibbonBar> fresh = AdoptRef(new COSMRibbonBar);
    RefPtr<COSMRibbonControlTab> byName =
        AdoptRef(static_cast<COSMRibbonControlTab*>(RUNTIME_CLASS(COSMRibbonControlTab)->CreateObject()));
    for (COSMRibbonControlTab* strip : {fresh->GetControlTab(), byName.Get()})
    {
        strip->InsertItem(-1)->SetCaption("left over");
        LoadFromMemory load(bytes);
        ASSERT_EQ(-1, ArchiveFailure([&] { strip->DoPropExchange(&load.px); }));
        ASSERT_EQ(4, strip->GetItemCount());
        for (int i = 0; i < 4; ++i)
        {
            SCOPED_TRACE(i);
            const COSMRibbonTab* saved = ribbon->GetTab(i);
            const COSMRibbonTab* loaded = strip->GetItem(i);
            EXPECT_EQ(saved->GetRuntimeClass(), loaded->GetRuntimeClass());
            EXPECT_EQ(saved->GetCaption(), loaded->GetCaption());
            EXPECT_EQ(saved->GetTooltipText(), loaded->GetTooltipText());
            EXPECT_EQ(saved->GetContextColor(), loaded->GetContextColor());
            EXPECT_EQ(saved->GetContextCaption(), loaded->GetContextCaption());
            EXPECT_EQ(saved->GetID(), loaded->GetID());
            EXPECT_EQ(saved->IsVisible(), loaded->IsVisible());
            EXPECT_EQ(strip->GetRibbonBar(), loaded->GetRibbonBar());
        }
        EXPECT_EQ(strip->GetItem(3), strip->GetSelectedItem());
    }
    EXPECT_EQ(fresh.Get(), fresh->GetTab(0)->GetRibbonBar());

    // A tab of a class the program does not know stops the load.
    Bytes unknown = bytes;
    const char* name = "CTestRibbonTab";
    auto at = std::search(unknown.begin(), unknown.end(), name, name + std::strlen(name));
    ASSERT_NE(unknown.end(), at);
    at[std::strlen(name) - 1] = 'X';
    LoadFromMemory load(unknown);
    EXPECT_EQ(CArchiveException::badClass, ArchiveFailure([&] { fresh->GetControlTab()->DoPropExchange(&load.px); }));
}
