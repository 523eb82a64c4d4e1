#include "framework/foundation/MultiMonitor.h"

#include "framework/foundation/ProcessService.h"

COSMMultiMonitor::COSMMultiMonitor(const char* moduleName)
{
    if (m_module.Init(moduleName))
    {
        const BOOL all = m_module.GetProcAddress(&m_getSystemMetrics, "GetSystemMetrics") &
                         m_module.GetProcAddress(&m_monitorFromWindow, "MonitorFromWindow") &
                         m_module.GetProcAddress(&m_monitorFromRect, "MonitorFromRect") &
                         m_module.GetProcAddress(&m_monitorFromPoint, "MonitorFromPoint") &
                         m_module.GetProcAddress(&m_getMonitorInfo, "GetMonitorInfoA");
        if (all)
            return;
    }
    // Half a set would mix monitor rectangles with primary-screen fallbacks.
    m_getSystemMetrics = nullptr;
    m_monitorFromWindow = nullptr;
    m_monitorFromRect = nullptr;
    m_monitorFromPoint = nullptr;
    m_getMonitorInfo = nullptr;
}

BOOL COSMMultiMonitor::GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) const
{
    if (!monitor || !m_getMonitorInfo)
        return FALSE;
    info->cbSize = sizeof(MONITORINFO);
    return m_getMonitorInfo(monitor, info);
}

RECT COSMMultiMonitor::GetWorkArea(HMONITOR monitor) const
{
    MONITORINFO info{};
    if (GetMonitorInfo(monitor, &info))
        return info.rcWork;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

RECT COSMMultiMonitor::GetScreenArea(HMONITOR monitor) const
{
    MONITORINFO info{};
    if (GetMonitorInfo(monitor, &info))
        return info.rcMonitor;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RECT COSMMultiMonitor::GetScreenAreaFromPoint(POINT point) const
{
    return GetScreenArea(m_monitorFromPoint ? m_monitorFromPoint(point, MONITOR_DEFAULTTONULL) : nullptr);
}

RECT COSMMultiMonitor::GetScreenAreaFromRect(const RECT& rect) const
{
    return GetScreenArea(m_monitorFromRect ? m_monitorFromRect(&rect, MONITOR_DEFAULTTONULL) : nullptr);
}

RECT COSMMultiMonitor::GetWorkAreaFromWindow(HWND window) const
{
    return GetWorkArea(m_monitorFromWindow ? m_monitorFromWindow(window, MONITOR_DEFAULTTONULL) : nullptr);
}

RECT COSMMultiMonitor::GetWorkAreaFromPoint(POINT point) const
{
    return GetWorkArea(m_monitorFromPoint ? m_monitorFromPoint(point, MONITOR_DEFAULTTONULL) : nullptr);
}

RECT COSMMultiMonitor::GetWorkAreaFromRect(const RECT& rect) const
{
    return GetWorkArea(m_monitorFromRect ? m_monitorFromRect(&rect, MONITOR_DEFAULTTONULL) : nullptr);
}

RECT COSMMultiMonitor::GetWorkAreaAtCursor() const
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return GetWorkAreaFromPoint(cursor);
}

COSMMultiMonitor* GetMultiMonitor()
{
    return OsmProcessService<COSMMultiMonitor>();
}
