// The painters the ribbon and the controls hand the paint manager as the program starts, seen through the test paint
// manager: this program links the ribbon library, and with it the controls library, as an application does.
#include "PaintManagerTestSupport.h"

#include "framework/foundation/ShadowManager.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonPaintManager.h"

#include <gtest/gtest.h>

using foundation_test::MetricsPaintManager;
using foundation_test::PaintManagerTest;

// The painters the controls and the ribbon register are made with the manager (gallery, slider, progress) or on first
// request (frame, ribbon), refreshed with it and freed with it. How a theme's own painters replace them is shown with
// painters of the tests' own in the command bars' tests.
TEST_F(PaintManagerTest, ThePartPaintersLiveWithTheManager)
{
    const int framesBefore = COSMFramePaintManager::GetLiveCount();
    const int ribbonsBefore = COSMRibbonPaintManager::GetLiveCount();
    {
        MetricsPaintManager pm;
        ASSERT_NE(nullptr, pm.GetGalleryPaintManager());
        ASSERT_NE(nullptr, pm.GetSliderPaintManager());
        ASSERT_NE(nullptr, pm.GetProgressPaintManager());
        EXPECT_EQ(&pm, pm.GetGalleryPaintManager()->GetOwner());
        EXPECT_EQ(&pm, pm.GetSliderPaintManager()->GetOwner());
        EXPECT_EQ(&pm, pm.GetProgressPaintManager()->GetOwner());
        EXPECT_EQ(framesBefore, COSMFramePaintManager::GetLiveCount());
        ASSERT_NE(nullptr, pm.GetShadowManager());
        EXPECT_EQ(1, pm.GetShadowManager()->GetSaveBits());

        pm.RefreshMetrics();
        EXPECT_EQ(0, pm.GetShadowManager()->GetSaveBits());

        auto* frame = dynamic_cast<COSMFramePaintManager*>(pm.GetFramePaintManager());
        auto* ribbon = dynamic_cast<COSMRibbonPaintManager*>(pm.GetRibbonPaintManager());
        ASSERT_NE(nullptr, frame);
        ASSERT_NE(nullptr, ribbon);
        EXPECT_EQ(frame, pm.GetFramePaintManager());
        EXPECT_EQ(ribbon, pm.GetRibbonPaintManager());
        EXPECT_EQ(&pm, frame->GetOwner());
        EXPECT_EQ(&pm, ribbon->GetOwner());
        EXPECT_EQ(1, frame->GetRefreshCount());
        EXPECT_EQ(1, ribbon->GetRefreshCount());
        EXPECT_EQ(framesBefore + 1, COSMFramePaintManager::GetLiveCount());

        pm.RefreshMetrics();
        EXPECT_EQ(2, frame->GetRefreshCount());
        EXPECT_EQ(2, ribbon->GetRefreshCount());
        EXPECT_EQ(0, pm.GetShadowManager()->GetSaveBits());
    }
    EXPECT_EQ(framesBefore, COSMFramePaintManager::GetLiveCount());
    EXPECT_EQ(ribbonsBefore, COSMRibbonPaintManager::GetLiveCount());
}
