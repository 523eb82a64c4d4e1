// The Office 2007 look's surfaces: status bar, its pane borders and gripper, the message bar and its buttons, and the
// MDI workspace, drawn into DIB sections from the synthetic text's colours and images and read back pixel by pixel.
#include "Office2007ThemeTestSupport.h"

#include "framework/commandbars/MessageBar.h"
#include "framework/commandbars/StatusBar.h"

namespace office2007_theme_test {
namespace {

const COLORREF kWhite = RGB(255, 255, 255);

// A window of the bar's class, the size given, for the operations that read its client rectangle.
template <class Bar> bool CreateBarWindow(Bar& bar, int width, int height)
{
    return bar.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", WS_POPUP, 0, 0, width, height, nullptr,
                        nullptr) != FALSE;
}

TEST_F(Office2007ThemeTest, StatusBarIsAShadowLineOverTwoGradientBands)
{
    for (int height : {22, 9, 5})
    {
        SCOPED_TRACE("height " + std::to_string(height));
        COSMStatusBar bar;
        ASSERT_TRUE(CreateBarWindow(bar, 120, height));
        DcTestSurface canvas(120, 30, kCanvas);
        theme->FillStatusBar(canvas.dc(), &bar);
        EXPECT_TRUE(canvas.FilledWith(CRect(0, 0, 120, 1), theme->StatusBarShadowColor));
        EXPECT_EQ(canvas.Pixel(60, 1), theme->StatusBarTopGradient.First().GetEffective());
        if (height > 9)
        {
            EXPECT_EQ(canvas.Pixel(60, 9), theme->StatusBarBottomGradient.First().GetEffective());
            EXPECT_TRUE(canvas.Untouched(CRect(0, height, 120, 30)));
        }
        else
        {
            // No bottom band: below the bar nothing is drawn, nor past the top band.
            EXPECT_TRUE(canvas.Untouched(CRect(0, 9, 120, 30)));
        }
        bar.DestroyWindow();
    }
}

TEST_F(Office2007ThemeTest, PaneBordersAreTwoLinesExceptOnTheLastPane)
{
    const CRect pane(10, 2, 50, 20);
    DcTestSurface canvas(60, 24, kCanvas);
    theme->DrawStatusBarPaneBorder(canvas.dc(), pane, nullptr, FALSE);
    const int bottom = pane.top + pane.Height() - 2;
    EXPECT_TRUE(canvas.HasLine(CPoint(49, 2), CPoint(49, bottom), theme->GetColor(39)));
    EXPECT_TRUE(canvas.HasLine(CPoint(50, 2), CPoint(50, bottom), kWhite));
    DcTestSurface expected(60, 24, kCanvas);
    expected.Fill(CRect(49, 2, 50, bottom), theme->GetColor(39));
    expected.Fill(CRect(50, 2, 51, bottom), kWhite);
    EXPECT_TRUE(canvas.EqualsCanvas(expected));

    DcTestSurface last(60, 24, kCanvas);
    theme->DrawStatusBarPaneBorder(last.dc(), pane, nullptr, TRUE);
    EXPECT_TRUE(last.Untouched());
}

TEST_F(Office2007ThemeTest, GripperIsSixDotsEachOverAWhiteShade)
{
    DcTestSurface canvas(30, 30, kCanvas);
    theme->DrawStatusBarGripper(canvas.dc(), CRect(0, 0, 30, 30));
    DcTestSurface expected(30, 30, kCanvas);
    int dots = 0;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column <= 2 - row; ++column, ++dots)
        {
            const int x = 28 - 4 * column;
            const int y = 28 - 4 * row;
            expected.Fill(CRect(x, y, x + 2, y + 2), kWhite);
            expected.Fill(CRect(x - 1, y - 1, x + 1, y + 1), theme->GetColor(39));
        }
    EXPECT_EQ(dots, 6);
    EXPECT_TRUE(canvas.EqualsCanvas(expected));
}

TEST_F(Office2007ThemeTest, MessageBarIsBackColourFrameAndGradient)
{
    COSMMessageBar bar;
    ASSERT_TRUE(CreateBarWindow(bar, 200, 40));
    CRect inner;
    COSMMessageBar::GetInnerRect(&bar, &inner);
    ASSERT_FALSE(inner.IsRectEmpty());
    DcTestSurface canvas(200, 40, kCanvas);
    theme->FillMessageBar(canvas.dc(), &bar);
    EXPECT_EQ(canvas.Pixel(0, 0), theme->MessageBarBackColor);
    EXPECT_EQ(canvas.Pixel(199, 39), theme->MessageBarBackColor);
    EXPECT_TRUE(canvas.Has3dFrame(inner, theme->MessageBarFrameColor, theme->MessageBarFrameColor));
    EXPECT_EQ(canvas.Pixel(inner.CenterPoint().x, inner.top + 1), theme->MessageBarGradient.First().GetEffective());
    bar.DestroyWindow();
}

TEST_F(Office2007ThemeTest, MessageBarButtonsByStateAndTheCloseGlyph)
{
    const CRect r(10, 5, 40, 25);
    const COLORREF glyph = StateColor("FRAMECAPTIONCLOSE17", 0, 5);
    ASSERT_NE(glyph, kNoColor);
    // The 7 x 7 glyph centred: left (10 + 40 - 7) / 2, top (5 + 25 - 7) / 2.
    const CRect glyphRect(21, 11, 28, 18);
    const struct
    {
        const char* name;
        UINT id;
        BOOL pressed;
        BOOL hot;
        COLORREF fill;  // kNoColor: no background
        COLORREF frame;
    } cases[] = {
        {"close at rest", 0xF060, FALSE, FALSE, kNoColor, kNoColor},
        {"close pressed", 0xF060, TRUE, TRUE, theme->GetColor(33), theme->GetColor(50)},
        {"close hot", 0xF060, FALSE, TRUE, theme->GetColor(31), theme->GetColor(32)},
        {"button hot", 100, FALSE, TRUE, theme->GetColor(31), theme->GetColor(32)},
        {"button pressed and hot", 100, TRUE, TRUE, theme->GetColor(31), theme->GetColor(32)},
        {"button pressed, not hot", 100, TRUE, FALSE, kWhite, theme->MessageBarFrameColor},
        {"button at rest", 100, FALSE, FALSE, kWhite, theme->MessageBarFrameColor},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMMessageBarButton button;
        button.rect = r;
        button.id = c.id;
        button.pressed = c.pressed;
        button.hot = c.hot;
        DcTestSurface canvas(60, 30, kCanvas);
        theme->DrawMessageBarButton(canvas.dc(), &button);
        DcTestSurface expected(60, 30, kCanvas);
        if (c.fill != kNoColor)
        {
            expected.Fill(r, c.fill);
            expected.dc()->Draw3dRect(r, c.frame, c.frame);
        }
        if (c.id == 0xF060)
            expected.Fill(glyphRect, glyph);
        EXPECT_TRUE(canvas.EqualsCanvas(expected));
    }
}

TEST_F(Office2007ThemeTest, WorkspacePictureThenGradientsSplitAtTwoThirds)
{
    const CRect area(0, 0, 80, 66);
    DcTestSurface canvas(80, 66, kCanvas);
    theme->FillWorkspace(canvas.dc(), area, CRect(0, 0, 0, 0));
    // The 12 x 6 picture unstretched, its last column run on to the right edge.
    EXPECT_TRUE(canvas.FilledWith(CRect(0, 0, 11, 6), RGB(200, 40, 40)));
    EXPECT_TRUE(canvas.FilledWith(CRect(11, 0, 80, 6), RGB(40, 200, 40)));
    // 60 rows below it: 40 from top to middle, 20 from middle to bottom.
    EXPECT_EQ(canvas.Pixel(40, 6), theme->WorkspaceTopColor);
    EXPECT_EQ(canvas.Pixel(40, 46), theme->WorkspaceMiddleColor);
    EXPECT_NE(canvas.Pixel(40, 65), kCanvas);
}

TEST_F(Office2007ThemeTest, WorkspaceKeepsTheCallersClipRegionAndItsExclusion)
{
    DcTestSurface canvas(80, 60, kCanvas);
    HRGN callers = ::CreateRectRgn(0, 0, 50, 60);
    ::SelectClipRgn(canvas.GetDC(), callers);
    ::DeleteObject(callers);
    const CRect exclude(20, 20, 30, 30);
    theme->FillWorkspace(canvas.dc(), CRect(0, 0, 80, 60), exclude);
    EXPECT_TRUE(canvas.Untouched(exclude));
    EXPECT_TRUE(canvas.Untouched(CRect(50, 0, 80, 60)));
    EXPECT_NE(canvas.Pixel(10, 40), kCanvas);

    // The caller's region is still in force: a fill of the whole canvas stops at it.
    canvas.dc()->FillSolidRect(CRect(0, 0, 80, 60), kWhite);
    EXPECT_TRUE(canvas.Untouched(CRect(50, 0, 80, 60)));
    EXPECT_EQ(canvas.Pixel(25, 25), kWhite);
    HRGN after = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetClipRgn(canvas.GetDC(), after), 1);
    RECT box;
    ::GetRgnBox(after, &box);
    EXPECT_EQ(CRect(box), CRect(0, 0, 50, 60));
    ::DeleteObject(after);

    // Without a region of the caller's, none is left behind.
    DcTestSurface plain(40, 40, kCanvas);
    theme->FillWorkspace(plain.dc(), CRect(0, 0, 40, 40), CRect(0, 0, 0, 0));
    HRGN none = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetClipRgn(plain.GetDC(), none), 0);
    ::DeleteObject(none);
}

TEST_F(Office2007ThemeTest, NarrowWorkspaceShowsThePictureCutToTheArea)
{
    DcTestSurface canvas(30, 20, kCanvas);
    theme->FillWorkspace(canvas.dc(), CRect(2, 2, 7, 18), CRect(0, 0, 0, 0));
    EXPECT_TRUE(canvas.FilledWith(CRect(2, 2, 7, 8), RGB(200, 40, 40)));
    EXPECT_TRUE(canvas.UntouchedOutside(CRect(2, 2, 7, 18)));
}

TEST_F(Office2007ThemeWithoutTextTest, StatusBarMessageBarAndWorkspaceDrawNothing)
{
    COSMStatusBar status;
    ASSERT_TRUE(CreateBarWindow(status, 100, 22));
    COSMMessageBar message;
    ASSERT_TRUE(CreateBarWindow(message, 100, 30));
    DcTestSurface canvas(100, 40, kCanvas);
    theme->FillStatusBar(canvas.dc(), &status);
    theme->FillMessageBar(canvas.dc(), &message);
    theme->FillWorkspace(canvas.dc(), CRect(0, 0, 100, 40), CRect(0, 0, 0, 0));
    EXPECT_TRUE(canvas.Untouched());
    status.DestroyWindow();
    message.DestroyWindow();
}

}  // namespace
}  // namespace office2007_theme_test
