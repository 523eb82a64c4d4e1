// Long text in text blocks, narrow and wide: every piece is as wide and tall as the system measures its characters,
// wherever the layout cut it; the system is asked to measure a number of times that grows with the text's length
// divided by thousands (a run's characters are measured once per layout, not once per word or line), and only the
// lines that meet the clip box are handed on to be drawn; the lines and pieces of layouts of many thousand lines
// keep their text and order. Counted through a renderer that notes its measuring and drawing calls. A tree of short
// texts costs one measure each and one metrics read per font, counted at the program's imports of the system's calls.
#include "DcTestSurface.h"
#include "ImportPatches.h"
#include "ParseTestSupport.h"

#include "framework/markup/Markup.h"
#include "framework/markup/MarkupDeviceContext.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupTextBlock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using markup_test::ParseTest;

namespace {

// What a renderer asked the system to measure and handed on to draw.
struct TextCalls
{
    long long measures = 0;
    long long measuredCharacters = 0;
    long long drawnLines = 0;
};

// The GDI renderer, counting its measuring and text drawing calls.
class CCountingRenderer : public COSMMarkupDeviceContext
{
public:
    CCountingRenderer(HDC dc, TextCalls* calls) : COSMMarkupDeviceContext(dc, nullptr), m_pCalls(calls) {}

    SIZE GetTextExtent(LPCWSTR text, int count) override
    {
        Note(count);
        return COSMMarkupDeviceContext::GetTextExtent(text, count);
    }
    int GetTextFit(LPCWSTR text, int count, int maxWidth) override
    {
        // The fitting measure asks about what fits and as much again, not about count: a call, its characters unknown.
        Note(0);
        return COSMMarkupDeviceContext::GetTextFit(text, count, maxWidth);
    }
    BOOL GetTextExtents(LPCWSTR text, int count, int* extents, SIZE* size) override
    {
        Note(count);
        return COSMMarkupDeviceContext::GetTextExtents(text, count, extents, size);
    }
    void DrawTextLine(LPCWSTR text, int count, const POINT* point) override
    {
        ++m_pCalls->drawnLines;
        COSMMarkupDeviceContext::DrawTextLine(text, count, point);
    }

private:
    void Note(int count)
    {
        ++m_pCalls->measures;
        m_pCalls->measuredCharacters += count > 0 ? count : 0;
    }

    TextCalls* m_pCalls;
};

// The program's own imports of the system's text measures, counted while a scope lasts: the markup library is linked
// into the test program, so its every call to them goes through the program's import table.
class CMeasureImportCounter
{
public:
    CMeasureImportCounter()
    {
        m_patches.Patch("gdi32.dll", "GetTextMetricsW", reinterpret_cast<ULONG_PTR>(&CountedGetTextMetricsW),
                        &s_getTextMetrics);
        m_patches.Patch("gdi32.dll", "GetTextExtentPoint32W",
                        reinterpret_cast<ULONG_PTR>(&CountedGetTextExtentPoint32W), &s_getTextExtentPoint32);
        m_patches.Patch("gdi32.dll", "GetTextExtentExPointW",
                        reinterpret_cast<ULONG_PTR>(&CountedGetTextExtentExPointW), &s_getTextExtentExPoint);
        s_metrics = s_extents = 0;
    }
    CMeasureImportCounter(const CMeasureImportCounter&) = delete;
    CMeasureImportCounter& operator=(const CMeasureImportCounter&) = delete;

    // Whether every import was found (a program that imports one differently would count nothing).
    bool AllPatched() const { return m_patches.Count() == 3; }
    static long Metrics() { return s_metrics; }
    static long Extents() { return s_extents; }

private:
    static BOOL WINAPI CountedGetTextMetricsW(HDC dc, LPTEXTMETRICW metrics)
    {
        ++s_metrics;
        return reinterpret_cast<decltype(&::GetTextMetricsW)>(s_getTextMetrics)(dc, metrics);
    }
    static BOOL WINAPI CountedGetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size)
    {
        ++s_extents;
        return reinterpret_cast<decltype(&::GetTextExtentPoint32W)>(s_getTextExtentPoint32)(dc, text, count, size);
    }
    static BOOL WINAPI CountedGetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit,
                                                    LPINT extents, LPSIZE size)
    {
        ++s_extents;
        return reinterpret_cast<decltype(&::GetTextExtentExPointW)>(s_getTextExtentExPoint)(dc, text, count, maxExtent,
                                                                                            fit, extents, size);
    }

    static inline ULONG_PTR s_getTextMetrics = 0;
    static inline ULONG_PTR s_getTextExtentPoint32 = 0;
    static inline ULONG_PTR s_getTextExtentExPoint = 0;
    static inline long s_metrics = 0;
    static inline long s_extents = 0;
    osm::test::ImportPatches m_patches;
};

std::wstring Repeat(const std::wstring& unit, size_t characters)
{
    std::wstring text;
    while (text.size() < characters)
        text += unit;
    return text;
}

class TextLayoutTest : public ParseTest
{
protected:
    // A text block parsed from the attributes and given text (its Text: line feeds stay line feeds), held by the test.
    COSMMarkupTextBlock* Block(const std::wstring& text, const std::string& attributes)
    {
        COSMMarkupTextBlock* block = MarkupDynamicCast<COSMMarkupTextBlock>(Parse("<TextBlock " + attributes + "/>"));
        if (!block)
            return nullptr;
        m_blocks.push_back(std::unique_ptr<COSMMarkupTextBlock, Releaser>(block));
        block->SetText(text.c_str());
        return block;
    }
    void TearDown() override
    {
        m_blocks.clear();
        ParseTest::TearDown();
    }

    // The text of one piece, "" for a piece of no run.
    static std::wstring PieceText(const COSMMarkupTextBlock::TextPiece& piece)
    {
        const COSMMarkupRun* run = MarkupDynamicCast<COSMMarkupRun>(piece.inlineElement);
        const int first = COSMMarkupTextBlock::GetCharIndex(piece, piece.start);
        const int last = COSMMarkupTextBlock::GetCharIndex(piece, piece.end);
        return run && first >= 0 && last >= first ? std::wstring(run->GetTextChars() + first, last - first) : L"";
    }
    static std::wstring LineText(const COSMMarkupTextBlock::TextLine& line)
    {
        std::wstring text;
        for (const COSMMarkupTextBlock::TextPiece& piece : line.pieces)
            text += PieceText(piece);
        return text;
    }

private:
    struct Releaser
    {
        void operator()(COSMMarkupTextBlock* block) const { block->Release(); }
    };
    std::vector<std::unique_ptr<COSMMarkupTextBlock, Releaser>> m_blocks;
};

// Every piece of a run is as wide and as tall as GetTextExtentPoint32 makes its characters in the run's font,
// however the layout cut the text (words, lines, characters a line each, joined words), in plain, bold, italic,
// fixed-pitch and very large fonts.
TEST_F(TextLayoutTest, EveryPieceMeasuresWhatTheSystemMeasuresForItsCharacters)
{
    const std::wstring text =
        L"The quick brown fox jumps over the lazy dog; 0123456789 (WAVE, AV, Ty, fi) \x00E9t\x00E9 "
        L"Pack my box with five dozen liquor jugs.\nSphinx of black quartz, judge my vow!";
    const char* const kFonts[] = {"",
                                  "FontWeight='Bold'",
                                  "FontStyle='Italic'",
                                  "FontSize='40'",
                                  "FontFamily='Courier New' FontSize='17'",
                                  "FontSize='400'"};
    const char* const kLayouts[] = {"TextWrapping='Wrap'", "TextWrapping='WrapWithOverflow'",
                                    "TextWrapping='Wrap' TextAlignment='Justify'"};
    HDC dc = ::CreateCompatibleDC(nullptr);
    int pieces = 0;
    for (const char* font : kFonts)
    {
        for (const char* layout : kLayouts)
        {
            for (int width : {1, 7, 60, 200, 0x7FFFFFFF})
            {
                SCOPED_TRACE(std::string(font) + " " + layout + " width " + std::to_string(width));
                COSMMarkupTextBlock* block = Block(text, std::string(font) + " " + layout);
                ASSERT_NE(nullptr, block);
                MeasureMarkupElement(block, width, 0x7FFFFFFF);
                ASSERT_FALSE(block->GetLines().empty());
                for (const COSMMarkupTextBlock::TextLine& line : block->GetLines())
                {
                    for (const COSMMarkupTextBlock::TextPiece& piece : line.pieces)
                    {
                        const COSMMarkupRun* run = MarkupDynamicCast<COSMMarkupRun>(piece.inlineElement);
                        const std::wstring characters = PieceText(piece);
                        if (!run || characters.empty())
                            continue;
                        LOGFONTW logFont;
                        run->GetLogFont(&logFont);
                        HFONT made = ::CreateFontIndirectW(&logFont);
                        HGDIOBJ old = ::SelectObject(dc, made);
                        SIZE size = {0, 0};
                        ::GetTextExtentPoint32W(dc, characters.c_str(), static_cast<int>(characters.size()), &size);
                        ::SelectObject(dc, old);
                        ::DeleteObject(made);
                        ASSERT_EQ(size.cx, piece.width)
                            << "'" << std::string(characters.begin(), characters.end()) << "'";
                        ASSERT_EQ(size.cy, piece.height);
                        ++pieces;
                    }
                }
            }
        }
    }
    ::DeleteDC(dc);
    EXPECT_GT(pieces, 1000);
}

// About a megabyte of text in blocks a few pixels wide, one line for each character or word: the system is asked
// to measure a few times for every thousand characters and measures each character about once, and of the
// hundreds of thousands of lines only those meeting the 320 x 240 area are handed on to be drawn.
TEST_F(TextLayoutTest, LongTextInANarrowBlockCostsFewMeasuresAndDrawsOnlyTheLinesThatShow)
{
    constexpr size_t kCharacters = 150000;
    const struct
    {
        const char* name;
        std::wstring text;
    } kTexts[] = {
        {"one word", Repeat(L"abcdefghij", kCharacters)},
        {"words of one character", Repeat(L"a ", kCharacters)},
        {"a line feed after each character", Repeat(L"a\n", kCharacters)},
        {"empty lines", Repeat(L"\n", kCharacters)},
    };
    for (const auto& text : kTexts)
    {
        for (const char* font : {"", "FontSize='400'"})
        {
            for (int width : {1, 3, 7})
            {
                SCOPED_TRACE(std::string(text.name) + " " + font + " width " + std::to_string(width));
                COSMMarkupTextBlock* block = Block(text.text, std::string("TextWrapping='Wrap' ") + font);
                ASSERT_NE(nullptr, block);
                foundation_test::DcTestSurface surface(320, 240);
                TextCalls calls;
                {
                    COSMMarkupDrawingContext dc(surface.GetDC(), new CCountingRenderer(surface.GetDC(), &calls));
                    block->Measure(&dc, width, 0x7FFFFFFF);
                }
                const size_t characters = text.text.size();
                // The layout is there: at least a line for every two characters (every word, or line feed).
                ASSERT_GE(block->GetLines().size(), characters / 2);
                EXPECT_LE(calls.measures, static_cast<long long>(characters / 1000 + 16));
                EXPECT_LE(calls.measuredCharacters, static_cast<long long>(2 * characters + 4096));

                calls = TextCalls();
                {
                    COSMMarkupDrawingContext dc(surface.GetDC(), new CCountingRenderer(surface.GetDC(), &calls));
                    block->Arrange(0, 0, width, 0x7FFFFFFF);
                    block->Render(&dc);
                }
                const int lineHeight = block->GetLines()[0].height;
                ASSERT_GT(lineHeight, 0);
                EXPECT_LE(calls.drawnLines, 240 / lineHeight + 2);
                EXPECT_EQ(0, calls.measures);
            }
        }
    }
}

// Layouts of many thousand lines and of one line of thousands of pieces keep every character in order: lines in
// reading order with their pieces together, whatever chunk of the layout's memory they fell into.
TEST_F(TextLayoutTest, ManyLinesAndLongLinesKeepTheirTextInOrder)
{
    std::wstring words;
    for (int i = 0; i < 30000; ++i)
        words += std::to_wstring(i) + L" ";
    const struct
    {
        const char* attributes;
        int width;
    } kLayouts[] = {
        // A word a line, tens of thousands of lines.
        {"TextWrapping='Wrap'", 1},
        // A few words a line.
        {"TextWrapping='Wrap'", 80},
        // One line of every word, each its own piece.
        {"TextWrapping='Wrap' TextAlignment='Justify'", 0x7FFFFFFF},
        // A character a line.
        {"TextWrapping='Wrap' FontSize='30'", 3},
    };
    for (const auto& layout : kLayouts)
    {
        SCOPED_TRACE(std::string(layout.attributes) + " width " + std::to_string(layout.width));
        COSMMarkupTextBlock* block = Block(words, layout.attributes);
        ASSERT_NE(nullptr, block);
        MeasureMarkupElement(block, layout.width, 0x7FFFFFFF);
        const auto& lines = block->GetLines();
        ASSERT_FALSE(lines.empty());
        // Each line's text follows the last in the text; only the blanks a line broke at are dropped.
        size_t at = 0;
        size_t counted = 0;
        for (const COSMMarkupTextBlock::TextLine& line : lines)
        {
            const std::wstring text = LineText(line);
            // Indexing finds the same line as walking.
            ASSERT_EQ(text, LineText(lines[counted]));
            while (at < words.size() && words[at] == L' ' && (text.empty() || text[0] != L' '))
                ++at;
            ASSERT_EQ(words.substr(at, text.size()), text) << "line " << counted;
            at += text.size();
            ++counted;
        }
        EXPECT_EQ(lines.size(), counted);
        while (at < words.size() && words[at] == L' ')
            ++at;
        EXPECT_EQ(words.size(), at);
        if (layout.width == 0x7FFFFFFF)
        {
            ASSERT_EQ(1u, lines.size());
            EXPECT_GE(lines[0].pieces.size(), 30000u);
        }
    }
}

// A tree of short texts, a word or a few each, unwrapped and wrapped, in two fonts: its measure asks the system to
// measure each text once and reads each font's metrics once, not once or twice for every text, and each block is
// as wide as the system measures its text.
TEST_F(TextLayoutTest, ShortTextsCostOneMeasureEachAndTheirFontsMetricsOnce)
{
    struct ShortText
    {
        std::wstring text;
        const char* attributes;
    };
    std::vector<ShortText> texts;
    for (int i = 0; i < 60; ++i)
    {
        const char* attributes = i % 3 == 0 ? "TextWrapping='Wrap'" : i % 3 == 1 ? "FontWeight='Bold'" : "";
        texts.push_back({(i % 2 ? L"value " : L"Item ") + std::to_wstring(i * 7), attributes});
    }
    std::string document = "<StackPanel>";
    for (const ShortText& text : texts)
        document += "<TextBlock " + std::string(text.attributes) + " Text='" +
                    std::string(text.text.begin(), text.text.end()) + "'/>";
    document += "</StackPanel>";
    COSMMarkupUIElement* root = Parse(document);
    ASSERT_NE(nullptr, root);
    struct Release
    {
        COSMMarkupUIElement* root;
        ~Release() { root->Release(); }
    } release{root};

    long metrics = 0;
    long extents = 0;
    {
        CMeasureImportCounter counter;
        ASSERT_TRUE(counter.AllPatched());
        MeasureMarkupElement(root, 800, 0x7FFFFFFF);
        metrics = CMeasureImportCounter::Metrics();
        extents = CMeasureImportCounter::Extents();
    }
    EXPECT_EQ(static_cast<long>(texts.size()), extents);
    // The regular font and the bold one.
    EXPECT_LE(metrics, 2);

    ASSERT_EQ(static_cast<int>(texts.size()), root->GetVisualChildrenCount());
    HDC dc = ::CreateCompatibleDC(nullptr);
    for (int i = 0; i < root->GetVisualChildrenCount(); ++i)
    {
        auto* block = MarkupDynamicCast<COSMMarkupTextBlock>(root->GetVisualChild(i));
        ASSERT_NE(nullptr, block);
        ASSERT_EQ(1u, block->GetLines().size());
        const auto* run = MarkupDynamicCast<COSMMarkupRun>(block->GetLines()[0].pieces[0].inlineElement);
        ASSERT_NE(nullptr, run);
        LOGFONTW logFont;
        run->GetLogFont(&logFont);
        HFONT made = ::CreateFontIndirectW(&logFont);
        HGDIOBJ old = ::SelectObject(dc, made);
        const std::wstring& text = texts[static_cast<size_t>(i)].text;
        SIZE size = {0, 0};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        ::SelectObject(dc, old);
        ::DeleteObject(made);
        EXPECT_EQ(size.cx, block->GetDesiredSize().cx) << i;
        EXPECT_EQ(size.cy, block->GetDesiredSize().cy) << i;
    }
    ::DeleteDC(dc);
}

}  // namespace
