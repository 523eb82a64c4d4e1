// What the writer needs to know about files and folders on disk, read without opening the files.
#pragma once

#include "isowriter/NativePath.h"

#include <cstddef>
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
    EntryKind kind = EntryKind::Skipped;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // seconds since 1970 UTC
    // Identity of a folder (device and inode, or volume serial and file index); 0, 0 when unknown. On
    // Windows device stays 0: asking the volume serial costs more than the rest of a folder's listing under
    // Wine, so it is asked (device()) only when a file index matches.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// A folder's entries as listed. Their names lie back to back in one pool, each followed by a zero, so a
// folder of a thousand files costs no heap block per name.
class FolderListing
{
public:
    struct Entry : SourceEntry
    {
        std::size_t nameAt = 0;
        std::size_t nameLength = 0;
    };

    const std::vector<Entry>& entries() const { return entries_; }
    NativeStringView name(const Entry& entry) const { return {names_.data() + entry.nameAt, entry.nameLength}; }
    // Characters of all the names, with their zeros.
    std::size_t nameCharacters() const { return names_.size(); }
    // Zero-terminated, for the system.
    const NativeChar* nameText(const Entry& entry) const { return names_.data() + entry.nameAt; }

    void clear()
    {
        entries_.clear();
        names_.clear();
    }
    // A new entry named name (the system's zero-terminated text, length characters long).
    Entry& add(const NativeChar* name, std::size_t length)
    {
        Entry& entry = entries_.emplace_back();
        entry.nameAt = names_.size();
        entry.nameLength = length;
        names_.insert(names_.end(), name, name + length + 1);
        return entry;
    }

private:
    std::vector<Entry> entries_;
    std::vector<NativeChar> names_;
};

class DirectoryScanner
{
public:
    // The entry a path names. A link named here is followed: the caller asked for it.
    static SourceEntry inspect(const NativeString& absolutePath);

    // The entries of a folder, without "." and "..", in the order the system lists them, into out (emptied
    // first; the caller keeps it between folders for its room).
    static void list(const NativeString& absoluteFolder, FolderListing& out);

    // The device (volume serial) of what a path leads to; nothing when it cannot be asked.
    static std::optional<std::uint64_t> device(const NativeString& absolutePath);
};

}  // namespace osm::iso
