// CToolTipCtrl owns a tooltip window. Tools are windows (by default) or rectangles of a window (a non-zero tool id).
// Mouse messages reach the tooltip through RelayEvent, which a window calls from PreTranslateMessage; the library
// offers PreTranslateMessage to windows inside modal dialogs too, so this works in dialogs run with DoModal.
//
//   m_tip.Create(this);
//   m_tip.AddTool(&m_editKey, "Five groups of five characters");
//   BOOL CKeyDlg::PreTranslateMessage(MSG* pMsg) { m_tip.RelayEvent(pMsg); return CDialog::PreTranslateMessage(pMsg); }
#pragma once

#include "classlib/Wnd.h"

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // lpszText may be LPSTR_TEXTCALLBACK (the owner answers TTN_GETDISPINFO).
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    BOOL GetToolInfo(TOOLINFOA& toolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(TOOLINFOA* pToolInfo) { SendMessage(TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(pToolInfo)); }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }

    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    void Pop() { SendMessage(TTM_POP); }
    void Update() { SendMessage(TTM_UPDATE); }
    void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay)); }
    void SetDelayTime(DWORD dwDuration, int iTime) { SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0)); }
    int GetDelayTime(DWORD dwDuration) const { return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration)); }
    int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
    int GetMaxTipWidth() const { return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH)); }
    void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
    void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
    void SetMargin(LPRECT lprc) { SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(lprc)); }
    BOOL SetTitle(UINT uIcon, LPCSTR lpstrTitle)
    {
        return static_cast<BOOL>(SendMessage(TTM_SETTITLEA, uIcon, reinterpret_cast<LPARAM>(lpstrTitle)));
    }

protected:
    // For the library's own use: the tool's identity (window or window + id) in a TOOLINFO of the right size.
    static void FillInToolInfo(TOOLINFOA& toolInfo, CWnd* pWnd, UINT_PTR nIDTool);
};
