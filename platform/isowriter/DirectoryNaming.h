// Gives every entry its identifier in each tree, unique within its folder, and puts each folder's entries
// in the record order of each tree.
#pragma once

#include "isowriter/Arena.h"
#include "isowriter/CancelToken.h"
#include "isowriter/TreeNode.h"

#include <string_view>
#include <vector>

namespace osm::iso {

class DirectoryNaming
{
public:
    DirectoryNaming() = default;
    DirectoryNaming(const DirectoryNaming&) = delete;
    DirectoryNaming& operator=(const DirectoryNaming&) = delete;

    // Entries come with their identifiers made when they were added; this makes them unique and orders
    // them. renameCollisions: two entries of a folder whose identifiers would be equal get numbered variants,
    // kept until the next assign, which starts from the identifiers made at adding again; otherwise such a
    // pair throws IsoError(InvalidParameter) naming both.
    void assign(TreeNode& root, bool joliet, bool renameCollisions, const CancelToken& cancel);

private:
    // An identifier a rename replaced, to be put back before the next assign.
    struct Replaced
    {
        TreeNode* node;
        bool iso;
        std::string_view isoName;
        std::u16string_view jolietName;  // empty: the name itself
    };

    void nameFolder(TreeNode& folder, bool joliet, bool rename);
    void restore();

    // The variants of the last assign.
    Arena variants_;
    std::vector<Replaced> replaced_;
};

}  // namespace osm::iso
