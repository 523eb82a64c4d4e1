// Edits of the bad-input harness that know the image formats the loaders read (PNG, GIF, BMP, icon and cursor files,
// JPEG): a chunk's length, a frame's size, a header's fields set to the values readers trip over, chunks, frames,
// entries and segments repeated, added or cut; and the repair of a PNG's chunk checksums after any edit, so that
// the edit reaches the reader behind libpng's checksum test. Portable, with deflate streams written by hand (stored
// blocks, and a fixed-code stream of repeats that inflates a thousandfold), so it needs no compression library.
//
//   fuzz::Mutator mutator(seed);
//   mutator.SetStructure(&fuzz::EditImage, &fuzz::RepairImage);
#pragma once

#include "FuzzMutator.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace fuzz {

// ---- Bytes in fields ---------------------------------------------------------------------------------------------

inline uint32_t ReadBig32(const Bytes& b, size_t at)
{
    return at + 4 <= b.size() ? (static_cast<uint32_t>(b[at]) << 24) | (static_cast<uint32_t>(b[at + 1]) << 16) |
                                    (static_cast<uint32_t>(b[at + 2]) << 8) | b[at + 3]
                              : 0;
}
inline uint32_t ReadLittle32(const Bytes& b, size_t at)
{
    return at + 4 <= b.size() ? (static_cast<uint32_t>(b[at + 3]) << 24) | (static_cast<uint32_t>(b[at + 2]) << 16) |
                                    (static_cast<uint32_t>(b[at + 1]) << 8) | b[at]
                              : 0;
}
inline unsigned ReadLittle16(const Bytes& b, size_t at)
{
    return at + 2 <= b.size() ? static_cast<unsigned>(b[at] | (b[at + 1] << 8)) : 0;
}
inline unsigned ReadBig16(const Bytes& b, size_t at)
{
    return at + 2 <= b.size() ? static_cast<unsigned>((b[at] << 8) | b[at + 1]) : 0;
}
inline void WriteBig32(Bytes& b, size_t at, uint32_t v)
{
    for (size_t i = 0; i < 4 && at + i < b.size(); ++i)
        b[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}
inline void WriteLittle32(Bytes& b, size_t at, uint32_t v)
{
    for (size_t i = 0; i < 4 && at + i < b.size(); ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
inline void WriteLittle16(Bytes& b, size_t at, unsigned v)
{
    for (size_t i = 0; i < 2 && at + i < b.size(); ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
inline void WriteBig16(Bytes& b, size_t at, unsigned v)
{
    for (size_t i = 0; i < 2 && at + i < b.size(); ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 - 8 * i));
}
inline void AppendBig32(Bytes& b, uint32_t v)
{
    b.insert(b.end(), {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                       static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)});
}
inline Bytes Slice(const Bytes& b, size_t from, size_t length)
{
    from = std::min(from, b.size());
    length = std::min(length, b.size() - from);
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + length));
}
inline void Replace(Bytes& b, size_t from, size_t length, const Bytes& with)
{
    from = std::min(from, b.size());
    length = std::min(length, b.size() - from);
    b.erase(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + length));
    b.insert(b.begin() + static_cast<std::ptrdiff_t>(from), with.begin(), with.end());
}
// A size or count a reader must refuse or bound, chosen around a field's own value too.
inline uint32_t ExtremeFor(Random& random, uint32_t old)
{
    switch (random.Below(6))
    {
    case 0:
        return old + 1 + static_cast<uint32_t>(random.Below(16));
    case 1:
        return old * 2 + 1;
    case 2:
        return old ? old - 1 : 0xFFFFFFFFu;
    default:
        return random.InterestingValue();
    }
}

// ---- Checksums and deflate streams ---------------------------------------------------------------------------------

// The CRC-32 of PNG chunks and zlib (reflected polynomial 0xEDB88320).
inline uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc = 0)
{
    static const auto kTable = [] {
        std::vector<uint32_t> table(256);
        for (uint32_t n = 0; n < 256; ++n)
        {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        return table;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = kTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

inline uint32_t Adler32(const Bytes& data)
{
    uint32_t a = 1, b = 0;
    for (unsigned char c : data)
    {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// A zlib stream holding data in stored (uncompressed) blocks.
inline Bytes ZlibStored(const Bytes& data)
{
    Bytes out = {0x78, 0x01};
    size_t at = 0;
    do
    {
        const size_t length = std::min<size_t>(65535, data.size() - at);
        const bool last = at + length == data.size();
        out.push_back(last ? 1 : 0);
        out.insert(out.end(), {static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8),
                               static_cast<unsigned char>(~length), static_cast<unsigned char>(~length >> 8)});
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < data.size());
    AppendBig32(out, Adler32(data));
    return out;
}

// A zlib stream of one fixed-code block: the byte, then runs of 258 copies of it (distance 1), inflating to about
// `inflated` bytes from a thousandth of that: what a reader that trusts a compressed chunk's size runs into.
inline Bytes ZlibRepeats(unsigned char byte, size_t inflated)
{
    Bytes out = {0x78, 0x01};
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](uint32_t value, int length) {  // LSB first
        bits |= value << count;
        count += length;
        while (count >= 8)
        {
            out.push_back(static_cast<unsigned char>(bits));
            bits >>= 8;
            count -= 8;
        }
    };
    auto putCode = [&](uint32_t code, int length) {  // Huffman codes go MSB first
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1) << (length - 1 - i);
        put(reversed, length);
    };
    put(1, 1);  // the last block
    put(1, 2);  // fixed codes
    if (byte < 144)
        putCode(0x30 + byte, 8);
    else
        putCode(0x190 + byte - 144, 9);
    const size_t runs = inflated / 258;
    for (size_t i = 0; i < runs; ++i)
    {
        putCode(0xC5, 8);  // length 258 (code 285)
        putCode(0, 5);     // distance 1
    }
    putCode(0, 7);  // end of block
    if (count > 0)
        out.push_back(static_cast<unsigned char>(bits));
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < 1 + runs * 258; ++i)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    AppendBig32(out, (b << 16) | a);
    return out;
}

// ---- PNG ------------------------------------------------------------------------------------------------------------

inline bool IsPng(const Bytes& b)
{
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return b.size() >= 8 && std::memcmp(b.data(), kSignature, 8) == 0;
}

struct PngChunk
{
    size_t at = 0;  // where its length field is
    uint32_t length = 0;
    std::string type;
    bool whole = false;  // its data and checksum lie inside the file
};

// The chunks from the signature on, up to the end or to the first one whose header is cut off; a chunk that runs
// past the end is the last (not whole).
inline std::vector<PngChunk> PngChunks(const Bytes& b)
{
    std::vector<PngChunk> chunks;
    size_t at = 8;
    while (at + 8 <= b.size() && chunks.size() < 100000)
    {
        PngChunk chunk;
        chunk.at = at;
        chunk.length = ReadBig32(b, at);
        chunk.type.assign(reinterpret_cast<const char*>(&b[at + 4]), 4);
        chunk.whole = static_cast<uint64_t>(at) + 12 + chunk.length <= b.size();
        chunks.push_back(chunk);
        if (!chunk.whole)
            break;
        at += 12 + chunk.length;
    }
    return chunks;
}

inline Bytes PngChunkBytes(const std::string& type, const Bytes& data)
{
    Bytes out;
    AppendBig32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    AppendBig32(out, Crc32(out.data() + 4, out.size() - 4));
    return out;
}

// Every whole chunk's checksum made right again.
inline void RepairPngChecksums(Bytes& b)
{
    if (!IsPng(b))
        return;
    for (const PngChunk& chunk : PngChunks(b))
    {
        if (chunk.whole)
            WriteBig32(b, chunk.at + 8 + chunk.length, Crc32(&b[chunk.at + 4], 4 + chunk.length));
    }
}

// The body of an ancillary chunk a writer could put there: text with keywords of every length, compressed text
// that inflates far, profiles, palettes suggested, or plain noise.
inline Bytes PngAncillaryBody(const std::string& type, Random& random)
{
    auto text = [&](size_t length) {
        Bytes t(length);
        for (unsigned char& c : t)
            c = static_cast<unsigned char>(random.OneIn(16) ? random.Below(256) : 'a' + random.Below(26));
        return t;
    };
    Bytes body = random.OneIn(8) ? text(random.Count(200)) : ToBytes(random.OneIn(2) ? "Comment" : "Software");
    const size_t textLength = random.Count(1 << 16);
    if (type == "tEXt")
    {
        body.push_back(0);
        const Bytes t = text(textLength);
        body.insert(body.end(), t.begin(), t.end());
    }
    else if (type == "zTXt" || type == "iCCP")
    {
        body.push_back(0);
        body.push_back(random.OneIn(8) ? static_cast<unsigned char>(random.Below(256)) : 0);
        const Bytes z = random.OneIn(2) ? ZlibRepeats('x', random.Count(64u << 20)) : ZlibStored(text(textLength));
        body.insert(body.end(), z.begin(), z.end());
    }
    else if (type == "iTXt")
    {
        const bool compressed = random.OneIn(2);
        body.insert(body.end(), {0, static_cast<unsigned char>(compressed), 0});
        const Bytes language = ToBytes(random.OneIn(2) ? "en" : std::string(random.Count(300), 'l'));
        body.insert(body.end(), language.begin(), language.end());
        body.push_back(0);
        body.insert(body.end(), {'T', 'i', 't', 'l', 'e', 0});
        const Bytes t = compressed ? ZlibRepeats('y', random.Count(64u << 20)) : text(textLength);
        body.insert(body.end(), t.begin(), t.end());
    }
    else
    {
        body = text(random.Count(1 << 14));
    }
    return body;
}

inline bool EditPng(Bytes& b, Random& random)
{
    std::vector<PngChunk> chunks = PngChunks(b);
    if (chunks.empty())
        return false;
    PngChunk chunk = random.Pick(chunks);
    // Ancillary chunks (a lower-case first letter) are read whatever their content, and the reader sizes its buffer
    // by their length before it reads a byte of them: they are where most edits go.
    std::vector<PngChunk> ancillary;
    for (const PngChunk& c : chunks)
    {
        if (c.type[0] >= 'a' && c.type[0] <= 'z')
            ancillary.push_back(c);
    }
    if (!ancillary.empty() && !random.OneIn(4))
        chunk = random.Pick(ancillary);
    static const char* const kTypes[] = {"tEXt", "zTXt", "iTXt", "iCCP", "sPLT", "eXIf", "tIME", "pHYs", "gAMA",
                                         "cHRM", "sRGB", "sBIT", "bKGD", "hIST", "tRNS", "PLTE", "IDAT", "IEND",
                                         "prVt", "vpAg", "abCd", "oFFs", "sCAL", "pCAL", "IHDR", "acTL", "fcTL"};
    switch (random.Below(10))
    {
    case 0:
    case 1:
    case 9:
    {
        // Its length field: a size far past the file, or just past the chunk; now and then the file ends right
        // after the chunk's name, as a download cut short does.
        WriteBig32(b, chunk.at, ExtremeFor(random, chunk.length));
        if (random.OneIn(2))
            b.resize(std::min(b.size(), chunk.at + 8 + (random.OneIn(2) ? 0 : random.Below(64))));
        return true;
    }
    case 2:
    {
        // A new chunk at a chunk boundary.
        const std::string type = random.Pick(kTypes);
        const Bytes added = PngChunkBytes(type, PngAncillaryBody(type, random));
        const size_t at = random.OneIn(2) ? chunks[0].at + 12 + chunks[0].length : random.Pick(chunks).at;
        if (b.size() + added.size() <= Mutator::kMaxSize)
            Replace(b, std::min(at, b.size()), 0, added);
        return true;
    }
    case 3:
    {
        // A chunk repeated, up to thousands of times.
        if (!chunk.whole)
            return false;
        const Bytes piece = Slice(b, chunk.at, 12 + chunk.length);
        Bytes repeated;
        for (size_t n = random.Count(4000); n > 0 && b.size() + repeated.size() + piece.size() <= Mutator::kMaxSize;
             --n)
            repeated.insert(repeated.end(), piece.begin(), piece.end());
        Replace(b, chunk.at, 0, repeated);
        return true;
    }
    case 4:
        // A chunk gone, or moved before another.
        if (!chunk.whole)
            return false;
        {
            const Bytes piece = Slice(b, chunk.at, 12 + chunk.length);
            Replace(b, chunk.at, piece.size(), {});
            if (random.OneIn(2))
            {
                const std::vector<PngChunk> rest = PngChunks(b);
                if (!rest.empty())
                    Replace(b, random.Pick(rest).at, 0, piece);
            }
        }
        return true;
    case 5:
    {
        // The header's fields: the sizes, depth, colour type, methods and interlacing.
        if (chunks[0].type != "IHDR" || b.size() < 8 + 8 + 13)
            return false;
        const size_t data = 16;
        switch (random.Below(4))
        {
        case 0:
            WriteBig32(b, data, ExtremeFor(random, ReadBig32(b, data)));
            break;
        case 1:
            WriteBig32(b, data + 4, ExtremeFor(random, ReadBig32(b, data + 4)));
            break;
        case 2:
        {
            static const unsigned char kDepths[] = {0, 1, 2, 3, 4, 8, 16, 32, 255};
            b[data + 8] = random.Pick(kDepths);
            break;
        }
        default:
        {
            static const unsigned char kValues[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 255};
            b[data + 9 + random.Below(4)] = random.Pick(kValues);
            break;
        }
        }
        return true;
    }
    case 6:
    {
        // Bytes inside a chunk's data: the checksum is repaired after.
        if (!chunk.whole || chunk.length == 0)
            return false;
        const size_t at = chunk.at + 8 + random.Below(chunk.length);
        if (random.OneIn(2))
            b[at] = static_cast<unsigned char>(random.Below(256));
        else
            WriteBig32(b, std::min(at, chunk.at + 8 + chunk.length - std::min<size_t>(4, chunk.length)),
                       random.InterestingValue());
        return true;
    }
    case 7:
    {
        // The image data cut into many small chunks: each a read of its own.
        for (const PngChunk& c : chunks)
        {
            if (c.type != "IDAT" || !c.whole || c.length < 2)
                continue;
            const Bytes data = Slice(b, c.at + 8, c.length);
            const size_t step = 1 + random.Below(std::min<size_t>(64, data.size()));
            Bytes split;
            for (size_t at = 0; at < data.size(); at += step)
            {
                const Bytes piece = PngChunkBytes("IDAT", Slice(data, at, step));
                split.insert(split.end(), piece.begin(), piece.end());
            }
            if (b.size() + split.size() <= Mutator::kMaxSize)
                Replace(b, c.at, 12 + c.length, split);
            return true;
        }
        return false;
    }
    default:
        // A chunk's name changed: critical made ancillary, private, unknown, or another known one.
        if (random.OneIn(2))
        {
            const std::string type = random.Pick(kTypes);
            std::copy(type.begin(), type.end(), b.begin() + static_cast<std::ptrdiff_t>(chunk.at + 4));
        }
        else
        {
            b[chunk.at + 4 + random.Below(4)] ^= 0x20;
        }
        return true;
    }
}

// ---- GIF ------------------------------------------------------------------------------------------------------------

inline bool IsGif(const Bytes& b)
{
    return b.size() >= 6 && (std::memcmp(b.data(), "GIF87a", 6) == 0 || std::memcmp(b.data(), "GIF89a", 6) == 0);
}

struct GifLayout
{
    std::vector<size_t> frames;      // where each image descriptor (0x2C) is
    std::vector<size_t> frameEnds;   // where each frame's data ends (past its terminator)
    std::vector<size_t> extensions;  // where each extension (0x21) is
    std::vector<size_t> subBlocks;   // where each sub-block's length byte is
    size_t trailer = 0;              // where the 0x3B is, or 0
};

inline size_t GifTableBytes(unsigned char flags)
{
    return (flags & 0x80) ? 3u * (2u << (flags & 7)) : 0;
}

// The blocks as far as they are whole.
inline GifLayout ParseGif(const Bytes& b)
{
    GifLayout layout;
    if (!IsGif(b) || b.size() < 13)
        return layout;
    size_t at = 13 + GifTableBytes(b[10]);
    auto skipSubBlocks = [&](size_t from) {
        while (from < b.size() && b[from] != 0)
        {
            layout.subBlocks.push_back(from);
            from += 1 + b[from];
        }
        return from < b.size() ? from + 1 : b.size();
    };
    while (at < b.size())
    {
        if (b[at] == 0x21)
        {
            layout.extensions.push_back(at);
            at = skipSubBlocks(at + 2);
        }
        else if (b[at] == 0x2C)
        {
            layout.frames.push_back(at);
            if (at + 10 > b.size())
                break;
            at += 10 + GifTableBytes(b[at + 9]) + 1;  // the descriptor, a local table, the code size
            at = skipSubBlocks(at);
            layout.frameEnds.push_back(at);
        }
        else
        {
            if (b[at] == 0x3B)
                layout.trailer = at;
            break;
        }
    }
    return layout;
}

inline bool EditGif(Bytes& b, Random& random)
{
    const GifLayout layout = ParseGif(b);
    if (b.size() < 13)
        return false;
    // Later frames first: the reader checks the first frame most carefully.
    auto pickFrame = [&]() -> size_t {
        if (layout.frames.empty())
            return 0;
        return layout.frames[layout.frames.size() - 1 - random.Below(std::min<size_t>(3, layout.frames.size()))];
    };
    static const unsigned kSides[] = {0, 1, 0x3FFF, 0x4000, 0x4001, 0x7FFF, 0x8000, 0xFFFF, 0x1000, 0x2000, 4097};
    switch (random.Below(8))
    {
    case 0:
    case 1:
    {
        // A frame's width and height, or one of them.
        const size_t frame = pickFrame();
        if (!frame || frame + 10 > b.size())
            return false;
        const unsigned side = random.Pick(kSides);
        if (!random.OneIn(3))
            WriteLittle16(b, frame + 5, side);
        if (!random.OneIn(3))
            WriteLittle16(b, frame + 7, random.OneIn(2) ? side : random.Pick(kSides));
        return true;
    }
    case 2:
    {
        // A frame's position: off the screen, or where its size wraps.
        const size_t frame = pickFrame();
        if (!frame || frame + 10 > b.size())
            return false;
        WriteLittle16(b, frame + 1 + 2 * random.Below(2), random.Pick(kSides));
        return true;
    }
    case 3:
        // The logical screen.
        WriteLittle16(b, 6 + 2 * random.Below(2), random.Pick(kSides));
        return true;
    case 4:
    {
        // A frame, with the control block before it, repeated up to hundreds of times.
        if (layout.frames.empty() || layout.frameEnds.size() < layout.frames.size())
            return false;
        const size_t index = random.Below(layout.frames.size());
        size_t start = layout.frames[index];
        for (size_t e : layout.extensions)
        {
            if (e < start && e + 8 == start)
                start = e;
        }
        const Bytes piece = Slice(b, start, layout.frameEnds[index] - start);
        Bytes repeated;
        for (size_t n = random.Count(500); n > 0 && b.size() + repeated.size() + piece.size() <= Mutator::kMaxSize; --n)
            repeated.insert(repeated.end(), piece.begin(), piece.end());
        Replace(b, layout.frameEnds[index], 0, repeated);
        return true;
    }
    case 5:
    {
        // A frame's flags (local table, interlacing) or its code size.
        const size_t frame = pickFrame();
        if (!frame || frame + 11 > b.size())
            return false;
        static const unsigned char kCodeSizes[] = {0, 1, 2, 7, 8, 11, 12, 255};
        if (random.OneIn(2))
            b[frame + 9] = static_cast<unsigned char>(random.Below(256));
        else
            b[frame + 10 + GifTableBytes(b[frame + 9])] = random.Pick(kCodeSizes);
        return true;
    }
    case 6:
    {
        // A sub-block's length.
        if (layout.subBlocks.empty())
            return false;
        const size_t at = random.Pick(layout.subBlocks);
        b[at] = random.OneIn(2) ? 255 : static_cast<unsigned char>(random.Below(256));
        return true;
    }
    default:
        // The screen's flags (global table), the trailer gone, or the file cut inside a later frame.
        if (random.OneIn(3))
            b[10] = static_cast<unsigned char>(random.Below(256));
        else if (layout.trailer && random.OneIn(2))
            b.resize(layout.trailer);
        else if (!layout.frames.empty())
            b.resize(std::min(b.size(), pickFrame() + 1 + random.Below(32)));
        return true;
    }
}

// ---- BMP and the packed DIBs of icons
// --------------------------------------------------------------------------------

// The fields of a bitmap info header at `info`: its size, width, height, planes, depth, compression, image size,
// colours used and the first colour mask.
inline bool EditDibHeader(Bytes& b, size_t info, Random& random)
{
    if (info + 16 > b.size())
        return false;
    const uint32_t headerSize = ReadLittle32(b, info);
    const bool core = headerSize == 12;
    switch (random.Below(8))
    {
    case 0:
    {
        static const uint32_t kSizes[] = {0, 12, 16, 40, 52, 56, 64, 108, 124, 125, 0xFFFFFFFF};
        WriteLittle32(b, info, random.Pick(kSizes));
        return true;
    }
    case 1:  // width
        if (core)
            WriteLittle16(b, info + 4, ExtremeFor(random, ReadLittle16(b, info + 4)));
        else
            WriteLittle32(b, info + 4, ExtremeFor(random, ReadLittle32(b, info + 4)));
        return true;
    case 2:  // height, or the same height top-down
        if (core)
            WriteLittle16(b, info + 6, ExtremeFor(random, ReadLittle16(b, info + 6)));
        else
            WriteLittle32(b, info + 8,
                          random.OneIn(3) ? 0u - ReadLittle32(b, info + 8)
                                          : ExtremeFor(random, ReadLittle32(b, info + 8)));
        return true;
    case 3:
    {
        static const unsigned kDepths[] = {0, 1, 2, 4, 8, 15, 16, 24, 32, 48, 64, 0xFFFF};
        WriteLittle16(b, info + (core ? 10 : 14), random.Pick(kDepths));
        return true;
    }
    case 4:
    {
        static const uint32_t kCompressions[] = {0, 1, 2, 3, 4, 5, 6, 11, 0xFFFFFFFF};
        if (core)
            return false;
        WriteLittle32(b, info + 16, random.Pick(kCompressions));
        return true;
    }
    case 5:  // image size, colours used, colours important
        if (core || info + 52 > b.size())
            return false;
        WriteLittle32(b, info + 20 + 4 * (random.OneIn(2) ? 0 : 3 + random.Below(2)), random.InterestingValue());
        return true;
    case 6:  // a colour mask
        if (core || info + 56 > b.size())
            return false;
        WriteLittle32(b, info + 40 + 4 * random.Below(4),
                      random.OneIn(2) ? random.InterestingValue() : random.Next32());
        return true;
    default:  // planes
        WriteLittle16(b, info + (core ? 8 : 12), random.OneIn(2) ? 0 : random.InterestingValue());
        return true;
    }
}

inline bool IsBmp(const Bytes& b)
{
    return b.size() >= 2 && b[0] == 'B' && b[1] == 'M';
}

inline bool EditBmp(Bytes& b, Random& random)
{
    if (b.size() < 14 + 16)
        return false;
    switch (random.Below(5))
    {
    case 0:  // the file's size or the pixels' offset
        WriteLittle32(b, random.OneIn(2) ? 2 : 10, ExtremeFor(random, ReadLittle32(b, 10)));
        return true;
    case 1:
    {
        // Run-length commands among the pixels: deltas, absolute runs and ends that jump far.
        const uint32_t offset = ReadLittle32(b, 10);
        if (offset >= b.size())
            return false;
        const size_t at = offset + random.Below(b.size() - offset);
        static const Bytes kCommands[] = {{0, 2, 255, 255}, {0, 255},       {255, 1},          {0, 0},
                                          {0, 1},           {0, 2, 0, 255}, {0, 3, 1, 2, 3, 0}};
        const Bytes& command = random.Pick(kCommands);
        if (random.OneIn(2))
            Replace(b, at, command.size(), command);
        else
            Replace(b, at, 0, command);
        return true;
    }
    default:
        return EditDibHeader(b, 14, random);
    }
}

// ---- Icon and cursor files ------------------------------------------------------------------------------------------

inline bool IsIconFile(const Bytes& b)
{
    return b.size() >= 6 && b[0] == 0 && b[1] == 0 && (b[2] == 1 || b[2] == 2) && b[3] == 0;
}

inline bool EditIconFile(Bytes& b, Random& random)
{
    if (b.size() < 6)
        return false;
    const size_t count = ReadLittle16(b, 4);
    const size_t entries = std::min<size_t>(count, (b.size() - 6) / 16);
    switch (random.Below(6))
    {
    case 0:
        // The image count: none, more than there are, or as many as the field holds.
        WriteLittle16(b, 4,
                      random.OneIn(2) ? static_cast<unsigned>(count + 1 + random.Below(4)) : random.InterestingValue());
        return true;
    case 1:
    case 2:
    {
        // An entry's fields: sizes, colours, planes or hot spot, depth, byte count, offset.
        if (entries == 0)
            return false;
        const size_t entry = 6 + 16 * random.Below(entries);
        switch (random.Below(4))
        {
        case 0:
            b[entry + random.Below(4)] = static_cast<unsigned char>(random.OneIn(2) ? 0 : random.Below(256));
            break;
        case 1:
            WriteLittle16(b, entry + 4 + 2 * random.Below(2), random.InterestingValue());
            break;
        case 2:
            WriteLittle32(b, entry + 8, ExtremeFor(random, ReadLittle32(b, entry + 8)));
            break;
        default:
            WriteLittle32(b, entry + 12, ExtremeFor(random, ReadLittle32(b, entry + 12)));
            break;
        }
        return true;
    }
    case 3:
    {
        // An image's own header: a packed DIB's fields, or a PNG's chunks (whose checksums are made right here).
        if (entries == 0)
            return false;
        const size_t entry = 6 + 16 * random.Below(entries);
        const size_t offset = ReadLittle32(b, entry + 12);
        const size_t size = ReadLittle32(b, entry + 8);
        if (offset >= b.size())
            return false;
        Bytes image = Slice(b, offset, size);
        if (IsPng(image))
        {
            if (!EditPng(image, random))
                return false;
            RepairPngChecksums(image);
            Replace(b, offset, size, image);
            WriteLittle32(b, entry + 8, static_cast<uint32_t>(image.size()));
            return true;
        }
        return EditDibHeader(b, offset, random);
    }
    case 4:
    {
        // An entry repeated, with the count to match.
        if (entries == 0 || entries >= 0xFFFF)
            return false;
        const size_t entry = 6 + 16 * random.Below(entries);
        const size_t times = std::min<size_t>(random.Count(300), 0xFFFF - count);
        const Bytes piece = Slice(b, entry, 16);
        Bytes repeated;
        for (size_t i = 0; i < times; ++i)
            repeated.insert(repeated.end(), piece.begin(), piece.end());
        Replace(b, entry, 0, repeated);
        WriteLittle16(b, 4, static_cast<unsigned>(count + times));
        // The images moved on by what was inserted.
        for (size_t i = 0; i < count + times && 6 + 16 * i + 16 <= b.size(); ++i)
            WriteLittle32(b, 6 + 16 * i + 12, ReadLittle32(b, 6 + 16 * i + 12) + static_cast<uint32_t>(16 * times));
        return true;
    }
    default:
        // Icon made cursor and back, or a type no reader knows.
        b[2] = static_cast<unsigned char>(random.OneIn(4) ? random.Below(256) : (b[2] == 1 ? 2 : 1));
        return true;
    }
}

// ---- JPEG -----------------------------------------------------------------------------------------------------------

inline bool IsJpeg(const Bytes& b)
{
    return b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF;
}

struct JpegSegment
{
    size_t at = 0;  // where its FF marker is
    unsigned char marker = 0;
    unsigned length = 0;  // the length field (which counts itself)
};

// The segments from the start up to the scan's data.
inline std::vector<JpegSegment> JpegSegments(const Bytes& b)
{
    std::vector<JpegSegment> segments;
    size_t at = 2;
    while (at + 4 <= b.size() && b[at] == 0xFF && segments.size() < 10000)
    {
        JpegSegment segment;
        segment.at = at;
        segment.marker = b[at + 1];
        segment.length = ReadBig16(b, at + 2);
        segments.push_back(segment);
        if (segment.marker == 0xDA || segment.length < 2)
            break;
        at += 2 + segment.length;
    }
    return segments;
}

inline bool EditJpeg(Bytes& b, Random& random)
{
    const std::vector<JpegSegment> segments = JpegSegments(b);
    if (segments.empty())
        return false;
    const JpegSegment segment = random.Pick(segments);
    switch (random.Below(6))
    {
    case 0:
    case 1:
    {
        // The frame header: precision, height, width, component count.
        for (const JpegSegment& s : segments)
        {
            if (s.marker < 0xC0 || s.marker > 0xCF || s.marker == 0xC4 || s.marker == 0xC8 || s.marker == 0xCC)
                continue;
            static const unsigned kSides[] = {0, 1, 0xFFFF, 0x4000, 0x4001, 0x8000, 0x7FFF, 0x2000};
            switch (random.Below(4))
            {
            case 0:
                b[s.at + 4] = static_cast<unsigned char>(random.OneIn(2) ? 12 : random.Below(256));
                break;
            case 1:
                WriteBig16(b, s.at + 5, random.Pick(kSides));
                break;
            case 2:
                WriteBig16(b, s.at + 7, random.Pick(kSides));
                break;
            default:
                if (s.at + 9 < b.size())
                    b[s.at + 9] = static_cast<unsigned char>(random.OneIn(2) ? 0 : random.Below(256));
                break;
            }
            return true;
        }
        return false;
    }
    case 2:
        // A segment's length field.
        WriteBig16(b, segment.at + 2, ExtremeFor(random, segment.length) & 0xFFFF);
        return true;
    case 3:
    {
        // A segment repeated.
        const Bytes piece = Slice(b, segment.at, 2 + segment.length);
        Bytes repeated;
        for (size_t n = random.Count(200); n > 0 && b.size() + repeated.size() + piece.size() <= Mutator::kMaxSize; --n)
            repeated.insert(repeated.end(), piece.begin(), piece.end());
        Replace(b, segment.at, 0, repeated);
        return true;
    }
    case 4:
    {
        // Bytes inside a segment: table ids, counts, component ids and factors.
        if (segment.length <= 2)
            return false;
        b[std::min(b.size() - 1, segment.at + 4 + random.Below(segment.length - 2))] =
            static_cast<unsigned char>(random.OneIn(2) ? random.Below(256) : 0xFF);
        return true;
    }
    default:
        // The scan's data cut short, or a marker inside it.
        if (segments.back().marker != 0xDA)
            return false;
        {
            const size_t scan = segments.back().at + 2 + segments.back().length;
            if (scan >= b.size())
                return false;
            const size_t at = scan + random.Below(b.size() - scan);
            if (random.OneIn(2))
                b.resize(at);
            else
                Replace(b, at, 0, {0xFF, static_cast<unsigned char>(0xC0 + random.Below(64))});
        }
        return true;
    }
}

// ---- By format ------------------------------------------------------------------------------------------------------

// The edit of the input's format, told by its first bytes.
inline bool EditImage(Bytes& b, Random& random)
{
    if (IsPng(b))
        return EditPng(b, random);
    if (IsGif(b))
        return EditGif(b, random);
    if (IsBmp(b))
        return EditBmp(b, random);
    if (IsIconFile(b))
        return EditIconFile(b, random);
    if (IsJpeg(b))
        return EditJpeg(b, random);
    return false;
}

inline void RepairImage(Bytes& b)
{
    RepairPngChecksums(b);
}

}  // namespace fuzz
