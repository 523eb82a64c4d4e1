// How images enter the framework: bitmap, icon, PNG and picture files written by the test, the test program's own
// resources (ImageResources.rc, drawn at build time), icon groups, image lists and strips of toolbar images. Damaged
// headers and short data are refused.
#include <gtest/gtest.h>

#include "ImageResourceIds.h"
#include "ImageTestSupport.h"
#include "framework/foundation/ImageLoaders.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/PngBitmap.h"
#include "platform/classlib/RefPtr.h"

#include <objbase.h>

using namespace image_test;

namespace {

HMODULE Program()
{
    return ::GetModuleHandleA(nullptr);
}

bool IsDibSection(HBITMAP hBitmap)
{
    DIBSECTION dib{};
    return ::GetObjectA(hBitmap, sizeof(dib), &dib) == static_cast<int>(sizeof(dib));
}

CSize BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm{};
    ::GetObjectA(hBitmap, sizeof(bm), &bm);
    return CSize(bm.bmWidth, bm.bmHeight);
}

// A bitmap file: file header, info header, then the pixels.
std::vector<BYTE> BmpFile(LONG width, LONG height, WORD bitCount, const std::vector<BYTE>& pixels)
{
    std::vector<BYTE> out = {'B', 'M'};
    AppendLittle32(out, static_cast<DWORD>(14 + 40 + pixels.size()));
    AppendLittle32(out, 0);
    AppendLittle32(out, 14 + 40);
    AppendInfoHeader(out, width, height, bitCount);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// A 32-bit icon image of one colour: header (height counting both halves), pixels, then an opaque mask.
std::vector<BYTE> IconImage32(int nSize, DWORD argb, LONG nHeaderHeight = 0)
{
    std::vector<BYTE> out;
    AppendInfoHeader(out, nSize, nHeaderHeight ? nHeaderHeight : nSize * 2, 32);
    for (int i = 0; i < nSize * nSize; ++i)
        AppendLittle32(out, argb);
    out.insert(out.end(), static_cast<size_t>(((nSize + 31) / 32) * 4 * nSize), 0);
    return out;
}

std::vector<BYTE> IconImage8(int nSize)
{
    std::vector<BYTE> out;
    AppendInfoHeader(out, nSize, nSize * 2, 8);
    out.insert(out.end(), 256 * 4, 0x40);
    out.insert(out.end(), static_cast<size_t>(nSize * nSize), 1);
    out.insert(out.end(), static_cast<size_t>(((nSize + 31) / 32) * 4 * nSize), 0);
    return out;
}

struct IcoEntry
{
    BYTE width;
    WORD bitCount;
    std::vector<BYTE> data;
    DWORD sizeField = 0;    // 0: the data's real size
    DWORD offsetField = 0;  // 0: where the data really lies
};

std::vector<BYTE> IcoFile(const std::vector<IcoEntry>& entries, WORD nCount = 0)
{
    std::vector<BYTE> out;
    AppendLittle16(out, 0);
    AppendLittle16(out, 1);
    AppendLittle16(out, nCount ? nCount : static_cast<WORD>(entries.size()));
    DWORD nOffset = static_cast<DWORD>(6 + 16 * entries.size());
    for (const IcoEntry& entry : entries)
    {
        out.insert(out.end(), {entry.width, entry.width, 0, 0});
        AppendLittle16(out, 1);
        AppendLittle16(out, entry.bitCount);
        AppendLittle32(out, entry.sizeField ? entry.sizeField : static_cast<DWORD>(entry.data.size()));
        AppendLittle32(out, entry.offsetField ? entry.offsetField : nOffset);
        nOffset += static_cast<DWORD>(entry.data.size());
    }
    for (const IcoEntry& entry : entries)
        out.insert(out.end(), entry.data.begin(), entry.data.end());
    return out;
}

// A GIF of 4 colours. Its LZW codes stay 3 bits wide: a clear code after every two pixels keeps the table from
// growing to 8 entries.
std::vector<BYTE> GifFile(int width, int height, const std::vector<COLORREF>& palette, const std::vector<BYTE>& indexes)
{
    std::vector<BYTE> out = {'G', 'I', 'F', '8', '9', 'a'};
    AppendLittle16(out, static_cast<WORD>(width));
    AppendLittle16(out, static_cast<WORD>(height));
    out.insert(out.end(), {0x91, 0, 0});  // a global table of 4 colours
    for (int i = 0; i < 4; ++i)
        out.insert(out.end(), {GetRValue(palette[i]), GetGValue(palette[i]), GetBValue(palette[i])});
    out.push_back(0x2C);
    AppendLittle16(out, 0);
    AppendLittle16(out, 0);
    AppendLittle16(out, static_cast<WORD>(width));
    AppendLittle16(out, static_cast<WORD>(height));
    out.push_back(0);
    out.push_back(2);  // minimum code size: clear is 4, end is 5
    std::vector<BYTE> codes;
    DWORD nBits = 0;
    int nBitCount = 0;
    auto emit = [&](DWORD code) {
        nBits |= code << nBitCount;
        nBitCount += 3;
        while (nBitCount >= 8)
        {
            codes.push_back(static_cast<BYTE>(nBits));
            nBits >>= 8;
            nBitCount -= 8;
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i)
    {
        if (i % 2 == 0)
            emit(4);
        emit(indexes[i]);
    }
    emit(5);
    if (nBitCount > 0)
        codes.push_back(static_cast<BYTE>(nBits));
    for (size_t i = 0; i < codes.size(); i += 255)
    {
        const size_t n = std::min<size_t>(255, codes.size() - i);
        out.push_back(static_cast<BYTE>(n));
        out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(i),
                   codes.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

// A 24-bit DIB section strip of slices, each one colour; the top-left pixel may be given its own colour.
HBITMAP ColourStrip(int nSlice, const std::vector<COLORREF>& colors, COLORREF clrCorner = CLR_INVALID)
{
    const int cx = nSlice * static_cast<int>(colors.size());
    std::vector<DWORD> pixels(static_cast<size_t>(cx) * nSlice);
    for (int y = 0; y < nSlice; ++y)
        for (int x = 0; x < cx; ++x)
        {
            const COLORREF clr = colors[static_cast<size_t>(x / nSlice)];
            pixels[static_cast<size_t>(y) * cx + x] = Argb(255, GetRValue(clr), GetGValue(clr), GetBValue(clr));
        }
    if (clrCorner != CLR_INVALID)
        pixels[0] = Argb(255, GetRValue(clrCorner), GetGValue(clrCorner), GetBValue(clrCorner));
    HBITMAP h32 = MakeBitmap32(cx, nSlice, pixels);
    HBITMAP h24 = static_cast<HBITMAP>(::CopyImage(h32, IMAGE_BITMAP, 0, 0, 0));
    ::DeleteObject(h32);
    return h24;
}

COLORREF DrawnColour(COSMImageManager* pManager, UINT nID, int x = 8, int y = 8)
{
    COSMImageManagerIcon* pIcon = pManager->GetImage(nID, 16);
    if (!pIcon)
        return CLR_INVALID;
    DcTestSurface surface(16, 16, DcTestSurface::RawFill{Argb(0, 250, 250, 250)});
    pIcon->Draw(surface.dc(), 0, 0, pIcon->GetIcon());
    return surface.Pixel(x, y);
}

class CountingPngBitmap : public COSMPngBitmap
{
public:
    BOOL LoadFromFileObject(CFile* pFile) override
    {
        ++m_nDecodes;
        return COSMPngBitmap::LoadFromFileObject(pFile);
    }
    int m_nDecodes = 0;
};

}  // namespace

TEST(ImageLoaders, BitmapFilesLoadAsDdbsOrAsDibSectionsWithAlpha)
{
    std::vector<BYTE> pixels24;
    for (int i = 0; i < 16; ++i)
        pixels24.insert(pixels24.end(), {30, 20, 10});
    const std::string path24 = WriteFile("plain24.bmp", BmpFile(4, 4, 24, pixels24));
    std::vector<BYTE> pixels32;
    for (int i = 0; i < 16; ++i)
        AppendLittle32(pixels32, i == 12 ? Argb(77, 1, 2, 3) : Argb(200, 10, 20, 30));  // (0, 0): first of the top row
    const std::string path32 = WriteFile("alpha32.bmp", BmpFile(4, 4, 32, pixels32));

    EXPECT_FALSE(IsAlphaBitmapFile(path24.c_str()));
    EXPECT_TRUE(IsAlphaBitmapFile(path32.c_str()));
    EXPECT_FALSE(IsPngFile(path32.c_str()));

    BOOL bAlpha = TRUE;
    HBITMAP h24 = LoadImageFile(path24.c_str(), &bAlpha);
    ASSERT_NE(h24, nullptr);
    EXPECT_FALSE(bAlpha);
    EXPECT_FALSE(IsDibSection(h24));
    EXPECT_EQ(ToColorRef(ReadBitmap32(h24)[0]), RGB(10, 20, 30));
    ::DeleteObject(h24);

    bAlpha = FALSE;
    HBITMAP h32 = LoadImageFile(path32.c_str(), &bAlpha);
    ASSERT_NE(h32, nullptr);
    EXPECT_TRUE(bAlpha);
    EXPECT_TRUE(IsDibSection(h32));
    EXPECT_EQ(ReadBitmap32(h32)[0], Argb(77, 1, 2, 3));
    ::DeleteObject(h32);

    const std::string pathPng = WriteFile("file.png", [] {
        PngSpec spec;
        spec.colorType = PNG_COLOR_TYPE_RGBA;
        spec.rows = {5, 6, 7, 99};
        return WritePng(spec);
    }());
    EXPECT_TRUE(IsPngFile(pathPng.c_str()));
    bAlpha = FALSE;
    HBITMAP hPng = LoadImageFile(pathPng.c_str(), &bAlpha);
    ASSERT_NE(hPng, nullptr);
    EXPECT_TRUE(bAlpha);
    EXPECT_EQ(ReadBitmap32(hPng)[0], Argb(99, 5, 6, 7));
    ::DeleteObject(hPng);

    bAlpha = TRUE;
    EXPECT_EQ(LoadImageFile("no-such-image.bmp", &bAlpha), nullptr);
    EXPECT_FALSE(bAlpha);
}

TEST(ImageLoaders, OtherPicturesGoThroughTheSystemLoaderWithoutAlpha)
{
    const HRESULT hrCom = ::CoInitialize(nullptr);
    const std::vector<COLORREF> palette = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 255, 255)};
    const std::string path = WriteFile("picture.gif", GifFile(4, 2, palette, {0, 0, 1, 1, 2, 2, 3, 3}));
    BOOL bAlpha = TRUE;
    HBITMAP hBitmap = LoadImageFile(path.c_str(), &bAlpha);
    ASSERT_NE(hBitmap, nullptr);
    EXPECT_FALSE(bAlpha);
    EXPECT_TRUE(IsDibSection(hBitmap));
    int cx = 0;
    int cy = 0;
    const std::vector<DWORD> pixels = ReadBitmap32(hBitmap, &cx, &cy);
    ASSERT_EQ(cx, 4);
    ASSERT_EQ(cy, 2);
    EXPECT_EQ(ToColorRef(pixels[0]), RGB(255, 0, 0));
    EXPECT_EQ(ToColorRef(pixels[3]), RGB(0, 0, 255));
    EXPECT_EQ(ToColorRef(pixels[7]), RGB(255, 255, 255));
    ::DeleteObject(hBitmap);
    if (SUCCEEDED(hrCom))
        ::CoUninitialize();
}

TEST(ImageLoaders, AlphaBitmapResourcesOfEveryHeaderFormHaveTheirTopLeftPixel)
{
    // The top-left pixel of both is R 10, G 20, B 30 with alpha 40; each stores its channels in other bytes.
    for (UINT nID : {IDB_ALPHA_V5, IDB_ALPHA_BITFIELDS})
    {
        SCOPED_TRACE(nID);
        EXPECT_TRUE(IsAlphaBitmapResource(Program(), MAKEINTRESOURCEA(nID)));
        BOOL bAlpha = FALSE;
        HBITMAP hBitmap = LoadImageResource(Program(), MAKEINTRESOURCEA(nID), &bAlpha);
        ASSERT_NE(hBitmap, nullptr);
        EXPECT_TRUE(bAlpha);
        int cx = 0;
        const std::vector<DWORD> pixels = ReadBitmap32(hBitmap, &cx);
        ASSERT_EQ(pixels.size(), 8u);
        EXPECT_EQ(pixels[0], Argb(40, 10, 20, 30)) << std::hex << pixels[0];
        EXPECT_EQ(pixels[3], Argb(160, 130, 140, 150)) << std::hex << pixels[3];
        EXPECT_EQ(pixels[4], Argb(255, 1, 2, 3)) << std::hex << pixels[4];
        ::DeleteObject(hBitmap);
    }
}

TEST(ImageLoaders, DamagedAlphaBitmapResourcesAreRefused)
{
    for (UINT nID : {IDB_ALPHA_NEGATIVE, IDB_ALPHA_SHORT})
    {
        SCOPED_TRACE(nID);
        EXPECT_TRUE(IsAlphaBitmapResource(Program(), MAKEINTRESOURCEA(nID)));
        EXPECT_EQ(LoadAlphaBitmapResource(Program(), MAKEINTRESOURCEA(nID)), nullptr);
        BOOL bAlpha = FALSE;
        EXPECT_EQ(LoadImageResource(Program(), MAKEINTRESOURCEA(nID), &bAlpha), nullptr);
    }
}

TEST(ImageLoaders, OtherBitmapResourcesLoadWithoutAlpha)
{
    EXPECT_FALSE(IsAlphaBitmapResource(Program(), MAKEINTRESOURCEA(IDB_PLAIN24)));
    BOOL bAlpha = TRUE;
    HBITMAP hBitmap = LoadImageResource(MAKEINTRESOURCEA(IDB_PLAIN24), &bAlpha);
    ASSERT_NE(hBitmap, nullptr);
    EXPECT_FALSE(bAlpha);
    EXPECT_EQ(BitmapSize(hBitmap), CSize(8, 8));
    EXPECT_EQ(ToColorRef(ReadBitmap32(hBitmap)[9]), RGB(0, 128, 255));
    ::DeleteObject(hBitmap);
}

TEST(ImageLoaders, PngResourcesDecodeAndTooShortOnesNeverReachTheDecoder)
{
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = LoadImageResource(Program(), MAKEINTRESOURCEA(IDR_PNG_IMAGE), &bAlpha);
    ASSERT_NE(hBitmap, nullptr);
    EXPECT_TRUE(bAlpha);
    const std::vector<DWORD> pixels = ReadBitmap32(hBitmap);
    ASSERT_EQ(pixels.size(), 4u);
    EXPECT_EQ(pixels[1], Argb(128, 0, 255, 0));
    EXPECT_EQ(pixels[2], Argb(0, 0, 0, 255));
    ::DeleteObject(hBitmap);

    CountingPngBitmap png;
    EXPECT_TRUE(png.LoadFromResource(Program(), MAKEINTRESOURCEA(IDR_PNG_IMAGE)));
    EXPECT_EQ(png.m_nDecodes, 1);
    EXPECT_FALSE(png.LoadFromResource(Program(), MAKEINTRESOURCEA(IDR_PNG_TINY)));
    EXPECT_EQ(png.m_nDecodes, 1);
    EXPECT_EQ(png.m_hObject, nullptr);
    EXPECT_EQ(LoadImageResource(Program(), MAKEINTRESOURCEA(IDR_PNG_TINY), &bAlpha), nullptr);
}

TEST(ImageLoaders, IconFilesGiveTheirFirstThirtyTwoBitImageOfTheWidth)
{
    const std::string path =
        WriteFile("two.ico", IcoFile({{16, 8, IconImage8(16)}, {32, 32, IconImage32(32, Argb(99, 1, 2, 3))}}));
    const struct
    {
        int width;
        int expected;  // 0: nothing
    } cases[] = {{16, 0}, {0, 32}, {32, 32}, {48, 0}};
    for (const auto& c : cases)
    {
        HBITMAP hBitmap = LoadAlphaBitmapFromFile(path.c_str(), c.width);
        if (c.expected == 0)
        {
            EXPECT_EQ(hBitmap, nullptr) << c.width;
            continue;
        }
        ASSERT_NE(hBitmap, nullptr) << c.width;
        EXPECT_EQ(BitmapSize(hBitmap), CSize(c.expected, c.expected));
        EXPECT_EQ(ReadBitmap32(hBitmap)[0], Argb(99, 1, 2, 3));
        ::DeleteObject(hBitmap);
    }
}

TEST(ImageLoaders, DamagedIconFilesAreRefusedWithoutReadingPastTheirData)
{
    const std::vector<BYTE> good = IconImage32(16, Argb(255, 1, 2, 3));
    std::vector<BYTE> cut(good.begin(), good.begin() + 40 + 300);
    const struct
    {
        const char* name;
        std::vector<BYTE> file;
    } cases[] = {
        // The entry claims more bytes than the file holds.
        {"size past the end", IcoFile({{16, 32, good, static_cast<DWORD>(good.size() + 4096)}})},
        {"offset past the end", IcoFile({{16, 32, good, 0, 0x7FFFFFF0}})},
        // The entry's own size is honest, but its header wants more pixels than the entry holds.
        {"short entry", IcoFile({{16, 32, cut}})},
        {"negative height", IcoFile({{16, 32, IconImage32(16, Argb(255, 1, 2, 3), -32)}})},
        {"huge width",
         [&] {
             std::vector<BYTE> image = good;
             image[4] = 0;
             image[5] = 0;
             image[6] = 0;
             image[7] = 0x40;  // 0x40000000 wide: 32-bit products overflow
             return IcoFile({{16, 32, image}});
         }()},
        {"more entries than the file holds", IcoFile({{16, 32, good}}, 4000)},
    };
    for (const auto& c : cases)
    {
        const std::string path = WriteFile("damaged.ico", c.file);
        EXPECT_EQ(LoadAlphaBitmapFromFile(path.c_str(), 0), nullptr) << c.name;
        EXPECT_EQ(LoadAlphaBitmapFromFile(path.c_str(), 16), nullptr) << c.name;
    }
    // The sound entry behind a damaged one is still found.
    const std::string path = WriteFile("mixed.ico", IcoFile({{16, 32, cut}, {16, 32, good}}));
    HBITMAP hBitmap = LoadAlphaBitmapFromFile(path.c_str(), 16);
    ASSERT_NE(hBitmap, nullptr);
    ::DeleteObject(hBitmap);
}

TEST(ImageLoaders, IconResourcesLoadByGroupAndBySize)
{
    RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
    ASSERT_TRUE(pManager->SetIconsFromGroupResource(Program(), MAKEINTRESOURCEA(IDI_TWO_IMAGES), 1, 0, 0));
    COSMImageManagerIconSet* pSet = pManager->LookupIconSet(1);
    ASSERT_NE(pSet, nullptr);
    EXPECT_EQ(pSet->GetIconCount(), 2);
    ASSERT_NE(pSet->GetIcon(32, FALSE), nullptr);
    EXPECT_TRUE(pSet->GetIcon(32, FALSE)->HasAlphaImage());
    ASSERT_NE(pSet->GetIcon(16, FALSE), nullptr);
    EXPECT_FALSE(pSet->GetIcon(16, FALSE)->HasAlphaImage());
    EXPECT_EQ(DrawnColour(pManager.Get(), 1), RGB(0, 128, 128));

    ASSERT_TRUE(pManager->SetIconsFromGroupResource(Program(), MAKEINTRESOURCEA(IDI_TWO_IMAGES), 2, 32, 32));
    EXPECT_EQ(pManager->LookupIconSet(2)->GetIconCount(), 1);
    DcTestSurface surface(32, 32, DcTestSurface::RawFill{Argb(0, 0, 0, 0)});
    COSMImageManagerIcon* pIcon = pManager->GetImage(2, 32);
    pIcon->Draw(surface.dc(), 0, 0, pIcon->GetIcon());
    EXPECT_EQ(surface.Pixel(5, 5), RGB(255, 128, 0));
    EXPECT_TRUE(Near(surface.Pixel(5, 0), RGB(128, 64, 0)));

    EXPECT_TRUE(pManager->SetIconsFromGroupResource(Program(), MAKEINTRESOURCEA(IDI_TWO_IMAGES), 3, 24, 24));
    EXPECT_EQ(pManager->LookupIconSet(3), nullptr);
    EXPECT_TRUE(pManager->LoadIconGroupResource(MAKEINTRESOURCEA(IDI_TWO_IMAGES), 4, 16, 16));
    EXPECT_EQ(pManager->LookupIconSet(4)->GetIconCount(), 1);
    EXPECT_FALSE(pManager->LoadIconGroupResource(MAKEINTRESOURCEA(999), 5, 16, 16));

    COSMImageManagerIconHandle image;
    EXPECT_TRUE(image.LoadFromResource(Program(), MAKEINTRESOURCEA(IDI_TWO_IMAGES), 32, 32, TRUE));
    EXPECT_TRUE(image.IsAlpha());
    EXPECT_TRUE(image.LoadIcon(MAKEINTRESOURCEA(IDI_TWO_IMAGES), 16, 16));
    EXPECT_FALSE(image.IsAlpha());
    EXPECT_EQ(image.GetExtent(), CSize(16, 16));
    EXPECT_FALSE(image.LoadFromResource(Program(), MAKEINTRESOURCEA(IDI_TWO_IMAGES), 20, 20, TRUE));
    // One RT_ICON image whose pixels stop early.
    EXPECT_FALSE(image.LoadFromResource(Program(), MAKEINTRESOURCEA(IDI_SHORT_IMAGE), 16, 16, FALSE));
    EXPECT_TRUE(image.IsEmpty());
    pManager.Reset();
}

TEST(ImageLoaders, AStripOfTenImagesGivesTenIconsMaskedWithTheCornerColour)
{
    std::vector<COLORREF> colors;
    std::vector<UINT> ids;
    for (int i = 0; i < 10; ++i)
    {
        colors.push_back(RGB(20 * i, 255 - 20 * i, 100));
        ids.push_back(100 + i);
    }
    HBITMAP hStrip = ColourStrip(16, colors, RGB(255, 0, 255));
    ASSERT_EQ(BitmapSize(hStrip), CSize(160, 16));
    RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
    ASSERT_TRUE(pManager->AddIconsFromBitmap(hStrip, ids.data(), 10, 16, 16, 0, FALSE));
    for (int i = 0; i < 10; ++i)
    {
        ASSERT_NE(pManager->GetImage(ids[i], 16), nullptr) << i;
        EXPECT_EQ(pManager->GetImage(ids[i], 16)->GetWidth(), 16);
        EXPECT_EQ(DrawnColour(pManager.Get(), ids[i]), colors[i]) << i;
    }
    // The strip's top-left colour is the transparent one; the caller's bitmap is left as it was.
    EXPECT_EQ(DrawnColour(pManager.Get(), ids[0], 0, 0), RGB(250, 250, 250));
    EXPECT_EQ(ToColorRef(ReadBitmap32(hStrip)[0]), RGB(255, 0, 255));

    // A mask colour of the manager's own wins over the corner.
    pManager->SetMaskColor(colors[1]);
    ASSERT_TRUE(pManager->AddIconsFromBitmap(hStrip, nullptr, 0, 16, 16, 0, FALSE));
    EXPECT_EQ(DrawnColour(pManager.Get(), 0, 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(DrawnColour(pManager.Get(), 1), RGB(250, 250, 250));
    EXPECT_EQ(DrawnColour(pManager.Get(), 2), colors[2]);
    EXPECT_EQ(pManager->GetImage(9, 16)->GetID(), 9u);
    ::DeleteObject(hStrip);
    pManager.Reset();
}

TEST(ImageLoaders, SeparatorIdsTakeAnImageOnlyWhenTheStripHasOneForEveryId)
{
    const COLORREF colors[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    const UINT ids[] = {1, 0, 2};
    for (BOOL bAlpha : {FALSE, TRUE})
    {
        for (int nImages : {3, 2})
        {
            SCOPED_TRACE(std::string(bAlpha ? "alpha" : "masked") + ", images: " + std::to_string(nImages));
            std::vector<DWORD> pixels(static_cast<size_t>(16 * nImages) * 16);
            for (size_t i = 0; i < pixels.size(); ++i)
            {
                const COLORREF clr = colors[(i % (16 * nImages)) / 16];
                pixels[i] = Argb(255, GetRValue(clr), GetGValue(clr), GetBValue(clr));
            }
            HBITMAP hStrip = MakeBitmap32(16 * nImages, 16, pixels);
            RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
            pManager->SetMaskColor(RGB(1, 2, 3));
            ASSERT_TRUE(pManager->AddIconsFromBitmap(hStrip, ids, 3, 16, 16, 0, bAlpha));
            EXPECT_EQ(DrawnColour(pManager.Get(), 1), colors[0]);
            if (nImages == 3)
            {
                EXPECT_EQ(DrawnColour(pManager.Get(), 0), colors[1]);
                EXPECT_EQ(DrawnColour(pManager.Get(), 2), colors[2]);
            }
            else
            {
                EXPECT_EQ(pManager->LookupIconSet(0), nullptr);
                EXPECT_EQ(DrawnColour(pManager.Get(), 2), colors[1]);
            }
            EXPECT_EQ(pManager->GetImage(1, 16)->HasAlphaImage(), bAlpha);
            ::DeleteObject(hStrip);
            pManager.Reset();
        }
    }
}

TEST(ImageLoaders, AlphaStripsAreCutWithinBothTheIdsAndTheSlices)
{
    BOOL bAlpha = FALSE;
    HBITMAP hStrip = LoadImageResource(MAKEINTRESOURCEA(IDB_ALPHA_STRIP), &bAlpha);
    ASSERT_NE(hStrip, nullptr);
    ASSERT_TRUE(bAlpha);
    const UINT ids[] = {11, 12, 13, 14, 15};
    const struct
    {
        int count;
        int made;
    } cases[] = {{5, 3}, {2, 2}, {3, 3}};
    for (const auto& c : cases)
    {
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        ASSERT_TRUE(pManager->AddIconsFromBitmap(hStrip, ids, c.count, 16, 16, 0, TRUE));
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(pManager->LookupIconSet(ids[i]) != nullptr, i < c.made) << c.count << " ids, id " << ids[i];
        pManager.Reset();
    }
    // A width that does not divide the strip.
    RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
    EXPECT_FALSE(pManager->AddIconsFromBitmap(hStrip, ids, 3, 20, 16, 0, TRUE));
    EXPECT_EQ(pManager->GetIconSets().GetCount(), 0);
    // Through the resource, with the slices' alpha: green at 200 over black.
    ASSERT_TRUE(pManager->SetIconsFromResourceId(IDB_ALPHA_STRIP, ids, 3, 16, 16));
    EXPECT_TRUE(pManager->GetImage(12, 16)->HasAlphaImage());
    DcTestSurface surface(16, 16, DcTestSurface::RawFill{Argb(255, 0, 0, 0)});
    COSMImageManagerIcon* pIcon = pManager->GetImage(12, 16);
    pIcon->Draw(surface.dc(), 0, 0, pIcon->GetIcon());
    EXPECT_TRUE(Near(surface.Pixel(8, 8), RGB(0, 200, 0)));
    pManager.Reset();
    ::DeleteObject(hStrip);
}

TEST(ImageLoaders, ImageListsGiveTheirImagesInOrderAtTheirOwnSize)
{
    HIMAGELIST hList = ImageList_Create(20, 20, ILC_COLOR24 | ILC_MASK, 2, 1);
    for (COLORREF clr : {RGB(10, 20, 30), RGB(40, 50, 60)})
    {
        HICON hIcon = MakeSolidIcon(20, 20, clr);
        ImageList_AddIcon(hList, hIcon);
        ::DestroyIcon(hIcon);
    }
    RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
    EXPECT_FALSE(pManager->SetIconsFromImageList(nullptr, nullptr, 0, 0, 0));
    ASSERT_TRUE(pManager->SetIconsFromImageList(hList, nullptr, 0, 0, 0));
    ASSERT_NE(pManager->GetImage(1, 20), nullptr);
    EXPECT_EQ(pManager->GetImage(1, 20)->GetWidth(), 20);
    EXPECT_TRUE(pManager->ContainsImage(0, 20));
    // More ids than images: the list runs out.
    const UINT ids[] = {7, 8, 9};
    EXPECT_FALSE(pManager->SetIconsFromImageList(hList, ids, 3, 0, 0));
    ImageList_Destroy(hList);
    pManager.Reset();
}
