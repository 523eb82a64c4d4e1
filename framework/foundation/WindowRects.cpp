#include "framework/foundation/WindowRects.h"

#include "classlib/Wnd.h"

COSMWindowRect::COSMWindowRect(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd) || !::GetWindowRect(hWnd, this))
        SetRectEmpty();
}

COSMWindowRect::COSMWindowRect(const CWnd* pWnd) : COSMWindowRect(pWnd ? pWnd->GetSafeHwnd() : nullptr) {}

COSMClientRect::COSMClientRect(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd) || !::GetClientRect(hWnd, this))
        SetRectEmpty();
}

COSMClientRect::COSMClientRect(const CWnd* pWnd) : COSMClientRect(pWnd ? pWnd->GetSafeHwnd() : nullptr) {}
