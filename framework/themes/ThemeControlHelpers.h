// What every look asks of a control and a box the same way while drawing popup rows and controls.
#pragma once

#include "classlib/Geometry.h"
#include "framework/commandbars/Control.h"

namespace osm_themes {

// A split popup's enabled value 5 means its command part is off: the row is drawn disabled.
inline BOOL IsControlDrawnEnabled(const COSMControl* control)
{
    const int enabled = control->GetEnabled();
    return control->GetType() == 4 && enabled == 5 ? FALSE : enabled != 0;
}

// The popup types that open a sub-menu: popup, button popup and split popup.
inline BOOL IsSubMenuType(int type)
{
    return type == 2 || type == 3 || type == 4;
}

// Where something of size sits centred in box.
inline CPoint CentredIn(const CRect& box, CSize size)
{
    return CPoint(box.left + (box.Width() - size.cx) / 2, box.top + (box.Height() - size.cy) / 2);
}

}  // namespace osm_themes
