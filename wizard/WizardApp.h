// The application object: records where the program lives and runs the choice dialog as the main window.
// There is no main message loop: InitInstance returns FALSE once the dialogs have ended, and the process exits.
#pragma once

#include <windows.h>

#include "classlib/ClassLib.h"
// The framework registers its messages and date limits before the program starts.
#include "framework/foundation/FrameworkStatics.h"

class CWizardApp : public CWinApp
{
public:
    CWizardApp();

    BOOL InitInstance() override;

    const char* GetProgramFolderPath() const { return m_programFolder; }

    DECLARE_MESSAGE_MAP()

private:
    char m_programFolder[MAX_PATH] = {};
};

extern CWizardApp theApp;
