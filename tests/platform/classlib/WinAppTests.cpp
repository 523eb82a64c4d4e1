// The entry routine and the application object: InitInstance's answer decides between the exit step and the
// message loop, and the loop ends when the main window goes.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT WM_APP_CLOSE_MAIN = WM_APP + 30;

std::vector<std::string> g_appLog;

class CMainProbeWnd : public CWnd
{
protected:
    afx_msg LRESULT OnCloseMain(WPARAM, LPARAM)
    {
        g_appLog.push_back("close-main");
        DestroyWindow();
        return 0;
    }
    afx_msg void OnDestroy()
    {
        g_appLog.push_back("destroy");
        CWnd::OnDestroy();
    }
    void PostNcDestroy() override { g_appLog.push_back("post-nc-destroy"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainProbeWnd, CWnd)
    ON_MESSAGE(WM_APP_CLOSE_MAIN, OnCloseMain)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

class CProbeApp : public CWinApp
{
public:
    CProbeApp(BOOL initResult, int exitCode) : CWinApp("Probe App"), m_initResult(initResult), m_exitCode(exitCode) {}

    BOOL InitInstance() override
    {
        g_appLog.push_back("init");
        if (!m_initResult)
            return FALSE;
        if (!m_main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = &m_main;
        m_main.PostMessage(WM_APP_CLOSE_MAIN);
        return TRUE;
    }
    int ExitInstance() override
    {
        g_appLog.push_back("exit");
        CWinApp::ExitInstance();
        return m_exitCode;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_APP_CLOSE_MAIN)
            g_appLog.push_back("pretranslate");
        return CWinApp::PreTranslateMessage(pMsg);
    }

    CMainProbeWnd m_main;

private:
    BOOL m_initResult;
    int m_exitCode;
};

}  // namespace

TEST(WinAppTest, EntryRunsTheExitStepOrTheMessageLoopAsInitInstanceAnswers)
{
    struct Case
    {
        BOOL initResult;
        int exitCode;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {FALSE, 3, {"init", "exit"}},
        {TRUE, 7, {"init", "pretranslate", "close-main", "destroy", "post-nc-destroy", "exit"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.initResult ? "loop" : "no loop");
        g_appLog.clear();
        CProbeApp app(c.initResult, c.exitCode);
        ASSERT_EQ(AfxGetApp(), &app);
        EXPECT_STREQ(app.m_pszAppName, "Probe App");
        EXPECT_EQ(ClassLibWinMain(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL),
                  c.exitCode);
        EXPECT_EQ(g_appLog, c.expected);
        EXPECT_EQ(app.m_pMainWnd, nullptr);  // the main window let go when it was destroyed
        EXPECT_FALSE(app.IsRunningMessageLoop());
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(WinAppTest, ResourceHelpersFindTheProgramsResources)
{
    EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandleA(nullptr));
    EXPECT_EQ(AfxGetResourceHandle(), ::GetModuleHandleA(nullptr));
    CProbeApp app(FALSE, 0);
    EXPECT_NE(app.LoadStandardIcon(IDI_APPLICATION), nullptr);
    EXPECT_NE(app.LoadStandardCursor(IDC_ARROW), nullptr);
    EXPECT_EQ(app.LoadIcon(4321u), nullptr);  // the tests carry no icons
    EXPECT_TRUE(app.Enable3dControls());
}

TEST(WinAppTest, WaitCursorNestsAndRestores)
{
    classlib_test::CHostWnd host;
    ASSERT_TRUE(host.CreateHost("wait"));
    HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
    HCURSOR wait = ::LoadCursor(nullptr, IDC_WAIT);
    ::SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(::GetCursor(), wait);
        host.BeginWaitCursor();
        // While busy, windows of the program keep showing the hourglass when the system asks them.
        ::SetCursor(arrow);
        EXPECT_EQ(
            host.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
        EXPECT_EQ(::GetCursor(), wait);
        host.EndWaitCursor();
        EXPECT_EQ(::GetCursor(), wait);
    }
    EXPECT_EQ(::GetCursor(), arrow);
}
