// What the menu list controls (window list, OLE items, recent files) share: they stand in a menu as one placeholder
// and, each time their popup is laid out, take out the entries of the last build and insert fresh ones after
// themselves; a customize drag may drop the placeholder only into a popup bar.
#pragma once

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"

// Removes the controls right after the placeholder for as long as isEntry recognises them.
template <class IsEntry> void OsmRemoveListEntries(COSMControl* placeholder, IsEntry isEntry)
{
    COSMControls* controls = placeholder->GetControls();
    if (!controls)
        return;
    while (COSMControl* next = controls->GetAt(placeholder->GetIndex() + 1))
    {
        if (!isEntry(next))
            break;
        controls->Remove(next);
    }
}

// The placeholder shows (customize mode, nothing to list) or hides behind its entries.
inline void OsmShowListPlaceholder(COSMControl* placeholder, BOOL show)
{
    const DWORD hideFlags = placeholder->GetHideFlags();
    placeholder->SetHideFlags(show ? hideFlags & ~COSMControl::kHideHidden : hideFlags | COSMControl::kHideHidden);
}

// A customize drop is taken only by a popup bar; elsewhere the effect becomes 0.
inline BOOL OsmListDropAllowed(const COSMCommandBar* bar, int& effect)
{
    if (bar && bar->GetType() == COSMCommandBar::kTypePopup)
        return TRUE;
    effect = 0;
    return FALSE;
}
