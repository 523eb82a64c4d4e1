/* The code of a resource-only module: an entry point that accepts every call, since without the C runtime
   nothing else provides the one the linker looks for. */
#include <windows.h>

BOOL WINAPI DllMainCRTStartup(HINSTANCE hModule, DWORD dwReason, LPVOID lpReserved)
{
    (void)hModule;
    (void)dwReason;
    (void)lpReserved;
    return TRUE;
}
