// Path tables: every folder of one tree with its extent and parent number, in the order the folders were
// numbered (by level, then parent number, then name). Written once little-endian and once big-endian.
#pragma once

#include "isowriter/DirectoryRecord.h"
#include "isowriter/TreeNode.h"

#include <cstdint>
#include <vector>

namespace osm::iso {

class PathTable
{
public:
    // folders must be in path-table order with their numbers (1-based) already given.
    static std::uint32_t size(const std::vector<TreeNode*>& folders, TreeKind kind);
    static void write(std::uint8_t* out, const std::vector<TreeNode*>& folders, TreeKind kind, bool bigEndian);

    // Folders of the tree in path-table order; numbers them (root = 1). Throws when more than 65535.
    static std::vector<TreeNode*> order(TreeNode& root, TreeKind kind);
};

}  // namespace osm::iso
