// Text helpers the painters share: menu mnemonics taken out of captions, and the fonts the machine has.
//
//   CString caption = "&File";
//   StripMnemonics(caption);                  // "File"; "&&" stays one "&"
//   CString face = GetDefaultFontName(TRUE);  // the face bars and menus use
#pragma once

#include <windows.h>

#include "classlib/CString.h"

// Removes every '&' that marks a mnemonic; "&&" becomes "&" and a '&' at the end goes.
void StripMnemonics(CString& text);
// The same on a NUL-terminated buffer; a null buffer and the value -1 as a pointer are left alone.
void StripMnemonicsInPlace(char* text);

// Whether a font family of that face is installed (compared without regard to case).
BOOL FontExists(LPCSTR face);
// The face for the framework's user-interface text: the system's own GUI font where it is made for a non-Western
// character set on NT 5 or later; otherwise Tahoma (when preferTahoma and installed) or Arial, and the system's
// GUI font when Arial is missing.
CString GetDefaultFontName(BOOL preferTahoma);
