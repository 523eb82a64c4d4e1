// COSMMarkupBorder (tag "Border"): one child inside a frame and a padding, on an optional background.
//
//   <Border BorderThickness="1" BorderBrush="Gray" Padding="4" Background="White" CornerRadius="3">
//     <TextBlock>...</TextBlock>
//   </Border>
//
// A border without a background lets the mouse through, except over its child. Corner radii go to the drawing
// context, which draws them as its renderer can.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupSingleChildElement.h"

class COSMMarkupBrush;

class COSMMarkupBorder : public COSMMarkupSingleChildElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupBorder)

public:
    COSMMarkupBorder() = default;

protected:
    ~COSMMarkupBorder() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Frame and background, when the render size is at least 1 by 1 and there is a brush to draw with.
    void OnRender(COSMMarkupDrawingContext* dc) override;
    // The border itself where it has a background; nothing without one.
    COSMMarkupInputElement* InputHitTestCore(int x, int y) override;
    // The child's size plus the frame and the padding.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    // The child inside the frame and the padding.
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The property values (borrowed), or null.
    COSMMarkupBrush* GetBackground() const;
    COSMMarkupBrush* GetBorderBrush() const;

    // Background (repaints), Padding (re-measures), BorderThickness (re-measures), BorderBrush (repaints),
    // CornerRadius (a thickness: left, top, right, bottom radii; repaints).
    static COSMMarkupDependencyProperty* s_pBackgroundProperty;
    static COSMMarkupDependencyProperty* s_pPaddingProperty;
    static COSMMarkupDependencyProperty* s_pBorderThicknessProperty;
    static COSMMarkupDependencyProperty* s_pBorderBrushProperty;
    static COSMMarkupDependencyProperty* s_pCornerRadiusProperty;
    static void RegisterMarkupProperties();
};
