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
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
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
    };

    explicit Mutator(uint32_t seed) : m_random(seed) {}

    // Pieces that mean something to the format (markup's brackets and entities, a chunk's name); inserted or
    // written over bytes now and then.
    void SetDictionary(std::vector<std::string> tokens) { m_tokens = std::move(tokens); }

    // One to four edits of a corpus entry chosen by the seed's series; *source receives its index.
    Bytes Mutate(const std::vector<Bytes>& corpus, size_t* source = nullptr)
    {
        m_edits.clear();
        if (corpus.empty())
            return {};
        const size_t index = Below(corpus.size());
        if (source)
            *source = index;
        Bytes bytes = corpus[index];
        for (unsigned edits = 1 + Below(4); edits > 0; --edits)
            Apply(bytes, corpus);
        return bytes;
    }

    // The edits of the last Mutate, for the report: "flip-bit insert-bytes ...".
    std::string DescribeEdits() const
    {
        static const char* const kNames[] = {
            "flip-bit", "set-byte", "set-interesting-byte", "insert-bytes", "delete-bytes",
            "repeat",   "truncate", "inflate-length",       "splice",       "insert-token"};
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

private:
    size_t Below(size_t n) { return n ? static_cast<size_t>(m_random() % n) : 0; }

    void Apply(Bytes& bytes, const std::vector<Bytes>& corpus)
    {
        Edit edit = static_cast<Edit>(Below(10));
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
        }
    }

    static void Insert(Bytes& bytes, size_t at, const Bytes& piece)
    {
        if (bytes.size() + piece.size() > kMaxSize)
            return;
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), piece.begin(), piece.end());
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

    std::mt19937 m_random;
    std::vector<std::string> m_tokens;
    std::vector<Edit> m_edits;
};

}  // namespace fuzz
