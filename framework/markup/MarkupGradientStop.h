// COSMMarkupGradientStop: one colour of a gradient at an offset along it (0 start, 1 end), and
// COSMMarkupGradientStops, the collection of a linear gradient brush's stops in markup order.
#pragma once

#include "framework/markup/MarkupCollection.h"

class COSMMarkupGradientStop : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupGradientStop)

public:
    COSMMarkupGradientStop() = default;

    // The Color value (alpha in the top byte); 0 while unset.
    UINT GetColor() const;
    // The Offset value; 0.0 while unset.
    double GetOffset() const;

    static COSMMarkupDependencyProperty* s_pColorProperty;
    static COSMMarkupDependencyProperty* s_pOffsetProperty;
    static void RegisterMarkupProperties();
};

class COSMMarkupGradientStops : public COSMMarkupCollection
{
    DECLARE_MARKUP_TYPE(COSMMarkupGradientStops)

public:
    // Takes COSMMarkupGradientStop items only.
    COSMMarkupGradientStops();

    // Nothing to do when a stop arrives: the renderers read the stops as they stand.
    void OnItemAdded(COSMMarkupObject* item, int index) override;
};
