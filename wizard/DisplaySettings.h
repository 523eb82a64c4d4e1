// CDisplaySettings: reads the build machine's current display mode and screen metrics, which the set-up scripts
// and answer files carry into the new installation. It holds nothing: make one on the stack where it is needed.
#pragma once

#include <windows.h>

class CDisplaySettings
{
public:
    CDisplaySettings() = default;
    virtual ~CDisplaySettings() = default;

    // The primary display's current mode. Width and height are always stored, bits per pixel and frequency only
    // when asked for; every stored value is 0 (and the result false) when the system cannot tell the mode.
    bool GetDisplayMode(int& width, int& height, int* bitsPerPixel = nullptr, int* frequency = nullptr) const;
    // Logical pixels per inch of the screen's height.
    int GetScreenDpi() const;
    // Colour depth of the screen.
    int GetScreenBitsPerPixel() const;

private:
    static int GetDesktopDeviceCaps(int index);
};
