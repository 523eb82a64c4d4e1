// CList is a doubly linked list walked through POSITION values; nodes are allocated in blocks (10 by default).
//
//   CList<CString, const CString&> names;
//   names.AddTail("first");
//   for (POSITION pos = names.GetHeadPosition(); pos;)
//       Use(names.GetNext(pos));              // returns the element at pos, then moves pos on (null after the tail)
//
// A POSITION stays valid until its element is removed. Taking the head or tail of an empty list, or using a null
// POSITION where an element is needed, raises std::out_of_range. CPtrList is the list of untyped pointers.
#pragma once

#include "classlib/CollectionSupport.h"
#include "classlib/Object.h"

#include <stdexcept>

template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject
{
public:
    explicit CList(INT_PTR nBlockSize = 10) : m_nodes(nBlockSize) {}
    ~CList() override { RemoveAll(); }

    // ---- Size and ends -----------------------------------------------------------------------------------------
    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    TYPE& GetHead() { return Required(m_pHead)->data; }
    const TYPE& GetHead() const { return Required(m_pHead)->data; }
    TYPE& GetTail() { return Required(m_pTail)->data; }
    const TYPE& GetTail() const { return Required(m_pTail)->data; }

    // ---- Adding and removing -----------------------------------------------------------------------------------
    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(nullptr, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(nullptr, newElement); }
    // Adds copies of another list's elements, in their order, before the head or after the tail.
    void AddHead(const CList* pNewList)
    {
        if (!pNewList)
            return;
        const std::vector<TYPE> copy = pNewList->ToVector();  // pNewList may be this list
        for (auto it = copy.rbegin(); it != copy.rend(); ++it)
            AddHead(*it);
    }
    void AddTail(const CList* pNewList)
    {
        if (!pNewList)
            return;
        for (const TYPE& element : pNewList->ToVector())
            AddTail(element);
    }
    TYPE RemoveHead()
    {
        CNode* pNode = Required(m_pHead);
        TYPE element(std::move(pNode->data));
        Unlink(pNode);
        return element;
    }
    TYPE RemoveTail()
    {
        CNode* pNode = Required(m_pTail);
        TYPE element(std::move(pNode->data));
        Unlink(pNode);
        return element;
    }
    void RemoveAt(POSITION position) { Unlink(Required(At(position))); }
    void RemoveAll()
    {
        while (CNode* pNode = m_pHead)
        {
            m_pHead = pNode->pNext;
            m_nodes.Delete(pNode);
        }
        m_pTail = nullptr;
        m_nCount = 0;
        m_nodes.ReleaseAll();
    }
    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        CNode* pNext = position ? At(position) : m_pHead;
        CNode* pNode = m_nodes.New(newElement);
        pNode->pNext = pNext;
        pNode->pPrev = pNext ? pNext->pPrev : m_pTail;
        Link(pNode);
        return osm_classlib_detail::ToPosition(pNode);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        CNode* pPrev = position ? At(position) : m_pTail;
        CNode* pNode = m_nodes.New(newElement);
        pNode->pPrev = pPrev;
        pNode->pNext = pPrev ? pPrev->pNext : m_pHead;
        Link(pNode);
        return osm_classlib_detail::ToPosition(pNode);
    }

    // ---- Walking -----------------------------------------------------------------------------------------------
    POSITION GetHeadPosition() const { return osm_classlib_detail::ToPosition(m_pHead); }
    POSITION GetTailPosition() const { return osm_classlib_detail::ToPosition(m_pTail); }
    // The element at rPosition; rPosition moves to the next (or previous) one, null past the end.
    TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, true)->data; }
    const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, true)->data; }
    TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, false)->data; }
    const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, false)->data; }
    TYPE& GetAt(POSITION position) { return Required(At(position))->data; }
    const TYPE& GetAt(POSITION position) const { return Required(At(position))->data; }
    void SetAt(POSITION position, ARG_TYPE newElement) { Required(At(position))->data = newElement; }

    // ---- Searching ---------------------------------------------------------------------------------------------
    // The first element equal to searchValue after startAfter (from the head when null), or null.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        for (CNode* pNode = startAfter ? At(startAfter)->pNext : m_pHead; pNode; pNode = pNode->pNext)
        {
            if (CompareElements(&pNode->data, &searchValue))
                return osm_classlib_detail::ToPosition(pNode);
        }
        return nullptr;
    }
    // The position of the element at a zero-based index, or null outside the list.
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* pNode = m_pHead;
        while (nIndex-- > 0)
            pNode = pNode->pNext;
        return osm_classlib_detail::ToPosition(pNode);
    }

    // The count in the archive's count form, then the elements head to tail through SerializeElements; loading
    // appends what it reads.
    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
        {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
            for (CNode* pNode = m_pHead; pNode; pNode = pNode->pNext)
                SerializeElements<TYPE>(ar, &pNode->data, 1);
        }
        else
        {
            for (DWORD_PTR n = ar.ReadCount(); n > 0; --n)
            {
                TYPE element{};
                SerializeElements<TYPE>(ar, &element, 1);
                AddTail(element);
            }
        }
    }

private:
    struct CNode
    {
        explicit CNode(ARG_TYPE element) : data(element) {}
        CNode* pNext = nullptr;
        CNode* pPrev = nullptr;
        TYPE data;
    };

    static CNode* At(POSITION position) { return osm_classlib_detail::FromPosition<CNode>(position); }

    static CNode* Required(CNode* pNode)
    {
        if (!pNode)
            throw std::out_of_range("CList: no element there (empty list or null POSITION)");
        return pNode;
    }

    static CNode* Step(POSITION& rPosition, bool bForward)
    {
        CNode* pNode = Required(At(rPosition));
        rPosition = osm_classlib_detail::ToPosition(bForward ? pNode->pNext : pNode->pPrev);
        return pNode;
    }

    // Puts a node whose pPrev and pNext are set between its neighbours.
    void Link(CNode* pNode)
    {
        (pNode->pPrev ? pNode->pPrev->pNext : m_pHead) = pNode;
        (pNode->pNext ? pNode->pNext->pPrev : m_pTail) = pNode;
        ++m_nCount;
    }

    void Unlink(CNode* pNode)
    {
        (pNode->pPrev ? pNode->pPrev->pNext : m_pHead) = pNode->pNext;
        (pNode->pNext ? pNode->pNext->pPrev : m_pTail) = pNode->pPrev;
        m_nodes.Delete(pNode);
        if (--m_nCount == 0)
            RemoveAll();
    }

    std::vector<TYPE> ToVector() const
    {
        std::vector<TYPE> elements;
        elements.reserve(static_cast<size_t>(m_nCount));
        for (CNode* pNode = m_pHead; pNode; pNode = pNode->pNext)
            elements.push_back(pNode->data);
        return elements;
    }

    CNode* m_pHead = nullptr;
    CNode* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
    osm_classlib_detail::NodeBlocks<CNode> m_nodes;
};

class CPtrList : public CList<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
};
