#include "CommittedMemory.h"

#include <windows.h>

long long CommittedPrivateBytes()
{
    long long total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char* at = nullptr;
    while (::VirtualQuery(at, &region, sizeof(region)) == sizeof(region))
    {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<long long>(region.RegionSize);
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        // The last region ends at the top of the address space: the sum wraps round.
        if (next <= at)
            break;
        at = next;
    }
    return total;
}
