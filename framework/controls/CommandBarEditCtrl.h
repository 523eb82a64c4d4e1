// COSMCommandBarEditCtrl: the single-line edit window that the edit and combo-box controls place inside a command
// bar. It prefers the rich-edit class in plain-text mode (a plain "EDIT" when no rich-edit library loads), answers
// cut, copy and paste itself (a context menu of the bars, command updates, clipboard messages), lets the editing
// keys reach itself while the bar's keyboard hook would take them, and tracks IME composition:
//
//   COSMCommandBarEditCtrl* edit = new COSMCommandBarEditCtrl;
//   edit->CreateEdit(WS_CHILD | ES_AUTOHSCROLL, bar);  // class of GetRichEditLibrary, else "EDIT"
//   edit->SetEditText("42");                            // the host hears one counted change
//   if (edit->DispatchEditKey(key, lParam)) return 1;   // from a host's OnHookKeyDown
//
// COSMShellAutoComplete gives such a window the shell's auto-complete and keeps the bars open while its
// "Auto-Suggest Dropdown" list shows.
#pragma once

#include "classlib/CString.h"
#include "classlib/Controls.h"
#include "classlib/Geometry.h"
#include "framework/foundation/HookManagerSink.h"

class COSMControl;

// The rich-edit library the edit windows use, loaded once per process on first use (the library stays loaded).
struct OSM_RICHEDIT_LIBRARY
{
    HMODULE module = nullptr;  // null when neither rich-edit library loads
    CString className;         // "RichEdit20A" or "RICHEDIT"
    BOOL version2 = FALSE;     // RICHED20.DLL was loaded
};

class COSMCommandBarEditCtrl : public CEdit
{
    DECLARE_DYNCREATE(COSMCommandBarEditCtrl)

public:
    // The clipboard commands of the context menu and of command updates.
    static constexpr UINT kCommandCopy = 57634;
    static constexpr UINT kCommandCut = 57635;
    static constexpr UINT kCommandPaste = 57637;
    // The context menu's TrackPopupMenu flags: TPM_RETURNCMD, TPM_NONOTIFY and a popup opened from inside tracking.
    static constexpr UINT kContextMenuFlags = 0x181;

    // How the rich-edit library and shlwapi are loaded; tests replace it to take libraries away.
    static HMODULE(WINAPI* s_pfnLoadLibrary)(LPCSTR name);
    // The process's record, a process service loaded on the first call (from any thread, under a lock):
    // RICHED20.DLL ("RichEdit20A"), else RICHED32.DLL ("RICHEDIT").
    static const OSM_RICHEDIT_LIBRARY& GetRichEditLibrary();
    // Forgets the record, so that the next call loads again (tests; not while other threads read the record).
    static void ResetRichEditLibrary();

    COSMCommandBarEditCtrl() = default;
    ~COSMCommandBarEditCtrl() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Shows Cut, Copy and Paste as a popup bar of the control's command bars at the client point; the chosen command
    // runs. FALSE (nothing shown) when the Cut string cannot be loaded.
    virtual BOOL ShowContextMenu(COSMControl* control, CPoint point);
    // Creates the window with the rich-edit class (plain text, change events) or as a plain "EDIT": no title, an
    // empty rectangle, id 0.
    virtual BOOL CreateEdit(DWORD style, CWnd* parent);

    // Cut, copy and paste answer their command-update queries from IsCommandEnabled; nothing else is routed.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    // Paste, cut and copy send WM_PASTE, WM_CUT and WM_COPY to the window.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Empties the window while change notifications are suppressed, then sets the text: the host counts one change.
    void SetEditText(const CString& text);
    void GetEditText(CString& text) const;
    BOOL IsImeComposing() const { return m_imeComposing; }
    // TRUE while SetEditText empties the window: hosts ignore that change.
    BOOL IsChangeSuppressed() const { return m_changeSuppressed; }
    // Paste: writable, enabled and text on the clipboard; copy: a selection; cut: both of copy and paste's first.
    // Any other command is enabled.
    BOOL IsCommandEnabled(UINT id) const;
    // Backspace, keys 33 to 46 and Ctrl with C, V, X or Z go to the window as a WM_KEYDOWN through its dialog-message
    // processing (TRUE); any other key is left (FALSE).
    BOOL DispatchEditKey(UINT key, LPARAM lParam);
    // With it set the window makes its client area fully opaque after painting (on a glass frame).
    void SetOpaquePaint(BOOL opaque) { m_opaquePaint = opaque; }
    BOOL IsOpaquePaint() const { return m_opaquePaint; }
    // The window was made with the rich-edit class (and whether that was version 2).
    BOOL IsRichEdit() const { return m_richEdit; }
    BOOL IsRichEditVersion2() const { return m_richEdit && m_richEditVersion2; }

protected:
    afx_msg LRESULT OnImeStartComposition(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnImeEndComposition(WPARAM wParam, LPARAM lParam);
    afx_msg void OnKillFocus(CWnd* newWindow);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    BOOL m_imeComposing = FALSE;
    BOOL m_opaquePaint = FALSE;
    BOOL m_changeSuppressed = FALSE;
    BOOL m_richEdit = FALSE;
    BOOL m_richEditVersion2 = FALSE;
};

// COSMShellAutoComplete: the shell's auto-complete on an edit window, and a watch over the "Auto-Suggest Dropdown"
// list it shows: while the list shows, the mouse manager counts it as a safe window (clicks in it keep the bars
// open), the edit window hears 0x2872, and the list's navigation keys can be handed to it. One object at a time owns
// the process's call-window-procedure hook that watches for the list:
//
//   auto* complete = new COSMShellAutoComplete;
//   if (FAILED(complete->Attach(edit, SHACF_FILESYSTEM))) delete complete;
//   complete->SetAutoSuggestHook(TRUE);   // while the edit window has the focus
class COSMShellAutoComplete : public COSMHookManagerSink
{
public:
    COSMShellAutoComplete() = default;
    // Removes the hook it owns and forgets the list.
    ~COSMShellAutoComplete() override;

    // Remembers the edit window and calls shlwapi's SHAutoComplete on it (the library is loaded for the call only);
    // E_FAIL when the library or the function is missing.
    HRESULT Attach(HWND edit, DWORD flags);
    // On: installs the calling thread's hook when it has none, registers with the thread's keyboard manager and
    // becomes the hook's owner (each UI thread has a hook of its own). Off: only the owner removes the hook and
    // unregisters. Off always forgets the list.
    void SetAutoSuggestHook(BOOL on);
    // A change adds the new list to the mouse manager's safe windows and removes the old one.
    void SetDropDownWindow(HWND dropDown);
    HWND GetDropDownWindow() const { return m_dropDown; }
    HWND GetEditWindow() const { return m_edit; }
    void HideDropDown();
    // While the list shows: Up, Down, Page Up and Page Down without Alt go to the list (the next sibling of the
    // list's first child) through the list's dialog-message processing; TRUE when passed on.
    BOOL ProcessDropDownKey(UINT key, LPARAM lParam);
    // The keyboard manager's messages: 2 for the wheel while the list shows, else 0.
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // The object that owns the calling thread's hook; null when the thread has none installed.
    static COSMShellAutoComplete* GetHookOwner();
    static BOOL IsHookInstalled();

private:
    static LRESULT AutoSuggestCallWndProc(int code, WPARAM wParam, LPARAM lParam);

    HWND m_dropDown = nullptr;
    HWND m_edit = nullptr;
};
