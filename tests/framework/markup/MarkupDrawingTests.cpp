// The drawing context and its GDI renderer on DIB sections: the clip box it keeps, clip regions saved and put back,
// viewport offsets in device units, frames by bands, solid fills without alpha, and what a rendering context leaves
// in the caller's DC.
#include "tests/support/DcTestSurface.h"
#include "MarkupElementTestTypes.h"
#include "MarkupTestSupport.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupThickness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::CRecordingRenderer;
using markup_test::MarkupTest;

namespace {

using Log = std::vector<std::string>;

CRect ClipBoxOf(HDC dc)
{
    CRect box;
    ::GetClipBox(dc, &box);
    return box;
}

CPoint ViewportOriginOf(HDC dc)
{
    POINT origin{};
    ::GetViewportOrgEx(dc, &origin);
    return CPoint(origin);
}

}  // namespace

TEST_F(MarkupTest, TheClipBoxFollowsOffsetsAndClips)
{
    DcTestSurface surface(100, 50);
    COSMMarkupDrawingContext dc(surface.GetDC());
    EXPECT_EQ(CRect(0, 0, 100, 50), dc.GetClipBox());
    dc.OffsetViewport(CPoint(10, 5));
    EXPECT_EQ(CRect(-10, -5, 90, 45), dc.GetClipBox());
    const CRect clip(0, 0, 20, 30);
    dc.IntersectClipRect(&clip);
    EXPECT_EQ(clip, dc.GetClipBox());
    dc.OffsetViewport(CPoint(-10, -5));
    EXPECT_EQ(CRect(10, 5, 30, 35), dc.GetClipBox());
}

TEST_F(MarkupTest, SavedClipRegionsComeBackAndNoRegionMeansNoClip)
{
    DcTestSurface surface(100, 50);
    COSMMarkupDrawingContext dc(surface.GetDC());
    const CRect first(0, 0, 5, 5);

    // No clip region yet: the token says so, and putting it back removes a clip set meanwhile.
    HRGN none = dc.SaveClipRegion();
    EXPECT_EQ(MarkupNoClipRegion(), none);
    dc.IntersectClipRect(&first);
    dc.RestoreClipRegion(none);
    EXPECT_EQ(CRect(0, 0, 100, 50), dc.GetClipBox());
    EXPECT_EQ(CRect(0, 0, 100, 50), ClipBoxOf(surface.GetDC()));

    // A region is copied and comes back.
    const CRect wide(10, 10, 60, 40);
    dc.IntersectClipRect(&wide);
    HRGN saved = dc.SaveClipRegion();
    ASSERT_NE(nullptr, saved);
    ASSERT_NE(MarkupNoClipRegion(), saved);
    const CRect narrow(20, 20, 30, 30);
    dc.IntersectClipRect(&narrow);
    EXPECT_EQ(narrow, dc.GetClipBox());
    dc.RestoreClipRegion(saved);
    EXPECT_EQ(wide, dc.GetClipBox());

    // Null changes nothing, not even the kept clip box.
    ::SelectClipRgn(surface.GetDC(), nullptr);
    dc.RestoreClipRegion(nullptr);
    EXPECT_EQ(wide, dc.GetClipBox());
}

TEST_F(MarkupTest, ViewportOffsetsAreConvertedToDeviceUnits)
{
    const struct
    {
        SIZE window;
        SIZE viewport;
        CPoint moved;
    } cases[] = {
        {{1, 1}, {1, 1}, CPoint(10, 4)},   {{2, 2}, {4, 4}, CPoint(20, 8)},
        {{-2, 2}, {4, -4}, CPoint(20, 8)},  // extents count by their size, whatever their sign
        {{3, 3}, {2, 2}, CPoint(6, 2)},     // truncated toward zero
        {{0, 5}, {3, 3}, CPoint(10, 4)},    // a window extent of 0 is a 1:1 mapping
        {{5, 0}, {3, 3}, CPoint(10, 4)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.window.cx << "," << c.window.cy << " " << c.viewport.cx << ","
                                        << c.viewport.cy);
        DcTestSurface surface(10, 10);
        Log log;
        CRecordingRenderer renderer(surface.GetDC(), c.window, c.viewport, &log);
        renderer.OffsetViewport(CPoint(10, 4));
        EXPECT_EQ(c.moved, ViewportOriginOf(surface.GetDC()));
    }
}

TEST_F(MarkupTest, TheRendererTakesItsExtentsFromTheDC)
{
    DcTestSurface surface(10, 10);
    ::SetMapMode(surface.GetDC(), MM_ANISOTROPIC);
    ::SetWindowExtEx(surface.GetDC(), 1, -1, nullptr);
    ::SetViewportExtEx(surface.GetDC(), 3, 3, nullptr);
    COSMMarkupDeviceContext renderer(surface.GetDC(), nullptr);
    renderer.OffsetViewport(CPoint(2, 5));
    EXPECT_EQ(CPoint(6, 15), ViewportOriginOf(surface.GetDC()));
}

TEST_F(MarkupTest, FramesAreFourBandsWithTopAndBottomAcrossTheWholeWidth)
{
    const COLORREF background = ::GetSysColor(COLOR_WINDOW);
    const COLORREF color = ::GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_NE(background, color);
    RefPtr<COSMMarkupSolidColorBrush> brush = AdoptRef(new COSMMarkupSolidColorBrush(color));
    const std::string hex = [&] {
        char text[16];
        snprintf(text, sizeof text, "%06lx", static_cast<unsigned long>(color));
        return std::string(text);
    }();
    const struct
    {
        int left, top, right, bottom;
        Log bands;
    } cases[] = {
        {1, 0, 0, 0, {"fill 0,0,1,8 " + hex}},
        {1, 2, 3, 4, {"fill 0,0,1,8 " + hex, "fill 7,0,10,8 " + hex, "fill 0,0,10,2 " + hex, "fill 0,4,10,8 " + hex}},
        {0, 0, 0, -1, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.left << "," << c.top << "," << c.right << "," << c.bottom);
        DcTestSurface surface(10, 8, background);
        Log log;
        CRecordingRenderer renderer(surface.GetDC(), &log);
        RefPtr<COSMMarkupThickness> thickness = AdoptRef(new COSMMarkupThickness(c.left, c.top, c.right, c.bottom));
        renderer.DrawFrame(CRect(0, 0, 10, 8), brush.Get(), thickness.Get());
        log.erase(log.begin());
        for (std::string& entry : log)
            entry.erase(0, entry.find_first_not_of(' '));
        EXPECT_EQ(c.bands, log);
        for (int y = 0; y < 8; ++y)
        {
            for (int x = 0; x < 10; ++x)
            {
                const bool band = x < c.left || x >= 10 - c.right || y < c.top || y >= 8 - c.bottom;
                EXPECT_EQ(band ? color : background, surface.Pixel(x, y)) << x << "," << y;
            }
        }
    }
    DcTestSurface surface(10, 8, background);
    COSMMarkupDeviceContext renderer(surface.GetDC(), nullptr);
    renderer.DrawFrame(CRect(0, 0, 10, 8), brush.Get(), nullptr);
    EXPECT_EQ(0, surface.CountNot(background));
}

TEST_F(MarkupTest, SolidFillsIgnoreAlphaAndOtherBrushesDrawNothing)
{
    const COLORREF background = ::GetSysColor(COLOR_WINDOW);
    const COLORREF color = ::GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_NE(background, color);
    DcTestSurface surface(30, 10, background);
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        dc.FillSolidRect(CRect(0, 0, 10, 10), 0x80000000 | color);
        RefPtr<COSMMarkupSolidColorBrush> translucent = AdoptRef(new COSMMarkupSolidColorBrush(0x40, color));
        dc.FillRectangle(CRect(10, 0, 20, 10), translucent.Get());
        RefPtr<COSMMarkupSolidColorBrush> colourless = AdoptRef(new COSMMarkupSolidColorBrush);
        dc.FillRectangle(CRect(20, 0, 30, 5), colourless.Get());
        RefPtr<COSMMarkupLinearGradientBrush> gradient = AdoptRef(new COSMMarkupLinearGradientBrush);
        dc.FillRectangle(CRect(20, 5, 30, 10), gradient.Get());
        dc.FillRectangle(CRect(20, 0, 30, 10), nullptr);
    }
    EXPECT_TRUE(surface.AllPixels(CRect(0, 0, 20, 10), color));
    EXPECT_TRUE(surface.AllPixels(CRect(20, 0, 30, 10), background));
}

TEST_F(MarkupTest, AFillPutsTheBackgroundColourBack)
{
    DcTestSurface surface(10, 10);
    ::SetBkColor(surface.GetDC(), RGB(9, 8, 7));
    COSMMarkupDrawingContext dc(surface.GetDC());
    dc.FillSolidRect(CRect(0, 0, 5, 5), RGB(200, 100, 50));
    EXPECT_EQ(RGB(9, 8, 7), ::GetBkColor(surface.GetDC()));
}

TEST_F(MarkupTest, TheContextGuardsFramesAndRoutesRadiiToTheRoundedForms)
{
    DcTestSurface surface(10, 10);
    Log log;
    RefPtr<COSMMarkupSolidColorBrush> brush = AdoptRef(new COSMMarkupSolidColorBrush(RGB(1, 2, 3)));
    RefPtr<COSMMarkupThickness> thickness = AdoptRef(new COSMMarkupThickness(2));
    const double radii[8] = {1, 1, 2, 2, 3, 3, 4, 4};
    {
        COSMMarkupDrawingContext dc(surface.GetDC(), new CRecordingRenderer(surface.GetDC(), &log));
        dc.DrawFrame(CRect(0, 0, 10, 10), nullptr, thickness.Get());
        dc.DrawFrame(CRect(0, 0, 10, 10), brush.Get(), nullptr);
        dc.DrawFrame(CRect(0, 0, 10, 10), brush.Get(), thickness.Get(), radii);
        dc.FillRectangle(CRect(1, 1, 9, 9), brush.Get(), radii);
        dc.DrawRectangle(CRect(0, 0, 10, 10), brush.Get());
    }
    EXPECT_EQ((Log{"rounded frame 0,0,10,10 030201 2,2,2,2 1,1,2,2,3,3,4,4",
                   "rounded fill 1,1,9,9 030201 1,1,2,2,3,3,4,4", "frame 0,0,10,10 030201 1,1,1,1"}),
              markup_test::TopLevelCalls(log));
}

TEST_F(MarkupTest, ARenderingContextLeavesTheDCsFontAndATransparentBackground)
{
    DcTestSurface surface(10, 10);
    HFONT font = static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT));
    HGDIOBJ oldFont = ::SelectObject(surface.GetDC(), font);
    ::SetBkMode(surface.GetDC(), OPAQUE);
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        EXPECT_EQ(surface.GetDC(), dc.GetDC());
        dc.ReleaseDC(dc.GetDC());
    }
    EXPECT_EQ(font, ::GetCurrentObject(surface.GetDC(), OBJ_FONT));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(surface.GetDC()));
    EXPECT_EQ(OBJ_MEMDC, static_cast<int>(::GetObjectType(surface.GetDC())));
    ::SelectObject(surface.GetDC(), oldFont);
}

TEST_F(MarkupTest, AMeasuringContextMakesAndDeletesItsOwnScreenDC)
{
    HDC own = nullptr;
    {
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
        own = measuring.GetSafeHdc();
        ASSERT_NE(nullptr, own);
        EXPECT_EQ(own, measuring.GetAttribDC());
        EXPECT_EQ(OBJ_MEMDC, static_cast<int>(::GetObjectType(own)));
        EXPECT_FALSE(measuring.BypassLayoutCache());
    }
    EXPECT_EQ(0u, ::GetObjectType(own));
}
