// A file of more than 4 GiB: several extents of one name in both trees, read back whole. The source is
// sparse and the image is written sparse, so the test moves 4 GiB through the writer but little to disk.
#include "IsoReader.h"
#include "IsoTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace osm::iso::test {
namespace {

constexpr std::uint64_t kPiece = 0xFFFFF800ull;  // largest whole-sector extent below 4 GiB
constexpr std::uint64_t kSize = (4ull << 30) + (3u << 20) + 123;

struct Marker
{
    std::uint64_t offset;
    std::string bytes;
};

std::vector<Marker> markers()
{
    auto bytes = [](char seed) {
        std::string s(64, '\0');
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<char>(seed + 7 * i + 1);
        return s;
    };
    return {{0, bytes('a')},
            {kPiece - 32, bytes('b')},  // across the end of the first extent
            {(4ull << 30) - 10, bytes('c')},
            {kSize - 64, bytes('d')}};  // the tail
}

void writeSparseSource(const fs::path& path)
{
    {
        std::ofstream create(path, std::ios::binary);
    }
    fs::resize_file(path, kSize);
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    for (const Marker& m : markers())
    {
        out.seekp(static_cast<std::streamoff>(m.offset));
        out.write(m.bytes.data(), static_cast<std::streamsize>(m.bytes.size()));
    }
    ASSERT_TRUE(out.good());
}

// The wizard's chunk loop, leaving holes where a chunk is all zeros.
std::uint32_t writeSparseImage(TreeSession& session, const fs::path& output)
{
    if (const std::uint32_t r = session.seek())
        return r;
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(kChunk), zeros(kChunk, 0);
    const std::uint64_t total = session.size();
    for (std::uint64_t position = 0; position < total;)
    {
        const std::uint32_t n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunk, total - position));
        if (const std::uint32_t r = session.read(buffer.data(), n))
            return r;
        if (std::memcmp(buffer.data(), zeros.data(), n) != 0)
        {
            out.seekp(static_cast<std::streamoff>(position));
            out.write(buffer.data(), n);
        }
        position += n;
    }
    out.close();
    fs::resize_file(output, total);
    return 0;
}

// Holes of a file in memory read as the shared zero page; on disk each would take a page of the cache.
fs::path sparseFriendlyFolder()
{
#ifdef _WIN32
    const fs::path shm = "Z:\\dev\\shm";  // Wine's view of the host's memory file system
#else
    const fs::path shm = "/dev/shm";
#endif
    std::error_code error;
    return fs::is_directory(shm, error) ? shm : fs::temp_directory_path();
}

TEST(LargeFileTest, FileOver4GiBSpansExtentsInBothTreesAndReadsBackWhole)
{
    ScratchDir scratch(sparseFriendlyFolder());
    const fs::path big = scratch / "dist" / "install.wim";
    fs::create_directories(big.parent_path());
    writeSparseSource(big);
    writePattern(scratch / "dist" / "after.txt", 3000, 5);  // data placed after the big file
    TreeSession session;
    ASSERT_EQ(session.addTopLevel(scratch / "dist"), 0u) << session.text();
    ASSERT_EQ(session.build("WIN"), 0u) << session.text();
    EXPECT_GT(session.size(), kSize);
    const fs::path image = scratch / "win.iso";
    ASSERT_EQ(writeSparseImage(session, image), 0u) << session.text();

    IsoReader reader(image);
    EXPECT_EQ(std::uint64_t(reader.primary().spaceSize) * 2048, session.size());
    for (const bool joliet : {false, true})
    {
        SCOPED_TRACE(joliet ? "Joliet" : "ISO9660");
        const auto tree = reader.tree(joliet);
        const auto& file = tree.at(joliet ? "/install.wim" : "/INSTALL.WIM");
        ASSERT_EQ(file.records.size(), 2u);
        EXPECT_EQ(file.records[0].flags, 0x80);  // continued in the next record
        EXPECT_EQ(file.records[0].length, kPiece);
        EXPECT_EQ(file.records[1].flags, 0);
        EXPECT_EQ(file.records[1].length, kSize - kPiece);
        EXPECT_EQ(file.records[1].extent, file.records[0].extent + kPiece / 2048);  // one after the other
        EXPECT_EQ(file.size, kSize);
        for (const Marker& m : markers())
        {
            const auto bytes = reader.bytes(std::uint64_t(file.records[0].extent) * 2048 + m.offset, m.bytes.size());
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), m.bytes) << "at " << m.offset;
        }
        const auto& after = tree.at(joliet ? "/after.txt" : "/AFTER.TXT");
        EXPECT_TRUE(reader.sameAsFile(after, scratch / "dist" / "after.txt"));
    }

#ifndef _WIN32
    // The host's readers take it too (native tree only: a Windows program cannot start them).
    if (haveReader("xorriso", "xorriso"))
    {
        // "stdio:" lets xorriso take an image file below /dev (the memory file system).
        const std::string drive = quote("stdio:" + image.u8string());
        // An independent reader takes the file whole across the extents: check the seam and the tail.
        for (const Marker& m : markers())
        {
            const fs::path cut = scratch / "cut.bin";
            std::string log;
            ASSERT_EQ(run("xorriso -osirrox on -indev " + drive + " -extract_cut /install.wim " +
                              std::to_string(m.offset) + " " + std::to_string(m.bytes.size()) + " " + quote(cut),
                          &log),
                      0)
                << log;
            EXPECT_EQ(readFile(cut), m.bytes) << "xorriso at " << m.offset;
            fs::remove(cut);
        }
        std::string listing;
        ASSERT_EQ(run("xorriso -indev " + drive + " -lsl /install.wim", &listing), 0) << listing;
        EXPECT_NE(listing.find(std::to_string(kSize)), std::string::npos) << listing;
    }
    if (haveReader("isoinfo", "genisoimage"))
    {
        std::string listing;
        ASSERT_EQ(run("isoinfo -l -i " + quote(image), &listing), 0) << listing;
        EXPECT_NE(listing.find("INSTALL.WIM"), std::string::npos) << listing;
    }
#endif
}

}  // namespace
}  // namespace osm::iso::test
