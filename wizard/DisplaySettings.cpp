#include "wizard/DisplaySettings.h"

namespace {

// The desktop window's device context, released when the reading is done.
class CDesktopWindowDC
{
public:
    CDesktopWindowDC() : m_window(GetDesktopWindow()), m_dc(GetWindowDC(m_window)) {}
    ~CDesktopWindowDC()
    {
        if (m_dc)
            ReleaseDC(m_window, m_dc);
    }
    CDesktopWindowDC(const CDesktopWindowDC&) = delete;
    CDesktopWindowDC& operator=(const CDesktopWindowDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

}  // namespace

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
    CDesktopWindowDC dc;
    return dc.Get() ? GetDeviceCaps(dc.Get(), index) : 0;
}
