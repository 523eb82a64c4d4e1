// Control bars in a frame on the display: each takes its strip by its alignment (content, border widths and edges),
// draws its edges outside its client area, shows and hides at idle time, and updates its commands toward the frame.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CRect BarRect(const CWnd& bar)
{
    CRect rect;
    bar.GetWindowRect(&rect);
    bar.GetParent()->ScreenToClient(&rect);
    return rect;
}

// A bar whose content is `content` pixels thick; it records the idle updates it was given.
class CProbeBar : public CControlBar
{
public:
    explicit CProbeBar(int content) : m_content(content) {}

    BOOL CreateBar(CWnd* parent, DWORD barStyle, UINT id)
    {
        m_dwStyle = barStyle;
        return Create(nullptr, "bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), parent, id);
    }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
        (bHorz ? size.cy : size.cx) += m_content;
        return size;
    }
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override
    {
        updates.push_back({target, disableIfNoHandler});
    }

    struct Update
    {
        CFrameWnd* target;
        BOOL disable;
    };
    std::vector<Update> updates;

private:
    int m_content;
};

class CBarFrame : public CFrameWnd
{
public:
    ~CBarFrame() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    BOOL CreateFrame() { return Create(nullptr, "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 440, 340)); }
};

}  // namespace

TEST(ControlBarTest, BarsTakeTheirSidesWithTheirEdgesAndBorders)
{
    CBarFrame frame;
    ASSERT_TRUE(frame.CreateFrame());
    CProbeBar top(20);
    CProbeBar bottom(16);
    CProbeBar left(30);
    CProbeBar floating(50);  // no side: the layout leaves it where it is
    CWnd pane;
    ASSERT_TRUE(top.CreateBar(&frame, CBRS_TOP, 801));
    ASSERT_TRUE(bottom.CreateBar(&frame, CBRS_BOTTOM, 802));
    ASSERT_TRUE(left.CreateBar(&frame, CBRS_LEFT, 803));
    ASSERT_TRUE(floating.CreateBar(&frame, CBRS_NOALIGN, 804));
    ASSERT_TRUE(pane.Create(nullptr, "pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &frame, AFX_IDW_PANE_FIRST));
    bottom.SetBorders(1, 3, 1, 2);
    frame.RecalcLayout();

    CRect client;
    frame.GetClientRect(&client);
    const int edge = CControlBar::kEdgeWidth;
    EXPECT_EQ(BarRect(top), CRect(0, 0, client.right, 20 + edge));
    EXPECT_EQ(BarRect(bottom), CRect(0, client.bottom - (16 + edge + 5), client.right, client.bottom));
    EXPECT_EQ(BarRect(left), CRect(0, 20 + edge, 30 + edge, client.bottom - (16 + edge + 5)));
    EXPECT_EQ(BarRect(pane), CRect(30 + edge, 20 + edge, client.right, client.bottom - (16 + edge + 5)));
    EXPECT_EQ(BarRect(floating), CRect(0, 0, 5, 5));

    // The edges lie outside the client area; the border widths inside it, where CalcInsideRect takes them off.
    CRect topClient;
    top.GetClientRect(&topClient);
    EXPECT_EQ(topClient, CRect(0, 0, client.right, 20));
    CRect inside;
    bottom.GetClientRect(&inside);
    EXPECT_EQ(inside.Height(), 16 + 5);
    bottom.CalcInsideRect(inside, TRUE);
    EXPECT_EQ(inside, CRect(1, 3, client.right - 1, 16 + 3));

    // The edges are drawn: shadow then highlight.
    ::RedrawWindow(top.m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    HDC window = ::GetWindowDC(top.m_hWnd);
    EXPECT_EQ(::GetPixel(window, 10, 20), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(::GetPixel(window, 10, 21), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::ReleaseDC(top.m_hWnd, window);
}

TEST(ControlBarTest, DelayedShowAndHideHappenAtIdleTimeAndTheFrameLaysOutAgain)
{
    CBarFrame frame;
    ASSERT_TRUE(frame.CreateFrame());
    CProbeBar top(24);
    CWnd pane;
    ASSERT_TRUE(top.CreateBar(&frame, CBRS_ALIGN_TOP, 801));
    ASSERT_TRUE(pane.Create(nullptr, "pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &frame, AFX_IDW_PANE_FIRST));
    frame.RecalcLayout();
    ASSERT_EQ(BarRect(pane).top, 24);

    CWinThread thread(nullptr, nullptr);  // never started: only its idle step runs here
    thread.m_pMainWnd = &frame;
    const struct
    {
        BOOL show;
        bool visibleAfter;
        int paneTop;
    } steps[] = {{FALSE, false, 0}, {FALSE, false, 0}, {TRUE, true, 24}};
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.show);
        top.updates.clear();
        top.DelayShow(step.show);
        EXPECT_EQ(top.IsVisible(), step.visibleAfter) << "IsVisible answers what the bar is about to be";
        thread.OnIdle(0);
        EXPECT_EQ(top.IsWindowVisible(), step.visibleAfter);
        EXPECT_EQ(BarRect(pane).top, step.paneTop);
        EXPECT_EQ(top.m_nStateFlags, 0u);
        // Only a visible bar updates its commands, toward its frame.
        ASSERT_EQ(top.updates.size(), step.visibleAfter ? 1u : 0u);
        if (step.visibleAfter)
        {
            EXPECT_EQ(top.updates[0].target, &frame);
            EXPECT_TRUE(top.updates[0].disable);
        }
    }
}
