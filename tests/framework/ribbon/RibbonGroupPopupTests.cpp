// The ribbon's popups and scroll buttons under real input: a reduced group's popup, the minimized ribbon's tab popup
// (placement in the work area, scrolling, Escape, tooltips, keyboard tips), the "more" popup of the quick-access
// row, the hot group, and the scroll buttons' auto-repeating press (and a quit posted while it runs).
#include "RibbonGroupTestSupport.h"

#include "classlib/CallbackGuard.h"
#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/foundation/ToolTipContext.h"

#include <functional>
#include <stdexcept>
#include <string>

using namespace ribbon_test;

// A group whose copy in a closed popup refuses to be taken out while the test says so: its removal throws, as the
// application's own group code may.
class CRefusingCopyGroup : public COSMRibbonGroup
{
    DECLARE_SERIAL(CRefusingCopyGroup)

public:
    void OnGroupRemoved() override
    {
        COSMRibbonGroup::OnGroupRemoved();
        if (s_refuse && dynamic_cast<COSMRibbonGroupPopupToolBar*>(GetParentBar()))
            throw std::runtime_error("the copy refused to go");
    }
    static inline bool s_refuse = false;
};

IMPLEMENT_SERIAL(CRefusingCopyGroup, COSMRibbonGroup, VERSIONABLE_SCHEMA | 0x23)

namespace {

class RibbonPopupTest : public RibbonGroupTest
{
protected:
    void TearDown() override
    {
        COSMPopupBar::s_pfnGetMonitorAreas = s_defaultAreas;
        if (m_doubleClickTime)
            ::SetDoubleClickTime(m_doubleClickTime);
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        RibbonGroupTest::TearDown();
    }

    // Groups that cannot reduce, wider together than the ribbon by several screens of scrolling.
    void AddWideGroups(COSMRibbonTab* to, int screens)
    {
        const int count = (screens + 1) * ribbon->GetGroupsRect().Width() / 187 + 3;
        for (int i = 0; i < count; ++i)
            AddGroup("Wide", "LLLL", to)->SetReduceLimit(0);
    }
    // Opens the tab popup of the selected tab of a minimized ribbon with a click on the tab.
    COSMRibbonTabPopupToolBar* OpenTabPopup()
    {
        if (!ribbon->IsRibbonMinimized())
        {
            ribbon->SetRibbonMinimized(TRUE);
            Relayout();
        }
        // A second click on the tab within the double-click time would be a double click (which restores).
        const DWORD since = ::GetTickCount() - m_lastTabClick;
        if (since < ::GetDoubleClickTime() + 50)
            PumpFor(::GetDoubleClickTime() + 50 - since);
        ClickAt(TabCentre(tab));
        m_lastTabClick = ::GetTickCount();
        PumpFor(50);
        return dynamic_cast<COSMRibbonTabPopupToolBar*>(ribbon->GetControlTab()->GetCommandBar());
    }
    void SlowDoubleClicks(UINT time)
    {
        m_doubleClickTime = ::GetDoubleClickTime();
        ::SetDoubleClickTime(time);
    }
    static CRect WindowRect(CWnd* window)
    {
        CRect rect;
        window->GetWindowRect(&rect);
        return rect;
    }

    // A work area the tests shape, for the monitor areas the popups ask for.
    static inline CRect s_workArea;
    static void ShapedAreas(const CRect& /*rect*/, CRect* workArea, CRect* monitorArea)
    {
        *workArea = s_workArea;
        *monitorArea = s_workArea;
    }
    static inline const COSMPopupBar::MonitorAreasFn s_defaultAreas = COSMPopupBar::s_pfnGetMonitorAreas;

    // What a quit posted while a scroll button of the bar is held did: the button is pressed on its bar, a timer the
    // button's loop dispatches posts the quit once it sees the button held (long before the loop's first repeat), and
    // the application's loop (this test's pump) waits for it. Should the loop lose the quit, the button is released
    // late, so the wait fails instead of hanging.
    struct QuitWhileScrolling
    {
        bool arrived = false;
        WPARAM code = 0;
        BOOL pressedAtQuit = FALSE;
        int offsetAtQuit = -1;
        BOOL pressedAfter = TRUE;
        HWND captureAfter = nullptr;
        int offsetLater = -1;
    };
    QuitWhileScrolling HoldScrollButtonThroughAQuit(COSMCommandBar* bar, COSMRibbonGroupsScroller* scroller)
    {
        // The first repeat would come after 4 seconds.
        SlowDoubleClicks(5000);
        COSMControl* right = scroller->GetRightButton();
        const HWND window = frame.GetSafeHwnd();
        const HWND barWindow = bar->GetSafeHwnd();
        QuitWhileScrolling seen;
        int looks = 0;
        std::function<void()> quitOnceHeld = [&] {
            // The press may reach the bar after the first look when the machine is busy.
            if (!right->GetPressed() && ++looks < 100)
            {
                Scheduled::After(window, 20, quitOnceHeld);
                return;
            }
            seen.pressedAtQuit = right->GetPressed();
            seen.offsetAtQuit = scroller->GetScrollOffset();
            ::PostQuitMessage(41);
            Scheduled::After(window, 4000, [] { SendMouseInput(MOUSEEVENTF_LEFTUP); });
        };
        Scheduled::After(window, 50, quitOnceHeld);
        MoveMouseTo(ScreenPoint(*bar, right->GetRect().CenterPoint()));
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        MSG quit{};
        seen.arrived = PumpUntilQuit(&quit, 5000);
        seen.code = quit.wParam;
        seen.pressedAfter = right->GetPressed();
        seen.captureAfter = ::GetCapture();
        // The button is still down: a loop still running would scroll on these repeat ticks.
        if (::IsWindow(barWindow))
        {
            ::PostMessageA(barWindow, WM_TIMER, COSMRibbonGroupsScrollButton::kTimerRepeat, 0);
            ::PostMessageA(barWindow, WM_TIMER, COSMRibbonGroupsScrollButton::kTimerRepeat, 0);
        }
        PumpFor(100);
        seen.offsetLater = scroller->GetScrollOffset();
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        PumpMessages();
        // Nothing scheduled here outlives the state it refers to.
        Scheduled::After(window, 60000, [] {});
        return seen;
    }

private:
    UINT m_doubleClickTime = 0;
    DWORD m_lastTabClick = 0;
};

std::vector<std::string> g_callbackReports;

void RecordCallbackReport(const char* where, long /*message*/, const char* what)
{
    g_callbackReports.push_back(std::string(where) + ": " + what);
}

}  // namespace

// ---- The group popup ----

TEST_F(RibbonPopupTest, AReducedGroupsButtonOpensAPopupWithACopyOfTheGroupThatGoesWhenItCloses)
{
    std::vector<COSMRibbonGroup*> groups = AddCollapsingGroups();
    COSMRibbonGroup* last = groups.back();
    ASSERT_TRUE(last->IsReduced());
    COSMRibbonGroupControlPopup* button = last->GetPopupButton();
    ASSERT_TRUE(button->IsVisible());

    ClickAt(ScreenPoint(*ribbon, button->GetRect().CenterPoint()));
    ASSERT_TRUE(button->IsPopupOpen());
    auto* popup = dynamic_cast<COSMRibbonGroupPopupToolBar*>(button->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(last, popup->GetSourceGroup());
    EXPECT_EQ(ribbon, popup->GetRibbonBar());
    EXPECT_FALSE(popup->IsCustomizable());
    EXPECT_EQ(CRect(2, 2, 3, CaptionHeight() + 1), popup->GetPopupBorders());
    COSMRibbonGroup* copy = popup->GetGroupCopy();
    ASSERT_NE(nullptr, copy);
    EXPECT_FALSE(copy->IsReduced());
    ASSERT_EQ(3, copy->GetCount());
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(last->GetAt(i)->GetID(), copy->GetAt(i)->GetID());
        EXPECT_EQ(popup, copy->GetAt(i)->GetParent());
        EXPECT_TRUE(copy->GetAt(i)->IsVisible());
        EXPECT_EQ(i, copy->IndexOf(copy->GetAt(i)));
    }
    // As wide as the copy and the side borders, as high as the groups less 7.
    const CRect window = WindowRect(popup);
    EXPECT_EQ(64 + 2 + 3, window.Width());
    EXPECT_EQ(GroupsHeight() - 7, window.Height());
    EXPECT_EQ(CRect(0, 0, 64 + 5, GroupsHeight() - 7), copy->GetRect());

    // The copy is the popup's hot group while the mouse is over it, and not once it leaves.
    MoveMouseTo(ScreenPoint(*popup, copy->GetRect().CenterPoint()));
    PumpFor(100);
    EXPECT_EQ(copy, popup->GetGroupsScroller()->GetHotGroup());
    EXPECT_TRUE(copy->IsHotGroup());
    MoveMouseTo(window.BottomRight() + CPoint(40, 40));
    PumpFor(100);
    EXPECT_EQ(nullptr, popup->GetGroupsScroller()->GetHotGroup());

    commandBars->ClosePopups();
    PumpFor(60);
    EXPECT_FALSE(button->IsPopupOpen());
    EXPECT_EQ(nullptr, popup->GetGroupCopy());
    EXPECT_EQ(2, popup->GetControlCount()) << "only the scroll buttons stay";

    // The next opening shows a new copy.
    ClickAt(ScreenPoint(*ribbon, button->GetRect().CenterPoint()));
    auto* again = dynamic_cast<COSMRibbonGroupPopupToolBar*>(button->GetCommandBar());
    ASSERT_NE(nullptr, again);
    ASSERT_NE(nullptr, again->GetGroupCopy());
    EXPECT_EQ(3, again->GetGroupCopy()->GetCount());
}

TEST_F(RibbonPopupTest, AGroupCopyThatThrowsAsTheClosedPopupLetsItGoIsStoppedAtTheTimerAndReported)
{
    AddCollapsingGroups();
    auto* refusing = new CRefusingCopyGroup;
    refusing->SetCaption("Refusing");
    refusing->SetID(990);
    tab->GetGroups()->InsertAt(-1, refusing);
    for (int i = 0; i < 3; ++i)
        AddControl(refusing, 'M');
    Relayout();
    ASSERT_TRUE(refusing->IsReduced());
    COSMRibbonGroupControlPopup* button = refusing->GetPopupButton();
    g_callbackReports.clear();
    const CallbackExceptionReporter previous = SetCallbackExceptionReporter(&RecordCallbackReport);

    ClickAt(ScreenPoint(*ribbon, button->GetRect().CenterPoint()));
    ASSERT_TRUE(button->IsPopupOpen());
    auto* popup = dynamic_cast<COSMRibbonGroupPopupToolBar*>(button->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    ASSERT_NE(nullptr, popup->GetGroupCopy());
    CRefusingCopyGroup::s_refuse = true;
    commandBars->ClosePopups();
    osm::test::PumpMessagesUntil([&] { return !g_callbackReports.empty(); });
    PumpFor(20);
    CRefusingCopyGroup::s_refuse = false;
    EXPECT_EQ(std::vector<std::string>{"ribbon group popup copy timer: the copy refused to go"}, g_callbackReports);
    EXPECT_EQ(nullptr, popup->GetGroupCopy()) << "the copy left the popup all the same";

    // The ribbon goes on: the button opens a new copy, which goes quietly when its popup closes.
    ClickAt(ScreenPoint(*ribbon, button->GetRect().CenterPoint()));
    auto* again = dynamic_cast<COSMRibbonGroupPopupToolBar*>(button->GetCommandBar());
    ASSERT_NE(nullptr, again);
    ASSERT_NE(nullptr, again->GetGroupCopy());
    EXPECT_EQ(3, again->GetGroupCopy()->GetCount());
    commandBars->ClosePopups();
    osm::test::PumpMessagesUntil([&] { return again->GetGroupCopy() == nullptr; });
    EXPECT_EQ(nullptr, again->GetGroupCopy());
    EXPECT_EQ(1u, g_callbackReports.size());
    SetCallbackExceptionReporter(previous);
}

// A popup closed just before its ribbon goes lets its copy go as the ribbon goes, while the groups the copy was made
// from are still there, not later from its timer.
TEST_F(RibbonPopupTest, AClosedPopupsCopyGoesWithTheRibbonWhenTheRibbonGoesFirst)
{
    std::vector<COSMRibbonGroup*> groups = AddCollapsingGroups();
    COSMRibbonGroupControlPopup* button = groups.back()->GetPopupButton();
    ASSERT_TRUE(groups.back()->IsReduced());
    ClickAt(ScreenPoint(*ribbon, button->GetRect().CenterPoint()));
    const RefPtr<COSMRibbonGroupPopupToolBar> popup =
        RetainRef(dynamic_cast<COSMRibbonGroupPopupToolBar*>(button->GetCommandBar()));
    ASSERT_NE(nullptr, popup);
    ASSERT_NE(nullptr, popup->GetGroupCopy());

    commandBars->ClosePopups();
    commandBars->Remove(ribbon);
    ribbon = nullptr;
    EXPECT_EQ(nullptr, popup->GetGroupCopy()) << "the copy went with the ribbon";
    EXPECT_EQ(0, popup->GetControlCount() - 2) << "only the scroll buttons stay";
    PumpFor(60);
}

// ---- The tab popup ----

TEST_F(RibbonPopupTest, TheTabPopupOpensUnderTheTabStripAtTheRibbonsWidthInsideTheWorkArea)
{
    AddGroup("Clipboard", "LMM");
    AddGroup("Font", "MMM");
    COSMRibbonTabPopupToolBar* popup = OpenTabPopup();
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(tab, popup->GetRibbonTab());
    COSMRibbonTab* copy = popup->GetTabCopy();
    ASSERT_NE(nullptr, copy);
    EXPECT_NE(tab, copy);
    EXPECT_EQ(popup, copy->GetParentCommandBar());
    ASSERT_EQ(2, copy->GetGroups()->GetCount());
    COSMRibbonGroup* first = copy->GetGroups()->GetAt(0);
    EXPECT_EQ(popup, first->GetParentBar());
    EXPECT_EQ(ribbon, first->GetRibbonBar());
    EXPECT_EQ(3, first->GetCount());
    EXPECT_TRUE(first->GetAt(0)->IsVisible());
    EXPECT_EQ(4, first->GetRect().left) << "inside the margins";
    EXPECT_EQ(3, first->GetRect().top);

    const CRect ribbonRect = WindowRect(ribbon);
    const CRect exclude = popup->GetExcludeRect();
    const int height = GroupsHeight();
    EXPECT_EQ(CRect(ribbonRect.left, exclude.bottom, ribbonRect.right, exclude.bottom + height), WindowRect(popup));
    EXPECT_EQ(CRect(0, 0, ribbonRect.Width(), height), popup->GetGroupsRect());

    // A narrower work area: the popup ends 4 pixels inside it; one that ends under the strip: it opens above it.
    // A ribbon that starts within the margin of the right edge gets no width at all, never a negative one.
    COSMPopupBar::s_pfnGetMonitorAreas = &ShapedAreas;
    struct Case
    {
        CRect workArea;
        CRect window;
    };
    const std::vector<Case> cases = {
        {CRect(0, 0, ribbonRect.left + 300, 1024),
         CRect(ribbonRect.left, exclude.bottom, ribbonRect.left + 296, exclude.bottom + height)},
        {CRect(ribbonRect.left + 20, 0, 1280, 1024),
         CRect(ribbonRect.left + 20, exclude.bottom, ribbonRect.right, exclude.bottom + height)},
        {CRect(0, 0, 1280, exclude.bottom + 20),
         CRect(ribbonRect.left, exclude.top - height, ribbonRect.right, exclude.top)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(c.workArea.right));
        commandBars->ClosePopups();
        PumpMessages();
        s_workArea = c.workArea;
        COSMRibbonTabPopupToolBar* shaped = OpenTabPopup();
        ASSERT_NE(nullptr, shaped);
        EXPECT_EQ(c.window, WindowRect(shaped));
        EXPECT_EQ(c.window.Width(), shaped->GetGroupsRect().Width());
    }
    s_workArea = CRect(0, 0, ribbonRect.left + 2, 1024);
    COSMRibbonTabPopupToolBar* current =
        dynamic_cast<COSMRibbonTabPopupToolBar*>(ribbon->GetControlTab()->GetCommandBar());
    ASSERT_NE(nullptr, current);
    EXPECT_EQ(CSize(0, height), current->CalcDynamicLayout(0, LM_COMMIT));
    EXPECT_EQ(0, current->GetGroupsRect().Width());
}

TEST_F(RibbonPopupTest, TheTabPopupScrollsItsGroupsByFortyAndNeverLeftOfTheFirst)
{
    AddWideGroups(tab, 1);
    COSMRibbonTabPopupToolBar* popup = OpenTabPopup();
    ASSERT_NE(nullptr, popup);
    COSMRibbonGroupsScroller* scroller = popup->GetGroupsScroller();
    EXPECT_EQ(scroller, COSMRibbonGroupsScroller::GetGroupsScroller(popup));
    COSMRibbonGroups* groups = popup->GetTabCopy()->GetGroups();
    EXPECT_FALSE(scroller->GetLeftButton()->IsVisible());
    EXPECT_TRUE(scroller->GetRightButton()->IsVisible());
    const int start = groups->GetAt(0)->GetRect().left;

    scroller->ScrollGroups(TRUE);
    EXPECT_EQ(0, groups->GetScrollPos());
    EXPECT_EQ(start, groups->GetAt(0)->GetRect().left);
    scroller->ScrollGroups(FALSE);
    scroller->ScrollGroups(FALSE);
    EXPECT_EQ(80, groups->GetScrollPos());
    EXPECT_EQ(start - 80, groups->GetAt(0)->GetRect().left);
    EXPECT_TRUE(scroller->GetLeftButton()->IsVisible());
    for (int i = 0; i < 4; ++i)
        scroller->ScrollGroups(TRUE);
    EXPECT_EQ(0, groups->GetScrollPos());
    EXPECT_EQ(0, scroller->GetScrollOffset());
    EXPECT_FALSE(scroller->GetLeftButton()->IsVisible());
}

TEST_F(RibbonPopupTest, EscapeInTheTabPopupClosesEverythingOrOneLevelWhenEnteredFromTheKeyboard)
{
    AddGroup("Clipboard", "MMM");
    for (const BOOL keyboard : {FALSE, TRUE})
    {
        SCOPED_TRACE(keyboard);
        COSMRibbonTabPopupToolBar* popup = OpenTabPopup();
        ASSERT_NE(nullptr, popup);
        ASSERT_NE(0, popup->GetTrackingMode());
        ribbon->SetEnteredFromKeyboard(keyboard);
        const int ribbonTracking = ribbon->GetTrackingMode();
        const BOOL consumed = popup->ProcessSpecialKey(COSMCommandBar::kKeyEscape);
        PumpMessages();
        EXPECT_EQ(0, popup->GetTrackingMode());
        EXPECT_FALSE(ribbon->GetControlTab()->IsPopupOpen());
        if (keyboard)
        {
            // One level back: the ribbon still tracks (its tab strip selected), the popup alone is gone.
            EXPECT_NE(0, ribbonTracking);
            EXPECT_NE(0, ribbon->GetTrackingMode());
        }
        else
        {
            EXPECT_TRUE(consumed);
            EXPECT_EQ(0, ribbon->GetTrackingMode());
            EXPECT_EQ(0, commandBars->GetMouseManager()->GetTrackedCount());
        }
        commandBars->ClosePopups();
        ribbon->SetTrackingMode(0, FALSE, FALSE);
        PumpMessages();
        EXPECT_FALSE(ribbon->IsEnteredFromKeyboard()) << "cleared once the ribbon stops tracking";
    }
}

TEST_F(RibbonPopupTest, EscapeTypedInTheTabPopupClosesIt)
{
    AddGroup("Clipboard", "MMM");
    COSMRibbonTabPopupToolBar* popup = OpenTabPopup();
    ASSERT_NE(nullptr, popup);
    SendKey(VK_ESCAPE);
    PumpFor(50);
    EXPECT_EQ(0, popup->GetTrackingMode());
    EXPECT_FALSE(ribbon->GetControlTab()->IsPopupOpen());
    EXPECT_EQ(0, commandBars->GetMouseManager()->GetTrackedCount());
}

TEST_F(RibbonPopupTest, AGroupControlsTipInTheTabPopupCoversItsGroupsWithTheSwitchOn)
{
    COSMRibbonGroup* group = AddGroup("Clipboard", "MMM");
    group->GetAt(0)->SetTooltip("Paste");
    commandBars->GetCommandBarsOptions()->m_popupToolTips = TRUE;
    COSMRibbonTabPopupToolBar* popup = OpenTabPopup();
    ASSERT_NE(nullptr, popup);
    COSMControl* paste = popup->GetTabCopy()->GetGroups()->GetAt(0)->GetAt(0);
    for (const BOOL groupsArea : {FALSE, TRUE})
    {
        SCOPED_TRACE(groupsArea);
        commandBars->GetToolTipContext()->SetRibbonGroupsPlacement(groupsArea);
        COSMCommandBarToolInfo info{};
        info.cbSize = sizeof info;
        ASSERT_NE(-1, popup->OnToolHitTest(paste->GetRect().CenterPoint(), &info));
        EXPECT_EQ(paste, info.pControl);
        EXPECT_EQ(groupsArea ? popup->GetGroupsRect() : paste->GetRect(), CRect(info.rect));
        COSMToolTipContext::FreeToolInfoText(&info);
    }
}

TEST_F(RibbonPopupTest, AKeyboardTipOfAReducedGroupsControlOpensTheGroupPopupAndActivatesItsCopy)
{
    // Enough groups that the tab popup's last one is reduced.
    const int count = ribbon->GetGroupsRect().Width() / 71 + 2;
    for (int i = 0; i < count; ++i)
        AddGroup("Group", "MMM");
    COSMRibbonTabPopupToolBar* popup = OpenTabPopup();
    ASSERT_NE(nullptr, popup);
    COSMRibbonGroups* groups = popup->GetTabCopy()->GetGroups();
    COSMRibbonGroup* reduced = groups->GetAt(groups->GetCount() - 1);
    ASSERT_TRUE(reduced->IsReduced());
    COSMControl* second = reduced->GetAt(1);
    ASSERT_EQ(COSMRibbonGroup::kHideReduced, second->GetHideFlags());
    frame.HandleCommand(second->GetID());
    frame.ClearRecords();

    // A tip whose own flag says it is shown cannot stand for a control its group's reduction hides: nothing runs.
    COSMCommandBarKeyboardTip shownFlag(commandBars.Get(), second, "B", 0, 0, 0, TRUE);
    popup->OnKeyboardTip(&shownFlag);
    PumpMessages();
    EXPECT_EQ(0, Commands(second->GetID()));
    EXPECT_FALSE(reduced->GetPopupButton()->IsPopupOpen());

    // The control's real tip is hidden with it.
    COSMCommandBarKeyboardTip tip(commandBars.Get(), second, "B", 0, 0, 0, TRUE);
    tip.SetTipVisible(FALSE);
    popup->OnKeyboardTip(&tip);
    PumpMessages();
    // The group's popup was made for it (and closed again as the command ran).
    COSMRibbonGroupControlPopup* button = reduced->GetPopupButton();
    auto* groupPopup = dynamic_cast<COSMRibbonGroupPopupToolBar*>(button->GetCommandBar());
    ASSERT_NE(nullptr, groupPopup);
    EXPECT_EQ(reduced, groupPopup->GetSourceGroup());
    // The control at the same position in the group popup ran: its command reached the frame.
    EXPECT_EQ(1, Commands(second->GetID()));

    // A visible control's tip runs it at once; a control hidden otherwise is left alone.
    commandBars->ClosePopups();
    PumpMessages();
    popup = OpenTabPopup();
    ASSERT_NE(nullptr, popup);
    COSMControl* shown = popup->GetTabCopy()->GetGroups()->GetAt(0)->GetAt(0);
    COSMControl* hidden = popup->GetTabCopy()->GetGroups()->GetAt(0)->GetAt(1);
    hidden->SetHideFlags(hidden->GetHideFlags() | COSMControl::kHideHidden);
    frame.HandleCommand(shown->GetID());
    frame.HandleCommand(hidden->GetID());
    frame.ClearRecords();
    COSMCommandBarKeyboardTip hiddenTip(commandBars.Get(), hidden, "C", 0, 0, 0, TRUE);
    popup->OnKeyboardTip(&hiddenTip);
    PumpMessages();
    EXPECT_EQ(0, Commands(hidden->GetID()));
    COSMCommandBarKeyboardTip shownTip(commandBars.Get(), shown, "A", 0, 0, 0, TRUE);
    popup->OnKeyboardTip(&shownTip);
    PumpMessages();
    EXPECT_EQ(1, Commands(shown->GetID()));
}

// ---- The "more" popup ----

TEST_F(RibbonPopupTest, TheMoreButtonOpensTheQuickAccessControlsThatDidNotFitAtTheRibbonsSizes)
{
    std::vector<COSMControl*> controls;
    for (UINT id = 201; id < 225; ++id)
        controls.push_back(ribbon->GetQuickAccessControls()->Add(1, static_cast<int>(id)));
    frame.SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    Relayout();
    std::vector<UINT> overflowed;
    for (COSMControl* control : controls)
        if (control->GetHideFlags() & COSMControl::kHideWrap)
            overflowed.push_back(control->GetID());
    ASSERT_FALSE(overflowed.empty());
    COSMRibbonBarControlQuickAccessMore* more = ribbon->GetQuickAccessMore();
    ASSERT_TRUE(more->IsVisible());

    ClickAt(ScreenPoint(*ribbon, more->GetRect().CenterPoint()));
    ASSERT_TRUE(more->IsPopupOpen());
    auto* popup = dynamic_cast<COSMRibbonBarMorePopupToolBar*>(more->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(ribbon, popup->GetRibbonBar());
    EXPECT_EQ(CRect(3, 3, 3, 3), popup->GetPopupBorders());
    EXPECT_EQ(ribbon->GetIconSize(), popup->GetIconSize());
    EXPECT_EQ(ribbon->GetButtonSize(), popup->GetButtonSize());
    EXPECT_FALSE(popup->GetHoverSelect());
    // The clones of the controls that did not fit, shown, then the customize button's.
    std::vector<UINT> expected = overflowed;
    expected.push_back(COSMRibbonBarControlQuickAccessPopup::kControlId);
    EXPECT_EQ(expected, Ids(popup->GetControls()));
    for (int i = 0; i < popup->GetControlCount(); ++i)
        EXPECT_EQ(0u, popup->GetControl(i)->GetHideFlags() & COSMControl::kHideWrap) << i;
    EXPECT_TRUE(popup->GetControl(0)->IsVisible());
    EXPECT_TRUE(popup->GetControl(0)->GetRect().Width() > 0);
}

// ---- The hot group ----

TEST_F(RibbonPopupTest, TheHotGroupFollowsTheMouseInTheRibbonAndInTheTabPopupAndClearsOnLeaveAndTracking)
{
    COSMRibbonGroup* first = AddGroup("Clipboard", "LMM");
    COSMRibbonGroup* second = AddGroup("Font", "MMM");
    Relayout();
    MoveMouseTo(ScreenPoint(*ribbon, first->GetRect().CenterPoint()));
    PumpFor(60);
    EXPECT_EQ(first, Scroller()->GetHotGroup());
    EXPECT_TRUE(first->IsHotGroup());
    MoveMouseTo(ScreenPoint(*ribbon, second->GetRect().CenterPoint()));
    PumpFor(60);
    EXPECT_EQ(second, Scroller()->GetHotGroup());
    ribbon->SetTrackingMode(1, FALSE, FALSE);
    EXPECT_EQ(nullptr, Scroller()->GetHotGroup());
    ribbon->SetTrackingMode(0, FALSE, FALSE);
    PumpMessages();
    MoveMouseTo(ScreenPoint(*ribbon, first->GetRect().CenterPoint()));
    PumpFor(60);
    EXPECT_EQ(first, Scroller()->GetHotGroup());
    MoveMouseTo(CPoint(1200, 1000));
    PumpFor(100);
    EXPECT_EQ(nullptr, Scroller()->GetHotGroup());

    COSMRibbonTabPopupToolBar* popup = OpenTabPopup();
    ASSERT_NE(nullptr, popup);
    COSMRibbonGroup* copy = popup->GetTabCopy()->GetGroups()->GetAt(1);
    MoveMouseTo(ScreenPoint(*popup, copy->GetRect().CenterPoint()));
    PumpFor(100);
    EXPECT_EQ(copy, popup->GetGroupsScroller()->GetHotGroup());
    EXPECT_EQ(nullptr, Scroller()->GetHotGroup()) << "the ribbon's own scroller is not the popup's";
    MoveMouseTo(WindowRect(popup).BottomRight() + CPoint(30, 30));
    PumpFor(100);
    EXPECT_EQ(nullptr, popup->GetGroupsScroller()->GetHotGroup());
}

// ---- The scroll buttons ----

TEST_F(RibbonPopupTest, AHeldScrollButtonScrollsOnceThenOnEachRepeatUntilReleased)
{
    AddWideGroups(tab, 8);
    Relayout();
    COSMControl* right = Scroller()->GetRightButton();
    ASSERT_TRUE(right->IsVisible());
    // A long double-click time: the first repeat would come after 4 seconds, the next ones every half second.
    SlowDoubleClicks(5000);
    const HWND window = frame.GetSafeHwnd();
    const HWND bar = ribbon->GetSafeHwnd();
    int first = -1;
    int posted = -1;
    int repeated = -1;
    int released = -1;
    int later = -1;
    BOOL pressedWhileHeld = FALSE;
    BOOL pressedAfter = TRUE;
    HWND captureAfter = bar;
    Scheduled::After(window, 300, [&] {
        first = Scroller()->GetScrollOffset();
        pressedWhileHeld = right->GetPressed();
        // Each repeat tick scrolls once; the first one sets the tenth of the double-click time for the next ones.
        ::PostMessageA(bar, WM_TIMER, COSMRibbonGroupsScrollButton::kTimerRepeat, 0);
        ::PostMessageA(bar, WM_TIMER, COSMRibbonGroupsScrollButton::kTimerRepeat, 0);
        Scheduled::After(window, 100, [&] {
            posted = Scroller()->GetScrollOffset();
            Scheduled::After(window, 1300, [&] {
                repeated = Scroller()->GetScrollOffset();
                SendMouseInput(MOUSEEVENTF_LEFTUP);
                Scheduled::After(window, 100, [&] {
                    released = Scroller()->GetScrollOffset();
                    pressedAfter = right->GetPressed();
                    captureAfter = ::GetCapture();
                    Scheduled::After(window, 700, [&] {
                        later = Scroller()->GetScrollOffset();
                        ::PostQuitMessage(0);
                    });
                });
            });
        });
    });
    MoveMouseTo(ScreenPoint(*ribbon, right->GetRect().CenterPoint()));
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    MSG quit;
    ASSERT_TRUE(PumpUntilQuit(&quit, 5000));
    EXPECT_EQ(40, first) << "one scroll at once, none more before the first repeat";
    EXPECT_TRUE(pressedWhileHeld);
    EXPECT_EQ(120, posted);
    EXPECT_GE(repeated, 160) << "the repeat timer now runs at a tenth of the double-click time";
    EXPECT_EQ(repeated, released) << "the release ends the scrolling at once";
    EXPECT_EQ(released, later);
    EXPECT_FALSE(pressedAfter);
    EXPECT_NE(bar, captureAfter);
}

TEST_F(RibbonPopupTest, LosingTheCaptureEndsTheScrollButtonsLoop)
{
    AddWideGroups(tab, 8);
    Relayout();
    COSMControl* right = Scroller()->GetRightButton();
    ASSERT_TRUE(right->IsVisible());
    SlowDoubleClicks(600);
    const HWND window = frame.GetSafeHwnd();
    int lost = -1;
    int later = -1;
    BOOL pressedAfter = TRUE;
    Scheduled::After(window, 100, [&] {
        ::ReleaseCapture();
        Scheduled::After(window, 50, [&] {
            lost = Scroller()->GetScrollOffset();
            pressedAfter = right->GetPressed();
            Scheduled::After(window, 1000, [&] {
                later = Scroller()->GetScrollOffset();
                ::PostQuitMessage(0);
            });
        });
    });
    MoveMouseTo(ScreenPoint(*ribbon, right->GetRect().CenterPoint()));
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    MSG quit;
    ASSERT_TRUE(PumpUntilQuit(&quit, 5000));
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpMessages();
    EXPECT_EQ(40, lost);
    EXPECT_FALSE(pressedAfter);
    EXPECT_EQ(40, later) << "the button is still down, but nothing scrolls any more";
}

// A quit posted while a scroll button is held ends the button's loop at once (no repeat after it, the button up and
// the capture given back) and reaches the application's loop with its code: in the ribbon, and in the minimized
// ribbon's tab popup.
TEST_F(RibbonPopupTest, AQuitPostedWhileAScrollButtonIsHeldEndsItsLoopAndReachesTheApplicationsLoop)
{
    AddWideGroups(tab, 8);
    Relayout();
    ASSERT_TRUE(Scroller()->GetRightButton()->IsVisible());
    const QuitWhileScrolling inRibbon = HoldScrollButtonThroughAQuit(ribbon, Scroller());
    EXPECT_TRUE(inRibbon.arrived);
    EXPECT_EQ(41u, inRibbon.code);
    EXPECT_TRUE(inRibbon.pressedAtQuit) << "the quit came while the button was held";
    EXPECT_EQ(40, inRibbon.offsetAtQuit);
    EXPECT_FALSE(inRibbon.pressedAfter);
    EXPECT_NE(ribbon->GetSafeHwnd(), inRibbon.captureAfter);
    EXPECT_EQ(40, inRibbon.offsetLater) << "no repeat after the quit";

    COSMRibbonTabPopupToolBar* popup = OpenTabPopup();
    ASSERT_NE(nullptr, popup);
    COSMRibbonGroupsScroller* scroller = popup->GetGroupsScroller();
    ASSERT_TRUE(scroller->GetRightButton()->IsVisible());
    const HWND popupWindow = popup->GetSafeHwnd();
    const QuitWhileScrolling inPopup = HoldScrollButtonThroughAQuit(popup, scroller);
    EXPECT_TRUE(inPopup.arrived);
    EXPECT_EQ(41u, inPopup.code);
    EXPECT_TRUE(inPopup.pressedAtQuit);
    EXPECT_EQ(40, inPopup.offsetAtQuit);
    EXPECT_FALSE(inPopup.pressedAfter);
    EXPECT_NE(popupWindow, inPopup.captureAfter);
    EXPECT_EQ(40, inPopup.offsetLater);
}

TEST_F(RibbonPopupTest, APopupClosedAndReleasedDuringTheScrollLoopEndsItWithoutHarm)
{
    AddWideGroups(tab, 2);
    COSMRibbonTabPopupToolBar* popup = OpenTabPopup();
    ASSERT_NE(nullptr, popup);
    COSMControl* right = popup->GetGroupsScroller()->GetRightButton();
    ASSERT_TRUE(right->IsVisible());
    SlowDoubleClicks(5000);
    const HWND window = frame.GetSafeHwnd();
    const HWND popupWindow = popup->GetSafeHwnd();
    COSMRibbonControlTab* strip = ribbon->GetControlTab();
    int scrolled = -1;
    BOOL windowAfter = TRUE;
    Scheduled::After(window, 200, [&] {
        scrolled = popup->GetTabCopy()->GetGroups()->GetScrollPos();
        // The popup closes and its last holder lets it go while the button's loop runs.
        commandBars->ClosePopups();
        strip->SetCommandBar(nullptr);
        Scheduled::After(window, 200, [&] {
            windowAfter = ::IsWindow(popupWindow);
            ::PostQuitMessage(0);
        });
    });
    MoveMouseTo(ScreenPoint(*popup, right->GetRect().CenterPoint()));
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    MSG quit;
    ASSERT_TRUE(PumpUntilQuit(&quit, 5000));
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpMessages();
    ::SetDoubleClickTime(500);
    EXPECT_EQ(40, scrolled);
    EXPECT_FALSE(windowAfter);
    EXPECT_FALSE(strip->IsPopupOpen());
    EXPECT_EQ(nullptr, ::GetCapture());
    // The ribbon goes on working: its tab popup opens again.
    COSMRibbonTabPopupToolBar* again = OpenTabPopup();
    ASSERT_NE(nullptr, again);
    EXPECT_TRUE(strip->IsPopupOpen());
}
