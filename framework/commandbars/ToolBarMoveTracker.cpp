#include "framework/commandbars/ToolBarMoveTracker.h"

#include "classlib/ModalLoop.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ToolBar.h"

#include <algorithm>

namespace {

// The "Flags" bits that allow each dock side (0 top, 1 bottom, 2 left, 3 right), and floating.
const DWORD kDockSideFlags[4] = {0x1, 0x2, 0x4, 0x8};
const DWORD kAnyDockSide = 0xF;
const DWORD kFloatFlag = 0x10;
// The layout a floating bar takes: its remembered width, laid out along a row.
const DWORD kFloatingLayout = LM_COMMIT | LM_MRUWIDTH | LM_HORZ;

CRect MonitorWorkArea(const CRect& rect)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    if (monitor && ::GetMonitorInfoA(monitor, &info))
        return info.rcWork;
    CRect work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

BOOL Meets(const CRect& a, const CRect& b)
{
    CRect common;
    return common.IntersectRect(&a, &b);
}

void MarkLayoutChanged(COSMToolBar* toolBar)
{
    if (COSMCommandBars* commandBars = toolBar->GetCommandBars())
        commandBars->GetCommandBarsOptions()->m_modified = TRUE;
}

}  // namespace

COSMToolBarMoveTracker::WorkAreaFn COSMToolBarMoveTracker::s_pfnGetWorkArea = &MonitorWorkArea;

COSMToolBarMoveTracker::COSMToolBarMoveTracker(COSMToolBar* pToolBar) : m_pToolBar(pToolBar) {}

COSMToolBarMoveTracker::~COSMToolBarMoveTracker() = default;

CRect COSMToolBarMoveTracker::MoveRectToPoint(const CRect& rect, CPoint point)
{
    CRect moved = rect;
    if (point.x < moved.left || point.x >= moved.right)
        moved.OffsetRect(point.x - moved.Width() / 2 - moved.left, 0);
    if (point.y < moved.top || point.y >= moved.bottom)
        moved.OffsetRect(0, point.y - moved.Height() / 2 - moved.top);
    return moved;
}

CRect COSMToolBarMoveTracker::KeepOnScreen(const CRect& rect, const CRect& workArea)
{
    CRect kept = rect;
    if (kept.top > workArea.bottom - kKeepVisible)
        kept.OffsetRect(0, workArea.bottom - kKeepVisible - kept.top);
    if (kept.bottom < workArea.top + kKeepVisible)
        kept.OffsetRect(0, workArea.top + kKeepVisible - kept.bottom);
    if (kept.left > workArea.right - kKeepVisible)
        kept.OffsetRect(workArea.right - kKeepVisible - kept.left, 0);
    if (kept.right < workArea.left + kKeepVisible)
        kept.OffsetRect(workArea.left + kKeepVisible - kept.right, 0);
    return kept;
}

CRect COSMToolBarMoveTracker::KeepOnScreen(const CRect& rect, CPoint cursor) const
{
    return KeepOnScreen(rect, s_pfnGetWorkArea(CRect(cursor, CSize(1, 1))));
}

// ---- The drags ----

void COSMToolBarMoveTracker::TrackMove(CPoint point)
{
    if (!m_pToolBar || !m_pToolBar->GetSafeHwnd())
        return;
    // The bar may leave its manager while the loop dispatches: it stays alive until the drag is done.
    const RefPtr<COSMToolBar> keep = RefPtr<COSMToolBar>::Retain(m_pToolBar);
    m_nMode = 1;
    const COSMToolBar::DockingRecord before = m_pToolBar->GetDockingRecord();
    m_nSavedDockSide = before.side;
    m_rcSavedDock = before.rect;
    const BOOL wasFloating = m_pToolBar->IsFloating();
    // A bar its dock bar placed on its own (a new row) has no remembered place yet: where it lies now is that place.
    if (!wasFloating && m_rcSavedDock.IsRectEmpty())
    {
        m_pToolBar->GetWindowRect(&m_rcSavedDock);
        ::MapWindowPoints(nullptr, ::GetParent(m_pToolBar->GetSafeHwnd()), reinterpret_cast<POINT*>(&m_rcSavedDock), 2);
    }
    m_ptLast = point;
    m_pToolBar->GetWindowRect(&m_rcWindow);
    m_rcWindow = MoveRectToPoint(m_rcWindow, point);
    m_rcTracking = m_rcWindow;
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));

    COSMMouseManager* mouseManager = CreateMouseManager();
    mouseManager->Lock();
    TrackLoop();
    mouseManager->Unlock();
    m_nMode = 0;

    if (!m_pToolBar->IsFloating() || !m_pToolBar->GetSafeHwnd())
        return;
    m_pToolBar->GetWindowRect(&m_rcWindow);
    m_ptSavedFloating = m_rcWindow.TopLeft();
    // The dock bars it passed over rewrote the record: a double click docks it where the drag began.
    if (!wasFloating)
    {
        COSMToolBar::DockingRecord record;
        record.side = m_nSavedDockSide;
        record.rect = m_rcSavedDock;
        m_pToolBar->SetDockingRecord(record);
    }
}

void COSMToolBarMoveTracker::TrackResize(UINT nHitCode, CPoint point)
{
    if (!m_pToolBar || !m_pToolBar->GetSafeHwnd())
        return;
    const RefPtr<COSMToolBar> keep = RefPtr<COSMToolBar>::Retain(m_pToolBar);
    m_nMode = static_cast<int>(nHitCode);
    m_ptLast = point;
    m_pToolBar->GetWindowRect(&m_rcWindow);
    m_rcTracking = m_rcWindow;
    TrackLoop();
    m_nMode = 0;
    if (!m_pToolBar->GetSafeHwnd())
        return;
    m_pToolBar->GetWindowRect(&m_rcWindow);
    if (m_pToolBar->IsFloating())
        m_ptSavedFloating = m_rcWindow.TopLeft();
    m_pToolBar->SetMRUWidth(m_rcWindow.Width());
}

BOOL COSMToolBarMoveTracker::ToggleDocking()
{
    COSMCommandBars* commandBars = m_pToolBar ? m_pToolBar->GetCommandBars() : nullptr;
    if (!commandBars || !m_pToolBar->GetSafeHwnd())
        return FALSE;
    const DWORD flags = m_pToolBar->GetFlags();
    const COSMToolBar::DockingRecord record = m_pToolBar->GetDockingRecord();
    if (m_pToolBar->IsFloating())
    {
        if (!(flags & kAnyDockSide))
            return FALSE;
        COSMDockBar* dockBar = commandBars->GetDockBar(record.side);
        if (!dockBar)
            return FALSE;
        CRect rect = record.rect;
        dockBar->ClientToScreen(&rect);
        // A bar that never lay at a place of its own goes to a new last row.
        if (!commandBars->DockCommandBar(m_pToolBar, record.rect.IsRectEmpty() ? nullptr : &rect, dockBar))
            return FALSE;
        commandBars->RecalcFrameLayout(FALSE);
    }
    else
    {
        if (!(flags & kFloatFlag) || !commandBars->GetCommandBarsOptions()->m_dblClickFloat)
            return FALSE;
        CPoint position = m_ptSavedFloating;
        if (position.x <= 0 || position.y <= 0)
        {
            CRect rect;
            m_pToolBar->GetWindowRect(&rect);
            position = rect.TopLeft();
            // The remembered docked place, when the bar has one.
            if (!record.rect.IsRectEmpty())
            {
                position = record.rect.TopLeft();
                ::ClientToScreen(::GetParent(m_pToolBar->GetSafeHwnd()), &position);
            }
        }
        if (!commandBars->FloatCommandBar(m_pToolBar))
            return FALSE;
        const CSize size = m_pToolBar->CalcDynamicLayout(0, kFloatingLayout);
        m_pToolBar->SetWindowPos(nullptr, position.x, position.y, size.cx, size.cy,
                                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    MarkLayoutChanged(m_pToolBar);
    return TRUE;
}

void COSMToolBarMoveTracker::TrackLoop()
{
    HWND window = m_pToolBar ? m_pToolBar->GetSafeHwnd() : nullptr;
    if (!window || ::GetCapture())
        return;
    ::SetCapture(window);
    if (::GetCapture() != window)
        return;

    CModalLoop loop;
    loop.EndOnCaptureLoss(window).PaintFirst();
    loop.Run(nullptr, [&](MSG& msg) {
        CModalLoop::Step step = CModalLoop::Handled;
        switch (msg.message)
        {
        case WM_LBUTTONUP:
            step = CModalLoop::Stop;
            break;
        case WM_KEYDOWN:
            // Other keys are dropped: nothing else may act while the bar hangs from the mouse.
            if (msg.wParam == VK_ESCAPE)
                step = CModalLoop::Stop;
            break;
        case WM_MOUSEMOVE:
        {
            // Where the cursor was when the move was queued: the bar's window may have moved since, so its client
            // coordinates would mislead.
            const CPoint point(msg.pt);
            if (point == m_ptLast)
                ::DispatchMessageA(&msg);
            else if (m_nMode == 1)
                OnMove(point);
            else if (m_pToolBar->IsDialogBar())
                OnResizeDialogBar(point);
            else
                OnResizeToolBar(point);
            break;
        }
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
        if (COSMCommandBars* commandBars = m_pToolBar->GetCommandBars())
            commandBars->RecalcDelayedFrameLayout();
        return step;
    });

    if (::GetCapture() == window)
        ::ReleaseCapture();
    MarkLayoutChanged(m_pToolBar);
}

// ---- The steps ----

void COSMToolBarMoveTracker::OnMove(CPoint point)
{
    COSMCommandBars* commandBars = m_pToolBar->GetCommandBars();
    if (!commandBars)
        return;
    const CSize delta = point - m_ptLast;
    m_rcTracking.OffsetRect(delta);
    m_rcWindow.OffsetRect(delta);
    const DWORD flags = m_pToolBar->GetFlags();

    BOOL docked = FALSE;
    COSMDockBar* dockBar = commandBars->CanDock(point, m_pToolBar->GetDockBar());
    const int side = dockBar ? dockBar->GetPosition() : -1;
    if (side >= 0 && side < 4 && (flags & kDockSideFlags[side]))
    {
        COSMDockBar* before = m_pToolBar->GetDockBar();
        const BOOL wasFloating = m_pToolBar->IsFloating();
        docked = commandBars->DockCommandBar(m_pToolBar, &m_rcTracking, dockBar);
        if (docked && (before != dockBar || wasFloating))
        {
            commandBars->RecalcFrameLayout(FALSE);
            m_pToolBar->GetWindowRect(&m_rcWindow);
        }
    }

    if (!docked && (flags & kFloatFlag))
    {
        if (!m_pToolBar->IsFloating() && commandBars->FloatCommandBar(m_pToolBar))
        {
            const CSize size = m_pToolBar->CalcDynamicLayout(0, kFloatingLayout);
            m_rcWindow = MoveRectToPoint(CRect(m_rcWindow.TopLeft(), size), point);
        }
        if (m_pToolBar->IsFloating())
        {
            m_rcWindow = KeepOnScreen(m_rcWindow, point);
            m_pToolBar->MoveWindow(&m_rcWindow, TRUE);
        }
    }
    m_ptLast = point;
}

void COSMToolBarMoveTracker::OnResizeToolBar(CPoint point)
{
    const CSize delta = point - m_ptLast;
    m_ptLast = point;
    CSize size;
    switch (m_nMode)
    {
    case HTLEFT:
    case HTRIGHT:
        (m_nMode == HTLEFT ? m_rcTracking.left : m_rcTracking.right) += delta.cx;
        size = m_pToolBar->CalcDynamicLayout(std::max(0, static_cast<int>(m_rcTracking.Width())), LM_COMMIT | LM_HORZ);
        break;
    case HTTOP:
    case HTBOTTOM:
        (m_nMode == HTTOP ? m_rcTracking.top : m_rcTracking.bottom) += delta.cy;
        size = m_pToolBar->CalcDynamicLayout(std::max(0, static_cast<int>(m_rcTracking.Height())),
                                             LM_COMMIT | LM_LENGTHY | LM_HORZ);
        break;
    default:
        return;
    }
    if (size == m_rcWindow.Size())
        return;

    CRect rect(m_rcWindow.TopLeft(), size);
    if (m_nMode == HTLEFT)
        rect.OffsetRect(m_rcWindow.right - rect.right, 0);
    else if (m_nMode == HTTOP)
        rect.OffsetRect(0, m_rcWindow.bottom - rect.bottom);
    const CRect work = s_pfnGetWorkArea(m_rcWindow);
    if (rect.right <= work.left)
        rect.OffsetRect(work.left - rect.left, 0);
    else if (rect.left >= work.right)
        rect.OffsetRect(work.right - rect.right, 0);
    if (rect.bottom <= work.top)
        rect.OffsetRect(0, work.top - rect.top);
    else if (rect.top >= work.bottom)
        rect.OffsetRect(0, work.bottom - rect.bottom);
    m_rcWindow = rect;
    m_pToolBar->MoveWindow(&m_rcWindow, TRUE);
    m_pToolBar->Redraw(nullptr, TRUE);
}

void COSMToolBarMoveTracker::OnResizeDialogBar(CPoint point)
{
    const CSize delta = point - m_ptLast;
    m_ptLast = point;
    switch (m_nMode)
    {
    case HTLEFT:
    case HTTOPLEFT:
    case HTBOTTOMLEFT:
        m_rcTracking.left += delta.cx;
        break;
    case HTRIGHT:
    case HTTOPRIGHT:
    case HTBOTTOMRIGHT:
        m_rcTracking.right += delta.cx;
        break;
    default:
        break;
    }
    switch (m_nMode)
    {
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
        m_rcTracking.top += delta.cy;
        break;
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        m_rcTracking.bottom += delta.cy;
        break;
    default:
        break;
    }
    if (m_rcTracking.Size() == m_rcWindow.Size() || !Meets(m_rcTracking, s_pfnGetWorkArea(m_rcWindow)))
        return;
    m_pToolBar->Resize(m_rcTracking, m_nMode);
    m_pToolBar->GetWindowRect(&m_rcWindow);
    m_pToolBar->Redraw(nullptr, TRUE);
}
