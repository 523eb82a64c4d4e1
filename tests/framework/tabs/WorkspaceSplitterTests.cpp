// The splitter between two groups dragged with the mouse (SendInput): live and with the tracker, left to right and
// right to left, ended by Escape, a lost capture or a quit, and on a frame too small for the groups to have any width.
#include "WorkspaceTestSupport.h"

using namespace workspace_test;

namespace {

class WorkspaceSplitterTest : public WorkspaceTest
{
protected:
    // Two groups of 148 side by side in a client 300 pixels wide.
    void SplitInTwo()
    {
        StartWorkspace(TRUE);
        SizeClientTo(300, 200);
        OpenChild("A");
        OpenChild("B");
        frame.SendMessage(WM_COMMAND, 9158, 0);
        PumpMessages();
        ASSERT_EQ((std::vector<int>{148, 148}), Extents());
    }
    CPoint SplitterCentre() const { return ScreenOf(Group(0), Group(0)->GetSplitterRect().CenterPoint()); }
    // The screen point x pixels from the client's left edge, at the splitter's height.
    CPoint FromClientLeft(int x) const
    {
        CRect client;
        ::GetWindowRect(frame.m_hWndMDIClient, &client);
        return CPoint(client.left + ClientOffset().x + x, SplitterCentre().y);
    }
    // Where the client area starts inside the client window.
    CPoint ClientOffset() const
    {
        CRect window;
        ::GetWindowRect(frame.m_hWndMDIClient, &window);
        CRect client;
        ::GetClientRect(frame.m_hWndMDIClient, &client);
        ::MapWindowPoints(frame.m_hWndMDIClient, nullptr, reinterpret_cast<POINT*>(&client), 2);
        return CPoint(std::min(client.left, client.right) - window.left, client.top - window.top);
    }
};

TEST_F(WorkspaceSplitterTest, DraggingTheSplitterSharesTheRoomAnew)
{
    const struct
    {
        bool rightToLeft;
        std::vector<int> expected;
    } cases[] = {{false, {75, 221}}, {true, {221, 75}}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.rightToLeft);
        if (c.rightToLeft)
        {
            ::SetWindowLongA(frame.m_hWndMDIClient, GWL_EXSTYLE,
                             ::GetWindowLongA(frame.m_hWndMDIClient, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
        }
        SplitInTwo();
        PlayDrag(SplitterCentre(), {FromClientLeft(100), FromClientLeft(75)});
        EXPECT_EQ(c.expected, Extents());
        EXPECT_EQ(nullptr, ::GetCapture());
        // The children follow their groups.
        CRect rc;
        children[1]->GetWindowRect(&rc);
        EXPECT_EQ(Group(1)->GetClientRect().Width(), rc.Width());
        EXPECT_LE(rc.Width(), c.expected[1]);

        for (auto& child : children)
            child->DestroyWindow();
        children.clear();
        frame.workspace = nullptr;
        workspace.Detach();
    }
}

TEST_F(WorkspaceSplitterTest, EscapeAndALostCaptureEndTheLiveDrag)
{
    SplitInTwo();
    // Escape: the splitter stays where the last move put it, and later moves do nothing.
    PlayDrag(SplitterCentre(), {FromClientLeft(100)}, VK_ESCAPE);
    EXPECT_EQ((std::vector<int>{100, 196}), Extents());
    MoveMouseTo(FromClientLeft(200));
    EXPECT_EQ((std::vector<int>{100, 196}), Extents());

    // The capture taken away ends it as well.
    Polled::Until(frame.GetSafeHwnd(), [&] {
        if (Extents() != std::vector<int>{120, 176})
            return false;
        frame.SetCapture();
        return true;
    });
    PlayDrag(SplitterCentre(), {FromClientLeft(120), FromClientLeft(120), FromClientLeft(120), FromClientLeft(200)});
    EXPECT_EQ((std::vector<int>{120, 176}), Extents());
    EXPECT_NE(frame.m_hWndMDIClient, ::GetCapture());
    ::ReleaseCapture();
}

TEST_F(WorkspaceSplitterTest, WithTheTrackerTheGroupsChangeOnlyWhenTheRectangleMoved)
{
    SplitInTwo();
    workspace.SetLiveSplitter(FALSE);
    // Shares that are not pixels: a drag that moves nothing must leave them as they are.
    Group(0)->SetProportion(1.0);
    Group(1)->SetProportion(1.0);
    workspace.UpdateContents();
    ASSERT_EQ((std::vector<int>{148, 148}), Extents());
    const int grip = SplitterCentre().x - ScreenOf(Group(0), Group(0)->GetSplitterRect().TopLeft()).x;

    // Released where it was pressed, and moved but cancelled with Escape.
    PlayDrag(SplitterCentre(), {SplitterCentre()});
    EXPECT_DOUBLE_EQ(1.0, Group(0)->GetProportion());
    EXPECT_DOUBLE_EQ(1.0, Group(1)->GetProportion());
    PlayDrag(SplitterCentre(), {FromClientLeft(60 + grip)}, VK_ESCAPE);
    EXPECT_DOUBLE_EQ(1.0, Group(0)->GetProportion());
    EXPECT_EQ((std::vector<int>{148, 148}), Extents());

    // Moved and released: the splitter's left edge lands where the tracker's did.
    PlayDrag(SplitterCentre(), {FromClientLeft(100 + grip), FromClientLeft(75 + grip)});
    EXPECT_EQ((std::vector<int>{75, 221}), Extents());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(WorkspaceSplitterTest, AFrameTooSmallForTheGroupsSurvivesASplitterDragAndKeepsTheShares)
{
    SplitInTwo();
    frame.minimumSize = CSize(1, 1);
    // The client's width is the splitter's: the groups have none.
    SizeClientTo(4, 200);
    CRect client;
    ::GetClientRect(frame.m_hWndMDIClient, &client);
    ASSERT_EQ(4, client.Width());
    ASSERT_EQ((std::vector<int>{0, 0}), Extents());
    const double first = Group(0)->GetProportion();
    const double second = Group(1)->GetProportion();

    for (BOOL live : {TRUE, FALSE})
    {
        SCOPED_TRACE(live);
        workspace.SetLiveSplitter(live);
        const CPoint grip = SplitterCentre();
        PlayDrag(grip, {grip + CPoint(-2, 0), grip + CPoint(1, 0)});
        EXPECT_DOUBLE_EQ(first, Group(0)->GetProportion());
        EXPECT_DOUBLE_EQ(second, Group(1)->GetProportion());
    }
    // Grown again, the groups take their old shares.
    SizeClientTo(300, 200);
    EXPECT_EQ((std::vector<int>{148, 148}), Extents());
}

// A quit posted while the splitter moves (it comes out of the loop's look for paints first, under Wine) ends the drag
// where it is and reaches the application's loop; the moves after it move nothing.
TEST_F(WorkspaceSplitterTest, AQuitPostedDuringALiveDragEndsItAndReachesTheApplicationsLoop)
{
    SplitInTwo();
    int received = -1;
    EXPECT_TRUE(PlayDragPostingQuit(SplitterCentre(), {FromClientLeft(100), FromClientLeft(200)}, 41, &received))
        << "the quit was lost in the drag";
    EXPECT_EQ(41, received);
    EXPECT_EQ((std::vector<int>{100, 196}), Extents());
    EXPECT_EQ(nullptr, ::GetCapture());
}

}  // namespace
