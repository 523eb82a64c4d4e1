// CWnd's lifetime: the handle map, binding objects to windows (Attach, subclassing, creation) and letting go of
// them again when the window is destroyed.
#include "classlib/Wnd.h"

#include "classlib/SyncObject.h"
#include "classlib/GuardedCallbacks.h"
#include "classlib/ThreadState.h"
#include "classlib/WinApp.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>  // std::lock_guard
#include <set>
#include <string>

using osm_classlib_detail::GetThreadState;

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

// The procedure a subclassed window had before, kept on the window too: a window detached while still subclassed
// (or whose object is gone) must still reach its own procedure.
const char kSuperProcProperty[] = "OsmClassLib.SuperProc";

bool IsImeWindow(HWND hWnd)
{
    // Creating a thread's first top-level window may create the input method's window first; that one is not ours.
    char className[32] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    return lstrcmpiA(className, "IME") == 0 || lstrcmpiA(className, "MSCTFIME UI") == 0;
}

// The creation hook's body; the system calls its guarded form.
constexpr char kCreationHook[] = "creation hook";
LRESULT CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto& state = GetThreadState();
    HHOOK hook = state.hHookCbt;
    if (code != HCBT_CREATEWND || !state.pWndInit)
        return ::CallNextHookEx(hook, code, wParam, lParam);
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (IsImeWindow(hWnd))
        return ::CallNextHookEx(hook, code, wParam, lParam);

    CWnd* pWnd = state.pWndInit;
    state.pWndInit = nullptr;
    pWnd->Attach(hWnd);
    // Called from inside the system's hook chain: nothing may unwind out of it.
    osm_classlib_detail::GuardCallback("PreSubclassWindow", 0, [pWnd] {
        pWnd->PreSubclassWindow();
        return 0;
    });
    WNDPROC previous =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous != &AfxWndProc)
    {
        osm_classlib_detail::SetSuperProc(pWnd, previous);
        ::SetPropA(hWnd, kSuperProcProperty, reinterpret_cast<HANDLE>(previous));
    }
    LRESULT result = ::CallNextHookEx(hook, code, wParam, lParam);
    // One window per arming: windows made while this one is created (its controls) are left alone.
    ::UnhookWindowsHookEx(hook);
    state.hHookCbt = nullptr;
    return result;
}

void FinishNcDestroy(HWND hWnd, CWnd* pWnd)
{
    auto& state = GetThreadState();
    if (state.windows.LookupPermanent(hWnd) != pWnd)
        return;
    WNDPROC super = osm_classlib_detail::GetSuperProc(pWnd);
    if (super && reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == &AfxWndProc)
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
    ::RemovePropA(hWnd, kSuperProcProperty);
    osm_classlib_detail::SetSuperProc(pWnd, nullptr);
    pWnd->Detach();

    // The main window of a running message loop ends the program when it goes.
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == pWnd)
    {
        pApp->m_pMainWnd = nullptr;
        if (pApp->IsRunningMessageLoop())
            ::PostQuitMessage(0);
    }
    pWnd->PostNcDestroy();
}

}  // namespace

namespace osm_classlib_detail {

void ClearTemporaryHandle(CWnd* pObject)
{
    pObject->m_hWnd = nullptr;
}

void SetSuperProc(CWnd* pWnd, WNDPROC pfnSuper)
{
    pWnd->m_pfnSuper = pfnSuper;
}

WNDPROC GetSuperProc(const CWnd* pWnd)
{
    return pWnd->m_pfnSuper;
}

void HookWindowCreate(CWnd* pWnd)
{
    auto& state = GetThreadState();
    state.pWndInit = pWnd;
    if (!state.hHookCbt)
        state.hHookCbt = ::SetWindowsHookExA(WH_CBT, osm::GuardedHookProc<kCreationHook, &CbtFilterHook>, nullptr,
                                             ::GetCurrentThreadId());
}

bool UnhookWindowCreate()
{
    auto& state = GetThreadState();
    bool bound = state.pWndInit == nullptr;
    state.pWndInit = nullptr;
    if (state.hHookCbt)
    {
        ::UnhookWindowsHookEx(state.hHookCbt);
        state.hHookCbt = nullptr;
    }
    return bound;
}

}  // namespace osm_classlib_detail

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& state = GetThreadState();
    CWnd* pWnd = state.windows.LookupPermanent(hWnd);
    if (!pWnd)
    {
        auto super = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kSuperProcProperty));
        return super ? ::CallWindowProcA(super, hWnd, message, wParam, lParam)
                     : ::DefWindowProcA(hWnd, message, wParam, lParam);
    }

    const MSG outerMessage = state.lastSentMsg;
    state.lastSentMsg = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    ++state.dispatchDepth;
    // An exception must not unwind through the system's frames above us: it is reported (a library exception also
    // freed) and the message fails.
    const LRESULT failed = message == WM_CREATE ? -1 : 0;
    LRESULT result = osm_classlib_detail::GuardCallback(
        "handler of message", failed, [&]() -> LRESULT { return pWnd->WindowProc(message, wParam, lParam); },
        static_cast<long>(message));
    --state.dispatchDepth;
    state.lastSentMsg = outerMessage;

    if (message == WM_NCDESTROY)
        FinishNcDestroy(hWnd, pWnd);
    return result;
}

CWnd::~CWnd()
{
    // The z-order markers (wndTop ...) hold pseudo handles and never own a window.
    const INT_PTR value = reinterpret_cast<INT_PTR>(m_hWnd);
    if (value >= -2 && value <= 1)
        return;
    if (FromHandlePermanent(m_hWnd) == this)
    {
        TRACE("CWnd destroyed while it still wraps window %p: destroying the window\n", static_cast<void*>(m_hWnd));
        DestroyWindow();
    }
}

HWND CWnd::GetSafeHwnd() const
{
    const CWnd* self = this;  // callers use this on null pointers; the library is built to allow it
    return self ? m_hWnd : nullptr;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    auto& state = GetThreadState();
    if (CWnd* p = state.windows.LookupPermanent(hWnd))
        return p;
    if (CWnd* p = state.windows.LookupTemporary(hWnd))
        return p;
    auto wrapper = std::make_unique<CWnd>();
    wrapper->m_hWnd = hWnd;
    return state.windows.AddTemporary(hWnd, std::move(wrapper), state.dispatchDepth);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd ? GetThreadState().windows.LookupPermanent(hWnd) : nullptr;
}

void PASCAL CWnd::DeleteTempMap()
{
    GetThreadState().windows.DeleteTemporaries(-1);
}

BOOL CWnd::Attach(HWND hWndNew)
{
    ASSERT(m_hWnd == nullptr);
    if (!hWndNew || m_hWnd)
        return FALSE;
    if (!GetThreadState().windows.SetPermanent(hWndNew, this))
        return FALSE;  // another object already wraps it
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd)
        GetThreadState().windows.RemovePermanent(hWnd, this);
    m_hWnd = nullptr;
    return hWnd;
}

void CWnd::InstallWindowProc()
{
    WNDPROC previous =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous == &AfxWndProc)
    {
        // Subclassed before by an object that let go without restoring: its saved procedure is still the original.
        m_pfnSuper = reinterpret_cast<WNDPROC>(::GetPropA(m_hWnd, kSuperProcProperty));
    }
    else
    {
        m_pfnSuper = previous;
        ::SetPropA(m_hWnd, kSuperProcProperty, reinterpret_cast<HANDLE>(previous));
    }
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    InstallWindowProc();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), static_cast<int>(nID));
    return hWndControl && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    if (m_pfnSuper)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::RemovePropA(m_hWnd, kSuperProcProperty);
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void* /*pContext*/)
{
    // Create makes child windows; top-level windows come from CreateEx.
    ASSERT(pParentWnd != nullptr);
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    ASSERT(m_hWnd == nullptr);
    if (m_hWnd)
        return FALSE;
    osm_classlib_detail::EnsureCommonControls();

    CREATESTRUCTA cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }

    osm_classlib_detail::HookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    bool bound = osm_classlib_detail::UnhookWindowCreate();
    if (!hWnd)
        return FALSE;  // a window that failed in WM_CREATE was already let go at WM_NCDESTROY
    if (!bound)
        SubclassWindow(hWnd);
    return m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return FALSE;
    auto& windows = GetThreadState().windows;
    const bool permanent = windows.LookupPermanent(hWnd) == this;
    BOOL destroyed = ::DestroyWindow(hWnd);
    // A window that was only attached never passes WM_NCDESTROY through the library: let go of it here. (When the
    // window was subclassed the object may already have deleted itself in PostNcDestroy: only the map is asked.)
    if (permanent && windows.LookupPermanent(hWnd) == this && !::IsWindow(hWnd))
    {
        ::RemovePropA(hWnd, kSuperProcProperty);
        m_pfnSuper = nullptr;
        Detach();
    }
    return destroyed;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static CCriticalSection lock;
    static std::set<std::string> names;  // the returned pointers stay valid for the process's life

    HINSTANCE hInst = AfxGetInstanceHandle();
    char name[128];
    std::snprintf(name, sizeof name, "Osm:%p:%x:%p:%p:%p", static_cast<void*>(hInst), nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    std::lock_guard<CCriticalSection> guard(lock);
    const std::string& stored = *names.insert(name).first;

    WNDCLASSA wc{};
    if (!::GetClassInfoA(hInst, stored.c_str(), &wc))
    {
        wc.style = nClassStyle;
        wc.lpfnWndProc = ::DefWindowProcA;  // replaced by the library's procedure when the window is created
        wc.hInstance = hInst;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = stored.c_str();
        ::RegisterClassA(&wc);
    }
    return stored.c_str();
}

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass)
{
    WNDCLASSA existing{};
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing))
        return TRUE;
    return ::RegisterClassA(lpWndClass) != 0;
}
