// The program's operator new and delete: malloc and free, as the runtime's own are, with a switch that refuses one
// allocation of the thread that made a FailingAllocations while it lives. Each block carries a small header in front of
// it that says which FailingAllocations made it, so a block freed after that one ended, or one made before any, never
// counts against the one that lives.
#include "FailingAllocations.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

struct alignas(16) FailingBlockHeader
{
    std::uint32_t generation;  // the FailingAllocations that made the block; 0 for none
};
static_assert(sizeof(FailingBlockHeader) == 16, "blocks stay aligned as malloc aligns them");

// The thread failed and counted (0: none), and which FailingAllocations that is.
std::atomic<DWORD> g_failingThread{0};
std::atomic<std::uint32_t> g_failingGeneration{0};
// -1: allocations work; otherwise how many still work before one fails.
std::atomic<int> g_allocationsLeft{-1};
std::atomic<int> g_refused{0};
std::atomic<long> g_liveOfGeneration{0};

void* AllocateCounted(std::size_t size)
{
    std::uint32_t generation = 0;
    if (g_failingThread.load() != 0 && g_failingThread.load() == ::GetCurrentThreadId())
    {
        if (g_allocationsLeft.load() == 0)
        {
            g_allocationsLeft = -1;
            ++g_refused;
            throw std::bad_alloc();
        }
        if (g_allocationsLeft.load() > 0)
            --g_allocationsLeft;
        generation = g_failingGeneration.load();
    }
    if (size > SIZE_MAX - sizeof(FailingBlockHeader))
        throw std::bad_alloc();
    void* raw = std::malloc(sizeof(FailingBlockHeader) + (size ? size : 1));
    if (!raw)
        throw std::bad_alloc();
    auto* header = static_cast<FailingBlockHeader*>(raw);
    header->generation = generation;
    if (generation)
        ++g_liveOfGeneration;
    return header + 1;
}

void FreeCounted(void* block) noexcept
{
    if (!block)
        return;
    FailingBlockHeader* header = static_cast<FailingBlockHeader*>(block) - 1;
    if (header->generation && header->generation == g_failingGeneration.load())
        --g_liveOfGeneration;
    std::free(header);
}

void* AllocateCountedOrNull(std::size_t size) noexcept
{
    try
    {
        return AllocateCounted(size);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

}  // namespace

void* operator new(std::size_t size)
{
    return AllocateCounted(size);
}

void* operator new[](std::size_t size)
{
    return AllocateCounted(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return AllocateCountedOrNull(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return AllocateCountedOrNull(size);
}

void operator delete(void* block) noexcept
{
    FreeCounted(block);
}

void operator delete[](void* block) noexcept
{
    FreeCounted(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    FreeCounted(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    FreeCounted(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    FreeCounted(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    FreeCounted(block);
}

namespace test_support {

FailingAllocations::FailingAllocations(int succeeding)
{
    // A second one would reset the first one's counts under it.
    if (g_failingThread.load() != 0)
    {
        std::fputs("FailingAllocations: one lives already\n", stderr);
        std::abort();
    }
    g_liveOfGeneration = 0;
    g_refused = 0;
    g_allocationsLeft = succeeding;
    ++g_failingGeneration;
    g_failingThread = ::GetCurrentThreadId();
}

FailingAllocations::~FailingAllocations()
{
    g_failingThread = 0;
    g_allocationsLeft = -1;
    // Blocks made while this lived and freed from now on no longer count.
    ++g_failingGeneration;
}

int FailingAllocations::Refused() const
{
    return g_refused.load();
}

long FailingAllocations::Live() const
{
    return g_liveOfGeneration.load();
}

int FailEachAllocation(const std::function<void()>& build,
                       const std::function<bool(const AllocationFailureTry&)>& check, int most)
{
    for (int succeeding = 0; succeeding < most; ++succeeding)
    {
        AllocationFailureTry tried{succeeding, false, false, 0};
        {
            FailingAllocations failing(succeeding);
            try
            {
                build();
            }
            catch (const std::bad_alloc&)
            {
                tried.threw = true;
            }
            tried.refused = failing.Refused() != 0;
            tried.live = failing.Live();
        }
        if (!check(tried))
            return tried.refused ? -1 : succeeding;
        if (!tried.refused)
            return succeeding;
    }
    return -1;
}

}  // namespace test_support
