#include "wizard/WorkerThread.h"

namespace {

// Waits for a thread while this thread's messages keep flowing.
bool WaitPumping(HANDLE thread, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        const DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0)
            return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                // Left for the loop that owns it.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace

CWorkerThread::~CWorkerThread()
{
    if (!m_thread)
        return;
    // The owner stops its worker before it goes; this only guards against a thread outliving what it uses.
    if (WaitForSingleObject(m_thread, 3000) == WAIT_TIMEOUT)
        TerminateThread(m_thread, 1);
    CloseHandle(m_thread);
}

bool CWorkerThread::Start(LPTHREAD_START_ROUTINE routine, void* parameter, DWORD stackSize)
{
    if (m_thread)
    {
        SetLastError(ERROR_BUSY);
        return false;
    }
    DWORD id = 0;
    m_thread = CreateThread(nullptr, stackSize, routine, parameter, STACK_SIZE_PARAM_IS_A_RESERVATION, &id);
    return m_thread != nullptr;
}

bool CWorkerThread::IsRunning() const
{
    return m_thread && WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

bool CWorkerThread::CloseIfEnded()
{
    if (!m_thread || m_stopping || WaitForSingleObject(m_thread, 0) != WAIT_OBJECT_0)
        return false;
    CloseHandle(m_thread);
    m_thread = nullptr;
    return true;
}

CWorkerThread::StopResult CWorkerThread::Stop(DWORD timeoutMs)
{
    if (m_stopping)
        return StopResult::AlreadyStopping;
    if (!m_thread)
        return StopResult::NotRunning;
    m_stopping = true;
    StopResult result = StopResult::Ended;
    if (!WaitPumping(m_thread, timeoutMs))
    {
        // The last resort: a worker that does not answer its cancel flag within the bound.
        TerminateThread(m_thread, 1);
        WaitForSingleObject(m_thread, 5000);
        result = StopResult::Terminated;
    }
    CloseHandle(m_thread);
    m_thread = nullptr;
    m_stopping = false;
    return result;
}
