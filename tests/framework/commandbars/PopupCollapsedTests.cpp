// Collapsed menus on the display: the expand button shows every item when clicked, after its hover delay or from
// the keyboard, and the menu's next popup opens expanded.
#include "InputTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/ControlPopup.h"

using namespace commandbars_test;

namespace {

class PopupCollapsedTest : public ActivePopupSiteTest
{
protected:
    void SetUp() override
    {
        ActivePopupSiteTest::SetUp();
        options()->m_alwaysShowFullMenus = FALSE;
        for (UINT id : {102u, 103u, 202u})
            options()->m_hiddenCommands.SetAt(id, 1);
    }

    COSMCommandBarsOptions* options() { return commandBars->GetCommandBarsOptions(); }

    static CPoint ControlCentre(COSMPopupBar& popup, const COSMControl* control)
    {
        CRect rect = control->GetRect();
        popup.ClientToScreen(&rect);
        return rect.CenterPoint();
    }

    static int WindowHeight(const CWnd& window)
    {
        CRect rect;
        window.GetWindowRect(&rect);
        return rect.Height();
    }

    static bool Shows(const COSMPopupBar& popup, UINT id)
    {
        const COSMControl* control = popup.GetControls()->FindControlById(static_cast<int>(id));
        return control && control->IsVisible(0);
    }

    // A collapsed popup showing only 101 and the sub-menu "More" (201, hidden 202) above its expand button.
    void OpenCollapsedMenu()
    {
        opener = COSMControlPopup::CreateControlPopup(2);
        popup->GetControls()->AddControl(opener, 0);
        opener->SetCaption("More");
        opener->SetCommandBar(subMenu.Get());
        ASSERT_TRUE(popup->Popup(200, 150));
        PumpFor(50);
        ASSERT_TRUE(popup->IsCollapsed());
        ASSERT_NE(nullptr, popup->GetExpandButton());
        ASSERT_TRUE(popup->GetExpandButton()->IsVisible(0));
        EXPECT_TRUE(Shows(*popup, 101));
        EXPECT_FALSE(Shows(*popup, 102));
        EXPECT_FALSE(Shows(*popup, 103));
    }

    // Every item shows, the button is gone and the menu's later popups open expanded.
    void ExpectExpanded(int collapsedHeight)
    {
        EXPECT_TRUE(popup->IsExpanded());
        EXPECT_FALSE(popup->IsCollapsed());
        EXPECT_TRUE(Shows(*popup, 102));
        EXPECT_TRUE(Shows(*popup, 103));
        EXPECT_FALSE(popup->GetExpandButton()->IsVisible(0));
        EXPECT_GT(WindowHeight(*popup), collapsedHeight);
        EXPECT_EQ(1, CreateMouseManager()->GetMenusExpanded());
    }

    RefPtr<COSMPopupBar> popup = MakePopup({101, 102, 103});
    RefPtr<COSMPopupBar> subMenu = MakePopup({201, 202});
    COSMControlPopup* opener = nullptr;
};

TEST_F(PopupCollapsedTest, AClickOnTheExpandButtonShowsEveryItemAndTheNextPopupOpensExpanded)
{
    OpenCollapsedMenu();
    const int collapsedHeight = WindowHeight(*popup);
    ClickAt(ControlCentre(*popup, popup->GetExpandButton()));
    ExpectExpanded(collapsedHeight);
    EXPECT_NE(nullptr, popup->GetSafeHwnd());

    popup->SetSelected(opener->GetIndex(), COSMCommandBar::kSelectKeyboard);
    popup->OnHookKeyDown(VK_RIGHT, 0);
    ASSERT_NE(nullptr, subMenu->GetSafeHwnd());
    EXPECT_TRUE(subMenu->IsExpanded());
    EXPECT_FALSE(subMenu->IsCollapsed());
    EXPECT_TRUE(Shows(*subMenu, 202));

    // Once nothing tracks, the next menu opens collapsed again.
    popup->SetTrackingMode(0, TRUE, FALSE);
    EXPECT_EQ(0, CreateMouseManager()->GetMenusExpanded());
}

TEST_F(PopupCollapsedTest, CtrlDownExpands)
{
    OpenCollapsedMenu();
    const int collapsedHeight = WindowHeight(*popup);
    SendKey(VK_CONTROL, true, false);
    SendKey(VK_DOWN);
    SendKey(VK_CONTROL, false, true);
    ExpectExpanded(collapsedHeight);
}

TEST_F(PopupCollapsedTest, DownExpandsOnlyFromTheLastShownItem)
{
    OpenCollapsedMenu();
    const int collapsedHeight = WindowHeight(*popup);
    // 101 is followed by "More": Down only moves on.
    popup->SetSelected(0, COSMCommandBar::kSelectKeyboard);
    SendKey(VK_DOWN);
    EXPECT_TRUE(popup->IsCollapsed());
    EXPECT_NE(0, popup->GetSelectedIndex());
    // Nothing shown follows "More".
    popup->SetSelected(opener->GetIndex(), COSMCommandBar::kSelectKeyboard);
    SendKey(VK_DOWN);
    ExpectExpanded(collapsedHeight);
}

TEST_F(PopupCollapsedTest, TheHoverTimerExpandsOnlyWhileTheExpandButtonIsSelected)
{
    OpenCollapsedMenu();
    const int collapsedHeight = WindowHeight(*popup);
    popup->SetSelected(0, COSMCommandBar::kSelectMouse);
    popup->PostMessage(WM_TIMER, COSMPopupBar::kTimerExpandButton);
    PumpFor(50);
    EXPECT_TRUE(popup->IsCollapsed());

    popup->SetSelected(popup->GetExpandButton()->GetIndex(), COSMCommandBar::kSelectMouse);
    popup->PostMessage(WM_TIMER, COSMPopupBar::kTimerExpandButton);
    PumpFor(50);
    ExpectExpanded(collapsedHeight);
}

TEST_F(PopupCollapsedTest, RestingOnTheExpandButtonExpandsAfterTheDelay)
{
    OpenCollapsedMenu();
    const int collapsedHeight = WindowHeight(*popup);
    MoveMouseTo(ControlCentre(*popup, popup->GetExpandButton()));
    EXPECT_EQ(popup->GetExpandButton()->GetIndex(), popup->GetSelectedIndex());
    PumpFor(COSMPopupBar::kExpandButtonDelay / 2);
    EXPECT_TRUE(popup->IsCollapsed());
    EXPECT_TRUE(PumpUntil([&] { return popup->IsExpanded() != FALSE; }, 2000));
    ExpectExpanded(collapsedHeight);
}

TEST_F(PopupCollapsedTest, AMenuExpandedEarlierOpensItsPopupsExpanded)
{
    CreateMouseManager()->SetMenusExpanded(1);
    ASSERT_TRUE(popup->Popup(200, 150));
    EXPECT_FALSE(popup->IsCollapsed());
    EXPECT_TRUE(Shows(*popup, 102));
    const COSMControl* button = popup->GetExpandButton();
    EXPECT_TRUE(button == nullptr || !button->IsVisible(0));
}

}  // namespace
