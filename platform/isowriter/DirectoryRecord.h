// Directory records and the directory extents made of them, for either tree. A file too big for one
// 32-bit extent gets several records of one name, all but the last flagged as continued.
#pragma once

#include "isowriter/IsoDate.h"
#include "isowriter/TreeNode.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace osm::iso {

enum class TreeKind
{
    Iso,
    Joliet
};

class DirectoryRecord
{
public:
    static constexpr std::uint32_t kSectorSize = 2048;
    // Largest piece of a multi-extent file: a whole number of sectors below 4 GiB.
    static constexpr std::uint32_t kMaxExtentBytes = 0xFFFFF800u;

    static constexpr std::uint8_t kFlagDirectory = 0x02;
    static constexpr std::uint8_t kFlagMultiExtent = 0x80;

    struct Fields
    {
        std::uint32_t extent = 0;
        std::uint32_t length = 0;
        // The recording date in the record's own 7 bytes: worked out once for records that share it.
        std::uint8_t date[7] = {70, 1, 1, 0, 0, 0, 0};
        std::uint8_t flags = 0;
        // nullptr: the caller writes the identifier's bytes after the record's first 33 (write leaves them).
        const std::uint8_t* identifier = nullptr;
        std::size_t identifierLength = 0;
        std::uint16_t volumeSequence = 1;
    };

    // What every record of one build shares: the volume number and where the dates come from.
    struct Context
    {
        std::uint16_t volumeSequence = 1;
        bool fileDates = true;
        std::int64_t volumeTime = 0;
        IsoDate dateOf(const TreeNode& node) const
        {
            return IsoDate(fileDates && !node.isRoot() ? node.modified() : volumeTime);
        }
    };

    // 33 fixed bytes, the identifier, and a pad byte that keeps the record's length even.
    static std::size_t length(std::size_t identifierLength)
    {
        return 33 + identifierLength + (identifierLength % 2 == 0);
    }
    static std::size_t write(std::uint8_t* out, const Fields& f);

    static std::uint64_t extentCount(std::uint64_t fileSize);
    static std::uint64_t sectorsFor(std::uint64_t bytes) { return (bytes + kSectorSize - 1) / kSectorSize; }

    // Bytes of a folder's directory in the given tree: whole sectors, records never crossing a sector end.
    static std::uint32_t directorySize(const TreeNode& folder, TreeKind kind);
    // Writes the directory into out: all directorySize bytes, the unused ends of its sectors as zeros.
    static void writeDirectory(std::uint8_t* out, const TreeNode& folder, TreeKind kind, const Context& context);

    // The identifier of an entry in the given tree (UCS-2 big-endian for Joliet): its length in bytes, and
    // the bytes themselves written to out.
    static std::size_t identifierLength(const TreeNode& node, TreeKind kind);
    static void writeIdentifier(std::uint8_t* out, const TreeNode& node, TreeKind kind);
};

}  // namespace osm::iso
