#include "isowriter/TreeNode.h"

namespace osm::iso {

TreeNode::TreeNode(Kind kind, NativeStringView source, bool sourceIsFullPath, std::u16string_view name,
                   std::uint64_t size, std::int64_t modified)
    : kind_(kind), sourceIsFullPath_(sourceIsFullPath), size_(size), modified_(modified), source_(source), name_(name)
{}

namespace {
const std::vector<TreeNode*> kNone;
}  // namespace

TreeNode::Contents& TreeNode::contents()
{
    if (!contents_)
        contents_ = std::make_unique<Contents>();
    return *contents_;
}

const std::vector<TreeNode*>& TreeNode::children() const
{
    return contents_ ? contents_->children : kNone;
}

void TreeNode::reserveChildren(std::size_t more)
{
    auto& children = contents().children;
    children.reserve(children.size() + more);
}

TreeNode& TreeNode::adopt(TreeNode& child)
{
    contents().children.push_back(&child);
    child.parent_ = this;
    return child;
}

const std::vector<TreeNode*>& TreeNode::isoOrder() const
{
    return contents_ ? contents_->isoOrder : kNone;
}

const std::vector<TreeNode*>& TreeNode::jolietOrder() const
{
    return contents_ ? contents_->jolietOrder : kNone;
}

std::vector<TreeNode*>& TreeNode::isoOrder()
{
    return contents().isoOrder;
}

std::vector<TreeNode*>& TreeNode::jolietOrder()
{
    return contents().jolietOrder;
}

NativeString TreeNode::sourcePath() const
{
    if (sourceIsFullPath_ || !parent_)
        return NativeString(source_);
    // Asked once for every file the image reads: the path is built in one string, sized beforehand.
    std::size_t length = 0;
    for (const TreeNode* node = this; node; node = node->sourceIsFullPath_ ? nullptr : node->parent_)
        length += node->source_.size() + 1;
    NativeString path;
    path.reserve(length);
    appendSourcePath(path);
    return path;
}

void TreeNode::appendSourcePath(NativeString& path) const
{
    if (sourceIsFullPath_ || !parent_)
    {
        path += source_;
        return;
    }
    parent_->appendSourcePath(path);
    NativePath::append(path, source_);
}

std::string TreeNode::displayPath() const
{
    if (isRoot())
        return "(root folder)";
    return NativePath::toApi(sourcePath());
}

}  // namespace osm::iso
