// CDialog runs a dialog from a template resource, modal (DoModal) or modeless (Create).
//
//   class CAboutDlg : public CDialog
//   {
//   public:
//       CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
//   protected:
//       void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, m_name); }
//       BOOL OnInitDialog() override;     // call CDialog::OnInitDialog() first: it fills the controls
//       CString m_name;
//   };
//   CAboutDlg dlg; if (dlg.DoModal() == IDOK) ...
//
// DoModal runs the library's own dialog loop, which works like the system's (the owner disabled while it runs, the
// dialog keyboard, a quit passed on) and also gives the dialog its idle turns: each time the queue runs dry it sends
// WM_KICKIDLE (wParam MSGF_DIALOGBOX, lParam the turn from 0) until the dialog answers 0, so a dialog that holds bars
// updates their command states as a frame does. A dialog ends through EndDialog. A message-filter hook, installed while
// any modal loop runs on the thread, offers every message the loop takes to PreTranslateMessage of the target window's
// CWnd and then of its parents up to the dialog, so controls see their keys and a dialog sees its children's; TRUE eats
// the message. Message boxes and nested dialogs run under the same hook.
//
// A dialog without a parent is owned by the thread's active window when there is one (so it disables that window
// while it runs), and is a window of its own otherwise.
#pragma once

#include "classlib/Wnd.h"

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // ---- Override these ----------------------------------------------------------------------------------------
    // Runs the dialog until EndDialog; returns EndDialog's value, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    // The base fills the controls (UpdateData(FALSE)) and returns TRUE: focus the first control.
    virtual BOOL OnInitDialog();
    // The base reads the controls (UpdateData(TRUE)) and, when they are valid, ends the dialog with IDOK.
    virtual void OnOK();
    // The base ends the dialog with IDCANCEL.
    virtual void OnCancel();
    // Modeless dialogs: runs the dialog keyboard (Tab, Enter, Esc, mnemonics) for messages to this dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Modeless creation; the dialog lives until DestroyWindow.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr);
    // DoModal from an in-memory template instead of a resource.
    BOOL InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    BOOL IsModal() const { return m_bModal; }

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    LPCSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    LPCDLGTEMPLATEA m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    // ---- For the library's own use -----------------------------------------------------------------------------
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    LPCDLGTEMPLATEA LoadTemplate(HINSTANCE* phInst) const;
    HWND OwnerForModal() const;
    // Pumps until EndDialog; returns its result.
    INT_PTR RunModalLoop(HWND hWndOwner);

    bool m_bModal = false;
    bool m_bModalEnded = false;
    INT_PTR m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateFromTemplate(LPCDLGTEMPLATEA lpTemplate, HINSTANCE hInst, CWnd* pParentWnd);
};

// The dialog procedure of the library's dialogs: the dialog's CWnd handles its messages, so this only binds a dialog
// the creation hook missed.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
