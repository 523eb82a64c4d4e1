// The command-bar tests' frame records what it says it records, answers as told, and keeps its frame behaviour.
#include "CommandBarsTestFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT ID_FRAME_PROBE_COMMAND = 43001;

TEST(CommandBarsTestFrameTest, RecordsTheSiteNotificationsAndAnswersAsTold)
{
    CCommandBarsTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    EXPECT_TRUE(frame.IsWindowVisible());

    frame.SetReply(CCommandBarsTestFrame::kBeforeCreateControl, 1);
    frame.SetReply(CCommandBarsTestFrame::kCreateBar, 5);
    struct Sent
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT expectedReply;
    };
    const Sent sent[] = {
        {CCommandBarsTestFrame::kStatusText, 11, 0, 0},
        {CCommandBarsTestFrame::kCustomizeSelection, 0, 0, 0},
        {CCommandBarsTestFrame::kBeforeCreateControl, 0, 1001, 1},
        {CCommandBarsTestFrame::kAfterCreateControl, 0, 1002, 0},
        {CCommandBarsTestFrame::kCreateBar, 0, 1003, 5},
        {CCommandBarsTestFrame::kControlNotify, 77, 1004, 0},
    };
    for (const Sent& s : sent)
    {
        SCOPED_TRACE(s.message);
        EXPECT_EQ(frame.SendMessage(s.message, s.wParam, s.lParam), s.expectedReply);
    }
    frame.SendMessage(WM_APP + 3, 1, 2);  // not a site notification: not recorded
    ASSERT_EQ(frame.Records().size(), std::size(sent));
    for (size_t i = 0; i < std::size(sent); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(frame.Records()[i].message, sent[i].message);
        EXPECT_EQ(frame.Records()[i].wParam, sent[i].wParam);
        EXPECT_EQ(frame.Records()[i].lParam, sent[i].lParam);
    }
    EXPECT_EQ(frame.CountOf(CCommandBarsTestFrame::kCreateBar), 1);

    // A message's block can be read while it is sent, and the test's answer wins over the stored reply.
    int block[2] = {3, 4};
    int seenSecond = 0;
    frame.OnMessage = [&](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message != CCommandBarsTestFrame::kCreateBar)
            return std::nullopt;
        seenSecond = reinterpret_cast<const int*>(lParam)[1];
        return 9;
    };
    EXPECT_EQ(frame.SendMessage(CCommandBarsTestFrame::kCreateBar, 0, reinterpret_cast<LPARAM>(block)), 9);
    EXPECT_EQ(seenSecond, 4);
    EXPECT_EQ(frame.SendMessage(CCommandBarsTestFrame::kBeforeCreateControl), 1);

    frame.ClearRecords();
    EXPECT_TRUE(frame.Records().empty());
}

class CCommandHandlingTestFrame : public CCommandBarsTestFrame
{
public:
    int commands = 0;

protected:
    afx_msg void OnProbeCommand() { ++commands; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandHandlingTestFrame, CCommandBarsTestFrame)
    ON_COMMAND(ID_FRAME_PROBE_COMMAND, OnProbeCommand)
END_MESSAGE_MAP()

TEST(CommandBarsTestFrameTest, RecordsCommandsAndStillRoutesThem)
{
    CCommandHandlingTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(ID_FRAME_PROBE_COMMAND, 0));
    ASSERT_EQ(frame.CountOf(WM_COMMAND), 1);
    EXPECT_EQ(LOWORD(frame.RecordsOf(WM_COMMAND)[0].wParam), ID_FRAME_PROBE_COMMAND);
    EXPECT_EQ(frame.commands, 1);
}

TEST(CommandBarsTestFrameTest, RecordsStatusTextsAndLayouts)
{
    CCommandBarsTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    frame.ClearRecords();  // the first sizing laid the frame out

    frame.SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>("Saves the file"));
    frame.SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);  // this program has no idle text
    EXPECT_EQ(frame.StatusTexts(), (std::vector<std::string>{"Saves the file", ""}));
    EXPECT_STREQ(frame.GetLastStatusText(), "");

    frame.DelayRecalcLayout(FALSE);
    frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    frame.DelayRecalcLayout();
    frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(frame.Layouts(), (std::vector<BOOL>{FALSE, TRUE}));
}

}  // namespace
