// Frame windows on the display: bars take their strips through WM_SIZEPARENT in one deferred positioning and the
// pane gets the rest, delayed layouts run at idle time, the status line reaches the status bar, accelerators turn
// into commands, and windows find their frame and the message being handled.
#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const UINT IDC_TOP_BAR = 700;
const UINT IDC_LEFT_BAR = 701;
const UINT IDC_BYSTANDER = 702;
const UINT WM_PROBE_CURRENT = WM_APP + 40;
const UINT WM_PROBE_INNER = WM_APP + 41;

CRect ChildRect(const CWnd& child)
{
    CRect rect;
    child.GetWindowRect(&rect);
    child.GetParent()->ScreenToClient(&rect);
    return rect;
}

// A bar that takes a strip of `thickness` pixels off one side of what the frame still has free.
class CStripBar : public CWnd
{
public:
    enum class Side
    {
        Top,
        Left
    };

    CStripBar(Side side, int thickness) : m_thickness(thickness), m_side(side) {}

    BOOL CreateBar(CWnd* pParent, UINT nID)
    {
        return Create(nullptr, "bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), pParent, nID);
    }

    int m_thickness;
    int sizeParentCalls = 0;
    bool sawDeferredPositioning = false;
    BOOL sawStretch = FALSE;
    // Where another bar stood while this one was asked: with one deferred positioning nothing has moved yet.
    CWnd* pWatched = nullptr;
    CRect watchedRectSeen;

protected:
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        ++sizeParentCalls;
        sawDeferredPositioning = pLayout->hDWP != nullptr;
        sawStretch = pLayout->bStretch;
        if (pWatched)
            watchedRectSeen = ChildRect(*pWatched);
        CRect strip(pLayout->rect);
        if (m_side == Side::Top)
        {
            strip.bottom = strip.top + m_thickness;
            pLayout->rect.top = strip.bottom;
            pLayout->sizeTotal.cy += m_thickness;
        }
        else
        {
            strip.right = strip.left + m_thickness;
            pLayout->rect.left = strip.right;
            pLayout->sizeTotal.cx += m_thickness;
        }
        AfxRepositionWindow(pLayout, m_hWnd, &strip);
        return 0;
    }

private:
    Side m_side;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStripBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

class CIdleProbe : public CWnd
{
public:
    std::vector<WPARAM> idleUpdates;

protected:
    afx_msg LRESULT OnIdleUpdate(WPARAM wParam, LPARAM)
    {
        idleUpdates.push_back(wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleProbe, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

// A child of the frame with a child of its own.
bool CreateFamily(CWnd& frame, CWnd& child, CWnd& grandchild)
{
    return child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &frame, 1) &&
           grandchild.Create(nullptr, "grandchild", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &child, 2);
}

class CProbeFrame : public CFrameWnd
{
public:
    ~CProbeFrame() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    BOOL CreateProbe(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE)
    {
        return Create(nullptr, "frame", style, CRect(60, 60, 460, 360));
    }

    int refreshCommands = 0;
    std::vector<MSG> seenCurrent;

protected:
    afx_msg void OnRefresh() { ++refreshCommands; }
    afx_msg LRESULT OnProbeCurrent(WPARAM, LPARAM)
    {
        seenCurrent.push_back(*GetCurrentMessage());
        SendMessage(WM_PROBE_INNER, 5, 6);
        seenCurrent.push_back(*GetCurrentMessage());  // the outer message again once the inner one is done
        return 0;
    }
    afx_msg LRESULT OnProbeInner(WPARAM, LPARAM)
    {
        seenCurrent.push_back(*GetCurrentMessage());
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeFrame, CFrameWnd)
    ON_COMMAND(ID_FRAME_REFRESH, OnRefresh)
    ON_MESSAGE(WM_PROBE_CURRENT, OnProbeCurrent)
    ON_MESSAGE(WM_PROBE_INNER, OnProbeInner)
END_MESSAGE_MAP()

TEST(FrameWndTest, RecalcLayoutGivesEachBarItsStripAndThePaneTheRest)
{
    CProbeFrame frame;
    ASSERT_TRUE(frame.CreateProbe());
    CStripBar top(CStripBar::Side::Top, 24);
    CStripBar left(CStripBar::Side::Left, 30);
    CWnd pane;
    CWnd bystander;
    ASSERT_TRUE(top.CreateBar(&frame, IDC_TOP_BAR));
    ASSERT_TRUE(left.CreateBar(&frame, IDC_LEFT_BAR));
    ASSERT_TRUE(pane.Create(nullptr, "pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &frame, AFX_IDW_PANE_FIRST));
    ASSERT_TRUE(bystander.Create(nullptr, "bystander", WS_CHILD | WS_VISIBLE, CRect(300, 200, 310, 210), &frame,
                                 IDC_BYSTANDER));
    left.pWatched = &top;

    frame.RecalcLayout();

    CRect client;
    frame.GetClientRect(&client);
    EXPECT_EQ(ChildRect(top), CRect(0, 0, client.right, 24));
    EXPECT_EQ(ChildRect(left), CRect(0, 24, 30, client.bottom));
    EXPECT_EQ(ChildRect(pane), CRect(30, 24, client.right, client.bottom));
    EXPECT_EQ(ChildRect(bystander), CRect(300, 200, 310, 210));  // a child that takes no strip stays where it is
    EXPECT_TRUE(top.sawDeferredPositioning);
    EXPECT_TRUE(left.sawStretch);
    // The top bar had not moved yet when the left bar was asked: all moves happen together at the end.
    EXPECT_EQ(left.watchedRectSeen, CRect(0, 0, 5, 5));

    // A query computes the pane's rectangle and moves nothing.
    top.m_thickness = 50;
    CRect paneRect;
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &paneRect);
    EXPECT_EQ(paneRect, CRect(30, 50, client.right, client.bottom));
    EXPECT_FALSE(top.sawDeferredPositioning);
    EXPECT_EQ(ChildRect(top), CRect(0, 0, client.right, 24));
}

TEST(FrameWndTest, SizingTheFrameLaysItOutAgain)
{
    CProbeFrame frame;
    ASSERT_TRUE(frame.CreateProbe());
    CStripBar top(CStripBar::Side::Top, 20);
    CWnd pane;
    ASSERT_TRUE(top.CreateBar(&frame, IDC_TOP_BAR));
    ASSERT_TRUE(pane.Create(nullptr, "pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &frame, AFX_IDW_PANE_FIRST));
    frame.SetWindowPos(nullptr, 0, 0, 300, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client;
    frame.GetClientRect(&client);
    EXPECT_EQ(ChildRect(top), CRect(0, 0, client.right, 20));
    EXPECT_EQ(ChildRect(pane), CRect(0, 20, client.right, client.bottom));
}

TEST(FrameWndTest, DelayedLayoutRunsAtTheNextIdleUpdate)
{
    CProbeFrame frame;
    ASSERT_TRUE(frame.CreateProbe());
    CStripBar top(CStripBar::Side::Top, 20);
    ASSERT_TRUE(top.CreateBar(&frame, IDC_TOP_BAR));
    frame.RecalcLayout();
    const int callsBefore = top.sizeParentCalls;

    top.m_thickness = 36;
    frame.DelayRecalcLayout();
    EXPECT_EQ(frame.m_nIdleFlags, static_cast<UINT>(CFrameWnd::idleLayout | CFrameWnd::idleNotify));
    frame.DelayRecalcLayout(FALSE);
    EXPECT_EQ(top.sizeParentCalls, callsBefore);  // nothing yet
    EXPECT_EQ(ChildRect(top).Height(), 20);

    frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(top.sizeParentCalls, callsBefore + 1);
    EXPECT_EQ(ChildRect(top).Height(), 36);
    EXPECT_EQ(frame.m_nIdleFlags, 0u);

    // Nothing marked: the idle update lays nothing out.
    frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(top.sizeParentCalls, callsBefore + 1);
}

TEST(FrameWndTest, ThreadIdleUpdatesTheMainWindowAndAllItsDescendants)
{
    CProbeFrame frame;
    ASSERT_TRUE(frame.CreateProbe());
    CIdleProbe child;
    CIdleProbe grandchild;
    ASSERT_TRUE(CreateFamily(frame, child, grandchild));
    CStripBar top(CStripBar::Side::Top, 20);
    ASSERT_TRUE(top.CreateBar(&frame, IDC_TOP_BAR));
    frame.RecalcLayout();
    top.m_thickness = 28;
    frame.DelayRecalcLayout();

    CWinThread thread(nullptr, nullptr);  // never started: only its idle step runs here
    thread.m_pMainWnd = &frame;
    EXPECT_FALSE(thread.OnIdle(0));
    EXPECT_EQ(child.idleUpdates, std::vector<WPARAM>{TRUE});
    EXPECT_EQ(grandchild.idleUpdates, std::vector<WPARAM>{TRUE});
    EXPECT_EQ(ChildRect(top).Height(), 28);  // the frame served its delayed layout

    // A hidden main window shows nothing to update; later idle counts do not update either.
    EXPECT_FALSE(thread.OnIdle(1));
    frame.ShowWindow(SW_HIDE);
    EXPECT_FALSE(thread.OnIdle(0));
    EXPECT_EQ(child.idleUpdates.size(), 1u);
}

TEST(FrameWndTest, StatusTextsReachTheStatusBarAndStayAsTheLastText)
{
    CProbeFrame frame;
    ASSERT_TRUE(frame.CreateProbe());

    // Without a status bar the text is still kept.
    frame.SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>("Opening"));
    EXPECT_STREQ(frame.GetLastStatusText(), "Opening");

    CStatic statusBar;
    ASSERT_TRUE(statusBar.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 280, 400, 300), &frame, AFX_IDW_STATUS_BAR));
    EXPECT_EQ(frame.GetMessageBar(), &statusBar);

    struct Step
    {
        UINT message;
        WPARAM wParam;
        const char* text;
        const char* expected;
        LRESULT expectedResult;  // the id shown before
    };
    const Step steps[] = {
        {WM_SETMESSAGESTRING, 0, "Saving", "Saving", 0},
        {WM_SETMESSAGESTRING, IDS_STATUS_SAVE, nullptr, "Saves the file", 0},
        {WM_POPMESSAGESTRING, 0, nullptr, "Ready", IDS_STATUS_SAVE},           // the idle text
        {WM_SETMESSAGESTRING, IDS_MISSING, nullptr, "", AFX_IDS_IDLEMESSAGE},  // no such string
        {WM_POPMESSAGESTRING, IDS_STATUS_SAVE, nullptr, "Saves the file", IDS_MISSING},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.expected);
        EXPECT_EQ(frame.SendMessage(step.message, step.wParam, reinterpret_cast<LPARAM>(step.text)),
                  step.expectedResult);
        CString shown;
        statusBar.GetWindowText(shown);
        EXPECT_STREQ(shown, step.expected);
        EXPECT_STREQ(frame.GetLastStatusText(), step.expected);
    }
    EXPECT_EQ(frame.m_nIDTracking, static_cast<UINT>(IDS_STATUS_SAVE));
}

TEST(FrameWndTest, AcceleratorsBecomeCommandsOfTheFrame)
{
    CProbeFrame frame;
    ASSERT_TRUE(frame.CreateProbe());
    ASSERT_TRUE(frame.LoadAccelTable(MAKEINTRESOURCEA(IDR_FRAME_ACCEL)));
    MSG key{frame.m_hWnd, WM_KEYDOWN, VK_F5, 0x003F0001, 0, {0, 0}};
    EXPECT_TRUE(frame.PreTranslateMessage(&key));
    EXPECT_EQ(frame.refreshCommands, 1);
    MSG other{frame.m_hWnd, WM_KEYDOWN, VK_F6, 0x00400001, 0, {0, 0}};
    EXPECT_FALSE(frame.PreTranslateMessage(&other));
    EXPECT_EQ(frame.refreshCommands, 1);
}

TEST(FrameWndTest, DefaultPlacementHelpModeAndNoDocument)
{
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create(nullptr, "placed by the system"));
    CRect rect;
    frame.GetWindowRect(&rect);
    EXPECT_GT(rect.Width(), 0);
    EXPECT_GT(rect.Height(), 0);
    EXPECT_FALSE(frame.m_bHelpMode);
    EXPECT_EQ(frame.GetActiveDocument(), nullptr);
    EXPECT_TRUE(frame.IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    frame.DestroyWindow();

    CMiniFrameWnd mini;
    EXPECT_TRUE(mini.IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_STREQ(mini.GetRuntimeClass()->m_lpszClassName, "CMiniFrameWnd");
}

TEST(FrameWndTest, WindowsFindTheirFrameAmongTheirParentsAndOwners)
{
    CProbeFrame frame;
    ASSERT_TRUE(frame.CreateProbe());
    CWnd child;
    CWnd grandchild;
    ASSERT_TRUE(CreateFamily(frame, child, grandchild));
    CWnd floating;  // a floating window owned by the frame
    ASSERT_TRUE(floating.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "floating", WS_POPUP, 0, 0, 20, 20,
                                  frame.m_hWnd, nullptr));
    classlib_test::CHostWnd unrelated;
    ASSERT_TRUE(unrelated.CreateHost("no frame here"));
    CWnd orphan;
    ASSERT_TRUE(orphan.Create(nullptr, "orphan", WS_CHILD, CRect(0, 0, 10, 10), &unrelated, 3));

    EXPECT_EQ(grandchild.GetParentFrame(), &frame);
    EXPECT_EQ(child.GetParentFrame(), &frame);
    EXPECT_EQ(floating.GetParentFrame(), &frame);
    EXPECT_EQ(frame.GetParentFrame(), nullptr);
    EXPECT_EQ(orphan.GetParentFrame(), nullptr);
    floating.DestroyWindow();
}

TEST(FrameWndTest, CurrentMessageIsTheOneBeingHandledOnThisThread)
{
    CProbeFrame frame;
    ASSERT_TRUE(frame.CreateProbe());
    frame.SendMessage(WM_PROBE_CURRENT, 1, 2);
    ASSERT_EQ(frame.seenCurrent.size(), 3u);
    const UINT expectedMessages[] = {WM_PROBE_CURRENT, WM_PROBE_INNER, WM_PROBE_CURRENT};
    const WPARAM expectedWParams[] = {1, 5, 1};
    const LPARAM expectedLParams[] = {2, 6, 2};
    for (size_t i = 0; i < frame.seenCurrent.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(frame.seenCurrent[i].hwnd, frame.m_hWnd);
        EXPECT_EQ(frame.seenCurrent[i].message, expectedMessages[i]);
        EXPECT_EQ(frame.seenCurrent[i].wParam, expectedWParams[i]);
        EXPECT_EQ(frame.seenCurrent[i].lParam, expectedLParams[i]);
    }
}

}  // namespace
