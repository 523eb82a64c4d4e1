// What every look asks of a control and a box the same way while drawing popup rows and controls.
#pragma once

#include "classlib/Geometry.h"
#include "framework/commandbars/Control.h"
#include "framework/controls/ControlComboBox.h"

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

// A combo box's pieces as every look lays them out: the field right of the label and the drop-down button at the
// right edge (a control of another class has neither label nor button).
struct ComboBoxParts
{
    explicit ComboBoxParts(COSMControl* control)
        : combo(dynamic_cast<COSMControlComboBox*>(control)), rect(control->GetRect()),
          labelWidth(combo ? combo->GetLabelWidth() : 0), buttonWidth(combo ? combo->GetDropDownButtonWidth() : 0),
          dropped(combo ? combo->GetDroppedState() : FALSE), selected(control->GetSelected()),
          enabled(IsControlDrawnEnabled(control)), area(rect.left + labelWidth, rect.top, rect.right, rect.bottom),
          button(rect.right - buttonWidth, rect.top, rect.right, rect.bottom)
    {}

    COSMControlComboBox* combo;
    CRect rect;
    int labelWidth;
    int buttonWidth;
    BOOL dropped;
    int selected;
    BOOL enabled;
    CRect area;
    CRect button;
};

}  // namespace osm_themes
