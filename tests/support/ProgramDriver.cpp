#include "ProgramDriver.h"

#include <algorithm>

namespace osm::test {

std::string HostPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string result = "Z:" + path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

ProgramDriver::~ProgramDriver()
{
    if (m_process.hProcess)
    {
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            Terminate();
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
    }
}

bool ProgramDriver::Start(const std::string& exePath, const std::string& arguments)
{
    const std::string exe = HostPath(exePath);
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    return CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &m_process) != FALSE;
}

namespace {

struct WindowSearch
{
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> ProgramDriver::TopLevelWindows() const
{
    WindowSearch search{m_process.dwProcessId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramDriver::WaitForWindow(const std::string& caption, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    do
    {
        for (HWND window : TopLevelWindows())
        {
            if (IsWindowVisible(window) && WindowText(window) == caption)
                return window;
        }
        PumpFor(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool ProgramDriver::WaitForWindowGone(HWND window, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    do
    {
        if (!IsWindow(window) || !IsWindowVisible(window))
            return true;
        PumpFor(50);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

bool ProgramDriver::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const
{
    if (!m_process.hProcess || WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(m_process.hProcess, exitCode);
    return true;
}

void ProgramDriver::Terminate()
{
    if (m_process.hProcess)
    {
        TerminateProcess(m_process.hProcess, 99);
        WaitForSingleObject(m_process.hProcess, 5000);
    }
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    // WM_GETTEXT, not GetWindowText: the latter does not ask another process's controls.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

std::string ClassName(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

void Click(HWND dialog, int controlId)
{
    SendMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

void PostClick(HWND dialog, int controlId)
{
    PostMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

std::string MessageBoxText(HWND box)
{
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (ClassName(child) != "Static")
            continue;
        const std::string part = WindowText(child);
        if (part.empty())
            continue;
        if (!text.empty())
            text += "\n";
        text += part;
    }
    return text;
}

void SetControlText(HWND dialog, int controlId, const std::string& text)
{
    SendMessageA(GetDlgItem(dialog, controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string ControlText(HWND dialog, int controlId)
{
    return WindowText(GetDlgItem(dialog, controlId));
}

bool IsControlEnabled(HWND dialog, int controlId)
{
    return IsWindowEnabled(GetDlgItem(dialog, controlId)) != FALSE;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition())
    {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        PumpFor(10);
    }
    return true;
}

void PumpFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

std::string RunProgramBeside(const std::string& name, DWORD* exitCode)
{
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string program(self);
    program = program.substr(0, program.find_last_of('\\') + 1) + name;
    if (::GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        return "(missing: " + program + ")";

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return "(no pipe)";
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\"";
    const BOOL started = ::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                          &startup, &process);
    // Only the child holds the write end now: reading ends when it exits.
    ::CloseHandle(writeEnd);
    std::string output;
    if (started)
    {
        char buffer[256];
        DWORD got = 0;
        while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
            output.append(buffer, got);
        if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
            output += "(still running)";
        ::GetExitCodeProcess(process.hProcess, exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(readEnd);
    return started ? output : "(did not start)";
}

}  // namespace osm::test
