// COSMToolbarNameDlg asks for the name of a new toolbar, or for the new name of an existing one, for the customize
// pages. It runs modal from the command bars' dialog template, found through the resource manager:
//
//   COSMToolbarNameDlg dlg(this, commandBars, nullptr);         // a new toolbar; pass a bar to rename it instead
//   if (dlg.DoModal() == IDOK)
//       commandBars->AddToolBar(dlg.GetName(), dlg.GetNewBarId());
//
// A new toolbar is offered the first default name no bar has, and gets the first free id of the custom toolbars'
// range when OK is pressed. An empty name or one another bar has keeps the dialog open; with no free id left it
// says so and cancels.
#pragma once

#include "classlib/CString.h"
#include "classlib/Dialog.h"

class COSMCommandBar;
class COSMCommandBars;

class COSMToolbarNameDlg : public CDialog
{
public:
    // Ids of new toolbars: from the first up to, not including, the limit.
    static constexpr UINT kFirstNewBarId = 0xE800;
    static constexpr UINT kNewBarIdLimit = 0xE8FF;

    COSMToolbarNameDlg(CWnd* pParentWnd, COSMCommandBars* commandBars, COSMCommandBar* renameTarget);

    // ---- Override these ----------------------------------------------------------------------------------------
    // Runs the dialog from its template; -1 when the template is missing.
    INT_PTR DoModal() override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // 0 until the dialog closes with OK for a new toolbar.
    UINT GetNewBarId() const { return m_newBarId; }
    const CString& GetName() const { return m_name; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    // For a new toolbar: the first default name for 1, 2, ... that no bar has as its title.
    CString ProposeName() const;
    // A bar other than the rename target has the name as its title.
    BOOL IsNameTaken(const CString& name) const;

    UINT m_newBarId = 0;
    CString m_name;
    COSMCommandBar* m_renameTarget;
    COSMCommandBars* m_commandBars;
};
