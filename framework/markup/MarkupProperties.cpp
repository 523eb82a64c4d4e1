#include "framework/markup/MarkupProperties.h"

#include "framework/markup/MarkupDependencyProperty.h"

COSMMarkupProperties::COSMMarkupProperties(COSMMarkupObject* owner)
    : m_pOwner(owner), m_values(static_cast<size_t>(COSMMarkupDependencyProperty::GetIndexedPropertyCount()), nullptr)
{}

COSMMarkupProperties::~COSMMarkupProperties()
{
    for (size_t i = 0; i < m_values.size(); ++i)
        ReleaseSlot(i);
}

COSMMarkupObject* COSMMarkupProperties::GetAt(int index) const
{
    if (index < 0 || index >= GetSize())
        return nullptr;
    return m_values[static_cast<size_t>(index)];
}

void COSMMarkupProperties::SetAt(int index, COSMMarkupObject* value)
{
    if (index < 0 || index >= GetSize())
    {
        if (value)
            value->Release();
        return;
    }
    const size_t slot = static_cast<size_t>(index);
    ReleaseSlot(slot);
    m_values[slot] = value;
    if (value)
        value->SetLogicalParent(m_pOwner);
}

void COSMMarkupProperties::CopyFrom(const COSMMarkupProperties* source)
{
    const size_t count = std::min(m_values.size(), source->m_values.size());
    for (size_t i = 0; i < count; ++i)
    {
        COSMMarkupObject* value = source->m_values[i];
        if (!value)
            continue;
        value->AddRef();
        ReleaseSlot(i);
        m_values[i] = value;
    }
}

void COSMMarkupProperties::ReleaseSlot(size_t index)
{
    COSMMarkupObject* value = m_values[index];
    if (!value)
        return;
    m_values[index] = nullptr;
    // A value shared with other stores may belong to another object by now.
    if (value->GetLogicalParent() == m_pOwner)
        value->SetLogicalParent(nullptr);
    value->Release();
}
