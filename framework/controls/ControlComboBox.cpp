#include "framework/controls/ControlComboBox.h"

IMPLEMENT_SERIAL(COSMControlComboBox, COSMControlPopup, VERSIONABLE_SCHEMA | 0x22)

COSMControlComboBox::COSMControlComboBox()
{
    m_type = 5;
}

void COSMControlComboBox::OnLabelMeasured(int labelWidth, int dropDownWidth)
{
    if (dropDownWidth < 0)
        return;
    if (m_dropDownButtonWidth != dropDownWidth || m_labelWidth != labelWidth)
        m_placementForced = TRUE;
    m_dropDownButtonWidth = dropDownWidth;
    m_labelWidth = labelWidth;
}

COSMControl* COSMControlComboBox::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlComboBox*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
