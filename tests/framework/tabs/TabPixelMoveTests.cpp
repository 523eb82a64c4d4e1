// The pixel moves on a 3 x 2 array worked out by hand, their inverses, and sizes that leave nothing to move.
#include <gtest/gtest.h>

#include <vector>

#include "framework/tabs/TabPixelMoves.h"

namespace {

// 1 2 3
// 4 5 6
const std::vector<DWORD> kThreeByTwo{1, 2, 3, 4, 5, 6};

TEST(TabPixelMoveTest, EachMoveOfAThreeByTwoArray)
{
    std::vector<DWORD> flipped(6), transposed(6), turned(6);
    FlipPixelsVertically(kThreeByTwo.data(), 3, 2, flipped.data());
    EXPECT_EQ((std::vector<DWORD>{4, 5, 6, 1, 2, 3}), flipped);
    // Two wide, three tall: (w-1-x, h-1-y) takes (y, x).
    TransposePixelsAntiDiagonal(kThreeByTwo.data(), 3, 2, transposed.data());
    EXPECT_EQ((std::vector<DWORD>{6, 3, 5, 2, 4, 1}), transposed);
    // (x, h-1-y) takes (y, x).
    TurnPixelsQuarter(kThreeByTwo.data(), 3, 2, turned.data());
    EXPECT_EQ((std::vector<DWORD>{3, 6, 2, 5, 1, 4}), turned);
}

TEST(TabPixelMoveTest, TheInversesBringTheArrayBack)
{
    std::vector<DWORD> turned(6), back(6);
    TurnPixelsQuarter(kThreeByTwo.data(), 3, 2, turned.data());
    TurnPixelsQuarterBack(turned.data(), 2, 3, back.data());
    EXPECT_EQ(kThreeByTwo, back);
    // The quarter turn undone of 1 2 3 / 4 5 6: (w-1-x, y) takes (y, x).
    std::vector<DWORD> undone(6);
    TurnPixelsQuarterBack(kThreeByTwo.data(), 3, 2, undone.data());
    EXPECT_EQ((std::vector<DWORD>{4, 1, 5, 2, 6, 3}), undone);
    std::vector<DWORD> transposed(6), twice(6), flipped(6), flippedTwice(6);
    TransposePixelsAntiDiagonal(kThreeByTwo.data(), 3, 2, transposed.data());
    TransposePixelsAntiDiagonal(transposed.data(), 2, 3, twice.data());
    EXPECT_EQ(kThreeByTwo, twice);
    FlipPixelsVertically(kThreeByTwo.data(), 3, 2, flipped.data());
    FlipPixelsVertically(flipped.data(), 3, 2, flippedTwice.data());
    EXPECT_EQ(kThreeByTwo, flippedTwice);
}

TEST(TabPixelMoveTest, AnEmptySizeOrAMissingArrayMovesNothing)
{
    using Move = void (*)(const DWORD*, int, int, DWORD*);
    const Move moves[] = {&FlipPixelsVertically, &TransposePixelsAntiDiagonal, &TurnPixelsQuarter,
                          &TurnPixelsQuarterBack};
    for (Move move : moves)
    {
        std::vector<DWORD> dest(6, 0xABCDEF01);
        for (const auto& size : {std::make_pair(0, 2), std::make_pair(3, 0), std::make_pair(-3, 2)})
        {
            move(kThreeByTwo.data(), size.first, size.second, dest.data());
            EXPECT_EQ(std::vector<DWORD>(6, 0xABCDEF01), dest) << size.first << " x " << size.second;
        }
        move(nullptr, 3, 2, dest.data());
        move(kThreeByTwo.data(), 3, 2, nullptr);
        EXPECT_EQ(std::vector<DWORD>(6, 0xABCDEF01), dest);
    }
}

}  // namespace
