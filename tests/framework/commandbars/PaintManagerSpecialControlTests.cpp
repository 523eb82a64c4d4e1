// The bars' special buttons: the toolbar's expand button placed from the bar's size and drawn with or without its
// chevrons, the popup's expand button that is always 12 tall, the Marlett close glyph and the drop-down arrow.
#include "ControlPaintTestSupport.h"

#include "framework/commandbars/ControlButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using foundation_test::ChangedPixels;
using foundation_test::ControlPaintTest;
using foundation_test::DcTestSurface;

namespace {

class SpecialControlTest : public ControlPaintTest
{
protected:
    void SetUp() override
    {
        ControlPaintTest::SetUp();
        control.SetParent(&bar);
    }
    COSMControlButton control;
};

// A control whose popup is open.
class OpenControl : public COSMControlButton
{
public:
    BOOL IsPopupOpen() const override { return TRUE; }
};

}  // namespace

TEST_F(SpecialControlTest, ToolbarExpandButtonIsPlacedAtTheEndOfTheBar)
{
    const struct
    {
        int position;
        INT32 cx;
        INT32 cy;
        CRect expected;
    } cases[] = {
        {0, 200, 26, CRect(187, 2, 198, 24)}, {1, 200, 26, CRect(187, 2, 198, 24)},
        {2, 26, 200, CRect(2, 187, 24, 198)}, {3, 26, 200, CRect(2, 187, 24, 198)},
        {5, 26, 200, CRect(2, 187, 24, 198)},
    };
    DcTestSurface surface(8, 8);
    CDC* dc = CDC::FromHandle(surface.GetDC());
    for (const auto& c : cases)
    {
        bar.SetPosition(c.position);
        INT32 size[2] = {c.cx, c.cy};
        control.SetRect(CRect());
        EXPECT_EQ(CSize(0, 0), pm.DrawSpecialControl(dc, 0, &control, &bar, FALSE, size)) << c.position;
        EXPECT_EQ(c.expected, control.GetRect()) << c.position;
    }

    // Without the bar's size, or without a control, nothing is placed.
    control.SetRect(CRect(1, 2, 3, 4));
    EXPECT_EQ(CSize(0, 0), pm.DrawSpecialControl(dc, 0, &control, &bar, FALSE, nullptr));
    EXPECT_EQ(CRect(1, 2, 3, 4), control.GetRect());
    INT32 size[2] = {200, 26};
    EXPECT_EQ(CSize(0, 0), pm.DrawSpecialControl(dc, 0, nullptr, &bar, FALSE, size));
}

TEST_F(SpecialControlTest, ToolbarExpandButtonShowsChevronsOnlyForHiddenControls)
{
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const COLORREF glyph = pm.GetColor(COLOR_BTNTEXT);
    const struct
    {
        int position;
        CRect rect;
        CRect arrow;    // the triangle's pixels
        POINT chevron;  // a point on the first chevron
    } cases[] = {
        // Horizontal: the arrow points down at the bottom, centred (mx = 192); chevrons point right at the top.
        {0, CRect(187, 2, 198, 24), CRect(190, 17, 195, 20), {189, 6}},
        // Vertical: the arrow points left at the top; chevrons point down at the right.
        {2, CRect(2, 187, 24, 198), CRect(6, 190, 9, 195), {18, 191}},
    };
    for (const auto& c : cases)
    {
        bar.SetPosition(c.position);
        control.SetRect(c.rect);
        for (INT32 hidden : {0, 1})
        {
            DcTestSurface surface(210, 210, background);
            INT32 extra[2] = {hidden, 0};
            pm.ClearCalls();
            pm.DrawSpecialControl(CDC::FromHandle(surface.GetDC()), 0, &control, &bar, TRUE, extra);
            SCOPED_TRACE(c.position * 10 + hidden);
            ASSERT_EQ(1u, CallsNamed("DrawStateRectangle").size());
            const CRect changed = ChangedPixels(surface, background);
            if (!hidden)
            {
                EXPECT_EQ(c.arrow, changed);
            }
            else
            {
                CRect both;
                both.UnionRect(changed, c.arrow);
                EXPECT_EQ(changed, both);
                EXPECT_NE(c.arrow, changed);
                EXPECT_EQ(glyph, surface.Pixel(c.chevron.x, c.chevron.y));
            }
            EXPECT_EQ(glyph, surface.Pixel(c.arrow.left + 1, c.arrow.top + 1));
        }
    }
}

TEST_F(SpecialControlTest, PopupExpandButtonIsTwelveTallAndDrawsOnlyWhenAsked)
{
    const COLORREF background = pm.GetColor(COLOR_MENU);
    control.SetRect(CRect(0, 0, 60, 12));
    const struct
    {
        BOOL withControl;
        BOOL draw;
        bool drawn;
    } cases[] = {{TRUE, FALSE, false}, {FALSE, FALSE, false}, {FALSE, TRUE, false}, {TRUE, TRUE, true}};
    for (const auto& c : cases)
    {
        DcTestSurface surface(60, 12, background);
        const CSize size = pm.DrawSpecialControl(CDC::FromHandle(surface.GetDC()), 1,
                                                 c.withControl ? &control : nullptr, &bar, c.draw, nullptr);
        SCOPED_TRACE(c.withControl * 10 + c.draw);
        EXPECT_EQ(CSize(0, 12), size);
        EXPECT_EQ(c.drawn, surface.CountNot(background) > 0);
        if (c.drawn)
        {
            // The first chevron runs (28, 2) - (30, 4) - (33, 1), the last (28, 7) - (30, 9) - (33, 6), in black;
            // a polyline leaves out its end point.
            EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(28, 2));
            EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(30, 4));
            EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(30, 9));
            EXPECT_EQ(CRect(28, 2, 33, 10), ChangedPixels(surface, background));
        }
    }
}

TEST_F(SpecialControlTest, DropDownArrowSitsAtTheCentreInItsStateColour)
{
    const COLORREF background = pm.GetColor(COLOR_BTNSHADOW);
    ASSERT_NE(background, pm.GetFloatingCaptionTextColor().GetEffective());
    const struct
    {
        BOOL open;
        int selected;
        COLORREF color;
    } cases[] = {
        {FALSE, 0, pm.GetFloatingCaptionTextColor().GetEffective()},
        {FALSE, 1, pm.GetColor(COLOR_BTNTEXT)},
        {TRUE, 0, pm.GetColor(COLOR_BTNTEXT)},
    };
    for (const auto& c : cases)
    {
        OpenControl open;
        COSMControlButton closed;
        COSMControl& target = c.open ? static_cast<COSMControl&>(open) : closed;
        target.SetParent(&bar);
        target.SetRect(CRect(10, 10, 30, 24));
        target.SetSelected(c.selected);
        DcTestSurface surface(40, 40, background);
        pm.DrawSpecialControl(CDC::FromHandle(surface.GetDC()), 3, &target, &bar, TRUE, nullptr);
        SCOPED_TRACE(c.open * 10 + c.selected);
        // Centre (20, 17): (17, 15), (23, 15), (20, 18).
        if (!c.selected && !c.open)
        {
            EXPECT_EQ(CRect(17, 15, 24, 19), ChangedPixels(surface, background));
        }
        EXPECT_EQ(c.color, surface.Pixel(20, 16));
        target.SetParent(nullptr);
    }
}

TEST_F(SpecialControlTest, CloseGlyphStaysInsideItsRectangle)
{
    const COLORREF background = pm.GetColor(COLOR_BTNSHADOW);
    const struct
    {
        int pressed;
        COLORREF color;
    } cases[] = {{0, pm.GetFloatingCaptionTextColor().GetEffective()}, {1, pm.GetColor(COLOR_BTNTEXT)}};
    for (const auto& c : cases)
    {
        control.SetRect(CRect(12, 12, 28, 28));
        control.SetPressed(c.pressed);
        DcTestSurface surface(40, 40, background);
        CDC* dc = CDC::FromHandle(surface.GetDC());
        const int mode = dc->SetBkMode(OPAQUE);
        EXPECT_EQ(CSize(0, 0), pm.DrawSpecialControl(dc, 2, &control, &bar, TRUE, nullptr));
        SCOPED_TRACE(c.pressed);
        const CRect changed = ChangedPixels(surface, background);
        ASSERT_LT(changed.left, changed.right);
        EXPECT_TRUE(CRect(12, 12, 28, 28).PtInRect(changed.TopLeft()));
        EXPECT_LE(changed.right, 28);
        EXPECT_LE(changed.bottom, 28);
        // The glyph in its colour; the text background stays transparent, and the DC's mode comes back.
        EXPECT_EQ(background, surface.Pixel(12, 12));
        const std::vector<COLORREF> pixels = surface.All();
        EXPECT_GT(std::count(pixels.begin(), pixels.end(), c.color), 0);
        EXPECT_EQ(OPAQUE, dc->SetBkMode(mode));
    }
    // Measuring draws nothing.
    DcTestSurface surface(40, 40, background);
    EXPECT_EQ(CSize(0, 0), pm.DrawSpecialControl(CDC::FromHandle(surface.GetDC()), 2, &control, &bar, FALSE, nullptr));
    EXPECT_EQ(0, surface.CountNot(background));
}
