// How controls run their commands: where notifications go, their WM_NOTIFY routing, execution with its command,
// the pressed look and the command-state refresh, popups tracked to return a command, used commands, the button's
// clicks and releases, hover and keyboard selection. Bar windows of a manager whose site is a frame.
#include "TrackingTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"

using namespace commandbars_test;

namespace {

class ExecutionTest : public TrackingSiteTest
{
protected:
    void MakeBar(TrackingBar& bar, int type, int position) { MakeBarWindow(bar, type, position, CRect(0, 0, 300, 60)); }
};

// Copies of the notification blocks a frame gets, taken while they live.
void RecordNotifications(CCommandBarsTestFrame& target, std::vector<NMOSMCONTROL>& blocks)
{
    target.OnMessage = [&blocks](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == COSMControl::kMessageControlNotify)
            blocks.push_back(*reinterpret_cast<const NMOSMCONTROL*>(lParam));
        return std::nullopt;
    };
}

TEST_F(ExecutionTest, NotificationsGoToTheGivenSiteOrUpTheChainToTheNotificationSite)
{
    CCommandBarsTestFrame given;
    CCommandBarsTestFrame target;
    CCommandBarsTestFrame owner;
    ASSERT_TRUE(given.CreateTestFrame("given"));
    ASSERT_TRUE(target.CreateTestFrame("command target"));
    ASSERT_TRUE(owner.CreateTestFrame("owner"));
    std::vector<NMOSMCONTROL> toGiven, toTarget, toOwner, toSite;
    RecordNotifications(given, toGiven);
    RecordNotifications(target, toTarget);
    RecordNotifications(owner, toOwner);
    RecordNotifications(frame, toSite);

    // A child bar of the frame; a popup of it whose root has a command target; a popup window with an owner.
    TrackingBar child;
    MakeBar(child, 1, 0);
    child.AddButtons({31});
    TrackingBar root;
    root.SetCommandBars(commandBars.Get());
    root.SetCommandTargetWindow(&target);
    TrackingBar popup;
    popup.SetParentBar(&root);
    popup.AddButtons({32});
    TrackingBar owned;
    owned.SetCommandBars(commandBars.Get());
    ASSERT_TRUE(owned.CreatePopup(&owner, CRect(50, 300, 200, 330)));
    owned.AddButtons({33});

    struct Case
    {
        COSMControl* control;
        CWnd* site;
        std::vector<NMOSMCONTROL>* expected;
    };
    const Case cases[] = {
        {child.GetControl(0), &given, &toGiven},
        {popup.GetControl(0), nullptr, &toTarget},
        {owned.GetControl(0), nullptr, &toOwner},
        {child.GetControl(0), nullptr, &toSite},
    };
    for (const Case& c : cases)
    {
        for (auto* blocks : {&toGiven, &toTarget, &toOwner, &toSite})
            blocks->clear();
        EXPECT_EQ(0, c.control->SendNotify(c.site, 55));
        for (auto* blocks : {&toGiven, &toTarget, &toOwner, &toSite})
            EXPECT_EQ(blocks == c.expected ? 1u : 0u, blocks->size()) << c.control->GetID();
        ASSERT_EQ(1u, c.expected->size());
        const NMOSMCONTROL& block = c.expected->front();
        EXPECT_EQ(nullptr, block.hdr.hwndFrom);
        EXPECT_EQ(c.control->GetID(), block.hdr.idFrom);
        EXPECT_EQ(55u, block.hdr.code);
        EXPECT_EQ(c.control, block.pControl);
    }
    EXPECT_EQ(&target, popup.GetNotifySite());
    EXPECT_EQ(&owner, owned.GetNotifySite());
    EXPECT_EQ(&frame, child.GetNotifySite());

    // An answer is the result; a block of the caller's is filled and sent.
    given.SetReply(COSMControl::kMessageControlNotify, 42);
    NMOSMCONTROL block{};
    EXPECT_EQ(42, child.GetControl(0)->SendNotify(&given, 56, &block));
    EXPECT_EQ(56u, block.hdr.code);
    EXPECT_EQ(child.GetControl(0), block.pControl);
    for (CCommandBarsTestFrame* recorder : {&given, &target, &owner, static_cast<CCommandBarsTestFrame*>(&frame)})
        recorder->OnMessage = nullptr;
}

TEST_F(ExecutionTest, UnansweredNotificationsReachOnNotifyEntriesOfTheSite)
{
    TrackingBar bar;
    MakeBar(bar, 1, 0);
    bar.AddButtons({TrackingFrame::kHandledId, 502});
    frame.notifyResult = 9;
    EXPECT_EQ(9, bar.GetControl(0)->NotifySite(TrackingFrame::kHandledCode));
    ASSERT_EQ(1u, frame.notified.size());
    EXPECT_EQ(bar.GetControl(0), frame.notified[0].pControl);
    EXPECT_EQ(1, frame.CountOf(COSMControl::kMessageControlNotify));
    // Another code or another control: no entry, no answer.
    EXPECT_EQ(0, bar.GetControl(0)->NotifySite(TrackingFrame::kHandledCode + 1));
    EXPECT_EQ(0, bar.GetControl(1)->NotifySite(TrackingFrame::kHandledCode));
    EXPECT_EQ(1u, frame.notified.size());
    // An answered notification is not routed.
    frame.SetReply(COSMControl::kMessageControlNotify, 3);
    EXPECT_EQ(3, bar.GetControl(0)->NotifySite(TrackingFrame::kHandledCode));
    EXPECT_EQ(1u, frame.notified.size());
    frame.SetReply(COSMControl::kMessageControlNotify, 0);

    // A control without a bar notifies only a site it is given, and nothing is routed.
    COSMControlButton loose;
    loose.SetID(TrackingFrame::kHandledId);
    EXPECT_EQ(0, loose.NotifySite(TrackingFrame::kHandledCode));
    frame.ClearRecords();
    EXPECT_EQ(0, loose.SendNotify(&frame, TrackingFrame::kHandledCode));
    EXPECT_EQ(1, frame.CountOf(COSMControl::kMessageControlNotify));
    EXPECT_EQ(1u, frame.notified.size());
}

TEST_F(ExecutionTest, ExecutionSendsTheCommandOnlyWhenTheNotificationIsUnanswered)
{
    TrackingBar bar;
    MakeBar(bar, 1, 0);
    bar.AddButtons({61});
    COSMControl* control = bar.GetControl(0);

    control->OnExecute();
    ASSERT_EQ(1, frame.CountOf(COSMControl::kMessageControlNotify));
    EXPECT_EQ(61u, frame.RecordsOf(COSMControl::kMessageControlNotify)[0].wParam);
    ASSERT_EQ(1, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(61u, frame.RecordsOf(WM_COMMAND)[0].wParam);
    EXPECT_EQ(0, frame.RecordsOf(WM_COMMAND)[0].lParam);
    // The notification came first.
    EXPECT_EQ(COSMControl::kMessageControlNotify, frame.Records()[0].message);

    frame.ClearRecords();
    frame.SetReply(COSMControl::kMessageControlNotify, 1);
    control->OnExecute();
    EXPECT_EQ(1, frame.CountOf(COSMControl::kMessageControlNotify));
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
}

TEST_F(ExecutionTest, CommandStatesAreRefreshedUnlessAPopupClosesOnTheClick)
{
    struct Case
    {
        int type;
        int position;
        BOOL closeOnClick;
        int refreshes;
    };
    const Case cases[] = {
        {1, 0, TRUE, 1},  // a toolbar button: pressed 2, then refreshed and unpressed
        {1, 0, FALSE, 1},
        {2, 5, TRUE, 0},   // a menu item that closes its menu: nothing left to refresh
        {2, 5, FALSE, 1},  // a menu item that keeps its menu open
    };
    for (const Case& c : cases)
    {
        TrackingBar bar;
        MakeBar(bar, c.type, c.position);
        bar.AddButtons({62});
        COSMControl* control = bar.GetControl(0);
        control->SetCloseSubMenuOnClick(c.closeOnClick);
        frame.ClearRecords();
        control->OnExecute();
        EXPECT_EQ(1, frame.CountOf(WM_COMMAND));
        EXPECT_EQ(c.refreshes, bar.idleUpdates) << c.type << "/" << c.position << " " << c.closeOnClick;
        EXPECT_EQ(0, control->GetPressed());
    }
}

TEST_F(ExecutionTest, AKeyboardClickOnAControlWithoutIdEndsUnpressed)
{
    TrackingBar bar;
    MakeBar(bar, 1, 0);
    bar.AddButtons({0});
    COSMControl* control = bar.GetControl(0);
    frame.ClearRecords();
    control->OnClick(TRUE, CPoint(5, 5));
    EXPECT_EQ(0, control->GetPressed());
    EXPECT_EQ(0, frame.CountOf(COSMControl::kMessageControlNotify));
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
}

TEST_F(ExecutionTest, APopupTrackedToReturnACommandGetsTheIdAndNothingIsSent)
{
    TrackingBar outer;
    MakeBar(outer, 2, 5);
    outer.AddButtons({70});
    TrackingBar root;
    MakeBar(root, 2, 5);
    root.AddButtons({71, 72}, CSize(40, 20), TRUE);
    int chosen = -1;
    root.SetPopupResult(&chosen);
    ASSERT_TRUE(outer.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(root.SetTrackingMode(1, FALSE, TRUE));
    frame.ClearRecords();

    // Tracked inside another popup's tracking, only the returning popup closes.
    root.SetRecursiveTracking(TRUE);
    root.GetControl(1)->OnExecute();
    EXPECT_EQ(72, chosen);
    EXPECT_EQ(0, root.GetTrackingMode());
    EXPECT_EQ(1, outer.GetTrackingMode());
    EXPECT_TRUE(frame.Records().empty());

    // Otherwise every popup closes.
    root.SetRecursiveTracking(FALSE);
    ASSERT_TRUE(root.SetTrackingMode(1, FALSE, TRUE));
    root.GetControl(0)->OnExecute();
    EXPECT_EQ(71, chosen);
    EXPECT_EQ(0, root.GetTrackingMode());
    EXPECT_EQ(0, outer.GetTrackingMode());
    EXPECT_TRUE(frame.Records().empty());
}

TEST_F(ExecutionTest, ExecutedHiddenCommandsAndTheirMenuBecomeUsed)
{
    COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
    options->m_hiddenCommands.SetAt(300, 1);
    options->m_hiddenCommands.SetAt(301, 1);
    options->m_hiddenCommands.SetAt(302, 1);
    TrackingBar menuBar;
    MakeBar(menuBar, 0, 0);
    menuBar.AddButtons({300});
    RefPtr<COSMPopupBar> popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    popup->SetControlPopup(menuBar.GetControl(0));
    COSMControl* item = popup->GetControls()->Add(1, 301);
    ASSERT_TRUE(commandBars->IsCommandHidden(300));

    item->OnExecute();
    EXPECT_FALSE(commandBars->IsCommandHidden(301));
    EXPECT_FALSE(commandBars->IsCommandHidden(300));
    EXPECT_TRUE(commandBars->IsCommandHidden(302));
    EXPECT_EQ(1, frame.CountOf(WM_COMMAND));
}

TEST_F(ExecutionTest, ButtonsRunOnReleaseInPopupsAndOnKeyboardClicks)
{
    struct Case
    {
        int type;
        int position;
        BOOL enabled;
        BOOL runsOnRelease;
    };
    const Case cases[] = {
        {2, 5, TRUE, TRUE}, {1, 5, TRUE, TRUE}, {2, 0, TRUE, TRUE}, {1, 0, TRUE, FALSE}, {2, 5, FALSE, FALSE},
    };
    for (const Case& c : cases)
    {
        TrackingBar bar;
        MakeBar(bar, c.type, c.position);
        bar.AddButtons({80});
        COSMControl* control = bar.GetControl(0);
        control->SetEnabled(c.enabled);
        frame.ClearRecords();
        control->OnLButtonUp(CPoint(5, 5));
        EXPECT_EQ(c.runsOnRelease ? 1 : 0, frame.CountOf(WM_COMMAND)) << c.type << "/" << c.position;
        // A keyboard click runs every enabled button; a mouse click in a popup bar leaves it to the release.
        frame.ClearRecords();
        control->OnClick(TRUE, CPoint(5, 5));
        EXPECT_EQ(c.enabled ? 1 : 0, frame.CountOf(WM_COMMAND));
        if (c.type == 2)
        {
            frame.ClearRecords();
            control->OnClick(FALSE, CPoint(5, 5));
            EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
            EXPECT_EQ(0, control->GetPressed());
        }
    }
}

TEST_F(ExecutionTest, AButtonTakingItsActionsStateWithoutOneRunsAndADisabledOneIgnoresEveryClick)
{
    // Enabled -1 with no action bound is not 0: the button works. A disabled one ignores keyboard and mouse clicks
    // and releases, and in customize mode neither customizes nor closes the bar's popup.
    for (int enabled : {-1, 0})
    {
        SCOPED_TRACE(enabled);
        const int runs = enabled != 0 ? 1 : 0;
        TrackingBar bar;
        MakeBar(bar, 1, 0);
        auto* opener = AddControl<TestPopupControl>(bar, 90);
        auto* button = AddControl<TestPopupControl>(bar, 91);
        bar.LayOut();
        button->SetEnabled(enabled);
        ASSERT_EQ(nullptr, button->GetAction());
        EXPECT_EQ(enabled, button->GetEnabled());

        frame.ClearRecords();
        button->OnClick(TRUE, CPoint(45, 5));
        EXPECT_EQ(runs, frame.CountOf(WM_COMMAND));
        if (enabled == 0)
        {
            // A mouse click on a toolbar does not even hold the button down.
            button->OnClick(FALSE, CPoint(45, 5));
            EXPECT_EQ(0, button->GetPressed());
            EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
        }

        TrackingBar popupBar;
        MakeBar(popupBar, 2, 5);
        auto* item = AddControl<TestPopupControl>(popupBar, 92);
        popupBar.LayOut();
        item->SetEnabled(enabled);
        frame.ClearRecords();
        item->OnClick(FALSE, CPoint(5, 5));
        EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
        item->OnLButtonUp(CPoint(5, 5));
        EXPECT_EQ(runs, frame.CountOf(WM_COMMAND));

        ASSERT_TRUE(bar.SetPopuped(0, FALSE));
        commandBars->SetCustomizeMode(TRUE);
        frame.ClearRecords();
        button->OnClick(FALSE, CPoint(45, 5));
        button->OnClick(TRUE, CPoint(45, 5));
        EXPECT_EQ(runs * 2, button->customizeClicks);
        EXPECT_EQ(enabled != 0, !opener->IsPopupOpen());
        EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
        commandBars->SetCustomizeMode(FALSE);
        bar.StopTracking();
        popupBar.StopTracking();
    }
}

TEST_F(ExecutionTest, ClicksInCustomizeModeCustomizeInsteadOfRunning)
{
    TrackingBar bar;
    MakeBar(bar, 1, 0);
    auto* opener = AddControl<TestPopupControl>(bar, 90);
    auto* button = AddControl<TestPopupControl>(bar, 91);
    bar.LayOut();
    ASSERT_TRUE(bar.SetPopuped(0, FALSE));
    commandBars->SetCustomizeMode(TRUE);
    frame.ClearRecords();
    button->OnClick(TRUE, CPoint(45, 5));
    EXPECT_EQ(1, button->customizeClicks);
    EXPECT_EQ(-1, bar.GetPopupedIndex());
    EXPECT_EQ(-1, bar.GetSelectedIndex());
    EXPECT_FALSE(opener->IsPopupOpen());
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
    commandBars->SetCustomizeMode(FALSE);
    bar.StopTracking();
}

TEST_F(ExecutionTest, HoverClosesAPopupAndEndsTrackingThatOnlyThePopupStarted)
{
    struct Case
    {
        int position;
        int trackingAfter;
    };
    // A popup bar (position 5) keeps tracking: its own popup tracking ends it.
    const Case cases[] = {{0, 0}, {5, 2}};
    for (const Case& c : cases)
    {
        TrackingBar bar;
        MakeBar(bar, 1, c.position);
        auto* opener = AddControl<TestPopupControl>(bar, 95);
        auto* other = AddControl<TestPopupControl>(bar, 96);
        bar.LayOut();
        ASSERT_TRUE(bar.SetPopuped(0, FALSE));
        ASSERT_EQ(2, bar.GetTrackingMode());
        other->OnMouseHover();
        EXPECT_EQ(-1, bar.GetPopupedIndex());
        EXPECT_FALSE(opener->IsPopupOpen());
        EXPECT_EQ(c.trackingAfter, bar.GetTrackingMode()) << c.position;
        bar.StopTracking();
    }
    // With no popup open, hovering leaves keyboard tracking alone.
    TrackingBar bar;
    MakeBar(bar, 1, 0);
    auto* control = AddControl<TestPopupControl>(bar, 97);
    bar.LayOut();
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    control->OnMouseHover();
    EXPECT_EQ(1, bar.GetTrackingMode());
    bar.StopTracking();
}

TEST_F(ExecutionTest, AKeyboardSelectionClosesAnotherControlsPopup)
{
    TrackingBar bar;
    MakeBar(bar, 1, 0);
    auto* first = AddControl<TestPopupControl>(bar, 97);
    auto* second = AddControl<TestPopupControl>(bar, 98);
    bar.LayOut();
    ASSERT_TRUE(bar.SetPopuped(0, FALSE));
    // The open control itself, and a mouse selection, keep it open.
    EXPECT_FALSE(first->SetSelected(first->GetSelected()));
    first->SetSelected(3);
    second->SetSelected(1);
    EXPECT_EQ(0, bar.GetPopupedIndex());
    EXPECT_TRUE(second->SetSelected(2));
    EXPECT_EQ(-1, bar.GetPopupedIndex());
    EXPECT_FALSE(first->IsPopupOpen());
    bar.StopTracking();
}

}  // namespace
