// The ribbon frame made without a ribbon, as the status bar meets it: a frame window gives it out for the ribbon
// frame's query message, and under the ribbon theme the status bar's bottom edge then sizes the frame.
#include "StatusBarTestSupport.h"

#include "framework/ribbon/RibbonFrame.h"

#include <gtest/gtest.h>

using namespace status_bar_test;

namespace {

// A frame that answers the query with its ribbon frame when it has one.
class CRibbonTestFrame : public CBarTestFrame
{
public:
    COSMRibbonFrame* ribbonFrame = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == COSMRibbonFrame::GetQueryMessage())
            return reinterpret_cast<LRESULT>(ribbonFrame);
        return CBarTestFrame::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST(RibbonFrameTest, TheStatusBarsBottomEdgeSizesARibbonFrameUnderTheRibbonTheme)
{
    auto* paintManager = new CStatusLogPaintManager;
    COSMPaintManager::SetCustomTheme(paintManager);
    CRibbonTestFrame frame;
    ASSERT_TRUE(frame.CreateFrame());
    COSMStatusBar bar;
    ASSERT_TRUE(bar.Create(&frame));
    bar.AddIndicator(0)->SetStyle(COSMStatusBarPane::kStyleStretch);
    frame.RecalcLayout();
    COSMRibbonFrame ribbonFrame(&frame);

    CRect window;
    bar.GetWindowRect(&window);
    const CPoint bottom(window.left + 10, window.bottom - 2);
    const struct
    {
        int themeId;
        bool answers;
        BOOL frameDrawing;
        LRESULT hit;
    } cases[] = {
        {6, true, TRUE, HTBOTTOM}, {6, true, FALSE, HTCLIENT}, {6, false, TRUE, HTCLIENT}, {0, true, TRUE, HTCLIENT}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.themeId * 100 + c.answers * 10 + c.frameDrawing);
        paintManager->themeId = c.themeId;
        ribbonFrame.EnableFrameDrawing(c.frameDrawing);
        frame.ribbonFrame = c.answers ? &ribbonFrame : nullptr;
        EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(bottom.x, bottom.y)), c.hit);
    }
    // Above the bottom 3 pixels the bar is the bar's.
    paintManager->themeId = 6;
    frame.ribbonFrame = &ribbonFrame;
    ribbonFrame.EnableFrameDrawing(TRUE);
    EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(bottom.x, window.bottom - 4)), HTCLIENT);

    int height = 0;
    EXPECT_TRUE(ribbonFrame.GetStatusBarHeight(&height));
    EXPECT_EQ(height, window.Height());
    bar.ShowWindow(SW_HIDE);
    EXPECT_FALSE(ribbonFrame.GetStatusBarHeight(&height)) << "a hidden status bar";

    bar.DestroyWindow();
    frame.DestroyWindow();
    COSMPaintManager::FreeGlobalPaintManager();
}
