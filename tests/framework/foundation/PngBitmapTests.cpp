// PNG decoding through libpng: each colour type becomes a top-down B, G, R, A DIB section with the alpha it had,
// and damaged data fails without crashing or leaving memory or GDI objects behind.
#include <gtest/gtest.h>

#include "classlib/MemFile.h"
#include "ImageTestSupport.h"
#include "framework/foundation/PngBitmap.h"

using namespace image_test;

namespace {

struct DecodedPng
{
    BOOL bLoaded = FALSE;
    BOOL bAlpha = FALSE;
    COLORREF clrBackground = 0;
    LONG nDibHeight = 0;
    int nWidth = 0;
    int nChannels = 0;
    std::vector<DWORD> pixels;  // the DIB's own bytes as B, G, R, A values, in memory order
};

DecodedPng Decode(const std::vector<BYTE>& data)
{
    DecodedPng result;
    std::vector<BYTE> copy(data);
    {
        CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
        LPBYTE pPixels = nullptr;
        int nHeight = 0;
        COLORREF clr = 0;
        if (DecodePng(&file, &pPixels, &result.nWidth, &nHeight, &result.nChannels, &clr))
            std::free(pPixels);
        file.Detach();
    }
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    COSMPngBitmap png;
    result.bLoaded = png.LoadFromFileObject(&file);
    file.Detach();
    result.bAlpha = png.IsAlpha();
    result.clrBackground = png.GetBackgroundColor();
    DIBSECTION dib{};
    if (result.bLoaded && ::GetObjectA(png, sizeof(dib), &dib) == sizeof(dib))
    {
        result.nDibHeight = dib.dsBmih.biHeight;
        const auto* pBits = static_cast<const DWORD*>(dib.dsBm.bmBits);
        result.pixels.assign(pBits, pBits + static_cast<size_t>(dib.dsBm.bmWidth) * dib.dsBm.bmHeight);
    }
    return result;
}

PngSpec Rgba(int width, int height, const std::vector<DWORD>& argb)
{
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colorType = PNG_COLOR_TYPE_RGBA;
    for (DWORD p : argb)
        spec.rows.insert(spec.rows.end(), {R(p), G(p), B(p), A(p)});
    return spec;
}

}  // namespace

TEST(PngBitmap, EachColourTypeBecomesBgraWithTheAlphaItHad)
{
    struct Case
    {
        const char* name;
        PngSpec spec;
        int channels;
        BOOL alpha;
        DWORD firstPixel;  // as it lies in the DIB: A, R, G, B from the high byte down
        COLORREF background;
    };
    std::vector<Case> cases;
    {
        PngSpec palette;
        palette.width = 2;
        palette.colorType = PNG_COLOR_TYPE_PALETTE;
        palette.palette = {{200, 10, 20}, {0, 0, 255}};
        palette.transparency = {0x40, 0xFF};
        palette.rows = {0, 1};
        cases.push_back(
            {"palette with tRNS, no bKGD", palette, 4, TRUE, Argb(0x40, 200, 10, 20), RGB(0x7F, 0x7F, 0x7F)});
    }
    {
        PngSpec grey;
        grey.width = 2;
        grey.colorType = PNG_COLOR_TYPE_GRAY;
        grey.rows = {0x80, 0x10};
        cases.push_back({"grey", grey, 3, FALSE, Argb(0, 0x80, 0x80, 0x80), RGB(0x7F, 0x7F, 0x7F)});
    }
    {
        PngSpec grey1;
        grey1.width = 8;
        grey1.bitDepth = 1;
        grey1.colorType = PNG_COLOR_TYPE_GRAY;
        grey1.rows = {0x80};  // white, then seven black pixels
        cases.push_back({"grey, 1 bit", grey1, 3, FALSE, Argb(0, 255, 255, 255), RGB(0x7F, 0x7F, 0x7F)});
    }
    {
        PngSpec deep;
        deep.bitDepth = 16;
        deep.rows = {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00};
        cases.push_back({"16-bit RGB", deep, 3, FALSE, Argb(0, 0x12, 0xAB, 0xFF), RGB(0x7F, 0x7F, 0x7F)});
    }
    {
        PngSpec rgba = Rgba(1, 1, {Argb(0, 10, 20, 30)});
        rgba.hasBackground = true;
        rgba.background.red = 0;
        rgba.background.green = 255;
        rgba.background.blue = 0;
        // A transparent pixel keeps its colour and its alpha: nothing is composited onto the background.
        cases.push_back({"RGBA with bKGD", rgba, 4, TRUE, Argb(0, 10, 20, 30), RGB(0, 255, 0)});
    }
    {
        PngSpec greyAlpha;
        greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
        greyAlpha.rows = {0x33, 0x99};
        cases.push_back({"grey with alpha", greyAlpha, 4, TRUE, Argb(0x99, 0x33, 0x33, 0x33), RGB(0x7F, 0x7F, 0x7F)});
    }
    {
        PngSpec rgb;
        rgb.rows = {1, 2, 3};
        rgb.hasBackground = true;
        rgb.background.red = 9;
        rgb.background.green = 8;
        rgb.background.blue = 7;
        cases.push_back({"RGB with bKGD", rgb, 3, FALSE, Argb(0, 1, 2, 3), RGB(9, 8, 7)});
    }
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::vector<BYTE> data = WritePng(c.spec);
        ASSERT_FALSE(data.empty());
        const DecodedPng decoded = Decode(data);
        ASSERT_TRUE(decoded.bLoaded);
        EXPECT_EQ(decoded.nChannels, c.channels);
        EXPECT_EQ(decoded.bAlpha, c.alpha);
        EXPECT_EQ(decoded.nWidth, c.spec.width);
        ASSERT_FALSE(decoded.pixels.empty());
        EXPECT_EQ(decoded.pixels[0], c.firstPixel) << std::hex << decoded.pixels[0];
        EXPECT_EQ(decoded.clrBackground, c.background);
    }
}

TEST(PngBitmap, RowsAreTopDownAndPixelsBlueGreenRedAlpha)
{
    const std::vector<DWORD> image = {Argb(255, 1, 2, 3),   Argb(128, 4, 5, 6),   Argb(0, 7, 8, 9),
                                      Argb(10, 11, 12, 13), Argb(20, 21, 22, 23), Argb(30, 31, 32, 33)};
    const std::vector<BYTE> data = WritePng(Rgba(3, 2, image));
    std::vector<BYTE> copy(data);
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    COSMPngBitmap png;
    ASSERT_TRUE(png.LoadFromFileObject(&file));
    file.Detach();
    DIBSECTION dib{};
    ASSERT_EQ(::GetObjectA(png, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(dib.dsBmih.biBitCount, 32);
    const auto* pBytes = static_cast<const BYTE*>(dib.dsBm.bmBits);
    for (size_t i = 0; i < image.size(); ++i)
    {
        // Straight colour, not premultiplied.
        EXPECT_EQ(pBytes[i * 4 + 0], B(image[i])) << i;
        EXPECT_EQ(pBytes[i * 4 + 1], G(image[i])) << i;
        EXPECT_EQ(pBytes[i * 4 + 2], R(image[i])) << i;
        EXPECT_EQ(pBytes[i * 4 + 3], A(image[i])) << i;
    }
}

TEST(PngBitmap, InterlacedImageEqualsItsPlainTwin)
{
    std::vector<DWORD> image;
    for (int i = 0; i < 11 * 9; ++i)
        image.push_back(Argb(static_cast<BYTE>(i * 37), static_cast<BYTE>(i * 11), static_cast<BYTE>(255 - i),
                             static_cast<BYTE>(i * 5)));
    PngSpec plain = Rgba(11, 9, image);
    PngSpec interlaced = plain;
    interlaced.interlaced = true;
    const std::vector<BYTE> plainData = WritePng(plain);
    const std::vector<BYTE> interlacedData = WritePng(interlaced);
    ASSERT_NE(plainData, interlacedData);
    const DecodedPng a = Decode(plainData);
    const DecodedPng b = Decode(interlacedData);
    ASSERT_TRUE(a.bLoaded);
    ASSERT_TRUE(b.bLoaded);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.pixels[12], Argb(A(image[12]), R(image[12]), G(image[12]), B(image[12])));
}

TEST(PngBitmap, LoadsFromAFileByPath)
{
    const std::string path =
        WriteFile("png-by-path.png", WritePng(Rgba(2, 1, {Argb(255, 9, 99, 199), Argb(1, 2, 3, 4)})));
    COSMPngBitmap png;
    ASSERT_TRUE(png.LoadFromFile(path.c_str()));
    EXPECT_TRUE(png.IsAlpha());
    const std::vector<DWORD> pixels = ReadBitmap32(png);
    ASSERT_EQ(pixels.size(), 2u);
    EXPECT_EQ(pixels[0], Argb(255, 9, 99, 199));
    EXPECT_FALSE(png.LoadFromFile("no-such-file.png"));
    EXPECT_EQ(png.m_hObject, nullptr);
}

TEST(PngBitmap, DamagedDataFailsAndLeavesNothingBehind)
{
    const std::vector<BYTE> good = WritePng(Rgba(16, 16, std::vector<DWORD>(256, Argb(255, 1, 2, 3))));
    ASSERT_GT(good.size(), 60u);
    // The IDAT chunk: its length is the 4 bytes before its type.
    size_t nIdat = 0;
    for (size_t i = 8; i + 4 < good.size(); ++i)
        if (std::memcmp(&good[i], "IDAT", 4) == 0)
        {
            nIdat = i;
            break;
        }
    ASSERT_NE(nIdat, 0u);
    const size_t nIdatLength =
        (good[nIdat - 4] << 24) | (good[nIdat - 3] << 16) | (good[nIdat - 2] << 8) | good[nIdat - 1];

    std::vector<BYTE> truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(nIdat + 4 + nIdatLength / 2));
    std::vector<BYTE> badCrc = good;
    badCrc[nIdat + 4 + nIdatLength] ^= 0x5A;
    std::vector<BYTE> huge = PngSignature();
    {
        std::vector<BYTE> ihdr;
        AppendBigEndian(ihdr, 100000);
        AppendBigEndian(ihdr, 100000);
        ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
        AppendPngChunk(huge, "IHDR", ihdr);
        AppendPngChunk(huge, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
        AppendPngChunk(huge, "IEND", {});
    }
    std::vector<BYTE> signatureOnly = PngSignature();
    signatureOnly.push_back(0);
    std::vector<BYTE> notPng(good);
    notPng[1] = 'Q';

    struct Case
    {
        const char* name;
        std::vector<BYTE> data;
    } cases[] = {{"truncated", truncated},
                 {"bad CRC", badCrc},
                 {"100000 x 100000", huge},
                 {"signature and one byte", signatureOnly},
                 {"not a PNG", notPng}};

    // The first round settles what the C runtime and libpng set up once; later rounds must not grow anything.
    for (const Case& c : cases)
        EXPECT_FALSE(Decode(c.data).bLoaded) << c.name;
    const std::set<WORD> gdiBefore = GdiUsage();
    const unsigned long long nHeapBefore = HeapBytesInUse();
    for (int round = 0; round < 20; ++round)
    {
        for (const Case& c : cases)
        {
            const DecodedPng decoded = Decode(c.data);
            EXPECT_FALSE(decoded.bLoaded) << c.name;
            EXPECT_FALSE(decoded.bAlpha) << c.name;
        }
    }
    const unsigned long long nHeapAfter = HeapBytesInUse();
    EXPECT_EQ(GdiUsage(), gdiBefore);
    // A leak of the rows or the pixels (at least 1 KiB a decode, 100 decodes) would show far above this.
    EXPECT_LT(nHeapAfter, nHeapBefore + 4096) << nHeapBefore << " -> " << nHeapAfter;

    // The same decoder still reads sound data afterwards.
    EXPECT_TRUE(Decode(good).bLoaded);
}
