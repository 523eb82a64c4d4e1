// The arena behind every tree: pieces stay where they were put while the arena grows past its small blocks into
// the large ones, a roll-back gives back exactly what came after the mark, and oversized pieces get room.
#include "isowriter/Arena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace osm::iso::test {
namespace {

struct Piece
{
    unsigned char* bytes;
    std::size_t size;
    unsigned char fill;
};

// Fills count pieces of sizes cycling through a few odd lengths (and one alignment each), each with its own
// byte, so a piece that overlaps another or moved shows in its content.
std::vector<Piece> fillPieces(Arena& arena, std::size_t count, unsigned start)
{
    static const std::size_t kSizes[] = {1, 7, 24, 80, 137, 3000};
    static const std::size_t kAligns[] = {1, 2, 8, 16};
    std::vector<Piece> pieces;
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::size_t size = kSizes[i % 6];
        const std::size_t align = kAligns[i % 4];
        auto* bytes = static_cast<unsigned char*>(arena.allocate(size, align));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % align, 0u) << "piece " << i;
        const auto fill = static_cast<unsigned char>(start + i);
        std::memset(bytes, fill, size);
        pieces.push_back({bytes, size, fill});
    }
    return pieces;
}

::testing::AssertionResult intact(const std::vector<Piece>& pieces)
{
    for (std::size_t i = 0; i < pieces.size(); ++i)
        for (std::size_t b = 0; b < pieces[i].size; ++b)
            if (pieces[i].bytes[b] != pieces[i].fill)
                return ::testing::AssertionFailure() << "piece " << i << " byte " << b << " was overwritten";
    return ::testing::AssertionSuccess();
}

TEST(ArenaTest, PiecesStayPutWhileTheArenaGrowsIntoLargeBlocks)
{
    Arena arena;
    // About 20 MB: well past the growing small blocks and into several of the largest ones.
    const std::vector<Piece> pieces = fillPieces(arena, 40000, 0);
    EXPECT_TRUE(intact(pieces));
}

TEST(ArenaTest, RollBackGivesBackOnlyWhatCameAfterTheMark)
{
    Arena arena;
    const std::vector<Piece> kept = fillPieces(arena, 3000, 0);
    const Arena::Mark mark = arena.mark();
    // Enough after the mark to take several new blocks, large ones among them.
    fillPieces(arena, 30000, 100);
    arena.rollBack(mark);
    EXPECT_TRUE(intact(kept));
    // What comes next takes the room again, right where the mark stood, and grows on as before.
    const std::vector<Piece> again = fillPieces(arena, 30000, 200);
    EXPECT_TRUE(intact(kept));
    EXPECT_TRUE(intact(again));
}

TEST(ArenaTest, PiecesLargerThanAnyBlockGetRoomOfTheirOwn)
{
    Arena arena;
    const std::vector<Piece> before = fillPieces(arena, 100, 0);
    const std::size_t huge = 5u * 1024 * 1024 + 3;
    auto* big = static_cast<unsigned char*>(arena.allocate(huge, 8));
    std::memset(big, 0xA5, huge);
    const std::vector<Piece> after = fillPieces(arena, 2000, 50);
    EXPECT_TRUE(intact(before));
    EXPECT_TRUE(intact(after));
    EXPECT_EQ(big[0], 0xA5);
    EXPECT_EQ(big[huge - 1], 0xA5);
}

TEST(ArenaTest, CopiedTextsEndInAZero)
{
    Arena arena;
    fillPieces(arena, 5000, 0);  // into a later block
    const std::u16string_view text = arena.copy<char16_t>(u"Setup Windows 42.txt");
    EXPECT_EQ(text, u"Setup Windows 42.txt");
    EXPECT_EQ(text.data()[text.size()], u'\0');
    const std::string_view empty = arena.copy<char>(std::string_view());
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.data()[0], '\0');
}

}  // namespace
}  // namespace osm::iso::test
