// CMap is a hash map with chained buckets whose walking order belongs to its contract: stored data (a map's own
// Serialize, and every caller that writes "for each entry in map order") depends on it.
//
//   CMap<UINT, UINT, CIconSet*, CIconSet*> sets;
//   sets.InitHashTable(127);                  // before the first entry; 17 buckets otherwise
//   sets[id] = pSet;                          // or SetAt(id, pSet)
//   for (POSITION pos = sets.GetStartPosition(); pos;) {
//       UINT id; CIconSet* pSet;
//       sets.GetNextAssoc(pos, id, pSet);
//   }
//
// The order: buckets from 0 upward (bucket = HashKey(key) mod the bucket count, HashKey(n) = n >> 4 for integers),
// and within a bucket the most recently added key first. Replacing the value of a present key keeps its place;
// removing a key and adding it again puts it at its bucket's front. Nodes are allocated in blocks (10 by default).
#pragma once

#include "classlib/CollectionSupport.h"
#include "classlib/Object.h"

#include <stdexcept>

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject
{
public:
    explicit CMap(INT_PTR nBlockSize = 10) : m_nodes(nBlockSize) {}
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        UINT nBucket = 0;
        UINT nHash = 0;
        const CAssoc* pAssoc = Find(key, nBucket, nHash);
        if (!pAssoc)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }

    // The value of key, added (value-initialised) at the front of its bucket when the key is new.
    VALUE& operator[](ARG_KEY key)
    {
        UINT nBucket = 0;
        UINT nHash = 0;
        if (CAssoc* pAssoc = Find(key, nBucket, nHash))
            return pAssoc->value;
        if (m_buckets.empty())
            m_buckets.assign(m_nHashTableSize, nullptr);
        CAssoc* pAssoc = m_nodes.New(key, nHash);
        pAssoc->pNext = m_buckets[nBucket];
        m_buckets[nBucket] = pAssoc;
        ++m_nCount;
        return pAssoc->value;
    }

    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        const UINT nHash = HashKey<ARG_KEY>(key);
        for (CAssoc** ppLink = &m_buckets[nHash % m_nHashTableSize]; *ppLink; ppLink = &(*ppLink)->pNext)
        {
            CAssoc* pAssoc = *ppLink;
            if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key))
            {
                *ppLink = pAssoc->pNext;
                m_nodes.Delete(pAssoc);
                if (--m_nCount == 0)
                    RemoveAll();
                return TRUE;
            }
        }
        return FALSE;
    }

    void RemoveAll()
    {
        for (CAssoc*& pHead : m_buckets)
        {
            while (CAssoc* pAssoc = pHead)
            {
                pHead = pAssoc->pNext;
                m_nodes.Delete(pAssoc);
            }
        }
        m_buckets.clear();
        m_buckets.shrink_to_fit();
        m_nCount = 0;
        m_nodes.ReleaseAll();
    }

    // The first entry, or null for an empty map.
    POSITION GetStartPosition() const { return osm_classlib_detail::ToPosition(FirstFrom(0)); }

    // Hands out the entry at rNextPosition and moves it on (to null after the last entry).
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        const CAssoc* pAssoc = osm_classlib_detail::FromPosition<CAssoc>(rNextPosition);
        if (!pAssoc)
            throw std::out_of_range("CMap::GetNextAssoc past the last entry");
        rKey = pAssoc->key;
        rValue = pAssoc->value;
        rNextPosition = osm_classlib_detail::ToPosition(NextOf(pAssoc));
    }

    UINT GetHashTableSize() const { return m_nHashTableSize; }

    // Sets the number of buckets (a prime such as 17 or 127 spreads keys best). Meant for an empty map; entries
    // already present move to their new buckets in walking order, each after those that walked before it.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE)
    {
        ASSERT(nHashSize > 0);
        if (nHashSize == 0)
            return;
        std::vector<CAssoc*> entries;
        entries.reserve(static_cast<size_t>(m_nCount));
        for (CAssoc* p = FirstFrom(0); p; p = NextOf(p))
            entries.push_back(p);
        m_nHashTableSize = nHashSize;
        m_buckets.clear();
        if (bAllocNow || !entries.empty())
            m_buckets.assign(nHashSize, nullptr);
        std::vector<CAssoc**> tails;
        for (auto& head : m_buckets)
            tails.push_back(&head);
        for (CAssoc* pAssoc : entries)
        {
            CAssoc**& ppTail = tails[pAssoc->nHashValue % nHashSize];
            pAssoc->pNext = nullptr;
            *ppTail = pAssoc;
            ppTail = &pAssoc->pNext;
        }
    }

    // The count in the archive's count form, then each entry in walking order: its key, then its value, each through
    // SerializeElements. Loading adds the pairs read with SetAt (entries already present stay).
    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
        {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
            for (CAssoc* p = FirstFrom(0); p; p = NextOf(p))
            {
                SerializeElements<KEY>(ar, &p->key, 1);
                SerializeElements<VALUE>(ar, &p->value, 1);
            }
        }
        else
        {
            for (DWORD_PTR n = ar.ReadCount(); n > 0; --n)
            {
                KEY key{};
                VALUE value{};
                SerializeElements<KEY>(ar, &key, 1);
                SerializeElements<VALUE>(ar, &value, 1);
                SetAt(key, value);
            }
        }
    }

private:
    struct CAssoc
    {
        CAssoc(ARG_KEY k, UINT nHash) : nHashValue(nHash), key(k), value() {}
        CAssoc* pNext = nullptr;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

    CAssoc* Find(ARG_KEY key, UINT& nBucket, UINT& nHash) const
    {
        nHash = HashKey<ARG_KEY>(key);
        nBucket = nHash % m_nHashTableSize;
        if (m_buckets.empty())
            return nullptr;
        for (CAssoc* pAssoc = m_buckets[nBucket]; pAssoc; pAssoc = pAssoc->pNext)
        {
            if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key))
                return pAssoc;
        }
        return nullptr;
    }

    // The head of the first non-empty bucket at or after nBucket.
    CAssoc* FirstFrom(UINT nBucket) const
    {
        for (UINT i = nBucket; i < m_buckets.size(); ++i)
        {
            if (m_buckets[i])
                return m_buckets[i];
        }
        return nullptr;
    }

    // The entry after pAssoc in walking order: the rest of its chain, then the following buckets.
    CAssoc* NextOf(const CAssoc* pAssoc) const
    {
        return pAssoc->pNext ? pAssoc->pNext : FirstFrom(pAssoc->nHashValue % m_nHashTableSize + 1);
    }

    std::vector<CAssoc*> m_buckets;  // empty until the first entry (or InitHashTable)
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    osm_classlib_detail::NodeBlocks<CAssoc> m_nodes;
};

// Names to untyped pointers, the map of caches keyed by a string (case-sensitive; the hash is the string's bytes).
// The pointers stay the caller's: removing an entry or the map frees nothing they point to.
//
//   CMapStringToPtr cache(10);      // nodes in blocks of 10
//   cache.InitHashTable(199);
//   cache.SetAt("TOOLTIPFRAME", pImage);
//   void* p = nullptr;
//   if (cache.Lookup("TOOLTIPFRAME", p)) ...
class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*>
{
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap<CString, LPCSTR, void*, void*>(nBlockSize) {}
};
