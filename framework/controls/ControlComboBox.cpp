#include "framework/controls/ControlComboBox.h"

IMPLEMENT_SERIAL(COSMControlComboBox, COSMControlPopup, VERSIONABLE_SCHEMA | 0x22)

COSMControlComboBox::COSMControlComboBox()
{
    m_type = 5;
}

COSMControl* COSMControlComboBox::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlComboBox*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
