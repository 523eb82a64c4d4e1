#include "framework/controls/ControlWorkspaceActions.h"

#include "classlib/MDIFrameWnd.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Controls.h"
#include "framework/foundation/PropExchange.h"

IMPLEMENT_SERIAL(COSMControlWorkspaceActions, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

namespace {

bool IsWorkspaceCommand(UINT id)
{
    return id >= COSMControlWorkspaceActions::kMoveToPreviousGroup &&
           id <= COSMControlWorkspaceActions::kNewVerticalGroup;
}

}  // namespace

COSMControlWorkspaceActions::COSMControlWorkspaceActions() = default;

COSMWorkspaceActionSource* COSMControlWorkspaceActions::FindWorkspace() const
{
    auto* frame = m_parent ? dynamic_cast<CMDIFrameWnd*>(m_parent->GetSite()) : nullptr;
    if (!frame || !frame->m_hWndMDIClient)
        return nullptr;
    return dynamic_cast<COSMWorkspaceActionSource*>(CWnd::FromHandlePermanent(frame->m_hWndMDIClient));
}

void COSMControlWorkspaceActions::BuildDynamicItems(DWORD layoutMode)
{
    if (!m_parent || !m_controls)
        return;
    COSMControls* controls = m_controls;
    // Only what a layout added goes: a command the user put after the placeholder stays.
    while (m_index + 1 < controls->GetCount() && controls->GetAt(m_index + 1)->IsTemporary() &&
           IsWorkspaceCommand(controls->GetAt(m_index + 1)->GetID()))
        controls->RemoveAt(m_index + 1);

    COSMWorkspaceActionSource* workspace = IsCustomizeMode() ? nullptr : FindWorkspace();
    if (!workspace)
    {
        if (m_hiddenForActions)
            SetHideFlags(GetHideFlags() & ~kHideHidden);
        m_hiddenForActions = FALSE;
        return;
    }
    if (!(GetHideFlags() & kHideHidden))
    {
        SetHideFlags(GetHideFlags() | kHideHidden);
        m_hiddenForActions = TRUE;
    }
    const UINT offered[] = {kNewHorizontalGroup, kNewVerticalGroup, kMoveToPreviousGroup, kMoveToNextGroup};
    int before = m_index + 1;
    for (UINT id : offered)
    {
        if (!workspace->IsWorkspaceActionEnabled(static_cast<int>(id)))
            continue;
        COSMControl* command = controls->Add(1, static_cast<int>(id), "", before, TRUE);
        if (command && before == m_index + 1)
            command->SetBeginGroup(GetBeginGroup());
        if (command)
            ++before;
    }
}

void COSMControlWorkspaceActions::DoPropExchange(COSMPropExchange* px)
{
    // The placeholder is stored as the user left it, not hidden for the commands of the moment.
    const DWORD hideFlags = GetHideFlags();
    if (m_hiddenForActions && !px->IsLoading())
        m_hideFlags &= ~kHideHidden;
    COSMControlButton::DoPropExchange(px);
    if (m_hiddenForActions && !px->IsLoading())
        m_hideFlags = hideFlags;
    if (px->IsLoading())
        m_hiddenForActions = FALSE;
}

COSMControl* COSMControlWorkspaceActions::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlWorkspaceActions*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
