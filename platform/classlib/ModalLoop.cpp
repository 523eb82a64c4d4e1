#include "classlib/ModalLoop.h"

#include <utility>

CModalLoop& CModalLoop::EndOnCaptureLoss(HWND window)
{
    m_captureWindow = window;
    return *this;
}

CModalLoop& CModalLoop::EndOnEscape()
{
    m_endOnEscape = true;
    return *this;
}

CModalLoop& CModalLoop::PaintFirst(int maxPaints)
{
    m_maxPaints = maxPaints;
    return *this;
}

CModalLoop& CModalLoop::PeekFirst(Peeker peeker)
{
    m_peeker = std::move(peeker);
    return *this;
}

bool CModalLoop::Interrupted(const Condition& finished, End& end) const
{
    if (finished && finished())
    {
        end = End::Done;
        return true;
    }
    if (m_captureWindow && ::GetCapture() != m_captureWindow)
    {
        end = End::CaptureLost;
        return true;
    }
    return false;
}

CModalLoop::End CModalLoop::Run(const Condition& finished, const Handler& handler)
{
    End end = End::Done;
    for (;;)
    {
        if (Interrupted(finished, end))
            return end;
        MSG msg;
        if (m_maxPaints > 0)
        {
            // Wine hands out a waiting WM_QUIT even to a peek filtered for WM_PAINT: it must not be dispatched and
            // lost.
            for (int n = 0; n < m_maxPaints && ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++n)
            {
                if (msg.message == WM_QUIT)
                {
                    ::PostQuitMessage(static_cast<int>(msg.wParam));
                    return End::Quit;
                }
                ::DispatchMessageA(&msg);
            }
            // A paint may have ended what the loop waits for.
            if (Interrupted(finished, end))
                return end;
        }
        if (m_peeker)
        {
            if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            {
                ::WaitMessage();
                continue;
            }
            if (msg.message != WM_QUIT && m_peeker(msg))
                return End::Done;
        }
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
        {
            // The quit is for the application's loop: it sees it again once this loop has unwound.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return End::Quit;
        }
        if (got == -1)
            return End::Done;  // only for a bad window filter, which this loop never passes
        if (m_endOnEscape && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            return End::Escape;
        switch (handler ? handler(msg) : Dispatch)
        {
        case Dispatch:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        case Handled:
            break;
        case Stop:
            return End::Done;
        }
    }
}
