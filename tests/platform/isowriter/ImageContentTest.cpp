// The wizard's build of a distribution-shaped folder, read back by the tests' own reader (everywhere) and
// by independent tools (Linux): names in both trees, data, dates, record order.
#include "DistributionTree.h"
#include "IsoReader.h"
#include "IsoTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

namespace osm::iso::test {
namespace {

// Names in one set and not the other, for readable failures.
std::string difference(const std::set<std::string>& found, const std::set<std::string>& expected)
{
    std::string out;
    for (const auto& s : found)
        if (!expected.count(s))
            out += "\n  unexpected: " + s;
    for (const auto& s : expected)
        if (!found.count(s))
            out += "\n  missing:    " + s;
    return out;
}

class ImageContentTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        scratch_ = std::make_unique<ScratchDir>();
        fs::create_directories(scratch_->path() / "dist");
        tree_ = std::make_unique<DistributionTree>(scratch_->path() / "dist");
        writeFile(bootImage(), SerialBootImage("boot"));
        TreeSession session;
        ASSERT_EQ(session.addTopLevel(tree_->folder()), 0u) << session.text();
        ASSERT_EQ(session.setBoot(bootImage()), 0u) << session.text();
        ASSERT_EQ(session.build("XP"), 0u) << session.text();
        ASSERT_EQ(session.writeImage(image()), 0u) << session.text();
    }
    static void TearDownTestSuite()
    {
        tree_.reset();
        scratch_.reset();
    }

    static fs::path image() { return scratch_->path() / "xp.iso"; }
    static fs::path bootImage() { return scratch_->path() / "xpboot.img"; }

    static std::set<std::string> expectedPaths(bool joliet)
    {
        std::set<std::string> paths{"/"};
        for (const auto& e : tree_->entries())
            paths.insert(joliet ? e.jolietPath : e.isoPath);
        return paths;
    }

    // Compares every file of an extracted Joliet tree with its source, and the extracted set with the expected.
    static void expectExtractedTree(const fs::path& extracted, const std::string& tool)
    {
        std::set<std::string> found;
        for (auto it = fs::recursive_directory_iterator(extracted); it != fs::recursive_directory_iterator(); ++it)
        {
            const std::string relative = "/" + fs::relative(it->path(), extracted).generic_u8string();
            if (relative.rfind("/[BOOT]", 0) == 0)  // 7-Zip shows the boot image as a file of its own
                continue;
            found.insert(relative);
        }
        std::set<std::string> expected = expectedPaths(true);
        expected.erase("/");
        EXPECT_TRUE(found == expected) << tool << difference(found, expected);
        for (const auto& e : tree_->entries())
        {
            if (e.directory)
                continue;
            EXPECT_EQ(readFile(extracted / fs::u8path(e.jolietPath.substr(1))), readFile(tree_->folder() / e.source))
                << tool << " extracted " << e.jolietPath << " differently";
        }
    }

    static std::unique_ptr<ScratchDir> scratch_;
    static std::unique_ptr<DistributionTree> tree_;
};

std::unique_ptr<ScratchDir> ImageContentTest::scratch_;
std::unique_ptr<DistributionTree> ImageContentTest::tree_;

template <class Map> std::set<std::string> keysOf(const Map& map)
{
    std::set<std::string> keys;
    for (const auto& kv : map)
        keys.insert(kv.first);
    return keys;
}

TEST_F(ImageContentTest, BothTreesHoldTheExpectedNames)
{
    IsoReader reader(image());
    for (const bool joliet : {false, true})
    {
        const auto found = keysOf(reader.tree(joliet));
        EXPECT_TRUE(found == expectedPaths(joliet)) << difference(found, expectedPaths(joliet));
    }
}

TEST_F(ImageContentTest, IsoNamesAreBareDCharacterNames)
{
    IsoReader reader(image());
    for (const auto& kv : reader.tree(false))
    {
        if (kv.first == "/")
            continue;
        const std::string& name = kv.second.records.front().name;
        SCOPED_TRACE(kv.first);
        EXPECT_LE(name.size(), 31u);
        EXPECT_EQ(name.find(';'), std::string::npos);
        EXPECT_NE(name.back(), '.');
        EXPECT_LE(std::count(name.begin(), name.end(), '.'), kv.second.directory ? 0 : 1);
        for (char c : name)
            EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.') << name;
    }
}

TEST_F(ImageContentTest, EveryFileReadsBackFromBothTreesByteIdentical)
{
    IsoReader reader(image());
    const auto iso = reader.tree(false);
    const auto joliet = reader.tree(true);
    for (const auto& e : tree_->entries())
    {
        SCOPED_TRACE(e.jolietPath);
        const auto& j = joliet.at(e.jolietPath);
        const auto& i = iso.at(e.isoPath);
        ASSERT_EQ(j.directory, e.directory);
        ASSERT_EQ(i.directory, e.directory);
        if (e.directory)
            continue;
        EXPECT_EQ(j.size, e.size);
        EXPECT_TRUE(reader.sameAsFile(j, tree_->folder() / e.source));
        ASSERT_EQ(i.records.size(), j.records.size());
        for (std::size_t k = 0; k < i.records.size(); ++k)
        {
            EXPECT_EQ(i.records[k].extent, j.records[k].extent);
            EXPECT_EQ(i.records[k].length, j.records[k].length);
        }
        if (e.size == 0)
        {
            EXPECT_EQ(j.records.front().extent, 0u);  // no data, no sectors
        }
    }
}

TEST_F(ImageContentTest, FileRecordsCarryTheFilesModificationTime)
{
    IsoReader reader(image());
    const auto joliet = reader.tree(true);
    const auto iso = reader.tree(false);
    const std::uint8_t expected[7] = {105, 6, 7, 8, 9, 10, 0};  // 2005-06-07 08:09:10, UTC
    for (const auto& e : tree_->entries())
    {
        if (e.directory)
            continue;
        SCOPED_TRACE(e.jolietPath);
        EXPECT_EQ(0, std::memcmp(joliet.at(e.jolietPath).records.front().date, expected, 7));
        EXPECT_EQ(0, std::memcmp(iso.at(e.isoPath).records.front().date, expected, 7));
    }
}

TEST_F(ImageContentTest, RecordsAreInTheOrderOfEachTree)
{
    IsoReader reader(image());
    // ISO9660: stem, then extension, each compared as if padded with spaces.
    auto isoKey = [](const std::string& name) {
        const auto dot = name.find('.');
        std::string stem = name.substr(0, dot), ext = dot == std::string::npos ? "" : name.substr(dot + 1);
        stem.resize(31, ' ');
        ext.resize(31, ' ');
        return stem + ext;
    };
    for (const bool joliet : {false, true})
    {
        const auto all = reader.tree(joliet);
        for (const auto& kv : all)
        {
            if (!kv.second.directory)
                continue;
            std::vector<std::string> keys;
            for (const auto& child : kv.second.children)
            {
                const auto& entry = all.at((kv.first == "/" ? "" : kv.first) + "/" + child);
                keys.push_back(joliet ? entry.records.front().rawName : isoKey(entry.records.front().rawName));
            }
            EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << (joliet ? "Joliet " : "ISO9660 ") << kv.first;
        }
    }
}

#ifndef _WIN32
// The independent readers run on the host: these checks are built into the native tree.
TEST_F(ImageContentTest, IsoinfoListsBothTrees)
{
    if (!haveReader("isoinfo", "genisoimage"))
        GTEST_SKIP() << "isoinfo (genisoimage) is not installed";
    for (const bool joliet : {false, true})
    {
        std::string listing;
        const std::string options = joliet ? "-l -J -i " : "-l -i ";
        ASSERT_EQ(run("isoinfo " + options + quote(image()), &listing), 0) << listing;
        // "Directory listing of /PATH/" headers, then one line per record ending in "]  NAME ".
        std::set<std::string> found{"/"};
        std::string folder;
        std::size_t at = 0;
        while (at < listing.size())
        {
            std::size_t end = listing.find('\n', at);
            if (end == std::string::npos)
                end = listing.size();
            std::string line = listing.substr(at, end - at);
            at = end + 1;
            if (line.rfind("Directory listing of ", 0) == 0)
            {
                folder = line.substr(21);
                continue;
            }
            const auto mark = line.find("]  ");
            if (mark == std::string::npos)
                continue;
            std::string name = line.substr(mark + 3);
            while (!name.empty() && name.back() == ' ')
                name.pop_back();
            if (name == "." || name == "..")
                continue;
            found.insert(folder + name);
        }
        const std::set<std::string> expected = expectedPaths(joliet);
        if (!joliet)
        {
            EXPECT_TRUE(found == expected) << difference(found, expected);
            continue;
        }
        // isoinfo prints Joliet names in Latin-1 at best, other characters as '_': every ASCII name must be
        // there, and as many names in all as expected.
        EXPECT_EQ(found.size(), expected.size()) << difference(found, expected);
        for (const auto& path : expected)
        {
            if (std::all_of(path.begin(), path.end(), [](char c) { return (c & 0x80) == 0; }))
            {
                EXPECT_TRUE(found.count(path)) << "isoinfo does not list " << path;
            }
        }
    }
}

TEST_F(ImageContentTest, IsoinfoExtractsEveryFileByItsIsoName)
{
    if (!haveReader("isoinfo", "genisoimage"))
        GTEST_SKIP() << "isoinfo (genisoimage) is not installed";
    const fs::path out = scratch_->path() / "isoinfo.out";
    for (const auto& e : tree_->entries())
    {
        if (e.directory)
            continue;
        ASSERT_EQ(run("isoinfo -i " + quote(image()) + " -x " + quote(e.isoPath) + " > " + quote(out)), 0);
        EXPECT_EQ(readFile(out), readFile(tree_->folder() / e.source)) << e.isoPath;
    }
}

struct ExtractTool
{
    const char* name;
    const char* program;
    const char* package;
    const char* command;  // {image} and {out} replaced
};

class ExtractionTest : public ImageContentTest, public ::testing::WithParamInterface<ExtractTool>
{};

TEST_P(ExtractionTest, ExtractsEveryFileByteIdentical)
{
    const ExtractTool& tool = GetParam();
    if (!haveReader(tool.program, tool.package))
        GTEST_SKIP() << tool.program << " (" << tool.package << ") is not installed";
    const fs::path out = scratch_->path() / (std::string("extract-") + tool.name);
    fs::create_directories(out);
    std::string command = tool.command;
    command.replace(command.find("{image}"), 7, quote(image()));
    command.replace(command.find("{out}"), 5, quote(out));
    std::string log;
    ASSERT_EQ(run(command, &log), 0) << log;
    expectExtractedTree(out, tool.name);
}

INSTANTIATE_TEST_SUITE_P(Tools, ExtractionTest,
                         ::testing::Values(ExtractTool{"SevenZip", "7z", "p7zip-full",
                                                       "7z x -y -o{out} {image} >/dev/null"},
                                           ExtractTool{"Xorriso", "xorriso", "xorriso",
                                                       "xorriso -osirrox on -indev {image} -extract / {out}"}),
                         [](const ::testing::TestParamInfo<ExtractTool>& info) { return info.param.name; });

TEST_F(ImageContentTest, PycdlibReadsBothTreesByteIdentical)
{
    if (!haveReader("pycdlib", "python3-pycdlib", "/usr/bin/python3 -c 'import pycdlib' 2>/dev/null"))
        GTEST_SKIP() << "pycdlib (python3-pycdlib) is not installed";
    // For each "tree<TAB>image path<TAB>source file" line: OK or BAD; then every path of both trees.
    const fs::path script = scratch_->path() / "check.py";
    writeFile(script, R"(import io, sys, pycdlib
iso = pycdlib.PyCdlib()
iso.open(sys.argv[1])
for line in sys.stdin.read().splitlines():
    tree, path, source = line.split('\t')
    data = io.BytesIO()
    if tree == 'iso':
        iso.get_file_from_iso_fp(data, iso_path=path)
    else:
        iso.get_file_from_iso_fp(data, joliet_path=path)
    print(('OK ' if data.getvalue() == open(source, 'rb').read() else 'BAD ') + tree + ' ' + path)
for tree in ('iso', 'joliet'):
    for root, dirs, files in iso.walk(**{tree + '_path': '/'}):
        for name in dirs + files:
            print('PATH ' + tree + ' ' + (root.rstrip('/') + '/' + name))
)");
    std::string input;
    for (const auto& e : tree_->entries())
    {
        if (e.directory)
            continue;
        const std::string source = (tree_->folder() / e.source).u8string();
        input += "iso\t" + e.isoPath + "\t" + source + "\n";
        input += "joliet\t" + e.jolietPath + "\t" + source + "\n";
    }
    const fs::path list = scratch_->path() / "check.txt";
    writeFile(list, input);
    std::string output;
    ASSERT_EQ(run("/usr/bin/python3 " + quote(script) + " " + quote(image()) + " < " + quote(list), &output), 0)
        << output;
    std::set<std::string> iso{"/"}, joliet{"/"};
    std::size_t ok = 0;
    std::size_t at = 0;
    while (at < output.size())
    {
        const std::size_t end = output.find('\n', at);
        const std::string line = output.substr(at, end - at);
        at = end == std::string::npos ? output.size() : end + 1;
        if (line.rfind("OK ", 0) == 0)
            ++ok;
        else if (line.rfind("PATH iso ", 0) == 0)
            iso.insert(line.substr(9));
        else if (line.rfind("PATH joliet ", 0) == 0)
            joliet.insert(line.substr(12));
        else
            ADD_FAILURE() << line;
    }
    EXPECT_EQ(ok, std::count(input.begin(), input.end(), '\n'));
    EXPECT_TRUE(iso == expectedPaths(false)) << difference(iso, expectedPaths(false));
    EXPECT_TRUE(joliet == expectedPaths(true)) << difference(joliet, expectedPaths(true));
}
#endif

}  // namespace
}  // namespace osm::iso::test
