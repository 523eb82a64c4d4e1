// Stand-in: the controls subsystem replaces this file with its full COSMControlComboBox (list, edit part,
// selection, keyboard handling). COSMControlComboBox is the combo box of a command bar (Type 5): an optional label,
// a text area and a drop-down button. The paint manager's measuring pass stores the label width and the button
// width here; a change of either forces the next placement:
//
//   COSMControlComboBox* combo = static_cast<COSMControlComboBox*>(bar->GetControls()->Add(5, ID_ZOOM));
//   combo->GetSize(dc);                    // writes both widths
//   combo->GetDropDownButtonWidth();       // at least 15
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlPopup.h"

class COSMControlComboBox : public COSMControlPopup
{
    DECLARE_SERIAL(COSMControlComboBox)

public:
    COSMControlComboBox();

    BOOL IsPlacementForced() const { return m_placementForced; }
    void SetPlacementForced(BOOL forced) { m_placementForced = forced; }
    // The label's width and the drop-down button's width in pixels, written by the paint manager.
    int GetLabelWidth() const { return m_labelWidth; }
    void SetLabelWidth(int width) { m_labelWidth = width; }
    int GetDropDownButtonWidth() const { return m_dropDownButtonWidth; }
    void SetDropDownButtonWidth(int width) { m_dropDownButtonWidth = width; }

    BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
    COSMControl* Clone(BOOL recursive) const override;
    // Keeps both widths when measured as a combo box.
    void OnLabelMeasured(int labelWidth, int dropDownWidth) override;

protected:
    BOOL m_placementForced = FALSE;
    int m_labelWidth = 0;
    int m_dropDownButtonWidth = 0;
};
