// AfxEnableModeless: while a program asks the user something modally from a modeless window (a message box over a
// tool sheet), the thread's other modeless windows must not take input either. Calls nest:
//
//   AfxEnableModeless(FALSE);      // the thread's owned top-level windows that were enabled are disabled
//   ::MessageBoxA(sheet, ...);
//   AfxEnableModeless(TRUE);       // the last matching call enables exactly those windows again
#pragma once

#include "classlib/ClassLibBase.h"

void AfxEnableModeless(BOOL bEnable);
// FALSE while an AfxEnableModeless(FALSE) has no matching AfxEnableModeless(TRUE) yet on this thread.
BOOL AfxIsModelessEnabled();
