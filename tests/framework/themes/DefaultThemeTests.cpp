// The Default look drawn headless into DIB sections, every table entry in a colour of its own: the pixel harness
// itself, the theme factory, the primitives' "no colour", state frames and text colours, icons, popup rows, split
// buttons, edits, combo boxes and the customize lists' rows.
#include "ImageTestSupport.h"
#include "ThemeTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/testing/TestPaintManager.h"
#include "framework/controls/ControlEdit.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/themes/DefaultTheme.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

using themes_test::DcTestSurface;
using themes_test::MakeSolidIcon;
using themes_test::RecordingTheme;
using themes_test::SolidImage;
using themes_test::Stated;
using themes_test::StateRectangleCall;
using themes_test::UniqueColorsTest;

namespace {

constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);
// The canvas' own colour: no table entry has it.
constexpr COLORREF kCanvas = RGB(255, 255, 255);

class DefaultThemeTest : public UniqueColorsTest<COSMDefaultTheme>
{};

// ---- The harness ----

TEST_F(DefaultThemeTest, AWrongFillFailsNamingBothIndexes)
{
    DcTestSurface canvas(20, 10, kCanvas);
    theme->FillFramedRect(Dc(canvas), CRect(2, 2, 12, 8), 31, 31);
    const std::string message = "pixel (2, 2) is " + foundation_test::DescribePixelColor(C(31)) + ", expected " +
                                foundation_test::DescribePixelColor(C(33));
    EXPECT_NE(std::string::npos, message.find("(index 31)"));
    EXPECT_NE(std::string::npos, message.find("(index 33)"));
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(canvas.FilledWith(CRect(2, 2, 12, 8), C(33))), message);
    EXPECT_TRUE(canvas.FilledWith(CRect(2, 2, 12, 8), C(31)));
    EXPECT_TRUE(canvas.UntouchedOutside(CRect(2, 2, 12, 8)));
    EXPECT_EQ(2u, canvas.ColorCount());
}

TEST_F(DefaultThemeTest, TheFixturesColoursAreDistinctAndMissTheExcludedOnes)
{
    std::set<COLORREF> colors;
    for (int i = 0; i < COSMPaintManager::kColorCount; ++i)
        colors.insert(C(i));
    EXPECT_EQ(static_cast<size_t>(COSMPaintManager::kColorCount), colors.size());
    for (COLORREF excluded : themes_test::BaseExcludedColors())
        EXPECT_EQ(0u, colors.count(excluded)) << foundation_test::DescribePixelColor(excluded);
    // What the refresh resolves from indexes is unique too.
    EXPECT_EQ(C(COLOR_ACTIVECAPTION), theme->GetFloatingCaptionColor().GetEffective());
    EXPECT_EQ(C(COLOR_CAPTIONTEXT), theme->GetFloatingCaptionTextColor().GetEffective());
    EXPECT_EQ(C(COLOR_BTNFACE), theme->GetFaceGradient().First().GetEffective());
    EXPECT_EQ(C(COLOR_BTNSHADOW), theme->GetFaceGradient().Second().GetEffective());
}

// ---- The factory and registration ----

TEST_F(DefaultThemeTest, IdZeroAndUnknownIdsGiveTheDefaultLook)
{
    COSMPaintManager::RegisterThemes();
    for (int id : {0, 42})
    {
        COSMPaintManager* pm = COSMPaintManager::CreateTheme(id);
        ASSERT_NE(nullptr, pm) << id;
        EXPECT_TRUE(pm->IsKindOf(RUNTIME_CLASS(COSMDefaultTheme))) << id;
        EXPECT_STREQ("COSMDefaultTheme", pm->GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(id, pm->GetRecordedThemeId());
        EXPECT_EQ(0, pm->GetThemeId());
        pm->InternalRelease();
    }
    // An id outside the factory's table installs the Default look and keeps the id asked for.
    COSMPaintManager::SetTheme(42);
    ASSERT_NE(nullptr, COSMPaintManager::GetGlobalPaintManager());
    EXPECT_TRUE(COSMPaintManager::GetGlobalPaintManager()->IsKindOf(RUNTIME_CLASS(COSMDefaultTheme)));
    EXPECT_EQ(42, COSMPaintManager::GetGlobalPaintManager()->GetRecordedThemeId());
}

TEST_F(DefaultThemeTest, TheTestPaintManagerServesTheTestsThatRegisterIt)
{
    COSMPaintManager::RegisterThemeCreator(0, &COSMTestPaintManager::Create);
    COSMPaintManager::SetTheme(0);
    auto* pm = dynamic_cast<COSMTestPaintManager*>(COSMPaintManager::GetGlobalPaintManager());
    ASSERT_NE(nullptr, pm);
    DcTestSurface canvas(10, 10, kCanvas);
    pm->DrawStateRectangle(Dc(canvas), CRect(0, 0, 10, 10), 1, 0, 1, 0, 0, 1, 0);
    ASSERT_FALSE(pm->GetCalls().empty());
}

// A fixture that empties the factory gives the looks back when it ends.
class EmptyingFixture : public foundation_test::PaintManagerTest
{
public:
    void TestBody() override {}
    void Begin() { SetUp(); }
    void End() { TearDown(); }
};

TEST(ThemeRegistration, ThePaintManagerFixtureLeavesTheDefaultLookBehind)
{
    EmptyingFixture fixture;
    fixture.Begin();
    EXPECT_EQ(nullptr, COSMPaintManager::CreateTheme(0));
    fixture.End();
    COSMPaintManager* pm = COSMPaintManager::CreateTheme(0);
    ASSERT_NE(nullptr, pm);
    EXPECT_TRUE(pm->IsKindOf(RUNTIME_CLASS(COSMDefaultTheme)));
    pm->InternalRelease();
}

// ---- "No colour" in the primitives ----

TEST_F(DefaultThemeTest, PrimitivesDrawNothingInAColourOfMinusOne)
{
    theme->GetColorEntry(31).ResetCustomValue();
    theme->GetColorEntry(31).SetStandardValue(kNoColor);
    ASSERT_EQ(kNoColor, theme->GetColor(31));
    const CRect rect(2, 2, 18, 14);
    const std::vector<std::pair<const char*, std::function<void(CDC*)>>> cases = {
        {"FillFramedRect", [&](CDC* dc) { theme->FillFramedRect(dc, rect, 31, 31); }},
        {"Draw3dRectIndexed", [&](CDC* dc) { theme->Draw3dRectIndexed(dc, rect, 31, 31); }},
        {"HorizontalLine", [&](CDC* dc) { theme->HorizontalLine(dc, 2, 5, 18, theme->GetColor(31)); }},
        {"VerticalLine", [&](CDC* dc) { theme->VerticalLine(dc, 5, 2, 14, theme->GetColor(31)); }},
        {"DrawLineIndexed", [&](CDC* dc) { theme->DrawLineIndexed(dc, 2, 2, 18, 14, 31); }},
        {"DrawTriangle",
         [&](CDC* dc) { DrawTriangle(dc, CPoint(2, 2), CPoint(18, 2), CPoint(10, 12), theme->GetColor(31)); }},
        {"COSMPenDC",
         [&](CDC* dc) {
             COSMPenDC pen(dc->GetSafeHdc(), theme->GetColor(31));
             dc->MoveTo(2, 2);
             dc->LineTo(18, 14);
         }},
        {"GradientFill first",
         [&](CDC* dc) { GetDrawHelpers()->GradientFill(dc, rect, theme->GetColor(31), C(5), FALSE); }},
        {"GradientFill second",
         [&](CDC* dc) { GetDrawHelpers()->GradientFill(dc, rect, C(5), theme->GetColor(31), TRUE); }},
        {"GradientFillClipped",
         [&](CDC* dc) {
             const CRect clip(4, 4, 10, 10);
             GetDrawHelpers()->GradientFillClipped(dc, rect, theme->GetColor(31), C(5), TRUE, clip);
         }},
    };
    for (const auto& [name, draw] : cases)
    {
        DcTestSurface canvas(20, 16, kCanvas);
        draw(Dc(canvas));
        EXPECT_TRUE(canvas.Untouched()) << name;
    }

    // A valid fill with a "no colour" frame only fills; a "no colour" corner pair leaves the other pair drawn.
    DcTestSurface canvas(20, 16, kCanvas);
    theme->FillFramedRect(Dc(canvas), rect, 31, 5);
    EXPECT_TRUE(canvas.FilledWith(rect, C(5)));
    EXPECT_TRUE(canvas.UntouchedOutside(rect));
    DcTestSurface half(20, 16, kCanvas);
    theme->Draw3dRectIndexed(Dc(half), rect, 31, 16);
    EXPECT_TRUE(half.HasLine(CPoint(rect.right - 1, rect.top), CPoint(rect.right - 1, rect.bottom), C(16)));
    EXPECT_TRUE(half.HasLine(CPoint(rect.left, rect.bottom - 1), CPoint(rect.right, rect.bottom - 1), C(16)));
    EXPECT_TRUE(half.Untouched(CRect(rect.left, rect.top, rect.right - 1, rect.bottom - 1)));
}

// ---- State rectangles ----

enum class Face
{
    Nothing,
    Highlight,
    CheckerSunken,
    Raised,
    Sunken
};

struct StateCase
{
    const char* name;
    int selected, pressed, enabled, checked, popped, barType, barPosition;
    BOOL fullRow;
    Face face;
};

// The checkerboard: neighbours alternate between face and highlight, diagonal neighbours agree.
::testing::AssertionResult IsCheckerboard(const DcTestSurface& canvas, const CRect& inside, COLORREF a, COLORREF b)
{
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x)
        {
            const COLORREF pixel = canvas.Pixel(x, y);
            if (pixel != a && pixel != b)
                return ::testing::AssertionFailure()
                       << "(" << x << ", " << y << ") is " << foundation_test::DescribePixelColor(pixel);
            if (x + 1 < inside.right && canvas.Pixel(x + 1, y) == pixel)
                return ::testing::AssertionFailure() << "(" << x << ", " << y << ") and its right neighbour agree";
            if (y + 1 < inside.bottom && canvas.Pixel(x, y + 1) == pixel)
                return ::testing::AssertionFailure() << "(" << x << ", " << y << ") and its lower neighbour agree";
        }
    return ::testing::AssertionSuccess();
}

TEST_F(DefaultThemeTest, StateRectanglesFollowTheFirstRuleThatApplies)
{
    const StateCase cases[] = {
        {"full-row popup, checked", 0, 0, 1, 1, 0, 2, 5, TRUE, Face::CheckerSunken},
        {"full-row popup, checked and selected", 1, 0, 1, 1, 0, 2, 5, TRUE, Face::CheckerSunken},
        {"popup row, idle", 0, 0, 1, 0, 0, 2, 5, FALSE, Face::Nothing},
        {"popup row, selected", 1, 0, 1, 0, 0, 2, 5, FALSE, Face::Highlight},
        {"popup row, pressed", 0, 1, 1, 0, 0, 2, 5, FALSE, Face::Highlight},
        {"popup row, disabled and selected", 1, 0, 0, 0, 0, 2, 5, FALSE, Face::Highlight},
        {"popup box, checked", 0, 0, 1, 1, 0, 2, 5, FALSE, Face::CheckerSunken},
        {"button, checked", 0, 0, 1, 1, 0, 1, 0, FALSE, Face::CheckerSunken},
        {"button, checked and selected", 1, 0, 1, 1, 0, 1, 0, FALSE, Face::Sunken},
        {"button, idle", 0, 0, 1, 0, 0, 1, 0, FALSE, Face::Nothing},
        {"button, selected", 1, 0, 1, 0, 0, 1, 0, FALSE, Face::Raised},
        {"button, held without the mouse over it", 0, 1, 1, 0, 0, 1, 0, FALSE, Face::Raised},
        {"button, selected and pressed", 1, 1, 1, 0, 0, 1, 0, FALSE, Face::Sunken},
        {"button, pressed after executing", 0, 2, 1, 0, 0, 1, 0, FALSE, Face::Sunken},
        {"button, popped", 0, 0, 1, 0, 1, 1, 0, FALSE, Face::Sunken},
        {"button, full-row option off the popup", 0, 0, 1, 1, 0, 1, 0, TRUE, Face::CheckerSunken},
        {"disabled, checked", 0, 0, 0, 1, 0, 1, 0, FALSE, Face::Sunken},
        {"disabled, keyboard selection", 2, 0, 0, 0, 0, 1, 0, FALSE, Face::Sunken},
        {"disabled, mouse selection", 1, 0, 0, 0, 0, 1, 0, FALSE, Face::Nothing},
        {"disabled, idle", 0, 0, 0, 0, 0, 1, 0, FALSE, Face::Nothing},
    };
    const CRect rect(3, 2, 23, 16);
    CRect inside = rect;
    inside.DeflateRect(1, 1);
    for (const StateCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        theme->m_popupFullRowHighlight = c.fullRow;
        DcTestSurface canvas(26, 18, kCanvas);
        CDC* dc = Dc(canvas);
        const COLORREF textBefore = dc->SetTextColor(RGB(1, 2, 3));
        const COLORREF backBefore = dc->SetBkColor(RGB(4, 5, 6));
        const HGDIOBJ brushBefore = ::GetCurrentObject(dc->GetSafeHdc(), OBJ_BRUSH);
        theme->DrawStateRectangle(dc, rect, c.selected, c.pressed, c.enabled, c.checked, c.popped, c.barType,
                                  c.barPosition);
        EXPECT_EQ(RGB(1, 2, 3), dc->GetTextColor());
        EXPECT_EQ(RGB(4, 5, 6), dc->GetBkColor());
        EXPECT_EQ(brushBefore, ::GetCurrentObject(dc->GetSafeHdc(), OBJ_BRUSH));
        dc->SetTextColor(textBefore);
        dc->SetBkColor(backBefore);
        EXPECT_TRUE(canvas.UntouchedOutside(rect));
        switch (c.face)
        {
        case Face::Nothing:
            EXPECT_TRUE(canvas.Untouched());
            break;
        case Face::Highlight:
            EXPECT_TRUE(canvas.FilledWith(rect, C(COLOR_HIGHLIGHT)));
            break;
        case Face::CheckerSunken:
            EXPECT_TRUE(canvas.Has3dFrame(rect, C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT)));
            EXPECT_TRUE(IsCheckerboard(canvas, inside, C(COLOR_BTNFACE), C(COLOR_BTNHIGHLIGHT)));
            break;
        case Face::Raised:
            EXPECT_TRUE(canvas.Has3dFrame(rect, C(COLOR_BTNHIGHLIGHT), C(COLOR_BTNSHADOW)));
            EXPECT_TRUE(canvas.Untouched(inside));
            break;
        case Face::Sunken:
            EXPECT_TRUE(canvas.Has3dFrame(rect, C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT)));
            EXPECT_TRUE(canvas.Untouched(inside));
            break;
        }
    }
}

TEST_F(DefaultThemeTest, TextColoursFollowTheBarAndTheState)
{
    theme->PopupBarTextColor = 7;
    struct TextCase
    {
        const char* name;
        int selected, enabled, checked, barType, barPosition;
        int index;
    } const cases[] = {
        {"toolbar", 0, 1, 0, 1, 0, COLOR_BTNTEXT},
        {"toolbar, selected", 1, 1, 0, 1, 2, COLOR_BTNTEXT},
        {"toolbar disabled", 0, 0, 0, 1, 0, COLOR_GRAYTEXT},
        {"toolbar in a popup", 0, 1, 0, 1, 5, 7},
        {"menu bar in a popup", 1, 1, 0, 0, 5, 7},
        {"popup row", 0, 1, 0, 2, 5, 7},
        {"popup row, selected", 1, 1, 0, 2, 5, COLOR_HIGHLIGHTTEXT},
        {"popup row, selected and checked", 1, 1, 1, 2, 5, 7},
        {"popup row, disabled and selected", 1, 0, 0, 2, 5, COLOR_GRAYTEXT},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(C(c.index),
                  theme->GetStateTextColor(c.selected, FALSE, c.enabled, c.checked, FALSE, c.barType, c.barPosition))
            << c.name;
}

// ---- Icons ----

// The icon colours stay clear of the table's (green 101 to 163).
const COLORREF kNormal = RGB(200, 5, 5);
const COLORREF kSelectedImage = RGB(5, 5, 200);
const COLORREF kCheckedImage = RGB(220, 5, 120);
const COLORREF kPressedImage = RGB(120, 5, 220);
const COLORREF kDisabledImage = RGB(60, 5, 60);
const UINT kIconId = 4711;

class DefaultThemeIconTest : public DefaultThemeTest
{
protected:
    void SetUp() override
    {
        DefaultThemeTest::SetUp();
        images = new COSMImageManager;
        ASSERT_TRUE(images->SetIcon(MakeSolidIcon(kNormal), kIconId, 16, 16));
        icon = images->GetImage(kIconId, 16);
        ASSERT_NE(nullptr, icon);
        icon->SetStateImage2(SolidImage(kSelectedImage));
        icon->SetStateImage3(SolidImage(kCheckedImage));
        icon->SetStateImage4(SolidImage(kPressedImage));
    }
    void TearDown() override
    {
        images->InternalRelease();
        DefaultThemeTest::TearDown();
    }

    // The icon drawn at (8, 8) on a 32 x 32 canvas.
    void Draw(DcTestSurface& canvas, int selected, int pressed, int enabled, int checked, int popped)
    {
        theme->DrawControlImage(Dc(canvas), CPoint(8, 8), CSize(16, 16), icon, selected, pressed, enabled, checked,
                                popped, FALSE);
    }

    COSMImageManager* images = nullptr;
    COSMImageManagerIcon* icon = nullptr;
};

TEST_F(DefaultThemeIconTest, EachStatePicksItsImageAndPlace)
{
    struct IconCase
    {
        const char* name;
        int selected, pressed, enabled, checked, popped;
        COLORREF color;
        CPoint offset;
    } const cases[] = {
        {"idle", 0, 0, 1, 0, 0, kNormal, CPoint(0, 0)},
        {"selected", 1, 0, 1, 0, 0, kSelectedImage, CPoint(0, 0)},
        {"held without the mouse over it", 0, 1, 1, 0, 0, kSelectedImage, CPoint(0, 0)},
        {"selected and pressed", 1, 1, 1, 0, 0, kPressedImage, CPoint(1, 1)},
        {"pressed after executing", 0, 2, 1, 0, 0, kPressedImage, CPoint(1, 1)},
        {"checked", 0, 0, 1, 1, 0, kCheckedImage, CPoint(0, 0)},
        {"popped", 1, 0, 1, 0, 1, kNormal, CPoint(0, 0)},
    };
    for (const IconCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        DcTestSurface canvas(32, 32, kCanvas);
        Draw(canvas, c.selected, c.pressed, c.enabled, c.checked, c.popped);
        const CRect square(CPoint(8, 8) + c.offset, CSize(16, 16));
        EXPECT_TRUE(canvas.FilledWith(square, c.color));
        EXPECT_TRUE(canvas.UntouchedOutside(square));
    }
}

TEST_F(DefaultThemeIconTest, AThirdStateCheckedIconIsDrawnInTheShadowColour)
{
    DcTestSurface canvas(32, 32, kCanvas);
    Draw(canvas, 0, 0, 1, 2, 0);
    EXPECT_TRUE(canvas.FilledWith(CRect(8, 8, 24, 24), C(COLOR_BTNSHADOW)));
    EXPECT_TRUE(canvas.UntouchedOutside(CRect(8, 8, 24, 24)));
}

TEST_F(DefaultThemeIconTest, TheShadowOptionDrawsTheShadowUnderTheLiftedImage)
{
    theme->GetIconsInfo()->iconsWithShadow = 1;
    ASSERT_FALSE(icon->GetShadowIcon().IsEmpty());
    DcTestSurface shadowAlone(32, 32, kCanvas);
    icon->Draw(Dc(shadowAlone), CPoint(9, 9), icon->GetShadowIcon(), CSize(16, 16));
    DcTestSurface canvas(32, 32, kCanvas);
    Draw(canvas, 1, 0, 1, 0, 0);
    EXPECT_TRUE(canvas.FilledWith(CRect(7, 7, 23, 23), kSelectedImage));
    EXPECT_EQ(shadowAlone.Pixel(24, 24), canvas.Pixel(24, 24));
    EXPECT_EQ(shadowAlone.Pixel(23, 12), canvas.Pixel(23, 12));
    EXPECT_NE(kCanvas, canvas.Pixel(24, 24));
}

TEST_F(DefaultThemeIconTest, TheFadedOptionDrawsTheFadedImage)
{
    theme->GetIconsInfo()->useFadedIcons = 1;
    DcTestSurface faded(32, 32, kCanvas);
    icon->Draw(Dc(faded), CPoint(8, 8), icon->GetFadedIcon(), CSize(16, 16));
    DcTestSurface canvas(32, 32, kCanvas);
    Draw(canvas, 0, 0, 1, 0, 0);
    EXPECT_TRUE(canvas.EqualsCanvas(faded));
}

TEST_F(DefaultThemeIconTest, ADisabledIconWithoutAlphaIsEmbossed)
{
    DcTestSurface canvas(32, 32, kCanvas);
    Draw(canvas, 0, 0, 0, 0, 0);
    EXPECT_TRUE(canvas.FilledWith(CRect(8, 8, 24, 24), C(COLOR_BTNSHADOW)));
    EXPECT_TRUE(canvas.HasLine(CPoint(9, 24), CPoint(25, 24), C(COLOR_BTNHIGHLIGHT)));
    EXPECT_TRUE(canvas.HasLine(CPoint(24, 9), CPoint(24, 25), C(COLOR_BTNHIGHLIGHT)));
    EXPECT_TRUE(canvas.UntouchedOutside(CRect(8, 8, 25, 25)));
}

TEST_F(DefaultThemeIconTest, TheDisabledIconsOptionDrawsTheDisabledImage)
{
    theme->GetIconsInfo()->useDisabledIcons = 1;
    icon->SetDisabledIcon(SolidImage(kDisabledImage));
    DcTestSurface canvas(32, 32, kCanvas);
    Draw(canvas, 0, 0, 0, 0, 0);
    EXPECT_TRUE(canvas.FilledWith(CRect(8, 8, 24, 24), kDisabledImage));
    EXPECT_TRUE(canvas.UntouchedOutside(CRect(8, 8, 24, 24)));
}

TEST_F(DefaultThemeIconTest, TheBuildOptionMakesTheDisabledImageOnceInTheGradientsColours)
{
    theme->GetIconsInfo()->useDisabledIcons = 1;
    theme->GetIconsInfo()->buildDisabledIcons = 1;
    ASSERT_FALSE(icon->HasDisabledIcon());
    DcTestSurface first(32, 32, kCanvas);
    Draw(first, 0, 0, 0, 0, 0);
    ASSERT_TRUE(icon->HasDisabledIcon());
    // Between the gradient's dark and light colours, channel by channel.
    const COLORREF built = first.Pixel(12, 12);
    const COLORREF light = C(COLOR_BTNFACE), dark = C(COLOR_BTNSHADOW);
    auto between = [](int value, int a, int b) { return value >= std::min(a, b) && value <= std::max(a, b); };
    EXPECT_TRUE(between(GetRValue(built), GetRValue(light), GetRValue(dark)) &&
                between(GetGValue(built), GetGValue(light), GetGValue(dark)) &&
                between(GetBValue(built), GetBValue(light), GetBValue(dark)))
        << foundation_test::DescribePixelColor(built);
    EXPECT_TRUE(first.FilledWith(CRect(8, 8, 24, 24), built));

    // Once made it stays, whatever the gradient says later.
    theme->GetFaceGradient().SetStandardColors(RGB(10, 20, 30), RGB(40, 50, 60), 0.5f);
    theme->GetFaceGradient().First().ResetCustomValue();
    DcTestSurface second(32, 32, kCanvas);
    Draw(second, 0, 0, 0, 0, 0);
    EXPECT_TRUE(second.EqualsCanvas(first));
}

// ---- Popup rows ----

class PopupRowTest : public UniqueColorsTest<RecordingTheme<COSMDefaultTheme>>
{
protected:
    void SetUp() override
    {
        UniqueColorsTest::SetUp();
        theme->SetControlHeight(22);
        bar.SetType(2);
        bar.SetPosition(5);
        images = new COSMImageManager;
        bar.SetImageManager(images);
        ASSERT_TRUE(images->SetIcon(MakeSolidIcon(kNormal), kIconId, 16, 16));
    }
    void TearDown() override
    {
        bar.SetImageManager(nullptr);
        images->InternalRelease();
        UniqueColorsTest::TearDown();
    }

    // The control as a row of the bar at (0, 0)-(120, 22), without a caption.
    template <class Control> void Place(Control& control, int type)
    {
        control.SetType(type);
        control.SetParent(&bar);
        control.SetRect(kRow);
    }
    void DrawRow(DcTestSurface& canvas, COSMControl& control)
    {
        theme->stateRectangles.clear();
        theme->DrawPopupBarControl(Dc(canvas), &control, TRUE);
    }

    static inline const CRect kRow{0, 0, 120, 22};
    COSMCommandBar bar;
    COSMImageManager* images = nullptr;
};

TEST_F(PopupRowTest, AnIdleRowPaintsNothing)
{
    Stated<COSMControlButton> row;
    Place(row, 1);
    DcTestSurface canvas(120, 22, kCanvas);
    DrawRow(canvas, row);
    EXPECT_TRUE(canvas.Untouched());
    EXPECT_TRUE(theme->stateRectangles.empty());
}

TEST_F(PopupRowTest, TheFullRowHighlightAsksForTheRowsStateRectangle)
{
    theme->m_popupFullRowHighlight = TRUE;
    Stated<COSMControlButton> row;
    Place(row, 1);
    row.selected = 1;
    DcTestSurface canvas(120, 22, kCanvas);
    DrawRow(canvas, row);
    ASSERT_FALSE(theme->stateRectangles.empty());
    EXPECT_EQ((StateRectangleCall{kRow, 1, 0, 1, 0, 0, 2, 5}), theme->stateRectangles.front());
    EXPECT_TRUE(canvas.FilledWith(CRect(0, 0, 120, 22), C(COLOR_HIGHLIGHT)));
}

TEST_F(PopupRowTest, ACheckedRowGetsItsBoxAndAMarkInTheRowsColour)
{
    for (int enabled : {1, 0})
    {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        Stated<COSMControlButton> row;
        Place(row, 1);
        row.SetChecked(1);
        row.SetEnabled(enabled);
        DcTestSurface canvas(120, 22, kCanvas);
        DrawRow(canvas, row);
        const CRect box(0, 0, 22, 22);
        ASSERT_FALSE(theme->stateRectangles.empty());
        EXPECT_EQ((StateRectangleCall{box, 0, 0, enabled, 1, 0, 2, 5}), theme->stateRectangles.front());
        EXPECT_TRUE(canvas.Has3dFrame(box, C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT)));
        // The mark is in the 20 x 20 rectangle centred in the box.
        const COLORREF mark = C(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
        int marked = 0;
        for (int y = 1; y < 21; ++y)
            for (int x = 1; x < 21; ++x)
                marked += canvas.Pixel(x, y) == mark;
        EXPECT_GT(marked, 4);
    }
}

TEST_F(PopupRowTest, ADoubleGripperMovesTheIconBoxByItsWidthAndOne)
{
    bar.SetDoubleGripper(TRUE);
    Stated<COSMControlButton> row;
    Place(row, 1);
    row.SetID(kIconId);
    row.SetChecked(1);
    DcTestSurface canvas(120, 22, kCanvas);
    DrawRow(canvas, row);
    ASSERT_EQ(2u, theme->stateRectangles.size());
    EXPECT_EQ((StateRectangleCall{CRect(0, 0, 22, 22), 0, 0, 1, 1, 0, 2, 5}), theme->stateRectangles[0]);
    EXPECT_EQ((StateRectangleCall{CRect(23, 0, 45, 22), 0, 0, 1, 0, 0, 1, 5}), theme->stateRectangles[1]);
    // The icon centred in the moved box, the check mark in the first.
    EXPECT_TRUE(canvas.FilledWith(CRect(26, 3, 42, 19), kNormal));
}

TEST_F(PopupRowTest, SubMenuRowsGetTheArrowAtTheRightEdge)
{
    for (int type : {2, 3})
    {
        Stated<COSMControlPopup> row;
        Place(row, type);
        DcTestSurface canvas(120, 22, kCanvas);
        DrawRow(canvas, row);
        const COLORREF text = C(COLOR_BTNTEXT);
        EXPECT_EQ(text, canvas.Pixel(120 - 11, 11 - 3)) << type;
        EXPECT_EQ(text, canvas.Pixel(120 - 11, 11 + 3)) << type;
        EXPECT_EQ(text, canvas.Pixel(120 - 8, 11)) << type;
        EXPECT_TRUE(canvas.Untouched(CRect(120 - 7, 0, 120, 22))) << type;
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 120 - 11, 22))) << type;
    }
}

TEST_F(PopupRowTest, ASplitRowsLineTakesItsColourFromTheState)
{
    theme->PopupBarTextColor = 7;
    struct LineCase
    {
        const char* name;
        int selected;
        int enabled;
        int index;
    } const cases[] = {
        {"idle", 0, 1, 7},
        {"selected", 1, 1, COLOR_BTNSHADOW},
        {"disabled", 0, 0, COLOR_GRAYTEXT},
        {"command part off (5)", 0, 5, COLOR_GRAYTEXT},
    };
    for (const LineCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlPopup> row;
        Place(row, 4);
        row.selected = c.selected;
        row.SetEnabled(c.enabled);
        DcTestSurface canvas(120, 22, kCanvas);
        DrawRow(canvas, row);
        EXPECT_TRUE(canvas.HasLine(CPoint(100, 1), CPoint(100, 21), C(c.index)));
    }
}

TEST_F(PopupRowTest, AnOpenSelectedSplitRowSinksItsArrowPart)
{
    Stated<COSMControlPopup> row;
    Place(row, 4);
    row.selected = 1;
    row.popupOpen = TRUE;
    DcTestSurface canvas(120, 22, kCanvas);
    DrawRow(canvas, row);
    EXPECT_TRUE(canvas.Has3dFrame(CRect(100, 0, 120, 22), C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT)));
    // The text part, 20 pixels shorter, is highlighted; the arrow is in the popup text colour.
    ASSERT_FALSE(theme->stateRectangles.empty());
    EXPECT_EQ((StateRectangleCall{CRect(0, 0, 100, 22), 1, 0, 1, 0, 0, 2, 5}), theme->stateRectangles.back());
    EXPECT_TRUE(canvas.FilledWith(CRect(0, 0, 100, 22), C(COLOR_HIGHLIGHT)));
    EXPECT_EQ(C(COLOR_BTNTEXT), canvas.Pixel(120 - 8, 11));
}

TEST_F(PopupRowTest, ARowHiddenUntilExpandedIsFilledAndRepaintsTheGripperColumn)
{
    Stated<COSMControlButton> row;
    Place(row, 1);
    row.SetHideWhenNotUsed(TRUE);
    DcTestSurface canvas(120, 22, kCanvas);
    DrawRow(canvas, row);
    EXPECT_TRUE(canvas.FilledWith(kRow, C(COLOR_3DLIGHT)));
    ASSERT_EQ(1u, theme->gripperFills.size());
    EXPECT_EQ(CRect(-1, 0, theme->GetPopupBarGripperWidth(&bar), 22), theme->gripperFills[0]);
    EXPECT_TRUE(theme->gripperExpanded[0]);
}

// ---- Split buttons, edits, combo boxes ----

class ToolBarControlTest : public UniqueColorsTest<RecordingTheme<COSMDefaultTheme>>
{
protected:
    void SetUp() override
    {
        UniqueColorsTest::SetUp();
        bar.SetType(1);
        bar.SetPosition(0);
    }
    COSMCommandBar bar;
};

TEST_F(ToolBarControlTest, ASplitButtonsDropPartIsTwelveWideWithTheGlyph)
{
    for (int enabled : {1, 4})
    {
        SCOPED_TRACE(enabled);
        Stated<COSMControlPopup> button;
        button.SetType(4);
        button.SetParent(&bar);
        button.SetEnabled(enabled);
        button.selected = 1;
        const CRect rect(0, 0, 40, 22);
        DcTestSurface canvas(40, 22, kCanvas);
        theme->stateRectangles.clear();
        theme->DrawSplitButtonFrame(Dc(canvas), &button, rect);
        ASSERT_EQ(2u, theme->stateRectangles.size());
        EXPECT_EQ((StateRectangleCall{CRect(0, 0, 28, 22), 1, 0, 1, 0, 0, 1, 0}), theme->stateRectangles[0]);
        EXPECT_EQ((StateRectangleCall{CRect(28, 0, 40, 22), 1, 0, 1, 0, 0, 1, 0}), theme->stateRectangles[1]);
        EXPECT_TRUE(canvas.Has3dFrame(CRect(0, 0, 28, 22), C(COLOR_BTNHIGHLIGHT), C(COLOR_BTNSHADOW)));
        EXPECT_TRUE(canvas.Has3dFrame(CRect(28, 0, 40, 22), C(COLOR_BTNHIGHLIGHT), C(COLOR_BTNSHADOW)));
        EXPECT_EQ(C(enabled == 4 ? COLOR_GRAYTEXT : COLOR_BTNTEXT), canvas.Pixel(40 - 7, 11));
    }
}

TEST_F(ToolBarControlTest, ALargeSplitButtonsDropPartLiesAtTheBottomOrLeft)
{
    const int depth = theme->GetSplitButtonDropDownWidth();
    for (int position : {0, 2})
    {
        SCOPED_TRACE(position);
        bar.SetPosition(position);
        Stated<COSMControlPopup> button;
        button.SetType(4);
        button.SetStyle(4);
        button.SetParent(&bar);
        button.selected = 1;
        const CRect rect(0, 0, 44, 60);
        DcTestSurface canvas(44, 60, kCanvas);
        theme->stateRectangles.clear();
        theme->DrawSplitButtonFrame(Dc(canvas), &button, rect);
        ASSERT_EQ(2u, theme->stateRectangles.size());
        const BOOL vertical = position == 2;
        EXPECT_EQ(vertical ? CRect(depth, 0, 44, 60) : CRect(0, 0, 44, 60 - depth), theme->stateRectangles[0].rect);
        EXPECT_EQ(vertical ? CRect(0, 0, depth, 60) : CRect(0, 60 - depth, 44, 60), theme->stateRectangles[1].rect);
    }
}

class FramedEdit : public Stated<COSMControlEdit>
{};

TEST_F(ToolBarControlTest, AnEditIsFilledAndFramedByItsState)
{
    struct EditCase
    {
        const char* name;
        int enabled;
        int selected;
        int outerTopLeft;  // -1: untouched
        int inner;
        int fill;  // -1: untouched
    } const cases[] = {
        {"idle", 1, 0, -1, COLOR_BTNFACE, COLOR_WINDOW},
        {"selected", 1, 1, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_WINDOW},
        {"disabled", 0, 0, -1, COLOR_BTNHIGHLIGHT, -1},
        {"disabled, keyboard selection", 0, 2, -1, COLOR_BTNSHADOW, -1},
    };
    for (const EditCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        FramedEdit edit;
        edit.SetParent(&bar);
        edit.SetEnabled(c.enabled);
        edit.selected = c.selected;
        edit.SetRect(CRect(0, 0, 80, 22));
        edit.SetLabelWidth(30);
        DcTestSurface canvas(80, 22, kCanvas);
        EXPECT_EQ(CSize(0, 0), theme->DrawEditControl(Dc(canvas), &edit, TRUE));
        const CRect area(30, 0, 80, 22);
        if (c.outerTopLeft >= 0)
            EXPECT_TRUE(canvas.Has3dFrame(area, C(c.outerTopLeft), C(COLOR_BTNHIGHLIGHT)));
        else
            EXPECT_TRUE(canvas.Untouched(CRect(30, 0, 80, 1)));
        EXPECT_TRUE(canvas.Has3dFrame(CRect(31, 1, 79, 21), C(c.inner), C(c.inner)));
        if (c.fill >= 0)
            EXPECT_TRUE(canvas.FilledWith(CRect(32, 2, 78, 20), C(c.fill)));
        else
            EXPECT_TRUE(canvas.Untouched(CRect(32, 2, 78, 20)));
    }
}

TEST_F(ToolBarControlTest, PressingTheUpperSpinButtonSinksOnlyIt)
{
    FramedEdit edit;
    edit.SetParent(&bar);
    edit.SetRect(CRect(0, 0, 80, 22));
    edit.SetShowSpinButtons(TRUE);
    edit.selected = 4;
    edit.pressed = 4;
    const CRect spin = edit.GetSpinButtonsRect();
    ASSERT_FALSE(spin.IsRectEmpty());
    DcTestSurface canvas(80, 22, kCanvas);
    theme->DrawEditSpinButtons(Dc(canvas), &edit);
    const int middle = spin.top + spin.Height() / 2;
    const CRect upper(spin.left + 1, spin.top + 1, spin.right - 1, middle);
    const CRect lower(spin.left + 1, middle, spin.right - 1, spin.bottom - 1);
    EXPECT_TRUE(canvas.Has3dFrame(upper, C(COLOR_BTNSHADOW), C(COLOR_WINDOW)));
    EXPECT_TRUE(canvas.Has3dFrame(lower, C(COLOR_WINDOW), C(COLOR_BTNSHADOW)));
    const CPoint up = upper.CenterPoint();
    const CPoint down = lower.CenterPoint();
    EXPECT_EQ(C(COLOR_BTNTEXT), canvas.Pixel(up.x, up.y - 1));
    EXPECT_EQ(C(COLOR_BTNTEXT), canvas.Pixel(down.x, down.y + 1));

    // Disabled: no face, grey arrows.
    edit.SetEnabled(0);
    DcTestSurface disabled(80, 22, kCanvas);
    theme->DrawEditSpinButtons(Dc(disabled), &edit);
    EXPECT_EQ(C(COLOR_GRAYTEXT), disabled.Pixel(up.x, up.y - 1));
    EXPECT_EQ(2u, disabled.ColorCount(spin));
}

TEST_F(ToolBarControlTest, TheComboButtonShowsDroppedSelectedAndIdle)
{
    const CRect rect(0, 0, 16, 22);
    const CRect face(1, 2, 14, 20);
    struct ButtonCase
    {
        const char* name;
        BOOL enabled, selected, dropped;
        int topLeft, bottomRight;  // -1: no face at all
        BOOL column;
    } const cases[] = {
        {"dropped", TRUE, FALSE, TRUE, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, TRUE},
        {"selected", TRUE, TRUE, FALSE, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, TRUE},
        {"idle", TRUE, FALSE, FALSE, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, FALSE},
        {"disabled", FALSE, FALSE, FALSE, -1, -1, FALSE},
    };
    for (const ButtonCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        DcTestSurface canvas(16, 22, kCanvas);
        theme->DrawComboBoxDropDownButton(Dc(canvas), rect, c.enabled, c.selected, c.dropped);
        if (c.topLeft >= 0)
            EXPECT_TRUE(canvas.Has3dFrame(face, C(c.topLeft), C(c.bottomRight)));
        else
            EXPECT_TRUE(canvas.Untouched(CRect(face.left, face.top, face.right, face.top + 1)));
        if (c.column)
            EXPECT_TRUE(canvas.HasLine(CPoint(0, 2), CPoint(0, 20), C(COLOR_BTNFACE)));
        else
            EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 1, 22)));
        EXPECT_GT(canvas.ColorCount(face), 1u);
        int arrow = 0;
        for (int y = face.top; y < face.bottom; ++y)
            for (int x = face.left; x < face.right; ++x)
                arrow += canvas.Pixel(x, y) == C(COLOR_BTNTEXT);
        EXPECT_GT(arrow, 3);
    }
}

TEST_F(ToolBarControlTest, ListRowsFillAndHighlightTheirTextPart)
{
    const CRect rect(0, 0, 140, 24);
    // Without a control only the face.
    DcTestSurface empty(140, 24, kCanvas);
    const CSize size = theme->DrawListBoxControl(Dc(empty), nullptr, rect, FALSE, TRUE, nullptr);
    EXPECT_TRUE(empty.FilledWith(rect, C(COLOR_BTNFACE)));
    EXPECT_EQ(size, theme->DrawListBoxControl(Dc(empty), nullptr, rect, FALSE, FALSE, nullptr));

    for (BOOL selected : {FALSE, TRUE})
    {
        SCOPED_TRACE(selected ? "selected" : "not selected");
        COSMControlButton button;
        button.SetType(1);
        button.SetCaption("Item");
        DcTestSurface canvas(140, 24, kCanvas);
        theme->DrawListBoxControl(Dc(canvas), &button, rect, selected, TRUE, nullptr);
        EXPECT_TRUE(canvas.HasLine(CPoint(0, 0), CPoint(0, 24), C(COLOR_BTNFACE)));
        EXPECT_TRUE(canvas.HasLine(CPoint(139, 0), CPoint(139, 24), C(COLOR_BTNFACE)));
        EXPECT_TRUE(canvas.HasLine(CPoint(1, 0), CPoint(139, 0), C(selected ? COLOR_HIGHLIGHT : COLOR_BTNFACE)));
        // The caption is in the row's text colour.
        int text = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = size.cx; x < 100; ++x)
                text += canvas.Pixel(x, y) == C(selected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
        EXPECT_GT(text, 5);
    }
}

}  // namespace
