// COSMMarkupControl (tag "Control"): the base of the markup's controls. It lays its first visual child out over its
// whole area and carries the looks its subclasses draw with: Background (the panel's property), Foreground (the text
// element's inherited one, so text inside a control takes it) and Padding (the border's).
//
//   <Control Background="Gray" Padding="4"/>
//
// A bare Control has no child and draws nothing; the content control and the buttons build on it.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupFrameworkElement.h"

class COSMMarkupBrush;
class COSMMarkupThickness;

class COSMMarkupControl : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupControl)

public:
    COSMMarkupControl() = default;

protected:
    ~COSMMarkupControl() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // The first visual child measured with the whole room: its desired size; (0, 0) without one.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    // The first visual child over (0, 0, width, height); the size given.
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The property values (borrowed), or null.
    COSMMarkupBrush* GetBackground() const;
    const COSMMarkupThickness* GetPadding() const;
    // left + right and top + bottom of Padding.
    CSize GetPaddingSums() const;

    // Background (the panel's), Foreground (the text element's, inherited), Padding (the border's).
    static COSMMarkupDependencyProperty* s_pBackgroundProperty;
    static COSMMarkupDependencyProperty* s_pForegroundProperty;
    static COSMMarkupDependencyProperty* s_pPaddingProperty;
    static void RegisterMarkupProperties();
};
