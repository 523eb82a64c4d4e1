#include "framework/foundation/AnsiToWideString.h"

#include "framework/foundation/ResourceManager.h"

COSMAnsiToWideString::COSMAnsiToWideString(LPCSTR lpszText)
{
    if (!lpszText)
        return;
    const UINT nCodePage = GetResourceManager()->GetCodePage();
    // The length counts the terminating zero.
    const int nLength = ::MultiByteToWideChar(nCodePage, 0, lpszText, -1, nullptr, 0);
    if (nLength <= 1)
        return;
    m_text.resize(static_cast<size_t>(nLength));
    const int nWritten = ::MultiByteToWideChar(nCodePage, 0, lpszText, -1, &m_text[0], nLength);
    m_text.resize(nWritten > 0 ? static_cast<size_t>(nWritten - 1) : 0);
}
