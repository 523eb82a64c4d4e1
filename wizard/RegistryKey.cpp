#include "wizard/RegistryKey.h"

#include <cstring>

CRegistryKey::~CRegistryKey()
{
    Close();
}

LONG CRegistryKey::Open(HKEY parent, const char* subKey, REGSAM access)
{
    Close();
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(parent, subKey, 0, access, &key);
    if (status == ERROR_SUCCESS)
        m_key = key;
    return status;
}

LONG CRegistryKey::Close()
{
    if (!m_key)
        return ERROR_SUCCESS;
    const LONG status = RegCloseKey(m_key);
    m_key = nullptr;
    return status;
}

bool CRegistryKey::ReadString(const char* name, std::string& value) const
{
    if (!m_key)
        return false;
    // One byte beyond the buffer, so the text is terminated even when the stored value carries no terminator.
    char buffer[kValueBufferSize + 1] = {};
    DWORD type = 0;
    DWORD size = kValueBufferSize;
    // ERROR_MORE_DATA tells a value longer than the buffer: it does not fit and is skipped.
    if (RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    const size_t length = strnlen(buffer, size);
    if (length >= kValueBufferSize)
        return false;  // no room left for the terminator
    value.assign(buffer, length);
    return true;
}

bool CRegistryKey::ReadDword(const char* name, DWORD& value) const
{
    if (!m_key)
        return false;
    DWORD data = 0;
    DWORD type = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof(data))
        return false;
    value = data;
    return true;
}
