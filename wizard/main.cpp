// Osmira's entry point and its one application object.
#include <windows.h>

#include "wizard/WizardApp.h"

CWizardApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    return ClassLibWinMain(instance, previous, commandLine, show);
}
