// Saving and loading a bar and a popup bar through the property exchange, and how a bar joins the save list.
#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarAnimation.h"
#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/foundation/PropExchange.h"

namespace {}  // namespace

BOOL COSMCommandBar::IsToolBar() const
{
    return IsKindOf(RUNTIME_CLASS(COSMToolBar));
}

void COSMCommandBar::GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list,
                                            COSMCommandBarsPersistParams* params)
{
    if (!list || list->Contains(this))
        return;
    InternalAddRef();
    list->Add(this);
    // Popup bars carry id 0: counting 0 as an id would leave every popup unnumbered and every sub-menu lost on
    // load.
    if (!IsToolBar() && (m_barId == 0 || m_barId >= kFirstGeneratedBarId))
        m_barId = nextId++;
    m_controls->GenerateCommandBarList(nextId, list, params);
}

void COSMCommandBar::DoPropExchange(COSMPropExchange* px)
{
    const long schema = px->m_nSchema;
    long type = m_type;
    long position = m_position;
    long barId = static_cast<long>(m_barId);
    long mruWidth = m_mruWidth;
    PropExchangeLong(px, "Type", &type, 1);
    PropExchangeLong(px, "Position", &position, 0);
    PropExchangeLong(px, "BarID", &barId, 0);
    PropExchangeDWord(px, "Flags", &m_flags, 0);
    PropExchangeDWord(px, "Style", &m_style, 0);
    PropExchangeString(px, "Title", &m_title, "");
    PropExchangeBool(px, "Customizable", &m_customizable, TRUE);
    PropExchangeLong(px, "MRUWidth", &mruWidth, 0);
    if (schema >= 3)
        PropExchangeSize(px, "IconSize", &m_iconSize, CSize(0, 0));
    if (px->IsLoading())
    {
        m_type = static_cast<int>(type);
        m_position = static_cast<int>(position);
        m_barId = static_cast<UINT>(barId);
        m_mruWidth = static_cast<int>(mruWidth);
        if (COSMCommandBarsPersistParams* params = GetPersistParams(px))
            m_commandBars = params->commandBars;
    }
    if (schema >= 18)
    {
        PropExchangeSize(px, "ButtonSize", &m_buttonSize, CSize(0, 0));
        long showText = m_showTextBelowIcons;
        PropExchangeLong(px, "ShowTextBelowIcons", &showText, 2);
        BOOL animation = IsAnimationEnabled();
        PropExchangeBool(px, "EnableAnimation", &animation, FALSE);
        if (px->IsLoading())
        {
            m_showTextBelowIcons = static_cast<int>(showText);
            m_animation->SetAnimationEnabled(animation);
        }
    }
    if (schema >= 19)
    {
        long buttonStyle = m_defaultButtonStyle;
        PropExchangeLong(px, "DefaultButtonStyle", &buttonStyle, 0);
        if (px->IsLoading())
            m_defaultButtonStyle = static_cast<int>(buttonStyle);
    }
    auto section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("Controls"));
    m_controls->DoPropExchange(section.Get());
}

void COSMCommandBar::RestoreCommandBarList(COSMCommandBarList* list)
{
    m_controls->RestoreCommandBarList(list);
}

void COSMPopupBar::DoPropExchange(COSMPropExchange* px)
{
    COSMCommandBar::DoPropExchange(px);
    const long schema = px->m_nSchema;
    long tearOffId = static_cast<long>(m_tearOffId);
    long tearOffWidth = m_tearOffWidth;
    PropExchangeBool(px, "TearOffPopup", &m_tearOffPopup, FALSE);
    PropExchangeString(px, "TearOffCaption", &m_tearOffCaption, "");
    PropExchangeLong(px, "TearOffId", &tearOffId, 0);
    PropExchangeLong(px, "TearOffWidth", &tearOffWidth, 0);
    if (px->IsLoading())
    {
        m_tearOffId = static_cast<UINT>(tearOffId);
        m_tearOffWidth = static_cast<int>(tearOffWidth);
    }
    if (schema >= 4)
    {
        PropExchangeRect(px, "Borders", &m_popupToolBarBorders, CRect(2, 4, 2, 4));
        PropExchangeBool(px, "ShowShadow", &m_showShadow, TRUE);
    }
    if (schema >= 9)
        PropExchangeBool(px, "DoubleGripper", &m_doubleGripper, FALSE);
    // Popups stored before schema 20 drew their gripper without a style bit for it.
    if (px->IsLoading() && schema < 20)
        m_style |= kStyleGripper;
    if (schema >= 19)
        PropExchangeBool(px, "ContextMenu", &m_contextMenu, FALSE);
}
