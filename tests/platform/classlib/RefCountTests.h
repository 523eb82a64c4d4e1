// The reference count every shared object of the library keeps (CRefCount): the counts the calls return, one final
// release however the object is touched while it goes, an owner that keeps the object, and exact counts when
// several threads add and release at once. Written once over the kind of object; each test program that links a
// kind instantiates it:
//
//   template <> struct RefCountKind<CThing>
//   {
//       static LONG AddRef(CThing* object);     // the new count
//       static LONG Release(CThing* object);    // the new count, 0 for the last reference
//       static LONG Count(const CThing* object);
//   };
//   using Kinds = testing::Types<CThing>;
//   INSTANTIATE_TYPED_TEST_SUITE_P(Thing, RefCountTest, Kinds);
//
// The kind must be default-constructible, have a virtual destructor and a virtual OnFinalRelease that deletes it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

template <class Base> struct RefCountKind;

namespace ref_count_test {

// Where a counted object takes and gives back a reference of its own while it goes away.
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
    LONG countSeenInFinalRelease = 0;
    LONG countSeenInDestructor = 0;
};

template <class Base> class CountedObject : public Base
{
public:
    CountedObject(Census& census, ReenterIn reenter) : m_census(census), m_reenter(reenter) {}
    ~CountedObject() override
    {
        ++m_census.destructions;
        m_census.countSeenInDestructor = RefCountKind<Base>::Count(this);
        if (m_reenter == ReenterIn::Destructor || m_reenter == ReenterIn::Both)
            TouchReference();
    }

    void OnFinalRelease() override
    {
        // A second final release is counted, not acted on: a count without the guard fails the checks below
        // instead of freeing the object twice.
        if (++m_census.finalReleases > 1)
            return;
        m_census.countSeenInFinalRelease = RefCountKind<Base>::Count(this);
        if (m_reenter == ReenterIn::FinalRelease || m_reenter == ReenterIn::Both)
            TouchReference();
        Base::OnFinalRelease();
    }

private:
    // What a handler run during the teardown might do: hold the object for a moment.
    void TouchReference()
    {
        RefCountKind<Base>::AddRef(this);
        RefCountKind<Base>::Release(this);
    }

    Census& m_census;
    ReenterIn m_reenter;
};

// Keeps the object when the last reference goes: an object that lives on the stack or in a pool.
template <class Base> class PooledObject : public Base
{
public:
    int finalReleases = 0;

protected:
    void OnFinalRelease() override { ++finalReleases; }
};

}  // namespace ref_count_test

template <class Base> class RefCountTest : public testing::Test
{
protected:
    using Kind = RefCountKind<Base>;
    using Counted = ref_count_test::CountedObject<Base>;
    using Pooled = ref_count_test::PooledObject<Base>;
    using Census = ref_count_test::Census;
    using ReenterIn = ref_count_test::ReenterIn;
};

TYPED_TEST_SUITE_P(RefCountTest);

TYPED_TEST_P(RefCountTest, CountsStartAtOneAndEachCallReturnsTheNewCount)
{
    using Kind = typename TestFixture::Kind;
    typename TestFixture::Census census;
    auto* object = new typename TestFixture::Counted(census, TestFixture::ReenterIn::Nowhere);
    EXPECT_EQ(Kind::Count(object), 1);
    EXPECT_EQ(Kind::AddRef(object), 2);
    EXPECT_EQ(Kind::AddRef(object), 3);
    EXPECT_EQ(Kind::Release(object), 2);
    EXPECT_EQ(Kind::AddRef(object), 3);
    EXPECT_EQ(Kind::Release(object), 2);
    EXPECT_EQ(Kind::Release(object), 1);
    EXPECT_EQ(census.finalReleases, 0);
    EXPECT_EQ(census.destructions, 0);

    EXPECT_EQ(Kind::Release(object), 0);
    EXPECT_EQ(census.finalReleases, 1);
    EXPECT_EQ(census.destructions, 1);
}

// An add-and-release while the object goes (a handler the teardown runs holding it for a moment) must not start a
// second final release: the object would be freed twice.
TYPED_TEST_P(RefCountTest, LastReleaseDeletesOnceWhateverTheTeardownDoesWithTheCount)
{
    using Kind = typename TestFixture::Kind;
    using ReenterIn = typename TestFixture::ReenterIn;
    for (ReenterIn reenter : {ReenterIn::Nowhere, ReenterIn::FinalRelease, ReenterIn::Destructor, ReenterIn::Both})
    {
        SCOPED_TRACE(static_cast<int>(reenter));
        typename TestFixture::Census census;
        auto* object = new typename TestFixture::Counted(census, reenter);
        Kind::AddRef(object);
        EXPECT_EQ(Kind::Release(object), 1);
        EXPECT_EQ(Kind::Release(object), 0);
        EXPECT_EQ(census.finalReleases, 1);
        EXPECT_EQ(census.destructions, 1);
        // Held at 1 for the whole teardown: that is what keeps a nested release above 0.
        EXPECT_EQ(census.countSeenInFinalRelease, 1);
        EXPECT_EQ(census.countSeenInDestructor, 1);
    }
}

TYPED_TEST_P(RefCountTest, ObjectsNobodyReleasesAreNeverDeleted)
{
    // Objects that live as members and locals: constructing and destroying them must not involve the count.
    using Kind = typename TestFixture::Kind;
    typename TestFixture::Census census;
    {
        typename TestFixture::Counted local(census, TestFixture::ReenterIn::Nowhere);
        Kind::AddRef(&local);
        Kind::Release(&local);
    }
    EXPECT_EQ(census.finalReleases, 0);
    EXPECT_EQ(census.destructions, 1);
}

TYPED_TEST_P(RefCountTest, AnOverrideThatKeepsTheObjectFindsTheCountBackAtOne)
{
    using Kind = typename TestFixture::Kind;
    typename TestFixture::Pooled object;
    EXPECT_EQ(Kind::Release(&object), 0);
    EXPECT_EQ(object.finalReleases, 1);
    EXPECT_EQ(Kind::Count(&object), 1);

    // Usable again: the next cycle ends in one more final release.
    EXPECT_EQ(Kind::AddRef(&object), 2);
    EXPECT_EQ(Kind::Release(&object), 1);
    EXPECT_EQ(Kind::Release(&object), 0);
    EXPECT_EQ(object.finalReleases, 2);
}

TYPED_TEST_P(RefCountTest, ConcurrentAddRefAndReleaseEndAtTheExactCount)
{
    using Kind = typename TestFixture::Kind;
    const int kThreads = 4;
    const int kRounds = 20000;
    const int kKeptPerThread = 3;
    typename TestFixture::Census census;
    auto* object = new typename TestFixture::Counted(census, TestFixture::ReenterIn::Nowhere);

    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back([&] {
            while (!go.load())
                std::this_thread::yield();
            for (int i = 0; i < kRounds; ++i)
            {
                Kind::AddRef(object);
                Kind::AddRef(object);
                Kind::Release(object);
                Kind::Release(object);
            }
            for (int i = 0; i < kKeptPerThread; ++i)
                Kind::AddRef(object);
        });
    }
    go = true;
    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ(Kind::Count(object), 1 + kThreads * kKeptPerThread);
    EXPECT_EQ(census.destructions, 0);
    for (int i = 0; i < kThreads * kKeptPerThread; ++i)
        Kind::Release(object);
    EXPECT_EQ(Kind::Release(object), 0);
    EXPECT_EQ(census.destructions, 1);
}

TYPED_TEST_P(RefCountTest, ConcurrentLastReleasesDeleteExactlyOnce)
{
    using Kind = typename TestFixture::Kind;
    const int kThreads = 4;
    for (int attempt = 0; attempt < 200; ++attempt)
    {
        typename TestFixture::Census census;
        auto* object = new typename TestFixture::Counted(census, TestFixture::ReenterIn::Both);
        for (int i = 1; i < kThreads; ++i)
            Kind::AddRef(object);

        std::atomic<int> ready{0};
        std::atomic<int> sawZero{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
        {
            threads.emplace_back([&] {
                ++ready;
                while (ready.load() < kThreads)
                    std::this_thread::yield();
                if (Kind::Release(object) == 0)
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

REGISTER_TYPED_TEST_SUITE_P(RefCountTest, CountsStartAtOneAndEachCallReturnsTheNewCount,
                            LastReleaseDeletesOnceWhateverTheTeardownDoesWithTheCount,
                            ObjectsNobodyReleasesAreNeverDeleted, AnOverrideThatKeepsTheObjectFindsTheCountBackAtOne,
                            ConcurrentAddRefAndReleaseEndAtTheExactCount, ConcurrentLastReleasesDeleteExactlyOnce);
