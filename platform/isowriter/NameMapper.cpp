#include "isowriter/NameMapper.h"

#include <algorithm>
#include <cstring>

namespace osm::iso {

namespace {

// The d-character each ASCII character becomes: letters in upper case, digits and '_' as they are, '.' and
// ' ' as they are where the caller keeps them, anything else '_'.
struct DCharacterTable
{
    char of[128];
    constexpr DCharacterTable(bool keepDots, bool keepSpaces) : of()
    {
        for (int c = 0; c < 128; ++c)
            of[c] = c >= 'a' && c <= 'z'                                           ? static_cast<char>(c - 'a' + 'A')
                    : (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ? static_cast<char>(c)
                    : (c == '.' && keepDots) || (c == ' ' && keepSpaces)           ? static_cast<char>(c)
                                                                                   : '_';
    }
};
// By [keepDots][keepSpaces].
constexpr DCharacterTable kDCharacters[2][2] = {{DCharacterTable(false, false), DCharacterTable(false, true)},
                                                {DCharacterTable(true, false), DCharacterTable(true, true)}};

// One d-character per character of the name into out (room for name.size()); a surrogate pair is one
// character. Returns how many were written.
std::size_t toDCharacters(std::u16string_view name, bool keepDots, bool keepSpaces, char* out)
{
    const char* table = kDCharacters[keepDots][keepSpaces].of;
    std::size_t n = 0;
    for (std::size_t i = 0; i < name.size(); ++i)
    {
        const char16_t c = name[i];
        if (c < 0x80)
            out[n++] = table[c];
        else
        {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
                ++i;
            out[n++] = '_';
        }
    }
    return n;
}

std::string toDCharacters(std::u16string_view name, bool keepDots, bool keepSpaces)
{
    std::string out(name.size(), '\0');
    out.resize(toDCharacters(name, keepDots, keepSpaces, &out[0]));
    return out;
}

template <class Str> void splitExtension(const Str& name, bool isDirectory, Str& stem, Str& extension)
{
    const auto dot = isDirectory ? Str::npos : name.rfind(static_cast<typename Str::value_type>('.'));
    if (dot == Str::npos || dot == 0)
    {
        stem = name;
        extension.clear();
    }
    else
    {
        stem = name.substr(0, dot);
        extension = name.substr(dot + 1);
    }
}

template <class Str> Str variant(const Str& name, unsigned n, bool isDirectory, std::size_t limit)
{
    Str stem, extension;
    splitExtension(name, isDirectory, stem, extension);
    Str suffix;
    for (char c : "_" + std::to_string(n))
        suffix.push_back(static_cast<typename Str::value_type>(c));
    Str tail = extension.empty() ? Str() : Str(1, static_cast<typename Str::value_type>('.')) + extension;
    if (suffix.size() + tail.size() > limit)  // an extension too long to keep any stem
        tail = tail.substr(0, limit - suffix.size());
    const std::size_t room = limit - suffix.size() - tail.size();
    if (stem.size() > room)
        stem.resize(room);
    return stem + suffix + tail;
}

// Whether each ASCII character stands in a Joliet name as it is.
struct JolietKeepsTable
{
    bool keeps[128];
    constexpr JolietKeepsTable() : keeps()
    {
        for (int c = 0; c < 128; ++c)
            keeps[c] = !NameMapper::jolietReplaces(static_cast<char16_t>(c));
    }
};
constexpr JolietKeepsTable kJolietKeeps;

// The ISO9660 identifier of any name (identifiers() takes the common ones without it).
IsoName mappedIsoIdentifier(std::u16string_view name, bool isDirectory)
{
    constexpr std::size_t kIsoLength = NameMapper::kIsoLength;
    // The whole name is mapped first: its last dot decides the extension wherever the cut falls. Names of
    // ordinary length are mapped on the stack.
    char local[256];
    std::string large;
    char* mapped = local;
    if (name.size() > sizeof local)
    {
        large.resize(name.size());
        mapped = &large[0];
    }
    const std::size_t length = toDCharacters(name, !isDirectory, false, mapped);
    if (isDirectory)
        return length == 0 ? IsoName("_") : IsoName(std::string_view(mapped, length));

    std::size_t dot = length;
    while (dot > 0 && mapped[dot - 1] != '.')
        --dot;
    dot = dot == 0 ? std::string_view::npos : dot - 1;
    // Most names have a stem and an extension that fit as they are: only the stem's dots change.
    const bool split = dot != std::string_view::npos && dot != 0;
    const std::size_t stemEnd = split ? dot : length;
    for (std::size_t i = 0; i < stemEnd; ++i)
        if (mapped[i] == '.')
            mapped[i] = '_';
    if (split && dot + 1 < length && length <= kIsoLength)
        return IsoName(std::string_view(mapped, length));

    std::string_view stem(mapped, stemEnd);
    std::string_view extension = split ? std::string_view(mapped + dot + 1, length - dot - 1) : std::string_view();
    if (stem.empty())
        stem = "_";
    if (extension.empty())
        return IsoName(stem);  // cut at the limit
    if (stem.size() + 1 + extension.size() > kIsoLength)
    {
        // Keep up to 8 characters of stem when the extension is very long, else keep the extension whole.
        const std::size_t stemKeep = std::min<std::size_t>(stem.size(), 8);
        if (extension.size() > kIsoLength - 1 - stemKeep)
            extension = extension.substr(0, kIsoLength - 1 - stemKeep);
        stem = stem.substr(0, std::min(stem.size(), kIsoLength - 1 - extension.size()));
    }
    char joined[kIsoLength];
    std::memcpy(joined, stem.data(), stem.size());
    joined[stem.size()] = '.';
    std::memcpy(joined + stem.size() + 1, extension.data(), extension.size());
    return IsoName(std::string_view(joined, stem.size() + 1 + extension.size()));
}

}  // namespace

NameMapper::Identifiers NameMapper::identifiers(std::u16string_view name, bool isDirectory)
{
    // Most names are short ASCII ones with at most one dot, neither first nor last: both identifiers come
    // from one pass over them.
    if (!name.empty() && name.size() <= kIsoLength)
    {
        const char* table = kDCharacters[!isDirectory][false].of;
        char out[kIsoLength];
        std::size_t dots = 0, lastDot = 0;
        bool keeps = true, ascii = true;
        for (std::size_t i = 0; i < name.size(); ++i)
        {
            const char16_t c = name[i];
            if (c >= 0x80)
            {
                ascii = false;
                break;
            }
            out[i] = table[c];
            keeps &= kJolietKeeps.keeps[c];
            if (c == u'.')
            {
                ++dots;
                lastDot = i;
            }
        }
        // A folder's dots are '_' already.
        if (ascii && (isDirectory || dots == 0 || (dots == 1 && lastDot != 0 && lastDot + 1 < name.size())))
            return {IsoName(std::string_view(out, name.size())), keeps};
    }
    return {mappedIsoIdentifier(name, isDirectory), isJolietName(name)};
}

IsoName NameMapper::isoIdentifier(std::u16string_view name, bool isDirectory)
{
    return identifiers(name, isDirectory).iso;
}

std::u16string NameMapper::jolietName(std::u16string_view name)
{
    // Joliet is UCS-2: a character beyond the Basic Multilingual Plane (a surrogate pair) becomes one '_',
    // as strict readers reject a whole directory over one pair.
    std::u16string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i)
    {
        const char16_t c = name[i];
        if (c >= 0xD800 && c <= 0xDFFF)
        {
            if (c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
                ++i;
            out.push_back(u'_');
        }
        else if (c < 0x20 || c == u'*' || c == u'/' || c == u':' || c == u';' || c == u'?' || c == u'\\')
        {
            out.push_back(u'_');
        }
        else
        {
            out.push_back(c);
        }
    }
    return out;
}

std::string NameMapper::isoVariant(std::string_view isoName, unsigned n, bool isDirectory)
{
    return variant(std::string(isoName), n, isDirectory, kIsoLength);
}

std::u16string NameMapper::jolietVariant(const std::u16string& jolietName, unsigned n, bool isDirectory)
{
    return variant(jolietName, n, isDirectory, kJolietLength);
}

std::u16string NameMapper::jolietKey(const std::u16string& jolietName)
{
    std::u16string key = jolietName;
    for (auto& c : key)
        c = jolietFold(c);
    return key;
}

NameMapper::IsoSortKey NameMapper::isoSortKey(std::string_view isoName)
{
    const std::size_t dot = isoName.rfind('.');
    const std::size_t stem = dot == std::string_view::npos || dot == 0 ? isoName.size() : dot;
    return {isoName.data(), isoName.size(), stem, stem < isoName.size() ? stem + 1 : isoName.size()};
}

namespace {

// Eight characters as one number whose order is theirs.
std::uint64_t bigEndian(const char* text)
{
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::uint64_t value;
    std::memcpy(&value, text, sizeof value);
    return __builtin_bswap64(value);
#else
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value = value << 8 | static_cast<unsigned char>(text[i]);
    return value;
#endif
}

}  // namespace

NameMapper::IsoOrderKey NameMapper::isoOrderKey(std::string_view isoName, std::uint32_t item)
{
    // Stem and extension split as isoSortKey splits them.
    const auto [text, length, stem, extension] = isoSortKey(isoName);
    char packed[24];
    std::memset(packed, ' ', sizeof packed);
    const std::size_t stemKept = std::min<std::size_t>(stem, 16);
    const std::size_t extensionKept = std::min<std::size_t>(length - extension, 8);
    for (std::size_t i = 0; i < stemKept; ++i)
        packed[i] = text[i];
    for (std::size_t i = 0; i < extensionKept; ++i)
        packed[16 + i] = text[extension + i];
    IsoOrderKey key;
    key.stem[0] = bigEndian(packed);
    key.stem[1] = bigEndian(packed + 8);
    key.extension = bigEndian(packed + 16);
    key.item = item;
    key.whole = stem <= 16 && length - extension <= 8;
    return key;
}

std::string NameMapper::volumeId(const std::u16string& label)
{
    // Spaces are common in labels and harmless to readers; keep them rather than '_'.
    std::string out = toDCharacters(label, false, true);
    if (out.size() > kVolumeIdLength)
        out.resize(kVolumeIdLength);
    return out;
}

std::string NameMapper::primaryText(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text)
        out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '_');
    return out;
}

}  // namespace osm::iso
