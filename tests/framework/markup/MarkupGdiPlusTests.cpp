// The GDI+ renderer: through the recording stand-in library (loaded by name like the real one) for what it asks
// GDI+ and when the library is loaded, started, shut down and freed; through the real library for the pixels.
#include "tests/support/DcTestSurface.h"
#include "GdiPlusStandIn.h"
#include "MarkupTestSupport.h"

#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupGdiPlus.h"
#include "framework/markup/MarkupGdiPlusDeviceContext.h"
#include "framework/markup/MarkupGradientStop.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupPoint.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupThickness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::Hold;
using markup_test::MarkupTest;

namespace {

using Log = std::vector<std::string>;

template <class T> struct Released
{
    explicit Released(T* object) : p(object) {}
    ~Released() { p->Release(); }
    T* get() const { return p; }
    T* p;
};

COSMMarkupSolidColorBrush* Solid(BYTE alpha, COLORREF rgb)
{
    return new COSMMarkupSolidColorBrush(alpha, rgb);
}

COSMMarkupLinearGradientBrush* Gradient(const std::vector<std::pair<UINT, double>>& stops)
{
    COSMMarkupLinearGradientBrush* brush = new COSMMarkupLinearGradientBrush;
    brush->SetValue(COSMMarkupLinearGradientBrush::s_pStartPointProperty, new COSMMarkupPoint(0, 0));
    brush->SetValue(COSMMarkupLinearGradientBrush::s_pEndPointProperty, new COSMMarkupPoint(1, 0));
    for (const auto& s : stops)
    {
        COSMMarkupGradientStop* stop = new COSMMarkupGradientStop;
        stop->SetValue(COSMMarkupGradientStop::s_pColorProperty,
                       new COSMMarkupColor(static_cast<BYTE>(s.first >> 24), s.first & 0xFFFFFF));
        stop->SetValue(COSMMarkupGradientStop::s_pOffsetProperty, new COSMMarkupDouble(s.second));
        brush->GetGradientStops()->Add(stop);
    }
    return brush;
}

// Loads the stand-in instead of GDI+ and reads what it recorded. Every user registered here is gone at the end,
// and so is every object the stand-in made.
class GdiPlusStandInTest : public MarkupTest
{
protected:
    void SetUp() override
    {
        MarkupTest::SetUp();
        record = std::make_unique<GdiPlusStandInRecord>();
        *record = GdiPlusStandInRecord{};
        char address[32];
        snprintf(address, sizeof address, "%llx",
                 static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(record.get())));
        ::SetEnvironmentVariableA(OSM_GDIPLUS_STANDIN_RECORD_VARIABLE, address);
        ASSERT_TRUE(GetMarkupGdiPlus()->SetLibraryName(OSM_GDIPLUS_STANDIN_FILE));
    }
    void TearDown() override
    {
        while (GetMarkupGdiPlus()->GetUserCount() > 0)
            RegisterGdiPlusForMarkup(FALSE);
        EXPECT_EQ(0, record->liveObjects);
        EXPECT_EQ(nullptr, ::GetModuleHandleA(OSM_GDIPLUS_STANDIN_FILE));
        GetMarkupGdiPlus()->SetLibraryName(nullptr);
        ::SetEnvironmentVariableA(OSM_GDIPLUS_STANDIN_RECORD_VARIABLE, nullptr);
        MarkupTest::TearDown();
    }

    // The recorded calls since the last Take, one entry each.
    Log Take()
    {
        Log calls;
        std::istringstream lines(std::string(record->text, record->length));
        for (std::string line; std::getline(lines, line);)
            calls.push_back(line);
        record->length = 0;
        record->text[0] = '\0';
        return calls;
    }
    // The recorded calls whose names start with one of prefixes.
    Log TakeOnly(std::initializer_list<const char*> prefixes)
    {
        Log kept;
        for (const std::string& call : Take())
            for (const char* prefix : prefixes)
                if (call.compare(0, strlen(prefix), prefix) == 0)
                    kept.push_back(call);
        return kept;
    }

    std::unique_ptr<GdiPlusStandInRecord> record;
};

const char* const kStartup = "GdiplusStartup version 1 output none";
const char* const kShutdown = "GdiplusShutdown 1234";

}  // namespace

TEST_F(GdiPlusStandInTest, TheFirstUserStartsAndTheLastStopsWhateverTheOrder)
{
    const struct
    {
        const char* calls;  // + registers a user, - ends one
        Log expected;
        int users;
    } cases[] = {
        {"+-", {kStartup, kShutdown}, 0},
        {"++-", {kStartup}, 1},
        {"++--", {kStartup, kShutdown}, 0},
        {"-++", {kStartup}, 2},
        {"--+-+", {kStartup, kShutdown, kStartup}, 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.calls);
        for (const char* p = c.calls; *p; ++p)
            RegisterGdiPlusForMarkup(*p == '+');
        EXPECT_EQ(c.expected, Take());
        EXPECT_EQ(c.users, GetMarkupGdiPlus()->GetUserCount());
        EXPECT_EQ(c.users > 0, GetMarkupGdiPlus()->IsStarted() != FALSE);
        EXPECT_EQ(c.users > 0, ::GetModuleHandleA(OSM_GDIPLUS_STANDIN_FILE) != nullptr);
        // The library name stays while a user is registered.
        EXPECT_EQ(c.users == 0, GetMarkupGdiPlus()->SetLibraryName(OSM_GDIPLUS_STANDIN_FILE) != FALSE);
        while (GetMarkupGdiPlus()->GetUserCount() > 0)
            RegisterGdiPlusForMarkup(FALSE);
        Take();
        EXPECT_EQ(nullptr, ::GetModuleHandleA(OSM_GDIPLUS_STANDIN_FILE));
    }
}

TEST_F(GdiPlusStandInTest, TwoContextsStartTheLibraryOnceAndTheSecondToGoShutsItDown)
{
    for (bool firstGoesFirst : {true, false})
    {
        SCOPED_TRACE(firstGoesFirst ? "made first, released first" : "made first, released last");
        COSMMarkupContext* first = CreateMarkupContext(nullptr);
        COSMMarkupContext* second = CreateMarkupContext(nullptr);
        ASSERT_NE(nullptr, first);
        ASSERT_NE(nullptr, second);
        EXPECT_EQ(Log{kStartup}, TakeOnly({"GdiplusStartup", "GdiplusShutdown"}));
        EXPECT_TRUE(GetMarkupGdiPlus()->IsStarted());

        ReleaseMarkupContext(firstGoesFirst ? &first : &second);
        EXPECT_EQ(Log{}, TakeOnly({"GdiplusStartup", "GdiplusShutdown"}));
        EXPECT_TRUE(GetMarkupGdiPlus()->IsStarted());
        EXPECT_NE(nullptr, ::GetModuleHandleA(OSM_GDIPLUS_STANDIN_FILE));

        ReleaseMarkupContext(firstGoesFirst ? &second : &first);
        EXPECT_EQ(Log{kShutdown}, TakeOnly({"GdiplusStartup", "GdiplusShutdown"}));
        EXPECT_FALSE(GetMarkupGdiPlus()->IsStarted());
        EXPECT_EQ(0, GetMarkupGdiPlus()->GetUserCount());
        EXPECT_EQ(nullptr, ::GetModuleHandleA(OSM_GDIPLUS_STANDIN_FILE));
    }
}

TEST_F(GdiPlusStandInTest, AFailedStartDrawsByGdiAndIsNeverShutDown)
{
    record->failStart = 1;
    RegisterGdiPlusForMarkup(TRUE);
    EXPECT_FALSE(GetMarkupGdiPlus()->IsStarted());
    EXPECT_NE(nullptr, ::GetModuleHandleA(OSM_GDIPLUS_STANDIN_FILE));
    DcTestSurface surface(10, 10, RGB(255, 255, 255));
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        Released<COSMMarkupSolidColorBrush> brush(Solid(0x80, RGB(200, 0, 0)));
        dc.FillRectangle(CRect(0, 0, 5, 5), brush.get());
    }
    // GDI ignores alpha.
    EXPECT_EQ(RGB(200, 0, 0), surface.Pixel(2, 2));
    RegisterGdiPlusForMarkup(FALSE);
    EXPECT_EQ(Log{kStartup}, Take());
    EXPECT_EQ(nullptr, ::GetModuleHandleA(OSM_GDIPLUS_STANDIN_FILE));
}

TEST_F(GdiPlusStandInTest, OpaqueFillsStayWithGdiAndTranslucentOnesGoThroughGdiPlus)
{
    RegisterGdiPlusForMarkup(TRUE);
    Take();
    DcTestSurface surface(40, 40);
    COSMMarkupGdiPlusDeviceContext renderer(surface.GetDC(), nullptr);
    Released<COSMMarkupSolidColorBrush> opaque(Solid(0xFF, RGB(0x11, 0x22, 0x33)));
    Released<COSMMarkupThickness> thickness(new COSMMarkupThickness(1, 2, 3, 4));
    renderer.FillRectangle(CRect(1, 2, 11, 22), opaque.get());
    renderer.DrawFrame(CRect(1, 2, 11, 22), opaque.get(), thickness.get());
    EXPECT_EQ(Log{}, Take());
    EXPECT_EQ(RGB(0x11, 0x22, 0x33), surface.Pixel(5, 5));

    Released<COSMMarkupSolidColorBrush> translucent(Solid(0xFE, RGB(0x11, 0x22, 0x33)));
    renderer.FillRectangle(CRect(1, 2, 11, 22), translucent.get());
    EXPECT_EQ((Log{"GdipCreateFromHDC", "GdipSetPageUnit 2", "GdipSetSmoothingMode 2", "GdipSetPixelOffsetMode 4",
                   "GdipCreateSolidFill fe112233", "GdipSetSmoothingMode 1", "GdipSetPixelOffsetMode 4",
                   "GdipFillRectangleI 1,2 10x20", "GdipDeleteBrush", "GdipDeleteGraphics"}),
              Take());

    // The frame's bands do not overlap.
    renderer.DrawFrame(CRect(1, 2, 11, 22), translucent.get(), thickness.get());
    EXPECT_EQ((Log{"GdipSetSmoothingMode 1", "GdipFillRectangleI 1,2 1x20", "GdipFillRectangleI 8,2 3x20",
                   "GdipFillRectangleI 2,2 6x2", "GdipFillRectangleI 2,18 6x4"}),
              TakeOnly({"GdipFillRectangleI", "GdipSetSmoothingMode 1"}));
}

TEST_F(GdiPlusStandInTest, LinesSmoothByDirectionAndOffsetByThickness)
{
    RegisterGdiPlusForMarkup(TRUE);
    DcTestSurface surface(40, 40);
    COSMMarkupGdiPlusDeviceContext renderer(surface.GetDC(), nullptr);
    Released<COSMMarkupSolidColorBrush> brush(Solid(0xFF, RGB(1, 2, 3)));
    const struct
    {
        int x1, y1, x2, y2, thickness;
        Log expected;
    } cases[] = {
        {0, 5, 30, 5, 1, {"GdipSetSmoothingMode 1", "GdipSetPixelOffsetMode 0", "GdipDrawLineI 0,5 30,5"}},
        {5, 0, 5, 30, 2, {"GdipSetSmoothingMode 1", "GdipSetPixelOffsetMode 4", "GdipDrawLineI 5,0 5,30"}},
        {0, 0, 30, 20, 1, {"GdipSetSmoothingMode 2", "GdipSetPixelOffsetMode 0", "GdipDrawLineI 0,0 30,20"}},
        {0, 0, 30, 20, 2, {"GdipSetSmoothingMode 2", "GdipSetPixelOffsetMode 4", "GdipDrawLineI 0,0 30,20"}},
    };
    for (const auto& c : cases)
    {
        Take();
        renderer.DrawLine(c.x1, c.y1, c.x2, c.y2, c.thickness, brush.get());
        Log calls = Take();
        // After the graphics object's own settings (unit, high quality, half).
        ASSERT_GE(calls.size(), 4u);
        calls.erase(calls.begin(), calls.begin() + 4);
        Log drawing;
        for (const std::string& call : calls)
            if (call.find("Smoothing") != std::string::npos || call.find("PixelOffset") != std::string::npos ||
                call.find("DrawLineI") != std::string::npos)
                drawing.push_back(call);
        EXPECT_EQ(c.expected, drawing) << c.thickness;
    }
}

TEST_F(GdiPlusStandInTest, EllipsesPathsAndGradientsArriveAsGdiPlusWantsThem)
{
    RegisterGdiPlusForMarkup(TRUE);
    DcTestSurface surface(40, 40);
    COSMMarkupGdiPlusDeviceContext renderer(surface.GetDC(), nullptr);
    Released<COSMMarkupSolidColorBrush> brush(Solid(0xFF, RGB(1, 2, 3)));
    Take();

    // The outline stays inside the rectangle.
    renderer.DrawEllipse(CRect(10, 20, 50, 60), 4, brush.get(), nullptr);
    EXPECT_EQ((Log{"GdipCreatePen1 ff010203 4 unit 0", "GdipDrawEllipse 12,22 36x36"}),
              TakeOnly({"GdipCreatePen", "GdipDrawEllipse", "GdipFillEllipse"}));
    // No stroke: no outline, the fill over the whole rectangle.
    renderer.DrawEllipse(CRect(10, 20, 50, 60), 4, nullptr, brush.get());
    EXPECT_EQ((Log{"GdipFillEllipse 10,20 40x40"}), TakeOnly({"GdipCreatePen", "GdipDrawEllipse", "GdipFillEllipse"}));

    const COSMMarkupPointF points[] = {{0, 0}, {10, 0}, {10, 10}};
    const BYTE types[] = {0, 1, 0x81};
    Hold path = Hold::Adopt(new COSMMarkupPathGeometry(points, types, 3));
    renderer.DrawPath(static_cast<COSMMarkupPathGeometry*>(path.Get()), 2, brush.get(), brush.get());
    EXPECT_EQ((Log{"GdipCreatePath2 0,0:0 10,0:1 10,10:129 mode 0", "GdipFillPath", "GdipDrawPath", "GdipDeletePath"}),
              TakeOnly({"GdipCreatePath2", "GdipFillPath", "GdipDrawPath", "GdipDeletePath"}));

    // Stops inside: the ends take the first and last colours.
    Released<COSMMarkupLinearGradientBrush> inside(Gradient({{0xFF0000FF, 0.2}, {0xFFFF0000, 0.8}}));
    renderer.FillRectangle(CRect(0, 0, 40, 10), inside.get());
    EXPECT_EQ((Log{"GdipCreateLineBrush 0,0 40,0 ffff0000 ff0000ff wrap 3",
                   "GdipSetLinePresetBlend ffff0000@0 ffff0000@0.2 ff0000ff@0.8 ff0000ff@1"}),
              TakeOnly({"GdipCreateLineBrush", "GdipSetLinePresetBlend"}));
    // Stops outside [0, 1]: the ends take the colours there, the stops themselves are left out.
    Released<COSMMarkupLinearGradientBrush> outside(Gradient({{0xFF000000, -0.5}, {0xFF0000FF, 1.5}}));
    renderer.FillRectangle(CRect(0, 0, 40, 10), outside.get());
    EXPECT_EQ(
        (Log{"GdipCreateLineBrush 0,0 40,0 ff000000 ffff0000 wrap 3", "GdipSetLinePresetBlend ff3f0000@0 ffbf0000@1"}),
        TakeOnly({"GdipCreateLineBrush", "GdipSetLinePresetBlend"}));
    // A gradient stroke makes a pen from a brush, and lets the brush go.
    const POINT corner = {0, 0};
    renderer.DrawPolygon(&corner, 1, 3, inside.get(), nullptr);
    EXPECT_EQ((Log{"GdipCreatePen2 3 unit 0", "GdipDeleteBrush", "GdipSetPixelOffsetMode 0", "GdipDrawPolygonI 1",
                   "GdipDeletePen"}),
              TakeOnly({"GdipCreatePen2", "GdipDeleteBrush", "GdipDrawPolygonI", "GdipDeletePen",
                        "GdipSetPixelOffsetMode 0"}));
}

TEST_F(GdiPlusStandInTest, EmptyPointListsReachNoRenderer)
{
    RegisterGdiPlusForMarkup(TRUE);
    Take();
    DcTestSurface surface(10, 10);
    Released<COSMMarkupSolidColorBrush> brush(Solid(0xFF, RGB(1, 2, 3)));
    const POINT one[] = {{3, 3}};
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        dc.DrawPolygon(one, 0, 1, brush.get(), brush.get());
        dc.DrawPolygon(nullptr, 3, 1, brush.get(), brush.get());
        dc.DrawPolyline(one, 1, 1, brush.get());
        dc.DrawPolyline(nullptr, 2, 1, brush.get());
    }
    EXPECT_EQ(Log{}, Take());
}

namespace {

// The system's GDI+ (Wine's here), or with a name that does not exist, GDI alone.
class RealGdiPlusTest : public MarkupTest
{
protected:
    void TearDown() override
    {
        while (GetMarkupGdiPlus()->GetUserCount() > 0)
            RegisterGdiPlusForMarkup(FALSE);
        GetMarkupGdiPlus()->SetLibraryName(nullptr);
        MarkupTest::TearDown();
    }
};

int Channel(COLORREF color, int shift)
{
    return (color >> shift) & 0xFF;
}

}  // namespace

TEST_F(RealGdiPlusTest, TranslucentRedOverWhiteBlends)
{
    RegisterGdiPlusForMarkup(TRUE);
    ASSERT_TRUE(GetMarkupGdiPlus()->IsStarted());
    DcTestSurface surface(20, 20);
    surface.FillRaw(0xFFFFFFFF);
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        Released<COSMMarkupSolidColorBrush> brush(Solid(0x80, RGB(255, 0, 0)));
        dc.FillRectangle(CRect(0, 0, 20, 20), brush.get());
    }
    const COLORREF pixel = surface.Pixel(10, 10);
    EXPECT_NEAR(255, Channel(pixel, 0), 3);
    EXPECT_NEAR(128, Channel(pixel, 8), 3);
    EXPECT_NEAR(128, Channel(pixel, 16), 3);
}

TEST_F(RealGdiPlusTest, ATranslucentFramePaintsItsCornersOnce)
{
    RegisterGdiPlusForMarkup(TRUE);
    DcTestSurface surface(20, 20);
    surface.FillRaw(0xFFFFFFFF);
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        Released<COSMMarkupSolidColorBrush> brush(Solid(0x80, RGB(0, 0, 255)));
        Released<COSMMarkupThickness> thickness(new COSMMarkupThickness(3));
        dc.DrawFrame(CRect(0, 0, 20, 20), brush.get(), thickness.get());
    }
    EXPECT_NE(RGB(255, 255, 255), surface.Pixel(1, 1));
    EXPECT_EQ(surface.Pixel(10, 1), surface.Pixel(1, 1));
    EXPECT_EQ(surface.Pixel(1, 10), surface.Pixel(1, 1));
    EXPECT_EQ(surface.Pixel(18, 18), surface.Pixel(1, 1));
    EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(10, 10));
}

TEST_F(RealGdiPlusTest, AThickEllipseStaysInsideItsRectangle)
{
    RegisterGdiPlusForMarkup(TRUE);
    const COLORREF background = RGB(255, 255, 255);
    DcTestSurface surface(50, 40, background);
    // (Wine's GDI+ widens the outline of much flatter ellipses with stray pixels past their ends.)
    const CRect rect(3, 3, 43, 33);
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        Released<COSMMarkupSolidColorBrush> stroke(Solid(0xFF, RGB(0, 0, 0)));
        Released<COSMMarkupSolidColorBrush> fill(Solid(0xFF, RGB(0, 200, 0)));
        dc.DrawEllipse(rect, 4, stroke.get(), fill.get());
    }
    int inside = 0;
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 50; ++x)
        {
            if (rect.PtInRect(CPoint(x, y)))
                inside += surface.Pixel(x, y) != background;
            else
                EXPECT_EQ(background, surface.Pixel(x, y)) << x << "," << y << " " << std::hex << surface.Pixel(x, y);
        }
    }
    EXPECT_GT(inside, 600);
    EXPECT_EQ(RGB(0, 200, 0), surface.Pixel(23, 18));
}

TEST_F(RealGdiPlusTest, EveryShapeIsDrawnWithOrWithoutTheLibrary)
{
    for (const char* library : {"GdiPlus.dll", "osm_no_such_gdiplus.dll"})
    {
        SCOPED_TRACE(library);
        ASSERT_TRUE(GetMarkupGdiPlus()->SetLibraryName(library));
        RegisterGdiPlusForMarkup(TRUE);
        EXPECT_EQ(library[0] == 'G', GetMarkupGdiPlus()->IsStarted() != FALSE);
        const COLORREF background = RGB(255, 255, 255);
        DcTestSurface surface(160, 20, background);
        {
            COSMMarkupDrawingContext dc(surface.GetDC());
            Released<COSMMarkupSolidColorBrush> stroke(Solid(0xFF, RGB(0, 0, 0)));
            Released<COSMMarkupSolidColorBrush> fill(Solid(0xC0, RGB(0, 0, 200)));
            Released<COSMMarkupLinearGradientBrush> gradient(Gradient({{0xFF0000FF, 0}, {0xFFFF0000, 1}}));
            const POINT triangle[] = {{22, 2}, {38, 2}, {30, 18}};
            const POINT zigzag[] = {{42, 2}, {50, 18}, {58, 2}};
            const COSMMarkupPointF points[] = {{82, 2}, {98, 2}, {98, 18}};
            const BYTE types[] = {0, 1, 0x81};
            Hold path = Hold::Adopt(new COSMMarkupPathGeometry(points, types, 3));
            const double radii[8] = {4, 4, 4, 4, 4, 4, 4, 4};
            dc.DrawEllipse(CRect(2, 2, 18, 18), 2, stroke.get(), fill.get());
            dc.DrawPolygon(triangle, 3, 1, stroke.get(), fill.get());
            dc.DrawPolyline(zigzag, 3, 2, stroke.get());
            dc.DrawLine(62, 2, 78, 18, 2, stroke.get());
            dc.DrawPath(static_cast<COSMMarkupPathGeometry*>(path.Get()), 1, stroke.get(), fill.get());
            dc.FillRectangle(CRect(102, 2, 118, 18), gradient.get(), radii);
            dc.FillRectangle(CRect(122, 2, 138, 18), gradient.get());
            dc.FillRectangle(CRect(142, 2, 158, 18), fill.get());
        }
        for (int shape = 0; shape < 8; ++shape)
            EXPECT_FALSE(surface.AllPixels(CRect(shape * 20, 0, shape * 20 + 20, 20), background)) << shape;
        RegisterGdiPlusForMarkup(FALSE);
    }
}
