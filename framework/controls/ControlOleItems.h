// COSMControlOleItems: the menu entry that turns into the verbs of the OLE object selected in the active view each
// time its popup is laid out: a submenu named after the object ("Sketch &Object") holding its verbs, with command
// ids from 57872 to 57887. Nothing shows while no object of an OLE document is selected, while the object is open
// in a window of its own, or when it offers a single verb; in customize mode the entry itself shows. Menu
// conversion makes it for id 57872 captioned "<<OLE VERBS GO HERE>>", and bars by class name when they are loaded.
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"

class COSMControlOleItems : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlOleItems)

public:
    static constexpr UINT kFirstVerbId = 57872;
    static constexpr UINT kLastVerbId = 57887;
    // The parameter of the submenu entry, which is how a rebuild finds it.
    static constexpr char kEntryParameter[] = "OLEMENUPOPUP";

    COSMControlOleItems() = default;

    // Takes the entry of the last build out and adds the submenu of the selected object's verbs after itself. The
    // layout mode does not matter.
    void BuildDynamicItems(DWORD layoutMode) override;
    // Only into a popup bar.
    BOOL IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const override;
    COSMControl* Clone(BOOL recursive) const override;
};
