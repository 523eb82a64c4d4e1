#include "framework/markup/MarkupObjectPool.h"

#include <windows.h>

#include <cstdint>
#include <new>

namespace {

constexpr size_t kGranule = 16;
constexpr size_t kClassCount = kLargestPooledSize / kGranule;

struct FreeBlock
{
    FreeBlock* next;
};

// The head of every chunk. VirtualAlloc hands out regions aligned to its 64 KB granularity, so a block's chunk is
// its address with the low bits cleared.
struct Chunk
{
    Chunk* prev;  // neighbours among its class's chunks with room
    Chunk* next;
    FreeBlock* freeBlocks;
    char* untouched;  // blocks from here to the end were never handed out
    size_t blockSize;
    size_t liveBlocks;
    size_t sizeClass;
    bool hasRoom;
};

constexpr size_t kFirstBlockOffset = (sizeof(Chunk) + kGranule - 1) / kGranule * kGranule;
static_assert(kMarkupPoolChunkSize % kGranule == 0, "chunks hold whole granules");

class CPool
{
public:
    CPool() { ::InitializeCriticalSection(&m_lock); }
    CPool(const CPool&) = delete;
    CPool& operator=(const CPool&) = delete;

    void* Allocate(size_t sizeClass)
    {
        const CLock lock(m_lock);
        Chunk* chunk = m_withRoom[sizeClass];
        if (!chunk)
        {
            chunk = TakeChunk(sizeClass);
            if (!chunk)
                return nullptr;
        }
        void* block;
        if (FreeBlock* reused = chunk->freeBlocks)
        {
            chunk->freeBlocks = reused->next;
            block = reused;
        }
        else
        {
            block = chunk->untouched;
            chunk->untouched += chunk->blockSize;
        }
        ++chunk->liveBlocks;
        ++m_liveBlocks;
        m_liveBytes += chunk->blockSize;
        if (!chunk->freeBlocks && !RoomAtEnd(chunk))
            Unlink(chunk);
        return block;
    }

    void Free(void* block)
    {
        const CLock lock(m_lock);
        Chunk* chunk = reinterpret_cast<Chunk*>(reinterpret_cast<uintptr_t>(block) & ~(kMarkupPoolChunkSize - 1));
        auto* freed = static_cast<FreeBlock*>(block);
        freed->next = chunk->freeBlocks;
        chunk->freeBlocks = freed;
        --chunk->liveBlocks;
        --m_liveBlocks;
        m_liveBytes -= chunk->blockSize;
        if (chunk->liveBlocks == 0)
        {
            if (chunk->hasRoom)
                Unlink(chunk);
            GiveBack(chunk);
            return;
        }
        if (!chunk->hasRoom)
            LinkFirst(chunk);
    }

    MarkupObjectPoolUsage GetUsage()
    {
        const CLock lock(m_lock);
        MarkupObjectPoolUsage usage;
        usage.committedBytes = m_committedChunks * kMarkupPoolChunkSize;
        usage.liveBlocks = m_liveBlocks;
        usage.liveBytes = m_liveBytes;
        usage.spareChunks = m_spareCount;
        return usage;
    }

private:
    class CLock
    {
    public:
        explicit CLock(CRITICAL_SECTION& section) : m_section(section) { ::EnterCriticalSection(&m_section); }
        ~CLock() { ::LeaveCriticalSection(&m_section); }
        CLock(const CLock&) = delete;
        CLock& operator=(const CLock&) = delete;

    private:
        CRITICAL_SECTION& m_section;
    };

    static bool RoomAtEnd(const Chunk* chunk)
    {
        return reinterpret_cast<uintptr_t>(chunk->untouched) + chunk->blockSize <=
               reinterpret_cast<uintptr_t>(chunk) + kMarkupPoolChunkSize;
    }

    // A spare chunk, or a new one from the system, set up for sizeClass and first among its class's chunks with room.
    Chunk* TakeChunk(size_t sizeClass)
    {
        void* memory = m_spares;
        if (memory)
        {
            m_spares = m_spares->next;
            --m_spareCount;
        }
        else
        {
            memory = ::VirtualAlloc(nullptr, kMarkupPoolChunkSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
            if (!memory)
                return nullptr;
            // The address rule above needs the system's 64 KB granularity; a region off it cannot serve.
            if (reinterpret_cast<uintptr_t>(memory) % kMarkupPoolChunkSize != 0)
            {
                ::VirtualFree(memory, 0, MEM_RELEASE);
                return nullptr;
            }
            ++m_committedChunks;
        }
        auto* chunk = static_cast<Chunk*>(memory);
        chunk->prev = nullptr;
        chunk->next = nullptr;
        chunk->freeBlocks = nullptr;
        chunk->untouched = static_cast<char*>(memory) + kFirstBlockOffset;
        chunk->blockSize = (sizeClass + 1) * kGranule;
        chunk->liveBlocks = 0;
        chunk->sizeClass = sizeClass;
        chunk->hasRoom = false;
        LinkFirst(chunk);
        return chunk;
    }

    void GiveBack(Chunk* chunk)
    {
        if (m_spareCount < kMarkupPoolSpareChunks)
        {
            chunk->next = m_spares;
            m_spares = chunk;
            ++m_spareCount;
            return;
        }
        ::VirtualFree(chunk, 0, MEM_RELEASE);
        --m_committedChunks;
    }

    void LinkFirst(Chunk* chunk)
    {
        Chunk*& first = m_withRoom[chunk->sizeClass];
        chunk->prev = nullptr;
        chunk->next = first;
        if (first)
            first->prev = chunk;
        first = chunk;
        chunk->hasRoom = true;
    }

    void Unlink(Chunk* chunk)
    {
        if (chunk->prev)
            chunk->prev->next = chunk->next;
        else
            m_withRoom[chunk->sizeClass] = chunk->next;
        if (chunk->next)
            chunk->next->prev = chunk->prev;
        chunk->prev = nullptr;
        chunk->next = nullptr;
        chunk->hasRoom = false;
    }

    CRITICAL_SECTION m_lock;
    Chunk* m_withRoom[kClassCount] = {};
    Chunk* m_spares = nullptr;
    size_t m_spareCount = 0;
    size_t m_committedChunks = 0;
    size_t m_liveBlocks = 0;
    size_t m_liveBytes = 0;
};

// Made on first use, by the first static initialiser that makes a markup object, and never destroyed: objects freed
// while the program ends still find it.
CPool& GetPool()
{
    alignas(CPool) static unsigned char storage[sizeof(CPool)];
    static CPool* const pool = new (storage) CPool;
    return *pool;
}

size_t SizeClassOf(size_t size)
{
    return size ? (size - 1) / kGranule : 0;
}

}  // namespace

void* AllocateMarkupObjectMemory(size_t size)
{
    if (size > kLargestPooledSize)
        return ::operator new(size);
    void* block = GetPool().Allocate(SizeClassOf(size));
    if (!block)
        throw std::bad_alloc();
    return block;
}

void FreeMarkupObjectMemory(void* block, size_t size) noexcept
{
    if (!block)
        return;
    if (size > kLargestPooledSize)
    {
        ::operator delete(block);
        return;
    }
    GetPool().Free(block);
}

MarkupObjectPoolUsage GetMarkupObjectPoolUsage()
{
    return GetPool().GetUsage();
}
