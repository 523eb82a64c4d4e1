#include "classlib/ModelessWindows.h"

#include "classlib/GuardedCallbacks.h"

#include <vector>

namespace {

struct ModelessState
{
    int disableCount = 0;
    std::vector<HWND> disabled;
};

ModelessState& ThreadModelessState()
{
    thread_local ModelessState state;
    return state;
}

BOOL DisableOwnedWindow(HWND window, LPARAM context)
{
    // Modeless windows are the owned top-level ones (tool sheets, floating bars, find boxes); the main window and
    // unowned windows are left to whoever runs the modal part.
    if (::GetWindow(window, GW_OWNER) && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
    {
        // Listed before it is disabled: a window is never left disabled without the record that enables it again.
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
        ::EnableWindow(window, FALSE);
    }
    return TRUE;
}
constexpr char kDisableOwnedWindows[] = "AfxEnableModeless";

}  // namespace

void AfxEnableModeless(BOOL bEnable)
{
    ModelessState& state = ThreadModelessState();
    if (!bEnable)
    {
        if (state.disableCount++ == 0)
            ::EnumThreadWindows(::GetCurrentThreadId(),
                                osm::GuardedEnumWindowsProc<kDisableOwnedWindows, &DisableOwnedWindow>,
                                reinterpret_cast<LPARAM>(&state.disabled));
        return;
    }
    if (state.disableCount == 0 || --state.disableCount > 0)
        return;
    std::vector<HWND> windows;
    windows.swap(state.disabled);
    for (HWND window : windows)
        if (::IsWindow(window))
            ::EnableWindow(window, TRUE);
}

BOOL AfxIsModelessEnabled()
{
    return ThreadModelessState().disableCount == 0;
}
