#include "framework/commandbars/Control.h"

#include "classlib/DC.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/PromptText.h"
#include "framework/foundation/ImageManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ResourceManager.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(COSMControl, CCmdTarget)

namespace {

// The class library's code for an event routed as a command, and the event that asks a control to redraw.
const int kEventCode = -2;
const UINT kRedrawEvent = 1;

void CopyTemplates(COSMControl::CDocTemplateMap& target, const COSMControl::CDocTemplateMap& source)
{
    target.RemoveAll();
    for (POSITION pos = source.GetStartPosition(); pos;)
    {
        UINT id = 0;
        BOOL value = FALSE;
        source.GetNextAssoc(pos, id, value);
        target.SetAt(id, value);
    }
}

}  // namespace

BEGIN_INTERFACE_MAP(COSMControl, CCmdTarget)
    INTERFACE_PART(IAccessible, m_xAccessible)
END_INTERFACE_MAP()

COSMControl::COSMControl()
{
    // Screen readers reach the control through its IDispatch (a bar's accessible child).
    EnableAutomation();
}

COSMControl::~COSMControl()
{
    if (m_action)
        m_action->RemoveControl(this);
    m_assignedTemplates.RemoveAll();
    m_excludedTemplates.RemoveAll();
}

// ---- Texts ----

CString COSMControl::GetCaption() const
{
    if (!m_customCaption.IsEmpty())
        return m_customCaption;
    if (!m_caption.IsEmpty())
        return m_caption;
    return m_action ? m_action->GetCaption() : CString();
}

CString COSMControl::GetTooltip() const
{
    if (!m_tooltip.IsEmpty() || !m_action)
        return m_tooltip;
    return m_action->GetTooltip();
}

CString COSMControl::GetDescription() const
{
    if (!m_description.IsEmpty() || !m_action)
        return m_description;
    return m_action->GetDescription();
}

CString COSMControl::GetShortcutText() const
{
    if (!m_shortcutText.IsEmpty())
        return m_shortcutText;
    if (m_action && !m_action->GetShortcutText().IsEmpty())
        return m_action->GetShortcutText();
    return m_shortcutTextAuto;
}

void COSMControl::SetCaption(const CString& caption)
{
    const int tab = caption.Find('\t');
    BOOL changed = FALSE;
    if (tab >= 0)
    {
        const CString shortcut = caption.Mid(tab + 1);
        if (shortcut != m_shortcutTextAuto)
        {
            m_shortcutTextAuto = shortcut;
            changed = TRUE;
        }
    }
    const CString text = tab >= 0 ? caption.Left(tab) : caption;
    if (text != m_caption)
    {
        m_caption = text;
        OnCaptionChanged();
        changed = TRUE;
    }
    if (changed)
        DelayLayoutParent();
}

void COSMControl::SetCaptionById(UINT id)
{
    CString caption;
    if (GetResourceManager()->LoadString(&caption, id))
        SetCaption(caption);
}

void COSMControl::SetPrompt(const CString& prompt)
{
    if (ApplyPrompt(prompt, m_tooltip, m_description, m_caption, m_keyboardTip, TRUE))
        OnCaptionChanged();
    // The tooltip stands in for an empty caption: any text may change the size.
    InvalidateParentLayout();
}

void COSMControl::SetCustomCaption(const CString& caption)
{
    if (caption == m_customCaption)
        return;
    m_customCaption = caption;
    OnCaptionChanged();
    DelayLayoutParent();
}

void COSMControl::SetID(UINT id)
{
    if (id != m_id)
    {
        CString prompt;
        if (GetResourceManager()->LoadString(&prompt, id))
            SetPrompt(prompt);
    }
    m_id = id;
}

UINT COSMControl::GetIconId() const
{
    if (m_customIconId != 0)
        return static_cast<UINT>(m_customIconId);
    if (m_iconId >= 1)
        return static_cast<UINT>(m_iconId);
    if (m_action && m_action->GetIconId() >= 1)
        return static_cast<UINT>(m_action->GetIconId());
    if (m_action && m_action->GetID() != 0)
        return m_action->GetID();
    return m_id;
}

// ---- State ----

int COSMControl::GetEnabled() const
{
    if (m_enabled == -1 && m_action)
        return m_action->GetEnabled();
    return m_enabled;
}

int COSMControl::GetChecked() const
{
    if (m_checked == -1 && m_action)
        return m_action->GetChecked();
    return m_checked;
}

void COSMControl::SetEnabled(int enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    RedrawParent(FALSE);
}

void COSMControl::SetChecked(int checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    RedrawParent(FALSE);
}

BOOL COSMControl::SetSelected(int selected)
{
    if (selected == m_selected)
        return FALSE;
    // Moving to this control with the keyboard closes a popup another control of the bar opened.
    if ((selected == 2 || selected == 3) && m_parent)
    {
        const int popuped = m_parent->GetPopupedIndex();
        if (popuped != -1 && popuped != m_index)
            m_parent->SetPopuped(-1, FALSE);
    }
    m_selected = selected;
    if (m_parent)
        m_parent->UpdateStatusText(selected != 0, this);
    // A disabled control does not light up under the mouse.
    if (!(selected == 1 && !GetEnabled()))
        RedrawParent(selected == 0);
    return TRUE;
}

void COSMControl::SetBeginGroup(BOOL beginGroup)
{
    StoreForLayout(m_beginGroup, beginGroup);
}

void COSMControl::SetWidth(int width)
{
    StoreForLayout(m_width, width);
}

void COSMControl::SetHeight(int height)
{
    StoreForLayout(m_height, height);
}

void COSMControl::SetDefaultItem(BOOL defaultItem)
{
    StoreForLayout(m_defaultItem, defaultItem);
}

void COSMControl::SetVisible(BOOL visible)
{
    const DWORD hideFlags = visible ? m_hideFlags & ~kHideHidden : m_hideFlags | kHideHidden;
    if (hideFlags == m_hideFlags)
        return;
    SetHideFlags(hideFlags);
    DelayLayoutParent();
}

void COSMControl::SetHideWhenNotUsed(BOOL hidden)
{
    m_hiddenWhenNotUsed = hidden;
    if (!hidden)
        SetHideFlags(m_hideFlags & ~kHideUsage);
}

BOOL COSMControl::IsVisible(DWORD skip) const
{
    if (m_action && !m_action->IsVisible())
        return FALSE;
    return (m_hideFlags & ~skip) == 0;
}

// ---- Look ----

int COSMControl::GetStyle() const
{
    if (m_customStyle != -1)
        return m_customStyle;
    if (m_style != 0)
        return m_style;
    if (m_fallbackStyle == 0 && m_parent)
        return m_parent->GetDefaultButtonStyle();
    return m_fallbackStyle;
}

BOOL COSMControl::IsCaptionVisible() const
{
    if (m_parent && m_parent->GetType() == 2)
        return TRUE;
    if (GetCaption().IsEmpty())
        return FALSE;
    switch (GetStyle())
    {
    case 1:
    case 3:
    case 4:
        return TRUE;
    case 2:
        return FALSE;
    default:
        break;
    }
    switch (m_type)
    {
    case 1:
    case 3:
    case 4:
        return GetImage(0) == nullptr;
    case 2:
    case 8:
    case 9:
    case 11:
        return TRUE;
    default:
        return FALSE;
    }
}

COSMImageManagerIcon* COSMControl::GetImage(int width) const
{
    const UINT id = GetIconId();
    if (id == 0)
        return nullptr;
    COSMImageManager* images = GetImageManager();
    return images ? images->GetImage(id, width) : nullptr;
}

CSize COSMControl::GetIconSize() const
{
    if (m_iconSize.cx != 0 || m_iconSize.cy != 0 || !m_parent)
        return m_iconSize;
    return m_parent->GetIconSize();
}

CSize COSMControl::GetButtonSize() const
{
    return m_parent ? m_parent->GetButtonSize() : CSize(0, 0);
}

CSize COSMControl::GetSize(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    return paintManager ? paintManager->DrawControl(dc, this, FALSE) : CSize(0, 0);
}

void COSMControl::Draw(CDC* dc)
{
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->DrawControl(dc, this, TRUE);
}

// ---- Comparing and copying ----

BOOL COSMControl::Compare(const COSMControl* other) const
{
    if (!other)
        return FALSE;
    return GetStyle() == other->GetStyle() && m_type == other->m_type && m_id == other->m_id &&
           m_flags == other->m_flags && m_beginGroup == other->m_beginGroup && GetIconId() == other->GetIconId() &&
           m_caption == other->m_caption && m_tooltip == other->m_tooltip && m_description == other->m_description &&
           m_customCaption == other->m_customCaption && m_customStyle == other->m_customStyle &&
           m_parameter == other->m_parameter &&
           (m_hideFlags & kHideCustomize) == (other->m_hideFlags & kHideCustomize) && m_width == other->m_width;
}

void COSMControl::Copy(const COSMControl* source, BOOL recursive)
{
    if (!source || source == this)
        return;
    // Place, selection, rectangles, links, the fallback style and the collapsed-menu mark stay this control's.
    m_id = source->m_id;
    SetAction(source->m_action);
    m_tag = source->m_tag;
    m_flags = source->m_flags;
    m_type = source->m_type;
    m_caption = source->m_caption;
    m_customCaption = source->m_customCaption;
    m_shortcutText = source->m_shortcutText;
    m_shortcutTextAuto = source->m_shortcutTextAuto;
    m_tooltip = source->m_tooltip;
    m_description = source->m_description;
    m_parameter = source->m_parameter;
    m_keyboardTip = source->m_keyboardTip;
    m_category = source->m_category;
    m_iconId = source->m_iconId;
    m_helpId = source->m_helpId;
    m_customIconId = source->m_customIconId;
    m_temporary = source->m_temporary;
    m_hideFlags = source->m_hideFlags;
    m_defaultItem = source->m_defaultItem;
    m_enabled = source->m_enabled;
    m_checked = source->m_checked;
    m_customStyle = source->m_customStyle;
    m_style = source->m_style;
    m_height = source->m_height;
    m_iconSize = source->m_iconSize;
    m_beginGroup = source->m_beginGroup;
    m_closeSubMenuOnClick = source->m_closeSubMenuOnClick;
    m_executeOnPressInterval = source->m_executeOnPressInterval;
    CopyTemplates(m_assignedTemplates, source->m_assignedTemplates);
    CopyTemplates(m_excludedTemplates, source->m_excludedTemplates);
    m_width = std::max(source->m_width, GetCustomizeMinWidth());
    OnCaptionChanged();
}

COSMControl* COSMControl::Clone(BOOL recursive) const
{
    CObject* object = GetRuntimeClass()->CreateObject();
    if (!object)
        return nullptr;
    auto* clone = static_cast<COSMControl*>(object);
    clone->Copy(this, recursive);
    return clone;
}

// ---- Actions and the collection ----

void COSMControl::SetAction(COSMControlAction* action)
{
    if (action == m_action)
        return;
    if (m_action)
        m_action->RemoveControl(this);
    m_action = action;
    if (action)
        action->AddControl(this);
    InvalidateParentLayout();
}

void COSMControl::OnRemoved()
{
    SetAction(nullptr);
}

void COSMControl::OnActionChanged(int property)
{
    InvalidateParentLayout();
    if (property == kActionPropertyCaption)
        OnCaptionChanged();
}

// ---- Mouse ----

void COSMControl::OnLButtonDown(CPoint point)
{
    if (IsCustomizeMode() && !IsCustomizeClickAllowed())
        return;
    OnClick(FALSE, point);
}

BOOL COSMControl::OnLButtonDblClk(CPoint point)
{
    OnClick(FALSE, point);
    return TRUE;
}

BOOL COSMControl::IsCustomizeClickAllowed() const
{
    if (m_parent && m_parent->IsCustomizable() && !(m_flags & kFlagNoMovable))
        return TRUE;
    const COSMCommandBars* commandBars = GetCommandBars();
    return commandBars && commandBars->IsCustomizeAllBarsEnabled();
}

BOOL COSMControl::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (nCode == kEventCode && nID == kRedrawEvent)
    {
        RedrawParent(FALSE);
        return TRUE;
    }
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- Where the control lives ----

COSMCommandBars* COSMControl::GetCommandBars() const
{
    if (m_parent)
        return m_parent->GetCommandBars();
    return m_controls ? m_controls->GetCommandBars() : nullptr;
}

COSMPaintManager* COSMControl::GetPaintManager() const
{
    if (m_parent)
        return m_parent->GetPaintManager();
    if (COSMCommandBars* commandBars = m_controls ? m_controls->GetCommandBars() : nullptr)
        return commandBars->GetPaintManager();
    return GetProcessPaintManager();
}

COSMImageManager* COSMControl::GetImageManager() const
{
    if (m_parent)
        return m_parent->GetImageManager();
    if (COSMCommandBars* commandBars = m_controls ? m_controls->GetCommandBars() : nullptr)
        return commandBars->GetImageManager();
    return ::GetImageManager();
}

BOOL COSMControl::IsCustomizeMode() const
{
    return m_parent && m_parent->IsCustomizeMode();
}

BOOL COSMControl::IsCursorOver() const
{
    if (!m_parent || !m_parent->GetSafeHwnd())
        return FALSE;
    POINT point;
    if (!::GetCursorPos(&point))
        return FALSE;
    ::ScreenToClient(m_parent->GetSafeHwnd(), &point);
    return m_rect.PtInRect(point);
}

void COSMControl::ResetCustomization()
{
    if (m_customIconId == 0 && m_customCaption.IsEmpty() && m_customStyle == -1)
        return;
    const BOOL captionCleared = !m_customCaption.IsEmpty();
    m_customIconId = 0;
    m_customCaption.Empty();
    m_customStyle = -1;
    if (captionCleared)
        OnCaptionChanged();
    if (m_parent)
        m_parent->OnRecalcLayout();
}

void COSMControl::RedrawParent(BOOL animate)
{
    if (m_parent && IsVisible(0))
        m_parent->Redraw(&m_rect, animate);
}

template <class T> void COSMControl::StoreForLayout(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    DelayLayoutParent();
}

void COSMControl::InvalidateParentLayout()
{
    if (m_parent)
        m_parent->InvalidateLayoutCache();
}

void COSMControl::SetParent(COSMCommandBar* parent)
{
    if (parent == m_parent)
        return;
    InvalidateParentLayout();
    m_parent = parent;
    InvalidateParentLayout();
}

void COSMControl::DelayLayoutParent()
{
    if (m_parent)
        m_parent->SetLayoutPending();
}
