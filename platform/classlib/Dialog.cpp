#include "classlib/Dialog.h"

#include "classlib/CallbackGuard.h"
#include "classlib/FrameMessages.h"
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
    m_bModalEnded = false;
    m_nModalResult = -1;
    // The owner waits while the dialog runs, as under the system's dialog box.
    const bool disabledOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (disabledOwner)
        ::EnableWindow(hWndOwner, FALSE);
    INT_PTR result = -1;
    {
        osm_classlib_detail::ModalLoopScope modal;
        osm_classlib_detail::HookWindowCreate(this);
        HWND hWnd =
            ::CreateDialogIndirectParamA(hInst, lpTemplate, hWndOwner, &AfxDlgProc, reinterpret_cast<LPARAM>(this));
        osm_classlib_detail::UnhookWindowCreate();
        if (hWnd && m_hWnd == hWnd)
        {
            result = RunModalLoop(hWndOwner);
            DestroyWindow();
        }
        else if (hWnd)
            ::DestroyWindow(hWnd);
    }
    m_bModal = wasModal;
    if (disabledOwner && ::IsWindow(hWndOwner))
        ::EnableWindow(hWndOwner, TRUE);
    // Leaving the loop leaves focus nowhere when the owner was disabled: give it back to the owner.
    if (hWndOwner && ::IsWindow(hWndOwner) && ::GetActiveWindow() == nullptr)
        ::SetActiveWindow(hWndOwner);
    return result;
}

namespace {

// Whether a message may have changed what the dialog shows, so that idle updates run again after it: not a paint,
// not the caret's blink, not a mouse move that did not move.
class IdleMessageFilter
{
public:
    bool Kicks(const MSG& msg)
    {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE)
        {
            const bool same = msg.message == m_lastMove && msg.pt.x == m_lastPoint.x && msg.pt.y == m_lastPoint.y;
            m_lastMove = msg.message;
            m_lastPoint = msg.pt;
            return !same;
        }
        const UINT kSystemTimer = 0x0118;
        return msg.message != WM_PAINT && msg.message != kSystemTimer;
    }

private:
    UINT m_lastMove = 0;
    POINT m_lastPoint{-1, -1};
};

}  // namespace

INT_PTR CDialog::RunModalLoop(HWND hWndOwner)
{
    bool idle = true;
    LONG idleCount = 0;
    bool shown = (GetStyle() & WS_VISIBLE) != 0;
    IdleMessageFilter filter;
    MSG msg{};
    while (!m_bModalEnded && ::IsWindow(m_hWnd))
    {
        // Each time the queue runs dry the dialog gets its idle turns: WM_KICKIDLE (wParam MSGF_DIALOGBOX, lParam
        // the turn) until it answers 0, so it can update its controls' command states.
        while (idle && !m_bModalEnded && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (!shown)
            {
                ShowWindow(SW_SHOWNORMAL);
                shown = true;
            }
            if (hWndOwner && idleCount == 0 && !(GetStyle() & DS_NOIDLEMSG))
                ::SendMessageA(hWndOwner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
            if (!::IsWindow(m_hWnd) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
                idle = false;
        }
        if (m_bModalEnded || !::IsWindow(m_hWnd))
            break;
        if (!::GetMessageA(&msg, nullptr, 0, 0))
        {
            // The application is quitting: its own loop must see the quit too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!shown && msg.message == WM_TIMER)
        {
            ShowWindow(SW_SHOWNORMAL);
            shown = true;
        }
        if (!::IsDialogMessageA(m_hWnd, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (filter.Kicks(msg))
        {
            idle = true;
            idleCount = 0;
        }
    }
    return m_nModalResult;
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
    m_nModalResult = nResult;
    m_bModalEnded = true;
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
