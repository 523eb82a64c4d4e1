// What the toolbar and dock-bar tests share: a site frame with the manager and its four dock bars, recording the
// toolbar messages (10325 shown or hidden, 10340 reset), and helpers that read where bars lie.
//
//   DockSiteTest: frame (shown), commandBars->SetSite(&frame), commandBars->CreateDockBars()
//   COSMToolBar* bar = AddFilledToolBar("Standard", 701, {201, 202, 203});
//   frame.RecalcLayout();
#pragma once

#include "CommandBarsTestFrame.h"
#include "CommandBarsTestSupport.h"
#include "TrackingTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/ToolBar.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace commandbars_test {

class DockFrame : public CCommandBarsTestFrame
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> visibleChanges;
    int resets = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == COSMToolBar::kMessageVisibleChanged)
            visibleChanges.emplace_back(wParam, lParam);
        if (message == COSMToolBar::kMessageReset)
            ++resets;
        return CCommandBarsTestFrame::WindowProc(message, wParam, lParam);
    }
};

class DockSiteTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(CreateFrame());
        commandBars->SetSite(&frame);
        ASSERT_TRUE(commandBars->CreateDockBars());
    }
    void TearDown() override
    {
        commandBars->ClosePopups();
        commandBars.Reset();
        frame.DestroyWindow();
        CommandBarsTest::TearDown();
    }
    virtual BOOL CreateFrame() { return frame.CreateTestFrame("dock test frame", CRect(40, 40, 640, 440)); }

    // A manager toolbar docked on top with buttons of the ids (0 begins a group).
    COSMToolBar* AddFilledToolBar(const char* title, UINT id, std::initializer_list<UINT> ids, BOOL tearOff = FALSE)
    {
        auto* bar = static_cast<COSMToolBar*>(commandBars->AddToolBar(title, id, tearOff));
        if (bar)
        {
            std::vector<UINT> list(ids);
            bar->SetButtons(list.data(), static_cast<int>(list.size()));
        }
        return bar;
    }
    // The window rectangle in the client coordinates of the window's parent.
    static CRect RectInParent(const CWnd* window)
    {
        CRect rect;
        window->GetWindowRect(&rect);
        ::MapWindowPoints(nullptr, ::GetParent(window->GetSafeHwnd()), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    static CRect ScreenRect(const CWnd* window)
    {
        CRect rect;
        window->GetWindowRect(&rect);
        return rect;
    }
    COSMDockBar* DockBar(int side) const { return commandBars->GetDockBar(side); }

    DockFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
};

// The rows of a dock bar as text: each bar by its title, rows between bars ("|A B|C|").
inline std::string DescribeRows(const COSMDockBar* dockBar)
{
    std::string text;
    for (int i = 0; i < dockBar->GetCount(); ++i)
    {
        const COSMToolBar* bar = dockBar->GetAt(i);
        if (!bar)
        {
            text += "|";
            continue;
        }
        if (!text.empty() && text.back() != '|')
            text += " ";
        text += static_cast<LPCSTR>(bar->GetTitle());
    }
    return text;
}

// Answers the toolbar's questions (reset, merging a changed bar) as the test says and remembers the last one; put
// it in COSMToolBar::s_pfnShowMessageBox with a ScopedSetting.
struct MessageBoxAnswer
{
    static int Answer(LPCSTR text, UINT type)
    {
        ++asked;
        lastText = text;
        lastType = type;
        return answer;
    }
    static inline int answer = IDCANCEL;
    static inline int asked = 0;
    static inline CString lastText;
    static inline UINT lastType = 0;
};

}  // namespace commandbars_test
