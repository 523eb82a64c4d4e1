// Gradients, alpha blends and transparent blits on DIB sections. Our own code runs when the helpers are handed null
// functions, and the paths of other systems when they are handed that system's facts; both are checked against
// msimg32's results on the same surfaces. Also the corner exclusion and the pixel blur.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/DC.h"
#include "tests/support/DcTestSurface.h"
#include "framework/foundation/ColorFunctions.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/LayoutFunctions.h"

using foundation_test::DcTestSurface;

namespace {

const COLORREF kBackground = RGB(250, 248, 240);

enum class System
{
    Win9x,
    NT4,
    NT2000
};

const char* Name(System system)
{
    return system == System::Win9x ? "Windows 9x" : system == System::NT4 ? "NT 4" : "NT 5";
}

class ChosenEnvironment : public COSMDrawEnvironment
{
public:
    explicit ChosenEnvironment(System system, BOOL bLowColor = FALSE) : m_system(system), m_bLowColor(bLowColor) {}

    BOOL IsWin9x() override { return m_system == System::Win9x; }
    BOOL IsWin2KOrGreater() override { return m_system == System::NT2000; }
    BOOL IsLowColorDC(HDC) override { return m_bLowColor; }

private:
    System m_system;
    BOOL m_bLowColor;
};

// msimg32's functions as the process-wide helpers found them.
const COSMMsimg32Functions& Library()
{
    return GetDrawHelpers()->GetFunctions();
}

bool LibraryComplete()
{
    const COSMMsimg32Functions& library = Library();
    return library.gradientFill && library.alphaBlend && library.transparentBlt;
}

// Stand-ins that count their calls and pass each one on to the library.
struct CallCounts
{
    int gradientFill = 0;
    int alphaBlend = 0;
    int transparentBlt = 0;
};
CallCounts g_calls;

BOOL WINAPI CountedGradientFill(HDC dc, PTRIVERTEX vertices, ULONG nVertices, PVOID mesh, ULONG nMesh, ULONG mode)
{
    ++g_calls.gradientFill;
    return Library().gradientFill(dc, vertices, nVertices, mesh, nMesh, mode);
}

BOOL WINAPI CountedAlphaBlend(HDC dest, int x, int y, int cx, int cy, HDC src, int xSrc, int ySrc, int cxSrc, int cySrc,
                              BLENDFUNCTION blend)
{
    ++g_calls.alphaBlend;
    return Library().alphaBlend(dest, x, y, cx, cy, src, xSrc, ySrc, cxSrc, cySrc, blend);
}

BOOL WINAPI CountedTransparentBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int xSrc, int ySrc, int cxSrc,
                                  int cySrc, UINT transparent)
{
    ++g_calls.transparentBlt;
    return Library().transparentBlt(dest, x, y, cx, cy, src, xSrc, ySrc, cxSrc, cySrc, transparent);
}

COSMMsimg32Functions Counted()
{
    COSMMsimg32Functions counted;
    counted.gradientFill = CountedGradientFill;
    counted.alphaBlend = CountedAlphaBlend;
    counted.transparentBlt = CountedTransparentBlt;
    return counted;
}

// A CDC over a surface's DC, which stays the surface's.
class BorrowedDC : public CDC
{
public:
    explicit BorrowedDC(const DcTestSurface& surface) { Attach(surface.GetDC()); }
    ~BorrowedDC() override { Detach(); }
};

std::string Describe(COLORREF clr)
{
    char text[32];
    std::snprintf(text, sizeof(text), "RGB(%d, %d, %d)", GetRValue(clr), GetGValue(clr), GetBValue(clr));
    return text;
}

int ChannelDistance(COLORREF a, COLORREF b)
{
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// The first pixel where the two surfaces differ by more than the tolerance in a channel; empty when none does.
std::string FirstDifference(const DcTestSurface& actual, const DcTestSurface& expected, int tolerance)
{
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x)
            if (ChannelDistance(actual.Pixel(x, y), expected.Pixel(x, y)) > tolerance)
                return "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + Describe(actual.Pixel(x, y)) +
                       " instead of " + Describe(expected.Pixel(x, y));
    return {};
}

// Every pixel outside the rectangle still shows the background.
std::string FirstChangeOutside(const DcTestSurface& surface, const RECT& rect)
{
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
        {
            const POINT point = {x, y};
            if (!::PtInRect(&rect, point) && surface.Pixel(x, y) != kBackground)
                return "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + Describe(surface.Pixel(x, y));
        }
    return {};
}

// Writes whole BGRA pixels (alpha included, which GDI's own drawing leaves at 0) into the surface's memory, row by
// row from the top.
void PutPixels(const DcTestSurface& surface, const std::vector<DWORD>& bgra)
{
    DIBSECTION dib{};
    ASSERT_EQ(::GetObjectA(::GetCurrentObject(surface.GetDC(), OBJ_BITMAP), sizeof(dib), &dib),
              static_cast<int>(sizeof(dib)));
    ASSERT_EQ(bgra.size(), static_cast<size_t>(surface.Width() * surface.Height()));
    ::GdiFlush();
    std::copy(bgra.begin(), bgra.end(), static_cast<DWORD*>(dib.dsBm.bmBits));
}

// Stripes of changing colours, so that a mirrored or shifted copy of any part shows.
void PaintBackdrop(DcTestSurface& surface)
{
    for (int x = 0; x < surface.Width(); ++x)
        for (int y = 0; y < surface.Height(); y += 3)
            surface.Fill(RECT{x, y, x + 1, y + 3},
                         RGB((x * 23 + y * 5) % 256, 255 - (x * 11) % 200, (y * 31 + x * 3) % 256));
}

// Premultiplied pixels in 2 x 2 blocks (so every way of stretching by two picks the same colours), no two blocks
// alike and the alpha running through fully transparent, partial and opaque.
std::vector<DWORD> PremultipliedBlocks(int nWidth, int nHeight)
{
    static const DWORD alphas[] = {0, 255, 64, 128, 200, 17, 255, 240};
    std::vector<DWORD> bgra;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
        {
            const int bx = x / 2, by = y / 2;
            const DWORD alpha = alphas[(bx * 3 + by * 5) % 8];
            const DWORD red = (bx * 40 + 30) % 256, green = (by * 50 + 90) % 256, blue = (bx * by * 13 + 7) % 256;
            bgra.push_back(alpha << 24 | (red * alpha / 255) << 16 | (green * alpha / 255) << 8 | blue * alpha / 255);
        }
    return bgra;
}

// ---- Gradients ----

struct GradientCase
{
    CRect rect;
    COLORREF from, to;
    BOOL horizontal;
};

// On the background; dcClip, when not empty, clips the context while the gradient is drawn.
void PaintGradient(COSMDrawHelpers& helpers, DcTestSurface& surface, const GradientCase& c, const CRect& dcClip = {})
{
    surface.Fill(kBackground);
    BorrowedDC dc(surface);
    if (!dcClip.IsRectEmpty())
        dc.IntersectClipRect(dcClip);
    EXPECT_TRUE(helpers.GradientFill(&dc, c.rect, c.from, c.to, c.horizontal));
    dc.SelectClipRgn(nullptr);
}

// The row's pixels that are not the background, from left to right as they lie in memory.
std::vector<COLORREF> PaintedRow(const DcTestSurface& surface, int y)
{
    std::vector<COLORREF> painted;
    for (int x = 0; x < surface.Width(); ++x)
        if (surface.Pixel(x, y) != kBackground)
            painted.push_back(surface.Pixel(x, y));
    return painted;
}

// The colour of line i of n going from one colour towards the other, as far as the line is along.
COLORREF LineColour(COLORREF from, COLORREF to, int i, int n)
{
    return BlendColors(from, to, 1.0 - static_cast<double>(i) / n);
}

}  // namespace

TEST(DrawHelpersGradient, EqualColoursOrALowColourContextGiveOneSolidFill)
{
    ASSERT_TRUE(LibraryComplete());
    struct Case
    {
        COLORREF from, to;
        BOOL lowColor, horizontal;
    } cases[] = {
        {RGB(30, 120, 200), RGB(30, 120, 200), FALSE, FALSE},
        {RGB(30, 120, 200), RGB(30, 120, 200), FALSE, TRUE},
        {RGB(200, 40, 10), RGB(10, 90, 250), TRUE, FALSE},
        {RGB(200, 40, 10), RGB(10, 90, 250), TRUE, TRUE},
    };
    const CRect rect(3, 4, 27, 20);
    for (const Case& c : cases)
    {
        ChosenEnvironment environment(System::NT2000, c.lowColor);
        COSMDrawHelpers helpers(Counted(), environment);
        g_calls = {};
        DcTestSurface surface(32, 24);
        PaintGradient(helpers, surface, {rect, c.from, c.to, c.horizontal});
        EXPECT_TRUE(surface.AllPixels(rect, c.from)) << Describe(c.from) << (c.lowColor ? " low colour" : "");
        EXPECT_EQ(FirstChangeOutside(surface, rect), "");
        EXPECT_EQ(g_calls.gradientFill, 0) << "a solid fill needs no gradient";
    }
}

TEST(DrawHelpersGradient, RunsFromTheFirstColourToNearTheSecond)
{
    ASSERT_TRUE(LibraryComplete());
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt), library(Library(), nt);
    const COLORREF from = RGB(240, 16, 100), to = RGB(20, 200, 180);
    for (COSMDrawHelpers* helpers : {&own, &library})
        for (BOOL horizontal : {FALSE, TRUE})
        {
            SCOPED_TRACE(std::string(helpers == &own ? "own" : "library") + (horizontal ? " horizontal" : " vertical"));
            const CRect rect(2, 3, 34, 27);
            DcTestSurface surface(36, 30);
            PaintGradient(*helpers, surface, {rect, from, to, horizontal});
            // Line i of the gradient, pixel j along it.
            auto at = [&](int i, int j) {
                return horizontal ? surface.Pixel(rect.left + i, rect.top + j)
                                  : surface.Pixel(rect.left + j, rect.top + i);
            };
            const int lines = horizontal ? rect.Width() : rect.Height(),
                      length = horizontal ? rect.Height() : rect.Width();
            EXPECT_EQ(at(0, 0), from);
            // The last line lies one step short of the second colour.
            const int step = ChannelDistance(from, to) / lines + 1;
            EXPECT_LE(ChannelDistance(at(lines - 1, 0), to), step) << Describe(at(lines - 1, 0));
            EXPECT_GT(ChannelDistance(at(lines - 1, 0), to), 0);
            for (int i = 0; i < lines; ++i)
            {
                for (int j = 1; j < length; ++j)
                    ASSERT_EQ(at(i, j), at(i, 0)) << "line " << i << " is one colour";
                if (i > 0)
                {
                    // Every channel moves one way only: red down, green and blue up.
                    EXPECT_LE(GetRValue(at(i, 0)), GetRValue(at(i - 1, 0))) << i;
                    EXPECT_GE(GetGValue(at(i, 0)), GetGValue(at(i - 1, 0))) << i;
                    EXPECT_GE(GetBValue(at(i, 0)), GetBValue(at(i - 1, 0))) << i;
                }
            }
            EXPECT_EQ(FirstChangeOutside(surface, rect), "");
        }
}

TEST(DrawHelpersGradient, OwnFillMatchesTheLibrary)
{
    ASSERT_TRUE(LibraryComplete());
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt), library(Library(), nt);
    struct Case
    {
        GradientCase gradient;
        CRect dcClip;  // empty: the context is not clipped
    } cases[] = {
        {{{0, 0, 40, 30}, RGB(0, 0, 0), RGB(255, 255, 255), FALSE}, {}},
        {{{0, 0, 40, 30}, RGB(0, 0, 0), RGB(255, 255, 255), TRUE}, {}},
        {{{5, 2, 36, 9}, RGB(255, 128, 0), RGB(0, 64, 255), FALSE}, {}},
        {{{5, 2, 36, 9}, RGB(255, 128, 0), RGB(0, 64, 255), TRUE}, {}},
        {{{-8, -6, 30, 40}, RGB(12, 200, 90), RGB(230, 30, 180), FALSE}, {}},
        {{{-8, -6, 30, 40}, RGB(12, 200, 90), RGB(230, 30, 180), TRUE}, {}},
        {{{1, 1, 2, 29}, RGB(100, 0, 0), RGB(0, 0, 100), TRUE}, {}},
        // The own fill draws only the lines the context's clip lets through.
        {{{2, 2, 38, 28}, RGB(20, 40, 60), RGB(220, 200, 180), FALSE}, {10, 12, 30, 20}},
        {{{2, 2, 38, 28}, RGB(20, 40, 60), RGB(220, 200, 180), TRUE}, {10, 12, 30, 20}},
    };
    for (const Case& c : cases)
    {
        const GradientCase& g = c.gradient;
        SCOPED_TRACE(std::to_string(g.rect.left) + "," + std::to_string(g.rect.top) + " " + Describe(g.from) +
                     (g.horizontal ? " horizontal" : " vertical") + (c.dcClip.IsRectEmpty() ? "" : " clipped"));
        DcTestSurface ours(40, 30), theirs(40, 30);
        PaintGradient(own, ours, g, c.dcClip);
        PaintGradient(library, theirs, g, c.dcClip);
        EXPECT_EQ(FirstDifference(ours, theirs, 2), "");
        if (!c.dcClip.IsRectEmpty())
        {
            CRect painted;
            painted.IntersectRect(g.rect, c.dcClip);
            EXPECT_EQ(FirstChangeOutside(ours, painted), "");
        }
    }
}

TEST(DrawHelpersGradient, RightToLeftContextOnWindows9xNeverReachesTheLibrary)
{
    ASSERT_TRUE(LibraryComplete());
    struct Case
    {
        System system;
        bool rightToLeft;
        int libraryCalls;
    } cases[] = {
        {System::Win9x, true, 0},
        {System::Win9x, false, 1},
        {System::NT4, true, 1},
        {System::NT2000, true, 1},
    };
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers library(Library(), nt);
    for (const Case& c : cases)
        for (BOOL horizontal : {FALSE, TRUE})
        {
            SCOPED_TRACE(std::string(Name(c.system)) + (c.rightToLeft ? " right to left" : "") +
                         (horizontal ? " horizontal" : " vertical"));
            ChosenEnvironment environment(c.system);
            COSMDrawHelpers helpers(Counted(), environment);
            const GradientCase gradient = {{3, 2, 30, 20}, RGB(255, 0, 0), RGB(0, 0, 255), horizontal};
            DcTestSurface drawn(36, 24);
            SetDCLayout(drawn.GetDC(), c.rightToLeft ? LAYOUT_RTL : 0);
            g_calls = {};
            PaintGradient(helpers, drawn, gradient);
            EXPECT_EQ(g_calls.gradientFill, c.libraryCalls);
            if (c.libraryCalls == 0)
            {
                // Our own fill mirrors with the context: every row, read from the right, is the library's
                // left-to-right gradient.
                DcTestSurface leftToRight(36, 24);
                PaintGradient(library, leftToRight, gradient);
                for (int y = 0; y < 24; ++y)
                {
                    std::vector<COLORREF> row = PaintedRow(drawn, y);
                    std::reverse(row.begin(), row.end());
                    const std::vector<COLORREF> expected = PaintedRow(leftToRight, y);
                    ASSERT_EQ(row.size(), expected.size()) << "row " << y;
                    for (size_t i = 0; i < row.size(); ++i)
                        ASSERT_LE(ChannelDistance(row[i], expected[i]), 2)
                            << "row " << y << ", pixel " << i << " from the right: " << Describe(row[i]);
                }
                EXPECT_EQ(PaintedRow(drawn, 2).back(), RGB(255, 0, 0));
            }
        }
}

TEST(DrawHelpersGradient, ClippedFillIsTheWholeGradientInsideTheClipAndNothingOutside)
{
    ASSERT_TRUE(LibraryComplete());
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt), library(Library(), nt);
    const CRect rect(4, 3, 36, 27);
    const CRect clips[] = {
        {10, 8, 30, 20},     // inside: cut at both ends and both sides
        {0, 0, 40, 12},      // top part
        {0, 15, 40, 30},     // bottom part
        {0, 0, 18, 30},      // left part
        {22, 0, 40, 30},     // right part
        {4, 3, 36, 27},      // the rectangle itself
        {-10, -10, 50, 50},  // around it
        {20, 0, 21, 30},     // one column
        {0, 14, 40, 15},     // one row
    };
    struct Helpers
    {
        const char* name;
        COSMDrawHelpers* helpers;
        int tolerance;
    } ways[] = {{"own", &own, 1}, {"library", &library, 1}};
    for (const Helpers& way : ways)
        for (BOOL horizontal : {FALSE, TRUE})
            for (const CRect& clip : clips)
            {
                SCOPED_TRACE(std::string(way.name) + (horizontal ? " horizontal, clip " : " vertical, clip ") +
                             std::to_string(clip.left) + "," + std::to_string(clip.top) + "," +
                             std::to_string(clip.right) + "," + std::to_string(clip.bottom));
                const COLORREF from = RGB(250, 10, 60), to = RGB(10, 230, 160);
                DcTestSurface whole(40, 30), clipped(40, 30);
                PaintGradient(*way.helpers, whole, {rect, from, to, horizontal});
                clipped.Fill(kBackground);
                BorrowedDC dc(clipped);
                EXPECT_TRUE(way.helpers->GradientFillClipped(&dc, rect, from, to, horizontal, clip));

                CRect visible;
                visible.IntersectRect(rect, clip);
                EXPECT_EQ(FirstChangeOutside(clipped, visible), "");
                // The whole gradient with everything outside the visible part wiped: the clipped fill's picture.
                whole.Fill(CRect(0, 0, 40, visible.top), kBackground);
                whole.Fill(CRect(0, visible.bottom, 40, 30), kBackground);
                whole.Fill(CRect(0, 0, visible.left, 30), kBackground);
                whole.Fill(CRect(visible.right, 0, 40, 30), kBackground);
                EXPECT_EQ(FirstDifference(clipped, whole, way.tolerance), "");
            }
}

TEST(DrawHelpersGradient, ClippedFillPaintsNothingWhenTheClipMissesOrTheRectangleIsEmpty)
{
    ASSERT_TRUE(LibraryComplete());
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt), library(Library(), nt);
    struct Case
    {
        CRect rect, clip;
    } cases[] = {
        {{4, 4, 20, 20}, {22, 0, 30, 30}},   // beside it
        {{4, 4, 20, 20}, {0, 20, 30, 30}},   // below it, touching
        {{4, 4, 20, 20}, {10, 10, 10, 15}},  // an empty clip inside it
        {{4, 10, 20, 10}, {0, 0, 30, 30}},   // no height
        {{10, 4, 10, 20}, {0, 0, 30, 30}},   // no width
        {{20, 20, 4, 4}, {0, 0, 30, 30}},    // upside down
    };
    for (COSMDrawHelpers* helpers : {&own, &library})
        for (BOOL horizontal : {FALSE, TRUE})
            for (const Case& c : cases)
            {
                DcTestSurface surface(30, 30, kBackground);
                BorrowedDC dc(surface);
                EXPECT_FALSE(
                    helpers->GradientFillClipped(&dc, c.rect, RGB(255, 0, 0), RGB(0, 0, 255), horizontal, c.clip));
                EXPECT_EQ(surface.CountNot(kBackground), 0)
                    << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
            }
}

TEST(DrawHelpersGradient, TwoPartIsOneGradientAtAHalfElseTwoHalvesMeetingAtTheBlend)
{
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt);
    const COLORREF standard1 = RGB(0, 0, 0), standard2 = RGB(255, 255, 255);
    const COLORREF custom1 = RGB(200, 30, 30), custom2 = RGB(20, 40, 220);
    struct Case
    {
        float factor;
        bool customFirst, customSecond;
    } cases[] = {{0.5f, false, false}, {0.5f, true, true},   {0.4f, false, false},
                 {0.4f, true, false},  {0.75f, false, true}, {0.2f, true, true}};
    // An odd size: the first half is the larger one.
    const CRect rect(3, 1, 30, 26);
    for (const Case& c : cases)
        for (BOOL horizontal : {FALSE, TRUE})
        {
            SCOPED_TRACE(std::to_string(c.factor) + (c.customFirst ? " custom first" : "") +
                         (c.customSecond ? " custom second" : "") + (horizontal ? " horizontal" : " vertical"));
            COSMPaintManagerColorGradient gradient;
            gradient.SetStandardColors(standard1, standard2, c.factor);
            if (c.customFirst)
                gradient.First().SetCustomValue(custom1);
            if (c.customSecond)
                gradient.Second().SetCustomValue(custom2);
            // The custom value wins where one is set.
            const COLORREF first = c.customFirst ? custom1 : standard1, second = c.customSecond ? custom2 : standard2;

            DcTestSurface surface(32, 28, kBackground);
            BorrowedDC dc(surface);
            EXPECT_TRUE(own.GradientFillTwoPart(&dc, rect, gradient, horizontal, nullptr));
            auto line = [&](int i) {
                return horizontal ? surface.Pixel(rect.left + i, rect.top + 5)
                                  : surface.Pixel(rect.left + 5, rect.top + i);
            };
            const int lines = horizontal ? rect.Width() : rect.Height();
            EXPECT_EQ(line(0), first);
            if (c.factor == 0.5f)
            {
                for (int i = 0; i < lines; ++i)
                    EXPECT_EQ(line(i), LineColour(first, second, i, lines)) << "line " << i;
            }
            else
            {
                // Each half is a gradient of its own: first to the blend, then the blend to second.
                const COLORREF middle = BlendColors(first, second, c.factor);
                const int firstLines = lines - lines / 2;
                for (int i = 0; i < firstLines; ++i)
                    EXPECT_EQ(line(i), LineColour(first, middle, i, firstLines)) << "line " << i;
                for (int i = firstLines; i < lines; ++i)
                    EXPECT_EQ(line(i), LineColour(middle, second, i - firstLines, lines - firstLines)) << "line " << i;
                EXPECT_EQ(line(firstLines), middle);
            }
            EXPECT_EQ(FirstChangeOutside(surface, rect), "");
        }
}

TEST(DrawHelpersGradient, TwoPartKeepsToTheClip)
{
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt);
    const CRect rect(2, 2, 30, 22);
    const CRect clips[] = {{0, 6, 24, 30}, {12, 0, 20, 30}, {0, 11, 32, 13}};
    for (float factor : {0.5f, 0.4f})
        for (BOOL horizontal : {FALSE, TRUE})
            for (const CRect& clip : clips)
            {
                SCOPED_TRACE(std::to_string(factor) + (horizontal ? " horizontal, clip " : " vertical, clip ") +
                             std::to_string(clip.left) + "," + std::to_string(clip.top));
                COSMPaintManagerColorGradient gradient;
                gradient.SetStandardColors(RGB(0, 60, 240), RGB(250, 250, 100), factor);
                DcTestSurface whole(32, 24, kBackground), clipped(32, 24, kBackground);
                BorrowedDC dcWhole(whole), dcClipped(clipped);
                EXPECT_TRUE(own.GradientFillTwoPart(&dcWhole, rect, gradient, horizontal, nullptr));
                EXPECT_TRUE(own.GradientFillTwoPart(&dcClipped, rect, gradient, horizontal, clip));
                CRect visible;
                visible.IntersectRect(rect, clip);
                EXPECT_EQ(FirstChangeOutside(clipped, visible), "");
                whole.Fill(CRect(0, 0, 32, visible.top), kBackground);
                whole.Fill(CRect(0, visible.bottom, 32, 24), kBackground);
                whole.Fill(CRect(0, 0, visible.left, 24), kBackground);
                whole.Fill(CRect(visible.right, 0, 32, 24), kBackground);
                EXPECT_EQ(FirstDifference(clipped, whole, 1), "");
            }
}

// ---- Blits ----

namespace {

struct BlitCase
{
    CRect dest, src;
    bool destRightToLeft, srcRightToLeft;
};

std::string Describe(const BlitCase& c)
{
    auto rect = [](const CRect& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    };
    return "dest " + rect(c.dest) + (c.destRightToLeft ? " rtl" : "") + ", source " + rect(c.src) +
           (c.srcRightToLeft ? " rtl" : "");
}

const int kDestSize = 40;
const int kSourceSize = 24;

// The source shows the same blocks in its logical coordinates whichever way it runs: a right-to-left source holds
// them mirrored in memory.
void PaintAlphaBlend(COSMDrawHelpers& helpers, DcTestSurface& dest, const BlitCase& c)
{
    DcTestSurface source(kSourceSize, kSourceSize);
    std::vector<DWORD> blocks = PremultipliedBlocks(kSourceSize, kSourceSize);
    if (c.srcRightToLeft)
        for (int y = 0; y < kSourceSize; ++y)
            std::reverse(blocks.begin() + y * kSourceSize, blocks.begin() + (y + 1) * kSourceSize);
    PutPixels(source, blocks);
    PaintBackdrop(dest);
    SetDCLayout(dest.GetDC(), c.destRightToLeft ? LAYOUT_RTL : 0);
    SetDCLayout(source.GetDC(), c.srcRightToLeft ? LAYOUT_RTL : 0);
    BorrowedDC dcDest(dest), dcSource(source);
    EXPECT_TRUE(helpers.DrawAlphaBlend(&dcDest, c.dest, &dcSource, c.src));
    SetDCLayout(dest.GetDC(), 0);
}

// Magenta, black and near-misses of both among other colours, in 2 x 2 blocks.
COLORREF KeyedBlockColour(int x, int y)
{
    static const COLORREF colours[] = {RGB(255, 0, 255), RGB(0, 0, 0),     RGB(254, 0, 255), RGB(0, 0, 1),
                                       RGB(30, 160, 90), RGB(255, 0, 255), RGB(250, 250, 0), RGB(0, 0, 0)};
    return colours[((x / 2) * 3 + (y / 2) * 5) % 8];
}

void PaintTransparentBlt(COSMDrawHelpers& helpers, DcTestSurface& dest, const BlitCase& c, COLORREF transparent)
{
    DcTestSurface source(kSourceSize, kSourceSize);
    for (int y = 0; y < kSourceSize; y += 2)
        for (int x = 0; x < kSourceSize; x += 2)
            source.Fill(RECT{x, y, x + 2, y + 2}, KeyedBlockColour(x, y));
    PaintBackdrop(dest);
    SetDCLayout(dest.GetDC(), c.destRightToLeft ? LAYOUT_RTL : 0);
    BorrowedDC dcDest(dest), dcSource(source);
    EXPECT_TRUE(helpers.DrawTransparentBlt(&dcDest, c.dest, &dcSource, c.src, transparent));
    SetDCLayout(dest.GetDC(), 0);
}

}  // namespace

TEST(DrawHelpersBlit, OwnAlphaBlendMatchesTheLibrary)
{
    ASSERT_TRUE(LibraryComplete());
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt), library(Library(), nt);
    const BlitCase cases[] = {
        {{0, 0, 24, 24}, {0, 0, 24, 24}, false, false},
        {{7, 5, 23, 17}, {4, 2, 20, 14}, false, false},    // from inside the source
        {{-4, -6, 12, 10}, {0, 0, 16, 16}, false, false},  // partly off the destination
        {{2, 3, 34, 35}, {4, 6, 20, 22}, false, false},    // stretched to twice the size
        {{10, 10, 22, 20}, {0, 0, 24, 20}, false, false},  // shrunk to half
        {{5, 6, 25, 22}, {3, 4, 23, 20}, true, false},     // onto a right-to-left destination
        {{5, 6, 25, 22}, {3, 4, 23, 20}, false, true},     // from a right-to-left source
        {{5, 6, 25, 22}, {3, 4, 23, 20}, true, true},
    };
    for (const BlitCase& c : cases)
    {
        DcTestSurface ours(kDestSize, kDestSize), theirs(kDestSize, kDestSize);
        PaintAlphaBlend(own, ours, c);
        // The library refuses right-to-left sources under Wine; the same blocks from a left-to-right one are the
        // picture to match.
        BlitCase leftToRightSource = c;
        leftToRightSource.srcRightToLeft = false;
        PaintAlphaBlend(library, theirs, leftToRightSource);
        EXPECT_EQ(FirstDifference(ours, theirs, 1), "") << Describe(c);
    }
}

TEST(DrawHelpersBlit, AlphaBlendReachesTheLibraryOnlyWhereItIsSafe)
{
    ASSERT_TRUE(LibraryComplete());
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers reference(Library(), nt);
    struct Case
    {
        System system;
        BlitCase blit;
        int libraryCalls;
    } cases[] = {
        // Windows 9x never blends onto a right-to-left destination with the library.
        {System::Win9x, {{5, 6, 21, 22}, {0, 0, 16, 16}, true, false}, 0},
        {System::Win9x, {{5, 6, 21, 22}, {2, 1, 18, 17}, true, true}, 0},
        {System::Win9x, {{5, 6, 21, 22}, {0, 0, 16, 16}, false, false}, 1},
        // Before Windows 2000 only a source from the origin onto a destination not above the top edge.
        {System::Win9x, {{5, 6, 21, 22}, {2, 0, 18, 16}, false, false}, 0},
        {System::NT4, {{5, 6, 21, 22}, {0, 0, 16, 16}, false, false}, 1},
        {System::NT4, {{5, 6, 21, 22}, {0, 3, 16, 19}, false, false}, 0},
        {System::NT4, {{5, -2, 21, 14}, {0, 0, 16, 16}, false, false}, 0},
        {System::NT4, {{-5, 0, 11, 16}, {0, 0, 16, 16}, false, false}, 1},
        {System::NT4, {{5, 6, 21, 22}, {0, 0, 16, 16}, true, false}, 1},
        // From Windows 2000 always the library.
        {System::NT2000, {{5, -2, 21, 14}, {3, 3, 19, 19}, true, false}, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(Name(c.system)) + ", " + Describe(c.blit));
        ChosenEnvironment environment(c.system);
        COSMDrawHelpers helpers(Counted(), environment);
        DcTestSurface drawn(kDestSize, kDestSize), expected(kDestSize, kDestSize);
        g_calls = {};
        PaintAlphaBlend(helpers, drawn, c.blit);
        EXPECT_EQ(g_calls.alphaBlend, c.libraryCalls);
        BlitCase leftToRightSource = c.blit;
        leftToRightSource.srcRightToLeft = false;
        PaintAlphaBlend(reference, expected, leftToRightSource);
        EXPECT_EQ(FirstDifference(drawn, expected, 1), "");
    }
}

TEST(DrawHelpersBlit, OwnTransparentBltMatchesTheLibrary)
{
    ASSERT_TRUE(LibraryComplete());
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt), library(Library(), nt);
    const BlitCase cases[] = {
        {{0, 0, 24, 24}, {0, 0, 24, 24}, false, false},
        {{9, 7, 25, 19}, {4, 2, 20, 14}, false, false},
        {{-6, -2, 10, 14}, {0, 0, 16, 16}, false, false},
        {{2, 3, 34, 35}, {4, 6, 20, 22}, false, false},    // stretched to twice the size
        {{10, 10, 22, 20}, {0, 0, 24, 20}, false, false},  // shrunk to half
        {{5, 6, 25, 22}, {3, 4, 23, 20}, true, false},
    };
    for (COLORREF transparent : {RGB(255, 0, 255), RGB(0, 0, 0)})
        for (const BlitCase& c : cases)
        {
            SCOPED_TRACE(Describe(transparent) + " transparent, " + Describe(c));
            DcTestSurface ours(kDestSize, kDestSize), theirs(kDestSize, kDestSize), backdrop(kDestSize, kDestSize);
            PaintTransparentBlt(own, ours, c, transparent);
            PaintTransparentBlt(library, theirs, c, transparent);
            EXPECT_EQ(FirstDifference(ours, theirs, 1), "");
            // The blit did something: pixels of the source replaced the backdrop, and transparent ones kept it.
            PaintBackdrop(backdrop);
            EXPECT_NE(FirstDifference(ours, backdrop, 0), "");
        }
}

TEST(DrawHelpersBlit, TransparentBltKeepsTheBackdropExactlyWhereTheSourceIsTransparent)
{
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt);
    for (COLORREF transparent : {RGB(255, 0, 255), RGB(0, 0, 0)})
    {
        const BlitCase c = {{8, 4, 32, 28}, {0, 0, 24, 24}, false, false};
        DcTestSurface drawn(kDestSize, kDestSize), backdrop(kDestSize, kDestSize);
        PaintTransparentBlt(own, drawn, c, transparent);
        PaintBackdrop(backdrop);
        for (int y = 0; y < kDestSize; ++y)
            for (int x = 0; x < kDestSize; ++x)
            {
                const POINT point = {x, y};
                const bool inside = ::PtInRect(&c.dest, point);
                const COLORREF source = inside ? KeyedBlockColour(x - c.dest.left, y - c.dest.top) : CLR_INVALID;
                const COLORREF expected = !inside || source == transparent ? backdrop.Pixel(x, y) : source;
                ASSERT_EQ(drawn.Pixel(x, y), expected) << Describe(transparent) << " at " << x << "," << y;
            }
    }
}

TEST(DrawHelpersBlit, TransparentBltReachesTheLibraryFromWindows2000On)
{
    ASSERT_TRUE(LibraryComplete());
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers reference(Library(), nt);
    const BlitCase blit = {{5, 6, 21, 22}, {2, 2, 18, 18}, false, false};
    for (System system : {System::Win9x, System::NT4, System::NT2000})
    {
        ChosenEnvironment environment(system);
        COSMDrawHelpers helpers(Counted(), environment);
        DcTestSurface drawn(kDestSize, kDestSize), expected(kDestSize, kDestSize);
        g_calls = {};
        PaintTransparentBlt(helpers, drawn, blit, RGB(255, 0, 255));
        EXPECT_EQ(g_calls.transparentBlt, system == System::NT2000 ? 1 : 0) << Name(system);
        PaintTransparentBlt(reference, expected, blit, RGB(255, 0, 255));
        EXPECT_EQ(FirstDifference(drawn, expected, 1), "") << Name(system);
    }
}

TEST(DrawHelpersBlit, ExcludeCornersKeepsTheFourCornersOutOfAFollowingFill)
{
    const COLORREF fill = RGB(20, 90, 160);
    const CRect rects[] = {{3, 4, 17, 12}, {0, 0, 20, 16}, {6, 6, 8, 8}};
    for (bool rectForm : {false, true})
        for (const CRect& rect : rects)
        {
            DcTestSurface surface(20, 16, kBackground);
            BorrowedDC dc(surface);
            if (rectForm)
                EXPECT_TRUE(GetDrawHelpers()->ExcludeCorners(&dc, rect));
            else
                EXPECT_TRUE(GetDrawHelpers()->ExcludeCorners(&dc, rect.left, rect.top, rect.right, rect.bottom));
            surface.Fill(fill);
            const POINT corners[] = {{rect.left, rect.top},
                                     {rect.right - 1, rect.top},
                                     {rect.left, rect.bottom - 1},
                                     {rect.right - 1, rect.bottom - 1}};
            for (const POINT& corner : corners)
                EXPECT_EQ(surface.Pixel(corner.x, corner.y), kBackground) << corner.x << "," << corner.y;
            // Everything else took the fill.
            EXPECT_EQ(surface.CountNot(fill), 4) << rect.left << "," << rect.top << (rectForm ? " rect form" : "");
        }
}

TEST(DrawHelpersBlit, BlurPointsAveragesEachPointWithThePixelAtItsOffset)
{
    DcTestSurface surface(10, 10, kBackground);
    const COLORREF a = RGB(201, 10, 255), b = RGB(0, 33, 100), c = RGB(7, 7, 7), d = RGB(255, 255, 254);
    ::SetPixel(surface.GetDC(), 2, 2, a);
    ::SetPixel(surface.GetDC(), 3, 2, b);
    ::SetPixel(surface.GetDC(), 8, 8, c);
    ::SetPixel(surface.GetDC(), 6, 5, d);
    ::SetPixel(surface.GetDC(), 0, 9, b);
    const POINT points[] = {
        {2, 2}, {1, 0},    // a with b to its right
        {8, 8}, {-2, -3},  // c with d up and to the left
        {0, 9}, {0, 0},    // b with itself
        {5, 5},            // no offset after it: left alone
    };
    BorrowedDC dc(surface);
    EXPECT_TRUE(GetDrawHelpers()->BlurPoints(&dc, points, 7));
    auto average = [](COLORREF x, COLORREF y) {
        return RGB((GetRValue(x) + GetRValue(y)) >> 1, (GetGValue(x) + GetGValue(y)) >> 1,
                   (GetBValue(x) + GetBValue(y)) >> 1);
    };
    EXPECT_EQ(surface.Pixel(2, 2), average(a, b));
    EXPECT_EQ(surface.Pixel(2, 2), RGB(100, 21, 177));
    EXPECT_EQ(surface.Pixel(8, 8), average(c, d));
    EXPECT_EQ(surface.Pixel(0, 9), b);
    // Only the points change, never the pixels at their offsets.
    EXPECT_EQ(surface.Pixel(3, 2), b);
    EXPECT_EQ(surface.Pixel(6, 5), d);
    EXPECT_EQ(surface.Pixel(5, 5), kBackground);
    EXPECT_EQ(surface.CountNot(kBackground), 5);

    // A pair that reaches off the bitmap leaves its point alone and says so; the others are still done.
    const POINT offTheEdge[] = {{9, 9}, {1, 0}, {3, 2}, {-1, 0}};
    EXPECT_FALSE(GetDrawHelpers()->BlurPoints(&dc, offTheEdge, 4));
    EXPECT_EQ(surface.Pixel(9, 9), kBackground);
    EXPECT_EQ(surface.Pixel(3, 2), average(b, average(a, b)));
}

TEST(DrawHelpers, ProcessWideHelpersCallMsimg32LoadedByName)
{
    COSMDrawHelpers* helpers = GetDrawHelpers();
    ASSERT_NE(helpers, nullptr);
    EXPECT_EQ(helpers, GetDrawHelpers());
    EXPECT_EQ(&helpers->GetEnvironment(), &GetSystemDrawEnvironment());
    // The program does not import msimg32; the helpers loaded it, so it is there now.
    HMODULE msimg32 = ::GetModuleHandleA("msimg32.dll");
    ASSERT_NE(msimg32, nullptr);
    const COSMMsimg32Functions& functions = helpers->GetFunctions();
    EXPECT_EQ(reinterpret_cast<FARPROC>(functions.gradientFill), ::GetProcAddress(msimg32, "GradientFill"));
    EXPECT_EQ(reinterpret_cast<FARPROC>(functions.alphaBlend), ::GetProcAddress(msimg32, "AlphaBlend"));
    EXPECT_EQ(reinterpret_cast<FARPROC>(functions.transparentBlt), ::GetProcAddress(msimg32, "TransparentBlt"));
    EXPECT_NE(functions.gradientFill, nullptr);

    // The system's facts: Wine runs as a Windows of the NT family.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(::GetVersionExA(&version));
    COSMDrawEnvironment& system = GetSystemDrawEnvironment();
    EXPECT_EQ(system.IsWin9x(), version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS);
    EXPECT_EQ(system.IsWin2KOrGreater(), version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5);
    DcTestSurface surface(2, 2);
    EXPECT_FALSE(system.IsLowColorDC(surface.GetDC())) << "a 32-bit DIB section";
}

TEST(DrawHelpers, RefusesNoContextAndEmptyRectangles)
{
    ChosenEnvironment nt(System::NT2000);
    COSMDrawHelpers own(COSMMsimg32Functions{}, nt);
    DcTestSurface surface(16, 16, kBackground), source(8, 8, RGB(1, 2, 3));
    BorrowedDC dc(surface), dcSource(source);
    const CRect good(0, 0, 8, 8), empty(4, 4, 4, 8);
    COSMPaintManagerColorGradient gradient;
    gradient.SetStandardColors(RGB(0, 0, 0), RGB(255, 255, 255), 0.3f);
    for (COSMDrawHelpers* helpers : {&own, GetDrawHelpers()})
    {
        EXPECT_FALSE(helpers->GradientFill(nullptr, good, RGB(0, 0, 0), RGB(9, 9, 9), FALSE));
        EXPECT_FALSE(helpers->GradientFill(&dc, nullptr, RGB(0, 0, 0), RGB(9, 9, 9), FALSE));
        EXPECT_FALSE(helpers->GradientFill(&dc, empty, RGB(0, 0, 0), RGB(9, 9, 9), TRUE));
        EXPECT_FALSE(helpers->GradientFillTwoPart(&dc, empty, gradient, TRUE, nullptr));
        EXPECT_FALSE(helpers->DrawAlphaBlend(nullptr, good, &dcSource, good));
        EXPECT_FALSE(helpers->DrawAlphaBlend(&dc, good, nullptr, good));
        EXPECT_FALSE(helpers->DrawAlphaBlend(&dc, empty, &dcSource, good));
        EXPECT_FALSE(helpers->DrawAlphaBlend(&dc, good, &dcSource, empty));
        EXPECT_FALSE(helpers->DrawTransparentBlt(nullptr, good, &dcSource, good, RGB(0, 0, 0)));
        EXPECT_FALSE(helpers->DrawTransparentBlt(&dc, empty, &dcSource, good, RGB(0, 0, 0)));
        EXPECT_FALSE(helpers->DrawTransparentBlt(&dc, good, &dcSource, empty, RGB(0, 0, 0)));
        EXPECT_FALSE(helpers->ExcludeCorners(nullptr, good));
        EXPECT_FALSE(helpers->ExcludeCorners(&dc, nullptr));
        EXPECT_FALSE(helpers->BlurPoints(nullptr, nullptr, 0));
        EXPECT_EQ(surface.CountNot(kBackground), 0);
    }
}
