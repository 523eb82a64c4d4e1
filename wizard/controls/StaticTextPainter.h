// The text statics that colour themselves (the hyperlink and the heading) also paint their text themselves, the way
// a static control does, but with the font their colouring selected: the static control itself may select its own
// font after asking for colours (Wine does), which would undo the underline or the heading font.
#pragma once

#include <windows.h>

// The DrawText flags a static of this style lays its text out with.
UINT StaticTextFormat(DWORD style, DWORD exStyle);

// Draws hWnd's window text into rect of hDC with the DC's font and colours (grey text when the window is disabled).
void DrawStaticText(HWND hWnd, HDC hDC, const RECT& rect);

// The font a static shows its text in: its own (WM_GETFONT), or the default GUI font when none was set.
HFONT GetStaticFont(HWND hWnd);
