// Popup animation on DIB sections, with the clock replaced so that every wait is seen and none is slept.
#include "classlib/DC.h"
#include "tests/support/DcTestSurface.h"
#include "PaintManagerTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using foundation_test::DcTestSurface;
using foundation_test::MetricsPaintManager;
using foundation_test::PaintManagerTest;

namespace {

std::vector<DWORD> g_waits;
DWORD g_tick = 0;
DWORD g_tickStep = 0;
// Called at every wait: a test looks at the destination between steps.
std::vector<std::vector<COLORREF>> g_frames;
const DcTestSurface* g_watched = nullptr;

DWORD WINAPI FakeTickCount()
{
    const DWORD now = g_tick;
    g_tick += g_tickStep;
    return now;
}

void WINAPI RecordSleep(DWORD milliseconds)
{
    g_waits.push_back(milliseconds);
    if (g_watched)
        g_frames.push_back(g_watched->All());
}

class AnimationTest : public PaintManagerTest
{
protected:
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        g_waits.clear();
        g_frames.clear();
        g_watched = nullptr;
        g_tick = 1000;
        g_tickStep = 0;
        COSMPaintManager::SetAnimationClock(&FakeTickCount, &RecordSleep);
        pm.RefreshMetrics();
    }
    void TearDown() override
    {
        COSMPaintManager::SetAnimationClock(nullptr, nullptr);
        g_watched = nullptr;
        PaintManagerTest::TearDown();
    }
    MetricsPaintManager pm;
};

COLORREF Blend(COLORREF first, COLORREF second, int alpha)
{
    auto channel = [alpha](int a, int b) { return (a * (255 - alpha) + b * alpha) >> 8; };
    return RGB(channel(GetRValue(first), GetRValue(second)), channel(GetGValue(first), GetGValue(second)),
               channel(GetBValue(first), GetBValue(second)));
}

// A source image in horizontal stripes of the three colours, so that where each row came from shows.
void PaintStripes(DcTestSurface& surface, const COLORREF (&colors)[3])
{
    const int band = surface.Height() / 3;
    for (int i = 0; i < 3; ++i)
        surface.Fill(RECT{0, band * i, surface.Width(), band * (i + 1)}, colors[i]);
}

}  // namespace

TEST(BlendBitsTest, MixesColourChannelsAndLeavesAlpha)
{
    const struct
    {
        DWORD first;
        DWORD second;
        int alpha;
        DWORD destination;
        DWORD expected;
    } cases[] = {
        {0x00000000, 0x00FFFFFF, 0, 0x7F123456, 0x7F000000},
        {0x00000000, 0x00FFFFFF, 255, 0x7F123456, 0x7FFEFEFE},
        {0x00FF0000, 0x000000FF, 128, 0xFF000000, 0xFF7E007F},
        {0x80102030, 0x40406080, 64, 0x00ABCDEF, 0x001B2F43},
    };
    for (const auto& c : cases)
    {
        DWORD destination = c.destination;
        COSMPaintManager::BlendBits(&destination, &c.first, 1, 1, &c.second, c.alpha);
        EXPECT_EQ(c.expected, destination) << std::hex << c.first << " " << c.second << " " << c.alpha;
    }
    // Every pixel of a block.
    const DWORD first[4] = {0, 0x00FFFFFF, 0x00102030, 0x00FF00FF};
    const DWORD second[4] = {0x00FFFFFF, 0, 0x00102030, 0x0000FF00};
    DWORD destination[4] = {0x11000000, 0x22000000, 0x33000000, 0x44000000};
    COSMPaintManager::BlendBits(destination, first, 2, 2, second, 255);
    EXPECT_EQ(0x11FEFEFEu, destination[0]);
    EXPECT_EQ(0x22000000u, destination[1]);
    EXPECT_EQ(0x330F1F2Fu, destination[2]);
    EXPECT_EQ(0x4400FE00u, destination[3]);
}

TEST_F(AnimationTest, UnfoldAndSlideEndOnTheSourceImage)
{
    const COLORREF stripes[3] = {pm.GetColor(COLOR_WINDOW), pm.GetColor(COLOR_HIGHLIGHT), pm.GetColor(COLOR_BTNFACE)};
    for (int kind : {2, 3})
    {
        DcTestSurface source(30, 30);
        PaintStripes(source, stripes);
        DcTestSurface destination(30, 30, pm.GetColor(COLOR_BTNSHADOW));
        pm.m_animationSteps = 10;
        pm.m_animationDuration = 100;
        g_waits.clear();
        pm.Animate(CDC::FromHandle(destination.GetDC()), CDC::FromHandle(source.GetDC()), CRect(0, 0, 30, 30), kind);
        SCOPED_TRACE(kind);
        EXPECT_EQ(source.All(), destination.All());
        EXPECT_EQ(std::vector<DWORD>(10, 10), g_waits);
    }
}

TEST_F(AnimationTest, SlideDownShowsTheBottomOfTheImageFirst)
{
    const COLORREF stripes[3] = {pm.GetColor(COLOR_WINDOW), pm.GetColor(COLOR_HIGHLIGHT), pm.GetColor(COLOR_BTNFACE)};
    DcTestSurface source(30, 30);
    PaintStripes(source, stripes);
    const COLORREF background = pm.GetColor(COLOR_BTNSHADOW);
    DcTestSurface destination(30, 30, background);
    pm.m_animationSteps = 3;
    g_watched = &destination;
    pm.Animate(CDC::FromHandle(destination.GetDC()), CDC::FromHandle(source.GetDC()), CRect(0, 0, 30, 30), 3);
    ASSERT_EQ(3u, g_frames.size());
    // After the first step the last stripe sits at the top and nothing else is drawn.
    EXPECT_EQ(stripes[2], g_frames[0][0]);
    EXPECT_EQ(background, g_frames[0][15 * 30]);
    EXPECT_EQ(stripes[1], g_frames[1][0]);
    EXPECT_EQ(stripes[2], g_frames[1][15 * 30]);
}

TEST_F(AnimationTest, WaitsAreTheDurationOverTheSteps)
{
    const struct
    {
        int steps;
        int duration;
        std::vector<DWORD> waits;
    } cases[] = {{10, 100, std::vector<DWORD>(10, 10)},
                 {4, 30, std::vector<DWORD>(4, 7)},
                 {0, 50, std::vector<DWORD>{50}},
                 {-3, 50, std::vector<DWORD>{50}},
                 {2, -40, std::vector<DWORD>{0, 0}}};
    for (const auto& c : cases)
    {
        DcTestSurface source(8, 8, pm.GetColor(COLOR_WINDOW));
        DcTestSurface destination(8, 8, pm.GetColor(COLOR_BTNFACE));
        pm.m_animationSteps = c.steps;
        pm.m_animationDuration = c.duration;
        g_waits.clear();
        pm.Animate(CDC::FromHandle(destination.GetDC()), CDC::FromHandle(source.GetDC()), CRect(0, 0, 8, 8), 2);
        EXPECT_EQ(c.waits, g_waits) << c.steps << " " << c.duration;
        EXPECT_EQ(source.All(), destination.All());
    }
}

TEST_F(AnimationTest, FadeBlendsTowardsTheSourceAndLeavesTheLastStep)
{
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const COLORREF image = pm.GetColor(COLOR_HIGHLIGHT);
    // A rectangle away from the origin: both images are read where it lies.
    const CRect rect(4, 6, 20, 18);
    DcTestSurface source(24, 24, pm.GetColor(COLOR_WINDOWTEXT));
    source.Fill(rect, image);
    DcTestSurface destination(24, 24, pm.GetColor(COLOR_WINDOW));
    destination.Fill(rect, background);
    pm.m_animationSteps = 4;
    pm.m_animationDuration = 40;
    g_watched = &destination;
    pm.Animate(CDC::FromHandle(destination.GetDC()), CDC::FromHandle(source.GetDC()), rect, 4);

    ASSERT_EQ(3u, g_frames.size());
    EXPECT_EQ(std::vector<DWORD>(3, 10), g_waits);
    for (int k = 1; k <= 3; ++k)
    {
        SCOPED_TRACE(k);
        EXPECT_EQ(Blend(background, image, 255 * k / 4), g_frames[k - 1][10 * 24 + 10]);
        EXPECT_EQ(Blend(background, image, 255 * k / 4), g_frames[k - 1][rect.top * 24 + rect.left]);
        EXPECT_EQ(pm.GetColor(COLOR_WINDOW), g_frames[k - 1][0]);
        EXPECT_EQ(pm.GetColor(COLOR_WINDOW), g_frames[k - 1][rect.bottom * 24 + rect.right]);
    }
}

TEST_F(AnimationTest, FadeCornerCasesDrawNothing)
{
    const struct
    {
        int steps;
        CRect rect;
    } cases[] = {{1, CRect(0, 0, 8, 8)}, {0, CRect(0, 0, 8, 8)}, {4, CRect(2, 2, 2, 8)}, {4, CRect(5, 5, 1, 1)}};
    for (const auto& c : cases)
    {
        DcTestSurface source(8, 8, pm.GetColor(COLOR_HIGHLIGHT));
        DcTestSurface destination(8, 8, pm.GetColor(COLOR_BTNFACE));
        pm.m_animationSteps = c.steps;
        g_waits.clear();
        pm.Animate(CDC::FromHandle(destination.GetDC()), CDC::FromHandle(source.GetDC()), c.rect, 4);
        SCOPED_TRACE(c.steps);
        EXPECT_EQ(0, destination.CountNot(pm.GetColor(COLOR_BTNFACE)));
        EXPECT_TRUE(g_waits.empty());
    }
}

TEST_F(AnimationTest, ASlowFadeStepDoesNotWait)
{
    DcTestSurface source(8, 8, pm.GetColor(COLOR_HIGHLIGHT));
    DcTestSurface destination(8, 8, pm.GetColor(COLOR_BTNFACE));
    pm.m_animationSteps = 5;
    pm.m_animationDuration = 100;
    const struct
    {
        DWORD tickStep;
        std::vector<DWORD> waits;
    } cases[] = {{25, {}}, {20, {}}, {15, std::vector<DWORD>(4, 5)}};
    for (const auto& c : cases)
    {
        g_tickStep = c.tickStep;
        g_waits.clear();
        pm.Animate(CDC::FromHandle(destination.GetDC()), CDC::FromHandle(source.GetDC()), CRect(0, 0, 8, 8), 4);
        EXPECT_EQ(c.waits, g_waits) << c.tickStep;
    }
}

TEST_F(AnimationTest, OtherKindsDrawNothing)
{
    for (int kind : {0, 1, 5, -1})
    {
        DcTestSurface source(8, 8, pm.GetColor(COLOR_HIGHLIGHT));
        DcTestSurface destination(8, 8, pm.GetColor(COLOR_BTNFACE));
        g_waits.clear();
        pm.Animate(CDC::FromHandle(destination.GetDC()), CDC::FromHandle(source.GetDC()), CRect(0, 0, 8, 8), kind);
        EXPECT_EQ(0, destination.CountNot(pm.GetColor(COLOR_BTNFACE))) << kind;
        EXPECT_TRUE(g_waits.empty());
    }
}

TEST_F(AnimationTest, MakeRectOpaqueSetsAlphaAndKeepsColours)
{
    DcTestSurface surface(12, 12, pm.GetColor(COLOR_HIGHLIGHT));
    surface.Fill(RECT{0, 0, 6, 12}, pm.GetColor(COLOR_WINDOW));
    const std::vector<COLORREF> before = surface.All();
    ASSERT_EQ(0, surface.Alpha(3, 3));

    MakeRectOpaque(CDC::FromHandle(surface.GetDC()), CRect(2, 3, 9, 10));
    EXPECT_EQ(before, surface.All());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
        {
            const bool inside = x >= 2 && x < 9 && y >= 3 && y < 10;
            ASSERT_EQ(inside ? 255 : 0, surface.Alpha(x, y)) << x << "," << y;
        }

    // Empty rectangles have nothing to write through.
    MakeRectOpaque(CDC::FromHandle(surface.GetDC()), 5, 5, 5, 9);
    MakeRectOpaque(CDC::FromHandle(surface.GetDC()), 9, 9, 2, 2);
    EXPECT_EQ(before, surface.All());
    EXPECT_EQ(0, surface.Alpha(0, 0));
}
