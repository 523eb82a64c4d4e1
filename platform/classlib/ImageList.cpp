#include "classlib/ImageList.h"

#include "classlib/DC.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

HIMAGELIST CImageList::GetSafeHandle() const
{
    const CImageList* self = this;  // callers use this on null pointers; the library is built to allow it
    return self ? m_hImageList : nullptr;
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    ASSERT(m_hImageList == nullptr);
    m_hImageList = hImageList;
    return hImageList != nullptr;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST hImageList = m_hImageList;
    m_hImageList = nullptr;
    return hImageList;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(nBitmapID), RT_BITMAP);
    return Attach(
        ImageList_LoadImageA(hInst, MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle);
}
