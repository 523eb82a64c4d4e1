// F10 and a lone Alt in a frame with a menu bar (WM_SYSCOMMAND SC_KEYMENU, lParam 0): the bar enters keyboard
// tracking, except with Shift held (synthesized input) or while the mouse manager is locked. A key typed with Alt
// held (SC_KEYMENU with its character) goes to the bars' access keys.
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

// A key typed with Alt held arrives as SC_KEYMENU with its character: an access key of the bars is theirs (F opens
// File), Alt+Space stays the frame's system menu, and a key nobody marks goes on to the frame.
TEST_F(MenuBarKeyMenuTest, AKeyTypedWithAltHeldIsTheBarsOnlyWhenItIsTheirAccessKey)
{
    const struct
    {
        char key;
        BOOL taken;
        int popuped;
    } cases[] = {{'f', TRUE, 0}, {'h', TRUE, 1}, {'q', FALSE, -1}, {' ', FALSE, -1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string("key '") + c.key + "'");
        EXPECT_EQ(c.taken, PostKeyMenu(c.key));
        // A popup open from the bar: tracking mode 2.
        EXPECT_EQ(c.taken ? 2 : 0, bar->GetTrackingMode());
        EXPECT_EQ(c.popuped, bar->GetPopupedIndex());
        commandBars->ClosePopups();
        if (bar->GetTrackingMode() != 0)
            bar->SetTrackingMode(0, FALSE, FALSE);
        PumpMessages();
    }
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
