// COSMControlWorkspaceActions: a placeholder in a menu that, each time its bar lays out, becomes the commands of
// the frame's MDI tab workspace that apply at the moment (9157 new horizontal group, 9158 new vertical group, 9155
// move to the previous group, 9156 move to the next), as temporary buttons after it; the placeholder hides itself
// meanwhile. The workspace lives in a higher library (framework/tabs): this one knows it only as the
// COSMWorkspaceActionSource that the window object attached to the frame's MDI client implements. A frame without
// one keeps the placeholder as it is:
//
//   popup->GetControls()->Add(1, 35002);   // the factory makes the placeholder for id 35002
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"

// What the MDI tab workspace tells the placeholder; implemented by the window object attached to the MDI client.
class COSMWorkspaceActionSource
{
public:
    // TRUE when the workspace command (9155 to 9158) applies now.
    virtual BOOL IsWorkspaceActionEnabled(int id) = 0;

protected:
    ~COSMWorkspaceActionSource() = default;
};

class COSMControlWorkspaceActions : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlWorkspaceActions)

public:
    static constexpr UINT kPlaceholderId = 35002;
    // The workspace commands, in the order they are offered.
    static constexpr UINT kNewHorizontalGroup = 9157;
    static constexpr UINT kNewVerticalGroup = 9158;
    static constexpr UINT kMoveToPreviousGroup = 9155;
    static constexpr UINT kMoveToNextGroup = 9156;

    COSMControlWorkspaceActions();

    // Removes the commands the last layout added, then adds those that apply now.
    void BuildDynamicItems(DWORD layoutMode) override;
    // Stores the placeholder without the hiding of the last layout.
    void DoPropExchange(COSMPropExchange* px) override;
    COSMControl* Clone(BOOL recursive) const override;

    // The workspace attached to the MDI client of the bar's site frame, or null.
    COSMWorkspaceActionSource* FindWorkspace() const;

private:
    // The placeholder hid itself for the commands it added (and shows again when no workspace is left).
    BOOL m_hiddenForActions = FALSE;
};
