// The library's own window messages, window ids and bar constants, shared by frames, the command-UI update and the
// bars that live in frames:
//
//   WM_SIZEPARENT        a frame asks each child for its strip of the client area (FrameLayout.h)
//   WM_IDLEUPDATECMDUI   sent at idle time (wParam TRUE) to the main window and its descendants
//   WM_SETMESSAGESTRING  status text: lParam the text, or wParam a string id when lParam is null
//   WM_POPMESSAGESTRING  back to the status text of wParam (0: the idle text AFX_IDS_IDLEMESSAGE)
//
// The values sit below WM_USER so no window of another kind mistakes them for one of its own messages.
#pragma once

#include "classlib/ClassLibBase.h"

#define WM_SIZEPARENT 0x0361
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364
#define WM_HELPHITTEST 0x0366
#define WM_KICKIDLE 0x036A
#define WM_FLOATSTATUS 0x036D
#define WM_POPMESSAGESTRING 0x0375

// WM_FLOATSTATUS's wParam: what happens to a floating frame's look when its owner changes state.
#define FS_SHOW 0x01
#define FS_HIDE 0x02
#define FS_ACTIVATE 0x04
#define FS_DEACTIVATE 0x08
#define FS_ENABLE 0x10
#define FS_DISABLE 0x20
#define FS_SYNCACTIVE 0x40

// Child ids a frame knows by number: its status bar and the pane that takes what the bars leave.
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900
// The status text shown when nothing is being tracked (a string resource of the program, when it has one).
#define AFX_IDS_IDLEMESSAGE 0xE001

// Bar styles: the sides a bar may dock at, and how it sizes.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_FLOATING 0x0001L
#define CBRS_SIZE_DYNAMIC 0x0004L
// Bar styles: the sides on which a control bar draws an edge (CControlBar).
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
// Common combinations: a bar docked on a side, with its edge toward the client area.
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_NOALIGN 0x0000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)

// Layout modes a bar is asked to size itself for.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40
