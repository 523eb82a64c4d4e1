// The pixel moves on a 3 x 2 array worked out by hand, their inverses, and sizes that leave nothing to move; and
// the turned drawing that uses them: a drawing made upright lands with its base on the client side in every
// position, a background is brought upright and back unchanged, and an empty rectangle draws nothing.
#include <gtest/gtest.h>

#include <vector>

#include "framework/tabs/TabPixelMoves.h"
#include "tests/support/DcTestSurface.h"

using foundation_test::DcTestSurface;

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

// ---- Turned drawing ----------------------------------------------------------------------------------------------

const COLORREF kTurnBody = RGB(100, 150, 200);
const COLORREF kTurnBase = RGB(250, 20, 20);   // the upright drawing's bottom rows: the tab's base
const COLORREF kTurnStart = RGB(20, 250, 20);  // its left columns: where the strip starts

// Paints the upright rectangle: the body, the strip-start columns, then the base rows over them.
void DrawUprightMarkers(CDC* pDC, const CRect& rc)
{
    pDC->FillSolidRect(rc, kTurnBody);
    pDC->FillSolidRect(rc.left, rc.top, 3, rc.Height(), kTurnStart);
    pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 2, kTurnBase);
}

TEST(TabTurnedDrawingTest, TheBaseFacesTheClientAndTheStartStaysAtTheStripStart)
{
    struct TurnCase
    {
        int nPosition;
        CRect rc;
        CRect rcBase;
        CRect rcStart;
        CRect rcBody;
    };
    const TurnCase cases[] = {
        {0, CRect(10, 20, 70, 50), CRect(10, 48, 70, 50), CRect(10, 20, 13, 48), CRect(13, 20, 70, 48)},
        {1, CRect(10, 20, 40, 80), CRect(38, 20, 40, 80), CRect(10, 20, 38, 23), CRect(10, 23, 38, 80)},
        {2, CRect(10, 20, 70, 50), CRect(10, 20, 70, 22), CRect(10, 22, 13, 50), CRect(13, 22, 70, 50)},
        {3, CRect(10, 20, 40, 80), CRect(10, 20, 12, 80), CRect(12, 20, 40, 23), CRect(12, 23, 40, 80)},
    };
    for (const TurnCase& c : cases)
    {
        DcTestSurface surface(100, 100, RGB(255, 0, 255));
        CSize szUpright;
        EXPECT_TRUE(DrawTurnedToPosition(surface.dc(), c.rc, c.nPosition, RGB(0, 0, 0), FALSE,
                                         [&](CDC* pDC, const CRect& rcUpright) {
                                             szUpright = rcUpright.Size();
                                             DrawUprightMarkers(pDC, rcUpright);
                                         }));
        const bool bVertical = c.nPosition == 1 || c.nPosition == 3;
        EXPECT_EQ(bVertical ? CSize(c.rc.Height(), c.rc.Width()) : c.rc.Size(), szUpright)
            << "position " << c.nPosition;
        EXPECT_TRUE(surface.FilledWith(c.rcBase, kTurnBase)) << "position " << c.nPosition;
        EXPECT_TRUE(surface.FilledWith(c.rcStart, kTurnStart)) << "position " << c.nPosition;
        EXPECT_TRUE(surface.FilledWith(c.rcBody, kTurnBody)) << "position " << c.nPosition;
        EXPECT_TRUE(surface.UntouchedOutside(c.rc)) << "position " << c.nPosition;
    }
}

TEST(TabTurnedDrawingTest, WhatLiesUnderATurnedTabIsBroughtUprightAndBackUnchanged)
{
    for (int nPosition : {1, 2, 3})
    {
        DcTestSurface surface(100, 100);
        for (int y = 0; y < 100; y++)
            for (int x = 0; x < 100; x++)
                ::SetPixel(surface.GetDC(), x, y, RGB(x * 2, y * 2, (x * 7 + y * 3) % 256));
        DcTestSurface before(100, 100);
        before.CopyFrom(surface);
        const CRect rc = nPosition == 2 ? CRect(10, 20, 70, 50) : CRect(10, 20, 40, 80);
        // The upright bottom-left corner is the corner at the strip start on the client side.
        const CPoint ptClientStart = nPosition == 1 ? CPoint(rc.right - 1, rc.top) : CPoint(rc.left, rc.top);
        COLORREF clrUprightCorner = CLR_INVALID;
        COLORREF clrUprightTopLeft = CLR_INVALID;
        EXPECT_TRUE(DrawTurnedToPosition(surface.dc(), rc, nPosition, RGB(0, 0, 0), TRUE,
                                         [&](CDC* pDC, const CRect& rcUpright) {
                                             clrUprightCorner = ::GetPixel(pDC->GetSafeHdc(), 0, rcUpright.bottom - 1);
                                             clrUprightTopLeft = ::GetPixel(pDC->GetSafeHdc(), 0, 0);
                                         }));
        EXPECT_EQ(before.Pixel(ptClientStart.x, ptClientStart.y), clrUprightCorner) << "position " << nPosition;
        // The upright top-left lies at the strip start on the far side from the client.
        const CPoint ptFarStart = nPosition == 1   ? CPoint(rc.left, rc.top)
                                  : nPosition == 2 ? CPoint(rc.left, rc.bottom - 1)
                                                   : CPoint(rc.right - 1, rc.top);
        EXPECT_EQ(before.Pixel(ptFarStart.x, ptFarStart.y), clrUprightTopLeft) << "position " << nPosition;
        EXPECT_TRUE(surface.EqualsCanvas(before)) << "position " << nPosition;
    }
}

TEST(TabTurnedDrawingTest, AnEmptyRectangleDrawsNothing)
{
    for (int nPosition : {0, 1, 2, 3})
    {
        for (const CRect& rc : {CRect(10, 10, 10, 50), CRect(10, 10, 40, 10), CRect(40, 40, 10, 10)})
        {
            DcTestSurface surface(60, 60, RGB(255, 0, 255));
            bool bCalled = false;
            EXPECT_FALSE(DrawTurnedToPosition(surface.dc(), rc, nPosition, RGB(0, 0, 0), nPosition == 3,
                                              [&](CDC*, const CRect&) { bCalled = true; }));
            EXPECT_FALSE(bCalled) << "position " << nPosition;
            EXPECT_TRUE(surface.Untouched()) << "position " << nPosition;
        }
    }
}

}  // namespace
