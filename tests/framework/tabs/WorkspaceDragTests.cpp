// Dragging the workspace's tabs with the mouse (SendInput): reordering in the header, opening groups below and beside,
// moving to another group, the drop menu, Escape, a child that closes while its tab is dragged, and a quit posted
// during the drag.
#include "WorkspaceTestSupport.h"

#include "framework/commandbars/MouseManager.h"

using namespace workspace_test;

namespace {

class WorkspaceDragTest : public WorkspaceTest
{
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        StartWorkspace(TRUE);
        SizeClientTo(400, 300);
    }
    void OpenThree()
    {
        for (const char* title : {"A", "B", "C"})
            OpenChild(title);
    }
    // A point of a group, from its control rectangle's bottom-right corner.
    CPoint FromBottomRight(int group, int dx, int dy) const
    {
        const CRect rc = Group(group)->GetControlRect();
        return ScreenOf(Group(group), CPoint(rc.right - dx, rc.bottom - dy));
    }
    void RunCommand(UINT id)
    {
        frame.SendMessage(WM_COMMAND, id, 0);
        PumpMessages();
    }
};

TEST_F(WorkspaceDragTest, TheOnlyTabOfTheOnlyGroupIsOnlyActivated)
{
    OpenChild("Alone");
    PlayDrag(TabCentre(0, 0), {FromBottomRight(0, 10, 100)});
    EXPECT_EQ(1, workspace.GetWorkspaceCount());
    EXPECT_EQ(COSMTabClientWnd::kDropNone, workspace.GetLastDropMode());
    EXPECT_EQ(children[0]->GetSafeHwnd(), ActiveChild());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(WorkspaceDragTest, InTheHeaderTheDraggedTabTakesThePlacesItCrosses)
{
    OpenThree();
    PlayDrag(TabCentre(0, 0), {TabCentre(0, 1), TabCentre(0, 2)});
    EXPECT_EQ((std::vector<std::string>{"B", "C", "A"}), Captions(0));
    EXPECT_EQ(1, workspace.GetWorkspaceCount());
    // The dragged tab's child is the active one.
    EXPECT_EQ(children[0]->GetSafeHwnd(), ActiveChild());
    EXPECT_EQ(Group(0)->GetItem(2), Group(0)->GetSelectedItem());
}

TEST_F(WorkspaceDragTest, ReleasedNearAGroupsBottomOrRightEdgeTheTabOpensANewGroupThere)
{
    const struct
    {
        int mode;
        CPoint fromCorner;
        int direction;
    } cases[] = {
        {COSMTabClientWnd::kDropNewGroupBelow, CPoint(200, 10), 1},
        {COSMTabClientWnd::kDropNewGroupBeside, CPoint(10, 150), 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.mode);
        OpenThree();
        PlayDrag(TabCentre(0, 1),
                 {FromBottomRight(0, c.fromCorner.x, 100), FromBottomRight(0, c.fromCorner.x, c.fromCorner.y)});
        EXPECT_EQ(c.mode, workspace.GetLastDropMode());
        ASSERT_EQ(2, workspace.GetWorkspaceCount());
        EXPECT_EQ(c.direction, workspace.GetSplitDirection());
        EXPECT_EQ((std::vector<std::string>{"A", "C"}), Captions(0));
        EXPECT_EQ((std::vector<std::string>{"B"}), Captions(1));
        EXPECT_EQ(children[1]->GetSafeHwnd(), ActiveChild());
        EXPECT_EQ(Group(1), workspace.GetActiveWorkspace());

        for (auto& child : children)
            child->DestroyWindow();
        children.clear();
        PumpMessages();
        ASSERT_EQ(1, workspace.GetWorkspaceCount());
    }
}

TEST_F(WorkspaceDragTest, OverAnotherGroupsHeaderTheTabMovesThere)
{
    OpenThree();
    RunCommand(9158);  // A B | C
    ASSERT_EQ(2, workspace.GetWorkspaceCount());
    const CRect header = Group(1)->GetHeaderRect();
    PlayDrag(TabCentre(0, 0),
             {FromBottomRight(0, 100, 100), ScreenOf(Group(1), CPoint(header.right - 20, header.CenterPoint().y))});
    EXPECT_EQ(COSMTabClientWnd::kDropOnGroup, workspace.GetLastDropMode());
    EXPECT_EQ((std::vector<std::string>{"B"}), Captions(0));
    EXPECT_EQ((std::vector<std::string>{"C", "A"}), Captions(1));
    EXPECT_EQ(Group(1)->GetItem(1), Group(1)->GetSelectedItem());
    EXPECT_EQ(children[0]->GetSafeHwnd(), ActiveChild());
}

TEST_F(WorkspaceDragTest, ADropElsewhereOpensTheDropMenuAndTheOnlyTabCannotSplitItsOwnGroup)
{
    OpenThree();
    RunCommand(9158);  // A B | C
    ASSERT_EQ(2, workspace.GetWorkspaceCount());
    // C is the only tab of its group: near its group's right edge it opens no group beside, the drop lands in the
    // client and the menu offers what applies to C (to the previous group) and the cancel entry.
    std::vector<UINT> offered;
    Polled::Until(frame.GetSafeHwnd(), [&] {
        COSMCommandBar* menu = commandBars->GetMouseManager()->GetTopTrackedBar();
        if (!menu)
            return false;
        for (int i = 0; i < menu->GetControlCount(); ++i)
            if (menu->GetControl(i)->IsVisible())
                offered.push_back(menu->GetControl(i)->GetID());
        commandBars->ClosePopups();
        return true;
    });
    PlayDrag(TabCentre(1, 0), {FromBottomRight(1, 60, 100), FromBottomRight(1, 10, 100)});
    PumpUntil([&] { return !offered.empty(); });
    EXPECT_EQ(COSMTabClientWnd::kDropInClient, workspace.GetLastDropMode());
    EXPECT_EQ((std::vector<UINT>{9155, 9159}), offered);
    EXPECT_EQ(2, workspace.GetWorkspaceCount());
    EXPECT_EQ((std::vector<std::string>{"C"}), Captions(1));
}

TEST_F(WorkspaceDragTest, ChoosingFromTheDropMenuRunsTheCommand)
{
    OpenThree();
    // Released inside the client away from any edge: the menu's first entry (new horizontal group) is chosen.
    Polled::Until(frame.GetSafeHwnd(), [&] {
        COSMCommandBar* menu = commandBars->GetMouseManager()->GetTopTrackedBar();
        if (!menu)
            return false;
        for (int i = 0; i < menu->GetControlCount(); ++i)
        {
            COSMControl* control = menu->GetControl(i);
            if (control->IsVisible() && control->GetID() == 9157)
            {
                const CPoint centre = ScreenPoint(*menu, control->GetRect().CenterPoint());
                SendMouseMoveTo(centre);
                SendMouseInput(MOUSEEVENTF_LEFTDOWN);
                SendMouseInput(MOUSEEVENTF_LEFTUP);
                return true;
            }
        }
        commandBars->ClosePopups();
        return true;
    });
    PlayDrag(TabCentre(0, 1), {FromBottomRight(0, 200, 100)});
    PumpUntil([&] { return workspace.GetWorkspaceCount() == 2; });
    EXPECT_EQ(COSMTabClientWnd::kDropInClient, workspace.GetLastDropMode());
    ASSERT_EQ(2, workspace.GetWorkspaceCount());
    EXPECT_EQ(1, workspace.GetSplitDirection());
    EXPECT_EQ((std::vector<std::string>{"B"}), Captions(1));
}

TEST_F(WorkspaceDragTest, EscapeCancelsTheDropAndKeepsTheLastReorder)
{
    OpenThree();
    PlayDrag(TabCentre(0, 0), {TabCentre(0, 1), FromBottomRight(0, 200, 10)}, VK_ESCAPE);
    EXPECT_EQ(COSMTabClientWnd::kDropNone, workspace.GetLastDropMode());
    EXPECT_EQ(1, workspace.GetWorkspaceCount());
    EXPECT_EQ((std::vector<std::string>{"B", "A", "C"}), Captions(0));
    EXPECT_EQ(children[0]->GetSafeHwnd(), ActiveChild());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(WorkspaceDragTest, AChildClosedDuringTheDragEndsTheSwapping)
{
    OpenThree();
    const CPoint slotOfC = TabCentre(0, 2);
    HWND c = children[2]->GetSafeHwnd();
    // Once A, held, has taken B's place, C closes; A's later pass over C's old place swaps nothing.
    bool closedWhileHeld = false;
    Polled::Until(frame.GetSafeHwnd(), [&] {
        if (Captions(0) != std::vector<std::string>{"B", "A", "C"})
            return false;
        closedWhileHeld = ::GetCapture() == frame.m_hWndMDIClient;
        ::SendMessageA(c, WM_CLOSE, 0, 0);
        return true;
    });
    PlayDrag(TabCentre(0, 0), {TabCentre(0, 1), TabCentre(0, 1), TabCentre(0, 1), TabCentre(0, 1), slotOfC});
    EXPECT_TRUE(closedWhileHeld);
    EXPECT_FALSE(::IsWindow(c));
    EXPECT_EQ((std::vector<std::string>{"B", "A"}), Captions(0));
    EXPECT_EQ(children[0]->GetSafeHwnd(), ActiveChild());
    EXPECT_EQ(nullptr, ::GetCapture());
}

// A quit posted as the tab leaves the header (the drop tracker then paints what waits first, and under Wine the quit
// comes out with the paints) ends the drag without a drop and reaches the application's loop.
TEST_F(WorkspaceDragTest, AQuitPostedDuringTheDragEndsItAndReachesTheApplicationsLoop)
{
    OpenThree();
    int received = -1;
    EXPECT_TRUE(PlayDragPostingQuit(TabCentre(0, 0), {FromBottomRight(0, 200, 100), TabCentre(0, 2)}, 42, &received))
        << "the quit was lost in the drag";
    EXPECT_EQ(42, received);
    EXPECT_EQ(COSMTabClientWnd::kDropNone, workspace.GetLastDropMode());
    EXPECT_EQ(1, workspace.GetWorkspaceCount());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_FALSE(commandBars->GetMouseManager()->GetTopTrackedBar()) << "no drop menu";
}

}  // namespace
