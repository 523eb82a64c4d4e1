// Saturating arithmetic for layout lengths. Markup may give margins, sizes and positions near the 32-bit limits
// (Margin="2000000000"), and the layout adds and subtracts them: a sum that wrapped would turn into a negative size
// or offset. These stop at the limits instead, so 2147483647 keeps meaning an unbounded length.
//
//   const int marginWidth = AddMarkupLengths(margin->GetLeft(), margin->GetRight());
//   const int inner = SubtractMarkupLengths(available, marginWidth);
#pragma once

#include "classlib/Geometry.h"

#include <climits>

// n cut to the 32-bit range.
inline int SaturateMarkupLength(long long n)
{
    return n < INT_MIN ? INT_MIN : n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

inline int AddMarkupLengths(int a, int b)
{
    return SaturateMarkupLength(static_cast<long long>(a) + b);
}

inline int AddMarkupLengths(int a, int b, int c)
{
    return SaturateMarkupLength(static_cast<long long>(a) + b + c);
}

inline int SubtractMarkupLengths(int a, int b)
{
    return SaturateMarkupLength(static_cast<long long>(a) - b);
}

inline int SubtractMarkupLengths(int a, int b, int c)
{
    return SaturateMarkupLength(static_cast<long long>(a) - b - c);
}

// rect moved by (dx, dy), each edge stopping at the 32-bit limits.
inline CRect OffsetMarkupRect(const RECT& rect, int dx, int dy)
{
    return CRect(AddMarkupLengths(rect.left, dx), AddMarkupLengths(rect.top, dy), AddMarkupLengths(rect.right, dx),
                 AddMarkupLengths(rect.bottom, dy));
}

// The part of rect within clip grown by margin on every side: what a system drawing function is given in place of a
// rectangle that may reach the 32-bit limits, so it works on what shows. A rectangle inside that comes back as it
// is; one that misses it comes back empty.
inline CRect CutMarkupRectToClip(const RECT& rect, const RECT& clip, int margin)
{
    const CRect room(SubtractMarkupLengths(clip.left, margin), SubtractMarkupLengths(clip.top, margin),
                     AddMarkupLengths(clip.right, margin), AddMarkupLengths(clip.bottom, margin));
    CRect cut;
    if (!cut.IntersectRect(&rect, &room))
        return CRect(0, 0, 0, 0);
    return cut;
}
