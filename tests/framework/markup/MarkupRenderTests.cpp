// Hit testing and rendering of element trees, the border, canvas, page and panel, and the entry functions: on DIB
// sections, with probes that log their drawing and a renderer that records its calls.
#include "tests/support/DcTestSurface.h"
#include "MarkupElementTestTypes.h"
#include "MarkupTestSupport.h"

#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupCanvas.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPage.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::CProbe;
using markup_test::CRecordingRenderer;
using markup_test::g_drawLog;
using markup_test::MarkupBuilderTest;
using markup_test::SetFromText;

namespace {

using Log = std::vector<std::string>;

class RenderTest : public MarkupBuilderTest
{
protected:
    void SetUp() override
    {
        MarkupBuilderTest::SetUp();
        g_drawLog.clear();
    }

    COSMMarkupDrawingContext measuring{COSMMarkupDrawingContext::CreateMeasuringContext};

    CProbe* Probe(const char* name, int width, int height)
    {
        CProbe* probe = new CProbe;
        probe->name = name;
        probe->contentSize = CSize(width, height);
        return probe;
    }
    void Layout(COSMMarkupUIElement* element, const CRect& rect)
    {
        element->Measure(&measuring, rect.Width(), rect.Height());
        element->Arrange(rect);
    }
    // Renders element on surface through a recording renderer; returns what the renderer was asked.
    Log RenderRecorded(COSMMarkupVisual* element, const DcTestSurface& surface)
    {
        Log log;
        COSMMarkupDrawingContext dc(surface.GetDC(), new CRecordingRenderer(surface.GetDC(), &log));
        element->Render(&dc);
        return log;
    }
    // The fills and frames the drawing context asked the renderer for, in order (not offsets and clips, nor what
    // the renderer drew on its own behalf).
    static Log DrawingCalls(const Log& log)
    {
        Log drawing;
        for (const std::string& entry : markup_test::TopLevelCalls(log))
        {
            for (const char* kind : {"fill ", "frame ", "rounded "})
            {
                if (entry.compare(0, strlen(kind), kind) == 0)
                    drawing.push_back(entry);
            }
        }
        return drawing;
    }
    // A solid brush of a system colour, as a property value.
    static COSMMarkupObject* Brush(int systemColor)
    {
        return new COSMMarkupSolidColorBrush(::GetSysColor(systemColor));
    }
    static std::string Hex(COLORREF color)
    {
        char text[16];
        snprintf(text, sizeof text, "%06lx", static_cast<unsigned long>(color));
        return text;
    }
};

}  // namespace

// ---- Hit testing and rendering ---------------------------------------------------------------------------------

TEST_F(RenderTest, TheLaterOfOverlappingChildrenIsHitAndRightAndBottomEdgesMiss)
{
    RefPtr<CProbe> root = AdoptRef(Probe("root", 100, 100));
    CProbe* first = root->AddProbe(Probe("first", 30, 30), 0, 0);
    CProbe* second = root->AddProbe(Probe("second", 30, 30), 20, 20);
    Layout(root.Get(), CRect(0, 0, 100, 100));
    const struct
    {
        int x, y;
        COSMMarkupInputElement* hit;
    } cases[] = {
        {25, 25, second},     {10, 10, first},    {49, 49, second},   {50, 25, root.Get()}, {25, 50, root.Get()},
        {99, 99, root.Get()}, {100, 50, nullptr}, {50, 100, nullptr}, {-1, 0, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.hit, root->InputHitTest(c.x, c.y)) << c.x << "," << c.y;
}

TEST_F(RenderTest, ParentsDrawFirstChildrenByIndexAndTheFocusCueAfterTheChildren)
{
    for (const bool focused : {false, true})
    {
        g_drawLog.clear();
        RefPtr<CProbe> root = AdoptRef(Probe("root", 100, 100));
        CProbe* a = root->AddProbe(Probe("a", 40, 40), 0, 0);
        a->AddProbe(Probe("a1", 10, 10), 5, 5);
        root->AddProbe(Probe("b", 40, 40), 50, 50);
        a->SetValue(COSMMarkupInputElement::s_pIsKeyboardFocusedProperty,
                    focused ? COSMMarkupBool::CreateTrueValue() : COSMMarkupBool::CreateFalseValue());
        Layout(root.Get(), CRect(0, 0, 100, 100));
        DcTestSurface surface(100, 100);
        RenderRecorded(root.Get(), surface);
        const Log expected = focused ? Log{"render root", "render a", "render a1", "focus a", "render b"}
                                     : Log{"render root", "render a", "render a1", "render b"};
        EXPECT_EQ(expected, g_drawLog);
    }
}

TEST_F(RenderTest, AChildOutsideTheClipBoxIsNotVisited)
{
    RefPtr<CProbe> root = AdoptRef(Probe("root", 100, 100));
    root->AddProbe(Probe("inside", 10, 10), 40, 40);
    root->AddProbe(Probe("outside", 10, 10), 70, 10);
    Layout(root.Get(), CRect(0, 0, 100, 100));
    DcTestSurface surface(60, 60);
    RenderRecorded(root.Get(), surface);
    EXPECT_EQ((Log{"render root", "render inside"}), g_drawLog);
}

TEST_F(RenderTest, OffsetsAreUndoneAndTheClipIsRestoredAroundAClippedElement)
{
    RefPtr<CProbe> root = AdoptRef(Probe("root", 100, 100));
    CProbe* clipped = root->AddProbe(Probe("clipped", 20, 10), 10, 5);
    clipped->AddProbe(Probe("inner", 40, 40), 3, 2);
    SetFromText(&builder, clipped, COSMMarkupUIElement::s_pClipToBoundsProperty, L"True");
    Layout(root.Get(), CRect(0, 0, 100, 100));
    DcTestSurface surface(100, 100);
    const Log log = RenderRecorded(root.Get(), surface);
    EXPECT_EQ((Log{"offset 0,0", "offset 10,5", "save clip", "clip 0,0,20,10", "offset 3,2", "offset -3,-2",
                   "restore clip", "offset -10,-5", "offset 0,0"}),
              log);
    // The inner probe, larger than the clip, was drawn; the device context has no clip left and its origin back.
    EXPECT_EQ((Log{"render root", "render clipped", "render inner"}), g_drawLog);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(0, ::GetClipRgn(surface.GetDC(), region));
    ::DeleteObject(region);
    POINT origin{};
    ::GetViewportOrgEx(surface.GetDC(), &origin);
    EXPECT_EQ(CPoint(0, 0), CPoint(origin));
}

// ---- Border ------------------------------------------------------------------------------------------------------

TEST_F(RenderTest, ABorderMeasuresItsChildPlusFrameAndPaddingAndPlacesItInside)
{
    RefPtr<COSMMarkupBorder> border = AdoptRef(new COSMMarkupBorder);
    CProbe* child = Probe("child", 10, 8);
    border->SetChild(child);
    SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pBorderThicknessProperty, L"1,2,3,4");
    SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pPaddingProperty, L"1");
    border->Measure(&measuring, INT_MAX, INT_MAX);
    EXPECT_EQ(CSize(16, 16), border->GetDesiredSize());
    border->Arrange(0, 0, 16, 16);
    EXPECT_EQ(CPoint(2, 3), child->GetVisualOffset());
    EXPECT_EQ(CSize(10, 8), child->GetRenderSize());
    // Without a child the frame and padding are the whole size.
    border->SetChild(nullptr);
    border->InvalidateMeasure();
    EXPECT_EQ(CSize(6, 8), border->GetDesiredSize());
}

TEST_F(RenderTest, ABorderDrawsFrameAndBackgroundWithTheirCornerRadii)
{
    const COLORREF frame = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF fill = ::GetSysColor(COLOR_INFOBK);
    const struct
    {
        const char* name;
        bool borderBrush;
        bool background;
        LPCWSTR thickness;
        LPCWSTR corners;
        CSize size;
        Log drawn;
    } cases[] = {
        {"rounded",
         true,
         true,
         L"4",
         L"1,2,3,4",
         CSize(40, 30),
         {"rounded frame 0,0,40,30 " + Hex(frame) + " 4,4,4,4 1,1,2,2,3,3,4,4",
          "rounded fill 4,4,36,26 " + Hex(fill) + " 0,0,0,0,1,1,2,2"}},
        {"square",
         true,
         true,
         L"1,2,3,4",
         L"0",
         CSize(40, 30),
         {"frame 0,0,40,30 " + Hex(frame) + " 1,2,3,4", "fill 1,2,37,26 " + Hex(fill)}},
        {"background only", false, true, L"2", L"0", CSize(40, 30), {"fill 2,2,38,28 " + Hex(fill)}},
        {"no thickness", true, false, L"0", L"0", CSize(40, 30), {}},
        {"no brushes", false, false, L"2", L"0", CSize(40, 30), {}},
        {"no width", true, true, L"0", L"0", CSize(0, 30), {}},
        {"inside consumed", false, true, L"20", L"0", CSize(40, 30), {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        RefPtr<COSMMarkupBorder> border = AdoptRef(new COSMMarkupBorder);
        if (c.borderBrush)
            border->SetValue(COSMMarkupBorder::s_pBorderBrushProperty, new COSMMarkupSolidColorBrush(frame));
        if (c.background)
            border->SetValue(COSMMarkupBorder::s_pBackgroundProperty, new COSMMarkupSolidColorBrush(fill));
        SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pBorderThicknessProperty, c.thickness);
        SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pCornerRadiusProperty, c.corners);
        Layout(border.Get(), CRect(0, 0, c.size.cx, c.size.cy));
        DcTestSurface surface(50, 50);
        const Log log = RenderRecorded(border.Get(), surface);
        EXPECT_EQ(c.drawn, DrawingCalls(log));
    }
}

TEST_F(RenderTest, ABorderIsHitOnlyWhereItHasABackground)
{
    RefPtr<COSMMarkupBorder> border = AdoptRef(new COSMMarkupBorder);
    CProbe* child = Probe("child", 10, 10);
    border->SetChild(child);
    SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pPaddingProperty, L"5");
    Layout(border.Get(), CRect(0, 0, 20, 20));
    EXPECT_EQ(nullptr, border->InputHitTest(1, 1));
    EXPECT_EQ(child, border->InputHitTest(10, 10));
    border->SetValue(COSMMarkupBorder::s_pBackgroundProperty, Brush(COLOR_WINDOW));
    EXPECT_EQ(border.Get(), border->InputHitTest(1, 1));
    EXPECT_EQ(child, border->InputHitTest(10, 10));
}

TEST_F(RenderTest, ABorderPaintsItsFrameAndBackgroundInsideTheGivenRectangle)
{
    const COLORREF surfaceColor = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF frame = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF fill = ::GetSysColor(COLOR_INFOBK);
    ASSERT_TRUE(surfaceColor != frame && surfaceColor != fill && frame != fill);
    DcTestSurface surface(40, 40, surfaceColor);
    RefPtr<COSMMarkupBorder> border = AdoptRef(new COSMMarkupBorder);
    border->SetValue(COSMMarkupBorder::s_pBorderBrushProperty, new COSMMarkupSolidColorBrush(frame));
    border->SetValue(COSMMarkupBorder::s_pBackgroundProperty, new COSMMarkupSolidColorBrush(fill));
    SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pBorderThicknessProperty, L"2,1,3,4");
    const CRect rect(5, 6, 25, 26);
    RenderMarkupElement(border.Get(), surface.GetDC(), &rect);

    EXPECT_TRUE(surface.AllPixels(CRect(5, 6, 7, 26), frame));    // left band
    EXPECT_TRUE(surface.AllPixels(CRect(22, 6, 25, 26), frame));  // right band
    EXPECT_TRUE(surface.AllPixels(CRect(5, 6, 25, 7), frame));    // top band
    EXPECT_TRUE(surface.AllPixels(CRect(5, 22, 25, 26), frame));  // bottom band
    EXPECT_TRUE(surface.AllPixels(CRect(7, 7, 22, 22), fill));
    int outside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            outside += !rect.PtInRect(CPoint(x, y)) && surface.Pixel(x, y) != surfaceColor;
    EXPECT_EQ(0, outside);
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(surface.GetDC()));
}

TEST_F(RenderTest, OneChildElementsRefuseASecondChildAndAnythingButElements)
{
    for (COSMMarkupType* type : {COSMMarkupBorder::GetClassType(), COSMMarkupPage::GetClassType()})
    {
        RefPtr<COSMMarkupSingleChildElement> owner =
            AdoptRef(static_cast<COSMMarkupSingleChildElement*>(type->CreateInstance()));
        const std::wstring name = type->GetMarkupClassName();
        const std::string narrow(name.begin(), name.end());
        RefPtr<COSMMarkupObject> text = AdoptRef(COSMMarkupString::CreateValue(L"words", -1));
        EXPECT_EQ("'COSMMarkupString' object cannot be added to '" + narrow +
                      "'. Object cannot be converted to type 'COSMMarkupUIElement'",
                  markup_test::BuilderMessage([&] { owner->SetContentObject(&builder, text.Get()); }));
        EXPECT_FALSE(owner->HasContentObject());

        COSMMarkupBorder* first = new COSMMarkupBorder;
        owner->SetContentObject(&builder, first);
        EXPECT_TRUE(owner->HasContentObject());
        EXPECT_EQ(owner.Get(), first->GetLogicalParent());
        RefPtr<COSMMarkupBorder> second = AdoptRef(new COSMMarkupBorder);
        EXPECT_EQ("'" + narrow + "' already has a child and cannot add 'COSMMarkupBorder'. '" + narrow +
                      "' can accept only one child.",
                  markup_test::BuilderMessage([&] { owner->SetContentObject(&builder, second.Get()); }));
        EXPECT_EQ(first, owner->GetVisualChild(0));
        EXPECT_EQ(nullptr, second->GetLogicalParent());
        EXPECT_EQ(1, owner->GetLogicalChildrenCount());
        EXPECT_EQ(first, owner->GetLogicalChild(0));
    }
}

// ---- Canvas, page and panel -----------------------------------------------------------------------------------

TEST_F(RenderTest, ACanvasPlacesChildrenByTheirAttachedSides)
{
    const struct
    {
        int nearSide;  // INT_MIN: unset
        int farSide;
        int x;
        int y;
    } cases[] = {
        {5, 7, 5, 5},
        {INT_MIN, 7, 83, 63},
        {INT_MIN, INT_MIN, 0, 0},
        {-4, INT_MIN, -4, -4},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.nearSide << " " << c.farSide);
        RefPtr<COSMMarkupCanvas> canvas = AdoptRef(new COSMMarkupCanvas);
        CProbe* child = Probe("child", 10, 10);
        canvas->GetChildren()->Add(child);
        const auto set = [&](COSMMarkupDependencyProperty* property, int value) {
            if (value != INT_MIN)
                child->SetValue(property, new COSMMarkupInt(value));
        };
        set(COSMMarkupCanvas::s_pLeftProperty, c.nearSide);
        set(COSMMarkupCanvas::s_pTopProperty, c.nearSide);
        set(COSMMarkupCanvas::s_pRightProperty, c.farSide);
        set(COSMMarkupCanvas::s_pBottomProperty, c.farSide);
        Layout(canvas.Get(), CRect(0, 0, 100, 80));
        EXPECT_EQ(CSize(INT_MAX, INT_MAX), child->measuredWith);
        EXPECT_EQ(CSize(0, 0), canvas->GetDesiredSize());
        EXPECT_EQ(CRect(c.x, c.y, c.x + 10, c.y + 10), child->GetFinalRect());
    }
}

TEST_F(RenderTest, APageLaysOutThroughItsChildAndIsNotHitBesideIt)
{
    RefPtr<COSMMarkupPage> page = AdoptRef(new COSMMarkupPage);
    page->Measure(&measuring, 100, 50);
    EXPECT_EQ(CSize(0, 0), page->GetDesiredSize());

    COSMMarkupBorder* border = new COSMMarkupBorder;
    page->SetChild(border);
    SetFromText(&builder, border, COSMMarkupFrameworkElement::s_pWidthProperty, L"30");
    SetFromText(&builder, border, COSMMarkupFrameworkElement::s_pHeightProperty, L"20");
    border->SetValue(COSMMarkupBorder::s_pBackgroundProperty, Brush(COLOR_WINDOW));
    page->InvalidateMeasure();
    Layout(page.Get(), CRect(0, 0, 100, 50));
    EXPECT_EQ(CSize(30, 20), page->GetDesiredSize());
    EXPECT_EQ(CRect(0, 0, 100, 50), border->GetFinalRect());
    EXPECT_EQ(CPoint(35, 15), border->GetVisualOffset());
    EXPECT_EQ(nullptr, page->InputHitTest(1, 1));
    EXPECT_EQ(border, page->InputHitTest(40, 20));
}

TEST_F(RenderTest, APanelWithoutBackgroundIsHitOnlyThroughItsChildren)
{
    RefPtr<COSMMarkupCanvas> canvas = AdoptRef(new COSMMarkupCanvas);
    CProbe* child = Probe("child", 20, 20);
    canvas->GetChildren()->Add(child);
    child->SetValue(COSMMarkupCanvas::s_pLeftProperty, new COSMMarkupInt(10));
    child->SetValue(COSMMarkupCanvas::s_pTopProperty, new COSMMarkupInt(10));
    Layout(canvas.Get(), CRect(0, 0, 100, 100));
    DcTestSurface surface(100, 100);
    EXPECT_EQ(child, canvas->InputHitTest(15, 15));
    EXPECT_EQ(nullptr, canvas->InputHitTest(50, 50));
    EXPECT_EQ(Log{}, DrawingCalls(RenderRecorded(canvas.Get(), surface)));

    canvas->SetValue(COSMMarkupPanel::s_pBackgroundProperty, Brush(COLOR_WINDOW));
    EXPECT_EQ(child, canvas->InputHitTest(15, 15));
    for (const CPoint point : {CPoint(50, 50), CPoint(0, 0), CPoint(99, 99)})
        EXPECT_EQ(canvas.Get(), canvas->InputHitTest(point.x, point.y));
    EXPECT_EQ(nullptr, canvas->InputHitTest(100, 100));
    EXPECT_EQ(Log{"fill 0,0,100,100 " + Hex(::GetSysColor(COLOR_WINDOW))},
              DrawingCalls(RenderRecorded(canvas.Get(), surface)));
}

TEST_F(RenderTest, APanelTakesOnlyElementsAsContent)
{
    RefPtr<COSMMarkupPanel> panel = AdoptRef(new COSMMarkupPanel);
    RefPtr<COSMMarkupObject> text = AdoptRef(COSMMarkupString::CreateValue(L"words", -1));
    EXPECT_EQ("'COSMMarkupString' object cannot be added to 'COSMMarkupCollection'. Object cannot be converted to "
              "type 'COSMMarkupUIElement'",
              markup_test::BuilderMessage([&] { panel->SetContentObject(&builder, text.Get()); }));
    EXPECT_FALSE(panel->HasContentObject());
    CProbe* first = Probe("first", 1, 1);
    CProbe* second = Probe("second", 1, 1);
    panel->SetContentObject(&builder, first);
    panel->SetContentObject(&builder, second);
    EXPECT_TRUE(panel->HasContentObject());
    EXPECT_EQ(2, panel->GetVisualChildrenCount());
    EXPECT_EQ(second, panel->GetVisualChild(1));
    EXPECT_EQ(nullptr, panel->GetVisualChild(2));
    EXPECT_EQ(nullptr, panel->GetVisualChild(-1));
    // The children's parent is the collection, and their element parent the panel.
    EXPECT_EQ(panel.Get(), first->GetUIElementParent());
}

// ---- Entry functions -----------------------------------------------------------------------------------------

TEST_F(RenderTest, EntryFunctionsTakeNullArgumentsQuietly)
{
    EXPECT_EQ(CSize(0, 0), MeasureMarkupElement(nullptr, 100, 100));
    EXPECT_EQ(nullptr, GetMarkupElementContext(nullptr));
    ReleaseMarkupElement(nullptr);
    ReleaseMarkupContext(nullptr);
    COSMMarkupUIElement* noElement = nullptr;
    ReleaseMarkupElement(&noElement);
    COSMMarkupContext* noContext = nullptr;
    ReleaseMarkupContext(&noContext);

    const COLORREF surfaceColor = ::GetSysColor(COLOR_BTNFACE);
    DcTestSurface surface(20, 20, surfaceColor);
    RefPtr<COSMMarkupBorder> border = AdoptRef(new COSMMarkupBorder);
    border->SetValue(COSMMarkupBorder::s_pBackgroundProperty, Brush(COLOR_HIGHLIGHT));
    const CRect rect(0, 0, 20, 20);
    RenderMarkupElement(nullptr, surface.GetDC(), &rect);
    RenderMarkupElement(border.Get(), nullptr, &rect);
    RenderMarkupElement(border.Get(), surface.GetDC(), nullptr);
    EXPECT_EQ(0, surface.CountNot(surfaceColor));
    EXPECT_EQ(CRect(0, 0, 0, 0), border->GetFinalRect());
}

TEST_F(RenderTest, EntryFunctionsMeasureAndReleaseElementsAndContexts)
{
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    COSMMarkupBorder* border = static_cast<COSMMarkupBorder*>(context->CreateObject(COSMMarkupBorder::GetClassType()));
    border->SetChild(Probe("child", 10, 8));
    SetFromText(&builder, border, COSMMarkupBorder::s_pBorderThicknessProperty, L"2");
    EXPECT_EQ(context, GetMarkupElementContext(border));
    EXPECT_EQ(CSize(14, 12), MeasureMarkupElement(border, INT_MAX, INT_MAX));
    EXPECT_EQ(CSize(10, 12), MeasureMarkupElement(border, 10, INT_MAX));

    COSMMarkupUIElement* element = border;
    ReleaseMarkupElement(&element);
    EXPECT_EQ(nullptr, element);
    ReleaseMarkupContext(&context);
    EXPECT_EQ(nullptr, context);
}
