// Markup extensions and resources: static and dynamic resource references along the open elements, inside styles,
// with text, literal and system-key keys; x:Static system colours; x:Type records; implicit style keys; the
// resource dictionary's store; FindMarkupResource over a tree.
#include "MarkupBuilderTestTypes.h"
#include "ParseTestSupport.h"

#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupInputElement.h"
#include "framework/markup/MarkupPage.h"
#include "framework/markup/MarkupResourceDictionary.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupType.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <string>

using markup_test::ColorOf;
using markup_test::Hold;
using markup_test::ParseTest;
using markup_test::Ref;
using markup_test::RefCount;

namespace {

COSMMarkupResourceDictionary* ResourcesOf(const COSMMarkupObject* object)
{
    return MarkupDynamicCast<COSMMarkupResourceDictionary>(object->GetValue(COSMMarkupStyle::s_pResourcesProperty));
}

COSMMarkupObject* BackgroundOf(const COSMMarkupObject* object)
{
    return object->GetValue(COSMMarkupBorder::s_pBackgroundProperty);
}

// The resource under a text key (borrowed), or null.
COSMMarkupObject* Lookup(const COSMMarkupResourceDictionary* dictionary, LPCWSTR key)
{
    const Hold text = Hold::Adopt(COSMMarkupString::CreateValue(key, -1));
    return dictionary ? dictionary->Lookup(text.Get()) : nullptr;
}

COSMMarkupBorder* ChildOf(const COSMMarkupObject* page)
{
    return MarkupDynamicCast<COSMMarkupBorder>(static_cast<const COSMMarkupPage*>(page)->GetChild());
}

const char kMissing[] = "Cannot find resource named 'b'. Resource names are case sensitive";

// The stored message of one-line markup that fails just after part (its last occurrence).
std::string At(const std::string& message, const std::string& markup, const std::string& part)
{
    return message + ". Line 1, position " + std::to_string(markup.rfind(part) + part.size() + 1);
}

TEST_F(ParseTest, AStaticResourceIsFoundInAnAncestorDeclaredBeforeIt)
{
    Hold root = Hold::Adopt(Parse("<Page>\n"
                                  "  <Page.Resources><SolidColorBrush x:Key=\"b\" Color=\"Red\"/></Page.Resources>\n"
                                  "  <Border><Border Background=\"{StaticResource b}\"/></Border>\n"
                                  "</Page>"));
    ASSERT_TRUE(root);
    const COSMMarkupObject* inner = ChildOf(ChildOf(root.Get()));
    ASSERT_NE(nullptr, inner);
    // The very object the dictionary holds.
    EXPECT_EQ(Lookup(ResourcesOf(root.Get()), L"b"), BackgroundOf(inner));
    EXPECT_EQ(RGB(255, 0, 0), ColorOf(BackgroundOf(inner)));

    // Before its declaration, in a sibling, or in other case, it is not found.
    for (const std::string markup :
         {"<Page Tag=\"{StaticResource b}\"><Page.Resources><SolidColorBrush x:Key=\"b\"/></Page.Resources></Page>",
          "<Canvas><Border><Border.Resources><SolidColorBrush x:Key=\"b\"/></Border.Resources></Border>"
          "<Border Background=\"{StaticResource b}\"/></Canvas>",
          "<Page><Page.Resources><SolidColorBrush x:Key=\"B\"/></Page.Resources>"
          "<Border Background=\"{StaticResource b}\"/></Page>"})
    {
        EXPECT_EQ(At(kMissing, markup, "{StaticResource b}\""), ParseError(markup)) << markup;
    }
}

TEST_F(ParseTest, ALaterEntryOfTheOpenDictionaryFindsAnEarlierOne)
{
    Hold root = Hold::Adopt(Parse("<Page><Page.Resources>\n"
                                  "  <Color x:Key=\"c\">Navy</Color>\n"
                                  "  <SolidColorBrush x:Key=\"b\" Color=\"{StaticResource   c}\"/>\n"
                                  "</Page.Resources><Border Background=\"{DynamicResource b}\"/></Page>"));
    ASSERT_TRUE(root);
    EXPECT_EQ(RGB(0, 0, 128), ColorOf(BackgroundOf(ChildOf(root.Get()))));
    EXPECT_EQ(Lookup(ResourcesOf(root.Get()), L"c"),
              Lookup(ResourcesOf(root.Get()), L"b")->GetValue(COSMMarkupSolidColorBrush::s_pColorProperty));
}

TEST_F(ParseTest, InsideAStyleItsResourcesComeFirstThenWhatEnclosesTheStyle)
{
    Hold root = Hold::Adopt(
        Parse("<Page><Page.Resources>\n"
              "  <Color x:Key=\"outer\">Navy</Color>\n"
              "  <Color x:Key=\"both\">Red</Color>\n"
              "  <Style x:Key=\"s\">\n"
              "    <Style.Resources>\n"
              "      <Color x:Key=\"both\">Lime</Color>\n"
              "      <SolidColorBrush x:Key=\"fromStyle\" Color=\"{StaticResource both}\"/>\n"
              "      <SolidColorBrush x:Key=\"fromOuter\" Color=\"{StaticResource outer}\"/>\n"
              "    </Style.Resources>\n"
              "    <Style.BasedOn><Style Border.Background=\"{StaticResource fromStyle}\"/></Style.BasedOn>\n"
              "  </Style>\n"
              "</Page.Resources></Page>"));
    ASSERT_TRUE(root);
    COSMMarkupObject* style = Lookup(ResourcesOf(root.Get()), L"s");
    ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupStyle>(style));
    COSMMarkupResourceDictionary* styleResources = ResourcesOf(style);
    EXPECT_EQ(RGB(0, 255, 0), ColorOf(Lookup(styleResources, L"fromStyle")));
    EXPECT_EQ(RGB(0, 0, 128), ColorOf(Lookup(styleResources, L"fromOuter")));
    const COSMMarkupObject* basedOn = style->GetValue(COSMMarkupStyle::s_pBasedOnProperty);
    ASSERT_NE(nullptr, basedOn);
    EXPECT_EQ(Lookup(styleResources, L"fromStyle"), BackgroundOf(basedOn));
}

TEST_F(ParseTest, ADynamicResourceIsReadOnceWhenTheAttributeIs)
{
    Hold root = Hold::Adopt(Parse("<Page><Page.Resources><SolidColorBrush x:Key=\"b\" Color=\"Red\"/></Page.Resources>"
                                  "<Border Background=\"{DynamicResource b}\"/></Page>"));
    ASSERT_TRUE(root);
    COSMMarkupResourceDictionary* resources = ResourcesOf(root.Get());
    COSMMarkupObject* red = Lookup(resources, L"b");
    ASSERT_NE(nullptr, red);
    EXPECT_EQ(2, RefCount(red));

    resources->SetAt(COSMMarkupString::CreateValue(L"b", -1), new COSMMarkupSolidColorBrush(RGB(0, 0, 255)));
    EXPECT_EQ(RGB(0, 0, 255), ColorOf(Lookup(resources, L"b")));
    // The border keeps what it read; the dictionary let go of it.
    EXPECT_EQ(red, BackgroundOf(ChildOf(root.Get())));
    EXPECT_EQ(1, RefCount(red));
    EXPECT_EQ(1, resources->GetCount());
}

TEST_F(ParseTest, StaticMembersGiveTheSystemColoursBrushesAndKeys)
{
    Hold root = Hold::Adopt(Parse("<Border Background=\"{x:Static SystemColors.HighlightTextBrush}\">"
                                  "<Border.BorderBrush><SolidColorBrush Color=\"{x:Static SystemColors.InfoColor}\"/>"
                                  "</Border.BorderBrush></Border>"));
    ASSERT_TRUE(root);
    const COSMMarkupBorder* border = static_cast<COSMMarkupBorder*>(root.Get());
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHTTEXT), ColorOf(border->GetBackground()));
    EXPECT_EQ(::GetSysColor(COLOR_INFOBK), ColorOf(border->GetBorderBrush()));
    for (const char* member : {"SystemColors.HighlightTextPen", "Colors.Red", "SystemColors.FooBrush"})
    {
        const std::string markup = std::string("<Border Background=\"{x:Static ") + member + "}\"/>";
        EXPECT_EQ(At(std::string("Cannot find the static member  '") + member + "'", markup, "}\""),
                  ParseError(markup));
    }
}

TEST_F(ParseTest, ASystemKeyFindsTheResourceStoredUnderItElseTheSystemValue)
{
    // Within one parse the key is one object, so the dictionary finds it again.
    Hold root =
        Hold::Adopt(Parse("<Page><Page.Resources>\n"
                          "  <SolidColorBrush x:Key=\"{x:Static SystemColors.WindowBrushKey}\" Color=\"#FF102030\"/>\n"
                          "</Page.Resources>\n"
                          "<Border Background=\"{StaticResource {x:Static SystemColors.WindowBrushKey}}\"/></Page>"));
    ASSERT_TRUE(root);
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), ColorOf(BackgroundOf(ChildOf(root.Get()))));

    Hold system = Hold::Adopt(Parse("<Border Background=\"{StaticResource {x:Static SystemColors.WindowBrushKey}}\">"
                                    "<Border.BorderBrush><SolidColorBrush Color=\"{DynamicResource {x:Static "
                                    "SystemColors.HighlightColorKey}}\"/></Border.BorderBrush></Border>"));
    ASSERT_TRUE(system);
    const COSMMarkupBorder* border = static_cast<COSMMarkupBorder*>(system.Get());
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), ColorOf(border->GetBackground()));
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), ColorOf(border->GetBorderBrush()));
}

TEST_F(ParseTest, EmptyBracesKeepAKeyLiteral)
{
    Hold root =
        Hold::Adopt(Parse("<Page><Page.Resources><SolidColorBrush x:Key=\"{}{b}\" Color=\"Red\"/></Page.Resources>"
                          "<Border Background=\"{StaticResource {}{b}}\"/></Page>"));
    ASSERT_TRUE(root);
    EXPECT_NE(nullptr, Lookup(ResourcesOf(root.Get()), L"{b}"));
    EXPECT_EQ(RGB(255, 0, 0), ColorOf(BackgroundOf(ChildOf(root.Get()))));
}

TEST_F(ParseTest, TypeExtensionsGiveTheRegistryRecord)
{
    Hold root = Hold::Adopt(Parse("<Page Tag=\"{x:Type Border}\"/>"));
    ASSERT_TRUE(root);
    EXPECT_EQ(COSMMarkupBorder::GetClassType(), root->GetValue(COSMMarkupFrameworkElement::s_pTagProperty));
}

TEST_F(ParseTest, AStyleWithoutAKeyIsStoredUnderItsTargetType)
{
    Hold root = Hold::Adopt(Parse("<Page><Page.Resources>\n"
                                  "  <Style TargetType=\"Border\"/>\n"
                                  "  <Style TargetType=\"{x:Type Page}\" x:Key=\"page\"/>\n"
                                  "</Page.Resources></Page>"));
    ASSERT_TRUE(root);
    COSMMarkupResourceDictionary* resources = ResourcesOf(root.Get());
    COSMMarkupObject* style = resources->Lookup(COSMMarkupBorder::GetClassType());
    ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupStyle>(style));
    EXPECT_EQ(COSMMarkupBorder::GetClassType(), style->GetValue(COSMMarkupStyle::s_pTargetTypeProperty));
    EXPECT_EQ(nullptr, resources->Lookup(COSMMarkupPage::GetClassType()));
    EXPECT_NE(nullptr, Lookup(resources, L"page"));

    const std::string twice = "<Page><Page.Resources><Style TargetType=\"Border\"/><Style TargetType=\"Border\"/>"
                              "</Page.Resources></Page>";
    EXPECT_EQ(
        At("Dictionary key is already used. Key attributes must be unique.", twice, "<Style TargetType=\"Border\"/>"),
        ParseError(twice));
}

TEST_F(ParseTest, ExtensionsNestAtMostSixteenDeep)
{
    // The innermost key is a system brush key; every level around it looks the previous value up as a key.
    auto nested = [](int depth) {
        std::string extension = "{x:Static SystemColors.WindowBrushKey}";
        for (int i = 1; i < depth; ++i)
            extension = "{StaticResource " + extension + "}";
        return "<Border Background=\"" + extension + "\"/>";
    };
    EXPECT_EQ("(parsed)", ParseError(nested(2)));
    // Sixteen levels are evaluated, innermost first: the third from the inside finds nothing under a brush.
    const std::string sixteen = nested(16);
    EXPECT_EQ(At("Cannot find resource named '{StaticResource {x:Static SystemColors.WindowBrushKey}}'. Resource "
                 "names are case sensitive",
                 sixteen, "}\""),
              ParseError(sixteen));
    const std::string markup = nested(17);
    EXPECT_EQ("Markup extensions are nested deeper than 16 levels. Line 1, position " +
                  std::to_string(markup.size() - 1),
              ParseError(markup));
}

TEST_F(ParseTest, AHugeKeyLeavesAMessagePartOf255Bytes)
{
    const std::string key(100000, 'k');
    const std::string markup = "<Border Background=\"{StaticResource " + key + "}\"/>";
    const std::string error = ParseError(markup);
    const std::string head = "Cannot find resource named '";
    ASSERT_GT(error.size(), 255u);
    EXPECT_EQ(head + std::string(255 - head.size(), 'k'), error.substr(0, 255));
    EXPECT_EQ(". Line 1, position " + std::to_string(markup.size() - 1), error.substr(255));
}

TEST_F(ParseTest, TheDictionaryTakesOverKeysAndValuesAndReplacesUnderAnEqualKey)
{
    RefPtr<COSMMarkupResourceDictionary> dictionary = AdoptRef(new COSMMarkupResourceDictionary);
    COSMMarkupObject* storedKey = Ref(COSMMarkupString::CreateValue(L"key", -1));
    COSMMarkupObject* first = Ref(new COSMMarkupInt(1));
    dictionary->SetAt(storedKey, first);
    EXPECT_EQ(first, Lookup(dictionary.Get(), L"key"));

    // An equal key replaces the value: the old value and the key handed in are released, the stored key stays.
    COSMMarkupObject* equalKey = Ref(COSMMarkupString::CreateValue(L"key", -1));
    COSMMarkupObject* second = Ref(new COSMMarkupInt(2));
    dictionary->SetAt(equalKey, second);
    EXPECT_EQ(second, Lookup(dictionary.Get(), L"key"));
    EXPECT_EQ(1, RefCount(first));
    EXPECT_EQ(1, RefCount(equalKey));
    EXPECT_EQ(2, RefCount(storedKey));
    EXPECT_EQ(1, dictionary->GetCount());

    // Many keys spread over the buckets and the blocks of entries; other objects compare by identity.
    COSMMarkupObject* identity = new COSMMarkupInt(3);
    dictionary->SetAt(Ref(identity), new COSMMarkupInt(4));
    for (int i = 0; i < 40; ++i)
    {
        const std::wstring name = L"k" + std::to_wstring(i);
        dictionary->SetAt(COSMMarkupString::CreateValue(name.c_str(), -1), new COSMMarkupInt(i));
    }
    EXPECT_EQ(42, dictionary->GetCount());
    EXPECT_NE(nullptr, dictionary->Lookup(identity));
    const Hold other = Hold::Adopt(new COSMMarkupInt(3));
    EXPECT_EQ(nullptr, dictionary->Lookup(other.Get()));
    EXPECT_EQ(nullptr, dictionary->Lookup(nullptr));
    dictionary->SetAt(nullptr, new COSMMarkupInt(5));
    dictionary->SetAt(COSMMarkupString::CreateValue(L"null", -1), nullptr);
    EXPECT_EQ(42, dictionary->GetCount());

    // Released with the dictionary.
    dictionary.Reset();
    EXPECT_EQ(1, RefCount(storedKey));
    EXPECT_EQ(1, RefCount(second));
    EXPECT_EQ(1, RefCount(identity));
    for (COSMMarkupObject* object : {storedKey, first, equalKey, second, identity})
        object->Release();
}

class FindResourceTest : public ParseTest
{
protected:
    // A dictionary holding value under key; one reference for the caller.
    static COSMMarkupResourceDictionary* Dictionary(LPCWSTR key, COSMMarkupObject* value)
    {
        COSMMarkupResourceDictionary* dictionary = new COSMMarkupResourceDictionary;
        dictionary->SetAt(COSMMarkupString::CreateValue(key, -1), value);
        return dictionary;
    }
};

TEST_F(FindResourceTest, ALookupClimbsTheTreeThroughResourcesAndStylesButNeverLeavesAStyle)
{
    Hold root = Hold::Adopt(Parse("<Page><Border><Border/></Border></Page>"));
    ASSERT_TRUE(root);
    COSMMarkupBorder* middle = ChildOf(root.Get());
    COSMMarkupObject* inner = middle->GetChild();
    const Hold key = Hold::Adopt(COSMMarkupString::CreateValue(L"r", -1));

    // A dictionary looks in itself.
    const Hold alone = Hold::Adopt(Dictionary(L"r", new COSMMarkupInt(1)));
    EXPECT_NE(nullptr, FindMarkupResource(alone.Get(), key.Get()));
    EXPECT_EQ(nullptr, FindMarkupResource(inner, key.Get()));

    // An ancestor's resources.
    COSMMarkupObject* fromPage = new COSMMarkupInt(2);
    root->SetValue(COSMMarkupStyle::s_pResourcesProperty, Dictionary(L"r", fromPage));
    EXPECT_EQ(fromPage, FindMarkupResource(inner, key.Get()));

    // The resources of an element's style come after its own and before its parent's.
    RefPtr<COSMMarkupStyle> style = AdoptRef(new COSMMarkupStyle);
    COSMMarkupObject* fromStyle = new COSMMarkupInt(3);
    style->SetValue(COSMMarkupStyle::s_pResourcesProperty, Dictionary(L"r", fromStyle));
    middle->SetValue(COSMMarkupInputElement::s_pStyleProperty, Ref(style.Get()));
    EXPECT_EQ(fromStyle, FindMarkupResource(inner, key.Get()));
    EXPECT_EQ(fromStyle, style->FindResource(key.Get()));
    COSMMarkupObject* own = new COSMMarkupInt(4);
    middle->SetValue(COSMMarkupStyle::s_pResourcesProperty, Dictionary(L"r", own));
    EXPECT_EQ(own, FindMarkupResource(inner, key.Get()));

    // A lookup that starts in a style stays in it, and a style's BasedOn is not searched.
    RefPtr<COSMMarkupStyle> bare = AdoptRef(new COSMMarkupStyle);
    bare->SetLogicalParent(middle);
    EXPECT_EQ(nullptr, FindMarkupResource(bare.Get(), key.Get()));
    bare->SetValue(COSMMarkupStyle::s_pBasedOnProperty, Ref(style.Get()));
    EXPECT_EQ(nullptr, bare->FindResource(key.Get()));
    bare->SetLogicalParent(nullptr);
    bare.Reset();
    style.Reset();
}

}  // namespace
