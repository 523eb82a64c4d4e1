// The named-value, length and cursor converters, and the system colours reached through "SystemColors." members.
#include "MarkupTestSupport.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupSystemColors.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwctype>
#include <string>
#include <utility>
#include <vector>

using markup_test::BuilderMessage;
using markup_test::Hold;
using markup_test::MarkupTest;

namespace {

using Converter = COSMMarkupObject* (*)(COSMMarkupBuilder*, COSMMarkupObject*);

// What converter makes of text; one reference for the caller.
COSMMarkupObject* ConvertText(Converter converter, const std::wstring& text)
{
    Hold value = Hold::Adopt(new COSMMarkupString(text.c_str(), -1));
    return converter(nullptr, value.Get());
}

std::wstring Upper(std::wstring text)
{
    for (WCHAR& c : text)
        c = static_cast<WCHAR>(towupper(c));
    return text;
}

// The number an enum or int result holds.
int Number(const COSMMarkupObject* value)
{
    if (const COSMMarkupEnum* named = MarkupDynamicCast<COSMMarkupEnum>(value))
        return named->GetValue();
    return static_cast<const COSMMarkupInt*>(value)->GetValue();
}

struct ConverterTable
{
    const char* name;
    Converter converter;
    std::vector<std::pair<std::wstring, int>> values;
    std::wstring wrongName;  // as long as a real name, but none
    bool givesInts;          // COSMMarkupInt results instead of enums
};

}  // namespace

TEST_F(MarkupTest, ConvertersKnowTheirNamesInAnyCaseAndNothingElse)
{
    const ConverterTable tables[] = {
        {"font weight",
         ConvertFontWeight,
         {{L"Thin", 100},
          {L"ExtraLight", 200},
          {L"Light", 300},
          {L"Normal", 400},
          {L"Regular", 400},
          {L"Medium", 500},
          {L"SemiBold", 600},
          {L"DemiBold", 600},
          {L"Bold", 700},
          {L"ExtraBold", 800},
          {L"UltraBold", 800},
          {L"Black", 900},
          {L"Heavy", 900},
          {L"ExtraBlack", 950}},
         L"Bolder"},
        {"font style", ConvertFontStyle, {{L"Normal", 0}, {L"Italic", 1}}, L"Oblique"},
        {"text decorations", ConvertTextDecorations, {{L"", 0}, {L"Underline", 1}, {L"Strikethrough", 2}}, L"None"},
        {"font quality", ConvertFontQuality, {{L"ClearType", CLEARTYPE_QUALITY}}, L"ClearTone"},
        {"horizontal alignment",
         ConvertHorizontalAlignment,
         {{L"Left", 0}, {L"Center", 1}, {L"Right", 2}, {L"Stretch", 3}},
         L"Centre"},
        {"vertical alignment",
         ConvertVerticalAlignment,
         {{L"Top", 0}, {L"Center", 1}, {L"Bottom", 2}, {L"Stretch", 3}},
         L"Middle"},
        {"text wrapping", ConvertTextWrapping, {{L"NoWrap", 0}, {L"Wrap", 1}, {L"WrapWithOverflow", 2}}, L"Wrapped"},
        {"text trimming",
         ConvertTextTrimming,
         {{L"None", 0}, {L"CharacterEllipsis", 1}, {L"WordEllipsis", 2}},
         L"WordEllipses"},
        {"text alignment",
         ConvertTextAlignment,
         {{L"Left", 0}, {L"Right", 1}, {L"Center", 2}, {L"Justify", 3}},
         L"Centre"},
        {"orientation", ConvertOrientation, {{L"Horizontal", 0}, {L"Vertical", 1}}, L"Diagonal"},
        {"baseline alignment",
         ConvertBaselineAlignment,
         {{L"Top", 0},
          {L"Center", 1},
          {L"Bottom", 2},
          {L"Baseline", 3},
          {L"TextTop", 4},
          {L"TextBottom", 5},
          {L"Subscript", 6},
          {L"Superscript", 7}},
         L"Baselined"},
        {"visibility", ConvertVisibility, {{L"Visible", 0}, {L"Hidden", 1}, {L"Collapsed", 2}}, L"Visibly"},
        {"scroll-bar visibility",
         ConvertScrollBarVisibility,
         {{L"Disabled", 0}, {L"Auto", 1}, {L"Visible", 2}},
         L"Automatic"},
        {"stretch", ConvertStretch, {{L"None", 0}, {L"Fill", 1}, {L"Uniform", 2}, {L"UniformToFill", 3}}, L"Full"},
        {"cursor",
         ConvertCursor,
         {{L"None", 0},
          {L"No", 32648},
          {L"Arrow", 32512},
          {L"AppStarting", 32650},
          {L"Cross", 32515},
          {L"IBeam", 32513},
          {L"SizeAll", 32646},
          {L"SizeNESW", 32643},
          {L"SizeNS", 32645},
          {L"SizeNWSE", 32642},
          {L"SizeWE", 32644},
          {L"UpArrow", 32516},
          {L"Wait", 32514},
          {L"Hand", 32649}},
         L"Pointer",
         true},
    };
    for (const ConverterTable& table : tables)
    {
        for (const auto& [name, number] : table.values)
        {
            for (const std::wstring& text : {name, Upper(name)})
            {
                Hold value = Hold::Adopt(ConvertText(table.converter, text));
                ASSERT_NE(nullptr, value.Get()) << table.name << " " << testing::PrintToString(text);
                const COSMMarkupType* expectedType =
                    table.givesInts ? COSMMarkupInt::GetClassType() : COSMMarkupEnum::GetClassType();
                EXPECT_EQ(expectedType, value->GetType()) << table.name;
                EXPECT_EQ(number, Number(value.Get())) << table.name << " " << testing::PrintToString(text);
            }
        }
        Hold wrong = Hold::Adopt(ConvertText(table.converter, table.wrongName));
        EXPECT_EQ(nullptr, wrong.Get()) << table.name;
        Hold number = Hold::Adopt(new COSMMarkupInt(1));
        EXPECT_EQ(nullptr, table.converter(nullptr, number.Get())) << table.name;
        EXPECT_EQ(nullptr, table.converter(nullptr, nullptr)) << table.name;
    }
}

TEST_F(MarkupTest, LengthsReadTheirUnitsAndSaturate)
{
    const std::pair<std::wstring, int> cases[] = {
        {L"12pt", 16},
        {L"-12pt", -16},
        {L"5PT", 7},
        {L"10.5pt", 13},
        {L"1in", 96},
        {L"1cm", 37},
        {L"-3cm", -113},
        {L"20px", 20},
        {L"12", 12},
        {L"Auto", INT_MAX},
        {L"auto", INT_MAX},
        {L"AUTO", INT_MAX},
        {L"abc", 0},
        {L"0pt", 0},
        {L"1000000000in", INT_MAX},
        {L"-1000000000cm", INT_MIN},
        {L"99999999999pt", INT_MAX},
        {L"1000000000pt", 1333333333},
    };
    for (const auto& [text, length] : cases)
    {
        Hold value = Hold::Adopt(ConvertText(ConvertMarkupLength, text));
        ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupInt>(value.Get())) << testing::PrintToString(text);
        EXPECT_EQ(length, static_cast<COSMMarkupInt*>(value.Get())->GetValue()) << testing::PrintToString(text);
    }
    Hold number = Hold::Adopt(new COSMMarkupInt(1));
    EXPECT_EQ(nullptr, ConvertMarkupLength(nullptr, number.Get()));
}

// ---- System colours ---------------------------------------------------------------------------------------------

TEST_F(MarkupTest, EverySystemColourMemberGivesItsColourBrushOrKey)
{
    const std::pair<std::wstring, int> names[] = {
        {L"ActiveBorder", COLOR_ACTIVEBORDER},
        {L"ActiveCaption", COLOR_ACTIVECAPTION},
        {L"ActiveCaptionText", COLOR_CAPTIONTEXT},
        {L"AppWorkspace", COLOR_APPWORKSPACE},
        {L"Control", COLOR_BTNFACE},
        {L"ControlDark", COLOR_BTNSHADOW},
        {L"ControlDarkDark", COLOR_3DDKSHADOW},
        {L"ControlLight", COLOR_3DLIGHT},
        {L"ControlLightLight", COLOR_BTNHIGHLIGHT},
        {L"ControlText", COLOR_BTNTEXT},
        {L"Desktop", COLOR_DESKTOP},
        {L"GradientActiveCaption", COLOR_GRADIENTACTIVECAPTION},
        {L"GradientInactiveCaption", COLOR_GRADIENTINACTIVECAPTION},
        {L"GrayText", COLOR_GRAYTEXT},
        {L"Highlight", COLOR_HIGHLIGHT},
        {L"HighlightText", COLOR_HIGHLIGHTTEXT},
        {L"HotTrack", COLOR_HOTLIGHT},
        {L"InactiveBorder", COLOR_INACTIVEBORDER},
        {L"InactiveCaption", COLOR_INACTIVECAPTION},
        {L"InactiveCaptionText", COLOR_INACTIVECAPTIONTEXT},
        {L"Info", COLOR_INFOBK},
        {L"InfoText", COLOR_INFOTEXT},
        {L"Menu", COLOR_MENU},
        {L"MenuBar", COLOR_MENUBAR},
        {L"MenuHighlight", COLOR_MENUHILIGHT},
        {L"MenuText", COLOR_MENUTEXT},
        {L"ScrollBar", COLOR_SCROLLBAR},
        {L"Window", COLOR_WINDOW},
        {L"WindowFrame", COLOR_WINDOWFRAME},
        {L"WindowText", COLOR_WINDOWTEXT},
    };
    COSMMarkupSystemColors colors;
    for (const auto& [name, index] : names)
    {
        const UINT expected = 0xFF000000u | ::GetSysColor(index);
        const std::wstring prefix = L"SystemColors." + name;
        EXPECT_EQ(index, COSMMarkupSystemColors::GetColorIndex(name.c_str(), static_cast<int>(name.size())));

        Hold color = Hold::Adopt(colors.ProvideValue(nullptr, (prefix + L"Color").c_str()));
        ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupColor>(color.Get())) << testing::PrintToString(name);
        EXPECT_EQ(expected, static_cast<COSMMarkupColor*>(color.Get())->GetValue()) << testing::PrintToString(name);

        Hold brush = Hold::Adopt(colors.ProvideValue(nullptr, (prefix + L"Brush").c_str()));
        const COSMMarkupSolidColorBrush* solid = MarkupDynamicCast<COSMMarkupSolidColorBrush>(brush.Get());
        ASSERT_NE(nullptr, solid) << testing::PrintToString(name);
        EXPECT_EQ(expected, solid->GetColor()->GetValue()) << testing::PrintToString(name);

        Hold colorKey = Hold::Adopt(colors.ProvideValue(nullptr, (prefix + L"ColorKey").c_str()));
        ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupColorKey>(colorKey.Get())) << testing::PrintToString(name);
        EXPECT_EQ(index, static_cast<COSMMarkupColorKey*>(colorKey.Get())->GetIndex());

        Hold brushKey = Hold::Adopt(colors.ProvideValue(nullptr, (prefix + L"BrushKey").c_str()));
        ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupBrushKey>(brushKey.Get())) << testing::PrintToString(name);
        EXPECT_EQ(index, static_cast<COSMMarkupBrushKey*>(brushKey.Get())->GetIndex());
    }
}

TEST_F(MarkupTest, ShortenedColourNamesMatchTheFirstNameTheyBegin)
{
    COSMMarkupSystemColors colors;
    Hold control = Hold::Adopt(colors.ProvideValue(nullptr, L"SystemColors.ContrColor"));
    EXPECT_EQ(0xFF000000u | ::GetSysColor(COLOR_BTNFACE), static_cast<COSMMarkupColor*>(control.Get())->GetValue());
    EXPECT_EQ(15, COSMMarkupSystemColors::GetColorIndex(L"Contr", 5));
    EXPECT_EQ(16, COSMMarkupSystemColors::GetColorIndex(L"ControlDarkColor", 11));
    EXPECT_EQ(-1, COSMMarkupSystemColors::GetColorIndex(L"Window", 0));
    EXPECT_EQ(-1, COSMMarkupSystemColors::GetColorIndex(L"window", 6));
    EXPECT_EQ(-1, COSMMarkupSystemColors::GetColorIndex(L"WindowTextual", 13));
}

TEST_F(MarkupTest, OtherMembersAreRefusedWithTheStaticMemberMessage)
{
    const LPCWSTR refused[] = {
        L"SystemColors.XColor",    // 19 characters
        L"SystemColors.ColorKey",  // no name at all
        L"SystemColors.BrushKey",
        L"systemColors.WindowColor",  // the prefix is case-sensitive
        L"SystemColors.WindowBRUSH",  // and so is the ending
        L"SystemColors.NoSuchThingColor", L"SystemColors.WindowPen", L"Colors.WindowTextBrush......",
    };
    COSMMarkupSystemColors colors;
    for (LPCWSTR member : refused)
    {
        std::string expected = "Cannot find the static member  '";
        for (LPCWSTR p = member; *p; ++p)
            expected += static_cast<char>(*p);
        expected += "'";
        EXPECT_EQ(expected, BuilderMessage([&] { colors.ProvideValue(nullptr, member); }));
    }
}

TEST_F(MarkupTest, OneInstanceHandsOutOneKeyPerIndexAndKind)
{
    COSMMarkupSystemColors first;
    COSMMarkupSystemColors second;
    Hold a = Hold::Adopt(first.ProvideValue(nullptr, L"SystemColors.WindowBrushKey"));
    Hold b = Hold::Adopt(first.ProvideValue(nullptr, L"SystemColors.WindowBrushKey"));
    Hold c = Hold::Adopt(second.ProvideValue(nullptr, L"SystemColors.WindowBrushKey"));
    Hold colorKey = Hold::Adopt(first.ProvideValue(nullptr, L"SystemColors.WindowColorKey"));
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_NE(a.Get(), c.Get());
    EXPECT_NE(a.Get(), colorKey.Get());
    // Keys match only as the same object.
    EXPECT_FALSE(a->IsEqual(c.Get()));
    Hold brush = Hold::Adopt(first.GetBrushByIndex(COLOR_WINDOW));
    Hold sameBrush = Hold::Adopt(first.ProvideValue(nullptr, L"SystemColors.WindowBrush"));
    EXPECT_EQ(brush.Get(), sameBrush.Get());
    EXPECT_EQ(nullptr, first.GetColorByIndex(31));
    EXPECT_EQ(nullptr, first.GetBrushByIndex(-1));
}
