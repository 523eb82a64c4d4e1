// The manager's bars: lookup by index and id (id 0 is no id), the walk to the next visible bar, removing bars with
// one delayed frame layout, the non-frame site's WM_SIZE, and the two bar lists.
#include "BarWindowTestSupport.h"
#include "CommandBarsTestFrame.h"

#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/CustomizeDropSource.h"

using namespace commandbars_test;

namespace {

// A windowless bar whose visibility the test sets.
class FlagBar : public COSMCommandBar
{
public:
    explicit FlagBar(BOOL shown = TRUE, UINT id = 0) : shown(shown) { SetBarID(id); }
    BOOL IsVisible() const override { return shown; }
    void SetVisible(BOOL visible) override { shown = visible; }
    BOOL shown;
};

// A bar that asks its manager for a frame layout while it is being removed.
class LayoutAskingBar : public FlagBar
{
public:
    void OnRemoved() override
    {
        if (COSMCommandBars* commandBars = GetCommandBarsField())
            commandBars->RecalcFrameLayout(FALSE);
        FlagBar::OnRemoved();
    }
};

using CommandBarListTest = CommandBarsTest;

TEST_F(CommandBarListTest, NextBarIndexWalksVisibleBars)
{
    const struct
    {
        std::vector<BOOL> shown;
        int start;
        int step;
        int expected;
    } cases[] = {
        {{}, -1, 1, -1},
        {{}, 0, -1, -1},
        {{FALSE, TRUE, FALSE, TRUE}, -1, 1, 1},   // the first visible bar
        {{FALSE, TRUE, FALSE, TRUE}, -1, -1, 3},  // backwards from -1: from the last bar
        {{FALSE, TRUE, FALSE, TRUE}, 1, 1, 3},
        {{FALSE, TRUE, FALSE, TRUE}, 3, 1, 1},   // one wrap past the end
        {{FALSE, TRUE, FALSE, TRUE}, 1, -1, 3},  // one wrap past the start
        {{FALSE, FALSE, FALSE}, -1, 1, -1},      // from -1 forward: no wrap
        {{FALSE, FALSE, FALSE}, -1, -1, -1},
        {{FALSE, TRUE, FALSE}, 1, 1, 1},  // no other bar visible: the start comes back
        {{FALSE, TRUE, FALSE}, 1, -1, 1},
        {{TRUE, TRUE}, 0, 1, 1},
    };
    for (const auto& c : cases)
    {
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        for (BOOL shown : c.shown)
            commandBars->AddCommandBar(new FlagBar(shown));
        EXPECT_EQ(c.expected, commandBars->GetNextBarIndex(c.start, c.step))
            << c.shown.size() << " bars, start " << c.start << " step " << c.step;
    }
}

TEST_F(CommandBarListTest, IdZeroFindsNoBar)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    auto* unnamed = new FlagBar(TRUE, 0);
    auto* named = new FlagBar(TRUE, 7);
    commandBars->AddCommandBar(unnamed);
    commandBars->AddCommandBar(named);
    EXPECT_EQ(nullptr, commandBars->FindCommandBar(0));
    EXPECT_EQ(named, commandBars->FindCommandBar(7));
    EXPECT_EQ(nullptr, commandBars->FindCommandBar(8));
    EXPECT_EQ(unnamed, commandBars->GetAt(0));
    EXPECT_EQ(nullptr, commandBars->GetAt(2));
    EXPECT_EQ(nullptr, commandBars->GetAt(-1));
    EXPECT_EQ(1, commandBars->IndexOf(named));
    EXPECT_EQ(-1, commandBars->IndexOf(nullptr));

    // Every popup bar carries id 0: the owned list finds none of them by it.
    COSMOwnedCommandBarList* popups = commandBars->GetOwnedPopups();
    COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(commandBars.Get());
    ASSERT_NE(nullptr, popup);
    EXPECT_FALSE(popup->IsOwnedByList());
    popups->Add(popup);
    EXPECT_TRUE(popup->IsOwnedByList());
    EXPECT_TRUE(popups->Contains(popup));
    EXPECT_EQ(nullptr, popups->FindById(0));
    popup->SetBarID(12);
    EXPECT_EQ(popup, popups->FindById(12));
}

TEST_F(CommandBarListTest, ListsReleaseTheirBars)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    RefPtr<COSMCommandBar> kept = AdoptRef(static_cast<COSMCommandBar*>(new FlagBar));
    kept->InternalAddRef();
    {
        RefPtr<COSMCommandBarList> list = AdoptRef(new COSMCommandBarList);
        list->Add(kept.Get());
        EXPECT_EQ(2, RefCount(kept.Get()));
        EXPECT_EQ(kept.Get(), list->GetAt(0));
        EXPECT_EQ(nullptr, list->GetAt(1));
    }
    EXPECT_EQ(1, RefCount(kept.Get()));

    // The manager releases its bars and its owned popups when it goes.
    kept->InternalAddRef();
    commandBars->AddCommandBar(kept.Get());
    COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(commandBars.Get());
    popup->InternalAddRef();
    commandBars->GetOwnedPopups()->Add(popup);
    EXPECT_EQ(2, RefCount(popup));
    commandBars.Reset();
    EXPECT_EQ(1, RefCount(kept.Get()));
    EXPECT_EQ(1, RefCount(popup));
    popup->InternalRelease();
}

TEST_F(CommandBarListTest, ToggleVisibleMarksTheOptions)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    auto* bar = new FlagBar(TRUE);
    commandBars->AddCommandBar(bar);
    commandBars->GetCommandBarsOptions()->m_modified = FALSE;
    commandBars->ToggleVisible(0);
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_TRUE(commandBars->GetCommandBarsOptions()->m_modified);
    commandBars->ToggleVisible(0);
    EXPECT_TRUE(bar->IsVisible());
    commandBars->GetCommandBarsOptions()->m_modified = FALSE;
    commandBars->ToggleVisible(5);
    EXPECT_FALSE(commandBars->GetCommandBarsOptions()->m_modified);
}

TEST_F(CommandBarListTest, RemoveHidesReleasesAndMovesLaterBarsDown)
{
    CCommandBarsTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetSite(&frame);
    auto* first = new TestWindowBar;
    auto* second = new TestWindowBar;
    ASSERT_TRUE(CreateChildBar(*first, frame, CRect(0, 0, 100, 20)));
    ASSERT_TRUE(CreateChildBar(*second, frame, CRect(0, 20, 100, 40)));
    commandBars->AddCommandBar(first);
    commandBars->AddCommandBar(second);
    first->InternalAddRef();
    const HWND firstWindow = first->GetSafeHwnd();

    FlagBar stranger;
    commandBars->Remove(&stranger);
    EXPECT_EQ(2, commandBars->GetCount());

    commandBars->Remove(first);
    EXPECT_EQ(1, commandBars->GetCount());
    EXPECT_EQ(second, commandBars->GetAt(0));
    EXPECT_EQ(1, RefCount(first));
    EXPECT_FALSE(::IsWindow(firstWindow) && ::IsWindowVisible(firstWindow));
    first->InternalRelease();
}

TEST_F(CommandBarListTest, RemoveAllLaysTheFrameOutOnceLater)
{
    CCommandBarsTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetSite(&frame);
    for (int i = 0; i < 3; ++i)
    {
        auto* bar = new LayoutAskingBar;
        bar->SetCommandBars(commandBars.Get());
        commandBars->AddCommandBar(bar);
    }
    frame.m_nIdleFlags = 0;
    frame.ClearRecords();

    commandBars->RemoveAll();
    EXPECT_EQ(0, commandBars->GetCount());
    EXPECT_TRUE(frame.Layouts().empty());
    EXPECT_EQ(UINT(CFrameWnd::idleLayout), frame.m_nIdleFlags & CFrameWnd::idleLayout);

    commandBars->RecalcDelayedFrameLayout();
    ASSERT_EQ(1u, frame.Layouts().size());
    EXPECT_FALSE(frame.Layouts()[0]);
    EXPECT_EQ(0u, frame.m_nIdleFlags & CFrameWnd::idleLayout);
    commandBars->RecalcDelayedFrameLayout();
    EXPECT_EQ(1u, frame.Layouts().size());

    // Not delayed: at once.
    commandBars->RecalcFrameLayout(FALSE);
    EXPECT_EQ(2u, frame.Layouts().size());
}

// A plain window that records the WM_SIZE it is sent.
class SizeRecordingWindow : public CWnd
{
public:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_SIZE)
            sizes.push_back(lParam);
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
    std::vector<LPARAM> sizes;
};

TEST_F(CommandBarListTest, ANonFrameSiteGetsItsClientSize)
{
    SizeRecordingWindow site;
    ASSERT_TRUE(
        site.CreateEx(0, AfxRegisterWndClass(0), "Site", WS_POPUP | WS_BORDER, 0, 0, 230, 140, nullptr, nullptr));
    CRect client;
    site.GetClientRect(&client);
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetSite(&site);
    site.sizes.clear();
    commandBars->RecalcFrameLayout(TRUE);
    ASSERT_EQ(1u, site.sizes.size());
    EXPECT_EQ(client.Width(), LOWORD(site.sizes[0]));
    EXPECT_EQ(client.Height(), HIWORD(site.sizes[0]));
    EXPECT_FALSE(commandBars->IsLayoutRTL());
    commandBars->SetRightToLeft(TRUE);
    EXPECT_TRUE(commandBars->IsLayoutRTL());
    commandBars.Reset();
    site.DestroyWindow();
}

using CustomizeSheetTest = SiteTest;

TEST_F(CustomizeSheetTest, SelectionChangesGoToTheOpenSheetOncePerChange)
{
    SiteWindow sheet;
    commandBars->GetDropSource()->SetSheetWindow(&sheet);
    RefPtr<COSMCommandBar> bar = AdoptRef(static_cast<COSMCommandBar*>(new FlagBar));
    bar->SetCommandBars(commandBars.Get());
    COSMControl* first = bar->GetControls()->Add(1, 1);
    COSMControl* second = bar->GetControls()->Add(1, 2);
    site.messages.clear();

    const struct
    {
        COSMControl* select;
        int sheetReports;
        LONG firstRefs;
        LONG secondRefs;
    } steps[] = {
        {first, 1, 2, 1},
        {first, 1, 2, 1},   // the same control: nothing
        {second, 2, 1, 2},  // the old one is let go
        {nullptr, 3, 1, 1},
    };
    for (const auto& step : steps)
    {
        commandBars->SetCustomizeSelection(step.select);
        EXPECT_EQ(step.sheetReports, sheet.Count(COSMCommandBars::kMessageCustomizeSelectionChanged));
        EXPECT_EQ(step.firstRefs, RefCount(first));
        EXPECT_EQ(step.secondRefs, RefCount(second));
    }
    EXPECT_EQ(0, site.Count(COSMCommandBars::kMessageCustomizeSelectionChanged));

    // With the sheet closed the site hears it again.
    commandBars->GetDropSource()->SetSheetWindow(nullptr);
    commandBars->SetCustomizeSelection(first);
    EXPECT_EQ(1, site.Count(COSMCommandBars::kMessageCustomizeSelectionChanged));
    commandBars->SetCustomizeSelection(nullptr);
}

}  // namespace
