// Menus becoming controls: popups made by Type with and without a menu resource, and menu items converted one by
// one, with the site's say through messages 10334, 10335 and 10337. A plain site window on the display.
#include "CommandBarsTestSupport.h"
#include "resources/CommandBarsTestIds.h"

#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlGallery.h"
#include "framework/commandbars/ControlPopup.h"

using namespace commandbars_test;

namespace {

class SiteControl : public COSMControlButton
{
    DECLARE_DYNCREATE(SiteControl)
};
IMPLEMENT_DYNCREATE(SiteControl, COSMControlButton)

class MenuListControl : public COSMControlButton
{
    DECLARE_DYNCREATE(MenuListControl)
};
IMPLEMENT_DYNCREATE(MenuListControl, COSMControlButton)

COSMControl* CreateMenuList()
{
    return new MenuListControl;
}

// A bar that counts its destruction, to see that the collection gives back a bar it does not use.
class CountedBar : public COSMCommandBar
{
public:
    explicit CountedBar(int& destroyed) : m_destroyed(destroyed) {}
    ~CountedBar() override { ++m_destroyed; }

private:
    int& m_destroyed;
};

class MenuConversionTest : public SiteTest
{
protected:
    void SetUp() override
    {
        SiteTest::SetUp();
        bar.SetCommandBars(commandBars.Get());
    }

    COSMCommandBar bar;
    COSMControls* controls = bar.GetControls();
};

TEST_F(MenuConversionTest, PopupTypesGetABarFilledFromTheMenuResource)
{
    const struct
    {
        int type;
        int id;
        BOOL resource;
    } cases[] = {{2, IDR_TEST_EDIT_MENU, TRUE}, {3, IDR_TEST_EDIT_MENU, TRUE},
                 {4, IDR_TEST_EDIT_MENU, TRUE}, {2, 0, FALSE},
                 {3, ID_TEST_PLAIN, FALSE},     {4, -1, FALSE}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.type * 100000 + c.id);
        site.messages.clear();
        COSMCommandBarRequestBlock asked;
        site.onRequestBar = [&asked](COSMCommandBarRequestBlock& request) {
            asked = request;
            return 0;
        };
        auto* popup = static_cast<COSMControlPopup*>(controls->Add(c.type, c.id));
        ASSERT_NE(nullptr, popup);
        EXPECT_EQ(RUNTIME_CLASS(COSMControlPopup), popup->GetRuntimeClass());
        EXPECT_EQ(c.type, popup->GetType());
        COSMCommandBar* popupBar = popup->GetCommandBar();
        ASSERT_NE(nullptr, popupBar);
        EXPECT_EQ(RUNTIME_CLASS(COSMPopupBar), popupBar->GetRuntimeClass());
        EXPECT_EQ(commandBars.Get(), popupBar->GetCommandBarsField());
        EXPECT_EQ(1, RefCount(popupBar));  // the control holds the only reference
        EXPECT_TRUE(asked.popup);
        EXPECT_FALSE(asked.expand);
        EXPECT_EQ(static_cast<UINT>(c.id), asked.id);
        ASSERT_GE(site.Count(COSMControls::kMessageCreateCommandBar), 1);
        EXPECT_EQ(COSMControls::kMessageCreateCommandBar, site.messages.front());
        if (c.resource)
        {
            EXPECT_STREQ("&Edit", asked.title);
            EXPECT_STREQ("&Edit", popup->GetCaptionText());
            ASSERT_EQ(3, popupBar->GetControlCount());
            EXPECT_EQ(static_cast<UINT>(ID_TEST_UNDO), popupBar->GetControl(0)->GetID());
            EXPECT_STREQ("&Undo", popupBar->GetControl(0)->GetCaptionText());
            EXPECT_STREQ("Ctrl+Z", popupBar->GetControl(0)->GetShortcutTextAuto());
            EXPECT_FALSE(popupBar->GetControl(0)->GetBeginGroup());
            EXPECT_EQ(static_cast<UINT>(ID_TEST_PASTE), popupBar->GetControl(1)->GetID());
            EXPECT_TRUE(popupBar->GetControl(1)->GetBeginGroup());
            EXPECT_EQ(static_cast<UINT>(ID_TEST_FIND), popupBar->GetControl(2)->GetID());
            // Every item went through the site.
            EXPECT_EQ(3, site.Count(COSMControls::kMessageBeforeCreateControl));
            EXPECT_EQ(3, site.Count(COSMControls::kMessageAfterCreateControl));
        }
        else
        {
            EXPECT_TRUE(asked.title.IsEmpty());
            EXPECT_TRUE(popup->GetCaptionText().IsEmpty());
            EXPECT_EQ(0, popupBar->GetControlCount());
        }
    }
}

TEST_F(MenuConversionTest, TheSiteMayHandOverThePopupBarAndItsTitle)
{
    site.onRequestBar = [this](COSMCommandBarRequestBlock& request) {
        request.commandBar = COSMPopupBar::CreatePopupBar(commandBars.Get());
        request.commandBar->SetBarID(4242);
        request.title = "Site's";
        return 1;
    };
    COSMControl* popup = controls->Add(2, IDR_TEST_EDIT_MENU);
    ASSERT_NE(nullptr, popup->GetCommandBar());
    EXPECT_EQ(4242u, popup->GetCommandBar()->GetBarID());
    EXPECT_EQ(1, RefCount(popup->GetCommandBar()));
    EXPECT_STREQ("Site's", popup->GetCaptionText());
    EXPECT_EQ(3, popup->GetCommandBar()->GetControlCount());

    // A bar that is not a popup bar is given back and a popup bar made instead.
    int destroyed = 0;
    site.onRequestBar = [&destroyed](COSMCommandBarRequestBlock& request) {
        request.commandBar = new CountedBar(destroyed);
        request.title = "Ignored";
        return 1;
    };
    COSMControl* second = controls->Add(2, IDR_TEST_EDIT_MENU);
    EXPECT_EQ(1, destroyed);
    ASSERT_NE(nullptr, second->GetCommandBar());
    EXPECT_EQ(RUNTIME_CLASS(COSMPopupBar), second->GetCommandBar()->GetRuntimeClass());
    EXPECT_STREQ("&Edit", second->GetCaptionText());
}

TEST_F(MenuConversionTest, CommandItemsBecomeButtons)
{
    TestMenu menu;
    menu.AddItem(ID_TEST_PLAIN, "&Open\tCtrl+O", MFT_STRING, 0, 0x5A5A);
    menu.AddItem(0xFF00, "Marker");
    menu.AddItem(ID_TEST_PLAIN + 1, "&Default", MFT_STRING, MFS_DISABLED);
    ::SetMenuDefaultItem(menu.Get()->GetSafeHmenu(), 2, TRUE);

    COSMControl* open = controls->AddMenuItem(menu.Get(), 0);
    ASSERT_NE(nullptr, open);
    EXPECT_EQ(RUNTIME_CLASS(COSMControlButton), open->GetRuntimeClass());
    EXPECT_EQ(1, open->GetType());
    EXPECT_EQ(static_cast<UINT>(ID_TEST_PLAIN), open->GetID());
    EXPECT_STREQ("&Open", open->GetCaptionText());
    EXPECT_STREQ("Ctrl+O", open->GetShortcutTextAuto());
    EXPECT_EQ(static_cast<DWORD_PTR>(0x5A5A), open->GetTag());
    EXPECT_FALSE(open->IsDefaultItem());
    EXPECT_EQ(open, controls->GetAt(0));

    site.messages.clear();
    EXPECT_EQ(nullptr, controls->AddMenuItem(menu.Get(), 1));
    EXPECT_TRUE(site.messages.empty());
    EXPECT_EQ(1, controls->GetCount());

    // The default item counts though it is disabled.
    COSMControl* defaultItem = controls->AddMenuItem(menu.Get(), 2);
    ASSERT_NE(nullptr, defaultItem);
    EXPECT_TRUE(defaultItem->IsDefaultItem());
    EXPECT_EQ(1, defaultItem->GetIndex());

    ASSERT_EQ(2u, site.created.size());
    const COSMControlCreateBlock& block = site.created.back();
    EXPECT_EQ(defaultItem, block.control);
    EXPECT_EQ(static_cast<UINT>(ID_TEST_PLAIN + 1), block.id);
    EXPECT_EQ(2, block.position);
    EXPECT_EQ(menu.Get(), block.menu);
    EXPECT_EQ(&bar, block.commandBar);
    EXPECT_STREQ("&Default", block.caption);
    EXPECT_EQ(1, block.type);
    EXPECT_FALSE(block.toolBar);
}

TEST_F(MenuConversionTest, SubMenuItemsBecomePopupsWithTheirNumberAsId)
{
    const struct
    {
        const char* text;
        UINT id;
        const char* caption;
        const char* shortcut;
        const char* title;
    } cases[] = {
        {"&Tools\t57", 57, "&Tools", "", "Tools"},
        {"&Tools\t0", 0xFFFFFFFF, "&Tools", "0", "Tools\t0"},
        {"&Tools\tname", 0xFFFFFFFF, "&Tools", "name", "Tools\tname"},
        {"\t57", 0xFFFFFFFF, "", "57", "\t57"},  // a tab at the start is no number
        {"&&Save && go", 0xFFFFFFFF, "&&Save && go", "", "&Save & go"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        TestMenu menu;
        HMENU sub = ::CreatePopupMenu();
        ::AppendMenuA(sub, MF_STRING, ID_TEST_FIND, "&Find");
        ::AppendMenuA(sub, MF_STRING, ID_TEST_PASTE, "&Paste");
        menu.AddSubMenu(c.text, sub);
        COSMCommandBarRequestBlock asked;
        site.onRequestBar = [&asked](COSMCommandBarRequestBlock& request) {
            asked = request;
            return 0;
        };
        controls->RemoveAll();
        auto* popup = static_cast<COSMControlPopup*>(controls->AddMenuItem(menu.Get(), 0));
        ASSERT_NE(nullptr, popup);
        EXPECT_EQ(2, popup->GetType());
        EXPECT_EQ(c.id, popup->GetID());
        EXPECT_STREQ(c.caption, popup->GetCaptionText());
        EXPECT_STREQ(c.shortcut, popup->GetShortcutTextAuto());
        EXPECT_STREQ(c.title, asked.title);
        EXPECT_EQ(c.id, asked.id);
        ASSERT_NE(nullptr, popup->GetCommandBar());
        EXPECT_STREQ(c.title, popup->GetCommandBar()->GetTitle());
        ASSERT_EQ(2, popup->GetCommandBar()->GetControlCount());
        EXPECT_EQ(static_cast<UINT>(ID_TEST_FIND), popup->GetCommandBar()->GetControl(0)->GetID());
    }
}

TEST_F(MenuConversionTest, TheSiteMayChangeTheControlBeforeItIsMade)
{
    COSMControlFactory::RegisterType(8, []() -> COSMControl* { return new SiteControl; });
    const struct
    {
        LRESULT reply;
        int type;
        UINT id;
        const char* caption;
        int style;
        BOOL supplyControl;
        BOOL made;
        CRuntimeClass* madeClass;
        int storedType;
        UINT storedId;
        const char* storedCaption;
        int storedStyle;
    } cases[] = {
        {0, 8, 77, "Changed", 2, FALSE, TRUE, RUNTIME_CLASS(COSMControlButton), 1, ID_TEST_PLAIN, "Item", 0},
        {1, 8, 77, "Changed", 2, FALSE, TRUE, RUNTIME_CLASS(SiteControl), 8, 77, "Changed", 2},
        {1, 1, 78, "Other", 0, TRUE, TRUE, RUNTIME_CLASS(SiteControl), 1, 78, "Other", 0},
        {1, 9, 78, "Other", 3, TRUE, TRUE, RUNTIME_CLASS(SiteControl), 9, 78, "Other", 3},
        {1, 7, 79, "Custom", 0, FALSE, FALSE, nullptr, 0, 0, "", 0},
        {1, 12, 79, "Unknown", 0, FALSE, FALSE, nullptr, 0, 0, "", 0},
        {1, 10, 79, "Gallery", 0, FALSE, TRUE, RUNTIME_CLASS(COSMControlGallery), 10, 79, "Gallery", 0},
        {1, 5, 79, "Combo", 0, FALSE, TRUE, RUNTIME_CLASS(COSMControlComboBox), 5, 79, "Combo", 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.caption);
        controls->RemoveAll();
        site.created.clear();
        TestMenu menu;
        menu.AddItem(ID_TEST_PLAIN, "Item");
        site.onBeforeCreate = [&c](COSMControlCreateBlock& block) {
            EXPECT_EQ(1, block.type);
            EXPECT_STREQ("Item", block.caption);
            block.type = c.type;
            block.id = c.id;
            block.caption = c.caption;
            block.buttonStyle = c.style;
            if (c.supplyControl)
                block.control = new SiteControl;
            return c.reply;
        };
        COSMControl* control = controls->AddMenuItem(menu.Get(), 0);
        if (!c.made)
        {
            EXPECT_EQ(nullptr, control);
            EXPECT_EQ(0, controls->GetCount());
            EXPECT_TRUE(site.created.empty());
            continue;
        }
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.madeClass, control->GetRuntimeClass());
        EXPECT_EQ(c.storedType, control->GetType());
        EXPECT_EQ(c.storedId, control->GetID());
        EXPECT_STREQ(c.storedCaption, control->GetCaptionText());
        EXPECT_EQ(c.storedStyle, control->GetStyleField());
        ASSERT_EQ(1u, site.created.size());
        EXPECT_EQ(control, site.created[0].control);
    }
}

TEST_F(MenuConversionTest, ACommandItemTurnedIntoAPopupLoadsTheMenuOfItsId)
{
    TestMenu menu;
    menu.AddItem(IDR_TEST_VIEW_MENU, "&View");
    site.onBeforeCreate = [](COSMControlCreateBlock& block) {
        block.type = 3;
        return 1;
    };
    auto* popup = static_cast<COSMControlPopup*>(controls->AddMenuItem(menu.Get(), 0));
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(3, popup->GetType());
    ASSERT_NE(nullptr, popup->GetCommandBar());
    ASSERT_EQ(1, popup->GetCommandBar()->GetControlCount());
    EXPECT_EQ(static_cast<UINT>(ID_TEST_STATUS), popup->GetCommandBar()->GetControl(0)->GetID());
    EXPECT_STREQ("View", popup->GetCommandBar()->GetTitle());
}

TEST_F(MenuConversionTest, ListCommandsInMenus)
{
    const struct
    {
        UINT id;
        const char* text;
        COSMControlFactory::ListControl kind;  // kListControlCount: a plain button
    } cases[] = {
        {35000, "Windows", COSMControlFactory::kWindowList},
        {35002, "Workspace", COSMControlFactory::kWorkspaceActions},
        {59392, "Toolbars", COSMControlFactory::kToolbars},
        {57616, "Recent", COSMControlFactory::kRecentFileList},
        {57872, "<<OLE VERBS GO HERE>>", COSMControlFactory::kOleItems},
        {57872, "Object", COSMControlFactory::kListControlCount},
        {35003, "Recent", COSMControlFactory::kListControlCount},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        COSMControlFactory::ResetRegistrations();
        TestMenu menu;
        menu.AddItem(c.id, c.text);
        if (c.kind != COSMControlFactory::kListControlCount)
        {
            // An empty slot makes nothing.
            COSMControlFactory::RegisterListControl(c.kind, nullptr);
            EXPECT_EQ(nullptr, controls->AddMenuItem(menu.Get(), 0));
            COSMControlFactory::RegisterListControl(c.kind, &CreateMenuList);
        }
        else
        {
            for (int kind = 0; kind < COSMControlFactory::kListControlCount; ++kind)
                COSMControlFactory::RegisterListControl(static_cast<COSMControlFactory::ListControl>(kind),
                                                        &CreateMenuList);
        }
        COSMControl* control = controls->AddMenuItem(menu.Get(), 0);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.kind != COSMControlFactory::kListControlCount ? RUNTIME_CLASS(MenuListControl)
                                                                  : RUNTIME_CLASS(COSMControlButton),
                  control->GetRuntimeClass());
    }
}

TEST_F(MenuConversionTest, MenuItemsBindActionsWithoutReservedIds)
{
    commandBars->EnableActions(TRUE);
    TestMenu menu;
    menu.AddItem(ID_TEST_PLAIN, "&Plain\tF2");
    menu.AddItem(9150, "Reserved for Add only");
    menu.AddItem(ID_TEST_PASTE, "&Paste from menu");
    for (int position = 0; position < 3; ++position)
        ASSERT_NE(nullptr, controls->AddMenuItem(menu.Get(), position));

    COSMControl* plain = controls->GetAt(0);
    ASSERT_NE(nullptr, plain->GetAction());
    EXPECT_EQ(commandBars->GetAction(ID_TEST_PLAIN), plain->GetAction());
    EXPECT_STREQ("&Plain", plain->GetAction()->GetCaptionText());  // an empty action caption takes the item's
    EXPECT_TRUE(plain->GetCaptionText().IsEmpty());
    EXPECT_STREQ("&Plain", plain->GetCaption());
    EXPECT_NE(nullptr, controls->GetAt(1)->GetAction());
    // The action read its own caption from the string resources: the item's does not replace it.
    EXPECT_STREQ("&Paste it", controls->GetAt(2)->GetCaption());

    // Sub-menus without a number have no action.
    TestMenu withSub;
    withSub.AddSubMenu("&More", ::CreatePopupMenu());
    COSMControl* popup = controls->AddMenuItem(withSub.Get(), 0);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(nullptr, popup->GetAction());
    EXPECT_STREQ("&More", popup->GetCaptionText());
}

}  // namespace
