// The "$OEM$" tree: set-up copies it from the disc and runs its scripts, which carry the build machine's keyboard,
// mouse, cursors, wallpaper and display mode into the new installation, chain the companion player's silent
// installs and restart the machine once.
//
// Script lines are assembled as plain text: they hold %CDROM%, %KEY%, %i% and %~d0 for cmd.exe, which no
// printf-style format may see.
#include "wizard/UnattendSettings.h"

#include "wizard/DisplaySettings.h"
#include "wizard/OutputFile.h"
#include "wizard/RegistryKey.h"
#include "wizard/SystemErrorText.h"
#include "wizard/UserMessage.h"
#include "wizard/WriterTexts.h"

#include <iterator>

namespace {

constexpr char kToggleKey[] = "Keyboard Layout\\Toggle";
constexpr char kPreloadKey[] = "Keyboard Layout\\Preload";
constexpr char kKeyboardKey[] = "Control Panel\\Keyboard";
constexpr char kMouseKey[] = "Control Panel\\Mouse";
constexpr char kCursorsKey[] = "Control Panel\\Cursors";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

// The registry settings the scripts carry over, in the order the scripts set them.
struct CarriedValue
{
    const char* key;
    const char* name;
};
constexpr CarriedValue kKeyboardLayoutValues[] = {
    {kToggleKey, "Hotkey"},
    {kToggleKey, "Language Hotkey"},
    {kToggleKey, "Layout Hotkey"},
    {kPreloadKey, "1"},
    {kPreloadKey, "2"},
    {kPreloadKey, "3"},
};
constexpr const char* kKeyboardValues[] = {"InitialKeyboardIndicators", "KeyboardDelay", "KeyboardSpeed"};
constexpr const char* kMouseValues[] = {"DoubleClickHeight", "DoubleClickSpeed",    "DoubleClickWidth",
                                        "MouseSensitivity",  "MouseSpeed",          "MouseThreshold1",
                                        "MouseThreshold2",   "SnapToDefaultButton", "SwapMouseButtons"};
// Their position (from 1) names the copies "\c1" .. "\c15".
constexpr const char* kCursorValues[] = {"AppStarting", "Arrow",    "Crosshair", "Hand",    "Help",
                                         "IBeam",       "No",       "NWPen",     "SizeAll", "SizeNESW",
                                         "SizeNS",      "SizeNWSE", "SizeWE",    "UpArrow", "Wait"};

// One line that sets a string value of the new user's registry.
std::string RegAddLine(const char* key, const char* name, const std::string& value)
{
    return std::string("REG ADD \"HKCU\\") + key + "\" /V \"" + name + "\" /D \"" + value + "\" /f\n";
}

// The build machine's environment variables expanded; false (and no text) when the result does not fit the
// readers' 255-character buffer, as a cut-off path would name another file.
bool ExpandEnvironment(const std::string& text, std::string& expanded)
{
    char buffer[CRegistryKey::kValueBufferSize] = {};
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), buffer, sizeof(buffer));
    if (needed == 0 || needed > sizeof(buffer))
        return false;
    expanded = buffer;
    return true;
}

// The file name's extension with its dot, or nothing when the name has none: a dot in a folder name is not one.
std::string FileExtension(const std::string& path)
{
    const std::string::size_type nameStart = path.find_last_of("\\/:");
    const std::string::size_type dot = path.rfind('.');
    if (dot == std::string::npos || (nameStart != std::string::npos && dot < nameStart))
        return std::string();
    return path.substr(dot);
}

}  // namespace

bool CUnattendSettings::CreateScriptFile(COutputFile& file, const std::string& path) const
{
    if (file.Create(path.c_str(), COutputFile::Mode::Text))
        return true;
    ShowScriptError(WriterTexts::kCantCreateFile, path);
    return false;
}

BOOL CUnattendSettings::FinishScriptFile(COutputFile& file, const std::string& path, const std::string& text) const
{
    if (file.Write(text) && file.Close())
        return TRUE;
    ShowScriptError(WriterTexts::kErrorWithFile, path);
    return FALSE;
}

BOOL CUnattendSettings::WriteScript(const char* path, const std::string& text) const
{
    COutputFile file;
    if (!CreateScriptFile(file, path))
        return FALSE;
    return FinishScriptFile(file, path, text);
}

void CUnattendSettings::ShowScriptError(const char* pattern, const std::string& path) const
{
    const std::string message = WriterTexts::FillText(pattern, path) + GetSystemErrorText(GetLastError());
    ShowUserMessage(m_ownerWindow, message.c_str(), WriterTexts::kCaptionCorvane, MB_ICONEXCLAMATION);
}

void CUnattendSettings::ShowFolderError(const std::string& folder) const
{
    const std::string message = WriterTexts::kCantCreateFolder + folder;
    ShowUserMessage(m_ownerWindow, message.c_str(), WriterTexts::kCaptionFailed, MB_ICONINFORMATION);
}

BOOL CUnattendSettings::WriteOemFolder(const char* distributionFolder)
{
    const std::string oem = std::string(distributionFolder ? distributionFolder : "") + WriterTexts::kOemFolder;
    const std::string windows = oem + WriterTexts::kWindowsFolder;
    const std::string cursors = windows + WriterTexts::kCursorsFolder;

    return CreateOemFolders(distributionFolder) && WriteKeyboardCmd((oem + WriterTexts::kKeyboardCmd).c_str()) &&
           WriteMouseCmd((oem + WriterTexts::kMouseCmd).c_str(), cursors.c_str()) &&
           WriteDesktopCmd((oem + WriterTexts::kDesktopCmd).c_str(), windows.c_str()) &&
           WriteCmdLinesTxt((oem + WriterTexts::kCmdLinesTxt).c_str()) &&
           WriteCorvaneCmd((oem + WriterTexts::kCorvaneCmd).c_str()) &&
           WriteRestartCmd((oem + WriterTexts::kRestartCmd).c_str()) &&
           WriteRunOnceExCuCmd((oem + WriterTexts::kRunOnceExCuCmd).c_str()) &&
           WriteRunOnceExCmd((oem + WriterTexts::kRunOnceExCmd).c_str()) &&
           WriteFirstCmd((oem + WriterTexts::kFirstCmd).c_str()) && WriteResolutionTool(oem.c_str());
}

BOOL CUnattendSettings::CreateOemFolders(const char* distributionFolder)
{
    const std::string oem = std::string(distributionFolder ? distributionFolder : "") + WriterTexts::kOemFolder;
    const std::string windows = oem + WriterTexts::kWindowsFolder;
    const std::string folders[] = {oem, windows, windows + WriterTexts::kCursorsFolder};
    for (const std::string& folder : folders)
    {
        if (CreateDirectoryA(folder.c_str(), nullptr))
            continue;
        // A folder left by an earlier run is fine; a file of that name is not.
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        {
            ShowFolderError(folder);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CUnattendSettings::WriteKeyboardCmd(const char* path)
{
    // The layouts and their hot keys are read before the script exists; only those with a value are set.
    std::string text;
    for (const CarriedValue& carried : kKeyboardLayoutValues)
    {
        CRegistryKey key;
        std::string value;
        if (key.Open(HKEY_CURRENT_USER, carried.key) == ERROR_SUCCESS && key.ReadString(carried.name, value) &&
            !value.empty())
            text += RegAddLine(carried.key, carried.name, value);
    }
    text += "\n";

    COutputFile file;
    if (!CreateScriptFile(file, path))
        return FALSE;

    CRegistryKey keyboard;
    if (keyboard.Open(HKEY_CURRENT_USER, kKeyboardKey) == ERROR_SUCCESS)
    {
        for (const char* name : kKeyboardValues)
        {
            std::string value;
            if (keyboard.ReadString(name, value))
                text += RegAddLine(kKeyboardKey, name, value);
        }
    }
    return FinishScriptFile(file, path, text);
}

BOOL CUnattendSettings::WriteMouseCmd(const char* path, const char* cursorsFolder)
{
    COutputFile file;
    if (!CreateScriptFile(file, path))
        return FALSE;

    std::string text;
    CRegistryKey mouse;
    if (mouse.Open(HKEY_CURRENT_USER, kMouseKey) == ERROR_SUCCESS)
    {
        DWORD tracking = 0;
        if (mouse.ReadDword("ActiveWindowTracking", tracking))
            text += std::string("REG ADD \"HKCU\\") + kMouseKey + "\" /V \"ActiveWindowTracking\" /T REG_DWORD /D " +
                    std::to_string(static_cast<int>(tracking)) + " /f\n";
        for (const char* name : kMouseValues)
        {
            std::string value;
            if (mouse.ReadString(name, value))
                text += RegAddLine(kMouseKey, name, value);
        }
        mouse.Close();
    }
    text += "\n";

    CRegistryKey cursors;
    if (cursors.Open(HKEY_CURRENT_USER, kCursorsKey) == ERROR_SUCCESS)
    {
        text += std::string("REG ADD \"HKCU\\") + kCursorsKey + "\" /V \"Scheme Source\" /T REG_DWORD /D 0 /f\n";
        for (size_t i = 0; i < std::size(kCursorValues); ++i)
        {
            std::string value;
            std::string source;
            if (!cursors.ReadString(kCursorValues[i], value) || value.empty() || !ExpandEnvironment(value, source))
                continue;
            const std::string copyName = WriterTexts::kCursorCopyPrefix + std::to_string(i + 1) + FileExtension(source);
            // A cursor that cannot be copied still gets its line: set-up then keeps the default one.
            ::CopyFileA(source.c_str(), (std::string(cursorsFolder ? cursorsFolder : "") + copyName).c_str(), FALSE);
            // %SYSTEMROOT% is left for the new installation to expand.
            text += std::string("REG ADD \"HKCU\\") + kCursorsKey + "\" /V \"" + kCursorValues[i] +
                    "\" /T REG_EXPAND_SZ /D \"%SYSTEMROOT%\\Cursors" + copyName + "\" /f\n";
        }
    }
    return FinishScriptFile(file, path, text);
}

BOOL CUnattendSettings::WriteDesktopCmd(const char* path, const char* windowsFolder)
{
    COutputFile file;
    if (!CreateScriptFile(file, path))
        return FALSE;

    std::string text;
    CRegistryKey desktop;
    if (desktop.Open(HKEY_CURRENT_USER, kDesktopKey) == ERROR_SUCCESS)
    {
        std::string wallpaper;
        std::string source;
        std::string systemRoot;
        // An empty wallpaper value still gives its line (to a "Wall1" that does not exist): no wallpaper.
        if (desktop.ReadString("Wallpaper", wallpaper) && ExpandEnvironment(wallpaper, source) &&
            ExpandEnvironment("%SYSTEMROOT%", systemRoot))
        {
            const std::string copyName = WriterTexts::kWallpaperCopy + FileExtension(source);
            ::CopyFileA(source.c_str(), (std::string(windowsFolder ? windowsFolder : "") + copyName).c_str(), FALSE);
            text += RegAddLine(kDesktopKey, "Wallpaper", systemRoot + copyName);
        }
        std::string style;
        if (desktop.ReadString("WallpaperStyle", style))
            text += RegAddLine(kDesktopKey, "WallpaperStyle", style);
        desktop.Close();
    }

    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    CDisplaySettings().GetDisplayMode(width, height, &bitsPerPixel);
    // The script's last line, without a line end.
    text += "\"%CDROM%\\$OEM$\\res.exe\" /" + std::to_string(width) + " /" + std::to_string(height) + " /" +
            std::to_string(bitsPerPixel);
    return FinishScriptFile(file, path, text);
}

BOOL CUnattendSettings::WriteCmdLinesTxt(const char* path)
{
    return WriteScript(path, "[COMMANDS]\n"
                             "\"RunOnceEx.cmd\"\n");
}

BOOL CUnattendSettings::WriteCorvaneCmd(const char* path)
{
    // Written with or without a kit: "First.cmd" decides whether it runs.
    return WriteScript(path,
                       "SET KEY=HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\n"
                       "REG ADD %KEY% /V \"corvane\" /D \"%CDROM%\\Software\\corvane_player.exe /a_silent\" /f\n");
}

BOOL CUnattendSettings::WriteRestartCmd(const char* path)
{
    return WriteScript(path, "shutdown.exe -r -f -t 00 -c \"Windows will now restart...\"\n");
}

BOOL CUnattendSettings::WriteRunOnceExCuCmd(const char* path)
{
    return WriteScript(path, "@echo off\n\n"
                             "SET CDROM=%~d0\n\n"
                             "SET KEY=HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\n"
                             "REG ADD %KEY% /V \"first\" /D \"%CDROM%\\$OEM$\\first.cmd\" /f\n"
                             "\nEXIT\n");
}

BOOL CUnattendSettings::WriteRunOnceExCmd(const char* path)
{
    return WriteScript(path, "@echo off\n\n"
                             "SET CDROM=%~d0\n\n"
                             "SET KEY=HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx\n"
                             "SET i=100\n\n"
                             "REG ADD %KEY% /V TITLE /D \"Installing Applications\" /f\n\n"
                             "REG ADD %KEY%\\%i% /VE /D \"Settings\" /f\n"
                             "REG ADD %KEY%\\%i% /V 1 /D \"%CDROM%\\$OEM$\\RunOnceExCU.cmd\" /f\n"
                             "SET /A i+=1\n\n"
                             "\nEXIT\n");
}

BOOL CUnattendSettings::WriteFirstCmd(const char* path)
{
    std::string text = "@echo off\n\n"
                       "SET CDROM=%~d0\n\n"
                       "CALL \"%CDROM%\\$OEM$\\desktop.cmd\"\n"
                       "CALL \"%CDROM%\\$OEM$\\keydoard.cmd\"\n"
                       "CALL \"%CDROM%\\$OEM$\\mouse.cmd\"\n";
    if (m_kitCopied)
        text += "CALL \"%CDROM%\\$OEM$\\Corvane.cmd\"\n";
    text += "CALL \"%CDROM%\\$OEM$\\Restart.cmd\"\n"
            "\nEXIT\n";
    return WriteScript(path, text);
}

BOOL CUnattendSettings::WriteResolutionTool(const char* oemFolder)
{
    const std::string path = std::string(oemFolder ? oemFolder : "") + WriterTexts::kResolutionTool;

    const void* bytes = nullptr;
    DWORD size = 0;
    if (HRSRC resource =
            FindResourceA(nullptr, MAKEINTRESOURCEA(kResolutionToolResourceId), kResolutionToolResourceType))
    {
        size = SizeofResource(nullptr, resource);
        if (HGLOBAL loaded = LoadResource(nullptr, resource))
            bytes = LockResource(loaded);
    }
    if (!bytes)
    {
        const std::string message = WriterTexts::kCantLoadTool + path;
        ShowUserMessage(m_ownerWindow, message.c_str(), WriterTexts::kCaptionFailed, MB_ICONINFORMATION);
        return FALSE;
    }

    COutputFile file;
    if (!file.Create(path.c_str(), COutputFile::Mode::Binary) || !file.Write(bytes, size) || !file.Close())
    {
        const std::string message = WriterTexts::kCantCreateTool + path;
        ShowUserMessage(m_ownerWindow, message.c_str(), WriterTexts::kCaptionFailed, MB_ICONINFORMATION);
        return FALSE;
    }
    return TRUE;
}
