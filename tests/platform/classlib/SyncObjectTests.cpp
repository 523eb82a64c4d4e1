// CEvent, CCriticalSection and CSingleLock: timed locks, event states, named events, mutual exclusion between
// threads, and a lock's hold ending with its scope.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

bool IsSignalled(const CEvent& event)
{
    return ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

// Whether another thread can take the object within timeoutMs (and gives it back at once).
bool OtherThreadCanLock(CSyncObject& object, DWORD timeoutMs = 0)
{
    bool locked = false;
    std::thread other([&] {
        CSingleLock lock(&object);
        locked = lock.Lock(timeoutMs) != FALSE;
    });
    other.join();
    return locked;
}

std::string UniqueName(const char* what)
{
    return "Local\\osm-classlib-" + std::string(what) + "-" + std::to_string(::GetCurrentProcessId());
}

}  // namespace

TEST(SyncObject, TimedLockOnAnEventWaitsOutItsTimeoutOrSucceedsAtOnce)
{
    struct Case
    {
        BOOL manualReset;
        BOOL signalled;
        BOOL locks;
        bool signalledAfter;  // auto-reset events are taken by the lock that succeeds
    };
    const Case cases[] = {
        {FALSE, FALSE, FALSE, false},
        {TRUE, FALSE, FALSE, false},
        {FALSE, TRUE, TRUE, false},
        {TRUE, TRUE, TRUE, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "manual " << c.manualReset << ", signalled " << c.signalled);
        CEvent event(c.signalled, c.manualReset);
        CSingleLock lock(&event);
        const DWORD start = ::GetTickCount();
        EXPECT_EQ(lock.Lock(50), c.locks);
        const DWORD elapsed = ::GetTickCount() - start;
        EXPECT_EQ(lock.IsLocked(), c.locks);
        if (c.locks)
        {
            EXPECT_LT(elapsed, 40u);
        }
        else
        {
            EXPECT_GE(elapsed, 40u);
            EXPECT_LT(elapsed, 1000u);
        }
        EXPECT_EQ(IsSignalled(event), c.signalledAfter);
    }
}

TEST(SyncObject, EventOperationsLeaveTheStateTheyPromise)
{
    enum class Op
    {
        Set,
        Reset,
        Pulse
    };
    struct Case
    {
        BOOL signalled;
        Op op;
        bool signalledAfter;
    };
    // Manual-reset, so looking at the state does not change it.
    const Case cases[] = {
        {FALSE, Op::Set, true},    {TRUE, Op::Set, true},    {TRUE, Op::Reset, false},
        {FALSE, Op::Reset, false}, {TRUE, Op::Pulse, false}, {FALSE, Op::Pulse, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "signalled " << c.signalled << ", op " << static_cast<int>(c.op));
        CEvent event(c.signalled, TRUE);
        ASSERT_EQ(IsSignalled(event), c.signalled != FALSE);
        BOOL done = FALSE;
        switch (c.op)
        {
        case Op::Set:
            done = event.SetEvent();
            break;
        case Op::Reset:
            done = event.ResetEvent();
            break;
        case Op::Pulse:
            done = event.PulseEvent();
            break;
        }
        EXPECT_TRUE(done);
        EXPECT_EQ(IsSignalled(event), c.signalledAfter);
        EXPECT_TRUE(event.Unlock());
    }
}

TEST(SyncObject, AnEventSetOnAnotherThreadEndsTheWait)
{
    CEvent event;
    std::thread setter([&] {
        ::Sleep(30);
        event.SetEvent();
    });
    const DWORD start = ::GetTickCount();
    EXPECT_TRUE(CSingleLock(&event).Lock(10000));
    EXPECT_LT(::GetTickCount() - start, 5000u);
    setter.join();
    EXPECT_FALSE(IsSignalled(event));
}

TEST(SyncObject, EventsOfOneNameAreOneEvent)
{
    const std::string name = UniqueName("event");
    CEvent first(FALSE, TRUE, name.c_str());
    CEvent second(TRUE, FALSE, name.c_str());  // already there: the first one's settings hold
    EXPECT_NE(first.m_hObject, second.m_hObject);
    EXPECT_FALSE(IsSignalled(second));
    first.SetEvent();
    EXPECT_TRUE(CSingleLock(&second).Lock(0));
    EXPECT_TRUE(IsSignalled(second));  // manual-reset, as made
    second.ResetEvent();
    EXPECT_FALSE(IsSignalled(first));
}

TEST(SyncObject, AnEventThatCannotBeMadeThrowsTheSystemsError)
{
    // The name belongs to a mutex already.
    const std::string name = UniqueName("taken");
    HANDLE hMutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(hMutex, nullptr);
    try
    {
        CEvent event(FALSE, FALSE, name.c_str());
        ADD_FAILURE() << "made an event over a mutex's name";
    }
    catch (const std::system_error& e)
    {
        EXPECT_EQ(e.code().value(), ERROR_INVALID_HANDLE);
    }
    ::CloseHandle(hMutex);
}

TEST(SyncObject, ObjectsExposeTheirHandles)
{
    CEvent event;
    EXPECT_NE(event.m_hObject, nullptr);
    EXPECT_EQ(static_cast<HANDLE>(event), event.m_hObject);
    CCriticalSection section;
    EXPECT_EQ(section.m_hObject, nullptr);
    EXPECT_EQ(static_cast<CRITICAL_SECTION*>(section), &section.m_sect);
    for (const CObject* pObject : {static_cast<const CObject*>(&event), static_cast<const CObject*>(&section)})
        EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CSyncObject)));
}

TEST(SyncObject, ACriticalSectionKeepsOutASecondThreadWhileHeld)
{
    CCriticalSection section;
    CEvent entered;
    CEvent mayLeave;
    std::atomic<bool> timedLockFailed{false};
    std::atomic<DWORD> timedLockMs{0};
    std::thread second;
    {
        CSingleLock held(&section, TRUE);
        ASSERT_TRUE(held.IsLocked());
        second = std::thread([&] {
            CSingleLock lock(&section);
            const DWORD start = ::GetTickCount();
            timedLockFailed = !lock.Lock(50);
            timedLockMs = ::GetTickCount() - start;
            if (lock.Lock())
            {  // waits for the first thread
                entered.SetEvent();
                CSingleLock(&mayLeave).Lock(10000);
            }
        });
        EXPECT_FALSE(CSingleLock(&entered).Lock(200));
        EXPECT_TRUE(timedLockFailed.load());
        EXPECT_GE(timedLockMs.load(), 40u);
        EXPECT_LT(timedLockMs.load(), 1000u);
    }  // the hold ends with the scope
    EXPECT_TRUE(CSingleLock(&entered).Lock(10000));
    // Now the second thread holds it: this one is kept out in turn.
    EXPECT_FALSE(OtherThreadCanLock(section));
    mayLeave.SetEvent();
    second.join();
    EXPECT_TRUE(OtherThreadCanLock(section));
}

TEST(SyncObject, ACriticalSectionKeepsASharedCountExact)
{
    const int kThreads = 4;
    const int kRounds = 2000;
    CCriticalSection section;
    long count = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i)
            {
                CSingleLock lock(&section, TRUE);
                const long seen = count;
                ::SwitchToThread();  // invite another thread into the gap a missing lock would leave
                count = seen + 1;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(count, static_cast<long>(kThreads) * kRounds);
}

TEST(SingleLock, HoldsOnceAndLetsGoOnUnlockOrScopeEnd)
{
    CCriticalSection section;
    {
        CSingleLock lock(&section);
        EXPECT_FALSE(lock.IsLocked());
        EXPECT_TRUE(OtherThreadCanLock(section));
        EXPECT_TRUE(lock.Lock());
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_FALSE(OtherThreadCanLock(section));
        // A second Lock keeps the one hold: a single Unlock frees the section.
        EXPECT_TRUE(lock.Lock(0));
        EXPECT_TRUE(lock.Unlock());
        EXPECT_FALSE(lock.IsLocked());
        EXPECT_TRUE(OtherThreadCanLock(section));
        EXPECT_TRUE(lock.Unlock());  // nothing held: still fine
    }
    {
        CSingleLock lock(&section, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_FALSE(OtherThreadCanLock(section, 30));
    }
    EXPECT_TRUE(OtherThreadCanLock(section));

    // The owner may take it again through another lock; each hold is given back.
    {
        CSingleLock outer(&section, TRUE);
        {
            CSingleLock inner(&section);
            EXPECT_TRUE(inner.Lock(0));
        }
        EXPECT_FALSE(OtherThreadCanLock(section));
    }
    EXPECT_TRUE(OtherThreadCanLock(section));
}
