// The Office 2003 look's bars on real windows (client, window and parent rectangles are read): dock bars plain or in
// the dock gradient, docked toolbars that line up with the dock behind them, the face gradient down to the first
// row with its shadow line and rounded corners, a caller's clip region that survives the fill, floating bars in one
// gradient band per row, popups and message bars, and the dotted grippers.
#include "TestColorMachine.h"
#include "ThemeTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/MessageBar.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/controls/DialogBar.h"
#include "tests/support/ActiveWindow.h"
#include "framework/foundation/ColorManager.h"
#include "framework/themes/Office2003Theme.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using foundation_test::TestColorMachine;
using themes_test::DcTestSurface;
using themes_test::UniqueColorsTest;
using Office2003 = COSMOffice2003Theme;

namespace {

constexpr COLORREF kOffice2003BarCanvas = RGB(255, 255, 255);
// Colours of the look's members in these tests, clear of the table's unique colours (green 101 to 163).
constexpr COLORREF kDockFirst = RGB(200, 10, 10);
constexpr COLORREF kDockSecond = RGB(10, 10, 200);
constexpr COLORREF kFaceFirst = RGB(220, 20, 220);
constexpr COLORREF kFaceSecond = RGB(20, 220, 220);
constexpr COLORREF kShadowLine = RGB(90, 40, 0);

class Office2003BarTest : public UniqueColorsTest<COSMOffice2003Theme>
{
protected:
    void SetUp() override
    {
        scope = std::make_unique<COSMColorEnvironmentScope>(machine);
        UniqueColorsTest::SetUp();
        SetGradient(theme->DockBarGradient, kDockFirst, kDockSecond);
        SetGradient(theme->ToolbarGradient, kFaceFirst, kFaceSecond);
        theme->ToolbarShadowColor.SetCustomValue(kShadowLine);
    }
    void TearDown() override
    {
        for (auto& bar : bars)
            bar->DestroyWindow();
        bars.clear();
        if (parent)
            ::DestroyWindow(parent);
        UniqueColorsTest::TearDown();
        scope.reset();
    }
    static void SetGradient(COSMPaintManagerColorGradient& gradient, COLORREF first, COLORREF second)
    {
        gradient.First().SetCustomValue(first);
        gradient.Second().SetCustomValue(second);
        gradient.SetFactor(0.5f);
    }
    // A plain window the docked bars are children of, at (0, 0) on the screen, hidden.
    HWND MakeParent(int width, int height, DWORD style = 0)
    {
        parent = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | style, 0, 0, width, height, nullptr,
                                   nullptr, nullptr, nullptr);
        EXPECT_NE(nullptr, parent);
        return parent;
    }
    // A bar of the look at the point of the parent (a hidden top-level window without one), kept until the end.
    template <class Bar = COSMCommandBar>
    Bar& MakeBar(int width, int height, int type, int position, CPoint at = CPoint(0, 0), HWND owner = nullptr)
    {
        auto bar = std::make_unique<Bar>();
        bar->SetType(type);
        bar->SetPaintManager(theme.get());
        const DWORD style = owner ? WS_CHILD : WS_POPUP;
        EXPECT_TRUE(bar->CreateEx(owner ? 0 : WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", style, at.x, at.y, width,
                                  height, owner, nullptr));
        bar->SetPositionField(position);
        Bar& made = *bar;
        bars.push_back(std::move(bar));
        return made;
    }
    // The dock gradient as it lies behind a window of that width (its own client, from x = 0).
    std::unique_ptr<DcTestSurface> DockReference(int width, int height)
    {
        auto reference = std::make_unique<DcTestSurface>(width, height, kOffice2003BarCanvas);
        const int span = std::max(width, ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
        const CRect clip(0, 0, width, height);
        theme->GradientFill(reference->dc(), CRect(0, 0, span, height), kDockFirst, kDockSecond, TRUE, clip);
        return reference;
    }

    // The same gradient as a bar at (left, top) of a parent that wide sees it, in the bar's own coordinates.
    std::unique_ptr<DcTestSurface> DockBehind(int width, int height, int left, int parentWidth)
    {
        auto reference = std::make_unique<DcTestSurface>(width, height, kOffice2003BarCanvas);
        const int span = std::max(parentWidth, ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
        const CRect clip(0, 0, width, height);
        theme->GradientFill(reference->dc(), CRect(-left, 0, span - left, height), kDockFirst, kDockSecond, TRUE, clip);
        return reference;
    }
    static bool WithinRounding(COLORREF a, COLORREF b)
    {
        return std::abs(GetRValue(a) - GetRValue(b)) <= 1 && std::abs(GetGValue(a) - GetGValue(b)) <= 1 &&
               std::abs(GetBValue(a) - GetBValue(b)) <= 1;
    }

    TestColorMachine machine;
    std::unique_ptr<COSMColorEnvironmentScope> scope;
    std::vector<std::unique_ptr<CWnd>> bars;
    HWND parent = nullptr;
};

TEST_F(Office2003BarTest, ADockBarIsPlainInTheDocksSecondColourForTheFlatStylesElseTheGradient)
{
    struct DockCase
    {
        DWORD style;
        BOOL plain;
    } const cases[] = {{0, FALSE}, {0x4000, TRUE}, {0x0100, TRUE}, {0x4100, TRUE}, {0x0200, FALSE}};
    for (const DockCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.style);
        COSMDockBar dock;
        ASSERT_TRUE(dock.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Dock", WS_POPUP | c.style, 0, 0, 300, 30,
                                  nullptr, nullptr));
        DcTestSurface canvas(300, 30, kOffice2003BarCanvas);
        theme->FillDockBar(Dc(canvas), &dock);
        if (c.plain)
            EXPECT_TRUE(canvas.FilledWith(CRect(0, 0, 300, 30), kDockSecond));
        else
            EXPECT_TRUE(canvas.EqualsCanvas(*DockReference(300, 30)));
        dock.DestroyWindow();
    }
}

TEST_F(Office2003BarTest, NeighbouringToolbarsShowTheDockColourOfTheirScreenColumn)
{
    // Two toolbars side by side, each far narrower than half the screen: where the dock shows through (the
    // three-pixel strip on the left, the corners) each shows the colour the parent's gradient has at that column.
    HWND dock = MakeParent(400, 30);
    const auto dockReference = DockReference(400, 30);
    const DcTestSurface& dockCanvas = *dockReference;
    for (int left : {0, 150})
    {
        SCOPED_TRACE(left);
        COSMCommandBar& bar = MakeBar(150, 26, 1, 0, CPoint(left, 2), dock);
        DcTestSurface canvas(150, 26, kOffice2003BarCanvas);
        theme->FillCommandBar(Dc(canvas), &bar);
        const auto behind = DockBehind(150, 26, left, 400);
        std::vector<CPoint> dockShows = {CPoint(70, 0), CPoint(149, 1), CPoint(3, 24), CPoint(3, 1)};
        for (int x = 0; x < 3; ++x)
            dockShows.push_back(CPoint(x, 12));
        for (const CPoint& p : dockShows)
        {
            EXPECT_EQ(behind->Pixel(p.x, p.y), canvas.Pixel(p.x, p.y)) << p.x << "," << p.y;
            // Within the gradient's rounding of the colour the parent shows at that column.
            EXPECT_TRUE(WithinRounding(dockCanvas.Pixel(left + p.x, 0), canvas.Pixel(p.x, p.y))) << p.x << "," << p.y;
        }
    }
}

TEST_F(Office2003BarTest, ADockedToolbarsFaceRunsToItsFirstRowWithAShadowLineAndRoundedCorners)
{
    HWND dock = MakeParent(400, 40);
    COSMCommandBar& bar = MakeBar(120, 30, 1, 0, CPoint(10, 4), dock);
    COSMControl* first = bar.GetControls()->Add(1, 1);
    first->SetRect(CRect(6, 3, 30, 23));
    first->SetRowRect(CRect(4, 3, 116, 23));
    DcTestSurface canvas(120, 30, kOffice2003BarCanvas);
    theme->FillCommandBar(Dc(canvas), &bar);

    // Built by hand: the dock behind everything, the face gradient (0, 1)-(120, 24), the band in the face's end
    // colour down to the shadow row, the shadow line from x = 5, 113 long; the left strip and corners keep the dock.
    const auto dockReference = DockBehind(120, 30, 10, 400);
    const DcTestSurface& dockCanvas = *dockReference;
    DcTestSurface expected(120, 30, kOffice2003BarCanvas);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            expected.Fill(CRect(x, y, x + 1, y + 1), dockCanvas.Pixel(x, 0));
    DcTestSurface face(120, 30, kOffice2003BarCanvas);
    theme->GradientFill(face.dc(), CRect(0, 1, 120, 24), kFaceFirst, kFaceSecond, FALSE, nullptr);
    for (int y = 1; y < 24; ++y)
        for (int x = 3; x < 120; ++x)
            expected.Fill(CRect(x, y, x + 1, y + 1), face.Pixel(x, y));
    expected.Fill(CRect(3, 24, 120, 29), kFaceSecond);
    expected.Fill(CRect(5, 29, 118, 30), kShadowLine);
    for (const CPoint& corner : {CPoint(3, 1), CPoint(119, 1), CPoint(3, 28), CPoint(119, 28)})
        expected.Fill(CRect(corner.x, corner.y, corner.x + 1, corner.y + 1), dockCanvas.Pixel(corner.x, 0));
    EXPECT_TRUE(canvas.EqualsCanvas(expected));
    // The face gradient ends at the row's bottom + 1: its first colour at the top, the band's below the row.
    EXPECT_EQ(kFaceFirst, canvas.Pixel(50, 1));
    EXPECT_EQ(kFaceSecond, canvas.Pixel(50, 24));
}

TEST_F(Office2003BarTest, ACallersClipRegionStillHoldsAfterTheFill)
{
    HWND dock = MakeParent(400, 40);
    for (int position : {0, 1, 2, 3})
    {
        SCOPED_TRACE(position);
        COSMCommandBar& bar = MakeBar(60, 60, 1, position, CPoint(10, 0), dock);
        DcTestSurface canvas(60, 60, kOffice2003BarCanvas);
        HDC dc = canvas.GetDC();
        // A caller painting only the left half (a paint rectangle, a window that leaves a child out).
        HRGN clip = ::CreateRectRgn(0, 0, 30, 60);
        ::SelectClipRgn(dc, clip);
        theme->FillCommandBar(Dc(canvas), &bar);
        EXPECT_TRUE(canvas.Untouched(CRect(30, 0, 60, 60)));
        // Whatever the caller draws next stays inside its region.
        const RECT whole{0, 0, 60, 60};
        ::FillRect(dc, &whole, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        EXPECT_TRUE(canvas.FilledWith(CRect(0, 0, 30, 60), RGB(0, 0, 0)));
        EXPECT_TRUE(canvas.Untouched(CRect(30, 0, 60, 60)));
        HRGN after = ::CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(1, ::GetClipRgn(dc, after));
        EXPECT_TRUE(::EqualRgn(after, clip));
        ::DeleteObject(after);
        // Without a region of the caller's, none is left behind.
        ::SelectClipRgn(dc, nullptr);
        ::DeleteObject(clip);
        theme->FillCommandBar(Dc(canvas), &bar);
        HRGN none = ::CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(0, ::GetClipRgn(dc, none));
        ::DeleteObject(none);
    }
}

TEST_F(Office2003BarTest, ALeftToolbarsFaceRunsAcrossToItsFirstColumn)
{
    HWND dock = MakeParent(40, 300);
    COSMCommandBar& bar = MakeBar(30, 120, 1, 2, CPoint(4, 10), dock);
    COSMControl* first = bar.GetControls()->Add(1, 1);
    first->SetRect(CRect(3, 6, 23, 30));
    first->SetRowRect(CRect(3, 4, 23, 116));
    DcTestSurface canvas(30, 120, kOffice2003BarCanvas);
    theme->FillCommandBar(Dc(canvas), &bar);
    // The face from x = 1 to the column's right + 1, its first colour on the left; the band beyond it; the shadow
    // line down the right edge from y = 5; the top strip keeps the dock.
    EXPECT_EQ(kFaceFirst, canvas.Pixel(1, 60));
    EXPECT_EQ(kFaceSecond, canvas.Pixel(24, 60));
    EXPECT_EQ(kFaceSecond, canvas.Pixel(28, 60));
    EXPECT_EQ(kShadowLine, canvas.Pixel(29, 5));
    EXPECT_EQ(kShadowLine, canvas.Pixel(29, 117));
    EXPECT_NE(kShadowLine, canvas.Pixel(29, 118));
    for (int y = 0; y < 3; ++y)
        EXPECT_NE(kFaceFirst, canvas.Pixel(1, y));
    // A dock parent in a flat style shows the dock's second colour instead of the gradient.
    ::SetWindowLongPtr(dock, GWL_STYLE, ::GetWindowLongPtr(dock, GWL_STYLE) | 0x4000);
    DcTestSurface flat(30, 120, kOffice2003BarCanvas);
    theme->FillCommandBar(Dc(flat), &bar);
    EXPECT_EQ(kDockSecond, flat.Pixel(10, 1));
    EXPECT_EQ(kDockSecond, flat.Pixel(0, 60));
}

TEST_F(Office2003BarTest, AFloatingBarFramesItselfByItsFlagsUnlessFlat)
{
    struct FrameCase
    {
        DWORD flags;
        BOOL flatToolBar;
        BOOL framed;
    } const cases[] = {{0, FALSE, FALSE}, {1, FALSE, TRUE},     {2, FALSE, TRUE}, {4, FALSE, TRUE},
                       {8, FALSE, TRUE},  {0x10, FALSE, FALSE}, {1, TRUE, FALSE}, {0xF, TRUE, FALSE}};
    for (const FrameCase& c : cases)
    {
        COSMCommandBar bar;
        bar.SetType(1);
        bar.ModifyFlags(c.flags, 0);
        theme->m_flatToolBar = c.flatToolBar;
        EXPECT_EQ(c.framed, theme->HasFloatingBarFrame(&bar)) << std::hex << c.flags << " flat " << c.flatToolBar;
    }
}

TEST_F(Office2003BarTest, AFramedFloatingBarPaintsOneGradientBandPerRow)
{
    COSMCommandBar& bar = MakeBar(100, 90, 1, 4);
    bar.ModifyFlags(1, 0);
    COSMControl* first = bar.GetControls()->Add(1, 1);
    first->SetRect(CRect(4, 22, 30, 44));
    first->SetRowRect(CRect(2, 22, 98, 44));
    COSMControl* second = bar.GetControls()->Add(1, 2);
    second->SetWrap(TRUE);
    second->SetRect(CRect(4, 50, 30, 72));
    second->SetRowRect(CRect(2, 48, 98, 72));
    DcTestSurface canvas(100, 90, kOffice2003BarCanvas);
    theme->FillCommandBar(Dc(canvas), &bar);
    const COLORREF border = C(Office2003::kFloatingBorder);
    EXPECT_TRUE(canvas.Has3dFrame(CRect(0, 0, 100, 90), border, border));
    EXPECT_TRUE(canvas.Has3dFrame(CRect(1, 1, 99, 89), border, border));
    for (const CPoint& corner : {CPoint(2, 2), CPoint(98, 2), CPoint(2, 88), CPoint(98, 88)})
        EXPECT_EQ(border, canvas.Pixel(corner.x, corner.y));
    // The caption area in the bar face.
    EXPECT_EQ(C(Office2003::kBarFace), canvas.Pixel(50, 4));
    // Each band starts in the face's first colour: below the caption and at the second row's top.
    int caption = 0;
    {
        DcTestSurface measure(4, 4, kOffice2003BarCanvas);
        CFont* old = measure.dc()->SelectObject(&theme->GetRegularFont());
        caption = std::max<int>(measure.dc()->GetTextExtent("X", 1).cy, 15);
        measure.dc()->SelectObject(old);
    }
    EXPECT_EQ(kFaceFirst, canvas.Pixel(50, 2 + caption));
    EXPECT_EQ(kFaceFirst, canvas.Pixel(50, 48));
    EXPECT_NE(kFaceFirst, canvas.Pixel(50, 47));
    EXPECT_NE(C(Office2003::kBarFace), canvas.Pixel(50, 87));

    // Without the frame flags: the flat look's floating bar.
    bar.ModifyFlags(0, 0xFFFFFFFF);
    DcTestSurface plain(100, 90, kOffice2003BarCanvas);
    theme->FillCommandBar(Dc(plain), &bar);
    EXPECT_EQ(C(Office2003::kBarFace), plain.Pixel(50, 48));
}

TEST_F(Office2003BarTest, APopupIsFramedAndOpensTowardsItsButton)
{
    COSMCommandBar& toolBar = MakeBar(200, 30, 1, 0, CPoint(200, 100));
    COSMControl* button = toolBar.GetControls()->Add(1, 1);
    button->SetRect(CRect(20, 4, 60, 26));
    COSMPopupBar& popup = MakeBar<COSMPopupBar>(100, 50, 2, 5, CPoint(200, 122));
    popup.SetControlPopup(button);
    DcTestSurface canvas(100, 50, kOffice2003BarCanvas);
    theme->FillCommandBar(Dc(canvas), &popup);
    DcTestSurface expected(100, 50, kOffice2003BarCanvas);
    theme->FillFramedRect(expected.dc(), CRect(0, 0, 100, 50), Office2003::kPopupBorder, Office2003::kPopupBackground);
    expected.Fill(CRect(21, 1, 59, 3), C(Office2003::kPopupBackground));
    EXPECT_TRUE(canvas.EqualsCanvas(expected));
}

TEST_F(Office2003BarTest, AMessageBarShowsTheDockGradientAndAFramedTipColouredInside)
{
    COSMMessageBar message;
    ASSERT_TRUE(message.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Message", WS_POPUP, 0, 0, 300, 40, nullptr,
                                 nullptr));
    CRect inner;
    COSMMessageBar::GetInnerRect(&message, &inner);
    ASSERT_FALSE(inner.IsRectEmpty());
    DcTestSurface canvas(300, 40, kOffice2003BarCanvas);
    theme->FillMessageBar(Dc(canvas), &message);
    const auto dock = DockReference(300, 40);
    EXPECT_EQ(dock->Pixel(0, 0), canvas.Pixel(0, 0));
    EXPECT_EQ(dock->Pixel(299, 39), canvas.Pixel(299, 39));
    EXPECT_TRUE(canvas.Has3dFrame(inner, kShadowLine, kShadowLine));
    inner.DeflateRect(1, 1);
    EXPECT_TRUE(canvas.FilledWith(inner, C(COLOR_INFOBK)));
    message.DestroyWindow();
}

TEST_F(Office2003BarTest, DockedGrippersAreDotsThatMeasureAndThenReturnNothing)
{
    struct GripperCase
    {
        int position;
        CSize measured;
    } const cases[] = {{0, CSize(6, 0)}, {1, CSize(6, 0)}, {2, CSize(0, 9)}, {3, CSize(0, 9)}};
    for (const GripperCase& c : cases)
    {
        SCOPED_TRACE(c.position);
        COSMCommandBar& bar = MakeBar(60, 30, 1, c.position);
        DcTestSurface canvas(60, 30, kOffice2003BarCanvas);
        EXPECT_EQ(c.measured, theme->DrawCommandBarGripper(Dc(canvas), &bar, FALSE));
        EXPECT_TRUE(canvas.Untouched());
        EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarGripper(Dc(canvas), &bar, TRUE));
        const COLORREF dark = C(Office2003::kGripperLines), light = C(COLOR_WINDOW);
        if (c.position < 2)
        {
            // y = 5, 9, 13, 17 while y < 30 - 7.
            for (int y = 5; y < 23; y += 4)
            {
                EXPECT_TRUE(canvas.FilledWith(CRect(6, y, 8, y + 2), dark)) << y;
                EXPECT_EQ(light, canvas.Pixel(8, y + 2)) << y;
            }
            EXPECT_EQ(5 * (4 + 3), canvas.CountNot(kOffice2003BarCanvas));
        }
        else
        {
            for (int x = 5; x < 53; x += 4)
            {
                EXPECT_TRUE(canvas.FilledWith(CRect(x, 6, x + 2, 8), dark)) << x;
                EXPECT_EQ(light, canvas.Pixel(x + 2, 8)) << x;
            }
            EXPECT_EQ(12 * (4 + 3), canvas.CountNot(kOffice2003BarCanvas));
        }
    }
}

}  // namespace

namespace {

TEST_F(Office2003BarTest, ADialogBarsGripperShowsWhetherTheFocusIsInsideTheBar)
{
    const COLORREF checked = RGB(200, 150, 10);
    SetGradient(theme->CheckedGradient, checked, checked);
    SetGradient(theme->ToolbarGradient, kFaceFirst, kFaceFirst);
    theme->SetControlHeight(16);
    COSMDialogBar& bar = MakeBar<COSMDialogBar>(120, 80, 1, 0, CPoint(300, 300));
    // The raw control height + 6, at least 25.
    EXPECT_EQ(CSize(8, 25), theme->DrawDialogBarGripper(nullptr, &bar, FALSE));
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 40, 60, 20, bar.GetSafeHwnd(), nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    bar.SetChild(edit);
    bar.ShowWindow(SW_SHOWNA);
    ASSERT_TRUE(osm::test::ActivateWindow(bar.GetSafeHwnd()));

    struct ActivityCase
    {
        const char* name;
        bool focusInside;
        BOOL luna;
        COLORREF strip;
    } const cases[] = {
        {"focus inside, scheme colours", true, TRUE, checked},
        {"focus inside, system colours", true, FALSE, C(Office2003::kCheckedFill)},
        {"focus elsewhere", false, TRUE, kFaceFirst},
    };
    for (const ActivityCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        ::SetFocus(c.focusInside ? edit : nullptr);
        bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        ASSERT_EQ(c.focusInside, bar.IsActive() != FALSE);
        theme->LunaColors = c.luna;
        DcTestSurface canvas(120, 80, kOffice2003BarCanvas);
        EXPECT_EQ(CSize(8, 25), theme->DrawDialogBarGripper(Dc(canvas), &bar, TRUE));
        // The strip: the client less 3 on each side, 25 high; dots from its top + 4 at x = 5.
        EXPECT_TRUE(canvas.FilledWith(CRect(9, 3, 117, 28), c.strip));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 28, 120, 80)));
        for (int y = 7; y < 23; y += 4)
        {
            EXPECT_TRUE(canvas.FilledWith(CRect(5, y, 7, y + 2), C(Office2003::kGripperLines))) << y;
            EXPECT_EQ(C(COLOR_WINDOW), canvas.Pixel(7, y + 2)) << y;
        }
    }
    theme->SetControlHeight(30);
    EXPECT_EQ(CSize(8, 36), theme->DrawDialogBarGripper(nullptr, &bar, FALSE));
    ::DestroyWindow(edit);
}

}  // namespace
