// CCriticalSection, the lock the library uses where std::mutex is not available: it keeps other threads out while
// held, lets its owner enter again, and std::lock_guard releases it.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace {

struct SharedCounter
{
    CCriticalSection lock;
    long value = 0;  // deliberately not atomic: only the lock keeps the increments whole
    int rounds = 0;
};

DWORD WINAPI CountUnderTheLock(LPVOID parameter)
{
    auto* counter = static_cast<SharedCounter*>(parameter);
    for (int i = 0; i < counter->rounds; ++i)
    {
        std::lock_guard<CCriticalSection> guard(counter->lock);
        const long seen = counter->value;
        if (i % 64 == 0)
            ::SwitchToThread();  // widen the window between reading and writing
        counter->value = seen + 1;
    }
    return 0;
}

TEST(CriticalSection, IncrementsOfSeveralThreadsAreNotLost)
{
    SharedCounter counter;
    counter.rounds = 20000;
    std::vector<HANDLE> threads;
    for (int i = 0; i < 4; ++i)
    {
        HANDLE thread = ::CreateThread(nullptr, 0, CountUnderTheLock, &counter, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        threads.push_back(thread);
    }
    EXPECT_EQ(::WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE thread : threads)
        ::CloseHandle(thread);
    EXPECT_EQ(counter.value, 4 * 20000);
}

DWORD WINAPI TryFromAnotherThread(LPVOID parameter)
{
    auto* lock = static_cast<CCriticalSection*>(parameter);
    if (!lock->try_lock())
        return 0;
    lock->unlock();
    return 1;
}

// What try_lock answers on a second thread: 1 when it got the lock.
DWORD TryOnAnotherThread(CCriticalSection& lock)
{
    HANDLE thread = ::CreateThread(nullptr, 0, TryFromAnotherThread, &lock, 0, nullptr);
    EXPECT_NE(thread, nullptr);
    EXPECT_EQ(::WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD result = 99;
    ::GetExitCodeThread(thread, &result);
    ::CloseHandle(thread);
    return result;
}

TEST(CriticalSection, HeldLockKeepsOthersOutAndLetsItsOwnerIn)
{
    CCriticalSection lock;
    EXPECT_EQ(TryOnAnotherThread(lock), 1u);
    {
        std::lock_guard<CCriticalSection> guard(lock);
        EXPECT_EQ(TryOnAnotherThread(lock), 0u);
        ASSERT_TRUE(lock.try_lock());  // the owner enters again
        lock.unlock();
        EXPECT_EQ(TryOnAnotherThread(lock), 0u) << "one unlock must not release both entries";
    }
    EXPECT_EQ(TryOnAnotherThread(lock), 1u) << "the guard's unlock releases it";
}

}  // namespace
