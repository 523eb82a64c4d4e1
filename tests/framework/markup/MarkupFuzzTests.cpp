// The bad-input harness on markup text: documents of every element a host writes (layout panels, shapes and paths,
// styled controls, rich text, resources), and the documents made to crash or hang a host, are cut and mutated
// by the fixed-seed series, and each result goes through the calls a host makes (parsed, measured, drawn into a
// 200 x 200 memory DC). None may crash, hang or take more than the harness's two seconds, and after each batch the
// GDI objects, the markup objects alive and the private bytes are where they were. tools/fuzz.sh runs the same for
// longer or from another seed.
#include "GdiObjectCount.h"
#include "MarkupHostRun.h"
#include "MarkupTestDocuments.h"

#include "FuzzHarness.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupUIElement.h"
#include "framework/markup/MarkupObject.h"
#include "framework/markup/MarkupXmlReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Documents in the forms hosts write: each parses and draws something.
const char* const kHostDocuments[] = {
    "<Page><Page.Resources><Color x:Key=\"accent\">#FF3060A0</Color>"
    "<SolidColorBrush x:Key=\"brush\" Color=\"{StaticResource accent}\"/>"
    "<Style x:Key=\"bevel\" TargetType=\"Button\"><Setter Property=\"Background\" Value=\"#2878C8\"/>"
    "<Style.Triggers><Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>"
    "<Setter Property=\"Background\" Value=\"Red\"/></Trigger.Setters></Trigger></Style.Triggers></Style>"
    "</Page.Resources><Grid><Grid.ColumnDefinitions><ColumnDefinition Width=\"80\"/><ColumnDefinition Width=\"*\"/>"
    "</Grid.ColumnDefinitions><Grid.RowDefinitions><RowDefinition Height=\"Auto\"/><RowDefinition Height=\"2*\"/>"
    "</Grid.RowDefinitions><Button Style=\"{StaticResource bevel}\" Padding=\"3\" MinHeight=\"20\">OK</Button>"
    "<Border Grid.Column=\"1\" BorderBrush=\"{StaticResource brush}\" BorderThickness=\"2\" CornerRadius=\"3\">"
    "<StackPanel><CheckBox IsChecked=\"True\">Check</CheckBox><RadioButton>Radio</RadioButton></StackPanel>"
    "</Border></Grid></Page>",

    "<StackPanel Orientation=\"Horizontal\" Margin=\"4\"><TextBlock TextWrapping=\"Wrap\" Width=\"90\" "
    "TextTrimming=\"WordEllipsis\" FontSize=\"13\">plain <Run Text=\"run\"/><LineBreak/><Span>span <Bold>bold</Bold> "
    "<Italic>italic</Italic> <Underline>under</Underline></Span> <Hyperlink>link</Hyperlink><InlineUIContainer>"
    "<Ellipse Width=\"10\" Height=\"10\" Fill=\"Green\"/></InlineUIContainer></TextBlock>"
    "<TextBlock TextTrimming=\"CharacterEllipsis\" Width=\"40\" Foreground=\"#80FF0000\">trimmed text</TextBlock>"
    "</StackPanel>",

    "<Canvas Width=\"200\" Height=\"200\" Background=\"White\"><Rectangle Canvas.Left=\"10\" Canvas.Top=\"10\" "
    "Width=\"50\" Height=\"30\" Fill=\"Blue\" RadiusX=\"4\" RadiusY=\"4\"/><Polygon Points=\"70,10 110,10 90,40\" "
    "Fill=\"Yellow\" Stroke=\"Black\"/><Polyline Points=\"120,10 140,40 160,10\" Stroke=\"Black\" "
    "StrokeThickness=\"2\"/><Line X1=\"10\" Y1=\"50\" X2=\"160\" Y2=\"50\" Stroke=\"Maroon\"/>"
    "<Path Data=\"M 10,60 L 60,60 C 70,70 80,80 35,90 L 10,95 Z\" Fill=\"Purple\" Stroke=\"Navy\"/>"
    "<Ellipse Canvas.Left=\"100\" Canvas.Top=\"100\" Width=\"60\" Height=\"40\" Stroke=\"Blue\" "
    "StrokeThickness=\"3\"><Ellipse.Fill><LinearGradientBrush StartPoint=\"0,0\" EndPoint=\"1,1\">"
    "<LinearGradientBrush.GradientStops><GradientStop Color=\"White\" Offset=\"0\"/><GradientStop Color=\"Red\" "
    "Offset=\"1\"/></LinearGradientBrush.GradientStops></LinearGradientBrush></Ellipse.Fill></Ellipse></Canvas>",

    "<DockPanel LastChildFill=\"True\"><Border DockPanel.Dock=\"Top\" Height=\"20\" Background=\"Gray\"/>"
    "<UniformGrid DockPanel.Dock=\"Bottom\" Columns=\"2\" Height=\"40\"><Rectangle Fill=\"Red\"/>"
    "<Rectangle Fill=\"Lime\"/></UniformGrid><WrapPanel><Control Width=\"30\" Height=\"30\" Background=\"Gray\"/>"
    "<Panel Width=\"30\" Height=\"30\" Background=\"Olive\"/><FrameworkElement Width=\"30\" Height=\"30\"/>"
    "</WrapPanel></DockPanel>",

    "<ScrollViewer VerticalScrollBarVisibility=\"Auto\" HorizontalScrollBarVisibility=\"Auto\">"
    "<Border Width=\"400\" Height=\"400\" Padding=\"8\" Background=\"{x:Static SystemColors.WindowBrush}\">"
    "<Button Margin=\"-5,2,2147483647,0\" HorizontalAlignment=\"Center\" VerticalAlignment=\"Stretch\">"
    "<TextBlock>&lt;deep&gt; &amp; &#x20AC; text</TextBlock></Button></Border></ScrollViewer>",
};

// The documents that once brought a host down, now drawn within a bound: a mutation of them must be too.
const char* const kKeptDocuments[] = {
    "button_theme_minheight_auto.txt",
    "button_theme_padding.txt",
    "ellipse_100000.txt",
    "ellipse_minheight_auto.txt",
};

std::vector<fuzz::Bytes> MarkupCorpus()
{
    std::vector<fuzz::Bytes> corpus;
    for (const char* document : kHostDocuments)
        corpus.push_back(fuzz::ToBytes(document));
    for (const markup_test::MarkupTestDocument& document : markup_test::kMarkupTestDocuments)
    {
        if (markup_test::IsReadable(document))
            corpus.push_back(fuzz::ToBytes(document.text));
    }
    for (const char* name : kKeptDocuments)
    {
        std::ifstream file(std::string(OSM_MARKUP_BAD_INPUT_DIR) + "/" + name, std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return corpus;
}

// The builder's message on a text that does not parse, for a readable failure.
std::string ParseMessage(const std::string& text)
{
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    COSMMarkupXmlReader reader;
    reader.SetInput(text.c_str(), text.c_str() + text.size());
    std::string message;
    {
        COSMMarkupBuilder builder(context);
        if (COSMMarkupUIElement* root = builder.Parse(&reader))
            root->Release();
        message = builder.GetLastErrorMessage();
    }
    ReleaseMarkupContext(&context);
    return message;
}

TEST(MarkupFuzz, TheHostDocumentsParseAndDraw)
{
    for (const char* document : kHostDocuments)
    {
        int drawn = 0;
        EXPECT_TRUE(markup_test::RunMarkupAsHost(document, &drawn)) << ParseMessage(document) << "\n" << document;
        EXPECT_GT(drawn, 0) << document;
    }
}

TEST(MarkupFuzz, MutatedDocumentsNeitherCrashHangNorLeak)
{
    const std::vector<fuzz::Bytes> corpus = MarkupCorpus();
    for (const fuzz::Bytes& entry : corpus)
        ASSERT_FALSE(entry.empty()) << "a kept document is missing from " << OSM_MARKUP_BAD_INPUT_DIR;

    fuzz::Harness harness("markup", fuzz::RunSettings::FromEnvironment(20261212u, 1500));
    harness.SetDictionary(markup_test::kMarkupTokens);
    harness.AddCounter("markup objects", [] { return static_cast<long long>(COSMMarkupObject::GetLiveObjectCount()); });
    const std::vector<fuzz::Failure> failures = harness.Run(corpus, [](const fuzz::Bytes& bytes) {
        markup_test::RunMarkupAsHost(fuzz::ToText(bytes));
        return std::string();
    });
    EXPECT_TRUE(failures.empty()) << fuzz::Describe(failures);
    EXPECT_GT(harness.InputsRun(), 0);
}

}  // namespace
