#include "wizard/Win7AnswerFiles.h"

#include <vector>

#include "wizard/DirectoryTree.h"
#include "wizard/DisplaySettings.h"
#include "wizard/OutputFile.h"
#include "wizard/SystemErrorText.h"
#include "wizard/UnattendSettings.h"
#include "wizard/UserMessage.h"
#include "wizard/WriterTexts.h"

namespace {

// ANSI code page text (as typed into the page) to UTF-8.
std::string AnsiToUtf8(const std::string& text)
{
    if (text.empty())
        return text;
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

// A page value as XML character data: markup characters escaped, characters XML forbids dropped.
std::string XmlText(const std::string& ansi)
{
    std::string out;
    for (const char c : AnsiToUtf8(ansi))
    {
        switch (c)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
                out += c;
        }
    }
    return out;
}

std::string Component(const char* name, const char* architecture)
{
    return std::string("<component name=\"") + name + "\" processorArchitecture=\"" + architecture +
           "\" publicKeyToken=\"31bf3856ad364e35\" language=\"neutral\" "
           "versionScope=\"nonSxS\" xmlns:wcm=\"http://schemas.microsoft.com/WMIConfig/2002/State\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">";
}

std::string Element(const char* name, const std::string& value)
{
    return std::string("<") + name + ">" + value + "</" + name + ">";
}

// Lines as (indent, text); joined with "\n" and no line end after the last.
struct Lines
{
    std::string text;
    void Add(int indent, const std::string& line)
    {
        if (!text.empty())
            text += '\n';
        text.append(static_cast<size_t>(indent), ' ');
        text += line;
    }
};

// Set-up applies only the components of its own processor architecture: each one is written for 32-bit and
// for 64-bit discs, with the same contents.
template <typename Body> void AddComponent(Lines& x, const char* name, Body body)
{
    for (const char* architecture : {"x86", "amd64"})
    {
        x.Add(8, Component(name, architecture));
        body(x);
        x.Add(8, "</component>");
    }
}

// The local Administrator's password, "BelowTheBridge12", hidden the way set-up reads it: base64 of the
// UTF-16LE text followed by the word "Password". Any other encoding stops set-up after its first restart.
const char kAdministratorPassword[] = "QgBlAGwAbwB3AFQAaABlAEIAcgBpAGQAZwBlADEAMgBQAGEAcwBzAHcAbwByAGQA";

void ShowPathError(HWND owner, const char* pattern, const std::string& path, DWORD error)
{
    const std::string message = WriterTexts::FillText(pattern, path) + GetSystemErrorText(error);
    ShowUserMessage(owner, message.c_str(), WriterTexts::kCaptionCorvane, MB_ICONERROR);
}

BOOL WriteTextFile(HWND owner, const std::string& path, const std::string& text)
{
    COutputFile file;
    if (!file.Create(path.c_str(), COutputFile::Mode::Text) || !file.Write(text) || !file.Close())
    {
        ShowPathError(owner, WriterTexts::kErrorWithFile, path, GetLastError());
        return FALSE;
    }
    return TRUE;
}

BOOL MakeFolder(HWND owner, const std::string& path)
{
    if (!CreateDirectoryTree(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    {
        ShowPathError(owner, WriterTexts::kErrorCreatingFolder, path, GetLastError());
        return FALSE;
    }
    return TRUE;
}

}  // namespace

Win7AnswerValues CollectWin7AnswerValues(const CUnattendSettings& settings)
{
    CDisplaySettings display;
    Win7AnswerValues values;
    values.fullName = settings.FullName();
    values.organization = settings.Organization();
    values.computerName = settings.ComputerName();
    values.productKey = settings.ProductKey();
    values.colorDepth = display.GetScreenBitsPerPixel();
    values.dpi = display.GetScreenDpi();
    values.horizontalResolution = GetSystemMetrics(SM_CXSCREEN);
    values.verticalResolution = GetSystemMetrics(SM_CYSCREEN);
    return values;
}

std::string ComposeAutounattendXml(const Win7AnswerValues& values)
{
    Lines x;
    x.Add(0, "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    x.Add(0, "<unattend xmlns=\"urn:schemas-microsoft-com:unattend\">");
    x.Add(4, "<settings pass=\"windowsPE\">");
    AddComponent(x, "Microsoft-Windows-International-Core-WinPE", [&](Lines& c) {
        c.Add(12, "<SetupUILanguage>");
        c.Add(20, Element("UILanguage", "en-US"));
        c.Add(12, "</SetupUILanguage>");
        c.Add(20, Element("InputLocale", "0409:00000409"));
        c.Add(20, Element("UILanguage", "en-US"));
        c.Add(20, Element("UserLocale", "en-US"));
        c.Add(12, "<SystemLocale>en-US</SystemLocale>");
    });
    AddComponent(x, "Microsoft-Windows-Setup", [&](Lines& c) {
        c.Add(12, "<UserData>");
        c.Add(16, "<ProductKey>");
        c.Add(20, "<WillShowUI>OnError</WillShowUI>");
        c.Add(20, Element("Key", XmlText(values.productKey)));
        c.Add(16, "</ProductKey>");
        c.Add(16, "<AcceptEula>true</AcceptEula>");
        c.Add(12, "</UserData>");
        c.Add(12, "<DiskConfiguration>");
        c.Add(16, "<WillShowUI>Always</WillShowUI>");
        c.Add(12, "</DiskConfiguration>");
        c.Add(12, "<ImageInstall>");
        c.Add(16, "<OSImage>");
        c.Add(20, "<InstallTo>");
        c.Add(24, "<DiskID>0</DiskID>");
        c.Add(24, "<PartitionID>1</PartitionID>");
        c.Add(20, "</InstallTo>");
        c.Add(20, "<WillShowUI>OnError</WillShowUI>");
        c.Add(16, "</OSImage>");
        c.Add(12, "</ImageInstall>");
    });
    x.Add(4, "</settings>");
    x.Add(4, "<settings pass=\"specialize\">");
    AddComponent(x, "Microsoft-Windows-Shell-Setup",
                 [&](Lines& c) { c.Add(12, Element("ComputerName", XmlText(values.computerName))); });
    AddComponent(x, "Microsoft-Windows-Deployment", [&](Lines& c) {
        c.Add(12, "<RunSynchronous>");
        c.Add(16, "<RunSynchronousCommand wcm:action=\"add\">");
        c.Add(20, "<Description>Enable admin</Description>");
        c.Add(20, "<Order>1</Order>");
        c.Add(20, "<Path>net user administrator /active:yes</Path>");
        c.Add(20, "<WillReboot>Never</WillReboot>");
        c.Add(16, "</RunSynchronousCommand>");
        c.Add(16, "<RunSynchronousCommand wcm:action=\"add\">");
        c.Add(20, "<Order>2</Order>");
        c.Add(20, "<Description>Disable UAC for users</Description>");
        c.Add(20,
              "<Path>reg add \"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\" /v \"EnableLUA\" "
              "/t REG_DWORD /d 0 /f</Path>");
        c.Add(16, "</RunSynchronousCommand>");
        c.Add(16, "<RunSynchronousCommand wcm:action=\"add\">");
        c.Add(20, "<Order>3</Order>");
        c.Add(20, "<Description>Disable UAC for admin</Description>");
        c.Add(20, "<Path>reg add \"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\" "
                  "/v \"FilterAdministratorToken\" /t REG_DWORD /d 0 /f</Path>");
        c.Add(16, "</RunSynchronousCommand>");
        c.Add(12, "</RunSynchronous>");
    });
    x.Add(4, "</settings>");
    x.Add(4, "<settings pass=\"oobeSystem\">");
    AddComponent(x, "Microsoft-Windows-Shell-Setup", [&](Lines& c) {
        c.Add(12, "<OOBE>");
        c.Add(12, Element("NetworkLocation", "Home"));
        c.Add(12, Element("ProtectYourPC", "1"));
        c.Add(16, "<HideEULAPage>true</HideEULAPage>");
        c.Add(12, "</OOBE>");
        c.Add(12, Element("TimeZone", "Central Standard Time"));
        c.Add(12, Element("RegisteredOwner", XmlText(values.fullName)));
        c.Add(12, Element("RegisteredOrganization", XmlText(values.organization)));
        c.Add(12, "<UserAccounts>");
        c.Add(16, "<LocalAccounts>");
        c.Add(20, "<LocalAccount wcm:action=\"add\">");
        c.Add(24, "<Password>");
        c.Add(28, Element("Value", kAdministratorPassword));
        c.Add(28, "<PlainText>false</PlainText>");
        c.Add(24, "</Password>");
        c.Add(24, "<Name>Administrator</Name>");
        c.Add(24, "<Group>Administrators</Group>");
        c.Add(20, "</LocalAccount>");
        c.Add(16, "</LocalAccounts>");
        c.Add(12, "</UserAccounts>");
        c.Add(12, "<AutoLogon>");
        c.Add(13, "<Enabled>true</Enabled>");
        c.Add(13, "<LogonCount>99</LogonCount>");
        c.Add(13, "<Username>Administrator</Username>");
        c.Add(13, "<Password>");
        c.Add(17, Element("Value", kAdministratorPassword));
        c.Add(17, "<PlainText>false</PlainText>");
        c.Add(13, "</Password>");
        c.Add(13, "</AutoLogon>");
        c.Add(12, "<Display>");
        c.Add(12, Element("ColorDepth", std::to_string(values.colorDepth)));
        c.Add(12, Element("DPI", std::to_string(values.dpi)));
        c.Add(12, Element("HorizontalResolution", std::to_string(values.horizontalResolution)));
        c.Add(12, Element("VerticalResolution", std::to_string(values.verticalResolution)));
        c.Add(12, "</Display>");
    });
    x.Add(4, "</settings>");
    x.Add(0, "</unattend>");
    return x.text;
}

std::string ComposeSetupCompleteCmd()
{
    // Batch text, never a format string: the percent signs are the script's own.
    return "ECHO SETUPCOMPLETE\n"
           "\n"
           "for ^%%i in (C D E F G H I J K L M N O P Q R S T U V W X Y Z) do if exist ^%%i:\\DriversRoot.txt set "
           "CDROM=^%%i:\n"
           "REG ADD \"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\" /v cdrom /d \"%CDROM%\" "
           "/f\n"
           "\n"
           "REG ADD HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\n"
           "SET KEY1=HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\n"
           "\n"
           "REG ADD HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\n"
           "SET KEY2=HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\n"
           "\n"
           "rem settings.reg\n"
           "\n"
           "REG ADD \"%KEY1%\" /V \"RegSettings\" /D \"regedit /s %cdrom%\\settings.reg\" /f\n"
           "\n"
           "rem Taleno Corvane\n"
           "\n"
           "REG ADD \"%KEY2%\" /V \"taleno corvane\" /D \"%cdrom%\\software\\corvane\\corvane_player.exe /a_silent\" "
           "/f\n"
           "\n"
           "shutdown /r\n"
           "\n"
           "EXIT";
}

std::string ComposeSettingsReg()
{
    return "REGEDIT4\n"
           "\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
           "\"WindowsWelcomeCenter\"=-\n"
           "\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail]\n"
           "\"NoSplash\"=dword:00000001";
}

BOOL WriteWin7Distribution(HWND owner, const char* distributionFolder, const char* kitFolder,
                           CUnattendSettings& settings)
{
    const std::string dist = distributionFolder;
    if (!WriteTextFile(owner, dist + "\\autounattend.xml", ComposeAutounattendXml(CollectWin7AnswerValues(settings))))
        return FALSE;
    if (!kitFolder || !*kitFolder)
        return TRUE;

    const std::string target = dist + "\\software\\corvane";
    if (!MakeFolder(owner, target))
        return FALSE;
    if (!settings.CopyKitFolder(owner, (std::string(kitFolder) + "\\*.*").c_str(), target.c_str()))
        return FALSE;
    const std::string scripts = dist + "\\SOURCES\\$OEM$\\$$\\SETUP\\SCRIPTS";
    if (!MakeFolder(owner, scripts))
        return FALSE;
    return WriteTextFile(owner, scripts + "\\setupcomplete.cmd", ComposeSetupCompleteCmd()) &&
           WriteTextFile(owner, dist + "\\DriversRoot.txt", "CD/DVD") &&
           WriteTextFile(owner, dist + "\\settings.reg", ComposeSettingsReg());
}
