// COSMPngBitmap: a bitmap decoded from PNG data (a file, a "PNG" resource or any file object) with libpng, held as
// a 32-bit top-down DIB section of B, G, R, A bytes, not premultiplied; images without an alpha channel (or tRNS
// transparency) get alpha 0 and IsAlpha FALSE.
//
//   COSMPngBitmap png;
//   if (png.LoadFromResource(AfxGetResourceHandle(), "TOOLBAR"))
//   {
//       BOOL bAlpha = png.IsAlpha();
//       HBITMAP hbm = static_cast<HBITMAP>(png.Detach());
//   }
//
// A damaged stream (short data, a bad checksum, an image larger than 16384 x 16384) makes the load fail and leaves
// nothing behind. Only the chunks the decode uses are read; text, profiles, Exif and unknown chunks are passed over
// unallocated, whatever length they claim.
#pragma once

#include "classlib/Gdi.h"

class COSMPngBitmap : public CBitmap
{
public:
    COSMPngBitmap() = default;

    // Each first deletes the bitmap held and clears the alpha flag.
    BOOL LoadFromFile(LPCSTR lpszPath);
    // A resource of type "PNG"; FALSE when it is missing or shorter than 10 bytes (no PNG is that small).
    BOOL LoadFromResource(HMODULE hModule, LPCSTR lpszResourceName);
    // Reads the PNG from the file's current position.
    virtual BOOL LoadFromFileObject(CFile* pFile);

    // The image had an alpha channel or tRNS transparency.
    BOOL IsAlpha() const { return m_bAlpha; }
    // The background colour of the last decode's bKGD chunk, or (0x7F, 0x7F, 0x7F) when it had none.
    COLORREF GetBackgroundColor() const { return m_clrBackground; }

protected:
    BOOL m_bAlpha = FALSE;
    COLORREF m_clrBackground = RGB(0x7F, 0x7F, 0x7F);
};

// Decodes PNG data from the file object into rows of width x channels bytes (R, G, B and, with 4 channels, A),
// 8 bits each. *ppPixels comes from malloc (the caller frees it with free()); *pclrBackground receives the bKGD
// chunk's colour when there is one (the low byte of each channel). FALSE, with nothing to free, for anything that
// is not a whole, sound PNG image.
BOOL DecodePng(CFile* pFile, LPBYTE* ppPixels, int* pnWidth, int* pnHeight, int* pnChannels, COLORREF* pclrBackground);
