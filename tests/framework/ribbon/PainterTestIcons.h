// An icon of one opaque colour for the painter tests: where it lands is found by its colour.
//
//   HICON icon = painter_test::SolidIcon(16, RGB(200, 30, 40));
#pragma once

#include <windows.h>

#include <vector>

namespace painter_test {

inline HICON SolidIcon(int size, COLORREF color)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP colour = ::CreateCompatibleBitmap(screen, size, size);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, colour);
    HBRUSH brush = ::CreateSolidBrush(color);
    const RECT all{0, 0, size, size};
    ::FillRect(dc, &all, brush);
    ::DeleteObject(brush);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    // An all-zero mask: every pixel opaque.
    const std::vector<BYTE> zeros(static_cast<size_t>((size + 15) / 16 * 2) * size, 0);
    HBITMAP mask = ::CreateBitmap(size, size, 1, 1, zeros.data());
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(mask);
    ::DeleteObject(colour);
    return icon;
}

}  // namespace painter_test
