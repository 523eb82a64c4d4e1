// Reading the image: any chunk size gives the same bytes, the end is exact, and files that changed after
// they were added fail the read with their name instead of giving a wrong image.
#include "IsoReader.h"
#include "IsoTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

namespace osm::iso::test {
namespace {

class ReadStreamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writePattern(source() / "I386" / "a.bin", 300000, 1);
        writePattern(source() / "I386" / "b.bin", 2048, 2);
        writePattern(source() / "I386" / "c.bin", 1, 3);
        writePattern(source() / "empty.bin", 0, 4);
        writeFile(scratch_ / "boot.img", SerialBootImage("stream"));
    }

    fs::path source() const { return scratch_ / "dist"; }

    void prepare(TreeSession& session, std::uint32_t padSectors = 0)
    {
        ASSERT_EQ(session.addTopLevel(source()), 0u) << session.text();
        ASSERT_EQ(session.setBoot(scratch_ / "boot.img"), 0u) << session.text();
        ASSERT_EQ(session.build("XP", padSectors), 0u) << session.text();
    }

    std::string readAll(TreeSession& session, std::uint32_t chunk)
    {
        EXPECT_EQ(session.seek(), 0u);
        std::string image(static_cast<std::size_t>(session.size()), '\0');
        std::size_t at = 0;
        while (at < image.size())
        {
            const std::uint32_t n = static_cast<std::uint32_t>(std::min<std::size_t>(chunk, image.size() - at));
            const std::uint32_t r = session.read(&image[at], n);
            EXPECT_EQ(r, 0u) << session.text();
            if (r != 0)
                return {};
            at += n;
        }
        return image;
    }

    ScratchDir scratch_;
};

TEST_F(ReadStreamTest, EveryChunkSizeGivesTheSameImage)
{
    TreeSession session;
    prepare(session);
    const std::string reference = readAll(session, kChunk);
    ASSERT_EQ(reference.size(), session.size());
    ASSERT_EQ(reference.size() % 2048, 0u);
    for (const std::uint32_t chunk :
         {7u, 2047u, 2048u, 2049u, 65539u, 1048577u, static_cast<std::uint32_t>(reference.size())})
    {
        EXPECT_TRUE(readAll(session, chunk) == reference) << "chunk " << chunk;
    }
}

TEST_F(ReadStreamTest, AnImageOfExactly20MiBIsReadInTwoFullChunks)
{
    std::uint64_t unpadded = 0;
    {
        TreeSession probe;
        prepare(probe);
        unpadded = probe.size();
    }
    TreeSession session;
    prepare(session, static_cast<std::uint32_t>((2 * kChunk - unpadded) / 2048));
    ASSERT_EQ(session.size(), 2u * kChunk);
    std::vector<char> buffer(kChunk);
    ASSERT_EQ(session.seek(), 0u);
    EXPECT_EQ(session.read(buffer.data(), kChunk), 0u) << session.text();
    EXPECT_EQ(session.read(buffer.data(), kChunk), 0u) << session.text();
    EXPECT_EQ(session.read(buffer.data(), 1), static_cast<std::uint32_t>(STARBURN_ERROR_INVALID_RANGE));
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == 0; })) << "padding is zeros";

    ASSERT_EQ(session.writeImage(scratch_ / "padded.iso"), 0u) << session.text();
    IsoReader reader(scratch_ / "padded.iso");
    EXPECT_EQ(std::uint64_t(reader.primary().spaceSize) * 2048, 2u * kChunk);
    EXPECT_TRUE(reader.sameAsFile(reader.tree(true).at("/I386/a.bin"), source() / "I386" / "a.bin"));
}

TEST_F(ReadStreamTest, ReadingPastTheEndIsRefused)
{
    TreeSession session;
    prepare(session);
    std::string image(static_cast<std::size_t>(session.size()) + 1, '\0');
    ASSERT_EQ(session.seek(), 0u);
    EXPECT_EQ(session.read(&image[0], static_cast<std::uint32_t>(image.size())),
              static_cast<std::uint32_t>(STARBURN_ERROR_INVALID_RANGE));
    EXPECT_NE(session.text().find("end"), std::string::npos) << session.text();
    // The refused read consumed nothing: the whole image still reads.
    EXPECT_EQ(session.read(&image[0], static_cast<std::uint32_t>(image.size() - 1)), 0u) << session.text();
}

struct ChangeCase
{
    const char* title;
    const char* file;  // relative to the source folder, or "boot" for the boot image
    enum Kind
    {
        Grow,
        Shrink,
        Remove
    } kind;
    std::uint32_t result;
};

class ChangedFileTest : public ReadStreamTest, public ::testing::WithParamInterface<ChangeCase>
{};

TEST_P(ChangedFileTest, ReadFailsNamingTheFileUntilItIsRestored)
{
    const ChangeCase& c = GetParam();
    const fs::path file = std::string(c.file) == "boot" ? scratch_ / "boot.img" : source() / fs::u8path(c.file);
    const std::string original = readFile(file);
    TreeSession session;
    prepare(session);
    const std::string reference = readAll(session, kChunk);

    switch (c.kind)
    {
    case ChangeCase::Grow:
        writeFile(file, original + "more");
        break;
    case ChangeCase::Shrink:
        writeFile(file, original.substr(0, original.size() / 2));
        break;
    case ChangeCase::Remove:
        fs::remove(file);
        break;
    }
    ASSERT_EQ(session.seek(), 0u);
    std::vector<char> buffer(static_cast<std::size_t>(session.size()));
    EXPECT_EQ(session.read(buffer.data(), static_cast<std::uint32_t>(buffer.size())), c.result);
    EXPECT_NE(session.text().find(file.filename().u8string()), std::string::npos) << session.text();
    if (c.kind == ChangeCase::Remove)
    {
        EXPECT_NE(session.systemError(), 0u);
    }
    // After a failure the stream must be restarted.
    EXPECT_EQ(session.read(buffer.data(), 1), static_cast<std::uint32_t>(STARBURN_ERROR_INVALID_STATE));

    writeFile(file, original);
    EXPECT_TRUE(readAll(session, kChunk) == reference);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedFileTest,
    ::testing::Values(ChangeCase{"Grown", "I386/a.bin", ChangeCase::Grow, STARBURN_ERROR_UNEXPECTED_RESULT},
                      ChangeCase{"Shrunk", "I386/a.bin", ChangeCase::Shrink, STARBURN_ERROR_UNEXPECTED_RESULT},
                      ChangeCase{"Removed", "I386/c.bin", ChangeCase::Remove, STARBURN_ERROR_NOT_FOUND},
                      ChangeCase{"BootImageGrown", "boot", ChangeCase::Grow, STARBURN_ERROR_UNEXPECTED_RESULT},
                      ChangeCase{"BootImageRemoved", "boot", ChangeCase::Remove, STARBURN_ERROR_NOT_FOUND}),
    [](const ::testing::TestParamInfo<ChangeCase>& info) { return info.param.title; });

// A file's size is not asked again when it is opened: the read itself must notice every change, whether the
// file's end falls inside the caller's buffer or exactly at its end, and in files read in several calls.
struct BoundaryCase
{
    const char* title;
    const char* file;        // relative to the source folder
    std::int64_t change;     // bytes added (negative: removed from the end)
    bool readEndsAtFileEnd;  // the first read stops exactly where the file's data ends in the image
};

class SizeChangeBoundaryTest : public ReadStreamTest, public ::testing::WithParamInterface<BoundaryCase>
{
protected:
    void SetUp() override
    {
        ReadStreamTest::SetUp();
        // Longer than the writer's largest single read from one file.
        writePattern(source() / "I386" / "large.cab", (9u << 20) + 5, 5);
    }
};

TEST_P(SizeChangeBoundaryTest, TheReadThatReachesTheChangeFails)
{
    const BoundaryCase& c = GetParam();
    const fs::path file = source() / fs::u8path(c.file);
    const std::string original = readFile(file);
    TreeSession session;
    prepare(session);
    ASSERT_EQ(session.writeImage(scratch_ / "reference.iso"), 0u) << session.text();
    const std::string reference = readFile(scratch_ / "reference.iso");
    IsoReader reader(scratch_ / "reference.iso");
    const IsoReader::Entry entry = reader.tree(true).at("/" + std::string(c.file));
    ASSERT_EQ(entry.size, original.size());
    const std::uint64_t fileEnd = std::uint64_t(entry.records.at(0).extent) * 2048 + entry.size;

    const std::size_t changedSize = static_cast<std::size_t>(static_cast<std::int64_t>(original.size()) + c.change);
    std::string changed = original.substr(0, std::min(original.size(), changedSize));
    changed.resize(changedSize, 'x');
    writeFile(file, changed);

    ASSERT_EQ(session.seek(), 0u);
    std::vector<char> buffer(reference.size());
    const std::size_t first = c.readEndsAtFileEnd ? static_cast<std::size_t>(fileEnd) : buffer.size();
    EXPECT_EQ(session.read(buffer.data(), static_cast<std::uint32_t>(first)),
              static_cast<std::uint32_t>(STARBURN_ERROR_UNEXPECTED_RESULT));
    EXPECT_NE(session.text().find(file.filename().u8string()), std::string::npos) << session.text();

    writeFile(file, original);
    EXPECT_TRUE(readAll(session, kChunk) == reference);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, SizeChangeBoundaryTest,
    ::testing::Values(BoundaryCase{"OneByteFileGrew", "I386/c.bin", 1, false},
                      BoundaryCase{"OneByteFileGrewWhereTheReadEnds", "I386/c.bin", 1, true},
                      BoundaryCase{"OneByteFileEmptied", "I386/c.bin", -1, false},
                      BoundaryCase{"SectorFileLostItsLastByte", "I386/b.bin", -1, false},
                      BoundaryCase{"SectorFileGrewWhereTheReadEnds", "I386/b.bin", 1, true},
                      BoundaryCase{"LargeFileGrew", "I386/large.cab", 1, false},
                      BoundaryCase{"LargeFileGrewWhereTheReadEnds", "I386/large.cab", 1, true},
                      BoundaryCase{"LargeFileLostItsLastByteWhereTheReadEnds", "I386/large.cab", -1, true},
                      BoundaryCase{"LargeFileLostItsSecondHalf", "I386/large.cab", -((9 << 20) + 5) / 2, false}),
    [](const ::testing::TestParamInfo<BoundaryCase>& info) { return info.param.title; });

TEST_F(ReadStreamTest, SameInputGivesTheSameImageWhateverTheAddOrder)
{
    std::string first, second;
    {
        TreeSession session;
        ASSERT_EQ(session.add(source() / "I386"), 0u);
        ASSERT_EQ(session.add(source() / "empty.bin"), 0u);
        ASSERT_EQ(session.build(), 0u);
        first = readAll(session, kChunk);
    }
    {
        TreeSession session;
        ASSERT_EQ(session.add(source() / "empty.bin"), 0u);
        ASSERT_EQ(session.add(source() / "I386"), 0u);
        ASSERT_EQ(session.build(), 0u);
        second = readAll(session, kChunk);
    }
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(first == second);
}

}  // namespace
}  // namespace osm::iso::test
