#include "classlib/PropertySheet.h"

#include "classlib/CallbackGuard.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"

#include <memory>

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// ---- CPropertyPage -------------------------------------------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate), m_nIDTemplate(nIDTemplate)
{
    if (nIDCaption)
        m_caption.LoadString(nIDCaption);
}

BOOL CPropertyPage::OnInitDialog()
{
    // A page that cannot fill its controls stays up: ending it would leave the sheet with a hole.
    UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::PreTranslateMessage(MSG*)
{
    return FALSE;
}

INT_PTR CALLBACK CPropertyPage::PageDialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG || CWnd::FromHandlePermanent(hWnd))
        return FALSE;
    const auto* systemPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    auto* page = systemPage ? reinterpret_cast<CPropertyPage*>(systemPage->lParam) : nullptr;
    if (!page || page->m_hWnd)
        return FALSE;
    page->SubclassWindow(hWnd);
    return osm_classlib_detail::GuardCallback("OnInitDialog", INT_PTR{FALSE},
                                              [page]() -> INT_PTR { return page->OnInitDialog(); });
}

HPROPSHEETPAGE CPropertyPage::CreateSystemPage()
{
    LPCSTR name = MAKEINTRESOURCEA(m_nIDTemplate);
    HINSTANCE instance = AfxFindResourceHandle(name, RT_DIALOG);
    if (!::FindResourceA(instance, name, RT_DIALOG))
        return nullptr;
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof(page);
    page.hInstance = instance;
    page.pszTemplate = name;
    page.pfnDlgProc = &PageDialogProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    if (!m_caption.IsEmpty())
    {
        page.dwFlags |= PSP_USETITLE;
        page.pszTitle = m_caption;
    }
    return ::CreatePropertySheetPageA(&page);
}

// ---- CPropertySheet ------------------------------------------------------------------------------------------------

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd)
    : m_caption(pszCaption ? pszCaption : ""), m_pParentWnd(pParentWnd)
{}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage)
        return;
    pPage->m_pSheet = this;
    m_pages.push_back(pPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetActiveIndex() const
{
    HWND tab = GetTabControl();
    return tab ? static_cast<int>(::SendMessageA(tab, TCM_GETCURSEL, 0, 0)) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (!m_hWnd)
        return nullptr;
    HWND current = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
    for (CPropertyPage* page : m_pages)
        if (page->m_hWnd && page->m_hWnd == current)
            return page;
    return nullptr;
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (!m_hWnd || !GetPage(nPage))
        return FALSE;
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(nPage)));
}

HWND CPropertySheet::GetTabControl() const
{
    return m_hWnd ? reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL)) : nullptr;
}

void CPropertySheet::SetTitle(LPCSTR pszCaption)
{
    m_caption = pszCaption ? pszCaption : "";
    if (m_hWnd)
        SendMessage(PSM_SETTITLEA, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(m_caption)));
}

BOOL CPropertySheet::Create(CWnd* pParentWnd)
{
    if (m_hWnd || m_pages.empty())
        return FALSE;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    osm_classlib_detail::EnsureCommonControls();

    std::unique_ptr<HPROPSHEETPAGE[]> systemPages(new HPROPSHEETPAGE[m_pages.size()]);
    UINT count = 0;
    for (CPropertyPage* page : m_pages)
    {
        HPROPSHEETPAGE made = page->CreateSystemPage();
        if (!made)
        {
            TRACE("CPropertySheet::Create: the template of page %u is missing\n", page->m_nIDTemplate);
            for (UINT i = 0; i < count; ++i)
                ::DestroyPropertySheetPage(systemPages[i]);
            return FALSE;
        }
        systemPages[count++] = made;
    }

    HWND owner = m_pParentWnd->GetSafeHwnd();
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof(header);
    header.dwFlags = m_dwSheetFlags | PSH_MODELESS;
    header.hwndParent = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    header.hInstance = AfxGetInstanceHandle();
    header.pszCaption = m_caption;
    header.nPages = count;
    header.phpage = systemPages.get();

    // The system makes the sheet's window first, then its pages: the creation hook binds only the sheet.
    osm_classlib_detail::HookWindowCreate(this);
    const INT_PTR made = ::PropertySheetA(&header);
    osm_classlib_detail::UnhookWindowCreate();
    if (made == 0 || made == -1 || reinterpret_cast<HWND>(made) != m_hWnd)
    {
        TRACE("CPropertySheet::Create: the system refused the sheet\n");
        if (m_hWnd && ::IsWindow(m_hWnd))
            DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = m_hWnd;
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    // A modeless system sheet answers OK, Cancel and its close box by dropping its page and waiting for its owner.
    const bool mayEnd = message == WM_COMMAND || message == WM_SYSCOMMAND || message == WM_CLOSE;
    if (mayEnd && ::IsWindow(window) && CWnd::FromHandlePermanent(window) == this &&
        !::SendMessageA(window, PSM_GETCURRENTPAGEHWND, 0, 0))
        DestroyWindow();
    return result;
}
