#include "framework/markup/MarkupDefinition.h"

#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupGridSizing.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <climits>

IMPLEMENT_MARKUP_TYPE(COSMMarkupDefinitionBase, COSMMarkupObject, L"DefinitionBase", nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupColumnDefinition, COSMMarkupDefinitionBase, L"ColumnDefinition",
                      &COSMMarkupColumnDefinition::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COSMMarkupRowDefinition, COSMMarkupDefinitionBase, L"RowDefinition",
                      &COSMMarkupRowDefinition::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupColumnDefinition::s_pWidthProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupColumnDefinition::s_pMinWidthProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupColumnDefinition::s_pMaxWidthProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupRowDefinition::s_pHeightProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupRowDefinition::s_pMinHeightProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupRowDefinition::s_pMaxHeightProperty = nullptr;

namespace {

// Registers the user size, minimum and maximum of one kind of definition for owner.
void RegisterDefinitionProperties(COSMMarkupType* owner, LPCWSTR size, LPCWSTR minimum, LPCWSTR maximum,
                                  COSMMarkupDependencyProperty** sizeProperty,
                                  COSMMarkupDependencyProperty** minProperty,
                                  COSMMarkupDependencyProperty** maxProperty)
{
    *sizeProperty = COSMMarkupDependencyProperty::Register(
        size, COSMMarkupGridLength::GetClassType(), owner,
        new COSMMarkupPropertyMetadata(new COSMMarkupGridLength(1.0, COSMMarkupGridLength::Star), 0));
    *minProperty = COSMMarkupDependencyProperty::Register(minimum, COSMMarkupInt::GetClassType(), owner);
    *maxProperty = COSMMarkupDependencyProperty::Register(maximum, COSMMarkupInt::GetClassType(), owner);
}

}  // namespace

void COSMMarkupColumnDefinition::RegisterMarkupProperties()
{
    RegisterDefinitionProperties(GetClassType(), L"Width", L"MinWidth", L"MaxWidth", &s_pWidthProperty,
                                 &s_pMinWidthProperty, &s_pMaxWidthProperty);
}

void COSMMarkupRowDefinition::RegisterMarkupProperties()
{
    RegisterDefinitionProperties(GetClassType(), L"Height", L"MinHeight", L"MaxHeight", &s_pHeightProperty,
                                 &s_pMinHeightProperty, &s_pMaxHeightProperty);
}

COSMMarkupDefinitionBase::~COSMMarkupDefinitionBase() = default;
COSMMarkupColumnDefinition::~COSMMarkupColumnDefinition() = default;
COSMMarkupRowDefinition::~COSMMarkupRowDefinition() = default;

COSMMarkupDependencyProperty* COSMMarkupDefinitionBase::GetKindProperty(KindProperty which) const
{
    if (IsKindOf(this, COSMMarkupColumnDefinition::GetClassType()))
    {
        COSMMarkupDependencyProperty* const properties[] = {COSMMarkupColumnDefinition::s_pWidthProperty,
                                                            COSMMarkupColumnDefinition::s_pMinWidthProperty,
                                                            COSMMarkupColumnDefinition::s_pMaxWidthProperty};
        return properties[which];
    }
    if (IsKindOf(this, COSMMarkupRowDefinition::GetClassType()))
    {
        COSMMarkupDependencyProperty* const properties[] = {COSMMarkupRowDefinition::s_pHeightProperty,
                                                            COSMMarkupRowDefinition::s_pMinHeightProperty,
                                                            COSMMarkupRowDefinition::s_pMaxHeightProperty};
        return properties[which];
    }
    return nullptr;
}

const COSMMarkupObject* COSMMarkupDefinitionBase::GetKindValue(KindProperty which) const
{
    COSMMarkupDependencyProperty* property = GetKindProperty(which);
    return property ? GetValue(property) : nullptr;
}

COSMMarkupGridLength::Unit COSMMarkupDefinitionBase::GetUserSizeUnit() const
{
    const COSMMarkupGridLength* size = MarkupDynamicCast<COSMMarkupGridLength>(GetKindValue(UserSize));
    return size ? size->GetUnit() : COSMMarkupGridLength::Star;
}

double COSMMarkupDefinitionBase::GetUserSizeValue() const
{
    const COSMMarkupGridLength* size = MarkupDynamicCast<COSMMarkupGridLength>(GetKindValue(UserSize));
    return size ? size->GetLayoutValue() : 1.0;
}

int COSMMarkupDefinitionBase::GetUserMinSize() const
{
    const COSMMarkupInt* value = MarkupDynamicCast<COSMMarkupInt>(GetKindValue(UserMinimum));
    return value ? value->GetValue() : 0;
}

int COSMMarkupDefinitionBase::GetUserMaxSize() const
{
    const COSMMarkupInt* value = MarkupDynamicCast<COSMMarkupInt>(GetKindValue(UserMaximum));
    return value ? value->GetValue() : INT_MAX;
}

BOOL COSMMarkupDefinitionBase::HasUserMaxSize() const
{
    return MarkupDynamicCast<COSMMarkupInt>(GetKindValue(UserMaximum)) != nullptr;
}

int COSMMarkupDefinitionBase::GetFinalSize() const
{
    return TruncateMarkupLength(m_layout.sizeCache);
}

double COSMMarkupDefinitionBase::GetPreferredSize() const
{
    if (m_layout.sizeType == COSMMarkupDefinitionLayout::AutoSize)
        return m_layout.minSize;
    return std::max<double>(m_layout.minSize, m_layout.measureSize);
}
