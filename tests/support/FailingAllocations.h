// Allocation through operator new under a test's control, for code that must survive a std::bad_alloc or leave
// nothing behind when it meets one. A test program that wants it lists FailingAllocations.cpp among its sources: the
// file replaces the program's operator new and delete (malloc and free, as the runtime's own are).
//
//   const long before = LiveAllocations();
//   {
//       FailingAllocations failing(2);   // this thread's next two allocations work, the third throws
//       EXPECT_THROW(Build(), std::bad_alloc);
//   }
//   EXPECT_EQ(before, LiveAllocations());   // what Build made before the failure went again
#pragma once

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
};

// The blocks operator new handed out in the whole process and operator delete has not taken back yet.
long LiveAllocations();

}  // namespace test_support
