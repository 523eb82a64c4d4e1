// COSMMarkupWrapPanel (tag "WrapPanel"): children side by side in lines that wrap at the panel's edge, horizontal
// unless Orientation says Vertical. ItemWidth and ItemHeight give every item the same size; 0 or less (or "Auto",
// which the integer reader makes 0) leaves each child its own. An item longer than the line sits alone on it.
//
//   <WrapPanel ItemWidth="40"><Border/><Border/><Border/></WrapPanel>
//
// Line lengths and the sum of line breadths saturate at 2147483647 instead of wrapping.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupStackPanel.h"

class COSMMarkupWrapPanel : public COSMMarkupPanel
{
    DECLARE_MARKUP_TYPE(COSMMarkupWrapPanel)

public:
    COSMMarkupWrapPanel() = default;

protected:
    ~COSMMarkupWrapPanel() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // The widest line by the lines' total breadth (swapped when vertical).
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The Orientation value, Horizontal when unset.
    COSMMarkupStackPanel::Orientation GetOrientation() const;
    // ItemWidth and ItemHeight; 0 when unset or not positive.
    int GetItemWidth() const;
    int GetItemHeight() const;

    // Orientation, ItemHeight, ItemWidth (all re-measure).
    static COSMMarkupDependencyProperty* s_pOrientationProperty;
    static COSMMarkupDependencyProperty* s_pItemHeightProperty;
    static COSMMarkupDependencyProperty* s_pItemWidthProperty;
    static void RegisterMarkupProperties();

private:
    // One line of items: its length along the line and its breadth across it.
    struct Line
    {
        long long length = 0;
        int breadth = 0;
    };

    // Breaks the children into lines at limit and calls onLine(first slot, end slot, line) for each line, the last
    // included.
    template <class OnLine> void BreakLines(bool horizontal, long long limit, OnLine onLine) const;
    // The size child takes in a line: the item size where it is set, else the child's desired size.
    CSize GetItemSize(const COSMMarkupUIElement* child) const;
    // Arranges the children from first to last (exclusive) as one line at lineOffset across the panel.
    void ArrangeLine(int first, int last, int lineOffset, int lineBreadth, bool horizontal);
};
