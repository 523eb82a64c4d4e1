#include "framework/commandbars/ControlToolbars.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/MenuCaption.h"
#include "framework/commandbars/ToolBar.h"

#include <cstring>

IMPLEMENT_SERIAL(COSMControlToolbars, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

namespace {

// One toolbar's entry: shows or hides the bar it was made for. Always temporary, so it needs no class record.
class COSMControlToolbarEntry : public COSMControlButton
{
public:
    explicit COSMControlToolbarEntry(int barIndex) : m_barIndex(barIndex) {}

    void OnExecute() override
    {
        COSMCommandBars* commandBars = GetCommandBars();
        if (!commandBars)
            return;
        // The menu goes first: showing a bar lays the frame out, which the open popups must not see.
        const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
        commandBars->ClosePopups();
        commandBars->ToggleVisible(m_barIndex);
    }

private:
    int m_barIndex;
};

BOOL IsListedBar(COSMCommandBar* bar)
{
    // Only toolbars carry "ContextMenuPresent"; a bar of another kind is never listed.
    const auto* toolBar = dynamic_cast<COSMToolBar*>(bar);
    return toolBar && toolBar->IsContextMenuPresent() && toolBar->IsCloseable();
}

}  // namespace

void COSMControlToolbars::BuildDynamicItems(DWORD)
{
    COSMControls* controls = GetControls();
    if (!controls)
        return;
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    while (COSMControl* next = controls->GetAt(GetIndex() + 1))
    {
        if (std::strcmp(next->GetParameter(), kEntryParameter) != 0)
            break;
        controls->Remove(next);
    }
    if (IsCustomizeMode())
    {
        SetHideFlags(GetHideFlags() & ~kHideHidden);
        return;
    }
    SetHideFlags(GetHideFlags() | kHideHidden);
    if (m_parent)
        CreateToolbarMenu(m_parent, GetIndex() + 1, GetID(), FALSE, GetBeginGroup());
}

BOOL COSMControlToolbars::IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint, int& effect) const
{
    if (bar && bar->GetType() == COSMCommandBar::kTypePopup)
        return TRUE;
    effect = 0;
    return FALSE;
}

COSMControl* COSMControlToolbars::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlToolbars*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}

void COSMControlToolbars::CreateToolbarMenu(COSMCommandBar* popup, int insertAt, UINT id, BOOL customizeEntry,
                                            BOOL beginGroup)
{
    COSMCommandBars* commandBars = popup ? popup->GetCommandBars() : nullptr;
    if (!commandBars)
        return;
    COSMControls* controls = popup->GetControls();
    int before = insertAt >= 0 && insertAt < controls->GetCount() ? insertAt : -1;
    const auto next = [&before]() { return before < 0 ? -1 : before++; };
    BOOL first = TRUE;
    for (int i = 0; i < commandBars->GetCount(); ++i)
    {
        COSMCommandBar* bar = commandBars->GetAt(i);
        if (!IsListedBar(bar))
            continue;
        COSMControl* entry =
            controls->AddControl(new COSMControlToolbarEntry(i), static_cast<int>(id), kEntryParameter, next(), TRUE);
        entry->SetType(1);
        if (first)
            entry->SetBeginGroup(beginGroup);
        first = FALSE;
        entry->SetCaption(MakeNumberedMenuCaption(0, bar->GetTitle()));
        entry->SetFlags(kFlagManualUpdate);
        entry->SetChecked(bar->IsVisible());
    }
    if (customizeEntry && commandBars->GetCustomizeDialog())
    {
        // Made directly: the factory answers some ids with list controls.
        COSMControl* customize =
            controls->AddControl(new COSMControlButton, static_cast<int>(kCustomizeId), nullptr, next(), TRUE);
        customize->SetType(1);
        customize->SetBeginGroup(TRUE);
    }
}
