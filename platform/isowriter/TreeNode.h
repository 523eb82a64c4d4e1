// One file or folder of the image: where its data comes from, its original name, its identifiers in both
// trees, and what the layout decided for it (record order, sector addresses).
#pragma once

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

    // What a folder's entry holds apart from the names, filled in by the layout at each build.
    struct FolderPlacement
    {
        std::uint32_t isoExtentSize = 0;     // bytes of the ISO9660 directory
        std::uint32_t jolietExtent = 0;      // Joliet directory
        std::uint32_t jolietExtentSize = 0;  // bytes of the Joliet directory
        std::uint16_t isoNumber = 0;         // number in the ISO9660 path table
        std::uint16_t jolietNumber = 0;      // number in the Joliet path table
    };

    // Where an entry's text lies: the texts live in the tree's arena (or, for identifiers a build renamed,
    // in that build's), each followed by a zero where it goes to the system.
    struct Texts
    {
        NativeStringView source;  // the full path for an entry added by name, the bare name for one found in a folder
        std::u16string_view name;
        std::string_view isoName;
        std::u16string_view jolietName;  // empty when it is the name
    };

    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    // A node of the given kind in memory from the caller (the tree's arena), which also holds its texts.
    // A folder's node is larger: allocationSize says how large.
    static std::size_t allocationSize(Kind kind);
    static std::size_t allocationAlignment();
    static TreeNode* make(void* memory, Kind kind, const Texts& texts, bool sourceIsFullPath, std::uint64_t size,
                          std::int64_t modified);
    // Runs the destructor of a node made by make (a folder's lists go).
    static void destroy(TreeNode& node);

    Kind kind() const { return static_cast<Kind>(kind_); }
    bool isDirectory() const { return kind_ == static_cast<std::uint8_t>(Kind::Directory); }
    std::u16string_view name() const { return {name_, nameLength_}; }
    // The ISO9660 identifier: made when the entry was added, replaced by a build that had to rename it.
    std::string_view isoName() const { return {isoName_, isoLength_}; }
    // The Joliet identifier: most entries keep their name, which is then not copied.
    std::u16string_view jolietName() const
    {
        return jolietName_ ? std::u16string_view(jolietName_, jolietLength_) : name();
    }
    // Whether the Joliet identifier is the name itself.
    bool jolietIsName() const { return jolietName_ == nullptr; }
    void setIsoName(std::string_view name);
    // An empty view: the name itself.
    void setJolietName(std::u16string_view name);

    std::uint64_t size() const { return size_; }
    std::int64_t modified() const { return modified_; }
    bool isRoot() const { return parent_ == nullptr; }
    TreeNode* parent() const { return parent_; }

    // Children are made in the tree's arena, which owns them; a folder only lists them.
    const std::vector<TreeNode*>& children() const;
    TreeNode& adopt(TreeNode& child);
    // Room for this many more children, when a folder's listing says how many are coming.
    void reserveChildren(std::size_t more);
    // Whether the children came in the record order of the ISO9660 identifiers they were added with: a
    // scanned folder's entries are made in that order (markChildrenInIsoOrder), and any child adopted
    // afterwards, or into a folder that had children, clears it.
    bool childrenInIsoOrder() const;
    void markChildrenInIsoOrder();
    // A folder's children in the record order of each tree, set by the naming at each build. Most folders
    // keep no list of their own for either: the ISO9660 order is that of the children, and the Joliet order
    // that of ISO9660, so a tree of many files holds no copies of its children's lists.
    const std::vector<TreeNode*>& isoOrder() const;
    const std::vector<TreeNode*>& jolietOrder() const;
    void setIsoOrderToChildren();
    // The folder's own list, emptied, to be filled as its ISO9660 order.
    std::vector<TreeNode*>& ownIsoOrder();
    void setJolietOrderToIso();
    std::vector<TreeNode*>& ownJolietOrder();

    // Folders: the ISO9660 directory; files: the data (0 when there is none).
    std::uint32_t isoExtent() const { return isoExtent_; }
    void setIsoExtent(std::uint32_t sector) { isoExtent_ = sector; }
    // Folders only.
    FolderPlacement& folderPlacement();
    const FolderPlacement& folderPlacement() const;

    NativeString sourcePath() const;
    // The name on disk of an entry found inside a folder (whose path is the parent's), followed by a zero;
    // nullptr for one added by its full path, and for the root.
    const NativeChar* nameInFolder() const { return sourceIsFullPath_ || !parent_ ? nullptr : source_; }
    // The source path in the caller's encoding, for messages.
    std::string displayPath() const;

protected:
    TreeNode(Kind kind, const Texts& texts, bool sourceIsFullPath, std::uint64_t size, std::int64_t modified);
    ~TreeNode() = default;

private:
    class Folder;

    NativeStringView source() const { return {source_, sourceLength_}; }
    void appendSourcePath(NativeString& path) const;
    Folder& folder();
    const Folder& folder() const;

    // A tree of a hundred thousand tiny files holds a hundred thousand of these, and every pass over the
    // entries reads them in an order other than the one they were made in: a file's entry is kept to what
    // files need, and what only folders hold lies in the larger folder entry.
    TreeNode* parent_ = nullptr;
    std::uint64_t size_;
    std::int64_t modified_;
    const NativeChar* source_;
    const char16_t* name_;
    const char* isoName_;
    const char16_t* jolietName_;
    std::uint32_t sourceLength_;
    std::uint32_t nameLength_;
    std::uint32_t jolietLength_;
    std::uint32_t isoExtent_ = 0;
    std::uint8_t isoLength_;
    std::uint8_t kind_;
    bool sourceIsFullPath_;
};

}  // namespace osm::iso
