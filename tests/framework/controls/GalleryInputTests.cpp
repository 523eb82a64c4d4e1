// The gallery on real windows, driven by synthesized input: hover selection and the preview notifications, clicks
// that execute in menus and on toolbars, drags, the bar's tooltips over items, the scroll column of a gallery with a
// drop-down (its popup button, its held scroll buttons, its animation's timer stopping what a tick throws), and a
// combo box whose drop-down is a gallery.
#include "EditBoxTestSupport.h"
#include "GalleryTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlComboBoxGalleryPopupBar.h"
#include "framework/foundation/ToolTipContext.h"

#include "classlib/CallbackGuard.h"

#include <algorithm>
#include <vector>

using namespace gallery_test;

namespace {

class GalleryInputTest : public EditBoxSiteTest
{
protected:
    GalleryInputTest() : EditBoxSiteTest("gallery test") {}

    void SetUp() override
    {
        EditBoxSiteTest::SetUp();
        if (HasFatalFailure())
            return;
        items = MakeItems(CSize(40, 20), {"Red", "Green", "Blue", "Cyan", "Magenta", "Yellow"});
        gallery = AddGallery(*bar, commandBars.Get(), 4800, items.Get(), CRect());
        Settle();
        ASSERT_EQ(CSize(120, 60), gallery->GetRect().Size());
    }
    void TearDown() override
    {
        items.Reset();
        EditBoxSiteTest::TearDown();
    }
    // The screen centre of the item as drawn.
    CPoint ItemCentre(const COSMCommandBar& owner, int index) const
    {
        return ScreenPoint(owner, gallery->GetItemDrawRect(index).CenterPoint());
    }
    std::vector<UINT> GalleryCodes() const
    {
        std::vector<UINT> found;
        for (UINT code : codes)
        {
            if (code >= COSMControlGallery::kNotifyPreviewStart && code <= COSMControlGallery::kNotifySelectionChanged)
                found.push_back(code);
        }
        return found;
    }

    RefPtr<COSMControlGalleryItems> items;
    TestGallery* gallery = nullptr;
};

TEST_F(GalleryInputTest, HoveringSelectsAndPreviewsAndLeavingEndsThePreview)
{
    MoveMouseTo(ItemCentre(*bar, 1));
    EXPECT_EQ(1, gallery->GetSelectedItem());
    EXPECT_EQ((std::vector<UINT>{4117}), GalleryCodes());
    // The hover timer (200 ms) starts the preview.
    ASSERT_TRUE(PumpUntil([&] { return gallery->IsPreviewActive() != FALSE; }, 1500));
    EXPECT_EQ((std::vector<UINT>{4117, 4112, 4115}), GalleryCodes());
    codes.clear();
    MoveMouseTo(ItemCentre(*bar, 2));
    EXPECT_EQ(2, gallery->GetSelectedItem());
    EXPECT_EQ((std::vector<UINT>{4115, 4117}), GalleryCodes());
    codes.clear();
    MoveMouseTo(CPoint(1200, 1000));
    PumpFor(100);
    EXPECT_TRUE(gallery->IsSelectionHidden());
    EXPECT_FALSE(gallery->IsPreviewActive());
    EXPECT_EQ((std::vector<UINT>{4113}), GalleryCodes());
}

TEST_F(GalleryInputTest, OnAToolbarOnlyAPressAndReleaseExecuteAndADragIsReported)
{
    MoveMouseTo(ItemCentre(*bar, 0));
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpFor(50);
    EXPECT_TRUE(gallery->IsItemPressed());
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(50);
    EXPECT_EQ(1, gallery->executions);
    EXPECT_FALSE(gallery->IsItemPressed());

    // A release alone does nothing here.
    MoveMouseTo(ItemCentre(*bar, 3));
    gallery->OnLButtonUp(gallery->GetItemDrawRect(3).CenterPoint());
    EXPECT_EQ(1, gallery->executions);

    // Five pixels with the button down: a drag.
    codes.clear();
    const CPoint start = ItemCentre(*bar, 3) + CPoint(-4, -4);
    MoveMouseTo(start);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpFor(50);
    MoveMouseTo(start + CPoint(4, 0));
    EXPECT_EQ(0, CountOf(COSMControlGallery::kNotifyBeginDrag));
    MoveMouseTo(start + CPoint(5, 0));
    EXPECT_EQ(1, CountOf(COSMControlGallery::kNotifyBeginDrag));
    MoveMouseTo(start + CPoint(6, 2));
    EXPECT_EQ(1, CountOf(COSMControlGallery::kNotifyBeginDrag));
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(50);
}

TEST_F(GalleryInputTest, TheBarsTooltipIsTheItemsAndNoneOffTheItems)
{
    commandBars->GetCommandBarsOptions()->m_toolBarScreenTips = TRUE;
    items->GetItem(1)->SetTooltip("Green tip");
    items->GetItem(2)->SetAlternativeID(77);
    items->GetItem(2)->SetTooltip("Blue tip");
    gallery->SetTooltip("The gallery's own tip");
    const struct
    {
        int item;
        INT_PTR expected;
    } cases[] = {{1, 1001}, {2, 77}};
    for (const auto& c : cases)
    {
        TOOLINFOA info{};
        info.cbSize = sizeof(info);
        const CPoint point = gallery->GetItemDrawRect(c.item).CenterPoint();
        EXPECT_EQ(c.expected, bar->OnToolHitTest(point, &info)) << c.item;
        EXPECT_EQ(gallery->GetItemDrawRect(c.item), CRect(info.rect)) << c.item;
        COSMToolTipContext::FreeToolInfoText(&info);
    }
    // Off the items (the items area below the last row): no tip, not even the gallery's own.
    items->RemoveAll();
    items->AddItem(1, "only");
    gallery->Reposition();
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    const CRect area = gallery->GetItemsRect();
    EXPECT_EQ(-1, bar->OnToolHitTest(CPoint(area.left + 5, area.bottom - 5), &info));
}

// ---- The scroll column of a gallery with a drop-down ---------------------------------------------------------------

// Thirty-six items in the toolbar's gallery, which has a drop-down: its scroll column holds the up and down buttons
// (19 pixels each) and the popup button below them.
class GalleryScrollColumnTest : public GalleryInputTest
{
protected:
    void SetUp() override
    {
        GalleryInputTest::SetUp();
        if (HasFatalFailure())
            return;
        for (int i = 0; i < 30; ++i)
            items->AddItem(2000 + i, "More");
        dropDown = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
        dropDown->GetControls()->Add(1, 4810)->SetCaption("More styles");
        gallery->SetCommandBar(dropDown.Get());
        gallery->SetShowScrollBar(TRUE);
        gallery->Reposition();
        Settle();
        const ScrollBarGeometry& g = gallery->GetScrollBarGeometry();
        ASSERT_EQ(g.rect.top + 38, g.popupStart);
        ASSERT_GT(g.rect.bottom, g.popupStart + 4);
        ASSERT_EQ(0, gallery->GetScrollPos());
    }
    void TearDown() override
    {
        if (dropDown && dropDown->GetTrackingMode() != 0)
            dropDown->SetTrackingMode(0, FALSE, FALSE);
        dropDown.Reset();
        GalleryInputTest::TearDown();
    }
    // The screen point in the middle of the scroll column at the bar's y.
    CPoint ColumnPoint(int barY) const
    {
        const ScrollBarGeometry& g = gallery->GetScrollBarGeometry();
        return ScreenPoint(*bar, CPoint((g.rect.left + g.rect.right) / 2, barY));
    }

    RefPtr<COSMPopupBar> dropDown;
};

TEST_F(GalleryScrollColumnTest, ThePopupButtonOpensTheDropDown)
{
    gallery->popupForReal = TRUE;
    const ScrollBarGeometry& g = gallery->GetScrollBarGeometry();
    const int buttonY = (g.popupStart + g.rect.bottom) / 2;
    const CPoint client((g.rect.left + g.rect.right) / 2, buttonY);
    ASSERT_EQ(COSMScrollBase::kHitPopup, gallery->HitTestScrollBar(client));

    ClickAt(ColumnPoint(buttonY));
    ASSERT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() != 0; }));
    EXPECT_TRUE(::IsWindowVisible(dropDown->GetSafeHwnd()));
    EXPECT_EQ(gallery->GetIndex(), bar->GetPopupedIndex());
    EXPECT_EQ((std::vector<BOOL>{TRUE}), gallery->popupRequests);
    EXPECT_EQ(0, gallery->GetScrollPos()) << "the popup button scrolls nothing";
    EXPECT_EQ(0, gallery->executions);

    // Escape closes it again.
    SendKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() == 0; }));
    EXPECT_FALSE(::IsWindowVisible(dropDown->GetSafeHwnd()));
}

// The window and scroll position at each tick of the gallery's animation (and of the scroll engine's repeat) on the
// bar's window, as the press loop takes them from the queue. Once the position passes releaseAt the button goes up.
struct HeldScrollRecord
{
    static inline HWND barWindow = nullptr;
    static inline const COSMControlGallery* gallery = nullptr;
    static inline int releaseAt = 0;
    static inline bool released = false;
    static inline std::vector<int> animationTicks;
    static inline int repeatTicks = 0;

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && msg->hwnd == barWindow)
        {
            if (msg->wParam == COSMScrollBase::kAnimationTimerId)
                animationTicks.push_back(gallery->GetScrollPos());
            else if (msg->wParam == COSMScrollBase::kAutoRepeatTimerId && !released)
                ++repeatTicks;
            if (!released && gallery->GetScrollPos() >= releaseAt)
            {
                released = true;
                SendMouseInput(MOUSEEVENTF_LEFTUP);
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

TEST_F(GalleryScrollColumnTest, AHeldScrollButtonRepeatsAnimatedAndTheReleaseStopsIt)
{
    const int itemHeight = items->GetItemSize().cy;
    const ScrollBarGeometry& g = gallery->GetScrollBarGeometry();
    const int downY = (g.downArrowStart + g.popupStart) / 2;
    ASSERT_EQ(COSMScrollBase::kHitSecondArrow,
              gallery->HitTestScrollBar(CPoint((g.rect.left + g.rect.right) / 2, downY)));

    HeldScrollRecord::barWindow = bar->GetSafeHwnd();
    HeldScrollRecord::gallery = gallery;
    // Past two and a half rows: the press's own step and at least two repeats.
    HeldScrollRecord::releaseAt = itemHeight * 5 / 2;
    HeldScrollRecord::released = false;
    HeldScrollRecord::animationTicks.clear();
    HeldScrollRecord::repeatTicks = 0;
    const HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, &HeldScrollRecord::Hook, nullptr, ::GetCurrentThreadId());
    MoveMouseTo(ColumnPoint(downY));
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    // Should the position never get there, the button goes up anyway and the checks below fail.
    Scheduled::After(frame.GetSafeHwnd(), 5000, [] {
        if (!HeldScrollRecord::released)
        {
            HeldScrollRecord::released = true;
            SendMouseInput(MOUSEEVENTF_LEFTUP);
        }
    });
    EXPECT_TRUE(PumpUntil([] { return HeldScrollRecord::released; }, 6000));
    PumpFor(100);
    ::UnhookWindowsHookEx(hook);

    const std::vector<int> ticks = HeldScrollRecord::animationTicks;
    EXPECT_GE(HeldScrollRecord::repeatTicks, 2) << "the held button repeats";
    ASSERT_GE(ticks.size(), 3u) << "the scrolling is animated";
    EXPECT_TRUE(std::is_sorted(ticks.begin(), ticks.end())) << "down only";
    EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(), [&](int pos) { return pos % itemHeight != 0; }))
        << "the position passes between the rows";

    // The release lets the animation reach its row, and then nothing moves.
    EXPECT_FALSE(gallery->IsScrollAnimating());
    const int settled = gallery->GetScrollPos();
    EXPECT_GE(settled, itemHeight * 3);
    EXPECT_EQ(0, settled % itemHeight);
    EXPECT_EQ(nullptr, ::GetCapture());
    const size_t tickCount = HeldScrollRecord::animationTicks.size();
    PumpFor(400);
    EXPECT_EQ(settled, gallery->GetScrollPos());
    EXPECT_EQ(tickCount, HeldScrollRecord::animationTicks.size());
    EXPECT_EQ(0, gallery->executions);
}

std::vector<std::string> g_timerReports;
void RecordTimerReport(const char* where, long, const char* what)
{
    g_timerReports.push_back(std::string(where) + ": " + what);
}

// The animation's ticks come from a timer procedure the system calls: an exception in a tick stops there, is
// reported, and the animation goes on with the next tick to its row.
TEST_F(GalleryScrollColumnTest, AnExceptionInAnAnimationTickIsStoppedAtTheTimerAndTheAnimationGoesOn)
{
    const int itemHeight = items->GetItemSize().cy;
    g_timerReports.clear();
    const CallbackExceptionReporter previous = SetCallbackExceptionReporter(&RecordTimerReport);
    gallery->DoScroll(SB_LINEDOWN, 0);
    ASSERT_TRUE(gallery->IsScrollAnimating());
    gallery->throwOnScrollBarUpdate = TRUE;
    bool escaped = false;
    try
    {
        PumpUntil([&] { return !gallery->IsScrollAnimating(); }, 3000);
    }
    catch (...)
    {
        escaped = true;
    }
    SetCallbackExceptionReporter(previous);
    EXPECT_FALSE(escaped) << "the exception left the timer procedure";
    ASSERT_EQ(1u, g_timerReports.size());
    EXPECT_EQ("gallery animation timer: scroll bar update failed", g_timerReports[0]);
    EXPECT_FALSE(gallery->IsScrollAnimating());
    EXPECT_EQ(itemHeight, gallery->GetScrollPos());
}

// The gallery in a popup: releasing over an item chooses it, pressed there or not.
class GalleryPopupTest : public ActivePopupSiteTest
{};

TEST_F(GalleryPopupTest, InAMenuReleasingOverAnItemExecutesItWithoutAPress)
{
    RefPtr<COSMControlGalleryItems> items = MakeItems(CSize(40, 20), {"One", "Two", "Three", "Four"});
    RefPtr<COSMPopupBar> popup = MakePopup({101});
    auto* gallery = AddGallery(*popup, commandBars.Get(), 4801, items.Get(), CRect());
    gallery->SetShowScrollBar(TRUE);
    gallery->executeForReal = TRUE;
    std::vector<UINT> notified;
    frame.OnMessage = [&](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == CCommandBarsTestFrame::kControlNotify)
            notified.push_back(reinterpret_cast<const NMOSMCONTROL*>(lParam)->hdr.code);
        return std::nullopt;
    };
    ASSERT_TRUE(popup->Popup(350, 250));
    PumpFor(50);
    MoveMouseTo(ScreenPoint(*popup, gallery->GetItemDrawRect(2).CenterPoint()));
    EXPECT_TRUE(PumpUntil([&] { return gallery->IsPreviewActive() != FALSE; }, 1500));
    notified.clear();
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(80);
    frame.OnMessage = nullptr;
    EXPECT_EQ(1, gallery->executions);
    EXPECT_FALSE(gallery->IsPreviewActive());
    EXPECT_FALSE(notified.empty());
    if (!notified.empty())
    {
        EXPECT_EQ(COSMControlGallery::kNotifyPreviewApply, notified.front());
    }
    // The choice closed the menu.
    EXPECT_EQ(0, popup->GetTrackingMode());
    popup->SetTrackingMode(0, TRUE, FALSE);
}

TEST_F(GalleryPopupTest, TheResizeGripperStopsAtTheGallerysMinimums)
{
    RefPtr<COSMControlGalleryItems> items = MakeItems(CSize(40, 30), {"One", "Two", "Three", "Four"});
    RefPtr<COSMPopupBar> popup = MakePopup({101});
    auto* gallery = AddGallery(*popup, commandBars.Get(), 4801, items.Get(), CRect());
    gallery->SetShowScrollBar(FALSE);
    gallery->SetResizable(3);
    ASSERT_TRUE(popup->Popup(350, 250));
    PumpFor(50);
    ASSERT_EQ(3, popup->GetResizeMode());
    const CRect grip = popup->GetResizeGripperRect();
    const CPoint start = ScreenPoint(*popup, CPoint(grip.right - 3, grip.top + grip.Height() / 2));
    MoveMouseTo(start);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    SendMouseMoveTo(start + CPoint(-150, -120));
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(200);
    EXPECT_EQ(40, gallery->GetWidth());
    EXPECT_EQ(32, gallery->GetHeight());
    popup->SetTrackingMode(0, TRUE, FALSE);
}

// ---- The combo box's gallery drop-down -------------------------------------------------------------------------

class GalleryComboTest : public EditBoxSiteTest
{
protected:
    GalleryComboTest() : EditBoxSiteTest("gallery combo test") {}

    void SetUp() override
    {
        EditBoxSiteTest::SetUp();
        if (HasFatalFailure())
            return;
        combo = static_cast<COSMControlComboBox*>(bar->GetControls()->Add(5, 4900));
        ASSERT_NE(nullptr, combo);
        combo->SetWidth(160);
        combo->SetDropDown(TRUE);
        dropDown = static_cast<COSMControlComboBoxGalleryPopupBar*>(
            RUNTIME_CLASS(COSMControlComboBoxGalleryPopupBar)->CreateObject());
        dropDown->SetCommandBars(commandBars.Get());
        items = MakeItems(CSize(60, 20), {"Apple", "Banana", "Cherry", "Date", "Elder"});
        gallery = AddGallery(*dropDown, commandBars.Get(), 4901, items.Get(), CRect());
        combo->SetCommandBar(dropDown);
        dropDown->InternalRelease();
        Settle();
    }
    void TearDown() override
    {
        if (combo && combo->GetDroppedState())
            dropDown->SetTrackingMode(0, FALSE, FALSE);
        items.Reset();
        EditBoxSiteTest::TearDown();
    }
    std::string Text() const { return WindowTextOf(combo->GetEditCtrl()->GetSafeHwnd()); }

    COSMControlComboBox* combo = nullptr;
    COSMControlComboBoxGalleryPopupBar* dropDown = nullptr;
    RefPtr<COSMControlGalleryItems> items;
    TestGallery* gallery = nullptr;
};

TEST_F(GalleryComboTest, F4DownAndEnterChooseAGalleryItem)
{
    ClickInto(*combo->GetEditCtrl());
    codes.clear();
    SendKey(VK_F4);
    ASSERT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() != 0; }));
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifyDropDown));
    EXPECT_EQ(0, dropDown->GetSelectedIndex());
    SendKey(VK_DOWN);
    EXPECT_EQ(0, gallery->GetSelectedItem());
    EXPECT_EQ("Apple", Text());
    SendKey(VK_DOWN);
    EXPECT_EQ("Cherry", Text());
    SendKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() == 0; }));
    EXPECT_EQ("Cherry", Text());
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifySelEndOk));
    EXPECT_EQ(1, CountOf(COSMControlComboBox::kNotifyCloseUp));
}

// A real click (press and release over an item) chooses it as Enter does, whether the drop-down was opened by F4 or
// by the drop-down button: the text becomes the item's caption, and the site hears 7, then 1 and 9, then 8.
class GalleryComboClickTest : public GalleryComboTest, public ::testing::WithParamInterface<bool>
{};

TEST_P(GalleryComboClickTest, ClickingAGalleryItemChoosesIt)
{
    const bool openByMouse = GetParam();
    combo->SetEditText("Banana");
    ClickInto(*combo->GetEditCtrl());
    codes.clear();
    if (openByMouse)
    {
        const CRect rect = combo->GetRect();
        ClickAt(ScreenPoint(*bar, CPoint(rect.right - 4, rect.CenterPoint().y)));
    }
    else
    {
        SendKey(VK_F4);
    }
    ASSERT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() != 0; }));
    ASSERT_EQ(1, gallery->GetSelectedItem()) << "the text selected its item as the drop-down opened";

    MoveMouseTo(ScreenPoint(*dropDown, gallery->GetItemDrawRect(3).CenterPoint()));
    EXPECT_EQ(3, gallery->GetSelectedItem()) << "the hover follows the mouse";
    EXPECT_EQ("Banana", Text()) << "hovering chooses nothing";
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() == 0; }));
    PumpMessages();
    EXPECT_EQ("Date", Text());
    std::vector<UINT> comboCodes;
    for (UINT code : codes)
    {
        if (code == COSMControlComboBox::kNotifySelChange ||
            (code >= COSMControlComboBox::kNotifyDropDown && code <= COSMControlComboBox::kNotifySelEndCancel))
            comboCodes.push_back(code);
    }
    EXPECT_EQ((std::vector<UINT>{COSMControlComboBox::kNotifyDropDown, COSMControlComboBox::kNotifySelChange,
                                 COSMControlComboBox::kNotifySelEndOk, COSMControlComboBox::kNotifyCloseUp}),
              comboCodes);
}

INSTANTIATE_TEST_SUITE_P(OpenedByKeyOrButton, GalleryComboClickTest, ::testing::Bool());

// After a choice in the gallery, by Enter or by a click, a real click into the edit window focuses it again and F4
// opens the drop-down once more: two choices in a row on one combo.
class GalleryComboChoiceTest : public GalleryComboTest, public ::testing::WithParamInterface<bool>
{};

TEST_P(GalleryComboChoiceTest, AfterAChoiceAClickIntoTheEditWindowFocusesItAndF4OpensTheDropDownAgain)
{
    const bool chooseByClick = GetParam();
    // The frame runs the combo's command, as a program does: the command update after a choice would disable a
    // combo whose command nobody runs, and a disabled edit window takes no click.
    frame.HandleCommand(combo->GetID());
    const HWND edit = combo->GetEditCtrl()->GetSafeHwnd();
    COSMMouseManager* mouse = bar->GetMouseManager();
    const int locks = mouse->GetLockCount();
    const struct
    {
        int item;
        const char* text;
    } choices[] = {{2, "Cherry"}, {4, "Elder"}};
    for (const auto& [item, text] : choices)
    {
        ClickInto(*combo->GetEditCtrl());
        ASSERT_EQ(edit, ::GetFocus()) << "choice of item " << item;
        SendKey(VK_F4);
        ASSERT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() != 0; })) << item;
        if (chooseByClick)
        {
            ClickAt(ScreenPoint(*dropDown, gallery->GetItemDrawRect(item).CenterPoint()));
        }
        else
        {
            for (int presses = 0; presses < 4 && gallery->GetSelectedItem() != item; ++presses)
                SendKey(VK_DOWN);
            SendKey(VK_RETURN);
        }
        ASSERT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() == 0; })) << item;
        PumpMessages();
        EXPECT_EQ(text, Text());
        EXPECT_TRUE(combo->GetEnabled());
        EXPECT_EQ(nullptr, ::GetCapture()) << item;
        // The choice ends the editing: the focus goes back where it came from.
        EXPECT_FALSE(combo->IsFocused()) << item;
        EXPECT_EQ(frame.GetSafeHwnd(), ::GetFocus()) << item;
        EXPECT_EQ(locks, mouse->GetLockCount()) << item;
    }
    ClickInto(*combo->GetEditCtrl());
    EXPECT_EQ(edit, ::GetFocus());
    SendKey(VK_F4);
    EXPECT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() != 0; }));
    EXPECT_EQ(2, CountOf(COSMControlComboBox::kNotifySelEndOk));
}

INSTANTIATE_TEST_SUITE_P(ByEnterOrClick, GalleryComboChoiceTest, ::testing::Bool());

TEST_F(GalleryComboTest, TheTextComesIntoTheGalleryAndEscapeAndTabStayWithTheCombo)
{
    combo->SetEditText("banana");
    ClickInto(*combo->GetEditCtrl());
    SendKey(VK_F4);
    ASSERT_TRUE(PumpUntil([&] { return dropDown->GetTrackingMode() != 0; }));
    // The combo's text selected its item as the drop-down opened.
    EXPECT_EQ(1, gallery->GetSelectedItem());
    // Escape and Tab are not the drop-down's while the combo has the focus.
    EXPECT_EQ(0, dropDown->OnHookKeyDown(VK_ESCAPE, 0));
    EXPECT_EQ(0, dropDown->OnHookKeyDown(VK_TAB, 0));
    EXPECT_NE(0, dropDown->GetTrackingMode());
}

}  // namespace
