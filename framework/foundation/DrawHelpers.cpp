#include "framework/foundation/DrawHelpers.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "framework/foundation/ProcessService.h"

#include <algorithm>

#include "framework/foundation/ColorFunctions.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/LayoutFunctions.h"
#include "framework/foundation/OSVersionInfo.h"

namespace {

// Callers may pass no context at all.
HDC SafeHdc(CDC* pDC)
{
    return pDC ? pDC->GetSafeHdc() : nullptr;
}

template <typename Function> Function ProcAddress(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Solid fills through ExtTextOut's opaque rectangle, which needs no brush per colour; the context gets its
// background colour back when the filler goes.
class OpaqueFiller
{
public:
    explicit OpaqueFiller(HDC hDC) : m_hDC(hDC), m_clrOldBk(::GetBkColor(hDC)) {}
    ~OpaqueFiller() { ::SetBkColor(m_hDC, m_clrOldBk); }

    OpaqueFiller(const OpaqueFiller&) = delete;
    OpaqueFiller& operator=(const OpaqueFiller&) = delete;

    BOOL Fill(const RECT& rect, COLORREF clr)
    {
        ::SetBkColor(m_hDC, clr);
        return ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    }

private:
    HDC m_hDC;
    COLORREF m_clrOldBk;
};

// The context's background and text colours for a scope.
class ContextColors
{
public:
    ContextColors(HDC hDC, COLORREF clrBk, COLORREF clrText)
        : m_hDC(hDC), m_clrOldBk(::SetBkColor(hDC, clrBk)), m_clrOldText(::SetTextColor(hDC, clrText))
    {}
    ~ContextColors()
    {
        ::SetTextColor(m_hDC, m_clrOldText);
        ::SetBkColor(m_hDC, m_clrOldBk);
    }

    ContextColors(const ContextColors&) = delete;
    ContextColors& operator=(const ContextColors&) = delete;

private:
    HDC m_hDC;
    COLORREF m_clrOldBk;
    COLORREF m_clrOldText;
};

// A 32-bit bottom-up DIB section the blend reads and writes through its pixel pointer.
HBITMAP CreateBlendBitmap(HDC hDC, int nWidth, int nHeight, DWORD** ppBits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    *ppBits = static_cast<DWORD*>(pBits);
    return hBitmap;
}

// A blend bitmap as the blend needs it: 32 bits, one plane, the size asked for, pixels in memory.
bool IsBlendBitmap(HBITMAP hBitmap, int nWidth, int nHeight)
{
    BITMAP bm{};
    return hBitmap && ::GetObjectA(hBitmap, sizeof(bm), &bm) == sizeof(bm) && bm.bmBitsPixel == 32 &&
           bm.bmPlanes == 1 && bm.bmWidth == nWidth && bm.bmHeight == nHeight && bm.bmBits != nullptr;
}

// Premultiplied source over destination, one channel (or alpha): source + (255 - source alpha) * dest / 255.
DWORD BlendChannel(DWORD source, DWORD sourceAlpha, DWORD dest)
{
    // A source that is not truly premultiplied would overflow the byte.
    return std::min<DWORD>(source + (255 - sourceAlpha) * dest / 255, 255);
}

BOOL CopyBits(HDC hDestDC, const RECT& rcDest, HDC hSrcDC, int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    const int nWidth = rcDest.right - rcDest.left, nHeight = rcDest.bottom - rcDest.top;
    if (nWidth == nSrcWidth && nHeight == nSrcHeight)
        return ::BitBlt(hDestDC, rcDest.left, rcDest.top, nWidth, nHeight, hSrcDC, 0, 0, dwRop);
    return ::StretchBlt(hDestDC, rcDest.left, rcDest.top, nWidth, nHeight, hSrcDC, 0, 0, nSrcWidth, nSrcHeight, dwRop);
}

}  // namespace

BOOL COSMDrawEnvironment::IsWin9x()
{
    return GetOSVersionInfo()->IsWin9x();
}

BOOL COSMDrawEnvironment::IsWin2KOrGreater()
{
    return GetOSVersionInfo()->IsWin2KOrGreater();
}

BOOL COSMDrawEnvironment::IsLowColorDC(HDC dc)
{
    return ::IsLowColorDC(dc);
}

COSMDrawEnvironment& GetSystemDrawEnvironment()
{
    return *OsmProcessService<COSMDrawEnvironment>();
}

COSMDrawHelpers::COSMDrawHelpers() : COSMDrawHelpers(COSMMsimg32Functions{}, GetSystemDrawEnvironment())
{
    // Loaded by name, never imported, and never freed (see the header).
    m_hMsimg32 = ::LoadLibraryA("msimg32.dll");
    if (m_hMsimg32)
    {
        m_functions.gradientFill = ProcAddress<COSMMsimg32Functions::GradientFillFn>(m_hMsimg32, "GradientFill");
        m_functions.alphaBlend = ProcAddress<COSMMsimg32Functions::AlphaBlendFn>(m_hMsimg32, "AlphaBlend");
        m_functions.transparentBlt = ProcAddress<COSMMsimg32Functions::TransparentBltFn>(m_hMsimg32, "TransparentBlt");
    }
}

COSMDrawHelpers::COSMDrawHelpers(const COSMMsimg32Functions& functions, COSMDrawEnvironment& environment)
    : m_functions(functions), m_environment(environment)
{}

namespace {

// -1 is "no colour" (an unset entry); a gradient with such an end draws nothing.
bool IsNoGradientColor(COLORREF color)
{
    return color == static_cast<COLORREF>(-1);
}

}  // namespace

BOOL COSMDrawHelpers::GradientFill(CDC* pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz)
{
    const HDC hDC = SafeHdc(pDC);
    if (!hDC || !lpRect || ::IsRectEmpty(lpRect) || IsNoGradientColor(crFrom) || IsNoGradientColor(crTo))
        return FALSE;
    if (crFrom == crTo || m_environment.IsLowColorDC(hDC))
        return OpaqueFiller(hDC).Fill(*lpRect, crFrom);

    // On Windows 9x the library's gradient does not follow a right-to-left layout.
    if (m_functions.gradientFill && !(IsContextRTL(pDC) && m_environment.IsWin9x()))
    {
        TRIVERTEX vertices[2] = {
            {lpRect->left, lpRect->top, static_cast<COLOR16>(GetRValue(crFrom) << 8),
             static_cast<COLOR16>(GetGValue(crFrom) << 8), static_cast<COLOR16>(GetBValue(crFrom) << 8), 0},
            {lpRect->right, lpRect->bottom, static_cast<COLOR16>(GetRValue(crTo) << 8),
             static_cast<COLOR16>(GetGValue(crTo) << 8), static_cast<COLOR16>(GetBValue(crTo) << 8), 0},
        };
        GRADIENT_RECT gradientRect = {0, 1};
        // A context the library refuses still gets our lines.
        if (m_functions.gradientFill(hDC, vertices, 2, &gradientRect, 1,
                                     bHorz ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V))
            return TRUE;
    }
    return GradientFillByLines(hDC, *lpRect, crFrom, crTo, bHorz);
}

BOOL COSMDrawHelpers::GradientFillByLines(HDC hDC, const RECT& rect, COLORREF crFrom, COLORREF crTo, BOOL bHorz)
{
    const double width = std::max<LONG>(rect.right - rect.left, 1);
    const double height = std::max<LONG>(rect.bottom - rect.top, 1);

    // Only the lines the clip lets through; a context that cannot tell gets them all.
    RECT area = rect;
    RECT clipBox{};
    if (::GetClipBox(hDC, &clipBox) != ERROR && !::IsRectEmpty(&clipBox) && !::IntersectRect(&area, &rect, &clipBox))
        return TRUE;

    OpaqueFiller filler(hDC);
    BOOL bDrawn = TRUE;
    if (bHorz)
    {
        for (LONG x = area.left; x < area.right; ++x)
        {
            const COLORREF clr = BlendColors(crFrom, crTo, 1.0 - (x - rect.left) / width);
            bDrawn &= filler.Fill(RECT{x, area.top, x + 1, area.bottom}, clr);
        }
    }
    else
    {
        for (LONG y = area.top; y < area.bottom; ++y)
        {
            const COLORREF clr = BlendColors(crFrom, crTo, 1.0 - (y - rect.top) / height);
            bDrawn &= filler.Fill(RECT{area.left, y, area.right, y + 1}, clr);
        }
    }
    return bDrawn;
}

BOOL COSMDrawHelpers::GradientFillClipped(CDC* pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz,
                                          LPCRECT lpClip)
{
    if (!lpClip)
        return GradientFill(pDC, lpRect, crFrom, crTo, bHorz);
    // Before the spans below are divided by, and before a blend turns "no colour" into a colour.
    if (!lpRect || ::IsRectEmpty(lpRect) || IsNoGradientColor(crFrom) || IsNoGradientColor(crTo))
        return FALSE;
    // Cut in both directions: across the gradient the clip only narrows it, along it the cut ends take the
    // colours the full gradient has there, so the visible part stays where it was in the whole.
    RECT cut{};
    if (!::IntersectRect(&cut, lpRect, lpClip))
        return FALSE;
    const RECT& rc = *lpRect;
    COLORREF crCutFrom = crFrom, crCutTo = crTo;
    if (bHorz)
    {
        const double span = rc.right - rc.left;
        if (cut.left > rc.left)
            crCutFrom = BlendColors(crFrom, crTo, (rc.right - cut.left) / span);
        if (cut.right < rc.right)
            crCutTo = BlendColors(crFrom, crTo, (rc.right - cut.right) / span);
    }
    else
    {
        const double span = rc.bottom - rc.top;
        if (cut.top > rc.top)
            crCutFrom = BlendColors(crFrom, crTo, (rc.bottom - cut.top) / span);
        if (cut.bottom < rc.bottom)
            crCutTo = BlendColors(crFrom, crTo, (rc.bottom - cut.bottom) / span);
    }
    return GradientFill(pDC, &cut, crCutFrom, crCutTo, bHorz);
}

BOOL COSMDrawHelpers::GradientFillTwoPart(CDC* pDC, LPCRECT lpRect, const COSMPaintManagerColorGradient& gradient,
                                          BOOL bHorz, LPCRECT lpClip)
{
    if (!lpRect || ::IsRectEmpty(lpRect))
        return FALSE;
    const COLORREF crFirst = gradient.First().GetEffective(), crSecond = gradient.Second().GetEffective();
    if (IsNoGradientColor(crFirst) || IsNoGradientColor(crSecond))
        return FALSE;
    if (gradient.GetFactor() == 0.5f)
        return GradientFillClipped(pDC, lpRect, crFirst, crSecond, bHorz, lpClip);

    const COLORREF crMiddle = BlendColors(crFirst, crSecond, gradient.GetFactor());
    RECT firstHalf = *lpRect, secondHalf = *lpRect;
    if (bHorz)
        firstHalf.right = secondHalf.left = lpRect->right - (lpRect->right - lpRect->left) / 2;
    else
        firstHalf.bottom = secondHalf.top = lpRect->bottom - (lpRect->bottom - lpRect->top) / 2;
    const BOOL bFirst = GradientFillClipped(pDC, &firstHalf, crFirst, crMiddle, bHorz, lpClip);
    const BOOL bSecond = GradientFillClipped(pDC, &secondHalf, crMiddle, crSecond, bHorz, lpClip);
    return bFirst || bSecond;
}

BOOL COSMDrawHelpers::DrawAlphaBlend(CDC* pDestDC, LPCRECT lpDestRect, CDC* pSrcDC, LPCRECT lpSrcRect)
{
    if (!SafeHdc(pDestDC) || !SafeHdc(pSrcDC) || !lpDestRect || !lpSrcRect || ::IsRectEmpty(lpDestRect) ||
        ::IsRectEmpty(lpSrcRect))
        return FALSE;
    const RECT& rcDest = *lpDestRect;
    const RECT& rcSrc = *lpSrcRect;

    // On Windows 9x the library's blend does not follow a right-to-left destination; before Windows 2000 it also
    // goes wrong for a source that does not start at the origin and for a destination above the top edge.
    const bool bLibrary = m_functions.alphaBlend && !(m_environment.IsWin9x() && IsContextRTL(pDestDC)) &&
                          (m_environment.IsWin2KOrGreater() || (rcSrc.left == 0 && rcSrc.top == 0 && rcDest.top >= 0));
    if (!bLibrary)
        return AlphaBlendByPixels(pDestDC, rcDest, pSrcDC, rcSrc);

    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return m_functions.alphaBlend(SafeHdc(pDestDC), rcDest.left, rcDest.top, rcDest.right - rcDest.left,
                                  rcDest.bottom - rcDest.top, SafeHdc(pSrcDC), rcSrc.left, rcSrc.top,
                                  rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top, blend);
}

BOOL COSMDrawHelpers::AlphaBlendByPixels(CDC* pDestDC, const RECT& rcDest, CDC* pSrcDC, const RECT& rcSrc)
{
    const int nWidth = rcDest.right - rcDest.left, nHeight = rcDest.bottom - rcDest.top;
    const HDC hDestDC = SafeHdc(pDestDC), hSrcDC = SafeHdc(pSrcDC);

    DWORD *pSrcBits = nullptr, *pDestBits = nullptr, *pOutBits = nullptr;
    CBitmap srcBitmap, destBitmap, outBitmap;
    srcBitmap.Attach(CreateBlendBitmap(hSrcDC, nWidth, nHeight, &pSrcBits));
    destBitmap.Attach(CreateBlendBitmap(hSrcDC, nWidth, nHeight, &pDestBits));
    outBitmap.Attach(CreateBlendBitmap(hSrcDC, nWidth, nHeight, &pOutBits));
    if (!IsBlendBitmap(srcBitmap, nWidth, nHeight) || !IsBlendBitmap(destBitmap, nWidth, nHeight) ||
        !IsBlendBitmap(outBitmap, nWidth, nHeight) || !pSrcBits || !pDestBits || !pOutBits)
        return FALSE;

    // Memory contexts of their own left-to-right layout: GDI carries pixels between contexts of different layouts
    // in logical order, so both copies, and the result on its way back, line up pixel for pixel with the
    // rectangles, whichever way the source and the destination run.
    COSMCompatibleDC srcCopy(pSrcDC, srcBitmap), destCopy(pSrcDC, destBitmap);
    if (!srcCopy.GetSafeHdc() || !destCopy.GetSafeHdc())
        return FALSE;
    SetDCLayout(srcCopy, 0);
    SetDCLayout(destCopy, 0);
    srcCopy.SetStretchBltMode(COLORONCOLOR);
    if (!::StretchBlt(srcCopy, 0, 0, nWidth, nHeight, hSrcDC, rcSrc.left, rcSrc.top, rcSrc.right - rcSrc.left,
                      rcSrc.bottom - rcSrc.top, SRCCOPY) ||
        !::BitBlt(destCopy, 0, 0, nWidth, nHeight, hDestDC, rcDest.left, rcDest.top, SRCCOPY))
        return FALSE;
    ::GdiFlush();

    const size_t nPixels = static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight);
    for (size_t i = 0; i < nPixels; ++i)
    {
        const DWORD src = pSrcBits[i], dest = pDestBits[i];
        const DWORD alpha = src >> 24;
        DWORD out = 0;
        for (int shift = 0; shift < 32; shift += 8)
            out |= BlendChannel((src >> shift) & 0xFF, alpha, (dest >> shift) & 0xFF) << shift;
        pOutBits[i] = out;
    }

    COSMCompatibleDC result(pSrcDC, outBitmap);
    if (!result.GetSafeHdc())
        return FALSE;
    SetDCLayout(result, 0);
    return ::BitBlt(hDestDC, rcDest.left, rcDest.top, nWidth, nHeight, result, 0, 0, SRCCOPY);
}

BOOL COSMDrawHelpers::DrawTransparentBlt(CDC* pDestDC, LPCRECT lpDestRect, CDC* pSrcDC, LPCRECT lpSrcRect,
                                         COLORREF crTransparent)
{
    if (!SafeHdc(pDestDC) || !SafeHdc(pSrcDC) || !lpDestRect || !lpSrcRect || ::IsRectEmpty(lpDestRect) ||
        ::IsRectEmpty(lpSrcRect))
        return FALSE;
    const RECT& rcDest = *lpDestRect;
    const RECT& rcSrc = *lpSrcRect;
    // Windows 9x's TransparentBlt leaks resources with every call; NT 4 has no msimg32.
    if (!m_functions.transparentBlt || !m_environment.IsWin2KOrGreater())
        return TransparentBltByMask(pDestDC, rcDest, pSrcDC, rcSrc, crTransparent);
    return m_functions.transparentBlt(SafeHdc(pDestDC), rcDest.left, rcDest.top, rcDest.right - rcDest.left,
                                      rcDest.bottom - rcDest.top, SafeHdc(pSrcDC), rcSrc.left, rcSrc.top,
                                      rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top, crTransparent);
}

BOOL COSMDrawHelpers::TransparentBltByMask(CDC* pDestDC, const RECT& rcDest, CDC* pSrcDC, const RECT& rcSrc,
                                           COLORREF crTransparent)
{
    const int nWidth = rcSrc.right - rcSrc.left, nHeight = rcSrc.bottom - rcSrc.top;
    const HDC hDestDC = SafeHdc(pDestDC), hSrcDC = SafeHdc(pSrcDC);
    const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

    // A copy in the source's own format keeps the transparent colour exact for the mask's comparison.
    CBitmap copyBitmap, maskBitmap;
    if (!copyBitmap.Attach(::CreateCompatibleBitmap(hSrcDC, nWidth, nHeight)) ||
        !maskBitmap.Attach(::CreateBitmap(nWidth, nHeight, 1, 1, nullptr)))
        return FALSE;
    COSMCompatibleDC copy(pSrcDC, copyBitmap), mask(pSrcDC, maskBitmap);
    if (!copy.GetSafeHdc() || !mask.GetSafeHdc() || ::GetCurrentObject(copy, OBJ_BITMAP) != copyBitmap.m_hObject ||
        ::GetCurrentObject(mask, OBJ_BITMAP) != maskBitmap.m_hObject)
        return FALSE;

    if (!::BitBlt(copy, 0, 0, nWidth, nHeight, hSrcDC, rcSrc.left, rcSrc.top, SRCCOPY))
        return FALSE;
    // Colour to monochrome: the pixels of the background colour become white (1), all others black (0).
    copy.SetBkColor(crTransparent);
    if (!::BitBlt(mask, 0, 0, nWidth, nHeight, copy, 0, 0, SRCCOPY))
        return FALSE;
    // The copy's transparent pixels must be black for the OR below; black ones already are.
    if ((crTransparent & 0x00FFFFFF) != kBlack)
    {
        ContextColors clearing(copy, kBlack, kWhite);
        if (!::BitBlt(copy, 0, 0, nWidth, nHeight, mask, 0, 0, SRCAND))
            return FALSE;
    }

    // The mask clears the opaque pixels of the destination (white keeps, black clears), the copy fills them in.
    ContextColors colors(hDestDC, kWhite, kBlack);
    // Both bitmaps lose the same pixels when shrunk.
    const int nOldStretchMode = ::SetStretchBltMode(hDestDC, COLORONCOLOR);
    const BOOL bDrawn = CopyBits(hDestDC, rcDest, mask, nWidth, nHeight, SRCAND) &&
                        CopyBits(hDestDC, rcDest, copy, nWidth, nHeight, SRCPAINT);
    ::SetStretchBltMode(hDestDC, nOldStretchMode);
    return bDrawn;
}

BOOL COSMDrawHelpers::ExcludeCorners(CDC* pDC, int nLeft, int nTop, int nRight, int nBottom)
{
    const HDC hDC = SafeHdc(pDC);
    if (!hDC)
        return FALSE;
    const POINT corners[4] = {{nLeft, nTop}, {nRight - 1, nTop}, {nLeft, nBottom - 1}, {nRight - 1, nBottom - 1}};
    BOOL bExcluded = TRUE;
    for (const POINT& corner : corners)
        bExcluded &= ::ExcludeClipRect(hDC, corner.x, corner.y, corner.x + 1, corner.y + 1) != ERROR;
    return bExcluded;
}

BOOL COSMDrawHelpers::ExcludeCorners(CDC* pDC, LPCRECT lpRect)
{
    return lpRect && ExcludeCorners(pDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL COSMDrawHelpers::BlurPoints(CDC* pDC, const POINT* pPoints, int nCount)
{
    const HDC hDC = SafeHdc(pDC);
    if (!hDC || (!pPoints && nCount > 0))
        return FALSE;
    BOOL bBlurred = TRUE;
    for (int i = 0; i + 1 < nCount; i += 2)
    {
        const POINT& point = pPoints[i];
        const POINT& offset = pPoints[i + 1];
        const COLORREF a = ::GetPixel(hDC, point.x, point.y);
        const COLORREF b = ::GetPixel(hDC, point.x + offset.x, point.y + offset.y);
        // Outside the clip or the bitmap: no colour to average, so the pixel is left as it is.
        if (a == CLR_INVALID || b == CLR_INVALID)
        {
            bBlurred = FALSE;
            continue;
        }
        const COLORREF average = RGB((GetRValue(a) + GetRValue(b)) >> 1, (GetGValue(a) + GetGValue(b)) >> 1,
                                     (GetBValue(a) + GetBValue(b)) >> 1);
        bBlurred &= ::SetPixel(hDC, point.x, point.y, average) != CLR_INVALID;
    }
    return bBlurred;
}

COSMDrawHelpers* GetDrawHelpers()
{
    return OsmProcessService<COSMDrawHelpers>();
}
