// The ribbon and the keyboard: Alt (posted as the frame's SC_KEYMENU, as the menu bar gets it), the quick-access
// digits, the tabs' access keys, arrows that move by position, and the keyboard tips of both levels; the pure rules
// (navigation over rectangles, tip numbers, group-control tip places) in tables.
#include "RibbonTestSupport.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/KeyboardTipLayout.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonKeyboardLayout.h"

using namespace ribbon_test;

namespace {

// ---- The pure rules ----

TEST(RibbonNavigationRules, ArrowsPickTheNearestControlThatWayAndOnlySidewaysWrap)
{
    // Two rows of three: A B C above D E F.
    const std::vector<CRect> grid = {CRect(0, 0, 20, 20),  CRect(30, 0, 50, 20),  CRect(60, 0, 80, 20),
                                     CRect(0, 30, 20, 50), CRect(30, 30, 50, 50), CRect(60, 30, 80, 50)};
    const struct
    {
        int from;
        UINT key;
        int expected;
    } cases[] = {
        {1, VK_RIGHT, 2}, {2, VK_RIGHT, 0},  // the last of the row wraps to the leftmost
        {1, VK_LEFT, 0},  {0, VK_LEFT, 2},   // and the first to the largest right edge
        {0, VK_DOWN, 3},  {4, VK_UP, 1},     // straight down and up
        {3, VK_DOWN, -1}, {1, VK_UP, -1},    // no wrap
        {0, VK_HOME, -1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " key " << c.key);
        std::vector<CRect> others;
        std::vector<int> ids;
        for (int i = 0; i < static_cast<int>(grid.size()); ++i)
            if (i != c.from)
            {
                others.push_back(grid[static_cast<size_t>(i)]);
                ids.push_back(i);
            }
        const int found = OsmRibbonFindNavigationTarget(grid[static_cast<size_t>(c.from)], others, c.key);
        EXPECT_EQ(c.expected, found == -1 ? -1 : ids[static_cast<size_t>(found)]);
    }
}

TEST(RibbonNavigationRules, TiesGoToTheNearerCentreAndLeftWrapsToTheLaterOne)
{
    const CRect current(0, 10, 20, 30);
    // Both start at 30: the one whose centre lies nearer the current row's centre wins.
    EXPECT_EQ(1, OsmRibbonFindNavigationTarget(current, {CRect(30, 0, 50, 12), CRect(30, 14, 50, 40)}, VK_RIGHT));
    // Ranges that only touch overlap: a control whose top is the current bottom is in the row.
    EXPECT_EQ(0, OsmRibbonFindNavigationTarget(current, {CRect(30, 30, 50, 50)}, VK_RIGHT));
    EXPECT_EQ(-1, OsmRibbonFindNavigationTarget(current, {CRect(30, 32, 50, 50)}, VK_RIGHT));
    // Wrapping left among equals takes the later one; moving right among equals the earlier.
    const std::vector<CRect> twins = {CRect(60, 10, 80, 30), CRect(60, 10, 80, 30)};
    EXPECT_EQ(1, OsmRibbonFindNavigationTarget(CRect(0, 10, 20, 30), twins, VK_LEFT));
    EXPECT_EQ(0, OsmRibbonFindNavigationTarget(CRect(0, 10, 20, 30), twins, VK_RIGHT));
}

TEST(RibbonKeyboardTipRules, QuickAccessTipsCountToNineThenZeroOneToZeroNine)
{
    const struct
    {
        int number;
        const char* text;
    } cases[] = {{1, "1"}, {9, "9"}, {10, "01"}, {11, "02"}, {18, "09"}, {19, ""}, {25, ""}, {0, ""}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.number);
        EXPECT_STREQ(c.text, static_cast<LPCSTR>(OsmRibbonQuickAccessTipText(c.number)));
    }
}

TEST(RibbonKeyboardTipRules, GroupControlTipsStandByTheirKindAndRow)
{
    // A group 90 high with a caption of 20: its caption strip starts at c = 72; the rows split at 24 and 48.
    const CRect group(0, 0, 200, 90);
    const int caption = 20;
    const int clientBottom = 100;
    const DWORD h = kKeyboardTipCenterHorz;
    const DWORD v = kKeyboardTipCenterVert;
    const struct
    {
        const char* name;
        CRect control;
        int type;
        int style;
        CPoint point;
        DWORD alignment;
    } cases[] = {
        {"in the caption strip", CRect(10, 75, 30, 88), 1, 0, CPoint(20, 94), h},
        {"large button", CRect(10, 2, 50, 70), 1, 4, CPoint(30, 70), h | v},
        {"short large button", CRect(10, 2, 50, 30), 1, 4, CPoint(21, 2), v},
        {"gallery", CRect(60, 2, 160, 70), 10, 0, CPoint(160, 70), h | v},
        {"top row", CRect(10, 2, 60, 22), 1, 0, CPoint(21, 2), v},
        {"middle row", CRect(10, 25, 60, 45), 1, 0, CPoint(21, 35), v},
        {"bottom row", CRect(10, 50, 60, 70), 1, 0, CPoint(21, 70), v},
        {"check box", CRect(10, 2, 60, 22), 9, 0, CPoint(16, 2), v},
        {"radio button", CRect(10, 50, 60, 70), 11, 0, CPoint(16, 70), v},
        {"edit of style 0", CRect(10, 25, 60, 45), 6, 0, CPoint(35, 35), v | h},
        {"combo box of style 0", CRect(10, 2, 60, 22), 5, 0, CPoint(35, 2), v | h},
        {"edit of style 1", CRect(10, 25, 60, 45), 6, 1, CPoint(21, 35), v},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const COSMRibbonTipPlacement placement =
            OsmRibbonPlaceControlTip(c.control, group, caption, clientBottom, c.type, c.style);
        EXPECT_EQ(c.point, placement.point);
        EXPECT_EQ(c.alignment, placement.alignment);
    }
}

// ---- The ribbon in a frame ----

class RibbonKeyboardTest : public RibbonTest
{
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        commandBars->GetCommandBarsOptions()->m_keyboardTips = TRUE;
        commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
        commandBars->SetKeyboardCuesInUse(TRUE);
        commandBars->ShowKeyboardCues(FALSE);
    }
    void TearDown() override
    {
        commandBars->HideKeyboardTips();
        if (ribbon->GetTrackingMode() != 0)
            ribbon->SetTrackingMode(0, FALSE, FALSE);
        RibbonTest::TearDown();
    }

    // A key typed with Alt, as the frame's system command brings it (0: a lone Alt).
    void PostKeyMenu(LPARAM character = 0)
    {
        ::PostMessageA(frame.GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, character);
        PumpMessages();
    }
    // Quick-access buttons of ids 201, 202 ... captioned "Q1", "Q2" ...
    std::vector<COSMControl*> AddQuickAccess(int count)
    {
        std::vector<COSMControl*> controls;
        for (int i = 0; i < count; ++i)
        {
            COSMControl* control = ribbon->GetQuickAccessControls()->Add(1, 201 + i);
            CString caption;
            caption.Format("Q%i", i + 1);
            control->SetCaption(caption);
            controls.push_back(control);
        }
        Relayout();
        return controls;
    }
};

TEST_F(RibbonKeyboardTest, AltEntersTheTabStripWithCuesAndTheFirstTips)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert"});
    PostKeyMenu();
    EXPECT_EQ(1, ribbon->GetTrackingMode());
    EXPECT_EQ(ribbon->GetControlTab()->GetIndex(), ribbon->GetSelectedIndex());
    EXPECT_TRUE(ribbon->GetControlTab()->IsFocused());
    EXPECT_TRUE(commandBars->IsKeyboardCuesShown());
    EXPECT_EQ(1, commandBars->GetKeyboardTipsLevel());
    EXPECT_EQ(ribbon, commandBars->GetKeyboardTipsBar());
    ASSERT_EQ(1u, TipsOf(tabs[0]).size());
    EXPECT_STREQ("H", TipsOf(tabs[0])[0]->GetText());
    EXPECT_STREQ("I", TipsOf(tabs[1])[0]->GetText());
}

TEST_F(RibbonKeyboardTest, AltDoesNothingWithoutTabsOrWithCtrlHeld)
{
    PostKeyMenu();
    EXPECT_EQ(0, ribbon->GetTrackingMode());
    EXPECT_EQ(0, commandBars->GetKeyboardTipsLevel());

    AddTabs({"&Home"});
    SendKey(VK_CONTROL, true, false);
    PostKeyMenu();
    SendKey(VK_CONTROL, false, true);
    EXPECT_EQ(0, ribbon->GetTrackingMode());
    EXPECT_EQ(0, commandBars->GetKeyboardTipsLevel());
    EXPECT_FALSE(commandBars->IsKeyboardCuesShown());
}

TEST_F(RibbonKeyboardTest, AltOnAMinimizedRibbonTracksFromTheFirstControl)
{
    AddTabs({"&Home"});
    std::vector<COSMControl*> quick = AddQuickAccess(2);
    ribbon->SetRibbonMinimized(TRUE);
    Relayout();
    PostKeyMenu();
    EXPECT_EQ(1, ribbon->GetTrackingMode());
    EXPECT_NE(-1, ribbon->GetSelectedIndex());
    EXPECT_FALSE(ribbon->GetControlTab()->IsFocused());
}

TEST_F(RibbonKeyboardTest, DigitsRunTheVisibleEnabledQuickAccessControlAtThatPlace)
{
    AddTabs({"&Home"});
    std::vector<COSMControl*> quick = AddQuickAccess(4);
    quick[1]->SetVisible(FALSE);  // '2' then means Q3
    quick[3]->SetEnabled(FALSE);  // and '3' is the disabled Q4
    Relayout();
    frame.ClearRecords();

    PostKeyMenu('2');
    EXPECT_EQ(1, Commands(203));
    EXPECT_EQ(0, Commands(202));
    commandBars->ClosePopups();
    ribbon->SetTrackingMode(0, FALSE, FALSE);
    PostKeyMenu('3');
    EXPECT_EQ(0, Commands(204));
    PostKeyMenu('1');
    EXPECT_EQ(1, Commands(201));
}

TEST_F(RibbonKeyboardTest, ATabsAccessKeySelectsItAndShowsItsGroupsTips)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert"});
    COSMRibbonGroup* group = tabs[1]->GetGroups()->Add("Tables", 20);
    COSMControl* table = group->Add(1, 301);
    ASSERT_NE(nullptr, table);
    table->SetCaption("&Table");
    Relayout();

    PostKeyMenu('i');
    EXPECT_EQ(tabs[1], ribbon->GetSelectedTab());
    EXPECT_TRUE(ribbon->IsEnteredFromKeyboard());
    EXPECT_TRUE(ribbon->GetControlTab()->IsFocused());
    EXPECT_EQ(2, commandBars->GetKeyboardTipsLevel());
    EXPECT_EQ(1u, TipsOf(table).size());
    EXPECT_TRUE(TipsOf(tabs[0]).empty());

    // Leaving tracking forgets how the tab was chosen.
    commandBars->HideKeyboardTips();
    ribbon->SetTrackingMode(0, FALSE, FALSE);
    EXPECT_FALSE(ribbon->IsEnteredFromKeyboard());
}

TEST_F(RibbonKeyboardTest, ATabsAccessKeyOnAMinimizedRibbonOpensItsPopup)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert"});
    ribbon->SetRibbonMinimized(TRUE);
    Relayout();
    PostKeyMenu('i');
    EXPECT_EQ(tabs[1], ribbon->GetSelectedTab());
    EXPECT_TRUE(ribbon->GetControlTab()->IsPopupOpen());
    EXPECT_NE(2, commandBars->GetKeyboardTipsLevel());
    commandBars->ClosePopups();
    PumpMessages();
}

TEST_F(RibbonKeyboardTest, LevelOneTipsNumberTheQuickAccessAndNameTabsAndTheSystemButton)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert"});
    tabs[1]->SetKeyboardTip("N");
    auto* system = new COSMRibbonControlSystemButton;
    system->SetCaption("&File");
    ribbon->SetSystemButton(system);
    ribbon->ShowQuickAccessBelow(TRUE);
    std::vector<COSMControl*> quick = AddQuickAccess(20);
    ribbon->SetTrackingMode(1, FALSE, TRUE);
    commandBars->ShowKeyboardTips(ribbon, 1);

    std::vector<std::string> texts;
    for (COSMControl* control : quick)
    {
        std::vector<const COSMCommandBarKeyboardTip*> tips = TipsOf(control);
        texts.push_back(tips.empty() ? "-" : static_cast<LPCSTR>(tips[0]->GetText()));
        if (!tips.empty())
        {
            const CRect rect = control->GetRect();
            EXPECT_EQ(CPoint(rect.CenterPoint().x, rect.bottom - 11), tips[0]->GetAnchor());
            EXPECT_EQ(kKeyboardTipCenterHorz, tips[0]->GetAlignment());
        }
    }
    ASSERT_TRUE(quick[17]->IsVisible()) << "the quick-access row must hold 18 controls";
    EXPECT_EQ((std::vector<std::string>{"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9", "01",
                                        "02", "03", "04", "05", "06", "07", "08", "09", "-", "-"}),
              texts);

    ASSERT_EQ(1u, TipsOf(tabs[0]).size());
    EXPECT_STREQ("H", TipsOf(tabs[0])[0]->GetText());
    EXPECT_EQ(CPoint(tabs[0]->GetRect().CenterPoint().x, tabs[0]->GetRect().bottom - 9),
              TipsOf(tabs[0])[0]->GetAnchor());
    ASSERT_EQ(1u, TipsOf(tabs[1]).size());
    EXPECT_STREQ("N", TipsOf(tabs[1])[0]->GetText());

    ASSERT_EQ(1u, TipsOf(system).size());
    EXPECT_STREQ("F", TipsOf(system)[0]->GetText());
    EXPECT_EQ(system->GetRect().CenterPoint(), TipsOf(system)[0]->GetAnchor());
    EXPECT_EQ(kKeyboardTipCenterHorz | kKeyboardTipCenterVert, TipsOf(system)[0]->GetAlignment());

    // Typing a tab's tip selects the tab and moves on to the groups' level.
    SendKey('N');
    EXPECT_EQ(tabs[1], ribbon->GetSelectedTab());
    EXPECT_EQ(2, commandBars->GetKeyboardTipsLevel());
}

TEST_F(RibbonKeyboardTest, ArrowsMoveAlongTheQuickAccessRowAndWrap)
{
    AddTabs({"&Home"});
    ribbon->ShowQuickAccessBelow(TRUE);
    std::vector<COSMControl*> quick = AddQuickAccess(3);
    quick[1]->SetFlags(quick[1]->GetFlags() | COSMControl::kFlagSkipFocus);  // the keyboard passes it by
    ribbon->SetTrackingMode(1, FALSE, TRUE);
    ribbon->SetSelected(quick[0]->GetIndex(), COSMCommandBar::kSelectKeyboard);

    SendKey(VK_RIGHT);
    EXPECT_EQ(quick[2]->GetIndex(), ribbon->GetSelectedIndex());
    // On to the customize button that ends the row, and round to the first again.
    SendKey(VK_RIGHT);
    EXPECT_EQ(ribbon->GetQuickAccessPopup()->GetIndex(), ribbon->GetSelectedIndex());
    SendKey(VK_RIGHT);
    EXPECT_EQ(quick[0]->GetIndex(), ribbon->GetSelectedIndex());
    SendKey(VK_LEFT);
    EXPECT_EQ(ribbon->GetQuickAccessPopup()->GetIndex(), ribbon->GetSelectedIndex());
    // Nothing lies below the row: the key is still the ribbon's, and tracking goes on.
    SendKey(VK_DOWN);
    EXPECT_EQ(ribbon->GetQuickAccessPopup()->GetIndex(), ribbon->GetSelectedIndex());
    EXPECT_EQ(1, ribbon->GetTrackingMode());
}

TEST_F(RibbonKeyboardTest, NavigationRectsOfTheCustomizeButtonAndTheTabStrip)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert"});
    tabs[1]->Select();
    std::vector<COSMControl*> quick = AddQuickAccess(1);
    COSMControl* customize = ribbon->GetQuickAccessPopup();
    COSMControl* strip = ribbon->GetControlTab();
    CRect client;
    ribbon->GetClientRect(&client);

    // The customize button reaches to the right edge for Up and Down when it is not the current control.
    CRect stretched = customize->GetRect();
    stretched.right = client.right;
    EXPECT_EQ(stretched, ribbon->GetNavigationRect(customize, quick[0], VK_DOWN));
    EXPECT_EQ(stretched, ribbon->GetNavigationRect(customize, quick[0], VK_UP));
    EXPECT_EQ(customize->GetRect(), ribbon->GetNavigationRect(customize, quick[0], VK_RIGHT));
    EXPECT_EQ(customize->GetRect(), ribbon->GetNavigationRect(customize, customize, VK_DOWN));
    // The current tab strip going up starts from its selected tab.
    EXPECT_EQ(tabs[1]->GetRect(), ribbon->GetNavigationRect(strip, strip, VK_UP));
    EXPECT_EQ(strip->GetRect(), ribbon->GetNavigationRect(strip, strip, VK_DOWN));
    EXPECT_EQ(strip->GetRect(), ribbon->GetNavigationRect(strip, quick[0], VK_UP));
}

TEST_F(RibbonKeyboardTest, CuesFollowTheManagerUnlessTheOptionsHideThem)
{
    commandBars->ShowKeyboardCues(TRUE);
    EXPECT_TRUE(ribbon->IsKeyboardCuesVisible());
    commandBars->GetCommandBarsOptions()->m_keyboardCuesShow = COSMCommandBarsOptions::kCuesNever;
    EXPECT_FALSE(ribbon->IsKeyboardCuesVisible());
}

}  // namespace
