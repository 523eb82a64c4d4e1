// CPropertySheet and CPropertyPage: a tabbed dialog over the system's property sheet, each page a dialog template.
//
//   class CColoursPage : public CPropertyPage
//   {
//   public:
//       CColoursPage() : CPropertyPage(IDD_COLOURS) {}
//   protected:
//       void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_LIST, m_list); }
//       BOOL OnInitDialog() override;     // call CPropertyPage::OnInitDialog() first: it binds the controls
//       CListBox m_list;
//   };
//
//   CPropertySheet* sheet = new CMySheet("Options");   // deletes itself in PostNcDestroy
//   sheet->AddPage(&m_colours);                         // pages outlive the sheet's window
//   sheet->Create(frame);                               // modeless, owned by the frame
//
// The sheet is modeless: its window stays until OK, Cancel or the close box is used (the sheet then destroys its
// window) or DestroyWindow is called. A page's window is made when its tab is first shown; its OnInitDialog runs
// then. The application's loop offers messages to the sheet (PreTranslateMessage), which runs the sheet keyboard:
// Tab between controls, Ctrl+Tab between pages, Enter and Esc.
#pragma once

#include "classlib/CString.h"
#include "classlib/Dialog.h"

#include <prsht.h>

#include <vector>

class CPropertySheet;

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)

public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    // ---- Override these ----------------------------------------------------------------------------------------
    // The base fills the controls (UpdateData(FALSE)) and returns TRUE.
    BOOL OnInitDialog() override;
    // The sheet runs the keyboard of its pages.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The sheet the page was added to; null until then.
    CPropertySheet* GetSheet() const { return m_pSheet; }
    UINT GetTemplateId() const { return m_nIDTemplate; }

protected:
    // ---- For the library's own use -----------------------------------------------------------------------------
    // Pages end with their sheet, never on their own.
    void OnOK() override {}
    void OnCancel() override {}

private:
    friend class CPropertySheet;
    // A system page for this object; null when the template is missing.
    HPROPSHEETPAGE CreateSystemPage();
    static INT_PTR CALLBACK PageDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CString m_caption;
    CPropertySheet* m_pSheet = nullptr;
};

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)

public:
    explicit CPropertySheet(LPCSTR pszCaption = nullptr, CWnd* pParentWnd = nullptr);

    // ---- Override these ----------------------------------------------------------------------------------------
    // The modeless sheet window, owned by the parent's top-level window (null: the constructor's parent), showing
    // the first page. FALSE without pages or when the system refuses.
    virtual BOOL Create(CWnd* pParentWnd = nullptr);
    // The sheet keyboard for messages to the sheet and its pages.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Pages in tab order; add them before Create. The sheet does not own them.
    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    // The page whose tab shows; null without a window.
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    // The sheet's tab control.
    HWND GetTabControl() const;
    void SetTitle(LPCSTR pszCaption);

    // Flags of the system sheet (PSH_*) beside the library's own; set them before Create.
    DWORD m_dwSheetFlags = PSH_NOAPPLYNOW;

protected:
    // ---- For the library's own use -----------------------------------------------------------------------------
    // OK, Cancel and the close box leave the system sheet without a page: the window then goes.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CString m_caption;
    CWnd* m_pParentWnd;
    std::vector<CPropertyPage*> m_pages;
};
