// The image manager's loaders: icon groups, image lists and strips of toolbar images.
#include "classlib/ClassLibBase.h"
#include "framework/foundation/ImageManager.h"

#include "framework/foundation/ImageFileChecks.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageLoaders.h"

#include "classlib/ScopedHandle.h"

#include <vector>

BOOL COSMImageManager::SetIconsFromGroupResource(HMODULE hModule, LPCSTR lpszResourceName, UINT nID, int cx, int cy,
                                                 int nState)
{
    std::vector<OSM_ICON_GROUP_ENTRY> entries;
    if (!ReadIconGroupResource(hModule, lpszResourceName, entries))
    {
        COSMImageManagerIconHandle image;
        if (!image.LoadFromResource(hModule, lpszResourceName, cx, cy, FALSE))
            return FALSE;
        return SetIcon(image, nID, 0, 0, nState);
    }
    for (const OSM_ICON_GROUP_ENTRY& entry : entries)
    {
        if (!(cx == 0 && cy == 0) && !(entry.nWidth == cx && entry.nHeight == cy))
            continue;
        COSMImageManagerIconHandle image;
        if (!image.LoadFromResource(hModule, MAKEINTRESOURCEA(entry.nID), entry.nWidth, entry.nHeight, FALSE) ||
            !SetIcon(image, nID, entry.nWidth, entry.nHeight, nState))
            return FALSE;
    }
    return TRUE;
}

BOOL COSMImageManager::LoadIconGroupResource(LPCSTR lpszResourceName, UINT nID, int cx, int cy, int nState)
{
    HMODULE hModule = AfxGetResourceHandle();
    std::vector<OSM_ICON_GROUP_ENTRY> entries;
    if (ReadIconGroupResource(hModule, lpszResourceName, entries))
    {
        SetIconsFromGroupResource(hModule, lpszResourceName, nID, cx, cy, nState);
        return TRUE;
    }
    COSMImageManagerIconHandle image;
    if (!image.LoadIcon(lpszResourceName, cx, cy))
        return FALSE;
    return SetIcon(image, nID, 0, 0, nState);
}

BOOL COSMImageManager::SetIconsFromImageList(HIMAGELIST hImageList, const UINT* pCommands, int nCount, int cx, int cy,
                                             int nState)
{
    if (!hImageList)
        return FALSE;
    const int nImages = ImageList_GetImageCount(hImageList);
    if (!pCommands && nCount == 0)
        nCount = nImages;
    if (cx == 0 && cy == 0 && nCount >= 1)
    {
        IMAGEINFO info{};
        if (ImageList_GetImageInfo(hImageList, 0, &info))
        {
            cx = info.rcImage.right - info.rcImage.left;
            cy = info.rcImage.bottom - info.rcImage.top;
        }
    }
    // A list that does not hold one image per id has none for its separators.
    return SetIconsFromImageListImages(hImageList, pCommands, nCount, cx, cy, nState, pCommands && nImages != nCount);
}

BOOL COSMImageManager::SetIconsFromImageListImages(HIMAGELIST hImageList, const UINT* pCommands, int nCount, int cx,
                                                   int cy, int nState, bool bSkipSeparators)
{
    int nIndex = 0;
    for (int i = 0; i < nCount; ++i)
    {
        const UINT nID = pCommands ? pCommands[i] : static_cast<UINT>(i);
        if (bSkipSeparators && nID == 0)
            continue;
        HICON hIcon = ImageList_GetIcon(hImageList, nIndex, 0);
        if (!hIcon)
            return FALSE;
        COSMImageManagerIconHandle image;
        image.SetIcon(hIcon);  // destroyed with the handle, once the manager has its copy
        SetIcon(image, nID, cx, cy, nState);
        ++nIndex;
    }
    return TRUE;
}

BOOL COSMImageManager::AddIconsFromBitmap(HBITMAP hBitmap, const UINT* pCommands, int nCount, int cx, int cy,
                                          int nState, BOOL bAlpha)
{
    BITMAP bm{};
    if (!hBitmap || ::GetObjectA(hBitmap, sizeof(bm), &bm) != sizeof(bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return FALSE;
    // A strip beyond the image limits is refused before anything is copied from it.
    if (!IsImageSizeAllowed(bm.bmWidth, bm.bmHeight))
        return FALSE;
    if (cx == 0 && cy == 0 && nCount >= 1)
    {
        cy = bm.bmHeight;
        cx = bm.bmWidth / nCount;
    }
    if (nCount == 0 && cx >= 1)
        nCount = bm.bmWidth / cx;
    if (cx <= 0)
        return FALSE;
    if (cy <= 0)
        cy = bm.bmHeight;
    if (!IsImageSizeAllowed(cx, cy))
        return FALSE;
    if (bAlpha && bm.bmWidth % cx != 0)
        return FALSE;
    const int nSlices = bm.bmWidth / cx;
    if (nSlices == 0)
        return FALSE;
    // A strip that does not hold one image per id has none for its separators.
    const bool bSkipSeparators = pCommands && nSlices != nCount;
    // Only the slices that ids take are cut, from the left: the work follows the icons asked for, never the width
    // of the strip. Ids left over find no slice, and slices left over no id.
    int nTaken = 0;
    for (int i = 0; i < nCount && nTaken < nSlices; ++i)
    {
        if (!(bSkipSeparators && pCommands && pCommands[i] == 0))
            ++nTaken;
    }
    if (nTaken == 0)
        return TRUE;

    if (bAlpha)
    {
        std::vector<HBITMAP> slices(static_cast<size_t>(nTaken), nullptr);
        // Each slice goes to an image handle; those no id takes go with held, and all of them when a SetIcon
        // throws (its room is made first, so that taking them over cannot throw).
        std::vector<ScopedGdiObject<HBITMAP>> held;
        held.reserve(slices.size());
        if (!SplitAlphaBitmap(hBitmap, cx, nTaken, slices.data()))
            return FALSE;
        for (HBITMAP slice : slices)
            held.emplace_back(slice);
        int nSlice = 0;
        for (int i = 0; i < nCount && nSlice < nTaken; ++i)
        {
            const UINT nID = pCommands ? pCommands[i] : static_cast<UINT>(i);
            if (bSkipSeparators && nID == 0)
                continue;
            COSMImageManagerIconHandle image;
            image.SetAlphaBitmap(held[static_cast<size_t>(nSlice)].Release());
            ++nSlice;
            SetIcon(image, nID, cx, cy, nState);
        }
        return TRUE;
    }

    // ImageList_AddMasked blackens the masked pixels of the bitmap it is given, and compares whole pixels with the
    // mask colour: it gets a 24-bit copy of the slices taken, so the caller's bitmap stays as it was and no alpha
    // byte spoils the match.
    const int nCopyWidth = nTaken * cx;
    ScopedGdiObject<HBITMAP> copy;
    COLORREF clrMask = m_clrMask;
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = nCopyWidth;
        info.bmiHeader.biHeight = bm.bmHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* pBits = nullptr;
        const ScopedCreatedDC to(::CreateCompatibleDC(nullptr));
        const ScopedCreatedDC from(::CreateCompatibleDC(nullptr));
        copy.Reset(to ? ::CreateDIBSection(to.Get(), &info, DIB_RGB_COLORS, &pBits, nullptr, 0) : nullptr);
        if (copy && from)
        {
            const ScopedSelection selectTo = SelectScoped(to.Get(), copy.Get());
            const ScopedSelection selectFrom = SelectScoped(from.Get(), hBitmap);
            ::BitBlt(to.Get(), 0, 0, nCopyWidth, bm.bmHeight, from.Get(), 0, 0, SRCCOPY);
            if (clrMask == static_cast<COLORREF>(-1))
                clrMask = ::GetPixel(to.Get(), 0, 0);
        }
    }
    if (!copy)
        return FALSE;
    BOOL bResult = FALSE;
    if (HIMAGELIST hList = ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 0, 1))
    {
        if (ImageList_AddMasked(hList, copy.Get(), clrMask) != -1)
            bResult = SetIconsFromImageListImages(hList, pCommands, nCount, cx, cy, nState, bSkipSeparators);
        ImageList_Destroy(hList);
    }
    return bResult;
}

BOOL COSMImageManager::SetIconsFromBitmapResource(LPCSTR lpszResourceName, const UINT* pCommands, int nCount, int cx,
                                                  int cy, int nState)
{
    BOOL bAlpha = FALSE;
    const ScopedGdiObject<HBITMAP> bitmap(LoadImageResource(lpszResourceName, &bAlpha));
    if (!bitmap)
        return FALSE;
    return AddIconsFromBitmap(bitmap.Get(), pCommands, nCount, cx, cy, nState, bAlpha);
}

BOOL COSMImageManager::SetIconsFromResourceId(UINT nIDResource, const UINT* pCommands, int nCount, int cx, int cy,
                                              int nState)
{
    return SetIconsFromBitmapResource(MAKEINTRESOURCEA(nIDResource), pCommands, nCount, cx, cy, nState);
}
