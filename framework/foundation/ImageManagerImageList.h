// COSMImageManagerImageList: an image list the image manager draws commands from without copying its images.
// The image at index i belongs to command first + i; its icon is made when it is first asked for and draws
// straight from the list.
//
//   GetImageManager()->AddImageList(hImages, ID_FIRST_TOOL, FALSE);
//   COSMImageManagerIcon* pIcon = GetImageManager()->GetImage(ID_FIRST_TOOL + 2, 16);
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Map.h"

class COSMImageManager;
class COSMImageManagerIcon;

class COSMImageManagerImageList
{
public:
    // bDestroyImageList: the source owns the list and destroys it when it goes.
    COSMImageManagerImageList(COSMImageManager* pManager, HIMAGELIST hImageList, UINT nBaseCommand,
                              BOOL bDestroyImageList);
    ~COSMImageManagerImageList();

    COSMImageManagerImageList(const COSMImageManagerImageList&) = delete;
    COSMImageManagerImageList& operator=(const COSMImageManagerImageList&) = delete;

    // The list holds an image for the command.
    BOOL HasIcon(UINT nID) const;
    // The command's icon, made on first use; NULL when the list holds no image for it.
    COSMImageManagerIcon* GetIcon(UINT nID);
    // The size of the list's images.
    CSize GetIconSize() const;
    // Releases the icons made so far (the list stays).
    void RemoveAll();

    HIMAGELIST GetImageList() const { return m_hImageList; }
    UINT GetBaseCommand() const { return m_nBaseCommand; }
    COSMImageManager* GetImageManager() const { return m_pImageManager; }

protected:
    HIMAGELIST m_hImageList;
    BOOL m_bDestroyImageList;
    UINT m_nBaseCommand;
    CMap<UINT, UINT, COSMImageManagerIcon*, COSMImageManagerIcon*> m_mapIcons;
    COSMImageManager* m_pImageManager;
};
