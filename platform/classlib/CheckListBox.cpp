#include "classlib/CheckListBox.h"

#include "classlib/DC.h"

#include <windowsx.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    // Without strings the list could not draw the texts; without owner drawing it could not draw the boxes.
    if (!(dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)))
        dwStyle |= LBS_OWNERDRAWFIXED;
    return CListBox::Create(dwStyle | LBS_HASSTRINGS, rect, pParentWnd, nID);
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_states.size()))
        return;
    m_states[static_cast<size_t>(nIndex)].check = nCheck;
    CRect item;
    if (m_hWnd && GetItemRect(nIndex, item) != LB_ERR)
        ::InvalidateRect(m_hWnd, item, FALSE);
}

int CCheckListBox::GetCheck(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_states.size()))
        return BST_UNCHECKED;
    return m_states[static_cast<size_t>(nIndex)].check;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_states.size()))
        return;
    m_states[static_cast<size_t>(nIndex)].enabled = bEnabled;
    CRect item;
    if (m_hWnd && GetItemRect(nIndex, item) != LB_ERR)
        ::InvalidateRect(m_hWnd, item, FALSE);
}

BOOL CCheckListBox::IsEnabled(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_states.size()))
        return FALSE;
    return m_states[static_cast<size_t>(nIndex)].enabled;
}

int CCheckListBox::CalcMinimumItemHeight()
{
    int textHeight = 0;
    if (m_hWnd)
    {
        HDC dc = ::GetDC(m_hWnd);
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(dc, &metrics);
        textHeight = metrics.tmHeight;
        if (old)
            ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
    }
    return std::max(textHeight, static_cast<int>(m_checkSize.cy) + 2);
}

CRect CCheckListBox::ProposedCheckBoxRect(const CRect& item) const
{
    const int top = item.top + std::max(0, (item.Height() - static_cast<int>(m_checkSize.cy)) / 2) + 1;
    return CRect(CPoint(item.left + 1, top), m_checkSize);
}

CRect CCheckListBox::OnGetCheckPosition(CRect, CRect rectCheckBox)
{
    return rectCheckBox;
}

CRect CCheckListBox::GetCheckBoxRect(int nIndex)
{
    CRect item;
    if (!m_hWnd || GetItemRect(nIndex, item) == LB_ERR)
        return CRect();
    return OnGetCheckPosition(item, ProposedCheckBoxRect(item));
}

void CCheckListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    if ((GetStyle() & LBS_OWNERDRAWFIXED) && GetCount() >= 0)
        SetItemHeight(0, static_cast<UINT>(CalcMinimumItemHeight()));
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(CalcMinimumItemHeight());
}

void CCheckListBox::PreDrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    DRAWITEMSTRUCT draw = *lpDrawItemStruct;
    const int index = static_cast<int>(draw.itemID);
    if (index >= 0 && (draw.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)))
    {
        CRect item(draw.rcItem);
        CRect box = OnGetCheckPosition(item, ProposedCheckBoxRect(item));
        UINT state = DFCS_BUTTONCHECK;
        if (GetCheck(index) == BST_CHECKED)
            state |= DFCS_CHECKED;
        else if (GetCheck(index) == BST_INDETERMINATE)
            state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        if (!IsEnabled(index) || !IsWindowEnabled())
            state |= DFCS_INACTIVE;
        ::DrawFrameControl(draw.hDC, box, DFC_BUTTON, state);
    }
    draw.rcItem.left += m_checkSize.cx + 3;
    DrawItem(&draw);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const int index = static_cast<int>(lpDrawItemStruct->itemID);
    HDC dc = lpDrawItemStruct->hDC;
    CRect item(lpDrawItemStruct->rcItem);
    if (index < 0)
    {
        if (lpDrawItemStruct->itemState & ODS_FOCUS)
            ::DrawFocusRect(dc, item);
        return;
    }
    const BOOL disabled = !IsWindowEnabled() || !IsEnabled(index);
    const BOOL selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    COLORREF text = disabled ? RGB(0x80, 0x80, 0x80) : ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF back = ::GetSysColor(COLOR_WINDOW);
    if (selected && !disabled)
    {
        text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        back = ::GetSysColor(COLOR_HIGHLIGHT);
    }
    const COLORREF oldText = ::SetTextColor(dc, text);
    const COLORREF oldBack = ::SetBkColor(dc, back);

    CString caption;
    GetText(index, caption);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    const int y = item.top + std::max(0, (item.Height() - static_cast<int>(metrics.tmHeight)) / 2);
    ::ExtTextOutA(dc, item.left + 2, y, ETO_OPAQUE, item, caption, static_cast<UINT>(caption.GetLength()), nullptr);

    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    if (lpDrawItemStruct->itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, item);
}

BOOL CCheckListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM)
    {
        PreDrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }
    return CListBox::OnChildNotify(message, wParam, lParam, pResult);
}

void CCheckListBox::ToggleCheck(int nIndex)
{
    if (!IsEnabled(nIndex))
        return;
    SetCheck(nIndex, GetCheck(nIndex) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), CLBN_CHKCHANGE),
                       reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    {
        const LRESULT index = CListBox::WindowProc(message, wParam, lParam);
        if (index >= 0 && index <= static_cast<LRESULT>(m_states.size()))
            m_states.insert(m_states.begin() + index, ItemState());
        return index;
    }
    case LB_DELETESTRING:
    {
        const LRESULT left = CListBox::WindowProc(message, wParam, lParam);
        if (left != LB_ERR && wParam < m_states.size())
            m_states.erase(m_states.begin() + static_cast<std::ptrdiff_t>(wParam));
        return left;
    }
    case LB_RESETCONTENT:
        m_states.clear();
        return CListBox::WindowProc(message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    {
        const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        BOOL outside = TRUE;
        const int index = static_cast<int>(ItemFromPoint(point, outside));
        HWND window = m_hWnd;
        const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        if (::IsWindow(window) && !outside && GetCheckBoxRect(index).PtInRect(point))
            ToggleCheck(index);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
        {
            const int index = GetCurSel();
            if (index >= 0)
                ToggleCheck(index);
            return 0;
        }
        break;
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
