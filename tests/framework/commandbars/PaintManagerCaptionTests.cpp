// Control captions: one and two lines, mnemonics by the keyboard-cue override and the bar, embossed disabled text,
// drop-down room, vertical text, and the buffered visual-style text of composited captions against the stand-in
// theme library, which must always end in visible text.
#include "ControlPaintTestSupport.h"
#include "ThemeStubLibrary.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ControlButton.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using foundation_test::ChangedPixels;
using foundation_test::ControlPaintTest;
using foundation_test::DcTestSurface;
using foundation_test::PrepareCanvas;
using foundation_test::TextExtent;
using foundation_test::UnsmoothedLogFont;

namespace {

class CaptionTest : public ControlPaintTest
{
protected:
    void SetUp() override
    {
        ControlPaintTest::SetUp();
        control.SetParent(&bar);
    }
    COSMControlButton control;
};

}  // namespace

TEST_F(CaptionTest, TwoLinesAreTwentyFourTallWhateverTheFont)
{
    const struct
    {
        LONG fontHeight;
        BOOL twoLineOption;
        BOOL dropDown;
        BOOL vertical;
    } cases[] = {
        {-9, TRUE, FALSE, FALSE}, {-13, TRUE, FALSE, FALSE}, {-30, TRUE, FALSE, FALSE},
        {-13, TRUE, TRUE, FALSE}, {-30, TRUE, TRUE, TRUE},   {-13, FALSE, FALSE, FALSE},
    };
    control.SetCaption("&New Window");
    for (const auto& c : cases)
    {
        CFont font;
        const LOGFONTA logFont = UnsmoothedLogFont(c.fontHeight);
        font.CreateFontIndirect(&logFont);
        pm.m_twoLineCaptions = c.twoLineOption;
        DcTestSurface surface(8, 8);
        const CSize size = pm.DrawControlCaptionTwoLines(PrepareCanvas(surface, &font, 0), &control, CRect(), FALSE,
                                                         c.vertical, c.dropDown);
        const int first = TextExtent(font, c.twoLineOption ? "New" : "New Window").cx;
        const int second =
            c.twoLineOption ? TextExtent(font, "Window").cx + (c.dropDown ? 8 : 0) : (c.dropDown ? 8 : 0);
        const CSize expected(std::max(first, second), 24);
        SCOPED_TRACE(c.fontHeight * 1000 + c.twoLineOption * 100 + c.dropDown * 10 + c.vertical);
        EXPECT_EQ(c.vertical ? CSize(expected.cy, expected.cx) : expected, size);
    }
}

TEST_F(CaptionTest, KeyboardCueOverrideDecidesOverTheBar)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    bar.SetCommandBars(commandBars.Get());
    control.SetCaption("&A");
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const COLORREF text = pm.GetColor(COLOR_BTNTEXT);
    const CRect rect(2, 2, 60, 22);
    auto reference = [&](BOOL underlined) {
        auto surface = std::make_unique<DcTestSurface>(64, 24, background);
        CDC* dc = PrepareCanvas(*surface, &pm.GetRegularFont(), text);
        CRect r = rect;
        if (underlined)
            dc->DrawText("&A", 2, &r, DT_SINGLELINE | DT_VCENTER);
        else
            dc->DrawText("A", 1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return surface;
    };
    const auto underlined = reference(TRUE);
    const auto plain = reference(FALSE);
    ASSERT_NE(underlined->All(), plain->All());

    const struct
    {
        int override;
        BOOL barShowsCues;
        BOOL shown;
    } cases[] = {{1, FALSE, TRUE}, {0, TRUE, FALSE}, {-1, TRUE, TRUE}, {-1, FALSE, FALSE}, {5, FALSE, TRUE}};
    for (const auto& c : cases)
    {
        commandBars->SetKeyboardCuesShown(c.barShowsCues);
        pm.m_keyboardCues = c.override;
        DcTestSurface drawn(64, 24, background);
        EXPECT_EQ(CSize(0, 0), pm.DrawControlCaptionOneLine(PrepareCanvas(drawn, &pm.GetRegularFont(), text), &control,
                                                            rect, TRUE, FALSE, FALSE, FALSE));
        EXPECT_EQ((c.shown ? underlined : plain)->All(), drawn.All()) << c.override << " " << c.barShowsCues;
    }
    bar.SetCommandBars(nullptr);
    commandBars.Reset();
}

TEST_F(CaptionTest, DisabledCaptionsAreEmbossedInColourTwentyFirst)
{
    control.SetCaption("Wide");
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const COLORREF text = pm.GetColor(COLOR_GRAYTEXT);
    const COLORREF emboss = pm.GetColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(background, emboss);
    ASSERT_NE(text, emboss);
    const CRect rect(2, 2, 60, 22);
    const struct
    {
        int enabled;
        BOOL option;
        bool embossed;
    } cases[] = {{0, TRUE, true}, {0, FALSE, false}, {1, TRUE, false}};
    for (const auto& c : cases)
    {
        control.SetEnabled(c.enabled);
        pm.m_embossedDisabledText = c.option;
        DcTestSurface drawn(64, 24, background);
        CDC* dc = PrepareCanvas(drawn, &pm.GetRegularFont(), text);
        pm.DrawControlCaptionOneLine(dc, &control, rect, TRUE, FALSE, FALSE, FALSE);

        DcTestSurface expected(64, 24, background);
        CDC* reference = PrepareCanvas(expected, &pm.GetRegularFont(), emboss);
        if (c.embossed)
        {
            CRect shifted = rect + CPoint(1, 1);
            reference->DrawText("Wide", 4, &shifted, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        reference->SetTextColor(text);
        CRect plain = rect;
        reference->DrawText("Wide", 4, &plain, DT_SINGLELINE | DT_VCENTER);
        SCOPED_TRACE(c.enabled * 10 + c.option);
        EXPECT_EQ(expected.All(), drawn.All());
        const std::vector<COLORREF> pixels = drawn.All();
        EXPECT_EQ(c.embossed, std::count(pixels.begin(), pixels.end(), emboss) > 0);
        // The previous text colour comes back.
        EXPECT_EQ(text, dc->GetTextColor());
    }
}

TEST_F(CaptionTest, OneLineMeasureLeavesRoomForTheDropDown)
{
    control.SetCaption("&Zoom");
    const CSize text = TextExtent(pm.GetRegularFont(), "Zoom");
    const CSize space = TextExtent(pm.GetRegularFont(), " ");
    const struct
    {
        const char* caption;
        BOOL dropDown;
        BOOL spacing;
        BOOL vertical;
        CSize expected;
    } cases[] = {
        {"&Zoom", FALSE, FALSE, FALSE, text},
        {"&Zoom", TRUE, FALSE, FALSE, CSize(text.cx + 10, text.cy)},
        {"&Zoom", TRUE, TRUE, FALSE, CSize(text.cx + 8, text.cy)},
        {"&Zoom", TRUE, FALSE, TRUE, CSize(text.cy, text.cx + 10)},
        {"", FALSE, FALSE, FALSE, space},
    };
    for (const auto& c : cases)
    {
        control.SetCaption(c.caption);
        pm.m_captionSpacingOption = c.spacing;
        DcTestSurface surface(8, 8);
        const CSize size = pm.DrawControlCaptionOneLine(PrepareCanvas(surface, &pm.GetRegularFont(), 0), &control,
                                                        CRect(), FALSE, c.vertical, FALSE, c.dropDown);
        EXPECT_EQ(c.expected, size) << c.caption << c.dropDown << c.spacing << c.vertical;
    }
}

TEST_F(CaptionTest, DropDownGlyphFollowsTheText)
{
    // The caption in one colour, the glyph in the state colour (the test paint manager's button-text colour).
    control.SetCaption("Zoom");
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    const COLORREF text = RGB(200, 0, 0);
    const COLORREF glyph = pm.GetColor(COLOR_BTNTEXT);
    const int width = TextExtent(pm.GetRegularFont(), "Zoom").cx;
    const struct
    {
        BOOL centred;
        int left;
    } cases[] = {{FALSE, 4}, {TRUE, 4 + (96 - (width + 5)) / 2}};
    for (const auto& c : cases)
    {
        DcTestSurface drawn(100, 24, background);
        pm.DrawControlCaptionOneLine(PrepareCanvas(drawn, &pm.GetRegularFont(), text), &control, CRect(4, 0, 100, 24),
                                     TRUE, FALSE, c.centred, TRUE);
        const int x = c.left + width + 5;
        SCOPED_TRACE(c.centred);
        EXPECT_EQ(glyph, drawn.Pixel(x, 12));
        EXPECT_EQ(CRect(x - 2, 11, x + 3, 14), ChangedPixels(drawn, background, CRect(x - 3, 0, 100, 24)));
        // Left of the glyph: the caption as DrawText puts it at the layout's left edge.
        DcTestSurface expected(100, 24, background);
        CRect textRect(c.left, 0, 100, 24);
        PrepareCanvas(expected, &pm.GetRegularFont(), text)->DrawText("Zoom", 4, &textRect, DT_SINGLELINE | DT_VCENTER);
        EXPECT_EQ(foundation_test::Columns(expected, 0, x - 3), foundation_test::Columns(drawn, 0, x - 3));
    }
}

TEST_F(CaptionTest, VerticalCaptionsAreCentredAcrossTheColumn)
{
    control.SetCaption("&Tools");
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const CSize text = TextExtent(pm.GetVerticalFont(), "Tools");
    DcTestSurface drawn(30, 100, background);
    pm.DrawControlCaptionOneLine(PrepareCanvas(drawn, &pm.GetVerticalFont(), pm.GetColor(COLOR_BTNTEXT)), &control,
                                 CRect(0, 10, 30, 100), TRUE, TRUE, FALSE, FALSE);
    const CRect bounds = ChangedPixels(drawn, background);
    ASSERT_LT(bounds.left, bounds.right);
    // The rotated text runs down from the top (its first glyph may reach one pixel above), its cell centred across
    // the 30-pixel column.
    EXPECT_GE(bounds.top, 9);
    EXPECT_LE(bounds.bottom, 10 + text.cx + 1);
    EXPECT_GE(bounds.left, (30 - text.cy) / 2 - 1);
    EXPECT_LE(bounds.right, (30 + text.cy) / 2 + 2);
    // Mnemonics never show on vertical text: no underline column beside the glyphs.
    control.SetCaption("Tools");
    DcTestSurface plain(30, 100, background);
    pm.DrawControlCaptionOneLine(PrepareCanvas(plain, &pm.GetVerticalFont(), pm.GetColor(COLOR_BTNTEXT)), &control,
                                 CRect(0, 10, 30, 100), TRUE, TRUE, FALSE, FALSE);
    EXPECT_EQ(plain.All(), drawn.All());
}

// ---- The buffered text of composited captions ----

namespace {

class BufferedCaptionTest : public ControlPaintTest, protected ThemeStubLibrary
{
protected:
    BufferedCaptionTest() : ThemeStubLibrary(FALSE) {}
    void SetUp() override
    {
        ControlPaintTest::SetUp();
        SetUpThemeStub();
    }

    // DrawTextA's pixels for the text on a canvas like the one drawn on.
    std::vector<COLORREF> PlainText(const char* text, CRect rect, UINT format)
    {
        DcTestSurface expected(80, 24, pm.GetColor(COLOR_BTNFACE));
        CDC* dc = PrepareCanvas(expected, &pm.GetRegularFont(), pm.GetColor(COLOR_BTNTEXT));
        ::DrawTextA(dc->GetSafeHdc(), text, -1, &rect, format);
        return expected.All();
    }
};

}  // namespace

TEST_F(BufferedCaptionTest, EveryFailureOnTheBufferedPathEndsInPlainText)
{
    const struct
    {
        const char* name;
        BOOL composited;
        BOOL openFails;
        BOOL appThemed;
        BOOL bufferFails;
        HRESULT textResult;
        LONG begins;
        LONG themedTexts;
        LONG ends;
    } cases[] = {
        {"not composited", FALSE, FALSE, TRUE, FALSE, S_OK, 0, 0, 0},
        {"styles off", TRUE, FALSE, FALSE, FALSE, S_OK, 0, 0, 0},
        {"no GLOBALS", TRUE, TRUE, TRUE, FALSE, S_OK, 0, 0, 0},
        {"no buffer", TRUE, FALSE, TRUE, TRUE, S_OK, 1, 0, 0},
        {"themed text fails", TRUE, FALSE, TRUE, FALSE, E_FAIL, 1, 1, 1},
    };
    const CRect rect(4, 2, 76, 22);
    const UINT format = DT_SINGLELINE | DT_VCENTER;
    for (const auto& c : cases)
    {
        ResetThemeStub(m_stub);
        m_stub->openFails = c.openFails;
        m_stub->appThemed = c.appThemed;
        m_stub->bufferFails = c.bufferFails;
        m_stub->textExResult = c.textResult;
        DcTestSurface drawn(80, 24, pm.GetColor(COLOR_BTNFACE));
        CDC* dc = PrepareCanvas(drawn, &pm.GetRegularFont(), pm.GetColor(COLOR_BTNTEXT));
        DrawThemeTextBuffered(m_functions, dc, "&Caption", rect, format, c.composited);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlainText("&Caption", rect, format), drawn.All());
        EXPECT_GT(drawn.CountNot(pm.GetColor(COLOR_BTNFACE)), 0);
        EXPECT_EQ(c.begins, Calls(CThemeStubState::kBeginBufferedPaint));
        EXPECT_EQ(c.themedTexts, Calls(CThemeStubState::kDrawThemeTextEx));
        EXPECT_EQ(c.ends, Calls(CThemeStubState::kEndBufferedPaint));
        if (c.ends)
        {
            EXPECT_EQ(FALSE, m_stub->lastState);  // the buffer does not reach the target
        }
        // A handle that was opened is closed again.
        EXPECT_EQ(Calls(CThemeStubState::kOpenThemeData) - (c.openFails ? 1 : 0),
                  Calls(CThemeStubState::kCloseThemeData));
        if (c.begins && !c.themedTexts)
        {
            EXPECT_STREQ(L"GLOBALS", m_stub->lastClassList);
        }
    }
}

TEST_F(BufferedCaptionTest, ComposedTextGoesThroughTheBufferWithTheTargetsColour)
{
    const COLORREF text = RGB(10, 20, 30);
    DcTestSurface drawn(80, 24, pm.GetColor(COLOR_BTNFACE));
    CDC* dc = PrepareCanvas(drawn, &pm.GetRegularFont(), text);
    const CRect rect(4, 2, 76, 22);
    DrawThemeTextBuffered(m_functions, dc, "Caption", rect, DT_SINGLELINE | DT_CENTER, TRUE);
    EXPECT_EQ(1, Calls(CThemeStubState::kBeginBufferedPaint));
    EXPECT_EQ(BPBF_TOPDOWNDIB, m_stub->lastBufferFormat);
    EXPECT_EQ(1, Calls(CThemeStubState::kDrawThemeTextEx));
    EXPECT_STREQ(L"Caption", m_stub->lastClassList);
    EXPECT_EQ(static_cast<DWORD>(sizeof(DTTOPTS)), m_stub->lastOptionsSize);
    EXPECT_EQ(0x2001u, m_stub->lastOptionsFlags);
    EXPECT_EQ(text, m_stub->lastOptionsTextColor);
    EXPECT_EQ(1, Calls(CThemeStubState::kEndBufferedPaint));
    EXPECT_EQ(TRUE, m_stub->lastState);
    EXPECT_EQ(1, Calls(CThemeStubState::kCloseThemeData));
    // The stand-in library draws nothing itself, and no plain text was drawn besides.
    EXPECT_EQ(0, drawn.CountNot(pm.GetColor(COLOR_BTNFACE)));
}
