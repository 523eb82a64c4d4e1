// Names in both trees: the ISO9660 mapping, names that collide once mapped, and the Joliet length limit.
#include "IsoReader.h"
#include "IsoTestSupport.h"
#include "isowriter/NameMapper.h"

#include <gtest/gtest.h>

#include <map>

namespace osm::iso::test {
namespace {

struct MappingCase
{
    const char16_t* name;
    bool directory;
    const char* iso;
};

class IsoNameMappingTest : public ::testing::TestWithParam<MappingCase>
{};

TEST_P(IsoNameMappingTest, MapsToBareDCharacters)
{
    const MappingCase& c = GetParam();
    EXPECT_EQ(NameMapper::isoName(c.name, c.directory), c.iso);
}

INSTANTIATE_TEST_SUITE_P(
    Names, IsoNameMappingTest,
    ::testing::Values(MappingCase{u"txtsetup.sif", false, "TXTSETUP.SIF"}, MappingCase{u"BOOTMGR", false, "BOOTMGR"},
                      MappingCase{u"trailing.", false, "TRAILING"},  // no trailing dot
                      MappingCase{u"a.b.c", false, "A_B.C"},         // the last dot separates
                      MappingCase{u".bashrc", false, "_BASHRC"},     // a leading dot is not a separator
                      MappingCase{u"v1.2", true, "V1_2"},            // folders have no extension
                      MappingCase{u"$OEM$", true, "_OEM_"},
                      MappingCase{u"\u00dcber \u00e4rger.doc", false, "_BER__RGER.DOC"},
                      MappingCase{u"smile\U0001F600", false, "SMILE_"},  // a surrogate pair is one character
                      MappingCase{u"abcdefghijklmnopqrstuvwxyz0123456789", false, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
                      MappingCase{u"abcdefghijklmnopqrstuvwxyz0123456789", true, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
                      MappingCase{u"a very long file name indeed.html", false, "A_VERY_LONG_FILE_NAME_INDE.HTML"},
                      MappingCase{u"archive.averyveryveryverylongextension", false, "ARCHIVE.AVERYVERYVERYVERYLONGEX"},
                      MappingCase{u"longername.averyveryveryverylongextension", false,
                                  "LONGERNA.AVERYVERYVERYVERYLONGE"},
                      // Around the short names mapped in one pass: one dot, 31 characters at most.
                      MappingCase{u"a.b", false, "A.B"}, MappingCase{u".b", false, "_B"},
                      MappingCase{u"my.folder", true, "MY_FOLDER"}, MappingCase{u"a:b?c", true, "A_B_C"},
                      MappingCase{u"abcdefghijklmnopqrstuvwxyz0.txt", false, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0.TXT"},
                      MappingCase{u"abcdefghijklmnopqrstuvwxyz01.txt", false, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0.TXT"},
                      MappingCase{u"\u00e4.txt", false, "_.TXT"}));

// An entry's identifiers are made together when it is added; the Joliet side says whether the name is kept.
TEST(IdentifiersTest, TheJolietNameIsKeptExactlyWhenNothingInItIsReplaced)
{
    const std::u16string names[] = {u"plain.txt",     u"a:b.txt",         u"what?",  u"tab\there.txt", u"back\\slash",
                                    u"\u00fcber.txt", u"smile\U0001F600", u"semi;1", u"star*.dll",     u"x.y.z"};
    for (const std::u16string& name : names)
        for (const bool directory : {false, true})
        {
            const NameMapper::Identifiers identifiers = NameMapper::identifiers(name, directory);
            EXPECT_EQ(identifiers.jolietIsName, NameMapper::jolietName(name) == name)
                << std::string(name.begin(), name.end());
        }
}

struct CollisionCase
{
    const char* title;
    std::vector<std::string> files;              // created in one folder, in this order; "name/" is a folder
    std::map<std::string, std::string> isoName;  // original name -> ISO9660 name with detection off
    std::map<std::string, std::string> jolietName;
};

std::vector<CollisionCase> collisionCases()
{
    std::vector<CollisionCase> cases;
    cases.push_back({"PunctuationMapsAlike",
                     {"a=b.txt", "a+b.txt", "a b.txt"},
                     {{"a b.txt", "A_B.TXT"}, {"a+b.txt", "A_B_1.TXT"}, {"a=b.txt", "A_B_2.TXT"}},
                     {}});
    const std::string stem(40, 'x');
    cases.push_back(
        {"TruncationMakesNamesEqual",
         {stem + "1.dat", stem + "2.dat"},
         {{stem + "1.dat", std::string(27, 'X') + ".DAT"}, {stem + "2.dat", std::string(25, 'X') + "_1.DAT"}},
         {}});
    // A folder and a file meet, and the first numbered variant is already another file's plain name.
    cases.push_back({"FolderFileAndVariantMeet",
                     {"v1.2/", "v1_2", "v1_2_1"},
                     {{"v1.2/", "V1_2"}, {"v1_2", "V1_2_2"}, {"v1_2_1", "V1_2_1"}},
                     {}});
#ifndef _WIN32
    // Windows compares names without case: names that differ only in case need distinct Joliet names too.
    cases.push_back({"CaseOnlyDifferences",
                     {"readme.txt", "README.TXT"},
                     {{"README.TXT", "README.TXT"}, {"readme.txt", "README_1.TXT"}},
                     {{"README.TXT", "README.TXT"}, {"readme.txt", "readme_1.txt"}}});
    // A folder's dots become '_' and a file's stay, so these differ in ISO9660 but meet in Joliet.
    cases.push_back({"FolderAndFileMeetOnlyInJoliet",
                     {"v1.2/", "V1.2"},
                     {{"v1.2/", "V1_2"}, {"V1.2", "V1.2"}},
                     {{"V1.2", "V1.2"}, {"v1.2/", "v1.2_1"}}});
#endif
    return cases;
}

class CollisionTest : public ::testing::TestWithParam<CollisionCase>
{
protected:
    void SetUp() override
    {
        std::uint32_t seed = 0;
        for (const auto& name : GetParam().files)
        {
            if (name.back() == '/')
                fs::create_directories(scratch_ / "dist" / "Folder" / name);
            else
                writePattern(scratch_ / "dist" / "Folder" / name, 100 + seed, seed);
            ++seed;
        }
    }
    ScratchDir scratch_;
};

TEST_P(CollisionTest, NamesAreMadeUniqueWhenDetectionIsOff)
{
    const CollisionCase& c = GetParam();
    TreeSession session(true);
    ASSERT_EQ(session.addTopLevel(scratch_ / "dist"), 0u) << session.text();
    ASSERT_EQ(session.build(), 0u) << session.text();
    ASSERT_EQ(session.writeImage(scratch_ / "xp.iso"), 0u) << session.text();
    IsoReader reader(scratch_ / "xp.iso");
    const auto iso = reader.tree(false);
    const auto joliet = reader.tree(true);
    ASSERT_EQ(iso.at("/FOLDER").children.size(), c.files.size());
    for (const auto& name : c.files)
    {
        SCOPED_TRACE(name);
        const bool folder = name.back() == '/';
        const std::string plain = folder ? name.substr(0, name.size() - 1) : name;
        const fs::path source = scratch_ / "dist" / "Folder" / plain;
        const auto isoEntry = iso.find("/FOLDER/" + c.isoName.at(name));
        ASSERT_NE(isoEntry, iso.end());
        const auto renamed = c.jolietName.find(name);
        const auto jolietEntry = joliet.find("/Folder/" + (renamed == c.jolietName.end() ? plain : renamed->second));
        ASSERT_NE(jolietEntry, joliet.end());
        EXPECT_EQ(isoEntry->second.directory, folder);
        EXPECT_EQ(jolietEntry->second.directory, folder);
        if (!folder)
        {  // each name leads to its own file
            EXPECT_TRUE(reader.sameAsFile(isoEntry->second, source));
            EXPECT_TRUE(reader.sameAsFile(jolietEntry->second, source));
        }
    }
}

// A build renames entries only for its own image: the next build starts from the names made when the entries
// were added and comes to the same image, byte for byte.
TEST_P(CollisionTest, ARepeatedBuildGivesTheSameImage)
{
    TreeSession session(true);
    ASSERT_EQ(session.addTopLevel(scratch_ / "dist"), 0u) << session.text();
    ASSERT_EQ(session.build(), 0u) << session.text();
    ASSERT_EQ(session.writeImage(scratch_ / "first.iso"), 0u) << session.text();
    ASSERT_EQ(session.build(), 0u) << session.text();
    ASSERT_EQ(session.writeImage(scratch_ / "second.iso"), 0u) << session.text();
    const std::string first = readFile(scratch_ / "first.iso");
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first == readFile(scratch_ / "second.iso"));
    // The renamed entries are found under their variants in the second image too.
    IsoReader reader(scratch_ / "second.iso");
    const auto iso = reader.tree(false);
    for (const auto& [name, isoName] : GetParam().isoName)
        EXPECT_NE(iso.find("/FOLDER/" + isoName), iso.end()) << name;
}

TEST_P(CollisionTest, BuildFailsNamingBothWhenDetectionIsOn)
{
    TreeSession session(false);
    ASSERT_EQ(session.addTopLevel(scratch_ / "dist"), 0u) << session.text();
    EXPECT_EQ(session.build(), static_cast<std::uint32_t>(STARBURN_ERROR_INVALID_PARAMETER));
    EXPECT_NE(session.text().find("Folder"), std::string::npos) << session.text();
    EXPECT_NE(session.text().find("same name"), std::string::npos) << session.text();
    EXPECT_EQ(session.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Collisions, CollisionTest, ::testing::ValuesIn(collisionCases()),
                         [](const ::testing::TestParamInfo<CollisionCase>& info) { return info.param.title; });

struct LengthCase
{
    const char* title;
    std::size_t length;  // characters of the file name, extension included
    bool nested;         // in a folder added with it, rather than added by itself
    std::uint32_t result;
};

class JolietLengthTest : public ::testing::TestWithParam<LengthCase>
{};

TEST_P(JolietLengthTest, NamesUpTo103CharactersAreKeptWhole)
{
    const LengthCase& c = GetParam();
    ScratchDir scratch;
    const std::string name = std::string(c.length - 4, 'L') + ".txt";
    const fs::path file = c.nested ? scratch / "Folder" / name : scratch / name;
    writePattern(file, 77, 1);
    writePattern(scratch / "other.txt", 5, 2);
    TreeSession session;
    const std::uint32_t added = session.add(c.nested ? scratch / "Folder" : file);
    ASSERT_EQ(added, c.result);
    if (c.result != 0)
    {
        EXPECT_NE(session.text().find(name), std::string::npos) << "the message names the file: " << session.text();
        EXPECT_NE(session.text().find("103"), std::string::npos) << session.text();
    }
    // A failed Add leaves the tree as it was: the image holds only what was added after it.
    ASSERT_EQ(session.add(scratch / "other.txt"), 0u) << session.text();
    ASSERT_EQ(session.build(), 0u) << session.text();
    ASSERT_EQ(session.writeImage(scratch / "out.iso"), 0u) << session.text();
    IsoReader reader(scratch / "out.iso");
    const auto joliet = reader.tree(true);
    const std::string path = c.nested ? "/Folder/" + name : "/" + name;
    EXPECT_EQ(joliet.count(path), c.result == 0 ? 1u : 0u);
    EXPECT_EQ(joliet.count("/Folder"), c.nested && c.result == 0 ? 1u : 0u);
    EXPECT_EQ(joliet.size(), c.result == 0 ? (c.nested ? 4u : 3u) : 2u);
}

INSTANTIATE_TEST_SUITE_P(Lengths, JolietLengthTest,
                         ::testing::Values(LengthCase{"Top103", 103, false, 0},
                                           LengthCase{"Top104", 104, false, STARBURN_ERROR_PATH_TOO_LONG},
                                           LengthCase{"Nested103", 103, true, 0},
                                           LengthCase{"Nested104", 104, true, STARBURN_ERROR_PATH_TOO_LONG}),
                         [](const ::testing::TestParamInfo<LengthCase>& info) { return info.param.title; });

}  // namespace
}  // namespace osm::iso::test
