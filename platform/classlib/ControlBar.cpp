#include "classlib/ControlBar.h"

#include "classlib/DC.h"
#include "classlib/FrameWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSizeMessage)
    ON_MESSAGE(WM_NCPAINT, OnNcPaintMessage)
END_MESSAGE_MAP()

CRect CControlBar::GetEdgeWidths() const
{
    return CRect((m_dwStyle & CBRS_BORDER_LEFT) ? kEdgeWidth : 0, (m_dwStyle & CBRS_BORDER_TOP) ? kEdgeWidth : 0,
                 (m_dwStyle & CBRS_BORDER_RIGHT) ? kEdgeWidth : 0, (m_dwStyle & CBRS_BORDER_BOTTOM) ? kEdgeWidth : 0);
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    const CRect edges = GetEdgeWidths();
    CSize size(edges.left + edges.right + m_cxLeftBorder + m_cxRightBorder,
               edges.top + edges.bottom + m_cyTopBorder + m_cyBottomBorder);
    if (bStretch)
    {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CControlBar::CalcInsideRect(CRect& rect, BOOL) const
{
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
}

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    const bool edgesChanged = ((m_dwStyle ^ dwStyle) & CBRS_BORDER_ANY) != 0;
    m_dwStyle = dwStyle;
    if (edgesChanged && m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    const BOOL visible = m_hWnd && (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !visible)
        m_nStateFlags |= delayShow;
    else if (!bShow && visible)
        m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayShow)
        return TRUE;
    return m_hWnd && (GetStyle() & WS_VISIBLE) != 0 && !(m_nStateFlags & delayHide);
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    if (CFrameWnd* frame = GetParentFrame())
        return frame;
    CWnd* owner = GetOwner();
    return owner && owner->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(owner) : nullptr;
}

BOOL CControlBar::ApplyDelayedShow()
{
    const UINT pending = m_nStateFlags & (delayHide | delayShow);
    m_nStateFlags &= ~(delayHide | delayShow);
    if (!pending || !m_hWnd)
        return FALSE;
    const BOOL show = (pending & delayShow) != 0;
    if (show == ((GetStyle() & WS_VISIBLE) != 0))
        return FALSE;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    return TRUE;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // The frame lays itself out before its bars get their turn: a bar that changed must ask for its own layout.
    if (ApplyDelayedShow())
        if (CFrameWnd* frame = GetDockingFrame())
            frame->RecalcLayout();
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    if (CFrameWnd* target = GetDockingFrame())
        OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
    return 0;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    const DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    if (!layout || !align || !(GetStyle() & WS_VISIBLE))
        return 0;
    const BOOL horizontal = (align & CBRS_ORIENT_HORZ) != 0;
    const CSize size = CalcFixedLayout(layout->bStretch, horizontal);
    CRect strip(layout->rect);
    CRect& free = *reinterpret_cast<CRect*>(&layout->rect);
    if (horizontal)
    {
        const int height = std::min(static_cast<int>(size.cy), std::max(0, free.Height()));
        if (!layout->bStretch)
            strip.right = strip.left + std::min(static_cast<int>(size.cx), strip.Width());
        if (align & CBRS_ALIGN_TOP)
        {
            strip.bottom = strip.top + height;
            free.top += height;
        }
        else
        {
            strip.top = strip.bottom - height;
            free.bottom -= height;
        }
        layout->sizeTotal.cy += height;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, static_cast<LONG>(strip.Width()));
    }
    else
    {
        const int width = std::min(static_cast<int>(size.cx), std::max(0, free.Width()));
        if (!layout->bStretch)
            strip.bottom = strip.top + std::min(static_cast<int>(size.cy), strip.Height());
        if (align & CBRS_ALIGN_LEFT)
        {
            strip.right = strip.left + width;
            free.left += width;
        }
        else
        {
            strip.left = strip.right - width;
            free.right -= width;
        }
        layout->sizeTotal.cx += width;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, static_cast<LONG>(strip.Height()));
    }
    AfxRepositionWindow(layout, m_hWnd, &strip);
    return 0;
}

LRESULT CControlBar::OnNcCalcSizeMessage(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default();
    // Both forms carry the proposed window rectangle first: the edges come off it.
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (wParam)
        rect = &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
    const CRect edges = GetEdgeWidths();
    rect->left += edges.left;
    rect->top += edges.top;
    rect->right = std::max(rect->left, rect->right - edges.right);
    rect->bottom = std::max(rect->top, rect->bottom - edges.bottom);
    return result;
}

LRESULT CControlBar::OnNcPaintMessage(WPARAM, LPARAM)
{
    Default();
    if (!(m_dwStyle & CBRS_BORDER_ANY))
        return 0;
    CRect window;
    GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (!hdc)
        return 0;
    // An etched line: shadow outside, highlight inside, on each side the style names.
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    CDC* dc = CDC::FromHandle(hdc);
    if (m_dwStyle & CBRS_BORDER_TOP)
    {
        dc->FillSolidRect(window.left, window.top, window.Width(), 1, shadow);
        dc->FillSolidRect(window.left, window.top + 1, window.Width(), 1, light);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
    {
        dc->FillSolidRect(window.left, window.bottom - 2, window.Width(), 1, shadow);
        dc->FillSolidRect(window.left, window.bottom - 1, window.Width(), 1, light);
    }
    if (m_dwStyle & CBRS_BORDER_LEFT)
    {
        dc->FillSolidRect(window.left, window.top, 1, window.Height(), shadow);
        dc->FillSolidRect(window.left + 1, window.top, 1, window.Height(), light);
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT)
    {
        dc->FillSolidRect(window.right - 2, window.top, 1, window.Height(), shadow);
        dc->FillSolidRect(window.right - 1, window.top, 1, window.Height(), light);
    }
    ::ReleaseDC(m_hWnd, hdc);
    return 0;
}
