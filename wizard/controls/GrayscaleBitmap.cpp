#include "wizard/controls/GrayscaleBitmap.h"

#include "classlib/ScopedHandle.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// A BITMAPINFO with room for the largest colour table GetDIBits may write (256 entries, or three masks).
struct BitmapInfo256
{
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];

    BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

void GrayColorTable(RGBQUAD* colors, int count)
{
    for (int i = 0; i < count; ++i)
    {
        const BYTE g = GrayLevel(colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue);
        colors[i].rgbRed = colors[i].rgbGreen = colors[i].rgbBlue = g;
    }
}

void GrayPixels555(BYTE* row, int width)
{
    for (int x = 0; x < width; ++x)
    {
        WORD pixel;
        std::memcpy(&pixel, row + x * 2, sizeof(pixel));
        const int red = (pixel >> 10) & 0x1F;
        const int green = (pixel >> 5) & 0x1F;
        const int blue = pixel & 0x1F;
        const WORD g = static_cast<WORD>((blue * 11 + green * 59 + red * 30) / 100);
        pixel = static_cast<WORD>((g << 10) | (g << 5) | g);
        std::memcpy(row + x * 2, &pixel, sizeof(pixel));
    }
}

void GrayPixelsBGR(BYTE* row, int width, int bytesPerPixel)
{
    for (int x = 0; x < width; ++x)
    {
        BYTE* p = row + x * bytesPerPixel;
        p[0] = p[1] = p[2] = GrayLevel(p[2], p[1], p[0]);
    }
}

}  // namespace

bool QueryBitmapHeader(HBITMAP hBitmap, BITMAPINFOHEADER& header)
{
    if (!hBitmap)
        return false;
    BitmapInfo256 info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    // The screen's DC: the bitmaps read and made here are the display's.
    const ScopedWindowDC screen = GetScopedWindowDC(nullptr);
    if (!::GetDIBits(screen.Get(), hBitmap, 0, 0, nullptr, info.Get(), DIB_RGB_COLORS))
        return false;
    header = info.header;
    return true;
}

HBITMAP CreateGrayscaleBitmap(HBITMAP hBitmap)
{
    BITMAPINFOHEADER header{};
    if (!QueryBitmapHeader(hBitmap, header))
        return nullptr;
    return CreateGrayscaleBitmap(hBitmap, header);
}

HBITMAP CreateGrayscaleBitmap(HBITMAP hBitmap, const BITMAPINFOHEADER& header)
{
    const int depth = header.biBitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return nullptr;
    const int width = header.biWidth;
    const int lines = std::abs(header.biHeight);
    if (width <= 0 || lines == 0)
        return nullptr;

    // Plain RGB rows of the same depth: 16-bit pixels then come as 5-5-5 whatever the source's own masks, and a
    // palette image brings its whole table.
    BitmapInfo256 info{};
    info.header = header;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biPlanes = 1;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 0;
    info.header.biClrImportant = 0;
    const int stride = ((width * depth + 31) / 32) * 4;
    info.header.biSizeImage = static_cast<DWORD>(stride) * static_cast<DWORD>(lines);
    std::vector<BYTE> bits(info.header.biSizeImage);

    // The screen's DC: the bitmaps read and made here are the display's.
    const ScopedWindowDC screen = GetScopedWindowDC(nullptr);
    if (::GetDIBits(screen.Get(), hBitmap, 0, static_cast<UINT>(lines), bits.data(), info.Get(), DIB_RGB_COLORS) !=
        lines)
        return nullptr;

    if (depth <= 8)
    {
        GrayColorTable(info.colors, 1 << depth);
    }
    else
    {
        for (int y = 0; y < lines; ++y)
        {
            BYTE* row = bits.data() + static_cast<size_t>(y) * stride;
            if (depth == 16)
                GrayPixels555(row, width);
            else
                GrayPixelsBGR(row, width, depth / 8);
        }
    }
    return ::CreateDIBitmap(screen.Get(), &info.header, CBM_INIT, bits.data(), info.Get(), DIB_RGB_COLORS);
}
