#include "framework/controls/ScrollBarCtrl.h"

#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ScrollBarPaintManager.h"
#include "framework/foundation/BufferDC.h"

IMPLEMENT_DYNAMIC(COSMScrollBarCtrl, CScrollBar)

BEGIN_MESSAGE_MAP(COSMScrollBarCtrl, CScrollBar)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ENABLE()
    ON_WM_CONTEXTMENU()
    ON_WM_SETFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(SBM_SETSCROLLINFO, OnSetScrollInfo)
    ON_MESSAGE(SBM_GETSCROLLINFO, OnGetScrollInfo)
END_MESSAGE_MAP()

COSMScrollBarCtrl::COSMScrollBarCtrl() = default;

COSMScrollBarCtrl::~COSMScrollBarCtrl()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL COSMScrollBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CScrollBar::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    UpdateGeometry();
    return TRUE;
}

BOOL COSMScrollBarCtrl::IsScrollBarEnabled()
{
    return m_hWnd && ::IsWindowEnabled(m_hWnd);
}

CWnd* COSMScrollBarCtrl::GetParentWindow()
{
    return m_hWnd ? GetParent() : nullptr;
}

void COSMScrollBarCtrl::GetScrollInfo(SCROLLINFO* info)
{
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = SIF_ALL;
    if (m_hWnd)
        DefWindowProc(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info));
}

void COSMScrollBarCtrl::GetScrollBarRect(RECT* rect)
{
    ::SetRectEmpty(rect);
    if (m_hWnd)
        ::GetClientRect(m_hWnd, rect);
}

void COSMScrollBarCtrl::DoScroll(int command, int pos)
{
    const HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (parent)
        ::SendMessageA(parent, m_geometry.vertical ? WM_VSCROLL : WM_HSCROLL,
                       MAKEWPARAM(static_cast<WORD>(command), static_cast<WORD>(pos)),
                       reinterpret_cast<LPARAM>(m_hWnd));
}

void COSMScrollBarCtrl::RedrawScrollBar()
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

COSMScrollBarPaintManager* COSMScrollBarCtrl::GetScrollBarPaintManager()
{
    COSMPaintManager* paintManager = COSMPaintManager::GetGlobalPaintManager();
    if (!m_painter || m_painter->GetOwner() != paintManager)
    {
        // The painter keeps its owner's pointer: a replaced process-wide manager needs a painter of its own.
        m_painter = std::make_unique<COSMScrollBarPaintManager>(paintManager);
        m_painter->RefreshMetrics();
    }
    return m_painter.get();
}

void COSMScrollBarCtrl::UpdateGeometry()
{
    if (m_track && m_track->thumbDragging)
        return;
    m_geometry.vertical = (GetStyle() & SBS_VERT) != 0;
    RecalcScrollBar();
}

void COSMScrollBarCtrl::DrawScrollBarCtrl(CDC* dc)
{
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc->m_hDC), 0);
    UpdateGeometry();
    if (COSMScrollBarPaintManager* painter = GetScrollBarPaintManager())
        painter->DrawScrollBar(dc, this);
}

void COSMScrollBarCtrl::OnPaint()
{
    CPaintDC paintDC(this);
    COSMBufferDC dc(paintDC);
    DrawScrollBarCtrl(&dc);
}

LRESULT COSMScrollBarCtrl::OnPrintClient(WPARAM wParam, LPARAM)
{
    CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    if (dc)
        DrawScrollBarCtrl(dc);
    return 1;
}

void COSMScrollBarCtrl::OnEnable(BOOL)
{
    Default();
    Invalidate(FALSE);
}

void COSMScrollBarCtrl::OnContextMenu(CWnd*, CPoint)
{
    Default();
    Invalidate(FALSE);
}

void COSMScrollBarCtrl::OnSetFocus(CWnd*)
{
    // The bar never takes the focus: the platform's bar would show a blinking thumb.
}

void COSMScrollBarCtrl::OnMouseMove(UINT, CPoint point)
{
    const int part = HitTestScrollBar(point);
    if (part == m_geometry.hitPart)
        return;
    m_geometry.hitPart = part;
    Invalidate(FALSE);
    if (part > 0)
    {
        TRACKMOUSEEVENT leave{};
        leave.cbSize = sizeof(leave);
        leave.dwFlags = TME_LEAVE;
        leave.hwndTrack = m_hWnd;
        ::TrackMouseEvent(&leave);
    }
}

void COSMScrollBarCtrl::OnMouseLeave()
{
    OnMouseMove(0, CPoint(-1, -1));
}

void COSMScrollBarCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    UpdateGeometry();
    PerformTrackInit(m_hWnd, point, &m_geometry, (nFlags & MK_SHIFT) != 0);
}

void COSMScrollBarCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    OnLButtonDown(nFlags, point);
}

LRESULT COSMScrollBarCtrl::OnSetScrollInfo(WPARAM wParam, LPARAM lParam)
{
    // The platform would paint its own bar over ours: it is told not to redraw, and the bar redraws itself.
    const LRESULT result = DefWindowProc(SBM_SETSCROLLINFO, FALSE, lParam);
    UpdateGeometry();
    if (wParam)
    {
        Invalidate(FALSE);
        UpdateWindow();
    }
    return result;
}

LRESULT COSMScrollBarCtrl::OnGetScrollInfo(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProc(SBM_GETSCROLLINFO, wParam, lParam);
    auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
    if (info && (info->fMask & SIF_TRACKPOS) && m_track)
        info->nTrackPos = m_track->newPos;
    return result;
}
