// The ribbon in customize mode with the customize sheet open, under real input and read from the ribbon's window:
// a clicked tab or a click on free space in a group becomes the customize selection and gets the two-pixel black
// frame, a command dragged from the sheet over a group of the selected tab shows the group's drop marker while the
// mouse is there, and the dropped copy is the framed selection.
#include "RibbonGroupTestSupport.h"

#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/controls/CustomizeCommandsPage.h"
#include "framework/controls/CustomizeSheet.h"
#include "tests/support/DcTestSurface.h"

#include <memory>
#include <optional>

using namespace ribbon_test;

namespace {

using foundation_test::DcTestSurface;

class RibbonCustomizeMarksTest : public RibbonGroupTest
{
protected:
    void SetUp() override
    {
        RibbonGroupTest::SetUp();
        ribbon->SetCustomizable(TRUE);
        clipboard = AddGroup("Clipboard", "M");
        AddGroup("Tables", "M", ribbon->GetTab(1));
        Relayout();
        tools->SetCommandBars(commandBars.Get());
        tools->Add(1, kHelpId)->SetCaption("Help");
        sheet = new COSMCustomizeSheet(commandBars.Get());
        sheet->GetCommandsPage()->AddCategory("Tools", tools.Get());
        ASSERT_TRUE(sheet->Create());
        // Beside the frame, off the ribbon, as a user moves it to drag onto the bars.
        CRect frameRect;
        frame.GetWindowRect(frameRect);
        sheet->SetWindowPos(nullptr, frameRect.right + 10, frameRect.top, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        sheet->SetActivePage(1);
        PumpFor(100);
        ASSERT_TRUE(commandBars->IsCustomizeMode());
    }
    void TearDown() override
    {
        InputScript::Stop(frame.GetSafeHwnd());
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        if (sheet && ::IsWindow(sheet->GetSafeHwnd()))
            sheet->DestroyWindow();
        sheet = nullptr;
        PumpFor(50);
        RibbonGroupTest::TearDown();
    }

    // The ribbon's client area as the screen shows it now.
    std::unique_ptr<DcTestSurface> Shown() const
    {
        CRect client;
        ribbon->GetClientRect(&client);
        auto surface = std::make_unique<DcTestSurface>(client.Width(), client.Height());
        HDC window = ::GetDC(ribbon->GetSafeHwnd());
        ::BitBlt(surface->GetDC(), 0, 0, client.Width(), client.Height(), window, 0, 0, SRCCOPY);
        ::ReleaseDC(ribbon->GetSafeHwnd(), window);
        return surface;
    }
    // The pixels of the rectangle's outline and of the outline one pixel inside it that are not black.
    static int UnframedPixels(const DcTestSurface& shown, CRect rect)
    {
        int unframed = 0;
        for (int ring = 0; ring < 2; ++ring, rect.DeflateRect(1, 1))
        {
            for (int x = rect.left; x < rect.right; ++x)
                unframed +=
                    (shown.Pixel(x, rect.top) != RGB(0, 0, 0)) + (shown.Pixel(x, rect.bottom - 1) != RGB(0, 0, 0));
            for (int y = rect.top + 1; y < rect.bottom - 1; ++y)
                unframed +=
                    (shown.Pixel(rect.left, y) != RGB(0, 0, 0)) + (shown.Pixel(rect.right - 1, y) != RGB(0, 0, 0));
        }
        return unframed;
    }
    std::unique_ptr<DcTestSurface> ShownAfterPainting()
    {
        ribbon->UpdateWindow();
        PumpFor(350);  // an animated redraw fades in over five steps
        return Shown();
    }
    // The screen centre of the sheet's one command.
    CPoint CommandCentre()
    {
        COSMCustomizeCommandsListBox& commands = sheet->GetCommandsPage()->GetCommandsList();
        CRect item;
        commands.GetItemRect(0, item);
        return ScreenPoint(commands, item.CenterPoint());
    }

    static constexpr UINT kHelpId = 301;
    COSMRibbonGroup* clipboard = nullptr;
    RefPtr<COSMControls> tools = AdoptRef(new COSMControls);
    COSMCustomizeSheet* sheet = nullptr;  // deletes itself when its window goes
};

TEST_F(RibbonCustomizeMarksTest, AClickedTabOrAGroupsFreeSpaceIsTheSelectionAndWearsTheBlackFrame)
{
    COSMRibbonTab* home = ribbon->GetTab(0);
    COSMRibbonTab* insert = ribbon->GetTab(1);
    ASSERT_GT(UnframedPixels(*Shown(), insert->GetRect()), 0) << "the tab alone has no black frame";

    ClickAt(TabCentre(insert));
    EXPECT_EQ(insert, commandBars->GetCustomizeSelectionTarget());
    EXPECT_EQ(nullptr, commandBars->GetCustomizeSelection()) << "a tab is no control for the sheet's commands";
    EXPECT_EQ(insert, ribbon->GetSelectedTab()) << "the click still selects the tab";
    EXPECT_EQ(0, UnframedPixels(*ShownAfterPainting(), insert->GetRect()));

    ClickAt(TabCentre(home));
    EXPECT_EQ(home, commandBars->GetCustomizeSelectionTarget());
    std::unique_ptr<DcTestSurface> shown = ShownAfterPainting();
    EXPECT_EQ(0, UnframedPixels(*shown, home->GetRect()));
    EXPECT_GT(UnframedPixels(*shown, insert->GetRect()), 0) << "the old selection lost its frame";

    // Free space in a group of the selected tab picks the group.
    COSMControl* only = clipboard->GetAt(0);
    const CPoint free(only->GetRect().left + 5, only->GetRect().bottom + 10);
    ASSERT_TRUE(clipboard->GetRect().PtInRect(free));
    ASSERT_EQ(nullptr, ribbon->GetControls()->HitTest(free));
    ClickAt(ScreenPoint(*ribbon, free));
    EXPECT_EQ(clipboard, commandBars->GetCustomizeSelectionTarget());
    shown = ShownAfterPainting();
    EXPECT_EQ(0, UnframedPixels(*shown, clipboard->GetRect()));
    EXPECT_GT(UnframedPixels(*shown, home->GetRect()), 0);

    // A selected group or tab that leaves the ribbon leaves the selection too.
    home->GetGroups()->RemoveAll();
    EXPECT_EQ(nullptr, commandBars->GetCustomizeSelectionTarget());
    ClickAt(TabCentre(insert));
    ASSERT_EQ(insert, commandBars->GetCustomizeSelectionTarget());
    ribbon->GetControlTab()->DeleteAllItems();
    EXPECT_EQ(nullptr, commandBars->GetCustomizeSelectionTarget());
}

TEST_F(RibbonCustomizeMarksTest, ACommandDraggedOverAGroupShowsTheGroupMarkerAndTheDropIsTheFramedSelection)
{
    COSMControl* only = clipboard->GetAt(0);
    const CRect group = clipboard->GetRect();
    const CRect marker(group.left + 2, group.top + 2, group.left + 8, group.top + 22);
    const CPoint free(only->GetRect().left + 5, only->GetRect().bottom + 10);
    ASSERT_TRUE(group.PtInRect(free));
    ASSERT_FALSE(clipboard->GetCaptionRect().PtInRect(free));
    const std::unique_ptr<DcTestSurface> before = ShownAfterPainting();

    // The upright I-beam the marker draws in its rectangle: two rows at each end, a two-pixel stem between.
    auto inBeam = [&](int x, int y) {
        const int dx = x - marker.left;
        const int dy = y - marker.top;
        const int w = marker.Width();
        const int h = marker.Height();
        if (dy == 0 || dy == h - 1)
            return true;
        if (dy == 1 || dy == h - 2)
            return dx >= 1 && dx <= w - 2;
        return dx == 2 || dx == 3;
    };

    CRect markerWhileOver;
    std::unique_ptr<DcTestSurface> whileOver;
    MoveMouseTo(CommandCentre());
    const CPoint over = ScreenPoint(*ribbon, free);
    InputScript::Start(frame.GetSafeHwnd(),
                       {MoveTo(CommandCentre() + CPoint(5, 5)), MoveTo(over), MoveTo(over + CPoint(1, 0)), [] {}, [] {},
                        [] {},
                        [&] {
                            markerWhileOver = ribbon->GetDropMarkerRect();
                            whileOver = Shown();
                        },
                        Press(MOUSEEVENTF_LEFTUP)},
                       100);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpUntil([&] { return InputScript::Done() && !commandBars->GetDropSource()->GetDraggedControl(); }, 5000);
    PumpFor(100);

    EXPECT_EQ(marker, markerWhileOver);
    ASSERT_TRUE(whileOver);
    // The marker inverts the beam's pixels with one brush and leaves the rest of its rectangle alone.
    std::optional<COLORREF> brush;
    int beamPixels = 0;
    for (int y = marker.top; y < marker.bottom; ++y)
        for (int x = marker.left; x < marker.right; ++x)
        {
            const COLORREF was = before->Pixel(x, y);
            const COLORREF now = whileOver->Pixel(x, y);
            if (!inBeam(x, y))
            {
                EXPECT_EQ(was, now) << x << ", " << y << " lies outside the beam";
                continue;
            }
            ++beamPixels;
            if (!brush)
                brush = was ^ now;
            EXPECT_EQ(*brush, was ^ now) << x << ", " << y;
        }
    EXPECT_GT(beamPixels, 0);
    ASSERT_TRUE(brush.has_value());
    EXPECT_NE(0u, *brush) << "the beam shows";

    // The drop: a copy joins the group before its option button, is the selection and wears the frame.
    ASSERT_EQ(2, clipboard->GetCount());
    COSMControl* copy = clipboard->GetAt(1);
    EXPECT_EQ(kHelpId, copy->GetID());
    EXPECT_NE(tools->GetAt(0), copy);
    EXPECT_EQ(copy, commandBars->GetCustomizeSelection());
    EXPECT_TRUE(ribbon->GetDropMarkerRect().IsRectEmpty());
    EXPECT_EQ(0, UnframedPixels(*ShownAfterPainting(), copy->GetRect()));
}

}  // namespace
