// A paint buffer: draw into it as into the target, and the destructor copies the rectangle to the target in
// one BitBlt, so the target never shows half a paint.
//
//   void CMyBar::OnPaint()
//   {
//       CPaintDC dcPaint(this);
//       COSMBufferDC dc(dcPaint);            // clipped to the paint rectangle
//       dc.FillSolidRect(COSMClientRect(this), GetSysColor(COLOR_BTNFACE));
//       ...
//   }
//
// The buffer's bitmap reaches from (0, 0) to the rectangle's bottom-right corner, so drawing code uses the
// target's coordinates unchanged. An empty buffer (no memory DC or no bitmap: a rectangle that ends at or left
// of 0, or one too large for a bitmap) copies nothing back.
#pragma once

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"

class COSMBufferDC : public CDC
{
public:
    COSMBufferDC(HDC hDestDC, const CRect& rect);
    // Over the paint rectangle of a paint DC: the bitmap is at least 1 x 1 and drawing is clipped to the
    // paint rectangle.
    explicit COSMBufferDC(CPaintDC& paintDC);
    ~COSMBufferDC() override;

    COSMBufferDC(const COSMBufferDC&) = delete;
    COSMBufferDC& operator=(const COSMBufferDC&) = delete;

    HDC GetDestDC() const { return m_hDestDC; }
    const CRect& GetRect() const { return m_rect; }
    // TRUE when drawing goes into a bitmap of our own (and will reach the target).
    BOOL IsBuffered() const { return m_bitmap.m_hObject != nullptr; }

protected:
    HDC m_hDestDC;
    CBitmap m_bitmap;
    CRect m_rect;
    HGDIOBJ m_hOldBitmap = nullptr;

private:
    void CreateBuffer(int nWidth, int nHeight);
};
