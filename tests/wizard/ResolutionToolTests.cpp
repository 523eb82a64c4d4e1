// The display-mode utility res.exe run as the set-up scripts run it: its answers to wrong arguments, a mode the
// display accepts (its current one) and one it refuses.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct RunResult
{
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

class Handle
{
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE* Address() { return &m_handle; }
    HANDLE Get() const { return m_handle; }
    void Reset()
    {
        if (m_handle)
            CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};

std::string ReadAll(HANDLE pipe)
{
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

std::string ToolPath()
{
    std::string path = OSM_RES_EXE;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Runs res.exe with these arguments and collects its exit code, standard output and standard error.
RunResult RunTool(const std::vector<std::string>& arguments)
{
    RunResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    Handle outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(outRead.Address(), outWrite.Address(), &inherit, 0) ||
        !CreatePipe(errRead.Address(), errWrite.Address(), &inherit, 0))
    {
        ADD_FAILURE() << "no pipes";
        return result;
    }
    SetHandleInformation(outRead.Get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead.Get(), HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = "\"" + ToolPath() + "\"";
    for (const std::string& argument : arguments)
        commandLine += " " + argument;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = outWrite.Get();
    startup.hStdError = errWrite.Get();
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
    {
        ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
        return result;
    }
    Handle thread(process.hThread);
    Handle child(process.hProcess);
    // Only the child may hold the writing ends now, so the reads end when it does.
    outWrite.Reset();
    errWrite.Reset();
    result.out = ReadAll(outRead.Get());
    result.err = ReadAll(errRead.Get());
    if (WaitForSingleObject(child.Get(), 30000) != WAIT_OBJECT_0)
    {
        TerminateProcess(child.Get(), 99);
        ADD_FAILURE() << commandLine << " did not end";
    }
    GetExitCodeProcess(child.Get(), &result.exitCode);
    return result;
}

const char kUsage[] = "Usage: res.exe /<width> /<height> /<bits per pixel> [/<frequency>]\r\n";

struct BadArguments
{
    const char* label;
    std::vector<std::string> arguments;
    std::string complaint;  // the first line of standard error, before the usage
};

class ResolutionToolArgumentsTest : public testing::TestWithParam<BadArguments>
{};

TEST_P(ResolutionToolArgumentsTest, WrongArgumentsAreRefusedWithTheUsage)
{
    const RunResult run = RunTool(GetParam().arguments);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, GetParam().complaint + "\r\n" + kUsage);
}

INSTANTIATE_TEST_SUITE_P(
    Tool, ResolutionToolArgumentsTest,
    testing::Values(
        BadArguments{"none", {}, "res: expected 3 or 4 values, got 0."},
        BadArguments{"two", {"/1024", "/768"}, "res: expected 3 or 4 values, got 2."},
        BadArguments{"five", {"/1024", "/768", "/32", "/60", "/1"}, "res: expected 3 or 4 values, got 5."},
        BadArguments{"noSlash", {"1024", "/768", "/32"}, "res: \"1024\" is not a slash followed by a positive number."},
        BadArguments{
            "letters", {"/1024", "/768", "/x32"}, "res: \"/x32\" is not a slash followed by a positive number."},
        BadArguments{"zero", {"/0", "/768", "/32"}, "res: \"/0\" is not a slash followed by a positive number."},
        BadArguments{"slashOnly", {"/1024", "/", "/32"}, "res: \"/\" is not a slash followed by a positive number."},
        BadArguments{
            "negative", {"/1024", "/-768", "/32"}, "res: \"/-768\" is not a slash followed by a positive number."},
        BadArguments{"huge",
                     {"/99999999999", "/768", "/32"},
                     "res: \"/99999999999\" is not a slash followed by a positive number."},
        BadArguments{"badFrequency",
                     {"/1024", "/768", "/32", "/6O"},
                     "res: \"/6O\" is not a slash followed by a positive number."},
        BadArguments{"dash", {"-1024", "/768", "/32"}, "res: \"-1024\" is not a slash followed by a positive number."}),
    [](const testing::TestParamInfo<BadArguments>& info) { return std::string(info.param.label); });

TEST(ResolutionTool, QuestionMarkShowsTheUsage)
{
    const RunResult run = RunTool({"/?"});
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.out, kUsage);
    EXPECT_EQ(run.err, "");
}

DEVMODEA CurrentMode()
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    return mode;
}

std::string ModeArgument(DWORD value)
{
    return "/" + std::to_string(value);
}

TEST(ResolutionTool, CurrentModeIsAcceptedAndSet)
{
    const DEVMODEA before = CurrentMode();
    const RunResult run = RunTool(
        {ModeArgument(before.dmPelsWidth), ModeArgument(before.dmPelsHeight), ModeArgument(before.dmBitsPerPel)});
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, "Display mode set to " + std::to_string(before.dmPelsWidth) + "x" +
                           std::to_string(before.dmPelsHeight) + ", " + std::to_string(before.dmBitsPerPel) +
                           " bits per pixel.\r\n");
    EXPECT_EQ(run.err, "");

    const DEVMODEA after = CurrentMode();
    EXPECT_EQ(after.dmPelsWidth, before.dmPelsWidth);
    EXPECT_EQ(after.dmPelsHeight, before.dmPelsHeight);
    EXPECT_EQ(after.dmBitsPerPel, before.dmBitsPerPel);
}

struct RefusedMode
{
    const char* label;
    std::vector<std::string> arguments;
    std::string complaint;
};

class ResolutionToolRefusalTest : public testing::TestWithParam<RefusedMode>
{};

TEST_P(ResolutionToolRefusalTest, ModeTheDisplayCannotShowIsRefusedAndChangesNothing)
{
    const DEVMODEA before = CurrentMode();
    const RunResult run = RunTool(GetParam().arguments);
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, GetParam().complaint);

    const DEVMODEA after = CurrentMode();
    EXPECT_EQ(after.dmPelsWidth, before.dmPelsWidth);
    EXPECT_EQ(after.dmPelsHeight, before.dmPelsHeight);
    EXPECT_EQ(after.dmBitsPerPel, before.dmBitsPerPel);
}

INSTANTIATE_TEST_SUITE_P(
    Tool, ResolutionToolRefusalTest,
    testing::Values(
        RefusedMode{"size",
                    {"/12345", "/678", "/32"},
                    "res: cannot set 12345x678, 32 bits per pixel: the display does not support this mode (-2).\r\n"},
        RefusedMode{"sizeAndFrequency",
                    {"/12345", "/678", "/32", "/75"},
                    "res: cannot set 12345x678, 32 bits per pixel, 75 Hz: the display does not support this mode "
                    "(-2).\r\n"}),
    [](const testing::TestParamInfo<RefusedMode>& info) { return std::string(info.param.label); });

// The names of the DLLs an image imports, read from its import directory.
std::vector<std::string> ImportedLibraries(const std::string& image)
{
    std::vector<std::string> names;
    if (image.size() < sizeof(IMAGE_DOS_HEADER))
        return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
        {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    };
    size_t at = offsetOf(imports.VirtualAddress);
    for (; at && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size(); at += sizeof(IMAGE_IMPORT_DESCRIPTOR))
    {
        const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
        if (descriptor->Name == 0)
            break;
        names.push_back(image.c_str() + offsetOf(descriptor->Name));
    }
    return names;
}

TEST(ResolutionTool, ImportsOnlyWhatWindowsBrings)
{
    HANDLE file = CreateFileA(ToolPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string image(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &read, nullptr);
    CloseHandle(file);
    ASSERT_EQ(read, image.size());

    const std::vector<std::string> libraries = ImportedLibraries(image);
    EXPECT_FALSE(libraries.empty());
    for (const std::string& library : libraries)
    {
        const bool system = _stricmp(library.c_str(), "kernel32.dll") == 0 ||
                            _stricmp(library.c_str(), "user32.dll") == 0 ||
                            _stricmp(library.c_str(), "msvcrt.dll") == 0;
        EXPECT_TRUE(system) << library;
    }
}

}  // namespace
