#include "framework/commandbars/ControlAction.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/PromptText.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(COSMControlAction, CCmdTarget)

COSMControlAction::COSMControlAction(COSMControlActions* owner) : m_owner(owner) {}

COSMControlAction::~COSMControlAction()
{
    // Controls still bound must not keep pointing here.
    RemoveAllControls();
}

void COSMControlAction::AddControl(COSMControl* control)
{
    if (!control || std::find(m_controls.begin(), m_controls.end(), control) != m_controls.end())
        return;
    m_controls.push_back(control);
    control->m_enabled = -1;
    control->m_checked = -1;
    control->m_id = m_id;
    control->m_caption.Empty();
    control->m_tooltip.Empty();
    control->m_description.Empty();
    control->m_category.Empty();
    control->m_shortcutText.Empty();
    control->m_keyboardTip.Empty();
}

void COSMControlAction::RemoveControl(COSMControl* control)
{
    const auto it = std::find(m_controls.begin(), m_controls.end(), control);
    if (it == m_controls.end())
        return;
    m_controls.erase(it);
    control->m_enabled = 1;
    control->m_checked = 0;
}

void COSMControlAction::RemoveAllControls()
{
    while (!m_controls.empty())
    {
        COSMControl* control = m_controls.front();
        control->SetAction(nullptr);
        // A control whose SetAction does not unbind must not hold the loop.
        if (!m_controls.empty() && m_controls.front() == control)
            RemoveControl(control);
    }
}

void COSMControlAction::NotifyChanging(int property)
{
    // A control may unbind itself while it is told: walk a copy.
    const std::vector<COSMControl*> controls = m_controls;
    for (COSMControl* control : controls)
        control->OnActionChanging(property);
}

void COSMControlAction::NotifyChanged(int property)
{
    const std::vector<COSMControl*> controls = m_controls;
    for (COSMControl* control : controls)
        control->OnActionChanged(property);
}

void COSMControlAction::InvalidateControlLayouts()
{
    for (COSMControl* control : m_controls)
        control->InvalidateParentLayout();
}

void COSMControlAction::DelayLayoutControls()
{
    for (COSMControl* control : m_controls)
        control->DelayLayoutParent();
}

void COSMControlAction::SetCaption(const CString& caption)
{
    const int tab = caption.Find('\t');
    const CString text = tab >= 0 ? caption.Left(tab) : caption;
    if (text == m_caption)
        return;
    NotifyChanging(COSMControl::kActionPropertyCaption);
    m_caption = text;
    NotifyChanged(COSMControl::kActionPropertyCaption);
    DelayLayoutControls();
}

void COSMControlAction::SetEditHint(const CString& text)
{
    if (text == m_text4)
        return;
    NotifyChanging(COSMControl::kActionPropertyEditHint);
    m_text4 = text;
    NotifyChanged(COSMControl::kActionPropertyEditHint);
}

void COSMControlAction::SetPrompt(const CString& prompt)
{
    ApplyPrompt(prompt, m_tooltip, m_description, m_caption, m_keyboardTip, FALSE);
    InvalidateControlLayouts();
}

CString COSMControlAction::GetCaption() const
{
    return m_caption.IsEmpty() ? m_tooltip : m_caption;
}

BOOL COSMControlAction::GetEnabled() const
{
    const COSMCommandBars* commandBars = GetCommandBars();
    if (commandBars && commandBars->IsCustomizeMode())
        return TRUE;
    return m_enabled;
}

void COSMControlAction::SetReferencedObject(CCmdTarget* object)
{
    m_referencedObject = RefPtr<CCmdTarget>::Retain(object);
}

COSMCommandBars* COSMControlAction::GetCommandBars() const
{
    return m_owner ? m_owner->GetCommandBars() : nullptr;
}
