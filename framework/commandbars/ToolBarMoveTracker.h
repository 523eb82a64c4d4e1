// COSMToolBarMoveTracker: the mouse drags of one toolbar (moving it to a dock side or floating it, resizing it by
// its border, the double-click toggle between docked and floating) and the places it remembers in between. Each
// toolbar makes one in its constructor and deletes it with itself and calls it from its mouse handlers:
//
//   left press on no control      ->  tracker->TrackMove(screenPoint)      docks, floats, keeps 10 pixels on screen
//   left double click on no control -> tracker->ToggleDocking()            back to the saved dock place, or floats
//   non-client press on a border  ->  tracker->TrackResize(HTLEFT, point)  a dialog bar resizes through Resize
//
// A drag runs inside that one call, in its own message loop (WM_QUIT ends it and is posted again; Escape ends it
// where it is, every step having been applied already). The toolbar keeps the live docking record (its dock bar
// writes it); the tracker copies it as a move begins and puts the copy back when a docked bar ends floating, so a
// double click brings the bar back where it was before the drag.
#pragma once

#include "classlib/Geometry.h"

class COSMToolBar;

class COSMToolBarMoveTracker
{
public:
    // The work area of the monitor nearest the rectangle (screen); tests shrink it.
    using WorkAreaFn = CRect (*)(const CRect& rect);
    static WorkAreaFn s_pfnGetWorkArea;
    // Room a dragged bar keeps on the work area.
    static constexpr int kKeepVisible = 10;

    explicit COSMToolBarMoveTracker(COSMToolBar* pToolBar);
    virtual ~COSMToolBarMoveTracker();
    COSMToolBarMoveTracker(const COSMToolBarMoveTracker&) = delete;
    COSMToolBarMoveTracker& operator=(const COSMToolBarMoveTracker&) = delete;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Moves the toolbar with the mouse from point (screen coordinates) until the button goes up.
    virtual void TrackMove(CPoint point);
    // Resizes the bar by the border of hit code nHitCode (HTLEFT .. HTBOTTOMRIGHT) from point (screen).
    virtual void TrackResize(UINT nHitCode, CPoint point);
    // Docks a floating toolbar at its saved place or floats a docked one; TRUE when it changed something.
    virtual BOOL ToggleDocking();
    // The drag's own message loop; nothing when some window holds the mouse capture already.
    virtual void TrackLoop();

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    COSMToolBar* GetToolBar() const { return m_pToolBar; }
    // The copy of the docking record taken as the last move began: 0 top, 1 bottom, 2 left, 3 right; the rectangle
    // is in the client coordinates of that side's dock bar.
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
    // 1 while moving; during a resize the sizing hit code; 0 between drags.
    int GetMode() const { return m_nMode; }

    // The rectangle moved by whole axes so that it holds the point: along an axis the point lies outside, the
    // rectangle is centred on it.
    static CRect MoveRectToPoint(const CRect& rect, CPoint point);
    // The rectangle moved so that at least kKeepVisible pixels of it stay on the work area (vertical checks
    // first, then horizontal).
    static CRect KeepOnScreen(const CRect& rect, const CRect& workArea);

protected:
    // One step of each kind of drag, for the cursor at point (screen).
    virtual void OnMove(CPoint point);
    virtual void OnResizeToolBar(CPoint point);
    virtual void OnResizeDialogBar(CPoint point);
    // The rectangle kept on the work area of the monitor under the cursor.
    CRect KeepOnScreen(const CRect& rect, CPoint cursor) const;

    COSMToolBar* m_pToolBar;  // not owned
    int m_nMode = 0;
    CPoint m_ptLast;
    int m_nSavedDockSide = 0;
    CRect m_rcSavedDock;
    CPoint m_ptSavedFloating;
    // The rectangle that follows the cursor: during a move where the bar would lie, during a resize the edges the
    // mouse moved (the bar's layout answers in steps, so the window alone would lose the small moves).
    CRect m_rcTracking;
    CRect m_rcWindow;
};
