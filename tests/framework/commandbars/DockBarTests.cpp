// Dock bars: the row layout on fake toolbar sizes (headless), inserting and removing bars in rows, CanDock, the
// numbered menu captions, the window rectangles a frame layout gives docked toolbars and the dock bars, and the
// windows a layout moves and repaints when little or nothing changed.
#include "DockTestSupport.h"
#include "CommandBarsTestIds.h"

#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/MenuCaption.h"
#include "framework/foundation/ImageManager.h"

#include <map>
#include <ostream>

using namespace commandbars_test;

namespace {

// ---- The row layout on fake sizes ----

// A toolbar's fake size: its full width, its narrowest width (hiding controls) and its height.
struct FakeSize
{
    int width;
    int narrowest;
    int height;
};

class DockRowLayoutTest : public CommandBarsTest
{
protected:
    // A windowless toolbar remembered at the left (top for a vertical side), with the flags.
    COSMToolBar* MakeBar(int rememberedLeft, FakeSize size, DWORD flags, BOOL horizontal = TRUE)
    {
        auto* bar = new COSMToolBar;
        bar->ModifyFlags(flags, ~flags);
        COSMToolBar::DockingRecord record;
        record.rect = horizontal ? CRect(rememberedLeft, 0, rememberedLeft + size.width, size.height)
                                 : CRect(0, rememberedLeft, size.height, rememberedLeft + size.width);
        bar->SetDockingRecord(record);
        m_bars.push_back(AdoptRef(bar));
        m_sizes[bar] = size;
        return bar;
    }
    // Along the side: a bar that may hide controls is as long as the length allows, down to its narrowest form.
    void UseFakeSizes(COSMDockBar& dockBar, BOOL horizontal)
    {
        dockBar.SetBarSizer([this, horizontal](COSMToolBar* bar, int length, DWORD mode, int) {
            const FakeSize& size = m_sizes.at(bar);
            int along = size.width;
            if (mode & COSMControls::kLayoutHideWrap)
                along = std::max(size.narrowest, std::min(size.width, length));
            return horizontal ? CSize(along, size.height) : CSize(size.height, along);
        });
    }

    std::vector<RefPtr<COSMToolBar>> m_bars;
    std::map<COSMToolBar*, FakeSize> m_sizes;
};

TEST_F(DockRowLayoutTest, RowsKeepBarsNearTheirPlacesPushOverlapsApartShrinkAndWrap)
{
    struct Bar
    {
        int left;
        FakeSize size;
        DWORD flags;
    };
    struct Case
    {
        const char* name;
        int length;
        std::vector<Bar> bars;  // in row order
        int thickness;
        std::vector<CRect> placed;  // per bar, in row order
    };
    const FakeSize wide{100, 40, 20};
    const Case cases[] = {
        {"a bar stays at its remembered place", 500, {{300, wide, 0}}, 20, {CRect(300, 0, 400, 20)}},
        {"the later bar in row order moves right",
         500,
         {{100, wide, 0}, {150, wide, 0}},
         20,
         {CRect(100, 0, 200, 20), CRect(200, 0, 300, 20)}},
        {"the later bar in row order moves left",
         500,
         {{150, wide, 0}, {100, wide, 0}},
         20,
         {CRect(150, 0, 250, 20), CRect(50, 0, 150, 20)}},
        {"a bar past the end is pulled back in",
         300,
         {{0, wide, 0}, {250, wide, 0}},
         20,
         {CRect(0, 0, 100, 20), CRect(200, 0, 300, 20)}},
        {"too short: bars that may hide controls shrink",
         300,
         {{0, {200, 60, 20}, 0x20}, {200, {200, 60, 20}, 0x20}},
         20,
         {CRect(0, 0, 200, 20), CRect(200, 0, 300, 20)}},
        {"shorter than the narrowest forms: the last one wraps",
         100,
         {{0, {200, 60, 20}, 0x20}, {200, {200, 60, 24}, 0x20}},
         44,
         {CRect(0, 0, 100, 20), CRect(0, 20, 100, 44)}},
        {"bars that cannot shrink wrap at once",
         150,
         {{0, wide, 0}, {100, wide, 0}},
         40,
         {CRect(0, 0, 100, 20), CRect(50, 20, 150, 40)}},
        {"a single bar never wraps and runs past the end", 100, {{0, {300, 300, 20}, 0}}, 20, {CRect(0, 0, 300, 20)}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMDockBar dockBar;
        dockBar.SetDockStyle(COSMDockBar::kStyleTop);
        UseFakeSizes(dockBar, TRUE);
        std::vector<COSMToolBar*> row;
        for (const Bar& bar : c.bars)
            row.push_back(MakeBar(bar.left, bar.size, bar.flags));
        std::vector<CRect> placed;
        EXPECT_EQ(c.thickness, dockBar.AdjustRowWrapped(row, CPoint(0, 0), c.length, TRUE, nullptr, &placed));
        EXPECT_EQ(c.placed, placed);
        for (COSMToolBar* bar : row)
            EXPECT_EQ(0, bar->GetDockingRecord().side);
    }
}

TEST_F(DockRowLayoutTest, AVerticalRowRunsDownFromItsOriginAndMeasuresItsWidth)
{
    COSMDockBar dockBar;
    dockBar.SetDockStyle(COSMDockBar::kStyleRight);
    UseFakeSizes(dockBar, FALSE);
    const std::vector<COSMToolBar*> row{MakeBar(100, {100, 40, 24}, 0, FALSE), MakeBar(150, {100, 40, 30}, 0, FALSE)};
    std::vector<CRect> placed;
    EXPECT_EQ(30, dockBar.AdjustRowWrapped(row, CPoint(7, 0), 500, FALSE, nullptr, &placed));
    EXPECT_EQ((std::vector<CRect>{CRect(7, 100, 31, 200), CRect(7, 200, 37, 300)}), placed);
    EXPECT_EQ(3, row[0]->GetDockingRecord().side);
}

TEST_F(DockRowLayoutTest, AFailingRowNamesTheLastBarAlongIt)
{
    COSMDockBar dockBar;
    dockBar.SetDockStyle(COSMDockBar::kStyleTop);
    UseFakeSizes(dockBar, TRUE);
    // In row order the far bar comes first.
    const std::vector<COSMToolBar*> row{MakeBar(300, {100, 100, 20}, 0), MakeBar(0, {100, 100, 20}, 0)};
    int leaving = -1;
    EXPECT_EQ(-1, dockBar.AdjustRow(row, CPoint(0, 0), 150, TRUE, nullptr, &leaving));
    EXPECT_EQ(0, leaving);
}

TEST(MenuCaptionTest, NumbersTheFirstTenWithAccessKeysAndDoublesAmpersands)
{
    struct Case
    {
        int number;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {1, "Standard", "&1 Standard"},
        {9, "Format", "&9 Format"},
        {10, "Web", "1&0 Web"},
        {11, "Draw", "11 Draw"},
        {2, "Tables & Borders", "&2 Tables && Borders"},
        {0, "Doc", "Doc"},
        {0, "R&D", "R&&D"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.caption, MakeNumberedMenuCaption(c.number, c.text)) << c.number;
}

TEST(MenuCaptionTest, DoubleByteCharactersAreCopiedWholeAndALoneLeadByteEndsTheText)
{
    ASSERT_TRUE(::IsValidCodePage(932));
    struct Case
    {
        int number;
        const char* text;
        const char* caption;
        int length;
    };
    const Case cases[] = {
        // 0x82 0xA0 is one character; the '&' after it is doubled, the one after a lead byte is its trail byte.
        {0, "\x82\xA0&", "\x82\xA0&&", 4},
        {1, "\x83\x41&B", "&1 \x83\x41&&B", 8},
        // A lead byte right before the terminator is copied alone and the copy ends there.
        {0, "A\x82", "A\x82", 2},
        {2, "&\x82", "&2 &&\x82", 6},
    };
    for (const Case& c : cases)
    {
        const CString caption = MakeNumberedMenuCaption(c.number, c.text, 932);
        EXPECT_STREQ(c.caption, caption) << c.text;
        EXPECT_EQ(c.length, caption.GetLength()) << c.text;
    }
}

// ---- Rows of a dock bar on the frame ----

class DockRowsTest : public DockSiteTest
{
protected:
    void SetUp() override
    {
        DockSiteTest::SetUp();
        a = AddFilledToolBar("A", 701, {201, 202});
        b = AddFilledToolBar("B", 702, {203, 204});
        ASSERT_NE(nullptr, a);
        ASSERT_NE(nullptr, b);
        frame.RecalcLayout();
        c = AdoptRef(new COSMToolBar);
        c->SetTitle("C");
        c->SetCommandBars(commandBars.Get());
    }

    COSMToolBar* a = nullptr;
    COSMToolBar* b = nullptr;
    RefPtr<COSMToolBar> c;
};

TEST_F(DockRowsTest, NewToolBarsDockOnTopAsRowsOfTheirOwn)
{
    EXPECT_EQ("|A|B|", DescribeRows(DockBar(0)));
    EXPECT_EQ(DockBar(0), a->GetDockBar());
    EXPECT_EQ(DockBar(0)->GetSafeHwnd(), ::GetParent(a->GetSafeHwnd()));
    EXPECT_FALSE(a->IsBuiltIn());
    EXPECT_EQ(0, a->GetPosition());
    EXPECT_EQ(2, commandBars->GetCount());
}

TEST_F(DockRowsTest, InsertingAtAPointPicksOrMakesItsRowAndRemovingTheOnlyBarRemovesTheRow)
{
    const CRect rowA = RectInParent(a);
    const CRect rowB = RectInParent(b);
    ASSERT_EQ(rowA.bottom, rowB.top);
    struct Case
    {
        const char* name;
        int y;
        int index;
        const char* rows;
    };
    const Case cases[] = {
        {"before the first row", -3, 1, "|C|A|B|"},
        {"inside the first row", rowA.top + 2, 1, "|C A|B|"},
        {"on the first row's far edge", rowA.bottom, 3, "|A|C|B|"},
        {"inside the second row", rowB.top + 2, 3, "|A|C B|"},
        {"past the last row", rowB.bottom + 5, 5, "|A|B|C|"},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(test.index, DockBar(0)->InsertBarAt(c.Get(), CPoint(10, test.y)));
        EXPECT_EQ(test.rows, DescribeRows(DockBar(0)));
        EXPECT_TRUE(DockBar(0)->RemoveCommandBar(c.Get()));
        EXPECT_EQ("|A|B|", DescribeRows(DockBar(0)));
    }
    EXPECT_FALSE(DockBar(0)->RemoveCommandBar(c.Get()));
}

TEST_F(DockRowsTest, AFullRowBarSitsAloneEvenWhenDroppedIntoARow)
{
    auto* full = AddFilledToolBar("F", 703, {205});
    full->ModifyFlags(COSMDockBar::kBarFlagFullRow, 0);
    CRect target = ScreenRect(a);
    target.OffsetRect(150, 0);
    ASSERT_TRUE(commandBars->DockCommandBar(full, &target, DockBar(0)));
    // It joined A's row at its start, then took a row of its own there.
    EXPECT_EQ("|F|A|B|", DescribeRows(DockBar(0)));
}

TEST_F(DockRowsTest, RemovingADockedBarFromTheManagerTakesItOutOfItsRow)
{
    commandBars->Remove(a);
    EXPECT_EQ("|B|", DescribeRows(DockBar(0)));
    EXPECT_EQ(1, commandBars->GetCount());
}

TEST_F(DockRowsTest, CanDockAcceptsPointsStrictlyInsideTheGrownRectangleHintFirst)
{
    COSMToolBar* left = AddFilledToolBar("L", 704, {206});
    ASSERT_TRUE(left->SetPosition(2));
    frame.RecalcLayout();
    const CRect top = ScreenRect(DockBar(0));
    const CRect side = ScreenRect(DockBar(2));
    ASSERT_GT(top.Height(), 0);
    ASSERT_GT(side.Width(), 0);
    struct Case
    {
        const char* name;
        CPoint point;
        int hint;
        int expected;
    };
    const CPoint corner(side.left + 2, top.bottom + 2);  // near both the top and the left dock bar
    const Case cases[] = {
        {"inside the top dock bar", CPoint(top.CenterPoint().x, top.top + 2), -1, 0},
        {"19 pixels above it", CPoint(top.CenterPoint().x, top.top - 19), -1, 0},
        {"on the grown edge", CPoint(top.CenterPoint().x, top.top - 20), -1, -1},
        {"near two, top first", corner, -1, 0},
        {"near two, the hint first", corner, 2, 2},
        {"a hint that does not accept", CPoint(top.CenterPoint().x, top.top + 2), 3, 0},
        {"far from every side", CPoint(side.right + 100, top.bottom + 100), -1, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMDockBar* hint = c.hint >= 0 ? DockBar(c.hint) : nullptr;
        EXPECT_EQ(c.expected >= 0 ? DockBar(c.expected) : nullptr, commandBars->CanDock(c.point, hint));
    }
}

// ---- Window rectangles after a frame layout ----

TEST_F(DockSiteTest, AFrameLayoutGivesTheDockBarsTheirStripsAndTheToolbarsTheirRows)
{
    COSMToolBar* a = AddFilledToolBar("A", 701, {201, 202, 0, 203});
    COSMToolBar* b = AddFilledToolBar("B", 702, {204, 205});
    COSMToolBar* c = AddFilledToolBar("C", 703, {206, 207});
    ASSERT_TRUE(c->SetPosition(2));
    frame.RecalcLayout();
    // B joins A's row (at its start in row order), 250 pixels in.
    CRect target = ScreenRect(a);
    target.OffsetRect(250 - target.left + ScreenRect(DockBar(0)).left, 0);
    target.right = target.left + ScreenRect(b).Width();
    ASSERT_TRUE(commandBars->DockCommandBar(b, &target, DockBar(0)));
    frame.RecalcLayout();
    EXPECT_EQ("|B A|", DescribeRows(DockBar(0)));
    EXPECT_EQ("|C|", DescribeRows(DockBar(2)));

    CRect client;
    frame.GetClientRect(&client);
    const CRect rectA = RectInParent(a);
    const CRect rectB = RectInParent(b);
    const CRect rectC = RectInParent(c);
    const int thickness = std::max(rectA.Height(), rectB.Height());
    EXPECT_EQ(CRect(0, 0, client.right, thickness), RectInParent(DockBar(0)));
    EXPECT_EQ(CRect(0, thickness, rectC.Width(), client.bottom), RectInParent(DockBar(2)));
    EXPECT_EQ(0, RectInParent(DockBar(1)).Height());
    EXPECT_EQ(0, RectInParent(DockBar(3)).Width());
    EXPECT_EQ(0, rectA.left);
    EXPECT_EQ(0, rectA.top);
    EXPECT_EQ(250, rectB.left);
    EXPECT_EQ(0, rectB.top);
    EXPECT_EQ(CPoint(0, 0), rectC.TopLeft());
    EXPECT_GT(rectC.Height(), rectC.Width());  // laid out down the side
    EXPECT_EQ(0, b->GetDockingRecord().side);
    EXPECT_EQ(2, c->GetDockingRecord().side);

    // Dropped onto A's place (A remembers no place of its own), A, later in row order, moves beside B.
    CRect onA = ScreenRect(a);
    onA.right = onA.left + ScreenRect(b).Width();
    ASSERT_TRUE(commandBars->DockCommandBar(b, &onA, DockBar(0)));
    frame.RecalcLayout();
    EXPECT_EQ("|B A|", DescribeRows(DockBar(0)));
    EXPECT_EQ(0, RectInParent(b).left);
    EXPECT_EQ(RectInParent(b).right, RectInParent(a).left);
}

// ---- What a layout moves and repaints ----

// Counts the WM_WINDOWPOSCHANGING each window under the frame is sent, through a hook on the test's thread.
class PositioningCounter
{
public:
    explicit PositioningCounter(HWND frame)
        : m_hook(::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId()))
    {
        s_frame = frame;
        s_counts.clear();
    }
    ~PositioningCounter()
    {
        if (m_hook)
            ::UnhookWindowsHookEx(m_hook);
        s_frame = nullptr;
    }
    PositioningCounter(const PositioningCounter&) = delete;
    PositioningCounter& operator=(const PositioningCounter&) = delete;

    bool Hooked() const { return m_hook != nullptr; }
    int CountOf(HWND window) const
    {
        const auto found = s_counts.find(window);
        return found == s_counts.end() ? 0 : found->second;
    }
    int Total() const
    {
        int total = 0;
        for (const auto& entry : s_counts)
            total += entry.second;
        return total;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message && message->message == WM_WINDOWPOSCHANGING && s_frame &&
            ::IsChild(s_frame, message->hwnd))
            ++s_counts[message->hwnd];
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK m_hook;
    static inline HWND s_frame = nullptr;
    static inline std::map<HWND, int> s_counts;
};

// The frame's descendants, in no particular order.
std::vector<HWND> DescendantsOf(HWND parent)
{
    std::vector<HWND> windows;
    ::EnumChildWindows(
        parent,
        [](HWND window, LPARAM found) {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::map<HWND, CRect> RectsInParents(const std::vector<HWND>& windows)
{
    std::map<HWND, CRect> rects;
    for (HWND window : windows)
    {
        CRect rect;
        ::GetWindowRect(window, &rect);
        ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
        rects[window] = rect;
    }
    return rects;
}

// A frame as an application has it: the menu bar, two toolbars sharing a row, one alone in its row, one down the
// left side and one along the bottom, laid out and painted.
class QuietLayoutTest : public DockSiteTest
{
protected:
    void SetUp() override
    {
        DockSiteTest::SetUp();
        ASSERT_NE(nullptr, commandBars->AddMenuBar("Menu Bar", IDR_TEST_EDIT_MENU));
        a = AddFilledToolBar("A", 701, {201, 202, 0, 203});
        b = AddFilledToolBar("B", 702, {204, 205});
        COSMToolBar* c = AddFilledToolBar("C", 703, {206, 207, 208});
        COSMToolBar* left = AddFilledToolBar("Left", 704, {209, 210});
        COSMToolBar* bottom = AddFilledToolBar("Bottom", 705, {211});
        ASSERT_TRUE(a && b && c && left && bottom);
        ASSERT_TRUE(left->SetPosition(2));
        ASSERT_TRUE(bottom->SetPosition(1));
        frame.RecalcLayout();
        CRect beside = ScreenRect(a);
        beside.OffsetRect(ScreenRect(a).Width() + 20, 0);
        beside.right = beside.left + ScreenRect(b).Width();
        ASSERT_TRUE(commandBars->DockCommandBar(b, &beside, DockBar(0)));
        frame.RecalcLayout();
        PumpMessages();
        frame.UpdateWindow();
        ::RedrawWindow(frame.GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        ASSERT_EQ("|Menu Bar|B A|C|", DescribeRows(DockBar(0)));
        ASSERT_EQ("|Left|", DescribeRows(DockBar(2)));
    }

    // Resizes the frame by the width; the frame's descendants each positioned at most once, and each that kept its
    // rectangle neither positioned nor repainted. The rectangles before and after.
    void ResizeCountingPositionings(int widthChange, std::map<HWND, CRect>& before, std::map<HWND, CRect>& after)
    {
        const std::vector<HWND> windows = DescendantsOf(frame.GetSafeHwnd());
        before = RectsInParents(windows);
        for (HWND window : windows)
            ASSERT_FALSE(::GetUpdateRect(window, nullptr, FALSE)) << "painted before the resize";
        CRect frameRect;
        frame.GetWindowRect(&frameRect);

        PositioningCounter counter(frame.GetSafeHwnd());
        ASSERT_TRUE(counter.Hooked());
        frame.SetWindowPos(nullptr, 0, 0, frameRect.Width() + widthChange, frameRect.Height(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        after = RectsInParents(windows);
        for (HWND window : windows)
        {
            char title[64] = {};
            ::GetWindowTextA(window, title, sizeof title);
            const bool changed = before.at(window) != after.at(window);
            EXPECT_EQ(changed ? 1 : 0, counter.CountOf(window)) << "window \"" << title << "\"";
            if (!changed)
            {
                EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE)) << "window \"" << title << "\" must not repaint";
            }
        }
    }

    COSMToolBar* a = nullptr;
    COSMToolBar* b = nullptr;
};

TEST_F(QuietLayoutTest, ALayoutWithNothingChangedMovesAndRepaintsNoWindow)
{
    const std::vector<HWND> windows = DescendantsOf(frame.GetSafeHwnd());
    ASSERT_GE(windows.size(), 10u);  // four dock bars, the menu bar and five toolbars at least
    const std::map<HWND, CRect> before = RectsInParents(windows);
    for (HWND window : windows)
        ASSERT_FALSE(::GetUpdateRect(window, nullptr, FALSE)) << "painted before the layout";

    PositioningCounter counter(frame.GetSafeHwnd());
    ASSERT_TRUE(counter.Hooked());
    for (int i = 0; i < 3; ++i)
        frame.RecalcLayout();

    EXPECT_EQ(0, counter.Total());
    EXPECT_EQ(before, RectsInParents(windows));
    for (HWND window : windows)
    {
        char title[64] = {};
        ::GetWindowTextA(window, title, sizeof title);
        EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE)) << "window \"" << title << "\" must not repaint";
    }
}

TEST_F(QuietLayoutTest, AWiderFrameMovesOnlyTheWindowsWhoseRectanglesChange)
{
    std::map<HWND, CRect> before;
    std::map<HWND, CRect> after;
    ResizeCountingPositionings(60, before, after);
    int unchanged = 0;
    for (const auto& entry : before)
        unchanged += entry.second == after.at(entry.first) ? 1 : 0;
    // The top and bottom dock bars grow and the right one moves; the toolbars and the left side stay.
    EXPECT_NE(before.at(DockBar(0)->GetSafeHwnd()), after.at(DockBar(0)->GetSafeHwnd()));
    EXPECT_NE(before.at(DockBar(3)->GetSafeHwnd()), after.at(DockBar(3)->GetSafeHwnd()));
    EXPECT_EQ(before.at(DockBar(2)->GetSafeHwnd()), after.at(DockBar(2)->GetSafeHwnd()));
    EXPECT_GE(unchanged, 5);
    // What the wider strip uncovers is still painted.
    CRect uncovered;
    ASSERT_TRUE(::GetUpdateRect(DockBar(0)->GetSafeHwnd(), &uncovered, FALSE));
    EXPECT_EQ(after.at(DockBar(0)->GetSafeHwnd()).Width(), uncovered.right);
}

TEST_F(QuietLayoutTest, ANarrowerFrameMovesTheToolbarThatNoLongerFitsAndNoOther)
{
    // Narrower by half the gap between A and B: B is pushed back into the gap, A keeps its place.
    const CRect placedB = RectInParent(b);
    const int gap = placedB.left - RectInParent(a).right;
    ASSERT_GE(gap, 10);
    CRect top;
    DockBar(0)->GetClientRect(&top);
    const int shrink = top.right - placedB.right + gap / 2;

    std::map<HWND, CRect> before;
    std::map<HWND, CRect> after;
    ResizeCountingPositionings(-shrink, before, after);
    EXPECT_EQ(before.at(a->GetSafeHwnd()), after.at(a->GetSafeHwnd()));
    const CRect movedB = after.at(b->GetSafeHwnd());
    EXPECT_EQ(placedB.Width(), movedB.Width());
    EXPECT_EQ(placedB.left - gap / 2, movedB.left);
    // The moved toolbar repaints; the system gives it no picture to keep across the move.
    EXPECT_TRUE(::GetUpdateRect(b->GetSafeHwnd(), nullptr, FALSE));
}

// Toolbars added one after another wait for the frame's layout: each window is then positioned once, where it shows
// for the first time, and painted once there. (Shown as it was made, every one would be positioned twice.)
TEST_F(DockSiteTest, ToolbarsAddedBeforeTheLayoutArePositionedOnceAndPaintedWhereTheyShow)
{
    frame.RecalcLayout();
    PumpMessages();
    PositioningCounter counter(frame.GetSafeHwnd());
    ASSERT_TRUE(counter.Hooked());
    std::vector<COSMToolBar*> bars;
    for (UINT i = 0; i < 6; ++i)
    {
        const std::string title = "Bar " + std::to_string(i + 1);
        bars.push_back(AddFilledToolBar(title.c_str(), 710 + i, {201 + 3 * i, 202 + 3 * i, 0, 203 + 3 * i}));
        ASSERT_NE(nullptr, bars.back());
    }
    frame.RecalcLayout();
    int rowTop = 0;
    for (COSMToolBar* bar : bars)
    {
        const std::string title = static_cast<LPCSTR>(bar->GetTitle());
        EXPECT_EQ(1, counter.CountOf(bar->GetSafeHwnd())) << title;
        EXPECT_TRUE(bar->IsWindowVisible()) << title;
        EXPECT_TRUE(::GetUpdateRect(bar->GetSafeHwnd(), nullptr, FALSE)) << title << " must paint where it shows";
        // Each in a row of its own, one below the other.
        const CRect rect = RectInParent(bar);
        EXPECT_FALSE(rect.IsRectEmpty()) << title;
        EXPECT_EQ(rowTop, rect.top) << title;
        rowTop = rect.bottom;
    }
    EXPECT_EQ(1, counter.CountOf(DockBar(0)->GetSafeHwnd()));
    PumpMessages();
    for (COSMToolBar* bar : bars)
        EXPECT_FALSE(::GetUpdateRect(bar->GetSafeHwnd(), nullptr, FALSE)) << static_cast<LPCSTR>(bar->GetTitle());
    // The idle layout that follows has nothing left to do.
    const int positioned = counter.Total();
    frame.RecalcLayout();
    EXPECT_EQ(positioned, counter.Total());
}

// ---- Remembered layouts follow every change ----

// A docked toolbar remembers the layouts it measured: each change below, made through the public interface, must
// reach the next frame layout as if the bar had measured afresh, and a layout after it must be quiet again.
class LayoutChangeTest;

enum class Grows
{
    Wider,
    Narrower,
    Taller,
    Differs,
};

struct LayoutChange
{
    const char* name;
    void (*apply)(LayoutChangeTest& test);
    Grows expected;
};

void PrintTo(const LayoutChange& change, std::ostream* out)
{
    *out << change.name;
}

class LayoutChangeTest : public DockSiteTest, public ::testing::WithParamInterface<LayoutChange>
{
public:
    // A paint manager of the test theme with the fonts scaled by the factor.
    static RefPtr<COSMPaintManager> MakePaintManager(int fontScale)
    {
        RefPtr<COSMPaintManager> manager = AdoptRef(COSMTestPaintManager::Create());
        manager->RefreshMetrics();
        if (fontScale != 1)
            ScaleFont(*manager, fontScale);
        return manager;
    }
    static void ScaleFont(COSMPaintManager& manager, int scale)
    {
        LOGFONTA logFont = {};
        manager.GetRegularFont().GetLogFont(&logFont);
        logFont.lfHeight *= scale;
        logFont.lfWidth *= scale;
        manager.CreateFontsFromLogFont(&logFont, FALSE);
    }

    using DockSiteTest::commandBars;
    RefPtr<COSMPaintManager> paintManager = MakePaintManager(1);
    RefPtr<COSMPaintManager> replacement;
    RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
    COSMToolBar* bar = nullptr;

protected:
    void SetUp() override
    {
        DockSiteTest::SetUp();
        commandBars->SetPaintManager(paintManager.Get());
        commandBars->SetImageManager(images.Get());
        commandBars->EnableActions(TRUE);
        bar = AddFilledToolBar("Remembered", 721, {231, 232, 233});
        COSMToolBar* other = AddFilledToolBar("Other", 722, {234});
        ASSERT_TRUE(bar && other);
        ASSERT_EQ(3, bar->GetControlCount());
        // Buttons without icons show their captions: the bar's width is measured text. The last one's caption is
        // its action's.
        bar->GetControl(0)->SetCaption("Open");
        bar->GetControl(1)->SetCaption("Save");
        ASSERT_NE(nullptr, bar->GetControl(2)->GetAction());
        bar->GetControl(2)->GetAction()->SetCaption("Print");
        other->GetControl(0)->SetCaption("Other");
        frame.RecalcLayout();
        PumpMessages();
    }
};

TEST_P(LayoutChangeTest, TheNextLayoutMeasuresTheChangeAndTheOneAfterIsQuiet)
{
    const LayoutChange& change = GetParam();
    // Measured, then answered from what the bar remembers.
    frame.RecalcLayout();
    frame.RecalcLayout();
    const CRect before = RectInParent(bar);

    change.apply(*this);
    frame.RecalcLayout();
    const CRect after = RectInParent(bar);
    switch (change.expected)
    {
    case Grows::Wider:
        EXPECT_GT(after.Width(), before.Width());
        break;
    case Grows::Narrower:
        EXPECT_LT(after.Width(), before.Width());
        break;
    case Grows::Taller:
        EXPECT_GT(after.Height(), before.Height());
        break;
    case Grows::Differs:
        EXPECT_NE(before, after);
        break;
    }
    std::vector<CRect> controls;
    for (int i = 0; i < bar->GetControlCount(); ++i)
        controls.push_back(bar->GetControl(i)->GetRect());

    // What the bar answered is what measuring everything afresh gives, for the bar and each control.
    COSMPaintManager::InvalidateLayouts();
    frame.RecalcLayout();
    EXPECT_EQ(after, RectInParent(bar));
    for (int i = 0; i < bar->GetControlCount(); ++i)
        EXPECT_EQ(controls[static_cast<size_t>(i)], bar->GetControl(i)->GetRect()) << "control " << i;

    // Nothing changed since: the next layout positions no window.
    PumpMessages();
    PositioningCounter counter(frame.GetSafeHwnd());
    ASSERT_TRUE(counter.Hooked());
    frame.RecalcLayout();
    EXPECT_EQ(0, counter.Total());
    EXPECT_EQ(after, RectInParent(bar));
}

const LayoutChange kLayoutChanges[] = {
    {"AControlAdded", [](LayoutChangeTest& t) { t.bar->GetControls()->Add(1, 235)->SetCaption("Close"); },
     Grows::Wider},
    {"AControlRemoved", [](LayoutChangeTest& t) { t.bar->GetControls()->Remove(t.bar->GetControl(1)); },
     Grows::Narrower},
    {"AControlHidden", [](LayoutChangeTest& t) { t.bar->GetControl(1)->SetVisible(FALSE); }, Grows::Narrower},
    {"ACaptionGrows", [](LayoutChangeTest& t) { t.bar->GetControl(0)->SetCaption("Open a document"); }, Grows::Wider},
    {"TheActionsCaptionGrows",
     [](LayoutChangeTest& t) { t.bar->GetControl(2)->GetAction()->SetCaption("Print the document"); }, Grows::Wider},
    {"TheActionIsHidden", [](LayoutChangeTest& t) { t.bar->GetControl(2)->GetAction()->SetVisible(FALSE); },
     Grows::Narrower},
    {"TheStyleDropsCaptions",
     [](LayoutChangeTest& t) {
         for (int i = 0; i < t.bar->GetControlCount(); ++i)
             t.bar->GetControl(i)->SetStyle(2);
     },
     Grows::Narrower},
    {"AGroupBegins", [](LayoutChangeTest& t) { t.bar->GetControl(1)->SetBeginGroup(TRUE); }, Grows::Wider},
    {"SetButtons",
     [](LayoutChangeTest& t) {
         const UINT ids[] = {231, 232, 233, 234, 235, 236, 237, 238};
         ASSERT_TRUE(t.bar->SetButtons(ids, 8));
     },
     Grows::Differs},
    {"LargeIconsChosen", [](LayoutChangeTest& t) { t.commandBars->GetCommandBarsOptions()->m_largeIcons = TRUE; },
     Grows::Taller},
    {"TheBarsIconSize", [](LayoutChangeTest& t) { t.bar->SetIconSize(CSize(32, 32)); }, Grows::Taller},
    {"AnIconForACommand",
     [](LayoutChangeTest& t) { ASSERT_TRUE(t.images->SetIcon(::LoadIcon(nullptr, IDI_APPLICATION), 231, 16, 16)); },
     Grows::Differs},
    {"TheFontGrows", [](LayoutChangeTest& t) { LayoutChangeTest::ScaleFont(*t.paintManager, 2); }, Grows::Wider},
    {"AnotherPaintManager",
     [](LayoutChangeTest& t) {
         t.replacement = LayoutChangeTest::MakePaintManager(2);
         t.commandBars->SetPaintManager(t.replacement.Get());
     },
     Grows::Wider},
};

INSTANTIATE_TEST_SUITE_P(Changes, LayoutChangeTest, ::testing::ValuesIn(kLayoutChanges),
                         [](const ::testing::TestParamInfo<LayoutChange>& info) { return info.param.name; });

}  // namespace
