#include "classlib/ThreadState.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/GuardedCallbacks.h"
#include "classlib/Menu.h"
#include "classlib/ThreadLocal.h"
#include "classlib/Wnd.h"

namespace osm_classlib_detail {

ThreadState::ThreadState() = default;

ThreadState::~ThreadState()
{
    if (hHookMsgFilter)
        ::UnhookWindowsHookEx(hHookMsgFilter);
    if (hHookCbt)
        ::UnhookWindowsHookEx(hHookCbt);
}

void ThreadState::DeleteTemporaries(int aboveDepth)
{
    windows.DeleteTemporaries(aboveDepth);
    deviceContexts.DeleteTemporaries(aboveDepth);
    gdiObjects.DeleteTemporaries(aboveDepth);
    menus.DeleteTemporaries(aboveDepth);
}

namespace {

// The library's own per-thread storage rather than thread_local: on threads the threading runtime did not start, it
// runs a thread_local's destructor after freeing the variable's storage, and the maps and hooks here must be torn
// down intact.
CThreadLocal<ThreadState> g_threadState;

}  // namespace

ThreadState& GetThreadState()
{
    return *g_threadState;
}

namespace {

// The message filter's body; the system calls its guarded form.
constexpr char kMessageFilter[] = "message filter";
LRESULT MessageFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = GetThreadState().hHookMsgFilter;
    // Dialog boxes and message boxes call the hook before IsDialogMessage; menus and scroll loops are left alone.
    if ((code == MSGF_DIALOGBOX || code == MSGF_MESSAGEBOX) && lParam)
    {
        if (PumpPreTranslate(reinterpret_cast<MSG*>(lParam)))
            return TRUE;
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

ModalLoopScope::ModalLoopScope()
{
    auto& state = GetThreadState();
    if (state.msgFilterUsers++ == 0)
        state.hHookMsgFilter = ::SetWindowsHookExA(
            WH_MSGFILTER, osm::GuardedHookProc<kMessageFilter, &MessageFilterHook>, nullptr, ::GetCurrentThreadId());
}

ModalLoopScope::~ModalLoopScope()
{
    auto& state = GetThreadState();
    if (--state.msgFilterUsers == 0 && state.hHookMsgFilter)
    {
        ::UnhookWindowsHookEx(state.hHookMsgFilter);
        state.hHookMsgFilter = nullptr;
    }
}

}  // namespace osm_classlib_detail
