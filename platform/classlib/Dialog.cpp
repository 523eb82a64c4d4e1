#include "classlib/Dialog.h"

#include "classlib/CallbackGuard.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM /*wParam*/, LPARAM lParam)
{
    if (message != WM_INITDIALOG || CWnd::FromHandlePermanent(hWnd))
        return FALSE;
    auto* pDialog = reinterpret_cast<CDialog*>(lParam);
    if (!pDialog || pDialog->m_hWnd)
        return FALSE;
    pDialog->SubclassWindow(hWnd);
    // The dialog manager called us: a failing OnInitDialog is reported here and leaves the focus alone.
    return osm_classlib_detail::GuardCallback("OnInitDialog", INT_PTR{FALSE},
                                              [pDialog]() -> INT_PTR { return pDialog->OnInitDialog(); });
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
}

LPCDLGTEMPLATEA CDialog::LoadTemplate(HINSTANCE* phInst) const
{
    *phInst = AfxGetInstanceHandle();
    if (m_lpDialogTemplate)
        return m_lpDialogTemplate;
    if (!m_lpszTemplateName)
        return nullptr;
    HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    if (!hTemplate)
        return nullptr;
    *phInst = hInst;
    return static_cast<LPCDLGTEMPLATEA>(::LockResource(hTemplate));
}

HWND CDialog::OwnerForModal() const
{
    HWND hWndOwner = m_pParentWnd->GetSafeHwnd();
    if (!hWndOwner)
    {
        // Opened from another window of this thread: that window waits for it, as the user expects.
        hWndOwner = ::GetActiveWindow();
        if (!hWndOwner)
        {
            CWnd* pMainWnd = AfxGetMainWnd();
            if (pMainWnd && pMainWnd != this && ::IsWindow(pMainWnd->m_hWnd))
                hWndOwner = pMainWnd->m_hWnd;
        }
    }
    // Dialogs are owned by top-level windows, never by controls.
    return hWndOwner ? ::GetAncestor(hWndOwner, GA_ROOT) : nullptr;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEA lpTemplate = LoadTemplate(&hInst);
    if (!lpTemplate || m_hWnd)
        return -1;
    osm_classlib_detail::EnsureCommonControls();

    HWND hWndOwner = OwnerForModal();
    const bool wasModal = m_bModal;
    m_bModal = true;
    INT_PTR result;
    {
        osm_classlib_detail::ModalLoopScope modal;
        osm_classlib_detail::HookWindowCreate(this);
        result = ::DialogBoxIndirectParamA(hInst, lpTemplate, hWndOwner, &AfxDlgProc, reinterpret_cast<LPARAM>(this));
        osm_classlib_detail::UnhookWindowCreate();
    }
    m_bModal = wasModal;
    // The system's loop leaves focus nowhere when the owner was disabled: give it back to the owner.
    if (hWndOwner && ::IsWindow(hWndOwner) && ::GetActiveWindow() == nullptr)
        ::SetActiveWindow(hWndOwner);
    return result;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

BOOL CDialog::CreateFromTemplate(LPCDLGTEMPLATEA lpTemplate, HINSTANCE hInst, CWnd* pParentWnd)
{
    if (!lpTemplate || m_hWnd)
        return FALSE;
    osm_classlib_detail::EnsureCommonControls();
    m_pParentWnd = pParentWnd;
    osm_classlib_detail::HookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd->GetSafeHwnd(), &AfxDlgProc,
                                             reinterpret_cast<LPARAM>(this));
    osm_classlib_detail::UnhookWindowCreate();
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEA lpTemplate = LoadTemplate(&hInst);
    return CreateFromTemplate(lpTemplate, hInst, pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd)
{
    return CreateFromTemplate(lpDialogTemplate, AfxGetInstanceHandle(), pParentWnd);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    Default();  // the dialog manager's own part
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE))
    {
        TRACE("CDialog::OnInitDialog: filling the controls failed, ending the dialog\n");
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;  // the failing control has the focus and the user has been told
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // The modal loop runs the dialog keyboard itself; modeless dialogs need it done here.
    if (m_bModal || !m_hWnd)
        return FALSE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), TRUE);
}

void CDialog::NextDlgCtrl() const
{
    SendMessage(WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    SendMessage(WM_NEXTDLGCTL, 1, 0);
}

void CDialog::SetDefID(UINT nID)
{
    SendMessage(DM_SETDEFID, nID);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(SendMessage(DM_GETDEFID));
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    ::MapDialogRect(m_hWnd, lpRect);
}
