// The ribbon's context menus: the popup bar they are built in, which holds every control its entries stand for
// until it is released (the menu's loop dispatches messages that may take such a control off its bar), and the
// entry that stands for one original quick-access control in the customize button's menu:
//
//   COSMPopupBar* menu = ribbon->CreateContextMenu(control);   // the caller's reference; null: no menu
//   COSMRibbonContextMenuBar::GetTarget(menu->GetControl(0));    // the control an add or remove entry acts on
#pragma once

#include "classlib/RefPtr.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/PopupBar.h"

#include <vector>

class COSMRibbonQuickAccessControls;

class COSMRibbonContextMenuBar : public COSMPopupBar
{
    DECLARE_DYNCREATE(COSMRibbonContextMenuBar)

public:
    COSMRibbonContextMenuBar() = default;

    // The entry acts on the target from now on; the menu holds the target until it is released.
    void SetTarget(COSMControl* item, COSMControl* target);
    // The control the entry acts on; null when it acts on none.
    static COSMControl* GetTarget(const COSMControl* item);

private:
    std::vector<RefPtr<COSMControl>> m_targets;
};

// Checked while the quick access holds a copy of its original control; choosing it takes that copy away or adds a
// new one at the end.
class COSMRibbonControlQuickAccessCommand : public COSMControlButton
{
    DECLARE_SERIAL(COSMRibbonControlQuickAccessCommand)

public:
    COSMRibbonControlQuickAccessCommand() = default;
    COSMRibbonControlQuickAccessCommand(COSMControl* original, COSMControl* present,
                                        COSMRibbonQuickAccessControls* quickAccess);

    void OnExecute() override;
    COSMControl* Clone(BOOL recursive) const override;

    COSMControl* GetOriginal() const { return m_original.Get(); }
    COSMControl* GetPresent() const { return m_present.Get(); }

private:
    RefPtr<COSMControl> m_original;
    RefPtr<COSMControl> m_present;
    RefPtr<COSMRibbonQuickAccessControls> m_quickAccess;
};
