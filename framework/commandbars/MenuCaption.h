// Menu captions numbered for the keyboard: the bars of one dock row in a toolbar's expand menu, the open windows and
// the recent files; with number 0 the text alone (the toolbars list).
#pragma once

#include "classlib/CString.h"

// "&1 Text" .. "&9 Text", "1&0 Text", then "11 Text" and on without an access key; 0 gives "Text". An '&' of the
// text is doubled so that it shows as itself. The text is read in the thread's ANSI code page.
CString MakeNumberedMenuCaption(int number, const CString& text);
// The same, reading the text in the code page given: a double-byte character is copied whole, so a trail byte is
// never taken for an '&'; a lead byte with nothing after it is copied alone.
CString MakeNumberedMenuCaption(int number, const CString& text, UINT codePage);
