// CWnd wraps one window (m_hWnd) and routes its messages through the class's message map.
//
// A CWnd gets its window in one of three ways:
//   - Create/CreateEx: the library binds the object while the window is being created (a CBT hook), so WM_NCCREATE
//     and WM_CREATE already reach the map;
//   - SubclassWindow/SubclassDlgItem (or DDX_Control): an existing window's procedure is replaced by the library's
//     and restored by UnsubclassWindow or when the window is destroyed;
//   - Attach: the object only names the window (for calling members); no messages come through it.
// FromHandle gives a temporary CWnd for any HWND; do not keep it past the current message.
//
// Message flow: the library's window procedure -> WindowProc -> OnWndMsg (the message map, commands, notifications
// and reflection) -> DefWindowProc (the window's original procedure). A handler calls the base class's handler (or
// Default()) to get the window's own behaviour.
//
// Reflection: when a parent gets WM_COMMAND or WM_NOTIFY from a control, its own map is searched first and, if it
// has no entry, the message goes back to the control's ON_CONTROL_REFLECT / ON_NOTIFY_REFLECT entries. For
// WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM and WM_DELETEITEM the control is asked first: its
// ON_WM_CTLCOLOR_REFLECT (when it returns a brush), its owner-draw DrawItem/MeasureItem, or its reflect entries win
// over the parent's handler.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/FrameLayout.h"
#include "classlib/CString.h"
#include "classlib/Geometry.h"

class CScrollBar;
class CFrameWnd;

namespace osm_classlib_detail {
void SetSuperProc(CWnd* pWnd, WNDPROC pfnSuper);
WNDPROC GetSuperProc(const CWnd* pWnd);
}  // namespace osm_classlib_detail

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)

public:
    CWnd() = default;
    // A CWnd still wrapping a window destroys it (derived classes' OnDestroy no longer runs by then).
    ~CWnd() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID, void* pContext = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Called once the object is bound to its window, before the window procedure is replaced.
    virtual void PreSubclassWindow();
    // Called after the last message (WM_NCDESTROY), when the object no longer has a window; heap-allocated
    // windows that own themselves delete this here.
    virtual void PostNcDestroy();
    // Offered every message before it is dispatched, in the application's loop and in modal loops (dialogs, message
    // boxes), from the target window up through its parents. TRUE eats the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A message the parent sent back to this control; TRUE when the control handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void DoDataExchange(CDataExchange* pDX);
    // The tool at point (client coordinates) for a tooltip: its id, with pTI filled for it; -1 when no tool lies
    // there (the default). Windows that show tips for parts of themselves answer here.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    HWND GetSafeHwnd() const;  // null for a null CWnd pointer too
    operator HWND() const { return GetSafeHwnd(); }
    bool operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
    bool operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }

    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y, int nWidth,
                  int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);

    // Passes the message being handled on to DefWindowProc: what a handler calls for the default behaviour.
    LRESULT Default();
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const;
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE) const;
    // The message the innermost of this thread's window procedures is handling (time and cursor position as the
    // system reports them for the last message taken from the queue).
    static const MSG* PASCAL GetCurrentMessage();
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // Text, font, icon, menu.
    void SetWindowText(LPCSTR lpszString);
    int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // Styles and state.
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL IsChild(const CWnd* pWnd) const;
    void SetRedraw(BOOL bRedraw = TRUE);

    // Family.
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    // The first window up the parent chain (this one included) that is not a child window: the frame of a docked
    // bar, a popup itself.
    CWnd* GetParentOwner() const;
    // The nearest frame window among the parents, or null.
    CFrameWnd* GetParentFrame() const;
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const;
    CWnd* GetTopWindow() const;
    CWnd* GetLastActivePopup() const;
    CWnd* ChildWindowFromPoint(POINT point) const;
    static CWnd* PASCAL GetFocus();
    CWnd* SetFocus();
    static CWnd* PASCAL GetActiveWindow();
    CWnd* SetActiveWindow();
    static CWnd* PASCAL GetForegroundWindow();
    BOOL SetForegroundWindow();
    void BringWindowToTop();
    static CWnd* PASCAL GetCapture();
    CWnd* SetCapture();
    static CWnd* PASCAL GetDesktopWindow();
    static CWnd* PASCAL WindowFromPoint(POINT point);
    static CWnd* PASCAL FindWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName);

    // Dialog items.
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    void SetDlgItemText(int nID, LPCSTR lpszString);
    int GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    // Updates every child control through the command-UI route against pTarget (CmdUI.h); with bDisableIfNoHndler,
    // buttons that run a command nobody handles go grey.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // Geometry and painting.
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw);
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    void DragAcceptFiles(BOOL bAccept = TRUE);
    // Records whether the window wants tooltips for its parts. The library keeps the flag only: windows that show
    // tips (the command bars) read it and make their own tooltip windows. Returns TRUE.
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    BOOL IsToolTipsEnabled() const { return m_bEnableToolTips; }
    // Shares the client area (or lpRectClient) between the children with ids nIDFirst..nIDLast, through
    // WM_SIZEPARENT, and gives the child nIDLeftOver what is left (FrameLayout.h; nFlag reposDefault, reposQuery or
    // reposExtra).
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);

    // Walks pMsg's target window and its parents up to hWndStop (or the top-level window), offering the message to
    // each one's PreTranslateMessage; TRUE when one of them ate it.
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    HWND m_hWnd = nullptr;

    // Z-order positions for SetWindowPos: SetWindowPos(&CWnd::wndTopMost, ...).
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

protected:
    // ---- Default handlers: what the ON_WM_* entries call; each passes the message on to the window ----------------
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnMouseHover(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnClose();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnCancelMode();
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnTimeChange();

    // ---- For the library's own use -----------------------------------------------------------------------------
    // Looks the message up in this window's reflect entries (see the header comment).
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Sends a parent's message back to the control hWndChild when that control has a CWnd of its own.
    BOOL ReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    WNDPROC m_pfnSuper = nullptr;  // the window's procedure before the library's replaced it
    BOOL m_bEnableToolTips = FALSE;

    friend void osm_classlib_detail::SetSuperProc(CWnd*, WNDPROC);
    friend WNDPROC osm_classlib_detail::GetSuperProc(const CWnd*);

    DECLARE_MESSAGE_MAP()

private:
    explicit CWnd(HWND hWndSpecial) : m_hWnd(hWndSpecial) {}
    BOOL OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectFirst(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    void InstallWindowProc();
};

// The window procedure of every window the library has subclassed.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class whose windows the library subclasses on creation, and returns its name.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                           HICON hIcon = nullptr);
// Registers lpWndClass unless a class of that name already exists in its module.
BOOL AfxRegisterClass(WNDCLASSA* lpWndClass);

namespace osm_classlib_detail {
// Arms the creation hook: the next window created on this thread is bound to pWnd before its first message.
void HookWindowCreate(CWnd* pWnd);
// Disarms it; returns whether the window was bound.
bool UnhookWindowCreate();
// Runs before each message a modal loop takes: frees temporary wrappers of finished messages, then offers the
// message to PreTranslateMessage. TRUE eats it.
BOOL PumpPreTranslate(MSG* pMsg);
}  // namespace osm_classlib_detail

#include "classlib/WndMessageMap.h"
