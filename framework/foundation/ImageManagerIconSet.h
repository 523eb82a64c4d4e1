// COSMImageManagerIconSet: the icons of one command, one per width. Its map walks its buckets from 0 upward and
// each bucket from the newest icon to the oldest; ties in the closest-width search, and the order icons are
// stored in, follow that walk.
//
//   COSMImageManagerIconSet* pSet = GetImageManager()->LookupIconSet(ID_FILE_OPEN);
//   for (POSITION pos = pSet->GetStartPosition(); pos;)
//   {
//       int nWidth;
//       COSMImageManagerIcon* pIcon;
//       pSet->GetNextIcon(pos, nWidth, pIcon);
//   }
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Map.h"
#include "framework/foundation/ImageManagerIconHandle.h"

class COSMImageManager;
class COSMImageManagerIcon;

class COSMImageManagerIconSet : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMImageManagerIconSet)

public:
    using IconMap = CMap<int, int, COSMImageManagerIcon*, COSMImageManagerIcon*>;

    COSMImageManagerIconSet(COSMImageManager* pManager, UINT nID);
    ~COSMImageManagerIconSet() override;

    UINT GetID() const { return m_nID; }
    COSMImageManager* GetImageManager() const { return m_pImageManager; }

    // Width 0: the narrowest icon; 1: the widest. Others: exactly that width; when there is none and bClosest,
    // the one nearest in width (the first met in walking order on a tie).
    COSMImageManagerIcon* GetIcon(int nWidth, BOOL bClosest = TRUE) const;
    // The icon of the width (made with height 15 until an image sets it) gets the image as its normal, disabled
    // or state image.
    void SetIcon(const COSMImageManagerIconHandle& image, int nWidth);
    void SetDisabledIcon(const COSMImageManagerIconHandle& image, int nWidth);
    void SetStateImage2(const COSMImageManagerIconHandle& image, int nWidth);
    void SetStateImage3(const COSMImageManagerIconHandle& image, int nWidth);
    void SetStateImage4(const COSMImageManagerIconHandle& image, int nWidth);

    // The number of icons, and a walk over them (width and icon) in map order.
    int GetIconCount() const { return static_cast<int>(m_mapIcons.GetCount()); }
    POSITION GetStartPosition() const { return m_mapIcons.GetStartPosition(); }
    void GetNextIcon(POSITION& pos, int& nWidth, COSMImageManagerIcon*& pIcon) const
    {
        m_mapIcons.GetNextAssoc(pos, nWidth, pIcon);
    }
    const IconMap& GetIcons() const { return m_mapIcons; }

    // Every icon drops its generated images.
    void RefreshAll();
    // Releases every icon.
    void RemoveAll();

    // ---- For the image manager's own use ---------------------------------------------------------------------------
    // Enters the icon under its width; an icon already there is released.
    void SetIconAt(COSMImageManagerIcon* pIcon);
    // The icon of the width, made when missing.
    COSMImageManagerIcon* GetOrCreateIcon(int nWidth);

protected:
    // Tells the manager its icons changed, when this set is the one it holds for the id.
    void NoteChanged();

    IconMap m_mapIcons;
    UINT m_nID;
    COSMImageManager* m_pImageManager;
};
