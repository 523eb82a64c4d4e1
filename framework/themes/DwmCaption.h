// Stand-in: the ribbon's painter replaces this file with its own test under the same name.
#pragma once

#include "classlib/ClassLibBase.h"

class COSMControl;

// TRUE when the control lies on a ribbon caption that the desktop compositor draws; captions and icons there go
// through the buffered visual-style path. No such caption exists before the ribbon does.
inline BOOL IsControlOnDwmCaption(const COSMControl* control)
{
    return FALSE;
}
