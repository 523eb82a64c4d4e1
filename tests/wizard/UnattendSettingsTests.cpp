// The machine-settings record read from seeded registry values of the Wine prefix, and the display reader.
#include "RegistrySeed.h"

#include "wizard/DisplaySettings.h"
#include "wizard/UnattendSettings.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

namespace {

constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

std::string FirstZoneName()
{
    HKEY zones = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTimeZonesKey, 0, KEY_READ, &zones) != ERROR_SUCCESS)
        return std::string();
    char name[256] = {};
    DWORD length = sizeof(name);
    RegEnumKeyExA(zones, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(zones);
    return name;
}

// The names of the system's zones whose "Std" equals the given name.
std::vector<std::string> ZonesNamed(const std::string& standardName)
{
    std::vector<std::string> matches;
    HKEY zones = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTimeZonesKey, 0, KEY_READ, &zones) != ERROR_SUCCESS)
        return matches;
    for (DWORD i = 0;; ++i)
    {
        char name[256] = {};
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(zones, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        char std[256] = {};
        DWORD size = sizeof(std);
        if (RegGetValueA(zones, name, "Std", RRF_RT_REG_SZ, nullptr, std, &size) == ERROR_SUCCESS &&
            standardName == std)
            matches.push_back(name);
    }
    RegCloseKey(zones);
    return matches;
}

// --- Registered owner and organisation.

struct OwnerCase
{
    const char* label;
    const char* owner;         // nullptr: the value is missing
    const char* organization;  // nullptr: the value is missing
    std::string expectedOwner;
    std::string expectedOrganization;
};

class RegisteredOwnerTest : public testing::TestWithParam<OwnerCase>
{};

TEST_P(RegisteredOwnerTest, FillsFullNameAndOrganisationFromTheRegistry)
{
    const OwnerCase& c = GetParam();
    ScopedRegistryValue owner(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOwner");
    ScopedRegistryValue organization(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOrganization");
    c.owner ? owner.SetString(c.owner) : owner.Remove();
    c.organization ? organization.SetString(c.organization) : organization.Remove();

    CUnattendSettings settings;
    EXPECT_EQ(settings.FullName(), c.expectedOwner);
    EXPECT_EQ(settings.Organization(), c.expectedOrganization);
    EXPECT_EQ(settings.ReadRegisteredOwner(), ERROR_SUCCESS);
}

const std::string k254(254, 'w');
const std::string k255(255, 'w');

INSTANTIATE_TEST_SUITE_P(
    Machine, RegisteredOwnerTest,
    testing::Values(OwnerCase{"both", "Ada Lovelace", "Analytical Engines", "Ada Lovelace", "Analytical Engines"},
                    OwnerCase{"noOrganisation", "Ada Lovelace", nullptr, "Ada Lovelace", ""},
                    OwnerCase{"noOwner", nullptr, "Analytical Engines", "", "Analytical Engines"},
                    OwnerCase{"neither", nullptr, nullptr, "", ""}, OwnerCase{"empty", "", "", "", ""},
                    // The buffer holds 254 characters and the terminator; a longer text is skipped, not cut.
                    OwnerCase{"longestThatFits", k254.c_str(), "Analytical Engines", k254, "Analytical Engines"},
                    OwnerCase{"tooLong", k255.c_str(), "Analytical Engines", "", "Analytical Engines"}),
    [](const testing::TestParamInfo<OwnerCase>& info) { return std::string(info.param.label); });

TEST(RegisteredOwner, ValueFillingTheBufferWithoutTerminatorIsSkipped)
{
    ScopedRegistryValue owner(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOwner");
    ScopedRegistryValue organization(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOrganization");
    owner.SetBytes(REG_SZ, std::string(255, 'x'));
    organization.SetBytes(REG_SZ, std::string(254, 'y'));

    CUnattendSettings settings;
    EXPECT_EQ(settings.FullName(), "");
    EXPECT_EQ(settings.Organization(), std::string(254, 'y'));
}

TEST(RegisteredOwner, ValueOfAnotherTypeIsSkipped)
{
    ScopedRegistryValue owner(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOwner");
    ScopedRegistryValue organization(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOrganization");
    owner.SetDword(0x41414141);
    organization.SetString("Analytical Engines");

    CUnattendSettings settings;
    EXPECT_EQ(settings.FullName(), "");
    EXPECT_EQ(settings.Organization(), "Analytical Engines");
}

// --- Time-zone index.

struct ZoneIndexCase
{
    const char* label;
    bool hasIndex;
    DWORD index;
    const char* expected;
};

class TimeZoneIndexTest : public testing::TestWithParam<ZoneIndexCase>
{};

TEST_P(TimeZoneIndexTest, MatchingZoneGivesItsIndexInThreeDigitsAtLeast)
{
    const ZoneIndexCase& c = GetParam();
    ScopedRegistryKey zone(HKEY_LOCAL_MACHINE, std::string(kTimeZonesKey) + "\\" + kSeededZone);
    zone.SetString("Std", CurrentStandardName());
    zone.SetString("Display", "(UTC) Osmira test zone");
    if (c.hasIndex)
        zone.SetDword("Index", c.index);
    ASSERT_EQ(FirstZoneName(), kSeededZone) << "the seeded zone must be the first one searched";

    CUnattendSettings settings;
    EXPECT_EQ(settings.TimeZoneIndex(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Machine, TimeZoneIndexTest,
    testing::Values(ZoneIndexCase{"four", true, 4, "004"}, ZoneIndexCase{"eightyFive", true, 85, "085"},
                    ZoneIndexCase{"twoHundredSixty", true, 260, "260"}, ZoneIndexCase{"fourDigits", true, 1234, "1234"},
                    ZoneIndexCase{"zero", true, 0, "000"},
                    // A matching zone whose index cannot be read gives the default.
                    ZoneIndexCase{"noIndex", false, 0, "085"}, ZoneIndexCase{"allBitsSet", true, 0xFFFFFFFF, "085"}),
    [](const testing::TestParamInfo<ZoneIndexCase>& info) { return std::string(info.param.label); });

TEST(TimeZoneIndex, IndexStoredAsTextIsNotAnIndex)
{
    ScopedRegistryKey zone(HKEY_LOCAL_MACHINE, std::string(kTimeZonesKey) + "\\" + kSeededZone);
    zone.SetString("Std", CurrentStandardName());
    zone.SetString("Index", "4");
    ASSERT_EQ(FirstZoneName(), kSeededZone);

    CUnattendSettings settings;
    EXPECT_EQ(settings.TimeZoneIndex(), "085");
}

class MissingTimeZoneTest : public testing::TestWithParam<const char*>
{};

// No zone carries the machine's standard name (the system's own matches are renamed for the test): "085".
TEST_P(MissingTimeZoneTest, ZoneNotFoundGivesTheDefault)
{
    const std::string current = CurrentStandardName();
    ASSERT_FALSE(current.empty());
    std::vector<std::unique_ptr<ScopedRegistryValue>> renamed;
    for (const std::string& name : ZonesNamed(current))
    {
        renamed.push_back(
            std::make_unique<ScopedRegistryValue>(HKEY_LOCAL_MACHINE, std::string(kTimeZonesKey) + "\\" + name, "Std"));
        renamed.back()->SetString("Osmira renamed zone");
    }
    ScopedRegistryKey zone(HKEY_LOCAL_MACHINE, std::string(kTimeZonesKey) + "\\" + kSeededZone);
    std::string seededName = GetParam();
    if (seededName == "UPPER")
    {
        // The comparison heeds case.
        seededName = current;
        for (char& ch : seededName)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        ASSERT_NE(seededName, current);
    }
    zone.SetString("Std", seededName);
    zone.SetDword("Index", 4);
    ASSERT_TRUE(ZonesNamed(current).empty());

    CUnattendSettings settings;
    EXPECT_EQ(settings.TimeZoneIndex(), "085");
}

INSTANTIATE_TEST_SUITE_P(Machine, MissingTimeZoneTest, testing::Values("Osmira Nowhere Time", "UPPER"));

// --- Language, computer name and the rest of a fresh record.

TEST(SystemLanguage, IsFourZerosAndTheSystemLanguageInHex)
{
    char expected[16];
    std::snprintf(expected, sizeof(expected), "0000%04X", LANGIDFROMLCID(GetSystemDefaultLCID()));

    CUnattendSettings settings;
    ASSERT_EQ(settings.Language().size(), 8u) << settings.Language();
    EXPECT_EQ(_stricmp(settings.Language().c_str(), expected), 0) << settings.Language() << " vs " << expected;
}

TEST(ComputerName, IsTheMachinesName)
{
    char environment[256] = {};
    ASSERT_GT(GetEnvironmentVariableA("COMPUTERNAME", environment, sizeof(environment)), 0u);

    CUnattendSettings settings;
    EXPECT_EQ(settings.ComputerName(), environment);
    EXPECT_EQ(GetComputerNameString(), environment);
}

TEST(UnattendSettings, FreshRecordHasNoWorkgroupKeyOrKit)
{
    CUnattendSettings settings;
    EXPECT_EQ(settings.Workgroup(), "");
    EXPECT_EQ(settings.ProductKey(), "");
    EXPECT_FALSE(settings.IsKitCopied());
    EXPECT_EQ(settings.OwnerWindow(), nullptr);
}

TEST(UnattendSettings, PageValuesReplaceTheMachinesOnes)
{
    ScopedRegistryValue owner(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOwner");
    owner.SetString("Machine Owner");
    CUnattendSettings settings;
    ASSERT_EQ(settings.FullName(), "Machine Owner");

    settings.TakePageValues("Ada Lovelace", "Analytical Engines", "ENGINE-1", "ABCDE-FGHIJ-KLMNO-PQRST-UVWXY");
    EXPECT_EQ(settings.FullName(), "Ada Lovelace");
    EXPECT_EQ(settings.Organization(), "Analytical Engines");
    EXPECT_EQ(settings.ComputerName(), "ENGINE-1");
    EXPECT_EQ(settings.ProductKey(), "ABCDE-FGHIJ-KLMNO-PQRST-UVWXY");
}

// --- The display reader.

TEST(DisplaySettings, ReportsTheScreensCurrentMode)
{
    CDisplaySettings display;
    int width = -1;
    int height = -1;
    int bitsPerPixel = -1;
    int frequency = -1;
    ASSERT_TRUE(display.GetDisplayMode(width, height, &bitsPerPixel, &frequency));
    EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(bitsPerPixel, display.GetScreenBitsPerPixel());
    EXPECT_GE(frequency, 0);

    // Width and height alone are enough to ask for.
    int widthOnly = -1;
    int heightOnly = -1;
    ASSERT_TRUE(display.GetDisplayMode(widthOnly, heightOnly));
    EXPECT_EQ(widthOnly, width);
    EXPECT_EQ(heightOnly, height);
}

TEST(DisplaySettings, ScreenMetricsMatchTheScreen)
{
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);

    CDisplaySettings display;
    EXPECT_EQ(display.GetScreenDpi(), dpi);
    EXPECT_EQ(display.GetScreenBitsPerPixel(), bits);
    EXPECT_GT(dpi, 0);
}

}  // namespace
