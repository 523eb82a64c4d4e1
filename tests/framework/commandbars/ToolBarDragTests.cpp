// Toolbars dragged by the real mouse in the activated dock frame: moves that dock on another side, float or stay
// where the bar's flags say, the floating size and the room kept on a shrunken work area, Escape, border resizes,
// the double-click toggle, the docking record put back, a capture held elsewhere and a quit message.
#include "DockTestSupport.h"
#include "InputTestSupport.h"

#include "framework/commandbars/ToolBarMoveTracker.h"
#include "framework/controls/DialogBar.h"

#include <functional>
#include <utility>
#include <vector>

using namespace commandbars_test;

namespace {

// Runs the steps one by one from a timer of the window, one every period: the drag's own loop dispatches them.
class ToolBarDragScript
{
public:
    static void Start(HWND window, std::vector<std::function<void()>> steps, UINT period = 80)
    {
        s_steps = std::move(steps);
        s_next = 0;
        ::SetTimer(window, kTimerId, period, &Tick);
    }
    static bool Done() { return s_next >= s_steps.size(); }

private:
    static constexpr UINT_PTR kTimerId = 0x5EEE;
    static void CALLBACK Tick(HWND window, UINT, UINT_PTR id, DWORD)
    {
        if (s_next >= s_steps.size())
        {
            ::KillTimer(window, id);
            return;
        }
        // The step may run a loop of its own that dispatches this timer again.
        const std::function<void()> step = s_steps[s_next++];
        step();
    }
    static inline std::vector<std::function<void()>> s_steps;
    static inline size_t s_next = 0;
};

CRect FakeWorkArea(const CRect&)
{
    return CRect(0, 0, 400, 300);
}

class ToolBarDragTest : public DockSiteTest
{
protected:
    BOOL CreateFrame() override { return frame.CreateActiveTestFrame("toolbar drag test"); }
    void TearDown() override
    {
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        MoveMouseTo(CPoint(1200, 1000));
        DockSiteTest::TearDown();
    }

    COSMToolBar* AddDockedBar()
    {
        COSMToolBar* bar = AddFilledToolBar("Standard", 701, {201, 202, 203, 204, 205, 206});
        frame.RecalcLayout();
        PumpMessages();
        return bar;
    }
    // A point of the floating bar's caption, or of a docked bar's space in front of its first control.
    static CPoint GripPoint(const COSMToolBar& bar)
    {
        CRect client;
        bar.GetClientRect(&client);
        CPoint point = bar.IsFloating() ? CPoint(8, 8) : CPoint(0, client.Height() / 2);
        while (!bar.IsFloating() && point.x < client.right - 1 && bar.GetControls()->HitTest(point))
            ++point.x;
        EXPECT_EQ(nullptr, bar.GetControls()->HitTest(point));
        return ScreenPoint(bar, point);
    }
    // A point of the frame's client area, from its top-left corner.
    CPoint InFrame(int x, int y) const { return ScreenPoint(frame, CPoint(x, y)); }
    CPoint FrameCentre() const
    {
        CRect client;
        frame.GetClientRect(&client);
        return InFrame(client.Width() / 2, client.Height() / 2);
    }
    // Just inside the frame's client area along the side (0 top, 1 bottom, 2 left, 3 right), half way along it.
    CPoint NearSide(int side) const
    {
        CRect client;
        frame.GetClientRect(&client);
        switch (side)
        {
        case 0:
            return InFrame(client.Width() / 2, 4);
        case 1:
            return InFrame(client.Width() / 2, client.Height() - 4);
        case 2:
            return InFrame(4, client.Height() / 2);
        default:
            return InFrame(client.Width() - 4, client.Height() / 2);
        }
    }

    // Presses at start, then runs the steps inside the drag and waits until they are done.
    void Drag(CPoint start, std::vector<std::function<void()>> steps)
    {
        MoveMouseTo(start);
        ToolBarDragScript::Start(frame.GetSafeHwnd(), std::move(steps));
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(PumpUntil([] { return ToolBarDragScript::Done(); }, 5000));
        PumpFor(100);
    }
    static std::function<void()> MoveTo(CPoint point)
    {
        return [point] { osm::test::SendMouseMoveTo(point); };
    }
    static std::function<void()> Release()
    {
        return [] { SendMouseInput(MOUSEEVENTF_LEFTUP); };
    }
    BOOL Modified() const { return commandBars->GetCommandBarsOptions()->m_modified; }
    void ClearModified() { commandBars->GetCommandBarsOptions()->m_modified = FALSE; }
};

TEST_F(ToolBarDragTest, ADragFromTheTopFloatsOverTheFrameAndDocksOnTheLeft)
{
    COSMToolBar* bar = AddDockedBar();
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(0, bar->GetPosition());
    ClearModified();
    int positionOverCentre = -1;
    BOOL capturedOverCentre = FALSE;
    Drag(GripPoint(*bar), {MoveTo(FrameCentre()),
                           [&] {
                               positionOverCentre = bar->GetPosition();
                               capturedOverCentre = ::GetCapture() == bar->GetSafeHwnd();
                           },
                           MoveTo(NearSide(2)), Release()});
    // Floating made the bar a top-level window and docking made it a child again: the drag went on throughout.
    EXPECT_EQ(4, positionOverCentre);
    EXPECT_TRUE(capturedOverCentre);
    EXPECT_EQ(2, bar->GetPosition());
    EXPECT_EQ(DockBar(2), bar->GetDockBar());
    EXPECT_EQ(DockBar(2)->GetSafeHwnd(), ::GetParent(bar->GetSafeHwnd()));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_TRUE(Modified());
    EXPECT_EQ(0, CreateMouseManager()->GetLockCount());
}

TEST_F(ToolBarDragTest, ABarNotAllowedAtTheBottomFloatsThereOrStaysWhereItIs)
{
    for (BOOL mayFloat : {TRUE, FALSE})
    {
        SCOPED_TRACE(mayFloat);
        COSMToolBar* bar = AddDockedBar();
        ASSERT_NE(nullptr, bar);
        bar->ModifyFlags(0, 0x2 | (mayFloat ? 0 : 0x10));
        const CRect before = ScreenRect(bar);
        Drag(GripPoint(*bar), {MoveTo(FrameCentre()), MoveTo(NearSide(1)), Release()});
        if (mayFloat)
        {
            EXPECT_EQ(4, bar->GetPosition());
            EXPECT_EQ(nullptr, bar->GetDockBar());
            EXPECT_TRUE(ScreenRect(bar).PtInRect(NearSide(1)));
        }
        else
        {
            EXPECT_EQ(0, bar->GetPosition());
            EXPECT_EQ(DockBar(0), bar->GetDockBar());
            EXPECT_EQ(before, ScreenRect(bar));
        }
        EXPECT_EQ("|", DescribeRows(DockBar(1)));
        commandBars->Remove(bar);
    }
}

TEST_F(ToolBarDragTest, AFloatedBarTakesItsFloatingSizeAndPutsTheDockingRecordBack)
{
    COSMToolBar* bar = AddDockedBar();
    ASSERT_NE(nullptr, bar);
    COSMToolBar::DockingRecord record;
    record.side = 0;
    record.rect = CRect(7, 0, 150, 24);
    bar->SetDockingRecord(record);
    // Over the left dock bar on the way, which writes a record of its own.
    int sideOnTheLeft = -1;
    Drag(GripPoint(*bar), {MoveTo(NearSide(2)), [&] { sideOnTheLeft = bar->GetDockingRecord().side; },
                           MoveTo(FrameCentre()), Release()});
    EXPECT_EQ(2, sideOnTheLeft);
    ASSERT_EQ(4, bar->GetPosition());
    EXPECT_EQ(0, bar->GetDockingRecord().side);
    EXPECT_EQ(CRect(7, 0, 150, 24), bar->GetDockingRecord().rect);
    const CRect window = ScreenRect(bar);
    EXPECT_EQ(window.TopLeft(), bar->GetMoveTracker()->GetSavedFloatingPoint());
    EXPECT_TRUE(window.PtInRect(FrameCentre()));
    EXPECT_EQ(bar->CalcDynamicLayout(0, LM_COMMIT | LM_MRUWIDTH | LM_HORZ), window.Size());
}

TEST_F(ToolBarDragTest, AFloatingBarKeepsTenPixelsOnAShrunkenWorkAreaAndEscapeEndsTheDragWhereItIs)
{
    ScopedSetting<COSMToolBarMoveTracker::WorkAreaFn> workArea(COSMToolBarMoveTracker::s_pfnGetWorkArea, &FakeWorkArea);
    COSMToolBar* bar = AddDockedBar();
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(bar->SetPosition(4));
    bar->SetWindowPos(nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    const CPoint start = GripPoint(*bar);
    CRect atEscape;
    BOOL capturedAfterEscape = TRUE;
    Drag(start, {MoveTo(start + CSize(400, 350)), [&] { atEscape = ScreenRect(bar); }, [] { QueueKey(VK_ESCAPE); },
                 [&] { capturedAfterEscape = ::GetCapture() == bar->GetSafeHwnd(); }, MoveTo(start + CSize(-40, -30)),
                 Release()});
    // Far beyond the fake work area's right and bottom edges: its left and top edges stay 10 pixels inside.
    EXPECT_EQ(CPoint(390, 290), atEscape.TopLeft());
    EXPECT_FALSE(capturedAfterEscape);
    EXPECT_EQ(atEscape, ScreenRect(bar));
    EXPECT_EQ(4, bar->GetPosition());
}

TEST_F(ToolBarDragTest, ResizingAFloatingBarKeepsTheEdgeOppositeTheBorder)
{
    COSMToolBar* bar = AddDockedBar();
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(bar->SetPosition(4));
    bar->SetWindowPos(nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();

    // Narrower from the left: the buttons wrap onto more rows, the right edge stays.
    const CRect wide = ScreenRect(bar);
    const CPoint left(wide.left + 1, wide.CenterPoint().y);
    ASSERT_EQ(HTLEFT, bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(left.x, left.y)));
    Drag(left, {MoveTo(left + CSize(wide.Width() / 2, 0)), Release()});
    const CRect narrow = ScreenRect(bar);
    EXPECT_LT(narrow.Width(), wide.Width());
    EXPECT_GT(narrow.Height(), wide.Height());
    EXPECT_EQ(wide.right, narrow.right);
    EXPECT_EQ(wide.top, narrow.top);
    EXPECT_EQ(narrow.Width(), bar->GetMRUWidth());

    // Shorter from the top: back to fewer rows, the bottom-left corner stays.
    const CPoint top(narrow.CenterPoint().x, narrow.top + 1);
    ASSERT_EQ(HTTOP, bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(top.x, top.y)));
    Drag(top, {MoveTo(top + CSize(0, narrow.Height() - wide.Height())), Release()});
    const CRect shorter = ScreenRect(bar);
    EXPECT_LT(shorter.Height(), narrow.Height());
    EXPECT_EQ(narrow.bottom, shorter.bottom);
    EXPECT_EQ(narrow.left, shorter.left);
    EXPECT_EQ(shorter.Width(), bar->GetMRUWidth());
    EXPECT_EQ(shorter.TopLeft(), bar->GetMoveTracker()->GetSavedFloatingPoint());
}

TEST_F(ToolBarDragTest, ADoubleClickDocksAFloatingBarAtItsPlaceAndFloatsADockedOneOnlyWhenAllowed)
{
    // The bar lies in the row of another one, right of it.
    COSMToolBar* second = AddFilledToolBar("Second", 702, {211, 212});
    COSMToolBar* bar = AddDockedBar();
    ASSERT_NE(nullptr, bar);
    CRect place = ScreenRect(bar);
    place.OffsetRect(InFrame(200, 0) - place.TopLeft());
    ASSERT_TRUE(commandBars->DockCommandBar(bar, &place, DockBar(0)));
    frame.RecalcLayout();
    PumpMessages();
    const CRect docked = RectInParent(bar);
    ASSERT_EQ(RectInParent(second).top, docked.top);
    ASSERT_LT(RectInParent(second).right, docked.left);

    // Floated by a drag, docked back by a double click where it lay before.
    Drag(GripPoint(*bar), {MoveTo(FrameCentre()), Release()});
    ASSERT_EQ(4, bar->GetPosition());
    const CPoint floatedAt = ScreenRect(bar).TopLeft();
    ClearModified();
    DoubleClickAt(GripPoint(*bar), 150);
    EXPECT_EQ(0, bar->GetPosition());
    EXPECT_EQ(DockBar(0), bar->GetDockBar());
    EXPECT_EQ(docked.TopLeft(), RectInParent(bar).TopLeft());
    EXPECT_TRUE(Modified());

    // "DblClickFloat" off: the docked bar stays.
    ClearModified();
    DoubleClickAt(GripPoint(*bar), 150);
    EXPECT_EQ(0, bar->GetPosition());
    EXPECT_FALSE(bar->GetMoveTracker()->ToggleDocking());

    // On: it floats where it floated last.
    commandBars->GetCommandBarsOptions()->m_dblClickFloat = TRUE;
    ClearModified();
    DoubleClickAt(GripPoint(*bar), 150);
    EXPECT_EQ(4, bar->GetPosition());
    EXPECT_EQ(floatedAt, ScreenRect(bar).TopLeft());
    EXPECT_EQ(bar->CalcDynamicLayout(0, LM_COMMIT | LM_MRUWIDTH | LM_HORZ), ScreenRect(bar).Size());
    EXPECT_TRUE(Modified());

    // A bar that may not float, or dock anywhere, does not toggle.
    bar->ModifyFlags(0, 0xF);
    EXPECT_FALSE(bar->GetMoveTracker()->ToggleDocking());
    bar->ModifyFlags(0xF, 0x10);
    ASSERT_TRUE(bar->GetMoveTracker()->ToggleDocking());
    EXPECT_EQ(0, bar->GetPosition());
    EXPECT_FALSE(bar->GetMoveTracker()->ToggleDocking());
}

TEST_F(ToolBarDragTest, ACaptureHeldElsewhereKeepsTheDragFromStarting)
{
    COSMToolBar* bar = AddDockedBar();
    ASSERT_NE(nullptr, bar);
    const CRect before = ScreenRect(bar);
    frame.SetCapture();
    ASSERT_EQ(frame.GetSafeHwnd(), ::GetCapture());
    ClearModified();
    bar->GetMoveTracker()->TrackMove(GripPoint(*bar));
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetCapture());
    EXPECT_EQ(before, ScreenRect(bar));
    EXPECT_EQ(0, bar->GetMoveTracker()->GetMode());
    EXPECT_EQ(0, CreateMouseManager()->GetLockCount());
    ::ReleaseCapture();
}

TEST_F(ToolBarDragTest, AQuitMessageEndsTheDragAndIsPostedAgain)
{
    COSMToolBar* bar = AddDockedBar();
    ASSERT_NE(nullptr, bar);
    bool draggingAtQuit = false;
    int lockAtQuit = 0;
    MSG quit{};
    ASSERT_TRUE(DragUntilQuit(
        frame.GetSafeHwnd(), GripPoint(*bar), CPoint(0, 150), 200, 37,
        [&] {
            lockAtQuit = CreateMouseManager()->GetLockCount();
            return ::GetCapture() == bar->GetSafeHwnd() && bar->GetMoveTracker()->GetMode() == 1;
        },
        &draggingAtQuit, &quit));
    EXPECT_TRUE(draggingAtQuit);
    EXPECT_EQ(1, lockAtQuit);
    EXPECT_EQ(37, static_cast<int>(quit.wParam));
    EXPECT_NE(bar->GetSafeHwnd(), ::GetCapture());
    EXPECT_EQ(0, bar->GetMoveTracker()->GetMode());
    EXPECT_EQ(0, CreateMouseManager()->GetLockCount());
}

TEST_F(ToolBarDragTest, ACornerDragResizesAFloatingDialogBarDownToItsMinimum)
{
    commandBars->SetToolBarClass(RUNTIME_CLASS(COSMDialogBar));
    auto* bar = static_cast<COSMDialogBar*>(commandBars->AddToolBar("Properties", 801));
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(bar->SetPosition(4));
    bar->SetWindowPos(nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    const CRect start = ScreenRect(bar);
    const CSize extent = bar->GetFloatingExtent();

    const CPoint bottomRight(start.right - 2, start.bottom - 2);
    ASSERT_EQ(HTBOTTOMRIGHT, bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(bottomRight.x, bottomRight.y)));
    Drag(bottomRight, {MoveTo(bottomRight + CSize(40, 30)), Release()});
    const CRect grown = ScreenRect(bar);
    EXPECT_EQ(CRect(start.left, start.top, start.right + 40, start.bottom + 30), grown);
    EXPECT_EQ(extent + CSize(40, 30), bar->GetFloatingExtent());
    EXPECT_EQ(grown.Width(), bar->GetMRUWidth());

    const CPoint topLeft(grown.left + 1, grown.top + 1);
    ASSERT_EQ(HTTOPLEFT, bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(topLeft.x, topLeft.y)));
    Drag(topLeft, {MoveTo(topLeft + CSize(30, 20)), Release()});
    const CRect shrunk = ScreenRect(bar);
    EXPECT_EQ(CRect(grown.left + 30, grown.top + 20, grown.right, grown.bottom), shrunk);
    EXPECT_EQ(shrunk.TopLeft(), bar->GetMoveTracker()->GetSavedFloatingPoint());

    // Smaller than 50 x 50: the bar keeps its size.
    const CPoint corner(shrunk.right - 2, shrunk.bottom - 2);
    Drag(corner, {MoveTo(CPoint(shrunk.left + 40, shrunk.top + 40)), Release()});
    EXPECT_EQ(shrunk, ScreenRect(bar));
}

}  // namespace
