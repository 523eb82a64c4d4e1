// File identifiers of the two trees. ISO9660 names are d-characters (A-Z, 0-9, '_'), at most 31 of them,
// with neither ";1" nor a trailing dot: Windows boot loaders look their files up by the bare name.
// Joliet names are the original names in UCS-2, with the few characters Joliet forbids and characters
// beyond UCS-2 replaced by '_'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace osm::iso {

// An ISO9660 identifier, held in place: it never has more than 31 characters, so no entry needs a heap
// block for it.
class IsoName
{
public:
    static constexpr std::size_t kCapacity = 31;

    IsoName() : length_(0) {}
    // text is cut at kCapacity.
    explicit IsoName(std::string_view text)
        : length_(static_cast<std::uint8_t>(text.size() < kCapacity ? text.size() : kCapacity))
    {
        std::memcpy(text_, text.data(), length_);
    }
    IsoName(const IsoName& other) : length_(other.length_) { std::memcpy(text_, other.text_, length_); }
    IsoName& operator=(const IsoName& other)
    {
        length_ = other.length_;
        std::memmove(text_, other.text_, length_);
        return *this;
    }

    std::string_view view() const { return {text_, length_}; }
    const char* data() const { return text_; }
    std::size_t size() const { return length_; }
    bool operator==(const IsoName& other) const { return view() == other.view(); }

private:
    // Only the first length_ characters are ever read: the rest is not cleared for each name.
    char text_[kCapacity];
    std::uint8_t length_;
};

class NameMapper
{
public:
    static constexpr std::size_t kIsoLength = IsoName::kCapacity;
    static constexpr std::size_t kJolietLength = 103;
    static constexpr std::size_t kVolumeIdLength = 32;

    static std::string isoName(std::u16string_view name, bool isDirectory)
    {
        return std::string(isoIdentifier(name, isDirectory).view());
    }
    // The same, held in place.
    static IsoName isoIdentifier(std::u16string_view name, bool isDirectory);
    // Both identifiers of an entry at once, as made when it is added.
    struct Identifiers
    {
        IsoName iso;
        bool jolietIsName;  // whether jolietName leaves the name as it is
    };
    static Identifiers identifiers(std::u16string_view name, bool isDirectory);
    static std::u16string jolietName(std::u16string_view name);
    // Whether jolietName leaves the name as it is.
    static bool isJolietName(std::u16string_view name)
    {
        for (char16_t c : name)
            if (jolietReplaces(c))
                return false;
        return true;
    }
    // Whether a character never stands in a Joliet name as it is: the controls, * / : ; ? and \, and
    // either half of a surrogate pair (beyond UCS-2).
    static constexpr bool jolietReplaces(char16_t c)
    {
        // Every replaced character below U+0040, as one bit each.
        constexpr std::uint64_t kBelow40 =
            0xFFFFFFFFull | 1ull << u'*' | 1ull << u'/' | 1ull << u':' | 1ull << u';' | 1ull << u'?';
        if (c < 0x40)
            return (kBelow40 >> c) & 1;
        return c == u'\\' || (c >= 0xD800 && c <= 0xDFFF);
    }

    // The n-th replacement for a name that collides with another: "_n" before the extension, the stem
    // shortened so the limit still holds.
    static std::string isoVariant(std::string_view isoName, unsigned n, bool isDirectory);
    static std::u16string jolietVariant(const std::u16string& jolietName, unsigned n, bool isDirectory);

    // Key under which Joliet names collide: Windows compares names without case.
    static std::u16string jolietKey(const std::u16string& jolietName);
    // One character of that key.
    static char16_t jolietFold(char16_t c)
    {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    }

    // Record order: ISO9660 compares stem and extension separately, each padded with spaces.
    static bool isoLess(std::string_view a, std::string_view b) { return isoLess(isoSortKey(a), isoSortKey(b)); }
    // The same order, with the stem found once per name: the layout sorts every folder with this.
    struct IsoSortKey
    {
        const char* name;
        std::size_t length;
        std::size_t stem;       // the stem's length
        std::size_t extension;  // where the extension starts (length when there is none)
    };
    static IsoSortKey isoSortKey(std::string_view isoName);
    static bool isoLess(const IsoSortKey& a, const IsoSortKey& b)
    {
        const int byStem = paddedCompare(a.name, a.stem, b.name, b.stem);
        if (byStem != 0)
            return byStem < 0;
        return paddedCompare(a.name + a.extension, a.length - a.extension, b.name + b.extension,
                             b.length - b.extension) < 0;
    }
    // Code-unit order. Names of one folder often share a long start: equal units are passed four at a time.
    static bool jolietLess(std::u16string_view a, std::u16string_view b)
    {
        const std::size_t common = a.size() < b.size() ? a.size() : b.size();
        std::size_t i = 0;
        while (i + 4 <= common && std::memcmp(a.data() + i, b.data() + i, 4 * sizeof(char16_t)) == 0)
            i += 4;
        for (; i < common; ++i)
            if (a[i] != b[i])
                return a[i] < b[i];
        return a.size() < b.size();
    }

    // An identifier's place in the record order, with the first characters of its stem and extension packed
    // into numbers (space-padded, big-endian) so that most comparisons are settled by two or three of them.
    // Small, as whole folders of them are sorted.
    struct IsoOrderKey
    {
        std::uint64_t stem[2];
        std::uint64_t extension;
        std::uint32_t item;  // the caller's number for what the key stands for
        bool whole;          // the numbers hold the stem and the extension whole
    };
    static IsoOrderKey isoOrderKey(std::string_view isoName, std::uint32_t item);
    // The order of two keys when their numbers settle it (negative: a first); 0 when they are equal or only the
    // identifiers themselves can tell (isoLess).
    static int isoOrderCompare(const IsoOrderKey& a, const IsoOrderKey& b)
    {
        if (a.stem[0] != b.stem[0])
            return a.stem[0] < b.stem[0] ? -1 : 1;
        if (a.stem[1] != b.stem[1])
            return a.stem[1] < b.stem[1] ? -1 : 1;
        if (a.whole && b.whole && a.extension != b.extension)
            return a.extension < b.extension ? -1 : 1;
        return 0;
    }

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
