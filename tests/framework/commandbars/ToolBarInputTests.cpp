// Toolbars under synthesized input: a click on the close button of a floating bar. A torn-off bar goes away, but
// only once the click has been handled on live objects; a built-in bar only hides.
#include "DockTestSupport.h"
#include "InputTestSupport.h"

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
