// Registry seeding for tests that read the machine's settings: each guard remembers what the Wine prefix held and
// puts it back when the test ends, so a run leaves the prefix as it found it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One value: seed it, remove it, and have the former value (or its absence) restored.
class ScopedRegistryValue
{
public:
    ScopedRegistryValue(HKEY root, std::string subKey, std::string name);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

    void SetString(const std::string& value, DWORD type = REG_SZ);
    void SetDword(DWORD value);
    // Raw bytes, e.g. a string stored without its terminator.
    void SetBytes(DWORD type, const std::string& bytes);
    void Remove();

private:
    HKEY m_root;
    std::string m_subKey;
    std::string m_name;
    bool m_keyExisted = false;
    bool m_valueExisted = false;
    DWORD m_type = REG_NONE;
    std::vector<BYTE> m_data;
};

// A whole key without subkeys: its values are saved, the test may empty, remove or refill it, and the saved key
// comes back afterwards (a key that did not exist is removed again).
class ScopedRegistryKey
{
public:
    ScopedRegistryKey(HKEY root, std::string subKey);
    ~ScopedRegistryKey();
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

    // Removes the key; the next Set... creates it again, empty but for what is set.
    void Remove();
    // Makes the key hold exactly nothing.
    void Clear();
    void SetString(const std::string& name, const std::string& value, DWORD type = REG_SZ);
    void SetDword(const std::string& name, DWORD value);

private:
    struct SavedValue
    {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };

    HKEY m_root;
    std::string m_subKey;
    bool m_existed = false;
    std::vector<SavedValue> m_values;
};

// Writes one value, creating the key when needed; the test fails when the write does.
void WriteRegistryValue(HKEY root, const std::string& subKey, const std::string& name, DWORD type, const void* data,
                        DWORD size);

// The time zones the system carries, and a zone a test seeds there: it sorts before every real one, so a search
// meets it first.
inline constexpr char kTimeZonesKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
inline constexpr char kSeededZone[] = "000 Osmira Test Zone";

// The standard name of the zone this machine is set to.
inline std::string CurrentStandardName()
{
    TIME_ZONE_INFORMATION zone = {};
    GetTimeZoneInformation(&zone);
    char name[sizeof(zone.StandardName)] = {};
    WideCharToMultiByte(CP_ACP, 0, zone.StandardName, -1, name, sizeof(name), nullptr, nullptr);
    return name;
}
