#include "framework/foundation/ColorFunctions.h"

#include <algorithm>

#include "framework/foundation/ColorManager.h"

namespace {

int HueToRGB(int m1, int m2, int hue)
{
    if (hue < 0)
        hue += 255;
    else if (hue >= 256)
        hue -= 255;
    const int q = (m2 - m1) / 255;
    int value;
    if (hue * 6 < 255)
        value = q * hue * 6 + m1;
    else if (hue * 2 < 255)
        value = m2;
    else if (hue * 3 < 510)
        value = q * (170 - hue) * 6 + m1;
    else
        value = m1;
    return value / 255;
}

}  // namespace

COLORREF BlendColors(COLORREF first, COLORREF second, double factor)
{
    // A factor outside 0..1 overshoots; the channel stays within a byte either way.
    auto channel = [factor](BYTE a, BYTE b) {
        return static_cast<BYTE>(std::clamp(static_cast<int>(a * factor + b * (1.0 - factor)), 0, 255));
    };
    return RGB(channel(GetRValue(first), GetRValue(second)), channel(GetGValue(first), GetGValue(second)),
               channel(GetBValue(first), GetBValue(second)));
}

DWORD RGBtoHSL(COLORREF color)
{
    const int red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
    const int high = std::max({red, green, blue}), low = std::min({red, green, blue});
    const int luminance = (high + low + 1) >> 1;
    int hue = 255, saturation = 0;
    if (high != low)
    {
        const int range = high - low;
        saturation = luminance >= 127 ? range * 256 / (512 - high - low) : (range + 1) * 256 / (high + low);
        int sextant;
        if (red == high)
            sextant = (green - blue) * 256 / range;
        else if (green == high)
            sextant = (blue - red) * 256 / range + 512;
        else
            sextant = (red - green) * 256 / range + 1024;
        hue = sextant / 6;
        if (hue < 0)
            hue += 256;
    }
    const DWORD packedHue = std::min(hue * 239 / 255, 239);
    const DWORD packedSaturation = std::min(saturation * 240 / 255, 240);
    const DWORD packedLuminance = std::min(luminance * 240 / 255, 240);
    return packedHue | packedSaturation << 8 | packedLuminance << 16;
}

COLORREF HSLtoRGB(DWORD hsl)
{
    const int hue = static_cast<int>(hsl & 0xFF) * 255 / 239;
    const int saturation = static_cast<int>((hsl >> 8) & 0xFF) * 255 / 240;
    const int luminance = static_cast<int>((hsl >> 16) & 0xFF) * 255 / 240;
    if (saturation == 0)
    {
        const BYTE grey = static_cast<BYTE>(std::min(luminance, 255));
        return RGB(grey, grey, grey);
    }
    const int m2 = luminance > 127 ? (luminance + saturation - luminance * saturation / 255) * 255
                                   : luminance * (saturation + 255);
    const int m1 = luminance * 510 - m2;
    auto channel = [&](int channelHue) { return static_cast<BYTE>(std::min(HueToRGB(m1, m2, channelHue), 255)); };
    return RGB(channel(hue + 85), channel(hue), channel(hue - 85));
}

BOOL IsLowColorDC(HDC dc)
{
    return COSMColorManager::IsLowColorDisplay(dc);
}
