#include "framework/markup/MarkupProperties.h"

#include "framework/markup/MarkupDependencyProperty.h"

#include <algorithm>

namespace {

template <class Entries> auto LowerBound(Entries& entries, int index)
{
    return std::lower_bound(entries.begin(), entries.end(), index,
                            [](const auto& entry, int wanted) { return entry.index < wanted; });
}

}  // namespace

COSMMarkupProperties::COSMMarkupProperties(COSMMarkupObject* owner)
    : m_pOwner(owner), m_nSize(COSMMarkupDependencyProperty::GetIndexedPropertyCount())
{}

COSMMarkupProperties::~COSMMarkupProperties()
{
    // Slot by slot from the first; a value's release that reaches back into the store finds its slot empty already.
    while (!m_entries.empty())
    {
        COSMMarkupObject* value = m_entries.front().value;
        m_entries.erase(m_entries.begin());
        ReleaseValue(value);
    }
}

const COSMMarkupProperties::Entry* COSMMarkupProperties::Find(int index) const
{
    const auto at = LowerBound(m_entries, index);
    return at != m_entries.end() && at->index == index ? &*at : nullptr;
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
    const std::vector<Entry> copied = source->m_entries;
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
    auto at = LowerBound(m_entries, index);
    if (at != m_entries.end() && at->index == index)
    {
        COSMMarkupObject* old = at->value;
        m_entries.erase(at);
        ReleaseValue(old);
        at = LowerBound(m_entries, index);
    }
    if (!value)
        return;
    // Elements are given a few values each: room for them at once, instead of a block per doubling.
    if (m_entries.empty() && m_entries.capacity() == 0)
    {
        m_entries.reserve(kFirstCapacity);
        at = m_entries.begin();
    }
    m_entries.insert(at, Entry{index, value});
}

void COSMMarkupProperties::ReleaseValue(COSMMarkupObject* value)
{
    // A value shared with other stores may belong to another object by now.
    if (value->GetLogicalParent() == m_pOwner)
        value->SetLogicalParent(nullptr);
    value->Release();
}
