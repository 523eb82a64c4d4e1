#include "framework/markup/MarkupScalars.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupNumberText.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupInt, COSMMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupDouble, COSMMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupEnum, COSMMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupBool, COSMMarkupObject, nullptr, nullptr)

namespace {

const int kSharedEnumCount = 8;
RefPtr<COSMMarkupObject> g_sharedEnums[kSharedEnumCount];
RefPtr<COSMMarkupObject> g_sharedFalse;
RefPtr<COSMMarkupObject> g_sharedTrue;

COSMMarkupObject* Share(RefPtr<COSMMarkupObject>& slot, COSMMarkupObject* (*pfnCreate)(int), int value)
{
    if (!slot)
        slot = RefPtr<COSMMarkupObject>::Adopt(pfnCreate(value));
    slot->AddRef();
    return slot.Get();
}

}  // namespace

BOOL COSMMarkupInt::IsEqual(const COSMMarkupObject* other) const
{
    return MarkupSameValue(this, other, &COSMMarkupInt::m_nValue);
}

COSMMarkupObject* COSMMarkupInt::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    LPCWSTR text = GetMarkupText(value);
    return text ? new COSMMarkupInt(ReadMarkupDecimal(&text)) : nullptr;
}

BOOL COSMMarkupDouble::IsEqual(const COSMMarkupObject* other) const
{
    return MarkupSameValue(this, other, &COSMMarkupDouble::m_dValue);
}

COSMMarkupObject* COSMMarkupDouble::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    LPCWSTR p = GetMarkupText(value);
    double number = 0.0;
    if (!ParseMarkupNumberList(&p, &number, 0, TRUE))
        return nullptr;
    return new COSMMarkupDouble(number);
}

BOOL COSMMarkupEnum::IsEqual(const COSMMarkupObject* other) const
{
    return MarkupSameValue(this, other, &COSMMarkupEnum::m_nValue);
}

COSMMarkupObject* COSMMarkupEnum::CreateValue(int value)
{
    const auto create = [](int n) -> COSMMarkupObject* { return new COSMMarkupEnum(n); };
    if (value < 0 || value >= kSharedEnumCount)
        return create(value);
    return Share(g_sharedEnums[value], create, value);
}

BOOL COSMMarkupBool::IsEqual(const COSMMarkupObject* other) const
{
    return MarkupSameValue(this, other, &COSMMarkupBool::m_bValue);
}

COSMMarkupObject* COSMMarkupBool::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    LPCWSTR text = GetMarkupText(value);
    if (!text)
        return nullptr;
    if (MarkupTextEqualsNoCase(text, L"True"))
        return CreateTrueValue();
    if (MarkupTextEqualsNoCase(text, L"False"))
        return CreateFalseValue();
    return nullptr;
}

COSMMarkupObject* COSMMarkupBool::CreateTrueValue()
{
    return Share(
        g_sharedTrue, [](int n) -> COSMMarkupObject* { return new COSMMarkupBool(n); }, TRUE);
}

COSMMarkupObject* COSMMarkupBool::CreateFalseValue()
{
    return Share(
        g_sharedFalse, [](int n) -> COSMMarkupObject* { return new COSMMarkupBool(n); }, FALSE);
}
