// The bad-input harness on image files: PNGs written by libpng's writer, bitmaps and an icon file made from our own
// DIB sections, a run-length bitmap and a GIF built here, cut and mutated by a fixed-seed series. Each result goes
// through LoadImageFile and the two cuts hosts make of the bitmap (one markup icon, a strip of toolbar icons), and
// through a markup Image that names the file; a file is loaded within the image limits or refused with a reason the
// caller reads, nothing crashes, hangs or takes more than two seconds, and nothing is left behind.
#include "GdiObjectCount.h"
#include "ImageInputChecks.h"
#include "ImageTestSupport.h"
#include "MarkupHostRun.h"

#include "FuzzHarness.h"
#include "framework/foundation/ImageFileChecks.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/markup/MarkupObject.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace image_test;

namespace {

const char kFuzzFile[] = "fuzz-image-input.img";

// A 32-bit DIB section of our own, a gradient with a soft edge of alpha.
HBITMAP MakeGradient(int cx, int cy)
{
    void* bits = nullptr;
    HBITMAP bitmap = CreateAlphaDIBSection(nullptr, cx, cy, &bits);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < cy; ++y)
    {
        for (int x = 0; x < cx; ++x)
        {
            const BYTE alpha = static_cast<BYTE>(x == 0 ? 0x40 : 0xFF);
            pixels[y * cx + x] = Argb(alpha, static_cast<BYTE>(x * 255 / cx) * alpha / 255,
                                      static_cast<BYTE>(y * 255 / cy) * alpha / 255, 0x80 * alpha / 255);
        }
    }
    return bitmap;
}

// The packed DIB (info block and pixels) GetBitmapDIBData makes of the bitmap.
std::vector<BYTE> PackedDib(HBITMAP bitmap, int* infoSize = nullptr)
{
    BITMAPINFO* info = nullptr;
    int nInfo = 0;
    LPBYTE pixels = nullptr;
    int nPixels = 0;
    std::vector<BYTE> out;
    if (GetBitmapDIBData(bitmap, info, nInfo, pixels, nPixels))
    {
        out.assign(reinterpret_cast<BYTE*>(info), reinterpret_cast<BYTE*>(info) + nInfo);
        out.insert(out.end(), pixels, pixels + nPixels);
        std::free(info);
        std::free(pixels);
    }
    if (infoSize)
        *infoSize = nInfo;
    return out;
}

std::vector<BYTE> BitmapFile(HBITMAP bitmap)
{
    int infoSize = 0;
    const std::vector<BYTE> dib = PackedDib(bitmap, &infoSize);
    std::vector<BYTE> out = {'B', 'M'};
    AppendLittle32(out, static_cast<DWORD>(14 + dib.size()));
    AppendLittle32(out, 0);
    AppendLittle32(out, static_cast<DWORD>(14 + infoSize));
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

// An icon file of one 32-bit image: the directory, then the image's packed DIB of double height and its mask.
std::vector<BYTE> IconFile(HBITMAP bitmap, int side)
{
    std::vector<BYTE> dib = PackedDib(bitmap);
    // The stored height counts the colour rows and the mask rows.
    const DWORD doubled = static_cast<DWORD>(side * 2);
    for (int i = 0; i < 4; ++i)
        dib[8 + i] = static_cast<BYTE>(doubled >> (8 * i));
    dib.insert(dib.end(), static_cast<size_t>(side) * ((side + 31) / 32 * 4), 0);
    std::vector<BYTE> out;
    AppendLittle16(out, 0);
    AppendLittle16(out, 1);
    AppendLittle16(out, 1);
    out.insert(out.end(), {static_cast<BYTE>(side), static_cast<BYTE>(side), 0, 0});
    AppendLittle16(out, 1);
    AppendLittle16(out, 32);
    AppendLittle32(out, static_cast<DWORD>(dib.size()));
    AppendLittle32(out, 6 + 16);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

// An 8-bit run-length bitmap of 16 x 4: runs, a literal run, an end of line and the end of the bitmap.
std::vector<BYTE> RunLengthFile()
{
    const std::vector<BYTE> runs = {16, 1, 0, 0, 8, 2, 0, 4, 1, 2, 3, 1, 4, 3, 0, 0, 16, 0, 0, 0, 16, 3, 0, 1};
    std::vector<BYTE> out = {'B', 'M'};
    AppendLittle32(out, static_cast<DWORD>(14 + 40 + 16 + runs.size()));
    AppendLittle32(out, 0);
    AppendLittle32(out, 14 + 40 + 16);
    AppendInfoHeader(out, 16, 4, 8, BI_RLE8);
    out[14 + 20] = static_cast<BYTE>(runs.size());  // the size of the runs
    out[14 + 32] = 4;                               // colours used
    for (DWORD colour : {0x000000u, 0xFF0000u, 0x00FF00u, 0x0000FFu})
        AppendLittle32(out, colour);
    out.insert(out.end(), runs.begin(), runs.end());
    return out;
}

// A GIF of one 2 x 2 frame: the screen, a global table of four colours, a comment, a graphic control block, the frame
// and its data (clear, four pixels of colour 0, end).
std::vector<BYTE> GifFile()
{
    std::vector<BYTE> out = {'G', 'I', 'F', '8', '9', 'a'};
    AppendLittle16(out, 2);
    AppendLittle16(out, 2);
    out.insert(out.end(), {0x81, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    out.insert(out.end(), {0x21, 0xFE, 3, 'o', 's', 'm', 0});
    out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, 3, 0});
    out.push_back(0x2C);
    AppendLittle16(out, 0);
    AppendLittle16(out, 0);
    AppendLittle16(out, 2);
    AppendLittle16(out, 2);
    out.push_back(0);
    out.insert(out.end(), {2, 2, 0x84, 0x51, 0});
    out.push_back(0x3B);
    return out;
}

std::vector<fuzz::Bytes> ImageCorpus()
{
    std::vector<fuzz::Bytes> corpus;
    PngSpec rgba;
    rgba.width = 4;
    rgba.height = 4;
    rgba.colorType = PNG_COLOR_TYPE_RGBA;
    for (int i = 0; i < 16; ++i)
        rgba.rows.insert(rgba.rows.end(), {static_cast<BYTE>(i * 16), 0x40, 0x80, static_cast<BYTE>(255 - i)});
    corpus.push_back(WritePng(rgba));
    PngSpec palette;
    palette.width = 8;
    palette.height = 2;
    palette.bitDepth = 2;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    palette.transparency = {0, 128};
    palette.rows = {0x1B, 0xE4, 0xE4, 0x1B};
    corpus.push_back(WritePng(palette));
    PngSpec grey;
    grey.width = 3;
    grey.height = 3;
    grey.bitDepth = 16;
    grey.colorType = PNG_COLOR_TYPE_GRAY;
    grey.interlaced = true;
    grey.rows.assign(18, 0x7F);
    corpus.push_back(WritePng(grey));

    HBITMAP strip = MakeGradient(48, 16);
    corpus.push_back(BitmapFile(strip));
    ::DeleteObject(strip);
    HBITMAP icon = MakeGradient(16, 16);
    corpus.push_back(IconFile(icon, 16));
    ::DeleteObject(icon);
    corpus.push_back(RunLengthFile());
    corpus.push_back(GifFile());
    return corpus;
}

class ComScope
{
public:
    ComScope() : m_hr(::CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_hr))
            ::CoUninitialize();
    }

private:
    HRESULT m_hr;
};

// A file's way through the loader and the markup Image: "" when it loaded within the limits, or was refused with a
// reason, and the managers it reached were left as they were.
std::string LoadAsHost(const fuzz::Bytes& bytes)
{
    WriteFile(kFuzzFile, bytes);
    const image_input::FileOutcome outcome = image_input::LoadFileAsHost(kFuzzFile);
    std::string what;
    if (outcome.loaded)
    {
        if (outcome.size.cx <= 0 || outcome.size.cy <= 0 || outcome.size.cx > kOsmMaxImageSide ||
            outcome.size.cy > kOsmMaxImageSide)
            what = "loaded a bitmap of " + std::to_string(outcome.size.cx) + " x " + std::to_string(outcome.size.cy);
    }
    else if (outcome.error == ERROR_SUCCESS)
    {
        what = "refused without a reason";
    }
    if (!outcome.managersUnchanged)
        what += (what.empty() ? "" : "; ") + std::string("a refused cut changed its manager");
    markup_test::RunMarkupAsHost(std::string("<Image Source='file://") + kFuzzFile + "' Width='32' Height='32'/>");
    return what;
}

TEST(ImageFileFuzz, TheCorpusLoadsWhole)
{
    const ComScope com;
    const std::vector<fuzz::Bytes> corpus = ImageCorpus();
    ASSERT_EQ(7u, corpus.size());
    for (size_t i = 0; i < corpus.size(); ++i)
    {
        ASSERT_FALSE(corpus[i].empty()) << i;
        WriteFile(kFuzzFile, corpus[i]);
        const image_input::FileOutcome outcome = image_input::LoadFileAsHost(kFuzzFile);
        EXPECT_TRUE(outcome.loaded) << "corpus entry " << i << ": error " << outcome.error;
        EXPECT_TRUE(outcome.markupIcon) << i;
    }
    ::DeleteFileA(kFuzzFile);
}

TEST(ImageFileFuzz, MutatedFilesNeitherCrashHangNorLeak)
{
    const ComScope com;
    fuzz::Harness harness("image-file", fuzz::RunSettings::FromEnvironment(20261213u, 600));
    harness.SetDictionary({"BM", "\x89PNG\r\n\x1A\n", "IHDR", "IDAT", "PLTE", "tRNS", "IEND", "GIF89a", "GIF87a",
                           std::string("\0\0\1\0", 4), std::string("\xFF\xD8\xFF", 3), std::string("\x2C", 1),
                           std::string("\x21\xF9", 2), std::string("\x3B", 1)});
    harness.AddCounter("markup objects", [] { return static_cast<long long>(COSMMarkupObject::GetLiveObjectCount()); });
    const std::vector<fuzz::Failure> failures = harness.Run(ImageCorpus(), &LoadAsHost);
    EXPECT_TRUE(failures.empty()) << fuzz::Describe(failures);
    EXPECT_GT(harness.InputsRun(), 0);
    ::DeleteFileA(kFuzzFile);
}

}  // namespace
