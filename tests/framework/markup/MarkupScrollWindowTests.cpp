// The scroll bar's tracking loop on a real, active host window: the arrow's repeat under synthesized input from a
// second thread, the thumb drag and its snap back, Shift on a page area, a quit message during the loop, the
// pressed look drawn while the loop runs, and handlers the loop dispatches that destroy the window or drop the bar.
#include "ActiveWindow.h"
#include "tests/support/DcTestSurface.h"
#include "InputThread.h"
#include "MarkupTestSupport.h"
#include "ScrollTestSupport.h"
#include "SyntheticInput.h"

#include "classlib/Geometry.h"
#include "classlib/Wnd.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::ContentOf;
using markup_test::CProbe;
using markup_test::DrawnPart;
using markup_test::LayOut;
using markup_test::MarkupTest;
using markup_test::PartRecorder;

namespace {

// One code a bar reported, when, and the offset it left.
struct Report
{
    int code;
    int position;
    DWORD tick;
    int offset;
};

// A viewer that records what its bars report.
class CRecordingViewer : public COSMMarkupScrollViewer
{
    DECLARE_MARKUP_TYPE(CRecordingViewer)

public:
    void Scroll(BOOL vertical, int code, int position) override
    {
        COSMMarkupScrollViewer::Scroll(vertical, code, position);
        reports.push_back({code, position, ::GetTickCount(), GetOffset(vertical)});
        if (onReport)
            onReport(code);
    }
    int Count(int code) const
    {
        int count = 0;
        for (const Report& report : reports)
            count += report.code == code;
        return count;
    }

    std::vector<Report> reports;
    std::function<void(int code)> onReport;
};

IMPLEMENT_MARKUP_TYPE(CRecordingViewer, COSMMarkupScrollViewer, nullptr, nullptr)

// Timers of the tests' own, beside the bar's 63345.
const UINT_PTR kTestTimer = 8;

// A shown, active top-level window at (100, 80) whose client area shows a markup root: its messages go to the
// context; a test timer runs the test's action.
class CScrollHost : public CWnd
{
public:
    BOOL CreateHost()
    {
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, cls, "scroll host", WS_POPUP | WS_VISIBLE, 100, 80, 200, 150, nullptr, nullptr))
            return FALSE;
        ::UpdateWindow(m_hWnd);
        return osm::test::ActivateWindow(m_hWnd);
    }
    ~CScrollHost() override
    {
        if (m_hWnd)
            DestroyWindow();
        ReleaseRoot();
    }
    void ReleaseRoot()
    {
        if (root)
        {
            COSMMarkupUIElement* old = root;
            root = nullptr;
            old->Release();
        }
    }
    CPoint ScreenPoint(int x, int y) const
    {
        CPoint point(x, y);
        ::ClientToScreen(m_hWnd, &point);
        return point;
    }

    COSMMarkupContext* context = nullptr;
    COSMMarkupUIElement* root = nullptr;  // one reference, released with the window
    std::function<void()> onTestTimer;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = 0;
        if (message == WM_TIMER && wParam == kTestTimer)
        {
            if (onTestTimer)
                onTestTimer();
            return 0;
        }
        if (message == WM_DESTROY)
            ReleaseRoot();
        if (root && context && context->OnWndMsg(root, message, wParam, lParam, &result))
            return result;
        if (message == WM_PAINT)
        {
            PAINTSTRUCT ps;
            ::BeginPaint(m_hWnd, &ps);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ScrollWindowTest : public MarkupTest
{
protected:
    void SetUp() override
    {
        MarkupTest::SetUp();
        ::GetCursorPos(&cursorAtStart);
        ASSERT_TRUE(host.CreateHost());
        host.context = context = CreateMarkupContext(host.GetSafeHwnd());
        // A 100 × 100 viewer at the client's corner with a vertical bar of the system's width at its right edge,
        // over content 1000 high.
        barWidth = ::GetSystemMetrics(SM_CXVSCROLL);
        arrow = ::GetSystemMetrics(SM_CYVSCROLL);
        barLeft = 100 - barWidth;
        barMiddle = barLeft + barWidth / 2;
        downArrowY = 100 - arrow / 2;
        viewer = static_cast<CRecordingViewer*>(context->CreateObject(CRecordingViewer::GetClassType()));
        CProbe* probe = static_cast<CProbe*>(context->CreateObject(CProbe::GetClassType()));
        probe->contentSize = CSize(barLeft, 1000);
        viewer->SetContent(probe);
        LayOut(viewer, CSize(100, 100));
        host.root = viewer;
        bar = viewer->GetScrollBar(TRUE);
        ASSERT_NE(nullptr, bar);
        doubleClick = ::GetDoubleClickTime();
    }
    void TearDown() override
    {
        osm::test::PumpPendingMessages();
        if (host.GetSafeHwnd())
            host.DestroyWindow();
        host.ReleaseRoot();
        host.context = nullptr;
        ReleaseMarkupContext(&context);
        // Other programs' windows later on the display should not find the cursor where these tests left it.
        ::SetCursorPos(cursorAtStart.x, cursorAtStart.y);
        MarkupTest::TearDown();
    }

    void PlayInput(const std::function<void()>& input) { osm::test::PlayInputWhilePumping(input); }
    // A press posted to the host at the client point, as the button-down reaches the window.
    void PostPress(int x, int y)
    {
        ::PostMessageA(host.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        ::PostMessageA(host.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
    bool PumpUntil(const std::function<bool()>& done) { return osm::test::PumpMessagesUntil(done); }

    CScrollHost host;
    COSMMarkupContext* context = nullptr;
    CRecordingViewer* viewer = nullptr;  // held by the host
    COSMMarkupScrollBar* bar = nullptr;
    UINT doubleClick = 500;
    POINT cursorAtStart{0, 0};
    // The bar's geometry from the system's metrics: its width, the arrows' length, its left edge and middle in the
    // client, and the middle of the down arrow.
    int barWidth = 0;
    int arrow = 0;
    int barLeft = 0;
    int barMiddle = 0;
    int downArrowY = 0;
};

void Press(bool down)
{
    osm::test::SendMouseInput(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

}  // namespace

TEST_F(ScrollWindowTest, TheDownArrowRepeatsAfterADelayOnlyWhileTheMouseIsOnIt)
{
    DWORD offTick = 0;
    DWORD backTick = 0;
    const CPoint arrow = host.ScreenPoint(barMiddle, downArrowY);
    std::atomic<int> lineDowns{0};
    viewer->onReport = [&](int code) { lineDowns += code == SB_LINEDOWN; };
    PlayInput([&] {
        osm::test::SendMouseMoveTo(arrow);
        ::Sleep(50);
        Press(true);
        // The press and three repeats, then off the arrow and back.
        osm::test::WaitUntil([&] { return lineDowns >= 4; }, 5000);
        ::Sleep(20);
        offTick = ::GetTickCount();
        osm::test::SendMouseMoveTo(host.ScreenPoint(40, 50));
        ::Sleep(400);
        backTick = ::GetTickCount();
        const int beforeBack = lineDowns;
        osm::test::SendMouseMoveTo(arrow);
        osm::test::WaitUntil([&] { return lineDowns > beforeBack; }, 5000);
        Press(false);
        ::Sleep(100);
    });
    viewer->onReport = nullptr;
    const auto& reports = viewer->reports;
    ASSERT_GE(reports.size(), 4u);
    EXPECT_EQ(SB_LINEDOWN, reports[0].code);
    EXPECT_EQ(16, reports[0].offset) << "16 pixels at once";
    EXPECT_GE(reports[1].tick - reports[0].tick, doubleClick * 4 / 5 - 30)
        << "no repeat before 4/5 of the double-click time";
    int repeatsBeforeOff = 0;
    int whileOff = 0;
    bool resumed = false;
    int lastOffset = 0;
    for (const Report& report : reports)
    {
        if (report.code != SB_LINEDOWN)
            continue;
        EXPECT_EQ(lastOffset + 16, report.offset);
        lastOffset = report.offset;
        if (report.tick < offTick)
            ++repeatsBeforeOff;
        // The moves reach the loop a little after the input thread made them.
        else if (report.tick > offTick + 150 && report.tick < backTick)
            ++whileOff;
        // Back on the arrow it scrolls at once, not after the first delay again.
        else if (report.tick >= backTick && report.tick < backTick + doubleClick * 4 / 5)
            resumed = true;
    }
    EXPECT_GE(repeatsBeforeOff, 3) << "then it repeats every tenth of the double-click time";
    EXPECT_EQ(0, whileOff) << "none off the arrow";
    EXPECT_TRUE(resumed) << "a report as soon as the mouse comes back";
    EXPECT_EQ(1, viewer->Count(SB_ENDSCROLL));
    EXPECT_EQ(SB_ENDSCROLL, reports.back().code);
    EXPECT_FALSE(bar->IsTracking());
    EXPECT_EQ(nullptr, context->GetCaptureElement());
}

TEST_F(ScrollWindowTest, TheThumbFollowsTheMouseSnapsBackFarAwayAndReportsItsPositionOnRelease)
{
    const auto& r = bar->GetPositionRecord();
    const int thumbMiddle = (r.thumbStart + r.thumbEnd) / 2;
    int trackedBeforeAway = -1;
    int trackedAway = -1;
    PlayInput([&] {
        osm::test::SendMouseMoveTo(host.ScreenPoint(barMiddle, thumbMiddle));
        ::Sleep(50);
        Press(true);
        ::Sleep(80);
        osm::test::SendMouseMoveTo(host.ScreenPoint(barMiddle, thumbMiddle + 20));
        ::Sleep(120);
        trackedBeforeAway = viewer->GetOffset(TRUE);
        // Far beside the bar: more than eight bar widths away.
        osm::test::SendMouseMoveTo(host.ScreenPoint(barMiddle + barWidth * 8 + 40, thumbMiddle + 20));
        ::Sleep(120);
        trackedAway = viewer->GetOffset(TRUE);
        osm::test::SendMouseMoveTo(host.ScreenPoint(barMiddle, thumbMiddle + 30));
        ::Sleep(120);
        Press(false);
        ::Sleep(100);
    });
    const auto& reports = viewer->reports;
    ASSERT_GE(reports.size(), 4u);
    EXPECT_EQ(SB_THUMBTRACK, reports[0].code);
    EXPECT_EQ(0, reports[0].position) << "tracking starts at the scroll position";
    EXPECT_EQ(bar->PosFromPixel(r.trackMinimum + 20), trackedBeforeAway);
    EXPECT_EQ(0, trackedAway) << "far away the thumb goes back to where the drag started";
    const int final = bar->PosFromPixel(r.trackMinimum + 30);
    EXPECT_GT(final, 0);
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(SB_THUMBPOSITION, reports[reports.size() - 2].code);
    EXPECT_EQ(final, reports[reports.size() - 2].position);
    EXPECT_EQ(SB_ENDSCROLL, reports.back().code);
    EXPECT_EQ(final, viewer->GetOffset(TRUE));
    EXPECT_EQ(1, viewer->Count(SB_ENDSCROLL));
}

TEST_F(ScrollWindowTest, ShiftOnAPageAreaCentresTheThumbUnderTheMouse)
{
    const auto& r = bar->GetPositionRecord();
    const int y = (r.thumbEnd + r.secondArrowStart) / 2;  // the lower page area
    const int expected = bar->PosFromPixel(y - r.thumbLength / 2);
    PlayInput([&] {
        osm::test::SendMouseMoveTo(host.ScreenPoint(barMiddle, y));
        ::Sleep(50);
        INPUT shift{};
        shift.type = INPUT_KEYBOARD;
        shift.ki.wVk = VK_SHIFT;
        ::SendInput(1, &shift, sizeof(shift));
        ::Sleep(30);
        Press(true);
        ::Sleep(100);
        Press(false);
        shift.ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(1, &shift, sizeof(shift));
        ::Sleep(100);
    });
    const auto& reports = viewer->reports;
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(SB_THUMBTRACK, reports[0].code);
    EXPECT_EQ(SB_THUMBTRACK, reports[1].code);
    EXPECT_EQ(expected, reports[1].position);
    EXPECT_EQ(0, viewer->Count(SB_PAGEDOWN));
    EXPECT_EQ(SB_ENDSCROLL, reports.back().code);
}

TEST_F(ScrollWindowTest, AQuitMessageEndsTheLoopAndStaysQueued)
{
    viewer->onReport = [](int code) {
        if (code == SB_LINEDOWN)
            ::PostQuitMessage(7);
    };
    PostPress(barMiddle, downArrowY);
    MSG msg{};
    ASSERT_TRUE(osm::test::PumpUntilQuit(&msg));
    EXPECT_EQ(7, static_cast<int>(msg.wParam));
    EXPECT_EQ(1, viewer->Count(SB_LINEDOWN));
    EXPECT_FALSE(bar->IsTracking());
    EXPECT_EQ(nullptr, context->GetCaptureElement()) << "the bar keeps no capture after its loop";
}

TEST_F(ScrollWindowTest, APressedThumbIsDrawnPressedWhileTheLoopRuns)
{
    PartRecorder recorder(true);
    const auto& r = bar->GetPositionRecord();
    const int thumbMiddle = (r.thumbStart + r.thumbEnd) / 2;
    std::vector<DrawnPart> whilePressed;
    // Drawn from inside the loop, once tracking has begun.
    viewer->onReport = [&](int) { ::SetTimer(host.GetSafeHwnd(), kTestTimer, 20, nullptr); };
    host.onTestTimer = [&] {
        ::KillTimer(host.GetSafeHwnd(), kTestTimer);
        if (!whilePressed.empty())
            return;
        DcTestSurface surface(100, 100);
        COSMMarkupDrawingContext dc(surface.GetDC());
        recorder.themeParts.clear();
        bar->Render(&dc);
        whilePressed = recorder.themeParts;
    };
    PlayInput([&] {
        osm::test::SendMouseMoveTo(host.ScreenPoint(barMiddle, thumbMiddle));
        ::Sleep(50);
        Press(true);
        ::Sleep(200);
        Press(false);
        ::Sleep(100);
    });
    EXPECT_EQ(1, viewer->Count(SB_ENDSCROLL));
    ASSERT_LE(r.thumbLength, 13) << "the parts below have no grip on the thumb";
    const std::vector<DrawnPart> expected = {
        {1, 1, CRect(0, 0, barWidth, arrow)},
        {7, 1, CRect(0, r.thumbEnd, barWidth, 100 - arrow)},
        {1, 5, CRect(0, 100 - arrow, barWidth, 100)},
        {3, 3, CRect(0, r.thumbStart, barWidth, r.thumbEnd)},
    };
    EXPECT_EQ(expected, whilePressed) << "arrows and page area normal, the thumb pressed (too short for its grip)";
}

TEST_F(ScrollWindowTest, AClassicPressedPageAreaIsInverted)
{
    PartRecorder recorder(false);
    const int y = (bar->GetPositionRecord().thumbEnd + bar->GetPositionRecord().secondArrowStart) / 2;
    COLORREF pressed = 0;
    COLORREF above = 0;
    bool drawn = false;
    viewer->onReport = [&](int) { ::SetTimer(host.GetSafeHwnd(), kTestTimer, 20, nullptr); };
    host.onTestTimer = [&] {
        ::KillTimer(host.GetSafeHwnd(), kTestTimer);
        if (drawn || !bar->IsTracking())
            return;
        drawn = true;
        // The bar draws at its offset in the viewer.
        DcTestSurface surface(100, 100, RGB(1, 2, 3));
        COSMMarkupDrawingContext dc(surface.GetDC());
        bar->Render(&dc);
        pressed = surface.Pixel(barMiddle, y);
        above = surface.Pixel(barMiddle, bar->GetPositionRecord().thumbStart - 1);
    };
    PlayInput([&] {
        osm::test::SendMouseMoveTo(host.ScreenPoint(barMiddle, y));
        ::Sleep(50);
        Press(true);
        ::Sleep(200);
        Press(false);
        ::Sleep(100);
    });
    ASSERT_TRUE(drawn);
    EXPECT_EQ(1, viewer->Count(SB_PAGEDOWN));
    EXPECT_EQ(1, viewer->Count(SB_ENDSCROLL));
    const COLORREF track = ::GetSysColor(COLOR_SCROLLBAR);
    EXPECT_EQ(track ^ 0xFFFFFF, pressed);
    EXPECT_EQ(track, above) << "the upper page area is not pressed";
}

// In both tests below the tree is held by nothing but the host (and the viewer holds the bar), and the loop is
// started directly, with no dispatch holding the elements on its route: only the loop's own reference keeps the bar.
TEST_F(ScrollWindowTest, ATimerThatDestroysTheHostWindowEndsTheLoop)
{
    host.onTestTimer = [&] {
        ::KillTimer(host.GetSafeHwnd(), kTestTimer);
        host.DestroyWindow();
    };
    ::SetTimer(host.GetSafeHwnd(), kTestTimer, 20, nullptr);
    bar->TrackScrollBar(CPoint(barWidth / 2, downArrowY), FALSE);
    bar = nullptr;  // gone with the tree
    EXPECT_EQ(nullptr, host.GetSafeHwnd());
    EXPECT_EQ(nullptr, host.root) << "the window released the tree as it went";
    EXPECT_EQ(nullptr, context->GetCaptureElement());
}

TEST_F(ScrollWindowTest, ATimerThatDropsTheBarEndsTheLoop)
{
    bool dropped = false;
    host.onTestTimer = [&] {
        ::KillTimer(host.GetSafeHwnd(), kTestTimer);
        ContentOf(viewer)->contentSize = CSize(50, 50);
        viewer->SetValue(COSMMarkupScrollViewer::s_pVerticalScrollBarVisibilityProperty,
                         COSMMarkupEnum::CreateValue(COSMMarkupScrollViewer::Auto));
        dropped = viewer->GetScrollBar(TRUE) == nullptr;
    };
    ::SetTimer(host.GetSafeHwnd(), kTestTimer, 20, nullptr);
    const LONG live = COSMMarkupObject::GetLiveObjectCount();
    bar->TrackScrollBar(CPoint(barWidth / 2, downArrowY), FALSE);
    bar = nullptr;  // released when the loop let it go
    EXPECT_TRUE(dropped);
    EXPECT_EQ(live - 1, COSMMarkupObject::GetLiveObjectCount()) << "the dropped bar is freed after its loop";
    EXPECT_EQ(nullptr, context->GetCaptureElement());
    EXPECT_EQ(1, viewer->Count(SB_LINEDOWN)) << "the dropped bar reports nothing more";
    EXPECT_EQ(0, viewer->Count(SB_ENDSCROLL));
    EXPECT_EQ(0, viewer->GetOffset(TRUE));
}
