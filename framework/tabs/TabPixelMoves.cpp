#include "framework/tabs/TabPixelMoves.h"

#include <cstring>

#include "framework/foundation/DibCanvas.h"

namespace {

bool CanMovePixels(const DWORD* pSource, int nWidth, int nHeight, const DWORD* pDest)
{
    return pSource && pDest && nWidth > 0 && nHeight > 0;
}

}  // namespace

void FlipPixelsVertically(const DWORD* pSource, int nWidth, int nHeight, DWORD* pDest)
{
    if (!CanMovePixels(pSource, nWidth, nHeight, pDest))
        return;
    for (int y = 0; y < nHeight; y++)
        std::memcpy(pDest + static_cast<size_t>(nHeight - 1 - y) * nWidth, pSource + static_cast<size_t>(y) * nWidth,
                    sizeof(DWORD) * nWidth);
}

void TransposePixelsAntiDiagonal(const DWORD* pSource, int nWidth, int nHeight, DWORD* pDest)
{
    if (!CanMovePixels(pSource, nWidth, nHeight, pDest))
        return;
    const int w = nHeight, h = nWidth;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            pDest[static_cast<size_t>(h - 1 - y) * w + (w - 1 - x)] = pSource[static_cast<size_t>(x) * nWidth + y];
}

void TurnPixelsQuarter(const DWORD* pSource, int nWidth, int nHeight, DWORD* pDest)
{
    if (!CanMovePixels(pSource, nWidth, nHeight, pDest))
        return;
    const int w = nHeight, h = nWidth;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            pDest[static_cast<size_t>(h - 1 - y) * w + x] = pSource[static_cast<size_t>(x) * nWidth + y];
}

void TurnPixelsQuarterBack(const DWORD* pSource, int nWidth, int nHeight, DWORD* pDest)
{
    if (!CanMovePixels(pSource, nWidth, nHeight, pDest))
        return;
    const int w = nHeight, h = nWidth;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            pDest[static_cast<size_t>(y) * w + (w - 1 - x)] = pSource[static_cast<size_t>(x) * nWidth + y];
}

BOOL DrawTurnedToPosition(CDC* pDC, const CRect& rc, int nPosition, COLORREF clrBackground, BOOL bCopyUnder,
                          const std::function<void(CDC* pUprightDC, const CRect& rcUpright)>& draw)
{
    if (!pDC || rc.IsRectEmpty())
        return FALSE;
    if (nPosition < 1 || nPosition > 3)
    {
        draw(pDC, rc);
        return TRUE;
    }
    const int cx = rc.Width(), cy = rc.Height();
    const bool bVertical = nPosition != 2;
    const int cxUpright = bVertical ? cy : cx;
    const int cyUpright = bVertical ? cx : cy;
    HDC hDC = pDC->GetSafeHdc();
    const COSMDibCanvas upright(hDC, cxUpright, cyUpright);
    const COSMDibCanvas turned(hDC, cx, cy);
    if (!upright.IsValid() || !turned.IsValid())
        return FALSE;

    if (bCopyUnder)
    {
        ::BitBlt(turned.GetDC(), 0, 0, cx, cy, hDC, rc.left, rc.top, SRCCOPY);
        ::GdiFlush();
        if (nPosition == 1)
            TransposePixelsAntiDiagonal(turned.Bits(), cx, cy, upright.Bits());
        else if (nPosition == 2)
            FlipPixelsVertically(turned.Bits(), cx, cy, upright.Bits());
        else
            TurnPixelsQuarterBack(turned.Bits(), cx, cy, upright.Bits());
    }
    else if (clrBackground != static_cast<COLORREF>(-1))
    {
        CDC::FromHandle(upright.GetDC())->FillSolidRect(0, 0, cxUpright, cyUpright, clrBackground);
    }
    draw(CDC::FromHandle(upright.GetDC()), CRect(0, 0, cxUpright, cyUpright));
    ::GdiFlush();

    if (nPosition == 1)
        TransposePixelsAntiDiagonal(upright.Bits(), cxUpright, cyUpright, turned.Bits());
    else if (nPosition == 2)
        FlipPixelsVertically(upright.Bits(), cxUpright, cyUpright, turned.Bits());
    else
        TurnPixelsQuarter(upright.Bits(), cxUpright, cyUpright, turned.Bits());
    return ::BitBlt(hDC, rc.left, rc.top, cx, cy, turned.GetDC(), 0, 0, SRCCOPY);
}
