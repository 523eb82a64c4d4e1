// Plain drawing of the ribbon's groups, their option buttons and the groups' scroll buttons, in system colours and
// frames, while the Office 2007 pictures are missing; with them each function hands its part to the ribbon painter.
#pragma once

#include "classlib/DC.h"
#include "classlib/Geometry.h"

class COSMControl;
class COSMRibbonGroup;
class COSMRibbonGroupOption;

class COSMRibbonFallbackPaint
{
public:
    // The group's frame and its caption band with the caption; nothing for a reduced group.
    static void DrawGroup(CDC* dc, COSMRibbonGroup* group);
    // The option button in the caption: 15 x 14.
    static CSize DrawGroupOption(CDC* dc, COSMRibbonGroupOption* button, BOOL draw);
    // A groups scroll button with its arrow.
    static void DrawGroupsScrollButton(CDC* dc, COSMControl* button, BOOL left);
};
