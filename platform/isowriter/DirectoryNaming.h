// Gives every entry its identifier in each tree, unique within its folder, and puts each folder's entries
// in the record order of each tree.
#pragma once

#include "isowriter/Arena.h"
#include "isowriter/CancelToken.h"
#include "isowriter/TreeNode.h"

namespace osm::iso {

class DirectoryNaming
{
public:
    // renameCollisions: two entries of a folder whose identifiers would be equal get numbered variants;
    // otherwise such a pair throws IsoError(InvalidParameter) naming both. Joliet identifiers that differ
    // from the names are kept in names, which must outlive their use.
    static void assign(TreeNode& root, bool joliet, bool renameCollisions, Arena& names, const CancelToken& cancel);
};

}  // namespace osm::iso
