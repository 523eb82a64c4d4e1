// The manager's keys on an active frame: frame access keys reach the bars' controls (or not), Ctrl+Tab moves to the
// next visible bar, and the toolbars context menu tells the site, shows only what it has and lets its popup go.
#include "InputTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Controls.h"

using namespace commandbars_test;

namespace {

class ManagerKeysTest : public TrackingSiteTest
{
protected:
    BOOL CreateSiteFrame() override { return frame.CreateActiveTestFrame("manager keys test"); }
    void TearDown() override
    {
        CreateMouseManager()->SendTrackLost();
        TrackingSiteTest::TearDown();
    }

    // A bar of the manager (which owns it) with buttons captioned as given, ids from firstId on.
    TrackingBar* AddBar(int type, std::initializer_list<const char*> captions, UINT firstId, BOOL visible = TRUE)
    {
        auto* bar = new TrackingBar;
        const int row = commandBars->GetCount();
        MakeBarWindow(*bar, type, 0, CRect(0, row * 24, 400, row * 24 + 22));
        UINT id = firstId;
        for (const char* caption : captions)
        {
            bar->GetControls()->Add(1, static_cast<int>(id++))->SetCaption(caption);
        }
        bar->LayOut();
        if (!visible)
            bar->ShowWindow(SW_HIDE);
        commandBars->AddCommandBar(bar);
        return bar;
    }
};

TEST_F(ManagerKeysTest, AccessKeysReachTheBarsControls)
{
    TrackingBar* bar = AddBar(1, {"&Open", "&Save", "&Send", "&1 One", "Print"}, 101);
    frame.ClearRecords();

    // Use mode 2: never.
    commandBars->GetCommandBarsOptions()->m_keyboardCuesUse = 2;
    EXPECT_FALSE(commandBars->OnFrameAccel('O'));
    EXPECT_EQ(0, bar->GetTrackingMode());
    commandBars->GetCommandBarsOptions()->m_keyboardCuesUse = 1;

    // Keypad digits only when allowed (Wine maps them to no character, so the allowed case cannot run here).
    EXPECT_FALSE(commandBars->OnFrameAccel(VK_NUMPAD1));
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));

    // A first letter counts neither on a toolbar that is not tracking.
    EXPECT_FALSE(commandBars->OnFrameAccel('P'));

    // One '&' match runs.
    EXPECT_TRUE(commandBars->OnFrameAccel('O'));
    PumpMessages();
    auto commands = frame.RecordsOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(101u, LOWORD(commands[0].wParam));
    CreateMouseManager()->SendTrackLost();
    bar->SetTrackingMode(0, TRUE, FALSE);

    // Two select the first without running it.
    frame.ClearRecords();
    EXPECT_TRUE(commandBars->OnFrameAccel('S'));
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(1, bar->GetTrackingMode());
    EXPECT_EQ(1, bar->GetSelectedIndex());
    // While the bar tracks, first letters count.
    EXPECT_TRUE(commandBars->OnFrameAccel('P'));
    PumpMessages();
    commands = frame.RecordsOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(105u, LOWORD(commands[0].wParam));
    bar->SetTrackingMode(0, TRUE, FALSE);
}

TEST_F(ManagerKeysTest, FirstLettersCountOnAMenuBarType)
{
    TrackingBar* bar = AddBar(0, {"File", "Edit"}, 201);
    frame.ClearRecords();
    EXPECT_TRUE(commandBars->OnFrameAccel('E'));
    PumpMessages();
    const auto commands = frame.RecordsOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(202u, LOWORD(commands[0].wParam));
    bar->SetTrackingMode(0, TRUE, FALSE);
}

TEST_F(ManagerKeysTest, CtrlTabActivatesTheNextVisibleBar)
{
    TrackingBar* first = AddBar(1, {"A", "B"}, 301);
    AddBar(1, {"C"}, 311, FALSE);
    TrackingBar* third = AddBar(1, {"D", "E"}, 321);

    EXPECT_FALSE(commandBars->ActivateCommandBar(nullptr, 1));
    EXPECT_TRUE(commandBars->ActivateCommandBar(first, 1));
    EXPECT_EQ(1, third->GetTrackingMode());
    EXPECT_EQ(0, third->GetSelectedIndex());
    EXPECT_EQ(0, first->GetTrackingMode());
    EXPECT_EQ(1, commandBars->GetKeyboardTipsLevel());
    EXPECT_TRUE(commandBars->IsKeyboardCuesShown());

    // Onwards it wraps back to the first.
    EXPECT_TRUE(commandBars->ActivateCommandBar(third, 1));
    EXPECT_EQ(1, first->GetTrackingMode());
    EXPECT_EQ(0, third->GetTrackingMode());
    first->SetTrackingMode(0, TRUE, FALSE);
}

TEST_F(ManagerKeysTest, CtrlTabNeedsAnotherVisibleBar)
{
    TrackingBar* only = AddBar(1, {"A"}, 401);
    EXPECT_FALSE(commandBars->ActivateCommandBar(only, 1));
    AddBar(1, {"B"}, 411, FALSE);
    EXPECT_FALSE(commandBars->ActivateCommandBar(only, 1));
    EXPECT_EQ(0, only->GetTrackingMode());
}

TEST_F(ManagerKeysTest, TheToolbarsContextMenuTellsTheSiteAndLetsItsPopupGo)
{
    // The menu lists closeable toolbars with a context menu, and offers "customize" with a customize dialog.
    ASSERT_TRUE(commandBars->CreateDockBars());
    ASSERT_NE(nullptr, commandBars->AddToolBar("Standard", 501));
    COSMCommandBar* formatting = commandBars->AddToolBar("Formatting", 511);
    ASSERT_NE(nullptr, formatting);
    formatting->SetVisible(FALSE);
    commandBars->SetCustomizeDialog(&frame);
    COSMPopupBar* seen = nullptr;
    std::vector<std::pair<CString, int>> entries;
    BOOL emptyIt = FALSE;
    frame.onTracking = [&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message != COSMCommandBars::kMessageToolbarsContextMenu)
            return 0;
        EXPECT_EQ(7u, wParam);
        seen = reinterpret_cast<COSMPopupBar*>(lParam);
        seen->InternalAddRef();
        entries.clear();
        for (int i = 0; i < seen->GetControlCount(); ++i)
            entries.emplace_back(seen->GetControl(i)->GetCaption(), seen->GetControl(i)->GetChecked());
        if (emptyIt)
            seen->GetControls()->RemoveAll();
        return 0;
    };

    // In customize mode nothing at all.
    commandBars->SetCustomizeMode(TRUE);
    commandBars->ShowToolbarsContextMenu(7, 300, 300);
    EXPECT_EQ(nullptr, seen);
    commandBars->SetCustomizeMode(FALSE);

    // Emptied by the site: nothing shows, and the popup is let go.
    emptyIt = TRUE;
    commandBars->ShowToolbarsContextMenu(7, 300, 300);
    ASSERT_NE(nullptr, seen);
    EXPECT_EQ(nullptr, seen->GetSafeHwnd());
    EXPECT_EQ(1, RefCount(seen));
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(CString("Standard"), entries[0].first);
    EXPECT_EQ(1, entries[0].second);
    EXPECT_EQ(CString("Formatting"), entries[1].first);
    EXPECT_EQ(0, entries[1].second);
    seen->InternalRelease();
    seen = nullptr;

    // Shown: it tracks until Escape, then goes.
    emptyIt = FALSE;
    Scheduled::After(frame.GetSafeHwnd(), 150, [&] {
        EXPECT_NE(nullptr, seen);
        if (seen)
        {
            EXPECT_NE(nullptr, seen->GetSafeHwnd());
        }
        INPUT inputs[2]{};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wVk = inputs[1].ki.wVk = VK_ESCAPE;
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, inputs, sizeof(INPUT));
    });
    commandBars->ShowToolbarsContextMenu(7, 300, 300);
    ASSERT_NE(nullptr, seen);
    EXPECT_EQ(nullptr, seen->GetSafeHwnd());
    EXPECT_EQ(1, RefCount(seen));
    seen->InternalRelease();
    frame.onTracking = nullptr;
}

}  // namespace
