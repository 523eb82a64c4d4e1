// COSMCustomizeImageButton: one image of the customize sheet's change-image grid. Executing it closes the menu and
// tells the menu's notification window (the sheet), which gives the selected control that image:
//
//   auto* button = new COSMCustomizeImageButton;
//   grid->GetControls()->AddControl(button, COSMCustomizeSheet::kCommandChangeImage);
//   button->SetIconId(imageIndex);                  // the image of the predefined images under that id
#pragma once

#include "framework/commandbars/ControlButton.h"

class COSMCustomizeImageButton : public COSMControlButton
{
    DECLARE_DYNCREATE(COSMCustomizeImageButton)

public:
    COSMCustomizeImageButton() = default;
    ~COSMCustomizeImageButton() override;

    // The root bar stops tracking; the notification site hears code 100 and, when it does not answer, WM_COMMAND
    // with the button's id.
    void OnExecute() override;
};
