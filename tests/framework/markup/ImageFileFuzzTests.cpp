// The bad-input harness on image files: the corpus of ImageFuzzCorpus.h (every form the loader reads: PNGs with text
// and private chunks, bitmaps of every depth and compression, icon and cursor files of several images, GIFs of
// several frames, JPEGs), cut and mutated by a fixed-seed series, with edits that know each format (chunk lengths,
// frame sizes, header fields set to extremes; FuzzImageFormats.h) and PNG checksums repaired after them. Each result
// goes through LoadImageFile and the two cuts hosts make of the bitmap (one markup icon, a strip of toolbar icons),
// and through a markup Image that names the file; a file is loaded within the image limits or refused with a reason
// the caller reads, nothing crashes, hangs, takes more than two seconds or the harness's memory limit, and nothing
// is left behind, committed memory included.
#include "GdiObjectCount.h"
#include "ImageFuzzCorpus.h"
#include "ImageInputChecks.h"
#include "ImageTestSupport.h"
#include "MarkupHostRun.h"

#include "FuzzHarness.h"
#include "FuzzImageFormats.h"
#include "framework/foundation/ImageFileChecks.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/markup/MarkupObject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace image_test;
using image_input::ComScope;

namespace {

const char kFuzzFile[] = "fuzz-image-input.img";

std::vector<fuzz::Bytes> ImageCorpus()
{
    std::vector<fuzz::Bytes> corpus;
    for (const ImageCorpusEntry& entry : MakeImageCorpus())
        corpus.push_back(entry.bytes);
    return corpus;
}

// A file's way through the loader and the markup Image: "" when it loaded within the limits, or was refused with a
// reason, and the managers it reached were left as they were.
std::string LoadAsHost(const fuzz::Bytes& bytes)
{
    WriteFile(kFuzzFile, bytes);
    fuzz::Harness::SetStage("LoadImageFile and the icon cuts");
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
    fuzz::Harness::SetStage("a markup Image naming the file");
    markup_test::RunMarkupAsHost(std::string("<Image Source='file://") + kFuzzFile + "' Width='32' Height='32'/>");
    fuzz::Harness::SetStage(nullptr);
    return what;
}

TEST(ImageFileFuzz, TheCorpusLoadsWhole)
{
    const ComScope com;
    const std::vector<ImageCorpusEntry> corpus = MakeImageCorpus();
    for (const ImageCorpusEntry& entry : corpus)
    {
        ASSERT_FALSE(entry.bytes.empty()) << entry.name;
        WriteFile(kFuzzFile, entry.bytes);
        const image_input::FileOutcome outcome = image_input::LoadFileAsHost(kFuzzFile);
        EXPECT_EQ(entry.loads, outcome.loaded) << entry.name << ": error " << outcome.error;
        EXPECT_EQ(entry.loads, outcome.markupIcon) << entry.name;
    }
    ::DeleteFileA(kFuzzFile);
}

// The format edits reach what they name: an edit of a critical chunk that libpng refuses for its checksum loads once
// the checksums are repaired; some edit gives a text chunk a length far past the file with the chunk's name kept;
// some edit gives a later frame of a GIF a size at the image limit or past it.
TEST(ImageFileFuzz, TheFormatEditsReachPastTheChecks)
{
    const ComScope com;
    const std::vector<ImageCorpusEntry> corpus = MakeImageCorpus();
    const fuzz::Bytes& palette = corpus[1].bytes;
    ASSERT_TRUE(fuzz::IsPng(palette)) << corpus[1].name;
    fuzz::Bytes recoloured = palette;
    for (const fuzz::PngChunk& chunk : fuzz::PngChunks(recoloured))
    {
        if (chunk.type == "PLTE")
            recoloured[chunk.at + 8] ^= 0x5A;
    }
    ASSERT_NE(palette, recoloured);
    WriteFile(kFuzzFile, recoloured);
    EXPECT_FALSE(image_input::LoadFileAsHost(kFuzzFile).loaded);
    fuzz::RepairPngChecksums(recoloured);
    WriteFile(kFuzzFile, recoloured);
    EXPECT_TRUE(image_input::LoadFileAsHost(kFuzzFile).loaded);

    const fuzz::Bytes& texts = corpus[0].bytes;
    bool textChunks[3] = {};
    for (const fuzz::PngChunk& chunk : fuzz::PngChunks(texts))
    {
        textChunks[0] = textChunks[0] || chunk.type == "tEXt";
        textChunks[1] = textChunks[1] || chunk.type == "zTXt";
        textChunks[2] = textChunks[2] || chunk.type == "iTXt";
    }
    EXPECT_TRUE(textChunks[0] && textChunks[1] && textChunks[2]) << corpus[0].name;
    bool textLengthInflated = false;
    for (uint32_t seed = 0; seed < 500 && !textLengthInflated; ++seed)
    {
        fuzz::Random random(seed);
        fuzz::Bytes edited = texts;
        if (!fuzz::EditPng(edited, random))
            continue;
        for (const fuzz::PngChunk& chunk : fuzz::PngChunks(edited))
            textLengthInflated = textLengthInflated || ((chunk.type == "tEXt" || chunk.type == "zTXt") &&
                                                        !chunk.whole && chunk.length >= 0x10000000);
    }
    EXPECT_TRUE(textLengthInflated);

    const fuzz::Bytes* gif = nullptr;
    for (const ImageCorpusEntry& entry : corpus)
    {
        if (fuzz::IsGif(entry.bytes) && fuzz::ParseGif(entry.bytes).frames.size() >= 4)
            gif = &entry.bytes;
    }
    ASSERT_NE(nullptr, gif);
    const fuzz::GifLayout layout = fuzz::ParseGif(*gif);
    EXPECT_NE(0u, layout.trailer);
    bool laterFrameResized = false;
    for (uint32_t seed = 0; seed < 500 && !laterFrameResized; ++seed)
    {
        fuzz::Random random(seed);
        fuzz::Bytes edited = *gif;
        if (!fuzz::EditGif(edited, random) || edited.size() != gif->size())
            continue;
        for (size_t i = 1; i < layout.frames.size(); ++i)
            laterFrameResized = laterFrameResized || fuzz::ReadLittle16(edited, layout.frames[i] + 5) >= 0x4000;
    }
    EXPECT_TRUE(laterFrameResized);
    ::DeleteFileA(kFuzzFile);
}

TEST(ImageFileFuzz, MutatedFilesNeitherCrashHangNorLeak)
{
    const ComScope com;
    fuzz::Harness harness("image-file", fuzz::RunSettings::FromEnvironment(20261213u, 600));
    harness.SetDictionary({"BM",
                           "\x89PNG\r\n\x1A\n",
                           "IHDR",
                           "IDAT",
                           "PLTE",
                           "tRNS",
                           "IEND",
                           "tEXt",
                           "zTXt",
                           "iTXt",
                           "GIF89a",
                           "GIF87a",
                           "NETSCAPE2.0",
                           std::string("\0\0\1\0", 4),
                           std::string("\0\0\2\0", 4),
                           std::string("\xFF\xD8\xFF", 3),
                           std::string("\xFF\xC0", 2),
                           std::string("\xFF\xDA", 2),
                           std::string("\x2C", 1),
                           std::string("\x21\xF9", 2),
                           std::string("\x3B", 1)});
    harness.SetLargeEdits(true);
    harness.SetStructure(&fuzz::EditImage, &fuzz::RepairImage);
    harness.AddCounter("markup objects", [] { return static_cast<long long>(COSMMarkupObject::GetLiveObjectCount()); });
    const std::vector<fuzz::Failure> failures = harness.Run(ImageCorpus(), &LoadAsHost);
    EXPECT_TRUE(failures.empty()) << fuzz::Describe(failures);
    EXPECT_GT(harness.InputsRun(), 0);
    ::DeleteFileA(kFuzzFile);
}

}  // namespace
