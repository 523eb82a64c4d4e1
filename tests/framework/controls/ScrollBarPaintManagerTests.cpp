// The scroll-bar and slider painters on DIB sections: the flat look's frames and glyphs, the visual-style parts and
// states (through the stand-in theme library), no thumb on a disabled bar, and the slider's ticks.
#include "tests/support/DcTestSurface.h"
#include "ScrollEngineTestSupport.h"
#include "ThemeStubLibrary.h"

#include "classlib/DC.h"

#include <gtest/gtest.h>
#include <vsstyle.h>

#include <set>

using foundation_test::DcTestSurface;
using scroll_test::FixedMetricsPainter;
using scroll_test::HeadlessScrollHost;
using scroll_test::ThemedTestPaintManager;

namespace {

const COLORREF kBackground = RGB(255, 0, 255);

COLORREF Sys(int index)
{
    return ::GetSysColor(index);
}

// The count of pure black pixels (the glyphs' colour) inside the rectangle.
int CountBlack(const DcTestSurface& surface, const RECT& rect)
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += surface.Pixel(x, y) == RGB(0, 0, 0);
    return count;
}

}  // namespace

TEST(ScrollBarPainter, FlatArrowsAreFramedInHighlightAndShadowSwappedWhenPressed)
{
    ThemedTestPaintManager pm;  // theme 0: the flat look
    FixedMetricsPainter painter(&pm);
    HeadlessScrollHost host(&painter);
    host.RecalcScrollBar();  // 16 × 100, arrows 16, thumb at 16..24
    ASSERT_EQ(COSMScrollBase::kStyleFlat, host.GetScrollBarStyle());
    ASSERT_NE(Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));

    ScrollBarTrackInfo track{};
    for (bool pressed : {false, true})
    {
        SCOPED_TRACE(pressed ? "pressed" : "normal");
        track.cursorInside = TRUE;
        host.GetScrollBarGeometry().hitPart = COSMScrollBase::kHitFirstArrow;
        host.SetPress(pressed ? &track : nullptr);
        DcTestSurface surface(16, 100, kBackground);
        painter.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
        const COLORREF topLeft = pressed ? Sys(COLOR_BTNSHADOW) : Sys(COLOR_BTNHIGHLIGHT);
        const COLORREF bottomRight = pressed ? Sys(COLOR_BTNHIGHLIGHT) : Sys(COLOR_BTNSHADOW);
        // The first arrow (0..16) shows the press; the second (84..100) never does.
        EXPECT_EQ(topLeft, surface.Pixel(0, 0));
        EXPECT_EQ(topLeft, surface.Pixel(0, 8));
        EXPECT_EQ(topLeft, surface.Pixel(8, 0));
        EXPECT_EQ(bottomRight, surface.Pixel(15, 15));
        EXPECT_EQ(bottomRight, surface.Pixel(8, 15));
        EXPECT_EQ(Sys(COLOR_BTNFACE), surface.Pixel(1, 1));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), surface.Pixel(0, 84));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), surface.Pixel(15, 99));
        // The thumb, framed the same way, and a page area in the parent's scroll-bar brush.
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), surface.Pixel(0, 16));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), surface.Pixel(15, 23));
        EXPECT_EQ(Sys(COLOR_BTNFACE), surface.Pixel(8, 20));
        EXPECT_EQ(Sys(COLOR_SCROLLBAR), surface.Pixel(8, 50));
    }
    // A press the cursor has left is not shown.
    track.cursorInside = FALSE;
    host.SetPress(&track);
    DcTestSurface surface(16, 100, kBackground);
    painter.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), surface.Pixel(0, 0));
    host.SetPress(nullptr);
}

TEST(ScrollBarPainter, APressedPageAreaIsInverted)
{
    ThemedTestPaintManager pm;
    FixedMetricsPainter painter(&pm);
    HeadlessScrollHost host(&painter);
    host.RecalcScrollBar();
    ScrollBarTrackInfo track{};
    track.cursorInside = TRUE;
    host.GetScrollBarGeometry().hitPart = COSMScrollBase::kHitSecondPage;
    host.SetPress(&track);
    DcTestSurface surface(16, 100, kBackground);
    painter.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
    host.SetPress(nullptr);
    const COLORREF page = Sys(COLOR_SCROLLBAR);
    EXPECT_EQ(RGB(255 - GetRValue(page), 255 - GetGValue(page), 255 - GetBValue(page)), surface.Pixel(8, 50));
}

TEST(ScrollBarPainter, ADisabledBarHasNoThumb)
{
    const struct
    {
        const char* name;
        BOOL hostEnabled;
        int max;
    } cases[] = {{"host disabled", FALSE, 99}, {"page covers the range", TRUE, 9}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ThemedTestPaintManager pm;
        FixedMetricsPainter painter(&pm);
        HeadlessScrollHost host(&painter);
        host.enabled = c.hostEnabled;
        host.info.nMax = c.max;
        host.info.nPos = 0;
        host.RecalcScrollBar();
        DcTestSurface surface(16, 100, kBackground);
        painter.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
        const ScrollBarGeometry& g = host.GetScrollBarGeometry();
        // Where the thumb would be, the track runs on.
        const int y = std::max(g.thumbStart, g.upArrowEnd) + 2;
        EXPECT_EQ(Sys(COLOR_SCROLLBAR), surface.Pixel(8, y));
        EXPECT_EQ(Sys(COLOR_SCROLLBAR), surface.Pixel(0, y));
    }
}

TEST(ScrollBarPainter, GlyphsOnlyInBoxesOfSixBySixOrMore)
{
    const struct
    {
        RECT rect;
        BOOL vertical;
        bool glyph;
    } cases[] = {
        {{0, 0, 16, 100}, TRUE, true},  {{0, 0, 100, 16}, FALSE, true}, {{0, 0, 5, 100}, TRUE, false},  // 5 across
        {{0, 0, 100, 5}, FALSE, false},                                                                 // 5 across
        {{0, 0, 16, 10}, TRUE, false},  // arrows of 5 along
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.rect.right << " x " << c.rect.bottom);
        ThemedTestPaintManager pm;
        FixedMetricsPainter painter(&pm);
        HeadlessScrollHost host(&painter);
        host.rect = c.rect;
        host.GetScrollBarGeometry().vertical = c.vertical;
        host.RecalcScrollBar();
        DcTestSurface surface(c.rect.right, c.rect.bottom, kBackground);
        painter.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
        const ScrollBarGeometry& g = host.GetScrollBarGeometry();
        const CRect first =
            c.vertical ? CRect(0, 0, c.rect.right, g.upArrowEnd) : CRect(0, 0, g.upArrowEnd, c.rect.bottom);
        EXPECT_EQ(c.glyph, CountBlack(surface, first) > 0);
    }
}

TEST(ScrollBarPainter, DisabledGlyphsAreShadowColoured)
{
    ThemedTestPaintManager pm;
    FixedMetricsPainter painter(&pm);
    HeadlessScrollHost host(&painter);
    host.enabled = FALSE;
    host.RecalcScrollBar();
    DcTestSurface surface(16, 100, kBackground);
    painter.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
    EXPECT_EQ(0, CountBlack(surface, RECT{0, 0, 16, 100}));
    int shadowInside = 0;
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x)
            shadowInside += surface.Pixel(x, y) == Sys(COLOR_BTNSHADOW);
    EXPECT_GT(shadowInside, 0);
}

namespace {

class ThemedScrollPainterTest : public ::testing::Test, protected ThemeStubLibrary
{
protected:
    ThemedScrollPainterTest() : ThemeStubLibrary(TRUE) {}
    void SetUp() override { SetUpThemeStub(); }

    // Draws with visual-style theme 1 and returns the parts and states drawn, in order.
    std::vector<std::pair<int, int>> Draw(HeadlessScrollHost& host, FixedMetricsPainter& painter)
    {
        m_stub->drawCount = 0;
        DcTestSurface surface(120, 120, kBackground);
        painter.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
        std::vector<std::pair<int, int>> drawn;
        for (int i = 0; i < m_stub->drawCount; ++i)
            drawn.emplace_back(m_stub->drawParts[i], m_stub->drawStates[i]);
        // The visual style drew; nothing classic went over it.
        EXPECT_EQ(0, surface.CountNot(kBackground));
        return drawn;
    }
};

}  // namespace

TEST_F(ThemedScrollPainterTest, EveryPartThroughTheScrollBarClassWithItsState)
{
    ThemedTestPaintManager pm;
    pm.themeId = 1;
    FixedMetricsPainter painter(&pm, m_functions);
    painter.GetScrollBarTheme().OpenThemeData(nullptr, L"SCROLLBAR");
    ASSERT_STREQ(L"SCROLLBAR", m_stub->lastClassList);
    HeadlessScrollHost host(&painter);
    host.info.nPos = 45;
    ScrollBarTrackInfo track{};
    track.cursorInside = TRUE;

    using Drawn = std::vector<std::pair<int, int>>;
    const struct
    {
        const char* name;
        BOOL vertical;
        int part;      // hot or pressed part
        bool pressed;  // the press runs
        BOOL enabled;
        Drawn drawn;
    } cases[] = {
        {"vertical, nothing hot",
         TRUE,
         0,
         false,
         TRUE,
         {{SBP_ARROWBTN, ABS_UPNORMAL},
          {SBP_LOWERTRACKVERT, 1},
          {SBP_THUMBBTNVERT, 1},
          {SBP_GRIPPERVERT, 1},
          {SBP_UPPERTRACKVERT, 1},
          {SBP_ARROWBTN, ABS_DOWNNORMAL}}},
        {"first arrow hot",
         TRUE,
         60,
         false,
         TRUE,
         {{SBP_ARROWBTN, ABS_UPHOT},
          {SBP_LOWERTRACKVERT, 1},
          {SBP_THUMBBTNVERT, 1},
          {SBP_GRIPPERVERT, 1},
          {SBP_UPPERTRACKVERT, 1},
          {SBP_ARROWBTN, ABS_DOWNNORMAL}}},
        {"second arrow pressed",
         TRUE,
         61,
         true,
         TRUE,
         {{SBP_ARROWBTN, ABS_UPNORMAL},
          {SBP_LOWERTRACKVERT, 1},
          {SBP_THUMBBTNVERT, 1},
          {SBP_GRIPPERVERT, 1},
          {SBP_UPPERTRACKVERT, 1},
          {SBP_ARROWBTN, ABS_DOWNPRESSED}}},
        {"thumb pressed",
         TRUE,
         64,
         true,
         TRUE,
         {{SBP_ARROWBTN, ABS_UPNORMAL},
          {SBP_LOWERTRACKVERT, 1},
          {SBP_THUMBBTNVERT, 3},
          {SBP_GRIPPERVERT, 3},
          {SBP_UPPERTRACKVERT, 1},
          {SBP_ARROWBTN, ABS_DOWNNORMAL}}},
        {"page hot",
         TRUE,
         63,
         false,
         TRUE,
         {{SBP_ARROWBTN, ABS_UPNORMAL},
          {SBP_LOWERTRACKVERT, 1},
          {SBP_THUMBBTNVERT, 1},
          {SBP_GRIPPERVERT, 1},
          {SBP_UPPERTRACKVERT, 2},
          {SBP_ARROWBTN, ABS_DOWNNORMAL}}},
        {"horizontal, first page pressed",
         FALSE,
         62,
         true,
         TRUE,
         {{SBP_ARROWBTN, ABS_LEFTNORMAL},
          {SBP_LOWERTRACKHORZ, 3},
          {SBP_THUMBBTNHORZ, 1},
          {SBP_GRIPPERHORZ, 1},
          {SBP_UPPERTRACKHORZ, 1},
          {SBP_ARROWBTN, ABS_RIGHTNORMAL}}},
        {"horizontal, second arrow hot",
         FALSE,
         61,
         false,
         TRUE,
         {{SBP_ARROWBTN, ABS_LEFTNORMAL},
          {SBP_LOWERTRACKHORZ, 1},
          {SBP_THUMBBTNHORZ, 1},
          {SBP_GRIPPERHORZ, 1},
          {SBP_UPPERTRACKHORZ, 1},
          {SBP_ARROWBTN, ABS_RIGHTHOT}}},
        // Disabled: every part in state 4 and no thumb (the track runs on where it would be).
        {"disabled",
         TRUE,
         60,
         false,
         FALSE,
         {{SBP_ARROWBTN, ABS_UPDISABLED},
          {SBP_LOWERTRACKVERT, 4},
          {SBP_LOWERTRACKVERT, 4},
          {SBP_UPPERTRACKVERT, 4},
          {SBP_ARROWBTN, ABS_DOWNDISABLED}}},
        {"horizontal disabled",
         FALSE,
         0,
         false,
         FALSE,
         {{SBP_ARROWBTN, ABS_LEFTDISABLED},
          {SBP_LOWERTRACKHORZ, 4},
          {SBP_LOWERTRACKHORZ, 4},
          {SBP_UPPERTRACKHORZ, 4},
          {SBP_ARROWBTN, ABS_RIGHTDISABLED}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        host.GetScrollBarGeometry().vertical = c.vertical;
        host.rect = c.vertical ? RECT{0, 0, 16, 100} : RECT{0, 0, 100, 16};
        host.enabled = c.enabled;
        host.RecalcScrollBar();
        host.GetScrollBarGeometry().hitPart = c.part;
        host.SetPress(c.pressed ? &track : nullptr);
        track.thumbDragging = c.part == COSMScrollBase::kHitThumb;
        EXPECT_EQ(c.drawn, Draw(host, painter));
        host.SetPress(nullptr);
    }
    // The parts' rectangles: the first arrow, then the page before the thumb.
    host.GetScrollBarGeometry().vertical = TRUE;
    host.rect = RECT{0, 0, 16, 100};
    host.enabled = TRUE;
    host.RecalcScrollBar();
    Draw(host, painter);
    EXPECT_EQ(CRect(0, 0, 16, 16), CRect(m_stub->drawRects[0]));
    EXPECT_EQ(CRect(0, 16, 16, 46), CRect(m_stub->drawRects[1]));
    EXPECT_EQ(CRect(0, 46, 16, 54), CRect(m_stub->drawRects[2]));
    EXPECT_EQ(CRect(0, 84, 16, 100), CRect(m_stub->drawRects[5]));
}

TEST_F(ThemedScrollPainterTest, OtherThemesStylesOffAndAFailedOpenDrawClassic)
{
    const struct
    {
        const char* name;
        int theme;
        BOOL appThemed;
        BOOL openFails;
    } cases[] = {{"theme 0", 0, TRUE, FALSE}, {"styles off", 1, FALSE, FALSE}, {"open failed", 1, TRUE, TRUE}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResetThemeStub(m_stub);
        m_stub->appThemed = c.appThemed;
        m_stub->openFails = c.openFails;
        ThemedTestPaintManager pm;
        pm.themeId = c.theme;
        FixedMetricsPainter painter(&pm, m_functions);
        painter.GetScrollBarTheme().OpenThemeData(nullptr, L"SCROLLBAR");
        HeadlessScrollHost host(&painter);
        host.RecalcScrollBar();
        DcTestSurface surface(16, 100, kBackground);
        painter.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
        EXPECT_EQ(0, m_stub->drawCount);
        EXPECT_GT(surface.CountNot(kBackground), 0) << "drawn classic";
        EXPECT_EQ(Sys(COLOR_BTNFACE), surface.Pixel(8, 20)) << "the thumb";
    }
}

TEST(ScrollBarPainter, RefreshMetricsReadsTheSystemsAndOpensTheScrollBarClass)
{
    ThemedTestPaintManager pm;
    COSMScrollBarPaintManager painter(&pm);
    painter.RefreshMetrics();
    EXPECT_EQ(::GetSystemMetrics(SM_CXHSCROLL), painter.GetHorizontalArrowLength());
    EXPECT_EQ(::GetSystemMetrics(SM_CYHSCROLL), painter.GetHorizontalThickness());
    EXPECT_EQ(::GetSystemMetrics(SM_CYVSCROLL), painter.GetVerticalArrowLength());
    EXPECT_EQ(::GetSystemMetrics(SM_CXVSCROLL), painter.GetVerticalThickness());
    EXPECT_EQ(0, painter.GetFixedThumbLength());

    COSMSliderPaintManager slider(&pm);
    slider.RefreshMetrics();
    EXPECT_EQ(16, slider.GetHorizontalArrowLength());
    EXPECT_EQ(16, slider.GetHorizontalThickness());
    EXPECT_EQ(::GetSystemMetrics(SM_CYVSCROLL), slider.GetVerticalArrowLength());
    EXPECT_EQ(11, slider.GetFixedThumbLength());
    // The paint manager makes a slider painter of this class.
    EXPECT_NE(nullptr, dynamic_cast<COSMSliderPaintManager*>(pm.GetSliderPaintManager()));
}

namespace {

// The slider on a 200 × 16 horizontal bar over 0..100 with page 0: buttons 0..16 and 184..200, the thumb at
// position 75 (pixels 134..145, away from the ticks), the channel at rows 7 and 8, the marks' first row 4.
class SliderPainterTest : public ::testing::Test
{
protected:
    SliderPainterTest() : slider(&pm), host(&slider)
    {
        slider.RefreshMetrics();
        host.GetScrollBarGeometry().vertical = FALSE;
        host.rect = RECT{0, 0, 200, 16};
        host.info.nMin = 0;
        host.info.nMax = 100;
        host.info.nPage = 0;
        host.info.nPos = 75;
    }
    // The columns of the track (between the buttons, off the thumb) whose pixel in the row is in the colour.
    std::set<int> Columns(const DcTestSurface& surface, int row, COLORREF color) const
    {
        std::set<int> columns;
        const ScrollBarGeometry& g = host.GetScrollBarGeometry();
        for (int x = g.upArrowEnd; x < g.downArrowStart; ++x)
            if ((x < g.thumbStart - 1 || x > g.thumbEnd) && surface.Pixel(x, row) == color)
                columns.insert(x);
        return columns;
    }

    ThemedTestPaintManager pm;
    COSMSliderPaintManager slider;
    HeadlessScrollHost host;
};

}  // namespace

TEST_F(SliderPainterTest, TicksStandAtTheirValuesOverTheNarrowedTrack)
{
    const struct
    {
        std::vector<double> ticks;
        std::set<int> columns;
    } cases[] = {
        // The track 22..178 (156 wide): x = value × 156 / 100, the mark's shadow stroke at 22 + x - 1.
        {{0, 25, 50, 100}, {21, 60, 99, 177}},
        {{10, 90}, {36, 161}},
        // Outside the range: no mark.
        {{-5, 120, 33.3}, {72}},
        // No ticks: one mark at the track's centre.
        {{}, {99}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.ticks.size() << " ticks");
        host.SetTicks(c.ticks.data(), static_cast<int>(c.ticks.size()));
        host.RecalcScrollBar();
        ASSERT_EQ(11, host.GetScrollBarGeometry().thumbSize);
        ASSERT_EQ(134, host.GetScrollBarGeometry().thumbStart);
        DcTestSurface surface(200, 16, kBackground);
        slider.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
        const COLORREF shadow = Sys(COLOR_BTNSHADOW);
        const COLORREF highlight = Sys(COLOR_BTNHIGHLIGHT);
        EXPECT_EQ(c.columns, Columns(surface, 4, shadow));
        for (int x : c.columns)
        {
            EXPECT_EQ(shadow, surface.Pixel(x, 7)) << x;     // the 4-pixel stroke
            EXPECT_EQ(highlight, surface.Pixel(x, 8)) << x;  // the gap shows the channel
            EXPECT_EQ(shadow, surface.Pixel(x, 9)) << x;     // the 2-pixel stroke
            EXPECT_EQ(shadow, surface.Pixel(x, 10)) << x;
            EXPECT_EQ(highlight, surface.Pixel(x + 1, 4)) << x;  // the highlight beside it, 7 long
            EXPECT_EQ(highlight, surface.Pixel(x + 1, 10)) << x;
        }
        // The channel: a shadow line over a highlight line.
        EXPECT_EQ(shadow, surface.Pixel(30, 7));
        EXPECT_EQ(highlight, surface.Pixel(30, 8));
        EXPECT_EQ(kBackground, surface.Pixel(30, 6));
        EXPECT_EQ(kBackground, surface.Pixel(30, 9));
    }
}

TEST_F(SliderPainterTest, ButtonsAndThumbAreDrawnAndAVerticalSliderDrawsNothing)
{
    host.RecalcScrollBar();
    DcTestSurface surface(200, 16, kBackground);
    slider.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
    const COLORREF text = Sys(COLOR_BTNTEXT);
    // The minus sign (8 × 2 at the button's centre) and the plus sign's upright.
    EXPECT_EQ(text, surface.Pixel(4, 7));
    EXPECT_EQ(text, surface.Pixel(11, 8));
    EXPECT_NE(text, surface.Pixel(7, 4));
    EXPECT_EQ(text, surface.Pixel(192, 4));
    EXPECT_EQ(text, surface.Pixel(188, 7));
    // The pointer thumb: outlined in shadow, filled with the face, its point below.
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), surface.Pixel(135, 2));
    EXPECT_EQ(Sys(COLOR_BTNFACE), surface.Pixel(138, 6));
    EXPECT_EQ(kBackground, surface.Pixel(135, 13));

    host.GetScrollBarGeometry().vertical = TRUE;
    host.rect = RECT{0, 0, 16, 200};
    host.RecalcScrollBar();
    DcTestSurface vertical(16, 200, kBackground);
    slider.DrawScrollBar(CDC::FromHandle(vertical.GetDC()), &host);
    EXPECT_EQ(0, vertical.CountNot(kBackground));
}

TEST_F(SliderPainterTest, TheButtonsShowHotAndPressed)
{
    host.RecalcScrollBar();
    ScrollBarTrackInfo track{};
    track.cursorInside = TRUE;
    const struct
    {
        int part;
        bool pressed;
        COLORREF first, second;
    } cases[] = {
        {0, false, Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE)},
        {60, false, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNFACE)},
        {61, true, Sys(COLOR_BTNFACE), Sys(COLOR_BTNSHADOW)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.part);
        host.GetScrollBarGeometry().hitPart = c.part;
        host.SetPress(c.pressed ? &track : nullptr);
        DcTestSurface surface(200, 16, kBackground);
        slider.DrawScrollBar(CDC::FromHandle(surface.GetDC()), &host);
        host.SetPress(nullptr);
        // Inside each circle, off its sign.
        EXPECT_EQ(c.first, surface.Pixel(5, 4));
        EXPECT_EQ(c.second, surface.Pixel(188, 4));
    }
}
