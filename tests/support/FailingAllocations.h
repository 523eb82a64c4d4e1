// Allocation through operator new under a test's control, for code that must survive a std::bad_alloc or leave
// nothing behind when it meets one. A test program that wants it lists FailingAllocations.cpp among its sources: the
// file replaces the program's operator new and delete (malloc and free, as the runtime's own are), the throwing and
// the nothrow forms alike.
//
// One failure where the test chooses:
//
//   FailingAllocations failing(2);   // this thread's next two allocations work, the third throws
//   EXPECT_THROW(Build(), std::bad_alloc);
//   EXPECT_EQ(0, failing.Live());    // what Build made before the failure went again
//
// Every allocation of a construction failing in turn, each try checked for what it left:
//
//   const int steps = FailEachAllocation([] { Build(); }, [](const AllocationFailureTry& t) {
//       EXPECT_EQ(0, t.live);                    // whatever Build made is gone again
//       return !::testing::Test::HasFailure();   // go on to the next allocation
//   });
//
// Only the thread that made the FailingAllocations is failed and counted, and one lives at a time in the process.
#pragma once

#include <functional>

namespace test_support {

class FailingAllocations
{
public:
    // The first `succeeding` allocations of this thread still work; the one after fails, and later ones work again
    // (what handles the failure may allocate). Other threads allocate as usual.
    explicit FailingAllocations(int succeeding);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;

    // How many allocations were refused so far (0 or 1).
    int Refused() const;
    // The blocks this thread made since this object was made that nobody has freed yet (whichever thread frees them).
    long Live() const;
};

// What one try of FailEachAllocation saw.
struct AllocationFailureTry
{
    int succeeding;  // the allocations that worked before the refused one
    bool refused;    // an allocation was refused (false: the build needed no more than `succeeding`)
    bool threw;      // the std::bad_alloc reached FailEachAllocation
    long live;       // the blocks the try made that were left after it (FailingAllocations::Live)
};

// Runs build with its first allocation failing, then with its second, and so on, until a try in which none was
// refused (the whole build ran), check returns false, or `most` tries were made. check sees each try after it,
// with nothing failing any more. Returns how many allocations the whole build took, or -1 when no try ran it whole.
int FailEachAllocation(const std::function<void()>& build,
                       const std::function<bool(const AllocationFailureTry&)>& check, int most = 100000);

}  // namespace test_support
