// isobuild SOURCE_DIR OUTPUT.iso BOOT_IMAGE LABEL [VOLUME_TIME]
// Builds the image exactly as the wizard's worker does: the same library calls in the same order, every
// top-level entry of SOURCE_DIR except names beginning with ".", and the image read in 10 MiB chunks, each
// stored in order with writes of at most STARBURN_WRITE_SLICE_BYTES. VOLUME_TIME (seconds since 1970)
// fixes the volume dates, for images that compare byte for byte; by default they are the time of the build.
#include "isowriter/StarBurn.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
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

constexpr uint32_t kChunk = 10u * 1024 * 1024;

void STARBURN_CALL ignoreEvents(uint32_t, uint32_t, uint32_t, void*) {}

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Call
{
    char text[1024] = {};
    STARBURN_ULONG systemError = 0;
};

int fail(const char* what, uint32_t result, const Call& call)
{
    std::fprintf(stderr, "\nisobuild: %s failed with error %u: %s (system error %lu)\n", what, result, call.text,
                 static_cast<unsigned long>(call.systemError));
    return 1;
}

class TreeGuard
{
public:
    STARBURN_TREE tree = nullptr;
    ~TreeGuard() { StarBurn_Destroy(&tree); }
};

#ifdef _WIN32
std::vector<std::string> topLevelEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        if (fd.cFileName[0] != '.')
            names.push_back(fd.cFileName);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return names;
}

bool fileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class Output
{
public:
    explicit Output(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {}
    ~Output()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Each write continues where the last ended. Wine answers a WriteFile that names a position with one
    // more round trip to its server, which slices would multiply.
    bool write(const void* data, uint32_t size)
    {
        DWORD written = 0;
        return WriteFile(handle_, data, size, &written, nullptr) && written == size;
    }
    static unsigned long lastError() { return GetLastError(); }

private:
    HANDLE handle_;
};
const char kSeparator = '\\';
#else
std::vector<std::string> topLevelEntries(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* d = readdir(dir))
        if (d->d_name[0] != '.')
            names.push_back(d->d_name);
    closedir(dir);
    return names;
}

bool fileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

class Output
{
public:
    explicit Output(const std::string& path) : fd_(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644))
    {}
    ~Output()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    bool write(const void* data, uint32_t size)
    {
        const char* p = static_cast<const char*>(data);
        while (size > 0)
        {
            const ssize_t n = ::write(fd_, p, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            p += n;
            size -= static_cast<uint32_t>(n);
        }
        return true;
    }
    static unsigned long lastError() { return static_cast<unsigned long>(errno); }

private:
    int fd_;
};
const char kSeparator = '/';
#endif

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5 && argc != 6)
    {
        std::fprintf(stderr, "usage: isobuild SOURCE_DIR OUTPUT.iso BOOT_IMAGE LABEL [VOLUME_TIME]\n");
        return 2;
    }
    const uint32_t volumeTime = argc == 6 ? static_cast<uint32_t>(std::strtoul(argv[5], nullptr, 10)) : 0;
    std::string source = argv[1];
    while (source.size() > 1 && (source.back() == '/' || source.back() == '\\'))
        source.pop_back();
    const std::string output = argv[2], boot = argv[3], label = argv[4];
    const auto started = std::chrono::steady_clock::now();

    if (!fileExists(boot))
    {
        std::fprintf(stderr, "isobuild: File %s is not found.\n", boot.c_str());
        return 1;
    }

    Call call;
    uint32_t r = StarBurn_UpStartEx(call.text, sizeof call.text, &call.systemError);
    if (r)
        return fail("StarBurn_UpStartEx", r, call);
    StarBurn_SetIsCollisionDetectionDisabled(1);
    TreeGuard guard;
    r = StarBurn_ISO9660JolietFileTree_Create(&guard.tree, call.text, sizeof call.text, &call.systemError, ignoreEvents,
                                              nullptr, 0, 0, 1, 1);
    if (r)
        return fail("StarBurn_ISO9660JolietFileTree_Create", r, call);
    // The image may be written inside the folder it is built from.
    StarBurn_ISO9660JolietFileTree_ExcludePath(guard.tree, output.c_str());

    std::fprintf(stderr, "Creating tree...\n");
    STARBURN_NODE root = StarBurn_ISO9660JolietFileTree_GetRoot(guard.tree);
    for (const std::string& name : topLevelEntries(source))
    {
        const std::string path = source + kSeparator + name;
        STARBURN_NODE node = nullptr;
        r = StarBurn_ISO9660JolietFileTree_Add(guard.tree, call.text, sizeof call.text, &call.systemError, path.c_str(),
                                               nullptr, STARBURN_ADD_WITH_CONTENTS, &root, &node);
        if (r)
            return fail("StarBurn_ISO9660JolietFileTree_Add", r, call);
    }
    const double treeTime = seconds(started);

    r = StarBurn_ISO9660JolietFileTree_SetBootImage(guard.tree, boot.c_str(), STARBURN_BOOT_EMULATION_NONE,
                                                    STARBURN_BOOT_PLATFORM_X86, 4, 0, call.text, sizeof call.text,
                                                    &call.systemError);
    if (r)
        return fail("StarBurn_ISO9660JolietFileTree_SetBootImage", r, call);
    const auto layoutStart = std::chrono::steady_clock::now();
    r = StarBurn_ISO9660JolietFileTree_BuildImage(guard.tree, call.text, sizeof call.text, &call.systemError, 0,
                                                  volumeTime, 1, label.c_str(), "Taleno Company", "Taleno Corvane");
    if (r)
        return fail("StarBurn_ISO9660JolietFileTree_BuildImage", r, call);
    const double layoutTime = seconds(layoutStart);

    STARBURN_ULONG high = 0;
    const uint32_t low = StarBurn_ISO9660JolietFileTree_GetSizeInUCHARs(guard.tree, &high);
    const uint64_t size = (static_cast<uint64_t>(high) << 32) | low;

    Output out(output);
    if (!out.ok())
    {
        std::fprintf(stderr, "isobuild: Error with file %s. (system error %lu)\n", output.c_str(), Output::lastError());
        return 1;
    }
    // Not zeroed: every byte is read into before it is written out.
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    r = StarBurn_ISO9660JolietFileTree_SeekToBegin(guard.tree, call.text, sizeof call.text, &call.systemError);
    if (r)
        return fail("StarBurn_ISO9660JolietFileTree_SeekToBegin", r, call);

    const auto writeStart = std::chrono::steady_clock::now();
    std::fprintf(stderr, "0%%");
    uint64_t position = 0;
    uint32_t chunk = kChunk;
    while (position < size)
    {
        if (size - position < chunk)
            chunk = static_cast<uint32_t>(size - position);
        r = StarBurn_ISO9660JolietFileTree_Read(guard.tree, call.text, sizeof call.text, &call.systemError, chunk,
                                                buffer.get());
        if (r)
            return fail("StarBurn_ISO9660JolietFileTree_Read", r, call);
        for (uint32_t at = 0; at < chunk; at += STARBURN_WRITE_SLICE_BYTES)
        {
            const uint32_t slice = std::min<uint32_t>(chunk - at, STARBURN_WRITE_SLICE_BYTES);
            if (!out.write(buffer.get() + at, slice))
            {
                std::fprintf(stderr, "\nisobuild: Error with file %s. (system error %lu)\n", output.c_str(),
                             Output::lastError());
                return 1;
            }
        }
        position += chunk;
        std::fprintf(stderr, "\r%d%%", static_cast<int>(position * 100 / size));
    }
    std::fprintf(stderr, "\n");
    std::printf("image %s: %llu bytes; tree %.3f s, layout %.3f s, copy %.3f s, total %.3f s\n", output.c_str(),
                static_cast<unsigned long long>(size), treeTime, layoutTime, seconds(writeStart), seconds(started));
    return 0;
}
