// The splitter tracker's own message loop on a real, active window: the messages each case needs are posted
// before Track, so the loop meets them in order. Also what the band looks like on the screen while it is shown
// and after it has gone, and the self-filling rectangles of a real window and of one destroyed.
#include "ActiveWindow.h"

#include <gtest/gtest.h>

#include "classlib/Geometry.h"
#include "classlib/Wnd.h"
#include "framework/foundation/SplitterTracker.h"
#include "framework/foundation/WindowRects.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

const UINT WM_APP_PROBE = WM_APP + 40;
const UINT WM_APP_DROP_CAPTURE = WM_APP + 41;

using osm::test::PumpPendingMessages;

// A shown, active top-level window: the tracker can only hold the capture for an active window's thread. It runs
// a probe when the tracker's loop dispatches WM_APP_PROBE to it, and lets go of the capture on WM_APP_DROP_CAPTURE.
class CTrackHost : public CWnd
{
public:
    BOOL CreateHost()
    {
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!CreateEx(0, cls, "splitter tracker test", WS_POPUP | WS_VISIBLE, 100, 80, 400, 300, nullptr, nullptr))
            return FALSE;
        ::UpdateWindow(m_hWnd);
        return osm::test::ActivateWindow(m_hWnd);
    }
    ~CTrackHost() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    std::function<void()> m_probe;
    int m_probes = 0;

protected:
    afx_msg LRESULT OnProbe(WPARAM, LPARAM)
    {
        ++m_probes;
        if (m_probe)
            m_probe();
        return 0;
    }
    afx_msg LRESULT OnDropCapture(WPARAM, LPARAM)
    {
        ::ReleaseCapture();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTrackHost, CWnd)
    ON_MESSAGE(WM_APP_PROBE, OnProbe)
    ON_MESSAGE(WM_APP_DROP_CAPTURE, OnDropCapture)
END_MESSAGE_MAP()

struct Posted
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

Posted MouseMove(int x, int y)
{
    return {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)};
}

class SplitterTrackerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateHost());
        m_origin = CPoint(0, 0);
        ::ClientToScreen(m_host, &m_origin);
    }
    void TearDown() override { PumpPendingMessages(); }

    void Post(const std::vector<Posted>& messages)
    {
        for (const Posted& p : messages)
            ::PostMessageA(m_host, p.message, p.wParam, p.lParam);
    }

    CTrackHost m_host;
    CPoint m_origin;  // the host's client origin on the screen
};

}  // namespace

TEST_F(SplitterTrackerTest, FollowsTheMouseWithinTheBoundsUntilReleaseOrEsc)
{
    struct Case
    {
        const char* name;
        BOOL horizontal;
        std::vector<Posted> messages;
        BOOL result;
        int edge;  // the expected left (horizontal) or top (vertical) edge, in client coordinates
    };
    // The band starts at client (150, 20)-(154, 220); the drag starts 2 pixels into it, at client (152, 100)
    // (vertical: (100, 22) into a band (20, 20)-(220, 24)). The moving edge keeps within client 50..250.
    const Case cases[] = {
        {"moves then release",
         TRUE,
         {MouseMove(200, 100), MouseMove(180, 130), {WM_LBUTTONUP, 0, MAKELPARAM(180, 130)}},
         TRUE,
         178},
        {"release without a move", TRUE, {{WM_LBUTTONUP, 0, MAKELPARAM(152, 100)}}, TRUE, 150},
        {"past the right bound", TRUE, {MouseMove(390, 100), {WM_LBUTTONUP, 0, 0}}, TRUE, 250},
        {"past the left bound", TRUE, {MouseMove(-40, 100), {WM_LBUTTONUP, 0, 0}}, TRUE, 50},
        {"vertical", FALSE, {MouseMove(300, 160), MouseMove(10, 5), {WM_LBUTTONUP, 0, 0}}, TRUE, 50},
        {"vertical, inside", FALSE, {MouseMove(300, 160), {WM_LBUTTONUP, 0, 0}}, TRUE, 158},
        {"escape after moves", TRUE, {MouseMove(200, 100), {WM_KEYDOWN, VK_ESCAPE, 0}}, FALSE, 198},
        {"other keys do not end it", TRUE, {{WM_KEYDOWN, 'A', 0}, MouseMove(100, 0), {WM_LBUTTONUP, 0, 0}}, TRUE, 98},
        {"capture lost", TRUE, {MouseMove(200, 100), {WM_APP_DROP_CAPTURE, 0, 0}, {WM_LBUTTONUP, 0, 0}}, FALSE, 198},
    };
    for (const Case& c : cases)
    {
        CRect rect = c.horizontal ? CRect(150, 20, 154, 220) : CRect(20, 20, 220, 24);
        rect.OffsetRect(m_origin);
        const CRect before = rect;
        const CPoint start = m_origin + (c.horizontal ? CPoint(152, 100) : CPoint(100, 22));
        Post(c.messages);
        COSMSplitterTracker tracker(TRUE);
        const BOOL result = tracker.Track(&m_host, m_origin.x + 50, m_origin.y + 50, m_origin.x + 250, m_origin.y + 250,
                                          rect, start, c.horizontal);
        EXPECT_EQ(result, c.result) << c.name;
        const int edge = c.horizontal ? rect.left - m_origin.x : rect.top - m_origin.y;
        EXPECT_EQ(edge, c.edge) << c.name;
        // Only the moving edge's direction changes; the size stays.
        EXPECT_EQ(rect.Width(), before.Width()) << c.name;
        EXPECT_EQ(rect.Height(), before.Height()) << c.name;
        EXPECT_EQ(c.horizontal ? rect.top : rect.left, c.horizontal ? before.top : before.left) << c.name;
        EXPECT_EQ(::GetCapture(), nullptr) << c.name;
        PumpPendingMessages();
    }
}

TEST_F(SplitterTrackerTest, OtherMessagesAreDispatchedWhileTracking)
{
    Post({{WM_APP_PROBE, 0, 0}, {WM_APP_PROBE, 0, 0}, {WM_KEYDOWN, VK_ESCAPE, 0}, {WM_APP_PROBE, 0, 0}});
    CRect rect(m_origin.x + 10, m_origin.y + 10, m_origin.x + 14, m_origin.y + 100);
    COSMSplitterTracker tracker;
    EXPECT_FALSE(tracker.Track(&m_host, 0, 0, 2000, 2000, rect, rect.TopLeft(), TRUE));
    EXPECT_EQ(m_host.m_probes, 2);  // the third comes after Esc, outside the loop
    PumpPendingMessages();
    EXPECT_EQ(m_host.m_probes, 3);
}

TEST_F(SplitterTrackerTest, QuitEndsTheDragAndStaysInTheQueue)
{
    ::PostQuitMessage(7);
    CRect rect(m_origin.x + 10, m_origin.y + 10, m_origin.x + 14, m_origin.y + 100);
    const CRect before = rect;
    COSMSplitterTracker tracker;
    EXPECT_FALSE(tracker.Track(&m_host, 0, 0, 2000, 2000, rect, rect.TopLeft(), TRUE));
    EXPECT_TRUE(rect == before);
    EXPECT_EQ(::GetCapture(), nullptr);
    MSG msg{};
    bool quit = false;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            quit = true;
            break;
        }
        ::DispatchMessageA(&msg);
    }
    ASSERT_TRUE(quit);
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(SplitterTrackerTest, WithoutAWindowThereIsNoDrag)
{
    CRect rect(10, 10, 14, 100);
    COSMSplitterTracker tracker;
    Post({{WM_LBUTTONUP, 0, 0}});
    EXPECT_FALSE(tracker.Track(nullptr, 0, 0, 100, 100, rect, CPoint(10, 10), TRUE));
    EXPECT_TRUE(rect == CRect(10, 10, 14, 100));
}

TEST_F(SplitterTrackerTest, TheBandIsInvertedWhileShownAndGoneAfterwards)
{
    // Read the screen the way the tracker draws on it: through the desktop window's DC.
    auto screenPixel = [](const CPoint& pt) {
        HWND hDesktop = ::GetDesktopWindow();
        HDC hDC = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
        const COLORREF clr = ::GetPixel(hDC, pt.x, pt.y);
        ::ReleaseDC(hDesktop, hDC);
        return clr;
    };
    const CRect band(m_origin.x + 100, m_origin.y + 40, m_origin.x + 106, m_origin.y + 200);
    const CRect extra(m_origin.x + 200, m_origin.y + 40, m_origin.x + 300, m_origin.y + 200);
    const CPoint inBand = band.TopLeft() + CSize(2, 10), inBandNext = inBand + CSize(1, 0);
    const CPoint inExtra = extra.TopLeft() + CSize(20, 20);
    const CPoint outside = m_origin + CPoint(30, 250);
    const COLORREF background = screenPixel(inBand);
    ASSERT_EQ(background, ::GetSysColor(COLOR_WINDOW)) << "the host's background must be on the screen";
    const COLORREF inverted = background ^ 0xFFFFFF;

    struct Case
    {
        const char* name;
        BOOL solid;
    };
    for (const Case& c : {Case{"solid", TRUE}, Case{"halftone", FALSE}})
    {
        std::vector<COLORREF> seen;
        m_host.m_probe = [&] {
            seen = {screenPixel(inBand), screenPixel(inBandNext), screenPixel(inExtra),
                    screenPixel(inExtra + CSize(1, 0)), screenPixel(outside)};
        };
        Post({{WM_APP_PROBE, 0, 0}, {WM_LBUTTONUP, 0, 0}});
        CRect rect = band;
        COSMSplitterTracker tracker(c.solid);
        tracker.SetExtraRect(extra);
        EXPECT_TRUE(tracker.Track(&m_host, 0, 0, 4000, 4000, rect, rect.TopLeft(), TRUE)) << c.name;
        ASSERT_EQ(seen.size(), 5u) << c.name;
        if (c.solid)
        {
            EXPECT_EQ(seen[0], inverted) << c.name;
            EXPECT_EQ(seen[1], inverted) << c.name;
        }
        else
        {
            // Every other pixel of the halftone pattern is inverted.
            EXPECT_NE(seen[0], seen[1]) << c.name;
            EXPECT_TRUE((seen[0] == inverted && seen[1] == background) ||
                        (seen[0] == background && seen[1] == inverted))
                << c.name;
        }
        EXPECT_TRUE(seen[2] == inverted || seen[3] == inverted) << c.name << ": the extra rectangle is shown too";
        EXPECT_EQ(seen[4], background) << c.name;
        // Drawn twice, the band is gone.
        EXPECT_EQ(screenPixel(inBand), background) << c.name;
        EXPECT_EQ(screenPixel(inBandNext), background) << c.name;
        EXPECT_EQ(screenPixel(inExtra), background) << c.name;
    }
}

TEST_F(SplitterTrackerTest, WindowRectanglesOfARealWindowAndOfOneThatIsGone)
{
    RECT window{}, client{};
    ::GetWindowRect(m_host, &window);
    ::GetClientRect(m_host, &client);
    EXPECT_TRUE(COSMWindowRect(&m_host) == CRect(window));
    EXPECT_TRUE(COSMWindowRect(m_host.m_hWnd) == CRect(100, 80, 500, 380));
    EXPECT_TRUE(COSMClientRect(&m_host) == CRect(client));
    EXPECT_TRUE(COSMClientRect(m_host.m_hWnd) == CRect(0, 0, 400, 300));

    // Once the window is gone, its handle gives empty rectangles.
    CTrackHost gone;
    ASSERT_TRUE(gone.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 50, 40, nullptr, nullptr));
    const HWND hGone = gone.m_hWnd;
    EXPECT_FALSE(COSMWindowRect(hGone).IsRectNull());
    gone.DestroyWindow();
    EXPECT_TRUE(COSMWindowRect(hGone).IsRectNull());
    EXPECT_TRUE(COSMClientRect(hGone).IsRectNull());
}
