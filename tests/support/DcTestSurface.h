// A 32-bit top-down DIB section in a memory DC, for drawing tests that read their pixels back from memory:
//
//   DcTestSurface surface(40, 20, RGB(1, 2, 3));             // filled through GDI (alpha byte 0)
//   DcTestSurface image(16, 16, DcTestSurface::RawFill{0xFF102030}); // every pixel that raw value, alpha included
//   painter.Draw(surface.dc(), ...);
//   EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(0, 0));
//   EXPECT_TRUE(surface.FilledWith(CRect(2, 2, 10, 8), pm.GetColor(13)));
//   EXPECT_TRUE(surface.UntouchedOutside(CRect(2, 2, 10, 8)));
//
// The checks compare the canvas with the one it should be (a copy with the expected drawing made on it): a failure
// names the first pixel that differs, both colours (through the colour namer a fixture installs, "index 31"), and
// saves both canvases as BMPs in the artefacts folder. Programs that use the checks link osm_test_support.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/Screenshots.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

// The class library's DC, which the test that asks for one (dc()) includes; the support folder stands on nothing.
class CDC;

namespace foundation_test {

// Names a colour in the checks' messages: "RGB(1, 2, 3)", followed by what the installed namer says of it.
inline std::function<std::string(COLORREF)>& PixelColorNamer()
{
    static std::function<std::string(COLORREF)> namer;
    return namer;
}
inline std::string DescribePixelColor(COLORREF color)
{
    char text[40];
    std::snprintf(text, sizeof(text), "RGB(%d, %d, %d)", GetRValue(color), GetGValue(color), GetBValue(color));
    std::string name = text;
    if (PixelColorNamer())
    {
        const std::string known = PixelColorNamer()(color);
        if (!known.empty())
            name += " (" + known + ")";
    }
    return name;
}

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
    DcTestSurface(int nWidth, int nHeight, COLORREF clrFill) : DcTestSurface(nWidth, nHeight)
    {
        Fill(clrFill);
        m_background = clrFill;
    }
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

    // ---- Checks -------------------------------------------------------------------------------------------------
    // Every pixel of the rectangle has the colour.
    ::testing::AssertionResult FilledWith(const RECT& rect, COLORREF color) const
    {
        return Expect("filled with", rect, [&](DcTestSurface& expected) { expected.Fill(rect, color); });
    }
    // A one-pixel 3-D frame: top and left in the first colour, bottom and right (corners included) in the second.
    ::testing::AssertionResult Has3dFrame(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) const
    {
        return Expect(
            "3-D frame", rect,
            [&](DcTestSurface& expected) {
                expected.Fill(RECT{rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
                expected.Fill(RECT{rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
                expected.Fill(RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
                expected.Fill(RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
            },
            FrameOnly(rect));
    }
    // A horizontal or vertical line from the first point up to (not including) the second.
    ::testing::AssertionResult HasLine(POINT from, POINT to, COLORREF color) const
    {
        const RECT line = from.y == to.y ? RECT{std::min(from.x, to.x), from.y, std::max(from.x, to.x), from.y + 1}
                                         : RECT{from.x, std::min(from.y, to.y), from.x + 1, std::max(from.y, to.y)};
        return Expect("line from-to", line, [&](DcTestSurface& expected) { expected.Fill(line, color); });
    }
    // The rectangle still has the colour the surface was made with.
    ::testing::AssertionResult Untouched(const RECT& rect) const { return Expect("untouched", rect, Background()); }
    ::testing::AssertionResult Untouched() const { return Untouched(RECT{0, 0, m_width, m_height}); }
    // Everything outside the rectangle still has the colour the surface was made with.
    ::testing::AssertionResult UntouchedOutside(const RECT& drawn) const
    {
        std::vector<RECT> around = {RECT{0, 0, m_width, drawn.top}, RECT{0, drawn.bottom, m_width, m_height},
                                    RECT{0, drawn.top, drawn.left, drawn.bottom},
                                    RECT{drawn.right, drawn.top, m_width, drawn.bottom}};
        return Expect("untouched", RECT{0, 0, m_width, m_height}, Background(), around);
    }
    // Pixel for pixel the same as another canvas of the same size.
    ::testing::AssertionResult EqualsCanvas(const DcTestSurface& other) const
    {
        if (other.m_width != m_width || other.m_height != m_height)
            return ::testing::AssertionFailure() << "equals canvas: sizes differ";
        return Compare("equals canvas", other, {RECT{0, 0, m_width, m_height}});
    }
    // How many different colours the rectangle holds.
    size_t ColorCount(const RECT& rect) const
    {
        std::set<COLORREF> colors;
        for (int y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, m_height); ++y)
            for (int x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, m_width); ++x)
                colors.insert(Pixel(x, y));
        return colors.size();
    }
    size_t ColorCount() const { return ColorCount(RECT{0, 0, m_width, m_height}); }
    // Copies the other canvas's pixels (same size).
    void CopyFrom(const DcTestSurface& other)
    {
        ::GdiFlush();
        if (other.m_width == m_width && other.m_height == m_height)
            std::memcpy(m_bits, other.m_bits, sizeof(DWORD) * m_width * m_height);
        m_background = other.m_background;
    }
    // Saves the canvas as a BMP named after the running test and the label, in the artefacts folder.
    std::string SaveArtefact(const std::string& label) const
    {
        const std::string path =
            osm::test::ArtefactsFolder() + "/" + osm::test::CurrentTestFileName() + "-" + label + ".bmp";
        return osm::test::WriteDcBitmap(m_hDC, RECT{0, 0, m_width, m_height}, path) ? path : std::string();
    }

private:
    // The four one-pixel sides of a rectangle.
    static std::vector<RECT> FrameOnly(const RECT& rect)
    {
        return {RECT{rect.left, rect.top, rect.right, rect.top + 1},
                RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom},
                RECT{rect.left, rect.top, rect.left + 1, rect.bottom},
                RECT{rect.right - 1, rect.top, rect.right, rect.bottom}};
    }
    std::function<void(DcTestSurface&)> Background() const
    {
        return [this](DcTestSurface& expected) { expected.Fill(RECT{0, 0, m_width, m_height}, m_background); };
    }
    // The expected canvas is this one with the expected drawing made on it; only the areas are compared.
    ::testing::AssertionResult Expect(const char* check, const RECT& rect,
                                      const std::function<void(DcTestSurface&)>& draw,
                                      std::vector<RECT> areas = {}) const
    {
        DcTestSurface expected(m_width, m_height);
        expected.CopyFrom(*this);
        draw(expected);
        if (areas.empty())
            areas.push_back(rect);
        return Compare(check, expected, areas);
    }
    ::testing::AssertionResult Compare(const char* check, const DcTestSurface& expected,
                                       const std::vector<RECT>& areas) const
    {
        for (const RECT& area : areas)
            for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, m_height); ++y)
                for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, m_width); ++x)
                    if (Pixel(x, y) != expected.Pixel(x, y))
                    {
                        const std::string actualFile = SaveArtefact("actual");
                        const std::string expectedFile = expected.SaveArtefact("expected");
                        return ::testing::AssertionFailure()
                               << check << ": pixel (" << x << ", " << y << ") is " << DescribePixelColor(Pixel(x, y))
                               << ", expected " << DescribePixelColor(expected.Pixel(x, y)) << "; canvases saved as "
                               << actualFile << " and " << expectedFile;
                    }
        return ::testing::AssertionSuccess();
    }

    int m_width;
    int m_height;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    DWORD* m_bits = nullptr;
    // What "untouched" means: the colour the surface was made with (black for the others).
    COLORREF m_background = 0;
};

}  // namespace foundation_test
