// CreateDirectoryTree on real folders: missing parents are made, and the last creation's result and error reach
// the caller.
#include "TestFiles.h"

#include "wizard/DirectoryTree.h"

#include <gtest/gtest.h>

namespace {

struct TreeCase
{
    const char* label;
    const char* existing;  // folders made before the call, ';' between them ("" none)
    const char* path;      // relative to the test's folder
    BOOL result;
    DWORD lastError;          // checked when the result is FALSE
    const char* madeFolders;  // folders that must exist afterwards, ';' between them
};

std::vector<std::string> Split(const std::string& list)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start < list.size())
    {
        const std::string::size_type end = list.find(';', start);
        parts.push_back(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return parts;
}

class DirectoryTreeTest : public testing::TestWithParam<TreeCase>
{
protected:
    TempFolder m_temp;
};

TEST_P(DirectoryTreeTest, CreatesMissingParentsAndReportsTheLastCreation)
{
    const TreeCase& c = GetParam();
    for (const std::string& folder : Split(c.existing))
        MakeFolder(m_temp / folder);

    SetLastError(ERROR_SUCCESS);
    const BOOL result = CreateDirectoryTree((m_temp / c.path).c_str(), nullptr);
    const DWORD error = GetLastError();

    EXPECT_EQ(result != FALSE, c.result != FALSE);
    if (!c.result)
    {
        EXPECT_EQ(error, c.lastError);
    }
    for (const std::string& folder : Split(c.madeFolders))
        EXPECT_TRUE(FolderExists(m_temp / folder)) << folder;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DirectoryTreeTest,
    testing::Values(TreeCase{"allMissing", "", "software\\corvane\\kit", TRUE, 0,
                             "software;software\\corvane;software\\corvane\\kit"},
                    TreeCase{"parentsExist", "a;a\\b", "a\\b\\c", TRUE, 0, "a\\b\\c"},
                    TreeCase{"allExist", "a;a\\b", "a\\b", FALSE, ERROR_ALREADY_EXISTS, "a\\b"},
                    // The separator at the end makes the folder, and the final creation finds it there.
                    TreeCase{"endsInSeparator", "", "x\\y\\", FALSE, ERROR_ALREADY_EXISTS, "x;x\\y"},
                    TreeCase{"forwardSlashes", "", "p/q/r", TRUE, 0, "p;p\\q;p\\q\\r"},
                    TreeCase{"deepSetupScripts", "", "SOURCES\\$OEM$\\$$\\SETUP\\SCRIPTS", TRUE, 0,
                             "SOURCES\\$OEM$\\$$\\SETUP\\SCRIPTS"}),
    [](const testing::TestParamInfo<TreeCase>& info) { return std::string(info.param.label); });

TEST(DirectoryTree, FileInThePathMakesTheLastCreationFail)
{
    TempFolder temp;
    WriteFileBytes(temp / "file", "not a folder");
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(CreateDirectoryTree((temp / "file\\sub").c_str(), nullptr));
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(FolderExists(temp / "file\\sub"));
}

}  // namespace
