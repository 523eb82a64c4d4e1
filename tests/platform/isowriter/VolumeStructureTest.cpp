// Volume descriptors, path tables and the El Torito catalog: the values the wizard relies on, read by the
// tests' own reader and by independent tools.
#include "IsoReader.h"
#include "IsoTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace osm::iso::test {
namespace {

// A small tree with a few levels of folders, built into xp.iso with the wizard's boot arguments.
class VolumeStructureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        source_ = scratch_ / "dist";
        writePattern(source_ / "I386" / "SETUPLDR.BIN", 3000, 1);
        writePattern(source_ / "I386" / "SYSTEM32" / "DRIVERS" / "ATAPI.SYS", 100, 2);
        writePattern(source_ / "Docs" / "Manual" / "Index.htm", 200, 3);
        fs::create_directories(source_ / "Empty");
        std::string deep = "Deep";
        for (int level = 1; level <= 10; ++level)
            deep += "/Level" + std::to_string(level);
        writePattern(source_ / fs::u8path(deep) / "end.txt", 5, 4);
        boot_ = SerialBootImage("catalog");
        writeFile(scratch_ / "xpboot.img", boot_);
    }

    fs::path build(const std::string& label = "XP", std::uint32_t platform = 0, std::uint32_t sectors = 4,
                   std::uint32_t segment = 0)
    {
        TreeSession session;
        EXPECT_EQ(session.addTopLevel(source_), 0u) << session.text();
        EXPECT_EQ(session.setBoot(scratch_ / "xpboot.img", STARBURN_BOOT_EMULATION_NONE, platform, sectors, segment),
                  0u)
            << session.text();
        EXPECT_EQ(session.build(label), 0u) << session.text();
        const fs::path image = scratch_ / "xp.iso";
        EXPECT_EQ(session.writeImage(image), 0u) << session.text();
        EXPECT_EQ(fs::file_size(image), session.size());
        return image;
    }

    ScratchDir scratch_;
    fs::path source_;
    std::string boot_;
};

struct LabelCase
{
    const char* label;
    const char* primaryId;  // d-characters, at most 32
    const char* jolietId;   // original text, at most 16 characters
};

class VolumeLabelTest : public VolumeStructureTest, public ::testing::WithParamInterface<LabelCase>
{};

TEST_P(VolumeLabelTest, BothVolumesCarryLabelAndIdentifiers)
{
    const LabelCase& c = GetParam();
    const fs::path image = build(c.label);
    IsoReader reader(image);

    std::vector<int> types;
    for (const auto& d : reader.descriptors())
        types.push_back(d.type);
    EXPECT_EQ(types, (std::vector<int>{1, 0, 2, 255}));  // primary, boot record, Joliet, terminator

    const auto& primary = reader.primary();
    EXPECT_EQ(primary.volumeId, c.primaryId);
    EXPECT_EQ(primary.publisher, "Taleno Company");
    EXPECT_EQ(primary.application, "Taleno Corvane");
    EXPECT_EQ(primary.blockSize, 2048);
    EXPECT_EQ(primary.setSize, 1);
    EXPECT_EQ(primary.sequence, 1);
    EXPECT_EQ(std::uint64_t(primary.spaceSize) * 2048, reader.imageSize());
    EXPECT_EQ(primary.created, "2010010100000000");
    EXPECT_EQ(primary.expiration, "0000000000000000");
    EXPECT_EQ(primary.fileStructureVersion, 1);

    const auto* joliet = reader.joliet();
    ASSERT_NE(joliet, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(joliet->escape), 3), "%/E");
    EXPECT_EQ(joliet->volumeId, c.jolietId);
    EXPECT_EQ(joliet->publisher, "Taleno Company");
    EXPECT_EQ(joliet->application, "Taleno Corvane");
    EXPECT_EQ(joliet->spaceSize, primary.spaceSize);
    EXPECT_NE(joliet->root.extent, primary.root.extent);  // each volume has its own directories
}

INSTANTIATE_TEST_SUITE_P(Labels, VolumeLabelTest,
                         ::testing::Values(LabelCase{"XP", "XP", "XP"}, LabelCase{"WIN", "WIN", "WIN"},
                                           LabelCase{"My disc 1.0", "MY DISC 1_0", "My disc 1.0"},
                                           LabelCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
                                                     "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", "ABCDEFGHIJKLMNOP"}));

TEST_F(VolumeStructureTest, PathTablesListEveryFolderInOrderInBothByteOrders)
{
    IsoReader reader(build());
    for (const bool joliet : {false, true})
    {
        SCOPED_TRACE(joliet ? "Joliet" : "ISO9660");
        const auto tree = reader.tree(joliet);
        const auto little = reader.pathTable(joliet, false);
        const auto big = reader.pathTable(joliet, true);
        ASSERT_EQ(little.size(), big.size());
        std::size_t folders = 0;
        for (const auto& kv : tree)
            folders += kv.second.directory;
        ASSERT_EQ(little.size(), folders);  // 15 folders, 11 levels below the root: past ISO9660's 8

        // Rebuild each folder's path from the table and find it in the directory tree with the same extent.
        std::vector<std::string> paths;
        std::vector<std::size_t> levels;
        for (std::size_t i = 0; i < little.size(); ++i)
        {
            EXPECT_EQ(little[i].name, big[i].name);
            EXPECT_EQ(little[i].extent, big[i].extent);
            EXPECT_EQ(little[i].parent, big[i].parent);
            if (i == 0)
            {
                EXPECT_EQ(little[i].name, std::string(1, '\0'));
                EXPECT_EQ(little[i].parent, 1);
                paths.push_back("/");
                levels.push_back(1);
                continue;
            }
            ASSERT_GE(little[i].parent, 1);
            ASSERT_LE(little[i].parent, i);  // parents come first
            const std::size_t parent = little[i].parent - 1;
            paths.push_back((paths[parent] == "/" ? "" : paths[parent]) + "/" + little[i].name);
            levels.push_back(levels[parent] + 1);
            // Order: by level, then by parent number, then by name.
            EXPECT_GE(levels[i], levels[i - 1]);
            if (levels[i] == levels[i - 1] && little[i].parent == little[i - 1].parent)
            {
                EXPECT_LT(little[i - 1].name, little[i].name);
            }
            else if (levels[i] == levels[i - 1])
            {
                EXPECT_GT(little[i].parent, little[i - 1].parent);
            }
        }
        for (std::size_t i = 0; i < paths.size(); ++i)
        {
            ASSERT_TRUE(tree.count(paths[i])) << paths[i];
            EXPECT_EQ(tree.at(paths[i]).records.front().extent, little[i].extent) << paths[i];
        }
        EXPECT_EQ(*std::max_element(levels.begin(), levels.end()), 12u);
    }
}

struct BootCase
{
    std::uint32_t platform, sectors, segment;
    std::uint16_t expectedSectors;  // sectors 0 loads the whole 2048-byte file: 4 of 512 bytes
};

class BootCatalogTest : public VolumeStructureTest, public ::testing::WithParamInterface<BootCase>
{};

TEST_P(BootCatalogTest, CatalogHoldsTheNoEmulationEntry)
{
    const BootCase& c = GetParam();
    IsoReader reader(build("XP", c.platform, c.sectors, c.segment));
    const auto boot = reader.boot();
    ASSERT_TRUE(boot.has_value());
    EXPECT_EQ(boot->system, "EL TORITO SPECIFICATION");
    EXPECT_EQ(boot->headerId, 1);
    EXPECT_EQ(boot->platform, c.platform);
    EXPECT_TRUE(boot->checksumValid);
    EXPECT_TRUE(boot->keyValid);
    EXPECT_EQ(boot->indicator, 0x88);  // bootable
    EXPECT_EQ(boot->media, 0);         // no emulation
    EXPECT_EQ(boot->loadSegment, c.segment);
    EXPECT_EQ(boot->sectorCount, c.expectedSectors);
    const auto copied = reader.bytes(std::uint64_t(boot->imageSector) * 2048, boot_.size());
    EXPECT_EQ(std::string(copied.begin(), copied.end()), boot_);
    // The boot image is copied in but listed in neither tree.
    for (const bool joliet : {false, true})
        for (const auto& kv : reader.tree(joliet))
            for (const auto& r : kv.second.records)
                EXPECT_NE(r.extent, boot->imageSector) << kv.first;
}

INSTANTIATE_TEST_SUITE_P(Entries, BootCatalogTest,
                         ::testing::Values(BootCase{0, 4, 0, 4},  // the wizard's arguments
                                           BootCase{0, 0, 0, 4}, BootCase{0, 1, 0x1000, 1},
                                           BootCase{0xEF, 65535, 0x7C0, 65535}));

#ifndef _WIN32
// The independent readers run on the host: these checks are built into the native tree.

// Lines "key: value" or "key value" of a tool's report.
std::map<std::string, std::string> reportLines(const std::string& report)
{
    std::map<std::string, std::string> out;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line))
    {
        auto start = line.find_first_not_of(' ');
        if (start == std::string::npos)
            continue;
        line = line.substr(start);
        auto trim = [](std::string s) {
            s.erase(0, std::min(s.find_first_not_of(' '), s.size()));
            s.erase(s.find_last_not_of(' ') + 1);
            return s;
        };
        const auto colon = line.find(':');
        if (colon != std::string::npos)
            out[trim(line.substr(0, colon))] = trim(line.substr(colon + 1));
        else
            out[trim(line)] = "";
    }
    return out;
}

TEST_F(VolumeStructureTest, IsoinfoReportsVolumesAndBootEntry)
{
    if (!haveReader("isoinfo", "genisoimage"))
        GTEST_SKIP() << "isoinfo (genisoimage) is not installed";
    const fs::path image = build();
    IsoReader reader(image);
    std::string report;
    ASSERT_EQ(run("isoinfo -d -i " + quote(image), &report), 0) << report;
    const auto lines = reportLines(report);
    EXPECT_EQ(lines.at("Volume id"), "XP");
    EXPECT_EQ(lines.at("Publisher id"), "Taleno Company");
    EXPECT_EQ(lines.at("Application id"), "Taleno Corvane");
    EXPECT_EQ(lines.at("Logical block size is"), "2048");
    EXPECT_EQ(lines.at("Volume size is"), std::to_string(reader.imageSize() / 2048));
    EXPECT_TRUE(lines.count("Joliet with UCS level 3 found")) << report;
    EXPECT_TRUE(lines.count("El Torito VD version 1 found, boot catalog is in sector " +
                            std::to_string(reader.boot()->catalogSector)))
        << report;
    EXPECT_EQ(lines.at("Arch 0 (x86)"), "");
    EXPECT_EQ(lines.at("Key 55 AA"), "");
    EXPECT_EQ(lines.at("Bootid 88 (bootable)"), "");
    EXPECT_EQ(lines.at("Boot media 0 (No Emulation Boot)"), "");
    EXPECT_EQ(lines.at("Load segment 0"), "");
    EXPECT_EQ(lines.at("Nsect 4"), "");
}

TEST_F(VolumeStructureTest, XorrisoReportsTheBootEntry)
{
    if (!haveReader("xorriso", "xorriso"))
        GTEST_SKIP() << "xorriso is not installed";
    const fs::path image = build();
    IsoReader reader(image);
    std::string report;
    ASSERT_EQ(run("xorriso -indev " + quote(image) + " -report_el_torito plain", &report), 0) << report;
    const auto lines = reportLines(report);
    // "El Torito boot img :   1  BIOS  y   none  0x0000  0x00      4          35"
    std::istringstream entry(lines.at("El Torito boot img"));
    std::string number, platform, bootable, emulation, segment, heads, sectors, lba;
    entry >> number >> platform >> bootable >> emulation >> segment >> heads >> sectors >> lba;
    EXPECT_EQ(platform, "BIOS");
    EXPECT_EQ(bootable, "y");
    EXPECT_EQ(emulation, "none");
    EXPECT_EQ(segment, "0x0000");
    EXPECT_EQ(sectors, "4");
    EXPECT_EQ(lba, std::to_string(reader.boot()->imageSector));
    EXPECT_EQ(lines.at("Volume id"), "'XP'");
}

TEST_F(VolumeStructureTest, PycdlibReportsVolumesAndBootEntry)
{
    if (!haveReader("pycdlib", "python3-pycdlib", "/usr/bin/python3 -c 'import pycdlib' 2>/dev/null"))
        GTEST_SKIP() << "pycdlib (python3-pycdlib) is not installed";
    const fs::path image = build();
    const fs::path script = scratch_ / "report.py";
    writeFile(script, R"(import sys, pycdlib
iso = pycdlib.PyCdlib()
iso.open(sys.argv[1])
p, j = iso.pvd, iso.joliet_vd
print('label:' + p.volume_identifier.decode().rstrip())
print('publisher:' + p.publisher_identifier.text.decode().rstrip())
print('application:' + p.application_identifier.text.decode().rstrip())
print('joliet label:' + j.volume_identifier.decode('utf-16-be').rstrip())
print('joliet publisher:' + j.publisher_identifier.text.decode('utf-16-be').rstrip())
print('joliet application:' + j.application_identifier.text.decode('utf-16-be').rstrip())
c = iso.eltorito_boot_catalog
e = c.initial_entry
print('platform:%d' % c.validation_entry.platform_id)
print('boot:%d %d %d %d' % (e.boot_indicator, e.boot_media_type, e.load_segment, e.sector_count))
)");
    std::string report;
    ASSERT_EQ(run("/usr/bin/python3 " + quote(script) + " " + quote(image), &report), 0) << report;
    const auto lines = reportLines(report);
    EXPECT_EQ(lines.at("label"), "XP");
    EXPECT_EQ(lines.at("publisher"), "Taleno Company");
    EXPECT_EQ(lines.at("application"), "Taleno Corvane");
    EXPECT_EQ(lines.at("joliet label"), "XP");
    EXPECT_EQ(lines.at("joliet publisher"), "Taleno Company");
    EXPECT_EQ(lines.at("joliet application"), "Taleno Corvane");
    EXPECT_EQ(lines.at("platform"), "0");
    EXPECT_EQ(lines.at("boot"), "136 0 0 4");  // 0x88 bootable, no emulation, default segment, 4 sectors
}
#endif

}  // namespace
}  // namespace osm::iso::test
