#include "isowriter/Arena.h"

#include <algorithm>

namespace osm::iso {

void* Arena::allocateInNewBlock(std::size_t bytes)
{
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
