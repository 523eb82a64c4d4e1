#include "isowriter/Arena.h"

#include <algorithm>

namespace osm::iso {

void* Arena::allocate(std::size_t bytes, std::size_t align)
{
    if (!blocks_.empty())
    {
        const std::size_t at = (used_ + align - 1) & ~(align - 1);
        if (at <= blocks_.back().size && bytes <= blocks_.back().size - at)
        {
            used_ = at + bytes;
            return blocks_.back().bytes.get() + at;
        }
    }
    // A new block; what is left of the last one stays unused. Blocks from new[] suit any fundamental alignment.
    Block block;
    block.size = std::max(bytes, kBlockSize);
    block.bytes.reset(new std::byte[block.size]);
    blocks_.push_back(std::move(block));
    used_ = bytes;
    return blocks_.back().bytes.get();
}

void Arena::rollBack(const Mark& mark)
{
    blocks_.resize(std::min(blocks_.size(), mark.blocks));
    used_ = mark.used;
}

}  // namespace osm::iso
