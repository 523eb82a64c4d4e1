#include "framework/markup/MarkupStyle.h"

#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupProperties.h"
#include "framework/markup/MarkupResourceDictionary.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupStyle, COSMMarkupObject, L"Style", &COSMMarkupStyle::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupStyle::s_pResourcesProperty = nullptr;

void COSMMarkupStyle::RegisterMarkupProperties()
{
    s_pResourcesProperty = COSMMarkupDependencyProperty::Register(
        L"Resources", COSMMarkupResourceDictionary::GetClassType(), GetClassType());
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
