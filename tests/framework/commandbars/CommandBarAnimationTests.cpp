// The bar animation: the byte blend, and on a shown bar whose drawing the test changes, the fades a redraw starts
// (their frames read back from the window), the one timer that drives them, redraws that end or clip them, paints
// with animation off, resizes, rectangles with nothing of the bar in them, and images that cannot be made.
#include "CommandBarAnimationTestSupport.h"
#include "CommandBarsTestSupport.h"
#include "TrackingTestSupport.h"

#include <cstring>
#include <vector>

using namespace commandbars_test;

namespace {

TEST(AlphaBlendBitsTest, BlendsEveryByteTheAlphaByteIncluded)
{
    const struct
    {
        BYTE a;
        BYTE b;
        int alpha;
        BYTE expected;
    } cases[] = {
        {0, 255, 42, 41},
        {255, 0, 42, 212},
        {200, 100, 127, 149},
        {255, 255, 212, 254},
    };
    for (const auto& c : cases)
    {
        // Two pixels of four equal bytes each: every byte, the fourth (alpha) one too, comes out blended.
        std::vector<BYTE> a(8, c.a);
        std::vector<BYTE> b(8, c.b);
        std::vector<BYTE> dest(9, 0xEE);
        AlphaBlendBits(dest.data(), a.data(), 2, 1, b.data(), c.alpha);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(c.expected, dest[i]) << int(c.a) << " " << int(c.b) << " " << c.alpha << " byte " << i;
        EXPECT_EQ(0xEE, dest[8]) << "nothing beyond width x height x 4";
    }
}

// A shown top-level bar of three 40 x 20 buttons (ids 0x11, 0x12, 0x13 at x 0, 40, 80), animation on, painted
// once so that it keeps its image.
class BarAnimationTest : public CommandBarsTest
{
protected:
    static constexpr COLORREF kNew = RGB(230, 20, 140);

    void SetUp() override
    {
        CommandBarsTest::SetUp();
        COSMPaintManager::RegisterThemeCreator(0, &FadeBlockPaintManager::Create);
        pm = static_cast<FadeBlockPaintManager*>(GetProcessPaintManager());
        ASSERT_NE(nullptr, pm);
        // Away from where the input tests leave the cursor, so that no hover changes the drawing.
        ASSERT_TRUE(bar.CreatePopup(nullptr, CRect(200, 700, 320, 720)));
        bar.AddButtons({0x11, 0x12, 0x13});
        animation = bar.GetAnimation();
        bar.EnableAnimation(TRUE);
        bar.UpdateWindow();
        ASSERT_NE(nullptr, animation->GetBarImage());
        ASSERT_FALSE(animation->IsFullRepaintPending());
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        CommandBarsTest::TearDown();
    }

    HWND Window() const { return bar.GetSafeHwnd(); }
    CRect ControlRect(int index) const { return bar.GetControl(index)->GetRect(); }
    // The control draws the colour from now on; nothing is redrawn yet.
    void Recolor(int index, COLORREF color) { pm->colors[bar.GetControl(index)->GetID()] = color; }
    void Tick() { bar.SendMessage(WM_TIMER, COSMCommandBarAnimation::kTimerId, 0); }
    COLORREF Screen(CPoint point) const { return WindowPixel(Window(), point.x, point.y); }
    // KillTimer succeeds only for a timer that runs; it is started again when it did.
    BOOL TimerRuns() const
    {
        if (!::KillTimer(Window(), COSMCommandBarAnimation::kTimerId))
            return FALSE;
        ::SetTimer(Window(), COSMCommandBarAnimation::kTimerId, COSMCommandBarAnimation::kTimerElapse, nullptr);
        return TRUE;
    }
    BOOL HasUpdate(CRect* update) const { return ::GetUpdateRect(Window(), update, FALSE); }

    FadeBlockPaintManager* pm = nullptr;
    TrackingBar bar;
    COSMCommandBarAnimation* animation = nullptr;
};

TEST_F(BarAnimationTest, AChangeFadesInFiveBlendsThenShowsTheImageAndStops)
{
    for (BOOL throughPaintManager : {FALSE, TRUE})
    {
        SCOPED_TRACE(throughPaintManager);
        // The bar's switch or the paint manager's flag turns animation on.
        animation->SetAnimationEnabled(!throughPaintManager);
        pm->m_commandBarAnimation = throughPaintManager;
        const COLORREF from = pm->ColorOf(bar.GetControl(0));
        const COLORREF to = throughPaintManager ? RGB(10, 250, 0) : kNew;
        const CRect rect = ControlRect(0);
        const CPoint inside = rect.CenterPoint();
        ASSERT_EQ(from, Screen(inside));

        Recolor(0, to);
        bar.Redraw(&rect, TRUE);
        ASSERT_EQ(1, animation->GetItemCount());
        const COSMCommandBarAnimationItem* item = animation->GetItem(0);
        EXPECT_EQ(rect, item->GetRect());
        EXPECT_EQ(2, item->GetStep()) << "step 1 is drawn at once";
        EXPECT_EQ(COSMCommandBarAnimation::kTimerId, animation->GetTimer());
        EXPECT_TRUE(TimerRuns());
        // The image already holds the new look; the screen shows the first blend.
        EXPECT_EQ(to, BitmapPixel(animation->GetBarImage(), inside.x, inside.y));
        EXPECT_EQ(FadeBlend(from, to, 42), Screen(inside));
        EXPECT_EQ(pm->ColorOf(bar.GetControl(1)), Screen(ControlRect(1).CenterPoint()));

        const int alphas[] = {85, 127, 170, 212};
        for (int alpha : alphas)
        {
            Tick();
            EXPECT_EQ(FadeBlend(from, to, alpha), Screen(inside)) << alpha;
            ASSERT_EQ(1, animation->GetItemCount());
        }
        // The fifth tick after the first frame shows the image and ends the item and the timer.
        Tick();
        EXPECT_EQ(to, Screen(inside));
        EXPECT_EQ(0, animation->GetItemCount());
        EXPECT_EQ(0u, animation->GetTimer());
        EXPECT_FALSE(TimerRuns());
    }
}

TEST_F(BarAnimationTest, TheRunningTimerDrivesTheFadeToItsEnd)
{
    const CRect rect = ControlRect(1);
    Recolor(1, kNew);
    bar.Redraw(&rect, TRUE);
    ASSERT_EQ(1, animation->GetItemCount());
    ASSERT_TRUE(PumpUntil([&] { return animation->GetItemCount() == 0; }));
    EXPECT_EQ(kNew, Screen(rect.CenterPoint()));
    EXPECT_EQ(0u, animation->GetTimer());
    EXPECT_FALSE(TimerRuns());
}

TEST_F(BarAnimationTest, UnchangedPixelsStartNoFade)
{
    for (BOOL animate : {TRUE, FALSE})
    {
        const CRect rect = ControlRect(2);
        bar.Redraw(&rect, animate);
        EXPECT_EQ(0, animation->GetItemCount());
        EXPECT_EQ(0u, animation->GetTimer());
        EXPECT_FALSE(TimerRuns());
        CRect update;
        EXPECT_FALSE(HasUpdate(&update)) << "drawn into the image, not invalidated";
    }
}

TEST_F(BarAnimationTest, ThreeChangesFadeSideBySideOnOneTimer)
{
    for (int i = 0; i < 3; ++i)
    {
        Recolor(i, RGB(200, 40 * i, 10));
        const CRect rect = ControlRect(i);
        bar.Redraw(&rect, TRUE);
    }
    ASSERT_EQ(3, animation->GetItemCount());
    EXPECT_EQ(COSMCommandBarAnimation::kTimerId, animation->GetTimer());
    Tick();
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(ControlRect(i), animation->GetItem(i)->GetRect());
        EXPECT_EQ(3, animation->GetItem(i)->GetStep()) << i;
        EXPECT_EQ(FadeBlend(FadeBlockPaintManager::kPlain, RGB(200, 40 * i, 10), 85),
                  Screen(ControlRect(i).CenterPoint()));
    }
    for (int tick = 0; tick < 4; ++tick)
        Tick();
    EXPECT_EQ(0, animation->GetItemCount());
    EXPECT_FALSE(TimerRuns());
}

TEST_F(BarAnimationTest, ANewerRedrawEndsTheFadeItCoversAndClipsTheOneItOverlaps)
{
    const CRect rect = ControlRect(0);
    const CPoint left(5, 10);
    const CPoint middle(15, 10);

    // Covered by a redraw without animation: the fade ends and the screen shows the new look.
    Recolor(0, kNew);
    bar.Redraw(&rect, TRUE);
    ASSERT_EQ(1, animation->GetItemCount());
    const CRect wider(0, 0, 60, 20);
    bar.Redraw(&wider, FALSE);
    EXPECT_EQ(0, animation->GetItemCount());
    EXPECT_EQ(kNew, Screen(middle));

    // Covered by a newer fade: only the newer one runs.
    Recolor(0, FadeBlockPaintManager::kPlain);
    bar.Redraw(&rect, TRUE);
    Recolor(0, kNew);
    bar.Redraw(&rect, TRUE);
    ASSERT_EQ(1, animation->GetItemCount());
    EXPECT_EQ(2, animation->GetItem(0)->GetStep());
    EXPECT_EQ(FadeBlend(FadeBlockPaintManager::kPlain, kNew, 42), Screen(middle));
    for (int tick = 0; tick < 5; ++tick)
        Tick();
    ASSERT_EQ(0, animation->GetItemCount());

    // Overlapped by a redraw without animation: the part it drew is cut out of the older fade, which goes on
    // around it.
    Recolor(0, FadeBlockPaintManager::kPlain);
    bar.Redraw(&rect, TRUE);
    const CRect part(10, 0, 20, 20);
    bar.Redraw(&part, FALSE);
    ASSERT_EQ(1, animation->GetItemCount());
    EXPECT_EQ(std::vector<CRect>{part}, animation->GetItem(0)->GetClipRects());
    EXPECT_EQ(FadeBlockPaintManager::kPlain, Screen(middle));
    Tick();
    EXPECT_EQ(FadeBlockPaintManager::kPlain, Screen(middle));
    EXPECT_EQ(FadeBlend(kNew, FadeBlockPaintManager::kPlain, 85), Screen(left));
}

TEST_F(BarAnimationTest, WithAnimationOffThePaintDrawsDirectlyAndEndsTheFades)
{
    Recolor(0, kNew);
    Recolor(2, kNew);
    for (int i : {0, 2})
    {
        const CRect rect = ControlRect(i);
        bar.Redraw(&rect, TRUE);
    }
    ASSERT_EQ(2, animation->GetItemCount());

    // The switch alone, without a redraw of the whole bar: the next paint, of the first control only, draws
    // straight to the screen and drops the fades.
    animation->SetAnimationEnabled(FALSE);
    ::InvalidateRect(Window(), ControlRect(0), FALSE);
    bar.UpdateWindow();
    EXPECT_EQ(nullptr, animation->GetBarImage());
    EXPECT_EQ(0, animation->GetItemCount());
    EXPECT_EQ(0u, animation->GetTimer());
    EXPECT_FALSE(TimerRuns());
    EXPECT_EQ(kNew, Screen(ControlRect(0).CenterPoint()));
    // The fade the paint did not reach is left on a blend: its area is painted again.
    CRect update;
    ASSERT_TRUE(HasUpdate(&update));
    EXPECT_EQ(ControlRect(2), update);
    bar.UpdateWindow();
    EXPECT_EQ(kNew, Screen(ControlRect(2).CenterPoint()));

    // Redraws now only invalidate.
    Recolor(1, kNew);
    const CRect rect = ControlRect(1);
    bar.Redraw(&rect, TRUE);
    EXPECT_EQ(0, animation->GetItemCount());
    ASSERT_TRUE(HasUpdate(&update));
    EXPECT_EQ(rect, update);
    bar.UpdateWindow();
    EXPECT_EQ(kNew, Screen(rect.CenterPoint()));
    EXPECT_EQ(nullptr, animation->GetBarImage());
}

TEST_F(BarAnimationTest, AResizeFreesTheImageAndTheNextPaintRebuildsItWhole)
{
    // Growing exposes only the new strip; the image is made again over the whole client area.
    Recolor(0, kNew);
    bar.SetWindowPos(nullptr, 0, 0, 160, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect update;
    ASSERT_TRUE(HasUpdate(&update));
    EXPECT_EQ(CRect(120, 0, 160, 20), update);
    bar.UpdateWindow();
    EXPECT_EQ(CSize(160, 20), BitmapSize(animation->GetBarImage()));
    EXPECT_EQ(kNew, BitmapPixel(animation->GetBarImage(), 20, 10));

    // Shrinking paints nothing; the next redraw finds the image of another size, frees it and falls back to
    // invalidation.
    bar.SetWindowPos(nullptr, 0, 0, 100, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(HasUpdate(&update));
    Recolor(1, kNew);
    const CRect rect = ControlRect(1);
    bar.Redraw(&rect, TRUE);
    EXPECT_EQ(nullptr, animation->GetBarImage());
    EXPECT_EQ(0, animation->GetItemCount());
    EXPECT_TRUE(animation->IsFullRepaintPending());
    ASSERT_TRUE(HasUpdate(&update));
    EXPECT_EQ(rect, update);
    bar.UpdateWindow();
    EXPECT_EQ(CSize(100, 20), BitmapSize(animation->GetBarImage()));
    EXPECT_EQ(kNew, Screen(CPoint(50, 10)));
}

TEST_F(BarAnimationTest, ARectangleWithNothingOfTheBarInItDoesNothing)
{
    for (int i = 0; i < 3; ++i)
        Recolor(i, kNew);
    for (BOOL animationOn : {TRUE, FALSE})
    {
        animation->SetAnimationEnabled(animationOn);
        const CRect rects[] = {CRect(5, 5, 5, 5), CRect(30, 10, 10, 0), CRect(300, 0, 340, 20),
                               CRect(-50, -50, -10, -10), CRect(0, 20, 120, 40)};
        for (const CRect& rect : rects)
        {
            bar.Redraw(&rect, TRUE);
            EXPECT_EQ(0, animation->GetItemCount()) << animationOn << " " << rect.left << "," << rect.top;
            EXPECT_EQ(0u, animation->GetTimer());
            EXPECT_FALSE(animation->IsFullRepaintPending());
            CRect update;
            EXPECT_FALSE(HasUpdate(&update));
        }
    }
    // A rectangle reaching past the bar fades only the part inside.
    animation->SetAnimationEnabled(TRUE);
    const CRect beyond(100, -10, 200, 30);
    bar.Redraw(&beyond, TRUE);
    ASSERT_EQ(1, animation->GetItemCount());
    EXPECT_EQ(CRect(100, 0, 120, 20), animation->GetItem(0)->GetRect());
}

TEST_F(BarAnimationTest, ImagesThatCannotBeMadeFallBackToInvalidation)
{
    animation->SetDibSectionMaker([](HDC, int, int, void** bits) -> HBITMAP {
        *bits = nullptr;
        return nullptr;
    });
    Recolor(0, kNew);
    const CRect rect = ControlRect(0);
    bar.Redraw(&rect, TRUE);
    EXPECT_EQ(0, animation->GetItemCount());
    EXPECT_EQ(0u, animation->GetTimer());
    EXPECT_TRUE(animation->IsFullRepaintPending());
    CRect update;
    ASSERT_TRUE(HasUpdate(&update));
    EXPECT_EQ(rect, update);
    bar.UpdateWindow();
    EXPECT_FALSE(animation->IsFullRepaintPending());
    EXPECT_EQ(kNew, Screen(rect.CenterPoint()));
    EXPECT_EQ(kNew, BitmapPixel(animation->GetBarImage(), 20, 10));
}

TEST_F(BarAnimationTest, AnUncoveredBarShowsItsImageAndAHiddenOneDropsIt)
{
    // A paint with nothing changed copies the image, whatever the bar would draw now.
    Recolor(0, kNew);
    ::InvalidateRect(Window(), nullptr, FALSE);
    bar.UpdateWindow();
    EXPECT_EQ(FadeBlockPaintManager::kPlain, Screen(CPoint(20, 10)));

    // A redraw the hidden bar skips leaves no stale image to show again.
    bar.ShowWindow(SW_HIDE);
    const CRect rect = ControlRect(0);
    bar.Redraw(&rect, TRUE);
    EXPECT_EQ(nullptr, animation->GetBarImage());
    bar.ShowWindow(SW_SHOWNOACTIVATE);
    bar.UpdateWindow();
    EXPECT_EQ(kNew, Screen(CPoint(20, 10)));
    EXPECT_NE(nullptr, animation->GetBarImage());
}

TEST_F(BarAnimationTest, AWholeRedrawEndsTheFadesAndRepaintsFromANewImage)
{
    Recolor(0, kNew);
    const CRect rect = ControlRect(0);
    bar.Redraw(&rect, TRUE);
    ASSERT_EQ(1, animation->GetItemCount());
    bar.Redraw(nullptr, TRUE);
    EXPECT_EQ(0, animation->GetItemCount());
    EXPECT_FALSE(TimerRuns());
    EXPECT_EQ(nullptr, animation->GetBarImage());
    bar.UpdateWindow();
    EXPECT_EQ(kNew, Screen(rect.CenterPoint()));
    EXPECT_EQ(CSize(120, 20), BitmapSize(animation->GetBarImage()));
}

}  // namespace
