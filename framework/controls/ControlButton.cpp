#include "framework/controls/ControlButton.h"

IMPLEMENT_SERIAL(COSMControlButton, COSMControl, VERSIONABLE_SCHEMA | 0x22)

COSMControlButton::COSMControlButton()
{
    m_type = 1;
}

void COSMControlButton::Copy(const COSMControl* source, BOOL recursive)
{
    COSMControl::Copy(source, recursive);
}

COSMControl* COSMControlButton::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlButton*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
