// The memory of markup objects. A parse makes a few small objects per element and a release frees them all together,
// so they are not worth a heap block each: objects of up to kLargestPooledSize bytes are carved, by size class (a
// multiple of 16 bytes), from 64 KB chunks. A chunk holds one size class; its freed places are reused first. Chunks
// come sixteen at a time in 1 MB regions taken from the system with VirtualAlloc; a region whose last chunk empties is
// given back to the system, except one kept for the next parse, so a released tree leaves at most a region more
// committed than before it was built. Larger objects go to the global operator new.
//
// COSMMarkupObject's own operator new and delete call these. Any thread may call them (a lock guards the chunks); a
// block is freed with the size it was allocated with.
#pragma once

#include <cstddef>

constexpr size_t kMarkupPoolChunkSize = 64 * 1024;
constexpr size_t kMarkupPoolChunksPerRegion = 16;
constexpr size_t kMarkupPoolRegionSize = kMarkupPoolChunkSize * kMarkupPoolChunksPerRegion;
constexpr size_t kLargestPooledSize = 512;

void* AllocateMarkupObjectMemory(size_t size);
void FreeMarkupObjectMemory(void* block, size_t size) noexcept;

// What the pool holds now: what the benchmark and the tests read.
struct MarkupObjectPoolUsage
{
    size_t committedBytes = 0;  // regions taken from the system and not given back, the spare included
    size_t chunksInUse = 0;     // chunks holding at least one object
    size_t liveBlocks = 0;      // pooled objects not freed
    size_t liveBytes = 0;       // their size-class bytes
};
MarkupObjectPoolUsage GetMarkupObjectPoolUsage();
