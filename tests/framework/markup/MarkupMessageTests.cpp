// The builder's exception and its bounded message formatting.
#include "MarkupTestSupport.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using markup_test::MarkupTest;

TEST_F(MarkupTest, MessagesInsertTheirArgumentsInOrder)
{
    EXPECT_STREQ("Cannot find type 'Grid'", FormatMarkupMessage1("Cannot find type '%ls'", L"Grid"));
    EXPECT_STREQ("a b", FormatMarkupMessage2("%ls %ls", L"a", L"b"));
    EXPECT_STREQ("3, 2, 1 100%", FormatMarkupMessage3("%ls, %ls, %ls 100%%", L"3", L"2", L"1"));
    EXPECT_STREQ("[]", FormatMarkupMessage1("[%ls]", nullptr));
    // Characters the ANSI code page has no form for come out as '?'.
    EXPECT_STREQ("snow ? man", FormatMarkupMessage1("snow %ls man", L"\x2603"));
}

TEST_F(MarkupTest, AnyArgumentLengthGivesAMessageCutAt255Bytes)
{
    const std::wstring huge(100000, L'x');
    const CString message = FormatMarkupMessage2("Cannot find type '%ls' in '%ls'", huge.c_str(), L"tail");
    EXPECT_EQ(255, message.GetLength());
    EXPECT_EQ(0, strncmp(message, "Cannot find type 'xxx", 21));

    COSMMarkupBuilderException exception(std::string(1000, 'y').c_str());
    EXPECT_EQ(255u, strlen(exception.GetMessageText()));
}

TEST_F(MarkupTest, MessagesAreNeverCutInsideADoubleByteCharacter)
{
    // 254 single bytes, then a Shift-JIS character whose lead byte would be the 255th byte.
    std::string text(254, 'a');
    text += "\x82\xA0";
    EXPECT_EQ(254, FitMarkupMessage(text.c_str(), static_cast<int>(text.size()), 255, 932));
    EXPECT_EQ(256, FitMarkupMessage(text.c_str(), static_cast<int>(text.size()), 256, 932));
    // A single-byte code page cuts at the limit.
    EXPECT_EQ(255, FitMarkupMessage(text.c_str(), static_cast<int>(text.size()), 255, 1252));
}

TEST_F(MarkupTest, ErrorMessageIsCutToTheCallersBuffer)
{
    COSMMarkupBuilderException exception("Root element is missing");
    char buffer[10];
    memset(buffer, '#', sizeof buffer);
    UINT helpContext = 7;
    EXPECT_TRUE(exception.GetErrorMessage(buffer, sizeof buffer, &helpContext));
    EXPECT_STREQ("Root elem", buffer);
    EXPECT_EQ(0u, helpContext);
    EXPECT_FALSE(exception.GetErrorMessage(buffer, 0));
    EXPECT_STREQ("Root element is missing", exception.GetErrorMessage());
    EXPECT_TRUE(exception.IsKindOf(RUNTIME_CLASS(CException)));
}

TEST_F(MarkupTest, TheBuilderThrowsItsExceptionByPointer)
{
    try
    {
        COSMMarkupBuilder::ThrowBuilderException("Root element is missing");
        FAIL() << "nothing thrown";
    }
    catch (CException* e)
    {
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(COSMMarkupBuilderException)));
        EXPECT_STREQ("Root element is missing", static_cast<COSMMarkupBuilderException*>(e)->GetMessageText());
        EXPECT_TRUE(e->IsAutoDelete());
        e->Delete();
    }
}
