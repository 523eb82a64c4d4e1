// CFrameWnd is a main window that carries bars: it shares its client area between the bars on its sides and one
// pane (the child with id AFX_IDW_PANE_FIRST) whenever it is sized, keeps the status line, translates its
// accelerators and answers the idle-time update:
//
//   CFrameWnd* pFrame = new CMainFrame;
//   pFrame->Create(nullptr, "Osmira", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr,
//   MAKEINTRESOURCEA(IDR_MAIN)); pFrame->LoadAccelTable(MAKEINTRESOURCEA(IDR_MAIN)); AfxGetApp()->m_pMainWnd = pFrame;
//
// Layout: RecalcLayout sends WM_SIZEPARENT to every child (FrameLayout.h) and gives the pane the rest. Code that
// changes many bars at once calls DelayRecalcLayout instead; the layout then runs once, at the next idle time
// (WM_IDLEUPDATECMDUI), as do other requests marked in m_nIdleFlags.
//
// The status line: WM_SETMESSAGESTRING (lParam a text, or wParam a string id) and WM_POPMESSAGESTRING (back to the
// text of wParam, 0 meaning the idle text AFX_IDS_IDLEMESSAGE) go through SetMessageText, which shows the text in
// the status-bar child AFX_IDW_STATUS_BAR (by WM_SETTEXT) when there is one and always keeps it as the last status
// text.
//
// Commands go to the frame's own map and then to the application object. The frame does not delete itself when its
// window goes: a frame made with new that should, overrides PostNcDestroy.
#pragma once

#include "classlib/CmdUI.h"

class CDocument;
class CView;

// A frame's window style bit (the low word is free for a frame window's class): the caption shows the document's name
// before the frame's title ("Report.txt - Osmira"), so a painter that draws the caption may set the title apart.
#ifndef FWS_PREFIXTITLE
#define FWS_PREFIXTITLE 0x00008000L
#endif

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)

public:
    // Bits of m_nIdleFlags: what the next idle update does.
    enum
    {
        idleNotify = 4,  // the delayed layout is one that notifies (RecalcLayout(TRUE))
        idleLayout = 8,  // lay out again
    };
    // Lets the system choose the place and size.
    static const CRect rectDefault;

    CFrameWnd() = default;

    // ---- Override these ----------------------------------------------------------------------------------------
    using CWnd::Create;
    // A top-level frame (or a child one with pParentWnd); lpszMenuName names a menu resource or is null.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0);
    // Lays the bars and the pane out now. bNotify asks for a layout that tells what it changed; this library keeps
    // no in-place objects to tell, so both kinds lay out alike.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Shows a status text (see the header comment).
    virtual void SetMessageText(LPCSTR lpszText);
    // The document the frame shows: none for a plain frame (null); MDI children answer the one they were given, MDI
    // frames their active child's.
    virtual CDocument* GetActiveDocument();
    // The frame the user works in: the frame itself; an MDI frame answers its active child.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Marks the layout for the next idle time.
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    // The text of string resource nID (empty when the program has none).
    void SetMessageText(UINT nID);
    const CString& GetLastStatusText() const { return m_lastStatusText; }
    // The status-bar child, or null.
    CWnd* GetMessageBar() const;
    BOOL LoadAccelTable(LPCSTR lpszResourceName);
    // The view of the frame that has the user's attention, or null (not owned: the view is a child window).
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew) { m_pViewActive = pViewNew; }
    // The application's title of the frame: the window text Create was given, unless set since. The window text
    // may carry more (a document's name before it under FWS_PREFIXTITLE).
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }

    UINT m_nIdleFlags = 0;
    BOOL m_bHelpMode = FALSE;        // the user is picking something to get help on
    HACCEL m_hAccelTable = nullptr;  // translated for the frame's keyboard messages
    UINT m_nIDTracking = 0;          // the string id the status line is to show
    UINT m_nIDLastMessage = 0;       // the string id it shows (0 for a text)
    CRect m_rectBorder{0, 0, 0, 0};  // room kept free around the pane, on top of the bars

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CString m_strTitle;
    CString m_lastStatusText;
    BOOL m_bInRecalcLayout = FALSE;
    CView* m_pViewActive = nullptr;
};
