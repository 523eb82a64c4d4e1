// Making a test's top-level window the active one: the mouse capture works only for an active window's thread, and
// another program's window on the same display may take the activation back, so the request is repeated until it
// sticks.
#pragma once

#include <windows.h>

namespace osm::test {

// Dispatches every message waiting for this thread.
inline void PumpPendingMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Asks for hwnd to be the foreground and active window until it is, or timeoutMs passes; true when it is.
inline bool ActivateWindow(HWND hwnd, DWORD timeoutMs = 5000)
{
    const DWORD start = ::GetTickCount();
    while (::GetActiveWindow() != hwnd && ::GetTickCount() - start < timeoutMs)
    {
        ::SetForegroundWindow(hwnd);
        ::SetActiveWindow(hwnd);
        PumpPendingMessages();
        ::Sleep(10);
    }
    PumpPendingMessages();
    return ::GetActiveWindow() == hwnd;
}

}  // namespace osm::test
