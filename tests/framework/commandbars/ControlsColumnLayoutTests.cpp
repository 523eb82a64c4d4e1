// The column layout of popup menus: columns by height and by request, column widths, group gaps, the width cut at a
// share of the work area (which the test gives), a fixed width and an empty popup. A bar without a window.
#include "LayoutTestSupport.h"

using namespace commandbars_test;

namespace {

RECT g_workArea = {0, 0, 3000, 2000};

BOOL FakeWorkArea(RECT* workArea)
{
    *workArea = g_workArea;
    return TRUE;
}

class ColumnLayoutTest : public LayoutTest
{
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        g_workArea = RECT{0, 0, 3000, 2000};
    }

    CSize Popup(int maxHeight, int width = 0)
    {
        return bar.GetControls()->CalcPopupSize(&dc, maxHeight, width, kBorders);
    }

private:
    ScopedSetting<COSMControls::WorkAreaFn> m_workArea{COSMControls::s_pfnGetWorkArea, &FakeWorkArea};
    ScopedSetting<double> m_factor{COSMControls::s_popupWidthFactor, COSMControls::s_popupWidthFactor};
};

// A popup bar that grows as wide as its widest item.
class UnlimitedBar : public COSMCommandBar
{
public:
    BOOL HasNoWidthLimit() const override { return TRUE; }
};

TEST_F(ColumnLayoutTest, AnEmptyPopupHasRoomForAnItem)
{
    EXPECT_EQ(CSize(24 + 6, 22 + 8), Popup(0));
    Add(CSize(20, 10))->SetVisible(FALSE);
    EXPECT_EQ(CSize(24 + 6, 22 + 8), Popup(0));
    // A narrow item still gets the minimum width.
    bar.GetControl(0)->SetVisible(TRUE);
    EXPECT_EQ(CSize(24 + 6, 10 + 8), Popup(0));
}

TEST_F(ColumnLayoutTest, FortyItemsWithRoomForTwentyFiveMakeTwoColumns)
{
    std::vector<SizedControl*> items;
    for (int i = 0; i < 40; ++i)
        items.push_back(Add(CSize(30 + i, 20)));
    const int maxHeight = kBorders.top + kBorders.bottom + 25 * 20;
    const CSize size = Popup(maxHeight);

    EXPECT_TRUE(bar.IsMultiColumn());
    EXPECT_EQ(CSize(54 + 69 + 6, 500 + 8), size);
    for (int i = 0; i < 40; ++i)
    {
        SCOPED_TRACE(i);
        const bool first = i < 25;
        const int left = first ? kBorders.left : kBorders.left + 54;
        const int top = kBorders.top + 20 * (first ? i : i - 25);
        // Every item takes its column's widest width.
        EXPECT_EQ(CRect(left, top, left + (first ? 54 : 69), top + 20), items[i]->GetRect());
        EXPECT_EQ(i == 25, items[i]->GetWrap() != FALSE);
        EXPECT_EQ(CRect(left, kBorders.top, left + (first ? 54 : 69), kBorders.top + 500), items[i]->GetRowRect());
    }

    // Without the height limit: one column again.
    Popup(0);
    EXPECT_FALSE(bar.IsMultiColumn());
    EXPECT_FALSE(items[25]->GetWrap());
    EXPECT_EQ(CRect(2, 3 + 25 * 20, 2 + 69, 3 + 26 * 20), items[25]->GetRect());
}

TEST_F(ColumnLayoutTest, ItemsWiderThanAShareOfTheWorkAreaAreCut)
{
    g_workArea = RECT{0, 0, 301, 200};
    const struct
    {
        const char* what;
        double factor;
        bool unlimited;
        int width;
    } cases[] = {
        {"a third of 301", 1.0 / 3.0, false, 100},
        {"half of 301", 0.5, false, 150},
        {"no factor", 0, false, 160},
        {"a bar without a limit", 1.0 / 3.0, true, 160},
    };
    for (const auto& c : cases)
    {
        COSMControls::s_popupWidthFactor = c.factor;
        UnlimitedBar unlimited;
        COSMCommandBar limited;
        COSMCommandBar& popup = c.unlimited ? static_cast<COSMCommandBar&>(unlimited) : limited;
        COSMControl* wide = popup.GetControls()->AddControl(new SizedControl(CSize(160, 20)), 1);
        COSMControl* narrow = popup.GetControls()->AddControl(new SizedControl(CSize(90, 20)), 2);
        const CSize size = popup.GetControls()->CalcPopupSize(&dc, 0, 0, kBorders);
        EXPECT_EQ(c.width, wide->GetRect().Width()) << c.what;
        EXPECT_EQ(c.width, narrow->GetRect().Width()) << c.what;
        EXPECT_EQ(c.width + 6, size.cx) << c.what;
    }
}

TEST_F(ColumnLayoutTest, GroupsAndRequestedColumns)
{
    SizedControl* a = Add(CSize(40, 20));
    SizedControl* b = Add(CSize(30, 20), 0, TRUE);
    SizedControl* c = Add(CSize(50, 20), COSMControl::kFlagWrapRow, TRUE);
    SizedControl* d = Add(CSize(20, 20));
    d->SetHideFlags(COSMControl::kHideScroll);  // scrolled out last time: laid out again
    const CSize size = Popup(0);

    // A group start inside a column leaves the separator's height; one that starts a column, its width.
    EXPECT_EQ(CRect(2, 3, 42, 23), a->GetRect());
    EXPECT_EQ(CRect(2, 23 + gap.cy, 42, 43 + gap.cy), b->GetRect());
    EXPECT_EQ(CRect(42 + gap.cx, 3, 92 + gap.cx, 23), c->GetRect());
    EXPECT_EQ(CRect(42 + gap.cx, 23, 92 + gap.cx, 43), d->GetRect());
    EXPECT_EQ(0u, d->GetHideFlags());
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, TRUE, FALSE}), Wraps());
    EXPECT_TRUE(bar.IsMultiColumn());
    EXPECT_EQ(CSize(40 + gap.cx + 50 + 6, 40 + gap.cy + 8), size);
    EXPECT_EQ(CRect(42 + gap.cx, 3, 92 + gap.cx, 3 + 40 + gap.cy), d->GetRowRect());
}

TEST_F(ColumnLayoutTest, AGivenWidthFixesTheLastColumn)
{
    SizedControl* a = Add(CSize(40, 20));
    SizedControl* b = Add(CSize(30, 20), COSMControl::kFlagWrapRow);
    SizedControl* c = Add(CSize(60, 20));
    const struct
    {
        int width;
        int lastColumn;
    } cases[] = {{100, 100 - 6}, {1, 0}, {29999, 29999 - 6}, {30000, 60}, {0, 60}, {-5, 60}};
    for (const auto& k : cases)
    {
        const CSize size = Popup(0, k.width);
        EXPECT_EQ(40, a->GetRect().Width()) << k.width;
        EXPECT_EQ(k.lastColumn, b->GetRect().Width()) << k.width;
        EXPECT_EQ(k.lastColumn, c->GetRect().Width()) << k.width;
        EXPECT_EQ(std::max(24, 40 + k.lastColumn) + 6, size.cx) << k.width;
    }
}

}  // namespace
