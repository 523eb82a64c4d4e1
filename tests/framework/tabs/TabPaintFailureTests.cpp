// A strip's paint that throws part way (a colour set's fill, a button's glyph) leaves the GDI objects it made for
// the paint behind neither in the process nor in the DC: counted before and after, and the DC's clip and brush read
// back. A strip whose making runs out of memory at any allocation leaves none of what it made before.
#include <gtest/gtest.h>

#include <stdexcept>

#include "FailingAllocations.h"
#include "GdiObjectCount.h"
#include "TabAppearanceTestSupport.h"
#include "classlib/ScopedHandle.h"
#include "framework/tabs/TabManagerNavigateButton.h"

using tabs_test::TestStrip;

namespace {

bool g_throwInPaint = false;

void ThrowIfArmed()
{
    if (g_throwInPaint)
        throw std::runtime_error("paint failed");
}

// Fills tabs as the default set does, or throws when armed.
class ThrowingColorSet : public COSMTabColorSetDefault
{
public:
    COLORREF FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) override
    {
        ThrowIfArmed();
        return COSMTabColorSetDefault::FillTab(pDC, rc, pItem);
    }
};

// A tab's close button whose glyph throws when armed.
class ThrowingButton : public COSMTabManagerNavigateButtonClose
{
public:
    explicit ThrowingButton(COSMTabManager* pManager) : COSMTabManagerNavigateButtonClose(pManager, kAlwaysShown) {}
    void DrawEntry(CDC* pDC, CRect rc) override
    {
        ThrowIfArmed();
        COSMTabManagerNavigateButtonClose::DrawEntry(pDC, rc);
    }
};

struct ThrowingPaintFixture
{
    ThrowingPaintFixture(int nAppearance, int nPosition)
        : rcControl(0, 0, 300, 300), surface(300, 300, RGB(255, 0, 255)), strip(nullptr, rcControl)
    {
        pm.SetAppearance(nAppearance);
        pm.SetColorSet(new ThrowingColorSet);
        pm.SetLayout(COSMTabPaintManager::kLayoutFixed);
        pm.m_nFixedTabWidth = 60;
        pm.SetPosition(nPosition);
        strip.m_pPaintManager = &pm;
        pm.AddClient(&strip);
        for (const char* caption : {"A", "B", "C"})
            strip.InsertItem(-1)->SetCaption(caption);
        strip.GetItem(0)->AddNavigateButton(AdoptRef<COSMTabManagerNavigateButton>(new ThrowingButton(&strip)));
        strip.SetCurSel(0);
    }
    ~ThrowingPaintFixture() { g_throwInPaint = false; }

    CRect rcControl;
    COSMTabPaintManager pm;
    foundation_test::DcTestSurface surface;
    TestStrip strip;
};

TEST(TabPaintFailureTest, APaintThatThrowsLeavesNoGdiObjectAndTheDcAsItWas)
{
    struct Case
    {
        const char* name;
        int nAppearance;  // the figures (3, 7, 9) clip each fill to a region, soft rectangles (2) and bars (8) clip
        int nPosition;
        std::function<void(ThrowingPaintFixture&)> paint;
    };
    const auto drawControl = [](ThrowingPaintFixture& f) {
        f.pm.DrawTabControl(&f.strip, f.surface.dc(), f.rcControl);
    };
    const auto drawFirstTab = [](ThrowingPaintFixture& f) {
        COSMTabManagerItem* pItem = f.strip.GetItem(0);
        f.pm.DrawItemContent(f.surface.dc(), pItem, pItem->GetRect(), TRUE);
    };
    const Case cases[] = {
        {"slanted tab fill", 3, 0, drawControl},
        {"trapezoid tab fill", 7, 0, drawControl},
        {"curved tab fill, turned to the left", 9, 1, drawControl},
        {"soft rectangle fill, corners excluded", 2, 0, drawControl},
        {"stacked bar fill, clipped to the control", 8, 0, drawControl},
        {"close button glyph", 0, 0, drawFirstTab},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ThrowingPaintFixture f(c.nAppearance, c.nPosition);
        const HDC dc = f.surface.dc()->GetSafeHdc();
        // A first paint makes what a paint keeps (fonts, cached pictures).
        c.paint(f);
        const HGDIOBJ brushBefore = ::GetCurrentObject(dc, OBJ_BRUSH);
        const int objectsBefore = CountGdiObjects();

        g_throwInPaint = true;
        EXPECT_THROW(c.paint(f), std::runtime_error);
        g_throwInPaint = false;

        EXPECT_EQ(objectsBefore, CountGdiObjects()) << "a GDI object made for the paint stayed";
        EXPECT_EQ(brushBefore, ::GetCurrentObject(dc, OBJ_BRUSH)) << "a brush stayed selected";
        ScopedGdiObject<HRGN> probe(::CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(0, ::GetClipRgn(dc, probe.Get())) << "the DC kept a clip of the paint";
    }
}

// Every allocation the strip makes while it is made fails in turn: what it made before goes with it.
TEST(TabPaintFailureTest, AStripWhoseMakingRunsOutOfMemoryLeavesNothing)
{
    COSMTabPaintManager pm;
    {
        TestStrip warmUp(&pm);
    }
    int failures = 0;
    for (int succeeding = 0; succeeding < 200; ++succeeding)
    {
        const long before = test_support::LiveAllocations();
        bool made = false;
        {
            test_support::FailingAllocations failing(succeeding);
            try
            {
                TestStrip strip(&pm);
                made = true;
            }
            catch (const std::bad_alloc&)
            {
                ++failures;
            }
        }
        EXPECT_EQ(before, test_support::LiveAllocations()) << "after " << succeeding << " allocations";
        if (made)
            break;
    }
    EXPECT_GE(failures, 4) << "the strip's own buttons are among its allocations";
}

}  // namespace
