// CCmdTarget's reference count: the counts the calls return, one final release however the object is touched while it
// goes, and exact counts when several threads add and release at once.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Where a counted target takes and gives back a reference of its own while it goes away.
enum class ReenterIn
{
    Nowhere,
    FinalRelease,
    Destructor,
    Both,
};

struct Census
{
    int finalReleases = 0;
    int destructions = 0;
    DWORD countSeenInFinalRelease = 0;
    DWORD countSeenInDestructor = 0;
};

class CCountedTarget : public CCmdTarget
{
public:
    CCountedTarget(Census& census, ReenterIn reenter) : m_census(census), m_reenter(reenter) {}
    ~CCountedTarget() override
    {
        ++m_census.destructions;
        m_census.countSeenInDestructor = static_cast<DWORD>(m_dwRef);
        if (m_reenter == ReenterIn::Destructor || m_reenter == ReenterIn::Both)
            TouchReference();
    }

    void OnFinalRelease() override
    {
        ++m_census.finalReleases;
        m_census.countSeenInFinalRelease = static_cast<DWORD>(m_dwRef);
        if (m_reenter == ReenterIn::FinalRelease || m_reenter == ReenterIn::Both)
            TouchReference();
        CCmdTarget::OnFinalRelease();
    }

private:
    // What a handler run during the teardown might do: hold the object for a moment.
    void TouchReference()
    {
        InternalAddRef();
        InternalRelease();
    }

    Census& m_census;
    ReenterIn m_reenter;
};

// Keeps the object when the last reference goes: a target that lives on the stack or in a pool.
class CPooledTarget : public CCmdTarget
{
public:
    int finalReleases = 0;
    void OnFinalRelease() override { ++finalReleases; }
};

}  // namespace

TEST(RefCount, CountsStartAtOneAndEachCallReturnsTheNewCount)
{
    Census census;
    auto* pTarget = new CCountedTarget(census, ReenterIn::Nowhere);
    EXPECT_EQ(pTarget->m_dwRef, 1);
    EXPECT_EQ(pTarget->InternalAddRef(), 2u);
    EXPECT_EQ(pTarget->InternalAddRef(), 3u);
    EXPECT_EQ(pTarget->InternalRelease(), 2u);
    EXPECT_EQ(pTarget->InternalAddRef(), 3u);
    EXPECT_EQ(pTarget->InternalRelease(), 2u);
    EXPECT_EQ(pTarget->InternalRelease(), 1u);
    EXPECT_EQ(census.finalReleases, 0);
    EXPECT_EQ(census.destructions, 0);

    EXPECT_EQ(pTarget->InternalRelease(), 0u);
    EXPECT_EQ(census.finalReleases, 1);
    EXPECT_EQ(census.destructions, 1);
}

TEST(RefCount, LastReleaseDeletesOnceWhateverTheTeardownDoesWithTheCount)
{
    for (ReenterIn reenter : {ReenterIn::Nowhere, ReenterIn::FinalRelease, ReenterIn::Destructor, ReenterIn::Both})
    {
        SCOPED_TRACE(static_cast<int>(reenter));
        Census census;
        auto* pTarget = new CCountedTarget(census, reenter);
        pTarget->InternalAddRef();
        EXPECT_EQ(pTarget->InternalRelease(), 1u);
        EXPECT_EQ(pTarget->InternalRelease(), 0u);
        EXPECT_EQ(census.finalReleases, 1);
        EXPECT_EQ(census.destructions, 1);
        // Held at 1 for the whole teardown: that is what keeps a nested release above 0.
        EXPECT_EQ(census.countSeenInFinalRelease, 1u);
        EXPECT_EQ(census.countSeenInDestructor, 1u);
    }
}

TEST(RefCount, TargetsNobodyReleasesAreNeverDeleted)
{
    // Windows and dialogs live as members and locals: constructing and destroying them must not involve the count.
    Census census;
    {
        CCountedTarget local(census, ReenterIn::Nowhere);
        local.InternalAddRef();
        local.InternalRelease();
    }
    EXPECT_EQ(census.finalReleases, 0);
    EXPECT_EQ(census.destructions, 1);

    CWnd wnd;
    EXPECT_EQ(wnd.m_dwRef, 1);
}

TEST(RefCount, AnOverrideThatKeepsTheObjectFindsTheCountBackAtOne)
{
    CPooledTarget target;
    EXPECT_EQ(target.InternalRelease(), 0u);
    EXPECT_EQ(target.finalReleases, 1);
    EXPECT_EQ(target.m_dwRef, 1);

    // Usable again: the next cycle ends in one more final release.
    EXPECT_EQ(target.InternalAddRef(), 2u);
    EXPECT_EQ(target.InternalRelease(), 1u);
    EXPECT_EQ(target.InternalRelease(), 0u);
    EXPECT_EQ(target.finalReleases, 2);
}

TEST(RefCount, ConcurrentAddRefAndReleaseEndAtTheExactCount)
{
    const int kThreads = 4;
    const int kRounds = 20000;
    const int kKeptPerThread = 3;
    Census census;
    auto* pTarget = new CCountedTarget(census, ReenterIn::Nowhere);

    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back([&] {
            while (!go.load())
                std::this_thread::yield();
            for (int i = 0; i < kRounds; ++i)
            {
                pTarget->InternalAddRef();
                pTarget->InternalAddRef();
                pTarget->InternalRelease();
                pTarget->InternalRelease();
            }
            for (int i = 0; i < kKeptPerThread; ++i)
                pTarget->InternalAddRef();
        });
    }
    go = true;
    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ(pTarget->m_dwRef, 1 + kThreads * kKeptPerThread);
    EXPECT_EQ(census.destructions, 0);
    for (int i = 0; i < kThreads * kKeptPerThread; ++i)
        pTarget->InternalRelease();
    EXPECT_EQ(pTarget->InternalRelease(), 0u);
    EXPECT_EQ(census.destructions, 1);
}

TEST(RefCount, ConcurrentLastReleasesDeleteExactlyOnce)
{
    const int kThreads = 4;
    for (int attempt = 0; attempt < 200; ++attempt)
    {
        Census census;
        auto* pTarget = new CCountedTarget(census, ReenterIn::Both);
        for (int i = 1; i < kThreads; ++i)
            pTarget->InternalAddRef();

        std::atomic<int> ready{0};
        std::atomic<int> sawZero{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
        {
            threads.emplace_back([&] {
                ++ready;
                while (ready.load() < kThreads)
                    std::this_thread::yield();
                if (pTarget->InternalRelease() == 0)
                    ++sawZero;
            });
        }
        for (auto& thread : threads)
            thread.join();
        ASSERT_EQ(sawZero.load(), 1) << "attempt " << attempt;
        ASSERT_EQ(census.finalReleases, 1) << "attempt " << attempt;
        ASSERT_EQ(census.destructions, 1) << "attempt " << attempt;
    }
}
