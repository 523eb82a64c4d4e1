// Message maps on real windows: cracked handlers, ON_MESSAGE, registered messages, commands, notifications, and the
// base class's map answering what the derived map does not list.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

using classlib_test::CHostWnd;
using classlib_test::PumpUntil;

namespace {

const UINT WM_PROBE = WM_APP + 1;
const UINT WM_PROBE_THROW = WM_APP + 2;
const UINT ID_BASE_COMMAND = 40001;
const UINT ID_RANGE_FIRST = 40010;
const UINT ID_RANGE_LAST = 40019;
const UINT IDC_CHILD_BUTTON = 300;
const UINT_PTR ID_PROBE_TIMER = 7;

// Read when the message arrives, so it is registered by then whatever the order of static construction.
const UINT g_probeRegistered = ::RegisterWindowMessageA("Osmira.ClassLibTests.Probe");

std::string Describe(const char* what, long long a = 0, long long b = 0, long long c = 0)
{
    return std::string(what) + ":" + std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c);
}

class CBaseProbeWnd : public CWnd
{
public:
    std::vector<std::string> log;
    bool postNcDestroyCalled = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        log.push_back(std::string("create:") + cs->lpszName);
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        KillTimer(nIDEvent);
        log.push_back(Describe("base-timer", static_cast<long long>(nIDEvent)));
    }
    afx_msg LRESULT OnProbe(WPARAM wParam, LPARAM)
    {
        log.push_back(Describe("base-probe", static_cast<long long>(wParam)));
        return 1;
    }
    afx_msg void OnBaseCommand() { log.push_back("base-command"); }
    afx_msg void OnDestroy()
    {
        log.push_back("destroy");
        CWnd::OnDestroy();
    }
    void PostNcDestroy() override { postNcDestroyCalled = true; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbeWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_PROBE, OnProbe)
    ON_COMMAND(ID_BASE_COMMAND, OnBaseCommand)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

class CDerivedProbeWnd : public CBaseProbeWnd
{
protected:
    afx_msg LRESULT OnProbe(WPARAM wParam, LPARAM lParam)
    {
        log.push_back(Describe("derived-probe", static_cast<long long>(wParam), static_cast<long long>(lParam)));
        return 2;
    }
    afx_msg LRESULT OnRegisteredProbe(WPARAM wParam, LPARAM lParam)
    {
        log.push_back(Describe("registered", static_cast<long long>(wParam), static_cast<long long>(lParam)));
        return 77;
    }
    afx_msg void OnRange(UINT nID) { log.push_back(Describe("range", nID)); }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        log.push_back(Describe("keydown", nChar, nRepCnt, nFlags));
    }
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT) { log.push_back(Describe("char", nChar, nRepCnt)); }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point)
    {
        log.push_back(Describe("lbuttondown", nFlags, point.x, point.y));
    }
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        log.push_back(Describe("size", nType, cx, cy));
        CBaseProbeWnd::OnSize(nType, cx, cy);
    }
    afx_msg LRESULT OnNcHitTest(CPoint point)
    {
        LRESULT hit = CBaseProbeWnd::OnNcHitTest(point);  // the window's own answer, through Default()
        log.push_back(Describe("nchittest", hit));
        return hit;
    }
    afx_msg LRESULT OnProbeThrow(WPARAM, LPARAM)
    {
        log.push_back("throwing");
        throw std::runtime_error("handler failed");
    }
    afx_msg void OnChildButtonClicked() { log.push_back("child-button-clicked"); }
    afx_msg void OnChildClickNotify(NMHDR* pNMHDR, LRESULT* pResult)
    {
        log.push_back(Describe("notify", static_cast<long long>(pNMHDR->idFrom), static_cast<int>(pNMHDR->code)));
        *pResult = 42;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbeWnd, CBaseProbeWnd)
    ON_MESSAGE(WM_PROBE, OnProbe)
    ON_REGISTERED_MESSAGE(g_probeRegistered, OnRegisteredProbe)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_LBUTTONDOWN()
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
    ON_MESSAGE(WM_PROBE_THROW, OnProbeThrow)
    ON_BN_CLICKED(IDC_CHILD_BUTTON, OnChildButtonClicked)
    ON_NOTIFY(NM_CLICK, IDC_CHILD_BUTTON, OnChildClickNotify)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        ASSERT_TRUE(wnd.CreateEx(0, cls, "probe", WS_OVERLAPPEDWINDOW, 60, 60, 300, 200, nullptr, nullptr));
        wnd.ShowWindow(SW_SHOW);
        wnd.SetForegroundWindow();
        wnd.log.clear();
    }
    void TearDown() override
    {
        if (wnd.m_hWnd)
            wnd.DestroyWindow();
    }

    CDerivedProbeWnd wnd;
};

}  // namespace

TEST(MessageMapCreation, CreateMessagesReachTheMapDuringCreation)
{
    CDerivedProbeWnd wnd;
    LPCSTR cls = AfxRegisterWndClass(0);
    ASSERT_TRUE(wnd.CreateEx(0, cls, "created", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    ASSERT_FALSE(wnd.log.empty());
    EXPECT_EQ(wnd.log.front(), "create:created");
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);

    const HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.postNcDestroyCalled);
    EXPECT_EQ(wnd.log.back(), "destroy");
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(MessageMapTest, SentMessagesReachTheirCrackedHandlers)
{
    struct Case
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        std::string logged;  // empty: nothing in the maps handles it
    };
    const Case cases[] = {
        {WM_PROBE, 5, 6, 2, "derived-probe:5,6,0"},
        {g_probeRegistered, 11, 12, 77, "registered:11,12,0"},
        {WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0x3F), 0, Describe("keydown", VK_F5, 3, 0x3F)},
        {WM_CHAR, 'q', 1, 0, Describe("char", 'q', 1)},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-5), 17), 0,
         Describe("lbuttondown", MK_LBUTTON, -5, 17)},
        {WM_COMMAND, ID_BASE_COMMAND, 0, 0, "base-command"},
        {WM_COMMAND, MAKEWPARAM(ID_RANGE_FIRST + 2, 1), 0, 0, Describe("range", ID_RANGE_FIRST + 2)},
        {WM_COMMAND, ID_RANGE_LAST + 1, 0, 0, ""},
        {WM_USER + 50, 1, 2, 0, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.logged.empty() ? std::to_string(c.message) : c.logged);
        wnd.log.clear();
        EXPECT_EQ(wnd.SendMessage(c.message, c.wParam, c.lParam), c.result);
        if (c.logged.empty())
            EXPECT_TRUE(wnd.log.empty());
        else
            EXPECT_EQ(wnd.log, std::vector<std::string>{c.logged});
    }
}

TEST_F(MessageMapTest, RealTimerAndSizeMessagesAreCracked)
{
    // Only the base class maps WM_TIMER: the derived window gets the base's handler.
    // Hit tests come whenever the real cursor happens to rest over the window: they are not what this checks.
    const auto withoutHitTests = [&] {
        std::vector<std::string> entries;
        for (const std::string& entry : wnd.log)
            if (entry.rfind("nchittest", 0) != 0)
                entries.push_back(entry);
        return entries;
    };
    wnd.SetTimer(ID_PROBE_TIMER, 10);
    EXPECT_TRUE(PumpUntil([&] { return !withoutHitTests().empty(); }));
    EXPECT_EQ(withoutHitTests(), std::vector<std::string>{Describe("base-timer", ID_PROBE_TIMER)});

    wnd.log.clear();
    wnd.MoveWindow(60, 60, 320, 240);
    CRect client;
    wnd.GetClientRect(client);
    EXPECT_EQ(
        std::count(wnd.log.begin(), wnd.log.end(), Describe("size", SIZE_RESTORED, client.Width(), client.Height())),
        1);
}

TEST_F(MessageMapTest, HandlersReachTheWindowsOwnBehaviourThroughDefault)
{
    CRect client;
    wnd.GetClientRect(client);
    wnd.ClientToScreen(client);
    CPoint center = client.CenterPoint();
    EXPECT_EQ(wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(center.x, center.y)), HTCLIENT);
    EXPECT_EQ(wnd.log, std::vector<std::string>{Describe("nchittest", HTCLIENT)});
}

TEST_F(MessageMapTest, ChildButtonClickAndNotificationReachTheParentMap)
{
    CButton button;
    ASSERT_TRUE(button.Create("Press", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 40), &wnd, IDC_CHILD_BUTTON));
    EXPECT_EQ(button.GetDlgCtrlID(), static_cast<int>(IDC_CHILD_BUTTON));
    EXPECT_EQ(button.GetParent(), &wnd);

    // The button itself sends BN_CLICKED when it is clicked.
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(wnd.log, std::vector<std::string>{"child-button-clicked"});

    wnd.log.clear();
    NMHDR header{button.m_hWnd, IDC_CHILD_BUTTON, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, IDC_CHILD_BUTTON, reinterpret_cast<LPARAM>(&header)), 42);
    EXPECT_EQ(wnd.log, std::vector<std::string>{Describe("notify", IDC_CHILD_BUTTON, static_cast<int>(NM_CLICK))});

    wnd.log.clear();
    NMHDR otherCode{button.m_hWnd, IDC_CHILD_BUTTON, static_cast<UINT>(NM_DBLCLK)};
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, IDC_CHILD_BUTTON, reinterpret_cast<LPARAM>(&otherCode)), 0);
    EXPECT_TRUE(wnd.log.empty());
}

TEST_F(MessageMapTest, AnExceptionInAHandlerStaysInsideTheWindowProcedure)
{
    EXPECT_EQ(wnd.SendMessage(WM_PROBE_THROW), 0);
    EXPECT_EQ(wnd.log, std::vector<std::string>{"throwing"});
    // The window and its map go on working.
    EXPECT_EQ(wnd.SendMessage(WM_PROBE, 1, 2), 2);
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
}
