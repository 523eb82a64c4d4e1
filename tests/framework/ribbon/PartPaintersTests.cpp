// The painters the ribbon and the controls hand the paint manager as the program starts, seen through the test paint
// manager: this program links the ribbon library, and with it the controls library, as an application does.
#include "PaintManagerTestSupport.h"

#include "framework/foundation/ShadowManager.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonPaintManager.h"
#include "tests/support/GdiObjectCount.h"

#include <gtest/gtest.h>

using foundation_test::MetricsPaintManager;
using foundation_test::PaintManagerTest;

// The painters the controls and the ribbon register are made with the manager (gallery, slider, progress) or on first
// request (frame, ribbon), refreshed with it and freed with it: the fonts the frame and ribbon painters (and the
// ribbon's tab strip manager) make are all gone with the manager. How a theme's own painters replace them is shown
// with painters of the tests' own in the command bars' tests.
TEST_F(PaintManagerTest, ThePartPaintersLiveWithTheManager)
{
    // The first round makes what the process keeps (the look's pictures and colours); the next ones must give back
    // every object they make.
    for (int round = 0; round < 3; ++round)
    {
        SCOPED_TRACE(round);
        const int objectsBefore = CountGdiObjects();
        int objectsWithPainters = 0;
        {
            MetricsPaintManager pm;
            ASSERT_NE(nullptr, pm.GetGalleryPaintManager());
            ASSERT_NE(nullptr, pm.GetSliderPaintManager());
            ASSERT_NE(nullptr, pm.GetProgressPaintManager());
            EXPECT_EQ(&pm, pm.GetGalleryPaintManager()->GetOwner());
            EXPECT_EQ(&pm, pm.GetSliderPaintManager()->GetOwner());
            EXPECT_EQ(&pm, pm.GetProgressPaintManager()->GetOwner());
            ASSERT_NE(nullptr, pm.GetShadowManager());
            EXPECT_EQ(1, pm.GetShadowManager()->GetSaveBits());

            pm.RefreshMetrics();
            EXPECT_EQ(0, pm.GetShadowManager()->GetSaveBits());
            const int objectsWithoutPainters = CountGdiObjects();

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
            ASSERT_NE(nullptr, frame->GetCaptionFont().GetSafeHandle());
            ASSERT_NE(nullptr, ribbon->GetFont()->GetSafeHandle());
            objectsWithPainters = CountGdiObjects();
            EXPECT_GT(objectsWithPainters, objectsWithoutPainters) << "the painters made their fonts";

            pm.RefreshMetrics();
            EXPECT_EQ(2, frame->GetRefreshCount());
            EXPECT_EQ(2, ribbon->GetRefreshCount());
            EXPECT_EQ(0, pm.GetShadowManager()->GetSaveBits());
            EXPECT_EQ(objectsWithPainters, CountGdiObjects()) << "a refresh replaces the fonts, it does not add";
        }
        if (round > 0)
        {
            EXPECT_EQ(objectsBefore, CountGdiObjects()) << "the painters went with the manager";
        }
    }
}
