// The gallery on bars without windows: its layout, borders and scroll-bar answers, scrolling and its animation
// steps, keys and item navigation, text search, sizes, accessibility answers and storing; the drop-down's list
// operations; the gallery painter's pixels on DIB sections with the test paint manager.
#include "tests/support/DcTestSurface.h"
#include "EditBoxTestSupport.h"
#include "GalleryTestSupport.h"

#include "classlib/DC.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlComboBoxGalleryPopupBar.h"

#include <algorithm>
#include <functional>
#include <string>

using namespace gallery_test;
using foundation_test::DcTestSurface;

namespace {

class GalleryTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        bar.SetCommandBars(commandBars.Get());
    }
    void TearDown() override
    {
        bar.GetControls()->RemoveAll();
        commandBars.Reset();
        CommandBarsTest::TearDown();
    }
    // A gallery in (10, 5, 110, 65): a 100 × 60 items area without borders or scroll bar.
    TestGallery* Make(CSize itemSize, const std::vector<std::string>& captions)
    {
        items = MakeItems(itemSize, captions);
        return AddGallery(bar, commandBars.Get(), 500, items.Get(), CRect(10, 5, 110, 65));
    }
    COSMTestPaintManager* PaintManager() { return static_cast<COSMTestPaintManager*>(bar.GetPaintManager()); }

    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    TrackingBar bar;
    RefPtr<COSMControlGalleryItems> items;
};

std::vector<std::string> Numbered(int count)
{
    std::vector<std::string> captions;
    for (int i = 0; i < count; ++i)
        captions.push_back("Item " + std::to_string(i));
    return captions;
}

// ---- Layout ------------------------------------------------------------------------------------------------------

TEST_F(GalleryTest, RepositionLaysItemsInRowsAndLabelsOnRowsOfTheirOwn)
{
    // Three 40 × 20 items, a full-row item (width 0), a label and another item in a 100-pixel area.
    auto* gallery = Make(CSize(40, 20), {"a", "b", "c", "wide", "#Group", "d"});
    static_cast<COSMControlGalleryItems*>(items.Get());
    items->GetItem(3)->SetLabel(FALSE);
    struct Wide : COSMControlGalleryItem
    {
        void GetSize(SIZE* size) const override { *size = SIZE{0, 20}; }
    };
    items->Remove(3);
    items->InsertItem(3, new Wide)->SetCaption("wide");
    const struct
    {
        BOOL showLabels;
        std::vector<CRect> rects;
        std::vector<BOOL> beginRow;
        int contentHeight;
    } cases[] = {
        {TRUE,
         {{10, 5, 50, 25}, {50, 5, 90, 25}, {10, 25, 50, 45}, {10, 45, 110, 65}, {10, 65, 110, 84}, {10, 85, 50, 105}},
         {TRUE, FALSE, TRUE, TRUE, TRUE, TRUE},
         100},
        {FALSE,
         {{10, 5, 50, 25}, {50, 5, 90, 25}, {10, 25, 50, 45}, {10, 45, 110, 65}, {0, 0, 0, 0}, {10, 65, 50, 85}},
         {TRUE, FALSE, TRUE, TRUE, FALSE, TRUE},
         80},
    };
    for (const auto& c : cases)
    {
        gallery->SetShowLabels(c.showLabels);
        gallery->Reposition();
        const auto& positions = gallery->GetItemPositions();
        ASSERT_EQ(c.rects.size(), positions.size());
        for (size_t i = 0; i < positions.size(); ++i)
        {
            EXPECT_EQ(c.rects[i], positions[i].rect) << c.showLabels << " item " << i;
            EXPECT_EQ(c.beginRow[i], positions[i].beginRow) << c.showLabels << " item " << i;
            EXPECT_EQ(items->GetItem(static_cast<int>(i)), positions[i].item);
        }
        EXPECT_EQ(c.contentHeight, gallery->GetContentHeight()) << c.showLabels;
    }

    // The scroll position stays within the content: 100 - 60 with labels, then 80 - 60 without.
    gallery->SetShowLabels(TRUE);
    gallery->Reposition();
    gallery->SetScrollPos(1000);
    EXPECT_EQ(40, gallery->GetScrollPos());
    gallery->SetShowLabels(FALSE);
    gallery->Reposition();
    EXPECT_EQ(20, gallery->GetScrollPos());
    // Content shorter than the view: position 0.
    items->RemoveAll();
    items->AddItem(1, "only");
    gallery->Reposition();
    EXPECT_EQ(0, gallery->GetScrollPos());
    EXPECT_EQ(20, gallery->GetContentHeight());
}

TEST_F(GalleryTest, TheBordersAddFrameScrollColumnSeparatorAndMargin)
{
    auto* gallery = Make(CSize(40, 20), Numbered(4));
    const int scrollWidth = gallery->GetGalleryPaintManager()->GetVerticalThickness();
    ASSERT_GT(scrollWidth, 0);
    RefPtr<COSMPopupBar> dropDown = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));

    const struct
    {
        const char* name;
        BOOL showBorders;
        BOOL showScrollBar;
        BOOL popupBar;
        int barType;
        BOOL following;
        CRect margin;
        CRect expected;
    } cases[] = {
        {"plain", FALSE, FALSE, FALSE, 1, FALSE, CRect(), CRect(0, 0, 0, 0)},
        {"ShowBorders", TRUE, FALSE, FALSE, 1, FALSE, CRect(), CRect(1, 1, 1, 1)},
        {"scroll bar", FALSE, TRUE, FALSE, 1, FALSE, CRect(), CRect(0, 0, scrollWidth, 0)},
        {"scroll column", TRUE, TRUE, TRUE, 1, FALSE, CRect(), CRect(1, 1, 17, 1)},
        {"following control", FALSE, FALSE, FALSE, 2, TRUE, CRect(), CRect(0, 0, 0, 2)},
        {"no control follows", FALSE, FALSE, FALSE, 2, FALSE, CRect(), CRect(0, 0, 0, 0)},
        {"framed, a control follows", TRUE, FALSE, FALSE, 2, TRUE, CRect(), CRect(1, 1, 1, 1)},
        {"toolbar, a control follows", FALSE, FALSE, FALSE, 1, TRUE, CRect(), CRect(0, 0, 0, 0)},
        {"GalleryMargin", TRUE, TRUE, TRUE, 2, FALSE, CRect(2, 3, 4, 5), CRect(3, 4, 21, 6)},
    };
    for (const auto& c : cases)
    {
        gallery->SetShowBorders(c.showBorders);
        gallery->SetShowScrollBar(c.showScrollBar);
        gallery->SetCommandBar(c.popupBar ? dropDown.Get() : nullptr);
        bar.SetTypeField(c.barType);
        gallery->SetGalleryMargin(c.margin);
        if (c.following)
            bar.GetControls()->Add(1, 600);
        EXPECT_EQ(c.expected, gallery->GetBorders()) << c.name;
        EXPECT_EQ(c.following && c.barType == 2 && !c.showBorders, gallery->HasFollowingControl() != FALSE) << c.name;
        const CRect b = c.expected;
        EXPECT_EQ(CRect(10 + b.left, 5 + b.top, 110 - b.right, 65 - b.bottom), gallery->GetItemsRect()) << c.name;
        if (c.following)
            bar.GetControls()->Remove(bar.GetControls()->GetAt(bar.GetControls()->GetCount() - 1));
    }
}

// ---- The scroll host -----------------------------------------------------------------------------------------

TEST_F(GalleryTest, TheScrollHostAnswersRangeRectangleAndPopupColumn)
{
    auto* gallery = Make(CSize(40, 20), Numbered(20));  // 10 rows of 20: content 200
    SCROLLINFO info{};
    gallery->GetScrollInfo(&info);
    EXPECT_EQ(0, info.nMin);
    EXPECT_EQ(199, info.nMax);
    EXPECT_EQ(60u, info.nPage);
    gallery->SetScrollPos(30);
    gallery->GetScrollInfo(&info);
    EXPECT_EQ(30, info.nPos);
    // No content: max is 0, not -1.
    TrackingBar other;
    other.SetCommandBars(commandBars.Get());
    RefPtr<COSMControlGalleryItems> none = MakeItems(CSize(40, 20), {});
    auto* empty = AddGallery(other, commandBars.Get(), 501, none.Get(), CRect(0, 0, 100, 60));
    empty->GetScrollInfo(&info);
    EXPECT_EQ(0, info.nMax);
    other.GetControls()->RemoveAll();

    // The column at the right edge, one pixel in with borders, 2 pixels shorter over a following control.
    gallery->SetShowScrollBar(TRUE);
    const int width = gallery->GetGalleryPaintManager()->GetVerticalThickness();
    CRect rect;
    gallery->GetScrollBarRect(&rect);
    EXPECT_EQ(CRect(110 - width, 5, 110, 65), rect);
    gallery->SetShowBorders(TRUE);
    gallery->GetScrollBarRect(&rect);
    EXPECT_EQ(CRect(109 - width, 6, 109, 64), rect);
    gallery->SetShowBorders(FALSE);
    bar.SetTypeField(2);
    bar.GetControls()->Add(1, 600);
    gallery->GetScrollBarRect(&rect);
    EXPECT_EQ(CRect(110 - width, 5, 110, 63), rect);
    bar.GetControls()->Remove(bar.GetControls()->GetAt(1));
    bar.SetTypeField(1);
    gallery->SetShowScrollBar(FALSE);
    gallery->GetScrollBarRect(&rect);
    EXPECT_TRUE(rect.IsRectEmpty());

    // With a popup bar: up 19, down 19, the popup button below; no thumb.
    RefPtr<COSMPopupBar> dropDown = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    gallery->SetShowScrollBar(TRUE);
    gallery->SetCommandBar(dropDown.Get());
    gallery->Reposition();
    const ScrollBarGeometry& g = gallery->GetScrollBarGeometry();
    EXPECT_EQ(CRect(94, 5, 110, 65), CRect(g.rect));
    EXPECT_EQ(5 + 38, g.popupStart);
    EXPECT_EQ(0, g.thumbSize);
    EXPECT_EQ(COSMScrollBase::kHitFirstArrow, gallery->HitTestScrollBar(CPoint(100, 10)));
    EXPECT_EQ(COSMScrollBase::kHitSecondArrow, gallery->HitTestScrollBar(CPoint(100, 30)));
    EXPECT_EQ(COSMScrollBase::kHitPopup, gallery->HitTestScrollBar(CPoint(100, 50)));
    EXPECT_EQ(COSMScrollBase::kHitNone, gallery->HitTestScrollBar(CPoint(50, 50)));
}

TEST_F(GalleryTest, DoScrollMovesByItemsPagesEndsAndTrackPositions)
{
    auto* gallery = Make(CSize(40, 20), Numbered(20));  // content 200, page 60, last position 140
    const struct
    {
        int command;
        int pos;
        int expected;
    } cases[] = {
        {SB_LINEUP, 0, 30},      {SB_LINEDOWN, 0, 70}, {SB_PAGEUP, 0, 0},   {SB_PAGEDOWN, 0, 110},
        {SB_THUMBTRACK, 77, 77}, {SB_TOP, 0, 0},       {SB_BOTTOM, 0, 140}, {SB_ENDSCROLL, 0, 50},
    };
    for (const auto& c : cases)
    {
        gallery->SetScrollPos(50);
        gallery->DoScroll(c.command, c.pos);
        EXPECT_EQ(c.expected, gallery->GetScrollPos()) << c.command;
        EXPECT_FALSE(gallery->IsScrollAnimating()) << c.command;
    }
}

// ---- Scrolling -------------------------------------------------------------------------------------------------

TEST_F(GalleryTest, SetScrollPosClampsAndTheWheelMovesThreeItems)
{
    auto* gallery = Make(CSize(40, 20), Numbered(20));
    const struct
    {
        int pos;
        int expected;
    } cases[] = {{-5, 0}, {500, 140}, {30, 30}, {140, 140}};
    for (const auto& c : cases)
    {
        gallery->SetScrollPos(c.pos);
        EXPECT_EQ(c.expected, gallery->GetScrollPos()) << c.pos;
    }
    gallery->SetScrollPos(70);
    EXPECT_TRUE(gallery->OnHookMouseWheel(0, WHEEL_DELTA, CPoint()));
    EXPECT_EQ(10, gallery->GetScrollPos());
    EXPECT_TRUE(gallery->OnHookMouseWheel(0, -WHEEL_DELTA, CPoint()));
    EXPECT_EQ(70, gallery->GetScrollPos());
    // Without items the wheel is not the gallery's.
    gallery->GetAction()->SetReferencedObject(nullptr);
    EXPECT_FALSE(gallery->OnHookMouseWheel(0, WHEEL_DELTA, CPoint()));
}

TEST_F(GalleryTest, AnimateScrollStepsByAnEighthAfterAPressAndAThirdWhileRepeating)
{
    auto* gallery = Make(CSize(40, 20), Numbered(20));
    const struct
    {
        UINT interval;
        double step;
        int afterFirstTick;
    } cases[] = {{400, 10.0, 10}, {200, 80.0 / 3.0, 26}, {50, 80.0 / 3.0, 26}, {201, 10.0, 10}};
    for (const auto& c : cases)
    {
        gallery->SetScrollPos(0);
        gallery->SetRepeatInterval(c.interval);
        gallery->AnimateScroll(80);
        EXPECT_TRUE(gallery->IsScrollAnimating()) << c.interval;
        EXPECT_EQ(80, gallery->GetAnimationTarget());
        EXPECT_DOUBLE_EQ(c.step, gallery->GetAnimationStep()) << c.interval;
        // The first step runs at once.
        EXPECT_EQ(c.afterFirstTick, gallery->GetScrollPos()) << c.interval;
        int ticks = 0;
        while (gallery->IsScrollAnimating() && ticks < 100)
        {
            gallery->OnScrollAnimationTimer();
            ++ticks;
        }
        EXPECT_EQ(80, gallery->GetScrollPos()) << c.interval;
    }

    // A distance under the divisor still moves a pixel a tick, both ways.
    gallery->SetRepeatInterval(400);
    for (int direction : {1, -1})
    {
        gallery->SetScrollPos(60);
        gallery->AnimateScroll(60 + 3 * direction);
        EXPECT_DOUBLE_EQ(1.0 * direction, gallery->GetAnimationStep());
        EXPECT_EQ(60 + direction, gallery->GetScrollPos());
        gallery->OnScrollAnimationTimer();
        EXPECT_EQ(60 + 2 * direction, gallery->GetScrollPos());
        gallery->OnScrollAnimationTimer();
        EXPECT_EQ(60 + 3 * direction, gallery->GetScrollPos());
        EXPECT_FALSE(gallery->IsScrollAnimating());
    }
    // Already there, or already on the way there: nothing new starts.
    gallery->AnimateScroll(57);
    EXPECT_FALSE(gallery->IsScrollAnimating());
    gallery->AnimateScroll(100);
    const double step = gallery->GetAnimationStep();
    const int pos = gallery->GetScrollPos();
    gallery->AnimateScroll(100);
    EXPECT_EQ(pos, gallery->GetScrollPos());
    EXPECT_DOUBLE_EQ(step, gallery->GetAnimationStep());
    // An immediate scroll ends the animation where it asks.
    gallery->SetScrollPos(10);
    EXPECT_FALSE(gallery->IsScrollAnimating());
    EXPECT_EQ(10, gallery->GetScrollPos());
}

TEST_F(GalleryTest, LineScrollsOfAGalleryWithAPopupBarAnimateFromTheTarget)
{
    auto* gallery = Make(CSize(40, 20), Numbered(20));
    RefPtr<COSMPopupBar> dropDown = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    gallery->SetCommandBar(dropDown.Get());
    gallery->SetRepeatInterval(400);
    gallery->SetScrollPos(0);
    gallery->DoScroll(SB_LINEDOWN, 0);
    EXPECT_TRUE(gallery->IsScrollAnimating());
    EXPECT_EQ(20, gallery->GetAnimationTarget());
    // A second press while animating goes on from the target.
    gallery->DoScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(40, gallery->GetAnimationTarget());
    // A page scroll is immediate.
    gallery->DoScroll(SB_PAGEDOWN, 0);
    EXPECT_FALSE(gallery->IsScrollAnimating());
    EXPECT_EQ(100, gallery->GetScrollPos());
}

TEST_F(GalleryTest, EnsureVisibleRevealsTheItemWithItsGroupLabel)
{
    std::vector<std::string> captions = {"#First"};
    for (int i = 1; i <= 6; ++i)
        captions.push_back("a" + std::to_string(i));
    captions.push_back("#Second");
    for (int i = 8; i <= 19; ++i)
        captions.push_back("b" + std::to_string(i));
    auto* gallery = Make(CSize(40, 20), captions);
    ASSERT_EQ(220, gallery->GetContentHeight());
    const struct
    {
        int from;
        int index;
        int expected;
    } cases[] = {
        {155, 10, 80},   // the label 40 pixels above comes into view with the item
        {155, 12, 140},  // the label is too far above: the item goes to the top
        {0, 13, 100},    // below: its bottom meets the area's bottom
        {0, 3, 0},       // already in view
        {155, 1, 0},     // the first group's label at the top
    };
    for (const auto& c : cases)
    {
        gallery->SetScrollPos(c.from);
        gallery->EnsureVisible(c.index);
        EXPECT_EQ(c.expected, gallery->GetScrollPos()) << c.from << " " << c.index;
    }
    // ScrollItemToTop: the item's top at the area's top; -1 for no item.
    EXPECT_EQ(0, gallery->ScrollItemToTop(8));
    EXPECT_EQ(100, gallery->GetScrollPos());
    EXPECT_EQ(-1, gallery->ScrollItemToTop(-1));
    EXPECT_EQ(-1, gallery->ScrollItemToTop(static_cast<int>(captions.size())));
}

// ---- Keys --------------------------------------------------------------------------------------------------------

// A three-column grid (30 × 20 items in 100 pixels) opening and closing with labels:
//   #Top                row 5
//   1 2 3               row 25
//   4 5                 row 45
//   #Middle             row 65
//   7 8 9               row 85
//   10                  row 105
//   #End                row 125
class GalleryKeysTest : public GalleryTest
{
protected:
    void SetUp() override
    {
        GalleryTest::SetUp();
        gallery = Make(CSize(30, 20), {"#Top", "1", "2", "3", "4", "5", "#Middle", "7", "8", "9", "10", "#End"});
        gallery->SetSelected(1);
        ASSERT_TRUE(gallery->IsFocused());
    }
    int Press(UINT key, int from)
    {
        gallery->SetSelectedItem(from);
        return gallery->OnHookKeyDown(key, 0);
    }
    TestGallery* gallery = nullptr;
};

TEST_F(GalleryKeysTest, KeysMoveTheSelectionAcrossTheGrid)
{
    const struct
    {
        const char* name;
        UINT key;
        int shift;
        int from;
        int handled;
        int to;
    } cases[] = {
        {"Tab", VK_TAB, 0, 9, 1, 10},
        {"Tab wraps: the bar moves on", VK_TAB, 0, 10, 0, 10},
        {"Shift+Tab skips the label", VK_TAB, VK_SHIFT, 7, 1, 5},
        {"Shift+Tab wraps", VK_TAB, VK_SHIFT, 1, 0, 1},
        {"Home skips the label", VK_HOME, 0, 8, 1, 1},
        {"End skips the label", VK_END, 0, 2, 1, 10},
        {"Right", VK_RIGHT, 0, 1, 1, 2},
        {"Right at the row's end", VK_RIGHT, 0, 3, 1, 1},
        {"Right at a short row's end", VK_RIGHT, 0, 5, 1, 4},
        {"Left", VK_LEFT, 0, 3, 1, 2},
        {"Left at the row's start", VK_LEFT, 0, 7, 1, 9},
        {"Down", VK_DOWN, 0, 2, 1, 5},
        {"Down over the label", VK_DOWN, 0, 4, 1, 7},
        {"Up", VK_UP, 0, 8, 1, 5},
        {"Down from the last row wraps", VK_DOWN, 0, 10, 1, 1},
        {"Up from the first row wraps", VK_UP, 0, 2, 1, 10},
        {"PageDown", VK_NEXT, 0, 1, 1, 5},
        {"PageUp", VK_PRIOR, 0, 10, 1, 7},
        {"Enter executes, unhandled", VK_RETURN, 0, 4, 0, 4},
        {"other keys", 'A', 0, 4, 0, 4},
    };
    for (const auto& c : cases)
    {
        const int executions = gallery->executions;
        ScopedKeyDown shift(c.shift);
        EXPECT_EQ(c.handled, Press(c.key, c.from)) << c.name;
        EXPECT_EQ(c.to, gallery->GetSelectedItem()) << c.name;
        EXPECT_EQ(c.key == VK_RETURN ? 1 : 0, gallery->executions - executions) << c.name;
    }
}

TEST_F(GalleryKeysTest, UpAndDownWrapOnlyWhenTheGalleryIsAlone)
{
    bar.GetControls()->Add(1, 601);
    EXPECT_EQ(0, Press(VK_DOWN, 10));
    EXPECT_EQ(10, gallery->GetSelectedItem());
    bar.GetControls()->Add(1, 602, nullptr, 0);
    EXPECT_EQ(0, Press(VK_UP, 2));
    EXPECT_EQ(2, gallery->GetSelectedItem());
    // Inside the grid the keys are the gallery's.
    EXPECT_EQ(1, Press(VK_DOWN, 2));
}

TEST_F(GalleryKeysTest, WithoutASelectionAPopupGalleryOnlyOpensOnEnterOrSpace)
{
    // Opening a popup makes the bar track: it needs its window.
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    ASSERT_TRUE(bar.CreatePopup(&owner, CRect(0, 0, 200, 100)));
    gallery->SetSelected(1);
    RefPtr<COSMPopupBar> dropDown = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    gallery->SetCommandBar(dropDown.Get());
    for (UINT key : {VK_DOWN, VK_RIGHT, VK_TAB, VK_HOME, int('A')})
    {
        EXPECT_EQ(0, Press(key, -1)) << key;
        EXPECT_EQ(-1, gallery->GetSelectedItem()) << key;
    }
    for (UINT key : {VK_RETURN, VK_SPACE})
    {
        EXPECT_EQ(1, Press(key, -1)) << key;
        EXPECT_EQ(-1, gallery->GetSelectedItem()) << key;
    }
    EXPECT_EQ((std::vector<BOOL>{TRUE, TRUE}), gallery->popupRequests);
    EXPECT_EQ(0, gallery->executions);
    bar.SetTrackingMode(0, FALSE, FALSE);
    // Not focused: no key is the gallery's.
    gallery->SetCommandBar(nullptr);
    gallery->SetSelected(0);
    EXPECT_EQ(0, Press(VK_RIGHT, 1));
    bar.DestroyWindow();
    owner.DestroyWindow();
}

TEST_F(GalleryKeysTest, SetSelectedItemTellsAccessibilityToolsAndStartsThePreview)
{
    RecordedWinEvents().clear();
    gallery->m_pNotifyWinEvent = &RecordWinEvent;
    gallery->SetSelectedItem(4);
    gallery->SetSelectedItem(8);
    gallery->SetSelectedItem(-1);
    const std::vector<WinEvent> expected = {{EVENT_OBJECT_FOCUS, nullptr, 500, 5},
                                            {EVENT_OBJECT_FOCUS, nullptr, 500, 9}};
    EXPECT_EQ(expected, RecordedWinEvents());
    EXPECT_FALSE(gallery->IsPreviewActive());
}

TEST_F(GalleryKeysTest, RightToLeftBarsExchangeLeftAndRight)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    ASSERT_TRUE(bar.CreatePopup(&owner, CRect(0, 0, 200, 100), WS_EX_LAYOUTRTL));
    EXPECT_EQ(1, Press(VK_RIGHT, 2));
    EXPECT_EQ(1, gallery->GetSelectedItem());
    EXPECT_EQ(1, Press(VK_LEFT, 2));
    EXPECT_EQ(3, gallery->GetSelectedItem());
    bar.DestroyWindow();
    owner.DestroyWindow();
}

// ---- Search and sizes ----------------------------------------------------------------------------------------------

TEST_F(GalleryTest, FindItemMatchesPrefixesOrWholeCaptionsAndWraps)
{
    auto* gallery = Make(CSize(40, 20), {"Apple", "apricot", "Banana", "Cherry", "banana split"});
    const struct
    {
        int start;
        const char* text;
        BOOL exact;
        int expected;
    } cases[] = {
        {-1, "ap", FALSE, 0},   {0, "ap", FALSE, 1},   {1, "AP", FALSE, 0},      {-1, "BANANA", TRUE, 2},
        {2, "banana", TRUE, 2}, {2, "Ban", FALSE, 4},  {-1, "", FALSE, -1},      {-1, "Cherry pie", FALSE, -1},
        {-1, "Cher", TRUE, -1}, {-1, "zz", FALSE, -1}, {10, "cherry", FALSE, 3}, {-7, "apple", TRUE, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, gallery->FindItem(c.start, c.text, c.exact)) << c.start << " " << c.text;
    gallery->GetAction()->SetReferencedObject(nullptr);
    EXPECT_EQ(-1, gallery->FindItem(-1, "Apple", TRUE));
}

TEST_F(GalleryTest, SizesMinimumsAndResizing)
{
    auto* gallery = Make(CSize(40, 20), Numbered(4));
    CWindowDC screen(nullptr);
    EXPECT_EQ(CSize(120, 60), gallery->GetSize(&screen));
    // Resizable galleries are at least their minimum width.
    gallery->SetWidth(10);
    gallery->SetResizable(3);
    EXPECT_EQ(CSize(40, 60), gallery->GetSize(&screen));
    EXPECT_EQ(3, gallery->IsCustomizeResizeAllowed());

    const struct
    {
        CSize item;
        BOOL borders;
        int minWidth;
        int minHeight;
    } cases[] = {
        {CSize(40, 20), FALSE, 40, 32},
        {CSize(10, 20), FALSE, 16, 32},
        {CSize(40, 20), TRUE, 42, 32},
        {CSize(40, 40), TRUE, 42, 42},
    };
    for (const auto& c : cases)
    {
        items->SetItemSize(c.item);
        gallery->SetShowBorders(c.borders);
        EXPECT_EQ(c.minWidth, gallery->GetCustomizeMinWidth()) << c.item.cx << " " << c.borders;
        EXPECT_EQ(c.minHeight, gallery->GetCustomizeMinHeight()) << c.item.cy << " " << c.borders;
    }

    // As a button: the popup's own measure, and never resizable; the gallery's Width and Height stay.
    gallery->SetStyle(2);
    EXPECT_TRUE(gallery->IsShowAsButton());
    const CSize asButton = gallery->GetSize(&screen);
    EXPECT_EQ(10, gallery->GetWidth());
    EXPECT_EQ(60, gallery->GetHeight());
    TestGallery reference;
    reference.SetCaption(gallery->GetCaptionText());
    reference.SetStyle(2);
    reference.SetWidth(0);
    reference.SetHeight(0);
    bar.GetControls()->AddControl(&reference, 502);
    reference.InternalAddRef();
    EXPECT_EQ(reference.COSMControlPopup::GetSize(&screen), asButton);
    bar.GetControls()->Remove(&reference);
    EXPECT_FALSE(gallery->IsCustomizeResizeAllowed());
    gallery->SetStyle(4);
    EXPECT_TRUE(gallery->IsShowAsButton());
    gallery->SetStyle(0);

    // Without items: no minimums, no resizing.
    gallery->GetAction()->SetReferencedObject(nullptr);
    EXPECT_EQ(0, gallery->GetCustomizeMinWidth());
    EXPECT_EQ(0, gallery->GetCustomizeMinHeight());
    EXPECT_FALSE(gallery->IsCustomizeResizeAllowed());

    // The drop-down opens over the gallery.
    CRect exclude(10, 20, 50, 60);
    gallery->AdjustExcludeRect(exclude, FALSE);
    EXPECT_EQ(CRect(9, 20, 9, 20), exclude);
}

TEST_F(GalleryTest, TheDropDownOfAGalleryIsAtLeastAsWideAsTheGallery)
{
    auto* opener = Make(CSize(40, 20), Numbered(4));
    opener->SetRect(CRect(0, 0, 150, 60));
    RefPtr<COSMPopupBar> dropDown = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    dropDown->SetControlPopup(opener);
    auto* copy = AddGallery(*dropDown, commandBars.Get(), 500, items.Get(), CRect(0, 0, 100, 100));
    EXPECT_EQ(150, copy->GetCustomizeMinWidth());
    dropDown->SetControlPopup(nullptr);
    EXPECT_EQ(40, copy->GetCustomizeMinWidth());
    dropDown->GetControls()->RemoveAll();
}

// ---- Accessibility ---------------------------------------------------------------------------------------------

VARIANT Child(long id)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string Text(BSTR text)
{
    char buffer[256] = {};
    if (text)
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof(buffer), nullptr, nullptr);
    ::SysFreeString(text);
    return buffer;
}

TEST_F(GalleryTest, ItemsAreTheGallerysAccessibleChildren)
{
    auto* gallery = Make(CSize(40, 20), {"&Apple", "", "Cherry"});
    items->GetItem(1)->SetTooltip("Banana tip");
    gallery->SetCheckedItemId(1002);
    gallery->SetSelectedItem(0);

    long count = 0;
    EXPECT_EQ(S_OK, gallery->GetAccessibleChildCount(&count));
    EXPECT_EQ(3, count);
    IDispatch* child = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(S_FALSE, gallery->GetAccessibleChild(Child(1), &child));
    EXPECT_EQ(nullptr, child);

    const struct
    {
        long child;
        const char* name;
        long state;
    } cases[] = {
        {1, "Apple", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSED},
        {2, "Banana tip", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE},
        {3, "Cherry", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED},
    };
    for (const auto& c : cases)
    {
        BSTR name = nullptr;
        EXPECT_EQ(S_OK, gallery->GetAccessibleName(Child(c.child), &name));
        EXPECT_EQ(c.name, Text(name));
        VARIANT role;
        EXPECT_EQ(S_OK, gallery->GetAccessibleRole(Child(c.child), &role));
        EXPECT_EQ(ROLE_SYSTEM_LISTITEM, role.lVal);
        VARIANT state;
        EXPECT_EQ(S_OK, gallery->GetAccessibleState(Child(c.child), &state));
        EXPECT_EQ(c.state, state.lVal) << c.child;
        BSTR action = nullptr;
        EXPECT_EQ(S_OK, gallery->GetAccessibleDefaultAction(Child(c.child), &action));
        EXPECT_EQ("Click", Text(action));
    }
    VARIANT role;
    EXPECT_EQ(S_OK, gallery->GetAccessibleRole(Child(CHILDID_SELF), &role));
    EXPECT_EQ(ROLE_SYSTEM_LIST, role.lVal);

    // Selecting and the default action select the item.
    EXPECT_EQ(S_OK, gallery->AccessibleSelect(SELFLAG_TAKEFOCUS, Child(3)));
    EXPECT_EQ(2, gallery->GetSelectedItem());
    EXPECT_EQ(S_OK, gallery->AccessibleDoDefaultAction(Child(2)));
    EXPECT_EQ(1, gallery->GetSelectedItem());

    // A child that is not there, or nowhere to answer.
    BSTR name = nullptr;
    VARIANT out;
    long x, y, w, h;
    for (long bad : {4L, -3L})
    {
        EXPECT_EQ(E_INVALIDARG, gallery->GetAccessibleName(Child(bad), &name)) << bad;
        EXPECT_EQ(E_INVALIDARG, gallery->GetAccessibleRole(Child(bad), &out)) << bad;
        EXPECT_EQ(E_INVALIDARG, gallery->GetAccessibleState(Child(bad), &out)) << bad;
        EXPECT_EQ(E_INVALIDARG, gallery->GetAccessibleDefaultAction(Child(bad), &name)) << bad;
        EXPECT_EQ(E_INVALIDARG, gallery->AccessibleSelect(SELFLAG_TAKEFOCUS, Child(bad))) << bad;
        EXPECT_EQ(E_INVALIDARG, gallery->AccessibleLocation(&x, &y, &w, &h, Child(bad))) << bad;
        EXPECT_EQ(E_INVALIDARG, gallery->AccessibleDoDefaultAction(Child(bad))) << bad;
    }
    EXPECT_EQ(E_INVALIDARG, gallery->GetAccessibleName(Child(1), nullptr));
    EXPECT_EQ(E_INVALIDARG, gallery->GetAccessibleRole(Child(1), nullptr));
    EXPECT_EQ(E_INVALIDARG, gallery->GetAccessibleState(Child(1), nullptr));
    EXPECT_EQ(E_INVALIDARG, gallery->GetAccessibleChildCount(nullptr));
    EXPECT_EQ(E_INVALIDARG, gallery->AccessibleLocation(nullptr, &y, &w, &h, Child(1)));
    // Without a window there is nowhere on screen to point at.
    EXPECT_EQ(S_OK, gallery->AccessibleLocation(&x, &y, &w, &h, Child(1)));
    EXPECT_EQ(0, w);
}

// ---- Storing and copying ---------------------------------------------------------------------------------------

TEST_F(GalleryTest, TheSettingsComeBackFromTheArchiveAndCopies)
{
    COSMControlGallery source;
    source.SetShowLabels(FALSE);
    source.SetShowBorders(FALSE);
    source.SetShowScrollBar(FALSE);
    source.SetGalleryMargin(CRect(1, 2, 3, 4));
    source.SetResizable(3);
    source.SetCaption("Styles");
    const struct
    {
        long schema;
        int resizable;
    } cases[] = {{23, 0}, {24, 3}, {34, 3}};
    for (const auto& c : cases)
    {
        COSMControlGallery loaded;
        RoundTripAtSchema(source, loaded, c.schema);
        EXPECT_FALSE(loaded.IsShowLabels()) << c.schema;
        EXPECT_FALSE(loaded.IsShowBorders()) << c.schema;
        EXPECT_FALSE(loaded.IsShowScrollBar()) << c.schema;
        EXPECT_EQ(CRect(1, 2, 3, 4), loaded.GetGalleryMargin()) << c.schema;
        EXPECT_EQ(c.resizable, loaded.GetResizable()) << c.schema;
        EXPECT_STREQ("Styles", loaded.GetCaptionText());
    }
    // The defaults as made.
    COSMControlGallery fresh;
    EXPECT_TRUE(fresh.IsShowLabels());
    EXPECT_TRUE(fresh.IsShowScrollBar());
    EXPECT_FALSE(fresh.IsShowBorders());
    EXPECT_EQ(0, fresh.GetResizable());
    EXPECT_TRUE(fresh.GetScrollBarGeometry().vertical);

    RefPtr<COSMControl> clone = AdoptRef(source.Clone(FALSE));
    ASSERT_TRUE(clone->IsKindOf(RUNTIME_CLASS(COSMControlGallery)));
    const auto* copy = static_cast<const COSMControlGallery*>(clone.Get());
    EXPECT_FALSE(copy->IsShowLabels());
    EXPECT_FALSE(copy->IsShowScrollBar());
    EXPECT_EQ(CRect(1, 2, 3, 4), copy->GetGalleryMargin());
    EXPECT_EQ(3, copy->GetResizable());
    EXPECT_EQ(10, copy->GetType());
    EXPECT_STREQ("Styles", copy->GetCaptionText());
}

TEST(GalleryClasses, TheClassesAreRegisteredByName)
{
    for (const char* name : {"COSMControlGallery", "COSMControlComboBoxGalleryPopupBar", "COSMControlGalleryItems"})
    {
        CRuntimeClass* runtimeClass = FindRuntimeClass(name);
        ASSERT_NE(nullptr, runtimeClass) << name;
        CObject* object = runtimeClass->CreateObject();
        ASSERT_NE(nullptr, object) << name;
        static_cast<CCmdTarget*>(object)->InternalRelease();
    }
}

// Stored as the bars store theirs: the class record (its name and the schema its values are written at), then the
// values at the exchange's schema. Loading makes the object from the record and reads its values at the record's
// schema.
prop_exchange_test::Bytes StoreByClass(CCmdTarget& object, CRuntimeClass* base, long schema,
                                       const std::function<void(COSMPropExchange*)>& values)
{
    prop_exchange_test::StoreToMemory store;
    store.px.m_nSchema = schema;
    CObject* instance = &object;
    EXPECT_TRUE(store.px.ExchangeObjectInstance(&instance, base));
    values(&store.px);
    return store.Take();
}

template <class T>
RefPtr<T> LoadByClass(prop_exchange_test::Bytes bytes, CRuntimeClass* base,
                      const std::function<void(T*, COSMPropExchange*)>& values)
{
    prop_exchange_test::LoadFromMemory load(std::move(bytes));
    CObject* object = nullptr;
    if (!load.px.ExchangeObjectInstance(&object, base) || !object)
        return RefPtr<T>();
    RefPtr<CCmdTarget> made = RefPtr<CCmdTarget>::Adopt(static_cast<CCmdTarget*>(object));
    T* loaded = dynamic_cast<T*>(made.Get());
    if (!loaded)
        return RefPtr<T>();
    values(loaded, &load.px);
    return RefPtr<T>::Retain(loaded);
}

// The bytes with the schema of the class record of className set to schema, as an older program wrote it.
prop_exchange_test::Bytes WithRecordSchema(prop_exchange_test::Bytes bytes, const char* className, WORD schema)
{
    const std::string name(className);
    const auto found = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    EXPECT_NE(found, bytes.end()) << className;
    if (found == bytes.end() || found - bytes.begin() < 4)
        return bytes;
    // The record: new-class tag, schema, name length, name.
    const size_t at = static_cast<size_t>(found - bytes.begin()) - 4;
    bytes[at] = static_cast<BYTE>(schema);
    bytes[at + 1] = static_cast<BYTE>(schema >> 8);
    return bytes;
}

TEST_F(GalleryTest, AGalleryStoredByClassComesBackWithEverySettingAndAnOlderRecordStillLoads)
{
    COSMControlGallery source;
    source.SetShowLabels(FALSE);
    source.SetShowScrollBar(FALSE);
    source.SetGalleryMargin(CRect(1, 2, 3, 4));
    source.SetResizable(3);
    source.SetCaption("Styles");
    const auto values = [](COSMControlGallery* gallery, COSMPropExchange* px) { gallery->DoPropExchange(px); };

    // Written now: the settings that came with later schemas (the resizing) come back.
    RefPtr<COSMControlGallery> loaded = LoadByClass<COSMControlGallery>(
        StoreByClass(source, RUNTIME_CLASS(COSMControl), COSMPropExchange::kCurrentSchema,
                     [&](COSMPropExchange* px) { source.DoPropExchange(px); }),
        RUNTIME_CLASS(COSMControl), values);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(3, loaded->GetResizable());
    EXPECT_FALSE(loaded->IsShowLabels());
    EXPECT_FALSE(loaded->IsShowScrollBar());
    EXPECT_EQ(CRect(1, 2, 3, 4), loaded->GetGalleryMargin());
    EXPECT_STREQ("Styles", loaded->GetCaptionText());

    // Written by a program whose galleries knew no resizing: the record says so, and the rest reads right.
    const auto storeOld = [&](COSMPropExchange* px) {
        px->m_nSchema = 23;
        source.DoPropExchange(px);
    };
    const prop_exchange_test::Bytes older =
        WithRecordSchema(StoreByClass(source, RUNTIME_CLASS(COSMControl), 23, storeOld), "COSMControlGallery", 23);
    RefPtr<COSMControlGallery> old;
    const auto load = [&] { old = LoadByClass<COSMControlGallery>(older, RUNTIME_CLASS(COSMControl), values); };
    EXPECT_EQ(-1, prop_exchange_test::ArchiveFailure(load));
    ASSERT_TRUE(old);
    EXPECT_EQ(0, old->GetResizable());
    EXPECT_FALSE(old->IsShowLabels());
    EXPECT_FALSE(old->IsShowScrollBar());
    EXPECT_EQ(CRect(1, 2, 3, 4), old->GetGalleryMargin());
    EXPECT_STREQ("Styles", old->GetCaptionText());
}

TEST_F(GalleryTest, AGalleryDropDownStoredByClassKeepsItsLaterSettingsAndAnOlderRecordStillLoads)
{
    RefPtr<COSMControlComboBoxGalleryPopupBar> source = AdoptRef(static_cast<COSMControlComboBoxGalleryPopupBar*>(
        RUNTIME_CLASS(COSMControlComboBoxGalleryPopupBar)->CreateObject()));
    source->SetCommandBars(commandBars.Get());
    source->SetContextMenu(TRUE);
    source->SetShowShadow(FALSE);
    const auto values = [](COSMControlComboBoxGalleryPopupBar* bar, COSMPropExchange* px) { bar->DoPropExchange(px); };

    RefPtr<COSMControlComboBoxGalleryPopupBar> loaded = LoadByClass<COSMControlComboBoxGalleryPopupBar>(
        StoreByClass(*source, RUNTIME_CLASS(COSMCommandBar), COSMPropExchange::kCurrentSchema,
                     [&](COSMPropExchange* px) { source->DoPropExchange(px); }),
        RUNTIME_CLASS(COSMCommandBar), values);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->IsContextMenu());
    EXPECT_FALSE(loaded->GetShowShadow());

    // A record of schema 18 knew no context-menu flag.
    const auto storeOld = [&](COSMPropExchange* px) {
        px->m_nSchema = 18;
        source->DoPropExchange(px);
    };
    const prop_exchange_test::Bytes older = WithRecordSchema(
        StoreByClass(*source, RUNTIME_CLASS(COSMCommandBar), 18, storeOld), "COSMControlComboBoxGalleryPopupBar", 18);
    RefPtr<COSMControlComboBoxGalleryPopupBar> old;
    const auto load = [&] {
        old = LoadByClass<COSMControlComboBoxGalleryPopupBar>(older, RUNTIME_CLASS(COSMCommandBar), values);
    };
    EXPECT_EQ(-1, prop_exchange_test::ArchiveFailure(load));
    ASSERT_TRUE(old);
    EXPECT_FALSE(old->IsContextMenu());
    EXPECT_FALSE(old->GetShowShadow());
}

// ---- The drop-down's list operations ----------------------------------------------------------------------------

TEST_F(GalleryTest, TheDropDownAnswersFromItsGalleryAndNeutrallyWithoutOne)
{
    RefPtr<COSMControlComboBoxGalleryPopupBar> dropDown = AdoptRef(static_cast<COSMControlComboBoxGalleryPopupBar*>(
        RUNTIME_CLASS(COSMControlComboBoxGalleryPopupBar)->CreateObject()));
    dropDown->SetCommandBars(commandBars.Get());
    // Empty: the answers of no list.
    CString text = "x";
    EXPECT_EQ(nullptr, dropDown->GetGallery());
    EXPECT_EQ(-1, dropDown->GetCurSel());
    EXPECT_EQ(-1, dropDown->FindString(-1, "a"));
    EXPECT_EQ(-1, dropDown->FindStringExact(-1, "a"));
    EXPECT_EQ(-1, dropDown->SetTopIndex(0));
    dropDown->SetCurSel(1);
    dropDown->GetText(0, text);
    EXPECT_TRUE(text.IsEmpty());
    // A button at index 0: the same.
    dropDown->GetControls()->Add(1, 700);
    EXPECT_EQ(nullptr, dropDown->GetGallery());
    EXPECT_EQ(-1, dropDown->GetCurSel());
    EXPECT_EQ(-1, dropDown->SetTopIndex(0));
    dropDown->GetText(0, text);
    EXPECT_TRUE(text.IsEmpty());
    dropDown->GetControls()->RemoveAll();

    items = MakeItems(CSize(40, 20), {"Apple", "Banana", "Cherry", "Date", "Elder", "Fig", "Grape", "Kiwi"});
    auto* gallery = AddGallery(*dropDown, commandBars.Get(), 500, items.Get(), CRect(0, 0, 100, 40));
    EXPECT_EQ(gallery, dropDown->GetGallery());
    dropDown->SetCurSel(2);
    EXPECT_EQ(2, gallery->GetSelectedItem());
    EXPECT_EQ(2, dropDown->GetCurSel());
    EXPECT_EQ(1, dropDown->FindString(-1, "ba"));
    EXPECT_EQ(-1, dropDown->FindStringExact(-1, "ba"));
    EXPECT_EQ(3, dropDown->FindStringExact(-1, "DATE"));
    dropDown->GetText(4, text);
    EXPECT_EQ("Elder", std::string(text));
    dropDown->GetText(40, text);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(0, dropDown->SetTopIndex(6));
    EXPECT_EQ(40, gallery->GetScrollPos());
    EXPECT_EQ(-1, dropDown->SetTopIndex(8));
    RefPtr<COSMCommandBar> clone = AdoptRef(dropDown->Clone(TRUE));
    EXPECT_TRUE(clone->IsKindOf(RUNTIME_CLASS(COSMControlComboBoxGalleryPopupBar)));
    dropDown->GetControls()->RemoveAll();
}

// ---- The painter ---------------------------------------------------------------------------------------------

TEST_F(GalleryTest, ThePainterKeepsItsMetricsThroughARefresh)
{
    COSMControlGalleryPaintManager painter(PaintManager());
    EXPECT_EQ(19, painter.GetUpButtonHeight());
    EXPECT_EQ(19, painter.GetDownButtonHeight());
    EXPECT_EQ(16, painter.GetScrollColumnWidth());
    painter.RefreshMetrics();
    EXPECT_EQ(19, painter.GetUpButtonHeight());
    EXPECT_EQ(16, painter.GetScrollColumnWidth());
    EXPECT_EQ(::GetSystemMetrics(SM_CXVSCROLL), painter.GetVerticalThickness());
}

TEST_F(GalleryTest, FillControlPaintsBackgroundFrameAndTheSeparatorLine)
{
    auto* gallery = Make(CSize(40, 20), Numbered(2));
    COSMControlGalleryPaintManager* painter = gallery->GetGalleryPaintManager();
    COSMPaintManager* pm = PaintManager();
    const COLORREF fill = pm->GetColor(41);
    const COLORREF frame = pm->GetColor(52);
    const COLORREF line = pm->GetColor(39);
    ASSERT_NE(fill, frame);
    ASSERT_NE(fill, line);
    const CRect rect(2, 2, 52, 32);
    {
        DcTestSurface surface(60, 40, RGB(1, 2, 3));
        gallery->SetShowBorders(TRUE);
        painter->FillControl(CDC::FromHandle(surface.GetDC()), gallery, rect);
        EXPECT_EQ(frame, surface.Pixel(2, 2));
        EXPECT_EQ(frame, surface.Pixel(51, 31));
        EXPECT_EQ(frame, surface.Pixel(2, 20));
        EXPECT_EQ(fill, surface.Pixel(3, 3));
        EXPECT_EQ(fill, surface.Pixel(50, 29));
        EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(1, 1));
        EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(52, 32));
    }
    {
        // Borderless in a menu over another control: the line two pixels above the bottom, full width.
        DcTestSurface surface(60, 40, RGB(1, 2, 3));
        gallery->SetShowBorders(FALSE);
        bar.SetTypeField(2);
        bar.GetControls()->Add(1, 600);
        ASSERT_TRUE(gallery->HasFollowingControl());
        painter->FillControl(CDC::FromHandle(surface.GetDC()), gallery, rect);
        for (int x : {2, 30, 51})
        {
            EXPECT_EQ(line, surface.Pixel(x, 30)) << x;
            EXPECT_EQ(fill, surface.Pixel(x, 31)) << x;
            EXPECT_EQ(fill, surface.Pixel(x, 29)) << x;
        }
        EXPECT_EQ(fill, surface.Pixel(2, 2));
    }
}

TEST_F(GalleryTest, DrawLabelFillsUnderlinesAndWritesTheCaptionInBoldBetweenMargins)
{
    Make(CSize(40, 20), {"#Recently used styles of every kind"});
    COSMPaintManager* pm = PaintManager();
    COSMControlGalleryPaintManager painter(pm);
    COSMControlGalleryItem* label = items->GetItem(0);
    const CRect rect(0, 0, 120, 19);
    DcTestSurface surface(120, 19, RGB(1, 2, 3));
    painter.DrawLabel(CDC::FromHandle(surface.GetDC()), label, rect);

    // The reference: the same fill and line, DrawText with the bold font in colour 44.
    DcTestSurface reference(120, 19, pm->GetColor(56));
    reference.Fill(CRect(0, 18, 120, 19), pm->GetColor(52));
    HGDIOBJ old = ::SelectObject(reference.GetDC(), pm->GetBoldFont().GetSafeHandle());
    ::SetTextColor(reference.GetDC(), pm->GetColor(44));
    ::SetBkMode(reference.GetDC(), TRANSPARENT);
    CRect text(10, 0, 110, 19);
    const CString caption = label->GetCaption();
    ::DrawTextA(reference.GetDC(), caption, caption.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    ::SelectObject(reference.GetDC(), old);
    for (int y = 0; y < 19; ++y)
        ASSERT_EQ(reference.Row(y), surface.Row(y)) << y;

    // Text shows, inside the margins only; the caption is cut with an ellipsis rather than running on.
    int textPixels = 0;
    for (int y = 0; y < 18; ++y)
    {
        for (int x = 0; x < 120; ++x)
        {
            const bool background = surface.Pixel(x, y) == pm->GetColor(56);
            textPixels += !background;
            if (x < 10 || x >= 110)
            {
                EXPECT_TRUE(background) << x << "," << y;
            }
        }
    }
    EXPECT_GT(textPixels, 20);
    for (int x = 0; x < 120; ++x)
        EXPECT_EQ(pm->GetColor(52), surface.Pixel(x, 18)) << x;
}

TEST_F(GalleryTest, ThePopupScrollColumnShowsWhichButtonsCanAct)
{
    auto* gallery = Make(CSize(40, 20), Numbered(20));
    RefPtr<COSMPopupBar> dropDown = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    gallery->SetCommandBar(dropDown.Get());
    gallery->SetShowScrollBar(TRUE);
    gallery->SetRect(CRect(0, 0, 100, 70));
    gallery->Reposition();
    COSMControlGalleryPaintManager* painter = gallery->GetGalleryPaintManager();
    COSMTestPaintManager* pm = PaintManager();
    const struct
    {
        int pos;
        int upEnabled;
        int downEnabled;
    } cases[] = {{0, 0, 1}, {50, 1, 1}, {1000, 1, 0}};
    for (const auto& c : cases)
    {
        gallery->SetScrollPos(c.pos);
        EXPECT_EQ(c.upEnabled, gallery->IsScrollButtonEnabled(COSMScrollBase::kHitFirstArrow)) << c.pos;
        EXPECT_EQ(c.downEnabled, gallery->IsScrollButtonEnabled(COSMScrollBase::kHitSecondArrow)) << c.pos;
        DcTestSurface surface(100, 70, RGB(1, 2, 3));
        pm->ClearCalls();
        painter->DrawPopupScrollBar(CDC::FromHandle(surface.GetDC()), gallery);
        std::vector<std::string> states;
        for (const std::string& call : pm->GetCalls())
        {
            if (call.rfind("DrawStateRectangle", 0) == 0)
                states.push_back(call);
        }
        char expected[3][80];
        std::snprintf(expected[0], sizeof(expected[0]), "DrawStateRectangle(84,0,100,19,0,0,%d,0,0,1,5)", c.upEnabled);
        std::snprintf(expected[1], sizeof(expected[1]), "DrawStateRectangle(84,19,100,38,0,0,%d,0,0,1,5)",
                      c.downEnabled);
        std::snprintf(expected[2], sizeof(expected[2]), "DrawStateRectangle(84,38,100,70,0,0,1,0,0,1,5)");
        EXPECT_EQ((std::vector<std::string>{expected[0], expected[1], expected[2]}), states) << c.pos;

        // The column's colour around the glyphs, and the glyphs' points.
        EXPECT_EQ(pm->GetColor(30), surface.Pixel(85, 1)) << c.pos;
        EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(83, 1)) << c.pos;
        const COLORREF up = pm->GetColor(c.upEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
        const COLORREF down = pm->GetColor(c.downEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
        const COLORREF popup = pm->GetColor(COLOR_BTNTEXT);
        // Up around (92, 9): base y 11 from x 88 to 96, apex (92, 7).
        EXPECT_EQ(up, surface.Pixel(88, 11)) << c.pos;
        EXPECT_EQ(up, surface.Pixel(96, 11)) << c.pos;
        EXPECT_EQ(up, surface.Pixel(92, 7)) << c.pos;
        EXPECT_EQ(pm->GetColor(30), surface.Pixel(92, 5)) << c.pos;
        // Down around (92, 28): base y 26, apex (92, 30).
        EXPECT_EQ(down, surface.Pixel(88, 26)) << c.pos;
        EXPECT_EQ(down, surface.Pixel(92, 30)) << c.pos;
        EXPECT_EQ(pm->GetColor(30), surface.Pixel(92, 32)) << c.pos;
        // Popup around (92, 54): a 9 × 2 bar at (88, 50), the triangle from y 53 to its apex (92, 57).
        EXPECT_EQ(popup, surface.Pixel(88, 50)) << c.pos;
        EXPECT_EQ(popup, surface.Pixel(96, 51)) << c.pos;
        EXPECT_EQ(pm->GetColor(30), surface.Pixel(92, 52)) << c.pos;
        EXPECT_EQ(popup, surface.Pixel(88, 53)) << c.pos;
        EXPECT_EQ(popup, surface.Pixel(92, 57)) << c.pos;
    }
    // A disabled gallery disables every button.
    gallery->SetEnabled(0);
    pm->ClearCalls();
    DcTestSurface surface(100, 70);
    painter->DrawPopupScrollBar(CDC::FromHandle(surface.GetDC()), gallery);
    int disabled = 0;
    for (const std::string& call : pm->GetCalls())
        disabled += call.rfind("DrawStateRectangle", 0) == 0 && call.find(",0,0,0,0,0,1,5)") != std::string::npos;
    EXPECT_EQ(3, disabled);
}

TEST_F(GalleryTest, ItemsDrawInsideTheItemsAreaAndTheCollectionMayDrawThemItself)
{
    // A collection that draws even items itself, in a colour of its own.
    struct OwnDrawn : COSMControlGalleryItems
    {
        BOOL DrawItem(CDC* dc, COSMControlGallery*, COSMControlGalleryItem* item, CRect rect, BOOL, BOOL selected, BOOL,
                      BOOL) override
        {
            drawn.push_back(item->GetID());
            if (item->GetID() % 2)
                return FALSE;
            dc->FillSolidRect(rect, selected ? RGB(0, 200, 0) : RGB(200, 0, 0));
            return TRUE;
        }
        std::vector<int> drawn;
    };
    RefPtr<OwnDrawn> own = AdoptRef(new OwnDrawn);
    own->SetItemSize(CSize(40, 20));
    for (int i = 0; i < 12; ++i)
        own->AddItem(1000 + i, "x");
    items = own;
    auto* gallery = AddGallery(bar, commandBars.Get(), 500, own.Get(), CRect(10, 5, 110, 65));
    gallery->SetScrollPos(10);
    gallery->SetSelectedItem(2);
    gallery->SetScrollPos(10);
    COSMTestPaintManager* pm = PaintManager();
    pm->ClearCalls();
    DcTestSurface surface(120, 80, RGB(1, 2, 3));
    gallery->Draw(CDC::FromHandle(surface.GetDC()));
    // Rows at content 5, 25, 45, 65 scrolled by 10: the first is cut at the top, the fourth at the bottom; rows
    // after that are not visited.
    EXPECT_EQ((std::vector<int>{1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007}), own->drawn);
    EXPECT_EQ(RGB(200, 0, 0), surface.Pixel(20, 5));  // item 1000, cut at the area's top
    // Nothing is drawn outside the items area.
    EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(20, 4));
    EXPECT_EQ(RGB(0, 200, 0), surface.Pixel(20, 30));  // item 1002, selected
    EXPECT_EQ(RGB(200, 0, 0), surface.Pixel(20, 64));  // item 1006, cut at the area's bottom
    EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(20, 65));
    // The odd items fell to their own Draw: a state rectangle each.
    int states = 0;
    for (const std::string& call : pm->GetCalls())
        states += call.rfind("DrawStateRectangle", 0) == 0;
    EXPECT_EQ(4, states);

    // A hidden selection draws nothing selected.
    own->drawn.clear();
    gallery->HideSelection();
    EXPECT_EQ(2, gallery->GetSelectedItem());
    gallery->Draw(CDC::FromHandle(surface.GetDC()));
    EXPECT_EQ(RGB(200, 0, 0), surface.Pixel(20, 30));
}

}  // namespace
