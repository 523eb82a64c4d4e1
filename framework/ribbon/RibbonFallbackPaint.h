// Plain drawing of the ribbon's groups, their buttons, the groups' scroll buttons and the ribbon's popups, in system
// colours and frames, until the ribbon painter draws them. One function per part, so each can move to the painter.
#pragma once

#include "classlib/DC.h"
#include "classlib/Geometry.h"

class COSMCommandBar;
class COSMControl;
class COSMRibbonGroup;
class COSMRibbonGroupControlPopup;
class COSMRibbonGroupOption;
class COSMRibbonTab;

class COSMRibbonFallbackPaint
{
public:
    // The group's frame and its caption band with the caption; nothing for a reduced group.
    static void DrawGroup(CDC* dc, COSMRibbonGroup* group);
    // The reduced group's button: its size, drawn when asked (a raised face, the caption at the bottom).
    static CSize DrawGroupPopupButton(CDC* dc, COSMRibbonGroupControlPopup* button, BOOL draw);
    // The option button in the caption: 15 x 14.
    static CSize DrawGroupOption(CDC* dc, COSMRibbonGroupOption* button, BOOL draw);
    // A groups scroll button with its arrow.
    static void DrawGroupsScrollButton(CDC* dc, COSMControl* button, BOOL left);
    // The backgrounds of the group popup, the tab popup (with its groups area) and the frame of the "more" popup.
    static void FillGroupPopupToolBar(CDC* dc, COSMCommandBar* bar);
    static void FillTabPopupToolBar(CDC* dc, COSMCommandBar* bar, CRect groupsRect);
    static void FillMorePopupToolBar(CDC* dc, COSMCommandBar* bar);
};
