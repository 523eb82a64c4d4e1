// The program's operator new and delete, with the counting and the chosen failure of AllocationFaults. Each block
// carries a small header in front of it that says which arming made it, so a block freed after its arming ended, or
// one made before any arming, never counts against the arming that runs.
#include "AllocationFaults.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

struct alignas(16) BlockHeader
{
    std::uint32_t generation;  // the arming that made the block; 0 for none
};
static_assert(sizeof(BlockHeader) == 16, "blocks stay aligned as malloc aligns them");

std::atomic<DWORD> g_armedThread{0};
std::atomic<std::uint32_t> g_generation{0};
std::atomic<int> g_countdown{0};
std::atomic<int> g_live{0};
std::atomic<bool> g_struck{false};

void* Allocate(std::size_t size)
{
    std::uint32_t generation = 0;
    if (g_armedThread.load() != 0 && g_armedThread.load() == ::GetCurrentThreadId())
    {
        if (g_countdown.load() > 0 && g_countdown.fetch_sub(1) == 1)
        {
            g_struck = true;
            throw std::bad_alloc();
        }
        generation = g_generation.load();
    }
    void* raw = std::malloc(sizeof(BlockHeader) + (size ? size : 1));
    if (!raw)
        throw std::bad_alloc();
    auto* header = static_cast<BlockHeader*>(raw);
    header->generation = generation;
    if (generation)
        ++g_live;
    return header + 1;
}

void Free(void* block) noexcept
{
    if (!block)
        return;
    BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    if (header->generation && header->generation == g_generation.load())
        --g_live;
    std::free(header);
}

void* AllocateOrNull(std::size_t size) noexcept
{
    try
    {
        return Allocate(size);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
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

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return AllocateOrNull(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return AllocateOrNull(size);
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

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    Free(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    Free(block);
}

namespace ribbon_test {

AllocationFaults::AllocationFaults(int failAt)
{
    g_live = 0;
    g_struck = false;
    g_countdown = failAt;
    ++g_generation;
    g_armedThread = ::GetCurrentThreadId();
}

AllocationFaults::~AllocationFaults()
{
    g_armedThread = 0;
    g_countdown = 0;
    // Blocks of this arming freed from now on no longer count.
    ++g_generation;
}

int AllocationFaults::Live() const
{
    return g_live.load();
}

bool AllocationFaults::Struck() const
{
    return g_struck.load();
}

}  // namespace ribbon_test
