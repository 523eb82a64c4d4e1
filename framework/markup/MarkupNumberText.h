// How markup text reads as numbers: whole numbers the C way (decimal, or with "%i" also hexadecimal "0x" and octal
// "0" forms), saturated at the 32-bit limits instead of overflowing, and the blank-separated decimal fractions of
// doubles, points and grid lengths (ParseMarkupNumberList).
#pragma once

#include "classlib/ClassLibBase.h"

// The value of digit c in base (2 to 36, letters in either case), or -1 when c is no digit of that base.
int MarkupDigitValue(WCHAR c, int base);

// Reads an optionally signed decimal integer after leading white space, stopping at the first other character;
// no digits give 0. Values past the 32-bit range give INT_MAX or INT_MIN. Moves *cursor past what was read.
int ReadMarkupDecimal(LPCWSTR* cursor);

// Reads one number as the C "%i" conversion does (leading white space, a sign, then "0x" hexadecimal, "0" octal or
// decimal), saturated at the 32-bit limits. FALSE, with the cursor unmoved, when no digit stands there.
BOOL ReadMarkupCInteger(LPCWSTR* cursor, int* value);

// Reads one number from *cursor: blanks, an optional sign, digits with at most one '.', up to the end, a blank or
// separator (when not 0); then skips blanks and one separator, and moves the cursor past all of it. With requireEnd,
// the text must end there. No exponent is read; a number too large to be finite fails. FALSE on failure, the cursor
// then unmoved.
BOOL ParseMarkupNumberList(LPCWSTR* cursor, double* value, WCHAR separator, BOOL requireEnd);

// The two texts are equal ignoring the case of ASCII letters (markup's named values, "True" and colour names).
BOOL MarkupTextEqualsNoCase(LPCWSTR text, LPCWSTR name);
