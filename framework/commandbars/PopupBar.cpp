#include "framework/commandbars/PopupBar.h"

IMPLEMENT_DYNCREATE(COSMPopupBar, COSMCommandBar)

CRuntimeClass* COSMPopupBar::s_pPopupBarClass = RUNTIME_CLASS(COSMPopupBar);

COSMPopupBar::COSMPopupBar()
{
    m_type = 2;
    m_position = 5;
    m_mruWidth = 0;
}

COSMPopupBar* COSMPopupBar::CreatePopupBar(COSMCommandBars* commandBars)
{
    CRuntimeClass* popupClass = s_pPopupBarClass ? s_pPopupBarClass : RUNTIME_CLASS(COSMPopupBar);
    if (!popupClass->IsDerivedFrom(RUNTIME_CLASS(COSMPopupBar)))
        return nullptr;
    auto* popup = static_cast<COSMPopupBar*>(popupClass->CreateObject());
    if (popup)
        popup->SetCommandBars(commandBars);
    return popup;
}

COSMCommandBar* COSMPopupBar::GetParentCommandBar() const
{
    return m_controlPopup ? m_controlPopup->GetParent() : nullptr;
}

COSMCommandBar* COSMPopupBar::Clone(BOOL recursive) const
{
    COSMPopupBar* popup = CreatePopupBar(m_commandBars);
    if (popup)
        popup->Copy(this, recursive);
    return popup;
}
