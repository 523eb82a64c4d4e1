// The Office 2007 images drawn onto DIB sections: nine parts band by band, margins that do not fit, colour keys,
// alpha, right-to-left canvases, sources outside the bitmap and two threads at once. The synthetic module's images
// give every part a colour of its own. Headless.
#include "Office2007TestSupport.h"

#include "DcTestSurface.h"

#include <memory>
#include <thread>

namespace {

using foundation_test::DcTestSurface;
using office2007_test::Office2007ImagesTest;

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kMagenta = RGB(255, 0, 255);
using office2007_test::kNone;

// The nine parts of BANDS (columns 2 | 5 | 3, rows 2 | 5 | 3).
const COLORREF kBand[3][3] = {{RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)},
                              {RGB(100, 110, 120), RGB(130, 140, 150), RGB(160, 170, 180)},
                              {RGB(190, 200, 210), RGB(220, 230, 240), RGB(250, 5, 15)}};
const CRect kBandMargins(2, 2, 3, 3);

class Office2007DrawingTest : public Office2007ImagesTest
{
protected:
    COSMOffice2007Image* Image(LPCSTR name)
    {
        COSMOffice2007Image* image = m_images->LoadImage(name);
        EXPECT_NE(image, nullptr) << name;
        return image;
    }
};

TEST_F(Office2007DrawingTest, NinePartsLandBandByBand)
{
    COSMOffice2007Image* bands = Image("BANDS");
    ASSERT_NE(bands, nullptr);
    DcTestSurface surface(40, 30, kGrey);
    const CRect dest(5, 5, 35, 25);
    bands->DrawImagePart(surface.dc(), dest, CRect(0, 0, 10, 10), kBandMargins);
    const int cols[4] = {5, 7, 32, 35}, rows[4] = {5, 7, 22, 25};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_TRUE(surface.FilledWith(CRect(cols[c], rows[r], cols[c + 1], rows[r + 1]), kBand[r][c]))
                << "part " << r << ", " << c;
    EXPECT_TRUE(surface.UntouchedOutside(dest));
}

// Destinations too small for the margins share them out; the bottom row's height keeps the parity of its margin, so
// it may overlap the top row by one pixel. Rows (and columns) list the band each destination row shows.
TEST_F(Office2007DrawingTest, MarginsShareOutASmallDestination)
{
    COSMOffice2007Image* bands = Image("BANDS");
    ASSERT_NE(bands, nullptr);
    struct Case
    {
        int height;
        std::vector<int> rowBands;
    } vertical[] = {
        // MulDiv(4, 2, 5) = 2 rows of top; the rest, 2, takes the parity of 3: 3 rows from the bottom.
        {4, {0, 2, 2, 2}},
        // Exactly the margins: 2 and 3, no middle.
        {5, {0, 0, 2, 2, 2}},
        // MulDiv(3, 2, 5) = 1; the rest, 2, becomes 3 and covers the top row.
        {3, {2, 2, 2}},
        // Roomy enough: top 2, middle, bottom 3.
        {7, {0, 0, 1, 1, 2, 2, 2}},
    };
    for (const Case& c : vertical)
    {
        SCOPED_TRACE("height " + std::to_string(c.height));
        DcTestSurface surface(20, 12, kGrey);
        bands->DrawImagePart(surface.dc(), CRect(0, 0, 20, c.height), CRect(0, 0, 10, 10), kBandMargins);
        for (int y = 0; y < c.height; ++y)
            EXPECT_EQ(surface.Pixel(0, y), kBand[c.rowBands[y]][0]) << "row " << y;
        EXPECT_TRUE(surface.Untouched(CRect(0, c.height, 20, 12)));
    }
    // The edge cases as stated: TALL has 8 red rows, 4 green, 8 blue.
    COSMOffice2007Image* tall = Image("TALL");
    ASSERT_NE(tall, nullptr);
    const COLORREF red = RGB(200, 0, 0), blue = RGB(0, 0, 200);
    struct TallCase
    {
        int height;
        CRect margins;
        std::vector<COLORREF> rows;
    } tallCases[] = {
        // Height 10, margins 8 and 8: top 5; the rest, 5, takes the parity of 8: 6 rows from the bottom, overlapping
        // the top by one, and no middle.
        {10, CRect(0, 8, 0, 8), {red, red, red, red, blue, blue, blue, blue, blue, blue}},
        // Height 5, margins 3 and 4: top MulDiv(5, 3, 7) = 2, the rest 3 becomes 4.
        {5, CRect(0, 3, 0, 4), {red, blue, blue, blue, blue}},
    };
    for (const TallCase& c : tallCases)
    {
        SCOPED_TRACE("tall, height " + std::to_string(c.height));
        DcTestSurface surface(6, 12, kGrey);
        tall->DrawImagePart(surface.dc(), CRect(0, 0, 6, c.height), CRect(0, 0, 4, 20), c.margins);
        for (int y = 0; y < c.height; ++y)
            EXPECT_EQ(surface.Pixel(0, y), c.rows[y]) << "row " << y;
        EXPECT_TRUE(surface.Untouched(CRect(0, c.height, 6, 12)));
    }

    struct ColumnCase
    {
        int width;
        std::vector<int> colBands;
    } horizontal[] = {
        // 4 * 2 / 5 = 1 column of left (truncated), the rest right; no parity step across.
        {4, {0, 2, 2, 2}},
        {5, {0, 0, 2, 2, 2}},
        {2, {2, 2}},
        // The source's own width: no margins, the columns as they are.
        {10, {0, 0, 1, 1, 1, 1, 1, 2, 2, 2}},
    };
    for (const ColumnCase& c : horizontal)
    {
        SCOPED_TRACE("width " + std::to_string(c.width));
        DcTestSurface surface(12, 20, kGrey);
        bands->DrawImagePart(surface.dc(), CRect(0, 0, c.width, 20), CRect(0, 0, 10, 10), kBandMargins);
        for (int x = 0; x < c.width; ++x)
            EXPECT_EQ(surface.Pixel(x, 0), kBand[0][c.colBands[x]]) << "column " << x;
        EXPECT_TRUE(surface.Untouched(CRect(c.width, 0, 12, 20)));
    }
}

TEST_F(Office2007DrawingTest, StatesAreDrawnFromTheirOwnRows)
{
    COSMOffice2007Image* states = Image("STATES_SOLID");
    ASSERT_NE(states, nullptr);
    const COLORREF colors[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
    for (int s = 0; s < 4; ++s)
    {
        DcTestSurface surface(20, 20, kGrey);
        states->DrawImage(surface.dc(), CRect(2, 3, 17, 13), states->GetStateRect(s, 4), CRect(1, 1, 1, 1), kNone);
        EXPECT_TRUE(surface.FilledWith(CRect(2, 3, 17, 13), colors[s])) << "state " << s;
        EXPECT_TRUE(surface.UntouchedOutside(CRect(2, 3, 17, 13)));
    }
}

TEST_F(Office2007DrawingTest, WhatCannotBeDrawnLeavesTheCanvasAlone)
{
    COSMOffice2007Image* bands = Image("BANDS");
    COSMOffice2007Image* glyphs = Image("GLYPHS");
    COSMOffice2007Image* shortStrip = Image("SHORT");
    COSMOffice2007Image* wide = Image("WIDE513");
    ASSERT_TRUE(bands && glyphs && shortStrip && wide);
    struct Case
    {
        const char* what;
        COSMOffice2007Image* image;
        CRect dest, src, margins;
    } cases[] = {
        {"wider than 512", wide, CRect(0, 0, 20, 10), CRect(0, 0, 513, 10), CRect()},
        {"glyph 16 of a strip of two", glyphs, CRect(0, 0, 9, 9), CRect(0, 135, 9, 144), CRect()},
        {"a state of a strip shorter than its states", shortStrip, CRect(0, 0, 9, 9), shortStrip->GetStateRect(4, 5),
         CRect()},
        {"a source of no width", bands, CRect(0, 0, 9, 9), CRect(3, 0, 3, 10), CRect()},
        {"a source of no height", bands, CRect(0, 0, 9, 9), CRect(0, 4, 10, 4), CRect()},
        {"margins taller than the source", bands, CRect(0, 0, 9, 9), CRect(0, 0, 10, 10), CRect(0, 6, 0, 5)},
        {"margins wider than the source", bands, CRect(0, 0, 9, 9), CRect(0, 0, 10, 10), CRect(6, 0, 5, 0)},
        {"an empty destination", bands, CRect(5, 5, 5, 9), CRect(0, 0, 10, 10), kBandMargins},
        {"an upside-down destination", bands, CRect(5, 9, 9, 5), CRect(0, 0, 10, 10), CRect()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        DcTestSurface surface(24, 24, kGrey);
        c.image->DrawImagePart(surface.dc(), c.dest, c.src, c.margins);
        c.image->DrawImage(surface.dc(), c.dest, c.src, c.margins, kMagenta);
        c.image->DrawImageFlags(surface.dc(), c.dest, c.src, c.margins, kMagenta, 1);
        EXPECT_TRUE(surface.Untouched());
    }
}

// Only what the bitmap holds is read, and it lands where it would have landed.
TEST_F(Office2007DrawingTest, SourcesReachingPastTheBitmapDrawWhatItHolds)
{
    COSMOffice2007Image* glyphs = Image("GLYPHS");
    ASSERT_NE(glyphs, nullptr);
    {
        // Glyphs 2 and 3 of a strip of two: glyph 2 at its natural size, nothing below it.
        DcTestSurface surface(12, 20, kGrey);
        glyphs->DrawImage(surface.dc(), CRect(0, 0, 9, 18), CRect(0, 9, 9, 27), CRect(), kMagenta);
        EXPECT_TRUE(surface.FilledWith(CRect(0, 0, 9, 9), RGB(4, 5, 6)));
        EXPECT_TRUE(surface.UntouchedOutside(CRect(0, 0, 9, 9)));
    }
    {
        // Three columns left of the bitmap.
        DcTestSurface surface(12, 12, kGrey);
        glyphs->DrawImagePart(surface.dc(), CRect(0, 0, 9, 9), CRect(-3, 0, 6, 9));
        EXPECT_TRUE(surface.FilledWith(CRect(3, 0, 9, 9), RGB(1, 2, 3)));
        EXPECT_TRUE(surface.UntouchedOutside(CRect(3, 0, 9, 9)));
    }
}

TEST_F(Office2007DrawingTest, TopDownBitmapsDrawTheRightWayUp)
{
    for (const char* name : {"TOPDOWN32", "TOPDOWN24"})
    {
        SCOPED_TRACE(name);
        COSMOffice2007Image* image = Image(name);
        ASSERT_NE(image, nullptr);
        DcTestSurface surface(6, 5, kGrey);
        image->DrawImagePart(surface.dc(), CRect(1, 1, 5, 4), image->GetStateRect(0, 1));
        EXPECT_TRUE(surface.FilledWith(CRect(1, 1, 4, 2), RGB(255, 0, 0)));
        EXPECT_EQ(surface.Pixel(4, 1), RGB(255, 255, 255));
        EXPECT_TRUE(surface.FilledWith(CRect(1, 2, 5, 3), RGB(0, 255, 0)));
        EXPECT_TRUE(surface.FilledWith(CRect(1, 3, 5, 4), RGB(0, 0, 255)));
        EXPECT_TRUE(surface.UntouchedOutside(CRect(1, 1, 5, 4)));
    }
}

// A PNG arrives as a top-down section with straight alpha: it is read the right way up and blended premultiplied.
TEST_F(Office2007DrawingTest, PngImagesBlendTheRightWayUp)
{
    COSMOffice2007Image* image = Image("PNGALPHA");
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->IsAlphaImage());
    EXPECT_EQ(image->GetExtent(), CSize(4, 3));
    DcTestSurface surface(6, 5, kGrey);
    image->DrawImagePart(surface.dc(), CRect(1, 1, 5, 4), image->GetStateRect(0, 1));
    EXPECT_TRUE(surface.FilledWith(CRect(1, 1, 5, 2), RGB(255, 0, 0)));
    // Half green over grey: 200 * 128 / 255 + 128 * 127 / 255 for green, 128 * 127 / 255 for red and blue.
    const COLORREF half = surface.Pixel(2, 2);
    EXPECT_NEAR(GetRValue(half), 64, 2);
    EXPECT_NEAR(GetGValue(half), 164, 2);
    EXPECT_NEAR(GetBValue(half), 64, 2);
    EXPECT_TRUE(surface.Untouched(CRect(1, 3, 5, 4)));
    EXPECT_TRUE(surface.UntouchedOutside(CRect(1, 1, 5, 4)));
}

TEST_F(Office2007DrawingTest, ColourKeysAndAlphaLeaveTheBackground)
{
    COSMOffice2007Image* keyed = Image("KEYED");
    COSMOffice2007Image* alpha = Image("ALPHA");
    ASSERT_TRUE(keyed && alpha);
    const CRect blue(4, 4, 6, 6);
    struct Case
    {
        const char* what;
        std::function<void(CDC*)> draw;
        bool magentaShows;
    } cases[] = {
        {"DrawImage with the key",
         [&](CDC* dc) { keyed->DrawImage(dc, CRect(2, 2, 8, 8), CRect(0, 0, 6, 6), CRect(), kMagenta); }, false},
        {"DrawImage without a key",
         [&](CDC* dc) { keyed->DrawImage(dc, CRect(2, 2, 8, 8), CRect(0, 0, 6, 6), CRect(), kNone); }, true},
        {"DrawImageFlags 0 is DrawImage",
         [&](CDC* dc) { keyed->DrawImageFlags(dc, CRect(2, 2, 8, 8), CRect(0, 0, 6, 6), CRect(), kMagenta, 0); },
         false},
        {"DrawImageFlags 1 makes the key transparent",
         [&](CDC* dc) { keyed->DrawImageFlags(dc, CRect(2, 2, 8, 8), CRect(0, 0, 6, 6), CRect(), kMagenta, 1); },
         false},
        {"DrawImageFlags 1 without a key makes everything opaque",
         [&](CDC* dc) { keyed->DrawImageFlags(dc, CRect(2, 2, 8, 8), CRect(0, 0, 6, 6), CRect(), kNone, 1); }, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        DcTestSurface surface(10, 10, kGrey);
        c.draw(surface.dc());
        EXPECT_TRUE(surface.FilledWith(blue, RGB(0, 0, 255)));
        EXPECT_EQ(surface.Pixel(2, 2), c.magentaShows ? kMagenta : kGrey);
        EXPECT_EQ(surface.Pixel(7, 7), c.magentaShows ? kMagenta : kGrey);
        EXPECT_TRUE(surface.UntouchedOutside(CRect(2, 2, 8, 8)));
    }
    {
        // A key whose red and blue differ: the centre part of BANDS goes, every other part stays.
        SCOPED_TRACE("DrawImageFlags 1 with the centre's colour as the key");
        COSMOffice2007Image* bands = Image("BANDS");
        ASSERT_NE(bands, nullptr);
        DcTestSurface surface(14, 14, kGrey);
        bands->DrawImageFlags(surface.dc(), CRect(2, 2, 12, 12), CRect(0, 0, 10, 10), CRect(), kBand[1][1], 1);
        EXPECT_TRUE(surface.Untouched(CRect(4, 4, 9, 9)));
        EXPECT_TRUE(surface.FilledWith(CRect(2, 2, 4, 4), kBand[0][0]));
        EXPECT_TRUE(surface.FilledWith(CRect(9, 9, 12, 12), kBand[2][2]));
        EXPECT_TRUE(surface.FilledWith(CRect(4, 2, 9, 4), kBand[0][1]));
    }
    {
        SCOPED_TRACE("alpha image");
        DcTestSurface surface(10, 10, kGrey);
        alpha->DrawImage(surface.dc(), CRect(1, 1, 9, 9), CRect(0, 0, 4, 4), CRect(), kMagenta);
        EXPECT_TRUE(surface.FilledWith(CRect(1, 1, 5, 9), RGB(255, 0, 0)));
        EXPECT_TRUE(surface.UntouchedOutside(CRect(1, 1, 5, 9)));
    }
}

// Device columns of a row of the canvas: what the eye sees, whatever the layout.
std::vector<COLORREF> DeviceRow(const DcTestSurface& surface, int y)
{
    std::vector<COLORREF> row;
    for (int x = 0; x < surface.Width(); ++x)
        row.push_back(surface.Pixel(x, y));
    return row;
}

TEST_F(Office2007DrawingTest, RightToLeftCanvasesKeepTheAlphaPicturesSideByPreserveOrientation)
{
    COSMOffice2007Image* alpha = Image("ALPHA");
    ASSERT_NE(alpha, nullptr);
    // Margins of two columns a side: the red half and the clear half are parts of their own.
    auto draw = [&](bool rightToLeft) {
        auto surface = std::make_unique<DcTestSurface>(8, 4, DcTestSurface::RawFill{0xFF808080}, rightToLeft);
        alpha->DrawImagePart(surface->dc(), CRect(0, 0, 8, 4), CRect(0, 0, 4, 4), CRect(2, 0, 2, 0));
        return surface;
    };
    const std::vector<COLORREF> leftToRight = DeviceRow(*draw(false), 0);
    ASSERT_EQ(leftToRight, std::vector<COLORREF>({RGB(255, 0, 0), RGB(255, 0, 0), RGB(255, 0, 0), RGB(255, 0, 0), kGrey,
                                                  kGrey, kGrey, kGrey}));
    // The columns swap places on a right-to-left canvas, so the picture reads the same.
    EXPECT_EQ(DeviceRow(*draw(true), 0), leftToRight);
    EXPECT_FALSE(alpha->IsMirrored());

    // Kept orientation: the rows are mirrored once for right-to-left canvases, and back for the next left-to-right
    // one.
    alpha->SetPreserveOrientation(TRUE);
    std::vector<COLORREF> mirrored(leftToRight.rbegin(), leftToRight.rend());
    EXPECT_EQ(DeviceRow(*draw(true), 0), mirrored);
    EXPECT_TRUE(alpha->IsMirrored());
    EXPECT_EQ(DeviceRow(*draw(true), 0), mirrored);
    EXPECT_TRUE(alpha->IsMirrored());
    EXPECT_EQ(DeviceRow(*draw(false), 0), leftToRight);
    EXPECT_FALSE(alpha->IsMirrored());
    alpha->SetPreserveOrientation(FALSE);

    // Images without alpha are left to the canvas: nothing is mirrored or swapped by the image.
    COSMOffice2007Image* bands = Image("BANDS");
    ASSERT_NE(bands, nullptr);
    bands->SetPreserveOrientation(TRUE);
    DcTestSurface rtl(30, 10, DcTestSurface::RawFill{0xFF808080}, true);
    bands->DrawImagePart(rtl.dc(), CRect(0, 0, 30, 10), CRect(0, 0, 10, 10), kBandMargins);
    EXPECT_FALSE(bands->IsMirrored());
}

TEST_F(Office2007DrawingTest, TwoThreadsDrawingTheSameImagesGetEqualPictures)
{
    COSMOffice2007Image* bands = Image("BANDS");
    COSMOffice2007Image* keyed = Image("KEYED");
    COSMOffice2007Image* alpha = Image("ALPHA");
    ASSERT_TRUE(bands && keyed && alpha);
    auto drawAll = [&](DcTestSurface& surface) {
        bands->DrawImagePart(surface.dc(), CRect(0, 0, 30, 20), CRect(0, 0, 10, 10), kBandMargins);
        keyed->DrawImage(surface.dc(), CRect(30, 0, 42, 12), CRect(0, 0, 6, 6), CRect(), kMagenta);
        alpha->DrawImage(surface.dc(), CRect(0, 20, 16, 28), CRect(0, 0, 4, 4), CRect(1, 1, 1, 1), kNone);
    };
    DcTestSurface reference(48, 32, kGrey);
    drawAll(reference);

    const int kRounds = 150;
    bool equal[2] = {true, true};
    auto worker = [&](int index) {
        DcTestSurface surface(48, 32, kGrey);
        for (int i = 0; i < kRounds && equal[index]; ++i)
        {
            surface.Fill(kGrey);
            drawAll(surface);
            equal[index] = surface.All() == reference.All();
        }
    };
    std::thread first(worker, 0), second(worker, 1);
    first.join();
    second.join();
    EXPECT_TRUE(equal[0]);
    EXPECT_TRUE(equal[1]);
}

}  // namespace
