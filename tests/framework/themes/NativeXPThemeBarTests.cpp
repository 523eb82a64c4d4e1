// The Native XP look on a real frame under Xvfb: the top dock bar and a toolbar docked in it paint one rebar
// background, the platform's own, across both windows; the other dock bars keep the face colour.
#include "CommandBarsTestFrame.h"
#include "PaintManagerTestSupport.h"

#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/themes/NativeXPTheme.h"
#include "tests/support/ActiveWindow.h"

#include <gtest/gtest.h>

namespace {

using foundation_test::DcTestSurface;

constexpr COLORREF kXPBarCanvas = RGB(255, 0, 255);

// What a window's own painting gives, printed into a canvas of its client size.
void XPPrintClient(CWnd* window, DcTestSurface& canvas)
{
    window->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
}

class NativeXPDockTest : public foundation_test::PaintManagerTest
{
protected:
    void TearDown() override
    {
        if (commandBars)
            commandBars->ClosePopups();
        commandBars.Reset();
        frame.DestroyWindow();
        osm::test::PumpPendingMessages();
        PaintManagerTest::TearDown();
    }

    CCommandBarsTestFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
};

TEST_F(NativeXPDockTest, TheTopDockBarAndItsToolbarShowOneRebarBackground)
{
    COSMPaintManager::RegisterThemes();
    COSMPaintManager::SetTheme(3);
    auto* look = dynamic_cast<COSMNativeXPTheme*>(COSMPaintManager::GetGlobalPaintManager());
    ASSERT_NE(nullptr, look);
    ASSERT_TRUE(look->IsStyled()) << "no visual style is active: this test compares themed pixels";

    ASSERT_TRUE(frame.CreateTestFrame("native xp docks", CRect(40, 40, 520, 360)));
    commandBars->SetSite(&frame);
    ASSERT_TRUE(commandBars->CreateDockBars());
    auto* toolBar = dynamic_cast<COSMToolBar*>(commandBars->AddToolBar("Standard", 7600));
    ASSERT_NE(nullptr, toolBar);
    for (UINT command : {7601u, 7602u, 7603u})
        toolBar->GetControls()->Add(1, command)->SetCaption("B");
    frame.RecalcLayout();
    osm::test::PumpPendingMessages();

    COSMDockBar* top = commandBars->GetDockBar(0);
    ASSERT_NE(nullptr, top);
    ASSERT_EQ(top->GetSafeHwnd(), ::GetParent(toolBar->GetSafeHwnd()));
    CRect topClient, barClient, barRect;
    top->GetClientRect(&topClient);
    toolBar->GetClientRect(&barClient);
    toolBar->GetWindowRect(&barRect);
    top->ScreenToClient(&barRect);
    ASSERT_GT(barClient.Width(), 20);
    ASSERT_GT(topClient.Width(), barRect.right + 10) << "the dock bar shows beside the toolbar";

    // The dock bar is the platform's rebar background over its own window.
    DcTestSurface dock(topClient.Width(), topClient.Height(), kXPBarCanvas);
    XPPrintClient(top, dock);
    DcTestSurface twin(topClient.Width(), topClient.Height(), kXPBarCanvas);
    COSMVisualStyleWrapper rebar;
    ASSERT_TRUE(rebar.OpenThemeData(nullptr, L"REBAR"));
    CRect whole;
    top->GetWindowRect(&whole);
    top->ScreenToClient(&whole);
    EXPECT_EQ(S_OK, rebar.DrawThemeBackground(twin.GetDC(), 0, 0, &whole, &topClient));
    EXPECT_TRUE(dock.EqualsCanvas(twin));

    // The toolbar's background, where no control, gripper or band edge lies, continues the dock bar's at the same
    // place of the screen: its top row under the edge and its last columns.
    DcTestSurface bar(barClient.Width(), barClient.Height(), kXPBarCanvas);
    XPPrintClient(toolBar, bar);
    int compared = 0;
    auto expectContinues = [&](int x, int y) {
        EXPECT_EQ(dock.Pixel(barRect.left + x, barRect.top + y), bar.Pixel(x, y)) << x << "," << y;
        ++compared;
    };
    for (int x = 10; x < barClient.right - 1; ++x)
        expectContinues(x, 1);
    for (int y = 1; y < barClient.bottom - 1; ++y)
        expectContinues(barClient.right - 2, y);
    EXPECT_GT(compared, 40);
    // The active style's rebar is not the face colour the Default look would show there: the comparison above
    // tells the two apart.
    EXPECT_NE(look->GetColor(COLOR_BTNFACE), bar.Pixel(10, 1));

    // The other dock bars keep the face.
    for (int side : {1, 2, 3})
    {
        SCOPED_TRACE(side);
        COSMDockBar* other = commandBars->GetDockBar(side);
        ASSERT_NE(nullptr, other);
        // Without bars of their own they have no size: they are given one.
        other->SetWindowPos(nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CRect client;
        other->GetClientRect(&client);
        ASSERT_FALSE(client.IsRectEmpty());
        DcTestSurface canvas(client.Width(), client.Height(), kXPBarCanvas);
        XPPrintClient(other, canvas);
        EXPECT_TRUE(canvas.FilledWith(client, look->GetColor(COLOR_BTNFACE)));
    }
}

}  // namespace
