// What the writer needs to know about files and folders on disk, read without opening the files.
#pragma once

#include "isowriter/NativePath.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace osm::iso {

enum class EntryKind
{
    File,
    Directory,
    Skipped,  // links to folders, junctions, dangling links, devices, pipes, sockets
};

struct SourceEntry
{
    NativeString name;
    EntryKind kind = EntryKind::Skipped;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // seconds since 1970 UTC
    // Identity of a folder (device and inode, or volume serial and file index); 0, 0 when unknown. On
    // Windows device stays 0: asking the volume serial costs more than the rest of a folder's listing under
    // Wine, so it is asked (device()) only when a file index matches.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

class DirectoryScanner
{
public:
    // The entry a path names. A link named here is followed: the caller asked for it.
    static SourceEntry inspect(const NativeString& absolutePath);

    // The entries of a folder, without "." and "..", in the order the system lists them, into out (emptied
    // first; the caller keeps it between folders for its room).
    static void list(const NativeString& absoluteFolder, std::vector<SourceEntry>& out);

    // The device (volume serial) of what a path leads to; nothing when it cannot be asked.
    static std::optional<std::uint64_t> device(const NativeString& absolutePath);
};

}  // namespace osm::iso
