// Tearing a popup off into a floating toolbar by real drags from its gripper: the toolbar's caption, id, width and
// cloned items, the site's notice, going back within reach of the gripper, reusing the toolbar of that id, closing
// the popups on release, and a quit message that ends the drag.
#include "classlib/DC.h"
#include "InputTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PopupExpandButton.h"
#include "framework/commandbars/ToolBar.h"

#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

const int kGripperHeight = 8;
const UINT kTearOffId = 901;
const int kTearOffWidth = 150;

// Draws the tear-off gripper as a theme does: 8 pixels high, noting whether it was drawn hot.
class TearOffPaintManager : public COSMTestPaintManager
{
public:
    CSize DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw) override
    {
        COSMTestPaintManager::DrawTearOffGripper(dc, rect, selected, draw);
        if (draw)
            hotDrawings += selected ? 1 : 0;
        return CSize(0, kGripperHeight);
    }
    int hotDrawings = 0;
};

class PopupTearOffTest : public ActivePopupSiteTest
{
protected:
    void SetUp() override
    {
        ActivePopupSiteTest::SetUp();
        commandBars->SetPaintManager(paintManager.Get());
        ASSERT_TRUE(commandBars->CreateDockBars());
        // 102 is hidden as not yet used: the popup opens collapsed, with its expand button.
        commandBars->GetCommandBarsOptions()->m_alwaysShowFullMenus = FALSE;
        commandBars->GetCommandBarsOptions()->m_hiddenCommands.SetAt(102, 1);
    }
    void TearDown() override
    {
        commandBars->ClosePopups();
        ActivePopupSiteTest::TearDown();
    }

    // A popup that can be torn off, holding 101 to 103, shown at (150, 130) near the frame's top left so that the
    // drags stay over the frame.
    RefPtr<COSMPopupBar> OpenTearOffPopup()
    {
        RefPtr<COSMPopupBar> popup = MakePopup({101, 102, 103});
        popup->SetTearOffPopup(TRUE);
        popup->SetTearOffCaption("Torn Tools");
        popup->SetTearOffId(kTearOffId);
        popup->SetTearOffWidth(kTearOffWidth);
        EXPECT_TRUE(popup->Popup(150, 130));
        PumpFor(50);
        return popup;
    }

    CPoint GripperCentre(const COSMPopupBar& popup) const
    {
        return ScreenPoint(popup, popup.GetTearOffGripperRect().CenterPoint());
    }

    // Presses on the gripper and moves by the offset; the action runs inside the drag loop, which it must end
    // (releasing the button or pressing Escape).
    void DragFromGripper(const COSMPopupBar& popup, CPoint offset, std::function<void()> duringDrag)
    {
        const CPoint start = GripperCentre(popup);
        MoveMouseTo(start);
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        SendMouseMoveTo(start + offset);
        Scheduled::After(frame.GetSafeHwnd(), 150, std::move(duringDrag));
        PumpFor(400);
    }

    COSMToolBar* TornOffToolBar() const { return dynamic_cast<COSMToolBar*>(commandBars->FindCommandBar(kTearOffId)); }

    static CRect WindowRect(const CWnd& window)
    {
        CRect rect;
        window.GetWindowRect(&rect);
        return rect;
    }

    // The ids of the bar's controls other than its own caption buttons, in order.
    static std::vector<int> ItemIds(const COSMCommandBar& bar)
    {
        std::vector<int> ids;
        for (int i = 0; i < bar.GetControlCount(); ++i)
        {
            const int id = static_cast<int>(bar.GetControl(i)->GetID());
            if (id != static_cast<int>(COSMToolBar::kCloseButtonId) &&
                id != static_cast<int>(COSMToolBar::kExpandButtonId))
                ids.push_back(id);
        }
        return ids;
    }

    RefPtr<TearOffPaintManager> paintManager = AdoptRef(new TearOffPaintManager);
};

TEST_F(PopupTearOffTest, TheGripperTakesRoomAboveTheFirstItemAndTurnsHotUnderTheMouse)
{
    RefPtr<COSMPopupBar> plain = MakePopup({101, 102, 103});
    ASSERT_TRUE(plain->Popup(150, 130));
    PumpFor(50);
    EXPECT_TRUE(plain->GetTearOffGripperRect().IsRectEmpty());
    const int plainTop = plain->GetControl(0)->GetRect().top;
    const int plainHeight = WindowRect(*plain).Height();
    plain->SetTrackingMode(0, TRUE, FALSE);

    RefPtr<COSMPopupBar> popup = OpenTearOffPopup();
    const CRect gripper = popup->GetTearOffGripperRect();
    EXPECT_EQ(kGripperHeight, gripper.Height());
    EXPECT_EQ(plainTop + kGripperHeight, popup->GetControl(0)->GetRect().top);
    EXPECT_EQ(gripper.bottom, popup->GetControl(0)->GetRect().top);
    EXPECT_EQ(plainHeight + kGripperHeight, WindowRect(*popup).Height());

    popup->SetSelected(0, COSMCommandBar::kSelectMouse);
    MoveMouseTo(GripperCentre(*popup));
    EXPECT_TRUE(PumpUntil([&] { return popup->IsTearOffGripperHot() != FALSE; }));
    EXPECT_EQ(-1, popup->GetSelectedIndex());
    EXPECT_TRUE(PumpUntil([&] { return paintManager->hotDrawings > 0; }));

    MoveMouseTo(ScreenPoint(*popup, popup->GetControl(0)->GetRect().CenterPoint()));
    EXPECT_TRUE(PumpUntil([&] { return popup->IsTearOffGripperHot() == FALSE; }));
}

TEST_F(PopupTearOffTest, ADragTearsOffAFloatingToolBarThatStaysWhenTheDragEnds)
{
    // The drag ends by the button's release or by Escape: either way the toolbar stays and the popups close.
    for (const bool byEscape : {false, true})
    {
        SCOPED_TRACE(byEscape);
        RefPtr<COSMPopupBar> popup = OpenTearOffPopup();
        ASSERT_TRUE(popup->IsCollapsed());
        ASSERT_NE(nullptr, popup->GetExpandButton());
        const int barCount = commandBars->GetCount();
        frame.ClearRecords();
        bool popupShownDuringDrag = true;
        bool trackingDuringDrag = false;
        CPoint dropPoint;
        DragFromGripper(*popup, CPoint(200, 180), [&] {
            trackingDuringDrag = popup->IsTearOffTracking() != FALSE;
            popupShownDuringDrag = popup->IsWindowVisible() != FALSE;
            ::GetCursorPos(&dropPoint);
            if (byEscape)
                QueueKey(VK_ESCAPE);
            else
                SendMouseInput(MOUSEEVENTF_LEFTUP);
        });
        if (byEscape)
            SendMouseInput(MOUSEEVENTF_LEFTUP);
        PumpFor(50);
        EXPECT_TRUE(trackingDuringDrag);
        EXPECT_FALSE(popupShownDuringDrag);
        EXPECT_FALSE(popup->IsTearOffTracking());

        COSMToolBar* toolBar = TornOffToolBar();
        ASSERT_NE(nullptr, toolBar);
        EXPECT_EQ(barCount + 1, commandBars->GetCount());
        EXPECT_EQ("Torn Tools", std::string(toolBar->GetTitle()));
        EXPECT_TRUE(toolBar->IsFloating());
        EXPECT_TRUE(toolBar->IsTearOff());
        EXPECT_TRUE(toolBar->IsVisible());
        EXPECT_EQ(kTearOffWidth, toolBar->GetMRUWidth());
        // Clones of every item but the expand button; what the popup hid as not used shows.
        EXPECT_EQ((std::vector<int>{101, 102, 103}), ItemIds(*toolBar));
        for (int i = 0; i < toolBar->GetControlCount(); ++i)
        {
            const COSMControl* control = toolBar->GetControl(i);
            EXPECT_FALSE(control->IsKindOf(RUNTIME_CLASS(COSMPopupExpandButton)));
            EXPECT_EQ(0u, control->GetHideFlags() & (COSMControl::kHideUsage | COSMControl::kHideScroll));
        }
        EXPECT_EQ(popup->GetControl(1), popup->GetControls()->FindControlById(102));
        EXPECT_NE(popup->GetControl(1), toolBar->GetControls()->FindControlById(102));

        const auto tornOff = frame.RecordsOf(CCommandBarsTestFrame::kTornOff);
        ASSERT_EQ(1u, tornOff.size());
        EXPECT_EQ(reinterpret_cast<WPARAM>(toolBar), tornOff[0].wParam);
        EXPECT_EQ(reinterpret_cast<LPARAM>(popup.Get()), tornOff[0].lParam);

        // It hangs from the cursor by its top centre, 10 pixels down, and stays where it was dropped.
        const CRect rect = WindowRect(*toolBar);
        EXPECT_EQ(dropPoint.x - rect.Width() / 2, rect.left);
        EXPECT_EQ(dropPoint.y - 10, rect.top);
        const CSize size = toolBar->CalcDynamicLayout(-1, LM_MRUWIDTH | LM_HORZ | LM_COMMIT);
        EXPECT_EQ(size, rect.Size());

        // Every popup closed.
        EXPECT_EQ(nullptr, popup->GetSafeHwnd());
        EXPECT_EQ(0, popup->GetTrackingMode());
        EXPECT_EQ(0, CreateMouseManager()->GetTrackedCount());
        commandBars->Remove(toolBar);
    }
}

TEST_F(PopupTearOffTest, ComingBackWithinTenPixelsHidesTheToolBarAndShowsThePopup)
{
    RefPtr<COSMPopupBar> popup = OpenTearOffPopup();
    const CRect gripper = [&] {
        CRect rect = popup->GetTearOffGripperRect();
        popup->ClientToScreen(&rect);
        return rect;
    }();
    COSMToolBar* tornOff = nullptr;
    bool toolBarShown = false;
    bool popupShown = false;
    // Out beyond reach, then back to 8 pixels below the gripper, then let go there.
    DragFromGripper(*popup, CPoint(150, 150), [&] {
        tornOff = popup->GetTornOffToolBar();
        toolBarShown = tornOff && tornOff->IsWindowVisible();
        SendMouseMoveTo(CPoint(gripper.CenterPoint().x, gripper.bottom + 8));
        Scheduled::After(frame.GetSafeHwnd(), 150, [&] {
            popupShown = popup->IsWindowVisible() != FALSE;
            toolBarShown = popup->GetTornOffToolBar() != nullptr || (tornOff && tornOff->IsWindowVisible());
            SendMouseInput(MOUSEEVENTF_LEFTUP);
        });
    });
    ASSERT_NE(nullptr, tornOff);
    EXPECT_TRUE(popupShown);
    EXPECT_FALSE(toolBarShown);
    // The drag ended attached: the popup still tracks, and the bar it made leaves the manager once hidden.
    EXPECT_NE(nullptr, popup->GetSafeHwnd());
    EXPECT_NE(0, popup->GetTrackingMode());
    EXPECT_TRUE(popup->IsWindowVisible());
    EXPECT_TRUE(PumpUntil([&] { return TornOffToolBar() == nullptr; }));
}

TEST_F(PopupTearOffTest, TearingOffAgainWithThatIdReusesTheToolBar)
{
    RefPtr<COSMPopupBar> first = OpenTearOffPopup();
    DragFromGripper(*first, CPoint(200, 180), [] { SendMouseInput(MOUSEEVENTF_LEFTUP); });
    COSMToolBar* toolBar = TornOffToolBar();
    ASSERT_NE(nullptr, toolBar);
    // Docked meanwhile: tearing off floats it again.
    ASSERT_TRUE(toolBar->SetPosition(0));
    ASSERT_FALSE(toolBar->IsFloating());
    const int barCount = commandBars->GetCount();
    const int controlCount = toolBar->GetControlCount();
    frame.ClearRecords();

    RefPtr<COSMPopupBar> second = OpenTearOffPopup();
    CPoint dropPoint;
    DragFromGripper(*second, CPoint(120, 200), [&] {
        ::GetCursorPos(&dropPoint);
        SendMouseInput(MOUSEEVENTF_LEFTUP);
    });
    EXPECT_EQ(toolBar, TornOffToolBar());
    EXPECT_EQ(barCount, commandBars->GetCount());
    EXPECT_EQ(controlCount, toolBar->GetControlCount());
    EXPECT_TRUE(toolBar->IsFloating());
    EXPECT_TRUE(toolBar->IsVisible());
    EXPECT_EQ(dropPoint.y - 10, WindowRect(*toolBar).top);
    ASSERT_EQ(1, frame.CountOf(CCommandBarsTestFrame::kTornOff));
    EXPECT_EQ(reinterpret_cast<WPARAM>(toolBar), frame.RecordsOf(CCommandBarsTestFrame::kTornOff)[0].wParam);
    EXPECT_EQ(nullptr, second->GetSafeHwnd());
    commandBars->Remove(toolBar);
}

TEST_F(PopupTearOffTest, AQuitMessageEndsTheDragAndStaysForTheApplicationsLoop)
{
    RefPtr<COSMPopupBar> popup = OpenTearOffPopup();
    bool tracking = false;
    MSG msg{};
    // The drag loop sees the quit first; the test's pump must not take it.
    ASSERT_TRUE(DragUntilQuit(
        frame.GetSafeHwnd(), GripperCentre(*popup), CPoint(200, 180), 150, 41,
        [&] { return popup->IsTearOffTracking() != FALSE; }, &tracking, &msg));
    EXPECT_TRUE(tracking);
    EXPECT_EQ(41u, msg.wParam);
    EXPECT_FALSE(popup->IsTearOffTracking());
    EXPECT_EQ(nullptr, ::GetCapture());
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(50);
    if (COSMToolBar* toolBar = TornOffToolBar())
        commandBars->Remove(toolBar);
}

}  // namespace
