// The rubber band of a splitter drag: Track runs its own message loop with the mouse captured and draws the
// splitter's rectangle inverted on the desktop, so it shows over every window while nothing is repainted.
//
//   void CMySplitter::OnLButtonDown(UINT, CPoint point)
//   {
//       ClientToScreen(&point);
//       CRect rc = m_rcSplitter;                       // screen coordinates
//       COSMSplitterTracker tracker;
//       if (tracker.Track(this, m_nMinX, 0, m_nMaxX, 0, rc, point, TRUE) && rc != m_rcSplitter)
//           MoveSplitterTo(rc);
//   }
//
// Moving along x ("horizontal") the left edge follows the mouse and stays within [nMinX, nMaxX]; moving along y
// the top edge follows it within [nMinY, nMaxY]. Track is TRUE when the user let go of the left button (whether or
// not the rectangle moved) and FALSE when the drag was cancelled: Esc, lost capture, or the end of the thread's
// message loop (WM_QUIT is put back into the queue for the loop that owns it).
#pragma once

#include "classlib/Geometry.h"

class COSMSplitterTracker
{
public:
    // Solid: the rectangle is inverted; otherwise it is drawn with the halftone pattern.
    explicit COSMSplitterTracker(BOOL bSolid = FALSE);

    COSMSplitterTracker(const COSMSplitterTracker&) = delete;
    COSMSplitterTracker& operator=(const COSMSplitterTracker&) = delete;

    // rect is in screen coordinates, ptStart the screen point where the drag began.
    BOOL Track(CWnd* pTrackWnd, int nMinX, int nMinY, int nMaxX, int nMaxY, CRect& rect, CPoint ptStart,
               BOOL bHorizontal);

    // A second rectangle (screen coordinates) shown unmoving for the whole drag, e.g. the pane being resized;
    // empty to show none.
    void SetExtraRect(const CRect& rect) { m_rcExtra = rect; }
    const CRect& GetExtraRect() const { return m_rcExtra; }

protected:
    // Inverts the rectangle on the tracking DC; drawing it twice removes it.
    void DrawTrackerRect(const CRect& rect);

    HDC m_hDC = nullptr;  // the desktop's DC while tracking
    BOOL m_bSolid;
    CRect m_rcExtra;
};
