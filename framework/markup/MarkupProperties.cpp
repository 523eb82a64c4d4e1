#include "framework/markup/MarkupProperties.h"

#include "framework/markup/MarkupDependencyProperty.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

COSMMarkupProperties::COSMMarkupProperties(COSMMarkupObject* owner)
    : m_pOwner(owner), m_nSize(COSMMarkupDependencyProperty::GetIndexedPropertyCount()), m_pEntries(m_inline)
{}

COSMMarkupProperties::~COSMMarkupProperties()
{
    // Slot by slot from the first; a value's release that reaches back into the store finds its slot empty already.
    while (m_nCount > 0)
        ReleaseValue(RemoveAt(0));
    if (m_pEntries != m_inline)
        delete[] m_pEntries;
}

int COSMMarkupProperties::LowerBound(int index) const
{
    const Entry* at = std::lower_bound(m_pEntries, m_pEntries + m_nCount, index,
                                       [](const Entry& entry, int wanted) { return entry.index < wanted; });
    return static_cast<int>(at - m_pEntries);
}

const COSMMarkupProperties::Entry* COSMMarkupProperties::Find(int index) const
{
    const int at = LowerBound(index);
    return at < m_nCount && m_pEntries[at].index == index ? &m_pEntries[at] : nullptr;
}

COSMMarkupObject* COSMMarkupProperties::RemoveAt(int position)
{
    COSMMarkupObject* value = m_pEntries[position].value;
    std::memmove(m_pEntries + position, m_pEntries + position + 1,
                 static_cast<size_t>(m_nCount - position - 1) * sizeof(Entry));
    --m_nCount;
    return value;
}

void COSMMarkupProperties::InsertAt(int position, Entry entry)
{
    if (m_nCount == m_nCapacity)
    {
        if (m_nCapacity > INT_MAX / 2)
            throw std::bad_alloc();
        const int capacity = m_nCapacity * 2;
        Entry* grown = new Entry[static_cast<size_t>(capacity)];
        std::memcpy(grown, m_pEntries, static_cast<size_t>(m_nCount) * sizeof(Entry));
        if (m_pEntries != m_inline)
            delete[] m_pEntries;
        m_pEntries = grown;
        m_nCapacity = capacity;
    }
    std::memmove(m_pEntries + position + 1, m_pEntries + position,
                 static_cast<size_t>(m_nCount - position) * sizeof(Entry));
    m_pEntries[position] = entry;
    ++m_nCount;
}

COSMMarkupObject* COSMMarkupProperties::GetAt(int index) const
{
    if (index < 0 || index >= m_nSize)
        return nullptr;
    const Entry* entry = Find(index);
    return entry ? entry->value : nullptr;
}

void COSMMarkupProperties::SetAt(int index, COSMMarkupObject* value)
{
    if (index < 0 || index >= m_nSize)
    {
        if (value)
            value->Release();
        return;
    }
    Put(index, value);
    if (value)
        value->SetLogicalParent(m_pOwner);
}

void COSMMarkupProperties::CopyFrom(const COSMMarkupProperties* source)
{
    // A copy first: a release inside Put may change the source.
    const std::vector<Entry> copied(source->m_pEntries, source->m_pEntries + source->m_nCount);
    for (const Entry& entry : copied)
    {
        if (entry.index >= m_nSize)
            break;
        entry.value->AddRef();
        Put(entry.index, entry.value);
    }
}

void COSMMarkupProperties::Put(int index, COSMMarkupObject* value)
{
    // The old value goes while its slot is empty, so a release that reaches back into the store finds nothing there.
    int at = LowerBound(index);
    if (at < m_nCount && m_pEntries[at].index == index)
    {
        ReleaseValue(RemoveAt(at));
        at = LowerBound(index);
    }
    if (!value)
        return;
    try
    {
        InsertAt(at, Entry{index, value});
    }
    catch (...)
    {
        // The store takes over the reference in every case.
        value->Release();
        throw;
    }
}

void COSMMarkupProperties::ReleaseValue(COSMMarkupObject* value)
{
    // A value shared with other stores may belong to another object by now.
    if (value->GetLogicalParent() == m_pOwner)
        value->SetLogicalParent(nullptr);
    value->Release();
}
