// COSMControlToolbars: the menu entry that turns into the list of the manager's toolbars each time its popup is laid
// out, one check entry per toolbar that offers a context menu and may be closed (its title, checked while the bar
// shows; choosing it shows or hides the bar). In customize mode only the entry itself shows, so that it can be moved
// or deleted. Bars make it for Type 1 with id 59392, or by class name when stored bars are loaded:
//
//   popup->GetControls()->Add(1, 59392);                                 // the list, in a View menu
//   COSMControlToolbars::CreateToolbarMenu(popup, 0, 0xE800, TRUE, 0);   // the toolbars context menu
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"

class COSMCommandBar;

class COSMControlToolbars : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlToolbars)

public:
    // The id of the customize entry.
    static constexpr UINT kCustomizeId = 35001;
    // The parameter of the per-bar entries, which is how a rebuild finds them.
    static constexpr char kEntryParameter[] = "COSMControlToolbar";

    COSMControlToolbars() = default;

    // Takes the entries of the last build out; in customize mode shows itself, else hides and lists the bars
    // after itself, the first entry taking its BeginGroup. The layout mode does not matter.
    void BuildDynamicItems(DWORD layoutMode) override;
    // Only into a popup bar.
    BOOL IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const override;
    COSMControl* Clone(BOOL recursive) const override;

    // Inserts the entries into the bar from the index on (-1 or past the end: at the end), all with the id, the
    // first one beginning a group when asked; with customizeEntry, and when the manager has a customize dialog, a
    // "customize" entry (35001) beginning a group follows. Nothing without a manager.
    static void CreateToolbarMenu(COSMCommandBar* popup, int insertAt, UINT id, BOOL customizeEntry, BOOL beginGroup);
};
