#include "wizard/controls/PictureLinkStatic.h"

#include "wizard/controls/StaticWindow.h"

IMPLEMENT_DYNAMIC(CPictureLinkStatic, CStatic)

CPictureLinkStatic::CPictureLinkStatic(UINT nNormalBitmapId, UINT nHoverBitmapId)
{
    // The pictures go through a masked image list: that is what turns the transparent colour into an icon mask.
    CBitmap normal;
    CBitmap hover;
    normal.LoadBitmap(nNormalBitmapId);
    hover.LoadBitmap(nHoverBitmapId);
    CImageList images;
    if (!images.Create(kPictureWidth, kPictureHeight, ILC_COLOR24 | ILC_MASK, 2, 2))
        return;
    const int normalIndex = normal.GetSafeHandle() ? images.Add(&normal, kTransparentColor) : -1;
    const int hoverIndex = hover.GetSafeHandle() ? images.Add(&hover, kTransparentColor) : -1;
    if (nNormalBitmapId == nHoverBitmapId)
    {
        if (normalIndex >= 0)
            m_singleIcon.Reset(images.ExtractIcon(normalIndex));
        return;
    }
    if (normalIndex >= 0)
        m_normalIcon.Reset(images.ExtractIcon(normalIndex));
    if (hoverIndex >= 0)
        m_hoverIcon.Reset(images.ExtractIcon(hoverIndex));
}

HICON CPictureLinkStatic::GetCurrentPicture() const
{
    if (m_singleIcon)
        return m_singleIcon.Get();
    return IsCursorInside() ? m_hoverIcon.Get() : m_normalIcon.Get();
}

void CPictureLinkStatic::OnClick() {}

void CPictureLinkStatic::PreSubclassWindow()
{
    EnsureNotifyStyle(m_hWnd);
    CStatic::PreSubclassWindow();
}

LRESULT CPictureLinkStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    EnsureNotifyStyle(m_hWnd);
    if (PaintWith(m_hWnd, message, wParam, [this](HDC hDC) { Paint(hDC); }))
        return 0;
    switch (message)
    {
    case WM_TIMER:
        if (wParam == kLeaveTimerId)
        {
            OnLeaveTimer();
            return 0;
        }
        break;
    default:
        if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK)
        {
            if (!m_hovering && !m_singleIcon)
            {
                SetTimer(kLeaveTimerId, 10);
                Invalidate(TRUE);
                m_hovering = TRUE;
            }
            if (message == WM_LBUTTONDOWN)
                OnClick();
        }
        break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

void CPictureLinkStatic::OnLeaveTimer()
{
    if (IsCursorInside())
        return;
    KillTimer(kLeaveTimerId);
    InvalidateInParent(m_hWnd);
    m_hovering = FALSE;
}

void CPictureLinkStatic::Paint(HDC hDC)
{
    // The pictures have transparent parts: the parent's background goes under them first.
    CRect client;
    GetClientRect(&client);
    HWND hWndParent = ::GetParent(m_hWnd);
    HBRUSH hBrush =
        hWndParent
            ? reinterpret_cast<HBRUSH>(::SendMessageA(hWndParent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                                      reinterpret_cast<LPARAM>(m_hWnd)))
            : nullptr;
    ::FillRect(hDC, &client, hBrush ? hBrush : ::GetSysColorBrush(COLOR_3DFACE));
    if (HICON hIcon = GetCurrentPicture())
        ::DrawStateA(hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, 0, 0, 0, 0, DST_ICON);
}
