// The Office 2007 look's resources: named bitmaps in a resource module, each a vertical strip of equal states, and a
// theme text in INI form (resource type "TEXTFILE", "OFFICE2007BLUE_INI" by default) giving the look's colours. One
// process-wide manager owns the module, the text and a cache of the images it has loaded:
//
//   COSMOffice2007Images* images = COSMOffice2007Images::Instance();
//   if (images->IsValid())
//       text = images->GetImageColor("StatusBar", "StatusBarText");        // -1 when the key is missing
//   if (COSMOffice2007Image* image = images->LoadImage("TOOLTIPFRAME"))     // the manager keeps it
//       image->DrawImage(dc, rcDest, image->GetStateRect(0, 1), CRect(3, 3, 3, 3), RGB(255, 0, 255));
//
// Images are decoded once into 32-bit pixels and drawn through one 512 x 512 scratch bitmap, stretched into the
// destination with their margins kept (nine parts). Drawing only ever reads inside the bitmap: a source reaching past
// it is cut to it, and a source or destination without area draws nothing.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/Map.h"
#include "classlib/RefPtr.h"
#include "classlib/ScopedHandle.h"
#include "classlib/SyncObject.h"
#include "framework/foundation/NotifyConnection.h"

#include <map>
#include <vector>

class CArchive;
class COSMNotifyConnection;
class COSMOffice2007Images;

// One theme image: a bitmap held as 32-bit bottom-up pixels (blue, green, red, alpha). Reference counted; the
// manager's cache holds one reference, and a caller that keeps an image past ClearCache takes its own.
class COSMOffice2007Image : public CCmdTarget
{
public:
    explicit COSMOffice2007Image(COSMOffice2007Images* pOwner);
    ~COSMOffice2007Image() override;

    // State nState (from 0) of a vertical strip of nCount equal states; empty for an image without pixels.
    CRect GetStateRect(int nState, int nCount) const;
    // The whole bitmap as a source rectangle.
    CRect GetSource() const { return CRect(0, 0, m_nWidth, m_nHeight); }
    CSize GetExtent() const { return CSize(m_nWidth, m_nHeight); }
    BOOL HasPixels() const { return !m_pixels.empty(); }
    BOOL IsAlphaImage() const { return m_bAlpha; }

    // Right-to-left canvases draw the picture mirrored back, so it keeps its orientation (alpha images only).
    void SetPreserveOrientation(BOOL bPreserve) { m_bPreserveOrientation = bPreserve; }
    BOOL IsPreserveOrientation() const { return m_bPreserveOrientation; }
    // The stored rows are mirrored now: they follow the layout of the last canvas drawn on.
    BOOL IsMirrored() const { return m_bMirrored; }

    // rcSrc of the image over rcDest, the margins (left and right column widths, top and bottom row heights in
    // source pixels) unstretched. clrTransparent (-1 for none) is left out of images without alpha.
    void DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins, COLORREF clrTransparent);
    // As DrawImage; with bit 0 of dwFlags an image without alpha is blended with clrTransparent's pixels (or, for
    // -1, none) fully transparent and all others opaque.
    void DrawImageFlags(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins,
                        COLORREF clrTransparent, DWORD dwFlags);
    void DrawImagePart(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins);
    void DrawImagePart(CDC* pDC, const CRect& rcDest, const CRect& rcSrc);

    // ---- For the manager's own use -----------------------------------------------------------------------------
    // The bitmap resource (a "PNG" resource of the name first); FALSE when there is none.
    BOOL LoadFromResource(HMODULE hModule, LPCSTR lpszResourceName);
    // Takes the bitmap's pixels and deletes it.
    void SetBitmap(HBITMAP hBitmap, BOOL bAlpha);

#ifdef OSM_TEST_HOOKS
    // How many images exist in the process now: tests watch images go. Only in trees built for tests
    // (OSM_TEST_HOOKS), never in the program users get.
    static LONG GetInstanceCount();
#endif

private:
    BOOL ConvertToBits(HBITMAP hBitmap);
    void InvertBitmap();
    void BlitPart(CDC* pDC, const CRect& rcDest, CDC* pSrcDC, const CRect& rcSrc);
    BOOL CanDraw(const CRect& rcSrc, const CRect& rcMargins) const;
    // The source cut to the bitmap, the destination and margins by as much; FALSE when nothing sound is left.
    BOOL ClipSource(CRect& rcSrc, CRect& rcMargins, CRect& rcDest) const;

    std::vector<DWORD> m_pixels;  // bottom row first
    BOOL m_bAlpha = FALSE;
    BOOL m_bPreserveOrientation = FALSE;
    BOOL m_bMirrored = FALSE;
    int m_nWidth = 0;
    int m_nHeight = 0;
    COSMOffice2007Images* m_pOwner;
};

// The memory DC the images draw through, which selects back the bitmap its selection replaced.
class COSMOffice2007ImagesDC : public CDC
{
public:
    COSMOffice2007ImagesDC() = default;
    ~COSMOffice2007ImagesDC() override;
    void SelectScratch(HBITMAP hBitmap);
    void RestoreBitmap();

private:
    HGDIOBJ m_hReplacedBitmap = nullptr;
};

class COSMOffice2007Images : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMOffice2007Images)

public:
    // Sent through the notify connection whenever SetResourceModule runs.
    static const int kResourcesChangedEvent = 10575;

    // Told of every image name that failed to load and every (section, key) the theme text lacks. Tests and the
    // resources' lint listen; absent by default.
    class CObserver
    {
    public:
        virtual ~CObserver() = default;
        virtual void OnImageMissing(LPCSTR lpszName) = 0;
        virtual void OnKeyMissing(LPCSTR lpszSection, LPCSTR lpszKey) = 0;
    };

    COSMOffice2007Images();
    ~COSMOffice2007Images() override;

    // The process's manager, made on the first call. It goes at exit right after the process-wide paint manager (a
    // look releasing its images then still finds it).
    static COSMOffice2007Images* Instance();
    // The process's manager while it lives; null before the first Instance and after its end at exit. Looks that go
    // late ask here instead of keeping the pointer.
    static COSMOffice2007Images* LiveInstance();

    // Uses hModule's resources (the program's own for null): the text lpszIniName ("OFFICE2007BLUE_INI" when none;
    // '.' counts as '_'), or without a name the module's first "TEXTFILE". bFreeModule: the module is freed when
    // replaced or when the manager goes. TRUE when a text was found.
    BOOL SetResourceModule(HMODULE hModule, LPCSTR lpszIniName = nullptr, BOOL bFreeModule = FALSE);
    HMODULE GetResourceModule() const { return m_hModule; }
    // A theme text is loaded.
    BOOL IsValid() const { return m_pTextStart != nullptr; }

    // The value of lpszKey in the first block of lpszSection, upper case; empty when missing.
    CString GetValue(LPCSTR lpszSection, LPCSTR lpszKey) const;
    BOOL GetValue(LPCSTR lpszSection, LPCSTR lpszKey, CString& strValue) const;
    // The value as "r g b" (each a C integer: 0x10 is 16, 010 is 8); -1 when missing or empty.
    COLORREF GetImageColor(LPCSTR lpszSection, LPCSTR lpszKey) const;

    // The named image, loaded on first use and kept; null when the module has none (asked again next time).
    COSMOffice2007Image* LoadImage(LPCSTR lpszName);
    // The bitmap's resource name: the section "Images" may map the name; '.' and '\' become '_'.
    CString GetImageResourceName(LPCSTR lpszName) const;
    // Releases every cached image (one nobody else holds goes) and empties the cache.
    void ClearCache();

    // Listeners told when the resources change (kResourcesChangedEvent). The manager takes a reference.
    void SetNotifyConnection(COSMNotifyConnection* pConnection);
    COSMNotifyConnection* GetNotifyConnection() const { return m_pConnection.Get(); }
    void SetObserver(CObserver* pObserver) { m_pObserver = pObserver; }

    // ---- For the images' own use -------------------------------------------------------------------------------
    CRITICAL_SECTION& GetLock() { return m_lock.m_sect; }
    COSMOffice2007ImagesDC& GetScratchDC() { return m_scratchDC; }
    HBITMAP GetScratchBitmap() const { return m_scratchBitmap.Get(); }
    DWORD* GetScratchBits() const { return m_pScratchBits; }
    static const int kScratchSize = 512;

protected:
    // A new image (the caller's reference), or null when the module has none.
    RefPtr<COSMOffice2007Image> LoadBitmapImage(LPCSTR lpszName);
    // The module's first "TEXTFILE" (its name, or its integer id), or null.
    static HRSRC FindIniResource(HMODULE hModule);
    // The next line of the text from rpCursor: FALSE when no carriage return ends one before the text's end.
    BOOL ReadLine(CString& strLine, const BYTE*& rpCursor) const;

private:
    // GetValue without telling the observer.
    BOOL FindValue(LPCSTR lpszSection, LPCSTR lpszKey, CString& strValue) const;

    HMODULE m_hModule = nullptr;
    const BYTE* m_pTextStart = nullptr;
    const BYTE* m_pTextEnd = nullptr;
    BOOL m_bFreeModule = FALSE;
    CCriticalSection m_lock;
    // The bitmap before the DC that draws through it: the DC gives it back (deselects it) before it goes.
    ScopedGdiObject<HBITMAP> m_scratchBitmap;
    COSMOffice2007ImagesDC m_scratchDC;
    DWORD* m_pScratchBits = nullptr;
    RefPtr<COSMNotifyConnection> m_pConnection;
    // One reference on each image loaded.
    std::map<CString, RefPtr<COSMOffice2007Image>> m_cache;
    CObserver* m_pObserver = nullptr;
};

// Ids to images: 17 buckets (an id's bucket is (id >> 4) mod 17), nodes in blocks of 10.
class COSMOffice2007ImageMap : public CMap<UINT, UINT, COSMOffice2007Image*, COSMOffice2007Image*>
{
public:
    COSMOffice2007ImageMap();
};

// A manager with a second map of images by numeric id, made by class name. Nothing here adds to that map; its stored
// form is the count, then an id and a 32-bit word per entry (written 0; read and dropped, since an image cannot be
// stored as a word).
class COSMOffice2007ImageList : public COSMOffice2007Images
{
    DECLARE_DYNCREATE(COSMOffice2007ImageList)

public:
    COSMOffice2007ImageList();
    ~COSMOffice2007ImageList() override;

    void Serialize(CArchive& ar) override;
    // Releases every image of the id map and empties it.
    void RemoveAll();
    INT_PTR GetImageCount() const { return m_images.GetCount(); }

private:
    COSMOffice2007ImageMap m_images;
};
