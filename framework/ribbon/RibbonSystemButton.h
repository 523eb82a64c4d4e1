// Stand-in: the ribbon's application button grows here in place; for now it is drawn as a toolbar button.
#pragma once

#include "framework/commandbars/ControlPopup.h"

// The ribbon's application button at the left of the tab row (its menu comes later).
class COSMRibbonControlSystemButton : public COSMControlPopup
{
    DECLARE_SERIAL(COSMRibbonControlSystemButton)

public:
    COSMRibbonControlSystemButton();
    void Draw(CDC* dc) override;
    COSMControl* Clone(BOOL recursive) const override;
};
