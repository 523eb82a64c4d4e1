// Resource ids shared by the resource-manager tests and the resources they load: the program's own and the two
// resource-only modules'.
#pragma once

// Strings 16..31 are block 2, 32..47 block 3.
#define IDS_BLOCK2_ENTRY0 16
#define IDS_BLOCK2_ENTRY1 17
#define IDS_BLOCK2_EMPTY 18
#define IDS_BLOCK2_LAST 31
#define IDS_BLOCK3_ENTRY1 33
#define IDS_CYRILLIC 35
#define IDS_CONFIRM 50
#define IDS_NOWHERE 4000

// The module's hand-made string block 3: entry 0 is "ok", entry 1 claims 40 characters where 1 is left.
#define IDS_RAW_OK 32
#define IDS_RAW_OVERRUN 33
#define IDS_RAW_AFTER_OVERRUN 34

#define IDS_GERMAN_ONLY 60

#define IDR_MENU 200
#define IDB_BITMAP 300
#define IDC_CURSOR 310
#define IDI_ICON 320
#define IDD_TEMPLATE 400
#define IDR_PAGE 500

#define IDR_MISSING 999
#define ID_ITEM 1001
