// Shapes: sizes measured from their coordinates or the room offered, stretched lines and points, rounded rectangle
// radii, point text, hit tests; the drawing context's text, fonts and guards; a rounded border on real pixels.
#include "tests/support/DcTestSurface.h"
#include "MarkupElementTestTypes.h"
#include "MarkupTestSupport.h"

#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupEllipse.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupLine.h"
#include "framework/markup/MarkupPath.h"
#include "framework/markup/MarkupPointCollection.h"
#include "framework/markup/MarkupPolygon.h"
#include "framework/markup/MarkupRectangle.h"
#include "framework/markup/MarkupThickness.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::CRecordingRenderer;
using markup_test::Hold;
using markup_test::MakeIn;
using markup_test::MarkupBuilderTest;
using markup_test::SetFromText;

namespace {

using Log = std::vector<std::string>;

class ShapeTest : public MarkupBuilderTest
{
protected:
    // A new shape of class T made by the context, with the properties set from text.
    template <class T> RefPtr<T> Make(std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> properties)
    {
        RefPtr<T> shape = MakeIn<T>(context);
        for (const auto& p : properties)
            SetFromText(&builder, shape.Get(), COSMMarkupDependencyProperty::FindProperty(T::GetClassType(), p.first),
                        p.second);
        return shape;
    }
    CSize Measure(COSMMarkupUIElement* element, int width, int height)
    {
        element->Measure(&measuring, width, height);
        return element->GetDesiredSize();
    }
    void Place(COSMMarkupUIElement* element, int width, int height)
    {
        element->Measure(&measuring, width, height);
        element->Arrange(CRect(0, 0, width, height));
    }
    Log RenderRecorded(COSMMarkupVisual* element)
    {
        DcTestSurface surface(100, 100);
        Log log;
        {
            COSMMarkupDrawingContext dc(surface.GetDC(), new CRecordingRenderer(surface.GetDC(), &log));
            element->Render(&dc);
        }
        // The drawing calls only, not the render pass's own viewport offsets.
        Log drawing;
        for (const std::string& entry : markup_test::TopLevelCalls(log))
            if (entry.compare(0, 7, "offset ") != 0)
                drawing.push_back(entry);
        return drawing;
    }

    COSMMarkupDrawingContext measuring{COSMMarkupDrawingContext::CreateMeasuringContext};
};

}  // namespace

TEST_F(ShapeTest, ShapesMeasureFromTheirCoordinatesOrTakeTheRoomWhenStretched)
{
    const int unbounded = INT_MAX;
    struct Case
    {
        const char* name;
        COSMMarkupUIElement* shape;
        int width, height;
        CSize expected;
    };
    auto polygon = Make<COSMMarkupPolygon>({{L"Points", L"0,0 10,0 5,8"}});
    auto negative = Make<COSMMarkupPolygon>({{L"Points", L"-5,-5 5,5"}});
    auto flat = Make<COSMMarkupPolyline>({{L"Points", L"0,0 20,0"}, {L"Stroke", L"Black"}, {L"StrokeThickness", L"3"}});
    auto empty = Make<COSMMarkupPolygon>({});
    auto stretched = Make<COSMMarkupPolygon>({{L"Points", L"0,0 10,0 5,8"}, {L"Stretch", L"uniform"}});
    auto rectangle = Make<COSMMarkupRectangle>({});
    auto stretchedRectangle = Make<COSMMarkupRectangle>({{L"Stretch", L"Fill"}});
    auto ellipse = Make<COSMMarkupEllipse>({{L"Stretch", L"UNIFORMTOFILL"}});
    auto line = Make<COSMMarkupLine>({{L"X1", L"3"},
                                      {L"Y1", L"10"},
                                      {L"X2", L"3"},
                                      {L"Y2", L"2"},
                                      {L"Stroke", L"Black"},
                                      {L"StrokeThickness", L"4"}});
    auto huge = Make<COSMMarkupPolygon>({{L"Points", L"-2147483648,0 2147483647,1"}});
    auto path = Make<COSMMarkupPath>({{L"Data", L"M 2,3 L 12,9"}});
    auto stretchedPath = Make<COSMMarkupPath>({{L"Data", L"M 2,3 L 12,9"}, {L"Stretch", L"Fill"}});
    const Case cases[] = {
        {"polygon", polygon.Get(), 50, 50, CSize(10, 8)},
        {"negative points", negative.Get(), 50, 50, CSize(10, 10)},
        {"flat stroked polyline", flat.Get(), 50, 50, CSize(20, 2)},
        {"no points", empty.Get(), 50, 50, CSize(0, 0)},
        {"stretched polygon", stretched.Get(), 50, 60, CSize(50, 60)},
        {"stretched polygon, unbounded", stretched.Get(), unbounded, 60, CSize(10, 60)},
        {"rectangle", rectangle.Get(), 50, 60, CSize(0, 0)},
        {"stretched rectangle", stretchedRectangle.Get(), 50, unbounded, CSize(50, 0)},
        {"stretched ellipse", ellipse.Get(), 30, 40, CSize(30, 40)},
        {"vertical line", line.Get(), 50, 50, CSize(5, 10)},
        {"huge points", huge.Get(), unbounded, unbounded, CSize(INT_MAX, 1)},
        {"path", path.Get(), 50, 50, CSize(12, 9)},
        {"stretched path", stretchedPath.Get(), 70, 80, CSize(70, 80)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Measure(c.shape, c.width, c.height)) << c.name;
}

TEST_F(ShapeTest, AStretchedLineSpansItsRoomAndAFlatAxisSitsInTheMiddle)
{
    auto line = Make<COSMMarkupLine>(
        {{L"X1", L"0"}, {L"Y1", L"10"}, {L"X2", L"20"}, {L"Y2", L"10"}, {L"Stroke", L"Black"}, {L"Stretch", L"Fill"}});
    Place(line.Get(), 100, 40);
    int x1, y1, x2, y2;
    line->GetLinePoints(&x1, &y1, &x2, &y2);
    EXPECT_EQ((std::vector<int>{0, 20, 100, 20}), (std::vector<int>{x1, y1, x2, y2}));
    auto reversed =
        Make<COSMMarkupLine>({{L"X1", L"30"}, {L"Y1", L"1"}, {L"X2", L"5"}, {L"Y2", L"9"}, {L"Stretch", L"Fill"}});
    Place(reversed.Get(), 100, 40);
    reversed->GetLinePoints(&x1, &y1, &x2, &y2);
    EXPECT_EQ((std::vector<int>{100, 0, 0, 40}), (std::vector<int>{x1, y1, x2, y2}));
}

TEST_F(ShapeTest, RectangleRadiiStopAtHalfTheSideAndNeedBothValues)
{
    auto rounded = Make<COSMMarkupRectangle>({{L"RadiusX", L"50"},
                                              {L"RadiusY", L"5"},
                                              {L"Stroke", L"#0000FF"},
                                              {L"StrokeThickness", L"2"},
                                              {L"Fill", L"#00FF00"}});
    Place(rounded.Get(), 40, 30);
    EXPECT_EQ((Log{"rounded fill 1,1,39,29 00ff00 5,19,19,5,5,19,19,5",
                   "rounded frame 0,0,40,30 ff0000 2,2,2,2 5,19,19,5,5,19,19,5"}),
              RenderRecorded(rounded.Get()));
    auto square = Make<COSMMarkupRectangle>({{L"RadiusX", L"50"}, {L"Stroke", L"#0000FF"}});
    Place(square.Get(), 40, 30);
    EXPECT_EQ((Log{"frame 0,0,40,30 ff0000 1,1,1,1"}), RenderRecorded(square.Get()));
}

TEST_F(ShapeTest, PointTextIsWholeNumbersInPairs)
{
    const struct
    {
        const wchar_t* text;
        bool accepted;
        std::vector<LONG> coordinates;
    } cases[] = {
        {L"0,0 10,0 5,8", true, {0, 0, 10, 0, 5, 8}},
        {L"0 0 10 0 5 8", true, {0, 0, 10, 0, 5, 8}},
        {L"  -3,4   2147483647,-2147483648", true, {-3, 4, 2147483647, -2147483648LL}},
        {L"", true, {}},
        {L"1.5,0", false, {}},
        {L"+1,0", false, {}},
        {L",1 2", false, {}},
        {L"99999999999,0", false, {}},
        {L"2147483648,0", false, {}},
        {L"1,2 3", false, {}},
        {L"1e2,0", false, {}},
        {L"-,1", false, {}},
    };
    for (const auto& c : cases)
    {
        const std::string name(c.text, c.text + wcslen(c.text));
        std::vector<POINT> points;
        EXPECT_EQ(c.accepted, ParseMarkupPoints(c.text, &points) != FALSE) << name;
        std::vector<LONG> coordinates;
        for (const POINT& point : points)
        {
            coordinates.push_back(point.x);
            coordinates.push_back(point.y);
        }
        EXPECT_EQ(c.coordinates, coordinates) << name;
    }
    Hold collection = Hold::Adopt(new COSMMarkupPointCollection(std::vector<POINT>{{0, 0}, {10, 0}, {5, 8}}));
    const RECT& bounds = static_cast<COSMMarkupPointCollection*>(collection.Get())->GetBounds();
    EXPECT_EQ(CRect(0, 0, 10, 8), CRect(bounds));
    std::vector<POINT> stretched;
    static_cast<COSMMarkupPointCollection*>(collection.Get())->Stretch(&stretched, 100, 16);
    EXPECT_EQ(100, stretched[1].x);
    EXPECT_EQ(16, stretched[2].y);
    EXPECT_EQ(50, stretched[2].x);
}

TEST_F(ShapeTest, EllipsesAndLinesAreHitOnlyOnTheirFigures)
{
    auto ellipse = Make<COSMMarkupEllipse>({{L"Fill", L"Red"}});
    Place(ellipse.Get(), 40, 20);
    EXPECT_EQ(ellipse.Get(), ellipse->InputHitTestCore(20, 10));
    EXPECT_EQ(ellipse.Get(), ellipse->InputHitTestCore(0, 10));
    EXPECT_EQ(nullptr, ellipse->InputHitTestCore(1, 1));
    EXPECT_EQ(nullptr, ellipse->InputHitTestCore(39, 19));
    auto dot = Make<COSMMarkupEllipse>({{L"Fill", L"Red"}});
    Place(dot.Get(), 0, 5);
    EXPECT_EQ(dot.Get(), dot->InputHitTestCore(3, 3));

    const struct
    {
        const wchar_t* x1;
        const wchar_t* y1;
        const wchar_t* x2;
        const wchar_t* y2;
        const wchar_t* thickness;
        int x, y;
        bool hit;
    } cases[] = {
        {L"0", L"10", L"20", L"10", L"1", 5, 10, true},  {L"0", L"10", L"20", L"10", L"1", 5, 11, false},
        {L"0", L"10", L"20", L"10", L"1", 5, 9, false},  {L"0", L"10", L"20", L"10", L"1", 21, 10, false},
        {L"0", L"10", L"20", L"10", L"4", 5, 12, true},  {L"5", L"0", L"5", L"20", L"1", 5, 7, true},
        {L"5", L"0", L"5", L"20", L"1", 6, 7, false},    {L"0", L"0", L"20", L"20", L"2", 10, 10, true},
        {L"0", L"0", L"20", L"20", L"2", 12, 10, false}, {L"0", L"0", L"20", L"20", L"0", 10, 10, false},
    };
    for (const auto& c : cases)
    {
        auto line = Make<COSMMarkupLine>({{L"X1", c.x1},
                                          {L"Y1", c.y1},
                                          {L"X2", c.x2},
                                          {L"Y2", c.y2},
                                          {L"Stroke", L"Black"},
                                          {L"StrokeThickness", c.thickness}});
        Place(line.Get(), 30, 30);
        EXPECT_EQ(c.hit, line->InputHitTestCore(c.x, c.y) != nullptr) << c.x << "," << c.y << " " << c.hit;
    }
    auto unstroked = Make<COSMMarkupLine>({{L"X2", L"20"}, {L"Y2", L"20"}});
    Place(unstroked.Get(), 30, 30);
    EXPECT_EQ(nullptr, unstroked->InputHitTestCore(10, 10));
}

TEST_F(ShapeTest, ShapesDrawOnRealPixels)
{
    const COLORREF background = RGB(255, 255, 255);
    auto polygon =
        Make<COSMMarkupPolygon>({{L"Points", L"0,0 10,0 10,10 0,10"}, {L"Fill", L"#0000FF"}, {L"Stretch", L"Fill"}});
    auto path =
        Make<COSMMarkupPath>({{L"Data", L"M 0,0 L 10,0 10,10 0,10 Z"}, {L"Fill", L"#00FF00"}, {L"Stretch", L"Fill"}});
    Place(polygon.Get(), 40, 40);
    Place(path.Get(), 40, 40);
    for (COSMMarkupVisual* shape :
         {static_cast<COSMMarkupVisual*>(polygon.Get()), static_cast<COSMMarkupVisual*>(path.Get())})
    {
        DcTestSurface surface(50, 50, background);
        {
            COSMMarkupDrawingContext dc(surface.GetDC());
            shape->Render(&dc);
        }
        // Stretched from 10 x 10 to 40 x 40.
        EXPECT_NE(background, surface.Pixel(35, 35));
        EXPECT_EQ(background, surface.Pixel(45, 45));
    }
}

TEST_F(ShapeTest, ARoundedBorderLeavesItsCornerInTheBackground)
{
    RefPtr<COSMMarkupBorder> border = MakeIn<COSMMarkupBorder>(context);
    SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pBackgroundProperty, L"#FF0000");
    SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pCornerRadiusProperty, L"8");
    Place(border.Get(), 30, 30);
    const COLORREF background = RGB(255, 255, 255);
    DcTestSurface surface(30, 30, background);
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        border->Render(&dc);
    }
    EXPECT_EQ(background, surface.Pixel(0, 0));
    EXPECT_EQ(background, surface.Pixel(29, 29));
    EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(15, 15));
}

TEST_F(ShapeTest, TheContextKeepsItsFontAndMeasuresAlikeEitherWay)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = -16;
    wcscpy(logFont.lfFaceName, L"Tahoma");
    Hold font = Hold::Adopt(new COSMMarkupFont(logFont));
    COSMMarkupFont* markupFont = static_cast<COSMMarkupFont*>(font.Get());
    DcTestSurface surface(100, 30, RGB(255, 255, 255));
    HGDIOBJ original = ::GetCurrentObject(surface.GetDC(), OBJ_FONT);
    SIZE rendered = {}, measured = {};
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        dc.SetFont(markupFont);
        EXPECT_EQ(2, markup_test::RefCount(markupFont));
        dc.SetFont(markupFont);
        EXPECT_EQ(2, markup_test::RefCount(markupFont));
        EXPECT_EQ(markupFont->GetSafeHandle(), ::GetCurrentObject(surface.GetDC(), OBJ_FONT));
        rendered = dc.GetTextExtent(L"Markup text", 11);
        const POINT at = {2, 2};
        dc.DrawTextLine(L"Markup text", 11, &at);
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
        measuring.SetFont(markupFont);
        measured = measuring.GetTextExtent(L"Markup text", 11);
    }
    EXPECT_EQ(1, markup_test::RefCount(markupFont));
    EXPECT_EQ(original, ::GetCurrentObject(surface.GetDC(), OBJ_FONT));
    EXPECT_GT(rendered.cx, 40);
    EXPECT_EQ(rendered.cx, measured.cx);
    EXPECT_EQ(rendered.cy, measured.cy);
    EXPECT_FALSE(surface.AllPixels(CRect(0, 0, 100, 30), RGB(255, 255, 255)));
}

TEST_F(ShapeTest, TheContextsGuardsDrawNothing)
{
    const COLORREF background = RGB(255, 255, 255);
    DcTestSurface surface(20, 20, background);
    RefPtr<COSMMarkupSolidColorBrush> brush = AdoptRef(new COSMMarkupSolidColorBrush(RGB(0, 0, 0)));
    const POINT points[] = {{1, 1}, {18, 18}, {1, 18}};
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        dc.DrawLine(0, 5, 20, 5, 0, brush.Get());
        dc.DrawLine(0, 5, 20, 5, 3, nullptr);
        dc.DrawFrame(CRect(0, 0, 20, 20), brush.Get(), nullptr);
        dc.DrawPolygon(points, 0, 3, brush.Get(), brush.Get());
        dc.DrawPolyline(points, 1, 3, brush.Get());
        dc.RestoreClipRegion(nullptr);
    }
    EXPECT_TRUE(surface.AllPixels(CRect(0, 0, 20, 20), background));
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        dc.DrawPolyline(points, 2, 3, brush.Get());
    }
    EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(10, 10));
}
