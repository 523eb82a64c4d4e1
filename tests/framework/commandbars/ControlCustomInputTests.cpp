// The custom control's window under the real mouse: moving over the hosted window hot-tracks the control in its bar,
// as moving over the bar's own buttons does.
#include "CommandBarsTestSupport.h"
#include "InputTestSupport.h"

#include "framework/controls/ControlCustom.h"

#include <gtest/gtest.h>

using namespace commandbars_test;

TEST_F(CommandBarsTest, TheMouseOverAHostedWindowHotTracksItsControl)
{
    COSMCommandBar bar;
    ASSERT_TRUE(CreateBarWindow(bar, 300, 40, TRUE));
    // Hot tracking of a bar that is not active asks for a popup's position.
    bar.SetPositionField(COSMCommandBar::kPositionPopup);
    CWnd hosted;
    ASSERT_TRUE(hosted.CreateEx(0, AfxRegisterWndClass(0), "Hosted", WS_POPUP | WS_VISIBLE, 400, 400, 60, 20, nullptr,
                                nullptr));
    COSMControl* button = bar.GetControls()->Add(COSMControlFactory::kTypeButton, 4702);
    auto* custom = static_cast<COSMControlCustom*>(bar.GetControls()->Add(COSMControlFactory::kTypeCustom, 4701));
    button->SetRect(CRect(0, 0, 30, 30));
    custom->SetControlWindow(hosted.GetSafeHwnd());
    custom->SetBorders(CRect(2, 2, 2, 2));
    custom->SetRect(CRect(40, 0, 120, 30));
    ASSERT_EQ(bar.GetSafeHwnd(), ::GetParent(hosted.GetSafeHwnd()));

    MoveMouseTo(CPoint(1200, 1000));
    const struct
    {
        CPoint client;  // in the bar
        int selected;
    } steps[] = {{CPoint(80, 15), custom->GetIndex()},
                 {CPoint(15, 15), button->GetIndex()},
                 {CPoint(60, 10), custom->GetIndex()}};
    for (const auto& step : steps)
    {
        const CPoint screen = ScreenPoint(bar, step.client);
        MoveMouseTo(screen);
        PumpUntil([&] { return bar.GetSelectedIndex() == step.selected; });
        EXPECT_EQ(step.selected, bar.GetSelectedIndex()) << step.client.x;
        // Over the control the cursor is on the hosted window, not on the bar.
        if (step.selected == custom->GetIndex())
        {
            EXPECT_EQ(hosted.GetSafeHwnd(), ::WindowFromPoint(screen));
        }
    }
    MoveMouseTo(CPoint(1200, 1000));
    bar.GetControls()->RemoveAll();
    hosted.DestroyWindow();
    bar.DestroyWindow();
}
