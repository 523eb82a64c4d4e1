// SystemErrorText: the system's own wording of a Windows error code, appended to the wizard's file messages
// ("Error with file %s. ", "Can't create file %s. ").
#pragma once

#include <windows.h>

#include <string>

// FormatMessageA from the system table in the user's language (inserts ignored), at most 1023 characters;
// an empty text when the system has none for the code.
std::string GetSystemErrorText(DWORD error);
