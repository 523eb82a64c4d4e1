// COSMMarkupPage (tag "Page"): the usual root of a markup text, an element with one child that it lays out over its
// whole area. A page is never hit itself: beside its child the mouse finds nothing.
//
//   <Page><Border Background="White">...</Border></Page>
//
// It keeps its child as every single-child element does (same checks, same messages); its record's base is the
// framework element's, as the single-child base has no record of its own.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupSingleChildElement.h"

class COSMMarkupPage : public COSMMarkupSingleChildElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupPage)

public:
    COSMMarkupPage() = default;

protected:
    ~COSMMarkupPage() override;

public:
    COSMMarkupInputElement* InputHitTestCore(int x, int y) override;
    // The child's desired size in the available room; (0, 0) without a child.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    // The child over the whole area.
    CSize ArrangeOverride(int width, int height) override;
};
