// Ids of the property-sheet and check-list tests' own resources (PropertySheetTests.rc).
#pragma once

#define IDD_SHEET_PAGE_ONE 3001
#define IDD_SHEET_PAGE_TWO 3002
#define IDD_SHEET_PAGE_MISSING 3099
#define IDC_PAGE_LIST 3010
#define IDC_PAGE_EDIT 3011
