// COSMControlWindowList: the menu entry that turns into the list of the MDI frame's open document windows each time
// its popup is laid out: "&1 Title" to "&9 Title" (at most nine), the active window checked, the first entry
// beginning a group; choosing an entry sends its window's id as a command to the frame, which activates the window.
// In customize mode, or on a frame without an MDI client, only the entry itself shows. Bars make it for Type 1
// with id 35000, or by class name when stored bars are loaded:
//
//   windowMenu->GetControls()->Add(1, 35000);
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"

class COSMControlWindowList : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlWindowList)

public:
    // The most windows listed.
    static constexpr int kMostWindows = 9;
    // The id of the first document window of an MDI client. The list adopts 0x8000 or 1 the first time it finds
    // the active window numbered from there, and keeps it for the process.
    static UINT s_firstChildId;

    COSMControlWindowList() = default;

    // Takes the entries of the last build out and lists the visible windows after itself. The layout mode does not
    // matter.
    void BuildDynamicItems(DWORD layoutMode) override;
    // Only into a popup bar.
    BOOL IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const override;
    COSMControl* Clone(BOOL recursive) const override;
};
