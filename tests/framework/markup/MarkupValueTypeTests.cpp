// The value types: their text forms, equality and hash, the shared instances, and the typed collection.
#include "MarkupTestSupport.h"
#include "MarkupTestTypes.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupCollection.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupGradientStop.h"
#include "framework/markup/MarkupNumberText.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupType.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cwctype>
#include <string>
#include <vector>

using markup_test::BuilderMessage;
using markup_test::CRecordingCollection;
using markup_test::Hold;
using markup_test::MarkupBuilderTest;
using markup_test::MarkupTest;
using markup_test::Ref;
using markup_test::RefCount;

namespace {

// What a fresh default instance of T makes of text (the builder's way), or null; one reference for the caller.
template <class T> COSMMarkupObject* Convert(LPCWSTR text)
{
    Hold instance = Hold::Adopt(T::GetClassType()->CreateInstance());
    Hold value = Hold::Adopt(new COSMMarkupString(text, -1));
    return instance->ConvertFrom(nullptr, value.Get());
}

std::wstring Repeat(WCHAR c, size_t count)
{
    return std::wstring(count, c);
}

}  // namespace

// ---- Text forms -------------------------------------------------------------------------------------------------

TEST_F(MarkupTest, ThicknessReadsOneNumberOrFourCNumbers)
{
    struct Case
    {
        LPCWSTR text;
        bool converts;
        int left, top, right, bottom;
    };
    const Case cases[] = {
        {L"0x10,010,1,1", true, 16, 8, 1, 1},
        {L"1,2,3,4", true, 1, 2, 3, 4},
        {L"1, 2, 3, 4", true, 1, 2, 3, 4},
        {L" 1 ,2 , 3,4 and more", true, 1, 2, 3, 4},
        {L"-7", true, -7, -7, -7, -7},
        {L"  12px", true, 12, 12, 12, 12},
        {L"0x10", true, 0, 0, 0, 0},
        {L"abc", true, 0, 0, 0, 0},
        {L"99999999999999999999", true, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {L"-99999999999999999999,0x7FFFFFFFFFFF,-0x10,0777777777777", true, INT_MIN, INT_MAX, -16, INT_MAX},
        {L"1,2,3", false},
        {L"1,,3,4", false},
        {L"1,x,3,4", false},
    };
    for (const Case& c : cases)
    {
        Hold value = Hold::Adopt(Convert<COSMMarkupThickness>(c.text));
        const COSMMarkupThickness* thickness = MarkupDynamicCast<COSMMarkupThickness>(value.Get());
        ASSERT_EQ(c.converts, thickness != nullptr) << testing::PrintToString(std::wstring(c.text));
        if (!thickness)
            continue;
        EXPECT_EQ(c.left, thickness->GetLeft()) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(c.top, thickness->GetTop());
        EXPECT_EQ(c.right, thickness->GetRight());
        EXPECT_EQ(c.bottom, thickness->GetBottom());
    }
}

TEST_F(MarkupTest, IntReadsItsLeadingDecimalNumberSaturated)
{
    const std::wstring digits = L"1234567890123456789012345";
    struct Case
    {
        std::wstring text;
        int value;
    };
    const Case cases[] = {
        {L"12px", 12},
        {L"abc", 0},
        {L"-42", -42},
        {L"+8", 8},
        {L"0x1F", 0},
        {L" 2147483647", INT_MAX},
        {L"-2147483648", INT_MIN},
        {L"2147483648", INT_MAX},
        {digits, INT_MAX},
        {L"-" + digits, INT_MIN},
    };
    for (const Case& c : cases)
    {
        Hold value = Hold::Adopt(Convert<COSMMarkupInt>(c.text.c_str()));
        ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupInt>(value.Get())) << testing::PrintToString(c.text);
        EXPECT_EQ(c.value, static_cast<COSMMarkupInt*>(value.Get())->GetValue()) << testing::PrintToString(c.text);
    }
}

TEST_F(MarkupTest, DoubleReadsOneDecimalFractionAndNothingElse)
{
    struct Case
    {
        std::wstring text;
        bool converts;
        double value;
    };
    const Case cases[] = {
        {L"-.5", true, -0.5},
        {L" 3 ", true, 3.0},
        {L"+2", true, 2.0},
        {L"1.25", true, 1.25},
        {L"007", true, 7.0},
        {L"1e5", false},
        {L"1.2.3", false},
        {L"", false},
        {L"-", false},
        {L"- 1", false},
        {L"1 2", false},
        {L"12,5", false},
        {L"1" + Repeat(L'0', 400), false},
        {L"1" + Repeat(L'0', 300), true, 1e300},
    };
    for (const Case& c : cases)
    {
        Hold value = Hold::Adopt(Convert<COSMMarkupDouble>(c.text.c_str()));
        const COSMMarkupDouble* number = MarkupDynamicCast<COSMMarkupDouble>(value.Get());
        ASSERT_EQ(c.converts, number != nullptr) << testing::PrintToString(c.text);
        // Digits are summed one by one: a long number may end a few units of its last place off.
        if (number)
        {
            EXPECT_NEAR(c.value, number->GetValue(), std::fabs(c.value) * 1e-12) << testing::PrintToString(c.text);
        }
    }
}

TEST_F(MarkupTest, NumberListReaderStopsAtItsSeparatorAndMovesOn)
{
    LPCWSTR cursor = L" 1.5 , -2 ";
    double first = 0.0;
    double second = 0.0;
    ASSERT_TRUE(ParseMarkupNumberList(&cursor, &first, L',', FALSE));
    EXPECT_STREQ(L"-2 ", cursor);
    ASSERT_TRUE(ParseMarkupNumberList(&cursor, &second, 0, TRUE));
    EXPECT_EQ(1.5, first);
    EXPECT_EQ(-2.0, second);
    EXPECT_STREQ(L"", cursor);

    LPCWSTR failing = L"1x";
    EXPECT_FALSE(ParseMarkupNumberList(&failing, &first, L',', FALSE));
    EXPECT_STREQ(L"1x", failing);
    LPCWSTR none = nullptr;
    EXPECT_FALSE(ParseMarkupNumberList(&none, &first, 0, FALSE));
}

TEST_F(MarkupTest, BoolReadsTrueAndFalseInAnyCaseAsTheSharedValues)
{
    Hold yes = Hold::Adopt(COSMMarkupBool::CreateTrueValue());
    Hold no = Hold::Adopt(COSMMarkupBool::CreateFalseValue());
    struct Case
    {
        LPCWSTR text;
        COSMMarkupObject* value;
    };
    const Case cases[] = {
        {L"True", yes.Get()}, {L"true", yes.Get()}, {L"FALSE", no.Get()}, {L"fAlSe", no.Get()},
        {L"yes", nullptr},    {L"1", nullptr},      {L"", nullptr},       {L"True ", nullptr},
    };
    for (const Case& c : cases)
    {
        Hold value = Hold::Adopt(Convert<COSMMarkupBool>(c.text));
        EXPECT_EQ(c.value, value.Get()) << testing::PrintToString(std::wstring(c.text));
    }
    EXPECT_TRUE(static_cast<COSMMarkupBool*>(yes.Get())->GetValue());
    EXPECT_FALSE(static_cast<COSMMarkupBool*>(no.Get())->GetValue());
}

TEST_F(MarkupTest, ColourTextGivesAlphaOverCOLORREF)
{
    struct Case
    {
        LPCWSTR text;
        bool converts;
        UINT value;
    };
    const Case cases[] = {
        {L"#FF0000", true, 0xFF0000FF},
        {L"#80FF0000", true, 0x800000FF},
        {L"#0a0B0c", true, 0xFF0C0B0A},
        {L"Lime", true, 0xFF00FF00},
        {L"rEd", true, 0xFF0000FF},
        {L"black", true, 0xFF000000},
        {L"LightGoldenrodYellow", true, 0xFFD2FAFA},
        {L"#-1-1-1", false},
        {L"# 1 2 3", false},
        {L"#0xFF00", false},
        {L"#GGGGGG", false},
        {L"#F00", false},
        {L"#FF00000", false},
        {L"#", false},
        {L"Grey", false},
        {L"DarkGrey", false},
        {L"Transparent", false},
        {L"Re", false},
        {L"1Red", false},
        {L"", false},
        {L"Red ", false},
    };
    for (const Case& c : cases)
    {
        UINT value = 0x12345678;
        EXPECT_EQ(c.converts, COSMMarkupColor::ConvertFromString(c.text, &value) != FALSE)
            << testing::PrintToString(std::wstring(c.text));
        if (c.converts)
        {
            EXPECT_EQ(c.value, value) << testing::PrintToString(std::wstring(c.text));
        }

        Hold color = Hold::Adopt(Convert<COSMMarkupColor>(c.text));
        ASSERT_EQ(c.converts, color.Get() != nullptr);
        if (color)
        {
            EXPECT_EQ(c.value, static_cast<COSMMarkupColor*>(color.Get())->GetValue());
        }
    }
}

TEST_F(MarkupTest, AllColourNamesHaveTheirStandardValues)
{
    // Name and value as the CSS colour table prints them.
    static const char* const kStandard[] = {
        "AliceBlue #F0F8FF",
        "AntiqueWhite #FAEBD7",
        "Aqua #00FFFF",
        "Aquamarine #7FFFD4",
        "Azure #F0FFFF",
        "Beige #F5F5DC",
        "Bisque #FFE4C4",
        "Black #000000",
        "BlanchedAlmond #FFEBCD",
        "Blue #0000FF",
        "BlueViolet #8A2BE2",
        "Brown #A52A2A",
        "BurlyWood #DEB887",
        "CadetBlue #5F9EA0",
        "Chartreuse #7FFF00",
        "Chocolate #D2691E",
        "Coral #FF7F50",
        "CornflowerBlue #6495ED",
        "Cornsilk #FFF8DC",
        "Crimson #DC143C",
        "Cyan #00FFFF",
        "DarkBlue #00008B",
        "DarkCyan #008B8B",
        "DarkGoldenrod #B8860B",
        "DarkGray #A9A9A9",
        "DarkGreen #006400",
        "DarkKhaki #BDB76B",
        "DarkMagenta #8B008B",
        "DarkOliveGreen #556B2F",
        "DarkOrange #FF8C00",
        "DarkOrchid #9932CC",
        "DarkRed #8B0000",
        "DarkSalmon #E9967A",
        "DarkSeaGreen #8FBC8F",
        "DarkSlateBlue #483D8B",
        "DarkSlateGray #2F4F4F",
        "DarkTurquoise #00CED1",
        "DarkViolet #9400D3",
        "DeepPink #FF1493",
        "DeepSkyBlue #00BFFF",
        "DimGray #696969",
        "DodgerBlue #1E90FF",
        "Firebrick #B22222",
        "FloralWhite #FFFAF0",
        "ForestGreen #228B22",
        "Fuchsia #FF00FF",
        "Gainsboro #DCDCDC",
        "GhostWhite #F8F8FF",
        "Gold #FFD700",
        "Goldenrod #DAA520",
        "Gray #808080",
        "Green #008000",
        "GreenYellow #ADFF2F",
        "Honeydew #F0FFF0",
        "HotPink #FF69B4",
        "IndianRed #CD5C5C",
        "Indigo #4B0082",
        "Ivory #FFFFF0",
        "Khaki #F0E68C",
        "Lavender #E6E6FA",
        "LavenderBlush #FFF0F5",
        "LawnGreen #7CFC00",
        "LemonChiffon #FFFACD",
        "LightBlue #ADD8E6",
        "LightCoral #F08080",
        "LightCyan #E0FFFF",
        "LightGoldenrodYellow #FAFAD2",
        "LightGray #D3D3D3",
        "LightGreen #90EE90",
        "LightPink #FFB6C1",
        "LightSalmon #FFA07A",
        "LightSeaGreen #20B2AA",
        "LightSkyBlue #87CEFA",
        "LightSlateGray #778899",
        "LightSteelBlue #B0C4DE",
        "LightYellow #FFFFE0",
        "Lime #00FF00",
        "LimeGreen #32CD32",
        "Linen #FAF0E6",
        "Magenta #FF00FF",
        "Maroon #800000",
        "MediumAquamarine #66CDAA",
        "MediumBlue #0000CD",
        "MediumOrchid #BA55D3",
        "MediumPurple #9370DB",
        "MediumSeaGreen #3CB371",
        "MediumSlateBlue #7B68EE",
        "MediumSpringGreen #00FA9A",
        "MediumTurquoise #48D1CC",
        "MediumVioletRed #C71585",
        "MidnightBlue #191970",
        "MintCream #F5FFFA",
        "MistyRose #FFE4E1",
        "Moccasin #FFE4B5",
        "NavajoWhite #FFDEAD",
        "Navy #000080",
        "OldLace #FDF5E6",
        "Olive #808000",
        "OliveDrab #6B8E23",
        "Orange #FFA500",
        "OrangeRed #FF4500",
        "Orchid #DA70D6",
        "PaleGoldenrod #EEE8AA",
        "PaleGreen #98FB98",
        "PaleTurquoise #AFEEEE",
        "PaleVioletRed #DB7093",
        "PapayaWhip #FFEFD5",
        "PeachPuff #FFDAB9",
        "Peru #CD853F",
        "Pink #FFC0CB",
        "Plum #DDA0DD",
        "PowderBlue #B0E0E6",
        "Purple #800080",
        "Red #FF0000",
        "RosyBrown #BC8F8F",
        "RoyalBlue #4169E1",
        "SaddleBrown #8B4513",
        "Salmon #FA8072",
        "SandyBrown #F4A460",
        "SeaGreen #2E8B57",
        "SeaShell #FFF5EE",
        "Sienna #A0522D",
        "Silver #C0C0C0",
        "SkyBlue #87CEEB",
        "SlateBlue #6A5ACD",
        "SlateGray #708090",
        "Snow #FFFAFA",
        "SpringGreen #00FF7F",
        "SteelBlue #4682B4",
        "Tan #D2B48C",
        "Teal #008080",
        "Thistle #D8BFD8",
        "Tomato #FF6347",
        "Turquoise #40E0D0",
        "Violet #EE82EE",
        "Wheat #F5DEB3",
        "White #FFFFFF",
        "WhiteSmoke #F5F5F5",
        "Yellow #FFFF00",
        "YellowGreen #9ACD32",
    };
    ASSERT_EQ(140u, sizeof kStandard / sizeof kStandard[0]);
    for (const char* entry : kStandard)
    {
        const std::string line = entry;
        const std::string nameText = line.substr(0, line.find(' '));
        const std::wstring name(nameText.begin(), nameText.end());
        const unsigned long rrggbb = std::stoul(line.substr(line.find('#') + 1), nullptr, 16);
        const UINT expected = 0xFF000000u | RGB(rrggbb >> 16, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
        std::wstring lower = name;
        for (WCHAR& c : lower)
            c = static_cast<WCHAR>(towlower(c));

        UINT value = 0;
        EXPECT_TRUE(ParseMarkupColorName(name.c_str(), &value)) << entry;
        EXPECT_EQ(expected, value) << entry;
        value = 0;
        EXPECT_TRUE(ParseMarkupColorName(lower.c_str(), &value)) << entry;
        EXPECT_EQ(expected, value) << entry;
    }
}

// ---- Equality, hash and shared instances ------------------------------------------------------------------------

TEST_F(MarkupTest, StringsHashAndCompareTheirCharacters)
{
    Hold ab = Hold::Adopt(new COSMMarkupString(L"ab", -1));
    EXPECT_EQ(3299u, ab->GetHashKey());
    EXPECT_EQ(3299u, HashMarkupText(L"abc", 2));
    Hold same = Hold::Adopt(new COSMMarkupString(L"abc", 2));
    Hold upper = Hold::Adopt(new COSMMarkupString(L"AB", -1));
    Hold longer = Hold::Adopt(new COSMMarkupString(L"ab ", -1));
    Hold number = Hold::Adopt(new COSMMarkupInt(3299));
    EXPECT_TRUE(ab->IsEqual(same.Get()));
    EXPECT_FALSE(ab->IsEqual(upper.Get()));
    EXPECT_FALSE(ab->IsEqual(longer.Get()));
    EXPECT_FALSE(ab->IsEqual(number.Get()));
    EXPECT_FALSE(ab->IsEqual(nullptr));
    EXPECT_EQ(2, static_cast<COSMMarkupString*>(same.Get())->GetLength());
    Hold empty = Hold::Adopt(new COSMMarkupString(nullptr, 5));
    EXPECT_STREQ(L"", static_cast<COSMMarkupString*>(empty.Get())->GetText());
}

TEST_F(MarkupTest, ValuesEqualOnlyObjectsOfTheirOwnClassWithTheSameValue)
{
    struct Case
    {
        const char* what;
        COSMMarkupObject* value;
        COSMMarkupObject* equal;
        COSMMarkupObject* different;
    };
    const Case cases[] = {
        {"int", new COSMMarkupInt(3), new COSMMarkupInt(3), new COSMMarkupInt(4)},
        {"enum", new COSMMarkupEnum(9), new COSMMarkupEnum(9), new COSMMarkupInt(9)},
        {"double", new COSMMarkupDouble(0.5), new COSMMarkupDouble(0.5), new COSMMarkupDouble(0.25)},
        {"bool", new COSMMarkupBool(TRUE), new COSMMarkupBool(5), new COSMMarkupBool(FALSE)},
        {"colour", new COSMMarkupColor(RGB(1, 2, 3)), new COSMMarkupColor(0xFF, RGB(1, 2, 3)),
         new COSMMarkupColor(0x80, RGB(1, 2, 3))},
        {"thickness", new COSMMarkupThickness(1, 2, 3, 4), new COSMMarkupThickness(1, 2, 3, 4),
         new COSMMarkupThickness(1, 2, 3, 5)},
    };
    for (const Case& c : cases)
    {
        EXPECT_TRUE(c.value->IsEqual(c.equal)) << c.what;
        EXPECT_FALSE(c.value->IsEqual(c.different)) << c.what;
        EXPECT_FALSE(c.value->IsEqual(nullptr)) << c.what;
        for (COSMMarkupObject* object : {c.value, c.equal, c.different})
            object->Release();
    }
}

TEST_F(MarkupTest, SmallValuesAreSharedAndOthersAreNew)
{
    struct Case
    {
        const char* what;
        COSMMarkupObject* (*create)();
        bool shared;
    };
    const Case cases[] = {
        {"enum 7", [] { return COSMMarkupEnum::CreateValue(7); }, true},
        {"enum 0", [] { return COSMMarkupEnum::CreateValue(0); }, true},
        {"enum 8", [] { return COSMMarkupEnum::CreateValue(8); }, false},
        {"enum -1", [] { return COSMMarkupEnum::CreateValue(-1); }, false},
        {"\" \"", [] { return COSMMarkupString::CreateValue(L" ", 1); }, true},
        {"\"\\n\"", [] { return COSMMarkupString::CreateValue(L"\n", -1); }, true},
        {"\"\"", [] { return COSMMarkupString::CreateValue(L"", -1); }, true},
        {"null text", [] { return COSMMarkupString::CreateValue(nullptr, 3); }, true},
        {"\"x\"", [] { return COSMMarkupString::CreateValue(L"x", 1); }, false},
        {"\"ab\"", [] { return COSMMarkupString::CreateValue(L"ab", -1); }, false},
        {"true", [] { return COSMMarkupBool::CreateTrueValue(); }, true},
        {"false", [] { return COSMMarkupBool::CreateFalseValue(); }, true},
        {"zero thickness", [] { return COSMMarkupThickness::GetDefaultValue(); }, true},
    };
    for (const Case& c : cases)
    {
        Hold first = Hold::Adopt(c.create());
        Hold second = Hold::Adopt(c.create());
        EXPECT_EQ(c.shared, first.Get() == second.Get()) << c.what;
        EXPECT_TRUE(first->IsEqual(second.Get())) << c.what;
    }
    Hold seven = Hold::Adopt(COSMMarkupEnum::CreateValue(7));
    EXPECT_EQ(7, static_cast<COSMMarkupEnum*>(seven.Get())->GetValue());
    Hold text = Hold::Adopt(COSMMarkupString::CreateValue(L"abc", 2));
    EXPECT_STREQ(L"ab", static_cast<COSMMarkupString*>(text.Get())->GetText());
}

TEST_F(MarkupTest, DeflatingARectangleClampsAtZero)
{
    Hold thickness = Hold::Adopt(new COSMMarkupThickness(1, 2, 3, 4));
    const COSMMarkupThickness* sides = static_cast<COSMMarkupThickness*>(thickness.Get());
    EXPECT_EQ(CRect(11, 22, 57, 74), DeflateRect(CRect(10, 20, 60, 78), sides));
    EXPECT_EQ(CRect(11, 22, 11, 22), DeflateRect(CRect(10, 20, 13, 25), sides));
    EXPECT_EQ(CRect(10, 20, 60, 78), DeflateRect(CRect(10, 20, 60, 78), nullptr));
    Hold huge = Hold::Adopt(new COSMMarkupThickness(INT_MAX));
    EXPECT_EQ(CRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX),
              DeflateRect(CRect(10, 20, 60, 78), static_cast<COSMMarkupThickness*>(huge.Get())));
}

// ---- Collections ------------------------------------------------------------------------------------------------

TEST_F(MarkupTest, CollectionReleasesWhatItRefuses)
{
    Hold stops = Hold::Adopt(new COSMMarkupGradientStops);
    COSMMarkupCollection* collection = static_cast<COSMMarkupCollection*>(stops.Get());
    const LONG live = COSMMarkupObject::GetLiveObjectCount();
    collection->Add(new COSMMarkupInt(1));
    collection->Insert(0, nullptr);
    EXPECT_EQ(live, COSMMarkupObject::GetLiveObjectCount());
    EXPECT_EQ(0, collection->GetCount());

    // A bare collection takes nothing at all.
    Hold bare = Hold::Adopt(new COSMMarkupCollection);
    static_cast<COSMMarkupCollection*>(bare.Get())->Add(new COSMMarkupGradientStop);
    EXPECT_EQ(0, static_cast<COSMMarkupCollection*>(bare.Get())->GetCount());
    EXPECT_EQ(live + 1, COSMMarkupObject::GetLiveObjectCount());
}

TEST_F(MarkupTest, CollectionAppendsAtIndexesOutsideItAndTellsWhereItemsLand)
{
    CRecordingCollection* collection = new CRecordingCollection;
    Hold hold = Hold::Adopt(collection);
    COSMMarkupObject* items[5];
    for (int i = 0; i < 5; ++i)
        items[i] = new COSMMarkupInt(i);
    collection->Add(items[0]);
    collection->Insert(-5, items[1]);
    collection->Insert(99, items[2]);
    collection->Insert(0, items[3]);
    collection->Insert(2, items[4]);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0, 2}), collection->addedAt);
    const COSMMarkupObject* expected[] = {items[3], items[0], items[4], items[1], items[2]};
    ASSERT_EQ(5, collection->GetCount());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(expected[i], collection->GetItem(i)) << i;
    EXPECT_EQ(nullptr, collection->GetItem(5));
    EXPECT_EQ(nullptr, collection->GetItem(-1));
    EXPECT_TRUE(collection->HasContentObject());
}

TEST_F(MarkupTest, CollectionParentsItsItemsWhenItOwnsThem)
{
    for (const BOOL owns : {TRUE, FALSE})
    {
        CRecordingCollection* collection = new CRecordingCollection;
        Hold hold = Hold::Adopt(collection);
        collection->SetOwnsChildren(owns);
        COSMMarkupObject* item = new COSMMarkupInt(1);
        Hold itemHold = Hold::Adopt(Ref(item));
        collection->Add(item);
        EXPECT_EQ(owns ? collection : nullptr, item->GetLogicalParent()) << owns;

        // Out of range: nothing happens.
        collection->RemoveAt(collection->GetCount());
        collection->RemoveAt(-1);
        EXPECT_EQ(1, collection->GetCount());
        EXPECT_EQ(2, RefCount(item));

        collection->RemoveAt(0);
        EXPECT_EQ(0, collection->GetCount());
        EXPECT_EQ(nullptr, item->GetLogicalParent());
        EXPECT_EQ(1, RefCount(item));
    }
}

TEST_F(MarkupBuilderTest, CollectionTakesContentOfItsElementTypeOnly)
{
    Hold stops = Hold::Adopt(new COSMMarkupGradientStops);
    COSMMarkupCollection* collection = static_cast<COSMMarkupCollection*>(stops.Get());
    EXPECT_FALSE(collection->HasContentObject());
    collection->SetContentObject(&builder, new COSMMarkupGradientStop);
    EXPECT_EQ(1, collection->GetCount());

    RefPtr<COSMMarkupObject> number = AdoptRef(new COSMMarkupInt(1));
    EXPECT_EQ("'COSMMarkupInt' object cannot be added to 'COSMMarkupGradientStops'. "
              "Object cannot be converted to type 'COSMMarkupGradientStop'",
              BuilderMessage([&] { collection->SetContentObject(&builder, number.Get()); }));
    EXPECT_EQ(1, RefCount(number.Get()));
    number.Reset();
    EXPECT_EQ(1, collection->GetCount());
}

// Items added at the front and the back, past the sizes whose arrays the pool holds, and removed from the middle
// keep the order a plain list gives them, and each keeps the collection as its parent while it is in it.
TEST_F(MarkupTest, CollectionKeepsItsOrderAsItGrowsAndShrinks)
{
    RefPtr<CRecordingCollection> collection = AdoptRef(new CRecordingCollection);
    std::vector<int> expected;
    for (int i = 0; i < 300; ++i)
    {
        const int at = i % 2 ? 0 : static_cast<int>(expected.size());
        collection->Insert(at, new COSMMarkupInt(i));
        expected.insert(expected.begin() + at, i);
    }
    for (int i = 0; i < 100; ++i)
    {
        const int at = static_cast<int>(expected.size()) / 3;
        collection->RemoveAt(at);
        expected.erase(expected.begin() + at);
    }
    ASSERT_EQ(static_cast<int>(expected.size()), collection->GetCount());
    for (int i = 0; i < collection->GetCount(); ++i)
    {
        ASSERT_EQ(expected[static_cast<size_t>(i)], static_cast<COSMMarkupInt*>(collection->GetItem(i))->GetValue())
            << i;
        ASSERT_EQ(collection.Get(), collection->GetItem(i)->GetLogicalParent()) << i;
    }
    collection->RemoveAll();
    EXPECT_EQ(0, collection->GetCount());
    collection->Add(new COSMMarkupInt(7));
    EXPECT_EQ(7, static_cast<COSMMarkupInt*>(collection->GetItem(0))->GetValue());
}

TEST_F(MarkupTest, CollectionReleasesItsItemsWhenItGoes)
{
    const LONG live = COSMMarkupObject::GetLiveObjectCount();
    RefPtr<CRecordingCollection> collection = AdoptRef(new CRecordingCollection);
    collection->SetGrowBy(2);
    for (int i = 0; i < 40; ++i)
        collection->Add(new COSMMarkupInt(i));
    EXPECT_EQ(40, collection->GetCount());
    EXPECT_EQ(39, static_cast<COSMMarkupInt*>(collection->GetItem(39))->GetValue());
    collection.Reset();
    EXPECT_EQ(live, COSMMarkupObject::GetLiveObjectCount());
}
