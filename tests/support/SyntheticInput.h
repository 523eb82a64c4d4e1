// Synthesized mouse input for tests that drive windows as a user would (SendInput, as Xvfb and Wine deliver it).
// Both only queue the input: the caller's message loop, or a loop the code under test runs, takes it.
#pragma once

#include <windows.h>

namespace osm::test {

// A mouse event: MOUSEEVENTF_* flags, with a relative move or absolute coordinates.
inline void SendMouseInput(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(INPUT));
}

// A move of the cursor to the screen point.
inline void SendMouseMoveTo(POINT screenPoint)
{
    // Absolute coordinates run from 0 to 65535 over the primary screen, and the system truncates when it maps them
    // back to pixels: rounding up lands on the pixel itself, rounding to nearest one short of it half the time.
    const long long width = ::GetSystemMetrics(SM_CXSCREEN);
    const long long height = ::GetSystemMetrics(SM_CYSCREEN);
    SendMouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                   static_cast<LONG>((screenPoint.x * 65536LL + width - 1) / width),
                   static_cast<LONG>((screenPoint.y * 65536LL + height - 1) / height));
}

}  // namespace osm::test
