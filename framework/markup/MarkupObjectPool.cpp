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

struct Region;

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
    Region* region;
    bool hasRoom;
};

// The head of a region, at the start of its first chunk (every chunk leaves room for it, so all chunks are alike).
struct Region
{
    Region* prev;  // neighbours among the regions with empty chunks
    Region* next;
    Chunk* emptyChunks;  // linked through their next
    size_t emptyCount;
};

constexpr size_t kFirstBlockOffset = (sizeof(Region) + sizeof(Chunk) + kGranule - 1) / kGranule * kGranule;
static_assert(kMarkupPoolChunkSize % kGranule == 0, "chunks hold whole granules");

class CPool
{
public:
    CPool() = default;
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
        usage.committedBytes = m_regions * kMarkupPoolRegionSize;
        usage.chunksInUse = m_chunksInUse;
        usage.liveBlocks = m_liveBlocks;
        usage.liveBytes = m_liveBytes;
        return usage;
    }

private:
    // Markup runs on user-interface threads, nearly always one: the lock is a flag taken with one interlocked
    // exchange, cheaper per object than a critical section, and a thread that finds it taken yields until it is free.
    class CLock
    {
    public:
        explicit CLock(volatile LONG& flag) : m_flag(flag)
        {
            while (::InterlockedExchange(&m_flag, 1) != 0)
                ::SwitchToThread();
        }
        ~CLock() { ::InterlockedExchange(&m_flag, 0); }
        CLock(const CLock&) = delete;
        CLock& operator=(const CLock&) = delete;

    private:
        volatile LONG& m_flag;
    };

    static bool RoomAtEnd(const Chunk* chunk)
    {
        return reinterpret_cast<uintptr_t>(chunk->untouched) + chunk->blockSize <=
               reinterpret_cast<uintptr_t>(chunk) + kMarkupPoolChunkSize;
    }

    // An empty chunk of a region in use, else of a new region, set up for sizeClass and first among its class's
    // chunks with room.
    Chunk* TakeChunk(size_t sizeClass)
    {
        Region* region = m_withEmptyChunks;
        if (!region)
        {
            region = NewRegion();
            if (!region)
                return nullptr;
        }
        Chunk* chunk = region->emptyChunks;
        region->emptyChunks = chunk->next;
        if (region->emptyCount-- == kMarkupPoolChunksPerRegion)
            --m_emptyRegions;
        if (region->emptyCount == 0)
            UnlinkRegion(region);
        chunk->prev = nullptr;
        chunk->next = nullptr;
        chunk->freeBlocks = nullptr;
        chunk->untouched = reinterpret_cast<char*>(chunk) + kFirstBlockOffset;
        chunk->blockSize = (sizeClass + 1) * kGranule;
        chunk->liveBlocks = 0;
        chunk->sizeClass = sizeClass;
        chunk->hasRoom = false;
        ++m_chunksInUse;
        LinkFirst(chunk);
        return chunk;
    }

    Region* NewRegion()
    {
        char* memory = static_cast<char*>(
            ::VirtualAlloc(nullptr, kMarkupPoolRegionSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (!memory)
            return nullptr;
        // The address rule above needs the system's 64 KB granularity; a region off it cannot serve.
        if (reinterpret_cast<uintptr_t>(memory) % kMarkupPoolChunkSize != 0)
        {
            ::VirtualFree(memory, 0, MEM_RELEASE);
            return nullptr;
        }
        // The pages come in as the parse reaches them. Locking the region to bring them in with one call costs more
        // than the faults it saves (under Wine it locks and unlocks every page of the region in the kernel).
        auto* region = reinterpret_cast<Region*>(memory + sizeof(Chunk));
        region->prev = nullptr;
        region->next = nullptr;
        region->emptyChunks = nullptr;
        region->emptyCount = kMarkupPoolChunksPerRegion;
        for (size_t i = kMarkupPoolChunksPerRegion; i-- > 0;)
        {
            auto* chunk = reinterpret_cast<Chunk*>(memory + i * kMarkupPoolChunkSize);
            chunk->region = region;
            chunk->next = region->emptyChunks;
            region->emptyChunks = chunk;
        }
        ++m_regions;
        ++m_emptyRegions;
        LinkRegion(region);
        return region;
    }

    // The chunk's last object went: back to its region, and the region back to the system once it is empty, unless
    // it is the one empty region kept.
    void GiveBack(Chunk* chunk)
    {
        --m_chunksInUse;
        Region* region = chunk->region;
        chunk->next = region->emptyChunks;
        region->emptyChunks = chunk;
        if (region->emptyCount++ == 0)
            LinkRegion(region);
        if (region->emptyCount < kMarkupPoolChunksPerRegion)
            return;
        if (m_emptyRegions == 0)
        {
            ++m_emptyRegions;
            return;
        }
        UnlinkRegion(region);
        --m_regions;
        ::VirtualFree(reinterpret_cast<char*>(region) - sizeof(Chunk), 0, MEM_RELEASE);
    }

    void LinkRegion(Region* region)
    {
        region->prev = nullptr;
        region->next = m_withEmptyChunks;
        if (m_withEmptyChunks)
            m_withEmptyChunks->prev = region;
        m_withEmptyChunks = region;
    }

    void UnlinkRegion(Region* region)
    {
        if (region->prev)
            region->prev->next = region->next;
        else
            m_withEmptyChunks = region->next;
        if (region->next)
            region->next->prev = region->prev;
        region->prev = nullptr;
        region->next = nullptr;
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

    volatile LONG m_lock = 0;
    Chunk* m_withRoom[kClassCount] = {};
    Region* m_withEmptyChunks = nullptr;
    size_t m_regions = 0;
    size_t m_emptyRegions = 0;
    size_t m_chunksInUse = 0;
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
