// Allocations that fail on purpose, for tests of what a constructor leaves behind when it cannot finish. The test
// program that compiles AllocationFaults.cpp gets its own global operator new and delete: while an AllocationFaults
// lives they count the blocks the arming thread makes (and anyone frees), and the chosen one throws std::bad_alloc.
// Trying every allocation of a construction in turn shows that no step of it leaks when the next one fails:
//
//   for (int n = 1;; ++n)
//   {
//       AllocationFaults faults(n);              // the n-th allocation from here on throws
//       try { Build(); } catch (const std::bad_alloc&) {}
//       EXPECT_EQ(0, faults.Live());             // whatever Build made is gone again
//       if (!faults.Struck()) break;             // Build needed fewer than n: every step was tried
//   }
//
// Only the thread that armed it is failed and counted; one AllocationFaults at a time.
#pragma once

namespace ribbon_test {

class AllocationFaults
{
public:
    explicit AllocationFaults(int failAt);
    ~AllocationFaults();
    AllocationFaults(const AllocationFaults&) = delete;
    AllocationFaults& operator=(const AllocationFaults&) = delete;

    // The blocks made since arming that are not freed yet.
    int Live() const;
    // Whether the chosen allocation came (and threw).
    bool Struck() const;
};

}  // namespace ribbon_test
