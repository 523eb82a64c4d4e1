// The Windows 7 road's files: "\autounattend.xml" at the top of the distribution folder and, when the companion
// kit is wanted, the kit copy, the set-up completion script, "\settings.reg" and the "\DriversRoot.txt" marker
// by which the script finds the disc.
//
// The Compose functions give each file's text with "\n" line ends (written as CRLF) and no line end after the
// last line; WriteWin7Distribution writes them and shows its own message at the first failure.
#pragma once

#include <windows.h>

#include <string>

class CUnattendSettings;

// What the answer file takes from the page and the machine; the page's texts are in the ANSI code page.
struct Win7AnswerValues
{
    std::string fullName;
    std::string organization;
    std::string computerName;
    std::string productKey;
    int colorDepth = 0;
    int dpi = 0;
    int horizontalResolution = 0;
    int verticalResolution = 0;
};

// The page's values from the settings record, the display values from the machine that runs the wizard.
Win7AnswerValues CollectWin7AnswerValues(const CUnattendSettings& settings);

// The answer file as UTF-8 bytes: set-up reads the file by its declaration, so the page's texts are converted
// from the ANSI code page and escaped for XML.
std::string ComposeAutounattendXml(const Win7AnswerValues& values);
std::string ComposeSetupCompleteCmd();
std::string ComposeSettingsReg();

// Writes "\autounattend.xml"; with a kit folder (non-empty) also copies the kit into "\software\corvane" and
// writes "\SOURCES\$OEM$\$$\SETUP\SCRIPTS\setupcomplete.cmd", "\DriversRoot.txt" and "\settings.reg".
// Returns 1, or 0 after showing the failure (owned by owner); files written before the failure stay.
BOOL WriteWin7Distribution(HWND owner, const char* distributionFolder, const char* kitFolder,
                           CUnattendSettings& settings);
