// The running system's version, read once per process, with the predicates the framework branches on,
// plus the cached COMCTL32 version and the OEM code page's character size.
//
//   if (GetOSVersionInfo()->IsWinXPOrGreater()) quality = CLEARTYPE_QUALITY;
#pragma once

#include <windows.h>

class COSMOSVersionInfo : public OSVERSIONINFOA
{
public:
    COSMOSVersionInfo();

    BOOL IsWin9x() const;
    BOOL IsWin2KOrGreater() const;
    BOOL IsWinXPOrGreater() const;
    // Compares major.minor only; the platform is not looked at.
    BOOL IsVersionAtLeast(DWORD major, DWORD minor) const;
    BOOL IsClearTypeTextQualitySupported() const { return IsWinXPOrGreater(); }

    // major << 16 | minor of COMCTL32.DLL; 4.0 when the library does not say.
    static DWORD GetComCtlVersion();
    // MaxCharSize of the OEM code page: above 1 means a double-byte system.
    static int GetMaxCharSize();
};

COSMOSVersionInfo* GetOSVersionInfo();
