// Ids of the command-bar tests' resources.
#pragma once

// A menu resource whose first item is the popup "&Edit" with three items and a separator.
#define IDR_TEST_EDIT_MENU 5001
// A menu resource a sub-menu item names after a tab.
#define IDR_TEST_VIEW_MENU 5002

// Commands with prompts in the string table (in a block of their own: the framework's resources hold the clipboard
// commands' strings).
#define ID_TEST_UNDO 57660
#define ID_TEST_PASTE 57655
#define ID_TEST_FIND 57654
#define ID_TEST_STATUS 59393
// A command with no string of its own.
#define ID_TEST_PLAIN 33000

// Toolbar resources (RT_TOOLBAR, written as raw blocks): ids 100, 0, 101 with 24 x 22 and 16 x 15 images; one
// whose item count (5) runs past its end; eight buttons 201..208 in two groups.
#define IDR_TEST_TOOLBAR24 5003
#define IDR_TEST_TOOLBAR16 5004
#define IDR_TEST_TOOLBAR_SHORT 5005
#define IDR_TEST_TOOLBAR_WIDE 5006

// The menu bar's MDI frame: its own menu and the menus (and document strings) of two document templates.
#define IDR_TEST_FRAME_MENU 100
#define IDR_TEST_TEXT_TYPE 200
#define IDR_TEST_IMAGE_TYPE 300
#define ID_TEST_FILE_NEW 40001
#define ID_TEST_FILE_CLOSE 40002
#define ID_TEST_TEXT_WRAP 40003
#define ID_TEST_IMAGE_ZOOM 40004
#define ID_TEST_WINDOW_TILE 40005
#define ID_TEST_HELP_ABOUT 40006
