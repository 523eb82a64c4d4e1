// The grey twin of a bitmap, for every depth a hover button's image can have, on memory bitmaps.
#include "ControlsTestSupport.h"
#include "wizard/controls/GrayscaleBitmap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace osm::test;

namespace {

// A DIB section of one row of pixels, described by its raw row bytes, colour table and masks.
struct SourceBitmap
{
    const char* name;
    int depth;
    int width;
    std::vector<BYTE> row;
    std::vector<RGBQUAD> table;
    std::vector<DWORD> masks;  // BI_BITFIELDS when not empty
};

HBITMAP MakeDib(const SourceBitmap& source)
{
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = source.width;
    info.header.biHeight = 1;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(source.depth);
    info.header.biCompression = source.masks.empty() ? BI_RGB : BI_BITFIELDS;
    if (!source.masks.empty())
        std::memcpy(info.colors, source.masks.data(), source.masks.size() * sizeof(DWORD));
    else if (!source.table.empty())
    {
        info.header.biClrUsed = static_cast<DWORD>(source.table.size());
        std::memcpy(info.colors, source.table.data(), source.table.size() * sizeof(RGBQUAD));
    }
    void* bits = nullptr;
    HBITMAP hBitmap =
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (hBitmap)
        std::memcpy(bits, source.row.data(), source.row.size());
    return hBitmap;
}

// The first row of a bitmap read back in the given depth (32: 0xAARRGGBB words, 16: 5-5-5 words).
std::vector<DWORD> ReadRow(HBITMAP hBitmap, int width, int depth)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(depth);
    std::vector<BYTE> bits(static_cast<size_t>((width * depth + 31) / 32 * 4));
    HDC hScreen = ::GetDC(nullptr);
    ::GetDIBits(hScreen, hBitmap, 0, 1, bits.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
    std::vector<DWORD> row;
    for (int x = 0; x < width; ++x)
    {
        if (depth == 16)
        {
            WORD word;
            std::memcpy(&word, bits.data() + x * 2, 2);
            row.push_back(word);
        }
        else
        {
            DWORD word;
            std::memcpy(&word, bits.data() + x * 4, 4);
            row.push_back(word);
        }
    }
    return row;
}

RGBQUAD Quad(BYTE r, BYTE g, BYTE b)
{
    return RGBQUAD{b, g, r, 0};
}

DWORD Gray(BYTE g)
{
    return RGB(g, g, g);  // the same byte in all three channels reads the same either way round
}

WORD Gray555(WORD g)
{
    return static_cast<WORD>((g << 10) | (g << 5) | g);
}

// Four sample colours and their grey values: (200,40,40) -> 88, (10,200,60) -> 127, (255,255,255) -> 255,
// (30,120,220) -> 104.
const std::vector<RGBQUAD> kSampleTable = {Quad(200, 40, 40), Quad(10, 200, 60), Quad(255, 255, 255),
                                           Quad(30, 120, 220)};

std::vector<RGBQUAD> TableOf(int entries, const std::vector<std::pair<int, RGBQUAD>>& placed)
{
    std::vector<RGBQUAD> table(static_cast<size_t>(entries), Quad(0, 0, 0));
    for (const auto& p : placed)
        table[static_cast<size_t>(p.first)] = p.second;
    return table;
}

struct GrayCase
{
    SourceBitmap source;
    int readDepth;
    std::vector<DWORD> expected;  // masked to 0xFFFFFF for 32-bit reads
};

std::vector<GrayCase> GrayCases()
{
    const BYTE r1 = 200, g1 = 40, b1 = 40, r2 = 10, g2 = 200, b2 = 60;
    return {
        {{"1-bit table", 1, 4, {0x50, 0, 0, 0}, {Quad(r1, g1, b1), Quad(r2, g2, b2)}, {}},
         32,
         {Gray(88), Gray(127), Gray(88), Gray(127)}},
        {{"4-bit table",
          4,
          4,
          {0x01, 0x23, 0, 0},
          TableOf(16, {{0, kSampleTable[0]}, {1, kSampleTable[1]}, {2, kSampleTable[2]}, {3, kSampleTable[3]}}),
          {}},
         32,
         {Gray(88), Gray(127), Gray(255), Gray(104)}},
        {{"8-bit table",
          8,
          4,
          {5, 17, 200, 255},
          TableOf(256, {{5, kSampleTable[0]}, {17, kSampleTable[1]}, {200, kSampleTable[2]}, {255, kSampleTable[3]}}),
          {}},
         32,
         {Gray(88), Gray(127), Gray(255), Gray(104)}},
        {{"24-bit pixels", 24, 4, {b1, g1, r1, b2, g2, r2, 255, 255, 255, 220, 120, 30, 0, 0, 0, 0}, {}, {}},
         32,
         {Gray(88), Gray(127), Gray(255), Gray(104)}},
        {{"32-bit pixels", 32, 4, {b1, g1, r1, 0, b2, g2, r2, 0, 255, 255, 255, 0, 220, 120, 30, 0}, {}, {}},
         32,
         {Gray(88), Gray(127), Gray(255), Gray(104)}},
        // 5-5-5: red 31 -> 9, green 31 -> 18, blue 31 -> 3, white stays 31.
        {{"16-bit 5-5-5 pixels", 16, 4, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F}, {}, {}},
         16,
         {Gray555(9), Gray555(18), Gray555(3), Gray555(31)}},
        // 5-6-5 is read as 5-5-5: green 63 -> 31 -> 18, green 32 -> 16 -> 9, red 31 + green 63 -> 27.
        {{"16-bit 5-6-5 pixels", 16, 3, {0xE0, 0x07, 0x00, 0x04, 0xE0, 0xFF, 0, 0}, {}, {0xF800, 0x07E0, 0x001F}},
         16,
         {Gray555(18), Gray555(9), Gray555(27)}},
    };
}

TEST(GrayscaleBitmapTest, EveryDepthTurnsItsColoursIntoTheirGreyValues)
{
    for (const GrayCase& c : GrayCases())
    {
        SCOPED_TRACE(c.source.name);
        HBITMAP hSource = MakeDib(c.source);
        ASSERT_NE(nullptr, hSource);
        const std::vector<DWORD> before = ReadRow(hSource, c.source.width, c.readDepth);
        const int objectsBefore = CountGdiObjects();

        HBITMAP hGray = CreateGrayscaleBitmap(hSource);
        ASSERT_NE(nullptr, hGray);
        EXPECT_NE(hSource, hGray);
        std::vector<DWORD> gray = ReadRow(hGray, c.source.width, c.readDepth);
        if (c.readDepth == 32)
            for (DWORD& p : gray)
                p &= 0xFFFFFF;
        EXPECT_EQ(c.expected, gray);
        EXPECT_EQ(before, ReadRow(hSource, c.source.width, c.readDepth)) << "the source keeps its colours";

        ::DeleteObject(hGray);
        EXPECT_EQ(objectsBefore, CountGdiObjects()) << "nothing but the result is left behind";
        ::DeleteObject(hSource);
    }
}

TEST(GrayscaleBitmapTest, The32BitAlphaOfAnIconSurvives)
{
    SourceBitmap source{"32-bit with alpha", 32, 2, {220, 120, 30, 0x80, 40, 40, 200, 0xFF}, {}, {}};
    HBITMAP hSource = MakeDib(source);
    HBITMAP hGray = CreateGrayscaleBitmap(hSource);
    ASSERT_NE(nullptr, hGray);
    const std::vector<DWORD> gray = ReadRow(hGray, 2, 32);
    EXPECT_EQ(0x80686868u, gray[0]);
    EXPECT_EQ(0xFF585858u, gray[1]);
    ::DeleteObject(hGray);
    ::DeleteObject(hSource);
}

TEST(GrayscaleBitmapTest, OtherDepthsAndNonBitmapsGiveNoBitmap)
{
    SourceBitmap source{"24-bit", 24, 1, {1, 2, 3, 0}, {}, {}};
    HBITMAP hSource = MakeDib(source);
    BITMAPINFOHEADER header{};
    ASSERT_TRUE(QueryBitmapHeader(hSource, header));
    EXPECT_EQ(24, header.biBitCount);
    for (WORD depth : {WORD(0), WORD(2), WORD(15), WORD(48)})
    {
        header.biBitCount = depth;
        EXPECT_EQ(nullptr, CreateGrayscaleBitmap(hSource, header)) << depth << " bits";
    }
    ::DeleteObject(hSource);

    EXPECT_EQ(nullptr, CreateGrayscaleBitmap(nullptr));
    HBRUSH hBrush = ::CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(nullptr, CreateGrayscaleBitmap(reinterpret_cast<HBITMAP>(hBrush)));
    ::DeleteObject(hBrush);
}

}  // namespace
