// isobuild, the command-line twin of the wizard's build: reading the image in 10 MiB chunks and storing
// each in write slices gives exactly the image the library hands out in one read.
#include "IsoTestSupport.h"

#include <gtest/gtest.h>

namespace osm::iso::test {
namespace {

TEST(IsobuildTest, SlicedWritesStoreTheLibrarysImageByteForByte)
{
    ScratchDir scratch;
    const fs::path dist = scratch / "dist";
    // Files that cross chunk and slice boundaries at odd offsets, one exactly a slice long, and an empty one.
    writePattern(dist / "I386" / "big.cab", 12u * 1024 * 1024 + 777, 1);
    writePattern(dist / "I386" / "slice.bin", STARBURN_WRITE_SLICE_BYTES, 2);
    writePattern(dist / "I386" / "deep" / "er" / "tail.dll", 9u * 1024 * 1024 + 5, 3);
    writePattern(dist / "I386" / "one.txt", 1, 4);
    writePattern(dist / "empty.txt", 0, 5);
    writeFile(scratch / "boot.img", SerialBootImage("isobuild"));

    std::string expected;
    {
        TreeSession session;
        ASSERT_EQ(session.addTopLevel(dist), 0u) << session.text();
        ASSERT_EQ(session.setBoot(scratch / "boot.img"), 0u) << session.text();
        ASSERT_EQ(session.build("XP"), 0u) << session.text();
        ASSERT_EQ(session.seek(), 0u) << session.text();
        expected.resize(static_cast<std::size_t>(session.size()));
        ASSERT_EQ(session.read(&expected[0], static_cast<std::uint32_t>(expected.size())), 0u) << session.text();
    }
    // The last chunk and the last slice of the copy must both be partial for the test to mean anything.
    ASSERT_GT(expected.size(), 2u * kChunk);
    ASSERT_NE(expected.size() % kChunk, 0u);
    ASSERT_NE(expected.size() % kChunk % STARBURN_WRITE_SLICE_BYTES, 0u);

    std::string output;
    const int code = runBuiltProgram(
        OSM_ISOBUILD_FROM_TESTS,
        {apiPath(dist), apiPath(scratch / "out.iso"), apiPath(scratch / "boot.img"), "XP", std::to_string(kVolumeTime)},
        &output);
    ASSERT_EQ(code, 0) << output;
    const std::string written = readFile(scratch / "out.iso");
    ASSERT_EQ(written.size(), expected.size()) << output;
    std::size_t firstDifference = 0;
    while (firstDifference < written.size() && written[firstDifference] == expected[firstDifference])
        ++firstDifference;
    EXPECT_EQ(firstDifference, written.size()) << "the images differ from byte " << firstDifference;
}

}  // namespace
}  // namespace osm::iso::test
