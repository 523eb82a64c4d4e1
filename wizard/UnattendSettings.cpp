#include "wizard/UnattendSettings.h"

#include "wizard/OutputFile.h"
#include "wizard/RegistryKey.h"
#include "wizard/SystemErrorText.h"
#include "wizard/UserMessage.h"
#include "wizard/WriterTexts.h"

namespace {

constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kTimeZonesKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
// Set-up's index of GMT: the zone given when the machine's zone cannot be matched.
constexpr char kDefaultTimeZoneIndex[] = "085";
// A stored index of all bits set cannot be told from "no zone".
constexpr DWORD kNoTimeZoneIndex = 0xFFFFFFFF;

// The index as set-up wants it: at least three digits, padded with zeros.
std::string FormatTimeZoneIndex(DWORD index)
{
    std::string digits = std::to_string(static_cast<int>(index));
    if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return digits;
}

// The zone's standard name as the registry's "Std" values hold it, in the ANSI code page.
bool GetCurrentStandardName(std::string& name)
{
    TIME_ZONE_INFORMATION zone = {};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        return false;
    char buffer[sizeof(zone.StandardName)] = {};
    if (WideCharToMultiByte(CP_ACP, 0, zone.StandardName, -1, buffer, sizeof(buffer), nullptr, nullptr) == 0)
        return false;
    name = buffer;
    return true;
}

}  // namespace

CUnattendSettings::CUnattendSettings()
{
    ReadRegisteredOwner();
    ReadTimeZoneIndex();
    ReadSystemLanguage();
    ReadComputerName();
}

CUnattendSettings::~CUnattendSettings() = default;

LONG CUnattendSettings::ReadRegisteredOwner()
{
    CRegistryKey key;
    const LONG status = key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey);
    if (status != ERROR_SUCCESS)
        return status;
    std::string value;
    if (key.ReadString("RegisteredOwner", value))
        m_fullName = value;
    value.clear();
    if (key.ReadString("RegisteredOrganization", value))
        m_organization = value;
    return key.Close();
}

void CUnattendSettings::ReadTimeZoneIndex()
{
    m_timeZoneIndex = kDefaultTimeZoneIndex;
    std::string standardName;
    if (!GetCurrentStandardName(standardName))
        return;
    CRegistryKey zones;
    if (zones.Open(HKEY_LOCAL_MACHINE, kTimeZonesKey) != ERROR_SUCCESS)
        return;
    DWORD zoneCount = 0;
    if (RegQueryInfoKeyA(zones.GetHandle(), nullptr, nullptr, nullptr, &zoneCount, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0; i < zoneCount; ++i)
    {
        char name[CRegistryKey::kValueBufferSize + 1] = {};
        DWORD nameLength = sizeof(name);
        if (RegEnumKeyExA(zones.GetHandle(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        CRegistryKey zone;
        if (zone.Open(zones.GetHandle(), name) != ERROR_SUCCESS)
            continue;
        std::string zoneStandardName;
        if (!zone.ReadString("Std", zoneStandardName) || zoneStandardName != standardName)
            continue;
        // The first zone of that name decides, even when its index cannot be read: then the default stays.
        DWORD index = kNoTimeZoneIndex;
        if (zone.ReadDword("Index", index) && index != kNoTimeZoneIndex)
            m_timeZoneIndex = FormatTimeZoneIndex(index);
        return;
    }
}

void CUnattendSettings::ReadSystemLanguage()
{
    char language[CRegistryKey::kValueBufferSize] = {};
    if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_ILANGUAGE, language, sizeof(language)) > 0)
        m_language = std::string("0000") + language;
}

void CUnattendSettings::ReadComputerName()
{
    m_computerName = GetComputerNameString();
}

void CUnattendSettings::TakePageValues(const std::string& fullName, const std::string& organization,
                                       const std::string& computerName, const std::string& productKey)
{
    m_fullName = fullName;
    m_organization = organization;
    m_computerName = computerName;
    m_productKey = productKey;
}

BOOL CUnattendSettings::BuildXpDistribution(HWND owner, const char* distributionFolder, const char* kitFolder,
                                            const char* answerFileSource, BOOL manualPartitioning)
{
    m_ownerWindow = owner;
    // Each run says afresh whether a kit is on the disc: an earlier run's kit must not be called by this one.
    m_kitCopied = 0;
    const std::string distribution = distributionFolder ? distributionFolder : "";

    if (kitFolder && *kitFolder)
    {
        const std::string source = std::string(kitFolder) + WriterTexts::kAllFiles;
        const std::string target = distribution + WriterTexts::kKitTarget;
        if (!CopyKitFolder(owner, source.c_str(), target.c_str()))
            return FALSE;
    }
    if (!WriteOemFolder(distribution.c_str()))
        return FALSE;

    const std::string answerFile = distribution + WriterTexts::kAnswerFile;
    if (!answerFileSource)
        return WriteWinntSif(answerFile.c_str(), manualPartitioning);
    return CopyFile(answerFileSource, answerFile.c_str(), 0);
}

BOOL CUnattendSettings::WriteWinntSif(const char* path, BOOL manualPartitioning)
{
    COutputFile file;
    if (!file.Create(path, COutputFile::Mode::Text))
    {
        const std::string message =
            WriterTexts::FillText(WriterTexts::kErrorWithFile, path) + GetSystemErrorText(GetLastError());
        ShowUserMessage(m_ownerWindow, message.c_str(), WriterTexts::kCaptionCorvane, MB_ICONERROR);
        return FALSE;
    }

    std::string text;
    text += manualPartitioning ? "[Data]\nAutoPartition=0\n" : "[Data]\nAutoPartition=1\n";
    text += "MsDosInitiated=\"0\"\nUnattendedInstall=\"Yes\"\nAutomaticUpdates=yes\n\n";
    text += "[Unattended]\nUnattendMode=FullUnattended\nOemSkipEula=Yes\nOemPreinstall=Yes\nRepartition=No\n"
            "UnattendSwitch=\"yes\"\nWaitForReboot=\"No\"\n\n";
    text +=
        "[GuiUnattended]\nAdminPassword=*\nOEMSkipRegional=1\nTimeZone=" + m_timeZoneIndex + "\nOemSkipWelcome=1\n\n";
    // Set-up starts at this fixed mode; "desktop.cmd" later sets the build machine's own.
    text += "[Display]\nBitsPerPel=32\nXResolution=800\nYResolution=600\nVrefresh=60\n\n";
    // Values go unescaped: set-up reads a quoted value up to its closing quote.
    text += "[UserData]\nProductKey=" + m_productKey + "\nFullName=\"" + m_fullName + "\"\nOrgName=\"" +
            m_organization + "\"\nComputerName=\"" + m_computerName + "\"\n\n";
    text +=
        "[RegionalSettings]\nLanguage=" + m_language + "\nLanguageGroup=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17\n\n";
    text += "[Identification]\nJoinWorkgroup=\"" + m_workgroup + "\"\n\n";
    text += "[Networking]\nInstallDefaultComponents=Yes\n";

    if (!file.Write(text) || !file.Close())
    {
        const std::string message =
            WriterTexts::FillText(WriterTexts::kErrorWithFile, path) + GetSystemErrorText(GetLastError());
        ShowUserMessage(m_ownerWindow, message.c_str(), WriterTexts::kCaptionCorvane, MB_ICONERROR);
        return FALSE;
    }
    return TRUE;
}

BOOL CUnattendSettings::CopyFile(const char* source, const char* target, int /*unused*/)
{
    return ::CopyFileA(source, target, FALSE) ? TRUE : FALSE;
}

std::string GetComputerNameString()
{
    char name[1024] = {};
    DWORD size = sizeof(name);
    if (!GetComputerNameA(name, &size))
        return std::string();
    return std::string(name, size);
}
