// What an image file must be before any of its pixels is read: its format told by its first bytes (never by its
// name), every offset and size of its header inside the file, and its size within the framework's limits. The
// loaders (LoadImageFile, the stored and pasted image sets, the strip cutter) refuse what these refuse, before
// they allocate anything for the pixels.
//
//   BYTE head[kOsmImageHeadBytes];
//   ...read up to that many bytes of the file...
//   OSM_BITMAP_FILE_LAYOUT layout;
//   if (DetectImageFileFormat(head, nRead) == OsmImageFileFormat::Bmp &&
//       CheckBitmapFile(head, nRead, nFileLength, layout) == OsmImageCheck::Ok)
//       ...read layout.nPixelBytes from layout.nPixelOffset...
#pragma once

#include <windows.h>

// The largest image the framework takes: toolbar strips and markup pictures stay far below both. 16,384 pixels a
// side and 16,777,216 pixels (4,096 x 4,096, 64 MB at 32 bits) in all.
const LONG kOsmMaxImageSide = 16384;
const ULONGLONG kOsmMaxImagePixels = 16ull * 1024 * 1024;
// An encoded GIF or JPEG is read into memory whole for the system's picture loader; none of a size the pixel limit
// allows comes near this.
const ULONGLONG kOsmMaxPictureFileBytes = 64ull * 1024 * 1024;
// Enough of a file's start for every header the checks read (a bitmap's file and V5 header, its masks and a full
// colour table).
const size_t kOsmImageHeadBytes = 14 + 124 + 12 + 256 * 4;

// Both sides from 1 to kOsmMaxImageSide and no more than kOsmMaxImagePixels in all.
bool IsImageSizeAllowed(LONGLONG cx, LONGLONG cy);

enum class OsmImageFileFormat
{
    Unknown,
    Png,   // 89 'P' 'N' 'G' 0D 0A 1A 0A
    Bmp,   // 'B' 'M'
    Ico,   // 00 00 01 00
    Gif,   // "GIF87a" or "GIF89a"
    Jpeg,  // FF D8 FF
};
OsmImageFileFormat DetectImageFileFormat(const BYTE* pData, size_t nSize);

enum class OsmImageCheck
{
    Ok,
    Damaged,   // an offset or size outside the file, a field of no valid value, a form the framework does not read
    TooLarge,  // a well-formed image beyond the size limits
};
// The error code a loader leaves for its caller on a refusal: ERROR_BAD_FORMAT or ERROR_FILE_TOO_LARGE.
DWORD ImageCheckError(OsmImageCheck check);

// A bitmap file's pixels as the checks found them: a 40-byte info header of the file's fields (the 12-byte core
// form converted), its colour table as RGBQUADs, its colour masks, and where its pixels lie. biSizeImage holds the
// number of pixel bytes that are read.
struct OSM_BITMAP_FILE_LAYOUT
{
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
    DWORD nColors;
    DWORD masks[4];  // red, green, blue, alpha (BI_BITFIELDS; the alpha one only from a header that has it)
    ULONGLONG nPixelOffset;
    ULONGLONG nPixelBytes;
};
// pHead: the file's first nHead bytes (at least min(kOsmImageHeadBytes, nFileLength)). Bits per pixel 1, 4, 8, 16,
// 24, 32; BI_RGB, BI_RLE4, BI_RLE8 (bottom-up) or BI_BITFIELDS (16 and 32 bits); header sizes 12, 40, 52, 56, 108,
// 124. The pixel offset lies past the header and colour table, and the pixels the header promises lie inside the
// file (for run-length data, the size the header gives, or the rest of the file).
OsmImageCheck CheckBitmapFile(const BYTE* pHead, size_t nHead, ULONGLONG nFileLength, OSM_BITMAP_FILE_LAYOUT& layout);
// A PNG's signature and first chunk, its 13-byte header, whose size is within the limits: the reason for a refusal
// before libpng reads the rest.
OsmImageCheck CheckPngHeader(const BYTE* pHead, size_t nHead);
// A GIF's blocks walked to its trailer: the logical screen and every frame (each reaching no further than the
// limits, its LZW codes, walked without keeping a pixel, valid and filling it) and the extensions and data
// sub-blocks between them, each whole. The file may end after a frame where a block would begin; anything else
// where a block should begin is refused.
OsmImageCheck CheckGifFile(const BYTE* pData, size_t nSize);
// A JPEG's segments walked to its end (scan data searched for the marker that ends it): every frame header, and a
// hierarchical image's size, within the limits and each segment that holds one whole; a frame header before any
// scan. Data that ends after the first frame header is left to the decoder.
OsmImageCheck CheckJpegFile(const BYTE* pData, size_t nSize);
