// The Office 2007 resource layer: the manager's module, theme text and cache; the images' loading and nine-part
// drawing through the shared scratch bitmap.
#include "framework/themes/Office2007Images.h"

#include "classlib/GuardedCallbacks.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageLoaders.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/LayoutFunctions.h"
#include "framework/foundation/LockGuard.h"
#include "framework/foundation/NotifyConnection.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kDefaultIniName[] = "OFFICE2007BLUE_INI";
const char kTextFileType[] = "TEXTFILE";

#ifdef OSM_TEST_HOOKS
std::atomic<LONG> g_office2007ImageCount{0};
#endif
// The process's manager while it lives (Instance, LiveInstance).
std::atomic<COSMOffice2007Images*> g_liveOffice2007Images{nullptr};

// Runs at exit right after the process-wide paint manager has gone, so looks released with it still found the
// images: the manager goes now, and nothing finds it any more.
void EndProcessOffice2007Images()
{
    // The process's reference goes with this holder.
    const RefPtr<COSMOffice2007Images> last = AdoptRef(g_liveOffice2007Images.exchange(nullptr));
}

COSMOffice2007Images* MakeProcessOffice2007Images()
{
    auto* images = new COSMOffice2007Images;
    g_liveOffice2007Images.store(images);
    // Made after the paint manager's end at exit (no routine runs any more), it goes with the process.
    COSMPaintManager::AddExitRoutine(&EndProcessOffice2007Images);
    return images;
}

// The first "TEXTFILE" of a module: its name, or its integer id kept as such.
struct CFirstTextFile
{
    bool found = false;
    bool isId = false;
    WORD id = 0;
    CString name;
};

// Runs inside the system's enumeration, so nothing may unwind out of it.
BOOL CALLBACK TakeFirstTextFile(HMODULE, LPCSTR, LPSTR lpszName, LONG_PTR lParam) noexcept
{
    return osm::GuardCallback("theme text enumeration", FALSE, [&] {
        auto* first = reinterpret_cast<CFirstTextFile*>(lParam);
        if (IS_INTRESOURCE(lpszName))
        {
            first->isId = true;
            first->id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpszName));
        }
        else
        {
            first->name = CString(lpszName, static_cast<int>(std::strlen(lpszName)));
        }
        first->found = true;
        return FALSE;  // the first one is enough
    });
}

// A bitmap resource stored with top-down rows (a negative height) of 24 or 32 bits, as a DIB section of the same
// form; null for any other resource or one whose header does not fit its data. *pbAlpha: 32 bits a pixel.
HBITMAP LoadTopDownBitmapResource(HMODULE hModule, LPCSTR lpszName, BOOL* pbAlpha)
{
    HRSRC hResource = ::FindResourceA(hModule, lpszName, reinterpret_cast<LPCSTR>(RT_BITMAP));
    HGLOBAL hData = hResource ? ::LoadResource(hModule, hResource) : nullptr;
    const BYTE* pData = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    const size_t nSize = hResource ? ::SizeofResource(hModule, hResource) : 0;
    if (!pData || nSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, pData, sizeof(header));
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > nSize || header.biHeight >= 0 ||
        header.biWidth <= 0 || header.biPlanes != 1 || (header.biBitCount != 24 && header.biBitCount != 32) ||
        (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS))
        return nullptr;
    const ULONGLONG nWidth = static_cast<ULONGLONG>(header.biWidth);
    const ULONGLONG nHeight = static_cast<ULONGLONG>(-static_cast<LONGLONG>(header.biHeight));
    if (nWidth > 16384 || nHeight > 16384)
        return nullptr;
    // Masks follow a 40-byte header that says BI_BITFIELDS; colour entries follow when it counts any.
    ULONGLONG nOffset = header.biSize + static_cast<ULONGLONG>(header.biClrUsed) * 4;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        nOffset += 12;
    const ULONGLONG nStride = (nWidth * header.biBitCount + 31) / 32 * 4;
    if (nOffset + nStride * nHeight > nSize)
        return nullptr;
    void* pBits = nullptr;
    HBITMAP hBitmap =
        ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(pData), DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (!hBitmap || !pBits)
    {
        if (hBitmap)
            ::DeleteObject(hBitmap);
        return nullptr;
    }
    std::memcpy(pBits, pData + nOffset, static_cast<size_t>(nStride * nHeight));
    if (pbAlpha)
        *pbAlpha = header.biBitCount == 32;
    return hBitmap;
}

int RectWidth(const CRect& rc)
{
    return rc.right - rc.left;
}
int RectHeight(const CRect& rc)
{
    return rc.bottom - rc.top;
}

// 0x00BBGGRR as a DIB pixel's 0x..RRGGBB.
DWORD ColorToPixelRgb(COLORREF clr)
{
    return (static_cast<DWORD>(GetRValue(clr)) << 16) | (static_cast<DWORD>(GetGValue(clr)) << 8) | GetBValue(clr);
}

}  // namespace

// ---- COSMOffice2007Image --------------------------------------------------------------------------------------------

COSMOffice2007Image::COSMOffice2007Image(COSMOffice2007Images* pOwner) : m_pOwner(pOwner)
{
#ifdef OSM_TEST_HOOKS
    ++g_office2007ImageCount;
#endif
}

COSMOffice2007Image::~COSMOffice2007Image()
{
#ifdef OSM_TEST_HOOKS
    --g_office2007ImageCount;
#endif
}

#ifdef OSM_TEST_HOOKS
LONG COSMOffice2007Image::GetInstanceCount()
{
    return g_office2007ImageCount.load();
}
#endif

CRect COSMOffice2007Image::GetStateRect(int nState, int nCount) const
{
    if (!HasPixels() || nCount < 1)
        return CRect(0, 0, 0, 0);
    const int nStateHeight = m_nHeight / nCount;
    return CRect(0, nState * nStateHeight, m_nWidth, (nState + 1) * nStateHeight);
}

BOOL COSMOffice2007Image::LoadFromResource(HMODULE hModule, LPCSTR lpszResourceName)
{
    m_bAlpha = FALSE;
    m_bMirrored = FALSE;
    m_pixels.clear();
    m_nWidth = m_nHeight = 0;
    if (!hModule || !lpszResourceName)
        return FALSE;
    BOOL bAlpha = FALSE;
    // The framework's reader takes bottom-up rows only; top-down bitmaps are read here.
    HBITMAP hBitmap = LoadTopDownBitmapResource(hModule, lpszResourceName, &bAlpha);
    if (!hBitmap)
        hBitmap = LoadImageResource(hModule, lpszResourceName, &bAlpha);
    if (!hBitmap)
        return FALSE;
    SetBitmap(hBitmap, bAlpha);
    return TRUE;
}

void COSMOffice2007Image::SetBitmap(HBITMAP hBitmap, BOOL bAlpha)
{
    // Deleted however the conversion ends.
    const ScopedGdiObject<HBITMAP> bitmap(hBitmap);
    m_bAlpha = bAlpha;
    m_bMirrored = FALSE;
    m_pixels.clear();
    m_nWidth = m_nHeight = 0;
    DIBSECTION section{};
    const int nSize = ::GetObjectA(hBitmap, sizeof(section), &section);
    if (nSize == sizeof(section))
    {
        // A top-down section says so with a negative height; its rows are read bottom-up below all the same.
        m_nWidth = section.dsBmih.biWidth;
        m_nHeight = std::abs(section.dsBmih.biHeight);
    }
    else if (nSize >= static_cast<int>(sizeof(BITMAP)))
    {
        m_nWidth = section.dsBm.bmWidth;
        m_nHeight = std::abs(section.dsBm.bmHeight);
    }
    if (!ConvertToBits(hBitmap))
    {
        m_pixels.clear();
        m_nWidth = m_nHeight = 0;
    }
}

BOOL COSMOffice2007Image::ConvertToBits(HBITMAP hBitmap)
{
    if (m_nWidth <= 0 || m_nHeight <= 0)
        return FALSE;
    const size_t nPixels = static_cast<size_t>(m_nWidth) * static_cast<size_t>(m_nHeight);
    ScopedCreatedDC memory;
    {
        const ScopedWindowDC screen = GetScopedWindowDC(nullptr);
        memory.Reset(::CreateCompatibleDC(screen.Get()));
    }
    if (!memory)
        return FALSE;
    const HDC hMemoryDC = memory.Get();
    BOOL bDone = FALSE;
    if (m_bAlpha)
    {
        BITMAPINFO header{};
        header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        if (::GetDIBits(hMemoryDC, hBitmap, 0, 0, nullptr, &header, DIB_RGB_COLORS) &&
            header.bmiHeader.biBitCount == 32)
        {
            // Room for three colour masks after the header, which GetDIBits may write.
            struct
            {
                BITMAPINFOHEADER header;
                DWORD masks[3];
            } info{};
            info.header.biSize = sizeof(BITMAPINFOHEADER);
            info.header.biWidth = m_nWidth;
            info.header.biHeight = m_nHeight;  // positive: bottom row first, whatever the bitmap's own order
            info.header.biPlanes = 1;
            info.header.biBitCount = 32;
            info.header.biCompression = BI_RGB;
            m_pixels.assign(nPixels, 0);
            bDone = ::GetDIBits(hMemoryDC, hBitmap, 0, static_cast<UINT>(m_nHeight), m_pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == m_nHeight;
            // The blend takes premultiplied colours; the resources carry straight alpha.
            for (DWORD& pixel : m_pixels)
            {
                const DWORD a = pixel >> 24;
                const DWORD r = ((pixel >> 16) & 0xFF) * a / 255, g = ((pixel >> 8) & 0xFF) * a / 255,
                            b = (pixel & 0xFF) * a / 255;
                pixel = (a << 24) | (r << 16) | (g << 8) | b;
            }
        }
    }
    else
    {
        void* pBits = nullptr;
        const ScopedGdiObject<HBITMAP> section(CreateAlphaDIBSection(hMemoryDC, m_nWidth, m_nHeight, &pBits));
        const ScopedCreatedDC source(::CreateCompatibleDC(hMemoryDC));
        if (section && source)
        {
            {
                const ScopedSelection target = SelectScoped(hMemoryDC, section.Get());
                const ScopedSelection from = SelectScoped(source.Get(), hBitmap);
                bDone = ::BitBlt(hMemoryDC, 0, 0, m_nWidth, m_nHeight, source.Get(), 0, 0, SRCCOPY);
                ::GdiFlush();
            }
            if (bDone)
            {
                const DWORD* pFrom = static_cast<const DWORD*>(pBits);
                m_pixels.assign(pFrom, pFrom + nPixels);
            }
        }
    }
    return bDone;
}

void COSMOffice2007Image::InvertBitmap()
{
    if (!m_bAlpha || m_pixels.empty())
        return;
    for (int y = 0; y < m_nHeight; ++y)
    {
        DWORD* pRow = m_pixels.data() + static_cast<size_t>(y) * m_nWidth;
        std::reverse(pRow, pRow + m_nWidth);
    }
    m_bMirrored = !m_bMirrored;
}

BOOL COSMOffice2007Image::CanDraw(const CRect& rcSrc, const CRect& rcMargins) const
{
    return HasPixels() && rcMargins.top + rcMargins.bottom <= RectHeight(rcSrc);
}

BOOL COSMOffice2007Image::ClipSource(CRect& rcSrc, CRect& rcMargins, CRect& rcDest) const
{
    // Callers ask for states beyond a strip that is shorter than they think, and for glyphs past its end: only what
    // the bitmap holds is read, and it lands where it would have landed had the rest been there.
    CRect rcClipped;
    rcClipped.left = std::max<LONG>(rcSrc.left, 0);
    rcClipped.top = std::max<LONG>(rcSrc.top, 0);
    rcClipped.right = std::min<LONG>(rcSrc.right, m_nWidth);
    rcClipped.bottom = std::min<LONG>(rcSrc.bottom, m_nHeight);
    if (rcClipped.left >= rcClipped.right || rcClipped.top >= rcClipped.bottom)
        return FALSE;
    const int nSrcWidth = RectWidth(rcSrc), nSrcHeight = RectHeight(rcSrc);
    const int nDestWidth = RectWidth(rcDest), nDestHeight = RectHeight(rcDest);
    const int cutLeft = rcClipped.left - rcSrc.left, cutTop = rcClipped.top - rcSrc.top;
    const int cutRight = rcSrc.right - rcClipped.right, cutBottom = rcSrc.bottom - rcClipped.bottom;
    rcDest.left += ::MulDiv(cutLeft, nDestWidth, nSrcWidth);
    rcDest.right -= ::MulDiv(cutRight, nDestWidth, nSrcWidth);
    rcDest.top += ::MulDiv(cutTop, nDestHeight, nSrcHeight);
    rcDest.bottom -= ::MulDiv(cutBottom, nDestHeight, nSrcHeight);
    rcMargins.left = std::max<LONG>(rcMargins.left - cutLeft, 0);
    rcMargins.right = std::max<LONG>(rcMargins.right - cutRight, 0);
    rcMargins.top = std::max<LONG>(rcMargins.top - cutTop, 0);
    rcMargins.bottom = std::max<LONG>(rcMargins.bottom - cutBottom, 0);
    rcSrc = rcClipped;
    // Margins that do not fit the source have no sound place: nothing is drawn.
    return rcMargins.left >= 0 && rcMargins.top >= 0 && rcMargins.right >= 0 && rcMargins.bottom >= 0 &&
           rcMargins.left + rcMargins.right <= RectWidth(rcSrc) &&
           rcMargins.top + rcMargins.bottom <= RectHeight(rcSrc);
}

void COSMOffice2007Image::DrawImagePart(CDC* pDC, const CRect& rcDest, const CRect& rcSrc)
{
    DrawImagePart(pDC, rcDest, rcSrc, CRect(0, 0, 0, 0));
}

void COSMOffice2007Image::DrawImagePart(CDC* pDC, const CRect& rcDestIn, const CRect& rcSrcIn, const CRect& rcMarginsIn)
{
    if (!pDC || !pDC->GetSafeHdc() || !CanDraw(rcSrcIn, rcMarginsIn) || !m_pOwner)
        return;
    COSMLockGuard lock(m_pOwner->GetLock());

    CRect rcSrc = rcSrcIn, rcMargins = rcMarginsIn, rcDest = rcDestIn;
    if (!ClipSource(rcSrc, rcMargins, rcDest))
        return;
    if (RectWidth(rcDest) == RectWidth(rcSrc))
        rcMargins.left = rcMargins.right = 0;
    if (RectHeight(rcDest) == RectHeight(rcSrc))
        rcMargins.top = rcMargins.bottom = 0;
    ::SetStretchBltMode(pDC->GetSafeHdc(), COLORONCOLOR);
    if (rcDest.left >= rcDest.right || rcDest.top >= rcDest.bottom)
        return;

    const BOOL bRTL = IsContextRTL(pDC);
    if (m_bAlpha && m_bPreserveOrientation && bRTL != m_bMirrored)
        InvertBitmap();

    const int kScratch = COSMOffice2007Images::kScratchSize;
    DWORD* pScratch = m_pOwner->GetScratchBits();
    COSMOffice2007ImagesDC& scratchDC = m_pOwner->GetScratchDC();
    if (m_nWidth > kScratch || m_nHeight > kScratch || !pScratch || !scratchDC.GetSafeHdc())
        return;

    // The source band goes to the top rows of the scratch bitmap (both bottom-up in memory).
    ::GdiFlush();
    for (int y = rcSrc.top; y < rcSrc.bottom; ++y)
    {
        const DWORD* pFrom = m_pixels.data() + static_cast<size_t>(m_nHeight - 1 - y) * m_nWidth;
        DWORD* pTo = pScratch + static_cast<size_t>(kScratch - 1 - (y - rcSrc.top)) * kScratch;
        std::memcpy(pTo, pFrom, sizeof(DWORD) * m_nWidth);
    }
    rcSrc.OffsetRect(0, -rcSrc.top);
    scratchDC.SelectScratch(m_pOwner->GetScratchBitmap());

    const int ml = rcMargins.left, mt = rcMargins.top, mr = rcMargins.right, mb = rcMargins.bottom;
    const int nDestWidth = RectWidth(rcDest), nDestHeight = RectHeight(rcDest);
    int dl = ml, dt = mt, dr = mr, db = mb;
    if (mt + mb > 0 && (nDestHeight <= mt + mb || RectHeight(rcSrc) == mt + mb))
    {
        dt = ::MulDiv(nDestHeight, mt, mt + mb);
        db = nDestHeight - dt;
        if (db > 0 && db % 2 != mb % 2)
            ++db;
    }
    if (ml + mr > 0 && (nDestWidth <= ml + mr || RectWidth(rcSrc) == ml + mr))
    {
        dl = nDestWidth * ml / (ml + mr);
        dr = nDestWidth - dl;
    }

    if (ml == 0 && mt == 0 && mr == 0 && mb == 0)
    {
        BlitPart(pDC, rcDest, &scratchDC, rcSrc);
    }
    else
    {
        const int srcCols[4] = {rcSrc.left, rcSrc.left + ml, rcSrc.right - mr, rcSrc.right};
        const int srcRows[4] = {rcSrc.top, rcSrc.top + mt, rcSrc.bottom - mb, rcSrc.bottom};
        const int destRows[4] = {rcDest.top, rcDest.top + dt, rcDest.bottom - db, rcDest.bottom};
        int destCols[4][2];
        if (m_bAlpha && bRTL)
        {
            destCols[0][0] = rcDest.right - dl, destCols[0][1] = rcDest.right;
            destCols[1][0] = rcDest.left + dr, destCols[1][1] = rcDest.right - dl;
            destCols[2][0] = rcDest.left, destCols[2][1] = rcDest.left + dr;
        }
        else
        {
            destCols[0][0] = rcDest.left, destCols[0][1] = rcDest.left + dl;
            destCols[1][0] = rcDest.left + dl, destCols[1][1] = rcDest.right - dr;
            destCols[2][0] = rcDest.right - dr, destCols[2][1] = rcDest.right;
        }
        for (int row = 0; row < 3; ++row)
        {
            for (int col = 0; col < 3; ++col)
            {
                BlitPart(pDC, CRect(destCols[col][0], destRows[row], destCols[col][1], destRows[row + 1]), &scratchDC,
                         CRect(srcCols[col], srcRows[row], srcCols[col + 1], srcRows[row + 1]));
            }
        }
    }
    scratchDC.RestoreBitmap();
}

void COSMOffice2007Image::BlitPart(CDC* pDC, const CRect& rcDest, CDC* pSrcDC, const CRect& rcSrc)
{
    if (RectWidth(rcDest) < 1 || RectHeight(rcDest) < 1 || RectWidth(rcSrc) < 1 || RectHeight(rcSrc) < 1)
        return;
    if (m_bAlpha)
    {
        GetImageManager()->DrawAlphaBlend(pDC, rcDest, pSrcDC, rcSrc);
    }
    else if (RectWidth(rcDest) == RectWidth(rcSrc) && RectHeight(rcDest) == RectHeight(rcSrc))
    {
        ::BitBlt(pDC->GetSafeHdc(), rcDest.left, rcDest.top, RectWidth(rcDest), RectHeight(rcDest),
                 pSrcDC->GetSafeHdc(), rcSrc.left, rcSrc.top, SRCCOPY);
    }
    else
    {
        ::StretchBlt(pDC->GetSafeHdc(), rcDest.left, rcDest.top, RectWidth(rcDest), RectHeight(rcDest),
                     pSrcDC->GetSafeHdc(), rcSrc.left, rcSrc.top, RectWidth(rcSrc), RectHeight(rcSrc), SRCCOPY);
    }
}

void COSMOffice2007Image::DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins,
                                    COLORREF clrTransparent)
{
    if (!pDC || !CanDraw(rcSrc, rcMargins))
        return;
    if (clrTransparent == static_cast<COLORREF>(-1) || m_bAlpha)
    {
        DrawImagePart(pDC, rcDest, rcSrc, rcMargins);
        return;
    }
    const int nWidth = RectWidth(rcDest), nHeight = RectHeight(rcDest);
    if (nWidth <= 0 || nHeight <= 0)
        return;
    // Drawn on the key colour first, then copied leaving the key out.
    CBitmap bitmap;
    if (!bitmap.Attach(::CreateCompatibleBitmap(pDC->GetSafeHdc(), nWidth, nHeight)))
        return;
    CDC keyed;
    if (!keyed.CreateCompatibleDC(pDC))
        return;
    HGDIOBJ hOld = keyed.SelectObject(bitmap.m_hObject);
    HBRUSH hBrush = ::CreateSolidBrush(clrTransparent);
    const RECT rcAll = {0, 0, nWidth, nHeight};
    ::FillRect(keyed.GetSafeHdc(), &rcAll, hBrush);
    ::DeleteObject(hBrush);
    DrawImagePart(&keyed, CRect(0, 0, nWidth, nHeight), rcSrc, rcMargins);
    GetImageManager()->DrawTransparentBlt(pDC, rcDest, &keyed, CRect(0, 0, nWidth, nHeight), clrTransparent);
    keyed.SelectObject(hOld);
}

void COSMOffice2007Image::DrawImageFlags(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins,
                                         COLORREF clrTransparent, DWORD dwFlags)
{
    if (!pDC || !CanDraw(rcSrc, rcMargins))
        return;
    if (!(dwFlags & 1))
    {
        DrawImage(pDC, rcDest, rcSrc, rcMargins, clrTransparent);
        return;
    }
    if (m_bAlpha)
    {
        DrawImagePart(pDC, rcDest, rcSrc, rcMargins);
        return;
    }
    const int nWidth = RectWidth(rcDest), nHeight = RectHeight(rcDest);
    if (nWidth <= 0 || nHeight <= 0)
        return;
    void* pBits = nullptr;
    CBitmap bitmap;
    if (!bitmap.Attach(CreateAlphaDIBSection(pDC->GetSafeHdc(), nWidth, nHeight, &pBits)) || !pBits)
        return;
    CDC blended;
    if (!blended.CreateCompatibleDC(pDC))
        return;
    HGDIOBJ hOld = blended.SelectObject(bitmap.m_hObject);
    const bool bKeyed = clrTransparent != static_cast<COLORREF>(-1);
    if (bKeyed)
    {
        HBRUSH hBrush = ::CreateSolidBrush(clrTransparent);
        const RECT rcAll = {0, 0, nWidth, nHeight};
        ::FillRect(blended.GetSafeHdc(), &rcAll, hBrush);
        ::DeleteObject(hBrush);
    }
    DrawImagePart(&blended, CRect(0, 0, nWidth, nHeight), rcSrc, rcMargins);
    ::GdiFlush();
    // The DIB holds 0x..RRGGBB: the key is compared in that order, not as a COLORREF.
    const DWORD key = ColorToPixelRgb(clrTransparent);
    DWORD* pPixels = static_cast<DWORD*>(pBits);
    for (size_t i = 0, n = static_cast<size_t>(nWidth) * nHeight; i < n; ++i)
    {
        const DWORD rgb = pPixels[i] & 0x00FFFFFF;
        pPixels[i] = bKeyed && rgb == key ? 0 : (rgb | 0xFF000000);
    }
    GetImageManager()->DrawAlphaBlend(pDC, rcDest, &blended, CRect(0, 0, nWidth, nHeight));
    blended.SelectObject(hOld);
}

// ---- COSMOffice2007ImagesDC -----------------------------------------------------------------------------------------

COSMOffice2007ImagesDC::~COSMOffice2007ImagesDC()
{
    RestoreBitmap();
}

void COSMOffice2007ImagesDC::SelectScratch(HBITMAP hBitmap)
{
    HGDIOBJ hReplaced = SelectObject(hBitmap);
    if (!m_hReplacedBitmap)
        m_hReplacedBitmap = hReplaced;
}

void COSMOffice2007ImagesDC::RestoreBitmap()
{
    if (m_hReplacedBitmap && GetSafeHdc())
        SelectObject(m_hReplacedBitmap);
    m_hReplacedBitmap = nullptr;
}

// ---- COSMOffice2007Images -------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(COSMOffice2007Images, CCmdTarget)

COSMOffice2007Images::COSMOffice2007Images()
{
    void* pBits = nullptr;
    m_scratchBitmap.Reset(CreateAlphaDIBSection(nullptr, kScratchSize, kScratchSize, &pBits));
    m_pScratchBits = static_cast<DWORD*>(pBits);
    m_scratchDC.CreateCompatibleDC(nullptr);
    SetResourceModule(::GetModuleHandleA(nullptr), nullptr, FALSE);
}

COSMOffice2007Images::~COSMOffice2007Images()
{
    SetNotifyConnection(nullptr);
    ClearCache();
    if (m_hModule && m_bFreeModule)
        ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
    m_scratchDC.RestoreBitmap();
    m_scratchDC.DeleteDC();
}

COSMOffice2007Images* COSMOffice2007Images::Instance()
{
    static COSMOffice2007Images* const s_first = MakeProcessOffice2007Images();
    if (COSMOffice2007Images* images = g_liveOffice2007Images.load())
        return images;
    // Asked for after its end at exit: one made now serves the rest of the exit and goes with the process.
    static COSMOffice2007Images* const s_late = new COSMOffice2007Images;
    (void)s_first;
    return s_late;
}

COSMOffice2007Images* COSMOffice2007Images::LiveInstance()
{
    return g_liveOffice2007Images.load();
}

BOOL COSMOffice2007Images::SetResourceModule(HMODULE hModule, LPCSTR lpszIniName, BOOL bFreeModule)
{
    if (m_hModule && m_bFreeModule && m_hModule != hModule)
        ::FreeLibrary(m_hModule);

    const bool bNamed = lpszIniName && *lpszIniName;
    CString iniName = bNamed ? CString(lpszIniName, static_cast<int>(std::strlen(lpszIniName))) : kDefaultIniName;
    iniName.Replace('.', '_');

    m_hModule = hModule;
    m_bFreeModule = bFreeModule;
    m_pTextStart = m_pTextEnd = nullptr;
    ClearCache();

    HRSRC hResource = hModule ? ::FindResourceA(hModule, iniName, kTextFileType) : nullptr;
    if (!hResource && !bNamed && hModule)
        hResource = FindIniResource(hModule);
    if (hResource)
    {
        HGLOBAL hData = ::LoadResource(hModule, hResource);
        const BYTE* pText = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
        if (pText)
        {
            m_pTextStart = pText;
            m_pTextEnd = pText + ::SizeofResource(hModule, hResource);
        }
    }
    if (m_pConnection)
        m_pConnection->SendEvent(kResourcesChangedEvent, 0, 0, 0);
    return IsValid();
}

HRSRC COSMOffice2007Images::FindIniResource(HMODULE hModule)
{
    CFirstTextFile first;
    ::EnumResourceNamesA(hModule, kTextFileType, &TakeFirstTextFile, reinterpret_cast<LONG_PTR>(&first));
    if (!first.found)
        return nullptr;
    return ::FindResourceA(hModule, first.isId ? MAKEINTRESOURCEA(first.id) : first.name.GetString(), kTextFileType);
}

BOOL COSMOffice2007Images::ReadLine(CString& strLine, const BYTE*& rpCursor) const
{
    if (!m_pTextStart || rpCursor >= m_pTextEnd)
        return FALSE;
    // Only inside the text: it is not terminated, and what follows it in memory is not ours.
    const BYTE* pReturn =
        static_cast<const BYTE*>(std::memchr(rpCursor, 13, static_cast<size_t>(m_pTextEnd - rpCursor)));
    if (!pReturn)
        return FALSE;
    strLine = CString(reinterpret_cast<LPCSTR>(rpCursor), static_cast<int>(pReturn - rpCursor));
    rpCursor = pReturn + 1;
    if (rpCursor < m_pTextEnd && *rpCursor == 10)
        ++rpCursor;
    return TRUE;
}

BOOL COSMOffice2007Images::FindValue(LPCSTR lpszSection, LPCSTR lpszKey, CString& strValue) const
{
    strValue.Empty();
    if (IsValid() && lpszSection && lpszKey)
    {
        CString section(lpszSection, static_cast<int>(std::strlen(lpszSection)));
        CString key(lpszKey, static_cast<int>(std::strlen(lpszKey)));
        section.MakeUpper();
        key.MakeUpper();
        bool bInSection = false;
        const BYTE* pCursor = m_pTextStart;
        CString line;
        while (ReadLine(line, pCursor))
        {
            line.TrimLeft();
            const int nComment = line.Find(';');
            if (nComment == 0)
                continue;
            if (nComment > 0)
                line = line.Left(nComment);
            if (line.IsEmpty())
                continue;
            line.MakeUpper();
            if (line[0] == '[')
            {
                if (bInSection)
                    break;
                // "[" alone names no section.
                const CString name = line.GetLength() >= 2 ? line.Mid(1, line.GetLength() - 2) : CString();
                bInSection = name == section;
                continue;
            }
            if (!bInSection)
                continue;
            const int nEquals = line.Find('=');
            if (nEquals <= 0)
                continue;
            CString lineKey = line.Left(nEquals);
            lineKey.TrimRight();
            if (lineKey == key)
            {
                strValue = line.Mid(nEquals + 1);
                strValue.Trim();
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL COSMOffice2007Images::GetValue(LPCSTR lpszSection, LPCSTR lpszKey, CString& strValue) const
{
    if (FindValue(lpszSection, lpszKey, strValue))
        return TRUE;
    if (m_pObserver && lpszSection && lpszKey)
        m_pObserver->OnKeyMissing(lpszSection, lpszKey);
    return FALSE;
}

CString COSMOffice2007Images::GetValue(LPCSTR lpszSection, LPCSTR lpszKey) const
{
    CString value;
    GetValue(lpszSection, lpszKey, value);
    return value;
}

COLORREF COSMOffice2007Images::GetImageColor(LPCSTR lpszSection, LPCSTR lpszKey) const
{
    const CString value = GetValue(lpszSection, lpszKey);
    if (value.IsEmpty())
        return static_cast<COLORREF>(-1);
    int red = 0, green = 0, blue = 0;
    std::sscanf(value, "%i %i %i", &red, &green, &blue);
    return static_cast<COLORREF>((red & 255) | ((green & 255) << 8) | ((blue & 255) << 16));
}

CString COSMOffice2007Images::GetImageResourceName(LPCSTR lpszName) const
{
    CString name(lpszName, static_cast<int>(std::strlen(lpszName)));
    CString mapped;
    // A name the section does not map is no fault of the text: the observer is not told.
    FindValue("Images", lpszName, mapped);
    if (!mapped.IsEmpty())
        name = mapped;
    name.Replace('.', '_');
    name.Replace('\\', '_');
    return name;
}

COSMOffice2007Image* COSMOffice2007Images::LoadImage(LPCSTR lpszName)
{
    COSMLockGuard lock(m_lock.m_sect);
    if (!m_hModule || !lpszName)
        return nullptr;
    const CString name(lpszName);
    const auto cached = m_cache.find(name);
    if (cached != m_cache.end())
        return cached->second.Get();
    RefPtr<COSMOffice2007Image> image = LoadBitmapImage(lpszName);
    if (!image)
    {
        if (m_pObserver)
            m_pObserver->OnImageMissing(lpszName);
        return nullptr;
    }
    COSMOffice2007Image* pImage = image.Get();
    m_cache.emplace(name, std::move(image));
    return pImage;
}

RefPtr<COSMOffice2007Image> COSMOffice2007Images::LoadBitmapImage(LPCSTR lpszName)
{
    const CString resourceName = GetImageResourceName(lpszName);
    RefPtr<COSMOffice2007Image> image = AdoptRef(new COSMOffice2007Image(this));
    if (!image->LoadFromResource(m_hModule, resourceName))
        return nullptr;
    return image;
}

void COSMOffice2007Images::ClearCache()
{
    // The images go outside the lock: one nobody else holds is destroyed now.
    std::map<CString, RefPtr<COSMOffice2007Image>> released;
    {
        COSMLockGuard lock(m_lock.m_sect);
        released.swap(m_cache);
    }
}

void COSMOffice2007Images::SetNotifyConnection(COSMNotifyConnection* pConnection)
{
    m_pConnection = RetainRef(pConnection);
}

// ---- COSMOffice2007ImageList ----------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(COSMOffice2007ImageList, COSMOffice2007Images)

COSMOffice2007ImageMap::COSMOffice2007ImageMap() : CMap<UINT, UINT, COSMOffice2007Image*, COSMOffice2007Image*>(10)
{
    InitHashTable(17);
}

COSMOffice2007ImageList::COSMOffice2007ImageList() = default;

COSMOffice2007ImageList::~COSMOffice2007ImageList()
{
    RemoveAll();
}

void COSMOffice2007ImageList::RemoveAll()
{
    for (POSITION pos = m_images.GetStartPosition(); pos;)
    {
        UINT id = 0;
        COSMOffice2007Image* pImage = nullptr;
        m_images.GetNextAssoc(pos, id, pImage);
        // The map's reference goes with this holder.
        const RefPtr<COSMOffice2007Image> released = AdoptRef(pImage);
    }
    m_images.RemoveAll();
    m_images.InitHashTable(17);
}

void COSMOffice2007ImageList::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<DWORD>(m_images.GetCount());
        for (POSITION pos = m_images.GetStartPosition(); pos;)
        {
            UINT id = 0;
            COSMOffice2007Image* pImage = nullptr;
            m_images.GetNextAssoc(pos, id, pImage);
            // An image has no stored form: its place is kept with a zero word.
            ar << static_cast<DWORD>(id) << static_cast<DWORD>(0);
        }
    }
    else
    {
        RemoveAll();
        DWORD nCount = 0;
        ar >> nCount;
        for (DWORD i = 0; i < nCount; ++i)
        {
            DWORD id = 0, word = 0;
            ar >> id >> word;
        }
    }
}
