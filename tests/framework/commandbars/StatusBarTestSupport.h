// What the status-bar and message-bar tests share: a frame that records the commands and system commands it gets
// and answers the panes' updates, and a test paint manager that logs the status surfaces it draws.
#pragma once

#include "InputTestSupport.h"
#include "TrackingTestSupport.h"

#include "classlib/ClassLib.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/commandbars/testing/TestPaintManager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace status_bar_test {

const UINT ID_PANE_ENABLE = 0x7101;
const UINT ID_PANE_CHECK = 0x7102;
const UINT ID_PANE_TEXT = 0x7103;
const UINT ID_PANE_BUTTON = 0x7104;
const UINT ID_SWITCH_A = 0x7105;
const UINT ID_SWITCH_B = 0x7106;
const UINT ID_SWITCHES = 0x7107;

class CBarTestFrame : public CFrameWnd
{
public:
    ~CBarTestFrame() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    BOOL CreateFrame(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE)
    {
        return Create(nullptr, "status bar test", style, CRect(80, 80, 580, 380));
    }

    std::vector<UINT> commands;
    std::vector<UINT> sysCommands;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back(LOWORD(wParam));
        return CFrameWnd::OnCommand(wParam, lParam);
    }

protected:
    afx_msg void OnSysCommand(UINT nID, LPARAM) { sysCommands.push_back(nID); }
    afx_msg void OnUpdateEnable(CCmdUI* ui) { ui->Enable(FALSE); }
    afx_msg void OnUpdateCheck(CCmdUI* ui) { ui->SetCheck(1); }
    afx_msg void OnUpdateText(CCmdUI* ui) { ui->SetText("Line 5"); }
    afx_msg void OnUpdateButton(CCmdUI* ui) { ui->Enable(TRUE); }
    afx_msg void OnUpdateSwitchA(CCmdUI* ui) { ui->SetCheck(1); }
    afx_msg void OnUpdateSwitchB(CCmdUI* ui) { ui->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

// Logs the status surfaces; draws them as the base does.
class CStatusLogPaintManager : public COSMTestPaintManager
{
public:
    std::vector<std::string> log;
    int themeId = 0;

    int GetThemeId() const override { return themeId; }
    void FillStatusBar(CDC* dc, COSMStatusBar* bar) override
    {
        log.push_back("fill");
        COSMTestPaintManager::FillStatusBar(dc, bar);
    }
    void DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL last) override
    {
        log.push_back("border " + std::to_string(pane->GetIndex()) + (last ? " last" : ""));
        COSMTestPaintManager::DrawStatusBarPaneBorder(dc, rect, pane, last);
    }
    void DrawStatusBarPaneSeparator(CDC* dc, CRect rect, COSMStatusBarPane* pane) override
    {
        log.push_back("separator " + std::to_string(pane->GetIndex()));
        COSMTestPaintManager::DrawStatusBarPaneSeparator(dc, rect, pane);
    }
    void DrawStatusBarGripper(CDC* dc, CRect client) override
    {
        log.push_back("gripper");
        COSMTestPaintManager::DrawStatusBarGripper(dc, client);
    }
};

// A bar of type TBar in an activated test frame, drawn by the logging paint manager. CreateBar makes the bar; the
// mouse is moved off the display's middle at the end, so the next test starts with no hot part.
template <class TBar> class BarInFrameTest : public ::testing::Test
{
protected:
    virtual BOOL CreateBar() = 0;
    void SetUp() override
    {
        paintManager = new CStatusLogPaintManager;
        COSMPaintManager::SetCustomTheme(paintManager);
        ASSERT_TRUE(frame.CreateFrame());
        ASSERT_TRUE(commandbars_test::ActivateTestWindow(frame.m_hWnd));
        ASSERT_TRUE(CreateBar());
    }
    void TearDown() override
    {
        commandbars_test::MoveMouseTo(CPoint(1200, 1000));
        bar.DestroyWindow();
        frame.DestroyWindow();
        COSMPaintManager::FreeGlobalPaintManager();
    }

    CStatusLogPaintManager* paintManager = nullptr;
    CBarTestFrame frame;
    TBar bar;
};

}  // namespace status_bar_test
