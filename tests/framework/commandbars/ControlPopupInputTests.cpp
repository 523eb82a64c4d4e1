// The popup control under synthesized input on an active frame: toolbar drop-downs and split buttons clicked part
// by part, split buttons in popup bars, the hover and expand timers (posted), access keys, double clicks, a popup
// without a bar, a popup that its first update closes, the excluded rectangle the paint manager adjusts, and
// customize drags over popups.
#include "InputTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/CustomizeDropSource.h"

#include <algorithm>
#include <utility>
#include <vector>

using namespace commandbars_test;

namespace {

// A bar that records every redraw it is asked for, with whether one of its controls had its popup open then.
class RedrawRecordingBar : public TrackingBar
{
public:
    void Redraw(const RECT* rect, BOOL animate) override
    {
        bool open = false;
        for (int i = 0; i < GetControlCount(); ++i)
            open = open || GetControl(i)->IsPopupOpen();
        redraws.emplace_back(rect ? CRect(*rect) : CRect(), open);
        TrackingBar::Redraw(rect, animate);
    }
    std::vector<std::pair<CRect, bool>> redraws;
};

// A popup whose first command-UI update closes its window, as an application's handler may.
class PopupClosedByItsFirstUpdate : public COSMPopupBar
{
public:
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) override
    {
        if (GetSafeHwnd())
            DestroyWindow();
        return 0;
    }
};

// A popup whose window cannot be made.
class PopupWithoutWindow : public COSMPopupBar
{
public:
    BOOL CreatePopupWindow() override { return FALSE; }
};

// A look that keeps popups three pixels below their control.
class LowerExcludePaintManager : public COSMTestPaintManager
{
public:
    void AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical) override
    {
        rect.bottom += 3;
        adjusted.emplace_back(control, vertical);
    }
    std::vector<std::pair<COSMControl*, BOOL>> adjusted;
};

class PopupControlInputTest : public ActivePopupSiteTest
{
protected:
    void TearDown() override
    {
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        ActivePopupSiteTest::TearDown();
    }

    // A toolbar of the frame with the button 80 and the popup control 90 "&Tools" of the Type, opening dropDown
    // (items 301 and 302) unless told otherwise.
    COSMControlPopup* MakeToolBar(TrackingBar& bar, int type, BOOL withBar = TRUE)
    {
        MakeBarWindow(bar, 1, 0, CRect(0, 0, 300, 24));
        bar.GetControls()->Add(1, 80)->SetCaption("Other");
        COSMControlPopup* control = COSMControlPopup::CreateControlPopup(type);
        bar.GetControls()->AddControl(control, 90);
        control->SetCaption("&Tools");
        bar.LayOut();
        if (withBar)
            control->SetCommandBar(dropDown.Get());
        return control;
    }

    // Screen points on a split button's command part and on its drop-down part.
    static CPoint CommandPart(const COSMCommandBar& bar, const COSMControl* control)
    {
        const CRect rect = control->GetRect();
        return ScreenPoint(bar, CPoint(rect.left + 4, rect.CenterPoint().y));
    }
    static CPoint DropDownPart(const COSMCommandBar& bar, const COSMControl* control)
    {
        const CRect rect = control->GetRect();
        return ScreenPoint(bar, CPoint(rect.right - 4, rect.CenterPoint().y));
    }

    // The ids of the commands the frame got, in order.
    std::vector<UINT> Commands() const
    {
        std::vector<UINT> ids;
        for (const auto& record : frame.RecordsOf(WM_COMMAND))
            ids.push_back(LOWORD(record.wParam));
        return ids;
    }

    static void PostTimer(const CWnd& window, UINT_PTR id)
    {
        ::PostMessageA(window.GetSafeHwnd(), WM_TIMER, id, 0);
        PumpFor(60);
    }

    RefPtr<COSMPopupBar> dropDown = MakePopup({301, 302});
};

TEST_F(PopupControlInputTest, AToolbarDropDownOpensOnAClickAndClosesOnTheNext)
{
    TrackingBar bar;
    COSMControlPopup* tools = MakeToolBar(bar, 2);
    ClickAt(ControlCentre(bar, 1));
    ASSERT_NE(nullptr, dropDown->GetSafeHwnd());
    EXPECT_TRUE(tools->IsPopupOpen());
    EXPECT_EQ(1, bar.GetPopupedIndex());
    EXPECT_EQ(2, bar.GetTrackingMode());

    // A click, not the second half of a double click.
    PumpFor(::GetDoubleClickTime() + 50);
    ClickAt(ControlCentre(bar, 1));
    EXPECT_EQ(nullptr, dropDown->GetSafeHwnd());
    EXPECT_FALSE(tools->IsPopupOpen());
    EXPECT_EQ(-1, bar.GetPopupedIndex());
    EXPECT_EQ(0, bar.GetTrackingMode());
    EXPECT_TRUE(Commands().empty());
}

TEST_F(PopupControlInputTest, ASplitButtonRunsFromItsCommandPartAndOpensFromItsDropDownPart)
{
    // Enabled 4: only the command part works; 5: only the drop-down part.
    const struct
    {
        int enabled;
        bool commandPartRuns;
        bool dropDownPartOpens;
        bool keyboardOpens;
    } cases[] = {{1, true, true, false}, {4, true, false, false}, {5, false, true, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.enabled);
        TrackingBar bar;
        COSMControlPopup* split = MakeToolBar(bar, 4);
        split->SetEnabled(c.enabled);

        frame.ClearRecords();
        ClickAt(CommandPart(bar, split));
        EXPECT_EQ(c.commandPartRuns ? std::vector<UINT>{90} : std::vector<UINT>{}, Commands());
        EXPECT_EQ(nullptr, dropDown->GetSafeHwnd());

        frame.ClearRecords();
        ClickAt(DropDownPart(bar, split));
        EXPECT_EQ(c.dropDownPartOpens, dropDown->GetSafeHwnd() != nullptr);
        EXPECT_EQ(c.dropDownPartOpens, split->IsPopupOpen() == TRUE);
        EXPECT_TRUE(Commands().empty());
        bar.StopTracking();
        ASSERT_EQ(nullptr, dropDown->GetSafeHwnd());
        // The bar asking directly is refused as the click was.
        EXPECT_EQ(c.dropDownPartOpens, bar.SetPopuped(1, FALSE) == TRUE);
        bar.StopTracking();

        // Return on the selected split button: it runs, or opens when only its drop-down part works.
        frame.ClearRecords();
        ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
        bar.SetSelected(1, COSMCommandBar::kSelectKeyboard);
        SendKey(VK_RETURN);
        EXPECT_EQ(c.keyboardOpens, dropDown->GetSafeHwnd() != nullptr);
        EXPECT_EQ(c.keyboardOpens ? std::vector<UINT>{} : std::vector<UINT>{90}, Commands());
        if (c.keyboardOpens)
        {
            // Opened from the keyboard: its first item is selected.
            EXPECT_EQ(0, dropDown->GetSelectedIndex());
        }
        bar.StopTracking();
    }
}

TEST_F(PopupControlInputTest, InAPopupBarASplitButtonRunsOnAReleaseLeftOfItsDropDownPart)
{
    for (int enabled : {1, 5})
    {
        SCOPED_TRACE(enabled);
        RefPtr<COSMPopupBar> menu = MakePopup({101});
        COSMControlPopup* split = COSMControlPopup::CreateControlPopup(4);
        menu->GetControls()->AddControl(split, 95);
        split->SetCaption("Paste");
        split->SetCommandBar(dropDown.Get());
        split->SetEnabled(enabled);
        ASSERT_TRUE(menu->Popup(200, 150));
        PumpFor(50);

        // The selection follows the part under the mouse.
        MoveMouseTo(ScreenPoint(frame, CPoint(20, 200)));
        MoveMouseTo(CommandPart(*menu, split));
        MoveMouseTo(CommandPart(*menu, split) + CPoint(1, 0));
        EXPECT_EQ(4, split->GetSelected());
        MoveMouseTo(DropDownPart(*menu, split));
        EXPECT_EQ(5, split->GetSelected());
        MoveMouseTo(CommandPart(*menu, split));
        EXPECT_EQ(4, split->GetSelected());

        frame.ClearRecords();
        ClickAt(CommandPart(*menu, split));
        EXPECT_EQ(enabled == 5 ? std::vector<UINT>{} : std::vector<UINT>{95}, Commands());
        EXPECT_EQ(nullptr, dropDown->GetSafeHwnd());
        if (enabled == 5)
        {
            ClickAt(DropDownPart(*menu, split));
            EXPECT_NE(nullptr, dropDown->GetSafeHwnd());
            EXPECT_TRUE(Commands().empty());
        }
        menu->SetTrackingMode(0, TRUE, FALSE);
        EXPECT_EQ(nullptr, dropDown->GetSafeHwnd());
    }
}

TEST_F(PopupControlInputTest, TheHoverTimerOpensWhileTheBarTracksWithAPopupOrInAPopupBar)
{
    // A button popup on a toolbar opens on the hover only while its bar tracks for a popup (mode 2).
    for (int mode : {1, 2})
    {
        SCOPED_TRACE(mode);
        TrackingBar bar;
        COSMControlPopup* tools = MakeToolBar(bar, 3);
        bar.SetHoverSelect(FALSE);
        ASSERT_TRUE(bar.SetTrackingMode(mode, FALSE, FALSE));
        bar.SetSelected(1, COSMCommandBar::kSelectMouse);
        EXPECT_EQ(nullptr, dropDown->GetSafeHwnd());
        PostTimer(bar, COSMCommandBar::kTimerHover);
        EXPECT_EQ(mode == 2, dropDown->GetSafeHwnd() != nullptr);
        EXPECT_EQ(mode == 2, tools->IsPopupOpen() == TRUE);
        bar.StopTracking();
    }

    // A sub-menu item opens on the hover of its popup bar.
    RefPtr<COSMPopupBar> menu = MakePopup({101});
    COSMControlPopup* more = COSMControlPopup::CreateControlPopup(2);
    menu->GetControls()->AddControl(more, 0);
    more->SetCaption("More");
    more->SetCommandBar(dropDown.Get());
    ASSERT_TRUE(menu->Popup(200, 150));
    menu->SetHoverSelect(FALSE);
    menu->SetSelected(1, COSMCommandBar::kSelectMouse);
    PostTimer(*menu, COSMCommandBar::kTimerHover);
    EXPECT_NE(nullptr, dropDown->GetSafeHwnd());
    EXPECT_EQ(1, menu->GetPopupedIndex());
    menu->SetTrackingMode(0, TRUE, FALSE);
}

TEST_F(PopupControlInputTest, TheExpandTimerExpandsACollapsedPopupOnlyWithTheCursorOverItsControl)
{
    COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
    options->m_alwaysShowFullMenus = FALSE;
    options->m_hiddenCommands.SetAt(302, 1);
    for (bool over : {false, true})
    {
        SCOPED_TRACE(over);
        TrackingBar bar;
        COSMControlPopup* tools = MakeToolBar(bar, 2);
        ClickAt(ControlCentre(bar, 1));
        ASSERT_TRUE(tools->IsPopupOpen());
        ASSERT_TRUE(dropDown->IsCollapsed());
        if (!over)
            MoveMouseTo(ScreenPoint(frame, CPoint(400, 200)));
        PostTimer(bar, COSMCommandBar::kTimerExpand);
        EXPECT_EQ(over, dropDown->IsExpanded() == TRUE);
        EXPECT_EQ(!over, dropDown->IsCollapsed() == TRUE);
        bar.StopTracking();
        CreateMouseManager()->SetMenusExpanded(0);
    }
}

TEST_F(PopupControlInputTest, AnAccessKeyOpensThePopupFromTheKeyboard)
{
    TrackingBar bar;
    COSMControlPopup* tools = MakeToolBar(bar, 2);
    ASSERT_TRUE(bar.SetTrackingMode(1, TRUE, TRUE));
    SendKey('T');
    ASSERT_NE(nullptr, dropDown->GetSafeHwnd());
    EXPECT_TRUE(tools->IsPopupOpen());
    EXPECT_EQ(0, dropDown->GetSelectedIndex());
    EXPECT_TRUE(dropDown->IsSelectedByKeyboard());
    EXPECT_TRUE(Commands().empty());
    bar.StopTracking();
}

TEST_F(PopupControlInputTest, WithoutABarThePopupControlActsAsAButton)
{
    TrackingBar bar;
    MakeToolBar(bar, 2, FALSE);
    // A click runs the command on the release, as a held button.
    ClickAt(ControlCentre(bar, 1));
    EXPECT_EQ(std::vector<UINT>{90}, Commands());
    EXPECT_EQ(-1, bar.GetPopupedIndex());

    // The access key runs it.
    frame.ClearRecords();
    ASSERT_TRUE(bar.SetTrackingMode(1, TRUE, TRUE));
    SendKey('T');
    EXPECT_EQ(std::vector<UINT>{90}, Commands());
    bar.StopTracking();

    // In a popup bar the release runs it.
    RefPtr<COSMPopupBar> menu = MakePopup({101});
    COSMControlPopup* barless = COSMControlPopup::CreateControlPopup(2);
    menu->GetControls()->AddControl(barless, 96);
    barless->SetCaption("Barless");
    ASSERT_TRUE(menu->Popup(200, 150));
    PumpFor(50);
    frame.ClearRecords();
    ClickAt(ScreenPoint(*menu, barless->GetRect().CenterPoint()));
    EXPECT_EQ(std::vector<UINT>{96}, Commands());
    EXPECT_EQ(nullptr, menu->GetSafeHwnd());
}

TEST_F(PopupControlInputTest, ADoubleClickOpensRunsTheDefaultItemOrExpands)
{
    COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
    const struct
    {
        const char* name;
        bool openFirst;
        bool defaultItem;
        bool collapsed;
        bool openAfter;
        std::vector<UINT> commands;
    } cases[] = {
        // The first click closes the open popup, the double click opens it again.
        {"closed", true, false, false, true, {}},
        {"default item", false, true, false, false, {302}},
        {"collapsed", false, false, true, true, {}},
        // Nothing to run or expand: the second click closes the popup the first opened.
        {"plain", false, false, false, false, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        options->m_alwaysShowFullMenus = !c.collapsed;
        options->m_hiddenCommands.RemoveAll();
        if (c.collapsed)
            options->m_hiddenCommands.SetAt(302, 1);
        dropDown = MakePopup({301, 302});
        if (c.defaultItem)
            dropDown->GetControl(1)->SetDefaultItem(TRUE);
        TrackingBar bar;
        COSMControlPopup* tools = MakeToolBar(bar, 2);
        if (c.openFirst)
        {
            ASSERT_TRUE(bar.SetPopuped(1, FALSE));
        }
        frame.ClearRecords();
        DoubleClickAt(ControlCentre(bar, 1));
        EXPECT_EQ(c.openAfter, tools->IsPopupOpen() == TRUE);
        EXPECT_EQ(c.openAfter, dropDown->GetSafeHwnd() != nullptr);
        EXPECT_EQ(c.commands, Commands());
        if (c.collapsed)
        {
            EXPECT_FALSE(dropDown->IsCollapsed());
            EXPECT_TRUE(dropDown->IsExpanded());
            EXPECT_TRUE(dropDown->GetControl(1)->IsVisible(0));
        }
        bar.StopTracking();
        CreateMouseManager()->SetMenusExpanded(0);
    }
}

TEST_F(PopupControlInputTest, APopupThatDoesNotComeUpLeavesTheControlClosedAndRedrawn)
{
    const struct
    {
        const char* name;
        COSMPopupBar* (*make)();
    } cases[] = {
        {"closed by its first update", [] { return static_cast<COSMPopupBar*>(new PopupClosedByItsFirstUpdate); }},
        {"no window", [] { return static_cast<COSMPopupBar*>(new PopupWithoutWindow); }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        RefPtr<COSMPopupBar> failing = AdoptRef(c.make());
        failing->SetCommandBars(commandBars.Get());
        failing->GetControls()->Add(1, 301);
        RedrawRecordingBar bar;
        COSMControlPopup* tools = MakeToolBar(bar, 2, FALSE);
        tools->SetCommandBar(failing.Get());
        bar.redraws.clear();
        ClickAt(ControlCentre(bar, 1));
        EXPECT_FALSE(tools->IsPopupOpen());
        EXPECT_EQ(-1, bar.GetPopupedIndex());
        EXPECT_EQ(nullptr, failing->GetSafeHwnd());
        EXPECT_EQ(0, failing->GetTrackingMode());
        EXPECT_TRUE(Commands().empty());
        // The attempt drew the control pressed; the failure draws that away again.
        std::vector<bool> controlRedraws;
        for (const auto& redraw : bar.redraws)
            if (redraw.first == tools->GetRect())
                controlRedraws.push_back(redraw.second);
        EXPECT_NE(controlRedraws.end(), std::find(controlRedraws.begin(), controlRedraws.end(), true));
        ASSERT_FALSE(controlRedraws.empty());
        EXPECT_FALSE(controlRedraws.back());
        bar.StopTracking();
    }
}

TEST_F(PopupControlInputTest, ThePaintManagerAdjustsWhatTheDropDownLeavesUncovered)
{
    RefPtr<LowerExcludePaintManager> look = AdoptRef(new LowerExcludePaintManager);
    commandBars->SetPaintManager(look.Get());
    TrackingBar bar;
    COSMControlPopup* tools = MakeToolBar(bar, 2);
    ClickAt(ControlCentre(bar, 1));
    ASSERT_NE(nullptr, dropDown->GetSafeHwnd());
    CRect item = tools->GetRect();
    bar.ClientToScreen(&item);
    CRect window;
    dropDown->GetWindowRect(&window);
    EXPECT_EQ(item.left, window.left);
    EXPECT_EQ(item.bottom + 3, window.top);
    ASSERT_FALSE(look->adjusted.empty());
    EXPECT_EQ(tools, look->adjusted.front().first);
    EXPECT_FALSE(look->adjusted.front().second);
    bar.StopTracking();
}

class PopupControlDragTest : public CustomizeSiteTest
{
protected:
    void SetUp() override
    {
        CustomizeSiteTest::SetUp();
        MakeBarWindow(source, 1, 0, CRect(0, 0, 200, 30));
        source.AddButtons({1, 2});
        MakeBarWindow(target, 1, 0, CRect(0, 100, 200, 130));
        tools = COSMControlPopup::CreateControlPopup(2);
        target.GetControls()->AddControl(tools, 90);
        tools->SetCaption("Tools");
        target.LayOut();
        menu->GetControls()->Add(1, 301)->SetCaption("Item 301");
        tools->SetCommandBar(menu.Get());
    }

    // Drags the source's control at the index over Tools and then down into its popup, where it drops; notes
    // whether the popup was open while the cursor rested on Tools.
    bool DragOverTools(int index, bool* openOverTools)
    {
        const CPoint overTools = ControlCentre(target, 0);
        const auto intoPopup = [this, overTools] {
            CRect window;
            if (menu->GetSafeHwnd())
                menu->GetWindowRect(&window);
            return menu->GetSafeHwnd() ? CPoint(window.CenterPoint().x, window.bottom - 4) : overTools;
        };
        MoveMouseTo(ControlCentre(source, index));
        InputScript::Start(
            frame.GetSafeHwnd(),
            {MoveTo(ScreenPoint(frame, CPoint(300, 60))), MoveTo(overTools), MoveTo(overTools + CPoint(1, 0)),
             [this, openOverTools] { *openOverTools = menu->GetSafeHwnd() != nullptr; }, MoveTo(intoPopup),
             MoveTo([intoPopup] { return intoPopup() + CPoint(1, 0); }), Press(MOUSEEVENTF_LEFTUP)},
            70);
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        COSMCustomizeDropSource* dropSource = commandBars->GetDropSource();
        return PumpUntil([&] { return InputScript::Done() && !dropSource->GetDraggedControl(); }, 5000);
    }

    TrackingBar source;
    TrackingBar target;
    COSMControlPopup* tools = nullptr;
    RefPtr<COSMPopupBar> menu = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
};

TEST_F(PopupControlDragTest, ADraggedButtonOpensThePopupAndDropsIntoIt)
{
    bool openOverTools = false;
    ASSERT_TRUE(DragOverTools(1, &openOverTools));
    EXPECT_TRUE(openOverTools);
    EXPECT_EQ((std::vector<UINT>{301, 2}), ControlIds(*menu));
    commandBars->ClosePopups();
}

TEST_F(PopupControlDragTest, APopupSharingTheBarDoesNotOpenItOverItself)
{
    // A copy of Tools on the source bar opens the same menu: dragged over Tools, the menu stays closed.
    COSMControlPopup* twin = COSMControlPopup::CreateControlPopup(2);
    source.GetControls()->AddControl(twin, 91);
    twin->SetCaption("Twin");
    twin->SetCommandBar(menu.Get());
    source.LayOut();
    bool openOverTools = true;
    ASSERT_TRUE(DragOverTools(2, &openOverTools));
    EXPECT_FALSE(openOverTools);
    EXPECT_EQ(std::vector<UINT>{301}, ControlIds(*menu));
    commandBars->ClosePopups();
}

}  // namespace
