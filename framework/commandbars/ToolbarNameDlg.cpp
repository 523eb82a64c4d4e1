#include "framework/commandbars/ToolbarNameDlg.h"

#include "classlib/DataExchange.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/foundation/ResourceManager.h"

namespace {

// A resource string with its one placeholder filled in.
template <class T> CString FormatResourceString(UINT id, T value)
{
    CString text;
    text.Format(GetResourceManager()->LoadStringValue(id), value);
    return text;
}

}  // namespace

COSMToolbarNameDlg::COSMToolbarNameDlg(CWnd* pParentWnd, COSMCommandBars* commandBars, COSMCommandBar* renameTarget)
    : m_renameTarget(renameTarget), m_commandBars(commandBars)
{
    m_pParentWnd = pParentWnd;
}

INT_PTR COSMToolbarNameDlg::DoModal()
{
    // The template comes from the framework's resources, which may live in a module of their own.
    if (!InitModalIndirect(GetResourceManager()->LoadDialogTemplate(IDD_OSM_TOOLBAR_NAME), m_pParentWnd))
        return -1;
    return CDialog::DoModal();
}

BOOL COSMToolbarNameDlg::OnInitDialog()
{
    if (m_renameTarget)
    {
        m_name = m_renameTarget->GetTitle();
        SetWindowText(GetResourceManager()->LoadStringValue(IDS_OSM_TOOLBAR_RENAME_CAPTION));
    }
    else
    {
        m_name = ProposeName();
    }
    return CDialog::OnInitDialog();
}

void COSMToolbarNameDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_OSM_TOOLBAR_NAME_EDIT, m_name);
}

CString COSMToolbarNameDlg::ProposeName() const
{
    int counter = 1;
    CString name = FormatResourceString(IDS_OSM_TOOLBAR_DEFAULT_NAME, counter);
    while (IsNameTaken(name))
        name = FormatResourceString(IDS_OSM_TOOLBAR_DEFAULT_NAME, ++counter);
    return name;
}

BOOL COSMToolbarNameDlg::IsNameTaken(const CString& name) const
{
    for (int i = 0; m_commandBars && i < m_commandBars->GetCount(); ++i)
    {
        const COSMCommandBar* bar = m_commandBars->GetAt(i);
        if (bar != m_renameTarget && bar->GetTitle() == name)
            return TRUE;
    }
    return FALSE;
}

void COSMToolbarNameDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    COSMResourceManager* resources = GetResourceManager();
    if (m_name.IsEmpty())
    {
        resources->ShowMessageBoxById(IDS_OSM_TOOLBAR_NAME_EMPTY, MB_ICONERROR);
        return;
    }
    UINT newBarId = 0;
    if (!m_renameTarget)
    {
        newBarId = kFirstNewBarId;
        while (newBarId < kNewBarIdLimit && m_commandBars && m_commandBars->FindCommandBar(newBarId))
            ++newBarId;
        if (newBarId == kNewBarIdLimit)
        {
            resources->ShowMessageBoxById(IDS_OSM_TOOLBAR_NO_FREE_ID, MB_ICONERROR);
            EndDialog(IDCANCEL);
            return;
        }
    }
    if (IsNameTaken(m_name))
    {
        resources->ShowMessageBox(FormatResourceString(IDS_OSM_TOOLBAR_NAME_TAKEN, static_cast<LPCSTR>(m_name)),
                                  MB_ICONERROR);
        return;
    }
    m_newBarId = newBarId;
    EndDialog(IDOK);
}
