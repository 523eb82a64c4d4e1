#include "wizard/controls/StaticWindow.h"

bool IsTextStatic(HWND hWnd)
{
    const DWORD type = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE)) & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

void EnsureNotifyStyle(HWND hWnd)
{
    const LONG_PTR style = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
    if (!(style & SS_NOTIFY))
        ::SetWindowLongPtrA(hWnd, GWL_STYLE, style | SS_NOTIFY);
}

BOOL IsCursorInside(HWND hWnd)
{
    POINT point;
    if (!hWnd || !::GetCursorPos(&point))
        return FALSE;
    ::ScreenToClient(hWnd, &point);
    RECT client;
    ::GetClientRect(hWnd, &client);
    return ::PtInRect(&client, point);
}

void InvalidateInParent(HWND hWnd)
{
    HWND hWndParent = ::GetParent(hWnd);
    if (!hWndParent)
    {
        ::InvalidateRect(hWnd, nullptr, TRUE);
        return;
    }
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(HWND_DESKTOP, hWndParent, reinterpret_cast<POINT*>(&rect), 2);
    ::RedrawWindow(hWndParent, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
