#include "framework/markup/MarkupThickness.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupLayoutMath.h"

#include "framework/markup/MarkupNumberText.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <cwctype>

IMPLEMENT_MARKUP_TYPE(COSMMarkupThickness, COSMMarkupObject, nullptr, nullptr)

namespace {

RefPtr<COSMMarkupObject> g_zeroThickness;

// Reads "%i, %i, %i, %i": four C integers with a comma after each of the first three; blanks may stand on either
// side of a comma, and whatever follows the fourth number is left alone.
BOOL ReadFourIntegers(LPCWSTR text, int (&sides)[4])
{
    LPCWSTR p = text;
    for (int i = 0; i < 4; ++i)
    {
        if (i > 0)
        {
            while (iswspace(*p))
                ++p;
            if (*p != L',')
                return FALSE;
            ++p;
        }
        if (!ReadMarkupCInteger(&p, &sides[i]))
            return FALSE;
    }
    return TRUE;
}

}  // namespace

COSMMarkupThickness::COSMMarkupThickness(int left, int top, int right, int bottom)
    : m_nLeft(left), m_nTop(top), m_nRight(right), m_nBottom(bottom)
{}

BOOL COSMMarkupThickness::IsEqual(const COSMMarkupObject* other) const
{
    const COSMMarkupThickness* thickness = MarkupSameClass(this, other);
    return thickness && thickness->m_nLeft == m_nLeft && thickness->m_nTop == m_nTop &&
           thickness->m_nRight == m_nRight && thickness->m_nBottom == m_nBottom;
}

COSMMarkupObject* COSMMarkupThickness::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    LPCWSTR text = GetMarkupText(value);
    if (!text)
        return nullptr;
    if (!wcschr(text, L','))
        return new COSMMarkupThickness(ReadMarkupDecimal(&text));
    int sides[4] = {};
    if (!ReadFourIntegers(text, sides))
        return nullptr;
    return new COSMMarkupThickness(sides[0], sides[1], sides[2], sides[3]);
}

COSMMarkupObject* COSMMarkupThickness::GetDefaultValue()
{
    if (!g_zeroThickness)
        g_zeroThickness.Attach(new COSMMarkupThickness(0));
    g_zeroThickness->AddRef();
    return g_zeroThickness.Get();
}

CRect DeflateRect(CRect rect, const COSMMarkupThickness* thickness)
{
    if (!thickness)
        return rect;
    // In 64 bits: the sides may be the saturated values of enormous markup numbers.
    const long long left = static_cast<long long>(rect.left) + thickness->GetLeft();
    const long long top = static_cast<long long>(rect.top) + thickness->GetTop();
    const long long width = std::max<long long>(0, static_cast<long long>(rect.right) - rect.left -
                                                       thickness->GetLeft() - thickness->GetRight());
    const long long height = std::max<long long>(0, static_cast<long long>(rect.bottom) - rect.top -
                                                        thickness->GetTop() - thickness->GetBottom());
    const auto toInt = [](long long n) { return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX)); };
    return CRect(toInt(left), toInt(top), toInt(left + width), toInt(top + height));
}

CSize GetThicknessSums(const COSMMarkupThickness* thickness)
{
    if (!thickness)
        return CSize(0, 0);
    return CSize(AddMarkupLengths(thickness->GetLeft(), thickness->GetRight()),
                 AddMarkupLengths(thickness->GetTop(), thickness->GetBottom()));
}
