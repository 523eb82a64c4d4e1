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

void SetSetterPropertyAndValue(COSMMarkupObject* object, COSMMarkupDependencyProperty* property,
                               COSMMarkupObject* value)
{
    if (property)
        property->AddRef();
    object->SetValue(COSMMarkupSetter::s_pPropertyProperty, property);
    object->SetValue(COSMMarkupSetter::s_pValueProperty, value);
}

COSMMarkupDependencyProperty* GetResolvedSetterProperty(const COSMMarkupObject* object)
{
    return MarkupDynamicCast<COSMMarkupDependencyProperty>(object->GetValue(COSMMarkupSetter::s_pPropertyProperty));
}

COSMMarkupSetter::COSMMarkupSetter(COSMMarkupDependencyProperty* property, COSMMarkupObject* value)
{
    GetClassType()->EnsureInitialized();
    SetSetterPropertyAndValue(this, property, value);
}

COSMMarkupDependencyProperty* COSMMarkupSetter::GetSetterProperty() const
{
    return GetResolvedSetterProperty(this);
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
