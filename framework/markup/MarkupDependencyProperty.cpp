#include "framework/markup/MarkupDependencyProperty.h"

#include "framework/foundation/ProcessService.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <cwchar>

IMPLEMENT_MARKUP_TYPE(COSMMarkupDependencyProperty, COSMMarkupObject, nullptr, nullptr)

COSMMarkupDependencyProperty::~COSMMarkupDependencyProperty() = default;

BOOL COSMMarkupDependencyProperty::IsEvent() const
{
    return FALSE;
}

COSMMarkupDependencyProperty* COSMMarkupDependencyProperty::RegisterProperty(COSMMarkupDependencyProperty* property,
                                                                             LPCWSTR name, COSMMarkupType* valueType,
                                                                             COSMMarkupType* ownerType,
                                                                             COSMMarkupPropertyMetadata* metadata,
                                                                             BOOL attached)
{
    property->m_pszName = name;
    property->m_pValueType = valueType;
    property->m_pOwnerType = ownerType;
    property->m_bAttached = attached;
    COSMMarkupPropertyRegistry* registry = GetMarkupPropertyRegistry();
    if (!property->IsEvent())
        property->m_nIndex = registry->NextIndex();
    registry->Add(name, ownerType, property);
    property->m_pMetadata.reset(metadata);
    return property;
}

COSMMarkupDependencyProperty* COSMMarkupDependencyProperty::Register(LPCWSTR name, COSMMarkupType* valueType,
                                                                     COSMMarkupType* ownerType,
                                                                     COSMMarkupPropertyMetadata* metadata)
{
    return RegisterProperty(new COSMMarkupDependencyProperty, name, valueType, ownerType, metadata, FALSE);
}

COSMMarkupDependencyProperty* COSMMarkupDependencyProperty::RegisterAttached(LPCWSTR name, COSMMarkupType* valueType,
                                                                             COSMMarkupType* ownerType,
                                                                             COSMMarkupPropertyMetadata* metadata)
{
    return RegisterProperty(new COSMMarkupDependencyProperty, name, valueType, ownerType, metadata, TRUE);
}

COSMMarkupDependencyProperty* COSMMarkupDependencyProperty::AddOwner(COSMMarkupType* ownerType)
{
    AddRef();
    GetMarkupPropertyRegistry()->Add(m_pszName, ownerType, this);
    return this;
}

COSMMarkupDependencyProperty* COSMMarkupDependencyProperty::FindProperty(const COSMMarkupType* ownerType, LPCWSTR name)
{
    if (!name)
        return nullptr;
    if (name[0] == L'x' && name[1] == L':')
        name += 2;
    const COSMMarkupPropertyRegistry* registry = GetMarkupPropertyRegistry();
    for (const COSMMarkupType* type = ownerType; type; type = type->GetBaseType())
    {
        if (COSMMarkupDependencyProperty* property = registry->Lookup(name, type))
            return property;
    }
    return nullptr;
}

int COSMMarkupDependencyProperty::GetIndexedPropertyCount()
{
    return GetMarkupPropertyRegistry()->GetIndexCount();
}

bool COSMMarkupPropertyKey::operator==(const COSMMarkupPropertyKey& other) const
{
    return ownerType == other.ownerType && wcscmp(name, other.name) == 0;
}

template <> UINT HashKey<const COSMMarkupPropertyKey&>(const COSMMarkupPropertyKey& key)
{
    return HashMarkupText(key.name) ^ (key.ownerType ? key.ownerType->GetHashKey() : 0);
}

COSMMarkupPropertyRegistry::COSMMarkupPropertyRegistry()
{
    m_properties.InitHashTable(17);
}

COSMMarkupPropertyRegistry::~COSMMarkupPropertyRegistry()
{
    for (POSITION pos = m_properties.GetStartPosition(); pos;)
    {
        COSMMarkupPropertyKey key;
        COSMMarkupDependencyProperty* property = nullptr;
        m_properties.GetNextAssoc(pos, key, property);
        property->Release();
    }
    m_properties.RemoveAll();
}

void COSMMarkupPropertyRegistry::Add(LPCWSTR name, const COSMMarkupType* ownerType,
                                     COSMMarkupDependencyProperty* property)
{
    COSMMarkupDependencyProperty*& entry = m_properties[COSMMarkupPropertyKey{name, ownerType}];
    COSMMarkupDependencyProperty* replaced = entry;
    entry = property;
    if (replaced)
        replaced->Release();
}

COSMMarkupDependencyProperty* COSMMarkupPropertyRegistry::Lookup(LPCWSTR name, const COSMMarkupType* ownerType) const
{
    COSMMarkupDependencyProperty* property = nullptr;
    if (!name || !m_properties.Lookup(COSMMarkupPropertyKey{name, ownerType}, property))
        return nullptr;
    return property;
}

COSMMarkupPropertyRegistry* GetMarkupPropertyRegistry()
{
    return OsmProcessService<COSMMarkupPropertyRegistry>();
}
