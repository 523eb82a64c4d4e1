// Stand-in: the tab manager replaces this file with its full COSMTabClientWnd (tab groups, strips, splitters, drags).
// COSMTabClientWnd is the MDI tab workspace: the window object attached to a frame's MDI client, which shows the
// frame's children as tabs in groups. Until the tab manager arrives it holds only what the workspace commands ask:
// how many groups there are, which one is active and how many tabs that one holds, as a program or a test sets them:
//
//   COSMTabClientWnd workspace;
//   workspace.Attach(&frame);                 // subclasses frame.m_hWndMDIClient
//   workspace.SetWorkspaceState(1, 3, 2);     // the second of three groups is active and holds two tabs
//   workspace.IsWorkspaceActionEnabled(9155); // TRUE: there is a group before it
#pragma once

#include "classlib/MDIFrameWnd.h"
#include "classlib/Object.h"
#include "classlib/Wnd.h"
#include "framework/controls/ControlWorkspaceActions.h"

class COSMTabClientWnd : public CWnd, public COSMWorkspaceActionSource
{
    DECLARE_DYNAMIC(COSMTabClientWnd)

public:
    COSMTabClientWnd() = default;

    // Becomes the window object of the frame's MDI client; FALSE when the frame has none or it has one already.
    BOOL Attach(CMDIFrameWnd* frame);
    using CWnd::Attach;

    // 9155 (move to the previous group) only when the active group is not the first, 9156 (to the next) only when
    // it is not the last, 9157 and 9158 (new horizontal or vertical group) only when the active group holds more
    // than one tab; any other id is enabled.
    BOOL IsWorkspaceActionEnabled(int id) override;

    // What the stand-in answers from: the active group's index, the number of groups and the active group's tabs.
    void SetWorkspaceState(int activeGroup, int groupCount, int activeGroupTabs);

private:
    int m_activeGroup = 0;
    int m_groupCount = 1;
    int m_activeGroupTabs = 0;
};
