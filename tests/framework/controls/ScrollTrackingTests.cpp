// The scroll engine's press on a real, active window: arrow repeats under synthesized input from a second thread,
// the thumb drag with its snap back (and none on a fixed-thumb slider), Shift on a page area, a bar too short for a
// thumb, the mouse manager's lock, a quit message, a window destroyed meanwhile and the wait for the host's
// animation; then the scroll-bar window: the dragged position, WM_PRINTCLIENT and the hot part.
#include "ActiveWindow.h"
#include "tests/support/DcTestSurface.h"
#include "InputThread.h"
#include "ScrollEngineTestSupport.h"
#include "SyntheticInput.h"

#include "classlib/DC.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/controls/ScrollBarCtrl.h"

#include <gtest/gtest.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <functional>
#include <vector>

using foundation_test::DcTestSurface;
using scroll_test::FixedMetricsPainter;
using scroll_test::ThemedTestPaintManager;

namespace {

const UINT_PTR kTrackTestTimer = 8;

// One report of the engine, when it came, the repeat interval then and the mouse manager's lock count.
struct TrackReport
{
    int command;
    int pos;
    DWORD tick;
    UINT interval;
    int lockCount;
};

using osm::test::PlayInputWhilePumping;

bool PumpUntil(const std::function<bool()>& done)
{
    return osm::test::PumpMessagesUntil(done);
}

void SendButton(bool down)
{
    osm::test::SendMouseInput(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void SendShift(bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_SHIFT;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(INPUT));
}

// A shown, active top-level window at (100, 80) whose client area holds a vertical bar at (0, 0, 16, 200) over
// 0..99 with page 10 (arrows 16, thumb 17 at 16..33, travel 151): a press on the bar runs the engine.
class CTrackHost : public CWnd, public COSMScrollBase
{
public:
    explicit CTrackHost(int fixedThumb) : m_painter(&m_paintManager, fixedThumb) {}
    ~CTrackHost() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    BOOL CreateHost()
    {
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, cls, "track host", WS_POPUP | WS_VISIBLE, 100, 80, 200, 250, nullptr, nullptr))
            return FALSE;
        ::UpdateWindow(m_hWnd);
        RecalcScrollBar();
        return osm::test::ActivateWindow(m_hWnd);
    }
    CPoint ScreenPoint(int x, int y) const
    {
        CPoint point(x, y);
        ::ClientToScreen(m_hWnd, &point);
        return point;
    }
    int Count(int command) const
    {
        int count = 0;
        for (const TrackReport& report : reports)
            count += report.command == command;
        return count;
    }

    BOOL IsScrollBarEnabled() override { return TRUE; }
    CWnd* GetParentWindow() override { return this; }
    void GetScrollInfo(SCROLLINFO* out) override { *out = info; }
    void GetScrollBarRect(RECT* out) override { *out = rect; }
    void DoScroll(int command, int pos) override
    {
        reports.push_back(
            {command, pos, ::GetTickCount(), GetAutoRepeatInterval(), CreateMouseManager()->GetLockCount()});
        if (onReport)
            onReport(command);
    }
    void RedrawScrollBar() override { ++redraws; }
    void OnScrollAnimationTimer() override
    {
        if (++animationTicks >= 3)
        {
            SetScrollAnimating(FALSE);
            ::KillTimer(m_hWnd, kAnimationTimerId);
        }
    }
    COSMScrollBarPaintManager* GetScrollBarPaintManager() override { return &m_painter; }

    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 0, 0};
    RECT rect{0, 0, 16, 200};
    std::vector<TrackReport> reports;
    std::function<void(int command)> onReport;
    std::function<void()> onTestTimer;
    int redraws = 0;
    int animationTicks = 0;
    int presses = 0;
    int pressesReturned = 0;
    int animationTicksAtReturn = -1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == kTrackTestTimer)
        {
            ::KillTimer(m_hWnd, kTrackTestTimer);
            if (onTestTimer)
                onTestTimer();
            return 0;
        }
        if (message == WM_LBUTTONDOWN)
        {
            const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (HitTestScrollBar(point) > 0)
            {
                ++presses;
                RecalcScrollBar();
                PerformTrackInit(m_hWnd, point, &GetScrollBarGeometry(), (wParam & MK_SHIFT) != 0);
                ++pressesReturned;
                animationTicksAtReturn = animationTicks;
            }
            return 0;
        }
        if (message == WM_PAINT)
        {
            PAINTSTRUCT ps;
            ::BeginPaint(m_hWnd, &ps);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    ThemedTestPaintManager m_paintManager;
    FixedMetricsPainter m_painter;
};

class ScrollTrackingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::GetCursorPos(&cursorAtStart);
        doubleClick = ::GetDoubleClickTime();
        lockAtStart = CreateMouseManager()->GetLockCount();
    }
    void TearDown() override
    {
        osm::test::PumpPendingMessages();
        host.reset();
        ::SetCursorPos(cursorAtStart.x, cursorAtStart.y);
    }
    void MakeHost(int fixedThumb = 0)
    {
        host = std::make_unique<CTrackHost>(fixedThumb);
        ASSERT_TRUE(host->CreateHost());
    }
    // A press posted to the host at the client point.
    void PostPress(int x, int y)
    {
        ::PostMessageA(host->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        ::PostMessageA(host->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }

    std::unique_ptr<CTrackHost> host;
    POINT cursorAtStart{0, 0};
    UINT doubleClick = 500;
    int lockAtStart = 0;
};

}  // namespace

TEST_F(ScrollTrackingTest, AHeldArrowRepeatsAfterADelayOnlyWhileTheCursorIsOnIt)
{
    MakeHost();
    DWORD offTick = 0;
    DWORD backTick = 0;
    const CPoint arrow = host->ScreenPoint(8, 192);
    std::atomic<int> lineDowns{0};
    host->onReport = [&](int command) { lineDowns += command == SB_LINEDOWN; };
    PlayInputWhilePumping([&] {
        osm::test::SendMouseMoveTo(arrow);
        ::Sleep(50);
        SendButton(true);
        // The press and three repeats, then off the arrow and back.
        osm::test::WaitUntil([&] { return lineDowns >= 4; }, 5000);
        ::Sleep(20);
        offTick = ::GetTickCount();
        osm::test::SendMouseMoveTo(host->ScreenPoint(100, 100));
        ::Sleep(400);
        backTick = ::GetTickCount();
        const int beforeBack = lineDowns;
        osm::test::SendMouseMoveTo(arrow);
        osm::test::WaitUntil([&] { return lineDowns > beforeBack; }, 5000);
        SendButton(false);
        ::Sleep(100);
    });
    host->onReport = nullptr;
    const auto& reports = host->reports;
    ASSERT_GE(reports.size(), 5u);
    EXPECT_EQ(1, host->pressesReturned);
    // One scroll at the press, the next after four fifths of the double-click time, then every tenth of it.
    EXPECT_EQ(SB_LINEDOWN, reports[0].command);
    EXPECT_EQ(doubleClick * 4 / 5, reports[0].interval);
    EXPECT_EQ(SB_LINEDOWN, reports[1].command);
    EXPECT_GE(reports[1].tick - reports[0].tick, doubleClick * 4 / 5 - 20);
    int beforeOff = 0;
    int whileOff = 0;
    bool resumed = false;
    for (size_t i = 1; i + 1 < reports.size(); ++i)
    {
        const TrackReport& report = reports[i];
        EXPECT_EQ(SB_LINEDOWN, report.command);
        EXPECT_EQ(0, report.pos);
        EXPECT_EQ(doubleClick / 10, report.interval);
        // The loop holds the mouse manager's lock, so the release closes no tracked popup.
        EXPECT_EQ(lockAtStart + 1, report.lockCount);
        if (report.tick < offTick)
            ++beforeOff;
        else if (report.tick > offTick + 150 && report.tick < backTick)
            ++whileOff;
        // Back on the arrow it scrolls at once, not after the first delay again.
        else if (report.tick >= backTick && report.tick < backTick + doubleClick * 4 / 5)
            resumed = true;
    }
    EXPECT_GE(beforeOff, 3);
    EXPECT_EQ(0, whileOff) << "no repeats off the arrow";
    EXPECT_TRUE(resumed) << "a scroll as soon as the cursor is back";
    // The release ends with SB_ENDSCROLL, once.
    EXPECT_EQ(SB_ENDSCROLL, reports.back().command);
    EXPECT_EQ(1, host->Count(SB_ENDSCROLL));
    EXPECT_EQ(lockAtStart, CreateMouseManager()->GetLockCount());
    EXPECT_EQ(nullptr, host->GetScrollBarTrackInfo());
    EXPECT_EQ(nullptr, ::GetCapture());
    // Where the cursor is now: the hot part again.
    EXPECT_EQ(COSMScrollBase::kHitSecondArrow, host->GetScrollBarGeometry().hitPart);
}

TEST_F(ScrollTrackingTest, TheThumbFollowsTheCursorAndSnapsBackFarAway)
{
    MakeHost();
    int trackedNewPos = -1;
    host->onReport = [&](int command) {
        if (command == SB_THUMBTRACK && host->reports.back().pos == 18)
            trackedNewPos = host->GetScrollBarTrackInfo()->newPos;
    };
    PlayInputWhilePumping([&] {
        osm::test::SendMouseMoveTo(host->ScreenPoint(8, 24));
        ::Sleep(50);
        SendButton(true);
        ::Sleep(100);
        // 30 pixels down: thumb at 46, position 90 × 30 / 151.
        osm::test::SendMouseMoveTo(host->ScreenPoint(8, 54));
        ::Sleep(100);
        // Beyond eight bar widths beside the bar.
        osm::test::SendMouseMoveTo(host->ScreenPoint(8 + 16 * 8 + 40, 54));
        ::Sleep(100);
        SendButton(false);
        ::Sleep(100);
    });
    const auto& reports = host->reports;
    ASSERT_GE(reports.size(), 5u);
    EXPECT_EQ(SB_THUMBTRACK, reports[0].command);
    EXPECT_EQ(0, reports[0].pos);
    EXPECT_EQ(18, trackedNewPos) << "the track position follows the drag";
    // Snapped back: the start position once more, reported with SB_THUMBPOSITION on the release, then the end.
    const size_t n = reports.size();
    EXPECT_EQ(SB_THUMBTRACK, reports[n - 3].command);
    EXPECT_EQ(0, reports[n - 3].pos);
    EXPECT_EQ(SB_THUMBPOSITION, reports[n - 2].command);
    EXPECT_EQ(0, reports[n - 2].pos);
    EXPECT_EQ(SB_ENDSCROLL, reports[n - 1].command);
    EXPECT_EQ(16, host->GetScrollBarGeometry().thumbStart);
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(ScrollTrackingTest, AFixedThumbNeverSnapsBack)
{
    MakeHost(11);  // thumb 11 at 16..27, travel 157
    PlayInputWhilePumping([&] {
        osm::test::SendMouseMoveTo(host->ScreenPoint(8, 20));
        ::Sleep(50);
        SendButton(true);
        ::Sleep(100);
        osm::test::SendMouseMoveTo(host->ScreenPoint(8, 50));  // thumb at 46: 90 × 30 / 157
        ::Sleep(100);
        osm::test::SendMouseMoveTo(host->ScreenPoint(8 + 16 * 8 + 40, 50));
        ::Sleep(100);
        SendButton(false);
        ::Sleep(100);
    });
    const auto& reports = host->reports;
    ASSERT_GE(reports.size(), 4u);
    const size_t n = reports.size();
    EXPECT_EQ(SB_THUMBTRACK, reports[n - 3].command);
    EXPECT_EQ(17, reports[n - 3].pos);
    EXPECT_EQ(SB_THUMBPOSITION, reports[n - 2].command);
    EXPECT_EQ(17, reports[n - 2].pos);
    EXPECT_EQ(SB_ENDSCROLL, reports[n - 1].command);
    EXPECT_EQ(46, host->GetScrollBarGeometry().thumbStart);
}

TEST_F(ScrollTrackingTest, ShiftOnAPageAreaCentresTheThumbUnderTheCursor)
{
    MakeHost();
    PlayInputWhilePumping([&] {
        osm::test::SendMouseMoveTo(host->ScreenPoint(8, 120));
        ::Sleep(50);
        SendShift(true);
        SendButton(true);
        ::Sleep(100);
        SendButton(false);
        SendShift(false);
        ::Sleep(100);
    });
    const auto& reports = host->reports;
    ASSERT_EQ(4u, reports.size());
    // The thumb's centre at 120: its start at 112, position 90 × 96 / 151.
    EXPECT_EQ(SB_THUMBTRACK, reports[0].command);
    EXPECT_EQ(0, reports[0].pos);
    EXPECT_EQ(SB_THUMBTRACK, reports[1].command);
    EXPECT_EQ(57, reports[1].pos);
    EXPECT_EQ(SB_THUMBPOSITION, reports[2].command);
    EXPECT_EQ(57, reports[2].pos);
    EXPECT_EQ(SB_ENDSCROLL, reports[3].command);
    EXPECT_EQ(112, host->GetScrollBarGeometry().thumbStart);
    EXPECT_EQ(0, host->Count(SB_PAGEDOWN));
}

TEST_F(ScrollTrackingTest, ABarTooShortForAThumbIgnoresAPressOnIt)
{
    MakeHost();
    host->rect = RECT{0, 0, 16, 40};  // arrows 16: 8 pixels between them for a thumb of 8
    host->RecalcScrollBar();
    ASSERT_EQ(COSMScrollBase::kHitThumb, host->HitTestScrollBar(CPoint(8, 20)));
    PostPress(8, 20);
    ASSERT_TRUE(PumpUntil([&] { return host->pressesReturned == 1; }));
    EXPECT_TRUE(host->reports.empty());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nullptr, host->GetScrollBarTrackInfo());
    EXPECT_EQ(lockAtStart, CreateMouseManager()->GetLockCount());
}

TEST_F(ScrollTrackingTest, AQuitMessageEndsTheLoopAndStaysQueued)
{
    MakeHost();
    host->onReport = [](int command) {
        if (command == SB_LINEDOWN)
            ::PostQuitMessage(7);
    };
    PostPress(8, 192);
    MSG msg{};
    ASSERT_TRUE(osm::test::PumpUntilQuit(&msg));
    EXPECT_EQ(7, static_cast<int>(msg.wParam));
    EXPECT_EQ(1, host->pressesReturned);
    EXPECT_EQ(1, host->Count(SB_LINEDOWN));
    // The host still hears that the press is over, and nothing holds the capture.
    EXPECT_EQ(SB_ENDSCROLL, host->reports.back().command);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(lockAtStart, CreateMouseManager()->GetLockCount());
}

TEST_F(ScrollTrackingTest, DestroyingTheWindowEndsTheLoopQuietly)
{
    MakeHost();
    host->onReport = [&](int command) {
        if (command == SB_LINEDOWN)
            ::SetTimer(host->GetSafeHwnd(), kTrackTestTimer, 50, nullptr);
    };
    host->onTestTimer = [&] { host->DestroyWindow(); };
    PostPress(8, 192);
    ASSERT_TRUE(PumpUntil([&] { return host->pressesReturned == 1; }));
    EXPECT_EQ(nullptr, host->GetSafeHwnd());
    EXPECT_EQ(0, host->Count(SB_ENDSCROLL));
    EXPECT_EQ(nullptr, host->GetScrollBarTrackInfo());
    EXPECT_EQ(lockAtStart, CreateMouseManager()->GetLockCount());
}

TEST_F(ScrollTrackingTest, TheAnimationTimerIsServedUntilTheHostsFlagClears)
{
    MakeHost();
    host->onReport = [&](int command) {
        if (command == SB_ENDSCROLL)
        {
            host->SetScrollAnimating(TRUE);
            ::SetTimer(host->GetSafeHwnd(), COSMScrollBase::kAnimationTimerId, 20, nullptr);
        }
    };
    PostPress(8, 192);
    ::PostMessageA(host->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(8, 192));
    ASSERT_TRUE(PumpUntil([&] { return host->pressesReturned == 1; }));
    EXPECT_EQ(3, host->animationTicksAtReturn) << "the press returned only when the animation was over";
    EXPECT_FALSE(host->IsScrollAnimating());
    EXPECT_EQ(SB_ENDSCROLL, host->reports.back().command);
}

namespace {

// A top-level window holding a vertical COSMScrollBarCtrl at (0, 0, 17 or the system's width, 200) over 0..99
// with page 10; it records the scroll codes it hears, with the track position the bar reports meanwhile.
class CBarParent : public CWnd
{
public:
    struct Heard
    {
        int code;
        int pos;
        int trackPos;
        int platformPos;
    };

    BOOL CreateParent()
    {
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, cls, "bar parent", WS_POPUP | WS_VISIBLE, 100, 80, 200, 250, nullptr, nullptr))
            return FALSE;
        if (!bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, ::GetSystemMetrics(SM_CXVSCROLL), 200), this,
                        100))
            return FALSE;
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 0, 0};
        bar.SetScrollInfo(&info);
        ::UpdateWindow(m_hWnd);
        return osm::test::ActivateWindow(m_hWnd);
    }
    ~CBarParent() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    CPoint ScreenPoint(int x, int y) const
    {
        CPoint point(x, y);
        ::ClientToScreen(m_hWnd, &point);
        return point;
    }

    COSMScrollBarCtrl bar;
    std::vector<Heard> heard;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL && reinterpret_cast<HWND>(lParam) == bar.GetSafeHwnd())
        {
            SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS | SIF_POS};
            ::GetScrollInfo(bar.GetSafeHwnd(), SB_CTL, &info);
            heard.push_back({LOWORD(wParam), static_cast<short>(HIWORD(wParam)), info.nTrackPos, info.nPos});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ScrollBarCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::GetCursorPos(&cursorAtStart);
        COSMPaintManager::FreeGlobalPaintManager();
        COSMPaintManager::RegisterThemeCreator(0, &COSMTestPaintManager::Create);
        COSMPaintManager::SetTheme(0);
        ASSERT_TRUE(parent.CreateParent());
    }
    void TearDown() override
    {
        osm::test::PumpPendingMessages();
        if (parent.GetSafeHwnd())
            parent.DestroyWindow();
        COSMPaintManager::FreeGlobalPaintManager();
        COSMPaintManager::RegisterThemeCreator(0, nullptr);
        ::SetCursorPos(cursorAtStart.x, cursorAtStart.y);
    }

    CBarParent parent;
    POINT cursorAtStart{0, 0};
};

}  // namespace

TEST_F(ScrollBarCtrlTest, TheTrackPositionFollowsTheDraggedThumb)
{
    const ScrollBarGeometry& g = parent.bar.GetScrollBarGeometry();
    ASSERT_TRUE(g.vertical);
    ASSERT_GT(g.thumbEnd, g.thumbStart);
    const int x = (g.pxLeft + g.pxRight) / 2;
    const int thumbMiddle = (g.thumbStart + g.thumbEnd) / 2;
    PlayInputWhilePumping([&] {
        osm::test::SendMouseMoveTo(parent.ScreenPoint(x, thumbMiddle));
        ::Sleep(50);
        SendButton(true);
        ::Sleep(100);
        osm::test::SendMouseMoveTo(parent.ScreenPoint(x, thumbMiddle + 40));
        ::Sleep(100);
        SendButton(false);
        ::Sleep(100);
    });
    const auto& heard = parent.heard;
    ASSERT_GE(heard.size(), 4u);
    int dragged = 0;
    for (const auto& h : heard)
    {
        if (h.code != SB_THUMBTRACK)
            continue;
        EXPECT_EQ(h.pos, h.trackPos) << "SIF_TRACKPOS gives the dragged position";
        EXPECT_EQ(0, h.platformPos) << "the position stays the parent's to set";
        dragged = std::max(dragged, h.pos);
    }
    EXPECT_GT(dragged, 10);
    EXPECT_EQ(SB_THUMBPOSITION, heard[heard.size() - 2].code);
    EXPECT_EQ(dragged, heard[heard.size() - 2].pos);
    EXPECT_EQ(SB_ENDSCROLL, heard.back().code);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_NE(parent.bar.GetSafeHwnd(), ::GetFocus()) << "the bar never takes the focus";
}

TEST_F(ScrollBarCtrlTest, PrintClientDrawsTheBarAndAnswersOne)
{
    const ScrollBarGeometry& g = parent.bar.GetScrollBarGeometry();
    const COLORREF background = RGB(255, 0, 255);
    DcTestSurface surface(g.pxRight, 200, background);
    EXPECT_EQ(1, ::SendMessageA(parent.bar.GetSafeHwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.GetDC()),
                                PRF_CLIENT));
    EXPECT_EQ(0, surface.Width() * surface.Height() - surface.CountNot(background)) << "every pixel drawn";
    // The default theme's flat look: arrows framed in highlight and shadow, the thumb in the face colour.
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), surface.Pixel(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), surface.Pixel(g.pxRight - 1, g.upArrowEnd - 1));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), surface.Pixel(g.pxRight / 2, (g.thumbStart + g.thumbEnd) / 2));
}

TEST_F(ScrollBarCtrlTest, LeavingTheBarClearsTheHotPart)
{
    const ScrollBarGeometry& g = parent.bar.GetScrollBarGeometry();
    const int x = (g.pxLeft + g.pxRight) / 2;
    osm::test::SendMouseMoveTo(parent.ScreenPoint(x, g.pxBottom - 4));
    EXPECT_TRUE(PumpUntil([&] { return g.hitPart == COSMScrollBase::kHitSecondArrow; }));
    osm::test::SendMouseMoveTo(parent.ScreenPoint(120, 100));
    EXPECT_TRUE(PumpUntil([&] { return g.hitPart == COSMScrollBase::kHitNone; }));
}
