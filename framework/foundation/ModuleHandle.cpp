#include "framework/foundation/ModuleHandle.h"

COSMModuleHandle::~COSMModuleHandle()
{
    FreeLibrary();
}

BOOL COSMModuleHandle::Init(const char* name)
{
    return GetModuleHandle(name) || LoadLibrary(name);
}

BOOL COSMModuleHandle::GetModuleHandle(const char* name)
{
    FreeLibrary();
    if (!name)
        return FALSE;
    m_module = ::GetModuleHandleA(name);
    if (!m_module)
        return FALSE;
    m_name = name;
    m_source = Source::GetModuleHandle;
    return TRUE;
}

BOOL COSMModuleHandle::LoadLibrary(const char* name)
{
    FreeLibrary();
    if (!name)
        return FALSE;
    m_module = ::LoadLibraryA(name);
    if (!m_module)
        return FALSE;
    m_name = name;
    m_source = Source::LoadLibrary;
    return TRUE;
}

void COSMModuleHandle::FreeLibrary()
{
    // A handle we only borrowed from GetModuleHandle is not ours to free.
    if (m_module && m_source == Source::LoadLibrary)
        ::FreeLibrary(m_module);
    m_module = nullptr;
    m_source = Source::None;
    m_name.clear();
    m_version = DLLVERSIONINFO{};
}

BOOL COSMModuleHandle::GetVersionInfo()
{
    if (!m_module)
        return FALSE;
    const auto getVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(::GetProcAddress(m_module, "DllGetVersion")));
    if (!getVersion)
        return FALSE;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(getVersion(&info)))
        return FALSE;
    m_version = info;
    return TRUE;
}

DWORD COSMModuleHandle::GetVersion()
{
    if (m_version.cbSize == 0 && !GetVersionInfo())
        return 0;
    return MAKELONG(m_version.dwMinorVersion, m_version.dwMajorVersion);
}

BOOL COSMModuleHandle::GetProcAddressRaw(FARPROC* address, const char* name, DWORD minimumVersion)
{
    *address = nullptr;
    if (!m_module)
        return FALSE;
    if (minimumVersion != 0)
    {
        const DWORD version = GetVersion();
        const DWORD wantedMajor = HIWORD(minimumVersion), wantedMinor = LOWORD(minimumVersion);
        const DWORD major = HIWORD(version), minor = LOWORD(version);
        if (wantedMajor > major || (wantedMajor == major && wantedMinor > minor))
            return FALSE;
    }
    *address = ::GetProcAddress(m_module, name);
    return *address != nullptr;
}
