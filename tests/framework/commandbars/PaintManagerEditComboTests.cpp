// The labels of edit and combo boxes: their height from the large-button text height or the fonts, the label and
// drop-down button widths written into the controls (forcing a placement only on a change), and the icon and
// caption drawn before the field.
#include "ControlPaintTestSupport.h"

#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlEdit.h"

#include <gtest/gtest.h>

#include <string>

using foundation_test::ControlPaintTest;
using foundation_test::DcTestSurface;
using foundation_test::PrepareCanvas;
using foundation_test::TextExtent;
using foundation_test::UnsmoothedLogFont;

namespace {

const UINT kEditIconId = 4500;

class EditComboTest : public ControlPaintTest
{
protected:
    void SetUp() override
    {
        ControlPaintTest::SetUp();
        edit.SetParent(&bar);
        combo.SetParent(&bar);
        edit.SetWidth(120);
        combo.SetWidth(140);
    }

    CSize Measure(COSMControl* control)
    {
        DcTestSurface surface(8, 8);
        return pm.DrawControl(CDC::FromHandle(surface.GetDC()), control, FALSE);
    }
    COSMControl* Pick(BOOL comboBox) { return comboBox ? static_cast<COSMControl*>(&combo) : &edit; }
    int LabelWidth(BOOL comboBox) const { return comboBox ? combo.GetLabelWidth() : edit.GetLabelWidth(); }
    BOOL Forced(BOOL comboBox) const { return comboBox ? combo.IsPlacementForced() : edit.IsPlacementForced(); }
    void ClearForced()
    {
        edit.SetPlacementForced(FALSE);
        combo.SetPlacementForced(FALSE);
    }

    COSMControlEdit edit;
    COSMControlComboBox combo;
};

}  // namespace

TEST_F(EditComboTest, LargeButtonTextHeightSetsTheHeightAndTheButton)
{
    const struct
    {
        BOOL comboBox;
        int largeText;
        int height;
        int button;
    } cases[] = {
        {TRUE, 20, 20, 15},  // MulDiv(20, 9, 14) + 1 = 14, raised to 15
        {TRUE, 30, 30, 20},
        {TRUE, 12, 12, 15},  // no minimum of 20 on this path
        {FALSE, 30, 30, 0},
    };
    for (const auto& c : cases)
    {
        pm.SetLargeButtonTextHeight(c.largeText);
        COSMControl* control = Pick(c.comboBox);
        SCOPED_TRACE(c.comboBox * 100 + c.largeText);
        EXPECT_EQ(CSize(control->GetWidth(), c.height), Measure(control));
        if (c.comboBox)
        {
            EXPECT_EQ(c.button, combo.GetDropDownButtonWidth());
        }
    }
}

TEST_F(EditComboTest, FontPathTakesTheIconTitleFontAndACaptionsFont)
{
    const struct
    {
        BOOL comboBox;
        LONG iconTitleHeight;
        int style;  // 3 shows the caption, 0 hides it
    } cases[] = {
        {FALSE, -8, 0}, {TRUE, -8, 0}, {FALSE, -24, 0}, {TRUE, -24, 0}, {FALSE, -8, 3}, {TRUE, -30, 3},
    };
    const int captionLine = TextExtent(pm.GetRegularFont(), " ").cy + 7;
    for (const auto& c : cases)
    {
        const LOGFONTA logFont = UnsmoothedLogFont(c.iconTitleHeight);
        pm.GetIconTitleFont().SetCustomFont(::CreateFontIndirectA(&logFont));
        COSMControl* control = Pick(c.comboBox);
        control->SetStyle(c.style);
        control->SetCaption("Find");
        int expected = TextExtent(pm.GetIconTitleFont(), " ").cy + 7;
        if (c.comboBox)
            expected = std::max(expected, 20);
        const int button = std::max(::MulDiv(expected, 9, 14) + 1, 15);
        if (c.style == 3)
            expected = std::max(expected, captionLine);
        SCOPED_TRACE(c.comboBox * 1000 + -c.iconTitleHeight * 10 + c.style);
        EXPECT_EQ(CSize(control->GetWidth(), expected), Measure(control));
        if (c.comboBox)
        {
            EXPECT_EQ(button, combo.GetDropDownButtonWidth());
        }
    }
}

TEST_F(EditComboTest, LabelWidthOnAToolbarIsIconPartAndCaption)
{
    bar.SetButtonSize(CSize(30, 28));
    const int caption = TextExtent(pm.GetRegularFont(), "Find:").cx + 5;
    const struct
    {
        BOOL comboBox;
        int style;
        int iconId;
        int labelWidth;
        BOOL buttonHeight;  // the icon makes the control as tall as the button
    } cases[] = {
        {FALSE, 3, 7, 16 + 4 + caption, TRUE}, {FALSE, 2, 7, 16 + 4, TRUE}, {FALSE, 1, 7, caption, FALSE},
        {FALSE, 3, 0, caption, FALSE},         {FALSE, 0, 7, 0, FALSE},     {TRUE, 3, -2, 16 + 4 + caption, TRUE},
        {TRUE, 1, 0, caption, FALSE},
    };
    for (const auto& c : cases)
    {
        COSMControl* control = Pick(c.comboBox);
        control->SetStyle(c.style);
        control->SetIconId(c.iconId);
        control->SetCaption("&Find:");
        const CSize size = Measure(control);
        SCOPED_TRACE(c.comboBox * 1000 + c.style * 100 + c.iconId);
        EXPECT_EQ(c.labelWidth, LabelWidth(c.comboBox));
        EXPECT_EQ(control->GetWidth(), size.cx);
        if (c.buttonHeight)
            EXPECT_EQ(28, size.cy);
        else
            EXPECT_LT(size.cy, 28);
    }
}

TEST_F(EditComboTest, LabelWidthOnAPopupAddsTheColumnAndGap)
{
    bar.SetType(2);
    bar.SetPosition(5);
    pm.SetControlHeight(18);
    const int column = pm.GetPopupBarGripperWidth(&bar);
    ASSERT_EQ(23, column);
    const int caption = TextExtent(pm.GetRegularFont(), "Zoom").cx + 5;
    for (BOOL comboBox : {FALSE, TRUE})
    {
        COSMControl* control = Pick(comboBox);
        control->SetCaption("Zoom");
        const CSize size = Measure(control);
        SCOPED_TRACE(comboBox);
        EXPECT_EQ(caption + column + 4, LabelWidth(comboBox));
        EXPECT_EQ(control->GetWidth() + column, size.cx);
    }
}

TEST_F(EditComboTest, PlacementIsForcedOnlyWhenAWidthChanged)
{
    for (BOOL comboBox : {FALSE, TRUE})
    {
        SCOPED_TRACE(comboBox);
        COSMControl* control = Pick(comboBox);
        control->SetStyle(3);
        control->SetCaption("Size");
        ClearForced();
        Measure(control);
        EXPECT_TRUE(Forced(comboBox));

        ClearForced();
        Measure(control);
        EXPECT_FALSE(Forced(comboBox));

        control->SetCaption("Larger size");
        Measure(control);
        EXPECT_TRUE(Forced(comboBox));
    }
    // The combo box's button alone: the label stays as it was.
    ClearForced();
    pm.SetLargeButtonTextHeight(20);
    Measure(&combo);
    ClearForced();
    const int label = combo.GetLabelWidth();
    pm.SetLargeButtonTextHeight(30);
    Measure(&combo);
    EXPECT_EQ(label, combo.GetLabelWidth());
    EXPECT_EQ(20, combo.GetDropDownButtonWidth());
    EXPECT_TRUE(combo.IsPlacementForced());
}

TEST_F(EditComboTest, DrawingPutsTheIconAndCaptionBeforeTheField)
{
    AddIcon(kEditIconId);
    pm.m_embossedDisabledText = FALSE;
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    const CRect rect(10, 2, 200, 26);
    const struct
    {
        BOOL comboBox;
        int style;
        int enabled;
        int captionLeft;
    } cases[] = {
        {FALSE, 3, 1, 10 + 6 + 16},
        {FALSE, 3, 0, 10 + 6 + 16},
        {TRUE, 3, 1, 10 + 6 + 16},
        {FALSE, 1, 1, 10 + 2},  // no icon: the caption starts 2 pixels in
    };
    for (const auto& c : cases)
    {
        COSMControl* control = Pick(c.comboBox);
        control->SetStyle(c.style);
        control->SetIconId(kEditIconId);
        control->SetCaption("Find");
        control->SetEnabled(c.enabled);
        control->SetRect(rect);
        DcTestSurface drawn(210, 30, background);
        pm.ClearCalls();
        EXPECT_EQ(CSize(0, 0), pm.DrawControl(PrepareCanvas(drawn, nullptr, 0), control, TRUE));
        SCOPED_TRACE(c.comboBox * 100 + c.style * 10 + c.enabled);

        const std::vector<std::string> images = CallsNamed("DrawControlImage");
        if (c.style == 3)
        {
            ASSERT_EQ(1u, images.size());
            EXPECT_EQ("DrawControlImage(13," + std::to_string(14 - 8) + ",16,16,0,0," + std::to_string(c.enabled) +
                          ",0,0,0)",
                      images[0]);
        }
        else
        {
            EXPECT_TRUE(images.empty());
        }
        const std::vector<std::string> colours = CallsNamed("GetStateTextColor");
        ASSERT_EQ(1u, colours.size());
        EXPECT_EQ("GetStateTextColor(0,0," + std::to_string(c.enabled) + ",0,0,1,0)", colours[0]);

        DcTestSurface expected(210, 30, background);
        CRect textRect(c.captionLeft, rect.top, rect.right, rect.bottom);
        PrepareCanvas(expected, &pm.GetRegularFont(), pm.GetColor(c.enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT))
            ->DrawText("Find", 4, &textRect, DT_SINGLELINE | DT_VCENTER);
        EXPECT_EQ(foundation_test::Columns(expected, c.captionLeft - 2, 210),
                  foundation_test::Columns(drawn, c.captionLeft - 2, 210));
    }
}

TEST_F(EditComboTest, OnPopupBarsTheLabelIsAMenuItemCaption)
{
    bar.SetType(2);
    bar.SetPosition(5);
    pm.SetControlHeight(18);
    const COLORREF background = pm.GetColor(COLOR_MENU);
    for (BOOL comboBox : {FALSE, TRUE})
    {
        COSMControl* control = Pick(comboBox);
        control->SetCaption("&Zoom");
        control->SetRect(CRect(0, 0, 200, 22));
        DcTestSurface drawn(200, 22, background);
        EXPECT_EQ(CSize(0, 0), pm.DrawControl(PrepareCanvas(drawn, &pm.GetRegularFont(), pm.GetColor(COLOR_MENUTEXT)),
                                              control, TRUE));
        // The caption after the icon column and gap, as a menu item's.
        DcTestSurface expected(200, 22, background);
        CRect textRect(22 + 4, 0, 200, 22);
        PrepareCanvas(expected, &pm.GetRegularFont(), pm.GetColor(COLOR_MENUTEXT))
            ->DrawText("&Zoom", 5, &textRect, DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
        EXPECT_EQ(expected.All(), drawn.All()) << comboBox;
        EXPECT_GT(drawn.CountNot(background), 0);
    }
}
