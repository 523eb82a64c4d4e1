#include "classlib/FrameLayout.h"

#include "classlib/Wnd.h"

#include <vector>

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect)
{
    if (!lpLayout || !lpLayout->hDWP || !hWnd || !lpRect)
        return;
    HWND hWndParent = ::GetParent(hWnd);
    RECT current{};
    ::GetWindowRect(hWnd, &current);
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<POINT*>(&current), 2);
    if (::EqualRect(&current, lpRect))
        return;
    // A failed DeferWindowPos frees the whole positioning: the moves already collected are lost, and the windows
    // stay where they are rather than half of them moving.
    lpLayout->hDWP =
        ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                         lpRect->bottom - lpRect->top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch)
{
    AFX_SIZEPARENTPARAMS layout{};
    layout.bStretch = bStretch;
    if (lpRectClient)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);

    // Each step through the children asks the window manager: the frame walks them once. A frame lays out on every
    // idle update.
    std::vector<HWND> children;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
        children.push_back(hWndChild);
    if (nFlag != reposQuery)
        layout.hDWP = ::BeginDeferWindowPos(children.empty() ? 1 : static_cast<int>(children.size()));

    HWND hWndLeftOver = nullptr;
    for (HWND hWndChild : children)
    {
        const UINT nID = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
        if (nID == nIDLeftOver)
            hWndLeftOver = hWndChild;
        else if (nID >= nIDFirst && nID <= nIDLast)
            ::SendMessageA(hWndChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }

    if (nFlag == reposQuery)
    {
        if (lpRectParam)
        {
            // Stretching bars leave the pane the rest; bars that keep their own size say how much they need.
            if (bStretch)
            {
                ::CopyRect(lpRectParam, &layout.rect);
            }
            else
            {
                lpRectParam->left = lpRectParam->top = 0;
                lpRectParam->right = layout.sizeTotal.cx;
                lpRectParam->bottom = layout.sizeTotal.cy;
            }
        }
        return;
    }

    if (nFlag == reposExtra && lpRectParam)
    {
        layout.rect.left += lpRectParam->left;
        layout.rect.top += lpRectParam->top;
        layout.rect.right -= lpRectParam->right;
        layout.rect.bottom -= lpRectParam->bottom;
    }
    if (hWndLeftOver)
    {
        // A pane squeezed past nothing keeps an empty rectangle instead of a negative one.
        RECT pane = layout.rect;
        pane.right = pane.right < pane.left ? pane.left : pane.right;
        pane.bottom = pane.bottom < pane.top ? pane.top : pane.bottom;
        AfxRepositionWindow(&layout, hWndLeftOver, &pane);
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}
