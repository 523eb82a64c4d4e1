#include "classlib/CString.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char kWhitespace[] = " \t\r\n\v\f";

int Clamp(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

}  // namespace

CString::CString(LPCSTR psz)
{
    if (psz && IS_INTRESOURCE(psz))
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(psz)));
    else if (psz)
        m_str = psz;
}

CString::CString(LPCSTR pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(LPCWSTR pwsz)
{
    *this = pwsz;
}

CString::CString(char ch, int nRepeat) : m_str(static_cast<size_t>(std::max(nRepeat, 0)), ch) {}

CString::CString(const std::string& s) : m_str(s) {}

CString& CString::operator=(LPCSTR psz)
{
    // The source may point into this string (s = s.GetString() + 1): assign copies before releasing.
    m_str.assign(psz ? psz : "");
    return *this;
}

CString& CString::operator=(LPCWSTR pwsz)
{
    m_str.clear();
    if (!pwsz || !*pwsz)
        return *this;
    int bytes = WideCharToMultiByte(CP_ACP, 0, pwsz, -1, nullptr, 0, nullptr, nullptr);
    if (bytes > 1)
    {
        m_str.resize(static_cast<size_t>(bytes));
        WideCharToMultiByte(CP_ACP, 0, pwsz, -1, &m_str[0], bytes, nullptr, nullptr);
        m_str.resize(static_cast<size_t>(bytes - 1));
    }
    return *this;
}

CString& CString::operator=(char ch)
{
    m_str.assign(1, ch);
    return *this;
}

char CString::GetAt(int nIndex) const
{
    ASSERT(nIndex >= 0 && nIndex <= GetLength());
    if (nIndex < 0 || nIndex >= GetLength())
        return '\0';
    return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch)
{
    ASSERT(nIndex >= 0 && nIndex < GetLength());
    if (nIndex >= 0 && nIndex < GetLength())
        m_str[static_cast<size_t>(nIndex)] = ch;
}

CString& CString::operator+=(const CString& str)
{
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR psz)
{
    if (psz)
        m_str.append(psz);
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_str.push_back(ch);
    return *this;
}

void CString::Append(LPCSTR psz, int nLength)
{
    if (psz && nLength > 0)
        m_str.append(psz, static_cast<size_t>(nLength));
}

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCSTR b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, char b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(char a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

int CString::Compare(LPCSTR psz) const
{
    return std::strcmp(m_str.c_str(), psz ? psz : "");
}

int CString::CompareNoCase(LPCSTR psz) const
{
    return _stricmp(m_str.c_str(), psz ? psz : "");
}

int CString::Collate(LPCSTR psz) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, 0, m_str.c_str(), -1, psz ? psz : "", -1) - CSTR_EQUAL;
}

int CString::CollateNoCase(LPCSTR psz) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_str.c_str(), -1, psz ? psz : "", -1) - CSTR_EQUAL;
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    nFirst = Clamp(nFirst, 0, GetLength());
    nCount = Clamp(nCount, 0, GetLength() - nFirst);
    return CString(m_str.c_str() + nFirst, nCount);
}

CString CString::Left(int nCount) const
{
    return CString(m_str.c_str(), Clamp(nCount, 0, GetLength()));
}

CString CString::Right(int nCount) const
{
    nCount = Clamp(nCount, 0, GetLength());
    return CString(m_str.c_str() + GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR pszCharSet) const
{
    return Left(static_cast<int>(std::strspn(m_str.c_str(), pszCharSet ? pszCharSet : "")));
}

CString CString::SpanExcluding(LPCSTR pszCharSet) const
{
    return Left(static_cast<int>(std::strcspn(m_str.c_str(), pszCharSet ? pszCharSet : "")));
}

CString CString::Tokenize(LPCSTR pszTokens, int& iStart) const
{
    if (iStart < 0 || iStart > GetLength())
    {
        iStart = -1;
        return CString();
    }
    const char* tokens = pszTokens ? pszTokens : "";
    size_t begin = m_str.find_first_not_of(tokens, static_cast<size_t>(iStart));
    if (begin == std::string::npos)
    {
        iStart = -1;
        return CString();
    }
    size_t end = m_str.find_first_of(tokens, begin);
    if (end == std::string::npos)
        end = m_str.size();
    iStart = static_cast<int>(std::min(end + 1, m_str.size() + 1));
    return CString(m_str.c_str() + begin, static_cast<int>(end - begin));
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    size_t at = m_str.find(ch, static_cast<size_t>(nStart));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCSTR pszSub, int nStart) const
{
    if (!pszSub || nStart < 0 || nStart > GetLength())
        return -1;
    size_t at = m_str.find(pszSub, static_cast<size_t>(nStart));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const
{
    size_t at = m_str.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(LPCSTR pszCharSet) const
{
    size_t at = m_str.find_first_of(pszCharSet ? pszCharSet : "");
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString& CString::MakeUpper()
{
    // The system's tables know the ANSI code page's letters, not just A-Z.
    if (!m_str.empty())
        CharUpperBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeLower()
{
    if (!m_str.empty())
        CharLowerBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

int CString::Replace(char chOld, char chNew)
{
    int count = 0;
    for (char& c : m_str)
    {
        if (c == chOld)
        {
            c = chNew;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew)
{
    if (!pszOld || !*pszOld)
        return 0;
    const std::string from(pszOld);
    const std::string to(pszNew ? pszNew : "");
    std::string result;
    int count = 0;
    size_t pos = 0;
    for (size_t at; (at = m_str.find(from, pos)) != std::string::npos; pos = at + from.size())
    {
        result.append(m_str, pos, at - pos).append(to);
        ++count;
    }
    if (count)
    {
        result.append(m_str, pos, std::string::npos);
        m_str.swap(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    auto end = std::remove(m_str.begin(), m_str.end(), ch);
    int count = static_cast<int>(m_str.end() - end);
    m_str.erase(end, m_str.end());
    return count;
}

int CString::Insert(int nIndex, char ch)
{
    m_str.insert(static_cast<size_t>(Clamp(nIndex, 0, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz)
{
    if (psz)
        m_str.insert(static_cast<size_t>(Clamp(nIndex, 0, GetLength())), std::string(psz));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    nIndex = std::max(nIndex, 0);
    if (nIndex < GetLength() && nCount > 0)
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(std::min(nCount, GetLength() - nIndex)));
    return GetLength();
}

CString& CString::TrimLeft()
{
    return TrimLeft(kWhitespace);
}

CString& CString::TrimLeft(char chTarget)
{
    m_str.erase(0, std::min(m_str.find_first_not_of(chTarget), m_str.size()));
    return *this;
}

CString& CString::TrimLeft(LPCSTR pszTargets)
{
    m_str.erase(0, std::min(m_str.find_first_not_of(pszTargets ? pszTargets : ""), m_str.size()));
    return *this;
}

CString& CString::TrimRight()
{
    return TrimRight(kWhitespace);
}

CString& CString::TrimRight(char chTarget)
{
    size_t last = m_str.find_last_not_of(chTarget);
    m_str.erase(last == std::string::npos ? 0 : last + 1);
    return *this;
}

CString& CString::TrimRight(LPCSTR pszTargets)
{
    size_t last = m_str.find_last_not_of(pszTargets ? pszTargets : "");
    m_str.erase(last == std::string::npos ? 0 : last + 1);
    return *this;
}

void CString::FormatV(LPCSTR pszFormat, va_list args)
{
    // Measure first, then format into the final buffer; the arguments may point into this string.
    va_list measure;
    va_copy(measure, args);
    int length = __mingw_vsnprintf(nullptr, 0, pszFormat ? pszFormat : "", measure);
    va_end(measure);
    std::string result;
    if (length > 0)
    {
        result.resize(static_cast<size_t>(length) + 1);
        __mingw_vsnprintf(&result[0], result.size(), pszFormat, args);
        result.resize(static_cast<size_t>(length));
    }
    m_str.swap(result);
}

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...)
{
    CString format;
    format.LoadString(nFormatID);
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCSTR pszFormat, ...)
{
    CString tail;
    va_list args;
    va_start(args, pszFormat);
    tail.FormatV(pszFormat, args);
    va_end(args);
    *this += tail;
}

BOOL CString::LoadString(UINT nID)
{
    // LoadStringA cannot report the length up front: grow until the text fits with room to spare.
    HINSTANCE hInst = AfxGetResourceHandle();
    for (int size = 256; size <= 65536; size *= 4)
    {
        std::string buffer(static_cast<size_t>(size), '\0');
        int copied = ::LoadStringA(hInst, nID, &buffer[0], size);
        if (copied <= 0)
        {
            m_str.clear();
            return FALSE;
        }
        if (copied < size - 1)
        {
            buffer.resize(static_cast<size_t>(copied));
            m_str.swap(buffer);
            return TRUE;
        }
    }
    return FALSE;
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinBufLength));
    return &m_str[0];
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(std::min(nNewLength, GetLength())));
}

bool operator==(const CString& a, const CString& b)
{
    return a.Compare(b) == 0;
}
bool operator==(const CString& a, LPCSTR b)
{
    return a.Compare(b) == 0;
}
bool operator==(LPCSTR a, const CString& b)
{
    return b.Compare(a) == 0;
}
bool operator!=(const CString& a, const CString& b)
{
    return a.Compare(b) != 0;
}
bool operator!=(const CString& a, LPCSTR b)
{
    return a.Compare(b) != 0;
}
bool operator!=(LPCSTR a, const CString& b)
{
    return b.Compare(a) != 0;
}
bool operator<(const CString& a, const CString& b)
{
    return a.Compare(b) < 0;
}
bool operator<(const CString& a, LPCSTR b)
{
    return a.Compare(b) < 0;
}
bool operator<(LPCSTR a, const CString& b)
{
    return b.Compare(a) > 0;
}
bool operator>(const CString& a, const CString& b)
{
    return a.Compare(b) > 0;
}
bool operator>(const CString& a, LPCSTR b)
{
    return a.Compare(b) > 0;
}
bool operator>(LPCSTR a, const CString& b)
{
    return b.Compare(a) < 0;
}
bool operator<=(const CString& a, const CString& b)
{
    return a.Compare(b) <= 0;
}
bool operator<=(const CString& a, LPCSTR b)
{
    return a.Compare(b) <= 0;
}
bool operator<=(LPCSTR a, const CString& b)
{
    return b.Compare(a) >= 0;
}
bool operator>=(const CString& a, const CString& b)
{
    return a.Compare(b) >= 0;
}
bool operator>=(const CString& a, LPCSTR b)
{
    return a.Compare(b) >= 0;
}
bool operator>=(LPCSTR a, const CString& b)
{
    return b.Compare(a) <= 0;
}
