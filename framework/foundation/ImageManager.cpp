#include "framework/foundation/ImageManager.h"

#include "classlib/DC.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/LayoutFunctions.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/ProcessService.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(COSMImageManager, CCmdTarget)

namespace {

DWORD CacheKey(CSize size)
{
    return static_cast<DWORD>(static_cast<WORD>(size.cx)) | (static_cast<DWORD>(static_cast<WORD>(size.cy)) << 16);
}

}  // namespace

COSMImageManager::COSMImageManager()
{
    m_mapIconSets.InitHashTable(127);
    m_mapCaches.InitHashTable(17);
}

COSMImageManager::~COSMImageManager()
{
    RemoveAll();
}

BOOL COSMImageManager::SetIcon(const COSMImageManagerIconHandle& image, UINT nID, int cx, int cy, int nState)
{
    if (image.IsEmpty())
        return FALSE;
    if (cx == 0 && cy == 0)
    {
        const CSize size = image.GetExtent();
        cx = size.cx;
        cy = size.cy;
    }
    if (cx == 0 && cy == 0)
        return FALSE;
    COSMImageManagerIconSet* pIconSet = LookupIconSet(nID);
    if (!pIconSet)
    {
        if (nState != 0)
            return FALSE;
        pIconSet = new COSMImageManagerIconSet(this, nID);
        m_mapIconSets.SetAt(nID, pIconSet);
        NoteIconsChanged();
        pIconSet->SetIcon(image, cx);
        return TRUE;
    }
    switch (nState)
    {
    case 1:
        pIconSet->SetDisabledIcon(image, cx);
        break;
    case 2:
        pIconSet->SetStateImage2(image, cx);
        break;
    case 3:
        pIconSet->SetStateImage3(image, cx);
        break;
    case 4:
        pIconSet->SetStateImage4(image, cx);
        break;
    default:
        pIconSet->SetIcon(image, cx);
        break;
    }
    return TRUE;
}

BOOL COSMImageManager::SetIcon(HICON hIcon, UINT nID, int cx, int cy, int nState)
{
    COSMImageManagerIconHandle image;
    image.SetIcon(hIcon, FALSE);
    return SetIcon(image, nID, cx, cy, nState);
}

COSMImageManagerIconSet* COSMImageManager::LookupIconSet(UINT nID) const
{
    COSMImageManagerIconSet* pIconSet = nullptr;
    return m_mapIconSets.Lookup(nID, pIconSet) ? pIconSet : nullptr;
}

COSMImageManagerIcon* COSMImageManager::GetImage(UINT nID, int nWidth) const
{
    if (COSMImageManagerIconSet* pIconSet = LookupIconSet(nID))
        return pIconSet->GetIcon(nWidth, TRUE);
    for (const auto& pImageList : m_imageLists)
    {
        if (pImageList->HasIcon(nID))
            return pImageList->GetIcon(nID);
    }
    return nullptr;
}

BOOL COSMImageManager::ContainsImage(UINT nID, int nWidth) const
{
    COSMImageManagerIconSet* pIconSet = LookupIconSet(nID);
    if (pIconSet && pIconSet->GetIcon(nWidth, FALSE))
        return TRUE;
    for (const auto& pImageList : m_imageLists)
    {
        if (pImageList->HasIcon(nID) && (nWidth == 0 || nWidth == pImageList->GetIconSize().cx))
            return TRUE;
    }
    return FALSE;
}

UINT COSMImageManager::AddCustomIcon(const COSMImageManagerIconHandle& image)
{
    // An empty image would spend an id on a set that holds nothing.
    if (image.IsEmpty())
        return 0;
    const UINT nID = m_nLastCustomID + 1;
    auto* pIconSet = new COSMImageManagerIconSet(this, nID);
    pIconSet->SetIcon(image, image.GetExtent().cx);
    SetIconSetAt(pIconSet);
    m_nLastCustomID = nID;
    return nID;
}

BOOL COSMImageManager::AddImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroyImageList)
{
    if (!hImageList)
        return FALSE;
    m_imageLists.push_back(
        std::make_unique<COSMImageManagerImageList>(this, hImageList, nBaseCommand, bDestroyImageList));
    NoteIconsChanged();
    return TRUE;
}

void COSMImageManager::SetIconSetAt(COSMImageManagerIconSet* pIconSet)
{
    COSMImageManagerIconSet* pOld = nullptr;
    if (m_mapIconSets.Lookup(pIconSet->GetID(), pOld) && pOld != pIconSet)
        pOld->InternalRelease();
    m_mapIconSets.SetAt(pIconSet->GetID(), pIconSet);
    NoteIconsChanged();
}

void COSMImageManager::RemoveIconSets()
{
    for (POSITION pos = m_mapIconSets.GetStartPosition(); pos;)
    {
        UINT nID = 0;
        COSMImageManagerIconSet* pIconSet = nullptr;
        m_mapIconSets.GetNextAssoc(pos, nID, pIconSet);
        pIconSet->InternalRelease();
    }
    m_mapIconSets.RemoveAll();
    NoteIconsChanged();
}

void COSMImageManager::RemoveAll()
{
    // Icons first: their images give their cache slots back before the caches go.
    RemoveIconSets();
    m_imageLists.clear();
    for (POSITION pos = m_mapCaches.GetStartPosition(); pos;)
    {
        DWORD nKey = 0;
        COSMImageManagerIconCache* pCache = nullptr;
        m_mapCaches.GetNextAssoc(pos, nKey, pCache);
        delete pCache;
    }
    m_mapCaches.RemoveAll();
    NoteIconsChanged();
}

void COSMImageManager::RefreshAll()
{
    NoteIconsChanged();
    for (POSITION pos = m_mapIconSets.GetStartPosition(); pos;)
    {
        UINT nID = 0;
        COSMImageManagerIconSet* pIconSet = nullptr;
        m_mapIconSets.GetNextAssoc(pos, nID, pIconSet);
        pIconSet->RefreshAll();
    }
    for (const auto& pImageList : m_imageLists)
        pImageList->RemoveAll();
}

COLORREF COSMImageManager::SetMaskColor(COLORREF clrMask)
{
    const COLORREF clrOld = m_clrMask;
    m_clrMask = clrMask;
    return clrOld;
}

COSMImageManagerIconCache* COSMImageManager::GetCache(CSize szIcon, BOOL bCreate)
{
    if (szIcon.cx <= 0 || szIcon.cy <= 0 || szIcon.cx > 0xFFFF || szIcon.cy > 0xFFFF)
        return nullptr;
    const DWORD nKey = CacheKey(szIcon);
    COSMImageManagerIconCache* pCache = nullptr;
    if (!m_mapCaches.Lookup(nKey, pCache) && bCreate)
    {
        pCache = new COSMImageManagerIconCache(this, szIcon);
        m_mapCaches.SetAt(nKey, pCache);
    }
    return pCache;
}

BOOL COSMImageManager::IsDrawMirrored(CDC* pDC) const
{
    switch (m_nMirrorMode)
    {
    case kMirrorNever:
        return FALSE;
    case kMirrorAlways:
        return TRUE;
    default:
        return IsContextRTL(pDC);
    }
}

BOOL COSMImageManager::DrawAlphaBlend(CDC* pDestDC, LPCRECT lpDestRect, CDC* pSrcDC, LPCRECT lpSrcRect)
{
    return GetDrawHelpers()->DrawAlphaBlend(pDestDC, lpDestRect, pSrcDC, lpSrcRect);
}

BOOL COSMImageManager::DrawTransparentBlt(CDC* pDestDC, LPCRECT lpDestRect, CDC* pSrcDC, LPCRECT lpSrcRect,
                                          COLORREF crTransparent)
{
    return GetDrawHelpers()->DrawTransparentBlt(pDestDC, lpDestRect, pSrcDC, lpSrcRect, crTransparent);
}

BOOL COSMImageManager::IsIconAlphaSupported() const
{
    return HIWORD(COSMOSVersionInfo::GetComCtlVersion()) > 5;
}

COSMImageManager* GetImageManager()
{
    // Images are drawn on any thread (the caches lock): the first use may come from several at once.
    return OsmProcessService<COSMImageManager>();
}

CLIPFORMAT RegisterToolbarImageClipboardFormat()
{
    static const CLIPFORMAT format = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("Osmira ToolBar Image"));
    return format;
}

CLIPFORMAT RegisterAlphaBitmapClipboardFormat()
{
    static const CLIPFORMAT format = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("Alpha Bitmap Image"));
    return format;
}
