// COSMMarkupCheckBox (tag "CheckBox"): a toggle button drawn as a 13 by 13 box left of its content, vertically
// centred: the visual style's check box (normal, hot, pressed; plus 4 checked, plus 8 indeterminate) when visual
// styles are on, else the classic frame control. The content starts 16 pixels in.
//
//   <CheckBox IsThreeState="True" IsChecked="" Checked="OnChecked">Remember me</CheckBox>
//
// The radio button measures, arranges and shows its focus through the same functions.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupToggleButton.h"

class COSMMarkupCheckBox : public COSMMarkupToggleButton
{
    DECLARE_MARKUP_TYPE(COSMMarkupCheckBox)

public:
    COSMMarkupCheckBox() = default;

protected:
    ~COSMMarkupCheckBox() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    void OnRender(COSMMarkupDrawingContext* dc) override;
    // With content only: the render area from x = 15.
    void OnRenderFocusVisual(COSMMarkupDrawingContext* dc) override;
    // The content plus Padding plus 16 wide, at least 13 high with content; without content Padding + 16 by the
    // vertical Padding.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    // The content inside Padding, 16 pixels in from the left.
    CSize ArrangeOverride(int width, int height) override;

    // ---- For the radio button ----------------------------------------------------------------------------------
    // Both glyphs' side, in pixels.
    static constexpr int kGlyphSize = 13;
    // The glyph buttons' measure; minimumEmptyHeight is the least height without content.
    static CSize MeasureGlyphButton(COSMMarkupToggleButton* button, COSMMarkupDrawingContext* dc, int availableWidth,
                                    int availableHeight, int minimumEmptyHeight);
    static CSize ArrangeGlyphButton(COSMMarkupToggleButton* button, int width, int height);
    static void RenderGlyphFocus(COSMMarkupToggleButton* button, COSMMarkupDrawingContext* dc);
    // The visual-style part (3 check box, 2 radio button) with its state, or classic frame-control flags.
    static void RenderGlyph(COSMMarkupToggleButton* button, COSMMarkupDrawingContext* dc, int part, int state,
                            UINT classicFlags);
    // The glyph's box in a render area of that height.
    static CRect GetGlyphRect(int height);
};
