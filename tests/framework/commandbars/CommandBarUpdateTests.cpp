// The idle update of a bar's controls against the update handlers of the site frame and of the bar itself: enable,
// disable, check and text; commands without a handler with the manager's setting on and off; controls that update
// themselves or hide for a reason the update does not look past; customize mode; the root popup's no-notify flag. And
// what the thread's idle pass repaints in a frame of docked toolbars: nothing while no command state changes, the
// bar of a button whose state changed when one does.
#include "BarWindowTestSupport.h"
#include "CommandBarsTestFrame.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlCmdUI.h"
#include "framework/commandbars/ToolBar.h"

#include <string>

using namespace commandbars_test;

namespace {

enum : UINT
{
    kIdEnable = 201,
    kIdDisable = 202,
    kIdCheck = 203,
    kIdText = 204,
    kIdCommandOnly = 205,  // an ON_COMMAND entry, no update handler
    kIdUnhandled = 206,
    kIdIndeterminate = 207,
};

// The site: update handlers for some ids, a command handler for one, and a record of the ids it was asked about.
class UpdateFrame : public CCommandBarsTestFrame
{
public:
    std::vector<UINT> asked;

protected:
    void OnUpdateEnable(CCmdUI* ui) { Note(ui)->Enable(TRUE); }
    void OnUpdateDisable(CCmdUI* ui) { Note(ui)->Enable(FALSE); }
    void OnUpdateCheck(CCmdUI* ui) { Note(ui)->SetCheck(1); }
    void OnUpdateIndeterminate(CCmdUI* ui) { Note(ui)->SetCheck(2); }
    void OnUpdateText(CCmdUI* ui) { Note(ui)->SetText("&Renamed\tCtrl+R"); }
    void OnCommandOnly() {}

    CCmdUI* Note(CCmdUI* ui)
    {
        asked.push_back(ui->m_nID);
        return ui;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(UpdateFrame, CCommandBarsTestFrame)
    ON_UPDATE_COMMAND_UI(kIdEnable, OnUpdateEnable)
    ON_UPDATE_COMMAND_UI(kIdDisable, OnUpdateDisable)
    ON_UPDATE_COMMAND_UI(kIdCheck, OnUpdateCheck)
    ON_UPDATE_COMMAND_UI(kIdIndeterminate, OnUpdateIndeterminate)
    ON_UPDATE_COMMAND_UI(kIdText, OnUpdateText)
    ON_COMMAND(kIdCommandOnly, OnCommandOnly)
END_MESSAGE_MAP()

class CommandBarUpdateTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(frame.CreateTestFrame());
        commandBars->SetSite(&frame);
    }

    // A visible child bar of the frame holding one control per id, each enabled or not as asked.
    void MakeBar(TestWindowBar& bar, const std::vector<std::pair<UINT, int>>& controls, BOOL withManager = TRUE)
    {
        bar.SetCommandBars(withManager ? commandBars.Get() : nullptr);
        ASSERT_TRUE(CreateChildBar(bar, frame, CRect(0, 0, 300, 24)));
        for (const auto& [id, enabled] : controls)
            bar.GetControls()->Add(1, static_cast<int>(id))->SetEnabled(enabled);
    }

    UpdateFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
};

TEST_F(CommandBarUpdateTest, HandlersOfTheSiteEnableDisableCheckAndRename)
{
    TestWindowBar bar;
    MakeBar(bar, {{kIdEnable, 0}, {kIdDisable, 1}, {kIdCheck, 1}, {kIdIndeterminate, 1}, {kIdText, 1}});
    COSMControl* checkedThenDisabled = bar.GetControl(1);
    checkedThenDisabled->SetChecked(1);
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);

    EXPECT_EQ((std::vector<UINT>{kIdEnable, kIdDisable, kIdCheck, kIdIndeterminate, kIdText}), frame.asked);
    EXPECT_EQ(1, bar.GetControl(0)->GetEnabled());
    EXPECT_EQ(0, bar.GetControl(1)->GetEnabled());
    // A control without an action that goes grey is unchecked too.
    EXPECT_EQ(0, checkedThenDisabled->GetChecked());
    EXPECT_EQ(1, bar.GetControl(2)->GetChecked());
    EXPECT_EQ(2, bar.GetControl(3)->GetChecked());
    EXPECT_STREQ("&Renamed", bar.GetControl(4)->GetCaption());
    EXPECT_STREQ("Ctrl+R", bar.GetControl(4)->GetShortcutTextAuto());
}

TEST_F(CommandBarUpdateTest, CommandsWithoutAnUpdateHandlerFollowTheSetting)
{
    const struct
    {
        BOOL manager;
        BOOL disableWithoutHandler;
        int commandOnly;  // expected enabled state
        int unhandled;
    } cases[] = {
        {TRUE, TRUE, 1, 0},   // the default: what has a handler is enabled, the rest goes grey
        {TRUE, FALSE, 0, 1},  // both left as they are
        {FALSE, TRUE, 0, 1},  // without a manager the setting is off
    };
    for (const auto& c : cases)
    {
        commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = c.disableWithoutHandler;
        TestWindowBar bar;
        MakeBar(bar, {{kIdCommandOnly, 0}, {kIdUnhandled, 1}}, c.manager);
        // The command handler is found, not run: no WM_COMMAND reaches the frame.
        frame.ClearRecords();
        bar.OnIdleUpdateCmdUI(TRUE, 0);
        EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
        EXPECT_EQ(c.commandOnly, bar.GetControl(0)->GetEnabled()) << c.manager << c.disableWithoutHandler;
        EXPECT_EQ(c.unhandled, bar.GetControl(1)->GetEnabled()) << c.manager << c.disableWithoutHandler;
    }
}

TEST_F(CommandBarUpdateTest, ManualControlsAndReasonsToHideTheUpdateDoesNotLookPastAreSkipped)
{
    const struct
    {
        DWORD flags;
        DWORD hideFlags;
        BOOL updated;
    } cases[] = {
        {0, 0, TRUE},
        {COSMControl::kFlagManualUpdate, 0, FALSE},
        {0, COSMControl::kHideHidden, TRUE},
        {0, COSMControl::kHideScroll, TRUE},
        {0, COSMControl::kHideUsage, TRUE},
        {0, COSMControl::kHideHidden | COSMControl::kHideScroll | COSMControl::kHideUsage, TRUE},
        {0, COSMControl::kHideWrap, FALSE},
        {0, COSMControl::kHideCustomize, FALSE},
        {0, COSMControl::kHideDocTemplate, FALSE},
    };
    for (const auto& c : cases)
    {
        TestWindowBar bar;
        MakeBar(bar, {{kIdDisable, 1}});
        COSMControl* control = bar.GetControl(0);
        control->SetFlags(c.flags);
        control->SetHideFlags(c.hideFlags);
        frame.asked.clear();
        bar.OnIdleUpdateCmdUI(TRUE, 0);
        EXPECT_EQ(c.updated ? 0 : 1, control->GetEnabled()) << c.flags << " " << c.hideFlags;
        EXPECT_EQ(c.updated, !frame.asked.empty());
    }
}

TEST_F(CommandBarUpdateTest, NothingIsUpdatedForAnInvisibleBarOrANoNotifyRoot)
{
    TestWindowBar bar;
    MakeBar(bar, {{kIdDisable, 1}});
    bar.ShowWindow(SW_HIDE);
    bar.OnIdleUpdateCmdUI(TRUE, 0);
    EXPECT_TRUE(frame.asked.empty());
    bar.ShowWindow(SW_SHOWNOACTIVATE);
    bar.SetNoNotify(TRUE);
    bar.OnIdleUpdateCmdUI(TRUE, 0);
    EXPECT_TRUE(frame.asked.empty());
    EXPECT_EQ(1, bar.GetControl(0)->GetEnabled());

    // A popup tracked without notifications is asked about nothing either.
    TestWindowBar root;
    root.SetNoNotify(TRUE);
    root.SetCommandBars(commandBars.Get());
    COSMControl* opener = root.GetControls()->Add(1, 1);
    TestWindowPopup popup;
    popup.SetControlPopup(opener);
    ASSERT_TRUE(CreateChildBar(popup, frame, CRect(0, 30, 100, 60)));
    popup.GetControls()->Add(1, kIdDisable);
    popup.OnIdleUpdateCmdUI(TRUE, 0);
    EXPECT_TRUE(frame.asked.empty());
    root.SetNoNotify(FALSE);
    popup.OnIdleUpdateCmdUI(TRUE, 0);
    EXPECT_EQ(std::vector<UINT>{kIdDisable}, frame.asked);
}

TEST_F(CommandBarUpdateTest, CustomizeModeEnablesEveryControlThatDoesNotFollowItsAction)
{
    commandBars->EnableActions(TRUE);
    TestWindowBar bar;
    bar.SetCommandBars(commandBars.Get());
    ASSERT_TRUE(CreateChildBar(bar, frame, CRect(0, 0, 300, 24)));
    COSMControl* bound = bar.GetControls()->Add(1, kIdDisable);
    ASSERT_NE(nullptr, bound->GetAction());
    bound->GetAction()->SetEnabled(FALSE);
    commandBars->EnableActions(FALSE);
    COSMControl* own = bar.GetControls()->Add(1, kIdUnhandled);
    own->SetEnabled(0);
    ASSERT_EQ(nullptr, own->GetAction());

    commandBars->SetCustomizeMode(TRUE);
    bar.OnIdleUpdateCmdUI(TRUE, 0);
    // The site is not asked while customizing.
    EXPECT_TRUE(frame.asked.empty());
    EXPECT_EQ(1, own->GetEnabledField());
    EXPECT_EQ(-1, bound->GetEnabledField());
    EXPECT_FALSE(bound->GetAction()->GetEnabledField());

    // Outside customize mode the site decides again, through the action for a bound control.
    commandBars->SetCustomizeMode(FALSE);
    bound->GetAction()->SetEnabled(TRUE);
    bar.OnIdleUpdateCmdUI(TRUE, 0);
    EXPECT_FALSE(bound->GetAction()->GetEnabledField());
    EXPECT_EQ(0, bound->GetEnabled());
    EXPECT_EQ(-1, bound->GetEnabledField());
}

// A bar that answers for its controls itself: every control through the reflected update, one id by its own entry.
class SelfUpdatingBar : public TestWindowBar
{
public:
    std::vector<std::string> log;
    BOOL reflectAll = FALSE;

protected:
    void OnUpdateReflected(CCmdUI* ui)
    {
        log.push_back("reflected " + std::to_string(ui->m_nID) + " at " + std::to_string(ui->m_nIndex));
        if (!reflectAll)
            ui->ContinueRouting();
    }
    void OnUpdateOwn(CCmdUI* ui)
    {
        log.push_back("own " + std::to_string(ui->m_nID));
        ui->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SelfUpdatingBar, TestWindowBar)
    ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateReflected)
    ON_UPDATE_COMMAND_UI(kIdDisable, OnUpdateOwn)
END_MESSAGE_MAP()

TEST_F(CommandBarUpdateTest, TheBarAnswersBeforeTheSite)
{
    SelfUpdatingBar bar;
    MakeBar(bar, {{kIdEnable, 0}, {kIdDisable, 1}});
    bar.OnIdleUpdateCmdUI(TRUE, 0);
    EXPECT_EQ((std::vector<std::string>{"reflected 201 at 0", "reflected 202 at 1", "own 202"}), bar.log);
    // The site heard only of what the bar left to it.
    EXPECT_EQ(std::vector<UINT>{kIdEnable}, frame.asked);
    EXPECT_EQ(1, bar.GetControl(1)->GetEnabled());
    EXPECT_EQ(1, bar.GetControl(1)->GetChecked());

    bar.log.clear();
    frame.asked.clear();
    bar.reflectAll = TRUE;
    bar.OnIdleUpdateCmdUI(TRUE, 0);
    EXPECT_EQ((std::vector<std::string>{"reflected 201 at 0", "reflected 202 at 1"}), bar.log);
    EXPECT_TRUE(frame.asked.empty());
}

TEST_F(CommandBarUpdateTest, TheCommandUIObjectReachesTheActionOfABoundControl)
{
    commandBars->EnableActions(TRUE);
    TestWindowBar first;
    TestWindowBar second;
    MakeBar(first, {{kIdCheck, -1}});
    MakeBar(second, {{kIdCheck, -1}});
    COSMControl* control = first.GetControl(0);
    COSMControlAction* action = control->GetAction();
    ASSERT_NE(nullptr, action);
    ASSERT_EQ(action, second.GetControl(0)->GetAction());

    control->SetCaption("Old");
    COSMControlCmdUI state(control);
    EXPECT_EQ(static_cast<UINT>(kIdCheck), state.m_nID);
    state.Enable(FALSE);
    EXPECT_TRUE(state.m_bEnableChanged);
    EXPECT_FALSE(action->GetEnabledField());
    EXPECT_EQ(0, second.GetControl(0)->GetEnabled());
    // Both bars show the change.
    CRect update;
    ::ValidateRect(second.GetSafeHwnd(), nullptr);
    second.GetControl(0)->SetRect(CRect(0, 0, 20, 20));
    state.Enable(TRUE);
    EXPECT_EQ(-1, action->GetEnabledField());
    EXPECT_NE(0, second.GetControl(0)->GetEnabled());
    EXPECT_TRUE(::GetUpdateRect(second.GetSafeHwnd(), &update, FALSE));

    EXPECT_FALSE(state.IsCheckChanged());
    state.SetCheck(1);
    EXPECT_TRUE(state.IsCheckChanged());
    EXPECT_EQ(1, control->GetCheckedField());
    state.SetText(nullptr);
    EXPECT_STREQ("", control->GetCaptionText());
}

TEST_F(CommandBarUpdateTest, DialogControlsOfTheBarAreUpdatedToo)
{
    TestWindowBar bar;
    MakeBar(bar, {});
    CWnd button;
    ASSERT_TRUE(button.CreateEx(0, "BUTTON", "Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 40, 20,
                                bar.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kIdDisable))));
    ASSERT_TRUE(button.IsWindowEnabled());
    bar.OnIdleUpdateCmdUI(TRUE, 0);
    EXPECT_FALSE(button.IsWindowEnabled());
    EXPECT_EQ(std::vector<UINT>{kIdDisable}, frame.asked);
}

// A frame whose handlers enable every toolbar button except that one of them follows the test's enabled and checked
// state.
class IdleFrame : public CCommandBarsTestFrame
{
public:
    static constexpr UINT kFirstButton = 41000;
    static constexpr UINT kLastButton = kFirstButton + 99;
    UINT followingId = 0;
    BOOL followingEnabled = TRUE;
    int followingChecked = 0;

protected:
    void OnUpdateButton(CCmdUI* ui)
    {
        if (ui->m_nID != followingId)
        {
            ui->Enable(TRUE);
            return;
        }
        ui->Enable(followingEnabled);
        ui->SetCheck(followingChecked);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(IdleFrame, CCommandBarsTestFrame)
    ON_UPDATE_COMMAND_UI_RANGE(IdleFrame::kFirstButton, IdleFrame::kLastButton, OnUpdateButton)
END_MESSAGE_MAP()

class IdlePassTest : public CommandBarsTest
{
protected:
    static constexpr int kToolBars = 3;
    static constexpr int kButtons = 6;

    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(frame.CreateTestFrame("idle pass", CRect(40, 40, 640, 440)));
        commandBars->SetSite(&frame);
        commandBars->CreateDockBars();
        for (int bar = 0; bar < kToolBars; ++bar)
        {
            COSMCommandBar* toolBar = commandBars->AddToolBar(("Toolbar " + std::to_string(bar + 1)).c_str(),
                                                              0xE900 + static_cast<UINT>(bar));
            ASSERT_NE(nullptr, toolBar);
            std::vector<UINT> ids;
            for (int i = 0; i < kButtons; ++i)
                ids.push_back(ButtonId(bar, i));
            ASSERT_TRUE(toolBar->SetButtons(ids.data(), kButtons));
            ASSERT_EQ(ids, ControlIds(*toolBar));
            toolBars.push_back(toolBar);
        }
        frame.RecalcLayout();
        // The frame is shown and painted, and has had its first idle time, as a program's frame before the user acts.
        osm::test::PumpPendingMessages();
        IdlePass();
        osm::test::PumpPendingMessages();
        for (COSMCommandBar* toolBar : toolBars)
        {
            ASSERT_TRUE(toolBar->IsWindowVisible());
            ASSERT_TRUE(UpdateRect(toolBar).IsRectEmpty()) << toolBar->GetTitle();
        }
    }

    void TearDown() override
    {
        commandBars.Reset();
        frame.DestroyWindow();
        CommandBarsTest::TearDown();
    }

    static UINT ButtonId(int bar, int button)
    {
        return IdleFrame::kFirstButton + static_cast<UINT>(bar * kButtons + button);
    }

    // What the thread does each time its queue empties.
    void IdlePass()
    {
        frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    }

    // The bar's update region (empty when it has nothing to repaint).
    static CRect UpdateRect(COSMCommandBar* bar)
    {
        CRect update;
        if (!::GetUpdateRect(bar->GetSafeHwnd(), &update, FALSE))
            return CRect();
        return update;
    }

    IdleFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    std::vector<COSMCommandBar*> toolBars;
};

TEST_F(IdlePassTest, WithNoCommandStateChangedNoBarHasAnythingToRepaint)
{
    for (int pass = 0; pass < 3; ++pass)
    {
        IdlePass();
        for (COSMCommandBar* toolBar : toolBars)
        {
            EXPECT_TRUE(UpdateRect(toolBar).IsRectEmpty()) << toolBar->GetTitle() << " after pass " << pass;
            for (int i = 0; i < kButtons; ++i)
                EXPECT_EQ(1, toolBar->GetControl(i)->GetEnabled());
        }
    }
}

TEST_F(IdlePassTest, AChangedCommandStateRepaintsTheBarOfItsButtonOnly)
{
    const struct
    {
        const char* change;
        BOOL enabled;
        int checked;
    } cases[] = {
        {"disabled", FALSE, 0},
        {"checked", TRUE, 1},
        {"enabled again", TRUE, 0},
    };
    const int changedBar = 1;
    const int changedButton = 3;
    frame.followingId = ButtonId(changedBar, changedButton);
    COSMControl* button = toolBars[changedBar]->GetControl(changedButton);
    for (const auto& c : cases)
    {
        frame.followingEnabled = c.enabled;
        frame.followingChecked = c.checked;
        IdlePass();
        EXPECT_EQ(c.enabled, button->GetEnabled()) << c.change;
        EXPECT_EQ(c.checked, button->GetChecked()) << c.change;
        for (int bar = 0; bar < kToolBars; ++bar)
        {
            const CRect update = UpdateRect(toolBars[bar]);
            if (bar != changedBar)
            {
                EXPECT_TRUE(update.IsRectEmpty()) << c.change << ": " << toolBars[bar]->GetTitle();
                continue;
            }
            CRect covered;
            covered.UnionRect(update, button->GetRect());
            EXPECT_FALSE(update.IsRectEmpty()) << c.change;
            EXPECT_EQ(update, covered) << c.change << ": the button's rectangle is repainted";
        }
        // Painted, the same state again repaints nothing.
        osm::test::PumpPendingMessages();
        IdlePass();
        EXPECT_TRUE(UpdateRect(toolBars[changedBar]).IsRectEmpty()) << c.change;
    }
}

}  // namespace
