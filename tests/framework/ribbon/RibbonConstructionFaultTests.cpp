// The ribbon's objects that make parts of their own while they are built (the groups scroller its two buttons, a
// group its option and popup buttons, the ribbon painter its tab strip manager and that manager's sets, the popups
// their copies of a tab or a group): each allocation of a construction fails in turn, and whatever the construction
// made before it must be gone again, blocks and GDI objects alike. This program has its own operator new
// (AllocationFaults.cpp) and nothing else.
#include "AllocationFaults.h"
#include "GdiObjectCount.h"

#include "classlib/RefPtr.h"
#include "framework/commandbars/testing/TestPaintManager.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonGroupsScroller.h"
#include "framework/ribbon/RibbonPaintManager.h"
#include "framework/ribbon/RibbonPopupToolBars.h"
#include "framework/ribbon/RibbonTab.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

using ribbon_test::AllocationFaults;

namespace {

// Fails each allocation of build in turn, from the first until build needs fewer; after each try nothing it made may
// be left. Returns how many allocations a whole build took.
int FailEachAllocationOf(const std::function<void()>& build)
{
    // Once whole first: what the process makes on first use (and keeps) is made here, not counted below.
    build();
    for (int n = 1; n < 100000; ++n)
    {
        SCOPED_TRACE(testing::Message() << "allocation " << n << " fails");
        const int objectsBefore = CountGdiObjects();
        AllocationFaults faults(n);
        bool threw = false;
        try
        {
            build();
        }
        catch (const std::bad_alloc&)
        {
            threw = true;
        }
        EXPECT_EQ(0, faults.Live()) << "blocks left behind";
        EXPECT_EQ(objectsBefore, CountGdiObjects()) << "GDI objects left behind";
        if (!faults.Struck())
        {
            EXPECT_FALSE(threw);
            return n - 1;
        }
        EXPECT_TRUE(threw) << "the failed allocation reached the caller";
        if (::testing::Test::HasFailure())
            return n;
    }
    ADD_FAILURE() << "the build never ended";
    return 0;
}

}  // namespace

TEST(RibbonConstructionFaultTest, AGroupsScrollerThatCannotBeMadeLeavesNeitherButton)
{
    const int steps = FailEachAllocationOf([] { COSMRibbonGroupsScroller scroller(nullptr); });
    EXPECT_GE(steps, 2) << "one block per button at least";
}

TEST(RibbonConstructionFaultTest, AGroupThatCannotBeMadeLeavesNeitherOfItsButtons)
{
    const int steps = FailEachAllocationOf([] { const RefPtr<COSMRibbonGroup> group = AdoptRef(new COSMRibbonGroup); });
    EXPECT_GE(steps, 3) << "the group and its two buttons";
}

TEST(RibbonConstructionFaultTest, ARibbonPainterThatCannotBeMadeLeavesNoTabStripManagerNorItsFonts)
{
    COSMTestPaintManager owner;
    const int steps = FailEachAllocationOf(
        [&] { const RefPtr<COSMRibbonPaintManager> painter = AdoptRef(new COSMRibbonPaintManager(&owner)); });
    EXPECT_GE(steps, 4) << "the painter, the tab strip manager and its two sets";
}

TEST(RibbonConstructionFaultTest, PopupsThatCannotBeMadeLeaveNoCopyOfTheirTabOrGroup)
{
    const RefPtr<COSMRibbonTab> tab = AdoptRef(new COSMRibbonTab);
    tab->GetGroups()->Add("First", 1);
    tab->GetGroups()->Add("Second", 2);
    COSMRibbonGroup* group = tab->GetGroups()->GetAt(0);
    ASSERT_NE(nullptr, group);
    {
        SCOPED_TRACE("tab popup");
        FailEachAllocationOf([&] {
            const RefPtr<COSMRibbonTabPopupToolBar> popup = AdoptRef(new COSMRibbonTabPopupToolBar(tab.Get()));
            ASSERT_NE(nullptr, popup->GetTabCopy());
            EXPECT_EQ(2, popup->GetTabCopy()->GetGroups()->GetCount());
        });
    }
    {
        SCOPED_TRACE("group popup");
        FailEachAllocationOf([&] {
            const RefPtr<COSMRibbonGroupPopupToolBar> popup = AdoptRef(new COSMRibbonGroupPopupToolBar(group));
            ASSERT_NE(nullptr, popup->GetGroupCopy());
        });
    }
}
