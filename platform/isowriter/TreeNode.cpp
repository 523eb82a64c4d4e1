#include "isowriter/TreeNode.h"

#include <algorithm>
#include <new>

namespace osm::iso {

// A folder's entry: the entry itself, its children and the layout's figures for its directories.
class TreeNode::Folder final : public TreeNode
{
public:
    Folder(const Texts& texts, bool sourceIsFullPath, std::int64_t modified)
        : TreeNode(Kind::Directory, texts, sourceIsFullPath, 0, modified)
    {}

    std::vector<TreeNode*> children;
    std::vector<TreeNode*> isoOrder;     // used when ownIsoOrder
    std::vector<TreeNode*> jolietOrder;  // used when ownJolietOrder
    FolderPlacement placement;
    bool childrenInIsoOrder = true;  // no children yet
    bool ownIsoOrder = false;
    bool ownJolietOrder = false;
};

TreeNode::TreeNode(Kind kind, const Texts& texts, bool sourceIsFullPath, std::uint64_t size, std::int64_t modified)
    : size_(size), modified_(modified), source_(texts.source.data()), name_(texts.name.data()),
      isoName_(texts.isoName.data()), jolietName_(texts.jolietName.empty() ? nullptr : texts.jolietName.data()),
      sourceLength_(static_cast<std::uint32_t>(texts.source.size())),
      nameLength_(static_cast<std::uint32_t>(texts.name.size())),
      jolietLength_(static_cast<std::uint32_t>(texts.jolietName.size())),
      isoLength_(static_cast<std::uint8_t>(texts.isoName.size())), kind_(static_cast<std::uint8_t>(kind)),
      sourceIsFullPath_(sourceIsFullPath)
{}

std::size_t TreeNode::allocationSize(Kind kind)
{
    return kind == Kind::Directory ? sizeof(Folder) : sizeof(TreeNode);
}

std::size_t TreeNode::allocationAlignment()
{
    return std::max(alignof(Folder), alignof(TreeNode));
}

TreeNode* TreeNode::make(void* memory, Kind kind, const Texts& texts, bool sourceIsFullPath, std::uint64_t size,
                         std::int64_t modified)
{
    if (kind == Kind::Directory)
        return new (memory) Folder(texts, sourceIsFullPath, modified);
    return new (memory) TreeNode(Kind::File, texts, sourceIsFullPath, size, modified);
}

void TreeNode::destroy(TreeNode& node)
{
    // A file's entry holds nothing to let go of.
    if (node.isDirectory())
        static_cast<Folder&>(node).~Folder();
}

TreeNode::Folder& TreeNode::folder()
{
    return static_cast<Folder&>(*this);
}

const TreeNode::Folder& TreeNode::folder() const
{
    return static_cast<const Folder&>(*this);
}

void TreeNode::setIsoName(std::string_view name)
{
    isoName_ = name.data();
    isoLength_ = static_cast<std::uint8_t>(name.size());
}

void TreeNode::setJolietName(std::u16string_view name)
{
    jolietName_ = name.empty() ? nullptr : name.data();
    jolietLength_ = static_cast<std::uint32_t>(name.size());
}

namespace {
const std::vector<TreeNode*> kNone;
}  // namespace

const std::vector<TreeNode*>& TreeNode::children() const
{
    return isDirectory() ? folder().children : kNone;
}

void TreeNode::reserveChildren(std::size_t more)
{
    auto& children = folder().children;
    children.reserve(children.size() + more);
}

TreeNode& TreeNode::adopt(TreeNode& child)
{
    Folder& self = folder();
    if (!self.children.empty())
        self.childrenInIsoOrder = false;
    self.children.push_back(&child);
    child.parent_ = this;
    return child;
}

bool TreeNode::childrenInIsoOrder() const
{
    return folder().childrenInIsoOrder;
}

void TreeNode::markChildrenInIsoOrder()
{
    folder().childrenInIsoOrder = true;
}

const std::vector<TreeNode*>& TreeNode::isoOrder() const
{
    if (!isDirectory())
        return kNone;
    const Folder& self = folder();
    return self.ownIsoOrder ? self.isoOrder : self.children;
}

const std::vector<TreeNode*>& TreeNode::jolietOrder() const
{
    if (!isDirectory())
        return kNone;
    const Folder& self = folder();
    return self.ownJolietOrder ? self.jolietOrder : isoOrder();
}

void TreeNode::setIsoOrderToChildren()
{
    Folder& self = folder();
    self.ownIsoOrder = false;
    self.isoOrder.clear();
}

std::vector<TreeNode*>& TreeNode::ownIsoOrder()
{
    Folder& self = folder();
    self.ownIsoOrder = true;
    self.isoOrder.clear();
    return self.isoOrder;
}

void TreeNode::setJolietOrderToIso()
{
    Folder& self = folder();
    self.ownJolietOrder = false;
    self.jolietOrder.clear();
}

std::vector<TreeNode*>& TreeNode::ownJolietOrder()
{
    Folder& self = folder();
    self.ownJolietOrder = true;
    self.jolietOrder.clear();
    return self.jolietOrder;
}

TreeNode::FolderPlacement& TreeNode::folderPlacement()
{
    return folder().placement;
}

const TreeNode::FolderPlacement& TreeNode::folderPlacement() const
{
    return folder().placement;
}

NativeString TreeNode::sourcePath() const
{
    if (sourceIsFullPath_ || !parent_)
        return NativeString(source());
    // Asked once for every folder whose files the image reads: the path is built in one string, sized
    // beforehand.
    std::size_t length = 0;
    for (const TreeNode* node = this; node; node = node->sourceIsFullPath_ ? nullptr : node->parent_)
        length += node->sourceLength_ + 1;
    NativeString path;
    path.reserve(length);
    appendSourcePath(path);
    return path;
}

void TreeNode::appendSourcePath(NativeString& path) const
{
    if (sourceIsFullPath_ || !parent_)
    {
        path += source();
        return;
    }
    parent_->appendSourcePath(path);
    NativePath::append(path, source());
}

std::string TreeNode::displayPath() const
{
    if (isRoot())
        return "(root folder)";
    return NativePath::toApi(sourcePath());
}

}  // namespace osm::iso
