// The ribbon under the mouse, driven by synthesized input: double clicks that minimize and restore it, the tab popup
// of a minimized ribbon, context headers that select their tab, the wheel over the frame, the hot tab, tooltips.
#include "RibbonTestSupport.h"

#include "framework/foundation/ToolTipContext.h"
#include "framework/ribbon/RibbonGroup.h"

using namespace ribbon_test;

namespace {

class RibbonInputTest : public RibbonTest
{
protected:
    int Minimizations() const { return frame.CountOf(CCommandBarsTestFrame::kRibbonMinimized); }
};

}  // namespace

TEST_F(RibbonInputTest, ADoubleClickOnTheSelectedTabMinimizesAndASecondRestores)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert"});
    CRect window;
    ribbon->GetWindowRect(&window);
    const int fullHeight = window.Height();
    frame.ClearRecords();

    DoubleClickAt(TabCentre(tabs[0]), 100);
    EXPECT_TRUE(ribbon->IsRibbonMinimized());
    EXPECT_EQ(1, Minimizations());
    ASSERT_EQ(1u, frame.RecordsOf(CCommandBarsTestFrame::kRibbonMinimized).size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(ribbon), frame.RecordsOf(CCommandBarsTestFrame::kRibbonMinimized)[0].wParam);
    EXPECT_FALSE(ribbon->IsGroupsVisible());
    ribbon->GetWindowRect(&window);
    EXPECT_EQ(fullHeight - GroupsHeight() + 2, window.Height());

    DoubleClickAt(TabCentre(tabs[0]), 100);
    commandBars->ClosePopups();
    PumpMessages();
    EXPECT_FALSE(ribbon->IsRibbonMinimized());
    EXPECT_EQ(2, Minimizations());
    ribbon->GetWindowRect(&window);
    EXPECT_EQ(fullHeight, window.Height());

    // A double click on another tab only selects it; minimizing can be forbidden.
    DoubleClickAt(TabCentre(tabs[1]), 100);
    EXPECT_EQ(tabs[1], ribbon->GetSelectedTab());
    EXPECT_FALSE(ribbon->IsRibbonMinimized());
    ribbon->SetAllowMinimize(FALSE);
    DoubleClickAt(TabCentre(tabs[1]), 100);
    EXPECT_FALSE(ribbon->IsRibbonMinimized());
    EXPECT_EQ(2, Minimizations());
}

TEST_F(RibbonInputTest, AMinimizedRibbonOpensTheTabsPopupOnAClickAndRestoresToAVisibleTab)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert", "&View"});
    ribbon->SetRibbonMinimized(TRUE);
    Relayout();
    ClickAt(TabCentre(tabs[1]));
    EXPECT_EQ(tabs[1], ribbon->GetSelectedTab());
    COSMRibbonControlTab* strip = ribbon->GetControlTab();
    EXPECT_TRUE(strip->IsPopupOpen());
    ASSERT_NE(nullptr, strip->GetCommandBar());
    EXPECT_EQ(tabs[1], static_cast<COSMRibbonTabPopupToolBar*>(strip->GetCommandBar())->GetRibbonTab());
    commandBars->ClosePopups();
    PumpMessages();
    EXPECT_FALSE(strip->IsPopupOpen());

    // Restoring with nothing selected selects the first visible, enabled tab.
    tabs[0]->SetVisible(FALSE);
    strip->COSMTabManager::SetSelectedItem(nullptr);
    ribbon->SetRibbonMinimized(FALSE);
    EXPECT_EQ(tabs[1], ribbon->GetSelectedTab());
    EXPECT_TRUE(ribbon->IsGroupsVisible());
}

TEST_F(RibbonInputTest, AClickOnAContextHeaderSelectsItsFirstTab)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Format", "&Arrange"});
    tabs[1]->SetContextColor(3, "Picture Tools");
    tabs[2]->SetContextColor(3, "Picture Tools");
    Relayout();
    ASSERT_EQ(1, ribbon->GetContextHeaders()->GetCount());
    const CRect header = ribbon->GetContextHeaders()->GetAt(0)->m_rect;
    frame.ClearRecords();
    ClickAt(ScreenPoint(*ribbon, header.CenterPoint()));
    EXPECT_EQ(tabs[1], ribbon->GetSelectedTab());
    EXPECT_EQ(0, frame.CountOf(WM_SYSCOMMAND));
}

TEST_F(RibbonInputTest, TheWheelOverTheFrameWalksTheTabsWithoutWrapping)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert", "&View"});
    tabs[1]->SetVisible(FALSE);
    Relayout();
    struct Step
    {
        short delta;
        int selected;
    };
    const Step steps[] = {{-120, 2}, {-120, 2}, {120, 0}, {120, 0}, {-240, 2}};
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.delta);
        frame.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(step.delta)), 0);
        EXPECT_EQ(tabs[static_cast<size_t>(step.selected)], ribbon->GetSelectedTab());
    }
}

TEST_F(RibbonInputTest, TheHotTabFollowsTheMouseAndGoesWhenItLeavesTheBar)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert"});
    COSMRibbonControlTab* strip = ribbon->GetControlTab();
    MoveMouseTo(TabCentre(tabs[1]));
    PumpFor(50);
    EXPECT_EQ(tabs[1], strip->GetHighlightedItem());
    CRect window;
    frame.GetWindowRect(&window);
    MoveMouseTo(CPoint(window.CenterPoint().x, window.bottom - 20));
    PumpUntil([&] { return strip->GetHighlightedItem() == nullptr; });
    EXPECT_EQ(nullptr, strip->GetHighlightedItem());
}

TEST_F(RibbonInputTest, TheTabsAnswerTooltipsFirstAndGroupControlsMayTakeTheGroupsArea)
{
    // Tabs whose captions the strip had to cut tell their tooltip.
    std::vector<COSMRibbonTab*> tabs;
    for (int i = 0; i < 12; ++i)
        tabs.push_back(ribbon->AddTab("A tab with a rather long caption"));
    ribbon->SetCurSel(0);
    Relayout();
    tabs[1]->SetTooltip("Insert tables and pictures");
    ASSERT_GT(tabs[1]->GetContentLength(), tabs[1]->GetLength());
    TOOLINFOA info{};
    info.cbSize = sizeof info;
    EXPECT_EQ(1, ribbon->OnToolHitTest(tabs[1]->GetRect().CenterPoint(), &info));
    ASSERT_NE(nullptr, info.lpszText);
    EXPECT_STREQ("Insert tables and pictures", info.lpszText);
    COSMToolTipContext::FreeToolInfoText(&info);

    // A control of a group of the selected tab: its tip covers its own rectangle, or with the switch the groups'.
    COSMRibbonGroup* group = tabs[0]->GetGroups()->Add("Clipboard", 10);
    COSMControl* paste = ribbon->GetControls()->Add(1, 401);
    paste->SetTooltip("Paste");
    paste->SetRibbonGroup(group);
    ribbon->OnTabChanged(tabs[0]);
    const CRect groups = ribbon->GetGroupsRect();
    const CRect pasteRect(groups.left + 10, groups.top + 5, groups.left + 50, groups.top + 30);
    paste->SetRect(pasteRect);
    for (const BOOL groupsArea : {FALSE, TRUE})
    {
        SCOPED_TRACE(groupsArea);
        commandBars->GetToolTipContext()->SetRibbonGroupsPlacement(groupsArea);
        COSMCommandBarToolInfo control{};
        control.cbSize = sizeof control;
        ASSERT_NE(-1, ribbon->OnToolHitTest(pasteRect.CenterPoint(), &control));
        EXPECT_EQ(paste, control.pControl);
        EXPECT_EQ(groupsArea ? groups : pasteRect, CRect(control.rect));
        COSMToolTipContext::FreeToolInfoText(&control);
    }
}
