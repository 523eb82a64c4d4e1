// Toolbars in the bands of the site's rebar (child 0xE804): the manager's toolbars move from their dock bar into
// bands named by their ids, bands are found and deleted by toolbar, the rebar takes the top of the frame layout,
// bands follow their toolbars' sizes, and the background is painted without the control erasing it first.
#include "classlib/Controls.h"
#include "BarStreamWriter.h"
#include "DockTestSupport.h"

#include "framework/commandbars/ReBar.h"

using namespace commandbars_test;
using prop_exchange_test::LoadFromMemory;

namespace {

class ReBarTest : public DockSiteTest
{
protected:
    void SetUp() override
    {
        DockSiteTest::SetUp();
        // Made after the dock bars, and still the frame's topmost strip.
        ASSERT_TRUE(rebar.Create(&frame));
        frame.RecalcLayout();
    }

    REBARBANDINFOA Band(int index, UINT mask) const
    {
        REBARBANDINFOA band = CReBar::MakeBandInfo(mask);
        EXPECT_TRUE(rebar.GetBandInfo(static_cast<UINT>(index), &band)) << "band " << index;
        return band;
    }

    // Controls the bar's last layout hid because they did not fit.
    static int CountWrapped(const COSMToolBar* bar)
    {
        int count = 0;
        for (int i = 0; i < bar->GetControlCount(); ++i)
            count += (bar->GetControl(i)->GetHideFlags() & COSMControl::kHideWrap) != 0;
        return count;
    }

    COSMReBar rebar;
};

TEST_F(ReBarTest, TheManagersToolbarsLeaveTheirDockBarForABandNamedByTheirId)
{
    COSMToolBar* standard = AddFilledToolBar("Standard", 701, {201, 202, 203});
    COSMToolBar* format = AddFilledToolBar("Format", 702, {211, 0, 212});
    ASSERT_NE(nullptr, standard);
    ASSERT_NE(nullptr, format);
    ASSERT_EQ(&rebar, commandBars->GetReBar());
    EXPECT_EQ(0xE804, rebar.GetDlgCtrlID());
    ASSERT_EQ(2, rebar.GetBandCount());

    const struct
    {
        COSMToolBar* bar;
        UINT id;
    } expected[] = {{standard, 701}, {format, 702}};
    for (int index = 0; index < 2; ++index)
    {
        COSMToolBar* bar = expected[index].bar;
        SCOPED_TRACE(static_cast<LPCSTR>(bar->GetTitle()));
        const REBARBANDINFOA band = Band(index, RBBIM_ID | RBBIM_STYLE | RBBIM_CHILD);
        EXPECT_EQ(expected[index].id, band.wID);
        EXPECT_EQ(bar->GetSafeHwnd(), band.hwndChild);
        EXPECT_EQ(UINT(RBBS_BREAK | RBBS_GRIPPERALWAYS), band.fStyle & 0xFFu);
        EXPECT_EQ(rebar.GetSafeHwnd(), ::GetParent(bar->GetSafeHwnd()));
        EXPECT_EQ(bar, rebar.GetToolBar(index));
        EXPECT_EQ(index, rebar.FindBand(bar));
        // Out of the dock bar, and neither its gripper nor its flags can move it any more.
        EXPECT_EQ(nullptr, bar->GetDockBar());
        EXPECT_EQ(-1, DockBar(0)->FindBar(bar));
        EXPECT_EQ(0u, bar->GetFlags() & COSMToolBar::kMovableFlags);
        EXPECT_NE(0u, bar->GetFlags() & COSMDockBar::kBarFlagHideWrap) << "other flags stay";
        EXPECT_FALSE(bar->GetShowGripper());
    }
    EXPECT_EQ("|", DescribeRows(DockBar(0)));
}

TEST_F(ReBarTest, ACustomToolbarLoadedFromAStoreTakesItsPlaceAndThenABand)
{
    // A toolbar the user made, saved docked on the left with movable flags and one flag of its own.
    const DWORD storedFlags = COSMToolBar::kMovableFlags | COSMDockBar::kBarFlagHideWrap;
    StreamWriter w;
    w.Long(1).NewClass("COSMToolBar", kToolBarSchema);
    w.BarKeys(kSchema, 1, 59393, COSMCommandBar::kStyleGripper, "Mine", 2, 0, storedFlags);
    w.Long(1).NewClass("COSMControlButton").ControlKeys(1, 30101, "&Open").EndControls();
    w.ToolBarKeys(kToolBarSchema, FALSE);

    LoadFromMemory load(w.bytes);
    ASSERT_TRUE(commandBars->LoadBarState(&load.px, TRUE));
    auto* bar = dynamic_cast<COSMToolBar*>(commandBars->FindCommandBar(59393));
    ASSERT_NE(nullptr, bar);
    ASSERT_NE(nullptr, bar->GetSafeHwnd());
    ASSERT_GE(bar->GetControlCount(), 1);
    EXPECT_EQ(30101u, bar->GetControl(0)->GetID());
    ASSERT_EQ(1, rebar.GetBandCount());
    EXPECT_EQ(0, rebar.FindBand(bar));
    EXPECT_EQ(59393u, Band(0, RBBIM_ID).wID);
    EXPECT_EQ(rebar.GetSafeHwnd(), ::GetParent(bar->GetSafeHwnd()));
    EXPECT_EQ(nullptr, bar->GetDockBar());
    EXPECT_EQ(-1, DockBar(2)->FindBar(bar));
    EXPECT_EQ(0u, bar->GetFlags() & COSMToolBar::kMovableFlags);
    EXPECT_NE(0u, bar->GetFlags() & COSMDockBar::kBarFlagHideWrap) << "the stored flags were applied";
    EXPECT_FALSE(bar->GetShowGripper());
}

TEST_F(ReBarTest, AToolbarInNoBandIsNotFoundAndDeletingItChangesNothing)
{
    // Made before the site had a rebar: it stays docked.
    rebar.DestroyWindow();
    COSMToolBar* docked = AddFilledToolBar("Docked", 703, {221, 222});
    ASSERT_NE(nullptr, docked);
    ASSERT_TRUE(rebar.Create(&frame));
    COSMToolBar* banded = AddFilledToolBar("Banded", 704, {231});
    ASSERT_EQ(1, rebar.GetBandCount());

    EXPECT_EQ(-1, rebar.FindBand(docked));
    EXPECT_EQ(-1, rebar.FindBand(nullptr));
    rebar.DeleteToolBar(docked);
    commandBars->RemoveFromReBar(docked);
    EXPECT_EQ(1, rebar.GetBandCount());
    EXPECT_EQ(banded, rebar.GetToolBar(0));
    EXPECT_EQ(DockBar(0), docked->GetDockBar());

    // Bands that hold no toolbar, and bands that do not exist, give none.
    CStatic label;
    ASSERT_TRUE(label.Create("label", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &frame, 0x3000));
    ASSERT_TRUE(rebar.AddBar(&label));
    EXPECT_EQ(nullptr, rebar.GetToolBar(1));
    EXPECT_EQ(nullptr, rebar.GetToolBar(2));
    EXPECT_EQ(nullptr, rebar.GetToolBar(-1));
    EXPECT_EQ(0, rebar.FindBand(banded));

    // The manager's Remove takes the band out, and only that band.
    commandBars->Remove(banded);
    ASSERT_EQ(1, rebar.GetBandCount());
    EXPECT_EQ(label.GetSafeHwnd(), Band(0, RBBIM_CHILD).hwndChild);
}

TEST_F(ReBarTest, ARefusedToolbarGivesFalseAndANonToolbarStaysOut)
{
    COSMToolBar windowless;
    EXPECT_FALSE(rebar.AddToolBar(&windowless, 0));
    COSMReBar noWindow;
    COSMToolBar* bar = AddFilledToolBar("Standard", 705, {241});
    ASSERT_NE(nullptr, bar);
    EXPECT_FALSE(noWindow.AddToolBar(bar, 0));
    EXPECT_EQ(-1, noWindow.FindBand(bar));

    // A bar that is no toolbar gets no band, and a toolbar gets one band however often it is offered.
    auto* plain = new COSMCommandBar;
    plain->SetBarID(706);
    ASSERT_TRUE(CreateBarWindow(*plain, 80, 22, TRUE));
    commandBars->AddCommandBar(plain);
    commandBars->AddToReBar(plain);
    commandBars->AddToReBar(bar);
    EXPECT_EQ(1, rebar.GetBandCount());
}

TEST_F(ReBarTest, TheRebarIsTheTopStripOfTheFrameAndGrowsWithItsRows)
{
    CRect client;
    frame.GetClientRect(&client);
    const auto rebarRect = [&] { return RectInParent(&rebar); };
    const int emptyHeight = rebarRect().Height();

    COSMToolBar* standard = AddFilledToolBar("Standard", 701, {201, 202, 203});
    frame.RecalcLayout();
    const CRect oneRow = rebarRect();
    EXPECT_EQ(CPoint(0, 0), oneRow.TopLeft());
    EXPECT_EQ(client.Width(), oneRow.Width());
    EXPECT_GT(oneRow.Height(), emptyHeight);
    EXPECT_GE(oneRow.Height(), RectInParent(standard).Height());
    // The top dock bar comes right below it.
    EXPECT_EQ(oneRow.bottom, RectInParent(DockBar(0)).top);

    // A second band starts a row of its own: the rebar grows and the dock bar moves down with it.
    AddFilledToolBar("Format", 702, {211, 212});
    frame.RecalcLayout();
    const CRect twoRows = rebarRect();
    EXPECT_GT(twoRows.Height(), oneRow.Height());
    EXPECT_EQ(twoRows.bottom, RectInParent(DockBar(0)).top);

    // A hidden rebar takes no room.
    rebar.ShowWindow(SW_HIDE);
    frame.RecalcLayout();
    EXPECT_EQ(0, RectInParent(DockBar(0)).top);
}

TEST_F(ReBarTest, BandsFollowTheirToolbarsSizeAndANarrowBandShrinksItsToolbar)
{
    // Filled after it went into its band: the next layout makes the band as tall and its row as long as the bar.
    COSMToolBar* bar = AddFilledToolBar("Standard", 701, {201, 202, 203, 204, 0, 205, 206, 207, 208, 209, 210});
    ASSERT_NE(nullptr, bar);
    frame.RecalcLayout();
    const CSize full = bar->CalcDockingLayout(32000, LM_HORZ | LM_HORZDOCK);
    REBARBANDINFOA band = Band(0, RBBIM_CHILDSIZE | RBBIM_IDEALSIZE);
    EXPECT_EQ(UINT(full.cy), band.cyMinChild);
    EXPECT_EQ(UINT(full.cx), band.cxIdeal);
    EXPECT_EQ(full, RectInParent(bar).Size());
    EXPECT_EQ(0, CountWrapped(bar));

    // The frame becomes narrower than the bar: the band's child is resized and the bar lays itself out for it,
    // hiding what does not fit behind its expand button.
    frame.SetWindowPos(nullptr, 0, 0, full.cx / 2, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame.RecalcLayout();
    CRect client;
    rebar.GetClientRect(&client);
    const CRect narrowed = RectInParent(bar);
    EXPECT_LE(narrowed.right, client.right);
    EXPECT_LT(narrowed.Width(), full.cx);
    EXPECT_GT(CountWrapped(bar), 0);
}

TEST_F(ReBarTest, AResizedBandLetsItsToolbarLayItselfOutForTheNewRoom)
{
    COSMToolBar* bar = AddFilledToolBar("Standard", 701, {201, 202, 203, 204, 0, 205, 206, 207, 208, 209, 210});
    ASSERT_NE(nullptr, bar);
    frame.RecalcLayout();
    const int fullWidth = RectInParent(bar).Width();
    ASSERT_EQ(0, CountWrapped(bar));

    // Only the rebar changes, with no frame layout: the band's child is resized through the child-size notification.
    const CRect rebarRect = RectInParent(&rebar);
    rebar.SetWindowPos(nullptr, 0, 0, fullWidth / 2, rebarRect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client;
    rebar.GetClientRect(&client);
    const CRect narrowed = RectInParent(bar);
    EXPECT_LE(narrowed.right, client.right);
    EXPECT_LT(narrowed.Width(), fullWidth);
    EXPECT_GT(CountWrapped(bar), 0);

    // Wide again: everything shows.
    rebar.SetWindowPos(nullptr, 0, 0, fullWidth * 2, rebarRect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(fullWidth, RectInParent(bar).Width());
    EXPECT_EQ(0, CountWrapped(bar));
}

TEST_F(ReBarTest, ErasingLeavesTheBackgroundToThePaintThroughTheBuffer)
{
    // WM_ERASEBKGND reports it erased and draws nothing.
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const COLORREF marker = RGB(200, 10, 30);
    const RECT all = {0, 0, 8, 8};
    HBRUSH brush = ::CreateSolidBrush(marker);
    ::FillRect(memory, &all, brush);
    ::DeleteObject(brush);
    EXPECT_NE(0, rebar.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory)));
    EXPECT_EQ(marker, ::GetPixel(memory, 4, 4));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);

    // The paint covers the whole rebar in one copy: what the screen shows right of a short band is what the control
    // draws over the button face, and nothing that was there before survives.
    AddFilledToolBar("Standard", 701, {201});
    frame.RecalcLayout();
    frame.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    frame.UpdateWindow();
    CRect client;
    rebar.GetClientRect(&client);
    ASSERT_GT(client.Height(), 4);
    const int x = client.right - 3;
    HWND window = rebar.GetSafeHwnd();
    HDC screenDC = ::GetDC(window);
    brush = ::CreateSolidBrush(marker);
    ::FillRect(screenDC, &client, brush);
    ::DeleteObject(brush);
    rebar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    HDC reference = ::CreateCompatibleDC(screenDC);
    HBITMAP referenceBitmap = ::CreateCompatibleBitmap(screenDC, client.Width(), client.Height());
    HGDIOBJ oldReference = ::SelectObject(reference, referenceBitmap);
    HBRUSH face = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    ::FillRect(reference, &client, face);
    ::DeleteObject(face);
    WNDCLASSA rebarClass{};
    ASSERT_TRUE(::GetClassInfoA(nullptr, REBARCLASSNAMEA, &rebarClass));
    ::CallWindowProcA(rebarClass.lpfnWndProc, window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(reference), 0);
    ::CallWindowProcA(rebarClass.lpfnWndProc, window, WM_PAINT, reinterpret_cast<WPARAM>(reference), 0);
    for (int y = 0; y < client.Height(); ++y)
    {
        const COLORREF shown = ::GetPixel(screenDC, x, y);
        EXPECT_NE(marker, shown) << "y " << y;
        EXPECT_EQ(::GetPixel(reference, x, y), shown) << "y " << y;
    }
    ::SelectObject(reference, oldReference);
    ::DeleteObject(referenceBitmap);
    ::DeleteDC(reference);
    ::ReleaseDC(window, screenDC);
}

}  // namespace
