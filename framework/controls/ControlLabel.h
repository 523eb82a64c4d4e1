// COSMControlLabel: text on a bar that takes no part in selection and never runs a command (Type 8). The paint
// manager measures and draws it by its Type; the markup label and the bitmap grow from it. Its flags (26) keep it
// out of keyboard focus, out of the bars' command-UI update, and in place unless every control may be customized:
//
//   COSMControl* label = bar->GetControls()->Add(8, 0);
//   label->SetCaption("Zoom:");
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "framework/commandbars/Control.h"

class COSMControlLabel : public COSMControl
{
    DECLARE_SERIAL(COSMControlLabel)

public:
    static constexpr int kType = 8;
    // Skips keyboard focus, skips the command-UI update, does not move in customize mode.
    static constexpr DWORD kLabelFlags = kFlagSkipFocus | kFlagManualUpdate | kFlagNoMovable;

    COSMControlLabel();

    // Never selected: the bar does not highlight a label under the mouse or the keyboard.
    int GetSelected() const override { return 0; }
    // Only a mouse click in customize mode does anything: it customizes the label when that is allowed.
    void OnClick(BOOL keyboard, CPoint point) override;
    void OnLButtonUp(CPoint point) override {}
    COSMControl* Clone(BOOL recursive) const override;
};
