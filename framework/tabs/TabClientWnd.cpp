#include "framework/tabs/TabClientWnd.h"

IMPLEMENT_DYNAMIC(COSMTabClientWnd, CWnd)

BOOL COSMTabClientWnd::Attach(CMDIFrameWnd* frame)
{
    if (!frame || !frame->m_hWndMDIClient || CWnd::FromHandlePermanent(frame->m_hWndMDIClient))
        return FALSE;
    return SubclassWindow(frame->m_hWndMDIClient);
}

BOOL COSMTabClientWnd::IsWorkspaceActionEnabled(int id)
{
    switch (id)
    {
    case COSMControlWorkspaceActions::kMoveToPreviousGroup:
        return m_activeGroup > 0;
    case COSMControlWorkspaceActions::kMoveToNextGroup:
        return m_activeGroup < m_groupCount - 1;
    case COSMControlWorkspaceActions::kNewHorizontalGroup:
    case COSMControlWorkspaceActions::kNewVerticalGroup:
        return m_activeGroupTabs > 1;
    default:
        return TRUE;
    }
}

void COSMTabClientWnd::SetWorkspaceState(int activeGroup, int groupCount, int activeGroupTabs)
{
    m_activeGroup = activeGroup;
    m_groupCount = groupCount;
    m_activeGroupTabs = activeGroupTabs;
}
