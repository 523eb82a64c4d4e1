// The shared colour functions: the fractional blend and the packed hue-saturation-luminance form.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/foundation/ColorFunctions.h"
#include "framework/foundation/ColorManager.h"

TEST(ColorFunctions, BlendByFactorTruncatesAndCaps)
{
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    struct Case
    {
        COLORREF first, second;
        double factor;
        COLORREF expected;
    } cases[] = {
        {white, black, 0.5, RGB(127, 127, 127)},
        {RGB(200, 100, 0), RGB(0, 100, 200), 0.25, RGB(50, 100, 150)},
        {RGB(10, 20, 30), RGB(250, 240, 230), 1.0, RGB(10, 20, 30)},
        {RGB(10, 20, 30), RGB(250, 240, 230), 0.0, RGB(250, 240, 230)},
        {RGB(255, 200, 0), black, 1.2, RGB(255, 240, 0)},  // past the first colour: capped at 255
        {black, RGB(255, 0, 0), 1.5, RGB(0, 0, 0)},        // and never below 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendColors(c.first, c.second, c.factor), c.expected) << std::hex << c.first << " " << c.factor;
}

TEST(ColorFunctions, HueSaturationLuminanceBothWays)
{
    // Values worked out from the integer formulas; the way back may land a step or two off.
    struct Case
    {
        COLORREF color;
        DWORD hsl;
        COLORREF back;
    } cases[] = {
        {RGB(255, 0, 0), 0x78EF00, RGB(253, 0, 0)},
        {RGB(0, 255, 0), 0x78EF4F, RGB(6, 253, 0)},
        {RGB(0, 0, 255), 0x78EF9F, RGB(0, 6, 253)},
        {RGB(128, 128, 128), 0x7800EF, RGB(127, 127, 127)},  // any grey: hue 239, saturation 0
        {RGB(255, 255, 255), 0xF000EF, RGB(255, 255, 255)},
        {RGB(0, 0, 0), 0x0000EF, RGB(0, 0, 0)},
        {RGB(100, 50, 0), 0x2FF013, RGB(98, 46, 0)},  // dark: the other saturation formula, capped at 240
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(RGBtoHSL(c.color), c.hsl) << std::hex << c.color;
        EXPECT_EQ(HSLtoRGB(c.hsl), c.back) << std::hex << c.hsl;
    }
}

TEST(ColorFunctions, LowColourContextIsTheManagersTest)
{
    HDC metafile = CreateMetaFileA(nullptr);
    HDC screen = GetDC(nullptr);
    for (HDC dc : {static_cast<HDC>(nullptr), screen, metafile})
        EXPECT_EQ(IsLowColorDC(dc), COSMColorManager::IsLowColorDisplay(dc));
    EXPECT_FALSE(IsLowColorDC(metafile));
    ReleaseDC(nullptr, screen);
    DeleteMetaFile(CloseMetaFile(metafile));
}
