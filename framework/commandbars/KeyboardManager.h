// COSMKeyboardManager: one per thread that uses command bars. While at least one object is registered, its
// WH_KEYBOARD hook offers each key going down to the registered objects (a tracking bar, an open combo list), a lone
// Alt closes the tracked popups, and its WH_CALLWNDPROC hook closes them when the application loses activation:
//
//   CreateKeyboardManager()->HookKeyboard(bar);      // the bar's OnHookMessage now hears WM_KEYDOWN
//   ...
//   CreateKeyboardManager()->UnhookKeyboard(bar);    // the last one out removes the hooks
//
// Registered objects are called with window 0 and answer 0 (not theirs: ask the next), 2 (handled, the key goes on
// to its window) or anything else (handled, the key is eaten). A key no object takes is eaten. The objects are not
// owned: each unregisters before it goes.
#pragma once

#include "classlib/List.h"

class COSMHookManagerSink;

class COSMKeyboardManager
{
public:
    COSMKeyboardManager();
    // Removes both hooks.
    ~COSMKeyboardManager();
    COSMKeyboardManager(const COSMKeyboardManager&) = delete;
    COSMKeyboardManager& operator=(const COSMKeyboardManager&) = delete;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Installs the hooks when missing, then registers the object unless it is registered.
    void HookKeyboard(COSMHookManagerSink* sink);
    // Unregisters the object; with the last one the hooks go.
    void UnhookKeyboard(COSMHookManagerSink* sink);
    BOOL IsHooked(const COSMHookManagerSink* sink) const;
    int GetHookedCount() const { return static_cast<int>(m_sinks.GetCount()); }

    // Install (TRUE) or remove (FALSE) one hook of the calling thread; nothing when already so.
    void SetupKeyboardHook(BOOL install);
    void SetupCallWndProcHook(BOOL install);
    BOOL IsKeyboardHookInstalled() const { return m_keyboardHook != nullptr; }
    BOOL IsCallWndProcHookInstalled() const { return m_callWndProcHook != nullptr; }

    // Offers the message to the registered objects, last registered first (an open popup before the bar it came
    // from): the first answer other than 0 decides (2 gives FALSE, anything else TRUE); TRUE when none answers. TRUE
    // means the key is eaten.
    BOOL ProcessKeyboardHooks(UINT message, WPARAM wParam, LPARAM lParam);

    // Managers alive in the process (each thread that used the bars has one until it ends).
    static int GetInstanceCount();

private:
    static void SetupHook(HHOOK& hook, int kind, HOOKPROC procedure, BOOL install);
    // The bodies of the two hooks; the system calls their guarded forms.
    static LRESULT KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_keyboardHook = nullptr;
    HHOOK m_callWndProcHook = nullptr;
    DWORD m_reserved = 0;
    CList<COSMHookManagerSink*, COSMHookManagerSink*> m_sinks{10};
};

// The calling thread's keyboard manager, made on first use.
COSMKeyboardManager* CreateKeyboardManager();
// The calling thread's keyboard manager when it has one; never makes one.
COSMKeyboardManager* GetThreadKeyboardManager();
