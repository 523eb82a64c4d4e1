// COSMMarkupStackPanel (tag "StackPanel"): children one after another in a line, vertical unless Orientation says
// Horizontal. Each child keeps its desired length along the line and gets at least the panel's breadth across it;
// a child broader than the panel keeps its own breadth and is never shrunk.
//
//   <StackPanel Orientation="Horizontal"><Border Width="30"/><Border Width="50"/></StackPanel>
//
// Sums of the children's lengths saturate at 2147483647 instead of wrapping.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupPanel.h"

class COSMMarkupStackPanel : public COSMMarkupPanel
{
    DECLARE_MARKUP_TYPE(COSMMarkupStackPanel)

public:
    enum Orientation
    {
        Horizontal = 0,
        Vertical = 1,
    };

    COSMMarkupStackPanel() = default;

protected:
    ~COSMMarkupStackPanel() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Along the line the children get unbounded room; the result is the sum of their lengths by the largest
    // breadth.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The Orientation value, Vertical when unset.
    Orientation GetOrientation() const;

    // Orientation (re-measures).
    static COSMMarkupDependencyProperty* s_pOrientationProperty;
    static void RegisterMarkupProperties();
};
