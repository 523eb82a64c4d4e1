// CUnattendSettings: the machine-settings record from which the Windows XP answer file and the "$OEM$" set-up
// scripts are written. The main page holds one: its constructor reads the machine that runs the wizard (registered
// owner and organisation, time zone, system language, computer name), the page replaces the owner, organisation,
// computer name and product key with what the user typed, and "Create ISO " runs BuildXpDistribution.
//
// The writers write files only; every message they show goes through ShowUserMessage, owned by the window given
// to BuildXpDistribution (the page), so the page stays modal under it.
#pragma once

#include <windows.h>

#include <string>

class COutputFile;

class CUnattendSettings
{
public:
    // The display-mode utility carried in the program's resources and written out as "$OEM$\res.exe".
    static constexpr WORD kResolutionToolResourceId = 134;
    static constexpr const char* kResolutionToolResourceType = "FILE";

    CUnattendSettings();
    virtual ~CUnattendSettings();
    CUnattendSettings(const CUnattendSettings&) = delete;
    CUnattendSettings& operator=(const CUnattendSettings&) = delete;

    // --- Readers of the build machine; the constructor runs them in this order. A value that cannot be read
    //     leaves its field as it was.
    // Full name and organisation; the registry status of a failed open, else that of closing the key.
    LONG ReadRegisteredOwner();
    // Three digits (more when the index has more), "085" when the current zone is not found.
    void ReadTimeZoneIndex();
    // "0000" and the four hex digits of the system locale's language, e.g. "00000409".
    void ReadSystemLanguage();
    void ReadComputerName();

    // --- The fields.
    HWND OwnerWindow() const { return m_ownerWindow; }
    const std::string& TimeZoneIndex() const { return m_timeZoneIndex; }
    const std::string& Language() const { return m_language; }
    const std::string& FullName() const { return m_fullName; }
    const std::string& Organization() const { return m_organization; }
    const std::string& ComputerName() const { return m_computerName; }
    // Never filled: the answer file joins the empty workgroup.
    const std::string& Workgroup() const { return m_workgroup; }
    // The five groups joined with "-".
    const std::string& ProductKey() const { return m_productKey; }
    // Set once the companion kit was copied into the distribution; "First.cmd" then calls "Corvane.cmd".
    bool IsKitCopied() const { return m_kitCopied != 0; }

    // What the user typed on the main page replaces what was read from the machine.
    void TakePageValues(const std::string& fullName, const std::string& organization, const std::string& computerName,
                        const std::string& productKey);

    // --- The Windows XP road. Each step returns 1 on success and 0 after it has shown its own message.
    // Copies the kit (when kitFolder is not empty) into "\Software", writes the "$OEM$" tree and then
    // "\I386\WINNT.SIF" (or copies answerFileSource there when it is not NULL); stops at the first failure.
    BOOL BuildXpDistribution(HWND owner, const char* distributionFolder, const char* kitFolder,
                             const char* answerFileSource, BOOL manualPartitioning);
    BOOL WriteWinntSif(const char* path, BOOL manualPartitioning);
    // CopyFileA that replaces an existing target; shows no message. The third argument is not used.
    BOOL CopyFile(const char* source, const char* target, int unused);
    // SHFileOperation copy of a "folder\*.*" pattern into targetFolder (made when missing).
    BOOL CopyKitFolder(HWND owner, const char* sourcePattern, const char* targetFolder);

    // --- The "$OEM$" tree: WriteOemFolder makes the folders and writes every file below, in this order.
    BOOL WriteOemFolder(const char* distributionFolder);
    BOOL CreateOemFolders(const char* distributionFolder);
    BOOL WriteKeyboardCmd(const char* path);
    BOOL WriteMouseCmd(const char* path, const char* cursorsFolder);
    BOOL WriteDesktopCmd(const char* path, const char* windowsFolder);
    BOOL WriteCmdLinesTxt(const char* path);
    BOOL WriteCorvaneCmd(const char* path);
    BOOL WriteRestartCmd(const char* path);
    BOOL WriteRunOnceExCuCmd(const char* path);
    BOOL WriteRunOnceExCmd(const char* path);
    BOOL WriteFirstCmd(const char* path);
    BOOL WriteResolutionTool(const char* oemFolder);

private:
    // A script is created first (so nothing is copied for a script that cannot exist), then filled and closed.
    // "Can't create file %s. " when it cannot be made, "Error with file %s. " when it cannot be filled.
    bool CreateScriptFile(COutputFile& file, const std::string& path) const;
    BOOL FinishScriptFile(COutputFile& file, const std::string& path, const std::string& text) const;
    BOOL WriteScript(const char* path, const std::string& text) const;
    // The script's file error: the pattern filled with the path, then the system's text for the last error.
    void ShowScriptError(const char* pattern, const std::string& path) const;
    // A folder of the tree that cannot be made.
    void ShowFolderError(const std::string& folder) const;

    HWND m_ownerWindow = nullptr;
    std::string m_timeZoneIndex;
    std::string m_language;
    std::string m_fullName;
    std::string m_organization;
    std::string m_computerName;
    std::string m_workgroup;
    std::string m_productKey;
    int m_kitCopied = 0;
};

// The machine's NetBIOS name; empty when the system cannot tell it.
std::string GetComputerNameString();
