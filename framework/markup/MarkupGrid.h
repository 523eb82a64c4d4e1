// COSMMarkupGrid (tag "Grid"): the table panel. Rows and columns have fixed, automatic or proportional ("star")
// sizes; children sit in cells by the attached Column and Row and may span several with ColumnSpan and RowSpan.
//
//   <Grid>
//     <Grid.ColumnDefinitions><ColumnDefinition Width="Auto"/><ColumnDefinition/></Grid.ColumnDefinitions>
//     <Border Grid.Column="1" Grid.RowSpan="2"/>
//   </Grid>
//
// Without definitions the grid is one cell and its children overlap. A Column or Row past the end lands in the last
// definition and one below 0 in the first; a span is cut at the end, and spans below 1 count as 1. In unbounded
// room (above 32000 pixels) star definitions size to their content like Auto ones.
//
// The measure pass sorts the cells into four groups and measures them in an order that lets automatic and star
// sizes settle each other (MarkupGridSizing.h does the arithmetic); the arrange pass uses the cells of the last
// measure, and a child added since then covers the whole grid until the next one. Changing a child's cell
// re-measures the grid; changing a definition takes effect at the next measure.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupGridSizing.h"
#include "framework/markup/MarkupPanel.h"

#include <vector>

class COSMMarkupColumnDefinitionCollection;
class COSMMarkupDefinitionCollection;
class COSMMarkupRowDefinitionCollection;

class COSMMarkupGrid : public COSMMarkupPanel
{
    DECLARE_MARKUP_TYPE(COSMMarkupGrid)

public:
    // Both definition collections, empty, the grid their parent.
    COSMMarkupGrid();

protected:
    // Releases the definitions, their collections and those in use.
    ~COSMMarkupGrid() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // ColumnDefinitions and RowDefinitions answer the grid's collections.
    COSMMarkupObject* GetValueCore(COSMMarkupDependencyProperty* property) const override;
    // ColumnDefinitions and RowDefinitions replace the collection (taking over value's reference) and throw
    // "<collection class> class expected" for anything but a collection of their own kind; every other property as
    // the input element does.
    void SetPropertyObject(COSMMarkupBuilder* builder, COSMMarkupDependencyProperty* property,
                           COSMMarkupObject* value) override;
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Made on first request: most grids of a document name only one kind, or none.
    COSMMarkupColumnDefinitionCollection* GetColumnDefinitions() const;
    COSMMarkupRowDefinitionCollection* GetRowDefinitions() const;
    // The definitions the last measure laid out (the grid's own, or the one star definition it makes when it has
    // none of a kind); null before the first measure with definitions.
    COSMMarkupDefinitionCollection* GetColumnsInUse() const { return m_pColumnsInUse; }
    COSMMarkupDefinitionCollection* GetRowsInUse() const { return m_pRowsInUse; }

    // The child's attached values: Column and Row as set (0 when unset), the spans 1 when unset or below 1.
    static int GetColumn(const COSMMarkupObject* child);
    static int GetRow(const COSMMarkupObject* child);
    static int GetColumnSpan(const COSMMarkupObject* child);
    static int GetRowSpan(const COSMMarkupObject* child);

    // ColumnDefinitions, RowDefinitions; Column, Row, ColumnSpan, RowSpan (attached; re-measure the child's grid).
    static COSMMarkupDependencyProperty* s_pColumnDefinitionsProperty;
    static COSMMarkupDependencyProperty* s_pRowDefinitionsProperty;
    static COSMMarkupDependencyProperty* s_pColumnProperty;
    static COSMMarkupDependencyProperty* s_pRowProperty;
    static COSMMarkupDependencyProperty* s_pColumnSpanProperty;
    static COSMMarkupDependencyProperty* s_pRowSpanProperty;
    static void RegisterMarkupProperties();

private:
    // Where one child sits, as the last measure found it.
    struct CellRecord
    {
        int columnIndex;
        int rowIndex;
        int columnSpan;
        int rowSpan;
        // The size types of the spanned columns and rows, ORed.
        UINT columnSizeTypes;
        UINT rowSizeTypes;
        // The next cell of the same group, or kNoCell.
        int next;
        // The child the record was made for (not counted): a slot that holds another child since has no cell.
        const COSMMarkupUIElement* child;
    };
    static constexpr int kNoCell = 0x7FFFFFFF;
    enum CellGroup
    {
        Group1,  // no star anywhere
        Group2,  // star rows, Auto columns
        Group3,  // star columns, no star rows
        Group4,  // star rows and star or pixel columns
        GroupCount,
    };

    static void OnCellChanged(COSMMarkupObject* object, const COSMMarkupPropertyChange* change);

    // Takes the grid's definitions, or one star definition of a kind the grid has none of.
    void UpdateDefinitionsInUse();
    void SetupCells();
    // Measures the cells of a group and raises the spanned definitions' minimum sizes to what the children need.
    void MeasureCellGroup(COSMMarkupDrawingContext* dc, int head, bool ignoreWidth, bool forceInfiniteHeight);
    void MeasureCell(COSMMarkupDrawingContext* dc, COSMMarkupUIElement* child, const CellRecord& cell,
                     bool forceInfiniteHeight);
    // The record of the child in slot index, or null when the last measure made none for it.
    const CellRecord* FindCell(int index, const COSMMarkupUIElement* child) const;

    // The grid's own definitions: null until asked for (an absent collection counts as empty).
    mutable COSMMarkupRowDefinitionCollection* m_pRowDefinitions = nullptr;
    mutable COSMMarkupColumnDefinitionCollection* m_pColumnDefinitions = nullptr;
    std::vector<CellRecord> m_cells;
    bool m_bHasCells = false;
    int m_groupHeads[GroupCount] = {kNoCell, kNoCell, kNoCell, kNoCell};
    bool m_bHasStarCellsInColumns = false;
    bool m_bHasStarCellsInRows = false;
    bool m_bHasGroup3CellsInAutoRows = false;
    COSMMarkupDefinitionCollection* m_pColumnsInUse = nullptr;
    COSMMarkupDefinitionCollection* m_pRowsInUse = nullptr;
    // The definitions in use, borrowed from those collections.
    MarkupDefinitionList m_columns;
    MarkupDefinitionList m_rows;
};
