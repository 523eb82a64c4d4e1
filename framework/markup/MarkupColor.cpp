#include "framework/markup/MarkupColor.h"

#include "framework/markup/MarkupNumberText.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <cwchar>

IMPLEMENT_MARKUP_TYPE(COSMMarkupColor, COSMMarkupObject, L"Color", nullptr)

namespace {

// Reads count bytes of two hexadecimal digits each, first byte first; every character must be a digit (no signs,
// blanks or "0x" the C scanner would let through).
BOOL ReadHexBytes(LPCWSTR text, int count, UINT bytes[])
{
    for (int i = 0; i < count; ++i)
    {
        UINT byte = 0;
        for (int j = 0; j < 2; ++j)
        {
            const int digit = MarkupDigitValue(text[i * 2 + j], 16);
            if (digit < 0)
                return FALSE;
            byte = byte * 16 + static_cast<UINT>(digit);
        }
        bytes[i] = byte;
    }
    return TRUE;
}

}  // namespace

COSMMarkupColor::COSMMarkupColor(COLORREF rgb) : m_nValue(0xFF000000u | rgb) {}

COSMMarkupColor::COSMMarkupColor(BYTE alpha, COLORREF rgb)
    : m_nValue((static_cast<UINT>(alpha) << 24) | (rgb & 0xFFFFFF))
{}

BOOL COSMMarkupColor::IsEqual(const COSMMarkupObject* other) const
{
    return MarkupSameValue(this, other, &COSMMarkupColor::m_nValue);
}

COSMMarkupObject* COSMMarkupColor::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    UINT color = 0;
    if (!ConvertFromString(GetMarkupText(value), &color))
        return nullptr;
    COSMMarkupColor* result = new COSMMarkupColor;
    result->m_nValue = color;
    return result;
}

void COSMMarkupColor::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    UINT color = 0;
    if (!ConvertFromString(GetMarkupText(content), &color))
    {
        COSMMarkupObject::SetContentObject(builder, content);
        return;
    }
    m_nValue = color;
    content->Release();
}

BOOL COSMMarkupColor::ConvertFromString(LPCWSTR text, UINT* value)
{
    if (!text)
        return FALSE;
    if (text[0] != L'#')
        return ParseMarkupColorName(text, value);
    UINT bytes[4] = {};
    switch (wcslen(text))
    {
    case 7:  // #RRGGBB
        if (!ReadHexBytes(text + 1, 3, bytes))
            return FALSE;
        *value = 0xFF000000u | bytes[0] | (bytes[1] << 8) | (bytes[2] << 16);
        return TRUE;
    case 9:  // #AARRGGBB
        if (!ReadHexBytes(text + 1, 4, bytes))
            return FALSE;
        *value = (bytes[0] << 24) | bytes[1] | (bytes[2] << 8) | (bytes[3] << 16);
        return TRUE;
    default:
        return FALSE;
    }
}
