// Toolbars on a frame with the manager and its dock bars: filling from RT_TOOLBAR resources, the floating window's
// borders, close button and sizing hit codes, the expand button and its menus, reset, hiding and the positions a
// never-docked bar is sent to; new bars made and laid out without a cursor load or a window DC each.
#include "classlib/DC.h"
#include "DockTestSupport.h"
#include "ImportPatches.h"

#include "framework/commandbars/MenuCaption.h"
#include "framework/commandbars/PaintManager.h"

#include "resources/CommandBarsTestIds.h"

#include <cstring>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

class ToolBarTest : public DockSiteTest
{
protected:
    void SetUp() override
    {
        DockSiteTest::SetUp();
        MessageBoxAnswer::asked = 0;
    }

    int CountHidden(const COSMCommandBar* bar, DWORD hideFlags) const
    {
        int count = 0;
        for (int i = 0; i < bar->GetControlCount(); ++i)
            count += bar->GetControl(i)->GetHideFlags() == hideFlags;
        return count;
    }

    ScopedSetting<int (*)(LPCSTR, UINT)> messageBox{COSMToolBar::s_pfnShowMessageBox, &MessageBoxAnswer::Answer};
};

TEST_F(ToolBarTest, ToolbarResourcesGiveButtonsGroupsAndIconSizesAndShortOnesGiveNothing)
{
    struct Case
    {
        const char* name;
        UINT id;
        BOOL icons;
        BOOL result;
        int controls;
        CSize iconSize;
    };
    // No bitmap goes with the resources: wanting icons makes the load fail but keeps the buttons.
    const Case cases[] = {
        {"24-pixel images, no icons wanted", IDR_TEST_TOOLBAR24, FALSE, TRUE, 2, CSize(0, 0)},
        {"24-pixel images, icons wanted", IDR_TEST_TOOLBAR24, TRUE, FALSE, 2, CSize(24, 22)},
        {"16-pixel images, icons wanted", IDR_TEST_TOOLBAR16, TRUE, FALSE, 2, CSize(0, 0)},
        {"a count running past the end", IDR_TEST_TOOLBAR_SHORT, FALSE, FALSE, 0, CSize(0, 0)},
        {"a missing resource", 5999, FALSE, FALSE, 0, CSize(0, 0)},
        {"id 0", 0, FALSE, FALSE, 0, CSize(0, 0)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto bar = AdoptRef(new COSMToolBar);
        bar->SetCommandBars(commandBars.Get());
        bar->GetControls()->Add(1, 999);  // a leftover the load must clear
        EXPECT_EQ(c.result, bar->LoadToolBar(c.id, c.icons));
        ASSERT_EQ(c.controls, bar->GetControlCount());
        EXPECT_EQ(c.iconSize, bar->GetIconSizeField());
        EXPECT_EQ(c.id, bar->GetBarID());
        if (c.controls == 2)
        {
            EXPECT_EQ(100u, bar->GetControl(0)->GetID());
            EXPECT_EQ(101u, bar->GetControl(1)->GetID());
            EXPECT_FALSE(bar->GetControl(0)->GetBeginGroup());
            EXPECT_TRUE(bar->GetControl(1)->GetBeginGroup());
        }
        // A successful load keeps the controls as the original definition.
        EXPECT_EQ(c.result, bar->GetControls()->GetOriginalControls() != nullptr);
    }
    // Three resources were read for bars of the frame's manager, two buttons each.
    EXPECT_EQ(6, frame.CountOf(CCommandBarsTestFrame::kBeforeCreateControl));
    EXPECT_EQ(6, frame.CountOf(CCommandBarsTestFrame::kAfterCreateControl));

    // The resource manager fills a toolbar the same way (with icons wanted: FALSE without a bitmap, buttons kept).
    auto loaded = AdoptRef(new COSMToolBar);
    EXPECT_FALSE(GetResourceManager()->LoadToolBar(loaded.Get(), IDR_TEST_TOOLBAR16));
    EXPECT_EQ(2, loaded->GetControlCount());
    EXPECT_EQ(static_cast<UINT>(IDR_TEST_TOOLBAR16), loaded->GetBarID());
}

TEST_F(ToolBarTest, AFloatingBarHasThinBordersACaptionCloseButtonAndSizingEdges)
{
    COSMToolBar* bar = AddFilledToolBar("Floating", 701, {201, 202, 203});
    ASSERT_TRUE(bar->SetPosition(4));
    EXPECT_EQ(4, bar->GetPosition());
    EXPECT_EQ(nullptr, bar->GetDockBar());
    EXPECT_EQ("|", DescribeRows(DockBar(0)));
    EXPECT_TRUE(bar->GetStyle() & WS_POPUP);
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetWindow(bar->GetSafeHwnd(), GW_OWNER));
    EXPECT_EQ(CRect(3, 3, 3, 3), bar->GetBorders());

    CClientDC dc(bar);
    const int caption = commandBars->GetPaintManager()->DrawCommandBarGripper(&dc, bar, FALSE).cy;
    ASSERT_GT(caption, 0);
    CRect window;
    bar->GetWindowRect(&window);
    const COSMControl* close = bar->GetControls()->FindControlById(COSMToolBar::kCloseButtonId);
    ASSERT_NE(nullptr, close);
    EXPECT_TRUE(close->IsTemporary());
    EXPECT_TRUE(close->IsVisible());
    EXPECT_EQ(CRect(window.Width() - 3 - caption, 3, window.Width() - 3, caption + 3), close->GetRect());
    // The buttons start below the caption strip.
    for (UINT id : {201u, 202u, 203u})
        EXPECT_GE(bar->GetControls()->FindControlById(static_cast<int>(id))->GetRect().top, 3 + caption + 1);

    struct Case
    {
        CPoint point;
        LRESULT hit;
    };
    const CPoint centre = window.CenterPoint();
    const Case cases[] = {
        {CPoint(centre.x, window.top + 1), HTTOP},    {CPoint(centre.x, window.bottom - 2), HTBOTTOM},
        {CPoint(window.left + 2, centre.y), HTLEFT},  {CPoint(window.right - 1, centre.y), HTRIGHT},
        {CPoint(centre.x, window.top + 3), HTCLIENT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.hit, bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(c.point.x, c.point.y)))
            << c.point.x << "," << c.point.y;
}

TEST_F(ToolBarTest, SetPositionDocksABarThatWasMadeButNeverDocked)
{
    for (int side = 0; side <= 4; ++side)
    {
        SCOPED_TRACE(side);
        auto bar = AdoptRef(new COSMToolBar);
        bar->SetCommandBars(commandBars.Get());
        UINT ids[] = {201, 202};
        bar->SetButtons(ids, 2);
        ASSERT_TRUE(bar->Create(&frame, FALSE));
        // As a restored layout leaves it: the side is stored, the bar lies in the site window.
        bar->COSMCommandBar::SetPosition(side);
        ASSERT_EQ(frame.GetSafeHwnd(), ::GetParent(bar->GetSafeHwnd()));

        ASSERT_TRUE(bar->SetPosition(side));
        EXPECT_EQ(side, bar->GetPosition());
        if (side < 4)
        {
            EXPECT_EQ(DockBar(side), bar->GetDockBar());
            EXPECT_EQ(DockBar(side)->GetSafeHwnd(), ::GetParent(bar->GetSafeHwnd()));
            EXPECT_GT(DockBar(side)->FindBar(bar.Get()), 0);
        }
        else
        {
            EXPECT_EQ(nullptr, bar->GetDockBar());
            EXPECT_TRUE(bar->GetStyle() & WS_POPUP);
            EXPECT_EQ(frame.GetSafeHwnd(), ::GetWindow(bar->GetSafeHwnd(), GW_OWNER));
        }
        frame.RecalcLayout();
        EXPECT_TRUE(bar->IsWindowVisible());
        EXPECT_FALSE(bar->SetPosition(5));
        bar->OnRemoved();
    }
}

TEST_F(ToolBarTest, HidingATornOffBarRemovesItAndABuiltInOneOnlyHides)
{
    for (BOOL tearOff : {FALSE, TRUE})
    {
        SCOPED_TRACE(tearOff);
        COSMToolBar* bar = AddFilledToolBar("Bar", 701, {201, 202}, tearOff);
        ASSERT_NE(nullptr, bar);
        commandBars->GetCommandBarsOptions()->m_modified = FALSE;
        frame.visibleChanges.clear();
        bar->SetVisible(FALSE);
        // The removal waits for the bar's own message.
        EXPECT_EQ(0, commandBars->IndexOf(bar));
        EXPECT_TRUE(commandBars->GetCommandBarsOptions()->m_modified);
        ASSERT_EQ(1u, frame.visibleChanges.size());
        EXPECT_EQ(reinterpret_cast<WPARAM>(bar), frame.visibleChanges[0].first);
        EXPECT_EQ(0, frame.visibleChanges[0].second);
        PumpMessages();
        EXPECT_EQ(tearOff ? 0 : 1, commandBars->GetCount());
        if (!tearOff)
        {
            EXPECT_FALSE(bar->IsVisible());
            commandBars->Remove(bar);
        }
    }
}

TEST_F(ToolBarTest, AHiddenTornOffBarShownAgainBeforeItsRemovalArrivesStays)
{
    COSMToolBar* bar = AddFilledToolBar("Torn", 701, {201}, TRUE);
    bar->SetVisible(FALSE);
    bar->SetVisible(TRUE);
    PumpMessages();
    EXPECT_EQ(0, commandBars->IndexOf(bar));
    EXPECT_TRUE(bar->IsVisible());
}

TEST_F(ToolBarTest, ATornOffBarWithoutAWindowLeavesAtOnce)
{
    auto* bar = new COSMToolBar;
    bar->SetCommandBars(commandBars.Get());
    bar->SetTearOff(TRUE);
    commandBars->AddCommandBar(bar);
    bar->SetVisible(FALSE);
    EXPECT_EQ(0, commandBars->GetCount());
    EXPECT_TRUE(commandBars->GetCommandBarsOptions()->m_modified);
}

TEST_F(ToolBarTest, IsCustomizedComparesTheControlsWithTheirOriginalDefinition)
{
    auto bar = AdoptRef(new COSMToolBar);
    bar->SetCommandBars(commandBars.Get());
    UINT ids[] = {201, 202};
    bar->SetButtons(ids, 2);
    EXPECT_TRUE(bar->IsCustomized());  // no snapshot
    bar->GetControls()->CreateOriginalControls();
    EXPECT_FALSE(bar->IsCustomized());
    bar->GetControls()->RemoveAt(0);
    EXPECT_TRUE(bar->IsCustomized());
    bar->SetCustomizable(FALSE);
    EXPECT_FALSE(bar->IsCustomized());

    auto copy = AdoptRef(static_cast<COSMToolBar*>(bar->Clone(TRUE)));
    EXPECT_STREQ("COSMToolBar", copy->GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(copy->IsBuiltIn());
    EXPECT_TRUE(copy->IsCloseable());
}

// ---- The expand button and its menus ----

class ExpandTest : public ToolBarTest
{
protected:
    void SetUp() override
    {
        ToolBarTest::SetUp();
        commandBars->GetCommandBarsOptions()->m_showExpandButtonAlways = FALSE;
        first = AddFilledToolBar("Standard", 701, {201, 202, 203, 204, 0, 205, 206, 207, 208});
        second = AddFilledToolBar("Format & Style", 702, {211, 212, 213, 214, 215, 216});
        frame.RecalcLayout();
        fullWidth = RectInParent(first).Width();
        // Both in one row.
        CRect target = ScreenRect(first);
        target.OffsetRect(fullWidth + 10, 0);
        ASSERT_TRUE(commandBars->DockCommandBar(second, &target, DockBar(0)));
        frame.RecalcLayout();
    }
    void Narrow()
    {
        // The row is too short for both: each shrinks and hides what does not fit.
        frame.SetWindowPos(nullptr, 0, 0, fullWidth + 40, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame.RecalcLayout();
    }
    COSMToolBarExpandButton* ExpandButton(COSMToolBar* bar) const
    {
        return dynamic_cast<COSMToolBarExpandButton*>(
            bar->GetControls()->FindControlById(static_cast<int>(COSMToolBar::kExpandButtonId)));
    }
    COSMPopupBar* OpenExpandMenu(COSMToolBar* bar)
    {
        COSMToolBarExpandButton* expand = ExpandButton(bar);
        expand->OnSetPopup(TRUE);
        auto* popup = dynamic_cast<COSMPopupBar*>(expand->GetCommandBar());
        return popup;
    }

    COSMToolBar* first = nullptr;
    COSMToolBar* second = nullptr;
    int fullWidth = 0;
};

TEST_F(ExpandTest, ABarThatFitsShowsNoExpandButton)
{
    // The second bar joined the row at its start, and lies beyond the first.
    EXPECT_EQ("|Format & Style Standard|", DescribeRows(DockBar(0)));
    EXPECT_GT(RectInParent(second).left, RectInParent(first).right);
    for (COSMToolBar* bar : {first, second})
    {
        EXPECT_EQ(0, CountHidden(bar, COSMControl::kHideWrap));
        COSMToolBarExpandButton* expand = ExpandButton(bar);
        EXPECT_TRUE(!expand || !expand->IsVisible());
    }
}

TEST_F(ExpandTest, ANarrowBarGetsRoomForTheExpandButtonWhosePopupHoldsTheRowsHiddenControls)
{
    Narrow();
    int hiddenInRow = 0;
    for (COSMToolBar* bar : {first, second})
        hiddenInRow += CountHidden(bar, COSMControl::kHideWrap);
    ASSERT_GT(hiddenInRow, 0);
    COSMToolBar* shrunk = CountHidden(second, COSMControl::kHideWrap) ? second : first;
    COSMToolBarExpandButton* expand = ExpandButton(shrunk);
    ASSERT_NE(nullptr, expand);
    EXPECT_TRUE(expand->IsVisible());
    EXPECT_TRUE(expand->HasHiddenControls());
    // The expand button takes the 11 pixels at the far end, inside the bar.
    const CRect window = RectInParent(shrunk);
    EXPECT_EQ(window.Width() - 2, expand->GetRect().right);
    EXPECT_EQ(11, expand->GetRect().Width());
    int lastRight = 0;
    for (int i = 0; i < shrunk->GetControlCount(); ++i)
    {
        COSMControl* control = shrunk->GetControl(i);
        if (control != expand && control->IsVisible())
            lastRight = std::max(lastRight, static_cast<int>(control->GetRect().right));
    }
    EXPECT_LE(lastRight, expand->GetRect().left);

    COSMPopupBar* popup = OpenExpandMenu(shrunk);
    ASSERT_NE(nullptr, popup);
    EXPECT_FALSE(popup->IsCustomizableField());
    ASSERT_EQ(hiddenInRow, popup->GetControlCount());
    for (int i = 0; i < popup->GetControlCount(); ++i)
    {
        EXPECT_EQ(0u, popup->GetControl(i)->GetHideFlags());
        EXPECT_FALSE(popup->GetControl(i)->GetBeginGroup());
    }
    expand->OnSetPopup(FALSE);
}

TEST_F(ExpandTest, TheAddOrRemoveEntryListsEveryBarOfTheRowWithItsToggles)
{
    CCommandBarsTestFrame dialog;  // stands for the customize dialog
    commandBars->SetCustomizeDialog(&dialog);
    for (COSMToolBar* bar : {first, second})
    {
        bar->SetBuiltIn(TRUE);
        bar->GetControls()->CreateOriginalControls();
    }
    Narrow();
    COSMToolBar* shrunk = CountHidden(second, COSMControl::kHideWrap) ? second : first;
    const int hiddenInRow = CountHidden(first, COSMControl::kHideWrap) + CountHidden(second, COSMControl::kHideWrap);
    COSMPopupBar* popup = OpenExpandMenu(shrunk);
    ASSERT_NE(nullptr, popup);
    ASSERT_EQ(hiddenInRow + 1, popup->GetControlCount());
    COSMControl* entry = popup->GetControl(popup->GetControlCount() - 1);
    EXPECT_EQ(COSMToolBar::kAddOrRemoveId, entry->GetID());
    EXPECT_EQ(2, entry->GetType());
    EXPECT_TRUE(entry->GetBeginGroup());
    EXPECT_STREQ("&Add or Remove Buttons", entry->GetCaption());

    auto* rows = dynamic_cast<COSMPopupBar*>(entry->GetCommandBar());
    ASSERT_NE(nullptr, rows);
    ASSERT_EQ(3, rows->GetControlCount());
    EXPECT_STREQ(MakeNumberedMenuCaption(1, "Standard"), rows->GetControl(0)->GetCaption());
    EXPECT_STREQ("&2 Format && Style", rows->GetControl(1)->GetCaption());
    EXPECT_EQ(35001u, rows->GetControl(2)->GetID());
    EXPECT_TRUE(rows->GetControl(2)->GetBeginGroup());

    // The first bar's list: one toggle per button, then the reset entry.
    auto* list = dynamic_cast<COSMPopupBar*>(rows->GetControl(0)->GetCommandBar());
    ASSERT_NE(nullptr, list);
    EXPECT_TRUE(list->IsAddOrRemoveList());
    ASSERT_EQ(9, list->GetControlCount());
    auto* toggle = dynamic_cast<COSMCustomizeToggleButton*>(list->GetControl(1));
    ASSERT_NE(nullptr, toggle);
    EXPECT_EQ(first->GetControls()->FindControlById(202), toggle->GetTarget());
    EXPECT_EQ(1, toggle->GetChecked());
    EXPECT_EQ(1, toggle->GetEnabled());
    EXPECT_EQ(COSMToolBar::kResetEntryId, list->GetControl(8)->GetID());
    EXPECT_TRUE(list->GetControl(8)->GetBeginGroup());

    COSMControl* next = first->GetControls()->FindControlById(203);
    ASSERT_TRUE(next->IsVisible());
    const int removedLeft = toggle->GetTarget()->GetRect().left;
    commandBars->GetCommandBarsOptions()->m_modified = FALSE;
    toggle->OnExecute();
    EXPECT_EQ(COSMControl::kHideCustomize, toggle->GetTarget()->GetHideFlags() & COSMControl::kHideCustomize);
    EXPECT_EQ(0, toggle->GetChecked());
    EXPECT_TRUE(commandBars->GetCommandBarsOptions()->m_modified);
    // The bar was laid out again: the next button took the removed one's place.
    EXPECT_EQ(removedLeft, next->GetRect().left);
    toggle->OnExecute();
    EXPECT_EQ(0u, toggle->GetTarget()->GetHideFlags() & COSMControl::kHideCustomize);
    EXPECT_EQ(1, toggle->GetChecked());
    ExpandButton(shrunk)->OnSetPopup(FALSE);
}

TEST_F(ExpandTest, ShownAlwaysTheExpandButtonTakesItsRoomAndOffersTheRowsBarsWithoutLists)
{
    commandBars->GetCommandBarsOptions()->m_showExpandButtonAlways = TRUE;
    frame.RecalcLayout();
    EXPECT_EQ(fullWidth + COSMToolBar::kExpandButtonSpace, RectInParent(first).Width());
    for (COSMToolBar* bar : {first, second})
    {
        ASSERT_NE(nullptr, ExpandButton(bar));
        EXPECT_TRUE(ExpandButton(bar)->IsVisible());
        EXPECT_FALSE(ExpandButton(bar)->HasHiddenControls());
    }

    COSMPopupBar* popup = OpenExpandMenu(first);
    ASSERT_NE(nullptr, popup);
    ASSERT_EQ(1, popup->GetControlCount());
    COSMControl* entry = popup->GetControl(0);
    EXPECT_EQ(COSMToolBar::kAddOrRemoveId, entry->GetID());
    EXPECT_FALSE(entry->GetBeginGroup());
    auto* rows = dynamic_cast<COSMPopupBar*>(entry->GetCommandBar());
    ASSERT_NE(nullptr, rows);
    // Without a customize dialog: the bars of the row, no lists and no customize entry.
    ASSERT_EQ(2, rows->GetControlCount());
    for (int i = 0; i < 2; ++i)
    {
        auto* list = dynamic_cast<COSMPopupBar*>(rows->GetControl(i)->GetCommandBar());
        ASSERT_NE(nullptr, list);
        EXPECT_EQ(0, list->GetControlCount());
        EXPECT_FALSE(list->IsAddOrRemoveList());
    }
    ExpandButton(first)->OnSetPopup(FALSE);
}

TEST_F(ToolBarTest, TheResetEntryIsOfferedOnlyForBuiltInBarsWithASnapshotNotTornOff)
{
    struct Case
    {
        BOOL builtIn;
        BOOL snapshot;
        BOOL tearOff;
        BOOL reset;
    };
    const Case cases[] = {
        {TRUE, TRUE, FALSE, TRUE},
        {FALSE, TRUE, FALSE, FALSE},
        {TRUE, FALSE, FALSE, FALSE},
        {TRUE, TRUE, TRUE, FALSE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.builtIn << c.snapshot << c.tearOff);
        auto bar = AdoptRef(new COSMToolBar);
        bar->SetCommandBars(commandBars.Get());
        UINT ids[] = {201, 202, 203};
        bar->SetButtons(ids, 3);
        if (c.snapshot)
            bar->GetControls()->CreateOriginalControls();
        bar->SetBuiltIn(c.builtIn);
        bar->SetTearOff(c.tearOff);
        // A control the user removed earlier is listed unchecked; one missing from the bar comes back unchecked.
        bar->GetControl(1)->SetHideFlags(COSMControl::kHideCustomize);
        if (c.snapshot)
            bar->GetControls()->RemoveAt(2);
        auto popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
        bar->BuildCustomizeMenu(popup.Get());
        const int entries = c.snapshot ? 3 : 2;
        ASSERT_EQ(entries + (c.reset ? 1 : 0), popup->GetControlCount());
        EXPECT_EQ(c.reset, popup->GetControl(popup->GetControlCount() - 1)->GetID() == COSMToolBar::kResetEntryId);
        if (c.snapshot)
        {
            // The removed button and the one missing from the bar come back at their places, unchecked.
            EXPECT_EQ((std::vector<UINT>{201, 202, 203}), ControlIds(*bar));
            EXPECT_EQ(1, popup->GetControl(0)->GetChecked());
            EXPECT_EQ(0, popup->GetControl(1)->GetChecked());
            EXPECT_EQ(0, popup->GetControl(2)->GetChecked());
            EXPECT_EQ(1, popup->GetControl(0)->GetEnabled());
        }
        else
        {
            // Without an original definition a removed button is simply gone, and no entry can be toggled.
            EXPECT_EQ((std::vector<UINT>{201, 203}), ControlIds(*bar));
            EXPECT_EQ(0, popup->GetControl(0)->GetEnabled());
        }
    }
}

TEST_F(ToolBarTest, ResetAsksAndOnOKPutsTheOriginalControlsBack)
{
    COSMToolBar* bar = AddFilledToolBar("Standard", 701, {});
    bar->SetBuiltIn(TRUE);
    ASSERT_TRUE(bar->LoadToolBar(IDR_TEST_TOOLBAR24, FALSE));
    bar->GetControls()->Add(1, 300);
    bar->GetControls()->RemoveAt(0);
    // Listing the bar brings the missing button back, removed by the user (hide flag 16).
    const std::vector<UINT> changed{100, 101, 300};

    struct Case
    {
        int answer;
        std::vector<UINT> ids;
        int resets;
    };
    const Case cases[] = {{IDCANCEL, changed, 0}, {IDNO, changed, 0}, {IDOK, {100, 101}, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.answer);
        MessageBoxAnswer::answer = c.answer;
        frame.resets = 0;
        // Run through the reset entry of the bar's add-or-remove list.
        auto popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
        bar->BuildCustomizeMenu(popup.Get());
        COSMControl* entry = popup->GetControl(popup->GetControlCount() - 1);
        ASSERT_EQ(COSMToolBar::kResetEntryId, entry->GetID());
        entry->OnExecute();
        EXPECT_EQ(c.ids, ControlIds(*bar));
        EXPECT_EQ(c.resets, frame.resets);
        EXPECT_EQ(UINT(MB_OKCANCEL | MB_ICONEXCLAMATION), MessageBoxAnswer::lastType);
        EXPECT_NE(-1, MessageBoxAnswer::lastText.Find("Standard"));
    }
    EXPECT_TRUE(bar->GetControl(1)->GetBeginGroup());

    // Bars that are not built in are never reset, nor asked about.
    MessageBoxAnswer::asked = 0;
    bar->SetBuiltIn(FALSE);
    bar->Reset(TRUE);
    EXPECT_EQ(0, MessageBoxAnswer::asked);
}

// The program's calls of a few user32 functions, counted at its import table while the object lives: the window DCs
// it takes and the cursors it loads (the bars' code is linked into the program, so its calls pass there).
class CountedWindowServerCalls
{
public:
    CountedWindowServerCalls()
    {
        s_windowDCs = 0;
        s_cursorLoads = 0;
        m_patches.Patch("user32.dll", "GetDC", reinterpret_cast<ULONG_PTR>(&CountedGetDC), &s_getDC);
        m_patches.Patch("user32.dll", "GetDCEx", reinterpret_cast<ULONG_PTR>(&CountedGetDCEx), &s_getDCEx);
        m_patches.Patch("user32.dll", "GetWindowDC", reinterpret_cast<ULONG_PTR>(&CountedGetWindowDC), &s_getWindowDC);
        m_patches.Patch("user32.dll", "LoadCursorA", reinterpret_cast<ULONG_PTR>(&CountedLoadCursorA), &s_loadCursorA);
    }
    CountedWindowServerCalls(const CountedWindowServerCalls&) = delete;
    CountedWindowServerCalls& operator=(const CountedWindowServerCalls&) = delete;

    // Each function found among the imports: a count of zero means nothing only when the call could be seen.
    size_t PatchedCount() const { return m_patches.Count(); }
    static int WindowDCs() { return s_windowDCs; }
    static int CursorLoads() { return s_cursorLoads; }

private:
    static HDC WINAPI CountedGetDC(HWND window)
    {
        ++s_windowDCs;
        return reinterpret_cast<decltype(&::GetDC)>(s_getDC)(window);
    }
    static HDC WINAPI CountedGetDCEx(HWND window, HRGN clip, DWORD flags)
    {
        ++s_windowDCs;
        return reinterpret_cast<decltype(&::GetDCEx)>(s_getDCEx)(window, clip, flags);
    }
    static HDC WINAPI CountedGetWindowDC(HWND window)
    {
        ++s_windowDCs;
        return reinterpret_cast<decltype(&::GetWindowDC)>(s_getWindowDC)(window);
    }
    static HCURSOR WINAPI CountedLoadCursorA(HINSTANCE instance, LPCSTR name)
    {
        ++s_cursorLoads;
        return reinterpret_cast<decltype(&::LoadCursorA)>(s_loadCursorA)(instance, name);
    }

    static inline ULONG_PTR s_getDC = 0;
    static inline ULONG_PTR s_getDCEx = 0;
    static inline ULONG_PTR s_getWindowDC = 0;
    static inline ULONG_PTR s_loadCursorA = 0;
    static inline int s_windowDCs = 0;
    static inline int s_cursorLoads = 0;
    osm::test::ImportPatches m_patches;
};

// Under Wine a window DC or a cursor load costs the program trips to the window server (the display's settings are
// asked each time), and making and laying out toolbars did both once per bar or more. Once the toolbar class is
// registered a new bar loads no cursor, and the frame's layout measures its new bars, every control with its caption,
// without taking a window's DC.
TEST_F(ToolBarTest, NewToolbarsLoadNoCursorAndTheFrameLayoutMeasuresThemWithoutWindowDCs)
{
    ASSERT_NE(nullptr, AddFilledToolBar("First", 0xE900, {ID_TEST_UNDO, ID_TEST_PASTE}));
    frame.RecalcLayout();

    CountedWindowServerCalls calls;
    ASSERT_EQ(4u, calls.PatchedCount()) << "every counted function is among the program's imports";
    std::vector<COSMToolBar*> added;
    for (UINT bar = 1; bar <= 3; ++bar)
    {
        added.push_back(AddFilledToolBar(("Toolbar " + std::to_string(bar)).c_str(), 0xE900 + bar,
                                         {ID_TEST_UNDO, 0, ID_TEST_PASTE, ID_TEST_FIND}));
        ASSERT_NE(nullptr, added.back());
    }
    EXPECT_EQ(0, CountedWindowServerCalls::CursorLoads());

    frame.RecalcLayout();
    EXPECT_EQ(0, CountedWindowServerCalls::WindowDCs());
    // The layout did measure and place them: each bar shows in a row of its own below the one before, as wide as its
    // three buttons and their captions measured.
    CRect previous = RectInParent(commandBars->FindCommandBar(0xE900));
    for (COSMToolBar* bar : added)
    {
        SCOPED_TRACE(bar->GetTitle().GetString());
        EXPECT_TRUE(bar->IsWindowVisible());
        const CRect rect = RectInParent(bar);
        EXPECT_GE(rect.top, previous.bottom);
        previous = rect;
        for (int i = 0; i < bar->GetControlCount(); ++i)
        {
            const COSMControl* control = bar->GetControl(i);
            if (!control->IsTemporary() && control->IsVisible())
            {
                EXPECT_GT(control->GetRect().Width(), 0) << i;
            }
        }
    }
}

}  // namespace
