#include "GdiObjectCount.h"

#include <windows.h>

int CountGdiObjects()
{
    if (const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<int>(reported);
    // Wine takes a handle whose upper word is 0 for the live object in that slot of its table.
    int count = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
        count += ::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) ? 1 : 0;
    return count;
}
