#include "framework/controls/ControlEdit.h"

IMPLEMENT_SERIAL(COSMControlEdit, COSMControl, VERSIONABLE_SCHEMA | 0x22)

COSMControlEdit::COSMControlEdit()
{
    m_type = 6;
}

COSMControl* COSMControlEdit::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlEdit*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}

void COSMControlEdit::OnLabelMeasured(int labelWidth, int dropDownWidth)
{
    if (m_labelWidth == labelWidth)
        return;
    m_labelWidth = labelWidth;
    m_placementForced = TRUE;
}
