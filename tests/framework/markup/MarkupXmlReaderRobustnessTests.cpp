// The reader over every prefix of valid documents and over a fixed-seed series of byte mutations, each text ending
// where readable memory ends: it must end every text with the end token or an error, never read past the text, and
// keep its names and positions within bounds.
#include "MarkupTestDocuments.h"
#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using markup_test::GuardedText;
using markup_test::kMarkupTestDocuments;
using markup_test::MarkupTestDocument;

namespace {

size_t Length(LPCWSTR text)
{
    size_t length = 0;
    while (text[length])
        ++length;
    return length;
}

// Reads bytes to its end; fails the test on a token stream that does not end or a position beyond the text.
void ReadToTheEnd(const std::string& bytes, UINT codePage, const std::string& what)
{
    const GuardedText text(bytes);
    COSMMarkupXmlReader reader;
    reader.SetInput(text.Begin(), text.End());
    reader.SetCodePage(codePage);
    reader.MoveToContent();
    int token = 0;
    size_t count = 0;
    do
    {
        token = reader.Read();
        ASSERT_LE(Length(reader.GetName()), static_cast<size_t>(COSMMarkupXmlReader::kMaxName)) << what;
        ASSERT_LE(Length(reader.GetAttributeName()), static_cast<size_t>(COSMMarkupXmlReader::kMaxName)) << what;
        ASSERT_LE(++count, bytes.size() + 2) << "the tokens do not end: " << what;
    } while (token > 0);
    if (token == COSMMarkupXmlReader::TokenError)
    {
        EXPECT_GT(reader.GetValueLength(), 0) << what;
    }
    EXPECT_LE(static_cast<size_t>(reader.GetLine()), bytes.size()) << what;
    EXPECT_LE(static_cast<size_t>(reader.GetColumn()), bytes.size()) << what;
    // A reader that ended stays ended.
    EXPECT_EQ(token, reader.Read()) << what;
}

TEST(MarkupXmlReaderRobustnessTest, EveryPrefixOfAValidDocumentEndsCleanly)
{
    for (const MarkupTestDocument& document : kMarkupTestDocuments)
    {
        if (!markup_test::IsReadable(document))
            continue;
        for (size_t length = 0; length <= document.text.size(); ++length)
        {
            ReadToTheEnd(document.text.substr(0, length), document.codePage,
                         std::string(document.name) + " cut at " + std::to_string(length));
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(MarkupXmlReaderRobustnessTest, MutatedDocumentsEndCleanly)
{
    markup_test::ForEachMutatedDocument(
        20261210u, 4000, [](const MarkupTestDocument& document, const std::string& text, const std::string& what) {
            ReadToTheEnd(text, document.codePage, what);
            return !testing::Test::HasFatalFailure();
        });
}

}  // namespace
