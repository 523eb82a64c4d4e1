#include "framework/foundation/SplitterTracker.h"

#include "classlib/DC.h"
#include "classlib/ModalLoop.h"
#include "classlib/Wnd.h"

#include <algorithm>

COSMSplitterTracker::COSMSplitterTracker(BOOL bSolid) : m_bSolid(bSolid) {}

void COSMSplitterTracker::DrawTrackerRect(const CRect& rect)
{
    if (!m_hDC)
        return;
    if (m_bSolid)
    {
        ::InvertRect(m_hDC, rect);
        return;
    }
    HGDIOBJ hOldBrush = ::SelectObject(m_hDC, CDC::GetHalftoneBrush()->m_hObject);
    ::PatBlt(m_hDC, rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
    ::SelectObject(m_hDC, hOldBrush);
}

BOOL COSMSplitterTracker::Track(CWnd* pTrackWnd, int nMinX, int nMinY, int nMaxX, int nMaxY, CRect& rect,
                                CPoint ptStart, BOOL bHorizontal)
{
    HWND hWnd = pTrackWnd ? pTrackWnd->GetSafeHwnd() : nullptr;
    if (!hWnd)
        return FALSE;

    ::SetCapture(hWnd);
    HWND hDesktop = ::GetDesktopWindow();
    // With the desktop locked no window paints over the band while it is shown; the DC must then say so.
    const BOOL bLocked = ::LockWindowUpdate(hDesktop);
    m_hDC = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | (bLocked ? DCX_LOCKWINDOWUPDATE : 0));

    const CSize offset = bHorizontal ? CSize(rect.left - ptStart.x, 0) : CSize(0, rect.top - ptStart.y);
    DrawTrackerRect(rect);
    if (!m_rcExtra.IsRectEmpty())
        DrawTrackerRect(m_rcExtra);

    BOOL bAccepted = FALSE;
    CModalLoop loop;
    loop.EndOnCaptureLoss(hWnd).EndOnEscape();
    loop.Run(nullptr, [&](MSG& msg) {
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
        {
            CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            ::ClientToScreen(msg.hwnd ? msg.hwnd : hWnd, &pt);
            pt += offset;
            pt.x = std::min(std::max(pt.x, static_cast<LONG>(nMinX)), static_cast<LONG>(nMaxX));
            pt.y = std::min(std::max(pt.y, static_cast<LONG>(nMinY)), static_cast<LONG>(nMaxY));
            const int delta = bHorizontal ? pt.x - rect.left : pt.y - rect.top;
            if (delta != 0)
            {
                DrawTrackerRect(rect);
                rect.OffsetRect(bHorizontal ? delta : 0, bHorizontal ? 0 : delta);
                DrawTrackerRect(rect);
            }
            return CModalLoop::Handled;
        }
        case WM_LBUTTONUP:
            bAccepted = TRUE;
            return CModalLoop::Stop;
        default:
            // Keys are not translated here: the band takes no characters.
            ::DispatchMessageA(&msg);
            return CModalLoop::Handled;
        }
    });

    if (!m_rcExtra.IsRectEmpty())
        DrawTrackerRect(m_rcExtra);
    DrawTrackerRect(rect);
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    if (bLocked)
        ::LockWindowUpdate(nullptr);  // only our own lock: another one is not ours to end
    if (m_hDC)
        ::ReleaseDC(hDesktop, m_hDC);
    m_hDC = nullptr;
    return bAccepted;
}
