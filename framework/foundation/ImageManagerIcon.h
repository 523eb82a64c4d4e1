// COSMImageManagerIcon: the image manager's icon for one command at one width. It holds a normal image and,
// optionally, images for the other states (disabled; 2 hot, 3 checked, 4 pressed), and builds the faded, shadow
// and grey disabled images from them on demand. Bars and controls draw it in a state:
//
//   COSMImageManagerIcon* pIcon = GetImageManager()->GetImage(ID_FILE_SAVE, 16);
//   if (pIcon)
//       pIcon->Draw(&dc, CPoint(4, 4), pIcon->GetImageForState(bEnabled ? 0 : 1));
//
// The icon is reference counted (InternalAddRef, InternalRelease): its icon set (or image-list source) holds one
// reference, and a bar that keeps the icon beyond the set's life takes its own.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "framework/foundation/ImageManagerIconHandle.h"

class COSMImageManager;
class COSMImageManagerIconSet;
class COSMImageManagerImageList;

class COSMImageManagerIcon : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMImageManagerIcon)

public:
    // The schema an icon record is written with.
    static const int kStoredSchema = 34;

    COSMImageManagerIcon(UINT nID, int nWidth, int nHeight, COSMImageManagerIconSet* pIconSet);
    COSMImageManagerIcon(UINT nID, int nWidth, int nHeight, COSMImageManagerImageList* pImageList);
    ~COSMImageManagerIcon() override;

    // ---- What it is ------------------------------------------------------------------------------------------------
    UINT GetID() const { return m_nID; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    CSize GetExtent() const { return CSize(m_nWidth, m_nHeight); }
    COSMImageManagerIconSet* GetIconSet() const { return m_pIconSet; }
    COSMImageManagerImageList* GetImageList() const { return m_pImageList; }
    COSMImageManager* GetImageManager() const;
    // The normal image is an alpha bitmap.
    BOOL HasAlphaImage() const { return m_imageNormal.IsAlpha(); }
    // While set, classic images are drawn through a 32-bit buffer and alpha-blended, so a target that keeps alpha
    // (a glass frame) gets opaque pixels.
    BOOL IsAlphaBuffer() const { return m_bAlphaBuffer; }
    void SetAlphaBuffer(BOOL bAlphaBuffer) { m_bAlphaBuffer = bAlphaBuffer; }

    // ---- Images ----------------------------------------------------------------------------------------------------
    COSMImageManagerIconHandle& GetIcon() { return m_imageNormal; }
    // Clears every member, copies the image in as the normal one and takes its size; every icon of the command
    // loses its generated images.
    void SetIcon(const COSMImageManagerIconHandle& image);
    // Each clears the icon's generated images first.
    void SetDisabledIcon(const COSMImageManagerIconHandle& image);
    void SetStateImage2(const COSMImageManagerIconHandle& image);
    void SetStateImage3(const COSMImageManagerIconHandle& image);
    void SetStateImage4(const COSMImageManagerIconHandle& image);

    // 1 disabled (made when missing), 2 to 4 their images with fallbacks, anything else the normal image.
    COSMImageManagerIconHandle& GetImageForState(int nState);
    // Its own, else the normal image.
    COSMImageManagerIconHandle& GetStateImage2();
    // Its own, else state 2's answer.
    COSMImageManagerIconHandle& GetStateImage3();
    COSMImageManagerIconHandle& GetStateImage4();
    // A disabled image given, or one generated already.
    BOOL HasDisabledIcon() const;
    // The disabled image given; else the generated one, made now (grey) when bCreate and it is still missing.
    COSMImageManagerIconHandle& GetDisabledIcon(BOOL bCreate = TRUE);
    // Made on first use; the normal image when it cannot be made.
    COSMImageManagerIconHandle& GetFadedIcon();
    COSMImageManagerIconHandle& GetShadowIcon();
    // Generates the disabled image from the normal one unless one is generated already. Both colours -1: grey,
    // brightened (g = 255 * sqrt(L / 255)); otherwise each channel runs from clrTo (dark) to clrFrom (light) with
    // the pixel's luminance.
    void CreateDisabledIcon(COLORREF clrFrom = static_cast<COLORREF>(-1), COLORREF clrTo = static_cast<COLORREF>(-1));
    // Drops the faded, shadow and generated disabled images (they are made again when next asked for).
    void Refresh();

    // ---- Drawing ---------------------------------------------------------------------------------------------------
    // cx 0: the icon's width; cy 0: the height scaled to cx.
    void Draw(CDC* pDC, int x, int y, COSMImageManagerIconHandle& image, int cx = 0, int cy = 0);
    void Draw(CDC* pDC, CPoint pt, COSMImageManagerIconHandle& image, CSize sz = CSize(0, 0));
    void DrawNormal(CDC* pDC, int x, int y, int cx = 0, int cy = 0) { Draw(pDC, x, y, m_imageNormal, cx, cy); }
    void DrawNormal(CDC* pDC, CPoint pt, CSize sz = CSize(0, 0)) { Draw(pDC, pt, m_imageNormal, sz); }
    void DrawAtPoint(CDC* pDC, CPoint pt) { Draw(pDC, pt, m_imageNormal); }
    // The image's shape in one colour; nothing for an alpha image.
    void DrawMono(CDC* pDC, int x, int y, COSMImageManagerIconHandle& image, int cx, int cy, COLORREF clr);
    void DrawMono(CDC* pDC, CPoint pt, COSMImageManagerIconHandle& image, CSize sz, COLORREF clr)
    {
        DrawMono(pDC, pt.x, pt.y, image, sz.cx, sz.cy, clr);
    }

    // ---- Stored form -----------------------------------------------------------------------------------------------
    // The icon record: height, schema (34 when storing), then the image records normal, disabled, state 2, state 3
    // (schema above 7) and state 4 (schema 17 and up).
    void Serialize(CArchive& ar) override;
    // One image record: the colour DIB record, then the mask DIB record.
    void SerializeImage(COSMImageManagerIconHandle& image, CArchive& ar, long nSchema);
    // One DIB record: a bitmap, or NULL for an empty or unusable record (its bytes are consumed either way).
    // *ppBits (when given) receives the bitmap's pixels.
    static HBITMAP ReadDIB(CArchive& ar, LPBYTE* ppBits = nullptr);
    // The bitmap's DIB record, or an empty record (one count of 0) when it cannot be read.
    static void WriteDIB(CArchive& ar, HBITMAP hBitmap);

    // ---- For the owner's use ---------------------------------------------------------------------------------------
    // The owner lets go of the icon: it forgets its owner and drops the owner's reference.
    void ReleaseFromOwner();

protected:
    void InitImages();
    void RefreshSet();
    void CreateFadedIcon();
    void CreateShadowIcon();

    BOOL m_bAlphaBuffer = FALSE;
    UINT m_nID;
    int m_nWidth;
    int m_nHeight;
    COSMImageManagerIconHandle m_imageNormal;
    COSMImageManagerIconHandle m_imageFaded;
    COSMImageManagerIconHandle m_imageShadow;
    COSMImageManagerIconHandle m_imageHot;      // state 2
    COSMImageManagerIconHandle m_imageChecked;  // state 3
    COSMImageManagerIconHandle m_imagePressed;  // state 4
    COSMImageManagerIconHandle m_imageDisabled;
    COSMImageManagerIconHandle m_imageDisabledAuto;  // generated
    COSMImageManagerIconSet* m_pIconSet = nullptr;
    COSMImageManagerImageList* m_pImageList = nullptr;
};
