#include "framework/foundation/ImageManagerImageList.h"

#include "framework/foundation/ImageManagerIcon.h"

COSMImageManagerImageList::COSMImageManagerImageList(COSMImageManager* pManager, HIMAGELIST hImageList,
                                                     UINT nBaseCommand, BOOL bDestroyImageList)
    : m_hImageList(hImageList), m_bDestroyImageList(bDestroyImageList), m_nBaseCommand(nBaseCommand),
      m_pImageManager(pManager)
{}

COSMImageManagerImageList::~COSMImageManagerImageList()
{
    RemoveAll();
    if (m_bDestroyImageList && m_hImageList)
        ImageList_Destroy(m_hImageList);
}

BOOL COSMImageManagerImageList::HasIcon(UINT nID) const
{
    if (!m_hImageList || nID < m_nBaseCommand)
        return FALSE;
    return nID - m_nBaseCommand < static_cast<UINT>(ImageList_GetImageCount(m_hImageList));
}

COSMImageManagerIcon* COSMImageManagerImageList::GetIcon(UINT nID)
{
    if (!HasIcon(nID))
        return nullptr;
    COSMImageManagerIcon* pIcon = nullptr;
    if (!m_mapIcons.Lookup(nID, pIcon))
    {
        const CSize size = GetIconSize();
        pIcon = new COSMImageManagerIcon(nID, size.cx, size.cy, this);
        m_mapIcons.SetAt(nID, pIcon);
    }
    return pIcon;
}

CSize COSMImageManagerImageList::GetIconSize() const
{
    int cx = 0;
    int cy = 0;
    if (!m_hImageList || !ImageList_GetIconSize(m_hImageList, &cx, &cy))
        return CSize(0, 0);
    return CSize(cx, cy);
}

void COSMImageManagerImageList::RemoveAll()
{
    for (POSITION pos = m_mapIcons.GetStartPosition(); pos;)
    {
        UINT nID = 0;
        COSMImageManagerIcon* pIcon = nullptr;
        m_mapIcons.GetNextAssoc(pos, nID, pIcon);
        pIcon->ReleaseFromOwner();
    }
    m_mapIcons.RemoveAll();
}
