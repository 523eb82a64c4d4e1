// The Whidbey looks: their refresh keyed on the colour manager's style (machines the tests make up, the paint
// manager's selection left at 0), and the gradient look's drawing headless, every table entry in a colour of its own:
// rounded popup highlights, framed menu-bar selections, popup separators, borders and the popup gripper.
#include "TestColorMachine.h"
#include "ThemeTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/foundation/ColorFunctions.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/themes/Office2003Theme.h"
#include "framework/themes/WhidbeyGradientTheme.h"
#include "framework/themes/WhidbeyTheme.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using foundation_test::TestColorMachine;
using themes_test::DcTestSurface;
using themes_test::UniqueColorsTest;
using Whidbey = COSMWhidbeyGradientTheme;

namespace {

constexpr COLORREF kWhidbeyCanvas = RGB(255, 255, 255);

class WhidbeyRefreshTest : public foundation_test::PaintManagerTest
{
protected:
    void SetUp() override
    {
        foundation_test::PaintManagerTest::SetUp();
        scope = std::make_unique<COSMColorEnvironmentScope>(machine);
    }
    void TearDown() override
    {
        scope.reset();
        foundation_test::PaintManagerTest::TearDown();
    }
    template <class Theme> std::unique_ptr<Theme> Refreshed(int style)
    {
        machine.style = style;
        auto theme = std::make_unique<Theme>();
        theme->RefreshMetrics();
        return theme;
    }

    TestColorMachine machine;
    std::unique_ptr<COSMColorEnvironmentScope> scope;
};

struct WhidbeyGradientValue
{
    COLORREF first, second;
    float factor;
};

void ExpectWhidbeyGradient(const COSMPaintManagerColorGradient& gradient, const WhidbeyGradientValue& expected,
                           const char* name)
{
    EXPECT_EQ(expected.first, gradient.First().GetStandardValue()) << name;
    EXPECT_EQ(expected.second, gradient.Second().GetStandardValue()) << name;
    EXPECT_FLOAT_EQ(expected.factor, gradient.GetFactor()) << name;
}

TEST_F(WhidbeyRefreshTest, TheColourManagersStyleChoosesTheRowWhileTheSelectionStaysZero)
{
    struct WhidbeyStyleRow
    {
        int style;
        WhidbeyGradientValue toolbar, expand, dock, popupGripper, glyph, face;
        COLORREF shadowLine;
    } const rows[] = {
        {1,
         {RGB(250, 249, 245), RGB(192, 192, 168), 0.75f},
         {RGB(238, 237, 234), RGB(152, 152, 126), 0.75f},
         {RGB(229, 229, 215), RGB(244, 241, 231), 0.5f},
         {RGB(204, 199, 186), RGB(204, 199, 186), 0.5f},
         {RGB(250, 249, 245), RGB(192, 192, 168), 0.75f},
         {RGB(247, 245, 249), RGB(122, 121, 153), 0.5f},
         RGB(163, 163, 124)},
        {2,
         {RGB(250, 249, 245), RGB(192, 192, 168), 0.75f},
         {RGB(238, 237, 234), RGB(176, 172, 158), 0.75f},
         {RGB(229, 229, 215), RGB(244, 241, 231), 0.5f},
         {RGB(204, 199, 186), RGB(204, 199, 186), 0.5f},
         {RGB(250, 249, 245), RGB(192, 192, 168), 0.75f},
         {RGB(236, 233, 216), RGB(172, 168, 153), 0.5f},
         RGB(163, 163, 124)},
        {3,
         {RGB(243, 244, 250), RGB(153, 151, 181), 0.75f},
         {RGB(179, 178, 200), RGB(118, 116, 146), 0.75f},
         {RGB(215, 215, 229), RGB(243, 243, 247), 0.5f},
         {RGB(215, 215, 226), RGB(133, 131, 162), 0.5f},
         {RGB(232, 232, 241), RGB(176, 174, 197), 0.5f},
         {RGB(247, 245, 249), RGB(122, 121, 153), 0.5f},
         RGB(124, 124, 148)},
    };
    for (const WhidbeyStyleRow& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "style " << row.style);
        auto look = Refreshed<COSMWhidbeyTheme>(row.style);
        EXPECT_EQ(0, look->GetVisualStyleSelection());
        EXPECT_EQ(0, look->GetEffectiveVisualStyle());
        EXPECT_EQ(row.style, GetColorManager()->GetVisualStyle());
        ExpectWhidbeyGradient(look->ToolbarGradient, row.toolbar, "ToolbarGradient");
        ExpectWhidbeyGradient(look->ExpandButtonGradient, row.expand, "ExpandButtonGradient");
        ExpectWhidbeyGradient(look->DockBarGradient, row.dock, "DockBarGradient");
        ExpectWhidbeyGradient(look->PopupBarGripperGradient, row.popupGripper, "PopupBarGripperGradient");
        ExpectWhidbeyGradient(look->GlyphGradient, row.glyph, "GlyphGradient");
        ExpectWhidbeyGradient(look->GetFaceGradient(), row.face, "gradient colour pair");
        ExpectWhidbeyGradient(look->PopupBarGripperHiddenGradient, row.toolbar, "PopupBarGripperHiddenGradient");
        EXPECT_EQ(row.shadowLine, look->ToolbarShadowColor.GetStandardValue());
        EXPECT_TRUE(look->FlatSeparators);
    }

    auto olive = Refreshed<COSMWhidbeyTheme>(2);
    for (int index : {31, 36})
        EXPECT_EQ(RGB(182, 198, 141), olive->GetColorEntry(index).GetStandardValue()) << index;
    EXPECT_EQ(RGB(147, 160, 112), olive->GetColorEntry(33).GetStandardValue());
    EXPECT_EQ(RGB(255, 255, 255), olive->GetColorEntry(47).GetStandardValue());

    auto silver = Refreshed<COSMWhidbeyTheme>(3);
    struct Entry
    {
        int index;
        COLORREF color;
    } const silverEntries[] = {{35, RGB(141, 141, 141)}, {60, RGB(141, 141, 141)}, {39, RGB(110, 109, 143)},
                               {38, RGB(84, 84, 117)},   {30, RGB(219, 218, 228)}, {61, RGB(122, 121, 153)},
                               {31, RGB(255, 238, 194)}, {32, RGB(75, 75, 111)},   {37, RGB(75, 75, 111)},
                               {50, RGB(75, 75, 111)},   {33, RGB(254, 128, 62)},  {36, RGB(255, 192, 111)},
                               {47, RGB(0, 0, 0)}};
    for (const Entry& e : silverEntries)
        EXPECT_EQ(e.color, silver->GetColorEntry(e.index).GetStandardValue()) << e.index;
    EXPECT_EQ(RGB(192, 192, 211), silver->TearOffGripperColor.GetStandardValue());
    EXPECT_EQ(RGB(122, 121, 153), silver->GetFloatingCaptionColor().GetStandardValue());
}

TEST_F(WhidbeyRefreshTest, RoyaleKeepsTheSystemColoursButTheGradientLookTakesItsBluePopups)
{
    auto whidbey = Refreshed<COSMWhidbeyTheme>(4);
    auto office = std::make_unique<COSMOffice2003Theme>();
    office->SetVisualStyleSelection(0);
    office->RefreshMetrics();
    for (auto member : {&COSMOffice2003Theme::ToolbarGradient, &COSMOffice2003Theme::DockBarGradient,
                        &COSMOffice2003Theme::PopupBarGripperGradient, &COSMOffice2003Theme::GlyphGradient})
    {
        EXPECT_EQ(((*office).*member).First().GetStandardValue(), ((*whidbey).*member).First().GetStandardValue());
        EXPECT_EQ(((*office).*member).Second().GetStandardValue(), ((*whidbey).*member).Second().GetStandardValue());
    }
    EXPECT_FALSE(whidbey->LunaColors);
    // Its own expand button: the window and face blend down to the shadow.
    ExpectWhidbeyGradient(
        whidbey->ExpandButtonGradient,
        {COSMColorManager::BlendColors(whidbey->GetColor(COLOR_WINDOW), whidbey->GetColor(COLOR_BTNFACE), 550),
         whidbey->GetColor(COLOR_BTNSHADOW), 0.5f},
        "ExpandButtonGradient");

    auto gradient = Refreshed<COSMWhidbeyGradientTheme>(4);
    EXPECT_EQ(RGB(152, 181, 226), gradient->PopupHighlightBorderColor.GetStandardValue());
    ExpectWhidbeyGradient(gradient->PopupHighlightGradient, {RGB(239, 243, 250), RGB(193, 210, 238), 0.5f},
                          "PopupHighlightGradient");
    ExpectWhidbeyGradient(gradient->PopupBarGripperHiddenGradient, {RGB(241, 241, 241), RGB(241, 241, 241), 0.5f},
                          "PopupBarGripperHiddenGradient");
    ExpectWhidbeyGradient(gradient->PopupBarGripperGradient, {RGB(215, 227, 234), RGB(215, 227, 234), 0.5f},
                          "PopupBarGripperGradient");
    EXPECT_EQ(RGB(221, 231, 238), gradient->GetColorEntry(56).GetStandardValue());
    EXPECT_EQ(RGB(0, 0, 0), gradient->PopupHighlightTextColor.GetStandardValue());
    // The toolbar itself stays the system's.
    EXPECT_EQ(office->ToolbarGradient.First().GetStandardValue(), gradient->ToolbarGradient.First().GetStandardValue());
}

TEST_F(WhidbeyRefreshTest, TheGradientLooksPopupColoursPerStyle)
{
    struct WhidbeyPopupRow
    {
        int style;
        COLORREF border;
        WhidbeyGradientValue highlight, hidden;
    } const rows[] = {
        {1,
         RGB(152, 181, 226),
         {RGB(239, 243, 250), RGB(193, 210, 238), 0.5f},
         {RGB(241, 241, 241), RGB(241, 241, 241), 0.5f}},
        {2,
         RGB(147, 160, 112),
         {RGB(239, 242, 227), RGB(194, 207, 158), 0.5f},
         {RGB(247, 246, 239), RGB(233, 230, 214), 0.5f}},
        {3,
         RGB(255, 192, 111),
         {RGB(255, 246, 204), RGB(255, 194, 115), 0.5f},
         {RGB(232, 233, 242), RGB(193, 193, 211), 0.5f}},
        {5,
         RGB(150, 217, 249),
         {RGB(241, 248, 251), RGB(186, 228, 246), 0.5f},
         {RGB(244, 247, 252), RGB(212, 216, 230), 0.5f}},
    };
    for (const WhidbeyPopupRow& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "style " << row.style);
        auto look = Refreshed<COSMWhidbeyGradientTheme>(row.style);
        EXPECT_EQ(row.border, look->PopupHighlightBorderColor.GetStandardValue());
        ExpectWhidbeyGradient(look->PopupHighlightGradient, row.highlight, "PopupHighlightGradient");
        ExpectWhidbeyGradient(look->PopupBarGripperHiddenGradient, row.hidden, "PopupBarGripperHiddenGradient");
        EXPECT_EQ(RGB(0, 0, 0), look->PopupHighlightTextColor.GetStandardValue());
    }
    auto silver = Refreshed<COSMWhidbeyGradientTheme>(3);
    EXPECT_EQ(RGB(110, 109, 143), silver->GetColorEntry(39).GetStandardValue());
    ExpectWhidbeyGradient(silver->PoppedGradient, {RGB(232, 233, 241), RGB(192, 191, 209), 0.5f}, "PoppedGradient");

    // No style: the system's highlight colours and a popup column from the face.
    auto plain = Refreshed<COSMWhidbeyGradientTheme>(0);
    EXPECT_EQ(plain->GetColor(COLOR_HIGHLIGHT), plain->PopupHighlightBorderColor.GetStandardValue());
    EXPECT_EQ(plain->GetColor(COLOR_HIGHLIGHTTEXT), plain->PopupHighlightTextColor.GetStandardValue());
    ExpectWhidbeyGradient(plain->PopupHighlightGradient,
                          {plain->GetColor(COLOR_HIGHLIGHT), plain->GetColor(COLOR_HIGHLIGHT), 0.5f},
                          "PopupHighlightGradient");
    ExpectWhidbeyGradient(
        plain->PopupBarGripperHiddenGradient,
        {COSMColorManager::BlendColors(plain->GetColor(COLOR_BTNFACE), plain->GetColor(COLOR_WINDOW), 40),
         plain->GetColor(COLOR_BTNFACE), 0.5f},
        "PopupBarGripperHiddenGradient");
}

TEST_F(WhidbeyRefreshTest, AeroGivesTheGradientLookItsOwnSet)
{
    auto look = Refreshed<COSMWhidbeyGradientTheme>(5);
    EXPECT_TRUE(look->LunaColors);
    ExpectWhidbeyGradient(look->DockBarGradient, {RGB(233, 236, 250), RGB(244, 247, 252), 0.5f}, "DockBarGradient");
    ExpectWhidbeyGradient(look->ToolbarGradient, {RGB(250, 250, 253), RGB(196, 203, 219), 0.75f}, "ToolbarGradient");
    ExpectWhidbeyGradient(look->PoppedGradient, {RGB(255, 255, 255), RGB(118, 184, 219), 0.5f}, "PoppedGradient");
    ExpectWhidbeyGradient(look->ExpandButtonGradient, {RGB(195, 202, 218), RGB(233, 236, 250), 0.75f},
                          "ExpandButtonGradient");
    ExpectWhidbeyGradient(look->GetFaceGradient(), {RGB(244, 247, 252), RGB(113, 124, 152), 0.5f},
                          "gradient colour pair");
    ExpectWhidbeyGradient(look->CheckedGradient, {RGB(237, 248, 253), RGB(129, 192, 224), 0.5f}, "CheckedGradient");
    ExpectWhidbeyGradient(look->HighlightGradient, {RGB(237, 248, 253), RGB(129, 192, 224), 0.5f}, "HighlightGradient");
    ExpectWhidbeyGradient(look->PushedGradient, {RGB(228, 245, 252), RGB(124, 177, 204), 0.5f}, "PushedGradient");
    EXPECT_EQ(RGB(181, 190, 206), look->ToolbarShadowColor.GetStandardValue());
    EXPECT_EQ(RGB(128, 128, 128), look->GetFloatingCaptionColor().GetStandardValue());
    EXPECT_EQ(RGB(160, 160, 180), look->StatusPaneBorderColor.GetStandardValue());
    EXPECT_EQ(RGB(0, 0, 0), look->GetShadowManager()->GetShadowColor());
    struct Entry
    {
        int index;
        COLORREF color;
    } const entries[] = {{53, RGB(240, 240, 240)}, {38, RGB(160, 160, 180)}, {39, RGB(160, 160, 180)},
                         {40, RGB(128, 128, 128)}, {41, RGB(240, 240, 240)}, {43, RGB(160, 160, 160)},
                         {31, RGB(182, 228, 247)}, {32, RGB(41, 153, 255)},  {50, RGB(41, 153, 255)},
                         {37, RGB(48, 127, 177)},  {33, RGB(206, 237, 250)}, {36, RGB(206, 237, 250)},
                         {30, RGB(233, 236, 250)}, {47, RGB(0, 0, 0)}};
    for (const Entry& e : entries)
        EXPECT_EQ(e.color, look->GetColorEntry(e.index).GetStandardValue()) << e.index;
    // The plain Whidbey look changes nothing more under aero.
    auto whidbey = Refreshed<COSMWhidbeyTheme>(5);
    EXPECT_FALSE(whidbey->LunaColors);
    EXPECT_NE(RGB(250, 250, 253), whidbey->ToolbarGradient.First().GetStandardValue());
}

TEST_F(WhidbeyRefreshTest, TheLooksAreIdsFourAndSevenAndSevenReportsTheWhidbeyClass)
{
    COSMPaintManager::RegisterThemes();
    struct IdCase
    {
        int id;
        const char* className;
    } const cases[] = {{4, "COSMWhidbeyTheme"}, {7, "COSMWhidbeyTheme"}};
    for (const IdCase& c : cases)
    {
        COSMPaintManager* pm = COSMPaintManager::CreateTheme(c.id);
        ASSERT_NE(nullptr, pm);
        EXPECT_STREQ(c.className, pm->GetRuntimeClass()->m_lpszClassName);
        EXPECT_TRUE(pm->IsKindOf(RUNTIME_CLASS(COSMOffice2003Theme)));
        EXPECT_EQ(c.id, pm->GetThemeId());
        EXPECT_EQ(0, pm->GetVisualStyleSelection());
        pm->InternalRelease();
    }
    COSMWhidbeyGradientTheme gradient;
    EXPECT_EQ(10, gradient.m_popupSeparatorIndent);
    EXPECT_EQ(1u, gradient.GetShadowManager()->GetFlags());
    EXPECT_TRUE(gradient.FlatSeparators);
}

// ---- The gradient look's drawing ----

class WhidbeyDrawTest : public UniqueColorsTest<COSMWhidbeyGradientTheme>
{
protected:
    void SetUp() override
    {
        scope = std::make_unique<COSMColorEnvironmentScope>(machine);
        UniqueColorsTest::SetUp();
    }
    void TearDown() override
    {
        UniqueColorsTest::TearDown();
        scope.reset();
    }
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

COLORREF WhidbeyBlendOver(COLORREF over, COLORREF under, int opacity)
{
    auto channel = [opacity](int a, int b) { return (a * opacity + b * (255 - opacity) + 127) / 255; };
    return RGB(channel(GetRValue(over), GetRValue(under)), channel(GetGValue(over), GetGValue(under)),
               channel(GetBValue(over), GetBValue(under)));
}

TEST_F(WhidbeyDrawTest, AHighlightedPopupRowIsRoundedWithBlendedCorners)
{
    const COLORREF face = RGB(200, 10, 10), border = RGB(10, 10, 200), under = RGB(30, 240, 30);
    theme->PopupHighlightGradient.First().SetCustomValue(face);
    theme->PopupHighlightGradient.Second().SetCustomValue(face);
    theme->PopupHighlightBorderColor.SetCustomValue(border);
    const CRect rect(2, 2, 42, 24);
    DcTestSurface canvas(44, 26, under);
    theme->DrawStateRectangle(Dc(canvas), rect, TRUE, FALSE, TRUE, FALSE, FALSE, 2, 5);
    // The four outermost corner pixels keep what was there.
    for (const CPoint& p : {CPoint(2, 2), CPoint(41, 2), CPoint(2, 23), CPoint(41, 23)})
        EXPECT_EQ(under, canvas.Pixel(p.x, p.y)) << p.x << "," << p.y;
    // The edges leave three pixels open at each end.
    EXPECT_TRUE(canvas.HasLine(CPoint(5, 2), CPoint(39, 2), border));
    EXPECT_TRUE(canvas.HasLine(CPoint(5, 23), CPoint(39, 23), border));
    EXPECT_TRUE(canvas.HasLine(CPoint(2, 5), CPoint(2, 21), border));
    EXPECT_TRUE(canvas.HasLine(CPoint(41, 5), CPoint(41, 21), border));
    EXPECT_TRUE(canvas.FilledWith(CRect(4, 4, 40, 22), face));
    // Each corner: the diagonal pixel at full opacity over the face, its edge neighbours at 60 over the canvas, the
    // next ones at 120.
    struct Corner
    {
        int x, y, dx, dy;  // the outermost pixel and the direction inwards
    } const corners[] = {{2, 2, 1, 1}, {41, 2, -1, 1}, {2, 23, 1, -1}, {41, 23, -1, -1}};
    for (const Corner& c : corners)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(border, canvas.Pixel(c.x + c.dx, c.y + c.dy));
        EXPECT_EQ(WhidbeyBlendOver(border, under, 60), canvas.Pixel(c.x + c.dx, c.y));
        EXPECT_EQ(WhidbeyBlendOver(border, under, 60), canvas.Pixel(c.x, c.y + c.dy));
        EXPECT_EQ(WhidbeyBlendOver(border, under, 120), canvas.Pixel(c.x + 2 * c.dx, c.y));
        EXPECT_EQ(WhidbeyBlendOver(border, under, 120), canvas.Pixel(c.x, c.y + 2 * c.dy));
    }
    EXPECT_TRUE(canvas.UntouchedOutside(rect));
    // The highlighted row's text.
    theme->PopupHighlightTextColor.SetCustomValue(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), theme->GetStateTextColor(TRUE, FALSE, TRUE, FALSE, FALSE, 2, 5));
    EXPECT_NE(RGB(1, 2, 3), theme->GetStateTextColor(TRUE, TRUE, TRUE, FALSE, FALSE, 2, 5));
    EXPECT_NE(RGB(1, 2, 3), theme->GetStateTextColor(TRUE, FALSE, TRUE, FALSE, FALSE, 1, 5));
}

TEST_F(WhidbeyDrawTest, AMenuBarSelectionIsFramedWithHalfBlendedCorners)
{
    const CRect rect(0, 0, 30, 20);
    for (BOOL luna : {FALSE, TRUE})
        for (BOOL popped : {FALSE, TRUE})
        {
            SCOPED_TRACE(testing::Message() << "luna " << luna << " popped " << popped);
            theme->LunaColors = luna;
            theme->PoppedGradient.First().SetCustomValue(RGB(200, 10, 10));
            theme->PoppedGradient.Second().SetCustomValue(RGB(200, 10, 10));
            theme->HighlightGradient.First().SetCustomValue(RGB(10, 200, 10));
            theme->HighlightGradient.Second().SetCustomValue(RGB(10, 200, 10));
            DcTestSurface canvas(30, 20, kWhidbeyCanvas);
            theme->DrawStateRectangle(Dc(canvas), rect, TRUE, FALSE, TRUE, FALSE, popped, 0, 0);
            EXPECT_TRUE(canvas.HasLine(CPoint(2, 1), CPoint(28, 1), C(Whidbey::kHotFrame)));
            EXPECT_TRUE(canvas.HasLine(CPoint(1, 2), CPoint(1, 18), C(Whidbey::kHotFrame)));
            const COLORREF corner = BlendColors(C(Whidbey::kHotFrame), C(COLOR_WINDOW), 0.5);
            for (const CPoint& p : {CPoint(1, 1), CPoint(28, 1), CPoint(1, 18), CPoint(28, 18)})
                EXPECT_EQ(corner, canvas.Pixel(p.x, p.y));
            const COLORREF fill = popped ? RGB(200, 10, 10) : luna ? RGB(10, 200, 10) : C(Whidbey::kHotFill);
            EXPECT_TRUE(canvas.FilledWith(CRect(2, 2, 28, 18), fill));
            EXPECT_TRUE(canvas.UntouchedOutside(CRect(1, 1, 29, 19)));
        }
}

TEST_F(WhidbeyDrawTest, PoppedControlsOnToolbarsAreFramedInTheHotFrame)
{
    theme->PoppedGradient.First().SetCustomValue(RGB(200, 10, 10));
    theme->PoppedGradient.Second().SetCustomValue(RGB(200, 10, 10));
    DcTestSurface canvas(20, 20, kWhidbeyCanvas);
    theme->DrawStateRectangle(Dc(canvas), CRect(0, 0, 20, 20), FALSE, FALSE, TRUE, FALSE, TRUE, 1, 0);
    EXPECT_TRUE(canvas.Has3dFrame(CRect(0, 0, 20, 20), C(Whidbey::kHotFrame), C(Whidbey::kHotFrame)));
    EXPECT_TRUE(canvas.FilledWith(CRect(1, 1, 19, 19), RGB(200, 10, 10)));
}

TEST_F(WhidbeyDrawTest, PopupSeparatorsStartPastTheIconColumnAndTheIndent)
{
    auto popup = Bar(2, 5);
    const int gripper = theme->GetPopupBarGripperWidth(popup.get());
    COSMControlButton control;
    control.SetRect(CRect(2, 30, 120, 52));
    control.SetRowRect(CRect(2, 2, 122, 80));
    DcTestSurface canvas(130, 90, kWhidbeyCanvas);
    EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarSeparator(Dc(canvas), popup.get(), &control, TRUE));
    const int x = 2 - 1 + gripper + 10;
    DcTestSurface expected(130, 90, kWhidbeyCanvas);
    expected.Fill(CRect(x, 28, 121, 29), C(Whidbey::kSeparatorLines));
    expected.Fill(CRect(x, 29, 121, 30), C(COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(canvas.EqualsCanvas(expected));

    // Before a new column: two vertical lines over the column's height.
    control.SetWrap(TRUE);
    DcTestSurface column(130, 90, kWhidbeyCanvas);
    theme->DrawCommandBarSeparator(Dc(column), popup.get(), &control, TRUE);
    DcTestSurface columnExpected(130, 90, kWhidbeyCanvas);
    columnExpected.Fill(CRect(0, 1, 1, 81), C(Whidbey::kSeparatorLines));
    columnExpected.Fill(CRect(1, 1, 2, 81), C(COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(column.EqualsCanvas(columnExpected));

    // Measured without a control, and on toolbars the single-line Office 2003 separator.
    EXPECT_EQ(CSize(3, 3), theme->DrawCommandBarSeparator(Dc(canvas), popup.get(), nullptr, FALSE));
    auto toolBar = Bar(1, 0);
    control.SetWrap(FALSE);
    control.SetRect(CRect(40, 22, 60, 42));
    control.SetRowRect(CRect(4, 20, 96, 44));
    DcTestSurface flat(130, 90, kWhidbeyCanvas);
    theme->DrawCommandBarSeparator(Dc(flat), toolBar.get(), &control, TRUE);
    DcTestSurface flatExpected(130, 90, kWhidbeyCanvas);
    flatExpected.Fill(CRect(36, 24, 37, 40), C(Whidbey::kSeparatorLines));
    EXPECT_TRUE(flat.EqualsCanvas(flatExpected));
}

TEST_F(WhidbeyDrawTest, PopupMenusHaveWiderBordersAndTheirGripperTwoLines)
{
    EXPECT_EQ(CRect(4, 3, 4, 3), theme->GetCommandBarBorders(Bar(2, 5).get()));
    EXPECT_EQ(CRect(4, 2, 2, 2), theme->GetCommandBarBorders(Bar(1, 0).get()));
    EXPECT_EQ(CRect(2, 2, 2, 2), theme->GetCommandBarBorders(Bar(2, 4).get()));

    theme->PopupBarGripperGradient.First().SetCustomValue(RGB(200, 10, 10));
    theme->PopupBarGripperGradient.Second().SetCustomValue(RGB(200, 10, 10));
    DcTestSurface canvas(40, 40, kWhidbeyCanvas);
    theme->FillPopupBarGripper(Dc(canvas), 3, 4, 20, 30, TRUE);
    EXPECT_TRUE(canvas.FilledWith(CRect(3, 4, 23, 34), RGB(200, 10, 10)));
    EXPECT_TRUE(canvas.FilledWith(CRect(23, 4, 24, 34), C(Whidbey::kSeparatorLines)));
    EXPECT_TRUE(canvas.FilledWith(CRect(24, 4, 25, 34), C(COLOR_BTNHIGHLIGHT)));
    EXPECT_TRUE(canvas.UntouchedOutside(CRect(3, 4, 25, 34)));

    // Controls on popups grow by a pixel each side.
    COSMCommandBar popup;
    popup.SetType(2);
    COSMControl* row = popup.GetControls()->Add(1, 1);
    CRect rect(10, 10, 50, 30);
    theme->AdjustControlRect(rect, row, FALSE);
    EXPECT_EQ(CRect(9, 10, 51, 30), rect);
}

}  // namespace
