// Every registered markup type in one document: parsed through the entry functions, laid out at 640 × 480, drawn
// into a 32-bit DIB section and written as markup-all-types.png in the test's folder for review (ctest has
// ImageMagick's identify read it back too). The types a run made show in the release tally and in the finished
// tree's values; the pixels show the red border, the icon and the styled bevel.

#include "ControlTestSupport.h"

#include "tests/support/DcTestSurface.h"

#include "framework/foundation/ColorFunctions.h"
#include "framework/foundation/PngBitmap.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupButton.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupImage.h"
#include "framework/markup/MarkupProperties.h"
#include "framework/markup/MarkupScrollViewer.h"
#include "framework/markup/MarkupSetter.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupTypeRegistry.h"
#include "framework/markup/MarkupVisual.h"
#include "framework/markup/MarkupXmlReader.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace markup_test {
namespace {

using foundation_test::DcTestSurface;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const char kPngName[] = "markup-all-types.png";

// The bevel's face; the style sets it and the probes shade it as the button does.
constexpr COLORREF kBevelFace = RGB(0x28, 0x78, 0xC8);

// The 45 tags, each written as an element; the untagged types come in as what those elements hold. Three columns
// (220, the rest, 200) over two rows (240, the rest).
const char kDocument[] =
    "<Page>\n"
    "  <Page.Resources>\n"
    "    <Color x:Key=\"accent\">#FF3060A0</Color>\n"
    "    <KeyboardNavigation x:Key=\"navigation\"/>\n"
    "    <FrameworkContentElement x:Key=\"content\"/>\n"
    "    <TextElement x:Key=\"text\"/>\n"
    "    <DefinitionBase x:Key=\"definition\"/>\n"
    "    <SolidColorBrush x:Key=\"accentBrush\" Color=\"{StaticResource accent}\"/>\n"
    "    <Color x:Key=\"{x:Static SystemColors.ControlColorKey}\">#FFE0D0C0</Color>\n"
    "    <SolidColorBrush x:Key=\"{x:Static SystemColors.ControlBrushKey}\" Color=\"#FFC0D0E0\"/>\n"
    "    <Style x:Key=\"bevel\" TargetType=\"Button\">\n"
    "      <Setter Property=\"Background\" Value=\"#2878C8\"/>\n"
    "      <Style.Triggers><Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>\n"
    "        <Setter Property=\"Background\" Value=\"Red\"/>\n"
    "      </Trigger.Setters></Trigger></Style.Triggers>\n"
    "    </Style>\n"
    "  </Page.Resources>\n"
    "  <Grid Name=\"grid\">\n"
    "    <Grid.ColumnDefinitions><ColumnDefinition Width=\"220\"/><ColumnDefinition Width=\"*\"/>"
    "<ColumnDefinition Width=\"200\"/></Grid.ColumnDefinitions>\n"
    "    <Grid.RowDefinitions><RowDefinition Height=\"240\"/><RowDefinition Height=\"*\"/></Grid.RowDefinitions>\n"
    "    <Border Name=\"redBorder\" BorderBrush=\"Red\" BorderThickness=\"4\" Padding=\"4\">\n"
    "      <Border.Background>\n"
    "        <LinearGradientBrush StartPoint=\"0,0\" EndPoint=\"1,1\"><LinearGradientBrush.GradientStops>\n"
    "          <GradientStop Color=\"White\" Offset=\"0\"/><GradientStop Color=\"{StaticResource accent}\" "
    "Offset=\"1\"/>\n"
    "        </LinearGradientBrush.GradientStops></LinearGradientBrush>\n"
    "      </Border.Background>\n"
    "      <StackPanel Name=\"stack\">\n"
    "        <Button Name=\"styled\" Style=\"{StaticResource bevel}\" Width=\"80\" Height=\"24\" "
    "HorizontalAlignment=\"Left\">OK</Button>\n"
    "        <CheckBox Name=\"check\" IsChecked=\"True\">Check</CheckBox>\n"
    "        <RadioButton Name=\"radio\">Radio</RadioButton>\n"
    "        <TextBlock Name=\"words\" TextWrapping=\"Wrap\">plain <Run Text=\"run\"/><LineBreak/>"
    "<Span>span <Bold>bold</Bold> <Italic>italic</Italic> <Underline>under</Underline></Span> "
    "<Hyperlink>link</Hyperlink><InlineUIContainer><Ellipse Width=\"10\" Height=\"10\" Fill=\"Green\"/>"
    "</InlineUIContainer></TextBlock>\n"
    "      </StackPanel>\n"
    "    </Border>\n"
    "    <ScrollViewer Name=\"viewer\" Grid.Column=\"1\" VerticalScrollBarVisibility=\"Auto\" "
    "HorizontalScrollBarVisibility=\"Auto\">\n"
    "      <Canvas Width=\"600\" Height=\"600\" "
    "Background=\"{StaticResource {x:Static SystemColors.ControlBrushKey}}\">\n"
    "        <Rectangle Canvas.Left=\"10\" Canvas.Top=\"10\" Width=\"50\" Height=\"30\" Fill=\"Blue\" RadiusX=\"4\" "
    "RadiusY=\"4\"/>\n"
    "        <Polygon Points=\"70,10 110,10 90,40\" Fill=\"Yellow\" Stroke=\"Black\"/>\n"
    "        <Polyline Points=\"120,10 140,40 160,10\" Stroke=\"Black\" StrokeThickness=\"2\"/>\n"
    "        <Line X1=\"10\" Y1=\"50\" X2=\"160\" Y2=\"50\" Stroke=\"Maroon\"/>\n"
    "        <Path Data=\"M 10,60 L 60,60 L 35,90 Z\" Fill=\"Purple\"/>\n"
    "        <Shape Canvas.Left=\"70\" Canvas.Top=\"60\" Width=\"20\" Height=\"20\"/>\n"
    "      </Canvas>\n"
    "    </ScrollViewer>\n"
    "    <DockPanel Name=\"dock\" Grid.Column=\"2\" LastChildFill=\"True\">\n"
    "      <Image Name=\"icon\" DockPanel.Dock=\"Top\" Source=\"res://#502\" Width=\"32\" Height=\"32\" "
    "HorizontalAlignment=\"Left\"/>\n"
    "      <UniformGrid DockPanel.Dock=\"Bottom\" Columns=\"2\" Height=\"40\">\n"
    "        <Rectangle Fill=\"{StaticResource accentBrush}\"/>\n"
    "        <Border><Border.Background><SolidColorBrush "
    "Color=\"{StaticResource {x:Static SystemColors.ControlColorKey}}\"/></Border.Background></Border>\n"
    "      </UniformGrid>\n"
    "      <WrapPanel>\n"
    "        <Control Width=\"30\" Height=\"30\" Background=\"Gray\"/>\n"
    "        <Panel Width=\"30\" Height=\"30\" Background=\"Olive\"/>\n"
    "        <FrameworkElement Width=\"30\" Height=\"30\"/>\n"
    "      </WrapPanel>\n"
    "    </DockPanel>\n"
    "    <StackPanel Name=\"footer\" Grid.Row=\"1\" Grid.ColumnSpan=\"3\" Orientation=\"Horizontal\">\n"
    "      <TextBlock>Every markup type</TextBlock>\n"
    "    </StackPanel>\n"
    "  </Grid>\n"
    "</Page>\n";

// The abstract bases: no element of the document is exactly one of them.
const wchar_t* const kAbstractBases[] = {
    L"COSMMarkupObject",
    L"COSMMarkupCollection",
    L"COSMMarkupBrush",
    L"COSMMarkupVisual",
    L"COSMMarkupUIElement",
    L"COSMMarkupInputElement",
    L"COSMMarkupInline",
    L"COSMMarkupButtonBase",
    L"COSMMarkupToggleButton",
    L"COSMMarkupContentControl",
    L"COSMMarkupDefinitionCollection",
};

// Reads any object's own value store, which only the object's classes see.
struct StoreReader : COSMMarkupObject
{
    static COSMMarkupProperties* Of(const COSMMarkupObject* object)
    {
        return (object->*(&StoreReader::GetPropertyStore))();
    }
};

// The exact type of every object the finished tree reaches: logical and visual children and every stored value,
// with a style's setters and a setter's property.
void CollectTypes(const COSMMarkupObject* object, std::set<const COSMMarkupObject*>* seen,
                  std::set<std::wstring>* types)
{
    if (!object || !seen->insert(object).second)
        return;
    types->insert(object->GetType()->GetMarkupClassName());
    if (MarkupDynamicCast<COSMMarkupType>(const_cast<COSMMarkupObject*>(object)) ||
        MarkupDynamicCast<COSMMarkupDependencyProperty>(const_cast<COSMMarkupObject*>(object)))
        return;
    if (const COSMMarkupProperties* store = StoreReader::Of(object))
    {
        for (int i = 0; i < store->GetSize(); ++i)
            CollectTypes(store->GetAt(i), seen, types);
    }
    for (int i = 0; i < object->GetLogicalChildrenCount(); ++i)
        CollectTypes(object->GetLogicalChild(i), seen, types);
    if (const COSMMarkupVisual* visual = MarkupDynamicCast<COSMMarkupVisual>(const_cast<COSMMarkupObject*>(object)))
    {
        for (int i = 0; i < visual->GetVisualChildrenCount(); ++i)
            CollectTypes(visual->GetVisualChild(i), seen, types);
    }
    if (const COSMMarkupStyle* style = MarkupDynamicCast<COSMMarkupStyle>(const_cast<COSMMarkupObject*>(object)))
        CollectTypes(style->GetSetters(), seen, types);
    if (const COSMMarkupSetter* setter = MarkupDynamicCast<COSMMarkupSetter>(const_cast<COSMMarkupObject*>(object)))
        CollectTypes(setter->GetSetterProperty(), seen, types);
}

// Writes the surface's pixels as an 8-bit RGB PNG through libpng; false when the file cannot be written.
bool WritePng(const DcTestSurface& surface, const char* path)
{
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<size_t>(surface.Width()) * 3);
    bool written = false;
    if (png && info && !setjmp(png_jmpbuf(png)))
    {
        png_init_io(png, file);
        png_set_IHDR(png, info, surface.Width(), surface.Height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < surface.Height(); ++y)
        {
            for (int x = 0; x < surface.Width(); ++x)
            {
                const COLORREF color = surface.Pixel(x, y);
                row[x * 3] = GetRValue(color);
                row[x * 3 + 1] = GetGValue(color);
                row[x * 3 + 2] = GetBValue(color);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, info);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

class AllTypesTest : public ControlTest
{
protected:
    // The first run fills the process-wide caches (system colours and their keys, fonts, the image store) before
    // the fixture counts the live objects.
    void SetUp() override
    {
        COSMMarkupContext* own = CreateMarkupContext(nullptr);
        DcTestSurface surface(kWidth, kHeight, RGB(255, 255, 255));
        COSMMarkupUIElement* root = BuildAndRender(own, &surface);
        ReleaseMarkupElement(&root);
        ReleaseMarkupContext(&own);
        ControlTest::SetUp();
    }

    static COSMMarkupUIElement* FindElement(COSMMarkupObject* root, LPCWSTR name)
    {
        return MarkupDynamicCast<COSMMarkupUIElement>(markup_test::FindNamed(root, name));
    }

    // One run: parse through the entry functions (a failure shows the builder's message), lay out and draw.
    COSMMarkupUIElement* BuildAndRender(COSMMarkupContext* own, DcTestSurface* surface)
    {
        COSMMarkupUIElement* root = ParseMarkup(own, kDocument);
        if (!root)
        {
            COSMMarkupXmlReader reader;
            reader.SetInput(kDocument, kDocument + sizeof kDocument - 1);
            COSMMarkupBuilder builder(own);
            auto failed = RefPtr<COSMMarkupObject>::Adopt(builder.Parse(&reader));
            ADD_FAILURE() << "the document does not parse: " << builder.GetLastErrorMessage();
            return nullptr;
        }
        // The grid's last row takes what is left, so the page wants the whole width but only its content's height.
        const CSize wanted = MeasureMarkupElement(root, kWidth, kHeight);
        EXPECT_EQ(wanted.cx, kWidth);
        EXPECT_GT(wanted.cy, 240);
        EXPECT_LE(wanted.cy, kHeight);
        const CRect whole(0, 0, kWidth, kHeight);
        RenderMarkupElement(root, surface->GetDC(), &whole);
        return root;
    }

    ClassicButtons m_classic;
};

TEST_F(AllTypesTest, EveryTypeParsesLaysOutAndRendersIntoTheReviewedPicture)
{
    const LONG liveBefore = COSMMarkupObject::GetLiveObjectCount();
    FinalReleaseTally tally;
    COSMMarkupContext* own = CreateMarkupContext(nullptr);
    DcTestSurface surface(kWidth, kHeight, RGB(255, 255, 255));
    COSMMarkupUIElement* root = BuildAndRender(own, &surface);
    ASSERT_NE(root, nullptr);

    // Final rectangles: the grid's cells, and what the cells hold where the document fixes it.
    struct Placed
    {
        LPCWSTR name;
        CRect rect;  // the slot its parent gave, in the parent's coordinates
        CSize size;  // what it took of it
    };
    const Placed placed[] = {
        {L"grid", CRect(0, 0, kWidth, kHeight), CSize(kWidth, kHeight)},
        {L"redBorder", CRect(0, 0, 220, 240), CSize(220, 240)},
        {L"viewer", CRect(220, 0, kWidth - 200, 240), CSize(kWidth - 420, 240)},
        {L"dock", CRect(kWidth - 200, 0, kWidth, 240), CSize(200, 240)},
        {L"footer", CRect(0, 240, kWidth, kHeight), CSize(kWidth, kHeight - 240)},
        // Inside the dock panel and inside the border's 4 + 4 pixels of edge and padding.
        {L"icon", CRect(0, 0, 200, 32), CSize(32, 32)},
        {L"styled", CRect(0, 0, 220 - 16, 24), CSize(80, 24)},
    };
    for (const Placed& p : placed)
    {
        const COSMMarkupUIElement* element = FindElement(root, p.name);
        ASSERT_NE(element, nullptr) << Utf8(p.name);
        EXPECT_EQ(element->GetFinalRect(), p.rect) << Utf8(p.name);
        EXPECT_EQ(element->GetRenderSize(), p.size) << Utf8(p.name);
    }
    // The viewer's content is larger both ways: both bars and the gripper.
    auto* viewer = MarkupDynamicCast<COSMMarkupScrollViewer>(FindElement(root, L"viewer"));
    ASSERT_NE(viewer, nullptr);
    EXPECT_NE(viewer->GetScrollBar(TRUE), nullptr);
    EXPECT_NE(viewer->GetScrollBar(FALSE), nullptr);
    EXPECT_NE(viewer->GetGripper(), nullptr);

    // Probes: the border's red edge on all four sides, the icon's orange, the style's bevel around the button at
    // the border's inside corner (border 4 + padding 4).
    const COLORREF red = RGB(255, 0, 0);
    for (const CPoint& p : {CPoint(1, 120), CPoint(218, 120), CPoint(110, 1), CPoint(110, 238)})
        EXPECT_EQ(surface.Pixel(p.x, p.y), red) << p.x << ", " << p.y;
    EXPECT_EQ(surface.Pixel(kWidth - 200 + 16, 16), RGB(255, 128, 0));
    const DWORD hsl = RGBtoHSL(kBevelFace);
    const int luminance = static_cast<int>(hsl >> 16 & 0xFF);
    const COLORREF light = HSLtoRGB((hsl & 0xFFFF) | static_cast<DWORD>((luminance + 240) / 2) << 16);
    const COLORREF shadow = HSLtoRGB((hsl & 0xFFFF) | static_cast<DWORD>(::MulDiv(luminance, 2, 3)) << 16);
    const COLORREF dark = RGB(GetRValue(shadow) / 2, GetGValue(shadow) / 2, GetBValue(shadow) / 2);
    const CPoint button(8, 8);
    struct Probe
    {
        int x, y;
        COLORREF color;
    };
    for (const Probe& p : {Probe{10, 0, light}, Probe{0, 10, light}, Probe{10, 22, shadow}, Probe{10, 23, dark},
                           Probe{79, 10, dark}, Probe{60, 12, kBevelFace}})
    {
        EXPECT_EQ(surface.Pixel(button.x + p.x, button.y + p.y), p.color) << "bevel " << p.x << ", " << p.y;
    }

    // The picture for review, read back by the project's loader at its size and with the same pixels.
    std::remove(kPngName);
    ASSERT_TRUE(WritePng(surface, kPngName));
    COSMPngBitmap loaded;
    ASSERT_TRUE(loaded.LoadFromFile(kPngName));
    BITMAP bitmap{};
    ASSERT_EQ(::GetObject(loaded.GetSafeHandle(), sizeof(bitmap), &bitmap), static_cast<int>(sizeof(bitmap)));
    EXPECT_EQ(bitmap.bmWidth, kWidth);
    EXPECT_EQ(std::abs(bitmap.bmHeight), kHeight);
    ASSERT_NE(bitmap.bmBits, nullptr);
    const DWORD* bits = static_cast<const DWORD*>(bitmap.bmBits);
    for (const CPoint& p : {CPoint(1, 120), CPoint(kWidth - 200 + 16, 16), CPoint(8 + 10, 8), CPoint(300, 300)})
    {
        const DWORD bgra = bits[p.y * kWidth + p.x];
        EXPECT_EQ(RGB(bgra >> 16 & 0xFF, bgra >> 8 & 0xFF, bgra & 0xFF), surface.Pixel(p.x, p.y))
            << "read back " << p.x << ", " << p.y;
    }

    // The types the finished tree reaches (type records and properties live to exit), then those its release
    // frees, bring the context and element back to the count they found.
    std::set<const COSMMarkupObject*> visited;
    std::set<std::wstring> types;
    CollectTypes(root, &visited, &types);
    ReleaseMarkupElement(&root);
    ReleaseMarkupContext(&own);
    EXPECT_EQ(COSMMarkupObject::GetLiveObjectCount(), liveBefore);
    for (const auto& released : tally.Counts())
        types.insert(released.first);

    const std::set<std::wstring> abstract(std::begin(kAbstractBases), std::end(kAbstractBases));
    std::map<std::wstring, const COSMMarkupType*> byName;
    // The library's own types; the test programs' probe types sit in the registry too.
    for (const COSMMarkupType* type = GetMarkupTypeRegistry()->GetFirstType(); type; type = type->GetNextType())
    {
        if (wcsncmp(type->GetMarkupClassName(), L"COSMMarkup", 10) == 0)
            byName[type->GetMarkupClassName()] = type;
    }
    EXPECT_EQ(byName.size(), 80u);
    for (const auto& [name, type] : byName)
    {
        if (!abstract.count(name))
        {
            EXPECT_EQ(types.count(name), 1u) << "never made: " << Utf8(name.c_str());
            continue;
        }
        bool based = false;
        for (const std::wstring& made : types)
        {
            const auto madeType = byName.find(made);
            based = based ||
                    (madeType != byName.end() && madeType->second != type && madeType->second->IsDerivedFrom(type));
        }
        EXPECT_TRUE(based) << "no type made derives from " << Utf8(name.c_str());
    }
}

}  // namespace
}  // namespace markup_test
