#include "framework/commandbars/ControlToolbars.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/ControlButton.h"

namespace {

// Made directly: the factory answers the toolbars-list id with the list control that customization brings.
COSMControl* AddButton(COSMControls* controls, UINT id, int before)
{
    COSMControl* control = controls->AddControl(new COSMControlButton, static_cast<int>(id), nullptr, before);
    control->SetType(1);
    return control;
}

}  // namespace

void COSMControlToolbars::CreateToolbarMenu(COSMCommandBar* popup, int insertAt, UINT firstId, BOOL customizeEntry,
                                            DWORD)
{
    COSMCommandBars* commandBars = popup ? popup->GetCommandBars() : nullptr;
    if (!commandBars)
        return;
    COSMControls* controls = popup->GetControls();
    int before = insertAt >= 0 && insertAt < controls->GetCount() ? insertAt : -1;
    const auto next = [&before]() { return before < 0 ? -1 : before++; };
    for (int i = 0; i < commandBars->GetCount(); ++i)
    {
        COSMCommandBar* bar = commandBars->GetAt(i);
        COSMControl* control = AddButton(controls, firstId + static_cast<UINT>(i), next());
        control->SetCaption(bar->GetTitle());
        control->SetChecked(bar->IsVisible());
    }
    if (customizeEntry)
    {
        COSMControl* customize = AddButton(controls, kCustomizeId, next());
        customize->SetBeginGroup(TRUE);
    }
}
