#include "framework/commandbars/KeyboardManager.h"

#include "framework/commandbars/MouseManager.h"
#include "framework/foundation/HookManagerSink.h"

#include "classlib/GuardedCallbacks.h"
#include "classlib/ThreadLocal.h"

#include <atomic>
#include <vector>

namespace {

CThreadLocal<COSMKeyboardManager> g_threadKeyboardManager;

std::atomic<int> g_instanceCount{0};

// Bits of a keyboard hook's lParam.
const LPARAM kKeyContext = 1 << 29;  // Alt is down
const LPARAM kKeyRepeat = 1 << 30;   // the key was down before
const LPARAM kKeyGoingUp = 1u << 31;

// An object's answer that lets the key go on to its window.
const int kLetThrough = 2;

// How reports name the hooks.
constexpr char kKeyboardHookName[] = "keyboard hook";
constexpr char kCallWndProcHookName[] = "call-window hook";

}  // namespace

COSMKeyboardManager* CreateKeyboardManager()
{
    return g_threadKeyboardManager.GetData();
}

COSMKeyboardManager* GetThreadKeyboardManager()
{
    return g_threadKeyboardManager.GetDataNA();
}

COSMKeyboardManager::COSMKeyboardManager()
{
    ++g_instanceCount;
}

COSMKeyboardManager::~COSMKeyboardManager()
{
    SetupCallWndProcHook(FALSE);
    SetupKeyboardHook(FALSE);
    --g_instanceCount;
}

int COSMKeyboardManager::GetInstanceCount()
{
    return g_instanceCount;
}

void COSMKeyboardManager::HookKeyboard(COSMHookManagerSink* sink)
{
    SetupKeyboardHook(TRUE);
    SetupCallWndProcHook(TRUE);
    if (sink && !IsHooked(sink))
        m_sinks.AddTail(sink);
}

void COSMKeyboardManager::UnhookKeyboard(COSMHookManagerSink* sink)
{
    if (POSITION position = m_sinks.Find(sink))
        m_sinks.RemoveAt(position);
    if (m_sinks.IsEmpty())
    {
        SetupCallWndProcHook(FALSE);
        SetupKeyboardHook(FALSE);
    }
}

BOOL COSMKeyboardManager::IsHooked(const COSMHookManagerSink* sink) const
{
    return m_sinks.Find(const_cast<COSMHookManagerSink*>(sink)) != nullptr;
}

void COSMKeyboardManager::SetupKeyboardHook(BOOL install)
{
    SetupHook(m_keyboardHook, WH_KEYBOARD, osm::GuardedHookProc<kKeyboardHookName, &KeyboardProc>, install);
}

void COSMKeyboardManager::SetupCallWndProcHook(BOOL install)
{
    SetupHook(m_callWndProcHook, WH_CALLWNDPROC, osm::GuardedHookProc<kCallWndProcHookName, &CallWndProcHook>, install);
}

void COSMKeyboardManager::SetupHook(HHOOK& hook, int kind, HOOKPROC procedure, BOOL install)
{
    if (install && !hook)
        hook = ::SetWindowsHookExA(kind, procedure, AfxGetInstanceHandle(), ::GetCurrentThreadId());
    else if (!install && hook)
    {
        ::UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
}

BOOL COSMKeyboardManager::ProcessKeyboardHooks(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The last registered is asked first: a popup opened from a bar has the keyboard before that bar, which gets
    // only what the popup leaves (Left and Right past a menu's items move along the menu bar). An object may
    // unregister others (a bar that stops tracking takes its popups along): each one still registered when its turn
    // comes is asked.
    std::vector<COSMHookManagerSink*> sinks;
    for (POSITION position = m_sinks.GetTailPosition(); position;)
        sinks.push_back(m_sinks.GetPrev(position));
    for (COSMHookManagerSink* sink : sinks)
    {
        if (!IsHooked(sink))
            continue;
        WPARAM keyWParam = wParam;
        LPARAM keyLParam = lParam;
        LRESULT result = 0;
        const int answer = sink->OnHookMessage(nullptr, message, keyWParam, keyLParam, result);
        if (answer != 0)
            return answer != kLetThrough;
    }
    return TRUE;
}

LRESULT COSMKeyboardManager::KeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    COSMKeyboardManager* manager = GetThreadKeyboardManager();
    if (code != HC_ACTION || !manager || manager->m_sinks.IsEmpty() || (lParam & kKeyGoingUp))
        return ::CallNextHookEx(nullptr, code, wParam, lParam);

    COSMMouseManager* mouse = CreateMouseManager();
    if (wParam == VK_MENU && (lParam & kKeyContext) && mouse->GetLockCount() < 1)
    {
        // A lone Alt ends menu mode; holding it down does nothing more.
        if (lParam & kKeyRepeat)
            return ::CallNextHookEx(nullptr, code, wParam, lParam);
        mouse->SendTrackLost();
        return 1;
    }
    if (manager->ProcessKeyboardHooks(WM_KEYDOWN, wParam, lParam))
        return 1;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT COSMKeyboardManager::CallWndProcHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call && call->message == WM_ACTIVATEAPP && call->wParam == 0)
    {
        if (COSMMouseManager* mouse = GetThreadMouseManager())
            mouse->SendTrackLost();
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
