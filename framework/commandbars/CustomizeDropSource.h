// COSMCustomizeDropSource: the command-bars manager's member that runs customize drags of controls between bars.
// Every bar of the manager registers itself when its window is made and leaves when the window goes, so the drag
// knows which bars may take a control:
//
//   commandBars->GetDropSource()->Register(bar);      // COSMCommandBar does this in WM_CREATE
//   ...
//   commandBars->GetDropSource()->Unregister(bar);    // and this in WM_DESTROY
//
// The drop source also knows the customize sheet while one is open. In this form it keeps its bars and the sheet
// only; the drag itself (DoDrag, its cursors and its loop) comes with customization.
#pragma once

#include "classlib/ClassLib.h"

#include <vector>

class COSMCommandBar;
class COSMCommandBars;
class COSMCustomizeSheet;

class COSMCustomizeDropSource
{
public:
    explicit COSMCustomizeDropSource(COSMCommandBars* commandBars) : m_commandBars(commandBars) {}
    COSMCustomizeDropSource(const COSMCustomizeDropSource&) = delete;
    COSMCustomizeDropSource& operator=(const COSMCustomizeDropSource&) = delete;

    // Appends the bar (once) to the bars a drag may drop on.
    void Register(COSMCommandBar* bar);
    // Removes the bar; nothing when it is not registered.
    void Unregister(COSMCommandBar* bar);
    BOOL IsRegistered(const COSMCommandBar* bar) const;
    // The registered bars, in registration order (not owned).
    const std::vector<COSMCommandBar*>& GetBars() const { return m_bars; }

    // The open customize sheet, null while none is open (not owned).
    COSMCustomizeSheet* GetSheet() const { return m_sheet; }
    void SetSheet(COSMCustomizeSheet* sheet) { m_sheet = sheet; }
    // The open customize sheet's window, null while none is open (not owned): customize-selection changes go there.
    CWnd* GetSheetWindow() const { return m_sheetWindow; }
    void SetSheetWindow(CWnd* window) { m_sheetWindow = window; }

    COSMCommandBars* GetCommandBars() const { return m_commandBars; }

private:
    std::vector<COSMCommandBar*> m_bars;
    COSMCommandBars* m_commandBars;
    COSMCustomizeSheet* m_sheet = nullptr;
    CWnd* m_sheetWindow = nullptr;
};
