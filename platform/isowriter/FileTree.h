// The image's folders and files as found on disk: scanning of added paths, exclusions, loop protection.
#pragma once

#include "isowriter/Arena.h"
#include "isowriter/CancelToken.h"
#include "isowriter/DirectoryScanner.h"
#include "isowriter/NameMapper.h"
#include "isowriter/ProgressSink.h"
#include "isowriter/TreeNode.h"

#include <cstddef>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace osm::iso {

class FileTree
{
public:
    FileTree();
    ~FileTree();
    FileTree(const FileTree&) = delete;
    FileTree& operator=(const FileTree&) = delete;

    TreeNode& root() { return *root_; }
    const TreeNode& root() const { return *root_; }

    // Longest name accepted (UTF-16 units); 0 = no limit. Longer names fail Add with PathTooLong.
    void setNameLimit(std::size_t limit) { nameLimit_ = limit; }

    // Scans path (with everything below it when withContents) and attaches it under parent. All or
    // nothing: on failure or cancel the tree is unchanged. Returns nullptr when path itself is excluded.
    TreeNode* add(TreeNode& parent, const NativeString& path, const std::u16string* imageName, bool withContents,
                  const CancelToken& cancel, const ProgressSink& progress);

    void exclude(const NativeString& path);

private:
    using Identity = std::pair<std::uint64_t, std::uint64_t>;
    struct Ancestor
    {
        Identity identity;
        NativeString path;
    };

    bool isExcluded(const NativeString& absolutePath, const SourceEntry& entry) const;
    // The same for the entry name of a folder, whose path would be pathLength long, without spelling it out.
    bool isExcluded(const NativeString& folder, NativeStringView name, const SourceEntry& entry,
                    std::size_t pathLength) const;
    void checkName(std::u16string_view name, const NativeString& path) const;
    // An entry made in the arena, with copies there of its source (name on disk or full path), its name in
    // the image and its identifiers.
    TreeNode& makeNode(const SourceEntry& entry, NativeStringView source, bool sourceIsFullPath,
                       std::u16string_view name, const NameMapper::Identifiers& identifiers);
    // Runs the destructors of the entries of a subtree (their memory is the arena's).
    static void destroy(TreeNode& top);
    // Whether a folder found at path is one of the folders it lies in.
    static bool isOwnAncestor(const SourceEntry& folder, const NativeString& path,
                              const std::vector<Ancestor>& ancestors);
    void scanFolder(TreeNode& folder, const NativeString& path, std::vector<Ancestor>& ancestors,
                    const CancelToken& cancel, const ProgressSink& progress, std::size_t& count);

    // Every entry and its names: one block of memory per several hundred entries, not one per string.
    Arena arena_;
    TreeNode* root_;
    // The listing of the folder being scanned and what is worked out of it before its entries are made,
    // kept between folders for their room.
    struct Prepared
    {
        std::size_t entry;   // in listing_
        std::size_t nameAt;  // the name in the image, in imageNames_
        std::size_t nameLength;
        NameMapper::Identifiers identifiers;
    };
    FolderListing listing_;
    std::vector<Prepared> prepared_;
    std::vector<NameMapper::IsoOrderKey> ordered_;  // items: places in prepared_
    std::vector<char16_t> imageNames_;
    std::size_t nameLimit_ = 0;
    std::set<NativeString> excludedKeys_;
    // The lengths of those keys (set by length): most entries of a folder are told apart from every key by
    // length alone.
    std::vector<bool> excludedLengths_;
    std::set<Identity> excludedIdentities_;
};

}  // namespace osm::iso
