#include "ImageFuzzCorpus.h"

#include "FuzzImageFormats.h"
#include "ImageTestSupport.h"

#include "platform/classlib/RefPtr.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>

namespace image_test {

namespace {

using fuzz::Bytes;

// ---- PNG ----------------------------------------------------------------------------------------------------------

Bytes Compressed(const std::string& text)
{
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

Bytes TextChunk(const std::string& keyword, const std::string& text)
{
    Bytes data(keyword.begin(), keyword.end());
    data.push_back(0);
    data.insert(data.end(), text.begin(), text.end());
    return fuzz::PngChunkBytes("tEXt", data);
}

Bytes CompressedTextChunk(const std::string& keyword, const std::string& text)
{
    Bytes data(keyword.begin(), keyword.end());
    data.insert(data.end(), {0, 0});
    const Bytes compressed = Compressed(text);
    data.insert(data.end(), compressed.begin(), compressed.end());
    return fuzz::PngChunkBytes("zTXt", data);
}

Bytes InternationalTextChunk(const std::string& keyword, const std::string& text, bool compress)
{
    Bytes data(keyword.begin(), keyword.end());
    data.insert(data.end(), {0, static_cast<unsigned char>(compress ? 1 : 0), 0});
    data.insert(data.end(), {'d', 'e', 0});
    const std::string translated = "Titel";
    data.insert(data.end(), translated.begin(), translated.end());
    data.push_back(0);
    const Bytes body = compress ? Compressed(text) : Bytes(text.begin(), text.end());
    data.insert(data.end(), body.begin(), body.end());
    return fuzz::PngChunkBytes("iTXt", data);
}

// A PNG libpng wrote, with chunks added after its header and before its end.
Bytes WithChunks(Bytes png, const std::vector<Bytes>& afterHeader, const std::vector<Bytes>& beforeEnd)
{
    const std::vector<fuzz::PngChunk> chunks = fuzz::PngChunks(png);
    if (chunks.size() < 3 || chunks.front().type != "IHDR" || chunks.back().type != "IEND")
        return {};
    Bytes tail;
    for (const Bytes& chunk : beforeEnd)
        tail.insert(tail.end(), chunk.begin(), chunk.end());
    png.insert(png.begin() + static_cast<std::ptrdiff_t>(chunks.back().at), tail.begin(), tail.end());
    Bytes head;
    for (const Bytes& chunk : afterHeader)
        head.insert(head.end(), chunk.begin(), chunk.end());
    png.insert(png.begin() + static_cast<std::ptrdiff_t>(chunks.front().at + 12 + chunks.front().length), head.begin(),
               head.end());
    return png;
}

// The image data cut into chunks of `size` bytes.
Bytes WithImageDataSplit(const Bytes& png, size_t size)
{
    Bytes out(png.begin(), png.begin() + 8);
    for (const fuzz::PngChunk& chunk : fuzz::PngChunks(png))
    {
        const Bytes data = fuzz::Slice(png, chunk.at + 8, chunk.length);
        if (chunk.type != "IDAT")
        {
            const Bytes whole = fuzz::PngChunkBytes(chunk.type, data);
            out.insert(out.end(), whole.begin(), whole.end());
            continue;
        }
        for (size_t at = 0; at < data.size(); at += size)
        {
            const Bytes piece = fuzz::PngChunkBytes("IDAT", fuzz::Slice(data, at, size));
            out.insert(out.end(), piece.begin(), piece.end());
        }
    }
    return out;
}

PngSpec Rgba(int width, int height, int depth = 8)
{
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bitDepth = depth;
    spec.colorType = PNG_COLOR_TYPE_RGBA;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            for (int c = 0; c < 4 * depth / 8; ++c)
                spec.rows.push_back(static_cast<BYTE>(c % (depth / 8) == 0 ? (x * 37 + y * 11 + c * 50) : 0x80));
        }
    }
    return spec;
}

void AddPngs(std::vector<ImageCorpusEntry>& corpus)
{
    const std::string words = "A picture made for the image loader's bad-input harness, with words to read.";
    Bytes time = {0x07, 0xEA, 12, 11, 10, 9, 8};
    Bytes gamma;
    fuzz::AppendBig32(gamma, 45455);
    Bytes physical;
    fuzz::AppendBig32(physical, 2835);
    fuzz::AppendBig32(physical, 2835);
    physical.push_back(1);

    corpus.push_back(
        {"png rgba with text",
         WithChunks(WritePng(Rgba(4, 4)),
                    {fuzz::PngChunkBytes("gAMA", gamma), TextChunk("Title", words),
                     CompressedTextChunk("Comment", words + words + words),
                     InternationalTextChunk("Description", words, true), fuzz::PngChunkBytes("prVt", Bytes(24, 0x5A))},
                    {InternationalTextChunk("Author", "Osmira", false), fuzz::PngChunkBytes("tIME", time)})});

    PngSpec palette;
    palette.width = 8;
    palette.height = 2;
    palette.bitDepth = 2;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    palette.transparency = {0, 128};
    palette.rows = {0x1B, 0xE4, 0xE4, 0x1B};
    corpus.push_back({"png palette, text after the image",
                      WithChunks(WritePng(palette), {fuzz::PngChunkBytes("pHYs", physical)},
                                 {TextChunk("Software", "Osmira"), CompressedTextChunk("Warning", words),
                                  fuzz::PngChunkBytes("vpAg", Bytes(9, 1))})});

    PngSpec grey;
    grey.width = 3;
    grey.height = 3;
    grey.bitDepth = 16;
    grey.colorType = PNG_COLOR_TYPE_GRAY;
    grey.interlaced = true;
    grey.rows.assign(18, 0x7F);
    corpus.push_back({"png grey 16-bit interlaced", WritePng(grey)});

    PngSpec greyAlpha;
    greyAlpha.width = 5;
    greyAlpha.height = 3;
    greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    for (int i = 0; i < 15; ++i)
        greyAlpha.rows.insert(greyAlpha.rows.end(), {static_cast<BYTE>(i * 17), static_cast<BYTE>(255 - i * 9)});
    corpus.push_back({"png grey and alpha, many data chunks", WithImageDataSplit(WritePng(greyAlpha), 5)});

    PngSpec rgb16 = Rgba(3, 2, 16);
    rgb16.colorType = PNG_COLOR_TYPE_RGB;
    rgb16.rows.clear();
    for (int i = 0; i < 3 * 2 * 3; ++i)
        rgb16.rows.insert(rgb16.rows.end(), {static_cast<BYTE>(i * 13), 0x40});
    rgb16.hasBackground = true;
    rgb16.background.red = rgb16.background.green = rgb16.background.blue = 0x8000;
    corpus.push_back(
        {"png rgb 16-bit with a background", WithChunks(WritePng(rgb16), {TextChunk("Source", words)}, {})});

    PngSpec grey1;
    grey1.width = 9;
    grey1.height = 2;
    grey1.bitDepth = 1;
    grey1.colorType = PNG_COLOR_TYPE_GRAY;
    grey1.rows = {0xAA, 0x80, 0x55, 0x00};
    corpus.push_back({"png grey 1-bit", WritePng(grey1)});
}

// ---- Bitmaps ------------------------------------------------------------------------------------------------------

struct DibSpec
{
    int width = 1;
    int height = 1;
    WORD bits = 24;
    DWORD compression = BI_RGB;
    DWORD headerSize = 40;
    std::vector<DWORD> palette;  // 0x00RRGGBB
    std::vector<DWORD> masks;    // red, green, blue (and alpha)
    Bytes pixels;
    bool topDown = false;
};

size_t Stride(int width, int bits)
{
    return (static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32 * 4;
}

// Rows of a pattern, as many bytes as the depth takes.
Bytes PatternRows(int width, int height, int bits)
{
    Bytes rows(Stride(width, bits) * static_cast<size_t>(height));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<unsigned char>(i * 29 + (i / 7) * 3);
    return rows;
}

// The info header and what follows it up to the pixels: masks and colours.
Bytes DibHead(const DibSpec& spec, int storedHeight)
{
    Bytes out;
    if (spec.headerSize == 12)
    {
        AppendLittle32(out, 12);
        AppendLittle16(out, static_cast<WORD>(spec.width));
        AppendLittle16(out, static_cast<WORD>(storedHeight));
        AppendLittle16(out, 1);
        AppendLittle16(out, spec.bits);
        for (DWORD colour : spec.palette)
            out.insert(out.end(),
                       {static_cast<BYTE>(colour), static_cast<BYTE>(colour >> 8), static_cast<BYTE>(colour >> 16)});
        return out;
    }
    AppendLittle32(out, spec.headerSize);
    AppendLittle32(out, static_cast<DWORD>(spec.width));
    AppendLittle32(out, static_cast<DWORD>(spec.topDown ? -storedHeight : storedHeight));
    AppendLittle16(out, 1);
    AppendLittle16(out, spec.bits);
    AppendLittle32(out, spec.compression);
    AppendLittle32(out, static_cast<DWORD>(spec.pixels.size()));
    AppendLittle32(out, 2835);
    AppendLittle32(out, 2835);
    AppendLittle32(out, static_cast<DWORD>(spec.palette.size()));
    AppendLittle32(out, 0);
    // Masks inside the larger headers, or after the 40-byte one.
    for (size_t i = 0; i < 4 && out.size() < spec.headerSize; ++i)
        AppendLittle32(out, i < spec.masks.size() ? spec.masks[i] : 0);
    if (spec.headerSize >= 108)
    {
        out.insert(out.end(), {'B', 'G', 'R', 's'});  // LCS_sRGB
        while (out.size() < spec.headerSize)
            out.push_back(0);
    }
    if (spec.headerSize == 40 && spec.compression == BI_BITFIELDS)
    {
        for (size_t i = 0; i < 3; ++i)
            AppendLittle32(out, spec.masks[i]);
    }
    for (DWORD colour : spec.palette)
        AppendLittle32(out, colour);
    return out;
}

Bytes BitmapFileOf(const DibSpec& spec)
{
    const Bytes head = DibHead(spec, spec.height);
    Bytes out = {'B', 'M'};
    AppendLittle32(out, static_cast<DWORD>(14 + head.size() + spec.pixels.size()));
    AppendLittle32(out, 0);
    AppendLittle32(out, static_cast<DWORD>(14 + head.size()));
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), spec.pixels.begin(), spec.pixels.end());
    return out;
}

void AddBitmaps(std::vector<ImageCorpusEntry>& corpus)
{
    const std::vector<DWORD> two = {0x000000, 0xFFFFFF};
    const std::vector<DWORD> sixteen = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::vector<DWORD> grey256;
    for (DWORD i = 0; i < 256; ++i)
        grey256.push_back(i * 0x010101);

    DibSpec spec;
    spec = {};
    spec.width = 13;
    spec.height = 5;
    spec.bits = 1;
    spec.palette = two;
    spec.pixels = PatternRows(13, 5, 1);
    corpus.push_back({"bmp 1-bit", BitmapFileOf(spec)});

    spec = {};
    spec.width = 7;
    spec.height = 4;
    spec.bits = 4;
    spec.palette = sixteen;
    spec.pixels = PatternRows(7, 4, 4);
    corpus.push_back({"bmp 4-bit", BitmapFileOf(spec)});

    // Runs, an absolute run (word-aligned), a delta, end of line and end of bitmap.
    spec = {};
    spec.width = 16;
    spec.height = 4;
    spec.bits = 4;
    spec.compression = BI_RLE4;
    spec.palette = sixteen;
    spec.pixels = {16, 0x12, 0, 0, 0, 4, 0x34, 0x56, 12, 0x78, 0, 0, 0, 2, 4, 0, 8, 0x9A, 0, 0, 16, 0xBC, 0, 1};
    corpus.push_back({"bmp 4-bit run-length", BitmapFileOf(spec)});

    spec = {};
    spec.width = 9;
    spec.height = 3;
    spec.bits = 8;
    spec.palette = grey256;
    spec.pixels = PatternRows(9, 3, 8);
    corpus.push_back({"bmp 8-bit", BitmapFileOf(spec)});

    spec = {};
    spec.width = 16;
    spec.height = 4;
    spec.bits = 8;
    spec.compression = BI_RLE8;
    spec.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    spec.pixels = {16, 1, 0, 0, 8, 2, 0, 4, 1, 2, 3, 1, 4, 3, 0, 0, 0, 2, 3, 0, 13, 2, 0, 0, 16, 3, 0, 1};
    corpus.push_back({"bmp 8-bit run-length", BitmapFileOf(spec)});

    spec = {};
    spec.width = 5;
    spec.height = 3;
    spec.bits = 16;
    spec.pixels = PatternRows(5, 3, 16);
    corpus.push_back({"bmp 16-bit 5-5-5", BitmapFileOf(spec)});

    spec.compression = BI_BITFIELDS;
    spec.masks = {0xF800, 0x07E0, 0x001F};
    corpus.push_back({"bmp 16-bit 5-6-5 masks", BitmapFileOf(spec)});

    spec = {};
    spec.width = 6;
    spec.height = 3;
    spec.pixels = PatternRows(6, 3, 24);
    corpus.push_back({"bmp 24-bit", BitmapFileOf(spec)});
    spec.topDown = true;
    corpus.push_back({"bmp 24-bit top-down", BitmapFileOf(spec)});
    spec.topDown = false;
    spec.headerSize = 12;
    corpus.push_back({"bmp 24-bit core header", BitmapFileOf(spec)});

    spec = {};
    spec.width = 4;
    spec.height = 2;
    spec.bits = 8;
    spec.headerSize = 12;
    spec.palette = grey256;  // a core header has no colour count: the table is always full
    spec.pixels = {0, 1, 2, 3, 255, 254, 253, 252};
    corpus.push_back({"bmp 8-bit core header", BitmapFileOf(spec)});

    spec = {};
    spec.width = 48;
    spec.height = 16;
    spec.bits = 32;
    for (int y = 0; y < 16; ++y)
    {
        for (int x = 0; x < 48; ++x)
        {
            const BYTE alpha = static_cast<BYTE>(x == 0 ? 0x40 : 0xFF);
            spec.pixels.insert(spec.pixels.end(),
                               {static_cast<BYTE>(0x80 * alpha / 255), static_cast<BYTE>(y * 255 / 16 * alpha / 255),
                                static_cast<BYTE>(x * 255 / 48 * alpha / 255), alpha});
        }
    }
    corpus.push_back({"bmp 32-bit strip", BitmapFileOf(spec)});

    spec.width = 8;
    spec.height = 4;
    spec.pixels.resize(8 * 4 * 4);
    spec.compression = BI_BITFIELDS;
    spec.headerSize = 124;
    spec.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    corpus.push_back({"bmp 32-bit V5 header with masks", BitmapFileOf(spec)});
}

// ---- Icons and cursors ----------------------------------------------------------------------------------------------

struct IconImageSpec
{
    int side = 16;
    WORD bits = 32;
    Bytes data;  // the packed DIB (colour rows and mask) or a PNG
    int colours = 0;
};

// A packed DIB of an icon image: the header counts the colour and the mask rows.
IconImageSpec IconDib(int side, WORD bits)
{
    IconImageSpec image;
    image.side = side;
    image.bits = bits;
    DibSpec spec;
    spec.width = side;
    spec.height = side;
    spec.bits = bits;
    if (bits <= 8)
    {
        for (DWORD i = 0; i < (1u << bits); ++i)
            spec.palette.push_back(i * 0x030507);
        image.colours = bits < 8 ? 1 << bits : 0;
    }
    spec.pixels = PatternRows(side, side, bits);
    if (bits == 32)
    {
        for (size_t i = 3; i < spec.pixels.size(); i += 4)
            spec.pixels[i] = static_cast<unsigned char>(i % 5 == 0 ? 0 : 0xFF);
    }
    image.data = DibHead(spec, side * 2);
    image.data.insert(image.data.end(), spec.pixels.begin(), spec.pixels.end());
    image.data.insert(image.data.end(), Stride(side, 1) * static_cast<size_t>(side), 0);
    return image;
}

Bytes IconFileOf(const std::vector<IconImageSpec>& images, bool cursor)
{
    Bytes out;
    AppendLittle16(out, 0);
    AppendLittle16(out, cursor ? 2 : 1);
    AppendLittle16(out, static_cast<WORD>(images.size()));
    DWORD offset = static_cast<DWORD>(6 + 16 * images.size());
    for (const IconImageSpec& image : images)
    {
        out.push_back(static_cast<BYTE>(image.side >= 256 ? 0 : image.side));
        out.push_back(static_cast<BYTE>(image.side >= 256 ? 0 : image.side));
        out.push_back(static_cast<BYTE>(image.colours));
        out.push_back(0);
        AppendLittle16(out, cursor ? static_cast<WORD>(image.side / 2) : 1);
        AppendLittle16(out, cursor ? static_cast<WORD>(image.side / 3) : image.bits);
        AppendLittle32(out, static_cast<DWORD>(image.data.size()));
        AppendLittle32(out, offset);
        offset += static_cast<DWORD>(image.data.size());
    }
    for (const IconImageSpec& image : images)
        out.insert(out.end(), image.data.begin(), image.data.end());
    return out;
}

void AddIcons(std::vector<ImageCorpusEntry>& corpus)
{
    IconImageSpec large;
    large.side = 256;
    PngSpec spec;
    spec.width = spec.height = 256;
    spec.colorType = PNG_COLOR_TYPE_RGBA;
    spec.rows.assign(256 * 256 * 4, 0);
    for (size_t i = 0; i < spec.rows.size(); i += 4)
        spec.rows[i] = spec.rows[i + 3] = static_cast<BYTE>((i / 4) % 256 < 128 ? 0xFF : 0x40);
    large.data = WritePng(spec);

    corpus.push_back(
        {"icon 8-bit, then 32-bit 16 and 32", IconFileOf({IconDib(16, 8), IconDib(16, 32), IconDib(32, 32)}, false)});
    corpus.push_back({"icon 4-bit, 24-bit, 32-bit and a PNG",
                      IconFileOf({IconDib(16, 4), IconDib(24, 24), IconDib(48, 32), large}, false)});
    corpus.push_back({"cursor of two images", IconFileOf({IconDib(32, 32), IconDib(16, 1)}, true), false});
}

// ---- GIF ------------------------------------------------------------------------------------------------------------

struct GifFrameSpec
{
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    bool localTable = false;
    bool interlaced = false;
    int delay = 10;
};

Bytes GifOf(int width, int height, const std::vector<GifFrameSpec>& frames, bool loop)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    AppendLittle16(out, static_cast<WORD>(width));
    AppendLittle16(out, static_cast<WORD>(height));
    out.insert(out.end(), {0x81, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    if (loop)
        out.insert(out.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
    out.insert(out.end(), {0x21, 0xFE, 3, 'o', 's', 'm', 0});
    for (const GifFrameSpec& frame : frames)
    {
        out.insert(out.end(), {0x21, 0xF9, 4, 0x09, static_cast<BYTE>(frame.delay), 0, 3, 0});
        out.push_back(0x2C);
        AppendLittle16(out, static_cast<WORD>(frame.left));
        AppendLittle16(out, static_cast<WORD>(frame.top));
        AppendLittle16(out, static_cast<WORD>(frame.width));
        AppendLittle16(out, static_cast<WORD>(frame.height));
        out.push_back(static_cast<BYTE>((frame.localTable ? 0x81 : 0) | (frame.interlaced ? 0x40 : 0)));
        if (frame.localTable)
            out.insert(out.end(), {10, 20, 30, 40, 50, 60, 70, 80, 90, 200, 210, 220});
        std::vector<unsigned char> pixels(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height));
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<unsigned char>((i + i / 3) % 4);
        const Bytes data = GifImageData(pixels);
        out.insert(out.end(), data.begin(), data.end());
    }
    out.push_back(0x3B);
    return out;
}

void AddGifs(std::vector<ImageCorpusEntry>& corpus)
{
    corpus.push_back({"gif one frame", GifOf(2, 2, {{0, 0, 2, 2}}, false)});
    corpus.push_back(
        {"gif four frames",
         GifOf(16, 16, {{0, 0, 16, 16}, {2, 3, 8, 4, true}, {10, 6, 4, 8, false, true, 20}, {15, 15, 1, 1}}, true)});
    corpus.push_back(
        {"gif two interlaced frames", GifOf(20, 10, {{0, 0, 20, 10, false, true}, {5, 0, 10, 10, true, true}}, false)});
}

// ---- JPEG -----------------------------------------------------------------------------------------------------------

Bytes JpegOf(int width, int height, bool grey)
{
    IWICImagingFactory* made = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&made))))
        return {};
    const RefPtr<IWICImagingFactory> factory = AdoptRef(made);
    IStream* streamMade = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &streamMade)))
        return {};
    const RefPtr<IStream> stream = AdoptRef(streamMade);
    IWICBitmapEncoder* encoderMade = nullptr;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoderMade)))
        return {};
    const RefPtr<IWICBitmapEncoder> encoder = AdoptRef(encoderMade);
    IWICBitmapFrameEncode* frameMade = nullptr;
    IPropertyBag2* optionsMade = nullptr;
    if (FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frameMade, &optionsMade)))
        return {};
    const RefPtr<IWICBitmapFrameEncode> frame = AdoptRef(frameMade);
    const RefPtr<IPropertyBag2> options = AdoptRef(optionsMade);
    WICPixelFormatGUID format = grey ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat24bppBGR;
    const UINT stride = static_cast<UINT>(Stride(width, grey ? 8 : 24));
    Bytes pixels = PatternRows(width, height, grey ? 8 : 24);
    if (FAILED(frame->Initialize(options.Get())) || FAILED(frame->SetSize(width, height)) ||
        FAILED(frame->SetPixelFormat(&format)) ||
        !IsEqualGUID(format, grey ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat24bppBGR) ||
        FAILED(frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()), pixels.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return {};
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return {};
    Bytes out(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER start{};
    ULONG read = 0;
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(stream->Read(out.data(), static_cast<ULONG>(out.size()), &read)) || read != out.size())
        return {};
    return out;
}

}  // namespace

fuzz::Bytes GifImageData(const std::vector<unsigned char>& pixels)
{
    // Code size 7: clear 128, end 129, codes of 8 bits while fewer than 127 follow a clear.
    const unsigned char kClear = 128;
    const unsigned char kEnd = 129;
    Bytes codes = {kClear};
    size_t sinceClear = 0;
    for (unsigned char pixel : pixels)
    {
        if (sinceClear == 120)
        {
            codes.push_back(kClear);
            sinceClear = 0;
        }
        codes.push_back(static_cast<unsigned char>(pixel & 0x7F));
        ++sinceClear;
    }
    codes.push_back(kEnd);
    Bytes out = {7};
    for (size_t at = 0; at < codes.size(); at += 255)
    {
        const size_t length = std::min<size_t>(255, codes.size() - at);
        out.push_back(static_cast<unsigned char>(length));
        out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(at),
                   codes.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0);
    return out;
}

std::vector<ImageCorpusEntry> MakeImageCorpus()
{
    std::vector<ImageCorpusEntry> corpus;
    AddPngs(corpus);
    AddBitmaps(corpus);
    AddIcons(corpus);
    AddGifs(corpus);
    corpus.push_back({"jpeg colour", JpegOf(16, 8, false)});
    corpus.push_back({"jpeg grey", JpegOf(9, 9, true)});
    return corpus;
}

}  // namespace image_test
