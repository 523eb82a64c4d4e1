// The toolbar move tracker in its present form: the places it keeps for its toolbar, and drags that do nothing.
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

TEST(ToolBarMoveTracker, DragsChangeNothingYet)
{
    COSMToolBarMoveTracker tracker(nullptr);
    tracker.SetSavedDock(1, CRect(5, 0, 105, 26));
    COSMToolBarMoveTracker& asToolBar = tracker;
    asToolBar.TrackMove(CPoint(50, 60));
    asToolBar.TrackResize(HTBOTTOMRIGHT, CPoint(70, 80));
    asToolBar.TrackLoop();
    EXPECT_FALSE(asToolBar.ToggleDocking());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(1, tracker.GetSavedDockSide());
    EXPECT_EQ(CRect(5, 0, 105, 26), tracker.GetSavedDockRect());
    EXPECT_EQ(CPoint(0, 0), tracker.GetSavedFloatingPoint());
}
