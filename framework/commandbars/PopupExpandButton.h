// COSMPopupExpandButton: the strip at the foot of a collapsed menu that shows the commands the user has not used
// yet. The popup's layout adds it (temporary, never stored) while the popup is collapsed and hides it otherwise;
// executing it (a click, Enter, or the hover delay) expands the popup that holds it.
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"

class COSMPopupExpandButton : public COSMControlButton
{
    DECLARE_DYNCREATE(COSMPopupExpandButton)

public:
    static constexpr UINT kCommandId = 9150;
    static constexpr DWORD kExpandButtonFlags = 0x5A;
    // The paint manager's kind of special control that draws and measures it.
    static constexpr int kSpecialKind = 1;

    // Type 1, flags 0x5A, id 9150.
    COSMPopupExpandButton();

    // The paint manager draws the chevrons in its rectangle.
    void Draw(CDC* dc) override;
    // Expands the popup bar that holds it; runs no command.
    void OnExecute() override;
};
