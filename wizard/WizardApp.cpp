#include "wizard/WizardApp.h"

#include "wizard/ProgramFolder.h"
#include "wizard/SelectOsDlg.h"

BEGIN_MESSAGE_MAP(CWizardApp, CWinApp)
END_MESSAGE_MAP()

CWizardApp::CWizardApp() = default;

BOOL CWizardApp::InitInstance()
{
    // A folder that cannot be found stays empty; the build reports the missing boot image later.
    GetProgramFolder(m_programFolder, sizeof(m_programFolder));

    // Dialog controls have drawn in 3-D since the system took over that look; nothing to switch on.
    CSelectOsDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;

    // No main loop: the class library goes straight to its exit step.
    return FALSE;
}
