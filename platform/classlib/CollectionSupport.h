// What the collection templates (Map.h, Array.h, List.h) share, and what a program specialises for its own element
// types:
//
//   HashKey<ARG_KEY>(key)            the hash a map uses to pick a bucket (integers, enums, pointers and strings here)
//   CompareElements(p1, p2)          key and search equality (operator== unless specialised)
//   SerializeElements<TYPE>(ar, p, n) how elements go into an archive: the bytes as they lie in memory for plain
//                                    types, the string form for CString; other types must specialise it
//
// The stored forms follow from these, so a stored map or array reads back the same on 32-bit and 64-bit builds as
// long as its element types have the same size on both (use fixed-width types for what is stored).
#pragma once

#include "classlib/Archive.h"
#include "classlib/CString.h"

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// The integer hash: the key shifted right by four, so ids that differ only in their low four bits share a bucket
// (stored data follows the walking order this gives). Integers are hashed as their low 32 bits, so a map walks in
// the same order, and stores the same bytes, on 32-bit and 64-bit builds.
template <class ARG_KEY> inline UINT HashKey(ARG_KEY key)
{
    using Key = std::remove_cv_t<std::remove_reference_t<ARG_KEY>>;
    if constexpr (std::is_pointer_v<Key>)
    {
        return static_cast<UINT>(reinterpret_cast<uintptr_t>(key) >> 4);
    }
    else
    {
        static_assert(std::is_integral_v<Key> || std::is_enum_v<Key>, "HashKey: specialise it for this key type");
        return static_cast<UINT>(static_cast<uint32_t>(key) >> 4);
    }
}

// Strings hash their bytes (unsigned): h = h * 33 + byte.
template <> UINT HashKey<LPCSTR>(LPCSTR key);
template <> UINT HashKey<const CString&>(const CString& key);

template <class TYPE, class ARG_TYPE> inline BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

namespace osm_classlib_detail {
// Stores nBytes, or loads exactly nBytes (raising CArchiveException::endOfFile when the archive ends first).
void SerializeBytes(CArchive& ar, void* pBytes, size_t nBytes);
}  // namespace osm_classlib_detail

template <class TYPE> void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount)
{
    if constexpr (std::is_trivially_copyable_v<TYPE>)
    {
        osm_classlib_detail::SerializeBytes(ar, pElements, sizeof(TYPE) * static_cast<size_t>(nCount));
    }
    else
    {
        // A collection of such elements may exist without ever being stored; storing it needs a specialisation.
        static_cast<void>(ar);
        static_cast<void>(pElements);
        static_cast<void>(nCount);
        AfxThrowNotSupportedException();
    }
}

template <> void SerializeElements<CString>(CArchive& ar, CString* pElements, INT_PTR nCount);

namespace osm_classlib_detail {

// Nodes of lists and maps come from blocks of a fixed number of nodes; freed nodes are kept for reuse until the
// collection is emptied, when the blocks go back.
template <class Node> class NodeBlocks
{
public:
    explicit NodeBlocks(INT_PTR nBlockSize) : m_nBlockSize(nBlockSize > 0 ? static_cast<size_t>(nBlockSize) : 10) {}
    NodeBlocks(const NodeBlocks&) = delete;
    NodeBlocks& operator=(const NodeBlocks&) = delete;

    template <class... Args> Node* New(Args&&... args)
    {
        if (!m_pFree)
            AddBlock();
        Slot* pSlot = m_pFree;
        m_pFree = pSlot->pNext;
        try
        {
            return ::new (static_cast<void*>(pSlot->storage)) Node(std::forward<Args>(args)...);
        }
        catch (...)
        {
            pSlot->pNext = m_pFree;
            m_pFree = pSlot;
            throw;
        }
    }

    void Delete(Node* pNode)
    {
        pNode->~Node();
        Slot* pSlot = reinterpret_cast<Slot*>(pNode);
        pSlot->pNext = m_pFree;
        m_pFree = pSlot;
    }

    // Gives every block back; the nodes in them must have been deleted.
    void ReleaseAll()
    {
        m_blocks.clear();
        m_pFree = nullptr;
    }

    size_t GetBlockCount() const { return m_blocks.size(); }

private:
    union Slot
    {
        Slot* pNext;
        alignas(Node) unsigned char storage[sizeof(Node)];
    };

    void AddBlock()
    {
        std::unique_ptr<Slot[]> block(new (std::nothrow) Slot[m_nBlockSize]);
        if (!block)
            AfxThrowMemoryException();
        // Threaded back to front, so nodes are handed out in address order.
        for (size_t i = m_nBlockSize; i-- > 0;)
        {
            block[i].pNext = m_pFree;
            m_pFree = &block[i];
        }
        m_blocks.push_back(std::move(block));
    }

    std::vector<std::unique_ptr<Slot[]>> m_blocks;
    Slot* m_pFree = nullptr;
    size_t m_nBlockSize;
};

template <class Node> inline POSITION ToPosition(Node* pNode)
{
    return reinterpret_cast<POSITION>(pNode);
}

template <class Node> inline Node* FromPosition(POSITION position)
{
    return reinterpret_cast<Node*>(position);
}

}  // namespace osm_classlib_detail
