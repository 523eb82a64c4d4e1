// The pure rules of the ribbon's keyboard access, kept apart from the windows so that they can be checked without a
// display: which control an arrow key reaches among rectangles, the quick-access controls' tip numbers, and where a
// group control's keyboard tip stands.
//
//   const int next = OsmRibbonFindNavigationTarget(current, others, VK_RIGHT);   // an index into others, or -1
//   CString text = OsmRibbonQuickAccessTipText(10);                             // "01"
#pragma once

#include "classlib/CString.h"
#include "classlib/Geometry.h"

#include <vector>

// The candidate an arrow key (VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN) moves to from the current rectangle: the nearest
// one in that direction among those overlapping the current row (Left, Right) or column (Up, Down), ranges that
// touch counting as overlapping; ties go to the smaller distance between centres across the direction. Right wraps
// to the leftmost overlapping candidate, Left to the one with the largest right edge (the later one on a tie); Up
// and Down never wrap. -1 when nothing qualifies.
int OsmRibbonFindNavigationTarget(const CRect& current, const std::vector<CRect>& candidates, UINT key);

// The tip text of the quick-access control at the 1-based number: "1" to "9", then "01" to "09"; empty from 19 on.
CString OsmRibbonQuickAccessTipText(int number);

// Where a group control's tip stands (bar client coordinates) and its kKeyboardTip... alignment bits.
struct COSMRibbonTipPlacement
{
    CPoint point;
    DWORD alignment = 0;
};

// control and group: the rectangles; captionHeight: the group caption's height; clientBottom: the bar's client
// bottom; type and style: the control's (a large-image button is style 4, check boxes and radio buttons types 9
// and 11, combo boxes and edits types 5 and 6, galleries type 10).
COSMRibbonTipPlacement OsmRibbonPlaceControlTip(const CRect& control, const CRect& group, int captionHeight,
                                                int clientBottom, int type, int style);
