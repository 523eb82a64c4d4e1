#include "framework/controls/ControlRecentFileList.h"

#include "classlib/RecentFileList.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/MenuCaption.h"
#include "framework/controls/ListControlEntries.h"

IMPLEMENT_SERIAL(COSMControlRecentFileList, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

CRecentFileList* COSMControlRecentFileList::GetRecentFileList() const
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pRecentFileList : nullptr;
}

void COSMControlRecentFileList::BuildDynamicItems(DWORD)
{
    CRecentFileList* list = GetRecentFileList();
    if (!list || list->GetSize() == 0 || !GetControls())
        return;
    const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
    const UINT first = GetFirstID();
    const auto size = static_cast<UINT>(list->GetSize());
    // An entry's id is one of the list's own, first up to first + size - 1: a control with the id after them
    // belongs to the user.
    OsmRemoveListEntries(this, [first, size](COSMControl* next) {
        return next->IsTemporary() && next->GetID() >= first && next->GetID() - first < size;
    });
    if (IsCustomizeMode())
    {
        OsmShowListPlaceholder(this, TRUE);
        SetEnabled(1);
        return;
    }
    if ((*list)[0].IsEmpty())
    {
        OsmShowListPlaceholder(this, TRUE);
        SetEnabled(0);
        return;
    }
    OsmShowListPlaceholder(this, FALSE);

    char folder[MAX_PATH + 1] = {};
    DWORD length = ::GetCurrentDirectoryA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        length = 0;
    else if (folder[length - 1] != '\\')
        folder[length++] = '\\';
    folder[length] = '\0';

    for (int i = 0; i < list->GetSize(); ++i)
    {
        CString name;
        if (!list->GetDisplayName(name, i, folder, static_cast<int>(length), TRUE))
            break;
        COSMControl* entry =
            GetControls()->Add(1, static_cast<int>(first + static_cast<UINT>(i)), nullptr, GetIndex() + 1 + i, TRUE);
        if (!entry)
            break;
        entry->SetCaption(MakeNumberedMenuCaption(i + 1, name));
        entry->SetFlags(kFlagManualUpdate | (i == 0 ? GetFlags() & kFlagWrapRow : 0));
        // At the top of its bar the list needs no separator above it.
        entry->SetBeginGroup(i == 0 && GetIndex() > 0);
    }
}

BOOL COSMControlRecentFileList::IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint, int& effect) const
{
    return OsmListDropAllowed(bar, effect);
}

COSMControl* COSMControlRecentFileList::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlRecentFileList*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
