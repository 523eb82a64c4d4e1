// The context menu of a group's caption strip inside the ribbon's popups, under real input: a right click on the
// caption of a group popup's copy, or of a group in the minimized ribbon's tab popup, offers the group's popup
// button to the quick access; the button added there stands for the ribbon's own group, and keeps working once the
// popup and its copy of the group are gone.
#include "RibbonGroupTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/ribbon/RibbonContextMenu.h"

#include <optional>

// The test controls of the group tests; this program's one definition.
IMPLEMENT_SERIAL(CTestGroupControl, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)

using namespace ribbon_test;

namespace {

class RibbonPopupContextMenuTest : public RibbonGroupTest
{
protected:
    void SetUp() override
    {
        RibbonGroupTest::SetUp();
        commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
        frame.OnMessage = [this](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == CCommandBarsTestFrame::kContextMenuBuilt)
            {
                menu = reinterpret_cast<COSMPopupBar*>(lParam);
                for (int i = 0; i < menu->GetControlCount(); ++i)
                    if (menu->GetControl(i)->GetID() == ID_OSM_RIBBON_QUICK_ACCESS_ADD)
                        addTarget = COSMRibbonContextMenuBar::GetTarget(menu->GetControl(i));
            }
            return std::nullopt;
        };
    }
    void TearDown() override
    {
        InputScript::Stop(frame.GetSafeHwnd());
        frame.OnMessage = nullptr;
        commandBars->ClosePopups();
        PumpFor(60);
        RibbonGroupTest::TearDown();
    }

    // Right-clicks at the screen point and, once the menu tracks, clicks its "add to the quick access" entry. FALSE
    // when no menu was tracked or it had no such entry to click.
    BOOL RightClickAndAdd(CPoint screen)
    {
        menu = nullptr;
        addTarget = nullptr;
        BOOL clicked = FALSE;
        auto entryCentre = [this]() -> std::optional<CPoint> {
            for (int i = 0; menu && menu->GetSafeHwnd() && i < menu->GetControlCount(); ++i)
            {
                const COSMControl* entry = menu->GetControl(i);
                if (entry->GetID() == ID_OSM_RIBBON_QUICK_ACCESS_ADD && entry->IsVisible() && entry->GetEnabled())
                    return ScreenPoint(*menu, entry->GetRect().CenterPoint());
            }
            return std::nullopt;
        };
        InputScript::Start(frame.GetSafeHwnd(),
                           {[] {},
                            [entryCentre] {
                                if (std::optional<CPoint> where = entryCentre())
                                    SendMouseMoveTo(*where);
                                else
                                    QueueKey(VK_ESCAPE);
                            },
                            [entryCentre, &clicked] {
                                if (entryCentre())
                                {
                                    clicked = TRUE;
                                    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
                                }
                            },
                            [] { SendMouseInput(MOUSEEVENTF_LEFTUP); }},
                           100);
        MoveMouseTo(screen);
        SendMouseInput(MOUSEEVENTF_RIGHTDOWN);
        SendMouseInput(MOUSEEVENTF_RIGHTUP);
        PumpFor(700);
        InputScript::Stop(frame.GetSafeHwnd());
        return clicked;
    }

    // The quick-access control last added, as a group's popup button.
    COSMRibbonGroupControlPopup* LastQuickAccessButton() const
    {
        COSMRibbonQuickAccessControls* quick = ribbon->GetQuickAccessControls();
        return quick->GetCount() ? dynamic_cast<COSMRibbonGroupControlPopup*>(quick->GetAt(quick->GetCount() - 1))
                                 : nullptr;
    }
    // Clicks the quick-access button, which opens a popup of its group; that popup, or null.
    COSMRibbonGroupPopupToolBar* OpenFromQuickAccess(COSMRibbonGroupControlPopup* button)
    {
        ClickAt(ScreenPoint(*ribbon, button->GetRect().CenterPoint()));
        return dynamic_cast<COSMRibbonGroupPopupToolBar*>(button->GetCommandBar());
    }

    COSMPopupBar* menu = nullptr;
    COSMControl* addTarget = nullptr;
};

TEST_F(RibbonPopupContextMenuTest, AGroupPopupsCaptionAddsTheRibbonsOwnGroupToTheQuickAccess)
{
    std::vector<COSMRibbonGroup*> groups = AddCollapsingGroups("Group %i");
    COSMRibbonGroup* reduced = groups.back();
    ASSERT_TRUE(reduced->IsReduced());
    ClickAt(ScreenPoint(*ribbon, reduced->GetPopupButton()->GetRect().CenterPoint()));
    auto* popup = dynamic_cast<COSMRibbonGroupPopupToolBar*>(reduced->GetPopupButton()->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    ASSERT_NE(0, popup->GetTrackingMode());
    COSMRibbonGroup* copy = popup->GetGroupCopy();
    ASSERT_NE(nullptr, copy);
    const CRect caption = copy->GetCaptionRect();
    ASSERT_EQ(nullptr, popup->GetControls()->HitTest(caption.CenterPoint())) << "no control covers the caption";
    // Noted now: the copy goes with its popup, which the command closes.
    const COSMControl* copyButton = copy->GetPopupButton();

    ASSERT_TRUE(RightClickAndAdd(ScreenPoint(*popup, caption.CenterPoint())));
    // The menu was the copy's popup button's; the quick access got a button that stands for the ribbon's group.
    EXPECT_EQ(copyButton, addTarget);
    COSMRibbonGroupControlPopup* added = LastQuickAccessButton();
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(static_cast<UINT>(reduced->GetID()), added->GetID());
    EXPECT_EQ(reduced, added->GetGroup());
    EXPECT_EQ(ribbon, added->GetParent());

    // The popup closed and its copy went; the quick-access button still opens the group.
    PumpFor(100);
    EXPECT_EQ(0, popup->GetTrackingMode());
    EXPECT_EQ(nullptr, popup->GetGroupCopy());
    Relayout();
    ribbon->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(added->IsVisible());
    COSMRibbonGroupPopupToolBar* reopened = OpenFromQuickAccess(added);
    ASSERT_NE(nullptr, reopened);
    EXPECT_EQ(reduced, reopened->GetSourceGroup());
    ASSERT_NE(nullptr, reopened->GetGroupCopy());
    EXPECT_EQ(3, reopened->GetGroupCopy()->GetCount());
    reopened->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST_F(RibbonPopupContextMenuTest, ATabPopupGroupsCaptionAddsTheRibbonsOwnGroupToTheQuickAccess)
{
    COSMRibbonGroup* clipboard = AddGroup("Clipboard", "MMM");
    AddGroup("Font", "MMM");
    ribbon->SetRibbonMinimized(TRUE);
    Relayout();
    ClickAt(TabCentre(tab));
    auto* popup = dynamic_cast<COSMRibbonTabPopupToolBar*>(ribbon->GetControlTab()->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    ASSERT_NE(0, popup->GetTrackingMode());
    COSMRibbonGroup* copy = popup->GetTabCopy()->GetGroups()->GetAt(0);
    ASSERT_NE(clipboard, copy);
    const CRect caption = copy->GetCaptionRect();

    ASSERT_TRUE(RightClickAndAdd(ScreenPoint(*popup, caption.CenterPoint())));
    EXPECT_EQ(copy->GetPopupButton(), addTarget);
    COSMRibbonGroupControlPopup* added = LastQuickAccessButton();
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(clipboard, added->GetGroup());

    // A new tab popup replaces the old one with its copies; the quick-access button is untouched by that.
    commandBars->ClosePopups();
    PumpFor(::GetDoubleClickTime() + 60);
    ClickAt(TabCentre(tab));
    ASSERT_NE(popup, ribbon->GetControlTab()->GetCommandBar());
    commandBars->ClosePopups();
    PumpFor(60);
    Relayout();
    EXPECT_EQ(clipboard, added->GetGroup());
    COSMRibbonGroupPopupToolBar* opened = OpenFromQuickAccess(added);
    ASSERT_NE(nullptr, opened);
    EXPECT_EQ(clipboard, opened->GetSourceGroup());
    ASSERT_NE(nullptr, opened->GetGroupCopy());
    EXPECT_EQ(3, opened->GetGroupCopy()->GetCount());
}

TEST_F(RibbonPopupContextMenuTest, AQuickAccessGroupButtonOutlivesItsGroup)
{
    COSMRibbonTab* insert = ribbon->AddTab("&Insert");
    COSMRibbonGroup* tables = AddGroup("Tables", "MMM", insert);
    COSMControl* added = ribbon->AddToQuickAccess(tables->GetPopupButton());
    auto* button = dynamic_cast<COSMRibbonGroupControlPopup*>(added);
    ASSERT_NE(nullptr, button);
    ASSERT_EQ(tables, button->GetGroup());
    Relayout();

    // The tab and its group go; the button stays in the quick access, standing for no group.
    ribbon->GetControlTab()->DeleteItem(insert->GetIndex());
    EXPECT_EQ(nullptr, button->GetGroup());
    Relayout();
    ribbon->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(button->IsVisible());
    ClickAt(ScreenPoint(*ribbon, button->GetRect().CenterPoint()));
    COSMCommandBar* opened = button->GetCommandBar();
    ASSERT_NE(nullptr, opened);
    EXPECT_EQ(nullptr, dynamic_cast<COSMRibbonGroupPopupToolBar*>(opened)) << "a plain popup without a group";
}

TEST_F(RibbonPopupContextMenuTest, ARightClickBesideTheCaptionStripShowsNoGroupMenu)
{
    std::vector<COSMRibbonGroup*> groups = AddCollapsingGroups("Group %i");
    COSMRibbonGroup* reduced = groups.back();
    ClickAt(ScreenPoint(*ribbon, reduced->GetPopupButton()->GetRect().CenterPoint()));
    auto* popup = dynamic_cast<COSMRibbonGroupPopupToolBar*>(reduced->GetPopupButton()->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    COSMRibbonGroup* copy = popup->GetGroupCopy();
    ASSERT_NE(nullptr, copy);
    // A point of the group above its caption strip that no control covers.
    const CRect caption = copy->GetCaptionRect();
    std::optional<CPoint> free;
    for (int y = caption.top - 1; y > copy->GetRect().top && !free; --y)
        for (int x = copy->GetRect().right - 2; x > copy->GetRect().left && !free; --x)
            if (!popup->GetControls()->HitTest(CPoint(x, y)))
                free = CPoint(x, y);
    ASSERT_TRUE(free.has_value());
    const CPoint above = *free;
    const int before = ribbon->GetQuickAccessControls()->GetCount();
    EXPECT_FALSE(RightClickAndAdd(ScreenPoint(*popup, above)));
    EXPECT_EQ(nullptr, menu);
    EXPECT_EQ(before, ribbon->GetQuickAccessControls()->GetCount());
}

}  // namespace
