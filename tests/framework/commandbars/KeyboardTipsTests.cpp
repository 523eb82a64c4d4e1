// Keyboard cues and keyboard tips: the tips' letters and places (pure tables), the manager's cue state over the
// options' modes, and tip windows on a real bar that narrow as letters are typed, run what was typed in full and
// come back on a popup the keyboard opened.
#include "classlib/DC.h"
#include "tests/support/DcTestSurface.h"
#include "TrackingTestSupport.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/KeyboardTipLayout.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ToolBar.h"

#include <set>
#include <string>

using namespace commandbars_test;

namespace {

std::vector<std::string> Texts(const std::vector<COSMKeyboardTipSource>& sources)
{
    std::vector<std::string> texts;
    for (const CString& text : MakeKeyboardTipTexts(sources))
        texts.emplace_back(static_cast<LPCSTR>(text));
    return texts;
}

TEST(KeyboardTipTextsTest, SharedFirstLettersGetASecondOne)
{
    const struct
    {
        const char* name;
        std::vector<COSMKeyboardTipSource> sources;
        std::vector<std::string> expected;
    } cases[] = {
        {"marked access keys", {{"&File", ""}, {"&Recent", ""}}, {"F", "R"}},
        {"marked late", {{"E&xit", ""}, {"&Edit", ""}}, {"X", "E"}},
        {"first letters", {{"Save", ""}, {"Send", ""}, {"Sort", ""}}, {"SA", "SE", "SO"}},
        {"a word after a space first", {{"New Window", ""}, {"New File", ""}}, {"NW", "NF"}},
        {"a taken letter is passed", {{"Sa", ""}, {"Sam", ""}}, {"SA", "SM"}},
        {"explicit tips stay", {{"Save", "V"}, {"Send", ""}}, {"V", "S"}},
        {"an explicit two-letter tip keeps its letter", {{"Save", "SA"}, {"Sail", ""}}, {"SA", "SI"}},
        {"so does a later one", {{"Sail", ""}, {"Save", "SA"}}, {"SI", "SA"}},
        {"nothing to show", {{"", ""}, {"", "Q"}}, {"", "Q"}},
        {"a taken digit is skipped", {{"A", ""}, {"A", ""}, {"Zoom", "A1"}}, {"A2", "A3", "A1"}},
        {"eleven alike",
         std::vector<COSMKeyboardTipSource>(11, {"A", ""}),
         {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "A0", "AA"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, Texts(c.sources));
    }
}

TEST(KeyboardTipTextsTest, EveryTipOfALargeGroupCanBeTyped)
{
    // More members than digits: each still gets a text of its own.
    const std::vector<std::string> texts = Texts(std::vector<COSMKeyboardTipSource>(30, {"B", ""}));
    EXPECT_EQ(30u, std::set<std::string>(texts.begin(), texts.end()).size());
    for (const std::string& text : texts)
        EXPECT_EQ(2u, text.size()) << text;
}

TEST(KeyboardTipPlacementTest, SizeAndAlignment)
{
    const CPoint anchor(100, 200);
    const struct
    {
        CSize text;
        DWORD alignment;
        BOOL rightToLeft;
        CRect expected;
    } cases[] = {
        {CSize(2, 3), 0, FALSE, CRect(100, 200, 116, 215)},    // never smaller than 16 x 15
        {CSize(30, 20), 0, FALSE, CRect(100, 200, 136, 222)},  // the text and its margin
        {CSize(30, 20), kKeyboardTipCenterHorz, FALSE, CRect(82, 200, 118, 222)},
        {CSize(30, 20), kKeyboardTipRight, FALSE, CRect(64, 200, 100, 222)},
        {CSize(30, 20), kKeyboardTipCenterVert, FALSE, CRect(100, 189, 136, 211)},
        {CSize(30, 20), kKeyboardTipBottom, FALSE, CRect(100, 178, 136, 200)},
        {CSize(30, 20), kKeyboardTipCenterHorz | kKeyboardTipRight, FALSE, CRect(82, 200, 118, 222)},
        {CSize(30, 20), kKeyboardTipCenterVert | kKeyboardTipBottom, FALSE, CRect(100, 189, 136, 211)},
        {CSize(30, 20), 0, TRUE, CRect(64, 200, 100, 222)},  // right to left: anchored by the right side
        {CSize(30, 20), kKeyboardTipCenterHorz, TRUE, CRect(82, 200, 118, 222)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.alignment << " " << c.rightToLeft << " " << c.text.cx);
        EXPECT_EQ(c.expected, PlaceKeyboardTip(c.text, anchor, c.alignment, c.rightToLeft));
    }
}

// What the system says about underlines, for the options' query.
BOOL g_systemUnderlines = TRUE;
BOOL FakeSystemCues(BOOL* underlined)
{
    *underlined = g_systemUnderlines;
    return TRUE;
}

class KeyboardCuesTest : public CommandBarsTest
{
protected:
    ScopedSetting<COSMCommandBarsOptions::QueryKeyboardCuesFn> m_query{COSMCommandBarsOptions::s_pfnQueryKeyboardCues,
                                                                       &FakeSystemCues};
};

TEST_F(KeyboardCuesTest, TheManagerShowsCuesOnlyWhenTheyFollowTheKeyboard)
{
    // After the mode, ShowKeyboardCues(show) leaves the cues shown or hidden.
    const struct
    {
        long mode;
        BOOL systemUnderlines;
        BOOL inUse;
        BOOL shownAfterMode;
        BOOL show;
        BOOL shown;
    } cases[] = {
        {COSMCommandBarsOptions::kCuesAlways, FALSE, FALSE, TRUE, FALSE, TRUE},
        {COSMCommandBarsOptions::kCuesNever, FALSE, FALSE, FALSE, TRUE, FALSE},
        {COSMCommandBarsOptions::kCuesFollowSystem, FALSE, TRUE, FALSE, TRUE, TRUE},
        {COSMCommandBarsOptions::kCuesFollowSystem, FALSE, TRUE, FALSE, FALSE, FALSE},
        {COSMCommandBarsOptions::kCuesFollowSystem, TRUE, FALSE, TRUE, FALSE, TRUE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.mode * 10 + c.systemUnderlines);
        g_systemUnderlines = c.systemUnderlines;
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        commandBars->GetCommandBarsOptions()->ShowKeyboardCues(c.mode);
        EXPECT_EQ(c.inUse, commandBars->IsKeyboardCuesInUse());
        EXPECT_EQ(c.shownAfterMode, commandBars->IsKeyboardCuesShown());
        commandBars->ShowKeyboardCues(c.show);
        EXPECT_EQ(c.shown, commandBars->IsKeyboardCuesShown());
    }
}

TEST_F(KeyboardCuesTest, CustomizeModeForcesCuesAndLeavingTrackingHidesThem)
{
    g_systemUnderlines = FALSE;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    ASSERT_TRUE(commandBars->IsKeyboardCuesInUse());
    ASSERT_FALSE(commandBars->IsKeyboardCuesShown());

    commandBars->SetCustomizeMode(TRUE);
    EXPECT_TRUE(commandBars->IsKeyboardCuesShown());
    commandBars->ShowKeyboardCues(FALSE);
    EXPECT_TRUE(commandBars->IsKeyboardCuesShown());
    commandBars->SetCustomizeMode(FALSE);
    EXPECT_FALSE(commandBars->IsKeyboardCuesShown());

    // Shown by the keyboard, hidden when a bar leaves tracking; entering it leaves them.
    commandBars->ShowKeyboardCues(TRUE);
    commandBars->ResetKeyboardState(nullptr, 1);
    EXPECT_TRUE(commandBars->IsKeyboardCuesShown());
    commandBars->ResetKeyboardState(nullptr, 0);
    EXPECT_FALSE(commandBars->IsKeyboardCuesShown());
}

TEST_F(KeyboardCuesTest, LoadingNeverUnderlinedHidesCuesThatWereShownByTheKeyboard)
{
    g_systemUnderlines = FALSE;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->ShowKeyboardCues(TRUE);
    ASSERT_TRUE(commandBars->IsKeyboardCuesShown());
    commandBars->GetCommandBarsOptions()->ShowKeyboardCues(COSMCommandBarsOptions::kCuesNever);
    EXPECT_FALSE(commandBars->IsKeyboardCuesShown());
    EXPECT_FALSE(commandBars->IsKeyboardCuesInUse());
    // Not in use any more: the keyboard brings nothing back.
    commandBars->ShowKeyboardCues(TRUE);
    EXPECT_FALSE(commandBars->IsKeyboardCuesShown());
}

// A bar the tests can make a popup of.
class TipsPopupBar : public TrackingBar
{
public:
    BOOL IsPopupBar() const override { return popup; }
    BOOL popup = FALSE;
};

BOOL(WINAPI* GetLayeredAttributes())(HWND, COLORREF*, BYTE*, DWORD*)
{
    return reinterpret_cast<BOOL(WINAPI*)(HWND, COLORREF*, BYTE*, DWORD*)>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32"), "GetLayeredWindowAttributes")));
}

class KeyboardTipsTest : public TrackingSiteTest
{
protected:
    void SetUp() override
    {
        TrackingSiteTest::SetUp();
        commandBars->GetCommandBarsOptions()->m_keyboardTips = TRUE;
    }
    void TearDown() override
    {
        CreateMouseManager()->SendTrackLost();
        commandBars->HideKeyboardTips();
        TrackingSiteTest::TearDown();
    }

    // A bar of the manager (which owns it) with buttons of the captions, ids from 101 on.
    TipsPopupBar* AddBar(std::initializer_list<const char*> captions, const CRect& rect = CRect(10, 10, 400, 34))
    {
        auto* bar = new TipsPopupBar;
        MakeBarWindow(*bar, 1, 0, rect);
        UINT id = 101;
        for (const char* caption : captions)
            bar->GetControls()->Add(1, static_cast<int>(id++))->SetCaption(caption);
        bar->LayOut(CSize(60, 22));
        commandBars->AddCommandBar(bar);
        return bar;
    }

    std::vector<std::string> TipTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& tip : commandBars->GetKeyboardTips())
            texts.emplace_back(static_cast<LPCSTR>(tip->GetText()));
        return texts;
    }
    // Tips whose windows still exist and show.
    int ShownTips() const
    {
        int shown = 0;
        for (const auto& tip : commandBars->GetKeyboardTips())
            shown += tip->GetSafeHwnd() && ::IsWindowVisible(tip->GetSafeHwnd());
        return shown;
    }
    int Commands(UINT id) const
    {
        int count = 0;
        for (const auto& record : frame.RecordsOf(WM_COMMAND))
            count += LOWORD(record.wParam) == id;
        return count;
    }
};

TEST_F(KeyboardTipsTest, TipWindowsShowTheLettersToType)
{
    TipsPopupBar* bar = AddBar({"Save", "Send", "Sort"});
    bar->GetControl(2)->SetEnabled(FALSE);
    bar->SetTrackingMode(1, FALSE, TRUE);
    commandBars->ShowKeyboardTips(bar, 1);

    ASSERT_EQ((std::vector<std::string>{"SA", "SE", "SO"}), TipTexts());
    EXPECT_EQ(bar, commandBars->GetKeyboardTipsBar());
    EXPECT_EQ(1, bar->GetKeyboardTipsLevel());
    EXPECT_EQ(3, ShownTips());
    const auto getLayered = GetLayeredAttributes();
    ASSERT_NE(nullptr, getLayered);
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        COSMCommandBarKeyboardTip* tip = commandBars->GetKeyboardTips()[static_cast<size_t>(i)].get();
        const HWND window = tip->GetSafeHwnd();
        const LONG exStyle = ::GetWindowLongA(window, GWL_EXSTYLE);
        EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
        EXPECT_FALSE(::GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
        // Owned by the bar; a child bar's popups belong to its top-level window.
        EXPECT_EQ(::GetAncestor(bar->GetSafeHwnd(), GA_ROOT), ::GetWindow(window, GW_OWNER));
        EXPECT_EQ(HTTRANSPARENT, ::SendMessageA(window, WM_NCHITTEST, 0, 0));
        // Anchored 12 right of the control's left side and 11 above its bottom.
        CPoint anchor(bar->GetControl(i)->GetRect().left + 12, bar->GetControl(i)->GetRect().bottom - 11);
        bar->ClientToScreen(&anchor);
        CRect rect;
        ::GetWindowRect(window, &rect);
        EXPECT_EQ(anchor, rect.TopLeft());
        EXPECT_GE(rect.Width(), 16);
        EXPECT_GE(rect.Height(), 15);
        // Only the disabled tip is translucent.
        const bool disabled = i == 2;
        EXPECT_EQ(disabled, (exStyle & WS_EX_LAYERED) != 0);
        if (disabled)
        {
            BYTE alpha = 0;
            DWORD flags = 0;
            ASSERT_TRUE(getLayered(window, nullptr, &alpha, &flags));
            EXPECT_EQ(150, alpha);
            EXPECT_TRUE(flags & LWA_ALPHA);
        }
    }
}

TEST_F(KeyboardTipsTest, TipsPaintThroughThePaintManager)
{
    TipsPopupBar* bar = AddBar({"Save"});
    bar->SetTrackingMode(1, FALSE, TRUE);
    commandBars->ShowKeyboardTips(bar, 1);
    ASSERT_EQ(1u, commandBars->GetKeyboardTips().size());
    const HWND window = commandBars->GetKeyboardTips()[0]->GetSafeHwnd();
    ::UpdateWindow(window);
    // Drawn into a DIB section by the paint manager the window paints through.
    CRect client;
    ::GetClientRect(window, &client);
    foundation_test::DcTestSurface surface(client.Width(), client.Height());
    COSMPaintManager* paintManager = commandBars->GetPaintManager();
    paintManager->DrawKeyboardTip(CDC::FromHandle(surface.GetDC()), commandBars->GetKeyboardTips()[0].get(), FALSE);
    EXPECT_EQ(paintManager->GetColor(COLOR_INFOBK), surface.Pixel(client.Width() / 2, 1));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), surface.Pixel(0, 0));
    // The window paints the same on WM_PAINT: its face is the tip colour on the screen too.
    HDC screen = ::GetDC(window);
    EXPECT_EQ(paintManager->GetColor(COLOR_INFOBK), ::GetPixel(screen, client.Width() / 2, 1));
    ::ReleaseDC(window, screen);
}

TEST_F(KeyboardTipsTest, TypingNarrowsBeepsAndRunsATipTypedInFull)
{
    TipsPopupBar* bar = AddBar({"Save", "Send", "Sort"});
    bar->GetControl(2)->SetEnabled(FALSE);
    bar->SetTrackingMode(1, FALSE, TRUE);
    commandBars->ShowKeyboardTips(bar, 1);
    ASSERT_EQ(3u, commandBars->GetKeyboardTips().size());
    BeepRecorder beeps;
    frame.ClearRecords();

    EXPECT_EQ(1, bar->OnHookKeyDown('S', 0));
    EXPECT_EQ(1, commandBars->GetTypedPrefixLength());
    EXPECT_EQ(3, ShownTips());
    EXPECT_EQ(0, BeepRecorder::count);

    // No tip goes on with Q: a beep, nothing else.
    EXPECT_EQ(1, bar->OnHookKeyDown('Q', 0));
    EXPECT_EQ(1, BeepRecorder::count);
    EXPECT_EQ(1, commandBars->GetTypedPrefixLength());
    EXPECT_EQ(3, ShownTips());

    // Sort is disabled: typed in full it beeps and runs nothing.
    EXPECT_EQ(1, bar->OnHookKeyDown('O', 0));
    EXPECT_EQ(2, BeepRecorder::count);
    EXPECT_EQ(3, ShownTips());
    PumpMessages();
    EXPECT_EQ(0, frame.CountOf(WM_COMMAND));

    // Save runs once; the tips and the tracking go.
    EXPECT_EQ(1, bar->OnHookKeyDown('A', 0));
    PumpMessages();
    EXPECT_EQ(1, Commands(101));
    EXPECT_EQ(1, frame.CountOf(WM_COMMAND));
    EXPECT_EQ(2, BeepRecorder::count);
    EXPECT_TRUE(commandBars->GetKeyboardTips().empty());
    EXPECT_EQ(0, bar->GetTrackingMode());
}

TEST_F(KeyboardTipsTest, ATypedLetterDropsTheTipsThatDoNotGoOnWithIt)
{
    TipsPopupBar* bar = AddBar({"Open", "Save", "Send"});
    bar->SetTrackingMode(1, FALSE, TRUE);
    commandBars->ShowKeyboardTips(bar, 1);
    ASSERT_EQ((std::vector<std::string>{"O", "SA", "SE"}), TipTexts());
    const HWND openTip = commandBars->GetKeyboardTips()[0]->GetSafeHwnd();

    bar->OnHookKeyDown('S', 0);
    EXPECT_EQ((std::vector<std::string>{"SA", "SE"}), TipTexts());
    EXPECT_FALSE(::IsWindow(openTip));
    EXPECT_EQ(2, ShownTips());

    bar->OnHookKeyDown('E', 0);
    PumpMessages();
    EXPECT_EQ(1, Commands(103));
    EXPECT_EQ(0, Commands(102));
}

TEST_F(KeyboardTipsTest, OtherToolbarsGetTipsThatActivateThem)
{
    TipsPopupBar* bar = AddBar({"Save"});
    // A toolbar of the manager, and a bar of another kind, which a tip does not enter.
    auto* other = new COSMToolBar;
    other->SetCommandBars(commandBars.Get());
    other->SetTitle("Edit");
    ASSERT_TRUE(other->Create(&frame, FALSE));
    other->MoveWindow(10, 40, 390, 24);
    other->GetControls()->Add(1, 201)->SetCaption("Cut");
    other->GetControls()->Add(1, 202)->SetCaption("Copy");
    commandBars->AddCommandBar(other);
    TipsPopupBar* plain = AddBar({"Zoom"}, CRect(10, 70, 400, 94));
    plain->SetTitle("View");

    const struct
    {
        UINT key;
        COSMCommandBar* entered;
    } cases[] = {{'V', nullptr}, {'E', other}};
    for (const auto& c : cases)
    {
        bar->SetTrackingMode(1, FALSE, TRUE);
        commandBars->ShowKeyboardTips(bar, 1);
        ASSERT_EQ((std::vector<std::string>{"S", "E", "V"}), TipTexts());
        // The bar's tip sits at its window's top-left corner.
        CRect window;
        other->GetWindowRect(&window);
        CRect tipRect;
        ::GetWindowRect(commandBars->GetKeyboardTips()[1]->GetSafeHwnd(), &tipRect);
        EXPECT_EQ(window.TopLeft(), tipRect.TopLeft());

        bar->OnHookKeyDown(c.key, 0);
        EXPECT_EQ(0, plain->GetTrackingMode()) << c.key;
        if (c.entered)
        {
            EXPECT_EQ(0, bar->GetTrackingMode());
            EXPECT_EQ(1, c.entered->GetTrackingMode());
            EXPECT_EQ(0, c.entered->GetSelectedIndex());
        }
        commandBars->HideKeyboardTips();
        bar->SetTrackingMode(0, FALSE, FALSE);
    }
    other->SetTrackingMode(0, FALSE, FALSE);
}

TEST_F(KeyboardTipsTest, ControlsTheKeyboardCannotReachGetNoTip)
{
    TipsPopupBar* bar = AddBar({"Save", "Hidden", "Skipped", "", "Gallery", "Print"});
    bar->GetControl(1)->SetHideFlags(COSMControl::kHideHidden);
    bar->GetControl(2)->SetFlags(COSMControl::kFlagSkipFocus);
    bar->GetControl(4)->SetType(10);
    bar->GetControl(5)->SetKeyboardTip("Q");
    bar->SetTrackingMode(1, FALSE, TRUE);
    commandBars->ShowKeyboardTips(bar, 1);
    EXPECT_EQ((std::vector<std::string>{"S", "Q"}), TipTexts());

    // Without the options' switch no tip shows.
    commandBars->GetCommandBarsOptions()->m_keyboardTips = FALSE;
    commandBars->ShowKeyboardTips(bar, 1);
    EXPECT_TRUE(commandBars->GetKeyboardTips().empty());
    EXPECT_EQ(0, bar->GetKeyboardTipsLevel());
}

TEST_F(KeyboardTipsTest, RightToLeftTipsAreAnchoredByTheirRightSide)
{
    for (BOOL rightToLeft : {FALSE, TRUE})
    {
        SCOPED_TRACE(rightToLeft);
        TipsPopupBar* bar = AddBar({"Save"});
        commandBars->SetRightToLeft(rightToLeft);
        bar->SetTrackingMode(1, FALSE, TRUE);
        commandBars->ShowKeyboardTips(bar, 1);
        ASSERT_EQ(1u, commandBars->GetKeyboardTips().size());
        CPoint anchor(bar->GetControl(0)->GetRect().left + 12, bar->GetControl(0)->GetRect().bottom - 11);
        bar->ClientToScreen(&anchor);
        CRect rect;
        ::GetWindowRect(commandBars->GetKeyboardTips()[0]->GetSafeHwnd(), &rect);
        EXPECT_EQ(anchor.x, rightToLeft ? rect.right : rect.left);
        EXPECT_EQ(anchor.y, rect.top);
        bar->SetTrackingMode(0, TRUE, FALSE);
        commandBars->Remove(bar);
    }
}

TEST_F(KeyboardTipsTest, EscapeGoesBackALevelThenLeavesTracking)
{
    TipsPopupBar* bar = AddBar({"Save", "Send"});
    bar->SetTrackingMode(1, FALSE, TRUE);
    commandBars->ShowKeyboardTips(bar, 2);
    ASSERT_EQ(2, bar->GetKeyboardTipsLevel());

    bar->OnHookKeyDown(VK_ESCAPE, 0);
    EXPECT_EQ(1, bar->GetKeyboardTipsLevel());
    EXPECT_EQ(2, ShownTips());
    EXPECT_EQ(1, bar->GetTrackingMode());

    bar->OnHookKeyDown(VK_ESCAPE, 0);
    EXPECT_EQ(0, bar->GetTrackingMode());
    EXPECT_EQ(0, bar->GetKeyboardTipsLevel());
    EXPECT_TRUE(commandBars->GetKeyboardTips().empty());
}

TEST_F(KeyboardTipsTest, CuesThatChangeRedrawTheVisibleBars)
{
    TipsPopupBar* shown = AddBar({"&File"});
    TipsPopupBar* hidden = AddBar({"&Edit"}, CRect(10, 40, 400, 64));
    hidden->ShowWindow(SW_HIDE);
    commandBars->SetKeyboardCuesInUse(TRUE);
    commandBars->SetKeyboardCuesShown(FALSE);
    // Locked bars only mark the redraw they are asked for.
    shown->LockRedraw();
    hidden->LockRedraw();
    const auto pending = [](const COSMCommandBar* bar) {
        return (bar->GetStateFlags() & COSMCommandBar::kStateRedrawPending) != 0;
    };

    commandBars->ShowKeyboardCues(FALSE);  // no change: nothing to redraw
    EXPECT_FALSE(pending(shown));
    commandBars->ShowKeyboardCues(TRUE);
    EXPECT_TRUE(commandBars->IsKeyboardCuesVisible());
    EXPECT_TRUE(shown->IsKeyboardCuesVisible());
    EXPECT_TRUE(pending(shown));
    EXPECT_FALSE(pending(hidden));
    shown->UnlockRedraw();
    hidden->UnlockRedraw();
}

TEST_F(KeyboardTipsTest, AResetAsksAKeyboardPopupToShowItsTipsAgain)
{
    for (BOOL keyboard : {TRUE, FALSE})
    {
        SCOPED_TRACE(keyboard);
        TipsPopupBar popup;
        popup.popup = TRUE;
        popup.SetCommandBars(commandBars.Get());
        ASSERT_TRUE(popup.CreatePopup(&frame, CRect(120, 120, 300, 200)));
        popup.GetControls()->Add(1, 201)->SetCaption("Cut");
        popup.GetControls()->Add(1, 202)->SetCaption("Copy");
        popup.LayOut(CSize(60, 22), TRUE);
        popup.SetTrackingMode(1, FALSE, keyboard);
        commandBars->ShowKeyboardTips(&popup, 1);
        ASSERT_EQ(2u, commandBars->GetKeyboardTips().size());
        PumpMessages();

        // Another bar leaves tracking: cues shown by the keyboard stay while the popup tracks.
        commandBars->SetKeyboardCuesInUse(TRUE);
        commandBars->SetKeyboardCuesShown(TRUE);
        commandBars->ResetKeyboardState(nullptr, 0);
        EXPECT_TRUE(commandBars->IsKeyboardCuesShown());
        EXPECT_TRUE(commandBars->GetKeyboardTips().empty());
        MSG msg = {};
        const BOOL posted = ::PeekMessageA(&msg, popup.GetSafeHwnd(), WM_TIMER, WM_TIMER, PM_NOREMOVE);
        EXPECT_EQ(keyboard, posted);
        if (posted)
        {
            EXPECT_EQ(52426u, msg.wParam);
        }
        PumpMessages();
        EXPECT_EQ(keyboard ? 2u : 0u, commandBars->GetKeyboardTips().size());
        EXPECT_EQ(keyboard ? 1 : 0, popup.GetKeyboardTipsLevel());

        popup.SetTrackingMode(0, TRUE, FALSE);
        EXPECT_FALSE(commandBars->IsKeyboardCuesShown());
        EXPECT_TRUE(commandBars->GetKeyboardTips().empty());
    }
}

}  // namespace
