// The Office 2007 look's gallery, slider and progress painters drawing the synthetic module's images: which image and
// state lands where, read back from DIB sections, and the edges of their geometry (no thumb, empty or crossed ranges).
#include "Office2007ThemeTestSupport.h"
#include "ScrollEngineTestSupport.h"

#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"
#include "framework/controls/ProgressBase.h"
#include "framework/themes/Office2007PartPainters.h"

#include <string>

namespace office2007_theme_test {
namespace {

using scroll_test::HeadlessScrollHost;

// ---- Progress ----

// A bar whose range and position the test sets as a stored bar may carry them, outside each other too.
class StoredProgress : public COSMProgressBase
{
public:
    StoredProgress(COSMProgressPaintManager* painter, int lower, int upper, int pos) : m_painter(painter)
    {
        m_lower = lower;
        m_upper = upper;
        m_pos = pos;
    }
    CRect GetProgressRect() const override { return CRect(0, 0, 60, 12); }
    void RedrawProgress() override {}
    COSMProgressPaintManager* GetProgressPaintManager() const override { return m_painter; }

private:
    COSMProgressPaintManager* m_painter;
};

const COLORREF kChunk = RGB(30, 160, 30);
const COLORREF kGlow = RGB(230, 230, 30);

TEST_F(Office2007ThemeTest, ProgressChunkAndGlowFollowTheClampedPosition)
{
    auto* painter = static_cast<COSMProgressPaintManager*>(theme->GetProgressPaintManager());
    const COLORREF track = StateColor("PROGRESSTRACK", 0, 1);
    ASSERT_NE(track, kNoColor);
    // The inside of the bar is x 2 .. 58 (56 wide); chunk from 2 to 2 + fill, then up to 4 columns of glow.
    const struct
    {
        const char* name;
        int lower, upper, pos;
        int chunkEnd;  // x where the chunk ends
        int glowEnd;   // x where the glow ends (= chunkEnd: none)
    } cases[] = {
        {"at the lower bound", 0, 100, 0, 2, 6},     {"half way", 0, 100, 50, 30, 34},
        {"at the upper bound", 0, 100, 100, 58, 58}, {"below the range", 0, 100, -40, 2, 6},
        {"above the range", 0, 100, 250, 58, 58},    {"equal bounds", 5, 5, 5, 2, 2},
        {"crossed bounds", 10, 0, 5, 2, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        StoredProgress progress(painter, c.lower, c.upper, c.pos);
        DcTestSurface canvas(70, 12, kCanvas);
        painter->DrawProgress(canvas.dc(), &progress);
        for (int x = 0; x < 60; ++x)
        {
            COLORREF expected = track;
            if (x >= 2 && x < c.chunkEnd)
                expected = kChunk;
            else if (x >= c.chunkEnd && x < c.glowEnd)
                expected = kGlow;
            EXPECT_EQ(canvas.Pixel(x, 6), expected) << "x " << x;
        }
        EXPECT_TRUE(canvas.Untouched(CRect(60, 0, 70, 12)));
    }
}

TEST_F(Office2007ThemeWithoutTextTest, ProgressWithoutImagesDrawsNothing)
{
    auto* painter = static_cast<COSMProgressPaintManager*>(theme->GetProgressPaintManager());
    StoredProgress progress(painter, 0, 100, 50);
    DcTestSurface canvas(70, 12, kCanvas);
    painter->DrawProgress(canvas.dc(), &progress);
    EXPECT_TRUE(canvas.Untouched());
}

// ---- Slider ----

class Office2007SliderTest : public Office2007ThemeTest
{
protected:
    void SetUp() override
    {
        Office2007ThemeTest::SetUp();
        painter = static_cast<COSMOffice2007SliderPaintManager*>(theme->GetSliderPaintManager());
        host = std::make_unique<HeadlessScrollHost>(painter);
        host->rect = RECT{0, 0, 100, 14};
        host->info.nMax = 100;
        host->info.nPage = 0;
        host->info.nPos = 25;
        host->GetScrollBarGeometry().vertical = FALSE;
        host->RecalcScrollBar();
    }
    void TearDown() override
    {
        host.reset();
        Office2007ThemeTest::TearDown();
    }

    COSMOffice2007SliderPaintManager* painter = nullptr;
    std::unique_ptr<HeadlessScrollHost> host;
};

TEST_F(Office2007SliderTest, MetricsComeFromTheArrowImage)
{
    // "SLIDERUP" has states of 13 x 14.
    EXPECT_EQ(painter->GetHorizontalArrowLength(), 13);
    EXPECT_EQ(painter->GetHorizontalThickness(), 14);
    EXPECT_EQ(painter->GetFixedThumbLength(), 11);
}

TEST_F(Office2007SliderTest, AVerticalSliderDrawsNothing)
{
    host->rect = RECT{0, 0, 14, 100};
    host->GetScrollBarGeometry().vertical = TRUE;
    host->RecalcScrollBar();
    DcTestSurface canvas(20, 110, kCanvas);
    painter->DrawScrollBar(canvas.dc(), host.get());
    EXPECT_TRUE(canvas.Untouched());
}

TEST_F(Office2007SliderTest, TicksStandAtTheirValuesOrOneInTheMiddle)
{
    const ScrollBarGeometry& g = host->GetScrollBarGeometry();
    ASSERT_EQ(g.upArrowEnd, 13);
    ASSERT_EQ(g.downArrowStart, 87);
    const COLORREF tick = StateColor("SLIDERTICK", 0, 1);
    const COLORREF track = StateColor("SLIDERTRACK", 0, 1);
    // The track strip (4 high) centred: rows 5 .. 9; ticks (3 x 6) from row 4.
    const int y = 4;
    {
        DcTestSurface canvas(100, 14, kCanvas);
        painter->DrawScrollBar(canvas.dc(), host.get());
        EXPECT_EQ(canvas.Pixel(20, 6), track);
        // One tick in the middle of the strip: left (13 + 87 - 3) / 2 = 48.
        EXPECT_TRUE(canvas.FilledWith(CRect(48, y, 51, y + 6), tick));
        EXPECT_EQ(canvas.Pixel(47, y), kCanvas);
    }
    // Ticks at 0, 50 and 100 over 62 pixels from x 19: left 19 + 0, 31, 62, less half the tick.
    const double ticks[] = {0, 50, 100, 120};
    host->SetTicks(ticks, 4);
    DcTestSurface canvas(100, 14, kCanvas);
    painter->DrawScrollBar(canvas.dc(), host.get());
    for (int left : {18, 49, 80})
        EXPECT_TRUE(canvas.FilledWith(CRect(left, y, left + 3, y + 6), tick)) << "tick at " << left;
    EXPECT_EQ(canvas.Pixel(48, y), kCanvas);
    // 120 lies beyond the range: three ticks and no more over the track.
    int tickColumns = 0;
    for (int x = g.upArrowEnd; x < g.downArrowStart; ++x)
        tickColumns += canvas.Pixel(x, y) == tick;
    EXPECT_EQ(tickColumns, 9);
}

TEST_F(Office2007SliderTest, ArrowAndThumbStatesFollowHotAndPressedParts)
{
    const struct
    {
        const char* name;
        int hitPart;
        bool press;
        int up, down, thumb;
    } cases[] = {
        {"at rest", 0, false, 0, 0, 0},
        {"first arrow hot", 60, false, 1, 0, 0},
        {"second arrow pressed", 61, true, 0, 2, 0},
        {"page hot", 62, false, 0, 0, 1},
        {"page pressed", 63, true, 0, 0, 1},
        {"thumb hot", 64, false, 0, 0, 1},
        {"thumb pressed", 64, true, 0, 0, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        host->RecalcScrollBar();
        ScrollBarGeometry& g = host->GetScrollBarGeometry();
        g.hitPart = c.hitPart;
        ScrollBarTrackInfo track{};
        track.cursorInside = TRUE;
        host->SetPress(c.press ? &track : nullptr);
        DcTestSurface canvas(100, 14, kCanvas);
        painter->DrawScrollBar(canvas.dc(), host.get());
        host->SetPress(nullptr);
        EXPECT_EQ(canvas.Pixel(6, 7), StateColor("SLIDERUP", c.up, 3));
        EXPECT_EQ(canvas.Pixel(93, 7), StateColor("SLIDERDOWN", c.down, 3));
        const int thumbCentre = (g.thumbStart + g.thumbEnd) / 2;
        EXPECT_EQ(canvas.Pixel(thumbCentre, 7), StateColor("SLIDERTHUMB", c.thumb, 3));
    }
}

// ---- Gallery ----

class Office2007GalleryTest : public Office2007ThemeTest
{
protected:
    void SetUp() override
    {
        Office2007ThemeTest::SetUp();
        painter = static_cast<COSMOffice2007GalleryPaintManager*>(theme->GetGalleryPaintManager());
        host = std::make_unique<HeadlessScrollHost>(painter);
        host->rect = RECT{0, 0, 17, 120};
        host->info.nMax = 99;
        host->info.nPage = 30;
        host->info.nPos = 0;
        host->RecalcScrollBar();
    }
    void TearDown() override
    {
        host.reset();
        Office2007ThemeTest::TearDown();
    }
    COLORREF Glyph(int number) { return StateColor("CONTROLGALLERYSCROLLARROWGLYPHS", number - 1, 16); }

    COSMOffice2007GalleryPaintManager* painter = nullptr;
    std::unique_ptr<HeadlessScrollHost> host;
};

TEST_F(Office2007GalleryTest, MetricsAndColours)
{
    EXPECT_EQ(painter->GetHorizontalArrowLength(), ::GetSystemMetrics(SM_CXHSCROLL));
    EXPECT_EQ(painter->GetHorizontalThickness(), ::GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(painter->GetVerticalArrowLength(), ::GetSystemMetrics(SM_CYVSCROLL));
    EXPECT_EQ(painter->GetVerticalThickness(), ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(painter->GetUpButtonHeight(), 21);
    EXPECT_EQ(painter->GetDownButtonHeight(), 19);
    EXPECT_EQ(painter->GetScrollColumnWidth(), 16);
    EXPECT_EQ(painter->GetSelectedBackColor(), images->GetImageColor("Toolbar", "ControlGallerySelected"));
    EXPECT_EQ(painter->GetNormalBackColor(), images->GetImageColor("Toolbar", "ControlGalleryNormal"));
    EXPECT_EQ(painter->GetBorderColor(), images->GetImageColor("Toolbar", "ControlGalleryBorder"));
    EXPECT_NE(painter->GetSelectedBackColor(), painter->GetNormalBackColor());
}

TEST_F(Office2007GalleryTest, GlyphNumbersAndButtonStates)
{
    const struct
    {
        BOOL vertical, second, enabled, active;
        int glyph;
    } glyphs[] = {
        {TRUE, FALSE, TRUE, FALSE, 1},  {TRUE, FALSE, TRUE, TRUE, 2},   {TRUE, FALSE, FALSE, FALSE, 4},
        {TRUE, TRUE, TRUE, FALSE, 5},   {TRUE, TRUE, TRUE, TRUE, 6},    {TRUE, TRUE, FALSE, TRUE, 8},
        {FALSE, FALSE, TRUE, FALSE, 9}, {FALSE, FALSE, TRUE, TRUE, 10}, {FALSE, FALSE, FALSE, FALSE, 12},
        {FALSE, TRUE, TRUE, FALSE, 13}, {FALSE, TRUE, TRUE, TRUE, 14},  {FALSE, TRUE, FALSE, FALSE, 16},
    };
    for (const auto& c : glyphs)
        EXPECT_EQ(COSMOffice2007GalleryPaintManager::GetArrowGlyph(c.vertical, c.second, c.enabled, c.active), c.glyph);

    const struct
    {
        int part;
        BOOL enabled;
        int pressed, hot;
        int state;
    } states[] = {
        {60, FALSE, 60, -1, 4}, {60, TRUE, 60, -1, 3}, {60, TRUE, -1, 60, 2},
        {60, TRUE, -1, 65, 1},  {60, TRUE, 61, -1, 1}, {60, TRUE, -1, 0, 0},
    };
    for (const auto& c : states)
        EXPECT_EQ(COSMOffice2007GalleryPaintManager::GetButtonState(c.part, c.enabled, c.pressed, c.hot), c.state)
            << "part " << c.part << " pressed " << c.pressed << " hot " << c.hot;
}

TEST_F(Office2007GalleryTest, ScrollBarStylesPickTheImageSets)
{
    const ScrollBarGeometry& g = host->GetScrollBarGeometry();
    ASSERT_GT(g.thumbEnd - g.thumbStart, 10);
    const int thumbCentreY = (g.thumbStart + g.thumbEnd) / 2;
    const struct
    {
        int style;
        const char* background;  // nullptr: the base painter's look
    } cases[] = {
        {5, "CONTROLGALLERYSCROLLVERTICALLIGHT"}, {6, "CONTROLGALLERYSCROLLVERTICALDARK"}, {2, nullptr}, {3, nullptr}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE("style " + std::to_string(c.style));
        host->SetScrollBarStyle(c.style);
        DcTestSurface canvas(17, 120, kCanvas);
        painter->DrawScrollBar(canvas.dc(), host.get());
        const COLORREF page = canvas.Pixel(8, g.downArrowStart - 2);
        if (!c.background)
        {
            EXPECT_NE(page, StateColor("CONTROLGALLERYSCROLLVERTICALLIGHT", 0, 2));
            EXPECT_NE(page, StateColor("CONTROLGALLERYSCROLLVERTICALDARK", 0, 2));
            EXPECT_NE(page, kCanvas);
            continue;
        }
        EXPECT_EQ(page, StateColor(c.background, 0, 2));
        // Arrows at rest: no background, glyphs 1 and 5 centred.
        EXPECT_EQ(canvas.Pixel(2, 2), StateColor(c.background, 0, 2));
        EXPECT_EQ(canvas.Pixel(8, (0 + g.upArrowEnd) / 2), Glyph(1));
        EXPECT_EQ(canvas.Pixel(8, (g.downArrowStart + 120) / 2), Glyph(5));
        // The thumb at rest, longer than 10: its gripper in the middle.
        EXPECT_EQ(canvas.Pixel(2, thumbCentreY), StateColor("CONTROLGALLERYSCROLLTHUMBVERTICAL", 0, 3));
        EXPECT_EQ(canvas.Pixel(8, thumbCentreY), StateColor("CONTROLGALLERYSCROLLTHUMBGRIPPERVERTICAL", 0, 3));
    }
}

TEST_F(Office2007GalleryTest, PartStatesOfArrowsPagesAndThumb)
{
    host->SetScrollBarStyle(5);
    const ScrollBarGeometry& g = host->GetScrollBarGeometry();
    const COLORREF rest = StateColor("CONTROLGALLERYSCROLLVERTICALLIGHT", 0, 2);
    const COLORREF pressedPage = StateColor("CONTROLGALLERYSCROLLVERTICALLIGHT", 1, 2);
    const struct
    {
        const char* name;
        int hitPart;
        bool press;
        int firstArrowState;  // 0: no background
        int firstGlyph;
        COLORREF secondPage;
        int thumbState;
    } cases[] = {
        {"first arrow hot", 60, false, 2, 2, rest, 0}, {"first arrow pressed", 60, true, 3, 2, rest, 0},
        {"second page hot", 63, false, 1, 2, rest, 0}, {"second page pressed", 63, true, 1, 2, pressedPage, 0},
        {"thumb hot", 64, false, 1, 2, rest, 1},       {"thumb pressed", 64, true, 1, 2, rest, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        host->RecalcScrollBar();
        host->GetScrollBarGeometry().hitPart = c.hitPart;
        ScrollBarTrackInfo track{};
        track.cursorInside = TRUE;
        host->SetPress(c.press ? &track : nullptr);
        DcTestSurface canvas(17, 120, kCanvas);
        painter->DrawScrollBar(canvas.dc(), host.get());
        host->SetPress(nullptr);
        EXPECT_EQ(canvas.Pixel(2, 2), StateColor("CONTROLGALLERYSCROLLARROWSVERTICALLIGHT", c.firstArrowState, 4));
        EXPECT_EQ(canvas.Pixel(8, g.upArrowEnd / 2), Glyph(c.firstGlyph));
        EXPECT_EQ(canvas.Pixel(0, g.downArrowStart - 2), c.secondPage);
        EXPECT_EQ(canvas.Pixel(2, (g.thumbStart + g.thumbEnd) / 2),
                  StateColor("CONTROLGALLERYSCROLLTHUMBVERTICAL", c.thumbState, 3));
    }
}

TEST_F(Office2007GalleryTest, AThumbOfTenPixelsOrLessHasNoGripper)
{
    host->SetScrollBarStyle(5);
    host->info.nPage = 10;
    host->RecalcScrollBar();
    const ScrollBarGeometry& g = host->GetScrollBarGeometry();
    ASSERT_LE(g.thumbEnd - g.thumbStart, 10);
    ASSERT_GT(g.thumbEnd - g.thumbStart, 0);
    DcTestSurface canvas(17, 120, kCanvas);
    painter->DrawScrollBar(canvas.dc(), host.get());
    const CRect thumb(1, g.thumbStart, 16, g.thumbEnd);
    EXPECT_TRUE(canvas.FilledWith(thumb, StateColor("CONTROLGALLERYSCROLLTHUMBVERTICAL", 0, 3)));
}

TEST_F(Office2007GalleryTest, AThumbReachingIntoTheSecondArrowIsNotDrawn)
{
    host->SetScrollBarStyle(5);
    ScrollBarGeometry& g = host->GetScrollBarGeometry();
    g.thumbStart = g.downArrowStart - 5;
    g.thumbEnd = g.downArrowStart + 5;
    g.hitPart = COSMScrollBase::kHitSecondPage;
    ScrollBarTrackInfo track{};
    track.cursorInside = TRUE;
    host->SetPress(&track);
    DcTestSurface canvas(17, 120, kCanvas);
    painter->DrawScrollBar(canvas.dc(), host.get());
    host->SetPress(nullptr);
    // The whole track is the pressed page-down area; no thumb anywhere.
    EXPECT_TRUE(canvas.FilledWith(CRect(0, g.upArrowEnd, 17, g.downArrowStart),
                                  StateColor("CONTROLGALLERYSCROLLVERTICALLIGHT", 1, 2)));
}

// A gallery without a bar whose selection the test sets directly.
class LooseGallery : public COSMControlGallery
{
public:
    void ForceSelected(int selected) { m_selected = selected; }
};

TEST_F(Office2007GalleryTest, FillControlAndLabel)
{
    LooseGallery* gallery = new LooseGallery;
    const CRect r(2, 2, 60, 40);
    const struct
    {
        const char* name;
        int selected;
        int enabled;
        BOOL borders;
        COLORREF back;
    } cases[] = {
        {"at rest", 0, TRUE, FALSE, painter->GetNormalBackColor()},
        {"selected", 1, TRUE, FALSE, painter->GetSelectedBackColor()},
        {"selected but disabled", 1, FALSE, FALSE, painter->GetNormalBackColor()},
        {"with borders", 0, TRUE, TRUE, painter->GetNormalBackColor()},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        gallery->ForceSelected(c.selected);
        gallery->SetEnabled(c.enabled);
        gallery->SetShowBorders(c.borders);
        DcTestSurface canvas(70, 50, kCanvas);
        painter->FillControl(canvas.dc(), gallery, r);
        DcTestSurface expected(70, 50, kCanvas);
        expected.Fill(r, c.back);
        if (c.borders)
            expected.dc()->Draw3dRect(r, painter->GetBorderColor(), painter->GetBorderColor());
        EXPECT_TRUE(canvas.EqualsCanvas(expected));
    }
    gallery->InternalRelease();

    COSMControlGalleryItem label;
    label.SetCaption("Recent");
    DcTestSurface canvas(80, 20, kCanvas);
    painter->DrawLabel(canvas.dc(), &label, CRect(0, 0, 80, 20));
    EXPECT_EQ(canvas.Pixel(0, 0), theme->GetColor(56));
    EXPECT_TRUE(canvas.FilledWith(CRect(0, 19, 80, 20), RGB(197, 197, 197)));
    // The caption in black (index 44) within the 10-pixel insets.
    EXPECT_TRUE(canvas.AllPixels(CRect(0, 0, 10, 19), theme->GetColor(56)));
    EXPECT_GT(canvas.CountNot(theme->GetColor(56)), 80);
    bool black = false;
    for (int y = 0; y < 19; ++y)
        for (int x = 10; x < 70; ++x)
            black = black || canvas.Pixel(x, y) == RGB(0, 0, 0);
    EXPECT_TRUE(black);
}

TEST_F(Office2007GalleryTest, PopupColumnButtonsByState)
{
    LooseGallery* gallery = new LooseGallery;
    gallery->SetRect(CRect(0, 0, 80, 60));
    // Buttons in x 65 .. 80: up 0 .. 21, down 21 .. 40, popup 40 .. 60.
    const struct
    {
        const char* name;
        int selected;
        int enabled;
        int hitPart;
        int up, down, popup;
    } cases[] = {
        {"at rest", 0, TRUE, 0, 0, 0, 0},
        {"up hot", 0, TRUE, 60, 2, 1, 1},
        {"keyboard selected without an item", 2, TRUE, 0, 1, 1, 2},
        {"disabled", 0, FALSE, 60, 4, 4, 4},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        gallery->ForceSelected(c.selected);
        gallery->SetEnabled(c.enabled);
        gallery->GetScrollBarGeometry().hitPart = c.hitPart;
        DcTestSurface canvas(80, 60, kCanvas);
        painter->DrawPopupScrollBar(canvas.dc(), gallery);
        EXPECT_EQ(canvas.Pixel(72, 10), StateColor("CONTROLGALLERYUP", c.up, 5));
        EXPECT_EQ(canvas.Pixel(72, 30), StateColor("CONTROLGALLERYDOWN", c.down, 5));
        EXPECT_EQ(canvas.Pixel(72, 50), StateColor("CONTROLGALLERYPOPUP", c.popup, 5));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 65, 60)));
    }
    gallery->InternalRelease();
}

}  // namespace
}  // namespace office2007_theme_test
