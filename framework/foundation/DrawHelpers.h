// Gradients, alpha blends and transparent blits through "msimg32.dll" where the system has it and it is safe to
// use, through our own GDI code everywhere else; plus the corner exclusion and the pixel blur painters share.
//
//   GetDrawHelpers()->GradientFill(pDC, rcBar, clrLight, clrDark, FALSE);            // top to bottom
//   GetDrawHelpers()->GradientFillTwoPart(pDC, rcBar, gradient, TRUE, &rcClip);      // left to right, clipped
//   GetDrawHelpers()->DrawAlphaBlend(pDC, rcIcon, &dcImage, CRect(0, 0, 16, 16));    // premultiplied 32-bit source
//
// The process-wide object loads msimg32 by name, so the program still starts where the DLL is missing, and never
// frees it: painters may draw from destructors that run at exit. What the helpers ask of the system (Windows 9x or
// the NT family, a context of 256 colours or fewer) goes through a COSMDrawEnvironment, and the library functions
// sit in a COSMMsimg32Functions, so a test or a caller can build an object with functions and facts of its own; a
// null function makes our own code run.
#pragma once

#include <windows.h>

#include "classlib/ClassLibBase.h"
#include "framework/foundation/PaintManagerColor.h"

// The three functions of msimg32 the helpers call; each null when missing.
struct COSMMsimg32Functions
{
    using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

    GradientFillFn gradientFill = nullptr;
    AlphaBlendFn alphaBlend = nullptr;
    TransparentBltFn transparentBlt = nullptr;
};

// What the helpers need to know of the system they draw on. The default asks the running system; override to
// draw as on another one.
class COSMDrawEnvironment
{
public:
    COSMDrawEnvironment() = default;
    virtual ~COSMDrawEnvironment() = default;

    COSMDrawEnvironment(const COSMDrawEnvironment&) = delete;
    COSMDrawEnvironment& operator=(const COSMDrawEnvironment&) = delete;

    // Override these.
    // Windows 95, 98 or Me.
    virtual BOOL IsWin9x();
    // The NT family from Windows 2000 on.
    virtual BOOL IsWin2KOrGreater();
    // 256 colours or fewer on the context.
    virtual BOOL IsLowColorDC(HDC dc);
};

// The environment of the process-wide helpers: the running system, made on first use.
COSMDrawEnvironment& GetSystemDrawEnvironment();

class COSMDrawHelpers
{
public:
    // msimg32 loaded by name, the running system's facts.
    COSMDrawHelpers();
    // The functions given (a null one: our own code instead) and the environment given, which must outlive the
    // object.
    COSMDrawHelpers(const COSMMsimg32Functions& functions, COSMDrawEnvironment& environment);
    virtual ~COSMDrawHelpers() = default;

    COSMDrawHelpers(const COSMDrawHelpers&) = delete;
    COSMDrawHelpers& operator=(const COSMDrawHelpers&) = delete;

    // Not meant to be overridden.
    // A two-colour gradient over the rectangle: from the left edge to the right one when bHorz is TRUE, else
    // from the top edge to the bottom one. One solid fill of crFrom when the colours are equal or the context
    // has 256 colours or fewer. FALSE when there is no context, the rectangle is empty or drawing failed.
    BOOL GradientFill(CDC* pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz);
    // The part of that gradient which lies inside lpClip (the whole gradient when lpClip is null): each pixel
    // gets the colour it has in the full gradient, and nothing outside the clip is painted. FALSE also when the
    // clip misses the rectangle.
    BOOL GradientFillClipped(CDC* pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz, LPCRECT lpClip);
    // The gradient value's effective colours (custom where set): one gradient for a factor of exactly 0.5, else
    // two halves that meet at the colours' blend by the factor. Clipped as GradientFillClipped.
    BOOL GradientFillTwoPart(CDC* pDC, LPCRECT lpRect, const COSMPaintManagerColorGradient& gradient, BOOL bHorz,
                             LPCRECT lpClip);

    // The source's premultiplied 32-bit pixels over the destination, by their own alpha, stretched to the
    // destination rectangle when the sizes differ.
    BOOL DrawAlphaBlend(CDC* pDestDC, LPCRECT lpDestRect, CDC* pSrcDC, LPCRECT lpSrcRect);
    // The source copied to the destination, stretched when the sizes differ, except its pixels of crTransparent.
    BOOL DrawTransparentBlt(CDC* pDestDC, LPCRECT lpDestRect, CDC* pSrcDC, LPCRECT lpSrcRect, COLORREF crTransparent);

    // Takes the four corner pixels of the rectangle out of the context's clip region (for rounded frames).
    BOOL ExcludeCorners(CDC* pDC, int nLeft, int nTop, int nRight, int nBottom);
    BOOL ExcludeCorners(CDC* pDC, LPCRECT lpRect);
    // pPoints holds pairs (point, offset); the pixel at each point becomes the per-channel average of itself
    // and the pixel at point + offset. FALSE when a pixel could not be read or written (the others still are).
    BOOL BlurPoints(CDC* pDC, const POINT* pPoints, int nCount);

    const COSMMsimg32Functions& GetFunctions() const { return m_functions; }
    COSMDrawEnvironment& GetEnvironment() const { return m_environment; }

protected:
    // Our own code, for systems without msimg32 or where it cannot be trusted.
    BOOL GradientFillByLines(HDC hDC, const RECT& rect, COLORREF crFrom, COLORREF crTo, BOOL bHorz);
    BOOL AlphaBlendByPixels(CDC* pDestDC, const RECT& rcDest, CDC* pSrcDC, const RECT& rcSrc);
    BOOL TransparentBltByMask(CDC* pDestDC, const RECT& rcDest, CDC* pSrcDC, const RECT& rcSrc, COLORREF crTransparent);

private:
    COSMMsimg32Functions m_functions;
    COSMDrawEnvironment& m_environment;
    HMODULE m_hMsimg32 = nullptr;
};

// The process-wide helpers, made on first use and destroyed at exit.
COSMDrawHelpers* GetDrawHelpers();
