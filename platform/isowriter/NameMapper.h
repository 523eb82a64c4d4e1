// File identifiers of the two trees. ISO9660 names are d-characters (A-Z, 0-9, '_'), at most 31 of them,
// with neither ";1" nor a trailing dot: Windows boot loaders look their files up by the bare name.
// Joliet names are the original names in UCS-2, with the few characters Joliet forbids and characters
// beyond UCS-2 replaced by '_'.
#pragma once

#include <cstddef>
#include <string>

namespace osm::iso {

class NameMapper
{
public:
    static constexpr std::size_t kIsoLength = 31;
    static constexpr std::size_t kJolietLength = 103;
    static constexpr std::size_t kVolumeIdLength = 32;

    static std::string isoName(const std::u16string& name, bool isDirectory);
    static std::u16string jolietName(const std::u16string& name);
    // Whether jolietName leaves the name as it is.
    static bool isJolietName(const std::u16string& name);

    // The n-th replacement for a name that collides with another: "_n" before the extension, the stem
    // shortened so the limit still holds.
    static std::string isoVariant(const std::string& isoName, unsigned n, bool isDirectory);
    static std::u16string jolietVariant(const std::u16string& jolietName, unsigned n, bool isDirectory);

    // Key under which Joliet names collide: Windows compares names without case.
    static std::u16string jolietKey(const std::u16string& jolietName);
    // One character of that key.
    static char16_t jolietFold(char16_t c)
    {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    }

    // Record order: ISO9660 compares stem and extension separately, each padded with spaces.
    static bool isoLess(const std::string& a, const std::string& b) { return isoLess(isoSortKey(a), isoSortKey(b)); }
    // The same order, with the stem found once per name: the layout sorts every folder with this.
    struct IsoSortKey
    {
        const char* name;
        std::size_t length;
        std::size_t stem;       // the stem's length
        std::size_t extension;  // where the extension starts (length when there is none)
    };
    static IsoSortKey isoSortKey(const std::string& isoName);
    static bool isoLess(const IsoSortKey& a, const IsoSortKey& b)
    {
        const int byStem = paddedCompare(a.name, a.stem, b.name, b.stem);
        if (byStem != 0)
            return byStem < 0;
        return paddedCompare(a.name + a.extension, a.length - a.extension, b.name + b.extension,
                             b.length - b.extension) < 0;
    }
    static bool jolietLess(const std::u16string& a, const std::u16string& b);

    // Byte order, the shorter text counting as padded with spaces.
    static int paddedCompare(const char* x, std::size_t xn, const char* y, std::size_t yn)
    {
        const std::size_t common = xn < yn ? xn : yn;
        for (std::size_t i = 0; i < common; ++i)
            if (x[i] != y[i])
                return static_cast<unsigned char>(x[i]) < static_cast<unsigned char>(y[i]) ? -1 : 1;
        // Past the common length the longer text decides by its first character that is not a space.
        const bool xLonger = xn > yn;
        const char* rest = xLonger ? x : y;
        for (std::size_t i = common; i < (xLonger ? xn : yn); ++i)
            if (rest[i] != ' ')
                return (static_cast<unsigned char>(rest[i]) > ' ') == xLonger ? 1 : -1;
        return 0;
    }

    // Volume identifier of the primary volume: d-characters, at most 32.
    static std::string volumeId(const std::u16string& label);
    // Free text of the primary volume (publisher, application): printable ASCII, others become '_'.
    static std::string primaryText(const std::u16string& text);
};

}  // namespace osm::iso
