// The resize gripper of a popup holding a resizable gallery, driven by real drags: the gallery's Width and Height
// follow the mouse down to their minimums, Escape restores them, a right-to-left popup keeps its right edge, and
// the cursor over the gripper shows which way it resizes.
#include "InputTestSupport.h"

#include "framework/commandbars/Controls.h"
#include "framework/controls/ControlGallery.h"

using namespace commandbars_test;

namespace {

const int kMinWidth = 60;
const int kMinHeight = 40;

// A gallery that may be resized the way the test says.
class TestGallery : public COSMControlGallery
{
public:
    BOOL IsCustomizeResizeAllowed() const override { return mode; }
    int GetCustomizeMinWidth() const override { return kMinWidth; }
    int GetCustomizeMinHeight() const override { return kMinHeight; }
    int mode = 3;
};

class PopupResizeTest : public ActivePopupSiteTest
{
protected:
    // A popup with an item and the gallery (resizable as mode says) under it, shown at (350, 250): every drag
    // stays over the frame, since the display delivers no input outside the test's windows.
    void OpenPopup(int mode, BOOL rightToLeft = FALSE)
    {
        commandBars->SetRightToLeft(rightToLeft);
        popup = MakePopup({101});
        gallery = new TestGallery;
        gallery->mode = mode;
        popup->GetControls()->AddControl(gallery, 400);
        ASSERT_TRUE(popup->Popup(350, 250));
        PumpFor(50);
        ASSERT_EQ(mode, popup->GetResizeMode());
        ASSERT_FALSE(popup->GetResizeGripperRect().IsRectEmpty());
    }

    CRect WindowRect() const
    {
        CRect rect;
        popup->GetWindowRect(&rect);
        return rect;
    }

    // A screen point on the gripper's square at its far end.
    CPoint GripperCorner() const
    {
        const CRect grip = popup->GetResizeGripperRect();
        return ScreenPoint(*popup, CPoint(grip.right - 3, grip.top + grip.Height() / 2));
    }

    // Presses on the gripper, moves by the offset and lets go; the drag loop takes it all. Without a release, the
    // action runs from a timer inside the drag loop and must end it.
    void Drag(CPoint offset, std::function<void()> duringDrag = nullptr)
    {
        const CPoint start = GripperCorner();
        MoveMouseTo(start);
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        SendMouseMoveTo(start + offset);
        if (duringDrag)
            Scheduled::After(frame.GetSafeHwnd(), 100, std::move(duringDrag));
        else
            SendMouseInput(MOUSEEVENTF_LEFTUP);
        PumpFor(200);
    }

    static HCURSOR Cursor(LPCSTR id) { return ::LoadCursor(nullptr, id); }

    RefPtr<COSMPopupBar> popup;
    TestGallery* gallery = nullptr;
};

TEST_F(PopupResizeTest, TheGripperSitsUnderTheGalleryAndShowsItsCursor)
{
    const struct
    {
        int mode;
        int height;
        LPCSTR cursor;
    } cases[] = {{2, 8, IDC_SIZENS}, {3, 11, IDC_SIZENWSE}};
    for (const auto& c : cases)
    {
        OpenPopup(c.mode);
        const CRect grip = popup->GetResizeGripperRect();
        EXPECT_EQ(c.height, grip.Height()) << c.mode;
        EXPECT_EQ(gallery->GetRect().bottom, grip.top) << c.mode;
        MoveMouseTo(GripperCorner());
        EXPECT_EQ(Cursor(c.cursor), ::GetCursor()) << c.mode;
        // Height only: the whole strip is the gripper; otherwise only the square at its end.
        const CPoint strip(grip.left + 2, grip.top + grip.Height() / 2);
        EXPECT_EQ(c.mode == 2, popup->HitTestResizeGripper(strip) != FALSE) << c.mode;
        EXPECT_TRUE(popup->HitTestResizeGripper(CPoint(grip.right - 2, grip.top + 1))) << c.mode;
        EXPECT_FALSE(popup->HitTestResizeGripper(CPoint(grip.right - 2, grip.top - 1))) << c.mode;
        MoveMouseTo(ScreenPoint(*popup, gallery->GetRect().CenterPoint()));
        EXPECT_NE(Cursor(c.cursor), ::GetCursor()) << c.mode;
        popup->SetTrackingMode(0, TRUE, FALSE);
    }
}

TEST_F(PopupResizeTest, ADragResizesTheGalleryAndThePopupFollows)
{
    const struct
    {
        int mode;
        int widthChange;
    } cases[] = {{3, 30}, {2, 0}};
    for (const auto& c : cases)
    {
        OpenPopup(c.mode);
        const int width = gallery->GetWidth();
        const int height = gallery->GetRect().Height();
        const CRect before = WindowRect();
        Drag(CPoint(30, 20));
        EXPECT_FALSE(popup->IsResizeTracking());
        EXPECT_EQ(width + c.widthChange, gallery->GetWidth()) << c.mode;
        EXPECT_EQ(height + 20, gallery->GetHeight()) << c.mode;
        const CRect after = WindowRect();
        EXPECT_EQ(before.TopLeft(), after.TopLeft()) << c.mode;
        EXPECT_EQ(before.Width() + c.widthChange, after.Width()) << c.mode;
        EXPECT_EQ(before.Height() + 20, after.Height()) << c.mode;
        EXPECT_EQ(height + 20, gallery->GetRect().Height()) << c.mode;
        // The popup is still open.
        EXPECT_NE(0, popup->GetTrackingMode()) << c.mode;
        popup->SetTrackingMode(0, TRUE, FALSE);
    }
}

TEST_F(PopupResizeTest, TheGalleryNeverShrinksBelowItsMinimums)
{
    OpenPopup(3);
    Drag(CPoint(-150, -120));
    EXPECT_EQ(kMinWidth, gallery->GetWidth());
    EXPECT_EQ(kMinHeight, gallery->GetHeight());
}

TEST_F(PopupResizeTest, EscapeRestoresTheSize)
{
    OpenPopup(3);
    const int width = gallery->GetWidth();
    const int height = gallery->GetRect().Height();
    const CRect before = WindowRect();
    bool tracking = false;
    int widthDuringDrag = 0;
    Drag(CPoint(40, 25), [&] {
        tracking = popup->IsResizeTracking() != FALSE;
        widthDuringDrag = gallery->GetWidth();
        QueueKey(VK_ESCAPE);
    });
    EXPECT_TRUE(tracking);
    EXPECT_EQ(width + 40, widthDuringDrag);
    EXPECT_FALSE(popup->IsResizeTracking());
    EXPECT_EQ(width, gallery->GetWidth());
    EXPECT_EQ(height, gallery->GetHeight());
    EXPECT_EQ(before, WindowRect());
    // Escape ended the drag only: the popup stays open.
    EXPECT_NE(nullptr, popup->GetSafeHwnd());
    EXPECT_NE(0, popup->GetTrackingMode());
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(50);
}

TEST_F(PopupResizeTest, AQuitMessageEndsTheDragAndStaysForTheApplicationsLoop)
{
    OpenPopup(3);
    const int width = gallery->GetWidth();
    bool tracking = false;
    MSG msg{};
    ASSERT_TRUE(DragUntilQuit(
        frame.GetSafeHwnd(), GripperCorner(), CPoint(30, 20), 100, 43,
        [&] { return popup->IsResizeTracking() != FALSE; }, &tracking, &msg));
    EXPECT_TRUE(tracking);
    EXPECT_EQ(43u, msg.wParam);
    EXPECT_FALSE(popup->IsResizeTracking());
    EXPECT_EQ(nullptr, ::GetCapture());
    // The size reached so far stays; the popup is still open.
    EXPECT_EQ(width + 30, gallery->GetWidth());
    EXPECT_NE(0, popup->GetTrackingMode());
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(50);
}

TEST_F(PopupResizeTest, ARightToLeftPopupGrowsLeftwardsAndKeepsItsRightEdge)
{
    OpenPopup(3, TRUE);
    ASSERT_TRUE(popup->GetExStyle() & WS_EX_LAYOUTRTL);
    MoveMouseTo(GripperCorner());
    EXPECT_EQ(Cursor(IDC_SIZENESW), ::GetCursor());
    const int width = gallery->GetWidth();
    const CRect before = WindowRect();
    // The gripper's square is at the popup's left on screen.
    EXPECT_LT(GripperCorner().x, before.CenterPoint().x);
    Drag(CPoint(-30, 20));
    EXPECT_EQ(width + 30, gallery->GetWidth());
    const CRect after = WindowRect();
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(before.Width() + 30, after.Width());
}

}  // namespace
