// Writers of the fixed-width numeric and text fields that every on-disc structure is made of.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace osm::iso {

class ByteFields
{
public:
    static void le16(std::uint8_t* out, std::uint16_t v)
    {
        out[0] = static_cast<std::uint8_t>(v);
        out[1] = static_cast<std::uint8_t>(v >> 8);
    }
    static void be16(std::uint8_t* out, std::uint16_t v)
    {
        out[0] = static_cast<std::uint8_t>(v >> 8);
        out[1] = static_cast<std::uint8_t>(v);
    }
    // Spelled out byte by byte (not as a loop): the compiler then joins the four stores into one, which it
    // does not do for a loop, and a directory of a hundred thousand records writes four of these per record.
    static void le32(std::uint8_t* out, std::uint32_t v)
    {
        out[0] = static_cast<std::uint8_t>(v);
        out[1] = static_cast<std::uint8_t>(v >> 8);
        out[2] = static_cast<std::uint8_t>(v >> 16);
        out[3] = static_cast<std::uint8_t>(v >> 24);
    }
    static void be32(std::uint8_t* out, std::uint32_t v)
    {
        out[0] = static_cast<std::uint8_t>(v >> 24);
        out[1] = static_cast<std::uint8_t>(v >> 16);
        out[2] = static_cast<std::uint8_t>(v >> 8);
        out[3] = static_cast<std::uint8_t>(v);
    }
    // Both-byte-order fields: little-endian copy first, then big-endian.
    static void both16(std::uint8_t* out, std::uint16_t v)
    {
        le16(out, v);
        be16(out + 2, v);
    }
    static void both32(std::uint8_t* out, std::uint32_t v)
    {
        le32(out, v);
        be32(out + 4, v);
    }

    // Text in a fixed field, cut at the field's width and padded with spaces.
    static void text(std::uint8_t* out, std::size_t width, const std::string& value)
    {
        for (std::size_t i = 0; i < width; ++i)
            out[i] = i < value.size() ? static_cast<std::uint8_t>(value[i]) : ' ';
    }

    // UCS-2 big-endian text in a fixed field of bytes, padded with UCS-2 spaces; an odd last byte stays 0.
    static void ucs2(std::uint8_t* out, std::size_t width, const std::u16string& value)
    {
        std::size_t chars = width / 2;
        for (std::size_t i = 0; i < chars; ++i)
            be16(out + 2 * i, i < value.size() ? value[i] : u' ');
        if (width % 2)
            out[width - 1] = 0;
    }
};

}  // namespace osm::iso
