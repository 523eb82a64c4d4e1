// COSMImageManagerIconHandle: one image of the image manager, either a classic icon (colour and mask) or a 32-bit
// bitmap with alpha, with its size. An image copied into an icon of the manager usually lives in one of the
// manager's off-screen caches (a slot of a shared bitmap); the handle then holds the slot instead of an image.
//
//   COSMImageManagerIconHandle image;
//   image.SetIcon(::LoadIcon(...));                 // the handle now owns the icon
//   GetImageManager()->SetIcon(image, ID_FILE_OPEN);
//
//   COSMImageManagerIconHandle alpha;
//   alpha.SetBitmap(hbm32);                         // keeps its own 32-bit copy; hbm32 stays the caller's
//   alpha.Draw(&dc, 4, 4, 16, 16);
//
// A bitmap image is drawn with per-pixel alpha: it is premultiplied on first use, and from then on the handle
// holds the premultiplied copy.
#pragma once

#include "classlib/Geometry.h"

class COSMImageManager;
class COSMImageManagerCacheSlot;

class COSMImageManagerIconHandle
{
public:
    COSMImageManagerIconHandle();
    // Takes ownership of the icon.
    explicit COSMImageManagerIconHandle(HICON hIcon);
    ~COSMImageManagerIconHandle();

    // A copy holds its own image (never a cache slot).
    COSMImageManagerIconHandle(const COSMImageManagerIconHandle& other);
    COSMImageManagerIconHandle& operator=(const COSMImageManagerIconHandle& other);

    // ---- Setting the image ---------------------------------------------------------------------------------------
    // Each first clears what the handle held. SetIcon and SetAlphaBitmap take ownership of the handle given unless
    // bOwn is FALSE (the caller then keeps it alive as long as the handle holds it).
    void SetIcon(HICON hIcon, BOOL bOwn = TRUE);
    void SetAlphaBitmap(HBITMAP hBitmap, BOOL bOwn = TRUE);
    // Keeps a 32-bit copy of the bitmap (an alpha image); the bitmap stays the caller's.
    void SetBitmap(HBITMAP hBitmap);
    // Takes ownership of a 32-bit bottom-up DIB section whose pixels are premultiplied already.
    void SetPreMultipliedBitmap(HBITMAP hBitmap);
    // A copy of other's image: into the manager's cache for its size when the manager caches and other is
    // cacheable, else an own copy. This handle's manager decides (the process-wide one when none is set).
    void CopyFrom(const COSMImageManagerIconHandle& other);
    // Always an own copy, never a cache slot (for images taken apart or written out).
    void CopyOwnImageFrom(const COSMImageManagerIconHandle& other);
    void Clear();

    // Loads an icon resource of hModule. bGroup: name is first taken as an icon group (RT_GROUP_ICON), whose entry
    // of exactly cx x cy is loaded; otherwise, or without such a group, name is one RT_ICON image. A 32-bit image
    // becomes an alpha bitmap. FALSE when nothing could be loaded.
    BOOL LoadFromResource(HMODULE hModule, LPCSTR lpszResourceName, int cx, int cy, BOOL bGroup);
    // The same from the class library's resource module (AfxGetResourceHandle).
    BOOL LoadIcon(LPCSTR lpszResourceName, int cx, int cy, BOOL bGroup = TRUE);

    // ---- What it holds -------------------------------------------------------------------------------------------
    // Nothing held, or an image of 0 x 0.
    BOOL IsEmpty() const;
    // A bitmap, or a cache slot holding one.
    BOOL IsAlpha() const;
    HICON GetIcon() const { return m_hIcon; }
    // Its own bitmap, else the cache's colour bitmap when it lives in a slot.
    HBITMAP GetBitmap() const;
    CSize GetExtent() const { return m_szIcon; }
    COSMImageManagerCacheSlot* GetCacheSlot() const { return m_pSlot; }
    // Only cacheable images go into the manager's caches (TRUE by default; copied with the image).
    BOOL IsCacheable() const { return m_bCacheable; }
    void SetCacheable(BOOL bCacheable) { m_bCacheable = bCacheable; }
    // The premultiplied pixels (bottom-up rows) of a bitmap image, premultiplying it now when it is not yet;
    // NULL for other images.
    LPBYTE PreMultiply();
    // The premultiplied pixels when the bitmap is premultiplied already, else NULL.
    LPBYTE GetPreMultipliedBits() const { return m_pBits; }

    // The manager whose caches and mirror mode this handle uses; NULL means the process-wide one.
    void SetImageManager(COSMImageManager* pManager) { m_pManager = pManager; }
    COSMImageManager* GetImageManager() const;

    // ---- Drawing -------------------------------------------------------------------------------------------------
    // Draws the image at (x, y) in cx x cy. bAlphaBuffer: a classic icon goes through a 32-bit buffer and is
    // alpha-blended, so a target that keeps alpha (a glass frame, a layered window) gets opaque pixels.
    void Draw(CDC* pDC, int x, int y, int cx, int cy, BOOL bAlphaBuffer = FALSE);
    void Draw(CDC* pDC, CPoint pt, CSize sz, BOOL bAlphaBuffer = FALSE)
    {
        Draw(pDC, pt.x, pt.y, sz.cx, sz.cy, bAlphaBuffer);
    }

protected:
    friend class COSMImageManagerIconCache;  // reads the bitmap itself, never the cache's; calls LeaveCache

    // The cache the handle's slot lies in is going: the handle copies its image out as its own and frees the slot.
    void LeaveCache();

    void DrawIconImage(CDC* pDC, int x, int y, int cx, int cy, BOOL bAlphaBuffer);
    void DrawAlphaImage(CDC* pDC, int x, int y, int cx, int cy);
    // The image's own bitmap or icon as a handle of its own (a slot's image copied out).
    void CopyOwnImage(const COSMImageManagerIconHandle& other);

    HICON m_hIcon = nullptr;
    HBITMAP m_hBitmap = nullptr;
    LPBYTE m_pBits = nullptr;     // the bitmap's premultiplied pixels, NULL until premultiplied
    BOOL m_bClearHandles = TRUE;  // the handle destroys what it holds
    COSMImageManager* m_pManager = nullptr;
    COSMImageManagerCacheSlot* m_pSlot = nullptr;
    CSize m_szIcon;
    BOOL m_bCacheable = TRUE;
};
