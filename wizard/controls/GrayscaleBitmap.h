// The grey picture a hover button shows while the mouse is elsewhere. Every colour becomes its luminance
// g = (blue * 11 + green * 59 + red * 30) / 100, written into all three channels.
#pragma once

#include <windows.h>

// Format of hBitmap as GDI reports it (a GetDIBits header query on the display); false when it is no bitmap.
bool QueryBitmapHeader(HBITMAP hBitmap, BITMAPINFOHEADER& header);

// A new bitmap, owned by the caller, holding the grey version of hBitmap; header is hBitmap's format from
// QueryBitmapHeader. 1-, 4- and 8-bit images are greyed in their colour table, 16-bit ones per pixel in 5-5-5 form,
// 24- and 32-bit ones per pixel (the fourth byte of a 32-bit pixel, the alpha of an icon, is kept). NULL for any
// other depth and when GDI fails.
HBITMAP CreateGrayscaleBitmap(HBITMAP hBitmap, const BITMAPINFOHEADER& header);
HBITMAP CreateGrayscaleBitmap(HBITMAP hBitmap);

inline BYTE GrayLevel(BYTE red, BYTE green, BYTE blue)
{
    return static_cast<BYTE>((blue * 11 + green * 59 + red * 30) / 100);
}
