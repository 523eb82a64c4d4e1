// The scroll engine without a window: the geometry from a rectangle and a SCROLLINFO, the hit test, and the style
// chosen by the theme of the painter's paint manager.
#include "ScrollEngineTestSupport.h"

#include <gtest/gtest.h>

using scroll_test::FixedMetricsPainter;
using scroll_test::HeadlessScrollHost;
using scroll_test::ThemedTestPaintManager;

TEST(ScrollBaseGeometry, CalcScrollBarInfoFollowsTheRangeThePageAndTheArrows)
{
    const struct
    {
        const char* name;
        BOOL vertical;
        RECT rect;
        int min, max, page, pos;
        int fixedThumb;
        // Expected: extent along and across, arrows, thumb.
        int pxTop, pxBottom, pxLeft, pxRight;
        int upArrowEnd, downArrowStart, thumbSize, trackStart, thumbTravel, thumbStart;
    } cases[] = {
        {"proportional", TRUE, {0, 0, 16, 100}, 0, 99, 10, 45, 0, 0, 100, 0, 16, 16, 84, 8, 16, 60, 46},
        {"at the start", TRUE, {0, 0, 16, 100}, 0, 99, 10, 0, 0, 0, 100, 0, 16, 16, 84, 8, 16, 60, 16},
        // Shorter than two arrows: each gets half.
        {"short bar", TRUE, {0, 0, 16, 20}, 0, 99, 10, 0, 0, 0, 20, 0, 16, 10, 10, 8, 10, -8, 10},
        // Page 0: the thumb is as long as an arrow.
        {"page 0", TRUE, {0, 0, 16, 100}, 0, 99, 0, 49, 0, 0, 100, 0, 16, 16, 84, 16, 16, 52, 42},
        // The page covers the range: one pixel before the track.
        {"range is the page", TRUE, {0, 0, 16, 100}, 0, 9, 10, 0, 0, 0, 100, 0, 16, 16, 84, 68, 16, 0, 15},
        {"fixed thumb", TRUE, {0, 0, 16, 100}, 0, 99, 10, 30, 11, 0, 100, 0, 16, 16, 84, 11, 16, 57, 35},
        {"horizontal", FALSE, {10, 5, 210, 21}, 0, 99, 10, 45, 0, 10, 210, 5, 21, 30, 190, 16, 30, 144, 102},
        {"offset range", TRUE, {0, 50, 16, 150}, 100, 199, 10, 145, 0, 50, 150, 0, 16, 66, 134, 8, 66, 60, 96},
    };
    ThemedTestPaintManager pm;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        FixedMetricsPainter painter(&pm, c.fixedThumb);
        HeadlessScrollHost host(&painter);
        host.GetScrollBarGeometry().vertical = c.vertical;
        host.rect = c.rect;
        host.info.nMin = c.min;
        host.info.nMax = c.max;
        host.info.nPage = static_cast<UINT>(c.page);
        host.info.nPos = c.pos;
        host.RecalcScrollBar();
        const ScrollBarGeometry& g = host.GetScrollBarGeometry();
        EXPECT_EQ(CRect(c.rect), CRect(g.rect));
        EXPECT_EQ(c.min, g.posMin);
        EXPECT_EQ(c.max, g.posMax);
        EXPECT_EQ(c.page, g.page);
        EXPECT_EQ(c.pos, g.pos);
        EXPECT_EQ(c.pxTop, g.pxTop);
        EXPECT_EQ(c.pxBottom, g.pxBottom);
        EXPECT_EQ(c.pxLeft, g.pxLeft);
        EXPECT_EQ(c.pxRight, g.pxRight);
        EXPECT_EQ(c.upArrowEnd, g.upArrowEnd);
        EXPECT_EQ(c.downArrowStart, g.downArrowStart);
        EXPECT_EQ(c.thumbSize, g.thumbSize);
        EXPECT_EQ(c.trackStart, g.trackStart);
        EXPECT_EQ(c.thumbTravel, g.thumbTravel);
        EXPECT_EQ(c.thumbStart, g.thumbStart);
        EXPECT_EQ(c.thumbStart + c.thumbSize, g.thumbEnd);
        EXPECT_EQ(0, g.popupStart);
    }
}

TEST(ScrollBaseGeometry, ANewEngineIsVerticalAndIdle)
{
    ThemedTestPaintManager pm;
    FixedMetricsPainter painter(&pm);
    HeadlessScrollHost host(&painter);
    const ScrollBarGeometry& g = host.GetScrollBarGeometry();
    EXPECT_TRUE(g.vertical);
    EXPECT_EQ(0, g.hitPart);
    EXPECT_EQ(0, g.thumbSize);
    EXPECT_EQ(nullptr, host.GetScrollBarTrackInfo());
    EXPECT_TRUE(host.GetTicks().empty());
    EXPECT_FALSE(host.IsScrollAnimating());
}

TEST(ScrollBaseHitTest, EachPartAnswersItsCode)
{
    ThemedTestPaintManager pm;
    FixedMetricsPainter painter(&pm);
    HeadlessScrollHost host(&painter);
    host.info.nPos = 45;  // thumb 46..54 on a 16 × 100 bar, arrows 16
    host.RecalcScrollBar();
    const struct
    {
        POINT point;
        int part;
    } cases[] = {
        {{-1, 50}, 0}, {{16, 50}, 0}, {{8, 100}, 0},  {{8, -1}, 0},  {{0, 0}, 60},  {{8, 15}, 60}, {{8, 16}, 62},
        {{8, 45}, 62}, {{8, 46}, 64}, {{15, 53}, 64}, {{8, 54}, 63}, {{8, 83}, 63}, {{8, 84}, 61}, {{8, 99}, 61},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
        EXPECT_EQ(c.part, host.HitTestScrollBar(c.point));
    }

    // A gallery's popup part beyond popupStart; a rectangle longer than the bar's extent is on no part there.
    ScrollBarGeometry& g = host.GetScrollBarGeometry();
    g.popupStart = 90;
    EXPECT_EQ(COSMScrollBase::kHitPopup, host.HitTestScrollBar(CPoint(8, 91)));
    EXPECT_EQ(COSMScrollBase::kHitSecondArrow, host.HitTestScrollBar(CPoint(8, 90)));
    g.popupStart = 0;
    g.rect.bottom = 120;
    EXPECT_EQ(COSMScrollBase::kHitNoPart, host.HitTestScrollBar(CPoint(8, 100)));
    EXPECT_EQ(COSMScrollBase::kHitNoPart, host.HitTestScrollBar(CPoint(8, 119)));
    EXPECT_EQ(COSMScrollBase::kHitSecondArrow, host.HitTestScrollBar(CPoint(8, 99)));
    g.rect.top = -10;
    EXPECT_EQ(COSMScrollBase::kHitNoPart, host.HitTestScrollBar(CPoint(8, -5)));
}

TEST(ScrollBaseHitTest, AHorizontalBarTestsAlongX)
{
    ThemedTestPaintManager pm;
    FixedMetricsPainter painter(&pm);
    HeadlessScrollHost host(&painter);
    host.GetScrollBarGeometry().vertical = FALSE;
    host.rect = RECT{10, 5, 210, 21};
    host.info.nPos = 45;  // thumb 102..118, arrows 20
    host.RecalcScrollBar();
    EXPECT_EQ(60, host.HitTestScrollBar(CPoint(29, 10)));
    EXPECT_EQ(62, host.HitTestScrollBar(CPoint(30, 10)));
    EXPECT_EQ(64, host.HitTestScrollBar(CPoint(110, 20)));
    EXPECT_EQ(63, host.HitTestScrollBar(CPoint(118, 6)));
    EXPECT_EQ(61, host.HitTestScrollBar(CPoint(190, 10)));
    EXPECT_EQ(0, host.HitTestScrollBar(CPoint(110, 21)));
}

TEST(ScrollBaseStyle, TheThemeOfThePaintersManagerChoosesUnlessAStyleIsSet)
{
    const struct
    {
        int theme;
        int explicitStyle;
        int style;
    } cases[] = {{0, 0, 2}, {1, 0, 3}, {5, 0, 5}, {6, 0, 5}, {7, 0, 3}, {5, 1, 1}, {0, 3, 3}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "theme " << c.theme << " style " << c.explicitStyle);
        ThemedTestPaintManager pm;
        pm.themeId = c.theme;
        FixedMetricsPainter painter(&pm);
        HeadlessScrollHost host(&painter);
        host.SetScrollBarStyle(c.explicitStyle);
        EXPECT_EQ(c.style, host.GetScrollBarStyle());
    }
}

TEST(ScrollBaseTicks, TheTickArrayIsACopy)
{
    ThemedTestPaintManager pm;
    FixedMetricsPainter painter(&pm);
    HeadlessScrollHost host(&painter);
    double ticks[] = {0.0, 12.5, 100.0};
    host.SetTicks(ticks, 3);
    ticks[1] = 50.0;
    ASSERT_EQ(3u, host.GetTicks().size());
    EXPECT_DOUBLE_EQ(12.5, host.GetTicks()[1]);
    host.SetTicks(nullptr, 0);
    EXPECT_TRUE(host.GetTicks().empty());
}
