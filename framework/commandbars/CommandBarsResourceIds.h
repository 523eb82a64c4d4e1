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

// The button-image editor (framework/controls): its dialog, the images of its two tool bars (sixteen 16 x 16 images:
// the twelve tools and commands in button order, then the four arrows; classic with a grey mask, and the same with
// alpha), the cursors of its tools, the file filter of its open command, and its commands, whose strings are
// "description\ntip".
#define IDD_OSM_IMAGE_EDITOR 9115
#define IDB_OSM_IMAGE_EDITOR_TOOLS 9100
#define IDB_OSM_IMAGE_EDITOR_TOOLS_ALPHA 9101
#define IDC_OSM_IMAGE_EDITOR_SHAPE 9110
#define IDC_OSM_IMAGE_EDITOR_PICKER 9111
#define IDC_OSM_IMAGE_EDITOR_FILL 9112
#define IDC_OSM_IMAGE_EDITOR_PENCIL 9113
#define IDS_OSM_IMAGE_EDITOR_FILTER 9178
#define ID_OSM_IMAGE_EDITOR_PENCIL 9135
#define ID_OSM_IMAGE_EDITOR_FILL 9136
#define ID_OSM_IMAGE_EDITOR_PICKER 9137
#define ID_OSM_IMAGE_EDITOR_LINE 9138
#define ID_OSM_IMAGE_EDITOR_RECTANGLE 9139
#define ID_OSM_IMAGE_EDITOR_ELLIPSE 9140
#define ID_OSM_IMAGE_EDITOR_COPY 9141
#define ID_OSM_IMAGE_EDITOR_PASTE 9142
#define ID_OSM_IMAGE_EDITOR_CLEAR 9143
#define ID_OSM_IMAGE_EDITOR_UNDO 9144
#define ID_OSM_IMAGE_EDITOR_REDO 9145
#define ID_OSM_IMAGE_EDITOR_OPEN 9146
#define ID_OSM_IMAGE_EDITOR_MOVE_LEFT 107
#define ID_OSM_IMAGE_EDITOR_MOVE_DOWN 108
#define ID_OSM_IMAGE_EDITOR_MOVE_UP 109
#define ID_OSM_IMAGE_EDITOR_MOVE_RIGHT 110
// The dialog's controls: picture, preview, palette anchor, the two bars' placeholders, transparent and custom
// swatches.
#define IDC_OSM_IMAGE_EDITOR_PICTURE 100
#define IDC_OSM_IMAGE_EDITOR_PREVIEW 101
#define IDC_OSM_IMAGE_EDITOR_PALETTE 102
#define IDC_OSM_IMAGE_EDITOR_TOOLS 103
#define IDC_OSM_IMAGE_EDITOR_MOVE 104
#define IDC_OSM_IMAGE_EDITOR_TRANSPARENT 105
#define IDC_OSM_IMAGE_EDITOR_CUSTOM 106
// Tooltips of a tab strip's navigation buttons (the framework's one resource object carries them for the tabs).
#define IDS_OSM_TAB_SCROLL_LEFT 9800
#define IDS_OSM_TAB_SCROLL_RIGHT 9801
#define IDS_OSM_TAB_CLOSE 9802
#define IDS_OSM_TAB_SCROLL_UP 9803
#define IDS_OSM_TAB_SCROLL_DOWN 9804
// The MDI tab workspace's commands (move the tab to the previous or next group, new group below or beside) and the
// cancel entry of its drop menu.
#define ID_OSM_WORKSPACE_MOVE_PREVIOUS 9155
#define ID_OSM_WORKSPACE_MOVE_NEXT 9156
#define ID_OSM_WORKSPACE_NEW_HORIZONTAL 9157
#define ID_OSM_WORKSPACE_NEW_VERTICAL 9158
#define ID_OSM_WORKSPACE_CANCEL 9159

// The ribbon's context menus: the quick-access customize button's (first submenu: the original quick-access
// commands, more commands, customize, below, above, minimize) and every other control's (remove, add, customize,
// below, above, minimize); the customize entry's caption when the quick access cannot be customized but the site
// offers a customize dialog; and the entries' ids.
#define IDR_OSM_RIBBON_QUICK_ACCESS_MENU 9601
#define IDR_OSM_RIBBON_CONTROL_MENU 9602
#define IDS_OSM_RIBBON_CUSTOMIZE 9161
#define ID_OSM_RIBBON_QUICK_ACCESS_REMOVE 9605
#define ID_OSM_RIBBON_QUICK_ACCESS_ADD 9606
#define ID_OSM_RIBBON_QUICK_ACCESS_CUSTOMIZE 9607
#define ID_OSM_RIBBON_QUICK_ACCESS_BELOW 9608
#define ID_OSM_RIBBON_QUICK_ACCESS_ABOVE 9610
#define ID_OSM_RIBBON_MINIMIZE 9612
#define ID_OSM_RIBBON_QUICK_ACCESS_COMMANDS 9613
#define ID_OSM_RIBBON_QUICK_ACCESS_MORE 9614
