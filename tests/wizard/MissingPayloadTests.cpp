// A program that carries no display-mode utility in its resources: writing "res.exe" fails with its message and
// the tree stops at that step.
#include "MessageRecorder.h"
#include "TestFiles.h"

#include "wizard/UnattendSettings.h"

#include <gtest/gtest.h>

namespace {

TEST(MissingPayload, ResolutionToolThatCannotBeLoadedIsReportedAndNotWritten)
{
    ASSERT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(134), "FILE"), nullptr) << "this program must not carry it";
    TempFolder temp;
    MessageRecorder messages;
    CUnattendSettings settings;

    EXPECT_EQ(settings.WriteResolutionTool(temp.Path().c_str()), FALSE);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "Can't load file: " + temp.Path() + "\\res.exe");
    EXPECT_EQ(messages.Messages()[0].caption, "Failed");
    EXPECT_EQ(messages.Messages()[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_FALSE(FileExists(temp / "res.exe"));
}

TEST(MissingPayload, TreeStopsAtTheUtilityAndTheAnswerFileIsNotWritten)
{
    TempFolder temp;
    MakeFolder(temp / "I386");
    MessageRecorder messages;
    CUnattendSettings settings;

    EXPECT_EQ(settings.BuildXpDistribution(nullptr, temp.Path().c_str(), "", nullptr, TRUE), FALSE);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "Can't load file: " + temp.Path() + "\\$OEM$\\res.exe");
    EXPECT_TRUE(FileExists(temp / "$OEM$\\First.cmd"));
    EXPECT_FALSE(FileExists(temp / "$OEM$\\res.exe"));
    EXPECT_FALSE(FileExists(temp / "I386\\WINNT.SIF"));
}

}  // namespace
