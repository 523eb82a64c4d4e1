// COSMMarkupBuilderException: why the markup builder could not go on. It carries one 8-bit message of at most 255
// bytes, is thrown by pointer and freed by whoever catches it:
//
//   throw new COSMMarkupBuilderException(FormatMarkupMessage1("Cannot find type '%ls'", tag));
//   ...
//   catch (COSMMarkupBuilderException* e) { e->GetErrorMessage(text, sizeof text); e->Delete(); }
//
// The FormatMarkupMessage functions insert wide-string arguments (each written "%ls" in the format) through the
// ANSI code page, '?' standing for what it cannot show; the result is cut at 255 bytes, never inside a double-byte
// character, however long the arguments are.
#pragma once

#include "classlib/CString.h"
#include "classlib/Exception.h"

class COSMMarkupBuilderException : public CException
{
    DECLARE_DYNAMIC(COSMMarkupBuilderException)

public:
    static const int kMaxMessage = 255;

    // Keeps at most kMaxMessage bytes of message.
    explicit COSMMarkupBuilderException(LPCSTR message);

    // The message, cut to fit nMaxError bytes with its NUL.
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
    using CException::GetErrorMessage;

    LPCSTR GetMessageText() const { return m_szMessage; }

private:
    char m_szMessage[kMaxMessage + 1];
};

CString FormatMarkupMessage1(LPCSTR format, LPCWSTR arg1);
CString FormatMarkupMessage2(LPCSTR format, LPCWSTR arg1, LPCWSTR arg2);
CString FormatMarkupMessage3(LPCSTR format, LPCWSTR arg1, LPCWSTR arg2, LPCWSTR arg3);

// How many of text's first length bytes fit in maxBytes without splitting a double-byte character of codePage.
int FitMarkupMessage(LPCSTR text, int length, int maxBytes, UINT codePage = CP_ACP);
