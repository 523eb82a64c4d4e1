// Ids of the command-bar tests' resources.
#pragma once

// A menu resource whose first item is the popup "&Edit" with three items and a separator.
#define IDR_TEST_EDIT_MENU 5001
// A menu resource a sub-menu item names after a tab.
#define IDR_TEST_VIEW_MENU 5002

// Commands with prompts in the string table.
#define ID_TEST_UNDO 57643
#define ID_TEST_PASTE 57637
#define ID_TEST_FIND 57636
#define ID_TEST_STATUS 59393
// A command with no string of its own.
#define ID_TEST_PLAIN 33000
