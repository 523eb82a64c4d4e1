// What the MDI tab workspace tests share: an active MDI frame with a command-bars manager that routes commands to
// its workspace first, document windows made through the client, the screen points of tabs and splitters, and drags
// played through SendInput on a second thread while this one pumps (each step reaches the modal loop on its own).
//
//   StartWorkspace(TRUE);                 // grouping on
//   DocChild* a = OpenChild("A");
//   PlayDrag(TabCentre(0, 0), {GroupPoint(0, CPoint(-10, -10))});
#pragma once

#include "InputTestSupport.h"
#include "MenuBarTestSupport.h"

#include "classlib/GuardedCallbacks.h"
#include "classlib/ScopedHandle.h"
#include "framework/tabs/TabClientWnd.h"
#include "framework/tabs/TabWorkspaceStripWnd.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace workspace_test {

using namespace commandbars_test;
using osm::test::PlayInputWhilePumping;

// The frame asks its workspace first about every command, as a program hosting one does.
class WorkspaceFrame : public MdiTestFrame
{
public:
    COSMTabClientWnd* workspace = nullptr;
    // The smallest size the user may give the frame (the system's when zero).
    CSize minimumSize{0, 0};
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override
    {
        if (workspace && workspace->GetSafeHwnd() && workspace->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return MdiTestFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const LRESULT result = MdiTestFrame::WindowProc(message, wParam, lParam);
        if (message == WM_GETMINMAXINFO && minimumSize.cx > 0)
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = CPoint(minimumSize.cx, minimumSize.cy);
        return result;
    }
};

// Asks a question every 15 ms from a timer of the window (so that a modal loop running then dispatches it) until it
// answers true or three seconds pass: an action waits for the state it needs instead of for a guessed time.
class Polled
{
public:
    static void Until(HWND window, std::function<bool()> step)
    {
        s_step = std::move(step);
        s_start = ::GetTickCount();
        ::SetTimer(window, kTimerId, 15, &Fire);
    }

private:
    static constexpr UINT_PTR kTimerId = 0x5EEE;
    static void CALLBACK Fire(HWND window, UINT, UINT_PTR id, DWORD)
    {
        if (!s_step || s_step() || ::GetTickCount() - s_start > 3000)
        {
            ::KillTimer(window, id);
            s_step = nullptr;
        }
    }
    static inline std::function<bool()> s_step;
    static inline DWORD s_start = 0;
};

// Posts a quit the moment a loop of this thread takes its first mouse move while a window holds the capture (a
// message hook sees the move leave the queue): the quit then waits in the queue while the loop handles that move, as
// one posted by another part of the program during a drag does.
class QuitAtFirstCapturedMove
{
public:
    explicit QuitAtFirstCapturedMove(int exitCode)
    {
        s_exitCode = exitCode;
        s_armed = true;
        m_hook.Reset(::SetWindowsHookExA(WH_GETMESSAGE, osm::GuardedHookProc<kName, &OnMessageTaken>, nullptr,
                                         ::GetCurrentThreadId()));
    }
    ~QuitAtFirstCapturedMove() { s_armed = false; }
    QuitAtFirstCapturedMove(const QuitAtFirstCapturedMove&) = delete;
    QuitAtFirstCapturedMove& operator=(const QuitAtFirstCapturedMove&) = delete;
    bool Hooked() const { return m_hook.IsValid(); }
    // Whether the quit was posted.
    bool Posted() const { return !s_armed; }

private:
    static LRESULT OnMessageTaken(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && s_armed && msg->message == WM_MOUSEMOVE && ::GetCapture())
        {
            s_armed = false;
            ::PostQuitMessage(s_exitCode);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static constexpr char kName[] = "test quit hook";
    static inline int s_exitCode = 0;
    static inline bool s_armed = false;
    ScopedHook m_hook;
};

class WorkspaceTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(
            frame.Create(nullptr, "tab workspace", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CRect(100, 100, 600, 450)));
        frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(osm::test::ActivateWindow(frame.GetSafeHwnd()));
        commandBars = AdoptRef(new COSMCommandBars);
        commandBars->SetSite(&frame);
        ASSERT_TRUE(commandBars->CreateDockBars());
        MoveMouseTo(CPoint(1200, 1000));
    }
    void TearDown() override
    {
        commandBars->ClosePopups();
        ::ReleaseCapture();
        for (auto& child : children)
            if (child->GetSafeHwnd())
                child->DestroyWindow();
        children.clear();
        frame.workspace = nullptr;
        if (workspace.GetSafeHwnd())
            workspace.Detach();
        commandBars.Reset();
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        CommandBarsTest::TearDown();
    }

    void StartWorkspace(BOOL grouping)
    {
        ASSERT_TRUE(workspace.Attach(&frame, grouping));
        frame.workspace = &workspace;
        workspace.SetCommandBars(commandBars.Get());
        PumpMessages();
    }

    DocChild* OpenChild(const char* title)
    {
        auto child = std::make_unique<DocChild>();
        if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 240, 160), &frame))
            return nullptr;
        children.push_back(std::move(child));
        PumpMessages();
        return children.back().get();
    }

    HWND ActiveChild() const
    {
        return reinterpret_cast<HWND>(::SendMessageA(frame.m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
    }

    COSMTabWorkspace* Group(int index) const { return workspace.GetWorkspace(index); }

    // The captions of a group's tabs, in order.
    std::vector<std::string> Captions(int group) const
    {
        std::vector<std::string> captions;
        COSMTabWorkspace* g = Group(group);
        for (int i = 0; g && i < g->GetItemCount(); ++i)
            captions.emplace_back(static_cast<LPCSTR>(g->GetItem(i)->GetCaptionText()));
        return captions;
    }

    // The groups' extents along the split direction.
    std::vector<int> Extents() const
    {
        std::vector<int> extents;
        for (int i = 0; i < workspace.GetWorkspaceCount(); ++i)
        {
            const CRect rc = Group(i)->GetControlRect();
            extents.push_back(workspace.GetSplitDirection() == 0 ? rc.Width() : rc.Height());
        }
        return extents;
    }

    // A point of a group's window, on the screen.
    CPoint ScreenOf(const COSMTabWorkspace* group, CPoint point) const
    {
        ::ClientToScreen(group->GetWindow(), &point);
        return point;
    }
    CPoint TabCentre(int group, int index) const
    {
        return ScreenOf(Group(group), Group(group)->GetItem(index)->GetRect().CenterPoint());
    }

    // Resizes the frame so that the MDI client's client area is the size given.
    void SizeClientTo(int width, int height)
    {
        CRect client;
        ::GetClientRect(frame.m_hWndMDIClient, &client);
        CRect window;
        frame.GetWindowRect(&window);
        frame.SetWindowPos(nullptr, 0, 0, window.Width() + width - client.Width(),
                           window.Height() + height - client.Height(), SWP_NOMOVE | SWP_NOZORDER);
        frame.RecalcLayout();
        PumpMessages();
    }

    // Presses at from, moves through the points and releases (or, with a key, presses the key instead), each step
    // given time to reach the loop the press started.
    void PlayDrag(CPoint from, const std::vector<CPoint>& path, WORD keyInsteadOfRelease = 0)
    {
        MoveMouseTo(from);
        PlayInputWhilePumping([&] {
            SendMouseInput(MOUSEEVENTF_LEFTDOWN);
            ::Sleep(80);
            for (CPoint point : path)
            {
                SendMouseMoveTo(point);
                ::Sleep(80);
            }
            if (keyInsteadOfRelease)
            {
                QueueKey(keyInsteadOfRelease);
                ::Sleep(80);
            }
            SendMouseInput(MOUSEEVENTF_LEFTUP);
            ::Sleep(80);
        });
        PumpFor(60);
    }

    // Plays a drag as PlayDrag does while another part of the program posts a quit (exitCode) as the drag's loop
    // takes its first move; this thread's pump stands for the application's loop. True when the quit reached it.
    bool PlayDragPostingQuit(CPoint from, const std::vector<CPoint>& path, int exitCode, int* received)
    {
        MoveMouseTo(from);
        QuitAtFirstCapturedMove quit(exitCode);
        EXPECT_TRUE(quit.Hooked());
        const bool reached = osm::test::PlayInputWatchingForQuit(
            [&] {
                SendMouseInput(MOUSEEVENTF_LEFTDOWN);
                ::Sleep(80);
                for (CPoint point : path)
                {
                    SendMouseMoveTo(point);
                    ::Sleep(80);
                }
                SendMouseInput(MOUSEEVENTF_LEFTUP);
                ::Sleep(80);
            },
            received);
        EXPECT_TRUE(quit.Posted()) << "no loop took a move under the capture";
        return reached;
    }

    WorkspaceFrame frame;
    RefPtr<COSMCommandBars> commandBars;
    COSMTabClientWnd workspace;
    std::vector<std::unique_ptr<DocChild>> children;
};

}  // namespace workspace_test
