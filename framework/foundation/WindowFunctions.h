// Small window helpers the framework's bars and popups share.
#pragma once

#include <windows.h>

// Fills metrics with SPI_GETNONCLIENTMETRICS. The record is sized 340 bytes whatever the headers target: later
// headers add a field that Windows XP rejects.
BOOL InitNonClientMetrics(NONCLIENTMETRICSA* metrics);
// The size Windows XP knows, which every later version accepts.
constexpr UINT kNonClientMetricsXpSize = 340;

#include "classlib/ClassLibBase.h"

// The foreground window is the last active popup of the window's top-level parent: the window's application
// has the user's attention.
BOOL IsTopParentActive(HWND window);

// Registers (unless it exists) a class with DefWindowProc, the arrow cursor and the given style, icon and
// background, in instance (the application's when null).
BOOL RegisterWindowClass(HINSTANCE instance, LPCSTR className, UINT style, HICON icon = nullptr,
                         HBRUSH background = nullptr);

// The window's whole text.
void GetWindowTextString(HWND window, CString& text);
