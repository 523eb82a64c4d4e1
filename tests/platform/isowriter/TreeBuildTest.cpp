// Building the tree from disk: exclusions, links, entries added alone or under another name, and the
// options of the tree (Joliet, file dates).
#include "IsoReader.h"
#include "IsoTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace osm::iso::test {
namespace {

std::set<std::string> pathsOf(const std::map<std::string, IsoReader::Entry>& tree)
{
    std::set<std::string> paths;
    for (const auto& kv : tree)
        paths.insert(kv.first);
    return paths;
}

class TreeBuildTest : public ::testing::Test
{
protected:
    // Builds what the session holds into out.iso and reads its Joliet tree.
    std::set<std::string> buildJoliet(TreeSession& session)
    {
        EXPECT_EQ(session.build(), 0u) << session.text();
        EXPECT_EQ(session.writeImage(scratch_ / "out.iso"), 0u) << session.text();
        return pathsOf(IsoReader(scratch_ / "out.iso").tree(true));
    }

    ScratchDir scratch_;
};

TEST_F(TreeBuildTest, ExcludedFilesAndFoldersAreSkippedWherever)
{
    const fs::path dist = scratch_ / "dist";
    writePattern(dist / "I386" / "keep.txt", 10, 1);
    writePattern(dist / "xp.iso", 4096, 2);                  // the wizard's own output, at the top
    writePattern(dist / "I386" / "old" / "xp.iso", 100, 3);  // and a folder of old output deeper down
    writePattern(dist / "I386" / "old" / "other.txt", 100, 4);
    TreeSession session;
    // Spelled differently from the way Add meets them: relative parts and a trailing separator.
    ASSERT_EQ(session.exclude(dist / "I386" / ".." / "xp.iso"), 0u);
    ASSERT_EQ(session.exclude(fs::path((dist / "I386" / "old").u8string() + "/")), 0u);
    ASSERT_EQ(session.addTopLevel(dist), 0u) << session.text();
    EXPECT_EQ(buildJoliet(session), (std::set<std::string>{"/", "/I386", "/I386/keep.txt"}));
}

TEST_F(TreeBuildTest, AddingAnExcludedPathAddsNothing)
{
    writePattern(scratch_ / "xp.iso", 10, 1);
    TreeSession session;
    ASSERT_EQ(session.exclude(scratch_ / "xp.iso"), 0u);
    STARBURN_NODE node = reinterpret_cast<STARBURN_NODE>(&session);
    EXPECT_EQ(session.add(scratch_ / "xp.iso", STARBURN_ADD_WITH_CONTENTS, nullptr, &node), 0u);
    EXPECT_EQ(node, nullptr);
    EXPECT_EQ(buildJoliet(session), (std::set<std::string>{"/"}));
}

TEST_F(TreeBuildTest, FoldersAddedAloneTakeEntriesAddedUnderThem)
{
    writePattern(scratch_ / "src" / "Folder" / "inside.txt", 10, 1);
    writePattern(scratch_ / "src" / "other.bin", 20, 2);
    TreeSession session;
    STARBURN_NODE folder = nullptr;
    ASSERT_EQ(session.add(scratch_ / "src" / "Folder", STARBURN_ADD_ENTRY_ONLY, nullptr, &folder), 0u);
    ASSERT_NE(folder, nullptr);
    STARBURN_NODE file = nullptr;
    ASSERT_EQ(session.add(scratch_ / "src" / "other.bin", STARBURN_ADD_WITH_CONTENTS, folder, &file, "renamed.dat"), 0u)
        << session.text();
    // A file is no parent.
    EXPECT_EQ(session.add(scratch_ / "src" / "other.bin", STARBURN_ADD_WITH_CONTENTS, file),
              static_cast<std::uint32_t>(STARBURN_ERROR_INVALID_PARAMETER));
    EXPECT_EQ(buildJoliet(session), (std::set<std::string>{"/", "/Folder", "/Folder/renamed.dat"}));
    IsoReader reader(scratch_ / "out.iso");
    EXPECT_TRUE(reader.sameAsFile(reader.tree(true).at("/Folder/renamed.dat"), scratch_ / "src" / "other.bin"));
    EXPECT_EQ(pathsOf(reader.tree(false)), (std::set<std::string>{"/", "/FOLDER", "/FOLDER/RENAMED.DAT"}));
}

TEST_F(TreeBuildTest, AnEmptyTreeMakesAValidImage)
{
    TreeSession session;
    EXPECT_EQ(buildJoliet(session), (std::set<std::string>{"/"}));
    IsoReader reader(scratch_ / "out.iso");
    EXPECT_EQ(pathsOf(reader.tree(false)), (std::set<std::string>{"/"}));
    EXPECT_FALSE(reader.boot().has_value());
#ifndef _WIN32
    // The host's isoinfo reads it too (native tree only: a Windows program cannot start it).
    if (haveReader("isoinfo", "genisoimage"))
    {
        std::string listing;
        EXPECT_EQ(run("isoinfo -J -l -i " + quote(scratch_ / "out.iso"), &listing), 0) << listing;
    }
#endif
}

TEST_F(TreeBuildTest, WithoutJolietOnlyThePrimaryVolumeIsWritten)
{
    const std::string longName = std::string(150, 'x') + ".txt";  // no Joliet: no limit on the original name
    writePattern(scratch_ / "src" / longName, 10, 1);
    TreeSession session(true, 0, 1);
    ASSERT_EQ(session.add(scratch_ / "src"), 0u) << session.text();
    ASSERT_EQ(session.build(), 0u) << session.text();
    ASSERT_EQ(session.writeImage(scratch_ / "out.iso"), 0u) << session.text();
    IsoReader reader(scratch_ / "out.iso");
    EXPECT_EQ(reader.joliet(), nullptr);
    const std::string isoName = std::string(27, 'X') + ".TXT";
    EXPECT_EQ(pathsOf(reader.tree(false)), (std::set<std::string>{"/", "/SRC", "/SRC/" + isoName}));
}

TEST_F(TreeBuildTest, WithoutFileDatesEveryRecordCarriesTheVolumeTime)
{
    writePattern(scratch_ / "src" / "a.txt", 10, 1);
    TreeSession session(true, 1, 0);
    ASSERT_EQ(session.add(scratch_ / "src"), 0u) << session.text();
    buildJoliet(session);
    IsoReader reader(scratch_ / "out.iso");
    const std::uint8_t volumeTime[7] = {110, 1, 1, 0, 0, 0, 0};  // 2010-01-01 00:00:00 UTC
    for (const bool joliet : {false, true})
        for (const auto& kv : reader.tree(joliet))
            EXPECT_EQ(0, std::memcmp(kv.second.records.front().date, volumeTime, 7)) << kv.first;
}

#ifndef _WIN32
TEST_F(TreeBuildTest, LinksToFoldersAreSkippedAndLinksToFilesGiveTheirTarget)
{
    const fs::path dist = scratch_ / "dist";
    const fs::path folder = dist / "Folder";
    writePattern(folder / "real.txt", 10, 1);
    fs::create_directory_symlink("..", folder / "loop");           // would repeat the tree for ever
    fs::create_directory_symlink(folder, folder / "alias");        // a second way into a folder
    fs::create_symlink(folder / "real.txt", folder / "link.txt");  // taken as the file it names
    fs::create_symlink(dist / "missing", folder / "dangling");     // nothing to take
    TreeSession session;
    ASSERT_EQ(session.addTopLevel(dist), 0u) << session.text();
    EXPECT_EQ(buildJoliet(session), (std::set<std::string>{"/", "/Folder", "/Folder/real.txt", "/Folder/link.txt"}));
    IsoReader reader(scratch_ / "out.iso");
    EXPECT_TRUE(reader.sameAsFile(reader.tree(true).at("/Folder/link.txt"), folder / "real.txt"));
}

TEST_F(TreeBuildTest, ALinkNamedByTheCallerIsTakenButLinksInsideItAreNot)
{
    // Named directly, a link to a folder is taken (the caller asked for it); inside, its own loop is not.
    const fs::path dist = scratch_ / "dist";
    writePattern(dist / "Real" / "a.txt", 10, 1);
    fs::create_directory_symlink(dist / "Real", scratch_ / "entry");
    fs::create_directory_symlink(dist / "Real", dist / "Real" / "self");
    TreeSession session;
    ASSERT_EQ(session.add(scratch_ / "entry"), 0u) << session.text();
    EXPECT_EQ(buildJoliet(session), (std::set<std::string>{"/", "/entry", "/entry/a.txt"}));
}
#endif

TEST_F(TreeBuildTest, PathsLongerThan260CharactersAreRead)
{
    // Windows limits plain paths to 260 characters; a distribution copied deep into a drive passes that.
    fs::path folder = scratch_ / "dist";
    std::string jolietPath;
    for (int i = 0; i < 6; ++i)
    {
        const std::string name = "Folder_" + std::to_string(i) + "_" + std::string(50, 'x');
        folder /= name;
        jolietPath += "/" + name;
    }
    const std::string content = "far down";
#ifdef _WIN32
    // The test's own file functions need the long form too.
    const fs::path file = fs::path(L"\\\\?\\" + fs::absolute(folder).wstring()) / "deep.txt";
    fs::create_directories(file.parent_path());
#else
    const fs::path file = folder / "deep.txt";
#endif
    writeFile(file, content);
    ASSERT_GT((folder / "deep.txt").u8string().size(), 300u);
    TreeSession session;
    ASSERT_EQ(session.addTopLevel(scratch_ / "dist"), 0u) << session.text();
    ASSERT_EQ(session.build(), 0u) << session.text();
    ASSERT_EQ(session.writeImage(scratch_ / "out.iso"), 0u) << session.text();
    IsoReader reader(scratch_ / "out.iso");
    const auto contents = reader.contents(reader.tree(true).at(jolietPath + "/deep.txt"));
    EXPECT_EQ(std::string(contents.begin(), contents.end()), content);
}

TEST_F(TreeBuildTest, MissingPathsFailNamingThem)
{
    TreeSession session;
    const fs::path missing = scratch_ / "no such folder" / "setup.exe";
    EXPECT_EQ(session.add(missing), static_cast<std::uint32_t>(STARBURN_ERROR_NOT_FOUND));
    EXPECT_NE(session.text().find("setup.exe"), std::string::npos) << session.text();
    EXPECT_NE(session.systemError(), 0u);
    EXPECT_EQ(session.setBoot(scratch_ / "xpboot.img"), static_cast<std::uint32_t>(STARBURN_ERROR_NOT_FOUND));
    EXPECT_NE(session.text().find("xpboot.img"), std::string::npos) << session.text();
    EXPECT_NE(session.systemError(), 0u);
    EXPECT_EQ(buildJoliet(session), (std::set<std::string>{"/"}));
}

}  // namespace
}  // namespace osm::iso::test
