#include "framework/controls/ControlWindowList.h"

#include "classlib/MDIFrameWnd.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/MenuCaption.h"
#include "framework/controls/ListControlEntries.h"
#include "framework/foundation/ResourceManager.h"

#include <string>

IMPLEMENT_SERIAL(COSMControlWindowList, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

UINT COSMControlWindowList::s_firstChildId = 0xFF00;

namespace {

// MDI clients that number their windows from these ids.
const UINT kAlternateFirstIds[] = {0x8000, 1};
const UINT kAlternateIdRange = 0x2F;

HWND FindMdiClient(CWnd* site)
{
    if (auto* mdiFrame = dynamic_cast<CMDIFrameWnd*>(site))
        return mdiFrame->m_hWndMDIClient;
    // A frame this library did not make: its MDI client is a child of the system's class.
    return site && site->GetSafeHwnd() ? ::FindWindowExA(site->GetSafeHwnd(), nullptr, "MDIClient", nullptr) : nullptr;
}

CString WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(window, &text[0], length + 1);
    return CString(text.c_str());
}

}  // namespace

void COSMControlWindowList::BuildDynamicItems(DWORD)
{
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    // The user's own controls are never temporary: only the entries of a build are taken.
    OsmRemoveListEntries(this,
                         [](COSMControl* next) { return next->IsTemporary() && next->GetID() >= s_firstChildId; });
    HWND client = m_parent ? FindMdiClient(m_parent->GetSite()) : nullptr;
    if (IsCustomizeMode() || !client || !GetControls())
    {
        OsmShowListPlaceholder(this, TRUE);
        return;
    }
    OsmShowListPlaceholder(this, FALSE);

    auto active = reinterpret_cast<HWND>(::SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
    if (active)
    {
        const auto activeId = static_cast<UINT>(::GetDlgCtrlID(active));
        for (UINT first : kAlternateFirstIds)
            if (activeId >= first && activeId < first + kAlternateIdRange)
                s_firstChildId = first;
    }

    CString prompt;
    GetResourceManager()->LoadString(&prompt, IDS_OSM_WINDOW_LIST_ENTRY);
    int listed = 0;
    for (UINT id = s_firstChildId; listed < kMostWindows; ++id)
    {
        HWND window = ::GetDlgItem(client, static_cast<int>(id));
        if (!window)
            break;
        if (!::IsWindowVisible(window))
            continue;
        ++listed;
        COSMControl* entry = GetControls()->Add(1, static_cast<int>(id), nullptr, GetIndex() + listed, TRUE);
        if (!entry)
            break;
        entry->SetCaption(MakeNumberedMenuCaption(listed, WindowText(window)));
        entry->SetFlags(kFlagManualUpdate | (listed == 1 ? GetFlags() & kFlagWrapRow : 0));
        entry->SetBeginGroup(listed == 1);
        entry->SetHelpId(IDS_OSM_WINDOW_LIST_ENTRY);
        entry->SetPrompt(prompt);
        entry->SetChecked(window == active ? 1 : 0);
    }
}

BOOL COSMControlWindowList::IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint, int& effect) const
{
    return OsmListDropAllowed(bar, effect);
}

COSMControl* COSMControlWindowList::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlWindowList*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
