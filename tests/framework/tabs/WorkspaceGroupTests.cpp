// The workspace with grouping: children without frames filling their group, the workspace commands (sent to the frame
// as a menu sends them) opening groups and moving tabs between them, and emptied groups giving their room away.
#include "WorkspaceTestSupport.h"

using namespace workspace_test;

namespace {

class WorkspaceGroupTest : public WorkspaceTest
{
protected:
    void RunCommand(UINT id)
    {
        frame.SendMessage(WM_COMMAND, id, 0);
        PumpMessages();
    }
    void Activate(DocChild* child)
    {
        child->MDIActivate();
        PumpMessages();
    }
    std::vector<BOOL> Enabled()
    {
        std::vector<BOOL> enabled;
        for (int id : {9155, 9156, 9157, 9158})
            enabled.push_back(workspace.IsWorkspaceActionEnabled(id));
        return enabled;
    }
};

TEST_F(WorkspaceGroupTest, NewChildrenLoseTheirFramesAndFillTheirGroup)
{
    StartWorkspace(TRUE);
    DocChild* first = OpenChild("First");
    DocChild* second = OpenChild("Second");
    for (DocChild* child : {first, second})
    {
        EXPECT_EQ(0u, child->GetStyle() & (WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_EQ(0u, child->GetExStyle() & WS_EX_CLIENTEDGE);
        CRect rc;
        child->GetWindowRect(&rc);
        ::MapWindowPoints(nullptr, frame.m_hWndMDIClient, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(Group(0)->GetClientRect(), rc);
    }
    // The group's header lies above its client area, and the active child's tab is the selected one.
    EXPECT_EQ(Group(0)->GetHeaderRect().bottom <= Group(0)->GetClientRect().top, true);
    EXPECT_EQ(second->GetSafeHwnd(), Group(0)->GetSelectedItem()->GetHandle());
    // Activating the other child puts it on top of its group.
    Activate(first);
    EXPECT_EQ(first->GetSafeHwnd(), Group(0)->GetSelectedItem()->GetHandle());
    EXPECT_EQ(first->GetSafeHwnd(), ::GetWindow(frame.m_hWndMDIClient, GW_CHILD));
}

TEST_F(WorkspaceGroupTest, WhichWorkspaceCommandsApply)
{
    // Without grouping nothing applies.
    StartWorkspace(FALSE);
    OpenChild("Lone");
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, FALSE, FALSE}), Enabled());
    EXPECT_FALSE(workspace.IsWorkspaceActionEnabled(9155));
    for (auto& child : children)
        child->DestroyWindow();
    children.clear();
    frame.workspace = nullptr;
    workspace.Detach();

    StartWorkspace(TRUE);
    // No active child.
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, FALSE, FALSE}), Enabled());
    DocChild* a = OpenChild("A");
    // One group, one tab.
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, FALSE, FALSE}), Enabled());
    DocChild* b = OpenChild("B");
    DocChild* c = OpenChild("C");
    // One group, three tabs: both new groups.
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, TRUE, TRUE}), Enabled());
    EXPECT_TRUE(workspace.IsWorkspaceActionEnabled(9159));

    // Two side by side (C opened the second): in the first, B's group has two tabs.
    RunCommand(9158);
    ASSERT_EQ(2, workspace.GetWorkspaceCount());
    EXPECT_EQ(0, workspace.GetSplitDirection());
    EXPECT_EQ((std::vector<BOOL>{TRUE, FALSE, FALSE, FALSE}), Enabled());  // C alone in the second
    Activate(b);
    EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE, FALSE, TRUE}), Enabled());

    // Two stacked: a new horizontal group is allowed, a vertical one is not.
    RunCommand(9156);  // B joins C: A alone in the first
    Activate(c);
    RunCommand(9155);  // C back to the first, beside A
    ASSERT_EQ(2, workspace.GetWorkspaceCount());
    Activate(a);
    EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE, FALSE, TRUE}), Enabled());
    workspace.SetSplitDirection(1);
    EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE, TRUE, FALSE}), Enabled());
}

TEST_F(WorkspaceGroupTest, ANewGroupSplitsThreeHundredPixelsIntoTwoOf148)
{
    const struct
    {
        UINT command;
        int direction;
    } cases[] = {{9158, 0}, {9157, 1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.command);
        StartWorkspace(TRUE);
        SizeClientTo(300, 300);
        CRect client;
        ::GetClientRect(frame.m_hWndMDIClient, &client);
        ASSERT_EQ(CSize(300, 300), client.Size());
        DocChild* first = OpenChild("First");
        DocChild* second = OpenChild("Second");
        RunCommand(c.command);
        ASSERT_EQ(2, workspace.GetWorkspaceCount());
        EXPECT_EQ(c.direction, workspace.GetSplitDirection());
        EXPECT_DOUBLE_EQ(148.0, Group(0)->GetProportion());
        EXPECT_DOUBLE_EQ(148.0, Group(1)->GetProportion());
        EXPECT_EQ((std::vector<int>{148, 148}), Extents());
        // The splitter fills the four pixels between them.
        const CRect splitter = Group(0)->GetSplitterRect();
        EXPECT_EQ(4, c.direction == 0 ? splitter.Width() : splitter.Height());
        EXPECT_EQ((std::vector<std::string>{"First"}), Captions(0));
        EXPECT_EQ((std::vector<std::string>{"Second"}), Captions(1));
        // The moved child fills the new group.
        CRect rc;
        second->GetWindowRect(&rc);
        ::MapWindowPoints(nullptr, frame.m_hWndMDIClient, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(Group(1)->GetClientRect(), rc);
        EXPECT_EQ(second->GetSafeHwnd(), ActiveChild());
        (void)first;

        for (auto& child : children)
            child->DestroyWindow();
        children.clear();
        frame.workspace = nullptr;
        workspace.Detach();
        workspace.SetSplitDirection(0);
    }
}

TEST_F(WorkspaceGroupTest, AGroupNarrowerThanTheSplitterSplitsIntoNoNegativeShares)
{
    frame.minimumSize = CSize(1, 1);
    const struct
    {
        int width;
        double share;
    } cases[] = {{6, 1.0}, {4, 0.0}, {2, 0.0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.width);
        StartWorkspace(TRUE);
        SizeClientTo(c.width, 200);
        CRect client;
        ::GetClientRect(frame.m_hWndMDIClient, &client);
        ASSERT_EQ(c.width, client.Width());
        OpenChild("First");
        OpenChild("Second");
        RunCommand(9158);
        ASSERT_EQ(2, workspace.GetWorkspaceCount());
        EXPECT_DOUBLE_EQ(c.share, Group(0)->GetProportion());
        EXPECT_DOUBLE_EQ(c.share, Group(1)->GetProportion());
        for (int extent : Extents())
            EXPECT_GE(extent, 0);

        for (auto& child : children)
            child->DestroyWindow();
        children.clear();
        frame.workspace = nullptr;
        workspace.Detach();
    }
}

TEST_F(WorkspaceGroupTest, MovingTheLastTabAwayRemovesItsGroupAndGivesItsRoomToTheNeighbour)
{
    StartWorkspace(TRUE);
    SizeClientTo(300, 200);
    OpenChild("A");
    OpenChild("B");
    DocChild* c = OpenChild("C");
    RunCommand(9158);  // A B | C
    ASSERT_EQ(2, workspace.GetWorkspaceCount());
    // C goes back: its group empties and goes, the first takes all the room.
    RunCommand(9155);
    ASSERT_EQ(1, workspace.GetWorkspaceCount());
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), Captions(0));
    EXPECT_EQ((std::vector<int>{300}), Extents());
    EXPECT_EQ(c->GetSafeHwnd(), Group(0)->GetSelectedItem()->GetHandle());
    EXPECT_EQ(Group(0), workspace.GetActiveWorkspace());

    // The first group empties: the second inherits the room and becomes active.
    RunCommand(9158);  // A B | C
    Activate(children[0].get());
    RunCommand(9156);  // B | A C
    Activate(children[1].get());
    RunCommand(9156);  // (empty) | A C B
    ASSERT_EQ(1, workspace.GetWorkspaceCount());
    EXPECT_EQ((std::vector<std::string>{"C", "A", "B"}), Captions(0));
    EXPECT_EQ((std::vector<int>{300}), Extents());

    // A group whose last child closes goes too.
    RunCommand(9158);  // C A | B
    ASSERT_EQ(2, workspace.GetWorkspaceCount());
    children[1]->DestroyWindow();
    PumpMessages();
    EXPECT_EQ(1, workspace.GetWorkspaceCount());
    EXPECT_EQ((std::vector<std::string>{"C", "A"}), Captions(0));
}

}  // namespace
