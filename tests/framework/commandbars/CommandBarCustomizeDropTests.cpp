// Customize drags over a bar: where a dragged control lands and the marker that shows it, the drag-over answers
// and the drop, with a copy inserted or the control dropped on itself. Bar windows of a manager on the display.
#include "TrackingTestSupport.h"

using namespace commandbars_test;

namespace {

// A control the drag may be refused for.
class RefusedControl : public COSMControlButton
{
public:
    BOOL IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const override { return FALSE; }
};

class CustomizeDropTest : public TrackingSiteTest
{
protected:
    // A bar of the manager with three 40 x 20 buttons (ids 1, 2, 3) in a row, or a column at position 2.
    void MakeBar(TrackingBar& bar, int position = 0)
    {
        MakeBarWindow(bar, 1, position, CRect(0, 0, 200, 80));
        bar.AddButtons({1, 2, 3}, CSize(40, 20), position == 2);
    }
};

TEST_F(CustomizeDropTest, TheNearestControlAndTheMarkerBeforeOrAfterIt)
{
    struct Case
    {
        int position;
        CPoint point;
        int groupAt;  // a control that begins a group (-1 none)
        int index;
        BOOL after;
        CRect marker;
    };
    const Case cases[] = {
        // A row: centres at x 20, 60, 100.
        {0, CPoint(5, 10), -1, 0, FALSE, CRect(0, 0, 6, 20)},
        {0, CPoint(30, 10), -1, 0, TRUE, CRect(40, 0, 46, 20)},
        {0, CPoint(50, 10), -1, 1, FALSE, CRect(40, 0, 46, 20)},
        {0, CPoint(30, 10), 1, 0, TRUE, CRect(34, 0, 40, 20)},
        {0, CPoint(110, 10), -1, 2, TRUE, CRect(114, 0, 120, 20)},
        {0, CPoint(180, 60), -1, 2, TRUE, CRect(114, 0, 120, 20)},
        {0, CPoint(40, 10), -1, 0, TRUE, CRect(40, 0, 46, 20)},  // equally near 0 and 1: the first
        // A column: centres at y 10, 30, 50.
        {2, CPoint(10, 5), -1, 0, FALSE, CRect(0, 0, 40, 6)},
        {2, CPoint(10, 15), -1, 0, TRUE, CRect(0, 20, 40, 26)},
        {2, CPoint(10, 15), 1, 0, TRUE, CRect(0, 14, 40, 20)},
        {2, CPoint(10, 55), -1, 2, TRUE, CRect(0, 54, 40, 60)},
    };
    for (const Case& c : cases)
    {
        TrackingBar bar;
        MakeBar(bar, c.position);
        if (c.groupAt != -1)
            bar.GetControl(c.groupAt)->SetBeginGroup(TRUE);
        COSMControl dragged;
        CRect marker(-1, -1, -1, -1);
        int index = -2;
        BOOL after = -1;
        EXPECT_EQ(c.index, bar.FindDropIndex(&dragged, c.point, &marker, &index, &after));
        EXPECT_EQ(c.index, index) << c.position << " " << c.point.x << "," << c.point.y;
        EXPECT_EQ(c.after, after) << c.position << " " << c.point.x << "," << c.point.y;
        EXPECT_EQ(c.marker, marker) << c.position << " " << c.point.x << "," << c.point.y;
        EXPECT_EQ(c.position == 2, bar.IsDropMarkerVertical());
    }
}

TEST_F(CustomizeDropTest, CandidatesRowsAndBarsWithoutOne)
{
    // Controls that may not be customized are no candidates; without any, the marker stands at the client's start.
    TrackingBar bar;
    MakeBar(bar, 2);
    for (int i = 0; i < 3; ++i)
        bar.GetControl(i)->SetFlags(COSMControl::kFlagNoMovable);
    COSMControl dragged;
    CRect marker;
    int index = 0;
    BOOL after = FALSE;
    EXPECT_EQ(-1, bar.FindDropIndex(&dragged, CPoint(10, 10), &marker, &index, &after));
    EXPECT_EQ(CRect(2, 2, 8, 78), marker);
    EXPECT_TRUE(after);
    EXPECT_FALSE(bar.IsDropMarkerVertical());
    // Customizing every bar makes them candidates again.
    commandBars->EnableCustomizeAllBars(TRUE);
    EXPECT_EQ(0, bar.FindDropIndex(&dragged, CPoint(10, 10), &marker, &index, &after));
    commandBars->EnableCustomizeAllBars(FALSE);

    // Two rows: a row that starts below the point ends the search; the row restriction looks at the row under it.
    TrackingBar rows;
    MakeBar(rows, 0);
    rows.GetControls()->Add(1, 4);
    rows.GetControl(3)->SetRect(CRect(0, 20, 40, 40));
    rows.GetControl(3)->SetWrap(TRUE);
    EXPECT_EQ(0, rows.FindDropIndex(&dragged, CPoint(5, 10), &marker, &index, &after));
    EXPECT_EQ(2, rows.FindDropIndex(&dragged, CPoint(95, 30), &marker, &index, &after));
    rows.SetRowRestrictedDrop(TRUE);
    EXPECT_EQ(3, rows.FindDropIndex(&dragged, CPoint(95, 30), &marker, &index, &after));
    EXPECT_EQ(CRect(34, 20, 40, 40), marker);

    // The dragged control itself gives no marker.
    EXPECT_EQ(-1, bar.FindDropIndex(nullptr, CPoint(10, 10), nullptr, nullptr, nullptr));
    TrackingBar self;
    MakeBar(self, 0);
    EXPECT_EQ(1, self.FindDropIndex(self.GetControl(1), CPoint(55, 10), &marker, &index, &after));
    EXPECT_TRUE(marker.IsRectEmpty());
}

TEST_F(CustomizeDropTest, DraggingOverShowsTheMarkerUnlessRefused)
{
    TrackingBar bar;
    MakeBar(bar, 0);
    COSMControlButton dragged;
    EXPECT_EQ(-1, bar.OnCustomizeDragEnter(&dragged, CPoint(5, 10)));
    EXPECT_EQ(CRect(0, 0, 6, 20), bar.GetDropMarkerRect());
    EXPECT_EQ(-1, bar.OnCustomizeDragOver(&dragged, CPoint(30, 10)));
    EXPECT_EQ(CRect(40, 0, 46, 20), bar.GetDropMarkerRect());
    bar.OnCustomizeDragLeave();
    EXPECT_TRUE(bar.GetDropMarkerRect().IsRectEmpty());

    // The dragged control refuses the bar; a hidden or not customizable bar refuses every control.
    RefusedControl refused;
    EXPECT_EQ(0, bar.OnCustomizeDragOver(&refused, CPoint(30, 10)));
    EXPECT_TRUE(bar.GetDropMarkerRect().IsRectEmpty());
    bar.SetCustomizable(FALSE);
    EXPECT_EQ(0, bar.OnCustomizeDragOver(&dragged, CPoint(30, 10)));
    bar.SetCustomizable(TRUE);
    bar.ShowWindow(SW_HIDE);
    EXPECT_EQ(0, bar.OnCustomizeDragOver(&dragged, CPoint(30, 10)));
    bar.ShowWindow(SW_SHOWNA);

    // The control under the point closes the bar's popup and selection.
    auto* popup = AddControl<TestPopupControl>(bar, 9);
    popup->SetRect(CRect(120, 0, 160, 20));
    ASSERT_TRUE(bar.SetPopuped(3, FALSE));
    EXPECT_EQ(-1, bar.OnCustomizeDragOver(&dragged, CPoint(15, 10)));
    EXPECT_EQ(-1, bar.GetPopupedIndex());
    EXPECT_EQ(-1, bar.GetSelectedIndex());
    EXPECT_EQ(0, bar.GetTrackingMode());
}

TEST_F(CustomizeDropTest, ADropInsertsACopyThatTakesTheGroupMark)
{
    TrackingBar bar;
    MakeBar(bar, 0);
    bar.GetControl(1)->SetBeginGroup(TRUE);
    COSMControlButton dragged;
    dragged.SetID(77);
    int effect = -1;
    bar.OnCustomizeDragEnter(&dragged, CPoint(50, 10));
    // Before control 1: the copy goes in at 1 and takes its group mark.
    bar.OnCustomizeDrop(&dragged, effect, CPoint(50, 10), CPoint(300, 300));
    ASSERT_EQ(4, bar.GetControlCount());
    EXPECT_EQ(77u, bar.GetControl(1)->GetID());
    EXPECT_NE(&dragged, bar.GetControl(1));
    EXPECT_TRUE(bar.GetControl(1)->GetBeginGroup());
    EXPECT_FALSE(bar.GetControl(2)->GetBeginGroup());
    EXPECT_EQ(bar.GetControl(1), commandBars->GetCustomizeSelection());
    EXPECT_EQ(-1, effect);
    EXPECT_EQ(1, bar.layouts);
    EXPECT_TRUE(bar.GetDropMarkerRect().IsRectEmpty());

    // After the last control: appended, without a mark.
    bar.LayOut();
    bar.OnCustomizeDrop(&dragged, effect, CPoint(150, 10), CPoint(300, 300));
    ASSERT_EQ(5, bar.GetControlCount());
    EXPECT_EQ(77u, bar.GetControl(4)->GetID());
    EXPECT_FALSE(bar.GetControl(4)->GetBeginGroup());

    // Without a manager nothing is dropped.
    TrackingBar loose;
    ASSERT_TRUE(loose.CreateChild(&frame, CRect(0, 100, 200, 120)));
    loose.AddButtons({1});
    loose.OnCustomizeDrop(&dragged, effect, CPoint(5, 5), CPoint(5, 5));
    EXPECT_EQ(1, loose.GetControlCount());
}

TEST_F(CustomizeDropTest, DroppingAControlOnItselfMovesItIntoAGroupOnlyBeyondFourPixels)
{
    struct Case
    {
        int index;
        CPoint point;
        CPoint start;
        BOOL groupBefore;
        BOOL groupAfter;
    };
    const Case cases[] = {
        // Dropped after itself (right of its centre).
        {1, CPoint(65, 10), CPoint(61, 14), FALSE, FALSE},  // 4 pixels: nothing changes
        {1, CPoint(65, 10), CPoint(60, 10), FALSE, TRUE},
        {1, CPoint(65, 10), CPoint(65, 15), FALSE, TRUE},
        // Before itself: the mark goes.
        {1, CPoint(45, 10), CPoint(60, 10), TRUE, FALSE},
        {1, CPoint(45, 10), CPoint(48, 12), TRUE, TRUE},
        // The first control never begins a group.
        {0, CPoint(25, 10), CPoint(5, 10), FALSE, FALSE},
    };
    for (const Case& c : cases)
    {
        TrackingBar bar;
        MakeBar(bar, 0);
        COSMControl* control = bar.GetControl(c.index);
        control->SetBeginGroup(c.groupBefore);
        int effect = -1;
        bar.OnCustomizeDrop(control, effect, c.point, c.start);
        EXPECT_EQ(3, bar.GetControlCount());
        EXPECT_EQ(5, effect);
        EXPECT_EQ(c.groupAfter, control->GetBeginGroup()) << c.point.x << " from " << c.start.x << "," << c.start.y;
        EXPECT_EQ(nullptr, commandBars->GetCustomizeSelection());
    }
}

}  // namespace
