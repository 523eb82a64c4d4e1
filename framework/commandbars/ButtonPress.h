// The press of a button drawn inside a bar window (a status-bar pane or switch, a message-bar button): while the
// left button stays down the bar keeps the mouse, the button looks pressed exactly while the pointer is over it, and
// releasing it there is a click.
//
//   const BOOL clicked = TrackButtonPress(m_hWnd, button.rect, [&](BOOL pressed) {
//       button.pressed = pressed;
//       InvalidateRect(&button.rect, FALSE);
//   });
//
// Ways out without a click: the release elsewhere, Escape, the right button, WM_CANCELMODE (posted, or sent to the
// bar, which then lets the capture go), the capture's loss, and WM_QUIT, which is posted again with its exit code so
// the application's own loop ends too.
#pragma once

#include "classlib/Geometry.h"

#include <functional>

// Runs the press; onPressedChange gets TRUE as it starts, every change while it runs, and FALSE at the end. FALSE at
// once (and no call) when another window holds the capture.
BOOL TrackButtonPress(HWND window, const CRect& rect, const std::function<void(BOOL pressed)>& onPressedChange);
