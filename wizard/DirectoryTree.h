// CreateDirectoryTree: makes a folder together with every missing folder above it.
#pragma once

#include <windows.h>

// Creates each parent of path (results ignored: existing parents are passed over; a drive root such as "C:\" is
// never created on its own), then path itself, and gives that last creation's result. The thread's last error is
// the one that last creation left, so a caller can accept ERROR_ALREADY_EXISTS.
BOOL CreateDirectoryTree(const char* path, LPSECURITY_ATTRIBUTES security);
