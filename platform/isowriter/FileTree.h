// The image's folders and files as found on disk: scanning of added paths, exclusions, loop protection.
#pragma once

#include "isowriter/Arena.h"
#include "isowriter/CancelToken.h"
#include "isowriter/DirectoryScanner.h"
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
    // The same for the entry of a folder whose path would be pathLength long, without spelling it out.
    bool isExcluded(const NativeString& folder, const SourceEntry& entry, std::size_t pathLength) const;
    void checkName(std::u16string_view name, const NativeString& path) const;
    // An entry made in the arena; its name on disk is copied there, and so is its name in the image
    // (imageName, or the name on disk in UTF-16 when null).
    TreeNode& makeNode(const SourceEntry& entry, NativeStringView source, bool sourceIsFullPath,
                       const std::u16string* imageName);
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
    // The listing of the folder being scanned, kept between folders for its room.
    std::vector<SourceEntry> listing_;
    std::size_t nameLimit_ = 0;
    std::set<NativeString> excludedKeys_;
    // The lengths of those keys: most entries of a folder are told apart from every key by length alone.
    std::set<std::size_t> excludedLengths_;
    std::set<Identity> excludedIdentities_;
};

}  // namespace osm::iso
