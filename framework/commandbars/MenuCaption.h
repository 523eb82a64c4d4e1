// Menu captions numbered for the keyboard: the bars of one dock row in a toolbar's expand menu, the recent files.
#pragma once

#include "classlib/CString.h"

// "&1 Text" .. "&9 Text", "1&0 Text", then "11 Text" and on without an access key; an '&' of the text is doubled so
// that it shows as itself.
CString MakeNumberedMenuCaption(int number, const CString& text);
