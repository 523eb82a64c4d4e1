#include "framework/markup/MarkupProperties.h"

#include "framework/markup/MarkupDependencyProperty.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

// A store is made for nearly every element: it is to stay within 96 bytes, a third less than a store of pairs.
static_assert(sizeof(COSMMarkupProperties) <= 96, "the value store has grown");

COSMMarkupProperties::COSMMarkupProperties(COSMMarkupObject* owner)
    : m_nSize(std::min(COSMMarkupDependencyProperty::GetIndexedPropertyCount(), 0xFFFF))
{
    SetLogicalParent(owner);
}

COSMMarkupProperties::~COSMMarkupProperties()
{
    // Slot by slot from the first; a value's release that reaches back into the store finds its slot empty already.
    while (m_nCount > 0)
        ReleaseValue(RemoveAt(0));
    if (m_nCapacity > kInlineEntries)
        delete[] reinterpret_cast<char*>(m_heap.values);
}

int COSMMarkupProperties::LowerBound(int index) const
{
    const int* slots = Slots();
    return static_cast<int>(std::lower_bound(slots, slots + m_nCount, index) - slots);
}

int COSMMarkupProperties::Find(int index) const
{
    const int at = LowerBound(index);
    return at < m_nCount && Slots()[at] == index ? at : -1;
}

COSMMarkupObject* COSMMarkupProperties::RemoveAt(int position)
{
    int* slots = Slots();
    COSMMarkupObject** values = Values();
    COSMMarkupObject* value = values[position];
    const size_t after = static_cast<size_t>(m_nCount - position - 1);
    std::memmove(slots + position, slots + position + 1, after * sizeof(int));
    std::memmove(values + position, values + position + 1, after * sizeof(COSMMarkupObject*));
    --m_nCount;
    return value;
}

void COSMMarkupProperties::InsertAt(int position, int index, COSMMarkupObject* value)
{
    if (m_nCount == m_nCapacity)
    {
        if (m_nCapacity > INT_MAX / 2)
            throw std::bad_alloc();
        const int capacity = m_nCapacity * 2;
        // One block: the values (pointer-aligned) first, the slots after them.
        char* block = new char[static_cast<size_t>(capacity) * (sizeof(COSMMarkupObject*) + sizeof(int))];
        auto* values = reinterpret_cast<COSMMarkupObject**>(block);
        auto* slots = reinterpret_cast<int*>(block + static_cast<size_t>(capacity) * sizeof(COSMMarkupObject*));
        std::memcpy(values, Values(), static_cast<size_t>(m_nCount) * sizeof(COSMMarkupObject*));
        std::memcpy(slots, Slots(), static_cast<size_t>(m_nCount) * sizeof(int));
        if (m_nCapacity > kInlineEntries)
            delete[] reinterpret_cast<char*>(m_heap.values);
        m_heap.slots = slots;
        m_heap.values = values;
        m_nCapacity = capacity;
    }
    int* slots = Slots();
    COSMMarkupObject** values = Values();
    const size_t after = static_cast<size_t>(m_nCount - position);
    std::memmove(slots + position + 1, slots + position, after * sizeof(int));
    std::memmove(values + position + 1, values + position, after * sizeof(COSMMarkupObject*));
    slots[position] = index;
    values[position] = value;
    ++m_nCount;
}

COSMMarkupObject* COSMMarkupProperties::GetAt(int index) const
{
    if (index < 0 || index >= m_nSize)
        return nullptr;
    const int at = Find(index);
    return at >= 0 ? Values()[at] : nullptr;
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
        value->SetLogicalParent(GetOwner());
}

void COSMMarkupProperties::CopyFrom(const COSMMarkupProperties* source)
{
    // A copy first: a release inside Put may change the source.
    std::vector<std::pair<int, COSMMarkupObject*>> copied;
    copied.reserve(static_cast<size_t>(source->m_nCount));
    for (int i = 0; i < source->m_nCount; ++i)
        copied.emplace_back(source->Slots()[i], source->Values()[i]);
    for (const auto& entry : copied)
    {
        if (entry.first >= m_nSize)
            break;
        entry.second->AddRef();
        Put(entry.first, entry.second);
    }
}

void COSMMarkupProperties::Put(int index, COSMMarkupObject* value)
{
    // The old value goes while its slot is empty, so a release that reaches back into the store finds nothing there.
    int at = LowerBound(index);
    if (at < m_nCount && Slots()[at] == index)
    {
        ReleaseValue(RemoveAt(at));
        at = LowerBound(index);
    }
    if (!value)
        return;
    try
    {
        InsertAt(at, index, value);
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
    if (value->GetLogicalParent() == GetOwner())
        value->SetLogicalParent(nullptr);
    value->Release();
}
