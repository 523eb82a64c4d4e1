#include "framework/foundation/ImageLoaders.h"

#include "classlib/File.h"
#include "framework/foundation/AnsiToWideString.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/PngBitmap.h"

#include "classlib/ScopedHandle.h"

#include <olectl.h>

#include <cstring>
#include <new>

namespace {

// Images the framework keeps are icons and toolbar strips: a side above this is damage, not an image.
const LONG kMaxBitmapDimension = 16384;
// An icon file's image is read into memory whole; none of ours comes near this.
const ULONGLONG kMaxIconImageBytes = 64ull * 1024 * 1024;
const size_t kInfoHeaderSize = sizeof(BITMAPINFOHEADER);  // 40
const size_t kFileHeaderSize = 14;                        // BITMAPFILEHEADER
const size_t kIconDirSize = 6;
const size_t kIconDirEntrySize = 16;
const size_t kGroupIconEntrySize = 14;

WORD ReadWord(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD ReadDword(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

// One colour channel of a BI_BITFIELDS pixel: 8 contiguous bits at a shift.
struct Channel
{
    DWORD mask = 0;
    int shift = 0;

    bool Set(DWORD m)
    {
        mask = m;
        shift = 0;
        if (m == 0)
            return true;
        while (((m >> shift) & 1) == 0)
            ++shift;
        return (m >> shift) == 0xFF;
    }
    DWORD From(DWORD pixel) const { return mask ? (pixel & mask) >> shift : 0; }
};

// Where the pixels of a 32-bit packed DIB lie and how to read them, checked against the data's length.
struct Dib32Layout
{
    LONG width = 0;
    LONG rows = 0;
    ULONGLONG pixelOffset = 0;
    Channel red, green, blue, alpha;
    bool hasAlpha = true;
};

bool ParseDib32(const BYTE* pData, size_t nSize, bool bIconImage, Dib32Layout& layout)
{
    if (!pData || nSize < kInfoHeaderSize)
        return false;
    BITMAPINFOHEADER header{};
    std::memcpy(&header, pData, kInfoHeaderSize);
    // The info header versions: 40 (BITMAPINFOHEADER), 52 and 56 (with masks), 108 (V4), 124 (V5). Others (the
    // 64-byte OS/2 form) lay their fields out differently.
    const DWORD nHeaderSize = header.biSize;
    if (nHeaderSize != 40 && nHeaderSize != 52 && nHeaderSize != 56 && nHeaderSize != 108 && nHeaderSize != 124)
        return false;
    if (nHeaderSize > nSize || header.biPlanes != 1 || header.biBitCount != 32)
        return false;
    // Signed fields: a negative height (top-down rows) is not a bitmap or icon resource's form.
    if (header.biWidth <= 0 || header.biWidth > kMaxBitmapDimension || header.biHeight <= 0)
        return false;
    const LONG nRows = bIconImage ? header.biHeight / 2 : header.biHeight;
    if (nRows <= 0 || nRows > kMaxBitmapDimension)
        return false;
    ULONGLONG nOffset = nHeaderSize;
    if (header.biCompression == BI_RGB)
    {
        layout.red.Set(0x00FF0000);
        layout.green.Set(0x0000FF00);
        layout.blue.Set(0x000000FF);
        layout.alpha.Set(0xFF000000);
    }
    else if (header.biCompression == BI_BITFIELDS)
    {
        DWORD masks[4] = {};
        if (nHeaderSize == 40)
        {
            // The three masks follow the header.
            if (nOffset + 12 > nSize)
                return false;
            masks[0] = ReadDword(pData + 40);
            masks[1] = ReadDword(pData + 44);
            masks[2] = ReadDword(pData + 48);
            masks[3] = ~(masks[0] | masks[1] | masks[2]);  // the byte the colours leave, when they leave one
            nOffset += 12;
        }
        else
        {
            masks[0] = ReadDword(pData + 40);
            masks[1] = ReadDword(pData + 44);
            masks[2] = ReadDword(pData + 48);
            masks[3] = nHeaderSize >= 56 ? ReadDword(pData + 52) : 0;
        }
        if (!layout.red.Set(masks[0]) || !layout.green.Set(masks[1]) || !layout.blue.Set(masks[2]) ||
            !layout.red.mask || !layout.green.mask || !layout.blue.mask)
            return false;
        if ((masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2]))
            return false;
        if (!layout.alpha.Set(masks[3]) || (masks[3] & (masks[0] | masks[1] | masks[2])))
            layout.alpha.Set(0);
        layout.hasAlpha = layout.alpha.mask != 0;
    }
    else
    {
        return false;
    }
    if (header.biClrUsed > 256)
        return false;
    nOffset += static_cast<ULONGLONG>(header.biClrUsed) * 4;
    const ULONGLONG nPixelBytes = static_cast<ULONGLONG>(header.biWidth) * 4 * static_cast<ULONGLONG>(nRows);
    if (nOffset + nPixelBytes > nSize)
        return false;
    layout.width = header.biWidth;
    layout.rows = nRows;
    layout.pixelOffset = nOffset;
    return true;
}

bool ReadFileBytes(CFile& file, ULONGLONG nOffset, void* pBuffer, UINT nCount)
{
    if (file.Seek(static_cast<LONGLONG>(nOffset), CFile::begin) != nOffset)
        return false;
    return file.Read(pBuffer, nCount) == nCount;
}

// A picture the system's loader (OleLoadPicturePath) reads, drawn on the dialog face colour into a 32-bit DIB.
HBITMAP LoadPictureFile(LPCSTR lpszPath)
{
    // The picture loader takes a path as a moniker's name, which must be absolute; the other loaders also take
    // paths relative to the working folder.
    char szFullPath[MAX_PATH] = {};
    const DWORD nFull = ::GetFullPathNameA(lpszPath, MAX_PATH, szFullPath, nullptr);
    COSMAnsiToWideString path(nFull > 0 && nFull < MAX_PATH ? szFullPath : lpszPath);
    IPicture* pPicture = nullptr;
    if (FAILED(::OleLoadPicturePath(const_cast<LPOLESTR>(path.GetWideString()), nullptr, 0, 0, IID_IPicture,
                                    reinterpret_cast<void**>(&pPicture))) ||
        !pPicture)
        return nullptr;
    HBITMAP hBitmap = nullptr;
    OLE_XSIZE_HIMETRIC cxHimetric = 0;
    OLE_YSIZE_HIMETRIC cyHimetric = 0;
    const ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
    const HDC hDC = dc.Get();
    if (hDC && SUCCEEDED(pPicture->get_Width(&cxHimetric)) && SUCCEEDED(pPicture->get_Height(&cyHimetric)))
    {
        const int cx = ::MulDiv(cxHimetric, ::GetDeviceCaps(hDC, LOGPIXELSX), 2540);
        const int cy = ::MulDiv(cyHimetric, ::GetDeviceCaps(hDC, LOGPIXELSY), 2540);
        hBitmap = CreateAlphaDIBSection(hDC, cx, cy, nullptr);
        if (hBitmap)
        {
            const ScopedSelection select = SelectScoped(hDC, hBitmap);
            const RECT rc{0, 0, cx, cy};
            ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_3DFACE));
            pPicture->Render(hDC, 0, 0, cx, cy, 0, cyHimetric - 1, cxHimetric, -cyHimetric, nullptr);
        }
    }
    pPicture->Release();
    return hBitmap;
}

bool ReadResource(HMODULE hModule, LPCSTR lpszName, LPCSTR lpszType, const BYTE*& pData, DWORD& nSize)
{
    HRSRC hResource = ::FindResourceA(hModule, lpszName, lpszType);
    HGLOBAL hData = hResource ? ::LoadResource(hModule, hResource) : nullptr;
    pData = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    nSize = pData ? ::SizeofResource(hModule, hResource) : 0;
    return pData && nSize > 0;
}

}  // namespace

BOOL IsPngFile(LPCSTR lpszPath)
{
    static const BYTE kSignature[4] = {0x89, 'P', 'N', 'G'};
    CFile file;
    BYTE bytes[4] = {};
    return lpszPath && file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary) &&
           file.Read(bytes, sizeof(bytes)) == sizeof(bytes) && std::memcmp(bytes, kSignature, sizeof(bytes)) == 0;
}

BOOL IsAlphaBitmapFile(LPCSTR lpszPath)
{
    CFile file;
    BYTE headers[kFileHeaderSize + kInfoHeaderSize] = {};
    if (!lpszPath || !file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary) ||
        file.Read(headers, sizeof(headers)) != sizeof(headers))
        return FALSE;
    return ReadWord(headers + kFileHeaderSize + 14) == 32;
}

HBITMAP LoadImageFile(LPCSTR lpszPath, BOOL* pbAlpha)
{
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = nullptr;
    if (IsPngFile(lpszPath))
    {
        COSMPngBitmap png;
        if (png.LoadFromFile(lpszPath))
        {
            bAlpha = png.IsAlpha();
            hBitmap = static_cast<HBITMAP>(png.Detach());
        }
    }
    else
    {
        bAlpha = IsAlphaBitmapFile(lpszPath);
        hBitmap =
            static_cast<HBITMAP>(::LoadImageA(nullptr, lpszPath, IMAGE_BITMAP, 0, 0,
                                              LR_LOADFROMFILE | LR_DEFAULTSIZE | (bAlpha ? LR_CREATEDIBSECTION : 0)));
        if (!hBitmap)
        {
            // Drawn on the face colour: whatever transparency the picture had is gone.
            bAlpha = FALSE;
            hBitmap = lpszPath ? LoadPictureFile(lpszPath) : nullptr;
        }
    }
    if (pbAlpha)
        *pbAlpha = hBitmap ? bAlpha : FALSE;
    return hBitmap;
}

BOOL IsPackedDib32(const BYTE* pData, size_t nSize)
{
    return pData && nSize >= kInfoHeaderSize && ReadDword(pData) >= kInfoHeaderSize && ReadWord(pData + 14) == 32;
}

HBITMAP CreateAlphaBitmapFromPackedDib(const BYTE* pData, size_t nSize, BOOL bIconImage)
{
    Dib32Layout layout;
    if (!ParseDib32(pData, nSize, bIconImage != FALSE, layout))
        return nullptr;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateAlphaDIBSection(nullptr, layout.width, layout.rows, &pBits);
    if (!hBitmap)
        return nullptr;
    // Both bottom-up: row r of the data is row r of the section.
    const BYTE* pFrom = pData + layout.pixelOffset;
    auto* pTo = static_cast<DWORD*>(pBits);
    const size_t nPixels = static_cast<size_t>(layout.width) * static_cast<size_t>(layout.rows);
    for (size_t i = 0; i < nPixels; ++i)
    {
        const DWORD pixel = ReadDword(pFrom + i * 4);
        const DWORD a = layout.hasAlpha ? layout.alpha.From(pixel) : 255;
        pTo[i] = (a << 24) | (layout.red.From(pixel) << 16) | (layout.green.From(pixel) << 8) | layout.blue.From(pixel);
    }
    return hBitmap;
}

BOOL ReadIconGroupResource(HMODULE hModule, LPCSTR lpszResourceName, std::vector<OSM_ICON_GROUP_ENTRY>& entries)
{
    entries.clear();
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    if (!ReadResource(hModule, lpszResourceName, reinterpret_cast<LPCSTR>(RT_GROUP_ICON), pData, nSize))
        return FALSE;
    if (nSize < kIconDirSize || ReadWord(pData) != 0 || ReadWord(pData + 2) != 1)
        return FALSE;
    const size_t nCount = ReadWord(pData + 4);
    if (kIconDirSize + nCount * kGroupIconEntrySize > nSize)
        return FALSE;
    for (size_t i = 0; i < nCount; ++i)
    {
        const BYTE* pEntry = pData + kIconDirSize + i * kGroupIconEntrySize;
        OSM_ICON_GROUP_ENTRY entry{};
        entry.nWidth = pEntry[0] ? pEntry[0] : 256;
        entry.nHeight = pEntry[1] ? pEntry[1] : 256;
        entry.nBitCount = ReadWord(pEntry + 6);
        entry.nID = ReadWord(pEntry + 12);
        entries.push_back(entry);
    }
    return TRUE;
}

BOOL IsAlphaBitmapResource(HMODULE hModule, LPCSTR lpszResourceName)
{
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    return ReadResource(hModule, lpszResourceName, reinterpret_cast<LPCSTR>(RT_BITMAP), pData, nSize) &&
           IsPackedDib32(pData, nSize);
}

HBITMAP LoadAlphaBitmapResource(HMODULE hModule, LPCSTR lpszResourceName)
{
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    if (!ReadResource(hModule, lpszResourceName, reinterpret_cast<LPCSTR>(RT_BITMAP), pData, nSize))
        return nullptr;
    return CreateAlphaBitmapFromPackedDib(pData, nSize, FALSE);
}

HBITMAP LoadAlphaBitmapResource(UINT nIDResource)
{
    return LoadAlphaBitmapResource(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HBITMAP LoadImageResource(HMODULE hModule, LPCSTR lpszResourceName, BOOL* pbAlpha)
{
    static const BYTE kSignature[4] = {0x89, 'P', 'N', 'G'};
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    if (ReadResource(hModule, lpszResourceName, "PNG", pData, nSize) && nSize >= 4 &&
        std::memcmp(pData, kSignature, 4) == 0)
    {
        COSMPngBitmap png;
        if (!png.LoadFromResource(hModule, lpszResourceName))
            return nullptr;
        if (pbAlpha)
            *pbAlpha = png.IsAlpha();
        return static_cast<HBITMAP>(png.Detach());
    }
    const BOOL bAlpha = IsAlphaBitmapResource(hModule, lpszResourceName);
    if (pbAlpha)
        *pbAlpha = bAlpha;
    if (bAlpha)
        return LoadAlphaBitmapResource(hModule, lpszResourceName);
    return static_cast<HBITMAP>(::LoadImageA(hModule, lpszResourceName, IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE));
}

HBITMAP LoadImageResource(LPCSTR lpszResourceName, BOOL* pbAlpha)
{
    return LoadImageResource(AfxGetResourceHandle(), lpszResourceName, pbAlpha);
}

HBITMAP LoadAlphaBitmapFromFile(LPCSTR lpszPath, int nWidth)
{
    CFile file;
    if (!lpszPath || !file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
        return nullptr;
    const ULONGLONG nLength = file.GetLength();
    BYTE directory[kIconDirSize] = {};
    if (!ReadFileBytes(file, 0, directory, sizeof(directory)) || ReadWord(directory + 2) != 1)
        return nullptr;
    const size_t nCount = ReadWord(directory + 4);
    if (nCount == 0 || kIconDirSize + nCount * kIconDirEntrySize > nLength)
        return nullptr;
    try
    {
        std::vector<BYTE> entries(nCount * kIconDirEntrySize);
        if (!ReadFileBytes(file, kIconDirSize, entries.data(), static_cast<UINT>(entries.size())))
            return nullptr;
        for (size_t i = 0; i < nCount; ++i)
        {
            const BYTE* pEntry = entries.data() + i * kIconDirEntrySize;
            const int nEntryWidth = pEntry[0] ? pEntry[0] : 256;
            const ULONGLONG nImageSize = ReadDword(pEntry + 8);
            const ULONGLONG nImageOffset = ReadDword(pEntry + 12);
            if (ReadWord(pEntry + 6) != 32 || (nWidth != 0 && nEntryWidth != nWidth))
                continue;
            // The entry's own size bounds what is read, and it must lie inside the file.
            if (nImageSize < kInfoHeaderSize || nImageSize > kMaxIconImageBytes || nImageOffset + nImageSize > nLength)
                continue;
            std::vector<BYTE> image(static_cast<size_t>(nImageSize));
            if (!ReadFileBytes(file, nImageOffset, image.data(), static_cast<UINT>(image.size())))
                continue;
            if (HBITMAP hBitmap = CreateAlphaBitmapFromPackedDib(image.data(), image.size(), TRUE))
                return hBitmap;
        }
    }
    catch (const std::bad_alloc&)
    {
        TRACE("Failed -- Memory exception thrown.\n");
    }
    return nullptr;
}
