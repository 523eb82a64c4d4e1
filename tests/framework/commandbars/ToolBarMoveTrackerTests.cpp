// The toolbar move tracker without windows: the places it keeps for its toolbar, drags without a bar window, and the
// rectangle arithmetic of its moves. Drags of real bars: ToolBarDragTests.cpp.
#include <gtest/gtest.h>

#include "classlib/Geometry.h"
#include "framework/commandbars/ToolBarMoveTracker.h"

TEST(ToolBarMoveTracker, KeepsItsToolBarAndItsPlaces)
{
    int toolBarStandIn = 0;
    auto* toolBar = reinterpret_cast<COSMToolBar*>(&toolBarStandIn);
    COSMToolBarMoveTracker tracker(toolBar);
    EXPECT_EQ(toolBar, tracker.GetToolBar());
    EXPECT_EQ(CPoint(0, 0), tracker.GetSavedFloatingPoint());
    EXPECT_EQ(0, tracker.GetSavedDockSide());
    EXPECT_EQ(CRect(), tracker.GetSavedDockRect());

    tracker.SetSavedDock(3, CRect(0, 40, 24, 200));
    tracker.SetSavedFloatingPoint(CPoint(300, 120));
    EXPECT_EQ(3, tracker.GetSavedDockSide());
    EXPECT_EQ(CRect(0, 40, 24, 200), tracker.GetSavedDockRect());
    EXPECT_EQ(CPoint(300, 120), tracker.GetSavedFloatingPoint());
}

TEST(ToolBarMoveTracker, WithoutABarWindowNothingIsDragged)
{
    COSMToolBarMoveTracker tracker(nullptr);
    tracker.SetSavedDock(1, CRect(5, 0, 105, 26));
    COSMToolBarMoveTracker& asToolBar = tracker;
    asToolBar.TrackMove(CPoint(50, 60));
    asToolBar.TrackResize(HTBOTTOMRIGHT, CPoint(70, 80));
    asToolBar.TrackLoop();
    EXPECT_FALSE(asToolBar.ToggleDocking());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(0, tracker.GetMode());
    EXPECT_EQ(1, tracker.GetSavedDockSide());
    EXPECT_EQ(CRect(5, 0, 105, 26), tracker.GetSavedDockRect());
    EXPECT_EQ(CPoint(0, 0), tracker.GetSavedFloatingPoint());
}

TEST(ToolBarMoveTracker, ADraggedRectangleKeepsTenPixelsOnTheWorkArea)
{
    const CRect work(0, 40, 800, 600);
    const struct
    {
        CRect rect;
        CRect kept;
    } cases[] = {
        {CRect(100, 100, 300, 130), CRect(100, 100, 300, 130)},    // inside: unchanged
        {CRect(795, 100, 995, 130), CRect(790, 100, 990, 130)},    // past the right edge
        {CRect(-400, 100, -200, 130), CRect(-190, 100, 10, 130)},  // past the left edge
        {CRect(100, 598, 300, 628), CRect(100, 590, 300, 620)},    // past the bottom
        {CRect(100, -10, 300, 20), CRect(100, 20, 300, 50)},       // above the top (the work area starts at 40)
        {CRect(900, 700, 1100, 730), CRect(790, 590, 990, 620)},   // past a corner: both axes
        {CRect(790, 590, 990, 620), CRect(790, 590, 990, 620)},    // exactly ten pixels in
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.rect.left << "," << c.rect.top);
        EXPECT_EQ(c.kept, COSMToolBarMoveTracker::KeepOnScreen(c.rect, work));
    }
}

TEST(ToolBarMoveTracker, ARectangleMovesOntoThePointOnlyAlongTheAxesItMisses)
{
    const CRect rect(100, 100, 200, 130);
    EXPECT_EQ(rect, COSMToolBarMoveTracker::MoveRectToPoint(rect, CPoint(150, 110)));
    EXPECT_EQ(CRect(250, 100, 350, 130), COSMToolBarMoveTracker::MoveRectToPoint(rect, CPoint(300, 110)));
    EXPECT_EQ(CRect(100, 35, 200, 65), COSMToolBarMoveTracker::MoveRectToPoint(rect, CPoint(150, 50)));
    EXPECT_EQ(CRect(0, 185, 100, 215), COSMToolBarMoveTracker::MoveRectToPoint(rect, CPoint(50, 200)));
}
