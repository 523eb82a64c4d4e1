// The tip windows' width searches against fake layouts whose sizes follow simple rules, so the answers can be
// worked out by hand.
#include "framework/controls/TipWidthSearch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kLineHeight = 16;
constexpr int kScreenWidth = 1024;

// Text of a natural width that wraps into as many lines as it needs; laid out wider than itself it keeps its own
// width. What the rich-text services tell.
struct WrappingText
{
    int naturalWidth;
    std::vector<int> widthsAsked;

    CSize operator()(int nWidth)
    {
        widthsAsked.push_back(nWidth);
        if (nWidth <= 0)
            return CSize(naturalWidth, naturalWidth * kLineHeight);  // a letter a line
        if (nWidth >= naturalWidth)
            return CSize(naturalWidth, kLineHeight);
        const int lines = (naturalWidth + nWidth - 1) / nWidth;
        return CSize(nWidth, lines * kLineHeight);
    }
};

// A document body: it fills the width it is given, wrapping text of a natural width; content that cannot wrap (a
// table minWidth wide) scrolls wider than the window.
struct HtmlBody
{
    int naturalWidth;
    int minWidth;
    std::vector<int> widthsAsked;

    CSize operator()(int nWidth)
    {
        widthsAsked.push_back(nWidth);
        const int wrapWidth = nWidth > minWidth ? nWidth : minWidth;
        const int lines = wrapWidth >= naturalWidth ? 1 : (naturalWidth + wrapWidth - 1) / wrapWidth;
        return CSize(wrapWidth, lines * kLineHeight);
    }
};

OsmTipLayoutAtWidth Calling(WrappingText& text)
{
    return [&text](int nWidth) { return text(nWidth); };
}

OsmTipLayoutAtWidth Calling(HtmlBody& body)
{
    return [&body](int nWidth) { return body(nWidth); };
}

TEST(TipWidthSearchTest, ANegativeMaximumIsTheScreenWidth)
{
    EXPECT_EQ(kScreenWidth, OsmResolveTipWidthLimit(-1, kScreenWidth));
    EXPECT_EQ(300, OsmResolveTipWidthLimit(300, kScreenWidth));
    EXPECT_EQ(0, OsmResolveTipWidthLimit(0, kScreenWidth));
}

TEST(TipWidthSearchTest, RichTextFindsTheNarrowestWidthKeepingTheHeightAtTheMaximum)
{
    struct Case
    {
        int naturalWidth;
        int maxWidth;
        CSize expected;
    };
    const Case cases[] = {
        {120, 300, CSize(120, kLineHeight)},       // one short line: its own width, not the maximum
        {1000, 300, CSize(250, 4 * kLineHeight)},  // four lines at 300 stay four down to 250
        {900, 300, CSize(300, 3 * kLineHeight)},   // three full lines: nothing narrower keeps three
        {1, 300, CSize(1, kLineHeight)},
    };
    for (const Case& c : cases)
    {
        WrappingText text{c.naturalWidth, {}};
        const CSize size = OsmSearchRichTextExtent(c.maxWidth, kScreenWidth, Calling(text));
        EXPECT_EQ(c.expected, size) << "natural width " << c.naturalWidth;
        ASSERT_FALSE(text.widthsAsked.empty());
        EXPECT_EQ(c.maxWidth, text.widthsAsked.front()) << "the first pass sets the height to keep";
    }
}

TEST(TipWidthSearchTest, RichTextWithoutLimitSearchesTheScreenWidth)
{
    WrappingText text{3000, {}};
    const CSize size = OsmSearchRichTextExtent(-1, kScreenWidth, Calling(text));
    EXPECT_EQ(kScreenWidth, text.widthsAsked.front());
    for (int width : text.widthsAsked)
        EXPECT_GE(width, 0);
    EXPECT_EQ(CSize(1000, 3 * kLineHeight), size);  // three lines at the screen width, as narrow as three allow
}

TEST(TipWidthSearchTest, HtmlShortContentMeasuresItsOwnWidth)
{
    HtmlBody body{120, 0, {}};
    EXPECT_EQ(120, OsmSearchHtmlTipWidth(300, kScreenWidth, kLineHeight, Calling(body)));
    EXPECT_EQ(300, body.widthsAsked.front());
}

TEST(TipWidthSearchTest, HtmlContentWiderThanEveryWidthIsTakenAtTheFirstStep)
{
    HtmlBody table{700, 700, {}};
    EXPECT_EQ(700, OsmSearchHtmlTipWidth(300, kScreenWidth, kLineHeight, Calling(table)));
    EXPECT_EQ(std::vector<int>{300}, table.widthsAsked);
}

TEST(TipWidthSearchTest, HtmlWithoutLimitSearchesTheScreenWidth)
{
    HtmlBody body{1800, 0, {}};
    // Laid out 650 wide first, as the tip does: three lines.
    const int naturalHeight = body(650).cy;
    body.widthsAsked.clear();
    const int width = OsmSearchHtmlTipWidth(-1, kScreenWidth, naturalHeight, Calling(body));
    EXPECT_EQ(kScreenWidth, body.widthsAsked.front());
    for (int asked : body.widthsAsked)
        EXPECT_GE(asked, 0);
    EXPECT_EQ(600, width);  // the narrowest width that still takes three lines
}

}  // namespace
