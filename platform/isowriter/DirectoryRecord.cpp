#include "isowriter/DirectoryRecord.h"

#include "isowriter/ByteFields.h"
#include "isowriter/IsoError.h"

#include <cstring>

namespace osm::iso {

namespace {

const std::vector<TreeNode*>& recordOrder(const TreeNode& folder, TreeKind kind)
{
    return kind == TreeKind::Iso ? folder.isoOrder() : folder.jolietOrder();
}

std::uint32_t extentOf(const TreeNode& folder, TreeKind kind)
{
    return kind == TreeKind::Iso ? folder.isoExtent() : folder.folderPlacement().jolietExtent;
}

std::uint32_t extentSizeOf(const TreeNode& folder, TreeKind kind)
{
    return kind == TreeKind::Iso ? folder.folderPlacement().isoExtentSize : folder.folderPlacement().jolietExtentSize;
}

std::size_t identifierBytes(const TreeNode& node, TreeKind kind)
{
    return kind == TreeKind::Iso ? node.isoName().size() : 2 * node.jolietName().size();
}

constexpr bool littleEndian()
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return false;
#else
    return true;  // x86, x64 and every Windows target
#endif
}

// Walks the records of a directory in order, keeping each inside one sector.
class RecordCursor
{
public:
    explicit RecordCursor(std::uint8_t* out) : out_(out) {}
    std::size_t place(std::size_t length)
    {
        const std::size_t inSector = offset_ % DirectoryRecord::kSectorSize;
        if (inSector + length > DirectoryRecord::kSectorSize)
            skipTo(offset_ + DirectoryRecord::kSectorSize - inSector);
        const std::size_t at = offset_;
        offset_ += length;
        return at;
    }
    std::uint8_t* at(std::size_t offset) const { return out_ + offset; }
    std::size_t end() const { return offset_; }
    // Zeros from the last record up to offset (when writing, not only measuring); the records themselves
    // write every byte of theirs.
    void skipTo(std::size_t offset)
    {
        if (out_)
            std::memset(out_ + offset_, 0, offset - offset_);
        offset_ = offset;
    }

private:
    std::uint8_t* out_;
    std::size_t offset_ = 0;
};

}  // namespace

std::size_t DirectoryRecord::write(std::uint8_t* out, const Fields& f)
{
    // Every byte is written once: the fields, the zeros between them, the identifier and the pad byte.
    const std::size_t len = length(f.identifierLength);
    out[0] = static_cast<std::uint8_t>(len);
    out[1] = 0;  // no extended attribute record
    ByteFields::both32(out + 2, f.extent);
    ByteFields::both32(out + 10, f.length);
    std::memcpy(out + 18, f.date, sizeof f.date);
    out[25] = f.flags;
    out[26] = 0;  // not interleaved
    out[27] = 0;
    ByteFields::both16(out + 28, f.volumeSequence);
    out[32] = static_cast<std::uint8_t>(f.identifierLength);
    if (f.identifier && f.identifierLength)
        std::memcpy(out + 33, f.identifier, f.identifierLength);
    if (33 + f.identifierLength < len)
        out[33 + f.identifierLength] = 0;
    return len;
}

std::uint64_t DirectoryRecord::extentCount(std::uint64_t fileSize)
{
    if (fileSize <= 0xFFFFFFFFull)
        return 1;
    return (fileSize + kMaxExtentBytes - 1) / kMaxExtentBytes;
}

std::size_t DirectoryRecord::identifierLength(const TreeNode& node, TreeKind kind)
{
    return identifierBytes(node, kind);
}

void DirectoryRecord::writeIdentifier(std::uint8_t* out, const TreeNode& node, TreeKind kind)
{
    if (kind == TreeKind::Iso)
    {
        const std::string_view name = node.isoName();
        std::memcpy(out, name.data(), name.size());
        return;
    }
    // Four characters at a time: the bytes of each are swapped within one 64-bit word.
    const std::u16string_view name = node.jolietName();
    std::size_t i = 0;
    for (; i + 4 <= name.size(); i += 4, out += 8)
    {
        std::uint64_t units;
        std::memcpy(&units, name.data() + i, sizeof units);
        if (littleEndian())
            units = (units & 0x00FF00FF00FF00FFull) << 8 | (units >> 8 & 0x00FF00FF00FF00FFull);
        std::memcpy(out, &units, sizeof units);
    }
    for (; i < name.size(); ++i)
    {
        *out++ = static_cast<std::uint8_t>(name[i] >> 8);
        *out++ = static_cast<std::uint8_t>(name[i]);
    }
}

std::uint32_t DirectoryRecord::directorySize(const TreeNode& folder, TreeKind kind)
{
    RecordCursor cursor(nullptr);
    cursor.place(length(1));  // "."
    cursor.place(length(1));  // ".."
    for (const TreeNode* child : recordOrder(folder, kind))
    {
        const std::size_t len = length(identifierBytes(*child, kind));
        const std::uint64_t records = child->isDirectory() ? 1 : extentCount(child->size());
        for (std::uint64_t i = 0; i < records; ++i)
            cursor.place(len);
    }
    const std::uint64_t bytes = sectorsFor(cursor.end()) * kSectorSize;
    if (bytes > 0xFFFFFFFFull)
        throw IsoError(ErrorCode::FileTooBig, "Folder '" + folder.displayPath() + "' holds too many entries");
    return static_cast<std::uint32_t>(bytes);
}

void DirectoryRecord::writeDirectory(std::uint8_t* out, const TreeNode& folder, TreeKind kind, const Context& context)
{
    RecordCursor cursor(out);
    const std::uint8_t self = 0, up = 1;
    const TreeNode& parent = folder.isRoot() ? folder : *folder.parent();

    Fields f;
    f.volumeSequence = context.volumeSequence;
    f.flags = kFlagDirectory;
    f.identifierLength = 1;

    f.extent = extentOf(folder, kind);
    f.length = extentSizeOf(folder, kind);
    context.dateOf(folder).writeRecordDate(f.date);
    f.identifier = &self;
    write(cursor.at(cursor.place(length(1))), f);

    f.extent = extentOf(parent, kind);
    f.length = extentSizeOf(parent, kind);
    context.dateOf(parent).writeRecordDate(f.date);
    f.identifier = &up;
    write(cursor.at(cursor.place(length(1))), f);

    // The children's records are copies of one prepared record whose shared bytes (volume number, date)
    // are set once, with each child's own fields written over them; the identifiers go straight from the
    // names into the records. Files of one folder often share their time: the date is worked out again only
    // when it changes.
    f.identifier = nullptr;
    f.identifierLength = 0;
    f.flags = 0;
    std::uint8_t shared[34];  // with room for the pad byte of an empty identifier
    write(shared, f);
    bool dated = false;
    std::int64_t datedSeconds = 0;
    for (const TreeNode* child : recordOrder(folder, kind))
    {
        const std::int64_t seconds = context.fileDates ? child->modified() : context.volumeTime;
        if (!dated || seconds != datedSeconds)
        {
            IsoDate(seconds).writeRecordDate(shared + 18);
            datedSeconds = seconds;
            dated = true;
        }
        const std::size_t identifierLength = identifierBytes(*child, kind);
        const std::size_t len = length(identifierLength);
        const auto record = [&](std::uint32_t extent, std::uint32_t size, std::uint8_t flags) {
            std::uint8_t* out = cursor.at(cursor.place(len));
            std::memcpy(out, shared, 33);
            out[0] = static_cast<std::uint8_t>(len);
            ByteFields::both32(out + 2, extent);
            ByteFields::both32(out + 10, size);
            out[25] = flags;
            out[32] = static_cast<std::uint8_t>(identifierLength);
            writeIdentifier(out + 33, *child, kind);
            if (33 + identifierLength < len)
                out[33 + identifierLength] = 0;
        };
        if (child->isDirectory())
        {
            record(extentOf(*child, kind), extentSizeOf(*child, kind), kFlagDirectory);
            continue;
        }
        // Both trees point at the same data; the pieces of a big file lie one after another.
        std::uint64_t remaining = child->size();
        std::uint32_t extent = child->isoExtent();
        if (remaining > 0xFFFFFFFFull)
            for (; remaining > kMaxExtentBytes; remaining -= kMaxExtentBytes)
            {
                record(extent, kMaxExtentBytes, kFlagMultiExtent);
                extent += kMaxExtentBytes / kSectorSize;
            }
        record(extent, static_cast<std::uint32_t>(remaining), 0);
    }
    cursor.skipTo(extentSizeOf(folder, kind));
}

}  // namespace osm::iso
