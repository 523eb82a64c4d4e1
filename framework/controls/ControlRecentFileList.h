// COSMControlRecentFileList: the menu entry that turns into the application's recent files each time its popup is
// laid out: "&1 name" and on, with ids from 57616, a file in the current folder by its name, any other by its path.
// While the list's first entry is empty the entry itself shows, greyed; in customize mode it shows enabled. Bars
// make it for Type 1 with id 35003 (in menus 57616), or by class name when stored bars are loaded:
//
//   fileMenu->GetControls()->Add(1, 35003);
//   AfxGetApp()->m_pRecentFileList = new CRecentFileList(4);   // what it lists
#pragma once

#include "classlib/Object.h"
#include "framework/commandbars/ControlButton.h"

class CRecentFileList;

class COSMControlRecentFileList : public COSMControlButton
{
    DECLARE_SERIAL(COSMControlRecentFileList)

public:
    static constexpr UINT kFirstRecentFileId = 57616;

    COSMControlRecentFileList() = default;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The list shown: the application's (null without an application or a list).
    virtual CRecentFileList* GetRecentFileList() const;
    // The command id of the first file; the others follow it.
    virtual UINT GetFirstID() const { return kFirstRecentFileId; }

    // Takes the entries of the last build out (the ids of the list's entries, temporary) and lists the files after
    // itself. The layout mode does not matter.
    void BuildDynamicItems(DWORD layoutMode) override;
    // Only into a popup bar.
    BOOL IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const override;
    COSMControl* Clone(BOOL recursive) const override;
};
