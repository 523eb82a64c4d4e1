// GIF files on their way to the system's picture loader. Its decoder reads every frame before it gives a picture,
// and when one fails it keeps the pixel buffers of all of them (one byte a pixel) for good, so a GIF reaches it only
// when every frame's codes are valid and fill the frame and every block is whole: then it loads, and anything else
// is refused before the decoder sees it and leaves the process's memory as it was.
#include <gtest/gtest.h>

#include "ImageInputChecks.h"
#include "ImageTestSupport.h"
#include "framework/foundation/ImageFileChecks.h"
#include "framework/foundation/ImageLoaders.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace image_test;
using namespace image_input;

namespace {

const long long kGifLoadLeftBehind = 4 * kMegabyte;

const unsigned kClear2 = 4;  // clear and end codes of the minimum code size 2
const unsigned kEnd2 = 5;

// A frame's image data: the minimum code size, then the codes packed as the decoder reads them (least significant
// bit first, each as wide as the table then needs: one bit more once the next entry reaches the width's limit, up
// to 12, back to the start after a clear) in sub-blocks of 255 bytes, and the empty sub-block.
std::vector<BYTE> FrameData(BYTE codeSize, const std::vector<unsigned>& codes)
{
    const unsigned clear = 1u << codeSize;
    unsigned next = clear + 2;
    unsigned width = codeSize + 1u;
    bool afterClear = true;
    DWORD bits = 0;
    unsigned nBits = 0;
    std::vector<BYTE> packed;
    for (const unsigned code : codes)
    {
        bits |= static_cast<DWORD>(code) << nBits;
        nBits += width;
        while (nBits >= 8)
        {
            packed.push_back(static_cast<BYTE>(bits));
            bits >>= 8;
            nBits -= 8;
        }
        if (code == clear)
        {
            next = clear + 2;
            width = codeSize + 1u;
            afterClear = true;
            continue;
        }
        if (!afterClear && next < 4096)
        {
            ++next;
            if (next == (1u << width) && width < 12)
                ++width;
        }
        afterClear = false;
    }
    if (nBits > 0)
        packed.push_back(static_cast<BYTE>(bits));
    std::vector<BYTE> out = {codeSize};
    for (size_t at = 0; at < packed.size(); at += 255)
    {
        const size_t length = std::min<size_t>(255, packed.size() - at);
        out.push_back(static_cast<BYTE>(length));
        out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(at),
                   packed.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0);
    return out;
}

// Codes of code size 2 for `pixels` literal pixels (colours 0 to 3 in turn) after a clear, a clear again after
// every `clearEvery` of them (0: never, so the codes widen to 12 bits and the table fills), and the end code when
// asked.
std::vector<unsigned> Literals(size_t pixels, size_t clearEvery, bool end = true)
{
    std::vector<unsigned> codes = {kClear2};
    for (size_t i = 0; i < pixels; ++i)
    {
        if (clearEvery != 0 && i != 0 && i % clearEvery == 0)
            codes.push_back(kClear2);
        codes.push_back(static_cast<unsigned>(i % 4));
    }
    if (end)
        codes.push_back(kEnd2);
    return codes;
}

struct TestFrame
{
    WORD width;
    WORD height;
    std::vector<BYTE> data;
    bool interlaced = false;
};

// A GIF whose screen is the first frame's size, with a global table of four colours (red, green, blue, white), a
// comment, each frame after a graphic control block, then `tail` (the trailer unless told otherwise).
std::vector<BYTE> GifOf(const std::vector<TestFrame>& frames, const std::vector<BYTE>& tail = {0x3B})
{
    std::vector<BYTE> out = {'G', 'I', 'F', '8', '9', 'a'};
    AppendLittle16(out, frames.front().width);
    AppendLittle16(out, frames.front().height);
    out.insert(out.end(), {0x81, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    out.insert(out.end(), {0x21, 0xFE, 3, 'o', 's', 'm', 0});
    for (const TestFrame& frame : frames)
    {
        out.insert(out.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0});
        out.push_back(0x2C);
        AppendLittle16(out, 0);
        AppendLittle16(out, 0);
        AppendLittle16(out, frame.width);
        AppendLittle16(out, frame.height);
        out.push_back(frame.interlaced ? 0x40 : 0);
        out.insert(out.end(), frame.data.begin(), frame.data.end());
    }
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

}  // namespace

TEST(GifInput, AGifReachesTheSystemLoaderOnlyWhenEveryFrameIsWholeAndFilledByItsCodes)
{
    const ComScope com;
    const TestFrame full4x2{4, 2, FrameData(2, Literals(8, 0))};
    std::vector<unsigned> pastTheFill = Literals(8, 0, false);
    pastTheFill.insert(pastTheFill.end(), {15, 15, 15});  // codes no table holds yet, after the last pixel
    const struct
    {
        const char* name;
        std::vector<BYTE> bytes;
        const char* expected;
    } cases[] = {
        {"literals, a clear after every 100", GifOf({{40, 30, FrameData(2, Literals(1200, 100))}}), "ok"},
        {"literals widening the codes to 12 bits and filling the table without a clear",
         GifOf({{100, 60, FrameData(2, Literals(6000, 0))}}), "ok"},
        // 1, then 6 (the entry this code defines: 1 1), 6 again, then 7 (the entry it defines: 1 1 1): 8 pixels.
        {"codes from the table, the entry being defined among them",
         GifOf({{4, 2, FrameData(2, {kClear2, 1, 6, 6, 7, kEnd2})}}), "ok"},
        {"an interlaced frame", GifOf({{8, 8, FrameData(2, Literals(64, 50)), true}}), "ok"},
        {"codes past the last pixel that the decoder never reads", GifOf({{4, 2, FrameData(2, pastTheFill)}}), "ok"},
        {"a file that ends after a whole frame, without the trailer", GifOf({full4x2}, {}), "ok"},
        {"two whole frames", GifOf({full4x2, {2, 2, FrameData(2, Literals(4, 0))}}), "ok"},
        {"codes ending one pixel short", GifOf({{4, 2, FrameData(2, Literals(7, 0))}}), "damaged"},
        // Six codes of 3, 3, 3, 4, 4 and 4 bits: the last byte's 3 spare bits make no code.
        {"codes whose sub-blocks end before the frame is full", GifOf({{4, 2, FrameData(2, Literals(6, 0, false))}}),
         "damaged"},
        {"an end code first", GifOf({{4, 2, FrameData(2, {kClear2, kEnd2})}}), "damaged"},
        {"a code the table does not hold yet", GifOf({{4, 2, FrameData(2, {kClear2, 0, 7, 0, 0, 0, 0, 0})}}),
         "damaged"},
        {"a table code right after a clear", GifOf({{4, 2, FrameData(2, {kClear2, 6, 0, 0, 0, 0, 0, 0})}}), "damaged"},
        {"minimum code size 1", GifOf({{4, 2, {1, 2, 0x12, 0x34, 0}}}), "damaged"},
        {"minimum code size 12", GifOf({{4, 2, {12, 2, 0x12, 0x34, 0}}}), "damaged"},
        {"no code size before the file ends", GifOf({{4, 2, {}}}, {}), "damaged"},
        {"an extension cut off after a whole frame", GifOf({full4x2}, {0x21, 0xFE, 5, 'o', 's'}), "damaged"},
        {"a second frame one pixel short", GifOf({full4x2, {2, 2, FrameData(2, Literals(3, 0))}}), "damaged"},
        {"a whole frame of 4096 x 4096 whose codes give 100 pixels",
         GifOf({{4096, 4096, FrameData(2, Literals(100, 2))}}), "damaged"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const OsmImageCheck check = CheckGifFile(c.bytes.data(), c.bytes.size());
        EXPECT_STREQ(CheckName(check), c.expected);
        // What the checks pass, the system's decoder loads whole; what they refuse never reaches it.
        const FileOutcome outcome = LoadFileAsHost(WriteFile("lzw-case.gif", c.bytes));
        EXPECT_EQ(outcome.loaded, check == OsmImageCheck::Ok);
        EXPECT_EQ(outcome.error, check == OsmImageCheck::Ok ? ERROR_SUCCESS : ImageCheckError(check));
        if (outcome.loaded)
        {
            EXPECT_EQ(outcome.size.cx, c.bytes[6] | (c.bytes[7] << 8));
            EXPECT_EQ(outcome.size.cy, c.bytes[8] | (c.bytes[9] << 8));
        }
    }
    ::DeleteFileA("lzw-case.gif");
}

TEST(GifInput, TheFirstPixelsOfAFrameAreTheColoursItsCodesGive)
{
    const ComScope com;
    // Red, green, blue, white along the top row; then entry 7 (green, blue: the second code and the third's first
    // pixel) and entry 6 (red, green).
    const std::vector<BYTE> gif = GifOf({{4, 2, FrameData(2, {kClear2, 0, 1, 2, 3, 7, 6, kEnd2})}});
    ASSERT_EQ(CheckGifFile(gif.data(), gif.size()), OsmImageCheck::Ok);
    BOOL alpha = FALSE;
    HBITMAP bitmap = LoadImageFile(WriteFile("colours.gif", gif).c_str(), &alpha);
    ASSERT_NE(bitmap, nullptr) << ::GetLastError();
    int cx = 0;
    int cy = 0;
    const std::vector<DWORD> pixels = ReadBitmap32(bitmap, &cx, &cy);
    ASSERT_EQ(cx, 4);
    ASSERT_EQ(cy, 2);
    const COLORREF expected[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255),
                                 RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 255, 0)};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ToColorRef(pixels[static_cast<size_t>(i)]), expected[i]) << "pixel " << i;
    ::DeleteObject(bitmap);
    ::DeleteFileA("colours.gif");
}

TEST(GifInput, GifsTheSystemDecoderWouldFailOnLeaveTheProcessMemoryWhereItWas)
{
    const ComScope com;
    // The system's picture loader sets itself up on first use.
    ASSERT_TRUE(LoadFileAsHost(WriteFile("warm-up.gif", GifOf({{4, 2, FrameData(2, Literals(8, 0))}}))).loaded);
    ::DeleteFileA("warm-up.gif");
    // Each would leave the decoder's buffers of all its frames behind: 16 MB, 16 MB and 8 MB a load.
    const struct
    {
        const char* name;
        std::string path;
    } cases[] = {
        {"the bad-input harness's frame of 4096 x 4096 whose codes end early",
         BadInputFixture("gif_frame_4096x4096_codes_end_early.gif")},
        {"a frame of 4096 x 4096 whose codes give 100 pixels",
         WriteFile("short-frame.gif", GifOf({{4096, 4096, FrameData(2, Literals(100, 2))}}))},
        {"a whole frame of 2048 x 2048, then one whose codes give 100 pixels",
         WriteFile("short-second-frame.gif", GifOf({{2048, 2048, FrameData(2, Literals(2048 * 2048, 2))},
                                                    {2048, 2048, FrameData(2, Literals(100, 2))}}))},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const ProcessMemory before = MeasureProcessMemory();
        for (int round = 0; round < 4; ++round)
        {
            const FileOutcome outcome = LoadFileAsHost(c.path);
            EXPECT_FALSE(outcome.loaded);
            EXPECT_EQ(outcome.error, static_cast<DWORD>(ERROR_BAD_FORMAT));
        }
        const ProcessMemory after = MeasureProcessMemory();
        EXPECT_LT(after.committedBytes - before.committedBytes, kGifLoadLeftBehind);
    }
    ::DeleteFileA("short-frame.gif");
    ::DeleteFileA("short-second-frame.gif");
}
