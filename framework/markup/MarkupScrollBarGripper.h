// COSMMarkupScrollBarGripper: the corner a scroll viewer shows where its two bars meet (no markup tag). It fills its
// own render rectangle with the button-face colour, placed where its arrange put it (the viewer's corner).
#pragma once

#include "framework/markup/MarkupUIElement.h"

class COSMMarkupScrollBarGripper : public COSMMarkupUIElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupScrollBarGripper)

public:
    COSMMarkupScrollBarGripper() = default;

protected:
    ~COSMMarkupScrollBarGripper() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    void OnRender(COSMMarkupDrawingContext* dc) override;
    // The render size, and the offset of the final rectangle: a bare UI element would draw at its parent's origin.
    void ArrangeCore(const CRect& finalRect) override;
};
