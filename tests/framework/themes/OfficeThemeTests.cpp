// The Office look drawn headless into DIB sections, every table entry in a colour of its own: construction and the
// factory, state rectangles and text colours by role, icons, popup rows (icon column, check box, marks, split part,
// sub-menu arrow, labels), split buttons, edits, combo boxes, list rows, check and radio marks and the status bar.
#include "ThemeStubLibrary.h"
#include "ThemeTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlEdit.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/foundation/LayoutFunctions.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/themes/OfficeTheme.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using themes_test::DcTestSurface;
using themes_test::MakeSolidIcon;
using themes_test::RecordingTheme;
using themes_test::SolidImage;
using themes_test::Stated;
using themes_test::StateRectangleCall;
using themes_test::UniqueColorsTest;
using Office = COSMOfficeTheme;

namespace {

constexpr COLORREF kOfficeCanvas = RGB(255, 255, 255);
constexpr int kNone = -1;

class OfficeThemeTest : public UniqueColorsTest<RecordingTheme<COSMOfficeTheme>>
{
protected:
    // A one-pixel frame in one role around a fill of another (kNone: that part untouched).
    ::testing::AssertionResult FramedFill(const DcTestSurface& canvas, const CRect& rect, int frame, int fill) const
    {
        if (frame != kNone)
        {
            ::testing::AssertionResult framed = canvas.Has3dFrame(rect, C(frame), C(frame));
            if (!framed)
                return framed;
        }
        CRect inside = rect;
        inside.DeflateRect(1, 1);
        return fill == kNone ? canvas.Untouched(inside) : canvas.FilledWith(inside, C(fill));
    }
};

// ---- Construction and the factory ----

TEST_F(OfficeThemeTest, TheConstructorSetsTheFlatLooksOptions)
{
    COSMOfficeTheme fresh;
    EXPECT_TRUE(fresh.m_flatMenuBar);
    EXPECT_FALSE(fresh.m_flatToolBar);
    EXPECT_EQ(1u, fresh.GetIconsInfo()->useFadedIcons);
    EXPECT_EQ(1u, fresh.GetIconsInfo()->useDisabledIcons);
    EXPECT_EQ(1u, fresh.GetIconsInfo()->iconsWithShadow);
    EXPECT_EQ(1u, fresh.GetIconsInfo()->buildDisabledIcons);
    EXPECT_FALSE(fresh.m_embossedDisabledText);
    ASSERT_NE(nullptr, fresh.GetShadowManager());
    EXPECT_EQ(3u, fresh.GetShadowManager()->GetFlags());
    EXPECT_EQ(8, fresh.m_popupTextGap);
    EXPECT_EQ(1, fresh.GetThemeId());
    // The menu bar is flat, toolbars are not.
    COSMCommandBar menuBar;
    menuBar.SetType(0);
    COSMCommandBar toolBar;
    toolBar.SetType(1);
    EXPECT_TRUE(fresh.IsFlatToolBar(&menuBar));
    EXPECT_FALSE(fresh.IsFlatToolBar(&toolBar));
}

TEST_F(OfficeThemeTest, IdOneGivesTheOfficeLook)
{
    COSMPaintManager::RegisterThemes();
    COSMPaintManager* pm = COSMPaintManager::CreateTheme(1);
    ASSERT_NE(nullptr, pm);
    EXPECT_TRUE(pm->IsKindOf(RUNTIME_CLASS(COSMOfficeTheme)));
    EXPECT_STREQ("COSMOfficeTheme", pm->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(1, pm->GetThemeId());
    EXPECT_EQ(1, pm->GetRecordedThemeId());
    pm->InternalRelease();
    COSMPaintManager::SetTheme(1);
    ASSERT_NE(nullptr, COSMPaintManager::GetGlobalPaintManager());
    EXPECT_TRUE(COSMPaintManager::GetGlobalPaintManager()->IsKindOf(RUNTIME_CLASS(COSMOfficeTheme)));
}

// ---- State rectangles ----

TEST_F(OfficeThemeTest, StateRectanglesFillAndFrameByTheFirstRuleThatApplies)
{
    struct StateCase
    {
        const char* name;
        int selected, pressed, enabled, checked, popped, barPosition;
        int frame, fill;  // kNone, kNone: nothing drawn
    } const cases[] = {
        {"disabled, keyboard selected, popup", 2, 0, 0, 0, 0, 5, Office::kHotFrame, Office::kPopupBackground},
        {"disabled, keyboard selected 3, checked", 3, 0, 0, 1, 0, 0, Office::kHotFrame, Office::kPressedFill},
        {"disabled, keyboard selected, toolbar", 2, 0, 0, 0, 0, 0, Office::kHotFrame, Office::kHotFill},
        {"disabled, checked, toolbar", 0, 0, 0, 1, 0, 0, Office::kDisabledCheckedFrame, Office::kCheckedFill},
        {"disabled, checked, popup: frame only", 0, 0, 0, 1, 0, 5, Office::kDisabledCheckedFrame, kNone},
        {"disabled otherwise", 1, 1, 0, 0, 0, 0, kNone, kNone},
        {"popped", 1, 1, 1, 1, 1, 0, Office::kPopupBorder, Office::kBarFace},
        {"checked 2", 0, 0, 1, 2, 0, 0, Office::kCheckedFrame, Office::kThirdStateFill},
        {"checked", 0, 0, 1, 1, 0, 0, Office::kCheckedFrame, Office::kCheckedFill},
        {"selected and pressed", 1, 1, 1, 0, 0, 0, Office::kPressedFrame, Office::kPressedFill},
        {"pressed 2", 0, 2, 1, 0, 0, 0, Office::kPressedFrame, Office::kPressedFill},
        {"pressed 3", 0, 3, 1, 0, 0, 0, Office::kPressedFrame, Office::kPressedFill},
        {"selected and checked", 1, 0, 1, 1, 0, 0, Office::kPressedFrame, Office::kPressedFill},
        {"selected alone", 1, 0, 1, 0, 0, 0, Office::kHotFrame, Office::kHotFill},
        {"pressed 1 alone", 0, 1, 1, 0, 0, 0, Office::kHotFrame, Office::kHotFill},
        {"pressed 1 and checked", 0, 1, 1, 1, 0, 0, Office::kHotFrame, Office::kHotFill},
        {"none", 0, 0, 1, 0, 0, 0, kNone, kNone},
    };
    const CRect rect(2, 2, 22, 14);
    for (const StateCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        for (int barType : {1, 2})
        {
            DcTestSurface canvas(24, 16, kOfficeCanvas);
            theme->DrawStateRectangle(Dc(canvas), rect, c.selected, c.pressed, c.enabled, c.checked, c.popped, barType,
                                      c.barPosition);
            EXPECT_TRUE(FramedFill(canvas, rect, c.frame, c.fill)) << "bar type " << barType;
            EXPECT_TRUE(canvas.UntouchedOutside(rect));
        }
    }
}

TEST_F(OfficeThemeTest, TextColoursFollowTheBarAndTheState)
{
    struct TextCase
    {
        const char* name;
        int selected, pressed, enabled, checked, popped, barType, barPosition;
        int index;
    } const cases[] = {
        {"popup row, selected", 1, 0, 1, 0, 0, 2, 5, Office::kSelectedText},
        {"popup row", 0, 0, 1, 1, 0, 2, 5, Office::kPopupText},
        {"popup row, disabled", 1, 0, 0, 0, 0, 2, 5, Office::kDisabledPopupText},
        {"toolbar, disabled", 1, 1, 0, 0, 0, 1, 0, Office::kDisabledToolBarText},
        {"toolbar, popped", 1, 0, 1, 1, 1, 1, 0, Office::kToolBarText},
        {"toolbar, checked", 0, 0, 1, 1, 0, 1, 0, Office::kSelectedText},
        {"toolbar, pressed 2", 0, 2, 1, 0, 0, 1, 0, Office::kPressedText},
        {"toolbar, pressed 3", 0, 3, 1, 0, 0, 0, 1, Office::kPressedText},
        {"toolbar, selected and pressed", 1, 1, 1, 0, 0, 1, 0, Office::kPressedText},
        {"toolbar, selected and checked", 1, 0, 1, 1, 0, 1, 0, Office::kPressedText},
        {"toolbar, idle", 0, 0, 1, 0, 0, 1, 0, Office::kToolBarText},
        {"control on a popup-position bar, idle", 0, 0, 1, 0, 0, 1, 5, Office::kPopupText},
        {"toolbar, selected alone", 1, 0, 1, 0, 0, 1, 0, Office::kSelectedText},
        {"toolbar, pressed 1 alone", 0, 1, 1, 0, 0, 1, 0, Office::kSelectedText},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(C(c.index), theme->GetStateTextColor(c.selected, c.pressed, c.enabled, c.checked, c.popped, c.barType,
                                                       c.barPosition))
            << c.name;
}

// ---- Icons ----

// The icon colours stay clear of the table's (green 101 to 163).
const COLORREF kOfficeNormal = RGB(200, 5, 5);
const COLORREF kOfficeSelectedImage = RGB(5, 5, 200);
const COLORREF kOfficePressedImage = RGB(120, 5, 220);
const UINT kOfficeIconId = 4711;

class OfficeIconTest : public OfficeThemeTest
{
protected:
    void SetUp() override
    {
        OfficeThemeTest::SetUp();
        // The look's own options would draw faded and shadowed images; these tests look at the plain ones.
        theme->GetIconsInfo()->useFadedIcons = 0;
        theme->GetIconsInfo()->iconsWithShadow = 0;
        images = new COSMImageManager;
        ASSERT_TRUE(images->SetIcon(MakeSolidIcon(kOfficeNormal), kOfficeIconId, 16, 16));
        icon = images->GetImage(kOfficeIconId, 16);
        ASSERT_NE(nullptr, icon);
        icon->SetStateImage2(SolidImage(kOfficeSelectedImage));
        icon->SetStateImage4(SolidImage(kOfficePressedImage));
    }
    void TearDown() override
    {
        images->InternalRelease();
        OfficeThemeTest::TearDown();
    }

    COSMImageManager* images = nullptr;
    COSMImageManagerIcon* icon = nullptr;
};

TEST_F(OfficeIconTest, ThirdStateDisabledAndPressedIconsDifferFromTheDefaultLook)
{
    struct IconCase
    {
        const char* name;
        int selected, pressed, enabled, checked;
        BOOL disabledIconsOption;
        COLORREF color;
    } const cases[] = {
        {"checked 2: the normal image in one colour", 0, 0, 1, 2, TRUE, C(Office::kDisabledIcon)},
        {"selected and pressed: the pressed image in place", 1, 1, 1, 0, TRUE, kOfficePressedImage},
        {"pressed 2: the pressed image in place", 0, 2, 1, 0, TRUE, kOfficePressedImage},
        {"disabled without the option: one colour, not embossed", 0, 0, 0, 0, FALSE, C(Office::kDisabledIcon)},
        {"selected: the selected image", 1, 0, 1, 0, TRUE, kOfficeSelectedImage},
    };
    for (const IconCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        theme->GetIconsInfo()->useDisabledIcons = c.disabledIconsOption;
        DcTestSurface canvas(32, 32, kOfficeCanvas);
        theme->DrawControlImage(Dc(canvas), CPoint(8, 8), CSize(16, 16), icon, c.selected, c.pressed, c.enabled,
                                c.checked, FALSE, FALSE);
        const CRect square(8, 8, 24, 24);
        EXPECT_TRUE(canvas.FilledWith(square, c.color));
        EXPECT_TRUE(canvas.UntouchedOutside(square));
    }
}

// ---- Popup rows ----

class OfficePopupRowTest : public OfficeThemeTest
{
protected:
    void SetUp() override
    {
        OfficeThemeTest::SetUp();
        theme->SetControlHeight(22);
        bar.SetType(2);
        bar.SetPosition(5);
        images = new COSMImageManager;
        bar.SetImageManager(images);
        ASSERT_TRUE(images->SetIcon(MakeSolidIcon(kOfficeNormal), kOfficeIconId, 16, 16));
    }
    void TearDown() override
    {
        bar.SetImageManager(nullptr);
        images->InternalRelease();
        OfficeThemeTest::TearDown();
    }

    template <class Control> void Place(Control& control, int type, CRect rect = kRow)
    {
        control.SetType(type);
        control.SetParent(&bar);
        control.SetRect(rect);
    }
    void DrawRow(DcTestSurface& canvas, COSMControl& control)
    {
        theme->stateRectangles.clear();
        theme->gripperFills.clear();
        theme->gripperExpanded.clear();
        theme->DrawPopupBarControl(Dc(canvas), &control, TRUE);
    }
    int Count(const DcTestSurface& canvas, const CRect& rect, COLORREF color) const
    {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += canvas.Pixel(x, y) == color;
        return count;
    }

    static inline const CRect kRow{0, 0, 120, 22};
    COSMCommandBar bar;
    COSMImageManager* images = nullptr;
};

TEST_F(OfficePopupRowTest, AnIdleRowPaintsNothingAndASelectedRowIsHot)
{
    Stated<COSMControlButton> row;
    Place(row, 1);
    DcTestSurface idle(120, 22, kOfficeCanvas);
    DrawRow(idle, row);
    EXPECT_TRUE(idle.Untouched());
    ASSERT_EQ(1u, theme->stateRectangles.size());
    EXPECT_EQ((StateRectangleCall{kRow, 0, 0, 1, 0, 0, 2, 5}), theme->stateRectangles[0]);

    row.selected = 1;
    DcTestSurface hot(120, 22, kOfficeCanvas);
    DrawRow(hot, row);
    EXPECT_TRUE(FramedFill(hot, kRow, Office::kHotFrame, Office::kHotFill));
}

TEST_F(OfficePopupRowTest, ARowHiddenUntilExpandedLeftOfTheGripperPaintsTheExpandedColumn)
{
    const int gripper = theme->GetPopupBarGripperWidth(&bar);
    ASSERT_GT(gripper, 1);
    Stated<COSMControlButton> row;
    Place(row, 1);
    row.SetHideWhenNotUsed(TRUE);
    DcTestSurface canvas(120, 22, kOfficeCanvas);
    DrawRow(canvas, row);
    ASSERT_EQ(1u, theme->gripperFills.size());
    EXPECT_EQ(CRect(-1, 0, gripper - 1, 22), theme->gripperFills[0]);
    EXPECT_TRUE(theme->gripperExpanded[0]);
    EXPECT_TRUE(canvas.FilledWith(CRect(0, 0, gripper - 1, 22), C(Office::kExpandedIconColumn)));
    EXPECT_TRUE(canvas.Untouched(CRect(gripper - 1, 0, 120, 22)));

    // A row that starts right of the column leaves it alone.
    Stated<COSMControlButton> right;
    Place(right, 1, CRect(gripper, 0, 120, 22));
    right.SetHideWhenNotUsed(TRUE);
    DcTestSurface untouched(120, 22, kOfficeCanvas);
    DrawRow(untouched, right);
    EXPECT_TRUE(theme->gripperFills.empty());
}

TEST_F(OfficePopupRowTest, ALabelKeepsTheIconColumnOnlyWhenStyleOptionAndPlaceAllAgree)
{
    const int gripper = theme->GetPopupBarGripperWidth(&bar);
    struct LabelCase
    {
        const char* name;
        BOOL styleBit, option;
        int left;
        int fillFrom;  // kNone: from the row's left
    } const cases[] = {
        {"all three", TRUE, TRUE, 0, gripper},
        {"no gripper style", FALSE, TRUE, 0, kNone},
        {"icon column option off", TRUE, FALSE, 0, kNone},
        {"row right of the column", TRUE, TRUE, gripper + 3, kNone},
    };
    for (const LabelCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        bar.SetBarStyle(c.styleBit ? COSMCommandBar::kStyleGripper : 0);
        theme->m_labelIconColumn = c.option;
        Stated<COSMControlButton> label;
        const CRect rect(c.left, 0, 120, 22);
        Place(label, 8, rect);
        DcTestSurface canvas(120, 22, kOfficeCanvas);
        DrawRow(canvas, label);
        const CRect filled(c.fillFrom == kNone ? c.left : c.left + c.fillFrom, 0, 120, 22);
        EXPECT_TRUE(canvas.FilledWith(filled, C(Office::kPopupLabelBackground)));
        EXPECT_TRUE(canvas.UntouchedOutside(filled));
        EXPECT_TRUE(theme->stateRectangles.empty());
    }
}

TEST_F(OfficePopupRowTest, TheCheckBoxIsCentredInTheIconBoxWhichMovesByHalfTheGapWithoutTheStyleBit)
{
    for (BOOL styleBit : {TRUE, FALSE})
    {
        SCOPED_TRACE(styleBit ? "gripper style" : "no gripper style");
        bar.SetBarStyle(styleBit ? COSMCommandBar::kStyleGripper : 0);
        Stated<COSMControlButton> row;
        Place(row, 1);
        row.SetChecked(1);
        const CSize icon = theme->GetControlImageSize(&row);
        const int column = std::max<int>(icon.cx, 22) + 4;
        const CSize box(icon.cx + 4, icon.cy + 4);
        DcTestSurface canvas(120, 22, kOfficeCanvas);
        DrawRow(canvas, row);
        const int shift = styleBit ? 0 : 8 / 2;
        const CRect checkBox(CPoint(shift + (column - box.cx) / 2, (22 - box.cy) / 2), box);
        ASSERT_EQ(2u, theme->stateRectangles.size());
        EXPECT_EQ((StateRectangleCall{checkBox, 0, 0, 1, 1, 0, 2, 5}), theme->stateRectangles[1]);
        EXPECT_TRUE(canvas.Has3dFrame(checkBox, C(Office::kCheckedFrame), C(Office::kCheckedFrame)));
        EXPECT_TRUE(canvas.UntouchedOutside(checkBox));
    }
}

TEST_F(OfficePopupRowTest, TheMarkIsBlackOrWhiteOverADarkCheckedFillAndOneColourWhenDisabled)
{
    struct MarkCase
    {
        const char* name;
        int type;
        int enabled;
        COLORREF checkedFill;  // 0: the fixture's
        COLORREF mark;         // 1: the disabled icon colour
    } const cases[] = {
        {"check on a light fill", 1, 1, RGB(250, 240, 200), RGB(0, 0, 0)},
        {"check on a dark fill", 1, 1, RGB(20, 10, 40), RGB(255, 255, 255)},
        {"radio on a dark fill", 11, 1, RGB(20, 10, 40), RGB(255, 255, 255)},
        {"radio on a light fill", 11, 1, RGB(250, 240, 200), RGB(0, 0, 0)},
        {"disabled check", 1, 0, 0, 1},
    };
    for (const MarkCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.checkedFill)
            theme->GetColorEntry(Office::kCheckedFill).SetCustomValue(c.checkedFill);
        Stated<COSMControlButton> row;
        Place(row, c.type);
        row.SetChecked(1);
        row.SetEnabled(c.enabled);
        // A canvas no mark colour takes.
        DcTestSurface canvas(120, 22, RGB(0, 255, 0));
        DrawRow(canvas, row);
        const COLORREF mark = c.mark == 1 ? C(Office::kDisabledIcon) : c.mark;
        EXPECT_GT(Count(canvas, CRect(0, 0, 34, 22), mark), 4);
        EXPECT_EQ(0, Count(canvas, CRect(34, 0, 120, 22), mark));
    }
}

TEST_F(OfficePopupRowTest, AnIconIsDrawnCentredInTheColumn)
{
    Stated<COSMControlButton> row;
    Place(row, 1);
    row.SetID(kOfficeIconId);
    theme->GetIconsInfo()->useFadedIcons = 0;
    DcTestSurface canvas(120, 22, kOfficeCanvas);
    DrawRow(canvas, row);
    // Column 26 wide: the 16-pixel icon from x 5.
    EXPECT_TRUE(canvas.FilledWith(CRect(5, 3, 21, 19), kOfficeNormal));
    EXPECT_TRUE(canvas.UntouchedOutside(CRect(5, 3, 21, 19)));
}

TEST_F(OfficePopupRowTest, ASplitRowsArrowPartFollowsItsState)
{
    struct SplitCase
    {
        const char* name;
        int selected;
        int enabled;
        BOOL popped;
        int line;  // kNone: the pressed arrow part instead
        int arrow;
    } const cases[] = {
        {"open, selected, enabled", 1, 1, TRUE, kNone, Office::kPressedText},
        {"idle", 0, 1, FALSE, Office::kShadow, Office::kPopupText},
        {"selected", 1, 1, FALSE, Office::kHotFrame, Office::kSelectedText},
        {"open but not selected", 0, 1, TRUE, Office::kShadow, Office::kPopupText},
        {"disabled", 0, 0, FALSE, Office::kDisabledPopupText, Office::kDisabledPopupText},
        {"command part off (5), open and selected", 1, 5, TRUE, Office::kDisabledPopupText, Office::kDisabledPopupText},
    };
    for (const SplitCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlPopup> row;
        Place(row, 4);
        row.selected = c.selected;
        row.popupOpen = c.popped;
        row.SetEnabled(c.enabled);
        DcTestSurface canvas(120, 22, kOfficeCanvas);
        DrawRow(canvas, row);
        if (c.line == kNone)
        {
            EXPECT_TRUE(canvas.Has3dFrame(CRect(100, 0, 120, 22), C(Office::kHotFrame), C(Office::kHotFrame)));
            EXPECT_TRUE(canvas.FilledWith(CRect(101, 1, 108, 21), C(Office::kPressedFill)));
        }
        else
        {
            EXPECT_TRUE(canvas.HasLine(CPoint(100, 1), CPoint(100, 21), C(c.line)));
        }
        // The sub-menu arrow's tip.
        EXPECT_EQ(C(c.arrow), canvas.Pixel(112, 11));
    }
}

TEST_F(OfficePopupRowTest, SubMenuArrowsTakeThePressedColourOnlyOnAnOpenSelectedSplitRow)
{
    for (int type : {2, 3})
    {
        SCOPED_TRACE(type);
        Stated<COSMControlPopup> row;
        Place(row, type);
        row.selected = 1;
        row.popupOpen = TRUE;
        DcTestSurface canvas(120, 22, kOfficeCanvas);
        theme->DrawPopupSubMenuGlyph(Dc(canvas), &row);
        for (CPoint p : {CPoint(109, 8), CPoint(109, 14), CPoint(112, 11)})
            EXPECT_EQ(C(Office::kSelectedText), canvas.Pixel(p.x, p.y));
        EXPECT_TRUE(canvas.Untouched(CRect(113, 0, 120, 22)));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 109, 22)));
    }
}

TEST_F(OfficeThemeTest, TheIconColumnAndLabelsFillInTheirRoles)
{
    DcTestSurface column(40, 30, kOfficeCanvas);
    theme->FillPopupBarGripper(Dc(column), 2, 3, 20, 24, FALSE);
    EXPECT_TRUE(column.FilledWith(CRect(2, 3, 22, 27), C(Office::kBarFace)));
    EXPECT_TRUE(column.UntouchedOutside(CRect(2, 3, 22, 27)));
    theme->FillPopupBarGripper(Dc(column), 2, 3, 20, 24, TRUE);
    EXPECT_TRUE(column.FilledWith(CRect(2, 3, 22, 27), C(Office::kExpandedIconColumn)));

    DcTestSurface label(40, 30, kOfficeCanvas);
    theme->FillPopupLabelBackground(Dc(label), CRect(4, 5, 30, 20));
    EXPECT_TRUE(label.FilledWith(CRect(4, 5, 30, 20), C(Office::kPopupLabelBackground)));
    EXPECT_TRUE(label.UntouchedOutside(CRect(4, 5, 30, 20)));
}

// ---- Separators and control rectangles ----

TEST_F(OfficeThemeTest, SeparatorsAreOnePixelLinesByBarKind)
{
    COSMCommandBar sizing;
    sizing.SetType(2);
    const int gripper = theme->GetPopupBarGripperWidth(&sizing);
    struct SeparatorCase
    {
        const char* name;
        int type, position;
        BOOL wrap;
        CPoint from, to;
    } const cases[] = {
        // The control at (10, 30)-(90, 50) in the row (4, 26)-(96, 54).
        {"popup", 2, 5, FALSE, CPoint(10 + gripper - 1 + 8, 28), CPoint(91, 28)},
        {"popup, new column", 2, 5, TRUE, CPoint(8, 25), CPoint(8, 55)},
        {"left bar", 1, 2, FALSE, CPoint(4, 26), CPoint(96, 26)},
        {"right bar, new column", 1, 3, TRUE, CPoint(98, 30), CPoint(98, 54)},
        {"top bar", 1, 0, FALSE, CPoint(6, 26), CPoint(6, 54)},
        {"bottom bar, new row", 1, 1, TRUE, CPoint(4, 22), CPoint(96, 22)},
    };
    for (const SeparatorCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMCommandBar bar;
        bar.SetType(c.type);
        bar.SetPosition(c.position);
        COSMControlButton control;
        control.SetParent(&bar);
        control.SetRect(CRect(10, 30, 90, 50));
        control.SetRowRect(CRect(4, 26, 96, 54));
        control.SetWrap(c.wrap);
        const CSize measured = c.type == 2 ? CSize(3, 3) : CSize(6, 6);
        DcTestSurface canvas(100, 60, kOfficeCanvas);
        EXPECT_EQ(measured, theme->DrawCommandBarSeparator(Dc(canvas), &bar, &control, FALSE));
        // The layouts measure without a control.
        EXPECT_EQ(measured, theme->DrawCommandBarSeparator(Dc(canvas), &bar, nullptr, FALSE));
        EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarSeparator(Dc(canvas), &bar, nullptr, TRUE));
        EXPECT_TRUE(canvas.Untouched());
        EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarSeparator(Dc(canvas), &bar, &control, TRUE));
        EXPECT_TRUE(canvas.HasLine(c.from, c.to, C(Office::kSeparatorLines)));
        const CRect line = c.from.y == c.to.y ? CRect(c.from.x, c.from.y, c.to.x, c.from.y + 1)
                                              : CRect(c.from.x, c.from.y, c.from.x + 1, c.to.y);
        EXPECT_TRUE(canvas.UntouchedOutside(line));
    }
}

TEST_F(OfficeThemeTest, ControlRectanglesGrowOnPopupsAndShrinkElsewhere)
{
    struct AdjustCase
    {
        const char* name;
        int barType;  // -1: no bar
        int position;
        BOOL stacked;
        int controlType;
        BOOL vertical;
        CRect expected;
    } const cases[] = {
        {"popup row", 2, 5, FALSE, 1, FALSE, CRect(9, 20, 51, 40)},
        {"combo box on a popup", 2, 5, FALSE, 5, FALSE, CRect(9, 20, 51, 40)},
        {"toolbar, horizontal", 1, 0, FALSE, 1, FALSE, CRect(10, 21, 50, 39)},
        {"toolbar, vertical", 1, 2, FALSE, 1, TRUE, CRect(11, 20, 49, 40)},
        {"stacked layout on a popup-position bar", 1, 5, TRUE, 1, TRUE, CRect(10, 21, 50, 39)},
        {"stacked layout on a docked bar", 1, 0, TRUE, 1, TRUE, CRect(11, 20, 49, 40)},
        {"combo box on a toolbar", 1, 0, FALSE, 5, FALSE, CRect(10, 20, 50, 40)},
        {"no bar", -1, 0, FALSE, 1, FALSE, CRect(10, 20, 50, 40)},
    };
    for (const AdjustCase& c : cases)
    {
        COSMCommandBar bar;
        bar.SetType(c.barType < 0 ? 1 : c.barType);
        bar.SetPosition(c.position);
        if (c.stacked)
            bar.ModifyFlags(COSMCommandBar::kFlagStackedLayout, 0);
        COSMControlButton control;
        control.SetType(c.controlType);
        if (c.barType >= 0)
            control.SetParent(&bar);
        CRect rect(10, 20, 50, 40);
        theme->AdjustControlRect(rect, &control, c.vertical);
        EXPECT_EQ(c.expected, rect) << c.name;
    }
}

// ---- Split buttons ----

class OfficeToolBarControlTest : public OfficeThemeTest
{
protected:
    void SetUp() override
    {
        OfficeThemeTest::SetUp();
        bar.SetType(1);
        bar.SetPosition(0);
    }
    COSMCommandBar bar;
};

TEST_F(OfficeToolBarControlTest, ALargeSplitButtonShowsItsDividerAndRedrawsAPressedCommandPart)
{
    const int depth = theme->GetSplitButtonDropDownWidth();
    const CRect rect(0, 0, 44, 60);
    const CRect command(0, 0, 44, 60 - depth);
    struct LargeCase
    {
        const char* name;
        int selected, pressed;
        BOOL popped;
        std::vector<StateRectangleCall> calls;
        BOOL divider;
    } const cases[] = {
        {"selected", 1, 0, FALSE, {{rect, 1, 0, 1, 0, 0, 1, 0}}, TRUE},
        {"selected and pressed", 1, 1, FALSE, {{rect, 1, 0, 1, 0, 0, 1, 0}, {command, 1, 1, 1, 0, 0, 1, 0}}, TRUE},
        {"popped", 1, 0, TRUE, {{rect, 1, 0, 1, 0, 1, 1, 0}}, FALSE},
        {"idle", 0, 0, FALSE, {{rect, 0, 0, 1, 0, 0, 1, 0}}, FALSE},
    };
    for (const LargeCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlPopup> button;
        button.SetType(4);
        button.SetStyle(4);
        button.SetParent(&bar);
        button.selected = c.selected;
        button.pressed = c.pressed;
        button.popupOpen = c.popped;
        DcTestSurface canvas(44, 60, kOfficeCanvas);
        theme->stateRectangles.clear();
        theme->DrawSplitButtonFrame(Dc(canvas), &button, rect);
        EXPECT_EQ(c.calls, theme->stateRectangles);
        const int dividerY = 60 - depth - 1;
        if (c.divider && c.pressed == 0)
        {
            EXPECT_TRUE(canvas.HasLine(CPoint(1, dividerY), CPoint(43, dividerY), C(Office::kHotFrame)));
        }
        if (!c.divider)
        {
            EXPECT_NE(C(Office::kHotFrame), canvas.Pixel(20, dividerY));
        }
    }
}

TEST_F(OfficeToolBarControlTest, ASmallSplitButtonsDropPartIsElevenWideAndGoneWhilePopped)
{
    const CRect rect(0, 0, 40, 22);
    struct SmallCase
    {
        const char* name;
        int selected;
        BOOL popped;
        std::vector<StateRectangleCall> calls;
    } const cases[] = {
        {"selected",
         1,
         FALSE,
         {{CRect(0, 0, 29, 22), 1, 0, 1, 0, 0, 1, 0}, {CRect(28, 0, 40, 22), 1, 0, 1, 0, 0, 1, 0}}},
        {"popped", 1, TRUE, {{CRect(0, 0, 40, 22), 1, 0, 1, 0, 1, 1, 0}}},
        {"idle", 0, FALSE, {{CRect(0, 0, 29, 22), 0, 0, 1, 0, 0, 1, 0}}},
    };
    for (const SmallCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlPopup> button;
        button.SetType(4);
        button.SetParent(&bar);
        button.selected = c.selected;
        button.popupOpen = c.popped;
        DcTestSurface canvas(40, 22, kOfficeCanvas);
        theme->stateRectangles.clear();
        theme->DrawSplitButtonFrame(Dc(canvas), &button, rect);
        EXPECT_EQ(c.calls, theme->stateRectangles);
    }
    // Selected: the command part and the drop part share their one-pixel border line.
    Stated<COSMControlPopup> button;
    button.SetType(4);
    button.SetParent(&bar);
    button.selected = 1;
    DcTestSurface canvas(40, 22, kOfficeCanvas);
    theme->DrawSplitButtonFrame(Dc(canvas), &button, rect);
    EXPECT_TRUE(canvas.Has3dFrame(CRect(28, 0, 40, 22), C(Office::kHotFrame), C(Office::kHotFrame)));
    EXPECT_TRUE(canvas.FilledWith(CRect(1, 1, 28, 21), C(Office::kHotFill)));
}

// ---- Edits ----

class OfficeEdit : public Stated<COSMControlEdit>
{};

TEST_F(OfficeToolBarControlTest, AnEditIsFilledAndFramedByStateAndBar)
{
    COSMCommandBar popup;
    popup.SetType(2);
    popup.SetPosition(5);
    struct EditCase
    {
        const char* name;
        int enabled;
        int selected;
        BOOL onPopup;
        int frame;  // of the area; kNone: no frame
        int fill;
        BOOL movedIn;
    } const cases[] = {
        {"disabled", 0, 0, FALSE, Office::kDisabledIcon, Office::kFace, TRUE},
        {"disabled, keyboard selection", 0, 2, FALSE, Office::kHotFrame, Office::kFace, TRUE},
        {"selected", 1, 1, FALSE, Office::kHotFrame, Office::kWindow, FALSE},
        {"idle on a popup", 1, 0, TRUE, Office::kPopupEditFrame, Office::kWindow, FALSE},
        {"idle on a toolbar", 1, 0, FALSE, kNone, Office::kWindow, FALSE},
    };
    for (const EditCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        OfficeEdit edit;
        edit.SetParent(c.onPopup ? &popup : &bar);
        edit.SetEnabled(c.enabled);
        edit.selected = c.selected;
        edit.SetRect(CRect(0, 0, 80, 22));
        edit.SetLabelWidth(30);
        DcTestSurface canvas(80, 22, kOfficeCanvas);
        EXPECT_EQ(CSize(0, 0), theme->DrawEditControl(Dc(canvas), &edit, TRUE));
        const CRect area(c.movedIn ? 31 : 30, 0, 80, 22);
        if (c.frame != kNone)
            EXPECT_TRUE(canvas.Has3dFrame(area, C(c.frame), C(c.frame)));
        else
            EXPECT_TRUE(canvas.Untouched(CRect(30, 0, 80, 1)));
        EXPECT_TRUE(canvas.FilledWith(CRect(area.left + 1, 1, 79, 21), C(c.fill)));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 30, 22)));
    }
}

TEST_F(OfficeToolBarControlTest, SpinButtonsNarrowTheFieldAndShowTheirPressedHalf)
{
    OfficeEdit edit;
    edit.SetParent(&bar);
    edit.SetRect(CRect(0, 0, 80, 22));
    edit.SetShowSpinButtons(TRUE);
    const CRect spin = edit.GetSpinButtonsRect();
    ASSERT_FALSE(spin.IsRectEmpty());
    const int middle = spin.top + spin.Height() / 2;

    // Idle: the field is 18 narrower and the buttons are framed in the window colour.
    DcTestSurface idle(80, 22, kOfficeCanvas);
    theme->DrawEditControl(Dc(idle), &edit, TRUE);
    EXPECT_TRUE(idle.FilledWith(CRect(1, 1, 80 - 17, 21), C(Office::kWindow)));
    EXPECT_TRUE(idle.Has3dFrame(spin, C(Office::kWindow), C(Office::kWindow)));

    struct SpinCase
    {
        int pressed;
        CRect pressedHalf;
        CRect otherHalf;
    } const cases[] = {
        {4, CRect(spin.left + 1, spin.top + 1, spin.right - 1, middle),
         CRect(spin.left + 1, middle + 1, spin.right - 1, spin.bottom - 1)},
        {5, CRect(spin.left + 1, middle + 1, spin.right - 1, spin.bottom - 1),
         CRect(spin.left + 1, spin.top + 1, spin.right - 1, middle)},
    };
    for (const SpinCase& c : cases)
    {
        SCOPED_TRACE(c.pressed);
        edit.selected = 1;
        edit.pressed = c.pressed;
        DcTestSurface canvas(80, 22, kOfficeCanvas);
        theme->DrawEditSpinButtons(Dc(canvas), &edit);
        EXPECT_TRUE(canvas.HasLine(CPoint(spin.left, spin.top), CPoint(spin.left, spin.bottom), C(Office::kHotFrame)));
        EXPECT_TRUE(canvas.HasLine(CPoint(spin.left, middle), CPoint(spin.right, middle), C(Office::kHotFrame)));
        // The halves' corners, clear of the arrows.
        EXPECT_EQ(C(Office::kPressedFill), canvas.Pixel(c.pressedHalf.left, c.pressedHalf.top));
        EXPECT_EQ(C(Office::kPressedFill), canvas.Pixel(c.pressedHalf.right - 1, c.pressedHalf.bottom - 1));
        EXPECT_EQ(C(Office::kHotFill), canvas.Pixel(c.otherHalf.left, c.otherHalf.top));
        EXPECT_EQ(C(Office::kHotFill), canvas.Pixel(c.otherHalf.right - 1, c.otherHalf.bottom - 1));
        // The arrows: up points up from the upper half's centre, down points down from the lower's.
        const CPoint up = CRect(spin.left, spin.top, spin.right, middle).CenterPoint();
        const CPoint down = CRect(spin.left, middle, spin.right, spin.bottom).CenterPoint();
        EXPECT_EQ(C(Office::kButtonText), canvas.Pixel(up.x, up.y));
        EXPECT_EQ(C(Office::kButtonText), canvas.Pixel(up.x + 2, up.y + 2));
        EXPECT_EQ(C(Office::kButtonText), canvas.Pixel(down.x, down.y));
        EXPECT_EQ(C(Office::kButtonText), canvas.Pixel(down.x - 2, down.y - 2));
    }

    edit.SetEnabled(0);
    DcTestSurface disabled(80, 22, kOfficeCanvas);
    theme->DrawEditSpinButtons(Dc(disabled), &edit);
    const CPoint up = CRect(spin.left, spin.top, spin.right, middle).CenterPoint();
    EXPECT_EQ(C(Office::kGrayText), disabled.Pixel(up.x, up.y));
    EXPECT_EQ(2u, disabled.ColorCount(spin));
}

// ---- Combo boxes ----

class OfficeCombo : public Stated<COSMControlComboBox>
{
public:
    void SetDropped(BOOL dropped) { m_popped = dropped; }
};

TEST_F(OfficeToolBarControlTest, AComboBoxsButtonAndArrowFollowStateAndBar)
{
    COSMCommandBar popup;
    popup.SetType(2);
    popup.SetPosition(5);
    const CRect rect(0, 0, 100, 22);
    const CRect button(82, 0, 100, 22);
    struct ComboCase
    {
        const char* name;
        int enabled, selected;
        BOOL dropped, onPopup;
        int arrow;
    } const cases[] = {
        {"disabled", 0, 0, FALSE, FALSE, Office::kDisabledIcon},
        {"dropped", 1, 1, TRUE, FALSE, Office::kPressedText},
        {"selected", 1, 1, FALSE, FALSE, Office::kSelectedText},
        {"idle", 1, 0, FALSE, FALSE, Office::kToolBarText},
        {"idle on a popup", 1, 0, FALSE, TRUE, Office::kToolBarText},
    };
    for (const ComboCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        OfficeCombo combo;
        combo.SetParent(c.onPopup ? &popup : &bar);
        combo.SetRect(rect);
        combo.SetLabelWidth(30);
        combo.SetDropDownButtonWidth(button.Width());
        combo.SetEnabled(c.enabled);
        combo.selected = c.selected;
        combo.SetDropped(c.dropped);
        DcTestSurface canvas(100, 22, kOfficeCanvas);
        theme->stateRectangles.clear();
        EXPECT_EQ(CSize(0, 0), theme->DrawComboBoxControl(Dc(canvas), &combo, TRUE));
        CRect inner = button;
        inner.DeflateRect(1, 1);
        int arrow = 0;
        for (int y = inner.top; y < inner.bottom; ++y)
            for (int x = inner.left; x < inner.right; ++x)
                arrow += canvas.Pixel(x, y) == C(c.arrow);
        EXPECT_GT(arrow, 3);
        if (c.onPopup)
        {
            // The idle button on a popup: filled like the popup's field frame, framed in the window colour.
            EXPECT_TRUE(canvas.Has3dFrame(inner, C(Office::kWindow), C(Office::kWindow)));
            EXPECT_EQ(C(Office::kPopupEditFrame), canvas.Pixel(inner.left + 1, inner.top + 1));
            EXPECT_TRUE(
                canvas.Has3dFrame(CRect(30, 0, 100, 22), C(Office::kPopupEditFrame), C(Office::kPopupEditFrame)));
        }
        if (c.selected && c.enabled)
        {
            EXPECT_EQ((StateRectangleCall{button, 1, c.dropped, 1, 0, 0, 1, 0}), theme->stateRectangles.back());
            EXPECT_EQ(C(Office::kHotFrame), canvas.Pixel(30, 10));
        }
        if (!c.enabled)
        {
            EXPECT_TRUE(canvas.Has3dFrame(CRect(31, 0, 100, 22), C(Office::kDisabledIcon), C(Office::kDisabledIcon)));
        }
    }
}

// ---- List rows ----

TEST_F(OfficeToolBarControlTest, ListRowsHaveTheIconColumnAndAHotSelection)
{
    theme->SetControlHeight(22);
    const CSize icon = theme->GetAutoIconSize(FALSE);
    const CSize expected(std::max<int>(icon.cx, 22) + 4, std::max<int>(22, icon.cy + 6));
    const CRect rect(0, 0, 140, 24);
    DcTestSurface empty(140, 24, kOfficeCanvas);
    EXPECT_EQ(expected, theme->DrawListBoxControl(Dc(empty), nullptr, rect, FALSE, FALSE, nullptr));
    EXPECT_TRUE(empty.Untouched());
    EXPECT_EQ(expected, theme->DrawListBoxControl(Dc(empty), nullptr, rect, FALSE, TRUE, nullptr));
    EXPECT_TRUE(empty.FilledWith(CRect(0, 0, expected.cx + 1, 24), C(Office::kBarFace)));
    EXPECT_TRUE(empty.FilledWith(CRect(expected.cx + 1, 0, 140, 24), C(Office::kPopupBackground)));
    theme->SetControlHeight(30);
    EXPECT_EQ(CSize(std::max<int>(icon.cx, 30) + 4, std::max<int>(30, icon.cy + 6)),
              theme->DrawListBoxControl(Dc(empty), nullptr, rect, FALSE, FALSE, nullptr));
    theme->SetControlHeight(22);

    for (BOOL selected : {FALSE, TRUE})
    {
        SCOPED_TRACE(selected ? "selected" : "not selected");
        COSMControlPopup row;
        row.SetType(4);
        row.SetCaption("Item");
        DcTestSurface canvas(140, 24, kOfficeCanvas);
        theme->DrawListBoxControl(Dc(canvas), &row, rect, selected, TRUE, nullptr);
        if (selected)
            EXPECT_TRUE(canvas.Has3dFrame(rect, C(Office::kHotFrame), C(Office::kHotFrame)));
        else
            EXPECT_EQ(C(Office::kBarFace), canvas.Pixel(2, 2));
        const int textIndex = selected ? Office::kSelectedText : Office::kPopupText;
        int text = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = expected.cx + 8; x < 100; ++x)
                text += canvas.Pixel(x, y) == C(textIndex);
        EXPECT_GT(text, 5);
        EXPECT_EQ(C(textIndex), canvas.Pixel(140 - 8, 12));
        EXPECT_TRUE(canvas.HasLine(CPoint(120, 1), CPoint(120, 23), C(selected ? Office::kHotFrame : Office::kShadow)));
    }
}

// ---- Check and radio marks ----

class OfficeMarkTest : public OfficeThemeTest
{
protected:
    static inline const CRect kBox{2, 2, 15, 15};
};

TEST_F(OfficeMarkTest, CheckBoxesFillAndFrameByState)
{
    struct BoxCase
    {
        const char* name;
        int selected, pressed, enabled;
        int frame, fill;
    } const cases[] = {
        {"idle", 0, 0, 1, Office::kIdleMarkFrame, Office::kWindow},
        {"selected", 1, 0, 1, Office::kHotFrame, Office::kHotFill},
        {"pressed", 0, 1, 1, Office::kHotFrame, Office::kHotFill},
        {"selected and pressed", 1, 1, 1, Office::kHotFrame, Office::kPressedFill},
        {"disabled", 1, 1, 0, Office::kDisabledPopupText, kNone},
    };
    for (const BoxCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        DcTestSurface canvas(17, 17, kOfficeCanvas);
        EXPECT_EQ(CSize(13, 13), theme->DrawCheckBoxMark(Dc(canvas), kBox, FALSE, c.selected, c.pressed, 0, c.enabled));
        EXPECT_TRUE(canvas.Untouched());
        EXPECT_EQ(CSize(13, 13), theme->DrawCheckBoxMark(Dc(canvas), kBox, TRUE, c.selected, c.pressed, 0, c.enabled));
        EXPECT_TRUE(FramedFill(canvas, kBox, c.frame, c.fill));
        EXPECT_TRUE(canvas.UntouchedOutside(kBox));
    }
}

// The three lines of the check: (cx - 3, cy + i - 1) to (cx - 1, cy + i + 1) to (cx + 4, cy + i - 4).
std::vector<CPoint> CheckPixels(CPoint centre)
{
    std::vector<CPoint> pixels;
    for (int i = 0; i < 3; ++i)
    {
        for (int step = 0; step < 2; ++step)
            pixels.push_back(CPoint(centre.x - 3 + step, centre.y + i - 1 + step));
        for (int step = 0; step < 5; ++step)
            pixels.push_back(CPoint(centre.x - 1 + step, centre.y + i + 1 - step));
    }
    return pixels;
}

TEST_F(OfficeMarkTest, TheCheckIsThreeLinesInTheTextOrDisabledColour)
{
    struct CheckCase
    {
        const char* name;
        int checked, enabled;
        int index;
    } const cases[] = {
        {"checked", 1, 1, Office::kButtonText},
        {"third state", 2, 1, Office::kDisabledPopupText},
        {"disabled", 1, 0, Office::kDisabledPopupText},
    };
    for (const CheckCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        DcTestSurface canvas(17, 17, kOfficeCanvas);
        theme->DrawCheckBoxMark(Dc(canvas), kBox, TRUE, FALSE, FALSE, c.checked, c.enabled);
        const std::vector<CPoint> pixels = CheckPixels(kBox.CenterPoint());
        for (const CPoint& p : pixels)
            EXPECT_EQ(C(c.index), canvas.Pixel(p.x, p.y)) << p.x << "," << p.y;
        int marked = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x)
                marked += canvas.Pixel(x, y) == C(c.index);
        EXPECT_EQ(static_cast<int>(pixels.size()) + (c.enabled ? 0 : 4 * 12), marked);
    }
}

TEST_F(OfficeMarkTest, OnAMirroredCanvasTheCheckReadsTheSameWay)
{
    DcTestSurface leftToRight(17, 17, kOfficeCanvas);
    theme->DrawCheckBoxMark(Dc(leftToRight), kBox, TRUE, FALSE, FALSE, 1, TRUE);
    DcTestSurface rightToLeft(17, 17, kOfficeCanvas);
    ASSERT_NE(GDI_ERROR, ::SetLayout(rightToLeft.GetDC(), LAYOUT_RTL));
    ASSERT_TRUE(IsContextRTL(Dc(rightToLeft)));
    theme->DrawCheckBoxMark(Dc(rightToLeft), kBox, TRUE, FALSE, FALSE, 1, TRUE);
    // The mirrored context maps fills and lines one pixel apart (as GDI does there); the check itself reads the
    // same way, not turned round (it is not symmetric: (5, 9) is on it, (11, 9) is not).
    const COLORREF mark = C(Office::kButtonText);
    auto markPixels = [&](const DcTestSurface& canvas) {
        std::vector<CPoint> pixels;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x)
                if (canvas.Pixel(x, y) == mark)
                    pixels.push_back(CPoint(x, y));
        return pixels;
    };
    const std::vector<CPoint> expected = markPixels(leftToRight);
    std::vector<CPoint> mirrored = markPixels(rightToLeft);
    ASSERT_EQ(21u, expected.size());
    ASSERT_EQ(expected.size(), mirrored.size());
    const int shift = mirrored.front().x - expected.front().x;
    EXPECT_LE(std::abs(shift), 1);
    for (CPoint& p : mirrored)
        p.x -= shift;
    EXPECT_EQ(expected, mirrored);
    EXPECT_EQ(C(Office::kButtonText), leftToRight.Pixel(5, 9));
    EXPECT_EQ(C(Office::kWindow), leftToRight.Pixel(11, 9));
}

TEST_F(OfficeMarkTest, RadioButtonsAreSmoothEllipsesWithADot)
{
    struct RadioCase
    {
        const char* name;
        int selected, pressed, enabled, checked;
        int border, fill;
        int dot;  // kNone: no dot
    } const cases[] = {
        {"idle", 0, 0, 1, 0, Office::kIdleMarkFrame, Office::kWindow, kNone},
        {"selected, checked", 1, 0, 1, 1, Office::kHotFrame, Office::kHotFill, Office::kButtonText},
        {"selected and pressed", 1, 1, 1, 0, Office::kHotFrame, Office::kPressedFill, kNone},
        {"third state", 0, 0, 1, 2, Office::kIdleMarkFrame, Office::kWindow, Office::kDisabledPopupText},
        {"disabled, checked", 0, 0, 0, 1, Office::kDisabledPopupText, Office::kThirdStateFill,
         Office::kDisabledPopupText},
    };
    for (const RadioCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        DcTestSurface canvas(17, 17, kOfficeCanvas);
        EXPECT_EQ(CSize(13, 13),
                  theme->DrawRadioButtonMark(Dc(canvas), kBox, TRUE, c.selected, c.pressed, c.checked, c.enabled));
        DcTestSurface expected(17, 17, kOfficeCanvas);
        theme->DrawSmoothEllipse(Dc(expected), kBox, C(c.border), C(c.fill));
        if (c.dot != kNone)
            theme->DrawSmoothEllipse(Dc(expected), kBox.left + 4, kBox.top + 4, kBox.left + 9, kBox.top + 9, C(c.dot),
                                     C(c.dot));
        EXPECT_TRUE(canvas.EqualsCanvas(expected));
        EXPECT_EQ(C(c.fill), canvas.Pixel(4, 8));
        EXPECT_EQ(c.dot == kNone ? C(c.fill) : C(c.dot), canvas.Pixel(8, 8));
    }
}

// The visual-style path: the stand-in theme library loaded from beside the test program.
class OfficeThemedMarkTest : public foundation_test::PaintManagerTest, protected ThemeStubLibrary
{
protected:
    OfficeThemedMarkTest() : ThemeStubLibrary(TRUE) {}
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        SetUpThemeStub();
    }
};

TEST_F(OfficeThemedMarkTest, TheThemedOptionWithAnOpenButtonStyleDrawsThroughTheStyle)
{
    for (BOOL option : {TRUE, FALSE})
    {
        SCOPED_TRACE(option ? "themed" : "flat");
        COSMOfficeTheme theme(m_functions);
        theme.m_themedCheckMarks = option;
        theme.RefreshMetrics();
        if (option)
        {
            ASSERT_TRUE(theme.GetButtonTheme().IsOpen());
        }
        const COLORREF background = RGB(255, 255, 255);
        DcTestSurface canvas(17, 17, background);
        CDC* dc = CDC::FromHandle(canvas.GetDC());
        const LONG before = Calls(CThemeStubState::kDrawThemeBackground);
        EXPECT_EQ(CSize(13, 13), theme.DrawCheckBoxMark(dc, CRect(2, 2, 15, 15), TRUE, FALSE, FALSE, 1, TRUE));
        EXPECT_EQ(CSize(13, 13), theme.DrawRadioButtonMark(dc, CRect(2, 2, 15, 15), TRUE, FALSE, FALSE, 1, TRUE));
        EXPECT_EQ(before + (option ? 2 : 0), Calls(CThemeStubState::kDrawThemeBackground));
        // The stand-in draws nothing: the flat marks were not drawn over it.
        EXPECT_EQ(option ? 0 : 1, canvas.CountNot(background) > 0 ? 1 : 0);
    }
}

// ---- Status bar and small grippers ----

TEST_F(OfficeThemeTest, StatusPanesAreFramedInTheShadowAndSeparatedByALine)
{
    DcTestSurface canvas(60, 20, kOfficeCanvas);
    const CRect pane(10, 2, 50, 18);
    theme->DrawStatusBarPaneBorder(Dc(canvas), pane, nullptr, FALSE);
    EXPECT_TRUE(FramedFill(canvas, pane, Office::kShadow, kNone));
    EXPECT_TRUE(canvas.UntouchedOutside(pane));
    DcTestSurface separator(60, 20, kOfficeCanvas);
    theme->DrawStatusBarPaneSeparator(Dc(separator), pane, nullptr);
    EXPECT_TRUE(separator.HasLine(CPoint(8, 2), CPoint(8, 18), C(Office::kSeparatorLines)));
    EXPECT_TRUE(separator.UntouchedOutside(CRect(8, 2, 9, 18)));
}

TEST_F(OfficeThemeTest, TearOffGrippersShowTheirLinesByStateAndWidth)
{
    struct TearOffCase
    {
        const char* name;
        int width;
        BOOL selected;
        std::vector<int> lines;
        int lineIndex;
    } const cases[] = {
        {"idle", 80, FALSE, {3, 5, 7}, Office::kGripperLines},
        {"selected", 80, TRUE, {4, 6}, Office::kSelectedText},
        {"21 wide, idle", 21, FALSE, {}, Office::kGripperLines},
        {"21 wide, selected", 21, TRUE, {}, Office::kSelectedText},
    };
    for (const TearOffCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        const CRect rect(3, 3, 3 + c.width, 12);
        DcTestSurface canvas(c.width + 10, 14, kOfficeCanvas);
        EXPECT_EQ(CSize(0, 9), theme->DrawTearOffGripper(Dc(canvas), rect, c.selected, FALSE));
        EXPECT_TRUE(canvas.Untouched());
        EXPECT_EQ(CSize(0, 9), theme->DrawTearOffGripper(Dc(canvas), rect, c.selected, TRUE));
        const CRect strip(1, 1, rect.right + 1, rect.Height() + 1);
        CRect inner = strip;
        inner.DeflateRect(1, 1);
        EXPECT_TRUE(canvas.Has3dFrame(strip, C(Office::kPopupBackground), C(Office::kPopupBackground)));
        if (c.selected)
        {
            EXPECT_TRUE(canvas.Has3dFrame(inner, C(Office::kHotFrame), C(Office::kHotFrame)));
        }
        const int half = std::min(c.width / 2 - 10, 16);
        const int centre = (strip.left + strip.right) / 2;
        for (int y : c.lines)
        {
            EXPECT_TRUE(canvas.HasLine(CPoint(centre - half, y), CPoint(centre + half, y), C(c.lineIndex))) << y;
            EXPECT_NE(C(c.lineIndex), canvas.Pixel(centre - half - 1, y)) << y;
        }
        int linePixels = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < c.width + 10; ++x)
                linePixels += canvas.Pixel(x, y) == C(c.lineIndex);
        EXPECT_EQ(static_cast<int>(c.lines.size()) * 2 * std::max(half, 0), linePixels);
        EXPECT_TRUE(canvas.UntouchedOutside(strip));
    }
}

TEST_F(OfficeThemeTest, TheResizeGripperLiesOverTheBarFace)
{
    const CRect rect(0, 0, 40, 12);
    DcTestSurface corner(40, 12, kOfficeCanvas);
    theme->DrawPopupResizeGripper(Dc(corner), rect, 1);
    EXPECT_EQ(C(Office::kBarFace), corner.Pixel(1, 1));
    EXPECT_EQ(C(Office::kBarFace), corner.Pixel(20, 6));
    for (CPoint dot : {CPoint(36, 8), CPoint(32, 8), CPoint(36, 4)})
        EXPECT_TRUE(corner.FilledWith(CRect(dot, CSize(2, 2)), C(Office::kGripperLines))) << dot.x << "," << dot.y;
    EXPECT_EQ(C(Office::kWindow), corner.Pixel(38, 10));
}

}  // namespace
