// The GDI renderer built directly, pixels read back from DIB sections: opaque fills, gradients painted per pixel
// (checked against the gradient rule worked out here), only the clipped part of a huge gradient, fonts selected
// and put back, and paths whose last Bezier segment is cut off.
#include "tests/support/DcTestSurface.h"
#include "MarkupElementTestTypes.h"
#include "MarkupTestSupport.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDeviceContext.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupGradientStop.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupPoint.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupThickness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::Hold;
using markup_test::MarkupTest;

namespace {

const COLORREF kBackground = RGB(1, 2, 3);

struct Stop
{
    UINT color;  // markup colour: red low
    double offset;
};

COSMMarkupLinearGradientBrush* MakeGradient(const std::vector<Stop>& stops, double sx, double sy, double ex, double ey)
{
    COSMMarkupLinearGradientBrush* brush = new COSMMarkupLinearGradientBrush;
    brush->SetValue(COSMMarkupLinearGradientBrush::s_pStartPointProperty, new COSMMarkupPoint(sx, sy));
    brush->SetValue(COSMMarkupLinearGradientBrush::s_pEndPointProperty, new COSMMarkupPoint(ex, ey));
    for (const Stop& s : stops)
    {
        COSMMarkupGradientStop* stop = new COSMMarkupGradientStop;
        stop->SetValue(COSMMarkupGradientStop::s_pColorProperty,
                       new COSMMarkupColor(static_cast<BYTE>(s.color >> 24), s.color & 0xFFFFFF));
        stop->SetValue(COSMMarkupGradientStop::s_pOffsetProperty, new COSMMarkupDouble(s.offset));
        brush->GetGradientStops()->Add(stop);
    }
    return brush;
}

// The gradient rule on its own: the colour of element pixel (x, y) of a w x h fill, as a COLORREF.
COLORREF Expected(std::vector<Stop> stops, double sx, double sy, double ex, double ey, int w, int h, int x, int y)
{
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.offset < b.offset; });
    sx *= w, sy *= h, ex *= w, ey *= h;
    const double t =
        ((x - sx) * (ex - sx) + (y + 1 - sy) * (ey - sy)) / ((ex - sx) * (ex - sx) + (ey - sy) * (ey - sy));
    UINT color = stops.back().color;
    if (t <= stops.front().offset)
    {
        color = stops.front().color;
    }
    else if (t < stops.back().offset)
    {
        for (size_t i = 1; i < stops.size(); ++i)
        {
            const double delta = stops[i].offset - stops[i - 1].offset;
            if (stops[i].offset > t && delta != 0)
            {
                const double a = (stops[i].offset - t) / delta;
                color = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    color |= static_cast<UINT>(((stops[i - 1].color >> shift) & 0xFF) * a +
                                               ((stops[i].color >> shift) & 0xFF) * (1 - a))
                             << shift;
                break;
            }
        }
    }
    return color & 0xFFFFFF;
}

}  // namespace

TEST_F(MarkupTest, OpaqueFillsAreExactAndIgnoreAlpha)
{
    DcTestSurface surface(10, 10, kBackground);
    surface.FillRaw(0x55FFFFFF);
    COSMMarkupDeviceContext renderer(surface.GetDC(), nullptr);
    RefPtr<COSMMarkupSolidColorBrush> brush = AdoptRef(new COSMMarkupSolidColorBrush(0x10, RGB(200, 100, 50)));
    renderer.FillRectangle(CRect(2, 3, 7, 8), brush.Get());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(x >= 2 && x < 7 && y >= 3 && y < 8 ? RGB(200, 100, 50) : RGB(255, 255, 255), surface.Pixel(x, y))
                << x << "," << y;
}

TEST_F(MarkupTest, GradientsFollowTheRuleForEveryPixel)
{
    const UINT red = 0xFF0000FF, green = 0xFF00FF00, blue = 0xFFFF0000, grey = 0x80808080;
    const struct
    {
        const char* name;
        std::vector<Stop> stops;
        double sx, sy, ex, ey;
        bool drawn;
    } cases[] = {
        {"one stop", {{green, 0.3}}, 0, 0, 1, 1, true},
        {"coinciding points", {{red, 0}, {blue, 1}}, 0.5, 0.5, 0.5, 0.5, false},
        {"equal offsets", {{red, 0}, {green, 0.5}, {blue, 0.5}, {grey, 1}}, 0, 0, 1, 0, true},
        {"horizontal", {{red, 0}, {blue, 1}}, 0, 0.5, 1, 0.5, true},
        {"vertical", {{red, 0.2}, {green, 0.8}}, 0.5, 0, 0.5, 1, true},
        {"diagonal", {{blue, 0.1}, {red, 0.6}, {green, 0.9}}, 0, 0, 1, 1, true},
        {"reversed", {{red, 0}, {green, 1}}, 1, 1, 0, 0, true},
    };
    const int w = 23, h = 17;
    const CRect rect(3, 2, 3 + w, 2 + h);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        DcTestSurface surface(30, 20, kBackground);
        RefPtr<COSMMarkupLinearGradientBrush> brush = AdoptRef(MakeGradient(c.stops, c.sx, c.sy, c.ex, c.ey));
        COSMMarkupDeviceContext renderer(surface.GetDC(), nullptr);
        renderer.FillRectangle(rect, brush.Get());
        int wrong = 0;
        for (int y = 0; y < 20; ++y)
        {
            for (int x = 0; x < 30; ++x)
            {
                const bool inside = rect.PtInRect(CPoint(x, y)) != FALSE;
                const COLORREF expected =
                    inside && c.drawn ? Expected(c.stops, c.sx, c.sy, c.ex, c.ey, w, h, x - rect.left, y - rect.top)
                                      : kBackground;
                if (surface.Pixel(x, y) != expected && ++wrong <= 3)
                    ADD_FAILURE() << x << "," << y << " " << std::hex << surface.Pixel(x, y) << " not " << expected;
                if (inside && c.drawn)
                {
                    EXPECT_EQ(0, surface.Alpha(x, y));
                }
            }
        }
        EXPECT_EQ(0, wrong);
    }
}

TEST_F(MarkupTest, AHugeGradientPaintsOnlyItsClippedPart)
{
    const std::vector<Stop> stops = {{0xFF0000FF, 0}, {0xFFFF0000, 1}};
    DcTestSurface surface(40, 40, kBackground);
    RefPtr<COSMMarkupLinearGradientBrush> brush = AdoptRef(MakeGradient(stops, 0, 0, 1, 1));
    COSMMarkupDeviceContext renderer(surface.GetDC(), nullptr);
    const CRect clip(10, 10, 30, 30);
    renderer.IntersectClipRect(&clip);
    const int size = 100000;
    renderer.FillRectangle(CRect(-50000, -50000, -50000 + size, -50000 + size), brush.Get());
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(clip.PtInRect(CPoint(x, y)) ? Expected(stops, 0, 0, 1, 1, size, size, x + 50000, y + 50000)
                                                  : kBackground,
                      surface.Pixel(x, y))
                << x << "," << y;
}

TEST_F(MarkupTest, FontsAreSelectedAndTheFirstOnePutBack)
{
    DcTestSurface surface(10, 10);
    HFONT original = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    ::SelectObject(surface.GetDC(), original);
    COSMMarkupDeviceContext renderer(surface.GetDC(), nullptr);

    // Nothing to put back yet.
    EXPECT_EQ(nullptr, renderer.SetFont(nullptr));
    EXPECT_EQ(original, ::GetCurrentObject(surface.GetDC(), OBJ_FONT));

    LOGFONTW logFont = {};
    logFont.lfHeight = -12;
    wcscpy(logFont.lfFaceName, L"Tahoma");
    Hold first = Hold::Adopt(new COSMMarkupFont(logFont));
    logFont.lfHeight = -20;
    Hold second = Hold::Adopt(new COSMMarkupFont(logFont));
    HFONT firstHandle = static_cast<COSMMarkupFont*>(first.Get())->GetSafeHandle();
    HFONT secondHandle = static_cast<COSMMarkupFont*>(second.Get())->GetSafeHandle();
    ASSERT_NE(nullptr, firstHandle);
    EXPECT_EQ(original, renderer.SetFont(static_cast<COSMMarkupFont*>(first.Get())));
    EXPECT_EQ(firstHandle, renderer.SetFont(static_cast<COSMMarkupFont*>(second.Get())));
    EXPECT_EQ(secondHandle, ::GetCurrentObject(surface.GetDC(), OBJ_FONT));
    EXPECT_EQ(secondHandle, renderer.SetFont(nullptr));
    EXPECT_EQ(original, ::GetCurrentObject(surface.GetDC(), OBJ_FONT));
    EXPECT_EQ(nullptr, renderer.SetFont(nullptr));
}

TEST_F(MarkupTest, APathWhoseLastBezierIsCutOffEndsTheFigure)
{
    const COSMMarkupPointF points[] = {{1, 1}, {18, 1}, {18, 18}, {1, 18}, {1, 1}};
    const BYTE types[] = {0, 1, 1, 3, 3};
    const COLORREF color = RGB(10, 200, 30);
    for (int count : {5, 4})
    {
        SCOPED_TRACE(count);
        DcTestSurface surface(20, 20, kBackground);
        Hold path = Hold::Adopt(new COSMMarkupPathGeometry(points, types, count));
        RefPtr<COSMMarkupSolidColorBrush> brush = AdoptRef(new COSMMarkupSolidColorBrush(color));
        COSMMarkupDeviceContext renderer(surface.GetDC(), nullptr);
        renderer.DrawPath(static_cast<COSMMarkupPathGeometry*>(path.Get()), 0, nullptr, brush.Get());
        // The triangle up to (18, 18) is filled; the cut-off segment adds nothing below its diagonal.
        EXPECT_EQ(color, surface.Pixel(15, 4));
        EXPECT_EQ(kBackground, surface.Pixel(4, 15));
    }
}

TEST_F(MarkupTest, RoundedFillsAndFramesLeaveTheCornersOut)
{
    const COLORREF color = RGB(200, 20, 20);
    const double radii[8] = {6, 6, 6, 6, 6, 6, 6, 6};
    RefPtr<COSMMarkupSolidColorBrush> brush = AdoptRef(new COSMMarkupSolidColorBrush(color));
    RefPtr<COSMMarkupThickness> thickness = AdoptRef(new COSMMarkupThickness(2));
    DcTestSurface surface(40, 20, kBackground);
    COSMMarkupDeviceContext renderer(surface.GetDC(), nullptr);
    renderer.FillRoundedRectangle(CRect(0, 0, 20, 20), brush.Get(), radii);
    renderer.DrawRoundedFrame(CRect(20, 0, 40, 20), brush.Get(), thickness.Get(), radii);
    EXPECT_EQ(kBackground, surface.Pixel(0, 0));
    EXPECT_EQ(kBackground, surface.Pixel(19, 19));
    EXPECT_EQ(color, surface.Pixel(10, 10));
    EXPECT_EQ(color, surface.Pixel(10, 0));
    EXPECT_EQ(kBackground, surface.Pixel(20, 0));
    EXPECT_EQ(color, surface.Pixel(30, 0));
    EXPECT_EQ(kBackground, surface.Pixel(30, 10));
}
