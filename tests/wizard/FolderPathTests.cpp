// Which texts the page takes as existing folders, and the one spelling names are joined to.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFiles.h"
#include "wizard/FolderPath.h"

TEST(FolderPath, NamesAnExistingFolderOnlyWhenTheTextDoes)
{
    TempFolder temp;
    MakeFolder(temp / "DISTR");
    WriteFileBytes(temp / "file.txt", "x");
    char windows[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, sizeof(windows)), 0u);
    const std::string root = std::string(windows).substr(0, 3);  // "C:\"

    const struct
    {
        std::string path;
        bool exists;
    } cases[] = {
        {root, true},  // a drive root, the usual place of a copied stick
        {root.substr(0, 2) + "\\", true},
        {temp / "DISTR", true},    // a plain folder
        {temp / "DISTR\\", true},  // typed with a trailing backslash
        {temp / "DISTR\\\\", true},
        {temp / "DISTR/", true},
        {temp / "missing", false},
        {temp / "missing\\", false},
        {temp / "file.txt", false},  // a file is no folder
        {temp / "file.txt\\", false},
        {temp / "DIST*", false},  // wildcards name nothing
        {temp / "DISTR?", false},
        {root + "*", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsExistingFolder(c.path.c_str()), c.exists) << "\"" << c.path << "\"";
    EXPECT_FALSE(IsExistingFolder(nullptr));
}

TEST(FolderPath, JoinsNamesWithExactlyOneBackslash)
{
    const struct
    {
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {
        {"E:\\", "autounattend.xml", "E:\\autounattend.xml"},
        {"E:", "xp.iso", "E:\\xp.iso"},
        {"D:\\DISTR", "I386\\WINNT.SIF", "D:\\DISTR\\I386\\WINNT.SIF"},
        {"D:\\DISTR\\", "I386\\WINNT.SIF", "D:\\DISTR\\I386\\WINNT.SIF"},
        {"D:\\DISTR\\\\", "\\*.*", "D:\\DISTR\\*.*"},
        {"D:/DISTR/", "xp.iso", "D:/DISTR\\xp.iso"},
        {"\\\\server\\share\\", "win.iso", "\\\\server\\share\\win.iso"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << c.folder << " + " << c.name;
    EXPECT_EQ(FolderForJoining("E:\\"), "E:");
    EXPECT_EQ(FolderForJoining("D:\\DISTR"), "D:\\DISTR");
}
