#include "framework/commandbars/ControlActions.h"

#include "classlib/CString.h"
#include "framework/foundation/ResourceManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(COSMControlActions, CCmdTarget)

COSMControlActions::COSMControlActions(COSMCommandBars* commandBars) : m_commandBars(commandBars) {}

COSMControlActions::~COSMControlActions()
{
    RemoveAll();
}

COSMControlAction* COSMControlActions::FindAction(int id) const
{
    if (id < 1 || id >= kFirstInvalidId)
        return nullptr;
    const auto it = std::lower_bound(m_actions.begin(), m_actions.end(), static_cast<UINT>(id),
                                     [](const COSMControlAction* action, UINT key) { return action->GetID() < key; });
    return it != m_actions.end() && (*it)->GetID() == static_cast<UINT>(id) ? *it : nullptr;
}

void COSMControlActions::Insert(COSMControlAction* action)
{
    const auto it = std::upper_bound(m_actions.begin(), m_actions.end(), action->GetID(),
                                     [](UINT key, const COSMControlAction* other) { return key < other->GetID(); });
    m_actions.insert(it, action);
}

void COSMControlActions::SetActionId(COSMControlAction* action, UINT id)
{
    action->m_id = id;
}

COSMControlAction* COSMControlActions::Add(UINT id, COSMControlAction* action)
{
    SetActionId(action, id);
    CString prompt;
    if (GetResourceManager()->LoadString(&prompt, id))
        action->SetPrompt(prompt);
    Insert(action);
    return action;
}

COSMControlAction* COSMControlActions::Add(UINT id)
{
    if (COSMControlAction* existing = FindAction(static_cast<int>(id)))
        return existing;
    return Add(id, new COSMControlAction(this));
}

void COSMControlActions::RemoveAll()
{
    // Taken out first: a control unbinding during the walk must not see half-released actions.
    std::vector<COSMControlAction*> actions;
    actions.swap(m_actions);
    for (COSMControlAction* action : actions)
    {
        action->RemoveAllControls();
        action->InternalRelease();
    }
}
