// The volume descriptors of sectors 16 onwards: primary (ISO9660 names), boot record (El Torito),
// supplementary (Joliet, UCS-2 level 3) and the set terminator.
#pragma once

#include "isowriter/IsoDate.h"

#include <cstdint>
#include <string>

namespace osm::iso {

class VolumeDescriptor
{
public:
    struct Fields
    {
        std::u16string label;
        std::u16string publisher;
        std::u16string application;
        std::uint32_t volumeSpaceSize = 0;  // sectors
        std::uint16_t volumeSequence = 1;
        std::uint32_t pathTableSize = 0;
        std::uint32_t lPathTable = 0;
        std::uint32_t mPathTable = 0;
        std::uint32_t rootExtent = 0;
        std::uint32_t rootSize = 0;
        IsoDate created{0};
    };

    static constexpr std::size_t kSize = 2048;

    static void writePrimary(std::uint8_t* out, const Fields& f);
    static void writeJoliet(std::uint8_t* out, const Fields& f);
    static void writeBootRecord(std::uint8_t* out, std::uint32_t catalogSector);
    static void writeTerminator(std::uint8_t* out);
};

}  // namespace osm::iso
