// COSMControlCheckBox: a button whose Type (9) makes the paint manager draw a check mark beside its caption; the
// checked state is the control base's, set by the command-UI update or by the program.
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"

class COSMControlCheckBox : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlCheckBox)

public:
    static constexpr int kType = 9;

    COSMControlCheckBox();

    COSMControl* Clone(BOOL recursive) const override;
};
