// Menu items of popup bars: the caption, shortcut and description texts the base paint manager measures and draws,
// on real controls and bars, measured in the paint manager's own fonts and compared with DrawText on a twin canvas.
#include "ControlPaintTestSupport.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using foundation_test::ControlPaintTest;
using foundation_test::DcTestSurface;
using foundation_test::MetricsPaintManager;
using foundation_test::PrepareCanvas;
using foundation_test::TextExtent;

namespace {

const UINT kItemId = 4300;

class PopupItemTest : public ControlPaintTest
{
protected:
    void SetUp() override
    {
        ControlPaintTest::SetUp();
        bar.SetType(2);
        bar.SetPosition(5);
        // Icon box max(16 + 4, 18 + 4) = 22 wide, gripper 23: the icon column G is 22.
        pm.SetControlHeight(18);
        commandBars = new COSMCommandBars;
    }
    void TearDown() override
    {
        bar.SetCommandBars(nullptr);
        commandBars->InternalRelease();
        ControlPaintTest::TearDown();
    }

    void HideKeyboardCues(BOOL hide)
    {
        commandBars->SetKeyboardCuesShown(!hide);
        bar.SetCommandBars(commandBars);
    }

    CSize Measure(COSMControl* control)
    {
        DcTestSurface surface(8, 8);
        CDC* dc = PrepareCanvas(surface, &pm.GetRegularFont(), 0);
        return pm.DrawPopupBarControl(dc, control, FALSE);
    }

    COSMCommandBars* commandBars = nullptr;
};

// A label that counts its icon lookups.
class CountingLabel : public COSMControlButton
{
public:
    CountingLabel() { m_type = 8; }
    COSMImageManagerIcon* GetImage(int width) const override
    {
        widths.push_back(width);
        return COSMControlButton::GetImage(width);
    }
    mutable std::vector<int> widths;
};

// A paint manager that keeps the rectangles DrawPopupBarText was given.
class RecordingPaintManager : public MetricsPaintManager
{
public:
    int DrawPopupBarText(CDC* dc, const CString& text, CRect& rect, UINT format, BOOL draw, BOOL selected,
                         BOOL enabled) override
    {
        rects.push_back(rect);
        formats.push_back(format);
        return MetricsPaintManager::DrawPopupBarText(dc, text, rect, format, draw, selected, enabled);
    }
    std::vector<CRect> rects;
    std::vector<UINT> formats;
};

}  // namespace

TEST_F(PopupItemTest, ItemWidthIsColumnGapCaptionShortcutAndThirtyTwo)
{
    ASSERT_EQ(23, pm.GetPopupBarGripperWidth(&bar));
    ASSERT_EQ(CSize(22, 22), pm.GetPopupBarImageSize(&bar));
    const int caption = TextExtent(pm.GetRegularFont(), "Open").cx;
    const int shortcut = TextExtent(pm.GetRegularFont(), "Ctrl+O").cx;
    const struct
    {
        int type;
        int width;  // the control's own width setting
        int expectedWidth;
    } cases[] = {
        {1, 0, caption + shortcut + 58},  // 22 + 4 + 32
        {2, 0, caption + 58},             // only buttons show their shortcut
        {1, 150, 150},                    // an own width wins
    };
    for (const auto& c : cases)
    {
        COSMControlPopup control;
        control.SetType(c.type);
        control.SetParent(&bar);
        control.SetCaption("&Open\tCtrl+O");
        control.SetWidth(c.width);
        SCOPED_TRACE(c.type * 1000 + c.width);
        EXPECT_EQ(CSize(c.expectedWidth, 22), Measure(&control));
    }
}

TEST_F(PopupItemTest, HiddenKeyboardCuesStripMnemonicsForMeasuringAndDrawing)
{
    const COLORREF background = pm.GetColor(COLOR_MENU);
    const COLORREF text = pm.GetColor(COLOR_MENUTEXT);
    const struct
    {
        const char* caption;
        BOOL hidden;
        const char* shown;  // the text as it appears
    } cases[] = {
        {"&File", TRUE, "File"},
        {"Save && E&xit", TRUE, "Save & Exit"},
        {"Save && E&xit", FALSE, "Save & Exit"},
        {"&File", FALSE, "File"},
    };
    for (const auto& c : cases)
    {
        HideKeyboardCues(c.hidden);
        COSMControlButton control;
        control.SetParent(&bar);
        control.SetCaption(c.caption);
        control.SetRect(CRect(0, 0, 200, 22));
        SCOPED_TRACE(std::string(c.caption) + (c.hidden ? " hidden" : " shown"));
        EXPECT_EQ(TextExtent(pm.GetRegularFont(), c.shown).cx + 58, Measure(&control).cx);

        DcTestSurface drawn(200, 22, background);
        pm.DrawPopupBarControl(PrepareCanvas(drawn, &pm.GetRegularFont(), text), &control, TRUE);
        // Hidden cues: the stripped caption without prefixes; shown cues: the caption with its underline.
        DcTestSurface expected(200, 22, background);
        CDC* reference = PrepareCanvas(expected, &pm.GetRegularFont(), text);
        CRect rect(22 + 4, 0, 200, 22);
        const CString shownText = c.hidden ? CString(c.shown) : CString(c.caption);
        reference->DrawText(shownText, &rect,
                            DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | (c.hidden ? DT_NOPREFIX : 0));
        EXPECT_EQ(expected.All(), drawn.All());
        EXPECT_GT(drawn.CountNot(background), 0);
    }
}

TEST_F(PopupItemTest, LabelsLookUpIconsOnlyWhenShownAndMayDropTheColumn)
{
    // 24-pixel icons: the icon box is 28 x 30, while the control height stays 22.
    bar.SetIconSize(CSize(24, 24));
    AddIcon(kItemId);
    const int caption = TextExtent(pm.GetRegularFont(), "Label").cx;
    const struct
    {
        int style;
        BOOL icon;
        BOOL column;
        size_t lookups;
        int columnWidth;
        int height;
    } cases[] = {
        {1, TRUE, FALSE, 0, 0, 22},   // caption only: no lookup, the control's height
        {3, TRUE, FALSE, 1, 28, 30},  // an icon keeps the column
        {3, FALSE, FALSE, 1, 0, 30},  // no icon, option off: the caption moves left
        {3, FALSE, TRUE, 1, 28, 30},  // no icon, option on: the column stays
        {1, FALSE, TRUE, 0, 28, 22},
    };
    for (const auto& c : cases)
    {
        CountingLabel label;
        label.SetParent(&bar);
        label.SetStyle(c.style);
        label.SetCaption("Label");
        label.SetID(c.icon ? kItemId : kItemId + 1);
        pm.m_labelIconColumn = c.column;
        SCOPED_TRACE(c.style * 100 + c.icon * 10 + c.column);
        EXPECT_EQ(CSize(c.columnWidth + 4 + caption + 32, c.height), Measure(&label));
        ASSERT_EQ(c.lookups, label.widths.size());
        if (c.lookups)
        {
            EXPECT_EQ(24, label.widths[0]);
        }
    }
}

TEST_F(PopupItemTest, TextRectanglesFollowTheColumnGapAndShortcut)
{
    const int shortcut = TextExtent(pm.GetRegularFont(), "F5").cx;
    const struct
    {
        int type;
        BOOL column;
        CRect caption;
        CRect shortcut;  // empty: no shortcut drawn
    } cases[] = {
        {8, FALSE, CRect(14, 5, 210, 27), CRect()},
        {8, TRUE, CRect(10 + 22 + 4, 5, 210, 27), CRect()},
        {1, TRUE, CRect(36, 5, 210 - shortcut - 19, 27), CRect(10 + 8 + 22, 5, 210 - 19, 27)},
    };
    for (const auto& c : cases)
    {
        RecordingPaintManager recorder;
        recorder.RefreshMetrics();
        recorder.SetControlHeight(18);
        recorder.m_labelIconColumn = c.column;
        COSMControlButton control;
        control.SetType(c.type);
        control.SetParent(&bar);
        control.SetCaption("Refresh\tF5");
        control.SetID(kItemId + 2);
        control.SetRect(CRect(10, 5, 210, 27));
        DcTestSurface surface(220, 32, recorder.GetColor(COLOR_MENU));
        recorder.DrawPopupBarControl(PrepareCanvas(surface, &pm.GetRegularFont(), 0), &control, TRUE);
        SCOPED_TRACE(c.type * 10 + c.column);
        ASSERT_EQ(c.shortcut.IsRectEmpty() ? 1u : 2u, recorder.rects.size());
        EXPECT_EQ(c.caption, recorder.rects[0]);
        EXPECT_EQ(static_cast<UINT>(DT_END_ELLIPSIS), recorder.formats[0]);
        if (!c.shortcut.IsRectEmpty())
        {
            EXPECT_EQ(c.shortcut, recorder.rects[1]);
            EXPECT_EQ(static_cast<UINT>(DT_END_ELLIPSIS | DT_RIGHT), recorder.formats[1]);
        }
    }
}

TEST_F(PopupItemTest, DescriptionItemsReserveTwoLinesUnderABoldCaption)
{
    const char* const kLong = "Opens a document that was saved before and shows it in a new window";
    const struct
    {
        const char* description;
    } cases[] = {{"Go"}, {kLong}};
    for (const auto& c : cases)
    {
        COSMControlButton control;
        control.SetParent(&bar);
        control.SetStyle(5);
        control.SetCaption("&Open\tCtrl+O");
        control.SetDescription(c.description);
        SCOPED_TRACE(c.description);

        const int caption = TextExtent(pm.GetBoldFont(), "Open").cx;
        const int shortcut = TextExtent(pm.GetBoldFont(), "Ctrl+O").cx;
        const int description = TextExtent(pm.GetRegularFont(), c.description).cx;
        DcTestSurface scratch(8, 8);
        CDC* dc = PrepareCanvas(scratch, &pm.GetRegularFont(), 0);
        CRect twoLines(0, 0, (description + 20) / 2, 0);
        dc->DrawText("1\n2", 3, &twoLines, DT_CALCRECT | DT_WORDBREAK);
        const int captionHeight = TextExtent(pm.GetBoldFont(), "Open").cy;
        const CSize expected(std::max(22 + 4 + caption + 32 + shortcut, 22 + 4 + 32 + description / 2),
                             std::max(22, twoLines.Height() + 19 + captionHeight));
        EXPECT_EQ(expected, Measure(&control));
    }

    // Drawn: the bold caption and shortcut on the top line, the description below from the caption's left edge.
    COSMControlButton control;
    control.SetParent(&bar);
    control.SetStyle(5);
    control.SetCaption("Open\tCtrl+O");
    control.SetDescription(kLong);
    control.SetRect(CRect(0, 0, 240, 60));
    const COLORREF background = pm.GetColor(COLOR_MENU);
    const COLORREF text = pm.GetColor(COLOR_MENUTEXT);
    DcTestSurface drawn(240, 60, background);
    EXPECT_EQ(CSize(0, 0), pm.DrawPopupBarControl(PrepareCanvas(drawn, &pm.GetRegularFont(), text), &control, TRUE));

    DcTestSurface expected(240, 60, background);
    CDC* reference = PrepareCanvas(expected, &pm.GetBoldFont(), text);
    const int line = TextExtent(pm.GetBoldFont(), " ").cy;
    const int shortcut = TextExtent(pm.GetBoldFont(), "Ctrl+O").cx;
    CRect captionRect(26, 0, 240 - shortcut - 19, 10 + line);
    reference->DrawText("Open", 4, &captionRect, DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
    CRect shortcutRect(30, 0, 240 - 19, 10 + line);
    reference->DrawText("Ctrl+O", 6, &shortcutRect, DT_END_ELLIPSIS | DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    reference->SelectObject(&pm.GetRegularFont());
    CRect descriptionRect(26, 10 + line - 2, 230, 60);
    reference->DrawText(kLong, static_cast<int>(strlen(kLong)), &descriptionRect, DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(expected.All(), drawn.All());
    // The description wraps onto a second line.
    EXPECT_GT(foundation_test::ChangedPixels(drawn, background).bottom, 10 + line + line);
}
