#include "isowriter/DirectoryNaming.h"

#include "isowriter/IsoError.h"
#include "isowriter/NameMapper.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace osm::iso {

namespace {

// Makes the names of one folder unique. `order` lists the entries by priority: the first of a colliding
// group keeps its name, so a folder always gets the same names whatever order its entries were added in.
template <class Str, class NameOf, class KeyOf, class VariantOf>
void makeUnique(const std::vector<TreeNode*>& order, bool rename, NameOf nameOf, KeyOf keyOf, VariantOf variantOf)
{
    std::unordered_map<Str, TreeNode*> taken;
    taken.reserve(order.size() * 2);
    std::vector<std::pair<TreeNode*, TreeNode*>> clashes;  // (entry, holder of its name)
    for (TreeNode* node : order)
    {
        auto result = taken.emplace(keyOf(nameOf(*node)), node);
        if (!result.second)
            clashes.emplace_back(node, result.first->second);
    }
    for (const auto& clash : clashes)
    {
        TreeNode& node = *clash.first;
        if (!rename)
            throw IsoError(ErrorCode::InvalidParameter, "'" + node.displayPath() + "' and '" +
                                                            clash.second->displayPath() +
                                                            "' get the same name in the image");
        for (unsigned n = 1;; ++n)
        {
            Str candidate = variantOf(nameOf(node), n, node.isDirectory());
            if (taken.emplace(keyOf(candidate), &node).second)
            {
                nameOf(node) = std::move(candidate);
                break;
            }
        }
    }
}

void nameFolder(TreeNode& folder, bool joliet, bool rename)
{
    std::vector<TreeNode*> order;
    order.reserve(folder.children().size());
    for (const auto& child : folder.children())
        order.push_back(child.get());
    std::stable_sort(order.begin(), order.end(),
                     [](const TreeNode* a, const TreeNode* b) { return a->name() < b->name(); });

    for (TreeNode* node : order)
        node->placement().isoName = NameMapper::isoName(node->name(), node->isDirectory());
    makeUnique<std::string>(
        order, rename, [](TreeNode& n) -> std::string& { return n.placement().isoName; },
        [](const std::string& s) { return s; }, &NameMapper::isoVariant);

    auto& placement = folder.placement();
    placement.isoOrder = order;
    std::sort(placement.isoOrder.begin(), placement.isoOrder.end(), [](const TreeNode* a, const TreeNode* b) {
        return NameMapper::isoLess(a->placement().isoName, b->placement().isoName);
    });

    placement.jolietOrder.clear();
    if (!joliet)
        return;
    for (TreeNode* node : order)
        node->placement().jolietName = NameMapper::jolietName(node->name());
    makeUnique<std::u16string>(
        order, rename, [](TreeNode& n) -> std::u16string& { return n.placement().jolietName; }, &NameMapper::jolietKey,
        &NameMapper::jolietVariant);
    placement.jolietOrder = order;
    std::sort(placement.jolietOrder.begin(), placement.jolietOrder.end(), [](const TreeNode* a, const TreeNode* b) {
        return NameMapper::jolietLess(a->placement().jolietName, b->placement().jolietName);
    });
}

}  // namespace

void DirectoryNaming::assign(TreeNode& root, bool joliet, bool renameCollisions, const CancelToken& cancel)
{
    std::vector<TreeNode*> pending{&root};
    while (!pending.empty())
    {
        cancel.check();
        TreeNode* folder = pending.back();
        pending.pop_back();
        nameFolder(*folder, joliet, renameCollisions);
        for (const auto& child : folder->children())
            if (child->isDirectory())
                pending.push_back(child.get());
    }
}

}  // namespace osm::iso
