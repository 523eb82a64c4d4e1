// The workspace-actions placeholder in a popup menu of an MDI frame: with the tab workspace attached to the MDI
// client (its groups made by moving tabs as the workspace does) it becomes the workspace commands that apply (new
// horizontal and vertical group, move to the previous and next group, in that order), each time the menu lays out;
// without a workspace, or while the bars are customized, the placeholder shows as it is.
#include "PropExchangeTestSupport.h"
#include "TrackingTestSupport.h"

#include "classlib/MDIChildWnd.h"
#include "classlib/MDIFrameWnd.h"
#include "framework/controls/ControlWorkspaceActions.h"
#include "framework/tabs/TabClientWnd.h"

#include <memory>
#include <vector>

using namespace commandbars_test;

namespace {

class WorkspaceActionsTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(
            frame.Create(nullptr, "workspace frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CRect(40, 40, 640, 480)));
        frame.ShowWindow(SW_SHOWNOACTIVATE);
        ASSERT_NE(nullptr, frame.m_hWndMDIClient);
        commandBars->SetSite(&frame);
        ASSERT_TRUE(commandBars->CreateDockBars());

        menu = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
        menu->GetControls()->Add(1, 100)->SetCaption("&Cascade");
        placeholder = menu->GetControls()->Add(1, 35002);
        ASSERT_NE(nullptr, placeholder);
        ASSERT_TRUE(placeholder->IsKindOf(RUNTIME_CLASS(COSMControlWorkspaceActions)));
        placeholder->SetCaption("Workspace actions");
        placeholder->SetBeginGroup(TRUE);
        menu->GetControls()->Add(1, 101)->SetCaption("&Tile");
    }
    void TearDown() override
    {
        commandBars->ClosePopups();
        DestroyChildren();
        menu.Reset();
        commandBars.Reset();
        if (workspace.GetSafeHwnd())
            workspace.Detach();
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        CommandBarsTest::TearDown();
    }

    // Opens the menu (its layout fills the placeholder), lets it paint, and closes it again.
    void OpenMenu()
    {
        ASSERT_TRUE(menu->Popup(200, 150));
        PumpMessages();
        for (int i = 0; i < menu->GetControlCount(); ++i)
        {
            const COSMControl* control = menu->GetControl(i);
            if (control->IsVisible())
            {
                EXPECT_FALSE(control->GetRect().IsRectEmpty()) << control->GetID();
            }
        }
    }
    void CloseMenu()
    {
        commandBars->ClosePopups();
        PumpMessages();
    }

    struct Shown
    {
        UINT id;
        BOOL beginGroup;
        BOOL temporary;
        bool operator==(const Shown& other) const
        {
            return id == other.id && beginGroup == other.beginGroup && temporary == other.temporary;
        }
    };
    std::vector<Shown> VisibleControls() const
    {
        std::vector<Shown> shown;
        for (int i = 0; i < menu->GetControlCount(); ++i)
        {
            const COSMControl* control = menu->GetControl(i);
            if (control->IsVisible())
                shown.push_back({control->GetID(), control->GetBeginGroup(), control->IsTemporary()});
        }
        return shown;
    }

    void DestroyChildren()
    {
        for (auto& child : children)
            if (child->GetSafeHwnd())
                child->DestroyWindow();
        children.clear();
        PumpMessages();
    }

    // Groups side by side (or stacked) holding the numbers of tabs given, made the way the workspace moves tabs;
    // a child of the active group is the active one.
    void Arrange(const std::vector<int>& tabsPerGroup, int activeGroup, int direction = 0)
    {
        DestroyChildren();
        std::vector<std::vector<CMDIChildWnd*>> groups(tabsPerGroup.size());
        for (size_t g = 0; g < tabsPerGroup.size(); ++g)
        {
            for (int t = 0; t < tabsPerGroup[g]; ++t)
            {
                auto child = std::make_unique<CMDIChildWnd>();
                ASSERT_TRUE(child->Create(nullptr, "document", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                          CRect(0, 0, 200, 120), &frame));
                groups[g].push_back(child.get());
                children.push_back(std::move(child));
            }
        }
        PumpMessages();
        for (size_t g = 1; g < groups.size(); ++g)
        {
            for (size_t t = 0; t < groups[g].size(); ++t)
            {
                COSMTabManagerItem* item = workspace.FindItem(groups[g][t]->GetSafeHwnd());
                ASSERT_NE(nullptr, item);
                if (t == 0)
                    workspace.MoveItem(item, workspace.GetWorkspace(static_cast<int>(g) - 1), 4);
                else
                    workspace.MoveItem(item, workspace.GetWorkspace(static_cast<int>(g)), 2);
            }
        }
        ASSERT_EQ(static_cast<int>(tabsPerGroup.size()), workspace.GetWorkspaceCount());
        workspace.SetSplitDirection(direction);
        groups[activeGroup][0]->MDIActivate();
        PumpMessages();
    }

    CMDIFrameWnd frame;
    std::vector<std::unique_ptr<CMDIChildWnd>> children;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    RefPtr<COSMPopupBar> menu;
    COSMControl* placeholder = nullptr;
    COSMTabClientWnd workspace;
};

TEST_F(WorkspaceActionsTest, WithTheWorkspaceTheMenuShowsTheCommandsThatApplyAndEachLayoutReplacesThem)
{
    ASSERT_TRUE(workspace.Attach(&frame, TRUE));
    workspace.SetCommandBars(commandBars.Get());
    EXPECT_EQ(&workspace, CWnd::FromHandlePermanent(frame.m_hWndMDIClient));
    EXPECT_FALSE(COSMTabClientWnd().Attach(&frame));  // one window object per client

    // A new horizontal group needs one group or stacked groups, a vertical one one group or groups side by side.
    const struct
    {
        std::vector<int> tabs;
        int active, direction;
        std::vector<UINT> commands;
    } cases[] = {
        {{1, 3, 1}, 1, 0, {9158, 9155, 9156}},
        {{2, 1}, 0, 0, {9158, 9156}},
        {{2, 1}, 0, 1, {9157, 9156}},
        {{1, 1}, 1, 0, {9155}},
        {{1}, 0, 0, {}},
        {{3}, 0, 0, {9157, 9158}},
        {{1, 3, 1}, 1, 0, {9158, 9155, 9156}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(c.commands));
        Arrange(c.tabs, c.active, c.direction);
        OpenMenu();
        std::vector<Shown> expected = {{100, FALSE, FALSE}};
        for (size_t i = 0; i < c.commands.size(); ++i)
            expected.push_back({c.commands[i], i == 0, TRUE});  // the first takes the placeholder's group mark
        expected.push_back({101, FALSE, FALSE});
        EXPECT_EQ(expected, VisibleControls());
        // The placeholder hides behind its commands; what the last layout added is all gone.
        EXPECT_FALSE(placeholder->IsVisible());
        EXPECT_EQ(static_cast<int>(c.commands.size()) + 3, menu->GetControlCount());
        CloseMenu();
    }
}

TEST_F(WorkspaceActionsTest, WithoutAWorkspaceOrWhileCustomizingThePlaceholderShows)
{
    const std::vector<Shown> asBuilt = {{100, FALSE, FALSE}, {35002, TRUE, FALSE}, {101, FALSE, FALSE}};
    OpenMenu();
    EXPECT_EQ(asBuilt, VisibleControls());
    CloseMenu();

    // Attached later, the workspace fills the menu; in customize mode the placeholder is back on its own.
    ASSERT_TRUE(workspace.Attach(&frame, TRUE));
    workspace.SetCommandBars(commandBars.Get());
    Arrange({2, 1}, 0);
    OpenMenu();
    EXPECT_EQ(5, menu->GetControlCount());
    CloseMenu();
    commandBars->SetCustomizeMode(TRUE);
    OpenMenu();
    EXPECT_EQ(asBuilt, VisibleControls());
    EXPECT_EQ(3, menu->GetControlCount());
    CloseMenu();
    commandBars->SetCustomizeMode(FALSE);
}

TEST_F(WorkspaceActionsTest, ACommandTheUserPutAfterThePlaceholderSurvivesEveryLayout)
{
    COSMControl* own = menu->GetControls()->Add(1, 9156, nullptr, 2);
    own->SetCaption("Next group (mine)");
    ASSERT_TRUE(workspace.Attach(&frame, TRUE));
    workspace.SetCommandBars(commandBars.Get());
    Arrange({1, 1}, 1);
    for (int layout = 0; layout < 2; ++layout)
    {
        SCOPED_TRACE(layout);
        OpenMenu();
        const std::vector<Shown> expected = {
            {100, FALSE, FALSE}, {9155, TRUE, TRUE}, {9156, FALSE, FALSE}, {101, FALSE, FALSE}};
        EXPECT_EQ(expected, VisibleControls());
        EXPECT_EQ(own, menu->GetControl(3));
        CloseMenu();
    }
}

TEST_F(WorkspaceActionsTest, ThePlaceholderIsStoredAsTheUserLeftItNotHiddenForItsCommands)
{
    ASSERT_TRUE(workspace.Attach(&frame, TRUE));
    workspace.SetCommandBars(commandBars.Get());
    Arrange({1, 3, 1}, 1);
    OpenMenu();
    CloseMenu();
    ASSERT_FALSE(placeholder->IsVisible());
    prop_exchange_test::StoreToMemory store;
    placeholder->DoPropExchange(&store.px);
    prop_exchange_test::LoadFromMemory load(store.Take());
    RefPtr<COSMControl> loaded = AdoptRef(static_cast<COSMControl*>(COSMControlWorkspaceActions::CreateObject()));
    loaded->DoPropExchange(&load.px);
    EXPECT_EQ(0u, loaded->GetHideFlags() & COSMControl::kHideHidden);
    EXPECT_STREQ("Workspace actions", loaded->GetCaptionText());
    EXPECT_FALSE(placeholder->IsVisible());  // still hidden in the menu it belongs to
}

}  // namespace
