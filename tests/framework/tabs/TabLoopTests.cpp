// The capture loops of a tab strip under the display: a held navigation button (with the repeat clock replaced),
// a close button's press and release, a tab's press-and-release and a tab's drag, each also ended by a quit. Each loop
// is fed with messages posted to a real window before it starts; a WM_CANCELMODE posted last ends a loop the test
// failed to end.
#include <gtest/gtest.h>

#include <algorithm>

#include "TabTestSupport.h"
#include "classlib/GuardedCallbacks.h"

using tabs_test::InstallTestAppearance;
using tabs_test::LoopWindow;
using tabs_test::TestAppearanceSet;
using tabs_test::TestStrip;

namespace {

const UINT kAdvanceClock = WM_APP + 1;
const UINT kRunHandler = WM_APP + 2;

DWORD g_tabLoopTicks = 1000;
DWORD TabLoopTicks()
{
    return g_tabLoopTicks;
}

// The repeat clock replaced for the test's lifetime; each kAdvanceClock message moves it on by 21 ms.
class FakeRepeatClock
{
public:
    FakeRepeatClock() { COSMTabManagerNavigateButton::SetTickSource(&TabLoopTicks); }
    ~FakeRepeatClock() { COSMTabManagerNavigateButton::SetTickSource(nullptr); }
};

struct LoopFixture
{
    explicit LoopFixture(int nItems, int nLength = 40)
    {
        pSet = InstallTestAppearance(pm);
        pSet->m_nDefaultLength = nLength;
        strip.AddItems(nItems);
        window.m_onMessage = [this](UINT message, WPARAM, LPARAM) {
            if (message == kAdvanceClock)
                g_tabLoopTicks += 21;
            else if (message == kRunHandler && handler)
                handler();
        };
    }
    // Ends the loop if the test's own messages did not.
    void PostGuard() { window.Post(WM_CANCELMODE); }
    bool Clicked(COSMTabManagerItem* pItem) const
    {
        return std::find(strip.m_clicked.begin(), strip.m_clicked.end(), pItem) != strip.m_clicked.end();
    }

    COSMTabPaintManager pm;
    TestAppearanceSet* pSet = nullptr;
    TestStrip strip{&pm, CRect(0, 0, 200, 40)};
    LoopWindow window;
    std::function<void()> handler;
};

TEST(TabLoopTest, AHeldForwardButtonScrollsOncePerStepUntilItIsDisabled)
{
    FakeRepeatClock clock;
    LoopFixture f(10);  // 400 long in 200
    COSMTabManagerNavigateButton* pForward = f.strip.GetNavigateButton(1);
    ASSERT_TRUE(pForward->IsVisible());
    ASSERT_TRUE(pForward->IsEnabled());
    const CPoint pt = pForward->GetRect().CenterPoint();
    for (int i = 0; i < 30; i++)
        f.window.Post(kAdvanceClock);
    f.window.PostUp(pt.x, pt.y);
    f.PostGuard();

    EXPECT_TRUE(f.strip.OnMouseDown(f.window.Handle(), pt, FALSE));
    ASSERT_FALSE(f.strip.m_scrollsWhileEnabled.empty());
    EXPECT_LT(f.strip.m_scrollsWhileEnabled.size(), 30u) << "no scroll once the end shows";
    for (size_t i = 0; i < f.strip.m_scrollsWhileEnabled.size(); i++)
        EXPECT_TRUE(f.strip.m_scrollsWhileEnabled[i]) << "scroll " << i << " ran on a disabled button";
    EXPECT_FALSE(pForward->IsEnabled());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST(TabLoopTest, ReleasingAScrollButtonAddsNoStep)
{
    FakeRepeatClock clock;
    LoopFixture f(40);  // far longer than the strip
    const CPoint pt = f.strip.GetNavigateButton(1)->GetRect().CenterPoint();
    for (int i = 0; i < 3; i++)
        f.window.Post(kAdvanceClock);
    f.window.PostUp(pt.x, pt.y);
    f.PostGuard();
    f.strip.OnMouseDown(f.window.Handle(), pt, FALSE);
    EXPECT_EQ(3u, f.strip.m_scrollsWhileEnabled.size());
    EXPECT_EQ(-60, f.strip.GetScrollOffset());
}

TEST(TabLoopTest, ACloseButtonActsOnceOnReleaseOverIt)
{
    struct CloseCase
    {
        const char* name;
        std::function<void(LoopFixture&, CPoint over, CPoint off, HWND hOther)> post;
        size_t nClicks;
    };
    const CloseCase cases[] = {
        {"release over", [](LoopFixture& f, CPoint over, CPoint, HWND) { f.window.PostUp(over.x, over.y); }, 1},
        {"left and released off",
         [](LoopFixture& f, CPoint, CPoint off, HWND) {
             f.window.PostMove(off.x, off.y);
             f.window.PostUp(off.x, off.y);
         },
         0},
        {"left and came back",
         [](LoopFixture& f, CPoint over, CPoint off, HWND) {
             f.window.PostMove(off.x, off.y);
             f.window.PostMove(over.x, over.y);
             f.window.PostUp(over.x, over.y);
         },
         1},
        {"escape",
         [](LoopFixture& f, CPoint over, CPoint, HWND) {
             f.window.Post(WM_KEYDOWN, VK_ESCAPE);
             f.window.PostUp(over.x, over.y);
         },
         0},
        {"cancel mode",
         [](LoopFixture& f, CPoint over, CPoint, HWND) {
             f.window.Post(WM_CANCELMODE);
             f.window.PostUp(over.x, over.y);
         },
         0},
        {"right press",
         [](LoopFixture& f, CPoint over, CPoint, HWND) {
             f.window.Post(WM_RBUTTONDOWN, 0, MAKELPARAM(over.x, over.y));
             f.window.PostUp(over.x, over.y);
         },
         0},
        {"capture lost",
         [](LoopFixture& f, CPoint over, CPoint, HWND hOther) {
             f.handler = [hOther] { ::SetCapture(hOther); };
             f.window.Post(kRunHandler);
             f.window.PostUp(over.x, over.y);
         },
         0},
    };
    for (const CloseCase& c : cases)
    {
        LoopFixture f(2);
        LoopWindow other;
        f.strip.SetCurSel(0);
        COSMTabManagerNavigateButton* pClose = f.strip.GetNavigateButton(2);
        pClose->SetDisplayMode(2);
        f.strip.RequestLayout();
        ASSERT_TRUE(pClose->IsVisible()) << c.name;
        const CPoint over = pClose->GetRect().CenterPoint();
        const CPoint off(over.x - 40, over.y);
        c.post(f, over, off, other.Handle());
        f.PostGuard();
        EXPECT_TRUE(f.strip.OnMouseDown(f.window.Handle(), over, FALSE)) << c.name;
        EXPECT_EQ(c.nClicks, f.strip.m_buttonClicks.size()) << c.name;
        if (c.nClicks)
        {
            EXPECT_EQ(2u, f.strip.m_buttonClicks[0]) << c.name;
        }
        EXPECT_FALSE(pClose->IsPressed()) << c.name;
        ::ReleaseCapture();
    }
}

TEST(TabLoopTest, NothingHappensWhileAnotherWindowHoldsTheCapture)
{
    LoopFixture f(2);
    LoopWindow other;
    f.strip.SetCurSel(0);
    COSMTabManagerNavigateButton* pClose = f.strip.GetNavigateButton(2);
    pClose->SetDisplayMode(2);
    f.strip.RequestLayout();
    const CPoint over = pClose->GetRect().CenterPoint();
    f.window.PostUp(over.x, over.y);
    ::SetCapture(other.Handle());
    EXPECT_TRUE(f.strip.OnMouseDown(f.window.Handle(), over, FALSE));
    EXPECT_TRUE(f.strip.m_buttonClicks.empty());
    EXPECT_EQ(other.Handle(), ::GetCapture());
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, f.window.Handle(), WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE))
        << "the release was not taken";
    ::ReleaseCapture();
}

TEST(TabLoopTest, APressSelectsATabOnReleaseOverItOnly)
{
    struct PressCase
    {
        const char* name;
        std::vector<std::pair<UINT, CPoint>> messages;  // (message, point); the point is (dx, dy) from the item
        bool bSelected;
    };
    const PressCase cases[] = {
        {"release over", {{WM_LBUTTONUP, CPoint(0, 0)}}, true},
        {"released off", {{WM_MOUSEMOVE, CPoint(80, 0)}, {WM_LBUTTONUP, CPoint(80, 0)}}, false},
        {"came back",
         {{WM_MOUSEMOVE, CPoint(80, 0)}, {WM_MOUSEMOVE, CPoint(2, 0)}, {WM_LBUTTONUP, CPoint(2, 0)}},
         true},
        {"escape", {{WM_KEYDOWN, CPoint(0, 0)}, {WM_LBUTTONUP, CPoint(0, 0)}}, false},
        {"right press", {{WM_RBUTTONDOWN, CPoint(0, 0)}, {WM_LBUTTONUP, CPoint(0, 0)}}, false},
    };
    for (const PressCase& c : cases)
    {
        LoopFixture f(4);
        f.strip.SetAllowReorder(FALSE);
        f.pm.m_bSelectOnButtonDown = FALSE;
        COSMTabManagerItem* pItem = f.strip.GetItem(1);
        const CPoint pt = pItem->GetRect().CenterPoint();
        for (const auto& m : c.messages)
        {
            const CPoint at(pt.x + m.second.x, pt.y + m.second.y);
            f.window.Post(m.first, m.first == WM_KEYDOWN ? VK_ESCAPE : 0, MAKELPARAM(at.x, at.y));
        }
        f.PostGuard();
        EXPECT_TRUE(f.strip.OnMouseDown(f.window.Handle(), pt, FALSE)) << c.name;
        EXPECT_EQ(c.bSelected ? pItem : nullptr, f.strip.GetSelectedItem()) << c.name;
        EXPECT_EQ(c.bSelected ? 1u : 0u, f.strip.m_clicked.size()) << c.name;
        EXPECT_EQ(nullptr, f.strip.GetPressedItem()) << c.name;
    }
}

TEST(TabLoopTest, AHandlerThatDeletesThePressedTabLeavesNoClickOnIt)
{
    LoopFixture f(4);
    f.strip.SetAllowReorder(FALSE);
    f.pm.m_bSelectOnButtonDown = FALSE;
    f.strip.SetCloseOnTabsMode(2);
    COSMTabManagerItem* pItem = f.strip.InsertItem(1);
    pItem->SetCaption("X");
    ASSERT_EQ(1u, pItem->GetNavigateButtons().size());
    pItem->InternalAddRef();  // the test's own reference
    const CPoint pt = pItem->GetRect().CenterPoint();
    f.handler = [&f] { f.strip.DeleteItem(1); };
    f.window.Post(kRunHandler);
    f.window.PostUp(pt.x, pt.y);
    f.PostGuard();

    f.strip.OnMouseDown(f.window.Handle(), pt, FALSE);
    EXPECT_FALSE(f.Clicked(pItem));
    EXPECT_EQ(nullptr, f.strip.GetPressedItem());
    EXPECT_EQ("ABCD", f.strip.Order());
    // The removed item survives on the test's reference, without its buttons.
    EXPECT_EQ(-1, pItem->GetIndex());
    EXPECT_TRUE(pItem->GetNavigateButtons().empty());
    EXPECT_STREQ("X", pItem->GetCaptionText());
    EXPECT_EQ(nullptr, pItem->GetTabManager()) << "it no longer reaches the strip";
    pItem->InternalRelease();
}

TEST(TabLoopTest, AHandlerThatDeletesATabDuringAPressOnItsCloseButtonEndsThePressUnclicked)
{
    LoopFixture f(3);
    f.strip.SetCloseOnTabsMode(2);
    COSMTabManagerItem* pItem = f.strip.InsertItem(1);
    pItem->SetCaption("X");
    f.strip.RequestLayout();
    ASSERT_EQ(1u, pItem->GetNavigateButtons().size());
    COSMTabManagerNavigateButton* pClose = pItem->GetNavigateButtons()[0].Get();
    // A tab's own buttons take their places as the tab is drawn: here, at the tab's right end.
    const CRect tab = pItem->GetRect();
    pClose->SetRect(CRect(tab.right - 16, tab.top + 2, tab.right - 2, tab.bottom - 2));
    const CPoint over = pClose->GetRect().CenterPoint();
    f.handler = [&f] { f.strip.DeleteItem(1); };
    f.window.Post(kRunHandler);
    f.window.PostUp(over.x, over.y);
    f.PostGuard();

    EXPECT_TRUE(f.strip.OnMouseDown(f.window.Handle(), over, FALSE));
    // The button went with its tab while pressed: no click, the capture given back, the strip whole.
    EXPECT_TRUE(f.strip.m_buttonClicks.empty());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ("ABC", f.strip.Order());
}

TEST(TabLoopTest, ADragSwapsOncePerSlotEntryAndBack)
{
    LoopFixture f(4);  // A B C D in slots of 40
    f.window.PostMove(60, 10);
    f.window.PostMove(70, 10);
    f.window.PostMove(20, 10);
    f.window.PostMove(25, 10);
    f.window.PostUp(25, 10);
    f.PostGuard();
    COSMTabManagerItem* pA = f.strip.GetItem(0);
    EXPECT_TRUE(f.strip.OnMouseDown(f.window.Handle(), CPoint(20, 10), FALSE));
    EXPECT_EQ("ABCD", f.strip.Order());
    ASSERT_EQ(2u, f.strip.m_swaps.size());
    EXPECT_EQ(pA, f.strip.m_swaps[0].first);
    EXPECT_EQ(f.strip.GetItem(1), f.strip.m_swaps[0].second);
    EXPECT_EQ(pA, f.strip.GetSelectedItem());
    EXPECT_TRUE(f.Clicked(pA));
}

TEST(TabLoopTest, EscapeEndsADrag)
{
    LoopFixture f(4);
    f.window.PostMove(60, 10);
    f.window.Post(WM_KEYDOWN, VK_ESCAPE);
    f.window.PostMove(100, 10);
    f.window.PostUp(100, 10);
    f.PostGuard();
    f.strip.OnMouseDown(f.window.Handle(), CPoint(20, 10), FALSE);
    EXPECT_EQ("BACD", f.strip.Order());
    EXPECT_EQ(1u, f.strip.m_swaps.size());
}

TEST(TabLoopTest, ItemsRemovedOrInsertedDuringADragAreNeitherSwappedNorSelected)
{
    struct DragCase
    {
        const char* name;
        std::function<void(TestStrip&)> handler;
        const char* order;
        size_t nSwaps;
        char cClickedDragged;  // 'y' when A gets OnItemClick
        char cSelected;        // caption of the item selected at the end, or 0
    };
    const DragCase cases[] = {
        {"another removed", [](TestStrip& s) { s.DeleteItem(3); }, "BAC", 1, 'y', 'A'},
        {"dragged removed", [](TestStrip& s) { s.DeleteItem(s.GetItem(1)->GetIndex()); }, "BCD", 1, 'n', 'C'},
        {"remembered removed", [](TestStrip& s) { s.DeleteItem(2); }, "BAD", 1, 'y', 'A'},
        {"one inserted", [](TestStrip& s) { s.InsertItem(0)->SetCaption("N"); }, "NBACD", 1, 'y', 'A'},
    };
    for (const DragCase& c : cases)
    {
        LoopFixture f(4);
        f.strip.SetCloseOnTabsMode(2);
        f.strip.DeleteAllItems();
        f.strip.AddItems(4);
        f.strip.SetCurSel(2);  // C, remembered by the drag
        COSMTabManagerItem* pA = f.strip.GetItem(0);
        pA->InternalAddRef();
        f.handler = [&f, &c] { c.handler(f.strip); };
        f.window.PostMove(60, 10);  // swap: B A C D
        f.window.Post(kRunHandler);
        f.window.PostMove(100, 10);  // would swap with the third slot
        f.window.PostMove(140, 10);
        f.window.PostUp(140, 10);
        f.PostGuard();
        f.strip.OnMouseDown(f.window.Handle(), CPoint(20, 10), FALSE);

        EXPECT_EQ(c.order, f.strip.Order()) << c.name;
        EXPECT_EQ(c.nSwaps, f.strip.m_swaps.size()) << c.name;
        EXPECT_EQ(c.cClickedDragged == 'y', f.Clicked(pA)) << c.name;
        ASSERT_NE(nullptr, f.strip.GetSelectedItem()) << c.name;
        EXPECT_EQ(c.cSelected, f.strip.GetSelectedItem()->GetCaptionText()[0]) << c.name;
        for (COSMTabManagerItem* pClicked : f.strip.m_clicked)
            EXPECT_GE(pClicked->GetIndex(), 0) << c.name << ": a click on a removed item";
        if (c.cClickedDragged == 'n')
        {
            EXPECT_TRUE(pA->GetNavigateButtons().empty()) << c.name;
        }
        pA->InternalRelease();
    }
}

// Ends a loop that missed the quit, so that the test fails instead of hanging.
bool g_watchdogFired = false;
void OnLoopWatchdog(HWND window, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(window, id);
    g_watchdogFired = true;
    ::PostMessageA(window, WM_CANCELMODE, 0, 0);
}
constexpr char kLoopWatchdog[] = "loop watchdog";

// A quit that arrives while a button or a tab is held ends the press there (nothing after it acts: the release never
// comes) and is left for the application's loop, whichever of the strip's loops runs.
TEST(TabLoopTest, AQuitEndsEachPressWhereItIsAndIsLeftForTheApplicationsLoop)
{
    const int kExitCode = 7;
    struct QuitCase
    {
        const char* name;
        int nItems;
        // Posts what comes before the quit; returns the point pressed.
        std::function<CPoint(LoopFixture&)> before;
        std::function<void(LoopFixture&)> check;
    };
    const QuitCase cases[] = {
        {"a tab dragged", 4,
         [](LoopFixture& f) {
             f.window.PostMove(60, 10);  // A takes B's place
             return CPoint(20, 10);
         },
         [](LoopFixture& f) {
             EXPECT_EQ("BACD", f.strip.Order());
             EXPECT_EQ(1u, f.strip.m_swaps.size());
         }},
        {"a tab pressed", 4,
         [](LoopFixture& f) {
             f.strip.SetAllowReorder(FALSE);
             f.pm.m_bSelectOnButtonDown = FALSE;
             return f.strip.GetItem(1)->GetRect().CenterPoint();
         },
         [](LoopFixture& f) {
             EXPECT_TRUE(f.strip.m_clicked.empty());
             EXPECT_EQ(nullptr, f.strip.GetPressedItem());
         }},
        {"a scroll button held", 40,
         [](LoopFixture& f) {
             for (int i = 0; i < 2; i++)
                 f.window.Post(kAdvanceClock);
             return f.strip.GetNavigateButton(1)->GetRect().CenterPoint();
         },
         [](LoopFixture& f) { EXPECT_EQ(2u, f.strip.m_scrollsWhileEnabled.size()); }},
        {"a close button pressed", 2,
         [](LoopFixture& f) {
             f.strip.SetCurSel(0);
             f.strip.GetNavigateButton(2)->SetDisplayMode(2);
             f.strip.RequestLayout();
             return f.strip.GetNavigateButton(2)->GetRect().CenterPoint();
         },
         [](LoopFixture& f) {
             EXPECT_TRUE(f.strip.m_buttonClicks.empty());
             EXPECT_FALSE(f.strip.GetNavigateButton(2)->IsPressed());
         }},
    };
    for (const QuitCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        FakeRepeatClock clock;
        LoopFixture f(c.nItems);
        const CPoint pressed = c.before(f);
        f.handler = [&] { ::PostQuitMessage(kExitCode); };
        f.window.Post(kRunHandler);
        g_watchdogFired = false;
        ::SetTimer(f.window.Handle(), 0x7E57, 2000, osm::GuardedTimerProc<kLoopWatchdog, &OnLoopWatchdog>);

        EXPECT_TRUE(f.strip.OnMouseDown(f.window.Handle(), pressed, FALSE));
        ::KillTimer(f.window.Handle(), 0x7E57);
        EXPECT_FALSE(g_watchdogFired) << "the quit did not end the loop";
        c.check(f);
        EXPECT_EQ(nullptr, ::GetCapture());
        MSG quit;
        ASSERT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was lost";
        EXPECT_EQ(kExitCode, static_cast<int>(quit.wParam));
    }
}

}  // namespace
