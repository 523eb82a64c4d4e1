#include "isowriter/DirectoryScanner.h"

#include "isowriter/IsoError.h"

#ifdef _WIN32
#include <windows.h>
#include <winternl.h>
#else
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#endif

namespace osm::iso {

#ifdef _WIN32

namespace {

std::int64_t unixTime(const FILETIME& ft)
{
    ULARGE_INTEGER v;
    v.LowPart = ft.dwLowDateTime;
    v.HighPart = ft.dwHighDateTime;
    return static_cast<std::int64_t>(v.QuadPart / 10000000ULL) - 11644473600LL;
}

class Handle
{
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle()
    {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

class FindHandle
{
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle()
    {
        if (h_ != INVALID_HANDLE_VALUE)
            FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

// Opens through links (the target's data); folders need backup semantics to be opened.
HANDLE openForQuery(const NativeString& path)
{
    return CreateFileW(NativePath::forSystem(path).c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Kind, size, date and file index, from the file system's own queries (present since Windows 2000). The
// documented GetFileInformationByHandle also asks for the volume serial, which under Wine is a round trip
// to its mount manager: 0.6 ms a call, more than listing a folder of a hundred files.
using QueryInformationFile = LONG(WINAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, FILE_INFORMATION_CLASS);

QueryInformationFile queryInformationFile()
{
    static const auto query = reinterpret_cast<QueryInformationFile>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    return query;
}

bool queryByHandle(const NativeString& path, SourceEntry& e)
{
    Handle h(openForQuery(path));
    if (!h.valid())
        return false;
    const QueryInformationFile query = queryInformationFile();
    IO_STATUS_BLOCK io;
    FILE_NETWORK_OPEN_INFORMATION open;
    FILE_INTERNAL_INFORMATION internal;
    if (!query || query(h.get(), &io, &open, sizeof open, FileNetworkOpenInformation) < 0 ||
        query(h.get(), &io, &internal, sizeof internal, FileInternalInformation) < 0)
    {
        // A file system that does not answer those: the documented call, volume serial and all.
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(h.get(), &info))
            return false;
        e.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory : EntryKind::File;
        e.size =
            e.kind == EntryKind::File ? (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow : 0;
        e.modified = unixTime(info.ftLastWriteTime);
        e.device = info.dwVolumeSerialNumber;
        e.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        return true;
    }
    e.kind = (open.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory : EntryKind::File;
    e.size = e.kind == EntryKind::File ? static_cast<std::uint64_t>(open.EndOfFile.QuadPart) : 0;
    FILETIME written;
    written.dwLowDateTime = open.LastWriteTime.LowPart;
    written.dwHighDateTime = static_cast<DWORD>(open.LastWriteTime.HighPart);
    e.modified = unixTime(written);
    e.device = 0;
    e.inode = static_cast<std::uint64_t>(internal.IndexNumber.QuadPart);
    return true;
}

}  // namespace

SourceEntry DirectoryScanner::inspect(const NativeString& absolutePath)
{
    SourceEntry e;
    if (!queryByHandle(absolutePath, e))
    {
        const auto err = IsoError::lastSystemError();
        throw IsoError::fromSystem(err, "Cannot open " + NativePath::quoted(absolutePath));
    }
    return e;
}

void DirectoryScanner::list(const NativeString& absoluteFolder, FolderListing& out)
{
    out.clear();
    WIN32_FIND_DATAW fd;
    const NativeString pattern = NativePath::forSystem(NativePath::join(absoluteFolder, L"*"));
    // Without short names and with large batches the listing is faster; systems before Windows 7 refuse
    // those options, and get the plain listing.
    HANDLE first = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                                    FIND_FIRST_EX_LARGE_FETCH);
    if (first == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        first = FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &fd, FindExSearchNameMatch, nullptr, 0);
    FindHandle find(first);
    if (find.get() == INVALID_HANDLE_VALUE)
    {
        DWORD err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_NO_MORE_FILES)
            return;  // an empty drive root lists nothing at all
        throw IsoError::fromSystem(err, "Cannot list folder " + NativePath::quoted(absoluteFolder));
    }
    do
    {
        const std::wstring_view name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        FolderListing::Entry& e = out.add(fd.cFileName, name.size());
        const bool reparse = (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        const bool linkLike =
            reparse && (fd.dwReserved0 == IO_REPARSE_TAG_SYMLINK || fd.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (linkLike)
            {
                e.kind = EntryKind::Skipped;  // junctions and folder links could lead back up the tree
            }
            else
            {
                // The folder's identity lets the caller notice a folder that contains itself (links the
                // system does not report as reparse points).
                if (!queryByHandle(NativePath::join(absoluteFolder, name), e))
                {
                    e.kind = EntryKind::Directory;
                    e.modified = unixTime(fd.ftLastWriteTime);
                }
            }
        }
        else if (linkLike)
        {
            // A link to a file gives the target's data, so it also gives the target's size and date.
            if (!queryByHandle(NativePath::join(absoluteFolder, name), e) || e.kind == EntryKind::Directory)
                e.kind = EntryKind::Skipped;
        }
        else
        {
            e.kind = EntryKind::File;
            e.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
            e.modified = unixTime(fd.ftLastWriteTime);
        }
    } while (FindNextFileW(find.get(), &fd));
    DWORD err = GetLastError();
    if (err != ERROR_NO_MORE_FILES)
        throw IsoError::fromSystem(err, "Cannot list folder " + NativePath::quoted(absoluteFolder));
}

std::optional<std::uint64_t> DirectoryScanner::device(const NativeString& absolutePath)
{
    Handle h(openForQuery(absolutePath));
    BY_HANDLE_FILE_INFORMATION info;
    if (!h.valid() || !GetFileInformationByHandle(h.get(), &info))
        return std::nullopt;
    return info.dwVolumeSerialNumber;
}

#else

namespace {

void fillFromStat(SourceEntry& e, const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        e.kind = EntryKind::Directory;
    else if (S_ISREG(st.st_mode))
        e.kind = EntryKind::File;
    else
        e.kind = EntryKind::Skipped;
    e.size = e.kind == EntryKind::File ? static_cast<std::uint64_t>(st.st_size) : 0;
    e.modified = static_cast<std::int64_t>(st.st_mtime);
    e.device = static_cast<std::uint64_t>(st.st_dev);
    e.inode = static_cast<std::uint64_t>(st.st_ino);
}

struct DirCloser
{
    void operator()(DIR* d) const { closedir(d); }
};

}  // namespace

SourceEntry DirectoryScanner::inspect(const NativeString& absolutePath)
{
    SourceEntry e;
    struct stat st;
    if (stat(absolutePath.c_str(), &st) != 0)
    {
        const auto err = IsoError::lastSystemError();
        throw IsoError::fromSystem(err, "Cannot open " + NativePath::quoted(absolutePath));
    }
    fillFromStat(e, st);
    return e;
}

void DirectoryScanner::list(const NativeString& absoluteFolder, FolderListing& out)
{
    out.clear();
    std::unique_ptr<DIR, DirCloser> dir(opendir(absoluteFolder.c_str()));
    if (!dir)
    {
        const auto err = IsoError::lastSystemError();
        throw IsoError::fromSystem(err, "Cannot list folder " + NativePath::quoted(absoluteFolder));
    }
    const int fd = dirfd(dir.get());
    for (;;)
    {
        errno = 0;
        const dirent* d = readdir(dir.get());
        if (!d)
            break;
        const char* name = d->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st;
        if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        {
            const auto err = IsoError::lastSystemError();
            if (err == ENOENT)
                continue;  // removed while the folder was being listed
            throw IsoError::fromSystem(err,
                                       "Cannot read " + NativePath::quoted(NativePath::join(absoluteFolder, name)));
        }
        FolderListing::Entry& e = out.add(name, std::strlen(name));
        if (S_ISLNK(st.st_mode))
        {
            // Links to files give the target's data; links to folders could lead back up the tree.
            if (fstatat(fd, name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            {
                e.kind = EntryKind::Skipped;
                continue;
            }
        }
        fillFromStat(e, st);
    }
    if (errno != 0)
    {
        const auto err = IsoError::lastSystemError();
        throw IsoError::fromSystem(err, "Cannot list folder " + NativePath::quoted(absoluteFolder));
    }
}

std::optional<std::uint64_t> DirectoryScanner::device(const NativeString& absolutePath)
{
    struct stat st;
    if (stat(absolutePath.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_dev);
}

#endif

}  // namespace osm::iso
