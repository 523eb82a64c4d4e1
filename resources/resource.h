// Ids of the wizard's resources and dialog controls.
#pragma once

// Controls the code never addresses
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_WIZARD 102
#define IDD_SELECT_OS 140

// Icons and bitmaps
#define IDR_MAINFRAME 128
#define IDI_BROWSE 129
#define IDB_KIT 130
#define IDI_SMALL 142

// Strings
#define IDS_ABOUTBOX 101
#define IDS_WEB_ADDRESS 150
#define IDS_MAIL_ADDRESS 151

// Embedded files
#define IDR_RES_EXE 134
#define RT_OSM_FILE "FILE"

// System-menu command of the About entry
#define IDM_ABOUTBOX 0x0010

// Choice dialog
#define IDC_NEXT 1028
#define IDC_RADIO_XP 1256
#define IDC_RADIO_WIN7 1259
#define IDC_SELECT_OS_GROUP 1265

// About dialog
#define IDC_WEB_LINK_ABOUT 1018
#define IDC_MAIL_LINK 1019

// Main wizard page
#define IDC_CREATE_ISO 1000
#define IDC_DIST_PATH 1001
#define IDC_BROWSE_DIST 1002
#define IDC_KIT_PATH 1003
#define IDC_BROWSE_KIT 1004
#define IDC_FULL_NAME 1006
#define IDC_COMPANY 1007
#define IDC_COMPUTER_NAME 1008
#define IDC_KEY1 1009
#define IDC_KEY2 1010
#define IDC_KEY3 1011
#define IDC_KEY4 1012
#define IDC_KEY5 1013
#define IDC_PICTURE_LINK 1014
#define IDC_HEADING1 1015
#define IDC_HEADING2 1016
#define IDC_KIT_CHECK 1017
#define IDC_ISO_PATH 1018
#define IDC_BROWSE_ISO 1019
#define IDC_LABEL_FULL_NAME 1020
#define IDC_LABEL_COMPANY 1021
#define IDC_LABEL_COMPUTER 1022
#define IDC_LABEL_KEY 1023
#define IDC_DIST_TEXT 1024
#define IDC_NO_TEXT 1029
#define IDC_WEB_LINK 1030
#define IDC_LABEL_ISO 1031
#define IDC_LABEL_LOG 1032
#define IDC_LOG 1033
#define IDC_PROGRESS 1279
#define IDC_CANCEL_BUILD 3
