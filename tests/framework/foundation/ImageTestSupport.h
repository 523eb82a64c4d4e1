// Helpers of the image-manager tests: 32-bit bitmaps made from and read back into pixel arrays, classic icons with
// a mask, PNG files written with libpng (or by hand, chunk by chunk, for damaged ones), and measures of the heap
// and of GDI objects for leak checks. Pixels are 0xAARRGGBB values, top row first.
#pragma once

#include "classlib/DC.h"

#include "tests/support/DcTestSurface.h"
#include "framework/foundation/ImageManager.h"

#include <png.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace image_test {

using foundation_test::DcTestSurface;

inline DWORD Argb(BYTE a, BYTE r, BYTE g, BYTE b)
{
    return (static_cast<DWORD>(a) << 24) | (static_cast<DWORD>(r) << 16) | (static_cast<DWORD>(g) << 8) | b;
}
inline BYTE A(DWORD p)
{
    return static_cast<BYTE>(p >> 24);
}
inline BYTE R(DWORD p)
{
    return static_cast<BYTE>(p >> 16);
}
inline BYTE G(DWORD p)
{
    return static_cast<BYTE>(p >> 8);
}
inline BYTE B(DWORD p)
{
    return static_cast<BYTE>(p);
}
inline COLORREF ToColorRef(DWORD p)
{
    return RGB(R(p), G(p), B(p));
}

// A bottom-up 32-bit DIB section holding the pixels (given top row first).
inline HBITMAP MakeBitmap32(int cx, int cy, const std::vector<DWORD>& pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (!hBitmap)
        return nullptr;
    auto* pOut = static_cast<DWORD*>(pBits);
    for (int y = 0; y < cy; ++y)
        std::memcpy(pOut + static_cast<size_t>(cy - 1 - y) * cx, &pixels[static_cast<size_t>(y) * cx],
                    static_cast<size_t>(cx) * 4);
    return hBitmap;
}

inline HBITMAP MakeSolidBitmap32(int cx, int cy, DWORD pixel)
{
    return MakeBitmap32(cx, cy, std::vector<DWORD>(static_cast<size_t>(cx) * cy, pixel));
}

// The bitmap's pixels as 32-bit values, top row first (GetDIBits).
inline std::vector<DWORD> ReadBitmap32(HBITMAP hBitmap, int* pcx = nullptr, int* pcy = nullptr)
{
    BITMAP bm{};
    if (!hBitmap || ::GetObjectA(hBitmap, sizeof(bm), &bm) == 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    const int nRows = ::GetDIBits(hDC, hBitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(hDC);
    if (nRows != bm.bmHeight)
        return {};
    if (pcx)
        *pcx = bm.bmWidth;
    if (pcy)
        *pcy = bm.bmHeight;
    return pixels;
}

// A classic icon: a 24-bit colour image and a mask that is set where the pixel's colour is `transparent`.
// An image handle that owns the icon.
inline COSMImageManagerIconHandle IconImage(HICON hIcon)
{
    COSMImageManagerIconHandle image;
    image.SetIcon(hIcon);
    return image;
}

inline HICON MakeClassicIcon(int cx, int cy, const std::vector<COLORREF>& colors, COLORREF transparent)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hColor = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    const size_t nStride = ((static_cast<size_t>(cx) * 3 + 3) / 4) * 4;
    const size_t nMaskStride = ((static_cast<size_t>(cx) + 15) / 16) * 2;
    std::vector<BYTE> mask(nMaskStride * cy, 0);
    for (int y = 0; y < cy; ++y)
    {
        for (int x = 0; x < cx; ++x)
        {
            const COLORREF clr = colors[static_cast<size_t>(y) * cx + x];
            BYTE* p = static_cast<BYTE*>(pBits) + y * nStride + x * 3;
            const bool bTransparent = clr == transparent;
            p[0] = bTransparent ? 0 : GetBValue(clr);
            p[1] = bTransparent ? 0 : GetGValue(clr);
            p[2] = bTransparent ? 0 : GetRValue(clr);
            if (bTransparent)
                mask[y * nMaskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    }
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, mask.data());
    ICONINFO iconInfo{TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&iconInfo);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

inline HICON MakeSolidIcon(int cx, int cy, COLORREF clr)
{
    return MakeClassicIcon(cx, cy, std::vector<COLORREF>(static_cast<size_t>(cx) * cy, clr), CLR_INVALID);
}

// Channels within a step of each other (alpha blending rounds).
inline bool Near(COLORREF a, COLORREF b, int nTolerance = 1)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= nTolerance && std::abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}

// ---- PNG data ------------------------------------------------------------------------------------------------------

struct PngSpec
{
    int width = 1;
    int height = 1;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<BYTE> transparency;  // tRNS of a palette image
    bool hasBackground = false;
    png_color_16 background{};
    std::vector<BYTE> rows;  // packed rows as libpng takes them, top row first
};

inline void PNGCBAPI AppendPngData(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<BYTE>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
inline void PNGCBAPI FlushPngData(png_structp) {}

// A PNG file written by libpng's own writer.
inline std::vector<BYTE> WritePng(const PngSpec& spec)
{
    std::vector<BYTE> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendPngData, FlushPngData);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.transparency.empty())
        png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()), nullptr);
    if (spec.hasBackground)
        png_set_bKGD(png, info, &spec.background);
    png_write_info(png, info);
    if (spec.interlaced)
        png_set_interlace_handling(png);
    const size_t rowBytes = spec.rows.size() / spec.height;
    std::vector<png_bytep> rows(spec.height);
    for (int y = 0; y < spec.height; ++y)
        rows[y] = const_cast<png_bytep>(spec.rows.data()) + y * rowBytes;
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

inline void AppendBigEndian(std::vector<BYTE>& out, DWORD value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<BYTE>(value >> shift));
}

// One chunk with its length and CRC, for PNG data made by hand.
inline void AppendPngChunk(std::vector<BYTE>& out, const char* type, const std::vector<BYTE>& data)
{
    AppendBigEndian(out, static_cast<DWORD>(data.size()));
    const size_t nStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + nStart, static_cast<uInt>(4 + data.size()));
    AppendBigEndian(out, static_cast<DWORD>(crc));
}

inline std::vector<BYTE> PngSignature()
{
    return {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
}

// ---- Files ---------------------------------------------------------------------------------------------------------

inline std::string WriteFile(const std::string& name, const std::vector<BYTE>& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return name;
}

inline void AppendLittle16(std::vector<BYTE>& out, WORD value)
{
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}
inline void AppendLittle32(std::vector<BYTE>& out, DWORD value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<BYTE>(value >> shift));
}

// A BITMAPINFOHEADER of the given fields.
inline void AppendInfoHeader(std::vector<BYTE>& out, LONG width, LONG height, WORD bitCount, DWORD compression = BI_RGB,
                             DWORD size = 40)
{
    AppendLittle32(out, size);
    AppendLittle32(out, static_cast<DWORD>(width));
    AppendLittle32(out, static_cast<DWORD>(height));
    AppendLittle16(out, 1);
    AppendLittle16(out, bitCount);
    AppendLittle32(out, compression);
    for (int i = 0; i < 5; ++i)
        AppendLittle32(out, 0);  // size of image, resolutions, colours used and important
}

// ---- The clipboard --------------------------------------------------------------------------------------------------

// A window to own the clipboard: with none, SetClipboardData refuses.
class ClipboardOwner
{
public:
    ClipboardOwner()
        : m_hWnd(::CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr))
    {}
    ~ClipboardOwner() { ::DestroyWindow(m_hWnd); }
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;

    bool Open()
    {
        for (int i = 0; i < 50; ++i)
        {
            if (::OpenClipboard(m_hWnd))
                return ::EmptyClipboard() != FALSE;
            ::Sleep(20);
        }
        return false;
    }
    // The bytes as the toolbar-image format, alone on the clipboard; false, with the clipboard left empty, when the
    // system does not take them (a block of no bytes is a discarded one, which SetClipboardData refuses).
    bool Put(const std::vector<BYTE>& bytes)
    {
        if (!Open())
            return false;
        HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        void* pData = hData ? ::GlobalLock(hData) : nullptr;
        if (pData)
        {
            std::memcpy(pData, bytes.data(), bytes.size());
            ::GlobalUnlock(hData);
        }
        const bool bSet = hData && ::SetClipboardData(RegisterToolbarImageClipboardFormat(), hData) != nullptr;
        if (!bSet && hData)
            ::GlobalFree(hData);
        ::CloseClipboard();
        return bSet;
    }
    std::vector<BYTE> Get()
    {
        std::vector<BYTE> bytes;
        if (!::OpenClipboard(m_hWnd))
            return bytes;
        if (HGLOBAL hData = ::GetClipboardData(RegisterToolbarImageClipboardFormat()))
        {
            const auto* p = static_cast<const BYTE*>(::GlobalLock(hData));
            bytes.assign(p, p + ::GlobalSize(hData));
            ::GlobalUnlock(hData);
        }
        ::CloseClipboard();
        return bytes;
    }

private:
    HWND m_hWnd;
};

// ---- Leak measures -------------------------------------------------------------------------------------------------

// Bytes in busy blocks of every heap of the process (the C runtime's heap among them).
inline unsigned long long HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD nHeaps = ::GetProcessHeaps(64, heaps);
    unsigned long long nTotal = 0;
    for (DWORD i = 0; i < nHeaps && i < 64; ++i)
    {
        if (!::HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heaps[i], &entry))
        {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                nTotal += entry.cbData;
        }
        ::HeapUnlock(heaps[i]);
    }
    return nTotal;
}

// What a burst of new GDI objects receives: GetGuiResources' count where the system keeps one, else (Wine answers
// 0) the handle-table slots a burst of probe bitmaps is given. Freed slots go back to the table's free list and
// come out again; an object leaked in between keeps its slot, and the burst then meets a slot it did not have.
inline std::set<WORD> GdiUsage(int nProbes = 512)
{
    if (const DWORD nCount = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return {static_cast<WORD>(nCount)};
    std::vector<HBITMAP> probes;
    std::set<WORD> slots;
    for (int i = 0; i < nProbes; ++i)
    {
        HBITMAP hProbe = ::CreateBitmap(1, 1, 1, 1, nullptr);
        probes.push_back(hProbe);
        slots.insert(LOWORD(reinterpret_cast<ULONG_PTR>(hProbe)));
    }
    for (auto it = probes.rbegin(); it != probes.rend(); ++it)
        ::DeleteObject(*it);
    return slots;
}

}  // namespace image_test
