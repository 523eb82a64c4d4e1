#include "framework/foundation/ImageFileChecks.h"

#include <cstring>

namespace {

WORD CheckedFileWord(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD CheckedFileDword(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

WORD CheckedFileBigWord(const BYTE* p)
{
    return static_cast<WORD>((p[0] << 8) | p[1]);
}

DWORD CheckedFileBigDword(const BYTE* p)
{
    return (static_cast<DWORD>(p[0]) << 24) | (static_cast<DWORD>(p[1]) << 16) | (static_cast<DWORD>(p[2]) << 8) |
           static_cast<DWORD>(p[3]);
}

// A size the header gives: no side of 0 or less is an image at all; one beyond the limits is an image we refuse.
OsmImageCheck CheckImageSize(LONGLONG cx, LONGLONG cy)
{
    if (cx <= 0 || cy <= 0)
        return OsmImageCheck::Damaged;
    return IsImageSizeAllowed(cx, cy) ? OsmImageCheck::Ok : OsmImageCheck::TooLarge;
}

const size_t kBitmapFileHeaderBytes = 14;

// The bytes of a GIF colour table its flags announce.
size_t GifTableBytes(BYTE flags)
{
    return (flags & 0x80) ? 3u * (2u << (flags & 7)) : 0;
}

// Moves past a run of GIF sub-blocks (each a length byte and that many bytes) and the empty one that ends it; false
// when the data ends first.
bool SkipGifSubBlocks(const BYTE* pData, size_t nSize, size_t& nAt)
{
    while (nAt < nSize && pData[nAt] != 0)
        nAt += 1 + pData[nAt];
    if (nAt >= nSize)
        return false;
    ++nAt;
    return true;
}

// A frame's image data (its LZW code size, then sub-blocks) read code by code the way the decoder reads it, counting
// the pixels the codes give without keeping any: true when they give the frame's nPixels before the end code or
// the end of the sub-blocks, every code one the table holds by then. The system's decoder keeps every frame's
// pixels for good when one of them fails, so a frame it cannot fill must not reach it. nAt moves past the
// terminating sub-block.
bool GifFrameDataFillsFrame(const BYTE* pData, size_t nSize, size_t& nAt, ULONGLONG nPixels)
{
    const unsigned kMaxCodes = 4096;
    if (nAt >= nSize)
        return false;
    const unsigned nCodeSize = pData[nAt++];
    if (nCodeSize < 2 || nCodeSize > 8)
        return false;
    const unsigned clear = 1u << nCodeSize;
    const unsigned end = clear + 1;
    const unsigned kNone = kMaxCodes;
    // Pixels each table entry stands for; literals give one.
    WORD lengths[kMaxCodes] = {};
    for (unsigned literal = 0; literal < clear; ++literal)
        lengths[literal] = 1;
    unsigned next = clear + 2;
    unsigned width = nCodeSize + 1;
    unsigned previous = kNone;
    ULONGLONG nGiven = 0;
    DWORD bits = 0;
    unsigned nBits = 0;
    size_t nBlockLeft = 0;
    while (nGiven < nPixels)
    {
        while (nBits < width)
        {
            if (nBlockLeft == 0)
            {
                // A terminator before the frame is full is as fatal to the decoder as the file's end.
                if (nAt >= nSize || pData[nAt] == 0)
                    return false;
                nBlockLeft = pData[nAt++];
            }
            if (nAt >= nSize)
                return false;
            bits |= static_cast<DWORD>(pData[nAt++]) << nBits;
            nBits += 8;
            --nBlockLeft;
        }
        const unsigned code = bits & ((1u << width) - 1);
        bits >>= width;
        nBits -= width;
        if (code == clear)
        {
            next = clear + 2;
            width = nCodeSize + 1;
            previous = kNone;
            continue;
        }
        if (code == end)
            return false;
        unsigned length = 0;
        if (code < clear)
            length = 1;
        else if (previous != kNone && code < next)
            length = lengths[code];
        else if (previous != kNone && code == next)
            length = lengths[previous] + 1u;  // the entry this very code defines: the previous one and its first pixel
        else
            return false;
        if (previous != kNone && next < kMaxCodes)
        {
            lengths[next] = static_cast<WORD>(lengths[previous] + 1u);
            ++next;
            if (next == (1u << width) && width < 12)
                ++width;
        }
        previous = code;
        nGiven += length;
    }
    // The decoder reads past what is left of the frame's data.
    if (nBlockLeft > nSize - nAt)
        return false;
    nAt += nBlockLeft;
    return SkipGifSubBlocks(pData, nSize, nAt);
}

// SOF0 to SOF15, except DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool IsJpegFrameMarker(BYTE marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

const BYTE kJpegScanMarker = 0xDA;
const BYTE kJpegEndMarker = 0xD9;
const BYTE kJpegLinesMarker = 0xDC;      // DNL: the height of a frame that gave 0, after its first scan
const BYTE kJpegHierarchyMarker = 0xDE;  // DHP: a hierarchical image's size, laid out as a frame header

bool IsJpegRestartMarker(BYTE marker)
{
    return marker >= 0xD0 && marker <= 0xD7;
}

// A frame header's fields from its length on: precision, height, width, the component count and three bytes for
// each component.
OsmImageCheck CheckJpegFrameHeader(const BYTE* pSegment, size_t nLength, LONGLONG& nWidth)
{
    if (nLength < 8)
        return OsmImageCheck::Damaged;
    const BYTE nComponents = pSegment[7];
    if (nComponents < 1 || nComponents > 4 || nLength < 8u + 3u * nComponents)
        return OsmImageCheck::Damaged;
    nWidth = CheckedFileBigWord(pSegment + 5);
    return CheckImageSize(nWidth, CheckedFileBigWord(pSegment + 3));
}

// Moves from the start of scan data to the marker that ends it (stuffed zero bytes, fill bytes and restart markers
// belong to the data); false when the data ends first.
bool SkipJpegScanData(const BYTE* pData, size_t nSize, size_t& nAt)
{
    while (nAt + 1 < nSize)
    {
        const auto* pMark = static_cast<const BYTE*>(std::memchr(pData + nAt, 0xFF, nSize - 1 - nAt));
        if (!pMark)
            return false;
        nAt = static_cast<size_t>(pMark - pData);
        const BYTE next = pData[nAt + 1];
        if (next != 0x00 && next != 0xFF && !IsJpegRestartMarker(next))
            return true;
        ++nAt;
    }
    return false;
}

}  // namespace

bool IsImageSizeAllowed(LONGLONG cx, LONGLONG cy)
{
    return cx >= 1 && cy >= 1 && cx <= kOsmMaxImageSide && cy <= kOsmMaxImageSide &&
           static_cast<ULONGLONG>(cx) * static_cast<ULONGLONG>(cy) <= kOsmMaxImagePixels;
}

OsmImageFileFormat DetectImageFileFormat(const BYTE* pData, size_t nSize)
{
    static const BYTE kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    static const BYTE kIco[4] = {0, 0, 1, 0};
    if (!pData)
        return OsmImageFileFormat::Unknown;
    if (nSize >= sizeof(kPng) && std::memcmp(pData, kPng, sizeof(kPng)) == 0)
        return OsmImageFileFormat::Png;
    if (nSize >= 2 && pData[0] == 'B' && pData[1] == 'M')
        return OsmImageFileFormat::Bmp;
    if (nSize >= sizeof(kIco) && std::memcmp(pData, kIco, sizeof(kIco)) == 0)
        return OsmImageFileFormat::Ico;
    if (nSize >= 6 && (std::memcmp(pData, "GIF87a", 6) == 0 || std::memcmp(pData, "GIF89a", 6) == 0))
        return OsmImageFileFormat::Gif;
    if (nSize >= 3 && pData[0] == 0xFF && pData[1] == 0xD8 && pData[2] == 0xFF)
        return OsmImageFileFormat::Jpeg;
    return OsmImageFileFormat::Unknown;
}

DWORD ImageCheckError(OsmImageCheck check)
{
    switch (check)
    {
    case OsmImageCheck::Ok:
        return ERROR_SUCCESS;
    case OsmImageCheck::TooLarge:
        return ERROR_FILE_TOO_LARGE;
    default:
        return ERROR_BAD_FORMAT;
    }
}

OsmImageCheck CheckBitmapFile(const BYTE* pHead, size_t nHead, ULONGLONG nFileLength, OSM_BITMAP_FILE_LAYOUT& layout)
{
    std::memset(&layout, 0, sizeof(layout));
    if (!pHead || nHead > nFileLength || nHead < kBitmapFileHeaderBytes + 4 || pHead[0] != 'B' || pHead[1] != 'M')
        return OsmImageCheck::Damaged;
    const ULONGLONG nOffBits = CheckedFileDword(pHead + 10);
    const BYTE* pInfo = pHead + kBitmapFileHeaderBytes;
    const DWORD nHeaderSize = CheckedFileDword(pInfo);
    // The 64-byte OS/2 form lays its fields out otherwise; other sizes are no header at all.
    if (nHeaderSize != 12 && nHeaderSize != 40 && nHeaderSize != 52 && nHeaderSize != 56 && nHeaderSize != 108 &&
        nHeaderSize != 124)
        return OsmImageCheck::Damaged;
    if (kBitmapFileHeaderBytes + nHeaderSize > nHead)
        return OsmImageCheck::Damaged;

    BITMAPINFOHEADER& header = layout.header;
    header.biSize = sizeof(BITMAPINFOHEADER);
    const bool bCore = nHeaderSize == 12;
    LONGLONG nWidth = 0;
    LONGLONG nHeight = 0;
    if (bCore)
    {
        nWidth = CheckedFileWord(pInfo + 4);
        nHeight = CheckedFileWord(pInfo + 6);
        header.biPlanes = CheckedFileWord(pInfo + 8);
        header.biBitCount = CheckedFileWord(pInfo + 10);
        header.biCompression = BI_RGB;
    }
    else
    {
        nWidth = static_cast<LONG>(CheckedFileDword(pInfo + 4));
        nHeight = static_cast<LONG>(CheckedFileDword(pInfo + 8));
        header.biPlanes = CheckedFileWord(pInfo + 12);
        header.biBitCount = CheckedFileWord(pInfo + 14);
        header.biCompression = CheckedFileDword(pInfo + 16);
        header.biSizeImage = CheckedFileDword(pInfo + 20);
        header.biClrUsed = CheckedFileDword(pInfo + 32);
    }
    if (header.biPlanes != 1)
        return OsmImageCheck::Damaged;
    const WORD nBits = header.biBitCount;
    const DWORD nCompression = header.biCompression;
    bool bFormOk = false;
    switch (nBits)
    {
    case 1:
    case 24:
        bFormOk = nCompression == BI_RGB;
        break;
    case 4:
        bFormOk = nCompression == BI_RGB || nCompression == BI_RLE4;
        break;
    case 8:
        bFormOk = nCompression == BI_RGB || nCompression == BI_RLE8;
        break;
    case 16:
    case 32:
        bFormOk = !bCore && (nCompression == BI_RGB || nCompression == BI_BITFIELDS);
        break;
    default:
        break;
    }
    if (!bFormOk)
        return OsmImageCheck::Damaged;
    const bool bRunLength = nCompression == BI_RLE4 || nCompression == BI_RLE8;
    // Rows run top-down under a negative height; run-length data has only the bottom-up form.
    if (nHeight < 0 && bRunLength)
        return OsmImageCheck::Damaged;
    const LONGLONG nRows = nHeight < 0 ? -nHeight : nHeight;
    const OsmImageCheck size = CheckImageSize(nWidth, nRows);
    if (size != OsmImageCheck::Ok)
        return size;
    header.biWidth = static_cast<LONG>(nWidth);
    header.biHeight = static_cast<LONG>(nHeight);

    ULONGLONG nTableOffset = kBitmapFileHeaderBytes + nHeaderSize;
    if (nCompression == BI_BITFIELDS)
    {
        // The 40-byte header is followed by its three masks; the later forms hold them (and alpha from 56 on).
        const ULONGLONG nMaskOffset = kBitmapFileHeaderBytes + 40;
        if (nHeaderSize == 40)
            nTableOffset += 12;
        if (nMaskOffset + 12 > nHead)
            return OsmImageCheck::Damaged;
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = CheckedFileDword(pHead + nMaskOffset + 4 * i);
        if (nHeaderSize >= 56)
            layout.masks[3] = CheckedFileDword(pHead + nMaskOffset + 12);
        if (!layout.masks[0] || !layout.masks[1] || !layout.masks[2])
            return OsmImageCheck::Damaged;
    }
    if (nBits <= 8)
    {
        const DWORD nMaxColors = 1u << nBits;
        if (header.biClrUsed > nMaxColors)
            return OsmImageCheck::Damaged;
        layout.nColors = header.biClrUsed ? header.biClrUsed : nMaxColors;
        const size_t nEntryBytes = bCore ? 3 : 4;
        if (nTableOffset + layout.nColors * nEntryBytes > nHead)
            return OsmImageCheck::Damaged;
        for (DWORD i = 0; i < layout.nColors; ++i)
        {
            const BYTE* pEntry = pHead + nTableOffset + i * nEntryBytes;
            layout.colors[i].rgbBlue = pEntry[0];
            layout.colors[i].rgbGreen = pEntry[1];
            layout.colors[i].rgbRed = pEntry[2];
        }
        nTableOffset += layout.nColors * nEntryBytes;
        header.biClrUsed = layout.nColors;
    }
    else
    {
        // A table beside true-colour pixels is only a hint for palette displays: it is skipped, not read.
        header.biClrUsed = 0;
    }
    header.biClrImportant = 0;

    if (nOffBits < nTableOffset || nOffBits >= nFileLength)
        return OsmImageCheck::Damaged;
    const ULONGLONG nAvailable = nFileLength - nOffBits;
    if (bRunLength)
    {
        const ULONGLONG nDeclared = header.biSizeImage ? header.biSizeImage : nAvailable;
        if (nDeclared > nAvailable)
            return OsmImageCheck::Damaged;
        layout.nPixelBytes = nDeclared;
    }
    else
    {
        const ULONGLONG nStride = ((static_cast<ULONGLONG>(nWidth) * nBits + 31) / 32) * 4;
        layout.nPixelBytes = nStride * static_cast<ULONGLONG>(nRows);
        if (layout.nPixelBytes > nAvailable)
            return OsmImageCheck::Damaged;
    }
    header.biSizeImage = static_cast<DWORD>(layout.nPixelBytes);
    layout.nPixelOffset = nOffBits;
    return OsmImageCheck::Ok;
}

OsmImageCheck CheckPngHeader(const BYTE* pHead, size_t nHead)
{
    const size_t kSignatureBytes = 8;
    const size_t kHeaderEnd = kSignatureBytes + 8 + 13;  // the signature, IHDR's length and type, its fields
    if (DetectImageFileFormat(pHead, nHead) != OsmImageFileFormat::Png || nHead < kHeaderEnd)
        return OsmImageCheck::Damaged;
    if (CheckedFileBigDword(pHead + kSignatureBytes) != 13 || std::memcmp(pHead + kSignatureBytes + 4, "IHDR", 4) != 0)
        return OsmImageCheck::Damaged;
    const DWORD nWidth = CheckedFileBigDword(pHead + kSignatureBytes + 8);
    const DWORD nHeight = CheckedFileBigDword(pHead + kSignatureBytes + 12);
    // PNG sizes have 31 bits.
    if (nWidth > 0x7FFFFFFFu || nHeight > 0x7FFFFFFFu)
        return OsmImageCheck::Damaged;
    return CheckImageSize(nWidth, nHeight);
}

OsmImageCheck CheckGifFile(const BYTE* pData, size_t nSize)
{
    const size_t kScreenDescriptorEnd = 13;
    const size_t kImageDescriptorBytes = 10;
    if (DetectImageFileFormat(pData, nSize) != OsmImageFileFormat::Gif || nSize < kScreenDescriptorEnd)
        return OsmImageCheck::Damaged;
    const OsmImageCheck screen = CheckImageSize(CheckedFileWord(pData + 6), CheckedFileWord(pData + 8));
    if (screen != OsmImageCheck::Ok)
        return screen;
    // The system's decoder reads every block before it gives a picture and fails on any it cannot read whole: the
    // file may end where a block would begin (after a frame) or at its trailer, nowhere else.
    bool bFrame = false;
    size_t nAt = kScreenDescriptorEnd + GifTableBytes(pData[10]);
    while (nAt < nSize)
    {
        const BYTE introducer = pData[nAt];
        if (introducer == 0x3B)
            break;
        if (introducer == 0x21)
        {
            // An extension: its label, then sub-blocks.
            nAt += 2;
            if (!SkipGifSubBlocks(pData, nSize, nAt))
                return OsmImageCheck::Damaged;
            continue;
        }
        // Any other byte where a block should begin: a decoder that searched on for the next frame could find one
        // this walk never saw.
        if (introducer != 0x2C || nAt + kImageDescriptorBytes > nSize)
            return OsmImageCheck::Damaged;
        const WORD nWidth = CheckedFileWord(pData + nAt + 5);
        const WORD nHeight = CheckedFileWord(pData + nAt + 7);
        if (nWidth == 0 || nHeight == 0)
            return OsmImageCheck::Damaged;
        // Every frame, not only the first: a decoder allocates for each, and one that reaches past the screen makes
        // it draw a larger canvas.
        const OsmImageCheck frame = CheckImageSize(static_cast<LONGLONG>(CheckedFileWord(pData + nAt + 1)) + nWidth,
                                                   static_cast<LONGLONG>(CheckedFileWord(pData + nAt + 3)) + nHeight);
        if (frame != OsmImageCheck::Ok)
            return frame;
        // Its colour table, then its data, which must fill it.
        nAt += kImageDescriptorBytes + GifTableBytes(pData[nAt + 9]);
        if (!GifFrameDataFillsFrame(pData, nSize, nAt, static_cast<ULONGLONG>(nWidth) * nHeight))
            return OsmImageCheck::Damaged;
        bFrame = true;
    }
    return bFrame ? OsmImageCheck::Ok : OsmImageCheck::Damaged;
}

OsmImageCheck CheckJpegFile(const BYTE* pData, size_t nSize)
{
    if (DetectImageFileFormat(pData, nSize) != OsmImageFileFormat::Jpeg)
        return OsmImageCheck::Damaged;
    // Data that ends after the first frame header is left to the decoder, which fills in what is missing and keeps
    // nothing of a picture it refuses.
    bool bFrame = false;
    const auto ended = [&bFrame] { return bFrame ? OsmImageCheck::Ok : OsmImageCheck::Damaged; };
    LONGLONG nFrameWidth = 1;
    size_t nAt = 2;
    for (;;)
    {
        if (nAt + 2 > nSize)
            return ended();
        if (pData[nAt] != 0xFF)
            return OsmImageCheck::Damaged;
        const BYTE marker = pData[nAt + 1];
        if (marker == 0xFF)
        {
            ++nAt;  // a fill byte
            continue;
        }
        if (marker == kJpegEndMarker)
            return ended();
        // Markers without a length: TEM and the restart markers.
        if (marker == 0x01 || IsJpegRestartMarker(marker))
        {
            nAt += 2;
            continue;
        }
        if (marker == 0x00 || marker == 0xD8)
            return OsmImageCheck::Damaged;  // no marker at all, or a second start
        if (nAt + 4 > nSize)
            return ended();
        const size_t nLength = CheckedFileBigWord(pData + nAt + 2);
        if (nLength < 2)
            return OsmImageCheck::Damaged;
        const BYTE* pSegment = pData + nAt + 2;
        const bool bWhole = nAt + 2 + nLength <= nSize;
        if (IsJpegFrameMarker(marker) || marker == kJpegHierarchyMarker)
        {
            // A decoder reads a frame header's fields whether or not the rest of its segment arrived.
            if (!bWhole)
                return OsmImageCheck::Damaged;
            LONGLONG nWidth = 0;
            const OsmImageCheck frame = CheckJpegFrameHeader(pSegment, nLength, nWidth);
            if (frame != OsmImageCheck::Ok)
                return frame;
            if (marker != kJpegHierarchyMarker)
            {
                bFrame = true;
                nFrameWidth = nWidth;
            }
        }
        else if (!bWhole)
        {
            return ended();
        }
        else if (marker == kJpegScanMarker && !bFrame)
        {
            return OsmImageCheck::Damaged;  // a scan before any frame header
        }
        else if (marker == kJpegLinesMarker)
        {
            if (nLength < 4)
                return OsmImageCheck::Damaged;
            const OsmImageCheck lines = CheckImageSize(nFrameWidth, CheckedFileBigWord(pSegment + 2));
            if (lines != OsmImageCheck::Ok)
                return lines;
        }
        nAt += 2 + nLength;
        if (marker == kJpegScanMarker && !SkipJpegScanData(pData, nSize, nAt))
            return ended();
    }
}
