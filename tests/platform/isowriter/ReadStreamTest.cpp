// Reading the image: any chunk size gives the same bytes, the end is exact, and files that changed after
// they were added fail the read with their name instead of giving a wrong image.
#include "IsoReader.h"
#include "IsoTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

namespace osm::iso::test {
namespace {

class ReadStreamTest : public ::testing::Test {
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
        while (at < image.size()) {
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
    for (const std::uint32_t chunk : {7u, 2047u, 2048u, 2049u, 65539u, 1048577u,
                                      static_cast<std::uint32_t>(reference.size())}) {
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

struct ChangeCase {
    const char* title;
    const char* file; // relative to the source folder, or "boot" for the boot image
    enum Kind { Grow, Shrink, Remove } kind;
    std::uint32_t result;
};

class ChangedFileTest : public ReadStreamTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangedFileTest, ReadFailsNamingTheFileUntilItIsRestored)
{
    const ChangeCase& c = GetParam();
    const fs::path file = std::string(c.file) == "boot" ? scratch_ / "boot.img" : source() / fs::u8path(c.file);
    const std::string original = readFile(file);
    TreeSession session;
    prepare(session);
    const std::string reference = readAll(session, kChunk);

    switch (c.kind) {
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
    if (c.kind == ChangeCase::Remove) {
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

} // namespace
} // namespace osm::iso::test
