#include "framework/markup/MarkupObjectProperty.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupObjectProperty, COSMMarkupObject, nullptr, nullptr)

COSMMarkupObjectProperty::~COSMMarkupObjectProperty()
{
    if (m_pValue)
        m_pValue->Release();
}

void COSMMarkupObjectProperty::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    COSMMarkupType* valueType = m_pProperty ? m_pProperty->GetValueType() : nullptr;
    if (IsKindOf(content, valueType) || MarkupDynamicCast<COSMMarkupString>(content))
    {
        COSMMarkupObject* replaced = m_pValue;
        m_pValue = content;
        if (replaced)
            replaced->Release();
        return;
    }
    if (m_pValue)
    {
        m_pValue->SetContentObject(builder, content);
        return;
    }
    // A collection-typed property collects its children without a collection tag.
    auto created = RefPtr<COSMMarkupObject>::Adopt(builder->CreateInstance(valueType));
    if (!created)
    {
        COSMMarkupObject::SetContentObject(builder, content);
        return;
    }
    created->SetContentObject(builder, content);
    m_pValue = created.Detach();
}

BOOL COSMMarkupObjectProperty::HasContentObject() const
{
    return m_pValue != nullptr;
}

COSMMarkupObject* COSMMarkupObjectProperty::DetachValue()
{
    COSMMarkupObject* value = m_pValue;
    m_pValue = nullptr;
    return value;
}
