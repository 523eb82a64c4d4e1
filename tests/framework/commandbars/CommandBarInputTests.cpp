// Bars, controls and the thread's managers under synthesized input (SendInput) on an active frame: keys through
// the keyboard manager's hook, a lone Alt, held buttons with their capture loop and auto-repeat, clicks inside and
// outside tracked popups, safe and input-method windows, and the mouse leaving a bar. A program of its own that
// runs alone: it needs the foreground window, the mouse capture and the cursor.
#include "InputTestSupport.h"

#include <algorithm>

using namespace commandbars_test;

namespace {

class InputTest : public TrackingSiteTest
{
protected:
    BOOL CreateSiteFrame() override { return frame.CreateActiveTestFrame("command bars input test"); }
    void SetUp() override
    {
        TrackingSiteTest::SetUp();
        frame.SetFocus();
    }
    void TearDown() override
    {
        CreateMouseManager()->SendTrackLost();
        MoveMouseTo(CPoint(1200, 1000));
        TrackingSiteTest::TearDown();
    }

    void MakeBar(TrackingBar& bar, int type, int position, const CRect& rect)
    {
        MakeBarWindow(bar, type, position, rect);
    }
};

TEST_F(InputTest, KeysReachTheTrackingBarThroughTheKeyboardHook)
{
    struct Case
    {
        int position;
        DWORD exStyle;
        WORD key;
        int selected;
    };
    // Three controls, the middle one selected.
    const Case cases[] = {
        {2, 0, VK_DOWN, 2},
        {2, 0, VK_UP, 0},
        {2, 0, VK_END, 2},
        {2, 0, VK_HOME, 0},
        {0, 0, VK_RIGHT, 2},
        {0, 0, VK_LEFT, 0},
        {0, WS_EX_LAYOUTRTL, VK_LEFT, 2},
        {0, WS_EX_LAYOUTRTL, VK_RIGHT, 0},
    };
    for (const Case& c : cases)
    {
        TrackingBar bar;
        bar.SetCommandBars(commandBars.Get());
        bar.SetPositionField(c.position);
        ASSERT_TRUE(bar.CreatePopup(&frame, CRect(150, 200, 300, 280), c.exStyle));
        bar.AddButtons({1, 2, 3}, CSize(40, 20), c.position == 2);
        ASSERT_TRUE(ActivateTestWindow(frame.GetSafeHwnd()));
        ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
        ASSERT_TRUE(bar.SetSelected(1, COSMCommandBar::kSelectForward));
        SendKey(c.key);
        EXPECT_EQ(c.selected, bar.GetSelectedIndex()) << c.position << " " << c.exStyle << " key " << c.key;
        bar.StopTracking();
    }
}

TEST_F(InputTest, KeysTheBarDoesNotTakeAreEatenUnlessForAWindowInTheBar)
{
    BeepRecorder beeps;
    CWnd outside;
    ASSERT_TRUE(outside.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 200, 120, 24,
                                 frame.GetSafeHwnd(), nullptr));
    TrackingBar bar;
    MakeBar(bar, 1, 0, CRect(0, 0, 300, 30));
    bar.AddButtons({1, 2});
    CWnd inside;
    ASSERT_TRUE(inside.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 150, 2, 100, 24, bar.GetSafeHwnd(), nullptr));

    outside.SetFocus();
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    SendKey('Q');
    CString text;
    outside.GetWindowText(text);
    EXPECT_EQ(CString(""), text);
    EXPECT_EQ(1, BeepRecorder::count);

    // The focus in a window of the bar: the key goes on to it.
    inside.SetFocus();
    SendKey('Q');
    inside.GetWindowText(text);
    EXPECT_EQ(CString("q"), text);
    EXPECT_EQ(1, BeepRecorder::count);
    bar.StopTracking();

    // Not tracking: keys go where they always go.
    outside.SetFocus();
    SendKey('Q');
    outside.GetWindowText(text);
    EXPECT_EQ(CString("q"), text);
}

TEST_F(InputTest, ALoneAltClosesTheTrackedBarsAndIsEaten)
{
    // Without tracking bars Alt reaches the frame, whose default handling opens its menu on the release.
    SendKey(VK_MENU);
    ASSERT_EQ(1, frame.CountTracking(WM_SYSCOMMAND));
    EXPECT_EQ(static_cast<WPARAM>(SC_KEYMENU), frame.tracking[0].wParam & 0xFFF0);
    frame.tracking.clear();

    TrackingBar bar;
    MakeBar(bar, 2, 5, CRect(0, 0, 100, 60));
    bar.AddButtons({1, 2}, CSize(40, 20), TRUE);
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    SendKey(VK_MENU, true, false);
    EXPECT_EQ(0, bar.GetTrackingMode());
    // The key was eaten: the release opens no menu.
    SendKey(VK_MENU, false, true);
    EXPECT_EQ(0, frame.CountTracking(WM_SYSCOMMAND));

    // Holding it down (a repeat) passes on and closes nothing.
    SendKey(VK_MENU, true, false);
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    SendKey(VK_MENU, true, false);
    EXPECT_EQ(1, bar.GetTrackingMode());
    SendKey(VK_MENU, false, true);
    bar.StopTracking();
    frame.tracking.clear();

    // While the mouse manager is locked, Alt goes to the bar like any other key.
    COSMMouseManager* mouse = CreateMouseManager();
    mouse->Lock();
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    SendKey(VK_MENU);
    EXPECT_EQ(1, bar.GetTrackingMode());
    mouse->Unlock();
    bar.StopTracking();
}

class HoldTest : public InputTest
{
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        MakeBar(bar, 1, 0, CRect(0, 0, 300, 30));
        bar.AddButtons({71, 72, 73});
        button = bar.GetControl(1);
        frame.OnMessage = [this](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_COMMAND)
                commandTimes.push_back(::GetTickCount());
            return std::nullopt;
        };
    }
    void TearDown() override
    {
        frame.OnMessage = nullptr;
        InputTest::TearDown();
    }
    // Presses the left button over the middle button; the press loop runs inside the pump.
    void PressOverButton()
    {
        MoveMouseTo(ScreenPoint(bar, CPoint(60, 10)));
        pressTime = ::GetTickCount();
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    }

    TrackingBar bar;
    COSMControl* button = nullptr;
    std::vector<DWORD> commandTimes;
    DWORD pressTime = 0;
};

TEST_F(HoldTest, AReleaseInsideRunsTheCommandOnceAndOutsideNot)
{
    PressOverButton();
    Scheduled::After(frame.GetSafeHwnd(), 80, [&] {
        EXPECT_EQ(bar.GetSafeHwnd(), ::GetCapture());
        EXPECT_EQ(1, button->GetPressed());
        SendMouseInput(MOUSEEVENTF_LEFTUP);
    });
    PumpFor(300);
    EXPECT_EQ(1u, commandTimes.size());
    EXPECT_EQ(72u, LOWORD(frame.RecordsOf(WM_COMMAND).at(0).wParam));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(0, button->GetPressed());
    EXPECT_EQ(1, bar.GetStatusTextIndex());

    // Moved off the button before the release: nothing runs.
    commandTimes.clear();
    PressOverButton();
    Scheduled::After(frame.GetSafeHwnd(), 80, [&] {
        SendMouseMoveTo(ScreenPoint(bar, CPoint(150, 10)));
        SendMouseInput(MOUSEEVENTF_LEFTUP);
    });
    PumpFor(400);
    EXPECT_TRUE(commandTimes.empty());
    EXPECT_EQ(0, button->GetPressed());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(HoldTest, AMoveToTheBarsOriginOutsideTheButtonCountsAsAMove)
{
    PressOverButton();
    Scheduled::After(frame.GetSafeHwnd(), 80, [&] {
        SendMouseMoveTo(ScreenPoint(bar, CPoint(0, 0)));
        SendMouseInput(MOUSEEVENTF_LEFTUP);
    });
    PumpFor(400);
    EXPECT_TRUE(commandTimes.empty());
    EXPECT_EQ(0, button->GetPressed());
}

// A button that keeps its hot look while held, wherever the pointer goes: the release decides by where the pointer
// last moved.
class StickyButton : public COSMControlButton
{
public:
    BOOL SetSelected(int selected) override
    {
        if (selected == 0 && GetPressed() == 1)
            return FALSE;
        return COSMControlButton::SetSelected(selected);
    }
};

TEST_F(HoldTest, TheReleaseCountsWhereThePointerLastMovedEvenToTheBarsOrigin)
{
    TrackingBar sticky;
    MakeBar(sticky, 1, 0, CRect(0, 40, 300, 70));
    sticky.GetControls()->Add(1, 81);
    AddControl<StickyButton>(sticky, 82);
    sticky.LayOut();
    struct Case
    {
        const char* what;
        CPoint moveTo;  // client point of the bar; (-1, -1) no move
        size_t commands;
    };
    const Case cases[] = {
        {"no move", CPoint(-1, -1), 1},
        {"a move inside", CPoint(70, 15), 1},
        {"a move outside", CPoint(150, 10), 0},
        {"a move to the bar's origin, outside the button", CPoint(0, 0), 0},
    };
    for (const Case& c : cases)
    {
        commandTimes.clear();
        MoveMouseTo(ScreenPoint(sticky, CPoint(60, 10)));
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        Scheduled::After(frame.GetSafeHwnd(), 80, [&] {
            if (c.moveTo.x != -1)
                SendMouseMoveTo(ScreenPoint(sticky, c.moveTo));
            SendMouseInput(MOUSEEVENTF_LEFTUP);
        });
        PumpFor(300);
        EXPECT_EQ(c.commands, commandTimes.size()) << c.what;
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

TEST_F(HoldTest, AutoRepeatSendsAtThePressAndAtEachTickWhileHeldInside)
{
    button->SetExecuteOnPressInterval(100);
    PressOverButton();
    Scheduled::After(frame.GetSafeHwnd(), 350, [&] { SendMouseInput(MOUSEEVENTF_LEFTUP); });
    PumpFor(500);
    const size_t held = commandTimes.size();
    // Once at the press, then once per tick of 100 ms: three ticks in 350 ms, give or take one.
    ASSERT_GE(held, 3u);
    EXPECT_LE(held, 5u);
    EXPECT_LT(commandTimes[0] - pressTime, 80u);
    // A timer may be late under load, never early: the i-th repeat comes no sooner than i ticks after the press
    // (the tick count itself moves in steps of up to 16 ms).
    for (size_t i = 1; i < held; ++i)
        EXPECT_GE(commandTimes[i] - pressTime + 16, 100u * i) << "repeat " << i;
    // The release runs nothing more, and nothing repeats afterwards.
    PumpFor(300);
    EXPECT_EQ(held, commandTimes.size());
    EXPECT_EQ(0, button->GetPressed());
    EXPECT_FALSE(bar.KillTimer(COSMControl::kTimerPressRepeat));

    // Held outside the button, the ticks send nothing.
    commandTimes.clear();
    PressOverButton();
    Scheduled::After(frame.GetSafeHwnd(), 50, [&] {
        SendMouseMoveTo(ScreenPoint(bar, CPoint(150, 10)));
        Scheduled::After(frame.GetSafeHwnd(), 300, [&] { SendMouseInput(MOUSEEVENTF_LEFTUP); });
    });
    PumpFor(600);
    EXPECT_EQ(1u, commandTimes.size());
}

TEST_F(HoldTest, AQuitMessageEndsTheHoldAndStaysForTheApplicationsLoop)
{
    PressOverButton();
    Scheduled::After(frame.GetSafeHwnd(), 80, [] { ::PostQuitMessage(37); });
    // The press loop sees the quit first; the test's pump must not take it.
    MSG msg{};
    ASSERT_TRUE(PumpUntilQuit(&msg));
    EXPECT_EQ(37u, msg.wParam);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_TRUE(commandTimes.empty());
    EXPECT_EQ(0, button->GetPressed());
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(100);
    EXPECT_TRUE(commandTimes.empty());
}

// A window class of an input method: clicks on it never close the popups.
HWND CreateImeWindow(CWnd& owner, const CRect& rect)
{
    WNDCLASSA windowClass{};
    windowClass.style = 0x10000;  // CS_IME
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "OsmTestImeWindow";
    ::RegisterClassA(&windowClass);
    return ::CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOPMOST, "OsmTestImeWindow", "", WS_POPUP | WS_VISIBLE, rect.left,
                             rect.top, rect.Width(), rect.Height(), owner.GetSafeHwnd(), nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

TEST_F(InputTest, ClicksCloseTrackedPopupsOnlyOutsideThemAndTheirSafeWindows)
{
    COSMMouseManager* mouse = CreateMouseManager();
    TrackingBar popup;
    popup.SetCommandBars(commandBars.Get());
    popup.SetTypeField(2);
    popup.SetPositionField(5);
    ASSERT_TRUE(popup.CreatePopup(&frame, CRect(150, 150, 300, 250), WS_EX_NOACTIVATE));
    // (A static control would let hit tests through to what lies below it.)
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, 80, 60, 60, 30,
                               popup.GetSafeHwnd(), nullptr));
    // Topmost, so that activating the frame again leaves them above it.
    CWnd safe;
    ASSERT_TRUE(safe.CreateEx(WS_EX_NOACTIVATE | WS_EX_TOPMOST, AfxRegisterWndClass(0), "safe", WS_POPUP | WS_VISIBLE,
                              350, 150, 80, 60, frame.GetSafeHwnd(), nullptr));
    const HWND ime = CreateImeWindow(frame, CRect(350, 250, 430, 310));
    ASSERT_NE(nullptr, ime);
    mouse->AddSafeWindow(safe.GetSafeHwnd());

    struct Case
    {
        const char* what;
        CPoint screen;
        BOOL onPopup;
        BOOL closes;
    };
    const Case cases[] = {
        {"the popup", CPoint(160, 160), TRUE, FALSE},      {"a child of the popup", CPoint(250, 225), TRUE, FALSE},
        {"a safe window", CPoint(380, 180), FALSE, FALSE}, {"an input-method window", CPoint(380, 280), FALSE, FALSE},
        {"the frame", CPoint(500, 400), FALSE, TRUE},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(popup.SetTrackingMode(1, FALSE, TRUE));
        MoveMouseTo(c.screen);
        EXPECT_EQ(c.onPopup ? &popup : nullptr, mouse->HitTestTrackedBar(c.screen)) << c.what;
        EXPECT_EQ(c.closes, mouse->IsClickOutsideTracks(nullptr, WM_LBUTTONDOWN)) << c.what;
        EXPECT_FALSE(mouse->IsClickOutsideTracks(nullptr, WM_MOUSEMOVE));
        ClickAt(c.screen);
        EXPECT_EQ(c.closes ? 0 : 1, popup.GetTrackingMode()) << c.what;
        popup.StopTracking();
        ASSERT_TRUE(ActivateTestWindow(frame.GetSafeHwnd()));
    }
    // Bars that do not track are never hit.
    EXPECT_EQ(nullptr, mouse->HitTestTrackedBar(CPoint(250, 225)));
    mouse->RemoveSafeWindow(safe.GetSafeHwnd());
    ::DestroyWindow(ime);
}

// A popup whose owner lets go of another popup when it stops tracking (a parent menu dropping its sub-menu).
class ReleasingPopup : public TrackingBar
{
public:
    void StopTracking() override
    {
        TrackingBar::StopTracking();
        if (COSMCommandBar* other = dropOnStop)
        {
            dropOnStop = nullptr;
            other->InternalRelease();
        }
    }
    COSMCommandBar* dropOnStop = nullptr;
};

TEST_F(InputTest, AClickOutsideClosesPopupsThatLetEachOtherGo)
{
    int destroyed = 0;
    ReleasingPopup first;
    first.SetCommandBars(commandBars.Get());
    first.SetTypeField(2);
    first.SetPositionField(5);
    ASSERT_TRUE(first.CreatePopup(&frame, CRect(150, 150, 250, 200), WS_EX_NOACTIVATE));
    auto* second = new TrackingBar;
    second->destroyed = &destroyed;
    second->SetCommandBars(commandBars.Get());
    second->SetTypeField(2);
    second->SetPositionField(5);
    ASSERT_TRUE(second->CreatePopup(&frame, CRect(250, 150, 350, 200), WS_EX_NOACTIVATE));
    first.dropOnStop = second;
    ASSERT_TRUE(first.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(second->SetTrackingMode(1, FALSE, TRUE));

    ClickAt(CPoint(500, 400));
    EXPECT_EQ(0, first.GetTrackingMode());
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(0, CreateMouseManager()->GetTrackedCount());
}

TEST_F(InputTest, LeavingABarClearsItsHotControl)
{
    TrackingBar bar;
    MakeBar(bar, 2, 5, CRect(0, 0, 120, 60));
    bar.AddButtons({1, 2}, CSize(40, 20), TRUE);
    MoveMouseTo(ScreenPoint(bar, CPoint(10, 25)));
    EXPECT_EQ(1, bar.GetSelectedIndex());
    EXPECT_EQ(bar.GetSafeHwnd(), CreateMouseManager()->GetMouseLeaveWindow());
    MoveMouseTo(ScreenPoint(frame, CPoint(300, 200)));
    EXPECT_TRUE(PumpUntil([&] { return bar.GetSelectedIndex() == -1; }, 1000));
    EXPECT_EQ(nullptr, CreateMouseManager()->GetMouseLeaveWindow());
}

}  // namespace
