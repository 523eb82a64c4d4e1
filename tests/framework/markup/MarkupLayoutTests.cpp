// The two layout passes and their invalidations, visibility, the framework element's limits, margins, alignment
// and clipping, what a property change re-runs, and layout with markup lengths near the 32-bit limits. Headless:
// measuring contexts of their own and a context that records what it is asked.
#include "MarkupElementTestTypes.h"
#include "MarkupTestSupport.h"

#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupCanvas.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <gtest/gtest.h>

#include <climits>

using markup_test::CCountingBorder;
using markup_test::CProbe;
using markup_test::CRecordingContext;
using markup_test::MakeIn;
using markup_test::MarkupBuilderTest;
using markup_test::SetFromText;

namespace {

class LayoutTest : public MarkupBuilderTest
{
protected:
    COSMMarkupDrawingContext measuring{COSMMarkupDrawingContext::CreateMeasuringContext};

    RefPtr<CProbe> Probe(int width, int height)
    {
        RefPtr<CProbe> probe = AdoptRef(new CProbe);
        probe->contentSize = CSize(width, height);
        return probe;
    }
    // Measures element with the room of rect and arranges it there.
    void Layout(COSMMarkupUIElement* element, const CRect& rect)
    {
        element->Measure(&measuring, rect.Width(), rect.Height());
        element->Arrange(rect);
    }
};

}  // namespace

// ---- The passes ------------------------------------------------------------------------------------------------

TEST_F(LayoutTest, EqualMeasuresRunTheMeasureOnce)
{
    RefPtr<CProbe> probe = Probe(30, 20);
    probe->Measure(&measuring, 100, 50);
    probe->Measure(&measuring, 100, 50);
    EXPECT_EQ(1, probe->measures);
    EXPECT_EQ(CSize(30, 20), probe->GetDesiredSize());
    probe->Measure(&measuring, 100, 60);
    EXPECT_EQ(2, probe->measures);
}

TEST_F(LayoutTest, EqualArrangesRunTheArrangeOnceUnlessMeasuredBetween)
{
    RefPtr<CProbe> probe = Probe(30, 20);
    probe->Measure(&measuring, 100, 50);
    probe->Arrange(0, 0, 100, 50);
    probe->Arrange(0, 0, 100, 50);
    EXPECT_EQ(1, probe->arranges);
    probe->Arrange(0, 0, 90, 50);
    EXPECT_EQ(2, probe->arranges);
    // A measure that runs leaves the arrange due, even into the same rectangle.
    probe->Measure(&measuring, 100, 60);
    probe->Arrange(0, 0, 90, 50);
    EXPECT_EQ(3, probe->arranges);
    // One that is skipped does not.
    probe->Measure(&measuring, 100, 60);
    probe->Arrange(0, 0, 90, 50);
    EXPECT_EQ(3, probe->arranges);
}

TEST_F(LayoutTest, ArrangeMeasuresFirstWhenTheMeasureIsDue)
{
    RefPtr<CProbe> probe = Probe(30, 20);
    probe->Arrange(0, 0, 70, 40);
    EXPECT_EQ(1, probe->measures);
    EXPECT_EQ(CSize(70, 40), probe->measuredWith);
    EXPECT_EQ(CSize(70, 40), probe->GetRenderSize());
}

TEST_F(LayoutTest, InvalidateArrangeBeforeTheFirstArrangeIsIgnored)
{
    RefPtr<CProbe> probe = Probe(30, 20);
    probe->Measure(&measuring, 100, 50);
    probe->InvalidateArrange();
    EXPECT_EQ(0, probe->arranges);
    probe->Arrange(0, 0, 100, 50);
    probe->InvalidateArrange();
    EXPECT_EQ(2, probe->arranges);
    EXPECT_EQ(CRect(0, 0, 100, 50), probe->GetFinalRect());
}

TEST_F(LayoutTest, VisibilityDecidesRoomDrawingAndHits)
{
    const struct
    {
        LPCWSTR visibility;
        CSize desired;
        bool drawn;
        bool hit;
    } cases[] = {
        {L"Visible", CSize(30, 20), true, true},
        {L"Hidden", CSize(30, 20), false, false},
        {L"Collapsed", CSize(0, 0), false, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.visibility)));
        RefPtr<CProbe> root = Probe(100, 100);
        CProbe* child = root->AddProbe(Probe(30, 20).Detach(), 10, 10);
        child->name = "child";
        Layout(root.Get(), CRect(0, 0, 100, 100));

        SetFromText(&builder, child, COSMMarkupUIElement::s_pVisibilityProperty, c.visibility);
        child->Measure(&measuring, 100, 100);
        EXPECT_EQ(c.desired, child->GetDesiredSize());
        Layout(root.Get(), CRect(0, 0, 100, 100));
        // A collapsed element keeps the size of its last arrange.
        EXPECT_EQ(CSize(30, 20), child->GetRenderSize());

        EXPECT_EQ(c.hit ? static_cast<COSMMarkupInputElement*>(child) : root.Get(), root->InputHitTest(15, 15));
        markup_test::g_drawLog.clear();
        HDC screen = ::CreateCompatibleDC(nullptr);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 100, 100);
        HGDIOBJ old = ::SelectObject(screen, bitmap);
        {
            COSMMarkupDrawingContext dc(screen);
            root->Render(&dc);
        }
        ::SelectObject(screen, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(screen);
        EXPECT_EQ(c.drawn, markup_test::g_drawLog.size() == 2) << markup_test::g_drawLog.size();
    }
}

// A leaf that grows re-measures its ancestors until one keeps its size; that one arranges again and repaints. With
// no such ancestor the root's size changes, which the context hears of.
TEST_F(LayoutTest, AGrownLeafClimbsUntilAnAncestorKeepsItsSize)
{
    for (const bool fixedWidth : {true, false})
    {
        SCOPED_TRACE(fixedWidth ? "Width=100 in the middle" : "no width");
        CRecordingContext* context = new CRecordingContext;
        {
            RefPtr<CCountingBorder> root = MakeIn<CCountingBorder>(context);
            RefPtr<CCountingBorder> middle = MakeIn<CCountingBorder>(context);
            RefPtr<CCountingBorder> inner = MakeIn<CCountingBorder>(context);
            RefPtr<CProbe> leaf = MakeIn<CProbe>(context);
            leaf->contentSize = CSize(30, 20);
            if (fixedWidth)
                SetFromText(&builder, middle.Get(), COSMMarkupFrameworkElement::s_pWidthProperty, L"100");
            CCountingBorder* const chain[] = {root.Get(), middle.Get(), inner.Get()};
            inner->SetChild(leaf.Get());
            leaf->AddRef();
            middle->SetChild(inner.Get());
            inner->AddRef();
            root->SetChild(middle.Get());
            middle->AddRef();
            root->Measure(&measuring, 500, 500);
            root->Arrange(0, 0, 500, 500);
            for (CCountingBorder* border : chain)
                border->measures = border->arranges = 0;
            context->invalidated.clear();
            context->sizeChanged.clear();

            leaf->contentSize = CSize(50, 20);
            leaf->InvalidateMeasure();
            EXPECT_EQ(CSize(50, 20), leaf->GetDesiredSize());
            EXPECT_GE(inner->measures, 1);
            EXPECT_GE(middle->measures, 1);
            if (fixedWidth)
            {
                EXPECT_EQ(1, middle->measures);
                EXPECT_EQ(0, root->measures);
                EXPECT_EQ(1, middle->arranges);
                EXPECT_EQ(1, inner->arranges);
                EXPECT_EQ(0, root->arranges);
                EXPECT_EQ(std::vector<COSMMarkupObject*>{middle.Get()}, context->invalidated);
                EXPECT_TRUE(context->sizeChanged.empty());
            }
            else
            {
                EXPECT_EQ(1, root->measures);
                EXPECT_EQ(0, root->arranges);
                EXPECT_EQ(CSize(50, 20), root->GetDesiredSize());
                EXPECT_EQ(std::vector<COSMMarkupObject*>{root.Get()}, context->sizeChanged);
                EXPECT_TRUE(context->invalidated.empty());
            }
        }
        EXPECT_EQ(0, context->Release());
    }
}

// ---- The framework element ------------------------------------------------------------------------------------

TEST_F(LayoutTest, SizeLimitsComeFromTheSizeAndItsMinimumAndMaximum)
{
    const struct
    {
        LPCWSTR size;  // null: unset
        LPCWSTR minimum;
        LPCWSTR maximum;
        int expectedMin;
        int expectedMax;
    } cases[] = {
        {nullptr, nullptr, nullptr, 0, INT_MAX}, {L"50", nullptr, nullptr, 50, 50},
        {L"Auto", nullptr, nullptr, 0, INT_MAX}, {L"50", nullptr, L"30", 30, 30},
        {L"50", L"60", nullptr, 60, 60},         {nullptr, L"20", L"10", 20, 20},
    };
    using FE = COSMMarkupFrameworkElement;
    for (const auto& c : cases)
    {
        RefPtr<CProbe> probe = Probe(5, 5);
        const struct
        {
            COSMMarkupDependencyProperty* property;
            LPCWSTR text;
        } values[] = {
            {FE::s_pWidthProperty, c.size},       {FE::s_pHeightProperty, c.size},
            {FE::s_pMinWidthProperty, c.minimum}, {FE::s_pMinHeightProperty, c.minimum},
            {FE::s_pMaxWidthProperty, c.maximum}, {FE::s_pMaxHeightProperty, c.maximum},
        };
        for (const auto& value : values)
        {
            if (value.text)
                SetFromText(&builder, probe.Get(), value.property, value.text);
        }
        probe->Measure(&measuring, 1000, 1000);
        SCOPED_TRACE(testing::Message() << c.expectedMin << " " << c.expectedMax);
        EXPECT_EQ(CSize(c.expectedMin, c.expectedMin), probe->GetMinimumSize());
        EXPECT_EQ(CSize(c.expectedMax, c.expectedMax), probe->GetMaximumSize());
    }
}

TEST_F(LayoutTest, MeasureTakesTheMarginOffAndClipsToLimitsAndRoom)
{
    const struct
    {
        LPCWSTR margin;
        LPCWSTR width;  // null: unset
        CSize room;
        CSize content;
        CSize desired;
        CSize measuredWith;
        bool clipped;
        CSize unclipped;
    } cases[] = {
        {L"1,2,3,4", nullptr, CSize(100, 50), CSize(30, 20), CSize(34, 26), CSize(96, 44), false, CSize(0, 0)},
        {L"0", L"20", CSize(100, 50), CSize(30, 20), CSize(20, 20), CSize(20, 50), true, CSize(30, 20)},
        {L"1,2,3,4", L"20", CSize(100, 50), CSize(30, 20), CSize(24, 26), CSize(20, 44), true, CSize(30, 20)},
        {L"0", nullptr, CSize(20, 10), CSize(30, 10), CSize(20, 10), CSize(20, 10), true, CSize(30, 10)},
        // Room of a quarter of the range or more is unbounded, margin or not.
        {L"5", nullptr, CSize(0x40000000, 50), CSize(30, 20), CSize(40, 30), CSize(INT_MAX, 40), false, CSize(0, 0)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.margin)));
        RefPtr<CProbe> probe = Probe(c.content.cx, c.content.cy);
        SetFromText(&builder, probe.Get(), COSMMarkupFrameworkElement::s_pMarginProperty, c.margin);
        if (c.width)
            SetFromText(&builder, probe.Get(), COSMMarkupFrameworkElement::s_pWidthProperty, c.width);
        probe->Measure(&measuring, c.room.cx, c.room.cy);
        EXPECT_EQ(c.desired, probe->GetDesiredSize());
        EXPECT_EQ(c.measuredWith, probe->measuredWith);
        EXPECT_EQ(c.clipped, probe->NeedsClip() != FALSE);
        EXPECT_EQ(c.clipped, probe->HasUnclippedDesiredSize() != FALSE);
        if (c.clipped)
        {
            EXPECT_EQ(c.unclipped, probe->GetUnclippedDesiredSize());
        }
    }
}

TEST_F(LayoutTest, ArrangeAlignsTheContentInItsSlotAndClipsWhatDoesNotFit)
{
    const struct
    {
        LPCWSTR alignment;
        int contentWidth;
        int slotWidth;
        int offset;
        bool clipped;
        CRect clip;
    } cases[] = {
        {L"Center", 29, 30, 0, false, CRect()},  // the halved difference truncates
        {L"Center", 28, 30, 1, false, CRect()},
        {L"Right", 20, 30, 10, false, CRect()},
        {L"Left", 20, 30, 0, false, CRect()},
        {L"Stretch", 30, 20, 0, true, CRect(0, 0, 20, 10)},  // too wide to stretch: aligned left
        {L"Center", 30, 20, -5, true, CRect(5, 0, 25, 10)},
        {L"Right", 30, 20, -10, true, CRect(10, 0, 30, 10)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.alignment)) << " " << c.contentWidth);
        RefPtr<CProbe> probe = Probe(c.contentWidth, 10);
        SetFromText(&builder, probe.Get(), COSMMarkupFrameworkElement::s_pHorizontalAlignmentProperty, c.alignment);
        Layout(probe.Get(), CRect(0, 0, c.slotWidth, 10));
        EXPECT_EQ(CPoint(c.offset, 0), probe->GetVisualOffset());
        EXPECT_EQ(c.contentWidth, probe->GetRenderSize().cx);
        CRect clip;
        EXPECT_EQ(c.clipped, probe->GetLayoutClip(&clip) != FALSE);
        if (c.clipped)
        {
            EXPECT_EQ(c.clip, clip);
        }
    }
}

TEST_F(LayoutTest, MaximaAndClipToBoundsClipToTheLimits)
{
    RefPtr<CProbe> probe = Probe(40, 10);
    SetFromText(&builder, probe.Get(), COSMMarkupFrameworkElement::s_pMaxWidthProperty, L"25");
    SetFromText(&builder, probe.Get(), COSMMarkupFrameworkElement::s_pHorizontalAlignmentProperty, L"Left");
    Layout(probe.Get(), CRect(0, 0, 100, 10));
    EXPECT_EQ(CSize(25, 10), probe->GetDesiredSize());
    CRect clip;
    ASSERT_TRUE(probe->GetLayoutClip(&clip));
    EXPECT_EQ(CRect(0, 0, 25, 10), clip);

    RefPtr<CProbe> bounded = Probe(20, 10);
    SetFromText(&builder, bounded.Get(), COSMMarkupUIElement::s_pClipToBoundsProperty, L"True");
    Layout(bounded.Get(), CRect(0, 0, 20, 10));
    ASSERT_TRUE(bounded->GetLayoutClip(&clip));
    EXPECT_EQ(CRect(0, 0, 20, 10), clip);
}

TEST_F(LayoutTest, APropertyChangeRerunsWhatItsFlagsSay)
{
    const struct
    {
        COSMMarkupDependencyProperty* property;
        LPCWSTR text;
        int measures;
        int arranges;
        bool repainted;
    } cases[] = {
        {COSMMarkupFrameworkElement::s_pMarginProperty, L"5", 1, 0, false},
        {COSMMarkupFrameworkElement::s_pHorizontalAlignmentProperty, L"Left", 0, 1, true},
        {COSMMarkupBorder::s_pBackgroundProperty, L"Red", 0, 0, true},
        {COSMMarkupFrameworkElement::s_pTagProperty, L"any", 0, 0, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.property->GetName())));
        CRecordingContext* context = new CRecordingContext;
        {
            RefPtr<CCountingBorder> border = MakeIn<CCountingBorder>(context);
            border->SetChild(Probe(30, 20).Detach());
            Layout(border.Get(), CRect(0, 0, 100, 50));
            border->measures = border->arranges = 0;
            context->invalidated.clear();
            SetFromText(&builder, border.Get(), c.property, c.text);
            EXPECT_EQ(c.measures, border->measures);
            EXPECT_EQ(c.arranges, border->arranges);
            EXPECT_EQ(c.repainted ? std::vector<COSMMarkupObject*>{border.Get()} : std::vector<COSMMarkupObject*>{},
                      context->invalidated);
        }
        EXPECT_EQ(0, context->Release());
    }
}

// ---- Lengths near the 32-bit limits ---------------------------------------------------------------------------

TEST_F(LayoutTest, HugeMarginsGiveNoNegativeSizeOrOffset)
{
    RefPtr<CProbe> probe = Probe(30, 20);
    SetFromText(&builder, probe.Get(), COSMMarkupFrameworkElement::s_pMarginProperty, L"2000000000,0,2000000000,0");
    Layout(probe.Get(), CRect(0, 0, 100, 50));
    EXPECT_EQ(CSize(0, 50), probe->measuredWith);
    EXPECT_EQ(CSize(100, 20), probe->GetDesiredSize());
    EXPECT_TRUE(probe->NeedsClip());
    EXPECT_EQ(CSize(30, 50), probe->GetRenderSize());
    EXPECT_EQ(CPoint(2000000000, 0), probe->GetVisualOffset());

    // Unbounded room stays unbounded however large the margin.
    probe->Measure(&measuring, INT_MAX, INT_MAX);
    EXPECT_EQ(CSize(INT_MAX, INT_MAX), probe->measuredWith);
    EXPECT_EQ(CSize(INT_MAX, 20), probe->GetDesiredSize());
}

TEST_F(LayoutTest, HugeThicknessesGiveNoNegativeSize)
{
    RefPtr<COSMMarkupBorder> border = AdoptRef(new COSMMarkupBorder);
    CProbe* child = Probe(10, 10).Detach();
    border->SetChild(child);
    SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pBorderThicknessProperty, L"2000000000");
    SetFromText(&builder, border.Get(), COSMMarkupBorder::s_pPaddingProperty, L"2000000000");
    border->Measure(&measuring, 100, 100);
    EXPECT_EQ(CSize(0, 0), child->measuredWith);
    EXPECT_EQ(CSize(100, 100), border->GetDesiredSize());
    border->Arrange(0, 0, 100, 100);
    EXPECT_GE(child->GetRenderSize().cx, 0);
    EXPECT_GE(child->GetVisualOffset().x, 0);
}

TEST_F(LayoutTest, ACanvasChildNearTheLimitKeepsAPositiveOffsetAndSize)
{
    RefPtr<COSMMarkupCanvas> canvas = AdoptRef(new COSMMarkupCanvas);
    CProbe* child = Probe(1000, 10).Detach();
    canvas->GetChildren()->Add(child);
    child->SetValue(COSMMarkupCanvas::s_pLeftProperty, new COSMMarkupInt(2147483000));
    Layout(canvas.Get(), CRect(0, 0, 100, 80));
    EXPECT_EQ(CRect(2147483000, 0, INT_MAX, 10), child->GetFinalRect());
    EXPECT_EQ(CSize(1000, 10), child->GetRenderSize());
    EXPECT_EQ(CPoint(2147483000, 0), child->GetVisualOffset());
    EXPECT_EQ(CRect(0, 0, INT_MAX, 80), canvas->GetBoundRect());

    // Right measured back from the end wraps no more than Left does.
    child->SetValue(COSMMarkupCanvas::s_pLeftProperty, nullptr);
    child->SetValue(COSMMarkupCanvas::s_pRightProperty, new COSMMarkupInt(INT_MIN));
    canvas->InvalidateArrange();
    EXPECT_EQ(CRect(2147482748, 0, INT_MAX, 10), child->GetFinalRect());
    EXPECT_EQ(CPoint(2147482748, 0), child->GetVisualOffset());
}
