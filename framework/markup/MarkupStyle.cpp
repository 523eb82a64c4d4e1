#include "framework/markup/MarkupStyle.h"

#include "framework/markup/MarkupCollection.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupProperties.h"
#include "framework/markup/MarkupResourceDictionary.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupStyle, COSMMarkupObject, L"Style", &COSMMarkupStyle::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupStyle::s_pResourcesProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupStyle::s_pTargetTypeProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupStyle::s_pBasedOnProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupStyle::s_pTriggersProperty = nullptr;

void COSMMarkupStyle::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pResourcesProperty =
        COSMMarkupDependencyProperty::Register(L"Resources", COSMMarkupResourceDictionary::GetClassType(), type);
    s_pTargetTypeProperty =
        COSMMarkupDependencyProperty::Register(L"TargetType", COSMMarkupType::GetClassType(), type);
    s_pBasedOnProperty = COSMMarkupDependencyProperty::Register(L"BasedOn", type, type);
    s_pTriggersProperty =
        COSMMarkupDependencyProperty::Register(L"Triggers", COSMMarkupCollection::GetClassType(), type);
}

COSMMarkupStyle::~COSMMarkupStyle()
{
    if (m_pSealedValues)
        m_pSealedValues->Release();
}

void COSMMarkupStyle::Seal()
{
    if (m_bSealed)
        return;
    if (!m_pSealedValues)
        m_pSealedValues = new COSMMarkupProperties(this);
    SetLogicalParent(nullptr);
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

void ApplyMarkupStylesOnRoot(COSMMarkupUIElement* root) {}
