// The image manager's saving and loading through the property exchange, and its clipboard.
#include "classlib/Archive.h"
#include "classlib/CString.h"
#include "classlib/OleDataObject.h"
#include "classlib/RefPtr.h"
#include "classlib/SharedFile.h"
#include "framework/foundation/ImageManager.h"

#include "framework/foundation/ImageFileChecks.h"
#include "framework/foundation/PropExchange.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace {

const char kCheckSum[] = "COSMImageManagerIcons";

using SectionPtr = RefPtr<COSMPropExchange>;
using IconPtr = RefPtr<COSMImageManagerIcon>;
using IconSetPtr = RefPtr<COSMImageManagerIconSet>;

}  // namespace

void COSMImageManager::StoreIconSet(UINT nID, COSMPropExchange* pPX)
{
    COSMImageManagerIconSet* pIconSet = LookupIconSet(nID);
    std::unique_ptr<COSMPropExchangeEnumerator> icons(pPX->GetEnumerator("Icon"));
    POSITION pos = icons->GetPosition(pIconSet ? static_cast<DWORD>(pIconSet->GetIconCount()) : 0, TRUE);
    POSITION posIcon = pIconSet ? pIconSet->GetStartPosition() : nullptr;
    while (pos && posIcon)
    {
        int nWidth = 0;
        COSMImageManagerIcon* pIcon = nullptr;
        pIconSet->GetNextIcon(posIcon, nWidth, pIcon);
        const SectionPtr section = SectionPtr::Adopt(icons->GetNext(pos));
        long nStoredWidth = nWidth;
        PropExchangeLong(section.Get(), "Width", &nStoredWidth, 16);
        PropExchangeSerialize(section.Get(), "Data", pIcon);
    }
}

RefPtr<COSMImageManagerIconSet> COSMImageManager::LoadIconSet(UINT nID, COSMPropExchange* pPX)
{
    IconSetPtr pIconSet = IconSetPtr::Adopt(new COSMImageManagerIconSet(this, nID));
    std::unique_ptr<COSMPropExchangeEnumerator> icons(pPX->GetEnumerator("Icon"));
    std::vector<IconPtr> loaded;
    POSITION pos = icons->GetPosition(0, TRUE);
    while (pos)
    {
        const SectionPtr section = SectionPtr::Adopt(icons->GetNext(pos));
        long nWidth = 16;
        PropExchangeLong(section.Get(), "Width", &nWidth, 16);
        // A width beyond the image limits is damage or a forgery: the whole set is refused before its icon is made,
        // as the later work on an icon follows its width.
        if (nWidth > kOsmMaxImageSide)
            AfxThrowArchiveException(CArchiveException::genericException);
        IconPtr pIcon = IconPtr::Adopt(new COSMImageManagerIcon(nID, static_cast<int>(nWidth), 15, pIconSet.Get()));
        // The record is read in any case, so the stream stays in step; an icon of no width could never be drawn.
        if (PropExchangeSerialize(section.Get(), "Data", pIcon.Get()) && nWidth > 0)
            loaded.push_back(std::move(pIcon));
    }
    // Entered last to first, so each bucket of the new map walks as the stored one did; of two icons of one width
    // the later one stays.
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it)
    {
        COSMImageManagerIcon* pPresent = nullptr;
        if (!pIconSet->GetIcons().Lookup((*it)->GetWidth(), pPresent))
            pIconSet->SetIconAt(it->Detach());
    }
    return pIconSet;
}

void COSMImageManager::DoPropExchangeIconSet(UINT nID, COSMPropExchange* pPX)
{
    // Custom ids made later must not meet the loaded ones.
    if (m_nLastCustomID < nID)
        m_nLastCustomID = nID;
    CString strCheckSum = kCheckSum;
    PropExchangeString(pPX, "CheckSum", &strCheckSum, kCheckSum);
    if (pPX->IsStoring())
    {
        StoreIconSet(nID, pPX);
        return;
    }
    if (strCheckSum != kCheckSum)
        AfxThrowArchiveException(CArchiveException::badClass);
    IconSetPtr pIconSet = LoadIconSet(nID, pPX);
    SetIconSetAt(pIconSet.Detach());
}

void COSMImageManager::SerializeIconSet(UINT nID, CArchive& ar)
{
    COSMPropExchangeArchive px(ar);
    DoPropExchangeIconSet(nID, &px);
}

void COSMImageManager::DoPropExchange(COSMPropExchange* pPX)
{
    std::unique_ptr<COSMPropExchangeEnumerator> sets(pPX->GetEnumerator("IconSet"));
    if (pPX->IsStoring())
    {
        POSITION pos = sets->GetPosition(static_cast<DWORD>(m_mapIconSets.GetCount()), TRUE);
        POSITION posSet = m_mapIconSets.GetStartPosition();
        while (pos && posSet)
        {
            UINT nID = 0;
            COSMImageManagerIconSet* pIconSet = nullptr;
            m_mapIconSets.GetNextAssoc(posSet, nID, pIconSet);
            const SectionPtr section = SectionPtr::Adopt(sets->GetNext(pos));
            long nStoredID = static_cast<long>(nID);
            PropExchangeLong(section.Get(), "Id", &nStoredID, 0);
            DoPropExchangeIconSet(nID, section.Get());
        }
        return;
    }
    // Everything is read into new sets first: a load that fails leaves the manager as it was.
    std::vector<IconSetPtr> loaded;
    POSITION pos = sets->GetPosition(0, TRUE);
    while (pos)
    {
        const SectionPtr section = SectionPtr::Adopt(sets->GetNext(pos));
        long nID = 0;
        PropExchangeLong(section.Get(), "Id", &nID, 0);
        const UINT nSetID = static_cast<UINT>(nID);
        if (m_nLastCustomID < nSetID)
            m_nLastCustomID = nSetID;
        CString strCheckSum = kCheckSum;
        PropExchangeString(section.Get(), "CheckSum", &strCheckSum, kCheckSum);
        if (strCheckSum != kCheckSum)
            AfxThrowArchiveException(CArchiveException::badClass);
        loaded.push_back(LoadIconSet(nSetID, section.Get()));
    }
    // The old sets and image-list sources go; the caches stay, since the new sets' images already live in them.
    RemoveIconSets();
    m_imageLists.clear();
    // Last to first, as with icons: the new map walks like the stored one, and of two sets of one id the later
    // one stays.
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it)
    {
        if (!LookupIconSet((*it)->GetID()))
            SetIconSetAt(it->Detach());
    }
}

void COSMImageManager::Serialize(CArchive& ar)
{
    COSMPropExchangeArchive px(ar);
    DoPropExchange(&px);
}

BOOL COSMImageManager::CopyImageToClipboard(UINT nID)
{
    CMemFile file(1024);
    try
    {
        CArchive ar(&file, CArchive::store, 4096);
        SerializeIconSet(nID, ar);
        ar.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    catch (const std::bad_alloc&)
    {
        TRACE("Failed -- Memory exception thrown.\n");
        return FALSE;
    }
    const ULONGLONG nLength = file.GetLength();
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(nLength));
    if (!hData)
        return FALSE;
    void* pData = ::GlobalLock(hData);
    if (!pData)
    {
        ::GlobalFree(hData);
        return FALSE;
    }
    file.SeekToBegin();
    const UINT nRead = file.Read(pData, static_cast<UINT>(nLength));
    ::GlobalUnlock(hData);
    // The clipboard owns the block only once SetClipboardData accepts it.
    if (nRead != nLength || !::SetClipboardData(RegisterToolbarImageClipboardFormat(), hData))
    {
        ::GlobalFree(hData);
        return FALSE;
    }
    return TRUE;
}

UINT COSMImageManager::PasteFromClipboard(COleDataObject* pData)
{
    if (!pData)
        return 0;
    HGLOBAL hData = pData->GetGlobalData(RegisterToolbarImageClipboardFormat());
    if (!hData)
        return 0;
    // The copy is ours: once the shared file has taken it, the file frees it when it goes, on every way out; a
    // block it did not take is still ours to free, and only then.
    CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE, 4096);
    if (!file.SetHandle(hData, FALSE))
    {
        ::GlobalFree(hData);
        return 0;
    }
    if (file.GetLength() == 0)
        return 0;
    const UINT nID = m_nLastCustomID + 1;
    try
    {
        CArchive ar(&file, CArchive::load, 4096);
        COSMPropExchangeArchive px(ar);
        CString strCheckSum = kCheckSum;
        PropExchangeString(&px, "CheckSum", &strCheckSum, kCheckSum);
        if (strCheckSum != kCheckSum)
            AfxThrowArchiveException(CArchiveException::badClass);
        IconSetPtr pIconSet = LoadIconSet(nID, &px);
        ar.Close();
        // The id is spent only now that the whole set has been read.
        SetIconSetAt(pIconSet.Detach());
        m_nLastCustomID = nID;
        return nID;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
        TRACE("Failed -- Memory exception thrown.\n");
    }
    return 0;
}
