#include "framework/controls/ControlCheckBox.h"

IMPLEMENT_SERIAL(COSMControlCheckBox, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

COSMControlCheckBox::COSMControlCheckBox()
{
    m_type = kType;
}

COSMControl* COSMControlCheckBox::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlCheckBox*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
