// CMDIFrameWnd is a frame whose pane is an MDI client window (m_hWndMDIClient, id AFX_IDW_PANE_FIRST) holding the
// document windows (CMDIChildWnd); the client takes what the bars leave. The frame makes its client as its window is
// created; a class that wants the children listed in a window menu makes it first:
//
//   int CMainFrame::OnCreate(LPCREATESTRUCT cs)
//   {
//       if (!CreateClient(cs, ::GetSubMenu(::GetMenu(m_hWnd), 1)))
//           return -1;
//       return CMDIFrameWnd::OnCreate(cs);
//   }
//
// The frame's default message handling is the system's MDI frame procedure, its keyboard messages pass the MDI
// system accelerators (Ctrl+F4, Ctrl+F6), and commands go to the active child first.
#pragma once

#include "classlib/FrameWnd.h"

class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIFrameWnd)

public:
    CMDIFrameWnd() = default;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Makes the MDI client (id AFX_IDW_PANE_FIRST); hWindowMenu is the menu the client lists the children in.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, HMENU hWindowMenu);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    // The active child when it is a frame object of this library, else the frame itself.
    CFrameWnd* GetActiveFrame() override;
    // The document of the active child frame; null without one.
    CDocument* GetActiveDocument() override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The active child (its own object when the library made it, else a temporary one), or null; *pbMaximized
    // tells whether it is maximized.
    CWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDINext();

    HWND m_hWndMDIClient = nullptr;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // A template's shared menu the frame shows stays with the template.
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()
};
