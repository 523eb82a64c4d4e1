// COSMMarkupEllipse (tag "Ellipse"): an ellipse filling its render size, its outline inside it. The mouse hits it
// only inside the ellipse.
//
//   <Ellipse Width="20" Height="10" Fill="Blue" Stroke="Black" StrokeThickness="2"/>
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupShape.h"

class COSMMarkupEllipse : public COSMMarkupShape
{
    DECLARE_MARKUP_TYPE(COSMMarkupEllipse)

public:
    COSMMarkupEllipse() = default;

    void OnRender(COSMMarkupDrawingContext* dc) override;
    // Inside the ellipse; an ellipse less than a pixel wide or high counts as hit everywhere.
    COSMMarkupInputElement* InputHitTestCore(int x, int y) override;
    // As the rectangle's: the room offered when stretched, else 0 by 0.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
};
