// CString is the library's text value: an ANSI (char) string with value semantics that converts implicitly to
// const char*, so it can be handed to any Win32 A function.
//
//   CString path;
//   path.Format("%s\\I386\\%s", (LPCSTR)root, "WINNT.SIF");   // pass CStrings to Format as (LPCSTR)
//   if (path.Right(4).CompareNoCase(".SIF") == 0) ...
//   int n = ::GetWindowTextA(hwnd, path.GetBuffer(260), 261); path.ReleaseBuffer(n);
//
// Indexes are byte offsets; arguments out of range are clamped the way callers expect (Mid(100) of a short string is
// empty, Left(-1) is empty). Format checks its arguments like printf: a CString given for %s without a cast is a
// compile warning, as GCC cannot pass class objects through "...".
#pragma once

#include "classlib/ClassLibBase.h"

#include <string>

class CString
{
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCSTR psz);  // a MAKEINTRESOURCE value loads that string from the string table
    CString(LPCSTR pch, int nLength);
    CString(LPCWSTR pwsz);  // converted with the ANSI code page
    explicit CString(char ch, int nRepeat = 1);
    explicit CString(const std::string& s);

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCSTR psz);
    CString& operator=(LPCWSTR pwsz);
    CString& operator=(char ch);

    // Size and access.
    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch);
    operator LPCSTR() const { return m_str.c_str(); }
    LPCSTR GetString() const { return m_str.c_str(); }

    // Concatenation.
    CString& operator+=(const CString& str);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);
    void Append(LPCSTR psz, int nLength);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    // Comparison: Compare is byte order, CompareNoCase ignores ASCII case, Collate follows the user's locale.
    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;
    int Collate(LPCSTR psz) const;
    int CollateNoCase(LPCSTR psz) const;

    // Extraction.
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR pszCharSet) const;
    CString SpanExcluding(LPCSTR pszCharSet) const;
    CString Tokenize(LPCSTR pszTokens, int& iStart) const;  // iStart becomes -1 after the last token

    // Searching: the index of the first byte found, or -1.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR pszCharSet) const;

    // Changing in place; the counting ones return how many characters changed or the new length.
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    int Replace(char chOld, char chNew);
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR pszTargets);
    CString& Trim() { return TrimRight().TrimLeft(); }

    // Formatting (printf syntax of the C99 runtime, plus the I64 size prefix).
    void Format(LPCSTR pszFormat, ...) __attribute__((format(gnu_printf, 2, 3)));
    void Format(UINT nFormatID, ...);  // the format comes from the string table
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormat(LPCSTR pszFormat, ...) __attribute__((format(gnu_printf, 2, 3)));

    // Loads string nID of the resource module; FALSE (and empty) when it does not exist.
    BOOL LoadString(UINT nID);

    // Direct buffer access: write at most nMinBufLength characters plus the terminator, then ReleaseBuffer
    // (-1 takes the length up to the first NUL).
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBuffer() { return GetBuffer(0); }
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void FreeExtra() { m_str.shrink_to_fit(); }

private:
    std::string m_str;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCSTR b);
bool operator<(LPCSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCSTR b);
bool operator>(LPCSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, LPCSTR b);
bool operator<=(LPCSTR a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, LPCSTR b);
bool operator>=(LPCSTR a, const CString& b);
