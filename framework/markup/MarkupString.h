// COSMMarkupString: a markup text value (wide characters, always NUL-terminated, with its length). Texts the builder
// hands out often (the empty string, " " and "\n") are shared: CreateValue gives those with a reference added and
// makes every other text anew.
//
//   COSMMarkupObject* text = COSMMarkupString::CreateValue(L"Hello", -1);
//
// Strings hash as h = h * 33 + c over their characters and compare case-sensitively.
#pragma once

#include "framework/markup/MarkupObject.h"

// The markup string hash over length characters (-1: up to the NUL), in unsigned 32-bit arithmetic.
UINT HashMarkupText(LPCWSTR text, int length = -1);

// The text of value when it is a COSMMarkupString, else null: what every conversion from markup text starts with.
LPCWSTR GetMarkupText(const COSMMarkupObject* value);

class COSMMarkupString : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupString)

public:
    // The empty string.
    COSMMarkupString();
    // length characters of text (-1: up to the NUL); a null text gives the empty string.
    COSMMarkupString(LPCWSTR text, int length);

protected:
    ~COSMMarkupString() override;

public:
    UINT GetHashKey() const override;
    BOOL IsEqual(const COSMMarkupObject* other) const override;

    LPCWSTR GetText() const { return m_pszText; }
    int GetLength() const { return m_nLength; }

    // The shared empty string for a null or empty text (or length 0), the shared " " and "\n" for those single
    // characters, a new string otherwise; one reference for the caller either way.
    static COSMMarkupObject* CreateValue(LPCWSTR text, int length);

private:
    // Most texts of a document are short values ("Auto", "0,0,8,0", a name): they live in the object itself, which
    // saves a heap block per attribute while a tree is built. The characters come first, in the room the object's
    // own fields leave before the next 8-byte boundary: 13 of them keep a string in the 80-byte size class.
    static constexpr int kInlineLength = 13;

    WCHAR m_szInline[kInlineLength + 1];
    int m_nLength;
    LPWSTR m_pszText;
};
