// CArray is a growable array of elements stored side by side (GetData hands out the block), with the classic
// growth rule: SetSize(n, nGrowBy) sets how many elements the block grows by when it runs out (0, the default,
// lets it grow by an eighth of its size, at least 4 and at most 1024; -1 keeps the setting). New elements are
// value-initialised (zero for numbers and pointers).
//
//   CArray<CPoint, CPoint> points;
//   points.Add(CPoint(1, 2));
//   for (INT_PTR i = 0; i < points.GetSize(); ++i) Use(points[i]);
//
// An index outside the array raises std::out_of_range. CPtrArray, CDWordArray, CUIntArray and CStringArray are the
// usual element types given names (and runtime classes) of their own.
#pragma once

#include "classlib/CollectionSupport.h"
#include "classlib/Object.h"

#include <algorithm>
#include <stdexcept>

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject
{
    static_assert(!std::is_same_v<TYPE, bool>, "CArray<bool> would have no element block: use BYTE or BOOL");

public:
    CArray() = default;

    // ---- Size --------------------------------------------------------------------------------------------------
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nNewSize < 0)
            throw std::out_of_range("CArray::SetSize to a negative size");
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize == 0)
        {
            RemoveAll();
            return;
        }
        Reserve(static_cast<size_t>(nNewSize));
        m_data.resize(static_cast<size_t>(nNewSize));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll()
    {
        m_data.clear();
        m_data.shrink_to_fit();
    }

    // ---- Elements ----------------------------------------------------------------------------------------------
    const TYPE& GetAt(INT_PTR nIndex) const { return m_data.at(Checked(nIndex)); }
    TYPE& GetAt(INT_PTR nIndex) { return m_data.at(Checked(nIndex)); }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data.at(Checked(nIndex)) = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }
    // The element block (null before anything was allocated); valid until the array next grows.
    const TYPE* GetData() const { return m_data.data(); }
    TYPE* GetData() { return m_data.data(); }

    // ---- Growing and shrinking ---------------------------------------------------------------------------------
    // Sets element nIndex, growing the array to reach it.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        TYPE element(newElement);  // newElement may live in this array's block
        if (nIndex < 0)
            throw std::out_of_range("CArray::SetAtGrow at a negative index");
        if (nIndex >= GetSize())
            SetSize(nIndex + 1);
        m_data[static_cast<size_t>(nIndex)] = std::move(element);
    }
    // Returns the new element's index.
    INT_PTR Add(ARG_TYPE newElement)
    {
        TYPE element(newElement);
        Reserve(m_data.size() + 1);
        m_data.push_back(std::move(element));
        return GetUpperBound();
    }
    // Returns the index of the first element appended.
    INT_PTR Append(const CArray& src)
    {
        const INT_PTR nOldSize = GetSize();
        const std::vector<TYPE> copy(src.m_data);  // src may be this array
        Reserve(m_data.size() + copy.size());
        m_data.insert(m_data.end(), copy.begin(), copy.end());
        return nOldSize;
    }
    void Copy(const CArray& src)
    {
        if (this != &src)
            m_data = src.m_data;
    }
    // Inserts nCount copies before element nIndex; an index at or past the end grows the array to put them there.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0)
            throw std::out_of_range("CArray::InsertAt at a negative index or count");
        TYPE element(newElement);
        if (nIndex >= GetSize())
        {
            SetSize(nIndex + nCount);
            std::fill_n(m_data.begin() + nIndex, nCount, element);
            return;
        }
        Reserve(m_data.size() + static_cast<size_t>(nCount));
        m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), element);
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (!pNewArray || pNewArray->IsEmpty())
            return;
        const std::vector<TYPE> copy(pNewArray->m_data);  // pNewArray may be this array
        InsertAt(nStartIndex, copy.front(), static_cast<INT_PTR>(copy.size()));
        std::copy(copy.begin(), copy.end(), m_data.begin() + nStartIndex);
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nCount > GetSize() - nIndex)
            throw std::out_of_range("CArray::RemoveAt outside the array");
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

    // The count in the archive's count form, then the elements through SerializeElements.
    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
        {
            ar.WriteCount(static_cast<DWORD_PTR>(m_data.size()));
        }
        else
        {
            SetSize(static_cast<INT_PTR>(ar.ReadCount()));
        }
        SerializeElements<TYPE>(ar, m_data.data(), GetSize());
    }

private:
    size_t Checked(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= GetSize())
            throw std::out_of_range("CArray index outside the array");
        return static_cast<size_t>(nIndex);
    }

    // Makes room for nSize elements by the growth rule.
    void Reserve(size_t nSize)
    {
        if (nSize <= m_data.capacity())
            return;
        size_t nGrowBy = static_cast<size_t>(m_nGrowBy);
        if (m_nGrowBy <= 0)
            nGrowBy = std::min<size_t>(1024, std::max<size_t>(4, m_data.size() / 8));
        const size_t nCapacity =
            m_data.capacity() == 0 ? std::max(nSize, nGrowBy) : std::max(nSize, m_data.capacity() + nGrowBy);
        try
        {
            m_data.reserve(nCapacity);
        }
        catch (const std::bad_alloc&)
        {
            AfxThrowMemoryException();
        }
        catch (const std::length_error&)
        {
            AfxThrowMemoryException();
        }
    }

    std::vector<TYPE> m_data;
    INT_PTR m_nGrowBy = 0;
};

class CPtrArray : public CArray<void*, void*>
{
    DECLARE_DYNAMIC(CPtrArray)
};

class CDWordArray : public CArray<DWORD, DWORD>
{
    DECLARE_SERIAL(CDWordArray)
};

class CUIntArray : public CArray<UINT, UINT>
{
    DECLARE_SERIAL(CUIntArray)
};

class CStringArray : public CArray<CString, const CString&>
{
    DECLARE_SERIAL(CStringArray)
};
