// Message-map entries for window messages, with the arguments cracked to the handler's types. Each names the
// handler a class declares (or inherits from CWnd, whose versions pass the message on):
//
//   ON_WM_PAINT()        void OnPaint()
//   ON_WM_CTLCOLOR()     HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
//   ON_WM_CTLCOLOR_REFLECT()   HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) in a control; null lets the parent decide
//
// Included by Wnd.h. Some entries name other classes: a map with the DC, menu or scroll-bar entries (ON_WM_ERASEBKGND,
// ON_WM_CTLCOLOR*, ON_WM_INITMENUPOPUP, ON_WM_HSCROLL/VSCROLL*) also includes DC.h, Menu.h or Controls.h.
#pragma once

#define OSM_WPARAM_AS(type) ((type)(osmCall.wParam))
#define OSM_LPARAM_AS(type) ((type)(osmCall.lParam))

#define ON_WM_CREATE()                                                                                                 \
    OSM_ON_MESSAGE_BODY(WM_CREATE, osmCall.result = pThis->OnCreate(OSM_LPARAM_AS(LPCREATESTRUCT)); return TRUE;)
#define ON_WM_NCCREATE()                                                                                               \
    OSM_ON_MESSAGE_BODY(WM_NCCREATE, osmCall.result = pThis->OnNcCreate(OSM_LPARAM_AS(LPCREATESTRUCT)); return TRUE;)
#define ON_WM_DESTROY() OSM_ON_MESSAGE_BODY(WM_DESTROY, pThis->OnDestroy(); return TRUE;)
#define ON_WM_NCDESTROY() OSM_ON_MESSAGE_BODY(WM_NCDESTROY, pThis->OnNcDestroy(); return TRUE;)
#define ON_WM_PAINT() OSM_ON_MESSAGE_BODY(WM_PAINT, pThis->OnPaint(); return TRUE;)
#define ON_WM_ERASEBKGND()                                                                                             \
    OSM_ON_MESSAGE_BODY(WM_ERASEBKGND, osmCall.result = pThis->OnEraseBkgnd(CDC::FromHandle(OSM_WPARAM_AS(HDC)));      \
                        return TRUE;)
#define ON_WM_TIMER() OSM_ON_MESSAGE_BODY(WM_TIMER, pThis->OnTimer(OSM_WPARAM_AS(UINT_PTR)); return TRUE;)
#define ON_WM_SYSCOMMAND()                                                                                             \
    OSM_ON_MESSAGE_BODY(WM_SYSCOMMAND, pThis->OnSysCommand(OSM_WPARAM_AS(UINT), osmCall.lParam); return TRUE;)
#define ON_WM_QUERYDRAGICON()                                                                                          \
    OSM_ON_MESSAGE_BODY(WM_QUERYDRAGICON, osmCall.result = reinterpret_cast<LRESULT>(pThis->OnQueryDragIcon());        \
                        return TRUE;)
#define ON_WM_CTLCOLOR()                                                                                               \
    OSM_MSGMAP_ENTRY(AfxEntryKind::CtlColor, WM_CTLCOLORSTATIC, 0, 0, 0, nullptr,                                      \
                     osmCall.result = reinterpret_cast<LRESULT>(                                                       \
                         pThis->OnCtlColor(CDC::FromHandle(OSM_WPARAM_AS(HDC)), CWnd::FromHandle(OSM_LPARAM_AS(HWND)), \
                                           osmCall.message - WM_CTLCOLORMSGBOX));                                      \
                     return TRUE;)

#define OSM_ON_MOUSE(message, handler)                                                                                 \
    OSM_ON_MESSAGE_BODY(message, pThis->handler(OSM_WPARAM_AS(UINT), CPoint(osmCall.lParam)); return TRUE;)
#define ON_WM_MOUSEMOVE() OSM_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() OSM_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() OSM_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() OSM_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() OSM_ON_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() OSM_ON_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MOUSEHOVER() OSM_ON_MOUSE(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_NCLBUTTONDOWN() OSM_ON_MOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCMOUSEMOVE() OSM_ON_MOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_MOUSELEAVE() OSM_ON_MESSAGE_BODY(WM_MOUSELEAVE, pThis->OnMouseLeave(); return TRUE;)
#define ON_WM_MOUSEWHEEL()                                                                                             \
    OSM_ON_MESSAGE_BODY(WM_MOUSEWHEEL, osmCall.result = pThis->OnMouseWheel(                                           \
                                           LOWORD(osmCall.wParam), static_cast<short>(HIWORD(osmCall.wParam)),         \
                                           CPoint(osmCall.lParam));                                                    \
                        return TRUE;)
#define ON_WM_SETCURSOR()                                                                                              \
    OSM_ON_MESSAGE_BODY(WM_SETCURSOR,                                                                                  \
                        osmCall.result = pThis->OnSetCursor(CWnd::FromHandle(OSM_WPARAM_AS(HWND)),                     \
                                                            LOWORD(osmCall.lParam), HIWORD(osmCall.lParam));           \
                        return TRUE;)

#define OSM_ON_KEY(message, handler)                                                                                   \
    OSM_ON_MESSAGE_BODY(message, pThis->handler(OSM_WPARAM_AS(UINT), LOWORD(osmCall.lParam), HIWORD(osmCall.lParam));  \
                        return TRUE;)
#define ON_WM_KEYDOWN() OSM_ON_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() OSM_ON_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() OSM_ON_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() OSM_ON_KEY(WM_SYSKEYDOWN, OnSysKeyDown)

#define ON_WM_SETFOCUS()                                                                                               \
    OSM_ON_MESSAGE_BODY(WM_SETFOCUS, pThis->OnSetFocus(CWnd::FromHandle(OSM_WPARAM_AS(HWND))); return TRUE;)
#define ON_WM_KILLFOCUS()                                                                                              \
    OSM_ON_MESSAGE_BODY(WM_KILLFOCUS, pThis->OnKillFocus(CWnd::FromHandle(OSM_WPARAM_AS(HWND))); return TRUE;)
#define ON_WM_SIZE()                                                                                                   \
    OSM_ON_MESSAGE_BODY(WM_SIZE, pThis->OnSize(OSM_WPARAM_AS(UINT), LOWORD(osmCall.lParam), HIWORD(osmCall.lParam));   \
                        return TRUE;)
#define ON_WM_MOVE()                                                                                                   \
    OSM_ON_MESSAGE_BODY(WM_MOVE, pThis->OnMove(static_cast<short>(LOWORD(osmCall.lParam)),                             \
                                               static_cast<short>(HIWORD(osmCall.lParam)));                            \
                        return TRUE;)
#define ON_WM_GETMINMAXINFO()                                                                                          \
    OSM_ON_MESSAGE_BODY(WM_GETMINMAXINFO, pThis->OnGetMinMaxInfo(OSM_LPARAM_AS(MINMAXINFO*)); return TRUE;)
#define ON_WM_WINDOWPOSCHANGING()                                                                                      \
    OSM_ON_MESSAGE_BODY(WM_WINDOWPOSCHANGING, pThis->OnWindowPosChanging(OSM_LPARAM_AS(WINDOWPOS*)); return TRUE;)
#define ON_WM_WINDOWPOSCHANGED()                                                                                       \
    OSM_ON_MESSAGE_BODY(WM_WINDOWPOSCHANGED, pThis->OnWindowPosChanged(OSM_LPARAM_AS(WINDOWPOS*)); return TRUE;)
#define ON_WM_CLOSE() OSM_ON_MESSAGE_BODY(WM_CLOSE, pThis->OnClose(); return TRUE;)
#define ON_WM_SHOWWINDOW()                                                                                             \
    OSM_ON_MESSAGE_BODY(WM_SHOWWINDOW, pThis->OnShowWindow(OSM_WPARAM_AS(BOOL), OSM_LPARAM_AS(UINT)); return TRUE;)
#define ON_WM_ENABLE() OSM_ON_MESSAGE_BODY(WM_ENABLE, pThis->OnEnable(OSM_WPARAM_AS(BOOL)); return TRUE;)
#define ON_WM_ACTIVATE()                                                                                               \
    OSM_ON_MESSAGE_BODY(WM_ACTIVATE, pThis->OnActivate(LOWORD(osmCall.wParam), CWnd::FromHandle(OSM_LPARAM_AS(HWND)),  \
                                                       HIWORD(osmCall.wParam));                                        \
                        return TRUE;)
#define ON_WM_ACTIVATEAPP()                                                                                            \
    OSM_ON_MESSAGE_BODY(WM_ACTIVATEAPP, pThis->OnActivateApp(OSM_WPARAM_AS(BOOL), OSM_LPARAM_AS(DWORD)); return TRUE;)
#define ON_WM_DRAWITEM()                                                                                               \
    OSM_ON_MESSAGE_BODY(WM_DRAWITEM, pThis->OnDrawItem(OSM_WPARAM_AS(int), OSM_LPARAM_AS(LPDRAWITEMSTRUCT));           \
                        osmCall.result = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM()                                                                                            \
    OSM_ON_MESSAGE_BODY(WM_MEASUREITEM, pThis->OnMeasureItem(OSM_WPARAM_AS(int), OSM_LPARAM_AS(LPMEASUREITEMSTRUCT));  \
                        osmCall.result = TRUE; return TRUE;)
#define ON_WM_NCHITTEST()                                                                                              \
    OSM_ON_MESSAGE_BODY(WM_NCHITTEST, osmCall.result = pThis->OnNcHitTest(CPoint(osmCall.lParam)); return TRUE;)
#define ON_WM_GETDLGCODE() OSM_ON_MESSAGE_BODY(WM_GETDLGCODE, osmCall.result = pThis->OnGetDlgCode(); return TRUE;)
#define ON_WM_CONTEXTMENU()                                                                                            \
    OSM_ON_MESSAGE_BODY(WM_CONTEXTMENU,                                                                                \
                        pThis->OnContextMenu(CWnd::FromHandle(OSM_WPARAM_AS(HWND)), CPoint(osmCall.lParam));           \
                        return TRUE;)
#define ON_WM_DROPFILES() OSM_ON_MESSAGE_BODY(WM_DROPFILES, pThis->OnDropFiles(OSM_WPARAM_AS(HDROP)); return TRUE;)
#define ON_WM_HELPINFO()                                                                                               \
    OSM_ON_MESSAGE_BODY(WM_HELP, osmCall.result = pThis->OnHelpInfo(OSM_LPARAM_AS(HELPINFO*)); return TRUE;)
#define ON_WM_CAPTURECHANGED()                                                                                         \
    OSM_ON_MESSAGE_BODY(WM_CAPTURECHANGED, pThis->OnCaptureChanged(CWnd::FromHandle(OSM_LPARAM_AS(HWND))); return TRUE;)
#define ON_WM_CANCELMODE() OSM_ON_MESSAGE_BODY(WM_CANCELMODE, pThis->OnCancelMode(); return TRUE;)
#define ON_WM_DEVICECHANGE()                                                                                           \
    OSM_ON_MESSAGE_BODY(WM_DEVICECHANGE,                                                                               \
                        osmCall.result = pThis->OnDeviceChange(OSM_WPARAM_AS(UINT), OSM_LPARAM_AS(DWORD_PTR));         \
                        return TRUE;)
#define ON_WM_SYSCOLORCHANGE() OSM_ON_MESSAGE_BODY(WM_SYSCOLORCHANGE, pThis->OnSysColorChange(); return TRUE;)
#define ON_WM_SETTINGCHANGE()                                                                                          \
    OSM_ON_MESSAGE_BODY(WM_SETTINGCHANGE, pThis->OnSettingChange(OSM_WPARAM_AS(UINT), OSM_LPARAM_AS(LPCSTR));          \
                        return TRUE;)
#define ON_WM_TIMECHANGE() OSM_ON_MESSAGE_BODY(WM_TIMECHANGE, pThis->OnTimeChange(); return TRUE;)
#define OSM_ON_SCROLL(message, handler)                                                                                \
    OSM_ON_MESSAGE_BODY(message, pThis->handler(LOWORD(osmCall.wParam), HIWORD(osmCall.wParam),                        \
                                                static_cast<CScrollBar*>(CWnd::FromHandle(OSM_LPARAM_AS(HWND))));      \
                        return TRUE;)
#define ON_WM_HSCROLL() OSM_ON_SCROLL(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() OSM_ON_SCROLL(WM_VSCROLL, OnVScroll)
#define ON_WM_COPYDATA()                                                                                               \
    OSM_ON_MESSAGE_BODY(WM_COPYDATA, osmCall.result = pThis->OnCopyData(CWnd::FromHandle(OSM_WPARAM_AS(HWND)),         \
                                                                        OSM_LPARAM_AS(COPYDATASTRUCT*));               \
                        return TRUE;)
#define ON_WM_INITMENUPOPUP()                                                                                          \
    OSM_ON_MESSAGE_BODY(WM_INITMENUPOPUP, pThis->OnInitMenuPopup(CMenu::FromHandle(OSM_WPARAM_AS(HMENU)),              \
                                                                 LOWORD(osmCall.lParam), HIWORD(osmCall.lParam));      \
                        return TRUE;)

// Reflected messages, in a control's own map.
#define ON_WM_CTLCOLOR_REFLECT()                                                                                       \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectCtlColor, WM_CTLCOLORSTATIC, 0, 0, 0, nullptr,                               \
                     HBRUSH hbrReflected =                                                                             \
                         pThis->CtlColor(CDC::FromHandle(OSM_WPARAM_AS(HDC)), osmCall.message - WM_CTLCOLORMSGBOX);    \
                     if (!hbrReflected) return FALSE; osmCall.result = reinterpret_cast<LRESULT>(hbrReflected);        \
                     return TRUE;)
// void DrawItem(LPDRAWITEMSTRUCT) / void MeasureItem(LPMEASUREITEMSTRUCT) for windows that are not one of the
// owner-draw control classes (those have the virtual functions already).
#define ON_WM_DRAWITEM_REFLECT()                                                                                       \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectMessage, WM_DRAWITEM, 0, 0, 0, nullptr,                                      \
                     pThis->DrawItem(OSM_LPARAM_AS(LPDRAWITEMSTRUCT));                                                 \
                     osmCall.result = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM_REFLECT()                                                                                    \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectMessage, WM_MEASUREITEM, 0, 0, 0, nullptr,                                   \
                     pThis->MeasureItem(OSM_LPARAM_AS(LPMEASUREITEMSTRUCT));                                           \
                     osmCall.result = TRUE; return TRUE;)
// void HScroll(UINT nSBCode, UINT nPos) / VScroll: scroll messages the parent did not handle.
#define ON_WM_HSCROLL_REFLECT()                                                                                        \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectMessage, WM_HSCROLL, 0, 0, 0, nullptr,                                       \
                     pThis->HScroll(LOWORD(osmCall.wParam), HIWORD(osmCall.wParam));                                   \
                     return TRUE;)
#define ON_WM_VSCROLL_REFLECT()                                                                                        \
    OSM_MSGMAP_ENTRY(AfxEntryKind::ReflectMessage, WM_VSCROLL, 0, 0, 0, nullptr,                                       \
                     pThis->VScroll(LOWORD(osmCall.wParam), HIWORD(osmCall.wParam));                                   \
                     return TRUE;)
