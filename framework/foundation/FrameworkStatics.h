// Process-wide values the framework's headers set up before the program starts: the window messages its
// cross-thread notifications, calendar and hook manager use, the private messages of its edit and tip windows, and
// the limits of its date range (as OLE dates).
// Including this header is enough; each value is made once, at start-up.
#pragma once

#include <windows.h>
#include <oleauto.h>

// Registered window messages; the same names give the same numbers in every process of the session.
inline const UINT OSM_WM_NOTIFICATION_SINK_MT_ON_EVENT = RegisterWindowMessageA("OSMNotificationSinkMTOnEvent");
inline const UINT OSM_WM_CALENDAR_SWITCH_VIEW = RegisterWindowMessageA("OSMCalendarSwitchView");
inline const UINT OSM_WM_CALENDAR_USER_ACTION = RegisterWindowMessageA("OSMCalendarUserAction");
// Sent by a party leaving a window it subclassed under the hook manager's protocol: wParam its own procedure,
// lParam the procedure it had saved (see framework/foundation/HookManager.h).
inline const UINT OSM_WM_HOOKMANAGER_SINKREMOVED = RegisterWindowMessageA("WM_HOOKMANAGER_SINKREMOVED");

// Private messages with fixed numbers, between the command bars' edit windows, the tooltip windows and the
// auto-complete drop-down.
// Asked of a window under the mouse: a command bar's edit window answers 1, so tips treat it as part of its bar.
inline constexpr UINT OSM_WM_QUERYCOMMANDBAREDIT = 0x2A48;
// Gives a framework tip window the image to show beside its text (lParam: the image, or 0).
inline constexpr UINT OSM_TTM_SETIMAGE = 0x2A49;
// Posted to an edit window when the system's auto-suggest drop-down for it shows.
inline constexpr UINT OSM_WM_AUTOSUGGESTSHOWN = 0x2872;

// The framework's date range: 100-01-01 00:00:00 to 9999-12-31 00:00:00, in days since 1899-12-30.
inline constexpr DATE kOsmMinDate = -657434.0;
inline constexpr DATE kOsmMaxDate = 2958465.0;
