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

// A name on disk as a name in the image (UTF-16), written to out, which has room for name.size() units: a
// name has no more UTF-16 units than UTF-8 bytes. Returns the units written. Every name is UTF-16 already on
// Windows, and most names are ASCII on POSIX: each unit is then a character of its own.
std::size_t writeImageName(char16_t* out, NativeStringView name)
{
#ifdef _WIN32
    static_assert(sizeof(NativeChar) == sizeof(char16_t), "Windows names are UTF-16");
    std::memcpy(out, name.data(), name.size() * sizeof(char16_t));
    return name.size();
#else
    unsigned char seen = 0;
    for (std::size_t i = 0; i < name.size(); ++i)
    {
        const auto c = static_cast<unsigned char>(name[i]);
        seen |= c;
        out[i] = c;
    }
    if (seen < 0x80)
        return name.size();
    const std::u16string wide = NativePath::toUtf16(name);
    std::char_traits<char16_t>::copy(out, wide.data(), wide.size());
    return wide.size();
#endif
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
                             std::u16string_view name, const NameMapper::Identifiers& identifiers)
{
    // The entry and its texts in one piece of the arena, the texts right after the entry: what a pass over the
    // entries reads of one lies together, and a tree of tiny files takes one allocation per entry.
    const auto kind = entry.kind == EntryKind::Directory ? TreeNode::Kind::Directory : TreeNode::Kind::File;
    const std::u16string jolietCopy = identifiers.jolietIsName ? std::u16string() : NameMapper::jolietName(name);
    const auto roundUp = [](std::size_t at, std::size_t align) { return (at + align - 1) & ~(align - 1); };
    const std::size_t sourceAt = TreeNode::allocationSize(kind);
    const std::size_t nameAt = roundUp(sourceAt + (source.size() + 1) * sizeof(NativeChar), alignof(char16_t));
    const std::size_t isoAt = nameAt + name.size() * sizeof(char16_t);
    const std::size_t jolietAt = roundUp(isoAt + identifiers.iso.size(), alignof(char16_t));
    const std::size_t total = jolietAt + (jolietCopy.empty() ? 0 : (jolietCopy.size() + 1) * sizeof(char16_t));
    auto* memory = static_cast<unsigned char*>(arena_.allocate(total, TreeNode::allocationAlignment()));

    TreeNode::Texts texts;
    auto* sourceText = reinterpret_cast<NativeChar*>(memory + sourceAt);
    std::char_traits<NativeChar>::copy(sourceText, source.data(), source.size());
    sourceText[source.size()] = NativeChar();
    texts.source = NativeStringView(sourceText, source.size());
    auto* nameText = reinterpret_cast<char16_t*>(memory + nameAt);
    std::char_traits<char16_t>::copy(nameText, name.data(), name.size());
    texts.name = std::u16string_view(nameText, name.size());
    // Both identifiers are made once, when the entry is added, not at every build: a build only renames the
    // few that collide.
    auto* isoText = reinterpret_cast<char*>(memory + isoAt);
    std::memcpy(isoText, identifiers.iso.data(), identifiers.iso.size());
    texts.isoName = std::string_view(isoText, identifiers.iso.size());
    if (!jolietCopy.empty())
    {
        auto* jolietText = reinterpret_cast<char16_t*>(memory + jolietAt);
        std::char_traits<char16_t>::copy(jolietText, jolietCopy.data(), jolietCopy.size() + 1);
        texts.jolietName = std::u16string_view(jolietText, jolietCopy.size());
    }
    return *TreeNode::make(memory, kind, texts, sourceIsFullPath, entry.size, entry.modified);
}

void FileTree::exclude(const NativeString& path)
{
    const NativeString full = NativePath::absolute(path);
    const NativeString key = NativePath::comparisonKey(full);
    if (excludedLengths_.size() <= key.size())
        excludedLengths_.resize(key.size() + 1);
    excludedLengths_[key.size()] = true;
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

bool FileTree::isExcluded(const NativeString& folder, NativeStringView name, const SourceEntry& entry,
                          std::size_t pathLength) const
{
    if (excludedKeys_.empty())
        return false;
    // A key is the whole path in another case at most: only a key of the same length can be this entry's.
    if (pathLength < excludedLengths_.size() && excludedLengths_[pathLength])
        return isExcluded(NativePath::join(folder, name), entry);
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
        std::u16string name;
        if (imageName)
            name = *imageName;
        else
        {
            const NativeString onDisk = NativePath::lastComponent(full);
            name.resize(onDisk.size());
            name.resize(writeImageName(&name[0], onDisk));
        }
        const std::u16string_view nameView = name;
        node = &makeNode(entry, full, true, nameView,
                         NameMapper::identifiers(nameView, entry.kind == EntryKind::Directory));
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
    // The path of an entry is spelled out only where it is needed: for a folder, to list it, and in messages.
    const std::size_t folderLength = NativePath::join(path, NativeString()).size();
    // Each entry's names in the image come first; the entries are then made in the record order of their
    // ISO9660 identifiers. A build finds the folder in order without sorting it, and the passes that follow
    // that order (the directories, the file data) read the entries one after another in memory.
    const auto& entries = listing_.entries();
    prepared_.clear();
    // Room for every name at once; it is kept between folders and only ever grows.
    if (imageNames_.size() < listing_.nameCharacters())
        imageNames_.resize(listing_.nameCharacters());
    std::size_t imageNamesUsed = 0;
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        const FolderListing::Entry& e = entries[i];
        cancel.check();
        if (e.kind == EntryKind::Skipped)
            continue;
        const NativeStringView name = listing_.name(e);
        if (isExcluded(path, name, e, folderLength + name.size()))
            continue;
        if (e.kind == EntryKind::Directory && knownIdentity(e) &&
            isOwnAncestor(e, NativePath::join(path, name), ancestors))
            continue;  // a folder that contains itself: taking it would never end
        const std::size_t at = imageNamesUsed;
        const std::u16string_view imageName(imageNames_.data() + at, writeImageName(imageNames_.data() + at, name));
        imageNamesUsed += imageName.size();
        if (nameLimit_ != 0 && imageName.size() > nameLimit_)
            checkName(imageName, NativePath::join(path, name));
        prepared_.push_back(
            {i, at, imageName.size(), NameMapper::identifiers(imageName, e.kind == EntryKind::Directory)});
    }
    ordered_.clear();
    ordered_.reserve(prepared_.size());
    for (std::size_t i = 0; i < prepared_.size(); ++i)
        ordered_.push_back(NameMapper::isoOrderKey(prepared_[i].identifiers.iso.view(), static_cast<std::uint32_t>(i)));
    const auto less = [this](const NameMapper::IsoOrderKey& a, const NameMapper::IsoOrderKey& b) {
        const int order = NameMapper::isoOrderCompare(a, b);
        return order != 0 ? order < 0
                          : NameMapper::isoLess(prepared_[a.item].identifiers.iso.view(),
                                                prepared_[b.item].identifiers.iso.view());
    };
    if (!std::is_sorted(ordered_.begin(), ordered_.end(), less))
        std::sort(ordered_.begin(), ordered_.end(), less);

    if (!ordered_.empty())
        folder.reserveChildren(ordered_.size());
    // The subfolders are scanned once this folder's listing is done with, so one listing serves them all.
    struct Subfolder
    {
        TreeNode* node;
        Identity identity;
        bool tracked;
    };
    std::vector<Subfolder> subfolders;
    for (const NameMapper::IsoOrderKey& key : ordered_)
    {
        const Prepared& p = prepared_[key.item];
        const FolderListing::Entry& e = entries[p.entry];
        TreeNode& child =
            folder.adopt(makeNode(e, listing_.name(e), false,
                                  std::u16string_view(imageNames_.data() + p.nameAt, p.nameLength), p.identifiers));
        if (++count % kProgressEvery == 0)
            progress.notify(kProgressEvent, static_cast<std::uint32_t>(count));
        if (child.isDirectory())
            subfolders.push_back({&child, {e.device, e.inode}, knownIdentity(e)});
    }
    folder.markChildrenInIsoOrder();
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
