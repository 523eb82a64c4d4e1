#include "framework/commandbars/MouseManager.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/WindowFunctions.h"

#include "classlib/GuardedCallbacks.h"
#include "classlib/ThreadLocal.h"

#include <algorithm>
#include <atomic>

namespace {

CThreadLocal<COSMMouseManager> g_threadMouseManager;

// Shared by the threads' hooks; each coordinate is written whole, and a torn pair only costs one move that is not
// eaten.
std::atomic<LONG> g_lastPointX{0};
std::atomic<LONG> g_lastPointY{0};

#ifdef OSM_TEST_HOOKS
std::atomic<int> g_instanceCount{0};
#endif

// How reports name the hook and the poll's timer procedure.
constexpr char kMouseHookName[] = "mouse hook";
constexpr char kMouseLeaveTimerName[] = "mouse-leave timer";

// The class style of the input-method windows, whose clicks never close the popups.
const UINT kImeClassStyle = 0x10000;

BOOL IsMoveMessage(UINT message)
{
    return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE;
}

BOOL IsButtonDownMessage(UINT message)
{
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL IsButtonMessage(UINT message)
{
    return (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) ||
           (message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK);
}

BOOL IsImeWindow(HWND window)
{
    return (::GetClassLongPtrA(window, GCL_STYLE) & kImeClassStyle) != 0;
}

BOOL IsBarLocked(const COSMCommandBar* bar)
{
    return bar->GetTrackLockCount() >= 1;
}

}  // namespace

COSMMouseManager* CreateMouseManager()
{
    return g_threadMouseManager.GetData();
}

COSMMouseManager* GetThreadMouseManager()
{
    return g_threadMouseManager.GetDataNA();
}

COSMMouseManager::COSMMouseManager()
{
#ifdef OSM_TEST_HOOKS
    ++g_instanceCount;
#endif
    SetupHook(TRUE);
}

COSMMouseManager::~COSMMouseManager()
{
    SetupHook(FALSE);
    if (m_mouseLeaveWindow && ::IsWindow(m_mouseLeaveWindow))
        ::KillTimer(m_mouseLeaveWindow, kMouseLeaveTimerId);
#ifdef OSM_TEST_HOOKS
    --g_instanceCount;
#endif
}

#ifdef OSM_TEST_HOOKS
int COSMMouseManager::GetInstanceCount()
{
    return g_instanceCount;
}
#endif

void COSMMouseManager::SetupHook(BOOL install)
{
    if (install && !m_hook)
        m_hook = ::SetWindowsHookExA(WH_MOUSE, osm::GuardedHookProc<kMouseHookName, &MouseHookProc>, nullptr,
                                     ::GetCurrentThreadId());
    else if (!install && m_hook)
    {
        ::UnhookWindowsHookEx(m_hook);
        m_hook = nullptr;
    }
}

CPoint COSMMouseManager::GetLastPoint()
{
    return CPoint(g_lastPointX.load(), g_lastPointY.load());
}

void COSMMouseManager::SetLastPoint(CPoint point)
{
    g_lastPointX = point.x;
    g_lastPointY = point.y;
}

// ---- Tracked bars ----

void COSMMouseManager::SetTrack(COSMCommandBar* bar)
{
    if (m_tracked.empty() && m_selectedBar && m_selectedBar != bar)
        m_selectedBar->ClearSelected();
    if (!IsTracked(bar))
        m_tracked.push_back(bar);
}

void COSMMouseManager::RemoveTrack(COSMCommandBar* bar)
{
    auto found = std::find(m_tracked.begin(), m_tracked.end(), bar);
    if (found != m_tracked.end())
    {
        m_tracked.erase(found);
        if (m_tracked.empty())
            ResetCursorPos();
    }
    m_swallowButtonUp = FALSE;
}

void COSMMouseManager::SendTrackLost()
{
    while (!m_tracked.empty())
    {
        // StopTracking may let the last reference go elsewhere (a site that removes the bar): ours keeps the bar
        // alive until it is off the list, and goes even when StopTracking throws. A bar still listed afterwards
        // (its StopTracking refused) is dropped, or the loop would never end.
        const RefPtr<COSMCommandBar> bar = RefPtr<COSMCommandBar>::Retain(m_tracked.front());
        bar->StopTracking();
        RemoveTrack(bar.Get());
    }
}

COSMCommandBar* COSMMouseManager::GetTrackedAt(int index) const
{
    if (index < 0 || index >= GetTrackedCount())
        return nullptr;
    return m_tracked[static_cast<size_t>(index)];
}

COSMCommandBar* COSMMouseManager::GetTopTrackedBar() const
{
    return m_tracked.empty() ? nullptr : m_tracked.back();
}

BOOL COSMMouseManager::IsTracked(const COSMCommandBar* bar) const
{
    return std::find(m_tracked.begin(), m_tracked.end(), bar) != m_tracked.end();
}

void COSMMouseManager::LockTrackRecurse(BOOL lock)
{
    for (COSMCommandBar* bar : m_tracked)
        bar->AdjustTrackLockCount(lock ? 1 : -1);
}

BOOL COSMMouseManager::IsTrackActive(const COSMCommandBar* bar) const
{
    if (m_tracked.empty())
        return FALSE;
    if (!bar || IsBarLocked(bar))
        return TRUE;
    return !IsTracked(bar);
}

std::vector<RefPtr<COSMCommandBar>> COSMMouseManager::HoldTrackedBars() const
{
    std::vector<RefPtr<COSMCommandBar>> bars;
    bars.reserve(m_tracked.size());
    for (COSMCommandBar* bar : m_tracked)
        bars.push_back(RefPtr<COSMCommandBar>::Retain(bar));
    return bars;
}

COSMCommandBar* COSMMouseManager::HitTestTrackedBar(CPoint point) const
{
    const HWND under = ::WindowFromPoint(point);
    for (auto it = m_tracked.rbegin(); it != m_tracked.rend(); ++it)
    {
        COSMCommandBar* bar = *it;
        const HWND window = bar->GetSafeHwnd();
        if (!window)
            continue;
        // 1 is a hit; a bar that leaves the point to the windows it hosts is no hit, whatever window lies there.
        const BOOL inWindow = bar->IsPointInWindow(point);
        if (inWindow == TRUE)
            return bar;
        if (inWindow == COSMCommandBar::kPointLeftToWindows)
            continue;
        if (under && (under == window || ::IsChild(window, under)))
            return bar;
    }
    return nullptr;
}

BOOL COSMMouseManager::IsOverSafeWindow(CPoint point) const
{
    for (HWND window : m_safeWindows)
    {
        CRect rect;
        if (::IsWindowVisible(window) && ::GetWindowRect(window, &rect) && rect.PtInRect(point))
            return TRUE;
    }
    return FALSE;
}

BOOL COSMMouseManager::IsClickOutsideTracks(const COSMCommandBar* bar, UINT message) const
{
    if (!IsButtonDownMessage(message))
        return FALSE;
    CPoint point;
    ::GetCursorPos(&point);
    if (const COSMCommandBar* hit = HitTestTrackedBar(point))
        return IsBarLocked(hit) && !(bar && IsBarLocked(bar));
    if (m_tracked.empty())
        return TRUE;
    if (IsOverSafeWindow(point))
        return FALSE;
    const HWND under = ::WindowFromPoint(point);
    if (!under)
        return TRUE;
    return !IsImeWindow(under);
}

void COSMMouseManager::AddSafeWindow(HWND window)
{
    m_safeWindows.push_back(window);
}

BOOL COSMMouseManager::IsSafeWindow(HWND window) const
{
    return std::find(m_safeWindows.begin(), m_safeWindows.end(), window) != m_safeWindows.end();
}

void COSMMouseManager::RemoveSafeWindow(HWND window)
{
    auto found = std::find(m_safeWindows.begin(), m_safeWindows.end(), window);
    if (found != m_safeWindows.end())
        m_safeWindows.erase(found);
}

void COSMMouseManager::ResetCursorPos()
{
    SetLastPoint(CPoint(-1, -1));
    POINT cursor;
    if (::GetCursorPos(&cursor))
        ::SetCursorPos(cursor.x, cursor.y);
}

// ---- The mouse-leave poll ----

void COSMMouseManager::TrackMouseLeave(HWND window)
{
    if (window == m_mouseLeaveWindow)
        return;
    const HWND previous = m_mouseLeaveWindow;
    m_mouseLeaveWindow = window;
    if (previous && ::IsWindow(previous))
    {
        // The old window's poll would otherwise run on and report the cursor leaving it a second time.
        ::KillTimer(previous, kMouseLeaveTimerId);
        ::SendMessageA(previous, WM_MOUSELEAVE, 0, 0);
    }
    if (window && m_mouseLeaveWindow == window)
        ::SetTimer(window, kMouseLeaveTimerId, kMouseLeavePeriod,
                   osm::GuardedTimerProc<kMouseLeaveTimerName, &MouseLeaveTimerProc>);
}

void COSMMouseManager::MouseLeaveTimerProc(HWND window, UINT, UINT_PTR id, DWORD)
{
    COSMMouseManager* manager = GetThreadMouseManager();
    if (!manager || manager->m_mouseLeaveWindow != window)
    {
        ::KillTimer(window, id);
        return;
    }
    if (!::IsWindow(window))
    {
        manager->m_mouseLeaveWindow = nullptr;
        return;
    }
    CPoint cursor;
    CRect rect;
    ::GetCursorPos(&cursor);
    ::GetWindowRect(window, &rect);
    const BOOL inside =
        rect.PtInRect(cursor) &&
        (!::GetParent(window) || (::GetWindowLongA(window, GWL_STYLE) & WS_POPUP) || IsTopParentActive(window));
    if (inside)
        return;
    ::KillTimer(window, id);
    manager->m_mouseLeaveWindow = nullptr;
    ::PostMessageA(window, WM_MOUSELEAVE, 0, 0);
}

// ---- The hook ----

LRESULT COSMMouseManager::MouseHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    COSMMouseManager* manager = GetThreadMouseManager();
    if (code != HC_ACTION || !manager)
        return ::CallNextHookEx(nullptr, code, wParam, lParam);

    const UINT message = static_cast<UINT>(wParam);
    const CPoint point = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->pt;
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
        manager->m_swallowButtonUp = FALSE;
    if ((message == WM_LBUTTONUP || message == WM_NCLBUTTONUP) && manager->m_swallowButtonUp)
    {
        manager->m_swallowButtonUp = FALSE;
        return 1;
    }
    if (!manager->m_tracked.empty() && IsMoveMessage(message) && point == GetLastPoint())
        return 1;
    SetLastPoint(point);
    if (!manager->m_tracked.empty())
        manager->OnHookMouseMessage(message, point);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void COSMMouseManager::OnHookMouseMessage(UINT message, CPoint point)
{
    COSMCommandBar* hit = HitTestTrackedBar(point);
    if (!hit)
    {
        if (IsOverSafeWindow(point))
            return;
        const HWND under = ::WindowFromPoint(point);
        if (under && IsImeWindow(under))
            return;
        // A bar may stop tracking, and be let go, while an earlier one handles the message.
        for (const RefPtr<COSMCommandBar>& bar : HoldTrackedBars())
            ProcessMouseMessage(bar.Get(), message, point);
        return;
    }
    if (IsMoveMessage(message) || !IsBarLocked(hit) || !IsButtonMessage(message) || m_swallowButtonUp)
        return;
    // A click on a locked bar (one that holds a modal part of its own) closes the unlocked popups above the first.
    if (m_tracked.empty() || !IsBarLocked(m_tracked.front()))
        return;
    for (const RefPtr<COSMCommandBar>& bar : HoldTrackedBars())
        if (!IsBarLocked(bar.Get()) && IsTracked(bar.Get()))
            bar->StopTracking();
    SetLastPoint(CPoint(0, 0));
}

void COSMMouseManager::ProcessMouseMessage(COSMCommandBar* bar, UINT message, CPoint point)
{
    const HWND window = bar->GetSafeHwnd();
    if (!window)
        return;
    switch (message)
    {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (!IsBarLocked(bar) && IsTracked(bar))
        {
            CPoint client = point;
            ::ScreenToClient(window, &client);
            bar->OnMouseMove(0, client);
        }
        break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        if (m_lockCount <= 0)
            SendTrackLost();
        break;
    default:
        if (IsButtonDownMessage(message))
            SendTrackLost();
        break;
    }
}
