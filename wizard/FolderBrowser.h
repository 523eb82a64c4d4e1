// The system's folder chooser, as the page's three browse buttons use it.
#pragma once

#include <windows.h>

#include <string>

// Lets the user pick a folder; true and the folder's path when one was chosen, false (path untouched) when the
// user cancelled or the choice is not a file-system folder.
bool BrowseForFolder(HWND owner, const char* title, std::string& path);
