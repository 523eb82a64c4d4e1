// CModalLoop: the one nested message loop of the library and the framework. A press, a drag, a resize, a tracked
// menu each pump the thread's messages until they are done; the loop does the pumping and the ways out, the caller
// says what each message means to it:
//
//   CModalLoop loop;
//   loop.EndOnCaptureLoss(window).EndOnEscape();
//   const CModalLoop::End end = loop.Run([&] { return released; }, [&](MSG& msg) {
//       if (msg.message == WM_MOUSEMOVE) { Follow(msg); return CModalLoop::Handled; }
//       if (msg.message == WM_LBUTTONUP) { released = true; return CModalLoop::Handled; }
//       return CModalLoop::Dispatch;                        // anything else goes to its window as usual
//   });
//
// Ways out, as Run reports them:
//   Done         the condition was met before a message was taken, or the caller's handler said Stop;
//   Quit         WM_QUIT arrived: it is posted again with its exit code, so the application's loop ends too;
//   CaptureLost  the window given to EndOnCaptureLoss no longer holds the mouse capture;
//   Escape       Escape went down (EndOnEscape): the key is taken;
//   Signaled     the handle given to EndOnSignal was signalled (a thread ended, an event was set);
//   TimedOut     the time given to EndAfter ran out.
// A loop that waits on a handle or a time waits for its messages with MsgWaitForMultipleObjects, so it wakes for
// either; the handle is looked at before each message, so a steady flow of messages cannot hold it.
// A peek filtered for WM_PAINT hands out a waiting WM_QUIT as well (Wine does): the loop sees it there too, and so
// does DispatchPaints, for code that paints what waits before it draws over the screen.
//
// A press that repeats while it is held (a spin or scroll button on its own clock) polls between messages:
//   loop.PollEvery(20, [&] { if (Due()) Step(); });     // before each message, and every 20 ms while none comes
#pragma once

#include "classlib/ClassLibBase.h"

#include <functional>

class CModalLoop
{
public:
    enum class End
    {
        Done,
        Quit,
        CaptureLost,
        Escape,
        Signaled,
        TimedOut
    };

    // What the caller's handler did with a message.
    enum Step
    {
        Dispatch,  // nothing: the loop translates and dispatches it
        Handled,   // the handler took it (or dispatched it its own way)
        Stop       // the handler took it and the loop ends (Done)
    };

    using Condition = std::function<bool()>;
    using Handler = std::function<Step(MSG& msg)>;
    // Looks at the next message while it is still queued; true ends the loop (Done) and leaves the message there.
    using Peeker = std::function<bool(const MSG& msg)>;

    // ---- Ways out and habits, set before Run ----------------------------------------------------------------------
    // Ends the loop as soon as window no longer has the mouse capture.
    CModalLoop& EndOnCaptureLoss(HWND window);
    // Ends the loop when Escape goes down.
    CModalLoop& EndOnEscape();
    // Ends the loop once handle (any waitable handle: a thread, an event, a process) is signalled. The caller keeps
    // the handle open while the loop runs.
    CModalLoop& EndOnSignal(HANDLE handle);
    // Ends the loop once timeoutMs have passed since Run began.
    CModalLoop& EndAfter(DWORD timeoutMs);
    // Before each message, dispatches the waiting WM_PAINTs (at most maxPaints, so that a window that never
    // validates cannot hold the loop), so the screen follows what the loop does.
    CModalLoop& PaintFirst(int maxPaints = 64);
    // Shows the caller each message before it is taken off the queue; the loop waits for one with WaitMessage.
    CModalLoop& PeekFirst(Peeker peeker);
    // Runs poll before each message is taken, and at least every periodMs while the queue stays empty. The ways out
    // are looked at again after it, so a poll may end the loop through the condition.
    CModalLoop& PollEvery(DWORD periodMs, std::function<void()> poll);

    // Pumps until a way out; finished (may be empty) is asked before each message.
    End Run(const Condition& finished, const Handler& handler);

    // Dispatches the WM_PAINTs waiting now (at most maxPaints). False when a WM_QUIT came out of the filtered peek
    // instead: it is posted again, so the loop that takes messages next ends and the quit reaches the application.
    [[nodiscard]] static bool DispatchPaints(int maxPaints = 64);

private:
    bool Interrupted(const Condition& finished, End& end) const;
    // Waits until a message is queued; false with the way out when the handle or the time ended the wait first.
    bool WaitForMessage(End& end) const;
    bool WaitsOnHandleOrTime() const { return m_signal || m_hasDeadline || m_poll; }

    HWND m_captureWindow = nullptr;
    HANDLE m_signal = nullptr;
    bool m_hasDeadline = false;
    DWORD m_timeoutMs = 0;
    DWORD m_start = 0;
    bool m_endOnEscape = false;
    int m_maxPaints = 0;
    Peeker m_peeker;
    std::function<void()> m_poll;
    DWORD m_pollPeriodMs = 0;
};
