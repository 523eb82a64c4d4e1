// CWinThread and AfxBeginThread: suspended starts, priorities, who deletes the object and its handle, what the
// thread sees of itself, the application object as the main thread's, and the window maps on such threads.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

struct Job
{
    CEvent ran;                  // set by the thread function
    CEvent mayEnd{FALSE, TRUE};  // manual-reset: when set, functions that wait for it return at once
    std::atomic<int> runs{0};
    std::atomic<CWinThread*> seenThread{nullptr};
    std::atomic<DWORD> seenThreadId{0};
    std::atomic<bool> seenOwnIdInObject{false};
    std::atomic<bool> seenRunningHandle{false};
    std::atomic<int> seenPriority{THREAD_PRIORITY_ERROR_RETURN};
    UINT exitCode = 7;
};

UINT RecordAndSignal(LPVOID pParam)
{
    auto* pJob = static_cast<Job*>(pParam);
    CWinThread* pSelf = AfxGetThread();
    pJob->seenThread = pSelf;
    pJob->seenThreadId = ::GetCurrentThreadId();
    pJob->seenOwnIdInObject = pSelf && pSelf->m_nThreadID == ::GetCurrentThreadId();
    pJob->seenRunningHandle = pSelf && pSelf->m_hThread && ::WaitForSingleObject(pSelf->m_hThread, 0) == WAIT_TIMEOUT;
    pJob->seenPriority = ::GetThreadPriority(::GetCurrentThread());
    ++pJob->runs;
    pJob->ran.SetEvent();
    CSingleLock(&pJob->mayEnd).Lock(10000);
    return pJob->exitCode;
}

UINT Throw(LPVOID)
{
    throw std::runtime_error("thread function failed");
}

// A thread object whose destruction can be counted.
class CCountingThread : public CWinThread
{
public:
    using CWinThread::CWinThread;
    ~CCountingThread() override { ++destructions; }
    static inline std::atomic<int> destructions{0};
};

// A copy of a thread's handle that outlives the thread object, to wait on and to ask for the exit code.
HANDLE DuplicateThreadHandle(HANDLE hThread)
{
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), hThread, ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

DWORD ExitCodeOf(HANDLE hThread)
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeThread(hThread, &code);
    return code;
}

bool IsOpenHandle(HANDLE h)
{
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

}  // namespace

TEST(WinThread, ASuspendedThreadRunsOnlyOnceResumed)
{
    Job job;
    job.mayEnd.SetEvent();
    CWinThread* pThread = AfxBeginThread(&RecordAndSignal, &job, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    ASSERT_NE(pThread->m_hThread, nullptr);
    EXPECT_NE(pThread->m_nThreadID, 0u);

    EXPECT_FALSE(CSingleLock(&job.ran).Lock(150));
    // Suspended twice now: one resume is not enough.
    EXPECT_EQ(pThread->SuspendThread(), 1u);
    EXPECT_EQ(pThread->ResumeThread(), 2u);
    EXPECT_FALSE(CSingleLock(&job.ran).Lock(100));
    EXPECT_EQ(job.runs.load(), 0);

    EXPECT_EQ(pThread->ResumeThread(), 1u);
    EXPECT_TRUE(CSingleLock(&job.ran).Lock(10000));
    ASSERT_EQ(::WaitForSingleObject(*pThread, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(job.runs.load(), 1);
    EXPECT_EQ(job.seenThreadId.load(), pThread->m_nThreadID);
    delete pThread;
}

TEST(WinThread, TheThreadFindsItsObjectCompleteFromItsFirstInstruction)
{
    // A thread not started suspended may run before the call that starts it returns: its id and handle must be in
    // the object by then.
    struct Start
    {
        const char* how;
        CWinThread* (*start)(Job& job);
        bool suspended;
    };
    const Start starts[] = {
        {"AfxBeginThread", [](Job& job) { return AfxBeginThread(&RecordAndSignal, &job); }, false},
        {"AfxBeginThread suspended",
         [](Job& job) { return AfxBeginThread(&RecordAndSignal, &job, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED); },
         true},
        {"CreateThread",
         [](Job& job) {
             auto* pThread = new CWinThread(&RecordAndSignal, &job);
             if (pThread->CreateThread())
                 return pThread;
             delete pThread;
             return static_cast<CWinThread*>(nullptr);
         },
         false},
    };
    for (const Start& start : starts)
    {
        SCOPED_TRACE(start.how);
        Job job;
        CWinThread* pThread = start.start(job);
        ASSERT_NE(pThread, nullptr);
        // The thread cannot end (and delete its object) before mayEnd is set: time to keep a handle to wait on, so the
        // job outlives the thread.
        const HANDLE hWatch = DuplicateThreadHandle(pThread->m_hThread);
        ASSERT_NE(hWatch, nullptr);
        if (start.suspended)
            pThread->ResumeThread();
        EXPECT_TRUE(CSingleLock(&job.ran).Lock(10000));
        job.mayEnd.SetEvent();
        EXPECT_EQ(::WaitForSingleObject(hWatch, 10000), WAIT_OBJECT_0);
        ::CloseHandle(hWatch);
        // Only compared: the object is gone by now.
        EXPECT_EQ(job.seenThread.load(), pThread);
        EXPECT_TRUE(job.seenOwnIdInObject.load());
        EXPECT_TRUE(job.seenRunningHandle.load());
    }
}

TEST(WinThread, PriorityIsInPlaceBeforeTheThreadRuns)
{
    for (int priority :
         {THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL})
    {
        SCOPED_TRACE(priority);
        Job job;
        job.mayEnd.SetEvent();
        CWinThread* pThread = AfxBeginThread(&RecordAndSignal, &job, priority, 0, CREATE_SUSPENDED);
        ASSERT_NE(pThread, nullptr);
        pThread->m_bAutoDelete = FALSE;
        EXPECT_EQ(pThread->GetThreadPriority(), priority);
        pThread->ResumeThread();
        ASSERT_EQ(::WaitForSingleObject(*pThread, 10000), WAIT_OBJECT_0);
        EXPECT_EQ(job.seenPriority.load(), priority);
        delete pThread;
    }

    // And changed on a thread that is already running.
    Job job;
    CWinThread* pThread = AfxBeginThread(&RecordAndSignal, &job, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_TRUE(CSingleLock(&job.ran).Lock(10000));
    EXPECT_TRUE(pThread->SetThreadPriority(THREAD_PRIORITY_BELOW_NORMAL));
    EXPECT_EQ(pThread->GetThreadPriority(), THREAD_PRIORITY_BELOW_NORMAL);
    job.mayEnd.SetEvent();
    ASSERT_EQ(::WaitForSingleObject(*pThread, 10000), WAIT_OBJECT_0);
    delete pThread;
}

TEST(WinThread, AnAutoDeletingThreadFreesItsObjectAndHandleAsItEnds)
{
    const int before = CCountingThread::destructions;
    Job job;
    job.exitCode = 31;
    auto* pThread = new CCountingThread(&RecordAndSignal, &job);
    EXPECT_TRUE(pThread->m_bAutoDelete);
    ASSERT_TRUE(pThread->CreateThread(CREATE_SUSPENDED));
    const HANDLE hOriginal = pThread->m_hThread;
    const HANDLE hWatch = DuplicateThreadHandle(hOriginal);
    ASSERT_NE(hWatch, nullptr);
    pThread->ResumeThread();

    ASSERT_TRUE(CSingleLock(&job.ran).Lock(10000));
    EXPECT_EQ(CCountingThread::destructions - before, 0) << "deleted while its thread still runs";
    job.mayEnd.SetEvent();
    ASSERT_EQ(::WaitForSingleObject(hWatch, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(CCountingThread::destructions - before, 1);
    EXPECT_FALSE(IsOpenHandle(hOriginal));
    EXPECT_EQ(ExitCodeOf(hWatch), 31u);
    ::CloseHandle(hWatch);

    // The plain objects AfxBeginThread makes go the same way: their handle is closed when the thread ends.
    Job plainJob;
    plainJob.mayEnd.SetEvent();
    CWinThread* pPlain = AfxBeginThread(&RecordAndSignal, &plainJob, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pPlain, nullptr);
    const HANDLE hPlain = pPlain->m_hThread;
    const HANDLE hPlainWatch = DuplicateThreadHandle(hPlain);
    pPlain->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(hPlainWatch, 10000), WAIT_OBJECT_0);
    EXPECT_FALSE(IsOpenHandle(hPlain));
    ::CloseHandle(hPlainWatch);
}

TEST(WinThread, WithoutAutoDeleteTheCallerKeepsObjectAndHandle)
{
    const int before = CCountingThread::destructions;
    Job job;
    job.exitCode = 12;
    job.mayEnd.SetEvent();
    auto* pThread = new CCountingThread(&RecordAndSignal, &job);
    pThread->m_bAutoDelete = FALSE;
    ASSERT_TRUE(pThread->CreateThread());
    ASSERT_EQ(::WaitForSingleObject(*pThread, 10000), WAIT_OBJECT_0);
    ::Sleep(20);  // nothing that could still delete it runs after the handle is signalled; give it the chance anyway

    EXPECT_EQ(CCountingThread::destructions - before, 0);
    EXPECT_TRUE(IsOpenHandle(pThread->m_hThread));
    EXPECT_EQ(static_cast<HANDLE>(*pThread), pThread->m_hThread);
    EXPECT_EQ(ExitCodeOf(*pThread), 12u);
    EXPECT_EQ(pThread->m_nThreadID, job.seenThreadId.load());

    const HANDLE hThread = pThread->m_hThread;
    delete pThread;
    EXPECT_EQ(CCountingThread::destructions - before, 1);
    EXPECT_FALSE(IsOpenHandle(hThread));
}

TEST(WinThread, AReferenceKeepsAnAutoDeletingThreadsObjectUntilReleased)
{
    const int before = CCountingThread::destructions;
    Job job;
    job.exitCode = 5;
    job.mayEnd.SetEvent();
    auto* pThread = new CCountingThread(&RecordAndSignal, &job);
    ASSERT_TRUE(pThread->CreateThread(CREATE_SUSPENDED));
    EXPECT_EQ(pThread->InternalAddRef(), 2u);
    pThread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(*pThread, 10000), WAIT_OBJECT_0);

    EXPECT_EQ(CCountingThread::destructions - before, 0);
    EXPECT_EQ(ExitCodeOf(*pThread), 5u);
    EXPECT_EQ(pThread->InternalRelease(), 0u);
    EXPECT_EQ(CCountingThread::destructions - before, 1);
}

TEST(WinThread, AnExceptionFromTheThreadFunctionEndsTheThreadWithAFailure)
{
    const int before = CCountingThread::destructions;
    auto* pThread = new CCountingThread(&Throw, nullptr);
    ASSERT_TRUE(pThread->CreateThread(CREATE_SUSPENDED));
    const HANDLE hWatch = DuplicateThreadHandle(pThread->m_hThread);
    pThread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(hWatch, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(hWatch), static_cast<DWORD>(-1));
    EXPECT_EQ(CCountingThread::destructions - before, 1);  // and still cleaned up after
    ::CloseHandle(hWatch);
}

TEST(WinThread, AThreadWithoutAFunctionDoesNotStart)
{
    CCountingThread thread(nullptr, nullptr);
    thread.m_bAutoDelete = FALSE;
    EXPECT_FALSE(thread.CreateThread());
    EXPECT_EQ(thread.m_hThread, nullptr);
}

TEST(WinThread, TheApplicationObjectStandsForTheMainThread)
{
    EXPECT_EQ(AfxGetThread(), nullptr);  // no application object yet, and this thread was not started by the library
    {
        CWinApp app("Thread Test App");
        EXPECT_EQ(AfxGetThread(), &app);
        EXPECT_TRUE(app.IsKindOf(RUNTIME_CLASS(CWinThread)));
        EXPECT_FALSE(app.m_bAutoDelete);
        EXPECT_EQ(app.m_nThreadID, ::GetCurrentThreadId());
        ASSERT_NE(app.m_hThread, nullptr);
        EXPECT_NE(app.m_hThread, ::GetCurrentThread());  // a real handle, valid on any thread
        EXPECT_TRUE(IsOpenHandle(app.m_hThread));

        CWinThread* seenElsewhere = &app;
        bool mainThreadRunning = false;
        std::thread other([&] {
            seenElsewhere = AfxGetThread();
            mainThreadRunning = ::WaitForSingleObject(app.m_hThread, 0) == WAIT_TIMEOUT;
        });
        other.join();
        EXPECT_EQ(seenElsewhere, nullptr);
        EXPECT_TRUE(mainThreadRunning);

        // A library thread sees its own object, not the application's.
        Job job;
        job.mayEnd.SetEvent();
        CWinThread* pThread = AfxBeginThread(&RecordAndSignal, &job, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(pThread, nullptr);
        pThread->m_bAutoDelete = FALSE;
        pThread->ResumeThread();
        ASSERT_EQ(::WaitForSingleObject(*pThread, 10000), WAIT_OBJECT_0);
        EXPECT_EQ(job.seenThread.load(), pThread);
        delete pThread;
    }
    EXPECT_EQ(AfxGetThread(), nullptr);
}

namespace {

const UINT WM_APP_PING = WM_APP + 17;

class CPingWnd : public CWnd
{
public:
    int pings = 0;

protected:
    afx_msg LRESULT OnPing(WPARAM wParam, LPARAM)
    {
        ++pings;
        return static_cast<LRESULT>(wParam) + 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPingWnd, CWnd)
    ON_MESSAGE(WM_APP_PING, OnPing)
END_MESSAGE_MAP()

struct WindowJob
{
    CEvent created;
    CEvent mayEnd;
    std::atomic<HWND> hWnd{nullptr};
    std::atomic<bool> boundOnItsThread{false};
    std::atomic<bool> handledOnItsThread{false};
    std::atomic<bool> temporaryWrapper{false};
    std::atomic<bool> destroyed{false};
};

UINT RunWindow(LPVOID pParam)
{
    auto* pJob = static_cast<WindowJob*>(pParam);
    CPingWnd wnd;
    // A message-only window: nothing is shown.
    if (!wnd.CreateEx(0, AfxRegisterWndClass(0), "thread window", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr))
    {
        pJob->created.SetEvent();
        return 1;
    }
    pJob->hWnd = wnd.m_hWnd;
    pJob->boundOnItsThread = CWnd::FromHandlePermanent(wnd.m_hWnd) == &wnd;
    pJob->handledOnItsThread = wnd.SendMessage(WM_APP_PING, 41) == 42 && wnd.pings == 1;
    CWnd* pDesktop = CWnd::FromHandle(::GetDesktopWindow());
    pJob->temporaryWrapper = pDesktop && pDesktop != &wnd && pDesktop->m_hWnd == ::GetDesktopWindow();
    pJob->created.SetEvent();
    CSingleLock(&pJob->mayEnd).Lock(10000);
    pJob->destroyed = wnd.DestroyWindow() && wnd.m_hWnd == nullptr;
    return 0;
}

}  // namespace

TEST(WinThread, WindowMapsWorkOnLibraryThreadsAndStayWithTheirThread)
{
    WindowJob job;
    CWinThread* pThread = AfxBeginThread(&RunWindow, &job, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_TRUE(CSingleLock(&job.created).Lock(10000));
    ASSERT_NE(job.hWnd.load(), nullptr);
    EXPECT_TRUE(job.boundOnItsThread.load());
    EXPECT_TRUE(job.handledOnItsThread.load());
    EXPECT_TRUE(job.temporaryWrapper.load());
    // Another thread's map knows nothing of the window.
    EXPECT_EQ(CWnd::FromHandlePermanent(job.hWnd.load()), nullptr);

    job.mayEnd.SetEvent();
    ASSERT_EQ(::WaitForSingleObject(*pThread, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(job.destroyed.load());
    EXPECT_EQ(ExitCodeOf(*pThread), 0u);
    delete pThread;
}
