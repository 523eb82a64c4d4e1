// The program's operator new and delete: malloc and free, as the runtime's own are, counting the blocks that live,
// with a per-thread switch that refuses one allocation while a FailingAllocations lives on that thread.
#include "FailingAllocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// -1: allocations work; otherwise how many still work before one fails.
thread_local int t_allocationsLeft = -1;
thread_local int t_refused = 0;
std::atomic<long> g_liveBlocks{0};

void* Allocate(std::size_t size)
{
    if (t_allocationsLeft == 0)
    {
        t_allocationsLeft = -1;
        ++t_refused;
        throw std::bad_alloc();
    }
    if (t_allocationsLeft > 0)
        --t_allocationsLeft;
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    ++g_liveBlocks;
    return block;
}

void Free(void* block)
{
    if (!block)
        return;
    --g_liveBlocks;
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    Free(block);
}

void operator delete[](void* block) noexcept
{
    Free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    Free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    Free(block);
}

namespace test_support {

FailingAllocations::FailingAllocations(int succeeding)
{
    t_refused = 0;
    t_allocationsLeft = succeeding;
}

FailingAllocations::~FailingAllocations()
{
    t_allocationsLeft = -1;
}

int FailingAllocations::Refused() const
{
    return t_refused;
}

long LiveAllocations()
{
    return g_liveBlocks.load();
}

}  // namespace test_support
