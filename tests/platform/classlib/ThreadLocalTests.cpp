// CThreadLocal: one object per thread, made on first use and destroyed on its own thread as that thread ends, for
// threads started every way a program starts them; the main thread's objects at exit (through a probe program).
#include "classlib/ClassLib.h"
#include "ProgramDriver.h"

#include <gtest/gtest.h>

#include <process.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// Counts the objects of one per-thread type; each test has its own type so objects the main thread keeps from
// other tests do not blur the counts.
template <int Tag> struct CountedPerThread
{
    static inline std::atomic<int> made{0};
    static inline std::atomic<int> destroyed{0};
    static inline std::atomic<DWORD> lastDestroyedOn{0};

    CountedPerThread() : ownerThread(::GetCurrentThreadId()) { ++made; }
    ~CountedPerThread()
    {
        lastDestroyedOn = ::GetCurrentThreadId();
        destroyedOnOwner = destroyedOnOwner && lastDestroyedOn == ownerThread;
        ++destroyed;
    }

    static inline std::atomic<bool> destroyedOnOwner{true};
    DWORD ownerThread;
    int value = 0;
};

// The ways programs start threads.
enum class StartedBy
{
    CreateThread,
    BeginThreadEx,
    AfxBeginThread,
    StdThread,
};

const char* Name(StartedBy how)
{
    switch (how)
    {
    case StartedBy::CreateThread:
        return "CreateThread";
    case StartedBy::BeginThreadEx:
        return "_beginthreadex";
    case StartedBy::AfxBeginThread:
        return "AfxBeginThread";
    case StartedBy::StdThread:
        return "std::thread";
    }
    return "?";
}

// Runs a body on a new thread started one of those ways; Join waits until the thread has ended completely.
class WorkerThread
{
public:
    WorkerThread(StartedBy how, std::function<void()> body) : m_body(std::move(body))
    {
        switch (how)
        {
        case StartedBy::CreateThread:
            m_hThread = ::CreateThread(nullptr, 0, &ViaCreateThread, this, 0, nullptr);
            break;
        case StartedBy::BeginThreadEx:
            m_hThread = reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &ViaBeginThreadEx, this, 0, nullptr));
            break;
        case StartedBy::AfxBeginThread:
        {
            CWinThread* pThread = AfxBeginThread(&ViaAfxBeginThread, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
            if (pThread)
            {
                pThread->m_bAutoDelete = FALSE;
                m_pWinThread.reset(pThread);
                m_hThread = pThread->m_hThread;
                pThread->ResumeThread();
            }
            break;
        }
        case StartedBy::StdThread:
            m_stdThread = std::thread([this] { m_body(); });
            break;
        }
    }
    ~WorkerThread() { Join(); }

    bool Started() const { return m_hThread != nullptr || m_stdThread.joinable(); }

    // Thread-detach callbacks included: the thread's handle is signalled only after them.
    bool Join()
    {
        if (m_stdThread.joinable())
        {
            m_stdThread.join();
            return true;
        }
        if (!m_hThread)
            return false;
        const bool ended = ::WaitForSingleObject(m_hThread, 10000) == WAIT_OBJECT_0;
        if (m_pWinThread)
            m_pWinThread.reset();  // closes the handle
        else
            ::CloseHandle(m_hThread);
        m_hThread = nullptr;
        return ended;
    }

private:
    static DWORD WINAPI ViaCreateThread(LPVOID p)
    {
        static_cast<WorkerThread*>(p)->m_body();
        return 0;
    }
    static unsigned __stdcall ViaBeginThreadEx(void* p)
    {
        static_cast<WorkerThread*>(p)->m_body();
        return 0;
    }
    static UINT ViaAfxBeginThread(LPVOID p)
    {
        static_cast<WorkerThread*>(p)->m_body();
        return 0;
    }

    std::function<void()> m_body;
    HANDLE m_hThread = nullptr;
    std::unique_ptr<CWinThread> m_pWinThread;
    std::thread m_stdThread;
};

const StartedBy kAllWays[] = {StartedBy::CreateThread, StartedBy::BeginThreadEx, StartedBy::AfxBeginThread,
                              StartedBy::StdThread};

using Separate = CountedPerThread<1>;
CThreadLocal<Separate> g_separate;

using Ending = CountedPerThread<2>;
CThreadLocal<Ending> g_ending;

// Teardown order: Older is made before Newer on the same thread.
struct TeardownLog
{
    static inline std::vector<std::string> entries;
    static inline CCriticalSection lock;
    static void Add(std::string entry)
    {
        CSingleLock hold(&lock, TRUE);
        entries.push_back(std::move(entry));
    }
};

struct Older
{
    bool alive = true;
    ~Older();
};
struct Newer
{
    ~Newer();
};
CThreadLocal<Older> g_older;
CThreadLocal<Newer> g_newer;

Older::~Older()
{
    alive = false;
    TeardownLog::Add(std::string("older; newer ") + (g_newer.GetDataNA() ? "present" : "gone"));
}

Newer::~Newer()
{
    const Older* pOlder = g_older.GetDataNA();
    TeardownLog::Add(std::string("newer; older ") + (pOlder && pOlder->alive ? "alive" : "gone"));
}

// An object first asked for by another object's destructor, while the thread ends.
using LateComer = CountedPerThread<3>;
CThreadLocal<LateComer> g_lateComer;
struct AsksForLateComer
{
    ~AsksForLateComer() { g_lateComer->value = 1; }
};
CThreadLocal<AsksForLateComer> g_asksForLateComer;

// What a per-thread object's destructor sees of the C++ thread_local variables of its thread.
thread_local int t_marker = 0;
struct ReadsMarker
{
    static inline std::atomic<int> seen{-1};
    ~ReadsMarker() { seen = t_marker; }
};
CThreadLocal<ReadsMarker> g_readsMarker;

using Untouched = CountedPerThread<4>;
CThreadLocal<Untouched> g_untouched;

CThreadLocal<int> g_errorProbe;

}  // namespace

TEST(ThreadLocal, EachThreadHasItsOwnObjectMadeOnceOnFirstUse)
{
    Separate* pMain = g_separate.GetData();
    ASSERT_NE(pMain, nullptr);
    EXPECT_EQ(g_separate.GetData(), pMain);
    EXPECT_EQ(&*g_separate, pMain);
    EXPECT_EQ(g_separate.GetDataNA(), pMain);
    pMain->value = 7;
    const int madeBefore = Separate::made;

    // Two workers hold their objects at the same time, so their addresses cannot coincide by reuse.
    const int kWorkers = 2;
    CEvent allHave(FALSE, TRUE);
    std::atomic<int> have{0};
    std::vector<Separate*> seen(kWorkers, nullptr);
    std::vector<int> initialValues(kWorkers, -1);
    std::vector<char> stable(kWorkers, false);
    std::vector<std::unique_ptr<WorkerThread>> workers;
    for (int i = 0; i < kWorkers; ++i)
    {
        workers.push_back(std::make_unique<WorkerThread>(StartedBy::CreateThread, [&, i] {
            Separate* p = g_separate.GetData();
            seen[i] = p;
            initialValues[i] = p->value;
            p->value = 100 + i;
            if (++have == kWorkers)
                allHave.SetEvent();
            CSingleLock(&allHave).Lock(10000);
            stable[i] = g_separate.GetData() == p && p->value == 100 + i;
        }));
    }
    for (auto& worker : workers)
        ASSERT_TRUE(worker->Join());

    std::set<Separate*> distinct{pMain, seen[0], seen[1]};
    EXPECT_EQ(distinct.size(), 3u);
    for (int i = 0; i < kWorkers; ++i)
    {
        EXPECT_EQ(initialValues[i], 0) << "worker " << i << " saw another thread's object";
        EXPECT_TRUE(stable[i]) << "worker " << i;
    }
    EXPECT_EQ(Separate::made - madeBefore, kWorkers);
    EXPECT_EQ(g_separate.GetData(), pMain);
    EXPECT_EQ(pMain->value, 7);
}

TEST(ThreadLocal, AWorkersObjectLivesWhileItRunsAndGoesOnItsThreadWhenItEnds)
{
    for (StartedBy how : kAllWays)
    {
        SCOPED_TRACE(Name(how));
        const int madeBefore = Ending::made;
        const int destroyedBefore = Ending::destroyed;
        CEvent touched;
        CEvent mayEnd;
        std::atomic<DWORD> workerId{0};
        WorkerThread worker(how, [&] {
            workerId = ::GetCurrentThreadId();
            g_ending->value = 1;
            touched.SetEvent();
            CSingleLock(&mayEnd).Lock(10000);
        });
        ASSERT_TRUE(worker.Started());
        ASSERT_TRUE(CSingleLock(&touched).Lock(10000));
        EXPECT_EQ(Ending::made - madeBefore, 1);
        ::Sleep(20);
        EXPECT_EQ(Ending::destroyed - destroyedBefore, 0) << "destroyed while its thread still runs";

        mayEnd.SetEvent();
        ASSERT_TRUE(worker.Join());
        EXPECT_EQ(Ending::destroyed - destroyedBefore, 1);
        EXPECT_EQ(Ending::lastDestroyedOn.load(), workerId.load());
        EXPECT_TRUE(Ending::destroyedOnOwner.load());
    }
}

TEST(ThreadLocal, AThreadThatNeverAsksMakesNoObject)
{
    for (StartedBy how : kAllWays)
    {
        SCOPED_TRACE(Name(how));
        const int madeBefore = Untouched::made;
        bool sawNone = false;
        WorkerThread worker(how, [&] { sawNone = g_untouched.GetDataNA() == nullptr; });
        ASSERT_TRUE(worker.Join());
        EXPECT_TRUE(sawNone);
        EXPECT_EQ(Untouched::made - madeBefore, 0);
    }
}

TEST(ThreadLocal, ObjectsGoNewestFirstWhileOlderOnesAreStillThere)
{
    for (StartedBy how : kAllWays)
    {
        SCOPED_TRACE(Name(how));
        TeardownLog::entries.clear();
        WorkerThread worker(how, [] {
            g_older.GetData();
            g_newer.GetData();
        });
        ASSERT_TRUE(worker.Join());
        EXPECT_EQ(TeardownLog::entries, (std::vector<std::string>{"newer; older alive", "older; newer gone"}));
    }
}

TEST(ThreadLocal, AnObjectMadeWhileTheThreadEndsIsDestroyedToo)
{
    for (StartedBy how : kAllWays)
    {
        SCOPED_TRACE(Name(how));
        const int madeBefore = LateComer::made;
        const int destroyedBefore = LateComer::destroyed;
        WorkerThread worker(how, [] { g_asksForLateComer.GetData(); });
        ASSERT_TRUE(worker.Join());
        EXPECT_EQ(LateComer::made - madeBefore, 1);
        EXPECT_EQ(LateComer::destroyed - destroyedBefore, 1);
    }
}

TEST(ThreadLocal, DestructorsStillSeeTheThreadsRuntimeVariables)
{
    // The cleanup runs before the runtime frees the thread's thread_local storage; afterwards the variable would
    // read as freshly made (0). Not for std::thread: its runtime frees that storage in its own start routine, before
    // any detach callback runs.
    for (StartedBy how : {StartedBy::CreateThread, StartedBy::BeginThreadEx, StartedBy::AfxBeginThread})
    {
        SCOPED_TRACE(Name(how));
        ReadsMarker::seen = -1;
        WorkerThread worker(how, [] {
            g_readsMarker.GetData();
            t_marker = 42;
        });
        ASSERT_TRUE(worker.Join());
        EXPECT_EQ(ReadsMarker::seen.load(), 42);
    }
}

TEST(ThreadLocal, LookupsKeepTheThreadsLastError)
{
    WorkerThread worker(StartedBy::CreateThread, [] {
        struct Step
        {
            const char* what;
            std::function<void()> run;
        };
        const Step steps[] = {
            {"first use", [] { g_errorProbe.GetData(); }},
            {"later use", [] { g_errorProbe.GetData(); }},
            {"peek", [] { g_errorProbe.GetDataNA(); }},
        };
        for (const Step& step : steps)
        {
            ::SetLastError(ERROR_FILE_NOT_FOUND);
            step.run();
            EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << step.what;
        }
    });
    ASSERT_TRUE(worker.Join());
}

TEST(ThreadLocal, TheMainThreadsObjectsGoWhenTheProgramExits)
{
    DWORD exitCode = 1;
    const std::string output = osm::test::RunProgramBeside("classlib_thread_exit_probe.exe", &exitCode);

    // The probe prints its main thread's id, then returns from main; its objects' destructors print as they go.
    EXPECT_EQ(exitCode, 0u) << output;
    const std::string::size_type idEnd = output.find('\n');
    ASSERT_EQ(output.compare(0, 5, "main "), 0) << output;
    const std::string mainId = output.substr(5, idEnd - 5);
    EXPECT_EQ(output.substr(idEnd + 1), "worker object gone on its thread\n"
                                        "main thread returns\n"
                                        "newer object gone on thread " +
                                            mainId +
                                            "\n"
                                            "older object gone on thread " +
                                            mainId + "\n");
}
