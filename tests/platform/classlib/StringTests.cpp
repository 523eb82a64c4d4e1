// CString: the operations the program's writers and dialogs lean on, with their edge indexes.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "TestResources.h"

TEST(CStringTest, MidLeftRightClampTheirArguments)
{
    const CString text("Hello");
    struct Case
    {
        const char* what;
        CString actual;
        const char* expected;
    };
    const Case cases[] = {
        {"Mid(1)", text.Mid(1), "ello"},       {"Mid(0, 2)", text.Mid(0, 2), "He"},
        {"Mid(3, 10)", text.Mid(3, 10), "lo"}, {"Mid(5)", text.Mid(5), ""},
        {"Mid(9)", text.Mid(9), ""},           {"Mid(-2, 3)", text.Mid(-2, 3), "Hel"},
        {"Mid(2, -1)", text.Mid(2, -1), ""},   {"Left(0)", text.Left(0), ""},
        {"Left(3)", text.Left(3), "Hel"},      {"Left(99)", text.Left(99), "Hello"},
        {"Left(-1)", text.Left(-1), ""},       {"Right(2)", text.Right(2), "lo"},
        {"Right(5)", text.Right(5), "Hello"},  {"Right(7)", text.Right(7), "Hello"},
        {"Right(-3)", text.Right(-3), ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.actual, c.expected) << c.what;
}

TEST(CStringTest, FindAndReverseFindReportIndexesOrMinusOne)
{
    const CString path("D:\\DISTR_WIN\\I386\\WINNT.SIF");
    struct Case
    {
        const char* what;
        int actual;
        int expected;
    };
    const Case cases[] = {
        {"Find('\\\\')", path.Find('\\'), 2},
        {"Find('\\\\', 3)", path.Find('\\', 3), 12},
        {"Find('\\\\', 27)", path.Find('\\', 27), -1},
        {"Find('x')", path.Find('x'), -1},
        {"Find(\"I386\")", path.Find("I386"), 13},
        {"Find(\"I386\", 14)", path.Find("I386", 14), -1},
        {"Find(\"\", 4)", path.Find("", 4), 4},
        {"Find(\"WIN\", -1)", path.Find("WIN", -1), -1},
        {"ReverseFind('\\\\')", path.ReverseFind('\\'), 17},
        {"ReverseFind('.')", path.ReverseFind('.'), 23},
        {"ReverseFind('#')", path.ReverseFind('#'), -1},
        {"FindOneOf(\".\\\\\")", path.FindOneOf(".\\"), 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what;
    EXPECT_STREQ(path.Mid(path.ReverseFind('\\') + 1), "WINNT.SIF");
}

TEST(CStringTest, ReplaceAndRemoveCountWhatChanged)
{
    struct Case
    {
        const char* input;
        const char* from;
        const char* to;
        const char* expected;
        int count;
    };
    const Case cases[] = {
        {"AAAAA-BBBBB-CCCCC", "-", "", "AAAAABBBBBCCCCC", 2},
        {"a-b-c", "-", "--", "a--b--c", 2},
        {"aaa", "aa", "b", "ba", 1},
        {"%SystemRoot%\\system32", "%SystemRoot%", "C:\\WINDOWS", "C:\\WINDOWS\\system32", 1},
        {"nothing here", "xyz", "!", "nothing here", 0},
        {"abc", "", "x", "abc", 0},
    };
    for (const Case& c : cases)
    {
        CString s(c.input);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.input;
        EXPECT_STREQ(s, c.expected) << c.input;
    }

    CString slashes("a/b/c");
    EXPECT_EQ(slashes.Replace('/', '\\'), 2);
    EXPECT_STREQ(slashes, "a\\b\\c");
    CString key("12345-67890-ABCDE");
    EXPECT_EQ(key.Remove('-'), 2);
    EXPECT_STREQ(key, "1234567890ABCDE");
}

namespace {

// Code written for the system's C runtime spells 64-bit sizes "I64"; the compiler's printf checks do not know that
// spelling, so it goes through FormatV here.
CString FormatThroughVaList(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    CString s;
    s.FormatV(format, args);
    va_end(args);
    return s;
}

}  // namespace

TEST(CStringTest, FormatFollowsPrintf)
{
    CString s;
    s.Format("%s=%d", "Count", 42);
    EXPECT_STREQ(s, "Count=42");
    s.Format("[%5s|%-4d|%05.1f|%x]", "ab", 7, 3.14159, 255u);
    EXPECT_STREQ(s, "[   ab|7   |003.1|ff]");
    s.Format("%lld %llu %zu", -5LL, 10000000000ULL, static_cast<size_t>(123));
    EXPECT_STREQ(s, "-5 10000000000 123");
    EXPECT_STREQ(FormatThroughVaList("%I64d|%I64u", static_cast<LONGLONG>(1) << 40, ~0ULL),
                 "1099511627776|18446744073709551615");
    s.Format("%c%c", 'o', 'k');
    EXPECT_STREQ(s, "ok");

    // Longer than any first guess at a buffer.
    const std::string big(5000, 'z');
    s.Format("<%s>", big.c_str());
    EXPECT_EQ(s.GetLength(), 5002);

    // The arguments may be the string being formatted.
    s = "abc";
    s.Format("%s-%s", static_cast<LPCSTR>(s), static_cast<LPCSTR>(s));
    EXPECT_STREQ(s, "abc-abc");
    s.AppendFormat("/%d", 9);
    EXPECT_STREQ(s, "abc-abc/9");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringTest, LoadsTheStringTable)
{
    CString greeting;
    ASSERT_TRUE(greeting.LoadString(IDS_GREETING));
    EXPECT_STREQ(greeting, "Hello, %s! You have %d messages.");

    CString formatted;
    formatted.Format(IDS_GREETING, "Ada", 3);
    EXPECT_STREQ(formatted, "Hello, Ada! You have 3 messages.");

    CString longText;
    ASSERT_TRUE(longText.LoadString(IDS_LONG_TEXT));
    EXPECT_GT(longText.GetLength(), 500);
    EXPECT_EQ(longText.Find("This text is longer"), 0);
    EXPECT_EQ(longText.Right(4), CString("end."));

    CString fromId(MAKEINTRESOURCEA(IDS_GREETING));
    EXPECT_EQ(fromId, greeting);

    CString missing("stale");
    EXPECT_FALSE(missing.LoadString(IDS_MISSING));
    EXPECT_TRUE(missing.IsEmpty());
}

TEST(CStringTest, BufferAccessRoundTrips)
{
    CString s("old");
    char* buffer = s.GetBuffer(MAX_PATH);
    DWORD length = ::GetCurrentDirectoryA(MAX_PATH, buffer);
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), static_cast<int>(length));
    EXPECT_EQ(s.Find(':'), 1);

    CString fixed;
    char* raw = fixed.GetBufferSetLength(4);
    raw[0] = 'a';
    raw[1] = 'b';
    raw[2] = 'c';
    raw[3] = 'd';
    fixed.ReleaseBuffer(2);
    EXPECT_STREQ(fixed, "ab");

    CString grown("keep");
    grown.GetBuffer(100);
    grown.ReleaseBuffer();
    EXPECT_STREQ(grown, "keep");
}

TEST(CStringTest, TrimCaseCompareAndConcatenate)
{
    CString s("  \t value \r\n");
    EXPECT_STREQ(CString(s).TrimLeft(), "value \r\n");
    EXPECT_STREQ(CString(s).TrimRight(), "  \t value");
    EXPECT_STREQ(CString(s).Trim(), "value");
    EXPECT_STREQ(CString("xxabcxx").TrimLeft('x'), "abcxx");
    EXPECT_STREQ(CString("path\\\\").TrimRight("\\/"), "path");
    EXPECT_STREQ(CString("   ").Trim(), "");

    CString mixed("Windows XP");
    mixed.MakeUpper();
    EXPECT_STREQ(mixed, "WINDOWS XP");
    mixed.MakeLower();
    EXPECT_STREQ(mixed, "windows xp");

    EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
    EXPECT_LT(CString("abc").Compare("abd"), 0);
    EXPECT_TRUE(CString("abc") == "abc");
    EXPECT_TRUE("abc" == CString("abc"));
    EXPECT_TRUE(CString("abc") != CString("abC"));
    EXPECT_TRUE(CString("a") < CString("b"));

    CString joined = CString("C:") + '\\' + "DISTR" + CString("\\I386");
    joined += "\\";
    joined += 'x';
    EXPECT_STREQ(joined, "C:\\DISTR\\I386\\x");
    EXPECT_EQ(joined.GetLength(), 15);
    EXPECT_EQ(joined[0], 'C');
    joined.Empty();
    EXPECT_TRUE(joined.IsEmpty());
}

TEST(CStringTest, InsertDeleteTokenizeAndSpans)
{
    CString s("ACE");
    EXPECT_EQ(s.Insert(1, 'B'), 4);
    EXPECT_EQ(s.Insert(99, "FG"), 6);
    EXPECT_STREQ(s, "ABCEFG");
    EXPECT_EQ(s.Insert(3, "D"), 7);
    EXPECT_EQ(s.Delete(0, 2), 5);
    EXPECT_STREQ(s, "CDEFG");
    EXPECT_EQ(s.Delete(3, 99), 3);
    EXPECT_STREQ(s, "CDE");

    const CString list("  one, two,,three ");
    std::string tokens;
    int position = 0;
    for (CString token = list.Tokenize(", ", position); position != -1; token = list.Tokenize(", ", position))
        tokens += std::string(token) + "|";
    EXPECT_EQ(tokens, "one|two|three|");

    EXPECT_STREQ(CString("12345-ABC").SpanIncluding("0123456789"), "12345");
    EXPECT_STREQ(CString("name=value").SpanExcluding("="), "name");
    EXPECT_STREQ(CString(L"wide text"), "wide text");
    EXPECT_STREQ(CString('-', 5), "-----");
}
