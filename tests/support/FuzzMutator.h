// The deterministic mutator of the bad-input harness: from a corpus of valid inputs, each made by our own savers and
// generators, it makes damaged ones by a few edits each (bit flips, bytes replaced, inserted or deleted, pieces
// repeated, the end cut off, length fields inflated, and splices between two corpus entries). The same seed gives
// the same series on every machine: a failure found once is found again from its seed. Portable, so the native
// tree's sanitizer runs use it too.
//
//   fuzz::Mutator mutator(20261210u);
//   mutator.SetDictionary({"<", "/>", "&amp;"});
//   for (int i = 0; i < 1000; ++i)
//       Check(mutator.Mutate(corpus));
//
// The harness asks for more than that (SetLargeEdits): stacks of up to 32 edits, blocks repeated until the input is
// large, numbers in text replaced by extreme ones, fields of 1, 2 or 4 bytes set to the values readers trip over;
// and, through SetStructure, edits that know the format's layout (a chunk's length, a frame's size) and a repair
// that keeps its checksums right, so that an edit reaches the code behind the checksum test.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace fuzz {

using Bytes = std::vector<unsigned char>;

inline Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

inline std::string ToText(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// The seed of input `index` of the series of `seed`: every input can be made again alone, without the ones before.
inline uint32_t SeriesSeed(uint32_t seed, uint64_t index)
{
    uint64_t z = (static_cast<uint64_t>(seed) << 32) + index + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>(z ^ (z >> 31));
}

// The random choices of the mutator, the structure edits and the generators: one engine, so one seed decides all.
class Random
{
public:
    explicit Random(uint32_t seed = 0) : m_engine(seed) {}
    void Seed(uint32_t seed) { m_engine.seed(seed); }

    // 0 .. n-1 (0 for n = 0).
    size_t Below(size_t n) { return n ? static_cast<size_t>(m_engine() % n) : 0; }
    // lo .. hi, both included.
    long long Between(long long lo, long long hi)
    {
        return lo + static_cast<long long>(Below(static_cast<size_t>(hi - lo) + 1));
    }
    bool OneIn(size_t n) { return Below(n) == 0; }
    uint32_t Next32() { return static_cast<uint32_t>(m_engine()); }
    template <typename T> const T& Pick(const std::vector<T>& items) { return items[Below(items.size())]; }
    template <typename T, size_t N> const T& Pick(const T (&items)[N]) { return items[Below(N)]; }
    // A count that is mostly small and now and then large: 1 .. max, log-uniform.
    size_t Count(size_t max)
    {
        size_t limit = 1;
        for (size_t bits = Below(64); bits > 0 && limit < max; --bits)
            limit = limit * 2 > max ? max : limit * 2;
        return 1 + Below(limit);
    }

    // A 32-bit value readers take for a size, a count or an offset and trip over: the limits of each width, powers
    // of two and their neighbours.
    uint32_t InterestingValue()
    {
        static const uint32_t kValues[] = {
            0,          1,          2,          0x7F,       0x80,       0xFF,       0x100,      0x3FFF,
            0x4000,     0x4001,     0x7FFF,     0x8000,     0xFFFF,     0x10000,    0x100000,   0x7F000000,
            0x10000000, 0x3FFFFFFF, 0x40000000, 0x7FFFFFFE, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF,
            0x01000000, 0x00FFFFFF, 0x0FFFFFFF, 0x20000000, 0x00010001, 0x000186A0, 0x7FFF0000, 0x00004000};
        return Pick(kValues);
    }

private:
    std::mt19937 m_engine;
};

// Numbers as text that reach a parser's edges: the 32-bit limits and past them, huge and tiny floating values, and
// the sizes that once made a drawing or a layout go wrong.
inline const std::vector<std::string>& InterestingNumbers()
{
    static const std::vector<std::string> kNumbers = {
        "0",          "-1",          "1",           "2147483647", "-2147483648", "2147483648", "4294967295",
        "100000",     "-100000",     "16384",       "16385",      "32767",       "-32768",     "65535",
        "65536",      "1000000",     "99999999999", "1e308",      "-1e308",      "1e-308",     "3.4e38",
        "NaN",        "Infinity",    "-Infinity",   "0.5",        "1e9",         "-0",         "0.0001",
        "1073741824", "-1073741824", "1e38",        "8388608",    "33554432",    "46341",      "2147483646"};
    return kNumbers;
}

class Mutator
{
public:
    // What one edit did; the last input's edits are kept for a failure's report.
    enum class Edit
    {
        FlipBit,
        SetByte,
        SetInterestingByte,
        InsertBytes,
        DeleteBytes,
        RepeatPiece,
        Truncate,
        InflateLength,
        Splice,
        InsertToken,
        // With SetLargeEdits only:
        RepeatBlock,
        ReplaceNumber,
        SetField,
        CopyPiece,
        // With SetStructure only:
        Structure,
    };

    // An edit that knows the format: false when the input has no such structure (a plain edit is made instead).
    using StructureEdit = std::function<bool(Bytes&, Random&)>;
    // Puts right what a format checks before it reads on (checksums), after the edits.
    using Repair = std::function<void(Bytes&)>;

    explicit Mutator(uint32_t seed) : m_random(seed) {}

    // Starts the series again from seed.
    void Reseed(uint32_t seed) { m_random.Seed(seed); }
    Random& GetRandom() { return m_random; }

    // Pieces that mean something to the format (markup's brackets and entities, a chunk's name); inserted or
    // written over bytes now and then.
    void SetDictionary(std::vector<std::string> tokens) { m_tokens = std::move(tokens); }
    void SetLargeEdits(bool large) { m_large = large; }
    // edit is chosen for about a third of the edits; repair runs after the edits of seven inputs in eight (the
    // eighth keeps its broken checksums, which the reader must refuse).
    void SetStructure(StructureEdit edit, Repair repair)
    {
        m_structure = std::move(edit);
        m_repair = std::move(repair);
    }

    // One to four edits of a corpus entry chosen by the seed's series (up to 32 with large edits); *source
    // receives its index.
    Bytes Mutate(const std::vector<Bytes>& corpus, size_t* source = nullptr)
    {
        m_edits.clear();
        if (corpus.empty())
            return {};
        const size_t index = Below(corpus.size());
        if (source)
            *source = index;
        Bytes bytes = corpus[index];
        unsigned edits = 1 + static_cast<unsigned>(Below(4));
        if (m_large && m_random.OneIn(4))
            edits = 1 + static_cast<unsigned>(Below(32));
        for (; edits > 0; --edits)
            Apply(bytes, corpus);
        if (m_repair && !m_random.OneIn(8))
            m_repair(bytes);
        return bytes;
    }

    // The edits of the last Mutate, for the report: "flip-bit insert-bytes ...".
    std::string DescribeEdits() const
    {
        static const char* const kNames[] = {"flip-bit",     "set-byte",       "set-interesting-byte",
                                             "insert-bytes", "delete-bytes",   "repeat",
                                             "truncate",     "inflate-length", "splice",
                                             "insert-token", "repeat-block",   "replace-number",
                                             "set-field",    "copy-piece",     "structure"};
        std::string text;
        for (Edit edit : m_edits)
        {
            if (!text.empty())
                text += ' ';
            text += kNames[static_cast<int>(edit)];
        }
        return text;
    }

    // No edit makes an input grow past this: a parser's own limits are tested with inputs made for them.
    static constexpr size_t kMaxSize = 1u << 20;

    static void Insert(Bytes& bytes, size_t at, const Bytes& piece)
    {
        if (bytes.size() + piece.size() > kMaxSize)
            return;
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), piece.begin(), piece.end());
    }

private:
    size_t Below(size_t n) { return m_random.Below(n); }

    Edit ChooseEdit()
    {
        if (m_structure && m_random.OneIn(3))
            return Edit::Structure;
        if (m_large && m_random.OneIn(3))
            return static_cast<Edit>(static_cast<int>(Edit::RepeatBlock) + static_cast<int>(Below(4)));
        return static_cast<Edit>(Below(10));
    }

    void Apply(Bytes& bytes, const std::vector<Bytes>& corpus)
    {
        Edit edit = ChooseEdit();
        if (edit == Edit::Structure)
        {
            if (m_structure(bytes, m_random))
            {
                m_edits.push_back(edit);
                return;
            }
            edit = Edit::InflateLength;
        }
        if (edit == Edit::InsertToken && m_tokens.empty())
            edit = Edit::SetInterestingByte;
        if (bytes.empty() && edit != Edit::InsertBytes && edit != Edit::Splice && edit != Edit::InsertToken)
            edit = Edit::InsertBytes;
        m_edits.push_back(edit);
        const size_t at = Below(bytes.size());
        switch (edit)
        {
        case Edit::FlipBit:
            bytes[at] ^= static_cast<unsigned char>(1u << Below(8));
            break;
        case Edit::SetByte:
            bytes[at] = static_cast<unsigned char>(Below(256));
            break;
        case Edit::SetInterestingByte:
        {
            static const unsigned char kInteresting[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0xFE, 0x10, 0x20, 0x40};
            bytes[at] = kInteresting[Below(sizeof kInteresting)];
            break;
        }
        case Edit::InsertBytes:
        {
            const size_t count = 1 + Below(8);
            Bytes inserted(count);
            for (unsigned char& b : inserted)
                b = static_cast<unsigned char>(Below(256));
            Insert(bytes, Below(bytes.size() + 1), inserted);
            break;
        }
        case Edit::DeleteBytes:
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + 1 + Below(16))));
            break;
        case Edit::RepeatPiece:
        {
            const size_t length = std::min(bytes.size() - at, 1 + Below(64));
            const Bytes piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                              bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
            for (size_t times = 1 + Below(3); times > 0; --times)
                Insert(bytes, at, piece);
            break;
        }
        case Edit::Truncate:
            bytes.resize(at);
            break;
        case Edit::InflateLength:
            InflateLength(bytes, at);
            break;
        case Edit::Splice:
        {
            // The head of this input and the tail of another: structures that each parse alone, joined.
            const Bytes& other = corpus[Below(corpus.size())];
            const size_t from = Below(other.size() + 1);
            bytes.resize(Below(bytes.size() + 1));
            Insert(bytes, bytes.size(), Bytes(other.begin() + static_cast<std::ptrdiff_t>(from), other.end()));
            break;
        }
        case Edit::InsertToken:
        {
            const std::string& token = m_tokens[Below(m_tokens.size())];
            const size_t where = Below(bytes.size() + 1);
            if (Below(2) && where + token.size() <= bytes.size())
                std::copy(token.begin(), token.end(), bytes.begin() + static_cast<std::ptrdiff_t>(where));
            else
                Insert(bytes, where, Bytes(token.begin(), token.end()));
            break;
        }
        case Edit::RepeatBlock:
            RepeatBlock(bytes, at);
            break;
        case Edit::ReplaceNumber:
            ReplaceNumber(bytes, at);
            break;
        case Edit::SetField:
            SetField(bytes, at);
            break;
        case Edit::CopyPiece:
        {
            const size_t length = std::min(bytes.size() - at, m_random.Count(256));
            const Bytes piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                              bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
            const size_t to = Below(bytes.size());
            if (m_random.OneIn(2))
                std::copy(piece.begin(),
                          piece.begin() + static_cast<std::ptrdiff_t>(std::min(length, bytes.size() - to)),
                          bytes.begin() + static_cast<std::ptrdiff_t>(to));
            else
                Insert(bytes, to, piece);
            break;
        }
        case Edit::Structure:
            break;
        }
    }

    // A 16- or 32-bit field at the position, either byte order, made a size no sound input has: what makes a
    // reader allocate, loop or seek far.
    void InflateLength(Bytes& bytes, size_t at)
    {
        static const uint32_t kValues[] = {0,          1,          0x7F,       0xFF,       0x7FFF,     0x8000,
                                           0xFFFF,     0x10000,    0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x3FFFFFFF,
                                           0x01000000, 0x00FFFFFF, 0xFFFFFFFE, 0x40000000};
        const size_t width = Below(2) ? 4 : 2;
        if (bytes.size() < width)
            return;
        at = std::min(at, bytes.size() - width);
        const bool bigEndian = Below(2) != 0;
        uint32_t value = kValues[Below(sizeof kValues / sizeof kValues[0])];
        if (Below(4) == 0)
        {
            // The field's own value, a little or a lot larger.
            uint32_t old = 0;
            for (size_t i = 0; i < width; ++i)
                old |= static_cast<uint32_t>(bytes[at + (bigEndian ? width - 1 - i : i)]) << (8 * i);
            value = Below(2) ? old + 1 + static_cast<uint32_t>(Below(16)) : old * 2 + 1;
        }
        for (size_t i = 0; i < width; ++i)
            bytes[at + (bigEndian ? width - 1 - i : i)] = static_cast<unsigned char>(value >> (8 * i));
    }

    // A piece of up to 4 KB repeated until the input is up to a hundred times longer (within kMaxSize): long
    // lists, deep nesting, many chunks or frames.
    void RepeatBlock(Bytes& bytes, size_t at)
    {
        const size_t length = std::min(bytes.size() - at, m_random.Count(4096));
        const Bytes piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        const size_t room = (kMaxSize - std::min(kMaxSize, bytes.size())) / std::max<size_t>(1, length);
        const size_t times = std::min(room, m_random.Count(30000));
        Bytes repeated;
        repeated.reserve(times * length);
        for (size_t i = 0; i < times; ++i)
            repeated.insert(repeated.end(), piece.begin(), piece.end());
        Insert(bytes, at + length, repeated);
    }

    // A decimal number of the text (the first at or after the position, else any) replaced by an extreme one.
    void ReplaceNumber(Bytes& bytes, size_t at)
    {
        auto isDigit = [](unsigned char c) { return c >= '0' && c <= '9'; };
        size_t start = at;
        while (start < bytes.size() && !isDigit(bytes[start]))
            ++start;
        if (start == bytes.size())
        {
            start = 0;
            while (start < at && !isDigit(bytes[start]))
                ++start;
            if (start == at)
            {
                Insert(bytes, at, ToBytes(m_random.Pick(InterestingNumbers())));
                return;
            }
        }
        if (start > 0 && bytes[start - 1] == '-')
            --start;
        size_t end = start + 1;
        while (end < bytes.size() && (isDigit(bytes[end]) || bytes[end] == '.' || bytes[end] == 'e'))
            ++end;
        const std::string number = m_random.Pick(InterestingNumbers());
        bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                    bytes.begin() + static_cast<std::ptrdiff_t>(end));
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(start), number.begin(), number.end());
    }

    // A field of 1, 2 or 4 bytes, either order, at the position set to an interesting value.
    void SetField(Bytes& bytes, size_t at)
    {
        const size_t width = size_t{1} << Below(3);
        if (bytes.size() < width)
            return;
        at = std::min(at, bytes.size() - width);
        const uint32_t value = m_random.InterestingValue();
        const bool bigEndian = m_random.OneIn(2);
        for (size_t i = 0; i < width; ++i)
            bytes[at + (bigEndian ? width - 1 - i : i)] = static_cast<unsigned char>(value >> (8 * i));
    }

    Random m_random;
    std::vector<std::string> m_tokens;
    std::vector<Edit> m_edits;
    bool m_large = false;
    StructureEdit m_structure;
    Repair m_repair;
};

}  // namespace fuzz
