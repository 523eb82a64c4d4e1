// Drives a real program of this build from a test: starts it, finds its windows, reads and clicks their
// controls, and waits for it to end. Windows of another process are reached by their handles, as a user's
// tools would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace osm::test {

// "/unix/path" (the build tree) to the drive Wine maps the root to; Windows paths pass unchanged.
std::string HostPath(const std::string& path);

class ProgramDriver
{
public:
    ProgramDriver() = default;
    ~ProgramDriver();  // a program still running at the end of a test is ended
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    bool Start(const std::string& exePath, const std::string& arguments = {});
    DWORD ProcessId() const { return m_process.dwProcessId; }

    // A visible top-level window of the program with this caption, waited for up to timeoutMs.
    HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = 10000) const;
    // Waits until the window is gone (destroyed or hidden).
    bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000) const;
    // Waits for the program to end; false when it still runs after timeoutMs.
    bool WaitForExit(DWORD timeoutMs = 10000, DWORD* exitCode = nullptr) const;
    // Every top-level window the program still owns, visible or not.
    std::vector<HWND> TopLevelWindows() const;

    void Terminate();

private:
    PROCESS_INFORMATION m_process{};
};

// Runs the program called name that sits beside this test program and waits for it (10 s at most): what it wrote
// to stdout and stderr, and its exit code. The output says "(missing: path)", "(did not start)" or ends in
// "(still running)" when the run went wrong.
std::string RunProgramBeside(const std::string& name, DWORD* exitCode);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Clicks a button as the user would (BM_CLICK is sent, so the click is handled before this returns).
void Click(HWND dialog, int controlId);
// Posts the click instead: for buttons whose handler runs a modal loop of its own and would not return.
void PostClick(HWND dialog, int controlId);
// The message of a message box: the texts of its static controls, joined by newlines.
std::string MessageBoxText(HWND box);
// Sets an edit's text as typing would end up (WM_SETTEXT; the control notifies its parent).
void SetControlText(HWND dialog, int controlId, const std::string& text);
std::string ControlText(HWND dialog, int controlId);
bool IsControlEnabled(HWND dialog, int controlId);
// The window that has the keyboard focus in the program's thread that owns window.
HWND FocusOf(HWND window);
// Waits (pumping) until condition holds: another process's windows change in their own time.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
// Keeps this thread's own message queue moving while waiting.
void PumpFor(DWORD milliseconds);

}  // namespace osm::test
