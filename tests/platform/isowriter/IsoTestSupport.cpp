#include "IsoTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace osm::iso::test {

ScratchDir::ScratchDir() : ScratchDir(fs::temp_directory_path()) {}

ScratchDir::ScratchDir(const fs::path& base)
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
#ifdef _WIN32
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(getpid());
#endif
    path_ =
        base / ("isowriter-" + std::to_string(process) + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

namespace {

#ifdef _WIN32
// The library's own file functions do not take long paths here: delete with the long form by hand.
void removeTree(const std::wstring& longPath)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((longPath + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = longPath + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                removeTree(child);
            }
            else
            {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(longPath.c_str());
}
#endif

}  // namespace

ScratchDir::~ScratchDir()
{
#ifdef _WIN32
    removeTree(L"\\\\?\\" + fs::absolute(path_).wstring());
#else
    std::error_code ignored;
    fs::remove_all(path_, ignored);
#endif
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.u8string());
}

void writePattern(const fs::path& path, std::uint64_t size, std::uint32_t seed)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> block(1 << 16);
    std::uint64_t done = 0;
    while (done < size)
    {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - done));
        for (std::size_t i = 0; i < n; ++i)
        {
            const std::uint64_t at = done + i;
            block[i] = static_cast<char>((at * 2654435761u + seed * 40503u + (at >> 11)) >> 7);
        }
        out.write(block.data(), static_cast<std::streamsize>(n));
        done += n;
    }
    if (!out)
        throw std::runtime_error("cannot write " + path.u8string());
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return "<cannot open " + path.u8string() + ">";
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

std::string apiPath(const fs::path& path)
{
#ifdef _WIN32
    return path.string();
#else
    return path.u8string();
#endif
}

TreeSession::TreeSession(bool collisionsDisabled, std::uint32_t joliet, std::uint32_t fileDates,
                         STARBURN_CALLBACK callback, void* context)
{
    StarBurn_UpStartEx(buffer_, sizeof buffer_, &systemError_);
    StarBurn_SetIsCollisionDetectionDisabled(collisionsDisabled ? 1 : 0);
    const std::uint32_t r = keep(StarBurn_ISO9660JolietFileTree_Create(&tree_, buffer_, sizeof buffer_, &systemError_,
                                                                       callback, context, 0, 0, joliet, fileDates));
    if (r != 0)
        throw std::runtime_error("tree not created: " + text_);
    root_ = StarBurn_ISO9660JolietFileTree_GetRoot(tree_);
}

TreeSession::~TreeSession()
{
    StarBurn_Destroy(&tree_);
}

std::uint32_t TreeSession::keep(std::uint32_t result)
{
    text_ = buffer_;
    return result;
}

std::uint32_t TreeSession::add(const fs::path& path, std::uint32_t flags, STARBURN_NODE parent, STARBURN_NODE* added,
                               const char* imageName)
{
    STARBURN_NODE into = parent ? parent : root_;
    STARBURN_NODE node = nullptr;
    const std::string p = apiPath(path);
    const std::uint32_t r = keep(StarBurn_ISO9660JolietFileTree_Add(tree_, buffer_, sizeof buffer_, &systemError_,
                                                                    p.c_str(), imageName, flags, &into, &node));
    if (added)
        *added = node;
    return r;
}

std::uint32_t TreeSession::addTopLevel(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder))
    {
        if (entry.path().filename().u8string()[0] == '.')
            continue;
        if (const std::uint32_t r = add(entry.path()))
            return r;
    }
    return 0;
}

std::uint32_t TreeSession::exclude(const fs::path& path)
{
    return StarBurn_ISO9660JolietFileTree_ExcludePath(tree_, apiPath(path).c_str());
}

std::uint32_t TreeSession::setCancelFlag(const std::atomic<long>* flag)
{
    return StarBurn_ISO9660JolietFileTree_SetCancelFlag(tree_, flag);
}

std::uint32_t TreeSession::setBoot(const fs::path& image, std::uint32_t emulation, std::uint32_t platform,
                                   std::uint32_t sectors, std::uint32_t segment)
{
    const std::string p = apiPath(image);
    return keep(StarBurn_ISO9660JolietFileTree_SetBootImage(tree_, p.c_str(), emulation, platform, sectors, segment,
                                                            buffer_, sizeof buffer_, &systemError_));
}

std::uint32_t TreeSession::build(const std::string& label, std::uint32_t padSectors, std::uint32_t volumeTime)
{
    return keep(StarBurn_ISO9660JolietFileTree_BuildImage(tree_, buffer_, sizeof buffer_, &systemError_, padSectors,
                                                          volumeTime, 1, label.c_str(), "Taleno Company",
                                                          "Taleno Corvane"));
}

std::uint64_t TreeSession::size() const
{
    STARBURN_ULONG high = 0;
    const std::uint32_t low = StarBurn_ISO9660JolietFileTree_GetSizeInUCHARs(tree_, &high);
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

std::uint32_t TreeSession::seek()
{
    return keep(StarBurn_ISO9660JolietFileTree_SeekToBegin(tree_, buffer_, sizeof buffer_, &systemError_));
}

std::uint32_t TreeSession::read(void* buffer, std::uint32_t size)
{
    return keep(StarBurn_ISO9660JolietFileTree_Read(tree_, buffer_, sizeof buffer_, &systemError_, size, buffer));
}

std::uint32_t TreeSession::writeImage(const fs::path& output, std::uint32_t chunk)
{
    if (const std::uint32_t r = seek())
        return r;
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(chunk);
    const std::uint64_t total = size();
    std::uint64_t position = 0;
    while (position < total)
    {
        const std::uint32_t n = static_cast<std::uint32_t>(std::min<std::uint64_t>(chunk, total - position));
        if (const std::uint32_t r = read(buffer.data(), n))
            return r;
        out.write(buffer.data(), n);
        position += n;
    }
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + output.u8string());
    return 0;
}

int run(const std::string& command, std::string* output)
{
#ifdef _WIN32
    (void)command;
    (void)output;
    return -1;
#else
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    if (!pipe)
        return -1;
    std::string text;
    char block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, pipe.get())) > 0)
        text.append(block, n);
    const int status = pclose(pipe.release());
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

namespace {

fs::path testProgramFolder()
{
#ifdef _WIN32
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n < path.size())
        {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return fs::path(path).parent_path();
#else
    return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

}  // namespace

int runBuiltProgram(const fs::path& relativePath, const std::vector<std::string>& args, std::string* output)
{
    const fs::path program = (testProgramFolder() / relativePath).lexically_normal();
    ScratchDir logFolder;
    const fs::path log = logFolder / "output.txt";
    int code = -1;
#ifdef _WIN32
    std::string commandLine = "\"" + apiPath(program) + "\"";
    for (const std::string& arg : args)
        commandLine += " \"" + arg + "\"";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const HANDLE logHandle = CreateFileW(log.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (logHandle == INVALID_HANDLE_VALUE)
        return -1;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = logHandle;
    startup.hStdError = logHandle;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exitCode = 0;
        if (GetExitCodeProcess(process.hProcess, &exitCode))
            code = static_cast<int>(exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(logHandle);
#else
    std::string command = quote(program);
    for (const std::string& arg : args)
        command += " " + quote(arg);
    code = run(command + " >" + quote(log), nullptr);
#endif
    if (output)
        *output = fs::exists(log) ? readFile(log) : std::string();
    return code;
}

#ifndef _WIN32
bool haveReader(const std::string& name, const std::string& package, const std::string& probe)
{
    if (run(probe.empty() ? "command -v " + name + " >/dev/null" : probe) == 0)
        return true;
    const char* ci = std::getenv("OSM_CI");
    const std::string missing = name + " is not installed (package " + package + ")";
    if (ci && *ci && std::string(ci) != "0")
        ADD_FAILURE() << missing << ": CI runs every independent reader, so the check that needs it fails here";
    else
        std::printf("%s: its check did not run\n", missing.c_str());
    return false;
}
#endif

std::string quote(const fs::path& path)
{
    std::string out = "'";
    for (char c : path.u8string())
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace osm::iso::test
