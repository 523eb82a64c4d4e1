#include "framework/foundation/ImageManagerIconCache.h"

#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIconHandle.h"
#include "framework/foundation/LockGuard.h"

#include "classlib/ScopedHandle.h"

#include <algorithm>
#include <cstring>

namespace {

const DWORD kMaskSetAlpha = 0;             // where the mask is set the buffer is transparent
const DWORD kMaskClearAlpha = 0xFF000000;  // and opaque elsewhere

}  // namespace

COSMImageManagerIconCache::COSMImageManagerIconCache(COSMImageManager* pManager, CSize szIcon)
    : m_pManager(pManager), m_szIcon(szIcon)
{}

COSMImageManagerIconCache::~COSMImageManagerIconCache()
{
    {
        COSMLockGuard lock(m_lock.m_sect);
        std::vector<COSMImageManagerCacheSlot*> owned;
        for (const auto& pSlot : m_usedSlots)
        {
            if (pSlot->m_pOwner)
                owned.push_back(pSlot.get());
        }
        // Each owner copies its image out and frees its slot; the bitmaps stay until the last one has.
        for (COSMImageManagerCacheSlot* pSlot : owned)
            pSlot->m_pOwner->LeaveCache();
    }
    ReleaseBitmaps();
}

COSMImageManagerCacheSlot* COSMImageManagerIconCache::Add(const COSMImageManagerIconHandle& image)
{
    COSMLockGuard lock(m_lock.m_sect);
    if (image.IsEmpty() || image.GetExtent() != m_szIcon || (!image.GetIcon() && !image.m_hBitmap))
        return nullptr;
    const int cx = m_szIcon.cx;
    const int cy = m_szIcon.cy;

    // Premultiplied rows ready for the slot, bottom-up like the cache: an alpha bitmap's, or a 32-bit icon's
    // whose pixels pass the alpha test (drawn as a classic icon, its alpha would be lost).
    // The bitmap that owns those rows, when they had to be made; it goes even when a slot cannot be had.
    ScopedGdiObject<HBITMAP> preMultiplied;
    LPBYTE pRows = nullptr;
    if (image.m_hBitmap)
    {
        pRows = image.GetPreMultipliedBits();
        if (!pRows)
            preMultiplied.Reset(PreMultiplyAlphaBitmap(image.m_hBitmap, nullptr, &pRows));
        if (!pRows)
            return nullptr;
    }
    else if (m_pManager && m_pManager->IsIconAlphaSupported())
    {
        ICONINFO info{};
        if (::GetIconInfo(image.GetIcon(), &info))
        {
            const ScopedGdiObject<HBITMAP> infoColor(info.hbmColor);
            const ScopedGdiObject<HBITMAP> infoMask(info.hbmMask);
            BITMAP bm{};
            if (info.hbmColor && ::GetObjectA(info.hbmColor, sizeof(bm), &bm) == sizeof(bm) && bm.bmWidth == cx &&
                bm.bmHeight == cy)
            {
                BOOL bAlpha = FALSE;
                preMultiplied.Reset(PreMultiplyAlphaBitmap(info.hbmColor, &bAlpha, &pRows));
                if (!bAlpha && preMultiplied)
                {
                    preMultiplied.Reset();
                    pRows = nullptr;
                }
            }
        }
    }

    COSMImageManagerCacheSlot* pSlot = AllocSlot();
    if (pSlot)
    {
        const int x = pSlot->m_rc.left;
        if (pRows)
        {
            for (int row = 0; row < cy; ++row)
                std::memcpy(m_pBits + static_cast<size_t>(row) * m_nTotalWidth + x,
                            pRows + static_cast<size_t>(row) * cx * 4, static_cast<size_t>(cx) * 4);
            pSlot->m_bAlpha = TRUE;
        }
        else
        {
            const RECT rc{x, 0, x + cx, cy};
            HBRUSH hBlack = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
            ::FillRect(m_dc, &rc, hBlack);
            ::DrawIconEx(m_dc, x, 0, image.GetIcon(), cx, cy, 0, nullptr, DI_NORMAL);
            COSMCompatibleDC dcMask(nullptr, GetMaskBitmap());
            ::FillRect(dcMask, &rc, hBlack);
            ::DrawIconEx(dcMask, x, 0, image.GetIcon(), cx, cy, 0, nullptr, DI_MASK);
            pSlot->m_bAlpha = FALSE;
        }
        ::GdiFlush();
    }
    return pSlot;
}

COSMImageManagerCacheSlot* COSMImageManagerIconCache::AllocSlot()
{
    if (!m_freeSlots.empty())
    {
        m_usedSlots.push_back(std::move(m_freeSlots.back()));
        m_freeSlots.pop_back();
        return m_usedSlots.back().get();
    }
    if (m_szIcon.cx <= 0 || m_szIcon.cy <= 0)
        return nullptr;
    const int x = m_nTotalWidth;
    if (!Grow())
        return nullptr;
    m_usedSlots.push_back(std::make_unique<COSMImageManagerCacheSlot>(this, CRect(x, 0, x + m_szIcon.cx, m_szIcon.cy)));
    return m_usedSlots.back().get();
}

BOOL COSMImageManagerIconCache::Grow()
{
    const int nOldWidth = m_nTotalWidth;
    const int nNewWidth = nOldWidth + m_szIcon.cx;
    const int cy = m_szIcon.cy;
    void* pNewBits = nullptr;
    ScopedGdiObject<HBITMAP> color(CreateAlphaDIBSection(nullptr, nNewWidth, cy, &pNewBits));
    ScopedGdiObject<HBITMAP> mask(::CreateBitmap(nNewWidth, cy, 1, 1, nullptr));
    if (!color || !mask)
        return FALSE;
    if (!m_dc.GetSafeHdc() && !m_dc.Attach(::CreateCompatibleDC(nullptr)))
        return FALSE;
    if (nOldWidth > 0)
    {
        ::GdiFlush();
        auto* pDest = static_cast<LPDWORD>(pNewBits);
        for (int row = 0; row < cy; ++row)
            std::memcpy(pDest + static_cast<size_t>(row) * nNewWidth, m_pBits + static_cast<size_t>(row) * nOldWidth,
                        static_cast<size_t>(nOldWidth) * 4);
        COSMCompatibleDC dcOld(nullptr, GetMaskBitmap());
        COSMCompatibleDC dcNew(nullptr, mask.Get());
        ::BitBlt(dcNew, 0, 0, nOldWidth, cy, dcOld, 0, 0, SRCCOPY);
    }
    if (m_hOldBitmap)
        ::SelectObject(m_dc, m_hOldBitmap);
    m_bmpColor.DeleteObject();
    m_bmpMask.DeleteObject();
    const HBITMAP hColor = color.Release();
    m_bmpColor.Attach(hColor);
    m_bmpMask.Attach(mask.Release());
    m_pBits = static_cast<LPDWORD>(pNewBits);
    m_hOldBitmap = ::SelectObject(m_dc, hColor);
    m_nTotalWidth = nNewWidth;
    return TRUE;
}

void COSMImageManagerIconCache::Free(COSMImageManagerCacheSlot* pSlot)
{
    COSMLockGuard lock(m_lock.m_sect);
    auto it = std::find_if(m_usedSlots.begin(), m_usedSlots.end(),
                           [pSlot](const std::unique_ptr<COSMImageManagerCacheSlot>& p) { return p.get() == pSlot; });
    if (it == m_usedSlots.end())
        return;
    pSlot->m_pOwner = nullptr;
    m_freeSlots.push_back(std::move(*it));
    m_usedSlots.erase(it);
    if (static_cast<int>(m_freeSlots.size()) * m_szIcon.cx == m_nTotalWidth)
        ReleaseBitmaps();
}

void COSMImageManagerIconCache::ReleaseBitmaps()
{
    if (m_dc.GetSafeHdc())
    {
        if (m_hOldBitmap)
            ::SelectObject(m_dc, m_hOldBitmap);
        m_dc.DeleteDC();
    }
    m_hOldBitmap = nullptr;
    m_bmpColor.DeleteObject();
    m_bmpMask.DeleteObject();
    m_pBits = nullptr;
    m_nTotalWidth = 0;
    m_usedSlots.clear();
    m_freeSlots.clear();
}

BOOL COSMImageManagerIconCache::Extract(const COSMImageManagerCacheSlot* pSlot, COSMImageManagerIconHandle& image)
{
    COSMLockGuard lock(m_lock.m_sect);
    image.Clear();
    if (!pSlot || !m_pBits)
        return FALSE;
    const int cx = m_szIcon.cx;
    const int cy = m_szIcon.cy;
    void* pBits = nullptr;
    ScopedGdiObject<HBITMAP> color(CreateAlphaDIBSection(nullptr, cx, cy, &pBits));
    if (!color)
        return FALSE;
    ::GdiFlush();
    auto* pDest = static_cast<LPDWORD>(pBits);
    for (int row = 0; row < cy; ++row)
        std::memcpy(pDest + static_cast<size_t>(row) * cx,
                    m_pBits + static_cast<size_t>(row) * m_nTotalWidth + pSlot->m_rc.left, static_cast<size_t>(cx) * 4);
    if (pSlot->m_bAlpha)
    {
        image.SetPreMultipliedBitmap(color.Release());
        return !image.IsEmpty();
    }
    // A classic image: its mask decides what shows, so no alpha byte may make the system take it for alpha.
    for (size_t i = 0; i < static_cast<size_t>(cx) * cy; ++i)
        pDest[i] &= 0x00FFFFFF;
    const ScopedGdiObject<HBITMAP> mask(::CreateBitmap(cx, cy, 1, 1, nullptr));
    HICON hIcon = nullptr;
    if (mask)
    {
        {
            COSMCompatibleDC dcFrom(nullptr, GetMaskBitmap());
            COSMCompatibleDC dcTo(nullptr, mask.Get());
            ::BitBlt(dcTo, 0, 0, cx, cy, dcFrom, pSlot->m_rc.left, 0, SRCCOPY);
        }
        ICONINFO info{TRUE, 0, 0, mask.Get(), color.Get()};
        hIcon = ::CreateIconIndirect(&info);
    }
    if (!hIcon)
        return FALSE;
    image.SetIcon(hIcon);
    return TRUE;
}

void COSMImageManagerIconCache::Draw(const COSMImageManagerCacheSlot* pSlot, CDC* pDC, int x, int y, int cx, int cy,
                                     BOOL bAlphaBuffer)
{
    COSMLockGuard lock(m_lock.m_sect);
    if (!pSlot || !pDC || !m_pBits)
        return;
    const CRect& rc = pSlot->m_rc;
    if (pSlot->m_bAlpha)
    {
        AlphaBlendImage(pDC, x, y, cx, cy, &m_dc, rc.left, 0, rc.Width(), rc.Height());
        return;
    }
    COSMCompatibleDC dcMask(nullptr, GetMaskBitmap());
    if (bAlphaBuffer)
    {
        DrawMaskedThroughBuffer(pDC, x, y, cx, cy, m_dc, dcMask, rc.left, 0, rc.Width(), rc.Height());
        return;
    }
    if (m_pManager && m_pManager->IsDrawMirrored(pDC))
    {
        // A negative width runs leftwards from the column given, that column included.
        x += cx - 1;
        cx = -cx;
    }
    DrawMasked(*pDC, x, y, cx, cy, m_dc, dcMask, rc.left, 0, rc.Width(), rc.Height());
}

BOOL COSMImageManagerIconCache::AlphaBlendImage(CDC* pDest, int x, int y, int cx, int cy, CDC* pSource, int xSrc,
                                                int ySrc, int cxSrc, int cySrc)
{
    if (cx <= 0 || cy <= 0 || cxSrc <= 0 || cySrc <= 0)
        return FALSE;
    const CRect rcDest(x, y, x + cx, y + cy);
    const CRect rcSource(xSrc, ySrc, xSrc + cxSrc, ySrc + cySrc);
    return GetDrawHelpers()->DrawAlphaBlend(pDest, rcDest, pSource, rcSource);
}

void COSMImageManagerIconCache::DrawMasked(HDC hDest, int x, int y, int cx, int cy, HDC hColor, HDC hMask, int xSrc,
                                           int ySrc, int cxSrc, int cySrc)
{
    // A monochrome source takes the target's text colour for 0 bits and its background for 1 bits: the mask then
    // keeps the target where it is set and clears it to black elsewhere, and the colour is XORed onto that.
    const COLORREF clrOldText = ::SetTextColor(hDest, RGB(0, 0, 0));
    const COLORREF clrOldBack = ::SetBkColor(hDest, RGB(255, 255, 255));
    ::SetTextColor(hColor, RGB(0, 0, 0));
    ::SetBkColor(hColor, RGB(255, 255, 255));
    ::StretchBlt(hDest, x, y, cx, cy, hMask, xSrc, ySrc, cxSrc, cySrc, SRCAND);
    ::StretchBlt(hDest, x, y, cx, cy, hColor, xSrc, ySrc, cxSrc, cySrc, SRCINVERT);
    ::SetTextColor(hDest, clrOldText);
    ::SetBkColor(hDest, clrOldBack);
}

void COSMImageManagerIconCache::DrawMaskedThroughBuffer(CDC* pDest, int x, int y, int cx, int cy, HDC hColor, HDC hMask,
                                                        int xSrc, int ySrc, int cxSrc, int cySrc)
{
    if (cx <= 0 || cy <= 0)
        return;
    void* pMaskBits = nullptr;
    void* pColorBits = nullptr;
    const ScopedGdiObject<HBITMAP> maskBuffer(CreateAlphaDIBSection(nullptr, cx, cy, &pMaskBits));
    const ScopedGdiObject<HBITMAP> colorBuffer(CreateAlphaDIBSection(nullptr, cx, cy, &pColorBits));
    if (maskBuffer && colorBuffer)
    {
        COSMCompatibleDC dcMaskBuffer(nullptr, maskBuffer.Get());
        COSMCompatibleDC dcColorBuffer(nullptr, colorBuffer.Get());
        ::SetTextColor(dcMaskBuffer, RGB(0, 0, 0));
        ::SetBkColor(dcMaskBuffer, RGB(255, 255, 255));
        ::StretchBlt(dcMaskBuffer, 0, 0, cx, cy, hMask, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
        ::StretchBlt(dcColorBuffer, 0, 0, cx, cy, hColor, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
        ::GdiFlush();
        // The alpha byte is put together here rather than by raster operations, which need not keep it.
        auto* pOut = static_cast<LPDWORD>(pColorBits);
        const auto* pMask = static_cast<const DWORD*>(pMaskBits);
        for (size_t i = 0; i < static_cast<size_t>(cx) * cy; ++i)
        {
            const bool bMaskSet = (pMask[i] & 0x00FFFFFF) != 0;
            pOut[i] = bMaskSet ? kMaskSetAlpha : ((pOut[i] & 0x00FFFFFF) | kMaskClearAlpha);
        }
        AlphaBlendImage(pDest, x, y, cx, cy, &dcColorBuffer, 0, 0, cx, cy);
    }
}
