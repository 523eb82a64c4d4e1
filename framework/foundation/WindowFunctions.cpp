#include "framework/foundation/WindowFunctions.h"

#include "classlib/CString.h"
#include "classlib/Wnd.h"

#include <cstring>

BOOL InitNonClientMetrics(NONCLIENTMETRICSA* metrics)
{
    static_assert(sizeof(NONCLIENTMETRICSA) >= kNonClientMetricsXpSize, "the XP record is a prefix");
    std::memset(metrics, 0, sizeof(NONCLIENTMETRICSA));
    metrics->cbSize = kNonClientMetricsXpSize;
    return ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsXpSize, metrics, 0);
}

BOOL IsTopParentActive(HWND window)
{
    const HWND topLevel = GetAncestor(window, GA_ROOT);
    return topLevel && GetForegroundWindow() == GetLastActivePopup(topLevel);
}

BOOL RegisterWindowClass(HINSTANCE instance, LPCSTR className, UINT style, HICON icon, HBRUSH background)
{
    const HINSTANCE module = instance ? instance : AfxGetInstanceHandle();
    // Bars register their class each time one is made: once it is there, the cursor is not loaded again (loading it
    // asks the window server about the display, three round trips under Wine, for every bar made).
    WNDCLASSA existing{};
    if (::GetClassInfoA(module, className, &existing))
        return TRUE;
    WNDCLASSA windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = icon;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return AfxRegisterClass(&windowClass);
}

void GetWindowTextString(HWND window, CString& text)
{
    const int length = GetWindowTextLengthA(window);
    const int copied = GetWindowTextA(window, text.GetBuffer(length), length + 1);
    text.ReleaseBuffer(copied);
}
