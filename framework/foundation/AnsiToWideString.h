// An ANSI text as UTF-16, converted with the resource language's code page (GetResourceManager), for the W
// functions that show framework texts.
//
//   ::SetWindowTextW(hWnd, COSMAnsiToWideString(strCaption));
#pragma once

#include <windows.h>

#include <string>

class COSMAnsiToWideString
{
public:
    // NULL gives an empty string.
    explicit COSMAnsiToWideString(LPCSTR lpszText);

    LPCWSTR GetWideString() const { return m_text.c_str(); }
    operator LPCWSTR() const { return GetWideString(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }

private:
    std::wstring m_text;
};
