// CWinThread stands for a thread: one the library started, or (as the base of CWinApp) the program's main thread.
// AfxBeginThread starts a worker that runs a function and ends when the function returns:
//
//   UINT BuildImage(LPVOID pParam) { ...; return 0; }    // the return value is the thread's exit code
//
//   CWinThread* pThread = AfxBeginThread(&BuildImage, &job, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
//   pThread->m_bAutoDelete = FALSE;                     // keep the object and its handle to wait on
//   pThread->ResumeThread();
//   ::WaitForSingleObject(*pThread, INFINITE);
//   delete pThread;
//
// With m_bAutoDelete TRUE (the default) the object gives up its reference as the thread ends, which deletes it and
// closes its handle: once such a thread runs, the pointer may dangle at any moment. Start it suspended to change
// anything first, or take a reference (InternalAddRef) and release it when done. Threads are started through the C
// runtime (_beginthreadex), so the runtime's per-thread data is set up and freed with them, and their per-thread
// objects (CThreadLocal, the window maps) are destroyed before they end.
#pragma once

#include "classlib/CmdTarget.h"

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID pParam);

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)

public:
    // A thread that will run pfnThreadProc(pParam) once CreateThread starts it; make it with new when it deletes
    // itself.
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Called on the thread as it ends, when m_bAutoDelete is TRUE: the base gives up the object's reference.
    virtual void Delete();
    // Called by a message loop when the queue is empty; return TRUE to be called again (lCount + 1) before waiting.
    // At lCount 0 the base sends WM_IDLEUPDATECMDUI (wParam TRUE) to a visible main window and all its
    // descendants, so frames do their delayed layout and bars update their commands, and then frees the
    // temporary window wrappers; it returns FALSE.
    virtual BOOL OnIdle(LONG lCount);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Starts the thread. dwCreateFlags: CREATE_SUSPENDED, STACK_SIZE_PARAM_IS_A_RESERVATION; nStackSize 0 takes the
    // program's default. FALSE (with the system's error) when the thread cannot be started.
    [[nodiscard]] BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                                    LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    // Both return the previous suspend count, (DWORD)-1 on failure.
    DWORD ResumeThread();
    DWORD SuspendThread();
    BOOL SetThreadPriority(int nPriority);
    int GetThreadPriority();
    operator HANDLE() const { return m_hThread; }
    CWnd* GetMainWnd() const { return m_pMainWnd; }

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
    // The thread's main window, when it has one: idle updates start there.
    CWnd* m_pMainWnd = nullptr;

protected:
    // For CWinApp, which stands for a thread that is already running.
    CWinThread() = default;
};

// Starts a worker thread running pfnThreadProc(pParam); null when it cannot be started. The priority is set before
// the thread runs its first instruction.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// The calling thread's object: its CWinThread on threads AfxBeginThread or CWinThread::CreateThread started, the
// application object on the main thread, null elsewhere.
CWinThread* AfxGetThread();
