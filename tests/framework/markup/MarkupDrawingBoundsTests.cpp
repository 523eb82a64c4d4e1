// Extreme values for every drawing primitive, through a drawing context whose renderer notes what it is handed
// (BoundsRecorder.h) and draws it into a 320 × 240 DIB section with GDI and with GDI+: pens up to 2147483647 pixels
// wide, coordinates at the 32-bit limits, fonts of 16,384 pixels and lines of 100,000 characters, paths stretched to
// the limits or behind a viewport moved far away, and curves whose control points lie millions of pixels away.
// Whatever the values, what reaches the system lies within the area drawn, and the picture shows what the figure
// shows there; ordinary text and lines cut to the area draw exactly as they did whole.
#include "tests/support/DcTestSurface.h"
#include "BoundsRecorder.h"
#include "MarkupTestSupport.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupGdiPlus.h"
#include "framework/markup/MarkupGdiPlusDeviceContext.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupPathGeometryBuilder.h"
#include "framework/markup/MarkupThickness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::CBoundsRecorder;
using markup_test::HandedOn;
using markup_test::OutOfBounds;
using markup_test::UseRenderer;

// Named, so that the helpers stay apart from the other bad-input tests' when compiled together.
namespace drawing_bounds_test {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr COLORREF kPaper = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kBlue = RGB(0, 0, 0xFF);

bool IsBluish(COLORREF color)
{
    return GetBValue(color) >= 0x80 && GetRValue(color) < 0x80 && GetGValue(color) < 0x80;
}

bool IsReddish(COLORREF color)
{
    return GetRValue(color) >= 0x80 && GetGValue(color) < 0x80 && GetBValue(color) < 0x80;
}

// What the drawing calls of one case have to hand.
struct Tools
{
    COSMMarkupDrawingContext& dc;
    COSMMarkupBrush* blue;
    COSMMarkupBrush* red;
    COSMMarkupBrush* black;
};

// A pixel the case's figure covers (blue) or leaves alone.
struct Probe
{
    int x;
    int y;
    bool covered;
};

struct ExtremeCase
{
    const char* primitive;
    const char* name;
    std::function<void(Tools&)> draw;
    std::vector<Probe> probes;
    // More to check of the picture and of what was handed on.
    std::function<void(const DcTestSurface&, const std::vector<HandedOn>&)> check;
};

COSMMarkupPathGeometry* Geometry(const std::function<void(COSMMarkupPathGeometryBuilder&)>& build)
{
    COSMMarkupPathGeometryBuilder builder;
    build(builder);
    return builder.CreateGeometry();
}

void DrawGeometry(Tools& tools, COSMMarkupPathGeometry* geometry, int thickness, COSMMarkupBrush* stroke,
                  COSMMarkupBrush* fill)
{
    const auto hold = AdoptRef(geometry);
    tools.dc.DrawPath(geometry, thickness, stroke, fill);
}

// Text in a Tahoma of height pixels, in blue.
void DrawText(Tools& tools, int height, const std::wstring& text, POINT at)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = -height;
    wcscpy(logFont.lfFaceName, L"Tahoma");
    const auto font = AdoptRef(new COSMMarkupFont(logFont));
    tools.dc.SetFont(font.Get());
    tools.dc.SetTextColor(tools.blue);
    tools.dc.DrawTextLine(text.c_str(), static_cast<int>(text.size()), &at);
    tools.dc.SetTextColor(nullptr);
    tools.dc.SetFont(nullptr);
}

// Where a glyph of a Tahoma of height pixels must start for the middle of its ink to fall on (x, y).
POINT CentreGlyphOn(HDC dc, int height, wchar_t glyph, int x, int y)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = -height;
    wcscpy(logFont.lfFaceName, L"Tahoma");
    HFONT font = ::CreateFontIndirectW(&logFont);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    GLYPHMETRICS ink = {};
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    ::GetGlyphOutlineW(dc, glyph, GGO_METRICS, &ink, 0, nullptr, &identity);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    return POINT{x - (ink.gmptGlyphOrigin.x + static_cast<int>(ink.gmBlackBoxX) / 2),
                 y - (metrics.tmAscent - ink.gmptGlyphOrigin.y + static_cast<int>(ink.gmBlackBoxY) / 2)};
}

int CountCalls(const std::vector<HandedOn>& notes, const std::string& call)
{
    int count = 0;
    for (const HandedOn& note : notes)
        count += note.call == call ? 1 : 0;
    return count;
}

// A cubic of parabola shape with its vertex at (160, 0), opening downwards with a radius of 1,536 pixels, whose ends
// and control points lie 3 million pixels to the sides and 3 * 2^30 pixels below: every value exact in single
// precision. y(x) is the curve's height at x.
constexpr double kCurveHalfWidth = 3.0 * (1 << 20);
constexpr double kCurveDepth = 1073741824.0;

double CurveHeightAt(double x)
{
    // x runs evenly with the parameter (the control points sit at thirds).
    const double t = (x - 160 + kCurveHalfWidth) / (2 * kCurveHalfWidth);
    const double u = 1 - t;
    return 3 * kCurveDepth * (u * u * u + t * t * t) - 3 * kCurveDepth * t * u;
}

COSMMarkupPathGeometry* FarCurve()
{
    return Geometry([](COSMMarkupPathGeometryBuilder& b) {
        const float left = static_cast<float>(160 - kCurveHalfWidth), right = static_cast<float>(160 + kCurveHalfWidth);
        const float third = static_cast<float>(kCurveHalfWidth / 3);
        const float low = static_cast<float>(3 * kCurveDepth), high = static_cast<float>(-kCurveDepth);
        b.BeginFigure(left, low);
        b.AddBezier(160 - third, high, 160 + third, high, right, low);
    });
}

const double kCorners[8] = {50, 50, 50, 50, 50, 50, 50, 50};

const ExtremeCase kCases[] = {
    // ---- Pens ----------------------------------------------------------------------------------------------------
    {"pen",
     "ellipse of the area with a pen of 100,000",
     [](Tools& t) {
         t.dc.DrawEllipse(RECT{0, 0, kWidth, kHeight}, 100000, t.blue, nullptr);
     },
     {{160, 120, true}, {160, 3, true}, {1, 1, false}, {318, 238, false}}},
    {"pen",
     "ellipse larger than the area whose 600-pixel ring crosses its top",
     [](Tools& t) {
         t.dc.DrawEllipse(RECT{-2000, 100, 2320, 4100}, 600, t.blue, t.red);
     },
     {{160, 50, false}, {160, 150, true}, {160, 235, true}, {5, 95, false}}},
    {"pen",
     "ellipse of a billion pixels with a pen of 2147483647",
     [](Tools& t) {
         t.dc.DrawEllipse(RECT{-1000000000, -1000000000, 1000000000, 1000000000}, INT_MAX, t.blue, nullptr);
     },
     {{160, 120, true}, {0, 0, true}, {319, 239, true}}},
    {"pen",
     "line along the top with a pen of 300",
     [](Tools& t) { t.dc.DrawLine(-5000, 0, 5000, 0, 300, t.blue); },
     {{160, 100, true}, {160, 200, false}}},
    {"pen",
     "line through the middle with a pen of 100,000",
     [](Tools& t) { t.dc.DrawLine(160, -1000000000, 160, 1000000000, 100000, t.blue); },
     {{0, 0, true}, {319, 239, true}}},
    {"pen",
     "polyline with a 640-pixel pen turning above the area",
     [](Tools& t) {
         const POINT points[] = {{-1000, -200}, {160, -200}, {1000, -1000}};
         t.dc.DrawPolyline(points, 3, 640, t.blue);
     },
     // (250, 100) lies beyond both straight pieces, inside the round corner.
     {{80, 100, true}, {80, 200, false}, {250, 100, true}, {300, 230, false}}},
    {"pen",
     "square around the area with a 1,000-pixel pen",
     [](Tools& t) {
         const POINT points[] = {{-400, -400}, {720, -400}, {720, 640}, {-400, 640}};
         t.dc.DrawPolygon(points, 4, 1000, t.blue, nullptr);
     },
     {{50, 120, true}, {250, 120, true}, {160, 50, true}, {160, 200, true}, {160, 120, false}}},
    {"pen",
     "path of curves with a pen of 100,000",
     [](Tools& t) {
         DrawGeometry(t, Geometry([](COSMMarkupPathGeometryBuilder& b) {
                          b.BeginFigure(-50, 30);
                          b.AddBezier(1e6f, -1e6f, -1e6f, 1e6f, 400, 300);
                          b.AddLine(500, -70);
                      }),
                      100000, t.blue, nullptr);
     },
     {{160, 120, true}, {0, 0, true}, {319, 239, true}}},
    {"pen",
     "path of 7,626 figures along one curve with a pen of 372",
     [](Tools& t) {
         DrawGeometry(t, Geometry([](COSMMarkupPathGeometryBuilder& b) {
                          for (int i = 0; i < 7626; ++i)
                          {
                              b.BeginFigure(0, 0);
                              b.AddBezier(1, 1, 2, 2, 40, 0);
                              b.CloseFigure();
                          }
                      }),
                      372, t.blue, nullptr);
     },
     // Within 186 pixels of the line from (0, 0) to (40, 0), or not.
     {{160, 120, true}, {200, 50, true}, {0, 180, true}, {250, 0, false}, {300, 200, false}, {60, 230, false}}},
    {"pen",
     "rounded frame with a band wider than its rectangle",
     [](Tools& t) {
         const auto band = AdoptRef(new COSMMarkupThickness(1000));
         t.dc.DrawFrame(RECT{-100, -100, 420, 340}, t.blue, band.Get(), kCorners);
     },
     {{160, 120, true}, {0, 0, true}}},
    {"pen",
     "rounded frame of 300 pixels along the bottom of a larger rectangle",
     [](Tools& t) {
         const auto band = AdoptRef(new COSMMarkupThickness(300));
         t.dc.DrawFrame(RECT{-1000, -1000, 1320, 200}, t.blue, band.Get(), kCorners);
     },
     {{160, 150, true}, {160, 220, false}, {160, 10, true}}},
    {"pen",
     "square frame with bands of 100,000",
     [](Tools& t) {
         const auto band = AdoptRef(new COSMMarkupThickness(100000));
         t.dc.DrawFrame(RECT{0, 0, 100, 100}, t.blue, band.Get(), nullptr);
     },
     {{50, 50, true}, {150, 50, false}, {50, 150, false}}},

    // ---- Coordinates ---------------------------------------------------------------------------------------------
    {"coordinates",
     "line down to the 32-bit limit",
     [](Tools& t) { t.dc.DrawLine(0, 0, 0, INT_MAX, 1, t.blue); },
     {{0, 0, true}, {0, 120, true}, {0, 239, true}, {2, 120, false}}},
    {"coordinates",
     "diagonal line between the limits",
     [](Tools& t) { t.dc.DrawLine(-INT_MAX, -INT_MAX, INT_MAX, INT_MAX, 3, t.blue); },
     {{100, 100, true}, {200, 200, true}, {100, 130, false}}},
    {"coordinates",
     "horizontal line between the limits",
     [](Tools& t) { t.dc.DrawLine(INT_MAX, 50, -INT_MAX, 50, 1, t.blue); },
     {{0, 50, true}, {160, 50, true}, {160, 53, false}}},
    {"coordinates",
     "polygon with corners at the limits",
     [](Tools& t) {
         const POINT points[] = {{-INT_MAX, -INT_MAX}, {INT_MAX, -INT_MAX}, {0, INT_MAX}};
         t.dc.DrawPolygon(points, 3, 2, t.red, t.blue);
     },
     {{160, 120, true}, {1, 1, true}}},
    {"coordinates",
     "ellipse between the limits",
     [](Tools& t) {
         t.dc.DrawEllipse(RECT{-INT_MAX, -INT_MAX, INT_MAX, INT_MAX}, 5, t.red, t.blue);
     },
     {{160, 120, true}, {0, 0, true}}},
    {"coordinates",
     "open figure filled, ending far outside the area",
     [](Tools& t) {
         // Filled as if closed: a sliver between its top edge and the line from its end back to its start.
         DrawGeometry(t, Geometry([](COSMMarkupPathGeometryBuilder& b) {
                          b.BeginFigure(50, 50);
                          b.AddLine(5000, 50);
                          b.AddLine(5000, 200);
                      }),
                      0, nullptr, t.blue);
     },
     {{300, 55, true}, {300, 62, false}, {300, 45, false}}},
    {"coordinates",
     "rounded rectangle between the limits",
     [](Tools& t) {
         t.dc.FillRectangle(RECT{-INT_MAX, -INT_MAX, INT_MAX, INT_MAX}, t.blue, kCorners);
     },
     {{160, 120, true}, {0, 0, true}}},

    // ---- Font size -----------------------------------------------------------------------------------------------
    {"font size",
     "16,384-pixel glyph over the area",
     [](Tools& t) { DrawText(t, 16384, L"I", CentreGlyphOn(t.dc.GetSafeHdc(), 16384, L'I', 160, 120)); },
     {{160, 120, true}, {150, 20, true}, {170, 220, true}},
     [](const DcTestSurface&, const std::vector<HandedOn>& notes) {
         // The glyph went as its outline: the system never rasterised it.
         EXPECT_EQ(0, CountCalls(notes, "text"));
         EXPECT_EQ(1, CountCalls(notes, "path"));
     }},
    {"font size",
     "62 glyphs of 16,384 pixels from the corner",
     [](Tools& t) {
         DrawText(t, 16384, L"abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", POINT{0, 0});
     },
     {},
     [](const DcTestSurface& surface, const std::vector<HandedOn>&) { EXPECT_EQ(0, surface.CountNot(kPaper)); }},
    {"font size",
     "100,000 characters from 400,000 pixels to the left",
     [](Tools& t) {
         DrawText(t, 16, std::wstring(100000, L'x'), POINT{-400000, 100});
     },
     {{160, 60, false}},
     [](const DcTestSurface& surface, const std::vector<HandedOn>& notes) {
         EXPECT_GT(surface.CountNot(kPaper), 100);
         ASSERT_EQ(1, CountCalls(notes, "text"));
         EXPECT_LT(notes[0].characters, 200);
     }},

    // ---- Stretch and transform -----------------------------------------------------------------------------------
    {"stretch",
     "triangle stretched to the limits",
     [](Tools& t) {
         const auto triangle = AdoptRef(Geometry([](COSMMarkupPathGeometryBuilder& b) {
             b.BeginFigure(0, 0);
             b.AddLine(10, 0);
             b.AddLine(5, 10);
             b.CloseFigure();
         }));
         DrawGeometry(t, triangle->Stretch(INT_MAX, INT_MAX), 3, t.red, t.blue);
     },
     {{160, 120, true}, {10, 120, false}}},
    {"stretch",
     "5,000 figures stretched over each other",
     [](Tools& t) {
         const auto figures = AdoptRef(Geometry([](COSMMarkupPathGeometryBuilder& b) {
             for (int i = 0; i < 5000; ++i)
             {
                 b.BeginFigure(0, 0);
                 b.AddLine(10, 10);
                 b.CloseFigure();
             }
         }));
         DrawGeometry(t, figures->Stretch(200, 150), 1, t.blue, t.red);
     },
     {{100, 75, true}, {180, 135, true}, {100, 20, false}},
     [](const DcTestSurface& surface, const std::vector<HandedOn>&) {
         for (int y = 0; y < kHeight; ++y)
             for (int x = 0; x < kWidth; ++x)
                 ASSERT_FALSE(IsReddish(surface.Pixel(x, y))) << x << "," << y;
     }},
    {"transform",
     "ellipse behind a viewport moved 100,000 pixels",
     [](Tools& t) {
         t.dc.OffsetViewport(POINT{-100000, -100000});
         t.dc.DrawEllipse(RECT{0, 0, 200320, 200240}, 600, t.red, t.blue);
         t.dc.OffsetViewport(POINT{100000, 100000});
     },
     {{160, 120, true}, {0, 0, true}}},

    // ---- Curve control points ------------------------------------------------------------------------------------
    {"curve",
     "parabola whose control points lie a billion pixels away",
     [](Tools& t) { DrawGeometry(t, FarCurve(), 3, t.blue, nullptr); },
     {{160, 0, true}, {20, 6, true}, {300, 6, true}, {280, 200, false}, {160, 30, false}},
     [](const DcTestSurface&, const std::vector<HandedOn>&) {}},
    {"curve",
     "30,000 curves reaching past the area",
     [](Tools& t) {
         DrawGeometry(t, Geometry([](COSMMarkupPathGeometryBuilder& b) {
                          b.BeginFigure(0, 0);
                          for (int i = 1; i <= 30000; ++i)
                              b.AddBezier(1000.0f * (i % 7), 1000.0f * (i % 5), -1.0f * i, 1.0f * i, 3.0f * i,
                                          -2.0f * i);
                      }),
                      1, t.black, t.red);
     },
     {},
     [](const DcTestSurface& surface, const std::vector<HandedOn>&) { EXPECT_GT(surface.CountNot(kPaper), 1000); }},
    {"curve",
     "curve through control points at the single-precision limits",
     [](Tools& t) {
         DrawGeometry(t, Geometry([](COSMMarkupPathGeometryBuilder& b) {
                          b.BeginFigure(0, 0);
                          b.AddBezier(3e38f, -3e38f, -3e38f, 3e38f, 100, 100);
                          b.AddLine(0, 200);
                      }),
                      2, t.blue, nullptr);
     },
     {{50, 150, true}, {200, 200, false}}},
};

class MarkupDrawingBoundsTest : public markup_test::MarkupTest, public testing::WithParamInterface<UseRenderer::Kind>
{};

// Every case: what was handed on lies within the area (and its margins), and the probes show the figure there.
TEST_P(MarkupDrawingBoundsTest, WhatReachesTheSystemStaysWithinTheArea)
{
    const UseRenderer renderer(GetParam());
    RegisterGdiPlusForMarkup(TRUE);
    EXPECT_EQ(GetParam() == UseRenderer::GdiPlus, GetMarkupGdiPlus()->IsStarted() != FALSE);
    {
        const auto blue = AdoptRef<COSMMarkupBrush>(new COSMMarkupSolidColorBrush(kBlue));
        const auto red = AdoptRef<COSMMarkupBrush>(new COSMMarkupSolidColorBrush(RGB(0xFF, 0, 0)));
        const auto black = AdoptRef<COSMMarkupBrush>(new COSMMarkupSolidColorBrush(RGB(0, 0, 0)));
        for (const ExtremeCase& c : kCases)
        {
            SCOPED_TRACE(std::string(c.primitive) + ": " + c.name + " with " + UseRenderer::Name(GetParam()));
            DcTestSurface surface(kWidth, kHeight, kPaper);
            std::vector<HandedOn> notes;
            {
                COSMMarkupDrawingContext dc(surface.GetDC(), new CBoundsRecorder(surface.GetDC(), &notes));
                Tools tools{dc, blue.Get(), red.Get(), black.Get()};
                c.draw(tools);
            }
            EXPECT_EQ("", OutOfBounds(notes));
            for (const Probe& probe : c.probes)
            {
                const COLORREF pixel = surface.Pixel(probe.x, probe.y);
                EXPECT_EQ(probe.covered, IsBluish(pixel))
                    << "pixel " << probe.x << "," << probe.y << " is " << foundation_test::DescribePixelColor(pixel);
            }
            if (c.check)
                c.check(surface, notes);
        }
    }
    RegisterGdiPlusForMarkup(FALSE);
}

// The parabola whose ends lie 3 million pixels away turns where it shows: the lines it is handed on as follow it
// there to within half a pixel, as they would for a curve of ordinary size.
TEST_P(MarkupDrawingBoundsTest, FarCurvesAreFlattenedToThePrecisionTheAreaShows)
{
    const UseRenderer renderer(GetParam());
    RegisterGdiPlusForMarkup(TRUE);
    {
        const auto blue = AdoptRef<COSMMarkupBrush>(new COSMMarkupSolidColorBrush(kBlue));
        DcTestSurface surface(kWidth, kHeight, kPaper);
        std::vector<HandedOn> notes;
        std::vector<COSMMarkupPointF> handed;
        struct CCopyingRecorder : CBoundsRecorder
        {
            CCopyingRecorder(HDC dc, std::vector<HandedOn>* notes, std::vector<COSMMarkupPointF>* points)
                : CBoundsRecorder(dc, notes), m_points(points)
            {}
            void DrawPath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke,
                          COSMMarkupBrush* fill) override
            {
                m_points->assign(path->GetPoints(), path->GetPoints() + path->GetPointCount());
                CBoundsRecorder::DrawPath(path, thickness, stroke, fill);
            }
            std::vector<COSMMarkupPointF>* m_points;
        };
        {
            COSMMarkupDrawingContext dc(surface.GetDC(), new CCopyingRecorder(surface.GetDC(), &notes, &handed));
            const auto curve = AdoptRef(FarCurve());
            dc.DrawPath(curve.Get(), 3, blue.Get(), nullptr);
        }
        EXPECT_EQ("", OutOfBounds(notes));
        int inside = 0;
        for (size_t i = 1; i < handed.size(); ++i)
        {
            const COSMMarkupPointF& a = handed[i - 1];
            const COSMMarkupPointF& b = handed[i];
            if (a.x < 0 || a.x > kWidth || b.x < 0 || b.x > kWidth || a.y > kHeight || b.y > kHeight)
                continue;
            ++inside;
            // The curve is nearly level here: its height at the middle of a line is its distance from it.
            const double mx = (a.x + b.x) / 2.0, my = (a.y + b.y) / 2.0;
            EXPECT_LT(std::fabs(my - CurveHeightAt(mx)), 0.5)
                << "line " << a.x << "," << a.y << " to " << b.x << "," << b.y;
        }
        EXPECT_GT(inside, 4);
    }
    RegisterGdiPlusForMarkup(FALSE);
}

// What CutTextAndLinesDrawAsTheyDidWhole draws, through a drawing context or straight through a renderer.
enum class Whole
{
    Text,
    ItalicText,
    OddDiagonalLine,
    EvenDiagonalLine,
};

const char* NameOf(Whole whole)
{
    switch (whole)
    {
    case Whole::Text:
        return "text";
    case Whole::ItalicText:
        return "italic text";
    case Whole::OddDiagonalLine:
        return "diagonal line of 3 pixels";
    default:
        return "diagonal line of 2 pixels";
    }
}

template <class Target> void DrawWhole(Target& target, Whole whole, COSMMarkupBrush* blue)
{
    if (whole == Whole::OddDiagonalLine)
    {
        target.DrawLine(-3001, -997, 2999, 1203, 3, blue);
        return;
    }
    if (whole == Whole::EvenDiagonalLine)
    {
        target.DrawLine(3661, -1379, -3339, 1621, 2, blue);
        return;
    }
    std::wstring words;
    for (int i = 0; i < 400; ++i)
        words += i % 3 ? L"Waxy jolt " : L"fij, QUM! ";
    LOGFONTW logFont = {};
    logFont.lfHeight = -17;
    logFont.lfItalic = whole == Whole::ItalicText;
    wcscpy(logFont.lfFaceName, L"Tahoma");
    const auto font = AdoptRef(new COSMMarkupFont(logFont));
    target.SetFont(font.Get());
    target.SetTextColor(blue);
    const POINT at = whole == Whole::Text ? POINT{-1234, 100} : POINT{-977, 30};
    target.DrawTextLine(words.c_str(), static_cast<int>(words.size()), &at);
    target.SetTextColor(nullptr);
    target.SetFont(nullptr);
}

// Text reaching far beyond both sides of the area, and diagonal lines reaching beyond its corners: drawn through
// the drawing context (which cuts them to what shows) they look exactly as the renderer draws them whole.
TEST_P(MarkupDrawingBoundsTest, CutTextAndLinesDrawAsTheyDidWhole)
{
    const UseRenderer renderer(GetParam());
    RegisterGdiPlusForMarkup(TRUE);
    {
        const auto blue = AdoptRef<COSMMarkupBrush>(new COSMMarkupSolidColorBrush(kBlue));
        for (Whole whole : {Whole::Text, Whole::ItalicText, Whole::OddDiagonalLine, Whole::EvenDiagonalLine})
        {
            SCOPED_TRACE(std::string(NameOf(whole)) + " with " + UseRenderer::Name(GetParam()));
            DcTestSurface cut(kWidth, kHeight, kPaper), full(kWidth, kHeight, kPaper);
            std::vector<HandedOn> notes;
            {
                COSMMarkupDrawingContext dc(cut.GetDC(), new CBoundsRecorder(cut.GetDC(), &notes));
                DrawWhole(dc, whole, blue.Get());
            }
            {
                // The same calls straight to a renderer, as they reached the system before.
                ::SetBkMode(full.GetDC(), TRANSPARENT);
                COSMMarkupGdiPlusDeviceContext direct(full.GetDC(), nullptr);
                DrawWhole(direct, whole, blue.Get());
            }
            EXPECT_EQ("", OutOfBounds(notes));
            EXPECT_GT(cut.CountNot(kPaper), 100);
            EXPECT_TRUE(cut.EqualsCanvas(full));
        }
    }
    RegisterGdiPlusForMarkup(FALSE);
}

INSTANTIATE_TEST_SUITE_P(Renderers, MarkupDrawingBoundsTest, testing::Values(UseRenderer::Gdi, UseRenderer::GdiPlus),
                         [](const testing::TestParamInfo<UseRenderer::Kind>& info) {
                             return std::string(info.param == UseRenderer::Gdi ? "Gdi" : "GdiPlus");
                         });

}  // namespace
}  // namespace drawing_bounds_test
