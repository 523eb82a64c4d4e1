// A docked dialog bar under real clicks: its caption opens the caption popup bar below itself only once that bar
// holds controls, its close button hides the bar, and a drag of its right border widens it.
#include "DockTestSupport.h"
#include "InputTestSupport.h"

#include "framework/commandbars/PopupPlacement.h"
#include "framework/controls/DialogBar.h"

using namespace commandbars_test;

namespace {

// A 20-pixel caption strip, as a theme measures it.
class CaptionPaintManager : public COSMTestPaintManager
{
public:
    CSize DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override { return CSize(4, 20); }
};

class DialogBarInputTest : public DockSiteTest
{
protected:
    BOOL CreateFrame() override { return frame.CreateActiveTestFrame("dialog bar input test"); }
    void SetUp() override
    {
        DockSiteTest::SetUp();
        commandBars->SetPaintManager(paintManager.Get());
        commandBars->SetToolBarClass(RUNTIME_CLASS(COSMDialogBar));
        bar = static_cast<COSMDialogBar*>(commandBars->AddToolBar("Properties", 801));
        ASSERT_NE(nullptr, bar);
        bar->SetDockedExtent(CSize(150, 120));
        frame.RecalcLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        MoveMouseTo(CPoint(1200, 1000));
        DockSiteTest::TearDown();
    }
    CPoint CentreOf(UINT id) const
    {
        return ScreenPoint(*bar, bar->GetControls()->FindControlById(static_cast<int>(id))->GetRect().CenterPoint());
    }

    RefPtr<CaptionPaintManager> paintManager = AdoptRef(new CaptionPaintManager);
    COSMDialogBar* bar = nullptr;
};

TEST_F(DialogBarInputTest, TheCaptionOpensItsPopupBelowItselfOnlyWhenThePopupHoldsControls)
{
    COSMDialogBarPopupBar* popup = bar->GetCaptionPopupBar();
    ClickAt(CentreOf(COSMDialogBarCaptionControl::kId));
    PumpFor(100);
    EXPECT_FALSE(popup->GetSafeHwnd() && popup->IsWindowVisible());
    // Nothing opened, so nothing is left tracking: the next click opens the popup at once.
    EXPECT_EQ(-1, bar->GetPopupedIndex());
    EXPECT_EQ(0, bar->GetTrackingMode());

    popup->GetControls()->Add(1, 301);
    popup->GetControls()->Add(1, 302);
    bar->OnRecalcLayout();
    PumpMessages();
    ClickAt(CentreOf(COSMDialogBarCaptionControl::kId));
    ASSERT_TRUE(PumpUntil([&] { return popup->GetSafeHwnd() && popup->IsWindowVisible(); }));
    CRect caption = bar->GetControls()->FindControlById(COSMDialogBarCaptionControl::kId)->GetRect();
    bar->ClientToScreen(&caption);
    CRect opened;
    popup->GetWindowRect(&opened);
    EXPECT_EQ(caption.bottom, opened.top);
    EXPECT_EQ(caption.right, opened.right);
    EXPECT_EQ(DWORD(kPopupLeftwards | kPopupBelow), popup->GetDirectionFlags());
    SendKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !popup->GetSafeHwnd() || !popup->IsWindowVisible(); }));
}

TEST_F(DialogBarInputTest, TheCloseButtonHidesTheBar)
{
    ClickAt(CentreOf(COSMDialogBarCloseControl::kId));
    EXPECT_TRUE(PumpUntil([&] { return !bar->IsVisible(); }));
    EXPECT_FALSE(bar->IsWindowVisible());
}

TEST_F(DialogBarInputTest, ADragOfTheRightBorderWidensTheDockedBar)
{
    const CRect before = ScreenRect(bar);
    const CPoint border(before.right - 1, before.top + 40);
    ASSERT_EQ(HTRIGHT, bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(border.x, border.y)));
    MoveMouseTo(border);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    osm::test::SendMouseMoveTo(border + CSize(60, 0));
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(300);
    EXPECT_EQ(CSize(210, 120), bar->GetDockedExtent());
    const CRect after = ScreenRect(bar);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.Width() + 60, after.Width());
    EXPECT_EQ(0, bar->GetPosition());
}

}  // namespace
