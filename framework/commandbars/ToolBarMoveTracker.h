// COSMToolBarMoveTracker: the mouse drags of one toolbar (moving it to a dock side or floating it, resizing it by
// its border, the double-click toggle between docked and floating) and the places it remembers in between. Each
// toolbar makes one in its constructor and deletes it with itself; the toolbar's dock bar writes the saved dock side
// and rectangle as it lays the toolbar out, and a new floating window opens at the saved floating point.
//
// In this form the tracker keeps those places only: the drags do nothing and ToggleDocking changes nothing.
#pragma once

#include "classlib/Geometry.h"

class COSMToolBar;

class COSMToolBarMoveTracker
{
public:
    explicit COSMToolBarMoveTracker(COSMToolBar* pToolBar);
    virtual ~COSMToolBarMoveTracker();
    COSMToolBarMoveTracker(const COSMToolBarMoveTracker&) = delete;
    COSMToolBarMoveTracker& operator=(const COSMToolBarMoveTracker&) = delete;

    // Moves the toolbar with the mouse from point (screen coordinates).
    virtual void TrackMove(CPoint point);
    // Resizes the floating toolbar by the border of hit code nHitCode (HTLEFT .. HTBOTTOMRIGHT) from point.
    virtual void TrackResize(UINT nHitCode, CPoint point);
    // Docks a floating toolbar at its saved place or floats a docked one; TRUE when it changed something.
    virtual BOOL ToggleDocking();
    // The drag's own message loop.
    virtual void TrackLoop();

    COSMToolBar* GetToolBar() const { return m_pToolBar; }
    // 0 top, 1 bottom, 2 left, 3 right; the rectangle is in the client coordinates of that side's dock bar.
    int GetSavedDockSide() const { return m_nSavedDockSide; }
    const CRect& GetSavedDockRect() const { return m_rcSavedDock; }
    void SetSavedDock(int nSide, const CRect& rect)
    {
        m_nSavedDockSide = nSide;
        m_rcSavedDock = rect;
    }
    // Screen coordinates; (0, 0): none yet.
    const CPoint& GetSavedFloatingPoint() const { return m_ptSavedFloating; }
    void SetSavedFloatingPoint(const CPoint& point) { m_ptSavedFloating = point; }

protected:
    COSMToolBar* m_pToolBar;  // not owned
    // 1 while moving; during a resize, the sizing hit code.
    int m_nMode = 0;
    CPoint m_ptLast;
    int m_nSavedDockSide = 0;
    CRect m_rcSavedDock;
    CPoint m_ptSavedFloating;
    CRect m_rcTracking;
    CRect m_rcWindow;
};
