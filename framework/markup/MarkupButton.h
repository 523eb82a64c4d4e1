// COSMMarkupButton (tag "Button"): the push button. Without a Background it draws the visual style's push button
// (normal, hot, pressed) when visual styles are on; otherwise a classic bevel in the system's 3-D colours, or in
// shades of its Background's colour. Pressed, its content moves down and right by one pixel unless the visual
// style draws it. The keyboard focus shows a dotted rectangle 3 pixels inside.
//
//   <Button Padding="6,2" Click="OnOk">OK</Button>
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupButtonBase.h"

class COSMMarkupButton : public COSMMarkupButtonBase
{
    DECLARE_MARKUP_TYPE(COSMMarkupButton)

public:
    COSMMarkupButton() = default;

protected:
    ~COSMMarkupButton() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    void OnRender(COSMMarkupDrawingContext* dc) override;
    void OnRenderFocusVisual(COSMMarkupDrawingContext* dc) override;
    // The content plus Padding plus 4 on every side.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    // The content inside Padding and 4 pixels, moved by (1, 1) while pressed unless the visual style draws it.
    CSize ArrangeOverride(int width, int height) override;
};

// The classic bevel's colours for a face colour: light, shadow and dark derived through hue, saturation and
// luminance (light halfway to white, shadow two thirds of the luminance, dark the shadow's channels halved).
struct COSMMarkupBevelColors
{
    COLORREF face;
    COLORREF light;
    COLORREF shadow;
    COLORREF dark;
};
COSMMarkupBevelColors GetMarkupBevelColors(COLORREF face);

// The platform's dotted focus rectangle in white on black, through the drawing context's DC.
void DrawMarkupFocusRect(COSMMarkupDrawingContext* dc, const RECT& rect);
