// Styles: value precedence, implicit styles for exactly one type, setters resolved and converted while the markup is
// built (with the builder's messages), BasedOn, sealing, the style's own resources.

#include "ParseTestSupport.h"
#include "StyleTestTypes.h"

#include "framework/markup/MarkupControl.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupFrameworkElement.h"
#include "framework/markup/MarkupInputElement.h"
#include "framework/markup/MarkupResourceDictionary.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupTrigger.h"
#include "framework/markup/MarkupType.h"

#include <gtest/gtest.h>

#include <string>

namespace markup_test {
namespace {

using Element = COSMMarkupFrameworkElement;
using Input = COSMMarkupInputElement;

COSMMarkupObject* Text(LPCWSTR text)
{
    return new COSMMarkupString(text, -1);
}

std::string TagOf(const COSMMarkupObject* element)
{
    return DescribeValue(element->GetValue(Element::s_pTagProperty));
}

// A style whose setters give Tag the text tag (a sealed copy is made by whoever uses it).
COSMMarkupStyle* TagStyle(LPCWSTR tag)
{
    COSMMarkupStyle* style = new COSMMarkupStyle;
    style->GetSetters()->Add(new COSMMarkupSetter(Element::s_pTagProperty, Text(tag)));
    return style;
}

// Every layer gives Tag a value of its own; taking them away one by one shows each layer under the one above.
TEST_F(MarkupTest, ALocalValueWinsOverTriggersOverTheStyleOverTheTypesStyleOverTheDefault)
{
    COSMMarkupType* type = CStyleProbe::GetClassType();
    type->SetTypeStyle(TagStyle(L"type style"));
    COSMMarkupStyle* style = TagStyle(L"style");
    COSMMarkupTrigger* hover = new COSMMarkupTrigger(Input::s_pIsMouseOverProperty, COSMMarkupBool::CreateTrueValue());
    hover->AddSetter(new COSMMarkupSetter(Element::s_pTagProperty, Text(L"trigger")));
    COSMMarkupTriggerCollection* triggers = new COSMMarkupTriggerCollection;
    triggers->Add(hover);
    style->SetValue(COSMMarkupStyle::s_pTriggersProperty, triggers);

    Hold probe = Hold::Adopt(new CStyleProbe);
    probe->SetValue(Input::s_pStyleProperty, style);
    probe->SetValue(Input::s_pIsMouseOverProperty, COSMMarkupBool::CreateTrueValue());
    probe->SetValue(Element::s_pTagProperty, Text(L"local"));

    struct Layer
    {
        const char* shown;
        void (*takeAway)(COSMMarkupObject* probe);
    };
    const Layer layers[] = {
        {"local", [](COSMMarkupObject* p) { p->SetValue(Element::s_pTagProperty, nullptr); }},
        {"trigger", [](COSMMarkupObject* p) { p->SetValue(Input::s_pIsMouseOverProperty, nullptr); }},
        {"style", [](COSMMarkupObject* p) { p->SetValue(Input::s_pStyleProperty, nullptr); }},
        {"type style", [](COSMMarkupObject* p) { p->GetType()->SetTypeStyle(nullptr); }},
        {"null", nullptr},
    };
    for (const Layer& layer : layers)
    {
        EXPECT_EQ(layer.shown, TagOf(probe.Get()));
        if (layer.takeAway)
            layer.takeAway(probe.Get());
    }
    type->SetTypeStyle(nullptr);
}

// A style in a dictionary without a Key is stored under its TargetType and styles elements of exactly that type.
TEST_F(ParseTest, AnImplicitStyleStylesItsTypeButNotADerivedOne)
{
    Hold root = Hold::Adopt(
        Parse("<StackPanel>\n"
              "  <StackPanel.Resources>\n"
              "    <Style TargetType=\"OsmStyleProbe\"><Setter Property=\"Tag\" Value=\"implicit\"/></Style>\n"
              "  </StackPanel.Resources>\n"
              "  <OsmStyleProbe Name=\"exact\"/>\n"
              "  <OsmDerivedStyleProbe Name=\"derived\"/>\n"
              "  <OsmStyleProbe Name=\"own\" Tag=\"local\"/>\n"
              "</StackPanel>"));
    ASSERT_TRUE(root);
    const auto* exact = MarkupDynamicCast<Input>(FindNamed(root.Get(), L"exact"));
    const auto* derived = MarkupDynamicCast<Input>(FindNamed(root.Get(), L"derived"));
    ASSERT_TRUE(exact && derived);
    EXPECT_EQ("implicit", TagOf(exact));
    ASSERT_NE(nullptr, exact->GetAppliedStyle());
    EXPECT_TRUE(exact->GetAppliedStyle()->IsSealed());
    EXPECT_EQ("null", TagOf(derived));
    EXPECT_EQ(nullptr, derived->GetAppliedStyle());
    EXPECT_EQ("local", TagOf(FindNamed(root.Get(), L"own")));
}

// The builder's messages, with the line and position the reader had reached.
TEST_F(ParseTest, StyleErrorsAreBuilderErrorsWithLineAndPosition)
{
    struct Case
    {
        const char* name;
        const char* styles;
        const char* message;
    };
    const Case cases[] = {
        {"a second implicit style of one type",
         "<Style TargetType=\"Border\"/>\n"
         "<Style TargetType=\"Border\"/>",
         "Dictionary key is already used. Key attributes must be unique.. Line 3, position 29"},
        {"a plain name without TargetType",
         "<Style x:Key=\"s\"><Setter Property=\"Background\" Value=\"Red\"/></Style>",
         "Cannot find the Style Property 'Background'. Line 2, position 61"},
        {"a name no type has", "<Style TargetType=\"Border\"><Setter Property=\"Colour\" Value=\"Red\"/></Style>",
         "Cannot find the Style Property 'Colour'. Line 2, position 67"},
        {"a setter without Value", "<Style TargetType=\"Border\"><Setter Property=\"Background\"/></Style>",
         "Must specify both Property and Value for Setter.. Line 2, position 59"},
        {"a setter without Property", "<Style TargetType=\"Border\"><Setter Value=\"Red\"/></Style>",
         "Must specify both Property and Value for Setter.. Line 2, position 49"},
        {"a trigger without Value",
         "<Style TargetType=\"Border\"><Style.Triggers><Trigger Property=\"IsMouseOver\"/></Style.Triggers></Style>",
         "Must specify both Property and Value for Setter.. Line 2, position 94"},
        {"a bad value that no element uses",
         "<Style TargetType=\"Border\"><Setter Property=\"Visibility\" Value=\"Sometimes\"/></Style>",
         "Cannot convert string in attribute 'Visibility' to object of type 'COSMMarkupEnum'. Line 2, position 77"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.message, ParseError(std::string("<StackPanel><StackPanel.Resources>\n") + c.styles +
                                        "\n</StackPanel.Resources></StackPanel>"));
    }
}

// A name with a dot names its owner, so a style without TargetType still finds it; text becomes the property's
// type as the setter arrives, before any element uses the style (which stays open until then).
TEST_F(ParseTest, SettersAreResolvedAndConvertedWhileTheStyleIsBuilt)
{
    Hold root = Hold::Adopt(Parse("<StackPanel><StackPanel.Resources>\n"
                                  "  <Style x:Key=\"s\">\n"
                                  "    <Setter Property=\"Border.Background\" Value=\"Red\"/>\n"
                                  "    <Setter Property=\"FrameworkElement.Width\" Value=\"30\"/>\n"
                                  "    <Setter Property=\"Control.Background\" Value=\"Lime\"/>\n"
                                  "  </Style>\n"
                                  "</StackPanel.Resources></StackPanel>"));
    ASSERT_TRUE(root);
    auto* resources = MarkupDynamicCast<COSMMarkupResourceDictionary>(root->GetValue(Input::s_pResourcesProperty));
    ASSERT_NE(nullptr, resources);
    Hold key = Hold::Adopt(Text(L"s"));
    auto* style = MarkupDynamicCast<COSMMarkupStyle>(resources->Lookup(key.Get()));
    ASSERT_NE(nullptr, style);
    EXPECT_FALSE(style->IsSealed());
    ASSERT_EQ(3, style->GetSetters()->GetCount());
    const COSMMarkupSetter* background = style->GetSetters()->GetSetter(0);
    const COSMMarkupSetter* width = style->GetSetters()->GetSetter(1);
    ASSERT_NE(nullptr, background->GetSetterProperty());
    EXPECT_STREQ(L"Background", background->GetSetterProperty()->GetName());
    EXPECT_EQ("#0000FF", DescribeValue(background->GetSetterValue()));
    EXPECT_EQ(Element::s_pWidthProperty, width->GetSetterProperty());
    EXPECT_EQ("30", DescribeValue(width->GetSetterValue()));
    const COSMMarkupSetter* control = style->GetSetters()->GetSetter(2);
    EXPECT_EQ(COSMMarkupControl::s_pBackgroundProperty, control->GetSetterProperty());
    EXPECT_EQ("#00FF00", DescribeValue(control->GetSetterValue()));
}

// The derived style's setter replaces the base's for one property; what only the base sets stays.
TEST_F(ParseTest, BasedOnOverridesAndKeeps)
{
    Hold root =
        Hold::Adopt(Parse("<StackPanel><StackPanel.Resources>\n"
                          "  <Style x:Key=\"base\" TargetType=\"OsmStyleProbe\">\n"
                          "    <Setter Property=\"Tag\" Value=\"base\"/><Setter Property=\"Cursor\" Value=\"Hand\"/>\n"
                          "  </Style>\n"
                          "  <Style x:Key=\"derived\" TargetType=\"OsmStyleProbe\" BasedOn=\"{StaticResource base}\">\n"
                          "    <Setter Property=\"Tag\" Value=\"first\"/><Setter Property=\"Tag\" Value=\"derived\"/>\n"
                          "  </Style>\n"
                          "</StackPanel.Resources>\n"
                          "<OsmStyleProbe Name=\"p\" Style=\"{StaticResource derived}\"/></StackPanel>"));
    ASSERT_TRUE(root);
    const COSMMarkupObject* probe = FindNamed(root.Get(), L"p");
    ASSERT_NE(nullptr, probe);
    EXPECT_EQ("derived", TagOf(probe));
    EXPECT_EQ("32649", DescribeValue(probe->GetValue(Input::s_pCursorProperty)));
}

// Sealing fixes the values: a setter added later reaches neither the store nor the elements.
TEST_F(MarkupTest, SettersAddedAfterSealingAreUnseen)
{
    COSMMarkupStyle* style = TagStyle(L"sealed");
    Hold probe = Hold::Adopt(new CStyleProbe);
    probe->SetValue(Input::s_pStyleProperty, style);
    ASSERT_TRUE(style->IsSealed());
    style->GetSetters()->Add(new COSMMarkupSetter(Input::s_pCursorProperty, new COSMMarkupInt(32512)));
    style->Seal();
    EXPECT_EQ(nullptr, style->GetStyleValue(Input::s_pCursorProperty));
    EXPECT_EQ(nullptr, probe->GetValue(Input::s_pCursorProperty));
    EXPECT_EQ("sealed", TagOf(probe.Get()));
}

// A style's lookup searches its own Resources and never leaves the style.
TEST_F(ParseTest, AStylesFindResourceSearchesOnlyItsOwnResources)
{
    Hold root =
        Hold::Adopt(Parse("<StackPanel><StackPanel.Resources>\n"
                          "  <SolidColorBrush x:Key=\"outer\" Color=\"Red\"/>\n"
                          "  <Style x:Key=\"s\"><Style.Resources><SolidColorBrush x:Key=\"own\" Color=\"Lime\"/>"
                          "</Style.Resources></Style>\n"
                          "</StackPanel.Resources></StackPanel>"));
    ASSERT_TRUE(root);
    auto* resources = MarkupDynamicCast<COSMMarkupResourceDictionary>(root->GetValue(Input::s_pResourcesProperty));
    ASSERT_NE(nullptr, resources);
    Hold styleKey = Hold::Adopt(Text(L"s"));
    Hold own = Hold::Adopt(Text(L"own"));
    Hold outer = Hold::Adopt(Text(L"outer"));
    auto* style = MarkupDynamicCast<COSMMarkupStyle>(resources->Lookup(styleKey.Get()));
    ASSERT_NE(nullptr, style);
    EXPECT_EQ("#00FF00", DescribeValue(style->FindResource(own.Get())));
    EXPECT_EQ(nullptr, style->FindResource(outer.Get()));
    EXPECT_NE(nullptr, resources->Lookup(outer.Get()));
}

}  // namespace
}  // namespace markup_test
