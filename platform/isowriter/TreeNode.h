// One file or folder of the image: where its data comes from, its original name, and what the layout
// decided for it (names in both trees, record order, sector addresses).
#pragma once

#include "isowriter/NameMapper.h"
#include "isowriter/NativePath.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace osm::iso {

class TreeNode
{
public:
    enum class Kind : std::uint8_t
    {
        File,
        Directory
    };

    // Filled in by the layout at each build. What every pass over the entries reads comes first.
    struct Placement
    {
        std::uint32_t isoExtent = 0;         // folders: ISO9660 directory; files: data
        std::uint32_t isoExtentSize = 0;     // folders: bytes of the ISO9660 directory
        std::uint32_t jolietExtent = 0;      // folders: Joliet directory
        std::uint32_t jolietExtentSize = 0;  // folders: bytes of the Joliet directory
        std::uint16_t isoNumber = 0;         // folders: number in the ISO9660 path table
        std::uint16_t jolietNumber = 0;      // folders: number in the Joliet path table
        IsoName isoName;                     // ISO9660 identifier
        // Joliet identifier, empty when it is the name (see jolietName()); the text is held by the build.
        std::u16string_view jolietName;
    };

    // source: the full path for an entry added by name, the bare name for one found inside a folder; its
    // text, followed by a zero, and the name's must outlive the node (the tree's arena holds them).
    TreeNode(Kind kind, NativeStringView source, bool sourceIsFullPath, std::u16string_view name, std::uint64_t size,
             std::int64_t modified);
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    Kind kind() const { return kind_; }
    bool isDirectory() const { return kind_ == Kind::Directory; }
    std::u16string_view name() const { return name_; }
    // The Joliet identifier the layout chose: most entries keep their name, which is then not copied.
    std::u16string_view jolietName() const { return placement_.jolietName.empty() ? name_ : placement_.jolietName; }
    std::uint64_t size() const { return size_; }
    std::int64_t modified() const { return modified_; }
    bool isRoot() const { return parent_ == nullptr; }
    TreeNode* parent() const { return parent_; }

    // Children are made in the tree's arena, which owns them; a folder only lists them.
    const std::vector<TreeNode*>& children() const;
    TreeNode& adopt(TreeNode& child);
    // Room for this many more children, when a folder's listing says how many are coming.
    void reserveChildren(std::size_t more);
    // A folder's children in the record order of each tree, set by the layout at each build.
    const std::vector<TreeNode*>& isoOrder() const;
    const std::vector<TreeNode*>& jolietOrder() const;
    std::vector<TreeNode*>& isoOrder();
    std::vector<TreeNode*>& jolietOrder();

    NativeString sourcePath() const;
    // The name on disk of an entry found inside a folder (whose path is the parent's), followed by a zero;
    // nullptr for one added by its full path, and for the root.
    const NativeChar* nameInFolder() const { return sourceIsFullPath_ || !parent_ ? nullptr : source_.data(); }
    // The source path in the caller's encoding, for messages.
    std::string displayPath() const;

    Placement& placement() { return placement_; }
    const Placement& placement() const { return placement_; }

private:
    // What only a folder holds, apart from the entry itself: files, most of a large tree, go without.
    struct Contents
    {
        std::vector<TreeNode*> children;
        std::vector<TreeNode*> isoOrder;
        std::vector<TreeNode*> jolietOrder;
    };

    void appendSourcePath(NativeString& path) const;
    Contents& contents();

    // The layout's passes and the reading of the files go over every entry, in an order other than the one
    // the entries were made in: what they read lies together at the start, in as few cache lines as it takes.
    Kind kind_;
    bool sourceIsFullPath_;
    std::uint64_t size_;
    std::int64_t modified_;
    TreeNode* parent_ = nullptr;
    NativeStringView source_;
    Placement placement_;
    std::u16string_view name_;
    std::unique_ptr<Contents> contents_;
};

}  // namespace osm::iso
