#include "isowriter/BootCatalog.h"

#include "isowriter/ByteFields.h"

#include <cstring>

namespace osm::iso {

void BootCatalog::write(std::uint8_t* out, const Entry& entry)
{
    std::memset(out, 0, 2048);
    // Validation entry: header id 1, platform, key 55 AA, and a checksum making its 16 words sum to 0.
    out[0] = 1;
    out[1] = entry.platform;
    out[30] = 0x55;
    out[31] = 0xAA;
    std::uint16_t sum = 0;
    for (int i = 0; i < 32; i += 2)
        sum = static_cast<std::uint16_t>(sum + (out[i] | (out[i + 1] << 8)));
    ByteFields::le16(out + 28, static_cast<std::uint16_t>(0x10000 - sum));

    // Default entry: bootable.
    std::uint8_t* d = out + 32;
    d[0] = 0x88;
    d[1] = entry.mediaType;
    ByteFields::le16(d + 2, entry.loadSegment);
    d[4] = 0;  // system type: no partition table for no-emulation images
    ByteFields::le16(d + 6, entry.sectorCount);
    ByteFields::le32(d + 8, entry.imageSector);
}

}  // namespace osm::iso
