// A file opened for sequential reading of its data into the image.
#pragma once

#include "isowriter/NativePath.h"

#include <cstddef>
#include <cstdint>

namespace osm::iso {

class SourceFile
{
public:
    // Throws IsoError (NotFound or SystemCall) naming the path. expectedSize only tunes read-ahead.
    SourceFile(NativeString absolutePath, std::uint64_t expectedSize);
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Reads at least `wanted` bytes (fewer only at the end of the file) and at most `room`, in as few
    // system calls as the system allows. Throws on a read error.
    std::size_t read(void* out, std::size_t wanted, std::size_t room);

    const NativeString& path() const { return path_; }

private:
    NativeString path_;
#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
};

}  // namespace osm::iso
