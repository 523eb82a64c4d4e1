#include "framework/controls/ControlRadioButton.h"

IMPLEMENT_SERIAL(COSMControlRadioButton, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

COSMControlRadioButton::COSMControlRadioButton()
{
    m_type = kType;
}

COSMControl* COSMControlRadioButton::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlRadioButton*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
