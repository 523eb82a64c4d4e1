#include "classlib/WinThread.h"

#include "classlib/CallbackGuard.h"
#include "classlib/FrameMessages.h"
#include "classlib/ThreadLocal.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"

#include <process.h>

#include <memory>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

struct CurrentThread
{
    CWinThread* pThread = nullptr;
};

CThreadLocal<CurrentThread> g_currentThread;

UINT RunThreadProc(CWinThread* pThread)
{
    // An exception must not unwind into the runtime's thread start: it is reported (a library exception also
    // freed) and the thread ends with a failure.
    return osm_classlib_detail::GuardCallback("thread", static_cast<UINT>(-1),
                                              [pThread] { return pThread->m_pfnThreadProc(pThread->m_pThreadParams); });
}

unsigned __stdcall ThreadEntry(void* pParam)
{
    auto* pThread = static_cast<CWinThread*>(pParam);
    g_currentThread->pThread = pThread;
    const UINT exitCode = RunThreadProc(pThread);
    g_currentThread->pThread = nullptr;
    if (pThread->m_bAutoDelete)
        pThread->Delete();
    // Here rather than in the thread-detach callback: outside the loader lock, while the thread can still do anything.
    osm_classlib_detail::DestroyThreadLocals();
    return exitCode;
}

}  // namespace

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam)
{}

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

void CWinThread::Delete()
{
    InternalRelease();
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount != 0)
        return FALSE;
    CWnd* pMainWnd = m_pMainWnd;
    HWND hWndMain = pMainWnd->GetSafeHwnd();
    // A hidden or minimised main window shows nothing that could need updating.
    if (hWndMain && ::IsWindowVisible(hWndMain) && !::IsIconic(hWndMain))
    {
        pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    }
    osm_classlib_detail::GetThreadState().DeleteTemporaries(-1);
    return FALSE;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    ASSERT(m_hThread == nullptr && m_pfnThreadProc != nullptr);
    if (m_hThread || !m_pfnThreadProc)
    {
        ::SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    // Always made suspended: m_hThread and m_nThreadID are in place before the thread can look at them, or end and
    // take the object with it.
    unsigned threadId = 0;
    const uintptr_t hThread =
        ::_beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry, this, dwCreateFlags | CREATE_SUSPENDED, &threadId);
    if (!hThread)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(hThread);
    m_nThreadID = threadId;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(reinterpret_cast<HANDLE>(hThread));  // from here on `this` may be gone
    return TRUE;
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

DWORD CWinThread::SuspendThread()
{
    return ::SuspendThread(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int nPriority)
{
    return ::SetThreadPriority(m_hThread, nPriority);
}

int CWinThread::GetThreadPriority()
{
    return ::GetThreadPriority(m_hThread);
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    auto pThread = std::make_unique<CWinThread>(pfnThreadProc, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs))
        return nullptr;
    if (!pThread->SetThreadPriority(nPriority))
        TRACE("classlib: thread priority %d refused (error %lu)\n", nPriority, ::GetLastError());
    CWinThread* pStarted = pThread.release();
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(pStarted->m_hThread);  // from here on the object may be gone
    return pStarted;
}

CWinThread* AfxGetThread()
{
    if (const CurrentThread* pCurrent = g_currentThread.GetDataNA(); pCurrent && pCurrent->pThread)
        return pCurrent->pThread;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->m_nThreadID == ::GetCurrentThreadId() ? pApp : nullptr;
}
