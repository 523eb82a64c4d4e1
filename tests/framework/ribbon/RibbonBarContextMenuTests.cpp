// The ribbon's own context menus under real input: a right click on a group's caption strip, on free quick-access
// space, on a tab and on a control each open the menu of the control that stands for the place (the group's popup
// button, the tab strip, the control itself), a right click elsewhere opens none, and the keyboard's Shift+F10 while
// the ribbon tracks opens the selected control's menu at its top left corner.
#include "RibbonGroupTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/ribbon/RibbonContextMenu.h"

#include <optional>

using namespace ribbon_test;

namespace {

// The ribbon's menu entries.
enum RibbonEntry : UINT
{
    kEntryRemove = ID_OSM_RIBBON_QUICK_ACCESS_REMOVE,
    kEntryAdd = ID_OSM_RIBBON_QUICK_ACCESS_ADD,
    kEntryCustomize = ID_OSM_RIBBON_QUICK_ACCESS_CUSTOMIZE,
    kEntryBelow = ID_OSM_RIBBON_QUICK_ACCESS_BELOW,
    kEntryAbove = ID_OSM_RIBBON_QUICK_ACCESS_ABOVE,
    kEntryMinimize = ID_OSM_RIBBON_MINIMIZE,
};

// What one shown menu was: the control its entries act on, the ids of its visible ribbon entries in order, and where
// its window stood while it tracked.
struct ShownMenu
{
    COSMControl* target = nullptr;
    std::vector<UINT> entries;
    CRect window;
};

class RibbonBarContextMenuTest : public RibbonGroupTest
{
protected:
    void SetUp() override
    {
        RibbonGroupTest::SetUp();
        commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
        frame.OnMessage = [this](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == CCommandBarsTestFrame::kContextMenuBuilt)
                menu = reinterpret_cast<COSMPopupBar*>(lParam);
            return std::nullopt;
        };
    }
    void TearDown() override
    {
        InputScript::Stop(frame.GetSafeHwnd());
        frame.OnMessage = nullptr;
        commandBars->ClosePopups();
        PumpFor(60);
        if (ribbon->GetTrackingMode() != 0)
            ribbon->SetTrackingMode(0, FALSE, FALSE);
        RibbonGroupTest::TearDown();
    }

    // Notes the tracked menu; nothing when none tracks.
    void NoteMenu(std::optional<ShownMenu>& shown) const
    {
        if (!menu || !menu->GetSafeHwnd() || CreateMouseManager()->GetTrackedCount() == 0)
            return;
        ShownMenu note;
        for (int i = 0; i < menu->GetControlCount(); ++i)
        {
            const COSMControl* entry = menu->GetControl(i);
            const UINT id = entry->GetID();
            if (id == kEntryAdd)
                note.target = COSMRibbonContextMenuBar::GetTarget(entry);
            if (entry->IsVisible() && id >= kEntryRemove && id <= kEntryMinimize)
                note.entries.push_back(id);
        }
        menu->GetWindowRect(&note.window);
        shown = note;
    }
    // The screen centre of the tracked menu's visible entry of the id.
    std::optional<CPoint> EntryCentre(UINT id) const
    {
        for (int i = 0; menu && menu->GetSafeHwnd() && i < menu->GetControlCount(); ++i)
        {
            const COSMControl* entry = menu->GetControl(i);
            if (entry->GetID() == id && entry->IsVisible())
                return ScreenPoint(*menu, entry->GetRect().CenterPoint());
        }
        return std::nullopt;
    }

    // Right-clicks at the screen point; once a menu tracks, notes it and clicks its entry of the id (0: Escape
    // closes it). Nothing when no menu tracked.
    std::optional<ShownMenu> RightClickAt(CPoint screen, UINT choose = 0)
    {
        menu = nullptr;
        std::optional<ShownMenu> shown;
        InputScript::Start(frame.GetSafeHwnd(),
                           {[] {},
                            [this, &shown, choose] {
                                NoteMenu(shown);
                                std::optional<CPoint> entry = choose ? EntryCentre(choose) : std::nullopt;
                                if (entry)
                                    SendMouseMoveTo(*entry);
                                else if (shown)
                                    QueueKey(VK_ESCAPE);
                            },
                            [this, choose] {
                                if (choose && EntryCentre(choose))
                                    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
                            },
                            [this, choose] {
                                if (choose && EntryCentre(choose))
                                    SendMouseInput(MOUSEEVENTF_LEFTUP);
                            }},
                           100);
        MoveMouseTo(screen);
        SendMouseInput(MOUSEEVENTF_RIGHTDOWN);
        SendMouseInput(MOUSEEVENTF_RIGHTUP);
        PumpUntil([] { return InputScript::Done(); }, 3000);
        PumpFor(100);
        InputScript::Stop(frame.GetSafeHwnd());
        commandBars->ClosePopups();
        PumpMessages();
        menu = nullptr;
        return shown;
    }

    COSMControl* AddQuickAccess(UINT id, LPCSTR caption)
    {
        COSMControl* control = ribbon->GetQuickAccessControls()->Add(1, static_cast<int>(id));
        control->SetCaption(caption);
        Relayout();
        return control;
    }
    // A free control of the tab row, left of the strip.
    COSMControl* AddFree(UINT id, LPCSTR caption)
    {
        COSMControl* control = ribbon->GetControls()->Add(1, static_cast<int>(id));
        control->SetCaption(caption);
        Relayout();
        return control;
    }
    CPoint OnRibbon(CPoint client) const { return ScreenPoint(*ribbon, client); }

    COSMPopupBar* menu = nullptr;
};

TEST_F(RibbonBarContextMenuTest, EachPlaceOfTheRibbonShowsTheMenuOfTheControlThatStandsForIt)
{
    COSMRibbonGroup* group = AddGroup("Clipboard", "M");
    COSMControl* quick = AddQuickAccess(201, "Save");
    Relayout();
    COSMControl* member = group->GetAt(0);
    ASSERT_FALSE(group->GetOptionButton()->IsVisible()) << "nothing covers the caption strip";
    const CRect caption = group->GetCaptionRect();
    // Free space in the quick access: the gap between the last quick-access control and the customize button.
    const CRect quickAccess = ribbon->GetQuickAccessRect();
    const CPoint quickGap(quick->GetRect().right + 4, quick->GetRect().CenterPoint().y);
    ASSERT_TRUE(quickAccess.PtInRect(quickGap));
    ASSERT_EQ(nullptr, ribbon->GetControls()->HitTest(quickGap));
    // The group's body below its one control and above the caption strip: no control, no strip.
    const CPoint body(member->GetRect().left + 4, member->GetRect().bottom + 8);
    ASSERT_TRUE(group->GetRect().PtInRect(body));
    ASSERT_FALSE(caption.PtInRect(body));
    ASSERT_EQ(nullptr, ribbon->GetControls()->HitTest(body));

    COSMControl* strip = ribbon->GetControlTab();
    // The strip is the ribbon's own temporary control: it offers neither adding nor removing.
    const std::vector<UINT> ribbonEntries = {kEntryCustomize, kEntryBelow, kEntryMinimize};
    const struct
    {
        const char* name;
        CPoint point;
        COSMControl* target;
        std::vector<UINT> entries;
    } cases[] = {
        {"a group's caption strip",
         caption.CenterPoint(),
         group->GetPopupButton(),
         {kEntryAdd, kEntryCustomize, kEntryBelow, kEntryMinimize}},
        {"free quick-access space", quickGap, strip, ribbonEntries},
        {"a tab", ribbon->GetTab(1)->GetRect().CenterPoint(), strip, ribbonEntries},
        {"a group's control",
         member->GetRect().CenterPoint(),
         member,
         {kEntryAdd, kEntryCustomize, kEntryBelow, kEntryMinimize}},
        {"a quick-access control",
         quick->GetRect().CenterPoint(),
         quick,
         {kEntryRemove, kEntryCustomize, kEntryBelow, kEntryMinimize}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        frame.ClearRecords();
        const std::optional<ShownMenu> shown = RightClickAt(OnRibbon(c.point));
        ASSERT_TRUE(shown.has_value());
        EXPECT_EQ(c.target, shown->target);
        EXPECT_EQ(c.entries, shown->entries);
        EXPECT_EQ(1, frame.CountOf(CCommandBarsTestFrame::kContextMenuBuilt));
    }
    // A right click on a tab offers the strip to the site first, as for any control.
    frame.ClearRecords();
    frame.SetReply(CCommandBarsTestFrame::kControlRButtonUp, 1);
    EXPECT_FALSE(RightClickAt(TabCentre(ribbon->GetTab(1))).has_value());
    ASSERT_EQ(1, frame.CountOf(CCommandBarsTestFrame::kControlRButtonUp));
    EXPECT_EQ(reinterpret_cast<LPARAM>(strip), frame.RecordsOf(CCommandBarsTestFrame::kControlRButtonUp)[0].lParam);
    frame.SetReply(CCommandBarsTestFrame::kControlRButtonUp, 0);

    // The group's body is none of these places: no menu.
    frame.ClearRecords();
    EXPECT_FALSE(RightClickAt(OnRibbon(body)).has_value());
    EXPECT_EQ(0, frame.CountOf(CCommandBarsTestFrame::kContextMenuBuilt));

    // Below the groups the quick-access row is all free space right of its controls: the strip's menu again, which
    // now offers to put the row back above.
    ribbon->ShowQuickAccessBelow(TRUE);
    Relayout();
    const CRect row = ribbon->GetQuickAccessRect();
    const CPoint free(row.right - 10, row.CenterPoint().y);
    ASSERT_EQ(nullptr, ribbon->GetControls()->HitTest(free));
    const std::optional<ShownMenu> below = RightClickAt(OnRibbon(free));
    ASSERT_TRUE(below.has_value());
    EXPECT_EQ(strip, below->target);
    EXPECT_EQ((std::vector<UINT>{kEntryCustomize, kEntryAbove, kEntryMinimize}), below->entries);
}

TEST_F(RibbonBarContextMenuTest, AddingFromAGroupsCaptionStripPutsTheGroupsButtonInTheQuickAccess)
{
    COSMRibbonGroup* group = AddGroup("Clipboard", "MM");
    Relayout();
    COSMRibbonQuickAccessControls* quick = ribbon->GetQuickAccessControls();
    ASSERT_EQ(0, quick->GetCount());

    const std::optional<ShownMenu> shown = RightClickAt(OnRibbon(group->GetCaptionRect().CenterPoint()), kEntryAdd);
    ASSERT_TRUE(shown.has_value());
    ASSERT_EQ(1, quick->GetCount());
    auto* button = dynamic_cast<COSMRibbonGroupControlPopup*>(quick->GetAt(0));
    ASSERT_NE(nullptr, button);
    EXPECT_NE(group->GetPopupButton(), button) << "a clone";
    EXPECT_EQ(group, button->GetGroup());
    EXPECT_EQ(static_cast<UINT>(group->GetID()), button->GetID());
    EXPECT_TRUE(ribbon->IsQuickAccessControl(button));
    EXPECT_TRUE(button->IsVisible());
    EXPECT_EQ(2, button->GetStyleField()) << "a popup keeps its arrow";
    EXPECT_TRUE(ribbon->GetQuickAccessRect().PtInRect(button->GetRect().CenterPoint()));
}

TEST_F(RibbonBarContextMenuTest, ShiftF10OpensTheSelectedControlsMenuAtItsTopLeftAndReturnRunsItsFirstEntry)
{
    COSMRibbonGroup* group = AddGroup("Clipboard", "MM");
    Relayout();
    COSMControl* first = group->GetAt(0);

    // Alt enters the tab strip; Down goes to the first control of the groups.
    SendKey(VK_MENU);
    PumpFor(60);
    ASSERT_NE(0, ribbon->GetTrackingMode());
    ASSERT_EQ(ribbon->GetControlTab()->GetIndex(), ribbon->GetSelectedIndex());
    SendKey(VK_DOWN);
    ASSERT_EQ(first->GetIndex(), ribbon->GetSelectedIndex());

    menu = nullptr;
    std::optional<ShownMenu> shown;
    InputScript::Start(frame.GetSafeHwnd(),
                       {[] {}, [&] { NoteMenu(shown); }, [] { QueueKey(VK_DOWN); }, [] { QueueKey(VK_RETURN); }}, 100);
    QueueKeyEvent(VK_SHIFT, false);
    QueueKeyEvent(VK_F10, false);
    QueueKeyEvent(VK_F10, true);
    QueueKeyEvent(VK_SHIFT, true);
    PumpUntil([] { return InputScript::Done(); }, 3000);
    PumpFor(150);
    InputScript::Stop(frame.GetSafeHwnd());

    ASSERT_TRUE(shown.has_value()) << "no menu tracked";
    EXPECT_EQ(first, shown->target);
    EXPECT_EQ(OnRibbon(first->GetRect().TopLeft()), shown->window.TopLeft());
    ASSERT_FALSE(shown->entries.empty());
    EXPECT_EQ(kEntryAdd, shown->entries.front());
    // The first entry ran: the control's copy stands in the quick access, and the menu is gone.
    COSMRibbonQuickAccessControls* quick = ribbon->GetQuickAccessControls();
    ASSERT_EQ(1, quick->GetCount());
    EXPECT_EQ(first->GetID(), quick->GetAt(0)->GetID());
    EXPECT_NE(first, quick->GetAt(0));
    EXPECT_EQ(0, CreateMouseManager()->GetTrackedCount());
}

}  // namespace
