// Where the page finds a product key in a distribution folder, with the rules for each kind of file.
#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "wizard/ProductKeyFile.h"

TEST(ProductKeyFile, ReadsTheAnswerFileOrTheFirstLineOfAText)
{
    TempFolder folder;
    struct Case
    {
        const char* name;
        std::string content;
        std::string key;
    } cases[] = {
        {"sif", "[Data]\r\nAutoPartition=1\r\n[UserData]\r\nProductKey=AAAAA-BBBBB-CCCCC-DDDDD-EEEEE\r\n",
         "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE"},
        {"quoted sif", "[UserData]\r\nProductKey=\"AAAAA-BBBBB-CCCCC-DDDDD-EEEEE\"\r\n",
         "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE"},
        // Without the INI value the first line counts: only a line longer than 30 characters, cut to 29.
        {"sif without key", "[Data]\r\nAutoPartition=1\r\n", ""},
        {"key alone", "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE\r\nmore\r\n", ""},
        {"30 after trimming", "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE1   \t\r\n", ""},
        {"31 characters", "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE12\r\n", "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE"},
        {"key with a note", "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE (Windows XP Professional)", "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE"},
        {"empty", "", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = folder / "key.txt";
        WriteFileBytes(path, c.content);
        EXPECT_EQ(ReadProductKeyText(path), c.key);
    }
    EXPECT_EQ(ReadProductKeyText(folder / "missing.txt"), "");
}

TEST(ProductKeyFile, SplitsAtFourDashes)
{
    struct Case
    {
        std::string key;
        bool split;
        ProductKeyGroups groups;
    } cases[] = {
        {"AAAAA-BBBBB-CCCCC-DDDDD-EEEEE", true, {"AAAAA", "BBBBB", "CCCCC", "DDDDD", "EEEEE"}},
        // The last group is cut to five; the others go whole into their boxes.
        {"AAAAA-BBBBB-CCCCC-DDDDD-EEEEEF", true, {"AAAAA", "BBBBB", "CCCCC", "DDDDD", "EEEEE"}},
        {"AAAAAA-BBBBB-CCCCC-DDDDD-EEEEE", true, {"AAAAAA", "BBBBB", "CCCCC", "DDDDD", "EEEEE"}},
        {"A--B-C-", true, {"A", "", "B", "C", ""}},
        {"AAAAA-BBBBB-CCCCC-DDDDDEEEEE", false, {}},
        {"", false, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.key);
        const auto groups = SplitProductKey(c.key);
        ASSERT_EQ(groups.has_value(), c.split);
        if (groups)
        {
            EXPECT_EQ(*groups, c.groups);
        }
    }
}
