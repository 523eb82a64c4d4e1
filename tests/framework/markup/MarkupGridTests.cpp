// Grid lengths and the grid through markup: cells, spans and their limits, fixed, automatic and star definitions,
// the distribution of what spanning children need, the order in which the measure pass settles Auto and star sizes,
// what re-lays the grid, and layout with lengths near the 32-bit limits.
#include "PanelTestSupport.h"

#include "framework/markup/MarkupDefinition.h"
#include "framework/markup/MarkupDefinitionCollection.h"
#include "framework/markup/MarkupGrid.h"
#include "framework/markup/MarkupGridLength.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupStackPanel.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using markup_test::Hold;
using markup_test::PanelTest;
using markup_test::SetFromText;

namespace {

using Rects = std::vector<CRect>;
using Sizes = std::vector<int>;

// "<ColumnDefinition Width="a"/><ColumnDefinition Width="b"/>..." (or rows), each with its extra attributes; "Min"
// and "Max" followed by '=' become the minimum and maximum of the kind.
std::string Definitions(bool columns, const std::vector<std::string>& definitions)
{
    std::string text;
    for (std::string definition : definitions)
    {
        for (const char* limit : {"Min=", "Max="})
        {
            const size_t at = definition.find(limit);
            if (at != std::string::npos)
                definition.insert(at + 3, columns ? "Width" : "Height");
        }
        text += std::string(columns ? "<ColumnDefinition Width=" : "<RowDefinition Height=") + definition + "/>";
    }
    return text;
}

// A grid with these column and row definitions (none where the list is empty) and children.
std::string GridMarkup(const std::vector<std::string>& columns, const std::vector<std::string>& rows,
                       const std::string& children)
{
    std::string text = "<Grid>";
    if (!columns.empty())
        text += "<Grid.ColumnDefinitions>" + Definitions(true, columns) + "</Grid.ColumnDefinitions>";
    if (!rows.empty())
        text += "<Grid.RowDefinitions>" + Definitions(false, rows) + "</Grid.RowDefinitions>";
    return text + children + "</Grid>";
}

class GridTest : public PanelTest
{
protected:
    COSMMarkupGrid* ParseGrid(const std::string& text, Hold* holder)
    {
        COSMMarkupPanel* panel = ParsePanel(text, holder);
        COSMMarkupGrid* grid = MarkupDynamicCast<COSMMarkupGrid>(panel);
        EXPECT_NE(nullptr, grid) << text;
        return grid;
    }

    static std::vector<COSMMarkupDefinitionBase*> InUse(const COSMMarkupDefinitionCollection* collection)
    {
        std::vector<COSMMarkupDefinitionBase*> definitions;
        for (int i = 0; collection && i < collection->GetCount(); ++i)
            definitions.push_back(collection->GetDefinition(i));
        return definitions;
    }
    static Sizes FinalSizes(const COSMMarkupDefinitionCollection* collection)
    {
        Sizes sizes;
        for (const COSMMarkupDefinitionBase* definition : InUse(collection))
            sizes.push_back(definition->GetFinalSize());
        return sizes;
    }
    static Sizes FinalOffsets(const COSMMarkupDefinitionCollection* collection)
    {
        Sizes offsets;
        for (const COSMMarkupDefinitionBase* definition : InUse(collection))
            offsets.push_back(definition->GetFinalOffset());
        return offsets;
    }
    static Sizes MinimumSizes(const COSMMarkupDefinitionCollection* collection)
    {
        Sizes sizes;
        for (const COSMMarkupDefinitionBase* definition : InUse(collection))
            sizes.push_back(definition->GetMinimumSize());
        return sizes;
    }
};

}  // namespace

// ---- Grid lengths -----------------------------------------------------------------------------------------------

TEST_F(GridTest, GridLengthsReadAutoPixelsAndStars)
{
    const struct
    {
        LPCWSTR text;
        bool converts;
        double value;
        COSMMarkupGridLength::Unit unit;
    } cases[] = {
        {L"Auto", true, 1.0, COSMMarkupGridLength::Auto},
        {L"auto", true, 1.0, COSMMarkupGridLength::Auto},
        {L"*", true, 1.0, COSMMarkupGridLength::Star},
        {L"2.5*", true, 2.5, COSMMarkupGridLength::Star},
        {L" 3 *", true, 3.0, COSMMarkupGridLength::Star},
        {L"100", true, 100.0, COSMMarkupGridLength::Pixel},
        {L"0", true, 0.0, COSMMarkupGridLength::Pixel},
        {L"100px", false},
        {L"", false},
        {L"10 20", false},
        {L"2**", false},
        {L"-1*", false},
        {L"-5", false},
        {L" *", false},
        {L"1.2.3", false},
    };
    Hold prototype = Hold::Adopt(new COSMMarkupGridLength);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        Hold text = Hold::Adopt(COSMMarkupString::CreateValue(c.text, -1));
        Hold converted = Hold::Adopt(prototype->ConvertFrom(Builder(), text.Get()));
        ASSERT_EQ(c.converts, static_cast<bool>(converted));
        if (!c.converts)
            continue;
        const COSMMarkupGridLength* length = MarkupDynamicCast<COSMMarkupGridLength>(converted.Get());
        ASSERT_NE(nullptr, length);
        EXPECT_EQ(c.value, length->GetValue());
        EXPECT_EQ(c.unit, length->GetUnit());
        Hold same = Hold::Adopt(new COSMMarkupGridLength(c.value, c.unit));
        EXPECT_TRUE(length->IsEqual(same.Get()));
    }
    Hold number = Hold::Adopt(new COSMMarkupInt(5));
    EXPECT_EQ(nullptr, prototype->ConvertFrom(Builder(), number.Get()));
    Hold pixels = Hold::Adopt(new COSMMarkupGridLength(1.0, COSMMarkupGridLength::Pixel));
    Hold stars = Hold::Adopt(new COSMMarkupGridLength(1.0, COSMMarkupGridLength::Star));
    EXPECT_FALSE(pixels->IsEqual(stars.Get()));
    EXPECT_EQ(0.0, static_cast<COSMMarkupGridLength*>(prototype.Get())->GetValue());
    EXPECT_EQ(COSMMarkupGridLength::Pixel, static_cast<COSMMarkupGridLength*>(prototype.Get())->GetUnit());
}

// ---- Definitions and cells --------------------------------------------------------------------------------------

TEST_F(GridTest, MarkupFillsTheGridsOwnDefinitionCollections)
{
    Hold holder;
    COSMMarkupGrid* grid =
        ParseGrid(GridMarkup({"\"Auto\"", "\"2*\" MinWidth=\"4\" MaxWidth=\"9\""}, {"\"30\""}, ""), &holder);
    ASSERT_NE(nullptr, grid);
    COSMMarkupColumnDefinitionCollection* columns = grid->GetColumnDefinitions();
    ASSERT_EQ(2, columns->GetCount());
    EXPECT_EQ(grid, columns->GetLogicalParent());
    EXPECT_EQ(columns, grid->GetValue(COSMMarkupGrid::s_pColumnDefinitionsProperty));
    EXPECT_EQ(grid->GetRowDefinitions(), grid->GetValue(COSMMarkupGrid::s_pRowDefinitionsProperty));
    const COSMMarkupDefinitionBase* second = columns->GetDefinition(1);
    EXPECT_TRUE(second->IsColumn());
    EXPECT_EQ(COSMMarkupGridLength::Star, second->GetUserSizeUnit());
    EXPECT_EQ(2.0, second->GetUserSizeValue());
    EXPECT_EQ(4, second->GetUserMinSize());
    EXPECT_EQ(9, second->GetUserMaxSize());
    const COSMMarkupDefinitionBase* row = grid->GetRowDefinitions()->GetDefinition(0);
    EXPECT_FALSE(row->IsColumn());
    EXPECT_EQ(COSMMarkupGridLength::Pixel, row->GetUserSizeUnit());
    EXPECT_EQ(0, row->GetUserMinSize());
    EXPECT_EQ(INT_MAX, row->GetUserMaxSize());
    EXPECT_FALSE(row->HasUserMaxSize());

    // A definition without a size is one star.
    Hold bare = Hold::Adopt(new COSMMarkupRowDefinition);
    EXPECT_EQ(COSMMarkupGridLength::Star, static_cast<COSMMarkupDefinitionBase*>(bare.Get())->GetUserSizeUnit());
    EXPECT_EQ(1.0, static_cast<COSMMarkupDefinitionBase*>(bare.Get())->GetUserSizeValue());
}

TEST_F(GridTest, WithoutDefinitionsChildrenOverlapInOneCell)
{
    Hold holder;
    COSMMarkupGrid* grid = ParseGrid("<Grid>" + Element(30, 10) + Element(50, 20) + "</Grid>", &holder);
    ASSERT_NE(nullptr, grid);
    Layout(grid, 100, 80);
    EXPECT_EQ(CSize(50, 20), grid->GetDesiredSize());
    EXPECT_EQ((Rects{CRect(0, 0, 100, 80), CRect(0, 0, 100, 80)}), ChildRects(grid));
}

TEST_F(GridTest, CellsOutsideTheDefinitionsAreKeptInside)
{
    const struct
    {
        const char* attributes;
        CRect rect;
    } cases[] = {
        {"Grid.Column=\"5\"", CRect(50, 0, 100, 20)},
        {"Grid.Column=\"-3\"", CRect(0, 0, 50, 20)},
        {"Grid.Column=\"1\" Grid.ColumnSpan=\"9\"", CRect(50, 0, 100, 20)},
        {"Grid.ColumnSpan=\"2\"", CRect(0, 0, 100, 20)},
        {"Grid.ColumnSpan=\"0\"", CRect(0, 0, 50, 20)},
        {"Grid.ColumnSpan=\"-2\"", CRect(0, 0, 50, 20)},
        {"Grid.Row=\"7\" Grid.RowSpan=\"3\"", CRect(0, 20, 50, 40)},
        {"Grid.Row=\"-1\" Grid.RowSpan=\"2\"", CRect(0, 0, 50, 40)},
        {"Grid.Row=\"1\" Grid.Column=\"-2147483648\" Grid.RowSpan=\"-2147483648\"", CRect(0, 20, 50, 40)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.attributes);
        Hold holder;
        COSMMarkupGrid* grid =
            ParseGrid(GridMarkup({"\"50\"", "\"50\""}, {"\"20\"", "\"20\""}, Element(10, 10, c.attributes)), &holder);
        ASSERT_NE(nullptr, grid);
        Layout(grid, 100, 40);
        EXPECT_EQ(c.rect, Child(grid, 0)->GetFinalRect());
    }
}

// ---- Star, fixed and automatic sizes ----------------------------------------------------------------------------

// Stars share what fixed definitions leave; equal keys keep definition order, so the shares are reproducible.
// Each case runs as columns and as rows.
TEST_F(GridTest, StarsShareTheRemainingLength)
{
    const struct
    {
        std::vector<std::string> definitions;
        int length;
        Sizes sizes;
        Sizes offsets;
    } cases[] = {
        {{"\"50\"", "\"2*\"", "\"1*\""}, 350, {50, 200, 100}, {0, 50, 250}},
        {{"\"2*\"", "\"1*\""}, 301, {200, 101}, {0, 200}},
        {{"\"1*\"", "\"2*\""}, 301, {100, 201}, {0, 100}},
        // The minimum wins against the share; when the total is too long the other star gives back its spare.
        {{"\"1*\"", "\"1*\" Min=\"40\""}, 50, {10, 40}, {0, 10}},
        {{"\"1*\"", "\"1*\" Min=\"40\""}, 300, {150, 150}, {0, 150}},
        {{"\"1*\" Max=\"30\"", "\"Auto\" Min=\"25\"", "\"1*\" Max=\"1000\""}, 100, {30, 25, 45}, {0, 30, 55}},
        {{"\"Auto\"", "\"0*\"", "\"*\""}, 90, {0, 0, 90}, {0, 0, 0}},
    };
    for (const bool columns : {true, false})
    {
        for (const auto& c : cases)
        {
            SCOPED_TRACE(testing::Message()
                         << (columns ? "columns " : "rows ") << c.definitions[0] << " at " << c.length);
            Hold holder;
            COSMMarkupGrid* grid =
                ParseGrid(columns ? GridMarkup(c.definitions, {}, "") : GridMarkup({}, c.definitions, ""), &holder);
            ASSERT_NE(nullptr, grid);
            Layout(grid, columns ? c.length : 50, columns ? 50 : c.length);
            const COSMMarkupDefinitionCollection* inUse = columns ? grid->GetColumnsInUse() : grid->GetRowsInUse();
            EXPECT_EQ(c.sizes, FinalSizes(inUse));
            EXPECT_EQ(c.offsets, FinalOffsets(inUse));
            // Without definitions of the other kind the grid lays out one star definition of it.
            const COSMMarkupDefinitionCollection* other = columns ? grid->GetRowsInUse() : grid->GetColumnsInUse();
            ASSERT_NE(nullptr, other);
            EXPECT_EQ(Sizes{50}, FinalSizes(other));
        }
    }
}

TEST_F(GridTest, AnAutoColumnTakesItsWidestChildAndAStarColumnTheRest)
{
    Hold holder;
    COSMMarkupGrid* grid = ParseGrid(
        GridMarkup({"\"Auto\"", "\"*\""}, {}, Element(50, 20) + "<FrameworkElement Width=\"30\" Grid.Column=\"1\"/>"),
        &holder);
    ASSERT_NE(nullptr, grid);
    Layout(grid, 200, 100);
    EXPECT_EQ(CSize(80, 20), grid->GetDesiredSize());
    EXPECT_EQ((Sizes{50, 150}), FinalSizes(grid->GetColumnsInUse()));
    EXPECT_EQ((Rects{CRect(0, 0, 50, 100), CRect(50, 0, 200, 100)}), ChildRects(grid));
}

TEST_F(GridTest, InUnboundedRoomStarsSizeToTheirContent)
{
    Hold holder;
    COSMMarkupGrid* grid = ParseGrid(
        GridMarkup({"\"2*\"", "\"1*\""}, {}, Element(40, 10) + Element(70, 10, "Grid.Column=\"1\"")), &holder);
    ASSERT_NE(nullptr, grid);
    grid->Measure(&measuring, INT_MAX, INT_MAX);
    EXPECT_EQ(CSize(110, 10), grid->GetDesiredSize());
    grid->Arrange(0, 0, 110, 10);
    EXPECT_EQ((Sizes{40, 70}), FinalSizes(grid->GetColumnsInUse()));
    EXPECT_EQ((Sizes{0, 40}), FinalOffsets(grid->GetColumnsInUse()));
}

// A child spanning two Auto columns raises them by stages: to their maxima, the smaller limit first, when they have
// maxima; past their minima equally when they have none.
TEST_F(GridTest, ASpanningChildsWidthIsSpreadByTheColumnsLimits)
{
    const struct
    {
        const char* name;
        std::vector<std::string> columns;
        int width;
        Sizes minimums;
    } cases[] = {
        {"maxima", {"\"Auto\" MaxWidth=\"30\"", "\"Auto\" MaxWidth=\"200\""}, INT_MAX, {30, 70}},
        {"no maxima", {"\"Auto\"", "\"Auto\""}, INT_MAX, {50, 50}},
        // Within the preferred sizes: the Auto column keeps its minimum, the star column (preferring its share of
        // 180) takes the rest.
        {"within preferred", {"\"Auto\"", "\"*\""}, 200, {20, 80}},
        // Within the minimum sizes nothing changes.
        {"within minima", {"\"Auto\"", "\"90\""}, INT_MAX, {20, 90}},
    };
    const std::string children =
        Element(20, 10) + Element(40, 10, "Grid.Column=\"1\"") + Element(100, 10, "Grid.ColumnSpan=\"2\"");
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Hold holder;
        COSMMarkupGrid* grid = ParseGrid(GridMarkup(c.columns, {}, children), &holder);
        ASSERT_NE(nullptr, grid);
        grid->Measure(&measuring, c.width, INT_MAX);
        EXPECT_EQ(c.minimums, MinimumSizes(grid->GetColumnsInUse()));
        EXPECT_EQ(c.minimums[0] + c.minimums[1], grid->GetDesiredSize().cx);
    }
}

// The three orders of the measure pass, worked by hand. Branch "group 2 then stars": the star row is resolved
// before the Auto column's child, which then measures with the row's share. Branch "no group 2": the star column's
// child in an Auto row sizes the row before the star rows share the rest. Branch "both": the Auto column's child
// in a star row first sizes its column in unbounded height, then its row once the Auto row is known.
TEST_F(GridTest, TheMeasureOrderLetsAutoAndStarSizesSettleEachOther)
{
    const struct
    {
        const char* name;
        std::vector<std::string> columns;
        std::vector<std::string> rows;
        std::string children;
        CSize desired;
        Rects rects;
    } cases[] = {
        {"no group 3 in Auto rows",
         {"\"Auto\"", "\"*\""},
         {},
         Element(50, 20) + "<FrameworkElement Width=\"30\" Grid.Column=\"1\"/>",
         CSize(80, 20),
         {CRect(0, 0, 50, 100), CRect(50, 0, 200, 100)}},
        {"group 3 in Auto rows, no group 2",
         {"\"*\"", "\"Auto\""},
         {"\"Auto\"", "\"*\""},
         Element(300, 50) + Element(40, 20, "Grid.Column=\"1\"") + Element(10, 10, "Grid.Row=\"1\""),
         CSize(200, 60),
         {CRect(0, 0, 160, 50), CRect(160, 0, 200, 50), CRect(0, 50, 160, 100)}},
        {"group 3 in Auto rows and group 2",
         {"\"Auto\"", "\"*\""},
         {"\"Auto\"", "\"*\""},
         Element(50, 80, "Grid.Row=\"1\"") + Element(300, 30, "Grid.Column=\"1\""),
         CSize(200, 100),
         {CRect(0, 30, 50, 100), CRect(50, 0, 200, 30)}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Hold holder;
        COSMMarkupGrid* grid = ParseGrid(GridMarkup(c.columns, c.rows, c.children), &holder);
        ASSERT_NE(nullptr, grid);
        Layout(grid, 200, 100);
        EXPECT_EQ(c.desired, grid->GetDesiredSize());
        EXPECT_EQ(c.rects, ChildRects(grid));
    }
}

// ---- What re-lays the grid --------------------------------------------------------------------------------------

TEST_F(GridTest, ACellChangeRelaysTheGridAndADefinitionChangeWaitsForTheNextMeasure)
{
    Hold holder;
    COSMMarkupGrid* grid = ParseGrid(GridMarkup({"\"50\"", "\"50\""}, {}, Element(20, 10)), &holder);
    ASSERT_NE(nullptr, grid);
    Layout(grid, 100, 40);
    COSMMarkupUIElement* child = Child(grid, 0);
    EXPECT_EQ(CRect(0, 0, 50, 40), child->GetFinalRect());

    SetFromText(Builder(), child, COSMMarkupGrid::s_pColumnProperty, L"1");
    EXPECT_EQ(CRect(50, 0, 100, 40), child->GetFinalRect());
    SetFromText(Builder(), child, COSMMarkupGrid::s_pColumnProperty, L"0");
    SetFromText(Builder(), child, COSMMarkupGrid::s_pColumnSpanProperty, L"2");
    EXPECT_EQ(CRect(0, 0, 100, 40), child->GetFinalRect());
    SetFromText(Builder(), child, COSMMarkupGrid::s_pColumnSpanProperty, L"1");
    SetFromText(Builder(), child, COSMMarkupGrid::s_pColumnProperty, L"1");
    EXPECT_EQ(CRect(50, 0, 100, 40), child->GetFinalRect());

    COSMMarkupDefinitionBase* first = grid->GetColumnDefinitions()->GetDefinition(0);
    SetFromText(Builder(), first, COSMMarkupColumnDefinition::s_pWidthProperty, L"70");
    EXPECT_EQ(CRect(50, 0, 100, 40), child->GetFinalRect());
    EXPECT_EQ(50, first->GetFinalSize());
    grid->InvalidateMeasure();
    grid->Arrange(0, 0, 100, 40);
    EXPECT_EQ(70, first->GetFinalSize());
    EXPECT_EQ(CRect(70, 0, 120, 40), child->GetFinalRect());
}

TEST_F(GridTest, SettingTheDefinitionsTakesOnlyACollectionOfTheirKind)
{
    Hold holder = Hold::Adopt(new COSMMarkupGrid);
    COSMMarkupGrid* grid = static_cast<COSMMarkupGrid*>(holder.Get());
    COSMMarkupColumnDefinitionCollection* replacement = new COSMMarkupColumnDefinitionCollection;
    replacement->Add(new COSMMarkupColumnDefinition);
    COSMMarkupColumnDefinitionCollection* old = grid->GetColumnDefinitions();
    old->AddRef();
    grid->SetPropertyObject(Builder(), COSMMarkupGrid::s_pColumnDefinitionsProperty, replacement);
    EXPECT_EQ(replacement, grid->GetColumnDefinitions());
    EXPECT_EQ(grid, replacement->GetLogicalParent());
    EXPECT_EQ(nullptr, old->GetLogicalParent());
    EXPECT_EQ(1, markup_test::RefCount(old));
    old->Release();

    Hold rows = Hold::Adopt(new COSMMarkupRowDefinitionCollection);
    EXPECT_EQ("COSMMarkupColumnDefinitionCollection class expected", markup_test::BuilderMessage([&] {
                  grid->SetPropertyObject(Builder(), COSMMarkupGrid::s_pColumnDefinitionsProperty, rows.Get());
              }));
    EXPECT_EQ("COSMMarkupRowDefinitionCollection class expected", markup_test::BuilderMessage([&] {
                  grid->SetPropertyObject(Builder(), COSMMarkupGrid::s_pRowDefinitionsProperty, nullptr);
              }));
    EXPECT_EQ(replacement, grid->GetColumnDefinitions());
}

// A grid makes a collection of definitions only when one is asked for: a grid of columns alone holds no row
// collection, and one given its columns before it made any takes them, lays out by them and frees them.
TEST_F(GridTest, DefinitionsOfAKindNeverNamedAreNotMade)
{
    // A new grid holds what a new stack panel holds: itself and its children's collection.
    for (const bool grid : {false, true})
    {
        const LONG before = COSMMarkupObject::GetLiveObjectCount();
        Hold panel = Hold::Adopt(grid ? static_cast<COSMMarkupPanel*>(new COSMMarkupGrid) : new COSMMarkupStackPanel);
        EXPECT_EQ(before + 2, COSMMarkupObject::GetLiveObjectCount()) << grid;
    }
    Hold holder;
    COSMMarkupGrid* grid = ParseGrid(GridMarkup({"\"30\"", "\"*\""}, {}, Element(10, 10)), &holder);
    ASSERT_NE(nullptr, grid);
    const LONG parsed = COSMMarkupObject::GetLiveObjectCount();
    Layout(grid, 100, 40);
    EXPECT_EQ(Sizes({30, 70}), FinalSizes(grid->GetColumnsInUse()));
    EXPECT_EQ(Sizes({40}), FinalSizes(grid->GetRowsInUse()));
    // Asking makes the empty row collection, owned by the grid, and the next measure still lays one star row.
    COSMMarkupObject* rows = grid->GetValue(COSMMarkupGrid::s_pRowDefinitionsProperty);
    ASSERT_NE(nullptr, rows);
    EXPECT_EQ(grid, rows->GetLogicalParent());
    EXPECT_EQ(rows, grid->GetRowDefinitions());
    EXPECT_EQ(0, grid->GetRowDefinitions()->GetCount());
    EXPECT_LT(parsed, COSMMarkupObject::GetLiveObjectCount());
    grid->InvalidateMeasure();
    Layout(grid, 100, 60);
    EXPECT_EQ(Sizes({60}), FinalSizes(grid->GetRowsInUse()));

    Hold fresh = Hold::Adopt(new COSMMarkupGrid);
    COSMMarkupGrid* given = static_cast<COSMMarkupGrid*>(fresh.Get());
    COSMMarkupColumnDefinitionCollection* columns = new COSMMarkupColumnDefinitionCollection;
    columns->Add(new COSMMarkupColumnDefinition);
    columns->Add(new COSMMarkupColumnDefinition);
    given->SetPropertyObject(Builder(), COSMMarkupGrid::s_pColumnDefinitionsProperty, columns);
    EXPECT_EQ(columns, given->GetColumnDefinitions());
    EXPECT_EQ(given, columns->GetLogicalParent());
    Layout(given, 100, 20);
    EXPECT_EQ(Sizes({50, 50}), FinalSizes(given->GetColumnsInUse()));
}

// ---- Sizes at the edges: huge columns, negative stars, children added after the measure ------------------------

TEST_F(GridTest, HugeColumnsSaturateInsteadOfWrapping)
{
    for (const int count : {1, 2})
    {
        SCOPED_TRACE(count);
        Hold holder;
        COSMMarkupGrid* grid = ParseGrid(
            GridMarkup(std::vector<std::string>(static_cast<size_t>(count), "\"3000000000\""), {}, ""), &holder);
        ASSERT_NE(nullptr, grid);
        grid->Measure(&measuring, INT_MAX, 10);
        EXPECT_EQ(INT_MAX, grid->GetDesiredSize().cx);
        EXPECT_EQ(Sizes(static_cast<size_t>(count), INT_MAX), MinimumSizes(grid->GetColumnsInUse()));
        grid->Arrange(0, 0, INT_MAX, 10);
        for (const int size : FinalSizes(grid->GetColumnsInUse()))
            EXPECT_EQ(INT_MAX, size);
        EXPECT_EQ(count == 1 ? Sizes{0} : (Sizes{0, INT_MAX}), FinalOffsets(grid->GetColumnsInUse()));
    }
}

TEST_F(GridTest, ANegativeStarFromCodeCountsAsNone)
{
    Hold holder;
    COSMMarkupGrid* grid = ParseGrid(
        GridMarkup({"\"1*\"", "\"1*\""}, {}, Element(10, 10) + Element(10, 10, "Grid.Column=\"1\"")), &holder);
    ASSERT_NE(nullptr, grid);
    grid->GetColumnDefinitions()->GetDefinition(0)->SetValue(
        COSMMarkupColumnDefinition::s_pWidthProperty, new COSMMarkupGridLength(-1.0, COSMMarkupGridLength::Star));
    Layout(grid, 100, 20);
    EXPECT_EQ((Sizes{0, 100}), FinalSizes(grid->GetColumnsInUse()));
    EXPECT_EQ((Rects{CRect(0, 0, 0, 20), CRect(0, 0, 100, 20)}), ChildRects(grid));
}

TEST_F(GridTest, AChildAddedAfterTheMeasureCoversTheGridUntilTheNextOne)
{
    Hold holder;
    COSMMarkupGrid* grid =
        ParseGrid(GridMarkup({"\"50\"", "\"50\""}, {}, Element(20, 10, "Grid.Column=\"1\"")), &holder);
    ASSERT_NE(nullptr, grid);
    Layout(grid, 100, 40);
    COSMMarkupUIElement* added =
        static_cast<COSMMarkupUIElement*>(context->CreateObject(COSMMarkupFrameworkElement::GetClassType()));
    SetFromText(Builder(), added, COSMMarkupFrameworkElement::s_pWidthProperty, L"10");
    SetFromText(Builder(), added, COSMMarkupGrid::s_pColumnProperty, L"1");
    grid->GetChildren()->Add(added);
    grid->InvalidateArrange();
    EXPECT_EQ((Rects{CRect(50, 0, 100, 40), CRect(0, 0, 100, 40)}), ChildRects(grid));
    grid->InvalidateMeasure();
    grid->Arrange(0, 0, 100, 40);
    EXPECT_EQ((Rects{CRect(50, 0, 100, 40), CRect(50, 0, 100, 40)}), ChildRects(grid));
}

TEST_F(GridTest, DefinitionsRemovedAfterTheMeasureAreNotReadByTheArrange)
{
    Hold holder;
    COSMMarkupGrid* grid = ParseGrid(
        GridMarkup({"\"50\"", "\"50\"", "\"50\""}, {},
                   Element(20, 10, "Grid.Column=\"2\"") + Element(20, 10, "Grid.Column=\"1\" Grid.ColumnSpan=\"2\"")),
        &holder);
    ASSERT_NE(nullptr, grid);
    Layout(grid, 150, 40);
    EXPECT_EQ((Rects{CRect(100, 0, 150, 40), CRect(50, 0, 150, 40)}), ChildRects(grid));
    grid->GetColumnDefinitions()->RemoveAt(2);
    grid->InvalidateArrange();
    EXPECT_EQ((Rects{CRect(50, 0, 100, 40), CRect(50, 0, 100, 40)}), ChildRects(grid));
}
