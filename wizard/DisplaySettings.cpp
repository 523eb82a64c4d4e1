#include "wizard/DisplaySettings.h"

#include "classlib/ScopedHandle.h"

bool CDisplaySettings::GetDisplayMode(int& width, int& height, int* bitsPerPixel, int* frequency) const
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    const bool known = EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) != FALSE;
    if (!known)
        mode = DEVMODEA{};
    width = static_cast<int>(mode.dmPelsWidth);
    height = static_cast<int>(mode.dmPelsHeight);
    if (bitsPerPixel)
        *bitsPerPixel = static_cast<int>(mode.dmBitsPerPel);
    if (frequency)
        *frequency = static_cast<int>(mode.dmDisplayFrequency);
    return known;
}

int CDisplaySettings::GetScreenDpi() const
{
    return GetDesktopDeviceCaps(LOGPIXELSY);
}

int CDisplaySettings::GetScreenBitsPerPixel() const
{
    return GetDesktopDeviceCaps(BITSPIXEL);
}

int CDisplaySettings::GetDesktopDeviceCaps(int index)
{
    // The desktop window's whole-window DC, given back to it as a window's DC is.
    const HWND desktop = GetDesktopWindow();
    const ScopedWindowDC dc(GetWindowDC(desktop), WindowDCTraits{desktop});
    return dc ? GetDeviceCaps(dc.Get(), index) : 0;
}
