#include "framework/foundation/ImageManagerIconHandle.h"

#include "classlib/DC.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageLoaders.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIconCache.h"

#include "classlib/ScopedHandle.h"

#include <algorithm>
#include <vector>

namespace {

CSize BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm{};
    if (!hBitmap || ::GetObjectA(hBitmap, sizeof(bm), &bm) != sizeof(bm))
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

// The colour and mask of an icon drawn into bitmaps of its own (colour on black), for drawing it mirrored.
bool SplitIcon(HICON hIcon, int cx, int cy, ScopedGdiObject<HBITMAP>& color, ScopedGdiObject<HBITMAP>& mask)
{
    color.Reset(CreateAlphaDIBSection(nullptr, cx, cy, nullptr));
    mask.Reset(::CreateBitmap(cx, cy, 1, 1, nullptr));
    if (!color || !mask)
        return false;
    const RECT rc{0, 0, cx, cy};
    {
        COSMCompatibleDC dc(nullptr, color.Get());
        ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::DrawIconEx(dc, 0, 0, hIcon, cx, cy, 0, nullptr, DI_NORMAL);
    }
    {
        COSMCompatibleDC dc(nullptr, mask.Get());
        ::DrawIconEx(dc, 0, 0, hIcon, cx, cy, 0, nullptr, DI_MASK);
    }
    return true;
}

}  // namespace

COSMImageManagerIconHandle::COSMImageManagerIconHandle() = default;

COSMImageManagerIconHandle::COSMImageManagerIconHandle(HICON hIcon)
{
    SetIcon(hIcon);
}

COSMImageManagerIconHandle::~COSMImageManagerIconHandle()
{
    Clear();
}

COSMImageManagerIconHandle::COSMImageManagerIconHandle(const COSMImageManagerIconHandle& other)
    : m_pManager(other.m_pManager)
{
    CopyOwnImageFrom(other);
}

COSMImageManagerIconHandle& COSMImageManagerIconHandle::operator=(const COSMImageManagerIconHandle& other)
{
    if (this != &other)
        CopyOwnImageFrom(other);
    return *this;
}

void COSMImageManagerIconHandle::SetIcon(HICON hIcon, BOOL bOwn)
{
    Clear();
    m_hIcon = hIcon;
    m_bClearHandles = bOwn;
    m_szIcon = GetIconSize(hIcon);
}

void COSMImageManagerIconHandle::SetAlphaBitmap(HBITMAP hBitmap, BOOL bOwn)
{
    Clear();
    m_hBitmap = hBitmap;
    m_bClearHandles = bOwn;
    m_szIcon = BitmapSize(hBitmap);
}

void COSMImageManagerIconHandle::SetBitmap(HBITMAP hBitmap)
{
    Clear();
    if (HBITMAP hCopy = Create32bppBitmapCopy(hBitmap))
        SetAlphaBitmap(hCopy);
}

void COSMImageManagerIconHandle::SetPreMultipliedBitmap(HBITMAP hBitmap)
{
    Clear();
    if (!hBitmap)
        return;
    DIBSECTION dib{};
    if (::GetObjectA(hBitmap, sizeof(dib), &dib) == sizeof(dib) && dib.dsBm.bmBits && dib.dsBmih.biBitCount == 32 &&
        dib.dsBmih.biHeight > 0 && dib.dsBmih.biCompression == BI_RGB)
    {
        m_hBitmap = hBitmap;
        m_pBits = static_cast<LPBYTE>(dib.dsBm.bmBits);
    }
    else
    {
        // Everything that reads m_pBits expects bottom-up 32-bit rows.
        m_hBitmap = Create32bppBitmapCopy(hBitmap, &m_pBits);
        ::DeleteObject(hBitmap);
    }
    m_bClearHandles = TRUE;
    m_szIcon = BitmapSize(m_hBitmap);
}

COSMImageManager* COSMImageManagerIconHandle::GetImageManager() const
{
    return m_pManager ? m_pManager : ::GetImageManager();
}

void COSMImageManagerIconHandle::CopyFrom(const COSMImageManagerIconHandle& other)
{
    if (this == &other)
        return;
    Clear();
    if (other.IsEmpty())
        return;
    COSMImageManager* pManager = GetImageManager();
    if (!pManager || !pManager->IsCacheEnabled() || !other.m_bCacheable)
    {
        CopyOwnImage(other);
        return;
    }
    COSMImageManagerIconCache* pCache = pManager->GetCache(other.m_szIcon, TRUE);
    if (!pCache)
        return;  // a cache that cannot be made leaves the member empty
    if (other.m_pSlot)
    {
        // A slot's image is copied out first: slots of one cache are never shared between handles.
        COSMImageManagerIconHandle temp;
        temp.CopyOwnImage(other);
        m_pSlot = pCache->Add(temp);
    }
    else
    {
        m_pSlot = pCache->Add(other);
    }
    if (m_pSlot)
    {
        m_pSlot->m_pOwner = this;
        m_szIcon = other.m_szIcon;
        m_bCacheable = other.m_bCacheable;
    }
}

void COSMImageManagerIconHandle::LeaveCache()
{
    COSMImageManagerCacheSlot* pSlot = m_pSlot;
    if (!pSlot)
        return;
    COSMImageManagerIconHandle own;
    own.CopyOwnImage(*this);
    m_pSlot = nullptr;
    pSlot->m_pCache->Free(pSlot);
    // The copy's handles become this handle's; size and cacheability stay as they were.
    m_hIcon = own.m_hIcon;
    m_hBitmap = own.m_hBitmap;
    m_pBits = own.m_pBits;
    m_bClearHandles = TRUE;
    own.m_hIcon = nullptr;
    own.m_hBitmap = nullptr;
    own.m_pBits = nullptr;
}

void COSMImageManagerIconHandle::CopyOwnImageFrom(const COSMImageManagerIconHandle& other)
{
    if (this == &other)
        return;
    Clear();
    CopyOwnImage(other);
}

void COSMImageManagerIconHandle::CopyOwnImage(const COSMImageManagerIconHandle& other)
{
    if (other.m_pSlot)
    {
        other.m_pSlot->m_pCache->Extract(other.m_pSlot, *this);
    }
    else if (other.m_hIcon)
    {
        m_hIcon = ::CopyIcon(other.m_hIcon);
        m_szIcon = m_hIcon ? other.m_szIcon : CSize(0, 0);
    }
    else if (other.m_hBitmap)
    {
        // A premultiplied image stays premultiplied: the copy's pixels are the same bytes.
        m_hBitmap = Create32bppBitmapCopy(other.m_hBitmap, other.m_pBits ? &m_pBits : nullptr);
        m_szIcon = m_hBitmap ? other.m_szIcon : CSize(0, 0);
    }
    m_bClearHandles = TRUE;
    m_bCacheable = other.m_bCacheable;
}

void COSMImageManagerIconHandle::Clear()
{
    if (m_pSlot)
    {
        m_pSlot->m_pCache->Free(m_pSlot);
        m_pSlot = nullptr;
    }
    if (m_bClearHandles)
    {
        if (m_hIcon)
            ::DestroyIcon(m_hIcon);
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    m_hIcon = nullptr;
    m_hBitmap = nullptr;
    m_pBits = nullptr;
    m_bClearHandles = TRUE;
    m_szIcon = CSize(0, 0);
}

BOOL COSMImageManagerIconHandle::IsEmpty() const
{
    if (!m_hIcon && !m_hBitmap && !m_pSlot)
        return TRUE;
    return m_szIcon.cx == 0 && m_szIcon.cy == 0;
}

BOOL COSMImageManagerIconHandle::IsAlpha() const
{
    return m_hBitmap != nullptr || (m_pSlot && m_pSlot->m_bAlpha);
}

HBITMAP COSMImageManagerIconHandle::GetBitmap() const
{
    if (m_hBitmap)
        return m_hBitmap;
    return m_pSlot ? m_pSlot->m_pCache->GetColorBitmap() : nullptr;
}

LPBYTE COSMImageManagerIconHandle::PreMultiply()
{
    if (!m_hBitmap)
        return nullptr;
    if (m_pBits)
        return m_pBits;
    LPBYTE pBits = nullptr;
    HBITMAP hPreMultiplied = PreMultiplyAlphaBitmap(m_hBitmap, nullptr, &pBits);
    if (!hPreMultiplied)
        return nullptr;
    if (m_bClearHandles)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = hPreMultiplied;
    m_pBits = pBits;
    m_bClearHandles = TRUE;
    return m_pBits;
}

void COSMImageManagerIconHandle::Draw(CDC* pDC, int x, int y, int cx, int cy, BOOL bAlphaBuffer)
{
    if (!pDC || !pDC->GetSafeHdc() || cx == 0 || cy == 0)
        return;
    if (m_pSlot)
        m_pSlot->m_pCache->Draw(m_pSlot, pDC, x, y, cx, cy, bAlphaBuffer);
    else if (m_hIcon)
        DrawIconImage(pDC, x, y, cx, cy, bAlphaBuffer);
    else if (m_hBitmap)
        DrawAlphaImage(pDC, x, y, cx, cy);
}

void COSMImageManagerIconHandle::DrawIconImage(CDC* pDC, int x, int y, int cx, int cy, BOOL bAlphaBuffer)
{
    COSMImageManager* pManager = GetImageManager();
    const BOOL bMirror = pManager && pManager->IsDrawMirrored(pDC);
    if (bAlphaBuffer)
    {
        // Every pixel the icon leaves untouched keeps the key colour and becomes transparent; the rest opaque.
        void* pBits = nullptr;
        const ScopedGdiObject<HBITMAP> buffer(CreateAlphaDIBSection(nullptr, cx, cy, &pBits));
        if (!buffer)
            return;
        {
            COSMCompatibleDC dc(nullptr, buffer.Get());
            const DWORD kKey = 0x00FF00FF;
            auto* pPixels = static_cast<DWORD*>(pBits);
            const size_t nPixels = static_cast<size_t>(cx) * cy;
            for (size_t i = 0; i < nPixels; ++i)
                pPixels[i] = kKey;
            ::DrawIconEx(dc, 0, 0, m_hIcon, cx, cy, 0, nullptr, DI_NORMAL);
            ::GdiFlush();
            for (size_t i = 0; i < nPixels; ++i)
                pPixels[i] = (pPixels[i] & 0x00FFFFFF) == kKey ? 0 : (pPixels[i] | 0xFF000000);
            if (bMirror)
            {
                for (int row = 0; row < cy; ++row)
                {
                    DWORD* pRow = pPixels + static_cast<size_t>(row) * cx;
                    std::reverse(pRow, pRow + cx);
                }
            }
            COSMImageManagerIconCache::AlphaBlendImage(pDC, x, y, cx, cy, &dc, 0, 0, cx, cy);
        }
        return;
    }
    if (!bMirror)
    {
        ::DrawIconEx(*pDC, x, y, m_hIcon, cx, cy, 0, nullptr, DI_NORMAL);
        return;
    }
    ScopedGdiObject<HBITMAP> color;
    ScopedGdiObject<HBITMAP> mask;
    if (SplitIcon(m_hIcon, cx, cy, color, mask))
    {
        COSMCompatibleDC dcColor(nullptr, color.Get());
        COSMCompatibleDC dcMask(nullptr, mask.Get());
        // A negative width runs leftwards from the column given, that column included.
        COSMImageManagerIconCache::DrawMasked(*pDC, x + cx - 1, y, -cx, cy, dcColor, dcMask, 0, 0, cx, cy);
    }
}

void COSMImageManagerIconHandle::DrawAlphaImage(CDC* pDC, int x, int y, int cx, int cy)
{
    if (!PreMultiply())
        return;
    COSMCompatibleDC dc(nullptr, m_hBitmap);
    if (!static_cast<HDC>(dc))
        return;
    if (y < 0 && cy == m_szIcon.cy)
    {
        // Above the target's top edge: only the rows that show.
        if (y + cy < 1)
            return;
        COSMImageManagerIconCache::AlphaBlendImage(pDC, x, 0, cx, cy + y, &dc, 0, -y, m_szIcon.cx, m_szIcon.cy + y);
        return;
    }
    COSMImageManagerIconCache::AlphaBlendImage(pDC, x, y, cx, cy, &dc, 0, 0, m_szIcon.cx, m_szIcon.cy);
}

BOOL COSMImageManagerIconHandle::LoadFromResource(HMODULE hModule, LPCSTR lpszResourceName, int cx, int cy, BOOL bGroup)
{
    Clear();
    if (bGroup)
    {
        std::vector<OSM_ICON_GROUP_ENTRY> entries;
        if (ReadIconGroupResource(hModule, lpszResourceName, entries))
        {
            // The last entry of the size wins, as the group lists its images from the first made.
            for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            {
                if (it->nWidth == cx && it->nHeight == cy &&
                    LoadFromResource(hModule, MAKEINTRESOURCEA(it->nID), cx, cy, FALSE))
                    return TRUE;
            }
            return FALSE;
        }
    }
    HRSRC hResource = ::FindResourceA(hModule, lpszResourceName, reinterpret_cast<LPCSTR>(RT_ICON));
    HGLOBAL hData = hResource ? ::LoadResource(hModule, hResource) : nullptr;
    const auto* pData = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    const DWORD nSize = hResource ? ::SizeofResource(hModule, hResource) : 0;
    if (!pData || nSize == 0)
        return FALSE;
    if (IsPackedDib32(pData, nSize))
    {
        if (HBITMAP hBitmap = CreateAlphaBitmapFromPackedDib(pData, nSize, TRUE))
            SetAlphaBitmap(hBitmap);
    }
    else
    {
        HICON hIcon = ::CreateIconFromResourceEx(const_cast<PBYTE>(pData), nSize, TRUE, 0x00030000, cx, cy, 0);
        if (hIcon)
            SetIcon(hIcon);
    }
    return !IsEmpty();
}

BOOL COSMImageManagerIconHandle::LoadIcon(LPCSTR lpszResourceName, int cx, int cy, BOOL bGroup)
{
    return LoadFromResource(AfxGetResourceHandle(), lpszResourceName, cx, cy, bGroup);
}
