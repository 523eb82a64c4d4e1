#include "framework/markup/MarkupResourceDictionary.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupInputElement.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupResourceDictionary, COSMMarkupObject, nullptr, nullptr)

bool COSMMarkupResourceKey::operator==(const COSMMarkupResourceKey& searched) const
{
    return object->IsEqual(searched.object) != FALSE;
}

template <> UINT HashKey<const COSMMarkupResourceKey&>(const COSMMarkupResourceKey& key)
{
    return key.object->GetHashKey();
}

COSMMarkupResourceDictionary::~COSMMarkupResourceDictionary()
{
    for (POSITION pos = m_entries.GetStartPosition(); pos;)
    {
        COSMMarkupResourceKey key = {nullptr};
        COSMMarkupObject* value = nullptr;
        m_entries.GetNextAssoc(pos, key, value);
        const_cast<COSMMarkupObject*>(key.object)->Release();
        value->Release();
    }
    m_entries.RemoveAll();
}

void COSMMarkupResourceDictionary::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* object)
{
    COSMMarkupObject* key = GetObjectKey(object);
    if (!key)
    {
        COSMMarkupBuilder::ThrowBuilderException(
            "Objects added to Dictionary must have Key attribute or some other type of associated Key");
    }
    if (Lookup(key))
        COSMMarkupBuilder::ThrowBuilderException("Dictionary key is already used. Key attributes must be unique.");
    key->AddRef();
    SetAt(key, object);
}

COSMMarkupObject* COSMMarkupResourceDictionary::Lookup(const COSMMarkupObject* key) const
{
    COSMMarkupObject* value = nullptr;
    if (!key || !m_entries.Lookup(COSMMarkupResourceKey{key}, value))
        return nullptr;
    return value;
}

void COSMMarkupResourceDictionary::SetAt(COSMMarkupObject* key, COSMMarkupObject* value)
{
    if (!key || !value)
    {
        if (key)
            key->Release();
        if (value)
            value->Release();
        return;
    }
    COSMMarkupObject*& slot = m_entries[COSMMarkupResourceKey{key}];
    COSMMarkupObject* replaced = slot;
    slot = value;
    if (replaced)
    {
        // The entry keeps the key it was stored under.
        replaced->Release();
        key->Release();
    }
}

COSMMarkupObject* COSMMarkupResourceDictionary::GetObjectKey(const COSMMarkupObject* object)
{
    if (!object)
        return nullptr;
    if (COSMMarkupObject* key = object->GetValue(COSMMarkupObject::s_pKeyProperty))
        return key;
    if (MarkupDynamicCast<COSMMarkupStyle>(object))
        return object->GetValue(COSMMarkupStyle::s_pTargetTypeProperty);
    return nullptr;
}

COSMMarkupObject* FindMarkupResource(COSMMarkupObject* start, const COSMMarkupObject* key)
{
    if (!start || !key)
        return nullptr;
    if (const COSMMarkupResourceDictionary* dictionary = MarkupDynamicCast<COSMMarkupResourceDictionary>(start))
        return dictionary->Lookup(key);
    for (COSMMarkupObject* current = start; current; current = current->GetLogicalParent())
    {
        const COSMMarkupResourceDictionary* resources =
            MarkupDynamicCast<COSMMarkupResourceDictionary>(current->GetValue(COSMMarkupStyle::s_pResourcesProperty));
        if (COSMMarkupObject* found = resources ? resources->Lookup(key) : nullptr)
            return found;
        if (COSMMarkupStyle* style =
                MarkupDynamicCast<COSMMarkupStyle>(current->GetValue(COSMMarkupInputElement::s_pStyleProperty)))
        {
            if (COSMMarkupObject* found = style->FindResource(key))
                return found;
        }
        if (current->GetType() == COSMMarkupStyle::GetClassType())
            return nullptr;
    }
    return nullptr;
}
