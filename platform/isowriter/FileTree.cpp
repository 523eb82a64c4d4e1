#include "isowriter/FileTree.h"

#include "isowriter/IsoError.h"

#include <algorithm>

namespace osm::iso {

namespace {

constexpr std::uint32_t kProgressEvent = 1;
constexpr std::size_t kProgressEvery = 512;

bool knownIdentity(const SourceEntry& e)
{
    return e.device != 0 || e.inode != 0;
}

}  // namespace

FileTree::FileTree() : root_(TreeNode::makeRoot()) {}

void FileTree::exclude(const NativeString& path)
{
    const NativeString full = NativePath::absolute(path);
    excludedKeys_.insert(NativePath::comparisonKey(full));
#ifndef _WIN32
    // POSIX also matches the same file reached through another spelling (links, bind mounts).
    try
    {
        const SourceEntry e = DirectoryScanner::inspect(full);
        if (knownIdentity(e))
            excludedIdentities_.insert({e.device, e.inode});
    }
    catch (const IsoError&)
    {
        // Not there yet (the output image is often created later): the path alone is enough.
    }
#endif
}

bool FileTree::isExcluded(const NativeString& absolutePath, const SourceEntry& entry) const
{
    if (excludedKeys_.empty())
        return false;
    if (excludedKeys_.count(NativePath::comparisonKey(absolutePath)))
        return true;
    return knownIdentity(entry) && excludedIdentities_.count({entry.device, entry.inode}) > 0;
}

bool FileTree::isExcluded(const NativeString& folder, const SourceEntry& entry, std::size_t pathLength) const
{
    if (excludedKeys_.empty())
        return false;
    // A key is the whole path in another case at most: only a key of the same length can be this entry's.
    for (const NativeString& key : excludedKeys_)
        if (key.size() == pathLength)
            return isExcluded(NativePath::join(folder, entry.name), entry);
    return knownIdentity(entry) && excludedIdentities_.count({entry.device, entry.inode}) > 0;
}

void FileTree::checkName(const std::u16string& name, const NativeString& path) const
{
    if (nameLimit_ != 0 && name.size() > nameLimit_)
        throw IsoError(ErrorCode::PathTooLong, "Name of '" + NativePath::toApi(path) + "' has " +
                                                   std::to_string(name.size()) + " characters, at most " +
                                                   std::to_string(nameLimit_) + " fit in the image");
}

TreeNode* FileTree::add(TreeNode& parent, const NativeString& path, const std::u16string* imageName, bool withContents,
                        const CancelToken& cancel, const ProgressSink& progress)
{
    if (!parent.isDirectory())
        throw IsoError(ErrorCode::InvalidParameter, "Cannot add below '" + parent.displayPath() + "': it is a file");
    cancel.check();
    const NativeString full = NativePath::absolute(path);
    SourceEntry entry = DirectoryScanner::inspect(full);
    if (isExcluded(full, entry))
        return nullptr;
    if (entry.kind == EntryKind::Skipped)
        throw IsoError(ErrorCode::InvalidParameter, "'" + NativePath::toApi(full) + "' is neither a file nor a folder");

    std::u16string name = imageName ? *imageName : NativePath::toUtf16(entry.name);
    if (name.empty())
        throw IsoError(ErrorCode::InvalidParameter, "'" + NativePath::toApi(full) + "' has no name to use");
    checkName(name, full);

    const auto kind = entry.kind == EntryKind::Directory ? TreeNode::Kind::Directory : TreeNode::Kind::File;
    auto node = std::make_unique<TreeNode>(kind, full, true, std::move(name), entry.size, entry.modified);
    if (kind == TreeNode::Kind::Directory && withContents)
    {
        std::vector<Ancestor> ancestors;
        if (knownIdentity(entry))
            ancestors.push_back({{entry.device, entry.inode}, full});
        std::size_t count = 0;
        scanFolder(*node, full, ancestors, cancel, progress, count);
    }
    return &parent.adopt(std::move(node));
}

bool FileTree::isOwnAncestor(const SourceEntry& folder, const NativeString& path,
                             const std::vector<Ancestor>& ancestors)
{
    for (const Ancestor& ancestor : ancestors)
    {
        if (ancestor.identity.second != folder.inode)
            continue;
        // Same index: the same folder if on the same device. A device the listing left out (0) is asked now.
        const auto device = [](std::uint64_t known, const NativeString& at) -> std::optional<std::uint64_t> {
            if (known != 0)
                return known;
            return DirectoryScanner::device(at);
        };
        const auto mine = device(folder.device, path);
        if (mine && mine == device(ancestor.identity.first, ancestor.path))
            return true;
    }
    return false;
}

void FileTree::scanFolder(TreeNode& folder, const NativeString& path, std::vector<Ancestor>& ancestors,
                          const CancelToken& cancel, const ProgressSink& progress, std::size_t& count)
{
    std::vector<SourceEntry> entries = DirectoryScanner::list(path);
    if (!entries.empty())
        folder.reserveChildren(entries.size());
    // The path of an entry is spelled out only where it is needed: for a folder, to list it, and in messages.
    const std::size_t folderLength = NativePath::join(path, NativeString()).size();
    for (SourceEntry& e : entries)
    {
        cancel.check();
        if (e.kind == EntryKind::Skipped)
            continue;
        if (isExcluded(path, e, folderLength + e.name.size()))
            continue;
        if (e.kind == EntryKind::Directory && knownIdentity(e) &&
            isOwnAncestor(e, NativePath::join(path, e.name), ancestors))
            continue;  // a folder that contains itself: taking it would never end
        std::u16string name = NativePath::toUtf16(e.name);
        if (nameLimit_ != 0 && name.size() > nameLimit_)
            checkName(name, NativePath::join(path, e.name));
        const auto kind = e.kind == EntryKind::Directory ? TreeNode::Kind::Directory : TreeNode::Kind::File;
        const NativeString childPath =
            kind == TreeNode::Kind::Directory ? NativePath::join(path, e.name) : NativeString();
        TreeNode& child = folder.adopt(
            std::make_unique<TreeNode>(kind, std::move(e.name), false, std::move(name), e.size, e.modified));
        if (++count % kProgressEvery == 0)
            progress.notify(kProgressEvent, static_cast<std::uint32_t>(count));
        if (kind == TreeNode::Kind::Directory)
        {
            const bool tracked = knownIdentity(e);
            if (tracked)
                ancestors.push_back({{e.device, e.inode}, childPath});
            scanFolder(child, childPath, ancestors, cancel, progress, count);
            if (tracked)
                ancestors.pop_back();
        }
    }
}

}  // namespace osm::iso
