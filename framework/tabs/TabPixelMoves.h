// Pixel moves over 32-bit pixel arrays stored row after row, which turn a drawing made for a strip at the top
// into one for a strip at the left, bottom or right, and bring what lies under a turned tab back upright. Each
// reads a source of nWidth x nHeight pixels and writes a destination of as many; the turns and the transpose
// write nHeight x nWidth (the sides exchanged). Pixel (x, y) of an array of width w is element y * w + x.
//
//   std::vector<DWORD> turned(w * h);
//   TurnPixelsQuarter(upright.data(), w, h, turned.data());   // turned is h wide and w tall
//
// In a bottom-up DIB section (CreateAlphaDIBSection) a tab drawn upright with its base on the bottom row keeps
// its base on the client side: the flip puts it on top (bottom strip), the anti-diagonal transpose on the right
// (left strip), the quarter turn on the left (right strip). An empty size or a missing array moves nothing.
//
// DrawTurnedToPosition does the whole step for a tab: the drawing, made upright, lands in rc with its base on
// the client side of a strip in that position:
//
//   DrawTurnedToPosition(pDC, rcItem, nPosition, clrHeader, FALSE, [&](CDC* pUpright, const CRect& rcUpright) {
//       pImage->DrawImage(pUpright, rcUpright, ...);    // drawn as for a strip at the top
//   });
#pragma once

#include <windows.h>

#include <functional>

#include "classlib/DC.h"
#include "classlib/Geometry.h"

// Rows in reverse order: destination row h - 1 - y is source row y.
void FlipPixelsVertically(const DWORD* pSource, int nWidth, int nHeight, DWORD* pDest);
// Across the anti-diagonal: destination pixel (w - 1 - x, h - 1 - y) is source pixel (y, x), where w and h are
// the destination's width (nHeight) and height (nWidth). Its own inverse.
void TransposePixelsAntiDiagonal(const DWORD* pSource, int nWidth, int nHeight, DWORD* pDest);
// A quarter turn: destination pixel (x, h - 1 - y) is source pixel (y, x).
void TurnPixelsQuarter(const DWORD* pSource, int nWidth, int nHeight, DWORD* pDest);
// The quarter turn undone: destination pixel (w - 1 - x, y) is source pixel (y, x).
void TurnPixelsQuarterBack(const DWORD* pSource, int nWidth, int nHeight, DWORD* pDest);

// Draws through draw what it paints for a strip at the top into rc of a strip in nPosition (0 top: straight
// into pDC). For the other positions the drawing is made on an upright 32-bit bitmap (sides exchanged for left
// and right) that starts filled with clrBackground or, with bCopyUnder, holding what pDC shows under rc brought
// upright; its pixels are then moved into place. FALSE, and nothing drawn, for an empty rc (a strip squeezed to
// nothing, a hidden tab) or when the bitmaps cannot be made.
BOOL DrawTurnedToPosition(CDC* pDC, const CRect& rc, int nPosition, COLORREF clrBackground, BOOL bCopyUnder,
                          const std::function<void(CDC* pUprightDC, const CRect& rcUpright)>& draw);
