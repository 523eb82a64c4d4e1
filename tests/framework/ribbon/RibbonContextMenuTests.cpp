// The ribbon's context menus and quick-access customization: which entries a control's menu offers, the customize
// button's list of original commands, the site's say over the menu, and what the entries do when a user clicks
// them in the tracked menu (right clicks and clicks through SendInput; each menu is driven from a timer while its
// loop runs).
#include "RibbonTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/ControlToolbars.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/ribbon/RibbonContextMenu.h"
#include "framework/ribbon/RibbonGroup.h"

#include <optional>

using namespace ribbon_test;

namespace {

constexpr UINT kRemove = ID_OSM_RIBBON_QUICK_ACCESS_REMOVE;
constexpr UINT kAdd = ID_OSM_RIBBON_QUICK_ACCESS_ADD;
constexpr UINT kCustomize = ID_OSM_RIBBON_QUICK_ACCESS_CUSTOMIZE;
constexpr UINT kBelow = ID_OSM_RIBBON_QUICK_ACCESS_BELOW;
constexpr UINT kAbove = ID_OSM_RIBBON_QUICK_ACCESS_ABOVE;
constexpr UINT kMinimize = ID_OSM_RIBBON_MINIMIZE;
constexpr UINT kCommands = ID_OSM_RIBBON_QUICK_ACCESS_COMMANDS;
constexpr UINT kMore = ID_OSM_RIBBON_QUICK_ACCESS_MORE;

COSMControl* Entry(const COSMCommandBar* menu, UINT id)
{
    for (int i = 0; menu && i < menu->GetControlCount(); ++i)
        if (menu->GetControl(i)->GetID() == id)
            return menu->GetControl(i);
    return nullptr;
}

BOOL Shown(const COSMCommandBar* menu, UINT id)
{
    const COSMControl* entry = Entry(menu, id);
    return entry && entry->IsVisible();
}

class RibbonContextMenuTest : public RibbonTest
{
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
        frame.OnMessage = [this](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == CCommandBarsTestFrame::kContextMenuBuilt)
            {
                menu = reinterpret_cast<COSMPopupBar*>(lParam);
                if (onMenu)
                    onMenu(menu);
            }
            return std::nullopt;
        };
        tabs = AddTabs({"&Home", "&Insert"});
    }
    void TearDown() override
    {
        InputScript::Stop(frame.GetSafeHwnd());
        frame.OnMessage = nullptr;
        RibbonTest::TearDown();
    }

    COSMControl* AddQuickAccess(UINT id, LPCSTR caption)
    {
        COSMControl* control = ribbon->GetQuickAccessControls()->Add(1, static_cast<int>(id));
        control->SetCaption(caption);
        Relayout();
        return control;
    }
    // A free control of the tab row.
    COSMControl* AddFree(int type, UINT id, LPCSTR caption)
    {
        COSMControl* control = ribbon->GetControls()->Add(type, static_cast<int>(id));
        control->SetCaption(caption);
        Relayout();
        return control;
    }
    RefPtr<COSMPopupBar> MenuOf(COSMControl* control) { return AdoptRef(ribbon->CreateContextMenu(control)); }

    CPoint Centre(const COSMControl* control) const
    {
        return ScreenPoint(*control->GetParent(), control->GetRect().CenterPoint());
    }

    // Right-clicks at the screen point; once the menu tracks, clicks its entry of the id (0, or an entry that is not
    // there: Escape closes the menu). FALSE when no menu was tracked.
    BOOL RightClickAndChoose(CPoint screen, UINT id)
    {
        menu = nullptr;
        BOOL tracked = FALSE;
        auto entryCentre = [this, id]() -> std::optional<CPoint> {
            COSMControl* entry = id ? Entry(menu, id) : nullptr;
            if (!entry || !menu->GetSafeHwnd() || !entry->IsVisible())
                return std::nullopt;
            return ScreenPoint(*menu, entry->GetRect().CenterPoint());
        };
        InputScript::Start(frame.GetSafeHwnd(),
                           {[] {},
                            [&, entryCentre] {
                                tracked = CreateMouseManager()->GetTrackedCount() > 0;
                                if (std::optional<CPoint> where = entryCentre())
                                    SendMouseMoveTo(*where);
                                else
                                    QueueKey(VK_ESCAPE);
                            },
                            [entryCentre] {
                                if (entryCentre())
                                    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
                            },
                            [entryCentre] {
                                if (entryCentre())
                                    SendMouseInput(MOUSEEVENTF_LEFTUP);
                            }},
                           100);
        MoveMouseTo(screen);
        SendMouseInput(MOUSEEVENTF_RIGHTDOWN);
        SendMouseInput(MOUSEEVENTF_RIGHTUP);
        PumpFor(700);
        InputScript::Stop(frame.GetSafeHwnd());
        commandBars->ClosePopups();
        PumpMessages();
        menu = nullptr;
        return tracked;
    }
    int Commands(UINT id) const { return CountFor(WM_COMMAND, id); }
    // The site's control notifications about the id.
    int Notifications(UINT id) const { return CountFor(CCommandBarsTestFrame::kControlNotify, id); }
    int CountFor(UINT message, UINT id) const
    {
        int count = 0;
        for (const auto& record : frame.RecordsOf(message))
            count += LOWORD(record.wParam) == id;
        return count;
    }

    std::vector<COSMRibbonTab*> tabs;
    COSMPopupBar* menu = nullptr;
    std::function<void(COSMPopupBar*)> onMenu;
};

TEST_F(RibbonContextMenuTest, AControlsMenuOffersAddingOrRemovingAsItsPlaceAndFlagsAllow)
{
    COSMControl* quick = AddQuickAccess(201, "Save");
    COSMControl* free = AddFree(1, 301, "Bold");
    COSMControl* fixed = AddFree(1, 302, "Fixed");
    fixed->SetFlags(fixed->GetFlags() | COSMControl::kFlagNoMovable);
    COSMControl* temporary = ribbon->GetControls()->Add(1, 303, nullptr, -1, TRUE);
    auto* groupPopup = new COSMRibbonGroupControlPopup;
    ribbon->GetControls()->AddControl(groupPopup, 304);
    groupPopup->SetFlags(groupPopup->GetFlags() | COSMControl::kFlagNoMovable);
    auto* groupPopupWithoutId = new COSMRibbonGroupControlPopup;
    ribbon->GetControls()->AddControl(groupPopupWithoutId, 0);
    groupPopupWithoutId->SetFlags(groupPopupWithoutId->GetFlags() | COSMControl::kFlagNoMovable);
    Relayout();

    const struct
    {
        const char* name;
        COSMControl* control;
        BOOL remove;
        BOOL add;
    } cases[] = {
        {"a quick-access control", quick, TRUE, FALSE},
        {"a free control", free, FALSE, TRUE},
        {"a control that may not move", fixed, FALSE, FALSE},
        {"a temporary control", temporary, FALSE, FALSE},
        {"a group's popup button", groupPopup, FALSE, TRUE},
        {"a group's popup button without id", groupPopupWithoutId, FALSE, FALSE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        RefPtr<COSMPopupBar> built = MenuOf(c.control);
        ASSERT_TRUE(built);
        EXPECT_EQ(c.remove, Shown(built.Get(), kRemove));
        EXPECT_EQ(c.add, Shown(built.Get(), kAdd));
        // Both entries know the control they act on, and hold it while the menu lives.
        EXPECT_EQ(c.control, COSMRibbonContextMenuBar::GetTarget(Entry(built.Get(), kAdd)));
        EXPECT_EQ(c.control, COSMRibbonContextMenuBar::GetTarget(Entry(built.Get(), kRemove)));
        // The toolbars list begins a group after the two.
        ASSERT_NE(nullptr, built->GetControl(2));
        EXPECT_TRUE(built->GetControl(2)->IsKindOf(RUNTIME_CLASS(COSMControlToolbars)));
        EXPECT_TRUE(built->GetControl(2)->GetBeginGroup());
    }
}

TEST_F(RibbonContextMenuTest, WithoutDuplicatesAControlAlreadyInTheQuickAccessIsOfferedDisabled)
{
    COSMControl* free = AddFree(1, 301, "Bold");
    ASSERT_NE(nullptr, ribbon->AddToQuickAccess(free));
    RefPtr<COSMPopupBar> built = MenuOf(free);
    EXPECT_TRUE(Shown(built.Get(), kAdd));
    EXPECT_FALSE(Entry(built.Get(), kAdd)->GetEnabled());
    ribbon->SetAllowQuickAccessDuplicates(TRUE);
    built = MenuOf(free);
    EXPECT_TRUE(Entry(built.Get(), kAdd)->GetEnabled());
}

TEST_F(RibbonContextMenuTest, TheEntriesFollowTheRibbonsState)
{
    COSMControl* free = AddFree(1, 301, "Bold");
    RefPtr<COSMPopupBar> built = MenuOf(free);
    EXPECT_TRUE(Shown(built.Get(), kBelow));
    EXPECT_FALSE(Shown(built.Get(), kAbove));
    EXPECT_TRUE(Shown(built.Get(), kMinimize));
    EXPECT_FALSE(Entry(built.Get(), kMinimize)->GetChecked());
    EXPECT_TRUE(Entry(built.Get(), kMinimize)->GetEnabled());
    EXPECT_TRUE(Shown(built.Get(), kCustomize));
    // Every entry the ribbon sets keeps its state through command-UI updates.
    for (UINT id : {kRemove, kAdd, kCustomize, kBelow, kAbove, kMinimize})
        EXPECT_TRUE(Entry(built.Get(), id)->GetFlags() & COSMControl::kFlagManualUpdate) << id;

    ribbon->ShowQuickAccessBelow(TRUE);
    ribbon->SetRibbonMinimized(TRUE);
    built = MenuOf(free);
    EXPECT_FALSE(Shown(built.Get(), kBelow));
    EXPECT_TRUE(Shown(built.Get(), kAbove));
    EXPECT_TRUE(Entry(built.Get(), kMinimize)->GetChecked());

    ribbon->SetAllowMinimize(FALSE);
    built = MenuOf(free);
    EXPECT_FALSE(Shown(built.Get(), kMinimize));

    // Customization off: the customize entry only stays (as the manager's own customize) with a customize dialog.
    ribbon->SetAllowQuickAccessCustomization(FALSE);
    built = MenuOf(free);
    EXPECT_FALSE(Shown(built.Get(), kCustomize));
    EXPECT_FALSE(Shown(built.Get(), kAdd));
    CWnd dialog;
    commandBars->SetCustomizeDialog(&dialog);
    built = MenuOf(free);
    EXPECT_TRUE(Shown(built.Get(), kCustomize));
    EXPECT_STREQ("&Customize...", Entry(built.Get(), kCustomize)->GetCaption());
    commandBars->SetCustomizeDialog(nullptr);
}

TEST_F(RibbonContextMenuTest, MinimizeIsDisabledWithoutTabs)
{
    COSMControl* free = AddFree(1, 301, "Bold");
    ribbon->GetControlTab()->DeleteAllItems();
    RefPtr<COSMPopupBar> built = MenuOf(free);
    EXPECT_FALSE(Entry(built.Get(), kMinimize)->GetEnabled());
}

TEST_F(RibbonContextMenuTest, TheCustomizeButtonsMenuTicksTheOriginalQuickAccessCommands)
{
    COSMControl* save = AddQuickAccess(201, "Save");
    AddQuickAccess(202, "Undo");
    AddQuickAccess(203, "Redo");
    ribbon->GetQuickAccessControls()->CreateOriginalControls();
    ribbon->GetQuickAccessControls()->Remove(save);
    Relayout();

    RefPtr<COSMPopupBar> built = MenuOf(ribbon->GetQuickAccessPopup());
    ASSERT_TRUE(built);
    EXPECT_TRUE(built->GetControl(0)->IsKindOf(RUNTIME_CLASS(COSMControlToolbars)));
    COSMControl* commands = Entry(built.Get(), kCommands);
    ASSERT_NE(nullptr, commands);
    EXPECT_FALSE(commands->IsVisible());
    std::vector<std::string> captions;
    std::vector<int> checked;
    for (int i = commands->GetIndex() + 1; i < built->GetControlCount(); ++i)
    {
        auto* command = dynamic_cast<COSMRibbonControlQuickAccessCommand*>(built->GetControl(i));
        if (!command)
            break;
        captions.emplace_back(static_cast<LPCSTR>(command->GetCaption()));
        checked.push_back(command->GetChecked());
    }
    EXPECT_EQ((std::vector<std::string>{"Save", "Undo", "Redo"}), captions);
    EXPECT_EQ((std::vector<int>{0, 1, 1}), checked);
    COSMControl* more = Entry(built.Get(), kMore);
    ASSERT_NE(nullptr, more);
    EXPECT_EQ(8, more->GetType());
    EXPECT_TRUE(more->IsDefaultItem());
    EXPECT_TRUE(more->IsVisible());
    EXPECT_TRUE(more->GetFlags() & COSMControl::kFlagSkipFocus);

    // No originals kept: no list and no heading.
    ribbon->GetQuickAccessControls()->ClearOriginalControls();
    built = MenuOf(ribbon->GetQuickAccessPopup());
    EXPECT_FALSE(Shown(built.Get(), kMore));
    EXPECT_EQ(nullptr, dynamic_cast<COSMRibbonControlQuickAccessCommand*>(
                           built->GetControl(Entry(built.Get(), kCommands)->GetIndex() + 1)));
}

TEST_F(RibbonContextMenuTest, ClickingAnOriginalCommandTogglesItsControl)
{
    COSMControl* save = AddQuickAccess(201, "Save");
    AddQuickAccess(202, "Undo");
    ribbon->GetQuickAccessControls()->CreateOriginalControls();
    ribbon->GetQuickAccessControls()->Remove(save);
    Relayout();
    ASSERT_EQ((std::vector<UINT>{202}), Ids(ribbon->GetQuickAccessControls()));

    // The customize button opens its menu with a left click; its "Save" entry adds Save back, at the end.
    auto chooseInCustomizeMenu = [&](LPCSTR caption) {
        InputScript::Start(frame.GetSafeHwnd(),
                           {[] {},
                            [&, caption] {
                                COSMCommandBar* bar = ribbon->GetQuickAccessPopup()->GetCommandBar();
                                for (int i = 0; bar && bar->GetSafeHwnd() && i < bar->GetControlCount(); ++i)
                                    if (bar->GetControl(i)->GetCaption() == caption)
                                        SendMouseMoveTo(ScreenPoint(*bar, bar->GetControl(i)->GetRect().CenterPoint()));
                            },
                            Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP)},
                           100);
        ClickAt(Centre(ribbon->GetQuickAccessPopup()));
        PumpFor(600);
        InputScript::Stop(frame.GetSafeHwnd());
        commandBars->ClosePopups();
        PumpMessages();
    };
    chooseInCustomizeMenu("Save");
    EXPECT_EQ((std::vector<UINT>{202, 201}), Ids(ribbon->GetQuickAccessControls()));
    chooseInCustomizeMenu("Undo");
    EXPECT_EQ((std::vector<UINT>{201}), Ids(ribbon->GetQuickAccessControls()));
}

TEST_F(RibbonContextMenuTest, TheSiteMayRefuseOrChangeTheMenu)
{
    COSMControl* quick = AddQuickAccess(201, "Save");
    frame.SetReply(CCommandBarsTestFrame::kControlRButtonUp, 1);
    EXPECT_FALSE(RightClickAndChoose(Centre(quick), 0));
    EXPECT_EQ(0, frame.CountOf(CCommandBarsTestFrame::kContextMenuBuilt));

    frame.SetReply(CCommandBarsTestFrame::kControlRButtonUp, 0);
    EXPECT_TRUE(RightClickAndChoose(Centre(quick), 0));
    ASSERT_EQ(1, frame.CountOf(CCommandBarsTestFrame::kContextMenuBuilt));
    EXPECT_EQ(reinterpret_cast<WPARAM>(ribbon), frame.RecordsOf(CCommandBarsTestFrame::kContextMenuBuilt)[0].wParam);

    // A site that hides every entry leaves nothing to show.
    onMenu = [](COSMPopupBar* built) {
        for (int i = 0; i < built->GetControlCount(); ++i)
            built->GetControl(i)->SetVisible(FALSE);
    };
    EXPECT_FALSE(RightClickAndChoose(Centre(quick), 0));
}

TEST_F(RibbonContextMenuTest, WithoutTheMenuResourcesARightClickShowsNothing)
{
    COSMControl* quick = AddQuickAccess(201, "Save");
    const HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(::GetModuleHandleA("kernel32.dll"));
    const COSMPopupBar* built = ribbon->CreateContextMenu(quick);
    const BOOL tracked = RightClickAndChoose(Centre(quick), 0);
    AfxSetResourceHandle(saved);
    EXPECT_EQ(nullptr, built);
    EXPECT_FALSE(tracked);
    EXPECT_EQ(0, frame.CountOf(CCommandBarsTestFrame::kContextMenuBuilt));
}

TEST_F(RibbonContextMenuTest, AddingMakesAnIconCloneAndAMenuKeepsItsArrow)
{
    const struct
    {
        int type;
        int style;
        int expectedStyle;
    } cases[] = {{1, 1, 0}, {1, 3, 0}, {2, 0, 2}, {2, 1, 2}};
    UINT id = 301;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " style " << c.style);
        COSMControl* free = AddFree(c.type, id, "Control");
        free->SetStyle(c.style);
        free->SetBeginGroup(TRUE);
        frame.ClearRecords();
        RightClickAndChoose(Centre(free), kAdd);
        COSMRibbonQuickAccessControls* quick = ribbon->GetQuickAccessControls();
        ASSERT_EQ(id, static_cast<UINT>(quick->GetAt(quick->GetCount() - 1)->GetID()));
        COSMControl* clone = quick->GetAt(quick->GetCount() - 1);
        EXPECT_NE(free, clone);
        EXPECT_EQ(c.expectedStyle, clone->GetStyleField());
        EXPECT_FALSE(clone->GetBeginGroup());
        EXPECT_FALSE(clone->IsTemporary());
        EXPECT_TRUE(ribbon->IsQuickAccessControl(clone));
        // The ribbon's own command reaches no one else.
        EXPECT_EQ(0, Notifications(kAdd));
        EXPECT_EQ(0, Commands(kAdd));
        ++id;
    }

    // Removing through the clone's own menu.
    COSMRibbonQuickAccessControls* quick = ribbon->GetQuickAccessControls();
    const int before = quick->GetCount();
    Relayout();
    RightClickAndChoose(Centre(quick->GetAt(0)), kRemove);
    EXPECT_EQ(before - 1, quick->GetCount());
}

TEST_F(RibbonContextMenuTest, PlacementAndMinimizeEntriesActOnTheRibbon)
{
    COSMControl* free = AddFree(1, 301, "Bold");
    RightClickAndChoose(Centre(free), kBelow);
    EXPECT_TRUE(ribbon->IsQuickAccessBelow());
    Relayout();
    RightClickAndChoose(Centre(free), kAbove);
    EXPECT_FALSE(ribbon->IsQuickAccessBelow());
    Relayout();
    RightClickAndChoose(Centre(free), kMinimize);
    EXPECT_TRUE(ribbon->IsRibbonMinimized());
    EXPECT_EQ(0, Commands(kBelow) + Commands(kAbove) + Commands(kMinimize));
}

TEST_F(RibbonContextMenuTest, CustomizeAndForeignCommandsGoToTheSite)
{
    COSMControl* free = AddFree(1, 301, "Bold");
    RightClickAndChoose(Centre(free), kCustomize);
    EXPECT_EQ(1, Notifications(kCustomize));
    EXPECT_EQ(1, Commands(kCustomize));

    // A site that answers the ribbon's message takes the command itself.
    frame.ClearRecords();
    frame.SetReply(CCommandBarsTestFrame::kControlNotify, 1);
    RightClickAndChoose(Centre(free), kCustomize);
    EXPECT_EQ(1, Notifications(kCustomize));
    EXPECT_EQ(0, Commands(kCustomize));
    frame.SetReply(CCommandBarsTestFrame::kControlNotify, 0);

    // Entries the site adds: its own ids reach it; another id of the ribbon's range reaches no one.
    onMenu = [](COSMPopupBar* built) {
        built->GetControls()->Add(1, 5000)->SetCaption("Site's own");
        built->GetControls()->Add(1, 9700)->SetCaption("Ribbon range");
    };
    for (const auto& c : {std::make_pair(5000u, 1), std::make_pair(9700u, 0)})
    {
        SCOPED_TRACE(c.first);
        frame.ClearRecords();
        RightClickAndChoose(Centre(free), c.first);
        EXPECT_EQ(c.second, Notifications(c.first));
        EXPECT_EQ(c.second, Commands(c.first));
    }
}

}  // namespace
