// COSMMarkupScrollBarGripper: the corner a scroll viewer shows where its two bars meet (no markup tag). It fills its
// own render rectangle with the button-face colour.
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
};
