#include "framework/markup/MarkupTrigger.h"

#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupTrigger, COSMMarkupObject, L"Trigger", &COSMMarkupTrigger::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COSMMarkupTriggerCollection, COSMMarkupCollection, nullptr, nullptr)

COSMMarkupDependencyProperty* COSMMarkupTrigger::s_pPropertyProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTrigger::s_pValueProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupTrigger::s_pSettersProperty = nullptr;

void COSMMarkupTrigger::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    // The very objects of the setter, so a trigger's condition resolves exactly as a setter does.
    COSMMarkupSetter::GetClassType()->EnsureInitialized();
    s_pPropertyProperty = COSMMarkupSetter::s_pPropertyProperty->AddOwner(type);
    s_pValueProperty = COSMMarkupSetter::s_pValueProperty->AddOwner(type);
    s_pSettersProperty =
        COSMMarkupDependencyProperty::Register(L"Setters", COSMMarkupSetterColection::GetClassType(), type);
}

COSMMarkupTrigger::COSMMarkupTrigger(COSMMarkupDependencyProperty* property, COSMMarkupObject* value)
{
    GetClassType()->EnsureInitialized();
    SetSetterPropertyAndValue(this, property, value);
}

COSMMarkupDependencyProperty* COSMMarkupTrigger::GetTriggerProperty() const
{
    return GetResolvedSetterProperty(this);
}

COSMMarkupObject* COSMMarkupTrigger::GetTriggerValue() const
{
    return GetValue(s_pValueProperty);
}

COSMMarkupSetterColection* COSMMarkupTrigger::GetSetters() const
{
    return MarkupDynamicCast<COSMMarkupSetterColection>(GetValue(s_pSettersProperty));
}

void COSMMarkupTrigger::AddSetter(COSMMarkupSetter* setter)
{
    if (!GetSetters())
        SetValue(s_pSettersProperty, new COSMMarkupSetterColection);
    if (COSMMarkupSetterColection* setters = GetSetters())
        setters->Add(setter);
    else if (setter)
        setter->Release();
}

COSMMarkupTriggerCollection::COSMMarkupTriggerCollection()
{
    SetElementType(COSMMarkupTrigger::GetClassType());
}

COSMMarkupTrigger* COSMMarkupTriggerCollection::GetTrigger(int index) const
{
    return MarkupDynamicCast<COSMMarkupTrigger>(GetItem(index));
}

int COSMMarkupTriggerCollection::Find(const COSMMarkupTrigger* trigger) const
{
    for (int i = 0; i < GetCount(); ++i)
    {
        if (GetItem(i) == trigger)
            return i;
    }
    return -1;
}
