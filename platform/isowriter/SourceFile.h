// A file opened for sequential reading of its data into the image, and the folder it may be opened in.
#pragma once

#include "isowriter/NativePath.h"

#include <cstddef>
#include <cstdint>

namespace osm::iso {

// A folder held open while its files are read, so that each is opened by its name alone and the system does
// not walk down the whole path again for every file. POSIX only: on Windows, and for a folder that does not
// open, its files are opened by their full path (and any error shows there).
class SourceFolder
{
public:
    explicit SourceFolder(NativeString absolutePath);
    ~SourceFolder();
    SourceFolder(const SourceFolder&) = delete;
    SourceFolder& operator=(const SourceFolder&) = delete;

    const NativeString& path() const { return path_; }

private:
    friend class SourceFile;
    NativeString path_;
#ifdef _WIN32
    // The folder's path and a separator, to which each file's name is appended in turn: opening a file
    // takes no new string.
    mutable NativeString filePath_;
    std::size_t prefixLength_;
#else
    int fd_;
#endif
};

class SourceFile
{
public:
    // Throws IsoError (NotFound or SystemCall) naming the path. expectedSize only tunes read-ahead.
    SourceFile(NativeString absolutePath, std::uint64_t expectedSize);
    // The file `name` (zero-terminated) of an open folder; folder and name must outlive the file.
    SourceFile(const SourceFolder& folder, const NativeChar* name, std::uint64_t expectedSize);
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Reads at least `wanted` bytes (fewer only at the end of the file) and at most `room`, in as few
    // system calls as the system allows. Throws on a read error.
    std::size_t read(void* out, std::size_t wanted, std::size_t room);

    // The full path, for messages.
    NativeString path() const;

private:
    void open(std::uint64_t expectedSize);

    NativeString path_;  // empty when opened in a folder
    const SourceFolder* folder_ = nullptr;
    const NativeChar* name_ = nullptr;
#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
};

}  // namespace osm::iso
