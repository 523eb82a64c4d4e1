#include "framework/markup/MarkupScrollBar.h"

#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPartDrawing.h"
#include "framework/markup/MarkupScrollViewer.h"
#include "framework/markup/MarkupType.h"

#include "classlib/ModalLoop.h"
#include "classlib/RefPtr.h"

#include <windowsx.h>

#include <algorithm>

IMPLEMENT_MARKUP_TYPE(COSMMarkupScrollBar, COSMMarkupControl, nullptr, nullptr)

// One press being tracked: what the loop needs between messages.
struct COSMMarkupScrollBar::Tracking
{
    BOOL pressedInside = FALSE;
    CRect rect{0, 0, 0, 0};
    int code = -1;
    UINT_PTR timer = 0;
    int thumbOffset = 0;
    int lastThumbPixel = 0;
    int currentPos = 0;
    int newPos = 0;
    HWND host = nullptr;
    BOOL thumb = FALSE;
    PositionRecord* pos = nullptr;
    // The bar left its viewer: the loop ends at its next turn.
    BOOL ended = FALSE;
};

namespace {

// The visual style's parts and states of the "SCROLLBAR" class.
const int kArrowPart = 1;
const int kThumbPartHorizontal = 2;
const int kThumbPartVertical = 3;
const int kPagePartsHorizontal[2] = {4, 5};
const int kPagePartsVertical[2] = {6, 7};
const int kGripperPartHorizontal = 8;
const int kGripperPartVertical = 9;
// A thumb shows its grip only above this length.
const int kGripperMinimumThumb = 13;

// Where the along-the-bar edges of a rectangle are.
LONG& AlongStart(CRect& rect, BOOL vertical)
{
    return vertical ? rect.top : rect.left;
}

LONG& AlongEnd(CRect& rect, BOOL vertical)
{
    return vertical ? rect.bottom : rect.right;
}

}  // namespace

COSMMarkupScrollBar::COSMMarkupScrollBar()
{
    ZeroMemory(&m_info, sizeof(m_info));
    m_info.cbSize = sizeof(m_info);
}

COSMMarkupScrollBar::~COSMMarkupScrollBar() = default;

// ---- Layout ---------------------------------------------------------------------------------------------------

CSize COSMMarkupScrollBar::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    if (m_orientation == Vertical)
        return CSize(::GetSystemMetrics(SM_CXVSCROLL), 0);
    return CSize(0, ::GetSystemMetrics(SM_CYHSCROLL));
}

CSize COSMMarkupScrollBar::ArrangeOverride(int width, int height)
{
    CalcScrollBarInfo(CRect(0, 0, width, height));
    return CSize(width, height);
}

void COSMMarkupScrollBar::CalcScrollBarInfo(const CRect& rect)
{
    PositionRecord& r = m_pos;
    r.bar = rect;
    r.vertical = m_orientation == Vertical;
    int arrowMetric;
    if (r.vertical)
    {
        r.trackStart = rect.top;
        r.trackEnd = rect.bottom;
        r.crossStart = rect.left;
        r.crossEnd = rect.right;
        arrowMetric = ::GetSystemMetrics(SM_CYVSCROLL);
    }
    else
    {
        r.trackStart = rect.left;
        r.trackEnd = rect.right;
        r.crossStart = rect.top;
        r.crossEnd = rect.bottom;
        arrowMetric = ::GetSystemMetrics(SM_CXHSCROLL);
    }
    r.minimum = m_info.nMin;
    r.maximum = m_info.nMax;
    r.page = static_cast<int>(m_info.nPage);
    r.position = m_info.nPos;
    const int range = r.maximum - r.minimum + 1;

    const int arrow = std::min((r.trackEnd - r.trackStart) / 2, arrowMetric);
    r.firstArrowEnd = r.trackStart + arrow;
    r.secondArrowStart = r.trackEnd - arrow;

    r.thumbLength = arrowMetric;
    if (r.page != 0 && range != 0)
        r.thumbLength = std::max(::MulDiv(r.secondArrowStart - r.firstArrowEnd, r.page, range), arrowMetric / 2);

    r.trackMinimum = r.trackStart + arrow;
    r.usableLength = r.trackEnd - arrow - r.thumbLength - r.trackMinimum;

    const int pageOrOne = std::max(r.page, 1);
    r.thumbStart = r.trackMinimum;
    if (range != pageOrOne)
        r.thumbStart += ::MulDiv(r.position - r.minimum, r.usableLength, range - pageOrOne);
    r.thumbEnd = r.thumbStart + r.thumbLength;
}

void COSMMarkupScrollBar::SetScrollInfo(const SCROLLINFO& info)
{
    if (info.nMax == m_info.nMax && info.nPage == m_info.nPage && info.nPos == m_info.nPos)
        return;
    m_info = info;
    SetArrangeDirty();
}

void COSMMarkupScrollBar::GetScrollInfo(SCROLLINFO* info) const
{
    if (info)
        *info = m_info;
}

BOOL COSMMarkupScrollBar::IsEnabled() const
{
    return m_pos.maximum - m_pos.minimum - m_pos.page + 1 > 0;
}

int COSMMarkupScrollBar::HitTest(int x, int y) const
{
    if (!IsEnabled() || !m_pos.bar.PtInRect(CPoint(x, y)))
        return PartNone;
    return PartAlong(Along(CPoint(x, y)));
}

int COSMMarkupScrollBar::PartAlong(int p) const
{
    if (p < m_pos.firstArrowEnd)
        return PartFirstArrow;
    if (p >= m_pos.secondArrowStart)
        return PartSecondArrow;
    if (p < m_pos.thumbStart)
        return PartFirstPage;
    if (p < m_pos.thumbEnd)
        return PartThumb;
    return PartSecondPage;
}

int COSMMarkupScrollBar::PosFromPixel(int pixel) const
{
    const PositionRecord& r = m_pos;
    const int pageLess = std::max(r.page, 1) - 1;
    if (pixel < r.trackMinimum)
        return r.minimum;
    if (pixel >= r.trackMinimum + r.usableLength)
        return r.maximum - pageLess;
    if (r.usableLength == 0)
        return r.minimum - 1;
    return r.minimum + ::MulDiv(r.maximum - r.minimum - pageLess, pixel - r.trackMinimum, r.usableLength);
}

CRect COSMMarkupScrollBar::PartRect(int start, int end) const
{
    if (m_pos.vertical)
        return CRect(m_pos.crossStart, start, m_pos.crossEnd, end);
    return CRect(start, m_pos.crossStart, end, m_pos.crossEnd);
}

CRect COSMMarkupScrollBar::CalcTrackDragRect() const
{
    // The thumb keeps following the mouse well beside the bar; further away it snaps back.
    const int across = (m_pos.crossEnd - m_pos.crossStart) * 8;
    const int along = ::GetSystemMetrics(m_pos.vertical ? SM_CYVTHUMB : SM_CXHTHUMB) * 2;
    CRect rect = PartRect(m_pos.trackStart, m_pos.trackEnd);
    if (m_pos.vertical)
        rect.InflateRect(across, along);
    else
        rect.InflateRect(along, across);
    return rect;
}

// ---- Mouse ----------------------------------------------------------------------------------------------------

void COSMMarkupScrollBar::OnMouseLeave(COSMMarkupMouseEventArgs* args)
{
    if (m_pos.hotPart != PartNone)
    {
        m_pos.hotPart = PartNone;
        InvalidateVisual();
    }
    COSMMarkupControl::OnMouseLeave(args);
}

void COSMMarkupScrollBar::OnMouseMove(COSMMarkupMouseEventArgs* args)
{
    const CPoint point = GetPosition(args, this);
    const int part = HitTest(point.x, point.y);
    if (part != m_pos.hotPart)
    {
        m_pos.hotPart = part;
        InvalidateVisual();
    }
    args->handled = TRUE;
}

void COSMMarkupScrollBar::OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args)
{
    args->handled = TRUE;
    if (IsEnabled())
        TrackScrollBar(GetPosition(args, this), ::GetKeyState(VK_SHIFT) < 0);
}

void COSMMarkupScrollBar::SendScroll(int code, int position)
{
    if (COSMMarkupScrollViewer* viewer = MarkupDynamicCast<COSMMarkupScrollViewer>(GetLogicalParent()))
        viewer->Scroll(m_orientation == Vertical, code, position);
}

void COSMMarkupScrollBar::OnLeaveViewer()
{
    SetLogicalParent(nullptr);
    if (m_pTracking)
        m_pTracking->ended = TRUE;
    COSMMarkupContext* context = GetMarkupContext();
    if (context && context->GetCaptureElement() == this)
        context->ReleaseMouseCapture();
}

CPoint COSMMarkupScrollBar::ToElement(CPoint client) const
{
    COSMMarkupMouseEventArgs args;
    args.x = client.x;
    args.y = client.y;
    return GetPosition(&args, this);
}

// ---- Tracking -------------------------------------------------------------------------------------------------

void COSMMarkupScrollBar::TrackScrollBar(CPoint point, BOOL direct)
{
    COSMMarkupContext* context = GetMarkupContext();
    if (m_pTracking || !context || !IsEnabled())
        return;
    const HWND host = context->GetHostWindow();
    if (!host || !::IsWindow(host))
        return;
    // What the loop dispatches may drop the bar from its viewer or destroy the tree: the bar stays alive until the
    // loop is over.
    const RefPtr<COSMMarkupObject> hold = RefPtr<COSMMarkupObject>::Retain(this);

    m_pTracking.reset(new Tracking);
    Tracking& t = *m_pTracking;
    t.host = host;
    t.pos = &m_pos;

    PositionRecord& r = m_pos;
    const int p = Along(point);
    const int part = PartAlong(p);
    // Each button part's code and the rectangle the mouse must stay in.
    const struct
    {
        int part, code, start, end;
    } buttons[] = {
        {PartFirstArrow, SB_LINEUP, r.trackStart, r.firstArrowEnd},
        {PartSecondArrow, SB_LINEDOWN, r.secondArrowStart, r.trackEnd},
        {PartFirstPage, SB_PAGEUP, r.firstArrowEnd, r.thumbStart},
        {PartSecondPage, SB_PAGEDOWN, r.thumbEnd, r.secondArrowStart},
    };
    for (const auto& button : buttons)
    {
        if (button.part == part)
        {
            t.code = button.code;
            t.rect = PartRect(button.start, button.end);
        }
    }
    r.hotPart = part;

    const BOOL thumb = part == PartThumb || (direct && (part == PartFirstPage || part == PartSecondPage));
    if (thumb)
    {
        if (r.secondArrowStart - r.firstArrowEnd <= r.thumbLength)
        {
            m_pTracking.reset();
            return;
        }
        t.code = SB_THUMBPOSITION;
        t.rect = CalcTrackDragRect();
        r.dragThumbStart = r.thumbStart;
        t.lastThumbPixel = r.thumbStart;
        t.currentPos = t.newPos = r.position;
        t.thumbOffset = direct ? -(r.thumbLength / 2) : r.thumbStart - p;
        t.thumb = TRUE;
        context->CaptureMouse(this);
        SendScroll(SB_THUMBTRACK, t.currentPos);
    }

    if (!t.ended)
    {
        context->CaptureMouse(this);
        if (t.thumb)
            TrackThumb(WM_LBUTTONDOWN, MK_LBUTTON, point);
        else
            TrackButton(WM_LBUTTONDOWN, MK_LBUTTON, point);
        RunTrackingLoop();
    }

    const BOOL hostAlive = ::IsWindow(host);
    if (t.timer && hostAlive)
        ::KillTimer(host, RepeatTimerId);
    m_pTracking.reset();
    // A loop ended by a quit message or a vanished window leaves no capture behind for the bar.
    if (GetMarkupContext() && GetMarkupContext()->GetCaptureElement() == this)
        GetMarkupContext()->ReleaseMouseCapture();
    if (hostAlive)
    {
        CPoint cursor;
        ::GetCursorPos(&cursor);
        ::ScreenToClient(host, &cursor);
        const CPoint at = ToElement(cursor);
        r.hotPart = HitTest(at.x, at.y);
        InvalidateVisual();
    }
}

BOOL COSMMarkupScrollBar::ShouldTrack() const
{
    const COSMMarkupContext* context = GetMarkupContext();
    return m_pTracking && !m_pTracking->ended && ::IsWindow(m_pTracking->host) && context &&
           context->GetCaptureElement() == this;
}

void COSMMarkupScrollBar::RunTrackingLoop()
{
    const HWND host = m_pTracking->host;
    CModalLoop loop;
    // Repaint first, so the bar and the content follow the mouse; a window that never validates cannot keep the
    // loop here.
    loop.PaintFirst(64);
    loop.Run([this] { return !ShouldTrack(); },
             [&](MSG& msg) {
                 if (!::IsWindow(host))
                     return CModalLoop::Stop;
                 if (msg.message == WM_TIMER && msg.hwnd == host && msg.wParam == RepeatTimerId)
                 {
                     OnRepeatTimer();
                     return CModalLoop::Handled;
                 }
                 if (msg.message >= WM_MOUSEMOVE && msg.message <= WM_MBUTTONDBLCLK)
                 {
                     CPoint client(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
                     if (msg.hwnd && msg.hwnd != host)
                         ::MapWindowPoints(msg.hwnd, host, &client, 1);
                     const CPoint point = ToElement(client);
                     if (m_pTracking->thumb)
                         TrackThumb(msg.message, msg.wParam, point);
                     else
                         TrackButton(msg.message, msg.wParam, point);
                     return CModalLoop::Handled;
                 }
                 return CModalLoop::Dispatch;
             });
}

BOOL COSMMarkupScrollBar::UpdatePressed(CPoint point)
{
    Tracking& t = *m_pTracking;
    // A page area ends at the thumb, so repeating stops when the thumb reaches the mouse.
    if (t.code == SB_PAGEUP)
        AlongEnd(t.rect, m_pos.vertical) = m_pos.thumbStart;
    else if (t.code == SB_PAGEDOWN)
        AlongStart(t.rect, m_pos.vertical) = m_pos.thumbEnd;
    const BOOL inside = t.rect.PtInRect(point);
    if (inside != t.pressedInside)
    {
        t.pressedInside = inside;
        InvalidateVisual();
    }
    return inside;
}

void COSMMarkupScrollBar::TrackButton(UINT message, WPARAM wParam, CPoint point)
{
    Tracking& t = *m_pTracking;
    if (t.code < 0)
        return;
    const BOOL wasInside = t.pressedInside;
    const BOOL inside = UpdatePressed(point);
    const UINT doubleClick = ::GetDoubleClickTime();
    UINT delay;
    if (message == WM_LBUTTONDOWN)
    {
        delay = doubleClick * 4 / 5;
    }
    else if (message == WM_MOUSEMOVE)
    {
        delay = doubleClick / 10;
    }
    else if (message == WM_LBUTTONUP)
    {
        EndScroll();
        return;
    }
    else
    {
        return;
    }
    if (inside && !wasInside)
    {
        t.timer = ::SetTimer(t.host, RepeatTimerId, delay, nullptr) ? RepeatTimerId : 0;
        SendScroll(t.code, 0);
    }
}

void COSMMarkupScrollBar::OnRepeatTimer()
{
    Tracking& t = *m_pTracking;
    if (t.code < 0 || t.thumb)
        return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ::ScreenToClient(t.host, &cursor);
    if (UpdatePressed(ToElement(cursor)))
    {
        t.timer = ::SetTimer(t.host, RepeatTimerId, ::GetDoubleClickTime() / 10, nullptr) ? RepeatTimerId : 0;
        SendScroll(t.code, 0);
    }
}

void COSMMarkupScrollBar::TrackThumb(UINT message, WPARAM wParam, CPoint point)
{
    Tracking& t = *m_pTracking;
    if (t.code < 0)
        return;
    const PositionRecord& r = m_pos;
    int pixel = r.dragThumbStart;
    if (t.rect.PtInRect(point))
        pixel = std::min(std::max(Along(point) + t.thumbOffset, r.trackMinimum), r.trackMinimum + r.usableLength);
    MoveThumb(pixel);
    if (m_pTracking && (message == WM_LBUTTONUP || (message == WM_MOUSEMOVE && !(wParam & MK_LBUTTON))))
        EndScroll();
}

void COSMMarkupScrollBar::MoveThumb(int pixel)
{
    Tracking& t = *m_pTracking;
    if (pixel == t.lastThumbPixel)
        return;
    const int usableEnd = m_pos.trackMinimum + m_pos.usableLength;
    int at = pixel;
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        t.newPos = PosFromPixel(at);
        if (t.newPos == t.currentPos)
            break;
        SendScroll(SB_THUMBTRACK, t.newPos);
        t.currentPos = t.newPos;
        if (at < usableEnd)
            break;
        at = usableEnd;
    }
    // The viewer's arrange put the thumb where the position says; while dragging it stays under the mouse.
    t.lastThumbPixel = pixel;
    m_pos.thumbStart = pixel;
    m_pos.thumbEnd = pixel + m_pos.thumbLength;
    InvalidateVisual();
}

void COSMMarkupScrollBar::EndScroll()
{
    Tracking& t = *m_pTracking;
    t.code = -1;
    COSMMarkupContext* context = GetMarkupContext();
    if (context && context->GetCaptureElement() == this)
        context->ReleaseMouseCapture();
    if (t.thumb)
    {
        SendScroll(SB_THUMBPOSITION, t.currentPos);
        InvalidateVisual();
    }
    else if (t.timer)
    {
        ::KillTimer(t.host, RepeatTimerId);
        t.timer = 0;
    }
    SendScroll(SB_ENDSCROLL, 0);
}

// ---- Drawing --------------------------------------------------------------------------------------------------

void COSMMarkupScrollBar::OnRender(COSMMarkupDrawingContext* dc)
{
    const PositionRecord& r = m_pos;
    if (r.trackEnd - r.trackStart < 1)
        return;
    int pressed = PartNone;
    if (m_pTracking)
    {
        if (m_pTracking->thumb)
            pressed = PartThumb;
        else if (m_pTracking->pressedInside)
            pressed = r.hotPart;
    }
    const int hot = m_pTracking ? PartNone : r.hotPart;

    int thumbStart = r.thumbStart;
    int thumbEnd = r.thumbEnd;
    if (!IsEnabled() || thumbEnd > r.secondArrowStart)
        thumbStart = thumbEnd = r.firstArrowEnd;
    // Along the bar: first arrow, first page area, thumb, second page area, second arrow.
    const CRect rects[5] = {PartRect(r.trackStart, r.firstArrowEnd), PartRect(r.firstArrowEnd, thumbStart),
                            PartRect(thumbStart, thumbEnd), PartRect(thumbEnd, r.secondArrowStart),
                            PartRect(r.secondArrowStart, r.trackEnd)};

    HDC hdc = dc->GetDC();
    if (!hdc)
        return;
    COSMVisualStyleWrapper style;
    const COSMMarkupContext* context = GetMarkupContext();
    style.OpenThemeData(context ? context->GetHostWindow() : nullptr, L"SCROLLBAR");
    if (IsMarkupVisualStyleOn(style))
        DrawThemed(hdc, style, rects, pressed, hot);
    else
        DrawClassic(hdc, rects, pressed);
    dc->ReleaseDC(hdc);
}

void COSMMarkupScrollBar::DrawThemed(HDC dc, COSMVisualStyleWrapper& style, const CRect* rects, int pressed, int hot)
{
    const COSMMarkupPartDrawing& drawing = GetMarkupPartDrawing();
    const BOOL disabled = !IsEnabled();
    const BOOL vertical = m_pos.vertical;
    // Arrow states: a base per direction plus 0 normal, 1 hot, 2 pressed, 3 disabled.
    auto arrowState = [&](int base, int part) {
        return base + (disabled ? 3 : pressed == part ? 2 : hot == part ? 1 : 0);
    };
    // Page areas, thumb and grip: 1 normal, 2 hot, 3 pressed, 4 disabled.
    auto areaState = [&](int part) { return disabled ? 4 : pressed == part ? 3 : hot == part ? 2 : 1; };

    const int* pageParts = vertical ? kPagePartsVertical : kPagePartsHorizontal;
    if (!rects[0].IsRectEmpty())
        drawing.DrawThemeBackground(style, dc, kArrowPart, arrowState(vertical ? 1 : 9, PartFirstArrow), &rects[0]);
    if (!rects[1].IsRectEmpty())
        drawing.DrawThemeBackground(style, dc, pageParts[0], areaState(PartFirstPage), &rects[1]);
    if (!rects[3].IsRectEmpty())
        drawing.DrawThemeBackground(style, dc, pageParts[1], areaState(PartSecondPage), &rects[3]);
    if (!rects[4].IsRectEmpty())
        drawing.DrawThemeBackground(style, dc, kArrowPart, arrowState(vertical ? 5 : 13, PartSecondArrow), &rects[4]);
    if (!rects[2].IsRectEmpty())
    {
        const int state = areaState(PartThumb);
        drawing.DrawThemeBackground(style, dc, vertical ? kThumbPartVertical : kThumbPartHorizontal, state, &rects[2]);
        const int length = vertical ? rects[2].Height() : rects[2].Width();
        if (length > kGripperMinimumThumb)
        {
            drawing.DrawThemeBackground(style, dc, vertical ? kGripperPartVertical : kGripperPartHorizontal, state,
                                        &rects[2]);
        }
    }
}

void COSMMarkupScrollBar::DrawClassic(HDC dc, const CRect* rects, int pressed)
{
    const COSMMarkupPartDrawing& drawing = GetMarkupPartDrawing();
    const BOOL disabled = !IsEnabled();
    const BOOL vertical = m_pos.vertical;
    auto arrowStyle = [&](UINT direction, int part) {
        return direction | (disabled ? DFCS_INACTIVE : 0) | (pressed == part ? DFCS_PUSHED : 0);
    };
    CRect first = rects[0];
    CRect second = rects[4];
    if (!first.IsRectEmpty())
        drawing.DrawFrameControl(dc, &first, DFC_SCROLL,
                                 arrowStyle(vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, PartFirstArrow));
    if (!second.IsRectEmpty())
        drawing.DrawFrameControl(dc, &second, DFC_SCROLL,
                                 arrowStyle(vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT, PartSecondArrow));

    const CRect track = PartRect(m_pos.firstArrowEnd, m_pos.secondArrowStart);
    if (!track.IsRectEmpty())
    {
        const COLORREF oldBack = ::SetBkColor(dc, ::GetSysColor(COLOR_3DHILIGHT));
        const COLORREF oldText = ::SetTextColor(dc, ::GetSysColor(COLOR_3DFACE));
        const HWND desktop = ::GetDesktopWindow();
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutA(desktop, WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(desktop), SMTO_ABORTIFHUNG, 200, &answer);
        // Wine's desktop answers with no brush.
        HBRUSH brush = answer ? reinterpret_cast<HBRUSH>(answer) : ::GetSysColorBrush(COLOR_SCROLLBAR);
        ::FillRect(dc, &track, brush);
        ::SetBkColor(dc, oldBack);
        ::SetTextColor(dc, oldText);
        if (pressed == PartFirstPage && !rects[1].IsRectEmpty())
            ::InvertRect(dc, &rects[1]);
        if (pressed == PartSecondPage && !rects[3].IsRectEmpty())
            ::InvertRect(dc, &rects[3]);
    }
    CRect thumb = rects[2];
    if (!track.IsRectEmpty() && !thumb.IsRectEmpty())
    {
        ::FillRect(dc, &thumb, ::GetSysColorBrush(COLOR_BTNFACE));
        ::DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
}
