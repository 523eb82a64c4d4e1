// COSMMarkupRadioButton (tag "RadioButton"): a toggle button drawn as a round 13 by 13 glyph left of its content.
// A click always checks it; checking it unchecks the other radio buttons among its parent's visual children (the
// group is the parent: there are no group names).
//
//   <StackPanel>
//     <RadioButton IsChecked="True">Small</RadioButton>
//     <RadioButton>Large</RadioButton>
//   </StackPanel>
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupToggleButton.h"

class COSMMarkupRadioButton : public COSMMarkupToggleButton
{
    DECLARE_MARKUP_TYPE(COSMMarkupRadioButton)

public:
    COSMMarkupRadioButton() = default;

protected:
    ~COSMMarkupRadioButton() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    void OnRender(COSMMarkupDrawingContext* dc) override;
    // The check box's.
    void OnRenderFocusVisual(COSMMarkupDrawingContext* dc) override;
    // The check box's, at least 13 high even without content.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;
    // Checked, whatever it was.
    void OnToggle() override;
    // Unchecks the siblings, then raises Checked.
    void OnChecked(COSMMarkupRoutedEventArgs* args) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Every other radio button among the visual children of the nearest UI-element ancestor that is not unchecked
    // becomes unchecked (raising its Unchecked).
    void UncheckSiblings();
};
