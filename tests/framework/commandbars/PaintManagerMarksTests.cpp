// The paint manager's small drawing operations on DIB sections: caption splitting, marks, glyphs, popup text,
// control dispatch, text colours and split-button geometry.
#include "classlib/DC.h"
#include "tests/support/DcTestSurface.h"
#include "PaintManagerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using foundation_test::ChangedPixels;
using foundation_test::DcTestSurface;
using foundation_test::MetricsPaintManager;
using foundation_test::PaintManagerTest;

namespace {

class RefreshedPaintManagerTest : public PaintManagerTest
{
protected:
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        pm.RefreshMetrics();
    }
    MetricsPaintManager pm;
};

}  // namespace

TEST(SplitCaptionTest, SplitsAtTheSpaceNearestTheMiddle)
{
    const struct
    {
        const char* caption;
        const char* first;
        const char* second;
    } cases[] = {
        {"abcd efg hij", "abcd efg", "hij"},  // spaces at 4 and 7: 7 is nearer the middle
        {"abcdefghijkl", "abcdefghijkl", ""},
        {" bcdefghijkl", " bcdefghijkl", ""},  // a space only at index 0
        {"a bcdefghijk", "a bcdefghijk", ""},  // the space lies outside the window
        {"New Window", "New", "Window"},
        {"ab cd", "ab", "cd"},
        {"", "", ""},
    };
    for (const auto& c : cases)
    {
        CString first = "x", second = "y";
        SplitCaptionInTwoLines(c.caption, first, second);
        EXPECT_STREQ(c.first, first) << c.caption;
        EXPECT_STREQ(c.second, second) << c.caption;
    }
}

TEST_F(RefreshedPaintManagerTest, ClassicMarksMatchDrawFrameControl)
{
    const struct
    {
        BOOL radio;
        BOOL pressed;
        int checked;
        BOOL enabled;
        UINT expected;
    } cases[] = {
        {FALSE, FALSE, 0, TRUE, DFCS_BUTTONCHECK},
        {FALSE, FALSE, 1, TRUE, DFCS_BUTTONCHECK | DFCS_CHECKED},
        {FALSE, FALSE, 2, TRUE, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE},
        {FALSE, TRUE, 0, TRUE, DFCS_BUTTONCHECK | DFCS_PUSHED},
        {FALSE, FALSE, 1, FALSE, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE},
        {TRUE, FALSE, 1, TRUE, DFCS_BUTTONRADIO | DFCS_CHECKED},
        {TRUE, TRUE, 0, FALSE, DFCS_BUTTONRADIO | DFCS_PUSHED | DFCS_INACTIVE},
    };
    for (const auto& c : cases)
    {
        const COLORREF background = ::GetSysColor(COLOR_BTNFACE);
        DcTestSurface drawn(13, 13, background);
        DcTestSurface expected(13, 13, background);
        CRect rect(0, 0, 13, 13);
        CDC* dc = CDC::FromHandle(drawn.GetDC());
        const CSize size = c.radio ? pm.DrawRadioButtonMark(dc, rect, TRUE, FALSE, c.pressed, c.checked, c.enabled)
                                   : pm.DrawCheckBoxMark(dc, rect, TRUE, FALSE, c.pressed, c.checked, c.enabled);
        ::DrawFrameControl(expected.GetDC(), &rect, DFC_BUTTON, c.expected);
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(CSize(13, 13), size);
        EXPECT_EQ(expected.All(), drawn.All());
        EXPECT_GT(drawn.CountNot(background), 0);
    }
}

TEST_F(RefreshedPaintManagerTest, MarksOnlyMeasureWithoutTheDrawFlag)
{
    const COLORREF background = ::GetSysColor(COLOR_BTNFACE);
    DcTestSurface surface(13, 13, background);
    CDC* dc = CDC::FromHandle(surface.GetDC());
    EXPECT_EQ(CSize(13, 13), pm.DrawCheckBoxMark(dc, CRect(0, 0, 13, 13), FALSE, FALSE, FALSE, 1, TRUE));
    EXPECT_EQ(CSize(13, 13), pm.DrawRadioButtonMark(dc, CRect(0, 0, 13, 13), FALSE, FALSE, FALSE, 1, TRUE));
    EXPECT_EQ(0, surface.CountNot(background));
}

TEST_F(RefreshedPaintManagerTest, ThemedMarksWithoutAnOpenButtonStyleDrawClassic)
{
    // The option is on but the style was never opened: the classic mark must still show.
    pm.m_themedCheckMarks = TRUE;
    pm.GetButtonTheme().CloseThemeData();
    foundation_test::ExpectClassicCheckMark(pm);
}

TEST_F(RefreshedPaintManagerTest, DownTriangleInATenPixelRectangle)
{
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    const COLORREF color = pm.GetColor(COLOR_WINDOWTEXT);
    DcTestSurface surface(10, 10, background);
    pm.DrawDownTriangle(CDC::FromHandle(surface.GetDC()), CRect(0, 0, 10, 10), color);
    // Half-width 2 around x = 5, top edge at y = 4, tip at y = 6.
    EXPECT_EQ(CRect(3, 4, 8, 7), ChangedPixels(surface, background));
    EXPECT_EQ(color, surface.Pixel(5, 5));
    EXPECT_EQ(color, surface.Pixel(5, 6));
    EXPECT_EQ(background, surface.Pixel(3, 6));
}

TEST_F(RefreshedPaintManagerTest, DropDownGlyphIsFiveByThree)
{
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    const struct
    {
        BOOL enabled;
        BOOL vertical;
        CRect bounds;
        int colorIndex;
    } cases[] = {{TRUE, FALSE, CRect(8, 9, 13, 12), COLOR_BTNTEXT},
                 {FALSE, FALSE, CRect(8, 9, 13, 12), COLOR_GRAYTEXT},
                 {TRUE, TRUE, CRect(10, 8, 13, 13), COLOR_BTNTEXT}};
    for (const auto& c : cases)
    {
        DcTestSurface surface(20, 20, background);
        COSMControl control;
        pm.DrawDropDownGlyph(CDC::FromHandle(surface.GetDC()), &control, CPoint(10, 10), FALSE, FALSE, c.enabled,
                             c.vertical);
        EXPECT_EQ(c.bounds, ChangedPixels(surface, background)) << c.enabled << c.vertical;
        EXPECT_EQ(pm.GetColor(c.colorIndex), surface.Pixel(10, 10));
    }
}

TEST_F(RefreshedPaintManagerTest, CheckGlyphOnBothDirections)
{
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    const COLORREF color = pm.GetColor(COLOR_WINDOWTEXT);
    DcTestSurface ltr(20, 20, background);
    pm.DrawMenuCheckMark(CDC::FromHandle(ltr.GetDC()), CRect(0, 0, 20, 20), color, TRUE);
    for (POINT p : {POINT{6, 9}, POINT{8, 11}, POINT{10, 9}, POINT{6, 10}, POINT{8, 12}, POINT{12, 7}})
        EXPECT_EQ(color, ltr.Pixel(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(CRect(6, 7, 13, 13), ChangedPixels(ltr, background));

    // A mirrored DC: logical x lands at width - 1 - x.
    DcTestSurface rtl(20, 20, background);
    ::SetLayout(rtl.GetDC(), LAYOUT_RTL);
    pm.DrawMenuCheckMark(CDC::FromHandle(rtl.GetDC()), CRect(0, 0, 20, 20), color, TRUE);
    for (POINT p : {POINT{6, 7}, POINT{8, 9}, POINT{10, 11}, POINT{6, 8}, POINT{10, 12}, POINT{12, 9}})
        EXPECT_EQ(color, rtl.Pixel(19 - p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(RefreshedPaintManagerTest, BoldCheckMarkDrawsTwice)
{
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    const COLORREF color = pm.GetColor(COLOR_WINDOWTEXT);
    DcTestSurface surface(20, 20, background);
    pm.m_boldCheckMark = TRUE;
    pm.DrawMenuCheckMark(CDC::FromHandle(surface.GetDC()), CRect(0, 0, 20, 20), color, TRUE);
    EXPECT_EQ(CRect(6, 7, 13, 14), ChangedPixels(surface, background));
    EXPECT_EQ(color, surface.Pixel(8, 13));
}

TEST_F(RefreshedPaintManagerTest, SmoothEllipse)
{
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const COLORREF border = pm.GetColor(COLOR_HIGHLIGHT);
    const COLORREF fill = pm.GetColor(COLOR_WINDOW);
    DcTestSurface surface(21, 21, background);
    pm.DrawSmoothEllipse(CDC::FromHandle(surface.GetDC()), CRect(0, 0, 21, 21), border, fill);
    // Centre (10, 10), radius 9.75.
    EXPECT_EQ(fill, surface.Pixel(10, 10));
    EXPECT_EQ(fill, surface.Pixel(10, 2));
    EXPECT_EQ(background, surface.Pixel(0, 0));
    EXPECT_EQ(background, surface.Pixel(20, 20));
    // (10, 0) lies 10 from the centre: a quarter of the way from the border colour to the background.
    auto mix = [](int b, int base) { return static_cast<int>(b + (base - b) * 0.25); };
    EXPECT_EQ(RGB(mix(GetRValue(border), GetRValue(background)), mix(GetGValue(border), GetGValue(background)),
                  mix(GetBValue(border), GetBValue(background))),
              surface.Pixel(10, 0));
    // (10, 1) lies 9 from the centre: three quarters towards the fill.
    auto mixIn = [](int b, int base) { return static_cast<int>(b + (base - b) * 0.75); };
    EXPECT_EQ(RGB(mixIn(GetRValue(border), GetRValue(fill)), mixIn(GetGValue(border), GetGValue(fill)),
                  mixIn(GetBValue(border), GetBValue(fill))),
              surface.Pixel(10, 1));
}

TEST_F(RefreshedPaintManagerTest, MenuRadioMarkIsSixBySix)
{
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    const COLORREF color = pm.GetColor(COLOR_WINDOWTEXT);
    DcTestSurface surface(20, 20, background);
    pm.DrawMenuRadioMark(CDC::FromHandle(surface.GetDC()), CRect(0, 0, 20, 20), color, TRUE);
    const CRect bounds = ChangedPixels(surface, background);
    EXPECT_TRUE(CRect(7, 7, 13, 13).PtInRect(bounds.TopLeft()));
    EXPECT_LE(bounds.right, 13);
    EXPECT_LE(bounds.bottom, 13);
    EXPECT_EQ(color, surface.Pixel(9, 9));
    EXPECT_EQ(color, surface.Pixel(10, 10));
}

TEST_F(RefreshedPaintManagerTest, FillFramedRect)
{
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    const struct
    {
        int frame;
        int fill;
        COLORREF edge;
        COLORREF inside;
    } cases[] = {{COLOR_BTNSHADOW, -1, pm.GetColor(COLOR_BTNSHADOW), background},
                 {COLOR_BTNSHADOW, COLOR_BTNFACE, pm.GetColor(COLOR_BTNSHADOW), pm.GetColor(COLOR_BTNFACE)},
                 {COLOR_BTNFACE, COLOR_BTNFACE, pm.GetColor(COLOR_BTNFACE), pm.GetColor(COLOR_BTNFACE)},
                 {-1, COLOR_BTNFACE, pm.GetColor(COLOR_BTNFACE), pm.GetColor(COLOR_BTNFACE)}};
    for (const auto& c : cases)
    {
        DcTestSurface surface(12, 12, background);
        pm.FillFramedRect(CDC::FromHandle(surface.GetDC()), CRect(1, 1, 11, 11), c.frame, c.fill);
        SCOPED_TRACE(c.frame * 100 + c.fill);
        EXPECT_EQ(c.edge, surface.Pixel(1, 1));
        EXPECT_EQ(c.edge, surface.Pixel(10, 10));
        EXPECT_TRUE(surface.AllPixels(CRect(2, 2, 10, 10), c.inside));
        EXPECT_EQ(background, surface.Pixel(0, 0));
    }
}

TEST_F(RefreshedPaintManagerTest, PopupBarTextEmbossesDisabledText)
{
    LOGFONTA logFont{};
    logFont.lfHeight = -14;
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(logFont.lfFaceName, "Tahoma", LF_FACESIZE);
    CFont font;
    font.CreateFontIndirect(&logFont);
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const COLORREF emboss = pm.GetColor(COLOR_BTNHIGHLIGHT);
    const COLORREF text = pm.GetColor(COLOR_GRAYTEXT);

    const struct
    {
        BOOL embossOption;
        BOOL selected;
        BOOL enabled;
        bool embossed;
    } cases[] = {{TRUE, FALSE, FALSE, true},
                 {FALSE, FALSE, FALSE, false},
                 {TRUE, TRUE, FALSE, false},
                 {TRUE, FALSE, TRUE, false}};
    for (const auto& c : cases)
    {
        DcTestSurface surface(80, 24, background);
        CDC* dc = CDC::FromHandle(surface.GetDC());
        dc->SelectObject(&font);
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(text);
        pm.m_embossedDisabledText = c.embossOption;
        CRect rect(2, 2, 78, 22);
        const int height = pm.DrawPopupBarText(dc, "Wg", rect, DT_LEFT, TRUE, c.selected, c.enabled);

        // DrawText's own answer for the same text, flags and rectangle, drawn on a surface of its own.
        DcTestSurface reference(80, 24, background);
        ::SelectObject(reference.GetDC(), font.GetSafeHandle());
        CRect measured(2, 2, 78, 22);
        const int expectedHeight =
            ::DrawTextA(reference.GetDC(), "Wg", 2, &measured, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        SCOPED_TRACE(c.embossOption * 100 + c.selected * 10 + c.enabled);
        EXPECT_EQ(expectedHeight, height);
        int embossPixels = 0;
        for (COLORREF pixel : surface.All())
            embossPixels += pixel == emboss;
        EXPECT_EQ(c.embossed, embossPixels > 0);
        EXPECT_EQ(text, dc->GetTextColor());
        EXPECT_GT(surface.CountNot(background), 0);
    }
}

namespace {

class DispatchPaintManager : public MetricsPaintManager
{
public:
    std::string called;
    CSize DrawPopupBarControl(CDC*, COSMControl*, BOOL) override { return Record("popup", 1); }
    CSize DrawToolBarControl(CDC*, COSMControl*, BOOL) override { return Record("toolbar", 2); }
    CSize DrawComboBoxControl(CDC*, COSMControl*, BOOL) override { return Record("combo", 3); }
    CSize DrawEditControl(CDC*, COSMControl*, BOOL) override { return Record("edit", 4); }

private:
    CSize Record(const char* name, int width)
    {
        called = name;
        return CSize(width, width);
    }
};

}  // namespace

TEST_F(PaintManagerTest, DrawControlDispatchesByTypeAndBar)
{
    const struct
    {
        int controlType;
        int barType;
        const char* expected;
    } cases[] = {{6, 1, "edit"},  {6, 2, "edit"},    {5, 2, "combo"},   {1, 2, "popup"},
                 {2, 2, "popup"}, {1, 1, "toolbar"}, {9, 0, "toolbar"}, {5, 0, "combo"}};
    for (const auto& c : cases)
    {
        DispatchPaintManager pm;
        COSMCommandBar bar;
        bar.SetType(c.barType);
        COSMControl control;
        control.SetType(c.controlType);
        control.SetParent(&bar);
        pm.DrawControl(nullptr, &control, FALSE);
        EXPECT_EQ(c.expected, pm.called) << c.controlType << " on " << c.barType;
    }
}

TEST_F(RefreshedPaintManagerTest, ControlTextColours)
{
    const struct
    {
        int type;
        int style;
        int enabled;
        int selected;
        int barType;
        const char* expectedCall;
        int colorIndex;
    } cases[] = {
        {9, 0, 1, 1, 1, "GetStateTextColor(0,0,1,0,0,1,0)", COLOR_BTNTEXT},
        {11, 0, 0, 1, 0, "GetStateTextColor(0,0,0,0,0,0,0)", COLOR_GRAYTEXT},
        {9, 0, 1, 1, 2, "GetStateTextColor(1,0,1,0,0,2,0)", COLOR_BTNTEXT},
        {4, 4, 4, 0, 1, "GetStateTextColor(0,0,0,0,0,1,0)", COLOR_GRAYTEXT},
        {4, 0, 5, 0, 1, "GetStateTextColor(0,0,0,0,0,1,0)", COLOR_GRAYTEXT},
        {4, 0, 4, 0, 1, "GetStateTextColor(0,0,4,0,0,1,0)", COLOR_BTNTEXT},
        {1, 0, 5, 0, 1, "GetStateTextColor(0,0,5,0,0,1,0)", COLOR_BTNTEXT},
    };
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        bar.SetType(c.barType);
        bar.SetPosition(0);
        COSMControl control;
        control.SetParent(&bar);
        control.SetType(c.type);
        control.SetStyle(c.style);
        control.SetEnabled(c.enabled);
        control.SetSelected(c.selected);
        pm.ClearCalls();
        EXPECT_EQ(pm.GetColor(c.colorIndex), pm.GetControlTextColor(&control)) << c.expectedCall;
        ASSERT_EQ(1u, pm.GetCalls().size());
        EXPECT_EQ(c.expectedCall, pm.GetCalls()[0]);
    }
}

TEST_F(RefreshedPaintManagerTest, EditBackColourAndControlBackground)
{
    COSMCommandBar bar;
    COSMControl control;
    control.SetParent(&bar);
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), pm.GetControlEditBackColor(&control));
    control.SetEnabled(0);
    EXPECT_EQ(pm.GetColor(COLOR_BTNFACE), pm.GetControlEditBackColor(&control));

    control.SetEnabled(1);
    control.SetSelected(1);
    control.SetRect(CRect(1, 2, 30, 24));
    bar.SetPosition(3);
    DcTestSurface surface(40, 40, pm.GetColor(COLOR_WINDOW));
    pm.ClearCalls();
    pm.DrawControlBackground(CDC::FromHandle(surface.GetDC()), &control);
    ASSERT_EQ(1u, pm.GetCalls().size());
    EXPECT_EQ("DrawStateRectangle(1,2,30,24,1,0,1,0,0,1,3)", pm.GetCalls()[0]);
    // The test paint manager frames a selected control in colour 16.
    EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), surface.Pixel(1, 2));
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), surface.Pixel(5, 5));
}

TEST_F(PaintManagerTest, SplitButtonCommandRect)
{
    const struct
    {
        int barType;
        int position;
        int style;
        CRect expected;
    } cases[] = {
        {1, 0, 0, CRect(0, 0, 88, 60)},    // toolbar: 11 + 1
        {2, 5, 0, CRect(0, 0, 80, 60)},    // popup: 20
        {2, 5, 4, CRect(0, 0, 80, 60)},    // style 4 on a popup is still the side split
        {1, 0, 4, CRect(0, 0, 100, 33)},   // caption below the icon: the bottom gives 2 * 22 - 17
        {1, 2, 4, CRect(27, 0, 100, 60)},  // and on a vertical bar the left edge
    };
    for (const auto& c : cases)
    {
        MetricsPaintManager pm;
        pm.SetControlHeight(16);
        COSMCommandBar bar;
        bar.SetType(c.barType);
        bar.SetPosition(c.position);
        COSMControl control;
        control.SetParent(&bar);
        control.SetStyle(c.style);
        control.SetRect(CRect(0, 0, 100, 60));
        EXPECT_EQ(c.expected, pm.GetSplitButtonCommandRect(&control)) << c.barType << " " << c.style;
    }
}

TEST_F(RefreshedPaintManagerTest, DockedBarsAndMissingDcsHaveNoGripper)
{
    COSMCommandBar bar;
    DcTestSurface surface(40, 40, pm.GetColor(COLOR_BTNFACE));
    CDC* dc = CDC::FromHandle(surface.GetDC());
    for (int position : {0, 1, 2, 3})
    {
        bar.SetPosition(position);
        EXPECT_EQ(CSize(0, 0), pm.DrawCommandBarGripper(dc, &bar, TRUE)) << position;
    }
    bar.SetPosition(4);
    EXPECT_EQ(CSize(0, 0), pm.DrawCommandBarGripper(nullptr, &bar, TRUE));
    EXPECT_EQ(0, surface.CountNot(pm.GetColor(COLOR_BTNFACE)));
}
