#include "framework/markup/MarkupDefinitionCollection.h"

#include "framework/markup/MarkupDefinition.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupDefinitionCollection, COSMMarkupCollection, nullptr, nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupColumnDefinitionCollection, COSMMarkupDefinitionCollection, nullptr, nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupRowDefinitionCollection, COSMMarkupDefinitionCollection, nullptr, nullptr)

COSMMarkupDefinitionCollection::COSMMarkupDefinitionCollection()
{
    SetElementType(COSMMarkupDefinitionBase::GetClassType());
}

COSMMarkupDefinitionCollection::~COSMMarkupDefinitionCollection() = default;

COSMMarkupDefinitionBase* COSMMarkupDefinitionCollection::GetDefinition(int index) const
{
    return MarkupDynamicCast<COSMMarkupDefinitionBase>(GetItem(index));
}

COSMMarkupColumnDefinitionCollection::COSMMarkupColumnDefinitionCollection()
{
    SetElementType(COSMMarkupColumnDefinition::GetClassType());
}

COSMMarkupColumnDefinitionCollection::~COSMMarkupColumnDefinitionCollection() = default;

COSMMarkupRowDefinitionCollection::COSMMarkupRowDefinitionCollection()
{
    SetElementType(COSMMarkupRowDefinition::GetClassType());
}

COSMMarkupRowDefinitionCollection::~COSMMarkupRowDefinitionCollection() = default;
