// CRegistryKey: an open registry key that closes itself, with the bounded value reads of the machine-settings
// readers. Open it, read what is there, and let it go out of scope.
#pragma once

#include <windows.h>

#include <string>

class CRegistryKey
{
public:
    // The readers' buffer: a string value counts only when its text and terminator fit in it.
    static constexpr DWORD kValueBufferSize = 255;

    CRegistryKey() = default;
    ~CRegistryKey();
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // The registry status of the open (ERROR_SUCCESS when the key is open); an open key is closed first.
    LONG Open(HKEY parent, const char* subKey, REGSAM access = KEY_READ);
    // The registry status of the close; ERROR_SUCCESS when nothing was open.
    LONG Close();
    bool IsOpen() const { return m_key != nullptr; }
    HKEY GetHandle() const { return m_key; }

    // A REG_SZ or REG_EXPAND_SZ value (not expanded). False, leaving value alone, when the value is missing, of
    // another type, or too long for the buffer: a cut-off text would be worse than none.
    bool ReadString(const char* name, std::string& value) const;
    // A REG_DWORD value; false, leaving value alone, otherwise.
    bool ReadDword(const char* name, DWORD& value) const;

private:
    HKEY m_key = nullptr;
};
