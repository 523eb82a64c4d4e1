// The records of a group's layout pass and the steps that work on them alone (no window, no font): the column layout
// of large and medium buttons, the rows of toolbar-like blocks, and the centring of a column.
//
//   std::vector<COSMRibbonGroupControlInfo> records = ...;   // sizes measured, NewColumn marks block starts
//   COSMRibbonGroupLayout::CalcBlockWidths(records);
//   const int rows = COSMRibbonGroupLayout::WrapBlocks(records, width / 2, FALSE) + 1;
//   const int width = COSMRibbonGroupLayout::PlaceRows(records);
#pragma once

#include "classlib/Geometry.h"

#include <vector>

class COSMControl;

// One control taking part in a pass.
struct COSMRibbonGroupControlInfo
{
    CRect rect;               // where the control goes
    CRect rowRect;            // the band it belongs to
    CSize size;               // as measured
    BOOL hidden = FALSE;      // hidden because the group is reduced
    BOOL wrap = FALSE;        // starts a new row
    BOOL beginGroup = FALSE;  // the control's BeginGroup
    BOOL newColumn = FALSE;   // BeginGroup, or the control's wrap flag (128)
    int style = 0;            // the control's effective style when measured
    COSMControl* control = nullptr;
    int blockWidth = 0;  // width from here to the end of the block
};

// One group's pass.
struct COSMRibbonGroupLayoutInfo
{
    std::vector<COSMRibbonGroupControlInfo> records;
    int captionWidth = 0;
    int controlsWidth = 0;
    BOOL wasReduced = FALSE;
    int GetCount() const { return static_cast<int>(records.size()); }
};

class COSMRibbonGroupLayout
{
public:
    using Records = std::vector<COSMRibbonGroupControlInfo>;

    // Pixels a BeginGroup adds between columns and between blocks of a row.
    static constexpr int kColumnGroupGap = 6;
    static constexpr int kBlockGroupGap = 3;

    // Columns from x = 2: a large control (style 4), a NewColumn control or one that does not fit under the previous
    // one in the height starts a column. The controls' width: the rightmost edge + 2.
    static int LayoutColumns(Records& records, int height);
    // Each record's width to the end of its block, from the last record back.
    static void CalcBlockWidths(Records& records);
    // Sets the Wrap flags and returns their number: a block start whose control has the wrap flag always wraps;
    // another wraps when it would reach the limit and (force, or no wrap happened yet in this call).
    static int WrapBlocks(Records& records, int limit, BOOL force);
    // Places the rows the Wrap flags make (each as low as the tallest control so far); the rows' width + 4.
    static int PlaceRows(Records& records);
    // Finds the narrowest limit giving two wraps at most; FALSE when the blocks cannot make three rows.
    static BOOL FitThreeRows(Records& records);
    // Spreads the rows down the height: equal room above, between and below them.
    static void SpreadRows(Records& records, int height, int rowHeight, int rows);
    // Moves the column's non-hidden records (first..last) down by 1, 2, 3 ... gaps so that equal gaps stand above,
    // between and below them in the room.
    static void CenterColumn(Records& records, int first, int last, int room);
};
