// COSMMouseManager: one per thread that uses command bars. While popup bars track, its WH_MOUSE hook closes them on
// a click elsewhere, hands mouse moves to the tracked bars that are not under the cursor, and eats repeated moves
// at the same point; it also polls windows that have no mouse-leave notification of their own:
//
//   COSMMouseManager* mouse = CreateMouseManager();   // the calling thread's, made on first use
//   mouse->SetTrack(popup);                            // a popup starts tracking (RemoveTrack when it stops)
//   mouse->AddSafeWindow(dialog);                      // clicks on it keep the popups open
//   mouse->SendTrackLost();                            // every tracked popup stops
//
// The thread's manager lives in the class library's per-thread storage and goes with the thread's data. The bars
// in its lists are not owned: a bar leaves them as it stops tracking or is destroyed.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"

#include <vector>

class COSMCommandBar;

class COSMMouseManager
{
public:
    // The mouse-leave poll: its timer on the watched window and the period.
    static constexpr UINT_PTR kMouseLeaveTimerId = 113341;
    static constexpr UINT kMouseLeavePeriod = 50;

    // Installs the thread's mouse hook.
    COSMMouseManager();
    // Removes the hook.
    ~COSMMouseManager();
    COSMMouseManager(const COSMMouseManager&) = delete;
    COSMMouseManager& operator=(const COSMMouseManager&) = delete;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Installs (TRUE) or removes (FALSE) the WH_MOUSE hook of the calling thread; nothing when already so.
    void SetupHook(BOOL install);
    BOOL IsHookInstalled() const { return m_hook != nullptr; }

    // The tracked bars, in the order they began to track; the last one is the topmost popup.
    // The first bar to track clears the selection of a bar that holds one outside the popups.
    void SetTrack(COSMCommandBar* bar);
    // An emptied list puts the cursor back (ResetCursorPos); the next button release is no longer eaten.
    void RemoveTrack(COSMCommandBar* bar);
    // Every tracked bar stops tracking, first tracked first.
    void SendTrackLost();
    int GetTrackedCount() const { return static_cast<int>(m_tracked.size()); }
    COSMCommandBar* GetTrackedAt(int index) const;
    // The topmost tracked bar; null when none tracks.
    COSMCommandBar* GetTopTrackedBar() const;
    BOOL IsTracked(const COSMCommandBar* bar) const;
    // Adds 1 (TRUE) or -1 (FALSE) to the lock counter of every tracked bar.
    void LockTrackRecurse(BOOL lock);
    // FALSE while nothing tracks; else FALSE only for a tracked bar that is not locked (null counts as not tracked).
    BOOL IsTrackActive(const COSMCommandBar* bar) const;
    // The tracked bar under the screen point, topmost first: one whose IsPointInWindow answers TRUE, or (unless it
    // answered kPointLeftToWindows) whose window or a child of it lies under the point; null when none.
    COSMCommandBar* HitTestTrackedBar(CPoint point) const;
    // For button-down messages: the click at the cursor lies outside the tracked bars (over no window, or over a
    // window that is neither safe nor an IME window).
    BOOL IsClickOutsideTracks(const COSMCommandBar* bar, UINT message) const;

    // Windows whose clicks never close the tracked bars.
    void AddSafeWindow(HWND window);
    void RemoveSafeWindow(HWND window);
    BOOL IsSafeWindow(HWND window) const;

    // Watches the window until the cursor leaves it, then posts it WM_MOUSELEAVE; a window watched before gets its
    // WM_MOUSELEAVE at once.
    void TrackMouseLeave(HWND window);
    HWND GetMouseLeaveWindow() const { return m_mouseLeaveWindow; }

    // The last point becomes -1,-1 and the cursor is set where it is, so that a fresh mouse move follows.
    void ResetCursorPos();

    // While locked, releases outside the tracked bars and a lone Alt close nothing.
    void Lock() { ++m_lockCount; }
    void Unlock() { --m_lockCount; }
    int GetLockCount() const { return m_lockCount; }
    BOOL IsLocked() const { return m_lockCount > 0; }

    // The bar that holds a selected control outside the popups (not owned).
    COSMCommandBar* GetSelectedBar() const { return m_selectedBar; }
    void SetSelectedBar(COSMCommandBar* bar) { m_selectedBar = bar; }
    // 1 once a collapsed menu was expanded: popups then open expanded until no popup tracks.
    int GetMenusExpanded() const { return m_menusExpanded; }
    void SetMenusExpanded(int expanded) { m_menusExpanded = expanded; }
    // The next left-button release is eaten.
    BOOL GetSwallowButtonUp() const { return m_swallowButtonUp; }
    void SetSwallowButtonUp(BOOL swallow) { m_swallowButtonUp = swallow; }

    // The last screen point the hook saw, shared by every thread; -1,-1 after a cursor reset.
    static CPoint GetLastPoint();
    static void SetLastPoint(CPoint point);

#ifdef OSM_TEST_HOOKS
    // Managers alive in the process (each thread that used the bars has one until it ends). Only in trees built for
    // tests (OSM_TEST_HOOKS), never in the program users get.
    static int GetInstanceCount();
#endif

private:
    void OnHookMouseMessage(UINT message, CPoint point);
    void ProcessMouseMessage(COSMCommandBar* bar, UINT message, CPoint point);
    BOOL IsOverSafeWindow(CPoint point) const;
    // The tracked bars, each held by a reference while the caller walks them (given up even when a bar throws).
    std::vector<RefPtr<COSMCommandBar>> HoldTrackedBars() const;

    // The bodies of the hook and the poll's timer procedure; the system calls their guarded forms.
    static LRESULT MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
    static void MouseLeaveTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

    int m_lockCount = 0;
    std::vector<COSMCommandBar*> m_tracked;
    HHOOK m_hook = nullptr;
    COSMCommandBar* m_selectedBar = nullptr;
    HWND m_mouseLeaveWindow = nullptr;
    int m_menusExpanded = 0;
    std::vector<HWND> m_safeWindows;
    BOOL m_swallowButtonUp = FALSE;
};

// The calling thread's mouse manager, made on first use.
COSMMouseManager* CreateMouseManager();
// The calling thread's mouse manager when it has one; never makes one.
COSMMouseManager* GetThreadMouseManager();
