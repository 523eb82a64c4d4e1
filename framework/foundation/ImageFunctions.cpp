#include "framework/foundation/ImageFunctions.h"

#include "classlib/DC.h"
#include "classlib/ScopedHandle.h"
#include "framework/foundation/ImageFileChecks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

BITMAPINFOHEADER Header32(int cx, int cy)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = cx;
    header.biHeight = cy;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(cx) * static_cast<DWORD>(cy < 0 ? -cy : cy) * 4;
    return header;
}

// A bitmap beyond the framework's image limits is not copied pixel by pixel: every reader here refuses it.
bool GetBitmapSize(HBITMAP hBitmap, BITMAP& bm)
{
    return hBitmap && ::GetObjectA(hBitmap, sizeof(bm), &bm) == sizeof(bm) &&
           IsImageSizeAllowed(bm.bmWidth, bm.bmHeight);
}

HBITMAP BitmapFromPixels(int cx, int cy, const DWORD* pPixels, LPBYTE* ppBits)
{
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateAlphaDIBSection(nullptr, cx, cy, &pBits);
    if (!hBitmap)
        return nullptr;
    std::memcpy(pBits, pPixels, static_cast<size_t>(cx) * static_cast<size_t>(cy) * 4);
    if (ppBits)
        *ppBits = static_cast<LPBYTE>(pBits);
    return hBitmap;
}

BYTE Alpha(DWORD pixel)
{
    return static_cast<BYTE>(pixel >> 24);
}

DWORD PreMultiply(DWORD pixel)
{
    const DWORD a = pixel >> 24;
    const DWORD b = (pixel & 0xFF) * a / 255;
    const DWORD g = ((pixel >> 8) & 0xFF) * a / 255;
    const DWORD r = ((pixel >> 16) & 0xFF) * a / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// The alpha test of PreMultiplyAlphaBitmap.
bool HasAlpha(const std::vector<DWORD>& pixels, bool bAny255)
{
    bool bSeenTransparent = false;
    for (DWORD pixel : pixels)
    {
        const BYTE a = Alpha(pixel);
        if (a > 0 && a < 255)
            return true;
        if (a == 255 && (bAny255 || bSeenTransparent))
            return true;
        if (a == 0)
            bSeenTransparent = true;
    }
    return false;
}

void TraceMemoryFailure()
{
    TRACE("Failed -- Memory exception thrown.\n");
}

}  // namespace

bool ReadBitmapPixels32(HBITMAP hBitmap, bool bTopDown, int& cx, int& cy, std::vector<DWORD>& pixels)
{
    BITMAP bm{};
    if (!GetBitmapSize(hBitmap, bm))
        return false;
    cx = bm.bmWidth;
    cy = bm.bmHeight;
    pixels.assign(static_cast<size_t>(cx) * static_cast<size_t>(cy), 0);
    BITMAPINFO info{};
    info.bmiHeader = Header32(cx, bTopDown ? -cy : cy);
    CDC dc;  // a memory context compatible with the screen, for the DIB calls
    dc.CreateCompatibleDC(nullptr);
    return dc && ::GetDIBits(dc, hBitmap, 0, static_cast<UINT>(cy), pixels.data(), &info, DIB_RGB_COLORS) == cy;
}

HBITMAP CreateAlphaDIBSection(HDC hDC, int cx, int cy, void** ppBits)
{
    if (ppBits)
        *ppBits = nullptr;
    if (cx <= 0 || cy <= 0)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = Header32(cx, cy);
    void* pBits = nullptr;
    HBITMAP hBitmap = nullptr;
    if (hDC)
    {
        hBitmap = ::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    }
    else
    {
        CDC dc;  // a memory context compatible with the screen, for the DIB calls
        dc.CreateCompatibleDC(nullptr);
        hBitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    }
    if (hBitmap && !pBits)
    {
        ::DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    if (ppBits)
        *ppBits = pBits;
    return hBitmap;
}

HBITMAP Create32bppBitmapCopy(HBITMAP hSource, LPBYTE* ppBits)
{
    if (ppBits)
        *ppBits = nullptr;
    try
    {
        int cx = 0, cy = 0;
        std::vector<DWORD> pixels;
        if (!ReadBitmapPixels32(hSource, false, cx, cy, pixels))
            return nullptr;
        return BitmapFromPixels(cx, cy, pixels.data(), ppBits);
    }
    catch (const std::bad_alloc&)
    {
        TraceMemoryFailure();
        return nullptr;
    }
}

BOOL CopyBitmapBitsWithAlpha(CDC* pDC, HBITMAP hBitmap, BITMAPINFO** ppInfo, DWORD** ppBits, CSize* pSize)
{
    if (!ppInfo || !ppBits)
        return FALSE;
    *ppInfo = nullptr;
    *ppBits = nullptr;
    BITMAP bm{};
    if (!GetBitmapSize(hBitmap, bm))
        return FALSE;
    const ULONGLONG nBytes = static_cast<ULONGLONG>(bm.bmWidth) * static_cast<ULONGLONG>(bm.bmHeight) * 4;
    if (nBytes > static_cast<ULONGLONG>(SIZE_MAX))
        return FALSE;
    auto* pInfo = static_cast<BITMAPINFO*>(std::calloc(1, sizeof(BITMAPINFO)));
    auto* pBits = static_cast<DWORD*>(std::malloc(static_cast<size_t>(nBytes)));
    if (!pInfo || !pBits)
    {
        TraceMemoryFailure();
        std::free(pInfo);
        std::free(pBits);
        return FALSE;
    }
    pInfo->bmiHeader = Header32(bm.bmWidth, -bm.bmHeight);
    CDC screen;  // a memory context compatible with the screen, for the DIB calls
    screen.CreateCompatibleDC(nullptr);
    HDC hDC = pDC && pDC->GetSafeHdc() ? pDC->GetSafeHdc() : static_cast<HDC>(screen);
    if (::GetDIBits(hDC, hBitmap, 0, static_cast<UINT>(bm.bmHeight), pBits, pInfo, DIB_RGB_COLORS) != bm.bmHeight)
    {
        std::free(pInfo);
        std::free(pBits);
        return FALSE;
    }
    *ppInfo = pInfo;
    *ppBits = pBits;
    if (pSize)
        *pSize = CSize(bm.bmWidth, bm.bmHeight);
    return TRUE;
}

HBITMAP PreMultiplyAlphaBitmap(HBITMAP hBitmap, BOOL* pbAlpha, LPBYTE* ppBits)
{
    if (ppBits)
        *ppBits = nullptr;
    BITMAP bm{};
    if (!GetBitmapSize(hBitmap, bm) || bm.bmBitsPixel != 32)
    {
        if (pbAlpha)
            *pbAlpha = FALSE;
        return nullptr;
    }
    try
    {
        int cx = 0, cy = 0;
        std::vector<DWORD> pixels;
        if (!ReadBitmapPixels32(hBitmap, false, cx, cy, pixels))
            return nullptr;
        bool bPreMultiply = true;
        if (pbAlpha)
        {
            bPreMultiply = HasAlpha(pixels, *pbAlpha == -1);
            *pbAlpha = bPreMultiply ? TRUE : FALSE;
        }
        if (bPreMultiply)
        {
            for (DWORD& pixel : pixels)
                pixel = PreMultiply(pixel);
        }
        return BitmapFromPixels(cx, cy, pixels.data(), ppBits);
    }
    catch (const std::bad_alloc&)
    {
        TraceMemoryFailure();
        return nullptr;
    }
}

HICON CreateAlphaIconFromBitmap(HBITMAP hBitmap)
{
    BITMAP bm{};
    if (!GetBitmapSize(hBitmap, bm) || bm.bmBitsPixel != 32)
        return nullptr;
    try
    {
        int cx = 0, cy = 0;
        std::vector<DWORD> pixels;
        if (!ReadBitmapPixels32(hBitmap, true, cx, cy, pixels))
            return nullptr;
        // A monochrome DDB: top row first, each row padded to 16 bits. Set bits keep the screen (transparent).
        const size_t nMaskStride = ((static_cast<size_t>(cx) + 15) / 16) * 2;
        std::vector<BYTE> mask(nMaskStride * static_cast<size_t>(cy), 0);
        for (int y = 0; y < cy; ++y)
        {
            for (int x = 0; x < cx; ++x)
            {
                DWORD& pixel = pixels[static_cast<size_t>(y) * cx + x];
                if (Alpha(pixel) == 0)
                {
                    mask[static_cast<size_t>(y) * nMaskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
                    pixel = 0;  // what a system without alpha icons XORs onto the screen there: nothing
                }
            }
        }
        // Back to bottom-up for the colour DIB section.
        std::vector<DWORD> bottomUp(pixels.size());
        for (int y = 0; y < cy; ++y)
            std::memcpy(&bottomUp[static_cast<size_t>(cy - 1 - y) * cx], &pixels[static_cast<size_t>(y) * cx],
                        static_cast<size_t>(cx) * 4);
        const ScopedGdiObject<HBITMAP> color(BitmapFromPixels(cx, cy, bottomUp.data(), nullptr));
        const ScopedGdiObject<HBITMAP> maskBitmap(::CreateBitmap(cx, cy, 1, 1, mask.data()));
        if (!color || !maskBitmap)
            return nullptr;
        ICONINFO info{TRUE, 0, 0, maskBitmap.Get(), color.Get()};
        return ::CreateIconIndirect(&info);
    }
    catch (const std::bad_alloc&)
    {
        TraceMemoryFailure();
        return nullptr;
    }
}

BOOL SplitAlphaBitmap(HBITMAP hBitmap, int nCount, HBITMAP* pBitmaps)
{
    BITMAP bm{};
    if (nCount <= 0 || !hBitmap || ::GetObjectA(hBitmap, sizeof(bm), &bm) != sizeof(bm) || bm.bmWidth % nCount != 0)
        return FALSE;
    return SplitAlphaBitmap(hBitmap, bm.bmWidth / nCount, nCount, pBitmaps);
}

BOOL SplitAlphaBitmap(HBITMAP hBitmap, int nSliceWidth, int nCount, HBITMAP* pBitmaps)
{
    if (nCount <= 0 || nSliceWidth <= 0 || !pBitmaps)
        return FALSE;
    try
    {
        int cx = 0, cy = 0;
        std::vector<DWORD> pixels;
        if (!ReadBitmapPixels32(hBitmap, false, cx, cy, pixels) ||
            static_cast<long long>(nSliceWidth) * nCount > static_cast<long long>(cx))
            return FALSE;
        std::vector<DWORD> slice(static_cast<size_t>(nSliceWidth) * cy);
        // The slices made so far go when a later one fails or memory runs out; the caller gets all or none.
        std::vector<ScopedGdiObject<HBITMAP>> made;
        made.reserve(static_cast<size_t>(nCount));
        for (int i = 0; i < nCount; ++i)
        {
            for (int y = 0; y < cy; ++y)
                std::memcpy(&slice[static_cast<size_t>(y) * nSliceWidth],
                            &pixels[static_cast<size_t>(y) * cx + static_cast<size_t>(i) * nSliceWidth],
                            static_cast<size_t>(nSliceWidth) * 4);
            made.emplace_back(BitmapFromPixels(nSliceWidth, cy, slice.data(), nullptr));
            if (!made.back())
            {
                std::fill_n(pBitmaps, i + 1, nullptr);
                return FALSE;
            }
        }
        for (int i = 0; i < nCount; ++i)
            pBitmaps[i] = made[static_cast<size_t>(i)].Release();
        return TRUE;
    }
    catch (const std::bad_alloc&)
    {
        TraceMemoryFailure();
        return FALSE;
    }
}

CSize GetIconSize(HICON hIcon)
{
    ICONINFO info{};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return CSize(0, 0);
    CSize size(0, 0);
    BITMAP bm{};
    const ScopedGdiObject<HBITMAP> mask(info.hbmMask);
    const ScopedGdiObject<HBITMAP> color(info.hbmColor);
    if (info.hbmMask && ::GetObjectA(info.hbmMask, sizeof(bm), &bm) == sizeof(bm))
        size = CSize(bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2);
    return size;
}

HICON ScaleIcon(HICON hIcon, int cx, int cy, int nNewWidth)
{
    if (!hIcon || nNewWidth <= 0 || cx <= 0 || cy <= 0)
        return nullptr;
    if (nNewWidth == cx)
        return ::CopyIcon(hIcon);
    const int nNewHeight = ::MulDiv(cy, nNewWidth, cx);
    if (nNewHeight <= 0)
        return nullptr;
    HIMAGELIST hList = ImageList_Create(nNewWidth, nNewHeight, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (!hList)
        return nullptr;
    HICON hScaled = nullptr;
    if (ImageList_AddIcon(hList, hIcon) == 0)
        hScaled = ImageList_GetIcon(hList, 0, ILD_NORMAL);
    ImageList_Destroy(hList);
    return hScaled;
}

int GetDIBColorTableEntries(int nBitCount)
{
    switch (nBitCount)
    {
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 3;  // room for the colour masks of BI_BITFIELDS, and the two colours of a 1-bit image
    }
}

BOOL GetBitmapDIBData(HBITMAP hBitmap, BITMAPINFO*& pInfo, int& nInfoSize, LPBYTE& pPixels, int& nPixelSize)
{
    pInfo = nullptr;
    pPixels = nullptr;
    nInfoSize = 0;
    nPixelSize = 0;
    BITMAP bm{};
    if (!GetBitmapSize(hBitmap, bm))
        return FALSE;
    CDC dc;  // a memory context compatible with the screen, for the DIB calls
    dc.CreateCompatibleDC(nullptr);
    if (!dc)
        return FALSE;
    // Room for the largest colour table while GetDIBits describes the bitmap.
    const size_t nQuerySize = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);
    auto* pQuery = static_cast<BITMAPINFO*>(std::calloc(1, nQuerySize));
    if (!pQuery)
    {
        TraceMemoryFailure();
        return FALSE;
    }
    pQuery->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    if (!::GetDIBits(dc, hBitmap, 0, static_cast<UINT>(bm.bmHeight), nullptr, pQuery, DIB_RGB_COLORS) ||
        pQuery->bmiHeader.biWidth <= 0 || pQuery->bmiHeader.biHeight == 0)
    {
        std::free(pQuery);
        return FALSE;
    }
    const BITMAPINFOHEADER& header = pQuery->bmiHeader;
    const ULONGLONG nStride = ((static_cast<ULONGLONG>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const ULONGLONG nRows =
        static_cast<ULONGLONG>(header.biHeight < 0 ? -static_cast<LONGLONG>(header.biHeight) : header.biHeight);
    ULONGLONG nPixels = header.biSizeImage;
    if (nPixels == 0)
        nPixels = static_cast<ULONGLONG>(header.biWidth) * nRows * 4;
    // A record stores its sizes in 32 bits, and a reader wants every row the header promises.
    if (nPixels < nStride * nRows || nPixels > 0x7FFFFFFF)
    {
        std::free(pQuery);
        return FALSE;
    }
    const int nEntries = GetDIBColorTableEntries(header.biBitCount);
    const int nInfo = static_cast<int>(sizeof(BITMAPINFOHEADER)) + nEntries * static_cast<int>(sizeof(RGBQUAD));
    auto* pBlock = static_cast<LPBYTE>(std::malloc(static_cast<size_t>(nPixels)));
    if (!pBlock)
    {
        TraceMemoryFailure();
        std::free(pQuery);
        return FALSE;
    }
    if (::GetDIBits(dc, hBitmap, 0, static_cast<UINT>(bm.bmHeight), pBlock, pQuery, DIB_RGB_COLORS) != bm.bmHeight)
    {
        std::free(pQuery);
        std::free(pBlock);
        return FALSE;
    }
    auto* pShort = static_cast<BITMAPINFO*>(std::realloc(pQuery, static_cast<size_t>(nInfo)));
    if (!pShort)
    {
        std::free(pQuery);
        std::free(pBlock);
        return FALSE;
    }
    pShort->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    pInfo = pShort;
    nInfoSize = nInfo;
    pPixels = pBlock;
    nPixelSize = static_cast<int>(nPixels);
    return TRUE;
}
