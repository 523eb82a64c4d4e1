// What the paint manager does with the part painters and the shadow manager it owns: makes them with itself as
// owner, refreshes them with its metrics, frees them (and the painters a theme put in their place) with itself.
#include <gtest/gtest.h>

#include "classlib/ClassLibBase.h"
#include "framework/controls/PartPaintManagers.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/commandbars/testing/TestPaintManager.h"

#include <typeinfo>

namespace {

struct PainterLog
{
    int refreshed = 0;
    int deleted = 0;
};

// A theme's own painter: counts its refreshes and its deletion.
template <class Painter> class CountingPainter : public Painter
{
public:
    CountingPainter(COSMPaintManager* owner, PainterLog& log) : Painter(owner), m_log(log) {}
    ~CountingPainter() override { ++m_log.deleted; }
    void RefreshMetrics() override
    {
        Painter::RefreshMetrics();
        ++m_log.refreshed;
    }

private:
    PainterLog& m_log;
};

// A paint manager that puts painters of its own in place, as a theme does.
class ThemedPaintManager : public COSMTestPaintManager
{
public:
    using COSMPaintManager::SetPartPaintManagers;

    void InstallCountingPainters(PainterLog logs[3])
    {
        SetPartPaintManagers(new CountingPainter<COSMControlGalleryPaintManager>(this, logs[0]),
                             new CountingPainter<COSMSliderPaintManager>(this, logs[1]),
                             new CountingPainter<COSMProgressPaintManager>(this, logs[2]));
    }
};

}  // namespace

TEST(PaintManagerParts, TheConstructorMakesThePaintersAndTheShadowManager)
{
    COSMTestPaintManager pm;
    ASSERT_NE(nullptr, pm.GetGalleryPaintManager());
    ASSERT_NE(nullptr, pm.GetSliderPaintManager());
    ASSERT_NE(nullptr, pm.GetProgressPaintManager());
    EXPECT_EQ(typeid(COSMControlGalleryPaintManager), typeid(*pm.GetGalleryPaintManager()));
    EXPECT_EQ(typeid(COSMSliderPaintManager), typeid(*pm.GetSliderPaintManager()));
    EXPECT_EQ(typeid(COSMProgressPaintManager), typeid(*pm.GetProgressPaintManager()));
    EXPECT_EQ(&pm, pm.GetGalleryPaintManager()->GetOwner());
    EXPECT_EQ(&pm, pm.GetSliderPaintManager()->GetOwner());
    EXPECT_EQ(&pm, pm.GetProgressPaintManager()->GetOwner());

    COSMShadowManager* shadows = pm.GetShadowManager();
    ASSERT_NE(nullptr, shadows);
    EXPECT_EQ(1, shadows->m_dwRef);
    // Its flag is as made: nothing refreshed yet.
    EXPECT_EQ(1, shadows->GetSaveBits());
}

TEST(PaintManagerParts, RefreshMetricsRefreshesEachPainterAndClearsTheShadowManagersFlag)
{
    PainterLog logs[3];
    ThemedPaintManager pm;
    pm.InstallCountingPainters(logs);
    for (int refresh = 1; refresh <= 2; ++refresh)
    {
        pm.RefreshMetrics();
        for (const PainterLog& log : logs)
        {
            EXPECT_EQ(refresh, log.refreshed);
            EXPECT_EQ(0, log.deleted);
        }
        EXPECT_EQ(0, pm.GetShadowManager()->GetSaveBits());
    }
}

TEST(PaintManagerParts, TheDestructorDeletesThePaintersAndReleasesTheShadowManager)
{
    PainterLog logs[3];
    auto* pm = new ThemedPaintManager;
    pm->InstallCountingPainters(logs);
    COSMShadowManager* shadows = pm->GetShadowManager();
    shadows->InternalAddRef();
    delete pm;
    for (const PainterLog& log : logs)
        EXPECT_EQ(1, log.deleted);
    // The manager gave its reference back: ours is the last.
    EXPECT_EQ(0u, shadows->InternalRelease());
}

TEST(PaintManagerParts, ReplacedPaintersAreDeletedAndEmptySlotsAreSkipped)
{
    PainterLog first[3];
    PainterLog second[3];
    ThemedPaintManager pm;
    pm.InstallCountingPainters(first);
    pm.InstallCountingPainters(second);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(1, first[i].deleted);
        EXPECT_EQ(0, second[i].deleted);
    }
    pm.RefreshMetrics();
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(0, first[i].refreshed);
        EXPECT_EQ(1, second[i].refreshed);
    }

    pm.SetPartPaintManagers(nullptr, nullptr, nullptr);
    for (const PainterLog& log : second)
        EXPECT_EQ(1, log.deleted);
    EXPECT_EQ(nullptr, pm.GetGalleryPaintManager());
    EXPECT_EQ(nullptr, pm.GetSliderPaintManager());
    EXPECT_EQ(nullptr, pm.GetProgressPaintManager());
    pm.RefreshMetrics();
    EXPECT_EQ(0, pm.GetShadowManager()->GetSaveBits());
}
