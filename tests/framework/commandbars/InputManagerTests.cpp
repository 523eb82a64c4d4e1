// The per-thread mouse and keyboard managers without synthesized input: one pair per thread, gone when a worker
// thread ends; the tracked list and its locks; closing every tracked bar while bars let themselves go or refuse;
// the keyboard manager's registered objects and hooks; application deactivation; the mouse-leave hand-over.
#include "TrackingTestSupport.h"

using namespace commandbars_test;

namespace {

class InputManagerTest : public TrackingSiteTest
{
protected:
    void MakeBar(TrackingBar& bar, int type = 2, int position = 5)
    {
        MakeBarWindow(bar, type, position, CRect(0, 0, 200, 40));
        bar.AddButtons({1, 2});
    }
};

struct WorkerManagers
{
    COSMMouseManager* mouse = nullptr;
    COSMKeyboardManager* keyboard = nullptr;
    BOOL mouseHook = FALSE;
    int mouseCount = 0;
    int keyboardCount = 0;
    HANDLE made = nullptr;
    HANDLE finish = nullptr;
};

DWORD WINAPI UseManagers(LPVOID parameter)
{
    auto* worker = static_cast<WorkerManagers*>(parameter);
    worker->mouse = CreateMouseManager();
    worker->keyboard = CreateKeyboardManager();
    worker->mouseHook = worker->mouse->IsHookInstalled() && CreateMouseManager() == worker->mouse;
    worker->mouseCount = COSMMouseManager::GetInstanceCount();
    worker->keyboardCount = COSMKeyboardManager::GetInstanceCount();
    ::SetEvent(worker->made);
    ::WaitForSingleObject(worker->finish, INFINITE);
    return 0;
}

TEST_F(InputManagerTest, EachThreadHasItsOwnManagersUntilItEnds)
{
    COSMMouseManager* mouse = CreateMouseManager();
    COSMKeyboardManager* keyboard = CreateKeyboardManager();
    EXPECT_EQ(mouse, CreateMouseManager());
    EXPECT_EQ(mouse, GetThreadMouseManager());
    EXPECT_EQ(keyboard, GetThreadKeyboardManager());
    EXPECT_TRUE(mouse->IsHookInstalled());
    const int mice = COSMMouseManager::GetInstanceCount();
    const int keyboards = COSMKeyboardManager::GetInstanceCount();

    WorkerManagers worker;
    worker.made = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    worker.finish = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = ::CreateThread(nullptr, 0, &UseManagers, &worker, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(worker.made, 5000));
    EXPECT_NE(mouse, worker.mouse);
    EXPECT_NE(keyboard, worker.keyboard);
    EXPECT_TRUE(worker.mouseHook);
    EXPECT_EQ(mice + 1, worker.mouseCount);
    EXPECT_EQ(keyboards + 1, worker.keyboardCount);
    ::SetEvent(worker.finish);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 5000));
    // The thread's data went with it.
    EXPECT_EQ(mice, COSMMouseManager::GetInstanceCount());
    EXPECT_EQ(keyboards, COSMKeyboardManager::GetInstanceCount());
    ::CloseHandle(thread);
    ::CloseHandle(worker.made);
    ::CloseHandle(worker.finish);

    // A manager with a mouse manager of its own hands that one out.
    EXPECT_EQ(mouse, commandBars->GetMouseManager());
    COSMMouseManager own;
    commandBars->SetMouseManager(&own);
    EXPECT_EQ(&own, commandBars->GetMouseManager());
    commandBars->SetMouseManager(nullptr);
}

TEST_F(InputManagerTest, TheTrackedListKeepsOrderLocksAndTheOutsideSelection)
{
    COSMMouseManager* mouse = CreateMouseManager();
    TrackingBar selected, first, second;
    MakeBar(selected, 1, 0);
    MakeBar(first);
    MakeBar(second);
    ASSERT_TRUE(selected.SetSelected(1, COSMCommandBar::kSelectMouse));
    ASSERT_EQ(&selected, mouse->GetSelectedBar());

    EXPECT_FALSE(mouse->IsTrackActive(nullptr));
    EXPECT_FALSE(mouse->IsTrackActive(&first));
    // The first bar to track takes the selection away from the bar outside the popups.
    mouse->SetTrack(&first);
    EXPECT_EQ(-1, selected.GetSelectedIndex());
    mouse->SetTrack(&second);
    mouse->SetTrack(&first);
    ASSERT_EQ(2, mouse->GetTrackedCount());
    EXPECT_EQ(&first, mouse->GetTrackedAt(0));
    EXPECT_EQ(&second, mouse->GetTopTrackedBar());

    // Only a tracked bar that is not locked is free to follow the mouse.
    const struct
    {
        const COSMCommandBar* bar;
        BOOL active;
    } cases[] = {{nullptr, TRUE}, {&selected, TRUE}, {&first, FALSE}, {&second, FALSE}};
    for (const auto& c : cases)
        EXPECT_EQ(c.active, mouse->IsTrackActive(c.bar));
    mouse->LockTrackRecurse(TRUE);
    EXPECT_EQ(1, first.GetTrackLockCount());
    EXPECT_EQ(1, second.GetTrackLockCount());
    EXPECT_EQ(0, selected.GetTrackLockCount());
    EXPECT_TRUE(mouse->IsTrackActive(&first));
    mouse->LockTrackRecurse(FALSE);
    EXPECT_FALSE(mouse->IsTrackActive(&first));

    // The emptied list forgets the last point and eats no more releases.
    mouse->SetSwallowButtonUp(TRUE);
    COSMMouseManager::SetLastPoint(CPoint(5, 6));
    mouse->RemoveTrack(&first);
    EXPECT_FALSE(mouse->GetSwallowButtonUp());
    EXPECT_EQ(CPoint(5, 6), COSMMouseManager::GetLastPoint());
    mouse->RemoveTrack(&second);
    EXPECT_EQ(CPoint(-1, -1), COSMMouseManager::GetLastPoint());
    EXPECT_EQ(0, mouse->GetTrackedCount());
}

// A bar whose site lets it go as it stops tracking, or one that refuses to stop.
class LeavingBar : public TrackingBar
{
public:
    void StopTracking() override
    {
        if (refuses)
            return;
        TrackingBar::StopTracking();
        if (releaseOnStop)
        {
            releaseOnStop = FALSE;
            InternalRelease();
        }
    }
    BOOL refuses = FALSE;
    BOOL releaseOnStop = FALSE;
};

TEST_F(InputManagerTest, ClosingEveryTrackedBarSurvivesBarsThatGoOrRefuse)
{
    COSMMouseManager* mouse = CreateMouseManager();
    int destroyed = 0;
    auto* released = new LeavingBar;
    released->destroyed = &destroyed;
    released->releaseOnStop = TRUE;
    MakeBar(*released);
    LeavingBar refusing;
    MakeBar(refusing);
    refusing.refuses = TRUE;
    TrackingBar plain;
    MakeBar(plain);
    ASSERT_TRUE(released->SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(refusing.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(plain.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_EQ(3, mouse->GetTrackedCount());

    mouse->SendTrackLost();
    EXPECT_EQ(0, mouse->GetTrackedCount());
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(0, plain.GetTrackingMode());
    // The refusing bar is off the list though it still thinks it tracks; it leaves the keyboard manager itself.
    EXPECT_EQ(1, refusing.GetTrackingMode());
    refusing.refuses = FALSE;
    refusing.StopTracking();
    // Closing the manager's popups is the same walk.
    ASSERT_TRUE(plain.SetTrackingMode(1, FALSE, TRUE));
    commandBars->ClosePopups();
    EXPECT_EQ(0, plain.GetTrackingMode());
}

TEST_F(InputManagerTest, ApplicationDeactivationClosesTrackedBars)
{
    TrackingBar bar;
    MakeBar(bar);
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    // Activation comes and goes without closing anything; losing it closes the popups.
    frame.SendMessage(WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(1, bar.GetTrackingMode());
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    other.SendMessage(WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(0, bar.GetTrackingMode());
    EXPECT_FALSE(CreateKeyboardManager()->IsCallWndProcHookInstalled());
    other.DestroyWindow();
}

// A registered object answering with a fixed value, and recording that it was asked.
class AnsweringSink : public COSMHookManagerSink
{
public:
    explicit AnsweringSink(int answer) : m_answer(answer) {}
    int OnHookMessage(HWND hWnd, UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override
    {
        asked.push_back(static_cast<UINT>(wParam));
        EXPECT_EQ(nullptr, hWnd);
        EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), message);
        if (onAsk)
            onAsk();
        return m_answer;
    }
    std::vector<UINT> asked;
    std::function<void()> onAsk;

private:
    int m_answer;
};

TEST_F(InputManagerTest, KeyboardHooksLiveWhileObjectsAreRegistered)
{
    COSMKeyboardManager* keyboard = CreateKeyboardManager();
    AnsweringSink silent(0), passing(2), eating(1);
    ASSERT_FALSE(keyboard->IsKeyboardHookInstalled());

    // Nobody answers: the key is eaten.
    keyboard->HookKeyboard(&silent);
    EXPECT_TRUE(keyboard->IsKeyboardHookInstalled());
    EXPECT_TRUE(keyboard->IsCallWndProcHookInstalled());
    EXPECT_TRUE(keyboard->ProcessKeyboardHooks(WM_KEYDOWN, 'A', 0));
    // The first answer decides, the last registered asked first (an open popup before the bar it came from);
    // registering twice changes nothing.
    keyboard->HookKeyboard(&eating);
    keyboard->HookKeyboard(&passing);
    keyboard->HookKeyboard(&silent);
    EXPECT_EQ(3, keyboard->GetHookedCount());
    EXPECT_FALSE(keyboard->ProcessKeyboardHooks(WM_KEYDOWN, 'B', 0));
    EXPECT_EQ(std::vector<UINT>{'A'}, silent.asked);
    EXPECT_EQ(std::vector<UINT>{'B'}, passing.asked);
    EXPECT_TRUE(eating.asked.empty());
    keyboard->UnhookKeyboard(&passing);
    EXPECT_TRUE(keyboard->ProcessKeyboardHooks(WM_KEYDOWN, 'C', 0));
    EXPECT_EQ(std::vector<UINT>{'C'}, eating.asked);
    EXPECT_EQ(std::vector<UINT>{'A'}, silent.asked);

    // An object that takes another out while asked: the other is not asked any more.
    AnsweringSink later(1);
    AnsweringSink remover(0);
    keyboard->UnhookKeyboard(&eating);
    keyboard->HookKeyboard(&later);
    keyboard->HookKeyboard(&remover);
    remover.onAsk = [&] { keyboard->UnhookKeyboard(&later); };
    EXPECT_TRUE(keyboard->ProcessKeyboardHooks(WM_KEYDOWN, 'D', 0));
    EXPECT_EQ(std::vector<UINT>{'D'}, remover.asked);
    EXPECT_TRUE(later.asked.empty());
    EXPECT_EQ((std::vector<UINT>{'A', 'D'}), silent.asked);
    remover.onAsk = nullptr;
    keyboard->UnhookKeyboard(&remover);

    keyboard->UnhookKeyboard(&silent);
    EXPECT_EQ(0, keyboard->GetHookedCount());
    EXPECT_FALSE(keyboard->IsKeyboardHookInstalled());
    EXPECT_FALSE(keyboard->IsCallWndProcHookInstalled());
}

// A window that counts the WM_MOUSELEAVE it gets.
class LeaveCounter : public CWnd
{
public:
    BOOL Create(CWnd* parent, const CRect& rect)
    {
        return CreateEx(0, AfxRegisterWndClass(0), "leave", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.Width(),
                        rect.Height(), parent->GetSafeHwnd(), nullptr);
    }
    int leaves = 0;

protected:
    afx_msg void OnMouseLeave() { ++leaves; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LeaveCounter, CWnd)
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

TEST_F(InputManagerTest, WatchingAnotherWindowForTheMouseLeavingEndsTheFirstAtOnce)
{
    COSMMouseManager* mouse = CreateMouseManager();
    LeaveCounter first, second;
    ASSERT_TRUE(first.Create(&frame, CRect(0, 100, 50, 150)));
    ASSERT_TRUE(second.Create(&frame, CRect(60, 100, 110, 150)));
    mouse->TrackMouseLeave(first.GetSafeHwnd());
    mouse->TrackMouseLeave(first.GetSafeHwnd());
    EXPECT_EQ(0, first.leaves);
    mouse->TrackMouseLeave(second.GetSafeHwnd());
    EXPECT_EQ(1, first.leaves);
    EXPECT_EQ(second.GetSafeHwnd(), mouse->GetMouseLeaveWindow());
    // The first window's poll is over: its timer is gone.
    EXPECT_FALSE(::KillTimer(first.GetSafeHwnd(), COSMMouseManager::kMouseLeaveTimerId));
    EXPECT_TRUE(::KillTimer(second.GetSafeHwnd(), COSMMouseManager::kMouseLeaveTimerId));
    mouse->TrackMouseLeave(nullptr);
    EXPECT_EQ(1, second.leaves);
    EXPECT_EQ(nullptr, mouse->GetMouseLeaveWindow());
    first.DestroyWindow();
    second.DestroyWindow();
}

}  // namespace
