// Resource ids of the end-to-end test program: its menu, context menu, two toolbars and their commands.
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
