#include "RegistrySeed.h"

#include <gtest/gtest.h>

namespace {

// An open key that closes itself.
class OpenKey
{
public:
    OpenKey(HKEY root, const std::string& subKey, REGSAM access)
    {
        if (RegOpenKeyExA(root, subKey.c_str(), 0, access, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~OpenKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

bool ReadRaw(HKEY key, const char* name, DWORD& type, std::vector<BYTE>& data)
{
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    data.resize(size);
    if (RegQueryValueExA(key, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return false;
    data.resize(size);
    return true;
}

}  // namespace

void WriteRegistryValue(HKEY root, const std::string& subKey, const std::string& name, DWORD type, const void* data,
                        DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << subKey;
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS)
        << subKey << "\\" << name;
    RegCloseKey(key);
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, std::string subKey, std::string name)
    : m_root(root), m_subKey(std::move(subKey)), m_name(std::move(name))
{
    OpenKey key(m_root, m_subKey, KEY_READ);
    m_keyExisted = key.get() != nullptr;
    if (m_keyExisted)
        m_valueExisted = ReadRaw(key.get(), m_name.c_str(), m_type, m_data);
}

ScopedRegistryValue::~ScopedRegistryValue()
{
    if (m_valueExisted)
    {
        WriteRegistryValue(m_root, m_subKey, m_name, m_type, m_data.data(), static_cast<DWORD>(m_data.size()));
    }
    else if (!m_keyExisted)
    {
        RegDeleteTreeA(m_root, m_subKey.c_str());
    }
    else
    {
        Remove();
    }
}

void ScopedRegistryValue::SetString(const std::string& value, DWORD type)
{
    WriteRegistryValue(m_root, m_subKey, m_name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ScopedRegistryValue::SetDword(DWORD value)
{
    WriteRegistryValue(m_root, m_subKey, m_name, REG_DWORD, &value, sizeof(value));
}

void ScopedRegistryValue::SetBytes(DWORD type, const std::string& bytes)
{
    WriteRegistryValue(m_root, m_subKey, m_name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void ScopedRegistryValue::Remove()
{
    OpenKey key(m_root, m_subKey, KEY_SET_VALUE);
    if (key.get())
        RegDeleteValueA(key.get(), m_name.c_str());
}

ScopedRegistryKey::ScopedRegistryKey(HKEY root, std::string subKey) : m_root(root), m_subKey(std::move(subKey))
{
    OpenKey key(m_root, m_subKey, KEY_READ);
    m_existed = key.get() != nullptr;
    if (!m_existed)
        return;
    DWORD subKeys = 0;
    DWORD values = 0;
    DWORD longestName = 0;
    RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, &longestName, nullptr,
                     nullptr, nullptr);
    // Restoring rebuilds values only: a key with subkeys would lose them.
    EXPECT_EQ(subKeys, 0u) << m_subKey << " has subkeys and cannot be saved whole";
    for (DWORD i = 0; i < values; ++i)
    {
        std::vector<char> name(longestName + 2);
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumValueA(key.get(), i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        SavedValue saved{std::string(name.data(), nameLength), REG_NONE, {}};
        if (ReadRaw(key.get(), saved.name.c_str(), saved.type, saved.data))
            m_values.push_back(std::move(saved));
    }
}

ScopedRegistryKey::~ScopedRegistryKey()
{
    Remove();
    if (!m_existed)
        return;
    HKEY key = nullptr;
    if (RegCreateKeyExA(m_root, m_subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
    {
        ADD_FAILURE() << "cannot restore " << m_subKey;
        return;
    }
    for (const SavedValue& value : m_values)
        RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
}

void ScopedRegistryKey::Remove()
{
    RegDeleteTreeA(m_root, m_subKey.c_str());
}

void ScopedRegistryKey::Clear()
{
    Remove();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(m_root, m_subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void ScopedRegistryKey::SetString(const std::string& name, const std::string& value, DWORD type)
{
    WriteRegistryValue(m_root, m_subKey, name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ScopedRegistryKey::SetDword(const std::string& name, DWORD value)
{
    WriteRegistryValue(m_root, m_subKey, name, REG_DWORD, &value, sizeof(value));
}
