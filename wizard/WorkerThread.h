// The page's worker thread: started once per build, watched by the page's timer, and stopped by a bounded wait
// that keeps the page's messages flowing.
//
// Stop is entered again when a message handled inside its wait asks for another stop (a second Cancel, a
// close): the inner call returns at once and the outer one finishes the job, so no one waits on a handle
// that the other has closed.
#pragma once

#include <windows.h>

class CWorkerThread
{
public:
    enum class StopResult
    {
        NotRunning,       // no thread was held
        Ended,            // the thread ended on its own within the wait
        Terminated,       // the wait ran out and the thread was ended by force
        AlreadyStopping,  // another Stop further up this thread's stack is waiting for it
    };

    CWorkerThread() = default;
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts routine(parameter) with the given stack reservation. False (with the last error set) when the
    // thread could not be made, or one is still held.
    [[nodiscard]] bool Start(LPTHREAD_START_ROUTINE routine, void* parameter, DWORD stackSize);

    bool IsHeld() const { return m_thread != nullptr; }
    // A thread is held and has not ended yet.
    bool IsRunning() const;
    bool IsStopping() const { return m_stopping; }

    // Closes the handle of a thread that has ended; true when one was closed.
    bool CloseIfEnded();

    // Waits for the thread up to timeoutMs while dispatching this thread's messages, ends it by force only
    // when the wait runs out, and closes the handle. The caller has asked the thread to stop first.
    StopResult Stop(DWORD timeoutMs);

private:
    HANDLE m_thread = nullptr;
    bool m_stopping = false;
};
