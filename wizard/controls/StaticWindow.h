// What the wizard's self-drawing statics (links, picture link, headings) share about their own window.
#pragma once

#include <windows.h>

// A static that shows text, not a picture or a frame.
bool IsTextStatic(HWND hWnd);

// Without SS_NOTIFY a static lets the mouse through to its parent: the links and tooltips need it.
void EnsureNotifyStyle(HWND hWnd);

// The cursor lies in the window's client rectangle.
BOOL IsCursorInside(HWND hWnd);

// Redraws the window's rectangle in its parent, the window included: a transparently drawn static can only lose
// what it drew (an underline, a hover picture) through its parent's background.
void InvalidateInParent(HWND hWnd);

// Serves WM_PAINT and WM_PRINTCLIENT with paint(hDC); false for every other message.
template <typename Paint> bool PaintWith(HWND hWnd, UINT message, WPARAM wParam, Paint paint)
{
    if (message == WM_PRINTCLIENT)
    {
        paint(reinterpret_cast<HDC>(wParam));
        return true;
    }
    if (message != WM_PAINT)
        return false;
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(hWnd, &ps);
    paint(hDC);
    ::EndPaint(hWnd, &ps);
    return true;
}
