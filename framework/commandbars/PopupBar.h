// COSMPopupBar: the bar a popup control opens (a menu) or that is shown at a point. Popups are made only through
// CreatePopupBar, whose class pointer an application may replace with a class derived from this one:
//
//   COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(commandBars);
//   popup->LoadMenu(menu.GetSubMenu(0), TRUE);
//   popupControl->SetCommandBar(popup);       // the control takes its own reference
//   popup->InternalRelease();
//
// Showing, tracking, scrolling, tearing off and the collapsed menus come with the popup's own parts.
#pragma once

#include "framework/commandbars/CommandBar.h"

class COSMPopupBar : public COSMCommandBar
{
    DECLARE_DYNCREATE(COSMPopupBar)

public:
    COSMPopupBar();

    // A new popup bar of the class s_pPopupBarClass names, holding the manager; null when the class cannot be made.
    static COSMPopupBar* CreatePopupBar(COSMCommandBars* commandBars);
    // The class CreatePopupBar makes; it must derive from COSMPopupBar.
    static CRuntimeClass* s_pPopupBarClass;

    // The bar that holds the opening control; null without one.
    COSMCommandBar* GetParentCommandBar() const override;
    BOOL IsPopupBar() const override { return TRUE; }
    // A new popup bar made by CreatePopupBar with this bar copied into it.
    COSMCommandBar* Clone(BOOL recursive) const override;

    // The control whose popup this is; null for a popup shown at a point.
    COSMControl* GetControlPopup() const { return m_controlPopup; }
    void SetControlPopup(COSMControl* control) { m_controlPopup = control; }

protected:
    COSMControl* m_controlPopup = nullptr;
};
