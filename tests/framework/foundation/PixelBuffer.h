// The foundation tests' drawing surface: a 32-bit top-down DIB section in a memory DC whose pixels the test
// reads back as COLORREFs.
#pragma once

#include <windows.h>

#include <vector>

// A 32-bit top-down DIB section selected into a memory DC, filled with one colour.
class CPixelBuffer
{
public:
    CPixelBuffer(int width, int height, COLORREF fill) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(RECT{0, 0, width, height}, fill);
    }
    ~CPixelBuffer()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    CPixelBuffer(const CPixelBuffer&) = delete;
    CPixelBuffer& operator=(const CPixelBuffer&) = delete;

    HDC dc() const { return m_dc; }
    void Fill(const RECT& rect, COLORREF color)
    {
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(m_dc, &rect, brush);
        DeleteObject(brush);
    }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const DWORD pixel = m_bits[y * m_width + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    std::vector<COLORREF> All() const
    {
        std::vector<COLORREF> all;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                all.push_back(At(x, y));
        return all;
    }
    int CountNot(COLORREF color) const
    {
        int count = 0;
        for (COLORREF pixel : All())
            count += pixel != color;
        return count;
    }

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};
