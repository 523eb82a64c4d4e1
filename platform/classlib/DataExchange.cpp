#include "classlib/DataExchange.h"

#include "classlib/Dialog.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

// The texts the user sees when a field does not hold what it should.
const char kPromptInteger[] = "Please enter an integer.";
const char kPromptUnsigned[] = "Please enter a positive integer.";
const char kPromptNumber[] = "Please enter a number.";
const char kPromptMaxChars[] = "Please enter no more than %d characters.";
const char kPromptIntRange[] = "Please enter an integer between %d and %d.";
const char kPromptUIntRange[] = "Please enter an integer between %u and %u.";

bool IsBlank(const char* p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
    return *p == '\0';
}

// Reads the whole text as a number of type T, as strtol and friends do; false when anything else is left.
template <class T> bool ParseSigned(const CString& text, T& value)
{
    const char* begin = text;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(begin, &end, 10);
    if (end == begin || !IsBlank(end) || errno == ERANGE)
        return false;
    if (parsed < static_cast<long long>(std::numeric_limits<T>::min()) ||
        parsed > static_cast<long long>(std::numeric_limits<T>::max()))
        return false;
    value = static_cast<T>(parsed);
    return true;
}

template <class T> bool ParseUnsigned(const CString& text, T& value)
{
    const char* begin = text;
    while (*begin == ' ' || *begin == '\t')
        ++begin;
    if (*begin == '-')
        return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long parsed = std::strtoull(begin, &end, 10);
    if (end == begin || !IsBlank(end) || errno == ERANGE || parsed > std::numeric_limits<T>::max())
        return false;
    value = static_cast<T>(parsed);
    return true;
}

void FailWithMessage(CDataExchange* pDX, const char* text)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
}

CString ControlText(HWND hWndCtrl)
{
    CString text;
    CWnd::FromHandle(hWndCtrl)->GetWindowText(text);
    return text;
}

template <class T> void ExchangeSigned(CDataExchange* pDX, int nIDC, T& value, const char* format)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        if (!ParseSigned(ControlText(hWndCtrl), value))
            FailWithMessage(pDX, kPromptInteger);
    }
    else
    {
        CString text;
        text.Format(format, value);
        ::SetWindowTextA(hWndCtrl, text);
    }
}

template <class T> void ExchangeUnsigned(CDataExchange* pDX, int nIDC, T& value, const char* format)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        if (!ParseUnsigned(ControlText(hWndCtrl), value))
            FailWithMessage(pDX, kPromptUnsigned);
    }
    else
    {
        CString text;
        text.Format(format, value);
        ::SetWindowTextA(hWndCtrl, text);
    }
}

bool IsRadioButton(HWND hWnd)
{
    return (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    ASSERT(hWndCtrl != nullptr);
    if (!hWndCtrl)
    {
        TRACE("CDataExchange: dialog has no control %d\n", nIDC);
        Fail();
    }
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (!m_bSaveAndValidate)
    {
        TRACE("CDataExchange: filling control %d failed\n", m_idLastControl);
    }
    else if (HWND hWndLast = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), m_idLastControl))
    {
        // Put the user where the bad value is, with the text selected for retyping.
        if (m_pDlgWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
            static_cast<CDialog*>(m_pDlgWnd)->GotoDlgCtrl(CWnd::FromHandle(hWndLast));
        else
            ::SetFocus(hWndLast);
        if (m_bEditLastControl)
            ::SendMessageA(hWndLast, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    auto& state = osm_classlib_detail::GetThreadState();
    const HWND outerLockout = state.hLockoutNotifyWindow;
    state.hLockoutNotifyWindow = m_hWnd;
    CDataExchange dx(this, bSaveAndValidate);
    BOOL ok = FALSE;
    try
    {
        DoDataExchange(&dx);
        ok = TRUE;
    }
    catch (const CUserException&)
    {
        // Fail has told the user and moved the focus.
    }
    state.hLockoutNotifyWindow = outerLockout;
    return ok;
}

void CWnd::DoDataExchange(CDataExchange*) {}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(hWndCtrl);
    else
        ::SetWindowTextA(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeSigned(pDX, nIDC, value, "%d");
}
void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    ExchangeSigned(pDX, nIDC, value, "%ld");
}
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeUnsigned(pDX, nIDC, value, "%u");
}
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value)
{
    ExchangeUnsigned(pDX, nIDC, value, "%lu");
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        CString text = ControlText(hWndCtrl);
        const char* begin = text;
        char* end = nullptr;
        double parsed = std::strtod(begin, &end);
        if (end == begin || !IsBlank(end))
            FailWithMessage(pDX, kPromptNumber);
        value = parsed;
    }
    else
    {
        CString text;
        text.Format("%.15g", value);
        ::SetWindowTextA(hWndCtrl, text);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from this button to the next window that starts a group.
    int index = 0;
    for (HWND hWnd = hWndCtrl; hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        if (hWnd != hWndCtrl && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP))
            break;
        if (!IsRadioButton(hWnd))
            continue;
        if (pDX->m_bSaveAndValidate)
        {
            if (::SendMessageA(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        }
        else
        {
            ::SendMessageA(hWnd, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
    {
        TRACE("DDX_Control: control %d already has an object of its own\n", nIDC);
        pDX->Fail();
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        value = ControlText(hWndCtrl);
        return;
    }
    // Select the matching item when there is one, and show the text in any case (editable combo boxes).
    if (::SendMessageA(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(value.GetString())) == CB_ERR)
        ::SetWindowTextA(hWndCtrl, value);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        int selected = static_cast<int>(::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0));
        value.Empty();
        if (selected != LB_ERR)
        {
            int length = static_cast<int>(::SendMessageA(hWndCtrl, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0));
            ::SendMessageA(hWndCtrl, LB_GETTEXT, static_cast<WPARAM>(selected),
                           reinterpret_cast<LPARAM>(value.GetBuffer(length)));
            value.ReleaseBuffer(length);
        }
    }
    else
    {
        ::SendMessageA(hWndCtrl, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate)
    {
        if (value.GetLength() > nChars)
        {
            CString prompt;
            prompt.Format(kPromptMaxChars, nChars);
            FailWithMessage(pDX, prompt);
        }
    }
    else if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl)
    {
        ::SendDlgItemMessageA(pDX->m_pDlgWnd->GetSafeHwnd(), pDX->m_idLastControl, EM_LIMITTEXT,
                              static_cast<WPARAM>(nChars), 0);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
    {
        CString prompt;
        prompt.Format(kPromptIntRange, minVal, maxVal);
        FailWithMessage(pDX, prompt);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
    {
        CString prompt;
        prompt.Format(kPromptUIntRange, minVal, maxVal);
        FailWithMessage(pDX, prompt);
    }
}
