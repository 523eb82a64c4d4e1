// COSMControlButton: the plain command button of a bar (a toolbar button, a menu item) and the base of the
// controls that behave like one. Bars make it for Type 1 (COSMControls::Add) or by its class name when stored bars
// are loaded. It adds no data to COSMControl: a mouse click holds it down until the release runs the command
// (TrackButtonPress), a keyboard click or a release in a popup bar runs it at once.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Object.h"
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
    // Before schema 18 the button carried "Style" itself.
    void DoPropExchange(COSMPropExchange* px) override;
    // Enabled only: in customize mode the click customizes (the bar's popup and selection close first); a keyboard
    // click executes; a mouse click outside popup bars holds the button down.
    void OnClick(BOOL keyboard, CPoint point) override;
    // Enabled and in a popup bar: executes.
    void OnLButtonUp(CPoint point) override;
};
