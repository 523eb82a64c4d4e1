// Helpers of the image writer's tests: scratch folders with real files, a session over one tree handle
// that follows the wizard's order of calls, outside tools, and a boot image that reports over the serial port.
#pragma once

#include <atomic>

#include "SerialBootImage.h"
#include "isowriter/StarBurn.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace osm::iso::test {

namespace fs = std::filesystem;

constexpr std::uint32_t kChunk = 10u * 1024 * 1024;
// A fixed volume time keeps images of one test run comparable byte for byte.
constexpr std::uint32_t kVolumeTime = 1262304000;  // 2010-01-01 00:00:00 UTC

class ScratchDir
{
public:
    ScratchDir();
    // A scratch folder below base instead of the system's temporary folder.
    explicit ScratchDir(const fs::path& base);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path operator/(const fs::path& rest) const { return path_ / rest; }

private:
    fs::path path_;
};

// Writes bytes, creating the parent folders.
void writeFile(const fs::path& path, const std::string& bytes);
// A file of the given size whose every byte depends on its offset and the seed.
void writePattern(const fs::path& path, std::uint64_t size, std::uint32_t seed);
std::string readFile(const fs::path& path);
// The path as the library's callers pass it: UTF-8 on POSIX, the ANSI code page on Windows.
std::string apiPath(const fs::path& path);

// One tree handle, destroyed with the session. Each call keeps its exception text and system error.
class TreeSession
{
public:
    explicit TreeSession(bool collisionsDisabled = true, std::uint32_t joliet = 1, std::uint32_t fileDates = 1,
                         STARBURN_CALLBACK callback = nullptr, void* context = nullptr);
    ~TreeSession();
    TreeSession(const TreeSession&) = delete;
    TreeSession& operator=(const TreeSession&) = delete;

    STARBURN_TREE tree() const { return tree_; }
    STARBURN_NODE root() const { return root_; }

    std::uint32_t add(const fs::path& path, std::uint32_t flags = STARBURN_ADD_WITH_CONTENTS,
                      STARBURN_NODE parent = nullptr, STARBURN_NODE* added = nullptr, const char* imageName = nullptr);
    // The wizard's loop: every top-level entry of folder whose name does not begin with ".".
    std::uint32_t addTopLevel(const fs::path& folder);
    std::uint32_t exclude(const fs::path& path);
    std::uint32_t setCancelFlag(const std::atomic<long>* flag);
    std::uint32_t setBoot(const fs::path& image, std::uint32_t emulation = STARBURN_BOOT_EMULATION_NONE,
                          std::uint32_t platform = 0, std::uint32_t sectors = 4, std::uint32_t segment = 0);
    std::uint32_t build(const std::string& label = "XP", std::uint32_t padSectors = 0,
                        std::uint32_t volumeTime = kVolumeTime);
    std::uint64_t size() const;
    std::uint32_t seek();
    std::uint32_t read(void* buffer, std::uint32_t size);
    // SeekToBegin, then the wizard's chunk loop into a file; 0 or the first failing call's result.
    std::uint32_t writeImage(const fs::path& output, std::uint32_t chunk = kChunk);

    const std::string& text() const { return text_; }
    std::uint32_t systemError() const { return static_cast<std::uint32_t>(systemError_); }

private:
    std::uint32_t keep(std::uint32_t result);

    STARBURN_TREE tree_ = nullptr;
    STARBURN_NODE root_ = nullptr;
    char buffer_[1024] = {};
    STARBURN_ULONG systemError_ = 0;
    std::string text_;
};

// Runs a shell command, stdout and stderr together into output; returns its exit status (-1: not run).
int run(const std::string& command, std::string* output = nullptr);
#ifndef _WIN32
// Whether the host has an independent reader of images (or the emulator): `name` found on the PATH, or, when
// `probe` is given, that shell command succeeding; `package` is what to install. Without it a developer's run
// leaves the check out and says so, but a CI run (OSM_CI set and not 0, as .ci/run does) records a failure
// naming the reader: there a check that did not run must not pass. A Windows program cannot start the host's
// readers, so the checks that use them are built into the native tree only.
bool haveReader(const std::string& name, const std::string& package, const std::string& probe = std::string());
#endif
// Runs a program of this build tree (path relative to the test program's folder) with arguments, its output
// and errors together into output; returns its exit code (-1: it did not start).
int runBuiltProgram(const fs::path& relativePath, const std::vector<std::string>& args, std::string* output = nullptr);
std::string quote(const fs::path& path);

using osm::test::SerialBootImage;

}  // namespace osm::iso::test
