// Stand-in: the controls subsystem replaces this file with its full COSMControlEdit (window, text, spin buttons).
// COSMControlEdit is the text box of a command bar (Type 6): an optional icon and caption (the label) before the
// edit field. The paint manager measures the label when it measures the control and stores its width here; a
// changed width forces the next placement of the edit window:
//
//   COSMControlEdit* edit = static_cast<COSMControlEdit*>(bar->GetControls()->Add(6, ID_FIND));
//   edit->GetSize(dc);                  // writes the label width
//   if (edit->IsPlacementForced()) ...  // place the window, then clear the flag
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/Control.h"

class COSMControlEdit : public COSMControl
{
    DECLARE_SERIAL(COSMControlEdit)

public:
    COSMControlEdit();

    // The label's width in pixels, written by the paint manager's measuring pass.
    int GetLabelWidth() const { return m_labelWidth; }
    void SetLabelWidth(int width) { m_labelWidth = width; }
    // Set when the label width changed: the next placement happens even for an unchanged rectangle.
    BOOL IsPlacementForced() const { return m_placementForced; }
    void SetPlacementForced(BOOL forced) { m_placementForced = forced; }

    BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
    COSMControl* Clone(BOOL recursive) const override;
    // Keeps the label width (the drop-down width is not an edit's).
    void OnLabelMeasured(int labelWidth, int dropDownWidth) override;

protected:
    int m_labelWidth = 0;
    BOOL m_placementForced = FALSE;
};
