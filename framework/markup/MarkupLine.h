// COSMMarkupLine (tag "Line"): a stroked line from (X1, Y1) to (X2, Y2). With Stretch set each axis spans the
// render size (or lies in its middle when both ends share it). The mouse hits it within half the stroke.
//
//   <Line X1="0" Y1="10" X2="20" Y2="10" Stroke="Black"/>
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupShape.h"

class COSMMarkupLine : public COSMMarkupShape
{
    DECLARE_MARKUP_TYPE(COSMMarkupLine)

public:
    COSMMarkupLine() = default;

    void OnRender(COSMMarkupDrawingContext* dc) override;
    COSMMarkupInputElement* InputHitTestCore(int x, int y) override;
    // max(X1, X2) by max(Y1, Y2), a stroked flat axis growing by half the thickness rounded up; the room offered
    // when stretched.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;

    // The end points as drawn.
    void GetLinePoints(int* x1, int* y1, int* x2, int* y2) const;

    static COSMMarkupDependencyProperty* s_pX1Property;
    static COSMMarkupDependencyProperty* s_pY1Property;
    static COSMMarkupDependencyProperty* s_pX2Property;
    static COSMMarkupDependencyProperty* s_pY2Property;
    static void RegisterMarkupProperties();
};
