// Memory for the many small pieces a tree is made of (its entries and their names): taken from large blocks
// one after another and given back all at once. On a tree of a hundred thousand tiny files one heap block
// per entry and per name costs as much as reading the files, and freeing them again as much once more.
#pragma once

#include <cstddef>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace osm::iso {

class Arena
{
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    // Room for bytes, aligned to align (a power of two no larger than alignof(std::max_align_t)).
    void* allocate(std::size_t bytes, std::size_t align)
    {
        if (!blocks_.empty())
        {
            const std::size_t at = (used_ + align - 1) & ~(align - 1);
            if (at <= blocks_.back().size() && bytes <= blocks_.back().size() - at)
            {
                used_ = at + bytes;
                return blocks_.back().bytes() + at;
            }
        }
        return allocateInNewBlock(bytes);
    }

    // An object made in the arena. Its destructor is not run by the arena: objects that own something else
    // are destroyed by their owner before the arena lets go of them.
    template <class T, class... Args> T* make(Args&&... args)
    {
        return new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }

    // A copy of text with a terminating zero after it (not part of the view), so it can go to the system.
    template <class Char> std::basic_string_view<Char> copy(std::basic_string_view<Char> text)
    {
        auto* out = static_cast<Char*>(allocate((text.size() + 1) * sizeof(Char), alignof(Char)));
        if (!text.empty())
            std::char_traits<Char>::copy(out, text.data(), text.size());
        out[text.size()] = Char();
        return {out, text.size()};
    }

    // Where the arena stands; rollBack(mark) gives back everything taken since.
    struct Mark
    {
        std::size_t blocks = 0;
        std::size_t used = 0;
    };
    Mark mark() const { return {blocks_.size(), used_}; }
    void rollBack(const Mark& mark);
    // Gives back everything.
    void clear() { rollBack(Mark()); }

private:
    // Blocks grow from kFirstBlock, doubling, up to kLargestBlock: a small tree takes little memory, and a
    // large one few blocks. Blocks of the largest size are asked of the system directly, where it can give
    // them as one large page: a tree of a hundred thousand files then costs a few page faults, not thousands.
    static constexpr std::size_t kFirstBlock = 64 * 1024;
    static constexpr std::size_t kLargestBlock = 2 * 1024 * 1024;

    void* allocateInNewBlock(std::size_t bytes);

    class Block
    {
    public:
        explicit Block(std::size_t size);
        ~Block();
        Block(Block&& other) noexcept;
        Block& operator=(Block&& other) noexcept;
        Block(const Block&) = delete;
        Block& operator=(const Block&) = delete;

        std::byte* bytes() const { return bytes_; }
        std::size_t size() const { return size_; }

    private:
        void release();

        std::byte* bytes_ = nullptr;
        std::size_t size_ = 0;
        bool mapped_ = false;  // from the system (large pages), not from the heap
    };

    std::vector<Block> blocks_;
    std::size_t used_ = 0;  // bytes taken from the last block
};

}  // namespace osm::iso
