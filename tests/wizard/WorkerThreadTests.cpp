// The page's worker thread: a stop that waits while messages flow, entered again from inside its own wait,
// and force used only when the wait runs out.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "wizard/WorkerThread.h"

namespace {

struct Gate
{
    HANDLE open = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Gate() { CloseHandle(open); }
};

DWORD WINAPI WaitAtGate(LPVOID gate)
{
    WaitForSingleObject(static_cast<Gate*>(gate)->open, INFINITE);
    return 0;
}

// A window whose message, handled inside the outer stop's wait, stops the same worker again and then lets
// the worker go.
struct Reentry
{
    CWorkerThread* worker = nullptr;
    Gate* gate = nullptr;
    CWorkerThread::StopResult inner = CWorkerThread::StopResult::NotRunning;
    bool handled = false;
};

const UINT kStopAgain = WM_APP + 7;

LRESULT CALLBACK ReentryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kStopAgain)
    {
        auto* r = reinterpret_cast<Reentry*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        r->inner = r->worker->Stop(3000);
        r->handled = true;
        EXPECT_TRUE(r->worker->IsHeld()) << "the inner stop must leave the handle to the outer one";
        SetEvent(r->gate->open);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST(WorkerThread, StopEnteredAgainFromItsOwnWaitReturnsAtOnce)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = ReentryProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OsmWorkerReentry";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("OsmWorkerReentry", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    Gate gate;
    CWorkerThread worker;
    Reentry reentry{&worker, &gate};
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&reentry));
    ASSERT_TRUE(worker.Start(WaitAtGate, &gate, 64 * 1024));
    EXPECT_TRUE(worker.IsRunning());

    PostMessageA(window, kStopAgain, 0, 0);
    EXPECT_EQ(worker.Stop(10000), CWorkerThread::StopResult::Ended);
    EXPECT_TRUE(reentry.handled);
    EXPECT_EQ(reentry.inner, CWorkerThread::StopResult::AlreadyStopping);
    EXPECT_FALSE(worker.IsHeld());
    EXPECT_FALSE(worker.IsStopping());
    EXPECT_EQ(worker.Stop(1000), CWorkerThread::StopResult::NotRunning);
    DestroyWindow(window);
}

TEST(WorkerThread, EndsByForceOnlyWhenTheWaitRunsOut)
{
    Gate gate;
    CWorkerThread worker;
    ASSERT_TRUE(worker.Start(WaitAtGate, &gate, 64 * 1024));
    EXPECT_FALSE(worker.Start(WaitAtGate, &gate, 64 * 1024)) << "one worker at a time";
    EXPECT_FALSE(worker.CloseIfEnded());
    EXPECT_EQ(worker.Stop(100), CWorkerThread::StopResult::Terminated);
    EXPECT_FALSE(worker.IsHeld());

    // A worker that ends by itself is closed by the watch.
    Gate open;
    SetEvent(open.open);
    ASSERT_TRUE(worker.Start(WaitAtGate, &open, 64 * 1024));
    for (int i = 0; i < 500 && worker.IsRunning(); ++i)
        Sleep(10);
    EXPECT_TRUE(worker.CloseIfEnded());
    EXPECT_FALSE(worker.IsHeld());
}
