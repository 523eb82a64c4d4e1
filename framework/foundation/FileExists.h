// Whether a file or folder is there: the check the wizard makes before it relies on a path.
#pragma once

#include <windows.h>

// TRUE for an existing file, folder or drive root (a trailing backslash is allowed on folders).
// A name with wildcards is a pattern, not a path: it never exists.
BOOL FileExists(const char* path);
