// Markup text that does not parse gives null and exactly one message with the line and position the reader had
// reached: the conformance table every later markup type adds its rows to.
#include "MarkupBuilderTestTypes.h"
#include "ParseTestSupport.h"

#include "framework/markup/Markup.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupInputElement.h"

#include <gtest/gtest.h>

#include <string>

using markup_test::Hold;
using markup_test::ParseTest;

namespace {

struct ErrorCase
{
    std::string markup;
    const char* message;
    // 0: the message carries no position.
    int line;
    int position;
};

std::string Stored(const ErrorCase& c)
{
    if (!c.line)
        return c.message;
    return std::string(c.message) + ". Line " + std::to_string(c.line) + ", position " + std::to_string(c.position);
}

std::string Repeat(const std::string& text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

const char kNotClosed[] = "Unexpected end of file has occurred. The following elements are not closed: 'Border'";

const ErrorCase kErrorCases[] = {
    // The reader's messages.
    {"<Page", "Unexpected end of file has occurred.", 1, 6},
    {"<Page></Page x>", "Unexpected token. The expected token is '>'", 1, 15},
    {"<Page Width>", "'>' is an unexpected token. The expected token is '='", 1, 13},
    {"<Page a<b=\"1\"/>", "'<' is an unexpected token. The expected token is '='", 1, 9},
    {"<Page Width \"10\"/>", "Unexpected token. The expected token is '='", 1, 14},
    {"<Page Width=\"10/>", "Unexpected token. The expected token is '\"' or '''", 1, 18},
    {"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Page Tag=\"\xC3\"/>", "Invalid character in the given encoding", 2,
     12},
    // The document's shape.
    {"hello", "Data at the root level is invalid", 0, 0},
    {"\xEF\xBB\xBF<Page/>", "Data at the root level is invalid", 0, 0},
    {"<Page/>x", "Data at the root level is invalid", 1, 9},
    {"<Page/>\n<Page/>", "There are multiple root elements", 2, 7},
    {"</Page>", "Unexpected end tag", 1, 8},
    {"<Page></Border>", "The 'Page' start tag does not match the end tag of 'Border'", 1, 16},
    {"<Page>\r\n  <Border>\r\n  </Page>", "The 'Border' start tag does not match the end tag of 'Page'", 3, 10},
    {"<Page>\n  <Border>\n  </Page>", "The 'Border' start tag does not match the end tag of 'Page'", 3, 10},
    {"<Page>\r  <Border>\r  </Page>", "The 'Border' start tag does not match the end tag of 'Page'", 3, 10},
    {"<!-- only -->", "Root element is missing", 1, 14},
    {"<Page>\n<Border>\n", kNotClosed, 3, 1},
    {"<SolidColorBrush/>", "Root element have to be 'COSMMarkupUIElement' type", 0, 0},
    {Repeat("<Border>", 257), "Elements are nested deeper than 256 levels", 1, 2057},
    // Tags, properties and values.
    {"<Pag/>", "The tag 'Pag' does not exist in XML namespace", 1, 6},
    {"<page/>", "The tag 'page' does not exist in XML namespace", 1, 7},
    {"<Page><Foo.Bar/></Page>", "The tag 'Foo.Bar' does not exist in XML namespace", 1, 16},
    {"<Page><Page.Foo/></Page>", "The tag 'Page.Foo' does not exist in XML namespace", 1, 17},
    {"<Page.Width/>", "The tag 'Page.Width' does not exist in XML namespace", 1, 13},
    {"<Page Foo=\"1\"/>", "The property 'Foo' does not exist in XML namespace", 1, 14},
    {"<Page width=\"1\"/>", "The property 'width' does not exist in XML namespace", 1, 16},
    {"<Border><Border.Background></Border.Background></Border>", "'Background' property does not have a value", 1, 48},
    {"<Border Background=\"#12\"/>",
     "Cannot convert string in attribute 'Background' to object of type 'COSMMarkupBrush'", 1, 25},
    // Extensions and resources.
    {"<Border Background=\"{Binding b}\"/>", "The tag 'Binding b' does not exist in XML namespace", 1, 33},
    {"<Border Background=\"{StaticResource}\"/>", "The tag 'StaticResource' does not exist in XML namespace", 1, 38},
    {"<Border Background=\"{StaticResource b\"/>", "Markup extension expressions must end with '}'", 1, 39},
    {"<Page Tag=\"{x:Type Foo}\"/>", "Cannot find type 'Foo'", 1, 25},
    {"<Border Background=\"{StaticResource b}\"/>", "Cannot find resource named 'b'. Resource names are case sensitive",
     1, 40},
    {"<Border Background=\"{x:Static SystemColors.FooBrush}\"/>",
     "Cannot find the static member  'SystemColors.FooBrush'", 1, 54},
    // Content.
    {"<FrameworkElement>hello</FrameworkElement>",
     "Cannot convert the string 'hello' into a 'COSMMarkupFrameworkElement' object", 1, 43},
    {"<FrameworkElement><Border/></FrameworkElement>",
     "Cannot add content to an object of type 'COSMMarkupFrameworkElement'", 1, 28},
    {"<LinearGradientBrush><Border/></LinearGradientBrush>",
     "'COSMMarkupBorder' object cannot be added to 'COSMMarkupGradientStops'. Object cannot be converted to type "
     "'COSMMarkupGradientStop'",
     1, 31},
    {"<Border><SolidColorBrush/></Border>",
     "'COSMMarkupSolidColorBrush' object cannot be added to 'COSMMarkupBorder'. Object cannot be converted to type "
     "'COSMMarkupUIElement'",
     1, 27},
    {"<Border><Border/><Border/></Border>",
     "'COSMMarkupBorder' already has a child and cannot add 'COSMMarkupBorder'. 'COSMMarkupBorder' can accept only "
     "one child.",
     1, 27},
    {"<Border MouseEnter=\"OnEnter\"/>", "'OnEnter' delegate not found", 1, 29},
    // Resource dictionaries.
    {"<Page><Page.Resources><SolidColorBrush Color=\"Red\"/></Page.Resources></Page>",
     "Objects added to Dictionary must have Key attribute or some other type of associated Key", 1, 53},
    {"<Page><Page.Resources><SolidColorBrush x:Key=\"a\"/><SolidColorBrush x:Key=\"a\"/></Page.Resources></Page>",
     "Dictionary key is already used. Key attributes must be unique.", 1, 79},
    // The test types.
    {"<OsmThrowing><OsmBox/></OsmThrowing>", "Unexpected error", 1, 23},
    // Panels and the grid.
    {"<StackPanel>hi</StackPanel>",
     "'COSMMarkupString' object cannot be added to 'COSMMarkupCollection'. Object cannot be converted to type "
     "'COSMMarkupUIElement'",
     1, 28},
    {"<StackPanel><SolidColorBrush/></StackPanel>",
     "'COSMMarkupSolidColorBrush' object cannot be added to 'COSMMarkupCollection'. Object cannot be converted to "
     "type 'COSMMarkupUIElement'",
     1, 31},
    {"<Grid ColumnDefinitions=\"*\"/>", "COSMMarkupColumnDefinitionCollection class expected", 1, 28},
    {"<Grid><Grid.RowDefinitions>Auto</Grid.RowDefinitions></Grid>", "COSMMarkupRowDefinitionCollection class expected",
     1, 54},
    {"<Grid><Grid.ColumnDefinitions><RowDefinition/></Grid.ColumnDefinitions></Grid>",
     "'COSMMarkupRowDefinition' object cannot be added to 'COSMMarkupColumnDefinitionCollection'. Object cannot be "
     "converted to type 'COSMMarkupColumnDefinition'",
     1, 47},
    {"<Grid><Grid.ColumnDefinitions><ColumnDefinition Width=\"-1*\"/>",
     "Cannot convert string in attribute 'Width' to object of type 'COSMMarkupGridLength'", 1, 60},
    {"<Grid><Grid.RowDefinitions><RowDefinition Height=\"10 20\"/>",
     "Cannot convert string in attribute 'Height' to object of type 'COSMMarkupGridLength'", 1, 57},
    {"<DockPanel><Border DockPanel.Dock=\"Middle\"/></DockPanel>",
     "Cannot convert string in attribute 'Dock' to object of type 'COSMMarkupEnum'", 1, 43},
    {"<Border KeyboardNavigation.TabNavigation=\"Sideways\"/>",
     "Cannot convert string in attribute 'TabNavigation' to object of type 'COSMMarkupEnum'", 1, 52},
};

TEST_F(ParseTest, EveryFailureGivesNullAndOneMessageWithItsPosition)
{
    for (const ErrorCase& c : kErrorCases)
        EXPECT_EQ(Stored(c), ParseError(c.markup)) << c.markup.substr(0, 80);
}

TEST_F(ParseTest, AMessageEndingInAPeriodKeepsItBeforeThePosition)
{
    EXPECT_EQ("Unexpected end of file has occurred.. Line 1, position 6", ParseError("<Page"));
}

TEST_F(ParseTest, TheContextAndTheEntryFunctionGiveNullForTextThatDoesNotParse)
{
    COSMMarkupUIElement* root = context->Parse("<Page><Border/></Page>");
    ASSERT_NE(nullptr, root);
    ReleaseMarkupElement(&root);
    EXPECT_EQ(nullptr, context->Parse("<Page>"));
    EXPECT_EQ(nullptr, context->Parse(nullptr));
    EXPECT_EQ(nullptr, ParseMarkup(nullptr, "<Page/>"));
    root = ParseMarkup(context, "<Page/>");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(context, GetMarkupElementContext(root));
    ReleaseMarkupElement(&root);
    // Every element the failed parses made is gone, and with it its reference on the context.
    EXPECT_EQ(1, context->AddRef() - 1);
    context->Release();
}

TEST_F(ParseTest, ADelegateTheContextHoldsBindsTheEvent)
{
    int calls = 0;
    context->AddDelegate(L"OnEnter", new COSMMarkupFunctionDelegate(
                                         [&calls](COSMMarkupInputElement*, COSMMarkupRoutedEventArgs*) { ++calls; }));
    Hold root = Hold::Adopt(Parse("<Border MouseEnter=\"OnEnter\"/>"));
    ASSERT_TRUE(root);
    COSMMarkupMouseEventArgs args(COSMMarkupInputElement::s_pMouseEnterEvent);
    static_cast<COSMMarkupInputElement*>(root.Get())->RaiseEvent(&args);
    EXPECT_EQ(1, calls);
}

}  // namespace
