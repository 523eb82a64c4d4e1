#include "framework/commandbars/Controls.h"

#include "classlib/Menu.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/ControlFactory.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ResourceManager.h"

#include <cstdlib>

IMPLEMENT_DYNCREATE(COSMControls, CCmdTarget)
IMPLEMENT_DYNCREATE(COSMOriginalControls, COSMControls)

namespace {

// Menu items with this id are markers, never controls.
const UINT kSkippedMenuItemId = 0xFF00;
// Menu texts are read up to this length.
const int kMaxMenuText = 1024;

// Hide flags keyboard navigation looks past: scrolled out of a popup, and (unless the layout asks) unused in a
// collapsed menu.
const DWORD kNavigationSkipLayout = COSMControl::kHideScroll;
const DWORD kNavigationSkip = COSMControl::kHideScroll | COSMControl::kHideUsage;

BOOL IsPopupType(int type)
{
    return type >= 2 && type <= 4;
}

// Ids whose controls never get an action of their own when added by Type: the customize commands and the list
// controls' commands.
BOOL IsReservedActionId(int id)
{
    return (id >= 9100 && id <= 9299) || (id >= 35000 && id <= 35003);
}

CString MenuItemText(CMenu* menu, int position)
{
    CString text;
    GetResourceManager()->GetMenuString(menu, static_cast<UINT>(position), text, MF_BYPOSITION);
    return text.GetLength() > kMaxMenuText ? text.Left(kMaxMenuText) : text;
}

}  // namespace

COSMControls::COSMControls() {}

COSMControls::~COSMControls()
{
    // Every control goes, fixed ones too: nothing else holds them. The bar is no longer told.
    m_parent = nullptr;
    while (!m_controls.empty())
        TakeOut(m_controls.size() - 1);
    ClearOriginalControls();
}

COSMOriginalControls::COSMOriginalControls()
{
    m_originalFlag = TRUE;
}

COSMControl* COSMControls::GetAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_controls[static_cast<size_t>(index)];
}

// ---- Creation and insertion ----

COSMControl* COSMControls::Add(int type, int id, LPCSTR parameter, int before, BOOL temporary)
{
    COSMControl* control = COSMControlFactory::CreateForAdd(type, static_cast<UINT>(id));
    if (!control)
        return nullptr;
    if (IsPopupType(type) && control->IsKindOf(RUNTIME_CLASS(COSMControlPopup)))
    {
        // A menu resource of the id gives the popup its content and caption.
        CMenu menu;
        CMenu* subMenu = nullptr;
        CString title;
        if (id > 0 && GetResourceManager()->LoadMenu(&menu, static_cast<UINT>(id) & 0xFFFF))
        {
            subMenu = menu.GetSubMenu(0);
            title = MenuItemText(&menu, 0);
        }
        if (COSMCommandBar* bar = RequestPopupBar(title, static_cast<UINT>(id)))
        {
            control->SetCaption(title);
            if (subMenu)
                bar->LoadMenu(subMenu, TRUE);
            static_cast<COSMControlPopup*>(control)->SetCommandBar(bar);
            bar->InternalRelease();
        }
    }
    if (type != COSMControlFactory::kTypeCustom)
        control->SetType(type);
    return AddControl(control, id, parameter, before, temporary);
}

COSMControl* COSMControls::AddControl(COSMControl* control, int id, LPCSTR parameter, int before, BOOL temporary)
{
    if (!control)
        return nullptr;
    control->SetParameter(parameter ? parameter : "");
    control->SetTemporary(temporary);
    if (control->GetAction() || !BindAction(control, static_cast<UINT>(id), FALSE))
        control->SetID(static_cast<UINT>(id));
    return InsertAt(control, before);
}

BOOL COSMControls::BindAction(COSMControl* control, UINT id, BOOL menuRules) const
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return FALSE;
    if (COSMControlAction* action = commandBars->GetAction(static_cast<int>(id)))
    {
        control->SetAction(action);
        return TRUE;
    }
    if (!commandBars->IsActionsEnabled())
        return FALSE;
    // Menu items bind any command id; controls added by Type leave the reserved ids alone.
    const BOOL allowed = menuRules ? id != 0 && id <= static_cast<UINT>(COSMControlActions::kFirstInvalidId - 1)
                                   : static_cast<int>(id) >= 1 &&
                                         static_cast<int>(id) < COSMControlActions::kFirstInvalidId &&
                                         !IsReservedActionId(static_cast<int>(id));
    if (!allowed)
        return FALSE;
    control->SetAction(commandBars->CreateAction(static_cast<int>(id)));
    return TRUE;
}

COSMControl* COSMControls::InsertAt(COSMControl* control, int before)
{
    if (!control)
        return nullptr;
    // The reference is the collection's from here on, also when the array cannot grow to hold it.
    RefPtr<COSMControl> taken = RefPtr<COSMControl>::Adopt(control);
    if (before < 0 || before >= GetCount())
        m_controls.push_back(control);
    else
        m_controls.insert(m_controls.begin() + before, control);
    (void)taken.Detach();
    OnControlAdded(control);
    return control;
}

COSMControl* COSMControls::AddClone(const COSMControl* control, int before, BOOL recursive)
{
    CObject* object = control->GetRuntimeClass()->CreateObject();
    if (!object)
        return nullptr;
    auto* clone = static_cast<COSMControl*>(object);
    InsertAt(clone, before);
    clone->Copy(control, recursive);
    return clone;
}

COSMControl* COSMControls::AddMenuItem(CMenu* menu, int position)
{
    CMenu* subMenu = menu->GetSubMenu(position);
    const HMENU subMenuHandle = subMenu ? subMenu->GetSafeHmenu() : nullptr;
    UINT id = menu->GetMenuItemID(position);
    const BOOL defaultItem =
        ::GetMenuDefaultItem(menu->GetSafeHmenu(), TRUE, GMDI_USEDISABLED) == static_cast<UINT>(position);
    if (id == kSkippedMenuItemId)
        return nullptr;

    CString caption = MenuItemText(menu, position);
    // A sub-menu item may carry its command id after a tab.
    const int tab = caption.Find('\t');
    if (subMenuHandle && tab >= 1)
    {
        const UINT number = static_cast<UINT>(std::strtoul(caption.Mid(tab + 1), nullptr, 10));
        if (number != 0)
        {
            id = number;
            caption = caption.Left(tab);
        }
    }

    COSMControlCreateBlock block;
    block.id = id;
    block.position = position;
    block.menu = menu;
    block.commandBar = m_parent;
    block.caption = caption;
    block.type = subMenuHandle ? 2 : 1;
    CWnd* site = GetSiteWindow();
    if (site && site->SendMessage(kMessageBeforeCreateControl, 0, reinterpret_cast<LPARAM>(&block)) == 0)
    {
        // An unanswered message leaves everything as it was.
        block.control = nullptr;
        block.type = subMenuHandle ? 2 : 1;
        block.caption = caption;
        block.id = id;
        block.buttonStyle = 0;
    }

    COSMControl* control = block.control;
    if (!control)
    {
        control = COSMControlFactory::CreateForMenu(block.type, block.id, block.caption);
        if (control && IsPopupType(block.type) && control->IsKindOf(RUNTIME_CLASS(COSMControlPopup)))
        {
            CString title = block.caption;
            COSMPaintManager::StripMnemonics(title);
            COSMCommandBar* bar = RequestPopupBar(title, block.id);
            if (bar)
            {
                bar->SetTitle(title);
                bar->Redraw(nullptr, TRUE);
                // Without a sub-menu of its own the popup is filled from the menu resource of its id; a loaded
                // menu is destroyed once converted.
                CMenu resourceMenu;
                CMenu* content = subMenuHandle ? CMenu::FromHandle(subMenuHandle) : nullptr;
                if (!content && block.id != 0 && GetResourceManager()->LoadMenu(&resourceMenu, block.id))
                    content = resourceMenu.GetSubMenu(0);
                if (content)
                    bar->LoadMenu(content, FALSE);
                static_cast<COSMControlPopup*>(control)->SetCommandBar(bar);
                bar->InternalRelease();
            }
        }
        if (!control)
            return nullptr;
    }

    control->SetType(block.type);
    if (control->GetStyleField() != block.buttonStyle)
    {
        control->SetStyle(block.buttonStyle);
        control->DelayLayoutParent();
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (menu->GetMenuItemInfo(static_cast<UINT>(position), &info, TRUE))
        control->SetTag(info.dwItemData);

    if (!control->GetAction())
    {
        if (BindAction(control, block.id, TRUE))
        {
            COSMControlAction* action = control->GetAction();
            if (action->GetCaptionText().IsEmpty())
                action->SetCaption(block.caption);
        }
        else
        {
            control->SetID(block.id);
            control->SetCaption(block.caption);
        }
    }
    if (defaultItem)
        control->SetDefaultItem(TRUE);

    Append(control);
    block.control = control;
    if (site)
        site->SendMessage(kMessageAfterCreateControl, 0, reinterpret_cast<LPARAM>(&block));
    return control;
}

COSMCommandBar* COSMControls::RequestPopupBar(CString& title, UINT id) const
{
    COSMCommandBarRequestBlock request;
    request.popup = TRUE;
    request.title = title;
    request.id = id;
    CWnd* site = GetSiteWindow();
    if (site && site->SendMessage(kMessageCreateCommandBar, 0, reinterpret_cast<LPARAM>(&request)) != 0 &&
        request.commandBar)
    {
        if (request.commandBar->IsKindOf(RUNTIME_CLASS(COSMPopupBar)))
        {
            title = request.title;
            return request.commandBar;
        }
        // Not a popup: the site's bar is not used, and its reference goes back.
        request.commandBar->InternalRelease();
    }
    return COSMPopupBar::CreatePopupBar(GetCommandBars());
}

CWnd* COSMControls::GetSiteWindow() const
{
    if (COSMCommandBars* commandBars = GetCommandBars())
        return commandBars->GetSite();
    return m_parent ? m_parent->GetSite() : nullptr;
}

// ---- Removal ----

void COSMControls::Remove(COSMControl* control)
{
    if (!control || control->GetControls() != this)
        return;
    if (control->GetSelected() && m_parent)
        m_parent->SetSelected(-1, FALSE);
    const int index = control->GetIndex();
    if (index < 0 || index >= GetCount() || m_controls[static_cast<size_t>(index)] != control ||
        IsFixedControl(control))
        return;
    TakeOut(static_cast<size_t>(index));
}

void COSMControls::RemoveAt(int index)
{
    Remove(GetAt(index));
}

void COSMControls::RemoveAll()
{
    for (int index = GetCount() - 1; index >= 0; --index)
    {
        if (!IsFixedControl(m_controls[static_cast<size_t>(index)]))
            TakeOut(static_cast<size_t>(index));
    }
}

void COSMControls::TakeOut(size_t position)
{
    COSMControl* control = m_controls[position];
    m_controls.erase(m_controls.begin() + static_cast<std::ptrdiff_t>(position));
    OnControlRemoved(control);
    control->SetParent(nullptr);
    control->InternalRelease();
}

// ---- Links ----

void COSMControls::RefreshIndexes()
{
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        COSMControl* control = m_controls[i];
        control->m_index = static_cast<int>(i);
        control->m_controls = this;
        control->SetParent(m_parent);
    }
    if (m_parent)
        m_parent->DelayLayout();
}

void COSMControls::OnControlAdded(COSMControl* control)
{
    RefreshIndexes();
}

void COSMControls::OnControlRemoved(COSMControl* control)
{
    control->m_controls = nullptr;
    control->OnRemoved();
    control->m_parent = nullptr;
    RefreshIndexes();
}

void COSMControls::SetParent(COSMCommandBar* parent)
{
    m_parent = parent;
    if (!m_controls.empty())
        RefreshIndexes();
}

COSMCommandBars* COSMControls::GetCommandBars() const
{
    return m_parent ? m_parent->GetCommandBars() : m_commandBars;
}

// ---- Search and navigation ----

COSMControl* COSMControls::FindControl(int type, int id, BOOL visibleOnly, BOOL recursive) const
{
    for (COSMControl* control : m_controls)
    {
        if ((type == 0 || control->GetType() == type) && (!visibleOnly || control->IsVisible(0)) &&
            (id == -1 || control->GetID() == static_cast<UINT>(id)))
            return control;
        if (!recursive)
            continue;
        if (COSMCommandBar* bar = control->GetCommandBar())
        {
            if (COSMControl* found = bar->GetControls()->FindControl(type, id, visibleOnly, recursive))
                return found;
        }
    }
    return nullptr;
}

COSMControl* COSMControls::HitTest(CPoint point) const
{
    for (COSMControl* control : m_controls)
        if (control->IsVisible(0) && control->GetRect().PtInRect(point))
            return control;
    return nullptr;
}

int COSMControls::GetVisibleCount(BOOL allHidden) const
{
    const DWORD skip = allHidden ? 0 : COSMControl::kHideWrap;
    int count = 0;
    for (COSMControl* control : m_controls)
        if (control->IsVisible(skip))
            ++count;
    return count;
}

COSMControl* COSMControls::GetVisibleAt(int n, BOOL allHidden) const
{
    const DWORD skip = allHidden ? 0 : COSMControl::kHideWrap;
    for (COSMControl* control : m_controls)
        if (control->IsVisible(skip) && n-- == 0)
            return control;
    return nullptr;
}

int COSMControls::GetNext(int index, int direction, BOOL keyboard, BOOL skipTemporary, BOOL layoutMask) const
{
    const int count = GetCount();
    if (count == 0)
        return -1;
    const DWORD skip = layoutMask ? kNavigationSkipLayout : kNavigationSkip;
    auto qualifies = [&](int candidate) {
        if (candidate < 0 || candidate >= count)
            return false;
        const COSMControl* control = m_controls[static_cast<size_t>(candidate)];
        return control->IsVisible(skip) && !(keyboard && (control->GetFlags() & COSMControl::kFlagSkipFocus)) &&
               !(skipTemporary && control->IsTemporary());
    };

    int candidate = direction == -1 && index == -1 ? count - 1 : index + direction;
    BOOL wrapped = FALSE;
    for (;;)
    {
        // Back at the start after a full circle: the start itself only when it may be taken.
        if (candidate == index)
            return qualifies(index) ? index : -1;
        if (candidate >= count)
        {
            if ((index == -1 && direction == 1) || wrapped)
                return -1;
            candidate = 0;
            wrapped = TRUE;
            continue;
        }
        if (candidate < 0)
        {
            if ((index == -1 && direction == -1) || wrapped)
                return -1;
            candidate = count - 1;
            wrapped = TRUE;
            continue;
        }
        if (qualifies(candidate))
            return candidate;
        candidate += direction;
    }
}

// ---- Type change ----

COSMControl* COSMControls::SetControlType(COSMControl* control, int type)
{
    if (!control || control->GetControls() != this)
        return nullptr;
    if (IsPopupType(control->GetType()) && IsPopupType(type))
    {
        control->SetType(type);
        return control;
    }
    COSMControl* replacement = Add(type, 0, "", control->GetIndex() + 1, FALSE);
    if (!replacement)
        return nullptr;
    replacement->COSMControl::Copy(control, FALSE);
    replacement->SetType(type);
    Remove(control);
    return replacement;
}

COSMControl* COSMControls::SetControlTypeAt(int index, int type)
{
    return SetControlType(GetAt(index), type);
}

// ---- Copies and the original snapshot ----

void COSMControls::Copy(const COSMControls* source, BOOL recursive)
{
    if (!source || source == this)
        return;
    RemoveAll();
    for (COSMControl* control : source->m_controls)
        if (!control->IsTemporary())
            AddClone(control, -1, recursive);
    const COSMOriginalControls* original = source->m_originalControls;
    SetOriginalControls(original ? static_cast<COSMOriginalControls*>(original->Duplicate(recursive)) : nullptr);
}

COSMControls* COSMControls::Duplicate(BOOL recursive) const
{
    CObject* object = GetRuntimeClass()->CreateObject();
    if (!object)
        return nullptr;
    auto* copy = static_cast<COSMControls*>(object);
    for (COSMControl* control : m_controls)
        if (!control->IsTemporary())
            copy->AddClone(control, -1, recursive);
    if (m_originalControls)
        copy->SetOriginalControls(static_cast<COSMOriginalControls*>(m_originalControls->Duplicate(recursive)));
    return copy;
}

void COSMControls::CreateOriginalControls()
{
    ClearOriginalControls();
    auto original = RefPtr<COSMOriginalControls>::Adopt(new COSMOriginalControls);
    for (COSMControl* control : m_controls)
        if (!control->IsTemporary())
            original->AddClone(control, -1, TRUE);
    m_originalControls = original.Detach();
}

void COSMControls::SetOriginalControls(COSMOriginalControls* original)
{
    if (m_originalControls)
        m_originalControls->InternalRelease();
    m_originalControls = original;
}

BOOL COSMControls::Compare(const COSMControls* other) const
{
    if (!other)
        return FALSE;
    size_t mine = 0;
    size_t theirs = 0;
    for (;;)
    {
        while (mine < m_controls.size() && m_controls[mine]->IsTemporary())
            ++mine;
        while (theirs < other->m_controls.size() && other->m_controls[theirs]->IsTemporary())
            ++theirs;
        const BOOL mineDone = mine == m_controls.size();
        const BOOL theirsDone = theirs == other->m_controls.size();
        if (mineDone || theirsDone)
            return mineDone && theirsDone;
        if (!m_controls[mine]->Compare(other->m_controls[theirs]))
            return FALSE;
        ++mine;
        ++theirs;
    }
}

BOOL COSMControls::IsChanged() const
{
    return !m_originalControls || !m_originalControls->Compare(this);
}

BOOL COSMControls::ShouldSerializeControl(const COSMControl* control) const
{
    return !control->IsTemporary();
}
