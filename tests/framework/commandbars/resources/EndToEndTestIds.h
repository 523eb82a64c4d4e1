// Resource ids of the end-to-end test program: its menus, toolbars, status panes and their commands.
#pragma once

#define IDR_E2E_MENU 7100
#define IDR_E2E_CONTEXT 7101
#define IDR_E2E_STANDARD 7200
#define IDR_E2E_FORMAT 7201

#define ID_E2E_NEW 7300
#define ID_E2E_OPEN 7301
#define ID_E2E_SAVE 7302
#define ID_E2E_EXIT 7303
#define ID_E2E_ABOUT 7304
#define ID_E2E_BOLD 7310
#define ID_E2E_ITALIC 7311
#define ID_E2E_UNDERLINE 7312
#define ID_E2E_CUT 7320
#define ID_E2E_COPY 7321
#define ID_E2E_PASTE 7322

// The workbench: an MDI frame's menu, the popups of its controls toolbar, its other bars and their commands.
#define IDR_E2E_MDI_MENU 7102
#define IDR_E2E_POPUP_PLAIN 7103
#define IDR_E2E_POPUP_SPLIT 7104
#define IDR_E2E_POPUP_BUTTON 7105
#define IDR_E2E_CONTROLS 7202
#define IDR_E2E_MARKS 7203
#define IDR_E2E_PROPERTIES 7204

#define ID_E2E_INSERT_TABLE 7330
#define ID_E2E_ZOOM 7331
#define ID_E2E_STYLES 7332
#define ID_E2E_FIND 7333
#define ID_E2E_SCROLL 7334
#define ID_E2E_CAPTION 7335
#define ID_E2E_PICTURE 7336
#define ID_E2E_WEBSITE 7337
#define ID_E2E_WRAP 7338
#define ID_E2E_LEFT 7339
#define ID_E2E_PROGRESS 7340
#define ID_E2E_GALLERY 7341
#define ID_E2E_STYLE_FIRST 7350

#define ID_E2E_PANE_PLAIN 7400
#define ID_E2E_PANE_MARKUP 7401
#define ID_E2E_PANE_ICON 7402
#define ID_E2E_PANE_BUTTON 7403
#define ID_E2E_SWITCHES 7404
#define ID_E2E_SWITCH_NORMAL 7405
#define ID_E2E_SWITCH_WIDE 7406
#define ID_E2E_RELOAD 7410
