// The markup reader's tokens: types, values and the position after each, for every kind of line end; comments,
// CDATA and instructions in chunks; entities; UTF-8, ANSI and double-byte text; malformed characters. Every text
// ends where readable memory ends, so a read past its end faults.
#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using markup_test::GuardedText;
using markup_test::ReadTokens;
using markup_test::Utf8;

namespace {

using Lines = std::vector<std::string>;

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const char kInvalid[] = "error Invalid character in the given encoding";

struct TokenCase
{
    const char* text;
    Lines tokens;
};

// Written with LF; the test reads each text with LF, CR LF and CR as its line ends and expects the same positions.
const TokenCase kTokenCases[] = {
    {"a b", {"text a @1:3", "space   @1:4", "text b @1:4", "end @1:4"}},
    {"<a x=\"1\">\n  <b/>\n</a>",
     {"start a @1:5", "attr x=1 @1:9", "space \n   @2:4", "start b @2:6", "end-tag b @2:7", "space \n @3:2",
      "end-tag a @3:5", "end @3:5"}},
    // The "/>" of an empty element ends it under its start tag's name.
    {"<Page Width='1' />", {"start Page @1:8", "attr Width=1 @1:16", "end-tag Page @1:19", "end @1:19"}},
    // CDATA is its own section, never content; '<' inside it is text of the section.
    {"<a><![CDATA[x<y]]></a>",
     {"start a @1:4", "cdata @1:13", "chunk x<y @1:19", "/cdata @1:19", "end-tag a @1:23", "end @1:23"}},
    {"<?xml version=\"1.0\" encoding=\"utf-8\"?>",
     {"pi @1:3", "chunk xmlversion=\"1.0\"encoding=\"utf-8\" @1:39", "/pi xmlversion=\"1.0\"encoding=\"utf-8\" @1:39",
      "end @1:39"}},
    {"<!-- a\nb -->\n<a/>",
     {"comment @1:5", "chunk  a\nb  @2:6", "/comment @2:6", "space \n @3:2", "start a @3:4", "end-tag a @3:5",
      "end @3:5"}},
    // Attribute values are taken as written: no entities, '<' allowed, line ends kept.
    {"<a v=\"&lt;<\nx\"/>", {"start a @1:5", "attr v=&lt;<\nx @2:3", "end-tag a @2:5", "end @2:5"}},
};

TEST(MarkupXmlReaderTest, TokensAndPositionsAreTheSameForEveryKindOfLineEnd)
{
    for (const char* lineEnd : {"\n", "\r\n", "\r"})
    {
        for (const TokenCase& c : kTokenCases)
        {
            Lines expected;
            for (const std::string& line : c.tokens)
                expected.push_back(Replace(line, "\n", lineEnd));
            EXPECT_EQ(expected, ReadTokens(Replace(c.text, "\n", lineEnd), CP_ACP, true))
                << testing::PrintToString(Replace(c.text, "\n", lineEnd));
        }
    }
}

TEST(MarkupXmlReaderTest, CrLfAndCrEachEndOneLine)
{
    const struct
    {
        const char* text;
        const char* end;
    } kCases[] = {
        {"\r\n\r\n", "end @3:1"}, {"\n\r", "end @3:1"}, {"\r\r\n", "end @3:1"}, {"\n\n", "end @3:1"},
        {"a\r\nb", "end @2:2"},   {"a\rb", "end @2:2"}, {"a\n\rb", "end @3:2"}, {"\r\n\n", "end @3:1"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.end, ReadTokens(c.text, CP_ACP, true).back()) << testing::PrintToString(c.text);
}

TEST(MarkupXmlReaderTest, LongSectionsComeInChunksOfAtMost1023Characters)
{
    const std::string c1022(1022, 'c');
    const std::string c1023(1023, 'c');
    const std::string smile = "\xF0\x9F\x98\x80";
    const struct
    {
        std::string text;
        UINT codePage;
        Lines tokens;
    } kCases[] = {
        {"<!--" + std::string(3000, 'c') + "-->",
         CP_ACP,
         {"comment", "chunk " + c1023, "chunk " + c1023, "chunk " + std::string(954, 'c'), "/comment", "end"}},
        // A terminator split over two chunks still ends the section.
        {"<!--" + c1022 + "--><a/>",
         CP_ACP,
         {"comment", "chunk " + c1022, "chunk ", "/comment", "start a", "end-tag a", "end"}},
        {"<![CDATA[" + c1022 + "]]>", CP_ACP, {"cdata", "chunk " + c1022, "chunk ", "/cdata", "end"}},
        {"<?" + c1023 + "?>", CP_ACP, {"pi", "chunk " + c1023, "chunk ", "/pi ", "end"}},
        // A surrogate pair is never split between chunks.
        {"<!--" + c1022 + smile + "-->", CP_UTF8, {"comment", "chunk " + c1022, "chunk " + smile, "/comment", "end"}},
        // Instructions drop white space; the end of input inside a section is the end.
        {"<? a b\tc ?>", CP_ACP, {"pi", "chunk abc", "/pi abc", "end"}},
        {"<!-- open", CP_ACP, {"comment", "end"}},
        {"<!---->", CP_ACP, {"comment", "chunk ", "/comment", "end"}},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.tokens, ReadTokens(c.text, c.codePage, false)) << c.text.substr(0, 40);
}

TEST(MarkupXmlReaderTest, EntitiesNeedANameAndASemicolonOrStayAsWritten)
{
    const struct
    {
        std::string text;
        Lines tokens;
    } kCases[] = {
        {"Save & <Bold>", {"text Save", "space  ", "text &", "space  ", "start Bold", "end"}},
        {"AT&T rocks</T>", {"text AT", "text &T", "space  ", "text rocks", "end-tag T", "end"}},
        {"&lt;b&gt;", {"text <b", "text >", "end"}},
        {"&amp;&apos;&quot;", {"text &", "text '", "text \"", "end"}},
        {"&Amp; &nbsp;", {"text &Amp;", "space  ", "text &nbsp;", "end"}},
        {"&#65;&#x41;&#X41;", {"text A", "text A", "text &#X41;", "end"}},
        {"&#65601;", {"text \xF0\x90\x81\x81", "end"}},
        {"&#1114111;&#1114112;", {"text \xF4\x8F\xBF\xBF", "text &#1114112;", "end"}},
        {"&#010;", {"text \n", "end"}},
        {"&#x20;", {"text  ", "end"}},
        {"&#0x41;", {"text &#0x41;", "end"}},
        {"&#xD800;", {"text &#xD800;", "end"}},
        {"&#0;", {"text &#0;", "end"}},
        {"&#;&#x;&#99999999999999999999;", {"text &#;", "text &#x;", "text &#99999999999999999999;", "end"}},
        {"a&", {"text a", "text &", "end"}},
        {"&lt", {"text &lt", "end"}},
        // 31 name characters at most: the 32nd ends the name, which then has no ';' after it.
        {"&" + std::string(32, 'a') + ";", {"text &" + std::string(32, 'a') + ";", "end"}},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.tokens, ReadTokens(c.text, CP_ACP, false)) << testing::PrintToString(c.text);
}

TEST(MarkupXmlReaderTest, Utf8SequencesOfTwoThreeAndFourBytesAreOneCharacterEach)
{
    // é, €, U+1F600 (a surrogate pair in the value) and x: four characters, so the end is at position 5.
    const Lines tokens = ReadTokens("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80x", CP_UTF8, true);
    EXPECT_EQ((Lines{"text \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80x @1:5", "end @1:5"}), tokens);

    const GuardedText text(std::string("\xF0\x9F\x98\x80"));
    COSMMarkupXmlReader reader;
    reader.SetInput(text.Begin(), text.End());
    reader.SetCodePage(CP_UTF8);
    ASSERT_EQ(COSMMarkupXmlReader::TokenText, reader.Read());
    ASSERT_EQ(2, reader.GetValueLength());
    EXPECT_EQ(0xD83D, reader.GetValue()[0]);
    EXPECT_EQ(0xDE00, reader.GetValue()[1]);
}

TEST(MarkupXmlReaderTest, MalformedOrTruncatedUtf8StopsAtTheOffendingCharacter)
{
    const char* const kBad[] = {
        "\xC3",              // truncated at the end of the text
        "\xC3<b/>",          // a lead byte must not fold the '<' after it
        "\xC3\"",            //
        "\xE2\x82",          //
        "\xE2\x82<",         //
        "\xF0\x9F\x98",      //
        "\x80",              // a continuation byte on its own
        "\xC0\x80",          // overlong forms
        "\xE0\x80\x80",      //
        "\xF0\x80\x80\x80",  //
        "\xED\xA0\x80",      // a surrogate
        "\xF4\x90\x80\x80",  // past U+10FFFF
        "\xF5\x80\x80\x80",  //
        "\xFF",              //
    };
    for (const char* bad : kBad)
    {
        const std::string bytes = std::string("ab") + bad + "cd";
        const GuardedText text(bytes);
        COSMMarkupXmlReader reader;
        reader.SetInput(text.Begin(), text.End());
        reader.SetCodePage(CP_UTF8);
        EXPECT_EQ((Lines{std::string(kInvalid) + " @1:3"}), markup_test::ReadTokens(reader, true))
            << testing::PrintToString(bytes);
        // Later reads repeat it.
        EXPECT_EQ(COSMMarkupXmlReader::TokenError, reader.Read());
        EXPECT_EQ(std::string(kInvalid), "error " + Utf8(reader.GetValue()));

        const GuardedText first{std::string(bad)};
        reader.SetInput(first.Begin(), first.End());
        reader.SetCodePage(CP_UTF8);
        EXPECT_FALSE(reader.MoveToContent()) << testing::PrintToString(bytes);
    }
}

TEST(MarkupXmlReaderTest, ANulByteIsNoCharacter)
{
    EXPECT_EQ((Lines{std::string(kInvalid) + " @1:2"}), ReadTokens(std::string("a\0b", 3), CP_ACP, true));
    EXPECT_EQ((Lines{std::string(kInvalid) + " @1:4"}), ReadTokens(std::string("<a \0/>", 6), CP_UTF8, true));
}

TEST(MarkupXmlReaderTest, AnsiTextReadsEachHighByteAsOneCharacter)
{
    // Under the ANSI code page the UTF-8 form of é is two characters, whatever the code page makes of them.
    const GuardedText text(std::string("\xC3\xA9"));
    COSMMarkupXmlReader reader;
    reader.SetInput(text.Begin(), text.End());
    ASSERT_EQ(COSMMarkupXmlReader::TokenText, reader.Read());
    ASSERT_EQ(2, reader.GetValueLength());
#ifdef _WIN32
    for (int i = 0; i < 2; ++i)
    {
        WCHAR expected = 0;
        ASSERT_EQ(1, ::MultiByteToWideChar(CP_ACP, 0, text.Begin() + i, 1, &expected, 1));
        EXPECT_EQ(expected, reader.GetValue()[i]);
    }
#else
    EXPECT_EQ(0xC3, reader.GetValue()[0]);
    EXPECT_EQ(0xA9, reader.GetValue()[1]);
#endif
    EXPECT_EQ(2, reader.GetColumn());
}

#ifdef _WIN32
TEST(MarkupXmlReaderTest, DoubleByteCharactersConvertAsPairsOrNotAtAll)
{
    ASSERT_TRUE(::IsValidCodePage(932));
    // Hiragana A, then a character whose trail byte is '\' (0x5C): both one character each.
    EXPECT_EQ((Lines{"text \xE3\x81\x82\xE3\x82\xBD @1:3", "end @1:3"}), ReadTokens("\x82\xA0\x83\x5C", 932, true));
    EXPECT_EQ((Lines{"start a @1:5", "attr v=\xE3\x81\x82 @1:9", "end-tag a @1:11", "end @1:11"}),
              ReadTokens("<a v=\"\x82\xA0\"/>", 932, true));
    // A lead byte at the end of the text, or before a byte that cannot trail it, is no character.
    EXPECT_EQ((Lines{std::string(kInvalid) + " @1:2"}), ReadTokens("a\x82", 932, true));
    EXPECT_EQ((Lines{"start a @1:5", std::string(kInvalid) + " @1:7"}), ReadTokens("<a v=\"\x82\"/>", 932, true));
}
#endif

TEST(MarkupXmlReaderTest, NamesKeepTheirFirst127Characters)
{
    const std::string name(200, 'n');
    const Lines tokens = ReadTokens("<" + name + " " + name + "='1'></" + name + ">", CP_ACP, false);
    const std::string kept(127, 'n');
    EXPECT_EQ((Lines{"start " + kept, "attr " + kept + "=1", "end-tag " + kept, "end"}), tokens);
}

TEST(MarkupXmlReaderTest, MoveToContentSkipsWhiteSpaceUpToTheFirstTag)
{
    const struct
    {
        const char* text;
        bool found;
    } kCases[] = {
        {" \t\r\n\f<a/>", true}, {"<a/>", true},   {"", false},
        {"  ", false},           {"x<a/>", false}, {"\xEF\xBB\xBF<a/>", false},
    };
    for (const auto& c : kCases)
    {
        const GuardedText text{std::string(c.text)};
        COSMMarkupXmlReader reader;
        reader.SetInput(text.Begin(), text.End());
        EXPECT_EQ(c.found, reader.MoveToContent() != FALSE) << testing::PrintToString(c.text);
        if (c.found)
        {
            EXPECT_EQ(COSMMarkupXmlReader::TokenStartElement, reader.Read());
        }
    }
}

TEST(MarkupXmlReaderTest, WideInputReadsUnitsAndPairs)
{
    const WCHAR text[] = {'<', 'a', '>', 0xE9, 0xD83D, 0xDE00, '<', '/', 'a', '>'};
    const GuardedText guarded(text, sizeof text);
    COSMMarkupXmlReader reader;
    reader.SetWideInput(reinterpret_cast<const WCHAR*>(guarded.Begin()), reinterpret_cast<const WCHAR*>(guarded.End()));
    EXPECT_EQ((Lines{"start a @1:4", "text \xC3\xA9\xF0\x9F\x98\x80 @1:7", "end-tag a @1:10", "end @1:10"}),
              markup_test::ReadTokens(reader, true));

    const WCHAR lone[] = {'a', 0xDE00, 'b'};
    const GuardedText guardedLone(lone, sizeof lone);
    reader.SetWideInput(reinterpret_cast<const WCHAR*>(guardedLone.Begin()),
                        reinterpret_cast<const WCHAR*>(guardedLone.End()));
    EXPECT_EQ((Lines{std::string(kInvalid) + " @1:2"}), markup_test::ReadTokens(reader, true));
}

class CEntityReader : public COSMMarkupXmlReader
{
public:
    UINT ResolveEntity(const WCHAR* name, int length) override
    {
        if (length == 4 && name[0] == 'n' && name[1] == 'b' && name[2] == 's' && name[3] == 'p')
            return 0xA0;
        if (length == 3 && name[0] == 'b' && name[1] == 'a' && name[2] == 'd')
            return 0xD800;  // no code point: stays as written
        return COSMMarkupXmlReader::ResolveEntity(name, length);
    }
};

TEST(MarkupXmlReaderTest, ADerivedReaderResolvesFurtherNames)
{
    const GuardedText text(std::string("&nbsp;&bad;&#65;"));
    CEntityReader reader;
    reader.SetInput(text.Begin(), text.End());
    EXPECT_EQ((Lines{"text \xC2\xA0", "text &bad;", "text A", "end"}), markup_test::ReadTokens(reader, false));
}

}  // namespace
