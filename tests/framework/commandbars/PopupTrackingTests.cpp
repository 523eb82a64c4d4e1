// Popup menus tracked in the manager's own loop on an active frame: the chosen command comes back or is sent, a
// click outside or Escape closes, a quit message ends the loop and stays for the application, the site hears the
// popup open and close, and a popup closed during its first update is not left tracking. Input is sent from a
// window timer once the popup is up.
#include "InputTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/KeyboardManager.h"
#include "framework/commandbars/PopupPlacement.h"
#include "framework/commandbars/ShortcutManager.h"
#include "framework/commandbars/ShortcutManagerAccel.h"
#include "framework/commandbars/ControlPopup.h"

using namespace commandbars_test;

namespace {

// A plain child window that records the presses it gets.
class PressRecordingWindow : public CWnd
{
public:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_LBUTTONDOWN)
            ++presses;
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
    int presses = 0;
};

// A popup whose first command-UI update closes its own window (as a handler of the application may).
class SelfClosingPopup : public COSMPopupBar
{
public:
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) override
    {
        if (GetSafeHwnd())
            DestroyWindow();
        return 0;
    }
};

class PopupTrackingTest : public ActivePopupSiteTest
{
protected:
    // The screen centre of the popup's control at the index.
    static CPoint ControlCentre(COSMPopupBar& popup, int index)
    {
        CRect rect = popup.GetControl(index)->GetRect();
        popup.ClientToScreen(&rect);
        return rect.CenterPoint();
    }

    // Once the popup is up: the action, with the popup's window checked first.
    void WhenUp(COSMPopupBar* popup, std::function<void()> action)
    {
        Scheduled::After(frame.GetSafeHwnd(), 150, [popup, action = std::move(action)] {
            EXPECT_NE(nullptr, popup->GetSafeHwnd());
            action();
        });
    }

    // A click made without pumping: the popup's loop takes it.
    static void QueueClick(CPoint screen)
    {
        SendMouseMoveTo(screen);
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        SendMouseInput(MOUSEEVENTF_LEFTUP);
    }
    // A bar of the frame whose one control, "File", opens a popup; returns that control.
    COSMControlPopup* MakeBarWithOpener(TrackingBar& bar)
    {
        MakeBarWindow(bar, 1, 0, CRect(0, 0, 300, 24));
        COSMControlPopup* opener = COSMControlPopup::CreateControlPopup(2);
        bar.GetControls()->AddControl(opener, 0);
        opener->SetCaption("File");
        bar.LayOut();
        return opener;
    }
};

TEST_F(PopupTrackingTest, AClickedItemAnswersItsIdAndSendsNoCommand)
{
    RefPtr<COSMPopupBar> popup = MakePopup({101, 102, 103});
    frame.ClearRecords();
    WhenUp(popup.Get(), [&] { QueueClick(ControlCentre(*popup, 1)); });
    EXPECT_EQ(102, COSMCommandBars::TrackPopupMenu(popup.Get(), TPM_RETURNCMD, 200, 200, &frame));
    PumpFor(50);
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(nullptr, popup->GetSafeHwnd());
    EXPECT_EQ(0, popup->GetTrackingMode());
}

TEST_F(PopupTrackingTest, WithoutReturnCommandTheClickSendsTheCommandToTheSite)
{
    RefPtr<COSMPopupBar> popup = MakePopup({101, 102, 103});
    frame.ClearRecords();
    WhenUp(popup.Get(), [&] { QueueClick(ControlCentre(*popup, 2)); });
    EXPECT_EQ(TRUE, COSMCommandBars::TrackPopupMenu(popup.Get(), 0, 200, 200, &frame));
    PumpFor(50);
    const auto commands = frame.RecordsOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(103u, LOWORD(commands[0].wParam));
}

TEST_F(PopupTrackingTest, AClickOutsideAnswersZeroAndThePressReachesTheWindowUnderTheCursor)
{
    PressRecordingWindow target;
    ASSERT_TRUE(target.CreateEx(0, AfxRegisterWndClass(0), "Target", WS_CHILD | WS_VISIBLE, 350, 20, 120, 80,
                                frame.GetSafeHwnd(), nullptr));
    RefPtr<COSMPopupBar> popup = MakePopup({101, 102});
    const CPoint outside = ScreenPoint(target, CPoint(60, 40));
    WhenUp(popup.Get(), [&] { QueueClick(outside); });
    EXPECT_EQ(0, COSMCommandBars::TrackPopupMenu(popup.Get(), TPM_RETURNCMD, 150, 250, &frame));
    EXPECT_EQ(0, target.presses);
    PumpFor(80);
    EXPECT_EQ(1, target.presses);
    target.DestroyWindow();
}

TEST_F(PopupTrackingTest, EscapeAnswersZero)
{
    RefPtr<COSMPopupBar> popup = MakePopup({101, 102});
    WhenUp(popup.Get(), [&] { QueueKey(VK_ESCAPE); });
    EXPECT_EQ(0, COSMCommandBars::TrackPopupMenu(popup.Get(), TPM_RETURNCMD, 200, 200, &frame));
    EXPECT_EQ(nullptr, popup->GetSafeHwnd());
}

TEST_F(PopupTrackingTest, AQuitEndsTrackingAndStaysForTheApplicationsLoop)
{
    RefPtr<COSMPopupBar> popup = MakePopup({101, 102});
    WhenUp(popup.Get(), [] { ::PostQuitMessage(37); });
    EXPECT_EQ(0, COSMCommandBars::TrackPopupMenu(popup.Get(), TPM_RETURNCMD, 200, 200, &frame));
    EXPECT_EQ(0, popup->GetTrackingMode());
    EXPECT_EQ(0, CreateMouseManager()->GetTrackedCount());
    EXPECT_FALSE(CreateKeyboardManager()->IsHooked(popup.Get()));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(37u, msg.wParam);
}

TEST_F(PopupTrackingTest, TheSiteHearsThePopupOpenAndCloseAndEventsMarkIt)
{
    RefPtr<COSMPopupBar> popup = MakePopup({101, 102});
    popup->m_pNotifyWinEvent = &RecordWinEvent;
    RecordedWinEvents().clear();
    frame.tracking.clear();
    HWND shownWhenAnnounced = reinterpret_cast<HWND>(1);
    BOOL goneWhenClosed = FALSE;
    HWND popupWindow = nullptr;
    frame.onTracking = [&](UINT message, WPARAM, LPARAM lParam) -> LRESULT {
        auto* bar = reinterpret_cast<COSMPopupBar*>(lParam);
        if (message == COSMPopupBar::kMessagePopupShowing)
        {
            popupWindow = bar->GetSafeHwnd();
            shownWhenAnnounced = popupWindow && ::IsWindowVisible(popupWindow) ? popupWindow : nullptr;
        }
        if (message == COSMPopupBar::kMessagePopupClosed)
            goneWhenClosed = !::IsWindow(popupWindow);
        return 0;
    };
    WhenUp(popup.Get(), [&] { QueueKey(VK_ESCAPE); });
    COSMCommandBars::TrackPopupMenu(popup.Get(), TPM_RETURNCMD, 200, 200, &frame);
    frame.onTracking = nullptr;

    std::vector<TrackingFrame::Message> popupMessages;
    for (const auto& m : frame.tracking)
    {
        if (m.message == COSMPopupBar::kMessagePopupShowing || m.message == COSMPopupBar::kMessagePopupClosed)
            popupMessages.push_back(m);
    }
    ASSERT_EQ(2u, popupMessages.size());
    EXPECT_EQ(COSMPopupBar::kMessagePopupShowing, popupMessages[0].message);
    EXPECT_EQ(COSMPopupBar::kMessagePopupClosed, popupMessages[1].message);
    EXPECT_EQ(reinterpret_cast<LPARAM>(popup.Get()), popupMessages[0].lParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(popup.Get()), popupMessages[1].lParam);
    EXPECT_EQ(nullptr, shownWhenAnnounced);  // not yet shown
    EXPECT_NE(nullptr, popupWindow);
    EXPECT_TRUE(goneWhenClosed);

    std::vector<WinEvent> menuEvents;
    for (const WinEvent& e : RecordedWinEvents())
    {
        if (e.event == EVENT_SYSTEM_MENUPOPUPSTART || e.event == EVENT_SYSTEM_MENUPOPUPEND)
            menuEvents.push_back(e);
    }
    const std::vector<WinEvent> expected = {
        {EVENT_SYSTEM_MENUPOPUPSTART, popupWindow, OBJID_MENU, CHILDID_SELF},
        {EVENT_SYSTEM_MENUPOPUPEND, popupWindow, OBJID_MENU, CHILDID_SELF},
    };
    EXPECT_EQ(expected, menuEvents);
}

TEST_F(PopupTrackingTest, APopupClosedDuringItsFirstUpdateIsNotLeftTracking)
{
    RefPtr<COSMPopupBar> popup = AdoptRef<COSMPopupBar>(new SelfClosingPopup);
    popup->SetCommandBars(commandBars.Get());
    popup->GetControls()->Add(1, 101)->SetCaption("Item");
    EXPECT_FALSE(popup->Popup(200, 200));
    EXPECT_FALSE(CreateMouseManager()->IsTrackActive(nullptr));
    EXPECT_EQ(0, CreateMouseManager()->GetTrackedCount());
    EXPECT_FALSE(CreateKeyboardManager()->IsHooked(popup.Get()));
    EXPECT_EQ(0, popup->GetRedrawLockCount());

    // Through the manager: no loop runs, the answer is 0.
    const DWORD before = ::GetTickCount();
    EXPECT_EQ(0, COSMCommandBars::TrackPopupMenu(popup.Get(), TPM_RETURNCMD, 200, 200, &frame));
    EXPECT_LT(::GetTickCount() - before, 1000u);
    EXPECT_FALSE(CreateMouseManager()->IsTrackActive(nullptr));
}

TEST_F(PopupTrackingTest, TheWindowSavesBitsTakesNoActivationAndIsAToolWindow)
{
    const struct
    {
        BOOL disableWithoutHandler;
        BOOL saveBits;
    } cases[] = {{TRUE, TRUE}, {FALSE, FALSE}};
    for (const auto& c : cases)
    {
        commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = c.disableWithoutHandler;
        RefPtr<COSMPopupBar> popup = MakePopup({101});
        ASSERT_TRUE(popup->Popup(200, 200));
        char className[32] = {};
        ::GetClassNameA(popup->GetSafeHwnd(), className, sizeof(className));
        EXPECT_STREQ("OSMPopupBar", className);
        const DWORD classStyle = static_cast<DWORD>(::GetClassLongPtrA(popup->GetSafeHwnd(), GCL_STYLE));
        EXPECT_EQ(c.saveBits, (classStyle & CS_SAVEBITS) != 0);
        EXPECT_TRUE(classStyle & CS_DBLCLKS);
        EXPECT_EQ(0x86000100u, popup->GetStyle() & ~DWORD(WS_VISIBLE));
        EXPECT_TRUE(popup->GetExStyle() & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(popup->GetStyle() & WS_VISIBLE);
        EXPECT_EQ(MA_NOACTIVATE, popup->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame.GetSafeHwnd()),
                                                    MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
        EXPECT_TRUE(popup->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE, 0));
        EXPECT_FALSE(popup->SendMessage(WM_FLOATSTATUS, FS_ACTIVATE, 0));
        popup->SetTrackingMode(0, TRUE, FALSE);
        EXPECT_EQ(nullptr, popup->GetSafeHwnd());
    }
}

// A work area the test sets, on a monitor one pixel taller.
CRect g_workArea;
void TestMonitorAreas(const CRect&, CRect* workArea, CRect* monitorArea)
{
    *workArea = g_workArea;
    *monitorArea = g_workArea;
    monitorArea->bottom += 1;
}

TEST_F(PopupTrackingTest, ALongMenuScrollsByItsButtonsAndTheKeyboard)
{
    RefPtr<COSMPopupBar> popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    for (int id = 1001; id <= 1040; ++id)
        popup->GetControls()->Add(1, id)->SetCaption("Item");
    popup->CalcDynamicLayout(0, 0);
    const int itemHeight = popup->GetControl(0)->GetRect().Height();
    ASSERT_GT(itemHeight, 0);
    const CRect borders = popup->GetBorders();
    // Room for about 25 items (5 pixels at the foot stay free).
    g_workArea = CRect(0, 0, 1280, 25 * itemHeight + borders.top + borders.bottom + 5);
    ScopedSetting<COSMPopupBar::MonitorAreasFn> areas(COSMPopupBar::s_pfnGetMonitorAreas, &TestMonitorAreas);

    ASSERT_TRUE(popup->Popup(100, 10));
    EXPECT_TRUE(popup->IsScrolling());
    CRect window;
    popup->GetWindowRect(&window);
    EXPECT_LE(window.bottom, g_workArea.bottom - 5);
    EXPECT_FALSE(popup->GetScrollDownRect().IsRectEmpty());
    EXPECT_TRUE(popup->GetScrollUpRect().IsRectEmpty());
    EXPECT_EQ(0, popup->GetFirstVisibleIndex());
    const int firstEnd = popup->GetEndVisibleIndex();
    EXPECT_GT(firstEnd, 15);
    EXPECT_LT(firstEnd, 40);
    EXPECT_TRUE(popup->GetControl(39)->GetHideFlags() & COSMControl::kHideScroll);

    // End selects the last item and scrolls it into view.
    popup->OnHookKeyDown(VK_END, 0);
    EXPECT_EQ(39, popup->GetSelectedIndex());
    EXPECT_EQ(40, popup->GetEndVisibleIndex());
    EXPECT_FALSE(popup->GetControl(39)->GetHideFlags() & COSMControl::kHideScroll);
    EXPECT_TRUE(popup->GetControl(0)->GetHideFlags() & COSMControl::kHideScroll);
    EXPECT_TRUE(popup->GetScrollDownRect().IsRectEmpty());
    EXPECT_FALSE(popup->GetScrollUpRect().IsRectEmpty());
    const int first = popup->GetFirstVisibleIndex();
    EXPECT_GT(first, 0);

    const auto tick = [&](UINT_PTR id) {
        popup->PostMessage(WM_TIMER, id, 0);
        PumpMessages();
    };
    // At the end the scroll-down timer moves nothing.
    tick(COSMPopupBar::kTimerScrollDown);
    EXPECT_EQ(first, popup->GetFirstVisibleIndex());
    EXPECT_EQ(40, popup->GetEndVisibleIndex());
    // The scroll-up timer moves by one item ...
    tick(COSMPopupBar::kTimerScrollUp);
    EXPECT_EQ(first - 1, popup->GetFirstVisibleIndex());
    // ... and stops at the top.
    for (int i = 0; i < 60; ++i)
        tick(COSMPopupBar::kTimerScrollUp);
    EXPECT_EQ(0, popup->GetFirstVisibleIndex());
    EXPECT_TRUE(popup->GetScrollUpRect().IsRectEmpty());
    const int end = popup->GetEndVisibleIndex();
    tick(COSMPopupBar::kTimerScrollDown);
    EXPECT_EQ(end + 1, popup->GetEndVisibleIndex());
    // The scroll-up button now takes room at the top as well.
    EXPECT_GE(popup->GetFirstVisibleIndex(), 1);
    EXPECT_FALSE(popup->GetScrollUpRect().IsRectEmpty());

    popup->SetTrackingMode(0, TRUE, FALSE);
}

TEST_F(PopupTrackingTest, SubMenusOpenBesideTheirItemAndCloseOneByOneOrAsAChain)
{
    RefPtr<COSMPopupBar> popup = MakePopup({101});
    RefPtr<COSMPopupBar> subBar = MakePopup({201, 202});
    COSMControlPopup* opener = COSMControlPopup::CreateControlPopup(2);
    popup->GetControls()->AddControl(opener, 0);
    opener->SetCaption("More");
    opener->SetCommandBar(subBar.Get());

    ASSERT_TRUE(popup->Popup(200, 150));
    popup->SetSelected(1, COSMCommandBar::kSelectKeyboard);
    popup->OnHookKeyDown(VK_RIGHT, 0);
    ASSERT_NE(nullptr, subBar->GetSafeHwnd());
    EXPECT_TRUE(subBar->IsVisible());
    EXPECT_EQ(1, popup->GetPopupedIndex());
    CRect item = opener->GetRect();
    popup->ClientToScreen(&item);
    CRect sub;
    subBar->GetWindowRect(&sub);
    EXPECT_EQ(item.right, sub.left);
    EXPECT_EQ(item.top, sub.top);

    // Escape closes only the sub-menu.
    subBar->OnHookKeyDown(VK_ESCAPE, 0);
    EXPECT_EQ(nullptr, subBar->GetSafeHwnd());
    EXPECT_NE(nullptr, popup->GetSafeHwnd());
    EXPECT_EQ(-1, popup->GetPopupedIndex());
    EXPECT_NE(0, popup->GetTrackingMode());

    // A click on the frame closes the whole chain.
    popup->OnHookKeyDown(VK_RIGHT, 0);
    ASSERT_NE(nullptr, subBar->GetSafeHwnd());
    ClickAt(ScreenPoint(frame, CPoint(20, 20)));
    EXPECT_EQ(nullptr, subBar->GetSafeHwnd());
    EXPECT_EQ(nullptr, popup->GetSafeHwnd());
}

TEST_F(PopupTrackingTest, ShortcutTextsShowInDropDownsAndInContextMenusOnlyWhenAsked)
{
    commandBars->GetShortcutManager()->GetAccelTable()->Add(COSMShortcutManagerAccel(101, FVIRTKEY | FCONTROL, 'S'));
    COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
    RefPtr<COSMPopupBar> context = MakePopup({101});
    for (BOOL shown : {FALSE, TRUE})
    {
        options->m_showContextMenuShortcuts = shown;
        ASSERT_TRUE(context->Popup(200, 200));
        EXPECT_EQ(CString(shown ? "Ctrl+S" : ""), context->GetControl(0)->GetShortcutTextAuto()) << shown;
        context->SetTrackingMode(0, TRUE, FALSE);
    }
    options->m_showContextMenuShortcuts = FALSE;

    TrackingBar bar;
    COSMControlPopup* opener = MakeBarWithOpener(bar);
    RefPtr<COSMPopupBar> dropDown = MakePopup({101});
    opener->SetCommandBar(dropDown.Get());
    ASSERT_TRUE(bar.SetPopuped(0, FALSE));
    ASSERT_NE(nullptr, dropDown->GetSafeHwnd());
    EXPECT_EQ(CString("Ctrl+S"), dropDown->GetControl(0)->GetShortcutTextAuto());
    // It opened below its control.
    CRect item = opener->GetRect();
    bar.ClientToScreen(&item);
    CRect window;
    dropDown->GetWindowRect(&window);
    EXPECT_EQ(item.left, window.left);
    EXPECT_EQ(item.bottom, window.top);
    bar.SetTrackingMode(0, TRUE, FALSE);
    EXPECT_EQ(nullptr, dropDown->GetSafeHwnd());
}

TEST_F(PopupTrackingTest, AMultiColumnDropDownThatFitsNeitherAboveNorBelowTurnsSideways)
{
    TrackingBar bar;
    COSMControlPopup* opener = MakeBarWithOpener(bar);
    CRect item = opener->GetRect();
    bar.ClientToScreen(&item);
    // 30 pixels above and below the control: twelve items fit on neither side.
    g_workArea = CRect(0, item.top - 30, 1280, item.bottom + 30 + 5);
    ScopedSetting<COSMPopupBar::MonitorAreasFn> areas(COSMPopupBar::s_pfnGetMonitorAreas, &TestMonitorAreas);

    for (BOOL twoColumns : {FALSE, TRUE})
    {
        SCOPED_TRACE(twoColumns ? "two columns" : "one column");
        RefPtr<COSMPopupBar> dropDown = MakePopup({101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112});
        if (twoColumns)
            dropDown->GetControl(6)->SetFlags(dropDown->GetControl(6)->GetFlags() | COSMControl::kFlagWrapRow);
        opener->SetCommandBar(dropDown.Get());
        ASSERT_TRUE(bar.SetPopuped(0, FALSE));
        ASSERT_NE(nullptr, dropDown->GetSafeHwnd());
        EXPECT_EQ(twoColumns, dropDown->IsMultiColumn());
        CRect window;
        dropDown->GetWindowRect(&window);
        if (twoColumns)
        {
            // Beside the control, from the top of the work area, at its full height, without scrolling.
            EXPECT_FALSE(dropDown->GetDirectionFlags() & kPopupBelow);
            EXPECT_FALSE(dropDown->IsScrolling());
            EXPECT_EQ(item.right, window.left);
            EXPECT_EQ(g_workArea.top, window.top);
            EXPECT_GT(window.Height(), g_workArea.Height());
        }
        else
        {
            // Below or above the control, cut to the larger side, scrolling.
            EXPECT_TRUE(dropDown->GetDirectionFlags() & kPopupBelow);
            EXPECT_TRUE(dropDown->IsScrolling());
            EXPECT_EQ(item.left, window.left);
            EXPECT_TRUE(window.top == item.bottom || window.bottom == item.top);
        }
        bar.SetTrackingMode(0, TRUE, FALSE);
        EXPECT_EQ(nullptr, dropDown->GetSafeHwnd());
    }
}

TEST_F(PopupTrackingTest, AClickedTitleStaysOpenWhileHoveredAndASecondClickEndsTheBarsTracking)
{
    TrackingBar bar;
    COSMControlPopup* file = MakeBarWithOpener(bar);
    COSMControlPopup* help = COSMControlPopup::CreateControlPopup(2);
    bar.GetControls()->AddControl(help, 1);
    help->SetCaption("Help");
    bar.LayOut();
    RefPtr<COSMPopupBar> fileMenu = MakePopup({101});
    RefPtr<COSMPopupBar> helpMenu = MakePopup({201});
    file->SetCommandBar(fileMenu.Get());
    help->SetCommandBar(helpMenu.Get());

    // The hover timer that the click's mouse selection starts must not close the menu it opened.
    file->OnClick(FALSE, file->GetRect().CenterPoint());
    ASSERT_NE(nullptr, fileMenu->GetSafeHwnd());
    file->OnMouseHover();
    EXPECT_NE(nullptr, fileMenu->GetSafeHwnd());
    EXPECT_TRUE(file->IsPopupOpen());
    EXPECT_EQ(2, bar.GetTrackingMode());

    // Resting on the other title while a menu is open moves the open menu there.
    bar.SetSelected(1, COSMCommandBar::kSelectMouse);
    help->OnMouseHover();
    EXPECT_EQ(nullptr, fileMenu->GetSafeHwnd());
    EXPECT_NE(nullptr, helpMenu->GetSafeHwnd());
    EXPECT_EQ(1, bar.GetPopupedIndex());

    // A click on the open title closes it and the bar stops tracking.
    help->OnClick(FALSE, help->GetRect().CenterPoint());
    EXPECT_EQ(nullptr, helpMenu->GetSafeHwnd());
    EXPECT_EQ(-1, bar.GetPopupedIndex());
    EXPECT_EQ(0, bar.GetTrackingMode());
}

}  // namespace
