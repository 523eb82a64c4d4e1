// COSMMarkupXmlReader: the pull tokenizer under the markup builder. It is not a conforming XML parser: it knows
// elements, attributes, text, the five named entities and numeric character references, comments, CDATA sections
// and processing instructions, splits text into text runs and white-space runs, and counts lines and columns for
// error messages. The text is not copied; it must outlive the reader.
//
//   COSMMarkupXmlReader reader;
//   reader.SetInput(text, text + length);               // 8-bit, the ANSI code page until SetCodePage
//   if (reader.MoveToContent()) {
//       for (int token; (token = reader.Read()) > 0;)
//           ... reader.GetName(), reader.GetAttributeName(), reader.GetValue() ...
//   }
//
// Every character is decoded once and checked: the reader never reads at or past the end it was given, a malformed
// or truncated character stops it with "Invalid character in the given encoding", a UTF-8 sequence of four bytes
// becomes a surrogate pair counted as one character. An error ends the text: later reads repeat it. CR, LF and CR LF
// each end one line. After any token GetLine() + 1 and GetColumn() + 1 are the 1-based line and position of the
// next unread character.
//
// The reader needs nothing of Win32 but the system's code pages, so it builds natively too (for its tests under the
// sanitizers); there the non-UTF-8 code pages read each byte as the character of the same number.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>
typedef int BOOL;
typedef unsigned int UINT;
typedef char16_t WCHAR;
typedef const WCHAR* LPCWSTR;
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#ifndef CP_ACP
#define CP_ACP 0
#define CP_UTF8 65001
#endif
#endif

#include <string>

class COSMMarkupXmlReader
{
public:
    enum Token
    {
        TokenError = -1,        // the message is the value
        TokenEnd = 0,           // end of input
        TokenStartElement = 1,  // GetName; its attributes follow
        TokenEndElement = 2,    // an end tag, or the "/>" of an empty element (the name is the start tag's)
        TokenAttribute = 3,     // GetAttributeName and GetValue
        TokenText = 4,          // a text run
        TokenWhiteSpace = 5,    // a white-space run
        TokenChunk = 6,         // up to kMaxChunk characters of comment, CDATA or instruction text
        TokenCommentStart = 7,  // "<!--"
        TokenCommentEnd = 8,
        TokenCDataStart = 9,  // "<![CDATA["
        TokenCDataEnd = 10,
        TokenInstructionStart = 11,  // "<?"
        TokenInstructionEnd = 12,    // the last chunk stays the value
    };

    static constexpr int kMaxName = 127;       // longer element and attribute names keep their first 127 characters
    static constexpr int kMaxChunk = 1023;     // characters of one comment, CDATA or instruction chunk
    static constexpr int kMaxEntityName = 31;  // characters of an entity name
    static constexpr int kMaxMessage = 1024;   // characters of an error message

    COSMMarkupXmlReader();
    COSMMarkupXmlReader(const COSMMarkupXmlReader&) = delete;
    COSMMarkupXmlReader& operator=(const COSMMarkupXmlReader&) = delete;
    virtual ~COSMMarkupXmlReader();

    // ---- Override these ---------------------------------------------------------------------------------------
    // The code point an entity name stands for (the five named ones are known already), or 0 when the name means
    // nothing. Here: numeric references, "#" and decimal digits or "#x" and hexadecimal digits, the whole name.
    // What is returned must be a code point (1 to 0x10FFFF, no surrogate) or the name stays as written.
    virtual UINT ResolveEntity(const WCHAR* name, int length);

    // ---- Not meant to be overridden ---------------------------------------------------------------------------
    // The 8-bit text [begin, end), read from its start in the content state.
    void SetInput(const char* begin, const char* end);
    // 16-bit text [begin, end), read as it is (surrogate pairs count as one character).
    void SetWideInput(const WCHAR* begin, const WCHAR* end);
    // The code page of 8-bit text from the next character on: 0 the ANSI code page (the start), CP_UTF8 after an
    // XML declaration that names it, or any code page the system has.
    void SetCodePage(UINT codePage);
    UINT GetCodePage() const { return m_nCodePage; }

    // Skips white space (tab, LF, form feed, CR, space) up to a '<', which is left for Read: TRUE. FALSE at the end
    // of input or at any other character (a byte-order mark, say).
    BOOL MoveToContent();
    // The next token.
    int Read();

    // NUL-terminated; valid until the next Read.
    LPCWSTR GetName() const { return m_szName; }
    LPCWSTR GetAttributeName() const { return m_szAttributeName; }
    LPCWSTR GetValue() const { return m_value.c_str(); }
    int GetValueLength() const { return static_cast<int>(m_value.size()); }

    // 0-based: lines ended so far, and characters decoded since the last line ended.
    int GetLine() const { return m_nLine; }
    int GetColumn() const { return m_nColumn; }

private:
    enum State
    {
        StateContent,
        StateAttribute,
        StateComment,
        StateCData,
        StateInstruction,
    };

    // The next character (a pushed-back one first); 0 at the end of input and at a character that does not decode,
    // which also sets the sticky encoding error.
    UINT ReadChar();
    void PushBack(UINT c) { m_cPushedBack = c; }
    // The next character of the input as a code point; 0 when it does not decode.
    UINT DecodeNarrow();
    UINT DecodeUtf8();
    UINT DecodeCodePage();
    UINT DecodeWide();
    // Moves the line and column on past c.
    void Count(UINT c);
    // The first character after the white space that starts with c.
    UINT SkipWhiteSpace(UINT c);

    int ReadContent();
    int ReadTag();
    int ReadAttribute();
    // The rest of a comment, CDATA section or instruction, up to terminator; instructions drop white space.
    int ReadChunk(const char* terminator, int endToken, BOOL dropWhiteSpace);
    // After '&': appends the character the reference stands for, or '&' and the name as written.
    void ReadEntity();
    // The five named entities.
    static UINT ResolveNamedEntity(const WCHAR* name, int length);

    void AppendValue(UINT c);
    static void AppendName(WCHAR* name, int& length, UINT c);
    int SetError(const char* message);

    State m_state = StateContent;
    std::basic_string<WCHAR> m_value;
    WCHAR m_szName[kMaxName + 1] = {};
    int m_nNameLength = 0;
    WCHAR m_szAttributeName[kMaxName + 1] = {};
    int m_nAttributeNameLength = 0;
    // Characters a full chunk left for the next one: a character that did not fit, and the start of a terminator.
    std::basic_string<WCHAR> m_chunkCarry;
    UINT m_cPushedBack = 0;
    BOOL m_bEndMarker = FALSE;
    int m_nLine = 0;
    int m_nColumn = 0;
    BOOL m_bAfterCR = FALSE;
    BOOL m_bEncodingError = FALSE;
    // The message of the error that ended the text, or null.
    const char* m_pszError = nullptr;
    BOOL m_bWideInput = FALSE;
    UINT m_nCodePage = CP_ACP;
    BOOL m_bDoubleByteCodePage = FALSE;
    const unsigned char* m_pCurrent = nullptr;
    const unsigned char* m_pEnd = nullptr;
    const WCHAR* m_pWideCurrent = nullptr;
    const WCHAR* m_pWideEnd = nullptr;
};
