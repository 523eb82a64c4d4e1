#include "framework/foundation/OSVersionInfo.h"

#include "framework/foundation/ProcessService.h"
#include "framework/foundation/ModuleHandle.h"

COSMOSVersionInfo::COSMOSVersionInfo() : OSVERSIONINFOA{}
{
    dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    GetVersionExA(this);
}

BOOL COSMOSVersionInfo::IsWin9x() const
{
    return dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

BOOL COSMOSVersionInfo::IsWin2KOrGreater() const
{
    return dwPlatformId >= VER_PLATFORM_WIN32_NT && dwMajorVersion >= 5;
}

BOOL COSMOSVersionInfo::IsWinXPOrGreater() const
{
    return dwPlatformId >= VER_PLATFORM_WIN32_NT && IsVersionAtLeast(5, 1);
}

BOOL COSMOSVersionInfo::IsVersionAtLeast(DWORD major, DWORD minor) const
{
    return dwMajorVersion > major || (dwMajorVersion == major && dwMinorVersion >= minor);
}

DWORD COSMOSVersionInfo::GetComCtlVersion()
{
    static DWORD cached = 0;
    if (cached == 0)
    {
        COSMModuleHandle comctl("COMCTL32.DLL");
        cached = comctl.GetVersion();
        if (cached == 0)
            cached = MAKELONG(0, 4);
    }
    return cached;
}

int COSMOSVersionInfo::GetMaxCharSize()
{
    static int cached = -1;
    if (cached == -1)
    {
        CPINFO info{};
        cached = GetCPInfo(GetOEMCP(), &info) ? static_cast<int>(info.MaxCharSize) : 1;
    }
    return cached;
}

COSMOSVersionInfo* GetOSVersionInfo()
{
    return OsmProcessService<COSMOSVersionInfo>();
}
