// The image manager's off-screen caches: every image of one size that is copied into the manager's icons lands in
// a slot of one shared colour bitmap (32-bit, bottom-up DIB section) and one shared mask (1 bit per pixel), and is
// drawn from there. The manager keeps one cache per size and hands slots to image handles:
//
//   COSMImageManagerCacheSlot* pSlot = pCache->Add(image);   // NULL when the cache refuses the image
//   pCache->Draw(pSlot, &dc, x, y, 16, 16, FALSE);
//   pCache->Free(pSlot);                                      // the last slot freed gives the bitmaps back
//
// A freed slot is reused before the bitmaps grow, and they grow by exactly one slot at a time. Every operation
// holds the cache's critical section. An icon may outlive the manager's caches (a bar keeps its own reference after
// RemoveAll): when a cache goes, each handle that still lives in one of its slots takes its image out as an image
// of its own, so it still draws.
#pragma once

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "classlib/SyncObject.h"

#include <memory>
#include <vector>

class COSMImageManager;
class COSMImageManagerIconCache;
class COSMImageManagerIconHandle;

// One image's place in a cache: (x, 0, x + width, height) of the shared bitmaps.
class COSMImageManagerCacheSlot
{
public:
    COSMImageManagerCacheSlot(COSMImageManagerIconCache* pCache, const CRect& rc) : m_rc(rc), m_pCache(pCache) {}

    BOOL m_bAlpha = FALSE;  // the slot holds premultiplied pixels, not a colour and mask pair
    CRect m_rc;
    COSMImageManagerIconCache* m_pCache;
    // The handle that holds the slot, told when the cache goes before it; null for a slot taken by hand.
    COSMImageManagerIconHandle* m_pOwner = nullptr;
};

class COSMImageManagerIconCache
{
public:
    COSMImageManagerIconCache(COSMImageManager* pManager, CSize szIcon);
    // Hands every slot that still has an owner back to it as an image of its own, then frees the bitmaps.
    ~COSMImageManagerIconCache();

    COSMImageManagerIconCache(const COSMImageManagerIconCache&) = delete;
    COSMImageManagerIconCache& operator=(const COSMImageManagerIconCache&) = delete;

    // Puts a copy of the image into a slot. Refused (NULL): an empty image, one of another size, one that holds
    // neither an icon nor a bitmap, or bitmaps that cannot be made or grown.
    COSMImageManagerCacheSlot* Add(const COSMImageManagerIconHandle& image);
    // Gives the slot back; the last one taken back releases the bitmaps.
    void Free(COSMImageManagerCacheSlot* pSlot);
    // The slot's image as an image of its own: a bitmap for an alpha slot, else an icon.
    BOOL Extract(const COSMImageManagerCacheSlot* pSlot, COSMImageManagerIconHandle& image);
    void Draw(const COSMImageManagerCacheSlot* pSlot, CDC* pDC, int x, int y, int cx, int cy, BOOL bAlphaBuffer);

    CSize GetIconSize() const { return m_szIcon; }
    int GetTotalWidth() const { return m_nTotalWidth; }
    int GetUsedSlotCount() const { return static_cast<int>(m_usedSlots.size()); }
    int GetFreeSlotCount() const { return static_cast<int>(m_freeSlots.size()); }
    HBITMAP GetColorBitmap() const { return static_cast<HBITMAP>(m_bmpColor.m_hObject); }
    HBITMAP GetMaskBitmap() const { return static_cast<HBITMAP>(m_bmpMask.m_hObject); }
    COSMImageManager* GetImageManager() const { return m_pManager; }

    // ---- For the image manager's own use -------------------------------------------------------------------------
    // Per-pixel alpha blend of premultiplied source pixels (the drawing helpers' DrawAlphaBlend), stretched when the
    // sizes differ.
    static BOOL AlphaBlendImage(CDC* pDest, int x, int y, int cx, int cy, CDC* pSource, int xSrc, int ySrc, int cxSrc,
                                int cySrc);
    // A colour and mask pair onto the target: the mask with SRCAND, then the colour with SRCINVERT, with black text
    // and a white background on both contexts (the target's are given back). A negative cx mirrors.
    static void DrawMasked(HDC hDest, int x, int y, int cx, int cy, HDC hColor, HDC hMask, int xSrc, int ySrc,
                           int cxSrc, int cySrc);
    // A classic image drawn through a 32-bit buffer: the mask makes the alpha (0 where set, 255 elsewhere), the
    // colour is put in with SRCINVERT, and the buffer is alpha-blended onto the target.
    static void DrawMaskedThroughBuffer(CDC* pDest, int x, int y, int cx, int cy, HDC hColor, HDC hMask, int xSrc,
                                        int ySrc, int cxSrc, int cySrc);

protected:
    COSMImageManagerCacheSlot* AllocSlot();
    // A bitmap pair one slot wider, with the old images copied in.
    BOOL Grow();
    void ReleaseBitmaps();
    void SelectColorBitmap();

    CBitmap m_bmpColor;
    CBitmap m_bmpMask;
    CDC m_dc;  // compatible with the screen; holds the colour bitmap
    HGDIOBJ m_hOldBitmap = nullptr;
    LPDWORD m_pBits = nullptr;  // the colour bitmap's pixels
    COSMImageManager* m_pManager;
    CSize m_szIcon;
    int m_nTotalWidth = 0;
    std::vector<std::unique_ptr<COSMImageManagerCacheSlot>> m_usedSlots;
    std::vector<std::unique_ptr<COSMImageManagerCacheSlot>> m_freeSlots;
    CCriticalSection m_lock;
};
