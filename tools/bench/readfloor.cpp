// readfloor [--sizes-first] SOURCE_DIR OUTPUT
// The least an image build can ask of the system: walk SOURCE_DIR, open and read every file once, and write
// as many bytes to OUTPUT (each file rounded up to whole 2048-byte sectors, as in an image) through the same
// 10 MiB buffer and write slices as isobuild. The benchmark's yardstick for isobuild, natively and under Wine.
// Top-level names beginning with "." are skipped, as isobuild skips them.
//
// By default each file is read as soon as the walk meets it. --sizes-first walks the whole tree before
// reading the first file, as a writer that keeps no file data in memory must: an image's directories, which
// come before the data, hold every file's place. On POSIX that second visit of every file is what separates
// the two floors on trees of many tiny files.
//
// Files are opened as isobuild opens them: by name in their folder, opened once for all its files (POSIX:
// openat on the folder's descriptor; Windows: the folder's path and the name, as the writer's own reads do).
// --sizes-first keeps what the writer keeps of a file before its data: its name and size, the names back to
// back in one pool (no heap block per name, as the writer keeps them in its arena), and each folder's path
// once, not a full path per file. Neither mode copies a listed name to pass it on.
//
// The walk, the reads and the writes go through a small seam with one side per system. Each side asks what
// an image writer cannot do without: on Windows the folder listing (FindFirstFile) brings every file's size;
// on POSIX readdir does not, and one fstatat per entry stands in for it, as an image needs every size before
// the first byte of data. Links are left out (Windows: reparse points; POSIX: symbolic links).
#include "isowriter/StarBurn.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr std::size_t kChunk = 10u * 1024 * 1024;
constexpr unsigned long long kSector = 2048;

// --- the system seam ------------------------------------------------------------------------------------
#ifdef _WIN32

using PathString = std::wstring;
using NameView = std::wstring_view;
constexpr wchar_t kSeparator = L'\\';

PathString fromArgument(const char* text)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], n);
    out.resize(out.size() - 1);
    return out;
}

unsigned long systemError()
{
    return GetLastError();
}

void report(const char* call, const PathString& what)
{
    std::fprintf(stderr, "readfloor: %s failed for %ls (system error %lu)\n", call, what.c_str(), systemError());
}

// Calls visit(name, isFolder, size) for every entry but "." and "..", links and, at the top, dot names;
// stops when visit returns false.
template <class Visit> bool forEachEntry(const PathString& folder, bool topLevel, Visit visit)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
    {
        report("FindFirstFile", folder);
        return false;
    }
    bool ok = true;
    do
    {
        const NameView name = fd.cFileName;
        if (name == L"." || name == L".." || (topLevel && name[0] == L'.'))
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue;
        ok = visit(name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                   (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow);
    } while (ok && FindNextFileW(find, &fd));
    FindClose(find);
    return ok;
}

// A folder whose files are about to be read; on Windows only its path.
class InputFolder
{
public:
    explicit InputFolder(PathString path) : path_(std::move(path)) {}
    bool ok() const { return true; }
    const PathString& path() const { return path_; }

private:
    PathString path_;
};

class InputFile
{
public:
    InputFile(const InputFolder& folder, NameView name)
        : handle_(CreateFileW((folder.path() + L'\\' + PathString(name)).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
    {}
    ~InputFile()
    {
        if (ok())
            CloseHandle(handle_);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    // All n bytes, or false.
    bool read(char* out, std::size_t n)
    {
        DWORD got = 0;
        return ReadFile(handle_, out, static_cast<DWORD>(n), &got, nullptr) && got == n;
    }

private:
    HANDLE handle_;
};

class OutputFile
{
public:
    explicit OutputFile(const char* path)
        : handle_(
              CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
    {}
    ~OutputFile()
    {
        if (ok())
            CloseHandle(handle_);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool write(const char* data, std::size_t n)
    {
        DWORD done = 0;
        return WriteFile(handle_, data, static_cast<DWORD>(n), &done, nullptr) && done == n;
    }

private:
    HANDLE handle_;
};

#else

using PathString = std::string;
using NameView = std::string_view;
constexpr char kSeparator = '/';

PathString fromArgument(const char* text)
{
    return text;
}

unsigned long systemError()
{
    return static_cast<unsigned long>(errno);
}

void report(const char* call, const PathString& what)
{
    std::fprintf(stderr, "readfloor: %s failed for %s (system error %lu)\n", call, what.c_str(), systemError());
}

template <class Visit> bool forEachEntry(const PathString& folder, bool topLevel, Visit visit)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
    {
        report("opendir", folder);
        return false;
    }
    bool ok = true;
    while (ok)
    {
        errno = 0;
        const dirent* d = readdir(dir);
        if (!d)
        {
            if (errno != 0)
                ok = false, report("readdir", folder);
            break;
        }
        const char* name = d->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0 || (topLevel && name[0] == '.'))
            continue;
        struct stat st;
        if (fstatat(dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        {
            ok = false;
            report("fstatat", folder + kSeparator + name);
            break;
        }
        if (S_ISDIR(st.st_mode) || S_ISREG(st.st_mode))
            ok = visit(NameView(name), S_ISDIR(st.st_mode), static_cast<unsigned long long>(st.st_size));
    }
    closedir(dir);
    return ok;
}

// A folder opened once for all its files, which are opened by name in it.
class InputFolder
{
public:
    explicit InputFolder(PathString path)
        : path_(std::move(path)), fd_(open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {}
    ~InputFolder()
    {
        if (ok())
            close(fd_);
    }
    InputFolder(const InputFolder&) = delete;
    InputFolder& operator=(const InputFolder&) = delete;
    bool ok() const { return fd_ >= 0; }
    const PathString& path() const { return path_; }
    int descriptor() const { return fd_; }

private:
    PathString path_;
    int fd_;
};

class InputFile
{
public:
    // name is followed by a zero.
    InputFile(const InputFolder& folder, NameView name)
        : fd_(openat(folder.descriptor(), name.data(), O_RDONLY | O_CLOEXEC))
    {}
    ~InputFile()
    {
        if (ok())
            close(fd_);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    bool ok() const { return fd_ >= 0; }
    bool read(char* out, std::size_t n)
    {
        while (n > 0)
        {
            const ssize_t got = ::read(fd_, out, n);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            out += got;
            n -= static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int fd_;
};

class OutputFile
{
public:
    explicit OutputFile(const char* path) : fd_(open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)) {}
    ~OutputFile()
    {
        if (ok())
            close(fd_);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    bool ok() const { return fd_ >= 0; }
    bool write(const char* data, std::size_t n)
    {
        while (n > 0)
        {
            const ssize_t done = ::write(fd_, data, n);
            if (done < 0 && errno == EINTR)
                continue;
            if (done <= 0)
                return false;
            data += done;
            n -= static_cast<std::size_t>(done);
        }
        return true;
    }

private:
    int fd_;
};

#endif

// --- the work, the same on every system -----------------------------------------------------------------

class Copier
{
public:
    Copier(OutputFile& output, PathString outputName)
        : output_(output), outputName_(std::move(outputName)), buffer_(new char[kChunk])
    {}

    bool walk(const PathString& folder, bool topLevel)
    {
        std::unique_ptr<InputFolder> open;  // opened at the folder's first file with data
        return forEachEntry(folder, topLevel, [&](NameView name, bool isFolder, unsigned long long size) {
            if (isFolder)
                return walk(folder + kSeparator + PathString(name), false);
            return copy(folder, open, name, size);
        });
    }

    // The whole tree's files and sizes first, then their data.
    bool walkSizesFirst(const PathString& root)
    {
        if (!list(root, true))
            return false;
        for (std::size_t f = 0; f < folders_.size(); ++f)
        {
            const std::size_t end = f + 1 < folders_.size() ? folders_[f + 1].firstFile : files_.size();
            std::unique_ptr<InputFolder> open;
            for (std::size_t i = folders_[f].firstFile; i < end; ++i)
                if (!copy(folders_[f].path, open, NameView(names_.data() + files_[i].name, files_[i].length),
                          files_[i].size))
                    return false;
        }
        return true;
    }

    bool finish() { return flush(); }
    unsigned long long files() const { return copied_; }
    unsigned long long written() const { return written_; }

private:
    struct ListedFolder
    {
        PathString path;
        std::size_t firstFile;  // its files are files_[firstFile] up to the next folder's first
    };
    struct ListedFile
    {
        std::size_t name;  // where its name starts in names_, followed by a zero
        std::size_t length;
        unsigned long long size;
    };

    // A folder's files are listed together, then its subfolders, so each folder is opened once for reading.
    bool list(const PathString& folder, bool topLevel)
    {
        folders_.push_back(ListedFolder{folder, files_.size()});
        std::vector<PathString> subfolders;
        const bool ok = forEachEntry(folder, topLevel, [&](NameView name, bool isFolder, unsigned long long size) {
            if (isFolder)
            {
                subfolders.emplace_back(name);
                return true;
            }
            files_.push_back(ListedFile{names_.size(), name.size(), size});
            names_.insert(names_.end(), name.begin(), name.end());
            names_.push_back(0);
            return true;
        });
        if (!ok)
            return false;
        for (const PathString& name : subfolders)
            if (!list(folder + kSeparator + name, false))
                return false;
        return true;
    }

    bool copy(const PathString& folder, std::unique_ptr<InputFolder>& open, NameView name, unsigned long long size)
    {
        ++copied_;
        if (size == 0)
            return true;  // an empty file has no data in an image either: isobuild does not open it
        if (!open)
        {
            open = std::make_unique<InputFolder>(folder);
            if (!open->ok())
            {
                report("open", folder);
                return false;
            }
        }
        InputFile file(*open, name);
        if (!file.ok())
        {
            report("open", folder + kSeparator + PathString(name));
            return false;
        }
        for (unsigned long long left = size; left > 0;)
        {
            if (used_ == kChunk && !flush())
                return false;
            const std::size_t ask = static_cast<std::size_t>(std::min<unsigned long long>(left, kChunk - used_));
            if (!file.read(buffer_.get() + used_, ask))
            {
                report("read", folder + kSeparator + PathString(name));
                return false;
            }
            used_ += ask;
            left -= ask;
        }
        // Zeros up to the sector's end, as the image has them.
        for (unsigned long long pad = (kSector - size % kSector) % kSector; pad > 0;)
        {
            if (used_ == kChunk && !flush())
                return false;
            const std::size_t n = static_cast<std::size_t>(std::min<unsigned long long>(pad, kChunk - used_));
            std::memset(buffer_.get() + used_, 0, n);
            used_ += n;
            pad -= n;
        }
        return true;
    }

    bool flush()
    {
        for (std::size_t at = 0; at < used_;)
        {
            const std::size_t n = std::min<std::size_t>(used_ - at, STARBURN_WRITE_SLICE_BYTES);
            if (!output_.write(buffer_.get() + at, n))
            {
                report("write", outputName_);
                return false;
            }
            at += n;
        }
        written_ += used_;
        used_ = 0;
        return true;
    }

    OutputFile& output_;
    const PathString outputName_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::vector<ListedFolder> folders_;
    std::vector<ListedFile> files_;
    std::vector<PathString::value_type> names_;
    unsigned long long copied_ = 0;
    unsigned long long written_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    const bool sizesFirst = argc > 1 && std::strcmp(argv[1], "--sizes-first") == 0;
    if (sizesFirst)
        --argc, ++argv;
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: readfloor [--sizes-first] SOURCE_DIR OUTPUT\n");
        return 2;
    }
    PathString source = fromArgument(argv[1]);
    // Keep a root ("C:\", "/") whole.
    const std::size_t rootLength = kSeparator == '/' ? 1 : 3;
    while (source.size() > rootLength && (source.back() == '\\' || source.back() == '/'))
        source.pop_back();
    const auto started = std::chrono::steady_clock::now();
    OutputFile output(argv[2]);
    if (!output.ok())
    {
        std::fprintf(stderr, "readfloor: cannot create %s (system error %lu)\n", argv[2], systemError());
        return 1;
    }
    Copier copier(output, fromArgument(argv[2]));
    if (!(sizesFirst ? copier.walkSizesFirst(source) : copier.walk(source, true)) || !copier.finish())
        return 1;
    std::printf("floor %s: %llu files, %llu bytes written; total %.3f s\n", argv[2], copier.files(), copier.written(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    return 0;
}
