#include "framework/markup/MarkupSetter.h"

#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupSetter, COSMMarkupObject, L"Setter", &COSMMarkupSetter::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COSMMarkupSetterColection, COSMMarkupCollection, nullptr, nullptr)

COSMMarkupDependencyProperty* COSMMarkupSetter::s_pPropertyProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupSetter::s_pValueProperty = nullptr;

void COSMMarkupSetter::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pPropertyProperty = COSMMarkupDependencyProperty::Register(L"Property", COSMMarkupObject::GetClassType(), type);
    s_pValueProperty = COSMMarkupDependencyProperty::Register(L"Value", COSMMarkupObject::GetClassType(), type);
}

COSMMarkupSetter::COSMMarkupSetter(COSMMarkupDependencyProperty* property, COSMMarkupObject* value)
{
    GetClassType()->EnsureInitialized();
    if (property)
        property->AddRef();
    SetValue(s_pPropertyProperty, property);
    SetValue(s_pValueProperty, value);
}

COSMMarkupDependencyProperty* COSMMarkupSetter::GetSetterProperty() const
{
    return MarkupDynamicCast<COSMMarkupDependencyProperty>(GetValue(s_pPropertyProperty));
}

COSMMarkupObject* COSMMarkupSetter::GetSetterValue() const
{
    return GetValue(s_pValueProperty);
}

COSMMarkupSetterColection::COSMMarkupSetterColection()
{
    SetElementType(COSMMarkupSetter::GetClassType());
}

COSMMarkupSetter* COSMMarkupSetterColection::GetSetter(int index) const
{
    return MarkupDynamicCast<COSMMarkupSetter>(GetItem(index));
}
