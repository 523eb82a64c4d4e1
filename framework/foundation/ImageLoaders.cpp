#include "framework/foundation/ImageLoaders.h"

#include "classlib/File.h"
#include "framework/foundation/ImageFileChecks.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/PngBitmap.h"

#include "classlib/ScopedHandle.h"

#include <olectl.h>

#include <cstring>
#include <new>

namespace {

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
    if (header.biWidth <= 0 || header.biHeight <= 0)
        return false;
    const LONG nRows = bIconImage ? header.biHeight / 2 : header.biHeight;
    if (!IsImageSizeAllowed(header.biWidth, nRows))
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

// A GIF or JPEG whose header the checks passed, through the system's picture loader from the very bytes that were
// checked, drawn on the dialog face colour into a 32-bit DIB section.
HBITMAP LoadPictureBytes(const std::vector<BYTE>& data)
{
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, data.size());
    if (!hData)
        return nullptr;
    if (void* pCopy = ::GlobalLock(hData))
    {
        std::memcpy(pCopy, data.data(), data.size());
        ::GlobalUnlock(hData);
    }
    else
    {
        ::GlobalFree(hData);
        return nullptr;
    }
    IStream* pStream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(hData, TRUE, &pStream)) || !pStream)
    {
        ::GlobalFree(hData);
        return nullptr;
    }
    IPicture* pPicture = nullptr;
    const HRESULT hr = ::OleLoadPicture(pStream, static_cast<LONG>(data.size()), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&pPicture));
    pStream->Release();
    if (FAILED(hr) || !pPicture)
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
        hBitmap = IsImageSizeAllowed(cx, cy) ? CreateAlphaDIBSection(hDC, cx, cy, nullptr) : nullptr;
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

// A 32-bit bitmap file's pixels as a bottom-up DIB section with straight alpha, as the resources' are: BI_RGB, or
// BI_BITFIELDS with 8-bit masks, whose alpha is the given mask or else the byte the colours leave.
HBITMAP AlphaBitmapFromFilePixels(const OSM_BITMAP_FILE_LAYOUT& layout, const BYTE* pPixels)
{
    Channel red, green, blue, alpha;
    if (layout.header.biCompression == BI_BITFIELDS)
    {
        const DWORD colours = layout.masks[0] | layout.masks[1] | layout.masks[2];
        if (!red.Set(layout.masks[0]) || !green.Set(layout.masks[1]) || !blue.Set(layout.masks[2]) ||
            (layout.masks[0] & layout.masks[1]) || (layout.masks[0] & layout.masks[2]) ||
            (layout.masks[1] & layout.masks[2]))
            return nullptr;
        const DWORD alphaMask = layout.masks[3] ? layout.masks[3] : ~colours;
        if (!alpha.Set(alphaMask) || (alphaMask & colours))
            alpha.Set(0);
    }
    else
    {
        red.Set(0x00FF0000);
        green.Set(0x0000FF00);
        blue.Set(0x000000FF);
        alpha.Set(0xFF000000);
    }
    const LONG width = layout.header.biWidth;
    const bool bTopDown = layout.header.biHeight < 0;
    const LONG rows = bTopDown ? -layout.header.biHeight : layout.header.biHeight;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateAlphaDIBSection(nullptr, width, rows, &pBits);
    if (!hBitmap)
        return nullptr;
    auto* pTo = static_cast<DWORD*>(pBits);
    for (LONG row = 0; row < rows; ++row)
    {
        const BYTE* pFrom = pPixels + static_cast<size_t>(bTopDown ? rows - 1 - row : row) * width * 4;
        DWORD* pRow = pTo + static_cast<size_t>(row) * width;
        for (LONG x = 0; x < width; ++x)
        {
            const DWORD pixel = ReadDword(pFrom + static_cast<size_t>(x) * 4);
            const DWORD a = alpha.mask ? alpha.From(pixel) : 255;
            pRow[x] = (a << 24) | (red.From(pixel) << 16) | (green.From(pixel) << 8) | blue.From(pixel);
        }
    }
    return hBitmap;
}

// Any other bitmap file's pixels, checked, as a bitmap compatible with the screen: the system converts what the
// header (rebuilt from the checked fields) describes, run-length data included, from a buffer of the size it gives.
HBITMAP PlainBitmapFromFilePixels(const OSM_BITMAP_FILE_LAYOUT& layout, const BYTE* pPixels)
{
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header = layout.header;
    if (layout.header.biCompression == BI_BITFIELDS)
        std::memcpy(info.colors, layout.masks, 3 * sizeof(DWORD));
    else
        std::memcpy(info.colors, layout.colors, layout.nColors * sizeof(RGBQUAD));
    const ScopedWindowDC screen = GetScopedWindowDC(nullptr);
    if (!screen)
        return nullptr;
    return ::CreateDIBitmap(screen.Get(), &info.header, CBM_INIT, pPixels, reinterpret_cast<BITMAPINFO*>(&info),
                            DIB_RGB_COLORS);
}

// A bitmap file, its header checked against the file's length before its pixels (and only they) are read.
HBITMAP LoadBitmapFileChecked(CFile& file, const BYTE* pHead, size_t nHead, ULONGLONG nLength, BOOL& bAlpha,
                              DWORD& nError)
{
    OSM_BITMAP_FILE_LAYOUT layout;
    const OsmImageCheck check = CheckBitmapFile(pHead, nHead, nLength, layout);
    if (check != OsmImageCheck::Ok)
    {
        nError = ImageCheckError(check);
        return nullptr;
    }
    std::vector<BYTE> pixels(static_cast<size_t>(layout.nPixelBytes));
    if (!ReadFileBytes(file, layout.nPixelOffset, pixels.data(), static_cast<UINT>(pixels.size())))
    {
        nError = ERROR_READ_FAULT;
        return nullptr;
    }
    bAlpha = layout.header.biBitCount == 32;
    HBITMAP hBitmap =
        bAlpha ? AlphaBitmapFromFilePixels(layout, pixels.data()) : PlainBitmapFromFilePixels(layout, pixels.data());
    if (!hBitmap)
        nError = ERROR_BAD_FORMAT;
    return hBitmap;
}

// Recognises the file by its first bytes and hands it to the one reader of that format; sets nError on a refusal.
HBITMAP LoadImageFileChecked(LPCSTR lpszPath, BOOL& bAlpha, DWORD& nError)
{
    bAlpha = FALSE;
    CFile file;
    if (!lpszPath || !file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
    {
        nError = lpszPath ? ::GetLastError() : ERROR_INVALID_PARAMETER;
        if (nError == ERROR_SUCCESS)
            nError = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    const ULONGLONG nLength = file.GetLength();
    std::vector<BYTE> head(static_cast<size_t>(nLength < kOsmImageHeadBytes ? nLength : kOsmImageHeadBytes));
    if (!ReadFileBytes(file, 0, head.data(), static_cast<UINT>(head.size())))
    {
        nError = ERROR_READ_FAULT;
        return nullptr;
    }
    switch (DetectImageFileFormat(head.data(), head.size()))
    {
    case OsmImageFileFormat::Png:
    {
        file.Close();
        // Its header first, so that a size beyond the limits is refused as such.
        const OsmImageCheck check = CheckPngHeader(head.data(), head.size());
        if (check != OsmImageCheck::Ok)
        {
            nError = ImageCheckError(check);
            return nullptr;
        }
        COSMPngBitmap png;
        if (!png.LoadFromFile(lpszPath))
        {
            nError = ERROR_BAD_FORMAT;
            return nullptr;
        }
        bAlpha = png.IsAlpha();
        return static_cast<HBITMAP>(png.Detach());
    }
    case OsmImageFileFormat::Bmp:
        return LoadBitmapFileChecked(file, head.data(), head.size(), nLength, bAlpha, nError);
    case OsmImageFileFormat::Ico:
    {
        // Our own icon-file reader, which checks every entry against the file: its first 32-bit image.
        file.Close();
        HBITMAP hBitmap = LoadAlphaBitmapFromFile(lpszPath, 0);
        bAlpha = hBitmap != nullptr;
        if (!hBitmap)
            nError = ERROR_BAD_FORMAT;
        return hBitmap;
    }
    case OsmImageFileFormat::Gif:
    case OsmImageFileFormat::Jpeg:
    {
        if (nLength > kOsmMaxPictureFileBytes)
        {
            nError = ERROR_FILE_TOO_LARGE;
            return nullptr;
        }
        std::vector<BYTE> data(static_cast<size_t>(nLength));
        if (!ReadFileBytes(file, 0, data.data(), static_cast<UINT>(data.size())))
        {
            nError = ERROR_READ_FAULT;
            return nullptr;
        }
        const bool bGif = data.size() >= 3 && data[0] == 'G';
        const OsmImageCheck check =
            bGif ? CheckGifFile(data.data(), data.size()) : CheckJpegFile(data.data(), data.size());
        if (check != OsmImageCheck::Ok)
        {
            nError = ImageCheckError(check);
            return nullptr;
        }
        // Drawn on the face colour: whatever transparency the picture had is gone.
        HBITMAP hBitmap = LoadPictureBytes(data);
        if (!hBitmap)
            nError = ERROR_BAD_FORMAT;
        return hBitmap;
    }
    default:
        nError = ERROR_BAD_FORMAT;
        return nullptr;
    }
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
    DWORD nError = ERROR_SUCCESS;
    HBITMAP hBitmap = nullptr;
    try
    {
        hBitmap = LoadImageFileChecked(lpszPath, bAlpha, nError);
    }
    catch (CException* e)
    {
        e->Delete();
        nError = ERROR_READ_FAULT;
    }
    catch (const std::bad_alloc&)
    {
        TRACE("Failed -- Memory exception thrown.\n");
        nError = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (pbAlpha)
        *pbAlpha = hBitmap ? bAlpha : FALSE;
    // Left last, after every handle of the load is closed, so that the caller reads the reason itself.
    ::SetLastError(hBitmap ? ERROR_SUCCESS : (nError != ERROR_SUCCESS ? nError : ERROR_BAD_FORMAT));
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
