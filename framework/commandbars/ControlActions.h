// COSMControlActions: the command bars' actions, kept in ascending id order and owned (each released when removed).
//
//   COSMControlAction* open = actions->Add(ID_FILE_OPEN);    // made once, prompt read from the string resources
//   COSMControlAction* same = actions->FindAction(ID_FILE_OPEN);
#pragma once

#include "classlib/CmdTarget.h"
#include "framework/commandbars/ControlAction.h"

class COSMControlActions : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMControlActions)

public:
    // Ids from here up are never commands (menu conversion hands out 0xFFFFFFFF for sub-menus).
    static constexpr int kFirstInvalidId = 0x0FFFFFFF;

    explicit COSMControlActions(COSMCommandBars* commandBars);
    ~COSMControlActions() override;

    int GetCount() const { return static_cast<int>(m_actions.size()); }
    COSMControlAction* GetAt(int index) const { return m_actions[static_cast<size_t>(index)]; }

    // Binary search by id; ids below 1 or from kFirstInvalidId up are never found.
    COSMControlAction* FindAction(int id) const;
    // Takes the action in before the first action with a greater id, so equal ids keep their insertion order.
    void Insert(COSMControlAction* action);
    void SetActionId(COSMControlAction* action, UINT id);
    // Gives the action the id and the id's prompt (when the string resources have one), then inserts it; the
    // collection takes over the caller's reference.
    COSMControlAction* Add(UINT id, COSMControlAction* action);
    // The action of the id, made when there is none.
    COSMControlAction* Add(UINT id);
    // Unbinds every action's controls and releases the actions.
    void RemoveAll();

    COSMCommandBars* GetCommandBars() const { return m_commandBars; }

private:
    std::vector<COSMControlAction*> m_actions;
    COSMCommandBars* m_commandBars;
};
