#include "wizard/controls/MovingImageWnd.h"

#include "classlib/GuardedCallbacks.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CMovingImageWnd, CWnd)

BEGIN_MESSAGE_MAP(CMovingImageWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// How a report of an exception that ended the animation thread names it.
constexpr char kAnimationThreadName[] = "image animation thread";

// Half up also left of the origin: truncating there would paint the wrapped twin one pixel too far right.
int RoundHalfUp(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

// Where a picture of `size` centred on `centre` lies along one axis, against the span [low, high).
bool IsOutside(double centre, int size, int low, int high)
{
    const double first = centre - size / 2.0;
    return first >= high || first + size < low;
}

bool IsPartlyOutside(double centre, int size, int low, int high)
{
    const double first = centre - size / 2.0;
    return first < low || first + size > high;
}

}  // namespace

CMovingImageWnd::CMovingImageWnd()
    : m_backgroundColor(::GetSysColor(COLOR_WINDOW)), m_stopEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr))
{}

CMovingImageWnd::~CMovingImageWnd()
{
    if (m_hWnd)
        DestroyWindow();
    RestartThread(FALSE);
}

BOOL CMovingImageWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCSTR className = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    return CWnd::Create(className, "", dwStyle, rect, pParentWnd, nID);
}

BOOL CMovingImageWnd::SetBitmap(UINT nIDResource)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(nIDResource))
        return FALSE;
    SetBitmap(static_cast<HBITMAP>(bitmap.Detach()));
    return TRUE;
}

void CMovingImageWnd::SetBitmap(HBITMAP hBitmap)
{
    BITMAP info{};
    if (hBitmap)
        ::GetObjectA(hBitmap, sizeof info, &info);
    {
        std::lock_guard<CCriticalSection> lock(m_positionLock);
        m_pictureWidth = info.bmWidth;
        m_pictureHeight = info.bmHeight;
    }
    m_bitmap.DeleteObject();
    if (hBitmap)
        m_bitmap.Attach(hBitmap);
    if (m_hWnd)
        Invalidate(FALSE);
}

void CMovingImageWnd::SetBorder(BOOL bBorder)
{
    m_border = bBorder;
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CMovingImageWnd::SetBackgroundColor(COLORREF color)
{
    m_backgroundColor = color;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CMovingImageWnd::SetStep(double stepX, double stepY)
{
    std::lock_guard<CCriticalSection> lock(m_positionLock);
    m_stepX = stepX;
    m_stepY = stepY;
}

void CMovingImageWnd::SetMargins(int marginX, int marginY)
{
    std::lock_guard<CCriticalSection> lock(m_positionLock);
    m_marginX = marginX;
    m_marginY = marginY;
}

void CMovingImageWnd::SetPosition(double x, double y)
{
    {
        std::lock_guard<CCriticalSection> lock(m_positionLock);
        m_positionX = x;
        m_positionY = y;
    }
    if (m_hWnd)
        Invalidate(FALSE);
}

void CMovingImageWnd::GetPosition(double& x, double& y) const
{
    std::lock_guard<CCriticalSection> lock(m_positionLock);
    x = m_positionX;
    y = m_positionY;
}

BOOL CMovingImageWnd::IsThreadRunning() const
{
    return m_thread && ::WaitForSingleObject(m_thread.Get(), 0) == WAIT_TIMEOUT;
}

void CMovingImageWnd::RestartThread(BOOL bRestart)
{
    if (m_thread)
    {
        ::SetEvent(m_stopEvent.Get());
        // Messages other threads send to this thread's windows are served while waiting, so no thread that waits
        // for this one can hold up the end. Posted messages stay queued for the loop that owns them: that loop
        // filters them (accelerators, dialog keys) and sees its own WM_QUIT.
        HANDLE hThread = m_thread.Get();
        for (;;)
        {
            const DWORD result = ::MsgWaitForMultipleObjects(1, &hThread, FALSE, INFINITE, QS_SENDMESSAGE);
            if (result != WAIT_OBJECT_0 + 1)
                break;
            MSG msg;
            ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        m_thread.Reset();
        m_threadId = 0;
    }
    if (!bRestart || !m_hWnd || !m_stopEvent)
        return;
    ::ResetEvent(m_stopEvent.Get());
    // The picture is put back in the middle here, not by the thread: a paint or a reader between the thread's start
    // and its first step sees it there, and a position set after this call is not undone by a late thread.
    {
        CRect area;
        ::GetClientRect(m_hWnd, &area);
        std::lock_guard<CCriticalSection> lock(m_positionLock);
        area.OffsetRect(m_marginX, m_marginY);
        ResetPicture(area);
    }
    // What the thread reads of the object is fixed before it starts; it touches no window wrapper of this thread.
    m_threadWnd = m_hWnd;
    m_threadTickInterval = m_tickInterval;
    DWORD threadId = 0;
    m_thread.Reset(::CreateThread(nullptr, 0,
                                  osm::GuardedThreadProc<kAnimationThreadName, &CMovingImageWnd::AnimateThreadWindow>,
                                  this, 0, &threadId));
    m_threadId = m_thread ? threadId : 0;
}

void CMovingImageWnd::AnimateThreadWindow()
{
    Animate(m_threadWnd, m_threadTickInterval);
}

void CMovingImageWnd::ResetPicture(const CRect& area)
{
    m_positionX = area.left + area.Width() / 2.0;
    m_positionY = area.top + area.Height() / 2.0;
    // One area's width (height) back against the motion: the part that leaves on one side shows on the other, and
    // a picture wholly gone comes back touching the opposite side.
    m_correctionX = m_stepX > 0 ? -area.Width() : m_stepX < 0 ? area.Width() : 0.0;
    m_correctionY = m_stepY > 0 ? -area.Height() : m_stepY < 0 ? area.Height() : 0.0;
}

void CMovingImageWnd::Animate(HWND hWnd, DWORD tickInterval)
{
    CRect area;
    ::GetClientRect(hWnd, &area);
    {
        std::lock_guard<CCriticalSection> lock(m_positionLock);
        area.OffsetRect(m_marginX, m_marginY);
    }
    ::InvalidateRect(hWnd, nullptr, FALSE);
    while (::WaitForSingleObject(m_stopEvent.Get(), tickInterval) == WAIT_TIMEOUT)
    {
        // Only an invalidation: painting happens on the window's thread, and this thread never waits for it.
        if (Step(area))
            ::InvalidateRect(hWnd, nullptr, FALSE);
    }
}

bool CMovingImageWnd::Step(const CRect& area)
{
    std::lock_guard<CCriticalSection> lock(m_positionLock);
    const double oldX = m_positionX;
    const double oldY = m_positionY;
    m_positionX += m_stepX;
    m_positionY += m_stepY;
    if (m_positionX == oldX && m_positionY == oldY)
        return false;
    // Each direction wraps on its own: a picture leaving at the right comes back at the left at the same height.
    if (IsOutside(m_positionX, m_pictureWidth, area.left, area.right))
    {
        m_positionX += m_correctionX;
        if (IsOutside(m_positionX, m_pictureWidth, area.left, area.right))
            m_positionX -= m_correctionX;
    }
    if (IsOutside(m_positionY, m_pictureHeight, area.top, area.bottom))
    {
        m_positionY += m_correctionY;
        if (IsOutside(m_positionY, m_pictureHeight, area.top, area.bottom))
            m_positionY -= m_correctionY;
    }
    return true;
}

void CMovingImageWnd::OnPaint()
{
    CPaintDC dc(this);
    PaintTo(dc);
}

LRESULT CMovingImageWnd::OnPrintClient(WPARAM wParam, LPARAM /*lParam*/)
{
    PaintTo(reinterpret_cast<HDC>(wParam));
    return 0;
}

BOOL CMovingImageWnd::OnEraseBkgnd(CDC* /*pDC*/)
{
    // Painting covers every pixel.
    return TRUE;
}

void CMovingImageWnd::PaintTo(HDC hDC)
{
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CDC* pDC = CDC::FromHandle(hDC);
    CDC buffer;
    CBitmap bufferBitmap;
    if (!buffer.CreateCompatibleDC(pDC) || !bufferBitmap.CreateCompatibleBitmap(pDC, client.Width(), client.Height()))
        return;
    const ScopedSelection selectBuffer = SelectScoped(buffer, bufferBitmap);
    buffer.FillSolidRect(&client, m_backgroundColor);

    if (m_bitmap.GetSafeHandle())
    {
        CDC picture;
        picture.CreateCompatibleDC(pDC);
        const ScopedSelection selectPicture = SelectScoped(picture, m_bitmap);
        std::lock_guard<CCriticalSection> lock(m_positionLock);
        const int width = m_pictureWidth;
        const int height = m_pictureHeight;
        auto copyAt = [&](double centreX, double centreY) {
            buffer.BitBlt(RoundHalfUp(centreX - width / 2.0), RoundHalfUp(centreY - height / 2.0), width, height,
                          &picture, 0, 0, SRCCOPY);
        };
        copyAt(m_positionX, m_positionY);
        // Half out on one side: the part that is gone already shows on the other.
        const bool outX = IsPartlyOutside(m_positionX, width, client.left - m_marginX, client.right + m_marginX);
        const bool outY = IsPartlyOutside(m_positionY, height, client.top - m_marginY, client.bottom + m_marginY);
        if ((outX && m_correctionX != 0.0) || (outY && m_correctionY != 0.0))
            copyAt(m_positionX + (outX ? m_correctionX : 0.0), m_positionY + (outY ? m_correctionY : 0.0));
    }

    pDC->BitBlt(0, 0, client.Width(), client.Height(), &buffer, 0, 0, SRCCOPY);
}

LRESULT CMovingImageWnd::OnNcPaint(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (!m_border)
        return Default();
    CWindowDC dc(this);
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    CPen dotted(PS_DOT, 1, RGB(0, 0, 0));
    const ScopedSelection selectPen = SelectScoped(dc, dotted);
    const ScopedSelection selectBrush = SelectScoped(dc, ::GetStockObject(NULL_BRUSH));
    dc.Rectangle(&rect);
    return 0;
}

void CMovingImageWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RestartThread(TRUE);
}

void CMovingImageWnd::OnDestroy()
{
    CWnd::OnDestroy();
    RestartThread(FALSE);
}
