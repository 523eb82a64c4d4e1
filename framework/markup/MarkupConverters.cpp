#include "framework/markup/MarkupConverters.h"

#include "framework/markup/MarkupNumberText.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace {

struct NamedValue
{
    LPCWSTR name;
    int value;
};

// The value named by value's text, or FALSE for text (or an object) the table does not name.
template <size_t N> BOOL FindNamedValue(COSMMarkupObject* value, const NamedValue (&table)[N], int* found)
{
    LPCWSTR text = GetMarkupText(value);
    if (!text)
        return FALSE;
    for (const NamedValue& entry : table)
    {
        if (MarkupTextEqualsNoCase(text, entry.name))
        {
            *found = entry.value;
            return TRUE;
        }
    }
    return FALSE;
}

template <size_t N> COSMMarkupObject* ConvertNamedEnum(COSMMarkupObject* value, const NamedValue (&table)[N])
{
    int found = 0;
    return FindNamedValue(value, table, &found) ? COSMMarkupEnum::CreateValue(found) : nullptr;
}

const NamedValue kFontWeights[] = {
    {L"Thin", 100},      {L"ExtraLight", 200}, {L"Light", 300},    {L"Normal", 400},     {L"Regular", 400},
    {L"Medium", 500},    {L"SemiBold", 600},   {L"DemiBold", 600}, {L"Bold", 700},       {L"ExtraBold", 800},
    {L"UltraBold", 800}, {L"Black", 900},      {L"Heavy", 900},    {L"ExtraBlack", 950},
};
const NamedValue kFontStyles[] = {{L"Normal", 0}, {L"Italic", 1}};
const NamedValue kTextDecorations[] = {{L"", 0}, {L"Underline", 1}, {L"Strikethrough", 2}};
const NamedValue kFontQualities[] = {{L"ClearType", CLEARTYPE_QUALITY}};
const NamedValue kHorizontalAlignments[] = {{L"Left", 0}, {L"Center", 1}, {L"Right", 2}, {L"Stretch", 3}};
const NamedValue kVerticalAlignments[] = {{L"Top", 0}, {L"Center", 1}, {L"Bottom", 2}, {L"Stretch", 3}};
const NamedValue kTextWrappings[] = {{L"NoWrap", 0}, {L"Wrap", 1}, {L"WrapWithOverflow", 2}};
const NamedValue kTextTrimmings[] = {{L"None", 0}, {L"CharacterEllipsis", 1}, {L"WordEllipsis", 2}};
const NamedValue kTextAlignments[] = {{L"Left", 0}, {L"Right", 1}, {L"Center", 2}, {L"Justify", 3}};
const NamedValue kOrientations[] = {{L"Horizontal", 0}, {L"Vertical", 1}};
const NamedValue kBaselineAlignments[] = {
    {L"Top", 0},     {L"Center", 1},     {L"Bottom", 2},    {L"Baseline", 3},
    {L"TextTop", 4}, {L"TextBottom", 5}, {L"Subscript", 6}, {L"Superscript", 7},
};
const NamedValue kVisibilities[] = {{L"Visible", 0}, {L"Hidden", 1}, {L"Collapsed", 2}};
const NamedValue kScrollBarVisibilities[] = {{L"Disabled", 0}, {L"Auto", 1}, {L"Visible", 2}};
const NamedValue kStretches[] = {{L"None", 0}, {L"Fill", 1}, {L"Uniform", 2}, {L"UniformToFill", 3}};
// The system cursors' identifiers, as LoadCursor takes them.
const NamedValue kCursors[] = {
    {L"None", 0},       {L"No", 32648},      {L"Arrow", 32512},    {L"AppStarting", 32650}, {L"Cross", 32515},
    {L"IBeam", 32513},  {L"SizeAll", 32646}, {L"SizeNESW", 32643}, {L"SizeNS", 32645},      {L"SizeNWSE", 32642},
    {L"SizeWE", 32644}, {L"UpArrow", 32516}, {L"Wait", 32514},     {L"Hand", 32649},
};
const NamedValue kDocks[] = {{L"Left", 0}, {L"Top", 1}, {L"Right", 2}, {L"Bottom", 3}};
const NamedValue kTabNavigations[] = {
    {L"Continue", 0}, {L"Once", 1}, {L"Cycle", 2}, {L"None", 3}, {L"Contained", 4}, {L"Local", 5},
};

int SaturateToInt(double value)
{
    return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

// integer scaled by the unit its text ends with; integer itself for any other ending.
int ApplyLengthUnit(int integer, LPCWSTR unit)
{
    const long long n = integer;
    if (MarkupTextEqualsNoCase(unit, L"pt"))
    {
        // To the nearest whole pixel, halves away from zero, as MulDiv rounds.
        const long long scaled = n * 96;
        return SaturateToInt(static_cast<double>((scaled + (scaled < 0 ? -36 : 36)) / 72));
    }
    if (MarkupTextEqualsNoCase(unit, L"in"))
        return SaturateToInt(static_cast<double>(n * 96));
    if (MarkupTextEqualsNoCase(unit, L"cm"))
        return SaturateToInt(static_cast<double>(n) * 37.79528);
    return integer;
}

}  // namespace

COSMMarkupObject* ConvertMarkupLength(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(value);
    if (!text)
        return nullptr;
    if (MarkupTextEqualsNoCase(text->GetText(), L"Auto"))
        return new COSMMarkupInt(INT_MAX);
    LPCWSTR p = text->GetText();
    int length = ReadMarkupDecimal(&p);
    if (length != 0 && text->GetLength() > 2)
        length = ApplyLengthUnit(length, text->GetText() + text->GetLength() - 2);
    return new COSMMarkupInt(length);
}

COSMMarkupObject* ConvertFontWeight(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kFontWeights);
}

COSMMarkupObject* ConvertFontStyle(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kFontStyles);
}

COSMMarkupObject* ConvertTextDecorations(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kTextDecorations);
}

COSMMarkupObject* ConvertFontQuality(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kFontQualities);
}

COSMMarkupObject* ConvertHorizontalAlignment(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kHorizontalAlignments);
}

COSMMarkupObject* ConvertVerticalAlignment(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kVerticalAlignments);
}

COSMMarkupObject* ConvertTextWrapping(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kTextWrappings);
}

COSMMarkupObject* ConvertTextTrimming(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kTextTrimmings);
}

COSMMarkupObject* ConvertTextAlignment(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kTextAlignments);
}

COSMMarkupObject* ConvertOrientation(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kOrientations);
}

COSMMarkupObject* ConvertBaselineAlignment(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kBaselineAlignments);
}

COSMMarkupObject* ConvertVisibility(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kVisibilities);
}

COSMMarkupObject* ConvertScrollBarVisibility(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kScrollBarVisibilities);
}

COSMMarkupObject* ConvertStretch(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kStretches);
}

COSMMarkupObject* ConvertCursor(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    int cursor = 0;
    return FindNamedValue(value, kCursors, &cursor) ? new COSMMarkupInt(cursor) : nullptr;
}

COSMMarkupObject* ConvertDock(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kDocks);
}

COSMMarkupObject* ConvertTabNavigation(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return ConvertNamedEnum(value, kTabNavigations);
}
