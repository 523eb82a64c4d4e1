// Holds a DLL for run-time linking: found already loaded (GetModuleHandle) or loaded here (LoadLibrary, then
// freed again by the destructor), with the DLL's own version for refusing functions a too-old DLL lacks.
//
//   COSMModuleHandle uxtheme("UXTHEME.DLL");
//   PFNOPENTHEMEDATA open = nullptr;
//   if (uxtheme.GetProcAddress(&open, "OpenThemeData")) ...
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <string>

class COSMModuleHandle
{
public:
    enum class Source
    {
        None = 0,
        GetModuleHandle = 1,
        LoadLibrary = 2
    };

    COSMModuleHandle() = default;
    explicit COSMModuleHandle(const char* name) { Init(name); }
    virtual ~COSMModuleHandle();

    COSMModuleHandle(const COSMModuleHandle&) = delete;
    COSMModuleHandle& operator=(const COSMModuleHandle&) = delete;

    // An already loaded module first, else loads it; whatever was held before is released.
    BOOL Init(const char* name);
    BOOL GetModuleHandle(const char* name);
    BOOL LoadLibrary(const char* name);
    void FreeLibrary();

    BOOL GetVersionInfo();
    // major << 16 | minor from DllGetVersion, 0 when the module does not tell.
    DWORD GetVersion();

    // Looks the function up unless the module is older than minimumVersion (major << 16 | minor; 0 = any).
    template <typename Function> BOOL GetProcAddress(Function* function, const char* name, DWORD minimumVersion = 0)
    {
        FARPROC address = nullptr;
        const BOOL found = GetProcAddressRaw(&address, name, minimumVersion);
        *function = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
        return found;
    }

    HMODULE GetHandle() const { return m_module; }
    Source GetSource() const { return m_source; }
    const std::string& GetName() const { return m_name; }
    operator HMODULE() const { return m_module; }

private:
    BOOL GetProcAddressRaw(FARPROC* address, const char* name, DWORD minimumVersion);

    std::string m_name;
    HMODULE m_module = nullptr;
    Source m_source = Source::None;
    DLLVERSIONINFO m_version{};
};
