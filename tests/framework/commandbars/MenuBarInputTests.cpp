// F10 and a lone Alt in a frame with a menu bar (WM_SYSCOMMAND SC_KEYMENU, lParam 0): the bar enters keyboard
// tracking, except with Shift held (synthesized input) or while the mouse manager is locked. A key typed with Alt
// held (SC_KEYMENU with its character) goes to the bars' access keys. A click on another document window moves the
// bar's hook there, unless a document object runs in place in the frame.
#include "InputTestSupport.h"
#include "MenuBarTestSupport.h"

#include "classlib/OleDocObjectItem.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/PopupBar.h"

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

// The menu of a title has the keyboard before the menu bar, which gets what the menu leaves: arrows move in the
// menu, Left and Right past it move along the menu bar, Escape closes only the menu, Return runs the item.
TEST_F(MenuBarKeyMenuTest, AnOpenMenuHasTheKeyboardBeforeTheMenuBar)
{
    frame.handledCommands = {ID_TEST_FILE_NEW, ID_TEST_HELP_ABOUT};
    auto menuOf = [&](int index) {
        auto* title = dynamic_cast<COSMControlPopup*>(bar->GetControl(index));
        return title ? dynamic_cast<COSMPopupBar*>(title->GetCommandBar()) : nullptr;
    };
    COSMPopupBar* file = menuOf(0);
    COSMPopupBar* help = menuOf(1);
    ASSERT_TRUE(file && help);
    auto shows = [](COSMPopupBar* menu) { return menu->GetSafeHwnd() && menu->IsWindowVisible(); };

    // Alt+F opens File from the keyboard, its first item selected.
    SendKey(VK_MENU, true, false);
    SendKey('F');
    SendKey(VK_MENU, false, true);
    ASSERT_TRUE(PumpUntil([&] { return shows(file); }));
    EXPECT_EQ(0, file->GetSelectedIndex());

    const struct
    {
        WORD key;
        int popuped;   // the menu bar's open title
        int selected;  // the menu bar's selected title
    } steps[] = {
        {VK_RIGHT, 1, 1},    // File has no sub-menu: on to Help
        {VK_LEFT, 0, 0},     // and back
        {VK_ESCAPE, -1, 0},  // File closes, the menu bar keeps the keyboard
        {VK_DOWN, 0, 0},     // the menu bar opens File again
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.key);
        SendKey(step.key);
        PumpFor(30);
        EXPECT_EQ(step.popuped, bar->GetPopupedIndex());
        EXPECT_EQ(step.selected, bar->GetSelectedIndex());
        EXPECT_NE(0, bar->GetTrackingMode());
        EXPECT_EQ(step.popuped == 0, shows(file));
        EXPECT_EQ(step.popuped == 1, shows(help));
    }
    ASSERT_TRUE(shows(file));
    EXPECT_EQ(0, file->GetSelectedIndex());

    // Return runs File's item, once, and every menu closes.
    SendKey(VK_RETURN);
    PumpFor(50);
    EXPECT_EQ(std::vector<UINT>{ID_TEST_FILE_NEW}, frame.commands);
    EXPECT_FALSE(shows(file));
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

class MenuBarInPlaceTest : public MenuBarMdiTest
{
protected:
    void SetUp() override
    {
        MenuBarMdiTest::SetUp();
        ASSERT_TRUE(ActivateTestWindow(frame.GetSafeHwnd()));
        bar = AddMenuBar();
        ASSERT_NE(nullptr, bar);
    }
    void TearDown() override
    {
        MoveMouseTo(CPoint(1200, 1000));
        MenuBarMdiTest::TearDown();
    }

    COSMMenuBar* bar = nullptr;
};

// Two document windows side by side show one container document; the right one is active and hooked. The user
// clicks into the left one: it becomes the active child, and the bar's hook follows it unless the document has a
// document object in place.
TEST_F(MenuBarInPlaceTest, ADocumentObjectInPlaceKeepsTheHookedChild)
{
    const struct
    {
        const char* name;
        bool docObject;  // the item is a document object's, else a plain client item
        COleClientItem::ItemState state;
        bool keepsOldChild;
    } cases[] = {
        {"document object, in place with its menus", true, COleClientItem::activeUIState, true},
        {"document object, in place without its menus", true, COleClientItem::activeState, true},
        {"document object, only loaded", true, COleClientItem::loadedState, false},
        {"document object, open in its own window", true, COleClientItem::openState, false},
        {"plain item, in place with its menus", false, COleClientItem::activeUIState, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        COleDocument container;
        COleClientItem* item = c.docObject ? new COleDocObjectItem(&container) : new COleClientItem(&container);
        item->SetItemState(c.state);

        DocChild* left = OpenChild(textTemplate);
        ASSERT_NE(nullptr, left);
        DocChild* right = OpenChild(imageTemplate);
        ASSERT_NE(nullptr, right);
        left->SetActiveDocument(&container);
        right->SetActiveDocument(&container);
        right->MoveWindow(260, 0, 240, 160);
        PumpMessages();
        ASSERT_EQ(right->GetSafeHwnd(), bar->GetActiveMdiChild(nullptr));
        ASSERT_EQ(right->GetSafeHwnd(), bar->GetHookedChild());

        CRect client;
        left->GetClientRect(&client);
        ClickAt(ScreenPoint(*left, client.CenterPoint()));
        ASSERT_TRUE(PumpUntil([&] { return bar->GetActiveMdiChild(nullptr) == left->GetSafeHwnd(); }));
        PumpFor(60);
        EXPECT_EQ(c.keepsOldChild ? right->GetSafeHwnd() : left->GetSafeHwnd(), bar->GetHookedChild());

        for (auto& child : children)
            child->DestroyWindow();
        children.clear();
        PumpMessages();
    }
}

}  // namespace
}  // namespace commandbars_test
