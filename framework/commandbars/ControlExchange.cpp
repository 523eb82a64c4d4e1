// Saving and loading controls and controls collections through the property exchange, and how popup controls
// find their bars again after a load.
#include "classlib/Exception.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/foundation/ImageManager.h"

#include <memory>
#include <set>

namespace {

// Ids the actions of a manager cover.
constexpr UINT kFirstActionId = 1;
constexpr UINT kLastActionId = 0x0FFFFFFE;

void ExchangeTemplates(COSMPropExchange* px, LPCSTR name, COSMControl::CDocTemplateMap& templates)
{
    if (px->IsStoring() && px->CanOmitValues() && templates.IsEmpty())
        return;
    if (px->IsLoading())
        templates.RemoveAll();
    PropExchangeSerialize(px, name, &templates);
}

// The "Style" a button or popup stored after the control's keys before the control stored it itself (schema 18).
void ExchangeOldStyle(COSMPropExchange* px, int& style)
{
    long stored = style;
    PropExchangeLong(px, "Style", &stored, 0);
    if (px->IsLoading())
        style = static_cast<int>(stored);
}

}  // namespace

// ---- COSMControl ---------------------------------------------------------------------------------------------

void COSMControl::GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list, COSMCommandBarsPersistParams* params)
{
    if (COSMCommandBar* bar = GetCommandBar())
        bar->GenerateCommandBarList(nextId, list, params);
}

void COSMControl::DoPropExchange(COSMPropExchange* px)
{
    COSMCommandBarsPersistParams* params = GetPersistParams(px);
    COSMCommandBars* commandBars = params ? params->commandBars : nullptr;
    const long schema = px->m_nSchema;

    long type = m_type;
    PropExchangeLong(px, "Type", &type, 1);
    long id = static_cast<long>(m_id);
    PropExchangeLong(px, "Id", &id, -1);
    if (px->IsLoading())
    {
        m_type = static_cast<int>(type);
        m_id = static_cast<UINT>(id);
        if (commandBars && m_id >= kFirstActionId && m_id <= kLastActionId)
        {
            if (COSMControlAction* action = commandBars->GetAction(static_cast<int>(m_id)))
                SetAction(action);
        }
    }
    long iconId = m_iconId;
    PropExchangeLong(px, "IconId", &iconId, 0);
    PropExchangeBool(px, "BeginGroup", &m_beginGroup, FALSE);
    // The tag is pointer-sized in memory but stored in 32 bits.
    DWORD tag = static_cast<DWORD>(m_tag);
    PropExchangeDWord(px, "Tag", &tag, 0);
    PropExchangeDWord(px, "Flags", &m_flags, 0);
    PropExchangeDWord(px, "HideFlags", &m_hideFlags, 0);
    PropExchangeString(px, "Caption", &m_caption, "");
    PropExchangeString(px, "ShortcutText", &m_shortcutText, "");
    PropExchangeString(px, "TooltipText", &m_tooltip, "");
    PropExchangeString(px, "DescriptionText", &m_description, "");
    PropExchangeString(px, "Parameter", &m_parameter, "");
    long customIconId = m_customIconId;
    PropExchangeLong(px, "CustomIconId", &customIconId, 0);
    PropExchangeString(px, "CustomCaption", &m_customCaption, "");
    if (px->IsLoading())
    {
        m_iconId = static_cast<int>(iconId);
        m_tag = tag;
        m_customIconId = static_cast<int>(customIconId);
    }
    if (schema >= 2)
        PropExchangeString(px, "Category", &m_category, "");
    if (m_customIconId > 0)
    {
        COSMImageManager* imageManager = commandBars ? commandBars->GetImageManager() : GetImageManager();
        auto section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("CustomIcon"));
        if (imageManager)
            imageManager->DoPropExchangeIconSet(static_cast<UINT>(m_customIconId), section.Get());
    }
    if (schema >= 4)
    {
        ExchangeTemplates(px, "DocTemplatesExcluded", m_excludedTemplates);
        ExchangeTemplates(px, "DocTemplatesAssigned", m_assignedTemplates);
        PropExchangeBool(px, "DefaultItem", &m_defaultItem, FALSE);
    }
    if (schema >= 7)
        PropExchangeBool(px, "CloseSubMenuOnClick", &m_closeSubMenuOnClick, TRUE);
    long customStyle = m_customStyle;
    if (schema >= 8)
        PropExchangeLong(px, "CustomStyle", &customStyle, -1);
    long helpId = static_cast<long>(m_helpId);
    if (schema >= 17)
        PropExchangeLong(px, "HelpId", &helpId, 0);
    long style = m_style;
    if (schema >= 18)
        PropExchangeLong(px, "Style", &style, 0);
    long width = m_width;
    long height = m_height;
    long interval = m_executeOnPressInterval;
    if (schema >= 19)
    {
        PropExchangeLong(px, "Width", &width, 0);
        PropExchangeLong(px, "Height", &height, 0);
        PropExchangeLong(px, "ExecuteOnPressInterval", &interval, 0);
    }
    if (schema >= 23)
        PropExchangeString(px, "ShortcutTextAuto", &m_shortcutTextAuto, "");
    if (schema >= 24)
        PropExchangeString(px, "KeyboardTip", &m_keyboardTip, "");
    if (schema >= 26)
        PropExchangeSize(px, "IconSize", &m_iconSize, CSize(0, 0));
    if (px->IsLoading())
    {
        // Before schema 18, 0 was how "no custom style" was written.
        if (schema < 18 && customStyle == 0)
            customStyle = -1;
        m_customStyle = static_cast<int>(customStyle);
        m_helpId = static_cast<UINT>(helpId);
        m_style = static_cast<int>(style);
        m_width = static_cast<int>(width);
        m_height = static_cast<int>(height);
        m_executeOnPressInterval = static_cast<int>(interval);
        OnCaptionChanged();
    }
}

// ---- Button and popup shells ---------------------------------------------------------------------------------

void COSMControlButton::DoPropExchange(COSMPropExchange* px)
{
    COSMControl::DoPropExchange(px);
    if (px->m_nSchema < 18)
        ExchangeOldStyle(px, m_style);
}

void COSMControlPopup::DoPropExchange(COSMPropExchange* px)
{
    // The button's own "Style" of old schemas is not the popup's: the popup stored it only from schema 5.
    COSMControl::DoPropExchange(px);
    long barId = px->IsStoring() ? (m_commandBar ? static_cast<long>(m_commandBar->GetBarID()) : 0) : 0;
    PropExchangeLong(px, "CommandBarId", &barId, 0);
    if (px->IsLoading())
        m_commandBarId = barId;
    if (px->m_nSchema > 4 && px->m_nSchema < 18)
        ExchangeOldStyle(px, m_style);
}

void COSMControlPopup::RestoreCommandBarList(COSMCommandBarList* list)
{
    if (m_commandBarId == 0 || !list)
        return;
    COSMCommandBar* found = nullptr;
    for (int i = 0; i < list->GetCount() && !found; ++i)
    {
        COSMCommandBar* bar = list->GetAt(i);
        if (bar->GetBarID() == static_cast<UINT>(m_commandBarId) && bar->IsKindOf(RUNTIME_CLASS(COSMPopupBar)))
            found = bar;
    }
    // A bar that already leads back to this control's bar would make menus open their own ancestors: damaged
    // or crafted data, treated like a number that is not in the list.
    if (!found || (GetParent() && LeadsToBar(found, GetParent())))
        return;
    SetCommandBar(found);
    m_commandBarId = 0;
    found->RestoreCommandBarList(list);
}

// ---- COSMControls --------------------------------------------------------------------------------------------

void COSMControls::GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list, COSMCommandBarsPersistParams* params)
{
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        if (!m_controls[i]->IsTemporary())
            m_controls[i]->GenerateCommandBarList(nextId, list, params);
    }
    if (params && params->saveOriginalControls && m_originalControls)
        m_originalControls->GenerateCommandBarList(nextId, list, params);
}

void COSMControls::DoPropExchange(COSMPropExchange* px)
{
    COSMCommandBarsPersistParams* params = GetPersistParams(px);
    std::unique_ptr<COSMPropExchangeEnumerator> items(px->GetEnumerator("Control"));
    if (px->IsStoring())
    {
        std::vector<COSMControl*> saved;
        for (COSMControl* control : m_controls)
        {
            if (ShouldSerializeControl(control))
                saved.push_back(control);
        }
        POSITION pos = items->GetPosition(static_cast<DWORD>(saved.size()));
        for (size_t i = 0; pos && i < saved.size(); ++i)
        {
            auto section = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
            CObject* object = saved[i];
            section->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMControl));
            saved[i]->DoPropExchange(section.Get());
        }
        BOOL original = params && params->saveOriginalControls && m_originalControls;
        PropExchangeBool(px, "OriginalControls", &original, FALSE);
        if (original)
        {
            auto section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("OriginalControls"));
            m_originalControls->DoPropExchange(section.Get());
        }
        BOOL customized = FALSE;
        PropExchangeBool(px, "CustomizedControls", &customized, FALSE);
        return;
    }

    RemoveAll();
    POSITION pos = items->GetPosition();
    while (pos)
    {
        auto section = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
        CObject* object = nullptr;
        if (!section->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMControl)))
            AfxThrowArchiveException(CArchiveException::badClass);
        // Held until it joins the collection: a stream that ends inside its keys must not leak it.
        auto control = RefPtr<COSMControl>::Adopt(static_cast<COSMControl*>(object));
        control->DoPropExchange(section.Get());
        Append(control.Detach());
    }
    RefreshIndexes();
    if (px->m_nSchema < 3)
        return;
    BOOL original = FALSE;
    PropExchangeBool(px, "OriginalControls", &original, FALSE);
    if (original)
    {
        auto* snapshot = new COSMOriginalControls;
        SetOriginalControls(snapshot);
        auto section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("OriginalControls"));
        snapshot->DoPropExchange(section.Get());
    }
    BOOL customized = FALSE;
    PropExchangeBool(px, "CustomizedControls", &customized, FALSE);
    if (customized)
    {
        // Read so that the stream stays in step; what it held is of no use any more.
        auto discarded = RefPtr<COSMControls>::Adopt(new COSMControls);
        auto section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("CustomizedControls"));
        discarded->DoPropExchange(section.Get());
    }
}

void COSMControls::RestoreCommandBarList(COSMCommandBarList* list)
{
    // A restore may attach bars whose controls are restored in turn: walk a copy.
    const std::vector<COSMControl*> controls = m_controls;
    for (COSMControl* control : controls)
        control->RestoreCommandBarList(list);
    if (m_originalControls)
        m_originalControls->RestoreCommandBarList(list);
}
