// Scroll bars and the scroll viewer without a window: the bar's geometry, hit test and thumb positions, the viewer's
// bars, offsets and scroll codes, the wheel, the parts a bar draws and the gripper's pixels.
#include "ParseTestSupport.h"
#include "ScrollTestSupport.h"

#include "tests/support/DcTestSurface.h"
#include "framework/markup/MarkupContentControl.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupScrollBarGripper.h"
#include "framework/markup/MarkupTextBlock.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupTypeRegistry.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using foundation_test::DcTestSurface;
using markup_test::ContentOf;
using markup_test::CProbe;
using markup_test::DrawnPart;
using markup_test::LayOut;
using markup_test::MakeBar;
using markup_test::MakeViewer;
using markup_test::MarkupTest;
using markup_test::ParseTest;
using markup_test::PartRecorder;

namespace {

const int kVertical = COSMMarkupScrollViewer::Visible;
const int kAuto = COSMMarkupScrollViewer::Auto;
const int kDisabled = COSMMarkupScrollViewer::Disabled;

class ScrollBarTest : public MarkupTest
{
protected:
    void SetUp() override
    {
        MarkupTest::SetUp();
        // The tables below are worked out for 17-pixel bars and arrows.
        ASSERT_EQ(17, ::GetSystemMetrics(SM_CYVSCROLL));
        ASSERT_EQ(17, ::GetSystemMetrics(SM_CXVSCROLL));
    }
};

// The standard bar of the tables: vertical, 17 × 100, range 0-299, page 100.
RefPtr<COSMMarkupScrollBar> StandardBar(int position)
{
    return MakeBar(COSMMarkupScrollBar::Vertical, 0, 299, 100, position, CRect(0, 0, 17, 100));
}

void RenderBar(COSMMarkupScrollBar* bar, DcTestSurface& surface)
{
    COSMMarkupDrawingContext dc(surface.GetDC());
    bar->Render(&dc);
}

}  // namespace

// ---- Registration ---------------------------------------------------------------------------------------------

TEST_F(MarkupTest, ScrollTypesAreRegisteredWithTheirTagsAndBases)
{
    COSMMarkupTypeRegistry* registry = GetMarkupTypeRegistry();
    EXPECT_EQ(COSMMarkupScrollViewer::GetClassType(), registry->Lookup(L"ScrollViewer"));
    EXPECT_EQ(nullptr, registry->Lookup(L"ScrollBar"));
    EXPECT_EQ(nullptr, registry->Lookup(L"ScrollBarGripper"));
    EXPECT_STREQ(L"COSMMarkupScrollBar", COSMMarkupScrollBar::GetClassType()->GetMarkupClassName());
    EXPECT_STREQ(L"COSMMarkupScrollBarGripper", COSMMarkupScrollBarGripper::GetClassType()->GetMarkupClassName());
    EXPECT_TRUE(COSMMarkupScrollBarGripper::GetClassType()->IsDerivedFrom(COSMMarkupUIElement::GetClassType()));
    EXPECT_EQ(COSMMarkupControl::GetClassType(), COSMMarkupScrollBar::GetClassType()->GetBaseType());
    EXPECT_EQ(COSMMarkupContentControl::GetClassType(), COSMMarkupScrollViewer::GetClassType()->GetBaseType());
}

TEST_F(MarkupTest, TheViewerClipsToItsBoundsAsALocalValue)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(10, 10), CSize(0, 0));
    EXPECT_TRUE(viewer->GetClipToBounds());
    EXPECT_NE(nullptr, viewer->GetValueCore(COSMMarkupUIElement::s_pClipToBoundsProperty));
}

TEST_F(ParseTest, VisibilitiesParseInAnyCaseAndOtherTextFails)
{
    COSMMarkupUIElement* root = Parse("<ScrollViewer VerticalScrollBarVisibility=\"auto\" "
                                      "HorizontalScrollBarVisibility=\"VISIBLE\"><Border/></ScrollViewer>");
    ASSERT_NE(nullptr, root);
    RefPtr<COSMMarkupScrollViewer> viewer = AdoptRef(MarkupDynamicCast<COSMMarkupScrollViewer>(root));
    ASSERT_NE(nullptr, viewer);
    EXPECT_EQ(COSMMarkupScrollViewer::Auto, viewer->GetVerticalScrollBarVisibility());
    EXPECT_EQ(COSMMarkupScrollViewer::Visible, viewer->GetHorizontalScrollBarVisibility());
    EXPECT_EQ("Cannot convert string in attribute 'VerticalScrollBarVisibility' to object of type 'COSMMarkupEnum'. "
              "Line 1, position 54",
              ParseError("<ScrollViewer VerticalScrollBarVisibility=\"Sometimes\"/>"));
}

// The viewer is a content control: text as content, as element text or as the attribute, shows in a text block
// with one run, which is the viewer's logical child and its first visual child, beside the bar.
TEST_F(ParseTest, TextContentShowsInATextBlock)
{
    for (const char* markup : {"<ScrollViewer>Long text</ScrollViewer>", "<ScrollViewer Content=\"Long text\"/>"})
    {
        SCOPED_TRACE(markup);
        std::string error;
        RefPtr<COSMMarkupScrollViewer> viewer =
            AdoptRef(MarkupDynamicCast<COSMMarkupScrollViewer>(Parse(markup, &error)));
        ASSERT_NE(nullptr, viewer) << error;
        auto* block = MarkupDynamicCast<COSMMarkupTextBlock>(viewer->GetContent());
        ASSERT_NE(nullptr, block);
        EXPECT_EQ(viewer.Get(), block->GetLogicalParent());
        ASSERT_EQ(1, block->GetInlines()->GetCount());
        auto* run = MarkupDynamicCast<COSMMarkupRun>(block->GetInlines()->GetInline(0));
        ASSERT_NE(nullptr, run);
        EXPECT_STREQ(L"Long text", run->GetTextChars());
        LayOut(viewer.Get(), CSize(100, 50));
        ASSERT_EQ(2, viewer->GetVisualChildrenCount());
        EXPECT_EQ(block, viewer->GetVisualChild(0));
        EXPECT_EQ(viewer->GetScrollBar(TRUE), viewer->GetVisualChild(1));
        EXPECT_GT(block->GetDesiredSize().cx, 0);
    }
}

TEST_F(MarkupTest, UnsetVisibilitiesCountAsVerticalVisibleAndHorizontalDisabled)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(10, 10), CSize(0, 0));
    EXPECT_EQ(COSMMarkupScrollViewer::Visible, viewer->GetVerticalScrollBarVisibility());
    EXPECT_EQ(COSMMarkupScrollViewer::Disabled, viewer->GetHorizontalScrollBarVisibility());
}

// ---- Bar geometry ---------------------------------------------------------------------------------------------

TEST_F(ScrollBarTest, BarsMeasureTheSystemsBarSizes)
{
    for (auto orientation : {COSMMarkupScrollBar::Vertical, COSMMarkupScrollBar::Horizontal})
    {
        RefPtr<COSMMarkupScrollBar> bar =
            AdoptRef(static_cast<COSMMarkupScrollBar*>(COSMMarkupScrollBar::GetClassType()->CreateInstance()));
        bar->SetOrientation(orientation);
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
        bar->Measure(&measuring, 500, 500);
        const CSize expected = orientation == COSMMarkupScrollBar::Vertical
                                   ? CSize(::GetSystemMetrics(SM_CXVSCROLL), 0)
                                   : CSize(0, ::GetSystemMetrics(SM_CYHSCROLL));
        EXPECT_EQ(expected, bar->GetDesiredSize()) << orientation;
    }
}

TEST_F(ScrollBarTest, TheThumbFollowsThePosition)
{
    const struct
    {
        int position, thumbStart, thumbEnd;
    } rows[] = {{0, 17, 39}, {100, 39, 61}, {200, 61, 83}};
    for (const auto& row : rows)
    {
        RefPtr<COSMMarkupScrollBar> bar = StandardBar(row.position);
        const auto& r = bar->GetPositionRecord();
        EXPECT_EQ(row.thumbStart, r.thumbStart) << row.position;
        EXPECT_EQ(row.thumbEnd, r.thumbEnd) << row.position;
        EXPECT_EQ(17, r.firstArrowEnd);
        EXPECT_EQ(83, r.secondArrowStart);
        EXPECT_EQ(44, r.usableLength);
    }
}

TEST_F(ScrollBarTest, HitTestFindsEachPartAlongTheBar)
{
    RefPtr<COSMMarkupScrollBar> bar = StandardBar(100);
    const struct
    {
        int along, part;
    } rows[] = {{5, 60}, {20, 62}, {50, 64}, {70, 63}, {90, 61}};
    for (const auto& row : rows)
        EXPECT_EQ(row.part, bar->HitTest(8, row.along)) << row.along;
    EXPECT_EQ(0, bar->HitTest(17, 50)) << "outside the bar";

    RefPtr<COSMMarkupScrollBar> horizontal =
        MakeBar(COSMMarkupScrollBar::Horizontal, 0, 299, 100, 100, CRect(0, 0, 100, 17));
    for (const auto& row : rows)
        EXPECT_EQ(row.part, horizontal->HitTest(row.along, 8)) << row.along;
}

TEST_F(ScrollBarTest, ABarWithNoRangeBeyondAPageIsDisabledAndHitsNothing)
{
    RefPtr<COSMMarkupScrollBar> bar = MakeBar(COSMMarkupScrollBar::Vertical, 0, 99, 100, 0, CRect(0, 0, 17, 100));
    EXPECT_FALSE(bar->IsEnabled());
    for (int along : {5, 50, 95})
        EXPECT_EQ(0, bar->HitTest(8, along)) << along;
    EXPECT_TRUE(StandardBar(0)->IsEnabled());
}

TEST_F(ScrollBarTest, PositionsFromThumbPixels)
{
    RefPtr<COSMMarkupScrollBar> bar = StandardBar(100);
    const struct
    {
        int pixel, position;
    } rows[] = {{10, 0}, {17, 0}, {39, 100}, {61, 200}, {90, 200}};
    for (const auto& row : rows)
        EXPECT_EQ(row.position, bar->PosFromPixel(row.pixel)) << row.pixel;
}

TEST_F(ScrollBarTest, ATinyPageStillGetsHalfAnArrowOfThumb)
{
    RefPtr<COSMMarkupScrollBar> bar = MakeBar(COSMMarkupScrollBar::Vertical, 0, 9999, 1, 0, CRect(0, 0, 17, 100));
    EXPECT_EQ(8, bar->GetPositionRecord().thumbLength);
}

TEST_F(ScrollBarTest, AShortBarSharesItsLengthBetweenTheArrows)
{
    RefPtr<COSMMarkupScrollBar> bar = MakeBar(COSMMarkupScrollBar::Vertical, 0, 299, 100, 0, CRect(0, 0, 17, 20));
    EXPECT_EQ(10, bar->GetPositionRecord().firstArrowEnd);
    EXPECT_EQ(10, bar->GetPositionRecord().secondArrowStart);
}

TEST_F(ScrollBarTest, TheSameRangeAgainChangesNothingAndANewOneRearranges)
{
    RefPtr<COSMMarkupScrollBar> bar = StandardBar(0);
    EXPECT_FALSE(bar->IsArrangeDirty());
    SCROLLINFO same = {sizeof(same), SIF_ALL, 0, 299, 100, 0, 0};
    bar->SetScrollInfo(same);
    EXPECT_FALSE(bar->IsArrangeDirty());
    SCROLLINFO moved = same;
    moved.nPos = 200;
    bar->SetScrollInfo(moved);
    EXPECT_TRUE(bar->IsArrangeDirty());
    bar->Arrange(0, 0, 17, 100);
    EXPECT_EQ(61, bar->GetPositionRecord().thumbStart);
    SCROLLINFO read{};
    bar->GetScrollInfo(&read);
    EXPECT_EQ(200, read.nPos);
}

// ---- Viewer -----------------------------------------------------------------------------------------------------

TEST_F(ScrollBarTest, AutoBarsAppearOnlyWhereTheContentDoesNotFit)
{
    const struct
    {
        CSize content;
        bool vertical, horizontal;
        CSize desired;
    } rows[] = {
        {CSize(50, 50), false, false, CSize(50, 50)},
        {CSize(80, 150), true, false, CSize(97, 100)},
        {CSize(95, 150), true, true, CSize(100, 100)},
        {CSize(150, 50), false, true, CSize(100, 67)},
    };
    for (const auto& row : rows)
    {
        RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(row.content, CSize(100, 100), kAuto, kAuto);
        const std::string name = std::to_string(row.content.cx) + "x" + std::to_string(row.content.cy);
        EXPECT_EQ(row.vertical, viewer->GetScrollBar(TRUE) != nullptr) << name;
        EXPECT_EQ(row.horizontal, viewer->GetScrollBar(FALSE) != nullptr) << name;
        EXPECT_EQ(row.vertical && row.horizontal, viewer->GetGripper() != nullptr) << name;
        EXPECT_EQ(row.desired, viewer->GetDesiredSize()) << name;
        const int parts = 1 + row.vertical + row.horizontal + (row.vertical && row.horizontal);
        EXPECT_EQ(parts, viewer->GetVisualChildrenCount()) << name;
    }
}

TEST_F(ScrollBarTest, BothBarsAndTheGripperAreArrangedAtTheEdges)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(95, 150), CSize(100, 100), kAuto, kAuto);
    EXPECT_EQ(ContentOf(viewer.Get()), viewer->GetVisualChild(0));
    EXPECT_EQ(viewer->GetScrollBar(TRUE), viewer->GetVisualChild(1));
    EXPECT_EQ(viewer->GetScrollBar(FALSE), viewer->GetVisualChild(2));
    EXPECT_EQ(viewer->GetGripper(), viewer->GetVisualChild(3));
    EXPECT_EQ(nullptr, viewer->GetVisualChild(4));
    EXPECT_EQ(CRect(83, 0, 100, 83), viewer->GetScrollBar(TRUE)->GetFinalRect());
    EXPECT_EQ(CRect(0, 83, 83, 100), viewer->GetScrollBar(FALSE)->GetFinalRect());
    EXPECT_EQ(CRect(83, 83, 100, 100), viewer->GetGripper()->GetFinalRect());
    EXPECT_EQ(CRect(0, 0, 95, 150), ContentOf(viewer.Get())->GetFinalRect());
    EXPECT_EQ(viewer.Get(), viewer->GetScrollBar(TRUE)->GetLogicalParent());
    SCROLLINFO info{};
    viewer->GetScrollBar(TRUE)->GetScrollInfo(&info);
    EXPECT_EQ(0, info.nMin);
    EXPECT_EQ(149, info.nMax);
    EXPECT_EQ(83u, info.nPage);
}

TEST_F(ScrollBarTest, WithNoVisibilityTheVerticalBarShowsAndTheContentIsUnboundedHigh)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(30, 30), CSize(100, 100));
    EXPECT_NE(nullptr, viewer->GetScrollBar(TRUE));
    EXPECT_EQ(nullptr, viewer->GetScrollBar(FALSE));
    EXPECT_EQ(CSize(83, INT_MAX), ContentOf(viewer.Get())->measuredWith);
    EXPECT_FALSE(viewer->GetScrollBar(TRUE)->IsEnabled());
}

TEST_F(ScrollBarTest, AViewerWithoutContentTakesNoRoomAndHasNoBars)
{
    RefPtr<COSMMarkupScrollViewer> viewer =
        AdoptRef(static_cast<COSMMarkupScrollViewer*>(COSMMarkupScrollViewer::GetClassType()->CreateInstance()));
    LayOut(viewer.Get(), CSize(100, 100));
    EXPECT_EQ(CSize(0, 0), viewer->GetDesiredSize());
    EXPECT_EQ(0, viewer->GetVisualChildrenCount());
}

TEST_F(ScrollBarTest, ScrollCodesMoveTheOffset)
{
    const struct
    {
        int from, code, position, offset;
    } rows[] = {
        {100, SB_LINEUP, 0, 84},
        {100, SB_LINEDOWN, 0, 116},
        {100, SB_PAGEUP, 0, 0},
        {100, SB_PAGEDOWN, 0, 200},
        {100, SB_TOP, 0, 0},
        {100, SB_BOTTOM, 0, 200},
        {100, SB_THUMBPOSITION, 37, 37},
        {100, SB_THUMBTRACK, 123, 123},
        {150, SB_PAGEUP, 0, 50},
        {150, SB_PAGEDOWN, 0, 200},
        {100, SB_ENDSCROLL, 0, 100},
        {10, SB_LINEUP, 0, 0},
        {195, SB_LINEDOWN, 0, 200},
        {100, SB_THUMBTRACK, 900, 200},
    };
    for (const auto& row : rows)
    {
        // 100 × 300 content in a 117 × 100 room: a 100-pixel page and a maximum offset of 200.
        RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(100, 300), CSize(117, 100), kVertical, kDisabled);
        viewer->SetOffset(TRUE, row.from);
        ASSERT_EQ(row.from, viewer->GetOffset(TRUE));
        ASSERT_EQ(200, viewer->GetMaxOffset(TRUE));
        viewer->Scroll(TRUE, row.code, row.position);
        EXPECT_EQ(row.offset, viewer->GetOffset(TRUE)) << "from " << row.from << " code " << row.code;
        // The content moved with the offset, and the bar got its position back.
        EXPECT_EQ(-row.offset, ContentOf(viewer.Get())->GetFinalRect().top);
        SCROLLINFO info{};
        viewer->GetScrollBar(TRUE)->GetScrollInfo(&info);
        EXPECT_EQ(row.offset, info.nPos);
    }
}

TEST_F(ScrollBarTest, ScrollingWithoutABarInThatDirectionDoesNothing)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(300, 300), CSize(100, 100), kVertical, kDisabled);
    viewer->Scroll(FALSE, SB_BOTTOM, 0);
    EXPECT_EQ(0, viewer->GetOffset(FALSE));
    EXPECT_EQ(0, viewer->GetMaxOffset(FALSE));
}

TEST_F(ScrollBarTest, AnOffsetPastShrunkContentComesBackAtTheNextArrange)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(100, 300), CSize(117, 100), kVertical, kDisabled);
    viewer->SetOffset(TRUE, 200);
    CProbe* content = ContentOf(viewer.Get());
    content->contentSize = CSize(100, 250);
    content->InvalidateMeasure();
    EXPECT_EQ(150, viewer->GetOffset(TRUE));
    EXPECT_EQ(-150, content->GetFinalRect().top);
}

TEST_F(ScrollBarTest, ADroppedBarLosesItsOffsetAndItsViewer)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(100, 300), CSize(117, 100), kAuto, kDisabled);
    viewer->SetOffset(TRUE, 120);
    COSMMarkupScrollBar* bar = viewer->GetScrollBar(TRUE);
    ASSERT_NE(nullptr, bar);
    RefPtr<COSMMarkupScrollBar> kept = RetainRef(bar);
    ContentOf(viewer.Get())->contentSize = CSize(100, 50);
    ContentOf(viewer.Get())->InvalidateMeasure();
    EXPECT_EQ(nullptr, viewer->GetScrollBar(TRUE));
    EXPECT_EQ(0, viewer->GetOffset(TRUE));
    EXPECT_EQ(nullptr, kept->GetLogicalParent());
    // What it still reports reaches nobody.
    kept->SendScroll(SB_BOTTOM, 0);
    EXPECT_EQ(0, viewer->GetOffset(TRUE));
}

TEST_F(ScrollBarTest, TheWheelMovesFortyEightPixelsAndIsClampedOnceArranged)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(100, 300), CSize(117, 100), kVertical, kDisabled);
    const struct
    {
        int from, delta, offset;
    } rows[] = {{100, -120, 148}, {100, 120, 52}, {180, -120, 200}, {20, 120, 0}, {100, -240, 148}};
    for (const auto& row : rows)
    {
        viewer->SetOffset(TRUE, row.from);
        COSMMarkupMouseWheelEventArgs args;
        args.delta = row.delta;
        viewer->OnMouseWheel(&args);
        EXPECT_TRUE(args.handled);
        EXPECT_EQ(row.offset, viewer->GetOffset(TRUE)) << row.from << " " << row.delta;
    }
}

TEST_F(ScrollBarTest, BeforeTheFirstArrangeOffsetsAreNotLimitedByARange)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(100, 300), CSize(0, 0), kVertical, kDisabled);
    viewer->SetOffset(TRUE, 5000);
    EXPECT_EQ(5000, viewer->GetOffset(TRUE));
    viewer->SetOffset(TRUE, -3);
    EXPECT_EQ(0, viewer->GetOffset(TRUE));
    // The first arrange pulls it back to the last page.
    viewer->SetOffset(TRUE, 5000);
    LayOut(viewer.Get(), CSize(117, 100));
    EXPECT_EQ(200, viewer->GetOffset(TRUE));
}

// ---- Drawing ----------------------------------------------------------------------------------------------------

TEST_F(ScrollBarTest, AHotDownArrowIsDrawnInItsHotState)
{
    PartRecorder recorder(true);
    RefPtr<COSMMarkupScrollBar> bar = StandardBar(100);
    COSMMarkupMouseEventArgs move;
    move.x = 8;
    move.y = 90;
    bar->OnMouseMove(&move);
    EXPECT_TRUE(move.handled);
    EXPECT_EQ(COSMMarkupScrollBar::PartSecondArrow, bar->GetHotPart());
    DcTestSurface surface(17, 100);
    RenderBar(bar.Get(), surface);
    const std::vector<DrawnPart> expected = {
        {1, 1, CRect(0, 0, 17, 17)},    // up arrow, normal
        {6, 1, CRect(0, 17, 17, 39)},   // upper page area
        {7, 1, CRect(0, 61, 17, 83)},   // lower page area
        {1, 6, CRect(0, 83, 17, 100)},  // down arrow, hot
        {3, 1, CRect(0, 39, 17, 61)},   // thumb
        {9, 1, CRect(0, 39, 17, 61)},   // its grip
    };
    EXPECT_EQ(expected, recorder.themeParts);
    EXPECT_TRUE(recorder.frameControls.empty());

    COSMMarkupMouseEventArgs leave;
    bar->OnMouseLeave(&leave);
    EXPECT_EQ(0, bar->GetHotPart());
}

TEST_F(ScrollBarTest, ADisabledBarDrawsDisabledArrowsAndNoThumb)
{
    PartRecorder recorder(true);
    RefPtr<COSMMarkupScrollBar> bar = MakeBar(COSMMarkupScrollBar::Vertical, 0, 99, 100, 0, CRect(0, 0, 17, 100));
    DcTestSurface surface(17, 100);
    RenderBar(bar.Get(), surface);
    const std::vector<DrawnPart> expected = {
        {1, 4, CRect(0, 0, 17, 17)},
        {7, 4, CRect(0, 17, 17, 83)},
        {1, 8, CRect(0, 83, 17, 100)},
    };
    EXPECT_EQ(expected, recorder.themeParts);
}

TEST_F(ScrollBarTest, HorizontalBarsUseTheirOwnParts)
{
    PartRecorder recorder(true);
    RefPtr<COSMMarkupScrollBar> bar = MakeBar(COSMMarkupScrollBar::Horizontal, 0, 299, 100, 0, CRect(0, 0, 100, 17));
    DcTestSurface surface(100, 17);
    RenderBar(bar.Get(), surface);
    const std::vector<DrawnPart> expected = {
        {1, 9, CRect(0, 0, 17, 17)},  {5, 1, CRect(39, 0, 83, 17)}, {1, 13, CRect(83, 0, 100, 17)},
        {2, 1, CRect(17, 0, 39, 17)}, {8, 1, CRect(17, 0, 39, 17)},
    };
    EXPECT_EQ(expected, recorder.themeParts);
}

TEST_F(ScrollBarTest, TheThumbShowsItsGripOnlyAboveThirteenPixels)
{
    const struct
    {
        int maximum, page, thumb;
        bool grip;
    } rows[] = {{65, 13, 13, false}, {65, 14, 14, true}, {99, 10, 8, false}, {299, 100, 22, true}};
    for (const auto& row : rows)
    {
        PartRecorder recorder(true);
        RefPtr<COSMMarkupScrollBar> bar =
            MakeBar(COSMMarkupScrollBar::Vertical, 0, row.maximum, row.page, 0, CRect(0, 0, 17, 100));
        ASSERT_EQ(row.thumb, bar->GetPositionRecord().thumbLength);
        DcTestSurface surface(17, 100);
        RenderBar(bar.Get(), surface);
        bool grip = false;
        for (const DrawnPart& part : recorder.themeParts)
            grip = grip || part.part == 9;
        EXPECT_EQ(row.grip, grip) << "thumb " << row.thumb;
    }
}

TEST_F(ScrollBarTest, ClassicBarsFillTheTrackAndFrameTheThumb)
{
    PartRecorder recorder(false);
    RefPtr<COSMMarkupScrollBar> bar = StandardBar(100);
    DcTestSurface surface(17, 100, RGB(1, 2, 3));
    RenderBar(bar.Get(), surface);
    EXPECT_TRUE(recorder.themeParts.empty());
    const std::vector<DrawnPart> expected = {
        {DFC_SCROLL, DFCS_SCROLLUP, CRect(0, 0, 17, 17)},
        {DFC_SCROLL, DFCS_SCROLLDOWN, CRect(0, 83, 17, 100)},
    };
    EXPECT_EQ(expected, recorder.frameControls);
    EXPECT_EQ(::GetSysColor(COLOR_SCROLLBAR), surface.Pixel(8, 25)) << "upper page area";
    EXPECT_EQ(::GetSysColor(COLOR_SCROLLBAR), surface.Pixel(8, 75)) << "lower page area";
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), surface.Pixel(8, 50)) << "thumb face";
    EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), surface.Pixel(8, 60)) << "thumb's raised edge";
}

TEST_F(ScrollBarTest, ADisabledClassicBarHasInactiveArrowsAndNoThumb)
{
    PartRecorder recorder(false);
    RefPtr<COSMMarkupScrollBar> bar = MakeBar(COSMMarkupScrollBar::Vertical, 0, 99, 100, 0, CRect(0, 0, 17, 100));
    DcTestSurface surface(17, 100, RGB(1, 2, 3));
    RenderBar(bar.Get(), surface);
    const std::vector<DrawnPart> expected = {
        {DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE, CRect(0, 0, 17, 17)},
        {DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE, CRect(0, 83, 17, 100)},
    };
    EXPECT_EQ(expected, recorder.frameControls);
    for (int y = 17; y < 83; y += 11)
        EXPECT_EQ(::GetSysColor(COLOR_SCROLLBAR), surface.Pixel(8, y)) << y;
}

TEST_F(ScrollBarTest, TheGripperFillsItsOwnRenderRectangleWithTheFaceColour)
{
    RefPtr<COSMMarkupScrollViewer> viewer = MakeViewer(CSize(300, 300), CSize(100, 100), kAuto, kAuto);
    ASSERT_NE(nullptr, viewer->GetGripper());
    DcTestSurface surface(100, 100, RGB(1, 2, 3));
    {
        COSMMarkupDrawingContext dc(surface.GetDC());
        viewer->GetGripper()->Render(&dc);
    }
    // Drawn alone it lies at its offset: the corner, and nothing outside it.
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), surface.Pixel(83, 83));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), surface.Pixel(99, 99));
    EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(82, 90));
    EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(90, 82));
}
