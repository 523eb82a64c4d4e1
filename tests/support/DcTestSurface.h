// A 32-bit top-down DIB section in a memory DC, for drawing tests that read their pixels back from memory:
//
//   DcTestSurface surface(40, 20, RGB(1, 2, 3));             // filled through GDI (alpha byte 0)
//   DcTestSurface image(16, 16, DcTestSurface::RawFill{0xFF102030}); // every pixel that raw value, alpha included
//   painter.Draw(surface.dc(), ...);
//   EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(0, 0));
#pragma once

#include <windows.h>

#include <cstring>
#include <vector>

// The class library's DC, which the test that asks for one (dc()) includes; the support folder stands on nothing.
class CDC;

namespace foundation_test {

class DcTestSurface
{
public:
    DcTestSurface(int nWidth, int nHeight) : m_width(nWidth), m_height(nHeight)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = nWidth;
        info.bmiHeader.biHeight = -nHeight;  // top-down: row y starts at y * width
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_hDC = ::CreateCompatibleDC(nullptr);
        m_hBitmap = ::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    }
    DcTestSurface(int nWidth, int nHeight, COLORREF clrFill) : DcTestSurface(nWidth, nHeight) { Fill(clrFill); }
    // A raw pixel value, 0xAARRGGBB, for image tests that care about the alpha byte.
    struct RawFill
    {
        DWORD pixel;
    };
    // Filled with the raw value; right-to-left layout when asked (device column 0 stays the left edge).
    DcTestSurface(int nWidth, int nHeight, RawFill fill, bool bRightToLeft = false) : DcTestSurface(nWidth, nHeight)
    {
        if (bRightToLeft)
            ::SetLayout(m_hDC, LAYOUT_RTL);
        FillRaw(fill.pixel);
    }
    ~DcTestSurface()
    {
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    DcTestSurface(const DcTestSurface&) = delete;
    DcTestSurface& operator=(const DcTestSurface&) = delete;

    bool IsValid() const { return m_hDC && m_hBitmap && m_bits; }
    HDC GetDC() const { return m_hDC; }
    // The memory DC as the class library's DC, for painters that take a CDC*.
    template <class DC = ::CDC> DC* dc() const { return DC::FromHandle(m_hDC); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The pixel as a COLORREF, read from the DIB's memory after GDI has finished its queued work.
    COLORREF Pixel(int x, int y) const
    {
        ::GdiFlush();
        const DWORD bgra = m_bits[y * m_width + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    // The pixel's alpha byte, which Pixel leaves out.
    BYTE Alpha(int x, int y) const { return static_cast<BYTE>(Raw(x, y) >> 24); }
    // The pixel as it lies in memory, 0xAARRGGBB (device coordinates: column 0 is the left edge whatever the
    // layout).
    DWORD Raw(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[y * m_width + x];
    }
    std::vector<DWORD> Row(int y) const
    {
        ::GdiFlush();
        return std::vector<DWORD>(m_bits + y * m_width, m_bits + (y + 1) * m_width);
    }
    // Every pixel set to one raw value, alpha byte included.
    void FillRaw(DWORD pixel)
    {
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = pixel;
    }
    void Fill(COLORREF clr) { Fill(RECT{0, 0, m_width, m_height}, clr); }
    void Fill(const RECT& rect, COLORREF clr)
    {
        HBRUSH hBrush = ::CreateSolidBrush(clr);
        ::FillRect(m_hDC, &rect, hBrush);
        ::DeleteObject(hBrush);
    }
    // Every pixel, row by row.
    std::vector<COLORREF> All() const
    {
        std::vector<COLORREF> all;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                all.push_back(Pixel(x, y));
        return all;
    }
    int CountNot(COLORREF clr) const
    {
        int count = 0;
        for (COLORREF pixel : All())
            count += pixel != clr;
        return count;
    }
    // Every pixel of the rectangle (clipped to the surface) has this colour.
    bool AllPixels(const RECT& rect, COLORREF clr) const
    {
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (x >= 0 && y >= 0 && x < m_width && y < m_height && Pixel(x, y) != clr)
                    return false;
        return true;
    }

private:
    int m_width;
    int m_height;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    DWORD* m_bits = nullptr;
};

}  // namespace foundation_test
