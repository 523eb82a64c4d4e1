// A small frame window for the command-bar tests: the site that bars, controls and the manager send their
// notifications to. It records what arrives and answers as the test tells it to:
//
//   CCommandBarsTestFrame frame;
//   ASSERT_TRUE(frame.CreateTestFrame());
//   frame.SetReply(CCommandBarsTestFrame::kBeforeCreateControl, 1);
//   ... work that notifies the site ...
//   EXPECT_EQ(frame.CountOf(CCommandBarsTestFrame::kControlNotify), 1);
//   EXPECT_EQ(frame.StatusTexts(), (std::vector<std::string>{"Saves the file", ""}));
//
// Recorded: the site notifications 10326, 10327, 10329, 10332, 10334, 10335, 10337, 10343, 10349 and 0x2862 (with
// wParam and lParam), every WM_COMMAND (after recording it goes on to the frame's normal routing), every
// WM_SYSCOMMAND and 0x313 (they go on too unless the test answers them), each text the status line is given, and each
// RecalcLayout with its notify flag. A message's lParam often points at a block that lives only while the message
// is sent: OnMessage sees the message while it is being handled, and its answer (when it returns one) is the reply.
#pragma once

#include "classlib/FrameWnd.h"
#include "classlib/Geometry.h"
#include "ActiveWindow.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class CCommandBarsTestFrame : public CFrameWnd
{
public:
    // The site notifications the frame records.
    static constexpr UINT kStatusText = 10326;  // a control's status text shows (wParam the control) or goes (0)
    static constexpr UINT kCustomizeSelection = 10327;   // the customize selection changed
    static constexpr UINT kBeforeCreateControl = 10334;  // a control is about to be made (lParam the creation block)
    static constexpr UINT kAfterCreateControl = 10335;   // it was added (the same block, control filled)
    static constexpr UINT kCreateBar = 10337;            // a popup bar or toolbar is requested (lParam the request)
    static constexpr UINT kControlNotify = 0x2862;       // a control notification (lParam the notification block)
    static constexpr UINT kTornOff = 10343;              // a popup was torn off (wParam the toolbar, lParam the popup)
    static constexpr UINT kControlRButtonUp = 10329;     // a right release over a control (wParam the point)
    static constexpr UINT kContextMenuBuilt = 10332;     // a context menu was built (wParam the bar, lParam the popup)
    static constexpr UINT kRibbonMinimized = 10349;      // a ribbon was minimized or restored (wParam the ribbon)
    static constexpr UINT kSystemMenuAt = 0x313;         // the system menu asked for at a screen point

    struct Record
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    CCommandBarsTestFrame() = default;
    ~CCommandBarsTestFrame() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    // A shown (not activated) top-level frame.
    BOOL CreateTestFrame(const char* title = "command bars test frame", const CRect& rect = CRect(40, 40, 560, 400))
    {
        LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        if (!Create(cls, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect))
            return FALSE;
        ShowWindow(SW_SHOWNOACTIVATE);
        UpdateWindow();
        return TRUE;
    }

    // A frame that is also the active, foreground window, as the mouse capture and the tests under synthesized input
    // need it; FALSE when it cannot be made so.
    BOOL CreateActiveTestFrame(const char* title)
    {
        return CreateTestFrame(title, CRect(100, 100, 600, 450)) && osm::test::ActivateWindow(m_hWnd);
    }

    // Makes the frame run the command (doing nothing with it), as a program's handler would: the bars' command
    // update then finds it handled and keeps its controls enabled, where the default disables a command nobody runs.
    void HandleCommand(UINT id) { m_handledCommands.insert(id); }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override
    {
        if (nCode == CN_COMMAND && m_handledCommands.count(nID) != 0)
            return TRUE;
        return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

    // What the frame answers to a recorded site notification (0 unless told).
    void SetReply(UINT message, LRESULT reply) { m_replies[message] = reply; }
    // Called while a recorded message is handled; an answer overrides SetReply's.
    std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)> OnMessage;

    const std::vector<Record>& Records() const { return m_records; }
    std::vector<Record> RecordsOf(UINT message) const
    {
        std::vector<Record> found;
        std::copy_if(m_records.begin(), m_records.end(), std::back_inserter(found),
                     [message](const Record& r) { return r.message == message; });
        return found;
    }
    int CountOf(UINT message) const { return static_cast<int>(RecordsOf(message).size()); }
    const std::vector<std::string>& StatusTexts() const { return m_statusTexts; }
    // The notify flag of each RecalcLayout, in order.
    const std::vector<BOOL>& Layouts() const { return m_layouts; }
    void ClearRecords()
    {
        m_records.clear();
        m_statusTexts.clear();
        m_layouts.clear();
    }

    static bool IsRecorded(UINT message)
    {
        switch (message)
        {
        case kStatusText:
        case kCustomizeSelection:
        case kBeforeCreateControl:
        case kAfterCreateControl:
        case kCreateBar:
        case kControlNotify:
        case kTornOff:
        case kControlRButtonUp:
        case kContextMenuBuilt:
        case kRibbonMinimized:
        case kSystemMenuAt:
        case WM_SYSCOMMAND:
        case WM_COMMAND:
            return true;
        default:
            return false;
        }
    }

    using CFrameWnd::SetMessageText;
    void SetMessageText(LPCSTR lpszText) override
    {
        m_statusTexts.emplace_back(lpszText ? lpszText : "");
        CFrameWnd::SetMessageText(lpszText);
    }

    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        m_layouts.push_back(bNotify);
        CFrameWnd::RecalcLayout(bNotify);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (!IsRecorded(message))
            return CFrameWnd::WindowProc(message, wParam, lParam);
        m_records.push_back(Record{message, wParam, lParam});
        std::optional<LRESULT> answer;
        if (OnMessage)
            answer = OnMessage(message, wParam, lParam);
        if (message == WM_COMMAND && !answer)
            return CFrameWnd::WindowProc(message, wParam, lParam);
        // The system commands and the system menu run as usual unless the test answers them.
        if ((message == WM_SYSCOMMAND || message == kSystemMenuAt) && !answer && m_replies.count(message) == 0)
            return CFrameWnd::WindowProc(message, wParam, lParam);
        if (answer)
            return *answer;
        auto reply = m_replies.find(message);
        return reply == m_replies.end() ? 0 : reply->second;
    }

private:
    std::vector<Record> m_records;
    std::vector<std::string> m_statusTexts;
    std::vector<BOOL> m_layouts;
    std::map<UINT, LRESULT> m_replies;
    std::set<UINT> m_handledCommands;
};
