#include "framework/commandbars/ButtonPress.h"

#include "classlib/ModalLoop.h"

BOOL TrackButtonPress(HWND window, const CRect& rect, const std::function<void(BOOL pressed)>& onPressedChange)
{
    const HWND capture = ::GetCapture();
    if (!window || (capture && capture != window))
        return FALSE;
    BOOL pressed = TRUE;
    onPressedChange(TRUE);
    ::SetCapture(window);

    BOOL clicked = FALSE;
    CModalLoop loop;
    loop.EndOnCaptureLoss(window).EndOnEscape();
    loop.Run(nullptr, [&](MSG& msg) {
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
            if (msg.hwnd == window)
            {
                const CPoint point(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
                const BOOL over = rect.PtInRect(point);
                if (over != pressed)
                {
                    pressed = over;
                    onPressedChange(pressed);
                }
                return CModalLoop::Handled;
            }
            return CModalLoop::Dispatch;
        case WM_LBUTTONUP:
            clicked = pressed;
            return CModalLoop::Stop;
        case WM_CANCELMODE:
        case WM_RBUTTONDOWN:
            return CModalLoop::Stop;
        default:
            return CModalLoop::Dispatch;
        }
    });
    if (::GetCapture() == window)
        ::ReleaseCapture();
    onPressedChange(FALSE);
    return clicked;
}
