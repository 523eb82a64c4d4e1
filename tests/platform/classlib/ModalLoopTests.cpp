// The one nested message loop, left each way it can be left, on a real active window with real messages and real
// keyboard input: its condition met, its handler stopping it, a WM_QUIT (which the application's loop must still
// see, also when it comes out of the loop's filtered peek for paints), the mouse capture taken away, Escape, a handle
// signalled by another thread (an event set, the thread itself ending) while messages flow, and its time running out
// under a steady flow of messages; a loop that polls a clock between messages and while none come; and the paints
// dispatched ahead of drawing over the screen, which hand a quit found among them on.
#include "TestSupport.h"

#include "classlib/ModalLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using classlib_test::CHostWnd;

namespace {

const UINT kCounted = WM_APP + 61;
const UINT kQuitNow = WM_APP + 62;
const int kQuitCode = 23;

void SendKeyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(INPUT));
}

// Runs the application's loop for a while after the modal loop: counts the kCounted messages still queued, stops at
// a WM_QUIT (-1 when none came) and dispatches everything else. (Unfiltered: a peek filtered for kCounted would hand
// out the WM_QUIT too, under Wine.)
void RunOuterLoop(int* counted, int* quitCode, DWORD forMs = 300)
{
    *counted = 0;
    *quitCode = -1;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < forMs)
    {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT)
        {
            *quitCode = static_cast<int>(msg.wParam);
            return;
        }
        if (msg.message == kCounted)
        {
            ++*counted;
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Another thread that posts `posts` messages to a window, one every gapMs, waits gapMs more, sets the event (if one
// is given) and ends: a real thread handle and a real event signalled while messages flow.
struct Poster
{
    HWND window;
    UINT message;
    int posts;
    DWORD gapMs;
    HANDLE eventToSet;
};

DWORD WINAPI RunPoster(LPVOID parameter)
{
    const Poster poster = *static_cast<Poster*>(parameter);
    delete static_cast<Poster*>(parameter);
    for (int i = 0; i < poster.posts; ++i)
    {
        ::PostMessageA(poster.window, poster.message, 0, 0);
        ::Sleep(poster.gapMs);
    }
    ::Sleep(poster.gapMs);
    if (poster.eventToSet)
        ::SetEvent(poster.eventToSet);
    return 0;
}

HANDLE StartPoster(const Poster& poster)
{
    return ::CreateThread(nullptr, 0, &RunPoster, new Poster(poster), 0, nullptr);
}

// Ends a loop that missed its way out, so a failing case fails instead of hanging.
bool g_timedOut = false;
void CALLBACK OnWatchdog(HWND window, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(window, id);
    g_timedOut = true;
}

TEST(ModalLoop, EachWayOutEndsTheLoopAndSaysWhichOneItWas)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost("modal loop test"));
    ASSERT_TRUE(classlib_test::PumpUntil([&] { return ::GetActiveWindow() == host.m_hWnd; }));
    host.SetFocus();
    const HWND window = host.m_hWnd;
    // What the cases that wait on a handle wait on: an event (manual-reset, cleared before each case) and the thread
    // a case starts.
    const HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    HANDLE worker = nullptr;

    struct Case
    {
        const char* name;
        bool endOnEscape;
        bool endOnCaptureLoss;
        int paintFirst;
        std::function<void()> arrange;
        CModalLoop::End expected;
        int counted;                     // kCounted messages the handler took
        bool sawEscape;                  // the handler got Escape (and stopped the loop)
        int quitCode;                    // -1: no quit reaches the outer loop
        int leftQueued;                  // kCounted messages still queued afterwards
        const HANDLE* signal = nullptr;  // EndOnSignal(*signal) when set
        DWORD endAfterMs = 0;            // EndAfter(endAfterMs) when non-zero
    };
    const Case cases[] = {
        {"condition met", false, false, 0,
         [&] {
             for (int i = 0; i < 3; ++i)
                 ::PostMessageA(window, kCounted, 0, 0);
         },
         CModalLoop::End::Done, 2, false, -1, 1},
        {"handler stops at an Escape the loop was not told about", false, false, 0,
         [&] {
             SendKeyInput(VK_ESCAPE, false);
             SendKeyInput(VK_ESCAPE, true);
         },
         CModalLoop::End::Done, 0, true, -1, 0},
        {"WM_QUIT", false, true, 0,
         [&] {
             ::SetCapture(window);
             ::PostMessageA(window, kCounted, 0, 0);
             ::PostMessageA(window, kQuitNow, 0, 0);
         },
         CModalLoop::End::Quit, 1, false, kQuitCode, 0},
        {"WM_QUIT while paints wait", false, false, 64,
         [&] {
             ::InvalidateRect(window, nullptr, TRUE);
             ::PostQuitMessage(kQuitCode + 1);
         },
         CModalLoop::End::Quit, 0, false, kQuitCode + 1, 0},
        {"capture lost", false, true, 0,
         [&] {
             ::SetCapture(window);
             // The system's own way to cancel a mode: the window's default handling lets the capture go.
             ::PostMessageA(window, WM_CANCELMODE, 0, 0);
         },
         CModalLoop::End::CaptureLost, 0, false, -1, 0},
        {"Escape", true, false, 0,
         [&] {
             SendKeyInput(VK_ESCAPE, false);
             SendKeyInput(VK_ESCAPE, true);
         },
         CModalLoop::End::Escape, 0, false, -1, 0},
        {"an event set by another thread while messages flow", false, false, 0,
         [&] {
             worker = StartPoster({window, kCounted, 1, 150, event});
         },
         CModalLoop::End::Signaled, 1, false, -1, 0, &event},
        {"the thread waited on ends", false, false, 0,
         [&] {
             worker = StartPoster({window, kCounted, 1, 150, nullptr});
         },
         CModalLoop::End::Signaled, 1, false, -1, 0, &worker},
        {"WM_QUIT while waiting on a handle and a time", false, false, 0,
         [&] {
             ::PostMessageA(window, kCounted, 0, 0);
             ::PostMessageA(window, kQuitNow, 0, 0);
         },
         CModalLoop::End::Quit, 1, false, kQuitCode, 0, &event, 2000},
        {"time runs out under a steady flow of messages", false, false, 0,
         [&] {
             worker = StartPoster({window, WM_NULL, 60, 10, nullptr});
         },
         CModalLoop::End::TimedOut, 0, false, -1, 0, &event, 250},
    };

    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        classlib_test::PumpPending();
        ::ResetEvent(event);
        c.arrange();
        if (c.endOnCaptureLoss)
        {
            ASSERT_EQ(window, ::GetCapture());
        }

        int counted = 0;
        bool sawEscape = false;
        g_timedOut = false;
        ::SetTimer(window, 0x3D06, 3000, &OnWatchdog);
        CModalLoop loop;
        if (c.endOnEscape)
            loop.EndOnEscape();
        if (c.endOnCaptureLoss)
            loop.EndOnCaptureLoss(window);
        if (c.paintFirst)
            loop.PaintFirst(c.paintFirst);
        if (c.signal)
            loop.EndOnSignal(*c.signal);
        if (c.endAfterMs)
            loop.EndAfter(c.endAfterMs);
        const DWORD start = ::GetTickCount();
        const CModalLoop::End end = loop.Run([&] { return counted == 2 || g_timedOut; },
                                             [&](MSG& msg) {
                                                 if (msg.message == kCounted)
                                                 {
                                                     ++counted;
                                                     return CModalLoop::Handled;
                                                 }
                                                 if (msg.message == kQuitNow)
                                                 {
                                                     ::PostQuitMessage(kQuitCode);
                                                     return CModalLoop::Handled;
                                                 }
                                                 if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                                                 {
                                                     sawEscape = true;
                                                     return CModalLoop::Stop;
                                                 }
                                                 return CModalLoop::Dispatch;
                                             });
        const DWORD elapsed = ::GetTickCount() - start;
        ::KillTimer(window, 0x3D06);

        EXPECT_FALSE(g_timedOut);
        if (end == CModalLoop::End::Signaled)
        {
            EXPECT_EQ(::WaitForSingleObject(*c.signal, 0), WAIT_OBJECT_0);
        }
        if (end == CModalLoop::End::TimedOut)
        {
            // GetTickCount moves in steps of up to 16 ms.
            EXPECT_GE(elapsed + 16, c.endAfterMs);
            EXPECT_LT(elapsed, c.endAfterMs + 500);
        }
        EXPECT_EQ(c.expected, end);
        EXPECT_EQ(c.counted, counted);
        EXPECT_EQ(c.sawEscape, sawEscape);
        // What the loop did not take is still there for the loop outside, and a quit reaches it; no other way
        // out makes one.
        int leftQueued = 0;
        int quitCode = -1;
        RunOuterLoop(&leftQueued, &quitCode);
        EXPECT_EQ(c.leftQueued, leftQueued);
        EXPECT_EQ(c.quitCode, quitCode);
        ::ReleaseCapture();
        SendKeyInput(VK_ESCAPE, true);
        if (worker)
        {
            EXPECT_EQ(::WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
            ::CloseHandle(worker);
            worker = nullptr;
        }
    }
    ::CloseHandle(event);
}

// A held button's loop polls its own clock: before every message it takes, and on its own every period while the
// queue stays empty; the poll may end the loop through the condition.
TEST(ModalLoop, APollRunsBeforeEachMessageAndEveryPeriodWhileNoneCome)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost("modal loop poll test"));
    classlib_test::PumpPending();
    const HWND window = host.m_hWnd;

    // Messages: the poll runs before each is taken (and once more before the loop sees the condition met).
    int polls = 0;
    int counted = 0;
    std::vector<int> pollsAtMessage;
    for (int i = 0; i < 3; ++i)
        ::PostMessageA(window, kCounted, 0, 0);
    CModalLoop withMessages;
    withMessages.PollEvery(1000, [&] { ++polls; });
    EXPECT_EQ(CModalLoop::End::Done, withMessages.Run([&] { return counted == 3; },
                                                      [&](MSG& msg) {
                                                          if (msg.message != kCounted)
                                                              return CModalLoop::Dispatch;
                                                          pollsAtMessage.push_back(polls);
                                                          ++counted;
                                                          return CModalLoop::Handled;
                                                      }));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), pollsAtMessage);

    // No messages: the period wakes the loop, and the poll ends it through the condition. A loop that polled only
    // between messages would wait here until the watchdog.
    classlib_test::PumpPending();
    polls = 0;
    g_timedOut = false;
    ::SetTimer(window, 0x3D07, 3000, &OnWatchdog);
    const DWORD start = ::GetTickCount();
    CModalLoop quiet;
    quiet.PollEvery(20, [&] { ++polls; });
    const CModalLoop::End end = quiet.Run([&] { return polls >= 6 || g_timedOut; }, nullptr);
    const DWORD elapsed = ::GetTickCount() - start;
    ::KillTimer(window, 0x3D07);
    EXPECT_EQ(CModalLoop::End::Done, end);
    EXPECT_FALSE(g_timedOut);
    EXPECT_EQ(6, polls);
    // The loop waits out its periods rather than spinning: most of five periods of 20 ms (a message wait may wake
    // without a message for the loop, and it polls then too), GetTickCount moving in steps of up to 16 ms.
    EXPECT_GE(elapsed + 16, 60u);

    // A poll and a time: the time still ends the loop, and says so.
    CModalLoop timed;
    polls = 0;
    timed.PollEvery(10, [&] { ++polls; }).EndAfter(120);
    EXPECT_EQ(CModalLoop::End::TimedOut, timed.Run(nullptr, nullptr));
    EXPECT_GE(polls, 3);
}

// The paints that wait are dispatched before something is drawn over the screen; a quit that comes out of that
// filtered peek (Wine hands it out) is posted again for the application's loop instead of being dispatched and lost.
TEST(ModalLoop, DispatchingThePaintsHandsAQuitOn)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost("modal loop paints test"));
    classlib_test::PumpPending();
    const HWND window = host.m_hWnd;
    RECT update;

    ::InvalidateRect(window, nullptr, TRUE);
    ASSERT_TRUE(::GetUpdateRect(window, &update, FALSE));
    EXPECT_TRUE(CModalLoop::DispatchPaints());
    EXPECT_FALSE(::GetUpdateRect(window, &update, FALSE)) << "the paint was dispatched";

    ::InvalidateRect(window, nullptr, TRUE);
    ::PostQuitMessage(kQuitCode + 2);
    // Wine hands the quit to this peek (Windows would keep it for an unfiltered one): it must reach the outer loop.
    EXPECT_FALSE(CModalLoop::DispatchPaints());
    int leftQueued = 0;
    int quitCode = -1;
    RunOuterLoop(&leftQueued, &quitCode);
    EXPECT_EQ(kQuitCode + 2, quitCode);
}

}  // namespace
