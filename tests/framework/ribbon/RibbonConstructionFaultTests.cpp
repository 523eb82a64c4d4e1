// The ribbon's objects that make parts of their own while they are built (the groups scroller its two buttons, a
// group its option and popup buttons, the ribbon painter its tab strip manager and that manager's sets, the popups
// their copies of a tab or a group): each allocation of a construction fails in turn, and whatever the construction
// made before it must be gone again, blocks and GDI objects alike. This program has its own operator new
// (FailingAllocations.cpp) and nothing else.
#include "FailingAllocations.h"
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

using test_support::AllocationFailureTry;
using test_support::FailEachAllocation;

namespace {

// Fails each allocation of build in turn, from the first until build needs fewer; after each try nothing it made may
// be left. Returns how many allocations a whole build took.
int FailEachAllocationOf(const std::function<void()>& build)
{
    // Once whole first: what the process makes on first use (and keeps) is made here, not counted below.
    build();
    const int objectsBefore = CountGdiObjects();
    const int steps = FailEachAllocation(build, [&](const AllocationFailureTry& tried) {
        SCOPED_TRACE(testing::Message() << "allocation " << tried.succeeding + 1 << " fails");
        EXPECT_EQ(0, tried.live) << "blocks left behind";
        EXPECT_EQ(objectsBefore, CountGdiObjects()) << "GDI objects left behind";
        if (tried.refused)
            EXPECT_TRUE(tried.threw) << "the failed allocation reached the caller";
        else
            EXPECT_FALSE(tried.threw);
        return !::testing::Test::HasFailure();
    });
    if (steps < 0 && !::testing::Test::HasFailure())
        ADD_FAILURE() << "the build never ended";
    return steps;
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
