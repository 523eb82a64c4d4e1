#include "framework/controls/ControlOleItems.h"

#include "classlib/FrameWnd.h"
#include "classlib/Menu.h"
#include "classlib/OleDocument.h"
#include "classlib/RefPtr.h"
#include "classlib/View.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/controls/ListControlEntries.h"

#include <cstring>

IMPLEMENT_SERIAL(COSMControlOleItems, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

namespace {

const int kMostMenuTextChars = 1024;

// The item whose verbs the menu offers: the one selected in the active view of the frame's active frame, when that
// view shows an OLE document and the item is not open in a window of its own.
COleClientItem* SelectedOleItem(CFrameWnd* frame)
{
    CFrameWnd* activeFrame = frame ? frame->GetActiveFrame() : nullptr;
    CView* view = activeFrame ? activeFrame->GetActiveView() : nullptr;
    auto* document = view ? dynamic_cast<COleDocument*>(view->GetDocument()) : nullptr;
    COleClientItem* item = document ? document->GetPrimarySelectedItem(view) : nullptr;
    return item && item->GetItemState() != COleClientItem::openState ? item : nullptr;
}

}  // namespace

void COSMControlOleItems::BuildDynamicItems(DWORD)
{
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    if (COSMControl* next = GetControls() ? GetControls()->GetAt(GetIndex() + 1) : nullptr)
        if (std::strcmp(next->GetParameter(), kEntryParameter) == 0)
            GetControls()->Remove(next);
    if (IsCustomizeMode())
    {
        OsmShowListPlaceholder(this, TRUE);
        return;
    }
    OsmShowListPlaceholder(this, FALSE);
    COleClientItem* item = m_parent ? SelectedOleItem(m_parent->GetFrameSite()) : nullptr;
    if (!item)
        return;

    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    AfxOleSetEditMenu(item, &menu, 0, kFirstVerbId, kLastVerbId);
    HMENU verbs = ::GetMenuItemCount(menu.GetSafeHmenu()) == 1 ? ::GetSubMenu(menu.GetSafeHmenu(), 0) : nullptr;
    COSMCommandBars* commandBars = GetCommandBars();
    if (verbs && commandBars)
    {
        const RefPtr<COSMPopupBar> popupBar = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars));
        COSMControl* entry = popupBar ? GetControls()->Add(2, 0, kEntryParameter, GetIndex() + 1, TRUE) : nullptr;
        if (auto* popup = dynamic_cast<COSMControlPopup*>(entry))
        {
            CMenu subMenu;
            subMenu.Attach(verbs);
            popupBar->LoadMenu(&subMenu, TRUE);
            subMenu.Detach();
            popup->SetCommandBar(popupBar.Get());
            char text[kMostMenuTextChars + 1] = {};
            ::GetMenuStringA(menu.GetSafeHmenu(), 0, text, kMostMenuTextChars, MF_BYPOSITION);
            entry->SetCaption(text);
        }
    }
    menu.DestroyMenu();
}

BOOL COSMControlOleItems::IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint, int& effect) const
{
    return OsmListDropAllowed(bar, effect);
}

COSMControl* COSMControlOleItems::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlOleItems*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
