#include "framework/tabs/TabPixelMoves.h"

#include <cstring>

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
