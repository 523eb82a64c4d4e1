// Resource ids of the class-library tests' dialogs and strings.
#pragma once

#define IDD_FORM 100
#define IDD_INNER 101

#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_AGREE 1003
#define IDC_RADIO_A 1004
#define IDC_RADIO_B 1005
#define IDC_RADIO_C 1006
#define IDC_PROGRESS 1007
#define IDC_INNER_EDIT 1008

#define IDS_GREETING 2001
#define IDS_LONG_TEXT 2002
#define IDS_MISSING 2099
#define IDS_STATUS_SAVE 2003
// The frame's idle status text (the library's AFX_IDS_IDLEMESSAGE).
#define IDS_IDLE_MESSAGE 0xE001

#define IDR_FRAME_ACCEL 110
#define ID_FRAME_REFRESH 40110

// A document template's menu and strings.
#define IDR_TEXT_TYPE 120
#define ID_TEXT_COMMAND 40120
