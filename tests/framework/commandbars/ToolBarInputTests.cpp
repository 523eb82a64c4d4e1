// Toolbars under synthesized input: a click on the close button of a floating bar. A torn-off bar goes away, but
// only once the click has been handled on live objects; a built-in bar only hides. The add-or-remove list, opened
// from the expand button by clicks, offers only the controls the user may customize.
#include "DockTestSupport.h"
#include "InputTestSupport.h"

#include "framework/commandbars/PopupBar.h"

using namespace commandbars_test;

namespace {

// Notes, right after the bar hid itself, whether the manager still listed it and whether the options were marked:
// reading both here is reading them from inside the close button's execution.
class ObservedToolBar : public COSMToolBar
{
    DECLARE_DYNCREATE(ObservedToolBar)

public:
    void SetVisible(BOOL visible) override
    {
        COSMToolBar::SetVisible(visible);
        if (visible || !m_commandBars)
            return;
        listedAfterHiding = m_commandBars->IndexOf(this) >= 0;
        modifiedAfterHiding = m_commandBars->GetCommandBarsOptions()->m_modified;
    }

    static inline BOOL listedAfterHiding = FALSE;
    static inline BOOL modifiedAfterHiding = FALSE;
};

IMPLEMENT_DYNCREATE(ObservedToolBar, COSMToolBar)

class ToolBarInputTest : public DockSiteTest
{
protected:
    BOOL CreateFrame() override { return frame.CreateActiveTestFrame("toolbar input test"); }
    void SetUp() override
    {
        DockSiteTest::SetUp();
        commandBars->SetToolBarClass(RUNTIME_CLASS(ObservedToolBar));
        ObservedToolBar::listedAfterHiding = FALSE;
        ObservedToolBar::modifiedAfterHiding = FALSE;
    }
    void TearDown() override
    {
        MoveMouseTo(CPoint(1200, 1000));
        DockSiteTest::TearDown();
    }
};

TEST_F(ToolBarInputTest, ClosingATornOffBarRemovesItAfterTheClickAndABuiltInOneOnlyHides)
{
    for (BOOL tearOff : {TRUE, FALSE})
    {
        SCOPED_TRACE(tearOff);
        COSMToolBar* bar = AddFilledToolBar("Floating", 801, {201, 202, 203}, tearOff);
        ASSERT_NE(nullptr, bar);
        ASSERT_TRUE(bar->SetPosition(4));
        bar->SetTearOff(tearOff);
        frame.SetFocus();
        PumpMessages();
        const COSMControl* close = bar->GetControls()->FindControlById(COSMToolBar::kCloseButtonId);
        ASSERT_NE(nullptr, close);
        commandBars->GetCommandBarsOptions()->m_modified = FALSE;
        const int count = commandBars->GetCount();

        ClickAt(ScreenPoint(*bar, close->GetRect().CenterPoint()));
        ASSERT_TRUE(PumpUntil([&] { return ObservedToolBar::modifiedAfterHiding != FALSE; }));
        EXPECT_TRUE(ObservedToolBar::listedAfterHiding);
        EXPECT_TRUE(commandBars->GetCommandBarsOptions()->m_modified);
        EXPECT_EQ(1u, frame.visibleChanges.size());

        if (tearOff)
        {
            EXPECT_TRUE(PumpUntil([&] { return commandBars->GetCount() == count - 1; }));
        }
        else
        {
            PumpFor(100);
            ASSERT_EQ(count, commandBars->GetCount());
            EXPECT_FALSE(bar->IsVisible());
            EXPECT_FALSE(bar->IsWindowVisible());
            commandBars->Remove(bar);
        }
        frame.visibleChanges.clear();
        ObservedToolBar::modifiedAfterHiding = FALSE;
    }
}

}  // namespace

namespace {

TEST_F(ToolBarInputTest, TheGapsOfADockBarShowTheArrow)
{
    COSMToolBar* bar = AddFilledToolBar("Standard", 701, {201, 202});
    ASSERT_NE(nullptr, bar);
    frame.RecalcLayout();
    PumpMessages();
    COSMDockBar* top = DockBar(0);
    CRect barRect = RectInParent(bar);
    CRect dockRect;
    top->GetClientRect(&dockRect);
    ASSERT_LT(barRect.right + 20, dockRect.right) << "the dock bar has room right of the toolbar";

    // A cursor some other window set (a toolbar's gripper shows the size-all cursor) goes as the mouse comes over
    // the empty part of the dock bar.
    MoveMouseTo(CPoint(1200, 1000));
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    MoveMouseTo(ScreenPoint(*top, CPoint(barRect.right + 10, barRect.CenterPoint().y)));
    PumpFor(60);
    EXPECT_EQ(::LoadCursor(nullptr, IDC_ARROW), ::GetCursor());
}

}  // namespace

namespace {

// The targets' ids of the list's toggles in order; the reset entry, which has none, as 0.
std::vector<UINT> ListedIds(const COSMPopupBar& list)
{
    std::vector<UINT> ids;
    for (int i = 0; i < list.GetControlCount(); ++i)
    {
        const auto* entry = dynamic_cast<const COSMCustomizeToggleButton*>(list.GetControl(i));
        ids.push_back(entry && entry->GetTarget() ? entry->GetTarget()->GetID() : 0u);
    }
    return ids;
}

TEST_F(ToolBarInputTest, TheAddOrRemoveListOffersOnlyControlsTheUserMayCustomize)
{
    CCommandBarsTestFrame dialog;  // stands for the customize dialog
    commandBars->SetCustomizeDialog(&dialog);
    commandBars->GetCommandBarsOptions()->m_showExpandButtonAlways = TRUE;
    COSMToolBar* bar = AddFilledToolBar("Standard", 701, {201, 202, 203});
    ASSERT_NE(nullptr, bar);
    bar->SetBuiltIn(TRUE);
    bar->GetControls()->CreateOriginalControls();
    frame.RecalcLayout();
    PumpMessages();
    auto* expand = dynamic_cast<COSMToolBarExpandButton*>(
        bar->GetControls()->FindControlById(static_cast<int>(COSMToolBar::kExpandButtonId)));
    ASSERT_NE(nullptr, expand);
    ASSERT_TRUE(expand->IsVisible());

    const struct
    {
        const char* name;
        DWORD flags;  // of 202
        BOOL customizeAll;
        std::vector<UINT> listed;
    } cases[] = {
        {"not movable on a plain bar", COSMControl::kFlagNoMovable, FALSE, {201, 203, 0}},
        {"not movable, every bar customizable", COSMControl::kFlagNoMovable, TRUE, {201, 202, 203, 0}},
        {"movable", 0, FALSE, {201, 202, 203, 0}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        bar->GetControls()->FindControlById(202)->SetFlags(c.flags);
        commandBars->EnableCustomizeAllBars(c.customizeAll);
        ASSERT_TRUE(ActivateTestWindow(frame.GetSafeHwnd()));
        PumpMessages();

        // The expand button, "Add or Remove Buttons", then the bar's entry: each click opens the next menu. Every
        // case opens them anew, as a user does after closing them.
        ClickAt(ScreenPoint(*bar, expand->GetRect().CenterPoint()));
        auto* menu = dynamic_cast<COSMPopupBar*>(expand->GetCommandBar());
        ASSERT_TRUE(menu && PumpUntil([&] { return menu->IsWindowVisible() != FALSE; }));
        COSMControl* addOrRemove = menu->GetControls()->FindControlById(static_cast<int>(COSMToolBar::kAddOrRemoveId));
        ASSERT_NE(nullptr, addOrRemove);
        ClickAt(ControlCentre(*menu, addOrRemove->GetIndex()));
        auto* rows = dynamic_cast<COSMPopupBar*>(addOrRemove->GetCommandBar());
        ASSERT_TRUE(rows && PumpUntil([&] { return rows->IsWindowVisible() != FALSE; }));
        ClickAt(ControlCentre(*rows, 0));
        auto* list = dynamic_cast<COSMPopupBar*>(rows->GetControl(0)->GetCommandBar());
        ASSERT_TRUE(list && PumpUntil([&] { return list->IsWindowVisible() != FALSE; }));

        EXPECT_TRUE(list->IsAddOrRemoveList());
        EXPECT_EQ(c.listed, ListedIds(*list));
        // The bar itself keeps the control either way.
        EXPECT_NE(nullptr, bar->GetControls()->FindControlById(202));

        commandBars->ClosePopups();
        CreateMouseManager()->SendTrackLost();
        PumpFor(60);
    }
}

}  // namespace
