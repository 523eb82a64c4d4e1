// The splitters between the workspace's groups: hit testing and the drag that shares the room of two groups anew.
#include <algorithm>

#include "classlib/ModalLoop.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/foundation/SplitterTracker.h"
#include "framework/tabs/TabClientWnd.h"

int COSMTabClientWnd::HitTestSplitter(CPoint pt) const
{
    for (int i = 0; i + 1 < GetWorkspaceCount(); i++)
        if (m_arrWorkspaces[i]->GetSplitterRect().PtInRect(pt))
            return i;
    return -1;
}

void COSMTabClientWnd::SetProportionsToPixels()
{
    for (COSMTabWorkspace* pWorkspace : m_arrWorkspaces)
        pWorkspace->SetProportion(GroupExtent(pWorkspace));
}

void COSMTabClientWnd::MoveSplitter(int nIndex, const CRect& rcLimits, CPoint pt)
{
    COSMTabWorkspace* pFirst = GetWorkspace(nIndex);
    COSMTabWorkspace* pSecond = GetWorkspace(nIndex + 1);
    if (!pFirst || !pSecond)
        return;
    // Two groups without room (a frame made very small) have nothing to share.
    const BOOL bVerticalSplit = m_nSplitDirection == 0;
    const int nLow = bVerticalSplit ? rcLimits.left : rcLimits.top;
    const int nHigh = bVerticalSplit ? rcLimits.right : rcLimits.bottom;
    if (nHigh <= nLow)
        return;
    const int nPos = std::max(nLow, std::min(static_cast<int>(bVerticalSplit ? pt.x : pt.y), nHigh));
    const double dTotal = pFirst->GetProportion() + pSecond->GetProportion() + m_nSplitterWidth;
    const double dRatio = static_cast<double>(nPos - nLow) / (nHigh - nLow);
    // The point is in the client's own coordinates, mirrored with it in a right-to-left layout: the first group is
    // then the right one, and the splitter's screen-left edge (its far side there) follows the point.
    const BOOL bMirrored = bVerticalSplit && (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    const double dWanted = dRatio * dTotal - (bMirrored ? m_nSplitterWidth : 0);
    const double dFirst = std::max(0.0, std::min(dWanted, dTotal - m_nSplitterWidth));
    pFirst->SetProportion(dFirst);
    pSecond->SetProportion(std::max(0.0, dTotal - dFirst - m_nSplitterWidth));
}

void COSMTabClientWnd::TrackSplitter(int nIndex, CPoint pt)
{
    COSMTabWorkspace* pFirst = GetWorkspace(nIndex);
    COSMTabWorkspace* pSecond = GetWorkspace(nIndex + 1);
    if (!pFirst || !pSecond)
        return;
    CRect rcLimits;
    rcLimits.UnionRect(pFirst->GetControlRect(), pSecond->GetControlRect());
    const BOOL bVerticalSplit = m_nSplitDirection == 0;
    // Groups without room (a frame made very small) keep the shares they had: there is nothing to move.
    if ((bVerticalSplit ? rcLimits.Width() : rcLimits.Height()) <= 0)
        return;

    if (m_bLiveSplitter)
    {
        SetProportionsToPixels();
        ::SetCapture(m_hWnd);
        CPoint ptLast = pt;
        // The groups are painted as they move, before the next move is taken. A quit (also one that comes out with
        // the paints) ends the drag and is posted again for the application's loop.
        CModalLoop loop;
        loop.EndOnCaptureLoss(m_hWnd).EndOnEscape().PaintFirst();
        loop.Run(nullptr, [&](MSG& msg) {
            if (msg.message == WM_LBUTTONUP)
                return CModalLoop::Stop;
            if (msg.message == WM_KEYDOWN)
                return CModalLoop::Handled;  // no other key acts while the splitter moves
            if (msg.message != WM_MOUSEMOVE)
                return CModalLoop::Dispatch;
            CPoint ptMove(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            if (msg.hwnd != m_hWnd)
                ::MapWindowPoints(msg.hwnd, m_hWnd, &ptMove, 1);
            ptMove.x = std::max(rcLimits.left, std::min(ptMove.x, rcLimits.right));
            ptMove.y = std::max(rcLimits.top, std::min(ptMove.y, rcLimits.bottom));
            if (bVerticalSplit ? ptMove.x == ptLast.x : ptMove.y == ptLast.y)
                return CModalLoop::Handled;
            ptLast = ptMove;
            MoveSplitter(nIndex, rcLimits, ptMove);
            UpdateContents(FALSE);
            if (m_pCommandBars)
                m_pCommandBars->RecalcFrameLayout();
            return CModalLoop::Handled;
        });
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        return;
    }

    // Tracker mode: a rectangle follows the mouse and the groups change once, at the end, when it moved.
    CRect rcTracker = pFirst->GetSplitterRect();
    ClientToScreen(&rcTracker);
    const CRect rcStart = rcTracker;
    CRect rcBounds = rcLimits;
    ClientToScreen(&rcBounds);
    CPoint ptStart = pt;
    ClientToScreen(&ptStart);
    COSMSplitterTracker tracker;
    const BOOL bAccepted = tracker.Track(
        this, rcBounds.left, rcBounds.top, bVerticalSplit ? rcBounds.right - rcTracker.Width() : rcBounds.right,
        bVerticalSplit ? rcBounds.bottom : rcBounds.bottom - rcTracker.Height(), rcTracker, ptStart, bVerticalSplit);
    if (!bAccepted || rcTracker == rcStart)
        return;
    SetProportionsToPixels();
    CPoint ptEnd = rcTracker.TopLeft();
    ScreenToClient(&ptEnd);
    MoveSplitter(nIndex, rcLimits, ptEnd);
    UpdateContents(FALSE);
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout();
}
