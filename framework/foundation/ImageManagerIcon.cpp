#include "framework/foundation/ImageManagerIcon.h"

#include "classlib/Archive.h"
#include "classlib/DC.h"
#include "classlib/Exception.h"
#include "classlib/Gdi.h"
#include "framework/foundation/ColorFunctions.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ImageFileChecks.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIconSet.h"
#include "framework/foundation/ImageManagerImageList.h"

#include "classlib/ScopedHandle.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

IMPLEMENT_DYNAMIC(COSMImageManagerIcon, CCmdTarget)

namespace {

const COLORREF kNoColor = static_cast<COLORREF>(-1);

BYTE Blue(DWORD pixel)
{
    return static_cast<BYTE>(pixel);
}
BYTE Green(DWORD pixel)
{
    return static_cast<BYTE>(pixel >> 8);
}
BYTE Red(DWORD pixel)
{
    return static_cast<BYTE>(pixel >> 16);
}
BYTE AlphaOf(DWORD pixel)
{
    return static_cast<BYTE>(pixel >> 24);
}
DWORD MakePixel(DWORD r, DWORD g, DWORD b, DWORD a)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// A pixel's straight colour: premultiplied channels divided by alpha again (rounded, at most 255).
DWORD UnPreMultiply(DWORD pixel)
{
    const DWORD a = AlphaOf(pixel);
    if (a == 0 || a == 255)
        return pixel;
    auto channel = [a](DWORD c) { return std::min<DWORD>(255, (c * 255 + a / 2) / a); };
    return MakePixel(channel(Red(pixel)), channel(Green(pixel)), channel(Blue(pixel)), a);
}

// Luminance in thousandths: 0.299 R + 0.587 G + 0.114 B, kept exact.
DWORD Luminance1000(DWORD pixel)
{
    return 299u * Red(pixel) + 587u * Green(pixel) + 114u * Blue(pixel);
}

// 255 * sqrt(L / 255), truncated: the largest g with g * g <= 255 * L, in exact integers.
DWORD GreyOf(DWORD luminance1000)
{
    const unsigned long long nLimit = 255ull * luminance1000;  // 1000 * g * g must stay at or below this
    auto fits = [nLimit](unsigned long long g) { return 1000ull * g * g <= nLimit; };
    unsigned long long g = static_cast<unsigned long long>(std::sqrt(static_cast<double>(nLimit) / 1000.0));
    while (g > 0 && !fits(g))
        --g;
    while (g < 255 && fits(g + 1))
        ++g;
    return static_cast<DWORD>(g);
}

// One disabled pixel (straight colour in, straight colour out, alpha untouched).
DWORD DisabledPixel(DWORD pixel, COLORREF clrFrom, COLORREF clrTo)
{
    const DWORD l = Luminance1000(pixel);
    if (clrFrom == kNoColor || clrTo == kNoColor)
    {
        const DWORD g = GreyOf(l);
        return MakePixel(g, g, g, AlphaOf(pixel));
    }
    // t = L / 255: from the dark colour (t = 0) to the light one (t = 1).
    auto channel = [l](DWORD to, DWORD from) {
        return static_cast<DWORD>(
            (static_cast<unsigned long long>(to) * (255000 - l) + static_cast<unsigned long long>(from) * l) / 255000);
    };
    return MakePixel(channel(GetRValue(clrTo), GetRValue(clrFrom)), channel(GetGValue(clrTo), GetGValue(clrFrom)),
                     channel(GetBValue(clrTo), GetBValue(clrFrom)), AlphaOf(pixel));
}

// A new image made from the source pixel by pixel. An alpha image's premultiplied pixels go to alphaPixel; a
// classic icon's colour pixels where its mask is clear go to iconPixel, and the icon is made again with its mask.
// FALSE (result empty) when the pixels cannot be read or the new image made.
template <class AlphaPixel, class IconPixel>
bool TransformImage(const COSMImageManagerIconHandle& source, COSMImageManagerIconHandle& result, AlphaPixel alphaPixel,
                    IconPixel iconPixel)
{
    result.Clear();
    try
    {
        COSMImageManagerIconHandle own;
        own.CopyOwnImageFrom(source);
        const CSize size = own.GetExtent();
        if (own.IsEmpty() || size.cx <= 0 || size.cy <= 0)
            return false;
        if (own.IsAlpha())
        {
            const LPBYTE pBits = own.PreMultiply();
            if (!pBits)
                return false;
            void* pNewBits = nullptr;
            HBITMAP hNew = CreateAlphaDIBSection(nullptr, size.cx, size.cy, &pNewBits);
            if (!hNew)
                return false;
            const auto* pFrom = reinterpret_cast<const DWORD*>(pBits);
            auto* pTo = static_cast<DWORD*>(pNewBits);
            for (size_t i = 0; i < static_cast<size_t>(size.cx) * size.cy; ++i)
                pTo[i] = alphaPixel(pFrom[i]);
            result.SetPreMultipliedBitmap(hNew);
            return !result.IsEmpty();
        }
        ICONINFO info{};
        if (!own.GetIcon() || !::GetIconInfo(own.GetIcon(), &info))
            return false;
        // The icon's bitmap copies go even when reading their pixels runs out of memory.
        const ScopedGdiObject<HBITMAP> infoColor(info.hbmColor);
        const ScopedGdiObject<HBITMAP> infoMask(info.hbmMask);
        bool bDone = false;
        std::vector<DWORD> colors;
        std::vector<DWORD> mask;
        int colorWidth = 0, colorHeight = 0, maskWidth = 0, maskHeight = 0;
        if (info.hbmColor && info.hbmMask &&
            ReadBitmapPixels32(info.hbmColor, false, colorWidth, colorHeight, colors) &&
            ReadBitmapPixels32(info.hbmMask, false, maskWidth, maskHeight, mask) &&
            colors.size() == static_cast<size_t>(size.cx) * size.cy && mask.size() == colors.size())
        {
            for (size_t i = 0; i < colors.size(); ++i)
            {
                if ((mask[i] & 0x00FFFFFF) == 0)
                    colors[i] = iconPixel(colors[i]);
            }
            void* pNewBits = nullptr;
            if (const ScopedGdiObject<HBITMAP> color(CreateAlphaDIBSection(nullptr, size.cx, size.cy, &pNewBits));
                color)
            {
                std::memcpy(pNewBits, colors.data(), colors.size() * 4);
                ICONINFO made{TRUE, 0, 0, info.hbmMask, color.Get()};
                if (HICON hIcon = ::CreateIconIndirect(&made))
                {
                    result.SetIcon(hIcon);
                    bDone = true;
                }
            }
        }
        return bDone;
    }
    catch (const std::bad_alloc&)
    {
        TRACE("Failed -- Memory exception thrown.\n");
        result.Clear();
        return false;
    }
}

// A stored DIB is held to the image limits, like every image that comes in.
bool IsValidStoredHeader(const BITMAPINFOHEADER& header, size_t nInfoSize)
{
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biPlanes != 1)
        return false;
    const LONGLONG nRows = header.biHeight < 0 ? -static_cast<LONGLONG>(header.biHeight) : header.biHeight;
    if (!IsImageSizeAllowed(header.biWidth, nRows))
        return false;
    int nColors = 0;
    switch (header.biBitCount)
    {
    case 1:
    case 4:
    case 8:
        if (header.biCompression != BI_RGB || header.biClrUsed > (1u << header.biBitCount))
            return false;
        nColors = header.biClrUsed ? static_cast<int>(header.biClrUsed) : (1 << header.biBitCount);
        break;
    case 16:
    case 32:
        if (header.biCompression == BI_BITFIELDS)
            nColors = 3;
        else if (header.biCompression != BI_RGB)
            return false;
        break;
    case 24:
        if (header.biCompression != BI_RGB)
            return false;
        break;
    default:
        return false;
    }
    // The block must hold the table the bit count needs, and no more than the largest one the form allows.
    return nInfoSize >= sizeof(BITMAPINFOHEADER) + static_cast<size_t>(nColors) * 4 &&
           nInfoSize <= sizeof(BITMAPINFOHEADER) + 256 * 4;
}

}  // namespace

COSMImageManagerIcon::COSMImageManagerIcon(UINT nID, int nWidth, int nHeight, COSMImageManagerIconSet* pIconSet)
    : m_nID(nID), m_nWidth(nWidth), m_nHeight(nHeight), m_pIconSet(pIconSet)
{
    InitImages();
}

COSMImageManagerIcon::COSMImageManagerIcon(UINT nID, int nWidth, int nHeight, COSMImageManagerImageList* pImageList)
    : m_nID(nID), m_nWidth(nWidth), m_nHeight(nHeight), m_pImageList(pImageList)
{
    InitImages();
}

COSMImageManagerIcon::~COSMImageManagerIcon() = default;

void COSMImageManagerIcon::InitImages()
{
    COSMImageManager* pManager = GetImageManager();
    for (COSMImageManagerIconHandle* pImage :
         {&m_imageNormal, &m_imageFaded, &m_imageShadow, &m_imageHot, &m_imageChecked, &m_imagePressed,
          &m_imageDisabled, &m_imageDisabledAuto})
        pImage->SetImageManager(pManager);
}

COSMImageManager* COSMImageManagerIcon::GetImageManager() const
{
    if (m_pIconSet)
        return m_pIconSet->GetImageManager();
    if (m_pImageList)
        return m_pImageList->GetImageManager();
    return m_imageNormal.GetImageManager();
}

void COSMImageManagerIcon::ReleaseFromOwner()
{
    m_pIconSet = nullptr;
    m_pImageList = nullptr;
    InternalRelease();
}

void COSMImageManagerIcon::Refresh()
{
    m_imageFaded.Clear();
    m_imageShadow.Clear();
    m_imageDisabledAuto.Clear();
}

void COSMImageManagerIcon::RefreshSet()
{
    if (m_pIconSet)
        m_pIconSet->RefreshAll();
    else
        Refresh();
}

void COSMImageManagerIcon::SetIcon(const COSMImageManagerIconHandle& image)
{
    // The image may be one of this icon's own members: copy it out before they are cleared.
    COSMImageManagerIconHandle source;
    source.CopyOwnImageFrom(image);
    for (COSMImageManagerIconHandle* pImage :
         {&m_imageNormal, &m_imageFaded, &m_imageShadow, &m_imageHot, &m_imageChecked, &m_imagePressed,
          &m_imageDisabled, &m_imageDisabledAuto})
        pImage->Clear();
    m_imageNormal.CopyFrom(source);
    const CSize size = source.GetExtent();
    m_nWidth = size.cx;
    m_nHeight = size.cy;
    RefreshSet();
}

void COSMImageManagerIcon::SetDisabledIcon(const COSMImageManagerIconHandle& image)
{
    Refresh();
    m_imageDisabled.CopyFrom(image);
}

void COSMImageManagerIcon::SetStateImage2(const COSMImageManagerIconHandle& image)
{
    Refresh();
    m_imageHot.CopyFrom(image);
}

void COSMImageManagerIcon::SetStateImage3(const COSMImageManagerIconHandle& image)
{
    Refresh();
    m_imageChecked.CopyFrom(image);
}

void COSMImageManagerIcon::SetStateImage4(const COSMImageManagerIconHandle& image)
{
    Refresh();
    m_imagePressed.CopyFrom(image);
}

COSMImageManagerIconHandle& COSMImageManagerIcon::GetImageForState(int nState)
{
    switch (nState)
    {
    case 1:
        return GetDisabledIcon(TRUE);
    case 2:
        return GetStateImage2();
    case 3:
        return GetStateImage3();
    case 4:
        return GetStateImage4();
    default:
        return m_imageNormal;
    }
}

COSMImageManagerIconHandle& COSMImageManagerIcon::GetStateImage2()
{
    return m_imageHot.IsEmpty() ? m_imageNormal : m_imageHot;
}

COSMImageManagerIconHandle& COSMImageManagerIcon::GetStateImage3()
{
    return m_imageChecked.IsEmpty() ? GetStateImage2() : m_imageChecked;
}

COSMImageManagerIconHandle& COSMImageManagerIcon::GetStateImage4()
{
    return m_imagePressed.IsEmpty() ? GetStateImage2() : m_imagePressed;
}

BOOL COSMImageManagerIcon::HasDisabledIcon() const
{
    return !m_imageDisabled.IsEmpty() || !m_imageDisabledAuto.IsEmpty();
}

COSMImageManagerIconHandle& COSMImageManagerIcon::GetDisabledIcon(BOOL bCreate)
{
    if (!m_imageDisabled.IsEmpty())
        return m_imageDisabled;
    if (m_imageDisabledAuto.IsEmpty() && bCreate)
        CreateDisabledIcon(kNoColor, kNoColor);
    return m_imageDisabledAuto;
}

COSMImageManagerIconHandle& COSMImageManagerIcon::GetFadedIcon()
{
    if (m_imageFaded.IsEmpty())
        CreateFadedIcon();
    return m_imageFaded.IsEmpty() ? m_imageNormal : m_imageFaded;
}

COSMImageManagerIconHandle& COSMImageManagerIcon::GetShadowIcon()
{
    if (m_imageShadow.IsEmpty())
        CreateShadowIcon();
    return m_imageShadow;
}

void COSMImageManagerIcon::CreateFadedIcon()
{
    // Each channel 30 % of the way to white (of the way to the pixel's alpha, for premultiplied pixels).
    const bool bLowColor = IsLowColorDC(nullptr) != FALSE;
    if (bLowColor && !m_imageNormal.IsAlpha())
        return;
    COSMImageManagerIconHandle result;
    auto alphaPixel = [](DWORD pixel) {
        const DWORD a = AlphaOf(pixel);
        if (a == 0)
            return pixel;
        auto fade = [a](DWORD c) { return (3 * a + 7 * c) / 10; };
        return MakePixel(fade(Red(pixel)), fade(Green(pixel)), fade(Blue(pixel)), a);
    };
    auto iconPixel = [](DWORD pixel) {
        auto fade = [](DWORD c) { return (3 * 255 + 7 * c) / 10; };
        return MakePixel(fade(Red(pixel)), fade(Green(pixel)), fade(Blue(pixel)), AlphaOf(pixel));
    };
    if (TransformImage(m_imageNormal, result, alphaPixel, iconPixel))
        m_imageFaded.CopyFrom(result);
}

void COSMImageManagerIcon::CreateShadowIcon()
{
    const COLORREF clrBase = GetColorManager()->GetColor(31);
    // Three quarters of the colour, truncated.
    const DWORD r = GetRValue(clrBase) * 3 / 4;
    const DWORD g = GetGValue(clrBase) * 3 / 4;
    const DWORD b = GetBValue(clrBase) * 3 / 4;
    COSMImageManagerIconHandle result;
    auto alphaPixel = [r, g, b](DWORD pixel) {
        const DWORD a = AlphaOf(pixel);
        return MakePixel(r * a / 255, g * a / 255, b * a / 255, a);
    };
    auto iconPixel = [r, g, b](DWORD pixel) { return MakePixel(r, g, b, AlphaOf(pixel)); };
    if (TransformImage(GetStateImage2(), result, alphaPixel, iconPixel))
        m_imageShadow.CopyFrom(result);
}

void COSMImageManagerIcon::CreateDisabledIcon(COLORREF clrFrom, COLORREF clrTo)
{
    if (!m_imageDisabledAuto.IsEmpty())
        return;
    COSMImageManagerIconHandle result;
    auto alphaPixel = [clrFrom, clrTo](DWORD pixel) {
        const DWORD a = AlphaOf(pixel);
        if (a == 0)
            return pixel;
        // Luminance is a property of the straight colour; the result is premultiplied again.
        const DWORD made = DisabledPixel(UnPreMultiply(pixel), clrFrom, clrTo);
        return MakePixel(Red(made) * a / 255, Green(made) * a / 255, Blue(made) * a / 255, a);
    };
    auto iconPixel = [clrFrom, clrTo](DWORD pixel) { return DisabledPixel(pixel, clrFrom, clrTo); };
    if (TransformImage(m_imageNormal, result, alphaPixel, iconPixel))
        m_imageDisabledAuto.CopyFrom(result);
}

void COSMImageManagerIcon::Draw(CDC* pDC, int x, int y, COSMImageManagerIconHandle& image, int cx, int cy)
{
    if (!pDC || m_nWidth <= 0)
        return;
    if (cx == 0)
        cx = m_nWidth;
    if (cy == 0)
        cy = m_nHeight * cx / m_nWidth;
    if (m_pImageList)
    {
        ImageList_DrawEx(m_pImageList->GetImageList(), static_cast<int>(m_nID - m_pImageList->GetBaseCommand()), *pDC,
                         x, y, cx, cy, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
        return;
    }
    image.Draw(pDC, x, y, cx, cy, m_bAlphaBuffer);
}

void COSMImageManagerIcon::Draw(CDC* pDC, CPoint pt, COSMImageManagerIconHandle& image, CSize sz)
{
    Draw(pDC, pt.x, pt.y, image, sz.cx, sz.cy);
}

void COSMImageManagerIcon::DrawMono(CDC* pDC, int x, int y, COSMImageManagerIconHandle& image, int cx, int cy,
                                    COLORREF clr)
{
    if (!pDC || !pDC->GetSafeHdc() || image.IsAlpha() || image.IsEmpty())
        return;
    if (cx == 0)
        cx = m_nWidth;
    if (cy == 0 && m_nWidth > 0)
        cy = m_nHeight * cx / m_nWidth;
    if (cx <= 0 || cy <= 0)
        return;
    // The image on white; DSS_MONO then paints the brush wherever that picture is not white.
    CDC dcImage;
    CBitmap bmpImage;
    if (!dcImage.CreateCompatibleDC(pDC) || !bmpImage.CreateCompatibleBitmap(pDC, cx, cy))
        return;
    {
        const ScopedSelection select = SelectScoped(dcImage, bmpImage);
        dcImage.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
        image.Draw(&dcImage, 0, 0, cx, cy, FALSE);
    }
    const ScopedGdiObject<HBRUSH> brush(::CreateSolidBrush(clr));
    ::DrawStateA(*pDC, brush.Get(), nullptr, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(bmpImage)), 0, x, y, cx, cy,
                 DST_BITMAP | DSS_MONO);
}

void COSMImageManagerIcon::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<int>(m_nHeight) << static_cast<int>(kStoredSchema);
        for (COSMImageManagerIconHandle* pImage :
             {&m_imageNormal, &m_imageDisabled, &m_imageHot, &m_imageChecked, &m_imagePressed})
            SerializeImage(*pImage, ar, kStoredSchema);
        return;
    }
    int nHeight = 0;
    int nSchema = 0;
    ar >> nHeight >> nSchema;
    // Refused like a width beyond the limits: nothing is made for an icon of that size.
    if (nHeight < 0 || nHeight > kOsmMaxImageSide)
        AfxThrowArchiveException(CArchiveException::genericException);
    m_nHeight = nHeight;
    SerializeImage(m_imageNormal, ar, nSchema);
    SerializeImage(m_imageDisabled, ar, nSchema);
    SerializeImage(m_imageHot, ar, nSchema);
    if (nSchema > 7)
        SerializeImage(m_imageChecked, ar, nSchema);
    if (nSchema >= 17)
        SerializeImage(m_imagePressed, ar, nSchema);
    Refresh();
}

void COSMImageManagerIcon::SerializeImage(COSMImageManagerIconHandle& image, CArchive& ar, long nSchema)
{
    if (ar.IsStoring())
    {
        // Written from an own copy (never a cache slot), an alpha image premultiplied.
        COSMImageManagerIconHandle own;
        own.CopyOwnImageFrom(image);
        if (own.IsAlpha() && own.PreMultiply())
        {
            WriteDIB(ar, own.GetBitmap());
            WriteDIB(ar, nullptr);
            return;
        }
        ICONINFO info{};
        if (own.GetIcon() && ::GetIconInfo(own.GetIcon(), &info))
        {
            // The bitmap copies go even when the archive throws.
            const ScopedGdiObject<HBITMAP> color(info.hbmColor);
            const ScopedGdiObject<HBITMAP> mask(info.hbmMask);
            WriteDIB(ar, color.Get());
            WriteDIB(ar, mask.Get());
            return;
        }
        WriteDIB(ar, nullptr);
        WriteDIB(ar, nullptr);
        return;
    }

    image.Clear();
    // Either bitmap goes when the archive throws.
    ScopedGdiObject<HBITMAP> color(ReadDIB(ar));
    const ScopedGdiObject<HBITMAP> mask(ReadDIB(ar));
    COSMImageManagerIconHandle loaded;
    if (color && mask)
    {
        BITMAP bm{};
        ::GetObjectA(color.Get(), sizeof(bm), &bm);
        if (HIMAGELIST hList = ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 1))
        {
            if (ImageList_Add(hList, color.Get(), mask.Get()) == 0)
            {
                if (HICON hIcon = ImageList_GetIcon(hList, 0, 0))
                    loaded.SetIcon(hIcon);
            }
            ImageList_Destroy(hList);
        }
    }
    else if (color)
    {
        BITMAP bm{};
        if (::GetObjectA(color.Get(), sizeof(bm), &bm) == sizeof(bm) && bm.bmBitsPixel == 32)
        {
            // From schema 25 on, stored alpha images are premultiplied already.
            if (nSchema > 24)
                loaded.SetPreMultipliedBitmap(color.Release());
            else
                loaded.SetAlphaBitmap(color.Release());
        }
    }
    if (!loaded.IsEmpty())
        image.CopyFrom(loaded);
}

HBITMAP COSMImageManagerIcon::ReadDIB(CArchive& ar, LPBYTE* ppBits)
{
    if (ppBits)
        *ppBits = nullptr;
    const DWORD_PTR nInfoSize = ar.ReadCount();
    if (nInfoSize == 0)
        return nullptr;
    // The data may come from another process (the clipboard): nothing is allocated beyond what it still holds.
    ar.EnsureRemaining(nInfoSize);
    std::vector<BYTE> info(nInfoSize);
    if (ar.Read(info.data(), static_cast<UINT>(nInfoSize)) != nInfoSize)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    const DWORD_PTR nPixelSize = ar.ReadCount();
    ar.EnsureRemaining(nPixelSize);
    std::vector<BYTE> pixels(nPixelSize);
    if (nPixelSize > 0 && ar.Read(pixels.data(), static_cast<UINT>(nPixelSize)) != nPixelSize)
        AfxThrowArchiveException(CArchiveException::endOfFile);

    // A damaged record is read past and gives no bitmap.
    if (nInfoSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header{};
    std::memcpy(&header, info.data(), sizeof(header));
    if (!IsValidStoredHeader(header, nInfoSize))
        return nullptr;
    const unsigned long long nStride =
        ((static_cast<unsigned long long>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const unsigned long long nRows = static_cast<unsigned long long>(std::llabs(header.biHeight));
    const unsigned long long nImageSize = nStride * nRows;
    if (nImageSize > nPixelSize)
        return nullptr;
    auto* pInfo = reinterpret_cast<BITMAPINFO*>(info.data());
    pInfo->bmiHeader.biSizeImage = static_cast<DWORD>(nImageSize);
    CDC dc;  // a memory context compatible with the screen, for the DIB calls
    dc.CreateCompatibleDC(nullptr);
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(dc, pInfo, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (!hBitmap)
        return nullptr;
    if (!pBits)
    {
        ::DeleteObject(hBitmap);
        return nullptr;
    }
    std::memcpy(pBits, pixels.data(), static_cast<size_t>(nImageSize));
    if (ppBits)
        *ppBits = static_cast<LPBYTE>(pBits);
    return hBitmap;
}

void COSMImageManagerIcon::WriteDIB(CArchive& ar, HBITMAP hBitmap)
{
    BITMAPINFO* pInfo = nullptr;
    LPBYTE pPixels = nullptr;
    int nInfoSize = 0;
    int nPixelSize = 0;
    if (!hBitmap || !GetBitmapDIBData(hBitmap, pInfo, nInfoSize, pPixels, nPixelSize))
    {
        ar.WriteCount(0);
        return;
    }
    try
    {
        ar.WriteCount(static_cast<DWORD_PTR>(nInfoSize));
        ar.Write(pInfo, static_cast<UINT>(nInfoSize));
        ar.WriteCount(static_cast<DWORD_PTR>(nPixelSize));
        ar.Write(pPixels, static_cast<UINT>(nPixelSize));
    }
    catch (...)
    {
        std::free(pInfo);
        std::free(pPixels);
        throw;
    }
    std::free(pInfo);
    std::free(pPixels);
}
