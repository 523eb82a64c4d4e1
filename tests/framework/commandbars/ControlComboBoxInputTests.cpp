// The combo box in a toolbar docked on an active frame, with its drop-down list: what a new one holds and what
// loading "DropDown" makes of it, the selection kept in step with the text, completion of typed text from the list,
// the codes the site hears as the list opens, closes, accepts and cancels, the keys of the bar's hook, the wheel,
// the drawn text, the list's size, window, paint and stored items.
#include "tests/support/DcTestSurface.h"
#include "EditBoxTestSupport.h"
#include "PropExchangeTestSupport.h"

#include "classlib/Archive.h"
#include "classlib/DC.h"
#include "classlib/MemFile.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <shlwapi.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace commandbars_test;
using foundation_test::DcTestSurface;

namespace {

// The colour of the first pixel inside the surface's one-pixel border that is not the background, none when there
// is no such pixel.
std::optional<COLORREF> InkInside(const DcTestSurface& surface, COLORREF background)
{
    for (int y = 1; y < surface.Height() - 1; ++y)
        for (int x = 1; x < surface.Width() - 1; ++x)
            if (surface.Pixel(x, y) != background)
                return surface.Pixel(x, y);
    return std::nullopt;
}

// An archive store that keeps the names of the values in the order they are written, and writes another long in
// place of the given occurrence (1 the first) of one name.
class NameRecordingStore : public COSMPropExchangeArchive
{
public:
    using COSMPropExchangeArchive::COSMPropExchangeArchive;

    BOOL ExchangeProp(LPCSTR name, VARTYPE type, void* value, const void* defaultValue) override
    {
        names.emplace_back(name);
        if (type == OSM_PX_LONG && names.back() == replacedName &&
            std::count(names.begin(), names.end(), replacedName) == replacedOccurrence)
        {
            long replaced = replacement;
            return COSMPropExchangeArchive::ExchangeProp(name, type, &replaced, defaultValue);
        }
        return COSMPropExchangeArchive::ExchangeProp(name, type, value, defaultValue);
    }

    std::vector<std::string> names;
    std::string replacedName;
    long replacedOccurrence = 0;
    long replacement = 0;
};

// Whether each popup was visible when 10331 announced it to the frame (a call-window-procedure hook sees it sent).
std::vector<bool>& AnnouncedVisible()
{
    static std::vector<bool> announced;
    return announced;
}

LRESULT CALLBACK RecordPopupShowing(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == COSMPopupBar::kMessagePopupShowing)
    {
        const HWND popup = reinterpret_cast<COSMCommandBar*>(sent->lParam)->GetSafeHwnd();
        AnnouncedVisible().push_back(popup && ::IsWindowVisible(popup));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class ControlComboBoxInputTest : public EditBoxSiteTest
{
protected:
    ControlComboBoxInputTest() : EditBoxSiteTest("combo box test") {}

    void SetUp() override
    {
        EditBoxSiteTest::SetUp();
        if (HasFatalFailure())
            return;
        combo = static_cast<COSMControlComboBox*>(bar->GetControls()->Add(5, 4700));
        ASSERT_NE(nullptr, combo);
        combo->SetWidth(160);
        list = combo->GetComboBoxList();
        ASSERT_NE(nullptr, list);
        for (const char* item : {"About", "Apple", "Banana", "Cherry"})
            list->AddString(item);
        Settle();
    }

    void MakeEditable()
    {
        combo->SetDropDown(TRUE);
        LayOut();
        ASSERT_NE(nullptr, combo->GetEditCtrl());
    }
    HWND EditWindow() const { return combo->GetEditCtrl() ? combo->GetEditCtrl()->GetSafeHwnd() : nullptr; }
    void ClickIntoEdit() { ClickInto(*combo->GetEditCtrl()); }
    // Opens the list as a click on the drop-down button does.
    void ClickDropDownButton()
    {
        const CRect rect = combo->GetRect();
        ClickAt(ScreenPoint(*bar, CPoint(rect.right - 4, rect.CenterPoint().y)));
        PumpMessages();
    }
    int ListClientHeight() const
    {
        CRect client;
        ::GetClientRect(list->GetSafeHwnd(), &client);
        return client.Height();
    }

    COSMControlComboBox* combo = nullptr;
    COSMControlComboBoxList* list = nullptr;
};

TEST_F(ControlComboBoxInputTest, ANewComboHasNoEditWindowAndLoadingDropDownMakesOrDeletesIt)
{
    COSMControlComboBox fresh;
    EXPECT_EQ(5, fresh.GetType());
    EXPECT_EQ(100, fresh.GetWidth());
    EXPECT_FALSE(fresh.GetDropDown());
    EXPECT_EQ(nullptr, fresh.GetEditCtrl());
    EXPECT_EQ(12, fresh.GetDropDownItemCount());
    EXPECT_EQ(-1, fresh.GetCurSel());
    ASSERT_NE(nullptr, fresh.GetComboBoxList()) << "the constructor makes the list";
    EXPECT_NE(nullptr, fresh.GetComboBoxList()->GetSafeHwnd()) << "with its list box";

    // In a bar, loading DropDown 1 makes the window at the next placement; 0 takes it away.
    COSMControlComboBox editable;
    editable.SetDropDown(TRUE);
    RoundTripAtSchema(editable, *combo, 8);
    EXPECT_TRUE(combo->GetDropDown());
    LayOut();
    ASSERT_NE(nullptr, EditWindow());
    EXPECT_EQ(bar->GetSafeHwnd(), ::GetParent(EditWindow()));
    CRect expected = combo->GetRect();
    expected.DeflateRect(combo->GetLabelWidth() + 4, 3, combo->GetDropDownButtonWidth() + 3, 3);
    CRect shown;
    ::GetWindowRect(EditWindow(), &shown);
    ::MapWindowPoints(nullptr, bar->GetSafeHwnd(), reinterpret_cast<POINT*>(&shown), 2);
    EXPECT_EQ(expected, shown);
    RoundTripAtSchema(fresh, *combo, 8);
    EXPECT_FALSE(combo->GetDropDown());
    EXPECT_EQ(nullptr, combo->GetEditCtrl());
}

TEST_F(ControlComboBoxInputTest, TheSelectionFollowsTheTextAndSettingTheSameSelectionDoesNothing)
{
    MakeEditable();
    // Enough items below for any of the first ones to come to the top.
    for (int i = 0; i < 20; ++i)
        list->AddString("Zz");
    const struct
    {
        const char* text;
        int selection;
        int topIndex;
    } cases[] = {
        {"Banana", 2, -1},  // an exact match selects
        {"cherry", 3, -1},  // whatever the case
        {"Ch", -1, 3},      // a prefix scrolls there and selects nothing
        {"Zebra", -1, -1},  // nothing matches
    };
    for (const auto& c : cases)
    {
        list->SendMessage(LB_SETTOPINDEX, 0);
        combo->SetEditText(c.text);
        combo->SyncSelectionToText();
        EXPECT_EQ(c.selection, combo->GetCurSel()) << c.text;
        if (c.topIndex >= 0)
        {
            EXPECT_EQ(c.topIndex, static_cast<int>(list->SendMessage(LB_GETTOPINDEX))) << c.text;
        }
    }

    // A new selection sets the text and tells the site once; the same one again does nothing.
    combo->SetCurSel(1);
    EXPECT_EQ("Apple", WindowTextOf(EditWindow()));
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifySelChange));
    combo->SetCurSel(1);
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifySelChange));
    EXPECT_EQ(1, combo->GetCurSel());
}

TEST_F(ControlComboBoxInputTest, TypedTextIsCompletedFromTheListAndEscapeRestoresIt)
{
    MakeEditable();
    combo->SetAutoComplete(TRUE);
    combo->SetCurSel(3);
    ClickIntoEdit();
    ASSERT_EQ(EditWindow(), ::GetFocus());
    codes.clear();

    TypeText("ab");
    EXPECT_EQ("About", WindowTextOf(EditWindow()));
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(EditWindow(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(2u, start);
    EXPECT_EQ(5u, end);
    EXPECT_EQ(0, combo->GetCurSel()) << "the completed text selects its item";
    EXPECT_GE(CountOf(COSMControlComboBox::kNotifyEditChange), 2);

    // Backspace takes the completed part away without completing again.
    SendKey(VK_BACK);
    EXPECT_EQ("Ab", WindowTextOf(EditWindow())) << "the completion took the item's letters";
    EXPECT_EQ(-1, combo->GetCurSel());

    // Escape brings back the text and the selection the combo had when it took the focus.
    SendKey(VK_ESCAPE);
    PumpMessages();
    EXPECT_EQ("Cherry", WindowTextOf(EditWindow()));
    EXPECT_EQ(3, combo->GetCurSel());
    EXPECT_FALSE(combo->IsFocused());
}

TEST_F(ControlComboBoxInputTest, TypedHintLettersStayATextInTheCombo)
{
    MakeEditable();
    combo->SetEditHint("Fruit");
    EXPECT_EQ("Fruit", WindowTextOf(EditWindow()));
    EXPECT_TRUE(combo->IsHintShown());
    EXPECT_EQ("", std::string(combo->GetEditText()));
    ClickIntoEdit();
    EXPECT_EQ("", WindowTextOf(EditWindow()));
    TypeText("fruit");
    EXPECT_EQ("fruit", std::string(combo->GetEditText()));
    frame.SetFocus();
    PumpMessages();
    EXPECT_EQ("fruit", std::string(combo->GetEditText()));
    combo->SetEditText("FRUIT");
    EXPECT_EQ("FRUIT", WindowTextOf(EditWindow())) << "a change of case reaches the screen";
    EXPECT_EQ("FRUIT", std::string(combo->GetEditText()));
}

TEST_F(ControlComboBoxInputTest, TheListOpensAndClosesWithItsCodes)
{
    combo->SetCurSel(1);
    codes.clear();
    COSMMouseManager* mouse = bar->GetMouseManager();
    const int locks = mouse->GetLockCount();

    // Opening: 10331 reaches the site while the list is still hidden, then code 7, the lock goes up.
    AnnouncedVisible().clear();
    const HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &RecordPopupShowing, nullptr, ::GetCurrentThreadId());
    ClickDropDownButton();
    ::UnhookWindowsHookEx(hook);
    ASSERT_TRUE(combo->GetDroppedState());
    ASSERT_EQ(1u, AnnouncedVisible().size());
    EXPECT_FALSE(AnnouncedVisible()[0]) << "10331 comes before the list shows";
    EXPECT_TRUE(::IsWindowVisible(list->GetSafeHwnd()));
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifyDropDown));
    EXPECT_EQ(locks + 1, mouse->GetLockCount());
    EXPECT_EQ(combo, list->GetComboBox());

    // Another selection, then closed without accepting: the old selection comes back, codes 10 and 8.
    list->SetCurSel(3);
    bar->SetPopuped(-1, FALSE);
    PumpMessages();
    EXPECT_FALSE(combo->GetDroppedState());
    EXPECT_FALSE(::IsWindowVisible(list->GetSafeHwnd()));
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifySelEndCancel));
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifyCloseUp));
    EXPECT_EQ(locks, mouse->GetLockCount());
    EXPECT_EQ(nullptr, list->GetComboBox()) << "the list forgets its combo";

    // Opened again, Enter through the list's keys accepts: code 9, the new selection stays.
    codes.clear();
    ClickDropDownButton();
    ASSERT_TRUE(combo->GetDroppedState());
    list->SetCurSel(2);
    EXPECT_EQ(1, list->OnHookKeyDown(VK_RETURN, 0));
    PumpMessages();
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifySelEndOk));
    EXPECT_EQ(0, CountOf(COSMControlComboBox::kNotifySelEndCancel));
    EXPECT_EQ(2, combo->GetCurSel());
    EXPECT_FALSE(combo->GetDroppedState());
}

TEST_F(ControlComboBoxInputTest, ARightToLeftManagerOpensARightToLeftList)
{
    const LONG rtl = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    const struct
    {
        BOOL rightToLeft;
        LONG expected;
    } cases[] = {{TRUE, rtl}, {FALSE, 0}};
    for (const auto& c : cases)
    {
        commandBars->SetRightToLeft(c.rightToLeft);
        ASSERT_TRUE(bar->SetPopuped(combo->GetIndex(), FALSE)) << c.rightToLeft;
        const LONG exStyle = ::GetWindowLongA(list->GetSafeHwnd(), GWL_EXSTYLE);
        EXPECT_EQ(c.expected, exStyle & rtl) << c.rightToLeft;
        EXPECT_EQ(0, exStyle & WS_EX_LAYOUTRTL) << c.rightToLeft;
        bar->SetPopuped(-1, FALSE);
        PumpMessages();
    }
    commandBars->SetRightToLeft(FALSE);
}

TEST_F(ControlComboBoxInputTest, FocusBringsCodesThreeAndFourAndAnUnacceptedChangeIsCancelled)
{
    combo->SetCurSel(0);
    codes.clear();
    combo->SetFocused(TRUE);
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifySetFocus));
    EXPECT_NE(0, bar->GetTrackingMode());
    // The wheel moves the selection of a focused, closed combo.
    EXPECT_TRUE(combo->OnHookMouseWheel(0, -120, CPoint(0, 0)));
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_TRUE(combo->OnHookMouseWheel(0, 120, CPoint(0, 0)));
    EXPECT_EQ(0, combo->GetCurSel());
    EXPECT_TRUE(combo->OnHookMouseWheel(0, -120, CPoint(0, 0)));
    combo->SetFocused(FALSE);
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifyKillFocus));
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifySelEndCancel));
    EXPECT_EQ(0, combo->GetCurSel()) << "leaving without accepting restores the selection";
    EXPECT_FALSE(combo->OnHookMouseWheel(0, -120, CPoint(0, 0))) << "not focused";
}

TEST_F(ControlComboBoxInputTest, HookKeysOpenTheListMoveTheSelectionOrGoToTheEditWindow)
{
    EXPECT_EQ(0, combo->OnHookKeyDown(VK_F4, 0)) << "not focused";
    MakeEditable();
    ClickIntoEdit();
    ASSERT_TRUE(combo->IsFocused());

    // F4 opens and closes the list.
    EXPECT_EQ(1, combo->OnHookKeyDown(VK_F4, 0));
    PumpMessages();
    EXPECT_TRUE(combo->GetDroppedState());
    EXPECT_EQ(1, combo->OnHookKeyDown(VK_F4, 0));
    PumpMessages();
    EXPECT_FALSE(combo->GetDroppedState());

    // Tab and Enter are the bar's; Down moves the list's selection and the text follows; a letter is the window's.
    EXPECT_EQ(0, combo->OnHookKeyDown(VK_TAB, 0));
    EXPECT_EQ(0, combo->OnHookKeyDown(VK_RETURN, 0));
    combo->SetCurSel(0);
    EXPECT_EQ(1, combo->OnHookKeyDown(VK_DOWN, 0));
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ("Apple", WindowTextOf(EditWindow()));
    EXPECT_EQ(2, combo->OnHookKeyDown('Q', 0));
    EXPECT_EQ(1, combo->OnHookKeyDown(VK_BACK, 0)) << "an editing key goes in through the window";
    // With the shell's auto-complete asking for Tab, Tab goes on to the window.
    combo->EnableShellAutoComplete(SHACF_FILESYSTEM);
    if (combo->GetShellAutoComplete())
    {
        EXPECT_EQ(0, combo->OnHookKeyDown(VK_TAB, 0));
        combo->EnableShellAutoComplete(SHACF_FILESYSTEM | SHACF_USETAB);
        EXPECT_EQ(2, combo->OnHookKeyDown(VK_TAB, 0));
    }
    else
    {
        ADD_FAILURE() << "the shell's auto-complete did not attach";
    }
    combo->EnableShellAutoComplete(0);
    ClickAt(CPoint(1200, 1000));
}

// A choice in the list, by Enter or by a click, leaves the combo as a user expects to find it: a real click into
// its edit window focuses that window again, and F4 opens the list once more. Two choices in a row on one combo.
class ControlComboBoxChoiceTest : public ControlComboBoxInputTest, public ::testing::WithParamInterface<bool>
{};

TEST_P(ControlComboBoxChoiceTest, AfterAChoiceAClickIntoTheEditWindowFocusesItAndF4OpensTheListAgain)
{
    const bool chooseByClick = GetParam();
    // The frame runs the combo's command, as a program does: the command update after a choice would disable a
    // combo whose command nobody runs, and a disabled edit window takes no click.
    frame.HandleCommand(combo->GetID());
    MakeEditable();
    COSMMouseManager* mouse = bar->GetMouseManager();
    const int locks = mouse->GetLockCount();
    const struct
    {
        int row;
        const char* text;
    } choices[] = {{2, "Banana"}, {3, "Cherry"}};
    for (const auto& [row, text] : choices)
    {
        ClickIntoEdit();
        ASSERT_EQ(EditWindow(), ::GetFocus()) << "choice before row " << row;
        SendKey(VK_F4);
        ASSERT_TRUE(PumpUntil([&] { return combo->GetDroppedState() != FALSE; })) << row;
        const int itemHeight = list->GetItemHeight();
        if (chooseByClick)
        {
            ClickAt(ScreenPoint(*list, CPoint(10, itemHeight * row + itemHeight / 2)));
        }
        else
        {
            for (int presses = 0; presses < 4 && list->GetCurSel() != row; ++presses)
                SendKey(VK_DOWN);
            SendKey(VK_RETURN);
        }
        ASSERT_TRUE(PumpUntil([&] { return combo->GetDroppedState() == FALSE; })) << row;
        PumpMessages();
        EXPECT_EQ(row, combo->GetCurSel());
        EXPECT_EQ(text, WindowTextOf(EditWindow()));
        EXPECT_EQ(nullptr, ::GetCapture()) << row;
        // The choice ends the editing: the focus goes back where it came from.
        EXPECT_FALSE(combo->IsFocused()) << row;
        EXPECT_EQ(frame.GetSafeHwnd(), ::GetFocus()) << row;
    }
    // A third time, closed by Escape.
    ClickIntoEdit();
    EXPECT_EQ(EditWindow(), ::GetFocus());
    EXPECT_TRUE(combo->IsFocused());
    SendKey(VK_F4);
    EXPECT_TRUE(PumpUntil([&] { return combo->GetDroppedState() != FALSE; }));
    SendKey(VK_ESCAPE);
    PumpMessages();
    ClickAt(CPoint(1200, 1000));
    PumpMessages();
    EXPECT_FALSE(combo->IsFocused());
    EXPECT_EQ(locks, mouse->GetLockCount()) << "every lock taken was given back";
}

INSTANTIATE_TEST_SUITE_P(ByEnterOrClick, ControlComboBoxChoiceTest, ::testing::Bool());

// Where nobody runs the combo's command, the command update that follows a choice disables it (the default of the
// options), as a program's idle update would have from the start: its edit window then takes no click.
TEST_F(ControlComboBoxInputTest, AComboWhoseCommandNobodyRunsIsDisabledByTheUpdateAfterItsChoice)
{
    MakeEditable();
    ClickIntoEdit();
    SendKey(VK_F4);
    ASSERT_TRUE(PumpUntil([&] { return combo->GetDroppedState() != FALSE; }));
    SendKey(VK_DOWN);
    SendKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return combo->GetDroppedState() == FALSE; }));
    PumpMessages();
    EXPECT_FALSE(combo->GetEnabled());
    EXPECT_FALSE(::IsWindowEnabled(EditWindow()));
    ClickIntoEdit();
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetFocus());
}

TEST_F(ControlComboBoxInputTest, TypingALetterInAnOpenNonEditableListJumpsToIt)
{
    combo->SetFocused(TRUE);
    ClickDropDownButton();
    ASSERT_TRUE(combo->GetDroppedState());
    codes.clear();
    EXPECT_EQ(1, list->OnHookKeyDown('C', 0));
    PumpMessages();
    EXPECT_EQ(3, combo->GetCurSel());
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifySelChange));
    // Alt+Down is the combo's own (it closes the list), not the list's.
    EXPECT_EQ(0, list->ProcessHookKeyDown(combo, VK_F4, 0));
}

TEST_F(ControlComboBoxInputTest, AMouseMoveOverTheListSelectsAndAReleaseAccepts)
{
    ClickDropDownButton();
    ASSERT_TRUE(combo->GetDroppedState());
    const int itemHeight = list->GetItemHeight();
    MoveMouseTo(ScreenPoint(*list, CPoint(10, itemHeight * 2 + itemHeight / 2)));
    PumpMessages();
    EXPECT_EQ(2, list->GetCurSel());
    codes.clear();
    ClickAt(ScreenPoint(*list, CPoint(10, itemHeight * 2 + itemHeight / 2)));
    PumpMessages();
    EXPECT_FALSE(combo->GetDroppedState());
    EXPECT_EQ(2, combo->GetCurSel());
    EXPECT_EQ("Banana", std::string(combo->GetListText()));
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifySelEndOk));
}

TEST_F(ControlComboBoxInputTest, OverTheDropDownButtonTheSelectionStateIsFive)
{
    combo->SetSelected(1);
    const CRect rect = combo->GetRect();
    combo->OnMouseMove(CPoint(rect.right - 2, rect.CenterPoint().y));
    EXPECT_EQ(COSMControlComboBox::kSelectedDropDown, combo->GetSelected());
    combo->OnMouseMove(CPoint(rect.left + 2, rect.CenterPoint().y));
    EXPECT_EQ(1, combo->GetSelected());
}

TEST_F(ControlComboBoxInputTest, TheListIsAsHighAsItsRowsAndAsWideAsTheControlOrItsMruWidth)
{
    const struct
    {
        int items;
        int rows;
        bool scrollBar;
    } cases[] = {{0, 1, false}, {3, 3, false}, {40, 12, true}};
    for (const auto& c : cases)
    {
        list->ResetContent();
        for (int i = 0; i < c.items; ++i)
        {
            CString text;
            text.Format("Item %i", i);
            list->AddString(text);
        }
        ClickDropDownButton();
        ASSERT_TRUE(combo->GetDroppedState()) << c.items;
        // The rows are those of the control's font, which the list takes as it opens.
        const int itemHeight = list->GetItemHeight();
        ASSERT_GT(itemHeight, 0);
        CRect window;
        ::GetWindowRect(list->GetSafeHwnd(), &window);
        EXPECT_EQ(c.rows * itemHeight + 4, window.Height()) << c.items;
        EXPECT_EQ(combo->GetRect().Width(), window.Width()) << c.items;
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        ::GetScrollBarInfo(list->GetSafeHwnd(), OBJID_VSCROLL, &info);
        EXPECT_EQ(c.scrollBar, (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) == 0) << c.items;
        bar->SetPopuped(-1, FALSE);
        PumpMessages();
    }
    list->SetMRUWidth(230);
    ClickDropDownButton();
    CRect window;
    ::GetWindowRect(list->GetSafeHwnd(), &window);
    EXPECT_EQ(230, window.Width());
    bar->SetPopuped(-1, FALSE);
}

TEST_F(ControlComboBoxInputTest, AListIconOfSixteenPixelsMakesRowsTwentyHigh)
{
    HICON small = static_cast<HICON>(::LoadImageA(nullptr, IDI_APPLICATION, IMAGE_ICON, 16, 16, LR_SHARED));
    ASSERT_TRUE(bar->GetImageManager()->SetIcon(small, 905, 16, 16));
    list->SetListIconId(905);
    list->AddString("One");
    list->AddString("Two");
    ClickDropDownButton();
    ASSERT_TRUE(combo->GetDroppedState());
    EXPECT_EQ(20, list->GetItemHeight());
    CRect window;
    ::GetWindowRect(list->GetSafeHwnd(), &window);
    EXPECT_EQ(std::min(12, list->GetCount()) * 20 + 4, window.Height());
    bar->SetPopuped(-1, FALSE);
    PumpMessages();
}

TEST_F(ControlComboBoxInputTest, AnOwnerDrawnListIsMadeAsAChildOfTheSiteAndEndsAPopupOwnedByIt)
{
    auto* owned = new COSMControlComboBoxList;
    owned->SetCommandBars(commandBars.Get());
    owned->SetListStyle(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    ASSERT_TRUE(owned->CreateListBox());
    const HWND window = owned->GetSafeHwnd();
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(WS_POPUP, style & (WS_POPUP | WS_CHILD));
    EXPECT_EQ(::GetDesktopWindow(), ::GetAncestor(window, GA_PARENT));
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetWindow(window, GW_OWNER));

    // Given to the combo, its items are drawn by the combo: WM_DRAWITEM reaches DrawItem through the site.
    struct DrawCounter : COSMControlComboBox
    {
        int drawn = 0;
        void DrawItem(LPDRAWITEMSTRUCT drawItem) override
        {
            ++drawn;
            COSMControlComboBox::DrawItem(drawItem);
        }
    };
    auto* counter = new DrawCounter;
    bar->GetControls()->InsertAt(counter, -1);
    counter->SetCommandBar(owned);
    owned->InternalRelease();
    owned->AddString("One");
    owned->AddString("Two");
    LayOut();
    ClickAt(ScreenPoint(*bar, CPoint(counter->GetRect().right - 4, counter->GetRect().CenterPoint().y)));
    PumpMessages();
    ASSERT_TRUE(counter->GetDroppedState());
    ::UpdateWindow(window);
    PumpMessages();
    EXPECT_GT(counter->drawn, 0);
    bar->SetPopuped(-1, FALSE);
}

TEST_F(ControlComboBoxInputTest, TheListFrameIsDrawnInTheThemeColours)
{
    ClickDropDownButton();
    ASSERT_TRUE(combo->GetDroppedState());
    ::RedrawWindow(list->GetSafeHwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    COSMPaintManager* paintManager = list->GetPaintManager();
    HDC dc = ::GetWindowDC(list->GetSafeHwnd());
    EXPECT_EQ(paintManager->GetColor(COSMControlComboBoxList::kFrameColorIndex), ::GetPixel(dc, 5, 0));
    EXPECT_EQ(paintManager->GetColor(COLOR_WINDOW), ::GetPixel(dc, 5, 1));
    ::ReleaseDC(list->GetSafeHwnd(), dc);
    bar->SetPopuped(-1, FALSE);
}

TEST_F(ControlComboBoxInputTest, TheComboTextIsDrawnByFocusHintAndState)
{
    COSMPaintManager* paintManager = combo->GetPaintManager();
    CWindowDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 120, 24);
    CBitmap* old = dc.SelectObject(&bitmap);
    const CRect rect(0, 0, 120, 24);
    // The colour of the first pixel that is not the background.
    auto inkOf = [&](COLORREF background) -> COLORREF {
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 120; ++x)
                if (dc.GetPixel(x, y) != background)
                    return dc.GetPixel(x, y);
        return background;
    };
    const COLORREF white = RGB(255, 255, 255);

    // The hint of an empty, unfocused combo, in grey.
    combo->SetEditHint("Pick");
    dc.FillSolidRect(rect, white);
    combo->DrawComboText(&dc, rect);
    EXPECT_EQ(paintManager->GetColor(COLOR_GRAYTEXT), inkOf(white));

    // A selection in the normal text colour; focused, the fill of the selection colour with its text colour.
    combo->SetCurSel(0);
    dc.FillSolidRect(rect, white);
    combo->DrawComboText(&dc, rect);
    EXPECT_EQ(paintManager->GetColor(COLOR_WINDOWTEXT), inkOf(white));
    combo->SetFocused(TRUE);
    dc.FillSolidRect(rect, white);
    combo->DrawComboText(&dc, rect);
    const COLORREF fill = paintManager->GetColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(fill, dc.GetPixel(1, 1));
    EXPECT_EQ(white, dc.GetPixel(0, 0));
    // Inside the fill, the text: look past the fill for the text's colour.
    COLORREF text = fill;
    for (int y = 1; y < 23 && text == fill; ++y)
        for (int x = 1; x < 119 && text == fill; ++x)
            text = dc.GetPixel(x, y) != fill ? dc.GetPixel(x, y) : fill;
    EXPECT_EQ(paintManager->GetColor(COLOR_HIGHLIGHTTEXT), text);
    combo->SetFocused(FALSE);
    dc.SelectObject(old);
}

TEST_F(ControlComboBoxInputTest, TheListStoresItsItemsAndItsIconAboveSchemaTwentyThree)
{
    list->SetListIconId(7);
    const struct
    {
        long schema;
        int iconId;
    } cases[] = {{23, -1}, {24, 7}};
    for (const auto& c : cases)
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            COSMPropExchangeArchive px(ar);
            px.m_nSchema = c.schema;
            list->DoPropExchange(&px);
            ar.Close();
        }
        file.SeekToBegin();
        RefPtr<COSMControlComboBoxList> loaded = AdoptRef(new COSMControlComboBoxList);
        CArchive ar(&file, CArchive::load);
        COSMPropExchangeArchive px(ar);
        px.m_nSchema = c.schema;
        loaded->DoPropExchange(&px);
        ar.Close();
        EXPECT_EQ(c.iconId, loaded->GetListIconId()) << c.schema;
        ASSERT_EQ(4, loaded->GetCount()) << c.schema;
        CString text;
        loaded->GetText(3, text);
        EXPECT_EQ("Cherry", std::string(text));
    }
}

TEST_F(ControlComboBoxInputTest, TheComboKeysAreStoredFromTheirSchemas)
{
    COSMControlComboBox source;
    source.SetWidth(140);
    source.SetComboStyle(1);
    source.SetEditHint("Pick");
    source.EnableShellAutoComplete(SHACF_FILESYSTEM);
    source.SetAutoComplete(TRUE);
    source.SetEditIconId(9);
    source.SetDropDownItemCount(5);
    source.SetEditStyle(ES_UPPERCASE);
    const struct
    {
        long schema;
        const char* hint;
        BOOL autoComplete;
        int rows;
        DWORD style;
    } cases[] = {
        {8, "", FALSE, 12, 0}, {9, "Pick", TRUE, 5, 0}, {16, "Pick", TRUE, 5, 0}, {17, "Pick", TRUE, 5, ES_UPPERCASE}};
    for (const auto& c : cases)
    {
        COSMControlComboBox loaded;
        RoundTripAtSchema(source, loaded, c.schema);
        EXPECT_EQ(140, loaded.GetWidth()) << c.schema;
        EXPECT_EQ(1, loaded.GetComboStyle()) << c.schema;
        EXPECT_FALSE(loaded.GetDropDown()) << c.schema;
        EXPECT_EQ(c.hint, std::string(loaded.GetEditHint())) << c.schema;
        EXPECT_EQ(c.autoComplete, loaded.GetAutoComplete()) << c.schema;
        EXPECT_EQ(c.rows, loaded.GetDropDownItemCount()) << c.schema;
        EXPECT_EQ(c.style, loaded.GetEditStyle()) << c.schema;
    }
}

TEST_F(ControlComboBoxInputTest, ACopySharesTheListOrClonesItWithItsItems)
{
    RefPtr<COSMControl> shared = AdoptRef(combo->Clone(FALSE));
    auto* sharedCombo = static_cast<COSMControlComboBox*>(shared.Get());
    EXPECT_EQ(list, sharedCombo->GetComboBoxList());
    EXPECT_TRUE(sharedCombo->Compare(combo));

    RefPtr<COSMControl> cloned = AdoptRef(combo->Clone(TRUE));
    auto* clonedCombo = static_cast<COSMControlComboBox*>(cloned.Get());
    ASSERT_NE(nullptr, clonedCombo->GetComboBoxList());
    EXPECT_NE(list, clonedCombo->GetComboBoxList());
    EXPECT_EQ(4, clonedCombo->GetComboBoxList()->GetCount());
}

TEST_F(ControlComboBoxInputTest, ACustomizeClickSelectsTheComboAndNotTheEditText)
{
    MakeEditable();
    commandBars->SetCustomizeMode(TRUE);
    PumpMessages();
    ClickIntoEdit();
    EXPECT_NE(EditWindow(), ::GetFocus()) << "in customize mode the window is not typed into";
    EXPECT_EQ(combo, commandBars->GetCustomizeSelection());
    commandBars->SetCustomizeMode(FALSE);
}

TEST_F(ControlComboBoxInputTest, WidthIsStoredTwiceFromSchemaNineteenAndTheCombosOwnIsTheOneLoaded)
{
    COSMControlComboBox source;
    source.SetWidth(140);
    // The base carries "Width" from schema 19 on; the combo's own comes after "DropDown", before "ComboStyle".
    const struct
    {
        long schema;
        long widths;
    } cases[] = {{8, 1}, {18, 1}, {19, 2}, {0x22, 2}};
    for (const auto& c : cases)
    {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        NameRecordingStore store(ar);
        store.m_nSchema = c.schema;
        source.DoPropExchange(&store);
        ar.Close();
        const auto& names = store.names;
        EXPECT_EQ(c.widths, std::count(names.begin(), names.end(), "Width")) << c.schema;
        const auto dropDown = std::find(names.begin(), names.end(), "DropDown");
        ASSERT_LE(2, names.end() - dropDown) << c.schema;
        EXPECT_EQ("Width", dropDown[1]) << c.schema;
        EXPECT_EQ("ComboStyle", dropDown[2]) << c.schema;
    }

    // Both are the one field: loading reads the base's first and the combo's last, and the combo's wins.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        NameRecordingStore store(ar);
        store.m_nSchema = 0x22;
        store.replacedName = "Width";
        store.replacedOccurrence = 2;
        store.replacement = 77;
        source.DoPropExchange(&store);
        ar.Close();
    }
    file.SeekToBegin();
    COSMControlComboBox loaded;
    CArchive ar(&file, CArchive::load);
    COSMPropExchangeArchive px(ar);
    px.m_nSchema = 0x22;
    loaded.DoPropExchange(&px);
    ar.Close();
    EXPECT_EQ(77, loaded.GetWidth());
    EXPECT_EQ(140, source.GetWidth());
}

TEST_F(ControlComboBoxInputTest, DisabledFocusedOrEditableCombosDrawTheirTextAreaByState)
{
    COSMPaintManager* paintManager = combo->GetPaintManager();
    const COLORREF white = RGB(255, 255, 255);
    const int kNone = -1;
    const struct
    {
        const char* name;
        bool editable;
        BOOL enabled;
        BOOL focused;
        int selection;
        int fillColor;
        int inkColor;
    } cases[] = {
        {"disabled, a selection in grey", false, FALSE, FALSE, 0, kNone, COLOR_GRAYTEXT},
        {"disabled and empty: not even the hint", false, FALSE, FALSE, -1, kNone, kNone},
        {"focused and empty: the fill without the hint", false, TRUE, TRUE, -1, COLOR_HIGHLIGHT, kNone},
        {"unfocused: the selection in the window text colour", false, TRUE, FALSE, 1, kNone, COLOR_WINDOWTEXT},
        // The edit window shows the text of an editable combo; nothing is drawn under it, focused or not.
        {"editable and focused", true, TRUE, TRUE, 0, kNone, kNone},
        {"editable with a hint", true, TRUE, FALSE, -1, kNone, kNone},
    };
    combo->SetEditHint("Pick");
    for (const auto& c : cases)
    {
        if (c.editable && !combo->GetDropDown())
            MakeEditable();
        combo->SetEnabled(c.enabled);
        combo->SetCurSel(c.selection);
        combo->SetFocused(c.focused);
        DcTestSurface surface(120, 24, white);
        combo->DrawComboText(CDC::FromHandle(surface.GetDC()), CRect(0, 0, 120, 24));
        const COLORREF inside = c.fillColor == kNone ? white : paintManager->GetColor(c.fillColor);
        EXPECT_EQ(inside, surface.Pixel(1, 1)) << c.name;
        EXPECT_EQ(white, surface.Pixel(0, 0)) << c.name << ": the fill leaves the border";
        const std::optional<COLORREF> ink = InkInside(surface, inside);
        if (c.inkColor == kNone)
            EXPECT_FALSE(ink.has_value()) << c.name;
        else
            EXPECT_EQ(paintManager->GetColor(c.inkColor), ink.value_or(inside)) << c.name;
        combo->SetFocused(FALSE);
        combo->SetEnabled(TRUE);
    }
}

TEST_F(ControlComboBoxInputTest, DrawItemPaintsTheSelectedRowInTheStateRectangleAndOthersOnTheWindowColour)
{
    COSMPaintManager* paintManager = combo->GetPaintManager();
    const COLORREF sentinel = RGB(1, 2, 3);
    const CRect row(0, 0, 120, 18);
    for (const BOOL selected : {FALSE, TRUE})
    {
        // What the paint manager itself draws for the row's state, under the item.
        DcTestSurface expected(row.Width(), row.Height(), sentinel);
        if (selected)
            paintManager->DrawStateRectangle(CDC::FromHandle(expected.GetDC()), row, TRUE, FALSE, TRUE, FALSE, FALSE,
                                             list->GetType(), list->GetPosition());
        else
            expected.Fill(paintManager->GetColor(COLOR_WINDOW));

        DcTestSurface surface(row.Width(), row.Height(), sentinel);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTBOX;
        item.itemID = 2;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = selected ? ODS_SELECTED : 0;
        item.hwndItem = list->GetSafeHwnd();
        item.hDC = surface.GetDC();
        item.rcItem = row;
        combo->DrawItem(&item);

        for (const CPoint corner : {CPoint(0, 0), CPoint(row.right - 1, row.bottom - 1), CPoint(row.right - 1, 0)})
            EXPECT_EQ(expected.Pixel(corner.x, corner.y), surface.Pixel(corner.x, corner.y)) << selected;
        const COLORREF background = expected.Pixel(row.Width() / 2, 1);
        const COLORREF text =
            paintManager->GetStateTextColor(selected, FALSE, TRUE, FALSE, FALSE, list->GetType(), list->GetPosition());
        EXPECT_EQ(text, InkInside(surface, background).value_or(background)) << selected;
    }
    // An item that is not there draws nothing.
    DcTestSurface untouched(row.Width(), row.Height(), sentinel);
    DRAWITEMSTRUCT none{};
    none.itemID = static_cast<UINT>(-1);
    none.hDC = untouched.GetDC();
    none.rcItem = row;
    combo->DrawItem(&none);
    EXPECT_FALSE(InkInside(untouched, sentinel).has_value());
    EXPECT_EQ(sentinel, untouched.Pixel(0, 0));
}

TEST_F(ControlComboBoxInputTest, AListThatNeverHadAWindowStoresNoItems)
{
    RefPtr<COSMControlComboBoxList> windowless = AdoptRef(new COSMControlComboBoxList);
    ASSERT_EQ(nullptr, windowless->GetSafeHwnd());
    const struct
    {
        COSMControlComboBoxList* stored;
        const char* count;
        const char* lastItem;
    } cases[] = {{windowless.Get(), "0", nullptr}, {list, "4", "Cherry"}};
    for (const auto& c : cases)
    {
        const auto values = prop_exchange_test::NewValues();
        prop_exchange_test::NamedTestStore store(values, false);
        c.stored->DoPropExchange(&store);
        ASSERT_EQ(1u, values->count("Items\\Count")) << c.count;
        EXPECT_EQ(c.count, values->at("Items\\Count"));
        if (c.lastItem)
            EXPECT_EQ(c.lastItem, (*values)["Items\\Item3"]);
        else
            EXPECT_EQ(0u, values->count("Items\\Item0"));
    }
}

TEST_F(ControlComboBoxInputTest, ADropDownOfControlsFollowsTheMouseWhileTheFocusedComboHoldsTheLock)
{
    auto* dropDown = new COSMControlComboBoxPopupBar;
    dropDown->SetCommandBars(commandBars.Get());
    for (const UINT id : {4801u, 4802u, 4803u})
        dropDown->GetControls()->Add(1, id)->SetCaption("Zoom");
    combo->SetCommandBar(dropDown);
    dropDown->InternalRelease();
    EXPECT_TRUE(dropDown->IsLockExempt());

    combo->SetFocused(TRUE);
    COSMMouseManager* mouse = bar->GetMouseManager();
    ClickDropDownButton();
    ASSERT_TRUE(combo->GetDroppedState());
    ASSERT_TRUE(::IsWindowVisible(dropDown->GetSafeHwnd()));
    ASSERT_TRUE(mouse->IsLocked()) << "the focused combo holds the lock";
    MoveMouseTo(ScreenPoint(*dropDown, dropDown->GetControl(1)->GetRect().CenterPoint()));
    PumpMessages();
    EXPECT_EQ(1, dropDown->GetSelectedIndex());
    bar->SetPopuped(-1, FALSE);
    combo->SetFocused(FALSE);
}

}  // namespace
