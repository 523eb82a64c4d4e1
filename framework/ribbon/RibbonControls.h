// The two control collections of the ribbon bar: COSMRibbonControls, the bar's own controls, which never lets its
// fixed controls (the tab strip, the quick-access buttons, the group scroll buttons) go in RemoveAll and saves none
// of the controls the bar or its groups own; and COSMRibbonQuickAccessControls, the quick-access list, whose
// controls are mirrored into the bar's controls (after the system button, which stands first):
//
//   ribbon->GetQuickAccessControls()->Add(1, ID_FILE_SAVE);   // also appears among ribbon->GetControls()
#pragma once

#include "framework/commandbars/Controls.h"

class COSMRibbonBar;

class COSMRibbonControls : public COSMControls
{
    DECLARE_SERIAL(COSMRibbonControls)

public:
    COSMRibbonControls() = default;

    // Clones of the source's controls that are saved (see ShouldSerializeControl).
    void Copy(const COSMControls* source, BOOL recursive) override;
    // FALSE for temporary controls, group controls, the system button, quick-access controls, the tab strip and
    // the scroll buttons.
    BOOL ShouldSerializeControl(const COSMControl* control) const override;
    // A leaving system button is forgotten by the bar, a leaving quick-access control leaves that list too.
    void OnControlRemoved(COSMControl* control) override;
    // The controls the bar keeps through RemoveAll: the tab strip, both quick-access buttons, the scroll buttons.
    BOOL IsFixedControl(const COSMControl* control) const override;

    COSMRibbonBar* GetRibbonBar() const;
};

class COSMRibbonQuickAccessControls : public COSMControls
{
    DECLARE_SERIAL(COSMRibbonQuickAccessControls)

public:
    COSMRibbonQuickAccessControls() = default;

    // Only a control of the list leaves it (and the bar's controls).
    void Remove(COSMControl* control) override;
    // The control also goes into the bar's controls, at its list index + 1 when the bar has a system button.
    void OnControlAdded(COSMControl* control) override;
    // The control leaves the bar's controls too.
    void OnControlRemoved(COSMControl* control) override;
    // Every control keeps the ribbon as its parent; the bar numbers them.
    void RefreshIndexes() override;
    // The first control with the same id, visible but for not fitting, of the same Type and class; null when none.
    COSMControl* FindDuplicate(const COSMControl* control) const;

    COSMRibbonBar* GetRibbonBar() const;
};
