#include "wizard/WorkerThread.h"

#include "classlib/ModalLoop.h"

namespace {

// Waits for a thread while this thread's messages keep flowing. A WM_QUIT ends the wait early and is left for the
// loop that owns it.
bool WaitPumping(HANDLE thread, DWORD timeoutMs)
{
    CModalLoop loop;
    loop.EndOnSignal(thread).EndAfter(timeoutMs);
    return loop.Run(nullptr, nullptr) == CModalLoop::End::Signaled || WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
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
