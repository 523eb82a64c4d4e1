// The Office look's bars on real bar windows (their client and window rectangles are read): backgrounds by place and
// flatness, the popup's border opening where it overlaps the toolbar button that opened it, the popup icon column
// and the dotted grippers.
#include "ThemeTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/themes/OfficeTheme.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using themes_test::DcTestSurface;
using themes_test::RecordingTheme;
using themes_test::UniqueColorsTest;
using Office = COSMOfficeTheme;

namespace {

constexpr COLORREF kOfficeBarCanvas = RGB(255, 255, 255);

// A bar the test can call a dialog bar.
class OfficeDialogLikeBar : public COSMCommandBar
{
public:
    BOOL IsDialogBar() const override { return TRUE; }
};

class OfficeThemeBarTest : public UniqueColorsTest<RecordingTheme<COSMOfficeTheme>>
{
protected:
    void TearDown() override
    {
        for (auto& bar : bars)
            bar->DestroyWindow();
        bars.clear();
        UniqueColorsTest::TearDown();
    }

    // A bar of the class as a hidden top-level window at the screen point with that client size, kept until the
    // test ends.
    template <class Bar = COSMCommandBar>
    Bar& MakeBar(int width, int height, int type, int position, CPoint at = CPoint(10, 10))
    {
        auto bar = std::make_unique<Bar>();
        bar->SetType(type);
        // Borders and captions come from the bar's paint manager: the look under test.
        bar->SetPaintManager(theme.get());
        EXPECT_TRUE(bar->CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", WS_POPUP, at.x, at.y, width, height,
                                  nullptr, nullptr));
        bar->SetPosition(position);
        CRect client;
        bar->GetClientRect(&client);
        EXPECT_EQ(CSize(width, height), client.Size());
        Bar& made = *bar;
        bars.push_back(std::move(bar));
        return made;
    }

    std::vector<std::unique_ptr<COSMCommandBar>> bars;
};

TEST_F(OfficeThemeBarTest, FloatingBarsHaveADoubleBorderWithCutCorners)
{
    struct FloatingCase
    {
        const char* name;
        int type;
        BOOL flatToolBars;
        int face;
    } const cases[] = {
        {"toolbar", 1, FALSE, Office::kBarFace},
        {"flat toolbar", 1, TRUE, Office::kFace},
        {"popup", 2, FALSE, Office::kPopupBackground},
    };
    for (const FloatingCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMCommandBar& bar = MakeBar(60, 30, c.type, 4);
        theme->m_flatToolBar = c.flatToolBars;
        DcTestSurface canvas(60, 30, kOfficeBarCanvas);
        theme->FillCommandBar(Dc(canvas), &bar);
        const COLORREF border = C(Office::kFloatingBorder);
        EXPECT_TRUE(canvas.Has3dFrame(CRect(0, 0, 60, 30), border, border));
        EXPECT_TRUE(canvas.Has3dFrame(CRect(1, 1, 59, 29), border, border));
        // Inside the inner frame the face, but for the four corner pixels.
        const CRect face(2, 2, 58, 28);
        for (int y = face.top; y < face.bottom; ++y)
            for (int x = face.left; x < face.right; ++x)
            {
                const bool corner = (x == 2 || x == 57) && (y == 2 || y == 27);
                ASSERT_EQ(corner ? border : C(c.face), canvas.Pixel(x, y)) << x << "," << y;
            }
    }
}

TEST_F(OfficeThemeBarTest, DockedBarsAreRoundedUnlessFlat)
{
    struct DockedCase
    {
        const char* name;
        int type;
        BOOL flatToolBars;
        BOOL rounded;
    } const cases[] = {
        {"toolbar", 1, FALSE, TRUE},
        {"flat toolbar", 1, TRUE, FALSE},
        {"menu bar (flat in this look)", 0, FALSE, FALSE},
    };
    for (const DockedCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMCommandBar& bar = MakeBar(60, 30, c.type, 0);
        theme->m_flatToolBar = c.flatToolBars;
        DcTestSurface canvas(60, 30, kOfficeBarCanvas);
        theme->FillCommandBar(Dc(canvas), &bar);
        const COLORREF face = C(Office::kFace);
        if (!c.rounded)
        {
            EXPECT_TRUE(canvas.FilledWith(CRect(0, 0, 60, 30), face));
            continue;
        }
        EXPECT_TRUE(canvas.Has3dFrame(CRect(0, 0, 60, 30), face, face));
        for (int y = 1; y < 29; ++y)
            for (int x = 1; x < 59; ++x)
            {
                const bool corner = (x == 1 || x == 58) && (y == 1 || y == 28);
                ASSERT_EQ(corner ? face : C(Office::kBarFace), canvas.Pixel(x, y)) << x << "," << y;
            }
    }
}

TEST_F(OfficeThemeBarTest, APopupFromAToolbarButtonOpensItsBorderWhereItOverlapsTheButton)
{
    // The toolbar at (200, 100); its button at (20, 4)-(60, 26), on the screen (220, 104)-(260, 126).
    COSMCommandBar& toolBar = MakeBar(200, 30, 1, 0, CPoint(200, 100));
    COSMControl* button = toolBar.GetControls()->Add(1, 1);
    button->SetRect(CRect(20, 4, 60, 26));
    COSMCommandBar& popupRows = MakeBar(120, 60, 2, 5, CPoint(200, 300));
    COSMControl* row = popupRows.GetControls()->Add(2, 2);
    row->SetRect(CRect(0, 0, 120, 22));

    struct OpeningCase
    {
        const char* name;
        COSMControl* opener;
        CPoint at;
        CRect opening;  // empty: the border is whole
    } const cases[] = {
        // Overlapping the button's last four rows: the stretch (20, 0)-(60, 4) of the popup, less one pixel around.
        {"from a toolbar button", button, CPoint(200, 122), CRect(21, 1, 59, 3)},
        // Overlapping one row only: only the horizontal deflation.
        {"one row of overlap", button, CPoint(200, 125), CRect(21, 0, 59, 1)},
        {"from a popup row", row, CPoint(200, 300), CRect()},
        {"opened at a point", nullptr, CPoint(200, 122), CRect()},
        {"clear of the button", button, CPoint(200, 126), CRect()},
    };
    for (const OpeningCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMPopupBar& popup = MakeBar<COSMPopupBar>(100, 50, 2, 5, c.at);
        popup.SetControlPopup(c.opener);
        DcTestSurface canvas(100, 50, kOfficeBarCanvas);
        theme->FillCommandBar(Dc(canvas), &popup);
        DcTestSurface plain(100, 50, kOfficeBarCanvas);
        theme->FillFramedRect(Dc(plain), CRect(0, 0, 100, 50), Office::kPopupBorder, Office::kPopupBackground);
        if (c.opening.IsRectEmpty())
        {
            EXPECT_TRUE(canvas.EqualsCanvas(plain));
            continue;
        }
        EXPECT_TRUE(canvas.FilledWith(c.opening, C(Office::kBarFace)));
        // Everything else is the framed popup: the border's corners at the ends of the opening stay.
        DcTestSurface expected(100, 50, kOfficeBarCanvas);
        expected.CopyFrom(plain);
        expected.Fill(c.opening, C(Office::kBarFace));
        EXPECT_TRUE(canvas.EqualsCanvas(expected));
        EXPECT_EQ(C(Office::kPopupBorder), canvas.Pixel(c.opening.left - 1, 0));
        EXPECT_EQ(C(Office::kPopupBorder), canvas.Pixel(c.opening.right, 0));
    }
}

TEST_F(OfficeThemeBarTest, APopupsIconColumnRunsBetweenItsBorders)
{
    COSMCommandBar& popup = MakeBar(100, 80, 2, 5);
    const CRect borders = popup.GetBorders();
    const int gripper = theme->GetPopupBarGripperWidth(&popup);
    DcTestSurface canvas(100, 80, kOfficeBarCanvas);
    EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarGripper(Dc(canvas), &popup, TRUE));
    const CRect column(borders.left - 1, borders.top, borders.left - 1 + gripper, 80 - borders.bottom);
    ASSERT_EQ(1u, theme->gripperFills.size());
    EXPECT_EQ(column, theme->gripperFills[0]);
    EXPECT_FALSE(theme->gripperExpanded[0]);
    EXPECT_TRUE(canvas.FilledWith(column, C(Office::kBarFace)));
    EXPECT_TRUE(canvas.UntouchedOutside(column));

    // Floating, with the gripper style: the caption, then the column below it.
    theme->gripperFills.clear();
    COSMCommandBar& floating = MakeBar(100, 80, 2, 4);
    floating.SetTitle("Menu");
    DcTestSurface floatingCanvas(100, 80, kOfficeBarCanvas);
    const CSize caption = theme->DrawCommandBarGripper(Dc(floatingCanvas), &floating, TRUE);
    EXPECT_GT(caption.cy, 0);
    const CRect floatingBorders = floating.GetBorders();
    const int top = floatingBorders.top + caption.cy + 1;
    ASSERT_EQ(1u, theme->gripperFills.size());
    EXPECT_EQ(CRect(floatingBorders.left - 1, top, floatingBorders.left - 1 + gripper, 80 - floatingBorders.bottom),
              theme->gripperFills[0]);
    floating.SetBarStyle(0);
    theme->gripperFills.clear();
    theme->DrawCommandBarGripper(Dc(floatingCanvas), &floating, TRUE);
    EXPECT_TRUE(theme->gripperFills.empty());
}

TEST_F(OfficeThemeBarTest, DockedGrippersAreDottedLinesEveryTwoPixels)
{
    struct GripperCase
    {
        int position;
        CSize size;
        BOOL across;  // lines run across x (top and bottom bars)
    } const cases[] = {
        {0, CSize(6, 0), TRUE}, {1, CSize(6, 0), TRUE}, {2, CSize(0, 8), FALSE}, {3, CSize(0, 8), FALSE}};
    for (const GripperCase& c : cases)
    {
        SCOPED_TRACE(c.position);
        COSMCommandBar& bar = MakeBar(60, 30, 1, c.position);
        DcTestSurface canvas(60, 30, kOfficeBarCanvas);
        EXPECT_EQ(c.size, theme->DrawCommandBarGripper(Dc(canvas), &bar, FALSE));
        EXPECT_TRUE(canvas.Untouched());
        EXPECT_EQ(c.size, theme->DrawCommandBarGripper(Dc(canvas), &bar, TRUE));
        const COLORREF line = C(Office::kGripperLines);
        if (c.across)
        {
            for (int y = 5; y < 25; y += 2)
                EXPECT_TRUE(canvas.HasLine(CPoint(3, y), CPoint(6, y), line)) << y;
            EXPECT_EQ(10 * 3, canvas.CountNot(kOfficeBarCanvas));
        }
        else
        {
            for (int x = 5; x < 55; x += 2)
                EXPECT_TRUE(canvas.HasLine(CPoint(x, 3), CPoint(x, 6), line)) << x;
            EXPECT_EQ(25 * 3, canvas.CountNot(kOfficeBarCanvas));
        }
    }
}

TEST_F(OfficeThemeBarTest, ADialogBarsGripperIsAtLeast22HighWithLinesFromSix)
{
    theme->SetControlHeight(16);
    OfficeDialogLikeBar& bar = MakeBar<OfficeDialogLikeBar>(120, 40, 1, 0);
    DcTestSurface canvas(120, 40, kOfficeBarCanvas);
    EXPECT_EQ(CSize(6, 22), theme->DrawCommandBarGripper(Dc(canvas), &bar, TRUE));
    for (int y = 6; y < 20; y += 2)
        EXPECT_TRUE(canvas.HasLine(CPoint(3, y), CPoint(6, y), C(Office::kGripperLines))) << y;
    EXPECT_EQ(7 * 3, canvas.CountNot(kOfficeBarCanvas));
    theme->SetControlHeight(30);
    EXPECT_EQ(CSize(6, 34), theme->DrawDialogBarGripper(Dc(canvas), &bar, FALSE));
}

}  // namespace
