// The bar animation on a docked toolbar under the real mouse: a button turns hot at once as the cursor comes over
// it, and fades back on the animation's timer when the cursor leaves.
#include "CommandBarAnimationTestSupport.h"
#include "DockTestSupport.h"
#include "InputTestSupport.h"

using namespace commandbars_test;

namespace {

class BarAnimationInputTest : public DockSiteTest
{
protected:
    BOOL CreateFrame() override { return frame.CreateActiveTestFrame("bar animation input test"); }
    void SetUp() override
    {
        DockSiteTest::SetUp();
        pm = AdoptRef(new FadeBlockPaintManager);
        pm->hotShows = TRUE;
        commandBars->SetPaintManager(pm.Get());
    }
    void TearDown() override
    {
        MoveMouseTo(CPoint(1200, 1000));
        DockSiteTest::TearDown();
    }

    RefPtr<FadeBlockPaintManager> pm;
};

TEST_F(BarAnimationInputTest, AHotButtonFadesBackWhenTheMouseLeaves)
{
    MoveMouseTo(CPoint(1200, 1000));
    COSMToolBar* bar = AddFilledToolBar("Standard", 701, {201, 202, 203});
    ASSERT_NE(nullptr, bar);
    bar->EnableAnimation(TRUE);
    frame.RecalcLayout();
    PumpMessages();
    COSMCommandBarAnimation* animation = bar->GetAnimation();
    const COSMControl* button = bar->GetControl(1);
    const CPoint centre = button->GetRect().CenterPoint();
    ASSERT_TRUE(PumpUntil([&] { return animation->GetBarImage() != nullptr; }));
    ASSERT_EQ(FadeBlockPaintManager::kPlain, WindowPixel(bar->GetSafeHwnd(), centre.x, centre.y));

    // Coming over the button: hot at once, no fade.
    MoveMouseTo(ControlCentre(*bar, 1));
    ASSERT_TRUE(PumpUntil([&] { return button->GetSelected() != 0; }));
    PumpMessages();
    EXPECT_EQ(0, animation->GetItemCount());
    EXPECT_EQ(FadeBlockPaintManager::kHot, WindowPixel(bar->GetSafeHwnd(), centre.x, centre.y));

    // Leaving it: a fade of the button's rectangle runs on the timer, through blends, back to the plain look.
    MoveMouseTo(CPoint(1200, 1000));
    ASSERT_TRUE(PumpUntil([&] { return animation->GetItemCount() == 1; }));
    EXPECT_EQ(button->GetRect(), animation->GetItem(0)->GetRect());
    EXPECT_EQ(COSMCommandBarAnimation::kTimerId, animation->GetTimer());
    const COLORREF during = WindowPixel(bar->GetSafeHwnd(), centre.x, centre.y);
    EXPECT_NE(FadeBlockPaintManager::kHot, during);
    EXPECT_NE(FadeBlockPaintManager::kPlain, during);
    ASSERT_TRUE(PumpUntil([&] { return animation->GetItemCount() == 0 && animation->GetTimer() == 0; }));
    EXPECT_EQ(FadeBlockPaintManager::kPlain, WindowPixel(bar->GetSafeHwnd(), centre.x, centre.y));
    EXPECT_FALSE(::KillTimer(bar->GetSafeHwnd(), COSMCommandBarAnimation::kTimerId));
}

}  // namespace
