// How the bars match typed keys against the mnemonics of captions ("&File" is reached with F):
//
//   const int pos = FindMnemonicPos(caption);
//   if (pos >= 0 && CompareMnemonicKey(caption[pos + 1], key)) ... the control's mnemonic was typed ...
#pragma once

#include "classlib/ClassLibBase.h"

// The index of the '&' that marks the mnemonic: the first one that is not doubled ("&&" is a literal ampersand) and
// has a character after it; -1 when the text has none.
int FindMnemonicPos(const CString& text);

// Whether the virtual key types the character: keypad digits type exactly the digits, other keys their character
// or its capital; with more than one keyboard layout installed, what the key types in any of them, with or without
// Shift.
BOOL CompareMnemonicKey(UINT character, UINT key);
