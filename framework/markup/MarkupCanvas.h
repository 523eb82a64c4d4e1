// COSMMarkupCanvas (tag "Canvas"): a panel that places each child at the position its attached properties give,
// at the child's desired size. Left beats Right and Top beats Bottom; a child with neither sits at 0.
//
//   <Canvas><Border Canvas.Left="5" Canvas.Bottom="7" Width="10" Height="10"/></Canvas>
//
// Children are measured with unbounded room; the canvas asks no room for itself. Positions near the 32-bit limits
// saturate instead of wrapping.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupPanel.h"

class COSMMarkupCanvas : public COSMMarkupPanel
{
    DECLARE_MARKUP_TYPE(COSMMarkupCanvas)

public:
    COSMMarkupCanvas() = default;

protected:
    ~COSMMarkupCanvas() override;

public:
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;

    // Top, Right, Left and Bottom: integers, attached to the children.
    static COSMMarkupDependencyProperty* s_pTopProperty;
    static COSMMarkupDependencyProperty* s_pRightProperty;
    static COSMMarkupDependencyProperty* s_pLeftProperty;
    static COSMMarkupDependencyProperty* s_pBottomProperty;
    static void RegisterMarkupProperties();
};
