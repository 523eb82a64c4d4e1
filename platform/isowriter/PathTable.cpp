#include "isowriter/PathTable.h"

#include "isowriter/ByteFields.h"
#include "isowriter/IsoError.h"

#include <cstring>

namespace osm::iso {

namespace {

std::uint16_t numberOf(const TreeNode& folder, TreeKind kind)
{
    return kind == TreeKind::Iso ? folder.folderPlacement().isoNumber : folder.folderPlacement().jolietNumber;
}

}  // namespace

std::vector<TreeNode*> PathTable::order(TreeNode& root, TreeKind kind)
{
    // Breadth first over children in record order gives level, then parent number, then name.
    std::vector<TreeNode*> folders{&root};
    for (std::size_t i = 0; i < folders.size(); ++i)
    {
        TreeNode* folder = folders[i];
        if (folders.size() > 0xFFFF)
            throw IsoError(ErrorCode::InvalidRange, "The image would hold more than 65535 folders");
        auto& placement = folder->folderPlacement();
        (kind == TreeKind::Iso ? placement.isoNumber : placement.jolietNumber) = static_cast<std::uint16_t>(i + 1);
        for (TreeNode* child : kind == TreeKind::Iso ? folder->isoOrder() : folder->jolietOrder())
            if (child->isDirectory())
                folders.push_back(child);
    }
    if (folders.size() > 0xFFFF)
        throw IsoError(ErrorCode::InvalidRange, "The image would hold more than 65535 folders");
    return folders;
}

std::uint32_t PathTable::size(const std::vector<TreeNode*>& folders, TreeKind kind)
{
    std::uint64_t bytes = 0;
    for (const TreeNode* folder : folders)
    {
        const std::size_t id = folder->isRoot() ? 1 : DirectoryRecord::identifierLength(*folder, kind);
        bytes += 8 + id + (id % 2);
    }
    if (bytes > 0xFFFFFFFFull)
        throw IsoError(ErrorCode::InvalidRange, "The path table would be too large");
    return static_cast<std::uint32_t>(bytes);
}

void PathTable::write(std::uint8_t* out, const std::vector<TreeNode*>& folders, TreeKind kind, bool bigEndian)
{
    std::size_t at = 0;
    for (const TreeNode* folder : folders)
    {
        const std::size_t id = folder->isRoot() ? 1 : DirectoryRecord::identifierLength(*folder, kind);
        const std::uint32_t extent =
            kind == TreeKind::Iso ? folder->isoExtent() : folder->folderPlacement().jolietExtent;
        const std::uint16_t parent = numberOf(folder->isRoot() ? *folder : *folder->parent(), kind);
        std::uint8_t* p = out + at;
        p[0] = static_cast<std::uint8_t>(id);
        p[1] = 0;
        if (bigEndian)
        {
            ByteFields::be32(p + 2, extent);
            ByteFields::be16(p + 6, parent);
        }
        else
        {
            ByteFields::le32(p + 2, extent);
            ByteFields::le16(p + 6, parent);
        }
        if (folder->isRoot())
            p[8] = 0;
        else
            DirectoryRecord::writeIdentifier(p + 8, *folder, kind);
        at += 8 + id + (id % 2);
    }
}

}  // namespace osm::iso
