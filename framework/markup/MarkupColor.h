// COSMMarkupColor: a 32-bit colour with red in the low byte, then green and blue (COLORREF order), and the alpha in
// the top byte (0xFF opaque). Markup writes "#RRGGBB", "#AARRGGBB" or one of the 140 colour names ("Red",
// "lightsteelblue"); a "Color" element also takes that text as its content.
//
//   UINT value;
//   if (COSMMarkupColor::ConvertFromString(L"#80FF0000", &value)) ...   // 0x800000FF
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupColor : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupColor)

public:
    COSMMarkupColor() : m_nValue(0) {}
    // Opaque: alpha 0xFF over rgb.
    explicit COSMMarkupColor(COLORREF rgb);
    // The low 24 bits of rgb with alpha in the top byte.
    COSMMarkupColor(BYTE alpha, COLORREF rgb);

    BOOL IsEqual(const COSMMarkupObject* other) const override;
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;
    // Colour text replaces the value (the text object is released); other content throws the object's content
    // message and is not kept.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;

    // Alpha in the top byte.
    UINT GetValue() const { return m_nValue; }

    // TRUE with the colour of "#RRGGBB" (opaque), "#AARRGGBB" or a colour name; FALSE for anything else, including
    // anything but hexadecimal digits after the '#'.
    static BOOL ConvertFromString(LPCWSTR text, UINT* value);

private:
    UINT m_nValue;
};

// TRUE with the opaque colour of a colour name (3 to 20 characters, starting with a letter, any case), FALSE for a
// name not among the 140. Black is found too, though its value is 0 but for the alpha.
BOOL ParseMarkupColorName(LPCWSTR name, UINT* value);
