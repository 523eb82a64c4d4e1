#include "isowriter/Arena.h"

#include <algorithm>
#include <cstdint>

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace osm::iso {

namespace {

#if !defined(_WIN32) && defined(MADV_HUGEPAGE)
// A block of the largest size, aligned to it, that the system is asked to back with large pages; nullptr when
// it cannot be mapped. Each first touch of a fresh 4 KiB page costs a page fault (on a virtual machine several
// microseconds); a large page is one fault for 2 MiB.
std::byte* mapLargePages(std::size_t size)
{
    // Mapped with room to spare, then trimmed to a piece that starts on a boundary of its own size.
    void* mapped = mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    auto* start = static_cast<std::byte*>(mapped);
    const std::size_t lead = (size - reinterpret_cast<std::uintptr_t>(start) % size) % size;
    if (lead > 0)
        munmap(start, lead);
    munmap(start + lead + size, size - lead);
    madvise(start + lead, size, MADV_HUGEPAGE);  // only advice: without large pages the block still serves
    return start + lead;
}
#endif

}  // namespace

Arena::Block::Block(std::size_t size) : size_(size)
{
#if !defined(_WIN32) && defined(MADV_HUGEPAGE)
    if (size == kLargestBlock)
    {
        bytes_ = mapLargePages(size);
        mapped_ = bytes_ != nullptr;
    }
#endif
    // Blocks from new[] suit any fundamental alignment.
    if (!bytes_)
        bytes_ = new std::byte[size];
}

Arena::Block::~Block()
{
    release();
}

Arena::Block::Block(Block&& other) noexcept : bytes_(other.bytes_), size_(other.size_), mapped_(other.mapped_)
{
    other.bytes_ = nullptr;
}

Arena::Block& Arena::Block::operator=(Block&& other) noexcept
{
    if (this != &other)
    {
        release();
        bytes_ = other.bytes_;
        size_ = other.size_;
        mapped_ = other.mapped_;
        other.bytes_ = nullptr;
    }
    return *this;
}

void Arena::Block::release()
{
    if (!bytes_)
        return;
#ifndef _WIN32
    if (mapped_)
    {
        munmap(bytes_, size_);
        bytes_ = nullptr;
        return;
    }
#endif
    delete[] bytes_;
    bytes_ = nullptr;
}

void* Arena::allocateInNewBlock(std::size_t bytes)
{
    // A new block; what is left of the last one stays unused. A piece larger than a block gets one of its own.
    const std::size_t grown = blocks_.empty() ? kFirstBlock : std::min(blocks_.back().size() * 2, kLargestBlock);
    blocks_.emplace_back(std::max(bytes, std::max(grown, kFirstBlock)));
    used_ = bytes;
    return blocks_.back().bytes();
}

void Arena::rollBack(const Mark& mark)
{
    if (mark.blocks < blocks_.size())
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(mark.blocks), blocks_.end());
    used_ = mark.used;
}

}  // namespace osm::iso
