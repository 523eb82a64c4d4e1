// The tip windows' width searches (see the header).
#include "framework/controls/TipWidthSearch.h"

int OsmResolveTipWidthLimit(int nMaxWidth, int cxScreen)
{
    // A negative width would make the bisection run over negative widths.
    return nMaxWidth < 0 ? cxScreen : nMaxWidth;
}

CSize OsmSearchRichTextExtent(int nMaxWidth, int cxScreen, const OsmTipLayoutAtWidth& layoutAtWidth)
{
    const int limit = OsmResolveTipWidthLimit(nMaxWidth, cxScreen);
    int lo = 0;
    int hi = 2 * limit;
    int heightToKeep = 0;
    bool firstPass = true;
    CSize last;
    do
    {
        const int mid = (lo + hi) / 2;
        last = layoutAtWidth(mid);
        if (firstPass)
        {
            heightToKeep = last.cy;
            firstPass = false;
        }
        if (last.cy > heightToKeep)
            lo = mid + 1;
        else
            hi = mid - 1;
        // Until the bounds cross: stopping when they meet would leave that last width untried, one pixel short of
        // the narrowest.
    } while (lo <= hi);
    if (last.cy <= heightToKeep)
        return last;
    // The last pass was too narrow: the narrowest one that kept the height was just above the last upper bound.
    return layoutAtWidth(hi + 1);
}

int OsmSearchHtmlTipWidth(int nMaxWidth, int cxScreen, int nNaturalHeight, const OsmTipLayoutAtWidth& layoutAtWidth)
{
    int width = OsmResolveTipWidthLimit(nMaxWidth, cxScreen);
    int lo = 0;
    int hi = 2 * width;
    do
    {
        const int mid = (lo + hi) / 2;
        const CSize laidOut = layoutAtWidth(mid);
        if (laidOut.cx > mid && laidOut.cy <= nNaturalHeight)
            return laidOut.cx;  // wider than it was given, whatever the width: nothing narrower exists
        if (laidOut.cy > nNaturalHeight)
        {
            lo = mid + 1;
        }
        else
        {
            hi = mid - 1;
            width = mid;
        }
    } while (lo <= hi);
    return width;
}
