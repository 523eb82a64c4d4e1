#include "framework/markup/MarkupGrid.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupDefinition.h"
#include "framework/markup/MarkupDefinitionCollection.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <algorithm>
#include <climits>

IMPLEMENT_MARKUP_TYPE(COSMMarkupGrid, COSMMarkupPanel, L"Grid", &COSMMarkupGrid::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupGrid::s_pColumnDefinitionsProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupGrid::s_pRowDefinitionsProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupGrid::s_pColumnProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupGrid::s_pRowProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupGrid::s_pColumnSpanProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupGrid::s_pRowSpanProperty = nullptr;

namespace {

using Layout = COSMMarkupDefinitionLayout;

// Room above this many pixels is unbounded to a grid: star definitions then size to their content.
const int kUnboundedGridLength = 32000;

int IntValue(const COSMMarkupObject* child, COSMMarkupDependencyProperty* property, int unset)
{
    const COSMMarkupInt* value = child ? MarkupDynamicCast<COSMMarkupInt>(child->GetValue(property)) : nullptr;
    return value ? value->GetValue() : unset;
}

MarkupDefinitionList ListDefinitions(const COSMMarkupDefinitionCollection* collection)
{
    MarkupDefinitionList definitions;
    for (int i = 0; collection && i < collection->GetCount(); ++i)
    {
        if (COSMMarkupDefinitionBase* definition = collection->GetDefinition(i))
            definitions.push_back(definition);
    }
    return definitions;
}

// The OR of the size types of count definitions from first.
UINT SpannedSizeTypes(const MarkupDefinitionList& definitions, int first, int count)
{
    UINT types = 0;
    for (int i = first; i < first + count; ++i)
        types |= definitions[static_cast<size_t>(i)]->GetLayout().sizeType;
    return types;
}

int SumOfMinimumSizes(const MarkupDefinitionList& definitions)
{
    long long sum = 0;
    for (COSMMarkupDefinitionBase* definition : definitions)
        sum += definition->GetLayout().minSize;
    return SaturateMarkupLength(sum);
}

// The final length of count definitions from first: their final sizes added up.
int SpanFinalLength(const MarkupDefinitionList& definitions, int first, int count)
{
    long long sum = 0;
    for (int i = first; i < first + count; ++i)
        sum += definitions[static_cast<size_t>(i)]->GetFinalSize();
    return SaturateMarkupLength(sum);
}

// Index and span kept within definitionCount definitions (at least one).
void ClampSpan(int definitionCount, int* index, int* span)
{
    *index = std::min(std::max(*index, 0), definitionCount - 1);
    *span = std::max(1, std::min(*span, definitionCount - *index));
}

// A grid's own definitions of a kind: none when it never made the collection.
bool IsEmpty(const COSMMarkupDefinitionCollection* definitions)
{
    return !definitions || definitions->GetCount() == 0;
}

// A collection holding the one star definition a grid without definitions of a kind lays out.
template <class Collection, class Definition> COSMMarkupDefinitionCollection* MakeSingleStarCollection()
{
    Collection* collection = new Collection;
    collection->Add(new Definition);
    return collection;
}

// Releases *held and takes over replacement.
void Replace(COSMMarkupDefinitionCollection** held, COSMMarkupDefinitionCollection* replacement)
{
    if (*held)
        (*held)->Release();
    *held = replacement;
}

}  // namespace

void COSMMarkupGrid::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    COSMMarkupType* intType = COSMMarkupInt::GetClassType();
    s_pColumnDefinitionsProperty = COSMMarkupDependencyProperty::Register(
        L"ColumnDefinitions", COSMMarkupColumnDefinitionCollection::GetClassType(), type);
    s_pRowDefinitionsProperty = COSMMarkupDependencyProperty::Register(
        L"RowDefinitions", COSMMarkupRowDefinitionCollection::GetClassType(), type);
    s_pColumnProperty = COSMMarkupDependencyProperty::RegisterAttached(
        L"Column", intType, type, new COSMMarkupPropertyMetadata(new COSMMarkupInt(0), &OnCellChanged, 0));
    s_pRowProperty = COSMMarkupDependencyProperty::RegisterAttached(
        L"Row", intType, type, new COSMMarkupPropertyMetadata(new COSMMarkupInt(0), &OnCellChanged, 0));
    s_pColumnSpanProperty = COSMMarkupDependencyProperty::RegisterAttached(
        L"ColumnSpan", intType, type, new COSMMarkupPropertyMetadata(new COSMMarkupInt(1), &OnCellChanged, 0));
    s_pRowSpanProperty = COSMMarkupDependencyProperty::RegisterAttached(
        L"RowSpan", intType, type, new COSMMarkupPropertyMetadata(new COSMMarkupInt(1), &OnCellChanged, 0));
}

COSMMarkupGrid::COSMMarkupGrid() = default;

COSMMarkupGrid::~COSMMarkupGrid()
{
    Replace(&m_pColumnsInUse, nullptr);
    Replace(&m_pRowsInUse, nullptr);
    for (COSMMarkupDefinitionCollection* collection :
         {static_cast<COSMMarkupDefinitionCollection*>(m_pRowDefinitions),
          static_cast<COSMMarkupDefinitionCollection*>(m_pColumnDefinitions)})
    {
        if (!collection)
            continue;
        if (collection->GetLogicalParent() == this)
            collection->SetLogicalParent(nullptr);
        collection->Release();
    }
}

COSMMarkupColumnDefinitionCollection* COSMMarkupGrid::GetColumnDefinitions() const
{
    if (!m_pColumnDefinitions)
    {
        m_pColumnDefinitions = new COSMMarkupColumnDefinitionCollection;
        m_pColumnDefinitions->SetLogicalParent(const_cast<COSMMarkupGrid*>(this));
    }
    return m_pColumnDefinitions;
}

COSMMarkupRowDefinitionCollection* COSMMarkupGrid::GetRowDefinitions() const
{
    if (!m_pRowDefinitions)
    {
        m_pRowDefinitions = new COSMMarkupRowDefinitionCollection;
        m_pRowDefinitions->SetLogicalParent(const_cast<COSMMarkupGrid*>(this));
    }
    return m_pRowDefinitions;
}

int COSMMarkupGrid::GetColumn(const COSMMarkupObject* child)
{
    return IntValue(child, s_pColumnProperty, 0);
}

int COSMMarkupGrid::GetRow(const COSMMarkupObject* child)
{
    return IntValue(child, s_pRowProperty, 0);
}

int COSMMarkupGrid::GetColumnSpan(const COSMMarkupObject* child)
{
    return std::max(1, IntValue(child, s_pColumnSpanProperty, 1));
}

int COSMMarkupGrid::GetRowSpan(const COSMMarkupObject* child)
{
    return std::max(1, IntValue(child, s_pRowSpanProperty, 1));
}

void COSMMarkupGrid::OnCellChanged(COSMMarkupObject* object, const COSMMarkupPropertyChange* change)
{
    const COSMMarkupUIElement* child = MarkupDynamicCast<COSMMarkupUIElement>(object);
    if (!child)
        return;
    if (COSMMarkupGrid* grid = MarkupDynamicCast<COSMMarkupGrid>(child->GetUIElementParent()))
        grid->InvalidateMeasure();
}

COSMMarkupObject* COSMMarkupGrid::GetValueCore(COSMMarkupDependencyProperty* property) const
{
    if (property && property == s_pColumnDefinitionsProperty)
        return GetColumnDefinitions();
    if (property && property == s_pRowDefinitionsProperty)
        return GetRowDefinitions();
    return COSMMarkupPanel::GetValueCore(property);
}

void COSMMarkupGrid::SetPropertyObject(COSMMarkupBuilder* builder, COSMMarkupDependencyProperty* property,
                                       COSMMarkupObject* value)
{
    if (property != s_pColumnDefinitionsProperty && property != s_pRowDefinitionsProperty)
    {
        COSMMarkupPanel::SetPropertyObject(builder, property, value);
        return;
    }
    const bool columns = property == s_pColumnDefinitionsProperty;
    COSMMarkupDefinitionCollection* collection = nullptr;
    if (columns)
        collection = MarkupDynamicCast<COSMMarkupColumnDefinitionCollection>(value);
    else
        collection = MarkupDynamicCast<COSMMarkupRowDefinitionCollection>(value);
    if (!collection)
    {
        COSMMarkupBuilder::ThrowBuilderException(columns ? "COSMMarkupColumnDefinitionCollection class expected"
                                                         : "COSMMarkupRowDefinitionCollection class expected");
    }
    COSMMarkupDefinitionCollection* old =
        columns ? static_cast<COSMMarkupDefinitionCollection*>(m_pColumnDefinitions) : m_pRowDefinitions;
    if (old == collection)
    {
        // Already ours: the reference handed over is one too many.
        collection->Release();
        return;
    }
    collection->SetLogicalParent(this);
    if (columns)
        m_pColumnDefinitions = static_cast<COSMMarkupColumnDefinitionCollection*>(collection);
    else
        m_pRowDefinitions = static_cast<COSMMarkupRowDefinitionCollection*>(collection);
    if (!old)
        return;
    if (old->GetLogicalParent() == this)
        old->SetLogicalParent(nullptr);
    old->Release();
}

void COSMMarkupGrid::UpdateDefinitionsInUse()
{
    if (IsEmpty(m_pColumnDefinitions))
    {
        Replace(&m_pColumnsInUse,
                MakeSingleStarCollection<COSMMarkupColumnDefinitionCollection, COSMMarkupColumnDefinition>());
    }
    else
    {
        m_pColumnDefinitions->AddRef();
        Replace(&m_pColumnsInUse, m_pColumnDefinitions);
    }
    if (IsEmpty(m_pRowDefinitions))
    {
        Replace(&m_pRowsInUse, MakeSingleStarCollection<COSMMarkupRowDefinitionCollection, COSMMarkupRowDefinition>());
    }
    else
    {
        m_pRowDefinitions->AddRef();
        Replace(&m_pRowsInUse, m_pRowDefinitions);
    }
    m_columns = ListDefinitions(m_pColumnsInUse);
    m_rows = ListDefinitions(m_pRowsInUse);
}

void COSMMarkupGrid::SetupCells()
{
    const COSMMarkupUIElementCollection* children = GetChildren();
    m_cells.assign(static_cast<size_t>(children->GetCount()), CellRecord{});
    m_bHasCells = true;
    std::fill(std::begin(m_groupHeads), std::end(m_groupHeads), kNoCell);
    m_bHasStarCellsInColumns = false;
    m_bHasStarCellsInRows = false;
    m_bHasGroup3CellsInAutoRows = false;
    const int columnCount = static_cast<int>(m_columns.size());
    const int rowCount = static_cast<int>(m_rows.size());
    // From the last slot to the first, so that every group lists its cells in child order.
    for (int i = children->GetCount() - 1; i >= 0; --i)
    {
        const COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        CellRecord& cell = m_cells[static_cast<size_t>(i)];
        cell.child = child;
        cell.columnIndex = GetColumn(child);
        cell.columnSpan = GetColumnSpan(child);
        ClampSpan(columnCount, &cell.columnIndex, &cell.columnSpan);
        cell.rowIndex = GetRow(child);
        cell.rowSpan = GetRowSpan(child);
        ClampSpan(rowCount, &cell.rowIndex, &cell.rowSpan);
        cell.columnSizeTypes = SpannedSizeTypes(m_columns, cell.columnIndex, cell.columnSpan);
        cell.rowSizeTypes = SpannedSizeTypes(m_rows, cell.rowIndex, cell.rowSpan);

        const bool starColumns = (cell.columnSizeTypes & Layout::StarSize) != 0;
        const bool starRows = (cell.rowSizeTypes & Layout::StarSize) != 0;
        m_bHasStarCellsInColumns |= starColumns;
        m_bHasStarCellsInRows |= starRows;
        CellGroup group;
        if (!starRows)
        {
            group = starColumns ? Group3 : Group1;
            if (starColumns)
                m_bHasGroup3CellsInAutoRows |= (cell.rowSizeTypes & Layout::AutoSize) != 0;
        }
        else
        {
            group = (cell.columnSizeTypes & Layout::AutoSize) && !starColumns ? Group2 : Group4;
        }
        cell.next = m_groupHeads[group];
        m_groupHeads[group] = i;
    }
}

void COSMMarkupGrid::MeasureCell(COSMMarkupDrawingContext* dc, COSMMarkupUIElement* child, const CellRecord& cell,
                                 bool forceInfiniteHeight)
{
    const auto onlyAuto = [](UINT types) { return (types & Layout::AutoSize) != 0 && (types & Layout::StarSize) == 0; };
    const int width =
        onlyAuto(cell.columnSizeTypes)
            ? INT_MAX
            : TruncateMarkupLength(GetMarkupSpanMeasureSize(m_columns, cell.columnIndex, cell.columnSpan));
    const int height = forceInfiniteHeight || onlyAuto(cell.rowSizeTypes)
                           ? INT_MAX
                           : TruncateMarkupLength(GetMarkupSpanMeasureSize(m_rows, cell.rowIndex, cell.rowSpan));
    child->Measure(dc, width, height);
}

void COSMMarkupGrid::MeasureCellGroup(COSMMarkupDrawingContext* dc, int head, bool ignoreWidth,
                                      bool forceInfiniteHeight)
{
    // A spanning cell's need is spread once all single cells of the group have raised their definitions.
    struct SpanNeed
    {
        int count;
        int first;
        bool columns;
        int size;
    };
    std::vector<SpanNeed> spans;
    const COSMMarkupUIElementCollection* children = GetChildren();
    for (int i = head; i != kNoCell; i = m_cells[static_cast<size_t>(i)].next)
    {
        const CellRecord& cell = m_cells[static_cast<size_t>(i)];
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        MeasureCell(dc, child, cell, forceInfiniteHeight);
        const CSize desired = child->GetDesiredSize();
        if (!ignoreWidth)
        {
            if (cell.columnSpan == 1)
            {
                int& minSize = m_columns[static_cast<size_t>(cell.columnIndex)]->GetLayout().minSize;
                minSize = std::max<int>(minSize, desired.cx);
            }
            else
            {
                spans.push_back(SpanNeed{cell.columnSpan, cell.columnIndex, true, desired.cx});
            }
        }
        if (!forceInfiniteHeight)
        {
            if (cell.rowSpan == 1)
            {
                int& minSize = m_rows[static_cast<size_t>(cell.rowIndex)]->GetLayout().minSize;
                minSize = std::max<int>(minSize, desired.cy);
            }
            else
            {
                spans.push_back(SpanNeed{cell.rowSpan, cell.rowIndex, false, desired.cy});
            }
        }
    }
    for (const SpanNeed& span : spans)
        DistributeMarkupMinimumSize(span.columns ? m_columns : m_rows, span.first, span.count, span.size);
}

CSize COSMMarkupGrid::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const COSMMarkupUIElementCollection* children = GetChildren();
    if (IsEmpty(m_pColumnDefinitions) && IsEmpty(m_pRowDefinitions))
    {
        // One cell: the records of an earlier layout with definitions no longer apply.
        m_cells.clear();
        m_bHasCells = false;
        CSize largest(0, 0);
        for (int i = 0; i < children->GetCount(); ++i)
        {
            COSMMarkupUIElement* child = children->GetElement(i);
            if (!child)
                continue;
            child->Measure(dc, availableWidth, availableHeight);
            const CSize desired = child->GetDesiredSize();
            largest.cx = std::max<int>(largest.cx, desired.cx);
            largest.cy = std::max<int>(largest.cy, desired.cy);
        }
        return largest;
    }

    UpdateDefinitionsInUse();
    SetupMarkupDefinitions(m_columns, availableWidth > kUnboundedGridLength);
    SetupMarkupDefinitions(m_rows, availableHeight > kUnboundedGridLength);
    SetupCells();
    MeasureCellGroup(dc, m_groupHeads[Group1], false, false);
    if (!m_bHasGroup3CellsInAutoRows)
    {
        if (m_bHasStarCellsInRows)
            ResolveMarkupStars(m_rows, availableHeight);
        MeasureCellGroup(dc, m_groupHeads[Group2], false, false);
        if (m_bHasStarCellsInColumns)
            ResolveMarkupStars(m_columns, availableWidth);
        MeasureCellGroup(dc, m_groupHeads[Group3], false, false);
    }
    else if (m_groupHeads[Group2] == kNoCell)
    {
        if (m_bHasStarCellsInColumns)
            ResolveMarkupStars(m_columns, availableWidth);
        MeasureCellGroup(dc, m_groupHeads[Group3], false, false);
        if (m_bHasStarCellsInRows)
            ResolveMarkupStars(m_rows, availableHeight);
    }
    else
    {
        // Cells of star rows and Auto columns first size their columns in unbounded height; once the star
        // columns and, through the third group, the Auto rows are known, they size their rows.
        MeasureCellGroup(dc, m_groupHeads[Group2], false, true);
        if (m_bHasStarCellsInColumns)
            ResolveMarkupStars(m_columns, availableWidth);
        MeasureCellGroup(dc, m_groupHeads[Group3], false, false);
        if (m_bHasStarCellsInRows)
            ResolveMarkupStars(m_rows, availableHeight);
        MeasureCellGroup(dc, m_groupHeads[Group2], true, false);
    }
    MeasureCellGroup(dc, m_groupHeads[Group4], false, false);
    return CSize(SumOfMinimumSizes(m_columns), SumOfMinimumSizes(m_rows));
}

const COSMMarkupGrid::CellRecord* COSMMarkupGrid::FindCell(int index, const COSMMarkupUIElement* child) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_cells.size())
        return nullptr;
    const CellRecord& cell = m_cells[static_cast<size_t>(index)];
    return cell.child == child ? &cell : nullptr;
}

CSize COSMMarkupGrid::ArrangeOverride(int width, int height)
{
    const COSMMarkupUIElementCollection* children = GetChildren();
    const bool noDefinitions = IsEmpty(m_pColumnDefinitions) && IsEmpty(m_pRowDefinitions);
    // The definitions in use may have changed since the measure: the list is read again and every record kept
    // within it.
    m_columns = ListDefinitions(m_pColumnsInUse);
    m_rows = ListDefinitions(m_pRowsInUse);
    const bool laidOut = !noDefinitions && m_bHasCells && !m_columns.empty() && !m_rows.empty();
    if (laidOut)
    {
        ComputeMarkupFinalSizes(m_columns, width);
        ComputeMarkupFinalSizes(m_rows, height);
    }
    for (int i = 0; i < children->GetCount(); ++i)
    {
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        const CellRecord* cell = laidOut ? FindCell(i, child) : nullptr;
        if (!cell)
        {
            child->Arrange(0, 0, width, height);
            continue;
        }
        int column = cell->columnIndex;
        int columnSpan = cell->columnSpan;
        int row = cell->rowIndex;
        int rowSpan = cell->rowSpan;
        ClampSpan(static_cast<int>(m_columns.size()), &column, &columnSpan);
        ClampSpan(static_cast<int>(m_rows.size()), &row, &rowSpan);
        const int x = m_columns[static_cast<size_t>(column)]->GetFinalOffset();
        const int y = m_rows[static_cast<size_t>(row)]->GetFinalOffset();
        child->Arrange(x, y, AddMarkupLengths(x, SpanFinalLength(m_columns, column, columnSpan)),
                       AddMarkupLengths(y, SpanFinalLength(m_rows, row, rowSpan)));
    }
    return CSize(width, height);
}
