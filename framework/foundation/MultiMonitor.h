// Monitor and work-area queries that work with or without the system's multi-monitor functions:
// with them, the monitor under a window, point or rectangle; without them, the primary screen.
//
//   CRect area = GetMultiMonitor()->GetWorkAreaFromWindow(hwnd);
#pragma once

#include <windows.h>

#include "framework/foundation/ModuleHandle.h"

class COSMMultiMonitor
{
public:
    // The functions come from moduleName; when any one is missing none is used.
    explicit COSMMultiMonitor(const char* moduleName = "User32.dll");

    BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) const;
    RECT GetWorkArea(HMONITOR monitor) const;
    RECT GetScreenArea(HMONITOR monitor) const;

    RECT GetScreenAreaFromPoint(POINT point) const;
    RECT GetScreenAreaFromRect(const RECT& rect) const;
    RECT GetWorkAreaFromWindow(HWND window) const;
    RECT GetWorkAreaFromPoint(POINT point) const;
    RECT GetWorkAreaFromRect(const RECT& rect) const;
    RECT GetWorkAreaAtCursor() const;

    BOOL HasMonitorFunctions() const { return m_getMonitorInfo != nullptr; }

private:
    using GetSystemMetricsFn = int(WINAPI*)(int);
    using MonitorFromWindowFn = HMONITOR(WINAPI*)(HWND, DWORD);
    using MonitorFromRectFn = HMONITOR(WINAPI*)(LPCRECT, DWORD);
    using MonitorFromPointFn = HMONITOR(WINAPI*)(POINT, DWORD);
    using GetMonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

    GetSystemMetricsFn m_getSystemMetrics = nullptr;
    MonitorFromWindowFn m_monitorFromWindow = nullptr;
    MonitorFromRectFn m_monitorFromRect = nullptr;
    MonitorFromPointFn m_monitorFromPoint = nullptr;
    GetMonitorInfoFn m_getMonitorInfo = nullptr;
    COSMModuleHandle m_module;
};

COSMMultiMonitor* GetMultiMonitor();
