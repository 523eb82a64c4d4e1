// The ribbon's context menus and what their entries do: the menu of a control (add to or remove from the quick
// access, customize, the quick access below or above, minimize), the quick-access customize button's menu (the
// original quick-access commands to tick on and off), right clicks in the ribbon's popups, and which controls may
// join the quick access.
#include "framework/ribbon/RibbonBar.h"

#include "classlib/Menu.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/ControlFactory.h"
#include "framework/commandbars/ControlToolbars.h"
#include "framework/commandbars/Controls.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/ribbon/RibbonContextMenu.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonTab.h"

IMPLEMENT_DYNCREATE(COSMRibbonContextMenuBar, COSMPopupBar)
IMPLEMENT_SERIAL(COSMRibbonControlQuickAccessCommand, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)

namespace {

// Popup types (2 to 4: popup, button popup, split button) and the label type a heading entry becomes.
constexpr int kContextMenuLastPopupType = 4;
constexpr int kContextMenuLabelType = 8;
// Control flags: the control may not be moved or copied (0x10); the entry's state is set here, not by command-UI
// updates (0x08); a label the keyboard passes by (0x02).
constexpr DWORD kContextMenuNotMovable = COSMControl::kFlagNoMovable;
// The ribbon's own commands, which never reach the site unless the ribbon hands them on.
constexpr UINT kRibbonFirstOwnCommand = 9000;
constexpr UINT kRibbonLastOwnCommand = 10000;
// TrackPopupMenu: the right button chooses (2); opened from inside another tracked popup (1).
constexpr UINT kContextMenuRightButton = TPM_RIGHTBUTTON;
constexpr UINT kContextMenuRecursive = 1;
// The command id the factory answers with the toolbars list.
constexpr int kToolbarsListId = 59392;

BOOL IsPopupType(int type)
{
    return type >= COSMControlFactory::kTypePopup && type <= kContextMenuLastPopupType;
}

}  // namespace

// ---- The menu's popup bar ----

void COSMRibbonContextMenuBar::SetTarget(COSMControl* item, COSMControl* target)
{
    if (!item)
        return;
    item->SetTag(reinterpret_cast<DWORD_PTR>(target));
    if (target)
        m_targets.push_back(RefPtr<COSMControl>::Retain(target));
}

COSMControl* COSMRibbonContextMenuBar::GetTarget(const COSMControl* item)
{
    if (!item || !item->GetParent() || !item->GetParent()->IsKindOf(RUNTIME_CLASS(COSMRibbonContextMenuBar)))
        return nullptr;
    return reinterpret_cast<COSMControl*>(item->GetTag());
}

// ---- The quick-access command entry ----

COSMRibbonControlQuickAccessCommand::COSMRibbonControlQuickAccessCommand(COSMControl* original, COSMControl* present,
                                                                         COSMRibbonQuickAccessControls* quickAccess)
    : m_original(RefPtr<COSMControl>::Retain(original)), m_present(RefPtr<COSMControl>::Retain(present)),
      m_quickAccess(RefPtr<COSMRibbonQuickAccessControls>::Retain(quickAccess))
{}

void COSMRibbonControlQuickAccessCommand::OnExecute()
{
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    if (COSMCommandBars* commandBars = GetCommandBars())
        commandBars->ClosePopups();
    if (!m_quickAccess || !m_original)
        return;
    // The control also sits in the ribbon's own controls, so its collection link says nothing: look for it.
    BOOL present = FALSE;
    for (int i = 0; m_present && i < m_quickAccess->GetCount() && !present; ++i)
        present = m_quickAccess->GetAt(i) == m_present.Get();
    if (present)
    {
        m_quickAccess->Remove(m_present.Get());
    }
    else if (COSMControl* clone = m_quickAccess->AddClone(m_original.Get(), -1, TRUE))
    {
        clone->SetHideFlags(clone->GetHideFlags() & ~COSMControl::kHideCustomize);
        clone->SetRibbonGroup(nullptr);
    }
    if (COSMRibbonBar* ribbon = m_quickAccess->GetRibbonBar())
        ribbon->OnRecalcLayout();
}

COSMControl* COSMRibbonControlQuickAccessCommand::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonControlQuickAccessCommand(m_original.Get(), m_present.Get(), m_quickAccess.Get());
    clone->Copy(this, recursive);
    return clone;
}

// ---- Which controls may join ----

BOOL COSMRibbonBar::IsAllowQuickAccessControl(const COSMControl* control) const
{
    if (!control)
        return FALSE;
    if (!m_allowQuickAccessDuplicates && m_quickAccessControls->FindDuplicate(control))
        return FALSE;
    if (control->IsKindOf(RUNTIME_CLASS(COSMRibbonGroupControlPopup)))
        return control->GetID() > 0;
    return !(control->GetFlags() & kContextMenuNotMovable);
}

COSMControl* COSMRibbonBar::AddToQuickAccess(const COSMControl* control)
{
    COSMControl* clone = control ? m_quickAccessControls->AddClone(control, -1, TRUE) : nullptr;
    if (!clone)
        return nullptr;
    clone->SetTemporary(FALSE);
    clone->SetBeginGroup(FALSE);
    clone->SetRibbonGroup(nullptr);
    clone->SetHideFlags(0);
    clone->SetFlags(clone->GetFlags() & ~kContextMenuNotMovable);
    // A menu-like control keeps its popup arrow in the row; every other one shows as an icon.
    const int type = clone->GetType();
    const int wanted = type == COSMControlFactory::kTypeGallery || IsPopupType(type) ? 2 : 0;
    if (clone->GetStyleField() != wanted)
    {
        clone->SetStyle(wanted);
        clone->DelayLayoutParent();
    }
    OnRecalcLayout();
    return clone;
}

// ---- Building the menu ----

COSMPopupBar* COSMRibbonBar::CreateContextMenu(COSMControl* control)
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return nullptr;
    CWnd* site = GetSite();
    if (!m_quickAccessShown)
    {
        COSMPopupBar* toolbars = commandBars->CreateToolbarsPopup();
        if (toolbars && site && site->GetSafeHwnd())
            site->SendMessage(kMessageContextMenu, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(toolbars));
        return toolbars;
    }
    if (!control)
        return nullptr;
    // An inline gallery stands for the control whose popup shows it.
    if (control->GetType() == COSMControlFactory::kTypeGallery && !control->GetCommandBar() && control->GetParent() &&
        control->GetParent()->IsKindOf(RUNTIME_CLASS(COSMPopupBar)))
    {
        if (COSMControl* opener = static_cast<COSMPopupBar*>(control->GetParent())->GetControlPopup())
            control = opener;
    }

    const BOOL customizeButton = control->GetID() == COSMRibbonBarControlQuickAccessPopup::kControlId;
    CMenu menu;
    if (!GetResourceManager()->LoadMenu(&menu, customizeButton ? IDR_OSM_RIBBON_QUICK_ACCESS_MENU
                                                               : IDR_OSM_RIBBON_CONTROL_MENU))
        return nullptr;
    // Held until it is handed to the caller: a step that throws on the way takes the menu with it.
    RefPtr<COSMRibbonContextMenuBar> popup = RefPtr<COSMRibbonContextMenuBar>::Adopt(new COSMRibbonContextMenuBar);
    popup->SetCommandBars(commandBars);
    popup->SetCommandTargetWindow(this);
    popup->LoadMenu(menu.GetSubMenu(0), TRUE);
    // The toolbars list, which fills itself as the menu is laid out.
    if (COSMControl* toolbars = popup->GetControls()->Add(COSMControlFactory::kTypeButton, kToolbarsListId, nullptr,
                                                          customizeButton ? 0 : 2))
        toolbars->SetBeginGroup(TRUE);

    const BOOL inQuickAccess = IsQuickAccessControl(control);
    const BOOL allowed = IsAllowQuickAccessControl(control);
    const BOOL blocked = ((control->GetFlags() & kContextMenuNotMovable) && !allowed) || control->IsTemporary();
    COSMControls* originals = m_quickAccessControls->GetOriginalControls();
    const BOOL listOriginals = m_allowQuickAccessCustomization && originals != nullptr;

    COSMControls* items = popup->GetControls();
    for (int i = 0; i < items->GetCount(); ++i)
    {
        COSMControl* item = items->GetAt(i);
        switch (item->GetID())
        {
        case 9616:
            item->SetID(ID_OSM_RIBBON_QUICK_ACCESS_CUSTOMIZE);
            break;
        case 9617:
            item->SetID(ID_OSM_RIBBON_QUICK_ACCESS_BELOW);
            break;
        case 9618:
            item->SetID(ID_OSM_RIBBON_QUICK_ACCESS_ABOVE);
            break;
        default:
            break;
        }
        const UINT id = item->GetID();
        BOOL handled = TRUE;
        switch (id)
        {
        case ID_OSM_RIBBON_QUICK_ACCESS_REMOVE:
            item->SetVisible(inQuickAccess && !blocked && m_allowQuickAccessCustomization);
            popup->SetTarget(item, control);
            break;
        case ID_OSM_RIBBON_QUICK_ACCESS_ADD:
            item->SetVisible(!inQuickAccess && !blocked && m_allowQuickAccessCustomization);
            item->SetEnabled(allowed);
            popup->SetTarget(item, control);
            break;
        case ID_OSM_RIBBON_QUICK_ACCESS_CUSTOMIZE:
            if (!m_allowQuickAccessCustomization)
            {
                CString caption;
                if (commandBars->GetCustomizeDialog() &&
                    GetResourceManager()->LoadString(&caption, IDS_OSM_RIBBON_CUSTOMIZE))
                    item->SetCaption(caption);
                else
                    item->SetVisible(FALSE);
            }
            break;
        case ID_OSM_RIBBON_QUICK_ACCESS_BELOW:
            item->SetVisible(m_quickAccessShown && !m_quickAccessBelow);
            break;
        case ID_OSM_RIBBON_QUICK_ACCESS_ABOVE:
            item->SetVisible(m_quickAccessShown && m_quickAccessBelow);
            break;
        case ID_OSM_RIBBON_MINIMIZE:
            item->SetVisible(m_allowMinimize);
            item->SetChecked(m_minimized);
            item->SetEnabled(GetTabCount() > 0);
            break;
        case ID_OSM_RIBBON_QUICK_ACCESS_COMMANDS:
            handled = FALSE;
            item->SetHideFlags(item->GetHideFlags() | COSMControl::kHideHidden);
            if (listOriginals)
            {
                for (int n = 0; n < originals->GetCount(); ++n)
                {
                    COSMControl* original = originals->GetAt(n);
                    COSMControl* present = m_quickAccessControls->FindDuplicate(original);
                    auto* command =
                        new COSMRibbonControlQuickAccessCommand(original, present, m_quickAccessControls.Get());
                    items->AddControl(command, original->GetID(), nullptr, i + 1 + n, FALSE);
                    command->SetCaption(original->GetCaption());
                    command->SetChecked(present != nullptr);
                    command->SetFlags(command->GetFlags() | COSMControl::kFlagManualUpdate);
                }
                i += originals->GetCount();
            }
            break;
        case ID_OSM_RIBBON_QUICK_ACCESS_MORE:
        {
            COSMControl* label = items->SetControlType(item, kContextMenuLabelType);
            if (label)
            {
                label->SetFlags(label->GetFlags() | COSMControl::kFlagSkipFocus);
                label->SetDefaultItem(TRUE);
                label->SetVisible(listOriginals);
                item = label;
            }
            break;
        }
        default:
            handled = FALSE;
            break;
        }
        if (handled)
            item->SetFlags(item->GetFlags() | COSMControl::kFlagManualUpdate);
    }

    if (site && site->GetSafeHwnd())
        site->SendMessage(kMessageContextMenu, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(popup.Get()));
    return popup.Detach();
}

void COSMRibbonBar::ShowContextMenu(CPoint point, COSMControl* control)
{
    COSMCommandBar* parent = control ? control->GetParent() : nullptr;
    COSMCommandBars* commandBars = GetCommandBars();
    if (!parent || !parent->GetSafeHwnd() || !commandBars)
        return;
    parent->ClientToScreen(&point);
    // The menu holds the control until it is released: a command may take the control off its bar.
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(control);
    const RefPtr<COSMPopupBar> popup = RefPtr<COSMPopupBar>::Adopt(CreateContextMenu(control));
    if (!popup)
        return;
    if (popup->GetControls()->GetVisibleCount() > 0)
    {
        const UINT flags = kContextMenuRightButton | (parent == this ? 0 : kContextMenuRecursive);
        CWnd* owner = m_quickAccessShown ? static_cast<CWnd*>(this) : GetSite();
        COSMCommandBars::TrackPopupMenu(popup.Get(), flags, point.x, point.y, owner, nullptr,
                                        m_quickAccessShown ? owner : nullptr);
    }
}

void COSMRibbonBar::OnChildBarRButtonUp(COSMCommandBar* bar, int x, int y)
{
    auto* popup = dynamic_cast<COSMPopupBar*>(bar);
    if (!m_quickAccessShown || !popup)
        return;
    const COSMControl* opener = popup->GetControlPopup();
    if (opener && (opener->GetID() == COSMRibbonBarControlQuickAccessPopup::kControlId ||
                   opener->GetID() == COSMRibbonBarControlQuickAccessMore::kControlId))
        return;
    popup->SetPopuped(-1);
    const CPoint point(x, y);
    if (COSMControl* control = popup->GetControls()->HitTest(point))
    {
        ShowContextMenu(point, control);
        return;
    }
    // A group's caption strip in a tab or group popup stands for the whole group: its popup button's menu.
    const COSMRibbonGroupsScroller* scroller = COSMRibbonGroupsScroller::GetGroupsScroller(popup);
    COSMRibbonGroup* group = scroller ? scroller->HitTestGroup(point) : nullptr;
    if (group && group->GetCaptionRect().PtInRect(point))
        ShowContextMenu(point, group->GetPopupButton());
}

// ---- The entries' commands ----

LRESULT COSMRibbonBar::OnControlNotify(WPARAM wParam, LPARAM lParam)
{
    auto* block = reinterpret_cast<NMOSMCONTROL*>(lParam);
    if (!block || block->hdr.code != COSMControl::kNotifyExecute)
        return 0;
    return OnContextMenuCommand(static_cast<UINT>(wParam), block);
}

LRESULT COSMRibbonBar::OnContextMenuCommand(UINT id, NMOSMCONTROL* block)
{
    COSMCommandBars* commandBars = GetCommandBars();
    COSMControl* item = block ? block->pControl : nullptr;
    // The owner hears of the entry as of any control (0x2862, the entry's block); unanswered, it gets the plain
    // command.
    auto handOn = [&](CWnd* owner) {
        if (!owner || !owner->GetSafeHwnd())
            return;
        if (owner->SendMessage(COSMControl::kMessageControlNotify, id, reinterpret_cast<LPARAM>(block)) == 0)
            owner->SendMessage(WM_COMMAND, id, 0);
    };
    switch (id)
    {
    case ID_OSM_RIBBON_QUICK_ACCESS_ADD:
    {
        COSMControl* target = COSMRibbonContextMenuBar::GetTarget(item);
        const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(target);
        if (commandBars)
            commandBars->ClosePopups();
        if (target)
            AddToQuickAccess(target);
        return 1;
    }
    case ID_OSM_RIBBON_QUICK_ACCESS_REMOVE:
    {
        COSMControl* target = COSMRibbonContextMenuBar::GetTarget(item);
        if (target && IsQuickAccessControl(target))
        {
            m_quickAccessControls->Remove(target);
            OnRecalcLayout();
        }
        return 1;
    }
    case ID_OSM_RIBBON_QUICK_ACCESS_CUSTOMIZE:
        if (commandBars)
            commandBars->ClosePopups();
        handOn(GetSite());
        return 1;
    case ID_OSM_RIBBON_MINIMIZE:
        SetRibbonMinimized(!m_minimized);
        return 1;
    default:
        break;
    }
    if (id >= kRibbonFirstOwnCommand && id <= kRibbonLastOwnCommand)
        return 0;
    if (item && item->GetParent())
        item->GetParent()->GetRootParent()->StopTracking();
    handOn(commandBars ? commandBars->GetSite() : GetSite());
    return 1;
}

void COSMRibbonBar::OnQuickAccessPlacement(UINT id)
{
    if (COSMCommandBars* commandBars = GetCommandBars())
        commandBars->ClosePopups();
    ShowQuickAccessBelow(id == ID_OSM_RIBBON_QUICK_ACCESS_BELOW);
}

// ---- The quick-access customize button's menu ----

BOOL COSMRibbonBarControlQuickAccessPopup::OnSetPopup(BOOL popup)
{
    auto* ribbon = m_parent ? dynamic_cast<COSMRibbonBar*>(m_parent->GetRootParent()) : nullptr;
    if (!popup || !ribbon)
        return COSMControlPopup::OnSetPopup(FALSE);
    // Built anew each time: the quick access may have changed since it last opened.
    SetCommandBar(nullptr);
    const RefPtr<COSMPopupBar> menu = RefPtr<COSMPopupBar>::Adopt(ribbon->CreateContextMenu(this));
    if (!menu)
        return FALSE;
    SetCommandBar(menu.Get());
    return COSMControlPopup::OnSetPopup(TRUE);
}
