#include "framework/controls/ControlEdit.h"

#include "framework/commandbars/CommandBar.h"

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

BOOL IsEditIconVisible(const COSMControl* control)
{
    const COSMCommandBar* bar = control->GetParent();
    const int iconId = control->GetIconIdField();
    if (bar && bar->GetType() == 2)
        return iconId > 0;
    const int style = control->GetStyle();
    return (style == 2 || style == 3) && iconId != 0;
}
