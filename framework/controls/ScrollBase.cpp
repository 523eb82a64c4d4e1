#include "framework/controls/ScrollBase.h"

#include "classlib/ModalLoop.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ScrollBarPaintManager.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>

namespace {

// Along the bar's axis: y of a vertical bar, x of a horizontal one.
int AlongOf(const ScrollBarGeometry& geometry, CPoint point)
{
    return geometry.vertical ? point.y : point.x;
}

LONG& AlongStartOf(RECT& rect, BOOL vertical)
{
    return vertical ? rect.top : rect.left;
}

LONG& AlongEndOf(RECT& rect, BOOL vertical)
{
    return vertical ? rect.bottom : rect.right;
}

bool IsScrollMouseMessage(UINT message)
{
    return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
}

}  // namespace

COSMScrollBase::COSMScrollBase()
{
    m_geometry.vertical = TRUE;
}

COSMScrollBase::~COSMScrollBase() = default;

void COSMScrollBase::CalcScrollBarInfo(const RECT* rect, ScrollBarGeometry* geometry, const SCROLLINFO* info)
{
    ScrollBarGeometry& g = *geometry;
    COSMScrollBarPaintManager* painter = GetScrollBarPaintManager();
    g.rect = *rect;
    g.popupStart = 0;
    if (g.vertical)
    {
        g.pxTop = rect->top;
        g.pxBottom = rect->bottom;
        g.pxLeft = rect->left;
        g.pxRight = rect->right;
    }
    else
    {
        g.pxTop = rect->left;
        g.pxBottom = rect->right;
        g.pxLeft = rect->top;
        g.pxRight = rect->bottom;
    }
    const int arrowMetric = painter ? painter->GetArrowLength(g.vertical) : 0;
    g.posMin = info->nMin;
    g.posMax = info->nMax;
    g.page = static_cast<int>(info->nPage);
    g.pos = info->nPos;
    g.thumbSize = arrowMetric;

    // A bar shorter than two arrows shares its length between them.
    const int half = (g.pxBottom - g.pxTop) / 2;
    const int arrow = half < arrowMetric ? half : arrowMetric;
    g.upArrowEnd = g.pxTop + arrow;
    g.downArrowStart = g.pxBottom - arrow;

    const int range = g.posMax - g.posMin + 1;
    if (g.page != 0 && range != 0)
        g.thumbSize = std::max(arrowMetric / 2, ::MulDiv(g.downArrowStart - g.upArrowEnd, g.page, range));
    if (painter && painter->GetFixedThumbLength() > 0)
        g.thumbSize = painter->GetFixedThumbLength();

    g.trackStart = g.pxTop + arrow;
    g.thumbTravel = g.pxBottom - arrow - g.thumbSize - g.trackStart;
    const int span = range - (g.page != 0 ? g.page : 1);
    g.thumbStart = span != 0 ? g.trackStart + ::MulDiv(g.pos - g.posMin, g.thumbTravel, span) : g.trackStart - 1;
    g.thumbEnd = g.thumbStart + g.thumbSize;
}

void COSMScrollBase::RecalcScrollBar()
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(&info);
    RECT rect{};
    GetScrollBarRect(&rect);
    CalcScrollBarInfo(&rect, &m_geometry, &info);
}

int COSMScrollBase::HitTestScrollBar(CPoint point) const
{
    const ScrollBarGeometry& g = m_geometry;
    if (!::PtInRect(&g.rect, point))
        return kHitNone;
    const int v = AlongOf(g, point);
    // A host's own geometry may leave part of its rectangle beyond the bar's extent: that part is on no part.
    if (v < g.upArrowEnd)
        return v < g.pxTop ? kHitNoPart : kHitFirstArrow;
    if (g.popupStart > 0 && v > g.popupStart)
        return kHitPopup;
    if (v >= g.pxBottom)
        return kHitNoPart;
    if (v >= g.downArrowStart)
        return kHitSecondArrow;
    if (v < g.thumbStart)
        return kHitFirstPage;
    if (v < g.thumbEnd)
        return kHitThumb;
    return kHitSecondPage;
}

int COSMScrollBase::GetScrollBarStyle()
{
    if (m_explicitStyle != 0)
        return m_explicitStyle;
    COSMScrollBarPaintManager* painter = GetScrollBarPaintManager();
    COSMPaintManager* owner = painter ? painter->GetOwner() : nullptr;
    const int theme = owner ? owner->GetThemeId() : 0;
    if (theme == 5 || theme == 6)
        return kStyleThemed;
    return theme != 0 ? kStyleVisual : kStyleFlat;
}

void COSMScrollBase::SetTicks(const double* ticks, int count)
{
    m_ticks.assign(ticks, ticks + std::max(count, 0));
}

int COSMScrollBase::GetFixedThumbLength()
{
    COSMScrollBarPaintManager* painter = GetScrollBarPaintManager();
    return painter ? painter->GetFixedThumbLength() : 0;
}

void COSMScrollBase::PerformTrackInit(HWND window, CPoint point, ScrollBarGeometry* geometry, BOOL pageJump)
{
    if (m_track)
        return;  // a press is already tracked (a re-entrant press from a dispatched message)
    ScrollBarGeometry& g = *geometry;
    const int v = AlongOf(g, point);

    auto track = std::make_unique<ScrollBarTrackInfo>();
    *track = ScrollBarTrackInfo{};
    track->command = -1;
    track->geometry = geometry;
    track->window = window;
    track->targetRect = g.rect;
    RECT& target = track->targetRect;

    bool thumbDrag = false;
    bool offsetSet = false;
    if (v < g.upArrowEnd)
    {
        g.hitPart = kHitFirstArrow;
        track->command = SB_LINEUP;
        AlongEndOf(target, g.vertical) = g.upArrowEnd;
    }
    else if (v >= g.downArrowStart)
    {
        g.hitPart = kHitSecondArrow;
        track->command = SB_LINEDOWN;
        AlongStartOf(target, g.vertical) = g.downArrowStart;
    }
    else if (v < g.thumbStart)
    {
        g.hitPart = kHitFirstPage;
        track->command = SB_PAGEUP;
        AlongStartOf(target, g.vertical) = g.upArrowEnd;
        AlongEndOf(target, g.vertical) = g.thumbStart;
    }
    else if (v >= g.thumbEnd)
    {
        g.hitPart = kHitSecondPage;
        track->command = SB_PAGEDOWN;
        AlongStartOf(target, g.vertical) = g.thumbEnd;
        AlongEndOf(target, g.vertical) = g.downArrowStart;
    }
    else
    {
        g.hitPart = kHitThumb;
        thumbDrag = true;
    }
    if (!thumbDrag && pageJump && (track->command == SB_PAGEUP || track->command == SB_PAGEDOWN))
    {
        // Shift on a page area: the thumb's centre jumps to the cursor and follows it.
        g.hitPart = kHitThumb;
        thumbDrag = true;
        track->dragOffset = -(g.thumbSize / 2);
        offsetSet = true;
    }

    if (thumbDrag)
    {
        if (g.downArrowStart - g.upArrowEnd <= g.thumbSize)
            return;  // no room for a thumb: the press does nothing
        track->command = SB_THUMBPOSITION;
        // The thumb may wander well off the bar before it snaps back.
        const int across = 8 * (g.pxRight - g.pxLeft);
        const int along = 2 * ::GetSystemMetrics(g.vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
        target = g.rect;
        if (g.vertical)
            ::InflateRect(&target, across, along);
        else
            ::InflateRect(&target, along, across);
        g.dragThumbStart = g.thumbStart;
        track->lastThumbPx = g.thumbStart;
        track->lastPos = track->newPos = g.pos;
        if (!offsetSet)
            track->dragOffset = g.thumbStart - v;
        track->thumbDragging = TRUE;
    }

    m_track = track.get();
    ::SetCapture(window);
    if (thumbDrag)
    {
        DoScroll(SB_THUMBTRACK, g.pos);
        if (m_track)
        {
            OnThumbMove(WM_LBUTTONDOWN, MK_LBUTTON, point);
            RedrawScrollBar();
        }
    }
    else
    {
        OnAutoRepeat(WM_LBUTTONDOWN, point);
    }

    // Releasing the button must not close the popup bars the press happens in.
    COSMMouseManager* mouseManager = CreateMouseManager();
    mouseManager->Lock();
    if (m_track && ::GetCapture() == window)
        RunTrackLoop(*track);
    mouseManager->Unlock();

    const BOOL windowAlive = ::IsWindow(window);
    // A loop that ended without the release (a quit message, the capture taken away) still tells the host the
    // press is over.
    if (m_track && windowAlive)
        EndTrack(FALSE);
    if (track->timerId && windowAlive)
        ::KillTimer(window, kAutoRepeatTimerId);
    m_track = nullptr;
    track.reset();
    if (!windowAlive)
        return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ::ScreenToClient(window, &cursor);
    g.hitPart = HitTestScrollBar(cursor);
    RedrawScrollBar();
    WaitForAnimation(window);
}

void COSMScrollBase::RunTrackLoop(ScrollBarTrackInfo& track)
{
    const HWND window = track.window;
    CModalLoop loop;
    loop.EndOnCaptureLoss(window);
    loop.Run([&] { return m_track != &track || !::IsWindow(window); },
             [&](MSG& msg) {
                 if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == kAutoRepeatTimerId)
                 {
                     OnAutoRepeatTimer();
                     return CModalLoop::Handled;
                 }
                 if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == kAnimationTimerId)
                 {
                     OnScrollAnimationTimer();
                     return CModalLoop::Handled;
                 }
                 if (IsScrollMouseMessage(msg.message))
                 {
                     CPoint point(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
                     if (msg.hwnd && msg.hwnd != window)
                         ::MapWindowPoints(msg.hwnd, window, &point, 1);
                     if (track.thumbDragging)
                         OnThumbMove(msg.message, msg.wParam, point);
                     else
                         OnAutoRepeat(msg.message, point);
                     return CModalLoop::Handled;
                 }
                 return CModalLoop::Dispatch;
             });
}

void COSMScrollBase::WaitForAnimation(HWND window)
{
    if (!m_animating)
        return;
    CModalLoop loop;
    loop.Run([&] { return !m_animating || !::IsWindow(window); },
             [&](MSG& msg) {
                 if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == kAnimationTimerId)
                 {
                     OnScrollAnimationTimer();
                     return CModalLoop::Handled;
                 }
                 return CModalLoop::Dispatch;
             });
}

void COSMScrollBase::OnAutoRepeat(UINT message, CPoint point)
{
    if (message != 0 && !IsScrollMouseMessage(message))
        return;
    ScrollBarTrackInfo& t = *m_track;
    const ScrollBarGeometry& g = *t.geometry;
    // A page area ends at the thumb, so the repeats stop once the thumb reaches the cursor.
    if (t.command == SB_PAGEUP)
        AlongEndOf(t.targetRect, g.vertical) = g.thumbStart;
    else if (t.command == SB_PAGEDOWN)
        AlongStartOf(t.targetRect, g.vertical) = g.thumbEnd;
    const BOOL inside = ::PtInRect(&t.targetRect, point);
    const bool changed = inside != t.cursorInside;
    if (changed)
    {
        t.cursorInside = inside;
        RedrawScrollBar();
    }

    UINT delay = ::GetDoubleClickTime() / 10;
    if (message == WM_LBUTTONUP)
    {
        EndTrack(FALSE);
        return;
    }
    if (message == WM_LBUTTONDOWN)
    {
        t.timerId = 0;
        delay = ::GetDoubleClickTime() * 4 / 5;
    }
    else if (message != WM_MOUSEMOVE)
    {
        return;
    }
    if (inside && changed)
    {
        // The first repeat waits longer, as a held key does.
        m_repeatInterval = delay;
        t.timerId = ::SetTimer(t.window, kAutoRepeatTimerId, delay, nullptr);
        DoScroll(t.command, 0);
    }
}

void COSMScrollBase::OnAutoRepeatTimer()
{
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_track->window, &cursor);
    OnAutoRepeat(0, cursor);
    if (m_track && m_track->cursorInside)
    {
        m_repeatInterval = ::GetDoubleClickTime() / 10;
        m_track->timerId = ::SetTimer(m_track->window, kAutoRepeatTimerId, m_repeatInterval, nullptr);
        DoScroll(m_track->command, 0);
    }
}

void COSMScrollBase::OnThumbMove(UINT message, WPARAM keys, CPoint point)
{
    ScrollBarTrackInfo& t = *m_track;
    const ScrollBarGeometry& g = *t.geometry;
    const bool away = !::PtInRect(&t.targetRect, point) && GetFixedThumbLength() == 0;
    int pixel;
    if (away)
        pixel = g.dragThumbStart;  // far from the bar the thumb goes back where it was
    else
        pixel = std::min(std::max(AlongOf(g, point) + t.dragOffset, g.trackStart), g.trackStart + g.thumbTravel);
    PlaceThumb(pixel);
    if (m_track && (message == WM_LBUTTONUP || (message != WM_LBUTTONDOWN && !(keys & MK_LBUTTON))))
        EndTrack(away);  // released far away: the position the drag began with
}

void COSMScrollBase::PlaceThumb(int pixel)
{
    ScrollBarTrackInfo& t = *m_track;
    ScrollBarGeometry& g = *t.geometry;
    if (pixel == t.lastThumbPx)
        return;
    const int pageLess = g.page != 0 ? g.page - 1 : 0;
    int position;
    if (pixel < g.trackStart)
        position = g.posMin;
    else if (pixel >= g.trackStart + g.thumbTravel)
        position = g.posMax - pageLess;
    else
        position = g.thumbTravel != 0
                       ? g.posMin + ::MulDiv(g.posMax - g.posMin - pageLess, pixel - g.trackStart, g.thumbTravel)
                       : g.posMin - 1;
    if (position != t.lastPos)
    {
        // The track position SBM_GETSCROLLINFO reports follows the drag.
        t.lastPos = t.newPos = position;
        DoScroll(SB_THUMBTRACK, position);
        if (m_track != &t)
            return;
    }
    g.thumbStart = pixel;
    g.thumbEnd = pixel + g.thumbSize;
    t.lastThumbPx = pixel;
    RedrawScrollBar();
}

void COSMScrollBase::EndTrack(BOOL restore)
{
    ScrollBarTrackInfo& t = *m_track;
    // Detached first: whatever the host does with the codes below, the loop sees the press is over.
    m_track = nullptr;
    if (::GetCapture() == t.window)
        ::ReleaseCapture();
    if (t.thumbDragging)
    {
        if (restore)
            t.lastPos = t.newPos = t.geometry->pos;
        DoScroll(SB_THUMBPOSITION, t.lastPos);
        RedrawScrollBar();
    }
    else if (t.timerId)
    {
        ::KillTimer(t.window, kAutoRepeatTimerId);
        t.timerId = 0;
    }
    DoScroll(SB_ENDSCROLL, 0);
}
