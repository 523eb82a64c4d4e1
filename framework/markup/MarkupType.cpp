#include "framework/markup/MarkupType.h"

#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupTypeRegistry.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupType, COSMMarkupObject, nullptr, nullptr)

COSMMarkupType::COSMMarkupType(LPCWSTR tag, LPCWSTR className, CreateFunction pfnCreate, BaseTypeGetter pfnGetBaseType,
                               RegisterFunction pfnRegisterProperties)
    : m_pszTag(tag), m_pszClassName(className), m_pfnCreate(pfnCreate), m_pfnGetBaseType(pfnGetBaseType),
      m_pfnRegisterProperties(pfnRegisterProperties)
{
    GetMarkupTypeRegistry()->Add(tag, this);
}

COSMMarkupType::~COSMMarkupType()
{
    if (m_pDefaultStyle)
        m_pDefaultStyle->Release();
}

COSMMarkupObject* COSMMarkupType::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    COSMMarkupType* type = GetMarkupTypeRegistry()->Lookup(GetMarkupText(value));
    if (type)
        type->AddRef();
    return type;
}

COSMMarkupObject* COSMMarkupType::CreateInstance() const
{
    return m_pfnCreate ? m_pfnCreate() : nullptr;
}

COSMMarkupType* COSMMarkupType::GetBaseType() const
{
    return m_pfnGetBaseType ? m_pfnGetBaseType() : nullptr;
}

BOOL COSMMarkupType::IsDerivedFrom(const COSMMarkupType* type) const
{
    for (const COSMMarkupType* t = this; t; t = t->GetBaseType())
    {
        if (t == type)
            return TRUE;
    }
    return FALSE;
}

void COSMMarkupType::EnsureInitialized()
{
    if (m_bInitialized)
        return;
    COSMMarkupType* base = GetBaseType();
    if (base && !base->IsInitialized())
        base->EnsureInitialized();
    // Set first: a registration function that reaches this type again must not run twice.
    m_bInitialized = TRUE;
    if (m_pfnRegisterProperties)
        m_pfnRegisterProperties();
}

void COSMMarkupType::SetTypeStyle(COSMMarkupStyle* style)
{
    if (m_pDefaultStyle)
        m_pDefaultStyle->Release();
    m_pDefaultStyle = style;
    if (style)
        style->Seal();
}
