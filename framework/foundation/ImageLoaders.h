// How images enter the framework: files (PNG, BMP, icon files and whatever the system's picture loader reads) and
// resources (bitmaps, "PNG" resources, icons), as bitmap handles the caller deletes. 32-bit bitmaps keep their
// alpha channel; *pbAlpha says whether the result carries one.
//
//   BOOL bAlpha = FALSE;
//   HBITMAP hbm = LoadImageFile("toolbar.png", &bAlpha);
//   if (hbm)
//   {
//       GetImageManager()->AddIconsFromBitmap(hbm, ids, 10, 16, 16, 0, bAlpha);
//       ::DeleteObject(hbm);
//   }
//
// Every reader of packed DIBs here checks the header's fields in 64 bits against the real length of the data and
// refuses what does not fit, so a damaged file or resource is refused rather than read past its end.
#pragma once

#include "classlib/ClassLibBase.h"

#include <vector>

// The first four bytes are 0x89 'P' 'N' 'G'.
BOOL IsPngFile(LPCSTR lpszPath);
// A bitmap file whose header (14 + 40 bytes) says 32 bits per pixel.
BOOL IsAlphaBitmapFile(LPCSTR lpszPath);
// A PNG file (decoded with its alpha), a bitmap file (a 32-bit one as a DIB section with alpha), or any picture
// the system's loader reads (drawn on the dialog face colour, no alpha). NULL when none of them reads it.
HBITMAP LoadImageFile(LPCSTR lpszPath, BOOL* pbAlpha);

// A "PNG" resource of that name (with its alpha), else an RT_BITMAP: a 32-bit one with its alpha, another through
// LoadImage (LR_DEFAULTSIZE, no alpha).
HBITMAP LoadImageResource(HMODULE hModule, LPCSTR lpszResourceName, BOOL* pbAlpha);
// The same from the class library's resource module.
HBITMAP LoadImageResource(LPCSTR lpszResourceName, BOOL* pbAlpha);
// An RT_BITMAP whose header says 32 bits per pixel.
BOOL IsAlphaBitmapResource(HMODULE hModule, LPCSTR lpszResourceName);
// A 32-bit RT_BITMAP as a 32-bit bottom-up DIB section (straight alpha); NULL for any other or a damaged one.
HBITMAP LoadAlphaBitmapResource(HMODULE hModule, LPCSTR lpszResourceName);
HBITMAP LoadAlphaBitmapResource(UINT nIDResource);
// The first 32-bit image of an icon file whose width is nWidth (any width for 0), as a 32-bit DIB section.
HBITMAP LoadAlphaBitmapFromFile(LPCSTR lpszPath, int nWidth);

// ---- For the framework's own use ------------------------------------------------------------------------------------
// The packed DIB (a header, its masks and colours, then pixels) starts with an info header of 40 bytes or more
// saying 32 bits per pixel.
BOOL IsPackedDib32(const BYTE* pData, size_t nSize);
// A 32-bit packed DIB as a bottom-up 32-bit DIB section with straight alpha: BI_RGB, or BI_BITFIELDS with 8-bit
// masks (an info header of any version). bIconImage: the header's height counts the colour and mask rows of an
// icon image, of which the colour half is taken. NULL when the header is not such an image or the data is short.
HBITMAP CreateAlphaBitmapFromPackedDib(const BYTE* pData, size_t nSize, BOOL bIconImage);

// One entry of an icon group resource (RT_GROUP_ICON): size in pixels (a stored 0 means 256) and its RT_ICON id.
struct OSM_ICON_GROUP_ENTRY
{
    int nWidth;
    int nHeight;
    WORD nBitCount;
    WORD nID;
};
// The group's entries in their order; FALSE when the module has no such group or it is damaged.
BOOL ReadIconGroupResource(HMODULE hModule, LPCSTR lpszResourceName, std::vector<OSM_ICON_GROUP_ENTRY>& entries);
