#include "classlib/ToolTipCtrl.h"

#include "classlib/ThreadState.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    osm_classlib_detail::EnsureCommonControls();
    BOOL created = CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), nullptr);
    if (created)
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return created;
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& toolInfo, CWnd* pWnd, UINT_PTR nIDTool)
{
    toolInfo = TOOLINFOA{};
    // The layout up to lParam is what every comctl32 accepts (version 5 rejects the larger size, and the size
    // itself differs between 32 and 64 bits, so it is taken from the structure).
    toolInfo.cbSize = TTTOOLINFOA_V2_SIZE;
    HWND hWnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0)
    {
        HWND hWndParent = ::GetParent(hWnd);
        toolInfo.hwnd = hWndParent ? hWndParent : hWnd;
        toolInfo.uFlags = TTF_IDISHWND;
        toolInfo.uId = reinterpret_cast<UINT_PTR>(hWnd);
    }
    else
    {
        toolInfo.hwnd = hWnd;
        toolInfo.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFOA toolInfo;
    FillInToolInfo(toolInfo, pWnd, nIDTool);
    if (lpRectTool)
        toolInfo.rect = *lpRectTool;
    else if (nIDTool != 0)
        ::GetClientRect(pWnd->GetSafeHwnd(), &toolInfo.rect);
    toolInfo.lpszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&toolInfo)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    return AddTool(pWnd, text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA toolInfo;
    FillInToolInfo(toolInfo, pWnd, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&toolInfo));
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA toolInfo;
    FillInToolInfo(toolInfo, pWnd, nIDTool);
    toolInfo.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&toolInfo));
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    UpdateTipText(text, pWnd, nIDTool);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    // TTM_GETTEXT has no size: give it the most a tooltip holds.
    char text[1024] = {};
    TOOLINFOA toolInfo;
    FillInToolInfo(toolInfo, pWnd, nIDTool);
    toolInfo.lpszText = text;
    SendMessage(TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&toolInfo));
    str = text;
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TOOLINFOA toolInfo;
    FillInToolInfo(toolInfo, pWnd, nIDTool);
    toolInfo.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&toolInfo));
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOA& toolInfo, CWnd* pWnd, UINT_PTR nIDTool) const
{
    FillInToolInfo(toolInfo, pWnd, nIDTool);
    toolInfo.lpszText = nullptr;
    return static_cast<BOOL>(SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&toolInfo)));
}
