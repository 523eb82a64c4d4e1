#include "framework/controls/ToolTipLayout.h"

#include <algorithm>

CRect ToolTipRectUnderCursor(CSize size, CPoint cursor, int cursorHeight, BOOL bRightToLeft)
{
    CRect rc(CPoint(cursor.x, cursor.y + cursorHeight), size);
    if (bRightToLeft)
        rc.OffsetRect(-size.cx, 0);
    return rc;
}

CRect AdjustToolTipRect(CRect rcTip, CPoint cursor, const CRect& rcWork)
{
    if (rcTip.right > rcWork.right - 4)
        rcTip.OffsetRect(rcWork.right - 4 - rcTip.right, 0);
    if (rcTip.left < rcWork.left)
        rcTip.OffsetRect(rcWork.left - rcTip.left, 0);
    if (rcTip.bottom > rcWork.bottom - 4)
        rcTip.OffsetRect(0, cursor.y - 3 - rcTip.bottom);
    return rcTip;
}

CSize ToolTipInset(const CRect& margin)
{
    return CSize(margin.left + margin.right + 6, margin.top + margin.bottom + 6);
}

CSize CalcToolTipSize(const COSMToolTipSizeInput& input)
{
    const CSize inset = ToolTipInset(input.margin);
    const BOOL bTitle = input.titleExtent.cx > 0 || input.titleExtent.cy > 0;
    CSize title;
    if (bTitle)
        title = CSize(input.titleExtent.cx + 4, input.titleExtent.cy + 20);

    CSize imageArea;
    const BOOL bImage = input.imageSize.cx > 0 && input.imageSize.cy > 0;
    if (bImage)
    {
        imageArea.cy = input.imageSize.cy;
        if (input.imageSize.cy < kToolTipSmallImageHeight)
        {
            if (bTitle)
                title.cx += input.imageSize.cx + 1;
            else
                imageArea.cx = input.imageSize.cx + 3;
        }
        else
        {
            imageArea.cx = input.imageSize.cx + 5;
        }
    }

    int textWidth = input.widthLimit - inset.cx;
    if (bTitle)
        textWidth = std::max(textWidth, static_cast<int>(title.cx)) - 25;
    const CSize text = input.measureText ? input.measureText(std::max(textWidth, 1)) : CSize();

    CSize size(imageArea.cx + text.cx, std::max(imageArea.cy, text.cy));
    if (bTitle)
    {
        size.cx = std::max(size.cx + 25, title.cx);
        size.cy += title.cy;
    }
    return CSize(size.cx + inset.cx, size.cy + inset.cy);
}

int ToolTipCursorHeightFromMask(const std::vector<BYTE>& maskBits, int width, int maskHeight, BOOL bMonochrome,
                                int hotSpotY)
{
    const int rowBytes = ((width + 15) / 16) * 2;
    const int rows = bMonochrome ? maskHeight / 2 : maskHeight;
    if (width <= 0 || rows <= 0 || static_cast<int>(maskBits.size()) < rowBytes * maskHeight)
        return kToolTipDefaultCursorHeight;
    auto bit = [&](int row, int x) { return (maskBits[row * rowBytes + x / 8] >> (7 - x % 8)) & 1; };
    for (int row = rows - 1; row >= 0; --row)
    {
        for (int x = 0; x < width; ++x)
        {
            if (bit(row, x) == 0 || (bMonochrome && bit(rows + row, x) == 1))
                return row + 1 - hotSpotY;
        }
    }
    return -hotSpotY;
}
