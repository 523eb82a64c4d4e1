#include "isowriter/VolumeDescriptor.h"

#include "isowriter/ByteFields.h"
#include "isowriter/DirectoryRecord.h"
#include "isowriter/NameMapper.h"

#include <cstring>

namespace osm::iso {

namespace {

void writeHeader(std::uint8_t* out, std::uint8_t type)
{
    std::memset(out, 0, VolumeDescriptor::kSize);
    out[0] = type;
    std::memcpy(out + 1, "CD001", 5);
    out[6] = 1;
}

// The layout both the primary and the supplementary descriptor share; only the texts differ.
template <class LabelWriter, class TextWriter>
void writeVolume(std::uint8_t* out, const VolumeDescriptor::Fields& f, LabelWriter label, TextWriter text)
{
    text(out + 8, 32, std::u16string());  // system identifier
    label(out + 40, 32, f.label);
    ByteFields::both32(out + 80, f.volumeSpaceSize);
    ByteFields::both16(out + 120, f.volumeSequence);  // volume set size: this is its last disc
    ByteFields::both16(out + 124, f.volumeSequence);
    ByteFields::both16(out + 128, static_cast<std::uint16_t>(DirectoryRecord::kSectorSize));
    ByteFields::both32(out + 132, f.pathTableSize);
    ByteFields::le32(out + 140, f.lPathTable);
    ByteFields::be32(out + 148, f.mPathTable);

    const std::uint8_t rootId = 0;
    DirectoryRecord::Fields root;
    root.extent = f.rootExtent;
    root.length = f.rootSize;
    f.created.writeRecordDate(root.date);
    root.flags = DirectoryRecord::kFlagDirectory;
    root.identifier = &rootId;
    root.identifierLength = 1;
    root.volumeSequence = f.volumeSequence;
    DirectoryRecord::write(out + 156, root);

    text(out + 190, 128, std::u16string());  // volume set
    text(out + 318, 128, f.publisher);
    text(out + 446, 128, std::u16string());  // data preparer
    text(out + 574, 128, f.application);
    text(out + 702, 37, std::u16string());  // copyright file
    text(out + 739, 37, std::u16string());  // abstract file
    text(out + 776, 37, std::u16string());  // bibliographic file
    f.created.writeVolumeDate(out + 813);
    f.created.writeVolumeDate(out + 830);
    IsoDate::writeUnsetVolumeDate(out + 847);  // expiration
    IsoDate::writeUnsetVolumeDate(out + 864);  // effective
    out[881] = 1;                              // file structure version
}

}  // namespace

void VolumeDescriptor::writePrimary(std::uint8_t* out, const Fields& f)
{
    writeHeader(out, 1);
    writeVolume(
        out, f,
        [](std::uint8_t* at, std::size_t width, const std::u16string& value) {
            ByteFields::text(at, width, NameMapper::volumeId(value));
        },
        [](std::uint8_t* at, std::size_t width, const std::u16string& value) {
            ByteFields::text(at, width, NameMapper::primaryText(value));
        });
}

void VolumeDescriptor::writeJoliet(std::uint8_t* out, const Fields& f)
{
    writeHeader(out, 2);
    const auto ucs2 = [](std::uint8_t* at, std::size_t width, const std::u16string& value) {
        ByteFields::ucs2(at, width, value);
    };
    writeVolume(out, f, ucs2, ucs2);
    // Escape sequence of UCS-2 level 3: marks the volume as Joliet.
    out[88] = 0x25;
    out[89] = 0x2F;
    out[90] = 0x45;
}

void VolumeDescriptor::writeBootRecord(std::uint8_t* out, std::uint32_t catalogSector)
{
    writeHeader(out, 0);
    static const char kSystem[] = "EL TORITO SPECIFICATION";
    std::memcpy(out + 7, kSystem, sizeof kSystem - 1);
    ByteFields::le32(out + 71, catalogSector);
}

void VolumeDescriptor::writeTerminator(std::uint8_t* out)
{
    writeHeader(out, 255);
}

}  // namespace osm::iso
