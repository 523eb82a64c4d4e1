#include "framework/markup/MarkupXmlReader.h"

#include <climits>
#include <cstring>

namespace {

const char kUnexpectedEnd[] = "Unexpected end of file has occurred.";
const char kExpectedGreater[] = "Unexpected token. The expected token is '>'";
const char kGreaterBeforeEquals[] = "'>' is an unexpected token. The expected token is '='";
const char kLessBeforeEquals[] = "'<' is an unexpected token. The expected token is '='";
const char kExpectedEquals[] = "Unexpected token. The expected token is '='";
const char kExpectedQuote[] = "Unexpected token. The expected token is '\"' or '''";
const char kInvalidCharacter[] = "Invalid character in the given encoding";

const UINT kLastCodePoint = 0x10FFFF;

BOOL IsWhiteSpace(UINT c)
{
    return c == 9 || c == 10 || c == 12 || c == 13 || c == 32;
}

BOOL IsHighSurrogate(UINT c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

BOOL IsLowSurrogate(UINT c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

UINT CombineSurrogates(UINT high, UINT low)
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// What markup text may hold: 1 to 0x10FFFF, surrogates excepted (they only come in pairs, as one code point).
BOOL IsCodePoint(UINT c)
{
    return c >= 1 && c <= kLastCodePoint && !(c >= 0xD800 && c <= 0xDFFF);
}

BOOL IsAsciiLetterOrDigit(UINT c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

BOOL IsEntityNameChar(UINT c)
{
    return IsAsciiLetterOrDigit(c) || c == '#' || c == '_' || c == '-' || c == '.' || c == ':';
}

// The value of digit c in base 10 or 16, or -1.
int DigitValue(UINT c, UINT base)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (base == 16 && c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (base == 16 && c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

// name (length characters) is exactly the ASCII text.
BOOL NameIs(const WCHAR* name, int length, const char* text)
{
    const size_t textLength = strlen(text);
    if (static_cast<size_t>(length) != textLength)
        return FALSE;
    for (size_t i = 0; i < textLength; ++i)
    {
        if (name[i] != static_cast<WCHAR>(text[i]))
            return FALSE;
    }
    return TRUE;
}

BOOL EndsWith(const std::basic_string<WCHAR>& value, const char* text, size_t textLength)
{
    if (value.size() < textLength)
        return FALSE;
    const size_t start = value.size() - textLength;
    for (size_t i = 0; i < textLength; ++i)
    {
        if (value[start + i] != static_cast<WCHAR>(text[i]))
            return FALSE;
    }
    return TRUE;
}

// The length of the longest end of value that the terminator begins with (shorter than the terminator itself).
size_t PartialTerminatorLength(const std::basic_string<WCHAR>& value, const char* terminator, size_t terminatorLength)
{
    for (size_t length = terminatorLength - 1; length > 0; --length)
    {
        if (value.size() < length)
            continue;
        BOOL match = TRUE;
        for (size_t i = 0; i < length && match; ++i)
            match = value[value.size() - length + i] == static_cast<WCHAR>(terminator[i]);
        if (match)
            return length;
    }
    return 0;
}

}  // namespace

COSMMarkupXmlReader::COSMMarkupXmlReader()
{
    m_value.reserve(static_cast<size_t>(kMaxMessage));
    SetCodePage(CP_ACP);
}

COSMMarkupXmlReader::~COSMMarkupXmlReader() = default;

void COSMMarkupXmlReader::SetInput(const char* begin, const char* end)
{
    m_bWideInput = FALSE;
    m_pCurrent = reinterpret_cast<const unsigned char*>(begin);
    m_pEnd = begin && end && end > begin ? reinterpret_cast<const unsigned char*>(end) : m_pCurrent;
    m_pWideCurrent = m_pWideEnd = nullptr;
    m_state = StateContent;
    m_value.clear();
    m_nNameLength = m_nAttributeNameLength = 0;
    m_szName[0] = m_szAttributeName[0] = 0;
    m_chunkCarry.clear();
    m_cPushedBack = 0;
    m_bEndMarker = FALSE;
    m_nLine = m_nColumn = 0;
    m_bAfterCR = FALSE;
    m_bEncodingError = FALSE;
    m_pszError = nullptr;
}

void COSMMarkupXmlReader::SetWideInput(const WCHAR* begin, const WCHAR* end)
{
    SetInput(nullptr, nullptr);
    m_bWideInput = TRUE;
    m_pWideCurrent = begin;
    m_pWideEnd = begin && end && end > begin ? end : begin;
}

void COSMMarkupXmlReader::SetCodePage(UINT codePage)
{
    m_nCodePage = codePage;
    m_bDoubleByteCodePage = FALSE;
#ifdef _WIN32
    CPINFO info;
    if (codePage != CP_UTF8 && ::GetCPInfo(codePage, &info))
        m_bDoubleByteCodePage = info.MaxCharSize > 1;
#endif
}

// ---- Characters ---------------------------------------------------------------------------------------------------

UINT COSMMarkupXmlReader::ReadChar()
{
    if (m_cPushedBack)
    {
        const UINT c = m_cPushedBack;
        m_cPushedBack = 0;
        return c;
    }
    if (m_bEncodingError)
        return 0;
    UINT c = 0;
    if (m_bWideInput)
    {
        if (m_pWideCurrent >= m_pWideEnd)
            return 0;
        c = DecodeWide();
    }
    else
    {
        if (m_pCurrent >= m_pEnd)
            return 0;
        c = DecodeNarrow();
    }
    if (c == 0)
    {
        // The position stays at the character that does not decode.
        m_bEncodingError = TRUE;
        return 0;
    }
    Count(c);
    return c;
}

UINT COSMMarkupXmlReader::DecodeNarrow()
{
    return m_nCodePage == CP_UTF8 ? DecodeUtf8() : DecodeCodePage();
}

UINT COSMMarkupXmlReader::DecodeUtf8()
{
    // Well-formed sequences only: no overlong forms, no surrogates, nothing past U+10FFFF, and every byte of a
    // sequence before the end of the text. A NUL is no character of markup either.
    const unsigned char* p = m_pCurrent;
    const unsigned char lead = *p;
    if (lead < 0x80)
    {
        m_pCurrent = p + 1;
        return lead;
    }
    int trailing = 0;
    UINT c = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        trailing = 1;
        c = lead & 0x1F;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        trailing = 2;
        c = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        trailing = 3;
        c = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    }
    else
    {
        return 0;
    }
    if (m_pEnd - p <= trailing)
        return 0;
    for (int i = 1; i <= trailing; ++i)
    {
        const unsigned char byte = p[i];
        if (byte < low || byte > high)
            return 0;
        low = 0x80;
        high = 0xBF;
        c = (c << 6) | (byte & 0x3F);
    }
    m_pCurrent = p + trailing + 1;
    return c;
}

UINT COSMMarkupXmlReader::DecodeCodePage()
{
    const unsigned char* p = m_pCurrent;
    if (*p < 0x80)
    {
        m_pCurrent = p + 1;
        return *p;
    }
#ifdef _WIN32
    int length = 1;
    if (m_bDoubleByteCodePage && ::IsDBCSLeadByteEx(m_nCodePage, *p))
    {
        if (m_pEnd - p < 2)
            return 0;
        length = 2;
    }
    WCHAR units[2] = {};
    const int count =
        ::MultiByteToWideChar(m_nCodePage, MB_ERR_INVALID_CHARS, reinterpret_cast<LPCSTR>(p), length, units, 2);
    UINT c = 0;
    if (count == 1 && !IsHighSurrogate(units[0]) && !IsLowSurrogate(units[0]))
        c = units[0];
    else if (count == 2 && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1]))
        c = CombineSurrogates(units[0], units[1]);
    if (c == 0)
        return 0;
    m_pCurrent = p + length;
    return c;
#else
    m_pCurrent = p + 1;
    return *p;
#endif
}

UINT COSMMarkupXmlReader::DecodeWide()
{
    const UINT unit = *m_pWideCurrent;
    if (IsLowSurrogate(unit))
        return 0;
    if (!IsHighSurrogate(unit))
    {
        ++m_pWideCurrent;
        return unit;
    }
    if (m_pWideEnd - m_pWideCurrent < 2 || !IsLowSurrogate(m_pWideCurrent[1]))
        return 0;
    const UINT c = CombineSurrogates(unit, m_pWideCurrent[1]);
    m_pWideCurrent += 2;
    return c;
}

void COSMMarkupXmlReader::Count(UINT c)
{
    // CR, LF and CR LF each end one line.
    if (c == '\r' || (c == '\n' && !m_bAfterCR))
    {
        if (m_nLine < INT_MAX)
            ++m_nLine;
        m_nColumn = 0;
    }
    else if (c != '\n' && m_nColumn < INT_MAX)
    {
        ++m_nColumn;
    }
    m_bAfterCR = c == '\r';
}

UINT COSMMarkupXmlReader::SkipWhiteSpace(UINT c)
{
    while (IsWhiteSpace(c))
        c = ReadChar();
    return c;
}

void COSMMarkupXmlReader::AppendValue(UINT c)
{
    if (c > 0xFFFF)
    {
        c -= 0x10000;
        m_value += static_cast<WCHAR>(0xD800 + (c >> 10));
        m_value += static_cast<WCHAR>(0xDC00 + (c & 0x3FF));
    }
    else
    {
        m_value += static_cast<WCHAR>(c);
    }
}

void COSMMarkupXmlReader::AppendName(WCHAR* name, int& length, UINT c)
{
    // What does not fit is dropped whole: a surrogate pair is never split.
    if (c > 0xFFFF)
    {
        if (length + 2 > kMaxName)
            return;
        c -= 0x10000;
        name[length++] = static_cast<WCHAR>(0xD800 + (c >> 10));
        name[length++] = static_cast<WCHAR>(0xDC00 + (c & 0x3FF));
    }
    else
    {
        if (length + 1 > kMaxName)
            return;
        name[length++] = static_cast<WCHAR>(c);
    }
    name[length] = 0;
}

int COSMMarkupXmlReader::SetError(const char* message)
{
    m_pszError = message;
    m_value.clear();
    for (const char* p = message; *p && m_value.size() < static_cast<size_t>(kMaxMessage); ++p)
        m_value += static_cast<WCHAR>(static_cast<unsigned char>(*p));
    return TokenError;
}

// ---- Tokens -------------------------------------------------------------------------------------------------------

BOOL COSMMarkupXmlReader::MoveToContent()
{
    const UINT c = SkipWhiteSpace(ReadChar());
    if (c != '<')
        return FALSE;
    PushBack(c);
    return TRUE;
}

int COSMMarkupXmlReader::Read()
{
    // An error ends the text: later reads repeat it.
    if (m_pszError)
        return SetError(m_pszError);
    if (m_bEncodingError)
        return SetError(kInvalidCharacter);
    int token = TokenEnd;
    switch (m_state)
    {
    case StateContent:
        token = ReadContent();
        break;
    case StateAttribute:
        token = ReadAttribute();
        break;
    case StateComment:
        token = ReadChunk("-->", TokenCommentEnd, FALSE);
        break;
    case StateCData:
        token = ReadChunk("]]>", TokenCDataEnd, FALSE);
        break;
    case StateInstruction:
        token = ReadChunk("?>", TokenInstructionEnd, TRUE);
        break;
    }
    // Whatever the token was, it ended at a character that does not decode: that is what the caller hears.
    if (m_bEncodingError)
        return SetError(kInvalidCharacter);
    return token;
}

int COSMMarkupXmlReader::ReadContent()
{
    m_value.clear();
    UINT c = ReadChar();
    if (c == 0)
        return TokenEnd;
    if (c == '<')
        return ReadTag();
    BOOL whiteSpace = FALSE;
    if (c == '&')
    {
        ReadEntity();
    }
    else
    {
        whiteSpace = IsWhiteSpace(c);
        AppendValue(c);
    }
    for (;;)
    {
        c = ReadChar();
        if (c == 0)
            break;
        if (c == '<' || c == '&' || IsWhiteSpace(c) != whiteSpace)
        {
            PushBack(c);
            break;
        }
        AppendValue(c);
    }
    return whiteSpace ? TokenWhiteSpace : TokenText;
}

int COSMMarkupXmlReader::ReadTag()
{
    m_nNameLength = 0;
    m_szName[0] = 0;
    UINT c = ReadChar();
    const BOOL endTag = c == '/';
    if (endTag)
    {
        c = ReadChar();
    }
    else if (c == '?')
    {
        m_state = StateInstruction;
        return TokenInstructionStart;
    }
    for (;;)
    {
        if (c == 0)
            return SetError(kUnexpectedEnd);
        if (IsWhiteSpace(c))
        {
            c = SkipWhiteSpace(c);
            break;
        }
        if (c == '/' || c == '>')
            break;
        AppendName(m_szName, m_nNameLength, c);
        if (!endTag && NameIs(m_szName, m_nNameLength, "!--"))
        {
            m_state = StateComment;
            return TokenCommentStart;
        }
        if (!endTag && NameIs(m_szName, m_nNameLength, "![CDATA["))
        {
            m_state = StateCData;
            return TokenCDataStart;
        }
        c = ReadChar();
    }
    if (c == 0)
        return SetError(kUnexpectedEnd);
    if (endTag)
        return c == '>' ? TokenEndElement : SetError(kExpectedGreater);
    PushBack(c);
    m_state = StateAttribute;
    return TokenStartElement;
}

int COSMMarkupXmlReader::ReadAttribute()
{
    UINT c = SkipWhiteSpace(ReadChar());
    if (c == '>')
    {
        m_state = StateContent;
        return ReadContent();
    }
    if (c == '/')
    {
        if (ReadChar() != '>')
            return SetError(kExpectedGreater);
        m_state = StateContent;
        return TokenEndElement;
    }
    m_nAttributeNameLength = 0;
    m_szAttributeName[0] = 0;
    for (;;)
    {
        if (c == 0)
            return TokenEnd;
        if (c == '=')
            break;
        if (c == '>')
            return SetError(kGreaterBeforeEquals);
        if (c == '<')
            return SetError(kLessBeforeEquals);
        if (IsWhiteSpace(c))
        {
            if (SkipWhiteSpace(c) != '=')
                return SetError(kExpectedEquals);
            break;
        }
        AppendName(m_szAttributeName, m_nAttributeNameLength, c);
        c = ReadChar();
    }
    const UINT quote = SkipWhiteSpace(ReadChar());
    if (quote != '"' && quote != '\'')
        return SetError(kExpectedQuote);
    m_value.clear();
    for (c = ReadChar(); c != quote; c = ReadChar())
    {
        if (c == 0)
            return SetError(kExpectedQuote);
        AppendValue(c);
    }
    return TokenAttribute;
}

int COSMMarkupXmlReader::ReadChunk(const char* terminator, int endToken, BOOL dropWhiteSpace)
{
    if (m_bEndMarker)
    {
        m_bEndMarker = FALSE;
        m_state = StateContent;
        // The builder reads an instruction's text at its end.
        if (endToken != TokenInstructionEnd)
            m_value.clear();
        return endToken;
    }
    const size_t terminatorLength = strlen(terminator);
    m_value = m_chunkCarry;
    m_chunkCarry.clear();
    for (;;)
    {
        const UINT c = ReadChar();
        if (c == 0)
            return TokenEnd;
        if (dropWhiteSpace && IsWhiteSpace(c))
            continue;
        AppendValue(c);
        if (EndsWith(m_value, terminator, terminatorLength))
        {
            m_value.resize(m_value.size() - terminatorLength);
            m_bEndMarker = TRUE;
            return TokenChunk;
        }
        if (m_value.size() > static_cast<size_t>(kMaxChunk))
        {
            // Full. What might begin the terminator goes on to the next chunk with what did not fit, so a
            // terminator that straddles two chunks still ends the section; a surrogate pair is never split.
            const size_t partial = PartialTerminatorLength(m_value, terminator, terminatorLength);
            size_t split = m_value.size() - partial;
            if (split > static_cast<size_t>(kMaxChunk))
                split = kMaxChunk;
            if (split > 0 && split < m_value.size() && IsHighSurrogate(m_value[split - 1]) &&
                IsLowSurrogate(m_value[split]))
                --split;
            m_chunkCarry.assign(m_value, split, std::basic_string<WCHAR>::npos);
            m_value.resize(split);
            return TokenChunk;
        }
    }
}

void COSMMarkupXmlReader::ReadEntity()
{
    // A name is a short run of name characters; only a name closed by ';' is a reference. Anything else stays text
    // as written, so a lone '&' never swallows the markup after it.
    WCHAR name[kMaxEntityName + 1] = {};
    int length = 0;
    UINT c = ReadChar();
    while (IsEntityNameChar(c) && length < kMaxEntityName)
    {
        name[length++] = static_cast<WCHAR>(c);
        c = ReadChar();
    }
    if (c == ';')
    {
        UINT resolved = ResolveNamedEntity(name, length);
        if (!resolved)
            resolved = ResolveEntity(name, length);
        if (IsCodePoint(resolved))
        {
            AppendValue(resolved);
            return;
        }
    }
    AppendValue('&');
    for (int i = 0; i < length; ++i)
        AppendValue(name[i]);
    if (c)
        PushBack(c);
}

UINT COSMMarkupXmlReader::ResolveNamedEntity(const WCHAR* name, int length)
{
    static const struct
    {
        const char* name;
        UINT c;
    } kEntities[] = {{"gt", '>'}, {"lt", '<'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
    for (const auto& entity : kEntities)
    {
        if (NameIs(name, length, entity.name))
            return entity.c;
    }
    return 0;
}

UINT COSMMarkupXmlReader::ResolveEntity(const WCHAR* name, int length)
{
    if (length < 2 || name[0] != '#')
        return 0;
    UINT base = 10;
    int first = 1;
    if (name[1] == 'x')
    {
        base = 16;
        first = 2;
        if (length < 3)
            return 0;
    }
    UINT value = 0;
    for (int i = first; i < length; ++i)
    {
        const int digit = DigitValue(name[i], base);
        if (digit < 0)
            return 0;
        value = value * base + static_cast<UINT>(digit);
        if (value > kLastCodePoint)
            return 0;
    }
    return IsCodePoint(value) ? value : 0;
}
