// The layout steps of a ribbon group on bare records, without a window or a font: columns, block widths, the two
// readings of wrapping, rows, the three-row bisection, the vertical spreading of rows and the centring of a column.
#include "classlib/RefPtr.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/ribbon/RibbonGroupLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Records = COSMRibbonGroupLayout::Records;

struct Item
{
    int cx;
    int cy;
    bool newColumn = false;
    bool beginGroup = false;
    int style = 3;
};

Records MakeRecords(const std::vector<Item>& items)
{
    Records records;
    for (const Item& item : items)
    {
        COSMRibbonGroupControlInfo record;
        record.size = CSize(item.cx, item.cy);
        record.beginGroup = item.beginGroup;
        record.newColumn = item.newColumn || item.beginGroup;
        record.style = item.style;
        records.push_back(record);
    }
    return records;
}

std::vector<CRect> Rects(const Records& records)
{
    std::vector<CRect> rects;
    for (const COSMRibbonGroupControlInfo& record : records)
        rects.push_back(record.rect);
    return rects;
}

std::vector<int> Wraps(const Records& records)
{
    std::vector<int> wraps;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].wrap)
            wraps.push_back(static_cast<int>(i));
    return wraps;
}

// Blocks of one record each, of the widths, 22 high.
Records Blocks(const std::vector<int>& widths)
{
    std::vector<Item> items;
    for (size_t i = 0; i < widths.size(); ++i)
        items.push_back({widths[i], 22, i > 0});
    return MakeRecords(items);
}

constexpr Item kLarge{44, 66, false, false, 4};
constexpr Item kMedium{60, 22};

}  // namespace

TEST(RibbonGroupLayoutSteps, ColumnsStackMediumControlsWhileTheyFitAndStartAColumnForLargeOnes)
{
    const Item beginGroup{60, 22, false, true};
    const Item wrapFlag{60, 22, true};
    struct Case
    {
        const char* name;
        std::vector<Item> items;
        std::vector<CRect> rects;
        int width;
    };
    const std::vector<Case> cases = {
        {"two large", {kLarge, kLarge}, {{2, 0, 46, 66}, {46, 0, 90, 66}}, 92},
        {"four medium in a 67 high column",
         {kMedium, kMedium, kMedium, kMedium},
         {{2, 0, 62, 22}, {2, 22, 62, 44}, {2, 44, 62, 66}, {62, 0, 122, 22}},
         124},
        {"large then two medium",
         {kLarge, kMedium, kMedium},
         {{2, 0, 46, 66}, {46, 0, 106, 22}, {46, 22, 106, 44}},
         108},
        {"BeginGroup adds 6 and starts a column", {kMedium, beginGroup}, {{2, 0, 62, 22}, {68, 0, 128, 22}}, 130},
        {"flag 128 starts a column", {kMedium, wrapFlag}, {{2, 0, 62, 22}, {62, 0, 122, 22}}, 124},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Records records = MakeRecords(c.items);
        EXPECT_EQ(c.width, COSMRibbonGroupLayout::LayoutColumns(records, 67));
        EXPECT_EQ(c.rects, Rects(records));
    }
}

TEST(RibbonGroupLayoutSteps, BlockWidthsRunFromEachRecordToTheEndOfItsBlock)
{
    Records records = MakeRecords({{10, 22}, {20, 22, true}, {30, 22}, {40, 22, true}, {5, 22}});
    COSMRibbonGroupLayout::CalcBlockWidths(records);
    std::vector<int> widths;
    for (const COSMRibbonGroupControlInfo& record : records)
        widths.push_back(record.blockWidth);
    EXPECT_EQ((std::vector<int>{10, 50, 30, 45, 5}), widths);
}

TEST(RibbonGroupLayoutSteps, WithoutForceOnlyTheFirstWrapIsUnforced)
{
    // Four blocks of 50: read literally, the first block start would always wrap; read as built, a limit that is
    // never reached makes only the wraps the controls ask for, and half the width makes two rows at most.
    Records records = Blocks({50, 50, 50, 50});
    COSMRibbonGroupLayout::CalcBlockWidths(records);
    EXPECT_EQ(0, COSMRibbonGroupLayout::WrapBlocks(records, 32000, FALSE));
    EXPECT_TRUE(Wraps(records).empty());
    EXPECT_EQ(1, COSMRibbonGroupLayout::WrapBlocks(records, 100, FALSE));
    EXPECT_EQ(std::vector<int>{1}, Wraps(records));
    // Forced, every block start that reaches the limit wraps.
    EXPECT_EQ(3, COSMRibbonGroupLayout::WrapBlocks(records, 100, TRUE));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Wraps(records));

    // A control with the wrap flag always starts a row, even past the limit and after another wrap.
    RefPtr<COSMControlButton> flagged = AdoptRef(new COSMControlButton);
    flagged->SetFlags(COSMControl::kFlagWrapRow);
    records[3].control = flagged.Get();
    EXPECT_EQ(1, COSMRibbonGroupLayout::WrapBlocks(records, 32000, FALSE));
    EXPECT_EQ(std::vector<int>{3}, Wraps(records));
    EXPECT_EQ(2, COSMRibbonGroupLayout::WrapBlocks(records, 100, FALSE));
    EXPECT_EQ((std::vector<int>{1, 3}), Wraps(records));
}

TEST(RibbonGroupLayoutSteps, RowsStepByTheTallestControlSoFarAndAddThreeForBeginGroup)
{
    Records records =
        MakeRecords({{30, 22}, {20, 30, true}, {10, 22, false, true}, {10, 22, true}, {40, 22, false, false}});
    records[1].wrap = TRUE;
    records[3].wrap = TRUE;
    EXPECT_EQ(54, COSMRibbonGroupLayout::PlaceRows(records));
    // The third row goes down by 30 (the tallest control so far), not by its own row's 22.
    EXPECT_EQ(
        (std::vector<CRect>{{2, 0, 32, 22}, {2, 22, 22, 52}, {25, 22, 35, 44}, {2, 52, 12, 74}, {12, 52, 52, 74}}),
        Rects(records));
}

TEST(RibbonGroupLayoutSteps, ThreeRowsTakeTheNarrowestLimitThatGivesTwoWraps)
{
    struct Case
    {
        std::vector<int> widths;
        BOOL fits;
        std::vector<int> wraps;
    };
    const std::vector<Case> cases = {
        {{40, 40}, FALSE, {1}},
        {{40, 40, 40}, TRUE, {1, 2}},
        {{40, 40, 40, 40, 40, 40}, TRUE, {2, 4}},
        {{40, 40, 40, 40, 40, 40, 40, 40, 40}, TRUE, {3, 6}},
        {{100, 10, 10, 10, 100}, TRUE, {1, 4}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(c.widths));
        Records records = Blocks(c.widths);
        COSMRibbonGroupLayout::CalcBlockWidths(records);
        EXPECT_EQ(c.fits, COSMRibbonGroupLayout::FitThreeRows(records));
        EXPECT_EQ(c.wraps, Wraps(records));
    }
}

TEST(RibbonGroupLayoutSteps, RowsSpreadWithEqualRoomAboveBetweenAndBelow)
{
    struct Case
    {
        int height;
        int rows;
        std::vector<int> tops;
    };
    // Rows of 22 at 0, 22, 44 spread in 91 (room for 25 more) and in 67 with two rows.
    const std::vector<Case> cases = {
        {91, 3, {6, 34, 62}},
        {67, 2, {8, 37}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.height);
        std::vector<Item> items;
        for (int r = 0; r < c.rows; ++r)
            items.push_back({30, 22, r > 0});
        Records records = MakeRecords(items);
        for (int r = 1; r < c.rows; ++r)
            records[static_cast<size_t>(r)].wrap = TRUE;
        COSMRibbonGroupLayout::PlaceRows(records);
        COSMRibbonGroupLayout::SpreadRows(records, c.height, 22, c.rows);
        std::vector<int> tops;
        for (const COSMRibbonGroupControlInfo& record : records)
            tops.push_back(record.rect.top);
        EXPECT_EQ(c.tops, tops);
    }
}

TEST(RibbonGroupLayoutSteps, ACentredColumnMovesItsControlsByOneTwoAndThreeGaps)
{
    Records records = MakeRecords({kMedium, kMedium, kMedium, kMedium});
    COSMRibbonGroupLayout::LayoutColumns(records, 91);
    // Three controls of 22 in a room of 90: gaps of 6 above, between and below; a hidden record takes no gap and
    // records outside the column stay.
    records[3].hidden = TRUE;
    const CRect fourth = records[3].rect;
    COSMRibbonGroupLayout::CenterColumn(records, 0, 3, 90);
    EXPECT_EQ(6, records[0].rect.top);
    EXPECT_EQ(22 + 12, records[1].rect.top);
    EXPECT_EQ(44 + 18, records[2].rect.top);
    EXPECT_EQ(fourth, records[3].rect);
    // A full column stays where it is.
    Records full = MakeRecords({kLarge});
    COSMRibbonGroupLayout::CenterColumn(full, 0, 0, 66);
    EXPECT_EQ(0, full[0].rect.top);
}
