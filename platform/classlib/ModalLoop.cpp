#include "classlib/ModalLoop.h"

#include <utility>

CModalLoop& CModalLoop::EndOnCaptureLoss(HWND window)
{
    m_captureWindow = window;
    return *this;
}

CModalLoop& CModalLoop::EndOnEscape()
{
    m_endOnEscape = true;
    return *this;
}

CModalLoop& CModalLoop::EndOnSignal(HANDLE handle)
{
    m_signal = handle;
    return *this;
}

CModalLoop& CModalLoop::EndAfter(DWORD timeoutMs)
{
    m_hasDeadline = true;
    m_timeoutMs = timeoutMs;
    return *this;
}

CModalLoop& CModalLoop::PaintFirst(int maxPaints)
{
    m_maxPaints = maxPaints;
    return *this;
}

CModalLoop& CModalLoop::PeekFirst(Peeker peeker)
{
    m_peeker = std::move(peeker);
    return *this;
}

CModalLoop& CModalLoop::PollEvery(DWORD periodMs, std::function<void()> poll)
{
    m_pollPeriodMs = periodMs;
    m_poll = std::move(poll);
    return *this;
}

bool CModalLoop::DispatchPaints(int maxPaints)
{
    MSG msg;
    for (int n = 0; n < maxPaints && ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++n)
    {
        // Wine hands out a waiting WM_QUIT even to a peek filtered for WM_PAINT: it must not be dispatched and lost.
        if (msg.message == WM_QUIT)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        ::DispatchMessageA(&msg);
    }
    return true;
}

bool CModalLoop::Interrupted(const Condition& finished, End& end) const
{
    if (finished && finished())
    {
        end = End::Done;
        return true;
    }
    // The handle before the time: a wait that ran out just as its handle was signalled still ends Signaled.
    if (m_signal && ::WaitForSingleObject(m_signal, 0) == WAIT_OBJECT_0)
    {
        end = End::Signaled;
        return true;
    }
    if (m_captureWindow && ::GetCapture() != m_captureWindow)
    {
        end = End::CaptureLost;
        return true;
    }
    if (m_hasDeadline && ::GetTickCount() - m_start >= m_timeoutMs)
    {
        end = End::TimedOut;
        return true;
    }
    return false;
}

bool CModalLoop::WaitForMessage(End& end) const
{
    if (!WaitsOnHandleOrTime())
    {
        ::WaitMessage();
        return true;
    }
    DWORD timeout = INFINITE;
    bool deadlineFirst = false;
    if (m_hasDeadline)
    {
        const DWORD elapsed = ::GetTickCount() - m_start;
        timeout = elapsed < m_timeoutMs ? m_timeoutMs - elapsed : 0;
        deadlineFirst = true;
    }
    if (m_poll && m_pollPeriodMs < timeout)
    {
        timeout = m_pollPeriodMs;
        deadlineFirst = false;
    }
    const DWORD count = m_signal ? 1 : 0;
    const DWORD woke = ::MsgWaitForMultipleObjects(count, m_signal ? &m_signal : nullptr, FALSE, timeout, QS_ALLINPUT);
    if (m_signal && woke == WAIT_OBJECT_0)
    {
        end = End::Signaled;
        return false;
    }
    if (woke == WAIT_TIMEOUT)
    {
        // The poll's period passed first: the loop goes round and polls.
        if (!deadlineFirst)
            return true;
        end = End::TimedOut;
        return false;
    }
    // A message came. A handle that cannot be waited on leaves only messages to wake the loop.
    if (woke == WAIT_FAILED)
        ::WaitMessage();
    return true;
}

CModalLoop::End CModalLoop::Run(const Condition& finished, const Handler& handler)
{
    m_start = ::GetTickCount();
    End end = End::Done;
    for (;;)
    {
        if (Interrupted(finished, end))
            return end;
        if (m_poll)
        {
            m_poll();
            if (Interrupted(finished, end))
                return end;
        }
        MSG msg;
        if (m_maxPaints > 0)
        {
            // A quit that came out with the paints is posted again for the application's loop; this loop ends.
            if (!DispatchPaints(m_maxPaints))
                return End::Quit;
            // A paint may have ended what the loop waits for.
            if (Interrupted(finished, end))
                return end;
        }
        // GetMessage below would wait for a message only: a loop that also waits on a handle or a time, or looks at
        // each message before taking it, waits here and takes the message only once one is there.
        if (m_peeker || WaitsOnHandleOrTime())
        {
            if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            {
                if (!WaitForMessage(end))
                    return end;
                continue;
            }
            if (m_peeker && msg.message != WM_QUIT && m_peeker(msg))
                return End::Done;
        }
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
        {
            // The quit is for the application's loop: it sees it again once this loop has unwound.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return End::Quit;
        }
        if (got == -1)
            return End::Done;  // only for a bad window filter, which this loop never passes
        if (m_endOnEscape && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            return End::Escape;
        switch (handler ? handler(msg) : Dispatch)
        {
        case Dispatch:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        case Handled:
            break;
        case Stop:
            return End::Done;
        }
    }
}
