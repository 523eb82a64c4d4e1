// The Office 2003 look: its refresh on machines the tests make up (each scheme's colour set, the system-derived
// colours without one, a low-colour screen), the knob image, and its drawing headless into DIB sections with every
// table entry in a colour of its own: state rectangles, the popup gripper's halves, separators, the expand buttons,
// the tear-off gripper and the status bar's gripper and pane borders.
#include "TestColorMachine.h"
#include "ThemeStubLibrary.h"
#include "ThemeTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/foundation/ColorFunctions.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/themes/Office2003Theme.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using foundation_test::TestColorMachine;
using themes_test::DcTestSurface;
using themes_test::RecordingTheme;
using themes_test::Stated;
using themes_test::UniqueColorsTest;
using Office2003 = COSMOffice2003Theme;

namespace {

constexpr COLORREF kOffice2003Canvas = RGB(255, 255, 255);

// A refresh on a machine of the test's own, under the process-wide colour manager.
class Office2003RefreshTest : public foundation_test::PaintManagerTest
{
protected:
    void SetUp() override
    {
        foundation_test::PaintManagerTest::SetUp();
        scope = std::make_unique<COSMColorEnvironmentScope>(machine);
    }
    void TearDown() override
    {
        theme.reset();
        scope.reset();
        foundation_test::PaintManagerTest::TearDown();
    }
    // The look refreshed with the selection given.
    COSMOffice2003Theme& Refreshed(int selection)
    {
        theme = std::make_unique<COSMOffice2003Theme>();
        theme->SetVisualStyleSelection(selection);
        theme->RefreshMetrics();
        return *theme;
    }

    TestColorMachine machine;
    std::unique_ptr<COSMColorEnvironmentScope> scope;
    std::unique_ptr<COSMOffice2003Theme> theme;
};

COLORREF Office2003Standard(COSMOffice2003Theme& t, int index)
{
    return t.GetColorEntry(index).GetStandardValue();
}

// One value of the schemes' table, read back from a refreshed look.
struct Office2003SchemeRow
{
    const char* name;
    COLORREF (*read)(COSMOffice2003Theme&);
    COLORREF blue, olive, silver;
};

#define OSM_FIRST(member) [](COSMOffice2003Theme& t) { return t.member.First().GetStandardValue(); }
#define OSM_SECOND(member) [](COSMOffice2003Theme& t) { return t.member.Second().GetStandardValue(); }
#define OSM_ENTRY(index) [](COSMOffice2003Theme& t) { return Office2003Standard(t, index); }

const Office2003SchemeRow kOffice2003SchemeRows[] = {
    {"DockBarGradient first", OSM_FIRST(DockBarGradient), RGB(158, 190, 245), RGB(217, 217, 167), RGB(215, 215, 229)},
    {"DockBarGradient second", OSM_SECOND(DockBarGradient), RGB(196, 218, 250), RGB(242, 241, 228), RGB(243, 243, 247)},
    {"ToolbarGradient first", OSM_FIRST(ToolbarGradient), RGB(221, 236, 254), RGB(244, 247, 222), RGB(249, 249, 255)},
    {"ToolbarGradient second", OSM_SECOND(ToolbarGradient), RGB(129, 169, 226), RGB(183, 198, 145), RGB(156, 155, 183)},
    {"ExpandButtonGradient first", OSM_FIRST(ExpandButtonGradient), RGB(117, 166, 241), RGB(176, 194, 140),
     RGB(179, 178, 200)},
    {"ExpandButtonGradient second", OSM_SECOND(ExpandButtonGradient), RGB(0, 53, 145), RGB(96, 119, 107),
     RGB(118, 116, 146)},
    {"GlyphGradient first", OSM_FIRST(GlyphGradient), RGB(227, 239, 254), RGB(236, 240, 213), RGB(232, 232, 241)},
    {"GlyphGradient second", OSM_SECOND(GlyphGradient), RGB(129, 169, 226), RGB(184, 198, 147), RGB(176, 174, 197)},
    {"PopupBarGripperGradient first", OSM_FIRST(PopupBarGripperGradient), RGB(203, 221, 246), RGB(230, 230, 209),
     RGB(215, 215, 226)},
    {"PopupBarGripperGradient second", OSM_SECOND(PopupBarGripperGradient), RGB(121, 161, 220), RGB(164, 180, 120),
     RGB(133, 131, 162)},
    {"PoppedGradient first", OSM_FIRST(PoppedGradient), RGB(227, 239, 255), RGB(236, 240, 213), RGB(233, 231, 241)},
    {"PoppedGradient second", OSM_SECOND(PoppedGradient), RGB(147, 181, 231), RGB(194, 206, 159), RGB(186, 185, 205)},
    {"ToolbarShadowColor", [](COSMOffice2003Theme& t) { return t.ToolbarShadowColor.GetStandardValue(); },
     RGB(59, 97, 156), RGB(96, 128, 88), RGB(124, 124, 148)},
    {"StatusPaneBorderColor", [](COSMOffice2003Theme& t) { return t.StatusPaneBorderColor.GetStandardValue(); },
     RGB(211, 211, 211), RGB(211, 211, 211), RGB(236, 234, 218)},
    {"TearOffGripperColor", [](COSMOffice2003Theme& t) { return t.TearOffGripperColor.GetStandardValue(); },
     RGB(169, 199, 240), RGB(197, 212, 159), RGB(192, 192, 211)},
    {"floating-bar caption", [](COSMOffice2003Theme& t) { return t.GetFloatingCaptionColor().GetStandardValue(); },
     RGB(42, 102, 201), RGB(116, 134, 94), RGB(122, 121, 153)},
    {"gradient colour pair first",
     [](COSMOffice2003Theme& t) { return t.GetFaceGradient().First().GetStandardValue(); }, RGB(233, 236, 242),
     RGB(243, 244, 240), RGB(247, 245, 249)},
    {"gradient colour pair second",
     [](COSMOffice2003Theme& t) { return t.GetFaceGradient().Second().GetStandardValue(); }, RGB(97, 122, 172),
     RGB(131, 144, 113), RGB(122, 121, 153)},
    {"shadow colour", [](COSMOffice2003Theme& t) { return t.GetShadowManager()->GetShadowColor(); }, RGB(22, 30, 54),
     RGB(31, 34, 25), RGB(36, 32, 41)},
    {"entry 12", OSM_ENTRY(12), RGB(144, 153, 174), RGB(151, 160, 123), RGB(155, 154, 179)},
    {"entry 51", OSM_ENTRY(51), RGB(216, 231, 252), RGB(226, 231, 191), RGB(223, 223, 234)},
    {"entry 52", OSM_ENTRY(52), RGB(158, 190, 245), RGB(171, 192, 138), RGB(177, 176, 195)},
    {"entry 53", OSM_ENTRY(53), RGB(203, 225, 252), RGB(216, 227, 182), RGB(214, 211, 231)},
    {"entry 56", OSM_ENTRY(56), RGB(189, 211, 247), RGB(222, 227, 189), RGB(214, 215, 231)},
    {"entry 30", OSM_ENTRY(30), RGB(196, 219, 249), RGB(209, 222, 173), RGB(219, 218, 228)},
    {"entry 31", OSM_ENTRY(31), RGB(255, 238, 194), RGB(255, 238, 194), RGB(255, 238, 194)},
    {"entry 32", OSM_ENTRY(32), RGB(0, 0, 128), RGB(63, 93, 56), RGB(75, 75, 111)},
    {"entry 37", OSM_ENTRY(37), RGB(0, 0, 128), RGB(63, 93, 56), RGB(75, 75, 111)},
    {"entry 50", OSM_ENTRY(50), RGB(0, 0, 128), RGB(63, 93, 56), RGB(75, 75, 111)},
    {"entry 33", OSM_ENTRY(33), RGB(254, 128, 62), RGB(254, 128, 62), RGB(254, 128, 62)},
    {"entry 36", OSM_ENTRY(36), RGB(255, 192, 111), RGB(255, 192, 111), RGB(255, 192, 111)},
    {"entry 38", OSM_ENTRY(38), RGB(39, 65, 118), RGB(81, 94, 51), RGB(84, 84, 117)},
    {"entry 39", OSM_ENTRY(39), RGB(106, 140, 203), RGB(96, 128, 88), RGB(110, 109, 143)},
    {"entry 40", OSM_ENTRY(40), RGB(109, 150, 208), RGB(159, 174, 122), RGB(168, 167, 190)},
    {"entry 41", OSM_ENTRY(41), RGB(246, 246, 246), RGB(244, 244, 238), RGB(253, 250, 255)},
    {"entry 43", OSM_ENTRY(43), RGB(0, 45, 150), RGB(117, 141, 94), RGB(124, 124, 148)},
    {"entry 47", OSM_ENTRY(47), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)},
};

#undef OSM_FIRST
#undef OSM_SECOND
#undef OSM_ENTRY

struct Office2003FactorRow
{
    const char* name;
    float (*read)(COSMOffice2003Theme&);
    float blue, olive, silver;
};

const Office2003FactorRow kOffice2003FactorRows[] = {
    {"DockBarGradient", [](COSMOffice2003Theme& t) { return t.DockBarGradient.GetFactor(); }, 0.5f, 0.5f, 0.5f},
    {"ToolbarGradient", [](COSMOffice2003Theme& t) { return t.ToolbarGradient.GetFactor(); }, 0.75f, 0.3f, 0.75f},
    {"ExpandButtonGradient", [](COSMOffice2003Theme& t) { return t.ExpandButtonGradient.GetFactor(); }, 0.75f, 0.3f,
     0.75f},
    {"GlyphGradient", [](COSMOffice2003Theme& t) { return t.GlyphGradient.GetFactor(); }, 0.5f, 0.5f, 0.5f},
    {"PopupBarGripperGradient", [](COSMOffice2003Theme& t) { return t.PopupBarGripperGradient.GetFactor(); }, 0.5f,
     0.3f, 0.5f},
    {"PoppedGradient", [](COSMOffice2003Theme& t) { return t.PoppedGradient.GetFactor(); }, 0.5f, 0.5f, 0.5f},
    {"gradient colour pair", [](COSMOffice2003Theme& t) { return t.GetFaceGradient().GetFactor(); }, 0.5f, 0.5f, 0.5f},
};

TEST_F(Office2003RefreshTest, EachSchemeSelectionWritesItsColourSet)
{
    struct Selection
    {
        int selection;
        int column;  // 0 blue, 1 olive, 2 silver
    } const selections[] = {{1, 0}, {2, 1}, {3, 2}, {4, 0}, {5, 0}};
    for (const Selection& s : selections)
    {
        SCOPED_TRACE(testing::Message() << "selection " << s.selection);
        COSMOffice2003Theme& look = Refreshed(s.selection);
        EXPECT_TRUE(look.LunaColors);
        for (const Office2003SchemeRow& row : kOffice2003SchemeRows)
        {
            const COLORREF expected = s.column == 0 ? row.blue : s.column == 1 ? row.olive : row.silver;
            EXPECT_EQ(expected, row.read(look)) << row.name;
        }
        for (const Office2003FactorRow& row : kOffice2003FactorRows)
        {
            const float expected = s.column == 0 ? row.blue : s.column == 1 ? row.olive : row.silver;
            EXPECT_FLOAT_EQ(expected, row.read(look)) << row.name;
        }
    }
}

TEST_F(Office2003RefreshTest, WithoutASchemeTheColoursComeFromTheSystem)
{
    machine.colors[COLOR_BTNFACE] = RGB(200, 190, 180);
    machine.colors[COLOR_WINDOW] = RGB(250, 250, 240);
    machine.colors[COLOR_BTNSHADOW] = RGB(120, 110, 100);
    COSMOffice2003Theme& look = Refreshed(0);
    auto c = [&](int index) { return look.GetColor(index); };
    auto blend = [&](int a, int b, int weight) { return COSMColorManager::BlendColors(c(a), c(b), weight); };
    EXPECT_EQ(RGB(200, 190, 180), c(COLOR_BTNFACE));
    EXPECT_FALSE(look.LunaColors);
    struct Pair
    {
        const char* name;
        const COSMPaintManagerColorGradient& gradient;
        COLORREF first, second;
    } const pairs[] = {
        {"PopupBarGripperGradient", look.PopupBarGripperGradient, blend(5, 42, 550), c(42)},
        {"ToolbarGradient", look.ToolbarGradient, blend(15, 5, 205), c(15)},
        {"DockBarGradient", look.DockBarGradient, c(15), blend(15, 5, 205)},
        {"PoppedGradient", look.PoppedGradient, c(41), blend(5, 15, 550)},
        {"GlyphGradient", look.GlyphGradient, c(41), blend(5, 15, 550)},
        {"ExpandButtonGradient", look.ExpandButtonGradient, blend(51, 16, 51), c(16)},
        {"PopupBarGripperHiddenGradient", look.PopupBarGripperHiddenGradient, blend(15, 5, 205), c(15)},
    };
    for (const Pair& p : pairs)
    {
        EXPECT_EQ(p.first, p.gradient.First().GetStandardValue()) << p.name;
        EXPECT_EQ(p.second, p.gradient.Second().GetStandardValue()) << p.name;
        EXPECT_FLOAT_EQ(0.5f, p.gradient.GetFactor()) << p.name;
    }
    EXPECT_EQ(c(30), look.TearOffGripperColor.GetStandardValue());
    EXPECT_EQ(c(30), look.ToolbarShadowColor.GetStandardValue());
    EXPECT_EQ(c(16), look.GetFloatingCaptionColor().GetStandardValue());
    EXPECT_EQ(blend(15, 5, 70), look.StatusPaneBorderColor.GetStandardValue());
    EXPECT_EQ(GetColorManager()->GetGradient(2).Second().GetEffective(), Office2003Standard(look, 55));
    // No scheme: the colour manager's own greys stay.
    for (int index : {35, 58, 60, 61})
        EXPECT_EQ(GetColorManager()->GetColor(index), Office2003Standard(look, index)) << index;
}

TEST_F(Office2003RefreshTest, ALowColourScreenGivesPlainFacesUnlessASchemeOverwritesThem)
{
    machine.lowColor = TRUE;
    COSMOffice2003Theme& plain = Refreshed(0);
    const COLORREF face = plain.GetColor(COLOR_BTNFACE);
    for (const COSMPaintManagerColorGradient* gradient :
         {&plain.ToolbarGradient, &plain.DockBarGradient, &plain.PoppedGradient, &plain.ExpandButtonGradient})
    {
        EXPECT_EQ(face, gradient->First().GetStandardValue());
        EXPECT_EQ(face, gradient->Second().GetStandardValue());
    }
    // The glyph keeps its system gradient.
    EXPECT_NE(plain.GlyphGradient.First().GetStandardValue(), plain.GlyphGradient.Second().GetStandardValue());

    COSMOffice2003Theme& blue = Refreshed(1);
    EXPECT_EQ(RGB(221, 236, 254), blue.ToolbarGradient.First().GetStandardValue());
    EXPECT_EQ(RGB(158, 190, 245), blue.DockBarGradient.First().GetStandardValue());
    EXPECT_EQ(RGB(227, 239, 255), blue.PoppedGradient.First().GetStandardValue());
    EXPECT_EQ(RGB(117, 166, 241), blue.ExpandButtonGradient.First().GetStandardValue());
}

TEST_F(Office2003RefreshTest, ASchemeGreysTheDisabledEntriesAndCopiesCaptionAndToolbarColours)
{
    theme = std::make_unique<COSMOffice2003Theme>();
    theme->SetVisualStyleSelection(2);
    // Custom values win over the scheme where the refresh copies effective colours.
    theme->GetFloatingCaptionColor().SetCustomValue(RGB(1, 2, 3));
    theme->ToolbarGradient.First().SetCustomValue(RGB(4, 5, 6));
    theme->RefreshMetrics();
    for (int index : {35, 58, 60})
        EXPECT_EQ(RGB(141, 141, 141), Office2003Standard(*theme, index)) << index;
    EXPECT_EQ(RGB(1, 2, 3), Office2003Standard(*theme, 61));
    EXPECT_EQ(RGB(4, 5, 6), theme->PopupBarGripperHiddenGradient.First().GetStandardValue());
    EXPECT_EQ(RGB(183, 198, 145), theme->PopupBarGripperHiddenGradient.Second().GetStandardValue());
    EXPECT_FLOAT_EQ(0.3f, theme->PopupBarGripperHiddenGradient.GetFactor());
}

TEST_F(Office2003RefreshTest, TheEffectiveStyleFollowsTheColourManagersMachineForSelectionSeven)
{
    machine.style = 3;
    EXPECT_EQ(RGB(249, 249, 255), Refreshed(7).ToolbarGradient.First().GetStandardValue());
    GetColorManager()->SetLunaColorsDisabled(TRUE);
    EXPECT_FALSE(Refreshed(7).LunaColors);
    GetColorManager()->SetLunaColorsDisabled(FALSE);
}

TEST_F(Office2003RefreshTest, TheKnobImageIsBuiltFromTheGlyphGradient)
{
    COSMOffice2003Theme& look = Refreshed(1);
    ASSERT_NE(nullptr, look.GlyphImages.GetSafeHandle());
    EXPECT_EQ(1, look.GlyphImages.GetImageCount());
    int cx = 0, cy = 0;
    look.GlyphImages.GetIconSize(&cx, &cy);
    EXPECT_EQ(16, cx);
    EXPECT_EQ(16, cy);

    const COLORREF background = RGB(10, 20, 30);
    auto draw = [&](DcTestSurface& canvas) {
        ::ImageList_Draw(look.GlyphImages.GetSafeHandle(), 0, canvas.GetDC(), 0, 0, ILD_TRANSPARENT);
    };
    const COLORREF first = RGB(227, 239, 254), second = RGB(129, 169, 226);
    auto formula = [](COLORREF a, COLORREF b, int v) {
        auto channel = [v](int f, int s) { return s - v * (s - f) / 255; };
        return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
                   channel(GetBValue(a), GetBValue(b)));
    };
    DcTestSurface canvas(16, 16, background);
    draw(canvas);
    EXPECT_EQ(background, canvas.Pixel(0, 0));    // 0xff
    EXPECT_EQ(background, canvas.Pixel(15, 15));  // 0xff
    EXPECT_EQ(second, canvas.Pixel(8, 15));       // 0x00
    EXPECT_EQ(formula(first, second, 0x90), canvas.Pixel(1, 9));
    EXPECT_EQ(formula(first, second, 0xfc), canvas.Pixel(0, 4));
    EXPECT_EQ(formula(first, second, 0x12), canvas.Pixel(6, 14));

    // Each refresh replaces the image whole, in the new colours.
    COSMOffice2003Theme& olive = Refreshed(2);
    EXPECT_EQ(1, olive.GlyphImages.GetImageCount());
    DcTestSurface again(16, 16, background);
    ::ImageList_Draw(olive.GlyphImages.GetSafeHandle(), 0, again.GetDC(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(RGB(184, 198, 147), again.Pixel(8, 15));
    EXPECT_EQ(formula(RGB(236, 240, 213), RGB(184, 198, 147), 0x90), again.Pixel(1, 9));
}

TEST_F(Office2003RefreshTest, OlivesFactorPaintsTheToolbarGradientInTwoHalves)
{
    COSMOffice2003Theme& olive = Refreshed(2);
    const COLORREF first = RGB(244, 247, 222), second = RGB(183, 198, 145);
    const COLORREF middle = BlendColors(first, second, 0.3);
    DcTestSurface canvas(100, 4, kOffice2003Canvas);
    // The popup column's hidden part takes the toolbar gradient, factor and all.
    olive.FillPopupBarGripper(canvas.dc(), 0, 0, 100, 4, FALSE);
    auto nearly = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) <= 3 && std::abs(GetGValue(a) - GetGValue(b)) <= 3 &&
               std::abs(GetBValue(a) - GetBValue(b)) <= 3;
    };
    EXPECT_TRUE(nearly(first, canvas.Pixel(0, 1)));
    EXPECT_TRUE(nearly(second, canvas.Pixel(99, 1)));
    // Where the halves meet lies the blend at 0.3, not the plain average.
    EXPECT_TRUE(nearly(middle, canvas.Pixel(50, 1))) << std::hex << canvas.Pixel(50, 1);
    EXPECT_FALSE(nearly(RGB((244 + 183) / 2, (247 + 198) / 2, (222 + 145) / 2), canvas.Pixel(50, 1)));
}

TEST_F(Office2003RefreshTest, TheLookIsIdTwoAndLeavesFadedAndShadowedIconsOff)
{
    COSMPaintManager::RegisterThemes();
    COSMPaintManager* pm = COSMPaintManager::CreateTheme(2);
    ASSERT_NE(nullptr, pm);
    EXPECT_STREQ("COSMOffice2003Theme", pm->GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(pm->IsKindOf(RUNTIME_CLASS(COSMOfficeTheme)));
    EXPECT_EQ(2, pm->GetThemeId());
    EXPECT_EQ(0u, pm->GetIconsInfo()->useFadedIcons);
    EXPECT_EQ(0u, pm->GetIconsInfo()->iconsWithShadow);
    pm->InternalRelease();
    COSMOffice2003Theme fresh;
    EXPECT_EQ(RGB(255, 213, 140), fresh.CheckedGradient.First().GetStandardValue());
    EXPECT_EQ(RGB(255, 173, 85), fresh.CheckedGradient.Second().GetStandardValue());
    EXPECT_EQ(RGB(254, 142, 75), fresh.PushedGradient.First().GetStandardValue());
    EXPECT_EQ(RGB(255, 207, 139), fresh.PushedGradient.Second().GetStandardValue());
    EXPECT_EQ(RGB(255, 242, 200), fresh.HighlightGradient.First().GetStandardValue());
    EXPECT_EQ(RGB(255, 212, 151), fresh.HighlightGradient.Second().GetStandardValue());
    EXPECT_FALSE(fresh.FlatSeparators);
}

// ---- Drawing, every table entry in a colour of its own ----

class Office2003DrawTest : public UniqueColorsTest<RecordingTheme<COSMOffice2003Theme>>
{
protected:
    void SetUp() override
    {
        // No scheme: the look's members are the system-derived ones, from the unique colours.
        scope = std::make_unique<COSMColorEnvironmentScope>(machine);
        UniqueColorsTest::SetUp();
    }
    void TearDown() override
    {
        UniqueColorsTest::TearDown();
        scope.reset();
    }
    // A gradient of one colour, so a fill by it shows that colour everywhere.
    static void Solid(COSMPaintManagerColorGradient& gradient, COLORREF color)
    {
        gradient.First().SetCustomValue(color);
        gradient.Second().SetCustomValue(color);
    }
    // A bar without a window at a position.
    std::unique_ptr<COSMCommandBar> Bar(int type, int position)
    {
        auto bar = std::make_unique<COSMCommandBar>();
        bar->SetType(type);
        bar->SetPositionField(position);
        return bar;
    }

    TestColorMachine machine;
    std::unique_ptr<COSMColorEnvironmentScope> scope;
};

TEST_F(Office2003DrawTest, LunaStateRectanglesPaintTheWarmGradientsWithTheirFrames)
{
    theme->LunaColors = TRUE;
    const COSMPaintManagerColorGradient* none = nullptr;
    const auto& checked = theme->CheckedGradient;
    const auto& pushed = theme->PushedGradient;
    const auto& highlight = theme->HighlightGradient;
    struct StateCase
    {
        const char* name;
        int selected, pressed, enabled, checked;
        const COSMPaintManagerColorGradient* gradient;
        int frame;  // -1: nothing drawn (with no gradient)
        int fill;   // a plain fill instead of a gradient, else -1
    } const cases[] = {
        {"disabled, keyboard selected, checked", 2, 0, 0, 1, &pushed, Office2003::kPressedFrame, -1},
        {"disabled, keyboard selected 3", 3, 0, 0, 0, &highlight, Office2003::kPressedFrame, -1},
        {"disabled, checked", 0, 0, 0, 1, &checked, Office2003::kDisabledCheckedFrame, -1},
        {"disabled, selected by mouse", 1, 0, 0, 0, none, -1, -1},
        {"third state", 0, 0, 1, 2, none, Office2003::kPressedFrame, Office2003::kThirdStateFill},
        {"checked", 0, 0, 1, 1, &checked, Office2003::kCheckedFrame, -1},
        {"checked and selected", 1, 0, 1, 1, &pushed, Office2003::kPressedFrame, -1},
        {"pressed 2", 0, 2, 1, 0, &pushed, Office2003::kPressedFrame, -1},
        {"selected and pressed", 1, 1, 1, 0, &pushed, Office2003::kPressedFrame, -1},
        {"selected", 1, 0, 1, 0, &highlight, Office2003::kHotFrame, -1},
        {"pressed 1", 0, 1, 1, 0, &highlight, Office2003::kHotFrame, -1},
        {"idle", 0, 0, 1, 0, none, -1, -1},
    };
    const CRect rect(2, 2, 30, 20);
    for (const StateCase& c : cases)
        for (int position : {0, 1, 2, 3, 4})
        {
            SCOPED_TRACE(testing::Message() << c.name << ", position " << position);
            const BOOL horizontal = position == 2 || position == 3;
            DcTestSurface canvas(32, 22, kOffice2003Canvas);
            theme->DrawStateRectangle(Dc(canvas), rect, c.selected, c.pressed, c.enabled, c.checked, FALSE, 1,
                                      position);
            DcTestSurface expected(32, 22, kOffice2003Canvas);
            if (c.gradient)
                theme->GradientFill(Dc(expected), rect, c.gradient->First().GetEffective(),
                                    c.gradient->Second().GetEffective(), horizontal, nullptr);
            if (c.fill != -1 || c.frame != -1)
                theme->FillFramedRect(Dc(expected), rect, c.frame, c.fill);
            EXPECT_TRUE(canvas.EqualsCanvas(expected));
        }
}

TEST_F(Office2003DrawTest, PoppedIsAlwaysThePoppedGradientAndOtherStatesFallBackToTheOfficeLook)
{
    Solid(theme->PoppedGradient, RGB(200, 10, 10));
    for (BOOL luna : {FALSE, TRUE})
        for (int barType : {0, 2})
        {
            theme->LunaColors = luna;
            DcTestSurface canvas(20, 20, kOffice2003Canvas);
            theme->DrawStateRectangle(Dc(canvas), CRect(0, 0, 20, 20), 1, 0, 1, 0, TRUE, barType, 0);
            EXPECT_TRUE(
                canvas.Has3dFrame(CRect(0, 0, 20, 20), C(Office2003::kPopupBorder), C(Office2003::kPopupBorder)));
            EXPECT_TRUE(canvas.FilledWith(CRect(1, 1, 19, 19), RGB(200, 10, 10)));
        }
    // Without Luna colours, on popups and at the popup position: the flat look's hot rectangle.
    struct FallBack
    {
        BOOL luna;
        int barType, position;
    } const fallBacks[] = {{FALSE, 1, 0}, {TRUE, 2, 5}, {TRUE, 1, 5}};
    for (const FallBack& f : fallBacks)
    {
        theme->LunaColors = f.luna;
        DcTestSurface canvas(20, 20, kOffice2003Canvas);
        theme->DrawStateRectangle(Dc(canvas), CRect(0, 0, 20, 20), 1, 0, 1, 0, FALSE, f.barType, f.position);
        EXPECT_TRUE(canvas.Has3dFrame(CRect(0, 0, 20, 20), C(Office2003::kHotFrame), C(Office2003::kHotFrame)));
        EXPECT_TRUE(canvas.FilledWith(CRect(1, 1, 19, 19), C(Office2003::kHotFill)));
    }
}

TEST_F(Office2003DrawTest, TheDockedBordersAreWiderOnTheGripperSide)
{
    for (int position : {0, 1})
        EXPECT_EQ(CRect(4, 2, 2, 2), theme->GetCommandBarBorders(Bar(1, position).get())) << position;
    for (int position : {2, 3, 4})
    {
        auto bar = Bar(1, position);
        EXPECT_EQ(theme->COSMPaintManager::GetCommandBarBorders(bar.get()), theme->GetCommandBarBorders(bar.get()))
            << position;
    }
}

TEST_F(Office2003DrawTest, SeparatorsDrawTwoLinesAndTheFlatLookDropsTheLightOne)
{
    struct SeparatorCase
    {
        const char* name;
        int type, position;
        BOOL newRow, flat;
        std::vector<std::pair<CRect, int>> lines;  // one-pixel lines and their index
    };
    // The row band (4, 20)-(96, 44), the control (40, 22)-(60, 42).
    const CRect row(4, 20, 96, 44), w(40, 22, 60, 42);
    const std::vector<SeparatorCase> cases = {
        {"top bar", 1, 0, FALSE, FALSE, {{CRect(36, 24, 37, 40), 39}, {CRect(37, 25, 38, 41), 20}}},
        {"top bar, flat separators", 1, 0, FALSE, TRUE, {{CRect(36, 24, 37, 40), 39}}},
        {"top bar, new row", 1, 0, TRUE, FALSE, {{CRect(8, 16, 96, 17), 39}, {CRect(9, 17, 96, 18), 20}}},
        {"floating toolbar", 1, 4, FALSE, FALSE, {{CRect(36, 24, 37, 40), 39}, {CRect(37, 25, 38, 41), 20}}},
        {"floating toolbar, new row", 1, 4, TRUE, FALSE, {}},
        {"floating popup, new row", 2, 4, TRUE, FALSE, {{CRect(8, 16, 96, 17), 39}, {CRect(9, 17, 96, 18), 20}}},
        {"left bar", 1, 2, FALSE, FALSE, {{CRect(8, 18, 92, 19), 39}, {CRect(9, 19, 93, 20), 20}}},
        {"left bar, flat separators", 1, 3, FALSE, TRUE, {{CRect(8, 18, 92, 19), 39}}},
        {"left bar, new column", 1, 2, TRUE, FALSE, {{CRect(98, 24, 99, 44), 39}, {CRect(99, 25, 100, 44), 20}}},
    };
    for (const SeparatorCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto bar = Bar(c.type, c.position);
        COSMControlButton control;
        control.SetRowRect(row);
        control.SetRect(w);
        control.SetWrap(c.newRow);
        theme->FlatSeparators = c.flat;
        DcTestSurface canvas(110, 50, kOffice2003Canvas);
        EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarSeparator(Dc(canvas), bar.get(), &control, TRUE));
        DcTestSurface expected(110, 50, kOffice2003Canvas);
        for (const auto& line : c.lines)
            expected.Fill(line.first, C(line.second));
        EXPECT_TRUE(canvas.EqualsCanvas(expected));
    }
}

TEST_F(Office2003DrawTest, SeparatorsMeasureWithoutAControl)
{
    struct MeasureCase
    {
        int type, position;
        CSize size;
    } const cases[] = {
        {1, 4, CSize(6, 0)}, {1, 0, CSize(6, 6)}, {1, 2, CSize(6, 6)}, {2, 5, CSize(3, 3)}, {2, 4, CSize(3, 3)}};
    for (const MeasureCase& c : cases)
    {
        auto bar = Bar(c.type, c.position);
        DcTestSurface canvas(20, 20, kOffice2003Canvas);
        EXPECT_EQ(c.size, theme->DrawCommandBarSeparator(Dc(canvas), bar.get(), nullptr, FALSE)) << c.position;
        // Drawing without a control draws nothing.
        EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarSeparator(Dc(canvas), bar.get(), nullptr, TRUE));
        EXPECT_TRUE(canvas.Untouched());
    }
}

TEST_F(Office2003DrawTest, TheExpandButtonMeasuresItsStripAtTheBarsEnd)
{
    INT32 size[2] = {80, 24};
    struct MeasureCase
    {
        int position;
        CRect rect;
    } const cases[] = {{0, CRect(68, 1, 80, 24)}, {1, CRect(68, 1, 80, 24)}, {4, CRect(68, 1, 80, 24)},
                       {2, CRect(0, 12, 80, 24)}, {3, CRect(0, 12, 80, 24)}, {5, CRect(0, 12, 80, 24)}};
    for (const MeasureCase& c : cases)
    {
        auto bar = Bar(1, c.position);
        COSMControlButton control;
        EXPECT_EQ(CSize(0, 0), theme->DrawSpecialControl(nullptr, 0, &control, bar.get(), FALSE, size));
        EXPECT_EQ(c.rect, control.GetRect()) << c.position;
    }
    auto popup = Bar(2, 5);
    COSMControlButton row;
    EXPECT_EQ(CSize(0, 18), theme->DrawSpecialControl(nullptr, 1, &row, popup.get(), FALSE, nullptr));
}

TEST_F(Office2003DrawTest, TheExpandButtonsBackgroundGlyphAndHiddenControlsMarks)
{
    const COLORREF expandColor = RGB(200, 10, 10);
    Solid(theme->ExpandButtonGradient, expandColor);
    Solid(theme->PushedGradient, RGB(210, 20, 10));
    Solid(theme->HighlightGradient, RGB(220, 30, 10));
    struct BackgroundCase
    {
        const char* name;
        BOOL open;
        int selected;
        BOOL luna;
        COLORREF face;
        int glyphIndex;
    } const cases[] = {
        {"idle", FALSE, 0, FALSE, expandColor, Office2003::kToolBarText},
        {"open", TRUE, 1, FALSE, C(Office2003::kCheckedFill), Office2003::kToolBarText},
        {"open, Luna", TRUE, 0, TRUE, RGB(210, 20, 10), Office2003::kToolBarText},
        {"selected", FALSE, 1, FALSE, C(Office2003::kHotFill), Office2003::kSelectedText},
        {"selected, Luna", FALSE, 1, TRUE, RGB(220, 30, 10), Office2003::kSelectedText},
    };
    auto bar = Bar(1, 0);
    const CRect r(20, 0, 32, 24);
    for (const BackgroundCase& c : cases)
        for (BOOL hidden : {FALSE, TRUE})
        {
            SCOPED_TRACE(testing::Message() << c.name << (hidden ? ", controls hidden" : ""));
            theme->LunaColors = c.luna;
            Stated<COSMControlButton> control;
            control.popupOpen = c.open;
            control.selected = c.selected;
            control.SetRect(r);
            INT32 param[2] = {hidden, 0};
            DcTestSurface canvas(40, 30, kOffice2003Canvas);
            theme->DrawSpecialControl(Dc(canvas), 0, &control, bar.get(), TRUE, param);
            // Rounded off: the top-right and bottom-right corners and the left edge keep the canvas.
            EXPECT_EQ(kOffice2003Canvas, canvas.Pixel(31, 0));
            EXPECT_EQ(kOffice2003Canvas, canvas.Pixel(31, 23));
            EXPECT_TRUE(canvas.Untouched(CRect(20, 1, 21, 23)));
            EXPECT_EQ(c.face, canvas.Pixel(20, 0));
            EXPECT_EQ(c.face, canvas.Pixel(30, 12));
            EXPECT_TRUE(canvas.UntouchedOutside(CRect(20, 0, 33, 25)));
            // The glyph: the bar (cx - 2 .. cx + 3) at bottom - 10 with its light twin one pixel down and right.
            const int cx = 26;
            EXPECT_TRUE(canvas.HasLine(CPoint(cx - 2, 14), CPoint(cx + 3, 14), C(c.glyphIndex)));
            EXPECT_EQ(C(COLOR_BTNHIGHLIGHT), canvas.Pixel(cx + 3, 15));
            EXPECT_EQ(C(c.glyphIndex), canvas.Pixel(cx, 18));  // the triangle's tip row
            // The chevrons of hidden controls only when the parameter says so.
            EXPECT_EQ(hidden ? C(c.glyphIndex) : c.face, canvas.Pixel(23, 5));
            EXPECT_EQ(hidden ? C(c.glyphIndex) : c.face, canvas.Pixel(27, 5));
        }
}

TEST_F(Office2003DrawTest, ThePopupExpandButtonShowsTheKnobAndTwoDoubleChevrons)
{
    auto popup = Bar(2, 5);
    Stated<COSMControlButton> control;
    control.SetRect(CRect(0, 0, 40, 18));
    DcTestSurface canvas(40, 18, kOffice2003Canvas);
    theme->DrawSpecialControl(Dc(canvas), 1, &control, popup.get(), TRUE, nullptr);
    DcTestSurface knob(40, 18, kOffice2003Canvas);
    theme->DrawControlBackground(Dc(knob), &control);
    ::ImageList_Draw(theme->GlyphImages.GetSafeHandle(), 0, knob.GetDC(), 13, 1, ILD_TRANSPARENT);
    // The knob's second colour at its byte 0 (8, 15), under the chevrons' reach.
    EXPECT_EQ(knob.Pixel(13 + 8, 16), canvas.Pixel(13 + 8, 16));
    EXPECT_EQ(theme->GlyphGradient.Second().GetEffective(), canvas.Pixel(13 + 8, 16));
    // The chevrons in black: from (cx - 2, t) down to (cx, t + 2) and up to (cx + 3, t - 1).
    for (int t : {5, 6, 9, 10})
    {
        EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(18, t)) << t;
        EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(20, t + 2)) << t;
    }
}

TEST_F(Office2003DrawTest, TheTearOffGripperIsABandWithDotsAroundItsMiddle)
{
    const COLORREF band = RGB(200, 10, 10);
    theme->TearOffGripperColor.SetCustomValue(band);
    struct TearCase
    {
        int width;
        BOOL selected;
        int dots;
    } const cases[] = {{60, FALSE, 10}, {60, TRUE, 10}, {200, FALSE, 16}, {20, FALSE, 0}};
    for (const TearCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.width << (c.selected ? " selected" : ""));
        DcTestSurface canvas(c.width + 4, 12, kOffice2003Canvas);
        const CRect rect(0, 0, c.width, 9);
        EXPECT_EQ(CSize(0, 9), theme->DrawTearOffGripper(Dc(canvas), rect, c.selected, FALSE));
        EXPECT_TRUE(canvas.Untouched());
        EXPECT_EQ(CSize(0, 9), theme->DrawTearOffGripper(Dc(canvas), rect, c.selected, TRUE));
        EXPECT_TRUE(canvas.Has3dFrame(CRect(1, 1, c.width + 1, 10), C(41), C(41)));
        EXPECT_EQ(c.selected ? C(41) : band, canvas.Pixel(2, 2));
        const int centre = (2 + c.width) / 2;
        const int half = std::min(c.width / 2 - 10, 32);
        int dark = 0;
        for (int x = 0; x < c.width + 4; ++x)
            if (canvas.Pixel(x, 4) == C(38))
                ++dark;
        EXPECT_EQ(2 * c.dots, dark);
        if (c.dots)
        {
            EXPECT_EQ(C(38), canvas.Pixel(centre - half, 4));
            EXPECT_EQ(C(20), canvas.Pixel(centre - half + 2, 6));
        }
    }
}

TEST_F(Office2003DrawTest, TheClassicStatusGripperIsThreeGroupsOfDiagonals)
{
    DcTestSurface canvas(30, 20, kOffice2003Canvas);
    // The theme's STATUS handle stays closed in this test: no main window, and the look draws classic lines.
    theme->GetStatusTheme().CloseThemeData();
    theme->DrawStatusBarGripper(Dc(canvas), CRect(0, 0, 30, 20));
    // Group i: shadow diagonals ending at (30, 19 - 5i ..), one light diagonal from (27 - 5i, 19).
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(C(COLOR_BTNSHADOW), canvas.Pixel(29 - 5 * i, 19)) << i;
        EXPECT_EQ(C(COLOR_BTNHIGHLIGHT), canvas.Pixel(27 - 5 * i, 19)) << i;
    }
    EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 15, 20)));
}

TEST_F(Office2003DrawTest, PaneBordersAreFramedInTheStatusPaneColour)
{
    theme->StatusPaneBorderColor.SetCustomValue(RGB(200, 10, 10));
    DcTestSurface canvas(30, 20, kOffice2003Canvas);
    theme->DrawStatusBarPaneBorder(Dc(canvas), CRect(2, 2, 28, 18), nullptr, FALSE);
    EXPECT_TRUE(canvas.Has3dFrame(CRect(2, 2, 28, 18), RGB(200, 10, 10), RGB(200, 10, 10)));
    EXPECT_TRUE(canvas.Untouched(CRect(3, 3, 27, 17)));
}

TEST_F(Office2003DrawTest, ThePopupGripperColumnTakesTheExpandedOrHiddenGradient)
{
    Solid(theme->PopupBarGripperGradient, RGB(200, 10, 10));
    Solid(theme->PopupBarGripperHiddenGradient, RGB(10, 10, 200));
    for (BOOL expanded : {TRUE, FALSE})
    {
        DcTestSurface canvas(40, 40, kOffice2003Canvas);
        theme->COSMOffice2003Theme::FillPopupBarGripper(Dc(canvas), 5, 6, 20, 30, expanded);
        EXPECT_TRUE(canvas.FilledWith(CRect(5, 6, 25, 36), expanded ? RGB(200, 10, 10) : RGB(10, 10, 200)));
        EXPECT_TRUE(canvas.UntouchedOutside(CRect(5, 6, 25, 36)));
    }
}

}  // namespace

namespace {

// The status bar's visual style through the stand-in theme library.
class Office2003StatusStyleTest : public foundation_test::PaintManagerTest, protected ThemeStubLibrary
{
protected:
    Office2003StatusStyleTest() : ThemeStubLibrary(TRUE) {}
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        SetUpThemeStub();
    }
};

TEST_F(Office2003StatusStyleTest, TheStatusGripperIsTheStylesPartThreeWhileStyled)
{
    COSMOffice2003Theme theme(m_functions);
    theme.RefreshMetrics();
    // Reopened on every refresh, on the main window (none here), whether or not the themed option is on.
    ASSERT_TRUE(theme.GetStatusTheme().IsOpen());
    EXPECT_STREQ(L"STATUS", m_stub->lastClassList);
    EXPECT_EQ(nullptr, m_stub->lastWindow);

    const COLORREF background = RGB(255, 255, 255);
    DcTestSurface canvas(60, 20, background);
    const LONG before = Calls(CThemeStubState::kDrawThemeBackground);
    theme.DrawStatusBarGripper(canvas.dc(), CRect(10, 2, 60, 20));
    EXPECT_EQ(before + 1, Calls(CThemeStubState::kDrawThemeBackground));
    EXPECT_EQ(3, m_stub->lastPart);
    EXPECT_EQ(CRect(42, 2, 60, 20), CRect(m_stub->lastRect));
    // The stand-in draws nothing, and the classic lines were not drawn either.
    EXPECT_TRUE(canvas.Untouched());

    // The application not themed: the classic diagonals.
    m_stub->appThemed = FALSE;
    theme.DrawStatusBarGripper(canvas.dc(), CRect(10, 2, 60, 20));
    EXPECT_EQ(before + 1, Calls(CThemeStubState::kDrawThemeBackground));
    EXPECT_FALSE(canvas.Untouched());
}

}  // namespace
