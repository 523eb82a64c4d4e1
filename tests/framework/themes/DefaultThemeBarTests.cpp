// The Default look's bars: backgrounds and grippers on real bar windows (their client rectangles are read), drawn
// into canvases of the client's size; tear-off and resize grippers, separators, control rectangles, borders, the
// popup icon box and the special buttons headless; and a toolbar with no manager of its own painting in this look.
#include "ThemeTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/themes/DefaultTheme.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using themes_test::DcTestSurface;
using themes_test::UniqueColorsTest;

namespace {

constexpr COLORREF kBarCanvas = RGB(255, 255, 255);

// A bar the test can call a dialog bar.
class DialogLikeBar : public COSMCommandBar
{
public:
    BOOL IsDialogBar() const override { return TRUE; }
};

// A control whose selection, press and popup state a test sets.
class StatedButton : public COSMControlPopup
{
public:
    int selected = 0;
    int pressed = 0;
    BOOL popupOpen = FALSE;
    int GetSelected() const override { return selected; }
    int GetPressed() const override { return pressed; }
    BOOL IsPopupOpen() const override { return popupOpen; }
};

class DefaultThemeBarTest : public UniqueColorsTest<COSMDefaultTheme>
{
protected:
    void TearDown() override
    {
        for (auto& bar : bars)
            bar->DestroyWindow();
        bars.clear();
        UniqueColorsTest::TearDown();
    }

    // A bar of the class as a hidden top-level window of that client size, kept until the test ends.
    template <class Bar = COSMCommandBar> Bar& MakeBar(int width, int height, int type, int position)
    {
        auto bar = std::make_unique<Bar>();
        bar->SetType(type);
        EXPECT_TRUE(bar->CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", WS_POPUP, 10, 10, width, height,
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

TEST_F(DefaultThemeBarTest, BarBackgroundsFollowTheirPlaceAndFlatness)
{
    struct FillCase
    {
        const char* name;
        int type, position;
        BOOL flatToolBars, flatMenuBar;
        enum
        {
            kDoubleFrame,
            kRaised,
            kFlat
        } face;
    } const cases[] = {
        {"floating toolbar", 1, 4, FALSE, FALSE, FillCase::kDoubleFrame},
        {"popup", 2, 5, TRUE, TRUE, FillCase::kDoubleFrame},
        {"docked toolbar", 1, 0, FALSE, TRUE, FillCase::kRaised},
        {"flat docked toolbar", 1, 2, TRUE, FALSE, FillCase::kFlat},
        {"menu bar", 0, 0, TRUE, FALSE, FillCase::kRaised},
        {"flat menu bar", 0, 0, FALSE, TRUE, FillCase::kFlat},
    };
    for (const FillCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMCommandBar& bar = MakeBar(60, 30, c.type, c.position);
        theme->m_flatToolBar = c.flatToolBars;
        theme->m_flatMenuBar = c.flatMenuBar;
        DcTestSurface canvas(60, 30, kBarCanvas);
        theme->FillCommandBar(Dc(canvas), &bar);
        const CRect client(0, 0, 60, 30);
        switch (c.face)
        {
        case FillCase::kDoubleFrame:
            EXPECT_TRUE(canvas.Has3dFrame(client, C(COLOR_BTNFACE), C(COLOR_3DDKSHADOW)));
            EXPECT_TRUE(canvas.Has3dFrame(CRect(1, 1, 59, 29), C(COLOR_BTNHIGHLIGHT), C(COLOR_BTNSHADOW)));
            EXPECT_TRUE(canvas.FilledWith(CRect(2, 2, 58, 28), C(COLOR_BTNFACE)));
            break;
        case FillCase::kRaised:
            EXPECT_TRUE(canvas.Has3dFrame(client, C(COLOR_BTNHIGHLIGHT), C(COLOR_BTNSHADOW)));
            EXPECT_TRUE(canvas.FilledWith(CRect(1, 1, 59, 29), C(COLOR_BTNFACE)));
            break;
        case FillCase::kFlat:
            EXPECT_TRUE(canvas.FilledWith(client, C(COLOR_BTNFACE)));
            break;
        }
    }
}

TEST_F(DefaultThemeBarTest, GrippersStandAcrossTheBarsLength)
{
    struct GripperCase
    {
        int position;
        CSize size;
        CRect frame;
    } const cases[] = {
        {0, CSize(6, 0), CRect(3, 3, 6, 27)},
        {1, CSize(6, 0), CRect(3, 3, 6, 27)},
        {2, CSize(0, 8), CRect(3, 3, 57, 6)},
        {3, CSize(0, 8), CRect(3, 3, 57, 6)},
    };
    for (const GripperCase& c : cases)
    {
        SCOPED_TRACE(c.position);
        COSMCommandBar& bar = MakeBar(60, 30, 1, c.position);
        DcTestSurface canvas(60, 30, kBarCanvas);
        EXPECT_EQ(c.size, theme->DrawCommandBarGripper(Dc(canvas), &bar, FALSE));
        EXPECT_TRUE(canvas.Untouched());
        EXPECT_EQ(c.size, theme->DrawCommandBarGripper(Dc(canvas), &bar, TRUE));
        EXPECT_TRUE(canvas.Has3dFrame(c.frame, C(COLOR_BTNHIGHLIGHT), C(COLOR_BTNSHADOW)));
        EXPECT_TRUE(canvas.UntouchedOutside(c.frame));
    }
}

TEST_F(DefaultThemeBarTest, ADialogBarsGripperIsAtLeast22High)
{
    theme->SetControlHeight(16);
    DialogLikeBar& bar = MakeBar<DialogLikeBar>(120, 40, 1, 0);
    DcTestSurface canvas(120, 40, kBarCanvas);
    EXPECT_EQ(CSize(6, 22), theme->DrawCommandBarGripper(Dc(canvas), &bar, TRUE));
    EXPECT_TRUE(canvas.Has3dFrame(CRect(3, 3, 6, 22), C(COLOR_BTNHIGHLIGHT), C(COLOR_BTNSHADOW)));
    EXPECT_TRUE(canvas.UntouchedOutside(CRect(3, 3, 6, 22)));
    theme->SetControlHeight(30);
    EXPECT_EQ(CSize(6, 34), theme->DrawDialogBarGripper(Dc(canvas), &bar, FALSE));
}

TEST_F(DefaultThemeBarTest, AFloatingBarKeepsTheCaptionGripper)
{
    COSMCommandBar& bar = MakeBar(120, 40, 1, 4);
    bar.SetTitle("Floating");
    DcTestSurface drawn(120, 40, kBarCanvas);
    DcTestSurface caption(120, 40, kBarCanvas);
    const CSize size = theme->DrawCommandBarGripper(Dc(drawn), &bar, TRUE);
    EXPECT_EQ(size, theme->COSMPaintManager::DrawCommandBarGripper(Dc(caption), &bar, TRUE));
    EXPECT_TRUE(drawn.EqualsCanvas(caption));
    // In this look's caption colour.
    EXPECT_EQ(C(COLOR_ACTIVECAPTION), drawn.Pixel(4, 4));
}

TEST_F(DefaultThemeBarTest, AToolbarWithoutAManagerOfItsOwnPaintsInThisLook)
{
    COSMPaintManager::RegisterThemes();
    COSMPaintManager::SetTheme(0);
    COSMPaintManager* global = COSMPaintManager::GetGlobalPaintManager();
    ASSERT_NE(nullptr, global);
    ASSERT_TRUE(global->IsKindOf(RUNTIME_CLASS(COSMDefaultTheme)));
    COSMCommandBar& bar = MakeBar(80, 26, 1, 0);
    bar.SetShowGripper(FALSE);
    ASSERT_EQ(global, bar.GetPaintManager());
    DcTestSurface canvas(80, 26, kBarCanvas);
    bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
    EXPECT_TRUE(canvas.Has3dFrame(CRect(0, 0, 80, 26), global->GetColor(COLOR_BTNHIGHLIGHT),
                                  global->GetColor(COLOR_BTNSHADOW)));
    EXPECT_TRUE(canvas.FilledWith(CRect(1, 1, 79, 25), global->GetColor(COLOR_BTNFACE)));
}

// ---- Headless: small grippers, separators, metrics, special buttons ----

TEST_F(DefaultThemeBarTest, TearOffGripperFillsInTheCaptionColours)
{
    for (BOOL selected : {TRUE, FALSE})
    {
        DcTestSurface canvas(40, 12, kBarCanvas);
        const CRect rect(2, 2, 38, 10);
        EXPECT_EQ(CSize(0, 8), theme->DrawTearOffGripper(Dc(canvas), rect, selected, TRUE));
        const CRect filled(2, 2, 38, 9);
        EXPECT_TRUE(canvas.FilledWith(filled, C(selected ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION)));
        EXPECT_TRUE(canvas.UntouchedOutside(filled));
    }
    DcTestSurface untouched(40, 12, kBarCanvas);
    EXPECT_EQ(CSize(0, 8), theme->DrawTearOffGripper(Dc(untouched), CRect(2, 2, 38, 10), TRUE, FALSE));
    EXPECT_TRUE(untouched.Untouched());
}

TEST_F(DefaultThemeBarTest, ResizeGrippersAreDotsOfDarkOverLight)
{
    const CRect rect(0, 0, 40, 12);
    DcTestSurface row(40, 12, kBarCanvas);
    theme->DrawPopupResizeGripper(Dc(row), rect, 2);
    for (int x = 12; x < 28; x += 4)
    {
        EXPECT_TRUE(row.FilledWith(CRect(x, 3, x + 2, 5), C(38))) << x;
        EXPECT_EQ(C(COLOR_WINDOW), row.Pixel(x + 2, 5)) << x;
        EXPECT_EQ(C(COLOR_WINDOW), row.Pixel(x + 1, 5)) << x;
    }
    EXPECT_TRUE(row.Untouched(CRect(0, 0, 12, 12)));
    EXPECT_TRUE(row.Untouched(CRect(27, 0, 40, 12)));

    DcTestSurface corner(40, 12, kBarCanvas);
    theme->DrawPopupResizeGripper(Dc(corner), rect, 1);
    for (CPoint dot : {CPoint(36, 8), CPoint(32, 8), CPoint(36, 4)})
    {
        EXPECT_TRUE(corner.FilledWith(CRect(dot, CSize(2, 2)), C(38))) << dot.x << "," << dot.y;
        EXPECT_EQ(C(COLOR_WINDOW), corner.Pixel(dot.x + 2, dot.y + 2));
    }
    // Three dots of four dark and three light pixels, nothing else.
    EXPECT_EQ(3 * (4 + 3), corner.CountNot(kBarCanvas));
}

TEST_F(DefaultThemeBarTest, SeparatorsAreTwoPixelSunkenFramesByBarKind)
{
    struct SeparatorCase
    {
        const char* name;
        int type, position;
        BOOL wrap;
        CRect frame;
    } const cases[] = {
        // The control at (40, 30)-(70, 50) in the row (10, 26)-(90, 54).
        {"popup", 2, 5, FALSE, CRect(51, 25, 59, 27)},    {"popup, new column", 2, 5, TRUE, CRect(35, 29, 37, 51)},
        {"left bar", 1, 2, FALSE, CRect(10, 26, 90, 28)}, {"right bar, new column", 1, 3, TRUE, CRect(92, 30, 94, 54)},
        {"top bar", 1, 0, FALSE, CRect(36, 26, 38, 54)},  {"bottom bar, new row", 1, 1, TRUE, CRect(14, 22, 90, 24)},
    };
    for (const SeparatorCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMCommandBar bar;
        bar.SetType(c.type);
        bar.SetPosition(c.position);
        COSMControlButton control;
        control.SetParent(&bar);
        control.SetRect(CRect(40, 30, 70, 50));
        control.SetRowRect(CRect(10, 26, 90, 54));
        control.SetWrap(c.wrap);
        const CSize measured = c.type == 2 ? CSize(8, 8) : CSize(6, 6);
        DcTestSurface canvas(100, 60, kBarCanvas);
        EXPECT_EQ(measured, theme->DrawCommandBarSeparator(Dc(canvas), &bar, &control, FALSE));
        EXPECT_EQ(measured, theme->DrawCommandBarSeparator(Dc(canvas), &bar, nullptr, FALSE));
        EXPECT_TRUE(canvas.Untouched());
        EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarSeparator(Dc(canvas), &bar, &control, TRUE));
        EXPECT_TRUE(canvas.Has3dFrame(c.frame, C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT)));
        EXPECT_TRUE(canvas.UntouchedOutside(c.frame));
    }
}

TEST_F(DefaultThemeBarTest, ControlRectanglesGrowOrShrinkByBarAndLayout)
{
    struct AdjustCase
    {
        const char* name;
        int barType;  // -1: no bar
        int controlType;
        BOOL vertical;
        CRect expected;
    } const cases[] = {
        {"popup row", 2, 1, FALSE, CRect(11, 20, 49, 40)},
        {"toolbar, horizontal", 1, 1, FALSE, CRect(9, 20, 51, 40)},
        {"toolbar, vertical", 1, 1, TRUE, CRect(10, 19, 50, 41)},
        {"combo box", 1, 5, FALSE, CRect(10, 20, 50, 40)},
        {"no bar", -1, 1, FALSE, CRect(10, 20, 50, 40)},
    };
    for (const AdjustCase& c : cases)
    {
        COSMCommandBar bar;
        bar.SetType(c.barType < 0 ? 1 : c.barType);
        COSMControlButton control;
        control.SetType(c.controlType);
        if (c.barType >= 0)
            control.SetParent(&bar);
        CRect rect(10, 20, 50, 40);
        theme->AdjustControlRect(rect, &control, c.vertical);
        EXPECT_EQ(c.expected, rect) << c.name;
    }
}

TEST_F(DefaultThemeBarTest, PopupsHaveBordersOfThreeAndAnIconBoxOfTheControlHeight)
{
    COSMCommandBar popup;
    popup.SetType(2);
    COSMCommandBar toolbar;
    toolbar.SetType(1);
    EXPECT_EQ(CRect(3, 3, 3, 3), theme->GetCommandBarBorders(&popup));
    EXPECT_EQ(CRect(2, 2, 2, 2), theme->GetCommandBarBorders(&toolbar));

    popup.SetIconSize(CSize(16, 16));
    theme->SetControlHeight(22);
    EXPECT_EQ(CSize(22, 22), theme->GetPopupBarImageSize(&popup));
    popup.SetIconSize(CSize(32, 24));
    EXPECT_EQ(CSize(36, 28), theme->GetPopupBarImageSize(&popup));
}

TEST_F(DefaultThemeBarTest, SpecialButtonsFillTheFaceOnlyWhenActive)
{
    struct SpecialCase
    {
        const char* name;
        int kind;
        int selected, pressed;
        BOOL open;
        BOOL filled;
    } const cases[] = {
        {"close, idle", 2, 0, 0, FALSE, FALSE},   {"close, selected", 2, 1, 0, FALSE, TRUE},
        {"close, pressed", 2, 0, 1, FALSE, TRUE}, {"close, open", 2, 0, 0, TRUE, FALSE},
        {"menu, idle", 3, 0, 0, FALSE, FALSE},    {"menu, open", 3, 0, 0, TRUE, TRUE},
        {"menu, pressed", 3, 0, 1, FALSE, TRUE},
    };
    COSMCommandBar bar;
    bar.SetType(1);
    bar.SetPosition(4);
    for (const SpecialCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        StatedButton button;
        button.SetParent(&bar);
        button.SetRect(CRect(4, 4, 20, 20));
        button.selected = c.selected;
        button.pressed = c.pressed;
        button.popupOpen = c.open;
        DcTestSurface canvas(24, 24, kBarCanvas);
        theme->DrawSpecialControl(Dc(canvas), c.kind, &button, &bar, TRUE, nullptr);
        // The corner inside the state frame shows whether the face was filled.
        EXPECT_EQ(c.filled ? C(COLOR_BTNFACE) : kBarCanvas, canvas.Pixel(5, 5));
        EXPECT_TRUE(canvas.UntouchedOutside(CRect(4, 4, 20, 20)));
    }
}

}  // namespace
