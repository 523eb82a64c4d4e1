#include "framework/markup/MarkupString.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupType.h"

#include <cwchar>

IMPLEMENT_MARKUP_TYPE(COSMMarkupString, COSMMarkupObject, nullptr, nullptr)

namespace {

enum SharedStringSlot
{
    kSharedEmpty,
    kSharedSpace,
    kSharedLineFeed,
    kSharedStringCount
};

RefPtr<COSMMarkupObject> g_sharedStrings[kSharedStringCount];

COSMMarkupObject* GetSharedString(SharedStringSlot which, LPCWSTR text)
{
    RefPtr<COSMMarkupObject>& slot = g_sharedStrings[which];
    if (!slot)
        slot = AdoptRef<COSMMarkupObject>(new COSMMarkupString(text, -1));
    slot->AddRef();
    return slot.Get();
}

}  // namespace

UINT HashMarkupText(LPCWSTR text, int length)
{
    UINT hash = 0;
    if (!text)
        return hash;
    for (int i = 0; length < 0 ? text[i] != 0 : i < length; ++i)
        hash = hash * 33 + static_cast<UINT>(text[i]);
    return hash;
}

LPCWSTR GetMarkupText(const COSMMarkupObject* value)
{
    const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(value);
    return text ? text->GetText() : nullptr;
}

COSMMarkupString::COSMMarkupString() : COSMMarkupString(nullptr, 0) {}

COSMMarkupString::COSMMarkupString(LPCWSTR text, int length)
{
    if (!text)
        length = 0;
    else if (length < 0)
        length = static_cast<int>(wcslen(text));
    m_nLength = length;
    m_pszText = length <= kInlineLength ? m_szInline : new WCHAR[static_cast<size_t>(length) + 1];
    if (length > 0)
        wmemcpy(m_pszText, text, static_cast<size_t>(length));
    m_pszText[length] = L'\0';
}

COSMMarkupString::~COSMMarkupString()
{
    if (m_pszText != m_szInline)
        delete[] m_pszText;
}

UINT COSMMarkupString::GetHashKey() const
{
    return HashMarkupText(m_pszText, m_nLength);
}

BOOL COSMMarkupString::IsEqual(const COSMMarkupObject* other) const
{
    const COSMMarkupString* text = MarkupSameClass(this, other);
    return text && text->m_nLength == m_nLength &&
           wmemcmp(text->m_pszText, m_pszText, static_cast<size_t>(m_nLength)) == 0;
}

COSMMarkupObject* COSMMarkupString::CreateValue(LPCWSTR text, int length)
{
    if (!text || length == 0 || !text[0])
        return GetSharedString(kSharedEmpty, L"");
    if (length == 1 || (length < 0 && !text[1]))
    {
        if (text[0] == L' ')
            return GetSharedString(kSharedSpace, L" ");
        if (text[0] == L'\n')
            return GetSharedString(kSharedLineFeed, L"\n");
    }
    return new COSMMarkupString(text, length);
}
