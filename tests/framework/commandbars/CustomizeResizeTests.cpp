// Resizing a control by its edge in customize mode under synthesized input: the press on an edge of the selected
// control starts the resize loop, which the script drives from a timer. Widths taken from either edge, the
// minimum width, Escape, the cursor over an edge and during the loop, the tracker on the screen, and a control in
// a popup. A program of its own that runs alone: it needs the foreground window, capture and cursor.
#include "InputTestSupport.h"

#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ResourceManager.h"

#include <vector>

using namespace commandbars_test;

namespace {

// A button whose width may be dragged in customize mode, as an edit or a combo box.
class ResizableButton : public COSMControlButton
{
public:
    BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
    int GetCustomizeMinWidth() const override { return minWidth; }
    int minWidth = 0;
};

// A bar that measures as a popup: its controls carry the icon column in their width.
class PopupLikeBar : public TrackingBar
{
public:
    BOOL IsPopupBar() const override { return TRUE; }
};

std::vector<BYTE> ResizeCursorBits()
{
    return CursorBits(GetResourceManager()->LoadCursor(IDC_OSM_CUSTOMIZE_RESIZE));
}

COLORREF ScreenPixel(CPoint screen)
{
    HDC dc = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(dc, screen.x, screen.y);
    ::ReleaseDC(nullptr, dc);
    return colour;
}

class CustomizeResizeTest : public CustomizeSiteTest
{
protected:
    // Buttons 1, 2 (resizable) and 3, 40 x 20 each in a row; the resizable one is the customize selection.
    ResizableButton* Fill(TrackingBar& bar, int type, const CRect& rect)
    {
        MakeBarWindow(bar, type, 0, rect);
        bar.AddButtons({1});
        auto* resizable = AddControl<ResizableButton>(bar, 2);
        bar.AddButtons({3});
        bar.LayOut();
        commandBars->SetCustomizeSelection(resizable);
        return resizable;
    }

    // Presses the left button at the bar's client point and lets the press run; the script runs in the loop the
    // press starts. True when the script ran out and the loop ended.
    bool PressAndRun(const COSMCommandBar& bar, CPoint client, std::vector<Step> steps)
    {
        // Presses apart by less than the double-click time would make a double click, which customize mode
        // ignores.
        PumpFor(::GetDoubleClickTime() + 50);
        MoveMouseTo(ScreenPoint(bar, client));
        InputScript::Start(frame.GetSafeHwnd(), std::move(steps), 70);
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        return PumpUntil([] { return InputScript::Done() && !::GetCapture(); }, 5000);
    }

    TrackingBar bar;
};

TEST_F(CustomizeResizeTest, EitherEdgeSetsTheWidthTheReleaseLeavesAndEscapeKeepsIt)
{
    // The control lies at x 40..79 of the bar; the press is on one of its edge pixels and the release where the
    // script moved the cursor.
    struct Case
    {
        const char* name;
        int pressX;
        int releaseX;
        int minWidth;
        bool escape;
        int width;  // 0: unchanged
    };
    const Case cases[] = {
        {"right edge out", 79, 109, 0, false, 69},
        {"right edge, two pixels in", 77, 60, 0, false, 20},
        {"left edge out", 40, 20, 0, false, 60},
        {"left edge, two pixels in", 42, 55, 0, false, 25},
        {"narrower than the minimum", 79, 0, 30, false, 30},
        {"Escape", 79, 120, 0, true, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResizableButton* control = Fill(bar, 1, CRect(0, 0, 300, 30));
        control->minWidth = c.minWidth;
        const int layouts = bar.layouts;
        std::vector<Step> steps{MoveTo(ScreenPoint(bar, CPoint(c.releaseX, 10)))};
        if (c.escape)
            steps.insert(steps.end(), {Key(VK_ESCAPE, false), Key(VK_ESCAPE, true)});
        steps.push_back(Press(MOUSEEVENTF_LEFTUP));
        ASSERT_TRUE(PressAndRun(bar, CPoint(c.pressX, 10), steps));

        EXPECT_EQ(c.width, control->GetWidth());
        EXPECT_EQ(layouts + (c.width ? 1 : 0), bar.layouts);
        // The control is selected again, stays in its bar, and the mouse is free.
        EXPECT_EQ(control, commandBars->GetCustomizeSelection());
        EXPECT_EQ(3, bar.GetControlCount());
        EXPECT_EQ(nullptr, ::GetCapture());
        bar.DestroyWindow();
        bar.GetControls()->RemoveAll();
    }
}

TEST_F(CustomizeResizeTest, APressOffTheEdgesOrOnAFixedControlDragsInstead)
{
    struct Case
    {
        const char* name;
        bool resizable;
        bool selected;
        int pressX;
    };
    const Case cases[] = {
        {"the middle of the selected control", true, true, 60},
        {"an edge of a control that is not selected", true, false, 79},
        {"an edge of a control that may not be resized", false, true, 79},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        MakeBarWindow(bar, 1, 0, CRect(0, 0, 300, 30));
        bar.AddButtons({1});
        COSMControl* control = c.resizable ? static_cast<COSMControl*>(AddControl<ResizableButton>(bar, 2))
                                           : AddControl<COSMControlButton>(bar, 2);
        bar.AddButtons({3});
        bar.LayOut();
        commandBars->SetCustomizeSelection(c.selected ? control : nullptr);

        // A drag shows its own cursors; a resize would show the resize cursor.
        std::vector<BYTE> seen;
        const Step record = [&] { seen = CursorBits(::GetCursor()); };
        ASSERT_TRUE(PressAndRun(bar, CPoint(c.pressX, 10),
                                {MoveTo(ScreenPoint(bar, CPoint(c.pressX + 5, 10))), record, Key(VK_ESCAPE, false),
                                 Key(VK_ESCAPE, true), Press(MOUSEEVENTF_LEFTUP)}));
        EXPECT_NE(ResizeCursorBits(), seen);
        EXPECT_EQ(0, control->GetWidth());
        EXPECT_EQ(control, commandBars->GetCustomizeSelection());
        bar.DestroyWindow();
        bar.GetControls()->RemoveAll();
    }
}

TEST_F(CustomizeResizeTest, TheCursorShowsTheResizeOverAnEdgeAndThroughoutTheLoop)
{
    const std::vector<BYTE> resize = ResizeCursorBits();
    ASSERT_FALSE(resize.empty());
    ResizableButton* control = Fill(bar, 1, CRect(0, 0, 300, 30));

    struct Case
    {
        int x;
        bool resizeCursor;
    };
    for (const Case& c : {Case{60, false}, Case{79, true}, Case{20, false}, Case{41, true}})
    {
        MoveMouseTo(ScreenPoint(bar, CPoint(c.x, 10)));
        PumpFor(60);
        EXPECT_EQ(c.resizeCursor, CursorBits(::GetCursor()) == resize) << "x " << c.x;
    }

    // In the loop the cursor stays the resize cursor while the edge moves, and the tracker inverts the screen
    // under its edges; afterwards the screen shows what it showed before. The pixel read lies where the tracker
    // grows over the next control, which looks the same before and after.
    const CPoint trackerTop = ScreenPoint(bar, CPoint(90, 0));
    MoveMouseTo(ScreenPoint(bar, CPoint(60, 10)));
    const COLORREF before = ScreenPixel(trackerTop);
    std::vector<BYTE> seen;
    COLORREF during = before;
    ASSERT_TRUE(PressAndRun(bar, CPoint(79, 10),
                            {MoveTo(ScreenPoint(bar, CPoint(100, 10))),
                             [&] {
                                 seen = CursorBits(::GetCursor());
                                 during = ScreenPixel(trackerTop);
                             },
                             Press(MOUSEEVENTF_LEFTUP)}));
    EXPECT_EQ(resize, seen);
    EXPECT_EQ(before ^ 0xFFFFFF, during);
    EXPECT_EQ(60, control->GetWidth());
    PumpFor(60);
    EXPECT_EQ(before, ScreenPixel(trackerTop));
}

TEST_F(CustomizeResizeTest, AControlInAPopupKeepsItsIconColumnOutOfItsWidth)
{
    PopupLikeBar popup;
    ResizableButton* control = Fill(popup, 2, CRect(0, 0, 300, 30));
    const int column = commandBars->GetPaintManager()->GetPopupBarGripperWidth(&popup);
    ASSERT_GT(column, 0);
    ASSERT_TRUE(
        PressAndRun(popup, CPoint(79, 10), {MoveTo(ScreenPoint(popup, CPoint(159, 10))), Press(MOUSEEVENTF_LEFTUP)}));
    EXPECT_EQ(119 - column, control->GetWidth());
    popup.DestroyWindow();
}

}  // namespace
