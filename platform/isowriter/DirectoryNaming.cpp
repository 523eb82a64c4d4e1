#include "isowriter/DirectoryNaming.h"

#include "isowriter/IsoError.h"
#include "isowriter/NameMapper.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace osm::iso {

namespace {

// Makes the names of one folder unique. `order` lists the entries by priority: the first of a colliding
// group keeps its name, so a folder always gets the same names whatever order its entries were added in.
template <class Str, class NameOf, class SetName, class KeyOf, class VariantOf>
void makeUnique(const std::vector<TreeNode*>& order, bool rename, NameOf nameOf, SetName setName, KeyOf keyOf,
                VariantOf variantOf)
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
                setName(node, candidate);
                break;
            }
        }
    }
}

// Whether two of the folder's Joliet names share a key. Equal keys have equal hashes, so only names whose
// hashes meet are compared.
bool anyJolietClash(const std::vector<TreeNode*>& order)
{
    std::vector<std::pair<std::uint64_t, std::u16string_view>> hashed;
    hashed.reserve(order.size());
    for (const TreeNode* node : order)
    {
        const std::u16string_view name = node->jolietName();
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (char16_t c : name)
            hash = (hash ^ NameMapper::jolietFold(c)) * 1099511628211ull;
        hashed.emplace_back(hash, name);
    }
    std::sort(hashed.begin(), hashed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto sameKey = [](std::u16string_view a, std::u16string_view b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (NameMapper::jolietFold(a[i]) != NameMapper::jolietFold(b[i]))
                return false;
        return true;
    };
    for (std::size_t i = 0; i < hashed.size(); ++i)
        for (std::size_t j = i + 1; j < hashed.size() && hashed[j].first == hashed[i].first; ++j)
            if (sameKey(hashed[i].second, hashed[j].second))
                return true;
    return false;
}

}  // namespace

void DirectoryNaming::nameFolder(TreeNode& folder, bool joliet, bool rename)
{
    // The record order of each tree depends only on the names, as no two are equal once the folder is
    // named. The order of the original names matters only when two entries clash: it says which keeps its
    // name. Most folders have no clash, and their entries are not sorted by name at all.
    const std::vector<TreeNode*>& children = folder.children();
    std::vector<TreeNode*> order;
    bool orderByName = false;
    const auto sortByName = [&] {
        if (orderByName)
            return;
        order = children;
        const auto byName = [](const TreeNode* a, const TreeNode* b) { return a->name() < b->name(); };
        if (!std::is_sorted(order.begin(), order.end(), byName))
            std::stable_sort(order.begin(), order.end(), byName);
        orderByName = true;
    };

    // Equal ISO9660 names lie side by side in the record order. A scanned folder's children were made in
    // that order, and are not sorted again.
    const auto sortIsoOrder = [&] {
        std::vector<NameMapper::IsoOrderKey> keyed;
        keyed.reserve(children.size());
        for (std::size_t i = 0; i < children.size(); ++i)
            keyed.push_back(NameMapper::isoOrderKey(children[i]->isoName(), static_cast<std::uint32_t>(i)));
        const auto less = [&](const NameMapper::IsoOrderKey& a, const NameMapper::IsoOrderKey& b) {
            const int order = NameMapper::isoOrderCompare(a, b);
            return order != 0 ? order < 0
                              : NameMapper::isoLess(children[a.item]->isoName(), children[b.item]->isoName());
        };
        if (!std::is_sorted(keyed.begin(), keyed.end(), less))
            std::sort(keyed.begin(), keyed.end(), less);
        auto& isoOrder = folder.ownIsoOrder();
        isoOrder.reserve(keyed.size());
        for (const auto& key : keyed)
            isoOrder.push_back(children[key.item]);
    };
    if (folder.childrenInIsoOrder())
        folder.setIsoOrderToChildren();
    else
        sortIsoOrder();
    const bool isoClash = std::adjacent_find(folder.isoOrder().begin(), folder.isoOrder().end(),
                                             [](const TreeNode* a, const TreeNode* b) {
                                                 return a->isoName() == b->isoName();
                                             }) != folder.isoOrder().end();
    if (isoClash)
    {
        sortByName();
        makeUnique<std::string>(
            order, rename, [](const TreeNode& n) { return std::string(n.isoName()); },
            [this](TreeNode& n, const std::string& name) {
                replaced_.push_back({&n, true, n.isoName(), {}});
                n.setIsoName(variants_.copy<char>(name));
            },
            [](const std::string& s) { return s; }, &NameMapper::isoVariant);
        sortIsoOrder();
    }

    if (!joliet)
    {
        folder.ownJolietOrder();  // none
        return;
    }
    bool folders = false, files = false;
    for (const TreeNode* node : children)
        (node->isDirectory() ? folders : files) = true;
    // Two Joliet names that differ only in case give two ISO9660 names that are equal, unless one is a
    // folder's and the other a file's (a folder's dots become '_'): without an ISO9660 clash, a folder of one
    // kind of entry has no Joliet one either.
    if ((isoClash || (folders && files)) && anyJolietClash(children))
    {
        sortByName();
        makeUnique<std::u16string>(
            order, rename, [](const TreeNode& n) { return std::u16string(n.jolietName()); },
            [this](TreeNode& n, const std::u16string& name) {
                replaced_.push_back({&n, false, {}, n.jolietIsName() ? std::u16string_view() : n.jolietName()});
                n.setJolietName(variants_.copy<char16_t>(name));
            },
            &NameMapper::jolietKey, &NameMapper::jolietVariant);
    }
    // Names that keep their case sort alike in both trees: the ISO9660 order is usually the Joliet one too,
    // and is then not copied.
    const auto& isoOrder = folder.isoOrder();
    const auto jolietLess = [](const TreeNode* a, const TreeNode* b) {
        return NameMapper::jolietLess(a->jolietName(), b->jolietName());
    };
    if (std::is_sorted(isoOrder.begin(), isoOrder.end(), jolietLess))
    {
        folder.setJolietOrderToIso();
        return;
    }
    auto& jolietOrder = folder.ownJolietOrder();
    jolietOrder = isoOrder;
    // Once a folder is named its Joliet names are unique: the order a sort gives is the only one.
    std::sort(jolietOrder.begin(), jolietOrder.end(), jolietLess);
}

void DirectoryNaming::restore()
{
    // Latest first: an identifier renamed twice gets its first one back last.
    for (auto it = replaced_.rbegin(); it != replaced_.rend(); ++it)
    {
        if (it->iso)
            it->node->setIsoName(it->isoName);
        else
            it->node->setJolietName(it->jolietName);
    }
    replaced_.clear();
    variants_.clear();
}

void DirectoryNaming::assign(TreeNode& root, bool joliet, bool renameCollisions, const CancelToken& cancel)
{
    restore();
    std::vector<TreeNode*> pending{&root};
    while (!pending.empty())
    {
        cancel.check();
        TreeNode* folder = pending.back();
        pending.pop_back();
        nameFolder(*folder, joliet, renameCollisions);
        for (TreeNode* child : folder->children())
            if (child->isDirectory())
                pending.push_back(child);
    }
}

}  // namespace osm::iso
