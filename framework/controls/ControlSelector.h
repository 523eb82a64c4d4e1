// COSMControlSelector: a grid of cells in a popup that the user sweeps from its top-left corner to pick a number of
// columns and rows (a table-size picker). Moving over it selects the cells up to the cursor; dragging past its right
// or bottom edge with the button held grows the grid, never past "ItemsMax" and never shrinking while the popup is
// open; releasing the button over a selection executes with it as the result. Every change of the selection tells
// the site (notification 4102), so that it can show "3 x 2" somewhere. A subclass paints cell contents in
// OnDrawItem:
//
//   auto* selector = new COSMControlSelector;           // 5 x 4 cells of 28 x 28 shown, up to 12 x 12
//   popup->GetControls()->AddControl(selector, ID_INSERT_TABLE);
//   ... on the command: CSize size = selector->GetResult();
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "framework/commandbars/Control.h"

class COSMControlSelector : public COSMControl
{
    DECLARE_SERIAL(COSMControlSelector)

public:
    // Sent to the site whenever the selected cells change.
    static constexpr UINT kNotifySelectionChanged = 4102;

    // 5 x 4 cells shown, at most 12 x 12, each 28 x 28 pixels.
    COSMControlSelector();

    // ---- Override these ----------------------------------------------------------------------------------------
    // Paints the contents of one cell (already filled and framed) in the text colour; nothing in the base.
    virtual void OnDrawItem(CDC* dc, CRect cell, COLORREF textColor) {}

    // "ItemSize" times the grid.
    CSize GetSize(CDC* dc) override;
    // Every cell filled (selected ones in the highlight colour), framed, then OnDrawItem.
    void Draw(CDC* dc) override;
    // A new build of the popup starts again at "ItemsCount" with nothing selected, unless the grid is growing.
    void BuildDynamicItems(DWORD layoutMode) override;
    // The control keys, then "ItemsCount", "ItemsMax" and "ItemSize"; a cell size below 1 loads as 1.
    void DoPropExchange(COSMPropExchange* px) override;
    void Copy(const COSMControl* source, BOOL recursive) override;
    // Nothing: the selection is made by moving and executed on the release.
    void OnClick(BOOL keyboard, CPoint point) override {}
    // Executes when cells are selected, with them as the result.
    void OnLButtonUp(CPoint point) override;
    // Selects the columns and rows whose left and top edges lie before the point (parent-bar coordinates).
    void OnMouseMove(CPoint point) override;
    // Leaving the control with the button held past the right or bottom edge grows the grid; leaving it otherwise
    // clears the selection.
    BOOL SetSelected(int selected) override;
    COSMControl* Clone(BOOL recursive) const override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    CSize GetItemsCount() const { return m_itemsCount; }
    void SetItemsCount(CSize count) { m_itemsCount = count; }
    CSize GetItemsMax() const { return m_itemsMax; }
    void SetItemsMax(CSize most) { m_itemsMax = most; }
    CSize GetItemSize() const { return m_itemSize; }
    // A width or height below 1 becomes 1.
    void SetItemSize(CSize size);
    // The selected columns and rows (0 x 0: none).
    CSize GetSelectedCells() const { return m_selectedCells; }
    // Stores the cells when they differ (or with force), redraws and tells the site.
    void SetSelectedCells(CSize cells, BOOL force = FALSE);
    // The selection at the last execution.
    CSize GetResult() const { return m_result; }
    // The columns and rows shown now.
    CSize GetGrid() const { return m_grid; }

private:
    // Grows the grid towards the cursor (parent-bar coordinates) while the left button is held; TRUE when it grew.
    BOOL GrowTowards(CPoint cursor);

    CSize m_itemsCount{5, 4};
    CSize m_itemsMax{12, 12};
    CSize m_selectedCells{0, 0};
    CSize m_itemSize{28, 28};
    CSize m_result{0, 0};
    CSize m_grid{5, 4};
    BOOL m_expanding = FALSE;
};
