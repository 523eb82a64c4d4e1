// The manager's toolbars: making them, the four dock bars, docking and floating, and the expand-button menus.
#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "framework/commandbars/CommandBars.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlToolbars.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/MenuCaption.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ToolBar.h"

#include <vector>

namespace {

// Dock styles and child ids of the four dock bars, in the manager's order: top, bottom, left, right.
const DWORD kDockStyles[4] = {COSMDockBar::kStyleTop, COSMDockBar::kStyleBottom, COSMDockBar::kStyleLeft,
                              COSMDockBar::kStyleRight};
const UINT kFirstDockBarId = 0xE81B;
// How far outside a dock bar a dragged bar is still offered to it.
const int kDockReach = 20;

// The bars of the toolbar's dock row in their order along it; the toolbar alone when it is not docked there.
std::vector<COSMToolBar*> RowOf(COSMToolBar* toolBar, BOOL aloneWhenMissing)
{
    std::vector<COSMToolBar*> row;
    COSMDockBar* dockBar = toolBar ? toolBar->GetDockBar() : nullptr;
    const int index = dockBar ? dockBar->FindBar(toolBar) : -1;
    if (index > 0)
        dockBar->GetRowBars(index, row);
    if (row.empty() && aloneWhenMissing && toolBar)
        row.push_back(toolBar);
    return row;
}

}  // namespace

CRuntimeClass* COSMCommandBars::GetToolBarClass() const
{
    return m_toolBarClass ? m_toolBarClass : RUNTIME_CLASS(COSMToolBar);
}

COSMCommandBar* COSMCommandBars::AddToolBar(const CString& title, UINT id, BOOL tearOff)
{
    CRuntimeClass* toolBarClass = GetToolBarClass();
    if (!toolBarClass->IsDerivedFrom(RUNTIME_CLASS(COSMToolBar)))
        return nullptr;
    auto* toolBar = static_cast<COSMToolBar*>(toolBarClass->CreateObject());
    if (!toolBar)
        return nullptr;
    toolBar->SetCommandBars(this);

    COSMCommandBarRequestBlock request;
    request.commandBar = toolBar;
    request.toolBar = TRUE;
    request.tearOff = tearOff;
    request.title = title;
    request.id = id;
    if (m_site && ::IsWindow(m_site->GetSafeHwnd()))
        m_site->SendMessage(COSMControls::kMessageCreateCommandBar, 0, reinterpret_cast<LPARAM>(&request));
    toolBar->SetTitle(request.title);

    if (!toolBar->SetPosition(tearOff ? 4 : 0))
    {
        toolBar->InternalRelease();
        return nullptr;
    }
    m_bars.push_back(toolBar);
    toolBar->SetBarID(id);
    toolBar->SetBuiltIn(FALSE);
    toolBar->SetTearOff(tearOff);
    // The frame's layout waits for idle time (or the application's own RecalcLayout): laid out at once, every bar
    // added would lay out all those before it again, and the new bar has no buttons yet anyway.
    if (!tearOff)
        RecalcFrameLayout(TRUE);
    AddToReBar(toolBar);
    return toolBar;
}

BOOL COSMCommandBars::CreateDockBars()
{
    if (!m_site || !::IsWindow(m_site->GetSafeHwnd()))
        return FALSE;
    for (int side = 0; side < 4; ++side)
    {
        if (m_dockBars[side])
            continue;
        auto dockBar = std::make_unique<COSMDockBar>();
        if (!dockBar->Create(m_site, kDockStyles[side], this, kFirstDockBarId + static_cast<UINT>(side)))
            return FALSE;
        m_dockBars[side] = std::move(dockBar);
    }
    return TRUE;
}

void COSMCommandBars::DestroyDockBars()
{
    for (std::unique_ptr<COSMDockBar>& dockBar : m_dockBars)
        dockBar.reset();
}

COSMDockBar* COSMCommandBars::GetDockBar(int side) const
{
    return side >= 0 && side < 4 ? m_dockBars[side].get() : nullptr;
}

BOOL COSMCommandBars::LeaveDockBar(COSMCommandBar* bar)
{
    auto* toolBar = dynamic_cast<COSMToolBar*>(bar);
    COSMDockBar* dockBar = toolBar ? toolBar->GetDockBar() : nullptr;
    if (!dockBar)
        return FALSE;
    dockBar->RemoveCommandBar(toolBar);
    toolBar->SetDockBar(nullptr);
    return TRUE;
}

BOOL COSMCommandBars::DockCommandBar(COSMCommandBar* bar, LPCRECT rect, COSMDockBar* dockBar)
{
    auto* toolBar = dynamic_cast<COSMToolBar*>(bar);
    // A new bar's window is made in its dock bar: made in the site and moved over, it would cost every bar a
    // change of parent, one of the slowest window operations.
    if (!dockBar || !toolBar || !toolBar->Create(dockBar, FALSE))
        return FALSE;
    dockBar->DockCommandBar(toolBar, rect);
    // The base stores the side; the toolbar's own SetPosition would dock again.
    toolBar->COSMCommandBar::SetPosition(dockBar->GetPosition());
    return TRUE;
}

BOOL COSMCommandBars::DockCommandBarAtPosition(COSMCommandBar* bar, int side)
{
    COSMDockBar* dockBar = GetDockBar(side);
    return dockBar ? DockCommandBar(bar, nullptr, dockBar) : FALSE;
}

BOOL COSMCommandBars::FloatCommandBar(COSMCommandBar* bar)
{
    auto* toolBar = dynamic_cast<COSMToolBar*>(bar);
    if (!toolBar || !toolBar->Create(m_site, TRUE))
        return FALSE;
    if (COSMDockBar* dockBar = toolBar->GetDockBar())
        dockBar->RemoveCommandBar(toolBar);
    toolBar->COSMCommandBar::SetPosition(COSMCommandBar::kPositionFloating);
    // The floating window was made empty: it takes its size now.
    toolBar->OnRecalcLayout();
    return TRUE;
}

COSMDockBar* COSMCommandBars::CanDock(CPoint point, COSMDockBar* hint) const
{
    auto accepts = [point](const COSMDockBar* dockBar) -> BOOL {
        if (!dockBar || !dockBar->GetSafeHwnd() || !(dockBar->GetDockStyle() & (0xA000 | 0x5000)))
            return FALSE;
        CRect rect;
        dockBar->GetWindowRect(&rect);
        rect.InflateRect(kDockReach, kDockReach);
        return point.x > rect.left && point.x < rect.right && point.y > rect.top && point.y < rect.bottom;
    };
    if (accepts(hint))
        return hint;
    for (const std::unique_ptr<COSMDockBar>& dockBar : m_dockBars)
        if (accepts(dockBar.get()))
            return dockBar.get();
    return nullptr;
}

void COSMCommandBars::AddHiddenControls(COSMCommandBar* bar, COSMPopupBar* popup)
{
    for (COSMToolBar* rowBar : RowOf(dynamic_cast<COSMToolBar*>(bar), FALSE))
        rowBar->AddHiddenControlsOfBar(popup);
}

void COSMCommandBars::AddCustomizeMenu(COSMCommandBar* bar, COSMPopupBar* popup)
{
    const std::vector<COSMToolBar*> row = RowOf(dynamic_cast<COSMToolBar*>(bar), TRUE);
    int number = 0;
    for (COSMToolBar* rowBar : row)
    {
        COSMControl* entry = popup->GetControls()->Add(2, 0);
        if (!entry)
            continue;
        entry->SetFlags(COSMControl::kFlagManualUpdate);
        entry->SetCaption(MakeNumberedMenuCaption(++number, rowBar->GetTitle()));
        auto* list = dynamic_cast<COSMPopupBar*>(entry->GetCommandBar());
        if (list && m_customizeDialog && rowBar->IsCustomizable() && rowBar->IsBuiltIn())
        {
            rowBar->BuildCustomizeMenu(list);
            list->SetAddOrRemoveList(TRUE);
        }
    }
    if (m_customizeDialog)
    {
        COSMControl* customize = popup->GetControls()->Add(1, static_cast<int>(COSMControlToolbars::kCustomizeId));
        if (customize)
            customize->SetBeginGroup(TRUE);
    }
}
