#include "framework/markup/MarkupBuilderException.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <string>

IMPLEMENT_DYNAMIC(COSMMarkupBuilderException, CException)

namespace {

// text (length bytes) copied into buffer (size bytes, NUL included), cut where a character of the ANSI code page
// ends.
BOOL CopyMessage(LPCSTR text, int length, LPSTR buffer, UINT size)
{
    if (!buffer || size == 0)
        return FALSE;
    const int kept = FitMarkupMessage(text, length, static_cast<int>(std::min<UINT>(size - 1, INT_MAX)));
    memcpy(buffer, text, static_cast<size_t>(kept));
    buffer[kept] = '\0';
    return kept > 0;
}

// arg in the ANSI code page, '?' for characters it has no form for. Only what can reach the message is converted.
std::string ToAnsi(LPCWSTR arg)
{
    if (!arg)
        return std::string();
    const int length = static_cast<int>(std::min<size_t>(wcslen(arg), COSMMarkupBuilderException::kMaxMessage + 1));
    if (length == 0)
        return std::string();
    const int size = ::WideCharToMultiByte(CP_ACP, 0, arg, length, nullptr, 0, "?", nullptr);
    std::string ansi(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, arg, length, &ansi[0], size, "?", nullptr);
    return ansi;
}

// Writes format with each "%ls" replaced by the next argument ("%%" is a percent sign), then cuts the result to the
// message limit.
CString FormatMessageArgs(LPCSTR format, std::initializer_list<LPCWSTR> args)
{
    std::string message;
    auto next = args.begin();
    for (LPCSTR p = format; *p; ++p)
    {
        if (p[0] == '%' && p[1] == '%')
        {
            message += '%';
            ++p;
        }
        else if (p[0] == '%' && p[1] == 'l' && p[2] == 's')
        {
            if (next != args.end())
                message += ToAnsi(*next++);
            p += 2;
        }
        else
        {
            message += *p;
        }
        if (message.size() > COSMMarkupBuilderException::kMaxMessage)
            break;
    }
    const int kept =
        FitMarkupMessage(message.data(), static_cast<int>(message.size()), COSMMarkupBuilderException::kMaxMessage);
    return CString(message.data(), kept);
}

}  // namespace

int FitMarkupMessage(LPCSTR text, int length, int maxBytes, UINT codePage)
{
    if (length <= maxBytes)
        return length;
    int end = 0;
    while (end < maxBytes)
    {
        const int step = ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[end])) ? 2 : 1;
        if (end + step > maxBytes)
            break;
        end += step;
    }
    return end;
}

COSMMarkupBuilderException::COSMMarkupBuilderException(LPCSTR message)
{
    m_szMessage[0] = '\0';
    if (message)
        CopyMessage(message, static_cast<int>(strlen(message)), m_szMessage, sizeof m_szMessage);
}

BOOL COSMMarkupBuilderException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(m_szMessage, static_cast<int>(strlen(m_szMessage)), lpszError, nMaxError);
}

CString FormatMarkupMessage1(LPCSTR format, LPCWSTR arg1)
{
    return FormatMessageArgs(format, {arg1});
}

CString FormatMarkupMessage2(LPCSTR format, LPCWSTR arg1, LPCWSTR arg2)
{
    return FormatMessageArgs(format, {arg1, arg2});
}

CString FormatMarkupMessage3(LPCSTR format, LPCWSTR arg1, LPCWSTR arg2, LPCWSTR arg3)
{
    return FormatMessageArgs(format, {arg1, arg2, arg3});
}
