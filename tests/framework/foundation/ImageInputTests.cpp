// Image files the framework did not make: files made to crash or hang a reader (kept under
// fixtures/bad-input), bitmap headers damaged one field at a time, files whose names lie about their format, GIF
// and JPEG headers before the system's picture loader sees them, every bitmap form a sound file may take, and
// strips cut into icons. Each is refused with a reason the caller reads, or loaded with its pixels, within a bound
// and without leaving a GDI object behind.
#include <gtest/gtest.h>

#include "ImageInputChecks.h"
#include "ImageTestSupport.h"
#include "framework/foundation/ImageFileChecks.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageLoaders.h"
#include "framework/foundation/ImageManager.h"
#include "platform/classlib/RefPtr.h"

#include <objbase.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace image_test;
using namespace image_input;

namespace {

// The old loaders took tens of seconds, or for ever, on several reproducers; a loaded two-core machine takes well
// under a second for any of them now. The limit is the bad-input harness's (fuzz::Harness::kInputSeconds).
const double kReproducerSeconds = 2.0;

// What a load may leave committed, and touch on its way, beyond the bitmap it gives: the heap keeps a few pages.
const long long kMemoryLeftBehind = 4 * kMegabyte;
const long long kMemoryTouched = 16 * kMegabyte;

// A bitmap file: the file header, a 40-byte info header (or the 12-byte core one), a colour table, then the pixels
// at the offset the file header gives.
struct BmpSpec
{
    LONG width = 4;
    LONG height = 4;
    WORD bitCount = 8;
    DWORD compression = BI_RGB;
    DWORD headerSize = 40;
    WORD planes = 1;
    DWORD colorsUsed = 0;
    DWORD sizeImage = 0;
    std::vector<DWORD> table;  // colours (0x00RRGGBB) or, for BI_BITFIELDS, the masks
    std::vector<BYTE> pixels;
    LONGLONG offsetShift = 0;  // added to the true pixel offset
};

std::vector<BYTE> BmpBytes(const BmpSpec& spec)
{
    std::vector<BYTE> info;
    if (spec.headerSize == 12)
    {
        AppendLittle32(info, 12);
        AppendLittle16(info, static_cast<WORD>(spec.width));
        AppendLittle16(info, static_cast<WORD>(spec.height));
        AppendLittle16(info, spec.planes);
        AppendLittle16(info, spec.bitCount);
        for (DWORD color : spec.table)
            info.insert(info.end(),
                        {static_cast<BYTE>(color), static_cast<BYTE>(color >> 8), static_cast<BYTE>(color >> 16)});
    }
    else
    {
        AppendLittle32(info, spec.headerSize);
        AppendLittle32(info, static_cast<DWORD>(spec.width));
        AppendLittle32(info, static_cast<DWORD>(spec.height));
        AppendLittle16(info, spec.planes);
        AppendLittle16(info, spec.bitCount);
        AppendLittle32(info, spec.compression);
        AppendLittle32(info, spec.sizeImage);
        AppendLittle32(info, 2835);
        AppendLittle32(info, 2835);
        AppendLittle32(info, spec.colorsUsed);
        AppendLittle32(info, 0);
        info.resize(spec.headerSize, 0);
        for (DWORD entry : spec.table)
            AppendLittle32(info, entry);
    }
    std::vector<BYTE> out = {'B', 'M'};
    AppendLittle32(out, static_cast<DWORD>(14 + info.size() + spec.pixels.size()));
    AppendLittle32(out, 0);
    AppendLittle32(out, static_cast<DWORD>(14 + static_cast<LONGLONG>(info.size()) + spec.offsetShift));
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), spec.pixels.begin(), spec.pixels.end());
    return out;
}

// A sound 4 x 4 file of 8 bits: four grey colours, rows 4-byte aligned already.
BmpSpec Sound8()
{
    BmpSpec spec;
    spec.table = {0x000000, 0x404040, 0x808080, 0xFFFFFF};
    spec.colorsUsed = 4;
    spec.pixels.assign(16, 3);
    return spec;
}

OsmImageCheck CheckBytes(const std::vector<BYTE>& bytes)
{
    OSM_BITMAP_FILE_LAYOUT layout;
    const size_t nHead = bytes.size() < kOsmImageHeadBytes ? bytes.size() : kOsmImageHeadBytes;
    return CheckBitmapFile(bytes.data(), nHead, bytes.size(), layout);
}

// The pixel of a bitmap at (x, y) from its top-left, as a COLORREF.
COLORREF PixelAt(HBITMAP bitmap, int x, int y)
{
    int cx = 0;
    int cy = 0;
    const std::vector<DWORD> pixels = ReadBitmap32(bitmap, &cx, &cy);
    if (x >= cx || y >= cy)
        return CLR_INVALID;
    return ToColorRef(pixels[static_cast<size_t>(y) * cx + x]);
}

// ---- PNG chunks ----------------------------------------------------------------------------------------------------

std::vector<BYTE> PngChunk(const char* type, const std::vector<BYTE>& data)
{
    std::vector<BYTE> out;
    AppendPngChunk(out, type, data);
    return out;
}

std::vector<BYTE> Text(const char* text, bool terminated = false)
{
    std::vector<BYTE> out(text, text + std::strlen(text));
    if (terminated)
        out.push_back(0);
    return out;
}

std::vector<BYTE> operator+(std::vector<BYTE> a, const std::vector<BYTE>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A zlib stream of nZeros zero bytes followed by the text, made a megabyte at a time so that the test itself never
// holds what the stream inflates to.
std::vector<BYTE> Deflated(size_t nZeros, const std::vector<BYTE>& text)
{
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    const std::vector<BYTE> zeros(kMegabyte, 0);
    std::vector<BYTE> out;
    BYTE buffer[16384];
    auto pump = [&](const BYTE* in, size_t n, int flush) {
        stream.next_in = const_cast<Bytef*>(in);
        stream.avail_in = static_cast<uInt>(n);
        do
        {
            stream.next_out = buffer;
            stream.avail_out = sizeof(buffer);
            deflate(&stream, flush);
            out.insert(out.end(), buffer, buffer + (sizeof(buffer) - stream.avail_out));
        } while (stream.avail_out == 0);
    };
    for (size_t done = 0; done < nZeros; done += zeros.size())
        pump(zeros.data(), std::min(zeros.size(), nZeros - done), Z_NO_FLUSH);
    pump(text.data(), text.size(), Z_FINISH);
    deflateEnd(&stream);
    return out;
}

// A 3 x 2 RGBA image of six distinct pixels, written by libpng, and its pixels as the loader gives them.
PngSpec SixPixels()
{
    PngSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.colorType = PNG_COLOR_TYPE_RGBA;
    for (BYTE i = 0; i < 6; ++i)
        spec.rows.insert(spec.rows.end(), {static_cast<BYTE>(40 * i), static_cast<BYTE>(250 - 30 * i), 0x55,
                                           static_cast<BYTE>(255 - i)});
    return spec;
}

std::vector<DWORD> SixPixelsLoaded()
{
    std::vector<DWORD> pixels;
    for (BYTE i = 0; i < 6; ++i)
        pixels.push_back(
            Argb(static_cast<BYTE>(255 - i), static_cast<BYTE>(40 * i), static_cast<BYTE>(250 - 30 * i), 0x55));
    return pixels;
}

// The PNG with chunks put after its header and after its image data (before IEND).
std::vector<BYTE> WithChunks(const std::vector<BYTE>& png, const std::vector<BYTE>& afterHeader,
                             const std::vector<BYTE>& afterData)
{
    const size_t nHeaderEnd = 8 + 8 + 13 + 4;
    const size_t nEndChunk = 12;
    std::vector<BYTE> out(png.begin(), png.begin() + nHeaderEnd);
    out = out + afterHeader + std::vector<BYTE>(png.begin() + nHeaderEnd, png.end() - nEndChunk) + afterData;
    out.insert(out.end(), png.end() - nEndChunk, png.end());
    return out;
}

// The PNG with a tEXt chunk of nBytes after its header, written to the file a megabyte at a time: the test itself
// never holds the text.
std::string WriteWithLongText(const std::string& name, const std::vector<BYTE>& png, size_t nBytes)
{
    const size_t nHeaderEnd = 8 + 8 + 13 + 4;
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), nHeaderEnd);
    std::vector<BYTE> head;
    AppendBigEndian(head, static_cast<DWORD>(nBytes));
    const std::vector<BYTE> typeAndKey = Text("tEXtComment", true);
    head.insert(head.end(), typeAndKey.begin(), typeAndKey.end());
    out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
    uLong crc = crc32(0, head.data() + 4, static_cast<uInt>(head.size() - 4));
    const std::vector<BYTE> letters(kMegabyte, 'x');
    for (size_t done = typeAndKey.size() - 4; done < nBytes;)
    {
        const size_t n = std::min(letters.size(), nBytes - done);
        out.write(reinterpret_cast<const char*>(letters.data()), static_cast<std::streamsize>(n));
        crc = crc32(crc, letters.data(), static_cast<uInt>(n));
        done += n;
    }
    std::vector<BYTE> tail;
    AppendBigEndian(tail, static_cast<DWORD>(crc));
    tail.insert(tail.end(), png.begin() + nHeaderEnd, png.end());
    out.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
    return name;
}

// The PNG's header claiming another size (its CRC made right again).
std::vector<BYTE> WithSize(std::vector<BYTE> png, DWORD width, DWORD height)
{
    std::vector<BYTE> fields;
    AppendBigEndian(fields, width);
    AppendBigEndian(fields, height);
    std::copy(fields.begin(), fields.end(), png.begin() + 16);
    std::vector<BYTE> crc;
    AppendBigEndian(crc, static_cast<DWORD>(crc32(0, png.data() + 12, 4 + 13)));
    std::copy(crc.begin(), crc.end(), png.begin() + 8 + 8 + 13);
    return png;
}

// ---- GIF and JPEG --------------------------------------------------------------------------------------------------

struct GifFrame
{
    WORD left;
    WORD top;
    WORD width;
    WORD height;
};

// A GIF: the screen, a global table of red and blue, a comment, then each frame after a graphic control block, with
// the data of a 2 x 2 frame of red (clear, four pixels of colour 0, end), and the trailer.
std::vector<BYTE> Gif(WORD screenW, WORD screenH, const std::vector<GifFrame>& frames)
{
    std::vector<BYTE> out = {'G', 'I', 'F', '8', '9', 'a'};
    AppendLittle16(out, screenW);
    AppendLittle16(out, screenH);
    out.insert(out.end(), {0x80, 0, 0, 255, 0, 0, 0, 0, 255});
    out.insert(out.end(), {0x21, 0xFE, 3, 'h', 'i', '!', 0});
    for (const GifFrame& frame : frames)
    {
        out.insert(out.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0});
        out.push_back(0x2C);
        AppendLittle16(out, frame.left);
        AppendLittle16(out, frame.top);
        AppendLittle16(out, frame.width);
        AppendLittle16(out, frame.height);
        out.push_back(0);
        out.insert(out.end(), {2, 2, 0x84, 0x51, 0});
    }
    out.push_back(0x3B);
    return out;
}

std::vector<BYTE> JpegFrameHeader(BYTE marker, WORD width, WORD height)
{
    return {0xFF,
            marker,
            0,
            11,
            8,
            static_cast<BYTE>(height >> 8),
            static_cast<BYTE>(height),
            static_cast<BYTE>(width >> 8),
            static_cast<BYTE>(width),
            1,
            1,
            0x11,
            0};
}

// A JPEG's start: SOI and an APP0 segment.
std::vector<BYTE> JpegStart()
{
    return {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
}

// A scan header and scan data with a stuffed zero byte, a restart marker and fill bytes in it.
std::vector<BYTE> JpegScan()
{
    return {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0, 0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0x56, 0xFF, 0xFF};
}

std::vector<BYTE> JpegEnd()
{
    return {0xFF, 0xD9};
}

}  // namespace

// The first tests of the program: a peak of the working set only shows the pages a load touched beyond the most the
// process ever had, and the later tests' files are refused before they touch anything either.

TEST(PngChunks, ChunksTheDecodeDoesNotUseArePassedOverWithoutBeingAllocated)
{
    const std::vector<BYTE> png = WritePng(SixPixels());
    ASSERT_FALSE(png.empty());
    const std::vector<BYTE> none;
    const std::vector<BYTE> method = {0};
    const std::vector<BYTE> compressedFlags = {1, 0};
    const std::vector<BYTE> ordinary =
        PngChunk("tEXt", Text("Title", true) + Text("Six pixels")) +
        PngChunk("zTXt", Text("Comment", true) + method + Deflated(0, Text("made by a test"))) +
        PngChunk("iTXt", Text("Description", true) + compressedFlags + Text("en", true) + Text("", true) +
                             Deflated(0, Text("six pixels in two rows"))) +
        PngChunk("eXIf", {'M', 'M', 0, 42, 0, 0, 0, 8}) + PngChunk("osMb", Text("our own ancillary data"));
    // Each inflates to 64 MB, a thousand times what any chunk may take.
    const std::vector<BYTE> inflatesFar =
        PngChunk("zTXt", Text("Bomb", true) + method + Deflated(64 * kMegabyte, Text("end")));
    const std::vector<BYTE> inflatesFarInternational =
        PngChunk("iTXt", Text("Bomb", true) + compressedFlags + Text("", true) + Text("", true) +
                             Deflated(64 * kMegabyte, Text("end")));
    // A text chunk whose length says 256 MB, followed by the image's own chunks and nothing more.
    std::vector<BYTE> claimsMore = PngChunk("tEXt", Text("Title", true) + Text("cut"));
    claimsMore[0] = 0x10;
    const struct
    {
        const char* name;
        std::vector<BYTE> afterHeader;
        std::vector<BYTE> afterData;
        DWORD error;
    } cases[] = {
        {"no other chunk", none, none, ERROR_SUCCESS},
        {"text, Exif and our own chunk before the image data", ordinary, none, ERROR_SUCCESS},
        {"text, Exif and our own chunk after the image data", none, ordinary, ERROR_SUCCESS},
        {"zTXt inflating to 64 MB", inflatesFar, none, ERROR_SUCCESS},
        {"iTXt inflating to 64 MB, after the image data", none, inflatesFarInternational, ERROR_SUCCESS},
        {"tEXt claiming 256 MB of a short file", claimsMore, none, ERROR_BAD_FORMAT},
        {"a critical chunk the decoder does not know", PngChunk("OsMb", Text("must be understood")), none,
         ERROR_BAD_FORMAT},
    };
    auto check = [](const std::string& path, DWORD error) {
        const ProcessMemory before = MeasureProcessMemory();
        const Stopwatch watch;
        BOOL alpha = FALSE;
        ::SetLastError(ERROR_SUCCESS);
        HBITMAP bitmap = LoadImageFile(path.c_str(), &alpha);
        EXPECT_EQ(bitmap ? ERROR_SUCCESS : ::GetLastError(), error);
        if (bitmap)
        {
            EXPECT_TRUE(alpha);
            EXPECT_EQ(ReadBitmap32(bitmap), SixPixelsLoaded());
            ::DeleteObject(bitmap);
        }
        EXPECT_LT(watch.Seconds(), kReproducerSeconds);
        const ProcessMemory after = MeasureProcessMemory();
        EXPECT_LT(after.committedBytes - before.committedBytes, kMemoryLeftBehind);
        EXPECT_LT(after.peakWorkingSet - before.peakWorkingSet, kMemoryTouched);
    };
    {
        // A text chunk that really holds 24 MB, read past a kilobyte at a time (first: it touches the least of
        // what the cases would touch if they were read whole).
        SCOPED_TRACE("tEXt of 24 MB");
        check(WriteWithLongText("chunks.png", png, 24 * kMegabyte), ERROR_SUCCESS);
    }
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        check(WriteFile("chunks.png", WithChunks(png, c.afterHeader, c.afterData)), c.error);
    }
    ::DeleteFileA("chunks.png");
}

TEST(ImageFileInput, ReproducersThatOnceTookGigabytesLeaveTheProcessMemoryWhereItWas)
{
    const ComScope com;
    // The system's picture loader and libpng set themselves up on first use.
    ASSERT_TRUE(LoadFileAsHost(WriteFile("warm-up.gif", Gif(2, 2, {{0, 0, 2, 2}}))).loaded);
    ASSERT_TRUE(LoadFileAsHost(WriteFile("warm-up.png", WritePng(SixPixels()))).loaded);
    ::DeleteFileA("warm-up.gif");
    ::DeleteFileA("warm-up.png");
    // Text chunks that claimed 256 MB and 2 GB made libpng allocate and clear that much before it found the data
    // ended; a second frame of 16384 x 16384 reached the system's picture loader, which kept 256 MB each time, and
    // so did a frame of 4096 x 4096 whose codes end after a few pixels: the decoder fails on it and keeps 16 MB.
    const struct
    {
        const char* file;
        DWORD error;
    } cases[] = {
        {"png_ztxt_chunk_len_256MB.png", ERROR_BAD_FORMAT},
        {"png_text_chunk_len_2GB.png", ERROR_BAD_FORMAT},
        {"gif_second_frame_16384x16384.gif", ERROR_FILE_TOO_LARGE},
        {"gif_frame_4096x4096_codes_end_early.gif", ERROR_BAD_FORMAT},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        const ProcessMemory before = MeasureProcessMemory();
        for (int round = 0; round < 2; ++round)
        {
            const FileOutcome outcome = LoadFileAsHost(BadInputFixture(c.file));
            EXPECT_FALSE(outcome.loaded);
            EXPECT_EQ(outcome.error, c.error);
            EXPECT_LT(outcome.seconds, kReproducerSeconds);
        }
        const ProcessMemory after = MeasureProcessMemory();
        EXPECT_LT(after.committedBytes - before.committedBytes, kMemoryLeftBehind);
        EXPECT_LT(after.peakWorkingSet - before.peakWorkingSet, kMemoryTouched);
    }
}

TEST(ImageFileInput, APngHeaderBeyondTheLimitsIsRefusedAsTooLarge)
{
    const std::vector<BYTE> png = WritePng(SixPixels());
    const struct
    {
        DWORD width;
        DWORD height;
        DWORD error;
    } cases[] = {
        {3, 2, ERROR_SUCCESS},
        {16385, 1, ERROR_FILE_TOO_LARGE},
        {4097, 4097, ERROR_FILE_TOO_LARGE},
        {0x7FFFFFFF, 0x7FFFFFFF, ERROR_FILE_TOO_LARGE},
        {0, 2, ERROR_BAD_FORMAT},
        {0x80000000u, 1, ERROR_BAD_FORMAT},  // PNG sizes have 31 bits
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const std::vector<BYTE> bytes = WithSize(png, c.width, c.height);
        EXPECT_EQ(ImageCheckError(CheckPngHeader(bytes.data(), bytes.size())), c.error);
        const FileOutcome outcome = LoadFileAsHost(WriteFile("header.png", bytes));
        EXPECT_EQ(outcome.loaded, c.error == ERROR_SUCCESS);
        EXPECT_EQ(outcome.error, c.error);
    }
    // Cut inside its header.
    EXPECT_EQ(CheckPngHeader(png.data(), 8 + 8 + 12), OsmImageCheck::Damaged);
    ::DeleteFileA("header.png");
}

TEST(ImageFileInput, EveryReproducerIsRefusedWithItsReasonWithinABoundAndLeavesNoGdiObject)
{
    const ComScope com;
    const struct
    {
        const char* file;
        DWORD error;
    } cases[] = {
        {"loadimage_bmp32_offset_past_end.bmp", ERROR_BAD_FORMAT},
        {"loadimage_bmp32_short_pixels.bmp", ERROR_BAD_FORMAT},
        {"olepicture_9b.png", ERROR_BAD_FORMAT},
        {"olepicture_createdibitmap_33b.bmp", ERROR_BAD_FORMAT},
        {"olepicture_icon.ico", ERROR_BAD_FORMAT},
        {"markup_image_valid_rle8_16x16000000.bmp", ERROR_FILE_TOO_LARGE},
        {"markup_image_valid_rle8_2048x40000.bmp", ERROR_FILE_TOO_LARGE},
        {"bmp_58b_width_33554431.bmp", ERROR_BAD_FORMAT},  // its width field is negative
        {"bmp_core_21321x21569.bmp", ERROR_BAD_FORMAT},    // its core header says 8 planes
        {"png_text_chunk_len_2GB.png", ERROR_BAD_FORMAT},  // the file ends where its text should begin
        {"png_ztxt_chunk_len_256MB.png", ERROR_BAD_FORMAT},
        {"gif_second_frame_16384x16384.gif", ERROR_FILE_TOO_LARGE},
        {"gif_frame_4096x4096_codes_end_early.gif", ERROR_BAD_FORMAT},
    };
    auto runAll = [&] {
        for (const auto& c : cases)
        {
            SCOPED_TRACE(c.file);
            const FileOutcome outcome = LoadFileAsHost(BadInputFixture(c.file));
            EXPECT_FALSE(outcome.loaded);
            EXPECT_EQ(outcome.error, c.error);
            EXPECT_LT(outcome.seconds, kReproducerSeconds);
        }
    };
    runAll();  // what the process sets up on first use is made in this round
    const std::set<WORD> before = GdiUsage();
    runAll();
    EXPECT_EQ(GdiSlotsTakenSince(before), 0u);
}

TEST(ImageFileInput, TheReproducersClaimedSizesInSoundHeadersAreRefusedBeforeTheirPixelsAreRead)
{
    // The sizes the reproducers were after, in headers otherwise sound: refused as too large, whatever the file holds.
    BmpSpec wide;
    wide.width = 33554431;
    wide.height = 1;
    wide.bitCount = 24;
    wide.pixels.assign(4, 0);
    BmpSpec core;
    core.headerSize = 12;
    core.width = 21321;
    core.height = 21569;
    core.table.assign(256, 0x808080);
    core.pixels.assign(862, 1);
    BmpSpec rle = Sound8();
    rle.compression = BI_RLE8;
    rle.width = 16;
    rle.height = 16000000;
    rle.pixels = {0, 1};
    for (const BmpSpec& spec : {wide, core, rle})
    {
        const std::vector<BYTE> bytes = BmpBytes(spec);
        EXPECT_EQ(CheckName(CheckBytes(bytes)), std::string("too large")) << spec.width << " x " << spec.height;
        const FileOutcome outcome = LoadFileAsHost(WriteFile("claimed-size.bmp", bytes));
        EXPECT_FALSE(outcome.loaded);
        EXPECT_EQ(outcome.error, static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    }
    ::DeleteFileA("claimed-size.bmp");
}

TEST(ImageFileInput, EveryHeaderOffsetAndSizeIsCheckedAgainstTheFile)
{
    const struct
    {
        const char* name;
        std::function<void(BmpSpec&)> change;
        std::function<void(std::vector<BYTE>&)> damage;
        const char* expected;
    } cases[] = {
        {"sound", nullptr, nullptr, "ok"},
        {"pixel offset past the end", [](BmpSpec& s) { s.offsetShift = 0xFFFFFF00; }, nullptr, "damaged"},
        {"pixel offset inside the colour table", [](BmpSpec& s) { s.offsetShift = -4; }, nullptr, "damaged"},
        {"pixels one byte short", nullptr, [](std::vector<BYTE>& b) { b.pop_back(); }, "damaged"},
        {"file ends inside the header", nullptr, [](std::vector<BYTE>& b) { b.resize(40); }, "damaged"},
        {"file ends inside the colour table", nullptr, [](std::vector<BYTE>& b) { b.resize(14 + 40 + 6); }, "damaged"},
        {"header size 64", [](BmpSpec& s) { s.headerSize = 64; }, nullptr, "damaged"},
        {"two planes", [](BmpSpec& s) { s.planes = 2; }, nullptr, "damaged"},
        {"7 bits a pixel", [](BmpSpec& s) { s.bitCount = 7; }, nullptr, "damaged"},
        {"257 colours used", [](BmpSpec& s) { s.colorsUsed = 257; }, nullptr, "damaged"},
        {"width 0", [](BmpSpec& s) { s.width = 0; }, nullptr, "damaged"},
        {"height 0", [](BmpSpec& s) { s.height = 0; }, nullptr, "damaged"},
        {"negative width", [](BmpSpec& s) { s.width = -4; }, nullptr, "damaged"},
        {"JPEG inside", [](BmpSpec& s) { s.compression = BI_JPEG; }, nullptr, "damaged"},
        {"run-length top-down",
         [](BmpSpec& s) {
             s.compression = BI_RLE8;
             s.height = -4;
         },
         nullptr, "damaged"},
        {"run-length size past the end",
         [](BmpSpec& s) {
             s.compression = BI_RLE8;
             s.sizeImage = 17;
         },
         nullptr, "damaged"},
        {"masks past the end",
         [](BmpSpec& s) {
             s.bitCount = 16;
             s.compression = BI_BITFIELDS;
             s.table.clear();
             s.colorsUsed = 0;
             s.pixels.clear();
         },
         nullptr, "damaged"},
        {"a side of 16385", [](BmpSpec& s) { s.width = 16385; }, nullptr, "too large"},
        {"4097 x 4097 pixels", [](BmpSpec& s) { s.width = s.height = 4097; }, nullptr, "too large"},
        {"16384 x 1024 pixels, short of its rows", [](BmpSpec& s) { s.width = 16384, s.height = 1024; }, nullptr,
         "damaged"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        BmpSpec spec = Sound8();
        if (c.change)
            c.change(spec);
        std::vector<BYTE> bytes = BmpBytes(spec);
        if (c.damage)
            c.damage(bytes);
        EXPECT_EQ(CheckName(CheckBytes(bytes)), std::string(c.expected));
        const FileOutcome outcome = LoadFileAsHost(WriteFile("header-case.bmp", bytes));
        EXPECT_EQ(outcome.loaded, std::string(c.expected) == "ok");
        if (!outcome.loaded)
        {
            EXPECT_EQ(outcome.error, static_cast<DWORD>(std::string(c.expected) == "too large" ? ERROR_FILE_TOO_LARGE
                                                                                               : ERROR_BAD_FORMAT));
        }
    }
    ::DeleteFileA("header-case.bmp");
}

TEST(ImageFileInput, EveryBitmapFormLoadsWithItsPixels)
{
    // Each draws red at its top-left pixel and blue at its bottom-right one (of 4 x 2 pixels).
    const DWORD kRed = 0xFF0000;
    const DWORD kBlue = 0x0000FF;
    auto spec = [](WORD bits, std::vector<DWORD> table, std::vector<BYTE> pixels) {
        BmpSpec s;
        s.width = 4;
        s.height = 2;
        s.bitCount = bits;
        s.table = std::move(table);
        s.colorsUsed = static_cast<DWORD>(bits <= 8 ? s.table.size() : 0);
        s.pixels = std::move(pixels);
        return s;
    };
    // Bottom-up: the first row stored is the bottom one. Two colours: x 1 of the top row is blue as well.
    BmpSpec one = spec(1, {kRed, kBlue}, {0x10, 0, 0, 0, 0x70, 0, 0, 0});
    BmpSpec four = spec(4, {0x00FF00, kRed, kBlue}, {0x00, 0x02, 0, 0, 0x10, 0x00, 0, 0});
    BmpSpec eight = spec(8, {0x00FF00, kRed, kBlue}, {0, 0, 0, 2, 1, 0, 0, 0});
    BmpSpec rle8 = eight;
    rle8.compression = BI_RLE8;
    rle8.pixels = {3, 0, 1, 2, 0, 0, 1, 1, 3, 0, 0, 1};  // 3 x 0, 1 x 2, end of line; 1 x 1, 3 x 0, end of bitmap
    BmpSpec rle4 = four;
    rle4.compression = BI_RLE4;
    rle4.pixels = {3, 0x00, 1, 0x20, 0, 0, 1, 0x10, 3, 0x00, 0, 1};
    BmpSpec rgb16 =
        spec(16, {}, {0xE0, 0x03, 0xE0, 0x03, 0xE0, 0x03, 0x1F, 0x00, 0x00, 0x7C, 0xE0, 0x03, 0xE0, 0x03, 0xE0, 0x03});
    BmpSpec fields16 =
        spec(16, {0xF800, 0x07E0, 0x001F},
             {0xE0, 0x07, 0xE0, 0x07, 0xE0, 0x07, 0x1F, 0x00, 0x00, 0xF8, 0xE0, 0x07, 0xE0, 0x07, 0xE0, 0x07});
    fields16.compression = BI_BITFIELDS;
    std::vector<BYTE> pixels24;
    for (DWORD color :
         std::initializer_list<DWORD>{kRed, 0x00FF00u, 0x00FF00u, 0x00FF00u, 0x00FF00u, 0x00FF00u, 0x00FF00u, kBlue})
        pixels24.insert(pixels24.end(),
                        {static_cast<BYTE>(color), static_cast<BYTE>(color >> 8), static_cast<BYTE>(color >> 16)});
    BmpSpec topDown24 = spec(24, {}, pixels24);  // 12 bytes a row: aligned
    topDown24.height = -2;
    BmpSpec core24 = spec(24, {}, {});
    core24.headerSize = 12;
    for (DWORD color :
         std::initializer_list<DWORD>{0x00FF00u, 0x00FF00u, 0x00FF00u, kBlue, kRed, 0x00FF00u, 0x00FF00u, 0x00FF00u})
        core24.pixels.insert(core24.pixels.end(),
                             {static_cast<BYTE>(color), static_cast<BYTE>(color >> 8), static_cast<BYTE>(color >> 16)});
    BmpSpec core8 = spec(8, {0x00FF00, kRed, kBlue}, {0, 0, 0, 2, 1, 0, 0, 0});
    core8.headerSize = 12;
    core8.table.resize(256, 0);
    const COLORREF kGreen = RGB(0, 255, 0);
    const struct
    {
        const char* name;
        BmpSpec spec;
        COLORREF second;  // at (1, 0)
    } cases[] = {
        {"1 bit", one, RGB(0, 0, 255)},
        {"4 bits", four, kGreen},
        {"8 bits", eight, kGreen},
        {"8 bits run-length", rle8, kGreen},
        {"4 bits run-length", rle4, kGreen},
        {"16 bits 5-5-5", rgb16, kGreen},
        {"16 bits 5-6-5 masks", fields16, kGreen},
        {"24 bits top-down", topDown24, kGreen},
        {"24 bits, core header", core24, kGreen},
        {"8 bits, core header", core8, kGreen},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = WriteFile("form.bmp", BmpBytes(c.spec));
        BOOL alpha = TRUE;
        HBITMAP bitmap = LoadImageFile(path.c_str(), &alpha);
        ASSERT_NE(bitmap, nullptr) << ::GetLastError();
        EXPECT_FALSE(alpha);
        EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(255, 0, 0));
        EXPECT_EQ(PixelAt(bitmap, 3, 1), RGB(0, 0, 255));
        EXPECT_EQ(PixelAt(bitmap, 1, 0), c.second);
        ::DeleteObject(bitmap);
    }
    ::DeleteFileA("form.bmp");

    // 32 bits with 8-bit masks in another order: straight alpha kept, rows bottom-up.
    BmpSpec masks32 = spec(32, {}, {});
    masks32.compression = BI_BITFIELDS;
    masks32.headerSize = 56;
    std::vector<BYTE> bytes;
    {
        BmpSpec s = masks32;
        for (int i = 0; i < 8; ++i)
            AppendLittle32(s.pixels, i == 4 ? 0x80000000u | 0x0000FF : 0xFF00FF00u);  // (0, 0): red, alpha 128
        bytes = BmpBytes(s);
        // The 56-byte header holds its four masks at offsets 40 to 55.
        for (int i = 0; i < 4; ++i)
        {
            const DWORD mask = i == 0 ? 0x000000FF : i == 1 ? 0x0000FF00 : i == 2 ? 0x00FF0000 : 0xFF000000;
            for (int b = 0; b < 4; ++b)
                bytes[14 + 40 + 4 * i + b] = static_cast<BYTE>(mask >> (8 * b));
        }
    }
    BOOL alpha = FALSE;
    HBITMAP bitmap = LoadImageFile(WriteFile("masks32.bmp", bytes).c_str(), &alpha);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(alpha);
    EXPECT_EQ(ReadBitmap32(bitmap)[0], Argb(128, 255, 0, 0));
    ::DeleteObject(bitmap);
    ::DeleteFileA("masks32.bmp");
}

TEST(ImageFileInput, FormatsAreToldByTheirFirstBytesNeverByTheirNames)
{
    const struct
    {
        std::vector<BYTE> bytes;
        OsmImageFileFormat format;
    } signatures[] = {
        {PngSignature(), OsmImageFileFormat::Png},
        {{'B', 'M'}, OsmImageFileFormat::Bmp},
        {{0, 0, 1, 0}, OsmImageFileFormat::Ico},
        {{'G', 'I', 'F', '8', '9', 'a'}, OsmImageFileFormat::Gif},
        {{'G', 'I', 'F', '8', '7', 'a'}, OsmImageFileFormat::Gif},
        {{0xFF, 0xD8, 0xFF}, OsmImageFileFormat::Jpeg},
        {{0x89, 'P', 'N', 'G'}, OsmImageFileFormat::Unknown},  // four bytes of the eight
        {{0, 0, 2, 0}, OsmImageFileFormat::Unknown},           // a cursor file
        {{'G', 'I', 'F', '8', '8', 'a'}, OsmImageFileFormat::Unknown},
        {{}, OsmImageFileFormat::Unknown},
    };
    for (const auto& s : signatures)
        EXPECT_EQ(DetectImageFileFormat(s.bytes.data(), s.bytes.size()), s.format) << s.bytes.size();

    // A PNG named .bmp and a bitmap named .png load as what they are.
    PngSpec png;
    png.colorType = PNG_COLOR_TYPE_RGBA;
    png.rows = {5, 6, 7, 99};
    BOOL alpha = FALSE;
    HBITMAP bitmap = LoadImageFile(WriteFile("png-named.bmp", WritePng(png)).c_str(), &alpha);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(alpha);
    EXPECT_EQ(ReadBitmap32(bitmap)[0], Argb(99, 5, 6, 7));
    ::DeleteObject(bitmap);
    bitmap = LoadImageFile(WriteFile("bitmap-named.png", BmpBytes(Sound8())).c_str(), &alpha);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_FALSE(alpha);
    EXPECT_EQ(PixelAt(bitmap, 2, 2), RGB(255, 255, 255));
    ::DeleteObject(bitmap);
    // Text named .jpg reaches no loader at all.
    ::SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadImageFile(WriteFile("text-named.jpg", {'h', 'e', 'l', 'l', 'o'}).c_str(), &alpha), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
    for (const char* name : {"png-named.bmp", "bitmap-named.png", "text-named.jpg"})
        ::DeleteFileA(name);
}

TEST(ImageFileInput, PicturesReachTheSystemLoaderOnlyWithAHeaderCheckedToTheirData)
{
    const ComScope com;
    // A GIF of one 2 x 2 frame: the screen, a global table of 2 colours, a comment, the frame and its data.
    auto gif = [](WORD screenW, WORD screenH, WORD frameW, WORD frameH) {
        std::vector<BYTE> out = {'G', 'I', 'F', '8', '9', 'a'};
        AppendLittle16(out, screenW);
        AppendLittle16(out, screenH);
        out.insert(out.end(), {0x80, 0, 0, 255, 0, 0, 0, 0, 255});
        out.insert(out.end(), {0x21, 0xFE, 3, 'h', 'i', '!', 0});
        out.push_back(0x2C);
        AppendLittle16(out, 0);
        AppendLittle16(out, 0);
        AppendLittle16(out, frameW);
        AppendLittle16(out, frameH);
        out.push_back(0);
        out.insert(out.end(), {2, 2, 0x84, 0x51, 0});  // clear, 0, 0, 0, 0 ... end
        out.push_back(0x3B);
        return out;
    };
    // A JPEG's start: SOI, an APP0 segment, then a baseline frame header of the size.
    auto jpeg = [](WORD width, WORD height) {
        std::vector<BYTE> out = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
        out.insert(out.end(), {0xFF, 0xC0, 0, 11, 8, static_cast<BYTE>(height >> 8), static_cast<BYTE>(height),
                               static_cast<BYTE>(width >> 8), static_cast<BYTE>(width), 1, 1, 0x11, 0});
        out.insert(out.end(), {0xFF, 0xD9});
        return out;
    };
    const std::vector<BYTE> goodGif = gif(2, 2, 2, 2);
    std::vector<BYTE> cutComment(goodGif.begin(), goodGif.begin() + 13 + 6 + 4);
    std::vector<BYTE> trailerFirst(goodGif.begin(), goodGif.begin() + 13 + 6);
    trailerFirst.push_back(0x3B);
    std::vector<BYTE> scanFirst = {0xFF, 0xD8, 0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0};
    std::vector<BYTE> longSegment = jpeg(16, 16);
    longSegment[5] = 200;  // the APP0 segment's length runs past the end
    // Every frame of a GIF, not only the first.
    const std::vector<BYTE> threeFrames = Gif(2, 2, {{0, 0, 2, 2}, {0, 0, 2, 2}, {0, 0, 2, 2}});
    std::vector<BYTE> strayByte = Gif(2, 2, {{0, 0, 2, 2}, {0, 0, 2, 2}});
    strayByte.insert(strayByte.end() - 1 - (8 + 10 + 5), 'x');  // before the second frame's control block
    // The screen and table, the comment, two frames, then the third's control block, descriptor and two bytes.
    const std::vector<BYTE> cutInThird(threeFrames.begin(),
                                       threeFrames.begin() + 13 + 6 + 7 + 2 * (8 + 10 + 5) + 8 + 10 + 2);
    // Every frame header of a JPEG, the scans between them searched for the marker that ends them.
    const std::vector<BYTE> frame16 = JpegFrameHeader(0xC0, 16, 16);
    const std::vector<BYTE> linesMarker = {0xFF, 0xDC, 0, 4, 0x4E, 0x20};  // 20000 lines
    std::vector<BYTE> thumbnail = {0xFF, 0xE1, 0, 25, 'E', 'x', 'i', 'f', 0, 0, 0xFF, 0xD8};
    thumbnail = thumbnail + JpegFrameHeader(0xC0, 20000, 20000) + JpegEnd();
    const std::vector<BYTE> scanned = JpegStart() + frame16 + JpegScan();
    const std::vector<BYTE> largeFrame = JpegFrameHeader(0xC2, 20000, 20000);
    const std::vector<BYTE> secondFrameCut = scanned + std::vector<BYTE>(largeFrame.begin(), largeFrame.begin() + 9);
    const struct
    {
        const char* name;
        std::vector<BYTE> bytes;
        const char* expected;
    } cases[] = {
        {"GIF", goodGif, "ok"},
        {"GIF screen 0 wide", gif(0, 2, 2, 2), "damaged"},
        {"GIF screen 20000 wide", gif(20000, 2, 2, 2), "too large"},
        {"GIF frame past 16384", gif(2, 2, 16385, 2), "too large"},
        {"GIF frame of 4097 x 4097", gif(2, 2, 4097, 4097), "too large"},
        {"GIF comment cut off", cutComment, "damaged"},
        {"GIF trailer before any frame", trailerFirst, "damaged"},
        {"JPEG", jpeg(16, 16), "ok"},
        {"JPEG 20000 x 20000", jpeg(20000, 20000), "too large"},
        {"JPEG height 0", jpeg(16, 0), "damaged"},
        {"JPEG scan before a frame header", scanFirst, "damaged"},
        {"JPEG segment past the end", longSegment, "damaged"},
        {"GIF second frame of 16384 x 16384", Gif(2, 2, {{0, 0, 2, 2}, {0, 0, 16384, 16384}}), "too large"},
        {"GIF third frame reaching past 16384", Gif(2, 2, {{0, 0, 2, 2}, {0, 0, 2, 2}, {16380, 0, 8, 2}}), "too large"},
        {"GIF second frame 0 high", Gif(2, 2, {{0, 0, 2, 2}, {0, 0, 2, 0}}), "damaged"},
        {"GIF of three frames within the limits", threeFrames, "ok"},
        {"GIF with a stray byte between its frames", strayByte, "damaged"},
        {"GIF cut off inside its third frame's data", cutInThird, "damaged"},
        {"JPEG second frame header of 20000 x 20000 after a scan", scanned + largeFrame + JpegScan() + JpegEnd(),
         "too large"},
        {"JPEG hierarchical size of 20000 x 20000",
         JpegStart() + JpegFrameHeader(0xDE, 20000, 20000) + frame16 + JpegScan() + JpegEnd(), "too large"},
        {"JPEG number of lines 20000 after a scan", scanned + linesMarker + JpegEnd(), "too large"},
        {"JPEG second frame header cut off", secondFrameCut, "damaged"},
        {"JPEG thumbnail of 20000 x 20000 inside APP1", JpegStart() + thumbnail + frame16 + JpegScan() + JpegEnd(),
         "ok"},
        {"JPEG of two scans", scanned + JpegScan() + JpegEnd(), "ok"},
        {"JPEG cut off inside its scan", scanned, "ok"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const bool bGif = c.bytes[0] == 'G';
        const OsmImageCheck check =
            bGif ? CheckGifFile(c.bytes.data(), c.bytes.size()) : CheckJpegFile(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(CheckName(check), std::string(c.expected));
        if (check == OsmImageCheck::Ok)
            continue;
        const FileOutcome outcome = LoadFileAsHost(WriteFile(bGif ? "picture-case.gif" : "picture-case.jpg", c.bytes));
        EXPECT_FALSE(outcome.loaded);
        EXPECT_EQ(outcome.error, ImageCheckError(check));
    }
    ::DeleteFileA("picture-case.gif");
    ::DeleteFileA("picture-case.jpg");
}

TEST(ImageFileInput, AGifWhoseLaterFramesAreWithinTheLimitsLoadsAsItsFirstFrame)
{
    const ComScope com;
    BOOL alpha = TRUE;
    HBITMAP bitmap =
        LoadImageFile(WriteFile("frames.gif", Gif(2, 2, {{0, 0, 2, 2}, {0, 0, 2, 2}, {0, 0, 2, 2}})).c_str(), &alpha);
    ASSERT_NE(bitmap, nullptr) << ::GetLastError();
    EXPECT_FALSE(alpha);
    int cx = 0;
    int cy = 0;
    ReadBitmap32(bitmap, &cx, &cy);
    EXPECT_EQ(cx, 2);
    EXPECT_EQ(cy, 2);
    EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bitmap, 1, 1), RGB(255, 0, 0));
    ::DeleteObject(bitmap);
    ::DeleteFileA("frames.gif");
}

TEST(ImageStrips, StripsAndIconsBeyondTheLimitsAreRefusedLeavingTheManagerEmpty)
{
    const struct
    {
        const char* name;
        int stripWidth;
        int stripHeight;
        int cx;
        int cy;
    } cases[] = {
        {"a strip 16385 wide", 16385, 16, 16, 16},
        {"a strip of 4097 x 4097", 4097, 4097, 4097, 4097},
        {"an icon 20000 high", 32, 16, 16, 20000},
    };
    for (const auto& c : cases)
    {
        for (BOOL alpha : {FALSE, TRUE})
        {
            SCOPED_TRACE(std::string(c.name) + (alpha ? ", alpha" : ", masked"));
            HBITMAP strip = CreateAlphaDIBSection(nullptr, c.stripWidth, c.stripHeight, nullptr);
            ASSERT_NE(strip, nullptr);
            RefPtr<COSMImageManager> manager = AdoptRef(new COSMImageManager);
            const UINT ids[] = {1, 2};
            EXPECT_FALSE(manager->AddIconsFromBitmap(strip, ids, 2, c.cx, c.cy, 0, alpha));
            EXPECT_EQ(manager->GetIconSets().GetCount(), 0);
            EXPECT_EQ(manager->GetRevision(), 0u);
            ::DeleteObject(strip);
        }
    }
}

TEST(ImageStrips, OnlyTheSlicesTheIdsTakeAreCutFromAStripAtTheLimit)
{
    // 16384 x 16: 1024 slices, each of its own colour; three ids (and a separator) take the first three.
    const int kWidth = 16384;
    std::vector<DWORD> pixels(static_cast<size_t>(kWidth) * 16);
    auto sliceColour = [](int slice) { return RGB(slice % 256, 255 - slice % 256, 40); };
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        const COLORREF clr = sliceColour(static_cast<int>((i % kWidth) / 16));
        pixels[i] = Argb(255, GetRValue(clr), GetGValue(clr), GetBValue(clr));
    }
    HBITMAP strip = MakeBitmap32(kWidth, 16, pixels);
    ASSERT_NE(strip, nullptr);
    for (BOOL alpha : {FALSE, TRUE})
    {
        SCOPED_TRACE(alpha ? "alpha" : "masked");
        RefPtr<COSMImageManager> manager = AdoptRef(new COSMImageManager);
        manager->SetMaskColor(RGB(1, 2, 3));
        const UINT ids[] = {7, 0, 8, 9};
        const std::set<WORD> before = GdiUsage();
        ASSERT_TRUE(manager->AddIconsFromBitmap(strip, ids, 4, 16, 16, 0, alpha));
        EXPECT_EQ(manager->GetIconSets().GetCount(), 3);
        EXPECT_EQ(manager->LookupIconSet(0), nullptr);
        for (int i = 0; i < 3; ++i)
        {
            COSMImageManagerIcon* icon = manager->GetImage(ids[i == 0 ? 0 : i + 1], 16);
            ASSERT_NE(icon, nullptr);
            DcTestSurface surface(16, 16, DcTestSurface::RawFill{Argb(255, 0, 0, 0)});
            icon->Draw(surface.dc(), 0, 0, icon->GetIcon());
            EXPECT_EQ(surface.Pixel(8, 8), sliceColour(i)) << i;
        }
        manager.Reset();
        // The icons' caches and copies are gone with the manager.
        EXPECT_LE(GdiSlotsTakenSince(before), 1u);
    }
    ::DeleteObject(strip);
}
