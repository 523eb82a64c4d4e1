#include "framework/commandbars/ControlButton.h"

#include "framework/commandbars/CommandBar.h"

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

void COSMControlButton::OnClick(BOOL keyboard, CPoint point)
{
    if (GetEnabled() == 0)
        return;
    if (IsCustomizeMode())
    {
        if (m_parent)
        {
            m_parent->SetPopuped(-1, FALSE);
            m_parent->SetSelected(-1, FALSE);
        }
        OnCustomizeLButtonDown(point);
        return;
    }
    if (keyboard)
        OnExecute();
    else if (m_parent && m_parent->GetType() != 2)
        TrackButtonPress(CRect());
}

void COSMControlButton::OnLButtonUp(CPoint point)
{
    if (GetEnabled() != 0 && m_parent &&
        (m_parent->GetType() == 2 || m_parent->GetPosition() == COSMCommandBar::kPositionPopup))
        OnExecute();
}
