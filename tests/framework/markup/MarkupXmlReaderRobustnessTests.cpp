// The reader over every prefix of valid documents and over a fixed-seed series of byte mutations, each text ending
// where readable memory ends: it must end every text with the end token or an error, never read past the text, and
// keep its names and positions within bounds.
#include "MarkupTestDocuments.h"
#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using markup_test::GuardedText;
using markup_test::kMarkupTestDocuments;
using markup_test::MarkupTestDocument;

namespace {

bool Available(const MarkupTestDocument& document)
{
#ifdef _WIN32
    return !document.needsSystemCodePages || ::IsValidCodePage(document.codePage);
#else
    return !document.needsSystemCodePages;
#endif
}

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
    do {
        token = reader.Read();
        ASSERT_LE(Length(reader.GetName()), static_cast<size_t>(COSMMarkupXmlReader::kMaxName)) << what;
        ASSERT_LE(Length(reader.GetAttributeName()), static_cast<size_t>(COSMMarkupXmlReader::kMaxName)) << what;
        ASSERT_LE(++count, bytes.size() + 2) << "the tokens do not end: " << what;
    } while (token > 0);
    if (token == COSMMarkupXmlReader::TokenError) {
        EXPECT_GT(reader.GetValueLength(), 0) << what;
    }
    EXPECT_LE(static_cast<size_t>(reader.GetLine()), bytes.size()) << what;
    EXPECT_LE(static_cast<size_t>(reader.GetColumn()), bytes.size()) << what;
    // A reader that ended stays ended.
    EXPECT_EQ(token, reader.Read()) << what;
}

TEST(MarkupXmlReaderRobustnessTest, EveryPrefixOfAValidDocumentEndsCleanly)
{
    for (const MarkupTestDocument& document : kMarkupTestDocuments) {
        if (!Available(document))
            continue;
        for (size_t length = 0; length <= document.text.size(); ++length) {
            ReadToTheEnd(document.text.substr(0, length), document.codePage,
                         std::string(document.name) + " cut at " + std::to_string(length));
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(MarkupXmlReaderRobustnessTest, MutatedDocumentsEndCleanly)
{
    static const char kSignificant[] = "<>&;\"'/=?!-]{}.#x\r\n\t\x80\xC3\xE2\xF0\x82\x83\xBF";
    std::mt19937 random(20261210u);
    for (int round = 0; round < 4000; ++round) {
        const MarkupTestDocument& document = kMarkupTestDocuments[random() % (sizeof kMarkupTestDocuments /
                                                                                sizeof kMarkupTestDocuments[0])];
        if (!Available(document))
            continue;
        std::string text = document.text;
        for (unsigned edits = 1 + random() % 4; edits > 0 && !text.empty(); --edits) {
            const size_t at = random() % text.size();
            switch (random() % 5) {
            case 0: text[at] = static_cast<char>(random() % 256); break;
            case 1: text.insert(at, 1, static_cast<char>(random() % 256)); break;
            case 2: text.erase(at, 1); break;
            case 3: text[at] = kSignificant[random() % (sizeof kSignificant - 1)]; break;
            default: text.resize(at); break;
            }
        }
        ReadToTheEnd(text, document.codePage, std::string(document.name) + " mutation " + std::to_string(round));
        if (HasFatalFailure())
            return;
    }
}

}  // namespace
