// The paint manager's drawing that reads a window's client rectangle: dock bars, message bars, keyboard tips,
// the floating bar's caption strip and the expanding animation. Windows on the display, pixels on DIB sections.
#include "tests/support/DcTestSurface.h"
#include "PaintManagerTestSupport.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/MessageBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using foundation_test::MetricsPaintManager;
using foundation_test::PaintManagerTest;

namespace {

// A popup window whose client area is exactly the size given.
class TestWindow
{
public:
    TestWindow(int width, int height)
    {
        m_window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow()
    {
        if (m_window)
            ::DestroyWindow(m_window);
    }
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

// Lends the test window to a bar for the scope: the bar names it, the test window keeps owning it.
class BarWindowLoan
{
public:
    BarWindowLoan(COSMCommandBar& bar, HWND window) : m_bar(bar) { m_bar.Attach(window); }
    ~BarWindowLoan() { m_bar.Detach(); }
    BarWindowLoan(const BarWindowLoan&) = delete;
    BarWindowLoan& operator=(const BarWindowLoan&) = delete;

private:
    COSMCommandBar& m_bar;
};

class WindowPaintTest : public PaintManagerTest
{
protected:
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        pm.RefreshMetrics();
    }
    MetricsPaintManager pm;
};

std::vector<std::vector<COLORREF>> g_frames;
const DcTestSurface* g_watched = nullptr;

void WINAPI SnapshotSleep(DWORD)
{
    if (g_watched)
        g_frames.push_back(g_watched->All());
}

}  // namespace

TEST_F(WindowPaintTest, DockBarFill)
{
    TestWindow window(40, 20);
    ASSERT_NE(nullptr, window.Get());
    COSMDockBar bar;
    // The painter reads only the dock bar's window: the test's window stands in for it.
    bar.Attach(window.Get());
    DcTestSurface surface(50, 30, pm.GetColor(COLOR_WINDOW));
    pm.FillDockBar(CDC::FromHandle(surface.GetDC()), &bar);
    bar.Detach();
    EXPECT_TRUE(surface.AllPixels(CRect(0, 0, 40, 20), pm.GetColor(COLOR_BTNFACE)));
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), surface.Pixel(40, 20));
}

TEST_F(WindowPaintTest, MessageBarFill)
{
    TestWindow window(100, 30);
    ASSERT_NE(nullptr, window.Get());
    for (BOOL close : {FALSE, TRUE})
    {
        COSMMessageBar bar;
        if (close)
            bar.AddButton(SC_CLOSE);
        // The painter reads only the bar's window: the test's window stands in for it.
        bar.Attach(window.Get());
        CRect inner;
        COSMMessageBar::GetInnerRect(&bar, &inner);
        DcTestSurface surface(100, 30, pm.GetColor(COLOR_WINDOW));
        pm.FillMessageBar(CDC::FromHandle(surface.GetDC()), &bar);
        bar.Detach();
        EXPECT_EQ(inner, CRect(2, 2, close ? 80 : 98, 28));
        SCOPED_TRACE(close);
        EXPECT_EQ(pm.GetColor(COLOR_BTNFACE), surface.Pixel(0, 0));
        EXPECT_EQ(pm.GetColor(COLOR_BTNFACE), surface.Pixel(99, 15));
        EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), surface.Pixel(inner.left, inner.top));
        EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), surface.Pixel(inner.right - 1, inner.bottom - 1));
        EXPECT_TRUE(surface.AllPixels(CRect(inner.left + 1, inner.top + 1, inner.right - 1, inner.bottom - 1),
                                      pm.GetColor(COLOR_INFOBK)));
    }
}

TEST_F(WindowPaintTest, KeyboardTips)
{
    TestWindow window(30, 20);
    ASSERT_NE(nullptr, window.Get());
    const struct
    {
        BOOL enabled;
        int textIndex;
    } cases[] = {{TRUE, COLOR_INFOTEXT}, {FALSE, COLOR_GRAYTEXT}};
    for (const auto& c : cases)
    {
        COSMCommandBarKeyboardTip tip(nullptr, nullptr, "", 0, 0, 0, c.enabled);
        // The tip only names the test's window; the window stays the test's.
        tip.Attach(window.Get());
        struct Release
        {
            COSMCommandBarKeyboardTip& tip;
            ~Release() { tip.Detach(); }
        } release{tip};
        tip.SetText("W");
        DcTestSurface surface(30, 20, pm.GetColor(COLOR_WINDOW));
        CDC* dc = CDC::FromHandle(surface.GetDC());
        pm.DrawKeyboardTip(dc, &tip, TRUE);
        EXPECT_EQ(0, surface.CountNot(pm.GetColor(COLOR_WINDOW)));

        pm.DrawKeyboardTip(dc, &tip, FALSE);
        SCOPED_TRACE(c.enabled);
        EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), surface.Pixel(0, 0));
        EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), surface.Pixel(29, 19));
        EXPECT_EQ(pm.GetColor(COLOR_INFOBK), surface.Pixel(1, 1));
        EXPECT_EQ(pm.GetColor(c.textIndex), dc->GetTextColor());
        const std::vector<COLORREF> all = surface.All();
        EXPECT_GT(std::count(all.begin(), all.end(), pm.GetColor(c.textIndex)), 0);
    }
}

TEST_F(WindowPaintTest, FloatingBarCaptionStrip)
{
    TestWindow window(120, 60);
    ASSERT_NE(nullptr, window.Get());
    COSMCommandBar bar;
    const BarWindowLoan loan(bar, window.Get());
    bar.SetPosition(4);
    bar.SetTitle("Tools");

    DcTestSurface surface(120, 60, pm.GetColor(COLOR_WINDOW));
    CDC* dc = CDC::FromHandle(surface.GetDC());
    CFont* old = dc->SelectObject(&pm.GetCaptionFont());
    SIZE space{};
    ::GetTextExtentPoint32A(surface.GetDC(), " ", 1, &space);
    dc->SelectObject(old);
    const int height = std::max<int>(space.cy, 15);

    EXPECT_EQ(CSize(114, height), pm.DrawCommandBarGripper(dc, &bar, FALSE));
    EXPECT_EQ(0, surface.CountNot(pm.GetColor(COLOR_WINDOW)));

    EXPECT_EQ(CSize(114, height), pm.DrawCommandBarGripper(dc, &bar, TRUE));
    const COLORREF strip = pm.GetFloatingCaptionColor().GetEffective();
    EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), strip);
    EXPECT_EQ(strip, surface.Pixel(3, 3));
    EXPECT_EQ(strip, surface.Pixel(116, height + 2));
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), surface.Pixel(2, 2));
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), surface.Pixel(117, 3));
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), surface.Pixel(50, height + 3));
    // The title, in the caption text colour, left of the caption buttons' strip.
    int textPixels = 0;
    for (int y = 3; y < height + 3; ++y)
        for (int x = 3; x < 117; ++x)
            if (surface.Pixel(x, y) == pm.GetColor(COLOR_BTNHIGHLIGHT))
            {
                ++textPixels;
                EXPECT_LT(x, 117 - 2 * height);
            }
    EXPECT_GT(textPixels, 0);
}

TEST_F(WindowPaintTest, ExpandingAnimationGrowsTheExpandedBand)
{
    TestWindow window(20, 60);
    ASSERT_NE(nullptr, window.Get());
    const COLORREF colors[3] = {pm.GetColor(COLOR_WINDOW), pm.GetColor(COLOR_HIGHLIGHT), pm.GetColor(COLOR_BTNFACE)};
    DcTestSurface source(20, 60);
    for (int i = 0; i < 3; ++i)
        source.Fill(RECT{0, 20 * i, 20, 20 * (i + 1)}, colors[i]);

    COSMPaintManager::SetAnimationClock(nullptr, &SnapshotSleep);
    pm.m_animationSteps = 4;
    const COLORREF background = pm.GetColor(COLOR_BTNSHADOW);
    const struct
    {
        BOOL expandMiddle;
        BOOL downward;
    } cases[] = {{FALSE, TRUE}, {TRUE, TRUE}, {TRUE, FALSE}};
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        const BarWindowLoan loan(bar, window.Get());
        for (int i = 0; i < 3; ++i)
        {
            auto* control = new COSMControl;
            control->SetRect(CRect(0, 20 * i, 20, 20 * (i + 1)));
            control->SetHideWhenNotUsed(c.expandMiddle && i == 1);
            control->SetParent(&bar);
            bar.GetControls()->Append(control);
        }
        DcTestSurface destination(20, 60, background);
        g_watched = &destination;
        g_frames.clear();
        pm.AnimateExpanding(&bar, CDC::FromHandle(destination.GetDC()), CDC::FromHandle(source.GetDC()), c.downward);
        SCOPED_TRACE(c.expandMiddle * 10 + c.downward);
        ASSERT_EQ(4u, g_frames.size());
        for (int k = 1; k <= 4; ++k)
        {
            const std::vector<COLORREF>& frame = g_frames[k - 1];
            auto row = [&frame](int y) { return frame[y * 20 + 10]; };
            if (!c.expandMiddle)
            {
                EXPECT_EQ(source.All(), frame);
                continue;
            }
            const int grown = 20 * k / 4;
            if (c.downward)
            {
                // Top band in place, the middle one grown to 5k rows, the bottom one pushed down.
                EXPECT_EQ(colors[0], row(19));
                EXPECT_EQ(colors[1], row(20));
                EXPECT_EQ(colors[1], row(20 + grown - 1));
                EXPECT_EQ(colors[2], row(std::min(59, 20 + grown)));
            }
            else
            {
                // Stacked from the bottom: the last band in place, the middle one grown upward.
                EXPECT_EQ(colors[2], row(40));
                EXPECT_EQ(colors[1], row(39));
                EXPECT_EQ(colors[1], row(40 - grown));
                EXPECT_EQ(colors[0], row(std::max(0, 40 - grown - 1)));
            }
        }
        // The last step shows the whole image.
        EXPECT_EQ(source.All(), g_frames.back());
    }
    g_watched = nullptr;
    COSMPaintManager::SetAnimationClock(nullptr, nullptr);
}

TEST_F(WindowPaintTest, TestPaintManagerServesThePureOperations)
{
    TestWindow window(40, 20);
    ASSERT_NE(nullptr, window.Get());
    COSMCommandBar bar;
    const BarWindowLoan loan(bar, window.Get());
    COSMControl control;
    control.SetParent(&bar);
    control.SetRect(CRect(2, 2, 30, 18));
    DcTestSurface surface(50, 30, pm.GetColor(COLOR_WINDOW));
    CDC* dc = CDC::FromHandle(surface.GetDC());

    pm.ClearCalls();
    pm.FillCommandBar(dc, &bar);
    EXPECT_TRUE(surface.AllPixels(CRect(0, 0, 40, 20), pm.GetColor(COLOR_BTNFACE)));
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), surface.Pixel(45, 25));

    surface.Fill(pm.GetColor(COLOR_WINDOW));
    pm.SetControlHeight(24);
    EXPECT_EQ(CSize(24, 24), pm.DrawListBoxControl(dc, &control, CRect(0, 0, 10, 10), TRUE, TRUE, nullptr));
    EXPECT_TRUE(surface.AllPixels(CRect(0, 0, 10, 10), pm.GetColor(COLOR_BTNFACE)));
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), surface.Pixel(10, 10));

    surface.Fill(pm.GetColor(COLOR_WINDOW));
    control.SetPressed(1);
    pm.DrawSplitButtonFrame(dc, &control, CRect(2, 2, 30, 18));
    EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), surface.Pixel(2, 2));
    EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), surface.Pixel(29, 17));
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), surface.Pixel(10, 10));

    surface.Fill(pm.GetColor(COLOR_WINDOW));
    pm.DrawStateRectangle(dc, CRect(2, 2, 30, 18), FALSE, FALSE, TRUE, FALSE, FALSE, 1, 0);
    EXPECT_EQ(0, surface.CountNot(pm.GetColor(COLOR_WINDOW)));

    EXPECT_EQ(CSize(6, 6), pm.DrawCommandBarSeparator(dc, &bar, &control, TRUE));
    EXPECT_EQ(CSize(0, 0), pm.DrawTearOffGripper(dc, CRect(0, 0, 10, 10), TRUE, TRUE));
    EXPECT_EQ(CSize(0, 0), pm.DrawDialogBarGripper(dc, &bar, TRUE));
    CRect rect(1, 2, 3, 4);
    pm.AdjustControlRect(rect, &control, TRUE);
    EXPECT_EQ(CRect(1, 2, 3, 4), rect);
    pm.DrawPopupResizeGripper(dc, CRect(0, 0, 10, 10), 2);
    pm.DrawControlImage(dc, CPoint(3, 4), CSize(16, 16), nullptr, TRUE, FALSE, TRUE, FALSE, FALSE, TRUE);
    EXPECT_EQ(pm.GetColor(COLOR_GRAYTEXT), pm.GetStateTextColor(FALSE, FALSE, FALSE, FALSE, FALSE, 1, 0));
    EXPECT_EQ(pm.GetColor(COLOR_BTNTEXT), pm.GetStateTextColor(TRUE, FALSE, TRUE, FALSE, FALSE, 2, 5));
    EXPECT_EQ(0, pm.GetThemeId());

    const std::vector<std::string> expected = {
        "FillCommandBar(type=1)",
        "DrawListBoxControl(0,0,10,10,selected=1,draw=1)",
        "DrawSplitButtonFrame(2,2,30,18)",
        "DrawStateRectangle(2,2,30,18,0,1,1,0,0,1,7)",
        "DrawStateRectangle(2,2,30,18,0,0,1,0,0,1,0)",
        "DrawCommandBarSeparator(draw=1)",
        "DrawTearOffGripper(selected=1,draw=1)",
        "DrawDialogBarGripper(draw=1)",
        "AdjustControlRect(1,2,3,4,vertical=1)",
        "DrawPopupResizeGripper(0,0,10,10,kind=2)",
        "DrawControlImage(3,4,16,16,1,0,1,0,0,1)",
        "GetStateTextColor(0,0,0,0,0,1,0)",
        "GetStateTextColor(1,0,1,0,0,2,5)",
        "GetThemeId()",
    };
    EXPECT_EQ(expected, pm.GetCalls());
}
