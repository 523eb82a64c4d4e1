// COSMControlButton: the plain command button of a bar (a toolbar button, a menu item) and the base of the
// controls that behave like one. Bars make it for Type 1 (COSMControls::Add) or by its class name when stored bars
// are loaded. It adds no data to COSMControl; how its clicks become commands comes with the bars' input handling.
#pragma once

#include "framework/commandbars/Control.h"

class COSMControlButton : public COSMControl
{
    DECLARE_SERIAL(COSMControlButton)

public:
    COSMControlButton();

    // The control base's copy: a button has nothing of its own.
    void Copy(const COSMControl* source, BOOL recursive) override;
    // Always a COSMControlButton, also for derived classes that do not make their own clones.
    COSMControl* Clone(BOOL recursive) const override;
};
