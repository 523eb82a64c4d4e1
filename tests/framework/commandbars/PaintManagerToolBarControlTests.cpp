// Toolbar controls: check boxes and radio buttons, captions below, beside and under icons, split buttons and popups,
// measured on real controls and bars in the paint manager's fonts and drawn on DIB sections, with the test paint
// manager's log showing which faces, frames and images were asked for.
#include "ControlPaintTestSupport.h"

#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"

#include <gtest/gtest.h>

#include <string>

using foundation_test::ControlPaintTest;
using foundation_test::DcTestSurface;
using foundation_test::PrepareCanvas;
using foundation_test::TextExtent;

namespace {

const UINT kIconId = 4400;
const UINT kPlainId = 4401;

class ToolBarControlTest : public ControlPaintTest
{
protected:
    CSize Measure(COSMControl* control)
    {
        DcTestSurface surface(8, 8);
        return pm.DrawToolBarControl(CDC::FromHandle(surface.GetDC()), control, FALSE);
    }
    // The control drawn into its rectangle on a face-coloured canvas.
    void Draw(DcTestSurface& surface, COSMControl* control)
    {
        pm.DrawToolBarControl(PrepareCanvas(surface, nullptr, 0), control, TRUE);
    }
};

// A control that paints its own face.
class SelfPaintingPopup : public COSMControlPopup
{
public:
    BOOL suppress = TRUE;
    BOOL IsFaceSuppressed() const override { return suppress; }
};

}  // namespace

TEST_F(ToolBarControlTest, CheckBoxesAndRadioButtonsAddTheirMark)
{
    const CSize horizontal = TextExtent(pm.GetRegularFont(), "Check");
    const CSize vertical = TextExtent(pm.GetVerticalFont(), "Check");
    const struct
    {
        int type;
        int position;
        int width;
        CSize expected;
    } cases[] = {
        {9, 0, 0, CSize(horizontal.cx + 8 + 5 + 13, std::max<int>(22, horizontal.cy + 6))},
        {11, 0, 0, CSize(horizontal.cx + 8 + 5 + 13, std::max<int>(22, horizontal.cy + 6))},
        {9, 2, 0, CSize(std::max<int>(22, vertical.cy + 6), vertical.cx + 8 + 5 + 13)},
        {9, 0, 90, CSize(90, std::max<int>(22, horizontal.cy + 6))},
        {11, 3, 90, CSize(std::max<int>(22, vertical.cy + 6), 90)},  // a vertical bar's own width runs down
    };
    for (const auto& c : cases)
    {
        bar.SetPosition(c.position);
        COSMControlButton control;
        control.SetType(c.type);
        control.SetParent(&bar);
        control.SetCaption("&Check");
        control.SetWidth(c.width);
        EXPECT_EQ(c.expected, Measure(&control)) << c.type << " at " << c.position << " width " << c.width;
    }
}

TEST_F(ToolBarControlTest, ButtonsWithoutCaptionMeasureTheButtonSize)
{
    AddIcon(kIconId);
    const struct
    {
        int type;
        UINT id;
        CSize button;  // the bar's own button size; (0, 0): the icon size + 6
        CSize expected;
    } cases[] = {
        {1, kPlainId, CSize(0, 0), CSize(22, 22)},
        {1, kPlainId, CSize(40, 30), CSize(40, 30)},
        {1, kIconId, CSize(40, 30), CSize(40, 30)},
        {4, kIconId, CSize(30, 28), CSize(30 + 11, 28)},   // a split button adds its split part
        {4, kPlainId, CSize(30, 28), CSize(22 + 11, 22)},  // without an icon the button counts as 22 x 22
        {3, kIconId, CSize(0, 0), CSize(22, 22)},
    };
    for (const auto& c : cases)
    {
        bar.SetButtonSize(c.button);
        COSMControlPopup control;
        control.SetType(c.type);
        control.SetParent(&bar);
        control.SetID(c.id);
        control.SetStyle(2);
        EXPECT_EQ(c.expected, Measure(&control)) << c.type << " " << c.id << " " << c.button.cx;
    }
}

TEST_F(ToolBarControlTest, CaptionBelowTheIconMakesALargeButton)
{
    // Raw control height 16: the control height is 22 and the split part 2 * 22 - 17 = 27 deep.
    pm.SetControlHeight(16);
    ASSERT_EQ(27, pm.GetSplitButtonDropDownWidth());
    const char* const kLong = "Insert Picture From File";
    const int line1 = TextExtent(pm.GetRegularFont(), "Insert Picture").cx;
    const int line2 = TextExtent(pm.GetRegularFont(), "From File").cx;
    const int vline1 = TextExtent(pm.GetVerticalFont(), "Insert Picture").cx;
    const int vline2 = TextExtent(pm.GetVerticalFont(), "From File").cx;
    COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(nullptr);
    const struct
    {
        const char* caption;
        int largeText;
        int position;
        BOOL dropDown;
        CSize expected;
    } cases[] = {
        {"", 0, 0, FALSE, CSize(42, 27 + 7 + 32)},
        {kLong, 0, 0, FALSE, CSize(std::max(42, std::max(line1, line2) + 5), 66)},
        {kLong, 0, 0, TRUE, CSize(std::max(42, std::max(line1, line2 + 8) + 5), 66)},
        {"", 20, 0, FALSE, CSize(42, 60)},
        {kLong, 0, 2, FALSE, CSize(66, std::max(42, std::max(vline1, vline2) + 6))},
    };
    for (const auto& c : cases)
    {
        pm.SetLargeButtonTextHeight(c.largeText);
        bar.SetPosition(c.position);
        COSMControlPopup control;
        control.SetType(1);
        control.SetParent(&bar);
        control.SetStyle(4);
        control.SetCaption(c.caption);
        control.SetCommandBar(c.dropDown ? popup : nullptr);
        EXPECT_EQ(c.expected, Measure(&control)) << c.caption << " " << c.largeText << " " << c.position;
        control.SetCommandBar(nullptr);
    }
    popup->InternalRelease();
}

TEST_F(ToolBarControlTest, CaptionBesideTheIconStartsAfterTheButton)
{
    AddIcon(kIconId);
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const CSize text = TextExtent(pm.GetRegularFont(), "Print");
    for (BOOL spacing : {FALSE, TRUE})
    {
        pm.m_captionSpacingOption = spacing;
        COSMControlButton control;
        control.SetParent(&bar);
        control.SetID(kIconId);
        control.SetStyle(3);
        control.SetCaption("&Print");
        const CSize size = Measure(&control);
        SCOPED_TRACE(spacing);
        EXPECT_EQ(CSize(text.cx + 22 + 3 + spacing, std::max<int>(22, text.cy + 6)), size);

        // Drawn in a rectangle of that size: the icon at (left + 3, middle - 8), the caption centred in what is
        // left after the button, which puts it 2 pixels into that area.
        const CRect rect(10, 4, 10 + size.cx, 4 + size.cy);
        control.SetRect(rect);
        DcTestSurface drawn(rect.right + 10, rect.bottom + 4, background);
        pm.ClearCalls();
        Draw(drawn, &control);
        const int middle = (rect.top + rect.bottom) / 2;
        const std::vector<std::string> images = CallsNamed("DrawControlImage");
        ASSERT_EQ(1u, images.size());
        EXPECT_EQ("DrawControlImage(13," + std::to_string(middle - 8) + ",16,16,0,0,1,0,0,0)", images[0]);

        DcTestSurface expected(rect.right + 10, rect.bottom + 4, background);
        CRect textRect(rect.left + 22 - 1 + spacing + 2, rect.top, rect.right, rect.bottom);
        PrepareCanvas(expected, &pm.GetRegularFont(), pm.GetColor(COLOR_BTNTEXT))
            ->DrawText("&Print", 6, &textRect, DT_SINGLELINE | DT_VCENTER);
        const int iconEnd = rect.left + 3 + 16;
        EXPECT_EQ(foundation_test::Columns(expected, iconEnd, expected.Width()),
                  foundation_test::Columns(drawn, iconEnd, drawn.Width()));
    }
}

TEST_F(ToolBarControlTest, PopupsWithoutIconShowTheirArrowExceptOnTheMenuBar)
{
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const CSize text = TextExtent(pm.GetRegularFont(), "File");
    for (int barType : {0, 1})
    {
        bar.SetType(barType);
        COSMControlPopup control;
        control.SetParent(&bar);
        control.SetCaption("&File");
        const CSize size = Measure(&control);
        SCOPED_TRACE(barType);
        // Measured with the arrow's room on every bar.
        EXPECT_EQ(CSize(text.cx + 10 + 6, text.cy + 6), size);

        const CRect rect(4, 2, 4 + size.cx, 2 + size.cy);
        control.SetRect(rect);
        DcTestSurface drawn(rect.right + 4, rect.bottom + 2, background);
        Draw(drawn, &control);

        // The caption centred with the arrow 5 pixels after it, or alone on the menu bar.
        DcTestSurface expected(rect.right + 4, rect.bottom + 2, background);
        CDC* reference = PrepareCanvas(expected, &pm.GetRegularFont(), pm.GetColor(COLOR_BTNTEXT));
        const int width = text.cx + (barType ? 5 : 0);
        CRect textRect(rect.left + (rect.Width() - width) / 2, rect.top, rect.right, rect.bottom);
        reference->DrawText("&File", 5, &textRect, DT_SINGLELINE | DT_VCENTER);
        if (barType)
            pm.DrawDropDownGlyph(reference, &control, CPoint(textRect.left + width, (rect.top + rect.bottom) / 2),
                                 FALSE, FALSE, TRUE, FALSE);
        EXPECT_EQ(expected.All(), drawn.All());
    }
}

TEST_F(ToolBarControlTest, FaceHookSuppressesBackgroundAndSplitFrame)
{
    const CRect rect(2, 2, 40, 24);
    const struct
    {
        int type;
        BOOL suppress;
        const char* face;  // the face operation asked for; null: none
    } cases[] = {
        {1, FALSE, "DrawStateRectangle(2,2,40,24,"},
        {4, FALSE, "DrawSplitButtonFrame(2,2,40,24)"},
        {1, TRUE, nullptr},
        {4, TRUE, nullptr},
        {2, TRUE, nullptr},
    };
    for (const auto& c : cases)
    {
        SelfPaintingPopup control;
        control.suppress = c.suppress;
        control.SetType(c.type);
        control.SetParent(&bar);
        control.SetCaption("Go");
        control.SetRect(rect);
        DcTestSurface surface(50, 30, pm.GetColor(COLOR_BTNFACE));
        pm.ClearCalls();
        Draw(surface, &control);
        SCOPED_TRACE(c.type * 10 + c.suppress);
        const std::vector<std::string> states = CallsNamed("DrawStateRectangle");
        const std::vector<std::string> frames = CallsNamed("DrawSplitButtonFrame");
        if (!c.face)
        {
            EXPECT_TRUE(states.empty());
            EXPECT_TRUE(frames.empty());
        }
        else if (c.type == 4)
        {
            ASSERT_EQ(1u, frames.size());
            EXPECT_EQ(c.face, frames[0]);
        }
        else
        {
            ASSERT_EQ(1u, states.size());
            EXPECT_EQ(0u, states[0].find(c.face));
        }
        // The caption is coloured either way.
        EXPECT_FALSE(CallsNamed("GetStateTextColor").empty());
    }
}

TEST_F(ToolBarControlTest, KeyboardSelectedCheckBoxesShowTheFocus)
{
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const CRect rect(0, 0, 80, 22);
    auto draw = [&](int selected, DcTestSurface& surface) {
        COSMControlButton control;
        control.SetType(9);
        control.SetParent(&bar);
        control.SetCaption("Check");
        control.SetChecked(1);
        control.SetSelected(selected);
        control.SetRect(rect);
        Draw(surface, &control);
    };
    DcTestSurface mouse(80, 22, background);
    draw(1, mouse);
    for (int selected : {2, 3})
    {
        DcTestSurface keyboard(80, 22, background);
        draw(selected, keyboard);
        // The mouse-selected drawing with a focus rectangle around the caption area, in colours 18 and 15.
        DcTestSurface expected(80, 22, background);
        draw(1, expected);
        CDC* dc = CDC::FromHandle(expected.GetDC());
        dc->SetTextColor(pm.GetColor(COLOR_BTNTEXT));
        dc->SetBkColor(pm.GetColor(COLOR_BTNFACE));
        const CRect area(rect.left + 5 + 13, rect.top, rect.right, rect.bottom);
        dc->DrawFocusRect(area);
        EXPECT_EQ(expected.All(), keyboard.All()) << selected;
        EXPECT_NE(mouse.All(), keyboard.All()) << selected;
    }
}

TEST_F(ToolBarControlTest, CaptionsUnderIconsOnBarsThatAskForThem)
{
    AddIcon(kIconId);
    bar.SetShowTextBelowIcons(1);
    const CSize regular = TextExtent(pm.GetRegularFont(), "Save");
    const CSize bold = TextExtent(pm.GetBoldFont(), "Save");
    const struct
    {
        int type;
        BOOL defaultItem;
        UINT id;
        CSize expected;
    } cases[] = {
        {1, FALSE, kIconId, CSize(std::max<int>(std::max<int>(22, regular.cx + 10), 22 + regular.cy), 22 + regular.cy)},
        {1, TRUE, kIconId, CSize(std::max<int>(std::max<int>(22, bold.cx + 10), 22 + bold.cy), 22 + bold.cy)},
        {4, FALSE, kIconId,
         CSize(std::max<int>(std::max<int>(22, regular.cx + 10) + 11, 22 + regular.cy), 22 + regular.cy)},
        // Without an icon the caption stays beside.
        {1, FALSE, kPlainId, CSize(regular.cx + 8, std::max<int>(22, regular.cy + 6))},
    };
    for (const auto& c : cases)
    {
        COSMControlPopup control;
        control.SetType(c.type);
        control.SetParent(&bar);
        control.SetID(c.id);
        control.SetStyle(3);
        control.SetCaption("Save");
        control.SetDefaultItem(c.defaultItem);
        EXPECT_EQ(c.expected, Measure(&control)) << c.type << " " << c.defaultItem << " " << c.id;
    }
    bar.SetShowTextBelowIcons(0);
    COSMControlButton beside;
    beside.SetParent(&bar);
    beside.SetID(kIconId);
    beside.SetStyle(3);
    beside.SetCaption("Save");
    EXPECT_EQ(CSize(regular.cx + 22 + 3, std::max<int>(22, regular.cy + 6)), Measure(&beside));
}

TEST_F(ToolBarControlTest, OwnSizesWinInEveryLayout)
{
    AddIcon(kIconId);
    const struct
    {
        int type;
        int style;
        UINT id;
        int position;
        int textBelow;
    } cases[] = {
        {9, 0, kPlainId, 0, 0}, {4, 3, kIconId, 0, 0}, {2, 0, kPlainId, 0, 0},
        {1, 4, kIconId, 0, 0},  {1, 3, kIconId, 0, 1}, {1, 2, kIconId, 2, 0},
    };
    for (const auto& c : cases)
    {
        bar.SetPosition(c.position);
        bar.SetShowTextBelowIcons(c.textBelow);
        COSMControlPopup control;
        control.SetType(c.type);
        control.SetParent(&bar);
        control.SetID(c.id);
        control.SetStyle(c.style);
        control.SetCaption("Own size");
        control.SetWidth(77);
        control.SetHeight(33);
        const BOOL vertical = c.position == 2;
        EXPECT_EQ(vertical ? CSize(33, 77) : CSize(77, 33), Measure(&control)) << c.type << " " << c.style;
    }
}
