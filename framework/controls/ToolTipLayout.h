// The arithmetic of the framework's tip windows, apart from any window: where a tip goes on the screen, how large
// it is for its title, image and text, and how tall the cursor above it is.
#pragma once

#include "classlib/Geometry.h"

#include <functional>
#include <vector>

// The tip's rectangle under the cursor: its top-left corner is the cursor moved down by the cursor height; in a
// right-to-left tool window the tip hangs to the left of the cursor.
CRect ToolTipRectUnderCursor(CSize size, CPoint cursor, int cursorHeight, BOOL bRightToLeft);

// Keeps a tip on the work area: past the right edge less 4 it moves left to that line; left of the work area it
// moves right to it; past the bottom less 4 it moves up so that its bottom is 3 pixels above the cursor.
CRect AdjustToolTipRect(CRect rcTip, CPoint cursor, const CRect& rcWork);

// What the size of a tip depends on. Text is measured through measureText (the size of the word-wrapped text at a
// width); the title's size is its single-line text extent, (0, 0) for no title; the image's, (0, 0) for none.
struct COSMToolTipSizeInput
{
    CSize titleExtent;
    CSize imageSize;
    int widthLimit = 0;  // the maximum tip width, the screen width for -1
    CRect margin;
    std::function<CSize(int width)> measureText;
};
// The tip's outer size: title and image beside or above the text, plus margins and 3 pixels each side.
CSize CalcToolTipSize(const COSMToolTipSizeInput& input);

// The horizontal and vertical room a tip's frame and margins take: margins + 6.
CSize ToolTipInset(const CRect& margin);

// An image below this height sits beside the title; taller ones go beside the text.
constexpr int kToolTipSmallImageHeight = 17;

// How far below the hot spot a cursor reaches: the rows through the last one with a visible pixel, less the hot
// spot's row. The mask holds width-wide rows, each padded to 16 bits; a monochrome cursor's mask holds its AND
// rows (top half) and XOR rows (bottom half), a colour cursor's the AND rows only. A pixel is visible where the AND
// bit is 0 or, in a monochrome cursor, the XOR bit is 1.
int ToolTipCursorHeightFromMask(const std::vector<BYTE>& maskBits, int width, int maskHeight, BOOL bMonochrome,
                                int hotSpotY);
// The height assumed when the cursor cannot be read.
constexpr int kToolTipDefaultCursorHeight = 21;
