#include "framework/controls/ControlLabel.h"

IMPLEMENT_SERIAL(COSMControlLabel, COSMControl, VERSIONABLE_SCHEMA | 0x22)

COSMControlLabel::COSMControlLabel()
{
    m_flags = kLabelFlags;
    m_type = kType;
}

void COSMControlLabel::OnClick(BOOL keyboard, CPoint point)
{
    if (!keyboard && IsCustomizeMode() && IsCustomizeClickAllowed())
        OnCustomizeLButtonDown(point);
}

COSMControl* COSMControlLabel::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlLabel*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
