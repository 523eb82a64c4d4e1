// F10 and a lone Alt in a frame with a menu bar (WM_SYSCOMMAND SC_KEYMENU, lParam 0): the bar enters keyboard
// tracking, except with Shift held (synthesized input) or while the mouse manager is locked.
#include "InputTestSupport.h"
#include "MenuBarTestSupport.h"

#include "framework/commandbars/MouseManager.h"

namespace commandbars_test {
namespace {

class MenuBarKeyMenuTest : public MenuBarMdiTest
{
protected:
    void SetUp() override
    {
        MenuBarMdiTest::SetUp();
        ASSERT_TRUE(ActivateTestWindow(frame.GetSafeHwnd()));
        bar = AddMenuBar();
        ASSERT_NE(nullptr, bar);
        ASSERT_TRUE(bar->IsWindowVisible());
    }
    void TearDown() override
    {
        if (bar && bar->GetTrackingMode() != 0)
            bar->SetTrackingMode(0, FALSE, FALSE);
        MenuBarMdiTest::TearDown();
    }

    // Posts F10's system command to the frame and lets it arrive; TRUE when the bar took it from the frame.
    BOOL PostKeyMenu(LPARAM lParam = 0)
    {
        const int before = frame.keyMenus;
        ::PostMessageA(frame.GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, lParam);
        PumpMessages();
        return frame.keyMenus == before;
    }

    COSMMenuBar* bar = nullptr;
};

TEST_F(MenuBarKeyMenuTest, KeyMenuStartsKeyboardTrackingOfTheMenuBar)
{
    EXPECT_TRUE(PostKeyMenu());
    EXPECT_EQ(1, bar->GetTrackingMode());
    EXPECT_EQ(0, bar->GetSelectedIndex());
    EXPECT_TRUE(bar->IsSelectedByKeyboard());
}

TEST_F(MenuBarKeyMenuTest, AMnemonicKeyMenuIsNotTheBars)
{
    EXPECT_FALSE(PostKeyMenu('f'));
    EXPECT_EQ(0, bar->GetTrackingMode());
}

TEST_F(MenuBarKeyMenuTest, ShiftHeldKeepsTheBarOut)
{
    SendKey(VK_SHIFT, true, false);
    ASSERT_TRUE(::GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(PostKeyMenu());
    SendKey(VK_SHIFT, false, true);
    EXPECT_EQ(0, bar->GetTrackingMode());
    PostKeyMenu();
    EXPECT_EQ(1, bar->GetTrackingMode());
}

TEST_F(MenuBarKeyMenuTest, ALockedMouseManagerKeepsTheBarOut)
{
    COSMMouseManager* mouseManager = bar->GetMouseManager();
    ASSERT_NE(nullptr, mouseManager);
    mouseManager->Lock();
    EXPECT_FALSE(PostKeyMenu());
    mouseManager->Unlock();
    EXPECT_EQ(0, bar->GetTrackingMode());
}

TEST_F(MenuBarKeyMenuTest, AHiddenBarIsNotEntered)
{
    bar->ShowWindow(SW_HIDE);
    EXPECT_FALSE(PostKeyMenu());
    EXPECT_EQ(0, bar->GetTrackingMode());
}

}  // namespace
}  // namespace commandbars_test
