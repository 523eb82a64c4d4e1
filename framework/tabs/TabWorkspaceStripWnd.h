// COSMTabWorkspaceStripWnd: the window of the workspace's single strip (grouping off). It sits beside the MDI client,
// takes the rectangle the frame gives the client and leaves the client its own client area; it paints its group
// through the client window's paint manager and hands presses and moves to the group.
#pragma once

#include "classlib/Wnd.h"
#include "framework/tabs/TabWorkspace.h"

class COSMTabClientWnd;

class COSMTabWorkspaceStripWnd : public CWnd
{
public:
    COSMTabWorkspaceStripWnd() = default;
    ~COSMTabWorkspaceStripWnd() override;

    // A child of the frame, below the MDI client in z-order.
    BOOL Create(COSMTabClientWnd* pClient, HWND hWndFrame);
    COSMTabWorkspace* GetWorkspace() { return &m_workspace; }
    // Paints the strip over the window's client rectangle.
    void Draw(CDC* pDC);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    COSMTabWorkspace m_workspace;
    COSMTabClientWnd* m_pClient = nullptr;
};
