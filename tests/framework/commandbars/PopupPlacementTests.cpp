// Where popups open and which animation they play, computed from injected work and monitor areas and system answers
// (headless: the work area cannot be changed under test).
#include "framework/commandbars/PopupPlacement.h"

#include <gtest/gtest.h>

namespace {

// A 1280 x 1024 monitor with a 24-pixel taskbar at the bottom.
const CRect kMonitor(0, 0, 1280, 1024);
const CRect kWork(0, 0, 1280, 1000);
// A second monitor below the first whose work area starts at y = 1000.
const CRect kLowerMonitor(0, 1000, 1280, 2048);
const CRect kLowerWork(0, 1000, 1280, 2024);

struct PlacementCase
{
    const char* name;
    int x, y, cx, cy;
    DWORD flags;
    CRect exclude;
    CRect work;
    CRect monitor;
    BOOL multiColumn;
    CRect sideExclude;
    int type;
    CRect expected;
    DWORD expectedFlags;
    BOOL expectedScrolling;
};

const PlacementCase kPlacementCases[] = {
    // A context menu near the bottom-right corner opens upwards and moves in from the right edge.
    {"context menu near the corner", 1200, 950, 200, 300, 0, CRect(), kWork, kMonitor, FALSE, CRect(), 2,
     CRect(1080, 650, 1280, 950), 0, FALSE},
    {"context menu that fits", 100, 100, 200, 300, 0, CRect(), kWork, kMonitor, FALSE, CRect(), 2,
     CRect(100, 100, 300, 400), 0, FALSE},
    {"point popup opening upwards", 100, 500, 200, 300, kPopupUpwards, CRect(), kWork, kMonitor, FALSE, CRect(), 2,
     CRect(100, 200, 300, 500), kPopupUpwards, FALSE},
    // A drop-down that does not fit below its control opens above it.
    {"drop-down opens above", 100, 820, 150, 300, kPopupBelow, CRect(100, 800, 160, 820), kWork, kMonitor, FALSE,
     CRect(), 2, CRect(100, 500, 250, 800), kPopupBelow, FALSE},
    // Fitting neither side: the larger one, scrolling (below here, above there).
    {"drop-down takes the larger lower side", 100, 420, 150, 900, kPopupBelow, CRect(100, 400, 160, 420), kWork,
     kMonitor, FALSE, CRect(), 2, CRect(100, 420, 250, 995), kPopupBelow, TRUE},
    {"drop-down takes the larger upper side", 100, 720, 150, 900, kPopupBelow, CRect(100, 700, 160, 720), kWork,
     kMonitor, FALSE, CRect(), 2, CRect(100, 0, 250, 700), kPopupBelow, TRUE},
    {"only a menu popup scrolls", 100, 420, 150, 900, kPopupBelow, CRect(100, 400, 160, 420), kWork, kMonitor, FALSE,
     CRect(), 1, CRect(100, 420, 250, 995), kPopupBelow, FALSE},
    // A side sub-menu past the right edge opens to the left of its item and says so (bit 0) ...
    {"side sub-menu past the right edge", 1250, 200, 200, 100, 0, CRect(1100, 200, 1250, 220), kWork, kMonitor, FALSE,
     CRect(), 2, CRect(900, 200, 1100, 300), kPopupLeftwards, FALSE},
    // ... so that its own sub-menu keeps opening leftwards.
    {"its sub-menu keeps opening leftwards", 1100, 250, 200, 100, kPopupLeftwards, CRect(900, 250, 1100, 270), kWork,
     kMonitor, FALSE, CRect(), 2, CRect(700, 250, 900, 350), kPopupLeftwards, FALSE},
    {"side sub-menu near the left edge", 0, 200, 200, 100, kPopupLeftwards, CRect(0, 200, 150, 220), kWork, kMonitor,
     FALSE, CRect(), 2, CRect(150, 200, 350, 300), 0, FALSE},
    // A point on the taskbar uses the whole monitor: the popup stays at the point.
    {"point on the taskbar", 600, 1000, 100, 10, 0, CRect(), kWork, kMonitor, FALSE, CRect(), 2,
     CRect(600, 1000, 700, 1010), 0, FALSE},
    // The bottom 5 pixels of the work area are never covered.
    {"side popup at the foot", 100, 900, 150, 100, 0, CRect(10, 900, 100, 920), kWork, kMonitor, FALSE, CRect(), 2,
     CRect(100, 895, 250, 995), 0, FALSE},
    {"taller than the work area", 100, 100, 150, 1200, 0, CRect(), kWork, kMonitor, FALSE, CRect(), 2,
     CRect(100, 0, 250, 995), 0, TRUE},
    // Flags exactly 3 align the right edges.
    {"below and leftwards", 500, 120, 200, 100, kPopupLeftwards | kPopupBelow, CRect(500, 100, 600, 120), kWork,
     kMonitor, FALSE, CRect(), 2, CRect(400, 120, 600, 220), kPopupLeftwards | kPopupBelow, FALSE},
    // A multi-column drop-down that fits neither above nor below turns sideways.
    {"multi-column drop-down turns sideways", 100, 420, 150, 900, kPopupBelow, CRect(100, 400, 160, 420), kWork,
     kMonitor, TRUE, CRect(90, 400, 170, 420), 2, CRect(170, 95, 320, 995), 0, FALSE},
    // A work area that does not start at y = 0: its middle is (top + bottom) / 2, not half its height.
    {"point popup on the lower monitor", 200, 1100, 100, 1000, 0, CRect(), kLowerWork, kLowerMonitor, FALSE, CRect(), 2,
     CRect(200, 1019, 300, 2019), 0, FALSE},
    {"drop-down in the upper half of the lower monitor", 100, 1220, 150, 900, kPopupBelow, CRect(100, 1200, 160, 1220),
     kLowerWork, kLowerMonitor, FALSE, CRect(), 2, CRect(100, 1220, 250, 2019), kPopupBelow, TRUE},
};

class PopupPlacementTest : public ::testing::TestWithParam<PlacementCase>
{};

TEST_P(PopupPlacementTest, PlacesTheRectangle)
{
    const PlacementCase& c = GetParam();
    PopupPlacementInput in;
    in.x = c.x;
    in.y = c.y;
    in.cx = c.cx;
    in.cy = c.cy;
    in.flags = c.flags;
    in.exclude = c.exclude;
    in.workArea = c.work;
    in.monitorArea = c.monitor;
    in.multiColumn = c.multiColumn;
    in.sideExclude = c.sideExclude;
    in.type = c.type;
    in.position = 5;
    const PopupPlacement out = CalculatePopupPlacement(in);
    EXPECT_EQ(c.expected, out.rect) << c.name << ": " << out.rect.left << "," << out.rect.top << "," << out.rect.right
                                    << "," << out.rect.bottom;
    EXPECT_EQ(c.expectedFlags, out.flags) << c.name;
    EXPECT_EQ(c.expectedScrolling, out.scrolling) << c.name;
    // The foot of the work area (of the monitor, for a point on the taskbar) stays free.
    const CPoint point(c.x, c.y);
    const BOOL onTaskbar = c.exclude.IsRectEmpty() && c.monitor.PtInRect(point) && !c.work.PtInRect(point);
    EXPECT_LE(out.rect.bottom, (onTaskbar ? c.monitor.bottom : c.work.bottom) - 5) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, PopupPlacementTest, ::testing::ValuesIn(kPlacementCases));

int g_randomValue = 0;
int FixedRandom()
{
    return g_randomValue;
}

TEST(PopupAnimationTest, KindFollowsOptionManagerAndSystem)
{
    const SystemMenuAnimation off{FALSE, TRUE, TRUE};
    const SystemMenuAnimation fadeOn{TRUE, TRUE, TRUE};
    const SystemMenuAnimation fadeOff{TRUE, TRUE, FALSE};
    const SystemMenuAnimation fadeFails{TRUE, FALSE, FALSE};
    const struct
    {
        int option;
        BOOL manager;
        BOOL childWindow;
        SystemMenuAnimation system;
        int random;
        int expected;
    } cases[] = {
        {0, FALSE, FALSE, fadeOn, 0, kPopupAnimationNone},
        {7, FALSE, FALSE, fadeOn, 0, kPopupAnimationNone},
        {0, TRUE, TRUE, fadeOn, 0, kPopupAnimationNone},
        {1, TRUE, TRUE, fadeOn, 0, kPopupAnimationNone},
        {0, TRUE, FALSE, off, 0, kPopupAnimationNone},
        {0, TRUE, FALSE, fadeOn, 0, kPopupAnimationFade},
        {0, TRUE, FALSE, fadeOff, 0, kPopupAnimationSlide},
        {0, TRUE, FALSE, fadeFails, 0, kPopupAnimationSlide},
        {1, TRUE, FALSE, off, 0, kPopupAnimationFade},
        {1, TRUE, FALSE, off, 1, kPopupAnimationSlide},
        {1, TRUE, FALSE, off, 2, kPopupAnimationUnfold},
        {1, TRUE, FALSE, off, 5, kPopupAnimationUnfold},
        {7, TRUE, FALSE, off, 0, 7},
        {2, TRUE, FALSE, fadeOn, 0, kPopupAnimationUnfold},
    };
    for (const auto& c : cases)
    {
        g_randomValue = c.random;
        EXPECT_EQ(c.expected, ChoosePopupAnimation(c.option, c.manager, c.childWindow, c.system, &FixedRandom))
            << "option " << c.option << " manager " << c.manager << " child " << c.childWindow << " random "
            << c.random;
    }
}

}  // namespace
