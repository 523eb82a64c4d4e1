// Markup text without a window: the entry functions, the context's font cache, the inlines' fonts and positions,
// and the text block's lines, trimming, alignment, decorations and hit test. Widths come from GetTextExtentPoint32W
// in a font made from the LOGFONT the run uses.
#include "DcTestSurface.h"
#include "GdiObjectCount.h"
#include "MarkupElementTestTypes.h"
#include "ParseTestSupport.h"

#include "framework/foundation/OSVersionInfo.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupFont.h"
#include "framework/markup/MarkupPanel.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupSpan.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupTextBlock.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::Hold;
using markup_test::ParseTest;

namespace {

// Text extents in one LOGFONT on a memory DC.
class CExtent
{
public:
    explicit CExtent(const LOGFONTW& logFont)
        : m_dc(::CreateCompatibleDC(nullptr)), m_font(::CreateFontIndirectW(&logFont))
    {
        m_old = ::SelectObject(m_dc, m_font);
    }
    ~CExtent()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_font);
        ::DeleteDC(m_dc);
    }
    CSize operator()(const std::wstring& text) const
    {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
        return CSize(size);
    }
    int Descent() const
    {
        TEXTMETRICW metrics;
        ::GetTextMetricsW(m_dc, &metrics);
        return metrics.tmDescent;
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

class TextTest : public ParseTest
{
protected:
    COSMMarkupTextBlock* Block(const std::string& text)
    {
        COSMMarkupTextBlock* block = MarkupDynamicCast<COSMMarkupTextBlock>(Parse(text));
        held.emplace_back(new Hold(Hold::Adopt(block)));
        return block;
    }
    // A text block holding text, with its attributes.
    COSMMarkupTextBlock* BlockWithText(const std::wstring& text, const std::string& attributes = "")
    {
        COSMMarkupTextBlock* block = Block("<TextBlock " + attributes + "/>");
        if (block)
            block->SetText(text.c_str());
        return block;
    }
    COSMMarkupRun* FirstRun(COSMMarkupTextBlock* block)
    {
        return MarkupDynamicCast<COSMMarkupRun>(block->GetInlines()->GetInline(0));
    }
    // The text of every piece of a line, ellipsis included.
    static std::vector<std::wstring> PieceTexts(const COSMMarkupTextBlock::TextLine& line)
    {
        std::vector<std::wstring> texts;
        for (const auto& piece : line.pieces)
        {
            const COSMMarkupRun* run = MarkupDynamicCast<COSMMarkupRun>(piece.inlineElement);
            const int start = COSMMarkupTextBlock::GetCharIndex(piece, piece.start);
            const int end = COSMMarkupTextBlock::GetCharIndex(piece, piece.end);
            texts.push_back(run && start >= 0 ? std::wstring(run->GetTextChars() + start, end - start) : L"");
        }
        return texts;
    }
    static std::wstring LineText(const COSMMarkupTextBlock::TextLine& line)
    {
        std::wstring text;
        for (const std::wstring& piece : PieceTexts(line))
            text += piece;
        return text;
    }
    void TearDown() override
    {
        held.clear();
        ParseTest::TearDown();
    }

    std::vector<std::unique_ptr<Hold>> held;
};

// ---- Entry functions -----------------------------------------------------------------------------------------

TEST_F(TextTest, EntryFunctionsTakeNullArgumentsQuietly)
{
    // An address that must not be read: a null context returns before touching the text.
    EXPECT_EQ(nullptr, ParseMarkup(nullptr, reinterpret_cast<LPCSTR>(static_cast<INT_PTR>(1))));
    EXPECT_EQ(nullptr, ParseMarkup(context, nullptr));
    EXPECT_EQ(nullptr, ParseMarkup(context, "<TextBlock>"));
    EXPECT_EQ(CSize(0, 0), MeasureMarkupElement(nullptr, 100, 100));
    EXPECT_EQ(nullptr, GetMarkupElementContext(nullptr));
    RenderMarkupElement(nullptr, nullptr, nullptr);
    SetMarkupContextDefaultFont(nullptr, nullptr, 0);
    const LOGFONTW before = context->defaultLogFont;
    context->defaultColor = RGB(1, 2, 3);
    SetMarkupContextDefaultFont(context, nullptr, static_cast<COLORREF>(-1));
    EXPECT_EQ(0, memcmp(&before, &context->defaultLogFont, sizeof(before)));
    EXPECT_EQ(RGB(1, 2, 3), context->defaultColor);
    SetMarkupContextDefaultFont(context, nullptr, RGB(4, 5, 6));
    EXPECT_EQ(0, memcmp(&before, &context->defaultLogFont, sizeof(before)));
    EXPECT_EQ(RGB(4, 5, 6), context->defaultColor);

    COSMMarkupUIElement* element = nullptr;
    ReleaseMarkupElement(&element);
    ReleaseMarkupElement(nullptr);
    ReleaseMarkupContext(nullptr);
    element = ParseMarkup(context, "<TextBlock>x</TextBlock>");
    ASSERT_NE(nullptr, element);
    EXPECT_EQ(context, GetMarkupElementContext(element));
    ReleaseMarkupElement(&element);
    EXPECT_EQ(nullptr, element);
    COSMMarkupContext* own = CreateMarkupContext(nullptr);
    ASSERT_NE(nullptr, own);
    ReleaseMarkupContext(&own);
    EXPECT_EQ(nullptr, own);
}

TEST_F(TextTest, ATextBlockMeasuresItsTextInTheDefaultFont)
{
    const LOGFONTW system = context->defaultLogFont;
    COSMMarkupUIElement* element = ParseMarkup(context, "<TextBlock>Hello</TextBlock>");
    ASSERT_NE(nullptr, element);
    EXPECT_EQ(CExtent(system)(L"Hello"), MeasureMarkupElement(element, 0x7FFFFFFF, 0x7FFFFFFF));
    ReleaseMarkupElement(&element);

    LOGFONTW large = context->defaultLogFont;
    large.lfHeight = -40;
    HFONT font = ::CreateFontIndirectW(&large);
    SetMarkupContextDefaultFont(context, font, static_cast<COLORREF>(-1));
    ::DeleteObject(font);
    element = ParseMarkup(context, "<TextBlock>Hello</TextBlock>");
    ASSERT_NE(nullptr, element);
    const CSize measured = MeasureMarkupElement(element, 0x7FFFFFFF, 0x7FFFFFFF);
    EXPECT_EQ(CExtent(large)(L"Hello"), measured);
    EXPECT_GT(measured.cy, CExtent(system)(L"Hello").cy);
    ReleaseMarkupElement(&element);
}

TEST_F(TextTest, RenderingDrawsOnlyInsideTheMeasuredSizeInTheDefaultColour)
{
    SetMarkupContextDefaultFont(context, nullptr, RGB(0, 0, 255));
    COSMMarkupUIElement* element = ParseMarkup(context, "<TextBlock>Hello</TextBlock>");
    ASSERT_NE(nullptr, element);
    const CSize size = MeasureMarkupElement(element, 0x7FFFFFFF, 0x7FFFFFFF);
    DcTestSurface dib(200, 80, DcTestSurface::RawFill{0xFFFFFF});
    const RECT rect = {20, 10, 190, 70};
    RenderMarkupElement(element, dib.GetDC(), &rect);
    int changed = 0;
    for (int y = 0; y < dib.Height(); ++y)
    {
        for (int x = 0; x < dib.Width(); ++x)
        {
            const DWORD pixel = dib.Raw(x, y);
            if (pixel == 0xFFFFFF)
                continue;
            ++changed;
            EXPECT_TRUE(x >= rect.left && x < rect.left + size.cx && y >= rect.top && y < rect.top + size.cy)
                << x << "," << y;
            // A shade between white and blue: blue stays full, red and green fall together.
            EXPECT_EQ(0xFFu, pixel & 0xFF) << std::hex << pixel;
            EXPECT_EQ((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF) << std::hex << pixel;
        }
    }
    EXPECT_GT(changed, 10);
    ReleaseMarkupElement(&element);
}

// ---- Font cache ----------------------------------------------------------------------------------------------

TEST_F(TextTest, TheFontCacheSharesFontsByTheirDrawingFields)
{
    LOGFONTW logFont = context->defaultLogFont;
    COSMMarkupFont* first = context->GetFont(logFont);
    logFont.lfUnderline = TRUE;
    COSMMarkupFont* underlined = context->GetFont(logFont);
    EXPECT_EQ(first, underlined);
    logFont.lfHeight -= 7;
    COSMMarkupFont* taller = context->GetFont(logFont);
    EXPECT_NE(first, taller);
    EXPECT_NE(nullptr, taller->GetSafeHandle());

    const LONG live = COSMMarkupObject::GetLiveObjectCount();
    taller->Release();
    EXPECT_EQ(live - 1, COSMMarkupObject::GetLiveObjectCount());
    // Gone from the cache too: asking again makes a new font.
    COSMMarkupFont* again = context->GetFont(logFont);
    EXPECT_EQ(live, COSMMarkupObject::GetLiveObjectCount());
    again->Release();
    first->Release();
    underlined->Release();
}

TEST_F(TextTest, AFontOutlivingItsContextForgetsTheCache)
{
    COSMMarkupContext* own = CreateMarkupContext(nullptr);
    COSMMarkupFont* font = own->GetFont(own->defaultLogFont);
    ReleaseMarkupContext(&own);
    EXPECT_NE(nullptr, font->GetSafeHandle());
    font->Release();
}

// ---- Inlines -------------------------------------------------------------------------------------------------

struct LogFontRow
{
    const char* attributes;
    std::function<void(const LOGFONTW& defaults, const LOGFONTW& font)> check;
};

TEST_F(TextTest, ARunsLogFontFollowsItsTextProperties)
{
    const std::wstring longName(40, L'F');
    const std::vector<LogFontRow> rows = {
        {"FontSize='20'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(-20, f.lfHeight); }},
        {"FontSize='Auto'", [](const LOGFONTW& d, const LOGFONTW& f) { EXPECT_EQ(d.lfHeight, f.lfHeight); }},
        {"FontSize='0'", [](const LOGFONTW& d, const LOGFONTW& f) { EXPECT_EQ(d.lfHeight, f.lfHeight); }},
        {"FontSize='-5'", [](const LOGFONTW& d, const LOGFONTW& f) { EXPECT_EQ(d.lfHeight, f.lfHeight); }},
        {"FontSize='99999'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(-16384, f.lfHeight); }},
        {"FontWeight='Thin'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(100, f.lfWeight); }},
        {"FontWeight='ExtraLight'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(200, f.lfWeight); }},
        {"FontWeight='Light'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(300, f.lfWeight); }},
        {"FontWeight='Normal'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(400, f.lfWeight); }},
        {"FontWeight='Regular'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(400, f.lfWeight); }},
        {"FontWeight='Medium'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(500, f.lfWeight); }},
        {"FontWeight='SemiBold'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(600, f.lfWeight); }},
        {"FontWeight='DemiBold'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(600, f.lfWeight); }},
        {"FontWeight='bold'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(700, f.lfWeight); }},
        {"FontWeight='BOLD'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(700, f.lfWeight); }},
        {"FontWeight='Bold'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(700, f.lfWeight); }},
        {"FontWeight='ExtraBold'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(800, f.lfWeight); }},
        {"FontWeight='UltraBold'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(800, f.lfWeight); }},
        {"FontWeight='Black'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(900, f.lfWeight); }},
        {"FontWeight='Heavy'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(900, f.lfWeight); }},
        {"FontWeight='ExtraBlack'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(950, f.lfWeight); }},
        {"FontStyle='Italic'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(1, f.lfItalic); }},
        {"FontStyle='Normal'", [](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(0, f.lfItalic); }},
        {"FontQuality='ClearType'",
         [](const LOGFONTW& d, const LOGFONTW& f) {
             EXPECT_EQ(GetOSVersionInfo()->IsClearTypeTextQualitySupported() ? 5 : d.lfQuality, f.lfQuality);
         }},
        {"FontFamily='FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF'",
         [&](const LOGFONTW&, const LOGFONTW& f) { EXPECT_EQ(longName.substr(0, 31), f.lfFaceName); }},
    };
    for (const LogFontRow& row : rows)
    {
        SCOPED_TRACE(row.attributes);
        COSMMarkupTextBlock* block = Block(std::string("<TextBlock><Run ") + row.attributes + ">x</Run></TextBlock>");
        ASSERT_NE(nullptr, block);
        LOGFONTW font;
        FirstRun(block)->GetLogFont(&font);
        row.check(context->defaultLogFont, font);
    }
    EXPECT_NE(std::string::npos, ParseError("<TextBlock><Run FontWeight='Bolder'>x</Run></TextBlock>")
                                     .find("Cannot convert string in attribute 'FontWeight'"));
}

TEST_F(TextTest, BoldsOwnWeightBeatsAnOuterOneAndMarkupOnTheBoldWins)
{
    const struct
    {
        const char* markup;
        LONG weight;
    } rows[] = {
        {"<TextBlock FontWeight='Light'><Bold>x</Bold></TextBlock>", 700},
        {"<TextBlock><Span FontWeight='Thin'><Bold>x</Bold></Span></TextBlock>", 700},
        {"<TextBlock><Bold FontWeight='Medium'>x</Bold></TextBlock>", 500},
        {"<TextBlock FontWeight='Black'>x</TextBlock>", 900},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.markup);
        COSMMarkupTextBlock* block = Block(row.markup);
        ASSERT_NE(nullptr, block);
        COSMMarkupInline* first = block->GetInlines()->GetInline(0)->GetFirstInline();
        COSMMarkupRun* run = MarkupDynamicCast<COSMMarkupRun>(first);
        ASSERT_NE(nullptr, run);
        LOGFONTW font;
        run->GetLogFont(&font);
        EXPECT_EQ(row.weight, font.lfWeight);
    }
}

TEST_F(TextTest, PositionsOfEmptyRunsAndLineBreaks)
{
    COSMMarkupTextBlock* block = Block("<TextBlock><Run/><LineBreak/></TextBlock>");
    ASSERT_NE(nullptr, block);
    COSMMarkupInline* empty = block->GetInlines()->GetInline(0);
    EXPECT_EQ(-1, empty->GetFirstPosition());
    COSMMarkupInline* lineBreak = block->GetInlines()->GetInline(1);
    ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupLineBreak>(lineBreak));
    INT_PTR position = lineBreak->GetFirstPosition();
    ASSERT_NE(-1, position);
    EXPECT_TRUE(lineBreak->IsWhiteSpace(position));
    EXPECT_TRUE(lineBreak->IsLineBreak(position));
    EXPECT_FALSE(lineBreak->IsBlank(position));
    lineBreak->GetNextPosition(position);
    EXPECT_EQ(-1, position);
    EXPECT_EQ(lineBreak, empty->GetNextInline());
    EXPECT_EQ(nullptr, lineBreak->GetNextInline());
}

TEST_F(TextTest, WhiteSpaceBetweenASpansChildrenStaysAsOneBlank)
{
    COSMMarkupTextBlock* block = Block("<TextBlock><Span><Bold>a</Bold>   <Italic>b</Italic></Span></TextBlock>");
    ASSERT_NE(nullptr, block);
    COSMMarkupSpan* span = MarkupDynamicCast<COSMMarkupSpan>(block->GetInlines()->GetInline(0));
    ASSERT_NE(nullptr, span);
    ASSERT_EQ(3, span->GetInlines()->GetCount());
    COSMMarkupRun* blank = MarkupDynamicCast<COSMMarkupRun>(span->GetInlines()->GetInline(1));
    ASSERT_NE(nullptr, blank);
    EXPECT_STREQ(L" ", blank->GetTextChars());
    // Reading order runs through the nested spans.
    COSMMarkupInline* first = span->GetFirstInline();
    ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupRun>(first));
    EXPECT_STREQ(L"a", MarkupDynamicCast<COSMMarkupRun>(first)->GetTextChars());
    EXPECT_EQ(blank, first->GetNextInline());
    EXPECT_STREQ(L"b", MarkupDynamicCast<COSMMarkupRun>(blank->GetNextInline())->GetTextChars());
}

TEST_F(TextTest, ContentThatIsNoInlineIsRefused)
{
    EXPECT_NE(std::string::npos,
              ParseError("<TextBlock><SolidColorBrush/></TextBlock>")
                  .find("'COSMMarkupSolidColorBrush' object cannot be added to 'COSMMarkupInlineCollection'. Object "
                        "cannot be converted to type 'COSMMarkupInline'"));
    EXPECT_NE(std::string::npos,
              ParseError("<TextBlock><Span><SolidColorBrush/></Span></TextBlock>").find("'COSMMarkupInline'"));
}

TEST_F(TextTest, ARunsFontChangeRemeasuresItsTextBlock)
{
    COSMMarkupTextBlock* block = Block("<TextBlock><Run>Hello</Run></TextBlock>");
    ASSERT_NE(nullptr, block);
    const CSize before = MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF);
    FirstRun(block)->SetValue(COSMMarkupTextElement::s_pFontSizeProperty, new COSMMarkupInt(40));
    const CSize after = MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF);
    LOGFONTW large = context->defaultLogFont;
    large.lfHeight = -40;
    EXPECT_NE(before, after);
    EXPECT_EQ(CExtent(large)(L"Hello"), after);
}

TEST_F(TextTest, AnElementInTextIsMeasuredWithAmpleRoomAndTakesItsPlace)
{
    const CExtent extent(context->defaultLogFont);
    COSMMarkupTextBlock* block = Block("<TextBlock>ab</TextBlock>");
    auto* probe = static_cast<markup_test::CProbe*>(context->CreateObject(markup_test::CProbe::GetClassType()));
    probe->contentSize = CSize(17, 5);
    block->GetInlines()->SetContentObject(nullptr, probe);
    ASSERT_EQ(2, block->GetInlines()->GetCount());
    auto* container = MarkupDynamicCast<COSMMarkupInlineUIContainer>(block->GetInlines()->GetInline(1));
    ASSERT_NE(nullptr, container);
    EXPECT_EQ(probe, container->GetChild());
    const CSize size = MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF);
    EXPECT_EQ(CSize(32000, 32000), probe->measuredWith);
    EXPECT_EQ(extent(L"ab").cx + 17, size.cx);
    block->Arrange(0, 0, size.cx, size.cy);
    const CRect placed = block->GetLines()[0].pieces.back().GetRect();
    EXPECT_EQ(probe, block->InputHitTest(placed.left + 1, placed.top + 1));
}

// ---- Text block ----------------------------------------------------------------------------------------------

TEST_F(TextTest, WrapMovesTheSecondWordToASecondLineWithoutItsSpace)
{
    const CExtent extent(context->defaultLogFont);
    COSMMarkupTextBlock* block = BlockWithText(L"alpha beta", "TextWrapping='Wrap'");
    ASSERT_NE(nullptr, block);
    const int width = extent(L"alpha be").cx;
    MeasureMarkupElement(block, width, 1000);
    ASSERT_EQ(2u, block->GetLines().size());
    EXPECT_EQ(L"alpha", LineText(block->GetLines()[0]).substr(0, 5));
    EXPECT_EQ(L"beta", LineText(block->GetLines()[1]));
    EXPECT_TRUE(block->GetLines()[0].wrapped);
    EXPECT_EQ(extent(L"beta").cx, block->GetLines()[1].width);
    EXPECT_EQ(CSize(block->GetLines()[0].width, 2 * extent(L"beta").cy), block->GetTextSize());
}

TEST_F(TextTest, AWordWiderThanTheBlockBreaksOnlyUnderWrap)
{
    const CExtent extent(context->defaultLogFont);
    const int width = extent(L"abcd").cx;
    COSMMarkupTextBlock* wrap = BlockWithText(L"abcdefghij", "TextWrapping='Wrap'");
    MeasureMarkupElement(wrap, width, 1000);
    ASSERT_GE(wrap->GetLines().size(), 3u);
    std::wstring joined;
    for (const auto& line : wrap->GetLines())
    {
        EXPECT_LE(line.width, width);
        EXPECT_FALSE(LineText(line).empty());
        joined += LineText(line);
    }
    EXPECT_EQ(L"abcdefghij", joined);
    EXPECT_EQ(L"abcd", LineText(wrap->GetLines()[0]));

    // Even a block narrower than one character keeps one per line.
    COSMMarkupTextBlock* narrow = BlockWithText(L"abc", "TextWrapping='Wrap'");
    MeasureMarkupElement(narrow, 1, 1000);
    EXPECT_EQ(3u, narrow->GetLines().size());

    for (const char* attributes : {"TextWrapping='WrapWithOverflow'", "TextWrapping='NoWrap'"})
    {
        SCOPED_TRACE(attributes);
        COSMMarkupTextBlock* block = BlockWithText(L"abcdefghij", attributes);
        MeasureMarkupElement(block, width, 1000);
        ASSERT_EQ(1u, block->GetLines().size());
        EXPECT_EQ(extent(L"abcdefghij").cx, block->GetLines()[0].width);
    }
}

TEST_F(TextTest, EllipsisTrimmingCutsByCharactersOrWords)
{
    const CExtent extent(context->defaultLogFont);
    const std::wstring text = L"one two three";
    const int width = extent(L"one tw").cx + extent(L"...").cx;
    const struct
    {
        const char* attributes;
        std::wstring expected;
    } rows[] = {
        {"TextTrimming='CharacterEllipsis'", L"one tw..."},
        {"TextTrimming='WordEllipsis'", L"one..."},
        // Trimming does nothing to wrapping text.
        {"TextTrimming='CharacterEllipsis' TextWrapping='WrapWithOverflow'", L"one two"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.attributes);
        COSMMarkupTextBlock* block = BlockWithText(text, row.attributes);
        MeasureMarkupElement(block, width, 1000);
        ASSERT_FALSE(block->GetLines().empty());
        EXPECT_EQ(row.expected, LineText(block->GetLines()[0]));
        EXPECT_LE(block->GetLines()[0].width, width);
    }
    // A whole piece that is not the first on the line goes in word mode.
    COSMMarkupTextBlock* pieces =
        Block("<TextBlock TextTrimming='WordEllipsis'><Run>ab</Run><Bold>cdefgh</Bold></TextBlock>");
    MeasureMarkupElement(pieces, extent(L"abcd").cx, 1000);
    ASSERT_EQ(1u, pieces->GetLines().size());
    EXPECT_EQ((std::vector<std::wstring>{L"ab", L"", L"..."}), PieceTexts(pieces->GetLines()[0]));
}

TEST_F(TextTest, TwoLineFeedsGiveThreeLinesOfEqualHeight)
{
    const CExtent extent(context->defaultLogFont);
    COSMMarkupTextBlock* block = BlockWithText(L"a\n\nb");
    MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF);
    ASSERT_EQ(3u, block->GetLines().size());
    for (const auto& line : block->GetLines())
        EXPECT_EQ(extent(L"a").cy, line.height);
    EXPECT_EQ(L"a", LineText(block->GetLines()[0]));
    EXPECT_EQ(L"b", LineText(block->GetLines()[2]));
}

TEST_F(TextTest, JustifySpreadsOnlyWrappedLines)
{
    const CExtent extent(context->defaultLogFont);
    COSMMarkupTextBlock* block = BlockWithText(L"aa bb cc dd", "TextWrapping='Wrap' TextAlignment='Justify'");
    const int width = extent(L"aa bb cc").cx + 6;
    MeasureMarkupElement(block, width, 1000);
    block->Arrange(0, 0, width, 1000);
    ASSERT_EQ(2u, block->GetLines().size());
    const auto& first = block->GetLines()[0];
    ASSERT_TRUE(first.wrapped);
    ASSERT_GE(first.pieces.size(), 2u);
    const CRect lastOfFirst = first.pieces.back().GetRect();
    EXPECT_EQ(width, lastOfFirst.right);
    // The paragraph's last line keeps to the left.
    EXPECT_EQ(0, block->GetLines()[1].pieces.front().GetRect().left);
}

TEST_F(TextTest, AlignmentAndPaddingPlaceTheLine)
{
    const CExtent extent(context->defaultLogFont);
    const int textWidth = extent(L"word").cx;
    const struct
    {
        const char* attributes;
        int left;
    } rows[] = {
        {"", 3},
        {"TextAlignment='Right'", 200 - 5 - textWidth},
        {"TextAlignment='Center'", 3 + (200 - textWidth - 8) / 2},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.attributes);
        COSMMarkupTextBlock* block = BlockWithText(L"word", std::string("Padding='3,4,5,6' ") + row.attributes);
        EXPECT_EQ(CSize(textWidth + 8, extent(L"word").cy + 10), MeasureMarkupElement(block, 200, 100));
        block->Arrange(0, 0, 200, 100);
        EXPECT_EQ(row.left, block->GetLines()[0].pieces[0].GetRect().left);
        EXPECT_EQ(4, block->GetLines()[0].pieces[0].GetRect().top);
    }
}

TEST_F(TextTest, SubscriptSitsLowerAndSuperscriptHigher)
{
    const CExtent extent(context->defaultLogFont);
    COSMMarkupTextBlock* block = Block("<TextBlock>x<Run BaselineAlignment='Subscript'>2</Run>"
                                       "<Run BaselineAlignment='Superscript'>3</Run></TextBlock>");
    MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF);
    block->Arrange(0, 0, 200, 100);
    ASSERT_EQ(1u, block->GetLines().size());
    const auto& pieces = block->GetLines()[0].pieces;
    ASSERT_EQ(3u, pieces.size());
    const int descent = extent.Descent();
    EXPECT_EQ(0, pieces[0].dy);
    EXPECT_EQ(descent - descent / 2, pieces[1].dy);
    EXPECT_EQ(descent / 2 - descent, pieces[2].dy);
}

TEST_F(TextTest, TextReplacesInlineContent)
{
    COSMMarkupTextBlock* block = Block("<TextBlock><Bold>a</Bold><Italic>b</Italic></TextBlock>");
    ASSERT_EQ(2, block->GetInlines()->GetCount());
    block->SetText(L"plain");
    ASSERT_EQ(1, block->GetInlines()->GetCount());
    EXPECT_STREQ(L"plain", FirstRun(block)->GetTextChars());
    EXPECT_EQ(CExtent(context->defaultLogFont)(L"plain"), MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF));
}

TEST_F(TextTest, UnwrappedTextIsNotLaidOutAgainForAnotherWidth)
{
    COSMMarkupTextBlock* block = BlockWithText(L"some text");
    COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
    block->Measure(&measuring, 500, 100);
    ASSERT_EQ(1u, block->GetLines().size());
    const COSMMarkupTextBlock::TextLine* line = &block->GetLines()[0];
    block->MeasureOverride(&measuring, 20, 100);
    ASSERT_EQ(1u, block->GetLines().size());
    EXPECT_EQ(line, &block->GetLines()[0]);
    // A wrapping block does lay out again.
    block->SetValue(COSMMarkupTextBlock::s_pTextWrappingProperty, COSMMarkupEnum::CreateValue(1));
    block->MeasureOverride(&measuring, 20, 100);
    EXPECT_GT(block->GetLines().size(), 1u);
}

TEST_F(TextTest, DecorationBarsUseTheDecoratingElementsForeground)
{
    for (const char* decoration : {"Underline", "Strikethrough"})
    {
        SCOPED_TRACE(decoration);
        COSMMarkupTextBlock* block =
            Block(std::string("<TextBlock><Span TextDecorations='") + decoration +
                  "' Foreground='#FF0000'><Run Foreground='#00FF00'>MMMM</Run></Span></TextBlock>");
        ASSERT_NE(nullptr, block);
        const CSize size = MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF);
        DcTestSurface dib(size.cx + 20, size.cy + 20, DcTestSurface::RawFill{0xFFFFFF});
        const RECT rect = {0, 0, size.cx, size.cy};
        RenderMarkupElement(block, dib.GetDC(), &rect);
        const auto& line = block->GetLines()[0];
        const auto& piece = line.pieces[0];
        const int D = line.descent;
        const int t = std::max(1, D / 3);
        const CRect r = piece.GetRect();
        const int top = std::string(decoration) == "Underline" ? r.bottom - piece.descent + t
                                                               : r.bottom - piece.descent + D - (line.height - D) / 2;
        for (int y = top; y < top + t; ++y)
        {
            for (int x = r.left; x < r.right; ++x)
                ASSERT_EQ(0xFF0000u, dib.Raw(x, y)) << x << "," << y;
        }
        // Nothing red beside the bar.
        for (int x = r.left; x < r.right; ++x)
        {
            EXPECT_NE(0xFF0000u, dib.Raw(x, top - 1 >= 0 ? top - 1 : top + t));
        }
    }
}

TEST_F(TextTest, InlineBackgroundsFillTheirPieces)
{
    COSMMarkupTextBlock* block =
        Block("<TextBlock Background='#0000FF'>ab<Run Background='#00FF00'>cd</Run></TextBlock>");
    const CSize size = MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF);
    DcTestSurface dib(size.cx + 10, size.cy + 10, DcTestSurface::RawFill{0xFFFFFF});
    const RECT rect = {0, 0, size.cx + 10, size.cy + 10};
    RenderMarkupElement(block, dib.GetDC(), &rect);
    const auto& pieces = block->GetLines()[0].pieces;
    ASSERT_EQ(2u, pieces.size());
    const CRect second = pieces[1].GetRect();
    EXPECT_EQ(0x00FF00u, dib.Raw(second.left, second.top));
    EXPECT_EQ(0x00FF00u, dib.Raw(second.right - 1, second.bottom - 1));
    EXPECT_EQ(0x0000FFu, dib.Raw(size.cx + 5, size.cy + 5));
}

TEST_F(TextTest, HitTestFindsTheRunOfAHyperlinkOrTheBlock)
{
    COSMMarkupTextBlock* block = Block("<TextBlock>go <Hyperlink>there</Hyperlink></TextBlock>");
    const CSize size = MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF);
    block->Arrange(0, 0, size.cx + 50, size.cy);
    const auto& pieces = block->GetLines()[0].pieces;
    ASSERT_EQ(2u, pieces.size());
    const CRect link = pieces[1].GetRect();
    COSMMarkupInputElement* hit = block->InputHitTest(link.CenterPoint().x, link.CenterPoint().y);
    ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupRun>(hit));
    std::vector<COSMMarkupInputElement*> route;
    COSMMarkupContext::CollectInputElements(hit, route);
    bool reachesHyperlink = false;
    for (COSMMarkupInputElement* element : route)
    {
        reachesHyperlink |= MarkupDynamicCast<COSMMarkupHyperlink>(element) != nullptr;
        element->Release();
    }
    EXPECT_TRUE(reachesHyperlink);
    EXPECT_EQ(block, block->InputHitTest(size.cx + 20, 1));
}

}  // namespace

TEST_F(TextTest, ARunsPropertyChangeRenewsItsBlocksMeasureArrangementOrPicture)
{
    enum class Renewal
    {
        Measure,
        Arrange,
        Visual
    };
    struct Case
    {
        const char* name;
        COSMMarkupDependencyProperty* property;
        std::function<COSMMarkupObject*()> value;
        Renewal renewal;
    };
    const Case cases[] = {
        {"FontSize", COSMMarkupTextElement::s_pFontSizeProperty, [] { return new COSMMarkupInt(40); },
         Renewal::Measure},
        {"BaselineAlignment Top", COSMMarkupInline::s_pBaselineAlignmentProperty, [] { return new COSMMarkupEnum(0); },
         Renewal::Arrange},
        {"Foreground", COSMMarkupTextElement::s_pForegroundProperty,
         [] { return new COSMMarkupSolidColorBrush(RGB(200, 0, 0)); }, Renewal::Visual},
        {"Background", COSMMarkupTextElement::s_pBackgroundProperty,
         [] { return new COSMMarkupSolidColorBrush(RGB(0, 0, 200)); }, Renewal::Visual},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto* recording = new markup_test::CRecordingContext;
        COSMMarkupUIElement* root =
            ParseMarkup(recording, "<TextBlock>a<Run FontSize='30'>B</Run><Span><Run>c</Run></Span></TextBlock>");
        COSMMarkupTextBlock* block = MarkupDynamicCast<COSMMarkupTextBlock>(root);
        ASSERT_NE(nullptr, block);
        const CSize size = MeasureMarkupElement(block, 0x7FFFFFFF, 0x7FFFFFFF);
        block->Arrange(0, 0, size.cx, size.cy);
        ASSERT_EQ(1u, block->GetLines().size());
        ASSERT_EQ(3u, block->GetLines()[0].pieces.size());
        const CRect before = block->GetLines()[0].pieces.back().GetRect();
        recording->invalidated.clear();
        recording->sizeChanged.clear();

        // The small run inside the span: its block is the host, found through the span.
        auto* span = MarkupDynamicCast<COSMMarkupSpan>(block->GetInlines()->GetInline(2));
        ASSERT_NE(nullptr, span);
        COSMMarkupInline* run = span->GetInlines()->GetInline(0);
        run->SetValue(c.property, c.value());

        const bool measured = !recording->sizeChanged.empty();
        EXPECT_EQ(c.renewal == Renewal::Measure, measured);
        if (measured)
        {
            EXPECT_EQ(block, recording->sizeChanged.back());
        }
        // A new size repaints through the size change; the others repaint the block.
        if (c.renewal != Renewal::Measure)
        {
            EXPECT_EQ(std::vector<COSMMarkupObject*>{block}, recording->invalidated);
        }
        const CRect after = block->GetLines()[0].pieces.back().GetRect();
        if (c.renewal == Renewal::Arrange)
        {
            // Aligned to the line's top, above where its baseline had put it, without a new measure.
            EXPECT_EQ(0, after.top);
            EXPECT_LT(after.top, before.top);
            EXPECT_EQ(size, block->GetDesiredSize());
        }
        else if (c.renewal == Renewal::Visual)
        {
            EXPECT_EQ(before, after);
        }
        ReleaseMarkupElement(&root);
        COSMMarkupContext* host = recording;
        ReleaseMarkupContext(&host);
    }
}

// ---- Layout's cost -----------------------------------------------------------------------------------------------

// The measures that invalidations run happen on the markup context's measuring DC: no GDI object is made for them,
// not even for the length of one measure, and none is left behind.
TEST_F(TextTest, MeasureInvalidationsMakeNoGdiObjects)
{
    Hold root = Hold::Adopt(Parse("<StackPanel>"
                                  "<Border Padding='2'><TextBlock Text='first line'/></Border>"
                                  "<TextBlock TextWrapping='Wrap'>a <Run FontSize='20'>longer</Run> text</TextBlock>"
                                  "<Border><StackPanel><TextBlock Text='inner'/></StackPanel></Border>"
                                  "</StackPanel>"));
    auto* panel = MarkupDynamicCast<COSMMarkupPanel>(root.Get());
    ASSERT_NE(nullptr, panel);
    // A probe in the tree looks at the process's GDI objects while an invalidation measures it.
    auto* probe = static_cast<markup_test::CProbe*>(context->CreateObject(markup_test::CProbe::GetClassType()));
    ASSERT_NE(nullptr, probe);
    probe->contentSize = CSize(10, 10);
    std::vector<int> whileMeasuring;
    bool look = false;
    probe->onMeasure = [&](COSMMarkupDrawingContext*) {
        if (look)
            whileMeasuring.push_back(CountGdiObjects());
    };
    panel->GetChildren()->Add(probe);

    std::vector<COSMMarkupUIElement*> elements;
    std::function<void(COSMMarkupVisual*)> collect = [&](COSMMarkupVisual* visual) {
        if (auto* element = MarkupDynamicCast<COSMMarkupUIElement>(visual))
            elements.push_back(element);
        for (int i = 0; i < visual->GetVisualChildrenCount(); ++i)
            collect(visual->GetVisualChild(i));
    };
    collect(panel);
    std::vector<COSMMarkupTextBlock*> blocks;
    for (COSMMarkupUIElement* element : elements)
        if (auto* block = MarkupDynamicCast<COSMMarkupTextBlock>(element))
            blocks.push_back(block);
    ASSERT_EQ(3u, blocks.size());

    const CSize size = MeasureMarkupElement(panel, 200, 0x7FFFFFFF);
    panel->Arrange(0, 0, size.cx, size.cy);
    const int before = CountGdiObjects();
    for (int i = 0; i < 1000; ++i)
    {
        if (i % 100 == 1)
        {
            look = true;
            probe->InvalidateMeasure();
            look = false;
            continue;
        }
        if (i % 3 == 0)
        {
            // A new text changes the block's size: the measure climbs to the root.
            blocks[i % blocks.size()]->SetText(i % 2 ? L"short" : L"a somewhat longer text");
            continue;
        }
        elements[i % elements.size()]->InvalidateMeasure();
    }
    EXPECT_EQ(before, CountGdiObjects());
    EXPECT_EQ(std::vector<int>(10, before), whileMeasuring);
}
