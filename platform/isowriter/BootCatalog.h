// The El Torito boot catalog: a validation entry and the default (initial) entry that tells the BIOS
// which sectors to load and where.
#pragma once

#include <cstdint>

namespace osm::iso {

class BootCatalog
{
public:
    struct Entry
    {
        std::uint8_t platform = 0;      // 0 = x86
        std::uint8_t mediaType = 0;     // 0 = no emulation
        std::uint16_t loadSegment = 0;  // 0 = the BIOS default 0x7C0
        std::uint16_t sectorCount = 4;  // 512-byte sectors loaded
        std::uint32_t imageSector = 0;  // 2048-byte sector of the boot image
    };

    static constexpr std::uint8_t kNoEmulation = 0;

    // out: one 2048-byte sector, zero-filled here.
    static void write(std::uint8_t* out, const Entry& entry);
};

}  // namespace osm::iso
