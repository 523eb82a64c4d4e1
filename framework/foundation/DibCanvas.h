// COSMDibCanvas: a 32-bit DIB section selected into a memory DC of its own, for one drawing whose pixels the code then
// reads or moves (a tab drawn upright and turned to its strip's side, an icon turned a quarter). What it made goes
// when it goes, in the right order, also when the drawing throws:
//
//   COSMDibCanvas canvas(pDC->GetSafeHdc(), cx, cy);
//   if (!canvas.IsValid())
//       return FALSE;
//   draw(CDC::FromHandle(canvas.GetDC()));
//   ::GdiFlush();                          // GDI has written the pixels before they are read
//   DWORD* rows = canvas.Bits();           // cx * cy pixels, B G R A, bottom row first
//   DWORD& corner = canvas.At(0, 0);       // the top-left pixel
#pragma once

#include "classlib/ScopedHandle.h"

class COSMDibCanvas
{
public:
    // cx x cy, made compatible with hdcCompatible (the screen for null); invalid for an empty size or when GDI
    // refuses.
    COSMDibCanvas(HDC hdcCompatible, int cx, int cy);

    COSMDibCanvas(const COSMDibCanvas&) = delete;
    COSMDibCanvas& operator=(const COSMDibCanvas&) = delete;

    bool IsValid() const { return m_selection.IsValid() && m_pBits != nullptr; }
    HDC GetDC() const { return m_dc.Get(); }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // The rows as stored: bottom row first (what CreateAlphaDIBSection makes and the pixel moves expect).
    DWORD* Bits() const { return m_pBits; }
    // The pixel at x, y counted from the top-left corner.
    DWORD& At(int x, int y) const { return m_pBits[static_cast<size_t>(m_cy - 1 - y) * m_cx + x]; }

private:
    // Declared in the order of making: the selection goes first (the bitmap leaves the DC), then the bitmap, then
    // the DC.
    ScopedCreatedDC m_dc;
    ScopedGdiObject<HBITMAP> m_bitmap;
    ScopedSelection m_selection;
    DWORD* m_pBits = nullptr;
    int m_cx = 0;
    int m_cy = 0;
};
