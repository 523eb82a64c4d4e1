#include "framework/markup/MarkupStyle.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupInputElement.h"
#include "framework/markup/MarkupProperties.h"
#include "framework/markup/MarkupResourceDictionary.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupTrigger.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElement.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupStyle, COSMMarkupObject, L"Style", &COSMMarkupStyle::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupStyle::s_pResourcesProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupStyle::s_pTargetTypeProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupStyle::s_pBasedOnProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupStyle::s_pTriggersProperty = nullptr;

namespace {

constexpr char kMissingPart[] = "Must specify both Property and Value for Setter.";

}  // namespace

void COSMMarkupStyle::RegisterMarkupProperties()
{
    // Setter and trigger first: their Property and Value exist before anything of the style.
    COSMMarkupSetter::GetClassType()->EnsureInitialized();
    COSMMarkupTrigger::GetClassType()->EnsureInitialized();
    COSMMarkupType* type = GetClassType();
    s_pResourcesProperty =
        COSMMarkupDependencyProperty::Register(L"Resources", COSMMarkupResourceDictionary::GetClassType(), type);
    s_pTargetTypeProperty = COSMMarkupDependencyProperty::Register(L"TargetType", COSMMarkupType::GetClassType(), type);
    s_pBasedOnProperty = COSMMarkupDependencyProperty::Register(L"BasedOn", type, type);
    s_pTriggersProperty =
        COSMMarkupDependencyProperty::Register(L"Triggers", COSMMarkupTriggerCollection::GetClassType(), type);
}

COSMMarkupStyle::COSMMarkupStyle() : m_pSetters(new COSMMarkupSetterColection)
{
    m_pSetters->SetLogicalParent(this);
}

COSMMarkupStyle::~COSMMarkupStyle()
{
    m_pSetters->SetLogicalParent(nullptr);
    m_pSetters->Release();
    if (m_pSealedValues)
        m_pSealedValues->Release();
}

void COSMMarkupStyle::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    COSMMarkupSetter* setter = MarkupDynamicCast<COSMMarkupSetter>(content);
    if (!setter)
    {
        COSMMarkupObject::SetContentObject(builder, content);
        return;
    }
    // Resolved before it is kept: a throw leaves the setter with the caller.
    ResolveSetter(builder, setter);
    m_pSetters->Add(setter);
}

void COSMMarkupStyle::SetPropertyObject(COSMMarkupBuilder* builder, COSMMarkupDependencyProperty* property,
                                        COSMMarkupObject* value)
{
    if (property == s_pTriggersProperty)
    {
        if (const COSMMarkupTriggerCollection* triggers = MarkupDynamicCast<COSMMarkupTriggerCollection>(value))
        {
            for (int i = 0; i < triggers->GetCount(); ++i)
                ResolveTrigger(builder, triggers->GetTrigger(i));
        }
    }
    COSMMarkupObject::SetPropertyObject(builder, property, value);
}

COSMMarkupDependencyProperty* COSMMarkupStyle::ResolvePropertyOf(COSMMarkupBuilder* builder, COSMMarkupObject* target)
{
    COSMMarkupDependencyProperty* const propertySlot = COSMMarkupSetter::s_pPropertyProperty;
    COSMMarkupDependencyProperty* const valueSlot = COSMMarkupSetter::s_pValueProperty;
    COSMMarkupObject* named = target->GetValue(propertySlot);
    if (!named)
        COSMMarkupBuilder::ThrowBuilderException(kMissingPart);
    COSMMarkupDependencyProperty* property = MarkupDynamicCast<COSMMarkupDependencyProperty>(named);
    if (!property)
    {
        const COSMMarkupString* name = MarkupDynamicCast<COSMMarkupString>(named);
        if (!name)
            COSMMarkupBuilder::ThrowBuilderException(kMissingPart);
        const COSMMarkupType* targetType = MarkupDynamicCast<COSMMarkupType>(GetValue(s_pTargetTypeProperty));
        property = builder ? builder->ResolveProperty(targetType, name->GetText()) : nullptr;
        if (!property)
        {
            COSMMarkupBuilder::ThrowBuilderException(
                FormatMarkupMessage1("Cannot find the Style Property '%ls'", name->GetText()));
        }
        property->AddRef();
        target->SetValue(propertySlot, property);
    }
    COSMMarkupObject* value = target->GetValue(valueSlot);
    if (!value)
        COSMMarkupBuilder::ThrowBuilderException(kMissingPart);
    // Converted now, while the builder can still say where: a bad value fails even when no element uses the style.
    if (!IsKindOf(value, property->GetValueType()))
    {
        if (!builder)
            COSMMarkupBuilder::ThrowBuilderException(kMissingPart);
        target->SetValue(valueSlot, builder->ConvertValue(property, value));
    }
    return property;
}

void COSMMarkupStyle::ResolveSetter(COSMMarkupBuilder* builder, COSMMarkupSetter* setter)
{
    ResolvePropertyOf(builder, setter);
}

void COSMMarkupStyle::ResolveTrigger(COSMMarkupBuilder* builder, COSMMarkupTrigger* trigger)
{
    if (!trigger)
        return;
    ResolvePropertyOf(builder, trigger);
    if (const COSMMarkupSetterColection* setters = trigger->GetSetters())
    {
        for (int i = 0; i < setters->GetCount(); ++i)
            ResolveSetter(builder, setters->GetSetter(i));
    }
}

void COSMMarkupStyle::Seal()
{
    if (m_bSealed || m_bSealing)
        return;
    m_bSealing = TRUE;
    if (!m_pSealedValues)
        m_pSealedValues = new COSMMarkupProperties(this);
    SetLogicalParent(nullptr);
    if (COSMMarkupStyle* base = GetBasedOn())
    {
        base->Seal();
        if (base->m_pSealedValues)
            m_pSealedValues->CopyFrom(base->m_pSealedValues);
    }
    // In markup order: a later setter of one property replaces an earlier one, and the own setters the base's.
    for (int i = 0; i < m_pSetters->GetCount(); ++i)
    {
        const COSMMarkupSetter* setter = m_pSetters->GetSetter(i);
        COSMMarkupDependencyProperty* property = setter ? setter->GetSetterProperty() : nullptr;
        COSMMarkupObject* value = setter ? setter->GetSetterValue() : nullptr;
        if (!property || !value)
            continue;
        value->AddRef();
        m_pSealedValues->SetAt(property->GetIndex(), value);
    }
    m_bSealing = FALSE;
    m_bSealed = TRUE;
}

COSMMarkupObject* COSMMarkupStyle::GetStyleValue(COSMMarkupDependencyProperty* property) const
{
    if (!m_bSealed || !property || !m_pSealedValues)
        return nullptr;
    return m_pSealedValues->GetAt(property->GetIndex());
}

COSMMarkupObject* COSMMarkupStyle::FindResource(const COSMMarkupObject* key)
{
    return FindMarkupResource(this, key);
}

COSMMarkupTriggerCollection* COSMMarkupStyle::GetTriggers() const
{
    return MarkupDynamicCast<COSMMarkupTriggerCollection>(GetValue(s_pTriggersProperty));
}

COSMMarkupStyle* COSMMarkupStyle::GetBasedOn() const
{
    return MarkupDynamicCast<COSMMarkupStyle>(GetValue(s_pBasedOnProperty));
}

void ApplyMarkupStyles(COSMMarkupObject* root)
{
    if (!root)
        return;
    const int count = root->GetLogicalChildrenCount();
    for (int i = 0; i < count; ++i)
        ApplyMarkupStyles(root->GetLogicalChild(i));
    if (COSMMarkupInputElement* element = MarkupDynamicCast<COSMMarkupInputElement>(root))
        element->UpdateStyle();
}

void ApplyMarkupStylesOnRoot(COSMMarkupUIElement* root)
{
    ApplyMarkupStyles(root);
}
