// What the tests under synthesized input share: moving the cursor, clicks and keys through SendInput, and an action
// run once from a window timer, so that a modal loop (a held button, a tracked popup) dispatches it.
#pragma once

#include "InputThread.h"
#include "SyntheticInput.h"
#include "TrackingTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace commandbars_test {

using osm::test::SendMouseInput;
using osm::test::SendMouseMoveTo;

// Moves the cursor to the screen point and lets the move arrive.
inline void MoveMouseTo(CPoint point)
{
    SendMouseMoveTo(point);
    PumpUntil([&] {
        CPoint now;
        return ::GetCursorPos(&now) && now == point;
    });
    PumpFor(30);
}

inline CPoint ScreenPoint(const CWnd& window, CPoint client)
{
    ::ClientToScreen(window.GetSafeHwnd(), &client);
    return client;
}

// The screen centre of a bar's control, wherever the bar is when it is asked.
inline CPoint ControlCentre(const COSMCommandBar& bar, int index)
{
    return ScreenPoint(bar, bar.GetControl(index)->GetRect().CenterPoint());
}

inline void ClickAt(CPoint screen)
{
    MoveMouseTo(screen);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(60);
}

// Two presses in a row, quicker than the double-click time; settle is how long the window gets to answer.
inline void DoubleClickAt(CPoint screen, DWORD settle = 120)
{
    MoveMouseTo(screen);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(settle);
}

// The key going down or up, queued without pumping.
inline void QueueKeyEvent(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(INPUT));
}

// A key pressed and released (or only one of them).
inline void SendKey(WORD key, bool down = true, bool up = true)
{
    if (down)
        QueueKeyEvent(key, false);
    if (up)
        QueueKeyEvent(key, true);
    PumpFor(40);
}

// A key pressed and released, queued without pumping: a modal loop (a tracked popup, a drag) takes it.
inline void QueueKey(WORD key)
{
    QueueKeyEvent(key, false);
    QueueKeyEvent(key, true);
}

using osm::test::PumpUntilQuit;

// Runs an action once, from a timer of the window, after the delay: the press loop dispatches it while it holds
// the button.
class Scheduled
{
public:
    static void After(HWND window, UINT delay, std::function<void()> action)
    {
        s_action = std::move(action);
        ::SetTimer(window, kTimerId, delay, &Fire);
    }

private:
    static constexpr UINT_PTR kTimerId = 0x5EED;
    static void CALLBACK Fire(HWND window, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(window, id);
        auto action = std::move(s_action);
        s_action = nullptr;
        if (action)
            action();
    }
    static inline std::function<void()> s_action;
};

// Presses at the start point, moves by the offset and, once the drag loop runs (after the delay), notes what
// tracking says and posts WM_QUIT with the code; the quit the loop posts again comes back in quit. A loop that loses
// the quit is ended by a release half a second later, so the wait fails instead of hanging. The button stays down.
inline bool DragUntilQuit(HWND timerWindow, CPoint start, CPoint offset, UINT delay, int code,
                          const std::function<bool()>& tracking, bool* trackedAtQuit, MSG* quit)
{
    MoveMouseTo(start);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    SendMouseMoveTo(start + offset);
    *trackedAtQuit = false;
    Scheduled::After(timerWindow, delay, [=] {
        *trackedAtQuit = tracking();
        ::PostQuitMessage(code);
        Scheduled::After(timerWindow, 500, [] { SendMouseInput(MOUSEEVENTF_LEFTUP); });
    });
    return PumpUntilQuit(quit);
}

// A manager whose site frame is active, so that popups track and capture the mouse; after each test no popup
// tracks and the cursor is out of the way.
class ActivePopupSiteTest : public TrackingSiteTest
{
protected:
    BOOL CreateSiteFrame() override { return frame.CreateActiveTestFrame("popup test"); }
    void TearDown() override
    {
        CreateMouseManager()->SendTrackLost();
        MoveMouseTo(CPoint(1200, 1000));
        TrackingSiteTest::TearDown();
    }

    // A popup of the manager with buttons of the ids, captioned "Item <id>".
    RefPtr<COSMPopupBar> MakePopup(std::initializer_list<UINT> ids)
    {
        RefPtr<COSMPopupBar> popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
        for (UINT id : ids)
        {
            CString caption;
            caption.Format("Item %u", id);
            popup->GetControls()->Add(1, static_cast<int>(id))->SetCaption(caption);
        }
        return popup;
    }
};

using Step = std::function<void()>;

// Runs the steps one per timer tick, so that whatever loop is running (a tracked menu, a held button, a drag)
// dispatches them; the steps only queue input and never pump, so every message stays that loop's.
class InputScript
{
public:
    static void Start(HWND window, std::vector<Step> steps, UINT interval = 80)
    {
        s_steps = std::move(steps);
        s_next = 0;
        ::SetTimer(window, kTimerId, interval, &Tick);
    }
    static bool Done() { return s_next >= s_steps.size(); }
    static void Stop(HWND window)
    {
        ::KillTimer(window, kTimerId);
        s_steps.clear();
        s_next = 0;
    }

private:
    static constexpr UINT_PTR kTimerId = 0x5C71;
    static void CALLBACK Tick(HWND window, UINT, UINT_PTR id, DWORD)
    {
        if (Done())
        {
            ::KillTimer(window, id);
            return;
        }
        const size_t step = s_next++;
        s_steps[step]();
    }
    static inline std::vector<Step> s_steps;
    static inline size_t s_next = 0;
};

// Steps of an input script: a move of the cursor (to a point found when the step runs, for a window that appears
// only during the script), a button event, a key going down or up.
inline Step MoveTo(CPoint screen)
{
    return [screen] { SendMouseMoveTo(screen); };
}
inline Step MoveTo(std::function<CPoint()> where)
{
    return [where] { SendMouseMoveTo(where()); };
}
inline Step Press(DWORD flags)
{
    return [flags] { SendMouseInput(flags); };
}
inline Step Key(WORD key, bool up)
{
    return [key, up] { QueueKeyEvent(key, up); };
}

// A manager in customize mode on an active, focused site frame; after each test no script runs, no button or Ctrl is
// held, the cursor is out of the way and customize mode is off.
class CustomizeSiteTest : public TrackingSiteTest
{
protected:
    BOOL CreateSiteFrame() override { return frame.CreateActiveTestFrame("customize test"); }
    void SetUp() override
    {
        TrackingSiteTest::SetUp();
        frame.SetFocus();
        commandBars->SetCustomizeMode(TRUE);
    }
    void TearDown() override
    {
        InputScript::Stop(frame.GetSafeHwnd());
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        SendMouseInput(MOUSEEVENTF_RIGHTUP);
        QueueKeyEvent(VK_CONTROL, true);
        MoveMouseTo(CPoint(1200, 1000));
        commandBars->SetCustomizeMode(FALSE);
        TrackingSiteTest::TearDown();
    }
};

// The cursor's mask bits (AND and XOR masks of a monochrome cursor): the same image gives the same bits whatever
// handle a load gave it. Empty when the cursor has no image.
inline std::vector<BYTE> CursorBits(HCURSOR cursor)
{
    ICONINFO info{};
    if (!cursor || !::GetIconInfo(cursor, &info))
        return {};
    BITMAP bitmap{};
    ::GetObject(info.hbmMask, sizeof(bitmap), &bitmap);
    std::vector<BYTE> bits(static_cast<size_t>(bitmap.bmWidthBytes) * static_cast<size_t>(bitmap.bmHeight));
    ::GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return bits;
}

// The clipboard's text, or "<not opened>" when another window holds it.
inline std::string ClipboardText(HWND owner)
{
    std::string text;
    if (!::OpenClipboard(owner))
        return "<not opened>";
    if (HANDLE data = ::GetClipboardData(CF_TEXT))
    {
        text = static_cast<const char*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

}  // namespace commandbars_test
