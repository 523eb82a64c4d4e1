#include "framework/foundation/ImageManagerIconSet.h"
#include "framework/foundation/ImageManager.h"

#include "framework/foundation/ImageManagerIcon.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(COSMImageManagerIconSet, CCmdTarget)

namespace {

// An icon whose image has not set its height yet.
const int kDefaultIconHeight = 15;

}  // namespace

COSMImageManagerIconSet::COSMImageManagerIconSet(COSMImageManager* pManager, UINT nID)
    : m_nID(nID), m_pImageManager(pManager)
{
    m_mapIcons.InitHashTable(17);
}

COSMImageManagerIconSet::~COSMImageManagerIconSet()
{
    RemoveAll();
}

COSMImageManagerIcon* COSMImageManagerIconSet::GetIcon(int nWidth, BOOL bClosest) const
{
    COSMImageManagerIcon* pIcon = nullptr;
    if (nWidth != 0 && nWidth != 1)
    {
        if (m_mapIcons.Lookup(nWidth, pIcon))
            return pIcon;
        if (!bClosest)
            return nullptr;
    }
    // Strict comparisons: on a tie the icon met first in walking order stays.
    COSMImageManagerIcon* pBest = nullptr;
    long long nBest = 0;
    for (POSITION pos = m_mapIcons.GetStartPosition(); pos;)
    {
        int nIconWidth = 0;
        m_mapIcons.GetNextAssoc(pos, nIconWidth, pIcon);
        long long nScore = 0;
        if (nWidth == 0)
            nScore = nIconWidth;
        else if (nWidth == 1)
            nScore = -static_cast<long long>(nIconWidth);
        else
            nScore = std::llabs(static_cast<long long>(nIconWidth) - nWidth);
        if (!pBest || nScore < nBest)
        {
            pBest = pIcon;
            nBest = nScore;
        }
    }
    return pBest;
}

COSMImageManagerIcon* COSMImageManagerIconSet::GetOrCreateIcon(int nWidth)
{
    COSMImageManagerIcon* pIcon = nullptr;
    if (!m_mapIcons.Lookup(nWidth, pIcon))
    {
        pIcon = new COSMImageManagerIcon(m_nID, nWidth, kDefaultIconHeight, this);
        m_mapIcons.SetAt(nWidth, pIcon);
        NoteChanged();
    }
    return pIcon;
}

void COSMImageManagerIconSet::SetIcon(const COSMImageManagerIconHandle& image, int nWidth)
{
    GetOrCreateIcon(nWidth)->SetIcon(image);
}

void COSMImageManagerIconSet::SetDisabledIcon(const COSMImageManagerIconHandle& image, int nWidth)
{
    GetOrCreateIcon(nWidth)->SetDisabledIcon(image);
}

void COSMImageManagerIconSet::SetStateImage2(const COSMImageManagerIconHandle& image, int nWidth)
{
    GetOrCreateIcon(nWidth)->SetStateImage2(image);
}

void COSMImageManagerIconSet::SetStateImage3(const COSMImageManagerIconHandle& image, int nWidth)
{
    GetOrCreateIcon(nWidth)->SetStateImage3(image);
}

void COSMImageManagerIconSet::SetStateImage4(const COSMImageManagerIconHandle& image, int nWidth)
{
    GetOrCreateIcon(nWidth)->SetStateImage4(image);
}

void COSMImageManagerIconSet::SetIconAt(COSMImageManagerIcon* pIcon)
{
    COSMImageManagerIcon* pOld = nullptr;
    if (m_mapIcons.Lookup(pIcon->GetWidth(), pOld) && pOld != pIcon)
        pOld->ReleaseFromOwner();
    m_mapIcons.SetAt(pIcon->GetWidth(), pIcon);
    NoteChanged();
}

void COSMImageManagerIconSet::NoteChanged()
{
    // A set still being read (from a store or the clipboard) is not yet the manager's: a load that fails halfway
    // must leave the manager's revision as it was. Entering the set notes the change then.
    if (m_pImageManager && m_pImageManager->LookupIconSet(m_nID) == this)
        m_pImageManager->NoteIconsChanged();
}

void COSMImageManagerIconSet::RefreshAll()
{
    for (POSITION pos = m_mapIcons.GetStartPosition(); pos;)
    {
        int nWidth = 0;
        COSMImageManagerIcon* pIcon = nullptr;
        m_mapIcons.GetNextAssoc(pos, nWidth, pIcon);
        pIcon->Refresh();
    }
}

void COSMImageManagerIconSet::RemoveAll()
{
    for (POSITION pos = m_mapIcons.GetStartPosition(); pos;)
    {
        int nWidth = 0;
        COSMImageManagerIcon* pIcon = nullptr;
        m_mapIcons.GetNextAssoc(pos, nWidth, pIcon);
        pIcon->ReleaseFromOwner();
    }
    m_mapIcons.RemoveAll();
    m_mapIcons.InitHashTable(17);
}
