// COSMControlAction: the shared description of one command (id, image id, texts, enabled, check and visible
// states). Every control bound to it shows the action's texts and states wherever its own are left empty or set to
// follow the action (-1):
//
//   COSMControlAction* action = commandBars->CreateAction(ID_EDIT_PASTE);
//   action->SetCaption("&Paste");          // bound controls get OnActionChanged(3) and their bars lay out again
//   action->SetEnabled(FALSE);             // every control bound to it now reads disabled
//
// Actions are owned by their COSMControlActions collection (the command bars have one). Bound controls are not
// owned; a control leaves its action through SetAction(NULL), which also happens when it is removed or destroyed.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/RefPtr.h"

#include <vector>

class COSMCommandBars;
class COSMControl;
class COSMControlActions;

class COSMControlAction : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMControlAction)

public:
    explicit COSMControlAction(COSMControlActions* owner);
    ~COSMControlAction() override;

    // ---- Binding -----------------------------------------------------------------------------------------------
    // Binds the control (once): it follows the action's enabled and check state, takes the action's id and gives up
    // its own caption, tooltip, description, category, shortcut text and keyboard tip.
    void AddControl(COSMControl* control);
    // Unbinds the control, which is left enabled (1) and unchecked (0).
    void RemoveControl(COSMControl* control);
    // Unbinds every control through its SetAction(NULL).
    void RemoveAllControls();
    int GetCount() const { return static_cast<int>(m_controls.size()); }
    COSMControl* GetAt(int index) const { return m_controls[static_cast<size_t>(index)]; }

    // Tell the bound controls, in binding order.
    void NotifyChanging(int property);
    void NotifyChanged(int property);
    // Marks the layout of every bound control's bar as pending.
    void DelayLayoutControls();
    // The bars of the bound controls measure again at their next layout (a text or state their sizes read changed).
    void InvalidateControlLayouts();

    // ---- Texts -------------------------------------------------------------------------------------------------
    // The text before the first tab; a real change notifies the controls (property 3) and lays their bars out.
    void SetCaption(const CString& caption);
    // description\ntooltip\ncaption\nkeyboard tip; an empty caption or keyboard tip takes its part.
    void SetPrompt(const CString& prompt);
    // The caption, or the tooltip when the caption is empty.
    CString GetCaption() const;
    const CString& GetCaptionText() const { return m_caption; }
    const CString& GetTooltip() const { return m_tooltip; }
    void SetTooltip(const CString& tooltip)
    {
        m_tooltip = tooltip;
        InvalidateControlLayouts();
    }
    const CString& GetDescription() const { return m_description; }
    void SetDescription(const CString& description) { m_description = description; }
    const CString& GetShortcutText() const { return m_shortcutText; }
    void SetShortcutText(const CString& text)
    {
        m_shortcutText = text;
        InvalidateControlLayouts();
    }
    const CString& GetKeyboardTip() const { return m_keyboardTip; }
    void SetKeyboardTip(const CString& tip) { m_keyboardTip = tip; }
    // Further texts the control types keep with the command: the edit controls' hint and two of their own.
    const CString& GetEditHint() const { return m_text4; }
    // Bound edit boxes that show the hint show the new one.
    void SetEditHint(const CString& text);
    const CString& GetExtraText1() const { return m_text6; }
    void SetExtraText1(const CString& text) { m_text6 = text; }
    const CString& GetExtraText2() const { return m_text8; }
    void SetExtraText2(const CString& text) { m_text8 = text; }

    // ---- State -------------------------------------------------------------------------------------------------
    UINT GetID() const { return m_id; }
    int GetIconId() const { return m_iconId; }
    void SetIconId(int iconId)
    {
        m_iconId = iconId;
        InvalidateControlLayouts();
    }
    UINT GetHelpId() const { return m_helpId; }
    void SetHelpId(UINT helpId) { m_helpId = helpId; }
    // TRUE while the owning command bars are in customize mode, else the enabled field.
    BOOL GetEnabled() const;
    BOOL GetEnabledField() const { return m_enabled; }
    void SetEnabled(BOOL enabled) { m_enabled = enabled; }
    BOOL GetChecked() const { return m_checked; }
    void SetChecked(BOOL checked) { m_checked = checked; }
    BOOL IsVisible() const { return m_visible; }
    void SetVisible(BOOL visible)
    {
        m_visible = visible;
        InvalidateControlLayouts();
    }

    // An object the action keeps alive: referenced here, released with the action.
    CCmdTarget* GetReferencedObject() const { return m_referencedObject.Get(); }
    void SetReferencedObject(CCmdTarget* object);

    COSMControlActions* GetOwner() const { return m_owner; }
    COSMCommandBars* GetCommandBars() const;

private:
    // The collection sets the id as it takes the action in.
    friend class COSMControlActions;

    RefPtr<CCmdTarget> m_referencedObject;
    DWORD m_spare = 0;
    UINT m_id = 0;
    int m_iconId = 0;
    UINT m_helpId = 0;
    BOOL m_enabled = TRUE;
    BOOL m_checked = FALSE;
    BOOL m_visible = TRUE;
    CString m_caption;
    CString m_tooltip;
    CString m_description;
    CString m_text4;
    CString m_shortcutText;
    CString m_text6;
    CString m_keyboardTip;
    CString m_text8;
    std::vector<COSMControl*> m_controls;
    COSMControlActions* m_owner;
};
