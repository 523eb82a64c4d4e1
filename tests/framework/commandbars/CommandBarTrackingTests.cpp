// A bar's tracking mode, hot and popped-up controls, keyboard navigation with the key table and access keys, the
// site's say over keys, the bar's timers and mouse handlers: real bar windows of a manager whose site is a frame;
// keys arrive through the bar's hook sink as the keyboard manager hands them over, mouse messages are sent.
#include "TrackingTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"

#include <initializer_list>
#include <string>

using namespace commandbars_test;

namespace {

// Holds the thread's key state with the given keys down, for as long as it lives.
class ScopedKeyState
{
public:
    explicit ScopedKeyState(std::initializer_list<int> down)
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        ::GetKeyboardState(state);
        for (int key : down)
            state[key] = 0x80;
        ::SetKeyboardState(state);
    }
    ~ScopedKeyState() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

class TrackingTest : public TrackingSiteTest
{
protected:
    void SetUp() override
    {
        TrackingSiteTest::SetUp();
        RecordedWinEvents().clear();
    }
    void TearDown() override
    {
        EXPECT_FALSE(CreateKeyboardManager()->IsKeyboardHookInstalled());
        TrackingSiteTest::TearDown();
    }

    // A bar of the manager along the top of the frame, its accessibility events recorded.
    void MakeBar(TrackingBar& bar, int type = 1, int position = 0)
    {
        MakeBarWindow(bar, type, position, CRect(0, 0, 400, 24));
        bar.m_pNotifyWinEvent = &RecordWinEvent;
    }

    // A key going down, as the keyboard manager hands it to a tracking bar.
    static int Key(COSMCommandBar& bar, UINT key)
    {
        WPARAM wParam = key;
        LPARAM lParam = 0;
        LRESULT result = 0;
        return bar.OnHookMessage(nullptr, WM_KEYDOWN, wParam, lParam, result);
    }
};

TEST_F(TrackingTest, EnteringAndLeavingTrackingRegistersWithTheThreadsManagers)
{
    TrackingBar bar;
    MakeBar(bar, 0);
    bar.AddButtons({11, 12, 13});
    bar.GetControl(0)->SetFlags(COSMControl::kFlagSkipFocus);
    COSMMouseManager* mouse = CreateMouseManager();
    COSMKeyboardManager* keyboard = CreateKeyboardManager();

    ASSERT_TRUE(bar.SetTrackingMode(1, TRUE, TRUE));
    EXPECT_EQ(1, bar.GetTrackingMode());
    EXPECT_TRUE(mouse->IsTracked(&bar));
    EXPECT_TRUE(keyboard->IsHooked(&bar));
    EXPECT_TRUE(keyboard->IsKeyboardHookInstalled());
    EXPECT_TRUE(keyboard->IsCallWndProcHookInstalled());
    // The first control keyboard navigation may take, selected moving forward.
    EXPECT_EQ(1, bar.GetSelectedIndex());
    EXPECT_EQ(2, bar.GetControl(1)->GetSelected());
    EXPECT_TRUE(bar.IsSelectedByKeyboard());
    EXPECT_FALSE(bar.IsEnteredByMouse());
    // A menu bar tells the site, with itself in wParam.
    ASSERT_EQ(1, frame.CountTracking(COSMCommandBar::kMessageMenuBarTracking));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&bar), frame.tracking[0].wParam);
    EXPECT_EQ(&bar, mouse->GetSelectedBar());

    // A tracking bar only leaves; a refused change still stores the mode.
    EXPECT_FALSE(bar.SetTrackingMode(1, TRUE, TRUE));
    EXPECT_FALSE(bar.SetTrackingMode(2, FALSE, FALSE));
    EXPECT_EQ(2, bar.GetTrackingMode());

    ASSERT_TRUE(bar.SetTrackingMode(0, TRUE, FALSE));
    EXPECT_EQ(0, bar.GetTrackingMode());
    EXPECT_FALSE(mouse->IsTracked(&bar));
    EXPECT_FALSE(keyboard->IsHooked(&bar));
    EXPECT_EQ(-1, bar.GetSelectedIndex());
    EXPECT_EQ(0, bar.GetControl(1)->GetSelected());
    EXPECT_FALSE(bar.IsSelectedByKeyboard());
    EXPECT_FALSE(bar.SetTrackingMode(0, TRUE, FALSE));

    // Entered without keyboard and without selecting: entered by the mouse; a normal bar does not tell the site.
    TrackingBar toolbar;
    MakeBar(toolbar, 1);
    toolbar.AddButtons({21});
    ASSERT_TRUE(toolbar.SetTrackingMode(1, FALSE, FALSE));
    EXPECT_TRUE(toolbar.IsEnteredByMouse());
    EXPECT_EQ(-1, toolbar.GetSelectedIndex());
    EXPECT_EQ(1, frame.CountTracking(COSMCommandBar::kMessageMenuBarTracking));
    toolbar.StopTracking();
}

TEST_F(TrackingTest, TheCaretOfTheFocusOrSiteWindowHidesWhileTracking)
{
    TrackingBar bar;
    MakeBar(bar);
    bar.AddButtons({11});
    // With no window of the thread focused, the caret is the site's.
    ::SetFocus(nullptr);
    HWND caretWindow = frame.GetSafeHwnd();
    HDC dc = ::GetDC(caretWindow);
    const CPoint probe(200, 150);
    const COLORREF background = ::GetPixel(dc, probe.x + 2, probe.y + 2);
    ASSERT_TRUE(::CreateCaret(caretWindow, nullptr, 20, 20));
    ::SetCaretPos(probe.x, probe.y);
    ::ShowCaret(caretWindow);
    // A caret that shows inverts its rectangle; the pixel is read before any message could make it blink.
    const COLORREF shown = ::GetPixel(dc, probe.x + 2, probe.y + 2);
    EXPECT_NE(background, shown);

    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    EXPECT_EQ(caretWindow, bar.GetCaretWindow());
    EXPECT_EQ(background, ::GetPixel(dc, probe.x + 2, probe.y + 2));

    ASSERT_TRUE(bar.SetTrackingMode(0, TRUE, FALSE));
    EXPECT_EQ(nullptr, bar.GetCaretWindow());
    EXPECT_EQ(shown, ::GetPixel(dc, probe.x + 2, probe.y + 2));
    ::ReleaseDC(caretWindow, dc);
    ::DestroyCaret();
}

TEST_F(TrackingTest, SelectionCodesReachTheControlAndTheHoverTimer)
{
    TrackingBar bar;
    MakeBar(bar);
    bar.AddButtons({11, 12, 13});

    const struct
    {
        int index;
        int code;
        int controlState;
        BOOL hoverTimer;
        BOOL ensured;
    } cases[] = {
        {0, COSMCommandBar::kSelectMouse, 1, TRUE, FALSE},
        {1, COSMCommandBar::kSelectKeyboard, 2, FALSE, TRUE},
        {2, COSMCommandBar::kSelectForward, 2, FALSE, TRUE},
        {0, COSMCommandBar::kSelectBackward, 3, FALSE, TRUE},
    };
    int previous = -1;
    for (const auto& c : cases)
    {
        bar.ensured.clear();
        ASSERT_TRUE(bar.SetSelected(c.index, c.code)) << c.index << " " << c.code;
        EXPECT_EQ(c.index, bar.GetSelectedIndex());
        EXPECT_EQ(c.controlState, bar.GetControl(c.index)->GetSelected());
        if (previous != -1)
        {
            EXPECT_EQ(0, bar.GetControl(previous)->GetSelected());
        }
        EXPECT_EQ(c.ensured ? std::vector<int>{c.index} : std::vector<int>{}, bar.ensured);
        // KillTimer tells whether the timer was running.
        EXPECT_EQ(c.hoverTimer, bar.KillTimer(COSMCommandBar::kTimerHover)) << c.index << " " << c.code;
        EXPECT_EQ(&bar, CreateMouseManager()->GetSelectedBar());
        previous = c.index;
    }
    // The same index changes nothing; an index without a control is refused and keeps the selection.
    EXPECT_FALSE(bar.SetSelected(0, COSMCommandBar::kSelectMouse));
    EXPECT_FALSE(bar.SetSelected(7, COSMCommandBar::kSelectMouse));
    EXPECT_EQ(0, bar.GetSelectedIndex());
    // Without hover select the mouse starts no timer.
    bar.SetHoverSelect(FALSE);
    ASSERT_TRUE(bar.SetSelected(1, COSMCommandBar::kSelectMouse));
    EXPECT_FALSE(bar.KillTimer(COSMCommandBar::kTimerHover));
    ASSERT_TRUE(bar.SetSelected(-1, COSMCommandBar::kSelectMouse));
    EXPECT_EQ(0, bar.GetControl(1)->GetSelected());
}

TEST_F(TrackingTest, FocusEventsCarryTheChildNumberOnlyWhileTracking)
{
    TrackingBar bar;
    MakeBar(bar);
    bar.AddButtons({11, 12, 13});
    ASSERT_TRUE(bar.SetSelected(1, COSMCommandBar::kSelectMouse));
    EXPECT_TRUE(RecordedWinEvents().empty());

    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(bar.SetSelected(2, COSMCommandBar::kSelectForward));
    const std::vector<WinEvent> expected{{EVENT_OBJECT_FOCUS, bar.GetSafeHwnd(), OBJID_MENU, 3}};
    EXPECT_EQ(expected, RecordedWinEvents());
    bar.StopTracking();
}

TEST_F(TrackingTest, PopupsOpenOnlyWhenTheControlAgrees)
{
    TrackingBar bar;
    MakeBar(bar);
    auto* first = AddControl<TestPopupControl>(bar, 11);
    auto* second = AddControl<TestPopupControl>(bar, 12);
    auto* disabled = AddControl<TestPopupControl>(bar, 13);
    disabled->SetEnabled(0);
    bar.LayOut();

    // A popup that fails to open leaves no popped-up index.
    first->opens = FALSE;
    EXPECT_FALSE(bar.SetPopuped(0, FALSE));
    EXPECT_EQ(-1, bar.GetPopupedIndex());
    EXPECT_EQ(std::vector<BOOL>{TRUE}, first->requests);
    EXPECT_FALSE(bar.KillTimer(COSMCommandBar::kTimerExpand));

    // One that opens tracks the bar in mode 2, selects the control and starts the expansion delay.
    first->opens = TRUE;
    bar.StopTracking();
    ASSERT_TRUE(bar.SetPopuped(0, FALSE));
    EXPECT_EQ(0, bar.GetPopupedIndex());
    EXPECT_EQ(2, bar.GetTrackingMode());
    EXPECT_EQ(0, bar.GetSelectedIndex());
    EXPECT_TRUE(bar.KillTimer(COSMCommandBar::kTimerExpand));
    // The option off: no expansion delay.
    commandBars->GetCommandBarsOptions()->m_showFullAfterDelay = FALSE;

    // Opening another closes the first; a disabled control opens nothing and keeps nothing open.
    ASSERT_TRUE(bar.SetPopuped(1, FALSE));
    EXPECT_EQ((std::vector<BOOL>{TRUE, TRUE, FALSE}), first->requests);
    EXPECT_EQ(std::vector<BOOL>{TRUE}, second->requests);
    EXPECT_FALSE(bar.KillTimer(COSMCommandBar::kTimerExpand));
    EXPECT_FALSE(bar.SetPopuped(2, FALSE));
    EXPECT_TRUE(disabled->requests.empty());
    EXPECT_EQ(-1, bar.GetPopupedIndex());
    EXPECT_EQ((std::vector<BOOL>{TRUE, FALSE}), second->requests);
    EXPECT_FALSE(bar.SetPopuped(-1, FALSE));

    // Leaving tracking closes an open popup.
    ASSERT_TRUE(bar.SetPopuped(1, FALSE));
    bar.StopTracking();
    EXPECT_EQ(-1, bar.GetPopupedIndex());
    EXPECT_FALSE(second->IsPopupOpen());
}

TEST_F(TrackingTest, ArrowHomeAndEndKeysFollowTheBarsOrientation)
{
    // The answer is 1 when the bar made the move and 0 when it could not (nothing opens sideways from these buttons),
    // so that the key goes on to the bar it was opened from.
    struct Case
    {
        int position;
        int type;
        BOOL rightToLeft;
        UINT key;
        int kind;
        int answer;
    };
    const Case cases[] = {
        // Along a row: docked top or bottom, floating, and a popup toolbar.
        {0, 1, FALSE, VK_END, 7, 1},
        {0, 1, FALSE, VK_HOME, 6, 1},
        {0, 1, FALSE, VK_LEFT, 8, 1},
        {0, 1, FALSE, VK_UP, 2, 0},
        {0, 1, FALSE, VK_RIGHT, 9, 1},
        {0, 1, FALSE, VK_DOWN, 3, 0},
        {1, 1, FALSE, VK_LEFT, 8, 1},
        {4, 1, FALSE, VK_DOWN, 3, 1},  // a floating bar moves to its next row
        {5, 1, FALSE, VK_RIGHT, 9, 1},
        {0, 1, TRUE, VK_LEFT, 9, 1},
        {0, 1, TRUE, VK_RIGHT, 8, 1},
        {0, 1, TRUE, VK_UP, 2, 0},
        // Down a column: docked left or right, and popup menus.
        {2, 1, FALSE, VK_END, 7, 1},
        {2, 1, FALSE, VK_HOME, 6, 1},
        {2, 1, FALSE, VK_LEFT, 2, 0},
        {2, 1, FALSE, VK_UP, 1, 1},
        {2, 1, FALSE, VK_RIGHT, 3, 0},
        {2, 1, FALSE, VK_DOWN, 0, 1},
        {3, 1, FALSE, VK_DOWN, 0, 1},
        {5, 2, FALSE, VK_UP, 1, 1},
        {5, 2, FALSE, VK_RIGHT, 3, 0},
        {2, 1, TRUE, VK_LEFT, 3, 0},
        {2, 1, TRUE, VK_RIGHT, 2, 0},
        {5, 2, TRUE, VK_DOWN, 0, 1},
    };
    for (const Case& c : cases)
    {
        TrackingBar bar;
        bar.SetCommandBars(commandBars.Get());
        bar.SetTypeField(c.type);
        bar.SetPositionField(c.position);
        ASSERT_TRUE(bar.CreatePopup(&frame, CRect(60, 300, 260, 330), c.rightToLeft ? WS_EX_LAYOUTRTL : 0));
        bar.AddButtons({11, 12, 13});
        std::vector<int> kinds;
        bar.kinds = &kinds;
        ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
        EXPECT_EQ(c.answer, Key(bar, c.key))
            << c.position << "/" << c.type << " rtl " << c.rightToLeft << " key " << c.key;
        EXPECT_EQ(std::vector<int>{c.kind}, kinds)
            << c.position << "/" << c.type << " rtl " << c.rightToLeft << " key " << c.key;
        bar.StopTracking();
    }
}

TEST_F(TrackingTest, KeyToLayoutSwapsLeftAndRightForRightToLeftBars)
{
    TrackingBar plain;
    TrackingBar mirrored;
    ASSERT_TRUE(plain.CreatePopup(&frame, CRect(60, 300, 160, 320)));
    ASSERT_TRUE(mirrored.CreatePopup(&frame, CRect(60, 330, 160, 350), WS_EX_LAYOUTRTL));
    const struct
    {
        COSMCommandBar* bar;
        UINT key;
        UINT expected;
    } cases[] = {
        {&plain, VK_LEFT, VK_LEFT},     {&plain, VK_RIGHT, VK_RIGHT}, {&mirrored, VK_LEFT, VK_RIGHT},
        {&mirrored, VK_RIGHT, VK_LEFT}, {&mirrored, VK_UP, VK_UP},    {nullptr, VK_LEFT, VK_LEFT},
    };
    for (const auto& c : cases)
    {
        UINT key = c.key;
        KeyToLayout(c.bar, key);
        EXPECT_EQ(c.expected, key);
    }
}

TEST_F(TrackingTest, NavigationKeysMoveTheSelectionOrOpenPopups)
{
    // Down in a vertical bar selects the next control.
    TrackingBar column;
    MakeBar(column, 1, 2);
    column.AddButtons({11, 12, 13}, CSize(40, 20), TRUE);
    ASSERT_TRUE(column.SetTrackingMode(1, TRUE, TRUE));
    ASSERT_EQ(0, column.GetSelectedIndex());
    EXPECT_EQ(1, Key(column, VK_DOWN));
    EXPECT_EQ(1, column.GetSelectedIndex());
    // End, Home, and the wrap at the ends.
    EXPECT_EQ(1, Key(column, VK_END));
    EXPECT_EQ(2, column.GetSelectedIndex());
    EXPECT_EQ(3, column.GetControl(2)->GetSelected());
    EXPECT_EQ(1, Key(column, VK_DOWN));
    EXPECT_EQ(0, column.GetSelectedIndex());
    EXPECT_EQ(1, Key(column, VK_UP));
    EXPECT_EQ(2, column.GetSelectedIndex());
    EXPECT_EQ(1, Key(column, VK_HOME));
    EXPECT_EQ(0, column.GetSelectedIndex());
    // Tab and Shift+Tab move too.
    EXPECT_EQ(1, Key(column, VK_TAB));
    EXPECT_EQ(1, column.GetSelectedIndex());
    {
        ScopedKeyState shift({VK_SHIFT});
        EXPECT_EQ(1, Key(column, VK_TAB));
    }
    EXPECT_EQ(0, column.GetSelectedIndex());
    column.StopTracking();

    // In a horizontal bar Down opens the selected popup control; Up (collapse) closes it again.
    TrackingBar row;
    MakeBar(row, 0, 0);
    AddControl<TestControlPopup>(row, 21, "&File");
    auto* edit = AddControl<TestControlPopup>(row, 22, "&Edit");
    row.LayOut();
    ASSERT_TRUE(row.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(row.SetSelected(1, COSMCommandBar::kSelectForward));
    EXPECT_EQ(1, Key(row, VK_DOWN));
    EXPECT_EQ(1, row.GetPopupedIndex());
    EXPECT_EQ(std::vector<BOOL>{TRUE}, edit->requests);
    EXPECT_EQ(1, Key(row, VK_UP));
    EXPECT_EQ(-1, row.GetPopupedIndex());
    EXPECT_EQ((std::vector<BOOL>{TRUE, FALSE}), edit->requests);
    // Up on a popup control of a bar without parent bar opens it (collapse becomes expand).
    EXPECT_EQ(1, Key(row, VK_UP));
    EXPECT_EQ(1, row.GetPopupedIndex());
    row.StopTracking();

    // In a right-to-left horizontal bar Left moves forward and Right backward.
    TrackingBar mirrored;
    mirrored.SetCommandBars(commandBars.Get());
    mirrored.SetPositionField(0);
    ASSERT_TRUE(mirrored.CreatePopup(&frame, CRect(60, 300, 260, 330), WS_EX_LAYOUTRTL));
    mirrored.AddButtons({31, 32, 33});
    ASSERT_TRUE(mirrored.SetTrackingMode(1, TRUE, TRUE));
    ASSERT_EQ(0, mirrored.GetSelectedIndex());
    EXPECT_EQ(1, Key(mirrored, VK_LEFT));
    EXPECT_EQ(1, mirrored.GetSelectedIndex());
    EXPECT_EQ(1, Key(mirrored, VK_RIGHT));
    EXPECT_EQ(0, mirrored.GetSelectedIndex());
    mirrored.StopTracking();
}

TEST_F(TrackingTest, RowMovesInPopupToolbarsAndFloatingBars)
{
    // A floating bar of three rows of three: Down and Up move to the same column of the next or previous row.
    TrackingBar grid;
    MakeBar(grid, 1, 4);
    for (UINT id = 1; id <= 9; ++id)
        grid.GetControls()->Add(1, static_cast<int>(id));
    for (int i = 0; i < 9; ++i)
    {
        const CRect rect(CPoint((i % 3) * 30, (i / 3) * 20), CSize(30, 20));
        grid.GetControl(i)->SetRect(rect);
        grid.GetControl(i)->SetRowRect(CRect(0, rect.top, 90, rect.bottom));
    }
    ASSERT_TRUE(grid.SetTrackingMode(1, FALSE, TRUE));
    // Nothing selected: the first control in the direction.
    EXPECT_EQ(1, Key(grid, VK_UP));
    EXPECT_EQ(8, grid.GetSelectedIndex());
    ASSERT_TRUE(grid.SetSelected(1, COSMCommandBar::kSelectForward));
    const struct
    {
        UINT key;
        int selected;
    } steps[] = {{VK_DOWN, 4}, {VK_DOWN, 7}, {VK_UP, 4}, {VK_UP, 1}, {VK_RIGHT, 2}, {VK_DOWN, 5}, {VK_LEFT, 4}};
    for (const auto& step : steps)
    {
        EXPECT_EQ(1, Key(grid, step.key));
        EXPECT_EQ(step.selected, grid.GetSelectedIndex()) << "key " << step.key;
    }
    // From the last row Down comes round to the first.
    ASSERT_TRUE(grid.SetSelected(7, COSMCommandBar::kSelectForward));
    EXPECT_EQ(1, Key(grid, VK_DOWN));
    EXPECT_EQ(1, grid.GetSelectedIndex());
    grid.StopTracking();
}

TEST_F(TrackingTest, AccessKeysSelectAndRunTheirControls)
{
    BeepRecorder beeps;
    TrackingBar bar;
    MakeBar(bar, 2, 5);
    const char* captions[] = {"&Save", "S&end", "&Open", "Print", "&& more", "& Go"};
    UINT id = 101;
    for (const char* caption : captions)
        bar.GetControls()->Add(1, static_cast<int>(id++))->SetCaption(caption);
    bar.LayOut(CSize(60, 20), TRUE);
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(bar.SetSelected(0, COSMCommandBar::kSelectForward));

    // E marks one control only: it runs, and running it ends the tracking.
    frame.ClearRecords();
    EXPECT_EQ(1, Key(bar, 'E'));
    EXPECT_EQ(0, bar.GetTrackingMode());
    ASSERT_EQ(1, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(102u, LOWORD(frame.RecordsOf(WM_COMMAND)[0].wParam));

    // P is only a first letter, of one control: it runs too.
    frame.ClearRecords();
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    EXPECT_EQ(1, Key(bar, 'P'));
    EXPECT_EQ(1, frame.CountOf(WM_COMMAND));

    // Space outside a menu bar is an access key like any other ("& Go").
    frame.ClearRecords();
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    EXPECT_EQ(1, Key(bar, VK_SPACE));
    ASSERT_EQ(1, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(106u, LOWORD(frame.RecordsOf(WM_COMMAND)[0].wParam));
    EXPECT_EQ(0, frame.CountTracking(WM_SYSCOMMAND));

    // A letter with no match beeps; Shift and Ctrl never do; with Ctrl down letters are not access keys.
    frame.ClearRecords();
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    EXPECT_EQ(1, Key(bar, 'Z'));
    EXPECT_EQ(1, BeepRecorder::count);
    Key(bar, VK_SHIFT);
    Key(bar, VK_CONTROL);
    EXPECT_EQ(1, BeepRecorder::count);
    {
        ScopedKeyState ctrl({VK_CONTROL});
        EXPECT_EQ(1, Key(bar, 'O'));
    }
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(2, BeepRecorder::count);
    bar.StopTracking();
}

TEST_F(TrackingTest, ALetterTwoCaptionsShareOnlySelectsTheNextOne)
{
    TrackingBar bar;
    MakeBar(bar, 2, 5);
    for (const char* caption : {"&Save", "&Send", "Open"})
        bar.GetControls()->Add(1, 100 + bar.GetControlCount())->SetCaption(caption);
    bar.LayOut(CSize(60, 20), TRUE);
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(bar.SetSelected(0, COSMCommandBar::kSelectForward));
    frame.ClearRecords();
    EXPECT_EQ(1, Key(bar, 'S'));
    EXPECT_EQ(1, bar.GetSelectedIndex());
    EXPECT_EQ(1, Key(bar, 'S'));
    EXPECT_EQ(0, bar.GetSelectedIndex());
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(1, bar.GetTrackingMode());
    bar.StopTracking();
}

TEST_F(TrackingTest, FindAccelPrefersMarkedKeysAndReportsSharedOnes)
{
    struct Case
    {
        std::vector<const char*> captions;
        int selected;
        UINT key;
        int index;
        BOOL ambiguous;
    };
    const Case cases[] = {
        {{"&File", "&Edit", "&View"}, -1, 'E', 1, FALSE},
        {{"&Save", "&Send"}, -1, 'S', 0, TRUE},
        {{"&Save", "&Send"}, 0, 'S', 1, TRUE},
        {{"Save", "Send"}, -1, 'S', 0, TRUE},
        {{"Save", "&Send"}, -1, 'S', 1, FALSE},
        {{"Save", "Sort", "&Send"}, -1, 'S', 2, FALSE},
        {{"A&&B", "Cut"}, -1, 'B', -1, FALSE},
        {{"A&&B", "Cut"}, -1, 'A', 0, FALSE},
        {{"", "Cut"}, -1, 'C', 1, FALSE},
        {{"Trailing&", "Cut"}, -1, 'T', 0, FALSE},
        {{"&1 Recent", "&2 Other"}, -1, '2', 1, FALSE},
        {{"&Disabled", "Done"}, -1, 'D', 1, FALSE},
    };
    for (const Case& c : cases)
    {
        TrackingBar bar;
        MakeBar(bar, 2, 5);
        for (const char* caption : c.captions)
            bar.GetControls()->Add(1, 100 + bar.GetControlCount())->SetCaption(caption);
        if (std::string(c.captions[0]) == "&Disabled")
            bar.GetControl(0)->SetEnabled(0);
        bar.LayOut(CSize(60, 20), TRUE);
        if (c.selected != -1)
        {
            ASSERT_TRUE(bar.SetSelected(c.selected, COSMCommandBar::kSelectForward));
        }
        BOOL ambiguous = !c.ambiguous;
        EXPECT_EQ(c.index, bar.FindAccel(c.key, ambiguous)) << c.captions[0] << " key " << char(c.key);
        EXPECT_EQ(c.ambiguous, ambiguous) << c.captions[0] << " key " << char(c.key);
    }
}

TEST_F(TrackingTest, TheSiteSeesEachKeyFirstAndMayChangeIt)
{
    TrackingBar bar;
    MakeBar(bar, 1, 2);
    bar.AddButtons({11, 12, 13}, CSize(40, 20), TRUE);
    std::vector<int> kinds;
    bar.kinds = &kinds;
    ASSERT_TRUE(bar.SetTrackingMode(1, TRUE, TRUE));
    frame.onTracking = [&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == COSMCommandBar::kMessageTrackingKey)
        {
            EXPECT_EQ(reinterpret_cast<LPARAM>(&bar), lParam);
            UINT& key = *reinterpret_cast<UINT*>(wParam);
            if (key == VK_DOWN)
                key = VK_UP;
        }
        return 0;
    };
    EXPECT_EQ(1, Key(bar, VK_DOWN));
    EXPECT_EQ(1, frame.CountTracking(COSMCommandBar::kMessageTrackingKey));
    EXPECT_EQ(std::vector<int>{COSMCommandBar::kKeyPrevious}, kinds);
    EXPECT_EQ(2, bar.GetSelectedIndex());
    frame.onTracking = nullptr;
    bar.StopTracking();
}

TEST_F(TrackingTest, ABarTheSiteEndsWhileItLooksAtAKeyStopsThere)
{
    // The site takes the bar away (its window and the reference it held) while told about the key.
    int destroyed = 0;
    std::vector<int> kinds;
    auto* bar = new TrackingBar;
    bar->destroyed = &destroyed;
    bar->kinds = &kinds;
    MakeBar(*bar, 1, 2);
    bar->AddButtons({11, 12, 13}, CSize(40, 20), TRUE);
    ASSERT_TRUE(bar->SetTrackingMode(1, TRUE, TRUE));
    frame.onTracking = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == COSMCommandBar::kMessageTrackingKey && bar)
        {
            bar->DestroyWindow();
            bar->InternalRelease();
            bar = nullptr;
            // The bar looking at the key keeps itself until it is done with it.
            EXPECT_EQ(0, destroyed);
        }
        return 0;
    };
    COSMCommandBar* keyTarget = bar;
    EXPECT_EQ(1, Key(*keyTarget, VK_DOWN));
    // Nothing more happened to it, and it went once, when the key was done with.
    EXPECT_TRUE(kinds.empty());
    EXPECT_EQ(1, destroyed);
    frame.onTracking = nullptr;

    // A site that only destroys the window keeps the bar: the key still ends there.
    TrackingBar kept;
    MakeBar(kept, 1, 2);
    kept.AddButtons({11, 12}, CSize(40, 20), TRUE);
    kept.kinds = &kinds;
    ASSERT_TRUE(kept.SetTrackingMode(1, TRUE, TRUE));
    frame.onTracking = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == COSMCommandBar::kMessageTrackingKey)
            kept.DestroyWindow();
        return 0;
    };
    EXPECT_EQ(1, Key(kept, VK_DOWN));
    EXPECT_TRUE(kinds.empty());
    EXPECT_EQ(0, kept.GetTrackingMode());
    frame.onTracking = nullptr;
}

TEST_F(TrackingTest, KeysPassOnInCustomizeAndHelpModeAndWaitUnderTheBarsLock)
{
    TrackingBar bar;
    MakeBar(bar, 1, 2);
    bar.AddButtons({11, 12}, CSize(40, 20), TRUE);
    ASSERT_TRUE(bar.SetTrackingMode(1, TRUE, TRUE));
    commandBars->SetCustomizeMode(TRUE);
    EXPECT_EQ(2, Key(bar, VK_DOWN));
    commandBars->SetCustomizeMode(FALSE);
    frame.m_bHelpMode = TRUE;
    EXPECT_EQ(2, Key(bar, VK_DOWN));
    frame.m_bHelpMode = FALSE;
    bar.AdjustTrackLockCount(1);
    EXPECT_EQ(1, Key(bar, VK_DOWN));
    EXPECT_EQ(0, bar.GetSelectedIndex());
    EXPECT_EQ(0, frame.CountTracking(COSMCommandBar::kMessageTrackingKey));
    bar.AdjustTrackLockCount(-1);
    // Not tracking: the hook sink lets everything pass.
    bar.StopTracking();
    EXPECT_EQ(0, Key(bar, VK_DOWN));
}

TEST_F(TrackingTest, SpaceInAMenuBarOpensTheSystemMenuFromTheKeyboard)
{
    TrackingBar menuBar;
    MakeBar(menuBar, 0, 0);
    menuBar.AddButtons({11, 12});
    TrackingBar popup;
    MakeBar(popup, 2, 5);
    popup.AddButtons({21});
    ASSERT_TRUE(popup.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(menuBar.SetTrackingMode(1, TRUE, TRUE));
    EXPECT_EQ(1, Key(menuBar, VK_SPACE));
    // Every popup closed, and the site gets SC_KEYMENU with lParam 0x20 posted.
    EXPECT_EQ(0, popup.GetTrackingMode());
    EXPECT_EQ(0, menuBar.GetTrackingMode());
    EXPECT_EQ(0, frame.CountTracking(WM_SYSCOMMAND));
    PumpMessages();
    ASSERT_EQ(1, frame.CountTracking(WM_SYSCOMMAND));
    EXPECT_EQ(static_cast<WPARAM>(SC_KEYMENU), frame.tracking.back().wParam);
    EXPECT_EQ(0x20, frame.tracking.back().lParam);
    // Other bars do not take the kind.
    EXPECT_FALSE(popup.ProcessSpecialKey(COSMCommandBar::kKeySpace));
}

TEST_F(TrackingTest, EscapeHandsTrackingBackToTheParentBar)
{
    TrackingBar parent;
    MakeBar(parent, 0, 0);
    auto* opener = AddControl<TestControlPopup>(parent, 11, "&File");
    parent.LayOut();
    ASSERT_TRUE(parent.SetPopuped(0, TRUE));
    ASSERT_EQ(2, parent.GetTrackingMode());
    TrackingBar popup;
    MakeBar(popup, 2, 5);
    popup.SetParentBar(&parent);
    popup.AddButtons({21, 22}, CSize(40, 20), TRUE);
    ASSERT_TRUE(popup.SetTrackingMode(1, TRUE, TRUE));

    EXPECT_EQ(1, Key(popup, VK_ESCAPE));
    EXPECT_EQ(0, popup.GetTrackingMode());
    // The parent's mode goes from 2 to 1 although it was tracking already.
    EXPECT_EQ(1, parent.GetTrackingMode());
    EXPECT_TRUE(opener->IsPopupOpen());
    parent.StopTracking();
    EXPECT_FALSE(opener->IsPopupOpen());
}

TEST_F(TrackingTest, ReturnClicksTheSelectedControlFromTheKeyboard)
{
    TrackingBar bar;
    MakeBar(bar, 2, 5);
    bar.AddButtons({41, 42}, CSize(40, 20), TRUE);
    ASSERT_TRUE(bar.SetTrackingMode(1, TRUE, TRUE));
    ASSERT_TRUE(bar.SetSelected(1, COSMCommandBar::kSelectForward));
    frame.ClearRecords();
    EXPECT_EQ(1, Key(bar, VK_RETURN));
    ASSERT_EQ(1, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(42u, LOWORD(frame.RecordsOf(WM_COMMAND)[0].wParam));
    // Executing closed the popups.
    EXPECT_EQ(0, bar.GetTrackingMode());
}

TEST_F(TrackingTest, HoverAndExpansionTimersWaitWhileTheBarIsLocked)
{
    TrackingBar bar;
    MakeBar(bar, 1, 0);
    auto* first = AddControl<TestPopupControl>(bar, 11);
    bar.LayOut();
    ASSERT_TRUE(bar.SetSelected(0, COSMCommandBar::kSelectMouse));

    bar.AdjustTrackLockCount(1);
    bar.SendMessage(WM_TIMER, COSMCommandBar::kTimerHover, 0);
    EXPECT_EQ(0, first->hovers);
    EXPECT_TRUE(bar.KillTimer(COSMCommandBar::kTimerHover));
    bar.SetTimer(COSMCommandBar::kTimerExpand, 5000, nullptr);
    bar.SendMessage(WM_TIMER, COSMCommandBar::kTimerExpand, 0);
    EXPECT_TRUE(bar.KillTimer(COSMCommandBar::kTimerExpand));
    bar.AdjustTrackLockCount(-1);

    ASSERT_TRUE(bar.SetSelected(-1, COSMCommandBar::kSelectMouse));
    ASSERT_TRUE(bar.SetSelected(0, COSMCommandBar::kSelectMouse));
    bar.SendMessage(WM_TIMER, COSMCommandBar::kTimerHover, 0);
    EXPECT_EQ(1, first->hovers);
    EXPECT_FALSE(bar.KillTimer(COSMCommandBar::kTimerHover));
    bar.SetTimer(COSMCommandBar::kTimerExpand, 5000, nullptr);
    bar.SendMessage(WM_TIMER, COSMCommandBar::kTimerExpand, 0);
    EXPECT_FALSE(bar.KillTimer(COSMCommandBar::kTimerExpand));
}

TEST_F(TrackingTest, MouseMovesSelectTheControlUnderThePointerUnlessLocked)
{
    TrackingBar bar;
    MakeBar(bar, 2, 5);
    bar.AddButtons({11, 12, 13}, CSize(40, 20), TRUE);
    COSMMouseManager* mouse = CreateMouseManager();

    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 25));
    EXPECT_EQ(1, bar.GetSelectedIndex());
    EXPECT_EQ(1, bar.GetControl(1)->GetSelected());
    EXPECT_EQ(bar.GetSafeHwnd(), mouse->GetMouseLeaveWindow());
    bar.SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(-1, bar.GetSelectedIndex());

    // Under the mouse lock the bar does not follow, unless it is exempt.
    mouse->Lock();
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 45));
    EXPECT_EQ(-1, bar.GetSelectedIndex());
    bar.SetLockExempt(TRUE);
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 45));
    EXPECT_EQ(2, bar.GetSelectedIndex());
    bar.SetLockExempt(FALSE);
    bar.SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(2, bar.GetSelectedIndex());
    mouse->Unlock();

    // A keyboard selection of a tracking popup stays while the pointer is over no control.
    ASSERT_TRUE(bar.SetTrackingMode(1, FALSE, TRUE));
    ASSERT_TRUE(bar.SetSelected(0, COSMCommandBar::kSelectForward));
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 70));
    EXPECT_EQ(0, bar.GetSelectedIndex());
    // Another bar does not follow the mouse while popups track.
    TrackingBar other;
    MakeBar(other, 2, 5);
    other.AddButtons({21});
    other.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(-1, other.GetSelectedIndex());
    bar.StopTracking();
    mouse->TrackMouseLeave(nullptr);
}

TEST_F(TrackingTest, ButtonMessagesReachTheControlUnderThePointer)
{
    TrackingBar popup;
    MakeBar(popup, 2, 5);
    popup.AddButtons({51, 52}, CSize(40, 20), TRUE);
    frame.ClearRecords();
    // In a popup bar the release runs the command.
    popup.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 25));
    ASSERT_EQ(1, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(52u, LOWORD(frame.RecordsOf(WM_COMMAND)[0].wParam));
    // Customize mode: releases do nothing.
    commandBars->SetCustomizeMode(TRUE);
    popup.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 25));
    EXPECT_EQ(1, frame.CountOf(WM_COMMAND));
    // A right-button press there makes the control the customize selection.
    popup.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(popup.GetControl(0), commandBars->GetCustomizeSelection());
    commandBars->SetCustomizeMode(FALSE);

    // Right-button releases: the site may take them (10329 answered 1); a popup tracked for the right button
    // chooses with it; else a child bar tells its root.
    TrackingBar root;
    MakeBar(root, 1, 0);
    root.AddButtons({61});
    popup.SetParentBar(&root);
    frame.ClearRecords();
    frame.onTracking = [](UINT message, WPARAM, LPARAM) -> LRESULT {
        return message == COSMCommandBar::kMessageControlRButtonUp ? 1 : 0;
    };
    popup.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(1, frame.CountTracking(COSMCommandBar::kMessageControlRButtonUp));
    EXPECT_EQ(reinterpret_cast<LPARAM>(popup.GetControl(0)), frame.tracking[0].lParam);
    EXPECT_TRUE(root.childRButtonUps.empty());
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));
    frame.onTracking = nullptr;
    popup.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(std::vector<COSMCommandBar*>{&popup}, root.childRButtonUps);
    root.SetRightButtonTracking(TRUE);
    popup.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(1u, root.childRButtonUps.size());
}

TEST_F(TrackingTest, ContextHelpModeMakesPopupControlsMenuHits)
{
    TrackingBar bar;
    MakeBar(bar, 1, 0);
    AddControl<TestControlPopup>(bar, 0, "Menu");
    AddControl<TestControlPopup>(bar, 12, "Command popup");
    bar.GetControls()->Add(1, 0);
    bar.LayOut();
    CRect window;
    bar.GetWindowRect(&window);
    auto hitAt = [&](int x) { return bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + 5)); };
    frame.m_bHelpMode = TRUE;
    EXPECT_EQ(HTMENU, hitAt(5));
    EXPECT_EQ(HTCLIENT, hitAt(45));
    EXPECT_EQ(HTCLIENT, hitAt(85));
    EXPECT_EQ(HTCLIENT, hitAt(300));
    frame.m_bHelpMode = FALSE;
    EXPECT_EQ(HTCLIENT, hitAt(5));
}

}  // namespace
