// The edit control in a toolbar docked on an active frame: where its window goes, the hint and the typed text, focus
// passing between the bar and the window, the keys the bar's hook hands it, spin steps by key and by the held
// buttons (under synthesized input), its clipboard menu, and a customize click.
#include "EditBoxTestSupport.h"

#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/controls/ControlEdit.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/ResourceManager.h"

#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

class ControlEditInputTest : public EditBoxSiteTest
{
protected:
    ControlEditInputTest() : EditBoxSiteTest("edit control test") {}

    void SetUp() override
    {
        EditBoxSiteTest::SetUp();
        if (HasFatalFailure())
            return;
        edit = static_cast<COSMControlEdit*>(bar->GetControls()->Add(6, 4600));
        ASSERT_NE(nullptr, edit);
        edit->SetCaption("Find");
        edit->SetHasLabel(TRUE);
        edit->SetWidth(160);
        LayOut();
        ASSERT_NE(nullptr, EditWindow());
        Settle();
    }
    std::optional<LRESULT> OnControlNotify(const NMOSMCONTROL* block) override
    {
        if (block->hdr.code != COSMControlEdit::kNotifySpinUp && block->hdr.code != COSMControlEdit::kNotifySpinDown)
            return std::nullopt;
        deltas.push_back(static_cast<const NMOSMCONTROLSPIN*>(block)->delta);
        return spinAnswer;
    }

    HWND EditWindow() const { return edit->GetEditWindow() ? edit->GetEditWindow()->GetSafeHwnd() : nullptr; }
    // The edit window's rectangle in the bar's client coordinates.
    CRect EditWindowRect() const
    {
        CRect rect;
        ::GetWindowRect(EditWindow(), &rect);
        ::MapWindowPoints(nullptr, bar->GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    CRect ExpectedEditRect(BOOL spin) const
    {
        CRect rect = edit->GetRect();
        rect.DeflateRect(edit->GetLabelWidth() + 4, 3, spin ? 20 : 3, 3);
        return rect;
    }
    void ClickIntoEdit() { ClickInto(*edit->GetEditWindow()); }
    COSMControlEditCtrl* Window() const { return edit->GetEditWindow(); }
    // The screen point of the upper or lower spin button.
    CPoint SpinPoint(bool up) const
    {
        const CRect spin = edit->GetSpinButtonsRect();
        return ScreenPoint(*bar, CPoint(spin.CenterPoint().x, up ? spin.top + 2 : spin.bottom - 2));
    }

    COSMControlEdit* edit = nullptr;
    std::vector<int> deltas;
    std::optional<LRESULT> spinAnswer;
};

TEST_F(ControlEditInputTest, TheFirstPlacementCreatesAChildOfTheBarInsideTheControl)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(EditWindow(), GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | ES_AUTOHSCROLL), style & (WS_CHILD | ES_AUTOHSCROLL));
    EXPECT_EQ(bar->GetSafeHwnd(), ::GetParent(EditWindow()));
    EXPECT_TRUE(::IsWindowVisible(EditWindow()));
    EXPECT_GT(edit->GetLabelWidth(), 0) << "the label is measured";
    EXPECT_EQ(ExpectedEditRect(FALSE), EditWindowRect());

    // The extra style goes to a window made afresh; spin buttons leave their room on the right.
    COSMControlEdit* second = static_cast<COSMControlEdit*>(bar->GetControls()->Add(6, 4601));
    second->SetEditStyle(ES_UPPERCASE);
    second->SetShowSpinButtons(TRUE);
    LayOut();
    ASSERT_NE(nullptr, second->GetEditWindow());
    const HWND secondWindow = second->GetEditWindow()->GetSafeHwnd();
    EXPECT_EQ(static_cast<DWORD>(ES_UPPERCASE | WS_CHILD | ES_AUTOHSCROLL),
              static_cast<DWORD>(::GetWindowLongA(secondWindow, GWL_STYLE)) &
                  (ES_UPPERCASE | WS_CHILD | ES_AUTOHSCROLL));
    CRect secondRect;
    ::GetWindowRect(secondWindow, &secondRect);
    ::MapWindowPoints(nullptr, bar->GetSafeHwnd(), reinterpret_cast<POINT*>(&secondRect), 2);
    CRect expected = second->GetRect();
    expected.DeflateRect(second->GetLabelWidth() + 4, 3, 20, 3);
    EXPECT_EQ(expected, secondRect);
    EXPECT_EQ(CRect(second->GetRect().right - 18, second->GetRect().top + 1, second->GetRect().right - 1,
                    second->GetRect().bottom - 1),
              second->GetSpinButtonsRect());
    EXPECT_TRUE(edit->GetSpinButtonsRect().IsRectEmpty());
}

TEST_F(ControlEditInputTest, AnUnchangedRectangleMovesNothingUntilRepositioningIsForced)
{
    const CRect expected = ExpectedEditRect(FALSE);
    Window()->MoveWindow(CRect(0, 0, 10, 10));
    edit->SetRect(edit->GetRect());
    EXPECT_EQ(CRect(0, 0, 10, 10), EditWindowRect());
    edit->ForceRepositioning();
    EXPECT_TRUE(edit->IsPlacementForced());
    edit->SetRect(edit->GetRect());
    EXPECT_EQ(expected, EditWindowRect());
    EXPECT_FALSE(edit->IsPlacementForced());
}

TEST_F(ControlEditInputTest, AVerticalLayoutHidesTheBoxAndAHorizontalOneShowsIt)
{
    edit->BuildDynamicItems(COSMControlEdit::kLayoutVertical);
    EXPECT_EQ(COSMControlEdit::kHideVertical, edit->GetHideFlags() & COSMControlEdit::kHideVertical);
    EXPECT_FALSE(::IsWindowVisible(EditWindow()));
    edit->BuildDynamicItems(0);
    EXPECT_EQ(0u, edit->GetHideFlags());
    EXPECT_TRUE(::IsWindowVisible(EditWindow()));

    // Docked on the left, the bar lays out vertically and the box goes.
    ASSERT_TRUE(bar->SetPosition(2));
    LayOut();
    EXPECT_NE(0u, edit->GetHideFlags() & COSMControlEdit::kHideVertical);
    EXPECT_FALSE(::IsWindowVisible(EditWindow()));
    ASSERT_TRUE(bar->SetPosition(0));
    LayOut();
    EXPECT_EQ(0u, edit->GetHideFlags() & COSMControlEdit::kHideVertical);
    EXPECT_TRUE(::IsWindowVisible(EditWindow()));
}

TEST_F(ControlEditInputTest, TheTextSurvivesAMoveToAnotherBar)
{
    edit->SetEditText("kept");
    COSMToolBar* other = AddFilledToolBar("Other", 702, {202});
    ASSERT_NE(nullptr, other);
    edit->InternalAddRef();
    bar->GetControls()->Remove(edit);
    EXPECT_EQ(nullptr, EditWindow()) << "a control that leaves its collection loses its window";
    other->GetControls()->InsertAt(edit, -1);
    LayOut();
    ASSERT_NE(nullptr, EditWindow());
    EXPECT_EQ(other->GetSafeHwnd(), ::GetParent(EditWindow()));
    EXPECT_EQ("kept", WindowTextOf(EditWindow()));
    EXPECT_EQ("kept", std::string(edit->GetEditText()));
}

TEST_F(ControlEditInputTest, AHintSetOnTheBoundActionReachesTheEmptyBox)
{
    COSMControlAction* action = commandBars->GetActions()->Add(4600);
    ASSERT_NE(nullptr, action);
    edit->SetAction(action);
    action->SetEditHint("Find");
    EXPECT_EQ("Find", WindowTextOf(EditWindow()));
    EXPECT_TRUE(edit->IsHintShown());
    action->SetEditHint("Look up");
    EXPECT_EQ("Look up", WindowTextOf(EditWindow()));
    EXPECT_EQ("", std::string(edit->GetEditText()));
    // A box with text keeps it.
    edit->SetEditText("typed");
    action->SetEditHint("Other");
    EXPECT_EQ("typed", WindowTextOf(EditWindow()));
    EXPECT_FALSE(edit->IsHintShown());
}

TEST_F(ControlEditInputTest, AnEmptyUnfocusedBoxShowsItsHintInGreyAndReadsEmpty)
{
    edit->SetEditHint("Search");
    EXPECT_EQ("Search", WindowTextOf(EditWindow()));
    EXPECT_TRUE(edit->IsHintShown());
    EXPECT_EQ("", std::string(edit->GetEditText()));
    CHARFORMAT2A format{};
    format.cbSize = sizeof(format);
    Window()->SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(GetColorManager()->GetColor(COLOR_GRAYTEXT), format.crTextColor);

    // Focus takes the hint away; typing the hint's own letters is a text like any other.
    ClickIntoEdit();
    ASSERT_EQ(EditWindow(), ::GetFocus());
    EXPECT_EQ("", WindowTextOf(EditWindow()));
    EXPECT_FALSE(edit->IsHintShown());
    TypeText("search");
    EXPECT_EQ("search", WindowTextOf(EditWindow()));
    EXPECT_EQ("search", std::string(edit->GetEditText()));
    Window()->SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(GetColorManager()->GetColor(COLOR_WINDOWTEXT), format.crTextColor);

    // Leaving it keeps the typed text; emptying it brings the hint back.
    frame.SetFocus();
    PumpMessages();
    EXPECT_EQ("search", std::string(edit->GetEditText()));
    EXPECT_FALSE(edit->IsHintShown());
    edit->SetEditText("");
    EXPECT_EQ("Search", WindowTextOf(EditWindow()));
    EXPECT_EQ("", std::string(edit->GetEditText()));
    // A text set to the hint's letters is a text too.
    edit->SetEditText("SEARCH");
    EXPECT_EQ("SEARCH", std::string(edit->GetEditText()));
}

TEST_F(ControlEditInputTest, AChangeOfCaseAloneReachesTheScreen)
{
    edit->SetEditText("abc");
    edit->SetEditText("ABC");
    EXPECT_EQ("ABC", WindowTextOf(EditWindow()));
    // The window's text comes back to the control when the window goes.
    Window()->DestroyWindow();
    EXPECT_EQ("ABC", std::string(edit->GetEditText()));
}

TEST_F(ControlEditInputTest, FocusMakesTheBarTrackAndLosingItGivesTheFocusBack)
{
    COSMMouseManager* mouse = bar->GetMouseManager();
    const int locks = mouse->GetLockCount();
    ClickIntoEdit();
    ASSERT_EQ(EditWindow(), ::GetFocus());
    EXPECT_TRUE(edit->IsFocused());
    EXPECT_NE(0, bar->GetTrackingMode());
    EXPECT_EQ(edit->GetIndex(), bar->GetSelectedIndex());
    EXPECT_EQ(locks + 1, mouse->GetLockCount());
    EXPECT_EQ(1, CountOf(COSMControlEdit::kNotifyFocusGained));
    EXPECT_EQ(1, ::SendMessageA(EditWindow(), OSM_WM_QUERYCOMMANDBAREDIT, 0, 0));

    edit->SetFocused(FALSE);
    PumpMessages();
    EXPECT_FALSE(edit->IsFocused());
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetFocus());
    EXPECT_EQ(locks, mouse->GetLockCount());
    EXPECT_EQ(1, CountOf(COSMControlEdit::kNotifyFocusLost));
}

TEST_F(ControlEditInputTest, TypedChangesReachTheSiteAndEscapeRestoresTheText)
{
    edit->SetEditText("before");
    ClickIntoEdit();
    ASSERT_TRUE(edit->IsFocused());
    // The posted select-all has arrived: typing replaces the text.
    TypeText("xy");
    EXPECT_EQ("xy", WindowTextOf(EditWindow()));
    EXPECT_EQ(2, CountOf(COSMControlEdit::kNotifyTextChanged));
    SendKey(VK_ESCAPE);
    EXPECT_EQ("before", WindowTextOf(EditWindow()));
    EXPECT_FALSE(edit->IsFocused());
    EXPECT_NE(EditWindow(), ::GetFocus());
}

TEST_F(ControlEditInputTest, HookKeysAreAnsweredByFocusKeyAndState)
{
    EXPECT_EQ(0, edit->OnHookKeyDown('A', 1)) << "not focused";
    bar->GetControls()->Add(1, 301)->SetCaption("&Go");
    edit->SetShowSpinButtons(TRUE);
    LayOut();

    // A composition in progress hands every key to the window.
    ClickIntoEdit();
    Window()->SendMessage(WM_IME_STARTCOMPOSITION);
    EXPECT_TRUE(Window()->IsImeComposing());
    EXPECT_EQ(2, edit->OnHookKeyDown(VK_UP, 1));
    Window()->SendMessage(WM_IME_ENDCOMPOSITION);
    EXPECT_FALSE(Window()->IsImeComposing());
    edit->SetFocused(FALSE);
    frame.SetFocus();
    PumpMessages();

    const struct
    {
        const char* name;
        UINT key;
        int heldKey;
        int barType;
        BOOL readOnly;
        int answer;
        const char* text;  // after the key
    } cases[] = {
        {"Tab", VK_TAB, 0, COSMCommandBar::kTypeNormal, FALSE, 0, "7"},
        {"Enter", VK_RETURN, 0, COSMCommandBar::kTypeNormal, FALSE, 0, "7"},
        {"Up steps", VK_UP, 0, COSMCommandBar::kTypeNormal, FALSE, 1, "8"},
        {"Down steps", VK_DOWN, 0, COSMCommandBar::kTypeNormal, FALSE, 1, "6"},
        {"read-only Up edits", VK_UP, 0, COSMCommandBar::kTypeNormal, TRUE, 1, "7"},
        {"a letter", 'Q', 0, COSMCommandBar::kTypeNormal, FALSE, 2, "7"},
        {"Escape in a toolbar", VK_ESCAPE, 0, COSMCommandBar::kTypeNormal, FALSE, 0, "7"},
        {"Escape in a popup", VK_ESCAPE, 0, COSMCommandBar::kTypePopup, FALSE, 1, "7"},
        // Last: the access key runs "&Go", and the command update after it disables the box, whose id no window
        // handles.
        {"Alt with a taken access key", 'G', VK_MENU, COSMCommandBar::kTypeNormal, FALSE, 1, "7"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        edit->SetEditText("7");
        edit->SetReadOnly(c.readOnly);
        ClickIntoEdit();
        ASSERT_TRUE(edit->IsFocused());
        bar->SetType(c.barType);
        int answer = -1;
        {
            ScopedKeyDown held(c.heldKey);
            answer = edit->OnHookKeyDown(c.key, 1);
        }
        bar->SetType(COSMCommandBar::kTypeNormal);
        EXPECT_EQ(c.answer, answer);
        EXPECT_EQ(c.text, std::string(edit->GetEditText()));
        edit->SetFocused(FALSE);
        CreateMouseManager()->SendTrackLost();
        frame.SetFocus();
        PumpMessages();
    }
    edit->SetReadOnly(FALSE);
}

TEST_F(ControlEditInputTest, TheUpKeyFromTheKeyboardStepsTheNumber)
{
    edit->SetShowSpinButtons(TRUE);
    LayOut();
    edit->SetEditText("40");
    ClickIntoEdit();
    ASSERT_TRUE(edit->IsFocused());
    SendKey(VK_UP);
    SendKey(VK_UP);
    EXPECT_EQ("42", WindowTextOf(EditWindow()));
    EXPECT_EQ(2, CountOf(COSMControlEdit::kNotifySpinStepped));
    EXPECT_EQ((std::vector<int>{1, 1}), deltas);
}

TEST_F(ControlEditInputTest, ASiteThatTakesTheSpinStopsTheArithmetic)
{
    edit->SetEditText("7");
    spinAnswer = 1;
    edit->SpinStep(5, 1);
    EXPECT_EQ("7", std::string(edit->GetEditText()));
    EXPECT_EQ(0, CountOf(COSMControlEdit::kNotifySpinStepped));
    edit->SpinStep(20, -1);
    EXPECT_EQ((std::vector<UINT>{COSMControlEdit::kNotifySpinUp, COSMControlEdit::kNotifySpinDown}), codes);
    EXPECT_EQ((std::vector<int>{5, -20}), deltas);

    spinAnswer.reset();
    edit->SpinStep(5, 1);
    EXPECT_EQ("15", std::string(edit->GetEditText()));
    EXPECT_EQ(1, CountOf(COSMControlEdit::kNotifySpinStepped));
}

TEST_F(ControlEditInputTest, AHeldSpinButtonStepsOnceThenRepeatsWhileOverItsHalf)
{
    edit->SetShowSpinButtons(TRUE);
    LayOut();
    edit->SetEditText("0");
    MoveMouseTo(SpinPoint(true));

    std::vector<std::string> seen;
    const auto text = [this] { return std::string(edit->GetEditText()); };
    // Each check is scheduled from inside the button's loop; the last releases the button.
    InputScript::Start(frame.GetSafeHwnd(),
                       {
                           [&] { seen.push_back(text()); },  // 150 ms: the press's step only
                           [&] { seen.push_back(text()); },  // 300 ms
                           [&] {},
                           [&] {},
                           [&] {},
                           [&] {},
                           [&] {},
                           [&] {
                               seen.push_back(text());  // 1200 ms: repeating
                               SendMouseMoveTo(SpinPoint(false));
                           },
                           [&] { seen.push_back(text()); },  // off the pressed half: paused
                           [&] {},
                           [&] {},
                           [&] {
                               seen.push_back(text());
                               SendMouseInput(MOUSEEVENTF_LEFTUP);
                           },
                       },
                       150);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([] { return InputScript::Done(); }, 5000));
    PumpFor(100);
    InputScript::Stop(frame.GetSafeHwnd());

    ASSERT_EQ(5u, seen.size());
    EXPECT_EQ("1", seen[0]);
    EXPECT_EQ("1", seen[1]);
    EXPECT_GT(atoi(seen[2].c_str()), 3);
    EXPECT_EQ(seen[4], seen[3]) << "no steps while the cursor is off the pressed half";
    EXPECT_LE(atoi(seen[3].c_str()) - atoi(seen[2].c_str()), 2);
    EXPECT_EQ(0, edit->GetPressed());
    EXPECT_NE(bar->GetSafeHwnd(), ::GetCapture());
    EXPECT_EQ(0, bar->GetTrackingMode());
}

TEST_F(ControlEditInputTest, AQuitPostedWhileTheSpinButtonIsHeldEndsTheLoopAndStaysQueued)
{
    edit->SetShowSpinButtons(TRUE);
    LayOut();
    edit->SetEditText("0");
    MoveMouseTo(SpinPoint(false));
    bool capturedAtQuit = false;
    Scheduled::After(frame.GetSafeHwnd(), 200, [&] {
        capturedAtQuit = ::GetCapture() == bar->GetSafeHwnd();
        ::PostQuitMessage(37);
        Scheduled::After(frame.GetSafeHwnd(), 500, [] { SendMouseInput(MOUSEEVENTF_LEFTUP); });
    });
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    MSG quit{};
    ASSERT_TRUE(PumpUntilQuit(&quit));
    EXPECT_TRUE(capturedAtQuit);
    EXPECT_EQ(37, static_cast<int>(quit.wParam));
    EXPECT_NE(bar->GetSafeHwnd(), ::GetCapture());
    EXPECT_EQ(0, edit->GetPressed());
    EXPECT_EQ("-1", std::string(edit->GetEditText()));
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(600);
}

TEST_F(ControlEditInputTest, TheContextMenuCutsTheTextAndHoldsNoLockWhileItShows)
{
    edit->SetEditText("menu text");
    ::OpenClipboard(frame.GetSafeHwnd());
    ::EmptyClipboard();
    ::CloseClipboard();
    COSMMouseManager* mouse = bar->GetMouseManager();
    const int locks = mouse->GetLockCount();
    int locksDuringMenu = -100;
    COSMCommandBar* menu = nullptr;
    InputScript::Start(frame.GetSafeHwnd(),
                       {
                           [&] {
                               locksDuringMenu = mouse->GetLockCount();
                               menu = mouse->GetTopTrackedBar();
                               if (menu && menu->GetControl(0))
                               {
                                   SendMouseMoveTo(ScreenPoint(*menu, menu->GetControl(0)->GetRect().CenterPoint()));
                               }
                           },
                           [&] { SendMouseInput(MOUSEEVENTF_LEFTDOWN); },
                           [&] { SendMouseInput(MOUSEEVENTF_LEFTUP); },
                       },
                       200);
    const CPoint at = ScreenPoint(*Window(), CPoint(5, 5));
    MoveMouseTo(at);
    SendMouseInput(MOUSEEVENTF_RIGHTDOWN);
    SendMouseInput(MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([] { return InputScript::Done(); }, 4000));
    PumpFor(200);
    InputScript::Stop(frame.GetSafeHwnd());

    ASSERT_NE(nullptr, menu) << "a menu tracked";
    EXPECT_EQ(locks, locksDuringMenu) << "the focus's lock is lowered while the menu shows";
    EXPECT_EQ("menu text", ClipboardText(frame.GetSafeHwnd()));
    EXPECT_EQ("", WindowTextOf(EditWindow()));
    EXPECT_EQ(locks + 1, mouse->GetLockCount()) << "the box keeps the focus and its lock";
}

TEST_F(ControlEditInputTest, WithoutTheCutStringNoMenuShows)
{
    // A resource module without the clipboard strings.
    const HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(::GetModuleHandleA("kernel32.dll"));
    CString probe;
    const BOOL missing = !GetResourceManager()->LoadString(&probe, COSMCommandBarEditCtrl::kCommandCut);
    BOOL shown = TRUE;
    if (missing)
        shown = Window()->ShowContextMenu(edit, CPoint(5, 5));
    AfxSetResourceHandle(saved);
    ASSERT_TRUE(missing) << "kernel32 holds a string 57635";
    EXPECT_FALSE(shown);
    EXPECT_EQ(0, CreateMouseManager()->GetTrackedCount());

    // With the framework's strings the items take their captions from them.
    CString cut;
    ASSERT_TRUE(GetResourceManager()->LoadString(&cut, COSMCommandBarEditCtrl::kCommandCut));
    EXPECT_NE(-1, cut.Find('\n'));
}

TEST_F(ControlEditInputTest, AClickInCustomizeModeSelectsTheControl)
{
    commandBars->SetCustomizeMode(TRUE);
    PumpMessages();
    ClickAt(ScreenPoint(*Window(), CPoint(5, 5)));
    PumpFor(100);
    EXPECT_EQ(edit, commandBars->GetCustomizeSelection());
    EXPECT_NE(EditWindow(), ::GetFocus());
    commandBars->SetCustomizeMode(FALSE);
}

}  // namespace
