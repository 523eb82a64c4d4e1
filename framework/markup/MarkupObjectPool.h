// The memory of markup objects. A parse makes a few small objects per element and a release frees them all together,
// so they are not worth a heap block each: objects of up to kLargestPooledSize bytes are carved, by size class (a
// multiple of 16 bytes), from 64 KB chunks taken from the system with VirtualAlloc. A chunk holds one size class; its
// freed places are reused first. A chunk whose last object goes is given back to the system, except for a few kept
// for the next parse (at most kMarkupPoolSpareChunks, so a released tree leaves little committed behind). Larger
// objects go to the global operator new.
//
// COSMMarkupObject's own operator new and delete call these. Any thread may call them (a lock
// guards the chunks); a block is freed with the size it was allocated with.
#pragma once

#include <cstddef>

constexpr size_t kMarkupPoolChunkSize = 64 * 1024;
constexpr size_t kLargestPooledSize = 512;
// Empty chunks kept for the next parse: a tree built and dropped again and again (a label, a tip) then touches no
// new page, while a released tree of any size leaves at most this many chunks committed.
constexpr size_t kMarkupPoolSpareChunks = 16;

void* AllocateMarkupObjectMemory(size_t size);
void FreeMarkupObjectMemory(void* block, size_t size) noexcept;

// What the pool holds now: what the benchmark and the tests read.
struct MarkupObjectPoolUsage
{
    size_t committedBytes = 0;  // chunks taken from the system and not given back, spares included
    size_t liveBlocks = 0;      // pooled objects not freed
    size_t liveBytes = 0;       // their size-class bytes
    size_t spareChunks = 0;     // empty chunks kept for the next parse
};
MarkupObjectPoolUsage GetMarkupObjectPoolUsage();
