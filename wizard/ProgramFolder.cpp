#include "wizard/ProgramFolder.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>
#include <string>

#include "framework/foundation/ModuleHandle.h"

#include "classlib/ScopedHandle.h"

namespace {

std::string ExePathFromToolhelp()
{
    const ScopedKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0));
    if (!snapshot)
        return {};
    const DWORD self = GetCurrentProcessId();
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
    {
        if (entry.th32ProcessID == self)
            return std::string(entry.szExeFile, strnlen(entry.szExeFile, sizeof(entry.szExeFile)));
    }
    return {};
}

std::string ExePathFromPsapi()
{
    COSMModuleHandle psapi;
    if (!psapi.LoadLibrary("psapi.dll"))
        return {};
    decltype(&GetModuleFileNameExA) moduleFileName = nullptr;
    decltype(&EnumProcessModules) enumModules = nullptr;
    if (!psapi.GetProcAddress(&moduleFileName, "GetModuleFileNameExA") ||
        !psapi.GetProcAddress(&enumModules, "EnumProcessModules"))
        return {};
    const ScopedKernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId()));
    if (!process)
        return {};
    HMODULE modules[1024];
    DWORD needed = 0;
    if (!enumModules(process.Get(), modules, sizeof(modules), &needed) || needed == 0)
        return {};
    char path[MAX_PATH + 1] = {};
    const DWORD length = moduleFileName(process.Get(), modules[0], path, MAX_PATH);
    return std::string(path, length);
}

}  // namespace

ProgramPathRoad ChooseProgramPathRoad()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version))
        return ProgramPathRoad::None;
    switch (version.dwPlatformId)
    {
    case VER_PLATFORM_WIN32_WINDOWS:
        return ProgramPathRoad::Toolhelp;
    case VER_PLATFORM_WIN32_NT:
        return ProgramPathRoad::Psapi;
    default:
        return ProgramPathRoad::None;
    }
}

char* GetProgramFolder(char* buffer, std::size_t size)
{
    if (!buffer || size == 0)
        return nullptr;
    std::memset(buffer, 0, size);

    std::string path;
    switch (ChooseProgramPathRoad())
    {
    case ProgramPathRoad::Toolhelp:
        path = ExePathFromToolhelp();
        break;
    case ProgramPathRoad::Psapi:
        path = ExePathFromPsapi();
        break;
    case ProgramPathRoad::None:
        break;
    }
    // Some systems list only the bare name in the process walk; the loader still knows the full path.
    if (!path.empty() && path.find('\\') == std::string::npos)
    {
        char own[MAX_PATH + 1] = {};
        const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
        path = length > 0 && length < MAX_PATH ? std::string(own, length) : std::string();
    }

    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos || slash >= size)
        return nullptr;  // no folder, or a folder that would not fit whole
    std::memcpy(buffer, path.data(), slash);
    return buffer;
}
