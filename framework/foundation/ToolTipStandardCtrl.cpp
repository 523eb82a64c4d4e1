#include "framework/foundation/ToolTipStandardCtrl.h"

#include "framework/foundation/FrameworkStatics.h"

IMPLEMENT_DYNAMIC(COSMToolTipStandardCtrl, CToolTipCtrl)

HWND COSMToolTipStandardCtrl::WindowFromPointForTips(POINT point)
{
    HWND hWnd = ::WindowFromPoint(point);
    if (hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) &&
        ::SendMessageA(hWnd, OSM_WM_QUERYCOMMANDBAREDIT, 0, 0) == 1)
        hWnd = ::GetParent(hWnd);
    return hWnd;
}

LRESULT COSMToolTipStandardCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TTM_WINDOWFROMPOINT && lParam)
        return reinterpret_cast<LRESULT>(WindowFromPointForTips(*reinterpret_cast<const POINT*>(lParam)));
    return CToolTipCtrl::WindowProc(message, wParam, lParam);
}
