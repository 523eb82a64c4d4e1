#include "isowriter/DirectoryNaming.h"

#include "isowriter/IsoError.h"
#include "isowriter/NameMapper.h"

#include <algorithm>
#include <cstdint>
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

// Folders often come in order already (NTFS lists by name; Joliet names sort like ISO9660 names of one
// case): a pass that finds the order right saves the sort. Once a folder is named its keys are unique, so the
// order a sort gives is the only one, whatever the order it started from.
template <class Less> void sortUnlessSorted(std::vector<TreeNode*>& nodes, Less less)
{
    if (!std::is_sorted(nodes.begin(), nodes.end(), less))
        std::sort(nodes.begin(), nodes.end(), less);
}

// Whether two of the folder's Joliet names share a key. Equal keys have equal hashes, so only names whose
// hashes meet are compared.
bool anyJolietClash(const std::vector<TreeNode*>& order)
{
    std::vector<std::pair<std::uint64_t, const std::u16string*>> hashed;
    hashed.reserve(order.size());
    for (const TreeNode* node : order)
    {
        const std::u16string& name = node->jolietName();
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (char16_t c : name)
            hash = (hash ^ NameMapper::jolietFold(c)) * 1099511628211ull;
        hashed.emplace_back(hash, &name);
    }
    std::sort(hashed.begin(), hashed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto sameKey = [](const std::u16string& a, const std::u16string& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (NameMapper::jolietFold(a[i]) != NameMapper::jolietFold(b[i]))
                return false;
        return true;
    };
    for (std::size_t i = 0; i < hashed.size(); ++i)
        for (std::size_t j = i + 1; j < hashed.size() && hashed[j].first == hashed[i].first; ++j)
            if (sameKey(*hashed[i].second, *hashed[j].second))
                return true;
    return false;
}

void nameFolder(TreeNode& folder, bool joliet, bool rename)
{
    // The record order of each tree depends only on the names, as no two are equal once the folder is
    // named. The order of the original names matters only when two entries clash: it says which keeps its
    // name. Most folders have no clash, and their entries are not sorted by name at all.
    std::vector<TreeNode*> order;
    order.reserve(folder.children().size());
    for (const auto& child : folder.children())
        order.push_back(child.get());
    bool orderByName = false;
    const auto sortByName = [&] {
        if (orderByName)
            return;
        const auto byName = [](const TreeNode* a, const TreeNode* b) { return a->name() < b->name(); };
        if (!std::is_sorted(order.begin(), order.end(), byName))
            std::stable_sort(order.begin(), order.end(), byName);
        orderByName = true;
    };

    // Equal ISO9660 names lie side by side in the record order.
    // The sort compares names by stem and extension; each name is split once, not at every comparison.
    std::vector<std::pair<NameMapper::IsoSortKey, TreeNode*>> keyed;
    const auto sortIsoOrder = [&] {
        keyed.clear();
        for (TreeNode* node : order)
            keyed.emplace_back(NameMapper::isoSortKey(node->placement().isoName), node);
        const auto less = [](const auto& a, const auto& b) { return NameMapper::isoLess(a.first, b.first); };
        if (!std::is_sorted(keyed.begin(), keyed.end(), less))
            std::sort(keyed.begin(), keyed.end(), less);
        auto& isoOrder = folder.isoOrder();
        isoOrder.clear();
        for (const auto& entry : keyed)
            isoOrder.push_back(entry.second);
    };
    for (TreeNode* node : order)
        node->placement().isoName = NameMapper::isoName(node->name(), node->isDirectory());
    keyed.reserve(order.size());
    sortIsoOrder();
    const bool isoClash = std::adjacent_find(folder.isoOrder().begin(), folder.isoOrder().end(),
                                             [](const TreeNode* a, const TreeNode* b) {
                                                 return a->placement().isoName == b->placement().isoName;
                                             }) != folder.isoOrder().end();
    if (isoClash)
    {
        sortByName();
        makeUnique<std::string>(
            order, rename, [](TreeNode& n) -> std::string& { return n.placement().isoName; },
            [](const std::string& s) { return s; }, &NameMapper::isoVariant);
        sortIsoOrder();
    }

    folder.jolietOrder().clear();
    if (!joliet)
        return;
    for (TreeNode* node : order)
    {
        if (NameMapper::isJolietName(node->name()))
            node->placement().jolietName.clear();
        else
            node->placement().jolietName = NameMapper::jolietName(node->name());
    }
    if (anyJolietClash(order))
    {
        // The renaming pass works on the identifiers themselves.
        for (TreeNode* node : order)
            if (node->placement().jolietName.empty())
                node->placement().jolietName = node->name();
        sortByName();
        makeUnique<std::u16string>(
            order, rename, [](TreeNode& n) -> std::u16string& { return n.placement().jolietName; },
            &NameMapper::jolietKey, &NameMapper::jolietVariant);
    }
    // Names that keep their case sort alike in both trees: starting from the ISO9660 order, the Joliet one
    // is usually found right as it is.
    folder.jolietOrder() = folder.isoOrder();
    sortUnlessSorted(folder.jolietOrder(), [](const TreeNode* a, const TreeNode* b) {
        return NameMapper::jolietLess(a->jolietName(), b->jolietName());
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
