#include "isowriter/SourceFile.h"

#include "isowriter/IsoError.h"

#include <algorithm>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace osm::iso {

SourceFile::SourceFile(NativeString absolutePath, std::uint64_t expectedSize) : path_(std::move(absolutePath))
{
    open(expectedSize);
}

SourceFile::SourceFile(const SourceFolder& folder, const NativeChar* name, std::uint64_t expectedSize)
    : folder_(&folder), name_(name)
{
    open(expectedSize);
}

NativeString SourceFile::path() const
{
    return folder_ ? NativePath::join(folder_->path(), name_) : path_;
}

#ifdef _WIN32

SourceFolder::SourceFolder(NativeString absolutePath)
    : path_(std::move(absolutePath)), filePath_(NativePath::join(path_, NativeString())),
      prefixLength_(filePath_.size())
{}

SourceFolder::~SourceFolder() = default;

void SourceFile::open(std::uint64_t)
{
    // A folder serves one file at a time: its files' paths are made in one string. Only a path too long
    // for the plain form gets a string of its own.
    const NativeString* target = &path_;
    if (folder_)
    {
        folder_->filePath_.resize(folder_->prefixLength_);
        folder_->filePath_ += name_;
        target = &folder_->filePath_;
    }
    NativeString longForm;
    if (NativePath::needsLongForm(*target))
        longForm = NativePath::forSystem(*target);
    const wchar_t* systemPath = longForm.empty() ? target->c_str() : longForm.c_str();
    handle_ = CreateFileW(systemPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
    {
        const auto err = IsoError::lastSystemError();
        throw IsoError::fromSystem(err, "Cannot open " + NativePath::quoted(path()) + " for reading");
    }
}

SourceFile::~SourceFile()
{
    CloseHandle(handle_);
}

std::size_t SourceFile::read(void* out, std::size_t wanted, std::size_t room)
{
    std::size_t done = 0;
    auto* p = static_cast<char*>(out);
    while (done < wanted)
    {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(room - done, 64u << 20));
        DWORD got = 0;
        if (!ReadFile(handle_, p + done, ask, &got, nullptr))
        {
            const auto err = IsoError::lastSystemError();
            throw IsoError::fromSystem(err, "Cannot read " + NativePath::quoted(path()));
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

#else

SourceFolder::SourceFolder(NativeString absolutePath)
    : path_(std::move(absolutePath)), fd_(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{}

SourceFolder::~SourceFolder()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void SourceFile::open(std::uint64_t expectedSize)
{
    fd_ = folder_ && folder_->fd_ >= 0 ? ::openat(folder_->fd_, name_, O_RDONLY | O_CLOEXEC)
                                       : ::open(path().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
    {
        const auto err = IsoError::lastSystemError();
        throw IsoError::fromSystem(err, "Cannot open " + NativePath::quoted(path()) + " for reading");
    }
#ifdef POSIX_FADV_SEQUENTIAL
    // A larger read-ahead helps only files that outlast the default one; most files are read in one call.
    if (expectedSize > (1u << 20))
        posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
#else
    (void)expectedSize;
#endif
}

SourceFile::~SourceFile()
{
    ::close(fd_);
}

std::size_t SourceFile::read(void* out, std::size_t wanted, std::size_t room)
{
    std::size_t done = 0;
    auto* p = static_cast<char*>(out);
    while (done < wanted)
    {
        const ssize_t got = ::read(fd_, p + done, std::min<std::size_t>(room - done, 1u << 30));
        if (got < 0)
        {
            if (errno == EINTR)
                continue;
            const auto err = IsoError::lastSystemError();
            throw IsoError::fromSystem(err, "Cannot read " + NativePath::quoted(path()));
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

#endif

}  // namespace osm::iso
