// CWinApp is the program's application object: exactly one, usually a global of a class derived from it. The
// library's entry routine finds it, calls InitInstance and then either runs the message loop (InitInstance returned
// TRUE) or goes straight to ExitInstance (FALSE: the common shape for a program whose main window is a modal dialog).
//
//   class CWizardApp : public CWinApp { public: BOOL InitInstance() override; };
//   CWizardApp theApp;
//   BOOL CWizardApp::InitInstance()
//   {
//       CSelectOsDlg dlg;
//       m_pMainWnd = &dlg;
//       dlg.DoModal();
//       return FALSE;
//   }
//
// The entry: the library supplies WinMain (from its own object file, so a program that writes its own WinMain keeps
// it); a program with its own WinMain calls ClassLibWinMain from it.
//
// The application object is also the main thread's CWinThread (AfxGetThread on that thread): it holds the thread's id
// and a handle to it, and never deletes itself.
#pragma once

#include "classlib/DocTemplate.h"
#include "classlib/List.h"
#include "classlib/WinThread.h"
#include "classlib/Wnd.h"

class CRecentFileList;

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)

public:
    // The application's name (the caption of its message boxes); defaults to the executable's file title.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    // Returns the program's exit code.
    virtual int ExitInstance();
    // The message loop: returns ExitInstance's value once WM_QUIT arrives.
    virtual int Run();
    // The base offers the message to the target window and its parents (CWnd::PreTranslateMessage).
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
    HICON LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIcon(nullptr, lpszIconName); }
    HCURSOR LoadCursor(LPCSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursor(nullptr, lpszCursorName); }
    // Kept for programs written for systems with separate 3-D control libraries: the look is always 3-D now.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }
    void SetDialogBkColor(COLORREF = RGB(192, 192, 192), COLORREF = RGB(0, 0, 0)) {}
    BOOL PumpMessage();
    bool IsRunningMessageLoop() const { return m_bRunning; }
    // The document templates, in the order added; the application deletes them with itself.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    // The template at pos; pos moves on (null after the last).
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;

    HINSTANCE m_hInstance = nullptr;
    HINSTANCE m_hPrevInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;
    MSG m_msgCur{};
    // The files opened last, for the recent-file menu entries; null when the program keeps none. Owned: deleted
    // with the application.
    CRecentFileList* m_pRecentFileList = nullptr;

private:
    CPtrList m_templates;
    CString m_appName;
    CString m_exeName;
    bool m_bRunning = false;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// A message box owned by the active window (or the main window), with the application's name as caption.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

// The library's entry routine: call it from WinMain when the program writes its own.
int ClassLibWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
