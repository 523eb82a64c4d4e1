#include "isowriter/FileTree.h"

#include "isowriter/IsoError.h"
#include "isowriter/NameMapper.h"

#include <algorithm>
#include <cstring>

namespace osm::iso {

namespace {

constexpr std::uint32_t kProgressEvent = 1;
constexpr std::size_t kProgressEvery = 512;

bool knownIdentity(const SourceEntry& e)
{
    return e.device != 0 || e.inode != 0;
}

// A name on disk as a name in the image (UTF-16), in the arena. Most names are ASCII on POSIX, and every
// name is UTF-16 already on Windows: each unit is then a character of its own.
std::u16string_view imageNameOf(Arena& arena, NativeStringView name)
{
#ifdef _WIN32
    auto* out = static_cast<char16_t*>(arena.allocate(name.size() * sizeof(char16_t), alignof(char16_t)));
    for (std::size_t i = 0; i < name.size(); ++i)
        out[i] = static_cast<char16_t>(name[i]);
#else
    const Arena::Mark mark = arena.mark();
    auto* out = static_cast<char16_t*>(arena.allocate(name.size() * sizeof(char16_t), alignof(char16_t)));
    unsigned char seen = 0;
    for (std::size_t i = 0; i < name.size(); ++i)
    {
        const auto c = static_cast<unsigned char>(name[i]);
        seen |= c;
        out[i] = c;
    }
    if (seen >= 0x80)
    {
        arena.rollBack(mark);
        return arena.copy<char16_t>(NativePath::toUtf16(name));
    }
#endif
    return {out, name.size()};
}

}  // namespace

FileTree::FileTree()
    : root_(TreeNode::make(
          arena_.allocate(TreeNode::allocationSize(TreeNode::Kind::Directory), TreeNode::allocationAlignment()),
          TreeNode::Kind::Directory, TreeNode::Texts(), true, 0, 0))
{}

FileTree::~FileTree()
{
    destroy(*root_);
}

void FileTree::destroy(TreeNode& top)
{
    // Only folders hold anything to let go of.
    if (!top.isDirectory())
        return;
    std::vector<TreeNode*> folders{&top};
    while (!folders.empty())
    {
        TreeNode* folder = folders.back();
        folders.pop_back();
        for (TreeNode* child : folder->children())
            if (child->isDirectory())
                folders.push_back(child);
        TreeNode::destroy(*folder);
    }
}

TreeNode& FileTree::makeNode(const SourceEntry& entry, NativeStringView source, bool sourceIsFullPath,
                             const std::u16string* imageName)
{
    // The entry first and its texts right after it: what a pass over the entries reads of one lies together.
    const auto kind = entry.kind == EntryKind::Directory ? TreeNode::Kind::Directory : TreeNode::Kind::File;
    void* memory = arena_.allocate(TreeNode::allocationSize(kind), TreeNode::allocationAlignment());
    TreeNode::Texts texts;
    texts.source = arena_.copy<NativeChar>(source);
    texts.name = imageName ? arena_.copy<char16_t>(*imageName) : imageNameOf(arena_, entry.name);
    // Both identifiers are made once here, not at every build: a build only renames the few that collide.
    const NameMapper::Identifiers identifiers = NameMapper::identifiers(texts.name, kind == TreeNode::Kind::Directory);
    auto* isoText = static_cast<char*>(arena_.allocate(identifiers.iso.size(), 1));
    std::memcpy(isoText, identifiers.iso.data(), identifiers.iso.size());
    texts.isoName = std::string_view(isoText, identifiers.iso.size());
    if (!identifiers.jolietIsName)
        texts.jolietName = arena_.copy<char16_t>(NameMapper::jolietName(texts.name));
    return *TreeNode::make(memory, kind, texts, sourceIsFullPath, entry.size, entry.modified);
}

void FileTree::exclude(const NativeString& path)
{
    const NativeString full = NativePath::absolute(path);
    const NativeString key = NativePath::comparisonKey(full);
    excludedLengths_.insert(key.size());
    excludedKeys_.insert(key);
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
    if (excludedLengths_.count(pathLength))
        return isExcluded(NativePath::join(folder, entry.name), entry);
    return knownIdentity(entry) && excludedIdentities_.count({entry.device, entry.inode}) > 0;
}

void FileTree::checkName(std::u16string_view name, const NativeString& path) const
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

    // All or nothing: what a failed or cancelled scan made goes back to the arena.
    const Arena::Mark mark = arena_.mark();
    TreeNode* node = nullptr;
    try
    {
        node = &makeNode(entry, full, true, imageName);
        if (node->name().empty())
            throw IsoError(ErrorCode::InvalidParameter, "'" + NativePath::toApi(full) + "' has no name to use");
        checkName(node->name(), full);
        if (node->isDirectory() && withContents)
        {
            std::vector<Ancestor> ancestors;
            if (knownIdentity(entry))
                ancestors.push_back({{entry.device, entry.inode}, full});
            std::size_t count = 0;
            scanFolder(*node, full, ancestors, cancel, progress, count);
        }
        return &parent.adopt(*node);
    }
    catch (...)
    {
        if (node)
            destroy(*node);
        arena_.rollBack(mark);
        throw;
    }
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
    DirectoryScanner::list(path, listing_);
    if (!listing_.empty())
        folder.reserveChildren(listing_.size());
    // The path of an entry is spelled out only where it is needed: for a folder, to list it, and in messages.
    const std::size_t folderLength = NativePath::join(path, NativeString()).size();
    // The subfolders are scanned once this folder's listing is done with, so one listing serves them all.
    struct Subfolder
    {
        TreeNode* node;
        Identity identity;
        bool tracked;
    };
    std::vector<Subfolder> subfolders;
    for (const SourceEntry& e : listing_)
    {
        cancel.check();
        if (e.kind == EntryKind::Skipped)
            continue;
        if (isExcluded(path, e, folderLength + e.name.size()))
            continue;
        if (e.kind == EntryKind::Directory && knownIdentity(e) &&
            isOwnAncestor(e, NativePath::join(path, e.name), ancestors))
            continue;  // a folder that contains itself: taking it would never end
        TreeNode& child = folder.adopt(makeNode(e, e.name, false, nullptr));
        if (nameLimit_ != 0 && child.name().size() > nameLimit_)
            checkName(child.name(), NativePath::join(path, e.name));
        if (++count % kProgressEvery == 0)
            progress.notify(kProgressEvent, static_cast<std::uint32_t>(count));
        if (child.isDirectory())
            subfolders.push_back({&child, {e.device, e.inode}, knownIdentity(e)});
    }
    for (const Subfolder& subfolder : subfolders)
    {
        const NativeString childPath = NativePath::join(path, NativeStringView(subfolder.node->nameInFolder()));
        if (subfolder.tracked)
            ancestors.push_back({subfolder.identity, childPath});
        scanFolder(*subfolder.node, childPath, ancestors, cancel, progress, count);
        if (subfolder.tracked)
            ancestors.pop_back();
    }
}

}  // namespace osm::iso
