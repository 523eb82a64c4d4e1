// Tips under the real pointer on an active frame: the framework tip window's timing with its clock in the test's
// hands (timer 1 posted by the test), and a toolbar button's tip from hover to press.
#include "InputTestSupport.h"

#include "framework/controls/ToolTipContextToolTip.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/foundation/WindowFunctions.h"

using namespace commandbars_test;

namespace {

DWORD g_testTick = 100000;
DWORD TestTick()
{
    return g_testTick;
}

class ToolTipInputTest : public TrackingSiteTest
{
protected:
    BOOL CreateSiteFrame() override { return frame.CreateActiveTestFrame("tooltip input test"); }
    void TearDown() override
    {
        COSMToolTipContextToolTip::SetTickFunction(nullptr);
        MoveMouseTo(CPoint(1200, 1000));
        TrackingSiteTest::TearDown();
    }
};

TEST_F(ToolTipInputTest, TheTipWindowTimesShowingAndHidingByItsClockAndTimer)
{
    ASSERT_TRUE(RegisterWindowClass(nullptr, "OsmTestToolSite", 0));
    CWnd site;
    ASSERT_TRUE(
        site.CreateEx(0, "OsmTestToolSite", "", WS_CHILD | WS_VISIBLE, 10, 60, 300, 40, frame.GetSafeHwnd(), nullptr));
    RefPtr<COSMToolTipContext> context = AdoptRef(new COSMToolTipContext);
    COSMToolTipContextToolTip tip(context.Get());
    ASSERT_TRUE(tip.Create(&frame, 3));
    COSMToolTipContextToolTip::SetTickFunction(&TestTick);
    const struct
    {
        UINT_PTR id;
        CRect rect;
        const char* text;
    } tools[] = {
        {1, CRect(0, 0, 50, 40), "First"}, {2, CRect(100, 0, 150, 40), "Second"}, {3, CRect(200, 0, 250, 40), ""}};
    for (const auto& tool : tools)
    {
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V1_SIZE;
        info.hwnd = site.GetSafeHwnd();
        info.uId = tool.id;
        info.rect = tool.rect;
        info.lpszText = const_cast<LPSTR>(tool.text);
        tip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
    tip.SendMessage(TTM_ACTIVATE, TRUE);
    auto relay = [&](UINT message) {
        MSG msg{};
        msg.hwnd = site.GetSafeHwnd();
        msg.message = message;
        ::GetCursorPos(&msg.pt);
        tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    };
    auto over = [&](int index) { MoveMouseTo(ScreenPoint(site, tools[index].rect.CenterPoint())); };
    auto fireTimer = [&] {
        tip.PostMessage(WM_TIMER, COSMToolTipContextToolTip::kShowTimerId);
        PumpFor(20);
    };

    over(0);
    relay(WM_MOUSEMOVE);
    EXPECT_EQ(1u, tip.GetPendingTool().uId);
    g_testTick += 300;
    relay(WM_MOUSEMOVE);  // within the delay: the same pending tool, no new start
    EXPECT_EQ(1u, tip.GetPendingTool().uId);
    EXPECT_FALSE(tip.IsWindowVisible());
    fireTimer();
    ASSERT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(1u, tip.GetShownTool().uId);
    // No auto-pop: much later it still shows.
    g_testTick += 60000;
    relay(WM_MOUSEMOVE);
    EXPECT_TRUE(tip.IsWindowVisible());

    // Off every tool: hidden; onto another within 200 ms: shown at once.
    MoveMouseTo(ScreenPoint(site, CPoint(75, 20)));
    relay(WM_MOUSEMOVE);
    EXPECT_FALSE(tip.IsWindowVisible());
    g_testTick += 150;
    over(1);
    relay(WM_MOUSEMOVE);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(2u, tip.GetShownTool().uId);
    // The tip sits under the cursor, on the screen.
    CRect tipRect;
    tip.GetWindowRect(&tipRect);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, tipRect.left);
    EXPECT_GT(tipRect.top, cursor.y);

    // A click hides it, and it stays away over the same tool, until another tool has been under the pointer.
    relay(WM_LBUTTONDOWN);
    EXPECT_FALSE(tip.IsWindowVisible());
    g_testTick += 1000;
    relay(WM_MOUSEMOVE);
    fireTimer();
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_TRUE(tip.GetPendingTool().IsEmpty());
    over(0);
    relay(WM_MOUSEMOVE);
    fireTimer();
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(1u, tip.GetShownTool().uId);

    // An empty text never shows.
    MoveMouseTo(ScreenPoint(site, CPoint(75, 20)));
    relay(WM_MOUSEMOVE);
    g_testTick += 1000;
    over(2);
    relay(WM_MOUSEMOVE);
    fireTimer();
    EXPECT_FALSE(tip.IsWindowVisible());

    // A tool whose window died is passed over.
    site.DestroyWindow();
    EXPECT_EQ(nullptr, tip.HitTestTool());
    tip.DestroyWindow();
}

TEST_F(ToolTipInputTest, HoveringAToolbarButtonShowsAFrameworkTipThatPressingHides)
{
    TrackingBar bar;
    MakeBarWindow(bar, 1, 0, CRect(0, 0, 300, 30));
    bar.AddButtons({57601, 57603});
    bar.GetControl(0)->SetTooltip("Open");
    bar.GetControl(1)->SetTooltip("Save");
    COSMToolTipContext* context = commandBars->GetToolTipContext();
    context->SetStyle(COSMToolTipContext::kStyleFramework);

    MoveMouseTo(ControlCentre(bar, 1) + CPoint(1, 0));
    MoveMouseTo(ControlCentre(bar, 1));
    auto* tip = dynamic_cast<COSMToolTipContextToolTip*>(context->GetToolTipWindow());
    ASSERT_NE(nullptr, tip);
    EXPECT_FALSE(tip->IsWindowVisible());
    ASSERT_TRUE(PumpUntil([&] { return tip->IsWindowVisible() != FALSE; }, 3000));
    EXPECT_EQ(57603u, tip->GetShownTool().uId);
    CRect tipRect;
    tip->GetWindowRect(&tipRect);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, tipRect.left);
    EXPECT_GT(tipRect.top, cursor.y);

    // The press holds the button in the bar's own loop; the release comes from a timer inside it.
    BOOL visibleWhileHeld = TRUE;
    Scheduled::After(frame.GetSafeHwnd(), 80, [&] {
        visibleWhileHeld = tip->IsWindowVisible();
        SendMouseInput(MOUSEEVENTF_LEFTUP);
    });
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpFor(300);
    EXPECT_FALSE(visibleWhileHeld);
    EXPECT_FALSE(tip->IsWindowVisible());
}

}  // namespace
