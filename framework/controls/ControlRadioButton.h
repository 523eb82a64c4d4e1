// COSMControlRadioButton: a button whose Type (11) makes the paint manager draw a radio mark beside its caption;
// which one of a group is checked is the program's (through the command-UI update), as for check boxes.
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"

class COSMControlRadioButton : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlRadioButton)

public:
    static constexpr int kType = 11;

    COSMControlRadioButton();

    COSMControl* Clone(BOOL recursive) const override;
};
