// What the builder makes of valid markup: the tree's shape, attributes converted to their properties' types,
// property elements, attached properties, the text content elements are given (blanks collapsed, comments and CDATA
// left out, entities resolved) and the encoding an XML declaration names.
#include "MarkupBuilderTestTypes.h"
#include "ParseTestSupport.h"

#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupCollection.h"
#include "framework/markup/MarkupGradientStop.h"
#include "framework/markup/MarkupPage.h"
#include "framework/markup/MarkupPanel.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using markup_test::ColorOf;
using markup_test::CRecorder;
using markup_test::Hold;
using markup_test::ParseTest;

namespace {

using Lines = std::vector<std::string>;

std::wstring TextOf(const COSMMarkupObject* value)
{
    LPCWSTR text = GetMarkupText(value);
    return text ? std::wstring(text, static_cast<size_t>(static_cast<const COSMMarkupString*>(value)->GetLength()))
                : L"(no text)";
}

int IntOf(const COSMMarkupObject* value)
{
    const COSMMarkupInt* number = MarkupDynamicCast<COSMMarkupInt>(value);
    return number ? number->GetValue() : -1;
}

struct ContentCase
{
    const char* inner;
    Lines accepting;  // what OsmRecorder, which takes a lone blank, is given
    Lines strict;     // what OsmStrictRecorder is given
};

const ContentCase kContentCases[] = {
    {"  a   b  ", {"\"a b\""}, {"\"a b\""}},
    {"\n  one\r\n  two\n", {"\"one two\""}, {"\"one two\""}},
    {"a <OsmBox/> b", {"\"a \"", "<OsmBox>", "\" b\""}, {"\"a \"", "<OsmBox>", "\" b\""}},
    {"<OsmBox/> <OsmBox/>", {"<OsmBox>", "\" \"", "<OsmBox>"}, {"<OsmBox>", "<OsmBox>"}},
    {" <OsmBox/>", {"<OsmBox>"}, {"<OsmBox>"}},
    {"<OsmBox/> x", {"<OsmBox>", "\" x\""}, {"<OsmBox>", "\" x\""}},
    {"x<OsmBox/><OsmBox/> ", {"\"x\"", "<OsmBox>", "<OsmBox>"}, {"\"x\"", "<OsmBox>", "<OsmBox>"}},
    {"a<!-- c -->b", {"\"ab\""}, {"\"ab\""}},
    {"a<![CDATA[ <b> ]]>c", {"\"ac\""}, {"\"ac\""}},
    {"a<?pi x?>b", {"\"ab\""}, {"\"ab\""}},
    {"a &lt; b", {"\"a < b\""}, {"\"a < b\""}},
    {"AT&T &amp; &#x41;", {"\"AT&T & A\""}, {"\"AT&T & A\""}},
    {"", {}, {}},
    {"   ", {}, {}},
};

TEST_F(ParseTest, ContentTextCollapsesBlanksAndSitsBetweenChildElements)
{
    for (const ContentCase& c : kContentCases)
    {
        for (const char* tag : {"OsmRecorder", "OsmStrictRecorder"})
        {
            const std::string markup = std::string("<") + tag + ">" + c.inner + "</" + tag + ">";
            std::string error;
            Hold root = Hold::Adopt(Parse(markup, &error));
            ASSERT_TRUE(root) << markup << ": " << error;
            const Lines& expected = tag[3] == 'R' ? c.accepting : c.strict;
            EXPECT_EQ(expected, static_cast<CRecorder*>(root.Get())->DescribeContent()) << markup;
        }
    }
}

TEST_F(ParseTest, ElementsNestAsWrittenAndAttributesTakeTheirPropertiesTypes)
{
    Hold root =
        Hold::Adopt(Parse("<Page xmlns=\"urn:osm\" xmlns:x=\"urn:osm:x\" xmlnsOther=\"y\">\n"
                          "  <Border x:Name=\"outer\" x:Key=\"k\" Background=\"red\" HorizontalAlignment=\"center\"\n"
                          "          Width=\"12pt\" Height=\"Auto\" Margin=\"1, 2,3,4\" OsmRecorder.Number=\"7\"/>\n"
                          "</Page>"));
    ASSERT_TRUE(root);
    const COSMMarkupPage* page = MarkupDynamicCast<COSMMarkupPage>(root.Get());
    ASSERT_NE(nullptr, page);
    EXPECT_STREQ(L"Page", page->GetTagName());
    const COSMMarkupBorder* border = MarkupDynamicCast<COSMMarkupBorder>(page->GetChild());
    ASSERT_NE(nullptr, border);
    EXPECT_EQ(page, border->GetLogicalParent());
    EXPECT_EQ(L"outer", TextOf(border->GetValue(COSMMarkupObject::s_pNameProperty)));
    EXPECT_EQ(L"k", TextOf(border->GetValue(COSMMarkupObject::s_pKeyProperty)));
    EXPECT_EQ(RGB(255, 0, 0), ColorOf(border->GetBackground()));
    EXPECT_EQ(COSMMarkupFrameworkElement::AlignCenter, border->GetHorizontalAlignment());
    // The length converter turns points into pixels; "Auto" is no size.
    EXPECT_EQ(16, IntOf(border->GetValue(COSMMarkupFrameworkElement::s_pWidthProperty)));
    EXPECT_EQ(2147483647, IntOf(border->GetValue(COSMMarkupFrameworkElement::s_pHeightProperty)));
    const COSMMarkupThickness* margin = border->GetMargin();
    ASSERT_NE(nullptr, margin);
    EXPECT_EQ(1, margin->GetLeft());
    EXPECT_EQ(2, margin->GetTop());
    EXPECT_EQ(3, margin->GetRight());
    EXPECT_EQ(4, margin->GetBottom());
    // An attached property is found through the class that registered it.
    EXPECT_EQ(7, IntOf(border->GetValue(CRecorder::s_pNumberProperty)));

    Hold empty = Hold::Adopt(Parse("<Page/>"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(nullptr, static_cast<COSMMarkupPage*>(empty.Get())->GetChild());
}

// A parse makes one object per value text and converter and shares it, for a bounded number of texts: elements that
// name the same text get the same value, texts past the bound still convert for each element, and the same text
// read by two converters gives each converter's value.
TEST_F(ParseTest, ElementsNamingTheSameValueShareItAndEachGetsTheValueItNames)
{
    const int kBorders = 700;
    const int kWidths = 350;  // more distinct texts than a parse shares
    std::string markup = "<StackPanel>";
    for (int i = 0; i < kBorders; ++i)
    {
        markup += "<Border Width=\"" + std::to_string(i % kWidths) +
                  "\" Margin=\"1,2,3,4\" Height=\"12pt\" OsmRecorder.Number=\"12pt\"/>";
    }
    markup += "</StackPanel>";
    Hold root = Hold::Adopt(Parse(markup));
    ASSERT_TRUE(root);
    const COSMMarkupUIElementCollection* children = static_cast<COSMMarkupPanel*>(root.Get())->GetChildren();
    ASSERT_EQ(kBorders, children->GetCount());
    const COSMMarkupObject* firstMargin = nullptr;
    for (int i = 0; i < kBorders; ++i)
    {
        const COSMMarkupBorder* border = MarkupDynamicCast<COSMMarkupBorder>(children->GetElement(i));
        ASSERT_NE(nullptr, border) << i;
        ASSERT_EQ(i % kWidths, IntOf(border->GetValue(COSMMarkupFrameworkElement::s_pWidthProperty))) << i;
        // The length converter reads the unit; the plain number converter stops at it.
        ASSERT_EQ(16, IntOf(border->GetValue(COSMMarkupFrameworkElement::s_pHeightProperty))) << i;
        ASSERT_EQ(12, IntOf(border->GetValue(CRecorder::s_pNumberProperty))) << i;
        const COSMMarkupThickness* margin = border->GetMargin();
        ASSERT_NE(nullptr, margin) << i;
        ASSERT_EQ(1, margin->GetLeft());
        ASSERT_EQ(4, margin->GetBottom());
        if (!firstMargin)
            firstMargin = margin;
        EXPECT_EQ(firstMargin, margin) << i;
    }
    // The first texts are shared: the second element naming width 0 holds the first one's value.
    const COSMMarkupBorder* first = MarkupDynamicCast<COSMMarkupBorder>(children->GetElement(0));
    const COSMMarkupBorder* again = MarkupDynamicCast<COSMMarkupBorder>(children->GetElement(kWidths));
    EXPECT_EQ(first->GetValue(COSMMarkupFrameworkElement::s_pWidthProperty),
              again->GetValue(COSMMarkupFrameworkElement::s_pWidthProperty));

    // Another parse makes its own values: nothing of the first one's outlives its tree (the fixture counts them).
    Hold second = Hold::Adopt(Parse("<Border Margin=\"1,2,3,4\"/>"));
    ASSERT_TRUE(second);
    EXPECT_NE(firstMargin, static_cast<COSMMarkupBorder*>(second.Get())->GetMargin());
}

TEST_F(ParseTest, TextAfterEmptyBracesIsTakenLiterally)
{
    const struct
    {
        const char* markup;
        const wchar_t* tag;
    } kCases[] = {
        {"<Page Tag=\"{}{Binding b}\"/>", L"{Binding b}"},
        {"<Page Tag=\"{}\"/>", L""},
        {"<Page Tag=\"{}}\"/>", L"}"},
        {"<Page Tag=\"a{b}\"/>", L"a{b}"},
        {"<Page><Page.Tag>{StaticResource b}</Page.Tag></Page>", L"{StaticResource b}"},
    };
    for (const auto& c : kCases)
    {
        Hold root = Hold::Adopt(Parse(c.markup));
        ASSERT_TRUE(root) << c.markup;
        EXPECT_EQ(c.tag, TextOf(root->GetValue(COSMMarkupFrameworkElement::s_pTagProperty))) << c.markup;
    }
}

TEST_F(ParseTest, PropertyElementsSetTheirValueOnTheEnclosingElement)
{
    // Text is converted like an attribute's.
    Hold border = Hold::Adopt(Parse("<Border><Border.Background>Red</Border.Background></Border>"));
    ASSERT_TRUE(border);
    EXPECT_EQ(RGB(255, 0, 0), ColorOf(static_cast<COSMMarkupBorder*>(border.Get())->GetBackground()));

    // The owner before the dot need not be the parent: the value lands on the page.
    Hold page = Hold::Adopt(Parse("<Page><Border.Background>Lime</Border.Background></Page>"));
    ASSERT_TRUE(page);
    EXPECT_EQ(RGB(0, 255, 0), ColorOf(page->GetValue(COSMMarkupBorder::s_pBackgroundProperty)));

    // A second value of the property's type replaces the first, which is released: the tree holds no more objects
    // than the one written with the second brush alone.
    LONG live = COSMMarkupObject::GetLiveObjectCount();
    Hold single =
        Hold::Adopt(Parse("<Border><Border.Background><SolidColorBrush Color=\"Blue\"/></Border.Background></Border>"));
    ASSERT_TRUE(single);
    const LONG singleObjects = COSMMarkupObject::GetLiveObjectCount() - live;
    live = COSMMarkupObject::GetLiveObjectCount();
    Hold replaced = Hold::Adopt(Parse("<Border><Border.Background><SolidColorBrush Color=\"Red\"/>"
                                      "<SolidColorBrush Color=\"Blue\"/></Border.Background></Border>"));
    ASSERT_TRUE(replaced);
    EXPECT_EQ(RGB(0, 0, 255), ColorOf(static_cast<COSMMarkupBorder*>(replaced.Get())->GetBackground()));
    EXPECT_EQ(singleObjects, COSMMarkupObject::GetLiveObjectCount() - live);
}

TEST_F(ParseTest, ACollectionPropertyCollectsItsChildrenWithoutACollectionTag)
{
    Hold root = Hold::Adopt(Parse("<Border>\n"
                                  "  <Border.Background>\n"
                                  "    <LinearGradientBrush StartPoint=\"0,0\" EndPoint=\"1,0\">\n"
                                  "      <LinearGradientBrush.GradientStops>\n"
                                  "        <GradientStop Color=\"Red\" Offset=\"0\"/>\n"
                                  "        <GradientStop Color=\"Blue\" Offset=\"1\"/>\n"
                                  "      </LinearGradientBrush.GradientStops>\n"
                                  "    </LinearGradientBrush>\n"
                                  "  </Border.Background>\n"
                                  "</Border>"));
    ASSERT_TRUE(root);
    const COSMMarkupLinearGradientBrush* brush =
        MarkupDynamicCast<COSMMarkupLinearGradientBrush>(static_cast<COSMMarkupBorder*>(root.Get())->GetBackground());
    ASSERT_NE(nullptr, brush);
    ASSERT_NE(nullptr, brush->GetGradientStops());
    EXPECT_EQ(2, brush->GetGradientStops()->GetCount());
    EXPECT_EQ(RGB(255, 0, 0), brush->GetRepresentativeColor());

    // Stops written straight inside the brush go to its own collection.
    Hold direct = Hold::Adopt(Parse("<Border><Border.Background><LinearGradientBrush><GradientStop Color=\"Navy\"/>"
                                    "<GradientStop/></LinearGradientBrush></Border.Background></Border>"));
    ASSERT_TRUE(direct);
    brush =
        MarkupDynamicCast<COSMMarkupLinearGradientBrush>(static_cast<COSMMarkupBorder*>(direct.Get())->GetBackground());
    ASSERT_NE(nullptr, brush);
    EXPECT_EQ(2, brush->GetGradientStops()->GetCount());
}

TEST_F(ParseTest, AnXmlDeclarationNamingUtf8SwitchesTheReaderForTheRestOfTheText)
{
    const struct
    {
        std::string markup;
        UINT codePage;
        std::wstring tag;
    } kCases[] = {
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Page Tag=\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"/>", CP_ACP,
         std::wstring(L"\xE9\x20AC") + wchar_t(0xD83D) + wchar_t(0xDE00)},
        {"<?xml version='1.0' encoding='utf-8' standalone='yes'?><Page Tag=\"\xC3\xA9\"/>", CP_ACP, L"\xE9"},
        {"<Page Tag=\"\x82\xA0\"/>", 932, L"\x3042"},
    };
    for (const auto& c : kCases)
    {
        std::string error;
        Hold root = Hold::Adopt(Parse(c.markup, &error, c.codePage));
        ASSERT_TRUE(root) << c.markup << ": " << error;
        EXPECT_EQ(c.tag, TextOf(root->GetValue(COSMMarkupFrameworkElement::s_pTagProperty))) << c.markup;
    }

    // "UTF-8" in capitals leaves the ANSI code page in force: two characters.
    Hold ansi = Hold::Adopt(Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Page Tag=\"\xC3\xA9\"/>"));
    ASSERT_TRUE(ansi);
    WCHAR expected[2] = {};
    ASSERT_EQ(2, ::MultiByteToWideChar(CP_ACP, 0, "\xC3\xA9", 2, expected, 2));
    EXPECT_EQ(std::wstring(expected, 2), TextOf(ansi->GetValue(COSMMarkupFrameworkElement::s_pTagProperty)));
}

}  // namespace
