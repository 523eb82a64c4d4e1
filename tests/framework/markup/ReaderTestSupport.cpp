#include "ReaderTestSupport.h"

#include "Utf8Text.h"

namespace markup_test {

std::string Utf8(const WCHAR* text, size_t length)
{
    std::string out;
    for (size_t i = 0; i < length; ++i)
    {
        unsigned long c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned long>(text[i + 1]) - 0xDC00);
            ++i;
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
        {
            c = 0xFFFD;
        }
        osm::test::AppendUtf8(out, static_cast<char32_t>(c));
    }
    return out;
}

std::string Utf8(const WCHAR* text)
{
    size_t length = 0;
    while (text[length])
        ++length;
    return Utf8(text, length);
}

std::string DescribeToken(const COSMMarkupXmlReader& reader, int token, bool withPosition)
{
    using R = COSMMarkupXmlReader;
    const std::string value = Utf8(reader.GetValue(), static_cast<size_t>(reader.GetValueLength()));
    std::string line;
    switch (token)
    {
    case R::TokenError:
        line = "error " + value;
        break;
    case R::TokenEnd:
        line = "end";
        break;
    case R::TokenStartElement:
        line = "start " + Utf8(reader.GetName());
        break;
    case R::TokenEndElement:
        line = "end-tag " + Utf8(reader.GetName());
        break;
    case R::TokenAttribute:
        line = "attr " + Utf8(reader.GetAttributeName()) + "=" + value;
        break;
    case R::TokenText:
        line = "text " + value;
        break;
    case R::TokenWhiteSpace:
        line = "space " + value;
        break;
    case R::TokenChunk:
        line = "chunk " + value;
        break;
    case R::TokenCommentStart:
        line = "comment";
        break;
    case R::TokenCommentEnd:
        line = "/comment";
        break;
    case R::TokenCDataStart:
        line = "cdata";
        break;
    case R::TokenCDataEnd:
        line = "/cdata";
        break;
    case R::TokenInstructionStart:
        line = "pi";
        break;
    case R::TokenInstructionEnd:
        line = "/pi " + value;
        break;
    default:
        line = "token " + std::to_string(token);
        break;
    }
    if (withPosition)
        line += " @" + std::to_string(reader.GetLine() + 1) + ":" + std::to_string(reader.GetColumn() + 1);
    return line;
}

std::vector<std::string> ReadTokens(COSMMarkupXmlReader& reader, bool withPosition, size_t limit)
{
    std::vector<std::string> tokens;
    for (size_t i = 0; i < limit; ++i)
    {
        const int token = reader.Read();
        tokens.push_back(DescribeToken(reader, token, withPosition));
        if (token <= 0)
            break;
    }
    return tokens;
}

std::vector<std::string> ReadTokens(const std::string& bytes, UINT codePage, bool withPosition)
{
    const GuardedText text(bytes);
    COSMMarkupXmlReader reader;
    reader.SetInput(text.Begin(), text.End());
    reader.SetCodePage(codePage);
    return ReadTokens(reader, withPosition);
}

}  // namespace markup_test
