#include "framework/markup/MarkupGridLength.h"

#include "framework/markup/MarkupNumberText.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupGridLength, COSMMarkupObject, nullptr, nullptr)

BOOL COSMMarkupGridLength::IsEqual(const COSMMarkupObject* other) const
{
    const COSMMarkupGridLength* same = MarkupSameClass(this, other);
    return same && same->m_dValue == m_dValue && same->m_nUnit == m_nUnit;
}

COSMMarkupObject* COSMMarkupGridLength::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(value);
    if (!text || text->GetLength() < 1)
        return nullptr;
    if (MarkupTextEqualsNoCase(text->GetText(), L"Auto"))
        return new COSMMarkupGridLength(1.0, Auto);
    const bool star = text->GetText()[text->GetLength() - 1] == L'*';
    if (star && text->GetLength() == 1)
        return new COSMMarkupGridLength(1.0, Star);
    LPCWSTR cursor = text->GetText();
    double number = 0.0;
    if (!ParseMarkupNumberList(&cursor, &number, star ? L'*' : 0, TRUE))
        return nullptr;
    // A negative share or size has no meaning to the layout, and a negative share would cancel a positive one in
    // the sums that star sizes are divided by.
    if (number < 0.0)
        return nullptr;
    return new COSMMarkupGridLength(number, star ? Star : Pixel);
}
