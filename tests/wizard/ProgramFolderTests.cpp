// GetProgramFolder through both roads: the system reports the 9x family or the NT family per program
// (Wine's per-program Windows version), and each road must find this build's folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "wizard/ProgramFolder.h"

namespace {

std::string OwnFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.rfind('\\'));
}

// Sets (or with an empty version removes) the reported Windows version for one program.
void SetProgramVersion(const char* exeName, const char* version)
{
    const std::string key = std::string("Software\\Wine\\AppDefaults\\") + exeName;
    if (!*version)
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        return;
    }
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(strlen(version) + 1));
    RegCloseKey(handle);
}

std::string RunAndCapture(const std::string& exe)
{
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return {};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::vector<char> commandLine(exe.begin(), exe.end());
    commandLine.push_back('\0');
    const BOOL started = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started)
    {
        char chunk[512];
        DWORD got = 0;
        while (ReadFile(readEnd, chunk, sizeof(chunk), &got, nullptr) && got > 0)
            output.append(chunk, got);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(readEnd);
    return output;
}

}  // namespace

TEST(ProgramFolder, FoundThroughBothRoads)
{
    const std::string probe = OwnFolder() + "\\program_folder_probe.exe";
    struct Case
    {
        const char* version;
        const char* road;
    } cases[] = {
        {"win98", "toolhelp"},
        {"win2k", "psapi"},
        {"winxp", "psapi"},
    };
    for (const Case& c : cases)
    {
        SetProgramVersion("program_folder_probe.exe", c.version);
        const std::string output = RunAndCapture(probe);
        EXPECT_NE(output.find(std::string("road=") + c.road + "\r\n"), std::string::npos)
            << c.version << ": " << output;
        EXPECT_NE(output.find("folder=" + OwnFolder() + "\r\n"), std::string::npos) << c.version << ": " << output;
    }
    SetProgramVersion("program_folder_probe.exe", "");
}

TEST(ProgramFolder, NeverOverrunsOrTruncates)
{
    const std::string expected = OwnFolder();
    char exact[MAX_PATH];
    ASSERT_NE(GetProgramFolder(exact, expected.size() + 1), nullptr);
    EXPECT_EQ(std::string(exact), expected);

    std::vector<char> tight(expected.size(), 'x');
    EXPECT_EQ(GetProgramFolder(tight.data(), tight.size()), nullptr);
    EXPECT_EQ(tight[0], '\0') << "a folder that does not fit leaves the buffer empty";
    EXPECT_EQ(GetProgramFolder(nullptr, 10), nullptr);
}
