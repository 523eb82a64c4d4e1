// Ids of the command bars' own resources (resources/CommandBarsResources.rc). The .rc reads this file too, so it
// holds plain defines only.
#pragma once

// The toolbar-name dialog and its edit box.
#define IDD_OSM_TOOLBAR_NAME 9120
#define IDC_OSM_TOOLBAR_NAME_EDIT 100

// Texts of the toolbar-name dialog.
#define IDS_OSM_TOOLBAR_DEFAULT_NAME 9163
#define IDS_OSM_TOOLBAR_NAME_EMPTY 9164
#define IDS_OSM_TOOLBAR_NO_FREE_ID 9165
#define IDS_OSM_TOOLBAR_NAME_TAKEN 9166
#define IDS_OSM_TOOLBAR_RENAME_CAPTION 9167

// A toolbar's expand menu: the add-or-remove entry, the reset entry (both also the ids of those menu entries) and
// reset's question, which names the toolbar once (%s).
#define IDS_OSM_ADD_OR_REMOVE_BUTTONS 9122
#define IDS_OSM_RESET_TOOLBAR 9123
#define IDS_OSM_RESET_TOOLBAR_QUESTION 9173

// Cursors of a customize drag: copy, move, and no bar to drop on.
#define IDC_OSM_DRAG_COPY 9105
#define IDC_OSM_DRAG_MOVE 9106
#define IDC_OSM_DRAG_NODROP 9107

// Cursor of a control's width being dragged by its edge in customize mode.
#define IDC_OSM_CUSTOMIZE_RESIZE 9972

// Loading saved bars: a toolbar the application has changed since the user customized it (%s the toolbar's title).
#define IDS_OSM_TOOLBAR_CHANGED_QUESTION 9177

// The menu bar: the images of the restore, minimize, maximize and close system commands (16 x 16 each, in that
// order), and the status-line descriptions of the system commands, 0xEF00 + ((command - 0xF000) >> 4).
#define IDB_OSM_SYSTEM_COMMANDS 9102
#define IDS_OSM_SC_SIZE 0xEF00
#define IDS_OSM_SC_MOVE 0xEF01
#define IDS_OSM_SC_MINIMIZE 0xEF02
#define IDS_OSM_SC_MAXIMIZE 0xEF03
#define IDS_OSM_SC_NEXTWINDOW 0xEF04
#define IDS_OSM_SC_PREVWINDOW 0xEF05
#define IDS_OSM_SC_CLOSE 0xEF06
#define IDS_OSM_SC_RESTORE 0xEF12
#define IDS_OSM_SC_TASKLIST 0xEF13

// The clipboard commands of the edit boxes' context menu: description, then the caption after the newline.
#define IDS_OSM_EDIT_COPY 57634
#define IDS_OSM_EDIT_CUT 57635
#define IDS_OSM_EDIT_PASTE 57637

// The status-line prompt of the window list's entries (description, then the tooltip after the newline).
#define IDS_OSM_WINDOW_LIST_ENTRY 61215
