#include "classlib/Controls.h"

#include <vector>

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

namespace {

// The base classes' owner-draw functions only note that they ran: a class that does not override them leaves the
// parent's WM_DRAWITEM ... to the parent.
thread_local bool t_baseOwnerDrawCalled = false;

void NoteBaseOwnerDraw()
{
    t_baseOwnerDrawCalled = true;
}

// Calls one of the control's owner-draw functions; FALSE when it was the base class's (not overridden).
template <class Call> BOOL CallOwnerDraw(Call call)
{
    const bool outer = t_baseOwnerDrawCalled;
    t_baseOwnerDrawCalled = false;
    call();
    const bool handled = !t_baseOwnerDrawCalled;
    t_baseOwnerDrawCalled = outer;
    return handled;
}

}  // namespace

// CStatic
void CStatic::DrawItem(LPDRAWITEMSTRUCT)
{
    NoteBaseOwnerDraw();
}

BOOL CStatic::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    if (message != WM_DRAWITEM || !CallOwnerDraw([&] { DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); }))
        return FALSE;
    *pResult = TRUE;
    return TRUE;
}

// CButton
void CButton::DrawItem(LPDRAWITEMSTRUCT)
{
    NoteBaseOwnerDraw();
}

BOOL CButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    if (message != WM_DRAWITEM || !CallOwnerDraw([&] { DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); }))
        return FALSE;
    *pResult = TRUE;
    return TRUE;
}

// CEdit
BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
}

int CEdit::GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const
{
    // EM_GETLINE reads the buffer's size from its first WORD.
    if (nMaxLength < static_cast<int>(sizeof(WORD)))
    {
        std::vector<char> scratch(sizeof(WORD) + 1);
        int copied = GetLine(nIndex, scratch.data(), static_cast<int>(sizeof(WORD)));
        std::copy(scratch.begin(), scratch.begin() + std::min(copied, nMaxLength), lpszBuffer);
        return std::min(copied, nMaxLength);
    }
    *reinterpret_cast<WORD*>(lpszBuffer) = static_cast<WORD>(std::min(nMaxLength, 0xFFFF));
    return static_cast<int>(SendMessage(EM_GETLINE, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

int CEdit::GetLine(int nIndex, CString& rString) const
{
    int length = LineLength(LineIndex(nIndex));
    int copied = GetLine(nIndex, rString.GetBuffer(std::max(length, 2)), std::max(length, 2));
    rString.ReleaseBuffer(std::min(copied, length));
    return rString.GetLength();
}

void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll)
{
    SetSel(static_cast<int>(static_cast<short>(LOWORD(dwSelection))),
           static_cast<int>(static_cast<short>(HIWORD(dwSelection))), bNoScroll);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
    if (!bNoScroll)
        SendMessage(EM_SCROLLCARET);
}

// CListBox
void CListBox::DrawItem(LPDRAWITEMSTRUCT)
{
    NoteBaseOwnerDraw();
}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT)
{
    NoteBaseOwnerDraw();
}

int CListBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    NoteBaseOwnerDraw();
    return 0;
}

void CListBox::DeleteItem(LPDELETEITEMSTRUCT)
{
    NoteBaseOwnerDraw();
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    int length = GetTextLen(nIndex);
    if (length == LB_ERR)
    {
        rString.Empty();
        return;
    }
    GetText(nIndex, rString.GetBuffer(length));
    rString.ReleaseBuffer(length);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    DWORD result = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
    bOutside = HIWORD(result) != 0;
    return LOWORD(result);
}

namespace {

// The list and combo boxes share the owner-draw messages; Control is CListBox or CComboBox.
template <class Control> BOOL NotifyOwnerDrawList(Control& control, UINT message, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = TRUE;
    BOOL handled = FALSE;
    switch (message)
    {
    case WM_DRAWITEM:
        handled = CallOwnerDraw([&] { control.DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); });
        break;
    case WM_MEASUREITEM:
        handled = CallOwnerDraw([&] { control.MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); });
        break;
    case WM_COMPAREITEM:
        handled = CallOwnerDraw([&] { result = control.CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)); });
        break;
    case WM_DELETEITEM:
        handled = CallOwnerDraw([&] { control.DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); });
        break;
    default:
        return FALSE;
    }
    if (handled)
        *pResult = result;
    return handled;
}

}  // namespace

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return CWnd::OnChildNotify(message, wParam, lParam, pResult) ||
           NotifyOwnerDrawList(*this, message, lParam, pResult);
}

// CComboBox
void CComboBox::DrawItem(LPDRAWITEMSTRUCT)
{
    NoteBaseOwnerDraw();
}

void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT)
{
    NoteBaseOwnerDraw();
}

int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    NoteBaseOwnerDraw();
    return 0;
}

void CComboBox::DeleteItem(LPDELETEITEMSTRUCT)
{
    NoteBaseOwnerDraw();
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int length = GetLBTextLen(nIndex);
    if (length == CB_ERR)
    {
        rString.Empty();
        return;
    }
    GetLBText(nIndex, rString.GetBuffer(length));
    rString.ReleaseBuffer(length);
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return CWnd::OnChildNotify(message, wParam, lParam, pResult) ||
           NotifyOwnerDrawList(*this, message, lParam, pResult);
}

// CScrollBar
BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("SCROLLBAR", nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask) const
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}

int CScrollBar::GetScrollLimit() const
{
    SCROLLINFO info{};
    if (!GetScrollInfo(&info, SIF_RANGE | SIF_PAGE))
        return 0;
    return info.nMax - std::max(static_cast<int>(info.nPage) - 1, 0);
}

// CProgressCtrl
BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(PROGRESS_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    PBRANGE range{};
    SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    nLower = range.iLow;
    nUpper = range.iHigh;
}
