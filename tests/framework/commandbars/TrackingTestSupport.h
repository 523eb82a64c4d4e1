// What the tracking, key, execution and manager tests share: a bar whose visibility follows its window, a popup
// control whose opening the test decides, recorders for beeps and accessibility events, and a site frame that
// handles one control notification in an ON_NOTIFY entry.
//
//   TrackingBar bar;
//   ASSERT_TRUE(bar.CreateChild(&frame, CRect(0, 0, 300, 24)));   // or CreatePopup(owner, rect)
//   bar.AddButtons({101, 102, 103}, CSize(40, 20));               // laid out in a row (or a column)
//   bar.SetTrackingMode(1, TRUE, TRUE);
#pragma once

#include "CommandBarsTestFrame.h"
#include "CommandBarsTestSupport.h"

#include "framework/commandbars/KeyboardManager.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"

#include <functional>
#include <initializer_list>
#include <vector>

namespace commandbars_test {

// Dispatches what waits for this thread.
void PumpMessages();
// Pumps for the time given.
void PumpFor(DWORD milliseconds);
// Pumps until the test holds or the time runs out; the test's last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000);

// A bar that is visible when its window is and records what the base leaves to bar types.
class TrackingBar : public COSMCommandBar
{
public:
    ~TrackingBar() override;

    BOOL IsVisible() const override { return GetSafeHwnd() && (GetStyle() & WS_VISIBLE); }
    void OnRecalcLayout() override { ++layouts; }
    void EnsureVisible(COSMControl* control) override { ensured.push_back(control ? control->GetIndex() : -1); }
    void OnChildBarRButtonUp(COSMCommandBar* bar, int x, int y) override { childRButtonUps.push_back(bar); }
    BOOL ProcessSpecialKey(int kind) override
    {
        if (kinds)
            kinds->push_back(kind);
        return COSMCommandBar::ProcessSpecialKey(kind);
    }
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) override
    {
        ++idleUpdates;
        return COSMCommandBar::OnIdleUpdateCmdUI(wParam, lParam);
    }

    // A visible child of the parent, or a visible top-level popup owned by the owner (null: none).
    BOOL CreateChild(CWnd* parent, const CRect& rect);
    BOOL CreatePopup(CWnd* owner, const CRect& rect, DWORD exStyle = 0);

    // Buttons with the ids, laid out one after another: a row, or a column when vertical.
    void AddButtons(std::initializer_list<UINT> ids, CSize size = CSize(40, 20), BOOL vertical = FALSE);
    // Lays the controls out again in a row (or column) from the top-left corner.
    void LayOut(CSize size = CSize(40, 20), BOOL vertical = FALSE);

    void SetPositionField(int position) { m_position = position; }
    void SetTypeField(int type) { m_type = type; }
    void SetParentBar(COSMCommandBar* parent) { m_parentBar = parent; }
    COSMCommandBar* GetParentCommandBar() const override { return m_parentBar; }

    int layouts = 0;
    int idleUpdates = 0;
    std::vector<int> ensured;
    std::vector<COSMCommandBar*> childRButtonUps;
    // Where the bar records the kinds ProcessSpecialKey is asked for, and counts its destruction (both may outlive
    // it).
    std::vector<int>* kinds = nullptr;
    int* destroyed = nullptr;

private:
    COSMCommandBar* m_parentBar = nullptr;
};

// A control whose popup opens when the test says so (opens), recording every open and close request.
template <class Base> class TestOpening : public Base
{
public:
    BOOL OnSetPopup(BOOL popup) override
    {
        requests.push_back(popup);
        if (popup && !opens)
            return FALSE;
        m_open = popup;
        return TRUE;
    }
    BOOL IsPopupOpen() const override { return m_open; }

    BOOL opens = TRUE;
    std::vector<BOOL> requests;

private:
    BOOL m_open = FALSE;
};

// A button of that kind that also records hovers and customize clicks.
class TestPopupControl : public TestOpening<COSMControlButton>
{
public:
    void OnMouseHover() override
    {
        ++hovers;
        TestOpening<COSMControlButton>::OnMouseHover();
    }
    void OnCustomizeLButtonDown(CPoint point) override { ++customizeClicks; }
    int hovers = 0;
    int customizeClicks = 0;
};

// A popup control (Type 2) of that kind: keyboard navigation opens it with Right or Down.
using TestControlPopup = TestOpening<COSMControlPopup>;

// Adds a made control to the bar (the bar's collection takes the reference).
template <class T> T* AddControl(COSMCommandBar& bar, UINT id, LPCSTR caption = nullptr)
{
    T* control = new T;
    bar.GetControls()->AddControl(control, static_cast<int>(id));
    if (caption)
        control->SetCaption(caption);
    return control;
}

// Records MessageBeep calls for as long as it lives.
class BeepRecorder
{
public:
    BeepRecorder();
    ~BeepRecorder();
    BeepRecorder(const BeepRecorder&) = delete;
    BeepRecorder& operator=(const BeepRecorder&) = delete;

    static int count;

private:
    static BOOL WINAPI Record(UINT type);
    BOOL(WINAPI* m_saved)(UINT);
};

// Records the accessibility events an object raises.
struct WinEvent
{
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
    bool operator==(const WinEvent& other) const
    {
        return event == other.event && window == other.window && object == other.object && child == other.child;
    }
};
std::vector<WinEvent>& RecordedWinEvents();
void WINAPI RecordWinEvent(DWORD event, HWND hWnd, LONG idObject, LONG idChild);

// The site frame of the tracking and execution tests: besides what the shared frame records, it records the bars'
// tracking messages (10328, 10329, 10330) and WM_SYSCOMMAND (which it keeps from its default handling), answering
// them through onTracking; notification 77 of control 501 is handled in an ON_NOTIFY entry with the result the test
// sets.
class TrackingFrame : public CCommandBarsTestFrame
{
public:
    struct Message
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> tracking;
    std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)> onTracking;
    int CountTracking(UINT message) const
    {
        int count = 0;
        for (const Message& m : tracking)
            count += m.message == message;
        return count;
    }

    static constexpr UINT kHandledCode = 77;
    static constexpr UINT kHandledId = 501;
    LRESULT notifyResult = 0;
    std::vector<NMOSMCONTROL> notified;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnControlNotify(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()
};

// Makes the window the active, foreground one (the mouse capture needs it); false when it does not become so.
bool ActivateTestWindow(HWND window);

// A manager whose site is a TrackingFrame. After each test no bar may stay in the thread's mouse or keyboard
// manager.
class TrackingSiteTest : public CommandBarsTest
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the frame (shown, not activated, unless a test needs more).
    virtual BOOL CreateSiteFrame() { return frame.CreateTestFrame(); }
    // A bar of the manager of the Type and position, a child window of the frame at the rectangle.
    void MakeBarWindow(TrackingBar& bar, int type, int position, const CRect& rect);

    TrackingFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
};

}  // namespace commandbars_test
