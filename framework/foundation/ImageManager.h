// COSMImageManager: the framework's store of command images. Every command id owns an icon set, an icon set holds
// one icon per width, and an icon holds its images per state. Bars, menus, markup and themes draw every command
// image from here; images copied in are packed into shared off-screen caches, one per size.
//
//   COSMImageManager* pImages = GetImageManager();          // the process-wide one
//   pImages->LoadIconGroupResource(MAKEINTRESOURCE(IDI_OPEN), ID_FILE_OPEN, 0, 0);
//   UINT ids[] = {ID_FILE_NEW, ID_FILE_OPEN, 0, ID_FILE_SAVE};
//   pImages->SetIconsFromBitmapResource(MAKEINTRESOURCE(IDB_TOOLBAR), ids, 4, 16, 16);
//   if (COSMImageManagerIcon* pIcon = pImages->GetImage(ID_FILE_OPEN, 16))
//       pIcon->Draw(&dc, CPoint(2, 2), pIcon->GetIcon());
//
// The manager is reference counted (InternalAddRef, InternalRelease; it deletes itself at zero). GetImageManager
// makes the process-wide one on first use holding one reference, which an exit routine releases; a bar or control
// that keeps a manager takes and releases its own. The manager is meant for the user-interface thread; only its
// caches take a lock.
//
// Saving and loading go through the property exchange (DoPropExchange, or Serialize on an archive); one command's
// icons move through the clipboard in the format "Osmira ToolBar Image".
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/Map.h"
#include "classlib/RefPtr.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/foundation/ImageManagerIconCache.h"
#include "framework/foundation/ImageManagerIconHandle.h"
#include "framework/foundation/ImageManagerIconSet.h"
#include "framework/foundation/ImageManagerImageList.h"

#include <memory>
#include <vector>

class COSMPropExchange;
class COleDataObject;

class COSMImageManager : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMImageManager)

public:
    // The custom ids start above this one.
    static const UINT kFirstLastCustomID = 68266;
    // Mirror modes: icons are never mirrored, always, or on right-to-left contexts.
    enum MirrorMode
    {
        kMirrorNever = 0,
        kMirrorAlways = 1,
        kMirrorOnRightToLeft = 2
    };

    COSMImageManager();
    ~COSMImageManager() override;

    // ---- The store
    // --------------------------------------------------------------------------------------------------- nState: 0
    // normal, 1 disabled, 2, 3, 4. cx and cy 0: the image's own size. FALSE for an empty image, a size of 0 x 0, or a
    // state other than 0 for a command that has no icons yet.
    BOOL SetIcon(const COSMImageManagerIconHandle& image, UINT nID, int cx = 0, int cy = 0, int nState = 0);
    // The icon is copied; it stays the caller's.
    BOOL SetIcon(HICON hIcon, UINT nID, int cx = 0, int cy = 0, int nState = 0);
    // The command's icon nearest in width; without a set, the first image-list source that holds the command.
    COSMImageManagerIcon* GetImage(UINT nID, int nWidth = 16) const;
    // An icon of exactly that width (any width for 0 and 1), in the command's set or an image-list source.
    BOOL ContainsImage(UINT nID, int nWidth = 16) const;
    COSMImageManagerIconSet* LookupIconSet(UINT nID) const;
    // Stores the image under a new custom command id (one above the last) and returns it; 0 for an empty image.
    UINT AddCustomIcon(const COSMImageManagerIconHandle& image);
    UINT GetLastCustomID() const { return m_nLastCustomID; }
    // Counts the changes of which commands have icons and in which widths: what a bar measures with an icon can
    // change with it, so bars remember their layouts only while it stays. The sets note their new widths here.
    UINT GetRevision() const { return m_revision; }
    void NoteIconsChanged() { ++m_revision; }
    // Draws images of commands first, first + 1 ... from the list itself. bDestroyImageList: the manager destroys
    // the list when the source goes.
    BOOL AddImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroyImageList = FALSE);
    // Deletes every icon set, every cache and every image-list source.
    void RemoveAll();
    // Every icon drops its generated images; image-list sources drop their icons. Paint managers call it when
    // they are made, so a new theme starts with freshly generated images.
    void RefreshAll();
    // The colour that is transparent in bitmaps without alpha (-1: the colour of their top-left pixel). Returns
    // the previous value.
    COLORREF SetMaskColor(COLORREF clrMask);
    COLORREF GetMaskColor() const { return m_clrMask; }
    // The sets by command id, walked in map order.
    const CMap<UINT, UINT, COSMImageManagerIconSet*, COSMImageManagerIconSet*>& GetIconSets() const
    {
        return m_mapIconSets;
    }

    // ---- Caches and drawing
    // ------------------------------------------------------------------------------------------ Images copied into
    // icons go into the shared caches (TRUE at construction).
    BOOL IsCacheEnabled() const { return m_bUseCache; }
    void EnableCache(BOOL bUseCache) { m_bUseCache = bUseCache; }
    // The cache for the size; made when bCreate and missing.
    COSMImageManagerIconCache* GetCache(CSize szIcon, BOOL bCreate);
    int GetMirrorMode() const { return m_nMirrorMode; }
    void SetMirrorMode(int nMirrorMode) { m_nMirrorMode = nMirrorMode; }
    // Whether classic icons drawn on the context are mirrored, by the mirror mode.
    BOOL IsDrawMirrored(CDC* pDC) const;
    // Whether icons may carry an alpha channel that the caches keep: common controls 6 and later draw them so.
    // Override to decide otherwise (a preview of another system, a test).
    virtual BOOL IsIconAlphaSupported() const;

    // The drawing helpers' blends (GetDrawHelpers), reached through the image manager by callers that draw images.
    BOOL DrawAlphaBlend(CDC* pDestDC, LPCRECT lpDestRect, CDC* pSrcDC, LPCRECT lpSrcRect);
    BOOL DrawTransparentBlt(CDC* pDestDC, LPCRECT lpDestRect, CDC* pSrcDC, LPCRECT lpSrcRect, COLORREF crTransparent);

    // ---- Loading images
    // ---------------------------------------------------------------------------------------------- Every image of the
    // icon group of that size (every image for 0 x 0) goes to the command at its own size; without a group, the RT_ICON
    // of the name. FALSE when an image cannot be loaded or set.
    BOOL SetIconsFromGroupResource(HMODULE hModule, LPCSTR lpszResourceName, UINT nID, int cx, int cy, int nState = 0);
    // The same from the class library's resource module; TRUE whenever the group exists.
    BOOL LoadIconGroupResource(LPCSTR lpszResourceName, UINT nID, int cx, int cy, int nState = 0);
    // Image i of the list goes to command pCommands[i] (or i without ids). nCount 0 without ids: every image.
    // When ids are given and the list does not hold exactly nCount images, an id of 0 is a separator: it is
    // skipped without taking an image. cx, cy 0: the size of the list's first image.
    BOOL SetIconsFromImageList(HIMAGELIST hImageList, const UINT* pCommands, int nCount, int cx, int cy,
                               int nState = 0);
    // Cuts a strip into icons of cx x cy (0 x 0 with nCount: the strip's height and width / nCount; nCount 0:
    // width / cx images). bAlpha: the strip is 32-bit with alpha and must be a whole number of icons wide; else
    // its images are masked with the mask colour. Only the slices the ids take are cut; a strip or icon size beyond
    // the image limits (ImageFileChecks.h) is refused with the manager left as it was.
    BOOL AddIconsFromBitmap(HBITMAP hBitmap, const UINT* pCommands, int nCount, int cx, int cy, int nState,
                            BOOL bAlpha);
    // A bitmap or "PNG" resource of the class library's resource module, cut as AddIconsFromBitmap does.
    BOOL SetIconsFromBitmapResource(LPCSTR lpszResourceName, const UINT* pCommands, int nCount, int cx, int cy,
                                    int nState = 0);
    BOOL SetIconsFromResourceId(UINT nIDResource, const UINT* pCommands, int nCount, int cx, int cy, int nState = 0);

    // ---- Saving, loading and the clipboard -------------------------------------------------------------------------
    // Every icon set as an "IconSet" section holding its "Id" and its icons. Loading replaces every set, and
    // only when the whole load succeeds.
    void DoPropExchange(COSMPropExchange* pPX);
    void Serialize(CArchive& ar) override;
    // One command's icons: "CheckSum", then its "Icon" list of "Width" and "Data". Loading replaces the command's
    // set only when the load succeeds; a wrong "CheckSum" raises CArchiveException::badClass.
    void DoPropExchangeIconSet(UINT nID, COSMPropExchange* pPX);
    void SerializeIconSet(UINT nID, CArchive& ar);
    // Puts the command's icons on the clipboard, which the caller has opened (and emptied). FALSE when memory
    // or the clipboard refuses.
    BOOL CopyImageToClipboard(UINT nID);
    // Icons from the clipboard, stored under a new custom id, which is returned; 0 when the data object offers
    // none or they cannot be read (the id is not spent then).
    UINT PasteFromClipboard(COleDataObject* pData);

protected:
    // Image i of the list (counting only ids that take one) goes to the i-th such id; with bSkipSeparators an id
    // of 0 takes none. FALSE when an id finds no image.
    BOOL SetIconsFromImageListImages(HIMAGELIST hImageList, const UINT* pCommands, int nCount, int cx, int cy,
                                     int nState, bool bSkipSeparators);
    // A new set of the command's icons read from the exchange; raises on a wrong "CheckSum" or damaged data.
    RefPtr<COSMImageManagerIconSet> LoadIconSet(UINT nID, COSMPropExchange* pPX);
    void StoreIconSet(UINT nID, COSMPropExchange* pPX);
    // Enters the set under its id; a set already there is deleted.
    void SetIconSetAt(COSMImageManagerIconSet* pIconSet);
    void RemoveIconSets();

    BOOL m_bUseCache = TRUE;
    COLORREF m_clrMask = static_cast<COLORREF>(-1);
    CMap<UINT, UINT, COSMImageManagerIconSet*, COSMImageManagerIconSet*> m_mapIconSets;
    std::vector<std::unique_ptr<COSMImageManagerImageList>> m_imageLists;
    CMap<DWORD, DWORD, COSMImageManagerIconCache*, COSMImageManagerIconCache*> m_mapCaches;
    UINT m_nLastCustomID = kFirstLastCustomID;
    UINT m_revision = 0;
    int m_nMirrorMode = kMirrorOnRightToLeft;
};

// The process-wide image manager, made on first use; the reference it holds is released at exit.
COSMImageManager* GetImageManager();

// The clipboard format of one command's icons, "Osmira ToolBar Image".
CLIPFORMAT RegisterToolbarImageClipboardFormat();
// "Alpha Bitmap Image": present beside a CF_BITMAP, it marks that bitmap as a 32-bit image with alpha.
CLIPFORMAT RegisterAlphaBitmapClipboardFormat();

// Registered at start-up, as every unit that includes this header is initialised.
inline const CLIPFORMAT OSM_CF_TOOLBAR_IMAGE = RegisterToolbarImageClipboardFormat();
inline const CLIPFORMAT OSM_CF_ALPHA_BITMAP = RegisterAlphaBitmapClipboardFormat();
