// COSMMarkupUniformGrid (tag "UniformGrid"): equal cells in rows and columns, filled left to right from
// FirstColumn of the first row. Without Rows and Columns the grid is square, just large enough for its visible
// children; with one of them the other follows from the number of children. A collapsed child takes no cell.
//
//   <UniformGrid Columns="3" FirstColumn="1"> ... </UniformGrid>
//
// Rows, Columns and FirstColumn below 0 count as unset, so there is always at least one row and one column.
// Products of cell sizes and counts saturate at 2147483647.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupPanel.h"

class COSMMarkupUniformGrid : public COSMMarkupPanel
{
    DECLARE_MARKUP_TYPE(COSMMarkupUniformGrid)

public:
    COSMMarkupUniformGrid() = default;

protected:
    ~COSMMarkupUniformGrid() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Works out the rows and columns, measures every child with one cell and asks for the largest child's size
    // in every cell.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The layout of the last measure.
    int GetComputedColumns() const { return m_nColumns; }
    int GetComputedRows() const { return m_nRows; }
    int GetComputedFirstColumn() const { return m_nFirstColumn; }

    // FirstColumn, Columns, Rows (all re-measure).
    static COSMMarkupDependencyProperty* s_pFirstColumnProperty;
    static COSMMarkupDependencyProperty* s_pColumnsProperty;
    static COSMMarkupDependencyProperty* s_pRowsProperty;
    static void RegisterMarkupProperties();

private:
    void ComputeLayout();

    int m_nColumns = 1;
    int m_nRows = 1;
    int m_nFirstColumn = 0;
};
