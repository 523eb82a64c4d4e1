#include "framework/commandbars/ToolBarMoveTracker.h"

COSMToolBarMoveTracker::COSMToolBarMoveTracker(COSMToolBar* pToolBar) : m_pToolBar(pToolBar) {}

COSMToolBarMoveTracker::~COSMToolBarMoveTracker() = default;

void COSMToolBarMoveTracker::TrackMove(CPoint point) {}

void COSMToolBarMoveTracker::TrackResize(UINT nHitCode, CPoint point) {}

BOOL COSMToolBarMoveTracker::ToggleDocking()
{
    return FALSE;
}

void COSMToolBarMoveTracker::TrackLoop() {}
