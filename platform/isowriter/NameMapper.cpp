#include "isowriter/NameMapper.h"

#include <algorithm>
#include <cstring>

namespace osm::iso {

namespace {

// One d-character per character of the name; a surrogate pair is one character.
std::string toDCharacters(const std::u16string& name, bool keepDots, bool keepSpaces = false)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i)
    {
        const char16_t c = name[i];
        if (c >= u'a' && c <= u'z')
            out.push_back(static_cast<char>(c - u'a' + 'A'));
        else if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_')
            out.push_back(static_cast<char>(c));
        else if ((c == u'.' && keepDots) || (c == u' ' && keepSpaces))
            out.push_back(static_cast<char>(c));
        else
        {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
                ++i;
            out.push_back('_');
        }
    }
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

}  // namespace

std::string NameMapper::isoName(const std::u16string& name, bool isDirectory)
{
    if (isDirectory)
    {
        std::string out = toDCharacters(name, false);
        if (out.size() > kIsoLength)
            out.resize(kIsoLength);
        return out.empty() ? "_" : out;
    }
    std::string mapped = toDCharacters(name, true);
    // Most names have a stem and an extension that fit as they are: only the stem's dots change.
    const std::size_t dot = mapped.rfind('.');
    if (dot != std::string::npos && dot != 0 && dot + 1 < mapped.size() && mapped.size() <= kIsoLength)
    {
        std::replace(mapped.begin(), mapped.begin() + static_cast<std::ptrdiff_t>(dot), '.', '_');
        return mapped;
    }
    std::string stem, extension;
    splitExtension(mapped, false, stem, extension);
    for (auto& c : stem)
        if (c == '.')
            c = '_';
    if (stem.empty())
        stem = "_";
    if (extension.empty())
    {
        if (stem.size() > kIsoLength)
            stem.resize(kIsoLength);
        return stem;
    }
    if (stem.size() + 1 + extension.size() > kIsoLength)
    {
        // Keep up to 8 characters of stem when the extension is very long, else keep the extension whole.
        const std::size_t stemKeep = std::min<std::size_t>(stem.size(), 8);
        if (extension.size() > kIsoLength - 1 - stemKeep)
            extension.resize(kIsoLength - 1 - stemKeep);
        stem.resize(std::min(stem.size(), kIsoLength - 1 - extension.size()));
    }
    return stem + "." + extension;
}

std::u16string NameMapper::jolietName(const std::u16string& name)
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

bool NameMapper::isJolietName(const std::u16string& name)
{
    for (char16_t c : name)
        if ((c >= 0xD800 && c <= 0xDFFF) || c < 0x20 || c == u'*' || c == u'/' || c == u':' || c == u';' || c == u'?' ||
            c == u'\\')
            return false;
    return true;
}

std::string NameMapper::isoVariant(const std::string& isoName, unsigned n, bool isDirectory)
{
    return variant(isoName, n, isDirectory, kIsoLength);
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

NameMapper::IsoSortKey NameMapper::isoSortKey(const std::string& isoName)
{
    const std::size_t dot = isoName.rfind('.');
    const std::size_t stem = dot == std::string::npos || dot == 0 ? isoName.size() : dot;
    return {isoName.data(), isoName.size(), stem, stem < isoName.size() ? stem + 1 : isoName.size()};
}

bool NameMapper::jolietLess(const std::u16string& a, const std::u16string& b)
{
    return a < b;
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
