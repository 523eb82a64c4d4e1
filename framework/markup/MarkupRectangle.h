// COSMMarkupRectangle (tag "Rectangle"): a filled and framed rectangle over its render size, with rounded corners
// when both RadiusX and RadiusY are above 0 (each limited to half the side less the stroke).
//
//   <Rectangle Width="40" Height="20" RadiusX="4" RadiusY="4" Fill="White" Stroke="Gray"/>
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupShape.h"

class COSMMarkupRectangle : public COSMMarkupShape
{
    DECLARE_MARKUP_TYPE(COSMMarkupRectangle)

public:
    COSMMarkupRectangle() = default;

    void OnRender(COSMMarkupDrawingContext* dc) override;
    // The room offered when stretched (0 for an unbounded side); 0 by 0 otherwise: Width, Height and the
    // arrangement size it.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;

    static COSMMarkupDependencyProperty* s_pRadiusXProperty;
    static COSMMarkupDependencyProperty* s_pRadiusYProperty;
    static void RegisterMarkupProperties();
};
