// Ids of the controls tests' own resources (ControlsTests.rc); the page's control ids come from resource.h.
#pragma once

#define IDD_CONTROLS_HOST 3000
#define IDD_MOVING_HOST 3001
#define IDB_TEST_LINK_NORMAL 3010
#define IDB_TEST_LINK_HOVER 3011
#define IDB_TEST_BUTTON 3012
#define IDB_TEST_MOVING 3013
#define IDI_TEST_BUTTON 3020
#define IDI_TEST_BUTTON_ALT 3021
#define IDC_TEST_PLAIN_EDIT 3030
#define IDC_TEST_MOVING 3031
