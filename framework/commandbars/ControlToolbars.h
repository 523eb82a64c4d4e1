// COSMControlToolbars: fills a popup with the list of the manager's bars, one check button per bar (its title,
// checked while it is visible), followed by the customize entry (35001, beginning a group):
//
//   COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(commandBars);
//   COSMControlToolbars::CreateToolbarMenu(popup, 0, 0xE800, TRUE, 0);
//
// This is the plain form the toolbars context menu uses until customization brings the full list control.
#pragma once

#include "classlib/ClassLibBase.h"

class COSMCommandBar;

class COSMControlToolbars
{
public:
    // The id of the customize entry.
    static constexpr UINT kCustomizeId = 35001;

    // Appends the entries to the popup at the insertion index (-1 or past the end: at the end); the buttons take
    // ids from firstId on in the order of the manager's bars. Nothing without a manager.
    static void CreateToolbarMenu(COSMCommandBar* popup, int insertAt, UINT firstId, BOOL customizeEntry, DWORD flags);
};
