// Free functions on bitmaps and icons that the image manager, its loaders and the customization share: 32-bit
// DIB sections, copies and reads of a bitmap's pixels, premultiplying with the alpha test, cutting a strip of
// images, icons from alpha bitmaps, and icon sizes.
//
//   void* pBits = nullptr;
//   HBITMAP hbm = CreateAlphaDIBSection(nullptr, 16, 16, &pBits);   // bottom-up B, G, R, A
//   BOOL bAlpha = FALSE;
//   HBITMAP hPremultiplied = PreMultiplyAlphaBitmap(hbm, &bAlpha);   // a new bitmap; hbm stays the caller's
//
// Pixels are 32-bit B, G, R, A. "Premultiplied" means each colour channel is already c * a / 255, the form
// AlphaBlend draws with per-pixel alpha. Every function that makes a bitmap returns a new one the caller deletes.
#pragma once

#include "classlib/Geometry.h"

#include <vector>

// A 32-bit BI_RGB DIB section of cx x cy with bottom-up rows (positive height), made on hDC or, when it is NULL,
// on a memory context compatible with the screen. *ppBits (when given) receives its pixels. NULL on failure
// (no size, or no memory).
HBITMAP CreateAlphaDIBSection(HDC hDC, int cx, int cy, void** ppBits);

// A new bottom-up 32-bit DIB section holding hSource's pixels as GetDIBits gives them (a 32-bit source keeps its
// alpha bytes). *ppBits (when given) receives the copy's pixels. NULL on failure.
HBITMAP Create32bppBitmapCopy(HBITMAP hSource, LPBYTE* ppBits = nullptr);

// The bitmap's pixels as 32-bit B, G, R, A, bottom row first unless bTopDown; cx and cy receive its size.
// Throws std::bad_alloc.
bool ReadBitmapPixels32(HBITMAP hBitmap, bool bTopDown, int& cx, int& cy, std::vector<DWORD>& pixels);

// Reads a bitmap's pixels as 32-bit rows stored top row first, with a new header describing them. *ppInfo and
// *ppBits come from malloc; the caller frees both with free(). pDC may be NULL (the screen's context).
BOOL CopyBitmapBitsWithAlpha(CDC* pDC, HBITMAP hBitmap, BITMAPINFO** ppInfo, DWORD** ppBits, CSize* pSize);

// A bottom-up copy of a 32-bit bitmap (any other depth gives NULL) with premultiplied colours.
// With pbAlpha, the pixels are tested first: a pixel whose alpha lies strictly between 0 and 255, or is 255 after
// a pixel of alpha 0 was met, makes the image an alpha image; a caller that starts *pbAlpha at -1 also counts any
// pixel of alpha 255. *pbAlpha then says TRUE or FALSE, and an image found not to be an alpha image is copied as
// read, not premultiplied. Without pbAlpha the copy is always premultiplied. *ppBits (when given) receives the
// copy's pixels.
HBITMAP PreMultiplyAlphaBitmap(HBITMAP hBitmap, BOOL* pbAlpha = nullptr, LPBYTE* ppBits = nullptr);

// An icon of a 32-bit bitmap with straight (not premultiplied) alpha: its colours, and a mask that is set where
// alpha is 0. NULL for anything but a 32-bit bitmap.
HICON CreateAlphaIconFromBitmap(HBITMAP hBitmap);

// Cuts a strip of nCount images of equal width into nCount new 32-bit bitmaps (pBitmaps must hold nCount). The
// strip's width must be a multiple of nCount. FALSE (and nothing left behind) when a slice cannot be made.
BOOL SplitAlphaBitmap(HBITMAP hBitmap, int nCount, HBITMAP* pBitmaps);
// The first nCount slices of nSliceWidth from the strip's left (pBitmaps must hold nCount); the rest of the strip
// is not cut. FALSE (and nothing left behind) when they do not fit in the strip or a slice cannot be made.
BOOL SplitAlphaBitmap(HBITMAP hBitmap, int nSliceWidth, int nCount, HBITMAP* pBitmaps);

// The icon's size: its mask's width and height, the height halved when the icon has no colour bitmap (the mask
// then holds both halves). 0 x 0 for no icon.
CSize GetIconSize(HICON hIcon);

// A new icon of nNewWidth wide, the height scaled alike (MulDiv), drawn through a 32-bit masked image list; a copy
// when the width does not change; NULL for a new width of 0 or an icon size of 0 x 0.
HICON ScaleIcon(HICON hIcon, int cx, int cy, int nNewWidth);

// The bitmap as a device-independent bitmap: an info block (the 40-byte header, then 16 colour entries for 4-bit
// images, 256 for 8-bit ones and 3 for the others) and its pixels (DIB_RGB_COLORS). Both blocks come from
// malloc; the caller frees them. FALSE (and nothing to free) on failure.
BOOL GetBitmapDIBData(HBITMAP hBitmap, BITMAPINFO*& pInfo, int& nInfoSize, LPBYTE& pPixels, int& nPixelSize);

// The colour entries an info block of this bit count carries in the image manager's stored form.
int GetDIBColorTableEntries(int nBitCount);
