// The pixels of a layered shadow strip, computed without a window: the fade of each side, the fading corners, the
// lighter forced shadows, tinted shadows, and strips too small for their corners. Pixels are 0xAARRGGBB.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <vector>

#include "framework/foundation/ShadowWnd.h"

namespace {

constexpr int kRight = COSMShadowWnd::kSideRight;
constexpr int kBottom = COSMShadowWnd::kSideBottom;
constexpr int kRegion = COSMShadowWnd::kSideRegion;
const COLORREF kTint = RGB(20, 40, 80);

DWORD PixelAt(const std::vector<DWORD>& pixels, int cx, int x, int y)
{
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(cx) + static_cast<size_t>(x)];
}

std::string Hex(DWORD pixel)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(pixel));
    return text;
}

}  // namespace

TEST(ShadowPixels, SidesAndCornersFadeAsTheyShould)
{
    struct Case
    {
        const char* what;
        int side, cx, cy, k;
        COLORREF colour;
        int x, y;
        DWORD expected;
    };
    const Case cases[] = {
        // Right strip: the inner column 60k, the outer one 15k with a quarter of the colour.
        {"right inner, k 2", kRight, 4, 10, 2, 0, 0, 6, 0x78000000},
        {"right outer, k 2", kRight, 4, 10, 2, 0, 3, 6, 0x1E000000},
        {"right inner, k 1", kRight, 4, 10, 1, 0, 0, 6, 0x3C000000},
        {"right outer, k 1", kRight, 4, 10, 1, 0, 3, 6, 0x0F000000},
        {"right inner tinted, k 2", kRight, 4, 10, 2, kTint, 0, 6, 0x78142850},
        {"right outer tinted, k 2", kRight, 4, 10, 2, kTint, 3, 6, 0x1E050A14},
        // Its top corner: row 0 column 3 3k, row 3 column 0 48k with the colour times 0.8.
        {"corner outer, k 2", kRight, 4, 10, 2, 0, 3, 0, 0x06000000},
        {"corner inner, k 2", kRight, 4, 10, 2, 0, 0, 3, 0x60000000},
        {"corner outer, k 1", kRight, 4, 10, 1, 0, 3, 0, 0x03000000},
        {"corner inner, k 1", kRight, 4, 10, 1, 0, 0, 3, 0x30000000},
        {"corner inner tinted, k 2", kRight, 4, 10, 2, kTint, 0, 3, 0x60102040},
        {"corner outer tinted, k 2", kRight, 4, 10, 2, kTint, 3, 0, 0x06010204},
        {"corner middle, k 2", kRight, 4, 10, 2, 0, 2, 1, 0x18000000},
        // Bottom strip: row 0 60k, row 3 15k; both ends fade in, mirrored.
        {"bottom inner, k 2", kBottom, 10, 4, 2, kTint, 5, 0, 0x78142850},
        {"bottom outer, k 2", kBottom, 10, 4, 2, kTint, 5, 3, 0x1E050A14},
        {"bottom inner, k 1", kBottom, 10, 4, 1, 0, 5, 0, 0x3C000000},
        {"left end outer", kBottom, 10, 4, 2, 0, 0, 3, 0x06000000},
        {"left end inner", kBottom, 10, 4, 2, kTint, 3, 0, 0x60102040},
        {"right end outer", kBottom, 10, 4, 2, 0, 9, 3, 0x06000000},
        {"right end inner", kBottom, 10, 4, 2, kTint, 6, 0, 0x60102040},
        {"right end middle", kBottom, 10, 4, 1, 0, 8, 2, 0x0C000000},
        // The corner of a region shadow: 60k, the whole colour.
        {"region, k 2", kRegion, 1, 1, 2, kTint, 0, 0, 0x78142850},
        {"region, k 1", kRegion, 1, 1, 1, 0, 0, 0, 0x3C000000},
    };
    for (const Case& c : cases)
    {
        const std::vector<DWORD> pixels = MakeShadowPixels(c.side, c.cx, c.cy, c.k, c.colour);
        ASSERT_EQ(static_cast<size_t>(c.cx * c.cy), pixels.size()) << c.what;
        EXPECT_EQ(Hex(c.expected), Hex(PixelAt(pixels, c.cx, c.x, c.y))) << c.what;
    }
}

TEST(ShadowPixels, AForcedShadowOfALightColourStaysAValidPremultipliedPixel)
{
    // At k 1 the tint's blue (80) exceeds the alpha of most pixels: the component is held at the alpha, so the
    // blend can only darken what lies below.
    const struct
    {
        const char* what;
        int side, cx, cy, x, y;
        DWORD expected;
    } cases[] = {
        {"right inner", kRight, 4, 10, 0, 6, 0x3C14283C},  {"right outer", kRight, 4, 10, 3, 6, 0x0F050A0F},
        {"corner inner", kRight, 4, 10, 0, 3, 0x30102030}, {"corner outer", kRight, 4, 10, 3, 0, 0x03010203},
        {"region", kRegion, 1, 1, 0, 0, 0x3C14283C},
    };
    for (const auto& c : cases)
    {
        const std::vector<DWORD> pixels = MakeShadowPixels(c.side, c.cx, c.cy, 1, kTint);
        EXPECT_EQ(Hex(c.expected), Hex(PixelAt(pixels, c.cx, c.x, c.y))) << c.what;
    }
    for (int side : {kRight, kBottom, kRegion})
        for (int k : {1, 2})
            for (COLORREF colour : {kTint, RGB(255, 255, 255)})
                for (DWORD pixel : MakeShadowPixels(side, side == kRight ? 4 : 12, side == kBottom ? 4 : 12, k, colour))
                {
                    const DWORD alpha = pixel >> 24;
                    EXPECT_LE((pixel >> 16) & 0xFF, alpha);
                    EXPECT_LE((pixel >> 8) & 0xFF, alpha);
                    EXPECT_LE(pixel & 0xFF, alpha);
                }
}

TEST(ShadowPixels, SmallStripsKeepTheirCornersInsideThem)
{
    // Every pixel of each small strip, row by row from the top, in units of k = 1: the corners take only the
    // columns and rows there are, and where the two ends of a short bottom strip meet the right end wins.
    const struct
    {
        const char* what;
        int side, cx, cy;
        std::vector<int> alphas;
    } cases[] = {
        {"right 4 x 3", kRight, 4, 3, {12, 9, 6, 3, 24, 18, 12, 6, 36, 27, 18, 9}},
        {"right 2 x 5", kRight, 2, 5, {12, 9, 24, 18, 36, 27, 48, 36, 60, 45}},
        {"bottom 3 x 4", kBottom, 3, 4, {36, 24, 12, 27, 18, 9, 18, 12, 6, 9, 6, 3}},
        {"bottom 6 x 4", kBottom, 6, 4, {12, 24, 48, 36, 24, 12, 9, 18, 36, 27, 18, 9,
                                         6,  12, 24, 18, 12, 6,  3, 6,  12, 9,  6,  3}},
        {"bottom 8 x 2", kBottom, 8, 2, {12, 24, 36, 48, 48, 36, 24, 12, 9, 18, 27, 36, 36, 27, 18, 9}},
        {"right 6 x 5: nothing past 4 columns", kRight, 6, 5, {12, 9,  6,  3,  0,  0,  24, 18, 12, 6,
                                                               0,  0,  36, 27, 18, 9,  0,  0,  48, 36,
                                                               24, 12, 0,  0,  60, 45, 30, 15, 0,  0}},
    };
    for (const auto& c : cases)
    {
        const std::vector<DWORD> pixels = MakeShadowPixels(c.side, c.cx, c.cy, 1, 0);
        ASSERT_EQ(c.alphas.size(), pixels.size()) << c.what;
        std::vector<int> alphas;
        for (DWORD pixel : pixels)
            alphas.push_back(static_cast<int>(pixel >> 24));
        EXPECT_EQ(c.alphas, alphas) << c.what;
    }
    for (int side : {kRight, kBottom, kRegion})
        for (const auto& size : {std::pair<int, int>{0, 4}, {4, 0}, {0, 0}, {-3, 4}, {4, -1}})
            EXPECT_TRUE(MakeShadowPixels(side, size.first, size.second, 2, 0).empty())
                << side << ": " << size.first << " x " << size.second;
}
