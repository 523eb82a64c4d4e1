#include "framework/commandbars/PopupPlacement.h"

#include <cstdlib>

namespace {

const int kWorkAreaBottomMargin = 5;

BOOL Meets(const CRect& a, const CRect& b)
{
    CRect both;
    return both.IntersectRect(&a, &b);
}

}  // namespace

PopupPlacement CalculatePopupPlacement(const PopupPlacementInput& in)
{
    PopupPlacement out;
    out.flags = in.flags;
    out.exclude = in.exclude;
    CRect& exclude = out.exclude;
    DWORD& flags = out.flags;
    int x = in.x;
    int y = in.y;
    int cx = in.cx;
    int cy = in.cy;

    CRect work = in.workArea;
    if (exclude.IsRectEmpty())
    {
        const CPoint point(x, y);
        if (in.monitorArea.PtInRect(point) && !work.PtInRect(point))
            work = in.monitorArea;
    }
    else if (!Meets(exclude, work) && Meets(exclude, in.monitorArea))
    {
        work = in.monitorArea;
    }
    work.bottom -= kWorkAreaBottomMargin;
    // The middle of the work area itself: a work area need not start at y = 0 (a monitor below another, a taskbar
    // at the top), so half its height is no coordinate.
    const int middle = (work.top + work.bottom) / 2;

    BOOL scrolling = FALSE;
    const BOOL pointVertical = exclude.Height() == 0;
    if (pointVertical && (flags & kPopupUpwards))
        y -= cy;
    if (pointVertical && y > work.bottom)
    {
        y -= cy;
    }
    else if (y + cy > work.bottom)
    {
        if (pointVertical)
        {
            y = (y < middle ? work.bottom : y) - cy;
        }
        else if (!(flags & kPopupBelow))
        {
            y = work.bottom - cy;
        }
        else
        {
            y = exclude.top - cy;
            if (y < work.top)
            {
                if (!in.multiColumn)
                {
                    scrolling = TRUE;
                    if (exclude.CenterPoint().y > middle)
                    {
                        y = work.top;
                        cy = exclude.top - work.top;
                    }
                    else
                    {
                        y = exclude.bottom;
                        cy = work.bottom - y;
                    }
                }
                else
                {
                    flags &= ~DWORD(kPopupBelow);
                    exclude = in.sideExclude;
                    if (!(flags & kPopupLeftwards))
                        x = exclude.right;
                    y = work.bottom - cy;
                }
            }
        }
        if (y < work.top)
            y = work.top;
        if (y + cy > work.bottom && y == work.top && !in.multiColumn)
        {
            cy = work.bottom - y;
            scrolling = TRUE;
        }
    }

    const BOOL pointHorizontal = exclude.Width() == 0;
    if (flags == (kPopupLeftwards | kPopupBelow) && !pointHorizontal)
        x = exclude.right - cx;
    else if ((flags & kPopupLeftwards) && !pointHorizontal)
        x = exclude.left - cx;
    else if ((flags & kPopupLeftwards) && pointHorizontal)
        x -= cx;

    if (x + cx > work.right)
    {
        if (pointHorizontal && x > work.right)
        {
            x -= cx;
        }
        else if (pointHorizontal)
        {
            x = work.right - cx;
        }
        else
        {
            x = ((flags & kPopupBelow) ? work.right : exclude.left) - cx;
            flags |= kPopupLeftwards;
        }
        if (x < work.left)
            x = work.left;
    }
    else if (x < work.left)
    {
        if (pointHorizontal)
        {
            if (flags & kPopupLeftwards)
            {
                x = work.left;
                flags &= ~DWORD(kPopupLeftwards);
            }
        }
        else
        {
            x = (flags & kPopupBelow) ? work.left : exclude.right;
            flags &= ~DWORD(kPopupLeftwards);
        }
    }

    out.scrolling = scrolling && in.type == 2 && in.position == 5;
    out.rect = CRect(x, y, x + cx, y + cy);
    return out;
}

SystemMenuAnimation QuerySystemMenuAnimation()
{
    SystemMenuAnimation system;
    BOOL value = FALSE;
    system.animation = SystemParametersInfo(SPI_GETMENUANIMATION, 0, &value, 0) && value;
    value = FALSE;
    system.fadeKnown = SystemParametersInfo(SPI_GETMENUFADE, 0, &value, 0);
    system.fade = system.fadeKnown && value;
    return system;
}

int ChoosePopupAnimation(int option, BOOL hasManager, BOOL hasChildWindow, const SystemMenuAnimation& system,
                         int (*random)())
{
    if (!hasManager || hasChildWindow)
        return kPopupAnimationNone;
    if (option == 0)
    {
        if (!system.animation)
            return kPopupAnimationNone;
        return system.fadeKnown && system.fade ? kPopupAnimationFade : kPopupAnimationSlide;
    }
    if (option == 1)
    {
        static const int kRandomKinds[] = {kPopupAnimationFade, kPopupAnimationSlide, kPopupAnimationUnfold};
        const int value = random ? random() : std::rand();
        return kRandomKinds[((value % 3) + 3) % 3];
    }
    return option;
}
