#include "framework/foundation/PngBitmap.h"

#include "classlib/MemFile.h"
#include "classlib/ScopedHandle.h"
#include "framework/foundation/ImageFileChecks.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace {

const size_t kSignatureSize = 8;

// libpng's limit for a chunk it keeps or inflates. The chunks the decode reads whole are a few hundred bytes at most,
// and the image data streams through a small buffer of libpng's own.
const png_alloc_size_t kMaxChunkBytes = 64 * 1024;

// The ancillary chunks the decode reads besides tRNS: the background, the gamma, and sRGB, from which libpng takes
// the gamma when there is no gAMA.
const png_byte kReadAncillaryChunks[] = {'b', 'K', 'G', 'D', '\0', 'g', 'A', 'M', 'A', '\0', 's', 'R', 'G', 'B', '\0'};

// libpng calls back through C frames: nothing may be thrown through them. Failures become png_error, which
// returns to DecodeStream's setjmp.
void PNGCBAPI ReadData(png_structp png, png_bytep data, png_size_t length)
{
    auto* pFile = static_cast<CFile*>(png_get_io_ptr(png));
    bool bComplete = false;
    try
    {
        size_t nDone = 0;
        while (nDone < length)
        {
            const UINT nChunk = static_cast<UINT>(length - nDone > 0x40000000 ? 0x40000000 : length - nDone);
            const UINT nRead = pFile->Read(data + nDone, nChunk);
            if (nRead == 0)
                break;
            nDone += nRead;
        }
        bComplete = nDone == length;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {}
    if (!bComplete)
        png_error(png, "the PNG data ends early");
}

void PNGCBAPI OnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void PNGCBAPI OnWarning(png_structp, png_const_charp) {}

struct DecodeResult
{
    png_bytep pixels;
    png_uint_32 width;
    png_uint_32 height;
    int channels;
    bool hasBackground;
    png_color_16 background;
};

// The libpng part of the decode: no C++ object lives in this frame, since png_error leaves it by longjmp.
bool DecodeStream(CFile* pFile, DecodeResult* pResult)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info)
    {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    // Written after setjmp and read after a longjmp back to it.
    png_bytep volatile pixels = nullptr;
    png_bytepp volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png)))
    {
        std::free(rows);
        std::free(pixels);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }

    png_set_read_fn(png, pFile, ReadData);
    png_set_sig_bytes(png, static_cast<int>(kSignatureSize));
    png_set_user_limits(png, static_cast<png_uint_32>(kOsmMaxImageSide), static_cast<png_uint_32>(kOsmMaxImageSide));
    // libpng reads a text, profile or Exif chunk whole, into a buffer of the length the chunk claims, and only warns
    // when that length passes its limit: a few bytes claiming 2 GB made it allocate and clear 2 GB. Every chunk the
    // decode does not use (text, profiles, Exif, unknown ones) is read past a kilobyte at a time instead, whatever it
    // claims, so none is ever allocated or inflated; a claim past the end of the data ends the read there.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kReadAncillaryChunks,
                                static_cast<int>(sizeof(kReadAncillaryChunks) / 5));
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    // Refused on its header, before a row is allocated.
    if (!IsImageSizeAllowed(width, height))
        png_error(png, "image too large");
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE || bitDepth < 8 || hasTransparency)
        png_set_expand(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);

    png_color_16p background = nullptr;
    if (png_get_bKGD(png, info, &background) && background)
    {
        pResult->hasBackground = true;
        pResult->background = *background;
        // Compositing onto the background would throw the image's transparency away: only an image without an
        // alpha channel and without tRNS (which then has nothing to composite) takes it.
        if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTransparency)
            png_set_background(png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    }
    double fileGamma = 0.0;
    if (png_get_gAMA(png, info, &fileGamma))
        png_set_gamma(png, 2.2, fileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    const png_size_t rowBytes = png_get_rowbytes(png, info);
    const int channels = png_get_channels(png, info);
    if ((channels != 3 && channels != 4) || bitDepth != 8 || width == 0 || height == 0 ||
        rowBytes != static_cast<png_size_t>(width) * static_cast<png_size_t>(channels))
        png_error(png, "unexpected pixel layout");
    const unsigned long long totalBytes = static_cast<unsigned long long>(rowBytes) * height;
    pixels = static_cast<png_bytep>(std::malloc(static_cast<size_t>(totalBytes)));
    rows = static_cast<png_bytepp>(std::malloc(static_cast<size_t>(height) * sizeof(png_bytep)));
    if (!pixels || !rows)
        png_error(png, "out of memory");
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = pixels + static_cast<size_t>(y) * rowBytes;
    png_read_image(png, rows);
    png_read_end(png, nullptr);

    std::free(rows);
    png_destroy_read_struct(&png, &info, nullptr);
    pResult->pixels = pixels;
    pResult->width = width;
    pResult->height = height;
    pResult->channels = channels;
    return true;
}

bool ReadSignature(CFile* pFile)
{
    png_byte signature[kSignatureSize] = {};
    try
    {
        if (pFile->Read(signature, kSignatureSize) != kSignatureSize)
            return false;
    }
    catch (CException* e)
    {
        e->Delete();
        return false;
    }
    return png_sig_cmp(signature, 0, kSignatureSize) == 0;
}

}  // namespace

BOOL DecodePng(CFile* pFile, LPBYTE* ppPixels, int* pnWidth, int* pnHeight, int* pnChannels, COLORREF* pclrBackground)
{
    if (ppPixels)
        *ppPixels = nullptr;
    if (!pFile || !ppPixels || !ReadSignature(pFile))
        return FALSE;
    DecodeResult result{};
    if (!DecodeStream(pFile, &result))
        return FALSE;
    *ppPixels = result.pixels;
    if (pnWidth)
        *pnWidth = static_cast<int>(result.width);
    if (pnHeight)
        *pnHeight = static_cast<int>(result.height);
    if (pnChannels)
        *pnChannels = result.channels;
    if (pclrBackground && result.hasBackground)
        *pclrBackground =
            RGB(result.background.red & 0xFF, result.background.green & 0xFF, result.background.blue & 0xFF);
    return TRUE;
}

BOOL COSMPngBitmap::LoadFromFileObject(CFile* pFile)
{
    DeleteObject();
    m_bAlpha = FALSE;
    m_clrBackground = RGB(0x7F, 0x7F, 0x7F);
    LPBYTE pPixels = nullptr;
    int nWidth = 0;
    int nHeight = 0;
    int nChannels = 0;
    COLORREF clrBackground = m_clrBackground;
    if (!DecodePng(pFile, &pPixels, &nWidth, &nHeight, &nChannels, &clrBackground))
        return FALSE;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;  // top-down, like the decoded rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    const ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
    ScopedGdiObject<HBITMAP> bitmap(dc ? ::CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &pBits, nullptr, 0)
                                       : nullptr);
    if (!bitmap || !pBits)
    {
        std::free(pPixels);
        return FALSE;
    }
    const size_t nPixels = static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight);
    const BYTE* pFrom = pPixels;
    auto* pTo = static_cast<BYTE*>(pBits);
    for (size_t i = 0; i < nPixels; ++i, pFrom += nChannels, pTo += 4)
    {
        pTo[0] = pFrom[2];
        pTo[1] = pFrom[1];
        pTo[2] = pFrom[0];
        pTo[3] = nChannels == 4 ? pFrom[3] : 0;
    }
    std::free(pPixels);
    m_bAlpha = nChannels == 4;
    m_clrBackground = clrBackground;
    Attach(bitmap.Release());
    return TRUE;
}

BOOL COSMPngBitmap::LoadFromFile(LPCSTR lpszPath)
{
    DeleteObject();
    m_bAlpha = FALSE;
    CFile file;
    if (!lpszPath || !file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
        return FALSE;
    return LoadFromFileObject(&file);
}

BOOL COSMPngBitmap::LoadFromResource(HMODULE hModule, LPCSTR lpszResourceName)
{
    DeleteObject();
    m_bAlpha = FALSE;
    HRSRC hResource = ::FindResourceA(hModule, lpszResourceName, "PNG");
    if (!hResource)
        return FALSE;
    const DWORD nSize = ::SizeofResource(hModule, hResource);
    // The signature and the smallest chunk already take more: shorter data is refused before libpng sees it.
    if (nSize < 10)
        return FALSE;
    HGLOBAL hData = ::LoadResource(hModule, hResource);
    auto* pData = hData ? static_cast<BYTE*>(::LockResource(hData)) : nullptr;
    if (!pData)
        return FALSE;
    // The memory file only reads the resource's bytes; it never writes to them or frees them.
    CMemFile file(pData, nSize);
    const BOOL bLoaded = LoadFromFileObject(&file);
    file.Detach();
    return bLoaded;
}
