#include "framework/markup/MarkupNumberText.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cwctype>

namespace {

// One past INT_MAX: the largest magnitude a 32-bit integer takes (negative). Digits beyond it only saturate.
const uint64_t kMagnitudeLimit = static_cast<uint64_t>(INT_MAX) + 1;

// Reads an integer of the C forms: white space, a sign, then digits of base 10, or of the base a "0x" or "0" prefix
// names when prefixes are allowed. The magnitude stops growing at the 32-bit limit, so any number of digits reads
// without overflow. FALSE, the cursor unmoved, when no digit stands there.
BOOL ReadInteger(LPCWSTR* cursor, BOOL allowBasePrefix, int* value)
{
    LPCWSTR p = *cursor;
    while (iswspace(*p))
        ++p;
    const bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    int base = 10;
    if (allowBasePrefix && p[0] == L'0')
    {
        if ((p[1] == L'x' || p[1] == L'X') && MarkupDigitValue(p[2], 16) >= 0)
        {
            base = 16;
            p += 2;
        }
        else
        {
            base = 8;
        }
    }
    if (MarkupDigitValue(*p, base) < 0)
        return FALSE;
    uint64_t magnitude = 0;
    for (int digit; (digit = MarkupDigitValue(*p, base)) >= 0; ++p)
    {
        if (magnitude < kMagnitudeLimit)
            magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    if (negative)
        *value = magnitude >= kMagnitudeLimit ? INT_MIN : -static_cast<int>(magnitude);
    else
        *value = magnitude >= kMagnitudeLimit - 1 ? INT_MAX : static_cast<int>(magnitude);
    *cursor = p;
    return TRUE;
}

}  // namespace

int MarkupDigitValue(WCHAR c, int base)
{
    int digit = 36;
    if (c >= L'0' && c <= L'9')
        digit = c - L'0';
    else if (c >= L'a' && c <= L'z')
        digit = c - L'a' + 10;
    else if (c >= L'A' && c <= L'Z')
        digit = c - L'A' + 10;
    return digit < base ? digit : -1;
}

int ReadMarkupDecimal(LPCWSTR* cursor)
{
    int value = 0;
    return ReadInteger(cursor, FALSE, &value) ? value : 0;
}

BOOL ReadMarkupCInteger(LPCWSTR* cursor, int* value)
{
    return ReadInteger(cursor, TRUE, value);
}

BOOL ParseMarkupNumberList(LPCWSTR* cursor, double* value, WCHAR separator, BOOL requireEnd)
{
    if (!cursor || !*cursor)
        return FALSE;
    LPCWSTR p = *cursor;
    while (*p == L' ')
        ++p;
    const bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    if (!*p)
        return FALSE;

    double number = 0.0;
    bool inFraction = false;
    double fractionScale = 1.0;
    LPCWSTR start = p;
    for (; *p && *p != L' ' && (separator == 0 || *p != separator); ++p)
    {
        if (*p == L'.')
        {
            if (inFraction)
                return FALSE;
            inFraction = true;
        }
        else if (*p >= L'0' && *p <= L'9')
        {
            if (!inFraction)
            {
                number = number * 10.0 + (*p - L'0');
            }
            else
            {
                fractionScale /= 10.0;
                number += (*p - L'0') * fractionScale;
            }
        }
        else
        {
            return FALSE;
        }
    }
    if (p == start)
        return FALSE;
    while (*p == L' ')
        ++p;
    if (separator != 0 && *p == separator)
        ++p;
    while (*p == L' ')
        ++p;
    if (requireEnd && *p)
        return FALSE;
    // Hundreds of digits overflow to infinity, which no layout can use.
    if (!std::isfinite(number))
        return FALSE;
    *value = negative ? -number : number;
    *cursor = p;
    return TRUE;
}

BOOL MarkupTextEqualsNoCase(LPCWSTR text, LPCWSTR name)
{
    for (;; ++text, ++name)
    {
        WCHAR a = *text;
        WCHAR b = *name;
        if (a >= L'a' && a <= L'z')
            a = static_cast<WCHAR>(a - L'a' + L'A');
        if (b >= L'a' && b <= L'z')
            b = static_cast<WCHAR>(b - L'a' + L'A');
        if (a != b)
            return FALSE;
        if (!a)
            return TRUE;
    }
}
