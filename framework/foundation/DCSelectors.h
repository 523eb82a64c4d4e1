// Scoped selection of GDI objects into a device context. Each selector puts its object in, gives back what it
// replaced when it goes, and deletes only the objects it made itself:
//
//   {
//       COSMFontDC font(pDC, &m_fontBold, GetSysColor(COLOR_BTNTEXT));
//       COSMPenDC pen(*pDC, GetSysColor(COLOR_3DSHADOW));
//       COSMBrushDC brush(*pDC, GetSysColor(COLOR_BTNFACE));
//       pDC->Rectangle(rc);
//       pDC->DrawText(strCaption, rc, DT_SINGLELINE);
//   }   // the DC holds its earlier font, text colour, pen and brush again
//
//   COSMCompatibleDC dcImage(pDC, &m_bmpImage);  // a memory DC with the bitmap in it, for BitBlt from it
//
// Selectors nest like scopes: destroy them in the reverse order of their making (locals do).
#pragma once

#include "classlib/DC.h"
#include "classlib/Gdi.h"

// A font (and optionally a text colour) for the scope. Only the first font and the first colour replaced are
// remembered, so after several SetFont or SetColor calls the DC gets back what it held before the first.
class COSMFontDC
{
public:
    explicit COSMFontDC(CDC* pDC, CFont* pFont = nullptr);
    COSMFontDC(CDC* pDC, CFont* pFont, COLORREF clrTextColor);
    virtual ~COSMFontDC();

    COSMFontDC(const COSMFontDC&) = delete;
    COSMFontDC& operator=(const COSMFontDC&) = delete;

    void SetFont(CFont* pFont);
    void SetColor(COLORREF clrTextColor);
    // Give back the remembered font or colour now; later calls start remembering afresh.
    void ReleaseFont();
    void ReleaseColor();

protected:
    static const COLORREF kNoColor = static_cast<COLORREF>(-1);

    CDC* m_pDC;
    HFONT m_hOldFont = nullptr;
    COLORREF m_clrOldTextColor = kNoColor;
};

// A pen for the scope: a one-pixel solid pen of a colour that the selector makes and deletes, or a pen the
// caller owns.
class COSMPenDC
{
public:
    COSMPenDC(HDC hDC, COLORREF clrColor);
    COSMPenDC(CDC* pDC, CPen* pPen);
    virtual ~COSMPenDC();

    COSMPenDC(const COSMPenDC&) = delete;
    COSMPenDC& operator=(const COSMPenDC&) = delete;

    // Switches to an own one-pixel solid pen of this colour (a pen made before is deleted).
    void Color(COLORREF clrColor);

protected:
    HDC m_hDC;
    HGDIOBJ m_hOldPen = nullptr;
    CPen m_pen;  // the pen this selector made, if any
};

// A brush for the scope: a solid brush of a colour that the selector makes and deletes, or a brush the caller
// owns.
class COSMBrushDC
{
public:
    COSMBrushDC(HDC hDC, COLORREF clrColor);
    COSMBrushDC(CDC* pDC, CBrush* pBrush);
    virtual ~COSMBrushDC();

    COSMBrushDC(const COSMBrushDC&) = delete;
    COSMBrushDC& operator=(const COSMBrushDC&) = delete;

    // Switches to an own solid brush of this colour (a brush made before is deleted).
    void Color(COLORREF clrColor);

protected:
    HDC m_hDC;
    HGDIOBJ m_hOldBrush = nullptr;
    CBrush m_brush;  // the brush this selector made, if any
};

// A memory DC compatible with pDC (with the screen when pDC is NULL) holding a bitmap for the scope. The
// bitmap stays the caller's; the memory DC is deleted with the object.
class COSMCompatibleDC : public CDC
{
public:
    COSMCompatibleDC(CDC* pDC, CBitmap* pBitmap);
    COSMCompatibleDC(CDC* pDC, HBITMAP hBitmap);
    ~COSMCompatibleDC() override;

    COSMCompatibleDC(const COSMCompatibleDC&) = delete;
    COSMCompatibleDC& operator=(const COSMCompatibleDC&) = delete;

protected:
    HGDIOBJ m_hOldBitmap = nullptr;
};
