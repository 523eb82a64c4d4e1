// Clears the read-only, hidden and system attributes in a whole folder tree: files copied from a disc are
// read-only, and the writers must replace them.
#pragma once

#include <windows.h>

// Non-zero after a complete walk; 0 when folder is empty or a folder of the tree cannot be listed.
// Links to folders and junctions are not entered (a link can lead back up the tree), but their own
// attributes are cleared.
BOOL ClearAttributesRecursive(const char* folder);
