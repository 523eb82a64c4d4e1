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
    for (char16_t c : node.jolietName())
    {
        *out++ = static_cast<std::uint8_t>(c >> 8);
        *out++ = static_cast<std::uint8_t>(c);
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

    // The children's identifiers go straight from their names into the records, without a copy between.
    // Files of one folder often share their time: the date is worked out again only when it changes.
    f.identifier = nullptr;
    bool dated = false;
    std::int64_t datedSeconds = 0;
    for (const TreeNode* child : recordOrder(folder, kind))
    {
        f.identifierLength = identifierBytes(*child, kind);
        const std::int64_t seconds = context.fileDates ? child->modified() : context.volumeTime;
        if (!dated || seconds != datedSeconds)
        {
            IsoDate(seconds).writeRecordDate(f.date);
            datedSeconds = seconds;
            dated = true;
        }
        const std::size_t len = length(f.identifierLength);
        if (child->isDirectory())
        {
            f.flags = kFlagDirectory;
            f.extent = extentOf(*child, kind);
            f.length = extentSizeOf(*child, kind);
            std::uint8_t* record = cursor.at(cursor.place(len));
            write(record, f);
            writeIdentifier(record + 33, *child, kind);
            continue;
        }
        // Both trees point at the same data; the pieces of a big file lie one after another.
        f.flags = 0;
        std::uint64_t remaining = child->size();
        std::uint64_t extent = child->isoExtent();
        const std::uint64_t records = extentCount(remaining);
        for (std::uint64_t i = 0; i < records; ++i)
        {
            const std::uint64_t piece = i + 1 < records ? kMaxExtentBytes : remaining;
            f.flags = i + 1 < records ? kFlagMultiExtent : 0;
            f.extent = static_cast<std::uint32_t>(extent);
            f.length = static_cast<std::uint32_t>(piece);
            std::uint8_t* record = cursor.at(cursor.place(len));
            write(record, f);
            writeIdentifier(record + 33, *child, kind);
            remaining -= piece;
            extent += piece / kSectorSize;
        }
    }
    cursor.skipTo(extentSizeOf(folder, kind));
}

}  // namespace osm::iso
